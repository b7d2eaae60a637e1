// Adjust > Shadows / highlights: a two-cursor slider over a grey strip sets
// how much the shadows are lifted (100 - cursor 0) and the highlights
// lowered (cursor 1 - 300) by the tones of a blurred neighbourhood; the
// result is blended at 50 % over the unfiltered layer, then gamma-corrected.
// Depends on TFilterNForm, the convolution and point filters.
#pragma once

#include "filters/ui/FilterNForm.h"

class QLabel;
class QPushButton;
namespace MyImage {
class TMyImage;
}
class TMySlider;

class TLevelsExForm : public TFilterNForm {
  Q_OBJECT
public:
  explicit TLevelsExForm(QWidget* Parent = nullptr);
  MyImage::TMyImage* Strip = nullptr;
  TMySlider* Zones = nullptr;
  QLabel* LblShadows = nullptr;
  QLabel* LblHighlights = nullptr;
  TTrackBar* Radius = nullptr;
  TTrackBar* Gamma = nullptr;
  QPushButton* BtnReset = nullptr;
  bool HasEffect() override;
  void ResetParams() override;
  void ApplyFilter() override;

private:
  void ZonesChanged();
};
