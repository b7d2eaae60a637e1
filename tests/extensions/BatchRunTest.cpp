#include "extensions/BatchRun.h"

#include "document/Calque.h"
#include "document/MyImageLayered.h"
#include "files/BmpOE2.h"
#include "filters/AutoCorrections.h"
#include "filters/Filtres24.h"
#include "raster/ImgUtils.h"
#include "raster/ImgUtils24.h"
#include "raster/Rotation24.h"
#include "support/ImageCompare.h"
#include "support/Pixels.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>

namespace {

// The windows' side of a run: one document opened from the first file, the
// report and captions kept, cancel asked for at a chosen event pump.
class TFakeBatchHost : public TBatchHost {
public:
  TBitmap Own;
  std::unique_ptr<TMyImageLayered> Doc;
  QStringList Lines, Captions, Saved;
  int Pumps = 0, SizeChanges = 0, Questions = 0;
  // At this pump a key asks to cancel; the answer to the question.
  int CancelAtPump = -1;
  bool Answer = true;

  TBitmap& WorkBitmap() override { return Doc ? Doc->CurrentLayer()->Bitmap() : Own; }
  TMyImageLayered& FileLoaded(const QString&) override {
    if (!Doc) {
      Doc = std::make_unique<TMyImageLayered>();
      Doc->AddBitmapAsBackground(Own, QStringLiteral("Fond"));
      Own.ReleaseImage();
    }
    return *Doc;
  }
  void SizeChanged() override { ++SizeChanges; }
  void Refresh() override {}
  void FileSaved(const QString& Path) override { Saved.append(QFileInfo(Path).fileName()); }
  void SetCaption(const QString& Caption) override { Captions.append(Caption); }
  void ProcessMessages() override {
    // What the main window does with a key pressed during a run.
    if (++Pumps == CancelAtPump && IsBatchRunning()) RequestBatchCancel();
  }
  bool ConfirmCancel() override {
    ++Questions;
    return Answer;
  }
  void Report(const QString& Line) override { Lines.append(Line); }
  bool OverlayReady() override { return false; }
  void ApplyOverlay(TBitmap&) override {}
  QString StampText() override { return {}; }
  void ApplyStamp(TBitmap&, const QString&) override {}
};

// A source folder of small images and an export folder.
class BatchRunTest : public ::testing::Test {
protected:
  QTemporaryDir Dir;
  QString Src, Out;
  TFakeBatchHost Host;
  TBatchFileList Files;
  std::unique_ptr<TBatchRun> Run;

  void SetUp() override {
    ASSERT_TRUE(Dir.isValid());
    Src = Dir.path() + QStringLiteral("/src");
    Out = Dir.path() + QStringLiteral("/out");
    QDir().mkpath(Src);
    QDir().mkpath(Out);
    Run = std::make_unique<TBatchRun>(Host, Files);
    Run->SourceFolder = Src;
    Run->Settings.ExportFolder = Out;
  }

