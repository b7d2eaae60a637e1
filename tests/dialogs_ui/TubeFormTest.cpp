// Filter > LumaPNG: a picture with alpha over the current layer, stretched
// or scaled and anchored; a picture without alpha refused; previews taken
// back by Cancel; Ok undone and repeated; turns and their restore.
#include "ImageDialogFixture.h"

#include "dialogs/ui/AnchorBar.h"
#include "dialogs/ui/TubeDlg.h"
#include "ui/SpecialEdit.h"
#include "ui/TrackBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QToolButton>

namespace {

class TubeFormTest : public ImageDialogFixture {
protected:
  TTubeForm* OpenTube() { return Open<TTubeForm>("MenuLumaPng", "MenuFiltre"); }
  // A W x H PNG: Left columns opaque Colour, the rest fully transparent;
  // without Alpha an opaque picture with no alpha channel.
  QString Png(const char* Name, int W, int H, int Left, QColor Colour, bool Alpha = true) {
    QImage I(W, H, Alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    I.fill(Alpha ? QColor(0, 0, 0, 0) : QColor(Qt::white));
    for (int Y = 0; Y < H; ++Y)
      for (int X = 0; X < Left; ++X) I.setPixelColor(X, Y, Colour);
    const QString Path = Dir.path() + u'/' + QString::fromLatin1(Name);
    EXPECT_TRUE(I.save(Path, "PNG"));
    return Path;
  }
  // Red as the stretch leaves it (a filter may round a step off).
  static bool Reddish(TRGB P) { return P.Red > 240 && P.Green < 10 && P.Blue < 10; }
};

TEST_F(TubeFormTest, StretchedPictureCoversWhereItsAlphaIsOpaque) {
  OpenImage(40, 30);
  const QString File = Png("half.png", 4, 4, 2, Qt::red);
  TTubeForm* D = OpenTube();
  ASSERT_TRUE(D);
  EXPECT_FALSE(D->BOk->isEnabled());
  D->LoadPicture(File, false);
  ASSERT_TRUE(D->BOk->isEnabled());
  EXPECT_EQ(D->PictureEdit->Text(), File);
  Click(D->BOk);
  EXPECT_FALSE(D->isVisible());
  EXPECT_TRUE(Reddish(Px(Form->LeFond(), 5, 15))) << int(Px(Form->LeFond(), 5, 15).Red);
  EXPECT_EQ(Px(Form->LeFond(), 35, 15), Px(Original, 35, 15));
  ASSERT_EQ(UndoSteps(), 1);
  Undo();
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
  // Edit > Repeat reads the picture again from its file.
  EditItem("MenuEditionRepeter");
  EXPECT_TRUE(Reddish(Px(Form->LeFond(), 5, 15))) << int(Px(Form->LeFond(), 5, 15).Red);
  EXPECT_EQ(Px(Form->LeFond(), 35, 15), Px(Original, 35, 15));
}

TEST_F(TubeFormTest, PictureWithoutAlphaIsRefused) {
  OpenImage(20, 20);
  const QString File = Png("flat.png", 4, 4, 4, Qt::red, false);
  TTubeForm* D = OpenTube();
  ASSERT_TRUE(D);
  D->LoadPicture(File, false);
  ASSERT_EQ(Messages.size(), 1);
  EXPECT_TRUE(Messages[0].contains(File));
  EXPECT_FALSE(D->BOk->isEnabled());
  EXPECT_FALSE(D->CBPreview->isEnabled());
  Click(D->BAnnuler);
  EXPECT_EQ(UndoSteps(), 0);
}

TEST_F(TubeFormTest, ScaledToThirtyPercentAtTheBottomRightAnchor) {
  OpenImage(40, 30);
  const QString File = Png("blue.png", 10, 10, 10, Qt::blue);
  TTubeForm* D = OpenTube();
  ASSERT_TRUE(D);
  D->LoadPicture(File, false);
  D->CmbMode->setCurrentIndex(2);
  emit D->CmbMode->activated(2);
  EXPECT_TRUE(D->TBEchelle->isVisible());
  D->TBEchelle->SetPosition(3);
  Click(D->Anchors->Button(8));
  Click(D->BApercu);
  EXPECT_EQ(Px(Form->LeFond(), 37, 27), Rgb(0, 0, 255));
  EXPECT_EQ(Px(Form->LeFond(), 39, 29), Rgb(0, 0, 255));
  EXPECT_EQ(Px(Form->LeFond(), 36, 29), Px(Original, 36, 29));
  EXPECT_EQ(Px(Form->LeFond(), 39, 26), Px(Original, 39, 26));
  // Cancel takes the preview back and leaves no step.
  Click(D->BAnnuler);
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
  EXPECT_EQ(UndoSteps(), 0);
}

TEST_F(TubeFormTest, TurnsAreKeptUntilRestored) {
  OpenImage(20, 20);
  const QString File = Png("tall.png", 2, 6, 1, Qt::green);
  TTubeForm* D = OpenTube();
  ASSERT_TRUE(D);
  D->LoadPicture(File, false);
  Click(D->Rotation);
  Click(D->Rotation);
  EXPECT_EQ(D->Picture.Angle, 180);
  EXPECT_TRUE(D->Picture.Transformed());
  // The opaque column went from the left to the right.
  EXPECT_EQ(Px(D->Picture.Mask, 1, 0), Grey(0));
  EXPECT_EQ(Px(D->Picture.Mask, 0, 0), Grey(255));
  EXPECT_EQ(D->GetIniCustomVar(0), QStringLiteral("180"));
  ASSERT_TRUE(D->Picture.Restore());
  EXPECT_EQ(D->Picture.Angle, 0);
  EXPECT_FALSE(D->Picture.Transformed());
  D->SetIniCustomVar(2, QStringLiteral("1"));
  EXPECT_TRUE(D->Picture.FlipV);
  EXPECT_FALSE(D->Picture.FlipH);
  Click(D->BAnnuler);
}

} // namespace
