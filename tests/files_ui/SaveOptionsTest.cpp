#include "files/ui/SaveOptions.h"

#include "document/LayerStream.h"
#include "document/ui/MyImageLayeredView.h"
#include "files/FreeImage.h"
#include "files/FreeUtils.h"
#include "files/MyJpegImage.h"
#include "i18n/LibLang.h"
#include "raster/FilterEvent.h"
#include "raster/FoncUtils.h"
#include "support/ImageCompare.h"
#include "ui/MsgDlg.h"
#include "ui/RadioGroup.h"
#include "ui/TrackBar.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

class TFakeSaveHost : public TSaveOptionsHost {
public:
  bool SaveDefault() const override { return Default; }
  TPixelFormat SaveBitmapPixelFormat() const override { return Format; }
  TMyImageLayeredView* ActiveImageView() const override { return View; }
  bool Default = false;
  TPixelFormat Format = pf24bit;
  TMyImageLayeredView* View = nullptr;
};

// Runs Act on the dialog once it shows; the dialog is cancelled afterwards
// unless Act closed it.
void WhenShown(std::function<void(TSaveOpForm&)> Act) {
  QTimer::singleShot(0, [Act] {
    TSaveOpForm& F = SaveOpForm();
    EXPECT_TRUE(F.isVisible());
    Act(F);
    if (F.isVisible()) F.BAnnuler->click();
  });
}

// Records (and cancels) every showing of the dialog.
class TDialogWatch {
public:
  TDialogWatch() {
    Timer.setInterval(10);
    QObject::connect(&Timer, &QTimer::timeout, [this] {
      for (QWidget* W : QApplication::topLevelWidgets())
        if (auto* F = qobject_cast<TSaveOpForm*>(W); F && F->isVisible()) {
          Pages.push_back(F->Format());
          F->BAnnuler->click();
        }
    });
    Timer.start();
  }
  QTimer Timer;
  std::vector<int> Pages;
};

class SaveOptionsTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(IniDir.isValid());
    SetDialogsIniFile(IniDir.filePath("Lumaretique.ini"));
    DialogParams = true;
    SetSaveOptionsHost(&Host);
    OptionsOE.SilentMode = false;
    OptionsOE.GIFInterlaced = false;
    OptionsOE.GIFOptimizeColorMap = true;
    OptionsOE.XComment = QStringLiteral("comment");
    SetLayerCompression(1);
    PreserveExif = true;
  }
  void TearDown() override {
    FreeSaveOpForm();
    SetSaveOptionsHost(nullptr);
    DialogParams = false;
    DialogsIniFile.clear();
    OptionsOE.SilentMode = false;
    OptionsOE.GIFInterlaced = false;
    OptionsOE.GIFOptimizeColorMap = true;
    ClearOptionsMetadata();
    SetLayerCompression(1);
    PreserveExif = true;
    ResetTranslations();
  }
  // An image window's view over a random 48 x 32 background.
  std::unique_ptr<TMyImageLayeredView> MakeView(bool WithMetadata) {
    auto View = std::make_unique<TMyImageLayeredView>();
    TBitmap Bmp;
    Bmp.SetPixelFormat(pf24bit);
    Bmp.SetSize(48, 32);
    FillRandom(Bmp, 7);
    View->Image().AddBackground(&Bmp, nullptr, QStringLiteral("#0"));
    if (WithMetadata) View->Image().Metadata.Append(TFreeTag{0, "Comment", 0, 2, 3, {'h', 'i', 0}});
    Host.View = View.get();
    return View;
  }

  QTemporaryDir IniDir;
  TFakeSaveHost Host;
};

} // namespace

