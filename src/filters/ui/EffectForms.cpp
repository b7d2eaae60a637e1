#include "filters/ui/EffectForms.h"

#include "document/Calque.h"
#include "document/MyImageLayered.h"
#include "document/SelMask.h"
#include "document/Undo.h"
#include "filters/Blur24.h"
#include "filters/CompositeSteps.h"
#include "filters/Filtres24.h"
#include "filters/ui/BlurForms.h"
#include "filters/ui/ChannelBars.h"
#include "i18n/LibLang.h"
#include "raster/Bitmap24.h"
#include "raster/ColorFill.h"
#include "raster/ColorUtils.h"
#include "raster/FilterEvent.h"
#include "raster/GreyMasks.h"
#include "raster/LayerPaint.h"
#include "tools/Gradient.h"
#include "ui/ColorEdit.h"
#include "ui/DirectionEdit.h"
#include "ui/MsgDlg.h"
#include "ui/RadioGroup.h"
#include "ui/SpinEdit.h"
#include "ui/TrackBar.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QToolButton>

#include <algorithm>

namespace {

TRect Grown(const TRect& R, int N) { return {R.Left - N, R.Top - N, R.Right + N, R.Bottom + N}; }
TRect Whole(const TBitmap& B) { return {0, 0, B.Width(), B.Height()}; }
TColor GreyColor(int Level) { return TColor(Level) * 0x010101; }

TSelMaskHost& Masks() { return FilterHost()->SelMasks(); }
// The selection's shapes are smoothed unless "Aucun" is the smoothing mode.
bool Smoothing() { return !Masks().SelAucunLissage(); }

// Control moved level with Other (same Top), at Left.
void PlaceLevel(QWidget* Control, const QWidget* Other, int Left) { Control->move(Left, Other->y()); }

// The colour painted through the scratch mask M onto the layer at Opacity,
// clipped to Clip; with UseAlpha the painted pixels also become opaque.
void PaintThrough(const TBitmap& M, TColor Color, int Opacity, const TRect& Clip, bool UseAlpha) {
  TSelMaskHost& H = Masks();
  TBitmap& Layer = *LeBitmap(H);
  if (UseAlpha)
    PaintColorOnLayer(M, Color, Whole(M), Layer, LeMasque(H), 0, 0, Clip, Opacity, nullptr);
  else
    FillColorMask24(M, Whole(M), Layer, 0, 0, Clip, Color, Opacity);
}

// The pixels inside the selected shape get back what they were before the
// command (and their transparency with UseAlpha): the effect shows only
// outside the shape. M is the scratch mask, reused.
void RestoreInsideShape(TBitmap& M, bool UseAlpha) {
  TSelMaskHost& H = Masks();
  const TRect Sel = LaSelection(H);
  const TRect R = Grown(Sel, 1);
  FillColor24(M, clWhite, 100, R);
  FillSelectionShape(*H.Sel(), M, Sel, clBlack, Smoothing());
  CopyRect24MaskOpacity(*H.BmpUndo(), R, *LeBitmap(H), R.Left, R.Top, R, 100, &M);
  if (UseAlpha) CopyRect24MaskOpacity(*H.MaskUndo(), R, *LeMasque(H), R.Left, R.Top, R, 100, &M);
}

// The undo record under way saves Region again from the copies taken before
// the command, so that undo (and the next preview) restore the whole of an
// effect that reaches beyond the work rectangle.
void ResaveUndoRegion(const TRect& Region, bool UseAlpha) {
  TSelMaskHost& H = Masks();
  if (TUndoList* List = H.ListeUndo())
    if (auto* Record = dynamic_cast<TUndoBmpItem*>(List->CurrentUndo()))
      Record->ResetData(H.BmpUndo(), UseAlpha ? H.MaskUndo() : nullptr, Region);
}

// Progress over Rings steps; false when the user cancelled.
class TRingProgress {
public:
  explicit TRingProgress(int Rings) { ProgressEvent(ProgressStageBegin, Rings); }
  ~TRingProgress() { ProgressEnd(); }
  bool Step(int Ring) { return ProgressEvent(ProgressStageReport, Ring); }
};

// A dialog that changes the layer's mask: its name, the caption of its menu
// item, and Repeat as a mask change, offered only on layers with a mask.
void SetUpMaskDialog(TFilterNForm& F, const char* Name, const QString& Caption) {
  F.setObjectName(QString::fromLatin1(Name));
  F.setWindowTitle(Caption);
  F.LastFilterInfo = FilterMaskUndoKind;
  F.LastFilterFlag = 4;
}

} // namespace

