// Selection masks: the current selection of the active image turned into
// pixels (masks of a rectangle, a layer or the whole image; hard,
// anti-aliased and feathered confinement masks; the outline painted on the
// layer) and selections made from pixels (the inverse, union and difference
// with a drawn shape, a magic-wand mask, a fringe band). Every selection made
// here is a bitmap shape traced from a mask. Depends on ShapeManager, the
// layered image, the undo records, the raster core and the filters (blur,
// negative); reaches the selection and the main window through the two small
// interfaces below.
//
// Two mask senses: selection masks of a rectangle are black (0) where the
// selection is and white (255) elsewhere (swapped when the caller asks for
// the inverse); confinement masks (MakeSelectionMask) are white where the
// selection is and black elsewhere, grey on soft edges, an inverted
// selection's outside being the selected part. Every bitmap made here is
// 24-bit.
#pragma once

#include "document/ShapeManager.h"

#include <QString>

#include <memory>

class TMyImageLayered;
class TUndoList;

// The selection of an image window as the masks read and change it. The
// selection control keeps this state and implements it; tests use a plain
// one.
class TSelectionState {
public:
  virtual ~TSelectionState() = default;
  virtual bool Visible() const = 0;
  virtual TMyShape Shape() const = 0;
  virtual void SetShape(TMyShape Value) = 0;
  // Bitmap (image) coordinates.
  virtual TRect BmpSelRect() const = 0;
  virtual void SetBmpSelRect(const TRect& Value) = 0;
  // The selection is everything outside the shape.
  virtual bool Invert() const = 0;
  virtual void SetInvert(bool Value) = 0;
  virtual TShapeManager& ShapeManager() = 0;
};

// What the masks need of the main window and its active image window. The
// main window implements it; tests use a small fake.
class TSelMaskHost {
public:
  virtual ~TSelMaskHost() = default;
  // The active window's selection and layered image; nullptr without one.
  virtual TSelectionState* Sel() = 0;
  virtual TMyImageLayered* Image() = 0;
  // The active window's undo list (its CurrentUndo is the record prepared
  // for the command under way); nullptr without one.
  virtual TUndoList* ListeUndo() = 0;
  // The image has more than 256 colours.
  virtual bool Mode16M() const = 0;
  // Copies of the current layer's bitmap and mask taken when the command's
  // undo record was prepared (MaskUndo empty when the layer has no mask).
  virtual TBitmap* BmpUndo() = 0;
  virtual TBitmap* MaskUndo() = 0;
  // The checked state of the menu items "no smoothing" and "progressive
  // contour" of the selection menu.
  virtual bool SelAucunLissage() const = 0;
  virtual bool SelContourProgressif() const = 0;
  // The view's own shape manager and SelShape: the shape just drawn with the
  // mouse.
  virtual TShapeManager* ViewShapeManager() = 0;
  virtual TMyShape ViewSelShape() const = 0;
  // Loads a fill pattern file: Pattern its pixels, PatternMask its mask
  // (left empty when it has none). False when it does not load.
  virtual bool LoadPattern(const QString& FileName, TBitmap& Pattern, TBitmap& PatternMask) = 0;
};

// The current layer's bitmap and mask, and the background (image-sized);
// nullptr when the host has no image or layer.
TBitmap* LeBitmap(TSelMaskHost& Host);
TBitmap* LeMasque(TSelMaskHost& Host);
TBitmap* LeFond(TSelMaskHost& Host);
// The current layer has a transparency mask.
bool HasAlpha(TSelMaskHost& Host);
// The work rectangle in current-layer coordinates, not clipped: the
// selection's bounds when it is visible and not inverted, the whole image
// when it is visible and inverted, the layer's bounds without a visible
// selection; (0, 0, 0, 0) without a layer.
TRect LaSelection(TSelMaskHost& Host);

// True when the selection is visible and not a plain rectangle (another
// shape, or inverted), or when Force is true.
bool SelectionNeedsMask(TSelMaskHost& Host, bool Force);
// A 24-bit bitmap of the current layer's size, white or black; nullptr
// without a layer.
std::unique_ptr<TBitmap> CreateLayerMaskBitmap(TSelMaskHost& Host, bool White);

