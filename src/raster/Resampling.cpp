#include "raster/Resampling.h"

#include "platform/PixelMemory.h"
#include "platform/Rounding.h"
#include "platform/VectorDispatch.h"
#include "raster/ProgressScope.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <numbers>

// ---- Kernels ---------------------------------------------------------------------
// Single precision in and out, double inside; x^2 is rounded to single where
// it is used again (B-spline, Mitchell).

float BoxFilter(float Value) { return Value > -0.5f && Value <= 0.5f ? 1.0f : 0.0f; }

float TriangleFilter(float Value) {
  const double X = std::fabs(static_cast<double>(Value));
  return X < 1 ? static_cast<float>(1 - X) : 0.0f;
}

float HermiteFilter(float Value) {
  const double X = std::fabs(static_cast<double>(Value));
  return X < 1 ? static_cast<float>((2 * X - 3) * X * X + 1) : 0.0f;
}

float BellFilter(float Value) {
  const double X = std::fabs(static_cast<double>(Value));
  if (X < 0.5) return static_cast<float>(0.75 - X * X);
  if (X < 1.5) {
    const double T = X - 1.5;
    return static_cast<float>(0.5 * T * T);
  }
  return 0.0f;
}

float SplineFilter(float Value) {
  const double X = std::fabs(static_cast<double>(Value));
  const double X2 = static_cast<float>(X * X);
  if (X < 1) return static_cast<float>(0.5 * X2 * X - X2 + 2.0 / 3.0);
  if (X < 2) {
    const double T = 2 - X;
    return static_cast<float>(T * T * T / 6);
  }
  return 0.0f;
}

namespace {
// sin(pi x) / (pi x), pi x rounded to single precision before the sine.
double Sinc(double X) {
  if (X == 0) return 1;
  const float P = static_cast<float>(X * std::numbers::pi);
  return std::sin(static_cast<double>(P)) / P;
}
} // namespace

float Lanczos3Filter(float Value) {
  const double X = std::fabs(static_cast<double>(Value));
  return X < 3 ? static_cast<float>(Sinc(X) * Sinc(X / 3)) : 0.0f;
}

float MitchellFilter(float Value) {
  const double X = std::fabs(static_cast<double>(Value));
  const double X2 = static_cast<float>(X * X);
  if (X < 1) return static_cast<float>((7 * X * X2 - 12 * X2 + 16.0 / 3.0) / 6);
  if (X < 2) return static_cast<float>((-7.0 / 3.0 * X * X2 + 12 * X2 - 20 * X + 32.0 / 3.0) / 6);
  return 0.0f;
}

const TResampleFilter ResampleFilters[ResampleFilterCount] = {
    {"Box", BoxFilter, 0.5f},           {"Triangle", TriangleFilter, 1.0f}, {"Hermite", HermiteFilter, 1.0f},
    {"Bell", BellFilter, 1.5f},         {"B-spline", SplineFilter, 2.0f},   {"Lanczos3", Lanczos3Filter, 3.0f},
    {"Mitchell", MitchellFilter, 2.0f},
};

// ---- Contributors -------------------------------------------------------------------

namespace {

// Kernel values and supports are held within these bounds, so that the
// absolute weights of one pixel add up to less than 2^21 (at most 2 * 64 + 3
// contributors of at most 16 * 256 when enlarging, no more in all when
// reducing) and no sum of weight times channel reaches 2^29.
constexpr float MaxSupport = 64;
constexpr float MaxKernelValue = 16;

float SaneSupport(float Support) { return Support > 0 ? std::min(Support, MaxSupport) : 0.0f; }

double KernelAt(TFilterProc Kernel, double X) {
  const float V = Kernel(static_cast<float>(X));
  return V == V ? std::clamp(V, -MaxKernelValue, MaxKernelValue) : 0.0f;
}

// A contributor index beyond an edge is reflected once (about pixel 0 on the
// left, about the edge itself on the right), then held to the nearest edge
// pixel where one reflection is not enough.
int ReflectIndex(int64_t J, int Size) {
  if (J < 0)
    J = -J;
  else if (J >= Size)
    J = 2 * int64_t(Size) - J - 1;
  return static_cast<int>(std::clamp<int64_t>(J, 0, Size - 1));
}

int64_t FloorIndex(double V) { return static_cast<int64_t>(std::clamp(std::floor(V), -1e15, 1e15)); }
int64_t CeilIndex(double V) { return static_cast<int64_t>(std::clamp(std::ceil(V), -1e15, 1e15)); }

} // namespace

