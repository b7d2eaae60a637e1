#include "platform/Canvas.h"

#include "platform/Bitmap.h"
#include "platform/Rounding.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

// Coordinates the platform accepts; anything beyond draws nothing.
constexpr int CoordLimit = 1 << 27;
// Pens wider than this draw as this wide, so a nib stays a small table.
constexpr int MaxPenWidth = 2048;
// Blit rectangles larger than this on a side draw nothing: the box filter's
// sums then always fit 64 bits (255 x 2^24 x 2^24 < 2^64).
constexpr int MaxBlitSide = 1 << 24;

bool InLimits(int V) { return V >= -CoordLimit && V <= CoordLimit; }
bool InLimits(const TRect& R) { return InLimits(R.Left) && InLimits(R.Top) && InLimits(R.Right) && InLimits(R.Bottom); }

bool IsIndexedFormat(TPixelFormat F) { return F == pf1bit || F == pf4bit || F == pf8bit; }

TRect BitmapBounds(const TBitmap& B) { return {0, 0, B.Width(), B.Height()}; }

// ---- Device values and raster operations ----------------------------------

// The value a colour takes in the bitmap: the bytes B, G, R, 0 for direct
// colour, the nearest palette index for the indexed formats.
uint32_t DeviceValue(const TBitmap& B, TColor Color) {
  if (IsIndexedFormat(B.PixelFormat())) return static_cast<uint32_t>(B.PaletteIndexOf(Color));
  const TColor C = ColorToRGB(Color);
  return GetBValue(C) | (uint32_t(GetGValue(C)) << 8) | (uint32_t(GetRValue(C)) << 16);
}

struct TOpCopy {
  uint8_t operator()(uint8_t, uint8_t S) const { return S; }
};
struct TOpXor {
  uint8_t operator()(uint8_t D, uint8_t S) const { return static_cast<uint8_t>(D ^ S); }
};
struct TOpNot {
  uint8_t operator()(uint8_t D, uint8_t) const { return static_cast<uint8_t>(~D); }
};

template <int Bpp, class Op> void SpanDirect(uint8_t* Row, int X0, int X1, uint32_t Value, Op O) {
  const uint8_t S[4] = {uint8_t(Value), uint8_t(Value >> 8), uint8_t(Value >> 16), 0};
  for (uint8_t *P = Row + ptrdiff_t(X0) * Bpp, *E = Row + ptrdiff_t(X1) * Bpp; P < E; P += Bpp)
    for (int C = 0; C < Bpp; ++C) P[C] = O(P[C], S[C]);
}

template <class Op> void SpanIndexed(uint8_t* Row, int X0, int X1, uint32_t Value, TPixelFormat F, Op O) {
  const int Mask = F == pf1bit ? 1 : F == pf4bit ? 15 : 255;
  for (int X = X0; X < X1; ++X)
    SetPixelIndex(Row, X, F, O(static_cast<uint8_t>(PixelIndex(Row, X, F)), static_cast<uint8_t>(Value)) & Mask);
}

template <class Op> void SpanOp(TBitmap& B, int Y, int X0, int X1, uint32_t Value, Op O) {
  uint8_t* Row = B.ScanLine(Y);
  switch (B.PixelFormat()) {
  case pf24bit:
    SpanDirect<3>(Row, X0, X1, Value, O);
    break;
  case pf32bit:
    SpanDirect<4>(Row, X0, X1, Value, O);
    break;
  default:
    SpanIndexed(Row, X0, X1, Value, B.PixelFormat(), O);
  }
}

// Pixels X0..X1-1 of row Y, already clipped.
void ApplySpan(TBitmap& B, int Y, int X0, int X1, uint32_t Value, TPenMode Mode) {
  switch (Mode) {
  case TPenMode::pmXor:
    SpanOp(B, Y, X0, X1, Value, TOpXor{});
    break;
  case TPenMode::pmNot:
    SpanOp(B, Y, X0, X1, Value, TOpNot{});
    break;
  default:
    SpanOp(B, Y, X0, X1, Value, TOpCopy{});
  }
}

// ---- Span sets --------------------------------------------------------------
// A shape is a list of row runs [X0, X1); normalised lists are sorted by row
// then column, with no two runs of a row touching.

struct TSpan {
  int Y;
  int X0;
  int X1;
};
using TSpans = std::vector<TSpan>;

void NormalizeSpans(TSpans& S) {
  std::sort(S.begin(), S.end(), [](const TSpan& A, const TSpan& B) { return A.Y != B.Y ? A.Y < B.Y : A.X0 < B.X0; });
  size_t Out = 0;
  for (size_t I = 0; I < S.size(); ++I) {
    const TSpan Sp = S[I];
    if (Sp.X1 <= Sp.X0) continue;
    if (Out > 0 && S[Out - 1].Y == Sp.Y && Sp.X0 <= S[Out - 1].X1)
      S[Out - 1].X1 = std::max(S[Out - 1].X1, Sp.X1);
    else
      S[Out++] = Sp;
  }
  S.resize(Out);
}

// A minus B, both normalised; the result is normalised.
TSpans SubtractSpans(const TSpans& A, const TSpans& B) {
  TSpans R;
  size_t J = 0;
  for (const TSpan& S : A) {
    while (J < B.size() && (B[J].Y < S.Y || (B[J].Y == S.Y && B[J].X1 <= S.X0))) ++J;
    int X = S.X0;
    for (size_t K = J; K < B.size() && B[K].Y == S.Y && B[K].X0 < S.X1; ++K) {
      if (B[K].X0 > X) R.push_back({S.Y, X, B[K].X0});
      X = std::max(X, B[K].X1);
    }
    if (X < S.X1) R.push_back({S.Y, X, S.X1});
  }
  return R;
}

