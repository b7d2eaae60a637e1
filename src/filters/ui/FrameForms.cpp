#include "filters/ui/FrameForms.h"

#include "document/SelMask.h"
#include "filters/Blur24.h"
#include "filters/ui/EffectHost.h"
#include "filters/ui/EffectLayout.h"
#include "filters/ui/TextureForms.h"
#include "i18n/LibLang.h"
#include "platform/Canvas.h"
#include "raster/Bitmap24.h"
#include "raster/LayerPaint.h"
#include "tools/Gradient.h"
#include "ui/ColorEdit.h"
#include "ui/RadioGroup.h"
#include "ui/SpinEdit.h"
#include "ui/TrackBar.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>

#include <algorithm>

TRect ShrinkRect(const TRect& R, int D) {
  if (R.Width() - 2 * D <= 0 || R.Height() - 2 * D <= 0) {
    const TPoint C{R.Left + R.Width() / 2, R.Top + R.Height() / 2};
    return {C.X, C.Y, C.X, C.Y};
  }
  return {R.Left + D, R.Top + D, R.Right - D, R.Bottom - D};
}

namespace {

// The layer's mask when the frame is painted on it too.
TBitmap* MaskWhenDrawingOnAlpha() {
  const TEffectHost* H = EffectHost();
  return H && FilterHost()->DessinerSurAlpha() ? &FilterHost()->LeMasque() : nullptr;
}

// A colour edit with its label and a width spin edit with its label beside.
void BuildColorAndWidth(TFilterNForm& Form, TColor Color, int MinWidth, int Width, QLabel*& LblColor,
                        TColorEdit*& ColorEdit, QLabel*& LblWidth, TSpinEdit2*& SEWidth) {
  LblColor = Form.NewLabel(Tr(TrId::GetTrLblColor), 12);
  ColorEdit = Form.NewColorEdit(Color, 2);
  SEWidth = Form.NewSpinEdit(MinWidth, 500, Width, 0);
  LblWidth = Form.NewLabel(Tr(TrId::GetTrLblWidth), 0);
  PlaceBeside(Form, LblWidth, SEWidth, ColorEdit);
}

TRadioGroup* NewLowHighGroup(TFilterNForm& Form, const QString& Caption, int Spacing) {
  TRadioGroup* G = Form.NewRadioGroup(Caption, Spacing);
  G->SetItems({Tr(TrId::GetTrLblLow), Tr(TrId::GetTrLblHigh)});
  G->SetItemIndex(0);
  return G;
}

} // namespace

// ---- Simple frame ------------------------------------------------------------------------------------------------

TFrameForm::TFrameForm(QWidget* Parent) : TFilterNForm(Parent) {
  setObjectName(QStringLiteral("FrameForm"));
  setWindowTitle(Title(QStringLiteral("MenuEncadrementEncadrer")));
  SetMainBar(10, 100, 5, 5, 60, Tr(TrId::GetTrFmtOpacity));
  LastFilterFlag = 1;
  LastFilterInfo = FilterPaintUndoKind;
  BuildColorAndWidth(*this, clWhite, 1, 20, LblColor, ColorEdit, LblWidth, SEWidth);
  ArrangeButtons();
}

bool TFrameForm::CanApply() { return WorkRectAtLeast(WorkRect(), 2 * SEWidth->Value() + 1); }

void TFrameForm::ApplyFilter() {
  ApplySelMask = false;
  const TRect R = WorkRect();
  const int W = SEWidth->Value();
  const TRect Bands[4] = {{R.Left, R.Top, R.Right, R.Top + W},
                          {R.Left, R.Bottom - W, R.Right, R.Bottom},
                          {R.Left, R.Top + W, R.Left + W, R.Bottom - W},
                          {R.Right - W, R.Top + W, R.Right, R.Bottom - W}};
  TBitmap* Mask = MaskWhenDrawingOnAlpha();
  for (const TRect& Band : Bands) FillColorOnLayer(ColorEdit->Color(), Bitmap(), Mask, Band, TBN->Position());
}

// ---- Slide -------------------------------------------------------------------------------------------------------

TSlideForm::TSlideForm(QWidget* Parent) : TFilterNForm(Parent) {
  setObjectName(QStringLiteral("SlideForm"));
  setWindowTitle(Title(QStringLiteral("MenuEncadrementDiapositive")));
  SetMainBar(10, 100, 5, 5, 100, Tr(TrId::GetTrFmtOpacity));
  LastFilterFlag = 1;
  LastFilterInfo = FilterPaintUndoKind;
  BuildColorAndWidth(*this, clBlack, 3, 10, LblColor, ColorEdit, LblWidth, SEWidth);
  RGFlou = NewLowHighGroup(*this, Title(QStringLiteral("MenuFiltreFlou")), 12);
  RGRound = NewLowHighGroup(*this, Tr(TrId::GetTrLblRounded), 8);
  ArrangeButtons();
}

