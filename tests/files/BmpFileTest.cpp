#include "files/BmpFile.h"
#include "files/ReadLimits.h"

#include "FileTestSupport.h"
#include "support/ImageCompare.h"

#include <gtest/gtest.h>

#include <random>

namespace {

void Put16(std::vector<uint8_t>& B, size_t At, uint32_t V) {
  B[At] = uint8_t(V);
  B[At + 1] = uint8_t(V >> 8);
}
void Put32(std::vector<uint8_t>& B, size_t At, uint32_t V) {
  Put16(B, At, V & 0xFFFF);
  Put16(B, At + 2, V >> 16);
}
uint32_t Get32(const std::vector<uint8_t>& B, size_t At) {
  return B[At] | (B[At + 1] << 8) | (B[At + 2] << 16) | (uint32_t(B[At + 3]) << 24);
}

// A BMP file from its parts: the header kind, the colour table (as stored:
// 3 or 4 bytes an entry), the channel masks of a bit-field file and the
// pixel data exactly as the file holds it.
struct TBmpLayout {
  uint32_t HeaderSize = 40;
  int Width = 0;
  int Height = 0; // negative: top-down
  int Bits = 24;
  uint32_t Compression = 0;
  std::vector<uint8_t> ColorTable;
  std::vector<uint32_t> Masks; // red, green, blue (and alpha)
  std::vector<uint8_t> Pixels;
};

std::vector<uint8_t> MakeBmp(const TBmpLayout& S) {
  const bool Core = S.HeaderSize == 12;
  const size_t MaskBytes = S.HeaderSize == 40 ? 4 * S.Masks.size() : 0;
  const size_t Offset = 14 + S.HeaderSize + MaskBytes + S.ColorTable.size();
  std::vector<uint8_t> B(Offset, 0);
  B[0] = 'B';
  B[1] = 'M';
  Put32(B, 2, uint32_t(Offset + S.Pixels.size()));
  Put32(B, 10, uint32_t(Offset));
  Put32(B, 14, S.HeaderSize);
  if (Core) {
    Put16(B, 18, uint32_t(S.Width));
    Put16(B, 20, uint32_t(S.Height));
    Put16(B, 22, 1);
    Put16(B, 24, uint32_t(S.Bits));
  } else {
    Put32(B, 18, uint32_t(S.Width));
    Put32(B, 22, uint32_t(S.Height));
    Put16(B, 26, 1);
    Put16(B, 28, uint32_t(S.Bits));
    Put32(B, 30, S.Compression);
    Put32(B, 34, uint32_t(S.Pixels.size()));
    Put32(B, 46, S.Bits <= 8 && !S.ColorTable.empty() ? uint32_t(S.ColorTable.size() / 4) : 0);
    for (size_t I = 0; I < S.Masks.size(); ++I) Put32(B, 54 + 4 * I, S.Masks[I]);
  }
  std::copy(S.ColorTable.begin(), S.ColorTable.end(), B.begin() + ptrdiff_t(14 + S.HeaderSize + MaskBytes));
  B.insert(B.end(), S.Pixels.begin(), S.Pixels.end());
  return B;
}

PBitmap Load(const std::vector<uint8_t>& Bytes, const TTestFolder& Folder) {
  const QString Name = Folder.Path("in.bmp");
  WriteBytes(Name, Bytes);
  auto B = std::make_unique<TBitmap>();
  LoadBitmapFromBmpFile(Name, *B);
  return B;
}

PBitmap RandomBitmap(TPixelFormat Format, int W, int H, unsigned Seed) {
  auto Result = std::make_unique<TBitmap>(W, H, Format, clBlack);
  TBitmap& B = *Result;
  std::mt19937 G(Seed);
  if (Format == pf1bit || Format == pf4bit || Format == pf8bit) { // random indices on a random palette
    std::vector<TPaletteEntry> P;
    const int Count = Format == pf1bit ? 2 : Format == pf4bit ? 16 : 256;
    for (int I = 0; I < Count; ++I) P.push_back(0xFF000000u | (G() & 0xFFFFFF));
    B.SetPalette(P);
    for (int Y = 0; Y < H; ++Y)
      for (int X = 0; X < TBitmap::BytesPerRow(W, B.BitsPerPixel()); ++X) B.ScanLine(Y)[X] = uint8_t(G());
  } else {
    FillRandom(B, Seed);
    if (Format == pf32bit)
      for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) B.ScanLine(Y)[4 * X + 3] = uint8_t(G());
  }
  return Result;
}

