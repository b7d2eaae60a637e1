#include "files/ColorReduction.h"

#include "files/BitmapRows.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>

namespace {

constexpr int HistogramBits = 6;
constexpr int HistogramShift = 8 - HistogramBits;

// The nearest palette entry of a colour: entries sorted by green, searched
// outwards from the colour's green until the green distance alone exceeds
// the best distance; answers are cached by colour.
class TNearestColor {
public:
  explicit TNearestColor(const TPalette& Palette) {
    for (size_t I = 0; I < Palette.size(); ++I) {
      const TPaletteEntry E = Palette[I];
      FEntries.push_back({static_cast<int>((E >> 16) & 0xFF), static_cast<int>((E >> 8) & 0xFF),
                          static_cast<int>(E & 0xFF), static_cast<int>(I)});
    }
    std::sort(FEntries.begin(), FEntries.end(),
              [](const TEntry& A, const TEntry& B) { return A.G != B.G ? A.G < B.G : A.Index < B.Index; });
    FCache.assign(CacheSize, {UINT32_MAX, 0});
  }

  int Find(int R, int G, int B) {
    const uint32_t Key = (static_cast<uint32_t>(R) << 16) | (static_cast<uint32_t>(G) << 8) | static_cast<uint32_t>(B);
    TCacheSlot& Slot = FCache[(Key * 2654435761u) >> (32 - CacheBits)];
    if (Slot.Key == Key) return Slot.Index;
    const int Index = Search(R, G, B);
    Slot = {Key, Index};
    return Index;
  }

private:
  struct TEntry {
    int R, G, B, Index;
  };
  struct TCacheSlot {
    uint32_t Key;
    int Index;
  };
  static constexpr int CacheBits = 16;
  static constexpr size_t CacheSize = size_t{1} << CacheBits;

  int Search(int R, int G, int B) const {
    const size_t Start = static_cast<size_t>(
        std::lower_bound(FEntries.begin(), FEntries.end(), G, [](const TEntry& E, int V) { return E.G < V; }) -
        FEntries.begin());
    int Best = INT_MAX;
    int BestIndex = 0;
    const auto Try = [&](const TEntry& E) {
      const int DR = E.R - R, DG = E.G - G, DB = E.B - B;
      const int D = DR * DR + DG * DG + DB * DB;
      if (D < Best || (D == Best && E.Index < BestIndex)) {
        Best = D;
        BestIndex = E.Index;
      }
    };
    for (size_t J = Start; J < FEntries.size(); ++J) {
      const int DG = FEntries[J].G - G;
      if (DG * DG > Best) break;
      Try(FEntries[J]);
    }
    for (size_t J = Start; J-- > 0;) {
      const int DG = G - FEntries[J].G;
      if (DG * DG > Best) break;
      Try(FEntries[J]);
    }
    return BestIndex;
  }

