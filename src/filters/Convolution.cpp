#include "filters/Convolution.h"

#include "filters/Blur24.h"
#include "filters/FilterLoops.h"
#include "filters/TapSums.h"
#include "platform/Rounding.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>

using namespace FilterLoops;

// ---- TFilterMatrix ------------------------------------------------------------

TFilterMatrix::TFilterMatrix(int Width, int Height)
    : FWidth(Width > 0 && Height > 0 ? Width : 0), FHeight(Width > 0 && Height > 0 ? Height : 0) {
  FValues.assign(static_cast<size_t>(FWidth) * FHeight, 0);
}

void TFilterMatrix::Assign(const TFilterMatrix* M) {
  FValues.clear();
  FWidth = FHeight = FDivisor = FOffset = 0;
  if (!M) return;
  FValues = M->FValues;
  FWidth = M->FWidth;
  FHeight = M->FHeight;
  FDivisor = M->FDivisor;
  FOffset = M->FOffset;
}

int32_t TFilterMatrix::CalcDefaultDivisor() const {
  int64_t Sum = 0;
  for (int32_t V : FValues) Sum += V;
  return static_cast<int32_t>(std::clamp<int64_t>(Sum, INT32_MIN, INT32_MAX));
}

void TFilterMatrix::SetRadius(double Radius) {
  if (Radius <= 0 || Radius == std::trunc(Radius)) return;
  const int Side = 2 * Trunc(Radius) + 3;
  if (FWidth != Side || FHeight != Side) return;
  const int Ring = Round((Radius - std::trunc(Radius)) * 10);
  for (int Y = 0; Y < FHeight; ++Y)
    for (int X = 0; X < FWidth; ++X) {
      const bool Outer = X == 0 || Y == 0 || X == FWidth - 1 || Y == FHeight - 1;
      Cell(X, Y) *= Outer ? Ring : 10;
    }
  FDivisor = CalcDefaultDivisor();
}

// ---- Convolution engine -------------------------------------------------------

