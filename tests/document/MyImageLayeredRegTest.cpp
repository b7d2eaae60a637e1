// The layered file as a whole: its byte layout checked by a parser of the
// test's own, round trips of every layer kind, hand-made files of versions 1
// to 3, the light reader, damaged and truncated files, and the safe save.
#include "document/MyImageLayeredReg.h"

#include "document/LayerStream.h"
#include "document/MyImageLayered.h"
#include "document/TxtData.h"
#include "raster/DataFileError.h"
#include "raster/FilterEvent.h"

#include "DocumentTestSupport.h"
#include "LayeredFileTestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace DocTest;
using namespace LmiTest;

namespace {

const QString Invalid = QString::fromUtf8("Fichier de données invalide !");

class LayeredFileTest : public ::testing::Test {
protected:
  void SetUp() override {
    LayerCompression = true;
    AutoCropOnSave = true;
    ThumbnailSize = 150;
    OnNeedLayerData = [](TLayerItem& L) {
      if (!L.Data()) L.SetData(std::make_unique<TestText>());
    };
    SetFileErrorHandler([this](const QString& M) { Reports.push_back(M); });
  }
  void TearDown() override {
    OnNeedLayerData = nullptr;
    SetFileErrorHandler(nullptr);
    LayerCompression = true;
    AutoCropOnSave = true;
    ThumbnailSize = 150;
  }
  QString Path(const char* Name) const { return Dir.filePath(QString::fromLatin1(Name)); }
  static std::vector<uint8_t> FileBytes(const QString& Name) {
    QFile F(Name);
    if (!F.open(QIODevice::ReadOnly)) return {};
    const QByteArray A = F.readAll();
    return {A.begin(), A.end()};
  }
  static void WriteBytes(const QString& Name, const std::vector<uint8_t>& D) {
    QFile F(Name);
    ASSERT_TRUE(F.open(QIODevice::WriteOnly));
    F.write(reinterpret_cast<const char*>(D.data()), qint64(D.size()));
  }
  static std::vector<uint8_t> Save(TMyImageLayered& Image) {
    TMemoryStream S;
    Image.SaveToStream(S);
    return S.Data();
  }

  QTemporaryDir Dir;
  std::vector<QString> Reports;
};

// Background 4 x 3, an opaque 2 x 2 layer at (1, 1), a hidden adjustment layer.
void MakeSmallImage(TMyImageLayered& Image) {
  TBitmap Bkg, Top, Mask;
  Solid(Bkg, 4, 3, Rgb(10, 20, 30));
  Solid(Top, 2, 2, Rgb(200, 100, 50));
  Solid(Mask, 2, 2, Grey(0));
  Image.AddBackground(&Bkg, nullptr, QStringLiteral("Fond"));
  Image.AddLayer(&Top, &Mask, {1, 1}, 100, QStringLiteral("Top"));
  TAdjustLayerInfos A;
  A.Luminosity = 10;
  A.Contrast = -5;
  A.Saturation = 3;
  A.Hue = 45;
  A.Gamma = 1.5;
  Image.AddLayerAdjust(A, 60, QStringLiteral("Adj"));
  Image.Layers()[2].Visible = false;
  Image.ResolutionX = 72.5;
  Image.ResolutionY = 96.0004;
  Image.Comment = QString(300, 'c');
  Image.ColorCount = 256;
}

// The fixed part of a layer record up to HasBitmap, checked field by field.
void ExpectRecordHead(Reader& R, const std::string& Caption, int Visible, int Type, int X, int Y, int Opacity) {
  EXPECT_EQ(R.str(), Caption);
  EXPECT_EQ(R.u8(), Visible);
  EXPECT_EQ(R.u8(), 0);    // Locked
  EXPECT_EQ(R.i32(), 0);   // BlendMode
  EXPECT_EQ(R.i32(), 0);   // FReserved1
  EXPECT_EQ(R.i32(), 0);   // FReserved2
  EXPECT_EQ(R.i32(), 0);   // Tag
  EXPECT_EQ(R.u8(), Type); // LayerType
  EXPECT_EQ(R.i32(), 0xFFFFFF);
  EXPECT_EQ(R.i32(), 0);
  EXPECT_EQ(R.i32(), X);
  EXPECT_EQ(R.i32(), Y);
  EXPECT_EQ(R.u8(), Opacity);
}

void ExpectDefaultTail(Reader& R) {
  EXPECT_EQ(R.u8(), 0); // second mask
  EXPECT_EQ(R.raw(16), std::string(16, '\0'));
  EXPECT_EQ(R.f64(), 1.0);
  EXPECT_EQ(R.raw(4), std::string(4, '\0')); // DrawShadow and padding
  EXPECT_EQ(R.i32(), 0);
  EXPECT_EQ(R.i32(), 7);
  EXPECT_EQ(R.i32(), 7);
  EXPECT_EQ(R.i32(), 80);
  EXPECT_EQ(R.i32(), 7);
  EXPECT_EQ(R.raw(8), std::string(8, '\0')); // style, padding, reserved
  EXPECT_EQ(R.u8(), 0);                      // HasData
}

void ExpectRawPixels(Reader& R, int W, int H, const std::function<TRGB(int, int)>& F) {
  EXPECT_EQ(R.i32(), W);
  EXPECT_EQ(R.i32(), H);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) {
      const TRGB P = F(X, Y);
      EXPECT_EQ(R.u8(), P.Blue);
      EXPECT_EQ(R.u8(), P.Green);
      EXPECT_EQ(R.u8(), P.Red);
    }
}

