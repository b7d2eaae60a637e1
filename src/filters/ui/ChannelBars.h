// The red, green and blue channel sliders several colour dialogs share: a
// label (its Left the bar's + 6) above a bar with the complementary colour's
// swatch at its left and the channel's at its right, the label showing the
// channel name followed by Suffix formatted with the position (divided by
// Divisor when it is not 1). Depends on TFilterNForm.
#pragma once

#include "filters/ui/FilterNForm.h"

class QLabel;

struct TChannelBarSpec {
  int Min, Max, Frequency, PgSize, Pos;
  QString Suffix;      // " : %d%%" or " : %.2f"
  double Divisor = 1;  // the label shows Position / Divisor
  int FirstGap = 12;   // the gap above the red label; 8 above the others
};

// Builds the three pairs in order and wires each bar to its label and to
// ParamChanged(False).
void NewChannelBars(TFilterNForm& Form, const TChannelBarSpec& Spec, TTrackBar* (&Bars)[3], QLabel* (&Labels)[3]);
// The labels' colours: red $000080, green $008000, blue $800000.
void ColorChannelLabels(QLabel* const (&Labels)[3]);
// The text of a channel label: the channel name, then Suffix formatted.
QString ChannelLabelText(int Channel, const QString& Suffix, double Value);
