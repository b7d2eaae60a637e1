#include "files/BmpOE2.h"

#include "document/MyImageLayered.h"
#include "document/MyImageLayeredReg.h"
#include "files/BmpFile.h"
#include "files/FreeImageProvider.h"
#include "files/FreeUtils.h"
#include "files/GifImage.h"
#include "files/IconStream.h"
#include "files/MyJpegImage.h"
#include "files/MyPngImage.h"
#include "i18n/Format.h"
#include "i18n/LibLang.h"
#include "platform/Icon.h"
#include "platform/SafeFile.h"
#include "raster/DataFileError.h"
#include "raster/Transparency.h"

#include "FileTestSupport.h"
#include "support/ChildCost.h"
#include "support/ImageCompare.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct TEventRecord {
  TImageIOStage Stage;
  size_t Sender; // the variant's alternative
  QString FileName;
};

// Puts the record, the hook, the seams and the error handler back as a fresh
// process has them, and collects the error messages.
class BmpOE2Test : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_FALSE(HasFreeImage());
    OptionsOE = TOptionsOE();
    ImageIOHook = nullptr;
    SetImageFileDialogs(nullptr, nullptr);
    SetImageIOModules(nullptr);
    OldHandler = SetFileErrorHandler([this](const QString& M) { Messages << M; });
  }
  void TearDown() override {
    SetFileErrorHandler(OldHandler);
    ImageIOHook = nullptr;
    SetImageFileDialogs(nullptr, nullptr);
    SetImageIOModules(nullptr);
    SetSafeFileWriteLimit(-1);
    OptionsOE = TOptionsOE();
  }
  // Every event into Events; Refuse answers false at that stage.
  void RecordEvents(int Refuse = -1, std::function<void(const TImageIOSender&, TImageIOStage)> Also = {}) {
    ImageIOHook = [this, Refuse, Also](const TImageIOSender& Sender, const QString& FileName, bool& Continue,
                                       TImageIOStage Event) {
      EXPECT_TRUE(Continue) << "Continue starts true";
      Events.push_back({Event, Sender.index(), FileName});
      if (Also) Also(Sender, Event);
      if (int(Event) == Refuse) Continue = false;
    };
  }
  static QString LoadMessage(const QString& Name) { return Format(Tr(TrId::GetOeMsgErrorOpening), {Name}); }
  static QString SaveMessage(const QString& Name) { return Format(Tr(TrId::GetOeMsgErrorSaving), {Name}); }

  TTestFolder Folder;
  QStringList Messages;
  std::vector<TEventRecord> Events;
  TFileErrorHandler OldHandler;
};

// Alternatives of TImageIOSender.
constexpr size_t SenderNone = 0, SenderBitmap = 1, SenderPng = 2, SenderJpeg = 3, SenderGif = 4, SenderReg = 6,
                 SenderLayered = 7;

PBitmap FewColours(int Width, int Height) {
  static const TColor Colours[] = {0x0000FF, 0x00FF00, 0xFF0000, 0x808080, 0x00FFFF, 0xFFFFFF};
  auto P = std::make_unique<TBitmap>(Width, Height, pf24bit, clBlack);
  for (int Y = 0; Y < Height; ++Y)
    for (int X = 0; X < Width; ++X) {
      const TColor C = Colours[(X / 3 + Y / 2) % 6];
      uint8_t* Px = P->ScanLine(Y) + 3 * X;
      Px[0] = uint8_t(C >> 16), Px[1] = uint8_t(C >> 8), Px[2] = uint8_t(C);
    }
  return P;
}

// Soft enough for JPEG to keep every pixel close.
PBitmap Gradient(int Width, int Height) {
  auto P = std::make_unique<TBitmap>(Width, Height, pf24bit, clBlack);
  for (int Y = 0; Y < Height; ++Y)
    for (int X = 0; X < Width; ++X) {
      uint8_t* Px = P->ScanLine(Y) + 3 * X;
      Px[0] = uint8_t(40 + X * 2), Px[1] = uint8_t(60 + Y * 3), Px[2] = uint8_t(200 - X - Y);
    }
  return P;
}

// ---- Round trips -------------------------------------------------------------------

struct TRoundTrip {
  const char* Ext;
  std::function<PBitmap()> Make;
  int Tolerance;
  bool KeepsDpi;
  bool KeepsComment;
};

class BmpOE2RoundTrip : public BmpOE2Test, public ::testing::WithParamInterface<TRoundTrip> {};

