// Writers agree with readers: an image above the readers' pixel limit is
// refused by every format's save before its file is touched, with the save
// error naming the file; the old file stays whole and no temporary is left.
#include "files/BmpOE2.h"

#include "document/MyImageLayered.h"
#include "i18n/Format.h"
#include "i18n/LibLang.h"
#include "platform/FileLimits.h"
#include "raster/DataFileError.h"

#include "FileTestSupport.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

class SaveLimitTest : public ::testing::Test {
protected:
  void SetUp() override {
    OptionsOE = TOptionsOE();
    OldHandler = SetFileErrorHandler([this](const QString& M) { Messages << M; });
  }
  void TearDown() override {
    SetFileErrorHandler(OldHandler);
    OptionsOE = TOptionsOE();
  }
  // Saves through the dispatch, once onto nothing and once over an old file,
  // and checks both refusals.
  void ExpectRefused(const QString& Ext, const std::function<bool(QString&)>& Save) {
    QString Name = Folder.Path(QStringLiteral("new.") + Ext);
    Messages.clear();
    EXPECT_FALSE(Save(Name)) << Ext.toStdString();
    EXPECT_EQ(Messages, QStringList{Format(Tr(TrId::GetOeMsgErrorSaving), {Name})}) << Ext.toStdString();
    EXPECT_FALSE(QFile::exists(Name)) << Ext.toStdString();

    QString Old = Folder.Path(QStringLiteral("old.") + Ext);
    const std::vector<uint8_t> OldBytes = {'o', 'l', 'd'};
    WriteBytes(Old, OldBytes);
    EXPECT_FALSE(Save(Old)) << Ext.toStdString();
    EXPECT_EQ(ReadBytes(Old), OldBytes) << Ext.toStdString();
    EXPECT_EQ(Folder.Files(), QStringList{QStringLiteral("old.") + Ext}) << Ext.toStdString();
    QFile::remove(Old);
  }

  TTestFolder Folder;
  QStringList Messages;
  TFileErrorHandler OldHandler;
};

// One pixel row more than the limit allows. 1 bit per pixel and unfilled: the
// refusal must come before anything reads the pixels.
void MakeOverLimit(TBitmap& Bitmap) {
  Bitmap.SetPixelFormat(pf1bit);
  Bitmap.SetSizeUnfilled(16384, int(MaxReadPixels / 16384) + 1);
}

} // namespace

TEST_F(SaveLimitTest, EveryFormatRefusesAnImageNoReaderWouldOpenBeforeWriting) {
  TBitmap Big;
  MakeOverLimit(Big);
  for (const char* Ext : {"bmp", "png", "gif", "jpg"})
    ExpectRefused(QString::fromLatin1(Ext), [&](QString& Name) { return SaveImageFile(Name, Big, nullptr, {}); });

  TMyImageLayered Image;
  TBitmap Bkg(4, 4), Layer(2, 2);
  Image.AddBackground(&Bkg, nullptr, QStringLiteral("Fond"));
  Image.AddLayer(&Layer, nullptr, {0, 0}, 100, QStringLiteral("Big"));
  MakeOverLimit(Image.Layers()[1].Bitmap());
  TBitmap Unused;
  ExpectRefused(QStringLiteral("lmi"), [&](QString& Name) { return SaveImageFile(Name, Unused, &Image, {}); });
}
