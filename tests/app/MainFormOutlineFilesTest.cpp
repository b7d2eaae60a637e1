// File > Open of the outline files: a selection file and a path file open
// as pictures of their outline, black on white, at the outline's size.
#include "app/ui/MainForm.h"
#include "app/ui/MainStatusBar.h"
#include "document/ShapeManager.h"
#include "document/ui/ImgForm.h"
#include "files/ui/BmpOE2.h"
#include "platform/IniFile.h"
#include "raster/DataFileError.h"
#include "support/PathVertices.h"
#include "tools/PathControl.h"
#include "ui/MsgDlg.h"

#include <QAction>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class MainFormOutlineFilesTest : public ::testing::Test {
protected:
  void SetUp() override {
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    State.ProgramDir = Dir.path() + "/";
    State.MainIniFile = Dir.path() + "/Lumaretique.ini";
    PreviousHandler = SetFileErrorHandler([](const QString& M) { ShowMsgDlg(M, mdkError, {mdbOk}); });
  }
  void TearDown() override {
    SetFileErrorHandler(PreviousHandler);
    SetFileDialogProvider(nullptr);
    QLocale::setDefault(PreviousLocale);
  }
  QString Path(const QString& Name) const { return Dir.path() + "/" + Name; }

  // File > Open answered with Name through the open dialog.
  void OpenThroughTheMenu(TMainForm& Form, const QString& Name) {
    SetFileDialogProvider([&](TFileDialogState&) { return QStringList{Name}; });
    Form.MenuItem("MenuFichierOuvrir")->trigger();
  }

  QLocale PreviousLocale;
  QTemporaryDir Dir;
  TStartupState State;
  TFileErrorHandler PreviousHandler;
};

} // namespace

TEST_F(MainFormOutlineFilesTest, SelectionAndPathFilesOpenAsTheirOutlines) {
  QStringList Shown;
  TScopedMsgDlgAnswers Answers([&](const TMsgDlgRequest& R) {
    Shown << R.Msg;
    return TMsgDlgAnswer{mrOk, {}};
  });
  TShapeManager Selection;
  ASSERT_TRUE(Selection.SaveToFile(Path("zone.lms"), ssEllipse, {0, 0, 120, 80}));
  TPathControl Outline;
  Outline.ReplacePath(LinePath({{0, 0}, {300, 0}, {0, 200}}), false, true);
  ASSERT_TRUE(Outline.SaveToFile(Path("trace.lmv")));

  TMainForm Form(State);
  Form.resize(1000, 750);
  Form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&Form));

  OpenThroughTheMenu(Form, Path("zone.lms"));
  ASSERT_TRUE(Form.UneImage());
  EXPECT_EQ(Form.EnfantActif()->windowTitle(), "zone.lms");
  TBitmap& Ellipse = Form.LeFond();
  ASSERT_EQ(Ellipse.Width(), 120);
  ASSERT_EQ(Ellipse.Height(), 80);
  EXPECT_EQ(Ellipse.PixelColor(60, 40), clBlack);
  EXPECT_EQ(Ellipse.PixelColor(0, 0), clWhite);
  EXPECT_TRUE(Form.StatusBar()->PanelText(1).startsWith("120x80")) << Form.StatusBar()->PanelText(1).toStdString();

  OpenThroughTheMenu(Form, Path("trace.lmv"));
  ASSERT_EQ(ImageWindows().size(), 2u);
  EXPECT_EQ(Form.EnfantActif()->windowTitle(), "trace.lmv");
  TBitmap& Path = Form.LeFond();
  ASSERT_EQ(Path.Width(), 301);
  ASSERT_EQ(Path.Height(), 201);
  EXPECT_EQ(Path.PixelColor(150, 0), clBlack); // the top side
  EXPECT_EQ(Path.PixelColor(0, 100), clBlack); // the closing side
  EXPECT_EQ(Path.PixelColor(60, 60), clWhite);
  EXPECT_EQ(Form.StatusBar()->PanelText(1), "301x201x16M");
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join('|').toStdString();

  // A path file that is not one is reported with its name and opens nothing.
  QFile Bad(this->Path("faux.lmv"));
  ASSERT_TRUE(Bad.open(QIODevice::WriteOnly));
  Bad.write("Lumaretique Pict and more");
  Bad.close();
  OpenThroughTheMenu(Form, this->Path("faux.lmv"));
  EXPECT_EQ(ImageWindows().size(), 2u);
  ASSERT_EQ(Shown.size(), 1);
  EXPECT_TRUE(Shown[0].contains("faux.lmv")) << Shown[0].toStdString();
}
