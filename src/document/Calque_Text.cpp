// Placing new layers in the view, and the text layer commands.
#include "document/Calque.h"

#include "document/TxtData.h"
#include "raster/RectUtils.h"

namespace {

TRect ImageRect(TLayerCommandHost& Host) {
  const TBitmap* Bkg = LeFond(Host);
  return Bkg ? TRect{0, 0, Bkg->Width(), Bkg->Height()} : TRect{};
}

} // namespace

TRect VisibleCenterRect(TLayerCommandHost& Host, const TRect& R) {
  const TRect V = Host.VisibleBmpRect();
  TRect C = Bounds(V.Left + (V.Width() - R.Width()) / 2, V.Top + (V.Height() - R.Height()) / 2, R.Width(), R.Height());
  MoveRectInside(C, ImageRect(Host), false);
  return C;
}

TRect RectAtSelection(TLayerCommandHost& Host, const TRect& R, bool KeepInside) {
  const TPoint P = Host.Sel() ? Host.Sel()->BmpSelRect().TopLeft() : TPoint{0, 0};
  TRect C = Bounds(P.X, P.Y, R.Width(), R.Height());
  if (KeepInside) MoveRectInside(C, ImageRect(Host), false);
  return C;
}

bool RectInVisibleArea(TLayerCommandHost& Host, const TRect& R) {
  const TRect V = Host.VisibleBmpRect();
  const int M = Host.BmpMarge();
  const TRect A{V.Left + M, V.Top + M, V.Right - M, V.Bottom - M};
  return R.Left < A.Right && R.Right > A.Left && R.Top < A.Bottom && R.Bottom > A.Top;
}

bool ApplyTextLayer(TLayerCommandHost& Host, const QString& Caption, const TTextData& TextData, bool New,
                    const TRect& R) {
  TMyImageLayered* Image = Host.Image();
  LayerNavigator* Nav = Host.LayerNav();
  if (!Image || !Nav || Image->Layers().Count() == 0) return false;
  if (New) {
    auto Data = std::make_unique<TTextData>();
    Data->Assign(TextData);
    Nav->AddLayerData(std::move(Data), Caption);
  }
  TLayerItem* L = Image->CurrentLayer();
  auto* Text = L && L->LayerType == ltData ? dynamic_cast<TTextData*>(L->Data()) : nullptr;
  if (!Text) return false;
  if (Text != &TextData) Text->Assign(TextData);
  Text->RenderTextLayer(*L);
  if (New) {
    const TRect Size{0, 0, L->Bitmap().Width(), L->Bitmap().Height()};
    L->Pos = (R == ImageRect(Host) ? VisibleCenterRect(Host, Size) : RectAtSelection(Host, Size, true)).TopLeft();
    Image->Invalidate();
  } else {
    Host.RefreshBitmap();
    Host.LayerChanged();
  }
  return true;
}

bool TextDataToSelection(TLayerCommandHost& Host, const TTextData& TextData, bool Centered) {
  TSelectionState* Sel = Host.Sel();
  TLayerItem* L = Host.Image() ? Host.Image()->CurrentLayer() : nullptr;
  if (!Sel || !L) return false;
  const std::unique_ptr<TBitmap> T = TextData.RenderTextMask();
  if (!T) return false;
  const TRect B = Sel->ShapeManager().MaskToPoints(T.get(), 128);
  if (B.IsEmpty()) return false;
  Sel->SetShape(ssBitmap);
  Sel->SetInvert(false);
  const TRect Size{0, 0, B.Width(), B.Height()};
  Sel->SetBmpSelRect(Centered ? VisibleCenterRect(Host, Size) : Bounds(L->Pos.X, L->Pos.Y, B.Width(), B.Height()));
  Host.AfficherSelection();
  return true;
}
