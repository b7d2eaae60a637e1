// What the main window writes, read back: an image with transparency saved
// into a format without alpha, the size the JPEG preview foretells, the
// run-length BMP, the resolution of a layered file, and a JPEG cut short.
#include "MainFormFixture.h"

#include "app/ui/MainStatusBar.h"
#include "document/MyImageLayered.h"
#include "files/BmpExtOE.h"
#include "files/FreeImage.h"
#include "files/FreeImageProvider.h"
#include "files/ui/SaveOptions.h"
#include "raster/FoncUtils.h"
#include "support/ImageCompare.h"
#include "ui/TrackBar.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <cstring>

namespace {

// Large enough for the JPEG 2000 coder, which refuses below 32 pixels.
constexpr int W = 48, H = 36;
// The picture's colour (B, G, R) and its three bands of transparency: the
// top rows opaque, the middle half transparent, the bottom transparent.
constexpr uint8_t Blue = 200, Green = 40, Red = 10;
int MaskOfRow(int Y) { return Y < 12 ? 0 : Y < 24 ? 128 : 255; }

class SaveReadBackTest : public MainFormFixture {
protected:
  // A one-layer image of one colour whose background has its own
  // transparency (255 in the mask is transparent).
  void NewTransparentImage(TMainForm& Form) {
    TBitmap B(W, H, pf24bit, TColor(Red | Green << 8 | Blue << 16));
    Form.NouvelleImage(nullptr, &B, "", srcNew, 16777216);
    TLayerItem& Bkg = Form.Image().Layers()[0];
    Bkg.CheckCreateMask(false);
    for (int Y = 0; Y < H; ++Y) std::memset(Bkg.Mask().ScanLine(Y), MaskOfRow(Y), 3 * W);
  }
  // The program folder with the FreeImage library beside it.
  std::unique_ptr<TMainForm> StartWithFreeImage() {
    State.ProgramDir = QFileInfo(LUMA_EXECUTABLE).absolutePath() + "/";
    auto Form = Start();
    return Form;
  }
  struct TUnload {
    ~TUnload() { UnloadFreeImageLibrary(); }
  } Unload;
};

// The colour over white with the transparency of the row, as the window
// shows it.
uint8_t OverWhite(uint8_t C, int Y) { return uint8_t((C * (255 - MaskOfRow(Y)) + 255 * MaskOfRow(Y) + 127) / 255); }

void ExpectFlattenedOverWhite(const QString& File, int Tolerance) {
  const QImage Saved(File);
  ASSERT_FALSE(Saved.isNull()) << File.toStdString();
  for (int Y : {3, 18, 32}) {
    const QRgb P = Saved.pixel(W / 2, Y);
    EXPECT_NEAR(qRed(P), OverWhite(Red, Y), Tolerance) << File.toStdString() << " row " << Y;
    EXPECT_NEAR(qGreen(P), OverWhite(Green, Y), Tolerance) << File.toStdString() << " row " << Y;
    EXPECT_NEAR(qBlue(P), OverWhite(Blue, Y), Tolerance) << File.toStdString() << " row " << Y;
    if (Saved.hasAlphaChannel()) EXPECT_EQ(qAlpha(P), 255);
  }
}

} // namespace

// Saved into formats without alpha, the image is flattened over white as the
// window shows it, not written with black where it was transparent.
TEST_F(SaveReadBackTest, TransparencyIsFlattenedOverWhiteInFormatsWithoutAlpha) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  auto Form = Start();
  NewTransparentImage(*Form);
  Messages.Answers = {mrYes};
  ASSERT_TRUE(Form->Enregistrer(Path("flat.jpg"), "", false, true));
  EXPECT_EQ(Messages.Shown.size(), 1); // the question about the lost alpha
  ExpectFlattenedOverWhite(Path("flat.jpg"), 6);
  // The image itself keeps its transparency.
  EXPECT_EQ(Form->Image().Layers()[0].Mask().ScanLine(32)[0], 255);
}

// With the FreeImage library: JPEG, run-length BMP and JPEG 2000 alike.
TEST_F(SaveReadBackTest, TransparencyIsFlattenedThroughTheImageLibrary) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  auto Form = StartWithFreeImage();
  if (!IsFreeImageLoaded()) GTEST_SKIP() << "no FreeImage library beside the program";
  NewTransparentImage(*Form);
  for (const char* Name : {"flat.jpg", "flat.rle", "flat.jp2"}) {
    Messages.Answers = {mrYes};
    ASSERT_TRUE(Form->Enregistrer(Path(Name), "", false, true)) << Name;
    if (QString(Name).endsWith("jp2")) continue; // no reader here to look at it
    // What the editor wrote, the editor reads (RLE through its own reader).
    QString Read = Path(Name);
    TBitmap Back;
    ASSERT_TRUE(LoadBitmapFromFile(Read, Back, QString())) << Name;
    const QString Png = Path(QString(Name) + ".png");
    ASSERT_TRUE(Back.QImageView().save(Png, "PNG"));
    ExpectFlattenedOverWhite(Png, QString(Name).endsWith("rle") ? 8 : 6);
  }
  EXPECT_TRUE(QFileInfo(Path("flat.jp2")).size() > 0);
}

