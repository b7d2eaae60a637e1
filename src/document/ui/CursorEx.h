// TCursorEx: the outline of the painting tool's brush drawn over an image
// view at the mouse, at the view's zoom, in a reversible XOR pen, so that the
// user sees what the brush will cover. The shape comes from CursorExData,
// which the tool palette fills from the current tool's brush. Depends on the
// zoomable view (MyCustomImage.h) and the view geometry.
#pragma once

#include "document/ViewGeometry.h"
#include "platform/Canvas.h"

#include <cstdint>

class TMyCustomImage;

enum TCursorExStyle : uint8_t { csCircle, csRectangle, csTriangle, csOblicLine1, csOblicLine2 };

// The brush's shape and size in image pixels; a width or height of 0 draws
// nothing.
struct TCursorExData {
  TCursorExStyle Style = csCircle;
  int Width = 0;
  int Height = 0;
};

// Written by the tool palette, read at every move of a brush outline.
extern TCursorExData CursorExData;

// Draws the outline of Shape for the client point (X, Y) of a view laid out
// as G, XOR pen $FFD8CE, on Canvas whatever its clip (drawing it twice gives
// the picture back). Answers the client rectangle the outline may touch,
// empty when nothing was drawn.
TRect DrawCursorExOutline(TCanvas& Canvas, const TViewGeometry& G, int X, int Y, const TCursorExData& Shape);

class TCursorEx {
public:
  // Starts locked and hidden.
  explicit TCursorEx(TMyCustomImage* Owner) : FOwner(Owner) {}

  bool Visible() const { return FVisible; }
  bool Locked() const { return FLocked; }
  // With Unlock the cursor is unlocked first; a locked cursor stays hidden.
  // Shown at the mouse when the mouse is over the view.
  void Show(bool Unlock);
  // With Lock the cursor is locked (after erasing it); an unlocked visible
  // cursor is erased.
  void Hide(bool Lock);
  // Erases the outline at the previous point and draws it at (X, Y), client
  // coordinates; outside the view it is only erased.
  void MoveTo(int X, int Y);

private:
  void Draw(int X, int Y);
  bool InView(int X, int Y) const;

  TMyCustomImage* FOwner;
  bool FVisible = false;
  bool FLocked = true;
  int FPrevX = -1, FPrevY = -1;
  TCursorExData FShape;
};
