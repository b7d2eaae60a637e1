// TMyCustomImage: the scrolling view that shows one bitmap at a zoom inside a
// margin, with an optional border, frame shadow, transparency checkerboard
// and grid. Everything is drawn into a backing bitmap of the viewport's size;
// the widget only copies that bitmap to the screen in its paint event.
// Depends on the view geometry (document/ViewGeometry.h), the zoomed drawing
// (raster/ImgZoom.h), the screen cursor table (raster/ui/FoncUtils.h) and
// QtWidgets; the layered view derives from it.
#pragma once

#include "document/ViewGeometry.h"
#include "platform/Bitmap.h"
#include "raster/ImgZoom.h"

#include <QAbstractScrollArea>

#include <functional>

enum TOptimizeMode : uint8_t { omNone, omReduction, omAllways };
enum TDrawStage : uint8_t { dsStart, dsEnd };
enum TImageScrollStage : uint8_t { isStart, isEnd };

class TMyCustomImage : public QAbstractScrollArea {
  Q_OBJECT
public:
  explicit TMyCustomImage(QWidget* Parent = nullptr);
  ~TMyCustomImage() override;

  // The bitmap shown (the layered view shows its composite instead).
  TBitmap& Bitmap() { return FBitmap; }
  virtual const TBitmap* DisplayBitmap() const { return &FBitmap; }
  // The backing bitmap: what the widget shows, client coordinates.
  const TBitmap& BackBuffer() const { return FBack; }

  double Zoom() const { return FImgZ.Zoom(); }
  void SetZoom(double Value);
  int Marge() const { return FMarge; }
  void SetMarge(int Value);
  TOptimizeMode OptimizeMode() const { return FOptimizeMode; }
  void SetOptimizeMode(TOptimizeMode Value);
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor Value);
  int ShadowSize() const { return FShadowSize; }
  void SetShadowSize(int Value);
  // The background of the margins.
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);

  int GridWidth = 16;
  bool GridAlign = false;
  TColor GridColor = 0xC0C0C0;
  int GridUnit = 0;
  TPenStyle GridStyle = TPenStyle::psSolid;
  bool ShowGrid = false;
  bool Centered = false;
  bool KeyScroll = true;
  virtual double ResolutionX() const { return FResolutionX; }
  double FResolutionX = 96.0;
  int FTransparentBrushSize = 4;

  // The cursors by screen cursor index (ScreenCursor): over the image and
  // outside it. A change shows at once when the mouse is over the view.
  int ImgCursor() const { return FImgCursor; }
  void SetImgCursor(int Value);
  int DefaultCursor() const { return FDefaultCursor; }
  void SetDefaultCursor(int Value);
  // The cursor chosen again for the mouse position, when the view is shown
  // and the mouse lies over it: after the image moved under a still mouse
  // (zoom, margin, scrolling, a new size) or the cursor settings changed.
  void RefreshCursor();

  // After a whole paint: the backing bitmap's canvas clipped to
  // LastPaintedRect, for drawing over the finished picture.
  std::function<void(QObject* Sender, TCanvas& ACanvas)> OnPaint;
  std::function<void(QObject* Sender, TDrawStage Stage)> OnDraw;
  std::function<void(QObject* Sender, TImageScrollStage Stage)> OnScroll;
  // The mouse over the view (client coordinates), after the view's own
  // handling. A double click fires OnMouseDown for its press, then OnDblClick.
  using TImageMouseEvent =
      std::function<void(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y)>;
  TImageMouseEvent OnMouseDown;
  TImageMouseEvent OnMouseUp;
  std::function<void(QObject* Sender, Qt::MouseButtons Buttons, Qt::KeyboardModifiers Shift, int X, int Y)> OnMouseMove;
  std::function<void(QObject* Sender)> OnDblClick;

  // ---- The view's own mouse and key handling, each ending with its event;
  // derived views add to it. Client coordinates. Double is set for the press
  // of a double click.
  virtual void MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y, bool Double);
  virtual void MouseMove(Qt::MouseButtons Buttons, Qt::KeyboardModifiers Shift, int X, int Y);
  virtual void MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
  virtual void DblClick();
  // True when the key was used.
  virtual bool KeyDown(int Key, Qt::KeyboardModifiers Shift);
  virtual bool KeyUp(int Key, Qt::KeyboardModifiers Shift);
  // Synthetic events of the painting tools.
  void MouseMove2(Qt::KeyboardModifiers Shift, int X, int Y) { MouseMove(Qt::NoButton, Shift, X, Y); }
  void MouseDown2(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y) {
    MouseDown(Button, Shift, X, Y, false);
  }
  // The draw events, also fired by whatever draws over the image outside a
  // paint (so that XOR outlines can step aside).
  void DoDraw(TDrawStage Stage) {
    if (OnDraw) OnDraw(this, Stage);
  }

  // ---- Geometry
  TRect ClientRect() const;
  TRect ImgRect() const;
  TRect ImgVisibleRect() const;
  TViewGeometry Geometry() const;
  TPoint ClientToBmp(TPoint P) const { return Geometry().ClientToBmp(P); }
  TPoint BmpToClient(TPoint P) const { return Geometry().BmpToClient(P); }
  TRect ClientToBmp(const TRect& R) const { return Geometry().ClientToBmp(R); }
  TRect BmpToClient(const TRect& R) const { return Geometry().BmpToClient(R); }
  TRect CheckErrorConversion(const TRect& R) const { return Geometry().CheckErrorConversion(R); }
  bool PtInImage(TPoint P) const { return PtInRect(ImgVisibleRect(), P); }
  double CalcGridWidth() const { return ::CalcGridWidth(GridWidth, GridUnit, ResolutionX()); }
  // Client rectangle snapped to the grid in bitmap pixels when GridAlign.
  void AlignRectToGrid(TRect& R) const;

  // ---- Painting: all of it goes into the backing bitmap
  void LockPaint(bool Lock);
  bool PaintLocked() const { return FLockCount > 0; }
  // The whole view drawn again into the backing bitmap and shown.
  void PaintAll();
  // The part of the image under the client rectangle R drawn again now and
  // shown; the margins are not touched.
  virtual void RepaintRect(TRect R);
  void RepaintBmpRect(TRect R);
  TRect LastPaintedRect() const { return FLastPaintedRect; }

  // The whole view must be drawn again at the next paint.
  void InvalidateView();
  // Draws now what a pending paint would draw (the platform's Update).
  void UpdatePending();
  // The backing bitmap's canvas, for outlines drawn over the picture (XOR
  // rubber bands, the brush outline); ShowClientRect puts a changed part of it
  // on the screen.
  TCanvas& Canvas() { return FBack.Canvas(); }
  void ShowClientRect(const TRect& R);
  // The mouse position in client coordinates.
  TPoint MousePos() const;

  // ---- Scrolling and fitting
  void ScrollBy(int DX, int DY);
  void CenterRect(const TRect& R);
  void AutoZoom(int MaxWidth, int MaxHeight);
  void AutoZoom();
  void UpdateScrollRange();
  // The bitmap changed size: lay out again.
  void BitmapChanged();

