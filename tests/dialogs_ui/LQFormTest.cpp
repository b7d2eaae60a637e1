// Filter > LumaMasque: a grey mask decides where the effect falls on the
// current layer; Ok undone and repeated, previews taken back by Cancel
// (with the background's transparency mark), the browser's mask for one
// opening, the pattern chooser, the picked colour, the empty opacity field.
#include "ImageDialogFixture.h"

#include "dialogs/ui/LQ.h"
#include "document/Calque.h"
#include "files/ui/BmpOE2.h"
#include "filters/Filtres24.h"
#include "raster/Transparency.h"
#include "ui/ColorEdit.h"
#include "ui/SpecialEdit.h"

#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QToolButton>

namespace {

class LQFormTest : public ImageDialogFixture {
protected:
  void TearDown() override { SetFileDialogProvider(nullptr); }
  TLQForm* OpenMask() { return Open<TLQForm>("MenuLumaMasque", "MenuFiltre"); }
  // A W x H grey picture, black in its Left columns and white elsewhere.
  QString MaskFile(const char* Name, int W, int H, int Left) {
    QImage I(W, H, QImage::Format_RGB32);
    I.fill(Qt::white);
    for (int Y = 0; Y < H; ++Y)
      for (int X = 0; X < Left; ++X) I.setPixelColor(X, Y, Qt::black);
    const QString Path = Dir.path() + u'/' + QString::fromLatin1(Name);
    EXPECT_TRUE(I.save(Path, "PNG"));
    return Path;
  }
  // The file dialogs answer File (empty: cancelled) and remember where they
  // opened.
  void AnswerFileDialogs(const QString& File) {
    SetFileDialogProvider([this, File](TFileDialogState& S) {
      Opened << S.Directory;
      return File.isEmpty() ? QStringList() : QStringList{File};
    });
  }
  bool ColumnIs(int X, TRGB C) const {
    for (int Y = 0; Y < Form->LeFond().Height(); ++Y)
      if (Px(Form->LeFond(), X, Y) != C) return false;
    return true;
  }
  bool ColumnUnchanged(int X) const {
    for (int Y = 0; Y < Original.Height(); ++Y)
      if (Px(Form->LeFond(), X, Y) != Px(Original, X, Y)) return false;
    return true;
  }
  QStringList Opened;
};

TEST_F(LQFormTest, LeftBlackMaskPaintsTheLeftHalfThenUndoAndRepeat) {
  OpenImage(20, 10);
  TLQForm* D = OpenMask();
  ASSERT_TRUE(D);
  EXPECT_EQ(Form->PipetteForm(), D);
  EXPECT_FALSE(D->BOk->isEnabled());
  EXPECT_FALSE(D->CBPreview->isEnabled());
  D->LoadPicture(MaskFile("left.png", 2, 2, 1), false);
  ASSERT_TRUE(D->BOk->isEnabled());
  Click(D->BOk);
  EXPECT_FALSE(D->isVisible());
  // Stretched bilinearly over 20 columns: the outer columns keep the pure tones.
  EXPECT_TRUE(ColumnIs(0, Grey(255)));
  EXPECT_TRUE(ColumnUnchanged(19));
  ASSERT_EQ(UndoSteps(), 1);
  Undo();
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
  // Edit > Repeat reads the mask again from its file.
  EditItem("MenuEditionRepeter");
  EXPECT_TRUE(ColumnIs(0, Grey(255)));
  EXPECT_TRUE(ColumnUnchanged(19));
  EXPECT_EQ(UndoSteps(), 1);
}

TEST_F(LQFormTest, NegativeSwapsTheHalvesAndCancelTakesThePreviewBack) {
  OpenImage(20, 10);
  TLQForm* D = OpenMask();
  ASSERT_TRUE(D);
  D->LoadPicture(MaskFile("left.png", 2, 2, 1), false);
  Click(D->Negatif);
  EXPECT_TRUE(D->Picture.Negatif);
  EXPECT_EQ(D->GetIniCustomVar(1), QStringLiteral("1"));
  Click(D->BApercu);
  EXPECT_TRUE(ColumnUnchanged(0));
  EXPECT_TRUE(ColumnIs(19, Grey(255)));
  Click(D->BAnnuler);
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
  EXPECT_EQ(UndoSteps(), 0);
  EXPECT_EQ(Form->PipetteForm(), nullptr);
}

TEST_F(LQFormTest, TransparencyOfALoneBackgroundAndItsMarkTakenBackByCancel) {
  OpenImage(20, 10);
  TLQForm* D = OpenMask();
  ASSERT_TRUE(D);
  ASSERT_TRUE(D->LstFormat->IndexToItem(meTransparent)->isEnabled());
  D->LoadPicture(MaskFile("left.png", 2, 2, 1), false);
  D->LstFormat->SetItemIndex(meTransparent);
  // Full strength: the opacity does not apply to the key colour.
  EXPECT_FALSE(D->SEOpacite->isEnabled());
  EXPECT_FALSE(D->ColorEdit->isEnabled());
  Click(D->BApercu);
  EXPECT_TRUE(ColumnIs(0, ColorToTRGB(TransparentKeyColor)));
  EXPECT_TRUE(Form->LeFond().Transparent);
  EXPECT_EQ(Form->LeFond().TransparentColor(), TransparentKeyColor);
  Click(D->BAnnuler);
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
  EXPECT_FALSE(Form->LeFond().Transparent);
}

TEST_F(LQFormTest, TransparencyIsNotOfferedOnTheBackgroundOfAnImageWithLayers) {
  OpenImage(20, 10, true);
  SelectLayer(*Form->LayerNav(), 0);
  TLQForm* D = OpenMask();
  ASSERT_TRUE(D);
  EXPECT_FALSE(D->LstFormat->IndexToItem(meTransparent)->isEnabled());
  Click(D->BAnnuler);
  // On the layer with its own mask it is offered.
  SelectLayer(*Form->LayerNav(), 1);
  D = OpenMask();
  ASSERT_TRUE(D);
  EXPECT_TRUE(D->LstFormat->IndexToItem(meTransparent)->isEnabled());
  Click(D->BAnnuler);
}

TEST_F(LQFormTest, TheBrowsersMaskStandsForOneOpeningWithoutTheStoredTurns) {
  OpenImage(20, 10);
  const QString Stored = MaskFile("stored.png", 2, 4, 1), Browsed = MaskFile("browsed.png", 4, 2, 1);
  TLQForm* D = OpenMask();
  ASSERT_TRUE(D);
  D->LoadPicture(Stored, false);
  Click(D->Rotation);
  Click(D->BOk);

  Form->OpenMaskOverlay(Browsed);
  ASSERT_TRUE(D->isVisible());
  EXPECT_EQ(D->PictureEdit->Text(), Browsed);
  EXPECT_EQ(D->Picture.Angle, 0);
  EXPECT_EQ(D->Picture.Bmp.Width(), 4);
  Click(D->BAnnuler);

  D = OpenMask();
  ASSERT_TRUE(D);
  EXPECT_EQ(D->PictureEdit->Text(), Stored);
  EXPECT_EQ(D->Picture.Angle, 90);
  // Turned, the 2 x 4 picture is 4 wide.
  EXPECT_EQ(D->Picture.Bmp.Width(), 4);
  Click(D->BAnnuler);
}

TEST_F(LQFormTest, MaskChoiceStartsInTheMasksFolder) {
  ASSERT_TRUE(QDir(Dir.path()).mkdir(QStringLiteral("Masks")));
  MakeForm("");
  OpenImage(20, 10);
  TLQForm* D = OpenMask();
  ASSERT_TRUE(D);
  const QString File = MaskFile("chosen.png", 2, 2, 1);
  AnswerFileDialogs(File);
  Click(D->Browse);
  ASSERT_EQ(Opened.size(), 1);
  EXPECT_EQ(QDir(Opened[0]).absolutePath(), QDir(Dir.path() + QStringLiteral("/Masks")).absolutePath());
  EXPECT_EQ(D->PictureEdit->Text(), File);
  Click(D->BAnnuler);
}

TEST_F(LQFormTest, PatternModeWithoutAChosenPatternReturnsToColour) {
  OpenImage(20, 10);
  TLQForm* D = OpenMask();
  ASSERT_TRUE(D);
  D->LoadPicture(MaskFile("black.png", 2, 2, 2), false);
  AnswerFileDialogs(QString());
  D->LstFormat->SetItemIndex(mePattern);
  EXPECT_EQ(D->LstFormat->ItemIndex(), meColor);
  EXPECT_FALSE(D->EdiMotif->isVisible());

  // A pattern chosen: painted through the mask.
  QImage Green(2, 2, QImage::Format_RGB32);
  Green.fill(Qt::green);
  const QString Pattern = Dir.path() + QStringLiteral("/green.png");
  ASSERT_TRUE(Green.save(Pattern, "PNG"));
  AnswerFileDialogs(Pattern);
  D->LstFormat->SetItemIndex(mePattern);
  EXPECT_EQ(D->LstFormat->ItemIndex(), mePattern);
  EXPECT_TRUE(D->EdiMotif->isVisible());
  EXPECT_EQ(D->EdiMotif->Text(), Pattern);
  Click(D->BOk);
  EXPECT_TRUE(ColumnIs(0, Rgb(0, 255, 0)));
  EXPECT_TRUE(ColumnIs(19, Rgb(0, 255, 0)));
}

TEST_F(LQFormTest, PickedColourOnlyInColourModeAndEmptyOpacityRefusesOk) {
  OpenImage(20, 10);
  TLQForm* D = OpenMask();
  ASSERT_TRUE(D);
  D->LoadPicture(MaskFile("black.png", 2, 2, 2), false);
  D->ChangerCouleur(clRed);
  EXPECT_EQ(D->ColorEdit->Color(), clRed);
  D->LstFormat->SetItemIndex(meGrey);
  D->ChangerCouleur(clBlue);
  EXPECT_EQ(D->ColorEdit->Color(), clRed);

  Type(D->SEOpacite, QString());
  Click(D->BOk);
  ASSERT_EQ(Messages.size(), 1);
  EXPECT_EQ(Messages[0], QStringLiteral("Renseignez tous les champs avant de continuer !"));
  EXPECT_TRUE(D->isVisible());
  Type(D->SEOpacite, QStringLiteral("100"));
  Click(D->BOk);
  EXPECT_FALSE(D->isVisible());
  const TRGB Old = Px(Original, 5, 5);
  const int L = Luminance24(Old);
  EXPECT_EQ(Px(Form->LeFond(), 5, 5), Grey(L));
}

} // namespace
