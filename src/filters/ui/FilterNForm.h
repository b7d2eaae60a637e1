// TFilterNForm: the base of the parameterised filter dialogs. One designed
// form (a main slider with its label, a live-preview box, "Aperçu", "Ok" and
// "Annuler"), builders with which a descendant adds its controls in code,
// and the preview protocol with the main window. Depends on the dialog
// framework and controls of ui/, the progress service of raster, the main
// window's services through TFilterHost; used by every filter dialog.
//
// The protocol. The menu command prepares the undo record of the dialog's
// kind, then shows the dialog. Each preview applies the filter for real to
// the current layer, first restoring the pixels the record saved; Ok keeps
// the result and registers the dialog for Edit > Repeat; Cancel (the button,
// Escape or closing the window) restores once and deletes the record, after
// stopping a preview still running at its next progress step; Ok
// with neutral parameters is a cancel. Ok whose final application the
// dialog refuses (CanApply) keeps the dialog open. The image is marked
// changed only once a result was kept.
//
// Builders place each control under the lowest one, name it "CheckBox" +
// n, "TrackBar" + n ... from one counter (the names are the keys of the
// saved control values, the form's name is their section), put it before
// the four standard controls in the tab order and wire it to ParamChanged.
//
// How to add a filter dialog: derive, and in the constructor set the form's
// name, the caption (Title of its menu item), SetMainBar or DeleteMainBar,
// build the controls, end with ArrangeButtons when any were built; override
// ApplyFilter (on Bitmap() inside WorkRect()), and HasEffect and
// ResetParams where a neutral setting exists.
#pragma once

#include "filters/ui/FilterHost.h"
#include "ui/DlgMain.h"

#include <QPointer>
#include <QString>

#include <vector>

class QCheckBox;
class QButtonGroup;
class QComboBox;
class QLabel;
class QPushButton;
class TColorEdit;
class TDirectionEdit;
class TFloatSpinEdit;
class TMyBevel;
class TRadioGroup;
class TSpinEdit2;
class TTrackBar;
class QRadioButton;
class QToolButton;

class TFilterNForm : public TPipetteForm {
  Q_OBJECT
public:
  explicit TFilterNForm(QWidget* Parent = nullptr);

  // The designed controls (LblN and TBN are nullptr after DeleteMainBar).
  QLabel* LblN = nullptr;
  TTrackBar* TBN = nullptr;
  QCheckBox* CBRealTime = nullptr;
  QPushButton* BApercu = nullptr;
  QPushButton* BOk = nullptr;
  QPushButton* BAnnuler = nullptr;

  // The current layer holds a preview result.
  bool Preview = false;
  // Every change previews at once; the live-preview box is hidden.
  bool DirectPreview = false;
  int CompOrder = 0;
  // LblN's caption, formatted with TBN's position.
  QString FormatStr = QStringLiteral("%d");
  int NameCpt = 0;
  // The parameters changed since the last preview.
  bool Changed = false;
  // Set before every ApplyFilter; cleared by one that keeps its result
  // everywhere, selection or not.
  bool ApplySelMask = false;
  // Receives colours picked on the image (set by NewColorEdit).
  bool IsPipetteForm = false;
  TColorEdit* DefaultColorEdit = nullptr;
  // Ok registers the dialog for Edit > Repeat, with this availability code
  // and undo kind.
  bool SetLastFilter = true;
  int LastFilterFlag = 0;
  int LastFilterInfo = FilterUndoKind;
  // Edge mode of the blend outside the selection after each application.
  int FlagSelMask = 1;

  // Virtual operations of the descendants.
  void ChangerCouleur(TColor Couleur) override;
  virtual bool HasEffect() { return true; }
  virtual bool CanApply() { return true; }
  virtual void ApplyFilter() {}
  virtual void ResetParams() {}
  void AcceptIniControl(QWidget* Control, bool& Accept) override;

  // The cleaned caption of the main menu item of that name.
  QString Title(const QString& MenuItemName) const;
  // What Edit > Repeat and its undo record are titled: the window's title,
  // unless the title carries more (a file name).
  virtual QString FilterTitle() const { return windowTitle(); }
  void SetMainBar(int Min, int Max, int Frequency, int PgSize, int Pos, const QString& BarFormat);
  void DeleteMainBar();
  void SetDirectPreview();

