#include "document/Undo.h"

#include "document/LayerUtils.h"
#include "raster/RectUtils.h"
#include "raster/TransformFunc.h"

#include <algorithm>
#include <stdexcept>

namespace {

// Process-wide, never reused within a run.
int LastUndoId = 0;

// A new data object of the program's class for data layers, holding a copy
// of Src; nullptr without Src or without the program's hook.
std::unique_ptr<TLayerData> CopyLayerData(const TLayerData* Src) {
  if (!Src || !OnNeedLayerData) return nullptr;
  TLayerItem Holder;
  Holder.LayerType = ltData;
  OnNeedLayerData(Holder);
  std::unique_ptr<TLayerData> Data = Holder.ReleaseData();
  if (Data) Data->Assign(*Src);
  return Data;
}

TRect WholeRect(const TBitmap* B) { return B ? BitmapRect(*B) : TRect{}; }

} // namespace

int UndoCapacityFromDepth(int Depth) { return 2 * std::clamp(Depth, 1, INT_MAX / 2); }

// ---- TUndoList ---------------------------------------------------------------------

TUndoList::TUndoList(int MaxItems) : FMaxItems(std::max(MaxItems, 1)) {}

TUndoList::~TUndoList() { Clear(); }

TUndoItem* TUndoList::GetItem(int Index) const {
  return Index >= 0 && Index < Count() ? FList[static_cast<size_t>(Index)].get() : nullptr;
}

void TUndoList::MakeRoomForItem() {
  DeleteUntilLast();
  while (Count() >= FMaxItems) {
    DeleteItem(0);
    FRecycled = true;
  }
}

TUndoItem* TUndoList::Add(std::unique_ptr<TUndoItem> Item) {
  MakeRoomForItem();
  TUndoItem* P = Item.get();
  FActionList.emplace_back(P->Caption, P);
  FList.push_back(std::move(Item));
  FItemIndex = Count() - 1;
  return P;
}

void TUndoList::DeleteItem(int Index) {
  if (Index < 0 || Index >= Count()) return;
  const TUndoItem* P = FList[static_cast<size_t>(Index)].get();
  const auto Line = std::find_if(FActionList.begin(), FActionList.end(), [P](const auto& L) { return L.second == P; });
  if (Line != FActionList.end()) FActionList.erase(Line);
  FList.erase(FList.begin() + Index);
}

void TUndoList::Clear() {
  while (Count() > 0) DeleteItem(Count() - 1);
  FItemIndex = -1;
  FRecycled = false;
}

void TUndoList::Undo() {
  TUndoItem* Item = CurrentUndo();
  if (!Item) return;
  Item->Undo();
  --FItemIndex;
  if (!Item->CanRedo) DeleteUntilLast();
}

void TUndoList::Redo() {
  TUndoItem* Item = NextUndo();
  if (!Item) return;
  ++FItemIndex;
  Item->Redo();
}

void TUndoList::UndoAll() {
  if (Count() == 0) return;
  FItemIndex = Count() - 1;
  while (FItemIndex >= 0) Undo();
}

void TUndoList::RedoAll() {
  if (Count() == 0) return;
  FItemIndex = -1;
  while (FItemIndex < Count() - 1) Redo();
}

void TUndoList::UndoRedoUntil(int Index) {
  if (Index < 0 || Index >= Count()) return;
  while (FItemIndex < Index) Redo();
  // An undone one-way record shortens the list under the cursor.
  while (FItemIndex > Index && Index < Count()) Undo();
}

void TUndoList::DeleteLast() {
  DeleteItem(Count() - 1);
  FItemIndex = Count() - 1;
}

void TUndoList::DeleteUntilLast() {
  while (Count() - 1 > FItemIndex) DeleteItem(Count() - 1);
}

int64_t TUndoList::GetMemSize() const {
  int64_t Size = 0;
  for (const auto& Item : FList) Size += Item->GetMemSize();
  return Size;
}

QString TUndoList::ActionList() const {
  QString S;
  for (const auto& Line : FActionList) S += Line.first + QLatin1Char('\n');
  return S;
}

// ---- TUndoItem ---------------------------------------------------------------------

TUndoItem::TUndoItem() : FId(++LastUndoId) {}

TUndoItem::~TUndoItem() = default;

