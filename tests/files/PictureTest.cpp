#include "files/Picture.h"
#include "files/BmpFile.h"
#include "files/ColorDepth.h"
#include "files/IconImage.h"
#include "files/ReadLimits.h"
#include "raster/Pixels.h"
#include "raster/Transparency.h"

#include "FileTestSupport.h"
#include "support/ImageCompare.h"

#include <gtest/gtest.h>

namespace {

TEST(Picture, LoadsTheGraphicTheExtensionNames) {
  TTestFolder Folder;
  const PBitmap Image = SmoothImage(9, 7);
  SaveBitmapToBmpFile(Folder.Path("p.BMP"), *Image);
  TIconImage Icon;
  Icon.Assign(*Image);
  Icon.IconFormat = ifTrueColors;
  Icon.SaveToFile(Folder.Path("p.ico"));

  TPicture Picture;
  EXPECT_EQ(Picture.Graphic(), nullptr);
  Picture.LoadFromFile(Folder.Path("p.BMP"));
  ASSERT_NE(Picture.Bitmap(), nullptr);
  EXPECT_EQ(Picture.Icon(), nullptr);
  EXPECT_IMAGES_MATCH(*Picture.Bitmap(), *Image);

  Picture.LoadFromFile(Folder.Path("p.ico"));
  ASSERT_NE(Picture.Icon(), nullptr);
  EXPECT_EQ(Picture.Bitmap(), nullptr);
  EXPECT_EQ(Picture.Graphic()->Width(), 9);
  EXPECT_EQ(Picture.Graphic()->Height(), 9);
  EXPECT_TRUE(Picture.Graphic()->Transparent());

  // Another extension, a missing file or a broken one: an error naming the
  // file, and no graphic.
  WriteBytes(Folder.Path("broken.ico"), {0, 0, 1, 0, 1, 0, 16, 16});
  for (const char* Name : {"p.png", "missing.bmp", "broken.ico"}) {
    try {
      Picture.LoadFromFile(Folder.Path(Name));
      ADD_FAILURE() << Name;
    } catch (const EInvalidGraphic& E) {
      EXPECT_NE(std::string(E.what()).find(Name), std::string::npos) << E.what();
    }
    EXPECT_EQ(Picture.Graphic(), nullptr) << Name;
  }
}

TEST(DrawGraphicToBitmap, BitmapsAreDrawnOnA24BitBitmapOfTheirSize) {
  TBitmapGraphic Graphic;
  Graphic.Bitmap.SetPixelFormat(pf8bit);
  Graphic.Bitmap.SetSize(4, 3);
  Graphic.Bitmap.Canvas().SetPixels(1, 1, clBlue);
  TBitmap Out(10, 10, pf32bit, clRed);
  Out.Transparent = true;
  DrawGraphicToBitmap(Graphic, Out);
  EXPECT_EQ(Out.PixelFormat(), pf24bit);
  EXPECT_EQ(Out.Width(), 4);
  EXPECT_FALSE(Out.Transparent);
  EXPECT_EQ(Out.PixelColor(1, 1), clBlue);
  EXPECT_EQ(Out.PixelColor(0, 0), Graphic.Bitmap.PixelColor(0, 0));

  // A transparent graphic leaves the key colour where it is transparent.
  Graphic.Bitmap.SetTransparentColor(clBlue);
  Graphic.Bitmap.Transparent = true;
  DrawGraphicToBitmap(Graphic, Out);
  EXPECT_TRUE(Out.Transparent);
  EXPECT_EQ(Out.TransparentColor(), TransparentKeyColor);
  EXPECT_EQ(Out.PixelColor(1, 1), TransparentKeyColor);
  EXPECT_EQ(Out.PixelColor(2, 1), Graphic.Bitmap.PixelColor(2, 1));
}

TEST(DrawGraphicToBitmap, IconsGiveTheKeyedOrTheAlphaBitmap) {
  TIconGraphic Graphic;
  TBitmap Colors(3, 2, pf24bit, clLime), Mask(3, 2, pf24bit, clBlack);
  Mask.Canvas().SetPixels(2, 1, clWhite);
  ASSERT_TRUE(Graphic.Icon.Create(Colors, Mask));
  TBitmap Out;
  DrawGraphicToBitmap(Graphic, Out);
  EXPECT_EQ(Out.PixelFormat(), pf24bit);
  EXPECT_TRUE(Out.Transparent);
  EXPECT_EQ(Out.PixelColor(2, 1), TransparentKeyColor);
  EXPECT_EQ(Out.PixelColor(1, 1), clLime);

  TBitmap B32(2, 2, pf32bit, clBlack);
  for (int Y = 0; Y < 2; ++Y)
    for (int X = 0; X < 2; ++X) {
      uint8_t* P = B32.ScanLine(Y) + 4 * X;
      P[2] = 255, P[3] = uint8_t(X ? 255 : 51);
    }
  ASSERT_TRUE(Graphic.Icon.Create(B32, TBitmap(2, 2, pf24bit, clBlack)));
  DrawGraphicToBitmap(Graphic, Out);
  EXPECT_EQ(Out.PixelFormat(), pf32bit);
  EXPECT_FALSE(Out.Transparent);
  EXPECT_IMAGES_MATCH(Out, B32);

  // Drawn over something, an alpha icon blends: 20 % red over blue.
  TBitmap Under(2, 2, pf24bit, clBlue);
  Graphic.Draw(Under, 0, 0);
  EXPECT_EQ(Under.PixelColor(0, 0), RGB(51, 0, 204));
  EXPECT_EQ(Under.PixelColor(1, 0), clRed);
}

} // namespace
