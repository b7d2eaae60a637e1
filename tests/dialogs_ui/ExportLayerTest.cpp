// Layer > Export layer: the current layer written as PNG, 32-bit BMP or GIF
// with its transparency, read back by the program's own readers; the
// proposed name, a cancelled file dialog, an unwritable target (no file,
// the reason told) and the format offered again in a later run.
#include "ImageDialogFixture.h"

#include "dialogs/ui/ExportLayer.h"
#include "document/Calque.h"
#include "files/BmpFile.h"
#include "files/GifImage.h"
#include "files/MyPngImage.h"
#include "files/ui/BmpOE2.h"
#include "ui/RadioGroup.h"

#include <QDir>
#include <QFileInfo>
#include <QRadioButton>

namespace {

class ExportLayerTest : public ImageDialogFixture {
protected:
  void TearDown() override { SetFileDialogProvider(nullptr); }
  // The current layer: the 6 x 4 layer with its one transparent pixel at
  // (5, 3), captioned Caption.
  void OpenLayer(const QString& Caption) {
    OpenImage(20, 10, true);
    Form->Image().Layers()[1].Caption = Caption;
    SelectLayer(*Form->LayerNav(), 1);
  }
  // Exports in format Index answering Answer to the file dialog, which
  // proposed Proposed.
  TExportLayerForm* Export(int Index, const QString& Answer) {
    SetFileDialogProvider([this, Answer](TFileDialogState& S) {
      Proposed = S.FileName;
      return Answer.isEmpty() ? QStringList() : QStringList{Answer};
    });
    auto* D = Open<TExportLayerForm>("MenuCalqueExporter", "MenuCalque");
    if (!D) return nullptr;
    Click(D->RGFormat->Button(Index));
    Click(D->BOk);
    return D;
  }
  const TBitmap& L() const { return Layer(1).Bitmap(); }
  QString Proposed;
};

TEST_F(ExportLayerTest, EachFormatKeepsTheLayersTransparency) {
  OpenLayer(QStringLiteral("photo.jpg"));
  const QString Png = Dir.filePath("a.png"), Bmp = Dir.filePath("a.bmp"), Gif = Dir.filePath("a.gif");
  ASSERT_TRUE(Export(0, Png));
  EXPECT_EQ(Proposed, QStringLiteral("photo.png"));
  TPngImage P;
  P.LoadFromFile(Png);
  ASSERT_EQ(P.Width(), 6);
  EXPECT_TRUE(P.HasAlphaChannel());
  EXPECT_EQ(P.AlphaAt(5, 3), 0);
  EXPECT_EQ(P.AlphaAt(0, 0), 255);
  TBitmap Read;
  PngToBitmap(P, Read);
  EXPECT_EQ(Read.PixelColor(2, 1) & 0xFFFFFF, L().PixelColor(2, 1));
  // A transparent pixel keeps its colour.
  EXPECT_EQ(Read.PixelColor(5, 3) & 0xFFFFFF, L().PixelColor(5, 3));

  ASSERT_TRUE(Export(1, Bmp));
  EXPECT_EQ(Proposed, QStringLiteral("photo.bmp"));
  LoadBitmapFromBmpFile(Bmp, Read);
  ASSERT_EQ(Read.PixelFormat(), pf32bit);
  EXPECT_EQ(Read.ScanLine(3)[5 * 4 + 3], 0);
  EXPECT_EQ(Read.ScanLine(0)[3], 255);
  EXPECT_EQ(Read.PixelColor(2, 1) & 0xFFFFFF, L().PixelColor(2, 1));

  ASSERT_TRUE(Export(2, Gif));
  TGIFImage G;
  G.LoadFromFile(Gif);
  ASSERT_EQ(G.ImageCount(), 1);
  const auto Control = G.Frames[0].GraphicControl();
  ASSERT_TRUE(Control && Control->Transparent);
  const std::vector<uint8_t>& Index = G.Frames[0].Pixels;
  EXPECT_EQ(Index[3 * 6 + 5], Control->TransparentIndex);
  EXPECT_EQ(std::count(Index.begin(), Index.end(), Control->TransparentIndex), 1);
  // Exporting changes nothing in the image.
  EXPECT_EQ(UndoSteps(), 0);
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
}

TEST_F(ExportLayerTest, ALayerWithoutTransparencyIsNotOffered) {
  OpenImage(20, 10);
  emit Form->MenuNamed(QStringLiteral("MenuCalque"))->aboutToShow();
  EXPECT_FALSE(Form->MenuItem(QStringLiteral("MenuCalqueExporter"))->isEnabled());
}

TEST_F(ExportLayerTest, NamesCancelAndFailuresKeepEverythingAsItWas) {
  OpenLayer(QStringLiteral("Logo"));
  // Cancelling the file dialog keeps the export dialog open.
  TExportLayerForm* D = Export(2, QString());
  ASSERT_TRUE(D);
  EXPECT_EQ(Proposed, QStringLiteral("Logo.gif"));
  EXPECT_TRUE(D->isVisible());
  Click(D->BAnnuler);
  // A folder that does not exist: the message names the file, nothing is
  // written.
  const QString Bad = Dir.filePath("missing/Logo.png");
  D = Export(0, Bad);
  ASSERT_TRUE(D);
  EXPECT_FALSE(D->isVisible());
  ASSERT_EQ(Messages.size(), 1);
  EXPECT_TRUE(Messages[0].startsWith(QStringLiteral("Impossible d'enregistrer l'image dans le fichier \"") + Bad))
      << Messages[0].toStdString();
  EXPECT_TRUE(Messages[0].contains(u'\n'));
  EXPECT_FALSE(QFileInfo::exists(Bad));
  // An existing file that cannot be replaced stays whole, with no
  // temporary file beside it.
  const QString Kept = Dir.filePath("kept.png");
  QFile Old(Kept);
  ASSERT_TRUE(Old.open(QIODevice::WriteOnly));
  Old.write("old bytes");
  Old.close();
  QFile::setPermissions(Kept, QFile::ReadOwner);
  ASSERT_TRUE(Export(0, Kept));
  EXPECT_EQ(Messages.size(), 2);
  ASSERT_TRUE(Old.open(QIODevice::ReadOnly));
  EXPECT_EQ(Old.readAll(), QByteArray("old bytes"));
  EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral(".tmp")).size(), 0);
  EXPECT_EQ(UndoSteps(), 0);
}

TEST_F(ExportLayerTest, TheFormatIsOfferedAgainInALaterRun) {
  MakeForm("DialogParams=1\r\n");
  OpenLayer(QStringLiteral("Logo"));
  ASSERT_TRUE(Export(1, Dir.filePath("c.bmp")));
  MakeForm("DialogParams=1\r\n");
  OpenLayer(QStringLiteral("Logo"));
  auto* D = Open<TExportLayerForm>("MenuCalqueExporter", "MenuCalque");
  ASSERT_TRUE(D);
  EXPECT_EQ(D->RGFormat->ItemIndex(), 1);
  Click(D->BAnnuler);
}

TEST(ExportFileName, ReplacesTheExtensionAndKeepsFoldersOut) {
  EXPECT_EQ(ExportFileName(QStringLiteral("Logo"), QStringLiteral("gif")), QStringLiteral("Logo.gif"));
  EXPECT_EQ(ExportFileName(QStringLiteral("photo.jpg"), QStringLiteral("png")), QStringLiteral("photo.png"));
  EXPECT_EQ(ExportFileName(QStringLiteral("../up/x"), QStringLiteral("bmp")), QStringLiteral(".._up_x.bmp"));
}

} // namespace
