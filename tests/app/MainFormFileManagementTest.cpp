// Tools > image management and folder navigation on a folder of real files:
// copy, move, rename, the trash and the neighbouring images, each with the
// window's title and the recent files checked.
#include "MainFormFixture.h"

#include "app/ui/DirForm.h"
#include "document/ui/ImgForm.h"
#include "extensions/ui/Pe.h"
#include "platform/IniFile.h"
#include "support/WaitFor.h"
#include "ui/SpecialEdit.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>

namespace {

class MainFormFileManagementTest : public MainFormFixture {
protected:
  void SetUp() override {
    MainFormFixture::SetUp();
    // In the home folder, so that the trash is the test's own.
    Folder = std::make_unique<QTemporaryDir>(QDir::homePath() + "/images-XXXXXX");
    ASSERT_TRUE(Folder->isValid());
    QDir(Folder->path()).mkdir("dest");
    for (const char* Name : {"a", "b", "c"}) WriteImage(File(Name), Bands(20 + int(Name[0] - 'a'), 10));
    Form = Start();
  }
  void TearDown() override {
    Form.reset();
    MainFormFixture::TearDown();
  }
  QString File(const QString& Name) const { return Folder->path() + "/" + Name + ".png"; }
  static void WriteImage(const QString& Path, const PBitmap& B) { ASSERT_TRUE(B->QImageView().save(Path, "PNG")); }
  static QByteArray Bytes(const QString& Path) {
    QFile F(Path);
    return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray();
  }
  TNewImgForm* Open(const QString& Path) {
    Form->Ouvrir(Path, true, true);
    return Form->EnfantActif();
  }
  void Trigger(const char* Name) { TriggerItem(*Form, Form->MenuItem(Name), Name); }
  // The folder dialog answered with Folder (Ok), once it is up; StartedIn
  // takes the folder it showed.
  void AnswerFolder(const QString& Chosen, QString* StartedIn = nullptr) {
    auto* Timer = new QTimer;
    Timer->setInterval(5);
    QObject::connect(Timer, &QTimer::timeout, [Timer, Chosen, StartedIn] {
      auto* Dialog = qobject_cast<TDirForm*>(QApplication::activeModalWidget());
      if (!Dialog) return;
      Timer->stop();
      Timer->deleteLater();
      if (StartedIn) *StartedIn = Dialog->EdiDir->Text();
      if (Chosen.isEmpty()) {
        Dialog->BAnnuler->click();
        return;
      }
      Dialog->EdiDir->SetText(Chosen);
      Dialog->BOk->click();
    });
    Timer->start();
  }
  QString Dest() const { return Folder->path() + "/dest"; }
  std::unique_ptr<QTemporaryDir> Folder;
  std::unique_ptr<TMainForm> Form;
};

} // namespace

TEST_F(MainFormFileManagementTest, NavigationStepsThroughTheFolderAndLoopsOnlyWhenAsked) {
  TScopedMsgDlgAnswers Scope(Messages.Provider());
  TNewImgForm* W = Open(File("b"));
  ASSERT_NE(W, nullptr);
  const struct {
    const char* Item;
    bool Loop;
    const char* Expected;
  } Steps[] = {
      {"MenuNaviguerSuivant", false, "c"},   {"MenuNaviguerSuivant", false, "c"}, // at the end, no loop
      {"MenuNaviguerSuivant", true, "a"},    {"MenuNaviguerPrecedent", true, "c"},
      {"MenuNaviguerPrecedent", false, "b"}, {"MenuNaviguerPremier", false, "a"},
      {"MenuNaviguerPremier", false, "a"},   {"MenuNaviguerDernier", false, "c"},
  };
  for (const auto& S : Steps) {
    SCOPED_TRACE(std::string(S.Item) + " to " + S.Expected);
    Form->LoopNavig = S.Loop;
    Trigger(S.Item);
    EXPECT_EQ(Form->EnfantActif(), W);
    EXPECT_EQ(Form->NomFichier(), File(S.Expected));
    EXPECT_EQ(W->windowTitle(), QString(S.Expected) + ".png");
  }
  EXPECT_EQ(ImageWindows().size(), 1u);
  // The files shown along the way do not join the recent files.
  EXPECT_EQ(Form->ListeFichiers(), QStringList{File("b")});

  // A modified image asks first; Cancel stays.
  W->FlagUndoModified = true;
  Messages.Answers = {mrCancel};
  Trigger("MenuNaviguerPremier");
  EXPECT_EQ(Form->NomFichier(), File("c"));
  EXPECT_EQ(Messages.Shown.size(), 1);
  W->FlagUndoModified = false;
}

