#include "ui/DlgMain.h"

#include "platform/IniFile.h"
#include "platform/NumberFormat.h"
#include "platform/Rounding.h"
#include "ui/ControlTag.h"
#include "ui/DialogServices.h"
#include "ui/DirectionEdit.h"
#include "ui/DlgColors.h"
#include "ui/DlgEx.h"
#include "ui/DrawUtils.h"
#include "ui/MySlider.h"
#include "ui/RadioGroup.h"
#include "ui/SpinEdit.h"
#include "ui/TrackBar.h"
#include "ui/UtilsDPI.h"
#include "ui/VisualStyles.h"
#include "ui/WinVersion.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextEdit>
#include <QToolBar>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace {

const QString Missing = QStringLiteral("ERR!");

// The registration a registering dialog found when it was shown.
QPointer<QWidget> SavedForm;
bool SavedIsPipette = false;

int DownPosition = 0;

// Whether a signal of an object has a receiver (QObject keeps that query
// protected).
struct TSignalProbe : QObject {
  static bool Connected(const QObject* Object, const QMetaMethod& Signal) {
    return (Object->*(&TSignalProbe::isSignalConnected))(Signal);
  }
};

bool HasClickHandler(const QAbstractButton* Button) {
  return TSignalProbe::Connected(Button, QMetaMethod::fromSignal(&QAbstractButton::clicked));
}

// Shown and enabled by its own flags, as the Ok and Cancel tests want.
bool Usable(const QWidget* W) { return W && !W->isHidden() && W->isEnabled(); }

// The controls of a form in the order they are visited: depth first, not
// entering another dialog form embedded in it (its controls are its own).
void CollectControls(const QWidget* Parent, QList<QWidget*>& Out) {
  for (QObject* Child : Parent->children()) {
    auto* W = qobject_cast<QWidget*>(Child);
    if (!W || qobject_cast<TMainDialogForm*>(W)) continue;
    Out.append(W);
    CollectControls(W, Out);
  }
}

} // namespace

void SetDialogsIniFile(const QString& MainIniPath) {
  if (MainIniPath.isEmpty()) {
    DialogsIniFile.clear();
    return;
  }
  QString Path = MainIniPath;
  if (Path.endsWith(QStringLiteral(".ini"), Qt::CaseInsensitive)) Path.chop(4);
  DialogsIniFile = Path + QStringLiteral("Dialogs.ini");
}

TPoint KeepFormOnScreen(int X, int Y, int W, int H, int ScreenW, int ScreenH, int Margin) {
  if (X < Margin)
    X = Margin;
  else if (int64_t(X) + W + Margin > ScreenW)
    X = ScreenW - W - Margin;
  if (Y < Margin)
    Y = Margin;
  else if (int64_t(Y) + H + Margin > ScreenH)
    Y = ScreenH - H - Margin;
  return {X, Y};
}

QWidget* SavedRegistration() { return SavedForm.data(); }

// ---- TMainDialogForm --------------------------------------------------------------------------

TMainDialogForm::TMainDialogForm(QWidget* Parent) : TDialogFormEx(Parent) {}

TMainDialogForm::~TMainDialogForm() {
  if (FWaitLoop) FWaitLoop->quit();
}

void TMainDialogForm::UpdateControls() {}
void TMainDialogForm::AcceptIniControl(QWidget*, bool&) {}
QString TMainDialogForm::GetIniCustomVar(int) { return {}; }
void TMainDialogForm::SetIniCustomVar(int, const QString&) {}
void TMainDialogForm::FormShow() {}
void TMainDialogForm::FormHide() {}

int TMainDialogForm::Rescale(int Value) const { return ScaleByDPI(Value); }

QList<TCustomSpinEdit*> TMainDialogForm::SpinEdits() const {
  QList<QWidget*> Controls;
  CollectControls(this, Controls);
  QList<TCustomSpinEdit*> Out;
  for (QWidget* W : Controls)
    if (auto* S = qobject_cast<TCustomSpinEdit*>(W)) Out.append(S);
  return Out;
}

bool TMainDialogForm::HasEmptySpinEdit() const {
  if (!FHasSpinEdit) return false;
  for (const TCustomSpinEdit* S : SpinEdits())
    if (S->text().isEmpty()) return true;
  return false;
}

void TMainDialogForm::FocusDefaultControl() {
  if (Usable(DefaultControl)) DefaultControl->setFocus(Qt::OtherFocusReason);
}