int TUndoItem::GetFlag(int Index) const {
  return Index >= 1 && Index <= 10 ? FFlags[static_cast<size_t>(Index - 1)] : 0;
}

void TUndoItem::SetFlag(int Index, int Value) {
  if (Index >= 1 && Index <= 10) FFlags[static_cast<size_t>(Index - 1)] = Value;
}

void TUndoItem::Undo() { FUndoList.UndoAll(); }

void TUndoItem::Redo() { FUndoList.RedoAll(); }

int64_t TUndoItem::GetMemSize() const { return FUndoList.GetMemSize(); }

// ---- TUndoBmpItem ------------------------------------------------------------------

namespace {

TUndoType TypeOf(const TBitmap* Bmp, const TBitmap* Mask) {
  if (Bmp && Mask) return utAll;
  return Mask ? utMask : utBitmap;
}

} // namespace

TUndoBmpItem::TUndoBmpItem(TBitmap* Bmp, TBitmap* Mask) : TUndoBmpItem(Bmp, Mask, umImage, TypeOf(Bmp, Mask), {}) {}

TUndoBmpItem::TUndoBmpItem(TBitmap* Bmp, TBitmap* Mask, const TRect& Rgn)
    : TUndoBmpItem(Bmp, Mask, umRegion, TypeOf(Bmp, Mask), Rgn) {}

TUndoBmpItem::TUndoBmpItem(TBitmap* Bmp, TBitmap* Mask, TUndoMode Mode, TUndoType Type, const TRect& Rgn)
    : FMode(Mode), FType(Type), FBmp(Bmp), FMask(Mask) {
  if (FMode == umRegion) {
    TakeSnapshot(Bmp, Mask, Rgn);
    return;
  }
  FRgn = WholeRect(FType == utMask ? Mask : Bmp);
  if (SavesBitmap()) FBmpData.Assign(Bmp);
  if (SavesMask()) FMaskData.Assign(Mask);
}

void TUndoBmpItem::TakeSnapshot(const TBitmap* Bmp, const TBitmap* Mask, const TRect& Rgn) {
  const TBitmap* Ref = FType == utMask ? Mask : Bmp;
  TRect R = Rgn;
  if (!Ref || !ClipToBitmap(R, *Ref)) R = TRect{};
  FRgn = R;
  if (SavesBitmap()) FBmpData.Assign(Bmp, R);
  if (SavesMask()) FMaskData.Assign(Mask, R);
}

TRect TUndoBmpItem::LiveRect() const {
  if (FMode == umRegion) return FRgn;
  return WholeRect(FType == utMask ? FMask : FBmp);
}

bool TUndoBmpItem::IsEqualSize() {
  if (FMode == umRegion) return true;
  const bool BmpSame = FBmp && FBmp->Width() == FBmpData.Width() && FBmp->Height() == FBmpData.Height();
  const bool MaskSame = FMask && FMask->Width() == FMaskData.Width() && FMask->Height() == FMaskData.Height();
  return (!SavesBitmap() || BmpSame) && (!SavesMask() || MaskSame);
}

void TUndoBmpItem::SwapData() {
  if (FMode == umRegion || IsEqualSize()) {
    const TRect R = LiveRect();
    if (SavesBitmap() && FBmp) FBmpData.SwapWith(*FBmp, R);
    if (SavesMask() && FMask) FMaskData.SwapWith(*FMask, R);
    return;
  }
  // A whole-bitmap record whose bitmap changed size: sizes are exchanged too.
  if (SavesBitmap() && FBmp) FBmpData.SwapWith(*FBmp);
  if (SavesMask() && FMask) FMaskData.SwapWith(*FMask);
}

void TUndoBmpItem::Undo() {
  SwapData();
  TUndoItem::Undo();
}

void TUndoBmpItem::Redo() {
  SwapData();
  TUndoItem::Redo();
}

void TUndoBmpItem::Restore() {
  if (FMode == umRegion || IsEqualSize()) {
    const TRect R = LiveRect();
    if (SavesBitmap() && FBmp) FBmpData.AssignTo(*FBmp, R);
    if (SavesMask() && FMask) FMaskData.AssignTo(*FMask, R);
    return;
  }
  if (SavesBitmap() && FBmp) FBmpData.AssignTo(*FBmp);
  if (SavesMask() && FMask) FMaskData.AssignTo(*FMask);
}

