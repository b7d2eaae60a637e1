#include "files/IconImage.h"
#include "files/ReadLimits.h"
#include "raster/Pixels.h"
#include "raster/Transparency.h"

#include "FileTestSupport.h"
#include "support/ImageCompare.h"

#include <gtest/gtest.h>

namespace {

uint32_t U32(const std::vector<uint8_t>& B, size_t At) {
  return B[At] | (B[At + 1] << 8) | (B[At + 2] << 16) | (uint32_t(B[At + 3]) << 24);
}

TEST(IconImage, ExportsA48PixelIconIn256ColoursAsTheFileLayoutSays) {
  TTestFolder Folder;
  TIconImage Out;
  Out.SetSize(48, 48);
  for (int Y = 0; Y < 48; ++Y)
    for (int X = 0; X < 48; ++X) RowOf(Out, Y)[X] = ColorToTRGB(RGB(X * 5, Y * 5, 51));
  EXPECT_EQ(Out.IconFormat, if256Colors);
  Out.SaveToFile(Folder.Path("e.ico"));
  EXPECT_EQ(Folder.Files(), QStringList{"e.ico"});
  const std::vector<uint8_t> B = ReadBytes(Folder.Path("e.ico"));
  ASSERT_GE(B.size(), 62u);
  EXPECT_EQ(B[6], 48);
  EXPECT_EQ(B[8], 8);
  EXPECT_EQ(B[9], 0);
  EXPECT_EQ(U32(B, 22 + 8), 96u);
  if (HasImageMagick()) {
    EXPECT_EQ(Identify(Folder.Path("e.ico"), "%m %w %h"), "ICO 48 48");
  }

  TIconImage In;
  In.LoadFromFile(Folder.Path("e.ico"));
  EXPECT_EQ(In.PixelFormat(), pf24bit);
  EXPECT_TRUE(In.Transparent);
  EXPECT_EQ(In.TransparentColor(), TransparentKeyColor);
  EXPECT_EQ(In.IconFormat, if256Colors);
  // Colours of the fixed table come back unchanged.
  EXPECT_EQ(In.PixelColor(0, 0), RGB(0, 0, 51));
  EXPECT_EQ(In.PixelColor(30, 40), RGB(153, 204, 51));
}

TEST(IconImage, NonSquarePicturesAreCentredAndAlphaPicturesKeptWhole) {
  TTestFolder Folder;
  // A 100 x 50 picture fitted to 32 x 16 by the export: centred, the top and
  // bottom 8 rows transparent.
  TIconImage Out;
  Out.Canvas().Brush.Color = clRed;
  Out.SetSize(32, 16);
  Out.IconFormat = ifTrueColors;
  Out.SaveToFile(Folder.Path("w.ico"));
  TIconImage In;
  In.LoadFromFile(Folder.Path("w.ico"));
  ASSERT_EQ(In.Width(), 32);
  ASSERT_EQ(In.Height(), 32);
  EXPECT_EQ(In.IconFormat, if16Colors);
  for (int Y = 0; Y < 32; ++Y) EXPECT_EQ(In.PixelColor(3, Y), Y >= 8 && Y < 24 ? clRed : TransparentKeyColor) << Y;
  if (HasImageMagick()) {
    const PBitmap M = MagickDecode(Folder.Path("w.ico"), true);
    ASSERT_EQ(M->Height(), 32);
    EXPECT_EQ(M->ScanLine(7)[4 * 3 + 3], 0);
    EXPECT_EQ(M->ScanLine(8)[4 * 3 + 3], 255);
  }

  // A square 32-bit picture keeps its alpha.
  TIconImage Alpha;
  Alpha.SetPixelFormat(pf32bit);
  Alpha.SetSize(16, 16);
  for (int Y = 0; Y < 16; ++Y)
    for (int X = 0; X < 16; ++X) {
      uint8_t* P = Alpha.ScanLine(Y) + 4 * X;
      P[0] = 200, P[1] = uint8_t(X * 16), P[2] = uint8_t(Y * 16), P[3] = uint8_t(X * 17);
    }
  Alpha.IconFormat = ifTrueColorsAlpha;
  Alpha.SaveToFile(Folder.Path("a.ico"));
  In.LoadFromFile(Folder.Path("a.ico"));
  EXPECT_EQ(In.IconFormat, ifTrueColorsAlpha);
  EXPECT_EQ(In.PixelFormat(), pf32bit);
  EXPECT_IMAGES_MATCH(In, Alpha);
  if (HasImageMagick()) {
    EXPECT_IMAGES_MATCH(*MagickDecode(Folder.Path("a.ico"), true), Alpha, 0, "magick");
  }

  // A 32-bit picture that is not square makes no icon: nothing is written.
  Alpha.SetSize(16, 15);
  EXPECT_THROW(Alpha.SaveToFile(Folder.Path("n.ico")), EInvalidGraphic);
  EXPECT_EQ(Folder.Files(), (QStringList{"a.ico", "w.ico"}));
}

TEST(IconImage, LoadErrorsNameTheFile) {
  TTestFolder Folder;
  WriteBytes(Folder.Path("cursor.ico"), {0, 0, 2, 0, 1, 0});
  TIconImage In;
  for (const char* Name : {"cursor.ico", "missing.ico"}) {
    try {
      In.LoadFromFile(Folder.Path(Name));
      ADD_FAILURE() << Name;
    } catch (const EInvalidGraphic& E) {
      EXPECT_NE(std::string(E.what()).find(Name), std::string::npos) << E.what();
    }
  }
}

} // namespace
