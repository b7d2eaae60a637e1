// Module libraries in the real main window: a module folder with a filter,
// a tool, an import and a module without Execute. Their items appear in the
// "Module externe" submenus with their captions and on the module toolbar, the
// broken one is named in a message, the filter changes the layer as the
// module does in one undo step that Undo takes back exactly, the about box
// shows, the import opens a window, and the tool receives the image's
// clicks while it waits on its window.
#include "MainFormFixture.h"

#include "../support/ImageCompare.h"
#include "../support/Pixels.h"
#include "../support/WaitFor.h"
#include "document/Undo.h"
#include "document/ui/MyImageLayeredView.h"
#include "extensions/ui/PlgDlg.h"
#include "platform/DynamicLibrary.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>

namespace {

class MainFormModulesTest : public MainFormFixture {
protected:
  void SetUp() override {
    MainFormFixture::SetUp();
    ASSERT_TRUE(QDir(Dir.path()).mkdir("Plugins_64"));
    Copy(TEST_MODULE_1, "Filtre.lml");
    Copy(TEST_MODULE_2, "Outil.lml");
    Copy(TEST_MODULE_3, "Import.lml");
    Copy(TEST_MODULE_10, "SansExecute.lml");
  }
  void Copy(const char* Built, const QString& Name) {
    ASSERT_TRUE(QFile::copy(QString::fromLocal8Bit(Built), Module(Name)));
  }
  QString Module(const QString& Name) const { return Dir.path() + "/Plugins_64/" + Name; }
  QStringList Texts(const char* Menu) {
    QStringList T;
    for (const QAction* A : Form->MenuNamed(Menu)->actions()) T << A->text();
    return T;
  }
  QAction* Item(const char* Menu, const QString& Text) {
    for (QAction* A : Form->MenuNamed(Menu)->actions())
      if (A->text() == Text) return A;
    return nullptr;
  }
  void Launch(const QStringList& Params = {}) {
    Answers = std::make_unique<TScopedMsgDlgAnswers>(Messages.Provider());
    Form = Start(Params);
  }
  void TearDown() override {
    Form.reset();
    Answers.reset();
    MainFormFixture::TearDown();
  }
  std::unique_ptr<TScopedMsgDlgAnswers> Answers;
  std::unique_ptr<TMainForm> Form;
};

} // namespace

TEST_F(MainFormModulesTest, ModulesGetTheirItemsAndButtonsAndTheBrokenOneIsNamed) {
  Launch();
  ASSERT_EQ(Messages.Shown.size(), 1);
  EXPECT_EQ(Messages.Shown[0], "Ces modules n'ont pas été chargés :\r" + Module("SansExecute.lml") +
                                   " : la fonction Execute est absente");
  EXPECT_EQ(Form->Modules().size(), 3u);
  EXPECT_EQ(Texts("MenuPluginFiltre"), QStringList{"&Inverser..."});
  EXPECT_EQ(Texts("MenuPluginImport"), QStringList{"Importer du vert"});
  EXPECT_EQ(Texts("MenuPluginOutil"), QStringList{"Outil de test"});
  // Each kind's submenu shows with its separator; the kinds nothing fills,
  // the 8BF filters and the companion programs stay out of sight.
  for (const char* Shown : {"MenuSepPluginFiltre", "MenuPluginFiltre", "SepFichierModules", "MenuPluginImport",
                            "MenuSepPluginOutil", "MenuPluginOutil", "MenuPluginAPropos"})
    EXPECT_TRUE(Form->MenuItem(Shown)->isVisible()) << Shown;
  for (const char* Hidden :
       {"SepImageModules", "MenuPluginImage", "MenuPluginExport", "MenuFiltre8bf", "MenuLumaBridge"})
    EXPECT_FALSE(Form->MenuItem(Hidden)->isVisible()) << Hidden;
  EXPECT_EQ(Texts("MenuPluginAPropos"), (QStringList{"Import de test", "Module de test", "Outil de test"}));
  QStringList Hints;
  for (const QAction* B : Form->ToolBar(4)->actions()) Hints << B->toolTip();
  EXPECT_EQ(Hints, (QStringList{"Import de test", "Module de test", "Outil de test"}));
  // Without an image only the import may run.
  Form->MenuNamed("MenuPluginFiltre")->aboutToShow();
  EXPECT_FALSE(Item("MenuPluginFiltre", "&Inverser...")->isEnabled());
  Form->MenuNamed("MenuPluginImport")->aboutToShow();
  EXPECT_TRUE(Item("MenuPluginImport", "Importer du vert")->isEnabled());
}

TEST_F(MainFormModulesTest, TheModuleToolbarShownStaysShownAtTheNextStart) {
  Launch();
  QAction* Bar = Form->MenuItem("MenuAffichageBarrePlugins");
  ASSERT_FALSE(Bar->isChecked());
  TriggerItem(*Form, Bar, "MenuAffichageBarrePlugins");
  EXPECT_TRUE(Form->ToolBar(4)->isVisibleTo(Form.get()));
  Form.reset();
  Answers.reset();
  EXPECT_EQ(TIniFile(State.MainIniFile).ReadString("Plugins64", "PluginsBar", ""), "1");
  Launch();
  EXPECT_TRUE(Form->MenuItem("MenuAffichageBarrePlugins")->isChecked());
  EXPECT_TRUE(Form->ToolBar(4)->isVisibleTo(Form.get()));
}