void TUndoBmpItem::RestoreTransparency() {
  if (SavesBitmap() && FBmp && FBmpData.Memory()) FBmpData.RestoreTransparency(*FBmp);
}

void TUndoBmpItem::AlphaBlend(int Alpha) {
  if (FMode != umRegion || Alpha <= 0) return;
  if (Alpha >= 100) {
    Restore();
    return;
  }
  if (SavesBitmap() && FBmp) {
    // Pixels that were transparent before the change are not brought back;
    // without a saved mask every pixel counts as opaque.
    if (FType == utAll && FMaskData.Memory())
      FBmpData.AlphaBlendMem(*FBmp, FRgn, Alpha, FMaskData.Memory());
    else
      FBmpData.AlphaBlend(*FBmp, FRgn, Alpha);
  }
  if (SavesMask() && FMask) FMaskData.AlphaBlend(*FMask, FRgn, Alpha);
}

void TUndoBmpItem::AlphaBlend(const TBitmap* Mask, bool Flat) {
  if (FMode != umRegion) return;
  if (SavesBitmap() && FBmp) FBmpData.AlphaBlend(*FBmp, FRgn, Mask, Flat);
  if (SavesMask() && FMask) FMaskData.AlphaBlend(*FMask, FRgn, Mask);
}

void TUndoBmpItem::RestoreBlank(const TBitmap* Mask) {
  if (FMode != umRegion || FType == utMask || !FBmp) return;
  FBmpData.RestoreBlankMask(*FBmp, FRgn, Mask);
}

void TUndoBmpItem::ResetData(const TBitmap* Bmp, const TBitmap* Mask, const TRect& Rgn) {
  TakeSnapshot(Bmp, Mask, Rgn);
}

int64_t TUndoBmpItem::GetMemSize() const {
  return TUndoItem::GetMemSize() + FBmpData.MemorySize() + FMaskData.MemorySize();
}

// ---- TUndoLayerItem ----------------------------------------------------------------

TUndoLayerItem::TUndoLayerItem(TLayerItem& LayerItem, const TSaved& Saved)
    : TUndoBmpItem(&LayerItem.Bitmap(), &LayerItem.Mask(), Saved.Mode, Saved.Type, Saved.Rgn) {
  InitLayerItem(LayerItem);
}

TUndoLayerItem::TUndoLayerItem(TLayerItem& LayerItem, TUndoType UndoType)
    : TUndoLayerItem(LayerItem, TSaved{umImage, UndoType, {}}) {}

TUndoLayerItem::TUndoLayerItem(TLayerItem& LayerItem, const TRect& Rgn, TUndoType UndoType)
    : TUndoLayerItem(LayerItem, TSaved{umRegion, UndoType, Rgn}) {}

void TUndoLayerItem::Retake(const TLayerItem& LayerItem) {
  InitLayerItem(LayerItem);
  ResetData(&LayerItem.Bitmap(), &LayerItem.Mask(), BitmapRect(LayerItem.Bitmap()));
}

LayerNavigator& TUndoLayerItem::Navigation() const {
  if (!FNavigator) throw std::out_of_range("Undo record without layers panel");
  return *FNavigator;
}

TLayerItem& TUndoLayerItem::GetLayerItem() const { return Navigation().Image().Layers()[FLayerIndex]; }

TLayerItem& TUndoLayerItem::BindLiveLayer() {
  TLayerItem& L = GetLayerItem();
  FBmp = &L.Bitmap();
  FMask = &L.Mask();
  return L;
}

bool TUndoLayerItem::IsEqualSize() {
  BindLiveLayer();
  return TUndoBmpItem::IsEqualSize();
}

void TUndoLayerItem::SwapProperties() {
  TLayerItem& L = GetLayerItem();
  TLayerItem Live;
  Live.AssignProperties(L);
  L.AssignProperties(FProperties);
  FProperties.AssignProperties(Live);
}

void TUndoLayerItem::SwapPosition() { std::swap(GetLayerItem().Pos, FProperties.Pos); }

void TUndoLayerItem::UpdateThumb() {
  if (FNavigator) FNavigator->UpdateThumb(FLayerIndex);
}

