#include "dialogs/ui/RotSelForm.h"

#include "dialogs/ui/DialogParts.h"
#include "document/MyGraphic.h"
#include "document/ui/MyImageLayeredView.h"
#include "document/ui/MyImage.h"

#include <QPushButton>

namespace {

// The outline's colour, drawn in XOR so that a second drawing removes it.
constexpr TColor OutlineColor = 0xFFD8CE;

} // namespace

TRotSelForm::TRotSelForm(QWidget* Parent) : TTransformSlidersForm(Parent) {
  setObjectName(QStringLiteral("RotSelForm"));
  setWindowTitle(DialogTitle("MenuCalqueTransform", QStringLiteral("Transformation")));
  connect(BOk, &QPushButton::clicked, this, [this] { BOkClick(); });
}

void TRotSelForm::TakeLayerRect() {
  TLayerItem* Layer = Host ? Host->CurrentLayer() : nullptr;
  if (!Layer) return;
  const TBitmap& B = Layer->Bitmap();
  SelRect = {Layer->Pos.X, Layer->Pos.Y, Layer->Pos.X + B.Width(), Layer->Pos.Y + B.Height()};
  Points = {TPoint{SelRect.Left, SelRect.Top}, TPoint{SelRect.Right - 1, SelRect.Top},
            TPoint{SelRect.Right - 1, SelRect.Bottom - 1}, TPoint{SelRect.Left, SelRect.Bottom - 1}};
}

void TRotSelForm::Build() {
  TLayerItem* Layer = Host ? Host->CurrentLayer() : nullptr;
  if (!Layer) return;
  const TBitmap& B = Layer->Bitmap();
  auto* T = dynamic_cast<TAffineTransformation*>(Layer->Transformation());
  if (!T) {
    auto New = std::make_unique<TAffineTransformation>();
    New->SetSrcRect({0, 0, B.Width(), B.Height()});
    T = New.get();
    Layer->SetTransformation(std::move(New));
  }
  BuildLayerTransformation(*T, B.Width(), B.Height(), SelRect, Sliders());
  T->GetVertices(Points);
}

void TRotSelForm::FirstTransform() {
  SetNeutral();
  TakeLayerRect();
  Build();
  if (Host) Host->Refresh();
}

void TRotSelForm::FormShow() {
  SetNeutral();
  TakeLayerRect();
  TMyImageLayeredView* View = Host ? Host->View() : nullptr;
  if (!View) return;
  View->OnPaint = [this](QObject*, TCanvas& Canvas) { DrawOutline(Canvas); };
  View->SelectionMode = TSelMode::smNone;
  Host->Refresh();
}

void TRotSelForm::Apply() {
  if (!Host) return;
  Host->DebutAction();
  Build();
  Host->Refresh();
  Changed = false;
  Host->FinAction();
}

void TRotSelForm::DrawOutline(TCanvas& Canvas) {
  const TMyImageLayeredView* View = Host ? Host->View() : nullptr;
  if (!View) return;
  const TRectVertices C =
      OutlineOnScreen(Points, View->Zoom(), [View](TPoint P) { return View->BmpToClient(P); });
  const TPen Saved = Canvas.Pen;
  Canvas.IntersectClipRect(View->ImgRect());
  Canvas.Pen = TPen{OutlineColor, 1, TPenStyle::psSolid, TPenMode::pmXor};
  const TPoint Line[5] = {C[0], C[1], C[2], C[3], C[0]};
  Canvas.Polyline(Line);
  Canvas.Pen = Saved;
}

void TRotSelForm::BOkClick() {
  CloseOk();
  TMyImageLayeredView* View = Host ? Host->View() : nullptr;
  if (View) View->OnPaint = nullptr;
  if (Host) Host->Accept(Points);
}

void TRotSelForm::FormHide() {
  TMyImageLayeredView* View = Host ? Host->View() : nullptr;
  if (View) View->OnPaint = nullptr;
  if (!DialogOk && Host) Host->Cancel();
}
