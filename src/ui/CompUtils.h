// Component helpers: the height an edit box needs for a font, the font list,
// plain combo boxes turned into owner-drawn pickers of brush styles, pen
// styles, fonts and colours, and the painters of custom-drawn toolbar
// buttons. Depends on the font tests of platform, the shadow painter of
// raster, the DPI helpers and interface colours, QtWidgets.
//
// The pickers keep their values in the items (Qt::UserRole): the font
// picker each font's type bits (platform/FontUtils.h), the colour picker each
// item's TColor. A picker draws its list items and its edit part itself.
#pragma once

#include "platform/Canvas.h"
#include "platform/Colors.h"

#include <QRect>
#include <QString>

#include <cstdint>

class QComboBox;
class QFont;
class QPainter;
class QPixmap;
class QWidget;

// Widget with the object name Name (by which the dialog settings and the
// tests find it), for a constructor to keep: Named(new QCheckBox(this), "CB").
template <class T> T* Named(T* Widget, const char* Name) {
  Widget->setObjectName(QString::fromLatin1(Name));
  return Widget;
}

// The height an edit box needs for Font: the font's character height + 8
// (3-D frame) or + 6 (flat frame, 6 times the one-pixel border).
int FontEditHeight(const QFont& Font, bool Ctl3D);
// FontEditHeight for the control's own font and frame.
int ControlEditHeight(const QWidget* Control);

// The font families of the screen, each once, with their type bits
// (TrueType for scalable faces, raster otherwise) as item data; vertical
// variants ("@...") and a name equal (case ignored) to the one added last are
// skipped; then sorted.
void FillFontList(QComboBox* Combo);
// When nothing is selected: "Arial", else the first item.
void SelectDefaultFont(QComboBox* Combo);

// Owner-drawn, fixed item height FontEditHeight(main window font, true) - 6,
// no frame styling of its own; the painter of the picker kind is installed by
// the Init routines.
void PrepareOwnerDrawCombo(QComboBox* Combo);

// The platform's brush styles, in its order (the canvas paints them).
using TComboBrushStyle = TBrushStyle;
// The Qt pattern of a brush style (Qt::NoBrush for bsClear).
int ToQtBrushStyle(TComboBrushStyle Style);

// Items "bsSolid", "bsHorizontal", "bsVertical", "bsFDiagonal",
// "bsBDiagonal", "bsCross", "bsDiagCross"; item 0 selected.
void InitBrushStyleCombo(QComboBox* Combo);
// Item 0 solid, items 1..6 the hatches in that order; any other index clear.
// Index -1: the selected item.
TComboBrushStyle ComboBrushStyle(const QComboBox* Combo, int Index);

// The platform's pen styles as numbers: 0 solid, 1 dash, 2 dot, 3 dash-dot,
// 4 dash-dot-dot, 5 clear; 7 the user style of the two line items.
constexpr int PenStyleUser = 7;
// With WithLines first "psLine1" and "psLine2"; then "psSolid", "psDash",
// "psDot", "psDashDot", "psDashDotDot", "psClear"; item 0 selected.
void InitPenStyleCombo(QComboBox* Combo, bool WithLines);
// Index -1: the selected item (solid when nothing is selected). Without the
// line items the index is the pen style; with them items 0 and 1 give 7 and
// item i >= 2 gives i - 2.
int ComboPenStyle(const QComboBox* Combo, int Index);

// The font list, owner-drawn.
void InitFontCombo(QComboBox* Combo);
// The type bits of item Index (-1: the selected item); 0 when none.
int ComboFontType(const QComboBox* Combo, int Index);

// Items "Red", "Green", "Blue", "Yellow", "Fuchsia", "Aqua"; item 0 selected.
void InitColorCombo(QComboBox* Combo);
// The colour of item Index (-1: the selected item; item 0 when none is).
TColor ComboColor(const QComboBox* Combo, int Index);

// The state an item is drawn in.
enum TOwnerDrawState : uint8_t {
  odSelected = 1,     // the highlighted item
  odComboBoxEdit = 2, // the edit part of the combo, not the list
};

// The item painters of the pickers (what the owner-draw events call).
void DrawBrushStyleItem(const QComboBox* Combo, QPainter& Canvas, int Index, const QRect& Rect, uint8_t State);
void DrawPenStyleItem(const QComboBox* Combo, QPainter& Canvas, int Index, const QRect& Rect, uint8_t State);
void DrawFontItem(const QComboBox* Combo, QPainter& Canvas, int Index, const QRect& Rect, uint8_t State);
void DrawColorItem(const QComboBox* Combo, QPainter& Canvas, int Index, const QRect& Rect, uint8_t State);

// The state a toolbar button is drawn in.
enum TToolButtonState : uint8_t {
  tbsSelected = 1, // the toolbar's selected (keyboard) button
  tbsChecked = 2,
  tbsHot = 4, // under the mouse
  tbsDisabled = 8,
  tbsDown = 16, // held down by the mouse
};

// A custom-drawn toolbar button over Rect: shrunk by 1, a white face with a
// one-pixel clDlgBorder frame; when (not selected, or down) and (checked or
// hot) a 2-pixel inner frame in clDlgAccent (checked) or black (hot only);
// the glyph centred (DisabledGlyph for a disabled button when it is not null).
void DrawToolButtonFrame(QPainter& Canvas, const QRect& Rect, uint8_t State, const QPixmap& Glyph,
                         const QPixmap& DisabledGlyph);
// The same condition; when met, Rect less 2 pixels at the right and bottom
// gets a white face with a one-pixel $474747 frame and a soft 2-pixel drop
// shadow at strength 60 over BackColor; otherwise Rect is filled with
// BackColor. The glyph is centred as above.
void DrawToolButtonShadow(QPainter& Canvas, const QRect& Rect, uint8_t State, TColor BackColor, const QPixmap& Glyph,
                          const QPixmap& DisabledGlyph);