TEST_F(MainFormFileManagementTest, FullScreenStepsThroughTheFolderAndComesBackOnEscape) {
  TNewImgForm* W = Open(File("b"));
  ASSERT_NE(W, nullptr);
  bool Shown = false;
  QString SeenWhileShown;
  auto* Timer = new QTimer;
  Timer->setInterval(5);
  QObject::connect(Timer, &QTimer::timeout, [&, Timer] {
    auto* View = qobject_cast<TPeForm*>(QApplication::activeModalWidget());
    if (!View || !View->View()) return;
    Timer->stop();
    Timer->deleteLater();
    Shown = true;
    QTest::keyClick(View->View(), Qt::Key_PageDown);
    SeenWhileShown = Form->NomFichier();
    // Boucler is ticked: past the last image comes the first.
    QTest::keyClick(View->View(), Qt::Key_PageDown);
    QTest::keyClick(View->View(), Qt::Key_Escape);
  });
  Timer->start();
  Trigger("MenuZoomPe");
  EXPECT_TRUE(Shown);
  EXPECT_EQ(SeenWhileShown, File("c"));
  EXPECT_EQ(Form->NomFichier(), File("a"));
  EXPECT_EQ(Form->EnfantActif(), W);
  EXPECT_FALSE(Form->LoopNavig) << "looping ends with the view";
  EXPECT_EQ(Form->Image().BackColor, clWhite);
}

TEST_F(MainFormFileManagementTest, CopyGoesToTheChosenFolderAndNeverOverwrites) {
  TScopedMsgDlgAnswers Scope(Messages.Provider());
  TNewImgForm* W = Open(File("b"));
  const QByteArray Original = Bytes(File("b"));
  AnswerFolder(Dest());
  Messages.Answers = {mrYes};
  Trigger("MenuCopierImage");
  EXPECT_EQ(Bytes(Dest() + "/b.png"), Original);
  EXPECT_EQ(Bytes(File("b")), Original);
  EXPECT_EQ(TIniFile(State.MainIniFile).ReadString("Params", "CopyTo", ""), Dest());
  EXPECT_EQ(Form->NomFichier(), File("b"));
  EXPECT_EQ(W->windowTitle(), "b.png");
  EXPECT_EQ(Form->ListeFichiers(), QStringList{File("b")});

  // Again: the dialog starts in the folder chosen last, and the copy there
  // is refused with the reason.
  QFile::remove(Dest() + "/b.png");
  ASSERT_TRUE(QFile::copy(File("a"), Dest() + "/b.png"));
  QString StartedIn;
  AnswerFolder(Dest(), &StartedIn);
  Messages.Answers = {mrYes};
  Messages.Shown.clear();
  Trigger("MenuCopierImage");
  EXPECT_EQ(StartedIn, Dest());
  ASSERT_EQ(Messages.Shown.size(), 2);
  EXPECT_TRUE(Messages.Shown[1].startsWith("Impossible de copier l'image !\r")) << Messages.Shown[1].toStdString();
  EXPECT_GT(Messages.Shown[1].size(), QString("Impossible de copier l'image !\r").size());
  EXPECT_EQ(Bytes(Dest() + "/b.png"), Bytes(File("a")));

  // Only Yes copies: the question closed by its frame answers Cancel.
  QDir(Folder->path()).mkdir("other");
  AnswerFolder(Folder->path() + "/other");
  Messages.Answers = {mrCancel};
  Trigger("MenuCopierImage");
  EXPECT_FALSE(QFile::exists(Folder->path() + "/other/b.png"));

  // Cancelling the folder dialog does nothing and keeps the folder stored.
  AnswerFolder(QString());
  Messages.Shown.clear();
  Trigger("MenuCopierImage");
  EXPECT_TRUE(Messages.Shown.isEmpty());
  EXPECT_EQ(TIniFile(State.MainIniFile).ReadString("Params", "CopyTo", ""), Folder->path() + "/other");
}

