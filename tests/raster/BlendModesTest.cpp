#include "raster/BlendModes.h"
#include "platform/Rounding.h"
#include "platform/VectorDispatch.h"
#include "support/ImageCompare.h"
#include "support/Pixels.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <random>

namespace {
int Clamp(int V) { return V < 0 ? 0 : V > 255 ? 255 : V; }

// Each mode written again from its formula, one channel at a time.
int ReferenceChannel(int Mode, int a, int b) {
  switch (Mode) {
  case 0:
    return b;
  case 2:
    return a < b ? a : b;
  case 3:
    return a > b ? a : b;
  case 4:
    return 255 - (255 - a) * (255 - b) / 255;
  case 5:
    return b > a ? b - a : a - b;
  case 6:
    return a * b / 255;
  case 7:
    return std::min(255, a * (a + b) / 255);
  case 12:
    return std::min(255, (a * 256) / (b + 1));
  case 13:
    return std::min(255, (a * 256) / (256 - b));
  case 14:
    return std::max(0, 255 - ((255 - a) * 256) / (b + 1));
  case 15:
    return std::min(255, a * (a + (255 - a) * b / 128) / 255);
  case 16:
    return Clamp(a <= 128 ? a * b / 128 : 255 - (255 - a) * (255 - b) / 127);
  case 17:
    return Clamp(b <= 128 ? a * b / 128 : 255 - (255 - a) * (255 - b) / 127);
  case 18: {
    const int S = 255 - (255 - a) * (255 - b) / 255;
    return std::min(255, a * (b * (255 - a) / 255 + S) / 255);
  }
  case 19:
    return Clamp(a - b + 128);
  case 20:
    return Clamp(a + b - 128);
  case 21:
    return std::min(255, a + b);
  case 22:
    return std::max(0, a - b);
  case 23:
    if (b == 0) return a;
    if (b == 255) return 255;
    return int(std::nearbyint(255 * std::pow((a + 0.1) / 255, double(255 - b) / 255)));
  case 24:
    if (b == 255) return a;
    if (b == 0) return 0;
    return 255 - int(std::nearbyint(255 * std::pow((255 - a + 0.1) / 255, double(b) / 255)));
  case 25:
    if (b == 0) return 0;
    if (b == 255) return 255;
    if (b <= 128) return 255 - int(std::nearbyint(255 * std::pow((255 - a + 0.1) / 255, double(2 * b) / 256)));
    return int(std::nearbyint(255 * std::pow((a + 0.1) / 255, double(2 * (255 - b)) / 255)));
  }
  ADD_FAILURE() << "no channel formula for mode " << Mode;
  return 0;
}

TRGB FromHSVRef(int H, int S, int V) {
  int R, G, B;
  HSVToRGB(H, S, V, R, G, B);
  return {uint8_t(B), uint8_t(G), uint8_t(R)};
}

// The whole reference result; Diffusion replays the shared generator.
TRGB Reference(int Mode, TRGB a, TRGB b) {
  if (Mode == 1) return Random(2) == 0 ? b : a;
  if (Mode >= 8 && Mode <= 11) {
    int Ha, Sa, Va, Hb, Sb, Vb;
    RGBToHSV(a.Red, a.Green, a.Blue, Ha, Sa, Va);
    RGBToHSV(b.Red, b.Green, b.Blue, Hb, Sb, Vb);
    switch (Mode) {
    case 8:
      return Hb == 0 ? a : FromHSVRef(Hb, Sa, Va);
    case 9:
      return FromHSVRef(Ha, Sb, Va);
    case 10:
      return FromHSVRef(Ha, Sa, Vb);
    default:
      return FromHSVRef(Hb, Sb, Va);
    }
  }
  return {uint8_t(ReferenceChannel(Mode, a.Blue, b.Blue)), uint8_t(ReferenceChannel(Mode, a.Green, b.Green)),
          uint8_t(ReferenceChannel(Mode, a.Red, b.Red))};
}

uint8_t Channel1(int Mode, int a, int b) {
  SelectBlendMode(Mode);
  TRGB d{uint8_t(a), uint8_t(a), uint8_t(a)};
  BlendPixel(d, TRGB{uint8_t(b), uint8_t(b), uint8_t(b)});
  EXPECT_TRUE(d.Blue == d.Green && d.Green == d.Red);
  return d.Blue;
}

TRGB Pixel(int R, int G, int B) { return {uint8_t(B), uint8_t(G), uint8_t(R)}; }

void FillGreyMask(TBitmap& Mask, unsigned Seed) {
  std::mt19937 Gen(Seed);
  for (int Y = 0; Y < Mask.Height(); ++Y)
    for (int X = 0; X < Mask.Width(); ++X) {
      const unsigned R = Gen() % 6;
      const uint8_t M = R == 0 ? 0 : R == 1 ? 255 : uint8_t(Gen() >> 24);
      RowOf(Mask, Y)[X] = {M, M, M};
    }
}
} // namespace

