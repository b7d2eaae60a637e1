#include "app/FrameLayout.h"

namespace {

// Takes a strip of Height from the top of Rest.
QRect TakeTop(QRect& Rest, int Height) {
  const QRect Strip(Rest.left(), Rest.top(), Rest.width(), Height);
  Rest.setTop(Rest.top() + Height);
  return Strip;
}

QRect TakeBottom(QRect& Rest, int Height) {
  const QRect Strip(Rest.left(), Rest.bottom() + 1 - Height, Rest.width(), Height);
  Rest.setBottom(Rest.bottom() - Height);
  return Strip;
}

QRect TakeLeft(QRect& Rest, int Width) {
  const QRect Strip(Rest.left(), Rest.top(), Width, Rest.height());
  Rest.setLeft(Rest.left() + Width);
  return Strip;
}

QRect TakeRight(QRect& Rest, int Width) {
  const QRect Strip(Rest.right() + 1 - Width, Rest.top(), Width, Rest.height());
  Rest.setRight(Rest.right() - Width);
  return Strip;
}

} // namespace

TFrameLayout LayoutFrame(const TFrameLayoutInput& In) {
  TFrameLayout Out;
  QRect Rest = In.Client;
  Out.StatusBar = TakeBottom(Rest, In.StatusBarHeight);
  Out.Separator = TakeTop(Rest, In.SeparatorHeight);
  Out.Docked = In.PaletteVisible && In.PaletteAlignment != 0;
  Out.Narrow = Out.Docked && Rest.width() < In.FilterBarWidth + In.PaletteWidth;
  if (!Out.Docked || Out.Narrow) Out.ToolPanel = TakeTop(Rest, In.ToolPanelHeight);
  if (Out.Docked)
    Out.Palette = In.PaletteAlignment == 2 ? TakeRight(Rest, In.PaletteWidth) : TakeLeft(Rest, In.PaletteWidth);
  if (Out.Docked && !Out.Narrow) Out.ToolPanel = TakeTop(Rest, In.ToolPanelHeight);
  if (In.BrowserVisible) Out.Browser = TakeBottom(Rest, In.BrowserHeight);
  if (In.ModulePanelVisible)
    Out.ModulePanel = In.ModulePanelLeft ? TakeLeft(Rest, In.ModulePanelWidth) : TakeRight(Rest, In.ModulePanelWidth);
  Out.ImageArea = Rest;
  return Out;
}
