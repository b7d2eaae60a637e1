#include "raster/Shadow.h"

#include "raster/ColorUtils.h"
#include "raster/RandomGen.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <utility>

namespace {

// Whether a band of size S beside Q keeps every coordinate in the int range
// (each ring adds one pixel right and below); larger bands are not drawn.
bool BandFits(const TRect& Q, int S) {
  const int64_t Near = std::min(Q.Right, Q.Bottom), Far = std::max(Q.Right, Q.Bottom);
  return Near + S >= INT_MIN && Far + S <= INT_MAX;
}

// The geometry of both families; Fill(Left, Top, Right, Bottom, Strength)
// darkens or paints one rectangle.
template <class F> void HardShadowRects(const TRect& Q, int S, int P, F&& Fill) {
  if (!BandFits(Q, S)) return;
  Fill(Q.Left, Q.Bottom, Q.Right + S, Q.Bottom + S, P);
  Fill(Q.Right, Q.Top, Q.Right + S, Q.Bottom, P);
}

// One side of a ring along one axis: the run From..End (exclusive) at a
// fixed cross position, fading in over its first four pixels. Pixel(At, V)
// fills one pixel, Run(From, To, V) a run of them. The fade-in never passes
// the end, so a short ring stays inside its band.
template <class FPixel, class FRun> void RingSide(int From, int End, int V, FPixel&& Pixel, FRun&& Run) {
  const int64_t Length = int64_t{End} - From;
  for (int K = 0; K < 4 && K < Length; ++K) Pixel(From + K, V * (2 * (K + 1)) / 10);
  if (Length > 4) Run(From + 4, End, V);
}

template <class F> void ShadowRingRects(const TRect& Q, int V, int LimitX, int LimitY, F&& Fill) {
  if (!BandFits(Q, 1)) return;
  const bool Fading = Q.Right >= LimitX && Q.Bottom >= LimitY;
  const int RowEnd = Fading ? LimitX : Q.Right + 1;
  const int ColumnEnd = Fading ? LimitY : Q.Bottom;
  const int Y = Q.Bottom, X = Q.Right;
  RingSide(
      Q.Left, RowEnd, V, [&](int At, int W) { Fill(At, Y, At + 1, Y + 1, W); },
      [&](int From, int To, int W) { Fill(From, Y, To, Y + 1, W); });
  RingSide(
      Q.Top, ColumnEnd, V, [&](int At, int W) { Fill(X, At, X + 1, At + 1, W); },
      [&](int From, int To, int W) { Fill(X, From, X + 1, To, W); });
  if (!Fading) return;
  // The rounded corner: the row gains one fading pixel per ring past LimitX,
  // the column one per ring past LimitY, the row taking the corner pixel.
  for (int K = 0; K < 4; ++K) {
    const int W = V * (8 - 2 * K) / 10;
    if (Q.Right - LimitX > K - 1) Fill(LimitX + K, Y, LimitX + K + 1, Y + 1, W);
    if (Q.Bottom - LimitY > K) Fill(X, LimitY + K, X + 1, LimitY + K + 1, W);
  }
}

// Extent is the area Fill can change (the bitmap, the canvas' clip).
template <class F> void SoftShadowRects(const TRect& Start, int S, int P, const TRect& Extent, F&& Fill) {
  if (!BandFits(Start, S) || Extent.IsEmpty()) return;
  // Q after K rings.
  auto Grown = [&Start](int64_t K) {
    return TRect{Start.Left, Start.Top, static_cast<int>(Start.Right + K), static_cast<int>(Start.Bottom + K)};
  };
  int64_t Rings = 0;
  if (S > 4) {
    // Ring K lies on row Start.Bottom + K and column Start.Right + K: only
    // the rings whose row or column crosses Extent can change it, and only
    // those are drawn; a size near INT_MAX would otherwise walk billions.
    Rings = S - 4;
    const auto Crossing = [Rings](int64_t From, int64_t To) {
      return std::pair{std::clamp<int64_t>(From, 0, Rings), std::clamp<int64_t>(To, 0, Rings)};
    };
    const auto [RowFrom, RowTo] = Crossing(int64_t{Extent.Top} - Start.Bottom, int64_t{Extent.Bottom} - Start.Bottom);
    const auto [ColumnFrom, ColumnTo] =
        Crossing(int64_t{Extent.Left} - Start.Right, int64_t{Extent.Right} - Start.Right);
    for (int64_t K = std::min(RowFrom, ColumnFrom); K < Rings;) {
      if ((K >= RowFrom && K < RowTo) || (K >= ColumnFrom && K < ColumnTo)) {
        ShadowRingRects(Grown(K), P, ShadowNoLimit, ShadowNoLimit, Fill);
        ++K;
      } else {
        K = std::min(K < RowFrom ? RowFrom : Rings, K < ColumnFrom ? ColumnFrom : Rings);
      }
    }
    S = 4;
  }
  const TRect Q = Grown(Rings);
  const int LimitX = Q.Right, LimitY = Q.Bottom;
  const int Step = P / (S + 1);
  int V = P;
  for (int K = 0; K < S; ++K) {
    V -= Step;
    if (V <= 0) break;
    ShadowRingRects(Grown(Rings + K), V, LimitX, LimitY, Fill);
  }
}

auto BitmapFill(TBitmap& Bitmap) {
  return [&Bitmap](int L, int T, int R, int B, int V) { DarkenRect24(Bitmap, L, T, R, B, V); };
}

auto CanvasFill(TCanvas& Canvas, TColor Color) {
  return [&Canvas, Color](int L, int T, int R, int B, int V) { FillShadowColor(Canvas, L, T, R, B, V, Color); };
}

} // namespace