// One row of a round nib: the first and last column offsets, inclusive.
struct TNibRow {
  int DY;
  int Left;
  int Right;
};

// A disc of diameter W over a W x W block whose top-left cell is moved up
// and left by (W - 1) div 2: the cells whose centres lie within W / 2 of the
// block's centre. Every row keeps at least its middle cells.
std::vector<TNibRow> RoundNib(int W) {
  const int Lo = -((W - 1) / 2), Hi = Lo + W - 1, C2 = Lo + Hi; // C2: twice the centre
  std::vector<TNibRow> Nib;
  for (int DY = Lo; DY <= Hi; ++DY) {
    const int64_t EY = int64_t(2 * DY - C2) * (2 * DY - C2);
    int Left = Lo;
    while (int64_t(2 * Left - C2) * (2 * Left - C2) + EY > int64_t(W) * W) ++Left;
    Nib.push_back({DY, Left, C2 - Left});
  }
  return Nib;
}

// The spans covered by a nib of diameter Width stamped on every pixel of S,
// limited to the rows of Window.
TSpans DilateSpans(const TSpans& S, int Width, const TRect& Window) {
  if (Width <= 1) return S;
  const std::vector<TNibRow> Nib = RoundNib(Width);
  TSpans R;
  R.reserve(S.size() * Nib.size());
  for (const TSpan& Sp : S)
    for (const TNibRow& N : Nib) {
      const int Y = Sp.Y + N.DY;
      if (Y >= Window.Top && Y < Window.Bottom) R.push_back({Y, Sp.X0 + N.Left, Sp.X1 + N.Right});
    }
  NormalizeSpans(R);
  return R;
}

void ApplySpans(TBitmap& B, const TRect& Clip, const TSpans& S, uint32_t Value, TPenMode Mode) {
  for (const TSpan& Sp : S) {
    if (Sp.Y < Clip.Top || Sp.Y >= Clip.Bottom) continue;
    const int X0 = std::max(Sp.X0, Clip.Left), X1 = std::min(Sp.X1, Clip.Right);
    if (X0 < X1) ApplySpan(B, Sp.Y, X0, X1, Value, Mode);
  }
}

// The brush's part of S: whole spans for a solid brush, the hatch's pixels
// for a hatch.
void ApplyBrushSpans(TBitmap& B, const TRect& Clip, const TSpans& S, uint32_t Value, TPenMode Mode,
                     TBrushStyle Style) {
  if (Style == TBrushStyle::bsSolid) {
    ApplySpans(B, Clip, S, Value, Mode);
    return;
  }
  for (const TSpan& Sp : S) {
    if (Sp.Y < Clip.Top || Sp.Y >= Clip.Bottom) continue;
    for (int X = std::max(Sp.X0, Clip.Left); X < std::min(Sp.X1, Clip.Right); ++X)
      if (BrushPaints(Style, X, Sp.Y)) ApplySpan(B, Sp.Y, X, X + 1, Value, Mode);
  }
}

// ---- Paths --------------------------------------------------------------------

// The pixels of the one-pixel segment A -> B (end left out) that fall inside
// Window, added to S as single-pixel spans. Only the steps whose position on
// the longer axis lies inside Window are walked.
void AddSegment(TSpans& S, TPoint A, TPoint B, const TRect& Window) {
  const int64_t DX = int64_t(B.X) - A.X, DY = int64_t(B.Y) - A.Y;
  const bool XMajor = std::llabs(DX) >= std::llabs(DY);
  const int64_t Length = XMajor ? std::llabs(DX) : std::llabs(DY);
  const int64_t Start = XMajor ? A.X : A.Y;
  const int64_t Lo = XMajor ? Window.Left : Window.Top, Hi = XMajor ? Window.Right : Window.Bottom;
  const bool Forward = (XMajor ? DX : DY) >= 0;
  // Steps I with Start +/- I in [Lo, Hi).
  const int64_t From = std::max<int64_t>(0, Forward ? Lo - Start : Start - Hi + 1);
  const int64_t To = std::min<int64_t>(Length, Forward ? Hi - Start : Start - Lo + 1);
  CanvasDetail::WalkLine(A.X, A.Y, B.X, B.Y, From, To, [&](int X, int Y) {
    if (PtInRect(Window, {X, Y})) S.push_back({Y, X, X + 1});
  });
}

// The one-pixel path through Points (closed back to the first when Closed),
// each segment's end left out; with WithEnd the last point of an open path
// is added (wide pens cap both ends).
TSpans PathSpans(std::span<const TPoint> Points, bool Closed, bool WithEnd, const TRect& Window) {
  TSpans S;
  const size_t N = Points.size();
  for (size_t I = 0; I + 1 < N; ++I) AddSegment(S, Points[I], Points[I + 1], Window);
  if (Closed && N > 1) AddSegment(S, Points[N - 1], Points[0], Window);
  if (WithEnd && !Closed && N > 0 && PtInRect(Window, Points[N - 1]))
    S.push_back({Points[N - 1].Y, Points[N - 1].X, Points[N - 1].X + 1});
  NormalizeSpans(S);
  return S;
}

int64_t CeilDiv(int64_t Num, int64_t Den) { // Den > 0
  return Num >= 0 ? (Num + Den - 1) / Den : -((-Num) / Den);
}

