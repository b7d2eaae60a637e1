#include "raster/Fill.h"

#include "raster/Bitmap24.h"
#include "raster/ColorFill.h"
#include "raster/RectUtils.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

namespace {

bool Usable(const TBitmap* Bitmap) { return Bitmap && !Bitmap->Empty(); }

// A tolerance counts by its magnitude; INT_MIN's is INT_MAX.
int ToleranceOf(int Tolerance) { return ClampToInt(std::abs(int64_t{Tolerance})); }

// A usable mask must match the bitmap; an unusable one is simply absent.
bool Matches(const TBitmap* Mask, const TBitmap& Bitmap) {
  return !Usable(Mask) ||
         (Mask->PixelFormat() == pf24bit && Mask->Width() == Bitmap.Width() && Mask->Height() == Bitmap.Height());
}

// The working state of one fill. Runs are found and painted one at a time:
// a seed popped from the stack is widened to its whole run, the run painted
// and marked, and one seed pushed for every stretch of fillable pixels
// directly above and below it. The region filled is the 4-connected one,
// as a recursive walk would find it, in whatever order the runs come.
class TFloodFill {
public:
  TFloodFill(TBitmap& Bitmap, const TBitmap* Mask, const TRect& R, TRGB Seed, int Tolerance)
      : FBitmap(Bitmap), FMask(Usable(Mask) ? Mask : nullptr), FR(R), FSeed(Seed), FTolerance(Tolerance),
        FRowBytes((static_cast<size_t>(R.Width()) + 7) / 8), FVisited(FRowBytes * static_cast<size_t>(R.Height()), 0) {}

  // Paint(X1, X2, Y) paints the run X1..X2 (both included) of row Y. False
  // when memory for the seeds ran out before the region was complete.
  template <class F> bool Run(int X, int Y, F&& Paint) {
    try {
      FStack.push_back({X, Y});
      while (!FStack.empty()) {
        const TPoint P = FStack.back();
        FStack.pop_back();
        if (!CanFillPixel(P.X, P.Y)) continue;
        int Left = P.X, Right = P.X;
        while (Left > FR.Left && CanFillPixel(Left - 1, P.Y)) --Left;
        while (Right + 1 < FR.Right && CanFillPixel(Right + 1, P.Y)) ++Right;
        Paint(Left, Right, P.Y);
        MarkVisited(Left, Right, P.Y);
        if (P.Y > FR.Top) PushSeeds(Left, Right, P.Y - 1);
        if (P.Y + 1 < FR.Bottom) PushSeeds(Left, Right, P.Y + 1);
      }
    } catch (const std::bad_alloc&) {
      FStack.clear();
      FStack.shrink_to_fit();
      return false;
    }
    return true;
  }

private:
  // (X, Y) lies in R, is not visited, is close enough to the seed colour and
  // is not fully transparent.
  bool CanFillPixel(int X, int Y) const {
    if (X < FR.Left || X >= FR.Right || Y < FR.Top || Y >= FR.Bottom) return false;
    const size_t Column = static_cast<size_t>(X - FR.Left);
    if (FVisited[FRowBytes * static_cast<size_t>(Y - FR.Top) + Column / 8] & (1u << (Column % 8))) return false;
    if (!TRGBNear(RowOf(FBitmap, Y)[X], FSeed, FTolerance)) return false;
    return !FMask || RowOf(*FMask, Y)[X].Blue < 255;
  }

  void MarkVisited(int X1, int X2, int Y) {
    uint8_t* Row = FVisited.data() + FRowBytes * static_cast<size_t>(Y - FR.Top);
    for (int X = X1; X <= X2; ++X) {
      const size_t Column = static_cast<size_t>(X - FR.Left);
      Row[Column / 8] |= static_cast<uint8_t>(1u << (Column % 8));
    }
  }

  void PushSeeds(int X1, int X2, int Y) {
    for (int X = X1; X <= X2; ++X) {
      if (!CanFillPixel(X, Y)) continue;
      FStack.push_back({X, Y});
      while (X + 1 <= X2 && CanFillPixel(X + 1, Y)) ++X;
    }
  }