  std::vector<TEntry> FEntries;
  std::vector<TCacheSlot> FCache;
};

// The distinct colours of the bitmaps in the order met, or an empty list as
// soon as there are more than Limit.
TPalette ExactColors(const std::vector<const TBitmap*>& Bitmaps, int Limit) {
  constexpr size_t TableSize = 1024; // more than four times the largest limit
  std::vector<uint32_t> Table(TableSize, UINT32_MAX);
  TPalette Colors;
  for (const TBitmap* Bitmap : Bitmaps) {
    if (!Bitmap || Bitmap->Empty()) continue;
    TBgrRowReader Reader(*Bitmap);
    for (int Y = 0; Y < Bitmap->Height(); ++Y) {
      const uint8_t* S = Reader.Row(Y);
      for (int X = 0; X < Bitmap->Width(); ++X, S += 3) {
        const uint32_t Key = (static_cast<uint32_t>(S[2]) << 16) | (static_cast<uint32_t>(S[1]) << 8) | S[0];
        size_t Slot = (Key * 2654435761u) >> 22;
        while (Table[Slot] != UINT32_MAX && Table[Slot] != Key) Slot = (Slot + 1) & (TableSize - 1);
        if (Table[Slot] == Key) continue;
        if (static_cast<int>(Colors.size()) == Limit) return {};
        Table[Slot] = Key;
        Colors.push_back(0xFF000000u | Key);
      }
    }
  }
  return Colors;
}

// One occupied cell of the colour histogram.
struct TCell {
  uint32_t Count;
  std::array<uint8_t, 3> Key;  // cell coordinates, red first
  std::array<uint64_t, 3> Sum; // of the 8-bit values, red first
  double Square;               // |Sum|^2 / Count: the cell's share of the squared sum
};

struct TBox {
  size_t Begin, End;
  double Error;
};

double BoxError(const std::vector<TCell>& Cells, size_t Begin, size_t End) {
  uint64_t N = 0;
  std::array<double, 3> S{};
  double Q = 0;
  for (size_t I = Begin; I < End; ++I) {
    N += Cells[I].Count;
    for (int C = 0; C < 3; ++C) S[C] += static_cast<double>(Cells[I].Sum[C]);
    Q += Cells[I].Square;
  }
  return N == 0 ? 0 : Q - (S[0] * S[0] + S[1] * S[1] + S[2] * S[2]) / static_cast<double>(N);
}

// Splits a box along its widest axis at the point that leaves the least
// squared error in the two halves. Returns the split position, or Begin when
// the box cannot be split.
size_t SplitBox(std::vector<TCell>& Cells, const TBox& Box) {
  if (Box.End - Box.Begin < 2) return Box.Begin;
  uint64_t N = 0;
  std::array<double, 3> S{}, S2{};
  for (size_t I = Box.Begin; I < Box.End; ++I) {
    N += Cells[I].Count;
    for (int C = 0; C < 3; ++C) {
      const double V = static_cast<double>(Cells[I].Sum[C]);
      S[C] += V;
      S2[C] += V * V / Cells[I].Count;
    }
  }
  int Axis = 0;
  double Widest = -1;
  for (int C = 0; C < 3; ++C) {
    const double Variance = S2[C] - S[C] * S[C] / static_cast<double>(N);
    if (Variance > Widest) {
      Widest = Variance;
      Axis = C;
    }
  }
  std::sort(Cells.begin() + static_cast<ptrdiff_t>(Box.Begin), Cells.begin() + static_cast<ptrdiff_t>(Box.End),
            [Axis](const TCell& A, const TCell& B) {
              if (A.Key[Axis] != B.Key[Axis]) return A.Key[Axis] < B.Key[Axis];
              return A.Key < B.Key;
            });
  uint64_t N1 = 0;
  std::array<double, 3> S1{};
  double Q1 = 0, QTotal = 0;
  for (size_t I = Box.Begin; I < Box.End; ++I) QTotal += Cells[I].Square;
  size_t Best = Box.Begin;
  double BestError = 0;
  for (size_t I = Box.Begin; I + 1 < Box.End; ++I) {
    N1 += Cells[I].Count;
    for (int C = 0; C < 3; ++C) S1[C] += static_cast<double>(Cells[I].Sum[C]);
    Q1 += Cells[I].Square;
    const double N2 = static_cast<double>(N - N1);
    const double E1 = Q1 - (S1[0] * S1[0] + S1[1] * S1[1] + S1[2] * S1[2]) / static_cast<double>(N1);
    const double D0 = S[0] - S1[0], D1 = S[1] - S1[1], D2 = S[2] - S1[2];
    const double E2 = (QTotal - Q1) - (D0 * D0 + D1 * D1 + D2 * D2) / N2;
    if (Best == Box.Begin || E1 + E2 < BestError) {
      Best = I + 1;
      BestError = E1 + E2;
    }
  }
  return Best;
}

TPalette MedianCut(const std::vector<const TBitmap*>& Bitmaps, int Colors) {
  constexpr size_t CellCount = size_t{1} << (3 * HistogramBits);
  struct TBin {
    uint32_t Count = 0;
    std::array<uint64_t, 3> Sum{};
  };
  std::vector<TBin> Bins(CellCount);
  for (const TBitmap* Bitmap : Bitmaps) {
    if (!Bitmap || Bitmap->Empty()) continue;
    TBgrRowReader Reader(*Bitmap);
    for (int Y = 0; Y < Bitmap->Height(); ++Y) {
      const uint8_t* S = Reader.Row(Y);
      for (int X = 0; X < Bitmap->Width(); ++X, S += 3) {
        const size_t Cell = (static_cast<size_t>(S[2] >> HistogramShift) << (2 * HistogramBits)) |
                            (static_cast<size_t>(S[1] >> HistogramShift) << HistogramBits) |
                            static_cast<size_t>(S[0] >> HistogramShift);
        TBin& B = Bins[Cell];
        ++B.Count;
        B.Sum[0] += S[2];
        B.Sum[1] += S[1];
        B.Sum[2] += S[0];
      }
    }
  }
  std::vector<TCell> Cells;
  constexpr size_t Mask = (size_t{1} << HistogramBits) - 1;
  for (size_t I = 0; I < CellCount; ++I) {
    const TBin& B = Bins[I];
    if (B.Count == 0) continue;
    TCell C{B.Count,
            {static_cast<uint8_t>(I >> (2 * HistogramBits)), static_cast<uint8_t>((I >> HistogramBits) & Mask),
             static_cast<uint8_t>(I & Mask)},
            B.Sum,
            0};
    const double R = static_cast<double>(B.Sum[0]), G = static_cast<double>(B.Sum[1]),
                 Bl = static_cast<double>(B.Sum[2]);
    C.Square = (R * R + G * G + Bl * Bl) / B.Count;
    Cells.push_back(C);
  }
  if (Cells.empty()) return {};

  std::vector<TBox> Boxes{{0, Cells.size(), BoxError(Cells, 0, Cells.size())}};
  while (static_cast<int>(Boxes.size()) < Colors) {
    size_t Pick = Boxes.size();
    for (size_t I = 0; I < Boxes.size(); ++I)
      if (Boxes[I].End - Boxes[I].Begin >= 2 && (Pick == Boxes.size() || Boxes[I].Error > Boxes[Pick].Error)) Pick = I;
    if (Pick == Boxes.size()) break;
    const TBox Box = Boxes[Pick];
    const size_t At = SplitBox(Cells, Box);
    Boxes[Pick] = {Box.Begin, At, BoxError(Cells, Box.Begin, At)};
    Boxes.push_back({At, Box.End, BoxError(Cells, At, Box.End)});
  }

  TPalette Palette;
  for (const TBox& Box : Boxes) {
    uint64_t N = 0;
    std::array<uint64_t, 3> S{};
    for (size_t I = Box.Begin; I < Box.End; ++I) {
      N += Cells[I].Count;
      for (int C = 0; C < 3; ++C) S[C] += Cells[I].Sum[C];
    }
    const auto Mean = [N](uint64_t V) { return static_cast<int>((V + N / 2) / N); };
    Palette.push_back(PaletteEntry(Mean(S[0]), Mean(S[1]), Mean(S[2])));
  }
  return Palette;
}

void NewIndexedBitmap(TBitmap& Bitmap, int Width, int Height, const TPalette& Palette) {
  Bitmap.ReleaseImage();
  Bitmap.Transparent = false;
  Bitmap.SetTransparentColor(clDefault);
  Bitmap.SetPixelFormat(pf8bit);
  Bitmap.SetPalette(Palette);
  Bitmap.Canvas().Brush.Color = PaletteEntryColor(Palette.front());
  Bitmap.SetSize(Width, Height);
}

} // namespace