TEST(BlendModes, ListedValues) {
  struct Case {
    int Mode, a, b, R;
  };
  for (const Case& C :
       {Case{6, 255, 255, 255},  Case{6, 128, 128, 64},   Case{7, 200, 200, 255},  Case{7, 100, 50, 58},
        Case{12, 77, 255, 77},   Case{12, 1, 0, 255},     Case{12, 0, 99, 0},      Case{13, 1, 255, 255},
        Case{13, 0, 255, 0},     Case{14, 254, 0, 0},     Case{14, 255, 0, 255},   Case{16, 128, 255, 255},
        Case{16, 129, 0, 3},     Case{19, 77, 77, 128},   Case{20, 64, 64, 0},     Case{23, 77, 0, 77},
        Case{24, 77, 255, 77},   Case{25, 77, 0, 0},      Case{25, 77, 255, 255},  Case{23, 128, 128, 181},
        Case{24, 128, 128, 75},  Case{25, 128, 64, 75},   Case{25, 128, 192, 181}, Case{12, 100, 100, 253},
        Case{13, 100, 100, 164}, Case{14, 200, 100, 116}, Case{15, 50, 200, 72},   Case{18, 50, 200, 72}}) {
    EXPECT_EQ(Channel1(C.Mode, C.a, C.b), C.R) << "mode " << C.Mode << " a " << C.a << " b " << C.b;
  }
  // Codes outside 0..25 are Normal; 256 has the low byte 0, 257 is Diffusion.
  for (int Mode : {26, 255, 256, -256}) {
    EXPECT_EQ(Channel1(Mode, 10, 200), 200) << Mode;
    EXPECT_EQ(CurrentBlendMode(), 0);
  }
  SelectBlendMode(257 + 5);
  EXPECT_EQ(CurrentBlendMode(), 6);
}

TEST(BlendModes, HueModesOnGreyLayerPixels) {
  const TRGB Background = Pixel(200, 40, 90), Grey = Pixel(90, 90, 90);
  SelectBlendMode(8);
  TRGB d = Background;
  BlendPixel(d, Grey);
  EXPECT_EQ(d, Background);
  SelectBlendMode(11);
  d = Background;
  BlendPixel(d, Grey);
  EXPECT_EQ(d, Pixel(200, 200, 200)); // a grey of the background's value
}

TEST(BlendModes, EveryModeMatchesItsFormulaOnRandomPairs) {
  std::mt19937 Gen(31337);
  for (int Mode = 0; Mode < BlendModeCount; ++Mode) {
    SeedRandom(1000 + Mode);
    std::vector<std::pair<TRGB, TRGB>> Pairs(3000);
    std::vector<TRGB> Got;
    SelectBlendMode(Mode);
    for (auto& [a, b] : Pairs) {
      a = {uint8_t(Gen()), uint8_t(Gen()), uint8_t(Gen())};
      b = {uint8_t(Gen()), uint8_t(Gen()), uint8_t(Gen())};
      TRGB d = a;
      BlendPixel(d, b);
      Got.push_back(d);
    }
    SeedRandom(1000 + Mode);
    for (size_t I = 0; I < Pairs.size(); ++I) {
      const TRGB Want = Reference(Mode, Pairs[I].first, Pairs[I].second);
      ASSERT_EQ(Got[I], Want) << "mode " << Mode << " a " << ::testing::PrintToString(Pairs[I].first) << " b "
                              << ::testing::PrintToString(Pairs[I].second);
    }
  }
}

