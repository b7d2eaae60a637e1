// The main window as a first user meets it: three images opened, switched by
// the Window menu, by a click and by Ctrl+Tab, one closed; the status bar,
// the caption, the menus' separators, the zoom list and the dialog locks.
#include "MainFormFixture.h"

#include "app/ui/MainStatusBar.h"
#include "platform/Beep.h"
#include "ui/SpecialEdit.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>

namespace {

class WindowSwitchTest : public MainFormFixture {
protected:
  // Three images of three sizes, opened in the order a, b, c.
  void OpenThree(TMainForm& Form) {
    for (const auto& [Name, Side] : {std::pair{"a.png", 10}, std::pair{"b.png", 20}, std::pair{"c.png", 30}}) {
      const PBitmap B = Bands(Side, Side);
      Form.Ouvrir(WritePng(Name, *B), true, true);
    }
    ASSERT_EQ(ImageWindows().size(), 3u);
  }
  static QString SizeShown(TMainForm& Form) { return Form.StatusBar()->PanelText(1).section('x', 0, 1); }
  static QString FileShown(TMainForm& Form) { return QFileInfo(Form.StatusBar()->PanelText(3)).fileName(); }
  static QAction* WindowMenuItem(TMainForm& Form, const QString& Caption) {
    for (QAction* A : Form.MenuNamed("MenuFenetre")->actions())
      if (A->text() == Caption) return A;
    return nullptr;
  }
};

} // namespace

// The status bar tells the size and file of the window that is active, however
// it became active.
TEST_F(WindowSwitchTest, StatusBarFollowsTheActiveWindow) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  auto Form = Start();
  OpenThree(*Form);
  EXPECT_EQ(FileShown(*Form), "c.png");
  EXPECT_EQ(SizeShown(*Form), "30x30");

  // By the Window menu.
  QAction* A = WindowMenuItem(*Form, "a.png");
  ASSERT_NE(A, nullptr);
  A->trigger();
  ASSERT_TRUE(QTest::qWaitFor([&] { return Form->EnfantActif() == ImageWindows()[0]; }));
  EXPECT_EQ(FileShown(*Form), "a.png");
  EXPECT_EQ(SizeShown(*Form), "10x10");

  // By a click on another window.
  TNewImgForm* B = ImageWindows()[1];
  QTest::mouseClick(B->Image, Qt::LeftButton, {}, QPoint(2, 2));
  ASSERT_TRUE(QTest::qWaitFor([&] { return Form->EnfantActif() == B; }));
  EXPECT_EQ(FileShown(*Form), "b.png");
  EXPECT_EQ(SizeShown(*Form), "20x20");

  // By the area's next-window key.
  Form->MdiArea()->activateNextSubWindow();
  ASSERT_TRUE(QTest::qWaitFor([&] { return Form->EnfantActif() != B; }));
  EXPECT_EQ(FileShown(*Form), QFileInfo(Form->NomFichier()).fileName());
  EXPECT_EQ(SizeShown(*Form), QStringLiteral("%1x%1").arg(Form->LeFond().Width()));
}

// Closing the active window brings forward the one beneath it, which the
// status bar then describes.
TEST_F(WindowSwitchTest, ClosingActivatesTheWindowBeneath) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  auto Form = Start();
  OpenThree(*Form);
  // Stacking order now: c over a over b.
  WindowMenuItem(*Form, "b.png")->trigger();
  WindowMenuItem(*Form, "a.png")->trigger();
  WindowMenuItem(*Form, "c.png")->trigger();
  ASSERT_EQ(FileShown(*Form), "c.png");
  Form->MenuItem("MenuFichierFermer")->trigger();
  ASSERT_EQ(ImageWindows().size(), 2u);
  ASSERT_NE(Form->EnfantActif(), nullptr);
  EXPECT_EQ(QFileInfo(Form->NomFichier()).fileName(), "a.png");
  EXPECT_EQ(FileShown(*Form), "a.png");
  EXPECT_EQ(SizeShown(*Form), "10x10");
  Form->MenuItem("MenuFichierFermer")->trigger();
  EXPECT_EQ(FileShown(*Form), "b.png");
  Form->MenuItem("MenuFichierFermer")->trigger();
  EXPECT_TRUE(Form->StatusBar()->PanelText(1).isEmpty());
  EXPECT_TRUE(Form->StatusBar()->PanelText(3).isEmpty());
}

// With a maximised image the frame's caption names the program once (the
// platform adds no display name of its own, see ProgramMainTest).
TEST_F(WindowSwitchTest, MaximisedImageCaptionNamesTheProgramOnce) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  auto Form = Start();
  const PBitmap B = Bands(10, 10);
  Form->Ouvrir(WritePng("max.png", *B), true, true);
  Form->EnfantActif()->showMaximized();
  EXPECT_EQ(Form->windowTitle().count("Lumaretique 11"), 1) << Form->windowTitle().toStdString();
  EXPECT_TRUE(Form->windowTitle().contains("max.png"));
}

// Separators carry no caption, in the menus and in the zoom list.
TEST_F(WindowSwitchTest, SeparatorsHaveNoCaption) {
  auto Form = Start();
  QList<QMenu*> Menus = Form->findChildren<QMenu*>();
  Menus << Form->EdiZoom()->DropDownMenu();
  int Separators = 0;
  for (QMenu* Menu : Menus)
    for (QAction* A : Menu->actions())
      if (A->isSeparator()) {
        ++Separators;
        EXPECT_TRUE(A->text().isEmpty()) << Menu->objectName().toStdString() << " " << A->objectName().toStdString();
      }
  EXPECT_GT(Separators, 20);
}

