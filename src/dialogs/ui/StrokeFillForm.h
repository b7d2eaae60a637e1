// TStrokeFillForm: the common half of the two "Contour et remplissage"
// dialogs (the selection's, CRForm.h, and the vector path's, CRPathForm.h):
// an outline in a colour and a width, a fill in a colour and brush style or
// a pattern file, an overall opacity, and the preview drawn for real into
// the current layer. Depends on the dialog base and controls of ui/, the
// pattern choice of dialogs/ui, the filter host (the main window's current
// layer, undo record, selection masks and repaint).
//
// The protocol: the menu command prepares the undo record and shows the
// dialog; every drawing first restores the record's pixels when a preview
// is shown, then fills, then strokes, then fades the result back towards the
// record's pixels below 100 % opacity. Ok keeps the result (a dialog with
// neither box ticked closes as Cancel); Cancel restores and drops the record.
//
// A descendant builds its own rows into StrokeRows (outline) with the
// Add... helpers, and overrides the fill, the stroke and the enabling of its
// own controls.
#pragma once

#include "ui/DlgMain.h"

#include <memory>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QPushButton;
class QToolButton;
class TColorEdit;
class TFilterHost;
class TPatternChoice;
class TSpinEdit2;
class TTrackBar;

class TStrokeFillForm : public TPipetteForm {
  Q_OBJECT
public:
  explicit TStrokeFillForm(QWidget* Parent = nullptr);
  ~TStrokeFillForm() override;

  QLabel* LblOpacite;
  TTrackBar* TBOpacite;
  QCheckBox* CBContour;
  QLabel* LblCouleur1;
  TColorEdit* ColorEdit1;
  QToolButton* SB1;
  QLabel* LblLargeur;
  TSpinEdit2* SELargeur;
  QCheckBox* CBRempl;
  QLabel* LblCouleur2;
  TColorEdit* ColorEdit2;
  QToolButton* SB2;
  QLabel* LblStyle;
  QComboBox* CmbBrush;
  std::unique_ptr<TPatternChoice> Motif;
  QCheckBox* CBPreview;
  QPushButton* BApercu;
  QPushButton* BOk;
  QPushButton* BAnnuler;

  // Options changed since the last drawing; a preview is in the layer.
  bool Changed = false;
  bool Preview = false;

  // The pipette fills the colour whose toggle is down.
  void ChangerCouleur(TColor Couleur) override;
  void UpdateControls() override;
  void AcceptIniControl(QWidget* Control, bool& Accept) override;

  // "Aperçu", live preview, Ok and Repeat.
  void Draw();
  void BOkClick();
  // Enables the controls from the boxes' states.
  void Enabling();

protected:
  // More than 256 colours in the image.
  bool Mode16M() const;
  // The fill box counts (the path dialog disables it for short paths).
  virtual bool FillWanted() const;
  // The drawing steps of the descendant, on the current layer (and its mask
  // when painting also goes there).
  virtual void DrawFill() = 0;
  virtual void DrawStroke() = 0;
  // After the stroke, before the fade.
  virtual void AfterDraw() {}
  // The outline's own controls (beyond width and colour).
  virtual void EnableStroke(bool Contour) { (void)Contour; }
  // The outline colour is replaced by a pattern.
  virtual bool StrokePatternWanted() const { return false; }
  // The dialog closed with Ok, the result kept.
  virtual void Accepted() {}
  // The solid fill of R in ColorEdit2 and the brush style on the layer, and
  // in black on its mask when painting also goes there; or the pattern.
  void FillRectangle(const TRect& R);
  // A option changed: mark it and redraw with live preview.
  void OptionChanged();
  void FormShow() override;
  void FormHide() override;

  QGridLayout* StrokeRows;
  QGridLayout* FillRows;
  // The dialog's host; nullptr without a main window.
  static TFilterHost* Host();

private:
  void PreviewClick();
};
