// The polygon rasteriser, the point and line primitives and the polygon's
// point list. The shape builders, offsetting and outline drawing are in
// Polygon24_Shapes.cpp.
#include "raster/Polygon24.h"

#include "platform/Rounding.h"
#include "raster/Bitmap24.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

int PolySubSamples = 12;
double PolyMinPointDistance = 1;
int PolyRoundRectDivisor = 4;
int DashPhase = 0;

namespace {

bool Usable(const TBitmap& Bitmap) { return Bitmap.PixelFormat() == pf24bit && !Bitmap.Empty(); }

// Floor as an int, limited to +-2^30 so that a neighbour stays representable
// (such points lie outside every bitmap); NaN gives 0.
int FloorInt(double V) {
  if (!(V == V)) return 0;
  const double F = std::floor(std::clamp(V, -1073741824.0, 1073741824.0));
  return static_cast<int>(F);
}

int64_t FloorInt64(double V) {
  if (!(V == V)) return 0;
  return static_cast<int64_t>(std::floor(std::clamp(V, -4.0e18, 4.0e18)));
}

int Sign(int64_t V) { return V > 0 ? 1 : (V < 0 ? -1 : 0); }

// ---- The fill ----------------------------------------------------------------

// One non-horizontal edge of a sub-path in sub-sample units. Its crossing at
// sub-row y (Lo <= y <= Hi) lies at XA + (XB - XA) (y - YA) / (YB - YA); a
// turn (the outline changes vertical direction at the edge's start) adds a
// second crossing at (XA, YA) in the opposite direction, so that a local top
// or bottom yields two crossings on its sub-row and any other vertex one.
struct TEdge {
  int XA, XB;
  int64_t YA, YB;
  int G; // +1 downwards, -1 upwards
  bool Turn;
  int64_t Lo, Hi; // the sub-rows crossed, cut to the table
};

struct TFillGrid {
  int S;              // sub-samples per pixel
  int64_t YMin, YMax; // sub-rows of the table
  int XMin, XMax;     // crossings are limited to these
};

// Sub-sample columns stay in the int range of a crossing; only a bitmap
// hundreds of millions of pixels wide could reach past it.
int SubColumn(int64_t V) { return static_cast<int>(std::clamp<int64_t>(V, 0, INT32_MAX - 1)); }

// Appends the edges of one closed sub-path (3 points or more).
void AddPathEdges(const TFloatPointArray& P, const TFillGrid& Grid, std::vector<TEdge>& Edges) {
  const size_t N = P.size();
  if (N < 3) return;
  // The lower half of the shape is pushed down to the last sub-row of its
  // pixel row, so that the bottom row is covered completely.
  const TFloatPoint C = PointsCentroid(P);
  std::vector<int> XS(N);
  std::vector<int64_t> YS(N);
  for (size_t I = 0; I < N; ++I) {
    XS[I] = Round(P[I].X * Grid.S);
    YS[I] = static_cast<int64_t>(Round(P[I].Y * Grid.S)) + (P[I].Y >= C.Y ? Grid.S - 1 : 0);
  }
  // The direction in which the outline arrives at its first point.
  int Direction = 0;
  for (size_t K = N - 1; K > 0; --K)
    if (YS[K] != YS[0]) {
      Direction = Sign(YS[0] - YS[K]);
      break;
    }
  if (Direction == 0) return;
  for (size_t I = 0; I < N; ++I) {
    const size_t J = I + 1 < N ? I + 1 : 0;
    if (YS[I] == YS[J]) continue;
    TEdge E{XS[I], XS[J], YS[I], YS[J], Sign(YS[J] - YS[I]), false, 0, 0};
    E.Turn = E.G != Direction;
    Direction = E.G;
    // From YA included towards YB excluded.
    E.Lo = std::max(E.G > 0 ? E.YA : E.YB + 1, Grid.YMin);
    E.Hi = std::min(E.G > 0 ? E.YB - 1 : E.YA, Grid.YMax);
    if (E.Lo <= E.Hi) Edges.push_back(E);
  }
}

void AddCrossings(const TEdge& E, int64_t Y, const TFillGrid& Grid, TEdgeDataArray& Row) {
  int X = E.XA;
  if (E.XA != E.XB)
    X = Round(E.XA + static_cast<double>(static_cast<int64_t>(E.XB) - E.XA) * static_cast<double>(Y - E.YA) /
                         static_cast<double>(E.YB - E.YA));
  Row.push_back({std::clamp(X, Grid.XMin, Grid.XMax), E.G < 0});
  if (E.Turn && Y == E.YA) Row.push_back({std::clamp(E.XA, Grid.XMin, Grid.XMax), E.G > 0});
}

// The coverage of one pixel row in sub-samples: whole pixels of a span go
// into a difference array, the partly covered pixels at its ends directly.
class TCoverage {
public:
  TCoverage(int Width, int S) : FS(S), FWhole(static_cast<size_t>(Width) + 1), FPart(static_cast<size_t>(Width)) {}