TPaletteEntry PaletteEntry(int Red, int Green, int Blue) {
  return 0xFF000000u | (static_cast<uint32_t>(Red & 0xFF) << 16) | (static_cast<uint32_t>(Green & 0xFF) << 8) |
         static_cast<uint32_t>(Blue & 0xFF);
}

TColor PaletteEntryColor(TPaletteEntry Entry) { return RGB((Entry >> 16) & 0xFF, (Entry >> 8) & 0xFF, Entry & 0xFF); }

TPalette MonochromePalette() { return {PaletteEntry(0, 0, 0), PaletteEntry(255, 255, 255)}; }

TPalette WindowsGrayPalette() {
  return {PaletteEntry(0, 0, 0), PaletteEntry(128, 128, 128), PaletteEntry(192, 192, 192), PaletteEntry(255, 255, 255)};
}

TPalette Windows20Palette() {
  return {PaletteEntry(0, 0, 0),       PaletteEntry(128, 0, 0),     PaletteEntry(0, 128, 0),
          PaletteEntry(128, 128, 0),   PaletteEntry(0, 0, 128),     PaletteEntry(128, 0, 128),
          PaletteEntry(0, 128, 128),   PaletteEntry(192, 192, 192), PaletteEntry(192, 220, 192),
          PaletteEntry(166, 202, 240), PaletteEntry(255, 251, 240), PaletteEntry(160, 160, 164),
          PaletteEntry(128, 128, 128), PaletteEntry(255, 0, 0),     PaletteEntry(0, 255, 0),
          PaletteEntry(255, 255, 0),   PaletteEntry(0, 0, 255),     PaletteEntry(255, 0, 255),
          PaletteEntry(0, 255, 255),   PaletteEntry(255, 255, 255)};
}