// A raw ltBitmap record of a solid W x H bitmap, without mask or data.
Bytes LayerRecord(const std::string& Caption, int W, int H, int Grey, int X = 0, int Y = 0) {
  Bytes B;
  B.str(Caption).u8(1).u8(0).i32(0).i32(0).i32(0).i32(0).u8(0).i32(0xFFFFFF).i32(0).i32(X).i32(Y).u8(100);
  B.u8(1).u8(0).i32(W).i32(H);
  for (int I = 0; I < W * H * 3; ++I) B.u8(Grey);
  B.u8(0).i32(0).u8(0).u8(0);
  B.zeros(16).f64(1.0).zeros(4).i32(0).i32(7).i32(7).i32(80).i32(7).zeros(8).u8(0);
  return B;
}

Bytes Header(int Version, int W, int H) {
  Bytes B;
  B.raw("Lumaretique Image").u8(Version).i32(W).i32(H).i32(300000).i32(300000).raw("hello").zeros(251).i32(-1);
  // A raw 1 x 1 thumbnail.
  B.i32(4 + 9 + 4 + 8 + 3).raw("Thumbnail").i32(0).i32(1).i32(1).u8(1).u8(2).u8(3);
  return B;
}

} // namespace

TEST_F(LayeredFileTest, WrittenFileFollowsTheByteLayout) {
  TMyImageLayered Image;
  MakeSmallImage(Image);
  LayerCompression = false;
  const std::vector<uint8_t> D = Save(Image);
  Reader R{D};
  EXPECT_EQ(R.raw(17), "Lumaretique Image");
  EXPECT_EQ(R.u8(), 3);
  EXPECT_EQ(R.i32(), 4);
  EXPECT_EQ(R.i32(), 3);
  EXPECT_EQ(R.i32(), 72500);
  EXPECT_EQ(R.i32(), 96000);
  EXPECT_EQ(R.raw(256), std::string(255, 'c') + '\0');
  EXPECT_EQ(R.P, 290u);
  EXPECT_EQ(R.i32(), 256);
  const int32_t L = R.i32();
  EXPECT_EQ(R.raw(9), "Thumbnail");
  EXPECT_EQ(R.i32(), 0);
  EXPECT_EQ(R.i32(), 150);
  const int TH = R.i32();
  EXPECT_TRUE(TH == 112 || TH == 113) << TH;
  EXPECT_EQ(L, 4 + 9 + 4 + 8 + 150 * TH * 3);
  R.P = size_t(294 + L);
  EXPECT_EQ(R.i32(), 3);

  const auto Composite = [](int X, int Y) {
    return X >= 1 && X < 3 && Y >= 1 && Y < 3 ? Rgb(200, 100, 50) : Rgb(10, 20, 30);
  };
  ExpectRecordHead(R, "Preview", 1, 0, 0, 0, 100);
  EXPECT_EQ(R.u8(), 1); // HasBitmap
  EXPECT_EQ(R.u8(), 0); // raw
  ExpectRawPixels(R, 4, 3, Composite);
  EXPECT_EQ(R.u8(), 0); // Transparent
  R.i32();
  EXPECT_EQ(R.u8(), 0); // HasMask
  ExpectDefaultTail(R);

  ExpectRecordHead(R, "Fond", 1, 0, 0, 0, 100);
  EXPECT_EQ(R.u8(), 1);
  EXPECT_EQ(R.u8(), 0);
  ExpectRawPixels(R, 4, 3, [](int, int) { return Rgb(10, 20, 30); });
  R.raw(5);
  EXPECT_EQ(R.u8(), 0);
  ExpectDefaultTail(R);

  ExpectRecordHead(R, "Top", 1, 0, 1, 1, 100);
  EXPECT_EQ(R.u8(), 1);
  EXPECT_EQ(R.u8(), 0);
  ExpectRawPixels(R, 2, 2, [](int, int) { return Rgb(200, 100, 50); });
  R.raw(5);
  EXPECT_EQ(R.u8(), 1); // HasMask
  EXPECT_EQ(R.u8(), 0);
  EXPECT_EQ(R.i32(), 2);
  EXPECT_EQ(R.i32(), 2);
  EXPECT_EQ(R.raw(4), std::string(4, '\0'));
  ExpectDefaultTail(R);

  const size_t AdjStart = R.P;
  ExpectRecordHead(R, "Adj", 0, 2, 0, 0, 60);
  EXPECT_EQ(R.u8(), 0);
  EXPECT_EQ(R.u8(), 0);
  EXPECT_EQ(R.u8(), 0);
  EXPECT_EQ(R.i16(), 10);
  EXPECT_EQ(R.i16(), 0);
  EXPECT_EQ(R.i16(), -5);
  EXPECT_EQ(R.i16(), 0);
  EXPECT_EQ(R.i16(), 3);
  EXPECT_EQ(R.i16(), 45);
  EXPECT_EQ(R.i32(), 0);
  EXPECT_EQ(R.f64(), 1.5);
  R.raw(32);
  EXPECT_EQ(R.u8(), 0);
  EXPECT_EQ(R.P - AdjStart, 103u) << "an adjustment record with a 3-character caption";
  EXPECT_EQ(R.P, D.size());
}