TEST_P(BmpOE2RoundTrip, SavedImageLoadsBackWithResolutionAndComment) {
  const TRoundTrip& C = GetParam();
  PBitmap Source = C.Make();
  TMyImageLayered Saved;
  Saved.ResolutionX = Saved.ResolutionY = 150;
  Saved.Comment = QStringLiteral("Vue du port été");
  AssignSaveInfo(Saved);
  QString Name = Folder.Path(QStringLiteral("picture.") + C.Ext);
  ASSERT_TRUE(SaveImageFile(Name, *Source, &Saved, QString()));

  TMyImageLayered Loaded;
  ASSERT_TRUE(LoadDocumentImage(Name, Loaded));
  EXPECT_EQ(OptionsOE.GraphicWidth, Source->Width());
  EXPECT_EQ(OptionsOE.GraphicHeight, Source->Height());
  EXPECT_EQ(Loaded.Bitmap().PixelFormat(), Source->PixelFormat() == pf32bit ? pf32bit : Loaded.Bitmap().PixelFormat());
  EXPECT_IMAGES_MATCH(*To24(Loaded.Bitmap()), *To24(*Source), C.Tolerance);
  if (Source->PixelFormat() == pf32bit) {
    ASSERT_EQ(Loaded.Bitmap().PixelFormat(), pf32bit);
    for (int Y = 0; Y < Source->Height(); ++Y)
      for (int X = 0; X < Source->Width(); ++X)
        ASSERT_EQ(Loaded.Bitmap().ScanLine(Y)[4 * X + 3], Source->ScanLine(Y)[4 * X + 3]) << X << "," << Y;
  }
  if (Source->Transparent) {
    EXPECT_TRUE(Loaded.Bitmap().Transparent);
    EXPECT_EQ(Loaded.Bitmap().TransparentColor() & 0xFFFFFF, Source->TransparentColor() & 0xFFFFFF);
  }
  AssignLoadInfo(Loaded);
  EXPECT_DOUBLE_EQ(Loaded.ResolutionX, C.KeepsDpi ? 150 : 96);
  EXPECT_DOUBLE_EQ(Loaded.ResolutionY, C.KeepsDpi ? 150 : 96);
  EXPECT_EQ(Loaded.Comment, C.KeepsComment ? Saved.Comment : QString());
  EXPECT_TRUE(OptionsOE.XComment.isEmpty()) << "AssignLoadInfo clears the comment";
  EXPECT_TRUE(Messages.isEmpty()) << Messages.join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Formats, BmpOE2RoundTrip,
    ::testing::Values(TRoundTrip{"bmp", [] { return WithAlphaRamp(*SmoothImage(37, 23)); }, 0, true, false},
                      TRoundTrip{"png", [] { return WithAlphaRamp(*SmoothImage(37, 23)); }, 0, true, true},
                      TRoundTrip{"gif",
                                 [] {
                                   PBitmap B = FewColours(37, 23);
                                   B->Transparent = true;
                                   B->SetTransparentColor(0x808080);
                                   return B;
                                 },
                                 0, false, true},
                      TRoundTrip{"jpg", [] { return Gradient(64, 48); }, 6, true, false}),
    [](const auto& Info) { return std::string(Info.param.Ext); });

// Opening a photograph costs its bitmap and a few megabytes: the readers read
// the file as they decode, straight into the bitmap the document keeps, and
// the chain moves that bitmap instead of copying it. A second copy of the
// pixels would double the peak; the sanitizers' own bookkeeping takes a few
// megabytes and an eighth of what is allocated.
TEST_F(BmpOE2Test, OpeningAPictureCostsItsBitmapAndAFewMegabytes) {
  const PBitmap Photo = SmoothImage(4000, 3000);
  const int64_t BitmapKB = int64_t(Photo->RowStride()) * Photo->Height() / 1024;
  for (const char* Ext : {"jpg", "png"}) {
    SCOPED_TRACE(Ext);
    const QString Name = Folder.Path(QStringLiteral("photo.") + Ext);
    ASSERT_TRUE(SaveBitmapToFile(Name, *Photo));
    const TChildCost Cost = MeasureInChild([&] {
      TMyImageLayered Image;
      return LoadDocumentImage(Name, Image) && Image.Bitmap().Width() == 4000 ? 1 : 0;
    });
    ASSERT_TRUE(Cost.Exited) << Cost.Failure;
    EXPECT_EQ(Cost.Result, 1);
    EXPECT_LT(Cost.PeakKB, BitmapKB * 3 / 2);
  }
}

