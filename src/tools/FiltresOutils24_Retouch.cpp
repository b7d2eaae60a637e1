// The engines that rework the pixels already in the footprint: drop, finger,
// deform, art brush, retouch and the magic erasers.
#include "tools/FiltresOutils24.h"

#include "filters/Deform24.h"
#include "filters/Distortions24.h"
#include "filters/Filtres24.h"
#include "filters/FiltresComposes.h"
#include "filters/Patterns24.h"
#include "platform/Rounding.h"
#include "raster/ColorUtils.h"
#include "raster/RandomGen.h"
#include "tools/Footprint.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

// Calls Fn(Col, Row, W) for every disc pixel of the footprint F around
// (X, Y) with its weight (pressure P, the given core), row by row.
template <class TFn> void ForEachDiscPixel(const TRect& F, int X, int Y, int R, int P, int Core, TFn&& Fn) {
  for (int Row = F.Top; Row < F.Bottom; ++Row)
    for (int Col = F.Left; Col < F.Right; ++Col) {
      const int D = FootprintDistance(Col - X, Row - Y);
      if (D < R) Fn(Col, Row, FootprintWeight(P, D, R, Core));
    }
}

// The footprint square of Bitmap copied into a scratch bitmap of its size.
void CopyFootprint(const TBitmap& Bitmap, const TRect& F, TBitmap& Copy) {
  Copy.SetSize(F.Width(), F.Height());
  CopyRect24(Bitmap, F, Copy, 0, 0, WholeBitmapRect);
}

uint8_t ClampByte(int V) { return static_cast<uint8_t>(std::clamp(V, 0, 255)); }

// v := v + W * (t - v) div 100 on each channel.
void MoveToward(TRGB& P, TRGB T, int W) {
  P.Blue = ClampByte(P.Blue + W * (T.Blue - P.Blue) / 100);
  P.Green = ClampByte(P.Green + W * (T.Green - P.Green) / 100);
  P.Red = ClampByte(P.Red + W * (T.Red - P.Red) / 100);
}

// ---- Magic erasers ------------------------------------------------------------

// Source k (0..3) of pixel (x, y) at distance d, clamped to the footprint F:
// radial (Axis 0) or R beyond the circle on the pixel's side or mirrored
// across the centre along the row (1) or column (2), odd k taking the second.
TPoint MagicSource(int Axis, int K, int PX, int PY, int X, int Y, int R, int D, const TRect& F) {
  const auto Along = [K, R](int64_t P, int64_t C) {
    if (P < C) return K % 2 ? 2 * C + R - P : P - R;
    return K % 2 ? P + R : 2 * C - P - R;
  };
  int64_t U = PX, V = PY;
  if (Axis == 1) {
    U = Along(PX, X);
  } else if (Axis == 2) {
    V = Along(PY, Y);
  } else {
    const double A = std::atan2(static_cast<double>(Y - PY), static_cast<double>(PX - X));
    const double B = A + K * std::numbers::pi / 2;
    const double L = static_cast<double>(D) + R;
    U += Round64(L * std::cos(B));
    V -= Round64(L * std::sin(B));
  }
  return {static_cast<int>(std::clamp<int64_t>(U, F.Left, F.Right - 1)),
          static_cast<int>(std::clamp<int64_t>(V, F.Top, F.Bottom - 1))};
}

// Each disc pixel (core R div 2) moves toward the live pixels of the sources
// Ks gives, one after another, each by Share percent of the weight.
template <class TKs>
void MagicEraser(TBitmap& Dst, int X, int Y, int R, int Pressure, int Axis, const TRect& ClipRect, int Share, TKs&& Ks) {
  if (Pressure < 1 || Axis < 0 || Axis > 2) return;
  TRect F;
  if (!FootprintRect(Dst, ClipRect, X, Y, R, F)) return;
  const int P = std::min(Pressure, 100);
  for (int Row = F.Top; Row < F.Bottom; ++Row)
    for (int Col = F.Left; Col < F.Right; ++Col) {
      const int D = FootprintDistance(Col - X, Row - Y);
      if (D >= R) continue;
      const int W = FootprintWeight(P, D, R, R / 2) * Share / 100;
      Ks([&](int K) {
        const TPoint S = MagicSource(Axis, K, Col, Row, X, Y, R, D, F);
        MixPercent(RowOf(Dst, Row)[Col], RowOf(Dst, S.Y)[S.X], W);
      });
    }
}

// ---- Retouch targets -------------------------------------------------------------

