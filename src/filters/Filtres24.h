// The point, tone and colour filters on 24-bit bitmaps, the statistics the
// automatic corrections read, and the preset matrix filters. Depends on the
// convolution engine, the blurs and the raster core (colour conversions, the
// shared random generator, FillColor24 and ReplaceColor24, which this header
// passes on); used by the filter and adjustment commands and dialogs.
//
// Every routine takes the bitmap first and the rect last (the statistics take
// the rect second), normalises and clips the rect (empty: nothing happens),
// works in place on a bitmap made 24-bit and never touches a pixel outside
// the rect. Percentages are integers, divisions truncate toward zero and
// every result byte is clamped to 0..255. Colours are resolved with
// ColorToRGB first, so system colours work. The noise and diffusion filters
// reseed the shared generator (Randomize) at every call.
#pragma once

#include "platform/Rounding.h"
#include "raster/ColorFill.h"
#include "raster/Pixels.h"

#include <cstdint>

// The luminance of the filters, L = Trunc((B * 0.11 + G * 0.59) + R * 0.3) in
// double precision and in this order: 26 of the 256 greys come out one lower
// (grey 23 gives 22), white stays 255.
inline int Luminance24(const TRGB& P) { return Trunc((P.Blue * 0.11 + P.Green * 0.59) + P.Red * 0.3); }

// ---- Preset matrix filters ------------------------------------------------------
struct TMatrix3x3Record;

// MatSmooth at Amount percent.
void Smooth24(TBitmap& Bitmap, int Amount, const TRect& Rect);
// MatSoften when Strong, else MatSoftenMild, at Amount percent.
void Soften24(TBitmap& Bitmap, int Amount, bool Strong, const TRect& Rect);
void ConvolveMatrix3x3(TBitmap& Bitmap, const TMatrix3x3Record& Record, int Amount, const TRect& Rect);
// SharpenMoreMatrix (Strength) at Amount percent.
void SharpenMore24(TBitmap& Bitmap, int Strength, int Amount, const TRect& Rect);

// ---- Grey, negative, posterize, noise ----------------------------------------------

// Every pixel := L on its three bytes.
void Grayscale24(TBitmap& Bitmap, const TRect& Rect);
// Every pixel := its grey level by Mode on its three bytes: 0 L, 1 (B + G +
// R) div 3, 2 red, 3 green, 4 blue, 5 max, 6 min, 7 |H - 180| * 255 div 180
// (H the HSV hue: greys and reds 255, cyan 0), 8 the HSV saturation; any
// other mode is 0.
void GrayscaleMode24(TBitmap& Bitmap, int Mode, const TRect& Rect);
void Negative24(TBitmap& Bitmap, const TRect& Rect);
// v -> 0 below Step, 255 above 255 - Step, else Step * (v div Step). Nothing
// when Step < 2.
void Posterize24(TBitmap& Bitmap, int Step, const TRect& Rect);
// Every byte + Random(N) - N div 2 (one draw per byte). Nothing when N <= 0.
void ColorNoise24(TBitmap& Bitmap, int N, const TRect& Rect);
// One draw Random(N) - N div 2 per pixel, added to its three bytes.
void MonoNoise24(TBitmap& Bitmap, int N, const TRect& Rect);
// Every pixel copies an unfiltered pixel near it, the position clamped into
// the rect. With r = Random(2D + 1): Mode 1 (x + r - D, y), 2 (x, y + r - D),
// 3 (x + r - D, y + D - r), 4 (x + Random(D + 1), y + Random(D + 1)), 5 (x + r
// - D, y + r - D); any other mode draws x then y from -D..D. Nothing when
// Distance <= 0.
void Diffuse24(TBitmap& Bitmap, int Distance, int Mode, const TRect& Rect);
// Black and white by error diffusion of the grey in the blue byte (weights 7
// right, 3 below left, 5 below, 1 below right, / 16) over rows Top..Bottom-2
// and columns Left+1..Right-2; the other pixels keep their diffused grey.
void DitherFloydSteinberg24(TBitmap& Bitmap, const TRect& Rect);
// A copy blurred by GaussianBlur (Radius, exponent 1.0), negated and mixed at
// 50 % over the image.
void HighPass24(TBitmap& Bitmap, int Radius, const TRect& Rect);

