#include "raster/Rotation24.h"

#include "platform/Rounding.h"
#include "raster/Bitmap24.h"
#include "raster/ProgressScope.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

// Src itself, or a 24-bit copy of it when it is not 24-bit or is the bitmap
// about to be rebuilt.
class TSource {
public:
  TSource(const TBitmap& Src, const TBitmap& Dst) : FBitmap(&Src) {
    if (&Src == &Dst || Src.PixelFormat() != pf24bit) {
      Assign24(Src, FCopy);
      FBitmap = &FCopy;
    }
  }
  const TBitmap& operator*() const { return *FBitmap; }

private:
  TBitmap FCopy;
  const TBitmap* FBitmap;
};

// Pixels are moved in square tiles so that the column-wise writes stay in
// the cache.
constexpr int Tile = 64;

double Radians(double Angle) { return -Angle * std::numbers::pi / 180; }

} // namespace

void RotateBitmap90To(const TBitmap& SrcIn, TBitmap& Dst, bool Clockwise) {
  const TSource Src(SrcIn, Dst);
  const int W = (*Src).Width(), H = (*Src).Height();
  NewBitmap24(Dst, H, W, clWhite);
  if (Dst.Empty()) return;
  for (int TY = 0; TY < H; TY += Tile)
    for (int TX = 0; TX < W; TX += Tile) {
      const int XEnd = std::min(W, TX + Tile);
      for (int Y = TY; Y < std::min(H, TY + Tile); ++Y) {
        const TRGB* Row = RowOf(*Src, Y);
        for (int X = TX; X < XEnd; ++X) {
          if (Clockwise)
            RowOf(Dst, X)[H - 1 - Y] = Row[X];
          else
            RowOf(Dst, W - 1 - X)[Y] = Row[X];
        }
      }
    }
}

void RotateBitmap90(TBitmap& Bitmap, bool Clockwise) { RotateBitmap90To(Bitmap, Bitmap, Clockwise); }

void RotateBitmapAngleTo(const TBitmap& SrcIn, TBitmap& Dst, double Angle, bool Expand, TColor BackColor,
                         TAntialiasMode Mode) {
  if (Angle == 0) {
    Dst.Assign(SrcIn);
    return;
  }
  const TSource Src(SrcIn, Dst);
  const int W = (*Src).Width(), H = (*Src).Height();
  const double A = Radians(Angle);
  const double C = std::cos(A), S = std::sin(A);
  // The bounds as the formula gives them: no snapping at quarter turns.
  const int NewW = Expand ? Ceil(std::fabs(H * S) + std::fabs(W * C)) : W;
  const int NewH = Expand ? Ceil(std::fabs(W * S) + std::fabs(H * C)) : H;
  TProgressScope Progress(NewH);
  if (!Progress.Begun()) return;
  NewBitmap24(Dst, NewW, NewH, BackColor);
  if (Dst.Empty()) return;

  TScanLinesManagerEx Lines(*Src, WholeBitmapRect);
  if (BackColor == clNone)
    Lines.SetPixelsInLimits(true);
  else
    Lines.SetBackColor(ColorToTRGB(BackColor));
  Lines.SetAntialiasMode(Mode);
  const double XS = (W - 1) / 2.0, YS = (H - 1) / 2.0;
  const double XD = (NewW - 1) / 2.0, YD = (NewH - 1) / 2.0;
  std::vector<double> DXC(static_cast<size_t>(NewW)), DXS(static_cast<size_t>(NewW));
  for (int X = 0; X < NewW; ++X) {
    const double DX = X - XD;
    DXC[static_cast<size_t>(X)] = DX * C;
    DXS[static_cast<size_t>(X)] = DX * S;
  }
  Lines.WithSampler([&](auto Read) {
    for (int Y = 0; Y < NewH; ++Y) {
      if (!Progress.Step(Y)) break;
      const double DY = Y - YD;
      const double DYS = DY * S, DYC = DY * C;
      TRGB* Row = RowOf(Dst, Y);
      for (int X = 0; X < NewW; ++X)
        Row[X] = Read(DXC[static_cast<size_t>(X)] - DYS + XS, DXS[static_cast<size_t>(X)] + DYC + YS);
    }
    return 0;
  });
}

void RotateBitmapAngle(TBitmap& Bitmap, double Angle, bool Expand, TColor BackColor, TAntialiasMode Mode) {
  if (Angle == 0) return;
  RotateBitmapAngleTo(Bitmap, Bitmap, Angle, Expand, BackColor, Mode);
}

TPoint RotateBitmapPoint(TPoint P, double Angle, int OldW, int OldH, int NewW, int NewH) {
  const double A = Radians(Angle);
  const double F = P.X - (OldW - 1) / 2.0;
  const double G = (OldH - 1) / 2.0 - P.Y;
  const double C = std::cos(A), S = std::sin(A);
  return {Round((NewW - 1) / 2.0 + F * C - G * S), Round((NewH - 1) / 2.0 - (F * S + G * C))};
}