// The target of a pixel in the pixel-by-pixel retouch modes.
TRGB RetouchTarget(int Mode, TRGB P, const std::array<uint8_t, 256>& Gamma) {
  const int L = (28 * P.Blue + 150 * P.Green + 77 * P.Red) >> 8;
  switch (Mode) {
  case 0:
  case 1:
    return {Gamma[P.Blue], Gamma[P.Green], Gamma[P.Red]};
  case 2:
  case 3: {
    const double F = Mode == 2 ? -0.2 : 0.1;
    const auto T = [L, F](int V) { return ClampByte(Trunc(V + (V - L) * F)); };
    return {T(P.Blue), T(P.Green), T(P.Red)};
  }
  default: // red eye
    if (P.Red / (P.Blue + 1.0) >= 1.33 && P.Red / (P.Green + 1.0) >= 1.33) P.Red = ClampByte(Round(0.69 * L));
    return P;
  }
}

} // namespace

void DropBrush24(TBitmap& Dst, int X, int Y, int R, int Pressure, const TRect& ClipRect) {
  TRect F;
  if (Pressure <= 0 || !FootprintRect(Dst, ClipRect, X, Y, R, F)) return;
  const int P = std::min(Pressure, 100);
  const int W = F.Width();
  // The current and previous rows as they were; the row below is not yet
  // changed, and at the last row the current row stands for it.
  std::vector<TRGB> Previous(RowOf(Dst, F.Top) + F.Left, RowOf(Dst, F.Top) + F.Right);
  std::vector<TRGB> Current = Previous;
  for (int Row = F.Top; Row < F.Bottom; ++Row) {
    if (Row > F.Top) {
      Previous.swap(Current);
      std::copy(RowOf(Dst, Row) + F.Left, RowOf(Dst, Row) + F.Right, Current.begin());
    }
    const TRGB* Below = Row + 1 < F.Bottom ? RowOf(Dst, Row + 1) + F.Left : Current.data();
    const TRGB* Rows[3] = {Previous.data(), Current.data(), Below};
    TRGB* Line = RowOf(Dst, Row) + F.Left;
    for (int I = 0; I < W; ++I) {
      const int D = FootprintDistance(F.Left + I - X, Row - Y);
      if (D >= R) continue;
      const int Cols[3] = {std::max(I - 1, 0), I, std::min(I + 1, W - 1)};
      int B = 0, G = 0, Rd = 0;
      for (const TRGB* Source : Rows)
        for (int C : Cols) {
          B += Source[C].Blue;
          G += Source[C].Green;
          Rd += Source[C].Red;
        }
      MoveToward(Line[I], {ClampByte(B / 9), ClampByte(G / 9), ClampByte(Rd / 9)}, FootprintWeight(P, D, R, R / 4));
    }
  }
}

void FingerBrush24(TBitmap& Dst, TBitmap* DstMask, int X, int Y, int R, int Pressure, int DX, int DY,
                   const TRect& ClipRect) {
  if (Pressure < 1) return;
  TBitmap* Mask = UsableMask(DstMask);
  TRect Clip = MaskedClip(ClipRect, Mask);
  TRect F;
  if (!FootprintRect(Dst, Clip, X, Y, R, F)) return;
  ClipToBitmap(Clip, Dst);
  const int SX = (DX > 0) - (DX < 0), SY = (DY > 0) - (DY < 0);
  const TRect G = IntersectRect(OffsetRect(F, SX, SY), Clip);
  if (G.IsEmpty()) return;
  TBitmap Copy, MaskCopy;
  CopyFootprint(Dst, G, Copy);
  if (Mask) CopyFootprint(*Mask, G, MaskCopy);
  ForEachDiscPixel(F, X, Y, R, std::min(Pressure, 100), R / 3, [&](int Col, int Row, int W) {
    const int CX = std::clamp(Col - F.Left + SX, 0, Copy.Width() - 1);
    const int CY = std::clamp(Row - F.Top + SY, 0, Copy.Height() - 1);
    MixPercent(RowOf(Dst, Row)[Col], RowOf(Copy, CY)[CX], W);
    if (Mask) MixPercent(RowOf(*Mask, Row)[Col], RowOf(MaskCopy, CY)[CX], W);
  });
}

void DeformBrush24(TBitmap& Dst, int X, int Y, int R, int Pressure, int Mode, const TRect& ClipRect,
                   bool LeftButtonDown) {
  TRect F;
  if (Pressure <= 0 || !FootprintRect(Dst, ClipRect, X, Y, R, F)) return;
  const double Strength = std::min(Pressure, 100) / 100.0;
  TBitmap Copy;
  CopyFootprint(Dst, F, Copy);
  switch (Mode) {
  case 0:
    DeformSpiral24(Copy, LeftButtonDown, WholeBitmapRect, Strength);
    break;
  case 1:
    DeformZoom24(Copy, WholeBitmapRect, Strength);
    break;
  case 2:
  case 3:
    DeformDilate24(Copy, Mode == 2, WholeBitmapRect, Strength);
    break;
  default:
    return; // the square would come back as it was
  }
  CopyRect24(Copy, WholeBitmapRect, Dst, F.Left, F.Top, F);
}