TEST(BlendModes, PerPixelWeighings) {
  SelectBlendMode(0);
  TRGB d = Pixel(255, 255, 255);
  BlendPixelOpacity(d, Pixel(0, 0, 0), 50);
  EXPECT_EQ(d, Pixel(128, 128, 128));

  d = Pixel(100, 20, 100);
  BlendPixelPercentSigned(d, Pixel(150, 200, 100), -100);
  EXPECT_EQ(d, Pixel(50, 0, 100)); // green clamps on its own, blue untouched

  d = Pixel(10, 250, 128);
  BlendPixelAlphaSigned(d, Pixel(110, 50, 128), -255);
  EXPECT_EQ(d, Pixel(0, 255, 128));
  d = Pixel(10, 250, 128);
  BlendPixelAlphaSigned(d, Pixel(110, 50, 128), 300);
  EXPECT_EQ(d, Pixel(127, 15, 128)); // above 255 overshoots, then clamps

  d = Pixel(0, 0, 0);
  BlendPixelMask(d, Pixel(255, 255, 255), Pixel(128, 128, 128));
  EXPECT_EQ(d, Pixel(127, 127, 127));
  d = Pixel(0, 0, 0);
  BlendPixelMaskOpacity(d, Pixel(255, 255, 255), Pixel(128, 128, 128), 50);
  EXPECT_EQ(d, Pixel(63, 63, 63)); // W = 50 * 127 div 100 = 63
  d = Pixel(0, 0, 0);
  BlendPixelAlpha(d, Pixel(255, 255, 255), 100);
  EXPECT_EQ(d, Pixel(100, 100, 100));

  // The weighing applies to the blend result, not to the layer pixel.
  SelectBlendMode(6);
  d = Pixel(200, 200, 200);
  BlendPixelOpacity(d, Pixel(128, 128, 128), 50);
  EXPECT_EQ(d, Pixel(150, 150, 150)); // R = 100, 200 + 50 * (100 - 200) div 100
}

TEST(BlendModes, DiffusionAtHalfOpacityMovesHalfWayOrStays) {
  TBitmap Src(40, 30, pf24bit, clWhite), Dst(40, 30, pf24bit, clBlack);
  SeedRandom(5);
  BlendRect24(Src, WholeBitmapRect, Dst, 0, 0, WholeBitmapRect, 50, nullptr, 1);
  int Moved = 0;
  for (int Y = 0; Y < 30; ++Y)
    for (int X = 0; X < 40; ++X) {
      const TRGB P = RowOf(Dst, Y)[X];
      ASSERT_TRUE(P == Pixel(0, 0, 0) || P == Pixel(127, 127, 127)) << X << "," << Y;
      Moved += P.Red != 0;
    }
  EXPECT_GT(Moved, 400);
  EXPECT_LT(Moved, 800);
}

namespace {
// The offset merge written out: placement, clipping, the per-pixel
// weighing, and Diffusion's draws in pixel order with transparent mask pixels
// skipped.
void ReferenceBlendRect(const TBitmap& Src, TRect SrcRect, TBitmap& Dst, int X, int Y, TRect Clip, int Opacity,
                        const TBitmap* Mask, int Mode) {
  if (Opacity <= 0) return;
  Opacity = std::min(Opacity, 100);
  SrcRect = IntersectRect(NormalizeTRect(SrcRect), {0, 0, Src.Width(), Src.Height()});
  Clip = IntersectRect(NormalizeTRect(Clip), {0, 0, Dst.Width(), Dst.Height()});
  Clip = IntersectRect(Clip, Bounds(X, Y, SrcRect.Width(), SrcRect.Height()));
  for (int DY = Clip.Top; DY < Clip.Bottom; ++DY)
    for (int DX = Clip.Left; DX < Clip.Right; ++DX) {
      const int SX = DX - X + SrcRect.Left, SY = DY - Y + SrcRect.Top;
      const int m = Mask ? (SX < Mask->Width() && SY < Mask->Height() ? RowOf(*Mask, SY)[SX].Blue : 255) : 0;
      if (m == 255) continue;
      TRGB& d = RowOf(Dst, DY)[DX];
      const TRGB R = Reference(Mode, d, RowOf(Src, SY)[SX]);
      const int W = Opacity * (255 - m) / 100; // weight out of 255
      auto Mix = [&](uint8_t& D, uint8_t Rc) {
        if (!Mask)
          D = Opacity == 100 ? Rc : uint8_t(D + Opacity * (Rc - D) / 100);
        else
          D = uint8_t(D + (Rc - D) * W / 255);
      };
      Mix(d.Blue, R.Blue), Mix(d.Green, R.Green), Mix(d.Red, R.Red);
    }
}
} // namespace

