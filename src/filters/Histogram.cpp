#include "filters/Histogram.h"

#include "filters/Filtres24.h"
#include "platform/Rounding.h"
#include "raster/Pixels.h"
#include "raster/RectUtils.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

bool ComputeHistogram(const TBitmap& Bitmap, const TRect& Rect, THistogram& H) {
  H = THistogram{};
  TRect R = Rect;
  if (Bitmap.PixelFormat() != pf24bit || !ClipToBitmap(R, Bitmap)) return false;
  auto& [L, Red, Green, Blue] = H.Counts;
  for (int Y = R.Top; Y < R.Bottom; ++Y) {
    const TRGB* Row = RowOf(Bitmap, Y);
    for (int X = R.Left; X < R.Right; ++X) {
      const TRGB P = Row[X];
      ++Red[P.Red];
      ++Green[P.Green];
      ++Blue[P.Blue];
      ++L[std::max({P.Red, P.Green, P.Blue})];
    }
  }
  H.NbPixels = R.Width() * R.Height();
  ComputeHistoStats(H);
  return true;
}

void ComputeHistoStats(THistogram& H) {
  for (int C = 0; C < 4; ++C) {
    const std::array<int, 256>& Count = H.Counts[C];
    int64_t Sum = 0;
    for (int I = 0; I < 256; ++I) Sum += int64_t(I) * Count[I];
    H.Moyenne[C] = H.NbPixels > 0 ? double(Sum) / H.NbPixels : 0.0;
    H.Maximums[C] = std::max(1, *std::max_element(Count.begin(), Count.begin() + 255));
    const int Half = H.NbPixels / 2;
    int64_t Running = 0;
    H.Mediane[C] = 0;
    for (int I = 0; I < 256 && Running < Half; ++I) {
      H.Mediane[C] = I;
      Running += Count[I];
    }
  }
}

namespace {

TRGB ToRGB(TColor C) {
  const TColor V = ColorToRGB(C);
  return {GetBValue(V), GetGValue(V), GetRValue(V)};
}

// Frame around View, Inside everywhere within it.
void FrameAndFill(TBitmap& View, TColor Frame, TColor Inside) {
  const TRGB F = ToRGB(Frame), I = ToRGB(Inside);
  const int W = View.Width(), H = View.Height();
  for (int Y = 0; Y < H; ++Y) {
    TRGB* Row = RowOf(View, Y);
    for (int X = 0; X < W; ++X) Row[X] = (X == 0 || Y == 0 || X == W - 1 || Y == H - 1) ? F : I;
  }
}

int BinOfColumn(int X, double Scale) { return std::clamp(int(std::trunc((X - 1) / Scale)), 0, 255); }

} // namespace

void DrawHistogramBars(TBitmap& View, const std::array<int, 256>& Counts, int Maximum, double Scale, TColor Pen,
                       TColor Frame) {
  if (View.PixelFormat() != pf24bit || View.Width() < 3 || View.Height() < 3 || Scale <= 0) return;
  FrameAndFill(View, Frame, clWhite);
  const int H = View.Height();
  const TRGB Ink = ToRGB(Pen);
  const int64_t Max = std::max(1, Maximum);
  for (int X = 1; X <= View.Width() - 2; ++X) {
    const int64_t Bar = int64_t(H - 4) * Counts[BinOfColumn(X, Scale)] / Max;
    const int Top = int(std::max<int64_t>(0, H - Bar - 1));
    for (int Y = Top; Y < H - 1; ++Y) RowOf(View, Y)[X] = Ink;
  }
}

void DrawGreyRamp(TBitmap& Strip, double Scale, TColor Frame) {
  if (Strip.PixelFormat() != pf24bit || Strip.Width() < 3 || Strip.Height() < 3 || Scale <= 0) return;
  FrameAndFill(Strip, Frame, clWhite);
  for (int Y = 1; Y < Strip.Height() - 1; ++Y) {
    TRGB* Row = RowOf(Strip, Y);
    for (int X = 1; X <= Strip.Width() - 2; ++X) {
      const auto G = uint8_t(BinOfColumn(X, Scale));
      Row[X] = {G, G, G};
    }
  }
}

bool THistoLevels::Identity() const { return Gamma == 1.0 && InLo == 0 && InHi == 255 && OutLo == 0 && OutHi == 255; }

bool ChannelsChanged(const THistoChannels& Channels, int Kind) {
  const int First = Kind == 2 ? 1 : 0, Last = Kind == 1 ? 0 : 3;
  for (int C = First; C <= Last; ++C)
    if (!Channels[C].Identity()) return true;
  return false;
}

double GammaFromMiddle(int B, int P, int W) {
  const int M = (B + W) / 2, DL = M - B, DH = W - M;
  double Gamma = 1.0;
  if (P < M) {
    if (DL == 0) return 1.0;
    const double T = 3.0 * (M - P) / DL;
    Gamma = T * T + 1.0;
  } else if (P > M) {
    if (DH == 0) return 1.0;
    Gamma = 1.0 - 0.9 * (P - M) / DH;
  }
  return std::clamp(Round(Gamma * 100.0) / 100.0, 0.1, 10.0);
}

int MiddleFromGamma(double Gamma, int B, int W) {
  const int M = (B + W) / 2, DL = M - B, DH = W - M;
  if (Gamma > 1.0) return Round(M - std::sqrt(Gamma - 1.0) / 3.0 * DL);
  if (Gamma < 1.0) return Round(M + (1.0 - Gamma) / 0.9 * DH);
  return M;
}

void WidenInputRange(int& InLo, int& InHi) {
  if (InHi - InLo >= 3) return;
  if (InLo < 128)
    InHi = InLo + 3;
  else
    InLo = InHi - 3;
}

void ApplyHistogLevels(TBitmap& Bitmap, const TRect& Rect, const THistoChannels& Channels) {
  TRect R = Rect;
  if (!ClipToBitmap(R, Bitmap)) return;
  THistoChannels C = Channels;
  for (THistoLevels& L : C) WidenInputRange(L.InLo, L.InHi);
  if (ChannelsChanged(Channels, 1)) {
    const THistoLevels& L = C[0];
    Levels24(Bitmap, L.Gamma, L.InLo, L.InHi, L.OutLo, L.OutHi, R);
  }
  if (ChannelsChanged(Channels, 2))
    LevelsRGB24(Bitmap, C[1].Gamma, C[1].InLo, C[1].InHi, C[1].OutLo, C[1].OutHi, C[2].Gamma, C[2].InLo, C[2].InHi,
                C[2].OutLo, C[2].OutHi, C[3].Gamma, C[3].InLo, C[3].InHi, C[3].OutLo, C[3].OutHi, R);
}
