// The four tone curves that bring a float image's values into the
// displayable range 0..1, and the exposure factor applied before them.
// Depends on HdrImg.
//
// Arithmetic is in double precision and stored as single, also for the
// filmic curve's intermediate and for the luminance and its factor. A value
// that is not a number maps to 0, an infinite one to its limit (0 or 1).
#pragma once

#include "files/HdrImg.h"

#include <cstdint>

enum TToneOperator : uint8_t { toClip = 0, toGamma = 1, toRatio = 2, toFilmic = 3 };

// Tone maps Image inside Rect with the curve of Operator (any unknown value
// clips), after offsetting the clip so that its darkest channel is 0 and
// scaling by ExposureFactor(Exposure). Per channel, or by luminance: the
// average of the three channels follows the curve and the channels keep
// their ratios (each limited to 1). Alpha is never changed.
void ApplyToneMap(THdrImage* Image, uint8_t Operator, bool ByLuminance, int8_t Exposure, TRect Rect);

// The curves on one value x >= 0.
double ToneClip(double X);   // x limited to 1
double ToneGamma(double X);  // x^0.4545 limited to 1
double ToneRatio(double X);  // (x / (0.53 + x))^0.4545
double ToneFilmic(double X); // a(6.2a + 0.5) / (a(6.2a + 1.7) + 0.06), a = (x - 0.004) x 1.3

// 0 when A <= 0; A when B = 1; else exp(B ln A).
double PowerF(float A, float B);
// 2 to the power Stops / 2: the exposure in half stops.
double ExposureFactor(int8_t Stops);