void TMainDialogForm::FirstShow() {
  FDoFirstShow = false;
  // Centred over the main window once, as the designed position.
  QWidget* Main = MainFormWindow();
  if ((IniOptions & ioPosition) && Main && Main != this && isWindow()) {
    const QRect M = Main->frameGeometry();
    const QSize S = frameGeometry().size();
    move(M.x() + std::max(0, (M.width() - S.width()) / 2), M.y() + std::max(0, (M.height() - S.height()) / 2));
  }
  const QList<TCustomSpinEdit*> Spins = SpinEdits();
  FHasSpinEdit = !Spins.isEmpty();
  // The value an empty field falls back to.
  for (TCustomSpinEdit* S : Spins) {
    if (S->Tag() != 0) continue;
    if (auto* I = qobject_cast<TSpinEdit2*>(S)) S->SetTag(I->Value());
    if (auto* F = qobject_cast<TFloatSpinEdit*>(S)) S->SetTag(Round(F->Value()));
  }
  if (!UseDefaultKeyPress && (OkButton || CancelButton)) UseDefaultKeyPress = true;
  if (CancelButton && !HasClickHandler(CancelButton))
    connect(CancelButton, &QAbstractButton::clicked, this, &QWidget::close);
  if (!DefaultControl) DefaultControl = OkButton.data();
}

void TMainDialogForm::showEvent(QShowEvent* Event) {
  if (Event->spontaneous() || InheritedOnly) {
    TDialogFormEx::showEvent(Event);
    return;
  }
  if (FDoFirstShow) FirstShow();
  DialogOk = false;
  FocusDefaultControl();
  Updating = true;
  FormShow();
  if (DialogMode != TMainDialogMode::dmNone) {
    if (TDialogServices* S = DialogServices()) {
      QWidget* Pipette = S->PipetteForm();
      SavedIsPipette = Pipette != nullptr;
      SavedForm = Pipette ? Pipette : S->DialogueForm();
      S->SetPipetteForm(nullptr);
      S->SetDialogueForm(nullptr);
      switch (DialogMode) {
      case TMainDialogMode::dmModal:
        S->SetModalForm(this);
        break;
      case TMainDialogMode::dmDialog:
        S->SetDialogueForm(this);
        break;
      default:
        S->SetPipetteForm(this);
        break;
      }
    }
  }
  if (DialogParams && LoadFromIniFile) LoadIniValues();
  UpdateControls();
  Updating = false;
  TDialogFormEx::showEvent(Event);
}

void TMainDialogForm::hideEvent(QHideEvent* Event) {
  TDialogFormEx::hideEvent(Event);
  if (Event->spontaneous() || InheritedOnly) return;
  if (DialogMode != TMainDialogMode::dmNone) {
    if (TDialogServices* S = DialogServices()) {
      if (DialogMode == TMainDialogMode::dmModal) {
        S->SetModalForm(nullptr);
      } else {
        S->SetPipetteForm(nullptr);
        S->SetDialogueForm(nullptr);
      }
      // Only a dialog that still exists and is still shown gets its
      // registration back.
      QWidget* Saved = SavedForm.data();
      if (Saved && Saved != this && Saved->isVisible()) {
        if (SavedIsPipette)
          S->SetPipetteForm(Saved);
        else
          S->SetDialogueForm(Saved);
      }
      SavedForm = nullptr;
      SavedIsPipette = false;
    }
  }
  if (AutoSaveIni) SaveToIniFile = LoadFromIniFile && DialogOk;
  FormHide();
  if (FHasSpinEdit && !FIniLoaded)
    for (TCustomSpinEdit* Spin : SpinEdits()) Spin->NormaliseSilently();
  if (DialogParams && SaveToIniFile) SaveIniValues();
  if (FWaitLoop) FWaitLoop->quit();
}

void TMainDialogForm::keyPressEvent(QKeyEvent* Event) {
  const bool Plain = !(Event->modifiers() & ~Qt::KeypadModifier);
  if (!UseDefaultKeyPress || !Plain) {
    QWidget::keyPressEvent(Event);
    return;
  }
  if (Event->key() == Qt::Key_Escape) {
    Event->accept();
    if (Usable(CancelButton)) {
      if (HasClickHandler(CancelButton))
        CancelButton->click();
      else
        close();
    }
    return;
  }
  if (Event->key() != Qt::Key_Return && Event->key() != Qt::Key_Enter) {
    QWidget::keyPressEvent(Event);
    return;
  }
  QWidget* Active = focusWidget();
  if (qobject_cast<QPlainTextEdit*>(Active) || qobject_cast<QTextEdit*>(Active)) {
    Event->ignore(); // a memo keeps its new lines
    return;
  }
  if (auto* Spin = qobject_cast<TCustomSpinEdit*>(Active); Spin && FHasSpinEdit) {
    Spin->Commit();
    Event->accept();
    if (Usable(DefaultControl))
      DefaultControl->setFocus(Qt::OtherFocusReason);
    else
      Spin->clearFocus();
    return;
  }
  if (Usable(OkButton) && HasClickHandler(OkButton)) {
    Event->accept();
    OkButton->click();
    return;
  }
  Event->ignore();
}

