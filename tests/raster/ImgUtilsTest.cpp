#include "raster/ImgUtils.h"

#include "raster/RectUtils.h"

#include "support/ImageCompare.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr TPixelFormat AllFormats[] = {pf1bit, pf4bit, pf8bit, pf24bit, pf32bit};

std::string FormatName(TPixelFormat F) {
  switch (F) {
  case pf1bit:
    return "1bit";
  case pf4bit:
    return "4bit";
  case pf8bit:
    return "8bit";
  case pf24bit:
    return "24bit";
  default:
    return "32bit";
  }
}

// A bitmap of any format with random bytes in every pixel (palette indices,
// colours and alpha alike). 8-bit bitmaps get a palette with repeated
// colours, so that a copy that went through colours would be caught.
void RandomBitmap(TBitmap& B, TPixelFormat Format, int W, int H, unsigned Seed) {
  B.ReleaseImage();
  B.SetPixelFormat(Format);
  if (Format == pf8bit) {
    std::vector<TPaletteEntry> Pal(256);
    for (int I = 0; I < 256; ++I) Pal[size_t(I)] = 0xFF000000u | uint32_t(I / 2) * 0x010101u;
    B.SetPalette(Pal);
  }
  B.SetSize(W, H);
  std::mt19937 Gen(Seed);
  const int Bytes = (W * B.BitsPerPixel() + 7) / 8;
  for (int Y = 0; Y < H; ++Y)
    for (int I = 0; I < Bytes; ++I) B.ScanLine(Y)[I] = uint8_t(Gen() >> 24);
}

// The stored value of a pixel: its palette index, or its bytes (alpha
// included) packed little-endian.
uint32_t Raw(const TBitmap& B, int X, int Y) {
  const uint8_t* Row = B.ScanLine(Y);
  switch (B.PixelFormat()) {
  case pf24bit:
    return Row[3 * X] | Row[3 * X + 1] << 8 | Row[3 * X + 2] << 16;
  case pf32bit: {
    uint32_t V;
    std::memcpy(&V, Row + 4 * X, 4);
    return V;
  }
  default:
    return uint32_t(PixelIndex(Row, X, B.PixelFormat()));
  }
}

// The colour a fill with C leaves: the nearest palette entry's for indexed
// formats.
TColor Painted(const TBitmap& B, TColor C) {
  if (B.Palette().empty()) return C;
  const TPaletteEntry E = B.Palette()[size_t(B.PaletteIndexOf(C))];
  return RGB((E >> 16) & 255, (E >> 8) & 255, E & 255);
}

// Every pixel of After equals Before at Source(x, y); Source returns false
// for a pixel that must keep its own value.
template <class F>::testing::AssertionResult PixelsMoved(const TBitmap& Before, const TBitmap& After, F&& Source) {
  if (After.Width() != Before.Width() || After.Height() != Before.Height() ||
      After.PixelFormat() != Before.PixelFormat())
    return ::testing::AssertionFailure() << "size or format changed";
  int Bad = 0;
  ::testing::AssertionResult Result = ::testing::AssertionSuccess();
  for (int Y = 0; Y < Before.Height(); ++Y)
    for (int X = 0; X < Before.Width(); ++X) {
      int SX = X, SY = Y;
      Source(X, Y, SX, SY);
      if (Raw(After, X, Y) != Raw(Before, SX, SY) && Bad++ < 5) {
        if (Bad == 1) Result = ::testing::AssertionFailure();
        Result << " (" << X << "," << Y << ") should come from (" << SX << "," << SY << ");";
      }
    }
  return Result;
}

// ---- Mirrors and half turns ------------------------------------------------

struct TFlipCase {
  TPixelFormat Format;
  int W, H;
  TRect R;
};

void PrintTo(const TFlipCase& C, std::ostream* Out) {
  *Out << FormatName(C.Format) << " " << C.W << "x" << C.H << " ";
  PrintTo(C.R, Out);
}

class FlipAnyFormat : public ::testing::TestWithParam<TFlipCase> {};

