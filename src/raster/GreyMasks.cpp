#include "raster/GreyMasks.h"

#include "platform/Rounding.h"
#include "raster/Bitmap24.h"
#include "raster/FoncUtils.h"
#include "raster/ProgressScope.h"
#include "raster/RandomGen.h"
#include "raster/RectUtils.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <vector>

namespace {

bool Usable(const TBitmap& B) { return B.PixelFormat() == pf24bit && !B.Empty(); }

// Rect clipped to a usable mask; false when there is nothing to do.
bool ClipMask(TRect& R, const TBitmap& Mask) { return Usable(Mask) && ClipToBitmap(R, Mask); }

constexpr TRGB Grey(uint8_t V) { return {V, V, V}; }

// A bitmap read while another is written: a copy of it when it is that
// bitmap itself, or when it is not 24-bit (then converted).
class TReadCopy {
public:
  TReadCopy(const TBitmap& Read, const TBitmap& Written) : FBitmap(&Read) {
    if (&Read == &Written || Read.PixelFormat() != pf24bit) {
      Assign24(Read, FCopy);
      FBitmap = &FCopy;
    }
  }
  const TBitmap& operator*() const { return *FBitmap; }

private:
  TBitmap FCopy;
  const TBitmap* FBitmap;
};

// ---- Rolling copies of mask rows ----------------------------------------------------
// The first bytes of the rows of R as they were, copied in order as they are
// first needed, Count rows at a time. Each copy has a -1 on either side and
// rows outside R read as all -1, so that a 3 x 3 neighbourhood needs no bound
// tests: -1 means "outside R".
class TRowCopies {
public:
  TRowCopies(const TBitmap& Mask, const TRect& R, int Count)
      : FMask(Mask), FR(R), FSpan(static_cast<size_t>(R.Width()) + 2), FCount(Count), FNext(R.Top),
        FData(static_cast<size_t>(Count) * FSpan, -1), FOutside(FSpan, -1) {}

  // Copies the rows up to Y not copied yet.
  void CopyUpTo(int Y) {
    for (; FNext <= Y && FNext < FR.Bottom; ++FNext) {
      int16_t* D = Slot(FNext) + 1;
      const TRGB* S = RowOf(FMask, FNext) + FR.Left;
      for (int X = 0; X < FR.Width(); ++X) D[X] = S[X].Blue;
    }
  }
  // Row Y indexed by x - R.Left, valid from -1 to R's width.
  const int16_t* Row(int Y) const {
    if (Y < FR.Top || Y >= FR.Bottom) return FOutside.data() + 1;
    return FData.data() + static_cast<size_t>((Y - FR.Top) % FCount) * FSpan + 1;
  }

private:
  int16_t* Slot(int Y) { return FData.data() + static_cast<size_t>((Y - FR.Top) % FCount) * FSpan; }

