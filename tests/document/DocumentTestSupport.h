// Helpers of the document tests: small bitmaps, a fake view that counts what
// the model asks of it, and reference formulas of the pixel rules written
// out plainly (per channel, integer, truncating), so that expected pixels
// never come from the code under test.
#pragma once

#include "document/DocumentServices.h"
#include "document/MyGraphic.h"
#include "raster/Pixels.h"
#include "support/Pixels.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

namespace DocTest {

inline void Solid(TBitmap& B, int W, int H, TRGB C) {
  B.SetPixelFormat(pf24bit);
  B.SetSize(W, H);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) RowOf(B, Y)[X] = C;
}

// Every pixel set from F(X, Y).
inline void Fill(TBitmap& B, int W, int H, const std::function<TRGB(int, int)>& F) {
  Solid(B, W, H, {0, 0, 0});
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) RowOf(B, Y)[X] = F(X, Y);
}

class FakeView : public DocumentView {
public:
  int Invalidates = 0;
  int CursorRefreshes = 0;
  std::vector<TRect> Repainted;
  void Invalidate() override { ++Invalidates; }
  void RepaintBmpRect(const TRect& R) override { Repainted.push_back(R); }
  void RefreshCursor() override { ++CursorRefreshes; }
};

// ---- Reference formulas ---------------------------------------------------------

inline int Clamp255(int V) { return std::clamp(V, 0, 255); }

template <class F> TRGB PerChannel(TRGB A, TRGB B, F Fn) {
  return {uint8_t(Fn(A.Blue, B.Blue)), uint8_t(Fn(A.Green, B.Green)), uint8_t(Fn(A.Red, B.Red))};
}

// d + (r - d) * W div Div per channel.
inline TRGB Weigh(TRGB D, TRGB R, int W, int Div) {
  return PerChannel(D, R, [&](int d, int r) { return d + (r - d) * W / Div; });
}

// A layer pixel R (already blended) merged through a mask byte m at an
// opacity percent, as the compositor weighs it.
inline TRGB MaskOpacity(TRGB D, TRGB R, int M, int Opacity) {
  if (M == 255) return D;
  if (M == 0 && Opacity >= 100) return R;
  return Weigh(D, R, Opacity * (255 - M) / 100, 255);
}

inline TRGB Product(TRGB A, TRGB B) {
  return PerChannel(A, B, [](int a, int b) { return a * b / 255; });
}
inline TRGB Difference(TRGB A, TRGB B) {
  return PerChannel(A, B, [](int a, int b) { return std::abs(b - a); });
}
inline TRGB Screen(TRGB A, TRGB B) {
  return PerChannel(A, B, [](int a, int b) { return 255 - (255 - a) * (255 - b) / 255; });
}

// Toward a colour by a signed percent, clamped: the colour fill.
inline TRGB TowardPercent(TRGB D, TRGB C, int P) {
  return PerChannel(D, C, [&](int d, int c) { return Clamp255(d + (c - d) * P / 100); });
}

// The brightness table.
inline int Brightness(int V, int P) { return Clamp255(P < 0 ? V + V * P / 100 : V + (255 - V) * P / 100); }

// "Over" painting of paint s at alpha A onto a pixel d with mask byte M.
inline void Over(TRGB& D, int& M, TRGB S, int A) {
  if (A <= 0) return;
  A = std::min(A, 255);
  const int Alpha = 255 - M;
  if (Alpha == 0) {
    D = S;
    M = 255 - A;
  } else if (Alpha == 255) {
    D = A >= 255 ? S : Weigh(D, S, A, 255);
  } else if (A == 255) {
    D = S;
    M = 0;
  } else {
    const int C = Clamp255(Alpha + A - Alpha * A / 255);
    M = 255 - C;
    if (C > 0) {
      const int W = A * 255 / C;
      D = W >= 255 ? S : Weigh(D, S, W, 255);
    }
  }
}

} // namespace DocTest
