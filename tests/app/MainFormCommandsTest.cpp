// The main window tried as a new user would: the real menus clicked, the
// short-cuts typed, the wheel turned over the image. A blur undone and
// redone with Ctrl+Z and Ctrl+Y and repeated from the Edit menu; the
// short-cut of an item the menu shows disabled does nothing; the wheel zooms
// about the point under the mouse; three windows tiled and cascaded; the
// key map of the image windows.
#include "app/ui/MainForm.h"

#include "../support/ImageCompare.h"
#include "../support/Pixels.h"
#include "../support/WaitFor.h"
#include "app/ZoomSteps.h"
#include "app/ui/ToolHooks.h"
#include "filters/Blur24.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {

// Pixels that every blur changes.
std::unique_ptr<TBitmap> Checker(int W, int H) {
  auto B = std::make_unique<TBitmap>(W, H);
  FillRandom(*B, 2);
  return B;
}

class FakeTools : public TToolHooks {
public:
  int Tool = -1;
  bool PaletteActive() const override { return false; }
  bool IsEditing() const override { return false; }
  QRect EditingRect() const override { return {}; }
  bool ValidateEditControls() override { return false; }
  bool IsSelectionTool() const override { return true; }
  bool SelectionDrawing() const override { return false; }
  void PauseSelection(bool) override {}
  void SetTool(int Number) override { Tool = Number; }
};

class MainFormCommandsTest : public ::testing::Test {
protected:
  void SetUp() override {
    State.ProgramDir = Dir.path() + "/";
    State.MainIniFile = Dir.path() + "/Lumaretique.ini";
    Form = std::make_unique<TMainForm>(State);
    Form->resize(1000, 750);
    Form->show();
    Form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
  }
  TNewImgForm* Open(int W, int H, int Colors = 16777216) {
    const auto B = Checker(W, H);
    TNewImgForm* Window = Form->NouvelleImage(nullptr, B.get(), QString(), srcNew, Colors);
    QCoreApplication::processEvents();
    return Window;
  }
  // Clicks through the menu bar: the top menu, its submenus, then the item.
  void ClickMenu(const QStringList& Path) {
    QMenuBar* Bar = Form->menuBar();
    QMenu* Menu = Form->MenuNamed(Path.first());
    QTest::mouseClick(Bar, Qt::LeftButton, {}, Bar->actionGeometry(Menu->menuAction()).center());
    ASSERT_TRUE(WaitUntil([Menu] { return Menu->isVisible(); })) << Path.first().toStdString();
    for (int I = 1; I < Path.size(); ++I) {
      QAction* Item = Form->MenuItem(Path[I]);
      ASSERT_NE(Item, nullptr) << Path[I].toStdString();
      ASSERT_TRUE(Item->isEnabled()) << Path[I].toStdString();
      QTest::mouseClick(Menu, Qt::LeftButton, {}, Menu->actionGeometry(Item).center());
      if (QMenu* Sub = Item->menu()) {
        ASSERT_TRUE(WaitUntil([Sub] { return Sub->isVisible(); })) << Path[I].toStdString();
        Menu = Sub;
      }
    }
    EXPECT_TRUE(WaitUntil([] { return !QApplication::activePopupWidget(); }));
  }
  void Type(const QKeySequence& Keys) {
    // Short-cuts reach the active window only. The offscreen platform may
    // leave a closed submenu active, late, where a window system gives the
    // activation back to the frame: the frame is activated until it holds.
    EXPECT_TRUE(WaitUntil([this] {
      if (QApplication::activeWindow() == Form.get() && !QApplication::activePopupWidget()) return true;
      Form->activateWindow();
      return false;
    }));
    // A key sent to a widget outside the frame (a menu just closed) would
    // reach no short-cut of the frame.
    QWidget* Focus = QApplication::focusWidget();
    QWidget* Target = Focus && (Focus == Form.get() || Form->isAncestorOf(Focus)) ? Focus : Form.get();
    QTest::keySequence(Target, Keys);
    QCoreApplication::processEvents();
  }
  QTemporaryDir Dir;
  TStartupState State;
  std::unique_ptr<TMainForm> Form;
};

} // namespace

