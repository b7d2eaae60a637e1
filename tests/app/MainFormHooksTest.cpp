#include "app/ui/MainForm.h"
#include "app/ui/MainStatusBar.h"
#include "app/ui/ToolHooks.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {

// The tool palette as the hooks see it.
class FakeTools : public TToolHooks {
public:
  bool Active = false, Editing = false, Pending = false, SelectionTool = true, Drawing = false, Paused = false;
  QRect Rect;
  int Validated = 0;
  bool PaletteActive() const override { return Active; }
  bool IsEditing() const override { return Editing; }
  QRect EditingRect() const override { return Rect; }
  bool ValidateEditControls() override {
    ++Validated;
    return std::exchange(Pending, false);
  }
  bool IsSelectionTool() const override { return SelectionTool; }
  bool SelectionDrawing() const override { return Drawing; }
  void PauseSelection(bool Pause) override { Paused = Pause; }
  void SetTool(int Number) override { Tool = Number; }
  int Tool = -1;
};

class MainFormHooksTest : public ::testing::Test {
protected:
  void SetUp() override {
    State.ProgramDir = Dir.path() + "/";
    State.MainIniFile = Dir.path() + "/Lumaretique.ini";
  }
  // The frame shown with one image window holding a selection.
  TNewImgForm* OpenImage(TMainForm& Form) {
    Form.show();
    Form.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&Form));
    TBitmap Bitmap(200, 150);
    TNewImgForm* Window = Form.NouvelleImage(nullptr, &Bitmap, QString(), srcNew, 16777216);
    EXPECT_NE(Window, nullptr);
    if (Window) {
      Window->UneSelection = true;
      Window->showMaximized();
      QCoreApplication::processEvents();
    }
    return Window;
  }
  static QPoint Inside(const TNewImgForm* Window) {
    const QWidget* Viewport = Window->Image->viewport();
    return Viewport->mapToGlobal(Viewport->rect().center());
  }
  QTemporaryDir Dir;
  TStartupState State;
  FakeTools Tools;
};

const QString Ready = QString::fromUtf8("Prêt");

} // namespace

TEST_F(MainFormHooksTest, BuiltMenusCarrySeparatorsAndTags) {
  TMainForm Form(State);
  int Separators = 0;
  for (QAction* Item : Form.MenuNamed("MenuFichier")->actions()) Separators += Item->isSeparator() ? 1 : 0;
  EXPECT_EQ(Separators, 6);
  EXPECT_TRUE(Form.MenuItem("SepFichierRecents")->isSeparator());
  EXPECT_TRUE(Form.MenuItem("SepFichierRecents")->isVisible());
  // Shown only when what follows them exists.
  for (const char* Name : {"ImgSep", "SepExtensionShell", "SepLumaBridge"}) {
    EXPECT_TRUE(Form.MenuItem(Name)->isSeparator()) << Name;
    EXPECT_FALSE(Form.MenuItem(Name)->isVisible()) << Name;
  }
  EXPECT_EQ(Form.MenuItem("MenuAffichageMiniature2")->property("Tag").toInt(), 80);
  EXPECT_EQ(Form.MenuItem("MenuSelLosange")->property("Tag").toInt(), 9);
  // The popup's copies of the shapes carry the same tags.
  QList<int> Shapes, Copies;
  for (QAction* Item : Form.MenuNamed("MenuSelForme")->actions())
    if (!Item->isSeparator()) Shapes << Item->property("Tag").toInt();
  for (QAction* Item : Form.MenuNamed("PopSelForme")->actions())
    if (!Item->isSeparator()) Copies << Item->property("Tag").toInt();
  EXPECT_EQ(Copies, Shapes);
  EXPECT_EQ(Shapes.size(), 9);
}