TEST_F(MainFormFileManagementTest, MoveTakesTheWindowAndTheRecentFileAlong) {
  TScopedMsgDlgAnswers Scope(Messages.Provider());
  TNewImgForm* Other = Open(File("a"));
  TNewImgForm* W = Open(File("b"));
  ASSERT_NE(Other, W);
  const QByteArray Original = Bytes(File("b"));
  AnswerFolder(Dest());
  Messages.Answers = {mrYes};
  Trigger("MenuDeplacerImage");
  EXPECT_FALSE(QFile::exists(File("b")));
  EXPECT_EQ(Bytes(Dest() + "/b.png"), Original);
  EXPECT_EQ(W->NomFichier, Dest() + "/b.png");
  EXPECT_EQ(W->windowTitle(), "b.png");
  EXPECT_EQ(Other->NomFichier, File("a"));
  EXPECT_EQ(Form->ListeFichiers(), (QStringList{Dest() + "/b.png", File("a")}));

  // Back where it was, onto a file of that name: refused, both files kept.
  ASSERT_TRUE(QFile::copy(File("c"), File("b")));
  AnswerFolder(Folder->path());
  Messages.Answers = {mrYes};
  Messages.Shown.clear();
  Trigger("MenuDeplacerImage");
  ASSERT_EQ(Messages.Shown.size(), 2);
  EXPECT_TRUE(Messages.Shown[1].startsWith("Impossible de déplacer l'image !\r"));
  EXPECT_EQ(Bytes(Dest() + "/b.png"), Original);
  EXPECT_EQ(Bytes(File("b")), Bytes(File("c")));
  EXPECT_EQ(W->NomFichier, Dest() + "/b.png");
}

TEST_F(MainFormFileManagementTest, RenameKeepsTheFolderAndAsksBeforeReplacing) {
  TScopedMsgDlgAnswers Scope(Messages.Provider());
  TNewImgForm* W = Open(File("b"));
  const QByteArray Original = Bytes(File("b"));
  const QByteArray C = Bytes(File("c"));

  // The same name changes nothing.
  Messages.Typed = {"b"};
  Trigger("MenuRenommerImage");
  EXPECT_EQ(Messages.Shown.last(), "Nom ou chemin identique !");

  // Delimiters cannot take the file out of its folder; the extension stays.
  Messages.Typed = {" ../x/evil.jpg "};
  Messages.Answers = {mrOk, mrYes};
  Trigger("MenuRenommerImage");
  const QString Safe = Folder->path() + "/.._x_evil.jpg.png";
  EXPECT_EQ(Bytes(Safe), Original);
  EXPECT_FALSE(QFile::exists(File("b")));
  EXPECT_EQ(W->NomFichier, Safe);
  EXPECT_EQ(W->windowTitle(), ".._x_evil.jpg.png");
  EXPECT_EQ(Form->ListeFichiers(), QStringList{Safe});

  // Onto an existing file: No keeps both.
  Messages.Typed = {"c"};
  Messages.Answers = {mrOk, mrYes, mrNo};
  Messages.Shown.clear();
  Trigger("MenuRenommerImage");
  ASSERT_EQ(Messages.Shown.size(), 3);
  EXPECT_EQ(Messages.Shown[2], QString("Le fichier \"%1\" existe déjà.\rVoulez-vous le remplacer ?").arg(File("c")));
  EXPECT_EQ(Bytes(File("c")), C);
  EXPECT_EQ(Bytes(Safe), Original);
  EXPECT_EQ(W->NomFichier, Safe);

  // Yes replaces it.
  Messages.Typed = {"c"};
  Messages.Answers = {mrOk, mrYes, mrYes};
  Trigger("MenuRenommerImage");
  EXPECT_EQ(Bytes(File("c")), Original);
  EXPECT_FALSE(QFile::exists(Safe));
  EXPECT_EQ(W->NomFichier, File("c"));
  EXPECT_EQ(W->windowTitle(), "c.png");
  EXPECT_EQ(Form->ListeFichiers(), QStringList{File("c")});
}