  const TBitmap& FMask;
  TRect FR;
  size_t FSpan;
  int FCount;
  int FNext;
  std::vector<int16_t> FData;
  std::vector<int16_t> FOutside;
};

// Marks the pixels of R for which IsMarked(centre, up, down, left, right)
// holds on the mask as it was (-1 for a neighbour outside R), and paints Value
// into Dst over the square around every marked pixel (x, y) from (x - Back,
// y - Back) to (x + Ahead, y + Ahead), both included, clipped to R and Dst.
// The squares are gathered row by row (a mark spreads along its row, then each
// column remembers the last row that reached it), so the work does not grow
// with their size; Dst may be the mask itself.
template <class MarkFn>
void MarkAndPaint(const TBitmap& Mask, TBitmap& Dst, const TRect& R, int Back, int Ahead, TRGB Value, MarkFn IsMarked) {
  const int W = R.Width(), H = R.Height();
  // Reaches beyond the rectangle's size paint the same as its size.
  const int BackX = std::min(Back, W), AheadX = std::min(Ahead, W);
  const int BackY = std::min(Back, H), AheadY = std::min(Ahead, H);
  const int PaintW = std::clamp(Dst.Width() - R.Left, 0, W);
  const int PaintBottom = std::min(R.Bottom, Dst.Height());
  TRowCopies Rows(Mask, R, 3);
  std::vector<int> Spread(static_cast<size_t>(W) + 1);
  std::vector<int> LastRow(static_cast<size_t>(W), INT_MIN);
  for (int B = R.Top; B < R.Bottom + BackY; ++B) {
    if (B < R.Bottom) {
      Rows.CopyUpTo(B + 1);
      const int16_t* Up = Rows.Row(B - 1);
      const int16_t* Cur = Rows.Row(B);
      const int16_t* Down = Rows.Row(B + 1);
      bool Any = false;
      std::fill(Spread.begin(), Spread.end(), 0);
      for (int X = 0; X < W; ++X)
        if (IsMarked(Cur[X], Up[X], Down[X], Cur[X - 1], Cur[X + 1])) {
          ++Spread[static_cast<size_t>(std::max(X - BackX, 0))];
          --Spread[static_cast<size_t>(std::min(X + AheadX, W - 1)) + 1];
          Any = true;
        }
      for (int X = 0, Run = 0; Any && X < W; ++X)
        if ((Run += Spread[static_cast<size_t>(X)]) > 0) LastRow[static_cast<size_t>(X)] = B;
    }
    const int O = B - BackY;
    if (O < R.Top || O >= PaintBottom) continue;
    const int Since = B - BackY - AheadY;
    TRGB* D = RowOf(Dst, O) + R.Left;
    for (int X = 0; X < PaintW; ++X)
      if (LastRow[static_cast<size_t>(X)] >= Since) D[X] = Value;
  }
}

// A neighbour that is transparent, or outside R (-1).
inline bool ClearOrOutside(int V) { return V == 255 || V < 0; }

// Opaque or partly so, with a transparent 4-neighbour; Outside says whether a
// neighbour outside R counts as transparent (shrinking) or as the pixel itself
// (growing, which then never makes it a boundary).
template <bool Outside> bool Boundary(int C, int U, int D, int L, int R) {
  const auto T = [](int V) { return Outside ? ClearOrOutside(V) : V == 255; };
  return C != 255 && (T(U) || T(D) || T(L) || T(R));
}

// ---- Plasma clouds --------------------------------------------------------------------

constexpr int MaxCloudGrid = 16383;

class TCloudGrid {
public:
  explicit TCloudGrid(int N) : FN(N), FCells(static_cast<size_t>(N + 1) * static_cast<size_t>(N + 1), 0) {}
  uint8_t& At(int X, int Y) {
    return FCells[static_cast<size_t>(X) * static_cast<size_t>(FN + 1) + static_cast<size_t>(Y)];
  }

  void Generate() {
    // The corners, in this order of draws, then the recursive subdivision.
    At(0, FN) = static_cast<uint8_t>(Random(192));
    At(FN, FN) = static_cast<uint8_t>(Random(192));
    At(FN, 0) = static_cast<uint8_t>(Random(192));
    At(0, 0) = static_cast<uint8_t>(Random(192));
    Subdivide(0, 0, FN, FN);
  }

private:
  // A target not yet set takes the mean of A and B moved by a random offset
  // in proportion to their distance; a shared edge is displaced once.
  void Displace(int TX, int TY, int AX, int AY, int BX, int BY) {
    uint8_t& T = At(TX, TY);
    if (T != 0) return;
    const int Offset = Round((RandomFloat() - 0.5) * (std::abs(AX - BX) + std::abs(AY - BY)));
    T = static_cast<uint8_t>(std::clamp((At(AX, AY) + At(BX, BY)) / 2 + 4 * Offset, 1, 192));
  }

  void Subdivide(int X1, int Y1, int X2, int Y2) {
    if (X2 - X1 < 2 && Y2 - Y1 < 2) return;
    const int XM = (X1 + X2) / 2, YM = (Y1 + Y2) / 2;
    Displace(XM, Y1, X1, Y1, X2, Y1);
    Displace(X2, YM, X2, Y1, X2, Y2);
    Displace(XM, Y2, X1, Y2, X2, Y2);
    Displace(X1, YM, X1, Y1, X1, Y2);
    uint8_t& Centre = At(XM, YM);
    if (Centre == 0) Centre = static_cast<uint8_t>((At(X1, Y1) + At(X2, Y1) + At(X2, Y2) + At(X1, Y2)) / 4);
    Subdivide(X1, Y1, XM, YM);
    Subdivide(XM, Y1, X2, YM);
    Subdivide(XM, YM, X2, Y2);
    Subdivide(X1, YM, XM, Y2);
  }