// The first ten static colours, the 6 x 6 x 6 cube without the eight
// corners the static colours already hold, 28 greys between the cube's, and
// the last ten static colours: 256 distinct entries.
TPalette WindowsHalftonePalette() {
  const TPalette Statics = Windows20Palette();
  TPalette P(Statics.begin(), Statics.begin() + 10);
  for (TPaletteEntry E : WebPalette())
    if (std::find(Statics.begin(), Statics.end(), E) == Statics.end()) P.push_back(E);
  for (int V = 4, Greys = 0; Greys < 28; V += 8)
    if (V % 51 != 0) {
      P.push_back(PaletteEntry(V, V, V));
      ++Greys;
    }
  P.insert(P.end(), Statics.begin() + 10, Statics.end());
  return P;
}

TPalette WebPalette() {
  TPalette P;
  for (int R = 0; R < 6; ++R)
    for (int G = 0; G < 6; ++G)
      for (int B = 0; B < 6; ++B) P.push_back(PaletteEntry(51 * R, 51 * G, 51 * B));
  return P;
}

TPalette GrayScalePalette(int Bits) {
  Bits = std::clamp(Bits, 1, 8);
  const int Count = 1 << Bits;
  TPalette P;
  for (int I = 0; I < Count; ++I) {
    const int V = I * 255 / (Count - 1);
    P.push_back(PaletteEntry(V, V, V));
  }
  return P;
}

TPalette OptimizedPalette(const std::vector<const TBitmap*>& Bitmaps, int Colors, bool Windows) {
  Colors = std::clamp(Colors, 1, 256);
  TPalette Fixed;
  if (Windows) {
    Fixed = Windows20Palette();
    if (Colors <= static_cast<int>(Fixed.size())) {
      Fixed.resize(static_cast<size_t>(Colors));
      return Fixed;
    }
    Colors -= static_cast<int>(Fixed.size());
  }
  TPalette Own = ExactColors(Bitmaps, Colors);
  if (Own.empty()) Own = MedianCut(Bitmaps, Colors);
  Fixed.insert(Fixed.end(), Own.begin(), Own.end());
  return Fixed;
}

int NearestPaletteIndex(const TPalette& Palette, TColor Color) {
  if (Palette.empty()) return 0;
  TNearestColor Nearest(Palette);
  const TColor C = ColorToRGB(Color);
  return Nearest.Find(GetRValue(C), GetGValue(C), GetBValue(C));
}

