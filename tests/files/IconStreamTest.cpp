#include "files/IconStream.h"
#include "files/MyPngImage.h"
#include "files/ReadLimits.h"
#include "raster/Pixels.h"
#include "raster/Transparency.h"

#include "FileTestSupport.h"
#include "support/ImageCompare.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace {

const TColor Standard16[16] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080,
                               0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};

// An icon of W x H whose pixel (x, y) has Color(x, y), transparent where
// Masked(x, y).
template <class C, class M> void MakeIcon(TIcon& Icon, int W, int H, C&& Color, M&& Masked) {
  TBitmap Colors(W, H, pf24bit, clBlack);
  TBitmap Mask(W, H, pf24bit, clBlack);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) {
      RowOf(Colors, Y)[X] = ColorToTRGB(Color(X, Y));
      if (Masked(X, Y)) RowOf(Mask, Y)[X] = {255, 255, 255};
    }
  ASSERT_TRUE(Icon.Create(Colors, Mask));
}

// Pixel (x, y) of a 16-colour test icon, and whether it is masked.
TColor StandardAt(int X, int Y) { return Standard16[(X + 2 * Y) % 12]; }
bool Corner(int X, int Y) { return X < 3 && Y < 2; }

std::vector<uint8_t> IconBytes(const TIcon& Icon, TIconFormat Format) {
  QBuffer Buffer;
  Buffer.open(QIODevice::WriteOnly);
  WriteIcon(Buffer, Icon, Format);
  const QByteArray& D = Buffer.data();
  return {D.begin(), D.end()};
}

void ReadBytesAsIcon(const std::vector<uint8_t>& Bytes, TIcon& Icon, const QString& Name = "test.ico") {
  QBuffer Buffer;
  Buffer.setData(reinterpret_cast<const char*>(Bytes.data()), qsizetype(Bytes.size()));
  Buffer.open(QIODevice::ReadOnly);
  ReadIcon(Buffer, Icon, Name);
}

uint32_t U32(const std::vector<uint8_t>& B, size_t At) {
  return B[At] | (B[At + 1] << 8) | (B[At + 2] << 16) | (uint32_t(B[At + 3]) << 24);
}
void PutU32(std::vector<uint8_t>& B, size_t At, uint32_t V) {
  for (int I = 0; I < 4; ++I) B[At + size_t(I)] = uint8_t(V >> (8 * I));
}

// An .ico file whose directory lists the given images (each an image as it
// follows the directory), with their directory sizes.
std::vector<uint8_t> IcoOf(const std::vector<std::pair<int, std::vector<uint8_t>>>& Images) {
  std::vector<uint8_t> Out = {0, 0, 1, 0, uint8_t(Images.size()), 0};
  uint32_t Offset = uint32_t(6 + 16 * Images.size());
  for (const auto& [Size, Image] : Images) {
    std::vector<uint8_t> Entry(16, 0);
    Entry[0] = Entry[1] = uint8_t(Size & 0xFF);
    PutU32(Entry, 8, uint32_t(Image.size()));
    PutU32(Entry, 12, Offset);
    Offset += uint32_t(Image.size());
    Out.insert(Out.end(), Entry.begin(), Entry.end());
  }
  for (const auto& I : Images) Out.insert(Out.end(), I.second.begin(), I.second.end());
  return Out;
}

// The image part of a one-image icon written by WriteIcon.
std::vector<uint8_t> ImageOf(const std::vector<uint8_t>& Ico) { return {Ico.begin() + 22, Ico.end()}; }

bool MaskAt(const TIcon& Icon, int X, int Y) { return PixelIndex(Icon.Mask().ScanLine(Y), X, pf1bit) != 0; }