  // The span A..B (sub-samples from the row's origin, A < B): with p = A / S
  // and q = B / S, entries Ceil(p)..Trunc(q) gain S; the entry holding p
  // gains the part of it right of p, the one holding q the part left of q.
  void AddSpan(int A, int B) {
    const int Width = static_cast<int>(FPart.size());
    const int First = A / FS + (A % FS > 0 ? 1 : 0);
    const int Last = std::min(B / FS, Width - 1);
    if (First <= Last) {
      FWhole[static_cast<size_t>(First)] += FS;
      FWhole[static_cast<size_t>(Last) + 1] -= FS;
    }
    if (A % FS > 0 && A / FS < Width) FPart[static_cast<size_t>(A / FS)] += FS - A % FS;
    if (B % FS > 0 && B / FS + 1 < Width) FPart[static_cast<size_t>(B / FS) + 1] += B % FS;
  }

  // Calls Fn(k, v) for every entry k with coverage v > 0, then clears.
  template <class F> void Apply(F&& Fn) {
    int Run = 0;
    for (size_t K = 0; K < FPart.size(); ++K) {
      Run += FWhole[K];
      const int V = Run + FPart[K];
      if (V > 0) Fn(static_cast<int>(K), V);
    }
    std::fill(FWhole.begin(), FWhole.end(), 0);
    std::fill(FPart.begin(), FPart.end(), 0);
  }

private:
  int FS;
  std::vector<int> FWhole;
  std::vector<int> FPart;
};

void FillPaths(TBitmap& Bitmap, const TFloatPointArray* const* Paths, size_t PathCount, TColor Color, bool Winding,
               bool Antialiased, int Opacity, const TRect& Clip) {
  TRect R = Clip;
  if (Opacity <= 0 || !Usable(Bitmap) || !ClipToBitmap(R, Bitmap)) return;
  // Inclusive from here on.
  --R.Right;
  --R.Bottom;
  TFloatRect B{9999999, 9999999, -9999999, -9999999};
  for (size_t I = 0; I < PathCount; ++I) {
    const TFloatRect PB = FloatPointsBounds(*Paths[I]);
    B = {std::min(B.Left, PB.Left), std::min(B.Top, PB.Top), std::max(B.Right, PB.Right),
         std::max(B.Bottom, PB.Bottom)};
  }
  if (!(B.Right >= R.Left && B.Left <= R.Right && B.Bottom >= R.Top && B.Top <= R.Bottom)) return;
  const double X0 = ClampBetween(B.Left, R.Left, R.Right);
  const double X1 = ClampBetween(B.Right, R.Left, R.Right);
  const double Y0 = ClampBetween(B.Top, R.Top, R.Bottom);
  const double Y1 = ClampBetween(B.Bottom, R.Top, R.Bottom);

  const int S = Antialiased ? std::clamp(PolySubSamples, 1, 256) : 1;
  const TFillGrid Grid{S, Round(Y0 * S), static_cast<int64_t>(Round(Y1 * S)) + S - 1, SubColumn(Round(X0 * S)),
                       SubColumn(static_cast<int64_t>(Round(X1 * S)) + S - 1)};
  std::vector<TEdge> Edges;
  for (size_t I = 0; I < PathCount; ++I) AddPathEdges(*Paths[I], Grid, Edges);
  std::sort(Edges.begin(), Edges.end(), [](const TEdge& A, const TEdge& E) { return A.Lo < E.Lo; });

  const int Column0 = Trunc(X0);
  const int Width = Ceil(X1) - Column0 + 1;
  const int Origin = SubColumn(static_cast<int64_t>(Column0) * S);
  TCoverage Coverage(Width, S);
  // The percent of each coverage value, capped at one whole pixel.
  const int Full = S * S;
  std::vector<int> Percent(static_cast<size_t>(Full) + 1);
  for (int V = 1; V <= Full; ++V) Percent[static_cast<size_t>(V)] = Round(std::min(double(V) / Full, 1.0) * Opacity);
  const TRGB C = ColorToTRGB(Color);
  // Table row y belongs to pixel row y div S (YMin >= 0), whatever the
  // fraction of the top: counting sub-rows from Frac(Y0) instead would shift
  // the whole shape by a sub-row whenever Y0 * S rounds up, so that the same
  // polygon would cover its pixels differently under another clip.
  int PixelRow = static_cast<int>(Grid.YMin / S);
  int SubRow = static_cast<int>(Grid.YMin % S);
  const auto ApplyRow = [&] {
    if (PixelRow < R.Top || PixelRow > R.Bottom) return;
    PRGBArray Row = RowOf(Bitmap, PixelRow);
    Coverage.Apply([&](int K, int V) {
      const int X = Column0 + K;
      if (X >= R.Left && X <= R.Right) MixPercent(Row[X], C, Percent[static_cast<size_t>(std::min(V, Full))]);
    });
  };

  std::vector<const TEdge*> Active;
  size_t NextEdge = 0;
  TEdgeDataArray Crossings;
  for (int64_t Y = Grid.YMin; Y <= Grid.YMax; ++Y) {
    while (NextEdge < Edges.size() && Edges[NextEdge].Lo <= Y) Active.push_back(&Edges[NextEdge++]);
    std::erase_if(Active, [Y](const TEdge* E) { return E->Hi < Y; });
    Crossings.clear();
    for (const TEdge* E : Active) AddCrossings(*E, Y, Grid, Crossings);
    std::sort(Crossings.begin(), Crossings.end(), [](const TEdgeData& A, const TEdgeData& E) { return A.X < E.X; });
    if (!Winding) {
      for (size_t I = 0; I + 1 < Crossings.size(); I += 2)
        if (Crossings[I + 1].X > Crossings[I].X) Coverage.AddSpan(Crossings[I].X - Origin, Crossings[I + 1].X - Origin);
    } else if (!Crossings.empty()) {
      int Count = Crossings[0].WindingTag ? 1 : -1;
      for (size_t I = 1; I < Crossings.size(); ++I) {
        if (Count != 0 && Crossings[I].X > Crossings[I - 1].X)
          Coverage.AddSpan(Crossings[I - 1].X - Origin, Crossings[I].X - Origin);
        Count += Crossings[I].WindingTag ? 1 : -1;
      }
    }
    if (SubRow < S - 1) {
      ++SubRow;
    } else {
      ApplyRow();
      SubRow = 0;
      ++PixelRow;
    }
  }
  if (SubRow > 0) ApplyRow();
}

// Calls Visit(I, X, Y) for the points X1 + I (X2 - X1) / L, I = 0..N, that
// can touch R (whose anti-aliased footprint reaches it); the others are
// skipped without being computed, which keeps a long line cheap.
template <class F>
void ForEachLinePoint(double X1, double Y1, double X2, double Y2, double L, int64_t N, const TRect& R, F&& Visit) {
  int64_t Lo = 0, Hi = N;
  const auto Narrow = [&](double A, double D, double Min, double Max) {
    if (D == 0) {
      if (!(A >= Min && A <= Max)) Hi = -1;
      return;
    }
    double I1 = (Min - A) * L / D, I2 = (Max - A) * L / D;
    if (I1 > I2) std::swap(I1, I2);
    Lo = std::max(Lo, FloorInt64(I1) - 1);
    Hi = std::min(Hi, FloorInt64(I2) + 2);
  };
  Narrow(X1, X2 - X1, R.Left - 1.0, R.Right);
  Narrow(Y1, Y2 - Y1, R.Top - 1.0, R.Bottom);
  for (int64_t I = Lo; I <= Hi; ++I) {
    const double D = static_cast<double>(I);
    Visit(I, X1 + D * (X2 - X1) / L, Y1 + D * (Y2 - Y1) / L);
  }
}

// The common checks of the line routines: false when nothing is to be drawn;
// R then holds Clip cut to the bitmap.
bool LineVisible(const TBitmap& Bitmap, double X1, double Y1, double X2, double Y2, int Opacity, const TRect& Clip,
                 TRect& R) {
  R = Clip;
  return Opacity > 0 && Usable(Bitmap) && ClipToBitmap(R, Bitmap) && SegmentTouchesRect(X1, Y1, X2, Y2, R);
}

} // namespace