TEST_F(MainFormCommandsTest, BlurFromTheMenusThenCtrlZCtrlYAndRepeat) {
  Open(90, 60);
  TBitmap Original;
  Original.Assign(Form->LeFond());
  Type(QKeySequence("Ctrl+A"));
  ASSERT_TRUE(Form->Sel()->Visible());
  ClickMenu({"MenuFiltre", "MenuAttenuation", "MenuFiltreFlou"});
  TBitmap Blurred;
  Blurred.Assign(Original);
  BoxBlur3x3(Blurred, {0, 0, 90, 60});
  ASSERT_TRUE(ImagesMatch(Form->LeFond(), Blurred));

  Type(QKeySequence("Ctrl+Z"));
  EXPECT_TRUE(ImagesMatch(Form->LeFond(), Original));
  EXPECT_EQ(Form->MenuItem("MenuEditionRedo")->text(), QString::fromUtf8("Refaire Flou"));
  Type(QKeySequence("Ctrl+Y"));
  EXPECT_TRUE(ImagesMatch(Form->LeFond(), Blurred));

  ClickMenu({"MenuEdition", "MenuEditionRepeter"});
  BoxBlur3x3(Blurred, {0, 0, 90, 60});
  EXPECT_TRUE(ImagesMatch(Form->LeFond(), Blurred));
  EXPECT_EQ(Form->ListeUndo().Count(), 2);
}

TEST_F(MainFormCommandsTest, AShortCutOfAnItemTheMenuWouldDisableDoesNothing) {
  Open(40, 30);
  ClickMenu({"MenuFiltre", "MenuAttenuation", "MenuFiltreFlou"});
  ASSERT_EQ(Form->ListeUndo().Count(), 1);
  // A 256-colour image: Repeat and Blur are not for it, even if an item was
  // left enabled by the last command.
  TNewImgForm* Indexed = Open(40, 30, 256);
  ASSERT_EQ(Form->EnfantActif(), Indexed);
  TBitmap Original;
  Original.Assign(Form->LeFond());
  QAction* Repeat = Form->MenuItem("MenuEditionRepeter");
  // Repeat has no key of its own: a user's key stands in for one.
  Repeat->setShortcut(QKeySequence("Ctrl+Shift+F9"));
  Repeat->setEnabled(true);
  Type(Repeat->shortcut());
  EXPECT_FALSE(Repeat->isEnabled());
  EXPECT_EQ(Form->ListeUndo().Count(), 0);
  EXPECT_TRUE(ImagesMatch(Form->LeFond(), Original));
  // Nothing to undo here: Ctrl+Z leaves the image and the other window alone.
  Type(QKeySequence("Ctrl+Z"));
  EXPECT_TRUE(ImagesMatch(Form->LeFond(), Original));
  EXPECT_FALSE(Form->MenuItem("MenuEditionUndo")->isEnabled());
  // The Filter menu shows its items disabled.
  QMenu* Filter = Form->MenuNamed("MenuFiltre");
  QTest::mouseClick(Form->menuBar(), Qt::LeftButton, {}, Form->menuBar()->actionGeometry(Filter->menuAction()).center());
  ASSERT_TRUE(WaitUntil([Filter] { return Filter->isVisible(); }));
  EXPECT_FALSE(Form->MenuItem("MenuAttenuation")->isEnabled());
  Filter->close();
}

