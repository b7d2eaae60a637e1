// TMyCustomImage: the scrolling view that shows one bitmap at a zoom inside a
// margin, with an optional border, frame shadow, transparency checkerboard
// and grid. Everything is drawn into a backing bitmap of the viewport's size;
// the widget only copies that bitmap to the screen in its paint event.
// Depends on the view geometry (document/ViewGeometry.h), the zoomed drawing
// (raster/ImgZoom.h) and QtWidgets; the layered view derives from it.
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

  std::function<void(QObject* Sender, TDrawStage Stage)> OnDraw;
  std::function<void(QObject* Sender, TImageScrollStage Stage)> OnScroll;
  // The mouse moved over the view (client coordinates), after the view's own
  // handling.
  std::function<void(QObject* Sender, Qt::KeyboardModifiers Shift, int X, int Y)> OnMouseMove;

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
  bool viewportEvent(QEvent* Event) override;

  virtual void ResizePaintBuffer() {}
  virtual void DrawImage(bool Full);
  void PaintImage(bool Full);
  virtual void Scrolled(int DX, int DY);
  void DrawFrame(TCanvas& Canvas);
  void DrawTransparency(TCanvas& Canvas);
  // The grid over Canvas, whose pixels are client pixels shifted by (DX, DY).
  void DrawGrid(TCanvas& Canvas, int DX, int DY);
  const TBitmap& CheckerTile(int N);
  void ScrollChanged(bool Notify);
  void UpdateImagePos();
  TCanvas& BackCanvas() { return FBack.Canvas(); }

  TImageZoom FImgZ;

private:
  void EnsureBackBuffer();
  void RenderAll();

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
};
