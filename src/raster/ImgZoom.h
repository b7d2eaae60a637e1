// Zoomed drawing: a bitmap scaled by a zoom factor into a region of a canvas,
// with fit modes and anchors (TImageZoom), and the drawing routine itself
// (DrawZoomedBitmap). Depends on platform (TCanvas) and raster/RectUtils; the
// drawing onto a widget or printer through a QPainter is raster/ui/ImgZoom.h.
#pragma once

#include "platform/Bitmap.h"
#include "raster/Pixels.h"

#include <cstdint>

enum TAjustement : uint8_t {
  ajNone,        // zoom 1
  ajWidth,       // fit the region's width
  ajHeight,      // fit the region's height
  ajWidthHeight, // fit inside the region
  ajManual,      // the zoom as set
};

enum TMoveDirection : uint8_t { mdLeft, mdRight, mdUp, mdDown };

// The zoom that fits Bitmap to Rect by Mode; 0 for a missing or empty bitmap
// or an empty rectangle, 1 for ajNone and ajManual.
double FitZoomRatio(const TBitmap* Bitmap, const TRect& Rect, TAjustement Mode);

// Where one zoomed drawing goes, shared by the canvas and the painter targets.
struct TZoomPlan {
  TRect Dest;        // canvas rectangle the source is stretched onto
  TRect Source;      // bitmap rectangle drawn
  bool ClipToRegion; // Dest was aligned to whole source pixels and may pass the region
  TRect Covered;     // Dest within the region: what the drawing covers
  TRect Bands[4];    // the region around Dest: above, below, left, right (may be empty)
};

// The plan of drawing Bitmap with its top-left corner at (X, Y) of the canvas
// and the given zoom into Region. False when the image misses the region
// (then only the erasing of the region is left to do).
bool PlanZoomedDrawing(const TBitmap& Bitmap, const TRect& Region, int X, int Y, double Zoom, bool AdjustDraw,
                       bool IsPrinter, TZoomPlan& Plan);

// Draws Bitmap zoomed into Region of Canvas and returns the canvas rectangle
// it covers ((0, 0, 0, 0) when nothing). Erase fills the rest of Region with
// the canvas brush. Optimized stretches by halftone (opaque bitmaps only);
// AdjustDraw (zoom above 1, not on a printer) aligns the drawing to whole
// source pixels and narrows the canvas clip to Region, which stays so after
// the call. A transparent bitmap leaves its transparent colour out, except
// on a printer. The canvas's stretch mode is left as the drawing set it.
TRect DrawZoomedBitmap(const TBitmap* Bitmap, TCanvas* Canvas, const TRect& Region, int X, int Y, double Zoom,
                       bool Erase, bool Optimized, bool AdjustDraw, bool IsPrinter);

// The drawing state of a zoomed bitmap: it keeps the zoom, the displayed size
// and the position consistent whenever the bitmap, target, region, fit mode
// or zoom change. It holds references only: the owner keeps the bitmap and
// the canvas alive and sets Canvas again when the target changes.
class TImageZoom {
public:
  // Recomputes the zoom (by the fit mode, when the region is not empty), the
  // displayed size and the position.
  void Update();
  // Recomputes X and Y from the anchor (not for poManual, without a bitmap or
  // with an empty region); an image larger than the region gets a negative
  // offset and is shown cut.
  void UpdatePosition();

  const TBitmap* Bitmap() const { return FBitmap; }
  void SetBitmap(const TBitmap* Value);
  TCanvas* Canvas() const { return FCanvas; }
  // The region becomes the canvas's clip rectangle, empty for none.
  void SetCanvas(TCanvas* Value);
  TRect Region() const { return FRegion; }
  void SetRegion(const TRect& Value);
  TAjustement Ajustement() const { return FAjustement; }
  void SetAjustement(TAjustement Value);
  double Zoom() const { return FZoom; }
  // 0 or less (or not a finite number) becomes 1; the fit mode becomes
  // ajManual in every case.
  void SetZoom(double Value);
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition Value);
  int X() const { return FX; }
  int Y() const { return FY; }
  // Store the position and switch the anchor to poManual; nothing is drawn.
  void SetX(int Value);
  void SetY(int Value);
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // The displayed size, the zoom derived from it (ajManual); ignored without
  // a bitmap, for an empty bitmap, for 0 or less, or when unchanged.
  void SetWidth(int Value);
  void SetHeight(int Value);

  bool Optimized = false;       // stretch by halftone
  bool AdjustDraw = false;      // align enlargements to whole source pixels
  bool IsPrinterCanvas = false; // the canvas belongs to a printer

  TRect ImageRect() const { return {FX, FY, FX + FWidth, FY + FHeight}; }
  bool CanDraw() const { return FBitmap && FCanvas; }
  // Draws onto the canvas; the covered rectangle, empty without a bitmap or
  // canvas.
  TRect Draw(bool Erase);
  // Scrolls the image inside the region, only while it overhangs it and
  // never so far that a gap opens on the side it moves away from; draws and
  // returns the covered rectangle, or the empty rectangle when nothing moved.
  TRect Move(int DX, int DY, bool Erase);
  // Whether the image overhangs the region on the side it would move from.
  bool CanMove(TMoveDirection Direction) const;

private:
  const TBitmap* FBitmap = nullptr;
  TCanvas* FCanvas = nullptr;
  TRect FRegion;
  int FX = 0;
  int FY = 0;
  double FZoom = 1.0;
  int FWidth = 0;
  int FHeight = 0;
  TAjustement FAjustement = ajNone;
  TPosition FPosition = poTopLeft;
};
