// Owner-drawn menus: when the main window chooses them (the system style is
// active), every menu is measured and painted here instead of by the style:
// an icon column, the caption, the short-cut right-aligned in its own
// colour, a flat selection box, thin separators and a check box. Also the
// short-cut texts with translatable key names. Depends on the style colours
// and the translatable strings; used by the main window and every window
// with menus of its own.
#pragma once

#include "platform/Colors.h"

#include <QKeySequence>
#include <QString>

class QAction;
class QMenu;
class QMenuBar;

// The modifier bits of a short-cut (a 16-bit key code in the low byte).
inline constexpr int scShift = 0x2000;
inline constexpr int scCtrl = 0x4000;
inline constexpr int scAlt = 0x8000;

// The text of a short-cut: the modifier prefixes (Shift, Ctrl, Alt, in that
// order) then the key name, translatable for the named keys ("Entrée",
// "Echap", ...), the digit or letter itself, "F1".."F24"; empty for a key
// without a name, prefixes included.
QString ShortCutToTextLoc(int ShortCut);
// The short-cut value of a key sequence's first key (0 when it has none or
// its key has no short-cut code), and its text.
int ShortCutOf(const QKeySequence& Keys);
QString ShortCutText(const QKeySequence& Keys);

// The menus' colours: at load the system menu colours and a dark red for
// the short-cuts; SetMenuColors derives the selection and the greyed texts
// from a base colour.
struct TMenuColors {
  TColor Background = clMenu;
  TColor Text = clMenuText;
  TColor DisabledText = clGrayText;
  TColor ShortCutText = 0x000080;
  TColor Separator = clGrayText;
  TColor SelectionFrame = clHighlight;
  TColor SelectionFill = clHighlight;
};
const TMenuColors& MenuColors();
// Frame := Base; fill := background mixed 20 % towards Base; disabled text
// and separators := text mixed 70 % towards the background.
void SetMenuColors(TColor Base);

// The icon column's images: their size in pixels, 0 for none (a check-mark
// column then). The main window gives its large toolbar images.
void SetMenuIconSize(int Size);
int MenuIconSize();

// The height of one item: a separator 7 (8 before Windows 8, 9 before
// Vista); another item 8 x dpi / 96 + the font's character height, at least
// the icon height + 2 and of the same parity.
int MenuItemHeight(bool Separator, int ScreenDpi, int FontHeight, int IconHeight);

// Makes a popup menu owner-drawn, with its submenus, those added later
// included; a second call changes nothing.
void OwnerDrawMenu(QMenu* Menu);
bool IsOwnerDrawn(const QMenu* Menu);
// The submenus of every menu-bar entry; the bar's own entries only when
// TopLevel.
void OwnerDrawMainMenu(QMenuBar* Bar, bool TopLevel);
// An item added later (with its submenu).
void OwnerDrawMenuItem(QAction* Item);
// The menu-bar entries drawn by the style again; their submenus stay
// owner-drawn.
void SetMenuBarTextItems(QMenuBar* Bar);
