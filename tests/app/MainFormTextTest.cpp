// The text-layer and retouch dialogs in the main window, as a user drives
// them: a text layer made through the dialog, saved as a layered file,
// reopened and edited keeps every field and shows the new text; the retouch
// applies what its engine gives and Cancel gives the pixels back exactly.
#include "MainFormFixture.h"

#include "../support/ImageCompare.h"
#include "../support/WaitFor.h"
#include "document/Calque.h"
#include "document/ui/LayerNavigator.h"
#include "tools/RetouchArea.h"
#include "tools/ui/RTouch.h"
#include "tools/ui/Text.h"
#include "ui/ColorEdit.h"
#include "ui/SpinEdit.h"
#include "ui/TrackBar.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

namespace {

class MainFormTextTest : public MainFormFixture {
protected:
  std::unique_ptr<TMainForm> StartWithImage(const TBitmap& Picture) {
    auto Form = Start();
    // The retouch dialog offers the palette's blend modes.
    EXPECT_TRUE(WaitUntil([&Form] { return Form->Palette() != nullptr; }));
    Form->NouvelleImage(nullptr, &Picture, QString(), srcNew, 16777216);
    EXPECT_TRUE(Form->UneImage());
    return Form;
  }
  static TTextData* CurrentText(TMainForm& Form) {
    TLayerItem* L = Form.Image().CurrentLayer();
    return L ? dynamic_cast<TTextData*>(L->Data()) : nullptr;
  }
  static QString CurrentUndoCaption(TMainForm& Form) {
    const TUndoItem* U = Form.ListeUndo().CurrentUndo();
    return U ? U->Caption : QString();
  }
};

// The fields the dialog set, as the model holds them.
void ExpectFieldsKept(const TTextData& T) {
  EXPECT_EQ(T.TextSize, 30);
  EXPECT_EQ(T.TextStyle, fsBold | fsItalic);
  EXPECT_EQ(T.TextColor, RGB(200, 0, 0));
  EXPECT_EQ(T.TextAlign, 1);
  EXPECT_EQ(T.TextAngle, 15);
  EXPECT_EQ(T.Opacity, 80);
  EXPECT_EQ(T.SpacingX, 5);
  EXPECT_EQ(T.SpacingY, -3);
  EXPECT_TRUE(T.Shadow);
  EXPECT_EQ(T.ShadowDX, 4);
  EXPECT_EQ(T.ShadowDY, -6);
  EXPECT_EQ(T.ShadowColor, RGB(0, 0, 128));
  EXPECT_EQ(T.ShadowOpacity, 60);
  EXPECT_EQ(T.ShadowBlur, 4); // "Diffusion"
  EXPECT_EQ(T.ShadowStyle, lstDiffuse);
  EXPECT_TRUE(T.Border);
  EXPECT_EQ(T.BorderColor, RGB(0, 255, 0));
  EXPECT_EQ(T.Blur, 2);
  EXPECT_FALSE(T.Txt3D);
  EXPECT_FALSE(T.Invert);
  EXPECT_FALSE(T.UseBrush);
}

} // namespace

TEST_F(MainFormTextTest, ATextLayerMadeThroughTheDialogIsSavedReopenedAndEdited) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  const PBitmap Picture = FromQImage(Photo(240, 160));
  auto Form = StartWithImage(*Picture);
  Form->MenuItem("MenuTexte")->trigger();
  auto* T = Form->findChild<TTextForm*>();
  ASSERT_TRUE(T && T->isVisible());
  T->Memo->setPlainText("Bonjour\nle monde\n  \n");
  T->SETaille->SetValue(30);
  T->CBGras->click();
  T->CBItalique->click();
  T->ColorText->SetColor(RGB(200, 0, 0));
  T->SBCentre->click();
  T->SEAngle->SetValue(15);
  T->TBOpacite->SetPosition(80);
  T->SESpacingX->SetValue(5);
  T->SESpacingY->SetValue(-3);
  T->CBOmbre->click();
  T->SEDX->SetValue(4);
  T->SEDY->SetValue(-6);
  T->ColorOmbre->SetColor(RGB(0, 0, 128));
  T->SEAlphaShadow->SetValue(60);
  T->CmbStyle->setCurrentIndex(2);
  T->CBContour->click();
  T->ColorContour->SetColor(RGB(0, 255, 0));
  T->CBFlou->click();
  T->RBFlouFort->click();
  const QString Font = T->CmbPolices->currentText();
  QTest::mouseClick(T->BOk, Qt::LeftButton);
  ASSERT_TRUE(WaitUntil([&] { return !T->isVisible(); }));

  ASSERT_EQ(Form->Image().Layers().Count(), 2);
  TTextData* Made = CurrentText(*Form);
  ASSERT_NE(Made, nullptr);
  EXPECT_EQ(Made->Lines, QStringList({"Bonjour", "le monde"}));
  EXPECT_EQ(Made->TextFont, Font);
  ExpectFieldsKept(*Made);
  EXPECT_GT(Form->Image().CurrentLayer()->Bitmap().Width(), 0);
  EXPECT_EQ(CurrentUndoCaption(*Form), "Nouveau > Texte");

  ASSERT_TRUE(Form->Enregistrer(Path("texte.lmi"), "", false, false));
  ASSERT_TRUE(Form->FermerImage(Form->EnfantActif(), true));
  Form->Ouvrir(Path("texte.lmi"), true, true);
  ASSERT_TRUE(Form->UneImage());
  ASSERT_EQ(Form->Image().Layers().Count(), 2);
  SelectLayer(*Form->LayerNav(), 1);
  ASSERT_TRUE(IsTextLayer(Form->Image()));

  // Layer > Options on a text layer opens its text dialog.
  Form->RefreshMenuStates();
  ASSERT_TRUE(Form->MenuItem("MenuCalqueOptions")->isEnabled());
  Form->MenuItem("MenuCalqueOptions")->trigger();
  ASSERT_TRUE(T->isVisible());
  EXPECT_EQ(T->Memo->toPlainText(), "Bonjour\nle monde");
  EXPECT_EQ(T->CmbStyle->currentIndex(), 2);
  EXPECT_TRUE(T->RBFlouFort->isChecked());
  EXPECT_TRUE(T->SBCentre->isChecked());
  EXPECT_EQ(T->SEDY->Value(), -6);
  T->Memo->setPlainText("Au revoir");
  QTest::mouseClick(T->BOk, Qt::LeftButton);
  ASSERT_TRUE(WaitUntil([&] { return !T->isVisible(); }));

  TTextData* Edited = CurrentText(*Form);
  ASSERT_NE(Edited, nullptr);
  EXPECT_EQ(Edited->Lines, QStringList({"Au revoir"}));
  EXPECT_EQ(Edited->TextFont, Font);
  ExpectFieldsKept(*Edited);
  // The layer shows what the new text renders to.
  TTextData Copy;
  Copy.Assign(*Edited);
  TLayerItem Fresh;
  Fresh.LayerType = ltData;
  Copy.RenderTextLayer(Fresh);
  EXPECT_IMAGES_MATCH(Form->Image().CurrentLayer()->Bitmap(), Fresh.Bitmap());
  EXPECT_EQ(CurrentUndoCaption(*Form), "Texte > Options");
}