// Alternate-rule fill of the closed polygon, rows of Window only: pixel
// (x, y) is inside when the point (x, y) is, left and top edges counting in.
TSpans PolygonFillSpans(std::span<const TPoint> Points, const TRect& Window) {
  struct TEdge {
    TPoint A; // upper end
    TPoint B; // lower end (B.Y > A.Y)
  };
  std::vector<TEdge> Edges;
  const size_t N = Points.size();
  for (size_t I = 0; I < N; ++I) {
    TPoint A = Points[I], B = Points[(I + 1) % N];
    if (A.Y == B.Y) continue;
    if (A.Y > B.Y) std::swap(A, B);
    if (B.Y <= Window.Top || A.Y >= Window.Bottom) continue;
    Edges.push_back({A, B});
  }
  TSpans S;
  if (Edges.empty()) return S;
  std::sort(Edges.begin(), Edges.end(), [](const TEdge& E, const TEdge& F) { return E.A.Y < F.A.Y; });
  int Top = Window.Bottom, Bottom = Window.Top;
  for (const TEdge& E : Edges) Top = std::min(Top, E.A.Y), Bottom = std::max(Bottom, E.B.Y);
  Top = std::max(Top, Window.Top);
  Bottom = std::min(Bottom, Window.Bottom);
  std::vector<const TEdge*> Active;
  std::vector<int64_t> Cross;
  size_t Next = 0;
  for (int Y = Top; Y < Bottom; ++Y) {
    while (Next < Edges.size() && Edges[Next].A.Y <= Y) Active.push_back(&Edges[Next++]);
    std::erase_if(Active, [Y](const TEdge* E) { return E->B.Y <= Y; });
    Cross.clear();
    for (const TEdge* E : Active)
      Cross.push_back(E->A.X + CeilDiv(int64_t(Y - E->A.Y) * (E->B.X - E->A.X), E->B.Y - E->A.Y));
    std::sort(Cross.begin(), Cross.end());
    for (size_t I = 0; I + 1 < Cross.size(); I += 2) {
      const int64_t X0 = std::max<int64_t>(Cross[I], Window.Left), X1 = std::min<int64_t>(Cross[I + 1], Window.Right);
      if (X0 < X1) S.push_back({Y, int(X0), int(X1)});
    }
  }
  NormalizeSpans(S);
  return S;
}

// Columns cut from each end of row K (counted from the nearer of the top and
// bottom edges) of a rectangle whose corners are quarters of a CW x CH
// ellipse. A pixel is kept when its centre lies inside the ellipse inscribed
// in the CW x CH block of pixel edges; every row keeps its middle pixel(s)
// and the middle row(s) stay whole, so the shape touches all four sides.
int64_t CornerInset(int64_t K, int64_t CW, int64_t CH) {
  if (CW <= 1 || 2 * K + 1 >= CH - 1) return 0;
  const int64_t DY = 2 * K + 1 - CH; // twice the row centre's offset from the ellipse's centre
  const __int128 Limit = __int128(CW * CW) * (CH * CH - DY * DY);
  const auto Inside = [&](int64_t I) {
    const int64_t DX = 2 * I + 1 - CW;
    return __int128(DX * DX) * (CH * CH) <= Limit;
  };
  const int64_t Cap = (CW - 1) / 2;
  const double Half = double(CW) * std::sqrt(double(CH * CH - DY * DY)) / double(CH);
  int64_t I = std::clamp<int64_t>(static_cast<int64_t>(std::ceil((double(CW) - 1 - Half) / 2)), 0, Cap);
  while (I > 0 && Inside(I - 1)) --I;
  while (I < Cap && !Inside(I)) ++I;
  return I;
}

// The rows of Window of the rounded rectangle R (normalised, not empty): the
// interior and the one-pixel outline (the pixels with a side neighbour
// outside the shape). Without outline everything is interior.
void RoundShapeSpans(const TRect& R, int CW, int CH, bool WithOutline, const TRect& Window, TSpans& Interior,
                     TSpans& Outline) {
  CW = std::clamp(CW, 0, R.Width());
  CH = std::clamp(CH, 0, R.Height());
  const auto Row = [&](int Y, int& A, int& B) {
    if (Y < R.Top || Y >= R.Bottom) {
      A = 0, B = 0;
      return;
    }
    const int64_t Inset = CornerInset(std::min(Y - R.Top, R.Bottom - 1 - Y), CW, CH);
    A = R.Left + int(Inset), B = R.Right - int(Inset);
  };
  const int Top = std::max(R.Top, Window.Top), Bottom = std::min(R.Bottom, Window.Bottom);
  for (int Y = Top; Y < Bottom; ++Y) {
    int A, B;
    Row(Y, A, B);
    if (!WithOutline) {
      Interior.push_back({Y, A, B});
      continue;
    }
    int PA, PB, NA, NB;
    Row(Y - 1, PA, PB);
    Row(Y + 1, NA, NB);
    const int IA = std::max({A + 1, PA, NA}), IB = std::min({B - 1, PB, NB});
    if (PA < PB && NA < NB && IA < IB) {
      Outline.push_back({Y, A, IA});
      Outline.push_back({Y, IB, B});
      Interior.push_back({Y, IA, IB});
    } else {
      Outline.push_back({Y, A, B});
    }
  }
  NormalizeSpans(Interior);
  NormalizeSpans(Outline);
}

// Cubic Bezier segments flattened into a polyline: each segment in steps of
// about two pixels of its control polygon, the points rounded.
std::vector<TPoint> FlattenBezier(std::span<const TPoint> P) {
  std::vector<TPoint> Out;
  if (P.empty()) return Out;
  Out.push_back(P[0]);
  for (size_t I = 0; I + 3 < P.size(); I += 3) {
    const double X[4] = {double(P[I].X), double(P[I + 1].X), double(P[I + 2].X), double(P[I + 3].X)};
    const double Y[4] = {double(P[I].Y), double(P[I + 1].Y), double(P[I + 2].Y), double(P[I + 3].Y)};
    double Length = 0;
    for (int K = 0; K < 3; ++K) Length += std::hypot(X[K + 1] - X[K], Y[K + 1] - Y[K]);
    const int Steps = std::clamp(Ceil(Length / 2), 1, 4096);
    for (int K = 1; K <= Steps; ++K) {
      const double T = double(K) / Steps, U = 1 - T;
      const double A = U * U * U, B = 3 * U * U * T, C = 3 * U * T * T, D = T * T * T;
      const TPoint Q{Round(A * X[0] + B * X[1] + C * X[2] + D * X[3]),
                     Round(A * Y[0] + B * Y[1] + C * Y[2] + D * Y[3])};
      if (!(Q == Out.back())) Out.push_back(Q);
    }
  }
  return Out;
}

