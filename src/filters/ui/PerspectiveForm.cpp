#include "filters/ui/PerspectiveForm.h"

#include "filters/ui/FilterHost.h"
#include "filters/HorizonCorrection.h" // GridPositions

#include "i18n/LibLang.h"
#include "raster/Bitmap24.h"
#include "raster/TransformFunc.h"
#include "ui/DlgColors.h"
#include "ui/MsgDlg.h"
#include "ui/MySlider.h"
#include "ui/SimplePanel.h"

#include <QCheckBox>

TPerspectiveForm::TPerspectiveForm(QWidget* Parent) : TCorrectionForm(Parent) {
  setObjectName(QStringLiteral("PerspectiveForm"));
  setWindowTitle(QStringLiteral("Correction de perspective"));
  for (TMySlider* S : {SliderTop, SliderBottom, SliderLeft, SliderRight}) {
    AddSliderCursor(S, 0, clDlgText);
    AddSliderCursor(S, 0, clDlgText);
  }
  CBSymetrie = NewOption("CBSymetrie", QStringLiteral("Symétrie"));
  if (TranslationLoaded()) {
    if (FilterHost()) setWindowTitle(FilterHost()->TitreMenu(QStringLiteral("MenuImagePerspective")));
    if (!Tr(TrId::GetTrLblSymmetry2).isEmpty()) CBSymetrie->setText(Tr(TrId::GetTrLblSymmetry2));
  }
  ArrangeOptions({CBSymetrie, CBGrille});
  connect(CBSymetrie, &QCheckBox::toggled, this, [this](bool On) {
    if (On) ApplySymmetry();
    RedrawGrid();
    ShowPreview();
  });
  ImgGrille->OnMouseDown = [this](int X, int Y) { GridClick(X, Y); };
}

TPerspectiveGuides TPerspectiveForm::Guides() const {
  TPerspectiveGuides G;
  G.T0 = SliderTop->GetPosition(0), G.T1 = SliderTop->GetPosition(1);
  G.B0 = SliderBottom->GetPosition(0), G.B1 = SliderBottom->GetPosition(1);
  G.L0 = SliderLeft->GetPosition(0), G.L1 = SliderLeft->GetPosition(1);
  G.R0 = SliderRight->GetPosition(0), G.R1 = SliderRight->GetPosition(1);
  return G;
}

void TPerspectiveForm::UpdateControls() {
  TCorrectionForm::UpdateControls();
  SliderTop->SetCurrentCursor(0);
}

void TPerspectiveForm::ResetSliders() {
  for (TMySlider* S : {SliderTop, SliderBottom, SliderLeft, SliderRight}) {
    SetSilently(S, 0, 0);
    SetSilently(S, 1, S->Max());
    S->SetCurrentCursor(0);
  }
}

void TPerspectiveForm::LimitSlider(TMySlider* Slider, int Index, int& Value) {
  Value = LimitGuideCursor(Index, Value, Slider->Max());
}

void TPerspectiveForm::SliderChanged(TMySlider* Slider, int Index) {
  if (CBSymetrie->isChecked()) SetSilently(Slider, 1 - Index, Slider->Max() - Slider->GetPosition(Index));
}

void TPerspectiveForm::ApplySymmetry() {
  for (TMySlider* S : {SliderTop, SliderBottom, SliderLeft, SliderRight})
    SetSilently(S, 1, S->Max() - S->GetPosition(0));
}

void TPerspectiveForm::GridClick(int X, int Y) {
  const auto Move = [](TMySlider* Slider, int Index, int Position) {
    Slider->SetPosProperty(Index, Position);
    Slider->SetCurrentCursor(Index);
  };
  switch (PerspectiveCornerAt(X, Y, Thumb.Width(), Thumb.Height())) {
  case TPerspectiveCorner::TopLeft:
    Move(SliderTop, 0, X);
    Move(SliderLeft, 0, Y);
    break;
  case TPerspectiveCorner::TopRight:
    Move(SliderTop, 1, X);
    Move(SliderRight, 0, Y);
    break;
  case TPerspectiveCorner::BottomRight:
    Move(SliderBottom, 1, X);
    Move(SliderRight, 1, Y);
    break;
  case TPerspectiveCorner::BottomLeft:
    Move(SliderBottom, 0, X);
    Move(SliderLeft, 1, Y);
    break;
  case TPerspectiveCorner::None:
    break;
  }
}

