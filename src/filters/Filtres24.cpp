#include "filters/Filtres24.h"

#include "filters/Blur24.h"
#include "filters/Convolution.h"
#include "filters/FilterLoops.h"
#include "filters/MatrixConst.h"
#include "raster/Bitmap24.h"
#include "raster/ColorUtils.h"
#include "raster/RandomGen.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

using namespace FilterLoops;

// ---- Preset matrix filters ------------------------------------------------------

void Smooth24(TBitmap& Bitmap, int Amount, const TRect& Rect) { ConvolveMatrix3x3(Bitmap, MatSmooth, Amount, Rect); }

void Soften24(TBitmap& Bitmap, int Amount, bool Strong, const TRect& Rect) {
  ConvolveMatrix3x3(Bitmap, Strong ? MatSoften : MatSoftenMild, Amount, Rect);
}

void ConvolveMatrix3x3(TBitmap& Bitmap, const TMatrix3x3Record& Record, int Amount, const TRect& Rect) {
  Convolve(Bitmap, MatrixFromRecord3x3(Record), Amount, 0, Rect);
}

void SharpenMore24(TBitmap& Bitmap, int Strength, int Amount, const TRect& Rect) {
  Convolve(Bitmap, SharpenMoreMatrix(Strength), Amount, 0, Rect);
}

// ---- Luminance runs -----------------------------------------------------------------

