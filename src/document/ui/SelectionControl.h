// TSelectionControl: the selection of an image window shown over its view:
// the outline as marching ants moved by a timer, the bounding rectangle and
// handles of non-rectangular shapes, an animated frame around the image when
// the selection is inverted; moving and resizing with the mouse, nudging
// with the arrow keys, flips and turns, every change reported through
// OnUpdating. Mouse events that miss it go to the view. Its state and rules
// are TSelectionModel's; it draws into the view's backing bitmap. Depends on
// the view (MyImage.h), the selection model and the screen cursor table.
#pragma once

#include "document/SelectionModel.h"
#include "raster/ui/FoncUtils.h"

#include <QCursor>
#include <QObject>
#include <QTimer>

class QMenu;
class TMyImage;

// Parts of the drawing.
enum : int {
  sdOutline = 1, // the shape's outline
  sdBounds = 2,  // the bounding rectangle (XOR)
  sdFrame = 4,   // the frame around the image of an inverted selection
  sdAnimate = 8, // the outline advances its dashes
  sdShow = 16,   // erasing shows the result at once
};

class TSelectionControl : public QObject, public TSelectionModel {
  Q_OBJECT
public:
  // Created hidden over Image, which points back to it.
  explicit TSelectionControl(TMyImage* Image);
  ~TSelectionControl() override;

  TMyImage* Image() const { return FImage; }
  // The selection rectangle in the view's client coordinates.
  TRect BoundsRect() const;
  // The bounds last shown become BmpSelRect at the view's present zoom and
  // scroll position, without notification: the view calls it whenever it
  // has drawn the selection anew after its geometry changed, so that the
  // next change repaints where the outline really is.
  void ResetBounds();
  // Between the selection's own coordinates (its top-left corner at (0, 0))
  // and the view's client coordinates.
  TRect ClientToParent(const TRect& R) const;
  TRect ParentToClient(const TRect& R) const;
  TPoint ClientToParent(TPoint P) const;
  TPoint ParentToClient(TPoint P) const;

  // ---- TSelectionState / TSelectionModel
  void SetVisible(bool Value) override;
  void SetShape(TMyShape Value) override;
  void SetInvert(bool Value) override;
  void Transform(int Flag) override;

  bool ShowBorder() const { return FShowBorder; }
  void SetShowBorder(bool Value);
  bool ShowBounds() const { return FShowBounds; }
  void SetShowBounds(bool Value);
  // Every mouse event passes through to the view.
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  bool Animated() const { return FAnimated; }
  void SetAnimated(bool Value);
  // Mouse moves over the selection also go to the view.
  bool ImageMouseMove = false;
  TColor BorderColor1 = clWhite;
  TColor BorderColor2 = clBlack;
  // The cursor over the inside of the selection (screen cursor index).
  int MoveCursor = crSizeAll;
  QMenu* PopupMenu = nullptr;
  std::function<void(TSelectionControl* Sender)> OnDblClick;
  // The mouse on the selection (its own coordinates), after the control's
  // own handling; a miss goes to the view instead.
  using TSelMouseEvent =
      std::function<void(TSelectionControl* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y)>;
  TSelMouseEvent OnMouseDown;
  TSelMouseEvent OnMouseUp;
  std::function<void(TSelectionControl* Sender, Qt::MouseButtons Buttons, Qt::KeyboardModifiers Shift, int X, int Y)>
      OnMouseMove;

  // The hit zone under the mouse (pcTopLeft .. pcMove, pcNone).
  int PosCode() const { return FPosCode; }
  bool IsAnimating() const { return FTimer.isActive(); }
  int AnimationInterval() const { return FTimer.interval(); }

  // Draws the outline and the bounds (not during a drag).
  void Paint();
  // The parts of Flags drawn, or erased (the image drawn again under them).
  void DrawParts(int Flags);
  void EraseParts(int Flags);
  // The view chooses its cursor again, this control's zone cursor included.
  void RefreshCursor();
  // When the client point P lies on the shown selection (or a press on it is
  // held), the view gets the zone cursor there; false otherwise.
  bool ShowZoneCursorAt(TPoint P);
  // Takes the outline and shape the view just drew with the mouse.
  void AssignImageShape();
  // Each true must be matched by a false; the animation stops while locked.
  void LockAnimation(bool Lock);
  // P in the selection's own coordinates (client minus the bounds' corner).
  bool PtInShape(TPoint P);

  // ---- Mouse, in the selection's own coordinates (the view routes them)
  // True when the press hit the selection (a miss goes to the view).
  bool MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y, bool Double);
  void MouseMove(Qt::MouseButtons Buttons, Qt::KeyboardModifiers Shift, int X, int Y);
  void MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
  void DblClick();
  // Keys the main window forwards; true when used.
  bool KeyDown(int Key, Qt::KeyboardModifiers Shift);
  bool KeyUp(int Key, Qt::KeyboardModifiers Shift);

protected:
  void BmpSelRectChanged() override;

private:
  int FilterParts(int Flags) const;
  void DrawPartsClipped(int Flags, const TRect& Clip);
  TRect ImageClip() const;
  void UpdateAnimation();
  void TimerTick();
  void UpdateZone(int X, int Y);
  QCursor ZoneCursor(int Code) const;
  bool ResizeOffered() const;
  void StartDrag();
  void FollowDrag(TPoint P, bool Shift);
  void DrawOutside(int Flags);
  void EndDrag();
  void CancelDrag();
  void RepaintAround(const TRect& A, const TRect& B);

  TMyImage* FImage;
  QTimer FTimer;
  bool FCreated = false;
  bool FShowBorder = true;
  bool FShowBounds = false;
  bool FTransparent = false;
  bool FAnimated = true;
  bool FShiftDown = false;
  bool FTimerProcessing = false;
  int FPosCode = pcNone;
  int FMouseBorder = 4;
  int FLockAnimation = 0;
  // Where the press was, view client coordinates.
  TPoint FPtOrigin;
  TRect FStartBmpRect;
  // The bounds last shown, to repaint what the outline leaves.
  TRect FShownBounds;
  TPoint FLastMouse;

  friend class TMyImage;
};
