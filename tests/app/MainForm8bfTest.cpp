// Filter > "8BF" on a real frame, with a stand-in host library installed as
// the module folder's "8bf_64.lml" and plug-in files in "8bf_64": the menu
// lists the host's plug-ins by category, a run changes exactly the work
// rectangle as the plug-in does, in an undo step that gives the pixels back;
// an incomplete host gives no menu and no message.
#include "MainFormFixture.h"

#include "../support/ImageCompare.h"
#include "../support/Pixels.h"
#include "app/ModifInfo.h"
#include "document/Undo.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>

namespace {

class MainForm8bfTest : public MainFormFixture {
protected:
  // Host installs Host as the module folder's host library and writes the
  // plug-ins: "Artistic" with "Invert" and "Refuse" (fails to load),
  // "Couleur" with "Opacité" (copies each pixel's alpha into its blue).
  void Install(const char* Host) {
    ASSERT_TRUE(QDir(Dir.path()).mkpath("Plugins_64"));
    ASSERT_TRUE(QDir(Dir.path()).mkpath("8bf_64"));
    ASSERT_TRUE(QFile::copy(Host, Path("Plugins_64/8bf_64.lml")));
    for (const auto& [File, Text] : {std::pair{"a.8bf", "Artistic\nInvert\ninvert\n"},
                                     std::pair{"b.8bf", "Artistic\nRefuse\nfail-load\n"},
                                     std::pair{"c.8bf", "Couleur\nOpacité\nalpha\n"}}) {
      QFile F(Path(QString("8bf_64/") + File));
      ASSERT_TRUE(F.open(QIODevice::WriteOnly));
      F.write(Text);
    }
  }
  void Open() {
    Form = Start();
    TBitmap B(40, 30, pf24bit);
    FillRandom(B, 8);
    Form->NouvelleImage(nullptr, &B, QString(), srcNew, 16777216);
    QCoreApplication::processEvents();
    Original.Assign(Form->LeBitmap());
  }
  QMenu* Menu8bf() { return Form->MenuNamed("MenuFiltre8bf"); }
  // The plug-in's item under its category, as the menu shows it.
  QAction* Item(const QString& Category, const QString& Name) {
    for (QAction* C : Menu8bf()->actions())
      if (C->menu() && C->text() == Category)
        for (QAction* I : C->menu()->actions())
          if (I->text() == Name) return I;
    return nullptr;
  }
  static TBitmap& Inverted(TBitmap& B, const TRect& R) {
    for (int Y = R.Top; Y < R.Bottom; ++Y)
      for (int X = R.Left; X < R.Right; ++X) {
        const TRGB P = Px(B, X, Y);
        SetPx(B, X, Y, Rgb(255 - P.Red, 255 - P.Green, 255 - P.Blue));
      }
    return B;
  }
  const TUndoItem* Step() { return Form->ListeUndo().CurrentUndo(); }

  std::unique_ptr<TMainForm> Form;
  TBitmap Original;
};

TEST_F(MainForm8bfTest, MenuListsThePluginsByCategory) {
  Install(LUMA_8BF_HOST);
  Form = Start();
  ASSERT_TRUE(Menu8bf()->menuAction()->isVisible());
  ASSERT_TRUE(Menu8bf()->menuAction()->isEnabled());
  QStringList Shown;
  for (QAction* C : Menu8bf()->actions()) {
    ASSERT_NE(C->menu(), nullptr);
    Shown << C->text() + ":";
    for (QAction* I : C->menu()->actions()) Shown << I->text();
  }
  EXPECT_EQ(Shown, QStringList({"Artistic:", "Invert", "Refuse", "Couleur:", "Opacité"}));
  EXPECT_EQ(Item("Couleur", "Opacité")->property("Tag").toInt(), 2);
  QAction* About = Form->MenuNamed("MenuPluginAPropos")->findChild<QAction*>("MenuAbout8bfHost");
  ASSERT_NE(About, nullptr);
  EXPECT_EQ(About->text(), "8bf Host");
}

TEST_F(MainForm8bfTest, RunOnTheSelectionChangesExactlyItsRectangleAndUndoes) {
  Install(LUMA_8BF_HOST);
  Open();
  Form->MenuItem("MenuSelTout")->trigger();
  const TRect R{5, 4, 25, 20};
  Form->Sel()->SetBmpSelRect(R);
  QAction* Invert = Item("Artistic", "Invert");
  ASSERT_NE(Invert, nullptr);
  Invert->trigger();
  TBitmap Expected;
  Expected.Assign(Original);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Inverted(Expected, R));
  ASSERT_NE(Step(), nullptr);
  EXPECT_EQ(Step()->Caption, "Invert");
  EXPECT_EQ(Step()->GetFlag(2), miFiltre);
  // Edit > Repeat runs the same plug-in again, in a step of its own.
  Form->MenuNamed("MenuEdition")->aboutToShow();
  Form->MenuItem("MenuEditionRepeter")->trigger();
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
  EXPECT_EQ(Form->ListeUndo().Count(), 2);
  Form->MenuItem("MenuEditionUndo")->trigger();
  Form->MenuItem("MenuEditionUndo")->trigger();
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
}

