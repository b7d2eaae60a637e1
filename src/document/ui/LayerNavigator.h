// TLayerNavigator: the layers panel of an image window. It lists the layers
// of one layered image top layer first, each as a thumbnail (over a
// checkerboard, with its opacity, mask, lock and hidden marks, or the symbol
// of a text, colour or adjustment layer) and its caption, or as a caption
// row; a click makes a layer current, a drag reorders the stack, scroll
// buttons and a menu of all layers serve long lists. It implements the
// document's LayerNavigator interface, so layer edits keep the image and the
// thumbnails in step. It lives beside the view in the document widgets
// library because it needs the layered image model. Depends on the model
// (document/), its drawing routines (LayerUtils.h) and QtWidgets.
#pragma once

#include "document/LayerNavigator.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QMenu;
class QToolButton;

class TLayerNavigator : public QWidget, public LayerNavigator {
  Q_OBJECT
public:
  TLayerNavigator(QWidget* Parent, TMyImageLayered& Image);
  ~TLayerNavigator() override;

  // ---- LayerNavigator
  TMyImageLayered& Image() const override { return FImage; }
  void Synchronize(bool Immediate) override;
  void ResetLayerIndex() override;
  void UpdateThumb(int Index) override;
  int AddLayer(const TBitmap* Bitmap, const TBitmap* Mask, TPoint Pos, TOpacityRange Opacity,
               const QString& Caption) override;
  int AddLayerData(std::unique_ptr<TLayerData> Data, const QString& Caption) override;
  int AddLayerAdjust(const TAdjustLayerInfos& AdjustInfos, TOpacityRange Opacity, const QString& Caption) override;
  int AddLayerColor(TColor Color, TOpacityRange Opacity, bool Invert, const QString& Caption) override;
  void DeleteLayer(int Index) override;
  void DeleteBackground(bool DeleteMask) override;
  void InsertNewBackground(const TBitmap* Bitmap, const TBitmap* Mask, bool TransparentBkg,
                           const QString& Caption) override;
  void Move(int CurIndex, int NewIndex, bool DoEvent) override;

  // ---- Further edits
  void AddBackground(const TBitmap* Bitmap, const TBitmap* Mask, const QString& Caption);
  void AddBitmapAsBackground(const TBitmap& Bitmap, const QString& Caption);
  int AddBitmapAsLayer(const TBitmap& Bitmap, TPoint Pos, TOpacityRange Opacity, const QString& Caption);
  int DuplicateLayer(int Index, const QString& Caption);
  void MergeWithPrevious(bool AutoCrop);
  void Clear();

  // ---- Layout and hit testing
  int ItemAtPos(int X, int Y) const;
  int GetHeightNeeded() const;
  void MakeCurrentLayerVisible();
  int ThumbCount() const { return static_cast<int>(FThumbs.size()); }
  const TBitmap& Thumb(int Index) const { return *FThumbs[Index]; }
  int LayerIndex() const { return FLayerIndex; }
  int TopItem() const { return FTopItem; }
  int RowHeight() const;
  int ThumbWidth() const { return FThumbWidth; }
  int ThumbHeight() const { return FThumbHeight; }
  double Ratio() const { return FRatio; }
  QToolButton* BtnNext() const { return FBtnNext; }
  QToolButton* BtnPrev() const { return FBtnPrev; }
  QToolButton* BtnPopup() const { return FBtnPopup; }
  // The panel's picture as last drawn.
  const TBitmap& BackBuffer() const { return FBack; }

  // ---- Settings
  int Margin = 3;
  int TopMargin = 0;
  int ShadowSize = 4;
  TColor DragColor = clRed;
  TColor Color = 0x121212;
  TColor FontColor = 0xEDECED;
  bool ShowText = true;
  void SetShowThumb(bool Value);
  bool ShowThumb() const { return FShowThumb; }
  void SetLayerNumber(bool Value);
  bool LayerNumber() const { return FLayerNumber; }
  void SetUseFilmBorder(bool Value);
  bool UseFilmBorder() const { return FUseFilmBorder; }
  void SetDisableThumbUpdate(bool Value);
  // The right-button menu of a layer row.
  QMenu* PopupMenu = nullptr;

  std::function<void(QObject* Sender)> OnSelectLayer;
  std::function<void(QObject* Sender, int OldIndex, int NewIndex)> OnChangeLayerIndex;
  std::function<void(QObject* Sender)> OnDblClick;
  std::function<void(QObject* Sender)> OnMouseDown;

  // The symbol of a text, colour or adjustment layer, on a white picture of
  // the thumbnail size less 4.
  void GetParamsBitmap(int Index, TBitmap& Dest) const;

protected:
  void paintEvent(QPaintEvent* Event) override;
  void resizeEvent(QResizeEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseMoveEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;
  void mouseDoubleClickEvent(QMouseEvent* Event) override;

private:
  int FilmWidth() const;
  int StripHeight() const;
  int RowsThatFit(bool WithStrip) const;
  int LastRowShown() const;
  int TextHeight() const;
  QString RowCaption(int Index) const;
  void FixScale();
  int AddThumb();
  void RebuildIfPending();
  void Rebuild();
  void LayoutButtons();
  void UpdateButtons();
  void Render();
  void RenderRow(int Row, class QPainter& Text);
  void DrawDropMarker();
  void ShowLayerMenu();
  void CancelDrag();
  void MoveThumb(int From, int To);
  int PlaceNewLayer(int Target, int Index);

  TMyImageLayered& FImage;
  std::vector<std::unique_ptr<TBitmap>> FThumbs;
  TBitmap FBack;
  TBitmap FChecker;
  TBitmap FFilm;
  int FThumbWidth = 1, FThumbHeight = 1;
  int FBkgWidth = 1, FBkgHeight = 1;
  double FRatio = 1.0;
  int FLayerIndex = -1;
  bool FNeedSynchronize = false;
  // Above 0 while rows or thumbnails are being made: a repaint they cause
  // (a thumbnail's progress repaints the window) neither rebuilds the rows
  // under them nor draws them half-made.
  int FBusy = 0;
  struct TBusyScope {
    explicit TBusyScope(int& Busy) : B(Busy) { ++B; }
    ~TBusyScope() { --B; }
    int& B;
  };
  QPoint FPtOriginDrag;
  int FDragState = 0;
  int FDraggedItem = -1, FTargetItem = -1;
  bool FDragBelow = false;
  bool FShowThumb = true;
  bool FLayerNumber = false;
  bool FUseFilmBorder = false;
  bool FDisableThumbUpdate = false;
  int FTopItem = 0;
  qint64 FMenuClosedAt = -1;
  QToolButton* FBtnNext;
  QToolButton* FBtnPrev;
  QToolButton* FBtnPopup;
  QMenu* FPopupLayers = nullptr;
};
