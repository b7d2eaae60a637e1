// The main window with real image windows, shared by the tests that open,
// switch, save and close images: a temporary program folder whose settings
// save with default options, French messages answered from a queue, and
// small pictures that every format keeps.
#pragma once

#include "app/ui/MainForm.h"
#include "document/TxtData.h"
#include "files/BmpOE2.h"
#include "files/ui/BmpOE2.h"
#include "platform/IniFile.h"
#include "raster/DataFileError.h"
#include "support/MsgAnswers.h"
#include "ui/MsgDlg.h"

#include <QAction>
#include <QImage>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <deque>

using PBitmap = std::unique_ptr<TBitmap>;

inline PBitmap FromQImage(const QImage& Source) {
  const QImage Image = Source.convertToFormat(QImage::Format_RGB32);
  auto B = std::make_unique<TBitmap>(Image.width(), Image.height(), pf24bit);
  for (int Y = 0; Y < Image.height(); ++Y) {
    uint8_t* Row = B->ScanLine(Y);
    for (int X = 0; X < Image.width(); ++X) {
      const QRgb C = Image.pixel(X, Y);
      Row[3 * X] = uint8_t(qBlue(C));
      Row[3 * X + 1] = uint8_t(qGreen(C));
      Row[3 * X + 2] = uint8_t(qRed(C));
    }
  }
  return B;
}

// A smooth picture, so that a JPEG of it stays close to it.
inline QImage Photo(int W, int H) {
  QImage Image(W, H, QImage::Format_RGB32);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) Image.setPixel(X, Y, qRgb(X * 255 / W, Y * 255 / H, (X + Y) * 127 / (W + H)));
  return Image;
}

// Four colours in bands: exact in every format, GIF included.
inline PBitmap Bands(int W, int H) {
  auto B = std::make_unique<TBitmap>(W, H, pf24bit);
  const TColor Colors[] = {0x0000FF, 0x00FF00, 0xFF0000, 0x808080};
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) {
      const TColor C = Colors[(X / 7 + Y / 5) % 4];
      uint8_t* P = B->ScanLine(Y) + 3 * X;
      P[0] = uint8_t(C >> 16);
      P[1] = uint8_t(C >> 8);
      P[2] = uint8_t(C);
    }
  return B;
}

// The text of a text layer as a file stores it; nothing to render here.
class TTestTextData final : public TTextData {
public:
  void PrepareBitmaps(TLayerItem&) override {}
};

class MainFormFixture : public ::testing::Test {
protected:
  void SetUp() override {
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    State.ProgramDir = Dir.path() + "/";
    State.MainIniFile = Dir.path() + "/Lumaretique.ini";
    // Every format saves with its default options, without a dialog.
    TIniFile(State.MainIniFile).WriteString("Params", "SaveDefault", "1");
    PreviousHandler = SetFileErrorHandler([](const QString& M) { ShowMsgDlg(M, mdkError, {mdbOk}); });
  }
  void TearDown() override {
    SetFileErrorHandler(PreviousHandler);
    SetFileDialogProvider(nullptr);
    QLocale::setDefault(PreviousLocale);
  }
  QString Path(const QString& Name) const { return Dir.path() + "/" + Name; }
  QString WritePng(const QString& Name, const TBitmap& B) const {
    EXPECT_TRUE(B.QImageView().save(Path(Name), "PNG"));
    return Path(Name);
  }
  // The picture B written as Name and opened in Form through File > Open.
  void OpenThroughMenu(TMainForm& Form, const QString& Name, const TBitmap& B) {
    const QString File = WritePng(Name, B);
    SetFileDialogProvider([File](TFileDialogState&) { return QStringList{File}; });
    Form.MenuItem("MenuFichierOuvrir")->trigger();
  }
  // A menu item as a user reaches it: the menus' rules first, then the item,
  // which must be there and enabled.
  static void TriggerItem(TMainForm& Form, QAction* Item, const QString& Name) {
    Form.RefreshMenuStates();
    ASSERT_NE(Item, nullptr) << Name.toStdString();
    ASSERT_TRUE(Item->isEnabled()) << Name.toStdString();
    Item->trigger();
  }
  static PBitmap Background(TMainForm& Form) { return Copy(Form.LeFond()); }
  static PBitmap Copy(const TBitmap& B) {
    auto C = std::make_unique<TBitmap>();
    C->Assign(B);
    C->SetPixelFormat(pf24bit);
    return C;
  }
  static PBitmap Merged(TNewImgForm* W) {
    W->Image->Image().MergeLayersForPreview(false);
    return Copy(W->Image->Image().Bitmap());
  }
  std::unique_ptr<TMainForm> Start(const QStringList& Params = {}) {
    State.Params = Params;
    auto Form = std::make_unique<TMainForm>(State);
    Form->resize(1000, 750);
    Form->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
    return Form;
  }

  QLocale PreviousLocale;
  QTemporaryDir Dir;
  TStartupState State;
  TMessages Messages;
  TFileErrorHandler PreviousHandler;
};