TEST_F(SaveOptionsTest, SaveDefaultAppliesEveryDefaultWithoutAsking) {
  Host.Default = true;
  TDialogWatch Watch;
  TMyJpegImage Jpeg;
  Jpeg.CompressionQuality = 40;
  Jpeg.ProgressiveEncoding = true;
  EXPECT_TRUE(GetJpegSaveOptions(&Jpeg));
  EXPECT_EQ(Jpeg.CompressionQuality, 90);
  EXPECT_FALSE(Jpeg.ProgressiveEncoding);
  TFreeBitmap FreeJpeg;
  EXPECT_TRUE(GetJpegSaveOptions(&FreeJpeg));
  EXPECT_EQ(FreeJpeg.IOFlag(), 90 + JpegOptimize);
  EXPECT_EQ(OptionsOE.XComment, "comment"); // metadata kept

  TMyPngImage Png;
  Png.Filters = PngFilterAll;
  Png.InterlaceMethod = imAdam7;
  Png.CompressionLevel = 9;
  EXPECT_TRUE(GetPngSaveOptions(Png));
  EXPECT_EQ(Png.Filters, PngFilterSub);
  EXPECT_EQ(Png.InterlaceMethod, imNone);
  EXPECT_EQ(Png.CompressionLevel, 7);

  OptionsOE.GIFInterlaced = true;
  OptionsOE.GIFOptimizeColorMap = false;
  EXPECT_TRUE(GetGifSaveOptions());
  EXPECT_FALSE(OptionsOE.GIFInterlaced);
  EXPECT_TRUE(OptionsOE.GIFOptimizeColorMap);

  TFreeBitmap Tga, Tif;
  Tga.SetTargaRle(true);
  Tif.SetTiffCompression(TiffLzw);
  EXPECT_TRUE(GetTargaSaveOptions(Tga));
  EXPECT_TRUE(GetTiffSaveOptions(Tif));
  EXPECT_EQ(Tga.IOFlag(), 0);
  EXPECT_EQ(Tif.IOFlag(), TiffDefault);

  SetLayerCompression(0);
  EXPECT_TRUE(GetOwnFormatSaveOptions());
  EXPECT_TRUE(LayerCompression);

  QApplication::processEvents();
  EXPECT_TRUE(Watch.Pages.empty());
}

TEST_F(SaveOptionsTest, SilentModeDefaultsJpegAndPngOnly) {
  OptionsOE.SilentMode = true;
  TDialogWatch Watch;
  TMyJpegImage Jpeg;
  Jpeg.CompressionQuality = 40;
  TMyPngImage Png;
  Png.CompressionLevel = 9;
  EXPECT_TRUE(GetJpegSaveOptions(&Jpeg));
  EXPECT_TRUE(GetPngSaveOptions(Png));
  EXPECT_EQ(Jpeg.CompressionQuality, 90);
  EXPECT_EQ(Png.CompressionLevel, 7);
  EXPECT_TRUE(Watch.Pages.empty());

  // The others still ask; cancelling answers false and copies nothing.
  OptionsOE.GIFInterlaced = true;
  TFreeBitmap Tga, Tif;
  Tga.SetIOFlag(77);
  Tif.SetIOFlag(77);
  SetLayerCompression(0);
  EXPECT_FALSE(GetGifSaveOptions());
  EXPECT_FALSE(GetTargaSaveOptions(Tga));
  EXPECT_FALSE(GetTiffSaveOptions(Tif));
  EXPECT_FALSE(GetOwnFormatSaveOptions());
  EXPECT_EQ(Watch.Pages, (std::vector<int>{spGif, spTarga, spTiff, spLMI}));
  EXPECT_TRUE(OptionsOE.GIFInterlaced);
  EXPECT_EQ(Tga.IOFlag(), 77);
  EXPECT_EQ(Tif.IOFlag(), 77);
  EXPECT_FALSE(LayerCompression);
}

TEST_F(SaveOptionsTest, WebpNeverAsks) {
  TDialogWatch Watch;
  TFreeBitmap Webp;
  Host.Format = pf32bit;
  EXPECT_TRUE(SetWebpOptions(Webp));
  EXPECT_EQ(Webp.IOFlag(), WebpLossless);
  Host.Format = pf24bit;
  EXPECT_TRUE(SetWebpOptions(Webp));
  EXPECT_EQ(Webp.IOFlag(), 0);
  QApplication::processEvents();
  EXPECT_TRUE(Watch.Pages.empty());
}

