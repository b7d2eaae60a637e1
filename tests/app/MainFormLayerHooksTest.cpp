// The layer hooks the main window installs for every image: text layers
// filled with a pattern find their file through the program-folder macro
// and read it as the fill patterns are read.
#include "app/ui/MainForm.h"

#include "document/TxtData.h"
#include "platform/Bitmap.h"
#include "support/Pixels.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(MainFormLayerHooks, TextPatternsAreFoundThroughTheProgramFolderMacroAndRead) {
  QTemporaryDir Dir;
  TStartupState State;
  State.ProgramDir = Dir.path() + "/";
  State.MainIniFile = Dir.path() + "/Lumaretique.ini";
  ASSERT_TRUE(QDir(Dir.path()).mkpath("Patterns"));
  QImage Red(3, 2, QImage::Format_RGB32);
  Red.fill(QColor(200, 10, 20));
  ASSERT_TRUE(Red.save(Dir.path() + "/Patterns/red.png"));
  {
    TMainForm Form(State);
    ASSERT_TRUE(OnExpandFolderMacro && OnLoadTextPattern);
    const QString FileName = OnExpandFolderMacro(QStringLiteral("%LMSDIR%/Patterns/red.png"));
    EXPECT_EQ(FileName, Dir.path() + "/Patterns/red.png");

    TBitmap Pattern, Mask;
    ASSERT_TRUE(OnLoadTextPattern(FileName, Pattern, Mask));
    ASSERT_EQ(Pattern.Width(), 3);
    ASSERT_EQ(Pattern.Height(), 2);
    EXPECT_EQ(Px(Pattern, 2, 1), Rgb(200, 10, 20));
    EXPECT_TRUE(Mask.Empty()) << "an opaque picture has no mask";

    // A missing file leaves the text in its colour, without a message.
    EXPECT_FALSE(OnLoadTextPattern(Dir.path() + "/Patterns/none.png", Pattern, Mask));
  }
  EXPECT_FALSE(OnLoadTextPattern) << "the hooks go with the frame";
}