// Each operation against the formula, then applied again to give the input
// back.
TEST_P(FlipAnyFormat, MatchesTheMirrorFormulaAndUndoesItself) {
  const TFlipCase& C = GetParam();
  TBitmap Original;
  RandomBitmap(Original, C.Format, C.W, C.H, unsigned(C.W * 31 + C.H));
  TRect Clip = C.R;
  ASSERT_TRUE(ClipToBitmap(Clip, Original));
  auto Inside = [&](int X, int Y) { return PtInRect(Clip, Point(X, Y)); };
  struct TOp {
    const char* Name;
    void (*Run)(TBitmap&, const TRect&);
    bool MirrorX, MirrorY;
  };
  for (const TOp& Op : {TOp{"horizontal", FlipHorizontalRect, true, false},
                        TOp{"vertical", FlipVerticalRect, false, true}, TOp{"half turn", Rotate180Rect, true, true}}) {
    SCOPED_TRACE(Op.Name);
    TBitmap B;
    B.Assign(Original);
    Op.Run(B, C.R);
    EXPECT_TRUE(PixelsMoved(Original, B, [&](int X, int Y, int& SX, int& SY) {
      if (!Inside(X, Y)) return;
      if (Op.MirrorX) SX = Clip.Left + Clip.Right - 1 - X;
      if (Op.MirrorY) SY = Clip.Top + Clip.Bottom - 1 - Y;
    }));
    Op.Run(B, C.R);
    EXPECT_IMAGES_MATCH(B, Original);
  }
  EXPECT_EQ(Original.PixelFormat(), C.Format);
}

std::vector<TFlipCase> FlipCases() {
  std::vector<TFlipCase> Cases;
  for (TPixelFormat F : AllFormats) {
    for (auto [W, H] :
         {std::pair{1, 1}, std::pair{2, 2}, std::pair{3, 5}, std::pair{8, 7}, std::pair{17, 4}, std::pair{33, 6}})
      Cases.push_back({F, W, H, WholeBitmapRect});
    Cases.push_back({F, 17, 9, Rect(3, 2, 12, 7)});  // odd width, odd height
    Cases.push_back({F, 17, 9, Rect(2, 1, 10, 9)});  // even width, even height
    Cases.push_back({F, 17, 9, Rect(-4, 5, 9, 40)}); // partly outside
    Cases.push_back({F, 17, 9, Rect(12, 8, 4, 3)});  // given reversed
  }
  return Cases;
}

INSTANTIATE_TEST_SUITE_P(ImgUtils, FlipAnyFormat, ::testing::ValuesIn(FlipCases()), [](const auto& Info) {
  const TFlipCase& C = Info.param;
  return FormatName(C.Format) + "_" + std::to_string(C.W) + "x" + std::to_string(C.H) + "_" +
         std::to_string(Info.index);
});

TEST(ImgUtils, FlipsRespectTheCanvasClipForOtherFormats) {
  TBitmap Original;
  RandomBitmap(Original, pf8bit, 10, 6, 4);
  TBitmap B;
  B.Assign(Original);
  B.Canvas().SetClipRect(Rect(0, 0, 4, 6));
  FlipBitmapHorizontal(B);
  EXPECT_TRUE(PixelsMoved(Original, B, [](int X, int, int& SX, int&) {
    if (X < 4) SX = 3 - X;
  }));
}

TEST(ImgUtils, FlipsOfAnEmptyBitmapOrAnOutsideRectDoNothing) {
  TBitmap Empty;
  Empty.SetPixelFormat(pf4bit);
  FlipBitmapVertical(Empty);
  RotateBitmap180(Empty);
  EXPECT_TRUE(Empty.Empty());
  for (TPixelFormat F : AllFormats) {
    TBitmap Original;
    RandomBitmap(Original, F, 5, 5, 9);
    TBitmap B;
    B.Assign(Original);
    Rotate180Rect(B, Rect(10, 10, 20, 20));
    FlipHorizontalRect(B, Rect(2, 2, 2, 5));
    EXPECT_IMAGES_MATCH(B, Original, 0, FormatName(F));
  }
}

// ---- Cropping -------------------------------------------------------------------