TEST_F(LayeredFileTest, OneLayerImageHasNoPreviewRecord) {
  TMyImageLayered Image;
  Image.AddBackground(5, 4, clRed, QStringLiteral("Fond"));
  LayerCompression = false;
  const std::vector<uint8_t> D = Save(Image);
  Reader R{D};
  R.P = 294;
  R.P = size_t(294 + R.i32());
  EXPECT_EQ(R.i32(), 1);
  EXPECT_EQ(R.str(), "Fond");
  TMyImageLayered Back;
  TMemoryStream S(D);
  Back.LoadFromStream(S);
  ASSERT_EQ(Back.Layers().Count(), 1);
  EXPECT_EQ(Back.Bitmap().Width(), 5);
  EXPECT_EQ(Back.Bitmap().Height(), 4);
  EXPECT_EQ(Back.LayerIndex(), 0);
}

TEST_F(LayeredFileTest, RoundTripsKeepEveryLayerKind) {
  TMyImageLayered Image;
  TBitmap Bkg, BkgMask, Top, TopMask;
  Fill(Bkg, 7, 5, [](int X, int Y) { return Rgb(X * 30, Y * 40, X ^ Y); });
  Fill(BkgMask, 7, 5, [](int X, int) { return Grey(X * 20); });
  Fill(Top, 3, 4, [](int X, int Y) { return Rgb(255 - X, Y, 9); });
  Fill(TopMask, 3, 4, [](int X, int Y) { return Grey(X * Y * 10); });
  Image.AddBackground(&Bkg, &BkgMask, QString::fromUtf8("Arrière-plan"));
  Image.AddLayer(&Top, &TopMask, {-2, 3}, 77, QStringLiteral("Shadowed"));
  TLayerItem& L1 = Image.Layers()[1];
  L1.BlendMode = 7;
  L1.Locked = true;
  L1.Tag = -12345;
  L1.FReserved1 = 1;
  L1.FReserved2 = 2;
  // A diffuse shadow draws noise from a clock-seeded generator: stored only.
  L1.ShadowInfos = {false, 0x112233, -4, 9, 55, 12, lstDiffuse, 99};
  L1.Bitmap().Transparent = true;
  L1.Bitmap().SetTransparentColor(0x0A0B0C);
  Image.AddLayerColor(0x336699, 40, true, QStringLiteral("Colour"));
  TAdjustLayerInfos A{-20, 1, 30, 2, -40, 180, 0.75};
  Image.AddLayerAdjust(A, 90, QStringLiteral("Adjust"));
  auto Text = std::make_unique<TestText>();
  Text->TextFont = QStringLiteral("DejaVu Sans");
  Text->Lines = QStringList{QStringLiteral("Bonjour"), QString::fromUtf8("été")};
  Text->Opacity = 80;
  Image.AddLayerData(std::move(Text), QStringLiteral("Text"));
  TLayerItem& T = Image.Layers()[4];
  Solid(T.Bitmap(), 2, 1, Rgb(1, 1, 1));
  Solid(T.Mask(), 2, 1, Grey(128));
  T.Opacity = 80;
  T.ShadowInfos = {true, 0x445566, 3, -2, 40, 2, lstBlur, 0};
  Image.ColorCount = 12;

  for (const bool Zip : {true, false}) {
    LayerCompression = Zip;
    const std::vector<uint8_t> D = Save(Image);
    TMyImageLayered Back;
    TMemoryStream S(D);
    Back.LoadFromStream(S);
    EXPECT_FALSE(Back.Modified);
    EXPECT_EQ(Back.ColorCount, -1) << "a background with a mask";
    ASSERT_EQ(Back.Layers().Count(), 5);
    for (int I = 0; I < 5; ++I) ExpectSameLayer(Image.Layers()[I], Back.Layers()[I]);
    const auto* Read = dynamic_cast<const TTextData*>(Back.Layers()[4].Data());
    ASSERT_NE(Read, nullptr);
    EXPECT_EQ(Read->Lines, (QStringList{QStringLiteral("Bonjour"), QString::fromUtf8("été")}));
    EXPECT_EQ(Read->TextFont, QStringLiteral("DejaVu Sans"));
    // Writing what was read gives the same bytes.
    const std::vector<uint8_t> Again = Save(Back);
    EXPECT_EQ(Again.size(), D.size());
    const auto Diff = std::mismatch(Again.begin(), Again.begin() + long(std::min(Again.size(), D.size())), D.begin());
    EXPECT_EQ(Diff.first - Again.begin(), long(std::min(Again.size(), D.size())))
        << "first difference at " << (Diff.first - Again.begin());
  }
}

