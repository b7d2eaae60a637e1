// THorizonForm: Image > horizon correction. The user drags a cursor to where
// a line that should be vertical (top and bottom sliders) or horizontal
// (left and right sliders) meets the thumbnail's edge; the four cursors stay
// symmetric about the centre and define one angle, which the grid follows.
// Ok turns the background by the opposite angle (bicubic), optionally crops
// it to the largest upright rectangle (and to the image's proportions) and
// moves the other layers by the crop. Depends on the correction dialog base
// and the horizon geometry of filters/.
#pragma once

#include "filters/HorizonCorrection.h"
#include "filters/ui/CorrectionForm.h"
#include "raster/TransformData.h"

class THorizonForm : public TCorrectionForm {
  Q_OBJECT
public:
  explicit THorizonForm(QWidget* Parent = nullptr);

  QLabel* LblAngle = nullptr;
  QCheckBox* CBCrop = nullptr;
  QCheckBox* CBRatio = nullptr;

  // The angle the cursors define, in degrees (see HorizonCorrection.h).
  double Angle = 0;
  // The rotation drawn on the grid.
  TAffineTransformation GridTransform;

  void UpdateControls() override;

protected:
  void ResetSliders() override;
  void UpdateTransforms() override;
  void ComputeGridPositions() override;
  void DrawGridLines() override;
  void MakePreview(TBitmap& Preview) override;
  bool Unchanged() override;
  TRect ApplyCorrection(TBitmap& Background, const TBitmap& Original) override;
  void SliderChanged(TMySlider* Slider, int Index) override;
  void LimitSlider(TMySlider* Slider, int Index, int& Value) override;

private:
  THorizonRange Range() const { return HorizonRange(Thumb.Width(), Thumb.Height()); }
  THorizonSide SideOf(const TMySlider* Slider) const;
  TMySlider* SliderOf(THorizonSide Side) const;
};
