// TSelectionModel: the selection of an image window as data: its rectangle in
// bitmap coordinates, its shape kind, its outline (TShapeManager), whether it
// is inverted or shown, and the rules that change them (moves, resizes,
// flips and quarter turns, the drag of a handle). The selection control
// (document/ui/SelectionControl.h) derives from it and adds the drawing, the
// mouse and the keys; the selection masks and tests use it alone. Depends on
// the shape manager, the view geometry and the rectangle helpers.
#pragma once

#include "document/SelMask.h"
#include "document/ShapeManager.h"
#include "document/ViewGeometry.h"

#include <cstdint>
#include <functional>

enum TSelOption : uint8_t { soStart, soChanging, soEnd, soChanged, soNoValid };

// The hit zones of a selection: handles 0..7 clockwise from the top-left
// corner (corners even, edges odd), 8 the inside (moving), -1 nothing.
enum : int {
  pcTopLeft = 0,
  pcTop = 1,
  pcTopRight = 2,
  pcRight = 3,
  pcBottomRight = 4,
  pcBottom = 5,
  pcBottomLeft = 6,
  pcLeft = 7,
  pcMove = 8,
  pcNone = -1
};

// The zone of (X, Y) in a W x H selection whose resize bands are Border
// pixels wide; without Resize the whole selection is pcMove (when Move) or
// pcNone.
int SelHitZone(int X, int Y, int W, int H, int Border, bool Resize, bool Move);
// The shape kind after a flip or turn (the codes of TShapeManager::Transform):
// triangles change their direction, every other kind stays.
TMyShape TransformedShape(TMyShape Shape, int Flag);
// The animation level of an outline of Count points: 1 up to 737 points,
// then 2, 3, 4 and 5 above 737, 3737, 7373 and 37373.
int SelAnimationLevel(int Count);

// What a drag of a handle or of the inside needs of the view.
struct TSelDragContext {
  TViewGeometry View;
  // Smallest side in view pixels: the view's minimum selection size.
  int MinSel = 8;
  // Grid step in bitmap pixels for snapping, 0 for none.
  double Grid = 0;
};

class TSelectionModel : public TSelectionState {
public:
  TSelectionModel() = default;

  // ---- TSelectionState
  bool Visible() const override { return FVisible; }
  TMyShape Shape() const override { return FShape; }
  // ssLine, ssLineWidth and ssPolyline become ssRect; notifies soChanged.
  void SetShape(TMyShape Value) override;
  TRect BmpSelRect() const override { return FBmpRect; }
  // An empty rectangle is ignored; with CheckBounds the rectangle is cut to
  // the bitmap. Notifies soChanging during a drag, else soChanged.
  void SetBmpSelRect(const TRect& Value) override;
  bool Invert() const override { return FInvert; }
  void SetInvert(bool Value) override { FInvert = Value; }
  TShapeManager& ShapeManager() override { return FShapeManager; }

  virtual void SetVisible(bool Value) { FVisible = Value; }
  // Keep the rectangle inside the bitmap (the program leaves it off).
  bool CheckBounds = false;
  bool CanResizeSel = true;
  bool CanMoveSel = true;
  // Resizing keeps the proportions (Shift swaps the rule).
  bool AspectRatio = false;
  // 0 idle, 1 pressed on the selection, 2 dragging.
  int Updating() const { return FUpdating; }
  bool UpdatingSel() const { return FUpdating == 2; }

  // The bitmap's rectangle (0, 0, width, height) for CheckBounds.
  virtual TRect BitmapRect() const { return FBitmapRect; }
  void SetBitmapRect(const TRect& R) { FBitmapRect = R; }

  // By (DX, DY) bitmap pixels; nothing during a drag, when moving is not
  // allowed, or for (0, 0).
  void MoveSel(int DX, int DY);
  // The right and bottom edges by (DX, DY); nothing during a drag or when
  // resizing is not allowed.
  void ResizeSel(int DX, int DY);
  // 0 flip top to bottom, 1 mirror, 2 turn clockwise, 3 counter-clockwise,
  // 4 half a turn: the shape, its outline and, for quarter turns, the
  // rectangle (top-left kept, width and height swapped).
  virtual void Transform(int Flag);

  // The rectangle a drag of zone PosCode gives when the mouse moved by Delta
  // view pixels from where the drag began at StartBmpRect (Algorithms of the
  // drag: move or edges, minimum size, fixed sides, grid, proportions with
  // Shift against AspectRatio, bitmap bounds).
  TRect DragRect(int PosCode, TPoint Delta, bool Shift, const TRect& StartBmpRect,
                 const TSelDragContext& Context) const;

  // Every change: soStart, soChanging, soChanged, soEnd.
  std::function<void(TSelectionModel* Sender, TSelOption Option)> OnUpdating;

protected:
  virtual void Notify(TSelOption Option);
  // The rectangle changed: the control follows it (bounds, cursor).
  virtual void BmpSelRectChanged() {}
  // Stores the rectangle and notifies, without the checks of SetBmpSelRect.
  void StoreBmpSelRect(const TRect& R);

  int FUpdating = 0;

private:
  TShapeManager FShapeManager;
  TRect FBmpRect;
  TRect FBitmapRect{0, 0, 0, 0};
  TMyShape FShape = ssRect;
  bool FInvert = false;
  bool FVisible = false;
};