void MapToPalette(const TBitmap& Bitmap, const TPalette& Palette, TDitherMode Dither, TBitmap& Result) {
  if (Palette.empty() || Bitmap.Empty()) {
    Result.ReleaseImage();
    return;
  }
  const int W = Bitmap.Width();
  const int H = Bitmap.Height();
  TBitmap Out;
  NewIndexedBitmap(Out, W, H, TPalette(Palette.begin(), Palette.begin() + std::min<size_t>(Palette.size(), 256)));
  TNearestColor Nearest(Out.Palette());
  TBgrRowReader Reader(Bitmap);
  const TPalette& P = Out.Palette();

  if (Dither == dmNearest) {
    for (int Y = 0; Y < H; ++Y) {
      const uint8_t* S = Reader.Row(Y);
      uint8_t* D = Out.ScanLine(Y);
      for (int X = 0; X < W; ++X, S += 3) D[X] = static_cast<uint8_t>(Nearest.Find(S[2], S[1], S[0]));
    }
  } else {
    // Errors in sixteenths, one guard pixel on each side, red first.
    std::vector<int> This(3 * (static_cast<size_t>(W) + 2)), Next(This.size());
    for (int Y = 0; Y < H; ++Y) {
      const uint8_t* S = Reader.Row(Y);
      uint8_t* D = Out.ScanLine(Y);
      std::fill(Next.begin(), Next.end(), 0);
      for (int X = 0; X < W; ++X, S += 3) {
        int* E = &This[3 * (static_cast<size_t>(X) + 1)];
        int* N = &Next[3 * (static_cast<size_t>(X) + 1)];
        const int V[3] = {std::clamp(S[2] + E[0] / 16, 0, 255), std::clamp(S[1] + E[1] / 16, 0, 255),
                          std::clamp(S[0] + E[2] / 16, 0, 255)};
        const int Index = Nearest.Find(V[0], V[1], V[2]);
        D[X] = static_cast<uint8_t>(Index);
        const TPaletteEntry Chosen = P[static_cast<size_t>(Index)];
        const int Got[3] = {static_cast<int>((Chosen >> 16) & 0xFF), static_cast<int>((Chosen >> 8) & 0xFF),
                            static_cast<int>(Chosen & 0xFF)};
        for (int C = 0; C < 3; ++C) {
          const int Err = V[C] - Got[C];
          E[3 + C] += 7 * Err;
          N[C - 3] += 3 * Err;
          N[C] += 5 * Err;
          N[3 + C] += Err;
        }
      }
      This.swap(Next);
    }
  }
  Result.Swap(Out);
  Result.Transparent = false;
  Result.SetTransparentColor(clDefault);
  Result.Changed();
}

void ReduceColors(const TBitmap& Bitmap, TColorReduction Mode, TDitherMode Dither, int ReductionBits,
                  const TPalette* Palette, TBitmap& Result) {
  const int Bits = std::clamp(ReductionBits, 1, 8);
  TPalette P;
  switch (Mode) {
  case rmNone: {
    const TPixelFormat F = Bitmap.PixelFormat();
    if ((F == pf1bit || F == pf4bit || F == pf8bit) && !Bitmap.Palette().empty())
      P = Bitmap.Palette();
    else
      P = OptimizedPalette({&Bitmap}, 1 << Bits);
    break;
  }
  case rmWindows20:
    P = Windows20Palette();
    break;
  case rmWindows256:
    P = WindowsHalftonePalette();
    break;
  case rmWindowsGray:
    P = WindowsGrayPalette();
    break;
  case rmGrayScale:
    P = GrayScalePalette(Bits);
    break;
  case rmNetscape:
    P = WebPalette();
    break;
  case rmQuantize:
    P = OptimizedPalette({&Bitmap}, 1 << Bits);
    break;
  case rmQuantizeWindows:
    P = OptimizedPalette({&Bitmap}, 1 << Bits, true);
    break;
  case rmPalette:
    if (Palette && !Palette->empty()) P = *Palette;
    break;
  case rmMonochrome:
    break;
  }
  if (P.empty()) P = MonochromePalette();
  MapToPalette(Bitmap, P, Dither, Result);
}