TEST(IconStream, WritesEachDepthAsTheFileLayoutSaysAndReadsItBack) {
  TTestFolder Folder;
  TIcon Icon;
  MakeIcon(Icon, 21, 13, StandardAt, Corner);
  struct Case {
    TIconFormat Format;
    int Bits;
    int TableEntries;
  };
  for (const Case& C : {Case{if16Colors, 4, 16}, Case{if256Colors, 8, 256}, Case{ifTrueColors, 24, 0},
                        Case{ifTrueColorsAlpha, 32, 0}}) {
    SCOPED_TRACE(C.Bits);
    const std::vector<uint8_t> B = IconBytes(Icon, C.Format);
    const uint32_t ColorRow = (21 * C.Bits + 31) / 32 * 4, MaskRow = 4;
    const uint32_t ImageSize = 40 + 4 * C.TableEntries + (ColorRow + MaskRow) * 13;
    ASSERT_EQ(B.size(), 22 + ImageSize);
    EXPECT_EQ(std::vector<uint8_t>(B.begin(), B.begin() + 14),
              (std::vector<uint8_t>{0, 0, 1, 0, 1, 0, 21, 13, uint8_t(C.Bits), 0, 0, 0, 0, 0}));
    EXPECT_EQ(U32(B, 14), ImageSize);
    EXPECT_EQ(U32(B, 18), 22u);
    EXPECT_EQ(U32(B, 22), 40u);
    EXPECT_EQ(U32(B, 26), 21u);
    EXPECT_EQ(U32(B, 30), 26u); // colour and mask rows
    EXPECT_EQ(B[36], C.Bits);
    EXPECT_EQ(U32(B, 42), ColorRow * 13); // the colour rows only

    TIcon Back;
    ReadBytesAsIcon(B, Back);
    ASSERT_EQ(Back.Width(), 21);
    ASSERT_EQ(Back.Height(), 13);
    for (int Y = 0; Y < 13; ++Y)
      for (int X = 0; X < 21; ++X) {
        EXPECT_EQ(MaskAt(Back, X, Y), Corner(X, Y)) << X << "," << Y;
        EXPECT_EQ(Back.Color().PixelColor(X, Y), StandardAt(X, Y)) << X << "," << Y;
      }
    // Others read the file alike: the masked corner clear, the rest opaque.
    const QString Name = Folder.Path(QString("d%1.ico").arg(C.Bits));
    WriteBytes(Name, B);
    if (HasImageMagick()) {
      const PBitmap M = MagickDecode(Name, true);
      ASSERT_EQ(M->Width(), 21);
      for (int Y = 0; Y < 13; ++Y)
        for (int X = 0; X < 21; ++X) {
          const uint8_t* P = M->ScanLine(Y) + 4 * X;
          EXPECT_EQ(P[3], Corner(X, Y) ? 0 : 255) << X << "," << Y;
          if (!Corner(X, Y)) {
            EXPECT_EQ(RGB(P[2], P[1], P[0]), StandardAt(X, Y)) << X << "," << Y;
          }
        }
    }
  }
}

TEST(IconStream, AlphaIsKeptAndColoursBecomeTheNearestPaletteEntry) {
  TBitmap B32(4, 4, pf32bit, clBlack);
  for (int Y = 0; Y < 4; ++Y)
    for (int X = 0; X < 4; ++X) {
      uint8_t* P = B32.ScanLine(Y) + 4 * X;
      P[0] = uint8_t(10 * X), P[1] = uint8_t(20 * Y), P[2] = 200, P[3] = uint8_t(60 * X + Y);
    }
  TIcon Icon;
  ASSERT_TRUE(Bitmap32ToIcon(B32, 4, Icon));
  TIcon Back;
  ReadBytesAsIcon(IconBytes(Icon, ifTrueColorsAlpha), Back);
  EXPECT_IMAGES_MATCH(Back.Color(), B32);
  EXPECT_EQ(IconFormatOf(Back), ifTrueColorsAlpha);

  // At 4 bits a colour takes the nearest of the sixteen standard colours.
  MakeIcon(
      Icon, 2, 1, [](int X, int) { return X ? RGB(250, 10, 5) : RGB(120, 0, 10); }, [](int, int) { return false; });
  ReadBytesAsIcon(IconBytes(Icon, if16Colors), Back);
  EXPECT_EQ(Back.Color().PixelColor(0, 0), clMaroon);
  EXPECT_EQ(Back.Color().PixelColor(1, 0), clRed);
}