namespace {

// L of a run of pixels, the portable way: the channels are split into
// arrays first so that the double arithmetic runs on whole vectors (same
// operations in the same order as Luminance24; the values are positive, so
// the cast truncates as Trunc does).
constexpr int LuminanceBlock = 256;

inline void LuminanceBlockOf(const uint8_t* __restrict P, int N, uint8_t* __restrict L) {
  uint8_t B[LuminanceBlock], G[LuminanceBlock], R[LuminanceBlock];
  for (int K = 0; K < N; ++K) {
    B[K] = P[3 * K];
    G[K] = P[3 * K + 1];
    R[K] = P[3 * K + 2];
  }
  for (int K = 0; K < N; ++K) L[K] = static_cast<uint8_t>(static_cast<int>((B[K] * 0.11 + G[K] * 0.59) + R[K] * 0.3));
}

LUMA_VECTOR_CLONES void LuminancePlain(const uint8_t* __restrict P, int Count, uint8_t* __restrict L) {
  for (int I = 0; I < Count; I += LuminanceBlock)
    LuminanceBlockOf(P + 3 * I, std::min(LuminanceBlock, Count - I), L + I);
}

LUMA_VECTOR_CLONES void GrayscalePlain(uint8_t* __restrict P, int Count) {
  uint8_t L[LuminanceBlock];
  for (int I = 0; I < Count; I += LuminanceBlock, P += 3 * LuminanceBlock) {
    const int N = std::min(LuminanceBlock, Count - I);
    LuminanceBlockOf(P, N, L);
    for (int K = 0; K < N; ++K) P[3 * K] = P[3 * K + 1] = P[3 * K + 2] = L[K];
  }
}

#ifdef LUMA_X86_VECTORS
// GCC 12 warns falsely about the undefined vectors inside its own intrinsic
// headers once they are inlined here (fixed in GCC 13).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
// With byte permutes, 64 pixels at a time in 16-bit integers: N = 11 B + 59 G
// + 30 R is 100 times the exact luminance, and the double formula, whose
// rounding error stays far below 1 / 100, truncates to N div 100 whenever N
// is not a multiple of 100. Where it is, the double formula decides, since
// its result may fall just below the whole number (grey 23). The tests check
// every colour.
struct TLuminanceVbmi {
  __m512i Low[3], High[3]; // per channel: byte index among the first 128 bytes, or among the last 64
  __mmask64 FromHigh[3];
  __m512i Spread[3]; // L byte of each output byte
};

LUMA_TARGET_VBMI TLuminanceVbmi LuminanceVbmiConstants() {
  TLuminanceVbmi C;
  for (int Ch = 0; Ch < 3; ++Ch) {
    alignas(64) uint8_t Low[64], High[64], Spread[64];
    C.FromHigh[Ch] = 0;
    for (int J = 0; J < 64; ++J) {
      const int Offset = 3 * J + Ch;
      Low[J] = static_cast<uint8_t>(Offset & 127);
      High[J] = static_cast<uint8_t>((Offset - 128) & 63);
      if (Offset >= 128) C.FromHigh[Ch] |= __mmask64{1} << J;
      Spread[J] = static_cast<uint8_t>((64 * Ch + J) / 3);
    }
    C.Low[Ch] = _mm512_load_si512(Low);
    C.High[Ch] = _mm512_load_si512(High);
    C.Spread[Ch] = _mm512_load_si512(Spread);
  }
  return C;
}

// 100 L of 32 pixels from their channels in 16-bit lanes.
LUMA_TARGET_VBMI inline __m512i Weighted(__m256i B, __m256i G, __m256i R) {
  const __m512i WB = _mm512_mullo_epi16(_mm512_cvtepu8_epi16(B), _mm512_set1_epi16(11));
  const __m512i WG = _mm512_mullo_epi16(_mm512_cvtepu8_epi16(G), _mm512_set1_epi16(59));
  const __m512i WR = _mm512_mullo_epi16(_mm512_cvtepu8_epi16(R), _mm512_set1_epi16(30));
  return _mm512_add_epi16(_mm512_add_epi16(WB, WG), WR);
}

// Exact for N <= 25500: N * 41944 >> 22 is N div 100.
LUMA_TARGET_VBMI inline __m512i Div100(__m512i N) {
  return _mm512_srli_epi16(_mm512_mulhi_epu16(N, _mm512_set1_epi16(static_cast<short>(41944))), 6);
}

LUMA_TARGET_VBMI inline __m512i Luminance64(const uint8_t* P, const TLuminanceVbmi& C) {
  const __m512i V0 = _mm512_loadu_si512(P), V1 = _mm512_loadu_si512(P + 64), V2 = _mm512_loadu_si512(P + 128);
  __m512i Ch[3];
  for (int K = 0; K < 3; ++K)
    Ch[K] = _mm512_mask_permutexvar_epi8(_mm512_permutex2var_epi8(V0, C.Low[K], V1), C.FromHigh[K], C.High[K], V2);
  __m512i N[2], Q[2];
  for (int Half = 0; Half < 2; ++Half) {
    N[Half] = Half == 0 ? Weighted(_mm512_castsi512_si256(Ch[0]), _mm512_castsi512_si256(Ch[1]),
                                   _mm512_castsi512_si256(Ch[2]))
                        : Weighted(_mm512_extracti64x4_epi64(Ch[0], 1), _mm512_extracti64x4_epi64(Ch[1], 1),
                                   _mm512_extracti64x4_epi64(Ch[2], 1));
    Q[Half] = Div100(N[Half]);
  }
  __m512i L = _mm512_inserti64x4(_mm512_castsi256_si512(_mm512_cvtepi16_epi8(Q[0])), _mm512_cvtepi16_epi8(Q[1]), 1);
  const uint64_t Whole =
      static_cast<uint64_t>(_mm512_cmpeq_epi16_mask(_mm512_mullo_epi16(Q[0], _mm512_set1_epi16(100)), N[0])) |
      (static_cast<uint64_t>(_mm512_cmpeq_epi16_mask(_mm512_mullo_epi16(Q[1], _mm512_set1_epi16(100)), N[1])) << 32);
  if (Whole == 0) return L;
  alignas(64) uint8_t Bytes[64];
  _mm512_store_si512(Bytes, L);
  for (uint64_t Bits = Whole; Bits; Bits &= Bits - 1) {
    const int J = __builtin_ctzll(Bits);
    Bytes[J] = static_cast<uint8_t>(Luminance24(*reinterpret_cast<const TRGB*>(P + 3 * J)));
  }
  return _mm512_load_si512(Bytes);
}

LUMA_TARGET_VBMI void LuminanceVbmi(const uint8_t* P, int Count, uint8_t* L) {
  const TLuminanceVbmi C = LuminanceVbmiConstants();
  int I = 0;
  for (; I + 64 <= Count; I += 64) _mm512_storeu_si512(L + I, Luminance64(P + 3 * I, C));
  LuminancePlain(P + 3 * I, Count - I, L + I);
}

LUMA_TARGET_VBMI void GrayscaleVbmi(uint8_t* P, int Count) {
  const TLuminanceVbmi C = LuminanceVbmiConstants();
  int I = 0;
  for (; I + 64 <= Count; I += 64, P += 192) {
    const __m512i L = Luminance64(P, C);
    for (int K = 0; K < 3; ++K) _mm512_storeu_si512(P + 64 * K, _mm512_permutexvar_epi8(C.Spread[K], L));
  }
  GrayscalePlain(P, Count - I);
}
#pragma GCC diagnostic pop
#endif

void LuminanceRun(const uint8_t* P, int Count, uint8_t* L) {
  PickKernel(LuminancePlain, nullptr, LUMA_KERNEL(LuminanceVbmi))(P, Count, L);
}

void GrayscaleRun(uint8_t* P, int Count) { PickKernel(GrayscalePlain, nullptr, LUMA_KERNEL(GrayscaleVbmi))(P, Count); }

// Calls Fn(Pixel, L) for every pixel of R with its luminance.
template <class F> void ForEachPixelLuminance(TBitmap& Bitmap, const TRect& R, F&& Fn) {
  std::vector<uint8_t> L(R.Width());
  for (int Y = R.Top; Y < R.Bottom; ++Y) {
    PRGBArray Row = RowOf(Bitmap, Y) + R.Left;
    LuminanceRun(reinterpret_cast<const uint8_t*>(Row), R.Width(), L.data());
    for (int U = 0; U < R.Width(); ++U) Fn(Row[U], L[U]);
  }
}

inline TRGB Grey(int L) {
  const auto V = static_cast<uint8_t>(L);
  return {V, V, V};
}

// The pixel with hue H and the saturation and value of P.
inline TRGB WithHue(const TRGB& P, int H) {
  int Hue, S, V, R, G, B;
  RGBToHSV(P.Red, P.Green, P.Blue, Hue, S, V);
  HSVToRGB(H, S, V, R, G, B);
  return {static_cast<uint8_t>(B), static_cast<uint8_t>(G), static_cast<uint8_t>(R)};
}

inline int Mod360(int64_t A) { return static_cast<int>(((A % 360) + 360) % 360); }

} // namespace

