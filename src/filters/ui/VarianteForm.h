// Filter > Colour > Hue variation: tints the work area with a hue chosen on
// a slider or a ramp, by colourising it (method 1: greys, a 12 % tint, some
// contrast and saturation) or by replacing its hues (method 2). Previewed on
// a thumbnail of the whole layer inside the dialog, where only the selected
// part changes and transparent parts show white; Ok applies it with its own
// undo record and registers Edit > Repeat. Depends on the colour filters,
// the raster thumbnails and masks, the hue ramp, TColorDialogHost.
#pragma once

#include "platform/Bitmap.h"
#include "ui/DlgMain.h"

#include <memory>

class QLabel;
class QPushButton;
class QRadioButton;
class TSimplePanel;
class TTrackBar;
namespace MyImage {
class TMyImage;
}

// Method 1 (Colorize) or 2 (hue replacement) with Color over Rect.
void VarianteColors24(TBitmap& Bitmap, bool Colorize, TColor Color, const TRect& Rect);

class TVarianteForm : public TMainDialogForm {
  Q_OBJECT
public:
  explicit TVarianteForm(QWidget* Parent = nullptr);
  ~TVarianteForm() override;
  TTrackBar* TBN = nullptr;
  QLabel* LblN = nullptr;
  TSimplePanel* PnlCouleur = nullptr;
  MyImage::TMyImage* ImgDegrade = nullptr;
  QRadioButton* RB1 = nullptr;
  QRadioButton* RB2 = nullptr;
  MyImage::TMyImage* ImgApercu = nullptr;
  QPushButton* BOk = nullptr;
  QPushButton* BAnnuler = nullptr;
  double ScaleX = 1.0;
  // Where the thumbnail lies in the preview.
  TRect RApercu{};

  void UpdateControls() override;
  // Applies the tint to the current layer with its own undo record.
  void ApplyVariante();

protected:
  void FormHide() override;
  bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
  void MakeVariantePreview();
  void PreviewVariante(TColor Color);
  void HueChanged();
  TBitmap BmpOrigin;
  std::unique_ptr<TBitmap> Mask, MaskSel;
};