void TUndoLayerItem::Undo() {
  SwapProperties();
  BindLiveLayer();
  TUndoBmpItem::Undo();
  UpdateThumb();
}

void TUndoLayerItem::Redo() {
  SwapProperties();
  BindLiveLayer();
  TUndoBmpItem::Redo();
  UpdateThumb();
}

// ---- Properties and order ----------------------------------------------------------

TUndoLayerInfos::TUndoLayerInfos(TLayerItem& LayerItem) : TUndoLayerItem(LayerItem, TRect{}, utBitmap) {}

void TUndoLayerInfos::Undo() {
  SwapProperties();
  UpdateThumb();
}

void TUndoLayerInfos::Redo() { Undo(); }

TUndoLayerIndex::TUndoLayerIndex(TLayerItem& LayerItem) : TUndoLayerItem(LayerItem, TRect{}, utBitmap) {}

void TUndoLayerIndex::SwapIndex() {
  if (FLayerIndex == FOldIndex) return;
  Navigation().Move(FLayerIndex, FOldIndex, false);
  std::swap(FLayerIndex, FOldIndex);
}

// ---- Creating and deleting layers --------------------------------------------------

TUndoCreateDeleteLayer::TUndoCreateDeleteLayer(TLayerItem& LayerItem)
    : TUndoLayerItem(LayerItem,
                     LayerItem.LayerType == ltBitmap ? TSaved{umImage, utAll, {}} : TSaved{umRegion, utBitmap, {}}),
      FData(LayerItem.LayerType == ltData ? CopyLayerData(LayerItem.Data()) : nullptr) {}

void TUndoCreateDeleteLayer::RecreateLayer() {
  TMyImageLayered& Image = Navigation().Image();
  // The panel adds above its current layer.
  Image.SetLayerIndex(FLayerIndex - 1);
  Navigation().ResetLayerIndex();
  const TLayerItem& P = FProperties;
  switch (P.LayerType) {
  case ltData:
    Navigation().AddLayerData(CopyLayerData(FData.get()), P.Caption);
    break;
  case ltAdjust:
    Navigation().AddLayerAdjust(P.AdjustInfos, P.Opacity, P.Caption);
    break;
  case ltColor:
    Navigation().AddLayerColor(P.Color, P.Opacity, P.Color2 != 0, P.Caption);
    break;
  default: {
    TBitmap Bmp, Mask;
    if (FBmpData.Memory()) FBmpData.AssignTo(Bmp);
    if (FMaskData.Memory()) FMaskData.AssignTo(Mask);
    Navigation().AddLayer(&Bmp, Mask.Empty() ? nullptr : &Mask, P.Pos, P.Opacity, P.Caption);
    break;
  }
  }
  TLayerItem* L = Image.CurrentLayer();
  if (!L) return;
  const bool ShowChanged = L->Visible != P.Visible || L->Locked != P.Locked;
  // Every saved property comes back, the shadow of data layers and the
  // stored extra values included.
  L->AssignProperties(P);
  if (L->LayerType == ltData && L->Data()) L->Data()->PrepareBitmaps(*L);
  if (ShowChanged) Navigation().UpdateThumb(Image.LayerIndex());
}

void TUndoCreateDeleteLayer::DeleteLayer() { Navigation().DeleteLayer(FLayerIndex); }

// ---- Backgrounds and merges ----------------------------------------------------------

TUndoInsertBakground::TUndoInsertBakground(TLayerItem& Bakground) : TUndoLayerItem(Bakground, utBitmap) {}

void TUndoInsertBakground::Undo() {
  Navigation().DeleteBackground(!FIsRGBA);
  Navigation().Image().Layers()[0].Caption = FProperties.Caption;
}

void TUndoInsertBakground::Redo() {
  TBitmap Bmp;
  if (FBmpData.Memory()) FBmpData.AssignTo(Bmp);
  Navigation().InsertNewBackground(&Bmp, nullptr, FTransparent, FProperties.Caption);
  Navigation().Image().Layers()[1].Caption = FOldBkgCaption;
}

