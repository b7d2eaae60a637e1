// The geometry of the zoomable image view without a display: where the
// zoomed image lies in the client area, the conversions between client,
// image and paint-buffer coordinates, the conversion error margin, the grid
// step and its lines, the scroll ranges, and the snapping and axis rules of
// a layer move. Depends on platform types and rounding; used by the view
// widgets (document/ui) and tested alone.
#pragma once

#include "platform/Types.h"

#include <vector>

// One state of the view: the image's size in pixels, the zoom and the client
// rectangle of the zoomed image (ImgRect, which may pass the client area).
struct TViewGeometry {
  int W = 0; // bitmap width
  int H = 0; // bitmap height
  double Zoom = 1.0;
  TRect ImgRect;

  // Client point to bitmap point; the last client column and row of ImgRect
  // give the last bitmap column and row, whatever the zoom.
  TPoint ClientToBmp(TPoint P) const;
  TPoint BmpToClient(TPoint P) const;
  // Rectangles; a right or bottom edge on the image's edge maps to the other
  // space's edge exactly.
  TRect ClientToBmp(const TRect& R) const;
  TRect BmpToClient(const TRect& R) const;
  // The rectangle grown by the conversion error margin (ErrorMargin).
  TRect CheckErrorConversion(const TRect& R) const;
  // 2, or Ceil(1 / Zoom) + 1 below zoom 1.
  int ErrorMargin() const;

  // The paint buffer covers the visible image only: its coordinates are
  // client coordinates minus PaintOffset(ImgRect).
  TRect ClientRectToBuffer(const TRect& R) const;
  TRect BufferRectToClient(const TRect& R) const;
  // BmpToClient then into the buffer; out of the buffer then ClientToBmp.
  TRect BmpRectToBuffer(const TRect& R) const;
  TRect BufferRectToBmp(const TRect& R) const;
};

// The zoomed size of an image side, at least 1 for a non-empty side.
int ZoomedSize(int Size, double Zoom);

// The zoom a view takes: values of 0 or below, and values that are not
// finite numbers, become 1.
double ValidZoom(double Zoom);

// A frame shadow size outside 0..12 becomes 0.
int ValidShadowSize(int Size);

// The grid step in bitmap pixels: GridWidth for unit 0, the horizontal
// resolution / 2.54 for unit 1 (centimetres), the resolution for any other
// unit (inches).
double CalcGridWidth(int GridWidth, int GridUnit, double ResolutionX);

// The grid is drawn only when its screen step, Trunc(G x Zoom), is 2 pixels
// or more; a step of 0 or below (or not finite) is never drawn.
bool GridVisible(double G, double Zoom);

// A position snapped to the grid: Trunc(Trunc(V / G) x G); V itself when the
// step is 0 or below.
int SnapToGrid(int V, double G);

// The client positions of the grid lines of one axis: for v = G, 2G ... below
// Size, those within the bitmap range [BLow, BHigh], mapped to the client as
// Round(Trunc(Trunc((v + 0.33) / G) x G) x Zoom + Origin). No line at 0 or at
// Size. Nothing when the grid is not visible.
std::vector<int> GridLinePositions(double G, double Zoom, int Size, int Origin, int BLow, int BHigh);

// The grid lines of a view: vertical lines at X positions and horizontal
// lines at Y positions, each line spanning ImgRect plus one step (the ends
// that GridPoint gives for W + G and H + G).
struct TGridLines {
  std::vector<int> X;
  std::vector<int> Y;
  int Left = 0, Top = 0, Right = 0, Bottom = 0; // the span of the lines
};
// Lines for the client rectangle Clip (already shifted into client
// coordinates of the image).
TGridLines CalcGridLines(const TViewGeometry& V, double G, const TRect& Clip);

// Scroll extent of one axis: zoomed size + 2 x Marge; and the largest scroll
// position a scroll bar with Page visible pixels takes.
int ScrollExtent(int ZoomedSize, int Marge);
int ScrollMaximum(int Extent, int Page);

// The zoomed image's top-left: Marge - position, or centred on an axis
// without scroll bar when Centered (Client - Zoomed) div 2.
int ImagePos(int Marge, int ScrollPos, bool Centered, bool BarVisible, int ClientSize, int ZoomedSize);

// The paint buffer's offset in the client: (max(0, ImgRect.Left),
// max(0, ImgRect.Top)).
TPoint PaintOffset(const TRect& ImgRect);

// The mouse position of a layer drag kept to one axis (Shift): the axis that
// moved less from Origin keeps Origin's value; a perfect diagonal keeps X.
TPoint ConstrainToAxis(TPoint P, TPoint Origin);

// The position of a dragged layer: LayerOrigin + P - PtOrigin, each
// coordinate snapped to the grid when GridAlign.
TPoint DraggedLayerPos(TPoint LayerOrigin, TPoint PtOrigin, TPoint P, bool GridAlign, double G);

// The nudge of an arrow key: 1 pixel, 8 with Shift or Caps Lock.
int NudgeStep(bool ShiftOrCapsLock);

class TBitmap;
// The transparency checkerboard tile: 2N x 2N white, with the N x N squares
// at the top left and the bottom right in 0xC3C3C3; 24-bit. N below 1
// counts as 1.
void CreateCheckerBitmap(int N, TBitmap& Tile);