class BmpRoundTrip : public ::testing::TestWithParam<TPixelFormat> {};

TEST_P(BmpRoundTrip, ReadsBackWhatItWroteAndOthersReadTheSameColours) {
  TTestFolder Folder;
  const QString Name = Folder.Path("round.bmp");
  const PBitmap Original = RandomBitmap(GetParam(), 13, 7, 5);
  SaveBitmapToBmpFile(Name, *Original);
  EXPECT_EQ(Folder.Files(), QStringList{"round.bmp"});

  TBitmap Back;
  LoadBitmapFromBmpFile(Name, Back);
  EXPECT_IMAGES_MATCH(Back, *Original);
  // Qt keeps no fourth byte of a plain 32-bit file: compare colours only.
  EXPECT_IMAGES_MATCH(*QtDecode(Name, false), *To24(*Original), 0, "qt");
  if (HasImageMagick()) {
    EXPECT_IMAGES_MATCH(*MagickDecode(Name, false), *To24(*Original), 0, "magick");
  }
}

INSTANTIATE_TEST_SUITE_P(AllDepths, BmpRoundTrip, ::testing::Values(pf1bit, pf4bit, pf8bit, pf24bit, pf32bit));

TEST(BmpFile, ResolutionAt300DpiFillsBothFullFields) {
  TTestFolder Folder;
  const QString Name = Folder.Path("dpi.bmp");
  SaveBitmapToBmpFile(Name, *SmoothImage(4, 4), 300);
  const std::vector<uint8_t> Bytes = ReadBytes(Name);
  EXPECT_EQ(Get32(Bytes, 38), 11811u); // 0x2E23
  EXPECT_EQ(Get32(Bytes, 42), 11811u);
  EXPECT_NEAR(GetBmpDpi(Name), 299.9994, 1e-9);

  // Above 16 bits the whole field counts.
  ASSERT_TRUE(SetBmpDpi(Name, 2000));
  EXPECT_EQ(Get32(ReadBytes(Name), 38), 78740u);
  EXPECT_EQ(Get32(ReadBytes(Name), 42), 78740u);
  EXPECT_NEAR(GetBmpDpi(Name), 1999.996, 1e-9);
  EXPECT_EQ(Folder.Files(), QStringList{"dpi.bmp"});

  TBitmap Back;
  LoadBitmapFromBmpFile(Name, Back);
  EXPECT_IMAGES_MATCH(Back, *SmoothImage(4, 4));
}

TEST(BmpFile, NoResolutionIsZero) {
  TTestFolder Folder;
  const QString Name = Folder.Path("none.bmp");
  SaveBitmapToBmpFile(Name, *SmoothImage(3, 3));
  EXPECT_EQ(Get32(ReadBytes(Name), 38), 0u);
  EXPECT_EQ(GetBmpDpi(Name), 0);
  EXPECT_EQ(GetBmpDpi(Folder.Path("missing.bmp")), 0);
  EXPECT_FALSE(SetBmpDpi(Folder.Path("missing.bmp"), 96));
}

TEST(BmpFile, ResolutionFieldsOnlyOnBitmapsWithAnInformationHeader) {
  TTestFolder Folder;
  std::vector<uint8_t> NotBmp(64, 0x41);
  std::vector<uint8_t> Core = MakeBmp({12, 2, 2, 24, 0, {}, {}, std::vector<uint8_t>(16, 9)});
  Core.resize(64, 0); // long enough to hold the fields
  std::vector<uint8_t> Short = MakeBmp({40, 1, 1, 24, 0, {}, {}, {1, 2, 3, 0}});
  Short.resize(44);
  for (const auto& Bytes : {NotBmp, Core, Short}) {
    const QString Name = Folder.Path("f.bin");
    WriteBytes(Name, Bytes);
    EXPECT_EQ(GetBmpDpi(Name), 0);
    EXPECT_FALSE(SetBmpDpi(Name, 300));
    EXPECT_EQ(ReadBytes(Name), Bytes);
  }
}

