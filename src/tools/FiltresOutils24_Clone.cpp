// The engines that paint a source or a colour over the footprint: clone,
// pattern clone, airbrush and nozzle.
#include "tools/FiltresOutils24.h"

#include "platform/Rounding.h"
#include "raster/ColorFill.h"
#include "raster/ImgUtils24.h"
#include "raster/RandomGen.h"
#include "tools/Footprint.h"

#include <algorithm>
#include <optional>

namespace {

// One source pixel and its transparency weight (255 opaque, 0 skipped).
struct TSourcePixel {
  TRGB Color;
  int Opacity;
};

// The shared loop of the clone engines: every footprint pixel whose Source
// gives a pixel is painted with the clone weight times its opacity. Source
// returns nothing for a place outside the source, which is then left alone.
template <class TSource>
void CloneLoop(TBitmap& Dst, TBitmap* DstMask, int X, int Y, int R, int Pressure, const TRect& ClipRect, bool Precise,
               bool Diffuse, TSource&& Source) {
  TBitmap* Mask = UsableMask(DstMask);
  TRect F;
  if (!FootprintRect(Dst, MaskedClip(ClipRect, Mask), X, Y, R, F)) return;
  const int A = std::min(Pressure, 100) * 255 / 100;
  const int Core = Precise ? R : R / 3;
  Randomize();
  for (int Row = F.Top; Row < F.Bottom; ++Row) {
    TRGB* Line = RowOf(Dst, Row);
    TRGB* MaskLine = Mask ? RowOf(*Mask, Row) : nullptr;
    for (int Col = F.Left; Col < F.Right; ++Col) {
      const int D = Precise ? 0 : FootprintDistance(Col - X, Row - Y);
      if (D >= R) continue;
      const std::optional<TSourcePixel> S = Source(Col, Row);
      if (!S) continue;
      if (Diffuse && Random(3) != 1) continue;
      const int W = FootprintWeight(A, D, R, Core) * S->Opacity / 255;
      PaintOnLayer(Line[Col], MaskLine ? &MaskLine[Col] : nullptr, S->Color, W);
    }
  }
}

// A mask's opacity at (X, Y): 255 - its grey, 0 outside it.
int MaskOpacity(const TBitmap* Mask, int X, int Y) {
  if (!Mask) return 255;
  if (X < 0 || Y < 0 || X >= Mask->Width() || Y >= Mask->Height()) return 0;
  return 255 - RowOf(*Mask, Y)[X].Blue;
}

} // namespace

void CloneBrush24(const TBitmap& Src, const TBitmap* SrcMask, TBitmap& Dst, TBitmap* DstMask, int X, int Y, int R,
                  int OffsetX, int OffsetY, int Pressure, const TRect& ClipRect, bool Precise, bool Diffuse) {
  if (Pressure <= 0 || R <= 0 || Src.Empty() || Src.PixelFormat() != pf24bit) return;
  const TBitmap* SMask = UsableMask(SrcMask);
  // Where the source is the layer being painted (or its mask), the source
  // square is read from a copy made before the call. Origin: where the
  // pixel (0, 0) of the bitmaps read lies in the source.
  TBitmap SrcCopy, MaskCopy;
  const TBitmap* From = &Src;
  TPoint Origin{0, 0};
  if (&Src == &Dst || (SMask && SMask == DstMask)) {
    const TRect Area = IntersectRect(TRect{ClampToInt(int64_t{X} + OffsetX - R), ClampToInt(int64_t{Y} + OffsetY - R),
                                           ClampToInt(int64_t{X} + OffsetX + R + 1),
                                           ClampToInt(int64_t{Y} + OffsetY + R + 1)},
                                     BitmapRect(Src));
    if (Area.IsEmpty()) return;
    Origin = {Area.Left, Area.Top};
    SrcCopy.SetSize(Area.Width(), Area.Height());
    CopyRect24(Src, Area, SrcCopy, 0, 0, WholeBitmapRect);
    From = &SrcCopy;
    if (SMask) {
      MaskCopy.SetSize(Area.Width(), Area.Height());
      FillColor24(MaskCopy, clWhite, 100, WholeBitmapRect); // beyond the mask: transparent
      CopyRect24(*SMask, Area, MaskCopy, 0, 0, WholeBitmapRect);
      SMask = &MaskCopy;
    }
  }
  const bool Keyed = !SMask && Src.Transparent;
  const TRGB Key = ColorToTRGB(Src.TransparentColor() & 0xFFFFFF);
  CloneLoop(Dst, DstMask, X, Y, R, Pressure, ClipRect, Precise, Diffuse,
            [&](int Col, int Row) -> std::optional<TSourcePixel> {
              const int64_t SX = int64_t{Col} + OffsetX - Origin.X, SY = int64_t{Row} + OffsetY - Origin.Y;
              if (SX < 0 || SY < 0 || SX >= From->Width() || SY >= From->Height()) return std::nullopt;
              const TRGB C = RowOf(*From, static_cast<int>(SY))[SX];
              const int Opacity =
                  Keyed ? (C == Key ? 0 : 255) : MaskOpacity(SMask, static_cast<int>(SX), static_cast<int>(SY));
              return TSourcePixel{C, Opacity};
            });
}

