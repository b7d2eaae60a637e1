// Sliders with a label that shows their position, as the filter dialogs
// build them: the label's format takes Position / Divisor (a whole number
// for "%d"); the slider rewrites its label and calls ParamChanged(False) on
// every move (the preview then waits for its release). Among them the red,
// green and blue channel sliders several colour dialogs share: the label
// (its Left the bar's + 6) above a bar with the complementary colour's
// swatch at its left and the channel's at its right. Depends on
// TFilterNForm. Also the small habits the dialogs share: the reset button
// under the parameters, bold captions, sliders tested or set together.
#pragma once

#include "filters/ui/FilterNForm.h"

#include <initializer_list>

class QLabel;
class QPushButton;

QString BarLabelText(const QString& Fmt, int Position, double Divisor);
// Bar writes Fmt into Label on every move, then ParamChanged(False).
void LinkBarLabel(TFilterNForm& Form, TTrackBar* Bar, QLabel* Label, const QString& Fmt, double Divisor = 1);
// A label (LabelGap) then its bar (BarGap) under the lowest control.
TTrackBar* NewLabelledBar(TFilterNForm& Form, const QString& Fmt, int Min, int Max, int Frequency, int PgSize, int Pos,
                          int LabelGap, int BarGap, QLabel*& Label, double Divisor = 1);

struct TChannelBarLayout {
  int Min, Max, Frequency, PgSize, Pos;
  QString Suffix;      // after the channel name: " : %d%%" or " : %.2f"
  double Divisor = 1;
  int FirstGap = 12;   // the gap above the first label; 8 above the others
  int FirstChannel = 0; // 1: green and blue only
  // The bars keep the main slider's width, their swatches 2 pixels raised,
  // instead of being narrowed for them.
  bool OwnSwatches = false;
};
// Builds the channel pairs in order (red, green, blue from FirstChannel).
void NewChannelBars(TFilterNForm& Form, const TChannelBarLayout& Layout, TTrackBar** Bars, QLabel** Labels);
// The channel label colours from FirstChannel: red $000080, green $008000,
// blue $800000.
void ColorChannelLabels(QLabel* const* Labels, int Count, int FirstChannel = 0);
QString ChannelName(int Channel);
// The swatch colours of channel Channel's bar: Side 0 left, 1 right.
TColor ChannelSwatch(int Channel, int Side);

// The reset button at the left, 16 under the parameters.
QPushButton* PlaceResetButton(TFilterNForm& Form);
void SetBold(QWidget* Control);
// Some slider is not at Value; every slider to Value.
bool AnyNot(std::initializer_list<const TTrackBar*> Bars, int Value);
void SetAll(std::initializer_list<TTrackBar*> Bars, int Value);