TEST(BmpFile, ReadsOs2CoreHeaderWithThreeByteColours) {
  TTestFolder Folder;
  // 3 x 2, 8 bits: colours 0 red, 1 green, 2 blue (stored B, G, R).
  TBmpLayout S{12, 3, 2, 8, 0, {0, 0, 255, 0, 255, 0, 255, 0, 0}, {}, {}};
  S.ColorTable.resize(3 * 256, 0);
  S.Pixels = {0, 1, 2, 0, /* bottom row */ 2, 2, 1, 0};
  const PBitmap Loaded = Load(MakeBmp(S), Folder);
  const TBitmap& B = *Loaded;
  ASSERT_EQ(B.PixelFormat(), pf8bit);
  EXPECT_EQ(B.PixelColor(0, 1), clRed);
  EXPECT_EQ(B.PixelColor(1, 1), clLime);
  EXPECT_EQ(B.PixelColor(2, 1), clBlue);
  EXPECT_EQ(B.PixelColor(0, 0), clBlue);
  EXPECT_EQ(B.PixelColor(2, 0), clLime);
}

TEST(BmpFile, ReadsTopDownRows) {
  TTestFolder Folder;
  TBmpLayout S{40, 1, -2, 24, 0, {}, {}, {255, 0, 0, 0, 0, 0, 255, 0}};
  const PBitmap Loaded = Load(MakeBmp(S), Folder);
  const TBitmap& B = *Loaded;
  EXPECT_EQ(B.PixelColor(0, 0), clBlue);
  EXPECT_EQ(B.PixelColor(0, 1), clRed);
}

TEST(BmpFile, ReadsRunLengthEncodedPalettes) {
  TTestFolder Folder;
  std::vector<uint8_t> Table;
  for (int I = 0; I < 16; ++I) Table.insert(Table.end(), {uint8_t(I * 16), uint8_t(I), uint8_t(255 - I * 16), 0});
  // RLE8, 5 x 3: bottom row: run of 2 x index 4, absolute 7 8 9 (padded),
  // end of line; middle row: run of 2 x index 1; a delta of 2 right and 1
  // up; run of 1 x index 5; end of bitmap. Skipped pixels stay index 0.
  std::vector<uint8_t> Table8 = Table;
  Table8.resize(4 * 256, 0);
  TBmpLayout R8{40, 5, 3, 8, 1, Table8, {}, {2, 4, 0, 3, 7, 8, 9, 0, 0, 0, 2, 1, 0, 2, 2, 1, 1, 5, 0, 1}};
  PBitmap Loaded = Load(MakeBmp(R8), Folder);
  const TBitmap* B8 = Loaded.get();
  const TBitmap& B = *B8;
  ASSERT_EQ(B.PixelFormat(), pf8bit);
  const int Rows[3][5] = {{0, 0, 0, 0, 5}, {1, 1, 0, 0, 0}, {4, 4, 7, 8, 9}};
  for (int Y = 0; Y < 3; ++Y)
    for (int X = 0; X < 5; ++X) EXPECT_EQ(B.ScanLine(Y)[X], Rows[Y][X]) << X << "," << Y;
  // RLE4, 5 x 1: run of 5 alternating 2 and 3; end of bitmap.
  TBmpLayout R4{40, 5, 1, 4, 2, Table, {}, {5, 0x23, 0, 1}};
  const PBitmap B4 = Load(MakeBmp(R4), Folder);
  ASSERT_EQ(B4->PixelFormat(), pf4bit);
  for (int X = 0; X < 5; ++X) {
    const int I = X % 2 ? 3 : 2;
    EXPECT_EQ(B4->PixelColor(X, 0), RGB(255 - 16 * I, I, 16 * I)) << X;
  }
}

