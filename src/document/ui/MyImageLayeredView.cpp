#include "document/ui/MyImageLayeredView.h"

#include "document/LayerUtils.h"
#include "platform/CapsLock.h"
#include "platform/Win1252.h"
#include "raster/Bitmap24.h"
#include "raster/RectUtils.h"
#include "raster/TransformFunc.h"
#include "raster/ui/FoncUtils.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace {

// The comment tags: FreeImage's comments model, ASCII format.
constexpr int CommentModel = 0;
constexpr int AsciiFormat = 2;

int FirstCommentTag(const TMetadata& M) {
  for (int I = 0; I < M.Length(); ++I)
    if (M[I].Model == CommentModel) return I;
  return -1;
}

} // namespace

TMyImageLayeredView::TMyImageLayeredView(QWidget* Parent)
    : TMyImage(Parent), FImage(std::make_unique<TMyImageLayered>()) {
  FTransparentBrushSize = 8;
  FImage->SetView(this);
}

TMyImageLayeredView::~TMyImageLayeredView() { FImage->SetView(nullptr); }

void TMyImageLayeredView::Invalidate() {
  BitmapChanged();
  InvalidateView();
}

QString TMyImageLayeredView::Comment() const {
  if (!UseMetaComment) return FImage->Comment;
  const int I = FirstCommentTag(FImage->Metadata);
  if (I < 0) return {};
  const TFreeTagData& D = FImage->Metadata[I].Data;
  size_t N = D.size();
  if (N > 0 && D[N - 1] == 0) --N;
  return FromWin1252(std::string_view(reinterpret_cast<const char*>(D.data()), N));
}

void TMyImageLayeredView::SetComment(const QString& Value) {
  if (!UseMetaComment) {
    FImage->Comment = Value;
    return;
  }
  TMetadata& M = FImage->Metadata;
  int I = FirstCommentTag(M);
  if (I < 0) {
    TFreeTag Tag;
    Tag.Model = CommentModel;
    Tag.Key = "Comment";
    Tag.Format = AsciiFormat;
    I = M.Append(std::move(Tag));
  }
  const std::string Text = ToWin1252(Value);
  TFreeTag& Tag = M[I];
  Tag.Data.assign(Text.begin(), Text.end());
  Tag.Data.push_back(0);
  Tag.Count = uint32_t(Tag.Data.size());
}

void TMyImageLayeredView::SetDrawLayerActiveBounds(bool Value) {
  if (Value == FImage->DrawLayerActiveBounds) return;
  FImage->DrawLayerActiveBounds = Value;
  Invalidate();
}

void TMyImageLayeredView::SetOverlayFx(TOverlayFx Value) {
  if (Value == FOverlayFx) return;
  FOverlayFx = Value;
  Invalidate();
}

// ---- Coordinates ------------------------------------------------------------------------------

bool TMyImageLayeredView::PtInLayer(TPoint P) const {
  const TLayerItem* L = FImage->CurrentLayer();
  if (!L) return false;
  if (FImage->LayerIndex() == 0) return PtInImage(P);
  return PtInRect(BitmapRect(L->Bitmap()), ClientToLayer(P));
}

// ---- Display -------------------------------------------------------------------------------------

void TMyImageLayeredView::ResizePaintBuffer() {
  const TRect V = ImgVisibleRect();
  if (FPaintBuffer.Width() != V.Width() || FPaintBuffer.Height() != V.Height())
    NewBitmap24(FPaintBuffer, V.Width(), V.Height(), clWhite);
}

void TMyImageLayeredView::DrawImage(bool Full) {
  if (FImage->Layers().Count() == 0) {
    TMyCustomImage::DrawImage(Full);
    return;
  }
  TCanvas& C = BackCanvas();
  const TRect R = C.ClipRect();
  if (R.IsEmpty()) return;
  if (Full) DrawFrame(C);
  ResizePaintBuffer();
  PaintLayers(R);
  // The buffer covers the visible image only; the margins are the frame's.
  const TRect V = IntersectRect(R, ImgVisibleRect());
  if (V.IsEmpty()) return;
  CopyRect24(FPaintBuffer, ClientRectToBuffer(V), *C.Bitmap(), V.Left, V.Top, V);
}

