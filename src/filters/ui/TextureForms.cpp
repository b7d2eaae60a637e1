#include "filters/ui/TextureForms.h"

#include "document/Undo.h"
#include "filters/Blur24.h"
#include "filters/CompositeSteps.h"
#include "filters/Filtres24.h"
#include "filters/MatrixConst.h"
#include "filters/Patterns24.h"
#include "filters/ui/EffectHost.h"
#include "filters/ui/EffectLayout.h"
#include "i18n/LibLang.h"
#include "raster/Bitmap24.h"
#include "raster/ColorFill.h"
#include "raster/FilterEvent.h"
#include "raster/GreyMasks.h"
#include "ui/ColorEdit.h"
#include "ui/MsgDlg.h"
#include "ui/SpinEdit.h"
#include "ui/TrackBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

#include <algorithm>

bool WorkRectAtLeast(const TRect& Rect, int MinSize) {
  if (Rect.Width() >= MinSize && Rect.Height() >= MinSize) return true;
  ShowMsgDlg(Tr(TrId::GetTrDldGlb2), mdkWarning, TMsgDlgButtons{mdbOk});
  return false;
}

namespace {

const TBitmap& Unfiltered() { return FilterHost()->BmpUndo(); }

void Outline(TColor Color, int Width) {
  if (TEffectHost* H = EffectHost()) H->DessinerContour(Color, Width, SelectionSmoothing());
}

void KeepWholeResult() {
  if (TFilterHost* H = FilterHost()) H->AppliquerMasqueSel(0);
}

} // namespace

// ---- Tiles -------------------------------------------------------------------------------------------------------

TTilesForm::TTilesForm(QWidget* Parent) : TFilterNForm(Parent) {
  setObjectName(QStringLiteral("TilesForm"));
  setWindowTitle(Title(QStringLiteral("MenuFiltreCarreaux")));
  SetMainBar(10, 200, 10, 10, 50, Tr(TrId::GetTrFmtPiecesSize));
  LblColor = NewLabel(Tr(TrId::GetTrLblColor), 12);
  ColorEdit = NewColorEdit(clBlack, 2);
  ArrangeButtons();
}

void TTilesForm::ApplyFilter() {
  const int S = TBN->Position();
  ApplySelMask = false;
  Tiles24(Unfiltered(), Bitmap(), S, S / 12 + 3, ColorEdit->Color(), true, WorkRect());
  KeepWholeResult();
  Outline(ColorEdit->Color(), 1);
}

// ---- Mosaic ------------------------------------------------------------------------------------------------------

TMosaicForm::TMosaicForm(QWidget* Parent) : TFilterNForm(Parent) {
  setObjectName(QStringLiteral("MosaicForm"));
  setWindowTitle(Title(QStringLiteral("MenuFiltreMosaique")));
  SetMainBar(2, 50, 2, 2, 10, Tr(TrId::GetTrFmtCellSize));
  CBContour = NewCheckBox(Tr(TrId::GetTrLblContour), true, 12);
  ColorEdit = NewColorEdit(clBlack, 4);
  connect(CBContour, &QCheckBox::toggled, this, [this] { UpdateControls(); });
  ArrangeButtons();
}

void TMosaicForm::UpdateControls() { ColorEdit->setEnabled(CBContour->isChecked()); }

bool TMosaicForm::CanApply() { return WorkRectAtLeast(WorkRect(), 2 * TBN->Position()); }

void TMosaicForm::ApplyFilter() {
  const int S = TBN->Position();
  Mosaic24(Bitmap(), S, WorkRect());
  if (!CBContour->isChecked()) return;
  ApplySelMask = false;
  Grid24(Bitmap(), S, ColorEdit->Color(), 1, false, true, true, false, WorkRect());
  KeepWholeResult();
  Outline(ColorEdit->Color(), 1);
}

// ---- Puzzle ------------------------------------------------------------------------------------------------------

TPuzzleForm::TPuzzleForm(QWidget* Parent) : TFilterNForm(Parent) {
  setObjectName(QStringLiteral("PuzzleForm"));
  setWindowTitle(Title(QStringLiteral("MenuFiltrePuzzle")));
  SetMainBar(10, 300, 10, 10, 100, Tr(TrId::GetTrFmtPiecesSize));
  LblAlpha = NewLabel(Tr(TrId::GetTrLblOpacity), 12);
  EdiAlpha = NewSpinEdit(10, 100, 70, 2);
  SETrait = NewSpinEdit(1, 7, 2, 0);
  LblWidth = NewLabel(Tr(TrId::ThicknessLabel), 0);
  PlaceBeside(*this, LblWidth, SETrait, EdiAlpha);
  ColorEdit = NewColorEdit(clBlack, 0);
  LblColor = NewLabel(Tr(TrId::GetTrLblColor), 0);
  PlaceBeside(*this, LblColor, ColorEdit, SETrait);
  CBRelief = NewCheckBox(Title(QStringLiteral("MenuFiltreRelief2")), true, 12);
  connect(CBRelief, &QCheckBox::toggled, this, [this] { ReliefClick(); });
  ReliefClick();
  ArrangeButtons();
}