// ---- Drop shadow -------------------------------------------------------------------------------------------------

TShadowForm::TShadowForm(QWidget* Parent) : TFilterNForm(Parent) {
  setObjectName(QStringLiteral("ShadowForm"));
  setWindowTitle(Title(QStringLiteral("MenuFiltreOmbre")));
  LastFilterInfo = FilterPaintUndoKind;
  LastFilterFlag = 3;
  DeleteMainBar();
  LblColor = NewLabel(Tr(TrId::GetTrLblColor), 16);
  ColorEdit = NewColorEdit(clBlack, 0);
  ColorEdit->move(ColorEdit->x(), LblColor->y() + LblColor->height() + 4);
  LblAlpha = NewLabel(Tr(TrId::GetTrLblOpacity), 0);
  PlaceLevel(LblAlpha, LblColor, Rescale(112));
  EdiAlpha = NewSpinEdit(10, 100, 80, 0);
  PlaceLevel(EdiAlpha, ColorEdit, LblAlpha->x());
  LblDX = NewLabel(Tr(TrId::GetTrLblDeltaX) + QStringLiteral(" :"), 10);
  EdiDX = NewSpinEdit(-100, 100, 7, 4);
  LblDY = NewLabel(Tr(TrId::GetTrLblDeltaY) + QStringLiteral(" :"), 0);
  PlaceLevel(LblDY, LblDX, LblAlpha->x());
  EdiDY = NewSpinEdit(-100, 100, 7, 0);
  PlaceLevel(EdiDY, EdiDX, LblAlpha->x());
  RGStyle = NewRadioGroup(Tr(TrId::GetTrLblStyle), 12);
  RGStyle->SetItems({Tr(TrId::GetTrLblFlat), Title(QStringLiteral("MenuFiltreProgressif"))});
  SetRadioIndexSilent(RGStyle, 1);
  ArrangeButtons();
}

void TShadowForm::ApplyFilter() {
  UseAlpha = FilterHost()->DessinerSurAlpha();
  ApplySelMask = false;
  TSelMaskHost& H = Masks();
  std::unique_ptr<TBitmap> M = CreateLayerMaskBitmap(H, true);
  if (!M) return;
  const int Dx = EdiDX->Value(), Dy = EdiDY->Value();
  const bool Feathered = RGStyle->ItemIndex() == 1;
  const TRect Sel = LaSelection(H);
  TRect S = OffsetRect(Sel, Dx, Dy);
  FillSelectionShape(*H.Sel(), *M, S, clBlack, Smoothing());
  if (Feathered) {
    S = Grown(S, 9);
    GaussianBlurRadius(*M, 9, S);
  }
  PaintThrough(*M, ColorEdit->Color(), EdiAlpha->Value(), S, UseAlpha);
  RestoreInsideShape(*M, UseAlpha);
  TRect Region = Sel;
  (Dx <= 0 ? Region.Left : Region.Right) += Dx;
  (Dy <= 0 ? Region.Top : Region.Bottom) += Dy;
  ResaveUndoRegion(Feathered ? Grown(Region, 18) : Region, UseAlpha);
}

// ---- Progressive contour -----------------------------------------------------------------------------------------

TProgCtrForm::TProgCtrForm(QWidget* Parent) : TFilterNForm(Parent) {
  setObjectName(QStringLiteral("ProgCtrForm"));
  setWindowTitle(Title(QStringLiteral("MenuFiltreProgressif")));
  LastFilterInfo = FilterPaintUndoKind;
  LastFilterFlag = 2;
  SetMainBar(50, 100, 2, 2, 100, Tr(TrId::GetTrFmtOpacity));
  LblColor = NewLabel(Tr(TrId::GetTrLblColor), 8);
  ColorEdit = NewColorEdit(clBlack, 4);
  LblWidth = NewLabel(Tr(TrId::GetTrLblWidth), 0);
  PlaceLevel(LblWidth, LblColor, Rescale(112));
  EdiWidth = NewSpinEdit(3, 100, 20, 0);
  PlaceLevel(EdiWidth, ColorEdit, LblWidth->x());
  CBInvert = NewCheckBox(Tr(TrId::GetTrLblOutside), false, 8);
  RGEffect = NewRadioGroup(Tr(TrId::GetTrLblStyle), 8);
  RGEffect->resize(RGEffect->width(), Rescale(85));
  RGEffect->SetItems(
      {Tr(TrId::GetTrLblNone), Title(QStringLiteral("MenuFiltreFlou")), Title(QStringLiteral("MenuFiltreDiffusion"))});
  SetRadioIndexSilent(RGEffect, 1);
  ArrangeButtons();
}

