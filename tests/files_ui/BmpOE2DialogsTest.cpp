#include "files/ui/BmpOE2.h"

#include "files/BmpOE2.h"
#include "platform/Bitmap.h"
#include "support/WaitFor.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Each test answers through a provider of its own, or shows the real dialog;
// the record's titles and preview switch start as a fresh process has them.
class BmpOE2Dialogs : public ::testing::Test {
protected:
  void SetUp() override {
    OptionsOE = TOptionsOE();
    Old = SetFileDialogProvider([this](TFileDialogState& S) {
      States.push_back(S);
      if (AlsoPreview) S.Preview = *AlsoPreview;
      return Answer;
    });
  }
  void TearDown() override {
    SetFileDialogProvider(Old);
    SetImageFileDialogs(nullptr, nullptr);
    OptionsOE = TOptionsOE();
  }
  const TFileDialogState& Last() const { return States.back(); }

  QTemporaryDir Dir;
  QStringList Answer;
  std::optional<bool> AlsoPreview;
  std::vector<TFileDialogState> States;
  TFileDialogProvider Old;
};

TEST_F(BmpOE2Dialogs, SaveDialogPreselectsTheTypeOfTheSuggestedName) {
  struct TCase {
    const char* Name;
    const char* Filter;
    const char* Suffix;
  };
  OptionsOE.SaveTitle = QStringLiteral("Enregistrer sous");
  for (const TCase& C :
       {TCase{"photo.png", "PNG (*.png)", "png"}, TCase{"shot.JPEG", "JPEG (*.jpg *.jpeg *.jpe)", "jpg"},
        TCase{"scan.gif", "GIF (*.gif)", "gif"},
        // No type holds .tga: the first one, with its extension.
        TCase{"texture.tga", "Lumaretique Image (*.lmi)", "lmi"}}) {
    SCOPED_TRACE(C.Name);
    Answer = {Dir.filePath("chosen.png")};
    EXPECT_EQ(SaveImageDialog(Dir.filePath(QString::fromLatin1(C.Name))), Answer[0]);
    const TFileDialogState& S = Last();
    EXPECT_TRUE(S.Save);
    EXPECT_EQ(S.Title, OptionsOE.SaveTitle);
    EXPECT_EQ(S.Filters, (QStringList{"Lumaretique Image (*.lmi)", "Bitmap (*.bmp)", "JPEG (*.jpg *.jpeg *.jpe)",
                                      "PNG (*.png)", "GIF (*.gif)"}));
    EXPECT_EQ(S.SelectedFilter, QString::fromLatin1(C.Filter));
    EXPECT_EQ(S.DefaultSuffix, QString::fromLatin1(C.Suffix));
    EXPECT_EQ(QDir(S.Directory), QDir(Dir.path()));
    EXPECT_EQ(S.FileName, QString::fromLatin1(C.Name));
    EXPECT_TRUE(S.ConfirmOverwrite);
    EXPECT_FALSE(S.Native || S.MultiSelect || S.CaseSensitiveFilters);
  }
  Answer.clear();
  EXPECT_EQ(SaveImageDialog(QString()), QString()) << "cancelled";
  EXPECT_EQ(Last().SelectedFilter, QStringLiteral("Lumaretique Image (*.lmi)"));
  EXPECT_TRUE(Last().FileName.isEmpty());
}

TEST_F(BmpOE2Dialogs, OpenDialogsListEveryImageTypeAndKeepThePreviewSwitch) {
  OptionsOE.OpenTitle = QStringLiteral("Ouvrir");
  const QString A = Dir.filePath("a.png"), B = Dir.filePath("b.jpg");
  Answer = {A};
  AlsoPreview = false;
  EXPECT_EQ(OpenImageDialog(Dir.path()), A);
  const TFileDialogState& S = Last();
  EXPECT_FALSE(S.Save || S.MultiSelect || S.Native);
  EXPECT_TRUE(S.FileMustExist);
  EXPECT_TRUE(S.Preview) << "the switch is handed in";
  EXPECT_FALSE(OptionsOE.ShowPreview) << "and taken back";
  EXPECT_EQ(S.Title, QStringLiteral("Ouvrir"));
  EXPECT_EQ(QDir(S.Directory), QDir(Dir.path()));
  ASSERT_FALSE(S.Filters.isEmpty());
  EXPECT_EQ(S.Filters[0], QStringLiteral("Toutes les images (*.lmi *.wmf *.emf *.bmp *.rle *.jpg *.jpeg *.jpe *.png *.gif)"));
  EXPECT_EQ(S.SelectedFilter, S.Filters[0]);
  EXPECT_TRUE(S.Filters.contains(QStringLiteral("Icône (*.ico)")));

  AlsoPreview.reset();
  const std::optional<QStringList> One = OpenImagesDialog(QString());
  EXPECT_TRUE(Last().MultiSelect);
  EXPECT_FALSE(Last().Preview);
  ASSERT_TRUE(One.has_value());
  EXPECT_EQ(*One, QStringList{A});
  Answer = {A, B};
  EXPECT_EQ(OpenImagesDialog(QString()).value_or(QStringList()), (QStringList{A, B}));
  Answer.clear();
  EXPECT_FALSE(OpenImagesDialog(QString()).has_value());
  EXPECT_EQ(OpenImageDialog(QString()), QString());
}

