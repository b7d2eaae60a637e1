#include "platform/CapsLock.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPointer>

namespace {

// The Lock bit of the native modifier state, in X11 and in XKB alike.
constexpr quint32 LockModifier = 1u << 1;

bool GCapsLock = false;

class TCapsLockWatch final : public QObject {
public:
  using QObject::QObject;
  bool eventFilter(QObject* Target, QEvent* Event) override {
    const QEvent::Type T = Event->type();
    if (T == QEvent::KeyPress || T == QEvent::KeyRelease || T == QEvent::ShortcutOverride)
      GCapsLock = (static_cast<QKeyEvent*>(Event)->nativeModifiers() & LockModifier) != 0;
    return QObject::eventFilter(Target, Event);
  }
};

} // namespace

void WatchCapsLock() {
  // The watch goes with the application that owns it.
  static QPointer<TCapsLockWatch> Watch;
  QCoreApplication* App = QCoreApplication::instance();
  if (!App) return;
  if (!Watch) Watch = new TCapsLockWatch(App);
  // Installed again, it moves in front of the filters installed since.
  App->installEventFilter(Watch);
}

bool CapsLockActive() { return GCapsLock; }