// ---- Blits ----------------------------------------------------------------------

// Pixels of one row as 4-byte units B, G, R, A (A is 0 unless the bitmap is
// 32-bit), or the palette index in the first byte when Raw.
void ReadUnits(const TBitmap& B, int Y, int X0, int N, uint8_t* Out, bool Raw) {
  const uint8_t* Row = B.ScanLine(Y);
  switch (B.PixelFormat()) {
  case pf24bit:
    for (int I = 0; I < N; ++I) {
      const uint8_t* P = Row + 3 * ptrdiff_t(X0 + I);
      Out[4 * I] = P[0], Out[4 * I + 1] = P[1], Out[4 * I + 2] = P[2], Out[4 * I + 3] = 0;
    }
    break;
  case pf32bit:
    std::memcpy(Out, Row + 4 * ptrdiff_t(X0), 4 * size_t(N));
    break;
  default: {
    const std::vector<TPaletteEntry>& Pal = B.Palette();
    for (int I = 0; I < N; ++I) {
      const int Index = PixelIndex(Row, X0 + I, B.PixelFormat());
      const TPaletteEntry E = Index < int(Pal.size()) ? Pal[Index] : 0xFF000000u;
      if (Raw)
        Out[4 * I] = uint8_t(Index), Out[4 * I + 1] = Out[4 * I + 2] = 0;
      else
        Out[4 * I] = uint8_t(E), Out[4 * I + 1] = uint8_t(E >> 8), Out[4 * I + 2] = uint8_t(E >> 16);
      Out[4 * I + 3] = 0;
    }
  }
  }
}

// Writes N units at (X0, Y), leaving the pixels whose Skip byte is set.
void WriteUnits(TBitmap& B, int Y, int X0, int N, const uint8_t* In, const uint8_t* Skip, bool Raw) {
  uint8_t* Row = B.ScanLine(Y);
  const TPixelFormat F = B.PixelFormat();
  TColor LastColor = clNone;
  int LastIndex = 0;
  for (int I = 0; I < N; ++I) {
    if (Skip[I]) continue;
    const uint8_t* U = In + 4 * I;
    const int X = X0 + I;
    switch (F) {
    case pf24bit:
      std::memcpy(Row + 3 * ptrdiff_t(X), U, 3);
      break;
    case pf32bit:
      std::memcpy(Row + 4 * ptrdiff_t(X), U, 4);
      break;
    default: {
      if (Raw) {
        SetPixelIndex(Row, X, F, U[0]);
        break;
      }
      const TColor C = RGB(U[2], U[1], U[0]);
      if (C != LastColor) LastColor = C, LastIndex = B.PaletteIndexOf(C);
      SetPixelIndex(Row, X, F, LastIndex);
    }
    }
  }
}

// One side of a blit rectangle: its pixels Start..Start+Count-1, and whether
// it runs backwards (Right left of Left: the pixels Right+1..Left).
struct TAxis {
  int Start;
  int Count;
  bool Flip;
};

TAxis AxisOf(int A, int B) { return B >= A ? TAxis{A, B - A, false} : TAxis{B + 1, A - B, true}; }

struct TStretch {
  TAxis SX, SY, DX, DY;
  TRect Area; // destination pixels to write
};

bool PrepareStretch(const TBitmap& Src, const TRect& SrcRect, const TBitmap& Dst, const TRect& DstRect,
                    const TRect& DstClip, TStretch& S) {
  if (Src.Empty() || Dst.Empty() || !InLimits(SrcRect) || !InLimits(DstRect) || !InLimits(DstClip)) return false;
  S.SX = AxisOf(SrcRect.Left, SrcRect.Right);
  S.SY = AxisOf(SrcRect.Top, SrcRect.Bottom);
  S.DX = AxisOf(DstRect.Left, DstRect.Right);
  S.DY = AxisOf(DstRect.Top, DstRect.Bottom);
  for (const TAxis* A : {&S.SX, &S.SY, &S.DX, &S.DY})
    if (A->Count == 0 || A->Count > MaxBlitSide) return false;
  S.Area =
      IntersectRect(IntersectRect(DstClip, Bounds(S.DX.Start, S.DY.Start, S.DX.Count, S.DY.Count)), BitmapBounds(Dst));
  return !S.Area.IsEmpty();
}

// The source coordinate of each destination pixel From..To-1 by nearest
// pixel (no half-pixel offset), or -1 where it falls outside the source.
std::vector<int> NearestMap(const TAxis& D, const TAxis& S, int From, int To, int SrcLimit) {
  std::vector<int> Map;
  Map.reserve(size_t(To - From));
  for (int X = From; X < To; ++X) {
    const int64_t J = X - D.Start;
    const int64_t L = D.Flip ? D.Count - 1 - J : J; // logical destination index
    const int64_t K = L * S.Count / D.Count;        // logical source index
    const int64_t Src = S.Start + (S.Flip ? S.Count - 1 - K : K);
    Map.push_back(Src >= 0 && Src < SrcLimit ? int(Src) : -1);
  }
  return Map;
}