void TMyImageLayeredView::PaintLayers(TRect R) {
  R = IntersectRect(R, ImgVisibleRect());
  if (R.IsEmpty()) return;
  const bool Smooth = OptimizeMode() == omAllways || (OptimizeMode() == omReduction && Zoom() < 1.0);
  const TRect B = ClientRectToBuffer(R);
  TCanvas& PC = FPaintBuffer.Canvas();
  PC.SetClipRect(B);
  if (DisableLayersPainting)
    DrawCompositeZoomed(B);
  else if (FImage->NeedBkgTransparency() || !Smooth)
    DrawLayersZoomed(B);
  else
    DrawMergedZoomed(B);
  if (FImage->DrawLayerActiveBounds) DrawActiveLayerBounds();
  if (FOverlayFx != ofxNone) DrawOverlayFx(B);
  if (ShowGrid) {
    const TPoint O = PaintOffset();
    DrawGrid(PC, -O.X, -O.Y);
  }
  PC.ResetClip();
}

void TMyImageLayeredView::DrawCompositeZoomed(const TRect& R) {
  const TRect Dest = ClientRectToBuffer(ImgRect());
  if (FImgZ.Optimized)
    PutBitmapStretchSmooth(FImage->Bitmap(), FPaintBuffer, Dest, R);
  else
    PutBitmapStretch(FImage->Bitmap(), FPaintBuffer, Dest, R);
}

void TMyImageLayeredView::DrawLayersZoomed(TRect R) {
  R = IntersectRect(R, ClientRectToBuffer(ImgVisibleRect()));
  if (R.IsEmpty()) return;
  if (FImage->NeedBkgTransparency()) DrawTransparencyChecker(R, 100);
  for (int I = 0; I < FImage->Layers().Count(); ++I) DrawLayerZoomed(I, R);
}

void TMyImageLayeredView::DrawMergedZoomed(const TRect& R) {
  const TRect Ri = CheckErrorConversion(BufferRectToBmp(R));
  FImage->MergeVisibleLayers(FImage->Bitmap(), 0, 0, Ri, false);
  DrawCompositeZoomed(R);
}

void TMyImageLayeredView::DrawLayerZoomed(int Index, const TRect& R) {
  TLayerItem& Item = FImage->Layers()[Index];
  if (!Item.Visible || Item.UsedOpacity() == 0) return;
  const int Opacity = Item.UsedOpacity();
  switch (Item.LayerType) {
  case ltData:
    if (!Item.Data()) return;
    Item.Data()->PrepareBitmaps(Item);
    [[fallthrough]];
  case ltBitmap: {
    const TRect L = Item.BoundsRect();
    const TRect LB = BmpRectToBuffer(L);
    TTransformation* T = Item.Transformation();
    const bool Moving = FImage->MoveState == 2 && FImage->CurrentLayer() == &Item;
    if (Item.ShadowInfos.DrawShadow && !T && !Moving) {
      const TRect S = ShadowRect(L, Item.ShadowInfos);
      DrawLayerShadow(Item.Mask(), FPaintBuffer, L, LB, S, BmpRectToBuffer(S), BufferRectToBmp(R), R, Opacity,
                      Item.ShadowInfos);
    }
    if (T)
      PutBitmapTransformedBlend(Item.Bitmap(), FPaintBuffer, LB, R, *T, Opacity, &Item.Mask(), Item.UsedBlendMode());
    else
      PutBitmapStretchBlend(Item.Bitmap(), FPaintBuffer, LB, R, Opacity, &Item.Mask(), Item.UsedBlendMode());
    break;
  }
  case ltAdjust:
    ApplyAdjustInfos(FPaintBuffer, Item.AdjustInfos, Opacity, R);
    break;
  case ltColor:
    FillColorBlend(FPaintBuffer, Item.Color, Opacity, Item.Color2 != 0, R, Item.UsedBlendMode());
    break;
  default:
    break;
  }
}

void TMyImageLayeredView::DrawTransparencyChecker(const TRect& R, int Opacity) {
  const TPoint O = PaintOffset();
  TileBitmapOpacity(CheckerTile(FTransparentBrushSize), FPaintBuffer, FImgZ.X() - O.X, FImgZ.Y() - O.Y, R, Opacity);
}