TEST(BlendModes, BlendRect24MatchesReferenceInEveryModeAndWeighing) {
  TBitmap Src(37, 23), Dst(41, 29), Mask(37, 23);
  FillRandom(Src, 1);
  FillGreyMask(Mask, 2);
  for (int Mode = 0; Mode < BlendModeCount; ++Mode)
    for (int Opacity : {100, 63})
      for (bool WithMask : {false, true}) {
        FillRandom(Dst, 3 + Mode);
        TBitmap Expected;
        Expected.Assign(Dst);
        const TRect SrcRect{-3, 2, 30, 40}, Clip{1, 0, 39, 27};
        SeedRandom(77);
        BlendRect24(Src, SrcRect, Dst, 4, -1, Clip, Opacity, WithMask ? &Mask : nullptr, Mode);
        SeedRandom(77);
        ReferenceBlendRect(Src, SrcRect, Expected, 4, -1, Clip, Opacity, WithMask ? &Mask : nullptr, Mode);
        ASSERT_TRUE(ImagesMatch(Dst, Expected, 0, "blend"))
            << "mode " << Mode << " opacity " << Opacity << " mask " << WithMask;
      }
}

// Every (background, layer) byte pair of every channel mode through the row
// kernels, in each weighing and with both instruction sets: the blue channel
// holds a = row, b = column, the green one the pair swapped. A second image,
// wider than one pass of the kernels, crosses their chunk boundaries with
// random pixels and a mask that is partly fully transparent and partly not
// grey.
TEST(BlendModes, BlendRect24ChannelModesOnEveryBytePair) {
  TBitmap Src(256, 256), Dst(256, 256), Mask(256, 256);
  FillRandom(Src, 41);
  FillRandom(Dst, 42);
  FillGreyMask(Mask, 43);
  for (int Y = 0; Y < 256; ++Y)
    for (int X = 0; X < 256; ++X) {
      RowOf(Dst, Y)[X].Blue = uint8_t(Y), RowOf(Src, Y)[X].Blue = uint8_t(X);
      RowOf(Dst, Y)[X].Green = uint8_t(X), RowOf(Src, Y)[X].Green = uint8_t(Y);
    }
  TBitmap WideSrc(2100, 5), WideDst(2100, 5), WideMask(2100, 5);
  FillRandom(WideSrc, 44);
  FillRandom(WideDst, 45);
  FillGreyMask(WideMask, 46);
  for (int X = 1030; X < 2060; ++X) RowOf(WideMask, 2)[X] = {255, 255, 255};
  // Pixels whose bytes differ: only the first byte counts.
  RowOf(WideMask, 3)[100] = {10, 200, 30};
  RowOf(Mask, 7)[9] = {255, 0, 0};
  RowOf(Mask, 8)[9] = {0, 255, 255};

  for (bool Baseline : {false, true}) {
    ForceBaselineKernels(Baseline);
    for (int Mode = 0; Mode < BlendModeCount; ++Mode) {
      if (Mode == 1 || (Mode >= 8 && Mode <= 11)) continue;
      for (int Opacity : {100, 63, 1})
        for (bool WithMask : {false, true})
          for (bool Wide : {false, true}) {
            const TBitmap& S = Wide ? WideSrc : Src;
            const TBitmap* M = WithMask ? (Wide ? &WideMask : &Mask) : nullptr;
            TBitmap Got, Want;
            Got.Assign(Wide ? WideDst : Dst);
            Want.Assign(Got);
            BlendRect24(S, WholeBitmapRect, Got, 0, 0, WholeBitmapRect, Opacity, M, Mode);
            ReferenceBlendRect(S, WholeBitmapRect, Want, 0, 0, WholeBitmapRect, Opacity, M, Mode);
            ASSERT_TRUE(ImagesMatch(Got, Want, 0, "channel-modes"))
                << "mode " << Mode << " opacity " << Opacity << " mask " << WithMask << " wide " << Wide << " baseline "
                << Baseline;
          }
    }
  }
  ForceBaselineKernels(false);
}

