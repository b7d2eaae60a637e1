// The main window's hooks on the application: every mouse and key event of
// the program passes here before it reaches its widget, so that the
// position panel empties when the mouse leaves the image, the wheel reaches
// the main window, F5 and Enter are taken before any short-cut, Control and
// Alt over the image switch the combine-selection mode, and keys meant for
// the image reach it while the tool palette is active.
#include "app/StatusProgress.h"
#include "app/ui/MainForm.h"
#include "app/ui/MainStatusBar.h"
#include "extensions/BatchRun.h"
#include "platform/CapsLock.h"
#include "raster/FoncUtils.h"
#include "ui/MsgDlg.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QWheelEvent>

namespace {

class TAppHookFilter : public QObject {
public:
  explicit TAppHookFilter(TMainForm& Form) : QObject(&Form), FForm(Form) {}

protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override {
    // Events reach a platform window first, then its widgets: act once, on
    // the widget.
    if (!Watched->isWidgetType()) return false;
    switch (Event->type()) {
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseMove:
      FForm.HandleMouseMove(static_cast<QMouseEvent*>(Event)->globalPosition().toPoint());
      return false;
    case QEvent::MouseButtonPress:
    case QEvent::NonClientAreaMouseButtonPress: {
      auto* Mouse = static_cast<QMouseEvent*>(Event);
      if (Mouse->button() == Qt::LeftButton || Mouse->button() == Qt::RightButton)
        FForm.HandleMouseClick(Mouse->globalPosition().toPoint());
      return false;
    }
    case QEvent::Wheel: {
      const auto* Wheel = static_cast<QWheelEvent*>(Event);
      if (!FForm.DialogueForm() && FForm.MouseOverImage(Wheel->globalPosition().toPoint()))
        FForm.setFocus(Qt::MouseFocusReason);
      return !FForm.DialogueForm() && FForm.FormMouseWheel(Wheel->angleDelta().y(), Wheel->globalPosition().toPoint());
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      return KeyEvent(static_cast<QWidget*>(Watched), static_cast<QKeyEvent*>(Event));
    default:
      return false;
    }
  }

private:
  bool KeyEvent(QWidget* Receiver, QKeyEvent* Key) {
    // A key goes to the focus widget first, then to its parents while they
    // ignore it: act on its first receiver only.
    const QWidget* First = QApplication::focusWidget();
    if (First ? Receiver != First : !Receiver->isWindow()) return false;
    if (Key->type() == QEvent::KeyPress) {
      if (FForm.AppShortCut(Key->key())) return true;
      FForm.HandleKeyDown(Key->key(), QCursor::pos());
    } else {
      FForm.HandleKeyUp(Key->key());
    }
    if (FForm.RouteImageKey(Receiver, Key)) return true;
    return RouteToolPaletteKeys(Receiver, Key);
  }

  // While the tool palette is the active window, the keys of the image go
  // to the main window's key handlers.
  bool RouteToolPaletteKeys(QWidget* Receiver, QKeyEvent* Key) {
    TToolHooks* Tools = FForm.ToolHooks();
    if (!Tools || !Tools->PaletteActive() || !FForm.UneImage() || Tools->IsEditing()) return false;
    if (Receiver->window() == &FForm) return false;
    QKeyEvent Copy(Key->type(), Key->key(), Qt::NoModifier, Key->text(), Key->isAutoRepeat(), Key->count());
    QCoreApplication::sendEvent(&FForm, &Copy);
    return true;
  }

  TMainForm& FForm;
};

} // namespace

void TMainForm::InstallApplicationHooks() {
  if (FAppHooks) return;
  FAppHooks = new TAppHookFilter(*this);
  qApp->installEventFilter(FAppHooks);
  // The hooks take the image's keys: Caps Lock is read before them.
  WatchCapsLock();
  connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState State) {
    if (State == Qt::ApplicationActive) {
      UpdateClipboardButtons();
    } else {
      if (FToolHooks) FToolHooks->ValidateEditControls();
      AppInForeground = false;
      UpdateImageCursor();
    }
  });
  // A message on screen counts as an open dialogue: commands wait for it.
  SetMsgDlgBeforeShow([Form = QPointer<TMainForm>(this)](TMsgDlgForm*) {
    if (Form) Form->DebutDialogueEx();
  });
  SetMsgDlgAfterShow([Form = QPointer<TMainForm>(this)](TMsgDlgForm*) {
    if (Form) Form->FinDialogueEx();
  });
  // The position panel empties and the brush outline hides while a menu is
  // open; the cursor comes back when it closes.
  for (QMenu* Menu : std::as_const(FMenus)) {
    connect(Menu, &QMenu::aboutToShow, this, &TMainForm::StartPopup);
    connect(Menu, &QMenu::aboutToHide, this, &TMainForm::EndPopup);
  }
}

