// TMainDialogForm, the base of the program's dialogs: registration with the
// main window while shown, Ok/Cancel/Enter/Esc handling, spin-edit commit,
// and the dialog-settings file that keeps each dialog's control values; its
// two abstract descendants TPipetteForm and TInteractiveForm; and small
// dialog routines (track bars, radio groups, toolbar buttons). Depends on
// TDialogFormEx, the controls and the persisted-control table of ui/, the
// ini file of platform, the main window's services (ui/DialogServices.h).
//
// The dialog-settings file has one section per dialog, named after the form's
// objectName (nothing is kept for a form without one). Keys in this order:
// "$Left" and "$Top" (ioPosition, top-level forms only), one key per taking
// part control named after it (ioValue), then "$Var0", "$Var1", ... for the
// custom values (ioValue). It is written when the dialog closes with Ok and
// read when it is shown, before UpdateControls.
//
// A control takes part when it is of a persisted class (ui/IniControls.h),
// has a name that begins neither with "_" nor with "qt_" (Qt's own parts),
// its parent's name does not begin with "_", it is visible (ioVisible) and
// enabled (ioEnabled) as asked, and AcceptIniControl agrees. Controls are
// visited depth first through the form's widget tree, children in creation
// order.
#pragma once

#include "platform/Colors.h"
#include "platform/Types.h"
#include "ui/DialogFormEx.h"
#include "ui/IniControls.h"

#include <QPointer>
#include <QString>

#include <cstdint>

class QAbstractButton;
class QAction;
class QEventLoop;
class QToolBar;
class TCustomSpinEdit;
class TDirectionEdit;
class TMySlider;
class TRadioGroup;
class TTrackBar;

// The dialog-settings file is in use. Off (the default until the main
// window turns it on, and when the main settings say "0"): no dialog reads or
// writes it.
inline bool DialogParams = false;
// The path of the dialog-settings file.
inline QString DialogsIniFile;
// DialogsIniFile := MainIniPath with a trailing ".ini" (any letter case)
// replaced by "Dialogs.ini", or with "Dialogs.ini" appended when it has no
// such ending, so it never names the main file itself. Empty stays empty.
void SetDialogsIniFile(const QString& MainIniPath);

enum class TMainDialogMode : uint8_t { dmNone, dmModal, dmDialog, dmPipette };

// The form's place kept inside a screen of ScreenW x ScreenH with a margin:
// a coordinate below the margin becomes the margin, one whose far edge passes
// the screen less the margin moves back inside.
TPoint KeepFormOnScreen(int X, int Y, int W, int H, int ScreenW, int ScreenH, int Margin);

class TMainDialogForm : public TDialogFormEx {
  Q_OBJECT
public:
  explicit TMainDialogForm(QWidget* Parent = nullptr);
  ~TMainDialogForm() override;

  // The form is a panel inside another dialog: showing and hiding do nothing
  // of this class (no registration, no settings, no FormShow/FormHide).
  bool InheritedOnly = false;
  TMainDialogMode DialogMode = TMainDialogMode::dmNone;
  // Restore control values when shown.
  bool LoadFromIniFile = true;
  TIniOptions IniOptions = ioPosition | ioValue | ioNoEvent;
  // Save control values when hidden (set on hide from LoadFromIniFile and
  // DialogOk while AutoSaveIni).
  bool SaveToIniFile = false;
  bool AutoSaveIni = true;
  // When not empty, this dialog's settings live in a file of this name in
  // the folder of the dialog-settings file.
  QString IniFileName;
  // The form handles Enter and Esc itself (set on the first show when an Ok
  // or Cancel button is assigned).
  bool UseDefaultKeyPress = false;
  QPointer<QAbstractButton> OkButton;
  QPointer<QAbstractButton> CancelButton;
  // The control that gets the focus on show and after a spin edit was
  // committed with Enter (the Ok button when none is given).
  QPointer<QWidget> DefaultControl;
  // The dialog is being closed with Ok.
  bool DialogOk = false;
  // True while the show handler runs: descendants ignore their change events.
  bool Updating = false;
  // Number of custom values kept under "$Var0", "$Var1", ...
  int IniCustomVarCount = 0;

  // At least one control value came from the settings file.
  bool IniLoaded() const { return FIniLoaded; }
  bool HasSpinEdit() const { return FHasSpinEdit; }