TEST(ImgUtils, CropKeepsFormatPaletteAndTransparency) {
  for (TPixelFormat F : AllFormats) {
    SCOPED_TRACE(FormatName(F));
    TBitmap Src;
    RandomBitmap(Src, F, 13, 9, 5);
    Src.Transparent = true;
    Src.SetTransparentColor(RGB(1, 2, 3));
    TBitmap Dst;
    ASSERT_TRUE(CropBitmapTo(Src, Dst, Rect(-2, 3, 6, 20)));
    ASSERT_EQ(Dst.Width(), 6);
    ASSERT_EQ(Dst.Height(), 6);
    EXPECT_EQ(Dst.PixelFormat(), F);
    EXPECT_EQ(Dst.Palette(), Src.Palette());
    EXPECT_TRUE(Dst.Transparent);
    EXPECT_EQ(Dst.TransparentColor(), RGB(1, 2, 3));
    for (int Y = 0; Y < 6; ++Y)
      for (int X = 0; X < 6; ++X) ASSERT_EQ(Raw(Dst, X, Y), Raw(Src, X, Y + 3)) << X << "," << Y;

    TBitmap Original;
    Original.Assign(Src);
    CropBitmap(Src, Rect(5, 1, 12, 4));
    ASSERT_EQ(Src.Width(), 7);
    ASSERT_EQ(Src.Height(), 3);
    for (int Y = 0; Y < 3; ++Y)
      for (int X = 0; X < 7; ++X) ASSERT_EQ(Raw(Src, X, Y), Raw(Original, X + 5, Y + 1)) << X << "," << Y;
  }
}

// An automatic transparent colour (the bottom-left pixel) is kept as the same
// colour, not taken from the crop's own corner.
TEST(ImgUtils, CropFixesTheAutomaticTransparentColour) {
  TBitmap Src(4, 4, pf24bit, clWhite);
  Src.Canvas().SetPixels(0, 3, clRed);
  Src.Transparent = true;
  TBitmap Dst;
  CropBitmapTo(Src, Dst, Rect(1, 0, 3, 2));
  EXPECT_EQ(Dst.TransparentColor(), clRed);
}

TEST(ImgUtils, CropToNothingChangesNothing) {
  TBitmap Original;
  RandomBitmap(Original, pf24bit, 6, 6, 3);
  TBitmap B;
  B.Assign(Original);
  CropBitmap(B, Rect(10, 10, 20, 20));
  CropBitmap(B, Rect(2, 2, 2, 4));
  EXPECT_IMAGES_MATCH(B, Original);
  TBitmap Dst;
  RandomBitmap(Dst, pf8bit, 3, 3, 1);
  TBitmap DstBefore;
  DstBefore.Assign(Dst);
  EXPECT_FALSE(CropBitmapTo(Original, Dst, Rect(-5, -5, 0, 0)));
  EXPECT_IMAGES_MATCH(Dst, DstBefore);
  TBitmap Empty;
  CropBitmap(Empty, WholeBitmapRect);
  EXPECT_TRUE(Empty.Empty());
}

// ---- Shifts -------------------------------------------------------------------------

TEST(ImgUtils, ShiftsOfARowOfSix) {
  TBitmap B(6, 1, pf8bit);
  auto Fill = [&] {
    for (int X = 0; X < 6; ++X) B.ScanLine(0)[X] = uint8_t(X);
  };
  auto Row = [&] {
    std::vector<int> V;
    for (int X = 0; X < 6; ++X) V.push_back(B.ScanLine(0)[X]);
    return V;
  };
  Fill();
  WrapShiftHorizontal(B, 3);
  EXPECT_EQ(Row(), (std::vector<int>{3, 4, 5, 0, 1, 2}));
  Fill();
  ShiftBitmap(B, 3, 0, false);
  EXPECT_EQ(Row(), (std::vector<int>{0, 1, 2, 0, 1, 2}));
  Fill();
  ShiftBitmap(B, -2, 0, false);
  EXPECT_EQ(Row(), (std::vector<int>{2, 3, 4, 5, 4, 5}));
}

struct TShiftCase {
  int Dx, Dy;
};

class ShiftAnyFormat : public ::testing::TestWithParam<TPixelFormat> {};

// (x - d) modulo the size, the remainder made non-negative.
int Wrap(int V, int D, int Size) { return ((V - D) % Size + Size) % Size; }