void TPerspectiveForm::UpdateTransforms() {
  const int W = Thumb.Width(), H = Thumb.Height();
  TRectVertices C{};
  FHasCorners = PerspectiveCorners(Guides(), W, H, C);
  if (!FHasCorners) C = {TPoint{0, 0}, TPoint{W - 1, 0}, TPoint{W - 1, H - 1}, TPoint{0, H - 1}};
  GridTransform.SetSrcRect({0, 0, W, H});
  GridTransform.SetFlagInvert(false);
  GridTransform.SetP0(C[0]);
  GridTransform.SetP1(C[1]);
  GridTransform.SetP2(C[2]);
  GridTransform.SetP3(C[3]);
  GridTransform.Prepare();
  SetStraighteningTransform(ImageTransform, C);
}

void TPerspectiveForm::ComputeGridPositions() {
  XValues = GridPositions(Thumb.Width(), GridSizeX);
  YValues = GridPositions(Thumb.Height(), GridSizeY);
}

void TPerspectiveForm::DrawGridLines() {
  const int W = Thumb.Width(), H = Thumb.Height();
  const TPerspectiveGuides G = Guides();
  GridLine(0, G.L0, W - 1, G.R0, 1);
  GridLine(0, G.L1, W - 1, G.R1, 1);
  GridLine(G.T0, 0, G.B0, H - 1, 1);
  GridLine(G.T1, 0, G.B1, H - 1, 1);
  UpdateTransforms();
  if (!CBGrille->isChecked()) return;
  const auto Segment = [this](int X1, int Y1, int X2, int Y2) {
    double AX, AY, BX, BY;
    GridTransform.Transform(X1, Y1, AX, AY);
    GridTransform.Transform(X2, Y2, BX, BY);
    GridLine(AX, AY, BX, BY, 0);
  };
  for (const int X : XValues) Segment(X, 0, X, H);
  for (const int Y : YValues) Segment(0, Y, W, Y);
}

void TPerspectiveForm::MakePreview(TBitmap& Preview) {
  if (Unchanged()) {
    Preview.Assign(Thumb);
    return;
  }
  NewBitmap24(Preview, Thumb.Width(), Thumb.Height(), clWhite);
  TProjectiveTransformation T = ImageTransform;
  if (PerspectiveUsable(T)) DrawTransformed(Thumb, Preview, T, amBilinear, clWhite);
}

bool TPerspectiveForm::Unchanged() {
  TRectVertices C{};
  return PerspectiveCorners(Guides(), Thumb.Width(), Thumb.Height(), C) && IsWholeQuad(C, Thumb.Width(), Thumb.Height());
}

TProjectiveTransformation TPerspectiveForm::ScaledTransform(int BW, int BH) const {
  TProjectiveTransformation T = ImageTransform;
  ScalePerspective(T, Ratio, BW, BH);
  return T;
}

bool TPerspectiveForm::CanApply() {
  const TBitmap* Bkg = CorrectionHost()->LeFond();
  TProjectiveTransformation T = ScaledTransform(Bkg->Width(), Bkg->Height());
  if (FHasCorners && PerspectiveUsable(T)) return true;
  // Guides that no longer cross as a quadrilateral (a picture too thin for
  // them) would give a degenerate picture.
  ShowMsgDlg(Tr(TrId::GetTrDldGlb2), mdkWarning, {mdbOk});
  return false;
}

TRect TPerspectiveForm::ApplyCorrection(TBitmap& Background, const TBitmap& Original) {
  TProjectiveTransformation T = ScaledTransform(Background.Width(), Background.Height());
  return CorrectPerspective(Background, Original, T);
}