TEST_F(MainFormCommandsTest, TheWheelZoomsAboutThePointUnderTheMouse) {
  TNewImgForm* Window = Open(1600, 1200);
  Window->showMaximized();
  Form->SetZoomEditStep(ZoomStepRealSize);
  Form->MajZoomImage();
  QCoreApplication::processEvents();
  TMyImageLayeredView* View = Window->Image;
  QWidget* Viewport = View->viewport();
  // A point off the middle of the view.
  const QPoint Local = Viewport->rect().center() + QPoint(100, 60);
  const TPoint Under = View->ClientToBmp(TPoint{Local.x(), Local.y()});
  const auto Turn = [&](int Delta) {
    QWheelEvent Wheel(Local, Viewport->mapToGlobal(Local), QPoint(), QPoint(0, Delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(Viewport, &Wheel);
    QCoreApplication::processEvents();
  };
  Turn(120);
  EXPECT_DOUBLE_EQ(View->Zoom(), 2.0);
  EXPECT_EQ(Form->ZoomEditStep(), 8);
  // The image point that was under the mouse is now in the middle.
  const TRect Client = View->ClientRect();
  const TPoint Centre = View->ClientToBmp(TPoint{Client.Left + Client.Width() / 2, Client.Top + Client.Height() / 2});
  EXPECT_NEAR(Centre.X, Under.X, 3);
  EXPECT_NEAR(Centre.Y, Under.Y, 3);
  // Wheel down zooms out one step.
  Turn(-120);
  EXPECT_DOUBLE_EQ(View->Zoom(), 1.0);
  // Over the vertical scroll bar the wheel scrolls by 33 pixels instead.
  const QScrollBar* Bar = View->verticalScrollBar();
  ASSERT_TRUE(Bar->isVisible());
  const int Value = Bar->value();
  const QPoint OnBar = Bar->mapTo(Viewport->parentWidget(), Bar->rect().center());
  QWheelEvent Scroll(OnBar, View->mapToGlobal(OnBar), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
  QApplication::sendEvent(const_cast<QScrollBar*>(Bar), &Scroll);
  EXPECT_EQ(Bar->value(), Value + 33);
  EXPECT_DOUBLE_EQ(View->Zoom(), 1.0);
}

TEST_F(MainFormCommandsTest, ThreeWindowsTileSideBySideAndCascadeAgain) {
  for (int I = 0; I < 3; ++I) Open(200 + 40 * I, 150);
  ClickMenu({"MenuFenetre", "MenuFenetreMosaiqueV"});
  const QRect Area = Form->MdiArea()->viewport()->rect();
  int Left = 0;
  for (TNewImgForm* W : ImageWindows()) {
    EXPECT_EQ(W->geometry().left(), Left);
    EXPECT_EQ(W->geometry().height(), Area.height());
    EXPECT_TRUE(W->LockWinRect);
    Left = W->geometry().right() + 1;
  }
  EXPECT_EQ(Left, Area.width());
  ClickMenu({"MenuFenetre", "MenuFenetreMosaiqueH"});
  int Top = 0;
  for (TNewImgForm* W : ImageWindows()) {
    EXPECT_EQ(W->geometry().top(), Top);
    EXPECT_EQ(W->geometry().width(), Area.width());
    Top = W->geometry().bottom() + 1;
  }
  EXPECT_EQ(Top, Area.height());
  ClickMenu({"MenuFenetre", "MenuFenetreCascade"});
  for (TNewImgForm* W : ImageWindows()) EXPECT_FALSE(W->LockWinRect);
  EXPECT_NE(ImageWindows()[0]->geometry().topLeft(), ImageWindows()[1]->geometry().topLeft());
  ClickMenu({"MenuFenetre", "MenuFenetreReduire"});
  for (TNewImgForm* W : ImageWindows()) EXPECT_TRUE(W->isMinimized());
  ClickMenu({"MenuFenetre", "MenuFenetreRestaure"});
  for (TNewImgForm* W : ImageWindows()) EXPECT_FALSE(W->isMinimized());
}

TEST_F(MainFormCommandsTest, TheImageKeysChooseToolsShapesZoomAndLayers) {
  FakeTools Tools;
  Form->SetToolHooks(&Tools);
  TNewImgForm* Window = Open(100, 80);
  Window->Image->setFocus();
  ASSERT_TRUE(WaitUntil([Window] { return Window->Image->hasFocus(); }));
  QTest::keyClick(Window->Image, Qt::Key_K);
  EXPECT_EQ(Tools.Tool, 1);
  QTest::keyClick(Window->Image, Qt::Key_K, Qt::ShiftModifier);
  EXPECT_EQ(Tools.Tool, 1);
  QTest::keyClick(Window->Image, Qt::Key_0);
  EXPECT_EQ(Tools.Tool, 17);
  QTest::keyClick(Window->Image, Qt::Key_J);
  EXPECT_EQ(Tools.Tool, 0);
  EXPECT_EQ(Window->Image->SelShape(), ssPolygon);
  EXPECT_TRUE(Window->Image->MultiLine);

  Form->SetZoomEditStep(ZoomStepRealSize);
  Form->MajZoomImage();
  QTest::keyClick(Window->Image, Qt::Key_Plus);
  EXPECT_DOUBLE_EQ(Window->Image->Zoom(), 2.0);
  QTest::keyClick(Window->Image, Qt::Key_Minus);
  QTest::keyClick(Window->Image, Qt::Key_Minus);
  EXPECT_DOUBLE_EQ(Window->Image->Zoom(), 0.75);

  // F6 goes up through the layers and from the top to the background.
  const auto Layer = Checker(10, 10);
  Form->Image().AddLayer(Layer.get(), nullptr, {0, 0}, 100, "Calque");
  Form->Image().SetLayerIndex(0);
  QTest::keyClick(Window->Image, Qt::Key_F6);
  EXPECT_EQ(Form->Image().LayerIndex(), 1);
  QTest::keyClick(Window->Image, Qt::Key_F6);
  EXPECT_EQ(Form->Image().LayerIndex(), 0);
  QTest::keyClick(Window->Image, Qt::Key_F7);
  EXPECT_EQ(Form->Image().LayerIndex(), 1);

  // Escape hides the selection.
  Form->MenuSelToutClick();
  QTest::keyClick(Window->Image, Qt::Key_Escape);
  EXPECT_FALSE(Form->Sel()->Visible());
  Form->SetToolHooks(nullptr);
}

TEST_F(MainFormCommandsTest, CropInTwoClicksThenTurnEveryLayerFromTheMenus) {
  Open(90, 60);
  TBitmap Layer(10, 6, pf24bit);
  FillRandom(Layer, 4);
  Form->Image().AddLayer(&Layer, nullptr, {20, 10}, 100, "#1");
  Form->LayerNav()->Synchronize(true);

  // The first click only shows where the crop would go.
  ClickMenu({"MenuImage", "MenuImageRecadrer"});
  ASSERT_TRUE(Form->Sel()->Visible());
  EXPECT_EQ(Form->LeFond().Width(), 90);
  const TRect R = Form->Sel()->BmpSelRect();
  ClickMenu({"MenuImage", "MenuImageRecadrer"});
  ASSERT_EQ(Form->LeFond().Width(), R.Width());
  ASSERT_EQ(Form->LeFond().Height(), R.Height());
  EXPECT_EQ(Form->Image().Layers()[1].Pos, (TPoint{20 - R.Left, 10 - R.Top}));

  // A clockwise quarter turn of every layer keeps the layer on the same
  // part of the background.
  const TPoint P = Form->Image().Layers()[1].Pos;
  ClickMenu({"MenuImage", "MenuImageTransform", "MenuImageRot90", "MenuImageRot90_2"});
  EXPECT_EQ(Form->LeFond().Width(), R.Height());
  EXPECT_EQ(Form->Image().Layers()[1].Pos, (TPoint{R.Height() - (P.Y + 6), P.X}));
  EXPECT_EQ(Form->Image().Layers()[1].Bitmap().Width(), 6);
  Type(QKeySequence("Ctrl+Z"));
  Type(QKeySequence("Ctrl+Z"));
  EXPECT_EQ(Form->LeFond().Width(), 90);
  EXPECT_EQ(Form->Image().Layers()[1].Pos, (TPoint{20, 10}));
}