void DarkenRect24(TBitmap& Bitmap, int Left, int Top, int Right, int Bottom, int P) {
  if (Bitmap.PixelFormat() != pf24bit) return;
  Left = std::max(Left, 0);
  Top = std::max(Top, 0);
  Right = std::min(Right, Bitmap.Width());
  Bottom = std::min(Bottom, Bitmap.Height());
  if (Left >= Right || Top >= Bottom) return;
  for (int Y = Top; Y < Bottom; ++Y) {
    uint8_t* Byte = Bitmap.ScanLine(Y) + static_cast<ptrdiff_t>(Left) * 3;
    uint8_t* const End = Bitmap.ScanLine(Y) + static_cast<ptrdiff_t>(Right) * 3;
    for (; Byte != End; ++Byte) {
      const int64_t B = *Byte;
      *Byte = static_cast<uint8_t>(std::clamp<int64_t>(B - B * P / 100 + Random(7) - 3, 0, 255));
    }
  }
}

void FillShadowColor(TCanvas& Canvas, int Left, int Top, int Right, int Bottom, int P, TColor Color) {
  const TBrush Saved = Canvas.Brush;
  Canvas.Brush.Style = TBrushStyle::bsSolid;
  Canvas.Brush.Color = MixColors(Color, clBlack, P);
  Canvas.FillRect(Rect(Left, Top, Right, Bottom));
  Canvas.Brush = Saved;
}

void HardShadow24(TBitmap& Bitmap, const TRect& Q, int S, int P) { HardShadowRects(Q, S, P, BitmapFill(Bitmap)); }

void HardShadowCanvas(TCanvas& Canvas, const TRect& Q, int S, int P, TColor Color) {
  HardShadowRects(Q, S, P, CanvasFill(Canvas, Color));
}

void ShadowRing24(TBitmap& Bitmap, const TRect& Q, int P, int LimitX, int LimitY) {
  ShadowRingRects(Q, P, LimitX, LimitY, BitmapFill(Bitmap));
}

void ShadowRingCanvas(TCanvas& Canvas, const TRect& Q, int P, int LimitX, int LimitY, TColor Color) {
  ShadowRingRects(Q, P, LimitX, LimitY, CanvasFill(Canvas, Color));
}

void SoftShadow24(TBitmap& Bitmap, const TRect& Q, int S, int P) {
  SoftShadowRects(Q, S, P, Rect(0, 0, Bitmap.Width(), Bitmap.Height()), BitmapFill(Bitmap));
}

void SoftShadowCanvas(TCanvas& Canvas, const TRect& Q, int S, int P, TColor Color) {
  SoftShadowRects(Q, S, P, Canvas.ClipRect(), CanvasFill(Canvas, Color));
}

void DrawBitmapShadow(TBitmap& Bitmap, const TRect& R, int S, int P, bool Soft) {
  if (R.IsEmpty() || S <= 0 || P <= 0 || P > 100 || !BandFits(R, S)) return;
  if (R.Right >= Bitmap.Width() || R.Bottom >= Bitmap.Height()) return;
  const TRect Q{R.Left + S, R.Top + S, R.Right, R.Bottom};
  Randomize();
  if (Soft)
    SoftShadow24(Bitmap, Q, S, P);
  else
    HardShadow24(Bitmap, Q, S, P);
}

void DrawShadow(TCanvas& Canvas, const TRect& R, int S, int P, TColor Color, bool Soft, bool FillCorners) {
  if (R.IsEmpty() || S < 1 || P < 1 || P > 100 || !BandFits(R, S)) return;
  const TRect Q{R.Left + S, R.Top + S, R.Right, R.Bottom};
  if (Soft)
    SoftShadowCanvas(Canvas, Q, S, P, Color);
  else
    HardShadowCanvas(Canvas, Q, S, P, Color);
  if (!FillCorners) return;
  const TBrush Saved = Canvas.Brush;
  Canvas.Brush.Style = TBrushStyle::bsSolid;
  Canvas.Brush.Color = Color;
  Canvas.FillRect(Bounds(R.Right, R.Top, S, S));
  Canvas.FillRect(Bounds(R.Left, R.Bottom, S, S));
  Canvas.Brush = Saved;
}
