#include "document/MyGraphic.h"

#include "document/MyImageLayered.h"
#include "raster/Bitmap24.h"
#include "raster/TransformFunc.h"

#include <algorithm>
#include <stdexcept>
#include <string>

std::function<void(TLayerItem& Item)> OnNeedLayerData;
std::function<void(const TLayerItem& Item, QString& S)> OnGetLayerCaption;

int UsedBlendMode(int32_t BlendMode) { return BlendMode >= 0 && BlendMode <= 25 ? BlendMode : 0; }

int UsedOpacity(int Opacity) { return std::clamp(Opacity, 0, 100); }

TLayerShadowInfos UsedShadowInfos(const TLayerShadowInfos& SI) {
  TLayerShadowInfos R = SI;
  R.Blur = std::min(SI.Blur, MaxShadowBlur);
  R.DX = std::clamp(SI.DX, -MaxShadowOffset, MaxShadowOffset);
  R.DY = std::clamp(SI.DY, -MaxShadowOffset, MaxShadowOffset);
  R.Opacity = std::clamp(SI.Opacity, 0, 100);
  return R;
}

// ---- TLayerItem ------------------------------------------------------------------

TLayerItem::TLayerItem() = default;
TLayerItem::~TLayerItem() = default;

void TLayerItem::AssignProperties(const TLayerItem& NewLayerItem) {
  Caption = NewLayerItem.Caption;
  Visible = NewLayerItem.Visible;
  Locked = NewLayerItem.Locked;
  BlendMode = NewLayerItem.BlendMode;
  FReserved1 = NewLayerItem.FReserved1;
  FReserved2 = NewLayerItem.FReserved2;
  Tag = NewLayerItem.Tag;
  LayerType = NewLayerItem.LayerType;
  Color = NewLayerItem.Color;
  Color2 = NewLayerItem.Color2;
  Pos = NewLayerItem.Pos;
  Opacity = NewLayerItem.Opacity;
  AdjustInfos = NewLayerItem.AdjustInfos;
  ShadowInfos = NewLayerItem.ShadowInfos;
}

void TLayerItem::Assign(const TLayerItem& NewLayerItem) {
  if (&NewLayerItem == this) return;
  AssignProperties(NewLayerItem);
  if (LayerType == ltData && NewLayerItem.Data()) {
    if (OnNeedLayerData) OnNeedLayerData(*this);
    if (FData) FData->Assign(*NewLayerItem.Data());
  }
  FBitmap.Assign(NewLayerItem.FBitmap);
  FMask.Assign(NewLayerItem.FMask);
  FMaskNot.Assign(NewLayerItem.FMaskNot);
}

void TLayerItem::ClearBitmaps() {
  FBitmap.ReleaseImage();
  FMask.ReleaseImage();
  FMaskNot.ReleaseImage();
}

void TLayerItem::CheckCreateMask(bool Transparent) {
  if (!FMask.Empty() || LayerType == ltAdjust || LayerType == ltColor) return;
  ResetLayerBitmap(FMask, FBitmap.Width(), FBitmap.Height(), Transparent ? clWhite : clBlack);
}

void TLayerItem::ClearTransform() { FTransformation.reset(); }

void TLayerItem::ValidateTransform(bool DoTransform) {
  if (!FTransformation) return;
  const TRect B = FTransformation->GetBounds();
  // The position follows the bounds and the transformation goes even when
  // applying it fails.
  struct TFinish {
    TLayerItem& Item;
    TRect B;
    ~TFinish() {
      Item.Pos = B.TopLeft();
      Item.ClearTransform();
    }
  } Finish{*this, B};
  if (DoTransform && !FTransformation->TanslateOnly()) {
    if (FTransformation->ScaleOnly()) {
      Scale(B.Width(), B.Height());
    } else {
      CheckCreateMask(false);
      TransformBitmapAndMask(FBitmap, FMask, *FTransformation);
    }
  }
}

void TLayerItem::FlipRotate(int Code) {
  FlipRotateBitmap(FMask, Code);
  FlipRotateBitmap(FBitmap, Code);
}

void TLayerItem::FlipHorz() { FlipRotate(1); }
void TLayerItem::FlipVert() { FlipRotate(0); }
void TLayerItem::Rotate90() { FlipRotate(3); }
void TLayerItem::Rotate180() { FlipRotate(4); }
void TLayerItem::Rotate270() { FlipRotate(2); }

void TLayerItem::TransformBy(std::unique_ptr<TAffineTransformation> T) {
  T->TranslateF(Pos.X, Pos.Y);
  FTransformation = std::move(T);
  ValidateTransform(true);
}

void TLayerItem::Rotate(double Degree) {
  auto T = std::make_unique<TAffineTransformation>();
  T->SetSrcRect({0, 0, FBitmap.Width(), FBitmap.Height()});
  T->Rotate((FBitmap.Width() - 1) / 2.0, (FBitmap.Height() - 1) / 2.0, Degree);
  TransformBy(std::move(T));
}

void TLayerItem::Skew(double FX, double FY) {
  auto T = std::make_unique<TAffineTransformation>();
  T->SetSrcRect({0, 0, FBitmap.Width(), FBitmap.Height()});
  T->Skew(FX, FY);
  TransformBy(std::move(T));
}