namespace {

enum class TConvolveMode { Full, Amount, Threshold };

// Writes one row from its sums: Orig holds the unfiltered pixels, Out the
// bitmap's row (still unfiltered).
template <TConvolveMode Mode, class TAcc, class TDiv>
LUMA_VECTOR_CLONES void FinishRow(const TAcc* __restrict Acc, const uint8_t* __restrict Orig, uint8_t* __restrict Out,
                                  int Pixels, TAcc Offset, TDiv Div, int Amount, int Threshold3) {
  if constexpr (Mode == TConvolveMode::Full) {
    for (int C = 0; C < 3 * Pixels; ++C) Out[C] = ClampByte<TAcc>(Offset + Div(Acc[C]));
  } else if constexpr (Mode == TConvolveMode::Amount) {
    for (int C = 0; C < 3 * Pixels; ++C) {
      const TAcc V = Orig[C];
      Out[C] = ClampByte<TAcc>(V + Amount * (Offset + Div(Acc[C]) - V) / 100);
    }
  } else {
    for (int P = 0; P < 3 * Pixels; P += 3) {
      const TAcc N0 = Offset + Div(Acc[P]), N1 = Offset + Div(Acc[P + 1]), N2 = Offset + Div(Acc[P + 2]);
      const TAcc Change = (TAcc{Orig[P]} + Orig[P + 1] + Orig[P + 2]) - (N0 + N1 + N2);
      if ((Change < 0 ? -Change : Change) < Threshold3) continue;
      Out[P] = ClampByte<TAcc>(Orig[P] + (N0 - Orig[P]) * Amount / 100);
      Out[P + 1] = ClampByte<TAcc>(Orig[P + 1] + (N1 - Orig[P + 1]) * Amount / 100);
      Out[P + 2] = ClampByte<TAcc>(Orig[P + 2] + (N2 - Orig[P + 2]) * Amount / 100);
    }
  }
}

// The taps of a matrix, mirrored cells of equal weight paired, as
// (column, row) cells; zero weights dropped.
struct TTapPattern {
  struct TCells {
    int J1, I1, J2, I2;
    int32_t Weight;
  };
  std::vector<TCells> Pairs, Singles;
};

TTapPattern TapPattern(const TFilterMatrix& M) {
  TTapPattern Pattern;
  const int W = M.Width(), H = M.Height();
  for (int I = 0; I < H; ++I)
    for (int J = 0; J < W; ++J) {
      const int MJ = W - 1 - J, MI = H - 1 - I;
      const int Index = J + I * W, Mirror = MJ + MI * W;
      if (Mirror < Index) continue; // met as the first cell of its pair
      const int32_t V = M.Cell(J, I), MV = M.Cell(MJ, MI);
      if (Mirror > Index && V == MV) {
        if (V != 0) Pattern.Pairs.push_back({J, I, MJ, MI, V});
        continue;
      }
      if (V != 0) Pattern.Singles.push_back({J, I, J, I, V});
      if (Mirror > Index && MV != 0) Pattern.Singles.push_back({MJ, MI, MJ, MI, MV});
    }
  return Pattern;
}

template <TConvolveMode Mode, class TAcc, class TDiv>
void ConvolveRows(TBitmap& Bitmap, const TRect& R, const TFilterMatrix& M, TAcc Offset, TDiv Div, int Amount,
                  int Threshold3) {
  const int Rx = (M.Width() - 1) / 2, Ry = (M.Height() - 1) / 2;
  const int Width = R.Width();
  // The tap sums may read TapSlack bytes past a row: the copies carry them.
  TPixelRing Ring(Bitmap, R, Rx, M.Width() - 1 - Rx, Ry, M.Height() - 1 - Ry, (TapSlack + 2) / 3);
  const TTapPattern Pattern = TapPattern(M);
  const int Pairs = static_cast<int>(Pattern.Pairs.size()), Singles = static_cast<int>(Pattern.Singles.size());
  const size_t Channels = static_cast<size_t>(Width) * 3;
  const std::vector<uint8_t> Zeros(Channels + TapSlack, 0);
  std::vector<TTap> Taps(Pairs + Singles);
  std::vector<TAcc> Acc(Channels + TapSlack);
  TProgressScope Progress(R.Height());
  if (!Progress.Begun()) return;
  for (int Y = R.Top; Y < R.Bottom; ++Y) {
    if (!Progress.Step(Y - R.Top)) return;
    Ring.Advance(Y);
    std::transform(Pattern.Pairs.begin(), Pattern.Pairs.end(), Taps.begin(), [&](const TTapPattern::TCells& C) {
      return TTap{Ring.Bytes(C.I1 - Ry) + 3 * C.J1, Ring.Bytes(C.I2 - Ry) + 3 * C.J2, C.Weight};
    });
    std::transform(Pattern.Singles.begin(), Pattern.Singles.end(), Taps.begin() + Pairs,
                   [&](const TTapPattern::TCells& C) {
                     return TTap{Ring.Bytes(C.I1 - Ry) + 3 * C.J1, Zeros.data(), C.Weight};
                   });
    SumTaps(Acc.data(), Channels, Taps.data(), Pairs + Singles);
    FinishRow<Mode, TAcc, TDiv>(Acc.data(), Ring.Bytes(0) + 3 * Rx, Bitmap.ScanLine(Y) + 3 * R.Left, Width, Offset, Div,
                                Amount, Threshold3);
  }
}

// Chooses 32-bit sums when no sum, quotient or amount product can leave
// 32 bits (every kernel the program builds), else 64-bit ones.
template <TConvolveMode Mode>
void ConvolveChecked(TBitmap& Bitmap, const TFilterMatrix& M, int Amount, int Threshold3, TRect R) {
  if (M.Width() < 1 || M.Height() < 1 || !Prepare24(Bitmap, R)) return;
  const int64_t Divisor = M.Divisor() != 0 ? M.Divisor() : 1;
  int64_t Weights = 0;
  for (int32_t V : M.Values()) Weights += std::abs(int64_t{V});
  const int64_t Bound = 255 * Weights;
  const int64_t Filtered = std::abs(int64_t{M.Offset()}) + Bound / std::abs(Divisor) + 255;
  if (Bound < INT32_MAX && Filtered * 500 < INT32_MAX)
    ConvolveRows<Mode, int32_t>(Bitmap, R, M, M.Offset(), TDivider(Divisor, Bound), Amount, Threshold3);
  else
    ConvolveRows<Mode, int64_t>(Bitmap, R, M, int64_t{M.Offset()}, TWideDivider{Divisor}, Amount, Threshold3);
}

} // namespace

