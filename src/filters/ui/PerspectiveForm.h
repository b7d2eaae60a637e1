// TPerspectiveForm: Image > perspective correction. Each edge slider has two
// cursors: those of the top and bottom sliders set two guides that should
// become vertical, those of the left and right sliders two guides that
// should become horizontal (a click near a corner of the picture moves the
// two cursors of that corner there). The guides' crossings make a
// quadrilateral that Ok maps onto an upright rectangle of the background,
// cropped to it; the other layers move by the crop. Guides that no longer
// make a quadrilateral are refused with a message. Depends on the
// correction dialog base and the perspective geometry of filters/.
#pragma once

#include "filters/PerspectiveCorrection.h"
#include "filters/ui/CorrectionForm.h"

class TPerspectiveForm : public TCorrectionForm {
  Q_OBJECT
public:
  explicit TPerspectiveForm(QWidget* Parent = nullptr);

  QCheckBox* CBSymetrie = nullptr;
  // The thumbnail onto the quadrilateral (the grid is drawn through it), and
  // the quadrilateral onto the upright rectangle.
  TProjectiveTransformation GridTransform, ImageTransform;

  // The guides as the cursors set them.
  TPerspectiveGuides Guides() const;
  // A click on the grid picture at (X, Y), in its pixels.
  void GridClick(int X, int Y);
  void UpdateControls() override;

protected:
  void ResetSliders() override;
  void UpdateTransforms() override;
  void ComputeGridPositions() override;
  void DrawGridLines() override;
  void MakePreview(TBitmap& Preview) override;
  bool Unchanged() override;
  bool CanApply() override;
  TRect ApplyCorrection(TBitmap& Background, const TBitmap& Original) override;
  void SliderChanged(TMySlider* Slider, int Index) override;
  void LimitSlider(TMySlider* Slider, int Index, int& Value) override;

private:
  // ImageTransform carried over to a BW x BH background.
  TProjectiveTransformation ScaledTransform(int BW, int BH) const;
  void ApplySymmetry();
  // The guides crossed when the transforms were last updated.
  bool FHasCorners = false;
};
