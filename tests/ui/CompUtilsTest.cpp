#include "ui/CompUtils.h"

#include "QtPrinters.h"
#include "UiTestSupport.h"
#include "platform/FontUtils.h"
#include "ui/DlgColors.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>

#include <gtest/gtest.h>

namespace {

TEST(CompUtilsTest, EditHeights) {
  QFont Font("DejaVu Sans");
  Font.setPixelSize(12);
  const int H = QFontMetrics(Font).height();
  EXPECT_EQ(FontEditHeight(Font, true), H + 8);
  EXPECT_EQ(FontEditHeight(Font, false), H + 6);
  QLineEdit Flat;
  Flat.setFont(Font);
  Flat.setFrame(false);
  EXPECT_EQ(ControlEditHeight(&Flat), H + 6);
}

TEST(CompUtilsTest, StyleCombosAnswerTheirStyles) {
  QComboBox Pens;
  InitPenStyleCombo(&Pens, true);
  ASSERT_EQ(Pens.count(), 8);
  EXPECT_EQ(Pens.currentIndex(), 0);
  EXPECT_EQ(ComboPenStyle(&Pens, 0), PenStyleUser);
  EXPECT_EQ(ComboPenStyle(&Pens, 1), PenStyleUser);
  EXPECT_EQ(ComboPenStyle(&Pens, 2), 0); // solid
  EXPECT_EQ(ComboPenStyle(&Pens, 7), 5); // clear
  QComboBox Plain;
  InitPenStyleCombo(&Plain, false);
  EXPECT_EQ(Plain.count(), 6);
  Plain.setCurrentIndex(3);
  EXPECT_EQ(ComboPenStyle(&Plain, -1), 3);
  Plain.setCurrentIndex(-1);
  EXPECT_EQ(ComboPenStyle(&Plain, -1), 0);

  QComboBox Brushes;
  InitBrushStyleCombo(&Brushes);
  EXPECT_EQ(Brushes.itemText(6), "bsDiagCross");
  EXPECT_EQ(ComboBrushStyle(&Brushes, -1), TComboBrushStyle::bsSolid);
  EXPECT_EQ(ComboBrushStyle(&Brushes, 1), TComboBrushStyle::bsHorizontal);
  EXPECT_EQ(ComboBrushStyle(&Brushes, 6), TComboBrushStyle::bsDiagCross);
  EXPECT_EQ(ComboBrushStyle(&Brushes, 7), TComboBrushStyle::bsClear);
}

TEST(CompUtilsTest, ColorComboHoldsAndPaintsItsColours) {
  QComboBox Colors;
  InitColorCombo(&Colors);
  ASSERT_EQ(Colors.count(), 6);
  const TColor Expected[] = {0x0000FF, 0x008000, 0xFF0000, 0x00FFFF, 0xFF00FF, 0xFFFF00};
  for (int I = 0; I < 6; ++I) EXPECT_EQ(ComboColor(&Colors, I), Expected[I]);
  Colors.setCurrentIndex(-1);
  EXPECT_EQ(ComboColor(&Colors, -1), 0x0000FF); // item 0 when nothing is selected
  Colors.setCurrentIndex(2);
  Colors.resize(120, 26);
  const QImage Image = GrabWidget(Colors);
  // The swatch of the selected colour fills the middle of the edit part.
  EXPECT_EQ(PixelAt(Image, 30, 13), clBlue);
}

TEST(CompUtilsTest, FontListAndDefaultFont) {
  QComboBox Fonts;
  InitFontCombo(&Fonts);
  ASSERT_GT(Fonts.count(), 0);
  for (int I = 0; I < Fonts.count(); ++I) {
    EXPECT_FALSE(Fonts.itemText(I).startsWith('@'));
    if (I > 0) {
      EXPECT_LE(Fonts.itemText(I - 1).compare(Fonts.itemText(I)), 0);
      EXPECT_NE(Fonts.itemText(I - 1).compare(Fonts.itemText(I), Qt::CaseInsensitive), 0);
    }
    EXPECT_NE(ComboFontType(&Fonts, I) & (TRUETYPE_FONTTYPE | RASTER_FONTTYPE), 0);
  }
  Fonts.setCurrentIndex(-1);
  SelectDefaultFont(&Fonts);
  const int Arial = Fonts.findText("Arial");
  EXPECT_EQ(Fonts.currentIndex(), Arial >= 0 ? Arial : 0);
  Fonts.setCurrentIndex(-1);
  EXPECT_EQ(ComboFontType(&Fonts, -1), 0);
}

TEST(CompUtilsTest, ToolButtonPainters) {
  QPixmap Glyph(4, 4);
  Glyph.fill(Qt::red);
  auto Paint = [&](bool Shadow, uint8_t State) {
    QImage Image(24, 22, QImage::Format_RGB32);
    Image.fill(Qt::cyan);
    QPainter P(&Image);
    if (Shadow)
      DrawToolButtonShadow(P, QRect(0, 0, 24, 22), State, clSilver, Glyph, QPixmap());
    else
      DrawToolButtonFrame(P, QRect(0, 0, 24, 22), State, Glyph, QPixmap());
    P.end();
    return Image;
  };
  const QImage Hot = Paint(false, tbsHot);
  EXPECT_EQ(PixelAt(Hot, 0, 0), RGB(0, 255, 255)); // outside the shrunk rectangle
  EXPECT_EQ(PixelAt(Hot, 1, 1), ColorToRGB(clDlgBorder));
  EXPECT_EQ(PixelAt(Hot, 2, 2), clBlack);
  EXPECT_EQ(PixelAt(Hot, 5, 5), clWhite);
  EXPECT_EQ(PixelAt(Hot, 10, 9), clRed); // the glyph, centred
  EXPECT_EQ(PixelAt(Paint(false, tbsChecked | tbsHot), 2, 2), ColorToRGB(clDlgAccent));
  // The selected button shows no highlight unless it is down.
  EXPECT_EQ(PixelAt(Paint(false, tbsSelected | tbsHot), 2, 2), clWhite);
  EXPECT_EQ(PixelAt(Paint(false, tbsSelected | tbsHot | tbsDown), 2, 2), clBlack);

  const QImage Plain = Paint(true, 0);
  EXPECT_EQ(PixelAt(Plain, 0, 0), clSilver);
  EXPECT_EQ(PixelAt(Plain, 23, 21), clSilver);
  const QImage Raised = Paint(true, tbsChecked);
  EXPECT_EQ(PixelAt(Raised, 0, 0), 0x474747);
  EXPECT_EQ(PixelAt(Raised, 21, 19), 0x474747); // the face ends 2 pixels short
  EXPECT_EQ(PixelAt(Raised, 5, 5), clWhite);
  const TColor Shade = PixelAt(Raised, 23, 12);
  EXPECT_LT(GetRValue(Shade), GetRValue(clSilver)); // the shadow darkens the background
}

} // namespace
