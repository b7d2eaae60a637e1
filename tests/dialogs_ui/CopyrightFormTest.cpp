// Image > Copyright: the placeholders, the band added outside the image with
// the layers moved and undone, the opacity inside the image, the enabling
// rules, Cancel, and Edit > Repeat.
#include "ImageDialogFixture.h"

#include "dialogs/ui/Copyright.h"
#include "document/Calque.h"
#include "document/ui/LayerNavigator.h"
#include "platform/Canvas.h"
#include "ui/ColorEdit.h"

#include <QCheckBox>
#include <QFontComboBox>
#include <QLineEdit>
#include <QRadioButton>

namespace {

TEST(CopyrightText, PlaceholdersExpandInAnyCase) {
  const QDate Day(2024, 3, 5);
  EXPECT_EQ(ExpandCopyrightText(QStringLiteral("<#N> <#ne> <#W> x <#h>"), QStringLiteral("/a/b/Photo.v2.jpg"), 640, 117,
                                Day),
            QStringLiteral("Photo.v2 Photo.v2.jpg 640 x 117"));
  EXPECT_EQ(ExpandCopyrightText(QStringLiteral("[<#n>|<#NE>]"), QString(), 1, 1, Day), QStringLiteral("[|]"));
  EXPECT_EQ(ExpandCopyrightText(QStringLiteral("<#d>"), QString(), 1, 1, Day),
            QLocale::system().toString(Day, QLocale::ShortFormat));
}

class CopyrightFormTest : public ImageDialogFixture {
protected:
  TCopyrightForm* OpenStamp() { return Open<TCopyrightForm>("MenuImageCopyright"); }
  // The height of the stamp's text line, as the stamp measures it.
  int LineHeight(const TCopyrightForm& D) {
    TBitmap B(1, 1, pf24bit, clBlack);
    TCanvas C(&B);
    C.Font.Name = D.CmbPolices->currentFont().family();
    C.Font.SetSize(D.SETxtSize->Value());
    return C.TextHeight(QStringLiteral("M"));
  }
};

TEST_F(CopyrightFormTest, BandOutsideAtTheTopGrowsTheImageAndMovesTheLayers) {
  OpenImage(60, 100, true);
  SelectLayer(*Form->LayerNav(), 1);
  TCopyrightForm* D = OpenStamp();
  ASSERT_TRUE(D);
  Click(D->RBTop);
  ASSERT_TRUE(D->CBTxtExt->isChecked());
  D->EdiCopyright->setText(QStringLiteral("<#h>"));
  const int Band = LineHeight(*D) + 2;
  Click(D->BOk);
  EXPECT_FALSE(D->isVisible());
  ASSERT_EQ(Form->LeFond().Height(), 100 + Band);
  // The former picture lies below the band, whatever layer was current.
  EXPECT_EQ(Px(Form->LeFond(), 0, Band), Px(Original, 0, 0));
  EXPECT_EQ(Px(Form->LeFond(), 59, 99 + Band), Px(Original, 59, 99));
  EXPECT_EQ(Px(Form->LeFond(), 0, 0), Grey(0));
  EXPECT_EQ(Layer(1).Pos.Y, 2 + Band);
  ASSERT_EQ(UndoSteps(), 1);
  Undo();
  EXPECT_EQ(Form->LeFond().Height(), 100);
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
  EXPECT_EQ(Layer(1).Pos.Y, 2);

  // Edit > Repeat stamps again with the same settings.
  Redo();
  EditItem("MenuEditionRepeter");
  EXPECT_EQ(Form->LeFond().Height(), 100 + 2 * Band);
  EXPECT_EQ(Layer(1).Pos.Y, 2 + 2 * Band);
}

TEST_F(CopyrightFormTest, OpacityInsideTheImageKeepsTheRestOfThePicture) {
  OpenImage(60, 50);
  TCopyrightForm* D = OpenStamp();
  ASSERT_TRUE(D);
  Click(D->CBTxtExt);
  ASSERT_FALSE(D->CBTxtExt->isChecked());
  ASSERT_TRUE(D->SEOpacite->isEnabled());
  Type(D->SEOpacite, "40");
  D->EdiCopyright->setText(QStringLiteral("Copyright"));
  const int Band = LineHeight(*D) + 2;
  Click(D->BOk);
  ASSERT_EQ(Form->LeFond().Height(), 50);
  // Column 0 never gets text: a black band at 40 % leaves 60 % of the pixel.
  for (int Y : {49, 50 - Band}) {
    const TRGB Old = Px(Original, 0, Y), New = Px(Form->LeFond(), 0, Y);
    EXPECT_NEAR(New.Red, Old.Red * 60 / 100, 1) << Y;
    EXPECT_NEAR(New.Blue, Old.Blue * 60 / 100, 1) << Y;
  }
  EXPECT_EQ(Px(Form->LeFond(), 0, 49 - Band), Px(Original, 0, 49 - Band));
}

TEST_F(CopyrightFormTest, EnablingRulesCancelAndEmptyText) {
  OpenImage(30, 20);
  TCopyrightForm* D = OpenStamp();
  ASSERT_TRUE(D);
  // "Extérieur" forces the band and disables the opacity.
  EXPECT_TRUE(D->CBTxtFond->isChecked());
  EXPECT_FALSE(D->SEOpacite->isEnabled());
  Click(D->RBCenter);
  EXPECT_FALSE(D->CBTxtExt->isEnabled());
  EXPECT_FALSE(D->CBTxtExt->isChecked());
  EXPECT_TRUE(D->SEOpacite->isEnabled());
  Click(D->RBBottom);
  EXPECT_TRUE(D->CBTxtExt->isEnabled());
  Click(D->CBTxtFond);
  EXPECT_FALSE(D->CBTxtExt->isEnabled());
  D->EdiCopyright->clear();
  Click(D->BOk);
  EXPECT_TRUE(D->isVisible());
  EXPECT_EQ(Messages.size(), 1);
  D->EdiCopyright->setText(QStringLiteral("x"));
  Click(D->BAnnuler);
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
  EXPECT_EQ(UndoSteps(), 0);
}

} // namespace