void TProgCtrForm::UpdateControls() {
  const TSelectionState* Sel = FilterHost() ? Masks().Sel() : nullptr;
  CBInvert->setEnabled(Sel && Sel->Visible());
  if (!CBInvert->isEnabled()) {
    const bool Saved = std::exchange(Updating, true);
    CBInvert->setChecked(false);
    Updating = Saved;
  }
}

bool TProgCtrForm::CanApply() {
  if (CBInvert->isChecked()) return true;
  const int Least = 2 * EdiWidth->Value() + 1;
  const TRect R = WorkRect();
  if (R.Width() >= Least && R.Height() >= Least) return true;
  ShowMsgDlg(Tr(TrId::GetTrDldGlb2), mdkWarning, TMsgDlgButtons{mdbOk});
  return false;
}

void TProgCtrForm::ApplyFilter() {
  ApplySelMask = false;
  UseAlpha = FilterHost()->DessinerSurAlpha();
  TSelMaskHost& H = Masks();
  TSelectionState* Sel = H.Sel();
  if (!Sel) return;
  // Without a visible selection the whole work rectangle is contoured.
  if (!Sel->Visible()) Sel->SetShape(ssRect);
  const int W = EdiWidth->Value();
  const int D = std::min(2 * W, 50);
  const TMyShape Shape = Sel->Shape();
  const bool Simple = Shape == ssRect || Shape == ssEllipse || Shape == ssRoundRect || Shape == ssLosange;
  TPassesScope Passes(RGEffect->ItemIndex() == 1 ? 2 : 1);
  if (CBInvert->isChecked())
    Outside(H, W, D, !Simple);
  else if (Simple)
    SimpleInside(H, W, D);
  else
    TracedInside(H, W, D);
}

void TProgCtrForm::SimpleInside(TSelMaskHost& H, int W, int D) {
  std::unique_ptr<TBitmap> M = CreateLayerMaskBitmap(H, false);
  if (!M) return;
  const TRect L = LaSelection(H);
  {
    TRingProgress Progress(W);
    for (int K = W; K >= 0; --K) {
      FillSelectionShape(*H.Sel(), *M, Grown(L, K - W), GreyColor((W - K) * 255 / W), true);
      if (!Progress.Step(W - K)) break;
    }
  }
  if (RGEffect->ItemIndex() == 1) GaussianBlurRadius(*M, D, L);
  if (RGEffect->ItemIndex() == 2) Diffuse24(*M, 4, 0, L);
  PaintThrough(*M, ColorEdit->Color(), TBN->Position(), L, UseAlpha);
  FilterHost()->AppliquerMasqueSel(Smoothing() ? 2 : 0);
}

void TProgCtrForm::TracedInside(TSelMaskHost& H, int W, int D) {
  std::unique_ptr<TBitmap> M = CreateLayerMaskBitmap(H, true);
  if (!M) return;
  const TRect L = LaSelection(H);
  const TRect Around = Grown(L, 4);
  FillSelectionShape(*H.Sel(), *M, L, clBlack, false);
  // The layer serves as scratch: the rings are drawn on black, each through
  // the shape shrunk by one more pixel.
  TBitmap& Layer = *LeBitmap(H);
  FillColor24(Layer, clBlack, 100, Around);
  {
    TRingProgress Progress(W);
    for (int K = W; K >= 0; --K) {
      FillColorMask24(*M, Whole(*M), Layer, 0, 0, Grown(L, K - W), GreyColor((W - K) * 255 / W), 100);
      GrowShrinkMask(*M, -1, Around, false);
      if (!Progress.Step(W - K)) break;
    }
  }
  CopyRect24(Layer, Around, *M, Around.Left, Around.Top, Around);
  CopyRect24(*H.BmpUndo(), Around, Layer, Around.Left, Around.Top, Around);
  if (RGEffect->ItemIndex() == 1) GaussianBlurRadius(*M, D, Around);
  if (RGEffect->ItemIndex() == 2) Diffuse24(*M, 4, 0, L);
  PaintThrough(*M, ColorEdit->Color(), TBN->Position(), L, UseAlpha);
  FilterHost()->AppliquerMasqueSel(Smoothing() ? 2 : 0);
}