// The size the JPEG preview tells is the size of the file the save writes,
// with and without the image library.
TEST_F(SaveReadBackTest, JpegPreviewForetellsTheWrittenSize) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  TIniFile(State.MainIniFile).WriteString("Params", "SaveDefault", "0");
  for (const bool Library : {false, true}) {
    auto Form = Library ? StartWithFreeImage() : Start();
    if (Library && !IsFreeImageLoaded()) GTEST_SKIP() << "no FreeImage library beside the program";
    NewTransparentImage(*Form);
    Form->Image().ResolutionX = Form->Image().ResolutionY = 150;
    Form->Image().Comment = "Un commentaire";
    QString Status;
    QTimer Driver;
    Driver.setInterval(5);
    QObject::connect(&Driver, &QTimer::timeout, [&] {
      TSaveOpForm& F = SaveOpForm();
      if (!F.isVisible()) return;
      Driver.stop();
      F.TBN->SetPosition(70);
      F.BApercu->click();
      Status = F.LblStatut->text();
      F.BOk->click();
    });
    Driver.start();
    Messages.Answers = {mrYes};
    const QString File = Path(Library ? "library.jpg" : "own.jpg");
    ASSERT_TRUE(Form->Enregistrer(File, "", false, true));
    EXPECT_EQ(Status, "Taille du fichier : " + FormatByteSize(QFileInfo(File).size(), false)) << Library;
    ExpectFlattenedOverWhite(File, 12); // quality 70
    FreeSaveOpForm();
    Form.reset();
    UnloadFreeImageLibrary();
  }
}

// A file saved as ".rle" opens again, and the open dialog offers it.
TEST_F(SaveReadBackTest, RunLengthBmpOpensAgain) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  auto Form = StartWithFreeImage();
  if (!IsFreeImageLoaded()) GTEST_SKIP() << "no FreeImage library beside the program";
  const PBitmap B = Bands(33, 21);
  Form->NouvelleImage(nullptr, B.get(), "", srcNew, 4);
  ASSERT_TRUE(Form->Enregistrer(Path("bands.rle"), "", false, true));
  EXPECT_TRUE(Messages.Shown.isEmpty()) << Messages.Shown.join('|').toStdString();
  ASSERT_TRUE(Form->FermerImage(Form->EnfantActif(), true));
  Form->Ouvrir(Path("bands.rle"), true, true);
  EXPECT_TRUE(Messages.Shown.isEmpty()) << Messages.Shown.join('|').toStdString();
  ASSERT_EQ(ImageWindows().size(), 1u);
  EXPECT_IMAGES_MATCH(*Background(*Form), *B);
  EXPECT_TRUE(GetOpenMasks().contains("*.rle"));
  EXPECT_TRUE(GetOpenFilter().contains("*.rle"));
}

// The resolution a layered file holds is the one it is saved and exported
// with, 72 dpi included.
TEST_F(SaveReadBackTest, LayeredFileKeepsItsResolution) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  {
    TMyImageLayered Doc;
    const PBitmap B = Bands(20, 10);
    Doc.AddBackground(B.get(), nullptr, "#0");
    Doc.ResolutionX = Doc.ResolutionY = 72;
    Doc.SaveToFile(Path("seventy-two.lmi"));
  }
  auto Form = Start();
  Form->Ouvrir(Path("seventy-two.lmi"), true, true);
  ASSERT_TRUE(Form->UneImage());
  EXPECT_DOUBLE_EQ(Form->Image().ResolutionX, 72);
  ASSERT_TRUE(Form->Enregistrer(Path("again.lmi"), "", false, false));
  ASSERT_TRUE(Form->Enregistrer(Path("export.png"), "", false, false));
  TMyImageLayered Back;
  ASSERT_TRUE(Back.LoadFromFile(Path("again.lmi")));
  EXPECT_DOUBLE_EQ(Back.ResolutionX, 72);
  EXPECT_NEAR(QImage(Path("export.png")).dotsPerMeterX() * 0.0254, 72, 0.1);
}

// A JPEG cut short opens marked modified, with a word that it is incomplete
// (the image library fills the rest with grey and says nothing).
TEST_F(SaveReadBackTest, JpegCutShortOpensModifiedWithAWarning) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  QFile File(Path("cut.jpg"));
  ASSERT_TRUE(Photo(200, 150).save(File.fileName(), "JPEG", 90));
  ASSERT_TRUE(File.open(QIODevice::ReadWrite));
  ASSERT_TRUE(File.resize(File.size() * 6 / 10));
  File.close();
  ASSERT_TRUE(Photo(20, 15).save(Path("whole.jpg"), "JPEG", 90));
  auto Form = StartWithFreeImage();
  if (!IsFreeImageLoaded()) GTEST_SKIP() << "no FreeImage library beside the program";
  Form->Ouvrir(Path("whole.jpg"), true, true);
  ASSERT_TRUE(Form->UneImage());
  EXPECT_FALSE(Form->EnfantActif()->Modified());
  EXPECT_TRUE(Messages.Shown.isEmpty());
  Form->Ouvrir(Path("cut.jpg"), true, true);
  ASSERT_EQ(ImageWindows().size(), 2u);
  EXPECT_TRUE(Form->EnfantActif()->Modified());
  ASSERT_EQ(Messages.Shown.size(), 1);
  EXPECT_TRUE(Messages.Shown[0].contains("incomplet")) << Messages.Shown[0].toStdString();
  EXPECT_TRUE(Messages.Shown[0].contains("cut.jpg"));
}
