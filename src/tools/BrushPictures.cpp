#include "tools/BrushPictures.h"

#include "filters/Filtres24.h"
#include "platform/Rounding.h"
#include "raster/ColorFill.h"
#include "raster/Pixels.h"

#include <cmath>
#include <cstdint>

namespace {

// A deterministic grain: about one pixel in three black, tileable because
// it depends on the position modulo the side only.
void Grain(TBitmap& B, int Side, uint32_t Seed) {
  B.SetPixelFormat(pf24bit);
  B.SetSize(Side, Side);
  for (int Y = 0; Y < Side; ++Y) {
    TRGB* Row = RowOf(B, Y);
    for (int X = 0; X < Side; ++X) {
      uint32_t H = Seed ^ (uint32_t(X) * 73856093u) ^ (uint32_t(Y) * 19349663u);
      H ^= H >> 13;
      H *= 0x5bd1e995u;
      H ^= H >> 15;
      const uint8_t V = H % 3 == 0 ? 0 : 255;
      Row[X] = {V, V, V};
    }
  }
}

} // namespace

void MakeBrushTexture(int Mode, TBitmap& Texture) {
  Texture.Assign(TBitmap());
  if (Mode != 2 && Mode != 3) return;
  Grain(Texture, Mode == 2 ? 96 : 32, Mode == 2 ? 0x2D1Bu : 0x71Cu);
  const TRect All{0, 0, Texture.Width(), Texture.Height()};
  if (Mode == 3) FillColor24(Texture, clBlack, 22, All);
  Diffuse24(Texture, 1, 0, All);
  Smooth24(Texture, 100, All);
}

void BrushButtonPicture(int Index, TBitmap& Picture) {
  Picture.Assign(TBitmap());
  if (Index < 0 || Index > 8) return;
  // Shape 0 square, 1 disc, 2 soft disc, 3 speckled square; and its side.
  static constexpr int Shapes[9][2] = {{0, 1}, {0, 3}, {1, 7}, {2, 7}, {1, 11}, {1, 15}, {3, 3}, {0, 5}, {0, 9}};
  const int Shape = Shapes[Index][0], Side = Shapes[Index][1];
  const int Size = Side + 4, C = Size / 2;
  Picture.SetPixelFormat(pf24bit);
  Picture.SetSize(Size, Size);
  const double R = Side / 2.0;
  for (int Y = 0; Y < Size; ++Y) {
    TRGB* Row = RowOf(Picture, Y);
    for (int X = 0; X < Size; ++X) {
      const int DX = X - C, DY = Y - C;
      const bool InSquare = std::abs(DX) <= Side / 2 && std::abs(DY) <= Side / 2;
      const double D = std::sqrt(double(DX * DX + DY * DY));
      double Dark = 0;
      switch (Shape) {
      case 0: Dark = InSquare; break;
      case 1: Dark = D <= R; break;
      case 2: Dark = D <= R ? 1.0 - D / (R + 1) : 0.0; break;
      default: Dark = InSquare && (DX + DY) % 2 == 0; break;
      }
      const uint8_t V = uint8_t(Round(255 * (1 - Dark)));
      Row[X] = {V, V, V};
    }
  }
}
