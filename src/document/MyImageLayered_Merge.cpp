// The layered image's compositing into targets that keep a mask of their own,
// and the merges that fold layers into one another for good.
#include "document/LayerUtils.h"
#include "document/MyImageLayered.h"
#include "raster/Bitmap24.h"
#include "raster/TransformFunc.h"

namespace {

// A copy of a transformation of the same kind, source rectangle included.
std::unique_ptr<TTransformation> CopyTransformation(const TTransformation& T) {
  std::unique_ptr<TTransformation> Copy;
  if (dynamic_cast<const TProjectiveTransformation*>(&T))
    Copy = std::make_unique<TProjectiveTransformation>();
  else
    Copy = std::make_unique<TAffineTransformation>();
  Copy->SetSrcRect(T.SrcRect());
  Copy->Assign(T);
  return Copy;
}

// A layer's pixels where the view shows them: its own bitmap and mask at its
// position, or, while a transformation is pending, transformed copies at the
// transformation's bounds (the mask then always present).
class TPlacedLayer {
public:
  explicit TPlacedLayer(const TLayerItem& Item) : Pos(Item.Pos), FItem(Item) {
    const TTransformation* T = Item.Transformation();
    if (!T) return;
    FTransformed = true;
    Pos = T->GetBounds().TopLeft();
    FBitmap.Assign(Item.Bitmap());
    if (Item.Mask().Empty())
      NewBitmap24(FMask, Item.Bitmap().Width(), Item.Bitmap().Height(), clBlack);
    else
      FMask.Assign(Item.Mask());
    const std::unique_ptr<TTransformation> Copy = CopyTransformation(*T);
    TransformBitmapAndMask(FBitmap, FMask, *Copy);
  }
  const TBitmap& Bitmap() const { return FTransformed ? FBitmap : FItem.Bitmap(); }
  const TBitmap& Mask() const { return FTransformed ? FMask : FItem.Mask(); }
  TRect BoundsRect() const { return Bounds(Pos.X, Pos.Y, Bitmap().Width(), Bitmap().Height()); }

  TPoint Pos;

private:
  const TLayerItem& FItem;
  bool FTransformed = false;
  TBitmap FBitmap;
  TBitmap FMask;
};

void PrepareData(TLayerItem& Item) {
  if (Item.LayerType == ltData && Item.Data()) Item.Data()->PrepareBitmaps(Item);
}

// The new pixels and mask become the layer's, announced like any change of
// its bitmap (the background's size follower listens).
void TakeOver(TLayerItem& Item, TBitmap& Bitmap, TBitmap& Mask) {
  Item.Bitmap().Swap(Bitmap);
  Item.Mask().Swap(Mask);
  Item.Mask().Changed();
  Item.Bitmap().Changed();
}

} // namespace

// ---- Into targets with a mask of their own ------------------------------------------------

std::unique_ptr<TLayerItem> TMyImageLayered::MakeShadowLayer(const TLayerItem& Item) const {
  const TLayerShadowInfos S = UsedShadowInfos(Item.ShadowInfos);
  const TPlacedLayer P(Item);
  const TRect SR = ShadowRect(P.BoundsRect(), S);
  auto Shadow = std::make_unique<TLayerItem>();
  Shadow->Pos = SR.TopLeft();
  NewBitmap24(Shadow->Bitmap(), SR.Width(), SR.Height(), S.Color);
  // The mask is made for the layer's own size, so that it comes out of the
  // shadow bitmap's size.
  MakeShadowMask(P.Mask(), Shadow->Mask(), P.Bitmap().Width(), P.Bitmap().Height(), S);
  Shadow->Opacity = static_cast<TOpacityRange>(S.Opacity);
  return Shadow;
}

void TMyImageLayered::MergeLayerIntoRGBA(int Index, TBitmap& Bmp, TBitmap* DstMask, int DX, int DY, const TRect& R) {
  MergeItemIntoRGBA((*FLayerList)[Index], Bmp, DstMask, DX, DY, R);
}