TEST_F(MainFormModulesTest, NoModuleIsLoadedWithTheOptionOrTheSetting) {
  for (const bool ByOption : {true, false}) {
    State.Options.NoModulesOption = ByOption;
    if (!ByOption) TIniFile(State.MainIniFile).WriteString("Plugins64", "LoadPlugins", "0");
    Launch();
    EXPECT_TRUE(Form->Modules().empty());
    for (const char* Hidden :
         {"MenuPluginAPropos", "MenuSepPluginFiltre", "MenuPluginFiltre", "MenuFiltre8bf", "MenuLumaBridge",
          "SepImageModules", "MenuPluginImage", "SepFichierModules", "MenuPluginImport", "MenuPluginExport",
          "MenuPluginOutil", "MenuSepPluginOutil", "SepCalqueNouveauModules"})
      EXPECT_FALSE(Form->MenuItem(Hidden)->isVisible()) << Hidden;
    EXPECT_TRUE(Form->ToolBar(4)->actions().isEmpty());
    EXPECT_TRUE(Messages.Shown.isEmpty());
    Form.reset();
    Answers.reset();
  }
}

TEST_F(MainFormModulesTest, TheFilterInvertsTheSelectionInOneStepThatUndoTakesBack) {
  Launch();
  TBitmap Picture(30, 20, pf24bit);
  FillRandom(Picture, 3);
  Form->NouvelleImage(nullptr, &Picture, QString(), srcNew, 16777216);
  Form->MenuSelToutClick();
  Form->Sel()->SetBmpSelRect({4, 5, 14, 12});
  QAction* Filter = Item("MenuPluginFiltre", "&Inverser...");
  Form->MenuNamed("MenuPluginFiltre")->aboutToShow();
  ASSERT_TRUE(Filter->isEnabled());
  Filter->trigger();

  TBitmap Expected;
  Expected.Assign(Picture);
  for (int Y = 5; Y < 12; ++Y)
    for (int X = 3 * 4; X < 3 * 14; ++X) Expected.ScanLine(Y)[X] = uint8_t(255 - Expected.ScanLine(Y)[X]);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Expected);
  EXPECT_FALSE(Form->IsModuleLoaded());
  EXPECT_EQ(Form->DialogueEnCours, 0);
  ASSERT_NE(Form->ListeUndo().CurrentUndo(), nullptr);
  EXPECT_EQ(Form->ListeUndo().CurrentUndo()->Caption, "Inverser");
  EXPECT_EQ(Form->LastFilter().Caption, "Inverser");
  Form->Undo();
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Picture);
  // Edit > Repeat runs the module again.
  Form->MenuEditionRepeterClick();
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Expected);
}

TEST_F(MainFormModulesTest, AboutBoxOfTheHostOrOfTheModule) {
  Launch();
  QStringList Labels;
  QTimer::singleShot(0, [&] {
    ASSERT_TRUE(WaitUntil([] { return qobject_cast<TPlgDlgForm*>(QApplication::activeModalWidget()) != nullptr; }));
    auto* D = qobject_cast<TPlgDlgForm*>(QApplication::activeModalWidget());
    for (QLabel* L : {D->LblCaption, D->LblAuthor, D->LblType, D->LblFile, D->LblComment}) Labels << L->text();
    Labels << D->windowTitle();
    D->BOk->click();
  });
  Item("MenuPluginAPropos", "Module de test")->trigger();
  ASSERT_EQ(Labels.size(), 6);
  EXPECT_EQ(Labels[0], "Module de test 2.5");
  EXPECT_EQ(Labels[1], "Copyright © Tom && Jerry");
  EXPECT_EQ(Labels[2], "Menu : Filtre/Module externe/Inverser");
  EXPECT_TRUE(Labels[3].startsWith("Nom du fichier : Filtre.lml (")) << Labels[3].toStdString();
  EXPECT_EQ(Labels[4], "Inverse les couleurs");
  EXPECT_EQ(Labels[5], "A propos du module");
  EXPECT_EQ(Form->DialogueEnCours, 0);

  // The tool has an about box of its own.
  TDynamicLibrary Tool;
  ASSERT_TRUE(Tool.Load(Module("Outil.lml")));
  Item("MenuPluginAPropos", "Outil de test")->trigger();
  EXPECT_EQ(Tool.Function<int32_t (*)()>("TestAboutCount")(), 1);
  EXPECT_FALSE(Form->IsModuleLoaded());
}

TEST_F(MainFormModulesTest, TheImportOpensAWindowOfItsPicture) {
  Launch();
  Item("MenuPluginImport", "Importer du vert")->trigger();
  ASSERT_TRUE(Form->UneImage());
  EXPECT_EQ(Form->NomFichier(), "Vert importé");
  ASSERT_EQ(Form->LeFond().Width(), 7);
  ASSERT_EQ(Form->LeFond().Height(), 5);
  EXPECT_EQ(Px(Form->LeFond(), 6, 4), Rgb(0x20, 0xC0, 0x10));
}

