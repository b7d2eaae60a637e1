// The FreeImage bitmaps: every format the library writes saves and reloads
// the same pixels, files written by other programs load as they decode them,
// high-range images are tone mapped (or only scaled for TIFF), depths,
// resolutions and metadata travel, and files over the limits are refused
// before the library decodes them.
#include "FreeImageTestSupport.h"

#include "files/BmpFile.h"
#include "files/FreeBitmap.h"
#include "files/FreeImageProbe.h"
#include "files/FreeMetadata.h"
#include "files/MyPngImage.h"
#include "files/ReadLimits.h"
#include "platform/SafeFile.h"
#include "support/ChildCost.h"
#include "support/ImageCompare.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>

namespace {

class FreeBitmapTest : public ::testing::Test {
protected:
  void SetUp() override {
    if (!EnsureFreeImage()) GTEST_SKIP() << "no Plugins_64/FreeImage_64.lml beside the test program";
  }
  TTestFolder Folder;
};

// A 32-bit copy with an alpha ramp that never reaches 0: WebP's lossless
// coder may change the colour of fully clear pixels.
PBitmap WithVisibleAlpha(const TBitmap& Bitmap) {
  PBitmap B = WithAlphaRamp(Bitmap);
  for (int Y = 0; Y < B->Height(); ++Y)
    for (int X = 0; X < B->Width(); ++X) B->ScanLine(Y)[4 * X + 3] |= 1;
  return B;
}

// Eight colours in vertical stripes, for formats whose writers keep few colours.
PBitmap StripeImage(int Width, int Height) {
  static const uint8_t Colors[8][3] = {{0, 0, 0},     {255, 0, 0},   {0, 255, 0},    {0, 0, 255},
                                       {255, 255, 0}, {0, 255, 255}, {128, 64, 200}, {255, 255, 255}};
  auto B = std::make_unique<TBitmap>(Width, Height, pf24bit, clBlack);
  for (int Y = 0; Y < Height; ++Y)
    for (int X = 0; X < Width; ++X) std::memcpy(B->ScanLine(Y) + 3 * X, Colors[(X / 3 + Y / 5) % 8], 3);
  return B;
}

void WritePng(const TBitmap& Bitmap, const QString& FileName) {
  TMyPngImage Png;
  Png.Assign(Bitmap);
  Png.SaveToFile(FileName);
}

uint32_t Le32(const std::vector<uint8_t>& B, size_t At) {
  return uint32_t(B[At]) | uint32_t(B[At + 1]) << 8 | uint32_t(B[At + 2]) << 16 | uint32_t(B[At + 3]) << 24;
}
uint16_t Le16(const std::vector<uint8_t>& B, size_t At) { return uint16_t(B[At] | B[At + 1] << 8); }

// A 16-bit-per-channel PPM of known samples: 16 x 2 pixels, red rising,
// green falling, blue a second ramp.
std::vector<uint16_t> Samples16() {
  std::vector<uint16_t> S;
  for (int I = 0; I < 32; ++I) {
    S.push_back(uint16_t(I * 2113));
    S.push_back(uint16_t(65535 - I * 1999));
    S.push_back(uint16_t((I * 4099) % 65536));
  }
  return S;
}

void WritePpm16(const QString& FileName) {
  std::vector<uint8_t> Bytes;
  for (char C : std::string("P6\n16 2\n65535\n")) Bytes.push_back(uint8_t(C));
  for (uint16_t V : Samples16()) {
    Bytes.push_back(uint8_t(V >> 8));
    Bytes.push_back(uint8_t(V & 0xFF));
  }
  WriteBytes(FileName, Bytes);
}

// The filmic curve, written out here as a reference.
double Filmic(double X) {
  if (X <= 0.004) return 0;
  const double A = (X - 0.004) * 1.3;
  return A * (6.2 * A + 0.5) / (A * (6.2 * A + 1.7) + 0.06);
}

uint8_t ByteOf(double V) { return uint8_t(std::clamp(std::nearbyint(V * 255), 0.0, 255.0)); }

// The samples as the 16 x 2 bitmap of bytes Map gives each (sample / 65535).
PBitmap FromSamples(const std::function<uint8_t(double)>& Map) {
  auto Result = std::make_unique<TBitmap>(16, 2, pf24bit, clBlack);
  TBitmap& B = *Result;
  const std::vector<uint16_t> S = Samples16();
  for (int I = 0; I < 32; ++I) {
    uint8_t* P = B.ScanLine(I / 16) + 3 * (I % 16);
    P[2] = Map(S[size_t(3 * I)] / 65535.0);
    P[1] = Map(S[size_t(3 * I + 1)] / 65535.0);
    P[0] = Map(S[size_t(3 * I + 2)] / 65535.0);
  }
  return Result;
}

// ---- Saving and reloading --------------------------------------------------------------

struct TWritable {
  const char* Name;
  int Flag;
  bool Alpha; // also written with an alpha channel
  // ImageMagick decodes it as written: opaque, with alpha. Its TGA reader
  // leaves bottom-up files upside down, and its PSD reader takes no alpha
  // from a file without layers.
  bool MagickOpaque, MagickAlpha;
};

TEST_F(FreeBitmapTest, WritableFormatsSaveAndReloadTheSamePixels) {
  const TWritable Cases[] = {
      {"a.tif", 0, true, true, true},
      {"a.tga", 0, true, false, false},
      {"rle.tga", TargaSaveRle, true, false, false},
      {"a.webp", WebpLossless, true, true, true},
      {"a.jp2", 1, true, true, true},
      {"a.j2k", 1, false, true, false},
      {"a.psd", 0, true, true, false},
      {"a.ppm", 0, false, true, false},
      {"a.xpm", 0, false, true, false},
      {"a.png", 0, true, true, true},
      {"a.bmp", 0, false, true, false},
  };
  const PBitmap Image = SmoothImage(61, 37);
  const PBitmap Alpha = WithVisibleAlpha(*Image);
  for (const TWritable& C : Cases) {
    for (bool WithAlpha : {false, true}) {
      if (WithAlpha && !C.Alpha) continue;
      SCOPED_TRACE(std::string(C.Name) + (WithAlpha ? " with alpha" : ""));
      const TBitmap& Source = WithAlpha ? *Alpha : *Image;
      const QString Name = Folder.Path((WithAlpha ? "alpha-" : "") + QString(C.Name));
      SaveThroughFreeImage(Source, Name, nullptr, C.Flag);
      TFreeExtraData Extra;
      const PBitmap Back = LoadThroughFreeImage(Name, &Extra);
      ASSERT_EQ(Back->PixelFormat(), WithAlpha ? pf32bit : pf24bit);
      EXPECT_IMAGES_MATCH(*Back, Source);
      EXPECT_EQ(Extra.HasAlpha, WithAlpha);
      // Another decoder sees the same: no error cancels out between our
      // writer and our reader.
      if ((WithAlpha ? C.MagickAlpha : C.MagickOpaque) && HasImageMagick()) {
        EXPECT_IMAGES_MATCH(*MagickDecode(Name, WithAlpha), Source);
      }
    }
  }
}

TEST_F(FreeBitmapTest, ReadsFilesOtherProgramsWrote) {
  if (!HasImageMagick()) GTEST_SKIP() << "ImageMagick is not installed";
  const PBitmap Image = SmoothImage(45, 29);
  const PBitmap Stripes = StripeImage(45, 29);
  const QString Source = Folder.Path("source.png"), StripeSource = Folder.Path("stripes.png");
  WritePng(*Image, Source);
  WritePng(*Stripes, StripeSource);
  struct TCase {
    const char* Name;
    QStringList Options;
    bool FewColours;
  };
  const TCase Cases[] = {
      {"a.tif", {}, false},
      {"a.tga", {"-orient", "TopLeft"}, false},
      {"a.webp", {"-define", "webp:lossless=true"}, false},
      {"a.jp2", {"-quality", "0"}, false},
      {"a.psd", {}, false},
      {"a.ppm", {}, false},
      {"a.sgi", {}, false},
      {"a.pcx", {}, false},
      {"a.ras", {}, false},
      {"a.dds", {"-define", "dds:compression=none"}, false},
      {"a.xpm", {}, true},
      {"a.gif", {}, true},
      {"a.pcx", {"-type", "Palette"}, true},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    const QString Name = Folder.Path(C.Name);
    ASSERT_TRUE(Convert(QStringList{C.FewColours ? StripeSource : Source} + C.Options + QStringList{Name}));
    const PBitmap Back = LoadThroughFreeImage(Name);
    EXPECT_IMAGES_MATCH(*Back, C.FewColours ? *Stripes : *Image);
  }
}

// This build of the library lists JPEG XR but may decode none of it: a file
// it cannot read is refused cleanly, one it can read loads the same pixels.
TEST_F(FreeBitmapTest, JpegXrLoadsOrIsRefusedCleanly) {
  const QString Encoder = QStandardPaths::findExecutable("JxrEncApp");
  if (Encoder.isEmpty()) GTEST_SKIP() << "no JPEG XR encoder (libjxr-tools)";
  const PBitmap Image = SmoothImage(40, 24);
  const QString Bmp = Folder.Path("source.bmp"), Jxr = Folder.Path("a.jxr");
  SaveBitmapToBmpFile(Bmp, *Image, 0);
  QProcess P;
  P.start(Encoder, {"-i", Bmp, "-o", Jxr, "-q", "1"});
  ASSERT_TRUE(P.waitForFinished(60000) && P.exitCode() == 0);
  EXPECT_EQ(GetFileFif(Jxr), fifJxr);
  TFiBitmap* Direct = FreeImageApi().Load(fifJxr, FreeImageFilePath(Jxr).constData(), 0);
  if (Direct) {
    FreeImageApi().Unload(Direct);
    EXPECT_IMAGES_MATCH(*LoadThroughFreeImage(Jxr), *Image);
  } else {
    EXPECT_THROW(LoadThroughFreeImage(Jxr), EInvalidGraphic);
  }
}

// ---- High range ------------------------------------------------------------------------

TEST_F(FreeBitmapTest, SixteenBitPngIsToneMappedAndTiffOnlyScaled) {
  if (!HasImageMagick()) GTEST_SKIP() << "ImageMagick is not installed";
  const QString Ppm = Folder.Path("source.ppm"), Png = Folder.Path("a.png"), Tif = Folder.Path("a.tif");
  WritePpm16(Ppm);
  ASSERT_TRUE(Convert({Ppm, "-depth", "16", Png}));
  ASSERT_TRUE(Convert({Ppm, "-depth", "16", Tif}));

  const PBitmap Linear = FromSamples([](double X) { return ByteOf(X); });
  // Filmic per channel, then the range stretched to 0..1 over all channels.
  double Lo = 1e9, Hi = -1e9;
  for (uint16_t V : Samples16()) {
    Lo = std::min(Lo, Filmic(V / 65535.0));
    Hi = std::max(Hi, Filmic(V / 65535.0));
  }
  const PBitmap ToneMapped = FromSamples([Lo, Hi](double X) { return ByteOf((Filmic(X) - Lo) / (Hi - Lo)); });

  TFreeExtraData TifExtra;
  EXPECT_IMAGES_MATCH(*LoadThroughFreeImage(Tif, &TifExtra), *Linear);
  EXPECT_EQ(TifExtra.BitsPerPixel, 48);
  EXPECT_EQ(TifExtra.ToneMapFlag, 2); // still linear

  TFreeExtraData PngExtra;
  EXPECT_IMAGES_MATCH(*LoadThroughFreeImage(Png, &PngExtra), *ToneMapped, 1);
  EXPECT_EQ(PngExtra.BitsPerPixel, 48);
  EXPECT_EQ(PngExtra.ToneMapFlag, 0);

  AutoToneMap = false;
  const PBitmap Clipped = LoadThroughFreeImage(Png);
  AutoToneMap = true;
  EXPECT_IMAGES_MATCH(*Clipped, *Linear);
}

TEST_F(FreeBitmapTest, SixteenBitAlphaCountsOnlyWhenUsed) {
  if (!HasImageMagick()) GTEST_SKIP() << "ImageMagick is not installed";
  const QString Ppm = Folder.Path("source.ppm");
  WritePpm16(Ppm);
  const QString Opaque = Folder.Path("opaque.png"), Half = Folder.Path("half.png");
  ASSERT_TRUE(Convert({Ppm, "-depth", "16", "-alpha", "opaque", "PNG64:" + Opaque}));
  ASSERT_TRUE(Convert(
      {Ppm, "-depth", "16", "-alpha", "set", "-channel", "A", "-evaluate", "set", "50%", "+channel", "PNG64:" + Half}));
  TFreeExtraData Extra;
  EXPECT_EQ(LoadThroughFreeImage(Opaque, &Extra)->PixelFormat(), pf24bit);
  EXPECT_EQ(Extra.BitsPerPixel, 64);
  EXPECT_FALSE(Extra.HasAlpha);

  const PBitmap WithAlpha = LoadThroughFreeImage(Half, &Extra);
  ASSERT_EQ(WithAlpha->PixelFormat(), pf32bit);
  EXPECT_TRUE(Extra.HasAlpha);
  EXPECT_NEAR(WithAlpha->ScanLine(1)[4 * 7 + 3], 128, 1);
}

TEST_F(FreeBitmapTest, SixteenBitGreyIsRefused) {
  if (!HasImageMagick()) GTEST_SKIP() << "ImageMagick is not installed";
  const QString Ppm = Folder.Path("source.ppm"), Grey = Folder.Path("grey.png");
  WritePpm16(Ppm);
  ASSERT_TRUE(Convert({Ppm, "-colorspace", "Gray", "-depth", "16", "-define", "png:color-type=0", Grey}));
  EXPECT_THROW(LoadThroughFreeImage(Grey), EInvalidGraphic);
}

TEST_F(FreeBitmapTest, FloatImagesGoThroughTheFloatImage) {
  TBmpFree Dib(fitFloat, 3, 2, 32);
  ASSERT_TRUE(Dib.IsValid());
  const float Values[2][3] = {{0.0f, 0.5f, 2.0f}, {0.25f, 1.0f, -1.0f}}; // scan line 0 is the bottom row
  for (int S = 0; S < 2; ++S) std::memcpy(Dib.GetScanLine(S), Values[S], sizeof Values[S]);
  EXPECT_EQ(Dib.GetScanLine(2), nullptr);
  EXPECT_EQ(Dib.GetScanLine(-1), nullptr);
  THdrImage Hdr;
  TFreeExtraData Extra;
  ASSERT_TRUE(LoadIntoHdr(Dib, Hdr, Extra));
  EXPECT_EQ(Extra.ToneMapFlag, 1);
  EXPECT_EQ(Extra.BitsPerPixel, 32);
  EXPECT_EQ(Hdr.Pixels(0)[2], (TPixelHdr{-1, -1, -1, 1}));
  EXPECT_EQ(Hdr.Pixels(1)[1], (TPixelHdr{0.5f, 0.5f, 0.5f, 1}));

  // Eight-bit pixels are read as bytes / 255, opaque.
  TBmpFree Rgb(fitBitmap, 1, 1, 24);
  const uint8_t Bgr[3] = {0, 51, 255};
  std::memcpy(Rgb.GetScanLine(0), Bgr, 3);
  ASSERT_TRUE(LoadIntoHdr(Rgb, Hdr, Extra));
  EXPECT_EQ(Extra.ToneMapFlag, 0);
  EXPECT_EQ(Hdr.Pixels(0)[0], (TPixelHdr{0, 0.2f, 1, 1}));

  TBmpFree Grey(fitUInt16, 3, 2, 16);
  EXPECT_FALSE(LoadIntoHdr(Grey, Hdr, Extra));
  EXPECT_TRUE(Hdr.Empty());
}

// ---- Depths --------------------------------------------------------------------------------

TEST_F(FreeBitmapTest, PaletteImagesLoadAsDirectColour) {
  // One bit, no transparency: 24 bits, the file's depth reported.
  TBitmap Mono(16, 8, pf1bit, clBlack);
  for (int Y = 0; Y < 8; ++Y) Mono.ScanLine(Y)[0] = 0xA5;
  SaveBitmapToBmpFile(Folder.Path("mono.bmp"), Mono, 0);
  TFreeExtraData Extra;
  const PBitmap Back = LoadThroughFreeImage(Folder.Path("mono.bmp"), &Extra);
  EXPECT_EQ(Back->PixelFormat(), pf24bit);
  EXPECT_EQ(Extra.BitsPerPixel, 1);
  TBitmap Expected;
  Expected.Assign(Mono);
  Expected.SetPixelFormat(pf24bit);
  EXPECT_IMAGES_MATCH(*Back, Expected);

  // A transparent palette entry: 32 bits.
  TBitmap Indexed;
  Indexed.Assign(*StripeImage(12, 6));
  Indexed.SetPixelFormat(pf8bit);
  Indexed.Transparent = true;
  Indexed.SetTransparentColor(clRed);
  WritePng(Indexed, Folder.Path("indexed.png"));
  const PBitmap Clear = LoadThroughFreeImage(Folder.Path("indexed.png"), &Extra);
  ASSERT_EQ(Clear->PixelFormat(), pf32bit);
  EXPECT_EQ(Extra.BitsPerPixel, 32);
  EXPECT_TRUE(Extra.HasAlpha);
  EXPECT_EQ(Clear->ScanLine(0)[9 * 4 + 3], 0);   // column 9: the red stripe
  EXPECT_EQ(Clear->ScanLine(0)[0 * 4 + 3], 255); // black
  EXPECT_EQ(Clear->ScanLine(0)[3 * 4 + 3], 255); // blue
}

TEST_F(FreeBitmapTest, SaveDepthsQuantiseAsAsked) {
  const PBitmap Image = SmoothImage(33, 21);
  struct TCase {
    const char* Name;
    uint8_t Bits;
    uint16_t FileBits;
    size_t MaxColours;
  };
  for (const TCase& C : {TCase{"q8.bmp", 8, 8, 256}, TCase{"q4.bmp", 4, 8, 16}, TCase{"q1.bmp", 1, 1, 2}}) {
    SCOPED_TRACE(C.Name);
    TFreeExtraData Extra;
    Extra.BitsPerPixel = C.Bits;
    SaveThroughFreeImage(*Image, Folder.Path(C.Name), &Extra);
    const std::vector<uint8_t> File = ReadBytes(Folder.Path(C.Name));
    ASSERT_GT(File.size(), 54u);
    EXPECT_EQ(Le16(File, 28), C.FileBits);
    const PBitmap Back = LoadThroughFreeImage(Folder.Path(C.Name));
    std::set<uint32_t> Colours;
    for (int Y = 0; Y < Back->Height(); ++Y)
      for (int X = 0; X < Back->Width(); ++X) Colours.insert(Back->PixelColor(X, Y));
    EXPECT_LE(Colours.size(), C.MaxColours);
    EXPECT_GT(Colours.size(), 1u);
  }

  // An 8-bit bitmap keeps its depth and its colours exactly.
  TBitmap Indexed;
  Indexed.Assign(*StripeImage(33, 21));
  Indexed.SetPixelFormat(pf8bit);
  SaveThroughFreeImage(Indexed, Folder.Path("own8.bmp"));
  EXPECT_EQ(Le16(ReadBytes(Folder.Path("own8.bmp")), 28), 8);
  EXPECT_IMAGES_MATCH(*LoadThroughFreeImage(Folder.Path("own8.bmp")), *To24(Indexed));

  // A ".rle" name writes an 8-bit run-length BMP whose header sizes are
  // those of the file (the library leaves them wrong).
  SaveThroughFreeImage(*StripeImage(33, 21), Folder.Path("a.rle"));
  const std::vector<uint8_t> Rle = ReadBytes(Folder.Path("a.rle"));
  ASSERT_GT(Rle.size(), 54u);
  EXPECT_EQ(Rle[0], 'B');
  EXPECT_EQ(Le16(Rle, 28), 8);
  EXPECT_EQ(Le32(Rle, 30), 1u); // BI_RLE8
  EXPECT_EQ(Le32(Rle, 2), Rle.size());
  EXPECT_EQ(Le32(Rle, 34), Rle.size() - Le32(Rle, 10));
  TBitmap RleBack;
  LoadBitmapFromBmpFile(Folder.Path("a.rle"), RleBack);
  EXPECT_IMAGES_MATCH(*To24(RleBack), *StripeImage(33, 21));
  if (HasImageMagick()) {
    EXPECT_EQ(Identify(Folder.Path("a.rle"), "%w %h"), "33 21");
  }
}

// ---- Resolution and metadata ---------------------------------------------------------------

TEST_F(FreeBitmapTest, ResolutionInDotsPerMetre) {
  const QString Name = Folder.Path("res.bmp");
  SaveBitmapToBmpFile(Name, *SmoothImage(8, 8), 0);
  std::vector<uint8_t> File = ReadBytes(Name);
  for (size_t At : {38u, 42u}) {
    File[At] = 2835 & 0xFF;
    File[At + 1] = 2835 >> 8;
  }
  WriteBytes(Name, File);
  TFreeExtraData Extra;
  LoadThroughFreeImage(Name, &Extra);
  EXPECT_EQ(Extra.ResolutionX, 72.0f);
  EXPECT_EQ(Extra.ResolutionY, 72.0f);

  TFreeExtraData Save;
  Save.ResolutionX = 96;
  Save.ResolutionY = 300;
  SaveThroughFreeImage(*SmoothImage(8, 8), Folder.Path("out.bmp"), &Save);
  const std::vector<uint8_t> Out = ReadBytes(Folder.Path("out.bmp"));
  EXPECT_EQ(Le32(Out, 38), 3780u);
  EXPECT_EQ(Le32(Out, 42), 11811u);

  TBmpFree Dib(fitBitmap, 2, 2, 24);
  Dib.SetHorizontalResolution(28.35);
  EXPECT_DOUBLE_EQ(Dib.GetHorizontalResolution(), 28.35);
}

TEST_F(FreeBitmapTest, ExifSurvivesAJpegRoundTrip) {
  const std::string OldMake = ExifMake;
  ExifMake = "LumaTest";
  TMetadata List;
  AddDefaultExif(List, 640, 480, 300, 300);
  ExifMake = OldMake;
  SetMetadataComment(List, "Bonjour");
  const int Raw = FirstTagOfModel(List, fmdExifRaw);
  ASSERT_GE(Raw, 0);
  const TFreeTagData RawBefore = List[Raw].Data;

  TFreeExtraData Save;
  Save.Metadata = List;
  Save.ResolutionX = Save.ResolutionY = 300;
  const QString Name = Folder.Path("exif.jpg");
  SaveThroughFreeImage(*SmoothImage(61, 37), Name, &Save);
  // The block was patched for this image, in the document's list too.
  EXPECT_NE(List[Raw].Data, RawBefore);

  TFreeExtraData Extra;
  LoadThroughFreeImage(Name, &Extra);
  const TMetadata& Read = Extra.Metadata;
  const int Make = FindTag(Read, fmdExifMain, etMake);
  ASSERT_GE(Make, 0);
  EXPECT_EQ(TagDataToText(Read[Make].Data), "LumaTest");
  EXPECT_DOUBLE_EQ(ExifRationalValue(Read, etXResolution), 300);
  const int PixelX = FindTag(Read, fmdExifExif, etPixelXDimension);
  ASSERT_GE(PixelX, 0);
  EXPECT_EQ(Le32(std::vector<uint8_t>(Read[PixelX].Data.begin(), Read[PixelX].Data.end()), 0), 61u);
  EXPECT_TRUE(HasModel(Read, fmdExifRaw));
  EXPECT_EQ(GetMetadataComment(Read), "Bonjour");
  EXPECT_EQ(Extra.ResolutionX, 300.0f);
  if (HasImageMagick()) {
    EXPECT_EQ(Identify(Name, "%[EXIF:Make] %[EXIF:PixelXDimension] %c"), "LumaTest 61 Bonjour");
  }

  // A PNG carries the comment only.
  TFreeExtraData PngSave;
  PngSave.Metadata = Read;
  SaveThroughFreeImage(*SmoothImage(8, 8), Folder.Path("exif.png"), &PngSave);
  TFreeExtraData PngRead;
  LoadThroughFreeImage(Folder.Path("exif.png"), &PngRead);
  EXPECT_FALSE(HasExifMetadata(PngRead.Metadata));
  EXPECT_EQ(GetMetadataComment(PngRead.Metadata), "Bonjour");
}

// ---- Files refused ---------------------------------------------------------------------------

TEST_F(FreeBitmapTest, MissingAndEmptyFilesNameTheFile) {
  const QString Missing = Folder.Path("missing.tga"), Empty = Folder.Path("empty.tga");
  WriteBytes(Empty, {});
  for (const QString& Name : {Missing, Empty}) {
    try {
      LoadThroughFreeImage(Name);
      ADD_FAILURE() << "loaded " << Name.toStdString();
    } catch (const EInvalidGraphic& E) {
      EXPECT_NE(std::string(E.what()).find(QFileInfo(Name).fileName().toStdString()), std::string::npos);
    }
  }
}

// Small files that declare huge images, each refused in well under a second
// before the library allocates anything.
TEST_F(FreeBitmapTest, HugeDeclaredSizesAreRefusedFromTheHeader) {
  struct TCase {
    const char* Name;
    std::vector<uint8_t> Bytes;
  };
  std::vector<uint8_t> Tga = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 24, 0x20};
  Tga.resize(200, 0x55);
  std::vector<uint8_t> Psd = {'8', 'B', 'P', 'S',  0,    1, 0, 0,    0,    0, 0, 0, 0,
                              3,   0,   0,   0x75, 0x30, 0, 0, 0x75, 0x30, 0, 8, 0, 3};
  Psd.resize(200, 0);
  std::vector<uint8_t> Gif = {'G', 'I', 'F', '8',  '9',  'a',  10,   0, 10, 0, 0,    0, 0, 0x2C, 0,
                              0,   0,   0,   0x60, 0xEA, 0x60, 0xEA, 0, 2,  2, 0x4C, 1, 0, 0x3B};
  std::vector<uint8_t> Sgi = {0x01, 0xDA, 0, 1, 0, 3, 0xFF, 0xFF, 0xFF, 0xFF, 0, 3};
  Sgi.resize(600, 0);
  std::vector<uint8_t> Bmp = {'B', 'M', 0, 0,    0,    0, 0, 0,    0,    0, 54, 0, 0, 0,  40,
                              0,   0,   0, 0x40, 0x9C, 0, 0, 0x40, 0x9C, 0, 0,  1, 0, 24, 0};
  Bmp.resize(120, 0);
  const TCase Cases[] = {{"huge.tga", Tga}, {"huge.psd", Psd}, {"huge.gif", Gif}, {"huge.sgi", Sgi}, {"huge.bmp", Bmp}};
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    const QString Name = Folder.Path(C.Name);
    WriteBytes(Name, C.Bytes);
    const double T0 = ThreadCpuMs();
    try {
      LoadThroughFreeImage(Name);
      ADD_FAILURE() << "loaded";
    } catch (const EInvalidGraphic& E) {
      EXPECT_NE(std::string(E.what()).find("too large"), std::string::npos) << E.what();
    }
    EXPECT_LT(ThreadCpuMs() - T0, CpuBudgetMs(100));
  }
}