void TMyImageLayered::MergeItemIntoRGBA(TLayerItem& Item, TBitmap& Bmp, TBitmap* DstMask, int DX, int DY,
                                        const TRect& R) {
  if (!Item.Visible || Item.UsedOpacity() == 0) return;
  switch (Item.LayerType) {
  case ltData:
    if (!Item.Data()) return;
    Item.Data()->PrepareBitmaps(Item);
    [[fallthrough]];
  case ltBitmap: {
    const int Opacity = Item.UsedOpacity();
    // As on screen, a layer with a pending transformation casts no shadow.
    if (Item.ShadowInfos.DrawShadow && !Item.Transformation()) {
      const std::unique_ptr<TLayerItem> S = MakeShadowLayer(Item);
      PutBitmapRGBA(S->Bitmap(), &S->Mask(), 0, Bmp, DstMask, DX + S->Pos.X, DY + S->Pos.Y, R,
                    S->UsedOpacity() * Opacity / 100);
    }
    const TPlacedLayer P(Item);
    PutBitmapRGBA(P.Bitmap(), &P.Mask(), Item.UsedBlendMode(), Bmp, DstMask, DX + P.Pos.X, DY + P.Pos.Y, R, Opacity);
    break;
  }
  case ltAdjust:
    ApplyAdjustInfos(Bmp, Item.AdjustInfos, Item.UsedOpacity(), R);
    break;
  case ltColor:
    FillColorRGBA(Item.Color, Item.UsedBlendMode(), Bmp, DstMask, Item.Color2 != 0, R, Item.UsedOpacity());
    break;
  default:
    break;
  }
}

void TMyImageLayered::MergeLayersRGBA(TBitmap& Bmp, TBitmap* DstMask, int DX, int DY) {
  for (int I = 0; I < FLayerList->Count(); ++I) MergeLayerIntoRGBA(I, Bmp, DstMask, DX, DY, WholeBitmapRect);
}

void TMyImageLayered::MergeLayersInRGBA(TBitmap& Dest) {
  if (FLayerList->Count() == 0) {
    Dest.ReleaseImage();
    return;
  }
  TLayerItem& Bkg = (*FLayerList)[0];
  if (Bkg.Mask().Empty() && Bkg.Visible) {
    MergeVisibleLayers(FBitmap, 0, 0, WholeBitmapRect, false);
    Dest.Assign(FBitmap);
    return;
  }
  if (FLayerList->Count() == 1 && Bkg.Visible && Bkg.UsedOpacity() == 100) {
    CombineToRGBA(Bkg.Bitmap(), Bkg.Mask(), Dest);
    return;
  }
  TBitmap Bmp, Mask;
  NewBitmap24(Bmp, Bkg.Bitmap().Width(), Bkg.Bitmap().Height(), clWhite);
  NewBitmap24(Mask, Bkg.Bitmap().Width(), Bkg.Bitmap().Height(), clWhite);
  MergeLayersRGBA(Bmp, &Mask, 0, 0);
  CombineToRGBA(Bmp, Mask, Dest);
}

// ---- Merges ------------------------------------------------------------------------------

void TMyImageLayered::MergeLayers(TLayerItem& LayerSup, TLayerItem& LayerInf, bool AssignToSup, bool AutoCrop) {
  PrepareData(LayerSup);
  PrepareData(LayerInf);
  const bool InfIsBkg = FLayerList->Count() > 0 && &LayerInf == FLayerList->GetItem(0);
  if (InfIsBkg && LayerInf.Mask().Empty() && !AssignToSup) {
    MergeItemInto(LayerSup, LayerInf.Bitmap(), 0, 0, WholeBitmapRect, false);
    return;
  }
  if (LayerSup.LayerType == ltAdjust) {
    ApplyAdjustInfos(LayerInf.Bitmap(), LayerSup.AdjustInfos, LayerSup.UsedOpacity(), WholeBitmapRect);
    return;
  }
  if (LayerSup.LayerType == ltColor) {
    FillColorRGBA(LayerSup.Color, LayerSup.UsedBlendMode(), LayerInf.Bitmap(), &LayerInf.Mask(), LayerSup.Color2 != 0,
                  WholeBitmapRect, LayerSup.UsedOpacity());
    return;
  }
  if (InfIsBkg && !AssignToSup) {
    MergeItemIntoRGBA(LayerSup, LayerInf.Bitmap(), &LayerInf.Mask(), 0, 0, WholeBitmapRect);
    return;
  }
  // Both into a new bitmap over their union, transparent between them, each
  // layer's opacity baked into the pixels and the mask.
  LayerSup.CheckCreateMask(false);
  LayerInf.CheckCreateMask(false);
  TBitmap Bmp, Mask;
  TRect U;
  {
    const TPlacedLayer Inf(LayerInf);
    const TPlacedLayer Sup(LayerSup);
    U = UnionRect(Sup.BoundsRect(), Inf.BoundsRect());
    NewBitmap24(Bmp, U.Width(), U.Height(), clWhite);
    NewBitmap24(Mask, U.Width(), U.Height(), clWhite);
    PutBitmapRGBA(Inf.Bitmap(), &Inf.Mask(), 0, Bmp, &Mask, Inf.Pos.X - U.Left, Inf.Pos.Y - U.Top, WholeBitmapRect,
                  LayerInf.UsedOpacity());
    PutBitmapRGBA(Sup.Bitmap(), &Sup.Mask(), LayerSup.UsedBlendMode(), Bmp, &Mask, Sup.Pos.X - U.Left,
                  Sup.Pos.Y - U.Top, WholeBitmapRect, LayerSup.UsedOpacity());
  }
  TLayerItem& Target = AssignToSup ? LayerSup : LayerInf;
  Target.LayerType = ltBitmap;
  Target.SetData(nullptr);
  Target.ClearTransform();
  TakeOver(Target, Bmp, Mask);
  Target.Pos = U.TopLeft();
  Target.Opacity = 100;
  if (AutoCrop) Target.AutoCropTransparency();
}

