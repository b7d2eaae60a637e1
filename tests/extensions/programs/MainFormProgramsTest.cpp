#include "MainFormFixture.h"

#include "document/Undo.h"
#include "files/BmpExtOE.h"
#include "support/ImageCompare.h"
#include "support/Pixels.h"

#include <QAction>
#include <QDir>
#include <QMenu>

namespace {

class MainFormProgramsTest : public MainFormFixture {
protected:
  void SetUp() override {
    MainFormFixture::SetUp();
    // The swap and exchange files go to the temporary folder: this test's own.
    OldTmp = qgetenv("TMPDIR");
    ASSERT_TRUE(QDir(Dir.path()).mkpath("tmp/x"));
    qputenv("TMPDIR", (Dir.path() + "/tmp").toLocal8Bit());
    ASSERT_TRUE(QDir(Dir.path()).mkpath("Plugins_64"));
  }
  void TearDown() override {
    qputenv("TMPDIR", OldTmp);
    SetExtraOpenFilter("");
    SetExtraOpenMasks("");
    SetExtraSaveFilter("");
    MainFormFixture::TearDown();
  }
  // A description file of the stand-in program in the program folder.
  void Describe(const QString& File, const QString& Params, const QList<QPair<QString, QString>>& More = {}) {
    TIniFile Ini(Path("Plugins_64/" + File));
    Ini.WriteString("LUMARETIQUE_LINK", "ExeFilename", LUMA_TEST_PROGRAM);
    Ini.WriteString("LUMARETIQUE_LINK", "ExeParams", Params);
    for (const auto& [Key, Value] : More) Ini.WriteString("LUMARETIQUE_LINK", Key, Value);
  }
  static QAction* ItemIn(TMainForm& Form, const char* Menu, const QString& Text) {
    for (QAction* A : Form.MenuNamed(Menu)->actions())
      if (A->text() == Text) return A;
    return nullptr;
  }
  // An image of random pixels with a layer above the background.
  void OpenPicture(TMainForm& Form) {
    TMyImageLayered Doc;
    Doc.AddBackground(20, 14, clWhite, "#0");
    FillRandom(Doc.Layers()[0].Bitmap(), 3);
    Form.NouvelleImage(&Doc, nullptr, QString(), srcNew, 16777216);
  }
  // Runs Item as the menu would, once the Filter menu opened.
  static void Run(TMainForm& Form, QAction* Item) {
    emit Form.MenuNamed("MenuFiltre")->aboutToShow();
    ASSERT_TRUE(Item->isEnabled());
    Item->trigger();
  }
  QByteArray OldTmp;
};

TEST_F(MainFormProgramsTest, AFilterProgramChangesTheLayerInOneUndoStep) {
  Describe("MyFilter1.ini", "invert \"%f\"", {{"Caption", "Inverser"}, {"About", "Inverse<\\n>les couleurs"}});
  Describe("MyPlugin2.ini", "invert \"%f\"", {{"Caption", "Caché"}, {"HideWindow", "true"}});
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  const auto Form = Start();
  QAction* Item = ItemIn(*Form, "MenuPluginFiltre", "Inverser...");
  ASSERT_NE(Item, nullptr);
  EXPECT_NE(ItemIn(*Form, "MenuPluginFiltre", "Caché"), nullptr); // hidden: no "..."
  EXPECT_EQ(Item->property("Tag").toInt(), -1);
  ItemIn(*Form, "MenuPluginAPropos", "Inverser")->trigger();
  EXPECT_EQ(Messages.Shown, QStringList{"Inverse\rles couleurs"});

  OpenPicture(*Form);
  const PBitmap Before = Copy(Form->LeBitmap());
  Run(*Form, Item);
  TBitmap Inverted;
  Inverted.Assign(*Before);
  for (int Y = 0; Y < Inverted.Height(); ++Y)
    for (int X = 0; X < Inverted.Width(); ++X) {
      const TRGB P = Px(*Before, X, Y);
      SetPx(Inverted, X, Y, Rgb(255 - P.Red, 255 - P.Green, 255 - P.Blue));
    }
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Inverted);
  EXPECT_EQ(Form->ListeUndo().CurrentUndo()->Caption, "Inverser");
  EXPECT_FALSE(QFileInfo::exists(Dir.path() + "/tmp/Lumaretique_Layer.png")); // deleted after the run
  Form->Undo();
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), *Before);
}

TEST_F(MainFormProgramsTest, WithTheAlphaChannelTheProgramSeesTheLayersTransparencyAndKeepsIt) {
  Describe("MyFilter1.ini", "invert \"%f\"", {{"Caption", "Alpha"}, {"AlphaChannel", "1"}});
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  const auto Form = Start();
  TMyImageLayered Doc;
  Doc.AddBackground(20, 14, clWhite, "#0");
  TBitmap Colours(6, 5), Mask(6, 5);
  FillRandom(Colours, 4);
  for (int Y = 0; Y < 5; ++Y)
    for (int X = 0; X < 6; ++X) SetPx(Mask, X, Y, Grey(X * 40 + Y)); // 0 opaque .. 204
  Doc.AddLayer(&Colours, &Mask, {3, 2}, 100, "Calque");
  Form->NouvelleImage(&Doc, nullptr, QString(), srcNew, 16777216);
  Form->Image().SetLayerIndex(1);
  ASSERT_TRUE(Form->HasAlpha());
  const PBitmap MaskBefore = Copy(Form->LeMasque());
  const PBitmap Before = Copy(Form->LeBitmap());
  Run(*Form, ItemIn(*Form, "MenuPluginFiltre", "Alpha..."));
  EXPECT_IMAGES_MATCH(Form->LeMasque(), *MaskBefore);
  const TRGB P = Px(*Before, 2, 3);
  EXPECT_EQ(Px(Form->LeBitmap(), 2, 3), Rgb(255 - P.Red, 255 - P.Green, 255 - P.Blue));
  Form->Undo();
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), *Before);
}

