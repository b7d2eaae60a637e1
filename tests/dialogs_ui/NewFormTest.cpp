// File > New through its dialog: sizes typed or predefined, the displays,
// the background choices, and the sizes refused before Ok.
#include "ImageDialogFixture.h"

#include "dialogs/ui/New.h"
#include "files/ui/BmpOE2.h"
#include "raster/TransformFunc.h"
#include "ui/ColorEdit.h"
#include "ui/SpecialEdit.h"
#include "ui/UtilsDPI.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QToolButton>

namespace {

class NewFormTest : public ImageDialogFixture {
protected:
  TNewForm* OpenNew() { return Open<TNewForm>("MenuFichierNouveau", "MenuFichier"); }
};

TEST_F(NewFormTest, DefaultsMakeAWhite800By600ImageAtTheScreenResolution) {
  TNewForm* D = OpenNew();
  ASSERT_TRUE(D);
  EXPECT_EQ(D->windowTitle(), "Nouveau");
  EXPECT_EQ(D->Display->EdiLargeur->text(), "800");
  EXPECT_EQ(D->Display->EdiHauteur->text(), "600");
  EXPECT_EQ(D->Display->EdiMem->text(), "1.37 Mo");
  Click(D->BOk);
  ASSERT_TRUE(Form->UneImage());
  EXPECT_FALSE(D->isVisible());
  EXPECT_EQ(Form->LeFond().Width(), 800);
  EXPECT_EQ(Form->LeFond().Height(), 600);
  EXPECT_EQ(Form->LeFond().PixelColor(799, 599), clWhite);
  EXPECT_TRUE(Form->LeMasque().Empty());
  EXPECT_EQ(Form->Image().ResolutionX, ScreenPixelsPerInch());
  EXPECT_FALSE(Form->Image().Metadata.Empty());
}

TEST_F(NewFormTest, PaperPresetsGiveTheirPixelsAndTypingMakesTheSizeCustom) {
  TNewForm* D = OpenNew();
  ASSERT_TRUE(D);
  D->LstTaille->SetItemIndex(6); // A4 - Portrait
  EXPECT_EQ(D->CmbUnit->currentIndex(), 1);
  EXPECT_EQ(D->EdiL->text(), "21.00");
  EXPECT_EQ(D->EdiRes->text(), "200.00");
  EXPECT_EQ(D->Display->EdiLargeur->text(), "1654");
  EXPECT_EQ(D->Display->EdiHauteur->text(), "2339");
  EXPECT_EQ(D->Display->EdiMem->text(), "11.07 Mo");
  D->LstTaille->SetItemIndex(10); // Photo, 300 pixels per inch
  EXPECT_EQ(D->Display->EdiLargeur->text(), "1772");
  EXPECT_EQ(D->Display->EdiHauteur->text(), "1181");
  // A typed resolution keeps the centimetres; the pixels follow.
  Type(D->EdiRes, "100");
  EXPECT_EQ(D->EdiL->text(), "15.00");
  EXPECT_EQ(D->Display->EdiLargeur->text(), "591");
  Type(D->EdiL, "2");
  EXPECT_EQ(D->LstTaille->ItemIndex(), 0);
  EXPECT_EQ(D->Display->EdiLargeur->text(), "79");
  // The pixel size survives a change of unit.
  D->CmbUnit->setCurrentIndex(0);
  EXPECT_EQ(D->EdiL->text(), "79");
  D->LstTaille->SetItemIndex(2); // 800 x 600 pixels
  D->EdiL->setFocus();
  Click(D->BOk);
  ASSERT_TRUE(Form->UneImage());
  EXPECT_EQ(Form->LeFond().Width(), 800);
  EXPECT_EQ(Form->Image().ResolutionX, ScreenPixelsPerInch());
}

TEST_F(NewFormTest, WithThePrintUnitInInchesPaperShowsInInches) {
  MakeForm("PrintUnit=1\r\n");
  TNewForm* D = OpenNew();
  ASSERT_TRUE(D);
  D->LstTaille->SetItemIndex(6);
  EXPECT_EQ(D->CmbUnit->currentIndex(), 2);
  EXPECT_EQ(D->EdiL->text(), "8.27");
  EXPECT_EQ(D->EdiH->text(), "11.69");
}

TEST_F(NewFormTest, TransparentBackgroundIsWhiteUnderAFullMask) {
  TNewForm* D = OpenNew();
  ASSERT_TRUE(D);
  Type(D->EdiL, "30");
  Type(D->EdiH, "20");
  Click(D->CBTransp);
  EXPECT_FALSE(D->ColorEdit->isEnabled());
  EXPECT_FALSE(D->Pattern->CBMotif->isEnabled());
  D->ColorEdit->SetColor(0x0000FF);
  Click(D->BOk);
  ASSERT_TRUE(Form->UneImage());
  TBitmap White(30, 20, pf24bit, clWhite), Transparent(30, 20, pf24bit, clWhite);
  EXPECT_IMAGES_MATCH(Form->LeFond(), White);
  EXPECT_IMAGES_MATCH(Form->LeMasque(), Transparent);
}

TEST_F(NewFormTest, APatternFillsTheBackgroundAndACancelledChoiceUnticksTheBox) {
  const QString File = Dir.path() + "/motif.bmp";
  TBitmap Motif(2, 1, pf24bit, clBlack);
  SetPx(Motif, 1, 0, Rgb(255, 0, 0));
  ASSERT_TRUE(Motif.QImageView().save(File));
  QString Answer;
  const TFileDialogProvider Old = SetFileDialogProvider([&](TFileDialogState&) {
    return Answer.isEmpty() ? QStringList() : QStringList{Answer};
  });
  TNewForm* D = OpenNew();
  ASSERT_TRUE(D);
  Click(D->Pattern->CBMotif);
  EXPECT_FALSE(D->Pattern->CBMotif->isChecked());
  EXPECT_FALSE(D->Pattern->EdiMotif->isEnabled());
  Answer = File;
  Click(D->Pattern->CBMotif);
  EXPECT_TRUE(D->Pattern->CBMotif->isChecked());
  EXPECT_EQ(D->Pattern->EdiMotif->Text(), File);
  Type(D->EdiL, "5");
  Type(D->EdiH, "2");
  Click(D->BOk);
  SetFileDialogProvider(Old);
  ASSERT_TRUE(Form->UneImage());
  for (int X = 0; X < 5; ++X) EXPECT_EQ(Px(Form->LeFond(), X, 1), X % 2 ? Rgb(255, 0, 0) : Grey(0)) << X;
}

TEST_F(NewFormTest, SizesBelowOnePixelOrTooLargeToReopenAreRefusedAndTheDialogStays) {
  TNewForm* D = OpenNew();
  ASSERT_TRUE(D);
  for (const char* Width : {"0", "60000"}) {
    Type(D->EdiL, QString::fromLatin1(Width));
    Type(D->EdiH, "60000");
    Messages.clear();
    Click(D->BOk);
    ASSERT_EQ(Messages.size(), 1) << Width;
    EXPECT_TRUE(D->isVisible());
    EXPECT_FALSE(Form->UneImage());
  }
  EXPECT_TRUE(Messages[0].contains("60000 x 60000"));
  // A centimetre too small for one pixel is refused too.
  D->CmbUnit->setCurrentIndex(1);
  Type(D->EdiL, "0.01");
  Type(D->EdiH, "1");
  Messages.clear();
  Click(D->BOk);
  EXPECT_EQ(Messages.size(), 1);
  D->EdiL->clear();
  Messages.clear();
  Click(D->BOk);
  ASSERT_EQ(Messages.size(), 1);
  EXPECT_EQ(Messages[0], "Renseignez tous les champs avant de continuer !");
  Click(D->BAnnuler);
  EXPECT_FALSE(D->isVisible());
  EXPECT_FALSE(Form->UneImage());
}

} // namespace
