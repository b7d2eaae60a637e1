#include "filters/TexturePictures.h"

#include "raster/Bitmap24.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numbers>
#include <vector>

namespace {

// Palette entries (0xAARRGGBB).
constexpr TPaletteEntry Black = 0xFF000000, White = 0xFFFFFFFF, Red = 0xFFFF0000, Grey = 0xFF808080,
                        DarkGrey = 0xFF404040;
// The indexes the 4-bit pictures draw with.
enum : int { iBlack = 0, iWhite = 1, iRed = 2, iGrey = 3, iDarkGrey = 4 };

// A position hash: the same texel for the same place, so the pictures are
// the same on every run.
uint32_t Hash(int X, int Y, uint32_t Seed) {
  uint32_t H = Seed ^ (uint32_t(X) * 73856093u) ^ (uint32_t(Y) * 19349663u);
  H ^= H >> 13;
  H *= 0x5bd1e995u;
  H ^= H >> 15;
  return H;
}

// A picture of W x H in Format whose pixel (x, y) takes palette index
// Index(x, y).
template <class F> void Draw(TBitmap& B, int W, int H, TPixelFormat Format, F Index) {
  B.Assign(TBitmap());
  B.SetPixelFormat(Format);
  std::vector<TPaletteEntry> Palette(Format == pf1bit ? 2 : 16, White);
  Palette[iBlack] = Black;
  Palette[iWhite] = White;
  if (Format == pf4bit) {
    Palette[iRed] = Red;
    Palette[iGrey] = Grey;
    Palette[iDarkGrey] = DarkGrey;
  }
  B.SetPalette(std::move(Palette));
  B.SetSize(W, H);
  for (int Y = 0; Y < H; ++Y) {
    uint8_t* Row = B.ScanLine(Y);
    for (int X = 0; X < W; ++X) SetPixelIndex(Row, X, Format, Index(X, Y));
  }
}

// Distance along a wrapped axis of length N.
int WrapDistance(int A, int B, int N) {
  const int D = std::abs(A - B) % N;
  return std::min(D, N - D);
}

void Sandstone(TBitmap& B) {
  // Grains of one pixel, about one in four black.
  Draw(B, 32, 32, pf1bit, [](int X, int Y) { return Hash(X, Y, 0x71Cu) % 4 == 0 ? iBlack : iWhite; });
}

void ZebraSkin(TBitmap& B) {
  // Six wavy stripes across, the wave twice down the tile: periodic both ways.
  constexpr double Tau = 2 * std::numbers::pi;
  Draw(B, 96, 96, pf1bit, [Tau](int X, int Y) {
    const double Shift = 7 * std::sin(Tau * 2 * Y / 96.0) + 3 * std::sin(Tau * 3 * Y / 96.0);
    return std::sin(Tau * 6 * (X + Shift) / 96.0) > 0.1 ? iBlack : iWhite;
  });
}

void Crackle(TBitmap& B) {
  // Cells around scattered seeds; the cracks are where two seeds are nearly
  // as close, measured on the wrapped tile.
  constexpr int Side = 96, Seeds = 24;
  std::vector<std::pair<int, int>> Seed(Seeds);
  for (int I = 0; I < Seeds; ++I) Seed[I] = {int(Hash(I, 1, 0xC3A5u) % Side), int(Hash(I, 2, 0xC3A5u) % Side)};
  Draw(B, Side, Side, pf1bit, [&](int X, int Y) {
    double D1 = 1e9, D2 = 1e9;
    for (const auto& [SX, SY] : Seed) {
      const double DX = WrapDistance(X, SX, Side), DY = WrapDistance(Y, SY, Side);
      const double D = std::sqrt(DX * DX + DY * DY);
      if (D < D1) {
        D2 = D1;
        D1 = D;
      } else if (D < D2) {
        D2 = D;
      }
    }
    return D2 - D1 < 1.2 ? iBlack : iWhite;
  });
}

void Zigzag(TBitmap& B) {
  // A black zigzag with a lit edge below it, on a neutral grey.
  Draw(B, 8, 9, pf4bit, [](int X, int Y) {
    const int Line = 2 + (X < 4 ? X : 7 - X);
    return Y == Line ? iBlack : Y == Line + 1 ? iWhite : iGrey;
  });
}

void FineMesh(TBitmap& B) {
  // One dark line every 6 pixels both ways; the rest is the key colour.
  Draw(B, 6, 6, pf4bit, [](int X, int Y) { return X == 0 || Y == 0 ? iDarkGrey : iRed; });
}

void LargeMesh(TBitmap& B) {
  // Diamonds whose corners touch the tile's edges.
  Draw(B, 20, 18, pf4bit, [](int X, int Y) {
    const double D = std::abs(X - 10) / 10.0 + std::abs(Y - 9) / 9.0;
    return std::abs(D - 1) < 0.12 ? iDarkGrey : iRed;
  });
}

void Grid(TBitmap& B) {
  // Black lines every 9 pixels with a white point at the centre of each
  // square, on a neutral grey.
  Draw(B, 9, 9, pf4bit, [](int X, int Y) { return X == 0 || Y == 0 ? iBlack : X == 4 && Y == 4 ? iWhite : iGrey; });
}

void OldCanvas(TBitmap& B) {
  // A plain weave of 3-pixel threads: in each cell either the warp or the
  // weft lies on top, with a dark gap beside it; a few threads are broken.
  Draw(B, 135, 71, pf1bit, [](int X, int Y) {
    const bool WeftOnTop = (X / 3 + Y / 3) % 2 == 0;
    const bool Gap = WeftOnTop ? Y % 3 == 2 : X % 3 == 2;
    const bool Broken = Hash(X / 3, Y / 3, 0xB17u) % 11 == 0;
    return Gap != Broken ? iBlack : iWhite;
  });
}

} // namespace

bool TexturePicture(std::string_view Name, TBitmap& Picture) {
  using TMaker = void (*)(TBitmap&);
  static constexpr std::pair<std::string_view, TMaker> Makers[] = {
      {"TXT1", Sandstone}, {"TXT2", ZebraSkin}, {"TXT3", Crackle}, {"TXT4", Zigzag},
      {"TXT5", FineMesh},  {"TXT6", LargeMesh}, {"TXT7", Grid},    {"TXT8", OldCanvas}};
  for (const auto& [Key, Make] : Makers)
    if (Key == Name) {
      Make(Picture);
      return true;
    }
  Picture.Assign(TBitmap());
  return false;
}

void ApplyTextureResource(TBitmap& Bitmap, std::string_view Name, int Amount, bool Tiled, const TRect& Rect) {
  TBitmap Texture;
  if (!TexturePicture(Name, Texture)) return;
  Texture.SetPixelFormat(pf24bit);
  if (Tiled)
    TileBitmap24ColorKey(Texture, Bitmap, 0, 0, Rect, Amount, clRed, 7);
  else
    ApplyTextureTone24(Texture, Bitmap, Rect, Amount);
}