TContributorList BuildContributors(TFilterProc Kernel, float Support, int SrcSize, int DstSize) {
  TContributorList List(static_cast<size_t>(std::max(DstSize, 0)));
  if (SrcSize < 1 || DstSize < 1 || !Kernel) return List;
  Support = SaneSupport(Support);
  // The first and last pixels map onto each other. A single source pixel
  // spreads over the whole destination; a single destination pixel looks at
  // the middle of the source, reduced by the whole source size.
  const bool Single = DstSize == 1 && SrcSize > 1;
  float Scale;
  if (SrcSize == 1)
    Scale = static_cast<float>(DstSize);
  else if (Single)
    Scale = static_cast<float>(1.0 / SrcSize);
  else
    Scale = static_cast<float>(static_cast<double>(DstSize - 1) / (SrcSize - 1));
  const bool Shrinking = Scale < 1;
  const float Width = Shrinking ? static_cast<float>(Support / static_cast<double>(Scale)) : Support;
  for (int I = 0; I < DstSize; ++I) {
    const float Centre = Single ? static_cast<float>((SrcSize - 1) / 2.0) : static_cast<float>(I / double(Scale));
    const int64_t Left = FloorIndex(static_cast<double>(Centre) - Width);
    const int64_t Right = CeilIndex(static_cast<double>(Centre) + Width);
    TContributorEntry& Entry = List[static_cast<size_t>(I)];
    Entry.Contributors.reserve(static_cast<size_t>(std::clamp<int64_t>(Trunc(2.0 * Width + 1), 1, 1024)));
    for (int64_t J = Left; J <= Right; ++J) {
      const double D = static_cast<double>(Centre) - static_cast<double>(J);
      const int Weight =
          Shrinking ? Round(KernelAt(Kernel, D * Scale) * Scale * 256) : Round(KernelAt(Kernel, D) * 256);
      if (Weight != 0) Entry.Contributors.push_back({Weight, ReflectIndex(J, SrcSize)});
    }
    // A reduction so strong that every weight rounds to 0 would leave the
    // pixel black: it takes the source pixel nearest its centre instead.
    if (Entry.Contributors.empty())
      Entry.Contributors.push_back({256, ReflectIndex(FloorIndex(Centre + 0.5), SrcSize)});
    Entry.N = static_cast<int>(Entry.Contributors.size());
  }
  return List;
}

// ---- The two passes ---------------------------------------------------------------------