// ---- TPolygon24 -----------------------------------------------------------------

TPolygon24::TPolygon24() { NewLine(); }

void TPolygon24::Clear() {
  FPoints.clear();
  FNormals.clear();
  NewLine();
}

void TPolygon24::NewLine() {
  if (FPoints.empty() || !FPoints.back().empty()) FPoints.emplace_back();
}

TFloatPointArray& TPolygon24::LastPath() {
  if (FPoints.empty()) FPoints.emplace_back();
  return FPoints.back();
}

void TPolygon24::Add(const TFloatPoint& P) {
  LastPath().push_back(P);
  FNormals.clear();
}

void TPolygon24::AddPoints(const TFloatPointArray& Points) {
  AddPoints(Points.data(), static_cast<int>(Points.size()));
}

void TPolygon24::AddPoints(const TFloatPoint* First, int Count) {
  if (Count <= 0) return;
  // A copy first: the points may be this polygon's own.
  const TFloatPointArray Points(First, First + Count);
  TFloatPointArray& Path = LastPath();
  Path.insert(Path.end(), Points.begin(), Points.end());
  FNormals.clear();
}

void TPolygon24::AddPoints(const TPoint* First, int Count) {
  if (Count <= 0) return;
  TFloatPointArray& Path = LastPath();
  for (int I = 0; I < Count; ++I) Path.push_back(FloatPointFromPoint(First[I]));
  FNormals.clear();
}

