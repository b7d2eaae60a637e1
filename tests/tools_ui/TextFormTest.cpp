// The text-layer dialog against a fake main window: the shadow styles both
// ways, the controls that depend on others, the colours picked on the image,
// "Transformer en sélection", the empty-field warning and the edit of a
// layer that went away.
#include "tools/ui/Text.h"

#include "FakeToolDialogHost.h"
#include "dialogs/ui/SizeFields.h"
#include "platform/FontUtils.h"
#include "platform/IniFile.h"
#include "ui/ColorEdit.h"
#include "ui/MsgDlg.h"
#include "ui/SpecialEdit.h"
#include "ui/SpinEdit.h"
#include "ui/TrackBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

class TextFormTest : public ::testing::Test {
protected:
  void Open(bool Nouveau) {
    Form.Nouveau = Nouveau;
    Form.show();
  }
  void Click(QAbstractButton* B) { QTest::mouseClick(B, Qt::LeftButton); }
  FakeToolDialogHost Host;
  TTextForm Form;
};

// The style of the shadow as stored, and as shown again from the model.
struct TShadowCase {
  int Style;
  int Radius;
  int StoredBlur;
  TLayerShadowStyle StoredStyle;
};

class TextFormShadowStyle : public TextFormTest, public ::testing::WithParamInterface<TShadowCase> {};

TEST_P(TextFormShadowStyle, IsStoredAndShownAgain) {
  const TShadowCase& C = GetParam();
  Open(true);
  Form.CBOmbre->click();
  Form.CmbStyle->setCurrentIndex(C.Style);
  Form.SEShadowBlur->SetValue(C.Radius);
  TTextData Data;
  Form.FillTextData(Data);
  EXPECT_EQ(Data.ShadowBlur, C.StoredBlur);
  EXPECT_EQ(Data.ShadowStyle, C.StoredStyle);
  Form.BResetClick();
  ASSERT_EQ(Form.CmbStyle->currentIndex(), 1);
  Form.LoadTextData(Data);
  EXPECT_EQ(Form.CmbStyle->currentIndex(), C.Style);
  if (C.Style == 1) EXPECT_EQ(Form.SEShadowBlur->Value(), C.Radius);
}

INSTANTIATE_TEST_SUITE_P(Styles, TextFormShadowStyle,
                         ::testing::Values(TShadowCase{0, 9, 0, lstBlur}, TShadowCase{1, 9, 9, lstBlur},
                                           TShadowCase{2, 9, 4, lstDiffuse}));

TEST_F(TextFormTest, NegativeModeUnchecksAndDisablesShadowOutlineAndBevel) {
  Open(true);
  Form.CBOmbre->click();
  Form.CBContour->click();
  ASSERT_TRUE(Form.SEDX->isEnabled());
  ASSERT_TRUE(Form.ColorContour->isEnabled());
  Form.CBInverser->click();
  for (QCheckBox* B : {Form.CBOmbre, Form.CBContour, Form.CB3D}) {
    EXPECT_FALSE(B->isChecked()) << B->objectName().toStdString();
    EXPECT_FALSE(B->isEnabled()) << B->objectName().toStdString();
  }
  EXPECT_FALSE(Form.SEDX->isEnabled());
  EXPECT_FALSE(Form.ColorContour->isEnabled());
  Form.CBInverser->click();
  EXPECT_TRUE(Form.CBOmbre->isEnabled());
  EXPECT_TRUE(Form.CBContour->isEnabled());
  // The bevel keeps the outline off.
  Form.CB3D->click();
  EXPECT_FALSE(Form.CBContour->isEnabled());
}

TEST_F(TextFormTest, ARasterFontDisablesAndUnchecksSmoothing) {
  Open(true);
  Form.CmbPolices->addItem(QStringLiteral("Raster face"), RASTER_FONTTYPE);
  Form.CmbPolices->addItem(QStringLiteral("Outline face"), TRUETYPE_FONTTYPE);
  Form.CmbPolices->setCurrentIndex(Form.CmbPolices->findText("Raster face"));
  EXPECT_FALSE(Form.CBLisser->isEnabled());
  EXPECT_FALSE(Form.CBLisser->isChecked());
  Form.CmbPolices->setCurrentIndex(Form.CmbPolices->findText("Outline face"));
  EXPECT_TRUE(Form.CBLisser->isEnabled());
  EXPECT_TRUE(Form.CBLisser->isChecked());
}

TEST_F(TextFormTest, PickedColoursGoToTheTextShadowOrOutline) {
  Form.IgnoreFirstClick = true;
  Open(true);
  Form.ChangerCouleur(RGB(1, 2, 3));
  EXPECT_EQ(Form.ColorText->Color(), clBlack); // the click that opened it
  Form.ChangerCouleur(RGB(1, 2, 3));
  EXPECT_EQ(Form.ColorText->Color(), RGB(1, 2, 3));
  Form.PageControl->setCurrentWidget(Form.TshEffets);
  Form.ChangerCouleur(RGB(9, 9, 9)); // neither shadow nor outline: nowhere
  EXPECT_EQ(Form.ColorOmbre->Color(), clBlack);
  EXPECT_EQ(Form.ColorContour->Color(), clWhite);
  Form.CBContour->click();
  Form.ChangerCouleur(RGB(4, 5, 6));
  EXPECT_EQ(Form.ColorContour->Color(), RGB(4, 5, 6));
  Form.CBOmbre->click();
  Form.ChangerCouleur(RGB(7, 8, 9));
  EXPECT_EQ(Form.ColorOmbre->Color(), RGB(7, 8, 9));
  Click(Form.SB2);
  Form.ChangerCouleur(RGB(10, 11, 12));
  EXPECT_EQ(Form.ColorContour->Color(), RGB(10, 11, 12));
}