TFreeHeaderProbe Probe(int Fif, const std::vector<uint8_t>& Bytes) {
  QByteArray Data(reinterpret_cast<const char*>(Bytes.data()), qsizetype(Bytes.size()));
  QBuffer Buffer(&Data);
  Buffer.open(QIODevice::ReadOnly);
  return ProbeFreeImageHeader(Fif, Buffer);
}

std::vector<uint8_t> Text(const std::string& S) { return std::vector<uint8_t>(S.begin(), S.end()); }

std::vector<uint8_t> Padded(std::vector<uint8_t> Bytes, size_t Size, uint8_t Fill = 0) {
  Bytes.resize(Size, Fill);
  return Bytes;
}

// A PSD header of W x H, 3 channels of 8 bits, empty sections and raw image
// data of DataBytes bytes.
std::vector<uint8_t> PsdFile(uint32_t W, uint32_t H, size_t DataBytes) {
  std::vector<uint8_t> B = Text("8BPS");
  for (uint8_t Byte : {0, 1, 0, 0, 0, 0, 0, 0, 0, 3}) B.push_back(Byte);
  for (uint32_t V : {H, W})
    for (int Shift : {24, 16, 8, 0}) B.push_back(uint8_t(V >> Shift));
  for (uint8_t Byte : {0, 8, 0, 3}) B.push_back(Byte);
  B.resize(B.size() + 12 + 2, 0); // three empty sections, raw compression
  B.resize(B.size() + DataBytes, 0x44);
  return B;
}