TEST_F(MainFormFileManagementTest, DeleteShowsTheNextImageOrClosesTheLast) {
  TScopedMsgDlgAnswers Scope(Messages.Provider());
  TNewImgForm* W = Open(File("b"));
  // No keeps the file.
  Messages.Answers = {mrNo};
  Trigger("MenuSupprimerImage");
  EXPECT_TRUE(QFile::exists(File("b")));

  const QByteArray Original = Bytes(File("b"));
  Messages.Answers = {mrYes};
  Trigger("MenuSupprimerImage");
  EXPECT_FALSE(QFile::exists(File("b")));
  const QString Trash = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Trash/files/";
  EXPECT_TRUE(QDir(Trash).entryList({"b*.png"}, QDir::Files).size() >= 1) << Trash.toStdString();
  EXPECT_EQ(Form->EnfantActif(), W);
  EXPECT_EQ(W->NomFichier, File("c"));
  EXPECT_EQ(W->windowTitle(), "c.png");
  EXPECT_FALSE(Form->ListeFichiers().contains(File("b")));

  // The last image of its folder goes with its window, even modified.
  WriteImage(Dest() + "/solo.png", Bands(8, 8));
  TNewImgForm* Solo = Open(Dest() + "/solo.png");
  Solo->FlagUndoModified = true;
  Messages.Answers = {mrYes};
  Trigger("MenuSupprimerImage");
  EXPECT_FALSE(QFile::exists(Dest() + "/solo.png"));
  EXPECT_TRUE(WaitUntil([] { return ImageWindows().size() == 1; }));
  EXPECT_FALSE(Form->ListeFichiers().contains(Dest() + "/solo.png"));
  EXPECT_EQ(Messages.Shown.last(), "Voulez-vous envoyer l'image actuelle à la corbeille ?");
}

TEST_F(MainFormFileManagementTest, FolderDialogStartsInTheSaveFolderWhenTheStoredOneIsGone) {
  TDirForm Dialog;
  Dialog.MainIniFile = State.MainIniFile;
  Dialog.EnregistrerDir = Dest();
  Dialog.OuvrirDir = Folder->path();
  TIniFile Ini(State.MainIniFile);
  Ini.WriteString("Params", "CopyTo", Folder->path() + "/gone");
  Ini.UpdateFile();
  EXPECT_EQ(Dialog.InitialFolder(), Dest());
  Dialog.EnregistrerDir.clear();
  EXPECT_EQ(Dialog.InitialFolder(), Folder->path());

  // A folder typed in is stored as it stands, existing or not.
  AnswerFolder(Folder->path() + "/not yet");
  EXPECT_EQ(Dialog.SelectDirectory("Confirmation", "Copier vers :"), Folder->path() + "/not yet");
  EXPECT_EQ(Dialog.LblCaption->text(), "Confirmation");
  EXPECT_TRUE(Dialog.LblCaption->font().bold());
  EXPECT_EQ(TIniFile(State.MainIniFile).ReadString("Params", "CopyTo", ""), Folder->path() + "/not yet");
}