TEST_F(SaveOptionsTest, JpegPageSetsQualityAndProgressive) {
  struct TCase {
    int Quality;
    bool Progressive;
  };
  for (const TCase C : {TCase{55, true}, TCase{100, false}, TCase{10, true}}) {
    SCOPED_TRACE(C.Quality);
    TMyJpegImage Jpeg;
    WhenShown([&](TSaveOpForm& F) {
      EXPECT_EQ(F.windowTitle(), "JPEG");
      EXPECT_FALSE(F.BApercu->isHidden());
      EXPECT_EQ(F.DialogMode, TMainDialogMode::dmDialog);
      EXPECT_EQ(F.windowModality(), Qt::NonModal);
      F.TBN->SetPosition(C.Quality);
      EXPECT_EQ(F.LblN->text(), QString("Compression : %1").arg(C.Quality));
      (C.Progressive ? F.RBProgressif : F.RBStandard)->setChecked(true);
      F.BOk->click();
    });
    EXPECT_TRUE(GetJpegSaveOptions(&Jpeg));
    EXPECT_EQ(Jpeg.CompressionQuality, C.Quality);
    EXPECT_EQ(Jpeg.ProgressiveEncoding, C.Progressive);

    TFreeBitmap Free;
    WhenShown([](TSaveOpForm& F) { F.BOk->click(); });
    EXPECT_TRUE(GetJpegSaveOptions(&Free));
    EXPECT_EQ(Free.IOFlag(), C.Quality + JpegOptimize + (C.Progressive ? JpegProgressive : 0));
  }
  // Another graphic is left alone, and a cancel leaves the image as it was.
  TBitmap Other;
  WhenShown([](TSaveOpForm& F) { F.BOk->click(); });
  EXPECT_TRUE(GetJpegSaveOptions(&Other));
  TMyJpegImage Jpeg;
  Jpeg.CompressionQuality = 33;
  WhenShown([](TSaveOpForm& F) { F.TBN->SetPosition(80); });
  EXPECT_FALSE(GetJpegSaveOptions(&Jpeg));
  EXPECT_EQ(Jpeg.CompressionQuality, 33);
}

TEST_F(SaveOptionsTest, ExifBoxOfferedOnlyForMetadataItCanKeep) {
  struct TCase {
    bool Preserve, Metadata, Tick;
    bool Offered, Cleared;
  };
  const TCase Cases[] = {
      {true, true, true, true, false},  // kept
      {true, true, false, true, true},  // the user drops it
      {true, false, true, false, true}, // nothing to keep: hidden, SaveExif false
      {false, true, true, false, true}, // the setting is off
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.Preserve << C.Metadata << C.Tick);
    PreserveExif = C.Preserve;
    auto View = MakeView(C.Metadata);
    OptionsOE.XComment = QStringLiteral("comment");
    TMyJpegImage Jpeg;
    bool Offered = false;
    int StatusTop = 0, ExifTop = 0;
    WhenShown([&](TSaveOpForm& F) {
      Offered = F.CBExif->isVisible();
      StatusTop = F.LblStatut->y();
      ExifTop = F.CBExif->y();
      F.CBExif->setChecked(C.Tick);
      F.BOk->click();
    });
    EXPECT_TRUE(GetJpegSaveOptions(&Jpeg));
    EXPECT_EQ(Offered, C.Offered);
    EXPECT_EQ(SaveOpForm().SaveExif(), C.Offered && C.Tick);
    EXPECT_EQ(OptionsOE.XComment.isEmpty(), C.Cleared);
    // The status line takes the box's place when the box is hidden.
    EXPECT_EQ(StatusTop == ExifTop, !C.Offered);
  }
}

TEST_F(SaveOptionsTest, PngPageSetsFiltersInterlaceAndLevel) {
  struct TCase {
    int Item;
    bool Interlace, Optimise;
    TPngFilters Filters;
  };
  const TCase Cases[] = {{0, false, false, PngFilterNone}, {1, true, false, PngFilterSub},
                         {2, false, true, PngFilterUp},    {3, false, false, PngFilterAverage},
                         {4, true, true, PngFilterPaeth},  {5, false, false, PngFilterAll}};
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Item);
    TMyPngImage Png;
    WhenShown([&](TSaveOpForm& F) {
      EXPECT_EQ(F.windowTitle(), "PNG");
      EXPECT_TRUE(F.BApercu->isHidden());
      EXPECT_EQ(F.windowModality(), Qt::ApplicationModal);
      F.RBFiltres->SetItemIndex(C.Item);
      F.CBEntrelacer->setChecked(C.Interlace);
      F.CBOptimiser->setChecked(C.Optimise);
      F.BOk->click();
    });
    EXPECT_TRUE(GetPngSaveOptions(Png));
    EXPECT_EQ(Png.Filters, C.Filters);
    EXPECT_EQ(Png.InterlaceMethod, C.Interlace ? imAdam7 : imNone);
    EXPECT_EQ(Png.CompressionLevel, C.Optimise ? 9 : 7);
  }
}