TEST_F(MainForm8bfTest, WholeLayerInPlaceAndAFailedPluginLeavesNoStep) {
  Install(LUMA_8BF_HOST);
  Open();
  Item("Artistic", "Invert")->trigger();
  TBitmap Expected;
  Expected.Assign(Original);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Inverted(Expected, {0, 0, 40, 30}));
  ASSERT_EQ(Form->ListeUndo().Count(), 1);
  Item("Artistic", "Refuse")->trigger();
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Expected);
  EXPECT_EQ(Form->ListeUndo().Count(), 1);
  Form->MenuItem("MenuEditionUndo")->trigger();
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
}

TEST_F(MainForm8bfTest, AlphaModeGivesTheLayersTransparencyAndKeepsIt) {
  Install(LUMA_8BF_HOST);
  TIniFile(State.MainIniFile).WriteString("Plugins64", "8bfMode", "1");
  Open();
  // On the opaque background the buffer has no alpha: the plug-in that
  // reads it fails and nothing changes.
  Item("Couleur", "Opacité")->trigger();
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
  EXPECT_EQ(Form->ListeUndo().Count(), 0);
  TMyImageLayered& Img = Form->Image();
  TBitmap Layer(20, 16), Mask(20, 16, pf24bit, clBlack);
  FillRandom(Layer, 4);
  for (int Y = 0; Y < 16; ++Y) SetPx(Mask, Y, Y, Grey(200));
  Img.SetLayerIndex(Img.AddLayer(&Layer, &Mask, {4, 4}, 100, "Calque"));
  Form->LayerNav()->Synchronize(true);
  TBitmap Bmp, Msk;
  Bmp.Assign(Form->LeBitmap());
  Msk.Assign(Form->LeMasque());
  Item("Couleur", "Opacité")->trigger();
  ASSERT_EQ(Form->ListeUndo().Count(), 1);
  EXPECT_EQ(Step()->GetFlag(2), miFiltreBM);
  EXPECT_EQ(Px(Form->LeBitmap(), 3, 3).Blue, 255 - 200);
  EXPECT_EQ(Px(Form->LeBitmap(), 4, 3).Blue, 255);
  EXPECT_EQ(Px(Form->LeBitmap(), 4, 3).Red, Px(Bmp, 4, 3).Red);
  EXPECT_IMAGES_MATCH(Form->LeMasque(), Msk);
  Form->MenuItem("MenuEditionUndo")->trigger();
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Bmp);
}

TEST_F(MainForm8bfTest, IncompleteHostGivesNoMenuAndNoMessage) {
  Install(LUMA_8BF_HOST_INCOMPLETE);
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  Form = Start();
  EXPECT_FALSE(Menu8bf()->menuAction()->isVisible());
  EXPECT_TRUE(Menu8bf()->isEmpty());
  EXPECT_EQ(Form->MenuNamed("MenuPluginAPropos")->findChild<QAction*>("MenuAbout8bfHost"), nullptr);
  EXPECT_TRUE(Messages.Shown.isEmpty()) << Messages.Shown.join('|').toStdString();
}

} // namespace