TEST_F(BmpOE2Test, LayeredFileKeepsLayersResolutionAndComment) {
  TMyImageLayered Saved;
  PBitmap Bkg = SmoothImage(40, 30);
  Saved.AddBackground(Bkg.get(), nullptr, QStringLiteral("#0"));
  TBitmap Top(12, 9, pf24bit, clRed);
  TBitmap Mask(12, 9, pf24bit, clBlack);
  for (int X = 0; X < 6; ++X) Mask.ScanLine(2)[3 * X] = Mask.ScanLine(2)[3 * X + 1] = Mask.ScanLine(2)[3 * X + 2] = 200;
  Saved.AddLayer(&Top, &Mask, {5, 7}, 70, QStringLiteral("Calque"));
  Saved.ResolutionX = Saved.ResolutionY = 200;
  Saved.Comment = QStringLiteral("Deux calques");
  AssignSaveInfo(Saved);
  TBitmap Unused;
  RecordEvents();
  QString Name = Folder.Path(QStringLiteral("layers.lmi"));
  ASSERT_TRUE(SaveImageFile(Name, Unused, &Saved, QString()));
  ASSERT_EQ(Events.size(), 2u);
  EXPECT_EQ(Events[0].Sender, SenderLayered);
  EXPECT_EQ(Events[1].Stage, ieAfterSave);

  Events.clear();
  TMyImageLayered Loaded;
  ASSERT_TRUE(LoadDocumentImage(Name, Loaded));
  ASSERT_EQ(Events.size(), 2u);
  EXPECT_EQ(Events[0].Sender, SenderReg);
  EXPECT_TRUE(Loaded.Bitmap().Empty()) << "the header only: the image reads its layers itself";
  EXPECT_EQ(OptionsOE.GraphicWidth, 40);
  EXPECT_EQ(OptionsOE.GraphicHeight, 30);
  EXPECT_EQ(OptionsOE.XComment, Saved.Comment);
  AssignLoadInfo(Loaded);
  EXPECT_DOUBLE_EQ(Loaded.ResolutionX, 200);
  EXPECT_EQ(Loaded.Comment, Saved.Comment);
  ASSERT_TRUE(Loaded.LoadFromFile(Name));
  ASSERT_EQ(Loaded.Layers().Count(), 2);
  EXPECT_IMAGES_MATCH(Loaded.Layers()[0].Bitmap(), *Bkg);
  EXPECT_EQ(Loaded.Layers()[1].Pos, (TPoint{5, 7}));
  EXPECT_EQ(Loaded.Layers()[1].Opacity, 70);
  Saved.MergeLayersForPreview(false);
  Loaded.MergeLayersForPreview(false);
  EXPECT_IMAGES_MATCH(Loaded.Bitmap(), Saved.Bitmap());

  // With LMILoadLayer the merged preview is read into the bitmap.
  TBitmap Preview;
  ASSERT_TRUE(LoadBitmapFromFile(Name, Preview, QString()));
  EXPECT_IMAGES_MATCH(*To24(Preview), Saved.Bitmap(), 1);
}

// ---- The fix-ups of a load and the information read ---------------------------------

// The resolution read is the one a save writes back: 72 dpi stays 72, and
// only a file without one gets 96.
TEST_F(BmpOE2Test, Bmp72DpiKeepsItsResolutionThroughTheChainAndInfo) {
  const QString Name = Folder.Path(QStringLiteral("low.bmp"));
  PBitmap Source = SmoothImage(8, 6);
  SaveBitmapToBmpFile(Name, *Source, 72);
  TBitmap Loaded;
  QString FileName = Name;
  ASSERT_EQ(LoadImageFile(FileName, Loaded, QString()), iorDone);
  EXPECT_NEAR(OptionsOE.XDpi, 72, 0.05);
  EXPECT_EQ(OptionsOE.XBitsPerPixel, 24) << "taken from the bitmap";
  EXPECT_EQ(LoadedColorCount(), 16777216);

  for (const bool Disabled : {false, true}) {
    OptionsOE.DisableErrorMsg = Disabled;
    ASSERT_TRUE(ReadImageInfo(Name));
    EXPECT_NEAR(OptionsOE.XDpi, 72, 0.05);
    EXPECT_EQ(OptionsOE.XBitsPerPixel, 0) << "no fix-ups";
    EXPECT_EQ(OptionsOE.DisableErrorMsg, Disabled) << "left as it was found";
  }
  OptionsOE.DisableErrorMsg = false;
  const QString Bare = Folder.Path(QStringLiteral("bare.bmp"));
  SaveBitmapToBmpFile(Bare, *Source, 0);
  FileName = Bare;
  ASSERT_EQ(LoadImageFile(FileName, Loaded, QString()), iorDone);
  EXPECT_EQ(OptionsOE.XDpi, 96);
  EXPECT_FALSE(ReadImageInfo(Folder.Path(QStringLiteral("missing.png"))));
  EXPECT_FALSE(OptionsOE.DisableErrorMsg);
  EXPECT_TRUE(Messages.isEmpty());
}

TEST_F(BmpOE2Test, AnimatedGifLoadsItsFirstFrame) {
  TGIFImage Gif;
  Gif.Assign(*FewColours(10, 8));
  Gif.AddFrame(*FewColours(10, 8));
  const QString Name = Folder.Path(QStringLiteral("anim.gif"));
  Gif.SaveToFile(Name);
  TBitmap Loaded;
  QString FileName = Name;
  ASSERT_EQ(LoadImageFile(FileName, Loaded, QString()), iorDone);
  EXPECT_TRUE(OptionsOE.GIFAnimated);
  EXPECT_EQ(OptionsOE.XBitsPerPixel, 24);
  EXPECT_IMAGES_MATCH(*To24(Loaded), *FewColours(10, 8));

  Gif.Frames.resize(1);
  Gif.SaveToFile(Name);
  ASSERT_EQ(LoadImageFile(FileName, Loaded, QString()), iorDone);
  EXPECT_FALSE(OptionsOE.GIFAnimated);
  EXPECT_EQ(OptionsOE.XBitsPerPixel, 3) << "six colours";
}