// "Transformer en sélection" makes no layer and keeps no settings; it gives
// the selection a text without blur or bevel, centred for a new text.
TEST_F(TextFormTest, TextToSelectionMakesNoLayerAndKeepsNoSettings) {
  QTemporaryDir Dir;
  DialogParams = true;
  DialogsIniFile = Dir.filePath("LumaretiqueDialogs.ini");
  Open(true);
  Form.Memo->setPlainText("Sel");
  Form.CBFlou->click();
  Form.CB3D->click();
  Click(Form.BSel);
  EXPECT_FALSE(Form.isVisible());
  EXPECT_TRUE(Host.Added.empty());
  ASSERT_TRUE(Host.Selected);
  EXPECT_EQ(Host.Selected->Lines, QStringList{"Sel"});
  EXPECT_EQ(Host.Selected->Blur, 0);
  EXPECT_FALSE(Host.Selected->Txt3D);
  EXPECT_TRUE(Host.SelectionCentered);
  EXPECT_EQ(Host.Tool, 0);
  EXPECT_FALSE(TIniFile(DialogsIniFile).SectionExists("TextForm"));

  Open(true);
  Form.Memo->setPlainText("Calque");
  Click(Form.BOk);
  ASSERT_EQ(Host.Added.size(), 1u);
  EXPECT_EQ(Host.Tool, 13);
  EXPECT_TRUE(TIniFile(DialogsIniFile).SectionExists("TextForm"));
  DialogParams = false;
  DialogsIniFile.clear();
}

// An empty field stops Ok with the warning; the Ok that follows makes the
// layer, even when the stopped one was "Transformer en sélection".
TEST_F(TextFormTest, AnEmptyFieldWarnsAndTheNextOkIsAnOk) {
  QStringList Shown;
  TScopedMsgDlgAnswers Answers([&Shown](const TMsgDlgRequest& R) {
    Shown << R.Msg;
    return TMsgDlgAnswer{mrOk, {}};
  });
  Open(true);
  Form.Memo->setPlainText("Texte");
  Form.SEAngle->setText(QString());
  Click(Form.BSel);
  ASSERT_EQ(Shown, QStringList{"Renseignez tous les champs avant de continuer !"});
  EXPECT_TRUE(Form.isVisible());
  Form.SEAngle->setText("0");
  Click(Form.BOk);
  EXPECT_FALSE(Host.Selected);
  ASSERT_EQ(Host.Added.size(), 1u);
  EXPECT_EQ(Host.Added[0]->Lines, QStringList{"Texte"});
}

// An edit shows the layer's values without the saved ones, and renders the
// layer again in its own undo step; a layer that is no longer current is
// left alone.
TEST_F(TextFormTest, EditingWorksOnTheCurrentTextLayerOnly) {
  TTextData Layer;
  Layer.Lines = {"Avant"};
  Layer.TextSize = 40;
  Layer.Opacity = 70;
  Layer.UseBrush = true;
  Layer.Brush = "%lmsdir%/Patterns/a.png";
  Host.Text = &Layer;
  Open(false);
  EXPECT_EQ(Form.Memo->toPlainText(), "Avant");
  EXPECT_EQ(Form.SETaille->Value(), 40);
  EXPECT_EQ(Form.Motif->EdiMotif->Text(), "/opt/luma/Patterns/a.png");
  Form.Memo->setPlainText("Après");
  Click(Form.BOk);
  EXPECT_EQ(Host.TextUndos, 1);
  EXPECT_EQ(Host.Renders, 1);
  EXPECT_EQ(Layer.Lines, QStringList{"Après"});
  EXPECT_EQ(Layer.Opacity, 70);
  EXPECT_EQ(Layer.Brush, "%lmsdir%/Patterns/a.png");

  Open(false);
  TTextData Other;
  Host.Text = &Other;
  Form.Memo->setPlainText("Perdu");
  Click(Form.BOk);
  EXPECT_FALSE(Form.isVisible());
  EXPECT_EQ(Host.TextUndos, 1);
  EXPECT_EQ(Layer.Lines, QStringList{"Après"});
}

TEST_F(TextFormTest, ResetGivesTheDefaults) {
  Open(true);
  Form.Memo->setPlainText("x");
  Form.SETaille->SetValue(99);
  Form.TBOpacite->SetPosition(40);
  Form.CBOmbre->click();
  Form.SEDX->SetValue(-3);
  Form.SBDroite->click();
  Click(Form.BReset);
  TTextData Data;
  Form.FillTextData(Data);
  EXPECT_TRUE(Data.Lines.isEmpty());
  EXPECT_EQ(Data.TextSize, 12);
  EXPECT_EQ(Data.Opacity, 100);
  EXPECT_FALSE(Data.Shadow);
  EXPECT_EQ(Data.ShadowDX, 7);
  EXPECT_EQ(Data.ShadowBlur, 6);
  EXPECT_EQ(Data.TextAlign, 0);
  EXPECT_EQ(Data.BorderColor, clWhite);
  EXPECT_FALSE(Form.SEDX->isEnabled());
}

} // namespace
