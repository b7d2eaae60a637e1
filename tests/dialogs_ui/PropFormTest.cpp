// File > "Propriétés de l'image": the EXIF tags of a JPEG listed, the
// comment stored on one line and found again after a save and a reopen, the
// export's lines, and a browsed file shown read-only.
#include "ImageDialogFixture.h"

#include "dialogs/ui/Prop.h"
#include "files/FreeImage.h"
#include "files/FreeImageProvider.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTabWidget>

namespace {

TEST(PropertiesExport, InformationOnlyGivesSevenLines) {
  const QString Infos = QStringLiteral("Nom : a.png\rDossier : /t\rDimensions : 2 x 2\rNombre de couleurs : 4\r\r"
                                       "Taille du fichier : 1 Ko\rDate : hier\r\rMémoire : 12\rTotale : 24\r");
  const QStringList Lines = PropertiesExportLines(QStringLiteral("Titre"), Infos, QStringLiteral("Meta"), QString(),
                                                  QStringLiteral("Commentaire"), QString());
  EXPECT_EQ(Lines, (QStringList{QStringLiteral("Titre"), QStringLiteral("Nom : a.png"), QStringLiteral("Dossier : /t"),
                                QStringLiteral("Dimensions : 2 x 2"), QStringLiteral("Nombre de couleurs : 4"),
                                QStringLiteral("Taille du fichier : 1 Ko"), QStringLiteral("Date : hier")}));
  const QStringList WithComment = PropertiesExportLines(QStringLiteral("Titre"), Infos, QStringLiteral("Meta"),
                                                        QStringLiteral("A=1\nB=2"), QStringLiteral("Commentaire"),
                                                        QStringLiteral("Salut"));
  ASSERT_EQ(WithComment.size(), 7 + 4 + 3);
  EXPECT_EQ(WithComment.mid(7), (QStringList{QString(), QStringLiteral("Meta"), QStringLiteral("A=1"),
                                             QStringLiteral("B=2"), QString(), QStringLiteral("Commentaire"),
                                             QStringLiteral("Salut")}));
}

class PropFormTest : public ImageDialogFixture {
protected:
  void SetUp() override {
    ImageDialogFixture::SetUp();
    Photo = Dir.path() + QStringLiteral("/camera.jpg");
    ASSERT_TRUE(QFile::copy(QStringLiteral(LUMA_DIALOGS_DATA "/exif-camera.jpg"), Photo));
  }
  TPropForm* OpenProps() { return Open<TPropForm>("MenuFichierInfos", "MenuFichier"); }
  bool PageShown(TPropForm* D, QWidget* Page) const { return D->PgControl->isTabVisible(D->PgControl->indexOf(Page)); }
  // The editor's own module folder, which holds FreeImage when installed.
  static bool WithFreeImage() {
    return IsFreeImageLoaded() || StartFreeImage(false, QCoreApplication::applicationDirPath() + "/Plugins_64");
  }
  QString Photo;
};

TEST_F(PropFormTest, JpegShowsItsExifAndTheSavedCommentComesBack) {
  if (!WithFreeImage()) GTEST_SKIP() << "no Plugins_64/FreeImage_64.lml beside the test program";
  // Saves with the stored options, without asking.
  MakeForm("SaveDefault=1\r\n");
  Form->Ouvrir(Photo, true, true);
  ASSERT_TRUE(Form->UneImage());
  TPropForm* D = OpenProps();
  ASSERT_TRUE(D);
  EXPECT_TRUE(D->LblImage->text().contains(QStringLiteral("camera.jpg")));
  ASSERT_TRUE(PageShown(D, D->TshMetadata));
  const QString Tags = D->MemMetadata->toPlainText();
  EXPECT_TRUE(Tags.startsWith(QStringLiteral("--- EXIF ---"))) << Tags.toStdString();
  EXPECT_TRUE(Tags.contains(QStringLiteral("Make=LumaTestMake"))) << Tags.toStdString();
  EXPECT_TRUE(Tags.contains(QStringLiteral("Model=FixtureCam 1"))) << Tags.toStdString();
  // The active image's comment is always offered, editable.
  ASSERT_TRUE(PageShown(D, D->TshComment));
  EXPECT_FALSE(D->MemComment->isReadOnly());
  EXPECT_FALSE(D->BSaveComment->isEnabled());
  D->MemComment->setPlainText(QStringLiteral("Vacances\nà la mer"));
  ASSERT_TRUE(D->BSaveComment->isEnabled());
  Click(D->BSaveComment);
  EXPECT_EQ(D->MemComment->toPlainText(), QStringLiteral("Vacances  à la mer"));
  EXPECT_TRUE(Form->Image().Modified);
  Click(D->BOk);
  EXPECT_FALSE(D->isVisible());

  ASSERT_TRUE(Form->Enregistrer(Photo, QString(), false, false));
  ASSERT_TRUE(Form->FermerImage(Form->EnfantActif(), true));
  Form->Ouvrir(Photo, true, true);
  ASSERT_TRUE(Form->UneImage());
  D = OpenProps();
  ASSERT_TRUE(D);
  EXPECT_EQ(D->MemComment->toPlainText(), QStringLiteral("Vacances  à la mer"));
  EXPECT_TRUE(D->MemMetadata->toPlainText().contains(QStringLiteral("Make=LumaTestMake")));
  Click(D->BOk);
}

TEST_F(PropFormTest, ImageWithoutMetadataHidesThatPageAndExports) {
  OpenImage(20, 10);
  TPropForm* D = OpenProps();
  ASSERT_TRUE(D);
  EXPECT_FALSE(PageShown(D, D->TshMetadata));
  EXPECT_TRUE(PageShown(D, D->TshComment));
  const QString Out = Dir.path() + QStringLiteral("/props.txt");
  QString Proposed;
  D->ExportFileChooser = [&](const QString& P) {
    Proposed = P;
    return Out;
  };
  Click(D->BExport);
  EXPECT_TRUE(Proposed.endsWith(QStringLiteral(".txt")));
  QFile File(Out);
  ASSERT_TRUE(File.open(QIODevice::ReadOnly));
  const QStringList Lines = QString::fromUtf8(File.readAll()).split(u'\n', Qt::SkipEmptyParts);
  EXPECT_EQ(Lines.size(), 7);
  EXPECT_EQ(Lines.value(0), D->windowTitle());
  Click(D->BOk);
}

TEST_F(PropFormTest, BrowsedFileIsReadOnlyAndHidesAnEmptyComment) {
  TPropForm D;
  D.ReadDataFromFile(Photo, QStringLiteral("Nom du fichier : camera.jpg\r"), true);
  EXPECT_FALSE(D.PgControl->isTabVisible(D.PgControl->indexOf(D.TshComment)));
  EXPECT_TRUE(D.MemComment->isReadOnly());
  EXPECT_EQ(D.PgControl->isTabVisible(D.PgControl->indexOf(D.TshMetadata)), IsFreeImageLoaded());
}

} // namespace