  // A W x H picture of reproducible pixels saved as Name in the source folder.
  void AddImage(const QString& Name, int W, int H, unsigned Seed) {
    TBitmap B(W, H);
    FillRandom(B, Seed);
    OptionsOE.DisableErrorMsg = true;
    ASSERT_TRUE(SaveBitmapToFile(Src + u'/' + Name, B));
    Files.Names.append(Name);
  }
  void AddBroken(const QString& Name) {
    QFile F(Src + u'/' + Name);
    ASSERT_TRUE(F.open(QIODevice::WriteOnly));
    F.write("\x89PNG\r\n\x1a\n not an image at all");
    Files.Names.append(Name);
  }
  static void Load(const QString& Path, TBitmap& B) {
    QString Name = Path;
    OptionsOE.DisableErrorMsg = true;
    ASSERT_TRUE(LoadBitmapFromFile(Name, B, QString())) << Path.toStdString();
    B.SetPixelFormat(pf24bit);
  }
  QStringList OutFiles() const { return QDir(Out).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
};

struct TPipelineCase {
  const char* Name;
  std::function<void(TBatchSettings&)> Set;
  // The expected output of one source, by the routines called directly;
  // null when only the names and sizes are checked.
  std::function<void(TBitmap&)> Expected;
  QStringList OutNames;
  int OutW, OutH;
};

class BatchPipelineCases : public BatchRunTest, public ::testing::WithParamInterface<TPipelineCase> {};

TEST_P(BatchPipelineCases, SavesEachFileByTheNamingRule) {
  const TPipelineCase& C = GetParam();
  AddImage(QStringLiteral("a.png"), 21, 13, 1);
  AddImage(QStringLiteral("b.bmp"), 21, 13, 2);
  C.Set(Run->Settings);
  ASSERT_TRUE(Run->RunBatch());
  EXPECT_EQ(OutFiles(), C.OutNames);
  EXPECT_TRUE(Run->ListeErreurs.isEmpty());
  for (int I = 0; I < 2; ++I) {
    TBitmap Actual;
    Load(Out + u'/' + C.OutNames[I], Actual);
    EXPECT_EQ(Actual.Width(), C.OutW);
    EXPECT_EQ(Actual.Height(), C.OutH);
    if (!C.Expected) continue;
    TBitmap Expected;
    Load(Src + u'/' + Files.Names[I], Expected);
    C.Expected(Expected);
    EXPECT_IMAGES_MATCH(Actual, Expected, 0, C.Name);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Steps, BatchPipelineCases,
    ::testing::Values(
        TPipelineCase{"flip_png",
                      [](TBatchSettings& S) {
                        S.ExportFormat = bfPng;
                        S.Flip = true;
                      },
                      [](TBitmap& B) { FlipBitmapVertical(B); },
                      {"a.png", "b.png"}, 21, 13},
        TPipelineCase{"mirror_and_turn_bmp",
                      [](TBatchSettings& S) {
                        S.ExportFormat = bfBmp;
                        S.Flip = true;
                        S.FlipKind = 1;
                        S.Rotation = true;
                        S.RotationKind = 1;
                      },
                      [](TBitmap& B) {
                        RotateBitmap90(B, false);
                        FlipBitmapHorizontal(B);
                      },
                      {"a.bmp", "b.bmp"}, 13, 21},
        // Round takes halves to even: 10.5 -> 10, 6.5 -> 6.
        TPipelineCase{"resize_percent_nearest",
                      [](TBatchSettings& S) {
                        S.ExportFormat = bfPng;
                        S.Resize = true;
                        S.ResizePercent = true;
                        S.ResizeWidth = S.ResizeHeight = 50;
                        S.Optimise = false;
                      },
                      [](TBitmap& B) { StretchBitmapInPlace(10, 6, TStretchMode::smNearest, B); },
                      {"a.png", "b.png"}, 10, 6},
        TPipelineCase{"sequence_jpeg", [](TBatchSettings& S) { S.Sequence = true; }, nullptr,
                      {"Image0001.jpg", "Image0002.jpg"}, 21, 13},
        TPipelineCase{"frame_outside_then_negative",
                      [](TBatchSettings& S) {
                        S.ExportFormat = bfPng;
                        S.Negative = true;
                        S.Frame = true;
                        S.FrameWidth = 3;
                        S.FrameOutside = true;
                        S.FrameColor = 0x123456;
                      },
                      [](TBitmap& B) {
                        Negative24(B, WholeBitmapRect);
                        AddBorder(B, 3, 0x123456, true);
                      },
                      {"a.png", "b.png"}, 27, 19},
        // Canvas 0 x 0 with a shadow of 7: the image's size plus the shadow.
        TPipelineCase{"canvas_with_shadow",
                      [](TBatchSettings& S) {
                        S.ExportFormat = bfPng;
                        S.Canvas = true;
                        S.Shadow = true;
                        S.ShadowSize = 7;
                        S.Anchor = poTopLeft;
                      },
                      nullptr, {"a.png", "b.png"}, 28, 20}),
    [](const ::testing::TestParamInfo<TPipelineCase>& I) { return std::string(I.param.Name); });

TEST_F(BatchRunTest, CanvasOfTheImagesOwnSizeChangesNothingEvenWithAShadow) {
  AddImage(QStringLiteral("a.png"), 21, 13, 3);
  Run->Settings.ExportFormat = bfPng;
  Run->Settings.Canvas = true;
  Run->Settings.CanvasWidth = 21;
  Run->Settings.CanvasHeight = 13;
  Run->Settings.Shadow = true;
  ASSERT_TRUE(Run->RunBatch());
  EXPECT_EQ(Host.SizeChanges, 0);
  TBitmap Actual, Expected;
  Load(Out + QStringLiteral("/a.png"), Actual);
  Load(Src + QStringLiteral("/a.png"), Expected);
  EXPECT_IMAGES_MATCH(Actual, Expected);
}

// The saved file's own depth, read from its header.
int PngBitDepth(const QString& Path) {
  QFile F(Path);
  if (!F.open(QIODevice::ReadOnly)) return -1;
  const QByteArray H = F.read(26);
  return H.size() == 26 && uint8_t(H[25]) == 3 ? uint8_t(H[24]) : -uint8_t(H[25]);
}
int GifGlobalColours(const QString& Path) {
  QFile F(Path);
  if (!F.open(QIODevice::ReadOnly)) return -1;
  const QByteArray H = F.read(13);
  return H.size() == 13 ? 2 << (uint8_t(H[10]) & 7) : -1;
}

TEST_F(BatchRunTest, ColourCountGivesPalettedFilesAndIsIgnoredForJpeg) {
  AddImage(QStringLiteral("a.png"), 16, 16, 4);
  Run->Settings.ExportFormat = bfPng;
  Run->Settings.ColorCountIndex = 2;
  ASSERT_TRUE(Run->RunBatch());
  EXPECT_EQ(PngBitDepth(Out + QStringLiteral("/a.png")), 4);

  // Dithered black and white as GIF: two colours, only black and white.
  Files.IndexImage = 0;
  Run->Settings.ExportFormat = bfGif;
  Run->Settings.ColorCountIndex = 4;
  ASSERT_TRUE(Run->RunBatch());
  EXPECT_EQ(GifGlobalColours(Out + QStringLiteral("/a.gif")), 2);
  TBitmap Gif;
  Load(Out + QStringLiteral("/a.gif"), Gif);
  for (int Y = 0; Y < Gif.Height(); ++Y)
    for (int X = 0; X < Gif.Width(); ++X) {
      const TRGB P = Px(Gif, X, Y);
      ASSERT_TRUE(P == Grey(0) || P == Grey(255)) << X << "," << Y;
    }

  Run->Settings.ExportFormat = bfJpeg;
  Run->Settings.ColorCountIndex = 2;
  EXPECT_EQ(BatchColorCount(Run->Settings), 0);
}

TEST_F(BatchRunTest, BrokenFilesAreReportedAndTheRunGoesOn) {
  AddImage(QStringLiteral("a.png"), 8, 8, 5);
  AddBroken(QStringLiteral("broken.png"));
  AddImage(QStringLiteral("c.png"), 8, 8, 6);
  Run->Settings.ExportFormat = bfPng;
  ASSERT_TRUE(Run->RunBatch());
  EXPECT_EQ(Host.Lines, (QStringList{"", "Fichiers traités :", "  - a.png", "  - c.png", "", "Fichiers en erreur :",
                                     "  - broken.png"}));
  EXPECT_EQ(OutFiles(), (QStringList{"a.png", "c.png"}));
  EXPECT_EQ(Host.Captions, (QStringList{"Lumaretique 11 - 1/3 (33%)", "Lumaretique 11 - 2/3 (66%)",
                                        "Lumaretique 11 - 3/3 (100%)", "Lumaretique 11"}));
  // The file layer's messages are back on after the run.
  EXPECT_FALSE(OptionsOE.DisableErrorMsg);
}

TEST_F(BatchRunTest, AFailedSaveListsTheOutputNameAndTenNamesAtMost) {
  for (int I = 0; I < 15; ++I) AddImage(QStringLiteral("f%1.png").arg(I, 2, 10, QLatin1Char('0')), 4, 4, I);
  Run->Settings.ExportFolder = Dir.path() + QStringLiteral("/missing");
  Run->Settings.ExportFormat = bfPng;
  Run->Settings.Sequence = true;
  ASSERT_TRUE(Run->RunBatch());
  ASSERT_EQ(Run->ListeErreurs.size(), 15);
  EXPECT_EQ(Run->ListeErreurs[3], QStringLiteral("Image0004.png"));
  const QStringList Tail = Host.Lines.mid(Host.Lines.indexOf(QStringLiteral("Fichiers en erreur :")) + 1);
  ASSERT_EQ(Tail.size(), 11);
  EXPECT_EQ(Tail[0], QStringLiteral("  - Image0001.png"));
  EXPECT_EQ(Tail[10], QStringLiteral("  ..."));
  EXPECT_FALSE(QDir(Dir.path() + QStringLiteral("/missing")).exists());
}

TEST_F(BatchRunTest, OutputNamedLikeItsSourceReplacesItWhole) {
  AddImage(QStringLiteral("a.png"), 9, 7, 7);
  TBitmap Expected;
  Load(Src + QStringLiteral("/a.png"), Expected);
  FlipBitmapVertical(Expected);
  Run->Settings.ExportFolder = Src;
  Run->Settings.ExportFormat = bfPng;
  Run->Settings.Flip = true;
  ASSERT_TRUE(Run->RunBatch());
  EXPECT_EQ(QDir(Src).entryList(QDir::Files | QDir::Hidden), QStringList{"a.png"});
  TBitmap Actual;
  Load(Src + QStringLiteral("/a.png"), Actual);
  EXPECT_IMAGES_MATCH(Actual, Expected);
}

TEST_F(BatchRunTest, ConfirmedCancelStopsBeforeTheSaveAndLeavesNoFile) {
  AddImage(QStringLiteral("a.png"), 8, 8, 8);
  AddImage(QStringLiteral("b.png"), 8, 8, 9);
  Run->Settings.ExportFormat = bfPng;
  Run->Settings.Negative = true;
  Run->Settings.Flip = true;
  // Pumps of the first file: after its load, negative, flip, after the
  // save; the second file's negative is pump 6.
  Host.CancelAtPump = 6;
  EXPECT_FALSE(Run->RunBatch());
  EXPECT_EQ(OutFiles(), QStringList{"a.png"});
  EXPECT_EQ(Host.Questions, 1);
  EXPECT_EQ(Host.Lines, (QStringList{"", "Fichiers traités :", "  - a.png"}));
  EXPECT_EQ(Host.Captions.last(), QStringLiteral("Lumaretique 11"));
  EXPECT_FALSE(IsBatchRunning());
}

TEST_F(BatchRunTest, AnsweringNoLetsTheRunFinish) {
  AddImage(QStringLiteral("a.png"), 8, 8, 10);
  AddImage(QStringLiteral("b.png"), 8, 8, 11);
  Run->Settings.ExportFormat = bfPng;
  Host.CancelAtPump = 1;
  Host.Answer = false;
  EXPECT_TRUE(Run->RunBatch());
  EXPECT_EQ(Host.Questions, 1);
  EXPECT_EQ(OutFiles(), (QStringList{"a.png", "b.png"}));
}

TEST_F(BatchRunTest, ForcedResolutionIsWrittenIntoTheFile) {
  AddImage(QStringLiteral("a.png"), 8, 8, 12);
  Run->Settings.ExportFormat = bfPng;
  Run->Settings.ForceDpi = true;
  Run->Settings.Dpi = 300;
  ASSERT_TRUE(Run->RunBatch());
  ResetLoadResults();
  ASSERT_TRUE(ReadImageInfo(Out + QStringLiteral("/a.png")));
  EXPECT_NEAR(OptionsOE.XDpi, 300, 0.5);
}

TEST_F(BatchRunTest, TheSaveHookSetsTheJpegQuality) {
  AddImage(QStringLiteral("a.png"), 64, 64, 13);
  const auto SizeAt = [this](int Quality) {
    ImageIOHook = [Quality](const TImageIOSender& Sender, const QString&, bool&, TImageIOStage Event) {
      BatchSaveHook(Quality, Sender, Event);
    };
    Files.IndexImage = 0;
    EXPECT_TRUE(Run->RunBatch());
    ImageIOHook = nullptr;
    return QFileInfo(Out + QStringLiteral("/a.jpg")).size();
  };
  EXPECT_LT(SizeAt(10) * 2, SizeAt(100));
}

TEST(BatchFileList, CustomSelectionTakesTheSelectedEntriesInOrder) {
  TBatchFileList L;
  for (int I = 0; I < 12; ++I) L.Names.append(QString::number(I));
  EXPECT_EQ(L.BatchFileCount(), 12);
  L.SelectionOnly = true;
  L.Selected = {false, false, true, false, false, false, false, true, false, false, false, true};
  EXPECT_EQ(L.BatchFileCount(), 3);
  EXPECT_EQ(L.NextFileName(), QStringLiteral("2"));
  EXPECT_EQ(L.NextFileName(), QStringLiteral("7"));
  EXPECT_EQ(L.NextFileName(), QStringLiteral("11"));
  EXPECT_EQ(L.NextFileName(), QString());
  EXPECT_EQ(BatchProgressCaption(1, 12), QStringLiteral("Lumaretique 11 - 1/12 (8%)"));
}

TEST(BatchNaming, SequenceAndExtensionRules) {
  EXPECT_EQ(SequenceFileName(QStringLiteral("Image"), 3, bfJpeg), QStringLiteral("Image0003.jpg"));
  EXPECT_EQ(SequenceFileName(QStringLiteral("Photo"), 12345, bfTiff), QStringLiteral("Photo12345.tif"));
  TBatchSettings S;
  S.ExportFormat = bfGif;
  EXPECT_EQ(BatchOutputName(S, QStringLiteral("x.y/photo.jpeg"), 1), QStringLiteral("x.y/photo.gif"));
  EXPECT_EQ(BatchOutputName(S, QStringLiteral("noext"), 1), QStringLiteral("noext.gif"));
}

TEST(BatchResize, TargetSizes) {
  TBatchSettings S;
  S.ResizePercent = true;
  S.ResizeWidth = S.ResizeHeight = 50;
  EXPECT_EQ(BatchResizeTarget(S, 801, 601).Width, 400);
  EXPECT_EQ(BatchResizeTarget(S, 801, 601).Height, 300);
  S.ResizePercent = false;
  S.ResizeWidth = 800.7;
  S.ResizeHeight = 600;
  EXPECT_EQ(BatchResizeTarget(S, 400, 100).Width, 800); // enlarged, keeping the ratio
  EXPECT_EQ(BatchResizeTarget(S, 400, 100).Height, 200);
  S.KeepRatio = false;
  EXPECT_EQ(BatchResizeTarget(S, 400, 100).Width, 800);
  EXPECT_EQ(BatchResizeTarget(S, 400, 100).Height, 600);
}

TEST(BatchCorrections, ChannelSetsAndAutoLevelsOnASmallImage) {
  int R, G, B;
  SetChannelOffsets(R, G, B, 20, 3);
  EXPECT_EQ((std::array{R, G, B}), (std::array{0, 0, 20}));
  SetChannelOffsets(R, G, B, 20, 5);
  EXPECT_EQ((std::array{R, G, B}), (std::array{20, 0, 20}));
  double FR, FG, FB;
  SetChannelFactors(FR, FG, FB, 2.0, 4);
  EXPECT_EQ((std::array{FR, FG, FB}), (std::array{1.0, 2.0, 2.0}));

  // Narrower than 5 pixels: the whole image is measured. Grey 100 has the
  // mean 100 everywhere, so gamma 1.33 lifts it to trunc(255 (100/255)^(1/1.33)).
  TBitmap Img(4, 3, pf24bit, RGB(100, 100, 100));
  EXPECT_TRUE(AutoLevels24(Img, CentralSampleRect(Img), WholeBitmapRect));
  EXPECT_EQ(Px(Img, 0, 0), Grey(126));
  // Without mid-tones nothing changes.
  TBitmap Dark(4, 3, pf24bit, RGB(10, 10, 10));
  EXPECT_FALSE(AutoLevels24(Dark, CentralSampleRect(Dark), WholeBitmapRect));
  EXPECT_EQ(Px(Dark, 3, 2), Grey(10));
}

} // namespace