void TProgCtrForm::Outside(TSelMaskHost& H, int W, int D, bool Traced) {
  std::unique_ptr<TBitmap> M = CreateLayerMaskBitmap(H, true);
  if (!M) return;
  const TRect L = LaSelection(H);
  TRect Rgn;
  if (!Traced) {
    Rgn = Grown(L, W);
    TRingProgress Progress(W);
    for (int K = W; K >= 1; --K) {
      FillSelectionShape(*H.Sel(), *M, Grown(Rgn, K - W), GreyColor(255 - (W - K) * 255 / W), true);
      if (!Progress.Step(W - K)) break;
    }
  } else {
    // The shape grows one pixel at a time on the layer (as scratch), each
    // new outline drawn into M a little lighter.
    const int A = W + 1;
    Rgn = Grown(L, A + 1);
    TBitmap& Layer = *LeBitmap(H);
    FillColor24(Layer, clWhite, 100, Rgn);
    FillSelectionShape(*H.Sel(), Layer, L, clBlack, false);
    FillSelectionShape(*H.Sel(), *M, L, clBlack, false);
    TRect Ring = L;
    TRingProgress Progress(A);
    for (int K = A; K >= 0; --K) {
      Ring = Grown(Ring, 1);
      GrowShrinkMask(Layer, 1, Ring, true);
      DrawMaskOutline(Layer, *M, GreyColor((A - K) * 255 / A), 3, 128, Ring);
      if (!Progress.Step(A - K)) break;
    }
    CopyRect24(*H.BmpUndo(), Rgn, Layer, Rgn.Left, Rgn.Top, Rgn);
  }
  if (RGEffect->ItemIndex() > 0) {
    Rgn = Grown(Rgn, D);
    if (RGEffect->ItemIndex() == 1)
      GaussianBlurRadius(*M, D, Rgn);
    else
      Diffuse24(*M, 4, 0, Rgn);
  }
  PaintThrough(*M, ColorEdit->Color(), TBN->Position(), Rgn, UseAlpha);
  RestoreInsideShape(*M, UseAlpha);
  ResaveUndoRegion(Rgn, UseAlpha);
}

// ---- 3D contour --------------------------------------------------------------------------------------------------

TBorder3DForm::TBorder3DForm(QWidget* Parent) : TFilterNForm(Parent) {
  setObjectName(QStringLiteral("Border3DForm"));
  setWindowTitle(Title(QStringLiteral("MenuFiltreCtr3D")));
  LastFilterFlag = 2;
  DeleteMainBar();
  CBColor1 = NewCheckBox(Tr(TrId::GetTrLblColor1), true, 16);
  ColorEdit1 = NewColorEdit(clWhite, 0);
  ColorEdit1->move(ColorEdit1->x(), CBColor1->y() + CBColor1->height() + 4);
  SB1 = NewColorPickerBtn(ColorEdit1, true);
  CBColor2 = NewCheckBox(Tr(TrId::GetTrLblColor2), true, 0);
  PlaceLevel(CBColor2, CBColor1, Rescale(144));
  ColorEdit2 = NewColorEdit(clBlack, 0);
  PlaceLevel(ColorEdit2, ColorEdit1, CBColor2->x());
  SB2 = NewColorPickerBtn(ColorEdit2, false);
  LblWidth = NewLabel(Tr(TrId::GetTrLblWidth), 8);
  EdiWidth = NewSpinEdit(1, 100, 7, 4);
  LblAlpha = NewLabel(Tr(TrId::GetTrLblOpacity), 0);
  PlaceLevel(LblAlpha, LblWidth, CBColor2->x());
  EdiAlpha = NewSpinEdit(10, 100, 80, 0);
  PlaceLevel(EdiAlpha, EdiWidth, CBColor2->x());
  RGPos = NewRadioGroup(Tr(TrId::GetTrLblPosition), 12);
  RGPos->SetColumns(2);
  RGPos->SetItems({Tr(TrId::GetTrLblTopLeft), Tr(TrId::GetTrLblBottomLeft), Tr(TrId::GetTrLblTopRight),
                   Tr(TrId::GetTrLblBottomRight)});
  SetRadioIndexSilent(RGPos, 0);
  CBSoft = NewCheckBox(Title(QStringLiteral("MenuFiltreAdoucir")), true, 8);
  CBGradient = NewCheckBox(Title(QStringLiteral("MenuFiltreDegrade")), false, 2);
  for (auto [Box, Edit, Picker] : {std::tuple{CBColor1, ColorEdit1, SB1}, std::tuple{CBColor2, ColorEdit2, SB2}})
    connect(Box, &QCheckBox::toggled, this, [Edit, Picker](bool On) {
      Edit->setEnabled(On);
      Picker->setEnabled(On);
      if (On) Picker->setChecked(true);
    });
  ArrangeButtons();
}