// ---- Grey, negative, posterize, noise ----------------------------------------------

void Grayscale24(TBitmap& Bitmap, const TRect& Rect) {
  TRect R = Rect;
  if (!Prepare24(Bitmap, R)) return;
  for (int Y = R.Top; Y < R.Bottom; ++Y)
    GrayscaleRun(Bitmap.ScanLine(Y) + 3 * static_cast<ptrdiff_t>(R.Left), R.Width());
}

void GrayscaleMode24(TBitmap& Bitmap, int Mode, const TRect& Rect) {
  TRect R = Rect;
  if (Mode < 1 || Mode > 8) {
    Grayscale24(Bitmap, Rect);
    return;
  }
  if (!Prepare24(Bitmap, R)) return;
  ForEachPixel(Bitmap, R, [Mode](TRGB& P) {
    int Level = 0;
    switch (Mode) {
    case 1:
      Level = (P.Blue + P.Green + P.Red) / 3;
      break;
    case 2:
      Level = P.Red;
      break;
    case 3:
      Level = P.Green;
      break;
    case 4:
      Level = P.Blue;
      break;
    case 5:
      Level = std::max({P.Red, P.Green, P.Blue});
      break;
    case 6:
      Level = std::min({P.Red, P.Green, P.Blue});
      break;
    default: {
      int H, S, V;
      RGBToHSV(P.Red, P.Green, P.Blue, H, S, V);
      Level = Mode == 7 ? std::abs(H - 180) * 255 / 180 : S;
    }
    }
    P = Grey(Level);
  });
}

void Negative24(TBitmap& Bitmap, const TRect& Rect) {
  TRect R = Rect;
  if (!Prepare24(Bitmap, R)) return;
  TByteTable T;
  for (int V = 0; V < 256; ++V) T[V] = static_cast<uint8_t>(255 - V);
  ApplyByteTable(Bitmap, R, T);
}

void Posterize24(TBitmap& Bitmap, int Step, const TRect& Rect) {
  TRect R = Rect;
  if (Step < 2 || !Prepare24(Bitmap, R)) return;
  TByteTable T;
  for (int V = 0; V < 256; ++V) T[V] = V < Step ? 0 : (V > 255 - Step ? 255 : static_cast<uint8_t>(Step * (V / Step)));
  ApplyByteTable(Bitmap, R, T);
}

void ColorNoise24(TBitmap& Bitmap, int N, const TRect& Rect) {
  TRect R = Rect;
  if (N <= 0 || !Prepare24(Bitmap, R)) return;
  Randomize();
  const int Half = N / 2;
  auto Noisy = [&](uint8_t V) { return ClampByte(int64_t{V} + Random(N) - Half); };
  ForEachPixel(Bitmap, R, [&](TRGB& P) {
    P.Blue = Noisy(P.Blue);
    P.Green = Noisy(P.Green);
    P.Red = Noisy(P.Red);
  });
}

void MonoNoise24(TBitmap& Bitmap, int N, const TRect& Rect) {
  TRect R = Rect;
  if (N <= 0 || !Prepare24(Bitmap, R)) return;
  Randomize();
  const int Half = N / 2;
  ForEachPixel(Bitmap, R, [&](TRGB& P) {
    const int D = Random(N) - Half;
    P = {ClampByte(P.Blue + D), ClampByte(P.Green + D), ClampByte(P.Red + D)};
  });
}