void TLayerItem::Scale(int NewWidth, int NewHeight) {
  NewWidth = std::max(NewWidth, 1);
  NewHeight = std::max(NewHeight, 1);
  if (FBitmap.Width() == NewWidth && FBitmap.Height() == NewHeight) return;
  ScaleBitmapAndMaskLanczos3(NewWidth, NewHeight, FBitmap, FMask);
}

bool TLayerItem::IsTransparent(TPoint P) const {
  if (!PtInRect({0, 0, FBitmap.Width(), FBitmap.Height()}, P)) return true;
  return !FMask.Empty() && IsMaskPixelTransparent(FMask, P.X, P.Y);
}

bool TLayerItem::AutoCropTransparency() {
  TPoint V = Pos;
  AutoCropLayer(FBitmap, FMask, V);
  if (V == Pos) return false;
  Pos = V;
  return true;
}

TRect TLayerItem::BoundsRect() const {
  if (FTransformation) return FTransformation->GetBounds();
  return Bounds(Pos.X, Pos.Y, FBitmap.Width(), FBitmap.Height());
}

QString TLayerItem::DisplayCaption() const {
  QString S = Caption;
  if (OnGetLayerCaption) OnGetLayerCaption(*this, S);
  return S;
}

// ---- TLayerList ------------------------------------------------------------------

TLayerList::TLayerList(TMyImageLayered* Image) : FImage(Image) {}

TLayerList::~TLayerList() {
  if (FImage) FImage->UnhookBackground();
}

void TLayerList::CheckIndex(int Index, int Limit) const {
  if (Index < 0 || Index >= Limit) throw std::out_of_range("List index out of bounds (" + std::to_string(Index) + ")");
}

void TLayerList::Changed(bool BackgroundChanged) {
  if (!FImage) return;
  if (BackgroundChanged) FImage->HookBackgroundChange();
  FImage->Invalidate();
}

TLayerItem* TLayerList::GetItem(int Index) const {
  CheckIndex(Index, Count());
  return FItems[static_cast<size_t>(Index)].get();
}

std::unique_ptr<TLayerItem> TLayerList::SetItem(int Index, std::unique_ptr<TLayerItem> Item) {
  CheckIndex(Index, Count());
  if (Index == 0 && FImage) FImage->UnhookBackground();
  std::swap(FItems[static_cast<size_t>(Index)], Item);
  if (Index == 0 && FImage) FImage->HookBackgroundChange();
  return Item;
}

int TLayerList::Add(std::unique_ptr<TLayerItem> Item) {
  FItems.push_back(std::move(Item));
  Changed(Count() == 1);
  return Count() - 1;
}

void TLayerList::Insert(int Index, std::unique_ptr<TLayerItem> Item) {
  CheckIndex(Index, Count() + 1);
  if (Index == 0 && FImage) FImage->UnhookBackground();
  FItems.insert(FItems.begin() + Index, std::move(Item));
  Changed(Index == 0);
}

void TLayerList::Delete(int Index) {
  CheckIndex(Index, Count());
  if (Index == 0 && FImage) FImage->UnhookBackground();
  const std::unique_ptr<TLayerItem> Item = std::move(FItems[static_cast<size_t>(Index)]);
  FItems.erase(FItems.begin() + Index);
  if (FImage && FImage->FLayerIndex >= Count()) FImage->FLayerIndex = Count() - 1;
  Changed(Index == 0);
}

void TLayerList::Clear() {
  if (FImage) FImage->UnhookBackground();
  FItems.clear();
  if (!FImage) return;
  FImage->FLayerIndex = -1;
  FImage->FBitmap.ReleaseImage();
  FImage->Invalidate();
}

void TLayerList::Exchange(int Index1, int Index2) {
  CheckIndex(Index1, Count());
  CheckIndex(Index2, Count());
  if (Index1 == 0 || Index2 == 0 || Index1 == Index2) return;
  std::swap(FItems[static_cast<size_t>(Index1)], FItems[static_cast<size_t>(Index2)]);
  Changed(false);
}

void TLayerList::Move(int CurIndex, int NewIndex) {
  CheckIndex(CurIndex, Count());
  CheckIndex(NewIndex, Count());
  if (CurIndex == 0 || NewIndex == 0 || CurIndex == NewIndex) return;
  std::unique_ptr<TLayerItem> Item = std::move(FItems[static_cast<size_t>(CurIndex)]);
  FItems.erase(FItems.begin() + CurIndex);
  FItems.insert(FItems.begin() + NewIndex, std::move(Item));
  Changed(false);
}

int TLayerList::IndexOf(const TLayerItem* Item) const {
  for (int I = 0; I < Count(); ++I)
    if (FItems[static_cast<size_t>(I)].get() == Item) return I;
  return -1;
}

void TLayerList::Assign(const TLayerList& NewList) {
  if (&NewList == this) return;
  Clear();
  for (const auto& Source : NewList.FItems) {
    auto Item = std::make_unique<TLayerItem>();
    Item->Assign(*Source);
    Add(std::move(Item));
  }
  if (FImage && Count() > 0) FImage->FLayerIndex = 0;
}
