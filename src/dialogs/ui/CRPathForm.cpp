#include "dialogs/ui/CRPathForm.h"

#include "dialogs/ui/DialogParts.h"
#include "dialogs/ui/SizeFields.h"
#include "document/MyImageLayered.h"
#include "document/SelMask.h"
#include "document/Undo.h"
#include "filters/ui/FilterHost.h"
#include "raster/Bitmap24.h"
#include "raster/Pixels.h"
#include "tools/LineBrush24.h"
#include "tools/PathControl.h"
#include "ui/ColorEdit.h"
#include "ui/CompUtils.h"
#include "ui/SpinEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

namespace {

// The line style of the 3D tube, which a mask cannot show: it gets a solid
// line of the same width.
constexpr int TubeStyle = 5;

} // namespace

TCRPathForm::TCRPathForm(QWidget* Parent) : TStrokeFillForm(Parent) {
  setObjectName(QStringLiteral("CRPathForm"));
  setWindowTitle(DialogTitle("PopPathContourRemplir", QStringLiteral("Contour et remplissage")));
  LblStyle2 = new QLabel(TrLabel(TrId::GetTrLblStyle, QStringLiteral("Style :")), this);
  CmbPen = new QComboBox(this);
  CmbPen->setObjectName(QStringLiteral("CmbPen"));
  InitPenStyleCombo(CmbPen, false);
  StrokeRows->addWidget(LblStyle2, 3, 0);
  StrokeRows->addWidget(CmbPen, 3, 1);
  connect(CmbPen, &QComboBox::currentIndexChanged, this, [this] { OptionChanged(); });
}

TCRPathForm::~TCRPathForm() = default;

void TCRPathForm::FormShow() {
  TStrokeFillForm::FormShow();
  TFilterHost* H = Host();
  const TMyImageLayered* Image = H ? H->SelMasks().Image() : nullptr;
  if (!Path || !Image) return;
  PathSel = Image->BmpToLayer(Path->BmpBounds(2));
  CBRempl->setEnabled(Path->PointsCount() > 2);
  ResetUndoRgn();
}

bool TCRPathForm::FillWanted() const { return CBRempl->isEnabled() && CBRempl->isChecked(); }

void TCRPathForm::EnableStroke(bool Contour) {
  LblStyle2->setEnabled(Contour);
  CmbPen->setEnabled(Contour);
}

void TCRPathForm::ResetUndoRgn() {
  TFilterHost* H = Host();
  TUndoList* List = H ? H->SelMasks().ListeUndo() : nullptr;
  auto* Record = List ? dynamic_cast<TUndoBmpItem*>(List->CurrentUndo()) : nullptr;
  if (!Record) return;
  TRect R = PathSel;
  if (CBContour->isChecked()) R = InflateRect(R, (SELargeur->Value() + 1) / 2);
  R = InflateRect(R, 1);
  const TBitmap* MaskUndo = H->SelMasks().MaskUndo();
  Record->ResetData(H->SelMasks().BmpUndo(), MaskUndo && !MaskUndo->Empty() ? MaskUndo : nullptr, R);
}

void TCRPathForm::DrawFill() {
  TFilterHost& H = *Host();
  TBitmap& Layer = H.LeBitmap();
  const bool OnMask = H.DessinerSurAlpha() && !H.LeMasque().Empty();
  const bool Smooth = H.SelMasks().Mode16M();
  if (!Motif->Wanted() && ComboBrushStyle(CmbBrush, -1) == TBrushStyle::bsSolid) {
    Path->DrawInBitmap(Layer, PathSel.Left, PathSel.Top, clNone, 0, ColorEdit2->Color(), Smooth, 100, WholeBitmapRect);
    if (OnMask)
      Path->DrawInBitmap(H.LeMasque(), PathSel.Left, PathSel.Top, clNone, 0, clBlack, Smooth, 100, WholeBitmapRect);
    return;
  }
  // A hatch or a pattern fills the path's bounds; the earlier pixels come
  // back wherever the path's own shape is exactly black.
  FillRectangle(PathSel);
  TBitmap Shape;
  NewBitmap24(Shape, Layer.Width(), Layer.Height(), clBlack);
  Path->DrawInBitmap(Shape, PathSel.Left, PathSel.Top, clNone, 0, clWhite, Smooth, 100, WholeBitmapRect);
  TUndoList* List = H.SelMasks().ListeUndo();
  if (auto* Record = List ? dynamic_cast<TUndoBmpItem*>(List->CurrentUndo()) : nullptr) Record->AlphaBlend(&Shape, true);
}

void TCRPathForm::DrawStroke() {
  TFilterHost& H = *Host();
  const int Width = SELargeur->Value();
  const int Style = ComboPenStyle(CmbPen, -1);
  ResetLineStyle();
  Path->DrawPath(H.LeBitmap(), PathSel.Left, PathSel.Top, ColorEdit1->Color(), Width, Style, WholeBitmapRect);
  if (H.DessinerSurAlpha() && !H.LeMasque().Empty()) {
    ResetLineStyle();
    Path->DrawPath(H.LeMasque(), PathSel.Left, PathSel.Top, clBlack, Width, Style == TubeStyle ? 0 : Style,
                   WholeBitmapRect);
  }
}

void TCRPathForm::Accepted() {
  if (TFilterHost* H = Host()) H->LayerChanged();
}