TEST_F(BmpOE2Test, LoadResultsAreResetAndTheRecordMovesIntoTheDocument) {
  OptionsOE.XDpi = 71.96;
  OptionsOE.XComment = QStringLiteral("texte");
  TMyImageLayered Image;
  AssignLoadInfo(Image);
  EXPECT_DOUBLE_EQ(Image.ResolutionX, 72.0);
  EXPECT_EQ(Image.Comment, QStringLiteral("texte"));

  // With metadata, the list is shared and the comment stays in it.
  OptionsOE.XDpi = 123.46;
  OptionsOE.XComment = QStringLiteral("autre");
  AddAsciiTag(OptionsOE.XMetadata, fmdComments, "Comment", 0, "autre");
  const TMetadata Held = OptionsOE.XMetadata;
  AssignLoadInfo(Image);
  EXPECT_DOUBLE_EQ(Image.ResolutionX, 123.5);
  EXPECT_TRUE(Image.Metadata.SharesListWith(Held));
  EXPECT_EQ(Image.Comment, QStringLiteral("texte"));
  EXPECT_TRUE(OptionsOE.XMetadata.Empty());

  for (const bool Preserve : {true, false}) {
    const bool Old = PreserveExif;
    PreserveExif = Preserve;
    OptionsOE.XBitsPerPixel = 8;
    AssignSaveInfo(Image);
    PreserveExif = Old;
    EXPECT_EQ(OptionsOE.XBitsPerPixel, 0);
    EXPECT_DOUBLE_EQ(OptionsOE.XDpi, 123.5);
    EXPECT_EQ(OptionsOE.XComment, QStringLiteral("texte"));
    EXPECT_EQ(OptionsOE.XMetadata.SharesListWith(Image.Metadata), Preserve);
  }

  OptionsOE.GraphicWidth = OptionsOE.GraphicHeight = 5;
  OptionsOE.GIFAnimated = OptionsOE.XBadFormat = true;
  OptionsOE.XBitsPerPixel = 8;
  OptionsOE.XDpi = 300;
  ResetLoadResults();
  EXPECT_EQ(OptionsOE.GraphicWidth + OptionsOE.GraphicHeight + OptionsOE.XBitsPerPixel, 0);
  EXPECT_FALSE(OptionsOE.GIFAnimated || OptionsOE.XBadFormat);
  EXPECT_EQ(OptionsOE.XDpi, 96);
  EXPECT_TRUE(OptionsOE.XComment.isEmpty() && OptionsOE.XMetadata.Empty());
  EXPECT_TRUE(OptionsOE.GIFOptimizeColorMap) << "the GIF save options are kept";

  for (const auto& [Bits, Count] :
       std::vector<std::pair<int, int>>{{0, 1}, {1, 2}, {4, 16}, {8, 256}, {24, 16777216}}) {
    OptionsOE.XBitsPerPixel = uint8_t(Bits);
    EXPECT_EQ(LoadedColorCount(), Count) << Bits;
  }
}

// ---- The hook ------------------------------------------------------------------------

TEST_F(BmpOE2Test, HookSeesEachReaderAndWriterWithItsOwnGraphic) {
  struct TCase {
    const char* Ext;
    size_t LoadSender, SaveSender;
  };
  for (const TCase& C : {TCase{"bmp", SenderBitmap, SenderBitmap}, TCase{"png", SenderPng, SenderPng},
                         TCase{"gif", SenderGif, SenderGif}, TCase{"jpg", SenderJpeg, SenderJpeg}}) {
    SCOPED_TRACE(C.Ext);
    QString Name = Folder.Path(QStringLiteral("hook.") + C.Ext);
    TBitmap Bitmap(6, 5, pf24bit, clBlue);
    Events.clear();
    RecordEvents();
    ASSERT_TRUE(SaveImageFile(Name, Bitmap, nullptr, QString()));
    ASSERT_EQ(Events.size(), 2u);
    EXPECT_EQ(Events[0].Stage, ieBeforeSave);
    EXPECT_EQ(Events[0].Sender, C.SaveSender);
    EXPECT_EQ(Events[1].Stage, ieAfterSave);
    EXPECT_EQ(Events[1].Sender, C.SaveSender);
    EXPECT_EQ(Events[1].FileName, Name);

    Events.clear();
    TBitmap Loaded;
    ASSERT_EQ(LoadImageFile(Name, Loaded, QString()), iorDone);
    ASSERT_EQ(Events.size(), 2u);
    EXPECT_EQ(Events[0].Stage, ieBeforeLoad);
    EXPECT_EQ(Events[0].Sender, C.LoadSender);
    EXPECT_EQ(Events[1].Stage, ieAfterLoad);
    EXPECT_EQ(Events[1].Sender, C.LoadSender);
  }
}

