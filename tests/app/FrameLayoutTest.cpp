#include "app/FrameLayout.h"

#include <gtest/gtest.h>

namespace {

TFrameLayoutInput Frame(int Width, int Alignment) {
  TFrameLayoutInput In;
  In.Client = QRect(0, 0, Width, 700);
  In.StatusBarHeight = 22;
  In.SeparatorHeight = 1;
  In.ToolPanelHeight = 56;
  In.FilterBarWidth = 800;
  In.PaletteVisible = true;
  In.PaletteAlignment = Alignment;
  In.PaletteWidth = 150;
  return In;
}

} // namespace

TEST(FrameLayout, FloatingPaletteLeavesTheToolPanelFullWidth) {
  const TFrameLayout L = LayoutFrame(Frame(1000, 0));
  EXPECT_FALSE(L.Docked);
  EXPECT_EQ(L.StatusBar, QRect(0, 678, 1000, 22));
  EXPECT_EQ(L.Separator, QRect(0, 0, 1000, 1));
  EXPECT_EQ(L.ToolPanel, QRect(0, 1, 1000, 56));
  EXPECT_TRUE(L.Palette.isEmpty());
  EXPECT_EQ(L.ImageArea, QRect(0, 57, 1000, 621));
}

TEST(FrameLayout, DockedPaletteTakesTheFullHeightBesideTheToolPanel) {
  const TFrameLayout Right = LayoutFrame(Frame(1000, 2));
  EXPECT_FALSE(Right.Narrow);
  EXPECT_EQ(Right.Palette, QRect(850, 1, 150, 677));
  EXPECT_EQ(Right.ToolPanel, QRect(0, 1, 850, 56));
  EXPECT_EQ(Right.ImageArea, QRect(0, 57, 850, 621));

  const TFrameLayout Left = LayoutFrame(Frame(1000, 1));
  EXPECT_EQ(Left.Palette, QRect(0, 1, 150, 677));
  EXPECT_EQ(Left.ToolPanel, QRect(150, 1, 850, 56));
  EXPECT_EQ(Left.ImageArea, QRect(150, 57, 850, 621));
}

TEST(FrameLayout, NarrowWindowPutsTheToolPanelAboveThePalette) {
  // 900 < filter bar 800 + palette 150.
  const TFrameLayout L = LayoutFrame(Frame(900, 2));
  EXPECT_TRUE(L.Narrow);
  EXPECT_EQ(L.ToolPanel, QRect(0, 1, 900, 56));
  EXPECT_EQ(L.Palette, QRect(750, 57, 150, 621));
  EXPECT_EQ(L.ImageArea, QRect(0, 57, 750, 621));
}

TEST(FrameLayout, BrowserAndModulePanelTakeTheirStripsLast) {
  TFrameLayoutInput In = Frame(1000, 1);
  In.BrowserVisible = true;
  In.BrowserHeight = 120;
  In.ModulePanelVisible = true;
  In.ModulePanelWidth = 31;
  In.ModulePanelLeft = false;
  const TFrameLayout L = LayoutFrame(In);
  EXPECT_EQ(L.Browser, QRect(150, 558, 850, 120));
  EXPECT_EQ(L.ModulePanel, QRect(969, 57, 31, 501));
  EXPECT_EQ(L.ImageArea, QRect(150, 57, 819, 501));
}