  int FN;
  std::vector<uint8_t> FCells;
};

// The grid index of each position from First to Last - 1: it moves one cell at
// every even absolute position and turns back at 0 and N.
std::vector<int> MirroredIndices(int First, int Last, int N) {
  std::vector<int> Index;
  Index.reserve(static_cast<size_t>(Last - First));
  int Pos = 0, Step = 1;
  for (int P = First; P < Last; ++P) {
    if (P % 2 == 0) {
      Pos += Step;
      if (Pos == N)
        Step = -1;
      else if (Pos == 0)
        Step = 1;
    }
    Index.push_back(Pos);
  }
  return Index;
}

// ---- Masks from a colour ----------------------------------------------------------------

// Mask := WhenNear where Src is within Tolerance of Color, WhenFar elsewhere;
// -1 leaves the mask pixel as it is.
void MaskByColor(const TBitmap& SrcIn, TBitmap& Mask, TColor Color, int Tolerance, int WhenNear, int WhenFar,
                 const TRect& Rect) {
  TRect R = Rect;
  if (Tolerance < 0 || !ClipToBitmap(R, SrcIn)) return;
  const TReadCopy Src(SrcIn, Mask);
  Mask.SetPixelFormat(pf24bit);
  if (Mask.Width() != (*Src).Width() || Mask.Height() != (*Src).Height()) Mask.SetSize((*Src).Width(), (*Src).Height());
  const TRGB Key = ColorToTRGB(Color);
  const auto Near = [Tolerance](int A, int B) { return std::abs(A - B) <= Tolerance; };
  for (int Y = R.Top; Y < R.Bottom; ++Y) {
    const TRGB* S = RowOf(*Src, Y);
    TRGB* M = RowOf(Mask, Y);
    for (int X = R.Left; X < R.Right; ++X) {
      const TRGB P = S[X];
      const int V = Near(P.Blue, Key.Blue) && Near(P.Green, Key.Green) && Near(P.Red, Key.Red) ? WhenNear : WhenFar;
      if (V >= 0) M[X] = Grey(static_cast<uint8_t>(V));
    }
  }
}

// ---- Combining --------------------------------------------------------------------------

// Dst := Src's pixel where its first byte is larger, Src's pixel for (x, y)
// being (Columns[x - R.Left], SourceRow(y)).
template <class RowFn>
void CombineMax(const TBitmap& SrcIn, TBitmap& Dst, const TRect& R, const std::vector<int>& Columns, RowFn SourceRow) {
  const TReadCopy Src(SrcIn, Dst);
  for (int Y = R.Top; Y < R.Bottom; ++Y) {
    const TRGB* S = RowOf(*Src, SourceRow(Y));
    TRGB* D = RowOf(Dst, Y) + R.Left;
    for (int I = 0; I < R.Width(); ++I) {
      const TRGB P = S[Columns[static_cast<size_t>(I)]];
      if (D[I].Blue < P.Blue) D[I] = P;
    }
  }
}

int PosMod(int64_t A, int B) {
  const int64_t M = A % B;
  return static_cast<int>(M < 0 ? M + B : M);
}

// ---- Feathering ---------------------------------------------------------------------------

// The ramp from the opaque pixel (X, Y) along (DX, DY): L counts the pixels
// after it that are not opaque while their neighbour at (OX, OY) is, at most
// Available of them and stopping at Radius; a run that reaches Radius, or is
// empty, is left alone.
void Ramp(TBitmap& Mask, int X, int Y, int DX, int DY, int OX, int OY, int Available, int Radius) {
  int L = 0;
  while (L < Radius && L < Available) {
    const int PX = X + (L + 1) * DX, PY = Y + (L + 1) * DY;
    if (RowOf(Mask, PY)[PX].Blue == 0 || RowOf(Mask, PY + OY)[PX + OX].Blue != 0) break;
    ++L;
  }
  if (L == 0 || L >= Radius) return;
  const double Step = 255.0 / (L + 1);
  double Sum = 0;
  for (int K = 1; K <= L; ++K) {
    Sum += Step;
    const int V = Round(Sum + 0.5);
    TRGB& P = RowOf(Mask, Y + K * DY)[X + K * DX];
    if (V < P.Blue) P = Grey(static_cast<uint8_t>(V));
  }
}

} // namespace