void StretchNearestKeyed(const TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, const TRect& DstRect,
                         const TRect& DstClip, bool HasKey, TColor Key) {
  TStretch S;
  if (!PrepareStretch(Src, SrcRect, Dst, DstRect, DstClip, S)) return;
  if (&Src == &Dst) {
    TBitmap Copy;
    Copy.Assign(Src);
    StretchNearestKeyed(Copy, SrcRect, Dst, DstRect, DstClip, HasKey, Key);
    return;
  }
  const std::vector<int> Cols = NearestMap(S.DX, S.SX, S.Area.Left, S.Area.Right, Src.Width());
  const std::vector<int> Rows = NearestMap(S.DY, S.SY, S.Area.Top, S.Area.Bottom, Src.Height());
  int MinCol = INT_MAX, MaxCol = -1;
  for (int C : Cols)
    if (C >= 0) MinCol = std::min(MinCol, C), MaxCol = std::max(MaxCol, C);
  if (MaxCol < 0) return;
  const TColor KeyRGB = ColorToRGB(Key);
  // Indices are copied as they are between indexed bitmaps of one palette.
  const bool Raw = !HasKey && IsIndexedFormat(Src.PixelFormat()) && Src.PixelFormat() == Dst.PixelFormat() &&
                   Src.Palette() == Dst.Palette();
  const int W = S.Area.Width();
  std::vector<uint8_t> In(4 * size_t(MaxCol - MinCol + 1)), Out(4 * size_t(W)), Skip(size_t(W), 0);
  int Loaded = -1;
  for (int Y = S.Area.Top; Y < S.Area.Bottom; ++Y) {
    const int SrcY = Rows[size_t(Y - S.Area.Top)];
    if (SrcY < 0) continue;
    if (SrcY != Loaded) ReadUnits(Src, SrcY, MinCol, MaxCol - MinCol + 1, In.data(), Raw), Loaded = SrcY;
    for (int I = 0; I < W; ++I) {
      const int C = Cols[size_t(I)];
      Skip[size_t(I)] = C < 0;
      if (C < 0) continue;
      const uint8_t* U = &In[4 * size_t(C - MinCol)];
      std::memcpy(&Out[4 * size_t(I)], U, 4);
      if (HasKey && SameColor24(RGB(U[2], U[1], U[0]), KeyRGB)) Skip[size_t(I)] = 1;
    }
    WriteUnits(Dst, Y, S.Area.Left, W, Out.data(), Skip.data(), Raw);
  }
}

// Box-filter weights of one axis: for each destination pixel From..To-1, the
// source pixels it covers and how much of each, in units of 1 / D.Count of a
// source pixel (a whole destination pixel weighs S.Count).
struct TWeights {
  std::vector<size_t> First; // per destination pixel, index into Src/W; one extra at the end
  std::vector<int> Src;
  std::vector<int64_t> W;
  std::vector<int64_t> Sum;
};

TWeights BoxWeights(const TAxis& D, const TAxis& S, int From, int To, int SrcLimit) {
  TWeights T;
  const int64_t DN = D.Count, SN = S.Count;
  for (int X = From; X < To; ++X) {
    T.First.push_back(T.Src.size());
    const int64_t J = X - D.Start;
    const int64_t L = D.Flip ? DN - 1 - J : J;
    const int64_t Lo = L * SN, Hi = (L + 1) * SN; // the pixel's extent, in source units times DN
    // Only the source pixels inside the bitmap: K within [KMin, KMax).
    const int64_t KMin = S.Flip ? S.Start + SN - SrcLimit : -int64_t(S.Start);
    const int64_t KMax = S.Flip ? S.Start + SN : SrcLimit - int64_t(S.Start);
    int64_t Sum = 0;
    for (int64_t K = std::max(Lo / DN, KMin); K * DN < Hi && K < KMax; ++K) {
      const int64_t Overlap = std::min(Hi, (K + 1) * DN) - std::max(Lo, K * DN);
      const int64_t Src = S.Start + (S.Flip ? SN - 1 - K : K);
      if (Overlap <= 0 || Src < 0 || Src >= SrcLimit) continue;
      T.Src.push_back(int(Src));
      T.W.push_back(Overlap);
      Sum += Overlap;
    }
    T.Sum.push_back(Sum);
  }
  T.First.push_back(T.Src.size());
  return T;
}

// Num / Den rounded to nearest, ties to even (Den > 0).
uint8_t RoundedQuotient(uint64_t Num, uint64_t Den) {
  uint64_t Q = Num / Den;
  const uint64_t R = Num % Den;
  if (2 * R > Den || (2 * R == Den && (Q & 1))) ++Q;
  return static_cast<uint8_t>(std::min<uint64_t>(Q, 255));
}

// ---- Text ---------------------------------------------------------------------

QFont ToQFont(const TFont& F) {
  QFont Q(F.Name);
  Q.setBold(F.Style & fsBold);
  Q.setItalic(F.Style & fsItalic);
  Q.setUnderline(F.Style & fsUnderline);
  Q.setStrikeOut(F.Style & fsStrikeOut);
  Q.setStyleStrategy(F.Quality == TFontQuality::fqNonAntialiased ? QFont::NoAntialias : QFont::PreferAntialias);
  if (F.Height < 0) {
    Q.setPixelSize(std::clamp(-F.Height, 1, 4096));
  } else {
    // A cell height: scale the character height until the cell fits it.
    const int Cell = std::clamp(F.Height == 0 ? 16 : F.Height, 1, 4096);
    Q.setPixelSize(Cell);
    const int Measured = QFontMetrics(Q).height();
    if (Measured > 0) Q.setPixelSize(std::max(1, int(int64_t(Cell) * Cell / Measured)));
  }
  return Q;
}

QColor ToQColor(TColor Color) {
  const TColor C = ColorToRGB(Color);
  return QColor(GetRValue(C), GetGValue(C), GetBValue(C));
}

int MulDiv(int A, int B, int C) { // the platform's rounding multiply-divide, for the font size
  const int64_t P = int64_t(A) * B;
  return int((P >= 0 ? P + C / 2 : P - C / 2) / C);
}

} // namespace