  // Builders: Spacing is the gap in design pixels above the new control.
  QLabel* NewLabel(const QString& Caption, int Spacing);
  QCheckBox* NewCheckBox(const QString& Caption, bool Checked, int Spacing);
  QRadioButton* NewRadioBtn(const QString& Caption, bool Checked, int Spacing);
  TTrackBar* NewBar(int Min, int Max, int Frequency, int PgSize, int Pos, int Spacing);
  TTrackBar* NewBarCl(int Min, int Max, int Frequency, int PgSize, int Pos, TColor Color1, TColor Color2, int Spacing);
  // Two square swatches beside Bar, Raise pixels above its top: Color1 at
  // its left end, Color2 at its right end (no settings key).
  void AddBarSwatches(TTrackBar* Bar, TColor Color1, TColor Color2, int Raise);
  TColorEdit* NewColorEdit(TColor Color, int Spacing);
  // A flat pipette button right of ColorEdit; the dialog's picker buttons
  // exclude each other, the one down marks the edit that takes picked colours.
  QToolButton* NewColorPickerBtn(TColorEdit* ColorEdit, bool Down);
  TSpinEdit2* NewSpinEdit(int Min, int Max, int Value, int Spacing);
  TFloatSpinEdit* NewFloatSpinEdit(double Min, double Max, double Value, int Spacing);
  QComboBox* NewComboBox(bool Editable, int Spacing);
  TRadioGroup* NewRadioGroup(const QString& Caption, int Spacing);
  TMyBevel* NewSeparator(int Spacing);
  TDirectionEdit* NewDirectionEdit(int Direction, int Spacing);
  QPushButton* NewButton(const QString& Caption);
  QPushButton* NewResetButton();
  // The live-preview row and the buttons under the lowest control, and the
  // client height to match.
  void ArrangeButtons();
  // The largest bottom over the direct child controls but Exclude and the
  // four standard ones; 0 when there is none.
  int ControlsBottom(const QWidget* Exclude) const;

  // Handlers.
  void ParamChanged(bool Apply);
  void ControlChange();
  void TrackBarKeyUp();
  void TBNChange();
  void CBRealTimeClick();
  void BApercuClick();
  void BOkClick();
  void ResetButtonClick();
  // Edit > Repeat: a new undo record, then the filter with the parameters
  // the dialog was closed with.
  void RepeatFilter();

  // Live preview is on (permanent or the box checked).
  bool LivePreview() const;
  // A preview is being drawn now.
  bool PreviewRunning() const { return FRunning; }

protected:
  // What ApplyFilter works on.
  TBitmap& Bitmap() const { return FilterHost()->LeBitmap(); }
  TRect WorkRect() const { return FilterHost()->LaSelection(); }
  // Sets a slider's position without running the dialog's change logic
  // twice: under Updating, so no preview starts.
  void SetSilently(TTrackBar* Bar, int Position);

  void showEvent(QShowEvent* Event) override;
  void hideEvent(QHideEvent* Event) override;
  void closeEvent(QCloseEvent* Event) override;
  void reject() override;

private:
  void NameControl(QWidget* Control, const QString& Prefix);
  void PlaceInTabOrder(QWidget* Control);
  // Top under the lowest control plus the scaled gap, Left at the buttons'.
  void PlaceBelow(QWidget* Control, int Spacing);
  template <class TBox> TBox* NewBox(const QString& Caption, bool Checked, int Spacing, const QString& Prefix);
  // One preview run (steps 4 to 7), repeated while changes arrived during it.
  void RunPreview();
  // Closing while a preview runs cancels the run and closes after it.
  bool StopRunBeforeClosing();
  // Guarded: a descendant may destroy a control it inherited.
  std::vector<QPointer<QWidget>> FTabChain;
  QButtonGroup* FPickerGroup = nullptr;
  bool FRunning = false;
  bool FRestart = false;
  bool FChangedWhileRunning = false;
  bool FCloseAfterRun = false;
};