int MaskDistance(int X1, int Y1, int X2, int Y2) { return IntDistance(X1, Y1, X2, Y2); }

void DrawRadialSpot(TBitmap& Bitmap, TColor Inner, TColor Outer, int Radius, int CX, int CY, const TRect& Rect) {
  TRect R = Rect;
  if (!ClipMask(R, Bitmap)) return;
  const TRGB In = ColorToTRGB(Inner), Out = ColorToTRGB(Outer);
  TRGB Shade[256];
  for (int G = 0; G < 256; ++G)
    Shade[G] = {static_cast<uint8_t>(Out.Blue + (In.Blue - Out.Blue) * G / 255),
                static_cast<uint8_t>(Out.Green + (In.Green - Out.Green) * G / 255),
                static_cast<uint8_t>(Out.Red + (In.Red - Out.Red) * G / 255)};
  for (int Y = R.Top; Y < R.Bottom; ++Y) {
    TRGB* Row = RowOf(Bitmap, Y);
    for (int X = R.Left; X < R.Right; ++X) {
      int G = 0;
      if (Radius > 0) {
        const int Dist = MaskDistance(CX, CY, X, Y);
        if (Dist < Radius) G = static_cast<int>((int64_t{Radius} - Dist) * 255 / Radius);
      }
      Row[X] = Shade[G];
    }
  }
}

void DrawClouds24(TBitmap& Bitmap, TColor Color1, TColor Color2, double Scale, const TRect& Rect) {
  TRect R = Rect;
  if (!ClipMask(R, Bitmap)) return;
  Randomize();
  const TRGB C1 = ColorToTRGB(Color1), C2 = ColorToTRGB(Color2);
  // A scale that leaves no cell gets one; an absurd one stops at a grid of a
  // quarter of a gigabyte.
  const int N = std::clamp(Round(Scale * 255), 1, MaxCloudGrid);
  TCloudGrid Grid(N);
  Grid.Generate();
  TRGB Shade[193];
  for (int U = 0; U <= 192; ++U)
    Shade[U] = {static_cast<uint8_t>(C2.Blue + (C1.Blue - C2.Blue) * U / 192),
                static_cast<uint8_t>(C2.Green + (C1.Green - C2.Green) * U / 192),
                static_cast<uint8_t>(C2.Red + (C1.Red - C2.Red) * U / 192)};
  const std::vector<int> Columns = MirroredIndices(R.Left, R.Right, N);
  const std::vector<int> Rows = MirroredIndices(R.Top, R.Bottom, N);
  for (int Y = R.Top; Y < R.Bottom; ++Y) {
    TRGB* Row = RowOf(Bitmap, Y) + R.Left;
    const int Pos = Rows[static_cast<size_t>(Y - R.Top)];
    for (int I = 0; I < R.Width(); ++I) Row[I] = Shade[Grid.At(Columns[static_cast<size_t>(I)], Pos)];
  }
}

void MaskFromColor(const TBitmap& Src, TBitmap& Mask, TColor Color, int Tolerance, bool SetMatching,
                   const TRect& Rect) {
  MaskByColor(Src, Mask, Color, Tolerance, SetMatching ? 255 : -1, 0, Rect);
}

void MaskFromColorInverted(const TBitmap& Src, TBitmap& Mask, TColor Color, int Tolerance, bool SetOthers,
                           const TRect& Rect) {
  MaskByColor(Src, Mask, Color, Tolerance, 0, SetOthers ? 255 : -1, Rect);
}