TEST_F(MainFormProgramsTest, AFilterProgramThatFailsOrWritesABrokenFileLeavesTheImage) {
  Describe("MyFilter1.ini", "nothing \"%f\"", {{"Caption", "Rien"}});
  Describe("MyFilter2.ini", "broken \"%f\"", {{"Caption", "Cassé"}});
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  const auto Form = Start();
  OpenPicture(*Form);
  const PBitmap Before = Copy(Form->LeBitmap());
  const int Steps = Form->ListeUndo().Count();

  Run(*Form, ItemIn(*Form, "MenuPluginFiltre", "Rien..."));
  EXPECT_TRUE(Messages.Shown.isEmpty()); // the program cancelled
  Run(*Form, ItemIn(*Form, "MenuPluginFiltre", "Cassé..."));
  ASSERT_EQ(Messages.Shown.size(), 1);
  EXPECT_TRUE(Messages.Shown[0].contains("Lumaretique_Layer.png")) << Messages.Shown[0].toStdString();
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), *Before);
  EXPECT_EQ(Form->ListeUndo().Count(), Steps);
}

TEST_F(MainFormProgramsTest, AResultOfAnotherSizeBecomesANewLayer) {
  Describe("MyFilter1.ini", "grow \"%f\"", {{"Caption", "Grandir"}});
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  const auto Form = Start();
  OpenPicture(*Form);
  const PBitmap Before = Copy(Form->LeFond());
  Run(*Form, ItemIn(*Form, "MenuPluginFiltre", "Grandir..."));
  ASSERT_EQ(Form->Image().Layers().Count(), 2);
  EXPECT_EQ(Form->LeBitmap().Width(), 5);
  EXPECT_EQ(Px(Form->LeBitmap(), 4, 3), Rgb(255, 0, 0));
  EXPECT_IMAGES_MATCH(*Copy(Form->LeFond()), *Before);
  Form->Undo();
  EXPECT_EQ(Form->Image().Layers().Count(), 1);
}

TEST_F(MainFormProgramsTest, ImportAndExportProgramsJoinTheOpenAndSaveChain) {
  Describe("MyImport1.ini", "import \"%i\" \"%o\"", {{"Caption", "Essai"}, {"ImageFormats", ".LMTEST"}});
  Describe("MyExport1.ini", "export \"%i\" \"%o\"", {{"Caption", "Essai"}, {"ImageFormats", ".lmtest"}});
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  const auto Form = Start();
  EXPECT_TRUE(GetOpenFilter().endsWith("|Essai|*.lmtest")) << GetOpenFilter().toStdString();
  EXPECT_TRUE(GetOpenMasks().contains("*.lmtest"));
  EXPECT_TRUE(GetSaveFilter().endsWith("|Essai|*.lmtest"));
  EXPECT_NE(ItemIn(*Form, "MenuPluginAPropos", "Essai (.lmtest)"), nullptr);

  const QString File = Path("picture.LMTEST");
  QFile F(File);
  ASSERT_TRUE(F.open(QIODevice::WriteOnly));
  F.write("LMTEST 9 7 10 200 30");
  F.close();
  Form->Ouvrir(File, true, false);
  ASSERT_TRUE(Form->UneImage());
  EXPECT_EQ(Form->LeFond().Width(), 9);
  EXPECT_EQ(Px(Form->LeFond(), 8, 6), Rgb(10, 200, 30));
  EXPECT_TRUE(Messages.Shown.isEmpty());
  EXPECT_FALSE(QFileInfo::exists(Dir.path() + "/tmp/LumaretiquePluginSwap.png")); // the swap file is gone

  SetPx(Form->LeFond(), 0, 0, Rgb(1, 2, 3));
  const QString Out = Path("out.lmtest");
  ASSERT_TRUE(Form->Enregistrer(Out, QString(), false, false));
  QFile Written(Out);
  ASSERT_TRUE(Written.open(QIODevice::ReadOnly));
  EXPECT_EQ(Written.readAll(), "LMTEST 9 7 1 2 3");
}

TEST_F(MainFormProgramsTest, NoProgramIsReadWithTheNoPluginsOption) {
  Describe("MyFilter1.ini", "invert \"%f\"", {{"Caption", "Inverser"}});
  State.Options.NoModulesOption = true; // as "-noplugins" on the command line gives it
  const auto Form = Start();
  EXPECT_TRUE(Form->MenuNamed("MenuPluginFiltre")->isEmpty());
}

} // namespace