TEST_F(SaveOptionsTest, StoredChoicesReturnButLiveSettingsWin) {
  // Ok stores the choices; the next dialog (even a new one) starts from them.
  TMyPngImage Png;
  WhenShown([](TSaveOpForm& F) {
    EXPECT_EQ(F.RBFiltres->ItemIndex(), 1); // the default its caption names
    F.RBFiltres->SetItemIndex(4);
    F.BOk->click();
  });
  ASSERT_TRUE(GetPngSaveOptions(Png));
  FreeSaveOpForm();
  int Item = -1;
  WhenShown([&](TSaveOpForm& F) {
    Item = F.RBFiltres->ItemIndex();
    F.RBFiltres->SetItemIndex(2); // cancelled: not stored
  });
  EXPECT_FALSE(GetPngSaveOptions(Png));
  EXPECT_EQ(Item, 4);
  WhenShown([&](TSaveOpForm& F) { Item = F.RBFiltres->ItemIndex(); });
  GetPngSaveOptions(Png);
  EXPECT_EQ(Item, 4);

  // The GIF and layered boxes show the current settings, not the stored ones.
  WhenShown([](TSaveOpForm& F) {
    F.CBEntrelacer2->setChecked(false);
    F.CBPalette->setChecked(false);
    F.BOk->click();
  });
  ASSERT_TRUE(GetGifSaveOptions());
  EXPECT_FALSE(OptionsOE.GIFInterlaced);
  EXPECT_FALSE(OptionsOE.GIFOptimizeColorMap);
  OptionsOE.GIFInterlaced = true;
  OptionsOE.GIFOptimizeColorMap = true;
  bool Interlaced = false, Palette = false;
  WhenShown([&](TSaveOpForm& F) {
    EXPECT_EQ(F.windowTitle(), "GIF");
    Interlaced = F.CBEntrelacer2->isChecked();
    Palette = F.CBPalette->isChecked();
    F.BOk->click();
  });
  ASSERT_TRUE(GetGifSaveOptions());
  EXPECT_TRUE(Interlaced);
  EXPECT_TRUE(Palette);
  EXPECT_TRUE(OptionsOE.GIFInterlaced);

  bool Compressed = true;
  WhenShown([&](TSaveOpForm& F) {
    EXPECT_EQ(F.windowTitle(), "LMI");
    Compressed = F.CBCompressLMI->isChecked();
    F.CBCompressLMI->setChecked(true);
    F.BOk->click();
  });
  SetLayerCompression(0);
  ASSERT_TRUE(GetOwnFormatSaveOptions());
  EXPECT_FALSE(Compressed);
  EXPECT_TRUE(LayerCompression);
  WhenShown([](TSaveOpForm& F) {
    F.CBCompressLMI->setChecked(false);
    F.BOk->click();
  });
  ASSERT_TRUE(GetOwnFormatSaveOptions());
  EXPECT_FALSE(LayerCompression);
}

TEST_F(SaveOptionsTest, TargaRle) {
  for (const bool Rle : {true, false}) {
    TFreeBitmap Tga;
    Tga.SetIOFlag(77);
    WhenShown([&](TSaveOpForm& F) {
      EXPECT_EQ(F.windowTitle(), "Targa");
      F.CBTargaRLE->setChecked(Rle);
      F.BOk->click();
    });
    EXPECT_TRUE(GetTargaSaveOptions(Tga));
    EXPECT_EQ(Tga.IOFlag(), Rle ? TargaSaveRle : 0);
  }
}