// ---- Emboss ---------------------------------------------------------------------
// Dst := clamp(p + c - n) per channel, p = Src(x, y), c the channel of Color
// and n = Src(x + dx, y + dy), or p when that lies outside the rect. Offsets
// by Direction: 0 (d, 0), 1 (d, -d), 2 (0, -d), 3 (-d, d), 4 (-d, 0), 5 (d, d),
// 6 (0, d), other (-d, -d); y grows downwards. Rect is clipped to both bitmaps.
void EmbossFromSource24(const TBitmap& Src, TBitmap& Dst, int Direction, int Distance, TColor Color, const TRect& Rect);
// The same with a copy of the bitmap as Src.
void Emboss24(TBitmap& Bitmap, int Direction, int Distance, TColor Color, const TRect& Rect);

// ---- Tone tables -----------------------------------------------------------------
// Each byte through a 256-entry table built once per call.

// P (-100..100): v + P * v div 100 when P < 0, v + (255 - v) * P div 100
// otherwise. Nothing when P = 0.
void Brightness24(TBitmap& Bitmap, int P, const TRect& Rect);
// The brightness table of each percentage on its channel; nothing when all
// three are 0.
void BrightnessRGB24(TBitmap& Bitmap, int PR, int PG, int PB, const TRect& Rect);
// As BrightnessRGB24 for the values in Lo..Hi (clamped to 0..255), the
// results clamped to Lo..Hi; other values stay. Nothing when Lo >= Hi.
void BandBrightnessRGB24(TBitmap& Bitmap, int PR, int PG, int PB, int Lo, int Hi, const TRect& Rect);
void Contrast24(TBitmap& Bitmap, int P, const TRect& Rect);
// v + P * (v - 128) div 100 per channel; nothing when all three are 0.
void ContrastRGB24(TBitmap& Bitmap, int PR, int PG, int PB, const TRect& Rect);
// Every byte in Lo..Hi := v + (v - Centre) * P div 100 clamped to Lo..Hi.
// Nothing when P = 0, Centre outside 0..255, Lo < 0, Hi > 255 or Lo >= Hi.
void BandContrast24(TBitmap& Bitmap, int P, int Lo, int Hi, int Centre, const TRect& Rect);
void Gamma24(TBitmap& Bitmap, double G, const TRect& Rect);
// v -> Trunc(255 * (v / 255)^(1 / G)) per channel; nothing when a gamma is 0
// or all three are 1.
void GammaRGB24(TBitmap& Bitmap, double GR, double GG, double GB, const TRect& Rect);
// v -> OutLo when v <= InLo, else Trunc(OutLo + (OutHi - OutLo) * ((v - InLo) /
// (InHi - InLo))^(1 / Gamma)) clamped to OutLo..OutHi. When InHi <= InLo the
// values above InLo go to OutHi (the limit of a steep ramp). Nothing when
// Gamma = 0.
void Levels24(TBitmap& Bitmap, double Gamma, int InLo, int InHi, int OutLo, int OutHi, const TRect& Rect);
// The Levels24 table of each channel's five values on that channel; nothing
// when any gamma is 0.
void LevelsRGB24(TBitmap& Bitmap, double GammaR, int InLoR, int InHiR, int OutLoR, int OutHiR, double GammaG, int InLoG,
                 int InHiG, int OutLoG, int OutHiG, double GammaB, int InLoB, int InHiB, int OutLoB, int OutHiB,
                 const TRect& Rect);

// ---- Statistics -------------------------------------------------------------------