TEST_F(LayeredFileTest, AutoCropStoresOnlyTheOpaquePartOfUpperBitmapLayers) {
  TMyImageLayered Image;
  Image.AddBackground(600, 500, clWhite, QStringLiteral("Fond"));
  TBitmap Bmp, Mask;
  auto Pattern = [](int X, int Y) { return Rgb(X & 0xFF, Y & 0xFF, (X * 7 + Y) & 0xFF); };
  auto Opaque = [](int X, int Y) { return X >= 100 && X < 150 && Y >= 100 && Y < 130; };
  Fill(Bmp, 500, 400, Pattern);
  Fill(Mask, 500, 400, [&](int X, int Y) { return Grey(Opaque(X, Y) ? (X + Y) & 0x7F : 255); });
  Image.AddLayer(&Bmp, &Mask, {10, 20}, 100, QStringLiteral("Crop"));
  Image.AddLayerColor(clRed, 50, false, QStringLiteral("Colour"));
  for (const bool Zip : {true, false})
    for (const bool Crop : {true, false}) {
      LayerCompression = Zip;
      AutoCropOnSave = Crop;
      TMyImageLayered Back;
      TMemoryStream S(Save(Image));
      Back.LoadFromStream(S);
      ASSERT_EQ(Back.Layers().Count(), 3);
      const TLayerItem& L = Back.Layers()[1];
      ASSERT_EQ(L.Bitmap().Width(), Crop ? 50 : 500);
      ASSERT_EQ(L.Bitmap().Height(), Crop ? 30 : 400);
      ASSERT_EQ(L.Mask().Width(), L.Bitmap().Width());
      EXPECT_EQ(L.Pos, (Crop ? TPoint{110, 120} : TPoint{10, 20}));
      // Every stored pixel is the one at its place in the layer.
      const int Dx = Crop ? 100 : 0, Dy = Crop ? 100 : 0;
      for (int Y = 0; Y < L.Bitmap().Height(); ++Y)
        for (int X = 0; X < L.Bitmap().Width(); ++X) {
          ASSERT_EQ(Px(L.Bitmap(), X, Y), Pattern(X + Dx, Y + Dy)) << X << "," << Y << " zip " << Zip;
          ASSERT_EQ(Px(L.Mask(), X, Y), Px(Mask, X + Dx, Y + Dy)) << X << "," << Y << " zip " << Zip;
        }
      EXPECT_EQ(Back.Layers()[0].Bitmap().Width(), 600);
    }
  LayerCompression = true;
  EXPECT_EQ(Image.Layers()[1].Bitmap().Width(), 500) << "the layer in memory is not changed";
}