void TMyImageLayeredView::DrawActiveLayerBounds() {
  if (FImage->LayerIndex() <= 0) return;
  TCanvas& PC = FPaintBuffer.Canvas();
  PC.Brush.Style = TBrushStyle::bsClear;
  PC.Pen = TPen{0xFFD8CE, 1, TPenStyle::psDot, TPenMode::pmXor};
  PC.Rectangle(BmpRectToBuffer(FImage->CurrentLayer()->BoundsRect()));
  PC.Pen.Mode = TPenMode::pmCopy;
}

void TMyImageLayeredView::DrawOverlayFx(const TRect& R) {
  switch (FOverlayFx) {
  case ofxGray:
    GrayscaleRect(FPaintBuffer, R);
    break;
  case ofxTransparent:
    DrawTransparencyChecker(R, 47);
    break;
  case ofxWhite:
    FillColorOpacity(FPaintBuffer, clWhite, 60, false, R);
    break;
  case ofxBlack:
    FillColorOpacity(FPaintBuffer, clBlack, 60, false, R);
    break;
  default:
    break;
  }
}

// ---- Moving layers ----------------------------------------------------------------------------------

TLayerItem* TMyImageLayeredView::LayerAtPos(int X, int Y) const {
  if (!PtInImage({X, Y})) return nullptr;
  const TPoint P = ClientToBmp(TPoint{X, Y});
  const TLayerList& List = FImage->Layers();
  for (int I = List.Count() - 1; I >= 0; --I) {
    TLayerItem& L = List[I];
    if (!L.Visible || (L.LayerType != ltBitmap && L.LayerType != ltData)) continue;
    const TPoint Q{P.X - L.Pos.X, P.Y - L.Pos.Y};
    if (!PtInRect(BitmapRect(L.Bitmap()), Q)) continue;
    if (CheckLayerTranspOnSelect && IsMaskPixelTransparent(L.Mask(), Q.X, Q.Y)) continue;
    return &L;
  }
  return nullptr;
}

void TMyImageLayeredView::AutoSelectLayerAt(int X, int Y) {
  TLayerItem* L = LayerAtPos(X, Y);
  if (!L) return;
  FImage->SetLayerIndex(FImage->Layers().IndexOf(L));
  if (OnAutoSelectLayer) OnAutoSelectLayer(this, L);
}

bool TMyImageLayeredView::CanMoveLayerAt(int X, int Y, bool CheckPoint) const {
  const TLayerItem* L = FImage->CurrentLayer();
  if (SelectionMode != TSelMode::smMoveLayer || FImage->LayerIndex() <= 0 || !L) return false;
  if (!L->Visible || L->Locked || (L->LayerType != ltBitmap && L->LayerType != ltData)) return false;
  if (!CheckPoint) return true;
  const TPoint P = ClientToLayer(TPoint{X, Y});
  if (!PtInRect(BitmapRect(L->Bitmap()), P)) return false;
  return !(AutoSelectLayer && CheckLayerTranspOnSelect && IsMaskPixelTransparent(L->Mask(), P.X, P.Y));
}

void TMyImageLayeredView::UpdateCursor(int X, int Y) {
  if (CanMoveLayerAt(X, Y, AutoSelectLayer))
    viewport()->setCursor(ScreenCursor(MoveLayerCursor));
  else
    TMyImage::UpdateCursor(X, Y);
}

void TMyImageLayeredView::MoveLayerTo(int X, int Y, bool Notify) {
  TLayerItem* L = FImage->CurrentLayer();
  if (!L) return;
  const TRect Before = L->BoundsRect();
  L->Pos = {X, Y};
  const TRect After = L->BoundsRect();
  FImage->RepaintLayerRect(FImage->BmpToLayer(UnionRect(Before, After)));
  if (Notify) DoMovingLayer(FImage->MoveState == 2 ? soChanging : soChanged);
}

void TMyImageLayeredView::DoMovingLayer(TSelOption Option) {
  if (OnMovingLayer) OnMovingLayer(this, Option);
  const TLayerItem* L = FImage->CurrentLayer();
  if (Option == soEnd && FImage->MoveState == 2 && L && L->ShadowInfos.DrawShadow) {
    FImage->MoveState = 0;
    MoveLayerTo(L->Pos.X, L->Pos.Y, false);
  }
}

