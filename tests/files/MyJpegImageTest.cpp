#include "files/MyJpegImage.h"
#include "files/ReadLimits.h"

#include "FileTestSupport.h"
#include "support/ImageCompare.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <jpeglib.h>

namespace {

// A JPEG of raw samples (greyscale or CMYK, which our writer does not make).
void WriteRawJpeg(const QString& Name, int W, int H, int Components, J_COLOR_SPACE Space,
                  const std::vector<uint8_t>& Samples) {
  WriteLibjpegFile(
      Name, W, H, Components, Space, [&](int Y) { return Samples.data() + size_t(Y) * W * Components; },
      [](jpeg_compress_struct& C) { jpeg_set_quality(&C, 95, TRUE); });
}

void Save(const QString& Name, const TBitmap& B, int Quality = 90, bool Progressive = false, double Dpi = 0) {
  TMyJpegImage J;
  J.Assign(B);
  J.CompressionQuality = Quality;
  J.ProgressiveEncoding = Progressive;
  J.Dpi = Dpi;
  J.SaveToFileEx(Name);
}

TEST(MyJpegImage, RoundTripAndOtherDecodersAgree) {
  TTestFolder Folder;
  const QString Name = Folder.Path("r.jpg");
  const PBitmap Image = SmoothImage(64, 48);
  Save(Name, *Image, 95);
  EXPECT_EQ(Folder.Files(), QStringList{"r.jpg"});
  TMyJpegImage J;
  J.LoadFromFile(Name);
  EXPECT_EQ(J.Width(), 64);
  EXPECT_EQ(J.Height(), 48);
  EXPECT_IMAGES_MATCH(J.Bitmap(), *Image, 48, "original");
  EXPECT_IMAGES_MATCH(J.Bitmap(), *QtDecode(Name, false), 6, "qt");
  if (HasImageMagick()) {
    EXPECT_IMAGES_MATCH(J.Bitmap(), *MagickDecode(Name, false), 2, "magick");
    EXPECT_EQ(Identify(Name, "%w %h"), "64 48");
  }
}

TEST(MyJpegImage, QualityAndProgressiveMode) {
  TTestFolder Folder;
  const PBitmap Image = SmoothImage(80, 60);
  Save(Folder.Path("10.jpg"), *Image, 10);
  Save(Folder.Path("95.jpg"), *Image, 95);
  EXPECT_LT(ReadBytes(Folder.Path("10.jpg")).size(), ReadBytes(Folder.Path("95.jpg")).size());

  Save(Folder.Path("p.jpg"), *Image, 90, true);
  const std::vector<uint8_t> P = ReadBytes(Folder.Path("p.jpg"));
  bool Progressive = false;
  for (size_t I = 0; I + 1 < P.size(); ++I) Progressive = Progressive || (P[I] == 0xFF && P[I + 1] == 0xC2);
  EXPECT_TRUE(Progressive);
  int W = -1, H = -1;
  GetJpegSize(Folder.Path("p.jpg"), W, H);
  EXPECT_EQ(W, 0);
  EXPECT_EQ(H, 0);
  TMyJpegImage J;
  J.LoadFromFile(Folder.Path("p.jpg"));
  EXPECT_IMAGES_MATCH(J.Bitmap(), *QtDecode(Folder.Path("p.jpg"), false), 6, "qt");
}

TEST(MyJpegImage, ThumbScaleTable) {
  struct {
    int W, H, Scale;
  } Cases[] = {{0, 100, 0},   {100, -1, 0}, {299, 200, 0}, {300, 200, 1},   {599, 10, 1},
               {600, 400, 2}, {1199, 5, 2}, {1200, 5, 3},  {4000, 3000, 3}, {10, 4000, 3}};
  for (const auto& C : Cases) EXPECT_EQ(JpegThumbScale(C.W, C.H, 150), C.Scale) << C.W << "x" << C.H;
}

TEST(MyJpegImage, ThumbnailsDecodeReducedAndReportTheStoredSize) {
  TTestFolder Folder;
  struct {
    int W, H, DecodedW, DecodedH;
  } Cases[] = {{4000, 3000, 500, 375}, {600, 400, 150, 100}, {300, 200, 150, 100}, {299, 200, 299, 200}};
  for (const auto& C : Cases) {
    const QString Name = Folder.Path("t.jpg");
    Save(Name, TBitmap(C.W, C.H, pf24bit, RGB(90, 120, 150)));
    TMyJpegImage J;
    J.ThumbMode = true;
    J.LoadFromFile(Name);
    EXPECT_EQ(J.Bitmap().Width(), C.DecodedW) << C.W;
    EXPECT_EQ(J.Bitmap().Height(), C.DecodedH) << C.W;
    EXPECT_EQ(J.Width(), C.W);
    EXPECT_EQ(J.Height(), C.H);
  }
  // A progressive file is not recognised by the size probe: full scale, and
  // the decoded size is reported.
  Save(Folder.Path("p.jpg"), TBitmap(600, 400, pf24bit, clGray), 90, true);
  TMyJpegImage J;
  J.ThumbMode = true;
  J.LoadFromFile(Folder.Path("p.jpg"));
  EXPECT_EQ(J.Bitmap().Width(), 600);
  EXPECT_EQ(J.Width(), 600);
  EXPECT_EQ(J.Height(), 400);
}

TEST(MyJpegImage, SizeProbeSkipsFillBytesAndStandaloneMarkers) {
  TTestFolder Folder;
  const QString Name = Folder.Path("s.jpg");
  const std::vector<uint8_t> Head = {0xFF, 0xD8, 0xFF, 0xFF, 0xFF, 0xE0, 0x00, 0x04, 0x00, 0x00, // fill, APP0
                                     0xFF, 0xD0, 0xFF, 0x01,                                     // standalone
                                     0xFF, 0xC0, 0x00, 0x11, 0x08, 0x01, 0x2C, 0x02, 0x58};      // 600 x 300
  WriteBytes(Name, Head);
  int W = 0, H = 0;
  GetJpegSize(Name, W, H);
  EXPECT_EQ(W, 600);
  EXPECT_EQ(H, 300);

  // The height read, then the file ends: the values read so far stay.
  WriteBytes(Name, std::vector<uint8_t>(Head.begin(), Head.end() - 1));
  GetJpegSize(Name, W, H);
  EXPECT_EQ(W, 0);
  EXPECT_EQ(H, 300);

  // A segment length below 2 stops the probe instead of looping.
  for (uint8_t Length : {0, 1}) {
    WriteBytes(Name, {0xFF, 0xD8, 0xFF, 0xE1, 0x00, Length, 0xFF, 0xC0, 0, 0x11, 8, 0, 9, 0, 9});
    GetJpegSize(Name, W, H);
    EXPECT_EQ(W, 0);
    EXPECT_EQ(H, 0);
  }
  for (const std::vector<uint8_t>& Bytes : std::vector<std::vector<uint8_t>>{{}, {0xFF}, {0x89, 'P', 'N', 'G'}}) {
    WriteBytes(Name, Bytes);
    GetJpegSize(Name, W, H);
    EXPECT_EQ(W + H, 0);
  }
  GetJpegSize(Folder.Path("missing.jpg"), W, H);
  EXPECT_EQ(W + H, 0);
}

TEST(MyJpegImage, JfifResolution) {
  TTestFolder Folder;
  const QString Name = Folder.Path("d.jpg");
  Save(Name, *SmoothImage(8, 8), 90, false, 300);
  EXPECT_EQ(GetJpegDpi(Name), 300);
  TMyJpegImage J;
  J.LoadFromFile(Name);
  EXPECT_EQ(J.Dpi, 300);
  if (HasImageMagick()) {
    EXPECT_EQ(Identify(Name, "%x").toDouble(), 300);
  }

  std::vector<uint8_t> Bytes = ReadBytes(Name);
  Bytes[13] = 2; // dots per centimetre
  Bytes[14] = 0;
  Bytes[15] = 118;
  WriteBytes(Name, Bytes);
  EXPECT_NEAR(GetJpegDpi(Name), 299.72, 1e-9);
  Bytes[13] = 0; // aspect ratio only
  WriteBytes(Name, Bytes);
  EXPECT_EQ(GetJpegDpi(Name), 0);

  for (const auto& [Dpi, Stored] : std::vector<std::pair<double, int>>{{96, 96}, {72.5, 72}, {73.5, 74}, {0.2, 1}}) {
    ASSERT_TRUE(SetJpegDpi(Name, Dpi));
    const std::vector<uint8_t> B = ReadBytes(Name);
    EXPECT_EQ(B[13], 1);
    EXPECT_EQ((B[14] << 8) | B[15], Stored) << Dpi;
    EXPECT_EQ((B[16] << 8) | B[17], Stored) << Dpi;
  }
  EXPECT_EQ(Folder.Files(), QStringList{"d.jpg"});
  // The pixels survive the rewrite.
  TMyJpegImage After;
  After.LoadFromFile(Name);
  EXPECT_IMAGES_MATCH(After.Bitmap(), J.Bitmap());
}

TEST(MyJpegImage, ResolutionNeedsAJfifSegmentFirst) {
  TTestFolder Folder;
  const QString Name = Folder.Path("e.jpg");
  Save(Name, *SmoothImage(8, 8));
  const std::vector<uint8_t> Jfif = ReadBytes(Name);
  // An EXIF segment where the JFIF one was.
  std::vector<uint8_t> Exif = Jfif;
  Exif[3] = 0xE1;
  std::copy_n("Exif\0", 5, Exif.begin() + 6);
  // An APP0 segment of another kind.
  std::vector<uint8_t> Jfxx = Jfif;
  std::copy_n("JFXX\0", 5, Jfxx.begin() + 6);
  for (const auto& Bytes : {Exif, Jfxx}) {
    WriteBytes(Name, Bytes);
    EXPECT_EQ(GetJpegDpi(Name), 0);
    EXPECT_FALSE(SetJpegDpi(Name, 300));
    EXPECT_EQ(ReadBytes(Name), Bytes);
  }
  EXPECT_FALSE(SetJpegDpi(Folder.Path("missing.jpg"), 300));
  EXPECT_EQ(GetJpegDpi(Folder.Path("missing.jpg")), 0);
  WriteBytes(Name, std::vector<uint8_t>(Jfif.begin(), Jfif.begin() + 10));
  EXPECT_THROW(GetJpegDpi(Name), EInvalidGraphic);
}

TEST(MyJpegImage, GreyAndCmykInput) {
  TTestFolder Folder;
  std::vector<uint8_t> Grey(16 * 8);
  for (size_t I = 0; I < Grey.size(); ++I) Grey[I] = uint8_t(I * 2);
  WriteRawJpeg(Folder.Path("g.jpg"), 16, 8, 1, JCS_GRAYSCALE, Grey);
  TMyJpegImage J;
  J.LoadFromFile(Folder.Path("g.jpg"));
  ASSERT_EQ(J.Bitmap().PixelFormat(), pf24bit);
  for (int X = 0; X < 16; ++X) {
    const TColor C = J.Bitmap().PixelColor(X, 3);
    EXPECT_TRUE(GetRValue(C) == GetGValue(C) && GetGValue(C) == GetBValue(C));
  }
  EXPECT_IMAGES_MATCH(J.Bitmap(), *QtDecode(Folder.Path("g.jpg"), false), 3, "qt-grey");

  // libjpeg stores CMYK inverted with an Adobe marker, as Adobe programs do.
  std::vector<uint8_t> Cmyk;
  for (int Y = 0; Y < 8; ++Y)
    for (int X = 0; X < 16; ++X) Cmyk.insert(Cmyk.end(), {uint8_t(255 - X * 8), uint8_t(255 - Y * 16), 200, 230});
  WriteRawJpeg(Folder.Path("c.jpg"), 16, 8, 4, JCS_CMYK, Cmyk);
  J.LoadFromFile(Folder.Path("c.jpg"));
  EXPECT_IMAGES_MATCH(J.Bitmap(), *QtDecode(Folder.Path("c.jpg"), false), 4, "qt-cmyk");
  // Pixel (0, 0): inverted C 255, M 255, Y 200, K 230 -> R 230, G 230, B 180.
  const TColor C = J.Bitmap().PixelColor(0, 0);
  EXPECT_NEAR(GetRValue(C), 230, 3);
  EXPECT_NEAR(GetGValue(C), 230, 3);
  EXPECT_NEAR(GetBValue(C), 180, 3);
}

TEST(MyJpegImage, ReportsProgressFromStartToEnd) {
  TTestFolder Folder;
  std::vector<std::pair<TProgressStage, int>> Events;
  TMyJpegImage J;
  J.OnProgress = [&](void*, TProgressStage Stage, uint8_t Percent, bool, const TRect&, const std::string&) {
    Events.push_back({Stage, Percent});
  };
  J.Assign(*SmoothImage(64, 512));
  J.SaveToFileEx(Folder.Path("p.jpg"));
  J.LoadFromFile(Folder.Path("p.jpg"));
  ASSERT_GE(Events.size(), 6u);
  int Starts = 0, Ends = 0, Last = -1;
  bool Open = false;
  for (const auto& [Stage, Percent] : Events) {
    if (Stage == TProgressStage::psStarting) {
      EXPECT_FALSE(Open);
      Open = true;
      ++Starts;
      Last = -1;
    } else if (Stage == TProgressStage::psEnding) {
      EXPECT_TRUE(Open);
      Open = false;
      ++Ends;
    } else {
      EXPECT_TRUE(Open);
      EXPECT_GE(Percent, Last);
      EXPECT_LE(Percent, 100);
      Last = Percent;
    }
  }
  EXPECT_EQ(Starts, 2);
  EXPECT_EQ(Ends, 2);
}

TEST(MyJpegImage, HooksIntoTheProgressService) {
  TTestFolder Folder;
  TMyJpegImage J;
  HookJpegProgress(J);
  J.Assign(*SmoothImage(32, 32));
  J.SaveToFileEx(Folder.Path("h.jpg"));
  J.LoadFromFile(Folder.Path("h.jpg"));
  EXPECT_FALSE(IsProgressRunning());
}

// Where the scan data of a baseline file starts (after the SOS segment).
size_t ScanDataStart(const std::vector<uint8_t>& B) {
  for (size_t I = 2; I + 3 < B.size();) {
    const size_t Length = size_t(B[I + 2] << 8 | B[I + 3]);
    if (B[I + 1] == 0xDA) return I + 2 + Length;
    I += 2 + Length;
  }
  return 0;
}

TEST(MyJpegImage, DamagedScanDataIsRefusedHarmlessWarningsAreNot) {
  TTestFolder Folder;
  const QString Name = Folder.Path("w.jpg");
  Save(Name, *SmoothImage(64, 64));
  const std::vector<uint8_t> Good = ReadBytes(Name);
  const size_t Data = ScanDataStart(Good);
  ASSERT_GT(Data, 0u);
  const auto Insert = [&](size_t At, std::vector<uint8_t> Bytes) {
    std::vector<uint8_t> B = Good;
    B.insert(B.begin() + ptrdiff_t(At), Bytes.begin(), Bytes.end());
    return B;
  };
  struct {
    const char* What;
    std::vector<uint8_t> Bytes;
    bool Opens;
  } Cases[] = {
      {"extraneous bytes before the end marker", Insert(Good.size() - 2, {1, 2, 3}), true},
      {"extraneous bytes between header segments", Insert(20, {0, 0}), true},
      {"a marker inside the scan data", Insert(Data + 40, {0xFF, 0xD9}), false},
      {"restart marker where none belongs", Insert(Data + 40, {0xFF, 0xD3}), false},
      {"scan data cut in the middle", std::vector<uint8_t>(Good.begin(), Good.begin() + ptrdiff_t(Data + 60)), false},
  };
  for (const auto& C : Cases) {
    WriteBytes(Name, C.Bytes);
    TMyJpegImage J;
    if (C.Opens) {
      EXPECT_NO_THROW(J.LoadFromFile(Name)) << C.What;
      EXPECT_EQ(J.Width(), 64) << C.What;
    } else {
      EXPECT_THROW(J.LoadFromFile(Name), EInvalidGraphic) << C.What;
    }
  }
}

TEST(MyJpegImage, BrokenFilesAreErrorsThatCloseTheProgress) {
  TTestFolder Folder;
  Save(Folder.Path("ok.jpg"), *SmoothImage(32, 32));
  std::vector<uint8_t> Bytes = ReadBytes(Folder.Path("ok.jpg"));
  Bytes.resize(Bytes.size() / 2);
  WriteBytes(Folder.Path("cut.jpg"), Bytes);
  int Open = 0;
  TMyJpegImage J;
  J.OnProgress = [&](void*, TProgressStage Stage, uint8_t, bool, const TRect&, const std::string&) {
    Open += Stage == TProgressStage::psStarting ? 1 : Stage == TProgressStage::psEnding ? -1 : 0;
  };
  EXPECT_THROW(J.LoadFromFile(Folder.Path("cut.jpg")), EInvalidGraphic);
  EXPECT_EQ(Open, 0);
  EXPECT_THROW(J.LoadFromFile(Folder.Path("missing.jpg")), EInvalidGraphic);
}

} // namespace