// ---- TFont ------------------------------------------------------------------------

int TFont::Size() const { return -MulDiv(Height, 72, 96); }
void TFont::SetSize(int Points) { Height = -MulDiv(Points, 96, 72); }

// ---- Clipping -----------------------------------------------------------------

TRect TCanvas::ClipRect() const {
  if (!FBitmap || FBitmap->Empty()) return {};
  const TRect All = BitmapBounds(*FBitmap);
  return FClipped ? IntersectRect(FClip, All) : All;
}

void TCanvas::SetClipRect(const TRect& R) {
  FClipped = true;
  FClip = FBitmap ? IntersectRect(R, BitmapBounds(*FBitmap)) : TRect{};
}

void TCanvas::IntersectClipRect(const TRect& R) { SetClipRect(IntersectRect(ClipRect(), R)); }

void TCanvas::ResetClip() {
  FClipped = false;
  FClip = {};
}

// ---- Shapes ---------------------------------------------------------------------

namespace {

// Draws a shape given as brush spans and a one-pixel pen path: the pen path
// widened by the nib, then the brush where the pen is not, each pixel once.
void PaintShape(TCanvas& C, const TSpans& Fill, const TSpans& Path, bool HasFill, bool HasPen, int PenWidth,
                const TRect& Window) {
  TBitmap& B = *C.Bitmap();
  const TRect Clip = C.ClipRect();
  TSpans Pen;
  if (HasPen) {
    Pen = DilateSpans(Path, PenWidth, Window);
    ApplySpans(B, Clip, Pen, DeviceValue(B, C.Pen.Color), C.Pen.Mode);
  }
  if (HasFill)
    ApplyBrushSpans(B, Clip, Pen.empty() ? Fill : SubtractSpans(Fill, Pen), DeviceValue(B, C.Brush.Color), C.Pen.Mode,
                    C.Brush.Style);
  B.Changed();
}

int PenWidthOf(const TPen& P) { return std::clamp(P.Width, 1, MaxPenWidth); }

// The rows and columns a shape may touch within the clip: the clip grown by
// the pen's reach and one more row for the outline's neighbours.
TRect ShapeWindow(const TRect& Clip, int PenWidth) {
  const int M = PenWidth / 2 + 2;
  return {Clip.Left - M, Clip.Top - M, Clip.Right + M, Clip.Bottom + M};
}

} // namespace

bool BrushPaints(TBrushStyle Style, int X, int Y) {
  // Lines on an 8 x 8 grid from the origin; "forward" diagonals run from
  // top-left to bottom-right, "backward" ones from bottom-left to top-right.
  const auto OnGrid = [](int V) { return (V & 7) == 0; };
  switch (Style) {
  case TBrushStyle::bsSolid:
    return true;
  case TBrushStyle::bsHorizontal:
    return OnGrid(Y);
  case TBrushStyle::bsVertical:
    return OnGrid(X);
  case TBrushStyle::bsFDiagonal:
    return OnGrid(X - Y);
  case TBrushStyle::bsBDiagonal:
    return OnGrid(X + Y);
  case TBrushStyle::bsCross:
    return OnGrid(X) || OnGrid(Y);
  case TBrushStyle::bsDiagCross:
    return OnGrid(X - Y) || OnGrid(X + Y);
  default:
    return false;
  }
}

void TCanvas::MoveTo(int X, int Y) { PenPos = {X, Y}; }

void TCanvas::LineTo(int X, int Y) {
  const TPoint Line[2] = {PenPos, {X, Y}};
  PenPos = {X, Y};
  Polyline(Line);
}

void TCanvas::Polyline(std::span<const TPoint> Points) {
  const TRect Clip = ClipRect();
  if (Clip.IsEmpty() || Pen.Style == TPenStyle::psClear || Points.size() < 2) return;
  for (const TPoint& P : Points)
    if (!InLimits(P.X) || !InLimits(P.Y)) return;
  const int W = PenWidthOf(Pen);
  const TRect Window = ShapeWindow(Clip, W);
  PaintShape(*this, {}, PathSpans(Points, false, W > 1, Window), false, true, W, Window);
}

void TCanvas::PolyBezier(std::span<const TPoint> Points) {
  const std::vector<TPoint> Line = FlattenBezier(Points);
  Polyline(Line);
}

void TCanvas::Polygon(std::span<const TPoint> Points) {
  const TRect Clip = ClipRect();
  if (Clip.IsEmpty() || Points.size() < 2) return;
  for (const TPoint& P : Points)
    if (!InLimits(P.X) || !InLimits(P.Y)) return;
  const bool HasPen = Pen.Style != TPenStyle::psClear, HasFill = Brush.Style != TBrushStyle::bsClear;
  if (!HasPen && !HasFill) return;
  const int W = PenWidthOf(Pen);
  const TRect Window = ShapeWindow(Clip, W);
  PaintShape(*this, HasFill ? PolygonFillSpans(Points, Window) : TSpans{},
             HasPen ? PathSpans(Points, true, false, Window) : TSpans{}, HasFill, HasPen, W, Window);
}