TEST_F(LayeredFileTest, HandMadeFilesOfEveryVersionRead) {
  struct Case {
    int Version;
    bool Preview;
  };
  for (const Case C : {Case{1, false}, Case{2, true}, Case{3, true}}) {
    Bytes B = Header(C.Version, 3, 2);
    B.i32(2);
    if (C.Preview) B.append(LayerRecord("Preview", 3, 2, 99).D);
    B.append(LayerRecord("Fond", 3, 2, 40).D).append(LayerRecord("L1", 1, 1, 80, 2, 1).D);
    TMyImageLayered Image;
    TMemoryStream S(B.D);
    Image.LoadFromStream(S);
    ASSERT_EQ(Image.Layers().Count(), 2) << C.Version;
    EXPECT_EQ(Image.Layers()[0].Caption, QStringLiteral("Fond"));
    EXPECT_EQ(Px(Image.Layers()[0].Bitmap(), 2, 1), Grey(40));
    EXPECT_EQ(Image.Layers()[1].Pos, (TPoint{2, 1}));
    EXPECT_DOUBLE_EQ(Image.ResolutionX, 300.0);
    EXPECT_EQ(Image.Comment, QStringLiteral("hello"));
    EXPECT_EQ(Image.ColorCount, -1);
    EXPECT_EQ(Image.Bitmap().Width(), 3);
    EXPECT_TRUE(Reports.empty());
  }
  for (const int Bad : {0, 4}) {
    Bytes B = Header(Bad, 3, 2);
    TMyImageLayered Image;
    TMemoryStream S(B.D);
    EXPECT_THROW(Image.LoadFromStream(S), EStreamError);
  }
}