void Diffuse24(TBitmap& Bitmap, int Distance, int Mode, const TRect& Rect) {
  TRect R = Rect;
  if (Distance <= 0 || !Prepare24(Bitmap, R)) return;
  // Random(2D + 1) must stay within the int range.
  const int D = std::min(Distance, (std::numeric_limits<int>::max() - 1) / 2);
  Randomize();
  TRowRing<TRGB> Ring(R.Top, R.Bottom, D, D, R.Width());
  auto Load = [&](int Row, TRGB* Dst) { std::copy(RowOf(Bitmap, Row) + R.Left, RowOf(Bitmap, Row) + R.Right, Dst); };
  for (int Y = R.Top; Y < R.Bottom; ++Y) {
    Ring.Advance(Y, Load);
    PRGBArray Out = RowOf(Bitmap, Y);
    for (int X = R.Left; X < R.Right; ++X) {
      int DX, DY;
      if (Mode == 4) {
        DX = Random(D + 1);
        DY = Random(D + 1);
      } else if (Mode >= 1 && Mode <= 5) {
        const int Draw = Random(2 * D + 1) - D;
        DX = Mode == 2 ? 0 : Draw;
        DY = Mode == 1 ? 0 : (Mode == 3 ? -Draw : Draw);
      } else {
        DX = Random(2 * D + 1) - D;
        DY = Random(2 * D + 1) - D;
      }
      const int SX = static_cast<int>(std::clamp<int64_t>(int64_t{X} + DX, R.Left, R.Right - 1));
      Out[X] = Ring.Row(DY)[SX - R.Left];
    }
  }
}

void DitherFloydSteinberg24(TBitmap& Bitmap, const TRect& Rect) {
  TRect R = Rect;
  if (!Prepare24(Bitmap, R)) return;
  // Adds E * W div 16 to the grey (blue byte) of a neighbour.
  auto Spread = [](TRGB& P, int E, int W) { P = Grey(ClampByte(P.Blue + E * W / 16)); };
  for (int Y = R.Top; Y < R.Bottom - 1; ++Y) {
    PRGBArray Row = RowOf(Bitmap, Y);
    PRGBArray Below = RowOf(Bitmap, Y + 1);
    for (int X = R.Left + 1; X < R.Right - 1; ++X) {
      const int V = Row[X].Blue;
      const int O = V >= 128 ? 255 : 0;
      Row[X] = Grey(O);
      const int E = V - O;
      Spread(Row[X + 1], E, 7);
      Spread(Below[X - 1], E, 3);
      Spread(Below[X], E, 5);
      Spread(Below[X + 1], E, 1);
    }
  }
}

void HighPass24(TBitmap& Bitmap, int Radius, const TRect& Rect) {
  TRect R = Rect;
  if (!Prepare24(Bitmap, R)) return;
  // The blur reads the rect only, so a copy of the rect blurs the same.
  TBitmap Copy(R.Width(), R.Height(), pf24bit);
  CopyRect24(Bitmap, R, Copy, 0, 0, WholeBitmapRect);
  GaussianBlur(Copy, Radius, 1.0, WholeBitmapRect);
  Negative24(Copy, WholeBitmapRect);
  CopyRect24Opacity(Copy, BitmapRect(Copy), Bitmap, R.Left, R.Top, R, 50);
}

// ---- Emboss ---------------------------------------------------------------------

void EmbossFromSource24(const TBitmap& Src, TBitmap& Dst, int Direction, int Distance, TColor Color,
                        const TRect& Rect) {
  TRect R = IntersectRect(NormalizeTRect(Rect), BitmapRect(Src));
  if (!Prepare24(Dst, R)) return;
  TBitmap Holder;
  const TBitmap& Source = Source24(Src, Holder);
  static constexpr int Offsets[8][2] = {{1, 0}, {1, -1}, {0, -1}, {-1, 1}, {-1, 0}, {1, 1}, {0, 1}, {-1, -1}};
  const int Index = Direction >= 0 && Direction < 7 ? Direction : 7;
  const int64_t DX = int64_t{Offsets[Index][0]} * Distance, DY = int64_t{Offsets[Index][1]} * Distance;
  const TRGB C = ColorToTRGB(Color);
  for (int Y = R.Top; Y < R.Bottom; ++Y) {
    const TRGB* Row = RowOf(Source, Y);
    const int64_t NY = Y + DY;
    const TRGB* Near = NY >= R.Top && NY < R.Bottom ? RowOf(Source, static_cast<int>(NY)) : nullptr;
    PRGBArray Out = RowOf(Dst, Y);
    for (int X = R.Left; X < R.Right; ++X) {
      const TRGB P = Row[X];
      const int64_t NX = X + DX;
      const TRGB N = Near && NX >= R.Left && NX < R.Right ? Near[NX] : P;
      Out[X] = {ClampByte(P.Blue + C.Blue - N.Blue), ClampByte(P.Green + C.Green - N.Green),
                ClampByte(P.Red + C.Red - N.Red)};
    }
  }
}

void Emboss24(TBitmap& Bitmap, int Direction, int Distance, TColor Color, const TRect& Rect) {
  TRect R = Rect;
  if (!Prepare24(Bitmap, R)) return;
  TBitmap Src;
  Src.Assign(Bitmap);
  EmbossFromSource24(Src, Bitmap, Direction, Distance, Color, R);
}