TEST_P(ShiftAnyFormat, WrapShiftsAreModuloTheSize) {
  const int W = 7, H = 5;
  TBitmap Original;
  RandomBitmap(Original, GetParam(), W, H, 21);
  for (TShiftCase C : {TShiftCase{3, 0}, TShiftCase{-2, 4}, TShiftCase{0, -1}, TShiftCase{W, H},
                       TShiftCase{W + 2, -H - 3}, TShiftCase{-3 * W + 1, 2 * H}, TShiftCase{INT32_MIN, INT32_MAX}}) {
    SCOPED_TRACE(std::to_string(C.Dx) + "," + std::to_string(C.Dy));
    TBitmap B;
    B.Assign(Original);
    ShiftBitmap(B, C.Dx, C.Dy, true);
    EXPECT_TRUE(PixelsMoved(Original, B, [&](int X, int Y, int& SX, int& SY) {
      SX = Wrap(X, C.Dx % W, W);
      SY = Wrap(Y, C.Dy % H, H);
    }));
  }
}

// Plain shifts: each direction copies what stays inside and leaves the strip
// behind as it was; shifts of the whole size or more change nothing.
TEST_P(ShiftAnyFormat, PlainShiftsLeaveTheUncoveredStrip) {
  const int W = 9, H = 6;
  TBitmap Original;
  RandomBitmap(Original, GetParam(), W, H, 8);
  for (TShiftCase C : {TShiftCase{2, 0}, TShiftCase{-3, 0}, TShiftCase{0, 4}, TShiftCase{0, -1}, TShiftCase{4, -2},
                       TShiftCase{-1, 5}, TShiftCase{W, 0}, TShiftCase{-W - 1, H}, TShiftCase{INT32_MIN, 0}}) {
    SCOPED_TRACE(std::to_string(C.Dx) + "," + std::to_string(C.Dy));
    TBitmap B;
    B.Assign(Original);
    ShiftBitmap(B, C.Dx, C.Dy, false);
    // One axis at a time, as slow as can be: a pixel moved into stays put
    // when its source lies outside.
    auto Axis = [](int V, int D, int Size) {
      const int64_t S = int64_t(V) - D;
      const bool Moved = D != 0 && D > -Size && D < Size && S >= 0 && S < Size;
      return Moved ? int(S) : V;
    };
    EXPECT_TRUE(PixelsMoved(Original, B, [&](int X, int Y, int& SX, int& SY) {
      SX = Axis(X, C.Dx, W);
      SY = Axis(Y, C.Dy, H);
    }));
  }
}

INSTANTIATE_TEST_SUITE_P(ImgUtils, ShiftAnyFormat, ::testing::ValuesIn(AllFormats),
                         [](const auto& Info) { return FormatName(Info.param); });

// ---- Frames, borders and canvases ------------------------------------------------

TEST(ImgUtils, FillFramePaintsTheFourStripsAndKeepsTheBrush) {
  TBitmap B(10, 8, pf24bit, clWhite);
  B.Canvas().Brush.Color = clLime;
  const TRect R = Rect(1, 1, 9, 7);
  FillFrame(B.Canvas(), R, clRed, 2);
  EXPECT_EQ(B.Canvas().Brush.Color, clLime);
  for (int Y = 0; Y < 8; ++Y)
    for (int X = 0; X < 10; ++X) {
      const bool InFrame = PtInRect(R, Point(X, Y)) && !PtInRect(Rect(3, 3, 7, 5), Point(X, Y));
      EXPECT_EQ(B.PixelColor(X, Y), InFrame ? clRed : clWhite) << X << "," << Y;
    }
  FillFrame(B.Canvas(), Rect(4, 3, 4, 9), clBlue, 2);
  EXPECT_EQ(B.PixelColor(4, 4), clWhite);
}

struct TEnlargeCase {
  TPosition Position;
  int W, H;
  TRect Placed;
};

class EnlargeAnyFormat : public ::testing::TestWithParam<TPixelFormat> {};