TEST_F(BmpOE2Dialogs, SingleExtensionDialogsOfferOneType) {
  struct TCase {
    bool Save;
    const char* FileName;
    const char* TypeName;
    const char* Filter;
    const char* NameField;
    const char* Suffix;
  };
  for (const TCase& C : {TCase{false, ".lmc", "Courbes", "Courbes (*.lmc)", "", "lmc"},
                         TCase{false, ".lmc", "", "LMC (*.lmc)", "", "lmc"},
                         TCase{true, "/elsewhere/vacances.jpeg", "", "JPE (*.jpe)", "vacances.jpeg", "jpe"},
                         TCase{true, "export.ICO", "Icône", "Icône (*.ico)", "export.ICO", "ico"}}) {
    SCOPED_TRACE(C.FileName);
    Answer = {Dir.filePath("x")};
    const QString Name = QString::fromUtf8(C.FileName), Type = QString::fromUtf8(C.TypeName);
    const QString Got = C.Save ? SaveFileDialogExt(Name, Type, Dir.path(), QStringLiteral("Titre"))
                               : OpenFileDialogExt(Name, Type, Dir.path(), QStringLiteral("Titre"));
    EXPECT_EQ(Got, Answer[0]);
    const TFileDialogState& S = Last();
    EXPECT_EQ(S.Save, C.Save);
    EXPECT_EQ(S.Title, QStringLiteral("Titre"));
    EXPECT_EQ(S.Filters, QStringList{QString::fromUtf8(C.Filter)});
    EXPECT_EQ(S.SelectedFilter, QString::fromUtf8(C.Filter));
    EXPECT_EQ(S.FileName, QString::fromUtf8(C.NameField));
    EXPECT_EQ(S.DefaultSuffix, QString::fromLatin1(C.Suffix));
    EXPECT_EQ(QDir(S.Directory), QDir(Dir.path()));
  }

  Answer = {"/usr/bin/true"};
  EXPECT_EQ(OpenProgramDialog(QStringLiteral("Programme"), QStringLiteral("Programmes")), Answer[0]);
  EXPECT_EQ(Last().Filters, QStringList{"Programmes (*)"});
  EXPECT_EQ(Last().Directory, QStringLiteral("/"));
  EXPECT_TRUE(Last().FileMustExist);
}

TEST_F(BmpOE2Dialogs, LoadsAndSavesWithoutANameAskTheInstalledDialogs) {
  InstallImageFileDialogs();
  const QString Name = Dir.filePath("asked.bmp");
  Answer = {Name};
  TBitmap Bitmap(5, 4, pf24bit, clRed);
  QString FileName;
  ASSERT_TRUE(SaveImageFile(FileName, Bitmap, nullptr, QStringLiteral("suggested.bmp")));
  EXPECT_EQ(FileName, Name);
  EXPECT_EQ(Last().FileName, QStringLiteral("suggested.bmp"));
  EXPECT_EQ(Last().SelectedFilter, QStringLiteral("Bitmap (*.bmp)"));
  TBitmap Loaded;
  QString OpenName;
  EXPECT_EQ(LoadImageFile(OpenName, Loaded, Dir.path()), iorDone);
  EXPECT_EQ(OpenName, Name);
  EXPECT_EQ(Loaded.Width(), 5);
  EXPECT_FALSE(Last().Save);
}

// The real dialog: the masks match an extension in capitals, and choosing a
// file answers its full name.
TEST_F(BmpOE2Dialogs, RealDialogMatchesMasksInAnyCase) {
  SetFileDialogProvider(nullptr);
  for (const char* Name : {"PHOTO.JPG", "small.png", "notes.txt"}) {
    QFile F(Dir.filePath(QString::fromLatin1(Name)));
    ASSERT_TRUE(F.open(QIODevice::WriteOnly));
  }
  QStringList Listed;
  QTimer::singleShot(0, [&] {
    auto* Dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(Dialog, nullptr);
    auto* View = Dialog->findChild<QAbstractItemView*>(QStringLiteral("listView"));
    ASSERT_NE(View, nullptr);
    // The folder is read in the background: wait for its files.
    WaitUntil([&] {
      Listed.clear();
      const QModelIndex Root = View->rootIndex();
      for (int R = 0; R < View->model()->rowCount(Root); ++R)
        Listed << View->model()->index(R, 0, Root).data().toString();
      return Listed.size() >= 2;
    });
    Dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("PHOTO.JPG"));
    QMetaObject::invokeMethod(Dialog, "accept");
  });
  EXPECT_EQ(OpenImageDialog(Dir.path()), Dir.filePath("PHOTO.JPG"));
  Listed.sort();
  EXPECT_EQ(Listed, (QStringList{"PHOTO.JPG", "small.png"}));
}

} // namespace