void MaskOutColor(const TBitmap& Src, TBitmap& Mask, TColor Color, int Tolerance, const TRect& Rect) {
  MaskByColor(Src, Mask, Color, Tolerance, 255, -1, Rect);
}

void SmoothMask(TBitmap& Mask, const TRect& Rect) {
  TRect R = Rect;
  if (!ClipMask(R, Mask)) return;
  const auto Weight = [](int V) { return ClearOrOutside(V) ? 377 : V; };
  TRowCopies Rows(Mask, R, 3);
  for (int Y = R.Top; Y < R.Bottom; ++Y) {
    Rows.CopyUpTo(Y + 1);
    const int16_t* U = Rows.Row(Y - 1);
    const int16_t* C = Rows.Row(Y);
    const int16_t* D = Rows.Row(Y + 1);
    TRGB* Out = RowOf(Mask, Y) + R.Left;
    for (int X = 0; X < R.Width(); ++X) {
      if (C[X] == 255) continue;
      const int S = C[X] + Weight(U[X - 1]) + Weight(U[X]) + Weight(U[X + 1]) + Weight(C[X - 1]) + Weight(C[X + 1]) +
                    Weight(D[X - 1]) + Weight(D[X]) + Weight(D[X + 1]);
      Out[X] = Grey(static_cast<uint8_t>(std::min(S / 9, 255)));
    }
  }
}

bool IsMaskUniform(const TBitmap& Mask, uint8_t Value, const TRect& Rect) {
  TRect R = Rect;
  if (!ClipToBitmap(R, Mask)) return true;
  if (Mask.PixelFormat() != pf24bit) return false;
  for (int Y = R.Top; Y < R.Bottom; ++Y) {
    const TRGB* Row = RowOf(Mask, Y);
    for (int X = R.Left; X < R.Right; ++X)
      if (Row[X].Blue != Value) return false;
  }
  return true;
}

void ShrinkMaskOnePixel(TBitmap& Mask, const TRect& Rect) { ShrinkMaskBy(Mask, 1, Rect); }

void ShrinkMaskBy(TBitmap& Mask, int N, const TRect& Rect) {
  TRect R = Rect;
  if (N < 1 || !ClipMask(R, Mask)) return;
  MarkAndPaint(Mask, Mask, R, N - 1, N - 1, Grey(255),
               [](int C, int U, int D, int L, int Rt) { return Boundary<true>(C, U, D, L, Rt); });
}

void GrowMaskOnePixel(TBitmap& Mask, const TRect& Rect) {
  TRect R = Rect;
  if (!ClipMask(R, Mask)) return;
  const auto Opaque = [](int V) { return V >= 0 && V < 255; };
  MarkAndPaint(Mask, Mask, R, 0, 0, Grey(0), [&](int C, int U, int D, int L, int Rt) {
    return C == 255 && (Opaque(U) || Opaque(D) || Opaque(L) || Opaque(Rt));
  });
}

void GrowMaskBy(TBitmap& Mask, int N, const TRect& Rect) {
  TRect R = Rect;
  if (N < 1 || !ClipMask(R, Mask)) return;
  MarkAndPaint(Mask, Mask, R, N, N, Grey(0),
               [](int C, int U, int D, int L, int Rt) { return Boundary<false>(C, U, D, L, Rt); });
}

void GrowShrinkMask(TBitmap& Mask, int N, const TRect& Rect, bool OnePixel) {
  TRect R = Rect;
  if (N == 0 || !ClipMask(R, Mask)) return;
  if (N == -1)
    ShrinkMaskOnePixel(Mask, R);
  else if (N < -1)
    ShrinkMaskBy(Mask, N == INT_MIN ? INT_MAX : -N, R);
  else if (N == 1 && OnePixel)
    GrowMaskOnePixel(Mask, R);
  else
    GrowMaskBy(Mask, N, R);
}

void DrawMaskOutline(const TBitmap& Mask, TBitmap& Dst, TColor Color, int Width, uint8_t Threshold, const TRect& Rect) {
  TRect R = Rect;
  if (Width <= 0 || !Usable(Dst) || !ClipMask(R, Mask)) return;
  const int H = (Width - 1) / 2;
  const int T = Threshold;
  const auto Outside = [T](int V) { return V < 0 || V > T; };
  MarkAndPaint(Mask, Dst, R, H, Width - 1 - H, ColorToTRGB(Color), [&](int C, int U, int D, int L, int Rt) {
    return !Outside(C) && (Outside(U) || Outside(D) || Outside(L) || Outside(Rt));
  });
}