void TPuzzleForm::ReliefClick() {
  UpdateControls();
  ParamChanged(true);
}

void TPuzzleForm::UpdateControls() {
  ColorEdit->setEnabled(!CBRelief->isChecked());
  LblColor->setEnabled(!CBRelief->isChecked());
}

bool TPuzzleForm::CanApply() { return WorkRectAtLeast(WorkRect(), 2 * TBN->Position()); }

void DrawPuzzleRelief(TBitmap& Work, int Size, int T, int M, int C) {
  const TRect All{0, 0, Work.Width(), Work.Height()};
  FillColor24(Work, clBlack, 100, All);
  const TRect R{M, M, All.Right - M, All.Bottom - M};
  FillColor24(Work, TColor(0x808080), 100, R);
  const auto Moved = [&R](int D) { return TRect{R.Left + D, R.Top + D, R.Right + D, R.Bottom + D}; };
  TSelectionState* Sel = EffectHost() ? FilterHost()->SelMasks().Sel() : nullptr;
  const bool Smooth = SelectionSmoothing();
  const auto Edges = [&](const TRect& Where, TColor Color, int Width, bool WithOutline) {
    Puzzle24(Work, Size, Color, Width, Where);
    if (WithOutline && Sel) OutlineSelectionShape(*Sel, Work, Where, Color, Width, Smooth);
  };
  Edges(Moved(T / 2 + 1), clWhite, T, true);
  Edges(Moved((-T - 1) / 2), TColor(0x373737), T, false);
  if (Sel) OutlineSelectionShape(*Sel, Work, Moved((-T - 1) / 2), clBlack, T, Smooth);
  Edges(R, clBlack, std::max(T / 2, 1), false);
  GaussianBlurRadius(Work, C, All);
}

void TPuzzleForm::DrawPuzzleLines(TBitmap& Dest, int Width, TColor Color, const TRect& Rect, int Opacity) const {
  if (Width == 0 || Rect.IsEmpty()) return;
  TBitmap Work(Rect.Width(), Rect.Height(), pf24bit, clWhite);
  const TRect All{0, 0, Work.Width(), Work.Height()};
  Puzzle24(Work, TBN->Position(), clBlack, Width, All);
  FeatherMask(Work, All, 777);
  FillColorMask24(Work, All, Dest, Rect.Left, Rect.Top, Rect, Color, Opacity);
}

void TPuzzleForm::ApplyFilter() {
  TFilterHost& H = *FilterHost();
  ApplySelMask = false;
  TEffectHost* E = EffectHost();
  TSelectionState* Sel = E ? FilterHost()->SelMasks().Sel() : nullptr;
  if (Sel && !Sel->Visible()) Sel->SetShape(ssRect);
  const TRect R = WorkRect();
  const int T = SETrait->Value();
  if (CBRelief->isChecked()) {
    const TPassesScope Passes(4);
    const int C = T / 2 + 1;
    const int M = T / 2 + C;
    TBitmap Work(R.Width() + 2 * M, R.Height() + 2 * M, pf24bit, clWhite);
    DrawPuzzleRelief(Work, TBN->Position(), T, M, C);
    ApplyTextureRelief24(Work, Bitmap(), -M, -M, R, 100);
    H.AppliquerMasqueSel(0);
    Outline(clBlack, 1);
  } else {
    DrawPuzzleLines(Bitmap(), T, ColorEdit->Color(), R, 100);
    H.AppliquerMasqueSel(0);
    Outline(ColorEdit->Color(), T);
  }
  const int Alpha = EdiAlpha->Value();
  const TUndoBmpItem* Record = CurrentUndoBmp();
  if (Alpha < 100 && Record) {
    const TRect& Rgn = Record->Region();
    CopyRect24Opacity(H.BmpUndo(), Rgn, Bitmap(), Rgn.Left, Rgn.Top, Rgn, 100 - Alpha);
  }
}

// ---- Grid --------------------------------------------------------------------------------------------------------