void TBorder3DForm::ChangerCouleur(TColor Couleur) {
  if (SB1->isChecked())
    ColorEdit1->SetColor(Couleur);
  else if (SB2->isChecked())
    ColorEdit2->SetColor(Couleur);
}

void TBorder3DForm::ApplyFilter() {
  TSelMaskHost& H = Masks();
  const int W = EdiWidth->Value();
  const bool Gradient = CBGradient->isChecked();
  const int Soft = CBSoft->isChecked() ? std::min(std::max(2 * W, 3), 50) : 1;
  const int Checked = int(CBColor1->isChecked()) + int(CBColor2->isChecked());
  TPassesScope Passes(Checked * (Gradient ? 2 : 1));
  const TRect L = LaSelection(H);
  if (L.IsEmpty()) return;
  TBitmap B(L.Width() + 2 * Soft, L.Height() + 2 * Soft, pf24bit, clWhite);
  const TRect R = Grown(Whole(B), -Soft);
  const int Pos = std::clamp(RGPos->ItemIndex(), 0, 3);
  // The moves of the shape that leave the dark band (colour 2) on the far
  // side from the light, and the gradient corners; the light band takes the
  // opposite moves.
  static constexpr int MoveX[4] = {-1, -1, 1, 1}, MoveY[4] = {-1, 1, -1, 1};
  static constexpr int DarkCorner[4] = {8, 9, 7, 6}, LightCorner[4] = {6, 7, 9, 8};
  const auto Band = [&](int Sign, int Corner, TColor Color) {
    FillColor24(B, clWhite, 100, Whole(B));
    FillSelectionShape(*H.Sel(), B, R, clBlack, Smoothing());
    FillSelectionShape(*H.Sel(), B, OffsetRect(R, Sign * MoveX[Pos] * W, Sign * MoveY[Pos] * W), clWhite, Smoothing());
    if (Gradient) {
      TBitmap G(B.Width(), B.Height(), pf24bit, clWhite);
      CornerGradient24(G, clBlack, clWhite, Corner, true, Whole(G));
      CombineMaskMax(G, B, 0, 0, Whole(B));
    }
    GaussianBlurRadius(B, Soft, Whole(B));
    FillColorMask24(B, Whole(B), *LeBitmap(H), L.Left - Soft, L.Top - Soft, L, Color, EdiAlpha->Value());
  };
  if (CBColor2->isChecked()) Band(1, DarkCorner[Pos], ColorEdit2->Color());
  if (CBColor1->isChecked()) Band(-1, LightCorner[Pos], ColorEdit1->Color());
}

// ---- Layer transparency ------------------------------------------------------------------------------------------

TAlphaOpacity::TAlphaOpacity(QWidget* Parent) : TFilterNForm(Parent) {
  SetUpMaskDialog(*this, "AlphaOpacity", Title(QStringLiteral("MenuCalqueOpacite")));
  SetMainBar(0, 100, 5, 5, 100, Tr(TrId::GetTrFmtOpacity));
  CBReset = NewCheckBox(Tr(TrId::GetTrBtnReset), false, 8);
  ArrangeButtons();
}

void TAlphaOpacity::ApplyFilter() {
  TBitmap* Mask = LeMasque(Masks());
  if (!Mask) return;
  if (CBReset->isChecked())
    FillColor24(*Mask, MixColors(clWhite, clBlack, TBN->Position()), 100, WorkRect());
  else
    FillColor24(*Mask, clWhite, 100 - TBN->Position(), WorkRect());
}

