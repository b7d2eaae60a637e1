// The load and save dispatch with the FreeImage library loaded: the formats
// it alone handles, the files the basic readers give up on, and the writer
// it becomes for every other extension.
#include "files/BmpOE2.h"

#include "FreeImageTestSupport.h"
#include "document/MyImageLayered.h"
#include "files/BmpFile.h"
#include "files/FreeMetadata.h"
#include "files/FreeUtils.h"
#include "i18n/Format.h"
#include "i18n/LibLang.h"
#include "platform/SafeFile.h"
#include "raster/DataFileError.h"
#include "support/ImageCompare.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

class BmpOE2FreeImage : public ::testing::Test {
protected:
  void SetUp() override {
    if (!EnsureFreeImage()) GTEST_SKIP() << "no Plugins_64/FreeImage_64.lml beside the test program";
    OptionsOE = TOptionsOE();
    ImageIOHook = [this](const TImageIOSender& Sender, const QString&, bool&, TImageIOStage Stage) {
      Senders.push_back({Stage, Sender.index()});
    };
    OldHandler = SetFileErrorHandler([this](const QString& M) { Messages << M; });
  }
  void TearDown() override {
    SetFileErrorHandler(OldHandler);
    ImageIOHook = nullptr;
    SetSafeFileWriteLimit(-1);
    OptionsOE = TOptionsOE();
  }
  TTestFolder Folder;
  QStringList Messages;
  std::vector<std::pair<TImageIOStage, size_t>> Senders;
  TFileErrorHandler OldHandler;
};

constexpr size_t SenderFree = 5;

// Soft enough for the lossy coders to keep every pixel close.
PBitmap Gradient(int Width, int Height) {
  auto P = std::make_unique<TBitmap>(Width, Height, pf24bit, clBlack);
  for (int Y = 0; Y < Height; ++Y)
    for (int X = 0; X < Width; ++X) {
      uint8_t* Px = P->ScanLine(Y) + 3 * X;
      Px[0] = uint8_t(40 + X * 2), Px[1] = uint8_t(60 + Y * 3), Px[2] = uint8_t(200 - X - Y);
    }
  return P;
}

struct TFreeCase {
  const char* Ext;
  bool Alpha;
  int Tolerance;
  bool KeepsDpi;
};

// Saved through SaveImageFile from a document's record, loaded back through
// LoadDocumentImage: pixels, resolution and the comment where the format
// keeps one.
TEST_F(BmpOE2FreeImage, FormatsOfTheLibraryRoundTrip) {
  for (const TFreeCase& C : {TFreeCase{"tif", true, 0, true}, TFreeCase{"tga", true, 0, false},
                             TFreeCase{"jpg", false, 8, true}, TFreeCase{"webp", false, 16, false}}) {
    SCOPED_TRACE(C.Ext);
    const PBitmap Source = C.Tolerance ? Gradient(48, 32) : WithAlphaRamp(*SmoothImage(48, 32));
    TMyImageLayered Saved;
    Saved.ResolutionX = Saved.ResolutionY = 150;
    SetMetadataComment(Saved.Metadata, "Bonjour");
    AssignSaveInfo(Saved);
    Senders.clear();
    QString Name = Folder.Path(QStringLiteral("picture.") + C.Ext);
    ASSERT_TRUE(SaveImageFile(Name, *Source, &Saved, QString()));
    ASSERT_EQ(Senders.size(), 2u);
    EXPECT_EQ(Senders[0].second, SenderFree);

    Senders.clear();
    TMyImageLayered Loaded;
    ASSERT_TRUE(LoadDocumentImage(Name, Loaded));
    ASSERT_EQ(Senders.size(), 2u);
    EXPECT_EQ(Senders[0].second, SenderFree);
    EXPECT_FALSE(OptionsOE.XBadFormat);
    EXPECT_EQ(Loaded.Bitmap().PixelFormat(), C.Alpha ? pf32bit : pf24bit);
    EXPECT_IMAGES_MATCH(Loaded.Bitmap(), *Source, C.Tolerance);
    const QString Comment = OptionsOE.XComment;
    AssignLoadInfo(Loaded);
    EXPECT_DOUBLE_EQ(Loaded.ResolutionX, C.KeepsDpi ? 150 : 96);
    if (std::string(C.Ext) == "jpg") {
      EXPECT_EQ(Comment, QStringLiteral("Bonjour"));
      EXPECT_EQ(GetMetadataComment(Loaded.Metadata), "Bonjour");
    }
  }
  EXPECT_TRUE(Messages.isEmpty()) << Messages.join('\n').toStdString();
}

