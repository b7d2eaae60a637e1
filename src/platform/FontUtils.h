// Blocks of text on a canvas: letter and line spacing, alignment, rotation,
// antialiasing, measuring and fitting a block into a rectangle; and the tests
// that tell symbol fonts from text fonts. Depends on TCanvas (platform); used
// by the text layers, the text dialogs and the font pickers of the controls.
//
// A block is a list of lines in the canvas font. Spacing is the letter
// spacing in percent of the width of "M", LineSpacing the extra space between
// lines in percent of the height of "M", both clamped to -100..100 by the
// block routines. Alignment: 0 left, 1 centre, 2 right. Margin: pixels added
// on each side. Angle: degrees, counter-clockwise on screen.
#pragma once

#include "platform/Canvas.h"
#include "platform/Types.h"

#include <QString>
#include <QStringList>

// The platform's font-type bits, kept with each font of a font list.
constexpr int RASTER_FONTTYPE = 1;
constexpr int DEVICE_FONTTYPE = 2;
constexpr int TRUETYPE_FONTTYPE = 4;

// False for the symbol faces "Marlett" and those beginning with "Amiri",
// "Wingdings" or "Webdings" (any letter case); true otherwise.
bool IsTextFont(const QString& Name);
// True when the TrueType bit is set or the raster bit is clear.
bool CanRotateFont(int FontType);

// The canvas font drawn antialiased or not.
void SetFontQuality(TCanvas& Canvas, bool Antialiased);
// The canvas font turned by Angle degrees (kept in tenths of a degree).
void SetFontAngle(TCanvas& Canvas, double Angle);

// The width of Text with Spacing x width("M") div 100 pixels between
// characters (none after the last); 0 for an empty text. With Spacing 0 it is
// the plain text width.
int SpacedTextWidth(TCanvas& Canvas, const QString& Text, int Spacing);
// height("M") x LineSpacing div 100 + height("M").
int TextLineHeight(TCanvas& Canvas, int LineSpacing);
// n x height("M") + (height("M") x LineSpacing div 100) x (n - 1) for n
// lines; 0 for none.
int TextLinesHeight(TCanvas& Canvas, const QStringList& Lines, int LineSpacing);

// The bounding box of a W x H box turned by Angle: W' = ceil(|H sin| + |W cos|),
// H' = ceil(|W sin| + |H cos|).
void RotatedSize(int& W, int& H, double Angle);
// (X, Y) turned by Angle about (CX, CY) and moved so that that centre lands
// on (CX2, CY2); unchanged when Angle is 0.
TPoint RotatePointInt(int X, int Y, double Angle, int CX, int CY, int CX2, int CY2);

// The size of the block: the widest spaced line plus the allowance for
// overhanging glyphs (Round(0.33 a), plus Round(0.69 a) in italics, a being
// width("M")) by the lines' height, both grown by 2 x Margin, then turned by
// Angle. 0 x 0 for no lines.
void MeasureTextLines(TCanvas& Canvas, const QStringList& Lines, double Angle, int Spacing, int LineSpacing, int Margin,
                      int& W, int& H);
// The left of one line inside a block BlockWidth wide.
int LineStartX(TCanvas& Canvas, const QString& Text, int Spacing, int BlockWidth, int Alignment, int Margin);
// Draws the block, transparent, turned by Angle about its centre, into the
// box of its rotated size at the canvas origin. Leaves the canvas font with
// that quality and angle and the brush clear.
void DrawTextLines(TCanvas& Canvas, const QStringList& Lines, double Angle, int Spacing, int LineSpacing,
                   bool Antialiased, int Alignment, int Margin);

// Font sizes the fitting search stays within.
constexpr int FitFontMinSize = 1;
constexpr int FitFontMaxSize = 3000;

// Searches the canvas font size at which the block just fits Rect: when the
// block (W x H, measured first when either is 0 or less) is smaller than Rect
// both ways, the largest size still smaller both ways; when it is larger both
// ways, the smallest size still larger both ways; otherwise false and nothing
// changes. Steps of 10 points, then of 1, within FitFontMinSize ..
// FitFontMaxSize. Size, W and H receive the result; the canvas font keeps its
// size. True when Size differs from the font's size.
bool FitFontSizeToRect(const TRect& Rect, TCanvas& Canvas, const QStringList& Lines, double Angle, int Spacing,
                       int LineSpacing, int Margin, int& Size, int& W, int& H);