void Convolve(TBitmap& Bitmap, const TFilterMatrix& Matrix, int Amount, int Threshold, const TRect& Rect) {
  if (Amount < 1) return;
  Amount = std::min(Amount, 500);
  if (Threshold <= 0)
    ConvolveAmount(Bitmap, Matrix, Amount, Rect);
  else
    ConvolveChecked<TConvolveMode::Threshold>(Bitmap, Matrix, Amount, std::min(Threshold, 255) * 3, Rect);
}

void ConvolveAmount(TBitmap& Bitmap, const TFilterMatrix& Matrix, int Amount, const TRect& Rect) {
  if (Amount == 100)
    ConvolveFull(Bitmap, Matrix, Rect);
  else
    ConvolveChecked<TConvolveMode::Amount>(Bitmap, Matrix, std::clamp(Amount, -500, 500), 0, Rect);
}

void ConvolveFull(TBitmap& Bitmap, const TFilterMatrix& Matrix, const TRect& Rect) {
  ConvolveChecked<TConvolveMode::Full>(Bitmap, Matrix, 100, 0, Rect);
}

// ---- Minimum and maximum --------------------------------------------------------

namespace {

inline int Sum3(const TRGB& P) { return P.Blue + P.Green + P.Red; }

template <bool Greatest> inline bool Better(int Sum, int Best) { return Greatest ? Sum > Best : Sum < Best; }

// Dst[u] := the best pixel of Src[u .. u + 2R] (the first of equal sums), u in
// 0..Count-1, with a queue of candidates kept in window order whose sums
// strictly improve from back to front.
template <bool Greatest>
void SlidingBest(const TRGB* Src, int Count, int R, std::vector<int>& Sums, std::vector<int>& Queue, TRGB* Dst) {
  const int Length = Count + 2 * R;
  for (int J = 0; J < Length; ++J) Sums[J] = Sum3(Src[J]);
  int Head = 0, Tail = 0;
  for (int J = 0; J < Length; ++J) {
    while (Tail > Head && Better<Greatest>(Sums[J], Sums[Queue[Tail - 1]])) --Tail;
    Queue[Tail++] = J;
    if (J < 2 * R) continue;
    const int U = J - 2 * R;
    while (Queue[Head] < U) ++Head;
    Dst[U] = Src[Queue[Head]];
  }
}

// Rows are reduced across first (each unfiltered row as it enters the ring),
// then down the reduced rows: the first best across a row, then the first
// best of the rows, is the first best in window order.
template <bool Greatest> void RankPass(TBitmap& Bitmap, int Rx, int Ry, TRect R) {
  Rx = std::max(Rx, 0);
  Ry = std::max(Ry, 0);
  if ((Rx < 1 && Ry < 1) || !Prepare24(Bitmap, R)) return;
  const int Width = R.Width();
  TRowRing<TRGB> Ring(R.Top, R.Bottom, Ry, Ry, Width);
  std::vector<TRGB> Padded(static_cast<size_t>(Width) + 2 * static_cast<size_t>(Rx));
  std::vector<int> Sums(Padded.size()), Queue(Padded.size());
  auto Load = [&](int Row, TRGB* Dst) {
    LoadPaddedRow(RowOf(Bitmap, Row), R.Left, R.Right, Rx, Rx, Padded.data());
    SlidingBest<Greatest>(Padded.data(), Width, Rx, Sums, Queue, Dst);
  };
  std::vector<TRGB> Best(Width);
  std::vector<int> BestSum(Width);
  TProgressScope Progress(R.Height());
  if (!Progress.Begun()) return;
  for (int Y = R.Top; Y < R.Bottom; ++Y) {
    if (!Progress.Step(Y - R.Top)) return;
    Ring.Advance(Y, Load);
    const TRGB* First = Ring.Row(-Ry);
    for (int U = 0; U < Width; ++U) {
      Best[U] = First[U];
      BestSum[U] = Sum3(First[U]);
    }
    for (int DY = -Ry + 1; DY <= Ry; ++DY) {
      const TRGB* Row = Ring.Row(DY);
      for (int U = 0; U < Width; ++U) {
        const int S = Sum3(Row[U]);
        if (Better<Greatest>(S, BestSum[U])) {
          BestSum[U] = S;
          Best[U] = Row[U];
        }
      }
    }
    std::copy(Best.begin(), Best.end(), RowOf(Bitmap, Y) + R.Left);
  }
}

} // namespace