void TPolygon24::Offset(double DX, double DY) {
  for (TFloatPointArray& Path : FPoints)
    for (TFloatPoint& P : Path) P = {P.X + DX, P.Y + DY};
}

void TPolygon24::Fill(TBitmap& Bitmap, TColor Color) const {
  if (Color != clNone)
    FillPolyPolygon24(Bitmap, FPoints, Color, FFillMode == pfWinding, FAntialiased, FFillAlpha, FClipRect);
}

void TPolygon24::DrawEdge(TBitmap& Bitmap, TColor Color) const {
  if (Color != clNone) DrawPolyPolyline24(Bitmap, FPoints, Color, FClosed, FAntialiased, FEdgeAlpha, FClipRect);
}

void TPolygon24::Draw(TBitmap& Bitmap, TColor OutlineColor, TColor FillColor) const {
  Fill(Bitmap, FillColor);
  if (!(OutlineColor == FillColor && FAntialiased)) DrawEdge(Bitmap, OutlineColor);
}

// ---- Filling ----------------------------------------------------------------------

void FillPolygon24(TBitmap& Bitmap, const TFloatPointArray& Points, TColor Color, bool Winding, bool Antialiased,
                   int Opacity, const TRect& Clip) {
  if (Points.size() < 3) return;
  const TFloatPointArray* Path = &Points;
  FillPaths(Bitmap, &Path, 1, Color, Winding, Antialiased, Opacity, Clip);
}

void FillPolyPolygon24(TBitmap& Bitmap, const TPolyPoints& Points, TColor Color, bool Winding, bool Antialiased,
                       int Opacity, const TRect& Clip) {
  if (Points.size() == 1) {
    FillPolygon24(Bitmap, Points[0], Color, Winding, Antialiased, Opacity, Clip);
    return;
  }
  std::vector<const TFloatPointArray*> Paths;
  for (const TFloatPointArray& Path : Points) Paths.push_back(&Path);
  FillPaths(Bitmap, Paths.data(), Paths.size(), Color, Winding, Antialiased, Opacity, Clip);
}

// ---- Points and lines ----------------------------------------------------------------