void CombineMaskMax(const TBitmap& Src, TBitmap& Dst, int X, int Y, const TRect& Rect) {
  TRect R = Rect;
  if (!Usable(Src) || !ClipMask(R, Dst)) return;
  R = IntersectRect(R, ClampedBounds(X, Y, Src.Width(), Src.Height()));
  if (R.IsEmpty()) return;
  std::vector<int> Columns(static_cast<size_t>(R.Width()));
  for (int I = 0; I < R.Width(); ++I) Columns[static_cast<size_t>(I)] = R.Left + I - X;
  CombineMax(Src, Dst, R, Columns, [Y](int DY) { return DY - Y; });
}

void CombineMaskMaxTiled(const TBitmap& Src, TBitmap& Dst, int OrgX, int OrgY, const TRect& Rect) {
  TRect R = Rect;
  if (!Usable(Src) || !ClipMask(R, Dst)) return;
  const int W = Src.Width(), H = Src.Height();
  std::vector<int> Columns(static_cast<size_t>(R.Width()));
  for (int I = 0; I < R.Width(); ++I) Columns[static_cast<size_t>(I)] = PosMod(int64_t{R.Left} + I - OrgX, W);
  CombineMax(Src, Dst, R, Columns, [OrgY, H](int DY) { return PosMod(int64_t{DY} - OrgY, H); });
}

void FeatherMask(TBitmap& Mask, const TRect& Rect, int Radius) {
  TRect R = Rect;
  if (!ClipMask(R, Mask)) return;
  const int W = R.Width(), H = R.Height();
  TProgressScope Progress(int64_t{W} + H);
  if (!Progress.Begun()) return;
  if (Radius < 0) Radius = 99999;
  const auto At = [&](int X, int Y) { return RowOf(Mask, Y)[X].Blue; };

  // Along the rows: runs beside the opaque part of the row above or below.
  for (int Y = R.Top; Y < R.Bottom && Progress.Step(Y - R.Top); ++Y) {
    const bool Above = Y > R.Top, Below = Y < R.Bottom - 1;
    for (int X = R.Left + 1; X <= R.Right - 2; ++X) {
      if (At(X, Y) != 0) continue;
      if (At(X - 1, Y) != 0) {
        if (Above) Ramp(Mask, X, Y, -1, 0, 0, -1, X - R.Left, Radius);
        if (Below) Ramp(Mask, X, Y, -1, 0, 0, 1, X - R.Left, Radius);
      }
      if (At(X + 1, Y) != 0) {
        if (Above) Ramp(Mask, X, Y, 1, 0, 0, -1, R.Right - 1 - X, Radius);
        if (Below) Ramp(Mask, X, Y, 1, 0, 0, 1, R.Right - 1 - X, Radius);
      }
    }
  }
  // Along the columns: runs beside the opaque part of the column to the left
  // or right.
  for (int X = R.Left; X < R.Right && Progress.Step(int64_t{H} + X - R.Left); ++X) {
    const bool Left = X > R.Left, Right = X < R.Right - 1;
    for (int Y = R.Top + 1; Y <= R.Bottom - 2; ++Y) {
      if (At(X, Y) != 0) continue;
      if (At(X, Y - 1) != 0) {
        if (Left) Ramp(Mask, X, Y, 0, -1, -1, 0, Y - R.Top, Radius);
        if (Right) Ramp(Mask, X, Y, 0, -1, 1, 0, Y - R.Top, Radius);
      }
      if (At(X, Y + 1) != 0) {
        if (Left) Ramp(Mask, X, Y, 0, 1, -1, 0, R.Bottom - 1 - Y, Radius);
        if (Right) Ramp(Mask, X, Y, 0, 1, 1, 0, R.Bottom - 1 - Y, Radius);
      }
    }
  }
}