TEST(BmpFile, ReadsBitFieldsAt16BitsScaledToFullRange) {
  TTestFolder Folder;
  // 5-6-5: red, green, blue, white; a full channel is 255, not 248.
  TBmpLayout S{40, 4, 1, 16, 3, {}, {0xF800, 0x07E0, 0x001F}, {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0xFF, 0xFF}};
  const PBitmap Loaded = Load(MakeBmp(S), Folder);
  const TBitmap& B = *Loaded;
  ASSERT_EQ(B.PixelFormat(), pf24bit);
  EXPECT_EQ(B.PixelColor(0, 0), clRed);
  EXPECT_EQ(B.PixelColor(1, 0), clLime);
  EXPECT_EQ(B.PixelColor(2, 0), clBlue);
  EXPECT_EQ(B.PixelColor(3, 0), clWhite);
}

TEST(BmpFile, Keeps32BitFourthByteAndBitFieldAlpha) {
  TTestFolder Folder;
  // A plain 32-bit file: the fourth byte is kept as it stands.
  const PBitmap Plain = Load(MakeBmp({40, 2, 1, 32, 0, {}, {}, {1, 2, 3, 0, 4, 5, 6, 77}}), Folder);
  ASSERT_EQ(Plain->PixelFormat(), pf32bit);
  EXPECT_EQ(Plain->ScanLine(0)[3], 0);
  EXPECT_EQ(Plain->ScanLine(0)[7], 77);
  EXPECT_EQ(Plain->PixelColor(1, 0), RGB(6, 5, 4));

  // A version 5 header with channels in another order and an alpha mask.
  TBmpLayout V5{124, 1, 1, 32, 3, {}, {}, {0x80, 0x30, 0x20, 0x10}};
  std::vector<uint8_t> Bytes = MakeBmp(V5);
  Put32(Bytes, 54, 0x0000FF00); // red
  Put32(Bytes, 58, 0x00FF0000); // green
  Put32(Bytes, 62, 0xFF000000); // blue
  Put32(Bytes, 66, 0x000000FF); // alpha
  const PBitmap Fields = Load(Bytes, Folder);
  ASSERT_EQ(Fields->PixelFormat(), pf32bit);
  EXPECT_EQ(Fields->PixelColor(0, 0), RGB(0x30, 0x20, 0x10));
  EXPECT_EQ(Fields->ScanLine(0)[3], 0x80);
}

TEST(BmpFile, RefusesHeadersThatCannotBeTrusted) {
  TTestFolder Folder;
  const TBmpLayout Good{40, 2, 2, 24, 0, {}, {}, std::vector<uint8_t>(16, 7)};
  struct TCase {
    const char* What;
    size_t Offset;
    uint32_t Value;
  } Cases[] = {{"width 0", 18, 0},
               {"negative width", 18, 0xFFFFFFFE},
               {"height 0", 22, 0},
               {"huge height", 22, 0x7FFFFFFF},
               {"most negative height", 22, 0x80000000},
               {"planes 2", 26, 0x00180002},
               {"depth 7", 28, 7},
               {"unknown compression", 30, 9},
               {"pixel offset past end", 10, 4000},
               {"header size 0", 14, 0},
               {"width huge", 18, 70000}};
  for (const TCase& C : Cases) {
    std::vector<uint8_t> Bytes = MakeBmp(Good);
    Put32(Bytes, C.Offset, C.Value);
    WriteBytes(Folder.Path("bad.bmp"), Bytes);
    TBitmap B;
    EXPECT_THROW(LoadBitmapFromBmpFile(Folder.Path("bad.bmp"), B), EInvalidGraphic) << C.What;
  }
  TBitmap B;
  EXPECT_THROW(LoadBitmapFromBmpFile(Folder.Path("missing.bmp"), B), EInvalidGraphic);
}

} // namespace