namespace {

// The weight sum of a destination pixel, with ceil(2^32 / Sum) for a positive
// sum, so that the channel sums are divided by a multiplication.
struct TDivider {
  int Sum = 0;
  uint64_t Inverse = 0;
};

// One channel of a destination pixel: the weighted sum over the weight sum,
// or over 256 when the weights cancel out; limited to 0..255. For a positive
// sum the quotient T * Inverse / 2^32 is the exact one or one more (the sums
// stay below 2^29, see MaxKernelValue), so one test makes it exact.
inline uint8_t Channel(int Total, const TDivider& D) {
  if (D.Sum > 0) {
    const int T = std::clamp(Total, 0, 255 * D.Sum);
    int Q = static_cast<int>((static_cast<uint64_t>(T) * D.Inverse) >> 32);
    Q -= Q * D.Sum > T;
    return static_cast<uint8_t>(Q);
  }
  return static_cast<uint8_t>(std::clamp(D.Sum != 0 ? Total / D.Sum : Total / 256, 0, 255));
}

// The four channels of a destination pixel (blue, green, red and an unused
// one) side by side.
typedef int32_t TLanes __attribute__((vector_size(16)));
typedef int64_t TWideLanes __attribute__((vector_size(32)));

// Channel for the four lanes at once, for a positive weight sum.
inline TLanes Channels(TLanes Total, const TDivider& D) {
  const TLanes Max = TLanes{} + 255 * D.Sum;
  TLanes T = Total & (Total >= 0); // a true comparison is all ones
  T = (T & (T <= Max)) | (Max & (T > Max));
  const TWideLanes Product = __builtin_convertvector(T, TWideLanes) * static_cast<int64_t>(D.Inverse);
  TLanes Q = __builtin_convertvector(Product >> 32, TLanes);
  return Q + (Q * D.Sum > T); // one less where the quotient was one too many
}

// The contributor lists of one axis laid out in one array for the pixel loops,
// with the weight sum of each destination pixel.
struct TFlatContributors {
  std::vector<size_t> First; // entries of pixel i: First[i] .. First[i + 1] - 1
  std::vector<TContributor> Items;
  std::vector<TDivider> Divider;

  explicit TFlatContributors(const TContributorList& List) {
    First.reserve(List.size() + 1);
    Divider.reserve(List.size());
    First.push_back(0);
    for (const TContributorEntry& E : List) {
      int S = 0;
      for (int K = 0; K < E.N; ++K) {
        Items.push_back(E.Contributors[static_cast<size_t>(K)]);
        S += E.Contributors[static_cast<size_t>(K)].Weight;
      }
      Divider.push_back(
          {S, S > 0 ? ((uint64_t{1} << 32) + static_cast<uint64_t>(S) - 1) / static_cast<uint64_t>(S) : 0});
      First.push_back(Items.size());
    }
  }
};

// The contributors of the horizontal pass taken two at a time: two source
// pixels and their weights as two 16-bit halves (the first in the low half).
// A pixel's odd last contributor is paired with a zero weight. Weights stay
// within -4096..4096 (MaxKernelValue x 256), so they fit.
struct TPairedContributors {
  struct TPair {
    int32_t Weights;
    int32_t A, B;
  };
  std::vector<size_t> First; // pairs of pixel i: First[i] .. First[i + 1] - 1
  std::vector<TPair> Pairs;

