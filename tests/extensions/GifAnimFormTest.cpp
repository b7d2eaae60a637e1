#include "extensions/ui/GifAnim.h"

#include "../document/FakeNavigator.h"
#include "document/MyImageLayered.h"
#include "files/GifImage.h"
#include "files/ui/BmpOE2.h"
#include "support/WaitFor.h"
#include "ui/MsgDlg.h"
#include "ui/SpinEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

class TFakeGifHost : public TGifAnimHost {
public:
  TFakeGifHost() : Nav(Image) {
    Image.AddBackground(20, 10, 0x333333, "#0");
    Image.AddLayer(4, 4, clRed, {2, 2}, 100, "Rouge");
    Image.AddLayer(4, 4, clLime, {8, 2}, 100, "Vert");
    Image.AddLayer(4, 4, clBlue, {14, 2}, 100, "Bleu");
    Image.SetLayerIndex(0);
  }
  TMyImageLayered* ActiveImage() override { return &Image; }
  LayerNavigator* LayerNav() override { return &Nav; }
  QString ActiveFileName() const override { return "/photos/vacances.lmi"; }
  QString SaveFolder() const override { return Temp.path(); }
  QString TitreMenu(const QString& ItemName) const override { return ItemName == "MenuGifAnim" ? "GIF animé" : ""; }
  void DebutAction(const QString& Msg, bool) override { Actions << Msg; }
  void FinAction() override { Actions << "end"; }
  QString TempFolder() const override { return Temp.path(); }
  bool OpenPage(const QString& FileName) override {
    Opened << FileName;
    return true;
  }
  TMyImageLayered Image;
  FakeNavigator Nav;
  QTemporaryDir Temp;
  QStringList Actions, Opened;
};

class GifAnimFormTest : public ::testing::Test {
protected:
  void SetUp() override {
    Form = std::make_unique<TGifAnimForm>(Host);
    Show();
  }
  void Show() {
    Form->show();
    ASSERT_TRUE(WaitUntil([this] { return Form->isVisible(); }));
  }
  void Hide() {
    Form->hide();
    ASSERT_TRUE(WaitUntil([this] { return !Form->isVisible(); }));
  }
  // Text typed into the time field over what it held, as a user would.
  void Type(const QString& Text) {
    TSpinEdit2* E = Form->SEDelai;
    E->setFocus();
    E->selectAll();
    QTest::keyClick(E, Qt::Key_Delete);
    QTest::keyClicks(E, Text);
  }
  // Steps the list down to entry Index with the keyboard.
  void Choose(int Index) {
    QComboBox* C = Form->CmbImages;
    C->setFocus();
    QTest::keyClick(C, Qt::Key_Home);
    for (int I = 0; I < Index; ++I) QTest::keyClick(C, Qt::Key_Down);
    ASSERT_EQ(C->currentIndex(), Index);
  }
  static void Click(QAbstractButton* B) { QTest::mouseClick(B, Qt::LeftButton, {}, QPoint(4, 4)); }
  std::vector<int> Times() const {
    std::vector<int> T;
    for (int I = 0; I < Form->CmbImages->count(); ++I) T.push_back(Form->EntryDelay(I));
    return T;
  }
  QString TempFile(const char* Name) const { return QDir(Host.Temp.path()).filePath(QString::fromLatin1(Name)); }

  TFakeGifHost Host;
  std::unique_ptr<TGifAnimForm> Form;
  QStringList Messages;
  TScopedMsgDlgAnswers Answers{[this](const TMsgDlgRequest& R) {
    Messages << R.Msg;
    return TMsgDlgAnswer{mrOk, {}};
  }};
};

TEST_F(GifAnimFormTest, TimesApplyToAllOrToTheChosenLayerAndSurviveTheNextShow) {
  QComboBox* C = Form->CmbImages;
  ASSERT_EQ(C->count(), 4);
  EXPECT_EQ(C->itemText(0), "Toutes les images");
  EXPECT_EQ(C->itemText(2), "2 : Vert");
  EXPECT_EQ(Times(), (std::vector<int>{100, 100, 100, 100}));
  EXPECT_FALSE(Form->LblDelai->isVisible());

  Type("40");
  EXPECT_EQ(Times(), (std::vector<int>{40, 40, 40, 40})) << "the all entry sets every time";
  Choose(2);
  EXPECT_EQ(Host.Image.LayerIndex(), 2) << "the chosen layer becomes current";
  EXPECT_EQ(Host.Nav.PanelIndex, 2);
  EXPECT_TRUE(Form->LblDelai->isVisible());
  Type("0");
  EXPECT_EQ(Times(), (std::vector<int>{40, 40, 0, 40}));
  Choose(3);
  EXPECT_EQ(Form->SEDelai->text(), "40");
  Choose(0);
  EXPECT_EQ(Host.Image.LayerIndex(), 0);
  EXPECT_FALSE(Form->LblDelai->isVisible());

  Hide();
  Show();
  EXPECT_EQ(Times(), (std::vector<int>{40, 40, 0, 40}));
  EXPECT_EQ(Form->SEDelai->text(), "40");
  EXPECT_EQ(Form->CmbImages->currentIndex(), 0);
}

