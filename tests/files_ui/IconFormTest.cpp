#include "files/ui/Icon.h"

#include "document/MyImageLayered.h"
#include "files/IconImage.h"
#include "files/ui/BmpOE2.h"
#include "platform/Colors.h"
#include "support/Pixels.h"
#include "support/WaitFor.h"
#include "ui/MsgDlg.h"
#include "ui/MyImage.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

class TFakeIconHost : public TIconExportHost {
public:
  TFakeIconHost() {
    // 100 x 50: red with a blue band down the middle.
    TBitmap Bkg(100, 50, pf24bit, clRed);
    for (int Y = 0; Y < 50; ++Y)
      for (int X = 40; X < 60; ++X) SetPx(Bkg, X, Y, Rgb(0, 0, 255));
    Image.AddBackground(&Bkg, nullptr, "#0");
    Image.ColorCount = 200;
  }
  TMyImageLayered* ActiveImage() override { return &Image; }
  QString ActiveFileName() const override { return "/photos/vacances.lmi"; }
  QString SaveFolder() const override { return Temp.path(); }
  QString TitreMenu(const QString& ItemName) const override {
    if (ItemName == "MenuModeRGBA") return "RVB + Alpha";
    if (ItemName == "MenuModeRGB") return "16 millions de couleurs";
    return "";
  }
  bool ModeRGBA() const override { return !Image.Layers()[0].Mask().Empty(); }
  bool Mode16M() const override { return Image.ColorCount > 256; }
  // A mask transparent on the left half of the background.
  void MaskLeftHalf() {
    TBitmap& Mask = Image.Layers()[0].Mask();
    Mask.SetPixelFormat(pf24bit);
    Mask.SetSize(100, 50);
    for (int Y = 0; Y < 50; ++Y)
      for (int X = 0; X < 100; ++X) SetPx(Mask, X, Y, Grey(X < 50 ? 255 : 0));
  }

  TMyImageLayered Image;
  QTemporaryDir Temp;
};