  explicit TPairedContributors(const TFlatContributors& C) {
    const size_t Count = C.Divider.size();
    First.reserve(Count + 1);
    First.push_back(0);
    for (size_t I = 0; I < Count; ++I) {
      for (size_t P = C.First[I]; P < C.First[I + 1]; P += 2) {
        const TContributor A = C.Items[P];
        const TContributor B = P + 1 < C.First[I + 1] ? C.Items[P + 1] : TContributor{0, A.Pixel};
        Pairs.push_back(
            {static_cast<int32_t>((static_cast<uint32_t>(A.Weight) & 0xFFFF) | (static_cast<uint32_t>(B.Weight) << 16)),
             A.Pixel, B.Pixel});
      }
      First.push_back(Pairs.size());
    }
  }
};

// The work arrays of the calling thread: one source row as four 16-bit
// integers a pixel (blue, green, red, 0) in the horizontal pass, the channel
// sums of a strip of one destination row in the vertical pass. Emptied at the
// end of every call.
struct TWorkArrays {
  std::vector<int16_t> Pixels;
  std::vector<int> Sums;
};
thread_local TWorkArrays Work;

struct TWorkRelease {
  ~TWorkRelease() {
    Work.Pixels.clear();
    Work.Pixels.shrink_to_fit();
    Work.Sums.clear();
    Work.Sums.shrink_to_fit();
  }
};

// Columns of the vertical pass done together: their sums stay in the first
// level cache while the contributing rows stream through.
constexpr int Strip = 512;

// The two inner loops are built for each vector level and chosen at start
// (platform/VectorDispatch.h): the same integer results either way.

// One row of the horizontal pass: Pixels is the source row, four 16-bit
// integers a pixel; Out receives DstW pixels. The channel sums are those of
// the contributors one by one: integers, added in any order.
LUMA_VECTOR_CLONES void FilterRow(const int16_t* Pixels, const TPairedContributors& C,
                                  const std::vector<TDivider>& Dividers, int DstW, uint8_t* Out) {
  const TPairedContributors::TPair* Pairs = C.Pairs.data();
  for (int I = 0; I < DstW; ++I) {
    const size_t From = C.First[static_cast<size_t>(I)], To = C.First[static_cast<size_t>(I) + 1];
#if defined(LUMA_X86_VECTORS)
    // Two pixels' channels interleaved, times their two weights, added in
    // pairs: one multiply-add for two contributors.
    __m128i Sum = _mm_setzero_si128();
    for (size_t P = From; P < To; ++P) {
      const __m128i A = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(Pixels + 4 * Pairs[P].A));
      const __m128i B = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(Pixels + 4 * Pairs[P].B));
      Sum = _mm_add_epi32(Sum, _mm_madd_epi16(_mm_unpacklo_epi16(A, B), _mm_set1_epi32(Pairs[P].Weights)));
    }
    TLanes Acc;
    std::memcpy(&Acc, &Sum, sizeof Acc);
#else
    TLanes Acc = {0, 0, 0, 0};
    for (size_t P = From; P < To; ++P) {
      const int WA = static_cast<int16_t>(Pairs[P].Weights & 0xFFFF), WB = Pairs[P].Weights >> 16;
      for (int Ch = 0; Ch < 3; ++Ch) Acc[Ch] += WA * Pixels[4 * Pairs[P].A + Ch] + WB * Pixels[4 * Pairs[P].B + Ch];
    }
#endif
    const TDivider& D = Dividers[static_cast<size_t>(I)];
    uint8_t* O = Out + 3 * static_cast<size_t>(I);
    if (D.Sum > 0) {
      const TLanes Q = Channels(Acc, D);
      O[0] = static_cast<uint8_t>(Q[0]);
      O[1] = static_cast<uint8_t>(Q[1]);
      O[2] = static_cast<uint8_t>(Q[2]);
    } else {
      for (int Ch = 0; Ch < 3; ++Ch) O[Ch] = Channel(Acc[Ch], D);
    }
  }
}

// N bytes of destination row I of the vertical pass, from the work rows
// starting at Work (Stride bytes apart) at the same offset.
LUMA_VECTOR_CLONES void FilterStrip(const uint8_t* WorkBits, size_t Stride, const TFlatContributors& C, int I, int N,
                                    int* Sums, uint8_t* Out) {
  std::fill(Sums, Sums + N, 0);
  for (size_t P = C.First[static_cast<size_t>(I)]; P < C.First[static_cast<size_t>(I) + 1]; ++P) {
    const TContributor K = C.Items[P];
    const uint8_t* In = WorkBits + Stride * static_cast<size_t>(K.Pixel);
    for (int T = 0; T < N; ++T) Sums[T] += K.Weight * In[T];
  }
  const TDivider& D = C.Divider[static_cast<size_t>(I)];
  for (int T = 0; T < N; ++T) Out[T] = Channel(Sums[T], D);
}

} // namespace