void TMainDialogForm::CloseOk() {
  DialogOk = true;
  done(QDialog::Accepted);
  QCoreApplication::processEvents();
}

void TMainDialogForm::ShowAndWait() {
  if (QWidget* Grabber = QWidget::mouseGrabber()) Grabber->releaseMouse();
  QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
  struct TRestoreCursor {
    ~TRestoreCursor() { QGuiApplication::restoreOverrideCursor(); }
  } Restore;
  show();
  if (!isVisible()) return;
  QEventLoop Loop;
  QPointer<TMainDialogForm> Self(this);
  connect(this, &QObject::destroyed, &Loop, &QEventLoop::quit);
  FWaitLoop = &Loop;
  Loop.exec();
  if (Self) FWaitLoop = nullptr;
}

QString TMainDialogForm::IniPath() const {
  if (IniFileName.isEmpty() || DialogsIniFile.isEmpty()) return DialogsIniFile;
  return QFileInfo(DialogsIniFile).path() + u'/' + IniFileName;
}

const TIniControlClass* TMainDialogForm::IniControlClass(QWidget* Control) {
  const QString Name = Control->objectName();
  if (Name.isEmpty() || Name.startsWith(u'_') || Name.startsWith(QStringLiteral("qt_"))) return nullptr;
  if (const QWidget* Parent = Control->parentWidget(); Parent && Parent->objectName().startsWith(u'_')) return nullptr;
  if ((IniOptions & ioVisible) && Control->isHidden()) return nullptr;
  if ((IniOptions & ioEnabled) && Control->testAttribute(Qt::WA_Disabled)) return nullptr;
  const TIniControlClass* Row = FindIniControlClass(Control);
  bool Accept = Row && Row->AcceptedByDefault;
  AcceptIniControl(Control, Accept);
  return Accept ? Row : nullptr;
}

void TMainDialogForm::SaveIniValues() {
  const QString Section = objectName();
  const QString Path = IniPath();
  if (Section.isEmpty() || Path.isEmpty()) return;
  try {
    TIniFile Ini(Path);
    if ((IniOptions & ioPosition) && isWindow()) {
      Ini.WriteString(Section, QStringLiteral("$Left"), QString::number(x()));
      Ini.WriteString(Section, QStringLiteral("$Top"), QString::number(y()));
    }
    if (!(IniOptions & ioValue)) return;
    QList<QWidget*> Controls;
    CollectControls(this, Controls);
    for (QWidget* Control : Controls) {
      const TIniControlClass* Row = IniControlClass(Control);
      if (!Row) continue;
      QString Value = Row->Write(Control);
      if (IniOptions & ioState)
        Value.prepend(QString(Control->isHidden() ? u'0' : u'1') +
                      QString(Control->testAttribute(Qt::WA_Disabled) ? u'0' : u'1'));
      Ini.WriteString(Section, Control->objectName(), Value);
    }
    for (int I = 0; I < IniCustomVarCount; ++I)
      Ini.WriteString(Section, QStringLiteral("$Var") + QString::number(I), GetIniCustomVar(I));
  } catch (...) {
    // A settings write never troubles the user; keys written so far stay.
  }
}

void TMainDialogForm::LoadIniValues() {
  const QString Section = objectName();
  const QString Path = IniPath();
  if (Section.isEmpty() || Path.isEmpty()) return;
  try {
    const TIniFile Ini(Path);
    if ((IniOptions & ioPosition) && isWindow()) {
      const QString X = Ini.ReadString(Section, QStringLiteral("$Left"), Missing);
      const QString Y = Ini.ReadString(Section, QStringLiteral("$Top"), Missing);
      int NX = x(), NY = y();
      if (X != Missing) NX = StrToIntDef(X, x(), true);
      if (Y != Missing) NY = StrToIntDef(Y, y(), true);
      const QScreen* Screen = QGuiApplication::primaryScreen();
      if (Screen) {
        const QSize Size = frameGeometry().size();
        const TPoint P = KeepFormOnScreen(NX, NY, Size.width(), Size.height(), Screen->geometry().width(),
                                          Screen->geometry().height(), IsWinVista ? 4 : 0);
        move(P.X, P.Y);
      }
    }
    if (!(IniOptions & ioValue)) return;
    QList<QWidget*> Controls;
    CollectControls(this, Controls);
    for (QWidget* Control : Controls) {
      const TIniControlClass* Row = IniControlClass(Control);
      if (!Row) continue;
      QString Value = Ini.ReadString(Section, Control->objectName(), Missing);
      if (Value == Missing) continue;
      if ((IniOptions & ioState) && Value.size() >= 2) {
        Control->setVisible(Value[0] != u'0');
        Control->setEnabled(Value[1] != u'0');
        Value = Value.mid(2);
      }
      Row->Restore(Control, Value, IniOptions);
      FIniLoaded = true;
    }
    for (int I = 0; I < IniCustomVarCount; ++I) {
      const QString Value = Ini.ReadString(Section, QStringLiteral("$Var") + QString::number(I), Missing);
      if (Value != Missing) SetIniCustomVar(I, Value);
    }
  } catch (...) {
    // A malformed settings file is not the user's problem; values restored
    // so far stay.
  }
}