namespace {

// What a merge changes of the lower layer: into the background only where
// the upper layer and its shadow land (cut to the background by the record);
// otherwise the lower layer whole, since its size and position change.
TRect MergeRegion(const TLayerItem& LayerSup) {
  const TRect B = LayerSup.BoundsRect();
  if (!LayerSup.ShadowInfos.DrawShadow) return B;
  return UnionRect(B, ShadowRect(B, UsedShadowInfos(LayerSup.ShadowInfos)));
}

} // namespace

TUndoMergeLayers::TUndoMergeLayers(TLayerItem& LayerSup, TLayerItem& LayerInf, bool WithBkg)
    : TUndoLayerItem(LayerInf, WithBkg && !LayerSup.Bitmap().Empty()
                                   ? TSaved{umRegion, LayerInf.Mask().Empty() ? utBitmap : utAll, MergeRegion(LayerSup)}
                                   : TSaved{umImage, utAll, {}}),
      FUndoSup(std::make_unique<TUndoDeleteLayer>(LayerSup)) {}

void TUndoMergeLayers::SetSupIndex(int Value) {
  FUndoSup->SetLayerIndex(Value);
  FUndoSup->SetNavigator(FNavigator);
}

void TUndoMergeLayers::Undo() {
  TUndoLayerItem::Undo();
  FUndoSup->SetNavigator(FNavigator);
  FUndoSup->Undo();
}

void TUndoMergeLayers::Redo() {
  TUndoLayerItem::Redo();
  FUndoSup->SetNavigator(FNavigator);
  FUndoSup->Redo();
}

int64_t TUndoMergeLayers::GetMemSize() const { return TUndoLayerItem::GetMemSize() + FUndoSup->GetMemSize(); }

// ---- Records over every layer ----------------------------------------------------------

TUndoAllLayers::TUndoAllLayers(TLayerItem& Bakground) : TUndoLayerItem(Bakground, utAll) {}

void TUndoAllLayers::SaveLayers() {
  const TLayerList& Layers = Navigation().Image().Layers();
  for (int I = 1; I < Layers.Count(); ++I) {
    TLayerItem& L = Layers[I];
    std::unique_ptr<TUndoLayerItem> Sub;
    if (L.LayerType == ltData)
      Sub = std::make_unique<TUndoTextData>(L);
    else
      Sub = std::make_unique<TUndoLayerItem>(L, utAll);
    Sub->SetLayerIndex(I);
    Sub->SetNavigator(FNavigator);
    UndoList().Add(std::move(Sub));
  }
}

TUndoMergeAll::TUndoMergeAll(TLayerItem& Bakground)
    : TUndoLayerItem(Bakground, utAll), FData(CopyLayerData(Bakground.Data())), FSavesData(FData != nullptr) {}

void TUndoMergeAll::SaveLayers(bool All) {
  const TLayerList& Layers = Navigation().Image().Layers();
  for (int I = 1; I < Layers.Count(); ++I) {
    TLayerItem& L = Layers[I];
    if (!All && !L.Visible) continue;
    auto Sub = std::make_unique<TUndoDeleteLayer>(L);
    Sub->SetLayerIndex(I);
    Sub->SetNavigator(FNavigator);
    UndoList().Add(std::move(Sub));
  }
}

TLayerItem& TUndoMergeAll::SwapBackground() {
  TLayerItem& Bkg = BindLiveLayer();
  SwapData();
  SwapProperties();
  if (FSavesData) {
    std::unique_ptr<TLayerData> Live = Bkg.ReleaseData();
    Bkg.SetData(std::move(FData));
    FData = std::move(Live);
  }
  return Bkg;
}

void TUndoMergeAll::Undo() {
  TLayerItem& Bkg = SwapBackground();
  Bkg.Visible = FIsBkgVisible;
  UpdateThumb();
  // The lowest layer first, so that each finds the indexes below it whole.
  for (int I = 0; I < UndoList().Count(); ++I) UndoList().GetItem(I)->Undo();
}

void TUndoMergeAll::Redo() {
  TLayerItem& Bkg = SwapBackground();
  Bkg.Visible = true;
  UpdateThumb();
  for (int I = UndoList().Count() - 1; I >= 0; --I) UndoList().GetItem(I)->Redo();
}

TUndoShowHideAll::TUndoShowHideAll(TLayerItem& Bakground) : TUndoLayerItem(Bakground, TRect{}, utBitmap) {}