void MinimumPass24(TBitmap& Bitmap, int Rx, int Ry, const TRect& Rect) { RankPass<false>(Bitmap, Rx, Ry, Rect); }

void MaximumPass24(TBitmap& Bitmap, int Rx, int Ry, const TRect& Rect) { RankPass<true>(Bitmap, Rx, Ry, Rect); }

void Minimum24(TBitmap& Bitmap, int N, const TRect& Rect) {
  MinimumPass24(Bitmap, N, 0, Rect);
  MinimumPass24(Bitmap, 0, N, Rect);
}

void Maximum24(TBitmap& Bitmap, int N, const TRect& Rect) {
  MaximumPass24(Bitmap, N, 0, Rect);
  MaximumPass24(Bitmap, 0, N, Rect);
}

// ---- Median and de-noise ---------------------------------------------------------

namespace {

// A histogram of byte values with a cursor that follows one rank as values
// come and go (the window slides one column at a time).
class TSlidingRank {
public:
  void Reset() {
    FCount.fill(0);
    FMid = FBelow = 0;
  }
  void Add(int V) {
    ++FCount[V];
    FBelow += V < FMid;
  }
  // One value leaves, another enters.
  void Slide(int Out, int In) {
    --FCount[Out];
    ++FCount[In];
    FBelow += (In < FMid) - (Out < FMid);
  }
  // The least value at which the count of values up to it reaches K (1 <= K
  // <= the number of values held).
  int Find(int K) {
    while (FBelow + FCount[FMid] < K) FBelow += FCount[FMid++];
    while (FBelow >= K) FBelow -= FCount[--FMid];
    return FMid;
  }

private:
  std::array<int, 256> FCount{};
  int FMid = 0;
  int FBelow = 0;
};

// The rows of the ring hold the padded pixels, then their brightness bytes.
struct TMedianWindow {
  int Rx, Ry;
  int Half; // n div 2, the rank of the median
  std::vector<const TRGB*> Pixels;
  std::vector<const uint8_t*> Bright;