TEST_F(BmpOE2Test, HookRefusesAtBeforeLoadAfterLoadAndBeforeSave) {
  const QString Png = Folder.Path(QStringLiteral("a.png"));
  const QString Bmp = Folder.Path(QStringLiteral("a.bmp"));
  TBitmap Red(4, 4, pf24bit, clRed);
  for (QString Name : {Png, Bmp}) ASSERT_TRUE(SaveBitmapToFile(Name, Red));

  for (const int Stage : {0, 1}) {
    for (const QString& Name : {Png, Bmp}) {
      SCOPED_TRACE(Name.toStdString() + " refused at " + std::to_string(Stage));
      RecordEvents(Stage);
      TBitmap Target(2, 2, pf24bit, clLime);
      QString FileName = Name;
      EXPECT_EQ(LoadImageFile(FileName, Target, QString()), iorRefused);
      EXPECT_EQ(Events.size(), size_t(Stage + 1));
      // Refused after the read: the results are set; the caller's bitmap is
      // untouched unless it read the file itself (BMP).
      if (Stage == 1 && Name == Bmp)
        EXPECT_IMAGES_MATCH(Target, Red);
      else
        EXPECT_IMAGES_MATCH(Target, TBitmap(2, 2, pf24bit, clLime));
      Events.clear();
    }
  }

  const auto Before = ReadBytes(Png);
  RecordEvents(2);
  TBitmap Blue(4, 4, pf24bit, clBlue);
  QString FileName = Png;
  EXPECT_FALSE(SaveImageFile(FileName, Blue, nullptr, QString()));
  EXPECT_EQ(Events.size(), 1u) << "no event 3 and no event 4 after a refusal";
  EXPECT_EQ(ReadBytes(Png), Before);
  FileName = Folder.Path(QStringLiteral("new.gif"));
  EXPECT_FALSE(SaveImageFile(FileName, Blue, nullptr, QString()));
  EXPECT_FALSE(QFile::exists(FileName));
  EXPECT_TRUE(Messages.isEmpty()) << "a refusal is never reported";
}

TEST_F(BmpOE2Test, HookFillsAnEmptyBitmapBeforeItIsWritten) {
  TBitmap Shared;
  RecordEvents(-1, [&Shared](const TImageIOSender&, TImageIOStage Stage) {
    if (Stage == ieBeforeSave) Shared.Assign(*SmoothImage(9, 7));
  });
  for (const char* Ext : {"png", "bmp"}) {
    Shared.ReleaseImage();
    QString Name = Folder.Path(QStringLiteral("filled.") + Ext);
    ASSERT_TRUE(SaveImageFile(Name, Shared, nullptr, QString()));
    TBitmap Loaded;
    ASSERT_EQ(LoadImageFile(Name, Loaded, QString()), iorDone);
    EXPECT_IMAGES_MATCH(Loaded, *SmoothImage(9, 7));
  }
}

// ---- Errors --------------------------------------------------------------------------

TEST_F(BmpOE2Test, ErrorsNameTheFileAndFireTheErrorEvent) {
  struct TCase {
    const char* Name;
    bool Save;
    TImageIOResult Expected;
  };
  const QString Broken = Folder.Path(QStringLiteral("broken.png"));
  WriteBytes(Broken, {0x89, 'P', 'N', 'G', 1, 2, 3});
  for (const TCase& C : {TCase{"missing.png", false, iorFailed}, TCase{"broken.png", false, iorFailed},
                         TCase{"picture.xyz", false, iorNotThisFormat}, TCase{"picture.tga", true, iorNotThisFormat},
                         TCase{"nofolder/picture.png", true, iorFailed}}) {
    SCOPED_TRACE(C.Name);
    Messages.clear();
    Events.clear();
    RecordEvents();
    QString Name = Folder.Path(QString::fromLatin1(C.Name));
    TBitmap Bitmap(3, 3, pf24bit, clRed);
    if (C.Save) {
      EXPECT_EQ(WriteImageFile(Name, Bitmap), C.Expected);
      EXPECT_FALSE(SaveImageFile(Name, Bitmap, nullptr, QString()));
      EXPECT_EQ(Messages, QStringList{SaveMessage(Name)});
    } else {
      EXPECT_EQ(LoadImageFile(Name, Bitmap, QString()), C.Expected);
      ASSERT_EQ(Messages.size(), 1);
      EXPECT_TRUE(Messages[0].startsWith(LoadMessage(Name))) << Messages[0].toStdString();
    }
    ASSERT_FALSE(Events.empty());
    EXPECT_EQ(Events.back().Stage, ieError);
    EXPECT_EQ(Events.back().Sender, SenderNone);
    EXPECT_EQ(Events.back().FileName, Name);
  }
  EXPECT_TRUE(Messages[0].contains(QStringLiteral("\"") + Folder.Path(QStringLiteral("nofolder/picture.png")) + "\""));
}