// ---- Tone tables -----------------------------------------------------------------

namespace {

TByteTable BrightnessTable(int P) {
  TByteTable T;
  for (int64_t V = 0; V < 256; ++V)
    T[V] = static_cast<uint8_t>(std::clamp<int64_t>(P < 0 ? V + P * V / 100 : V + (255 - V) * P / 100, 0, 255));
  return T;
}

TByteTable ContrastTable(int P) {
  TByteTable T;
  for (int64_t V = 0; V < 256; ++V) T[V] = static_cast<uint8_t>(std::clamp<int64_t>(V + P * (V - 128) / 100, 0, 255));
  return T;
}

TByteTable GammaTable(double G) {
  TByteTable T;
  for (int V = 0; V < 256; ++V) {
    const double X = 255 * std::pow(V / 255.0, 1 / G);
    T[V] = X <= 0 ? 0 : (X >= 255 ? 255 : static_cast<uint8_t>(Trunc(X)));
  }
  return T;
}

TByteTable LevelsTable(double Gamma, int InLo, int InHi, int OutLo, int OutHi) {
  TByteTable T;
  const int Lo = std::min(OutLo, OutHi), Hi = std::max(OutLo, OutHi);
  for (int V = 0; V < 256; ++V) {
    int Out;
    if (V <= InLo)
      Out = OutLo;
    else if (InHi <= InLo)
      Out = OutHi;
    else
      Out = std::clamp(
          Trunc(OutLo + (OutHi - OutLo) * std::pow(static_cast<double>(V - InLo) / (InHi - InLo), 1 / Gamma)), Lo, Hi);
    T[V] = ClampByte(Out);
  }
  return T;
}

// Applies three channel tables to the clipped rect.
void ApplyTables(TBitmap& Bitmap, const TRect& Rect, const TByteTable& Red, const TByteTable& Green,
                 const TByteTable& Blue) {
  TRect R = Rect;
  if (Prepare24(Bitmap, R)) ApplyByteTables(Bitmap, R, Blue, Green, Red);
}

} // namespace

void Brightness24(TBitmap& Bitmap, int P, const TRect& Rect) {
  if (P != 0) BrightnessRGB24(Bitmap, P, P, P, Rect);
}

void BrightnessRGB24(TBitmap& Bitmap, int PR, int PG, int PB, const TRect& Rect) {
  if (PR == 0 && PG == 0 && PB == 0) return;
  ApplyTables(Bitmap, Rect, BrightnessTable(PR), BrightnessTable(PG), BrightnessTable(PB));
}

void BandBrightnessRGB24(TBitmap& Bitmap, int PR, int PG, int PB, int Lo, int Hi, const TRect& Rect) {
  if (PR == 0 && PG == 0 && PB == 0) return;
  Lo = std::clamp(Lo, 0, 255);
  Hi = std::clamp(Hi, 0, 255);
  if (Lo >= Hi) return;
  auto Band = [&](int P) {
    TByteTable T = BrightnessTable(P);
    for (int V = 0; V < 256; ++V) T[V] = V < Lo || V > Hi ? V : std::clamp<int>(T[V], Lo, Hi);
    return T;
  };
  ApplyTables(Bitmap, Rect, Band(PR), Band(PG), Band(PB));
}

void Contrast24(TBitmap& Bitmap, int P, const TRect& Rect) { ContrastRGB24(Bitmap, P, P, P, Rect); }

void ContrastRGB24(TBitmap& Bitmap, int PR, int PG, int PB, const TRect& Rect) {
  if (PR == 0 && PG == 0 && PB == 0) return;
  ApplyTables(Bitmap, Rect, ContrastTable(PR), ContrastTable(PG), ContrastTable(PB));
}

void BandContrast24(TBitmap& Bitmap, int P, int Lo, int Hi, int Centre, const TRect& Rect) {
  if (P == 0 || Centre < 0 || Centre > 255 || Lo < 0 || Hi > 255 || Lo >= Hi) return;
  TByteTable T;
  for (int64_t V = 0; V < 256; ++V)
    T[V] = static_cast<uint8_t>(V < Lo || V > Hi ? V : std::clamp<int64_t>(V + (V - Centre) * P / 100, Lo, Hi));
  ApplyTables(Bitmap, Rect, T, T, T);
}

void Gamma24(TBitmap& Bitmap, double G, const TRect& Rect) { GammaRGB24(Bitmap, G, G, G, Rect); }

void GammaRGB24(TBitmap& Bitmap, double GR, double GG, double GB, const TRect& Rect) {
  if (GR == 0 || GG == 0 || GB == 0 || (GR == 1 && GG == 1 && GB == 1)) return;
  ApplyTables(Bitmap, Rect, GammaTable(GR), GammaTable(GG), GammaTable(GB));
}