// Least and greatest value of each channel over the rect; 255 and 0 for an
// empty rect.
void ChannelMinMax24(const TBitmap& Bitmap, const TRect& Rect, uint8_t& MinR, uint8_t& MaxR, uint8_t& MinG,
                     uint8_t& MaxG, uint8_t& MinB, uint8_t& MaxB);
// Least and greatest L; 255 and 0 for an empty rect.
void LuminanceMinMax24(const TBitmap& Bitmap, const TRect& Rect, uint8_t& Min, uint8_t& Max);
// Per channel the mean (sum div count) of its values in Lo..Hi; an output
// whose channel has no such value, or all of them for an empty rect, keeps
// its value.
void ChannelMeansInRange24(const TBitmap& Bitmap, const TRect& Rect, int Lo, int Hi, uint8_t& MeanR, uint8_t& MeanG,
                           uint8_t& MeanB);
// Pixels with L < Lo, Lo <= L <= Hi, L > Hi. The counts start from 0, except
// for an empty rect, which leaves them as they are.
void CountToneZones24(const TBitmap& Bitmap, const TRect& Rect, int Lo, int Hi, int& Dark, int& Mid, int& Light);

// ---- Colour filters ---------------------------------------------------------------

// L > Threshold -> LightColor, else DarkColor; Threshold <= 0 fills with
// LightColor, >= 255 with DarkColor.
void ThresholdTwoColors24(TBitmap& Bitmap, int Threshold, TColor DarkColor, TColor LightColor, const TRect& Rect);
void Saturation24(TBitmap& Bitmap, int P, const TRect& Rect);
// Each channel v := v + (v - L) * P div 100 with its own P, L of the
// unchanged pixel; nothing when all three are 0.
void SaturationRGB24(TBitmap& Bitmap, int PR, int PG, int PB, const TRect& Rect);
// Every pixel keeps its HSV saturation and value and takes the hue Hue,
// wrapped into 0..359.
void ColorizeHue24(TBitmap& Bitmap, int Hue, const TRect& Rect);
void ColorizeColor24(TBitmap& Bitmap, TColor Color, const TRect& Rect);
// The HSV hue of every pixel turned by Degrees, wrapped into 0..359 (400
// turns as 40); nothing when Degrees = 0.
void HueShift24(TBitmap& Bitmap, int Degrees, const TRect& Rect);
// A pixel whose three channels each lie within Tolerance of Color takes the
// hue of NewColor and keeps its own saturation and value; nothing when
// Tolerance < 0.
void ReplaceColorHue24(TBitmap& Bitmap, TColor Color, TColor NewColor, int Tolerance, const TRect& Rect);
// The new (red, green, blue) as old channels: 0 (R, B, G), 1 (G, R, B), 2 (G,
// B, R), 3 (B, R, G), other (B, G, R).
void SwapRGB24(TBitmap& Bitmap, int Mode, const TRect& Rect);
// Desaturates (Strength < 0) or saturates the pixels whose YCbCr chroma is
// near that of Color (far from it with Invert), Sharpness 1..8 narrowing the
// neighbourhood; chroma never crosses neutral when desaturating. Single
// precision; nothing when Strength = 0.
void PartialDesat24(TBitmap& Bitmap, TColor Color, float Strength, float Sharpness, bool Invert, const TRect& Rect);
// Glyph tinting over the whole bitmap: a pixel within 7 of KeyColor on every
// channel becomes NewKeyColor; any other takes l = (B + G + R) div 3,
// lightened by Lighten percent (when above 0), then each channel of l moved
// toward TintColor by Percent. Nothing when Percent <= 0; Percent and Lighten
// are capped at 100.
void TintBitmapEx(TBitmap& Bitmap, TColor KeyColor, TColor NewKeyColor, TColor TintColor, int Percent, int Lighten);
void TintBitmap(TBitmap& Bitmap, TColor KeyColor, TColor TintColor, int Percent);
