#include "document/Pattern.h"

#include "raster/Bitmap24.h"
#include "raster/GreyMasks.h"
#include "raster/ImgUtils.h"
#include "raster/ImgUtils24.h"
#include "raster/LayerPaint.h"
#include "raster/RectUtils.h"

void TPattern32::Clear() {
  FBmp.ReleaseImage();
  FMask.ReleaseImage();
  if (OnClear) OnClear();
}

bool TPattern32::LoadFromFile(TSelMaskHost& Host, const QString& FileName) {
  TBitmap Bmp, Mask;
  if (!Host.LoadPattern(FileName, Bmp, Mask)) return false;
  FBmp.Swap(Bmp);
  FMask.Swap(Mask);
  return true;
}

void TPattern32::FillBmp(TBitmap& ABitmap, TRect Sel) const {
  if (FBmp.Empty() || !ClipToBitmap(Sel, ABitmap)) return;
  TileBitmap24MaskOpacity(FBmp, ABitmap, 0, 0, Sel, 100, &FMask);
}

void TPattern32::FillBmpMask(TBitmap& ABitmap, TBitmap* AMask, TRect Sel) const {
  if (!AMask || AMask->Empty()) {
    FillBmp(ABitmap, Sel);
    return;
  }
  if (FBmp.Empty() || !ClipToBitmap(Sel, ABitmap)) return;
  PaintPatternOnLayer(FBmp, FMask.Empty() ? nullptr : &FMask, ABitmap, AMask, 0, 0, Sel, 100, nullptr);
}

void TPattern32::Flip(bool Horz) {
  for (TBitmap* B : {&FBmp, &FMask}) {
    if (B->Empty()) continue;
    if (Horz)
      FlipVertical24(*B, BitmapRect(*B));
    else
      FlipHorizontal24(*B, BitmapRect(*B));
  }
}

TPattern32& CurrentPattern() {
  static TPattern32 Pattern;
  return Pattern;
}

void DefinePatternFromSelection(TSelMaskHost& Host) {
  TBitmap* Layer = LeBitmap(Host);
  if (!Layer) return;
  TRect R = LaSelection(Host);
  if (!ClipToBitmap(R, *Layer)) return;
  TPattern32& P = CurrentPattern();
  CropBitmapTo(*Layer, P.Bmp(), R);
  P.Bmp().Transparent = false;
  TBitmap* LayerMask = LeMasque(Host);
  const bool LayerHasMask = HasAlpha(Host);
  if (SelectionNeedsMask(Host, false)) {
    auto Mask = SelectionMaskOfRect(Host, R, Host.Sel()->Invert(), true);
    if (!Mask) {
      P.Mask().ReleaseImage();
      return;
    }
    if (LayerHasMask) CombineMaskMax(*LayerMask, *Mask, -R.Left, -R.Top, WholeBitmapRect);
    P.Mask().Swap(*Mask);
  } else if (LayerHasMask) {
    CropBitmapTo(*LayerMask, P.Mask(), R);
  } else {
    P.Mask().ReleaseImage();
  }
}

bool LoadCurrentPattern(TSelMaskHost& Host, const QString& FileName) {
  return CurrentPattern().LoadFromFile(Host, FileName);
}

void FillPatternFile(TSelMaskHost& Host, const QString& FileName, TBitmap& Bmp, const TRect& R) {
  TPattern32 P;
  if (P.LoadFromFile(Host, FileName)) P.FillBmp(Bmp, R);
}

void FillPatternFileMask(TSelMaskHost& Host, const QString& FileName, TBitmap& Bmp, TBitmap* Mask, const TRect& R) {
  TPattern32 P;
  if (P.LoadFromFile(Host, FileName)) P.FillBmpMask(Bmp, Mask, R);
}
