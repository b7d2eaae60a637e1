#include "extensions/XDataImage.h"
#include "extensions/LayerExchangeFile.h"
#include "files/MyPngImage.h"
#include "files/ReadLimits.h"
#include "raster/Bitmap24.h"
#include "raster/Transparency.h"
#include "support/ImageCompare.h"
#include "support/Pixels.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace {

using TBytes = std::vector<uint8_t>;

TBitmap* Random24(TBitmap& B, int W, int H, unsigned Seed) {
  B.SetPixelFormat(pf24bit);
  B.SetSize(W, H);
  FillRandom(B, Seed);
  return &B;
}

// A grey mask whose value steps along the pixels.
void StepMask(TBitmap& M, int W, int H) {
  M.SetPixelFormat(pf24bit);
  M.SetSize(W, H);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) SetPx(M, X, Y, Grey((X * 37 + Y * 91) % 256));
}

TBytes BlockBytes(const TXDataImage& Block) { return TBytes(Block.XData(), Block.XData() + Block.XSize()); }

// A block with the given header and pixel bytes, then Extra.
TBytes MakeBlock(uint8_t Kind, uint8_t Alpha, int W, int H, const TBytes& Extra, int64_t PixelBytes = -1) {
  TBytes B{Kind, Alpha, uint8_t(W), uint8_t(W >> 8), uint8_t(H), uint8_t(H >> 8)};
  if (PixelBytes < 0) PixelBytes = int64_t(W) * H * (Alpha == 1 ? 4 : 3);
  for (int64_t I = 0; I < PixelBytes; ++I) B.push_back(uint8_t(I * 7));
  B.insert(B.end(), Extra.begin(), Extra.end());
  return B;
}

TEST(XDataImageTest, BlockSizesAndLayoutFollowTheBitmapAndItsMask) {
  TBitmap B, M, Empty;
  Random24(B, 3, 2, 1);
  StepMask(M, 3, 2);
  TXDataImage Plain, Masked, EmptyMask;
  ASSERT_TRUE(Plain.Assign(&B));
  ASSERT_TRUE(Masked.Assign(&B, &M));
  ASSERT_TRUE(EmptyMask.Assign(&B, &Empty));
  EXPECT_EQ(Plain.XSize(), 24);
  EXPECT_EQ(Masked.XSize(), 30);
  EXPECT_EQ(EmptyMask.XSize(), 24); // an empty mask means no alpha
  EXPECT_FALSE(Plain.HasAlpha());
  EXPECT_TRUE(Masked.HasAlpha());
  const TBytes Bytes = BlockBytes(Masked);
  EXPECT_EQ(TBytes(Bytes.begin(), Bytes.begin() + 6), (TBytes{0, 1, 3, 0, 2, 0}));
  // Second row, third pixel: blue, green, red, then 255 - mask.
  const uint8_t* P = Bytes.data() + 6 + (1 * 3 + 2) * 4;
  const TRGB C = Px(B, 2, 1);
  EXPECT_EQ(TBytes(P, P + 4), (TBytes{C.Blue, C.Green, C.Red, uint8_t(255 - Px(M, 2, 1).Blue)}));
  EXPECT_EQ(Masked.ExtraPtr(), nullptr);
}

TEST(XDataImageTest, RoundTripsGiveThePixelsBack) {
  TBitmap B, M;
  Random24(B, 17, 9, 2);
  StepMask(M, 17, 9);

  TXDataImage Plain;
  ASSERT_TRUE(Plain.Assign(&B));
  TBitmap Back, BackMask;
  StepMask(BackMask, 2, 2);
  ASSERT_TRUE(Plain.AssignTo(Back, &BackMask));
  EXPECT_IMAGES_MATCH(Back, B);
  EXPECT_TRUE(BackMask.Empty()); // a block without alpha empties the mask

  TXDataImage Masked;
  ASSERT_TRUE(Masked.Assign(&B, &M));
  ASSERT_TRUE(Masked.AssignTo(Back, &BackMask));
  EXPECT_IMAGES_MATCH(Back, B);
  EXPECT_IMAGES_MATCH(BackMask, M);

  // Without a mask the alpha stays in a 32-bit bitmap, and goes back as is.
  TBitmap B32;
  ASSERT_TRUE(Masked.AssignTo(B32));
  ASSERT_EQ(B32.PixelFormat(), pf32bit);
  EXPECT_EQ(B32.ScanLine(3)[4 * 5 + 3], 255 - Px(M, 5, 3).Blue);
  TXDataImage From32;
  ASSERT_TRUE(From32.Assign(&B32));
  EXPECT_EQ(BlockBytes(From32), BlockBytes(Masked));

  // A paletted bitmap travels as its 24-bit colours.
  TBitmap P8;
  P8.Assign(B);
  P8.SetPixelFormat(pf8bit);
  TBitmap P8As24;
  P8As24.Assign(P8);
  P8As24.SetPixelFormat(pf24bit);
  TXDataImage FromP8;
  ASSERT_TRUE(FromP8.Assign(&P8));
  ASSERT_TRUE(FromP8.AssignTo(Back));
  EXPECT_IMAGES_MATCH(Back, P8As24);
}