std::vector<uint8_t> RasFile(uint32_t W, uint32_t H, uint32_t Depth, size_t DataBytes) {
  std::vector<uint8_t> B;
  for (uint32_t V : {0x59A66A95u, W, H, Depth, 0u, 1u, 0u, 0u})
    for (int Shift : {24, 16, 8, 0}) B.push_back(uint8_t(V >> Shift));
  B.resize(B.size() + DataBytes, 0x11);
  return B;
}

// A 24-bit BMP of W x H with Data bytes of pixels.
std::vector<uint8_t> BmpFile(uint32_t W, uint32_t H, size_t Data) {
  std::vector<uint8_t> B = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0};
  for (uint32_t V : {40u, W, H})
    for (int Shift : {0, 8, 16, 24}) B.push_back(uint8_t(V >> Shift));
  B.push_back(1), B.push_back(0), B.push_back(24), B.push_back(0);
  B.resize(54, 0); // no compression
  B.resize(54 + Data, 0x22);
  return B;
}

// A PNG of W x H, 8-bit RGB, whose header is followed by an image data
// chunk of Kilobytes.
std::vector<uint8_t> PngFile(uint32_t W, uint32_t H, size_t Kilobytes) {
  std::vector<uint8_t> B = Text("\x89PNG\r\n\x1a\n");
  const auto Chunk = [&B](const std::string& Type, uint32_t Length) {
    for (int Shift : {24, 16, 8, 0}) B.push_back(uint8_t(Length >> Shift));
    for (char C : Type) B.push_back(uint8_t(C));
  };
  Chunk("IHDR", 13);
  for (uint32_t V : {W, H})
    for (int Shift : {24, 16, 8, 0}) B.push_back(uint8_t(V >> Shift));
  for (uint8_t Byte : {8, 2, 0, 0, 0}) B.push_back(Byte);
  B.resize(B.size() + 4, 0);
  Chunk("IDAT", uint32_t(Kilobytes * 1024));
  B.resize(B.size() + Kilobytes * 1024 + 4, 0);
  return B;
}