TEST_P(EnlargeAnyFormat, PlacesThePictureAndFillsTheRest) {
  TBitmap Src;
  RandomBitmap(Src, GetParam(), 6, 4, 17);
  for (TEnlargeCase C :
       {TEnlargeCase{poCenter, 10, 9, Rect(2, 2, 8, 6)}, TEnlargeCase{poBottomRight, 9, 5, Rect(3, 1, 9, 5)},
        TEnlargeCase{poTopLeft, 8, 8, Rect(0, 0, 6, 4)},
        // Smaller than the picture: the picture is cut.
        TEnlargeCase{poCenter, 4, 2, Rect(-1, -1, 5, 3)}}) {
    SCOPED_TRACE(std::to_string(C.Position));
    TBitmap Dst;
    EXPECT_EQ(EnlargeCanvas(Src, Dst, C.W, C.H, clWhite, C.Position), C.Placed);
    ASSERT_EQ(Dst.Width(), C.W);
    ASSERT_EQ(Dst.Height(), C.H);
    EXPECT_EQ(Dst.PixelFormat(), GetParam());
    EXPECT_EQ(Dst.Palette(), Src.Palette());
    for (int Y = 0; Y < C.H; ++Y)
      for (int X = 0; X < C.W; ++X)
        if (PtInRect(C.Placed, Point(X, Y)))
          ASSERT_EQ(Raw(Dst, X, Y), Raw(Src, X - C.Placed.Left, Y - C.Placed.Top)) << X << "," << Y;
        else
          ASSERT_EQ(Dst.PixelColor(X, Y), Painted(Dst, clWhite)) << X << "," << Y;
  }
}

TEST_P(EnlargeAnyFormat, InPlaceWithNoSizeLeavesTheBitmap) {
  TBitmap Original;
  RandomBitmap(Original, GetParam(), 5, 3, 2);
  for (auto [W, H] : {std::pair{0, 5}, std::pair{5, 0}, std::pair{-3, 4}, std::pair{0, 0}}) {
    TBitmap B;
    B.Assign(Original);
    EXPECT_EQ(EnlargeCanvasInPlace(B, W, H, clRed, poCenter), TRect{});
    EXPECT_IMAGES_MATCH(B, Original);
  }
  TBitmap B;
  B.Assign(Original);
  B.Transparent = true;
  const TColor Key = B.TransparentColor();
  EXPECT_EQ(EnlargeCanvasInPlace(B, 9, 7, clWhite, poCenter), Rect(2, 2, 7, 5));
  EXPECT_EQ(B.Width(), 9);
  EXPECT_EQ(Raw(B, 2, 2), Raw(Original, 0, 0));
  EXPECT_EQ(Raw(B, 6, 4), Raw(Original, 4, 2));
  EXPECT_TRUE(B.Transparent);
  EXPECT_EQ(B.TransparentColor(), Key);
}

INSTANTIATE_TEST_SUITE_P(ImgUtils, EnlargeAnyFormat, ::testing::ValuesIn(AllFormats),
                         [](const auto& Info) { return FormatName(Info.param); });

TEST(ImgUtils, AddBorderGrowsOrPaintsTheOuterPixels) {
  for (TPixelFormat F : {pf8bit, pf24bit}) {
    SCOPED_TRACE(FormatName(F));
    TBitmap Original;
    RandomBitmap(Original, F, 6, 5, 12);
    TBitmap B;
    B.Assign(Original);
    AddBorder(B, 2, clWhite, true);
    ASSERT_EQ(B.Width(), 10);
    ASSERT_EQ(B.Height(), 9);
    for (int Y = 0; Y < 9; ++Y)
      for (int X = 0; X < 10; ++X)
        if (PtInRect(Rect(2, 2, 8, 7), Point(X, Y)))
          ASSERT_EQ(Raw(B, X, Y), Raw(Original, X - 2, Y - 2));
        else
          ASSERT_EQ(B.PixelColor(X, Y), Painted(B, clWhite)) << X << "," << Y;

    B.Assign(Original);
    AddBorder(B, 2, clWhite, false);
    ASSERT_EQ(B.Width(), 6);
    for (int Y = 0; Y < 5; ++Y)
      for (int X = 0; X < 6; ++X)
        if (PtInRect(Rect(2, 2, 4, 3), Point(X, Y)))
          ASSERT_EQ(Raw(B, X, Y), Raw(Original, X, Y));
        else
          ASSERT_EQ(B.PixelColor(X, Y), Painted(B, clWhite)) << X << "," << Y;

    B.Assign(Original);
    AddBorder(B, 0, clWhite, true);
    AddBorder(B, -2, clWhite, false);
    EXPECT_IMAGES_MATCH(B, Original);
  }
}

} // namespace
