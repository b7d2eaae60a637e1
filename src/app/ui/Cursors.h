// The screen cursor table: the platform's standard cursors under their
// numbers and the twenty tool cursors (5 to 24) that start-up loads. The
// tool cursors are the program's own images, drawn here at 32 x 32 with
// their hot spots. Depends on QtGui; used by the main window and the tools,
// which select a cursor by number.
#pragma once

#include <QCursor>
#include <QImage>
#include <QPoint>

// The tool cursors, by number.
enum TToolCursor : int {
  crPipette = 5,
  crLasso = 6,
  crLigne = 7,
  crSceau = 8,
  crEau = 9,
  crAero = 10,
  crTampon = 11,
  crPolygon = 12,
  crMov1 = 13,
  crMov2 = 14,
  crMov3 = 15,
  crMagic = 16,
  crDoigt = 17,
  crRetouch = 18,
  crBrush = 19,
  crCross2 = 20,
  crMain = 21,
  crVide = 22,
  crMoveAdd = 23,
  crMoveDel = 24,
};
inline constexpr int FirstToolCursor = crPipette;
inline constexpr int LastToolCursor = crMoveDel;
inline constexpr int ToolCursorSize = 32;

// The platform's standard cursor numbers (0 and below).
enum TStandardCursor : int {
  crDefault = 0,
  crNone = -1,
  crArrow = -2,
  crCross = -3,
  crIBeam = -4,
  crSizeNESW = -6,
  crSizeNS = -7,
  crSizeNWSE = -8,
  crSizeWE = -9,
  crUpArrow = -10,
  crHourGlass = -11,
  crDrag = -12,
  crNoDrop = -13,
  crHSplit = -14,
  crVSplit = -15,
  crMultiDrag = -16,
  crSQLWait = -17,
  crNo = -18,
  crAppStart = -19,
  crHelp = -20,
  crHandPoint = -21,
  crSizeAll = -22,
};

// The resource name of tool cursor Number ("PIPETTE" ... "MOVEDEL"); empty
// for any other number.
const char* ToolCursorName(int Number);

// The image of tool cursor Number (32 x 32, premultiplied alpha) and its hot
// spot; a null image and (0, 0) for any other number.
QImage ToolCursorImage(int Number);
QPoint ToolCursorHotSpot(int Number);

// Start-up: puts the twenty tool cursors into the table. Loading again
// changes nothing.
void LoadToolCursors();
bool ToolCursorsLoaded();

// The cursor of that number: a standard cursor, a loaded tool cursor, else
// the arrow (as the platform answers for a number it does not hold).
QCursor ScreenCursor(int Number);
