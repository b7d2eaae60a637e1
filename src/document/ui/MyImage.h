// TMyImage: the zoomable view with the drawing of a new selection by mouse:
// a shape dragged from corner to corner, a polygon drawn freehand or clicked
// point by point, a line with or without a width. While the user draws, an
// XOR rubber band is drawn into the view's backing bitmap and every step is
// reported through OnSelection. It also routes the mouse to its selection
// control (SelectionControl.h) when the control is hit, and scrolls with the
// arrow keys. Depends on the zoomable view (MyCustomImage.h) and the shape
// manager; the layered view derives from it.
#pragma once

#include "document/SelectionModel.h"
#include "document/ShapeManager.h"
#include "document/ui/MyCustomImage.h"

#include <functional>

class QMenu;
class TSelectionControl;

enum class TSelMode : uint8_t { smNone, smShape, smLine, smMoveLayer };

// Width in image pixels of ssLineWidth line selections; the tool palette
// writes it.
extern int SelLineWidth;

class TMyImage : public TMyCustomImage {
  Q_OBJECT
public:
  explicit TMyImage(QWidget* Parent = nullptr);
  ~TMyImage() override;

  TSelMode SelectionMode = TSelMode::smNone;
  // Polygons are clicked point by point instead of drawn freehand.
  bool MultiLine = false;
  // Shapes grow from the press point as their centre.
  bool OriginCenter = false;
  TMyShape SelShape() const { return FSelShape; }
  // Ignored while drawing, and for ssLine and ssLineWidth.
  void SetSelShape(TMyShape Value);
  TMyShape LineShape() const { return FLineShape; }
  // Only ssLine or ssLineWidth, and not while drawing.
  void SetLineShape(TMyShape Value);
  // A drawing is in progress (possibly paused).
  bool Selecting() const { return FSelecting > 1; }
  bool Paused() const { return FSelecting > 2; }
  // Pausing keeps the rubber band; resuming redraws it at the mouse.
  void SetPaused(bool Value);
  TShapeManager& ShapeManager() { return FShapeManager; }
  // Smallest width and height in client pixels of a valid shape.
  int MinSel() const { return FMinSel; }
  // The popup menu of the view (the selection control has its own).
  QMenu* PopupMenu = nullptr;

  // Every step of a drawing: soStart (empty rectangle at the press point),
  // soChanging, then soEnd or soNoValid; client coordinates.
  std::function<void(QObject* Sender, const TRect& R, TSelOption Option)> OnSelection;

  // The selection control over this view, or nullptr (set by the control).
  TSelectionControl* Sel() const { return FSel; }

  void MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y, bool Double) override;
  void MouseMove(Qt::MouseButtons Buttons, Qt::KeyboardModifiers Shift, int X, int Y) override;
  void MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y) override;
  bool KeyDown(int Key, Qt::KeyboardModifiers Shift) override;
  bool KeyUp(int Key, Qt::KeyboardModifiers Shift) override;
  void RepaintRect(TRect R) override;
  // The image under R repainted without the selection's outline (the
  // selection control erasing itself).
  void RepaintImageRect(const TRect& R) { TMyCustomImage::RepaintRect(R); }

protected:
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseMoveEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;
  void mouseDoubleClickEvent(QMouseEvent* Event) override;
  void contextMenuEvent(QContextMenuEvent* Event) override;
  bool CanPaintWindow() const override;
  void PaintOverImage(bool Full) override;
  void Scrolled(int DX, int DY) override;
  // Over the shown selection its own zone cursor applies.
  void UpdateCursor(int X, int Y) override;

private:
  friend class TSelectionControl;

  TMyShape CurrentShape() const { return SelectionMode == TSelMode::smShape ? FSelShape : FLineShape; }
  bool IsMultiLine() const { return MultiLine && CurrentShape() == ssPolygon; }
  bool ShowsOriginCross() const;
  TPoint ClampToImage(TPoint P) const;
  // Limits the rubber band to the image (and to the clip of a paint).
  void ClipToImage();
  bool NearFirstPoint(int X, int Y);
  void DrawOriginCross();
  void DrawBand(const TRect& R, TMyShape Shape, TShapeStyle Style);
  void DoSelection(const TRect& R, TSelOption Option);
  void MoveShape(int X, int Y, bool Shift);
  void ZoomedLineRect(TRect& R) const;
  void EraseShape();
  int AddPoint(int X, int Y, bool Draw);
  void MoveRubberLine(int X, int Y, bool Shift);
  void EraseRubberLine();
  void DeleteLastPoint();
  void RedrawSelecting(bool AddPt);
  bool IsValidSelection() const;
  void StartSelection(int X, int Y);
  void EndSelection(bool Closing);
  void CancelSelection();
  void RepaintBand(TRect R);
  void LockSelAnimation(bool Lock);
  // The selection control takes the mouse at P: it is visible and hit, or
  // a press on it is held.
  bool RoutesToSel(const QPoint& P) const;

  int FMinSel = 8;
  TPoint FPtOrigin;
  int FSelecting = 0;
  bool FShiftDown = false;
  TRect FLastRect;
  TPoint FPtLastLine;
  TShapeManager FShapeManager;
  TSelectionControl* FSel = nullptr;
  TMyShape FSelShape = ssRect;
  TMyShape FLineShape = ssLineWidth;
  bool FIgnorePopup = false;
  bool FMouseOnSel = false;
  TRect FBandClip;
};