TEST_F(BmpOE2FreeImage, BrokenBasicFilesAreRetriedThroughTheLibrary) {
  // A BMP file under a PNG name: the PNG reader fails, FreeImage reads it by
  // its content and says so.
  const QString Name = Folder.Path(QStringLiteral("really-a-bitmap.png"));
  const PBitmap Source = SmoothImage(9, 7);
  SaveBitmapToBmpFile(Name, *Source, 0);
  TBitmap Loaded;
  QString FileName = Name;
  ASSERT_EQ(LoadImageFile(FileName, Loaded, QString()), iorDone);
  EXPECT_TRUE(OptionsOE.XBadFormat);
  EXPECT_IMAGES_MATCH(*To24(Loaded), *Source);
  // The PNG reader's event 0, then the library's 0 and 1.
  ASSERT_EQ(Senders.size(), 3u);
  EXPECT_EQ(Senders[0].second, size_t(2));
  EXPECT_EQ(Senders[2].second, SenderFree);
  EXPECT_TRUE(ReadImageInfo(Name));
  EXPECT_EQ(OptionsOE.GraphicWidth + OptionsOE.GraphicHeight, 0) << "ReadImageInfo applies no fix-ups";

  // A refusal of the basic reader is not retried.
  ImageIOHook = [](const TImageIOSender&, const QString&, bool& Continue, TImageIOStage) { Continue = false; };
  EXPECT_EQ(LoadImageFile(FileName, Loaded, QString()), iorRefused);

  // A PNG file nobody can decode is reported once, as cut short.
  ImageIOHook = nullptr;
  const QString Broken = Folder.Path(QStringLiteral("broken.png"));
  WriteBytes(Broken, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13});
  FileName = Broken;
  EXPECT_EQ(LoadImageFile(FileName, Loaded, QString()), iorFailed);
  EXPECT_EQ(Messages,
            QStringList{Format(Tr(TrId::GetOeMsgErrorOpening), {Broken}) + '\r' + Tr(TrId::GetOeMsgTruncated)});

  // Text under an image name: no reader knows it, with or without the library.
  const QString Text = Folder.Path(QStringLiteral("notes.png"));
  WriteBytes(Text, {'T', 'o', ' ', 'd', 'o', ':', ' ', 'b', 'u', 'y', ' ', 'm', 'i', 'l', 'k'});
  Messages.clear();
  FileName = Text;
  EXPECT_EQ(LoadImageFile(FileName, Loaded, QString()), iorFailed);
  EXPECT_EQ(Messages,
            QStringList{Format(Tr(TrId::GetOeMsgErrorOpening), {Text}) + '\r' + Tr(TrId::GetOeMsgNotAnImage)});
}

TEST_F(BmpOE2FreeImage, TargaGoesToTheLibraryOnlyWhenItIsLoaded) {
  TBitmap Bitmap(6, 4, pf24bit, clBlue);
  const QString Name = Folder.Path(QStringLiteral("texture.tga"));
  EXPECT_EQ(WriteImageFile(Name, Bitmap), iorDone);
  {
    TWithoutFreeImage Without;
    EXPECT_EQ(WriteImageFile(Folder.Path(QStringLiteral("other.tga")), Bitmap), iorNotThisFormat);
    EXPECT_FALSE(QFile::exists(Folder.Path(QStringLiteral("other.tga"))));
  }
  // A full disk keeps the file written before, and leaves nothing beside it.
  const auto Before = ReadBytes(Name);
  SetSafeFileWriteLimit(10);
  TBitmap Other(6, 4, pf24bit, clRed);
  EXPECT_FALSE(SaveBitmapToFile(Name, Other));
  SetSafeFileWriteLimit(-1);
  EXPECT_EQ(ReadBytes(Name), Before);
  EXPECT_EQ(QDir(Folder.Path(QString())).entryList(QDir::Files | QDir::Hidden), QStringList{"texture.tga"});
  EXPECT_EQ(Messages, QStringList{Format(Tr(TrId::GetOeMsgErrorSaving), {Name})});
}

} // namespace