TAlphaProgContour::TAlphaProgContour(QWidget* Parent) : TFilterNForm(Parent) {
  SetUpMaskDialog(*this, "AlphaProgContour", Title(QStringLiteral("MenuCalqueBordProgressif")));
  SetMainBar(1, 100, 5, 5, 10, Tr(TrId::GetTrFmtRadius));
  RGInflate = NewRadioGroup(Title(QStringLiteral("MenuSelContracter")), 8);
  RGInflate->resize(RGInflate->width(), CBRealTime->height() * 6);
  RGInflate->SetItems(
      {Tr(TrId::GetTrLblNone), Tr(TrId::GetTrLblLow), Tr(TrId::GetTrLblMedium), Tr(TrId::GetTrLblHigh)});
  SetRadioIndexSilent(RGInflate, 2);
  ArrangeButtons();
}

void TAlphaProgContour::ApplyFilter() {
  TMyImageLayered* Image = Masks().Image();
  TLayerItem* Layer = Image ? Image->CurrentLayer() : nullptr;
  if (!Layer) return;
  const int R = TBN->Position();
  AlphaProgressiveContour(*Layer, R, ContractionInset(RGInflate->ItemIndex(), R));
}

TAlphaDispContour::TAlphaDispContour(QWidget* Parent) : TFilterNForm(Parent) {
  SetUpMaskDialog(*this, "AlphaDispContour", Title(QStringLiteral("MenuCalqueBordDispersion")));
  SetMainBar(1, 100, 5, 5, 10, Tr(TrId::GetTrFmtRadius));
}

void TAlphaDispContour::ApplyFilter() {
  TMyImageLayered* Image = Masks().Image();
  if (TLayerItem* Layer = Image ? Image->CurrentLayer() : nullptr) AlphaDispersedContour(*Layer, TBN->Position());
}

TAlphaGradientForm::TAlphaGradientForm(QWidget* Parent) : TFilterNForm(Parent) {
  SetUpMaskDialog(*this, "AlphaGradientForm", Title(QStringLiteral("MenuCalqueDegrade")));
  FlagSelMask = 2;
  SetMainBar(1, 20, 1, 1, 20, Tr(TrId::GetTrFmtLevel2));
  DirEdit = NewDirectionBesideBar(*this, 6);
}

int TAlphaGradientForm::GradientDirection(int Position) {
  static constexpr int Directions[7] = {3, 9, 4, 8, 5, 7, 2};
  return Position >= 0 && Position < 7 ? Directions[Position] : 6;
}

void TAlphaGradientForm::ApplyFilter() {
  TBitmap* Mask = LeMasque(Masks());
  if (!Mask) return;
  GradientFill24(*Mask, MixColors(clBlack, clWhite, TBN->Position() * 5), 100, clBlack, 100,
                 GradientDirection(DirEdit->Direction()), WorkRect());
  CombineMaskMax(FilterHost()->BmpUndo(), *Mask, 0, 0, WorkRect());
}

TAlphaColorForm::TAlphaColorForm(QWidget* Parent) : TFilterNForm(Parent) {
  setObjectName(QStringLiteral("AlphaColorForm"));
  setWindowTitle(Title(QStringLiteral("MenuCalqueCouleurTrans")));
  SetLastFilter = false;
  SetMainBar(0, 100, 5, 5, 30, Tr(TrId::GetTrFmtTolerance));
  LblColor = NewLabel(Tr(TrId::GetTrLblColor), 0);
  LblColor->move(LblN->pos());
  ColorEdit = NewColorEdit(clWhite, 0);
  ColorEdit->move(ColorEdit->x(), TBN->y());
  LblN->move(LblN->x(), ColorEdit->y() + ColorEdit->height() + Rescale(16));
  TBN->move(TBN->x(), LblN->y() + LblN->height() + Rescale(4));
  TBAlpha = NewLabelledBar(*this, Tr(TrId::GetTrFmtOpacity), 0, 100, 5, 5, 0, 8, 4, LblAlpha);
  ArrangeButtons();
}

void TAlphaColorForm::ApplyFilter() {
  TSelMaskHost& H = Masks();
  TBitmap* Mask = LeMasque(H);
  if (!Mask || Mask->Empty()) return;
  TBitmap Matching(Mask->Width(), Mask->Height(), pf24bit, clWhite);
  MaskFromColorInverted(*LeBitmap(H), Matching, ColorEdit->Color(), TBN->Position(), false, Whole(Matching));
  FillColorMask24(Matching, Whole(Matching), *Mask, 0, 0, Whole(*Mask), GreyColor(255 - TBAlpha->Position() * 255 / 100),
                  100);
}