TEST(XDataImageTest, DecodingIntoARectangleWritesOnlyThere) {
  TBitmap Small, Target, Expected;
  Random24(Small, 4, 3, 3);
  Random24(Target, 10, 8, 4);
  Expected.Assign(Target);
  CopyBitmap24(Small, Expected, 5, 2);
  TXDataImage Block;
  ASSERT_TRUE(Block.Assign(&Small));
  ASSERT_TRUE(Block.AssignTo(Target, nullptr, Bounds(5, 2, 4, 3)));
  EXPECT_IMAGES_MATCH(Target, Expected);
}

// Every block or target below is refused and leaves the targets untouched.
struct TRefusedCase {
  const char* Name;
  TBytes Block;
  TRect R;
  bool TargetHasMask;
  bool Target32 = false;
};

TEST(XDataImageTest, MalformedBlocksAndMismatchedTargetsChangeNothing) {
  const TRefusedCase Cases[] = {
      {"kind not 0", MakeBlock(1, 0, 2, 2, {}), Bounds(0, 0, 2, 2), false},
      {"header cut short", TBytes{0, 0, 2, 0}, Bounds(0, 0, 2, 2), false},
      {"pixels cut short", MakeBlock(0, 0, 2, 2, {}, 11), Bounds(0, 0, 2, 2), false},
      {"huge size, few bytes", MakeBlock(0, 1, 65535, 65535, {}, 40), Bounds(0, 0, 2, 2), false},
      {"alpha where none is expected", MakeBlock(0, 1, 2, 2, {}), Bounds(0, 0, 2, 2), false},
      {"no alpha where a mask waits", MakeBlock(0, 0, 2, 2, {}), Bounds(0, 0, 2, 2), true},
      {"rectangle of another size", MakeBlock(0, 0, 2, 2, {}), Bounds(0, 0, 3, 2), false},
      {"rectangle past the bitmap", MakeBlock(0, 0, 2, 2, {}), Bounds(3, 3, 2, 2), false},
      {"rectangle left of the bitmap", MakeBlock(0, 0, 2, 2, {}), Bounds(-1, 0, 2, 2), false},
      // 3-byte pixels are not read 4 at a time into a 32-bit bitmap.
      {"3-byte pixels into 32 bits beside an empty mask", MakeBlock(0, 0, 2, 2, {}), Bounds(0, 0, 2, 2), false, true},
  };
  for (const TRefusedCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    TBitmap Target, Before, Mask, MaskBefore;
    Random24(Target, 4, 4, 5);
    if (Case.Target32) Target.SetPixelFormat(pf32bit);
    Before.Assign(Target);
    if (Case.TargetHasMask) StepMask(Mask, 4, 4);
    MaskBefore.Assign(Mask);
    const TXDataImage Block(Case.Block.data(), int64_t(Case.Block.size()));
    EXPECT_FALSE(Block.AssignTo(Target, &Mask, Case.R));
    EXPECT_IMAGES_MATCH(Target, Before);
    EXPECT_IMAGES_MATCH(Mask, MaskBefore);
    // The whole-bitmap decoding refuses every malformed block too, before it
    // sizes anything.
    if (!Block.Valid()) {
      EXPECT_FALSE(Block.AssignTo(Target, &Mask));
      EXPECT_IMAGES_MATCH(Target, Before);
      EXPECT_EQ(Block.ExtraSize(), 0);
    }
  }
}

