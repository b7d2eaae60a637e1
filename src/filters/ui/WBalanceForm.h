// Adjust > White balance: a shadow colour S and a highlight colour H, each
// switched by its box, stretch every channel from S's value to H's
// (LevelsRGB24); a non-zero intensity then adds contrast in the shadows
// (0..77 around 77) and the highlights (169..255 around 169) of the boxes
// checked. Colours picked on the image are averaged per band (at most seven
// samples each); on show the colours are detected from the channels' extent
// in the middle of the layer. Depends on TFilterNForm and the point filters.
#pragma once

#include "filters/ui/FilterNForm.h"

class QCheckBox;
class QPushButton;

class TWBalanceForm : public TFilterNForm {
  Q_OBJECT
public:
  explicit TWBalanceForm(QWidget* Parent = nullptr);
  QCheckBox* ShadowBox = nullptr;
  TColorEdit* ShadowEdit = nullptr;
  QCheckBox* HighlightBox = nullptr;
  TColorEdit* HighlightEdit = nullptr;
  QPushButton* BtnReset = nullptr;
  QPushButton* BtnRevert = nullptr;

  // The samples picked in one band.
  struct TColorArray {
    int Count = 0;
    TColor Colors[7] = {};
  };
  TColorArray Shadows, Highlights;
  bool ResetArray = true;
  TColor OldC1 = clBlack, OldC2 = clWhite;

  void AcceptIniControl(QWidget* Control, bool& Accept) override;
  void UpdateControls() override;
  void ChangerCouleur(TColor Couleur) override;
  bool HasEffect() override;
  void ResetParams() override;
  void ApplyFilter() override;

  // The colour a band keeps: shadows at most 111, highlights at least 133
  // on each channel.
  static TColor ClampShadow(TColor C);
  static TColor ClampHighlight(TColor C);

private:
  TColor ShadowColor() const;
  TColor HighlightColor() const;
  // Detects both colours from the layer.
  void Detect();
};
