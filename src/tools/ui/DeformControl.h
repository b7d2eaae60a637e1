// TDeformControl: the frame of a layer being scaled or distorted, eight
// handles (four corners, four edge midpoints) drawn in XOR over the picture
// and dragged with the mouse, alone or as a whole frame. In scale mode the
// frame stays an axis-aligned rectangle, keeping its width/height ratio
// (Shift suspends the ratio when it is kept and imposes it when it is not);
// in distort mode the corners move freely and an edge handle moves both
// corners of its edge. Escape puts a drag back, the arrows move the frame
// (8 pixels with Shift). It only edits and reports the frame (OnUpdating,
// as the path editor); its owner turns it into the layer's transformation
// and confirms on a double click inside the frame (OnDblClick).
// Depends on the overlay base (OverlayControl.h).
#pragma once

#include "tools/ui/OverlayControl.h"

#include <array>

// 0 top-left, 1 top-right, 2 bottom-right, 3 bottom-left corner, then the
// midpoints 4 top, 5 right, 6 bottom, 7 left; picture pixels. The corners of
// a rectangle are (Left, Top), (Right, Top), (Right, Bottom), (Left, Bottom),
// right and bottom exclusive.
using TVerticesArray = std::array<TPoint, 8>;
using TDeformBoxArray = std::array<TPoint, 4>;

enum class TDeformMode : uint8_t { vmScale, vmDistort };

class TDeformControl : public TOverlayControl {
  Q_OBJECT
public:
  // Created hidden over Image's displayed picture.
  explicit TDeformControl(TMyImage* Image);
  explicit TDeformControl(std::unique_ptr<TOverlayHost> Host);

  int MoveCursor;
  int DragCursor;
  TDeformMode DeformMode = TDeformMode::vmScale;
  // Mouse moves go on to the image view too.
  bool ImageMouseMove = false;
  // Keep the ratio taken by InitVertices in scale mode.
  bool AspectRatio = true;

  // The frame becomes R; with InitRatio its ratio (width - 1) / (height - 1)
  // is kept from now on (none for a rectangle one pixel wide or high).
  void InitVertices(const TRect& R, bool InitRatio);
  const TVerticesArray& Vertices() const { return FVertices; }
  void GetVertices(TDeformBoxArray& Points) const;
  double Ratio() const { return FRatio; }
  // The smallest and largest corner coordinates.
  TRect BmpBounds() const;
  bool DraggingVertices() const { return FDraggedVertex != -1; }
  // The handle under the client point (within 7 pixels), -1 for none.
  int FindHandle(int X, int Y) const;
  // The client point lies inside the frame.
  bool InsideFrame(int X, int Y) const;

  // Keys forwarded by the owner (Qt key codes).
  void KeyDown(int& Key, Qt::KeyboardModifiers Shift);
  void KeyUp(int& Key, Qt::KeyboardModifiers Shift);
  // The whole frame moved by the keyboard (not during a drag).
  void Move(int DX, int DY);

  void MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y, bool Double) override;
  void MouseMove(Qt::MouseButtons Buttons, Qt::KeyboardModifiers Shift, int X, int Y) override;
  void MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y) override;
  void DblClick() override;

protected:
  void DrawXor(TOverlayPen& Pen) const override;
  int CursorAt(int X, int Y) const override;
  void VisibleChanged() override;

private:
  // Every handle at its position at the press plus (DX, DY).
  void Translate(int DX, int DY);
  void SetCorner(int I, TPoint P) { FVertices[size_t(I)] = P; }
  void ComputeMidpoints();
  void DragFrame(int X, int Y, bool CheckMoved);
  // soChanged when the frame moved, then soEnd.
  void EndDrag();
  void ScaleDrag(int Handle, int DX, int DY);
  // The handle whose position tells whether the frame moved.
  int WatchedHandle() const { return FDraggedVertex == -2 ? 0 : FDraggedVertex; }
  void ShiftChanged(bool Shift);

  TVerticesArray FVertices{};
  TVerticesArray FSaveVertices{};
  bool FShiftDown = false;
  int FDraggedVertex = -1;
  TPoint FInitPos;
  double FRatio = 0;
};