void PlotPixel24(TBitmap& Bitmap, int X, int Y, TRGB Color, int Percent, const TRect& Clip) {
  if (Percent <= 0 || !PtInRect(Clip, {X, Y}) || static_cast<unsigned>(X) >= static_cast<unsigned>(Bitmap.Width()) ||
      static_cast<unsigned>(Y) >= static_cast<unsigned>(Bitmap.Height()) || Bitmap.PixelFormat() != pf24bit)
    return;
  MixPercent(RowOf(Bitmap, Y)[X], Color, Percent);
}

void PlotPixelF24(TBitmap& Bitmap, double X, double Y, TRGB Color, int Percent, const TRect& Clip) {
  if (Percent <= 0) return;
  const int IX = FloorInt(X);
  const int IY = FloorInt(Y);
  // The fraction from the floor, so that points left of or above 0 weigh
  // their pixels as any other point does.
  const double FX = X - std::floor(X);
  const double FY = Y - std::floor(Y);
  PlotPixel24(Bitmap, IX, IY, Color, Round((1 - FX) * (1 - FY) * Percent), Clip);
  PlotPixel24(Bitmap, IX + 1, IY, Color, Round(FX * (1 - FY) * Percent), Clip);
  PlotPixel24(Bitmap, IX, IY + 1, Color, Round((1 - FX) * FY * Percent), Clip);
  PlotPixel24(Bitmap, IX + 1, IY + 1, Color, Round(FX * FY * Percent), Clip);
}

void DrawHLine24(TBitmap& Bitmap, int X1, int Y, int X2, TRGB Color, int Percent, const TRect& Clip) {
  const TRect R = IntersectRect(Clip, BitmapRect(Bitmap));
  if (Percent <= 0 || Y < R.Top || Y >= R.Bottom || Bitmap.PixelFormat() != pf24bit) return;
  X1 = std::max(X1, R.Left);
  X2 = std::min(X2, R.Right - 1);
  PRGBArray Row = RowOf(Bitmap, Y);
  for (int X = X1; X <= X2; ++X) MixPercent(Row[X], Color, Percent);
}

void DrawVLine24(TBitmap& Bitmap, int X, int Y1, int Y2, TRGB Color, int Percent, const TRect& Clip) {
  const TRect R = IntersectRect(Clip, BitmapRect(Bitmap));
  if (Percent <= 0 || X < R.Left || X >= R.Right || Bitmap.PixelFormat() != pf24bit) return;
  Y1 = std::max(Y1, R.Top);
  Y2 = std::min(Y2, R.Bottom - 1);
  for (int Y = Y1; Y <= Y2; ++Y) MixPercent(RowOf(Bitmap, Y)[X], Color, Percent);
}

void DrawAxisLine24(TBitmap& Bitmap, int X1, int Y1, int X2, int Y2, TRGB Color, bool IncludeLast, int Percent,
                    const TRect& Clip) {
  // The run from A (included) to B (only with IncludeLast), either way.
  const auto Run = [IncludeLast](int A, int B, int& Lo, int& Hi) {
    if (A <= B) {
      Lo = A;
      Hi = IncludeLast ? B : B - 1;
    } else {
      Lo = IncludeLast ? B : B + 1;
      Hi = A;
    }
  };
  int Lo, Hi;
  if (X1 == X2) {
    Run(Y1, Y2, Lo, Hi);
    DrawVLine24(Bitmap, X1, Lo, Hi, Color, Percent, Clip);
  } else if (Y1 == Y2) {
    Run(X1, X2, Lo, Hi);
    DrawHLine24(Bitmap, Lo, Y1, Hi, Color, Percent, Clip);
  }
}

bool SegmentTouchesRect(double X1, double Y1, double X2, double Y2, const TRect& R) {
  return !((X1 < R.Left && X2 < R.Left) || (X1 >= R.Right && X2 >= R.Right) || (Y1 < R.Top && Y2 < R.Top) ||
           (Y1 >= R.Bottom && Y2 >= R.Bottom));
}