void Resample(TFilterProc Kernel, float Support, const TBitmap& Src, TBitmap& Dst) {
  if (!Kernel || Src.PixelFormat() != pf24bit || Dst.PixelFormat() != pf24bit) return;
  const int SrcW = Src.Width(), SrcH = Src.Height(), DstW = Dst.Width(), DstH = Dst.Height();
  if (SrcW <= 0 || SrcH <= 0 || DstW <= 0 || DstH <= 0) return;
  if (&Src == &Dst) {
    TBitmap Copy;
    Copy.Assign(Src);
    Resample(Kernel, Support, Copy, Dst);
    return;
  }
  TProgressScope Progress(2 * int64_t(DstW) + SrcH + DstH);
  if (!Progress.Begun()) return;
  TWorkRelease Release;

  // The columns' contributors, one progress step each.
  const TContributorList Columns = BuildContributors(Kernel, Support, SrcW, DstW);
  for (int I = 0; I < DstW; ++I)
    if (!Progress.Step(I)) return;
  const TFlatContributors FlatX(Columns);
  const TPairedContributors CX(FlatX);

  // Horizontal pass: every source row into the DstW x SrcH work bitmap.
  const size_t WorkStride = 3 * static_cast<size_t>(DstW);
  // Rows of 3 * DstW bytes, unpadded.
  const TPixelBuffer WorkBits = MakePixelBuffer(int64_t(WorkStride) * SrcH);
  Work.Pixels.assign(4 * static_cast<size_t>(SrcW), 0);
  int16_t* const Pixels = Work.Pixels.data();
  for (int K = 0; K < SrcH; ++K) {
    if (!Progress.Step(int64_t(DstW) + K)) return;
    const TRGB* Row = RowOf(Src, K);
    for (int X = 0; X < SrcW; ++X) {
      Pixels[4 * X] = Row[X].Blue;
      Pixels[4 * X + 1] = Row[X].Green;
      Pixels[4 * X + 2] = Row[X].Red;
    }
    FilterRow(Pixels, CX, FlatX.Divider, DstW, WorkBits.get() + WorkStride * static_cast<size_t>(K));
  }

  // The rows' contributors.
  const TContributorList Rows = BuildContributors(Kernel, Support, SrcH, DstH);
  for (int I = 0; I < DstH; ++I)
    if (!Progress.Step(int64_t(DstW) + SrcH + I)) return;
  const TFlatContributors CY(Rows);

  // Vertical pass, column by column as far as progress and a cancel can tell:
  // the columns of a strip are reported, then computed together row by row.
  Work.Sums.resize(3 * static_cast<size_t>(std::min(DstW, Strip)));
  int* const Sums = Work.Sums.data();
  const int64_t Base = int64_t(DstW) + SrcH + DstH;
  for (int K0 = 0; K0 < DstW; K0 += Strip) {
    int K1 = std::min(DstW, K0 + Strip);
    for (int K = K0; K < K1; ++K)
      if (!Progress.Step(Base + K)) K1 = K;
    const int N = 3 * (K1 - K0);
    for (int I = 0; I < DstH && N > 0; ++I)
      FilterStrip(WorkBits.get() + 3 * static_cast<size_t>(K0), WorkStride, CY, I, N, Sums,
                  Dst.ScanLine(I) + 3 * static_cast<size_t>(K0));
    if (!Progress.Going()) return;
  }
}

void ResampleBitmapInPlace(int W, int H, uint8_t Filter, float Support, TBitmap& Bitmap) {
  if (Filter >= ResampleFilterCount) return;
  if (Support == 0) Support = ResampleFilters[Filter].Support;
  TBitmap Temp(std::max(W, 0), std::max(H, 0), pf24bit);
  Bitmap.SetPixelFormat(pf24bit);
  Resample(ResampleFilters[Filter].Filter, Support, Bitmap, Temp);
  // The result is moved, not copied: Temp's state is that of a fresh bitmap.
  Bitmap.Swap(Temp);
  Bitmap.Changed();
}

void ResampleBitmap(int W, int H, uint8_t Filter, float Support, TBitmap& Src, TBitmap& Dst) {
  if (Filter >= ResampleFilterCount) return;
  if (&Src == &Dst) {
    ResampleBitmapInPlace(W, H, Filter, Support, Src);
    return;
  }
  if (Support == 0) Support = ResampleFilters[Filter].Support;
  Dst.ReleaseImage();
  Dst.SetPixelFormat(pf24bit);
  Dst.SetSize(W, H);
  Src.SetPixelFormat(pf24bit);
  Resample(ResampleFilters[Filter].Filter, Support, Src, Dst);
}