// ---- Track bars -------------------------------------------------------------------------------

int TrackBarDownPosition() { return DownPosition; }

bool TrackBarClickPosition(const TTrackBar* TrackBar, int X, int Y, int& Position) {
  const int Half = TrackBar->ThumbLength() / 2 + 4;
  const bool Horizontal = TrackBar->orientation() == Qt::Horizontal;
  const int Length = (Horizontal ? TrackBar->width() : TrackBar->height()) - 2 * Half;
  if (Length <= 0) return false;
  const int64_t Span = int64_t(TrackBar->maximum()) - TrackBar->minimum();
  const int64_t Product = (int64_t(Horizontal ? X : Y) - Half) * Span;
  Position =
      static_cast<int>(std::clamp<int64_t>(TrackBar->minimum() + Round64(double(Product) / Length), INT_MIN, INT_MAX));
  return true;
}

void StyleTrackBar(TTrackBar* TrackBar) {
  TrackBar->SetThumbLength(ScaleByDPI(TrackBar->ThumbLength()));
  if (!IsSystemStyle()) TrackBar->setTickPosition(QSlider::NoTicks);
}

void StyleDirectionEdit(TDirectionEdit* Edit) {
  if (ScreenPixelsPerInch() > 96) Edit->SetItemRadius(ScaleByDPI(Edit->ItemRadius()) - 1);
  Edit->SetActiveColor(clDlgAccent);
}

int AddSliderCursor(TMySlider* Slider, int Pos, TColor Color) {
  const double Window = ColorBrightness(clDlgWindow, 0), Own = ColorBrightness(Color, 0);
  if (std::abs(Window - Own) < 0.3) Color = Window > Own ? DarkenColor(Color, 0.1) : LightenColor(Color, 0.1);
  return Slider->AddCursor(Pos, clDlgBorder, Color);
}

void TMainDialogForm::PrepareTrackBar(TTrackBar* TrackBar) {
  TrackBar->SetJumpToClick(true);
  SetControlTag(TrackBar, TrackBar->Position());
  StyleTrackBar(TrackBar);
  TrackBar->OnMouseDown = [](TTrackBar* T, Qt::MouseButton, Qt::KeyboardModifiers, bool Double, int X, int Y) {
    if (!Double) {
      DownPosition = T->Position();
      int Position = 0;
      if (TrackBarClickPosition(T, X, Y, Position)) T->SetPosition(Position);
    } else if (std::abs(int64_t(T->Position()) - DownPosition) <= T->Frequency()) {
      T->SetPosition(ControlTag(T));
    }
  };
  // Handlers written for key releases also run after a mouse release.
  TrackBar->OnMouseUp = [](TTrackBar* T, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
    if (T->OnKeyUp) T->OnKeyUp(T, 0, Qt::NoModifier);
  };
}

// ---- Small dialog routines ----------------------------------------------------------------------

void SetRadioIndexSilent(TRadioGroup* RadioGroup, int Index) {
  TNotifyEvent Saved = std::exchange(RadioGroup->OnClick, nullptr);
  RadioGroup->SetItemIndex(Index);
  RadioGroup->OnClick = std::move(Saved);
}

void UpdateActiveImage() {
  if (TDialogServices* S = DialogServices()) S->UpdateActiveImage();
}

namespace {

template <class P> QAction* FindButton(const QToolBar* ToolBar, QAction* Default, P&& Matches) {
  const QList<QAction*> Actions = ToolBar->actions();
  for (auto It = Actions.rbegin(); It != Actions.rend(); ++It)
    if (!(*It)->isSeparator() && Matches(*It)) return *It;
  return Default;
}

} // namespace

QAction* FindDownButton(const QToolBar* ToolBar, QAction* Default) {
  return FindButton(ToolBar, Default, [](const QAction* A) { return A->isChecked(); });
}

QAction* FindButtonByTag(const QToolBar* ToolBar, int Tag, QAction* Default) {
  return FindButton(ToolBar, Default, [Tag](const QAction* A) { return ControlTag(A) == Tag; });
}

QAction* FindButtonByImageIndex(const QToolBar* ToolBar, int ImageIndex, QAction* Default) {
  return FindButton(ToolBar, Default, [ImageIndex](const QAction* A) {
    const QVariant V = A->property("ImageIndex");
    return V.isValid() && V.toInt() == ImageIndex;
  });
}
