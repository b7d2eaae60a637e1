// The twenty tool cursors (5 to 24) that start-up puts into the screen
// cursor table beside the platform's standard ones. They are the program's own images, drawn here at 32 x 32 with
// their hot spots. Depends on QtGui; used by the main window and the tools,
// which select a cursor by number.
#pragma once

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

// The resource name of tool cursor Number ("PIPETTE" ... "MOVEDEL"); empty
// for any other number.
const char* ToolCursorName(int Number);

// The image of tool cursor Number (32 x 32, premultiplied alpha) and its hot
// spot; a null image and (0, 0) for any other number.
QImage ToolCursorImage(int Number);
QPoint ToolCursorHotSpot(int Number);

// Start-up: registers the twenty tool cursors in the screen cursor table
// (ScreenCursor, raster/ui/FoncUtils.h). Loading again changes nothing.
void LoadToolCursors();
bool ToolCursorsLoaded();
