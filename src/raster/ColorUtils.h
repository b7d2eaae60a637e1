// Conversions and comparisons of single colours: byte-order swap, tolerance
// test, percentage mix, integer luminance, integer HSV and single-precision
// YCbCr. Pure functions; depends on platform/Colors only. Every routine that
// takes a TColor resolves system colours first with ColorToRGB.
#pragma once

#include "platform/Colors.h"

#include <cstdint>

// The resolved colour with red and blue exchanged: B | G << 8 | R << 16.
TColor ColorToBGR(TColor Color);
// True when every channel differs by at most Tolerance (a negative tolerance
// matches nothing).
bool ColorsNear(TColor Color1, TColor Color2, int Tolerance);
// Color1 moved toward Color2 by Percent (1..100, truncating per channel). Any
// other Percent returns Color1 as given, unresolved.
TColor MixColors(TColor Color1, TColor Color2, int Percent);
// (R * 77 + G * 150 + B * 28) >> 8: the weights add up to 255, so white is 254.
int ColorLuminance(TColor Color);

// Integer HSV: hue 0..359 degrees, saturation and value 0..255. The divisions
// truncate toward zero.
void ColorToHSV(TColor Color, int& H, int& S, int& V);
void RGBToHSV(int R, int G, int B, int& H, int& S, int& V);
TColor HSVToColor(int H, int S, int V);
// A hue outside 0..359 by a whole sector (360 and above, -60 and below) gives
// black; callers keep H in range.
void HSVToRGB(int H, int S, int V, int& R, int& G, int& B);

// 0 for X <= 0, 255 for X >= 1, else Trunc(X * 255).
uint8_t UnitToByte(float X);
// YCbCr with the JPEG File Interchange Format constants, every component in
// 0..1 (Cb and Cr centred on 0.5); intermediates in double, stored as single.
void YCbCrToRGB(float Y, float Cb, float Cr, uint8_t& R, uint8_t& G, uint8_t& B);
void ColorToYCbCr(TColor Color, float& Y, float& Cb, float& Cr);
void RGBToYCbCr(uint8_t R, uint8_t G, uint8_t B, float& Y, float& Cb, float& Cr);