// The zoom list's entries work: "200%" zooms the image to 2, "<Auto>" fits
// it again.
TEST_F(WindowSwitchTest, ZoomListEntriesApplyTheirZoom) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  auto Form = Start();
  const PBitmap B = Bands(40, 30);
  Form->Ouvrir(WritePng("zoom.png", *B), true, true);
  ASSERT_TRUE(Form->UneImage());
  TSpecialEdit* Edit = Form->EdiZoom();
  QMenu* List = Edit->DropDownMenu();
  for (QAction* A : List->actions())
    if (!A->isSeparator()) EXPECT_TRUE(A->isEnabled()) << A->text().toStdString();
  // Picks an entry of the open list with the keyboard, as a user would.
  const auto Pick = [&](const QString& Caption) {
    QTimer::singleShot(0, [&, Caption] {
      ASSERT_TRUE(QTest::qWaitFor([&] { return List->isVisible(); }));
      for (QAction* A : List->actions())
        if (A->text() == Caption) List->setActiveAction(A);
      QTest::keyClick(List, Qt::Key_Return);
    });
    Edit->DropDown();
  };
  Pick("200%   (2:1)");
  EXPECT_DOUBLE_EQ(Form->EnfantActif()->Image->Zoom(), 2.0);
  EXPECT_FALSE(Form->EnfantActif()->FlagAutoZoom);
  EXPECT_EQ(Edit->DisplayedText(), "200%");
  QTest::qWait(350); // the list does not open again within 0.3 s of closing
  Pick("<Auto>");
  EXPECT_TRUE(Form->EnfantActif()->FlagAutoZoom);
  EXPECT_DOUBLE_EQ(Form->EnfantActif()->Image->Zoom(), 1.0);
}

// With a non-modal dialog working on an image the zoom buttons still work
// without a beep; the File menu's Close, Close all and Revert are refused.
TEST_F(WindowSwitchTest, DialogLockSparesTheZoomButtonsOnly) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  auto Form = Start();
  OpenThree(*Form);
  QWidget Dialog;
  Form->SetDialogueForm(&Dialog);
  ResetBeepCount();
  QToolBar* Zoom = Form->ToolBar(2);
  QTest::mouseClick(Zoom->widgetForAction(Zoom->findChild<QAction*>("BtnZoomAuto")), Qt::LeftButton);
  EXPECT_EQ(BeepCount(), 0);
  for (const char* Item : {"MenuFichierFermer", "MenuFichierFermerTout"}) {
    Form->MenuItem(Item)->trigger();
    EXPECT_EQ(ImageWindows().size(), 3u) << Item;
  }
  EXPECT_EQ(BeepCount(), 2);
  Form->SetDialogueForm(nullptr);
  Form->MenuItem("MenuFichierFermer")->trigger();
  EXPECT_EQ(ImageWindows().size(), 2u);
}

// A modal form disables the frame and counts as an open dialog until it
// goes.
TEST_F(WindowSwitchTest, ModalFormDisablesTheFrameAndCounts) {
  auto Form = Start();
  QWidget Dialog;
  Form->SetModalForm(&Dialog);
  EXPECT_FALSE(Form->menuBar()->isEnabled());
  EXPECT_FALSE(Form->MdiArea()->isEnabled());
  EXPECT_EQ(Form->DialogueEnCours, 1);
  EXPECT_FALSE(Form->CheckActionKey());
  Form->SetModalForm(nullptr);
  EXPECT_TRUE(Form->menuBar()->isEnabled());
  EXPECT_TRUE(Form->MdiArea()->isEnabled());
  EXPECT_EQ(Form->DialogueEnCours, 0);
  EXPECT_TRUE(Form->CheckActionKey());
}

// The save question names a file with "&" as it is, not with "&&".
TEST_F(WindowSwitchTest, SaveQuestionShowsTheNameAsItIs) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  auto Form = Start();
  const PBitmap B = Bands(10, 10);
  Form->Ouvrir(WritePng("R&D.png", *B), true, true);
  Form->EnfantActif()->FlagUndoModified = true;
  Messages.Answers = {mrCancel};
  EXPECT_FALSE(Form->close());
  ASSERT_EQ(Messages.Shown.size(), 1);
  EXPECT_TRUE(Messages.Shown[0].contains("R&D.png")) << Messages.Shown[0].toStdString();
  EXPECT_FALSE(Messages.Shown[0].contains("&&"));
  Messages.Answers = {mrNo};
  EXPECT_TRUE(Form->close());
}

// Ctrl+W pressed in an image closes it: the image window's own system menu
// does not take the key too.
TEST_F(WindowSwitchTest, CtrlWClosesTheActiveImage) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  auto Form = Start();
  OpenThree(*Form);
  QApplication::setActiveWindow(Form.get());
  TNewImgForm* Active = Form->EnfantActif();
  Active->Image->setFocus();
  QTest::keyClick(Active->Image, Qt::Key_W, Qt::ControlModifier);
  EXPECT_EQ(ImageWindows().size(), 2u);
  EXPECT_EQ(FileShown(*Form), "b.png");
}