// A Targa of the type, W x H, 24 bits, with Data bytes after its header.
std::vector<uint8_t> TargaFile(uint8_t Type, uint16_t W, uint16_t H, size_t Data) {
  std::vector<uint8_t> B = {0, 0, Type, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  for (uint16_t V : {W, H}) B.push_back(uint8_t(V)), B.push_back(uint8_t(V >> 8));
  B.push_back(24), B.push_back(0x20);
  B.resize(18 + Data, 0);
  return B;
}

// An icon of one bitmap whose header says W x H (the directory 61 x 37),
// with the colour rows of a 61 x 37 image and Missing bytes fewer in the
// file than the directory says.
std::vector<uint8_t> IcoFile(uint32_t W, uint32_t H, uint16_t Bpp, uint32_t Missing) {
  const uint32_t Bytes = 40 + (61 * Bpp + 31) / 32 * 4 * 37 + (61 + 31) / 32 * 4 * 37;
  std::vector<uint8_t> B = {0, 0, 1, 0, 1, 0, 61, 37, 0, 0, 1, 0, uint8_t(Bpp), 0};
  for (uint32_t V : {Bytes, 22u})
    for (int Shift : {0, 8, 16, 24}) B.push_back(uint8_t(V >> Shift));
  for (uint32_t V : {40u, W, 2 * H})
    for (int Shift : {0, 8, 16, 24}) B.push_back(uint8_t(V >> Shift));
  B.push_back(1), B.push_back(0), B.push_back(uint8_t(Bpp)), B.push_back(0);
  B.resize(22 + Bytes - Missing, 0x33);
  return B;
}

// An icon whose one image is PNG-coded and declares W x H.
std::vector<uint8_t> IcoPngFile(uint32_t W, uint32_t H) {
  std::vector<uint8_t> B = {0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 1, 0, 32, 0, 200, 0, 0, 0, 22, 0, 0, 0};
  for (int C : {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 0x49, 0x48, 0x44, 0x52}) B.push_back(uint8_t(C));
  for (uint32_t V : {W, H})
    for (int Shift : {24, 16, 8, 0}) B.push_back(uint8_t(V >> Shift));
  B.resize(22 + 200, 0);
  return B;
}

TEST(FreeImageProbe, DeclaredSizesAndStructure) {
  using namespace std::string_literals;
  struct TCase {
    const char* What;
    int Fif;
    std::vector<uint8_t> Bytes;
    int64_t Width, Height; // 0 x 0: no size expected
    bool Problem;
  };
  std::vector<uint8_t> Pict(530, 0);
  Pict[515] = 10, Pict[517] = 20, Pict[518] = 1, Pict[519] = 10,
  Pict[520] = 1; // frame top 10, left 20, bottom 266, right 256
  Pict.back() = 0xFF;
  std::vector<uint8_t> PictCut = Pict;
  PictCut.back() = 0x12;
  const std::vector<uint8_t> Iff =
      Text("FORM\0\0\0\x28ILBMBMHD\0\0\0\x14\x01\x40\x00\xC8"s + std::string(16, '\0') + "BODY\0\0\0\0"s);
  const std::vector<uint8_t> Exr = Text("\x76\x2f\x31\x01\x02\0\0\0compression\0compression\0\x01\0\0\0\x00"
                                        "dataWindow\0box2i\0\x10\0\0\0\0\0\0\0\0\0\0\0\x09\0\0\0\x03\0\0\0\0"s);
  const TCase Cases[] = {
      {"gif frame after an extension",
       fifGif,
       {'G',  'I',  'F', '8', '9', 'a', 1, 0, 1,    0, 0x80, 0, 0, 1,    2,    3,    4,    5, 6,
        0x21, 0xF9, 4,   0,   0,   0,   0, 0, 0x2C, 0, 0,    0, 0, 0x34, 0x12, 0x78, 0x56, 0},
       0x1234,
       0x5678,
       false},
      {"gif cut before its frame", fifGif, {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, 0x21}, 0, 0, false},
      {"sgi", 28, Padded({0x01, 0xDA, 0, 1, 0, 3, 0x01, 0x00, 0x00, 0x20, 0, 3}, 512 + 256 * 32 * 3), 256, 32, false},
      {"sgi with 65535 channels", 28, Padded({0x01, 0xDA, 0, 1, 0, 3, 0, 61, 0, 37, 0xFF, 0xFF}, 600), 61, 37, true},
      {"sgi cut short", 28, Padded({0x01, 0xDA, 0, 1, 0, 3, 0, 61, 0, 37, 0, 3}, 600), 61, 37, true},
      {"dds", 24, {'D', 'D', 'S', ' ', 124, 0, 0, 0, 0, 0, 0, 0, 0x10, 0, 0, 0, 0x20, 0, 0, 0}, 32, 16, false},
      {"jpeg 2000 codestream",
       30,
       {0xFF, 0x4F, 0xFF, 0x51, 0, 41, 0, 0, 0, 0, 0, 100, 0, 0, 0, 50, 0, 0, 0, 10, 0, 0, 0, 5},
       90,
       45,
       false},
      {"jp2 header box", fifJp2, Text("\0\0\0\x16ihdr\0\0\0\x07\0\0\0\x09\0\x03"s), 9, 7, false},
      {"wbmp", 19, {0, 0, 0x81, 0x00, 0x02}, 128, 2, false},
      {"iff", 5, Iff, 320, 200, false},
      {"iff cut short", 5, std::vector<uint8_t>(Iff.begin(), Iff.end() - 10), 0, 0, true},
      {"mng and its first image", 6,
       Text("\x8aMNG\r\n\x1a\n\0\0\0\x1cMHDR\0\0\0\x10\0\0\0\x08....\0\0\0\x0dIHDR\0\x01\0\0\0\0\0\x02"s), 65536, 2,
       false},
      {"xbm", 22, Text("#define x_width 17\n#define x_height 9\nstatic char x_bits[] = {0x00, 0x01};\n"), 17, 9, false},
      {"xbm cut in its bits", 22, Text("#define x_width 17\n#define x_height 9\nstatic char x_bits[] = {0x00, 0x"), 17,
       9, true},
      {"pict", 33, Pict, 236, 256, false},
      {"pict without its end", 33, PictCut, 236, 256, true},
      {"pict of one byte", 33, {0x00}, 0, 0, true},
      {"psd", 20, PsdFile(4, 2, 3 * 4 * 2), 4, 2, false},
      {"psd with a negative width", 20, PsdFile(0xFFFFFFFF, 2, 24), 0xFFFFFFFF, 2, false},
      {"psd with its image cut", 20, PsdFile(4, 2, 3 * 4 * 2 - 1), 4, 2, true},
      {"psd with a section past the end", 20,
       [] {
         std::vector<uint8_t> B = PsdFile(4, 2, 24);
         B[26] = 0x10;
         return B;
       }(),
       4, 2, true},
      {"sun raster", 16, RasFile(61, 37, 24, 184 * 37), 61, 37, false},
      {"sun raster cut short", 16, RasFile(65536, 37, 24, 184 * 37), 65536, 37, true},
      {"sun raster of depth 7", 16, RasFile(61, 37, 7, 184 * 37), 61, 37, true},
      {"openexr", 29, Padded(Exr, Exr.size() + 4 * 8 + 100), 10, 4, false},
      {"openexr cut in its offsets", 29, Padded(Exr, Exr.size() + 3 * 8), 10, 4, true},
      {"openexr cut in its header", 29, std::vector<uint8_t>(Exr.begin(), Exr.begin() + 30), 0, 0, true},
      {"ico", 1, IcoFile(61, 37, 24, 0), 61, 37, false},
      {"ico whose bitmap is wider than its bytes", 1, IcoFile(65535, 37, 24, 0), 65535, 37, true},
      {"ico whose image runs past the end", 1, IcoFile(61, 37, 24, 100), 0, 0, true},
      {"ico of a 256 x 256 png", 1, IcoPngFile(256, 256), 256, 256, false},
      {"ico of a png larger than an icon", 1, IcoPngFile(16384, 16384), 16384, 16384, true},
      {"bmp", 0, BmpFile(61, 37, 184 * 37), 61, 37, false},
      {"bmp cut in its rows", 0, BmpFile(61, 37, 184 * 37 - 1), 61, 37, true},
      {"png of 64 KB compressed rows", fifPng, PngFile(128, 128, 64), 128, 128, false},
      {"png too small for its rows", fifPng, PngFile(4096, 4096, 0), 4096, 4096, true},
      {"png whose image data is a small part of the file", fifPng,
       [] {
         std::vector<uint8_t> B = PngFile(4096, 4096, 1);
         B.resize(B.size() + 64 * 1024, 0); // chunks of no image data
         return B;
       }(),
       4096, 4096, true},
      {"bmp run-length of end-of-line escapes only", 0,
       [] {
         std::vector<uint8_t> B = BmpFile(4096, 4096, 96 * 1024);
         B[30] = 1; // RLE8
         B[28] = 8;
         std::fill(B.begin() + 54, B.end(), 0);
         return B;
       }(),
       4096, 4096, true},
      {"targa", fifTarga, TargaFile(2, 61, 37, 61 * 37 * 3), 61, 37, false},
      {"targa cut in its pixels", fifTarga, TargaFile(2, 61, 37, 61 * 37 * 3 - 1), 61, 37, true},
      {"targa run-length", fifTarga, TargaFile(10, 1000, 1000, 1000 * 1000 / 128 + 1), 1000, 1000, false},
      {"targa run-length too short", fifTarga, TargaFile(10, 1000, 1000, 1000), 1000, 1000, true},
      {"tiff: nothing to probe", fifTiff, Text("II*\0"), 0, 0, false},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.What);
    const TFreeHeaderProbe P = Probe(C.Fif, C.Bytes);
    EXPECT_EQ(P.HasSize, C.Width != 0 || C.Height != 0);
    if (P.HasSize) {
      EXPECT_EQ(P.Width, C.Width);
      EXPECT_EQ(P.Height, C.Height);
    }
    EXPECT_EQ(!P.Problem.empty(), C.Problem) << P.Problem;
  }
}