TEST(XDataImageTest, AViewerFindsTheExtrasPastThePixels) {
  // String "Nuit é" (Windows-1252), integer 7200, empty string, then a string
  // whose length runs past the end.
  const TBytes Extra{6, 0, 'N', 'u', 'i', 't', ' ', 0xE9, 0x20, 0x1C, 0, 0, 0, 0, 9, 0, 'x'};
  const TBytes Bytes = MakeBlock(0, 0, 2, 1, Extra);
  const TXDataImage Block(Bytes.data(), int64_t(Bytes.size()));
  ASSERT_EQ(Block.ExtraSize(), int64_t(Extra.size()));
  ASSERT_EQ(Block.ExtraPtr(), Bytes.data() + 12);
  int64_t Position = 0;
  EXPECT_EQ(Block.ReadXDataString(Position), QString::fromUtf8("Nuit é"));
  EXPECT_EQ(Block.ReadXDataInt(Position), 7200);
  EXPECT_EQ(Block.ReadXDataString(Position), QString());
  EXPECT_EQ(Position, 14);
  EXPECT_EQ(Block.ReadXDataString(Position), QString()); // 9 bytes claimed, 1 there
  EXPECT_EQ(Position, Block.ExtraSize());
  EXPECT_EQ(Block.ReadXDataInt(Position), 0);

  // A block of exactly its pixel size has no extras: readers give defaults.
  const TBytes Bare = MakeBlock(0, 0, 2, 1, {});
  const TXDataImage NoExtra(Bare.data(), int64_t(Bare.size()));
  Position = 0;
  EXPECT_EQ(NoExtra.ExtraSize(), 0);
  EXPECT_EQ(NoExtra.ExtraPtr(), nullptr);
  EXPECT_EQ(NoExtra.ReadXDataInt(Position), 0);
}

TEST(XDataImageTest, AnOwnedBlockCarriesTheColoursItsExtrasAreWrittenWith) {
  TBitmap B;
  Random24(B, 2, 2, 6);
  TXDataImage Block;
  ASSERT_TRUE(Block.SetExtraSize(6));
  ASSERT_TRUE(Block.Assign(&B));
  EXPECT_FALSE(Block.SetExtraSize(8)); // only before a block exists
  int64_t Position = 0;
  EXPECT_TRUE(Block.WriteXDataColor(Position, 0x00336699)); // red 0x99, green 0x66, blue 0x33
  EXPECT_TRUE(Block.WriteXDataColor(Position, clWhite));
  EXPECT_FALSE(Block.WriteXDataColor(Position, clBlack)); // no room left
  EXPECT_EQ(Block.XSize(), 6 + 12 + 6);
  const uint8_t* E = Block.ExtraPtr();
  EXPECT_EQ(TBytes(E, E + 6), (TBytes{0x99, 0x66, 0x33, 255, 255, 255}));
  EXPECT_FALSE(TXDataImage().SetExtraSize(0));
}

TEST(XDataImageTest, BitmapsTheLayoutCannotCarryAreRefused) {
  TBitmap Wide(65536, 1), Fits(65535, 1), B, OtherSize;
  TXDataImage Block;
  EXPECT_FALSE(Block.Assign(&Wide));
  EXPECT_EQ(Block.XData(), nullptr);
  EXPECT_TRUE(Block.Assign(&Fits));
  EXPECT_EQ(Block.Width(), 65535);
  Random24(B, 3, 3, 7);
  StepMask(OtherSize, 2, 3);
  EXPECT_FALSE(Block.Assign(&B, &OtherSize));
  EXPECT_FALSE(Block.Assign(nullptr));
  EXPECT_EQ(Block.XSize(), 0);
  const TBytes Bytes = MakeBlock(0, 0, 1, 1, {});
  TXDataImage Viewer(Bytes.data(), int64_t(Bytes.size()));
  EXPECT_FALSE(Viewer.Assign(&B)); // a viewer never allocates
  EXPECT_EQ(Viewer.XData(), Bytes.data());
}

class LayerExchangeFileTest : public ::testing::Test {
protected:
  void SetUp() override {
    OldTmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", Dir.path().toLocal8Bit());
  }
  void TearDown() override {
    QFile::remove(DefaultLayerExchangeFileName());
    qputenv("TMPDIR", OldTmp);
  }
  QTemporaryDir Dir;
  QByteArray OldTmp;
};