void Levels24(TBitmap& Bitmap, double Gamma, int InLo, int InHi, int OutLo, int OutHi, const TRect& Rect) {
  if (Gamma == 0) return;
  const TByteTable T = LevelsTable(Gamma, InLo, InHi, OutLo, OutHi);
  ApplyTables(Bitmap, Rect, T, T, T);
}

void LevelsRGB24(TBitmap& Bitmap, double GammaR, int InLoR, int InHiR, int OutLoR, int OutHiR, double GammaG, int InLoG,
                 int InHiG, int OutLoG, int OutHiG, double GammaB, int InLoB, int InHiB, int OutLoB, int OutHiB,
                 const TRect& Rect) {
  if (GammaR == 0 || GammaG == 0 || GammaB == 0) return;
  ApplyTables(Bitmap, Rect, LevelsTable(GammaR, InLoR, InHiR, OutLoR, OutHiR),
              LevelsTable(GammaG, InLoG, InHiG, OutLoG, OutHiG), LevelsTable(GammaB, InLoB, InHiB, OutLoB, OutHiB));
}

// ---- Statistics -------------------------------------------------------------------

namespace {

// Calls Fn(Pixel) for every pixel of the clipped rect of a bitmap that is
// only read; false (nothing called) when the rect is empty.
template <class F> bool ReadPixels(const TBitmap& Bitmap, const TRect& Rect, F&& Fn) {
  TRect R = Rect;
  if (!ClipToBitmap(R, Bitmap)) return false;
  TBitmap Holder;
  ForEachPixel(Source24(Bitmap, Holder), R, Fn);
  return true;
}

} // namespace

void ChannelMinMax24(const TBitmap& Bitmap, const TRect& Rect, uint8_t& MinR, uint8_t& MaxR, uint8_t& MinG,
                     uint8_t& MaxG, uint8_t& MinB, uint8_t& MaxB) {
  MinR = MinG = MinB = 255;
  MaxR = MaxG = MaxB = 0;
  ReadPixels(Bitmap, Rect, [&](const TRGB& P) {
    MinR = std::min(MinR, P.Red);
    MaxR = std::max(MaxR, P.Red);
    MinG = std::min(MinG, P.Green);
    MaxG = std::max(MaxG, P.Green);
    MinB = std::min(MinB, P.Blue);
    MaxB = std::max(MaxB, P.Blue);
  });
}

void LuminanceMinMax24(const TBitmap& Bitmap, const TRect& Rect, uint8_t& Min, uint8_t& Max) {
  int Least = 255, Greatest = 0;
  ReadPixels(Bitmap, Rect, [&](const TRGB& P) {
    const int L = Luminance24(P);
    Least = std::min(Least, L);
    Greatest = std::max(Greatest, L);
  });
  Min = static_cast<uint8_t>(Least);
  Max = static_cast<uint8_t>(Greatest);
}

void ChannelMeansInRange24(const TBitmap& Bitmap, const TRect& Rect, int Lo, int Hi, uint8_t& MeanR, uint8_t& MeanG,
                           uint8_t& MeanB) {
  int64_t Sum[3] = {0, 0, 0}, Count[3] = {0, 0, 0};
  auto Take = [&](int Channel, uint8_t V) {
    if (V < Lo || V > Hi) return;
    Sum[Channel] += V;
    ++Count[Channel];
  };
  ReadPixels(Bitmap, Rect, [&](const TRGB& P) {
    Take(0, P.Red);
    Take(1, P.Green);
    Take(2, P.Blue);
  });
  uint8_t* Means[3] = {&MeanR, &MeanG, &MeanB};
  for (int C = 0; C < 3; ++C)
    if (Count[C] > 0) *Means[C] = static_cast<uint8_t>(Sum[C] / Count[C]);
}

void CountToneZones24(const TBitmap& Bitmap, const TRect& Rect, int Lo, int Hi, int& Dark, int& Mid, int& Light) {
  int Counts[3] = {0, 0, 0};
  if (!ReadPixels(Bitmap, Rect, [&](const TRGB& P) {
        const int L = Luminance24(P);
        ++Counts[L < Lo ? 0 : (L <= Hi ? 1 : 2)];
      }))
    return;
  Dark = Counts[0];
  Mid = Counts[1];
  Light = Counts[2];
}

// ---- Colour filters ---------------------------------------------------------------

void ThresholdTwoColors24(TBitmap& Bitmap, int Threshold, TColor DarkColor, TColor LightColor, const TRect& Rect) {
  if (Threshold <= 0 || Threshold >= 255) {
    FillColor24(Bitmap, Threshold <= 0 ? LightColor : DarkColor, 100, Rect);
    return;
  }
  TRect R = Rect;
  if (!Prepare24(Bitmap, R)) return;
  const TRGB Dark = ColorToTRGB(DarkColor), Light = ColorToTRGB(LightColor);
  ForEachPixelLuminance(Bitmap, R, [&](TRGB& P, int L) { P = L > Threshold ? Light : Dark; });
}