  // Refreshes dependent controls (and starts a preview); called at the end
  // of every show, after the saved values were restored.
  virtual void UpdateControls();
  // A descendant may veto a control, or admit one of a class not taking part
  // by default.
  virtual void AcceptIniControl(QWidget* Control, bool& Accept);
  virtual QString GetIniCustomVar(int Index);
  virtual void SetIniCustomVar(int Index, const QString& Value);

  // ScaleByDPI: dialog constructors scale their pixel constants with it.
  int Rescale(int Value) const;
  // Gives the track bar the jump-to-click and double-click-resets behaviour,
  // stores its current position in its Tag as the value a double click goes
  // back to, and styles it.
  void PrepareTrackBar(TTrackBar* TrackBar);
  // A spin edit of the form has an empty text (Ok and preview refuse then).
  bool HasEmptySpinEdit() const;
  // Closes the form as Ok, then lets pending events run.
  void CloseOk();
  // Shows the form non-modally and runs an event loop until it is hidden,
  // with the mouse released and the arrow cursor meanwhile.
  void ShowAndWait();

  // The path of this dialog's settings file; empty when there is none.
  QString IniPath() const;
  // Write and read the dialog's section; errors end them silently.
  void SaveIniValues();
  void LoadIniValues();
  // Whether a control takes part, and its row of the persisted classes.
  const TIniControlClass* IniControlClass(QWidget* Control);

protected:
  // The form's own show and hide events.
  virtual void FormShow();
  virtual void FormHide();

  void showEvent(QShowEvent* Event) override;
  void hideEvent(QHideEvent* Event) override;
  void keyPressEvent(QKeyEvent* Event) override;

private:
  void FirstShow();
  void FocusDefaultControl();
  QList<TCustomSpinEdit*> SpinEdits() const;

  bool FHasSpinEdit = false;
  bool FDoFirstShow = true;
  bool FIniLoaded = false;
  QEventLoop* FWaitLoop = nullptr;
};

// Receives the colours picked on the image while registered as the pipette
// form.
class TPipetteForm : public TMainDialogForm {
  Q_OBJECT
public:
  using TMainDialogForm::TMainDialogForm;
  virtual void ChangerCouleur(TColor Couleur) = 0;
};

// Receives the clicks on the image (client coordinates of the image view).
class TInteractiveForm : public TMainDialogForm {
  Q_OBJECT
public:
  using TMainDialogForm::TMainDialogForm;
  virtual void InteractiveClick(int X, int Y) = 0;
};

// The form registered before the last registering dialog was shown, given
// back when that dialog hides (nullptr when none, or when it went away).
QWidget* SavedRegistration();

// The position a prepared track bar had before the last single click on it.
int TrackBarDownPosition();
// Where a single click at X (Y for a vertical bar) puts a prepared track
// bar: Min + Round((X - half) x (Max - Min) / (width - 2 x half)) with half =
// thumb length div 2 + 4. False when the bar is too short to place anything.
bool TrackBarClickPosition(const TTrackBar* TrackBar, int X, int Y, int& Position);
// Thumb length scaled to the screen; without the system style no ticks.
void StyleTrackBar(TTrackBar* TrackBar);
// The program's direction-editor look: discs scaled above 96 dpi (less one
// pixel), the accent colour for the chosen direction.
void StyleDirectionEdit(TDirectionEdit* Edit);
// Adds a cursor at Pos framed in clDlgBorder and filled with Color, which is
// first darkened (or lightened) by 0.1 when its brightness lies within 0.3 of
// the dialog background's, so that it stays visible. Answers its index.
int AddSliderCursor(TMySlider* Slider, int Pos, TColor Color);
// Sets the item index with the group's OnClick detached.
void SetRadioIndexSilent(TRadioGroup* RadioGroup, int Index);
// Repaints the view of the active image window.
void UpdateActiveImage();
// The toolbar's actions searched from the last to the first: the first that
// is checked (down) / has that Tag / has that "ImageIndex" property;
// Default when none does.
QAction* FindDownButton(const QToolBar* ToolBar, QAction* Default);
QAction* FindButtonByTag(const QToolBar* ToolBar, int Tag, QAction* Default);
QAction* FindButtonByImageIndex(const QToolBar* ToolBar, int ImageIndex, QAction* Default);
