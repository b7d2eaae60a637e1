#include "document/MyImageLayered.h"

#include "document/LayerUtils.h"
#include "raster/Bitmap24.h"
#include "raster/RectUtils.h"
#include "raster/TransformFunc.h"

TMyImageLayered::TMyImageLayered() : FLayerList(std::make_unique<TLayerList>(this)) {}

TMyImageLayered::~TMyImageLayered() {
  // The view may already be going; the list goes while this object is whole.
  FView = nullptr;
  FLayerList.reset();
}

void TMyImageLayered::Invalidate() {
  if (FView) FView->Invalidate();
}

// ---- Background hook -----------------------------------------------------------------

void TMyImageLayered::HookBackgroundChange() {
  UnhookBackground();
  if (!FLayerList || FLayerList->Count() == 0) return;
  FHooked = FLayerList->GetItem(0);
  FHooked->Bitmap().OnChange = [this] { SyncCompositeSize(); };
  SyncCompositeSize();
}

void TMyImageLayered::UnhookBackground() {
  if (FHooked) FHooked->Bitmap().OnChange = nullptr;
  FHooked = nullptr;
}

void TMyImageLayered::SyncCompositeSize() {
  if (!FLayerList || FLayerList->Count() == 0) return;
  const TBitmap& B = FLayerList->GetItem(0)->Bitmap();
  if (FBitmap.Width() != B.Width() || FBitmap.Height() != B.Height())
    NewBitmap24(FBitmap, B.Width(), B.Height(), clWhite);
}

// ---- Layers and coordinates ----------------------------------------------------------

void TMyImageLayered::SetLayerIndex(int Value) {
  if (Value < 0 || Value >= FLayerList->Count()) return;
  FLayerIndex = Value;
  if (FView) FView->RefreshCursor();
  if (DrawLayerActiveBounds) Invalidate();
}

TLayerItem* TMyImageLayered::CurrentLayer() const {
  return FLayerIndex >= 0 && FLayerIndex < FLayerList->Count() ? FLayerList->GetItem(FLayerIndex) : nullptr;
}

std::unique_ptr<TLayerItem> TMyImageLayered::SetCurrentLayer(std::unique_ptr<TLayerItem> Item) {
  if (!CurrentLayer()) return Item;
  return FLayerList->SetItem(FLayerIndex, std::move(Item));
}

TPoint TMyImageLayered::BmpToLayer(TPoint P) const {
  const TLayerItem* L = CurrentLayer();
  return L ? TPoint{P.X - L->Pos.X, P.Y - L->Pos.Y} : P;
}

TRect TMyImageLayered::BmpToLayer(const TRect& R) const {
  const TPoint O = BmpToLayer(TPoint{0, 0});
  return OffsetRect(R, O.X, O.Y);
}

TPoint TMyImageLayered::LayerToBmp(TPoint P) const {
  const TLayerItem* L = CurrentLayer();
  return L ? TPoint{P.X + L->Pos.X, P.Y + L->Pos.Y} : P;
}

TRect TMyImageLayered::LayerToBmp(const TRect& R) const {
  const TPoint O = LayerToBmp(TPoint{0, 0});
  return OffsetRect(R, O.X, O.Y);
}

bool TMyImageLayered::NeedBkgTransparency() const {
  if (FLayerList->Count() == 0) return false;
  const TLayerItem& Bkg = (*FLayerList)[0];
  return Bkg.Bitmap().Transparent || !Bkg.Mask().Empty() || !Bkg.Visible || Bkg.UsedOpacity() <= 99;
}

bool TMyImageLayered::NeedBkgUnderlay() const {
  if (FLayerList->Count() == 0) return false;
  const TLayerItem& Bkg = (*FLayerList)[0];
  return NeedBkgTransparency() || Bkg.UsedBlendMode() != 0 || (Bkg.LayerType != ltBitmap && Bkg.LayerType != ltData);
}