void ArtBrush24(TBitmap& Dst, const TBitmap& Snapshot, int X, int Y, int R, int Pressure, int Mode,
                const TRect& ClipRect, TColor Color1, TColor Color2) {
  TRect F;
  if (Pressure <= 0 || !FootprintRect(Dst, ClipRect, X, Y, R, F)) return;
  const TBitmap& From = Mode == abHue ? Dst : Snapshot;
  if (From.PixelFormat() != pf24bit || From.Width() != Dst.Width() || From.Height() != Dst.Height()) return;
  TBitmap Copy;
  CopyFootprint(From, F, Copy);
  switch (Mode) {
  case abPointillism:
    Pointillism24(Copy, 8, 6, clNone, WholeBitmapRect);
    break;
  case abDiffuse:
    Diffuse24(Copy, 7, 0, WholeBitmapRect);
    break;
  case abSmudge:
    Smudge24(Copy, 1, WholeBitmapRect);
    break;
  case abOilPaint:
    OilPaint24(Copy, 1, WholeBitmapRect);
    break;
  case abPaletteKnife:
    PaletteKnife24(Copy, 1, WholeBitmapRect);
    break;
  case abWatercolor:
    Watercolor24(Copy, 1, true, false, WholeBitmapRect);
    break;
  case abPastels:
    Pastels24(Copy, 5, false, false, WholeBitmapRect);
    break;
  case abGlass:
    Waves24(Copy, 7, 7, false, WholeBitmapRect);
    Waves24(Copy, 7, 7, true, WholeBitmapRect);
    break;
  case abHue:
    HueShift24(Copy, 33, WholeBitmapRect);
    Saturation24(Copy, 7, WholeBitmapRect);
    break;
  case abGrey:
    Grayscale24(Copy, WholeBitmapRect);
    break;
  case abSepia:
    Grayscale24(Copy, WholeBitmapRect);
    GammaRGB24(Copy, 1.2, 1, 0.5, WholeBitmapRect);
    break;
  case abTwoColors:
    if (ColorLuminance(Color2) < ColorLuminance(Color1)) std::swap(Color1, Color2);
    if (ColorLuminance(Color1) > 128) Color1 = MixColors(Color1, clBlack, 50);
    if (ColorLuminance(Color2) < 128) Color2 = MixColors(Color2, clWhite, 50);
    ThresholdTwoColors24(Copy, 128, Color1, Color2, WholeBitmapRect);
    break;
  case abSoften:
    Soften24(Copy, 100, true, WholeBitmapRect);
    break;
  case abSharpen:
    SharpenMore24(Copy, 33, 77, WholeBitmapRect);
    break;
  default:
    return;
  }
  ForEachDiscPixel(F, X, Y, R, std::min(Pressure, 100), R / 3, [&](int Col, int Row, int W) {
    MixPercent(RowOf(Dst, Row)[Col], RowOf(Copy, Row - F.Top)[Col - F.Left], W);
  });
}

void RetouchBrush24(TBitmap& Dst, const TBitmap& Snapshot, int X, int Y, int R, int Pressure, int Mode,
                    const TRect& ClipRect) {
  if (Pressure < 1) return;
  Pressure = std::min(Pressure, 100);
  if (Mode == 4 || Mode == 5) {
    ArtBrush24(Dst, Snapshot, X, Y, R, Pressure, Mode == 4 ? abSoften : abSharpen, ClipRect, clBlack, clWhite);
    return;
  }
  if (Mode >= 7 && Mode <= 9) {
    MagicEraserBrush24(Dst, X, Y, R, Pressure, Mode - 7, ClipRect);
    return;
  }
  if (Mode >= 10 && Mode <= 12) {
    MagicEraserSmoothBrush24(Dst, X, Y, R, Pressure, Mode - 10, ClipRect);
    return;
  }
  TRect F;
  if (Mode < 0 || Mode > 6 || !FootprintRect(Dst, ClipRect, X, Y, R, F)) return;
  std::array<uint8_t, 256> Gamma{};
  if (Mode <= 1)
    for (int V = 0; V < 256; ++V) Gamma[V] = ClampByte(Trunc(255 * std::pow(V / 255.0, Mode == 0 ? 1.13 : 0.88)));
  ForEachDiscPixel(F, X, Y, R, Pressure, R / 2, [&](int Col, int Row, int W) {
    TRGB& P = RowOf(Dst, Row)[Col];
    MoveToward(P, RetouchTarget(Mode, P, Gamma), W);
  });
}

void MagicEraserBrush24(TBitmap& Dst, int X, int Y, int R, int Pressure, int Axis, const TRect& ClipRect) {
  Randomize();
  MagicEraser(Dst, X, Y, R, Pressure, Axis, ClipRect, 100, [](auto&& Use) { Use(Random(4)); });
}

void MagicEraserSmoothBrush24(TBitmap& Dst, int X, int Y, int R, int Pressure, int Axis, const TRect& ClipRect) {
  MagicEraser(Dst, X, Y, R, Pressure, Axis, ClipRect, 33, [](auto&& Use) {
    for (int K = 0; K < 4; ++K) Use(K);
  });
}