void DrawLine24(TBitmap& Bitmap, int X1, int Y1, int X2, int Y2, TColor Color, bool IncludeLast, int Opacity,
                const TRect& Clip) {
  TRect R;
  if (!LineVisible(Bitmap, X1, Y1, X2, Y2, Opacity, Clip, R)) return;
  const TRGB C = ColorToTRGB(Color);
  if (X1 == X2 || Y1 == Y2) {
    DrawAxisLine24(Bitmap, X1, Y1, X2, Y2, C, IncludeLast, Opacity, R);
    return;
  }
  // Bresenham along the major axis U, the minor V following: at step i
  // (after i moves) the error term has taken h0 + i dV, so V has moved
  // (h0 + i dV - 1) div dU times. Only the steps whose U lies in the clip are
  // walked, starting from that closed form.
  const int64_t DX = std::abs(static_cast<int64_t>(X2) - X1);
  const int64_t DY = std::abs(static_cast<int64_t>(Y2) - Y1);
  const bool XMajor = DY < DX;
  const int64_t DU = XMajor ? DX : DY, DV = XMajor ? DY : DX;
  const int64_t U1 = XMajor ? X1 : Y1, V1 = XMajor ? Y1 : X1;
  const int SU = (XMajor ? X2 > X1 : Y2 > Y1) ? 1 : -1;
  const int SV = (XMajor ? Y2 > Y1 : X2 > X1) ? 1 : -1;
  const int64_t ULo = XMajor ? R.Left : R.Top, UHi = (XMajor ? R.Right : R.Bottom) - 1;
  const int64_t H0 = DU / 2;
  int64_t First = SU > 0 ? ULo - U1 : U1 - UHi;
  int64_t Last = SU > 0 ? UHi - U1 : U1 - ULo;
  First = std::max<int64_t>(First, 0);
  Last = std::min(Last, DU - 1);
  if (First <= Last) {
    // First * DV may pass 2^63 for ends far apart.
    const __int128 Taken = static_cast<__int128>(First) * DV + H0;
    const int64_t Moves = First == 0 ? 0 : static_cast<int64_t>((Taken - 1) / DU);
    int64_t H = static_cast<int64_t>(Taken - static_cast<__int128>(Moves) * DU);
    int64_t U = U1 + SU * First, V = V1 + SV * Moves;
    for (int64_t I = First; I <= Last; ++I) {
      if (XMajor)
        PlotPixel24(Bitmap, static_cast<int>(U), static_cast<int>(V), C, Opacity, R);
      else
        PlotPixel24(Bitmap, static_cast<int>(V), static_cast<int>(U), C, Opacity, R);
      U += SU;
      H += DV;
      if (H > DU) {
        V += SV;
        H -= DU;
      }
    }
  }
  if (IncludeLast) PlotPixel24(Bitmap, X2, Y2, C, Opacity, R);
}

void DrawLineF24(TBitmap& Bitmap, double X1, double Y1, double X2, double Y2, TColor Color, bool IncludeLast,
                 int Opacity, const TRect& Clip) {
  DrawLine24(Bitmap, Round(X1), Round(Y1), Round(X2), Round(Y2), Color, IncludeLast, Opacity, Clip);
}

void DrawLineAA24(TBitmap& Bitmap, double X1, double Y1, double X2, double Y2, TColor Color, bool IncludeLast,
                  int Opacity, const TRect& Clip) {
  TRect R;
  if (!LineVisible(Bitmap, X1, Y1, X2, Y2, Opacity, Clip, R)) return;
  const double L = std::sqrt((X2 - X1) * (X2 - X1) + (Y2 - Y1) * (Y2 - Y1));
  const int64_t N = static_cast<int64_t>(Round(L)) - (IncludeLast ? 0 : 1);
  if (N <= 0 || !std::isfinite(L)) return;
  const TRGB C = ColorToTRGB(Color);
  ForEachLinePoint(X1, Y1, X2, Y2, L, N, R,
                   [&](int64_t, double X, double Y) { PlotPixelF24(Bitmap, X, Y, C, Opacity, R); });
}

void DrawLineInt24(TBitmap& Bitmap, int X1, int Y1, int X2, int Y2, TColor Color, bool Antialiased, const TRect& Clip) {
  if (Antialiased)
    DrawLineAA24(Bitmap, X1, Y1, X2, Y2, Color, true, 100, Clip);
  else
    DrawLine24(Bitmap, X1, Y1, X2, Y2, Color, true, 100, Clip);
}