void TMyImageLayered::RepaintLayerRect(TRect R) {
  const TLayerItem* L = CurrentLayer();
  if (!L) return;
  if (L->ShadowInfos.DrawShadow) {
    const TLayerShadowInfos S = UsedShadowInfos(L->ShadowInfos);
    const TRect Moved = OffsetRect(R, S.DX, S.DY);
    const int B = static_cast<int>(S.Blur);
    R = UnionRect(R, {Moved.Left - B, Moved.Top - B, Moved.Right + B, Moved.Bottom + B});
  }
  if (FView) FView->RepaintBmpRect(LayerToBmp(R));
}

TColor TMyImageLayered::GetColor(int X, int Y, bool Merge) {
  if (FLayerList->Count() == 0) return clNone;
  if (Merge) {
    if (!PtInRect(BitmapRect(FBitmap), {X, Y})) return clNone;
    MergeVisibleLayers(FBitmap, 0, 0, {X, Y, X + 1, Y + 1}, false);
    return FBitmap.PixelColor(X, Y);
  }
  const TLayerItem* L = CurrentLayer();
  if (!L) return clNone;
  const TPoint P = BmpToLayer(TPoint{X, Y});
  if (!PtInRect(BitmapRect(L->Bitmap()), P)) return clNone;
  return L->Bitmap().PixelColor(P.X, P.Y);
}

bool TMyImageLayered::ExpandLayer(TLayerItem& Item, const TRect& R) {
  if (FLayerList->Count() == 0 || &Item == FLayerList->GetItem(0)) return false;
  const TRect Bounds = Item.BoundsRect();
  const TRect U = UnionRect(IntersectRect(NormalizeTRect(R), BitmapRect(FBitmap)), Bounds);
  if (U == Bounds) return false;
  const int DX = Item.Pos.X - U.Left, DY = Item.Pos.Y - U.Top;
  ExpandBitmap(Item.Bitmap(), U.Width(), U.Height(), DX, DY);
  ExpandBitmap(Item.Mask(), U.Width(), U.Height(), DX, DY);
  Item.Pos = U.TopLeft();
  if (DrawLayerActiveBounds && &Item == CurrentLayer()) Invalidate();
  return true;
}

// ---- Building the stack ---------------------------------------------------------------

std::unique_ptr<TLayerItem> TMyImageLayered::NewLayer(TLayerType Type, TOpacityRange Opacity,
                                                      const QString& Caption) const {
  auto Item = std::make_unique<TLayerItem>();
  Item->LayerType = Type;
  Item->Opacity = Opacity;
  Item->Caption = Caption;
  return Item;
}

int TMyImageLayered::AddItem(std::unique_ptr<TLayerItem> Item) {
  const int Index = FLayerList->Add(std::move(Item));
  SetLayerIndex(Index);
  return Index;
}

int TMyImageLayered::AddLayer(const TBitmap* Bitmap, const TBitmap* Mask, TPoint Pos, TOpacityRange Opacity,
                              const QString& Caption) {
  auto Item = NewLayer(ltBitmap, Opacity, Caption);
  if (Bitmap) Assign24(*Bitmap, Item->Bitmap());
  if (Mask) Assign24(*Mask, Item->Mask());
  Item->Pos = Pos;
  return AddItem(std::move(Item));
}

int TMyImageLayered::AddLayer(int Width, int Height, TColor Color, TPoint Pos, TOpacityRange Opacity,
                              const QString& Caption) {
  auto Item = NewLayer(ltBitmap, Opacity, Caption);
  NewBitmap24(Item->Bitmap(), Width, Height, Color);
  Item->Pos = Pos;
  return AddItem(std::move(Item));
}

int TMyImageLayered::AddLayerColor(TColor Color, TOpacityRange Opacity, bool Invert, const QString& Caption) {
  auto Item = NewLayer(ltColor, Opacity, Caption);
  Item->Color = Color;
  Item->Color2 = Invert ? 1 : 0;
  return AddItem(std::move(Item));
}

int TMyImageLayered::AddLayerAdjust(const TAdjustLayerInfos& AdjustInfos, TOpacityRange Opacity,
                                    const QString& Caption) {
  auto Item = NewLayer(ltAdjust, Opacity, Caption);
  Item->AdjustInfos = AdjustInfos;
  return AddItem(std::move(Item));
}

