#include "files/MyPngImage.h"
#include "files/ReadLimits.h"
#include "raster/Pixels.h"

#include "FileTestSupport.h"
#include "support/ImageCompare.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>

namespace {

// A PNG written straight through libpng, so that inputs of every colour
// type reach the reader without our writer. Rows hold the samples as the
// file stores them (16-bit samples big-endian).
struct TRawPng {
  int Width = 1, Height = 1, Depth = 8, ColorType = PNG_COLOR_TYPE_RGB;
  std::vector<std::vector<uint8_t>> Rows;
  std::vector<png_color> Palette;
  std::vector<uint8_t> TransAlpha;
  bool HasKey = false;
  png_color_16 Key{};
  std::vector<std::pair<std::string, std::string>> Texts; // tEXt, in order
  bool Phys = false;
  uint32_t PhysX = 0;
  int PhysUnit = 1;
};

void WriteRawPng(const QString& Name, const TRawPng& P) {
  FILE* F = std::fopen(QFile::encodeName(Name).constData(), "wb");
  ASSERT_TRUE(F);
  png_structp Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop Info = png_create_info_struct(Png);
  png_init_io(Png, F);
  png_set_IHDR(Png, Info, P.Width, P.Height, P.Depth, P.ColorType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!P.Palette.empty()) png_set_PLTE(Png, Info, P.Palette.data(), int(P.Palette.size()));
  if (!P.TransAlpha.empty()) png_set_tRNS(Png, Info, P.TransAlpha.data(), int(P.TransAlpha.size()), nullptr);
  if (P.HasKey) png_set_tRNS(Png, Info, nullptr, 0, const_cast<png_color_16*>(&P.Key));
  if (P.Phys) png_set_pHYs(Png, Info, P.PhysX, P.PhysX, P.PhysUnit);
  std::vector<png_text> Texts;
  for (const auto& T : P.Texts) {
    png_text X{};
    X.compression = PNG_TEXT_COMPRESSION_NONE;
    X.key = const_cast<char*>(T.first.c_str());
    X.text = const_cast<char*>(T.second.c_str());
    X.text_length = T.second.size();
    Texts.push_back(X);
  }
  if (!Texts.empty()) png_set_text(Png, Info, Texts.data(), int(Texts.size()));
  png_write_info(Png, Info);
  for (const auto& Row : P.Rows) png_write_row(Png, Row.data());
  png_write_end(Png, Info);
  png_destroy_write_struct(&Png, &Info);
  std::fclose(F);
}

// The chunks of a PNG file in order: type and data.
std::vector<std::pair<std::string, std::vector<uint8_t>>> Chunks(const std::vector<uint8_t>& File) {
  std::vector<std::pair<std::string, std::vector<uint8_t>>> Result;
  for (size_t P = 8; P + 12 <= File.size();) {
    const uint32_t Length = (File[P] << 24) | (File[P + 1] << 16) | (File[P + 2] << 8) | File[P + 3];
    Result.push_back({std::string(File.begin() + P + 4, File.begin() + P + 8),
                      std::vector<uint8_t>(File.begin() + P + 8, File.begin() + P + 8 + Length)});
    P += 12 + Length;
  }
  return Result;
}

uint32_t Be32(const std::vector<uint8_t>& B, size_t At) {
  return (B[At] << 24) | (B[At + 1] << 16) | (B[At + 2] << 8) | B[At + 3];
}

PBitmap LoadPicture(const QString& Name, TMyPngImage& Png) {
  Png.LoadFromFile(Name);
  auto B = std::make_unique<TBitmap>();
  B->Assign(Png);
  return B;
}

TEST(MyPngImage, DefaultsOfANewPicture) {
  TMyPngImage P;
  EXPECT_EQ(P.Dpi, 0);
  EXPECT_TRUE(P.Comment.empty());
  EXPECT_EQ(P.InterlaceMethod, imNone);
  EXPECT_EQ(P.CompressionLevel, 7);
  EXPECT_EQ(P.Filters, 2);
}

TEST(MyPngImage, RoundTripsEveryDepthAndOthersReadTheSamePixels) {
  TTestFolder Folder;
  const PBitmap Smooth = SmoothImage(31, 17);
  const PBitmap Alpha = WithAlphaRamp(*Smooth);
  TBitmap Indexed(9, 5, pf8bit, clBlack);
  std::vector<TPaletteEntry> Pal;
  for (int I = 0; I < 256; ++I) Pal.push_back(0xFF000000u | uint32_t(I * 0x010203));
  Indexed.SetPalette(Pal);
  for (int Y = 0; Y < 5; ++Y)
    for (int X = 0; X < 9; ++X) Indexed.ScanLine(Y)[X] = uint8_t(X * 29 + Y);
  TBitmap Four;
  Four.Assign(Indexed);
  Four.SetPixelFormat(pf4bit);
  TBitmap One(11, 3, pf1bit, clWhite);
  One.ScanLine(1)[0] = 0x5A;

  for (const TBitmap* Source : {Smooth.get(), Alpha.get(), &Indexed, &Four, &One}) {
    for (TInterlaceMethod Interlace : {imNone, imAdam7}) {
      SCOPED_TRACE(testing::Message() << "format " << int(Source->PixelFormat()) << " interlace " << int(Interlace));
      const QString Name = Folder.Path("p.png");
      TMyPngImage Out;
      Out.Assign(*Source);
      Out.InterlaceMethod = Interlace;
      Out.SaveToFile(Name);
      TMyPngImage In;
      const PBitmap Back = LoadPicture(Name, In);
      EXPECT_IMAGES_MATCH(*Back, *Source);
      const bool HasAlpha = Source->PixelFormat() == pf32bit;
      EXPECT_IMAGES_MATCH(*QtDecode(Name, HasAlpha), HasAlpha ? *Source : *To24(*Source), 0, "qt");
      if (HasImageMagick()) {
        EXPECT_IMAGES_MATCH(*MagickDecode(Name, HasAlpha), HasAlpha ? *Source : *To24(*Source), 0, "magick");
      }
    }
  }
  EXPECT_EQ(Folder.Files(), QStringList{"p.png"});
}

TEST(MyPngImage, SeventyTwoDpiIs2834PixelsPerMetre) {
  TTestFolder Folder;
  TMyPngImage Out;
  Out.Assign(*SmoothImage(3, 3));
  Out.Dpi = 72;
  Out.Comment = "Bonjour \xE9t\xE9";
  Out.SaveToFile(Folder.Path("d.png"));
  bool Found = false;
  for (const auto& [Type, Data] : Chunks(ReadBytes(Folder.Path("d.png"))))
    if (Type == "pHYs") {
      Found = true;
      EXPECT_EQ(Be32(Data, 0), 2834u);
      EXPECT_EQ(Be32(Data, 4), 2834u);
      EXPECT_EQ(Data[8], 1);
    }
  EXPECT_TRUE(Found);
  TMyPngImage In;
  In.LoadFromFile(Folder.Path("d.png"));
  EXPECT_NEAR(In.Dpi, 71.9836, 1e-9);
  EXPECT_EQ(In.Comment, "Bonjour \xE9t\xE9");
  if (HasImageMagick()) {
    EXPECT_TRUE(Identify(Folder.Path("d.png"), "%c").startsWith("Bonjour "));
  }
}

TEST(MyPngImage, PhysicalSizeWithoutMetreUnitGivesNoResolution) {
  TTestFolder Folder;
  TRawPng P;
  P.Rows = {{1, 2, 3}};
  P.Phys = true;
  P.PhysX = 2834;
  P.PhysUnit = 0;
  WriteRawPng(Folder.Path("u.png"), P);
  TMyPngImage In;
  In.LoadFromFile(Folder.Path("u.png"));
  EXPECT_EQ(In.Dpi, 0);
}

TEST(MyPngImage, OnlyTheFirstTextChunkIsTheComment) {
  TTestFolder Folder;
  TRawPng P;
  P.Rows = {{1, 2, 3}};
  P.Texts = {{"Software", "x"}, {"Comment", "hidden"}};
  WriteRawPng(Folder.Path("t.png"), P);
  TMyPngImage In;
  In.LoadFromFile(Folder.Path("t.png"));
  EXPECT_EQ(In.Comment, "");
  P.Texts = {{"Comment", "seen"}, {"Software", "x"}};
  WriteRawPng(Folder.Path("t.png"), P);
  In.LoadFromFile(Folder.Path("t.png"));
  EXPECT_EQ(In.Comment, "seen");
}

TEST(MyPngImage, GreyWithAlphaFillsAllThreeChannels) {
  TTestFolder Folder;
  TRawPng P;
  P.Width = 2;
  P.ColorType = PNG_COLOR_TYPE_GRAY_ALPHA;
  P.Rows = {{10, 255, 200, 7}};
  WriteRawPng(Folder.Path("ga.png"), P);
  TMyPngImage In;
  const PBitmap B = LoadPicture(Folder.Path("ga.png"), In);
  ASSERT_EQ(B->PixelFormat(), pf32bit);
  const uint8_t* Row = B->ScanLine(0);
  EXPECT_EQ((std::vector<uint8_t>(Row, Row + 8)), (std::vector<uint8_t>{10, 10, 10, 255, 200, 200, 200, 7}));
  EXPECT_IMAGES_MATCH(*B, *QtDecode(Folder.Path("ga.png"), true), 0, "qt");
}

TEST(MyPngImage, PaletteTransparency) {
  TTestFolder Folder;
  TRawPng P;
  P.Width = 4;
  P.ColorType = PNG_COLOR_TYPE_PALETTE;
  P.Palette = {{200, 100, 50}, {0, 255, 0}, {0, 0, 255}, {9, 9, 9}};
  P.Rows = {{0, 1, 2, 3}};

  // Levels between clear and opaque: 32 bits, colours straight (not darkened).
  P.TransAlpha = {128, 255, 0};
  WriteRawPng(Folder.Path("pp.png"), P);
  TMyPngImage In;
  PBitmap B = LoadPicture(Folder.Path("pp.png"), In);
  ASSERT_EQ(B->PixelFormat(), pf32bit);
  const uint8_t* Row = B->ScanLine(0);
  EXPECT_EQ((std::vector<uint8_t>(Row, Row + 16)),
            (std::vector<uint8_t>{50, 100, 200, 128, 0, 255, 0, 255, 255, 0, 0, 0, 9, 9, 9, 255}));

  // One clear entry: an 8-bit bitmap with that transparent colour.
  P.TransAlpha = {255, 255, 0};
  WriteRawPng(Folder.Path("pb.png"), P);
  B = LoadPicture(Folder.Path("pb.png"), In);
  ASSERT_EQ(B->PixelFormat(), pf8bit);
  EXPECT_TRUE(In.Transparent);
  EXPECT_EQ(In.TransparentColor(), clBlue);

  // Two clear entries of different colours cannot share one transparent colour.
  P.TransAlpha = {0, 255, 0};
  WriteRawPng(Folder.Path("p2.png"), P);
  B = LoadPicture(Folder.Path("p2.png"), In);
  ASSERT_EQ(B->PixelFormat(), pf32bit);
  EXPECT_EQ(B->ScanLine(0)[3], 0);
  EXPECT_EQ(B->ScanLine(0)[11], 0);
  EXPECT_EQ(B->ScanLine(0)[7], 255);
}

TEST(MyPngImage, KeyColourAndSixteenBitSamples) {
  TTestFolder Folder;
  TRawPng P;
  P.Width = 2;
  P.Rows = {{5, 6, 7, 1, 2, 3}};
  P.HasKey = true;
  P.Key.red = 5, P.Key.green = 6, P.Key.blue = 7;
  WriteRawPng(Folder.Path("k.png"), P);
  TMyPngImage In;
  PBitmap B = LoadPicture(Folder.Path("k.png"), In);
  EXPECT_EQ(B->PixelFormat(), pf24bit);
  EXPECT_TRUE(In.Transparent);
  EXPECT_EQ(In.TransparentColor(), RGB(5, 6, 7));

  TRawPng Deep;
  Deep.Width = 2;
  Deep.Depth = 16;
  Deep.Rows = {{0xFF, 0xFF, 0x80, 0x00, 0x00, 0x00, 0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC}};
  WriteRawPng(Folder.Path("16.png"), Deep);
  B = LoadPicture(Folder.Path("16.png"), In);
  ASSERT_EQ(B->PixelFormat(), pf24bit);
  // 16-bit samples scaled to the nearest 8-bit value: v * 255 / 65535.
  EXPECT_EQ(B->PixelColor(0, 0), RGB(255, 128, 0));
  EXPECT_EQ(B->PixelColor(1, 0), RGB(0x12, 0x56, 0x9A));
  EXPECT_IMAGES_MATCH(*To24(*B), *QtDecode(Folder.Path("16.png"), false), 1, "qt");
}

TEST(MyPngImage, LowDepthGreys) {
  TTestFolder Folder;
  TRawPng P;
  P.Width = 4;
  P.Depth = 2;
  P.ColorType = PNG_COLOR_TYPE_GRAY;
  P.Rows = {{0x1B}}; // 0, 1, 2, 3
  WriteRawPng(Folder.Path("g2.png"), P);
  TMyPngImage In;
  const PBitmap B = LoadPicture(Folder.Path("g2.png"), In);
  for (int X = 0; X < 4; ++X) EXPECT_EQ(B->PixelColor(X, 0), RGB(85 * X, 85 * X, 85 * X)) << X;
  P.Depth = 1;
  P.Rows = {{0xA0}};
  WriteRawPng(Folder.Path("g1.png"), P);
  const PBitmap One = LoadPicture(Folder.Path("g1.png"), In);
  EXPECT_EQ(One->PixelFormat(), pf1bit);
  EXPECT_EQ(One->PixelColor(0, 0), clWhite);
  EXPECT_EQ(One->PixelColor(1, 0), clBlack);
}

TEST(MyPngImage, TransparentBitmapKeepsItsColourAsTrnsChunk) {
  TTestFolder Folder;
  TMyPngImage Out;
  Out.Assign(*SmoothImage(4, 4));
  Out.SetTransparentColor(Out.PixelColor(1, 1));
  Out.Transparent = true;
  Out.SaveToFile(Folder.Path("tr.png"));
  TMyPngImage In;
  In.LoadFromFile(Folder.Path("tr.png"));
  EXPECT_TRUE(In.Transparent);
  EXPECT_EQ(In.TransparentColor(), Out.PixelColor(1, 1));
  EXPECT_EQ(QtDecode(Folder.Path("tr.png"), true)->ScanLine(1)[4 + 3], 0);
}

// The filter type byte in front of every row of the inflated image data.
std::vector<int> RowFilters(const std::vector<uint8_t>& File, int Height, size_t RowBytes) {
  std::vector<uint8_t> Z;
  for (const auto& [Type, Data] : Chunks(File))
    if (Type == "IDAT") Z.insert(Z.end(), Data.begin(), Data.end());
  std::vector<uint8_t> Raw(size_t(Height) * (RowBytes + 1));
  uLongf Length = Raw.size();
  if (uncompress(Raw.data(), &Length, Z.data(), Z.size()) != Z_OK) return {};
  std::vector<int> F;
  for (int Y = 0; Y < Height; ++Y) F.push_back(Raw[size_t(Y) * (RowBytes + 1)]);
  return F;
}

TEST(MyPngImage, OneFilterIsUsedOnEveryRow) {
  TTestFolder Folder;
  const PBitmap Image = SmoothImage(20, 6);
  for (int Filter = 0; Filter < 5; ++Filter) {
    TMyPngImage Out;
    Out.Assign(*Image);
    Out.Filters = TPngFilters(1 << Filter);
    Out.SaveToFile(Folder.Path("f.png"));
    EXPECT_EQ(RowFilters(ReadBytes(Folder.Path("f.png")), 6, 60), std::vector<int>(6, Filter)) << Filter;
  }
}

TEST(MyPngImage, CompressionLevelChangesTheSize) {
  TTestFolder Folder;
  TMyPngImage Out;
  Out.Assign(*SmoothImage(64, 64));
  Out.CompressionLevel = 0;
  Out.SaveToFile(Folder.Path("0.png"));
  Out.CompressionLevel = 9;
  Out.SaveToFile(Folder.Path("9.png"));
  EXPECT_GT(ReadBytes(Folder.Path("0.png")).size(), 64u * 64 * 3);
  EXPECT_LT(ReadBytes(Folder.Path("9.png")).size(), 64u * 64 * 3 / 4);
}

TEST(MyPngImage, BitmapMaskToPng) {
  TBitmap Image(2, 1, pf24bit, clRed);
  TBitmap Mask(2, 1, pf24bit, clBlack);
  TPngImage Png;
  BitmapMaskToPng(Image, Mask, Png, true);
  ASSERT_EQ(Png.ColorType(), PngRgbAlpha);
  EXPECT_EQ(Png.AlphaAt(0, 0), 255);
  EXPECT_EQ(Png.AlphaAt(1, 0), 255);

  RowOf(Mask, 0)[0] = {255, 255, 255};
  RowOf(Mask, 0)[1] = {100, 100, 100};
  BitmapMaskToPng(Image, Mask, Png, true);
  EXPECT_EQ((std::vector<uint8_t>(Png.Row(0), Png.Row(0) + 8)),
            (std::vector<uint8_t>{255, 255, 255, 0, 0, 0, 255, 155}));
  BitmapMaskToPng(Image, Mask, Png, false);
  EXPECT_EQ((std::vector<uint8_t>(Png.Row(0), Png.Row(0) + 4)), (std::vector<uint8_t>{0, 0, 255, 0}));

  // Nothing for other formats or sizes.
  TPngImage Untouched;
  TBitmap Small(1, 1, pf24bit, clBlack), Deep(2, 1, pf32bit, clBlack);
  BitmapMaskToPng(Image, Small, Untouched, false);
  BitmapMaskToPng(Deep, Mask, Untouched, false);
  Bitmap32ToPng(Image, Untouched);
  EXPECT_TRUE(Untouched.Empty());
}

TEST(MyPngImage, ReaderRefusesBadFiles) {
  TTestFolder Folder;
  TMyPngImage In;
  EXPECT_THROW(In.LoadFromFile(Folder.Path("missing.png")), EInvalidGraphic);
  WriteBytes(Folder.Path("x.png"), {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0});
  EXPECT_THROW(In.LoadFromFile(Folder.Path("x.png")), EInvalidGraphic);
}

} // namespace