TEST(IconStream, ReadsTheFirstImageListedWhateverItsSize) {
  TIcon Small, Large, Icon;
  MakeIcon(
      Small, 16, 16, [](int, int) { return clRed; }, [](int, int) { return false; });
  MakeIcon(
      Large, 32, 32, [](int, int) { return clBlue; }, [](int, int) { return false; });
  const auto S = ImageOf(IconBytes(Small, ifTrueColors)), L = ImageOf(IconBytes(Large, ifTrueColors));
  ReadBytesAsIcon(IcoOf({{16, S}, {32, L}}), Icon);
  EXPECT_EQ(Icon.Width(), 16);
  EXPECT_EQ(Icon.Color().PixelColor(5, 5), clRed);
  ReadBytesAsIcon(IcoOf({{32, L}, {16, S}}), Icon);
  EXPECT_EQ(Icon.Width(), 32);
  EXPECT_EQ(Icon.Color().PixelColor(5, 5), clBlue);
  // The directory's size holds: a 32 x 32 image listed as 16 x 16 is stretched.
  ReadBytesAsIcon(IcoOf({{16, L}}), Icon);
  EXPECT_EQ(Icon.Width(), 16);
  EXPECT_EQ(Icon.Mask().Width(), 16);
  EXPECT_EQ(Icon.Color().PixelColor(15, 15), clBlue);
}

TEST(IconStream, Size256IsWrittenAsZeroAndReadBack) {
  TIcon Icon;
  MakeIcon(
      Icon, 256, 256, [](int X, int Y) { return RGB(X, Y, 7); }, [](int X, int) { return X == 255; });
  const std::vector<uint8_t> B = IconBytes(Icon, ifTrueColors);
  EXPECT_EQ(B[6], 0);
  EXPECT_EQ(B[7], 0);
  TIcon Back;
  ReadBytesAsIcon(B, Back);
  ASSERT_EQ(Back.Width(), 256);
  EXPECT_EQ(Back.Color().PixelColor(200, 100), RGB(200, 100, 7));
  EXPECT_TRUE(MaskAt(Back, 255, 0));
  EXPECT_FALSE(MaskAt(Back, 254, 0));
}

TEST(IconStream, PngCodedImagesAreRead) {
  TTestFolder Folder;
  TBitmap B32(5, 3, pf32bit, clBlack);
  for (int Y = 0; Y < 3; ++Y)
    for (int X = 0; X < 5; ++X) {
      uint8_t* P = B32.ScanLine(Y) + 4 * X;
      P[0] = uint8_t(40 * X), P[1] = uint8_t(50 * Y), P[2] = 9, P[3] = uint8_t(X == 0 ? 0 : 50 * X);
    }
  TPngImage Png;
  Bitmap32ToPng(B32, Png);
  Png.SaveToFile(Folder.Path("i.png"));
  TIcon Icon;
  ReadBytesAsIcon(IcoOf({{5, ReadBytes(Folder.Path("i.png"))}}), Icon);
  EXPECT_IMAGES_MATCH(Icon.Color(), B32);
  EXPECT_TRUE(MaskAt(Icon, 0, 1));
  EXPECT_FALSE(MaskAt(Icon, 1, 1));
}

TEST(IconStream, FormatOfTheColoursOfTheIcon) {
  const auto None = [](int, int) { return false; };
  struct Case {
    const char* What;
    std::function<TColor(int, int)> Color;
    std::function<bool(int, int)> Masked;
    TIconFormat Expected;
  };
  const Case Cases[] = {
      {"12 standard colours", [](int X, int Y) { return Standard16[(X + Y) % 12]; }, None, if16Colors},
      {"16 standard colours", [](int X, int Y) { return Standard16[(X + Y) % 16]; }, None, if256Colors},
      {"one standard colour", [](int, int) { return clNavy; }, None, if16Colors},
      {"12 colours, one not standard", [](int X, int Y) { return (X + Y) % 12 ? Standard16[(X + Y) % 12] : 0x010101; },
       None, if256Colors},
      {"256 colours", [](int X, int Y) { return RGB(X, Y, 0); }, [](int X, int Y) { return X >= 16 || Y >= 16; },
       if256Colors},
      {"257 colours", [](int X, int Y) { return RGB(X, Y, 0); },
       [](int X, int Y) { return Y > 8 || (Y == 8 && X > 0); }, ifTrueColors},
      {"only masked pixels differ", [](int X, int Y) { return X < 2 ? clRed : RGB(X, Y, 3); },
       [](int X, int) { return X >= 2; }, if16Colors},
      {"everything masked", [](int X, int) { return RGB(X, 0, 0); }, [](int, int) { return true; }, ifTrueColors},
  };
  for (const Case& C : Cases) {
    TIcon Icon;
    MakeIcon(Icon, 32, 32, C.Color, C.Masked);
    EXPECT_EQ(IconFormatOf(Icon), C.Expected) << C.What;
  }
}