void PatternCloneBrush24(const TBitmap& Pattern, const TBitmap* PatternMask, TBitmap& Dst, TBitmap* DstMask, int X,
                         int Y, int R, int Pressure, const TRect& ClipRect, bool Precise, bool Diffuse) {
  if (Pressure < 1 || Pattern.Empty() || Pattern.PixelFormat() != pf24bit) return;
  const TBitmap* PMask = UsableMask(PatternMask);
  CloneLoop(Dst, DstMask, X, Y, R, Pressure, ClipRect, Precise, Diffuse,
            [&](int Col, int Row) -> std::optional<TSourcePixel> {
              const int PX = Col % Pattern.Width(), PY = Row % Pattern.Height();
              return TSourcePixel{RowOf(Pattern, PY)[PX], MaskOpacity(PMask, PX, PY)};
            });
}

void AirBrush24(TBitmap& Dst, TBitmap* DstMask, int X, int Y, int R, int Pressure, TColor Color, int Dispersion,
                const TRect& ClipRect) {
  if (Pressure <= 0 || Dispersion < 0) return;
  TBitmap* Mask = UsableMask(DstMask);
  TRect F;
  if (!FootprintRect(Dst, MaskedClip(ClipRect, Mask), X, Y, R, F)) return;
  Randomize();
  const TRGB C = ColorToTRGB(Color == RainbowColor ? NextRainbowColor() : Color);
  const int A = std::min(Pressure, 100) * 255 / 100;
  for (int Row = F.Top; Row < F.Bottom; ++Row) {
    TRGB* Line = RowOf(Dst, Row);
    TRGB* MaskLine = Mask ? RowOf(*Mask, Row) : nullptr;
    for (int Col = F.Left; Col < F.Right; ++Col) {
      const int D = FootprintDistance(Col - X, Row - Y);
      if (D >= R || Random(Dispersion) != 0) continue;
      PaintOnLayer(Line[Col], MaskLine ? &MaskLine[Col] : nullptr, C, FootprintWeight(A, D, R, R / 4));
    }
  }
}

void SplitNozzleFrame32(const TBitmap& Strip, TBitmap& Image, TBitmap& Mask, const TRect& FrameRect) {
  const int H = Strip.Height();
  for (TBitmap* B : {&Image, &Mask}) {
    B->SetPixelFormat(pf24bit);
    B->SetSize(0, 0);
    B->SetSize(H, H);
    FillColor24(*B, clWhite, 100, WholeBitmapRect);
  }
  if (Strip.PixelFormat() != pf32bit || H <= 0) return;
  const TRect F = IntersectRect(NormalizeTRect(FrameRect), BitmapRect(Strip));
  for (int Y = F.Top; Y < F.Bottom && Y - F.Top < H; ++Y) {
    const uint8_t* From = Strip.ScanLine(Y);
    TRGB* ImageRow = RowOf(Image, Y - F.Top);
    TRGB* MaskRow = RowOf(Mask, Y - F.Top);
    for (int X = F.Left; X < F.Right && X - F.Left < H; ++X) {
      const uint8_t* P = From + 4 * X;
      ImageRow[X - F.Left] = {P[0], P[1], P[2]};
      const uint8_t T = static_cast<uint8_t>(255 - P[3]);
      MaskRow[X - F.Left] = {T, T, T};
    }
  }
}

void ScaleNozzlePart(TBitmap& Bitmap, double Scale, bool IsMask) {
  const int W = std::clamp(Round(Bitmap.Width() * Scale), 1, MaxStampSide);
  const int H = std::clamp(Round(Bitmap.Height() * Scale), 1, MaxStampSide);
  StretchBitmapInPlace(W, H, IsMask ? TStretchMode::smBilinear : TStretchMode::smBicubic, Bitmap);
}

void NozzleBrush24(const TBitmap& Strip, int FrameIndex, TBitmap& Dst, TBitmap* DstMask, int X, int Y, int Pressure,
                   double Scale, const TRect& ClipRect) {
  if (Strip.PixelFormat() != pf32bit || Strip.Empty() || Pressure < 1 || !(Scale > 0)) return;
  TRect Clip = ClipRect;
  if (Dst.PixelFormat() != pf24bit || !ClipToBitmap(Clip, Dst)) return;
  const int H = Strip.Height();
  const int Half = Trunc(Scale * (H - 1) / 2);
  const TRect Reach{ClampToInt(int64_t{X} - Half), ClampToInt(int64_t{Y} - Half), ClampToInt(int64_t{X} + Half + 2),
                    ClampToInt(int64_t{Y} + Half + 2)};
  if (IntersectRect(Reach, Clip).IsEmpty()) return;
  TRect Frame{0, 0, H, H};
  const int FrameCount = Strip.Width() / H;
  if (Strip.Width() > H && FrameCount > 0) {
    const int Index = ((FrameIndex % FrameCount) + FrameCount) % FrameCount;
    Frame = OffsetRect(Frame, Index * H, 0);
  }
  TBitmap Image, Mask;
  SplitNozzleFrame32(Strip, Image, Mask, Frame);
  if (Trunc(Scale * 100) != 100) {
    ScaleNozzlePart(Image, Scale, false);
    ScaleNozzlePart(Mask, Scale, true);
  }
  PaintBitmapOnLayer(Image, &Mask, WholeBitmapRect, Dst, UsableMask(DstMask), X - Half, Y - Half, Clip,
                     std::min(Pressure, 100));
}
