// The image browser in the main window: Tools > "Explorateur d'images"
// docks it at the foot of the frame; its thumbnails open as images or
// layers, follow the active image's folder, and stay in step with the file
// operations, whether they start in the browser or in the Tools menu.
#include "MainFormFixture.h"

#include "dialogs/ui/LQ.h"
#include "files/ui/Explor.h"
#include "ui/SpecialEdit.h"
#include "support/WaitFor.h"

#include <QAction>
#include <QDir>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace {

class MainFormExplorerTest : public MainFormFixture {
protected:
  void SetUp() override {
    MainFormFixture::SetUp();
    // In the home folder, so that the trash is the test's own.
    Folder = std::make_unique<QTemporaryDir>(QDir::homePath() + "/browse-XXXXXX");
    ASSERT_TRUE(Folder->isValid());
    QDir(Folder->path()).mkdir("other");
    for (const char* Name : {"a", "b", "c"}) ASSERT_TRUE(Photo(40, 30).save(File(Name), "PNG"));
    ASSERT_TRUE(Photo(20, 10).save(Folder->path() + "/other/d.png", "PNG"));
    Form = Start();
  }
  void TearDown() override {
    Form.reset();
    MainFormFixture::TearDown();
  }
  QString File(const QString& Name) const { return Folder->path() + "/" + Name + ".png"; }
  TExplorForm* ShowBrowser() {
    Form->MenuItem("MenuExplore")->trigger();
    return Form->Explorer();
  }
  void Select(TExplorForm* B, const QString& FileName) {
    QListWidgetItem* Item = B->FindImage(FileName);
    ASSERT_NE(Item, nullptr);
    B->ListView->setCurrentItem(Item);
  }
  std::unique_ptr<QTemporaryDir> Folder;
  std::unique_ptr<TMainForm> Form;
};

} // namespace

TEST_F(MainFormExplorerTest, ToolsItemDocksTheBrowserAtTheFootAndRemembersIt) {
  const int AreaHeight = Form->MdiArea()->height();
  TExplorForm* B = ShowBrowser();
  ASSERT_NE(B, nullptr);
  EXPECT_TRUE(B->isVisible());
  EXPECT_TRUE(Form->MenuItem("MenuExplore")->isChecked());
  EXPECT_EQ(B->height(), B->WantedHeight());
  EXPECT_EQ(Form->MdiArea()->height(), AreaHeight - B->height());
  EXPECT_EQ(B->geometry().top(), Form->MdiArea()->geometry().bottom() + 1);
  // More rows make it taller, and the image area gives way.
  B->MenuMultiline->trigger();
  EXPECT_EQ(B->height(), B->WantedHeight());
  EXPECT_EQ(Form->MdiArea()->height(), AreaHeight - B->height());
  B->MenuMultiline->trigger();

  Form->MenuItem("MenuExplore")->trigger();
  EXPECT_FALSE(B->isVisible());
  EXPECT_EQ(Form->MdiArea()->height(), AreaHeight);
  Form->MenuItem("MenuExplore")->trigger();
  B->Explore(Folder->path(), QString(), false);
  Form.reset();
  const TIniFile Ini(State.MainIniFile);
  EXPECT_EQ(Ini.ReadString("Tools", "Explorer", ""), "1");
  EXPECT_EQ(Ini.ReadString("Explorer", "Dir", ""), Folder->path() + "/");
  // The next start shows it again, on the folder it showed.
  Form = Start();
  ASSERT_TRUE(WaitUntil([&] { return Form->ExplorerVisible(); }));
  EXPECT_EQ(Form->Explorer()->CurrentDir, Folder->path() + "/");
}

TEST_F(MainFormExplorerTest, ThumbnailsOpenAsImagesAndLayersAndFollowTheActiveImage) {
  TScopedMsgDlgAnswers Scope(Messages.Provider());
  TExplorForm* B = ShowBrowser();
  B->Explore(Folder->path(), QString(), false);
  ASSERT_EQ(B->ListView->count(), 3);
  Select(B, File("b"));
  QTest::keyClick(B->ListView, Qt::Key_Return);
  ASSERT_TRUE(Form->UneImage());
  EXPECT_EQ(Form->NomFichier(), File("b"));
  EXPECT_EQ(Form->LeFond().Width(), 40);

  Select(B, File("a"));
  B->MenuActionClick();
  ASSERT_TRUE(B->MenuActionCalque->isVisible());
  B->MenuActionCalque->trigger();
  EXPECT_EQ(Form->Image().Layers().Count(), 2);
  EXPECT_EQ(Form->NomFichier(), File("b"));

  // A file open in a window is not renamed from the browser.
  Select(B, File("b"));
  B->MenuRename->trigger();
  EXPECT_EQ(Messages.Shown.value(0), "Action refusée car l'image est en cours d'édition !");
  EXPECT_TRUE(QFileInfo::exists(File("b")));

  // Following the active image: another folder's image brings its folder.
  B->MenuAuto->trigger();
  Form->Ouvrir(Folder->path() + "/other/d.png", true, true);
  ASSERT_TRUE(WaitUntil([&] { return B->CurrentDir == Folder->path() + "/other/" && !B->Processing(); }));
  EXPECT_EQ(B->ListView->count(), 1);
}

