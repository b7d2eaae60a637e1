#include "ui/ColorEdit.h"

#include "UiTestSupport.h"
#include "platform/Clock.h"
#include "platform/IniFile.h"
#include "ui/ColorPopup.h"
#include "ui/CompUtils.h"
#include "ui/DlgMain.h"
#include "ui/MyUpDown.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

struct ColorEditTest : ::testing::Test {
  TFakeClock Clock{std::chrono::seconds(100)};
  TScopedClock UseClock{Clock};
  // Shown inside a window, so that sizes take effect at once.
  QWidget Host;
  TColorEdit& E = *new TColorEdit(&Host);
  std::vector<TColor> Changes;

  void SetUp() override {
    Host.resize(200, 100);
    Host.show();
    E.OnChange = [this](QObject* Sender) {
      EXPECT_EQ(Sender, &E);
      Changes.push_back(E.Color());
    };
  }
  // A click on the visible half of the drop-down arrow.
  void ClickArrow() {
    TPrevNextButton* B = E.DropDownButton();
    const QPoint P = B->UpDown()->mapFrom(B, B->rect().center());
    QTest::mouseClick(B->UpDown(), Qt::LeftButton, {}, P);
  }
  void ClickSwatch() { QTest::mouseClick(E.ColorPicker(), Qt::LeftButton, {}, QPoint(5, 5)); }
  // A press outside the open palette, as its mouse grab delivers it.
  void PressOutside() {
    TColorPopup* Popup = E.ColorPicker()->Popup();
    QMouseEvent Press(QEvent::MouseButtonPress, QPointF(-20, -20), Popup->mapToGlobal(QPointF(-20, -20)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Popup, &Press);
  }
};

TEST_F(ColorEditTest, LayoutAndDefaults) {
  EXPECT_EQ(E.width(), 80);
  EXPECT_EQ(E.height(), ControlEditHeight(&E));
  EXPECT_EQ(E.focusPolicy(), Qt::StrongFocus);
  EXPECT_EQ(E.Color(), clBlack);
  E.resize(100, 30);
  const TRect C = E.ClientRect();
  int W = (C.Height() * 3 + 2) / 4 + 2; // MulDiv rounds halves up
  if (W % 2 == 0) ++W;
  EXPECT_EQ(E.DropDownButton()->geometry(), QRect(C.Right - W, C.Top, W, C.Height()));
  EXPECT_EQ(E.ColorPicker()->geometry(), QRect(C.Left, C.Top, C.Width() - W, C.Height()));
  E.resize(100, 3); // never lower than an edit box
  EXPECT_EQ(E.height(), ControlEditHeight(&E));
}

TEST_F(ColorEditTest, ColorChangesAndRefusals) {
  E.SetColor(RGB(0xFF, 0x66, 0x00));
  E.SetColor(RGB(0xFF, 0x66, 0x00)); // equal: nothing
  EXPECT_EQ(Changes, (std::vector<TColor>{RGB(0xFF, 0x66, 0x00)}));
  EXPECT_EQ(E.ColorPicker()->toolTip(), "#FF6600");

  // The changing handler sees the colour edit, may alter the colour or refuse it.
  E.OnChanging = [this](QObject* Sender, TColor& C) {
    EXPECT_EQ(Sender, &E);
    if (C == clWhite) C = clNone;
    if (C == clRed) C = clBlue;
  };
  E.SetColor(clWhite);
  EXPECT_EQ(E.Color(), RGB(0xFF, 0x66, 0x00));
  E.SetColor(clRed);
  EXPECT_EQ(E.Color(), clBlue);
  EXPECT_EQ(Changes.size(), 2u);
}

TEST_F(ColorEditTest, ArrowDropsThePaletteAndTheClosingClickDoesNotReopenIt) {
  E.SetColor(RGB(0xFF, 0x66, 0x00));
  ClickArrow();
  ASSERT_TRUE(E.ColorPicker()->DroppedDown());
  EXPECT_EQ(E.ColorPicker()->Popup()->SelectedIndex(), 9); // Orange
  // The click on the arrow reaches the palette first, which closes; the
  // arrow then ignores it.
  Clock.AdvanceMs(1000);
  PressOutside();
  EXPECT_FALSE(E.ColorPicker()->DroppedDown());
  ClickArrow();
  EXPECT_FALSE(E.ColorPicker()->DroppedDown());
  Clock.AdvanceMs(299);
  ClickArrow();
  EXPECT_FALSE(E.ColorPicker()->DroppedDown());
  Clock.AdvanceMs(1);
  ClickArrow();
  EXPECT_TRUE(E.ColorPicker()->DroppedDown());
  E.ColorPicker()->SetDroppedDown(false);
  EXPECT_TRUE(Changes.size() == 1);
}

TEST_F(ColorEditTest, KeysAndSwatchDropThePalette) {
  for (Qt::Key K : {Qt::Key_Down, Qt::Key_Right}) {
    Clock.AdvanceMs(1000);
    QTest::keyClick(&E, K);
    EXPECT_TRUE(E.ColorPicker()->DroppedDown()) << K;
    E.ColorPicker()->SetDroppedDown(false);
  }
  Clock.AdvanceMs(1000);
  ClickSwatch(); // without a colour dialog
  EXPECT_TRUE(E.ColorPicker()->DroppedDown());
  E.ColorPicker()->SetDroppedDown(false);
}

TEST_F(ColorEditTest, SwatchOpensTheColourDialogWhenThereIsOne) {
  QColorDialog Dialog;
  Dialog.setOption(QColorDialog::DontUseNativeDialog);
  E.SetColorDialog(&Dialog);
  E.SetColor(RGB(1, 2, 3));
  QColor Offered;
  QTimer::singleShot(0, &Dialog, [&] {
    Offered = Dialog.currentColor();
    Dialog.setCurrentColor(QColor(0x40, 0x50, 0x60));
    Dialog.accept();
  });
  ClickSwatch();
  EXPECT_EQ(Offered, QColor(1, 2, 3));
  EXPECT_EQ(E.Color(), RGB(0x40, 0x50, 0x60));
  EXPECT_FALSE(E.ColorPicker()->DroppedDown());
  // Cancelled: nothing changes.
  QTimer::singleShot(0, &Dialog, [&] {
    Dialog.setCurrentColor(QColor(9, 9, 9));
    Dialog.reject();
  });
  ClickSwatch();
  EXPECT_EQ(E.Color(), RGB(0x40, 0x50, 0x60));
}

TEST_F(ColorEditTest, ReadOnlyOnlyTakesTheFocus) {
  E.SetReadOnly(true);
  EXPECT_FALSE(E.DropDownButton()->isEnabled());
  Clock.AdvanceMs(1000);
  ClickSwatch();
  QTest::keyClick(&E, Qt::Key_Down);
  EXPECT_FALSE(E.ColorPicker()->DroppedDown());
  E.SetReadOnly(false);
  EXPECT_TRUE(E.DropDownButton()->isEnabled());
  E.setEnabled(false);
  EXPECT_FALSE(E.DropDownButton()->isEnabled());
  EXPECT_FALSE(E.ColorPicker()->isEnabled());
}

TEST_F(ColorEditTest, RefusedDrop) {
  int Dropped = 0;
  E.ColorPicker()->OnDropChanging = [](QObject*, bool& Allowed) { Allowed = false; };
  E.ColorPicker()->OnDropChanged = [&](QObject*) { ++Dropped; };
  Clock.AdvanceMs(1000);
  ClickArrow();
  EXPECT_FALSE(E.ColorPicker()->DroppedDown());
  EXPECT_EQ(Dropped, 0);
}

TEST(ColorEditTexts, ProgramWideTextsWinOverTheEditsOwn) {
  TColorEdit Own;
  Own.SetCustomText("Mine");
  EXPECT_EQ(Own.CustomText(), "Mine");
  SetColorEditCustomText("Autre couleur");
  SetColorEditDefaultText("Automatique");
  TColorEdit E;
  EXPECT_EQ(E.CustomText(), "Autre couleur");
  EXPECT_EQ(E.DefaultText(), "Automatique");
  E.SetCustomText("Autres couleurs...");
  E.SetDefaultText("Other");
  EXPECT_EQ(E.CustomText(), "Autre couleur");
  EXPECT_EQ(E.DefaultText(), "Automatique");
  SetColorEditCustomText({});
  SetColorEditDefaultText({});
}

TEST(ColorPicker, PaintsTheSwatchAndTheDisabledChecker) {
  TColorPicker P;
  P.resize(20, 12);
  P.SetTransparent(false);
  P.SetColor(RGB(1, 2, 3));
  P.SetMargin(-3);
  EXPECT_EQ(P.Margin(), 0);
  P.SetMargin(2);
  P.SetSelectionColor(RGB(200, 0, 0));
  QImage Shot = GrabWidget(P);
  EXPECT_EQ(PixelAt(Shot, 0, 0), RGB(1, 2, 3));            // the margin in Color
  EXPECT_EQ(PixelAt(Shot, 2, 2), ColorToRGB(clBtnShadow)); // the flat outline
  EXPECT_EQ(PixelAt(Shot, 10, 6), RGB(200, 0, 0));         // the swatch
  P.setEnabled(false);
  Shot = GrabWidget(P);
  EXPECT_EQ(PixelAt(Shot, 4, 4), ColorToRGB(clBtnShadow));
  EXPECT_EQ(PixelAt(Shot, 5, 4), RGB(1, 2, 3));
  EXPECT_EQ(PixelAt(Shot, 5, 5), ColorToRGB(clBtnShadow));
}

TEST(ColorPicker, DefaultSelectAndClickDropDown) {
  TColorPicker P;
  int Defaults = 0;
  P.OnDefaultSelect = [&](QObject*) { ++Defaults; };
  SetColorPickerDefaultColor(clNone);
  P.SetSelectionColor(RGB(5, 5, 5));
  P.DoDefaultSelect();
  EXPECT_EQ(P.SelectionColor(), RGB(5, 5, 5));
  SetColorPickerDefaultColor(RGB(7, 8, 9));
  P.DoDefaultSelect();
  EXPECT_EQ(P.SelectionColor(), RGB(7, 8, 9));
  EXPECT_EQ(Defaults, 2);
  SetColorPickerDefaultColor(clNone);

  P.resize(30, 20);
  QTest::mouseClick(&P, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_FALSE(P.DroppedDown());
  P.SetClickDropDown(true);
  QTest::mousePress(&P, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_TRUE(P.DroppedDown());
  P.SetDroppedDown(false);
}

TEST(ColorPicker, CaptionAcceleratorClicksIt) {
  QWidget Host;
  auto* P = new TColorPicker(&Host);
  int Clicks = 0;
  P->OnClick = [&](QObject*) { ++Clicks; };
  P->SetCaption("&Grid");
  Host.show();
  Host.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&Host));
  QTest::keyClick(&Host, Qt::Key_G, Qt::AltModifier);
  EXPECT_EQ(Clicks, 1);
  P->setEnabled(false);
  QTest::keyClick(&Host, Qt::Key_G, Qt::AltModifier);
  EXPECT_EQ(Clicks, 1);
  P->setEnabled(true);
  P->SetCaption("Grid"); // no accelerator any more
  QTest::keyClick(&Host, Qt::Key_G, Qt::AltModifier);
  EXPECT_EQ(Clicks, 1);
}

// A dialog with a colour edit, saved with Ok and read back.
class TColorDialogForm : public TMainDialogForm {
public:
  TColorDialogForm() {
    setObjectName("HorizonForm");
    Edit = new TColorEdit(this);
    Edit->setObjectName("ColorEdit");
    Edit->SetColor(clRed);
    Edit->OnChange = [this](QObject*) { ++Changes; };
  }
  TColorEdit* Edit;
  int Changes = 0;
};

TEST(ColorEditSettings, RoundTripInTheWebForm) {
  QTemporaryDir Dir;
  ASSERT_TRUE(Dir.isValid());
  SetDialogsIniFile(Dir.filePath("Lumaretique.ini"));
  DialogParams = true;
  {
    TColorDialogForm D;
    D.show();
    D.Edit->SetColor(RGB(0x12, 0x34, 0x56));
    D.CloseOk();
  }
  EXPECT_EQ(TIniFile(DialogsIniFile).ReadString("HorizonForm", "ColorEdit", ""), "#123456");
  struct Case {
    const char* Stored;
    TColor Expected;
  };
  for (const Case& C : {Case{"#123456", RGB(0x12, 0x34, 0x56)}, Case{"$123456", RGB(0x12, 0x34, 0x56)},
                        Case{"clLime", clLime}, Case{"nonsense", clBlack}}) {
    {
      TIniFile Ini(DialogsIniFile);
      Ini.WriteString("HorizonForm", "ColorEdit", C.Stored);
      Ini.UpdateFile();
    }
    TColorDialogForm D;
    D.show();
    EXPECT_EQ(D.Edit->Color(), C.Expected) << C.Stored;
    EXPECT_EQ(D.Changes, 0); // restored without its change event
    D.hide();
  }
  DialogParams = false;
  DialogsIniFile.clear();
}

} // namespace
