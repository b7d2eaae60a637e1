// What the document asks of the layers panel of an image window: the layer
// operations that keep the panel's rows, thumbnails and current item in step
// with the image. The panel widget implements it; the undo records reach the
// image through it, and tests use a small fake. Depends on the layered image
// model (MyImageLayered.h).
#pragma once

#include "document/MyImageLayered.h"

#include <QString>

#include <memory>

class LayerNavigator {
public:
  virtual ~LayerNavigator() = default;

  // The image the panel shows.
  virtual TMyImageLayered& Image() const = 0;

  // The panel's rows and thumbnails rebuilt from the image's layer list, at
  // once when Immediate, else at the next paint.
  virtual void Synchronize(bool Immediate) = 0;
  // When the image's LayerIndex differs from the panel's current item, the
  // panel takes it, repaints and reports the selection.
  virtual void ResetLayerIndex() = 0;
  // Redraws the thumbnail of layer Index from the layer as it is now.
  virtual void UpdateThumb(int Index) = 0;

  // The new layer lands just above the layer that was current and becomes
  // current; a bitmap layer always gets a mask (an opaque one when Mask is
  // nullptr). The result is the new layer's index.
  virtual int AddLayer(const TBitmap* Bitmap, const TBitmap* Mask, TPoint Pos, TOpacityRange Opacity,
                       const QString& Caption) = 0;
  virtual int AddLayerData(std::unique_ptr<TLayerData> Data, const QString& Caption) = 0;
  virtual int AddLayerAdjust(const TAdjustLayerInfos& AdjustInfos, TOpacityRange Opacity, const QString& Caption) = 0;
  virtual int AddLayerColor(TColor Color, TOpacityRange Opacity, bool Invert, const QString& Caption) = 0;
  // Deletes layer Index; the panel's current item follows the image's.
  virtual void DeleteLayer(int Index) = 0;
  // The image's DeleteBackground; with DeleteMask the new background's mask
  // is emptied.
  virtual void DeleteBackground(bool DeleteMask) = 0;
  // The current background gets an opaque mask when it has none, then a new
  // background goes under it; with TransparentBkg and no Mask the new
  // background is made fully transparent.
  virtual void InsertNewBackground(const TBitmap* Bitmap, const TBitmap* Mask, bool TransparentBkg,
                                   const QString& Caption) = 0;
  // Moves layer CurIndex to NewIndex and makes it current; nothing when
  // CurIndex is the background or beyond the last layer. DoEvent reports the
  // move to the panel's listener.
  virtual void Move(int CurIndex, int NewIndex, bool DoEvent) = 0;
};