namespace {

// Rectangle, Ellipse and RoundRect: the shape inside the normalised
// rectangle, one pixel smaller to the right and at the bottom without a pen.
void PaintRoundShape(TCanvas& C, int X1, int Y1, int X2, int Y2, bool WholeCorners, int CW, int CH) {
  const TRect Clip = C.ClipRect();
  TRect R{std::min(X1, X2), std::min(Y1, Y2), std::max(X1, X2), std::max(Y1, Y2)};
  if (Clip.IsEmpty() || !InLimits(R)) return;
  const bool HasPen = C.Pen.Style != TPenStyle::psClear, HasFill = C.Brush.Style != TBrushStyle::bsClear;
  if (!HasPen) --R.Right, --R.Bottom;
  if (R.IsEmpty() || (!HasPen && !HasFill)) return;
  if (WholeCorners) CW = R.Width(), CH = R.Height();
  const int W = PenWidthOf(C.Pen);
  const TRect Window = ShapeWindow(Clip, W);
  TSpans Interior, Outline;
  RoundShapeSpans(R, CW, CH, HasPen, Window, Interior, Outline);
  PaintShape(C, Interior, Outline, HasFill, HasPen, W, Window);
}

} // namespace

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) { PaintRoundShape(*this, X1, Y1, X2, Y2, false, 0, 0); }

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) { PaintRoundShape(*this, X1, Y1, X2, Y2, true, 0, 0); }

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int CornerW, int CornerH) {
  PaintRoundShape(*this, X1, Y1, X2, Y2, false, CornerW, CornerH);
}

// ---- Brush fills and pixels ---------------------------------------------------------

void TCanvas::FillRect(const TRect& R) {
  const TRect A = IntersectRect(R, ClipRect());
  if (A.IsEmpty() || Brush.Style == TBrushStyle::bsClear) return;
  TSpans Rows;
  for (int Y = A.Top; Y < A.Bottom; ++Y) Rows.push_back({Y, A.Left, A.Right});
  ApplyBrushSpans(*FBitmap, A, Rows, DeviceValue(*FBitmap, Brush.Color), TPenMode::pmCopy, Brush.Style);
  FBitmap->Changed();
}

void TCanvas::FrameRect(const TRect& R) {
  const TRect Clip = ClipRect();
  if (R.IsEmpty() || Clip.IsEmpty() || Brush.Style == TBrushStyle::bsClear) return;
  TSpans S{{R.Top, R.Left, R.Right}, {R.Bottom - 1, R.Left, R.Right}};
  for (int Y = std::max(R.Top + 1, Clip.Top); Y < std::min(R.Bottom - 1, Clip.Bottom); ++Y) {
    S.push_back({Y, R.Left, R.Left + 1});
    S.push_back({Y, R.Right - 1, R.Right});
  }
  NormalizeSpans(S);
  ApplyBrushSpans(*FBitmap, Clip, S, DeviceValue(*FBitmap, Brush.Color), TPenMode::pmCopy, Brush.Style);
  FBitmap->Changed();
}

TColor TCanvas::Pixels(int X, int Y) const { return PtInRect(ClipRect(), {X, Y}) ? FBitmap->PixelColor(X, Y) : clNone; }

void TCanvas::SetPixels(int X, int Y, TColor Color) {
  if (!PtInRect(ClipRect(), {X, Y})) return;
  ApplySpan(*FBitmap, Y, X, X + 1, DeviceValue(*FBitmap, Color), TPenMode::pmCopy);
  FBitmap->Changed();
}

// ---- Blits ----------------------------------------------------------------------------

void StretchNearest(const TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, const TRect& DstRect,
                    const TRect& DstClip) {
  StretchNearestKeyed(Src, SrcRect, Dst, DstRect, DstClip, false, clNone);
}

void StretchTransparent(const TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, const TRect& DstRect,
                        const TRect& DstClip, TColor TransparentColor) {
  StretchNearestKeyed(Src, SrcRect, Dst, DstRect, DstClip, true, TransparentColor);
}

void StretchHalftone(const TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, const TRect& DstRect,
                     const TRect& DstClip) {
  TStretch S;
  if (!PrepareStretch(Src, SrcRect, Dst, DstRect, DstClip, S)) return;
  if (&Src == &Dst) {
    TBitmap Copy;
    Copy.Assign(Src);
    StretchHalftone(Copy, SrcRect, Dst, DstRect, DstClip);
    return;
  }
  const TWeights WX = BoxWeights(S.DX, S.SX, S.Area.Left, S.Area.Right, Src.Width());
  const TWeights WY = BoxWeights(S.DY, S.SY, S.Area.Top, S.Area.Bottom, Src.Height());
  if (WX.Src.empty() || WY.Src.empty()) return;
  const auto [MinIt, MaxIt] = std::minmax_element(WX.Src.begin(), WX.Src.end());
  const int MinCol = *MinIt, Span = *MaxIt - *MinIt + 1;
  const int W = S.Area.Width();
  std::vector<uint8_t> In(4 * size_t(Span)), Out(4 * size_t(W)), Skip(size_t(W), 0);
  std::vector<uint64_t> Acc(4 * size_t(W));
  // Horizontal sums of the last two source rows (enough for any vertical
  // step, since rows are visited in one direction).
  std::vector<uint64_t> Cache[2] = {std::vector<uint64_t>(4 * size_t(W)), std::vector<uint64_t>(4 * size_t(W))};
  int CachedRow[2] = {-1, -1};
  int Oldest = 0;
  const auto HorizontalSums = [&](int SrcY) -> const std::vector<uint64_t>& {
    for (int K = 0; K < 2; ++K)
      if (CachedRow[K] == SrcY) return Cache[K];
    const int K = Oldest;
    Oldest ^= 1;
    CachedRow[K] = SrcY;
    ReadUnits(Src, SrcY, MinCol, Span, In.data(), false);
    std::vector<uint64_t>& H = Cache[K];
    for (int I = 0; I < W; ++I) {
      uint64_t Sum[4] = {0, 0, 0, 0};
      for (size_t P = WX.First[size_t(I)]; P < WX.First[size_t(I) + 1]; ++P) {
        const uint8_t* U = &In[4 * size_t(WX.Src[P] - MinCol)];
        const uint64_t Wt = uint64_t(WX.W[P]);
        for (int Ch = 0; Ch < 4; ++Ch) Sum[Ch] += Wt * U[Ch];
      }
      for (int Ch = 0; Ch < 4; ++Ch) H[4 * size_t(I) + size_t(Ch)] = Sum[Ch];
    }
    return H;
  };
  for (int Y = S.Area.Top; Y < S.Area.Bottom; ++Y) {
    const size_t J = size_t(Y - S.Area.Top);
    if (WY.Sum[J] == 0) continue;
    std::fill(Acc.begin(), Acc.end(), 0);
    for (size_t P = WY.First[J]; P < WY.First[J + 1]; ++P) {
      const std::vector<uint64_t>& H = HorizontalSums(WY.Src[P]);
      const uint64_t Wt = uint64_t(WY.W[P]);
      for (size_t K = 0; K < Acc.size(); ++K) Acc[K] += Wt * H[K];
    }
    for (int I = 0; I < W; ++I) {
      const uint64_t Den = uint64_t(WX.Sum[size_t(I)]) * uint64_t(WY.Sum[J]);
      Skip[size_t(I)] = Den == 0;
      if (Den == 0) continue;
      for (int Ch = 0; Ch < 4; ++Ch)
        Out[4 * size_t(I) + size_t(Ch)] = RoundedQuotient(Acc[4 * size_t(I) + size_t(Ch)], Den);
    }
    WriteUnits(Dst, Y, S.Area.Left, W, Out.data(), Skip.data(), false);
  }
}