TEST_F(MainFormExplorerTest, FileOperationsKeepTheThumbnailsInStep) {
  TScopedMsgDlgAnswers Scope(Messages.Provider());
  TExplorForm* B = ShowBrowser();
  B->Explore(Folder->path(), QString(), false);
  // Renamed from the browser: the file and its thumbnail take the name.
  Select(B, File("c"));
  Messages.Typed = {"z"};
  Messages.Answers = {mrOk, mrYes};
  B->MenuRename->trigger();
  EXPECT_TRUE(QFileInfo::exists(File("z")));
  ASSERT_NE(B->FindImage(File("z")), nullptr);
  EXPECT_EQ(B->FindImage(File("c")), nullptr);
  EXPECT_EQ(B->ListView->item(2)->text(), "z.png");

  // Sent to the trash from the browser.
  Select(B, File("a"));
  Messages.Answers = {mrYes};
  B->MenuDelete->trigger();
  EXPECT_FALSE(QFileInfo::exists(File("a")));
  EXPECT_EQ(B->FindImage(File("a")), nullptr);

  // Renamed through Tools > image management while open: the browser follows.
  Form->Ouvrir(File("b"), true, true);
  Messages.Typed = {"y"};
  Messages.Answers = {mrOk, mrYes};
  Form->RefreshMenuStates();
  Form->MenuItem("MenuRenommerImage")->trigger();
  EXPECT_EQ(Form->NomFichier(), File("y"));
  EXPECT_NE(B->FindImage(File("y")), nullptr);
  EXPECT_EQ(B->ListView->count(), 2);
}

TEST_F(MainFormExplorerTest, DraggedThumbnailLandsWhereItIsDropped) {
  TExplorForm* B = ShowBrowser();
  B->Explore(Folder->path(), QString(), false);
  Form->Ouvrir(File("b"), true, true);
  ASSERT_TRUE(Form->UneImage());
  QWidget* View = B->ListView->viewport();
  Select(B, File("a"));
  const QPoint At = B->ListView->visualItemRect(B->FindImage(File("a"))).center();
  const auto DropAt = [&](const QPoint& Global) {
    QTest::mousePress(View, Qt::LeftButton, {}, At);
    const QPointF Local = View->mapFromGlobal(QPointF(Global));
    QMouseEvent Move(QEvent::MouseMove, Local, QPointF(Global), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(View, &Move);
    QMouseEvent Up(QEvent::MouseButtonRelease, Local, QPointF(Global), Qt::LeftButton, Qt::NoButton, {});
    QApplication::sendEvent(View, &Up);
  };
  // On the active image: a layer of it.
  const QMdiSubWindow* Active = Form->MdiArea()->activeSubWindow();
  DropAt(Active->mapToGlobal(Active->rect().center()));
  EXPECT_EQ(Form->Image().Layers().Count(), 2);
  // Outside the main window's image area: nothing.
  DropAt(B->mapToGlobal(QPoint(B->width() - 5, B->height() - 5)));
  EXPECT_EQ(Form->MdiArea()->subWindowList().size(), 1);
  // Beside the image window: a new image.
  QMdiSubWindow* W = Form->MdiArea()->activeSubWindow();
  W->setGeometry(0, 0, 150, 120);
  const QRect Area = Form->MdiArea()->rect();
  DropAt(Form->MdiArea()->mapToGlobal(QPoint(Area.right() - 10, Area.bottom() - 10)));
  EXPECT_EQ(Form->MdiArea()->subWindowList().size(), 2);
  EXPECT_EQ(Form->NomFichier(), File("a"));
}

TEST_F(MainFormExplorerTest, AThumbnailOfTheMasksFolderOpensTheMaskOverlayWithIt) {
  // The masks folder is looked for at start.
  Form.reset();
  ASSERT_TRUE(QDir(Dir.path()).mkdir("Masks"));
  const QString Mask = Dir.path() + "/Masks/ring.png";
  ASSERT_TRUE(Photo(30, 30).save(Mask, "PNG"));
  Form = Start();
  Form->Ouvrir(File("a"), true, true);
  ASSERT_TRUE(Form->UneImage());
  TExplorForm* B = ShowBrowser();
  B->Explore(Dir.path() + "/Masks", QString(), false);
  ASSERT_TRUE(WaitUntil([&] { return !B->Processing() && B->ListView->count() == 1; }));
  Select(B, Mask);
  B->MenuActionClick();
  ASSERT_TRUE(B->MenuActionMasque->isVisible());
  ASSERT_TRUE(B->MenuActionMasque->isEnabled());
  const int Steps = Form->ListeUndo().Count();
  B->MenuActionMasque->trigger();
  auto* Dialog = Form->findChild<TLQForm*>();
  ASSERT_NE(Dialog, nullptr);
  EXPECT_TRUE(Dialog->isVisible());
  EXPECT_EQ(Dialog->PictureEdit->Text(), Mask);
  EXPECT_EQ(Form->ListeUndo().Count(), Steps + 1);
  Dialog->reject();
}