void DrawPolyline24(TBitmap& Bitmap, const TFloatPointArray& Points, TColor Color, bool Closed, bool Antialiased,
                    int Opacity, const TRect& Clip) {
  TRect R = Clip;
  if (Opacity <= 0 || !Usable(Bitmap) || !ClipToBitmap(R, Bitmap) || Points.size() < 2) return;
  const auto Segment = [&](const TFloatPoint& A, const TFloatPoint& B) {
    if (Antialiased)
      DrawLineAA24(Bitmap, A.X, A.Y, B.X, B.Y, Color, false, Opacity, R);
    else
      DrawLineF24(Bitmap, A.X, A.Y, B.X, B.Y, Color, false, Opacity, R);
  };
  for (size_t I = 0; I + 1 < Points.size(); ++I) Segment(Points[I], Points[I + 1]);
  if (Closed) Segment(Points.back(), Points.front());
}

void DrawPolyPolyline24(TBitmap& Bitmap, const TPolyPoints& Points, TColor Color, bool Closed, bool Antialiased,
                        int Opacity, const TRect& Clip) {
  for (const TFloatPointArray& Path : Points) DrawPolyline24(Bitmap, Path, Color, Closed, Antialiased, Opacity, Clip);
}

void DrawDashedLineAA24(TBitmap& Bitmap, double X1, double Y1, double X2, double Y2, TColor Color, int Opacity,
                        uint8_t Style, const TRect& Clip) {
  TRect R;
  if (!LineVisible(Bitmap, X1, Y1, X2, Y2, Opacity, Clip, R)) return;
  const double L = std::sqrt((X2 - X1) * (X2 - X1) + (Y2 - Y1) * (Y2 - Y1));
  const int64_t N = Round(L);
  if (N <= 0 || !std::isfinite(L)) return;
  const TRGB C = ColorToTRGB(Color);
  const int Phase0 = ((DashPhase % 8) + 8) % 8;
  const auto Drawn = [Style](int P) {
    switch (Style) {
    case 0:
      return true;
    case 1:
      return P < 5;
    case 2:
      return P % 2 == 0;
    case 3:
      return ((0x5F >> P) & 1) != 0;
    case 4:
      return ((0x57 >> P) & 1) != 0;
    default:
      return false;
    }
  };
  // Every visited point advances the phase, drawn or not, also those that
  // lie outside the clip and are skipped.
  ForEachLinePoint(X1, Y1, X2, Y2, L, N, R, [&](int64_t I, double X, double Y) {
    if (Drawn(static_cast<int>((Phase0 + I) % 8))) PlotPixelF24(Bitmap, X, Y, C, Opacity, R);
  });
  DashPhase = static_cast<int>((Phase0 + N + 1) % 8);
}

// ---- Point helpers ---------------------------------------------------------------------

TFloatRect FloatPointsBounds(const TFloatPointArray& Points) {
  TFloatRect B{9999999, 9999999, -9999999, -9999999};
  for (const TFloatPoint& P : Points) {
    B.Left = std::min(B.Left, P.X);
    B.Top = std::min(B.Top, P.Y);
    B.Right = std::max(B.Right, P.X);
    B.Bottom = std::max(B.Bottom, P.Y);
  }
  return B;
}

TFloatRect PolyPointsBounds(const TPolyPoints& Points) {
  TFloatRect B{9999999, 9999999, -9999999, -9999999};
  for (const TFloatPointArray& Path : Points) {
    const TFloatRect PB = FloatPointsBounds(Path);
    B = {std::min(B.Left, PB.Left), std::min(B.Top, PB.Top), std::max(B.Right, PB.Right),
         std::max(B.Bottom, PB.Bottom)};
  }
  return B;
}

TFloatPoint PointsCentroid(const TFloatPointArray& Points) {
  if (Points.empty()) return {0, 0};
  double X = 0, Y = 0;
  for (const TFloatPoint& P : Points) {
    X += P.X;
    Y += P.Y;
  }
  return {X / static_cast<double>(Points.size()), Y / static_cast<double>(Points.size())};
}

double ClampBetween(double A, double B, double C) {
  const double Lo = std::min(B, C), Hi = std::max(B, C);
  return A < Lo ? Lo : (A > Hi ? Hi : A);
}
