// MyImage::TMyImage: a picture control for small bitmaps (tool icons,
// swatches) that can stretch with a chosen resampling and fake transparency.
// Depends on platform bitmaps, the raster stretch and colour routines,
// QtWidgets.
#pragma once

#include "platform/Bitmap.h"
#include "platform/Colors.h"
#include "platform/Types.h"
#include "raster/ImgUtils24.h"

#include <QWidget>

namespace MyImage {

class TMyImage : public QWidget {
  Q_OBJECT
public:
  explicit TMyImage(QWidget* Parent = nullptr);

  // The picture, always 24 bits per pixel. An owner that draws into it
  // directly calls UpdateBitmap afterwards.
  const TBitmap& Bitmap() const { return FBitmap; }
  TBitmap& Bitmap() { return FBitmap; }
  // Copies Value, converts the copy to 24 bits and shows it.
  void SetBitmap(const TBitmap& Value);
  void UpdateBitmap();
  // True: the bitmap becomes transparent with ATransparentColor (clNone: its
  // top-left pixel's colour); false: it becomes opaque.
  void SetBitmapTransparency(bool Value, TColor ATransparentColor);

  bool Stretch() const { return FStretch; }
  void SetStretch(bool Value);
  bool Center() const { return FCenter; }
  void SetCenter(bool Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  bool Proportional() const { return FProportional; }
  void SetProportional(bool Value);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value);
  TStretchMode StretchMode() const { return FStretchMode; }
  void SetStretchMode(TStretchMode Value);
  TColor Color() const;
  void SetColor(TColor Value);
  bool ParentColor() const;
  void SetParentColor(bool Value);

  // Where the picture goes: its own size, or with Stretch (or Proportional and
  // a picture larger than the control) the client size, kept in proportion
  // with Proportional; moved to the middle with Center.
  TRect DestRect() const;

signals:
  void Click();
  void DblClick();

protected:
  void paintEvent(QPaintEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;
  void mouseDoubleClickEvent(QMouseEvent* Event) override;

private:
  void PictureChanged();
  QImage Rendered(const TRect& R) const;

  TBitmap FBitmap;
  bool FStretch = false;
  bool FCenter = false;
  bool FTransparent = false;
  bool FDrawing = false;
  bool FProportional = false;
  bool FAutoSize = false;
  TStretchMode FStretchMode = TStretchMode::smNearest;
};

} // namespace MyImage