TGridForm::TGridForm(QWidget* Parent) : TFilterNForm(Parent) {
  setObjectName(QStringLiteral("GridForm"));
  setWindowTitle(Title(QStringLiteral("MenuFiltreQuadrillage")));
  SetMainBar(2, 300, 10, 10, 50, Tr(TrId::GetTrFmtCellSize));
  LastFilterInfo = FilterPaintUndoKind;
  LblColor = NewLabel(Tr(TrId::GetTrLblColor), 12);
  ColorEdit = NewColorEdit(clBlack, 2);
  SETrait = NewSpinEdit(1, 9, 1, 0);
  LblWidth = NewLabel(Tr(TrId::ThicknessLabel), 0);
  PlaceBeside(*this, LblWidth, SETrait, ColorEdit);
  CBContour = NewCheckBox(Tr(TrId::GetTrLblContour), true, 12);
  CBVert = NewCheckBox(Tr(TrId::GetTrLblVertLines), true, 2);
  CBHorz = NewCheckBox(Tr(TrId::GetTrLblHorzLines), true, 2);
  CBAjuster = NewCheckBox(Tr(TrId::GetTrLblAdjust), false, 2);
  CBRelief = NewCheckBox(Title(QStringLiteral("MenuFiltreRelief2")), false, 2);
  ArrangeButtons();
}

bool TGridForm::CanApply() { return WorkRectAtLeast(WorkRect(), 2 * TBN->Position()); }

void TGridForm::ApplyFilter() {
  const int S = TBN->Position();
  const int T = SETrait->Value();
  const auto Draw = [&](TBitmap& Target, TColor Color) {
    Grid24(Target, S, Color, T, false, CBVert->isChecked(), CBHorz->isChecked(), CBAjuster->isChecked(), WorkRect());
  };
  ApplySelMask = false;
  Draw(Bitmap(), ColorEdit->Color());
  TEffectHost* E = EffectHost();
  if (E && FilterHost()->DessinerSurAlpha()) Draw(FilterHost()->LeMasque(), clBlack);
  if (CBRelief->isChecked()) ConvolveMatrix3x3(Bitmap(), MatReliefMild, 100, WorkRect());
  KeepWholeResult();
  if (CBContour->isChecked()) Outline(ColorEdit->Color(), T);
}

// ---- Cross points ------------------------------------------------------------------------------------------------

TCrossPointForm::TCrossPointForm(QWidget* Parent) : TFilterNForm(Parent) {
  setObjectName(QStringLiteral("CrossPointForm"));
  setWindowTitle(Title(QStringLiteral("MenuFiltreCroix")));
  SetMainBar(4, 20, 1, 1, 11, Tr(TrId::GetTrFmtPointLength));
  LblColor = NewLabel(Tr(TrId::GetTrLblBkg) + QStringLiteral(" :"), 12);
  ColorEdit = NewColorEdit(clWhite, 2);
  ColorEdit->resize(Rescale(74), ColorEdit->height());
  CmbStyle = NewComboBox(false, 0);
  CmbStyle->addItems({Tr(TrId::GetTrLblCrossPoint1), Tr(TrId::GetTrLblCrossPoint2), Tr(TrId::GetTrLblCrossPoint3),
                      Tr(TrId::GetTrLblCrossPoint4)});
  CmbStyle->setCurrentIndex(0);
  LblStyle = NewLabel(Tr(TrId::GetTrLblStyle), 0);
  PlaceBeside(*this, LblStyle, CmbStyle, ColorEdit);
  connect(CmbStyle, &QComboBox::currentIndexChanged, this, [this] { UpdateControls(); });
  SETrait = NewSpinEdit(1, 5, 2, 0);
  LblWidth = NewLabel(Tr(TrId::ThicknessLabel), 0);
  PlaceBeside(*this, LblWidth, SETrait, CmbStyle);
  CBGrid = NewCheckBox(Title(QStringLiteral("MenuTextureGrille")), true, 12);
  ArrangeButtons();
}

void TCrossPointForm::UpdateControls() {
  const bool Lines = CmbStyle->currentIndex() != 3;
  SETrait->setVisible(Lines);
  LblWidth->setVisible(Lines);
}

bool TCrossPointForm::CanApply() { return WorkRectAtLeast(WorkRect(), 2 * TBN->Position()); }

void TCrossPointForm::ApplyFilter() {
  const int L = TBN->Position();
  const TColor Back = ColorEdit->Color();
  switch (CmbStyle->currentIndex()) {
  case 3:
    Triangles24(Unfiltered(), Bitmap(), Back, L, false, true, WorkRect());
    break;
  default: {
    const int Style = CmbStyle->currentIndex();
    CrossHatch24(Unfiltered(), Bitmap(), Back, L, SETrait->Value(), Style != 1, Style != 2, WorkRect());
  }
  }
  if (!CBGrid->isChecked()) return;
  ApplySelMask = false;
  Grid24(Bitmap(), L, clBlack, 1, false, true, true, false, WorkRect());
  KeepWholeResult();
  Outline(clBlack, 1);
}