  // The last pixel of brightness B in window order around column u.
  TRGB LastOfBrightness(int U, int B) const {
    for (int I = 2 * Ry; I >= 0; --I)
      for (int K = U + 2 * Rx; K >= U; --K)
        if (Bright[I][K] == B) return Pixels[I][K];
    return Pixels[Ry][U + Rx]; // not reached: B is a brightness of the window
  }
};

// Slides the window along every row of R; Window is told of the values of
// the first window of a row (Add), then of those that leave and enter as it
// moves (Slide); Apply(Pixel, Original, Win, u) writes the pixel from the
// unfiltered original and the window's state. Counts are 32-bit: a window of
// 2^31 pixels or more does nothing.
template <class TWindow, class TApply>
void SlideWindow(TBitmap& Bitmap, const TRect& R, int Rx, int Ry, TWindow& Window, TApply&& Apply) {
  const int64_t Count = (int64_t{2} * Rx + 1) * (int64_t{2} * Ry + 1);
  if (Count > INT32_MAX) return;
  const int Width = R.Width();
  const size_t Padded = static_cast<size_t>(Width) + 2 * static_cast<size_t>(Rx);
  TRowRing<uint8_t> Ring(R.Top, R.Bottom, Ry, Ry, Padded * 4);
  auto Load = [&](int Row, uint8_t* Dst) {
    auto* Pixels = reinterpret_cast<TRGB*>(Dst);
    LoadPaddedRow(RowOf(Bitmap, Row), R.Left, R.Right, Rx, Rx, Pixels);
    uint8_t* Bright = Dst + 3 * Padded;
    for (size_t K = 0; K < Padded; ++K) Bright[K] = static_cast<uint8_t>(Sum3(Pixels[K]) / 3);
  };
  TMedianWindow Win{Rx, Ry, static_cast<int>(Count / 2), {}, {}};
  Win.Pixels.resize(2 * static_cast<size_t>(Ry) + 1);
  Win.Bright.resize(Win.Pixels.size());
  TProgressScope Progress(R.Height());
  if (!Progress.Begun()) return;
  for (int Y = R.Top; Y < R.Bottom; ++Y) {
    if (!Progress.Step(Y - R.Top)) return;
    Ring.Advance(Y, Load);
    for (int I = 0; I <= 2 * Ry; ++I) {
      Win.Pixels[I] = reinterpret_cast<const TRGB*>(Ring.Row(I - Ry));
      Win.Bright[I] = Ring.Row(I - Ry) + 3 * Padded;
    }
    Window.Reset();
    for (int I = 0; I <= 2 * Ry; ++I)
      for (int K = 0; K <= 2 * Rx; ++K) Window.Add(Win.Pixels[I][K], Win.Bright[I][K]);
    PRGBArray Out = RowOf(Bitmap, Y) + R.Left;
    for (int U = 0; U < Width; ++U) {
      if (U > 0)
        for (int I = 0; I <= 2 * Ry; ++I)
          Window.Slide(Win.Pixels[I][U - 1], Win.Bright[I][U - 1], Win.Pixels[I][U + 2 * Rx],
                       Win.Bright[I][U + 2 * Rx]);
      Apply(Out[U], Win.Pixels[Ry][U + Rx], Win, U);
    }
  }
}

struct TBrightnessWindow {
  TSlidingRank Rank;
  void Reset() { Rank.Reset(); }
  void Add(const TRGB&, uint8_t B) { Rank.Add(B); }
  void Slide(const TRGB&, uint8_t Out, const TRGB&, uint8_t In) { Rank.Slide(Out, In); }
};

struct TChannelWindow {
  TSlidingRank Blue, Green, Red;
  void Reset() {
    Blue.Reset();
    Green.Reset();
    Red.Reset();
  }
  void Add(const TRGB& P, uint8_t) {
    Blue.Add(P.Blue);
    Green.Add(P.Green);
    Red.Add(P.Red);
  }
  void Slide(const TRGB& Out, uint8_t, const TRGB& In, uint8_t) {
    Blue.Slide(Out.Blue, In.Blue);
    Green.Slide(Out.Green, In.Green);
    Red.Slide(Out.Red, In.Red);
  }
};

// v + Amount * (m - v) div 100, clamped.
inline uint8_t Toward(int V, int M, int Amount) { return ClampByte(V + Amount * (M - V) / 100); }

} // namespace

void MedianPass24(TBitmap& Bitmap, int Rx, int Ry, const TRect& Rect) {
  Rx = std::max(Rx, 0);
  Ry = std::max(Ry, 0);
  TRect R = Rect;
  if ((Rx < 1 && Ry < 1) || !Prepare24(Bitmap, R)) return;
  TBrightnessWindow Window;
  SlideWindow(Bitmap, R, Rx, Ry, Window, [&](TRGB& Out, const TRGB&, const TMedianWindow& Win, int U) {
    Out = Win.LastOfBrightness(U, Window.Rank.Find(Win.Half));
  });
}

void Median24(TBitmap& Bitmap, int N, const TRect& Rect) { MedianPass24(Bitmap, N, N, Rect); }