int TMyImageLayered::AddLayerData(std::unique_ptr<TLayerData> Data, const QString& Caption) {
  auto Item = NewLayer(ltData, 0, Caption);
  Item->SetData(std::move(Data));
  return AddItem(std::move(Item));
}

int TMyImageLayered::AddBitmapAsLayer(const TBitmap& Bitmap, TPoint Pos, TOpacityRange Opacity,
                                      const QString& Caption) {
  const int Index = AddLayer(nullptr, nullptr, Pos, Opacity, Caption);
  TLayerItem& Item = (*FLayerList)[Index];
  SplitToBitmapAndMask(Bitmap, Item.Bitmap(), Item.Mask());
  return Index;
}

int TMyImageLayered::DuplicateLayer(int Index, const QString& Caption) {
  if (Index < 0 || Index >= FLayerList->Count()) return -1;
  auto Item = std::make_unique<TLayerItem>();
  Item->Assign((*FLayerList)[Index]);
  Item->Caption = Caption;
  Item->Visible = true;
  Item->Locked = false;
  return AddItem(std::move(Item));
}

void TMyImageLayered::AddBackground(const TBitmap* Bitmap, const TBitmap* Mask, const QString& Caption) {
  FLayerList->Clear();
  AddLayer(Bitmap, Mask, {0, 0}, 100, Caption);
  HookBackgroundChange();
  Invalidate();
}

void TMyImageLayered::AddBackground(int Width, int Height, TColor Color, const QString& Caption) {
  FLayerList->Clear();
  AddLayer(Width, Height, Color, {0, 0}, 100, Caption);
  HookBackgroundChange();
  Invalidate();
}

void TMyImageLayered::AddBitmapAsBackground(const TBitmap& Bitmap, const QString& Caption) {
  FLayerList->Clear();
  AddBitmapAsLayer(Bitmap, {0, 0}, 100, Caption);
  HookBackgroundChange();
  Invalidate();
}

void TMyImageLayered::BitmapToBackground(const QString& Caption) {
  // The picture is taken before the stack is cleared, which empties the
  // composite it is held in.
  TBitmap Picture;
  Picture.Swap(FBitmap);
  FLayerList->Clear();
  auto Item = NewLayer(ltBitmap, 100, Caption);
  if (Picture.PixelFormat() == pf32bit) {
    SplitToBitmapAndMask(Picture, Item->Bitmap(), Item->Mask());
    Picture.ReleaseImage();
  } else {
    // The layer's bitmap keeps its own canvas and change hook; the pixels,
    // format and transparency come over, then become 24-bit as Assign24
    // would make them.
    Item->Bitmap().Swap(Picture);
    Item->Bitmap().SetPixelFormat(pf24bit);
  }
  AddItem(std::move(Item));
  HookBackgroundChange();
  Invalidate();
}

void TMyImageLayered::InsertNewBackground(const TBitmap* Bitmap, const TBitmap* Mask, const QString& Caption) {
  if (FLayerList->Count() == 0) return;
  auto Item = NewLayer(ltBitmap, 100, Caption);
  if (Bitmap) Assign24(*Bitmap, Item->Bitmap());
  if (Mask) Assign24(*Mask, Item->Mask());
  FLayerList->Insert(0, std::move(Item));
  SetLayerIndex(0);
}

void TMyImageLayered::DeleteBackground() {
  if (FLayerList->Count() < 2) return;
  FLayerList->Delete(0);
  SetLayerIndex(0);
}

// ---- Compositing -------------------------------------------------------------------------

bool TMyImageLayered::IsCurrentAndMoving(const TLayerItem& Item) const {
  return MoveState == 2 && CurrentLayer() == &Item;
}

void TMyImageLayered::MergeLayerInto(int Index, TBitmap& Bmp, int DX, int DY, const TRect& R, bool Force) {
  MergeItemInto((*FLayerList)[Index], Bmp, DX, DY, R, Force);
}

