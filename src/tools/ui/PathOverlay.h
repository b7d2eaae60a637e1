// TPathOverlay: the vector path (TPathControl) shown in XOR over a picture
// and edited with the mouse: clicks add, insert, delete and reset vertices,
// drags move a vertex, a control point or the whole path, a double click
// turns a corner smooth and back, Control swaps adding and editing, Shift
// deletes, Escape puts a drag back, the arrows move the whole path in
// move-all mode. Every change is first offered to OnPathChangeInfo, which
// may refuse it or move its point (the curve dialogs keep their curves
// monotonic that way), and then reported through OnUpdating:
//   soStart when a drag begins, soChanging after every drag step and after
//   Escape undid one, soEnd when a drag ends (after soChanged when something
//   moved), soChanged after every other change.
// While a transformation is pending the mouse edits nothing; the keys work.
// The owner forwards its key events to KeyDown and KeyUp.
// Depends on the overlay base (OverlayControl.h) and the path model.
#pragma once

#include "document/SelectionModel.h"
#include "tools/ui/OverlayControl.h"

enum TPathMode : uint8_t { pmNone, pmAdd, pmDelete, pmEdit, pmReset, pmMoveAll };
enum TPathChangeInfo : uint8_t { piNone, piMove, piAdd, piInsert, piDelete, piAltern, piReset, piSelect };

// X and Y are client pixels for add, insert, delete, reset and altern, the
// new picture point for a move, zeros for a selection. Data is the grabbed
// part for a move (0 anchor, 1 first, 2 second control point) and the old
// current vertex for a selection.
using TPathChangeInfoEvent =
    std::function<void(QObject* Sender, TPathChangeInfo Info, int Index, int& X, int& Y, int Data, bool& Accept)>;
using TUpdatingEvent = std::function<void(QObject* Sender, TSelOption Option)>;

class TPathOverlay : public TOverlayControl, public TPathControl {
  Q_OBJECT
public:
  // Created hidden over Image's displayed picture, or over Area of a plain
  // widget whose pixels are the picture's.
  explicit TPathOverlay(TMyImage* Image);
  TPathOverlay(QWidget* Widget, const TRect& Area);
  explicit TPathOverlay(std::unique_ptr<TOverlayHost> Host);

  TUpdatingEvent OnUpdating;
  TPathChangeInfoEvent OnPathChangeInfo;

  TPathMode PathMode() const { return FPathMode; }
  // pmReset needs 2 vertices.
  void SetPathMode(TPathMode Value);
  bool HideControlPoints() const { return FHideControlPoints; }
  void SetHideControlPoints(bool Value);
  // Offered as piSelect first; a value outside the list is -1.
  void SetCurrentVertex(int Value) override;
  // Mouse downs and moves go on to the image view too.
  bool ImageMouseEvent = false;
  // Screen cursor indices by effective mode.
  int MoveCursor;
  int DragCursor;
  int AddCursor = 0;
  int DelCursor = 0;
  int ResetCursor = 0;

  bool DraggingVertices() const { return FDraggedVertex != -1; }
  // -1 none, -2 the whole path, else the vertex dragged.
  int DraggedVertex() const { return FDraggedVertex; }
  // The mode a click at the client point would act in: Control swaps adding
  // and editing, Shift deletes, a vertex under the point is grabbed in add
  // mode.
  TPathMode EffectiveMode() const;
  TPathMode ModeAt(int X, int Y) const;
  // The vertex under the client point (tolerance 7), -1 for none; Grabbed
  // tells what was hit: 0 the anchor, 1 or 2 a control point of the current
  // vertex (edit mode, Bezier mode, shown control points).
  int FindVertex(int X, int Y, int* Grabbed = nullptr) const;
  // The segment under the client point, by the vertex it starts from.
  int FindSegment(int X, int Y) const;

  // Keys forwarded by the owner (Qt key codes); Key is left as it came.
  void KeyDown(int& Key, Qt::KeyboardModifiers Shift);
  void KeyUp(int& Key, Qt::KeyboardModifiers Shift);
  // The whole path moved by the keyboard (move-all mode, no drag).
  void Move(int DX, int DY);

  void MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y, bool Double) override;
  void MouseMove(Qt::MouseButtons Buttons, Qt::KeyboardModifiers Shift, int X, int Y) override;
  void MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y) override;
  void DblClick() override;

protected:
  void DrawXor(TOverlayPen& Pen) const override;
  int CursorAt(int X, int Y) const override;
  void VisibleChanged() override;
  void EraseOverlay() override {}
  void DrawOverlay() override { update(); }
  bool Dragging() const override { return FDraggedVertex != -1; }
  void NotifyChanged() override;
  void Cleared() override;

private:
  void Notify(TSelOption Option);
  bool AcceptChange(TPathChangeInfo Info, int Index, int& X, int& Y, int Data);
  bool FarFromVertex(int I, int X, int Y) const;
  TPoint ClientAnchor(int I) const { return BmpToClient(AnchorPoint(I)); }
  bool ShowsControlPoints() const;
  // The vertex made for a click at the client point.
  TPathVertexData NewVertexAt(int X, int Y) const;
  void AddVertexAt(int X, int Y);
  void InsertVertexAt(int X, int Y);
  void DeleteVertexAt(int X, int Y);
  void ResetVertexAt(int X, int Y);
  void AlternVertexAt(int X, int Y);
  void StartDrag(int X, int Y, TPathMode Mode);
  void DragTo(int X, int Y);
  // The dragged point's position now and at the press.
  TPoint DraggedPoint() const;
  TPoint SavedPoint() const;
  void EndDrag();
  void CancelDrag();
  void SetModifiers(bool Ctrl, bool Shift);
  void DrawMarker(TOverlayPen& Pen, int I) const;
  void DrawSegment(TOverlayPen& Pen, int I) const;
  void DrawJoins(TOverlayPen& Pen) const;

  int FDraggedVertex = -1;
  int FFindInfo = 0;
  TPoint FStartPos;
  TPathVertexData FSaveVertex;
  TPathMode FPathMode = pmNone;
  bool FCtrlKeyDown = false;
  bool FShiftKeyDown = false;
  bool FHideControlPoints = false;
};