TEST_F(MainFormHooksTest, ControlAndAltOverTheImageSwitchTheCombineMode) {
  TMainForm Form(State);
  TNewImgForm* Window = OpenImage(Form);
  ASSERT_NE(Window, nullptr);
  Form.SetToolHooks(&Tools);
  const QPoint Over = Inside(Window);
  ASSERT_TRUE(Form.MouseOverImage(Over));
  ASSERT_FALSE(Form.MouseOverImage(Form.StatusBar()->mapToGlobal(QPoint(2, 2))));

  Form.HandleKeyDown(Qt::Key_Control, Over);
  EXPECT_EQ(Form.CombineSelMode, 1);
  EXPECT_EQ(Form.StatusBar()->PanelText(0), QString::fromUtf8("Sélection (+)"));
  Form.HandleKeyUp(Qt::Key_Control);
  EXPECT_EQ(Form.CombineSelMode, 0);
  EXPECT_EQ(Form.StatusBar()->PanelText(0), Ready);
  Form.HandleKeyDown(Qt::Key_Alt, Over);
  EXPECT_EQ(Form.CombineSelMode, 2);
  EXPECT_EQ(Form.StatusBar()->PanelText(0), QString::fromUtf8("Sélection (-)"));
  Form.HandleKeyUp(Qt::Key_Alt);

  // Not over the image, without a selection, or with another tool: nothing.
  Form.HandleKeyDown(Qt::Key_Control, Form.StatusBar()->mapToGlobal(QPoint(2, 2)));
  Window->UneSelection = false;
  Form.HandleKeyDown(Qt::Key_Control, Over);
  Window->UneSelection = true;
  Tools.SelectionTool = false;
  Form.HandleKeyDown(Qt::Key_Alt, Over);
  EXPECT_EQ(Form.CombineSelMode, 0);
  Tools.SelectionTool = true;

  // While a selection is drawn, Space pauses it and the modifiers do nothing.
  Tools.Drawing = true;
  Form.HandleKeyDown(Qt::Key_Space, Over);
  EXPECT_TRUE(Tools.Paused);
  Form.HandleKeyDown(Qt::Key_Control, Over);
  EXPECT_EQ(Form.CombineSelMode, 0);
  Form.HandleKeyUp(Qt::Key_Space);
  EXPECT_FALSE(Tools.Paused);
  Form.SetToolHooks(nullptr);
}

TEST_F(MainFormHooksTest, LeavingTheImageEmptiesThePositionAndEndsTheMode) {
  TMainForm Form(State);
  TNewImgForm* Window = OpenImage(Form);
  ASSERT_NE(Window, nullptr);
  Form.SetToolHooks(&Tools);
  Form.HandleKeyDown(Qt::Key_Control, Inside(Window));
  ASSERT_EQ(Form.CombineSelMode, 1);
  Form.StatusBar()->SetPanelText(2, "10:20");
  // A move over the image keeps both.
  Form.HandleMouseMove(Inside(Window));
  EXPECT_EQ(Form.StatusBar()->PanelText(2), "10:20");
  EXPECT_EQ(Form.CombineSelMode, 1);
  // The real mouse path: a move over the status bar passes the hooks.
  QTest::mouseMove(Form.StatusBar(), QPoint(5, 5));
  QCoreApplication::processEvents();
  EXPECT_EQ(Form.StatusBar()->PanelText(2), QString());
  EXPECT_EQ(Form.CombineSelMode, 0);
  EXPECT_EQ(Form.StatusBar()->PanelText(0), Ready);
  Form.SetToolHooks(nullptr);
}

