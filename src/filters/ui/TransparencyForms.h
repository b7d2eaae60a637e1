// Image > Transparent colour and Image > Transparency mask, both on the
// background layer. The first merges the pixels near a picked colour into a
// transparent colour (the picked one, or the one the background already has)
// and makes the background transparent, or switches its transparency off;
// the second turns the background into a grey mask of the pixels near a
// colour, with an edge effect. Both preview on the image. Depends on the
// raster masks, the blur filters, TColorPreviewForm and TColorDialogHost.
#pragma once

#include "filters/ui/ColorPreviewForm.h"

class QLabel;
class QRadioButton;
class QWidget;
class TColorEdit;
class TRadioGroup;
class TTrackBar;

// The controls both dialogs share: a read-only colour edit that the pipette
// fills, and a tolerance slider with its label.
class TColorToleranceForm : public TColorPreviewForm {
  Q_OBJECT
public:
  explicit TColorToleranceForm(QWidget* Parent = nullptr);
  TColorEdit* ColorEdit = nullptr;
  TTrackBar* TBN = nullptr;
  QLabel* LblN = nullptr;
  void ChangerCouleur(TColor Couleur) override;

protected:
  // The background's transparency as the dialog found it, put back when a
  // preview is undone.
  bool FSavedTransparent = false;
  TColor FSavedColor = clNone;
  void SaveTransparency();
  void RestoreTransparency();
  void FormShow() override;
  void FormHide() override;
};

class TCouleurTransForm : public TColorToleranceForm {
  Q_OBJECT
public:
  explicit TCouleurTransForm(QWidget* Parent = nullptr);
  QWidget* PnlFond = nullptr;
  QRadioButton* RBCombiner = nullptr;
  QRadioButton* RBRemplacer = nullptr;
  QCheckBox* CBAnnulerTransp = nullptr;
  // The transparent colour the background had, clNone when none.
  TColor CouleurTrans = clNone;

protected:
  void ApplyOperation() override;
  void OkSteps() override;
  void FormShow() override;

private:
  void Arrange();
};

// The edge effects of the transparency mask, in the order of the dialog's
// choices: none, smoothing, blur, progressive outline, diffusion.
enum TMaskEdgeEffect : int { edNone, edSmooth, edBlur, edProgressive, edDiffuse };
// Background becomes a grey mask of itself: 255 where a pixel lies within
// Tolerance of Color, 0 elsewhere; then the edge Effect on it. Its
// transparency is switched off.
void MaskFromBackground(TBitmap& Background, TColor Color, int Tolerance, int Effect);

class TMaskCoulForm : public TColorToleranceForm {
  Q_OBJECT
public:
  explicit TMaskCoulForm(QWidget* Parent = nullptr);
  TRadioGroup* RGEffet = nullptr;
  // The background had a transparent colour when the dialog was shown.
  bool Transp = false;

protected:
  void ApplyOperation() override;
  void OkSteps() override;
  void FormShow() override;
};
