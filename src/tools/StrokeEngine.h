// The frame every painting stroke shares, without widgets: the per-stroke
// state (target, snapshots, clip, stamp, spacing, pressure and fade), the
// walk of a mouse segment pixel by pixel, the Shift axis lock, the dirty
// rectangle, the confinement to a selection shape with its softened edge on
// release, the brush stamp applied along a segment and the intervals of the
// repeat timer. Depends on raster and this library's stamp engines; used by
// the palette's stroke tools (tools/ui), which add the mouse, the undo record
// and the view.
//
// A stroke changes StrokeTarget (and StrokeTargetMask when painting goes to
// the layer's mask too) inside StrokeClip; the snapshots are copies of those
// bitmaps taken before the stroke, which the confinement reads back. All
// points are in layer coordinates.
#pragma once

#include "platform/Bitmap.h"
#include "platform/Types.h"

#include <functional>
#include <memory>

// The pressure of a brush or clone slider position: 1..9 give 3, 5, 7, 10,
// 15, 22, 33, 50, 70 percent, any other position 100.
int TrackBarPressure(int Position);
// Stamp spacing in pixels: Round(Position * (2 * Size + 1) / 10), halves to
// even.
int BrushStep(int Size, int Position);
// The repeat timer's interval after TickCount ticks that painted: 537 ms
// before the first, then 333, 177, 88 and 37 ms from the fourth on.
int RepeatTimerInterval(int TickCount);

// Calls Proc(X, Y) for every pixel of the digital line from From up to, not
// including, To, then for To itself: the points one mouse segment stamps.
void WalkSegment(TPoint From, TPoint To, const std::function<void(int X, int Y)>& Proc);

// The rectangle spanned by A and B grown by MarginX and MarginY: what one
// mouse segment may have painted.
TRect SegmentRect(TPoint A, TPoint B, int MarginX, int MarginY);

struct TStrokeState {
  bool Drawing = false;
  TBitmap* Target = nullptr;
  TBitmap* TargetMask = nullptr;  // the layer's mask when painting goes to it too
  const TBitmap* Snapshot = nullptr;
  const TBitmap* MaskSnapshot = nullptr;
  TRect Clip{};                   // what the stroke may change
  // White (255) inside the selection's shape, 0 outside; none for a plain
  // rectangle or without a selection.
  std::unique_ptr<TBitmap> SelMask;
  TBitmap Stamp;                  // grey coverage: black paints fully
  TBitmap Texture;                // brush texture or "3D" stamp image
  TRect DirtyRect{};
  int RadiusX = 0, RadiusY = 0;
  TPoint LastPoint{}, LastStamp{};
  TColor Color = 0, Color2 = 0;
  int Pressure = 100;
  int Step = 0;
  int FadeStep = 0;
  int StampCount = 0;
  int AxisState = 0;              // 0 undecided, 1 horizontal, 2 vertical
  int ToolParam = 0;

  // The stroke begins at P: Drawing, DirtyRect (P, P), LastPoint and
  // LastStamp := P, the count and axis lock reset.
  void Start(TPoint P);
  // LastPoint := P; DirtyRect grows to include P (P may lie on its right or
  // bottom edge).
  void AddPoint(TPoint P);
  // Shift held during a move: the first move fixes the axis (vertical when
  // |dx| < |dy|, else horizontal) and P keeps LastPoint's other coordinate.
  void LockAxis(TPoint& P);
  // The spacing test: P lies within Step of LastStamp on both axes.
  bool WithinStep(TPoint P) const;
  // Pixels of R outside the selection's shape go back to the snapshots.
  void RestoreOutsideSelection(const TRect& R) const;
  // At the release: with Soften, the shape's edge around DirtyRect (grown by
  // 2) is grown by one pixel and feathered, the outside restored through the
  // softened mask; the rectangle so touched is returned (empty when none).
  // The mask is freed either way.
  TRect EndSelectionClip(bool Soften);
  // The stroke ends: DirtyRect grown by the margins and cut to Clip.
  TRect FinalRect(int MarginX, int MarginY) const;
  // Releases the bitmaps the stroke holds and clears Drawing.
  void Clear();
};

// One stamp of the brush at (X, Y): the "3D" image through the stamp when
// ToolParam is 1, else Color through the stamp with the optional texture.
void ApplyBrushStamp(TStrokeState& S, int X, int Y);
// A point of a brush segment: skipped within Step of the last stamp (Step
// 0 stamps every point), else stamped; every third stamp loses FadeStep of
// pressure.
void BrushLineStep(TStrokeState& S, int X, int Y);