TEST_F(LayerExchangeFileTest, ThePngTravelsWithItsAlphaAndThePathFollowsTheLastSave) {
  TBitmap B, M, B32;
  Random24(B, 6, 5, 8);
  StepMask(M, 6, 5);
  SetPx(M, 0, 0, Grey(255)); // fully clear somewhere keeps the alpha partial
  TPngImage Png;
  BitmapMaskToPng(B, M, Png, false);
  EXPECT_EQ(DefaultLayerExchangeFileName(), Dir.path() + "/Lumaretique_Layer.png");
  ASSERT_TRUE(SaveLayerExchangeFile(Png, QString()));
  ASSERT_TRUE(LoadLayerExchangeFile(B32, QString()));
  ASSERT_EQ(B32.PixelFormat(), pf32bit);
  TBitmap Colours, Alpha;
  Bitmap32ToBitmapMask(B32, Colours, Alpha);
  EXPECT_IMAGES_MATCH(Alpha, M);
  EXPECT_EQ(Px(Colours, 3, 2), Px(B, 3, 2));

  const QString Other = Dir.path() + "/other.png";
  ASSERT_TRUE(SaveLayerExchangeFile(Png, Other));
  EXPECT_EQ(LayerExchangeFileName(), Other);
  DeleteLayerExchangeFile();
  EXPECT_FALSE(QFileInfo::exists(Other));
  EXPECT_TRUE(QFileInfo::exists(DefaultLayerExchangeFileName())); // only the current one goes
  DeleteLayerExchangeFile();                                      // nothing there: nothing happens
  ASSERT_TRUE(SaveLayerExchangeFile(Png, QString()));             // an empty path brings the default back
  EXPECT_EQ(LayerExchangeFileName(), DefaultLayerExchangeFileName());
}

TEST_F(LayerExchangeFileTest, AMissingFileIsFalseAndABrokenOneAnErrorNamingIt) {
  TBitmap B(3, 3);
  EXPECT_FALSE(LoadLayerExchangeFile(B, QString()));
  EXPECT_EQ(B.Width(), 3); // untouched
  QFile Broken(DefaultLayerExchangeFileName());
  ASSERT_TRUE(Broken.open(QIODevice::WriteOnly));
  static const char Header[] = "\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\xff\xff\0\0\xff\xff\x08\x06";
  Broken.write(Header, sizeof Header - 1); // cut in its header
  Broken.close();
  try {
    LoadLayerExchangeFile(B, QString());
    ADD_FAILURE() << "a broken file loaded";
  } catch (const EInvalidGraphic& E) {
    EXPECT_NE(QString::fromUtf8(E.what()).indexOf("Lumaretique_Layer.png"), -1) << E.what();
  }
}

TEST(PasteResultBitmapTest, ColoursGoAtTheRectangleAndAlphaIntoTheMaskClippedToTheLayer) {
  TBitmap Layer, Mask, R24, R32;
  Random24(Layer, 8, 6, 9);
  StepMask(Mask, 8, 6);
  Random24(R24, 3, 2, 10);
  TBitmap Expected;
  Expected.Assign(Layer);
  CopyBitmap24(R24, Expected, 6, 5);
  TBitmap MaskBefore;
  MaskBefore.Assign(Mask);
  PasteResultBitmap(R24, Layer, &Mask, Rect(6, 5, 9, 7)); // runs past the corner
  EXPECT_IMAGES_MATCH(Layer, Expected);
  EXPECT_IMAGES_MATCH(Mask, MaskBefore); // a result without alpha leaves the mask

  R32.SetPixelFormat(pf32bit);
  R32.SetSize(3, 2);
  for (int Y = 0; Y < 2; ++Y)
    for (int X = 0; X < 3; ++X) {
      uint8_t* P = R32.ScanLine(Y) + 4 * X;
      P[0] = uint8_t(10 * X), P[1] = uint8_t(20 * Y), P[2] = 200, P[3] = uint8_t(40 * X + Y);
    }
  PasteResultBitmap(R32, Layer, &Mask, Rect(-1, 4, 2, 6));
  EXPECT_EQ(Px(Layer, 0, 4), Rgb(200, 0, 10));
  EXPECT_EQ(Px(Layer, 1, 5), Rgb(200, 20, 20));
  EXPECT_EQ(Px(Mask, 1, 5), Grey(255 - 81));
  EXPECT_EQ(Px(Mask, 2, 5), Px(MaskBefore, 2, 5));
}

} // namespace