// When the reader knows why a file cannot be opened, the message keeps its
// text and names the reason on a second line: empty, too large, not an
// image (no reader knew its first bytes), cut short. A file whose format was
// known but whose data is wrong keeps the one-line message.
TEST_F(BmpOE2Test, KnownReasonsFollowTheMessageOnASecondLine) {
  const QString Empty = Folder.Path(QStringLiteral("empty.png"));
  WriteBytes(Empty, {});
  // A BMP header declaring 100000 x 100000 pixels.
  const QString Huge = Folder.Path(QStringLiteral("huge.bmp"));
  {
    TBitmap Small(4, 4, pf24bit, clRed);
    SaveBitmapToBmpFile(Huge, Small, 0);
    QFile File(Huge);
    ASSERT_TRUE(File.open(QIODevice::ReadWrite));
    const int32_t Side = 100000;
    File.seek(18);
    File.write(reinterpret_cast<const char*>(&Side), 4);
    File.write(reinterpret_cast<const char*>(&Side), 4);
  }
  const QString Text = Folder.Path(QStringLiteral("notes.png"));
  WriteBytes(Text, {'T', 'o', ' ', 'd', 'o', ':', ' ', 'b', 'u', 'y', ' ', 'm', 'i', 'l', 'k', '\n'});
  const QString TextJpeg = Folder.Path(QStringLiteral("notes.jpg"));
  WriteBytes(TextJpeg, ReadBytes(Text));

  // Real files cut short: each keeps its first bytes, so its reader knows it.
  const PBitmap Photo = SmoothImage(64, 48);
  const auto CutCopy = [&](const QString& Whole, const QString& Cut, size_t Keep) {
    std::vector<uint8_t> Bytes = ReadBytes(Whole);
    EXPECT_GT(Bytes.size(), Keep);
    Bytes.resize(Keep);
    WriteBytes(Cut, Bytes);
  };
  const QString WholePng = Folder.Path(QStringLiteral("whole.png"));
  ASSERT_TRUE(Photo->QImageView().save(WholePng));
  const QString CutPng = Folder.Path(QStringLiteral("cut.png"));
  CutCopy(WholePng, CutPng, ReadBytes(WholePng).size() / 2);
  const QString CutSignature = Folder.Path(QStringLiteral("cutsig.png"));
  CutCopy(WholePng, CutSignature, 5);
  const QString WholeBmp = Folder.Path(QStringLiteral("whole.bmp"));
  SaveBitmapToBmpFile(WholeBmp, *Photo, 0);
  const QString CutBmp = Folder.Path(QStringLiteral("cut.bmp"));
  CutCopy(WholeBmp, CutBmp, 200);
  const QString WholeJpeg = Folder.Path(QStringLiteral("whole.jpg"));
  ASSERT_TRUE(Photo->QImageView().save(WholeJpeg));
  const QString CutJpeg = Folder.Path(QStringLiteral("cut.jpg"));
  CutCopy(WholeJpeg, CutJpeg, 40);

  // A PNG whose header chunk fails its checksum: known, but damaged.
  const QString BadCrc = Folder.Path(QStringLiteral("badcrc.png"));
  {
    std::vector<uint8_t> Bytes = ReadBytes(WholePng);
    Bytes[29] ^= 0xFF;
    WriteBytes(BadCrc, Bytes);
  }

  const QString NotAnImage = Tr(TrId::GetOeMsgNotAnImage), Truncated = Tr(TrId::GetOeMsgTruncated);
  const std::pair<QString, QString> Cases[] = {
      {Empty, QStringLiteral("Le fichier est vide.")},
      {Huge, QString::fromUtf8("L'image est trop grande pour être ouverte.")},
      {Text, NotAnImage},
      {TextJpeg, NotAnImage},
      {CutPng, Truncated},
      {CutSignature, Truncated},
      {CutBmp, Truncated},
      {CutJpeg, Truncated},
      {BadCrc, QString()}};
  for (const auto& [File, Reason] : Cases) {
    SCOPED_TRACE(File.toStdString());
    Messages.clear();
    TBitmap Bitmap;
    QString Name = File;
    EXPECT_EQ(LoadImageFile(Name, Bitmap, QString()), iorFailed);
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_EQ(Messages[0], Reason.isEmpty() ? LoadMessage(File) : LoadMessage(File) + '\r' + Reason);
  }
}

TEST_F(BmpOE2Test, DisableErrorMsgSilencesExactlyOneReport) {
  QString Missing = Folder.Path(QStringLiteral("missing.bmp"));
  TBitmap Bitmap;
  OptionsOE.DisableErrorMsg = true;
  EXPECT_EQ(LoadImageFile(Missing, Bitmap, QString()), iorFailed);
  EXPECT_TRUE(Messages.isEmpty());
  EXPECT_FALSE(OptionsOE.DisableErrorMsg);
  EXPECT_EQ(LoadImageFile(Missing, Bitmap, QString()), iorFailed);
  EXPECT_EQ(Messages.size(), 1);

  // A save report also empties the metadata, whatever the result.
  AddAsciiTag(OptionsOE.XMetadata, fmdComments, "Comment", 0, "x");
  OptionsOE.DisableErrorMsg = true;
  EXPECT_TRUE(SaveBitmapToFile(Folder.Path(QStringLiteral("ok.bmp")), *SmoothImage(2, 2)));
  EXPECT_FALSE(OptionsOE.DisableErrorMsg);
  EXPECT_TRUE(OptionsOE.XMetadata.Empty());
}