TEST(BlendModes, BlendRect24EdgeCases) {
  TBitmap Src(20, 20), Dst(20, 20), Before;
  FillRandom(Src, 10);
  FillRandom(Dst, 11);
  Before.Assign(Dst);
  for (int Opacity : {0, -5}) {
    BlendRect24(Src, WholeBitmapRect, Dst, 0, 0, WholeBitmapRect, Opacity, nullptr, 0);
    EXPECT_IMAGES_MATCH(Dst, Before);
  }
  TBitmap Clear(20, 20, pf24bit, clWhite), Opaque(20, 20, pf24bit, clBlack);
  BlendRect24(Src, WholeBitmapRect, Dst, 0, 0, WholeBitmapRect, 100, &Clear, 4);
  EXPECT_IMAGES_MATCH(Dst, Before);

  TBitmap Unmasked;
  Unmasked.Assign(Dst);
  BlendRect24(Src, WholeBitmapRect, Dst, 0, 0, WholeBitmapRect, 100, &Opaque, 4);
  BlendRect24(Src, WholeBitmapRect, Unmasked, 0, 0, WholeBitmapRect, 100, nullptr, 4);
  EXPECT_IMAGES_MATCH(Dst, Unmasked);

  // The mask is read at the source position.
  TBitmap Mask(20, 20, pf24bit, clWhite), Black(20, 20, pf24bit, clBlack);
  RowOf(Mask, 10)[10] = {0, 0, 0};
  TBitmap White(20, 20, pf24bit, clWhite);
  BlendRect24(White, {10, 10, 20, 20}, Black, 0, 0, WholeBitmapRect, 100, &Mask, 0);
  EXPECT_EQ(RowOf(Black, 0)[0], Pixel(255, 255, 255));
  EXPECT_EQ(RowOf(Black, 0)[1], Pixel(0, 0, 0));
  EXPECT_EQ(RowOf(Black, 10)[10], Pixel(0, 0, 0));

  // A mask smaller than the source: beyond it counts as transparent.
  TBitmap Small(5, 3, pf24bit, clBlack), Target(20, 20, pf24bit, clBlack);
  BlendRect24(White, WholeBitmapRect, Target, 0, 0, WholeBitmapRect, 100, &Small, 0);
  for (int Y = 0; Y < 20; ++Y)
    for (int X = 0; X < 20; ++X) ASSERT_EQ(RowOf(Target, Y)[X].Red, X < 5 && Y < 3 ? 255 : 0) << X << "," << Y;

  // An empty mask is no mask; a mask of another format is refused.
  TBitmap NoMask, Target2(20, 20, pf24bit, clBlack);
  BlendRect24(White, WholeBitmapRect, Target2, 0, 0, WholeBitmapRect, 100, &NoMask, 0);
  EXPECT_EQ(RowOf(Target2, 19)[19], Pixel(255, 255, 255));
  TBitmap Indexed(20, 20, pf8bit), Target3(20, 20, pf24bit, clBlack);
  BlendRect24(White, WholeBitmapRect, Target3, 0, 0, WholeBitmapRect, 100, &Indexed, 0);
  EXPECT_EQ(RowOf(Target3, 0)[0], Pixel(0, 0, 0));
}

TEST(BlendModes, BlendRect24OntoItselfReadsTheOriginal) {
  TBitmap B(16, 8), Copy, Expected;
  FillRandom(B, 21);
  Copy.Assign(B);
  Expected.Assign(B);
  BlendRect24(Copy, WholeBitmapRect, Expected, 3, 2, WholeBitmapRect, 100, nullptr, 21);
  BlendRect24(B, WholeBitmapRect, B, 3, 2, WholeBitmapRect, 100, nullptr, 21);
  EXPECT_IMAGES_MATCH(B, Expected);
}