void Saturation24(TBitmap& Bitmap, int P, const TRect& Rect) { SaturationRGB24(Bitmap, P, P, P, Rect); }

void SaturationRGB24(TBitmap& Bitmap, int PR, int PG, int PB, const TRect& Rect) {
  TRect R = Rect;
  if ((PR == 0 && PG == 0 && PB == 0) || !Prepare24(Bitmap, R)) return;
  // Beyond +-1000000 % every channel off L is clamped anyway.
  const int64_t Limit = 1000000;
  const int Red = static_cast<int>(std::clamp<int64_t>(PR, -Limit, Limit));
  const int Green = static_cast<int>(std::clamp<int64_t>(PG, -Limit, Limit));
  const int Blue = static_cast<int>(std::clamp<int64_t>(PB, -Limit, Limit));
  auto Move = [](int V, int L, int P) { return ClampByte(V + (V - L) * P / 100); };
  ForEachPixelLuminance(Bitmap, R, [&](TRGB& P, int L) {
    P = {Move(P.Blue, L, Blue), Move(P.Green, L, Green), Move(P.Red, L, Red)};
  });
}

void ColorizeHue24(TBitmap& Bitmap, int Hue, const TRect& Rect) {
  TRect R = Rect;
  if (!Prepare24(Bitmap, R)) return;
  const int H = Mod360(Hue);
  ForEachPixel(Bitmap, R, [H](TRGB& P) { P = WithHue(P, H); });
}

void ColorizeColor24(TBitmap& Bitmap, TColor Color, const TRect& Rect) {
  int H, S, V;
  ColorToHSV(Color, H, S, V);
  ColorizeHue24(Bitmap, H, Rect);
}

namespace {
// The RGBToHSV and HSVToRGB round trip of HueShift24 on a run of N pixels,
// written without branches so that the compiler vectorises it, with the same
// integer steps. The two divisions by a pixel's own spread and value are
// made in single precision: the numerators (at most 65025 in magnitude) and
// divisors are exact, the quotient of at most 255 is rounded by less than
// 255 * 2^-24, while a quotient that is not whole lies at least 1 / 255 from
// an integer, so truncation gives the integer quotient, toward zero as in
// integers.
LUMA_VECTOR_CLONES void ShiftHueRun(uint8_t* P, int N, int Shift) {
  constexpr int Run = 256; // pixels per pass: hue, saturation and value first, then the colours
  int32_t Hue[Run], Sat[Run], Val[Run];
  for (int I0 = 0; I0 < N; I0 += Run) {
    const int K = std::min(Run, N - I0);
    uint8_t* Px = P + 3 * static_cast<ptrdiff_t>(I0);
    for (int I = 0; I < K; ++I) {
      const int B = Px[3 * I], G = Px[3 * I + 1], R = Px[3 * I + 2];
      const int V = std::max(R, std::max(G, B));
      const int Delta = V - std::min(R, std::min(G, B));
      const int Spread = Delta > 0 ? Delta : 1; // grey: any hue, saturation 0 gives (V, V, V) back
      const bool IsR = R == V, IsG = (G == V) & !IsR;
      const int Num = IsR ? G - B : IsG ? B - R : R - G;
      const int Base = IsR ? 0 : IsG ? 120 : 240;
      int H = Base + static_cast<int>(static_cast<float>(Num * 60) / static_cast<float>(Spread));
      H += H < 0 ? 360 : 0;
      int To = H + Shift; // Shift in -359..359
      To += To < 0 ? 360 : 0;
      To -= To >= 360 ? 360 : 0;
      Hue[I] = To;
      Sat[I] = static_cast<int>(static_cast<float>(Delta * 255) / static_cast<float>(V > 0 ? V : 1));
      Val[I] = V;
    }
    for (int I = 0; I < K; ++I) {
      const int V = Val[I], To = Hue[I];
      const int Sector = To / 60, F = To - 60 * Sector;
      const int SV = Sat[I] * V;
      const int Pv = V - SV / 255, Q = V - SV * F / 15300, T = V - SV * (60 - F) / 15300;
      // Which of V, P, Q, T each channel takes: exactly one sector flag is 1.
      const int S0 = Sector == 0, S1 = Sector == 1, S2 = Sector == 2, S3 = Sector == 3, S4 = Sector == 4,
                S5 = Sector == 5;
      Px[3 * I + 2] = static_cast<uint8_t>(V * (S0 + S5) + Q * S1 + Pv * (S2 + S3) + T * S4);
      Px[3 * I + 1] = static_cast<uint8_t>(T * S0 + V * (S1 + S2) + Q * S3 + Pv * (S4 + S5));
      Px[3 * I] = static_cast<uint8_t>(Pv * (S0 + S1) + T * S2 + V * (S3 + S4) + Q * S5);
    }
  }
}
} // namespace

