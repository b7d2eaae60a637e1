// TMyImageLayeredView: the view of a layered image. It owns the image model
// (TMyImageLayered), composites the visible part of the stack at the zoom
// into a paint buffer of the visible image's size (checkerboard under a
// transparent background, smoothing of an opaque reduced image, the
// current layer's outline, an overlay and the grid), copies it into the
// view's backing bitmap, and moves the current layer with the mouse and the
// arrow keys. Depends on the zoomable view (MyCustomImage.h), the model and
// its drawing routines (document/MyImageLayered.h, LayerUtils.h).
#pragma once

#include "document/DocumentServices.h"
#include "document/MyImageLayered.h"
#include "document/SelectionModel.h"
#include "document/ui/MyImage.h"

#include <memory>

enum TOverlayFx : uint8_t { ofxNone, ofxGray, ofxTransparent, ofxWhite, ofxBlack };

class TMyImageLayeredView : public TMyImage, public DocumentView {
  Q_OBJECT
public:
  explicit TMyImageLayeredView(QWidget* Parent = nullptr);
  ~TMyImageLayeredView() override;

  TMyImageLayered& Image() const { return *FImage; }
  const TBitmap* DisplayBitmap() const override { return &FImage->Bitmap(); }
  double ResolutionX() const override { return FImage->ResolutionX > 0 ? FImage->ResolutionX : 96.0; }
  const TBitmap& PaintBuffer() const { return FPaintBuffer; }

  // The image's comment: with UseMetaComment the text of the first comment
  // tag of the metadata (Windows-1252 there), else the document's own.
  bool UseMetaComment = false;
  QString Comment() const;
  void SetComment(const QString& Value);
  TMetadata& Metadata() const { return FImage->Metadata; }

  // ---- DocumentView
  void Invalidate() override;
  void RepaintBmpRect(const TRect& R) override { TMyCustomImage::RepaintBmpRect(R); }
  void RefreshCursor() override { TMyCustomImage::RefreshCursor(); }

  bool DisableLayersPainting = false;
  bool AutoSelectLayer = false;
  bool CheckLayerTranspOnSelect = false;
  // The cursor over a layer that can be moved (screen cursor index).
  int MoveLayerCursor = 0;
  void SetDrawLayerActiveBounds(bool Value);
  TOverlayFx OverlayFx() const { return FOverlayFx; }
  void SetOverlayFx(TOverlayFx Value);

  std::function<void(QObject* Sender, TSelOption Option)> OnMovingLayer;
  std::function<void(QObject* Sender, TLayerItem* Item)> OnAutoSelectLayer;

  // ---- Coordinates: the paint buffer (client minus PaintOffset) and the
  // current layer (image minus its position; the image itself without one).
  TPoint PaintOffset() const { return ::PaintOffset(ImgRect()); }
  TRect ClientRectToBuffer(const TRect& R) const { return Geometry().ClientRectToBuffer(R); }
  TRect BufferRectToClient(const TRect& R) const { return Geometry().BufferRectToClient(R); }
  TRect BmpRectToBuffer(const TRect& R) const { return Geometry().BmpRectToBuffer(R); }
  TRect BufferRectToBmp(const TRect& R) const { return Geometry().BufferRectToBmp(R); }
  TPoint ClientToLayer(TPoint P) const { return FImage->BmpToLayer(ClientToBmp(P)); }
  TRect ClientToLayer(const TRect& R) const { return FImage->BmpToLayer(ClientToBmp(R)); }
  TPoint LayerToClient(TPoint P) const { return BmpToClient(FImage->LayerToBmp(P)); }
  TRect LayerToClient(const TRect& R) const { return BmpToClient(FImage->LayerToBmp(R)); }
  bool PtInLayer(TPoint P) const;

  // ---- Moving layers
  TLayerItem* LayerAtPos(int X, int Y) const;
  void AutoSelectLayerAt(int X, int Y);
  bool CanMoveLayerAt(int X, int Y, bool CheckPoint) const;
  void MoveLayerTo(int X, int Y, bool Notify);
  int MoveState() const { return FImage->MoveState; }

  void MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y, bool Double) override;
  void MouseMove(Qt::MouseButtons Buttons, Qt::KeyboardModifiers Shift, int X, int Y) override;
  void MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y) override;
  bool KeyDown(int Key, Qt::KeyboardModifiers Shift) override;
  bool KeyUp(int Key, Qt::KeyboardModifiers Shift) override;

protected:
  void ResizePaintBuffer() override;
  void DrawImage(bool Full) override;
  // The move cursor over a layer that can be moved, else the view's choice.
  void UpdateCursor(int X, int Y) override;

private:
  void PaintLayers(TRect R);
  void DrawCompositeZoomed(const TRect& R);
  void DrawLayersZoomed(TRect R);
  void DrawMergedZoomed(const TRect& R);
  void DrawLayerZoomed(int Index, const TRect& R);
  void DrawTransparencyChecker(const TRect& R, int Opacity);
  void DrawActiveLayerBounds();
  void DrawOverlayFx(const TRect& R);
  void TrackLayerMove(TPoint Mouse, bool Shift);
  void DoMovingLayer(TSelOption Option);
  void ShiftChanged(bool Shift);

  std::unique_ptr<TMyImageLayered> FImage;
  TBitmap FPaintBuffer;
  TOverlayFx FOverlayFx = ofxNone;
  TPoint FPtOrigin;
  TPoint FLayerOrigin;
  TPoint FLastMouse;
  bool FShiftDown = false;
};
