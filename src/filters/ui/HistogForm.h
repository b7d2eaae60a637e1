// Adjust > Histogram: the histogram of the current layer inside the work
// rectangle (mean, median and pixel count of the channel shown) and the
// levels of a composite channel and of red, green and blue: input black,
// middle (gamma) and white cursors over the histogram, output black and
// white under a grey ramp. Two pipettes take the input black or white point
// from the image. Previews on the layer on request or live; Ok keeps the
// levels (composite first, then the channels). Not repeatable. Depends on
// the histogram routines of filters/, the dialog framework and controls of
// ui/, the main window through TFilterHost.
#pragma once

#include "filters/Histogram.h"
#include "ui/DlgMain.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QToolButton;
class TMySlider;
class TSimplePanel;
namespace MyImage {
class TMyImage;
}

class THistogForm : public TPipetteForm {
  Q_OBJECT
public:
  explicit THistogForm(QWidget* Parent = nullptr);

  QComboBox* CmbCouche = nullptr;
  MyImage::TMyImage* HistoView = nullptr;
  TMySlider* SliderIn = nullptr;
  MyImage::TMyImage* ImgGrad = nullptr;
  TMySlider* SliderOut = nullptr;
  QLabel* LblIn = nullptr;
  QLabel* LblInMin = nullptr;
  QLabel* LblInMax = nullptr;
  QLabel* LblOutMin = nullptr;
  QLabel* LblOutMax = nullptr;
  QToolButton* SB1 = nullptr;
  QToolButton* SB2 = nullptr;
  TSimplePanel* Pnl1 = nullptr;
  TSimplePanel* Pnl2 = nullptr;
  QLabel* LblMoyenne = nullptr;
  QLabel* LblMediane = nullptr;
  QLabel* LblPixels = nullptr;
  QPushButton* BReset = nullptr;
  QCheckBox* CBRealTime = nullptr;
  QCheckBox* CBMajHisto = nullptr;
  QPushButton* BApercu = nullptr;
  QPushButton* BOk = nullptr;
  QPushButton* BAnnuler = nullptr;

  // Levels back to identity, the composite channel shown, and the histogram
  // of the current layer inside the work rectangle; false (nothing to show)
  // with 100 pixels or fewer.
  bool InitImage();
  void ChangerCouleur(TColor Couleur) override;
  void AcceptIniControl(QWidget* Control, bool& Accept) override;
  void UpdateControls() override;

  const THistogram& Histogram() const { return FHisto; }
  const THistoChannels& Levels() const { return FLevels; }
  int ActiveCouche() const { return FActiveCouche; }
  double Gamma() const { return FGamma; }
  bool Changed = false;
  bool Preview = false;

  void BApercuClick();
  void BOkClick();
  void BResetClick();

protected:
  void FormShow() override;
  void FormHide() override;

private:
  bool ComputeHistogram(const TBitmap& Bitmap);
  void DrawHistogram(int Channel);
  void UpdateLevelLabels(bool Store);
  void SaveChannel(int Index);
  void LoadChannel(int Index);
  void ResetLevels();
  void CmbCoucheChange();
  // The steps after the black, middle or white cursor of SliderIn moved.
  void InputCursorMoved(int Index);
  void SliderReleased();
  void CBRealTimeClick();
  void CBMajHistoClick();
  // The layer back as the undo record saved it, shown.
  void RestoreLayer();

  THistogram FHisto;
  THistoChannels FLevels;
  double FGamma = 1.0;
  double FScale = 1.0;
  int FActiveCouche = 0;
};