// ---- The selection's shape drawn into a bitmap ----------------------------------
// Filled in Color fitted to R; anti-aliased with Smooth, except rectangles
// and bitmap shapes.
void DrawSelectionShape(TSelectionState& Sel, TBitmap& Bitmap, const TRect& R, TColor Color, bool Smooth);
// The outline Width pixels wide (at least 1) in Color fitted to R;
// anti-aliased with Smooth, except rectangles and bitmap shapes.
void DrawSelectionOutline(TSelectionState& Sel, TBitmap& Bitmap, const TRect& R, TColor Color, int Width, bool Smooth);
// As DrawSelectionShape; a bitmap shape with Smooth has its staircase edges
// softened.
void FillSelectionShape(TSelectionState& Sel, TBitmap& Bitmap, const TRect& R, TColor Color, bool Smooth);
// As DrawSelectionOutline; a bitmap shape with Smooth has its edges softened.
void OutlineSelectionShape(TSelectionState& Sel, TBitmap& Bitmap, const TRect& R, TColor Color, int Width, bool Smooth);

// ---- Selection masks (black selected, white elsewhere; swapped with Invert) --------
// Rect in current-layer coordinates, clipped to the layer; nullptr when
// nothing is left. A hidden selection stands for the whole layer.
std::unique_ptr<TBitmap> SelectionMaskOfRect(TSelMaskHost& Host, TRect Rect, bool Invert, bool Smooth);
std::unique_ptr<TBitmap> SelectionMaskOfLayer(TSelMaskHost& Host, bool Invert, bool Smooth);
// Rect in image coordinates, clipped to the image.
std::unique_ptr<TBitmap> SelectionMaskOfImageRect(TSelMaskHost& Host, TRect Rect, bool Invert, bool Smooth);
std::unique_ptr<TBitmap> SelectionMaskOfImage(TSelMaskHost& Host, bool Invert, bool Smooth);

// ---- Confining a change to the selection -------------------------------------------
// A confinement mask of the current layer's size: Mode 0 hard, 1 feathered
// (the selected part loses 9 pixels along its edge and gets a ramp about 9
// wide), 2 (and any other value) anti-aliased; nullptr without a layer.
std::unique_ptr<TBitmap> MakeSelectionMask(TSelMaskHost& Host, int Mode);
// After a change of the current layer: the current undo record's saved
// pixels come back outside the selection. Mode as above, lowered by the
// colour mode and the menu settings.
void BlendUndoOutsideSelection(TSelMaskHost& Host, int Mode, bool Flat);
// Paints the selection's outline on the current layer (and its mask when the
// command saved one) in Color or in the pattern of PatternFile; a hidden or
// inverted selection gets a frame along the layer's edge. The caller has
// prepared the undo record; it is re-captured when the outline reaches
// beyond the selection rectangle.
void DrawSelectionContour(TSelMaskHost& Host, TColor Color, int Width, bool Smooth, const QString& PatternFile);

// ---- Selections made from pixels ------------------------------------------------------
// Each returns the new selection rectangle in image coordinates: (0, 0, 0, 0)
// when no mask could be made, an empty rectangle when the trace found no
// pixel (Shape, BmpSelRect and Invert then stay as they were).
// The selection becomes its own inverse, traced (the caller sets the shape
// kind and clears Invert).
TRect InvertSelectionToShape(TSelMaskHost& Host);
// Adds (or with Subtract removes) the view's shape just drawn at R.
TRect MergeShapeIntoSelection(TSelMaskHost& Host, const TRect& R, bool Subtract);
// Bitmap: a current-layer-sized wand mask, dark = picked. Mode 0 replaces
// the selection, 1 adds, 2 subtracts.
TRect SetSelectionFromMask(TSelMaskHost& Host, const TBitmap& Bitmap, int Mode);
// The selection becomes a band Width pixels wide along its outline.
TRect MakeSelectionFringe(TSelMaskHost& Host, int Width);
