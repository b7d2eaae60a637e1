#include "files/ui/BrowseForFolder.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

class TQtEnvironment : public ::testing::Environment {
public:
  void SetUp() override { App = new QApplication(Argc, Argv); }
  void TearDown() override { delete App; }

private:
  int Argc = 1;
  char Name[16] = "test_files_ui";
  char* Argv[2] = {Name, nullptr};
  QApplication* App = nullptr;
};

[[maybe_unused]] const auto* const Environment = ::testing::AddGlobalTestEnvironment(new TQtEnvironment);

// Runs Answer on the folder dialog once it is shown modally.
void WhenDialogShows(std::function<void(QFileDialog&)> Answer) {
  QTimer::singleShot(0, [Answer] {
    auto* Dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(Dialog, nullptr);
    Answer(*Dialog);
  });
}

} // namespace

TEST(BrowseForFolder, AcceptReturnsTheFolderItOpenedOn) {
  QTemporaryDir Dir;
  ASSERT_TRUE(QDir(Dir.path()).mkdir("pictures"));
  const QString Folder = Dir.filePath("pictures");
  QString Title;
  bool DirsOnly = false;
  WhenDialogShows([&](QFileDialog& Dialog) {
    Title = Dialog.windowTitle();
    DirsOnly = Dialog.fileMode() == QFileDialog::Directory && Dialog.testOption(QFileDialog::ShowDirsOnly);
    QMetaObject::invokeMethod(&Dialog, "accept");
  });
  EXPECT_EQ(BrowseForFolder("Dossier d'ouverture :", Folder), Folder);
  EXPECT_EQ(Title, "Dossier d'ouverture :");
  EXPECT_TRUE(DirsOnly);
}

TEST(BrowseForFolder, CancelReturnsAnEmptyString) {
  WhenDialogShows([](QFileDialog& Dialog) { Dialog.reject(); });
  EXPECT_EQ(BrowseForFolder("Choose", QDir::tempPath()), "");
}
