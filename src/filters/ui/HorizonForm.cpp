#include "filters/ui/HorizonForm.h"

#include "filters/ui/FilterHost.h"
#include "i18n/Format.h"
#include "i18n/LibLang.h"
#include "raster/ImgUtils.h"
#include "ui/DlgColors.h"
#include "ui/MySlider.h"
#include "ui/SimplePanel.h"

#include <QCheckBox>
#include <QLabel>

#include <cmath>

THorizonForm::THorizonForm(QWidget* Parent) : TCorrectionForm(Parent) {
  setObjectName(QStringLiteral("HorizonForm"));
  setWindowTitle(QStringLiteral("Correction de ligne d'horizon"));
  SliderUnits = 10;
  for (TMySlider* S : {SliderTop, SliderBottom, SliderLeft, SliderRight}) AddSliderCursor(S, 0, clDlgText);
  LblAngle = new QLabel(PnlOptions);
  QFont Bold = LblAngle->font();
  Bold.setBold(true);
  LblAngle->setFont(Bold);
  CBCrop = NewOption("CBCrop", QStringLiteral("Recadrage automatique"));
  CBRatio = NewOption("CBRatio", QStringLiteral("Conserver les proportions"));
  if (TranslationLoaded()) {
    if (FilterHost()) setWindowTitle(FilterHost()->TitreMenu(QStringLiteral("MenuImageHorizon")));
    if (!Tr(TrId::GetTrMnuAutoCrop).isEmpty()) CBCrop->setText(Tr(TrId::GetTrMnuAutoCrop));
    if (!Tr(TrId::GetTrLblAspectRation).isEmpty()) CBRatio->setText(Tr(TrId::GetTrLblAspectRation));
  }
  ArrangeOptions({LblAngle, CBGrille, CBCrop, CBRatio});
  connect(CBCrop, &QCheckBox::toggled, this, [this](bool On) {
    CBRatio->setEnabled(On);
    ShowPreview();
  });
  connect(CBRatio, &QCheckBox::toggled, this, [this] { ShowPreview(); });
}

void THorizonForm::UpdateControls() {
  CBRatio->setEnabled(CBCrop->isChecked());
  TCorrectionForm::UpdateControls();
}

THorizonSide THorizonForm::SideOf(const TMySlider* Slider) const {
  if (Slider == SliderTop) return THorizonSide::Top;
  if (Slider == SliderBottom) return THorizonSide::Bottom;
  return Slider == SliderLeft ? THorizonSide::Left : THorizonSide::Right;
}

TMySlider* THorizonForm::SliderOf(THorizonSide Side) const {
  switch (Side) {
  case THorizonSide::Top:
    return SliderTop;
  case THorizonSide::Bottom:
    return SliderBottom;
  case THorizonSide::Left:
    return SliderLeft;
  default:
    return SliderRight;
  }
}

void THorizonForm::ResetSliders() {
  for (TMySlider* S : {SliderTop, SliderBottom, SliderLeft, SliderRight}) SetSilently(S, 0, S->Max() / 2);
}

void THorizonForm::LimitSlider(TMySlider* Slider, int, int& Value) {
  if (!Thumb.Empty()) Value = ClampHorizonCursor(Range(), SideOf(Slider), Value);
}

void THorizonForm::SliderChanged(TMySlider* Slider, int) {
  const THorizonSide Moved = SideOf(Slider);
  const THorizonCursors C = CoupleHorizonCursors(Range(), Moved, Slider->GetPosition(0));
  for (const THorizonSide Side : {THorizonSide::Top, THorizonSide::Bottom, THorizonSide::Left, THorizonSide::Right})
    if (Side != Moved) SetSilently(SliderOf(Side), 0, C[static_cast<int>(Side)]);
}

void THorizonForm::UpdateTransforms() {
  const int W = Thumb.Width(), H = Thumb.Height();
  const int DT = SliderTop->GetPosition(0) - SliderTop->Max() / 2;
  const int DL = SliderLeft->GetPosition(0) - SliderLeft->Max() / 2;
  Angle = HorizonAngle(DT, DL, W, H);
  GridTransform.Clear();
  GridTransform.SetSrcRect({0, 0, W, H});
  GridTransform.Rotate((W - 1) / 2.0, (H - 1) / 2.0, Angle);
  GridTransform.Prepare();
  LblAngle->setText(Format(QStringLiteral("%.2f°"), {-Angle}));
}

void THorizonForm::ComputeGridPositions() {
  XValues = GridPositions(Thumb.Width() - 1, GridSizeX);
  YValues = GridPositions(Thumb.Height() - 1, GridSizeY);
}

void THorizonForm::DrawGridLines() {
  UpdateTransforms();
  if (!CBGrille->isChecked()) return;
  const int W = Thumb.Width(), H = Thumb.Height();
  const auto Segment = [this](int X1, int Y1, int X2, int Y2) {
    double AX, AY, BX, BY;
    GridTransform.Transform(X1, Y1, AX, AY);
    GridTransform.Transform(X2, Y2, BX, BY);
    GridLine(AX, AY, BX, BY, 0);
  };
  for (const int X : XValues) Segment(X, 0, X, H - 1);
  for (const int Y : YValues) Segment(0, Y, W - 1, Y);
}

void THorizonForm::MakePreview(TBitmap& Preview) {
  StraightenBitmap(Thumb, Preview, Angle, amBilinear);
  if (!CBCrop->isChecked()) return;
  const TRect R = HorizonCropRect(Thumb.Width(), Thumb.Height(), Angle, CBRatio->isChecked());
  if (R != TRect{0, 0, Thumb.Width(), Thumb.Height()}) CropBitmap(Preview, R);
}

bool THorizonForm::Unchanged() { return std::fabs(Angle) < 0.01; }

TRect THorizonForm::ApplyCorrection(TBitmap& Background, const TBitmap& Original) {
  return StraightenHorizon(Background, Original, Angle, CBCrop->isChecked(), CBRatio->isChecked());
}
