// Filter > Texture > Divers: a grey picture tiled over the current layer,
// lightening above middle grey and darkening below, its preview taken back
// by Cancel, Ok undone and repeated, the negative kept for the next opening.
#include "ImageDialogFixture.h"

#include "dialogs/ui/TextureDlg.h"
#include "ui/SpecialEdit.h"
#include "ui/TrackBar.h"

#include <QCheckBox>
#include <QImage>
#include <QToolButton>

namespace {

class TextureFormTest : public ImageDialogFixture {
protected:
  TTextureForm* OpenTexture() { return Open<TTextureForm>("MenuTextureAutre", "MenuFiltre"); }
  QString Grey(const char* Name, int Level) {
    QImage I(4, 4, QImage::Format_RGB32);
    I.fill(QColor(Level, Level, Level));
    const QString Path = Dir.path() + u'/' + QString::fromLatin1(Name);
    EXPECT_TRUE(I.save(Path, "PNG"));
    return Path;
  }
  static int Lightened(int C) { return C + (255 - C) * 99 / 100; }
};

TEST_F(TextureFormTest, WhiteLightensMiddleGreyChangesNothing) {
  OpenImage(20, 10);
  TTextureForm* D = OpenTexture();
  ASSERT_TRUE(D);
  EXPECT_FALSE(D->BOk->isEnabled());
  D->LoadPicture(Grey("mid.png", 128), false);
  ASSERT_TRUE(D->BOk->isEnabled());
  Click(D->BApercu);
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
  D->LoadPicture(Grey("white.png", 255), false);
  D->TBOpacite->SetPosition(100);
  QTest::keyClick(D->TBOpacite, Qt::Key_Shift);
  Click(D->BOk);
  const TRGB Old = Px(Original, 3, 4), New = Px(Form->LeFond(), 3, 4);
  EXPECT_EQ(New.Red, Lightened(Old.Red));
  EXPECT_EQ(New.Blue, Lightened(Old.Blue));
  ASSERT_EQ(UndoSteps(), 1);
  Undo();
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
  EditItem("MenuEditionRepeter");
  EXPECT_EQ(Px(Form->LeFond(), 3, 4).Red, Lightened(Old.Red));
}

TEST_F(TextureFormTest, CancelTakesThePreviewBackAndTheNegativeIsKept) {
  OpenImage(20, 10);
  TTextureForm* D = OpenTexture();
  ASSERT_TRUE(D);
  D->LoadPicture(Grey("white.png", 255), false);
  // Inverted, the white texture darkens.
  Click(D->Negatif);
  EXPECT_TRUE(D->Picture.Negatif);
  Click(D->BApercu);
  const TRGB Old = Px(Original, 3, 4), New = Px(Form->LeFond(), 3, 4);
  // m = 50 * (0 - 128) / 128 = -50 at the default opacity.
  EXPECT_EQ(New.Red, Old.Red - Old.Red * 50 / 100);
  Click(D->BAnnuler);
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
  EXPECT_EQ(UndoSteps(), 0);

  D = OpenTexture();
  ASSERT_TRUE(D);
  Click(D->BOk);
  D = OpenTexture();
  ASSERT_TRUE(D);
  // The file and its negative come back from the dialogs settings.
  EXPECT_TRUE(D->BOk->isEnabled());
  EXPECT_TRUE(D->Picture.Negatif);
  EXPECT_EQ(Px(D->Picture.Bmp, 0, 0), ::Grey(0));
  Click(D->BAnnuler);
}

} // namespace