TEST_F(LayeredFileTest, TheMergedPreviewIsPassedOverNotInflated) {
  // A preview whose zlib blocks are junk behind sound headers: the loader
  // rebuilds the merged image from the layers and never inflates it.
  Bytes Junk;
  Junk.str("Preview").u8(1).u8(0).i32(0).i32(0).i32(0).i32(0).u8(0).i32(0xFFFFFF).i32(0).i32(0).i32(0).u8(100);
  Junk.u8(1).u8(1).i32(3).i32(2).i32(4 + 10).raw("0123456789").u8(0).i32(0);
  Junk.u8(1).u8(1).i32(3).i32(2).i32(4 + 5).raw("abcde").u8(0);
  Junk.zeros(16).f64(1.0).zeros(4).i32(0).i32(7).i32(7).i32(80).i32(7).zeros(8).u8(0);
  Bytes B = Header(3, 3, 2);
  B.i32(2).append(Junk.D).append(LayerRecord("Fond", 3, 2, 40).D).append(LayerRecord("L1", 1, 1, 80, 2, 1).D);
  TMyImageLayered Image;
  TMemoryStream S(B.D);
  Image.LoadFromStream(S);
  ASSERT_EQ(Image.Layers().Count(), 2);
  EXPECT_EQ(Px(Image.Layers()[0].Bitmap(), 2, 1), Grey(40));
  EXPECT_TRUE(Reports.empty());

  // A preview block that claims more bytes than the file holds is still refused.
  Bytes Short = Header(3, 3, 2);
  Short.i32(2).append(std::vector<uint8_t>(Junk.D.begin(), Junk.D.begin() + 60));
  TMemoryStream T(Short.D);
  TMyImageLayered Cut;
  EXPECT_THROW(Cut.LoadFromStream(T), EStreamError);
}

TEST_F(LayeredFileTest, LightReaderGivesHeaderThumbnailAndTheMergedImage) {
  TMyImageLayered Image;
  MakeSmallImage(Image);
  const QString Two = Path("two.lmi");
  Image.SaveToFile_tmp(Two);

  TMyImageLayeredReg Reg;
  Reg.LoadFromFile(Two);
  EXPECT_TRUE(Reg.Empty());
  EXPECT_EQ(Reg.Properties().Version, 3);
  EXPECT_EQ(Reg.Properties().Width, 4);
  EXPECT_EQ(Reg.Properties().Height, 3);
  EXPECT_DOUBLE_EQ(Reg.Properties().DPI, 72.5);
  EXPECT_EQ(Reg.Properties().Comment, QString(255, 'c'));
  EXPECT_EQ(Reg.Properties().ColorCount, 256);

  Reg.SetLoadLayer(true);
  Reg.LoadFromFile(Two);
  ASSERT_EQ(Reg.Width(), 4);
  EXPECT_EQ(Px(Reg, 1, 1), Rgb(200, 100, 50)) << "the merged preview, not the background";
  EXPECT_EQ(Px(Reg, 0, 0), Rgb(10, 20, 30));

  Reg.SetThumbMode(true);
  Reg.LoadFromFile(Two);
  EXPECT_EQ(Reg.Width(), 150);

  TMyImageLayered One;
  One.AddBackground(6, 2, clBlue, QStringLiteral("Fond"));
  const QString OneName = Path("one.lmi");
  One.SaveToFile(OneName);
  TMyImageLayeredReg Reg1;
  Reg1.SetLoadLayer(true);
  Reg1.LoadFromFile(OneName);
  EXPECT_EQ(Reg1.Width(), 6);
  EXPECT_TRUE(CheckLayeredFile(OneName));

  const QString Zero = Path("zero.lmi");
  WriteBytes(Zero, Header(3, 0, 2).D);
  EXPECT_FALSE(CheckLayeredFile(Zero));
  EXPECT_FALSE(CheckLayeredFile(Path("missing.lmi")));
  try {
    TMyImageLayeredReg Bad;
    Bad.LoadFromFile(Path("missing.lmi"));
    ADD_FAILURE();
  } catch (const EStreamError& E) {
    EXPECT_TRUE(E.Text().contains(QStringLiteral("missing.lmi")));
  }
}