TEST(IconStream, IconToBitmapKeysTheMaskOrKeepsTheAlpha) {
  TIcon Icon;
  MakeIcon(Icon, 6, 4, StandardAt, Corner);
  TBitmap B;
  EXPECT_EQ(IconToBitmap(Icon, B), if16Colors);
  EXPECT_EQ(B.PixelFormat(), pf24bit);
  EXPECT_TRUE(B.Transparent);
  EXPECT_EQ(B.TransparentColor(), TransparentKeyColor);
  for (int Y = 0; Y < 4; ++Y)
    for (int X = 0; X < 6; ++X)
      EXPECT_EQ(B.PixelColor(X, Y), Corner(X, Y) ? TransparentKeyColor : StandardAt(X, Y)) << X << "," << Y;

  TBitmap B32(3, 3, pf32bit, clBlack);
  B32.ScanLine(1)[4 + 3] = 128;
  B32.ScanLine(1)[4 + 2] = 77;
  ASSERT_TRUE(Bitmap32ToIcon(B32, 3, Icon));
  EXPECT_EQ(IconToBitmap(Icon, B), ifTrueColorsAlpha);
  EXPECT_EQ(B.PixelFormat(), pf32bit);
  EXPECT_FALSE(B.Transparent);
  EXPECT_EQ(B.ScanLine(1)[4 + 3], 128);
  EXPECT_EQ(B.ScanLine(1)[4 + 2], 77);
}

TEST(IconStream, BitmapsBecomeCentredOrExactIcons) {
  // 32 x 16 in a 32 x 32 icon: the top and bottom 8 rows transparent.
  TBitmap Wide(32, 16, pf24bit, clGreen);
  TIcon Icon;
  ASSERT_TRUE(BitmapToIconCentered(Wide, 32, Icon));
  ASSERT_EQ(Icon.Width(), 32);
  for (int Y = 0; Y < 32; ++Y) {
    const bool Inside = Y >= 8 && Y < 24;
    EXPECT_EQ(MaskAt(Icon, 5, Y), !Inside) << Y;
    EXPECT_EQ(Icon.Color().PixelColor(5, Y), Inside ? clGreen : clBlack) << Y;
  }
  // A transparent bitmap's key stays transparent and black; odd margins
  // round down.
  TBitmap Keyed(3, 3, pf24bit, clRed);
  Keyed.Canvas().SetPixels(1, 1, clLime);
  Keyed.SetTransparentColor(clLime);
  Keyed.Transparent = true;
  ASSERT_TRUE(BitmapToIconCentered(Keyed, 6, Icon));
  EXPECT_TRUE(MaskAt(Icon, 2, 2));
  EXPECT_EQ(Icon.Color().PixelColor(2, 2), clBlack);
  EXPECT_FALSE(MaskAt(Icon, 1, 1));
  EXPECT_TRUE(MaskAt(Icon, 0, 0));
  EXPECT_TRUE(MaskAt(Icon, 4, 4));
  EXPECT_EQ(Icon.Color().PixelColor(3, 3), clRed);

  TBitmap Square32(8, 8, pf32bit, clBlack), Tall32(8, 9, pf32bit, clBlack);
  EXPECT_TRUE(Bitmap32ToIcon(Square32, 8, Icon));
  EXPECT_FALSE(MaskAt(Icon, 7, 7));
  EXPECT_FALSE(Bitmap32ToIcon(Square32, 16, Icon));
  EXPECT_FALSE(Bitmap32ToIcon(Tall32, 9, Icon));
  EXPECT_FALSE(Bitmap32ToIcon(Wide, 32, Icon)); // not 32-bit
  EXPECT_TRUE(Icon.Empty());
}