void TUndoShowHideAll::SaveLayersInfos() {
  const TLayerList& Layers = Navigation().Image().Layers();
  for (int I = 1; I < Layers.Count(); ++I) {
    auto Sub = std::make_unique<TUndoLayerInfos>(Layers[I]);
    Sub->SetLayerIndex(I);
    Sub->SetNavigator(FNavigator);
    UndoList().Add(std::move(Sub));
  }
}

void TUndoShowHideAll::Undo() {
  SwapProperties();
  UndoList().UndoAll();
  Navigation().Synchronize(false);
}

void TUndoShowHideAll::Redo() {
  SwapProperties();
  UndoList().RedoAll();
  Navigation().Synchronize(false);
}

// ---- Text data -----------------------------------------------------------------------

TUndoTextData::TUndoTextData(TLayerItem& LayerItem)
    : TUndoLayerItem(LayerItem, TRect{}, utBitmap), FData(CopyLayerData(LayerItem.Data())) {}

void TUndoTextData::SwapTextData() {
  TLayerItem& L = GetLayerItem();
  // An empty bitmap makes the data render again.
  L.Bitmap().ReleaseImage();
  L.Mask().ReleaseImage();
  if (!L.Data() || !FData) return;
  // The live data object stays the same object; only its content changes.
  const std::unique_ptr<TLayerData> Live = CopyLayerData(L.Data());
  L.Data()->Assign(*FData);
  FData->Assign(*Live);
}

void TUndoTextData::SwapAndRender() {
  SwapTextData();
  SwapPosition();
  TLayerItem& L = GetLayerItem();
  if (L.Data()) L.Data()->PrepareBitmaps(L);
  UpdateThumb();
}

// ---- Expanding a layer -------------------------------------------------------------------

TUndoExpandLayer::TExpansion TUndoExpandLayer::Expand(TLayerItem& LayerItem, const TRect& Rgn, const TRect& RExpand,
                                                      TMyImageLayered& Image) {
  TExpansion E;
  E.OldBounds = LayerItem.BoundsRect();
  E.Expanded = Image.ExpandLayer(LayerItem, RExpand);
  E.NewBounds = LayerItem.BoundsRect();
  // The region stays on the same pixels of the grown layer.
  E.Rgn = E.Expanded ? OffsetRect(Rgn, E.OldBounds.Left - E.NewBounds.Left, E.OldBounds.Top - E.NewBounds.Top) : Rgn;
  return E;
}

TUndoExpandLayer::TUndoExpandLayer(TLayerItem& LayerItem, const TRect& Rgn, const TRect& RExpand,
                                   TMyImageLayered& Image)
    : TUndoExpandLayer(LayerItem, Expand(LayerItem, Rgn, RExpand, Image)) {}

TUndoExpandLayer::TUndoExpandLayer(TLayerItem& LayerItem, const TExpansion& E)
    : TUndoLayerItem(LayerItem, E.Rgn, utAll), FOldBounds(E.OldBounds), FNewBounds(E.NewBounds),
      FAutoExpanded(E.Expanded), FOX(E.OldBounds.Left - E.NewBounds.Left), FOY(E.OldBounds.Top - E.NewBounds.Top) {}

void TUndoExpandLayer::RestoreSize() {
  if (!FAutoExpanded) return;
  TLayerItem& L = GetLayerItem();
  ExpandBitmap(L.Bitmap(), FOldBounds.Width(), FOldBounds.Height(), -FOX, -FOY);
  ExpandBitmap(L.Mask(), FOldBounds.Width(), FOldBounds.Height(), -FOX, -FOY);
  L.Pos = FOldBounds.TopLeft();
}

void TUndoExpandLayer::Undo() {
  TUndoLayerItem::Undo();
  RestoreSize();
  UpdateThumb();
}

void TUndoExpandLayer::Redo() {
  if (FAutoExpanded) {
    TLayerItem& L = GetLayerItem();
    ExpandBitmap(L.Bitmap(), FNewBounds.Width(), FNewBounds.Height(), FOX, FOY);
    ExpandBitmap(L.Mask(), FNewBounds.Width(), FNewBounds.Height(), FOX, FOY);
    L.Pos = FNewBounds.TopLeft();
  }
  TUndoLayerItem::Redo();
}