void DeNoiseLum24(TBitmap& Bitmap, int Radius, int Amount, int Threshold, const TRect& Rect) {
  TRect R = Rect;
  if (Radius < 1 || Amount < 1 || !Prepare24(Bitmap, R)) return;
  Amount = std::min(Amount, 500);
  const int Threshold3 = std::min(Threshold, 255) * 3;
  TBrightnessWindow Window;
  SlideWindow(Bitmap, R, Radius, Radius, Window, [&](TRGB& Out, const TRGB& P, const TMedianWindow& Win, int U) {
    const TRGB M = Win.LastOfBrightness(U, Window.Rank.Find(Win.Half));
    if (std::abs(Sum3(P) - Sum3(M)) < Threshold3) return;
    Out = {Toward(P.Blue, M.Blue, Amount), Toward(P.Green, M.Green, Amount), Toward(P.Red, M.Red, Amount)};
  });
}

void DeNoiseRGB24(TBitmap& Bitmap, int Radius, int Amount, int Threshold, const TRect& Rect) {
  TRect R = Rect;
  if (Radius < 1 || Amount < 1 || !Prepare24(Bitmap, R)) return;
  Amount = std::min(Amount, 500);
  Threshold = std::min(Threshold, 255);
  TChannelWindow Window;
  auto Channel = [&](int V, TSlidingRank& Rank, int K) {
    const int M = Rank.Find(K);
    return std::abs(V - M) >= Threshold ? Toward(V, M, Amount) : static_cast<uint8_t>(V);
  };
  SlideWindow(Bitmap, R, Radius, Radius, Window, [&](TRGB& Out, const TRGB& P, const TMedianWindow& Win, int) {
    Out = {Channel(P.Blue, Window.Blue, Win.Half), Channel(P.Green, Window.Green, Win.Half),
           Channel(P.Red, Window.Red, Win.Half)};
  });
}

// ---- Shadows and highlights ----------------------------------------------------

void ToneZoneContrast24(TBitmap& Bitmap, const TBitmap& Blurred, int B1, int B2, int Amount, const TRect& Rect) {
  TRect R = IntersectRect(NormalizeTRect(Rect), BitmapRect(Blurred));
  if (Amount == 0 || B1 == B2 || !Prepare24(Bitmap, R)) return;
  TBitmap Holder;
  const TBitmap& Blur = Source24(Blurred, Holder);
  // The result depends on g and v only: one table row per brightness of the
  // zone, built with the real arithmetic of the formula.
  const int Lo = std::min(B1, B2), Hi = std::max(B1, B2);
  std::vector<TByteTable> Tables(256);
  for (int G = std::max(Lo + 1, 0); G < std::min(Hi, 256); ++G) {
    const double Ratio = static_cast<double>(B2 - G) / (B2 - B1);
    const double K = Amount / 100.0 * 3.97 * (Ratio * Ratio);
    for (int V = 0; V < 256; ++V) Tables[G][V] = ClampByte(Round(V + (V - B1) * K));
  }
  for (int Y = R.Top; Y < R.Bottom; ++Y) {
    PRGBArray Row = RowOf(Bitmap, Y);
    const TRGB* BlurRow = RowOf(Blur, Y);
    for (int X = R.Left; X < R.Right; ++X) {
      const int G = Sum3(BlurRow[X]) / 3;
      if (G <= Lo || G >= Hi) continue;
      const TByteTable& T = Tables[G];
      Row[X] = {T[Row[X].Blue], T[Row[X].Green], T[Row[X].Red]};
    }
  }
}

void ShadowsHighlights24(TBitmap& Bitmap, int ShadowLo, int ShadowHi, int ShadowAmount, int HighLo, int HighHi,
                         int HighAmount, int Radius, const TRect& Rect) {
  TRect R = Rect;
  if (Radius < 1 || !Prepare24(Bitmap, R)) return;
  TBitmap Blurred;
  Blurred.Assign(Bitmap);
  GaussianBlurRadius(Blurred, Radius, R);
  if (HighAmount != 0) ToneZoneContrast24(Bitmap, Blurred, HighLo, HighHi, HighAmount, R);
  if (ShadowAmount != 0) ToneZoneContrast24(Bitmap, Blurred, ShadowLo, ShadowHi, ShadowAmount, R);
}
