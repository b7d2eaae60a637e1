// The batch pipeline: the settings of one batch run as plain values, the
// output naming rules, the two automatic corrections and the pixel steps
// that run on each loaded image, in their fixed order. Pure code over a
// 24-bit bitmap; the run (BatchRun.h) calls it and owns the cancel checks.
// Depends on raster, filters (point and matrix filters), files (colour
// reduction) and document (patterns); used by the batch run and its dialog.
#pragma once

#include "platform/Colors.h"
#include "raster/Pixels.h"

#include <QString>

class TBitmap;
class TPattern32;

// Export formats by their list index; TIFF only while FreeImage is loaded.
enum TBatchFormat : uint8_t { bfJpeg, bfPng, bfBmp, bfGif, bfTiff };

// What the batch dialog's controls ask for, read once when the run starts
// (the dialog is hidden while it runs).
struct TBatchSettings {
  QString ExportFolder;
  int ExportFormat = bfJpeg;
  int Quality = 90; // JPEG, 10..100
  // 0 no reduction, 1 256 colours, 2 16 colours, 3 black and white by
  // threshold, 4 dithered black and white; ignored for JPEG.
  int ColorCountIndex = 0;
  bool Sequence = false;
  QString SequencePrefix = QStringLiteral("Image");

  bool Resize = false;
  double ResizeWidth = 800, ResizeHeight = 600;
  bool ResizePercent = false;
  bool KeepRatio = true;
  bool Optimise = true;

  // Tone steps: gamma in tenths (10 neutral), the others in percent; each
  // with its channel set (0 all .. 6 yellow, see SetChannelOffsets).
  int Gamma = 10, GammaChannels = 0;
  int Saturation = 0, SaturationChannels = 0;
  int Brightness = 0, BrightnessChannels = 0;
  int Contrast = 0, ContrastChannels = 0;

  bool ColorFilter = false;
  TColor FilterColor = 0x000080;
  int FilterOpacity = 30;
  bool FilterInvert = false;

  bool Soften = false, Sharpen = false, Blur = false, Relief = false, Noise = false, Scanlines = false;
  bool InnerBlur = false, SharperContours = false, Negative = false, AutoLevels = false, AutoContrast = false;
  bool Sepia = false;

  bool Overlay = false;

  bool Frame = false;
  int FrameWidth = 15;
  TColor FrameColor = clWhite;
  bool FrameOutside = false;

  bool Canvas = false;
  int CanvasWidth = 0, CanvasHeight = 0; // below 10: the image's own size
  TColor CanvasColor = clWhite;
  QString PatternFile;
  bool Shadow = false;
  int ShadowSize = 7;
  TPosition Anchor = poCenter;

  bool Rotation = false;
  int RotationKind = 0; // 0 quarter turn clockwise, 1 anticlockwise, 2 half turn
  bool Flip = false;
  int FlipKind = 0; // 0 top to bottom, 1 left to right

  bool ForceDpi = false;
  double Dpi = 96;

  bool Stamp = false;
};

// ---- Output naming ----------------------------------------------------------------

// ".jpg", ".png", ".bmp", ".gif" or ".tif" by format index (".jpg" outside).
QString ExportExtension(int Format);
// Prefix, Number on at least four digits, extension: "Image", 3 -> Image0003.jpg.
QString SequenceFileName(const QString& Prefix, int Number, int Format);
// The name a source file is saved under: the sequence name of Number, or
// Source with its extension replaced by the format's.
QString BatchOutputName(const TBatchSettings& S, const QString& Source, int Number);
// The colour count the save reduces to: 0 (none), 256, 16 or 2.
int BatchColorCount(const TBatchSettings& S);

// ---- Channel sets -----------------------------------------------------------------

// Value on the channels of set Channel (0 all, 1 red, 2 green, 3 blue, 4
// green and blue, 5 red and blue, 6 red and green), 0 on the others and on
// all three for any other set. SetChannelFactors: the same with 1.0.
void SetChannelOffsets(int& R, int& G, int& B, int Value, int Channel);
void SetChannelFactors(double& R, double& G, double& B, double Value, int Channel);

// ---- Size steps -------------------------------------------------------------------

struct TBatchSize {
  int Width = 0, Height = 0;
};
// The size the resize step gives a W x H image: percent of it (halves to
// even), or the given pixels, fitted into them keeping the aspect ratio
// (enlarging too) with KeepRatio.
TBatchSize BatchResizeTarget(const TBatchSettings& S, int W, int H);
// The canvas step: false (nothing done) when the canvas has the image's size.
// Pattern may be null.
bool ApplyBatchCanvas(TBitmap& Bitmap, const TBatchSettings& S, const TPattern32* Pattern);
