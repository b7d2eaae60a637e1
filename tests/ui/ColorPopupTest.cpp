#include "ui/ColorPopup.h"

#include "UiTestSupport.h"
#include "ui/ColorPicker.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(ColorPopup, CellSizeFollowsTheResolution) {
  struct Case {
    int Dpi, Box;
  };
  // 120 dpi: 24 lies nearer to 23; 192: 38 nearer to 39; 126: 25 lies
  // halfway between 23 and 27 and takes the larger; 144: 28.5 rounds to 29.
  for (const Case& C :
       {Case{96, 19}, Case{72, 19}, Case{120, 23}, Case{126, 27}, Case{144, 27}, Case{192, 39}, Case{300, 50}})
    EXPECT_EQ(PaletteBoxSize(C.Dpi), C.Box) << C.Dpi;
}

// A picker with its palette; the palette's events are sent to it directly,
// as the popup's mouse grab delivers them.
struct ColorPopupTest : ::testing::Test {
  TColorPicker Picker;
  TColorPopup& Popup = *Picker.Popup();
  int Changes = 0, Defaults = 0;

  void SetUp() override {
    Picker.OnChange = [this](QObject*) { ++Changes; };
    Picker.OnDefaultSelect = [this](QObject*) { ++Defaults; };
    SetColorPickerDefaultColor(clNone);
  }
  void TearDown() override { SetColorPickerDefaultColor(clNone); }
  void Mouse(QEvent::Type Type, int X, int Y, Qt::MouseButtons Held = Qt::LeftButton) {
    QMouseEvent E(Type, QPointF(X, Y), Popup.mapToGlobal(QPointF(X, Y)),
                  Type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, Held, Qt::NoModifier);
    QApplication::sendEvent(&Popup, &E);
  }
  void Click(int X, int Y) {
    Mouse(QEvent::MouseMove, X, Y, Qt::NoButton);
    Mouse(QEvent::MouseButtonPress, X, Y);
    Mouse(QEvent::MouseButtonRelease, X, Y, Qt::NoButton);
  }
  void Click(const TRect& R) { Click((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2); }
  void Key(Qt::Key K) { QTest::keyClick(&Popup, K); }
  // Shows the palette with both buttons.
  void WithButtons() {
    Picker.SetDefaultText("Default");
    Picker.SetCustomText("Other colours");
  }
};

TEST_F(ColorPopupTest, LayoutAtNinetySixDpi) {
  EXPECT_EQ(Popup.BoxSize(), 19);
  EXPECT_EQ(Popup.Margin(), 2);
  EXPECT_EQ(Popup.WindowRect(), Rect(0, 0, 164, 103));
  EXPECT_EQ(Popup.size(), QSize(164, 103));
  EXPECT_EQ(Popup.Radius(), 66);
  EXPECT_EQ(Popup.CombSize(), 12);
  EXPECT_EQ(Popup.CellRect(0), Rect(6, 4, 25, 23));
  EXPECT_EQ(Popup.CellRect(39), Rect(139, 80, 158, 99));
  EXPECT_EQ(Popup.ColorCombRect(), Rect(6, 103, 138, 235));
  EXPECT_EQ(Popup.SliderRect(), Rect(138, 115, 158, 223));
  // Every cell's centre hits that cell.
  for (int I = 0; I < 40; ++I) {
    const TRect R = Popup.CellRect(I);
    EXPECT_EQ(Popup.CellAt((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2), I);
  }
  EXPECT_EQ(Popup.CellAt(2, 50), NoCell);
  EXPECT_EQ(Popup.CellAt(80, 101), NoCell);

  // The buttons and the system rows make it taller.
  WithButtons();
  Picker.SetShowSystemColors(true);
  EXPECT_GT(Popup.DefaultTextRect().Height(), 0);
  EXPECT_EQ(Popup.CellRect(0).Top, Popup.DefaultTextRect().Bottom);
  EXPECT_EQ(Popup.CellRect(40).Top, Popup.DefaultTextRect().Bottom + 5 * 19 + 6);
  // 103, then the default button and its margins, then four system rows and a gap.
  EXPECT_EQ(Popup.CustomTextRect().Top, 103 + Popup.DefaultTextRect().Height() + 4 + 4 * 19 + 4);
  for (int I : {0, 39, 40, 55, 64}) {
    const TRect R = Popup.CellRect(I);
    EXPECT_EQ(Popup.CellAt((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2), I) << I;
  }
  EXPECT_EQ(Popup.CellAt(10, Popup.DefaultTextRect().Top + 2), DefaultCell);
  EXPECT_EQ(Popup.CellAt(10, Popup.CustomTextRect().Top + 2), CustomCell);
}

TEST_F(ColorPopupTest, CombsAreBuiltFromTheCornersAndTheGreys) {
  const TCombArray& Colors = Popup.ColorCombs();
  ASSERT_EQ(Colors.size(), 127u);
  EXPECT_EQ(Colors[0].Position, (TPoint{0, 0}));
  EXPECT_EQ(Colors[0].Color, clWhite);
  // The corners lie S / 2 = 57.16 from the centre (S = 2 x 66 x cos 30°),
  // magenta at the right, green at the left.
  auto CombAt = [&](int X, int Y) {
    for (const TCombEntry& C : Colors)
      if (C.Position.X == X && C.Position.Y == Y) return C.Color;
    return clNone;
  };
  EXPECT_EQ(CombAt(57, 0), RGB(255, 0, 255));
  EXPECT_EQ(CombAt(-57, 0), RGB(0, 255, 0));

  const TCombArray& Greys = Popup.BWCombs();
  ASSERT_EQ(Greys.size(), 17u);
  EXPECT_EQ(Greys[0].Position, (TPoint{12, 12}));
  EXPECT_EQ(Greys[0].Color, clWhite);
  EXPECT_EQ(Greys[1].Position, (TPoint{36, 9}));
  EXPECT_EQ(Greys[1].Color, RGB(225, 225, 225));
  EXPECT_EQ(Greys[2].Position, (TPoint{41, 18}));
  EXPECT_EQ(Greys[15].Color, RGB(15, 15, 15));
  EXPECT_EQ(Greys[16].Position, (TPoint{128, 12}));
  EXPECT_EQ(Greys[16].Color, clBlack);
}

TEST_F(ColorPopupTest, SelectingTheCellOfAColour) {
  Picker.SetCustomText("Other");
  Popup.SetSelectedColor(RGB(0xFF, 0x66, 0x00));
  EXPECT_EQ(Popup.SelectedIndex(), 9);
  EXPECT_EQ(NamedCellColor(9), RGB(0xFF, 0x66, 0x00));
  Popup.SetSelectedColor(clNone);
  EXPECT_EQ(Popup.SelectedIndex(), NoCell);
  Popup.SetSelectedColor(clDefault);
  EXPECT_EQ(Popup.SelectedIndex(), DefaultCell);
  Popup.SetSelectedColor(RGB(1, 2, 3));
  EXPECT_EQ(Popup.SelectedIndex(), NoCell);
  // A grey of the grey combs opens the palette extended with it chosen.
  Popup.SetSelectedColor(RGB(225, 225, 225));
  EXPECT_EQ(Popup.SelectedIndex(), CustomCell);
  EXPECT_EQ(Popup.CustomIndex(), -2);
  EXPECT_EQ(Popup.CustomColor(), RGB(225, 225, 225));
  EXPECT_EQ(Popup.height(), 2 * 2 + Popup.BWCombRect().Bottom);
  // A colour of the colour comb that no cell has.
  const TColor Comb = Popup.ColorCombs()[3].Color;
  Popup.SetSelectedColor(Comb);
  EXPECT_EQ(Popup.SelectedIndex(), CustomCell);
  EXPECT_EQ(Popup.CustomColor(), Comb);
  Popup.SetSelectedColor(clBlack);
  EXPECT_EQ(Popup.SelectedIndex(), 0);
  EXPECT_EQ(Popup.height(), Popup.WindowRect().Bottom);
  // System colours by their value only while they are shown.
  Popup.SetSelectedColor(clBtnFace);
  EXPECT_EQ(Popup.SelectedIndex(), NoCell);
  Picker.SetShowSystemColors(true);
  Popup.SetSelectedColor(clBtnFace);
  EXPECT_EQ(Popup.SelectedIndex(), 55);
  // A plain colour: the first system cell that currently has it.
  int First = 0;
  while (!SameColor24(ColorToRGB(SystemColor(First)), ColorToRGB(clBtnFace))) ++First;
  Popup.SetSelectedColor(ColorToRGB(clBtnFace));
  EXPECT_EQ(Popup.SelectedIndex(), 40 + First);
}

TEST_F(ColorPopupTest, ClickingACellClosesWithItsColour) {
  Picker.SetDroppedDown(true);
  ASSERT_TRUE(Popup.isVisible());
  Click(Popup.CellRect(9));
  EXPECT_FALSE(Popup.isVisible());
  EXPECT_FALSE(Picker.DroppedDown());
  EXPECT_EQ(Picker.SelectionColor(), RGB(0xFF, 0x66, 0x00));
  EXPECT_EQ(Changes, 1);

  // A click outside closes without a change.
  Picker.SetDroppedDown(true);
  Mouse(QEvent::MouseButtonPress, -5, 40);
  EXPECT_FALSE(Picker.DroppedDown());
  EXPECT_EQ(Picker.SelectionColor(), RGB(0xFF, 0x66, 0x00));
  EXPECT_EQ(Changes, 1);
  EXPECT_EQ(Defaults, 0);
}

TEST_F(ColorPopupTest, TheDefaultButton) {
  WithButtons();
  SetColorPickerDefaultColor(RGB(10, 200, 30));
  Picker.SetDroppedDown(true);
  // It shows a swatch of the default colour.
  const QImage Shot = GrabWidget(Popup);
  const TRect D = Popup.DefaultTextRect();
  EXPECT_EQ(PixelAt(Shot, (D.Left + D.Right) / 2, (D.Top + D.Bottom) / 2), RGB(10, 200, 30));
  Click(D);
  EXPECT_EQ(Picker.SelectionColor(), RGB(10, 200, 30));
  EXPECT_EQ(Defaults, 1);

  // Without a default colour picking it only fires OnDefaultSelect.
  SetColorPickerDefaultColor(clNone);
  Picker.SetDroppedDown(true);
  Click(D);
  EXPECT_FALSE(Picker.DroppedDown());
  EXPECT_EQ(Picker.SelectionColor(), RGB(10, 200, 30));
  EXPECT_EQ(Defaults, 2);
}

TEST_F(ColorPopupTest, TheCustomButtonExtendsThePalette) {
  WithButtons();
  Picker.SetDroppedDown(true);
  const int Basic = Popup.height();
  Click(Popup.CustomTextRect());
  EXPECT_TRUE(Popup.isVisible());
  EXPECT_EQ(Popup.SelectedIndex(), CustomCell);
  EXPECT_EQ(Popup.height(), 4 + Popup.BWCombRect().Bottom);
  EXPECT_GT(Popup.height(), Basic);

  // Dragging the slider to its bottom keeps the palette open and turns the
  // comb's centre black.
  const TRect S = Popup.SliderRect();
  Mouse(QEvent::MouseButtonPress, S.Left + 3, S.Top + 5);
  Mouse(QEvent::MouseMove, S.Left + 3, S.Bottom + 30);
  Mouse(QEvent::MouseButtonRelease, S.Left + 3, S.Bottom + 30, Qt::NoButton);
  EXPECT_TRUE(Popup.isVisible());
  EXPECT_FLOAT_EQ(Popup.CenterIntensity(), 0.0f);
  EXPECT_EQ(Popup.ColorCombs()[0].Color, clBlack);
  EXPECT_EQ(Changes, 0);

  // A click on a colour comb closes the palette with that comb's colour.
  const TCombEntry& Comb = Popup.ColorCombs()[10];
  const int X = Comb.Position.X + Popup.ColorCombRect().Left + Popup.Radius();
  const int Y = Comb.Position.Y + Popup.ColorCombRect().Top + Popup.Radius();
  EXPECT_EQ(Popup.ColorCombAt(X, Y), 10);
  const TColor Expected = Comb.Color;
  Click(X, Y);
  EXPECT_FALSE(Picker.DroppedDown());
  EXPECT_EQ(Picker.SelectionColor(), Expected);

  // A grey comb likewise; reopening on it shows it chosen.
  Picker.SetDroppedDown(true);
  Click(Popup.CustomTextRect());
  const TCombEntry& Grey = Popup.BWCombs()[4];
  Click(Grey.Position.X + Popup.BWCombRect().Left, Grey.Position.Y + Popup.BWCombRect().Top);
  EXPECT_EQ(Picker.SelectionColor(), RGB(180, 180, 180));
  Picker.SetDroppedDown(true);
  EXPECT_EQ(Popup.SelectedIndex(), CustomCell);
  EXPECT_EQ(Popup.CustomIndex(), -5);
}

TEST_F(ColorPopupTest, Keys) {
  WithButtons();
  struct Step {
    int From;
    Qt::Key Key;
    int To;
  };
  const Step Steps[] = {
      {0, Qt::Key_Left, DefaultCell},
      {9, Qt::Key_Left, 8},
      {8, Qt::Key_Left, 7},
      {3, Qt::Key_Up, DefaultCell},
      {11, Qt::Key_Up, 3},
      {39, Qt::Key_Right, CustomCell},
      {7, Qt::Key_Right, 8},
      {35, Qt::Key_Down, CustomCell},
      {20, Qt::Key_Down, 28},
      {CustomCell, Qt::Key_Up, 39},
      {CustomCell, Qt::Key_Right, DefaultCell},
      {DefaultCell, Qt::Key_Left, CustomCell},
      {DefaultCell, Qt::Key_Down, 0},
  };
  for (const Step& S : Steps) {
    Picker.SetDroppedDown(true);
    Popup.SetSelectedIndex(S.From);
    Key(S.Key);
    EXPECT_EQ(Popup.HoverIndex(), S.To) << S.From << " key " << S.Key;
    Key(Qt::Key_Escape);
    EXPECT_FALSE(Picker.DroppedDown());
    Mouse(QEvent::MouseMove, -1, -1, Qt::NoButton); // no hovered cell for the next step
  }
  EXPECT_EQ(Changes, 0);

  // Enter picks the hovered cell.
  Picker.SetDroppedDown(true);
  Popup.SetSelectedIndex(12);
  Key(Qt::Key_Right);
  Key(Qt::Key_Return);
  EXPECT_EQ(Picker.SelectionColor(), NamedCellColor(13));
}

TEST_F(ColorPopupTest, KeysWithoutButtonsWrapAround) {
  Picker.SetDroppedDown(true);
  Popup.SetSelectedIndex(0);
  Key(Qt::Key_Left);
  EXPECT_EQ(Popup.HoverIndex(), 39);
  Key(Qt::Key_Right);
  EXPECT_EQ(Popup.HoverIndex(), 0);
  Key(Qt::Key_Escape);
}

TEST_F(ColorPopupTest, EnterWithNothingHoveredSelectsTheDefault) {
  SetColorPickerDefaultColor(RGB(9, 8, 7));
  Picker.SetDroppedDown(true);
  Mouse(QEvent::MouseMove, -1, -1, Qt::NoButton);
  Key(Qt::Key_Enter);
  EXPECT_FALSE(Picker.DroppedDown());
  EXPECT_EQ(Picker.SelectionColor(), RGB(9, 8, 7));
  EXPECT_EQ(Defaults, 1);
}

TEST_F(ColorPopupTest, AltWithTheAcceleratorOfTheCustomText) {
  Picker.SetDefaultText("&Automatic");
  Picker.SetCustomText("&Other colours");
  SetColorPickerDefaultColor(RGB(4, 5, 6));
  Picker.SetDroppedDown(true);
  QTest::keyClick(&Popup, Qt::Key_O, Qt::AltModifier);
  EXPECT_EQ(Popup.SelectedIndex(), CustomCell);
  EXPECT_TRUE(Picker.DroppedDown());
  QTest::keyClick(&Popup, Qt::Key_A, Qt::AltModifier);
  EXPECT_FALSE(Picker.DroppedDown());
  EXPECT_EQ(Picker.SelectionColor(), RGB(4, 5, 6));
}

TEST_F(ColorPopupTest, PaintsCellsAndTheSelectionFrame) {
  const TColor Saved = ColorPopupFrameColor;
  ColorPopupFrameColor = RGB(0, 0, 255);
  Picker.SetSelectionColor(NamedCellColor(9));
  Picker.SetDroppedDown(true);
  const QImage Shot = GrabWidget(Popup);
  for (int I : {0, 9, 26, 39}) {
    const TRect R = Popup.CellRect(I);
    EXPECT_EQ(PixelAt(Shot, (R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2), NamedCellColor(I)) << I;
  }
  EXPECT_EQ(PixelAt(Shot, Popup.CellRect(9).Left, Popup.CellRect(9).Top), RGB(0, 0, 255));
  EXPECT_NE(PixelAt(Shot, Popup.CellRect(8).Left, Popup.CellRect(8).Top), RGB(0, 0, 255));
  ColorPopupFrameColor = Saved;
  Picker.SetDroppedDown(false);
}

TEST_F(ColorPopupTest, Hints) {
  WithButtons();
  Picker.setToolTip("#000000");
  Picker.SetShowSystemColors(true);
  TRect Area;
  const TRect Orange = Popup.CellRect(9);
  EXPECT_EQ(Popup.HintAt(Orange.Left + 3, Orange.Top + 9, Area), "#FF6600");
  EXPECT_EQ(Area, Orange);
  const TRect Face = Popup.CellRect(55);
  EXPECT_EQ(Popup.HintAt(Face.Left + 9, Face.Top + 9, Area), "system color: button face");
  // Buttons: the default colour's text, or what OnHint answers, or the
  // picker's own hint.
  const TRect D = Popup.DefaultTextRect();
  SetColorPickerDefaultColor(RGB(0x10, 0x20, 0x30));
  EXPECT_EQ(Popup.HintAt(D.Left + 5, D.Top + 5, Area), "#102030");
  EXPECT_EQ(Area, D);
  SetColorPickerDefaultColor(clNone);
  EXPECT_EQ(Popup.HintAt(D.Left + 5, D.Top + 5, Area), "#000000");
  Picker.OnHint = [](QObject*, int Cell, QString& Hint) { Hint = QString("cell %1").arg(Cell); };
  const TRect C = Popup.CustomTextRect();
  EXPECT_EQ(Popup.HintAt(C.Left + 5, C.Top + 5, Area), "cell -2");
  // The comb area: the intensity, a comb's colour, elsewhere OnHint's answer.
  Popup.SetSelectedIndex(CustomCell);
  const TRect S = Popup.SliderRect();
  EXPECT_EQ(Popup.HintAt(S.Left + 2, S.Top + 2, Area), "100%");
  EXPECT_EQ(Area, Bounds(S.Left + 2, S.Top + 2, 1, 1));
  const TRect R = Popup.ColorCombRect();
  EXPECT_EQ(Popup.HintAt(R.Left + Popup.Radius(), R.Top + Popup.Radius(), Area), "#FFFFFF");
  EXPECT_EQ(Popup.HintAt(R.Left + 1, R.Top + 1, Area), "cell -1");
}

TEST_F(ColorPopupTest, KeptOnTheScreenAndAboveThePickerNearTheBottom) {
  const QRect Screen = Picker.screen()->geometry();
  Picker.setGeometry(Screen.right() - 100, Screen.bottom() - 50, 30, 20);
  Picker.SetDroppedDown(true);
  EXPECT_EQ(Popup.geometry(), QRect(Screen.right() + 1 - 164, Screen.bottom() - 50 - 103, 164, 103));
  Picker.SetDroppedDown(false);
  Picker.setGeometry(Screen.left() + 10, Screen.top() + 10, 30, 20);
  Picker.SetDroppedDown(true);
  EXPECT_EQ(Popup.geometry(), QRect(Screen.left() + 10, Screen.top() + 30, 164, 103));
  Picker.SetDroppedDown(false);
}

} // namespace