TEST_F(SaveOptionsTest, TiffCompressionsFollowThePixelFormat) {
  struct TCase {
    TPixelFormat Format;
    QStringList Items;
    int Shown; // item 0, or the last choice where this list has it
    int Pick;
    int Flag;
  };
  const TCase Cases[] = {
      {pf1bit, {"CCITT FAX4"}, 0, 0, TiffCcittFax4},
      {pf24bit, {"LZW", "PACKBITS", "DEFLATE", "JPEG"}, 0, 3, TiffJpeg},
      {pf8bit, {"LZW", "PACKBITS", "DEFLATE"}, 0, 2, TiffDeflate},
      {pf24bit, {"LZW", "PACKBITS", "DEFLATE", "JPEG"}, 2, 0, TiffLzw},
      {pf32bit, {"LZW", "PACKBITS", "DEFLATE"}, 0, 1, TiffPackbits},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(testing::Message() << int(C.Format) << " " << C.Pick);
    Host.Format = C.Format;
    TFreeBitmap Tif;
    QStringList Items;
    int Shown = -1;
    WhenShown([&](TSaveOpForm& F) {
      EXPECT_EQ(F.windowTitle(), "TIFF");
      for (int I = 0; I < F.CmbTiffList->count(); ++I) Items.append(F.CmbTiffList->itemText(I));
      Shown = F.CmbTiffList->currentIndex();
      F.CmbTiffList->setCurrentIndex(C.Pick);
      F.BOk->click();
    });
    EXPECT_TRUE(GetTiffSaveOptions(Tif));
    EXPECT_EQ(Items, C.Items);
    EXPECT_EQ(Shown, C.Shown);
    EXPECT_EQ(Tif.IOFlag(), C.Flag);
  }
  // Unticking Compression disables the list and writes "no compression".
  TFreeBitmap Tif;
  bool ListEnabled = true;
  WhenShown([&](TSaveOpForm& F) {
    F.CBCompressTiff->click();
    ListEnabled = F.CmbTiffList->isEnabled();
    F.BOk->click();
  });
  EXPECT_TRUE(GetTiffSaveOptions(Tif));
  EXPECT_FALSE(ListEnabled);
  EXPECT_EQ(Tif.IOFlag(), TiffNone);
  // The stored unticked box comes back with its list disabled.
  WhenShown([&](TSaveOpForm& F) {
    EXPECT_FALSE(F.CBCompressTiff->isChecked());
    ListEnabled = F.CmbTiffList->isEnabled();
  });
  EXPECT_FALSE(GetTiffSaveOptions(Tif));
  EXPECT_FALSE(ListEnabled);
}

TEST_F(SaveOptionsTest, JpegPreviewShowsTheDecodedImageAndTheFileSize) {
  QTemporaryDir Temp;
  ASSERT_TRUE(Temp.isValid());
  qputenv("TMPDIR", Temp.path().toLocal8Bit());
  auto View = MakeView(false);
  TBitmap Original;
  Original.Assign(View->Image().Layers()[0].Bitmap());

  // The reference: the same pixels through the same coder at quality 75.
  const QString RefPath = QDir(Temp.path()).filePath("reference.jpg");
  TJPEGImage Ref;
  Ref.Assign(Original);
  Ref.CompressionQuality = 75;
  Ref.SaveToFile(RefPath);
  const int64_t RefSize = QFileInfo(RefPath).size();
  Ref.LoadFromFile(RefPath);
  QFile::remove(RefPath);

  QString Status;
  bool PaintingOff = false;
  int Passes = 0;
  WhenShown([&](TSaveOpForm& F) {
    F.TBN->SetPosition(75);
    F.RBStandard->setChecked(true);
    F.BApercu->click();
    Status = F.LblStatut->text();
    PaintingOff = View->DisableLayersPainting;
    Passes = ProgressState().Passes;
    EXPECT_IMAGES_MATCH(View->Image().Bitmap(), Ref.Bitmap(), 0);
    EXPECT_FALSE(Original.QImageView() == View->Image().Bitmap().QImageView());
  });
  TMyJpegImage Jpeg;
  EXPECT_FALSE(GetJpegSaveOptions(&Jpeg));
  qunsetenv("TMPDIR");
  EXPECT_EQ(Status, "Taille du fichier : " + FormatByteSize(RefSize, false));
  EXPECT_TRUE(PaintingOff);
  EXPECT_EQ(Passes, 1);
  EXPECT_TRUE(QDir(Temp.path()).entryList(QDir::Files).isEmpty()); // the scratch file is gone
  // Hiding the dialog gives the layers back to the window.
  EXPECT_FALSE(View->DisableLayersPainting);
}