TEST(BlendModes, BlendStretchRect24) {
  TBitmap Src(2, 2);
  RowOf(Src, 0)[0] = Pixel(10, 0, 0);
  RowOf(Src, 0)[1] = Pixel(20, 0, 0);
  RowOf(Src, 1)[0] = Pixel(30, 0, 0);
  RowOf(Src, 1)[1] = Pixel(40, 0, 0);
  TBitmap Dst(6, 6, pf24bit, clBlack);
  BlendStretchRect24(Src, WholeBitmapRect, Dst, {1, 1, 5, 5}, WholeBitmapRect, 100, nullptr, 0);
  for (int Y = 0; Y < 6; ++Y)
    for (int X = 0; X < 6; ++X) {
      const bool Inside = X >= 1 && X < 5 && Y >= 1 && Y < 5;
      const int Want = Inside ? 10 + 10 * ((X - 1) / 2) + 20 * ((Y - 1) / 2) : 0;
      ASSERT_EQ(RowOf(Dst, Y)[X].Red, Want) << X << "," << Y;
    }

  TBitmap Big(4, 4), Small(2, 2, pf24bit, clBlack);
  for (int Y = 0; Y < 4; ++Y)
    for (int X = 0; X < 4; ++X) RowOf(Big, Y)[X] = Pixel(X * 10 + Y, 0, 0);
  BlendStretchRect24(Big, WholeBitmapRect, Small, {0, 0, 2, 2}, WholeBitmapRect, 100, nullptr, 0);
  EXPECT_EQ(RowOf(Small, 0)[0].Red, 0);
  EXPECT_EQ(RowOf(Small, 0)[1].Red, 20);
  EXPECT_EQ(RowOf(Small, 1)[0].Red, 2);
  EXPECT_EQ(RowOf(Small, 1)[1].Red, 22);

  // Same size: the offset merge at DstRect's corner, inside DstRect only.
  TBitmap A(10, 10), B(10, 10), C;
  FillRandom(A, 8);
  FillRandom(B, 9);
  C.Assign(B);
  BlendStretchRect24(A, {2, 2, 6, 6}, B, {3, 4, 7, 8}, WholeBitmapRect, 70, nullptr, 13);
  BlendRect24(A, {2, 2, 6, 6}, C, 3, 4, {3, 4, 7, 8}, 70, nullptr, 13);
  EXPECT_IMAGES_MATCH(B, C);

  // A reversed destination rectangle is empty.
  TBitmap Before;
  Before.Assign(Dst);
  BlendStretchRect24(Src, WholeBitmapRect, Dst, {5, 5, 1, 1}, WholeBitmapRect, 100, nullptr, 0);
  EXPECT_IMAGES_MATCH(Dst, Before);
}

TEST(BlendModes, TranslateOnlyTransformMergesLikeTheOffsetMerge) {
  TBitmap Src(30, 20), Mask(30, 20), A(64, 48), B;
  FillRandom(Src, 40);
  FillGreyMask(Mask, 41);
  FillRandom(A, 42);
  B.Assign(A);
  TAffineTransformation T;
  T.SetSrcRect({0, 0, 30, 20});
  T.Translate(17, 9);
  ASSERT_TRUE(T.TanslateOnly());
  const TRect Bounds = T.GetBounds();
  const TRect Clip{0, 10, 50, 40};
  BlendTransformRect24(Src, A, Bounds, Clip, T, 80, &Mask, 15);
  BlendRect24(Src, {0, 0, 30, 20}, B, Bounds.Left, Bounds.Top, Clip, 80, &Mask, 15);
  EXPECT_IMAGES_MATCH(A, B);
}

TEST(BlendModes, TransformedMergeTurnsAndMirrors) {
  TBitmap Src(4, 3);
  FillRandom(Src, 50);
  auto At = [](const TBitmap& B, int X, int Y) { return RowOf(B, Y)[X]; };

  // A quarter turn about (1.5, 1.5), moved by (3, 3): (x, y) goes to
  // (3 + y, 6 - x), so destination (X, Y) shows source (6 - Y, X - 3).
  TAffineTransformation Turn;
  Turn.SetSrcRect({0, 0, 4, 3});
  Turn.Rotate(1.5, 1.5, 90);
  Turn.Translate(3, 3);
  TBitmap Dst(12, 12, pf24bit, clBlack);
  BlendTransformRect24(Src, Dst, Turn.GetBounds(), WholeBitmapRect, Turn, 100, nullptr, 0);
  for (int Y = 0; Y < 12; ++Y)
    for (int X = 0; X < 12; ++X) {
      const int SX = 6 - Y, SY = X - 3;
      const bool Inside = SX >= 0 && SX < 4 && SY >= 0 && SY < 3;
      ASSERT_EQ(At(Dst, X, Y), Inside ? At(Src, SX, SY) : Pixel(0, 0, 0)) << X << "," << Y;
    }

  // A mirror keeps the bounds' size but must not be drawn as a plain copy.
  TAffineTransformation Mirror;
  Mirror.SetSrcRect({0, 0, 4, 3});
  Mirror.Scale(-1, 1);
  Mirror.TranslateF(3, 0);
  ASSERT_TRUE(Mirror.TanslateOnly());
  TBitmap Flipped(4, 3, pf24bit, clBlack);
  BlendTransformRect24(Src, Flipped, Mirror.GetBounds(), WholeBitmapRect, Mirror, 100, nullptr, 0);
  for (int Y = 0; Y < 3; ++Y)
    for (int X = 0; X < 4; ++X) ASSERT_EQ(At(Flipped, X, Y), At(Src, 3 - X, Y)) << X << "," << Y;
}