protected:
  void paintEvent(QPaintEvent* Event) override;
  void resizeEvent(QResizeEvent* Event) override;
  void scrollContentsBy(int DX, int DY) override;
  void mouseMoveEvent(QMouseEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;
  void mouseDoubleClickEvent(QMouseEvent* Event) override;
  void keyPressEvent(QKeyEvent* Event) override;
  void keyReleaseEvent(QKeyEvent* Event) override;
  // False while something drawn over the backing bitmap must not be wiped by
  // a whole repaint (the paint event then shows the bitmap as it is).
  virtual bool CanPaintWindow() const { return true; }
  // Drawn over the image by PaintImage, inside the draw events.
  virtual void PaintOverImage(bool) {}
  bool viewportEvent(QEvent* Event) override;

  virtual void ResizePaintBuffer() {}
  virtual void DrawImage(bool Full);
  void PaintImage(bool Full);
  virtual void Scrolled(int DX, int DY);
  // The control's cursor for a client point: ImgCursor over ImgRect, else
  // DefaultCursor.
  virtual void UpdateCursor(int X, int Y);
  void DrawFrame(TCanvas& Canvas);
  void DrawTransparency(TCanvas& Canvas);
  // The grid over Canvas, whose pixels are client pixels shifted by (DX, DY).
  void DrawGrid(TCanvas& Canvas, int DX, int DY);
  const TBitmap& CheckerTile(int N);
  void ScrollChanged(bool Notify);
  void UpdateImagePos();
  TCanvas& BackCanvas() { return FBack.Canvas(); }
  // The next paint draws everything again (RepaintRect then does so too).
  bool FullPaintPending() const;

  TImageZoom FImgZ;

private:
  void EnsureBackBuffer();
  void RenderAll();
  void DoPaint();

  TBitmap FBitmap;
  TBitmap FBack;
  TBitmap FChecker;
  int FCheckerN = 0;
  int FMarge = 8;
  TOptimizeMode FOptimizeMode = omNone;
  TColor FBorderColor = clNone;
  int FShadowSize = 0;
  TColor FColor = clBtnFace;
  int FLockCount = 0;
  int FOldW = -1, FOldH = -1;
  int FOldPosH = 0, FOldPosV = 0;
  bool FNeedPaint = true;
  bool FSettingRange = false;
  TRect FLastPaintedRect;
  int FImgCursor = 0;
  int FDefaultCursor = 0;
};
