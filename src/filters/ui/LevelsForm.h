// Adjust > Levels: contrast in three tone bands. The main slider is the
// shadow limit s, TrackBar3 the highlight limit h; each band has its
// intensity: shadows BandContrast24 over 0..s around s, midtones over s..h
// around s (a negative intensity: its opposite around h), highlights over
// h..255 around h. Depends on TFilterNForm and the point filters.
#pragma once

#include "filters/ui/FilterNForm.h"

class QLabel;
class QPushButton;

class TLevelsForm : public TFilterNForm {
  Q_OBJECT
public:
  explicit TLevelsForm(QWidget* Parent = nullptr);
  // Shadow, midtone and highlight intensities; the highlight limit.
  TTrackBar* Intensity[3] = {};
  TTrackBar* HighLimit = nullptr;
  QLabel* Headings[3] = {};
  QPushButton* BtnReset = nullptr;
  void UpdateControls() override;
  bool HasEffect() override;
  void ResetParams() override;
  void ApplyFilter() override;
};
