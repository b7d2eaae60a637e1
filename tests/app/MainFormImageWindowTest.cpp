// An image window in the real main window: its right-click menus (the
// image's own, the layer menu with the layer tool, the selection's over a
// visible selection, the menu of the current mode on the title bar) and
// Caps Lock, which makes the arrow keys move a layer further.
#include "MainFormFixture.h"
#include "app/ui/ToolHooks.h"
#include "document/ui/ImgForm.h"
#include "support/WaitFor.h"
#include "tools/ui/Outils.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMenu>

namespace {

class MainFormImageWindowTest : public MainFormFixture {
protected:
  void SetUp() override {
    MainFormFixture::SetUp();
    Form = Start();
    // The palette comes once the frame is shown; the tools need it.
    ASSERT_TRUE(WaitUntil([this] { return Form->Palette() && Form->Palette()->isVisible(); }));
    TBitmap Picture(160, 120);
    Window = Form->NouvelleImage(nullptr, &Picture, QString(), srcNew, 16777216);
    ASSERT_NE(Window, nullptr);
    Form->MajMenus();
  }
  void TearDown() override {
    for (QMenu* Menu : Form->findChildren<QMenu*>()) Menu->close();
    MainFormFixture::TearDown();
  }
  // The menu a right click at P (a point of the view) opens, or none.
  QMenu* RightClickOnImage(QPoint P) {
    QWidget* Port = Window->Image->viewport();
    QContextMenuEvent Event(QContextMenuEvent::Mouse, P, Port->mapToGlobal(P));
    QApplication::sendEvent(Port, &Event);
    return OpenMenu();
  }
  QMenu* OpenMenu() const {
    for (QMenu* Menu : Form->findChildren<QMenu*>())
      if (Menu->isVisible()) return Menu;
    return nullptr;
  }
  void CloseMenus() {
    for (QMenu* Menu : Form->findChildren<QMenu*>()) Menu->close();
    ASSERT_TRUE(WaitUntil([this] { return !OpenMenu(); }));
  }
  QPoint InsideImage() const {
    const TRect R = Window->Image->ImgRect();
    return {(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
  }

  TScopedMsgDlgAnswers Answers{Messages.Provider()};
  std::unique_ptr<TMainForm> Form;
  TNewImgForm* Window = nullptr;
};

TEST_F(MainFormImageWindowTest, TheImageOpensItsMenuAndTheLayerToolTheLayerMenu) {
  EXPECT_EQ(RightClickOnImage(InsideImage()), Form->MenuNamed("PopImg"));
  CloseMenus();

  Form->ToolHooks()->SetTool(13);
  EXPECT_EQ(RightClickOnImage(InsideImage()), Form->MenuNamed("PopCalque"));
  CloseMenus();

  Form->ToolHooks()->SetTool(0);
  Form->MenuItem("MenuSelTout")->trigger();
  ASSERT_TRUE(Form->Sel()->Visible());
  EXPECT_EQ(RightClickOnImage(InsideImage()), Form->MenuNamed("PopSel"));
}

TEST_F(MainFormImageWindowTest, TheTitleBarOpensTheMenuOfTheCurrentMode) {
  const auto RightClickOnTitle = [this] {
    ASSERT_GT(Window->widget()->y(), 2) << "a title bar above the image";
    const QPoint P(Window->width() / 2, Window->widget()->y() / 2);
    QContextMenuEvent Event(QContextMenuEvent::Mouse, P, Window->mapToGlobal(P));
    QApplication::sendEvent(Window, &Event);
    EXPECT_TRUE(Event.isAccepted());
  };
  RightClickOnTitle();
  EXPECT_EQ(OpenMenu(), Form->MenuNamed("PopImg"));
  EXPECT_FALSE(Window->systemMenu()->isVisible());
  CloseMenus();

  Form->MenuItem("MenuOutilsPathNew")->trigger();
  ASSERT_EQ(Form->VerticesMode, 2);
  RightClickOnTitle();
  EXPECT_EQ(OpenMenu(), Form->MenuNamed("PopPath"));
  CloseMenus();

  // Under the title bar the image keeps its own menu.
  Form->MenuItem("PopPathFermer")->trigger();
  ASSERT_EQ(Form->VerticesMode, 0);
  EXPECT_EQ(RightClickOnImage(InsideImage()), Form->MenuNamed("PopImg"));
}

TEST_F(MainFormImageWindowTest, CapsLockMakesTheArrowKeysMoveTheLayerEightPixels) {
  TBitmap Piece(20, 10);
  TMyImageLayered& Img = Form->Image();
  Img.SetLayerIndex(Img.AddLayer(&Piece, nullptr, {30, 20}, 100, "Calque"));
  Form->LayerNav()->Synchronize(true);
  Form->ToolHooks()->SetTool(13);
  QWidget* View = Window->Image;
  View->setFocus();
  ASSERT_TRUE(WaitUntil([View] { return View->hasFocus(); }));
  // The key as the window system delivers it: its state has the Lock bit
  // while Caps Lock is on.
  const auto Right = [View](quint32 NativeState) {
    for (const QEvent::Type T : {QEvent::KeyPress, QEvent::KeyRelease}) {
      QKeyEvent E(T, Qt::Key_Right, Qt::NoModifier, 0, 0, NativeState);
      QApplication::sendEvent(View, &E);
    }
  };
  Right(0x0);
  EXPECT_EQ(Img.CurrentLayer()->Pos, (TPoint{31, 20}));
  Right(0x2);
  EXPECT_EQ(Img.CurrentLayer()->Pos, (TPoint{39, 20}));
  Right(0x10); // Num Lock alone changes nothing
  EXPECT_EQ(Img.CurrentLayer()->Pos, (TPoint{40, 20}));
}

} // namespace