void HueShift24(TBitmap& Bitmap, int Degrees, const TRect& Rect) {
  TRect R = Rect;
  if (Degrees == 0 || !Prepare24(Bitmap, R)) return;
  for (int Y = R.Top; Y < R.Bottom; ++Y)
    ShiftHueRun(Bitmap.ScanLine(Y) + 3 * static_cast<ptrdiff_t>(R.Left), R.Width(), Degrees % 360);
}

void ReplaceColorHue24(TBitmap& Bitmap, TColor Color, TColor NewColor, int Tolerance, const TRect& Rect) {
  TRect R = Rect;
  if (Tolerance < 0 || !Prepare24(Bitmap, R)) return;
  const TRGB Key = ColorToTRGB(Color);
  int H, S, V;
  ColorToHSV(NewColor, H, S, V);
  ForEachPixel(Bitmap, R, [&](TRGB& P) {
    if (std::abs(P.Blue - Key.Blue) <= Tolerance && std::abs(P.Green - Key.Green) <= Tolerance &&
        std::abs(P.Red - Key.Red) <= Tolerance)
      P = WithHue(P, H);
  });
}

void SwapRGB24(TBitmap& Bitmap, int Mode, const TRect& Rect) {
  TRect R = Rect;
  if (!Prepare24(Bitmap, R)) return;
  // Per mode, the old channels (0 red, 1 green, 2 blue) that become the new
  // red, green and blue.
  static constexpr int Sources[5][3] = {{0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
  const int* S = Sources[Mode >= 0 && Mode < 4 ? Mode : 4];
  ForEachPixel(Bitmap, R, [S](TRGB& P) {
    const uint8_t Old[3] = {P.Red, P.Green, P.Blue};
    P = {Old[S[2]], Old[S[1]], Old[S[0]]};
  });
}

void PartialDesat24(TBitmap& Bitmap, TColor Color, float Strength, float Sharpness, bool Invert, const TRect& Rect) {
  TRect R = Rect;
  if (Strength == 0 || !Prepare24(Bitmap, R)) return;
  float K = std::clamp(Sharpness, 1.0f, 8.0f);
  if (Invert) K = 9 - K;
  float Y0, Cb0, Cr0;
  ColorToYCbCr(Color, Y0, Cb0, Cr0);
  auto Weight = [K](float X) { return X == 0 ? 1.0f : std::exp(-K * X * X); };
  auto Sign = [](float X) { return (X > 0) - (X < 0); };
  // Moves one chroma component away from (u > 0) or toward neutral.
  auto Move = [&Sign](float C, float U) {
    const float Moved = C + U * (C - 0.5f);
    return U < 0 && Sign(Moved - 0.5f) != Sign(C - 0.5f) ? 0.5f : Moved;
  };
  ForEachPixel(Bitmap, R, [&](TRGB& P) {
    float Y, Cb, Cr;
    RGBToYCbCr(P.Red, P.Green, P.Blue, Y, Cb, Cr);
    const float W = Weight(Cb - Cb0) * Weight(Cr - Cr0);
    const float U = Invert ? Strength * (1 - W) : Strength * W;
    YCbCrToRGB(Y, Move(Cb, U), Move(Cr, U), P.Red, P.Green, P.Blue);
  });
}

void TintBitmapEx(TBitmap& Bitmap, TColor KeyColor, TColor NewKeyColor, TColor TintColor, int Percent, int Lighten) {
  TRect R = WholeBitmapRect;
  if (Percent <= 0 || !Prepare24(Bitmap, R)) return;
  Percent = std::min(Percent, 100);
  Lighten = std::min(Lighten, 100);
  const TRGB Key = ColorToTRGB(KeyColor), NewKey = ColorToTRGB(NewKeyColor), Tint = ColorToTRGB(TintColor);
  auto Table = [Percent](int C) {
    TByteTable T;
    for (int I = 0; I < 256; ++I) T[I] = static_cast<uint8_t>(I + Percent * (C - I) / 100);
    return T;
  };
  const TByteTable Blue = Table(Tint.Blue), Green = Table(Tint.Green), Red = Table(Tint.Red);
  ForEachPixel(Bitmap, R, [&](TRGB& P) {
    if (TRGBNear(P, Key, 7)) {
      P = NewKey;
      return;
    }
    int L = (P.Blue + P.Green + P.Red) / 3;
    if (Lighten > 0) L += (255 - L) * Lighten / 100;
    P = {Blue[L], Green[L], Red[L]};
  });
}

void TintBitmap(TBitmap& Bitmap, TColor KeyColor, TColor TintColor, int Percent) {
  TintBitmapEx(Bitmap, KeyColor, KeyColor, TintColor, Percent, 0);
}