TEST_F(LayeredFileTest, DamageAfterTheFirstLayersKeepsThemAndMarksTheImageModified) {
  Bytes B = Header(3, 3, 2);
  B.i32(3).append(LayerRecord("Preview", 3, 2, 1).D);
  B.append(LayerRecord("Fond", 3, 2, 40).D).append(LayerRecord("L1", 1, 1, 80).D);
  const Bytes Third = LayerRecord("L2", 2, 2, 90);
  B.D.insert(B.D.end(), Third.D.begin(), Third.D.begin() + 30);
  const QString Name = Path("cut.lmi");
  WriteBytes(Name, B.D);
  TMyImageLayered Image;
  EXPECT_TRUE(Image.LoadFromFile(Name));
  EXPECT_EQ(Image.Layers().Count(), 2);
  EXPECT_TRUE(Image.Modified);
  ASSERT_EQ(Reports.size(), 1u);
  EXPECT_EQ(Reports[0], Invalid + QLatin1Char('\n') + Name);

  // The data flag of a text layer that no object can read.
  OnNeedLayerData = nullptr;
  TMyImageLayered Text;
  Text.AddBackground(2, 2, clWhite, QStringLiteral("Fond"));
  Text.AddLayerData(std::make_unique<TestText>(), QStringLiteral("T"));
  Solid(Text.Layers()[1].Bitmap(), 1, 1, Grey(0));
  TMemoryStream S(Save(Text));
  TMyImageLayered Back;
  Back.LoadFromStream(S);
  EXPECT_EQ(Back.Layers().Count(), 1);
  EXPECT_TRUE(Back.Modified);
}

TEST_F(LayeredFileTest, EveryTruncationFailsCleanly) {
  TMyImageLayered Image;
  MakeSmallImage(Image);
  ThumbnailSize = 6;
  auto Text = std::make_unique<TestText>();
  Text->Lines = QStringList{QStringLiteral("a"), QStringLiteral("bc")};
  Image.AddLayerData(std::move(Text), QStringLiteral("T"));
  Solid(Image.Layers()[3].Bitmap(), 2, 2, Grey(3));
  const std::vector<uint8_t> D = Save(Image);
  for (size_t N = 0; N < D.size(); ++N) {
    const std::vector<uint8_t> Cut(D.begin(), D.begin() + long(N));
    Reports.clear();
    TMyImageLayered Back;
    TMemoryStream S(Cut);
    bool Threw = false;
    try {
      Back.LoadFromStream(S);
    } catch (const EStreamError&) {
      Threw = true;
      EXPECT_EQ(Back.Layers().Count(), 0);
    }
    EXPECT_TRUE(Threw || (Back.Modified && Reports.size() == 1)) << N;
    EXPECT_LT(Back.Layers().Count(), 4) << N;
    TMyImageLayeredReg Reg;
    Reg.SetLoadLayer(true);
    TMemoryStream S2(Cut);
    try {
      Reg.LoadFromStream(S2);
    } catch (const EStreamError&) {
    }
  }
}