TEST_F(SaveOptionsTest, JpegPreviewFailureCleansUpAndReports) {
  QTemporaryDir Temp;
  ASSERT_TRUE(Temp.isValid());
  // A folder where the scratch file should go cannot be written over; a
  // missing temporary folder must not send the file elsewhere.
  ASSERT_TRUE(QDir(Temp.path()).mkpath("blocked/TestLumaretique.jpg"));
  for (const QString& Folder : {QDir(Temp.path()).filePath("blocked"), QDir(Temp.path()).filePath("missing")}) {
    SCOPED_TRACE(Folder.toStdString());
    qputenv("TMPDIR", Folder.toLocal8Bit());
    auto View = MakeView(false);
    std::vector<TMsgDlgRequest> Messages;
    TScopedMsgDlgAnswers Answers([&](const TMsgDlgRequest& R) {
      Messages.push_back(R);
      return TMsgDlgAnswer{mrOk, {}};
    });
    Qt::CursorShape Cursor = Qt::BusyCursor;
    WhenShown([&](TSaveOpForm& F) {
      EXPECT_ANY_THROW(F.BApercuClick());
      Cursor = QGuiApplication::overrideCursor() ? QGuiApplication::overrideCursor()->shape() : Qt::BitmapCursor;
      EXPECT_EQ(ProgressState().Passes, 1);
      F.BApercu->click(); // through the button: the user is told
      EXPECT_TRUE(F.LblStatut->text().isEmpty());
    });
    TMyJpegImage Jpeg;
    EXPECT_FALSE(GetJpegSaveOptions(&Jpeg));
    qunsetenv("TMPDIR");
    EXPECT_EQ(Cursor, Qt::ArrowCursor); // the dialog's: the hourglass is gone
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Messages[0].Kind, mdkError);
    EXPECT_FALSE(View->DisableLayersPainting);
  }
  EXPECT_FALSE(QFileInfo::exists(QDir::current().filePath("TestLumaretique.jpg")));
  EXPECT_TRUE(QFileInfo(QDir(Temp.path()).filePath("blocked/TestLumaretique.jpg")).isDir());
}

TEST_F(SaveOptionsTest, LanguageModuleRecaptions) {
  {
    TSaveOpForm F;
    // The item its caption calls the default, without a language module too.
    EXPECT_EQ(F.RBFiltres->ItemIndex(), 1);
    EXPECT_EQ(F.RBFiltres->Items()[1], "Différence (défaut)");
    EXPECT_EQ(F.CBExif->text(), "Conserver les informations EXIF/IPTC");
    EXPECT_EQ(F.LblN->text(), "Compression : 90");
    EXPECT_EQ(F.CBExif->isChecked(), PreserveExif);
  }
  ASSERT_TRUE(SetTranslation(TrId::GetTrLblFilterType, "Filtering"));
  ASSERT_TRUE(SetTranslation(TrId::GetTrLblSub, "Sub"));
  ASSERT_TRUE(SetTranslation(TrId::GetTrLblPreserveExif, "Keep EXIF/IPTC"));
  ASSERT_TRUE(SetTranslation(TrId::GetTrFmtCompress, "Quality: %d"));
  ASSERT_TRUE(SetTranslation(TrId::GetDlgCancel, "Cancel"));
  SetTranslationLoaded(true);
  PreserveExif = false;
  TSaveOpForm F;
  EXPECT_EQ(F.RBFiltres->ItemIndex(), 1);
  EXPECT_EQ(F.RBFiltres->title(), " Filtering ");
  EXPECT_EQ(F.RBFiltres->Items()[1], "Sub");
  EXPECT_EQ(F.RBFiltres->Items()[2], "Haut"); // left empty by the module: the form's text stays
  EXPECT_EQ(F.CBExif->text(), "Keep EXIF/IPTC");
  EXPECT_EQ(F.BAnnuler->text(), "Cancel");
  EXPECT_EQ(F.LblN->text(), "Quality: 90");
  EXPECT_FALSE(F.CBExif->isChecked());
}