TEST_F(MainFormHooksTest, F5EnterAndTheWheel) {
  TMainForm Form(State);
  TNewImgForm* Window = OpenImage(Form);
  ASSERT_NE(Window, nullptr);
  // F5 belongs to the image browser, except while a dialogue is open.
  EXPECT_TRUE(Form.AppShortCut(Qt::Key_F5));
  QWidget Dialog;
  Form.SetDialogueForm(&Dialog);
  EXPECT_FALSE(Form.AppShortCut(Qt::Key_F5));
  Form.SetDialogueForm(nullptr);
  // Enter is taken only when the palette had a value waiting.
  EXPECT_FALSE(Form.AppShortCut(Qt::Key_Return));
  Form.SetToolHooks(&Tools);
  EXPECT_FALSE(Form.AppShortCut(Qt::Key_Return));
  Tools.Pending = true;
  Form.setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_FALSE(Tools.Pending);
  EXPECT_EQ(Tools.Validated, 2);
  // A click away from the field being edited commits it; on it, not.
  Tools.Editing = true;
  Tools.Rect = QRect(Inside(Window), QSize(40, 20));
  Form.HandleMouseClick(Tools.Rect.topLeft() + QPoint(-2, 5));
  EXPECT_EQ(Tools.Validated, 2);
  Form.HandleMouseClick(Tools.Rect.topLeft() + QPoint(-5, 5));
  EXPECT_EQ(Tools.Validated, 3);
  Tools.Editing = false;
  // The wheel over the image gives the focus to the main window.
  Window->Image->setFocus();
  ASSERT_NE(QApplication::focusWidget(), &Form);
  QWidget* Viewport = Window->Image->viewport();
  const QPoint Local = Viewport->rect().center();
  QWheelEvent Wheel(Local, Viewport->mapToGlobal(Local), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(Viewport, &Wheel);
  EXPECT_EQ(QApplication::focusWidget(), &Form);
  Form.SetToolHooks(nullptr);
}

namespace {

// Counts the keys that reach a widget.
class KeyCounter : public QObject {
public:
  int Presses = 0, Releases = 0;
  Qt::KeyboardModifiers Modifiers;

protected:
  bool eventFilter(QObject*, QEvent* Event) override {
    if (Event->type() == QEvent::KeyPress) {
      ++Presses;
      Modifiers = static_cast<QKeyEvent*>(Event)->modifiers();
    }
    if (Event->type() == QEvent::KeyRelease) ++Releases;
    return false;
  }
};

} // namespace

TEST_F(MainFormHooksTest, KeysOfTheActivePaletteGoToTheMainWindow) {
  TMainForm Form(State);
  ASSERT_NE(OpenImage(Form), nullptr);
  Form.SetToolHooks(&Tools);
  QWidget Palette;
  Palette.show();
  Palette.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&Palette));
  Palette.setFocus();
  KeyCounter OnForm, OnPalette;
  Form.installEventFilter(&OnForm);
  Palette.installEventFilter(&OnPalette);
  // A key typed with Shift, pressed and released.
  const auto Type = [&Palette](Qt::Key Key) {
    QKeyEvent Press(QEvent::KeyPress, Key, Qt::ShiftModifier, QStringLiteral("+"));
    QKeyEvent Release(QEvent::KeyRelease, Key, Qt::ShiftModifier, QStringLiteral("+"));
    QApplication::sendEvent(&Palette, &Press);
    QApplication::sendEvent(&Palette, &Release);
  };
  // Not the active palette: the key stays where it was typed.
  Type(Qt::Key_Plus);
  EXPECT_EQ(OnPalette.Presses, 1);
  EXPECT_EQ(OnForm.Presses, 0);
  Tools.Active = true;
  Type(Qt::Key_Plus);
  EXPECT_EQ(OnPalette.Presses, 1);
  EXPECT_EQ(OnForm.Presses, 1);
  EXPECT_EQ(OnForm.Releases, 1);
  EXPECT_EQ(OnForm.Modifiers, Qt::NoModifier); // given without the shift state
  // While the palette edits a value its keys stay there.
  Tools.Editing = true;
  Type(Qt::Key_5);
  EXPECT_EQ(OnPalette.Presses, 2);
  EXPECT_EQ(OnForm.Presses, 1);
  Form.SetToolHooks(nullptr);
}
