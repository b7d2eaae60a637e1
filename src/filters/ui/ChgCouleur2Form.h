// Adjust > Replace a colour range: the pixels within a tolerance of a colour
// (picked on the image) take a chosen hue, keeping their saturation and
// value. The hue comes from a slider or a click on a hue ramp. Previewed on
// the image; Ok registers Edit > Repeat. Depends on the colour filters, the
// hue ramp of tools/, TColorPreviewForm.
#pragma once

#include "filters/ui/ColorPreviewForm.h"

class QLabel;
class TColorEdit;
class TSimplePanel;
class TTrackBar;
namespace MyImage {
class TMyImage;
}

class TChgCouleur2Form : public TColorPreviewForm {
  Q_OBJECT
public:
  explicit TChgCouleur2Form(QWidget* Parent = nullptr);
  TColorEdit* ColorEdit1 = nullptr;
  TTrackBar* TBN2 = nullptr;
  QLabel* LblN2 = nullptr;
  TTrackBar* TBN = nullptr;
  QLabel* LblN = nullptr;
  TSimplePanel* PnlCouleur = nullptr;
  MyImage::TMyImage* ImgDegrade = nullptr;
  // Ramp pixels per degree of hue.
  double ScaleX = 1.0;

  void ChangerCouleur(TColor Couleur) override;
  // A click on the ramp at X: hue Trunc(X / ScaleX).
  void RampClick(int X);

protected:
  void ApplyOperation() override;
  void OkSteps() override;
  bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
  void HueChanged();
  void RepeatFilter();
};
