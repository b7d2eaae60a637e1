// TTubeForm, Filter > "LumaPNG...": a picture with transparency laid over
// the current layer, stretched over the work rectangle, tiled across it, or
// scaled and placed at one of nine anchors inside it, at an opacity, after
// optional flips and quarter turns; its own alpha decides where it covers.
// Previewed on request or live; Cancel takes the preview back; Ok can be
// repeated. The batch dialog embeds it as a panel. Depends on the overlay
// picture and preview (OverlayPicture.h), the filter host, the layer
// painting of raster, the dialog base of ui/.
#pragma once

#include "dialogs/ui/OverlayForm.h"
#include "raster/Pixels.h"

class QComboBox;
class QGroupBox;
class QLabel;
class TAnchorBar;
class TTrackBar;

// The picture (colours and grey mask) placed over Dst inside R (clipped to
// Dst): Mode 0 stretched to R, 1 tiled from R's top-left, 2 scaled by Scale
// tenths and anchored at Pos; at Opacity percent, also painted onto DstMask
// when it is given (painting on the layer's transparency).
void ApplyPngOverlay(const TBitmap& Bmp, const TBitmap& Mask, TBitmap& Dst, TBitmap* DstMask, TRect R, int Mode,
                     int Scale, TPosition Pos, int Opacity);

class TTubeForm : public TOverlayForm {
  Q_OBJECT
public:
  explicit TTubeForm(QWidget* Parent = nullptr);

  QGroupBox* GroupBox1;
  QComboBox* CmbMode;
  QLabel* LblOpacite;
  TTrackBar* TBOpacite;
  QLabel* LblEchelle;
  TTrackBar* TBEchelle;
  TAnchorBar* Anchors;

  void UpdateControls() override;
  void AcceptIniControl(QWidget* Control, bool& Accept) override;
  QString GetIniCustomVar(int Index) override;
  void SetIniCustomVar(int Index, const QString& Value) override;
  // As a panel of the batch dialog.
  void SetAsPanel(QWidget* ParentControl, int X, int Y);
  void SaveToIni(const QString& FileName);
  void LoadFromIni(const QString& FileName);
  // The overlay over the whole of Bitmap (the batch's working bitmap, the
  // current layer of its window), with the panel's settings.
  void DoAsPanel(TBitmap& Bitmap);

protected:
  void ApplyOverlay(const TRect& R) override;

private:
  void CmbModeChanged();
  // The picture over R of Dst with the panel's settings (DstMask: the
  // layer's transparency, painted too when given).
  void OverlayOnto(TBitmap& Dst, TBitmap* DstMask, const TRect& R);
};
