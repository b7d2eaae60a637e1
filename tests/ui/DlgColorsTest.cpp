#include "ui/DlgColors.h"

#include "ui/VisualStyles.h"

#include <gtest/gtest.h>

namespace {

// Puts the active style and the derived colours back after each test.
class DlgColorsTest : public ::testing::Test {
protected:
  void SetUp() override {
    Saved = {clDlgDarkWindow, clDlgWindow, clDlgText, clDlgPanelLight, clDlgPanel, clDlgBorder, clDlgList};
    SavedBrightness = DlgPanelBrightness;
    SavedStyle = ActiveStyle().Name;
  }
  void TearDown() override {
    clDlgDarkWindow = Saved[0];
    clDlgWindow = Saved[1];
    clDlgText = Saved[2];
    clDlgPanelLight = Saved[3];
    clDlgPanel = Saved[4];
    clDlgBorder = Saved[5];
    clDlgList = Saved[6];
    DlgPanelBrightness = SavedBrightness;
    SetActiveStyle(SavedStyle);
  }
  std::array<TColor, 7> Saved{};
  int SavedBrightness = 0;
  QString SavedStyle;
};

TEST_F(DlgColorsTest, InitialValuesAreSystemColours) {
  EXPECT_EQ(ActiveStyle().Name, QStringLiteral("Windows"));
  EXPECT_TRUE(IsSystemStyle());
  EXPECT_TRUE(IsStyleEnabled());
  EXPECT_EQ(clDlgWindow, clBtnFace);
  EXPECT_EQ(clDlgBorder, clBtnShadow);
  EXPECT_EQ(clDlgAccent, 0x0099FF);
  EXPECT_EQ(DlgPanelBrightness, 40);
}

TEST_F(DlgColorsTest, DarkStyleLightensThePanel) {
  ASSERT_TRUE(SetActiveStyle(u"Windows11 Dark"));
  EXPECT_FALSE(IsSystemStyle());
  InitStyleColors();
  EXPECT_EQ(clDlgWindow, RGB(32, 32, 32));
  EXPECT_EQ(clDlgDarkWindow, RGB(28, 28, 28)); // 32 x 0.88 = 28.16
  EXPECT_EQ(clDlgText, RGB(255, 255, 255));
  EXPECT_EQ(clDlgPanel, RGB(51, 51, 51));      // brightness 0.2
  EXPECT_EQ(clDlgPanelLight, RGB(61, 61, 61)); // 5 % lighter: 61.2
  EXPECT_EQ(clDlgBorder, RGB(112, 112, 112));  // 30 % towards the text: 112.2
  EXPECT_EQ(clDlgList, RGB(43, 43, 43));
  EXPECT_EQ(DlgPanelBrightness, 12); // 61 x 3 / 765 x 50 = 11.96
  EXPECT_EQ(clDlgAccent, 0x0099FF);
}

TEST_F(DlgColorsTest, LightStyleKeepsThePanel) {
  ASSERT_TRUE(SetActiveStyle(u"Windows11 Light"));
  InitStyleColors();
  EXPECT_EQ(clDlgPanel, RGB(243, 243, 243));
  EXPECT_EQ(clDlgPanelLight, clDlgPanel);
  EXPECT_EQ(clDlgWindow, RGB(249, 249, 249));
  EXPECT_EQ(clDlgDarkWindow, RGB(219, 219, 219)); // 219.12
  EXPECT_EQ(clDlgBorder, RGB(178, 178, 178));     // 243 - 217 x 0.3 = 177.9
  EXPECT_EQ(DlgPanelBrightness, 48);              // 47.6
}

TEST_F(DlgColorsTest, StyleNamesAreExact) {
  EXPECT_FALSE(SetActiveStyle(u"windows11 dark"));
  EXPECT_EQ(FindStyle(u"windows"), nullptr);
  ASSERT_NE(FindStyle(u"Windows11 Light"), nullptr);
  EXPECT_EQ(RegisteredStyles().front().Name, QStringLiteral("Windows"));
}

} // namespace