// The text of a new layer is that of the last one; a text of blank lines
// makes nothing.
TEST_F(MainFormTextTest, BlankTextMakesNoLayerAndTheNextOneStartsWithTheLastText) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  const PBitmap Picture = FromQImage(Photo(120, 80));
  auto Form = StartWithImage(*Picture);
  Form->MenuItem("MenuTexte")->trigger();
  auto* T = Form->findChild<TTextForm*>();
  ASSERT_TRUE(T);
  T->Memo->setPlainText(" \n\t\n");
  QTest::mouseClick(T->BOk, Qt::LeftButton);
  ASSERT_TRUE(WaitUntil([&] { return !T->isVisible(); }));
  EXPECT_EQ(Form->Image().Layers().Count(), 1);

  Form->MenuItem("MenuTexte")->trigger();
  T->Memo->setPlainText("Un");
  QTest::mouseClick(T->BOk, Qt::LeftButton);
  ASSERT_TRUE(WaitUntil([&] { return !T->isVisible(); }));
  EXPECT_EQ(Form->Image().Layers().Count(), 2);
  Form->MenuItem("MenuTexte")->trigger();
  EXPECT_EQ(T->Memo->toPlainText(), "Un");
  QTest::mouseClick(T->BAnnuler, Qt::LeftButton);
}

TEST_F(MainFormTextTest, RetouchAppliesWhatTheEngineGivesAndCancelRestoresExactly) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  const PBitmap Picture = FromQImage(Photo(200, 150));
  auto Form = StartWithImage(*Picture);
  const PBitmap Before = Copy(Form->LeBitmap());
  const int Steps = Form->ListeUndo().Count();

  Form->MenuItem("MenuRTouch")->trigger();
  auto* R = Form->findChild<TRTouchForm*>();
  ASSERT_TRUE(R && R->isVisible());
  ASSERT_EQ(R->TagModes.size(), 8u);
  // A centre never set becomes the layer's, the radius half its smaller side.
  EXPECT_EQ(R->Center, (TPoint{100, 75}));
  EXPECT_EQ(R->TBRadius->Position(), 75);
  TMyImageLayeredView* View = Form->EnfantActif()->Image;
  const TPoint At = View->BmpToClient(TPoint{60, 40});
  QTest::mouseClick(View->viewport(), Qt::LeftButton, {}, QPoint(At.X, At.Y));
  EXPECT_NEAR(R->Center.X, 60, 1);
  EXPECT_NEAR(R->Center.Y, 40, 1);
  R->CBFilter->setCurrentIndex(rfGrayscale);
  R->CBMode->setCurrentIndex(1);
  R->TBOpacity->SetPosition(70);
  QTest::mouseClick(R->BApercu, Qt::LeftButton);
  EXPECT_TRUE(R->Preview);
  QTest::mouseClick(R->BOk, Qt::LeftButton);
  ASSERT_TRUE(WaitUntil([&] { return !R->isVisible(); }));

  TBitmap Expected;
  Expected.Assign(*Before);
  RetouchArea24(Expected, *Before, R->Center, 75, rfGrayscale, R->TagModes[1], 70, true);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Expected);
  EXPECT_EQ(Form->ListeUndo().Count(), Steps + 1);
  EXPECT_FALSE(Form->LastFilter().Event);

  // A preview cancelled gives the pixels back and leaves no step.
  const PBitmap Kept = Copy(Form->LeBitmap());
  Form->MenuItem("MenuRTouch")->trigger();
  ASSERT_TRUE(R->isVisible());
  R->CBPreview->click();
  R->CBFilter->setCurrentIndex(rfContrast);
  EXPECT_TRUE(R->Preview);
  EXPECT_FALSE(ImagesMatch(Form->LeBitmap(), *Kept));
  QTest::mouseClick(R->BAnnuler, Qt::LeftButton);
  ASSERT_TRUE(WaitUntil([&] { return !R->isVisible(); }));
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), *Kept);
  EXPECT_EQ(Form->ListeUndo().Count(), Steps + 1);
}