TEST_F(LayeredFileTest, InterruptedSaveLeavesTheOldFileWhole) {
  // Forwards to the file until Limit bytes, then fails like a full disk.
  struct TFailAfter : TStream {
    TStream& Inner;
    int64_t Limit;
    TFailAfter(TStream& S, int64_t L) : Inner(S), Limit(L) {}
    int64_t Read(void* B, int64_t C) override { return Inner.Read(B, C); }
    void Write(const void* B, int64_t C) override {
      if (Inner.Position() + C > Limit) throw EStreamError(QStringLiteral("disk full"));
      Inner.Write(B, C);
    }
    int64_t Position() const override { return Inner.Position(); }
    int64_t Size() const override { return Inner.Size(); }
    void Seek(int64_t P) override { Inner.Seek(P); }
  };
  TMyImageLayered Old;
  MakeSmallImage(Old);
  const QString Name = Path("image.lmi");
  Old.SaveToFile_tmp(Name);
  const std::vector<uint8_t> OldBytes = FileBytes(Name);
  ASSERT_FALSE(OldBytes.empty());

  TMyImageLayered New;
  New.AddBackground(40, 30, clGreen, QStringLiteral("New"));
  const int64_t NewSize = int64_t(Save(New).size());
  for (const int64_t N : std::vector<int64_t>{0, 1, 17, 290, 300, NewSize / 2, NewSize - 1}) {
    EXPECT_THROW(SaveLayeredFileSafely(Name,
                                       [&](TStream& S) {
                                         TFailAfter F(S, N);
                                         New.SaveToStream(F);
                                       }),
                 EStreamError)
        << N;
    EXPECT_EQ(FileBytes(Name), OldBytes) << N;
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("image.lmi")}) << N;
  }

  // A file that does not check (no layer: width 0) replaces nothing.
  TMyImageLayered Empty;
  EXPECT_THROW(Empty.SaveToFile_tmp(Name), EStreamError);
  EXPECT_EQ(FileBytes(Name), OldBytes);
  EXPECT_THROW(Empty.SaveToFile_tmp(Path("new.lmi")), EStreamError);
  EXPECT_FALSE(QFile::exists(Path("new.lmi")));
  EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("image.lmi")});

  New.SaveToFile_tmp(Name);
  TMyImageLayered Back;
  EXPECT_TRUE(Back.LoadFromFile(Name));
  EXPECT_EQ(Back.Layers()[0].Caption, QStringLiteral("New"));
  EXPECT_EQ(LayeredTempFileName(QStringLiteral("/a/b.c/x.lmi")), QStringLiteral("/a/b.c/x.lmtmp"));
  EXPECT_EQ(LayeredTempFileName(QStringLiteral("/a/b.c/x")), QStringLiteral("/a/b.c/x.lmtmp"));
}

TEST_F(LayeredFileTest, FileThatIsNotLayeredReportsItsName) {
  const QString Name = Path("bad.lmi");
  WriteBytes(Name, Bytes{}.raw("Not a layered image at all").D);
  TMyImageLayered Image;
  EXPECT_FALSE(Image.LoadFromFile(Name));
  EXPECT_EQ(Image.Layers().Count(), 0);
  ASSERT_EQ(Reports.size(), 1u);
  EXPECT_EQ(Reports[0], Invalid + QLatin1Char('\n') + Name);
}

TEST_F(LayeredFileTest, EveryBlockIsOneProgressPassEvenWhenAbsent) {
  // Watches the progress state at every write of the save.
  struct TWatch : TMemoryStream {
    int Passes = 0;
    int MaxPass = 0;
    void Write(const void* B, int64_t C) override {
      Passes = std::max(Passes, ProgressState().Passes);
      MaxPass = std::max(MaxPass, ProgressState().CurrentPass);
      TMemoryStream::Write(B, C);
    }
  };
  TMyImageLayered Image;
  MakeSmallImage(Image); // three layers, the last an adjustment layer
  TWatch S;
  Image.SaveToStream(S);
  EXPECT_EQ(S.Passes, 2 * 3 + 2);
  EXPECT_EQ(S.MaxPass, 2 * 3 + 1) << "the adjustment layer's two empty passes end the count";
  EXPECT_EQ(ProgressState().Passes, 1);
}

TEST_F(LayeredFileTest, SafeSaveWritesThroughLinksAndKeepsPermissions) {
  TMyImageLayered Image;
  Image.AddBackground(3, 3, clRed, QStringLiteral("Fond"));
  const QString Real = Path("real.lmi"), Link = Path("link.lmi");
  Image.SaveToFile_tmp(Real);
  ASSERT_TRUE(QFile::setPermissions(Real, QFile::ReadOwner | QFile::WriteOwner));
  ASSERT_TRUE(QFile::link(Real, Link));
  Image.Layers()[0].Caption = QStringLiteral("Again");
  Image.SaveToFile_tmp(Link);
  EXPECT_EQ(QFileInfo(Link).symLinkTarget(), QFileInfo(Real).absoluteFilePath());
  EXPECT_EQ(QFile::permissions(Real) & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteOwner), QFile::WriteOwner);
  TMyImageLayered Back;
  EXPECT_TRUE(Back.LoadFromFile(Real));
  EXPECT_EQ(Back.Layers()[0].Caption, QStringLiteral("Again"));
}
