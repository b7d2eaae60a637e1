// The general helpers over widgets, menus and the cursor: enabling groups of
// controls and menu items, the checked item of a menu, the screen cursor.
// Depends on QtWidgets; the rest of the helpers are in raster/FoncUtils.h.
#pragma once

#include <QCursor>

class QAction;
class QMenu;
class QWidget;

// Enabled of each direct child widget, from the last to the first, then of
// Control itself (grandchildren are not visited).
void EnableWithChildren(QWidget* Control, bool Value);
// Enabled of every direct item of a submenu.
void EnableSubItems(QMenu* Item, bool Value);
// Enabled of every top-level item of a popup menu.
void EnablePopupItems(QMenu* Menu, bool Value);
// The checked item with the lowest index, or nullptr.
QAction* GetCheckedSubItem(const QMenu* Item);

// The screen cursors by index: the built-in ones (crDefault 0, crArrow -2,
// crCross -3 ... crHandPoint -21, crSizeAll -22) and those the program
// registers under its own indices.
constexpr int crDefault = 0;
constexpr int crNone = -1;
constexpr int crArrow = -2;
constexpr int crCross = -3;
constexpr int crIBeam = -4;
constexpr int crSize = -5; // the general sizing cursor
constexpr int crSizeNESW = -6;
constexpr int crSizeNS = -7;
constexpr int crSizeNWSE = -8;
constexpr int crSizeWE = -9;
constexpr int crUpArrow = -10;
constexpr int crHourGlass = -11;
constexpr int crDrag = -12;
constexpr int crNoDrop = -13;
constexpr int crHSplit = -14;
constexpr int crVSplit = -15;
constexpr int crMultiDrag = -16;
constexpr int crSQLWait = -17;
constexpr int crNo = -18;
constexpr int crAppStart = -19;
constexpr int crHelp = -20;
constexpr int crHandPoint = -21;
constexpr int crSizeAll = -22;

void RegisterScreenCursor(int Index, const QCursor& Cursor);
// The cursor of an index; an unknown index gives the arrow.
QCursor ScreenCursor(int Index);
// Shows cursor Index over the whole application at once, without waiting
// for the mouse to move; crDefault gives every widget its own cursor back.
void SetScreenCursor(int Index);