TEST(BlendModes, TransformedMergeReadsOnlyInsideTheSource) {
  TBitmap Src(10, 10, pf24bit, clWhite), Dst(20, 20, pf24bit, clBlack), Before;
  Before.Assign(Dst);
  TAffineTransformation T;
  T.Rotate(5, 5, 30);

  T.SetSrcRect({}); // empty source rectangle: nothing
  BlendTransformRect24(Src, Dst, {0, 0, 20, 20}, WholeBitmapRect, T, 100, nullptr, 0);
  EXPECT_IMAGES_MATCH(Dst, Before);
  T.SetSrcRect({0, 0, 10, 10}); // empty destination rectangle: nothing
  BlendTransformRect24(Src, Dst, {0, 0, 0, 20}, WholeBitmapRect, T, 100, nullptr, 0);
  EXPECT_IMAGES_MATCH(Dst, Before);

  // A source rectangle reaching past the bitmap: only real pixels are read,
  // and a mask smaller than the source leaves the rest alone.
  T.SetSrcRect({-20, -20, 40, 40});
  TBitmap Mask(5, 10, pf24bit, clBlack);
  BlendTransformRect24(Src, Dst, T.GetBounds(), WholeBitmapRect, T, 100, &Mask, 0);
  // Every white pixel comes from the 5 x 10 corner of the source (the inverse
  // turn written out here, before rounding to the nearest pixel).
  const double A = 30 * M_PI / 180, C = std::cos(A), S = std::sin(A);
  int White = 0;
  for (int Y = 0; Y < 20; ++Y)
    for (int X = 0; X < 20; ++X) {
      if (RowOf(Dst, Y)[X].Red != 255) continue;
      ++White;
      const double U = 5 + (X - 5) * C - (Y - 5) * S, V = 5 + (X - 5) * S + (Y - 5) * C;
      EXPECT_TRUE(U > -0.5 - 1e-9 && U < 4.5 + 1e-9 && V > -0.5 - 1e-9 && V < 9.5 + 1e-9) << X << "," << Y;
    }
  EXPECT_GT(White, 30);

  // A projective mapping whose source has no width draws nothing.
  TProjectiveTransformation P;
  P.SetSrcRect({3, 0, 3, 10});
  P.SetP0({0, 0});
  P.SetP1({10, 0});
  P.SetP2({10, 10});
  P.SetP3({0, 10});
  TBitmap Dst2(20, 20, pf24bit, clBlack);
  BlendTransformRect24(Src, Dst2, {0, 0, 10, 10}, WholeBitmapRect, P, 100, nullptr, 0);
  EXPECT_IMAGES_MATCH(Dst2, Before);
}

TEST(BlendModes, BlendColorRect24) {
  TBitmap Dst(8, 8, pf24bit, RGB(200, 200, 200));
  BlendColorRect24(clWhite, -100, Dst, {0, 0, 4, 8}, 0);
  EXPECT_EQ(RowOf(Dst, 3)[2], Pixel(145, 145, 145));
  EXPECT_EQ(RowOf(Dst, 3)[5], Pixel(200, 200, 200));
  BlendColorRect24(RGB(128, 64, 0), 100, Dst, {4, 0, 8, 8}, 6);
  EXPECT_EQ(RowOf(Dst, 0)[4], Pixel(100, 50, 0));
  BlendColorRect24(clBlack, 50, Dst, {4, 0, 8, 8}, 0);
  EXPECT_EQ(RowOf(Dst, 0)[4], Pixel(50, 25, 0));
  BlendColorRect24(clBlack, -300, Dst, {4, 0, 8, 8}, 0); // limited to -100
  EXPECT_EQ(RowOf(Dst, 0)[4], Pixel(100, 50, 0));
  TBitmap Before;
  Before.Assign(Dst);
  BlendColorRect24(clBlack, 0, Dst, WholeBitmapRect, 0);
  EXPECT_IMAGES_MATCH(Dst, Before);
}

// An upright translation or scaling whose source rectangle reaches past the
// bitmap: every destination pixel of DstRect maps to source (SrcRect.Left +
// floor((x - DstRect.Left) / k), likewise for y), k the exact scale, and is
// drawn only when that source pixel exists; the others are left alone, as
// the general path leaves them.
struct TPartlyOutsideCase {
  const char* Name;
  TRect SrcRect;
  int Scale;
};

