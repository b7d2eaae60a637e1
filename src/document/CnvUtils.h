// Clipping the canvas of a bitmap to a rectangle: narrowing the current clip,
// or replacing it. Depends on platform/Canvas; used by the compositor (the
// paint buffer) and the selection control.
#pragma once

#include "platform/Canvas.h"
#include "platform/Types.h"

// The canvas's clip becomes its intersection with R; it stays in force until
// reset.
void ClipCanvas(TCanvas& Canvas, const TRect& R);
// The canvas's clip becomes R (cut to the bitmap), whatever it was.
void SetCanvasClip(TCanvas& Canvas, const TRect& R);
