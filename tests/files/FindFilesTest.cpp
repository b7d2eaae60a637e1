#include "files/FindFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A tree with nested folders, extensions in mixed case, a dot folder, a
// hidden file and a symbolic link back to the top (a cycle).
class FindFilesTree : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(Dir.isValid());
    Root = Dir.path() + "/";
    for (const char* Folder : {"sub", "sub/deep", "Other", ".git"}) ASSERT_TRUE(QDir(Root).mkpath(Folder));
    for (const char* File : {"b.jpg", "A.JPG", "c.png", "d.jpeg", "e.jpgx", "noext", ".hidden.jpg", "sub/x.Jpg",
                             "sub/y.gif", "sub/deep/z.png", "Other/w.PNG", ".git/skip.jpg"}) {
      QFile F(Root + File);
      ASSERT_TRUE(F.open(QIODevice::WriteOnly)) << File;
    }
    ASSERT_TRUE(QFile::link(Root, Root + "sub/deep/loop"));
    ASSERT_TRUE(QFile::link(Root + "sub/y.gif", Root + "link.gif"));
    ASSERT_TRUE(QFile::link(Root + "missing.jpg", Root + "broken.jpg"));
  }
  QStringList Full(std::initializer_list<const char*> Names) {
    QStringList List;
    for (const char* Name : Names) List.append(Root + Name);
    return List;
  }
  QTemporaryDir Dir;
  QString Root;
};

} // namespace

TEST_F(FindFilesTree, RecursiveListIsSortedWithoutCase) {
  const auto Found = FindFiles(Root, " *.jpg ; *.png ", true);
  ASSERT_TRUE(Found.has_value());
  EXPECT_EQ(*Found, Full({".hidden.jpg", "A.JPG", "b.jpg", "c.png", "Other/w.PNG", "sub/deep/z.png", "sub/x.Jpg"}));
}

TEST_F(FindFilesTree, FlatSearchAndMaskRules) {
  EXPECT_EQ(*FindFiles(Root, "*.jpg;*.JPG", false), Full({".hidden.jpg", "A.JPG", "b.jpg"})); // each once
  EXPECT_EQ(*FindFiles(Root.chopped(1), "*.gif", false), Full({"link.gif"}));                 // folder without its '/'
  EXPECT_EQ(*FindFiles(Root, "*", false), Full({"noext"}));
  EXPECT_TRUE(FindFiles(Root, "*.*", true)->isEmpty());  // extension "*" matches nothing
  EXPECT_EQ(*FindFiles(Root, "?.jp*", false), Full({})); // nor "jp*"
  EXPECT_EQ(*FindFiles(Root, "b*.jpg", false), Full({"b.jpg"}));
  EXPECT_TRUE(FindFiles(Root + "nowhere", "*.jpg", true)->isEmpty());
}

TEST_F(FindFilesTree, CallbackOrderAndStop) {
  QStringList Seen;
  FindFilesCallback(Root, "*.png;*.jpg", true, [&Seen](const QString& Folder, const QString& Name) {
    EXPECT_TRUE(Folder.endsWith('/'));
    Seen.append(Folder + Name);
    return true;
  });
  // A folder's files mask by mask, then its subfolders.
  ASSERT_EQ(Seen.size(), 7);
  EXPECT_EQ(Seen[0], Root + "c.png");
  EXPECT_TRUE(Seen.indexOf(Root + "b.jpg") < Seen.indexOf(Root + "sub/x.Jpg"));
  EXPECT_TRUE(Seen.indexOf(Root + "sub/x.Jpg") < Seen.indexOf(Root + "sub/deep/z.png"));

  int Calls = 0;
  FindFilesCallback(Root, "*.png;*.jpg", true, [&Calls](const QString&, const QString&) { return ++Calls < 3; });
  EXPECT_EQ(Calls, 3);

  Calls = 0;
  FindFilesCallback(Root, "*.png;*.jpg", true, [&Calls](const QString&, const QString&) {
    if (++Calls == 2) AbortFindFiles();
    return true;
  });
  EXPECT_EQ(Calls, 2);

  // A new search starts with the stop flag cleared.
  EXPECT_EQ(FindFiles(Root, "*.png", true)->size(), 3);

  // A search started inside a callback leaves the outer one going.
  Calls = 0;
  FindFilesCallback(Root, "*.png;*.jpg", true, [&Calls, this](const QString&, const QString&) {
    EXPECT_EQ(FindFiles(Root + "sub", "*.gif", false)->size(), 1);
    ++Calls;
    return true;
  });
  EXPECT_EQ(Calls, 7);
}