TEST_F(MainFormModulesTest, TheRunningToolReceivesTheClicksOnTheImage) {
  Launch();
  TBitmap Picture(60, 40, pf24bit);
  FillRandom(Picture, 5);
  Form->NouvelleImage(nullptr, &Picture, QString(), srcNew, 16777216);
  QWidget Waiter;
  Waiter.resize(120, 80);
  Waiter.show();
  TDynamicLibrary Tool;
  ASSERT_TRUE(Tool.Load(Module("Outil.lml")));
  Tool.Function<void (*)(uint64_t)>("TestSetWindow")(Waiter.winId());
  bool Clicked = false;
  QTimer::singleShot(0, [&] {
    ASSERT_TRUE(WaitUntil([&] { return Form->DialogueForm() != nullptr && Form->IsModuleLoaded(); }));
    TMyImageLayeredView* View = Form->EnfantActif()->Image;
    for (const auto& [P, Button] : {std::pair{TPoint{3, 4}, Qt::LeftButton}, std::pair{TPoint{20, 10}, Qt::RightButton},
                                    std::pair{TPoint{5, 5}, Qt::MiddleButton}}) {
      const TPoint C = View->BmpToClient(P);
      QTest::mouseClick(View->viewport(), Button, {}, QPoint(C.X, C.Y));
    }
    Clicked = true;
    Waiter.hide();
  });
  Item("MenuPluginOutil", "Outil de test")->trigger();
  EXPECT_TRUE(Clicked);
  EXPECT_FALSE(Form->IsModuleLoaded());
  EXPECT_EQ(Form->DialogueForm(), nullptr);
  TPluginPoint Points[8];
  int32_t Buttons[8];
  ASSERT_EQ(Tool.Function<int32_t (*)(TPluginPoint*, int32_t*)>("TestPoints")(Points, Buttons), 2);
  EXPECT_EQ(Points[0].X, 3);
  EXPECT_EQ(Points[0].Y, 4);
  EXPECT_EQ(Buttons[0], 0);
  EXPECT_EQ(Points[1].X, 20);
  EXPECT_EQ(Points[1].Y, 10);
  EXPECT_EQ(Buttons[1], 1);
}

TEST_F(MainFormModulesTest, TheServicesCheckWhatTheModuleGivesThem) {
  Copy(TEST_MODULE_4, "Services.lml");
  Launch();
  TBitmap Picture(30, 20, pf24bit);
  FillRandom(Picture, 9);
  Form->NouvelleImage(nullptr, &Picture, "/un/nom/de/fichier/assez/long.png", srcFile, 16777216);
  Form->Image().ResolutionX = 72;
  Form->Image().ResolutionY = 72;
  Form->MenuSelToutClick();
  Form->Sel()->SetShape(ssEllipse);
  Form->Sel()->SetBmpSelRect({2, 2, 20, 15});
  TDynamicLibrary Module_;
  ASSERT_TRUE(Module_.Load(Module("Services.lml")));
  Item("MenuPluginImage", "Essai des services")->trigger();
  const int32_t* R = Module_.Function<const int32_t* (*)()>("TestResults")();
  struct TExpected {
    int Index;
    int32_t Value;
    const char* What;
  };
  const TExpected Expected[] = {
      {0, 15, "RowBytes of width 5"},
      {1, 16, "Stride of width 5"},
      {2, 12, "Stride of width 4"},
      {3, 0, "negative width refused"},
      {4, 0, "huge bitmap refused"},
      {5, 1, "scan line past the last row"},
      {6, 0, "a pointer that is no host bitmap"},
      {7, -1, "SetMainWindowState(5)"},
      {8, 72000, "GetImageResolution"},
      {9, 300000, "SetImageResolution"},
      {10, 10, "file name cut to MaxLen"},
      {11, 16777216, "SetImageColorCount(300)"},
      {12, 2, "GetImageMode"},
      {13, -2, "elliptic selection"},
      {14, 30, "GetLayerBounds"},
      {15, 0, "FadeLastChange(101)"},
      {16, 0, "GetLayerMask without transparency"},
      {17, 1, "EnumImageWindows"},
      {18, 1, "DestroyDIB"},
      {19, 0, "DestroyDIB again"},
      {20, 0, "a destroyed bitmap"},
      {21, -1, "SetBackgroundImage of another size"},
  };
  for (const TExpected& E : Expected) EXPECT_EQ(R[E.Index], E.Value) << E.What;
  EXPECT_EQ(Form->Image().ResolutionX, 300);
  EXPECT_EQ(Form->Image().ResolutionY, 72);
  // The single-layer background took the module's size and pixels.
  ASSERT_EQ(Form->LeFond().Width(), 12);
  ASSERT_EQ(Form->LeFond().Height(), 8);
  EXPECT_EQ(Px(Form->LeFond(), 11, 7), Grey(0x40));
  EXPECT_FALSE(Form->IsModuleLoaded());
  Form->Undo();
  EXPECT_IMAGES_MATCH(Form->LeFond(), Picture);
}