  TBitmap& FBitmap;
  const TBitmap* FMask;
  TRect FR;
  TRGB FSeed;
  int FTolerance;
  size_t FRowBytes;
  std::vector<uint8_t> FVisited;
  std::vector<TPoint> FStack;
};

// The fill itself, R already clipped and the masks checked.
int Flood(TBitmap& Bitmap, const TBitmap* Mask, int X, int Y, TColor Color, int Tolerance, int Opacity, const TRect& R,
          TBitmap* OutMask) {
  std::unique_ptr<TFloodFill> Fill;
  try {
    Fill = std::make_unique<TFloodFill>(Bitmap, Mask, R, RowOf(Bitmap, Y)[X], Tolerance);
  } catch (const std::bad_alloc&) {
    return FloodFillFailed;
  }
  bool Complete;
  if (Usable(OutMask)) {
    // Everything is outside until filled.
    FillColor24(*OutMask, clWhite, 100, WholeBitmapRect);
    Complete = Fill->Run(X, Y, [OutMask](int X1, int X2, int Row) {
      FillColor24(*OutMask, clBlack, 100, Rect(X1, Row, X2 + 1, Row + 1));
    });
  } else {
    Complete = Fill->Run(X, Y, [&Bitmap, Color, Opacity](int X1, int X2, int Row) {
      FillColor24(Bitmap, Color, Opacity, Rect(X1, Row, X2 + 1, Row + 1));
    });
  }
  return Complete ? FloodFillDone : FloodFillPartial;
}

// The checks both entry points make; false gives Result.
bool Prepare(const TBitmap& Bitmap, const TBitmap* Mask, const TBitmap* OutMask, int X, int Y, int Opacity,
             const TRect& ClipRect, TRect& R, int& Result) {
  Result = FloodFillDone;
  if (Opacity <= 0) return false;
  R = ClipRect;
  if (!ClipToBitmap(R, Bitmap) || !PtInRect(R, {X, Y})) return false;
  if (Bitmap.PixelFormat() != pf24bit || !Matches(Mask, Bitmap) || !Matches(OutMask, Bitmap)) {
    Result = FloodFillFailed;
    return false;
  }
  return true;
}

} // namespace

int FloodFillEx(TBitmap& Bitmap, const TBitmap* Mask, int X, int Y, TColor Color, int Tolerance, int Opacity,
                const TRect& ClipRect, TBitmap* OutMask) {
  TRect R;
  int Result;
  if (!Prepare(Bitmap, Mask, OutMask, X, Y, Opacity, ClipRect, R, Result)) return Result;
  Opacity = std::min(Opacity, 100);
  // The platform's surface fill: the seed's exact colour, the mask ignored.
  if (Tolerance <= 0 && Opacity == 100 && !OutMask) return Flood(Bitmap, nullptr, X, Y, Color, 0, 100, R, nullptr);
  return Flood(Bitmap, Mask, X, Y, Color, ToleranceOf(Tolerance), Opacity, R, OutMask);
}

int FloodFillTolerance(TBitmap& Bitmap, const TBitmap* Mask, int X, int Y, TColor Color, int Tolerance, int Opacity,
                       const TRect& ClipRect, TBitmap* OutMask) {
  TRect R;
  int Result;
  if (!Prepare(Bitmap, Mask, OutMask, X, Y, Opacity, ClipRect, R, Result)) return Result;
  return Flood(Bitmap, Mask, X, Y, Color, ToleranceOf(Tolerance), std::min(Opacity, 100), R, OutMask);
}

int FloodFillLayerRegion(TBitmap& Bitmap, TBitmap* Mask, int X, int Y, int Tolerance, const TRect& ClipRect,
                         TBitmap& OutMask) {
  if (!PtInRect(BitmapRect(Bitmap), {X, Y})) return FloodFillDone;
  if (!Matches(Mask, Bitmap)) return FloodFillFailed;
  if (Usable(Mask) && RowOf(*Mask, Y)[X].Blue >= 128)
    return FloodFillEx(*Mask, nullptr, X, Y, clNone, Tolerance, 100, ClipRect, &OutMask);
  return FloodFillEx(Bitmap, Mask, X, Y, clNone, Tolerance, 100, ClipRect, &OutMask);
}