bool TSlideForm::CanApply() { return WorkRectAtLeast(WorkRect(), 2 * SEWidth->Value() + 1); }

void TSlideForm::ApplyFilter() {
  ApplySelMask = false;
  TEffectHost* H = EffectHost();
  if (!H) return;
  const std::unique_ptr<TBitmap> Mask = CreateLayerMaskBitmap(FilterHost()->SelMasks(), false);
  if (!Mask) return;
  const TRect R = WorkRect();
  const TRect Inner = ShrinkRect(R, SEWidth->Value());
  const int Corner = RGRound->ItemIndex() == 1 ? 60 : 20;
  TCanvas Canvas(Mask.get());
  Canvas.Pen.Color = clWhite;
  Canvas.Brush.Color = clWhite;
  Canvas.RoundRect(Inner.Left, Inner.Top, Inner.Right, Inner.Bottom, Corner, Corner);
  GaussianBlurRadius(*Mask, RGFlou->ItemIndex() == 1 ? 9 : 2, BitmapRect(*Mask));
  if (TBitmap* LayerMask = MaskWhenDrawingOnAlpha())
    PaintColorOnLayer(*Mask, ColorEdit->Color(), R, Bitmap(), LayerMask, R.Left, R.Top, R, TBN->Position(), nullptr);
  else
    FillColorMask24(*Mask, R, Bitmap(), R.Left, R.Top, R, ColorEdit->Color(), TBN->Position());
}

// ---- 3D button ---------------------------------------------------------------------------------------------------

TButton3DForm::TButton3DForm(QWidget* Parent) : TFilterNForm(Parent) {
  setObjectName(QStringLiteral("Button3DForm"));
  setWindowTitle(Title(QStringLiteral("MenuEncadrementBouton3D")));
  SetMainBar(10, 100, 5, 5, 70, Tr(TrId::GetTrFmtOpacity));
  LastFilterFlag = 1;
  LblWidth = NewLabel(Tr(TrId::GetTrLblWidth), 12);
  SEWidth = NewSpinEdit(4, 50, 10, 2);
  RBSimple = NewRadioBtn(Tr(TrId::GetTrMnuSingleBevel), true, 12);
  RBDouble = NewRadioBtn(Tr(TrId::GetTrMnuDoubleBevel), false, 4);
  ArrangeButtons();
}

bool TButton3DForm::CanApply() {
  const int W = SEWidth->Value();
  return WorkRectAtLeast(WorkRect(), RBDouble->isChecked() ? 4 * W + 2 : 2 * W + 1);
}

void TButton3DForm::ApplyFilter() {
  ApplySelMask = false;
  const int W = SEWidth->Value();
  TRect R = ShrinkRect(WorkRect(), W);
  Bevel3D24(Bitmap(), R, W, TBN->Position(), false);
  if (!RBDouble->isChecked()) return;
  R = ShrinkRect(R, W);
  Bevel3D24(Bitmap(), R, W / 2, TBN->Position(), true);
}

// ---- 3D edges ----------------------------------------------------------------------------------------------------

TFrame3DForm::TFrame3DForm(QWidget* Parent) : TFilterNForm(Parent) {
  setObjectName(QStringLiteral("Frame3DForm"));
  setWindowTitle(Title(QStringLiteral("MenuEncadrementRelief")));
  SetMainBar(1, 30, 1, 1, 4, Tr(TrId::GetTrLblWidth) + QStringLiteral(" %d"));
  LastFilterFlag = 1;
  CBBlur = NewCheckBox(Title(QStringLiteral("MenuFiltreLisser")), true, 12);
  ArrangeButtons();
}

bool TFrame3DForm::CanApply() { return WorkRectAtLeast(WorkRect(), 3 * TBN->Position() + 1); }

void TFrame3DForm::ApplyFilter() {
  ApplySelMask = false;
  const int W = TBN->Position();
  const TRect Outer = WorkRect();
  const TRect R = ShrinkRect(Outer, W);
  Bevel3D24(Bitmap(), R, W, 60, false);
  // A frame wider than the rect allows leaves no inner part: nothing sunken
  // to draw and nothing to keep from the blur.
  const TRect Inner = ShrinkRect(R, 2 * W);
  Bevel3D24(Bitmap(), Inner, W, 60, true);
  if (!CBBlur->isChecked()) return;
  GaussianBlurRadius(Bitmap(), std::max(W / 3, 1), Outer);
  if (!Inner.IsEmpty()) CopyRect24(FilterHost()->BmpUndo(), Inner, Bitmap(), Inner.Left, Inner.Top, Inner);
}