bool TMainForm::MouseOverImage(const QPoint& Global) const {
  const TNewImgForm* Window = EnfantActif();
  if (!Window || !Window->Image) return false;
  const QWidget* Viewport = Window->Image->viewport();
  const QWidget* Under = QApplication::widgetAt(Global);
  if (Under != Viewport && Under != Window->Image) return false;
  return Viewport->rect().contains(Viewport->mapFromGlobal(Global));
}

void TMainForm::HandleMouseMove(const QPoint& Global) {
  if (!UneImage() || MouseOverImage(Global)) {
    CheckForegroundState();
    return;
  }
  // The mouse left the image.
  FStatusBar->SetPanelText(2, QString());
  if (!(FToolHooks && FToolHooks->SelectionDrawing())) EndCombineSelMode();
  if (TNewImgForm* Window = EnfantActif(); Window && Window->CursorEx) Window->CursorEx->Hide(false);
}

void TMainForm::HandleMouseClick(const QPoint& Global) {
  if (!FToolHooks || !FToolHooks->IsEditing()) return;
  if (!FToolHooks->EditingRect().adjusted(-3, -3, 3, 3).contains(Global)) FToolHooks->ValidateEditControls();
}

void TMainForm::HandleKeyDown(int Key, const QPoint& Global) {
  if (!UneImage()) return;
  if (FToolHooks && FToolHooks->SelectionDrawing()) {
    if (Key == Qt::Key_Space) {
      FToolHooks->PauseSelection(true);
      UpdateImageCursor();
    }
    return;
  }
  if (!MouseOverImage(Global)) return;
  if ((Key == Qt::Key_Control || Key == Qt::Key_Alt) && EnfantActif()->UneSelection && FToolHooks &&
      FToolHooks->IsSelectionTool())
    BeginCombineSelMode(Key);
  if (Key == Qt::Key_Control || Key == Qt::Key_Space) UpdateImageCursor();
}

void TMainForm::HandleKeyUp(int Key) {
  if (!UneImage()) return;
  if (FToolHooks && FToolHooks->SelectionDrawing()) {
    if (Key == Qt::Key_Space) {
      FToolHooks->PauseSelection(false);
      UpdateImageCursor();
    }
    return;
  }
  if (Key == Qt::Key_Control || Key == Qt::Key_Alt) EndCombineSelMode();
  if (Key == Qt::Key_Control || Key == Qt::Key_Space) UpdateImageCursor();
}

void TMainForm::BeginCombineSelMode(int Key) {
  CombineSelMode = Key == Qt::Key_Control ? 1 : 2;
  FStatusBar->SetPanelText(0, CleanMenuCaption(MenuItem(QStringLiteral("MenuSelection"))->text()) +
                                  (CombineSelMode == 1 ? QStringLiteral(" (+)") : QStringLiteral(" (-)")));
  UpdateImageCursor();
}

void TMainForm::EndCombineSelMode() {
  if (CombineSelMode == 0) return;
  CombineSelMode = 0;
  CurrentCombineSel = 0;
  FinAction();
  UpdateImageCursor();
}

bool TMainForm::AppShortCut(int Key) {
  // During a batch run any key asks to cancel it.
  if (IsBatchRunning()) {
    RequestBatchCancel();
    return true;
  }
  switch (Key) {
  case Qt::Key_F5: {
    // Not over a modal dialog either: the browser would open behind it.
    if (VerticesMode > 0 || DialogueForm() || QApplication::activeModalWidget() ||
        (FToolHooks && FToolHooks->SelectionDrawing()))
      return false;
    // The image browser opens when it is hidden.
    QAction* Explore = MenuItem(QStringLiteral("MenuExplore"));
    if (!Explore->isChecked() && Explore->isEnabled()) {
      Explore->trigger();
      QCoreApplication::processEvents();
    }
    return true;
  }
  case Qt::Key_Return:
  case Qt::Key_Enter:
    return FToolHooks && FToolHooks->ValidateEditControls();
  default:
    return false;
  }
}

void TMainForm::CheckForegroundState() {
  const bool Foreground = QGuiApplication::applicationState() == Qt::ApplicationActive;
  if (Foreground == AppInForeground) return;
  AppInForeground = Foreground;
  UpdateImageCursor();
}

void TMainForm::StartPopup() {
  FStatusBar->SetPanelText(2, QString());
  if (TNewImgForm* Window = EnfantActif(); Window && Window->CursorEx) Window->CursorEx->Hide(false);
}

void TMainForm::EndPopup() { UpdateImageCursor(); }

void TMainForm::UpdateImageCursor() {
  if (TNewImgForm* Window = EnfantActif(); Window && Window->Image) Window->Image->RefreshCursor();
}