class IconFormTest : public ::testing::Test {
protected:
  void SetUp() override { Form = std::make_unique<TIconForm>(Host); }
  void Show() {
    Form->show();
    ASSERT_TRUE(WaitUntil([this] { return Form->isVisible(); }));
  }
  static void Click(QAbstractButton* B) { QTest::mouseClick(B, Qt::LeftButton, {}, QPoint(4, 4)); }
  // Clicks the size list's entry Row as a user would.
  void ChooseSize(int Row) {
    QListWidget* L = Form->LstSize;
    QTest::mouseClick(L->viewport(), Qt::LeftButton, {}, L->visualItemRect(L->item(Row)).center());
    ASSERT_EQ(L->currentRow(), Row);
  }
  // Exports with the save dialog answering Answer; returns what it was asked.
  TFileDialogState Export(const QString& Answer) {
    TFileDialogState Asked;
    const TFileDialogProvider Previous = SetFileDialogProvider([&](TFileDialogState& S) {
      Asked = S;
      return Answer.isEmpty() ? QStringList{} : QStringList{Answer};
    });
    Click(Form->BSauver);
    SetFileDialogProvider(Previous);
    return Asked;
  }
  QString Target(const char* Name) const { return QDir(Host.Temp.path()).filePath(QString::fromLatin1(Name)); }
  QStringList FolderEntries() const {
    return QDir(Host.Temp.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
  }

  TFakeIconHost Host;
  std::unique_ptr<TIconForm> Form;
  QStringList Messages;
  TScopedMsgDlgAnswers Answers{[this](const TMsgDlgRequest& R) {
    Messages << R.Msg;
    return TMsgDlgAnswer{mrOk, {}};
  }};
};

TEST_F(IconFormTest, OpensAt32AndThe256SizeForcesTheAlphaOption) {
  Show();
  EXPECT_EQ(Form->LstSize->currentRow(), 1);
  EXPECT_EQ(Form->IconSize(), 32);
  EXPECT_TRUE(Form->cb16M->isEnabled());
  EXPECT_FALSE(Form->cb16M->isChecked());
  EXPECT_EQ(Form->cb16M->text(), "16 millions de couleurs");
  EXPECT_EQ(Form->PreviewImage->Bitmap().Width(), 32);
  EXPECT_EQ(Form->PreviewImage->Bitmap().Height(), 16);

  ChooseSize(6);
  EXPECT_EQ(Form->cb16M->text(), "RVB + Alpha");
  EXPECT_FALSE(Form->cb16M->isEnabled());
  EXPECT_TRUE(Form->cb16M->isChecked());
  EXPECT_EQ(Form->IconColorDepth(), ifTrueColorsAlpha);
  EXPECT_EQ(Form->PreviewImage->Bitmap().Width(), 256);
  EXPECT_EQ(Form->PreviewImage->Bitmap().Height(), 128);

  ChooseSize(0);
  EXPECT_TRUE(Form->cb16M->isEnabled());
  EXPECT_EQ(Form->cb16M->text(), "16 millions de couleurs");

  Form->close();
  ASSERT_TRUE(WaitUntil([this] { return !Form->isVisible(); }));
  EXPECT_TRUE(Form->PreviewImage->Bitmap().Empty()) << "hiding empties the preview";
  Host.Image.ColorCount = 16777216;
  Show();
  EXPECT_EQ(Form->LstSize->currentRow(), 1) << "every showing starts at 32 x 32";
  EXPECT_FALSE(Form->cb16M->isEnabled()) << "a true-colour image";
  EXPECT_TRUE(Form->cb16M->isChecked());
  EXPECT_EQ(Form->cb16M->text(), "16 millions de couleurs");
  EXPECT_EQ(Form->IconColorDepth(), ifTrueColors);
  Form->close();
}

TEST_F(IconFormTest, ThePreviewShowsTransparentAreasOnTheDialogFace) {
  Host.MaskLeftHalf();
  Show();
  EXPECT_EQ(Form->cb16M->text(), "RVB + Alpha");
  EXPECT_FALSE(Form->cb16M->isEnabled());
  const TBitmap& P = Form->PreviewImage->Bitmap();
  ASSERT_EQ(P.Width(), 32);
  const TColor Face = ColorToRGB(clBtnFace);
  EXPECT_EQ(Px(P, 4, 8), Rgb(GetRValue(Face), GetGValue(Face), GetBValue(Face)));
  EXPECT_EQ(Px(P, 28, 8), Rgb(255, 0, 0));
  EXPECT_EQ(Host.Image.BackColor, clWhite) << "the image's own colour comes back";
  Form->close();
}

// The written icon read back: its side, the bit count stored in its header,
// and a 2:1 picture centred with the rows above and below it transparent.
TEST_F(IconFormTest, ExportWritesTheChosenSizeAndDepth) {
  struct Case {
    const char* Name;
    int Row;
    bool Tick;
    int ColorCount;
    bool Mask;
    int Side;
    int Bits;
  };
  const Case Cases[] = {
      {"a16.ico", 0, false, 16, false, 16, 4},     {"b32.ico", 1, false, 200, false, 32, 8},
      {"c48.ico", 2, true, 200, false, 48, 24},    {"d256.ico", 6, false, 200, false, 256, 32},
      {"e64.ico", 3, false, 200, true, 64, 32},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    Host.Image.ColorCount = C.ColorCount;
    if (C.Mask) Host.MaskLeftHalf();
    Show();
    ChooseSize(C.Row);
    if (C.Tick) Click(Form->cb16M);
    Export(Target(C.Name));
    ASSERT_TRUE(WaitUntil([this] { return !Form->isVisible(); }));
    EXPECT_TRUE(Messages.isEmpty()) << Messages.join('\n').toStdString();

    QFile File(Target(C.Name));
    ASSERT_TRUE(File.open(QIODevice::ReadOnly));
    const QByteArray B = File.readAll();
    ASSERT_GT(B.size(), 40);
    EXPECT_EQ(uint8_t(B[6]), C.Side % 256) << "directory width";
    EXPECT_EQ(uint8_t(B[36]), C.Bits);

    TIconImage Icon;
    Icon.LoadFromFile(Target(C.Name));
    ASSERT_EQ(Icon.Width(), C.Side);
    ASSERT_EQ(Icon.Height(), C.Side);
    const int Top = C.Side / 4; // 2:1 picture: a quarter of the side above it
    const auto Transparent = [&Icon](int X, int Y) {
      if (Icon.PixelFormat() == pf32bit) return Icon.ScanLine(Y)[X * 4 + 3] == 0;
      const TRGB P = Px(Icon, X, Y);
      return Icon.Transparent && ColorToRGB(Icon.TransparentColor()) == RGB(P.Red, P.Green, P.Blue);
    };
    const int Right = C.Side * 3 / 4; // in the right, opaque half
    EXPECT_TRUE(Transparent(Right, Top - 1));
    EXPECT_FALSE(Transparent(Right, Top));
    EXPECT_FALSE(Transparent(Right, C.Side - Top - 1));
    EXPECT_TRUE(Transparent(Right, C.Side - Top));
    EXPECT_EQ(Transparent(C.Side / 8, C.Side / 2), C.Mask) << "the mask's transparent left half";
    Host.Image.Layers()[0].Mask().SetSize(0, 0);
  }
}

TEST_F(IconFormTest, ExportProposesTheImageNameAndCancelWritesNothing) {
  Show();
  const TFileDialogState Asked = Export(QString());
  EXPECT_EQ(Asked.FileName, "vacances.ico");
  EXPECT_EQ(Asked.DefaultSuffix, "ico");
  EXPECT_EQ(QDir(Asked.Directory), QDir(Host.Temp.path()));
  EXPECT_EQ(Asked.Title, Form->windowTitle());
  EXPECT_TRUE(Form->isVisible()) << "a cancelled save dialog keeps the form";

  Click(Form->BAnnuler);
  ASSERT_TRUE(WaitUntil([this] { return !Form->isVisible(); }));
  EXPECT_FALSE(Form->DialogOk);
  EXPECT_TRUE(FolderEntries().isEmpty());
  EXPECT_TRUE(Messages.isEmpty());
}

TEST_F(IconFormTest, AFailedWriteSaysWhyAndLeavesNoFile) {
  ASSERT_TRUE(QDir(Host.Temp.path()).mkdir("taken.ico"));
  const QString Blocked = Target("taken.ico");
  Show();
  Export(Blocked);
  ASSERT_EQ(Messages.size(), 1);
  EXPECT_TRUE(Messages[0].startsWith("Impossible d'enregistrer l'image dans le fichier \"" + Blocked + "\" !\n"))
      << Messages[0].toStdString();
  EXPECT_TRUE(Messages[0].contains("folder")) << Messages[0].toStdString();
  EXPECT_EQ(FolderEntries(), QStringList{"taken.ico"}) << "no temporary file is left";

  Messages.clear();
  const QString Missing = Target("nowhere/icon.ico");
  Show();
  Export(Missing);
  ASSERT_EQ(Messages.size(), 1);
  EXPECT_TRUE(Messages[0].contains("No such file or directory")) << Messages[0].toStdString();
  EXPECT_FALSE(QFile::exists(Missing));
}

} // namespace
