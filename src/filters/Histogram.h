// The histogram of a layer and the levels of the histogram dialog, without
// widgets: the counts of red, green, blue and luminosity (the largest of the
// three) with their mean, median and scaling maximum; the bars drawn into a
// view bitmap; the rules tying the middle cursor to the gamma; and the
// composite-then-channels application of the levels. Depends on the raster
// core and the point filters; used by the histogram dialog.
//
// Channel index everywhere: 0 luminosity (composite), 1 red, 2 green, 3 blue.
#pragma once

#include "platform/Bitmap.h"
#include "platform/Colors.h"
#include "platform/Types.h"

#include <array>

struct THistogram {
  std::array<std::array<int, 256>, 4> Counts{};
  int NbPixels = 0;
  std::array<double, 4> Moyenne{};
  std::array<int, 4> Mediane{};
  // The largest count among bins 0 to 254 (bin 255 left out, so a white
  // background does not flatten the rest); never 0.
  std::array<int, 4> Maximums{};
};

// Fewer pixels than this make no histogram worth showing.
constexpr int HistogramMinPixels = 101;

// Counts every pixel of Rect clipped to Bitmap (24-bit), then the statistics.
// False, with everything 0, when the clipped rectangle is empty.
bool ComputeHistogram(const TBitmap& Bitmap, const TRect& Rect, THistogram& H);
// Mean = sum of value x count / pixels; median = the smallest value whose
// cumulative count reaches pixels div 2; the scaling maximum as above.
void ComputeHistoStats(THistogram& H);

// View (24-bit) framed in Frame and filled white inside; inner column x
// (1 .. width - 2) shows bin Trunc((x - 1) / Scale) as a bar of (height - 4) x
// count div Maximum pixels in Pen, ending on the row above the bottom one and
// cut at the top of the view.
void DrawHistogramBars(TBitmap& View, const std::array<int, 256>& Counts, int Maximum, double Scale, TColor Pen,
                       TColor Frame);
// The grey ramp under the histogram: framed, column x in grey Trunc((x - 1) / Scale).
void DrawGreyRamp(TBitmap& Strip, double Scale, TColor Frame);

// The levels of one channel: gamma, input black, middle cursor, input white,
// output black and output white.
struct THistoLevels {
  double Gamma = 1.0;
  int InLo = 0;
  int Middle = 127;
  int InHi = 255;
  int OutLo = 0;
  int OutHi = 255;
  // Gamma exactly 1 and the four points at 0 and 255 (the middle cursor is
  // not looked at).
  bool Identity() const;
};
using THistoChannels = std::array<THistoLevels, 4>;

// Kind 0: any channel, 1: the composite only, 2: red, green or blue; true
// when one of them is not at identity.
bool ChannelsChanged(const THistoChannels& Channels, int Kind);

// The gamma of a middle cursor at P between the black B and the white W, with
// M = (B + W) div 2: 1 at M; (3 x (M - P) / (M - B))^2 + 1 below it; 1 - 0.9 x
// (P - M) / (W - M) above it; rounded to hundredths and kept within 0.1..10;
// 1 when B and W leave no room on that side.
double GammaFromMiddle(int B, int P, int W);
// Where the middle cursor goes for Gamma when the black or white cursor
// moved: the inverse of GammaFromMiddle, M when there is no room.
int MiddleFromGamma(double Gamma, int B, int W);

// The input points the levels routine gets: a range narrower than 3 is
// widened to 3, upwards from a black below 128, else downwards from the white.
void WidenInputRange(int& InLo, int& InHi);

// The composite levels (when not at identity) on all three components, then
// the red, green and blue levels (when any is not at identity), over Rect.
void ApplyHistogLevels(TBitmap& Bitmap, const TRect& Rect, const THistoChannels& Channels);