class TransformedPartlyOutside : public ::testing::TestWithParam<TPartlyOutsideCase> {};

TEST_P(TransformedPartlyOutside, DrawsOnlyWhereTheSourceExists) {
  const TPartlyOutsideCase& C = GetParam();
  TBitmap Src(10, 10), Dst(40, 40, pf24bit, clBlack), Expected;
  FillRandom(Src, 60);
  Expected.Assign(Dst);
  const TRect DstRect = Bounds(3, 2, C.SrcRect.Width() * C.Scale, C.SrcRect.Height() * C.Scale);
  TAffineTransformation T;
  T.SetSrcRect(C.SrcRect);
  T.Scale(C.Scale, C.Scale);
  T.Translate(DstRect.Left, DstRect.Top);
  ASSERT_TRUE(T.ScaleOnly());
  BlendTransformRect24(Src, Dst, DstRect, WholeBitmapRect, T, 100, nullptr, 0);
  auto SourceOf = [&](int D, int DstStart, int SrcStart) {
    return SrcStart + static_cast<int>(std::floor(double(D - DstStart) / C.Scale));
  };
  for (int Y = std::max(DstRect.Top, 0); Y < std::min(DstRect.Bottom, 40); ++Y)
    for (int X = std::max(DstRect.Left, 0); X < std::min(DstRect.Right, 40); ++X) {
      const int SX = SourceOf(X, DstRect.Left, C.SrcRect.Left), SY = SourceOf(Y, DstRect.Top, C.SrcRect.Top);
      if (SX >= 0 && SX < 10 && SY >= 0 && SY < 10) RowOf(Expected, Y)[X] = RowOf(Src, SY)[SX];
    }
  EXPECT_IMAGES_MATCH(Dst, Expected, 0, C.Name);
}

INSTANTIATE_TEST_SUITE_P(BlendModes, TransformedPartlyOutside,
                         ::testing::Values(TPartlyOutsideCase{"TranslatedPastTopLeft", {-4, -2, 6, 8}, 1},
                                           TPartlyOutsideCase{"TranslatedPastBottomRight", {3, 5, 15, 12}, 1},
                                           TPartlyOutsideCase{"DoubledPastTopLeft", {-4, -2, 6, 8}, 2},
                                           TPartlyOutsideCase{"DoubledPastEveryEdge", {-3, -1, 13, 11}, 2}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

// Positions and rectangles at the ends of the int range: the offset merge
// lies wholly outside and draws nothing; a stretch onto a rectangle wider
// than the int range keeps its exact proportions; the general path maps
// every destination pixel to one source point.
TEST(BlendModes, MergesAtTheEndsOfTheIntRange) {
  TBitmap Src(10, 10), Dst(20, 20), Before;
  FillRandom(Src, 61);
  FillRandom(Dst, 62);
  Before.Assign(Dst);
  for (auto [X, Y] : {std::pair{INT_MAX - 2, 0}, std::pair{0, INT_MAX - 2}, std::pair{INT_MAX, INT_MAX},
                      std::pair{INT_MIN, 0}, std::pair{0, INT_MIN}}) {
    BlendRect24(Src, WholeBitmapRect, Dst, X, Y, WholeBitmapRect, 100, nullptr, 0);
    EXPECT_IMAGES_MATCH(Dst, Before, 0, "offset " + std::to_string(X) + "," + std::to_string(Y));
  }

  // Column (x - INT_MIN) * 10 / (2^32 - 1) = 5 for the first columns; rows
  // as given.
  BlendStretchRect24(Src, WholeBitmapRect, Dst, {INT_MIN, 0, INT_MAX, 20}, WholeBitmapRect, 100, nullptr, 0);
  for (int Y = 0; Y < 20; ++Y)
    for (int X = 0; X < 20; ++X) ASSERT_EQ(RowOf(Dst, Y)[X], RowOf(Src, Y / 2)[5]) << X << "," << Y;

  TAffineTransformation Turn;
  Turn.SetSrcRect({0, 0, 10, 10});
  Turn.Rotate(5, 5, 30);
  TBitmap Turned(20, 20);
  FillRandom(Turned, 63);
  BlendTransformRect24(Src, Turned, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, WholeBitmapRect, Turn, 100, nullptr, 0);
  for (int Y = 0; Y < 20; ++Y)
    for (int X = 0; X < 20; ++X) ASSERT_EQ(RowOf(Turned, Y)[X], RowOf(Turned, 0)[0]) << X << "," << Y;
}
