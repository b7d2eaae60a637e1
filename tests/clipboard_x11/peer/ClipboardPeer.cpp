// Another program on the clipboard, using Qt alone: the clipboard tests start
// it on the same X server as themselves.
//   clipboard_peer put <image>  puts the image on the clipboard, prints
//                               "ready", keeps it there until a line arrives
//                               on its input (or a minute has passed)
//   clipboard_peer get <image>  waits until the clipboard holds an image and
//                               saves it as PNG; exit 2 when none came
#include <QClipboard>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

int main(int Argc, char** Argv) {
  QGuiApplication App(Argc, Argv);
  const QStringList Args = App.arguments();
  if (Args.size() != 3) return 1;
  QClipboard* Clip = QGuiApplication::clipboard();
  if (Args[1] == QLatin1String("put")) {
    const QImage Image(Args[2]);
    if (Image.isNull()) return 1;
    Clip->setImage(Image);
    std::printf("ready\n");
    std::fflush(stdout);
    QSocketNotifier Input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&Input, &QSocketNotifier::activated, &App, &QCoreApplication::quit);
    QTimer::singleShot(60000, &App, &QCoreApplication::quit);
    return App.exec();
  }
  if (Args[1] == QLatin1String("get")) {
    const QDeadlineTimer Deadline(30000);
    while (!Deadline.hasExpired()) {
      const QMimeData* Data = Clip->mimeData();
      if (Data && Data->hasImage()) {
        const QImage Image = Clip->image();
        if (!Image.isNull()) return Image.save(Args[2], "PNG") ? 0 : 1;
      }
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
      QThread::msleep(20);
    }
    return 2;
  }
  return 1;
}
