// The base of the editing overlays laid over a picture (the path editor, the
// distortion frame): a transparent child widget covering the picture's
// displayed rectangle, drawing in XOR over what its host shows, mapping its
// client pixels to the picture's pixels, choosing its cursor by the point and
// turning the platform's mouse events into the press, move, release and
// double-click handling the overlays override. It takes no keyboard focus:
// its owner forwards the keys.
//
// The host is reached through TOverlayHost: TImageOverlayHost for an image
// view (its viewport is the parent, its zoom and scrolling the mapping, its
// grid the snapping), TWidgetOverlayHost for a plain widget of a dialog
// whose pixels are the picture's (a curve graph).
// Depends on the image view (document/ui/MyImage.h), the path model's view
// seam (tools/PathControl.h) and the screen cursor table.
#pragma once

#include "document/ui/MyImage.h"
#include "tools/PathControl.h"

#include <QWidget>

#include <functional>
#include <memory>

class QMenu;

// What an overlay needs of the widget it lies on. Host coordinates are the
// host widget's client pixels.
class TOverlayHost : public TPathView {
public:
  virtual QWidget* Widget() const = 0;
  // Where the picture is shown, host coordinates; the overlay covers it.
  virtual TRect ImgRect() const = 0;
  virtual TPoint HostToBmp(TPoint P) const = 0;
  virtual TPoint BmpToHost(TPoint P) const = 0;
  // The overlay's mouse handed on to the host (host coordinates).
  virtual void PassMouseDown(Qt::MouseButton, Qt::KeyboardModifiers, int, int) {}
  virtual void PassMouseMove(Qt::KeyboardModifiers, int, int) {}
};

// An image view: the overlay lies on its viewport.
class TImageOverlayHost : public TOverlayHost {
public:
  explicit TImageOverlayHost(TMyImage* Image) : FImage(Image) {}
  TMyImage* Image() const { return FImage; }
  QWidget* Widget() const override;
  TRect ImgRect() const override { return FImage->ImgRect(); }
  TPoint HostToBmp(TPoint P) const override { return FImage->ClientToBmp(P); }
  TPoint BmpToHost(TPoint P) const override { return FImage->BmpToClient(P); }
  void PassMouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y) override {
    FImage->MouseDown2(Button, Shift, X, Y);
  }
  void PassMouseMove(Qt::KeyboardModifiers Shift, int X, int Y) override { FImage->MouseMove2(Shift, X, Y); }
  int ImageWidth() const override;
  int ImageHeight() const override;
  // The grid cell while grid alignment is on.
  double GridStep() const override { return FImage->GridAlign ? FImage->CalcGridWidth() : 0; }

private:
  TMyImage* FImage;
};

// A plain widget: the picture's pixels are the widget's pixels inside Area
// (its top-left is picture pixel (0, 0)), no grid.
class TWidgetOverlayHost : public TOverlayHost {
public:
  TWidgetOverlayHost(QWidget* Widget, const TRect& Area) : FWidget(Widget), FArea(Area) {}
  QWidget* Widget() const override { return FWidget; }
  TRect ImgRect() const override { return FArea; }
  TPoint HostToBmp(TPoint P) const override { return {P.X - FArea.Left, P.Y - FArea.Top}; }
  TPoint BmpToHost(TPoint P) const override { return {P.X + FArea.Left, P.Y + FArea.Top}; }
  int ImageWidth() const override { return FArea.Width(); }
  int ImageHeight() const override { return FArea.Height(); }

private:
  QWidget* FWidget;
  TRect FArea;
};

// The XOR pen of the overlays ($FFD8CE, one pixel, no fill) over a canvas
// whose pixel (0, 0) is client pixel Origin.
class TOverlayPen {
public:
  TOverlayPen(TCanvas& Canvas, TPoint Origin);
  // A 7 x 7 square outline centred on P.
  void Handle(TPoint P);
  // A 7 x 7 circle outline centred on P.
  void Circle(TPoint P);
  // From A up to B, B left out.
  void Line(TPoint A, TPoint B);
  // Every other pixel from A up to B.
  void DottedLine(TPoint A, TPoint B);
  void Bezier(TPoint P0, TPoint P1, TPoint P2, TPoint P3);

private:
  TPoint At(TPoint P) const { return {P.X - FOrigin.X, P.Y - FOrigin.Y}; }
  TCanvas& FCanvas;
  TPoint FOrigin;
};

// The colour every overlay XORs with.
inline constexpr TColor OverlayXorColor = 0xFFD8CE;

class TOverlayControl : public QWidget {
  Q_OBJECT
public:
  ~TOverlayControl() override;

  TOverlayHost& Host() const { return *FHost; }
  // The bounds follow the picture again; the owner calls it after every
  // scroll, zoom or resize of the host.
  void ReAlign();
  // Client pixels and the picture's pixels.
  TPoint ClientToBmp(TPoint P) const;
  TPoint BmpToClient(TPoint P) const;
  TRect ClientToBmp(const TRect& R) const;
  TRect BmpToClient(const TRect& R) const;
  // The cursor chosen again for the mouse, when visible and under it.
  void RefreshCursor();

  QMenu* PopupMenu = nullptr;
  // The mouse on the overlay (client coordinates), after its own handling.
  using TMouseEvent =
      std::function<void(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y)>;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  std::function<void(QObject* Sender, Qt::MouseButtons Buttons, Qt::KeyboardModifiers Shift, int X, int Y)> OnMouseMove;
  std::function<void(QObject* Sender)> OnDblClick;

  // The XOR drawing of the client rectangle Area as a 32-bit bitmap: 0 where
  // nothing is drawn, the XOR colour where the overlay inverts. What a paint
  // XORs over the host.
  void XorDrawing(const TRect& Area, TBitmap& B) const;

  // ---- The handling of the platform's events, in client coordinates; each
  // ends with the event above. Double is set for the second press of a
  // double click.
  virtual void MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y, bool Double);
  virtual void MouseMove(Qt::MouseButtons Buttons, Qt::KeyboardModifiers Shift, int X, int Y);
  virtual void MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
  virtual void DblClick();

protected:
  // Created hidden over the host's picture.
  explicit TOverlayControl(std::unique_ptr<TOverlayHost> Host);
  // The whole overlay drawn with Pen (client coordinates).
  virtual void DrawXor(TOverlayPen& Pen) const = 0;
  // The screen cursor index for a client point.
  virtual int CursorAt(int X, int Y) const = 0;
  // The overlay was shown or hidden.
  virtual void VisibleChanged() {}
  // The mouse position, client coordinates.
  TPoint MousePos() const;
  // Where the last mouse event of the overlay happened, client coordinates.
  TPoint LastMouse() const { return FLastMouse; }

  void paintEvent(QPaintEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseMoveEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;
  void mouseDoubleClickEvent(QMouseEvent* Event) override;
  void contextMenuEvent(QContextMenuEvent* Event) override;
  void showEvent(QShowEvent* Event) override;
  void hideEvent(QHideEvent* Event) override;

private:
  std::unique_ptr<TOverlayHost> FHost;
  TPoint FLastMouse;
};