// ---- Failed saves ---------------------------------------------------------------------------

TEST_F(FreeBitmapTest, AFailedSaveLeavesTheOldFileWhole) {
  const QString Name = Folder.Path("keep.ppm");
  WriteBytes(Name, {'o', 'l', 'd'});
  // The library writes no 32-bit PPM.
  EXPECT_THROW(SaveThroughFreeImage(*WithAlphaRamp(*SmoothImage(8, 8)), Name), ESafeFileError);
  EXPECT_EQ(ReadBytes(Name), (std::vector<uint8_t>{'o', 'l', 'd'}));
  // A format the library only reads, and a folder that does not exist.
  EXPECT_THROW(SaveThroughFreeImage(*SmoothImage(8, 8), Folder.Path("a.ras")), ESafeFileError);
  EXPECT_THROW(SaveThroughFreeImage(*SmoothImage(8, 8), Folder.Path("no/such/folder/a.tif")), ESafeFileError);
  EXPECT_THROW(SaveThroughFreeImage(*SmoothImage(8, 8), Folder.Path("a.unknown")), ESafeFileError);
  EXPECT_EQ(Folder.Files(), QStringList{"keep.ppm"});

  // A successful save replaces it.
  SaveThroughFreeImage(*SmoothImage(8, 8), Name);
  EXPECT_IMAGES_MATCH(*LoadThroughFreeImage(Name), *SmoothImage(8, 8));
  EXPECT_EQ(Folder.Files(), QStringList{"keep.ppm"});
}

} // namespace