void TMyImageLayered::MergeItemInto(TLayerItem& Item, TBitmap& Bmp, int DX, int DY, const TRect& R, bool Force) {
  if ((!Item.Visible && !Force) || Item.UsedOpacity() == 0) return;
  switch (Item.LayerType) {
  case ltData:
    if (!Item.Data()) return;
    Item.Data()->PrepareBitmaps(Item);
    [[fallthrough]];
  case ltBitmap: {
    const int Opacity = Item.UsedOpacity();
    const TRect L = OffsetRect(Item.BoundsRect(), DX, DY);
    TTransformation* T = Item.Transformation();
    if (Item.ShadowInfos.DrawShadow && !T && !IsCurrentAndMoving(Item)) {
      const TRect S = OffsetRect(ShadowRect(Item.BoundsRect(), Item.ShadowInfos), DX, DY);
      DrawLayerShadow(Item.Mask(), Bmp, L, L, S, S, R, R, Opacity, Item.ShadowInfos);
    }
    if (T)
      PutBitmapTransformedBlend(Item.Bitmap(), Bmp, L, R, *T, Opacity, &Item.Mask(), Item.UsedBlendMode());
    else
      PutBitmapBlend(Item.Bitmap(), Bmp, DX + Item.Pos.X, DY + Item.Pos.Y, R, Opacity, &Item.Mask(),
                     Item.UsedBlendMode());
    break;
  }
  case ltAdjust:
    ApplyAdjustInfos(Bmp, Item.AdjustInfos, Item.UsedOpacity(), R);
    break;
  case ltColor:
    FillColorBlend(Bmp, Item.Color, Item.UsedOpacity(), Item.Color2 != 0, R, Item.UsedBlendMode());
    break;
  default:
    break;
  }
}

void TMyImageLayered::MergeVisibleLayers(TBitmap& Bmp, int DX, int DY, TRect R, bool Force) {
  if (FLayerList->Count() == 0 || !ClipToBitmap(R, Bmp)) return;
  if (NeedBkgUnderlay()) FillColorOpacity(Bmp, BackColor, 100, false, R);
  for (int I = 0; I < FLayerList->Count(); ++I) MergeLayerInto(I, Bmp, DX, DY, R, Force);
}

void TMyImageLayered::MergeLayersForPreview(bool ForceVisible) {
  MergeVisibleLayers(FBitmap, 0, 0, WholeBitmapRect, ForceVisible);
}

void TMyImageLayered::DrawImageLayers(int XStart, int YStart, TBitmap& Dest) {
  MergeVisibleLayers(Dest, -XStart, -YStart, WholeBitmapRect, false);
}

void TMyImageLayered::MergeImageLayers(int XStart, int YStart, TBitmap& DestBmp, TBitmap& DestMask) {
  MergeLayersRGBA(DestBmp, &DestMask, -XStart, -YStart);
}

// ---- Copying between images ----------------------------------------------------------------

void TMyImageLayered::Assign(const TMyImageLayered* AImage) {
  if (AImage == this) return;
  if (!AImage || AImage->Layers().Count() == 0) {
    FLayerList->Clear();
    return;
  }
  FLayerList->Assign(AImage->Layers());
  ColorCount = AImage->ColorCount;
  HookBackgroundChange();
}

void TMyImageLayered::GetImageLayers(TMyImageLayered& AImage) {
  if (&AImage == this) return;
  FLayerList->Clear();
  if (AImage.Layers().Count() == 0) return;
  AImage.UnhookBackground();
  std::swap(FLayerList, AImage.FLayerList);
  FLayerList->FImage = this;
  AImage.FLayerList->FImage = &AImage;
  // The composite is a working copy as large as the background: taken over
  // rather than made anew while the other one still exists.
  if (AImage.FBitmap.PixelFormat() == pf24bit) FBitmap.Swap(AImage.FBitmap);
  FLayerIndex = 0;
  ColorCount = AImage.ColorCount;
  HookBackgroundChange();
  Invalidate();
  AImage.FLayerIndex = -1;
  AImage.ColorCount = 0;
  AImage.FBitmap.ReleaseImage();
  AImage.Invalidate();
}
