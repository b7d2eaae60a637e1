// TColorPopup: the palette window a colour picker drops: a default button, a
// grid of 40 named colours, optionally the 25 system colours, and a custom
// button that extends the window with a hexagonal colour comb, a row of grey
// combs and an intensity slider. Depends on the platform canvas, the DPI and
// drawing helpers and interface colours of ui/, QtWidgets.
//
// The window is a Qt popup: while it is shown it receives the mouse and the
// keys (the platform's capture), and a press outside it closes it, cancelled.
// Closing hands the result to the owning picker (CloseUp).
#pragma once

#include "platform/Colors.h"
#include "platform/Types.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <vector>

class TBitmap;
class TColorPicker;

// One comb: its centre relative to the comb area's origin, and its colour.
struct TCombEntry {
  TPoint Position;
  TColor Color = clBlack;
};
using TCombArray = std::vector<TCombEntry>;

struct TFloatRGB {
  float Red = 0, Green = 0, Blue = 0;
};

// What a drag with the left button is changing.
enum class TSelectionMode : uint8_t { smNone, smColor, smBW, smRamp };

// Cell numbers besides the colour cells 0..39 (named) and 40..64 (system).
constexpr int NoCell = -1;
constexpr int CustomCell = -2;
constexpr int DefaultCell = -3;

// The named colours of cells 0..39 ($BBGGRR values).
TColor NamedCellColor(int Cell);
// The cell size at a resolution: the entry of {19, 23, 27, 33, 36, 39, 45, 50}
// nearest to MulDiv(19, dpi, 96), the larger one on a tie.
int PaletteBoxSize(int PixelsPerInch);

class TColorPopup : public QWidget {
  Q_OBJECT
public:
  explicit TColorPopup(TColorPicker* Picker);

  // The colour last handed over; writing it selects the cell of the colour.
  TColor SelectedColor() const { return FCurrentColor; }
  void SetSelectedColor(TColor Value);
  int Spacing() const { return FSpacing; }
  void SetSpacing(int Value);
  QString DefaultText() const { return FDefaultText; }
  void SetDefaultText(const QString& Value);
  QString CustomText() const { return FCustomText; }
  void SetCustomText(const QString& Value);
  bool ShowSysColors() const { return FShowSysColors; }
  void SetShowSysColors(bool Value);

  // Layout of the window and its parts (after a change of the texts or of the
  // system-colour switch).
  void AdjustWindow();
  // Shows the palette under the picker (or its parent), kept on the screen.
  void ShowPopupAligned();
  // Hides the palette and hands the result to the picker.
  void CloseUp(bool Accepted);

  // State and geometry, for the picker and for tests.
  int SelectedIndex() const { return FSelectedIndex; }
  void SetSelectedIndex(int Value);
  int HoverIndex() const { return FHoverIndex; }
  int CustomIndex() const { return FCustomIndex; }
  float CenterIntensity() const { return FCenterIntensity; }
  int BoxSize() const { return FBoxSize; }
  int Margin() const { return FMargin; }
  int CombSize() const { return FCombSize; }
  int Radius() const { return FRadius; }
  const TRect& WindowRect() const { return FWindowRect; }
  const TRect& DefaultTextRect() const { return FDefaultTextRect; }
  const TRect& CustomTextRect() const { return FCustomTextRect; }
  const TRect& CustomColorRect() const { return FCustomColorRect; }
  const TRect& ColorCombRect() const { return FColorCombRect; }
  const TRect& BWCombRect() const { return FBWCombRect; }
  const TRect& SliderRect() const { return FSliderRect; }
  const TCombArray& ColorCombs();
  const TCombArray& BWCombs();
  // The colour of a cell (0..64), of the chosen comb (clNone without one).
  TColor CellColor(int Cell) const;
  TColor CustomColor();
  TRect CellRect(int Cell) const;
  int CellAt(int X, int Y) const;
  // The colour comb or grey comb under a point of the window, -1 for none.
  int ColorCombAt(int X, int Y);
  int BWCombAt(int X, int Y);
  // The hint at a point of the window and the area it holds for (empty text:
  // none).
  QString HintAt(int X, int Y, TRect& Area);
  // The height the window shows with: extended while the custom button is
  // the selection.
  int ShownHeight() const;

protected:
  void paintEvent(QPaintEvent* Event) override;
  void mouseMoveEvent(QMouseEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;
  void keyPressEvent(QKeyEvent* Event) override;
  bool event(QEvent* Event) override;
  void hideEvent(QHideEvent* Event) override;

private:
  bool HasDefault() const { return !FDefaultText.isEmpty(); }
  bool HasCustom() const { return !FCustomText.isEmpty(); }
  int LastCell() const { return FShowSysColors ? 64 : 39; }
  bool CellExists(int Cell) const;
  void BuildCombs();
  void DropCombs();
  void SelectCellOf(TColor Color);
  void SetHoverIndex(int Value);
  void CombDrag(int X, int Y);
  void PaintCell(QPainter& Canvas, int Cell);
  void PaintDefaultButton(QPainter& Canvas);
  void PaintCustomButton(QPainter& Canvas);
  void PaintCombArea(QPainter& Canvas);
  int NextCell(int Key, int From) const;
  void ShowHintAt(const QPoint& P);

  TColorPicker* FPicker;
  QString FDefaultText, FCustomText;
  TColor FCurrentColor = clNone;
  int FMargin = 2;
  int FSpacing = 4;
  int FColumnCount = 8;
  int FRowCount = 5;
  int FSysRowCount = 4;
  int FBoxSize = 19;
  int FSelectedIndex = NoCell;
  int FHoverIndex = NoCell;
  TRect FWindowRect, FCustomTextRect, FDefaultTextRect, FColorCombRect, FBWCombRect, FSliderRect, FCustomColorRect;
  bool FShowSysColors = false;
  int FCombSize = 12;
  int FLevels = 7;
  TCombArray FBWCombs, FColorCombs;
  TFloatRGB FCenterColor{1, 1, 1};
  float FCenterIntensity = 1.0f;
  int FCustomIndex = 0;
  int FRadius = 66;
  TSelectionMode FSelectionMode = TSelectionMode::smNone;
};