// A valid file changed at one place; each must fail cleanly, naming the file.
TEST(IconStream, PngCodedImagesAreAtMost256Wide) {
  // The most a directory entry can state; a larger PNG is refused before it
  // is decoded.
  TTestFolder Folder;
  TIcon Icon;
  for (const auto& [W, H, Reads] : {std::tuple{256, 256, true}, std::tuple{257, 1, false}, std::tuple{1, 257, false}}) {
    TPngImage Png;
    Bitmap32ToPng(TBitmap(W, H, pf32bit, clBlue), Png);
    Png.SaveToFile(Folder.Path("i.png"));
    const std::vector<uint8_t> Ico = IcoOf({{0, ReadBytes(Folder.Path("i.png"))}});
    if (Reads) {
      ReadBytesAsIcon(Ico, Icon);
      EXPECT_EQ(Icon.Width(), W);
    } else {
      EXPECT_THROW(ReadBytesAsIcon(Ico, Icon), EInvalidGraphic) << W << " x " << H;
    }
  }
}

TEST(IconStream, MalformedFilesAreRefusedNamingTheFile) {
  TIcon Icon;
  MakeIcon(Icon, 8, 8, StandardAt, Corner);
  const std::vector<uint8_t> Valid = IconBytes(Icon, if256Colors);
  struct Case {
    const char* What;
    std::function<void(std::vector<uint8_t>&)> Change;
  };
  const Case Cases[] = {
      {"type 2 (cursor)", [](auto& B) { B[2] = 2; }},
      {"no image", [](auto& B) { B[4] = 0; }},
      {"count beyond the file", [](auto& B) { B[4] = B[5] = 0xFF; }},
      {"offset beyond the file", [](auto& B) { PutU32(B, 18, 0xFFFFFFF0u); }},
      {"size beyond the file", [](auto& B) { PutU32(B, 14, U32(B, 14) + 1); }},
      {"size and offset wrapping", [](auto& B) { PutU32(B, 14, 0xFFFFFFFFu), PutU32(B, 18, 0xFFFFFFFFu); }},
      {"header size beyond the image", [](auto& B) { PutU32(B, 22, 100000); }},
      {"header size too small", [](auto& B) { PutU32(B, 22, 12); }},
      {"width 0", [](auto& B) { PutU32(B, 26, 0); }},
      {"negative width", [](auto& B) { PutU32(B, 26, 0xFFFFFFF8u); }},
      {"huge width", [](auto& B) { PutU32(B, 26, 0x7FFFFFFF); }},
      {"top-down height", [](auto& B) { PutU32(B, 30, uint32_t(-16)); }},
      {"huge height", [](auto& B) { PutU32(B, 30, 0x40000000); }},
      {"7 bits", [](auto& B) { B[36] = 7; }},
      {"run-length compression", [](auto& B) { B[38] = 1; }},
      {"rows missing", [](auto& B) { PutU32(B, 30, 32); }},
  };
  for (const Case& C : Cases) {
    std::vector<uint8_t> B = Valid;
    C.Change(B);
    try {
      ReadBytesAsIcon(B, Icon, "broken.ico");
      ADD_FAILURE() << C.What << " was read";
    } catch (const EInvalidGraphic& E) {
      EXPECT_NE(std::string(E.what()).find("broken.ico"), std::string::npos) << C.What;
      EXPECT_NE(std::string(E.what()).find("Données invalides !"), std::string::npos) << C.What;
    }
    EXPECT_TRUE(Icon.Empty()) << C.What;
  }
  // Cut at every length.
  for (size_t N = 0; N < Valid.size(); ++N)
    EXPECT_THROW(ReadBytesAsIcon({Valid.begin(), Valid.begin() + ptrdiff_t(N)}, Icon), EInvalidGraphic) << N;
  TBitmap B;
  EXPECT_THROW(IconToBitmap(Icon, B), EInvalidGraphic);
}

} // namespace
