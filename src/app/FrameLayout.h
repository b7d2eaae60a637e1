// The arrangement of the main window's panels: the status bar, the top
// separator, the tool panel, the docked tool palette, the image browser, the
// module panel and the image area. Depends on QtCore only; used by the main
// window on every resize, and by tests.
#pragma once

#include <QRect>

struct TFrameLayoutInput {
  QRect Client; // the frame's client rectangle
  int StatusBarHeight = 0;
  int SeparatorHeight = 0;
  int ToolPanelHeight = 0;
  int FilterBarWidth = 0; // ToolBar3's width
  bool PaletteVisible = false;
  int PaletteAlignment = 0; // 0 floating, 1 docked left, 2 docked right
  int PaletteWidth = 0;     // the width it needs for the remaining height
  bool BrowserVisible = false;
  int BrowserHeight = 0;
  bool ModulePanelVisible = false;
  int ModulePanelWidth = 0;
  bool ModulePanelLeft = true;
};

struct TFrameLayout {
  QRect StatusBar, Separator, ToolPanel, Palette, Browser, ModulePanel, ImageArea;
  bool Docked = false;
  bool Narrow = false; // the tool panel spans the whole width above the palette
};

// Empty rectangles for the parts that are not shown.
TFrameLayout LayoutFrame(const TFrameLayoutInput& In);