TEST_F(BmpOE2Test, EmptyNameAsksTheDialogAndACancelIsNoError) {
  OptionsOE.XDpi = 42;
  TBitmap Bitmap;
  QString Name;
  EXPECT_EQ(LoadImageFile(Name, Bitmap, QStringLiteral("/start")), iorRefused);
  EXPECT_EQ(OptionsOE.XDpi, 42) << "no reset";
  EXPECT_FALSE(SaveImageFile(Name, Bitmap, nullptr, QStringLiteral("x.png")));

  const QString Chosen = Folder.Path(QStringLiteral("chosen.png"));
  QString AskedDir, AskedName;
  SetImageFileDialogs([&](const QString& Dir) { return AskedDir = Dir, Chosen; },
                      [&](const QString& Suggested) { return AskedName = Suggested, Chosen; });
  TBitmap Green(3, 2, pf24bit, clLime);
  EXPECT_TRUE(SaveImageFile(Name, Green, nullptr, QStringLiteral("proposal.png")));
  EXPECT_EQ(AskedName, QStringLiteral("proposal.png"));
  EXPECT_EQ(Name, Chosen);
  QString OpenName;
  EXPECT_EQ(LoadImageFile(OpenName, Bitmap, QStringLiteral("/start")), iorDone);
  EXPECT_EQ(AskedDir, QStringLiteral("/start"));
  EXPECT_EQ(OpenName, Chosen);
  EXPECT_IMAGES_MATCH(Bitmap, Green);
  EXPECT_TRUE(Messages.isEmpty());
}

TEST_F(BmpOE2Test, WithoutFreeImageJpegAndIconsHaveTheirReadersAndOtherNamesNone) {
  // A BMP file saved under .jpe goes to the JPEG reader, which refuses it;
  // under .tga no reader takes it.
  const QString Jpg = Folder.Path(QStringLiteral("fake.jpe"));
  SaveBitmapToBmpFile(Jpg, *SmoothImage(4, 4));
  TBitmap Bitmap;
  QString Name = Jpg;
  EXPECT_EQ(LoadImageFile(Name, Bitmap, QString()), iorFailed);
  const QString Tga = Folder.Path(QStringLiteral("real.tga"));
  SaveBitmapToBmpFile(Tga, *SmoothImage(4, 4));
  Name = Tga;
  EXPECT_EQ(LoadImageFile(Name, Bitmap, QString()), iorNotThisFormat);
  EXPECT_EQ(Messages, (QStringList{LoadMessage(Jpg), LoadMessage(Tga)}));

  // An icon goes to the platform's picture: event 0 without a Sender, its
  // masked pixels the transparent key colour.
  TBitmap Colour(5, 4, pf24bit, clRed);
  TBitmap Mask(5, 4, pf1bit, clBlack);
  Mask.SetPixelFormat(pf1bit);
  SetPixelIndex(Mask.ScanLine(0), 0, pf1bit, 1);
  TIcon Icon;
  ASSERT_TRUE(Icon.Create(Colour, Mask));
  const QString Ico = Folder.Path(QStringLiteral("small.ico"));
  {
    QFile F(Ico);
    ASSERT_TRUE(F.open(QIODevice::WriteOnly));
    WriteIcon(F, Icon, ifTrueColors);
  }
  RecordEvents();
  Name = Ico;
  ASSERT_EQ(LoadImageFile(Name, Bitmap, QString()), iorDone);
  ASSERT_EQ(Events.size(), 2u);
  EXPECT_EQ(Events[0].Sender, SenderNone);
  EXPECT_EQ(Events[1].Sender, SenderBitmap);
  EXPECT_TRUE(Bitmap.Transparent);
  EXPECT_EQ(Bitmap.PixelColor(0, 0), TransparentKeyColor);
  EXPECT_EQ(Bitmap.PixelColor(1, 0), clRed);
  EXPECT_EQ(Bitmap.PixelColor(4, 3), clRed);
  EXPECT_EQ(OptionsOE.GraphicWidth, 5);
}

// ---- A failed save leaves the old file whole -------------------------------------------

class BmpOE2FailedSave : public BmpOE2Test, public ::testing::WithParamInterface<const char*> {
protected:
  // Saves the first picture, then the second under Condition; the save must
  // fail with the message and leave the first file byte for byte, and no
  // temporary file beside it.
  void ExpectOldFileKept(const QString& Name, const std::function<void()>& Condition,
                         const std::function<void()>& Restore) {
    TMyImageLayered First, Second;
    First.AddBackground(SmoothImage(30, 20).get(), nullptr, QStringLiteral("#0"));
    Second.AddBackground(FewColours(30, 20).get(), nullptr, QStringLiteral("#0"));
    QString FileName = Name;
    ASSERT_TRUE(SaveImageFile(FileName, *SmoothImage(30, 20), &First, QString()));
    const auto Before = ReadBytes(Name);
    const QStringList FilesBefore = QDir(QFileInfo(Name).absolutePath()).entryList(QDir::Files | QDir::Hidden);
    Messages.clear();
    Condition();
    const bool Saved = SaveImageFile(FileName, *FewColours(30, 20), &Second, QString());
    Restore();
    EXPECT_FALSE(Saved);
    EXPECT_EQ(Messages, QStringList{SaveMessage(Name)});
    EXPECT_EQ(ReadBytes(Name), Before);
    EXPECT_EQ(QDir(QFileInfo(Name).absolutePath()).entryList(QDir::Files | QDir::Hidden), FilesBefore);
  }
};

