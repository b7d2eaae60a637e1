#include "raster/ColorFill.h"

#include "raster/Bitmap24.h"
#include "raster/RectUtils.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

bool Usable(const TBitmap& B) { return B.PixelFormat() == pf24bit && !B.Empty(); }

} // namespace

void FillColor24(TBitmap& Bitmap, TColor Color, int Percent, const TRect& Rect) {
  TRect R = Rect;
  if (Percent == 0 || !Usable(Bitmap) || !ClipToBitmap(R, Bitmap)) return;
  const TRGB C = ColorToTRGB(Color);
  if (Percent >= 100) {
    // The colour itself: one row built once, copied to every row.
    uint8_t* First = Bitmap.ScanLine(R.Top) + 3 * R.Left;
    for (int X = 0; X < R.Right - R.Left; ++X) std::memcpy(First + 3 * X, &C, 3);
    for (int Y = R.Top + 1; Y < R.Bottom; ++Y)
      std::memcpy(Bitmap.ScanLine(Y) + 3 * R.Left, First, 3 * static_cast<size_t>(R.Right - R.Left));
    return;
  }
  if (Percent > 0) {
    // Toward the colour this is an opacity mix with a one-pixel pattern,
    // which the tiling routine does with its vectorised mix. The pattern is
    // kept: flood fills call this once per span.
    thread_local TBitmap Dot(1, 1);
    RowOf(Dot, 0)[0] = C;
    TileBitmap24Opacity(Dot, Bitmap, 0, 0, R, Percent);
    return;
  }
  // Away from it the result leaves 0..255 and is limited. Each byte's result
  // depends only on its value and its channel's colour byte: one table per
  // channel, in pixel byte order.
  Percent = std::max(Percent, -100);
  std::array<std::array<uint8_t, 256>, 3> Table;
  const uint8_t Target[3] = {C.Blue, C.Green, C.Red};
  for (int K = 0; K < 3; ++K)
    for (int V = 0; V < 256; ++V)
      Table[K][V] = static_cast<uint8_t>(std::clamp(V + (Target[K] - V) * Percent / 100, 0, 255));
  const size_t RowBytes = 3 * static_cast<size_t>(R.Right - R.Left);
  for (int Y = R.Top; Y < R.Bottom; ++Y) {
    uint8_t* P = Bitmap.ScanLine(Y) + 3 * R.Left;
    for (size_t I = 0; I < RowBytes; I += 3) {
      P[I] = Table[0][P[I]];
      P[I + 1] = Table[1][P[I + 1]];
      P[I + 2] = Table[2][P[I + 2]];
    }
  }
}

void ReplaceColor24(TBitmap& Bitmap, TColor Color, TColor NewColor, int Tolerance, const TRect& Rect) {
  TRect R = Rect;
  if (Tolerance < 0 || !Usable(Bitmap) || !ClipToBitmap(R, Bitmap)) return;
  const TRGB Key = ColorToTRGB(Color);
  const TRGB New = ColorToTRGB(NewColor);
  auto Near = [Tolerance](int A, int B) { return A - B <= Tolerance && B - A <= Tolerance; };
  for (int Y = R.Top; Y < R.Bottom; ++Y) {
    TRGB* Row = RowOf(Bitmap, Y);
    for (int X = R.Left; X < R.Right; ++X) {
      TRGB& P = Row[X];
      if (Near(P.Blue, Key.Blue) && Near(P.Green, Key.Green) && Near(P.Red, Key.Red)) P = New;
    }
  }
}