TEST_F(GifAnimFormTest, AnEmptyTimeRefusesPreviewAndExport) {
  Type("");
  for (QPushButton* B : {Form->BApercu, Form->BOk}) {
    Messages.clear();
    Click(B);
    EXPECT_EQ(Messages, QStringList{"Renseignez tous les champs avant de continuer !"});
    EXPECT_TRUE(Form->isVisible());
  }
  EXPECT_TRUE(Host.Opened.isEmpty());
}

TEST_F(GifAnimFormTest, PreviewWritesTheAnimationItsPageAndTileAndHidingRemovesThem) {
  Type("0"); // every layer left out: the first one is used with 100
  Form->CBTransp->setChecked(true);
  Click(Form->BApercu);
  EXPECT_EQ(Times()[1], 100);
  ASSERT_EQ(Host.Opened, QStringList{TempFile(GifPreviewPageName)});
  EXPECT_EQ(Host.Actions, (QStringList{"Aperçu", "end"}));
  TGIFImage Gif;
  Gif.LoadFromFile(TempFile(GifPreviewName));
  EXPECT_EQ(Gif.ImageCount(), 1);
  EXPECT_TRUE(QFile::exists(TempFile(GifPreviewTileName))) << "the first frame is transparent";
  QFile Page(TempFile(GifPreviewPageName));
  ASSERT_TRUE(Page.open(QIODevice::ReadOnly));
  const QString Text = QString::fromLatin1(Page.readAll());
  EXPECT_TRUE(Text.contains("<td background=\"BrushTest-Lumaretique.gif\">")) << Text.toStdString();
  EXPECT_TRUE(Text.contains("<img src=\"GIFTest-Lumaretique.gif\" width=\"20\" height=\"10\">"));
  EXPECT_TRUE(Text.contains("Web 216 couleurs / Diffusion / Boucler / Transparence\r\n<br>\r\n(20 x 10)"));
  Page.close();

  Hide();
  for (const char* Name : {GifPreviewName, GifPreviewTileName, GifPreviewPageName})
    EXPECT_FALSE(QFile::exists(TempFile(Name))) << Name;
}

TEST_F(GifAnimFormTest, ExportAsksForAGifNamedAfterTheImageAndWritesIt) {
  TFileDialogState Asked;
  const QString Target = QDir(Host.Temp.path()).filePath("anim.gif");
  QString Answer;
  const TFileDialogProvider Previous = SetFileDialogProvider([&](TFileDialogState& S) {
    Asked = S;
    return Answer.isEmpty() ? QStringList{} : QStringList{Answer};
  });
  Click(Form->BOk); // cancelled: the dialog stays
  EXPECT_TRUE(Form->isVisible());
  EXPECT_EQ(Asked.FileName, "vacances.gif");
  EXPECT_EQ(Asked.DefaultSuffix, "gif");
  EXPECT_EQ(QDir(Asked.Directory), QDir(Host.Temp.path()));
  EXPECT_EQ(Asked.Title, Form->windowTitle());

  Answer = Target;
  Click(Form->BOk);
  SetFileDialogProvider(Previous);
  EXPECT_TRUE(WaitUntil([this] { return !Form->isVisible(); }));
  EXPECT_EQ(Host.Actions, (QStringList{"GIF animé", "end"}));
  TGIFImage Gif;
  Gif.LoadFromFile(Target);
  EXPECT_EQ(Gif.ImageCount(), 3);
  EXPECT_TRUE(Messages.isEmpty());

  // A folder that cannot be written: the save error names the file.
  Show();
  Answer = "/proc/no/anim.gif";
  SetFileDialogProvider([&](TFileDialogState&) { return QStringList{Answer}; });
  Click(Form->BOk);
  SetFileDialogProvider(Previous);
  EXPECT_EQ(Messages, QStringList{"Impossible d'enregistrer l'image dans le fichier \"/proc/no/anim.gif\" !"});
}

TEST_F(GifAnimFormTest, TransparencyAndBackgroundRestoreExcludeEachOtherAndNeedPixelLayers) {
  Click(Form->CBTransp);
  EXPECT_TRUE(Form->CBTransp->isChecked());
  Click(Form->CBrestoreBkg);
  EXPECT_TRUE(Form->CBrestoreBkg->isChecked());
  EXPECT_FALSE(Form->CBTransp->isChecked());
  Click(Form->CBTransp);
  EXPECT_FALSE(Form->CBrestoreBkg->isChecked());

  Hide();
  Host.Image.AddLayerAdjust(TAdjustLayerInfos{}, 100, "Réglage");
  Show();
  EXPECT_FALSE(Form->CBTransp->isEnabled());
  EXPECT_FALSE(Form->CBTransp->isChecked());
  EXPECT_EQ(Form->CmbImages->count(), 5);
}

} // namespace