TEST_P(BmpOE2FailedSave, FullDisk) {
  const QString Name = Folder.Path(QStringLiteral("full.") + GetParam());
  ExpectOldFileKept(
      Name, [] { SetSafeFileWriteLimit(100); }, [] { SetSafeFileWriteLimit(-1); });
}

TEST_P(BmpOE2FailedSave, ReadOnlyFile) {
  const QString Name = Folder.Path(QStringLiteral("locked.") + GetParam());
  const std::string Path = QFile::encodeName(Name).toStdString();
  ExpectOldFileKept(
      Name, [&] { ::chmod(Path.c_str(), 0444); }, [&] { ::chmod(Path.c_str(), 0644); });
}

TEST_P(BmpOE2FailedSave, FolderWithoutWritePermission) {
  if (::geteuid() == 0) GTEST_SKIP() << "the superuser writes into any folder";
  const QString Sub = Folder.Path(QStringLiteral("closed"));
  ASSERT_TRUE(QDir().mkpath(Sub));
  const std::string Path = QFile::encodeName(Sub).toStdString();
  ExpectOldFileKept(
      Sub + QStringLiteral("/picture.") + GetParam(), [&] { ::chmod(Path.c_str(), 0555); },
      [&] { ::chmod(Path.c_str(), 0755); });
}

INSTANTIATE_TEST_SUITE_P(Formats, BmpOE2FailedSave, ::testing::Values("lmi", "bmp", "png", "gif", "jpg"));

// ---- Import and export modules ----------------------------------------------------------

// A module host for ".xyz": import copies the file to a PNG swap file, export
// copies the swap file to the target.
class TFakeModules : public TImageIOModules {
public:
  explicit TFakeModules(const QString& Swap) : FSwap(Swap) {}
  bool FindImportPlugin(const QString& FileName) override { return FileName.endsWith(".xyz"); }
  QString ImportWithCurrentPlugin(const QString& FileName) override {
    QFile::copy(FileName, FSwap);
    return FSwap;
  }
  bool FindExportPlugin(const QString& FileName) override {
    ++ExportLookups;
    return FileName.endsWith(".xyz");
  }
  QString CurrentExportSwapPath() override { return FSwap; }
  bool ExportWithCurrentPlugin(const QString& Swap, const QString& FileName) override {
    return QFile::copy(Swap, FileName);
  }
  int ExportLookups = 0;

private:
  QString FSwap;
};

TEST_F(BmpOE2Test, ModulesGetTheFirstChanceAndTheirSwapFileIsRemoved) {
  const QString Swap = Folder.Path(QStringLiteral("swap.png"));
  TFakeModules Modules(Swap);
  SetImageIOModules(&Modules);
  PBitmap Source = SmoothImage(7, 5);
  QString Name = Folder.Path(QStringLiteral("module.xyz"));
  bool SilentAtBeforeSave = false;
  RecordEvents(-1, [&](const TImageIOSender&, TImageIOStage Stage) {
    if (Stage == ieBeforeSave) SilentAtBeforeSave = OptionsOE.SilentMode;
  });
  ASSERT_TRUE(SaveImageFile(Name, *Source, nullptr, QString()));
  EXPECT_TRUE(SilentAtBeforeSave) << "the swap file is written with the save options' defaults";
  EXPECT_FALSE(OptionsOE.SilentMode);
  EXPECT_FALSE(QFile::exists(Swap));
  ASSERT_FALSE(Events.empty());
  EXPECT_EQ(Events[0].FileName, Swap) << "the events carry the swap file's name";

  TBitmap Loaded;
  ASSERT_EQ(LoadImageFile(Name, Loaded, QString()), iorDone);
  EXPECT_IMAGES_MATCH(Loaded, *Source);
  EXPECT_FALSE(QFile::exists(Swap));

  TMyImageLayered Image;
  Image.AddBackground(Source.get(), nullptr, QStringLiteral("#0"));
  Modules.ExportLookups = 0;
  Name = Folder.Path(QStringLiteral("own.lmi"));
  ASSERT_TRUE(SaveImageFile(Name, *Source, &Image, QString()));
  EXPECT_EQ(Modules.ExportLookups, 0) << "a layered file never goes to a module";

  QFile::remove(Folder.Path(QStringLiteral("module.xyz")));
  Name = Folder.Path(QStringLiteral("module.xyz"));
  EXPECT_EQ(LoadImageFile(Name, Loaded, QString()), iorFailed) << "the module wrote no swap file";
}

} // namespace