void TMyImageLayered::MergeWithPrevious(bool AutoCrop) {
  const int Index = FLayerIndex;
  if (Index <= 0 || Index >= FLayerList->Count()) return;
  TLayerItem& Current = (*FLayerList)[Index];
  TLayerItem& Below = (*FLayerList)[Index - 1];
  if (Below.LayerType != ltBitmap) return;
  // A merge into the background draws the shadow itself.
  if (Current.ShadowInfos.DrawShadow && Index - 1 != 0) MergeShadow(Current);
  MergeLayers(Current, Below, false, AutoCrop);
  FLayerList->Delete(Index);
  SetLayerIndex(Index - 1);
}

void TMyImageLayered::MergeShadow(TLayerItem& Item) {
  if (!Item.ShadowInfos.DrawShadow || Item.LayerType != ltBitmap) return;
  Item.ShadowInfos.DrawShadow = false;
  const std::unique_ptr<TLayerItem> Shadow = MakeShadowLayer(Item);
  // The layer lies over its shadow at full strength and keeps its opacity.
  struct TRestore {
    TLayerItem& Item;
    TOpacityRange Opacity;
    ~TRestore() { Item.Opacity = Opacity; }
  } Restore{Item, Item.Opacity};
  Item.Opacity = 100;
  MergeLayers(Item, *Shadow, true, false);
}

void TMyImageLayered::MergeLayersWithBkg(bool MergeVisibleOnly) {
  if (FLayerList->Count() < 2) return;
  TLayerItem& Bkg = (*FLayerList)[0];
  // A hidden background becomes fully transparent under the merged layers.
  if (!Bkg.Visible) {
    if (Bkg.Mask().Empty())
      Bkg.CheckCreateMask(true);
    else
      FillColorOpacity(Bkg.Mask(), clWhite, 100, false, WholeBitmapRect);
  }
  int I = 1;
  while (I < FLayerList->Count()) {
    TLayerItem& Layer = (*FLayerList)[I];
    if (Layer.Visible) {
      if (Bkg.Mask().Empty())
        MergeItemInto(Layer, Bkg.Bitmap(), 0, 0, WholeBitmapRect, false);
      else
        MergeItemIntoRGBA(Layer, Bkg.Bitmap(), &Bkg.Mask(), 0, 0, WholeBitmapRect);
      FLayerList->Delete(I);
    } else if (MergeVisibleOnly) {
      ++I;
    } else {
      FLayerList->Delete(I);
    }
  }
  Bkg.Visible = true;
  SetLayerIndex(0);
  Invalidate();
}

void TMyImageLayered::FlattenImage() {
  if (FLayerList->Count() == 0) return;
  TLayerItem& Bkg = (*FLayerList)[0];
  if (FLayerList->Count() == 1 && Bkg.Mask().Empty()) return;
  MergeVisibleLayers(FBitmap, 0, 0, WholeBitmapRect, false);
  Bkg.Mask().ReleaseImage();
  Bkg.Bitmap().Assign(FBitmap);
  while (FLayerList->Count() > 1) FLayerList->Delete(FLayerList->Count() - 1);
  // The background now holds the image as it was seen: its own visibility,
  // opacity and mode are in the pixels and must not apply a second time.
  Bkg.LayerType = ltBitmap;
  Bkg.SetData(nullptr);
  Bkg.ClearTransform();
  Bkg.Visible = true;
  Bkg.Opacity = 100;
  Bkg.BlendMode = 0;
  SetLayerIndex(0);
  Invalidate();
}