void TMyImageLayeredView::TrackLayerMove(TPoint Mouse, bool Shift) {
  FShiftDown = Shift;
  TPoint P = ClientToBmp(Mouse);
  if (Shift) P = ConstrainToAxis(P, FPtOrigin);
  const TPoint N = DraggedLayerPos(FLayerOrigin, FPtOrigin, P, GridAlign, CalcGridWidth());
  MoveLayerTo(N.X, N.Y, true);
}

void TMyImageLayeredView::MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y, bool Double) {
  const TPoint P{X, Y};
  FLastMouse = P;
  if (FImage->MoveState == 2) DoMovingLayer(soEnd);
  if (AutoSelectLayer && SelectionMode == TSelMode::smMoveLayer) AutoSelectLayerAt(P.X, P.Y);
  if (Button == Qt::LeftButton && !Double && CanMoveLayerAt(P.X, P.Y, AutoSelectLayer)) {
    FImage->MoveState = 1;
    FPtOrigin = ClientToBmp(P);
    FLayerOrigin = FImage->CurrentLayer()->Pos;
  } else {
    FImage->MoveState = 0;
  }
  TMyImage::MouseDown(Button, Shift, X, Y, Double);
}

void TMyImageLayeredView::MouseMove(Qt::MouseButtons Buttons, Qt::KeyboardModifiers Shift, int X, int Y) {
  const TPoint P{X, Y};
  FLastMouse = P;
  if (FImage->MoveState == 1 && !(ClientToBmp(P) == FPtOrigin)) {
    FImage->MoveState = 2;
    DoMovingLayer(soStart);
  }
  if (FImage->MoveState == 2) TrackLayerMove(P, Shift.testFlag(Qt::ShiftModifier));
  TMyImage::MouseMove(Buttons, Shift, X, Y);
}

void TMyImageLayeredView::MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y) {
  if (FImage->MoveState == 2) {
    const TLayerItem* L = FImage->CurrentLayer();
    if (L && !(L->Pos == FLayerOrigin)) DoMovingLayer(soChanged);
    DoMovingLayer(soEnd);
  }
  FImage->MoveState = 0;
  TMyImage::MouseUp(Button, Shift, X, Y);
}

void TMyImageLayeredView::ShiftChanged(bool Shift) {
  if (Shift == FShiftDown) return;
  FShiftDown = Shift;
  if (FImage->MoveState == 2) TrackLayerMove(FLastMouse, Shift);
}

bool TMyImageLayeredView::KeyDown(int Key, Qt::KeyboardModifiers Modifiers) {
  if (!CanMoveLayerAt(0, 0, false)) return TMyImage::KeyDown(Key, Modifiers);
  const bool Shift = Modifiers.testFlag(Qt::ShiftModifier);
  ShiftChanged(Shift);
  const TLayerItem* L = FImage->CurrentLayer();
  if (Key == Qt::Key_Escape && FImage->MoveState == 2) {
    MoveLayerTo(FLayerOrigin.X, FLayerOrigin.Y, true);
    DoMovingLayer(soEnd);
    FImage->MoveState = 0;
    return true;
  }
  const int S = NudgeStep(Shift || CapsLockActive());
  TPoint D{0, 0};
  switch (Key) {
  case Qt::Key_Left:
    D.X = -S;
    break;
  case Qt::Key_Right:
    D.X = S;
    break;
  case Qt::Key_Up:
    D.Y = -S;
    break;
  case Qt::Key_Down:
    D.Y = S;
    break;
  default:
    return TMyImage::KeyDown(Key, Modifiers);
  }
  MoveLayerTo(L->Pos.X + D.X, L->Pos.Y + D.Y, true);
  RefreshCursor();
  return true;
}

bool TMyImageLayeredView::KeyUp(int Key, Qt::KeyboardModifiers Modifiers) {
  if (CanMoveLayerAt(0, 0, false)) ShiftChanged(Modifiers.testFlag(Qt::ShiftModifier));
  return TMyImage::KeyUp(Key, Modifiers);
}