void TCanvas::Draw(int X, int Y, const TBitmap& Graphic) {
  StretchDraw(Bounds(X, Y, Graphic.Width(), Graphic.Height()), Graphic);
}

void TCanvas::StretchDraw(const TRect& R, const TBitmap& Graphic) {
  if (!FBitmap || Graphic.Empty()) return;
  const TRect Whole = BitmapBounds(Graphic), Clip = ClipRect();
  if (Graphic.Transparent)
    StretchTransparent(Graphic, Whole, *FBitmap, R, Clip, Graphic.TransparentColor());
  else if (StretchBltMode == TStretchBltMode::sbmHalftone)
    StretchHalftone(Graphic, Whole, *FBitmap, R, Clip);
  else
    StretchNearest(Graphic, Whole, *FBitmap, R, Clip);
  FBitmap->Changed();
}

void TCanvas::CopyRect(const TRect& Dest, const TCanvas& Canvas, const TRect& Source) {
  if (!FBitmap || !Canvas.Bitmap()) return;
  if (StretchBltMode == TStretchBltMode::sbmHalftone)
    StretchHalftone(*Canvas.Bitmap(), Source, *FBitmap, Dest, ClipRect());
  else
    StretchNearest(*Canvas.Bitmap(), Source, *FBitmap, Dest, ClipRect());
  FBitmap->Changed();
}

// ---- Text ------------------------------------------------------------------------------

int TCanvas::TextWidth(const QString& Text) const {
  if (!qGuiApp || Text.isEmpty()) return 0;
  return QFontMetrics(ToQFont(Font)).horizontalAdvance(Text);
}

int TCanvas::TextHeight(const QString&) const {
  if (!qGuiApp) return 0;
  return QFontMetrics(ToQFont(Font)).height();
}

void TCanvas::TextOut(int X, int Y, const QString& Text) {
  const TRect Clip = ClipRect();
  if (!qGuiApp || Clip.IsEmpty() || !InLimits(X) || !InLimits(Y)) {
    PenPos = {X + TextWidth(Text), Y};
    return;
  }
  const QFont QF = ToQFont(Font);
  const QFontMetrics M(QF);
  const int W = Text.isEmpty() ? 0 : M.horizontalAdvance(Text), H = M.height();
  PenPos = {X + W, Y};
  // The text's cell turned about its corner, with a line height of margin
  // for overhanging glyphs.
  QTransform T;
  T.translate(X, Y);
  T.rotate(-Font.Orientation / 10.0);
  const QRect Box = T.mapRect(QRectF(-H, -H, W + 2.0 * H, 3.0 * H)).toAlignedRect();
  const TRect Area = IntersectRect({Box.left(), Box.top(), Box.right() + 1, Box.bottom() + 1}, Clip);
  if (Area.IsEmpty()) return;
  // The area as a copy, painted by Qt, then the changed pixels written back.
  QImage Image(Area.Width(), Area.Height(), QImage::Format_RGB32);
  for (int J = 0; J < Area.Height(); ++J) {
    QRgb* Line = reinterpret_cast<QRgb*>(Image.scanLine(J));
    for (int I = 0; I < Area.Width(); ++I) {
      const TColor C = FBitmap->PixelColor(Area.Left + I, Area.Top + J);
      Line[I] = qRgb(GetRValue(C), GetGValue(C), GetBValue(C));
    }
  }
  const QImage Before = Image.copy();
  {
    QPainter P(&Image);
    P.setWorldTransform(T * QTransform::fromTranslate(-Area.Left, -Area.Top));
    P.setRenderHint(QPainter::TextAntialiasing, Font.Quality != TFontQuality::fqNonAntialiased);
    if (Brush.Style != TBrushStyle::bsClear) P.fillRect(QRectF(0, 0, W, H), ToQColor(Brush.Color));
    P.setFont(QF);
    P.setPen(ToQColor(Font.Color));
    P.drawText(QPointF(0, M.ascent()), Text);
  }
  for (int J = 0; J < Area.Height(); ++J) {
    const QRgb* New = reinterpret_cast<const QRgb*>(Image.constScanLine(J));
    const QRgb* Old = reinterpret_cast<const QRgb*>(Before.constScanLine(J));
    for (int I = 0; I < Area.Width(); ++I)
      if (New[I] != Old[I])
        ApplySpan(*FBitmap, Area.Top + J, Area.Left + I, Area.Left + I + 1,
                  DeviceValue(*FBitmap, RGB(qRed(New[I]), qGreen(New[I]), qBlue(New[I]))), TPenMode::pmCopy);
  }
  FBitmap->Changed();
}
