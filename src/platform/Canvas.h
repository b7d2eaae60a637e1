// TCanvas: drawing on a TBitmap with the platform's drawing rules, and the
// line walk (LineDDA) and halftone stretch those rules are built from.
// Depends on Colors and Types (and QtGui for text); Bitmap.h includes it, so
// every library above platform sees it through the bitmap.
//
// The rules, which differ from QPainter's:
// - Shapes are rasterised here, exactly, because they become selection masks.
//   Coordinates are pixel indices; a rectangle covers Left..Right-1 and
//   Top..Bottom-1 (Right and Bottom exclusive). Coordinates beyond +/-2^27
//   (the platform's limit) make a shape draw nothing.
// - MoveTo/LineTo, Polyline, PolyBezier and polygon outlines follow LineDDA:
//   the start pixel is drawn, the end pixel is not, so joined segments set
//   every pixel once.
// - Rectangle, Ellipse and RoundRect with a visible pen cover exactly the
//   rectangle: the one-pixel outline is the shape's border, the brush fills
//   the rest. With a clear pen the platform fills one pixel less to the right
//   and at the bottom (callers that want the whole rectangle add one).
// - Polygon fills by the alternate (even-odd) rule, sampling pixel (x, y) at
//   the point (x, y) with the left and top edges in and the right and bottom
//   edges out; its outline then adds the edge pixels.
// - A pen wider than 1 is a round nib of that diameter stamped on every pixel
//   of the one-pixel path, both ends included (round caps and joins). Dashed
//   pen styles draw solid: dashed previews are drawn by the line brushes.
// - Pen modes apply to everything a shape draws, brush included: copy, XOR
//   with the colour, or not (invert). FillRect, FrameRect, Pixels and the
//   blits ignore the pen mode. Within one call every pixel is changed once, so
//   an XOR shape drawn twice leaves the bitmap as it was.
// - 24- and 32-bit bitmaps are drawn through their rows; 1-, 4- and 8-bit ones
//   too, each colour becoming its nearest palette entry (XOR and not work on
//   the palette index). A 32-bit pixel takes the value (B, G, R, 0) as a
//   whole: copy writes alpha 0 (as fills by the platform do), XOR keeps the
//   alpha byte, not inverts it. Blits between two 32-bit bitmaps carry alpha.
// - The clip rectangle stays in force until it is reset, or until the bitmap
//   is resized or reformatted (the platform then gives the canvas a fresh
//   context).
// - Text goes through a QPainter on a copy of the text's area and writes back
//   the pixels whose colour changed. It needs a QGuiApplication (the font
//   database); without one nothing is drawn and text measures 0.
#pragma once

#include "platform/Colors.h"
#include "platform/Types.h"

#include <QString>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>

class TBitmap;

// The platform's brush styles in its order. A hatch paints lines of the
// brush colour on an 8 x 8 grid anchored at the bitmap's origin, so that
// neighbouring fills join; the pixels between the lines are left as they
// are (the platform draws hatches in transparent background mode).
enum class TBrushStyle : uint8_t { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
// Whether a fill of Style paints pixel (X, Y): every pixel for a solid brush,
// none for a clear one, the lines of a hatch.
bool BrushPaints(TBrushStyle Style, int X, int Y);
enum class TPenStyle : uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };
enum class TPenMode : uint8_t { pmCopy, pmXor, pmNot };
// How StretchDraw and CopyRect resample when the sizes differ: the nearest
// source pixel ("colour on colour", eliminated pixels dropped) or an
// area-averaging reduction (halftone).
enum class TStretchBltMode : uint8_t { sbmColorOnColor, sbmHalftone };

enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = uint8_t; // a set of TFontStyle flags
enum class TFontQuality : uint8_t { fqDefault, fqNonAntialiased, fqAntialiased };

struct TBrush {
  TColor Color = clWhite;
  TBrushStyle Style = TBrushStyle::bsSolid;
};

struct TPen {
  TColor Color = clBlack;
  int Width = 1;
  TPenStyle Style = TPenStyle::psSolid;
  TPenMode Mode = TPenMode::pmCopy;
};

struct TFont {
  QString Name = QStringLiteral("Tahoma");
  // Pixels at 96 dots per inch: negative is the character height, positive
  // the cell height (character plus internal leading).
  int Height = -11;
  TFontStyles Style = 0;
  TColor Color = clWindowText;
  // Angle of the baseline in tenths of a degree, counter-clockwise.
  int Orientation = 0;
  TFontQuality Quality = TFontQuality::fqDefault;

  // Size in points, linked to Height as the platform links them at 96 dpi.
  int Size() const;
  void SetSize(int Points);
};

class TCanvas {
public:
  explicit TCanvas(TBitmap* Owner) : FBitmap(Owner) {}
  TBrush Brush;
  TPen Pen;
  TFont Font;
  TBitmap* Bitmap() const { return FBitmap; }

  // The current position, set by MoveTo and moved by LineTo and TextOut.
  TPoint PenPos;
  TStretchBltMode StretchBltMode = TStretchBltMode::sbmColorOnColor;

  // ---- Clipping ----
  // The rectangle drawing is limited to: the whole bitmap unless narrowed,
  // (0, 0, 0, 0) for an empty bitmap.
  TRect ClipRect() const;
  // Replaces the clip by R (cut to the bitmap).
  void SetClipRect(const TRect& R);
  // Narrows the current clip to its intersection with R.
  void IntersectClipRect(const TRect& R);
  void ResetClip();

  // ---- Lines and shapes (pen, brush and pen mode) ----
  void MoveTo(int X, int Y);
  void LineTo(int X, int Y);
  // The rectangle arguments may be given in any corner order.
  void Rectangle(int X1, int Y1, int X2, int Y2);
  void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
  void Ellipse(int X1, int Y1, int X2, int Y2);
  void Ellipse(const TRect& R) { Ellipse(R.Left, R.Top, R.Right, R.Bottom); }
  // Corners are quarters of an ellipse of CornerW x CornerH (cut to the
  // rectangle's size); 0 or 1 gives square corners.
  void RoundRect(int X1, int Y1, int X2, int Y2, int CornerW, int CornerH);
  // Closed and filled (alternate rule); fewer than 2 points draw nothing.
  void Polygon(std::span<const TPoint> Points);
  // Open, never filled, the last point left out; PenPos is not used.
  void Polyline(std::span<const TPoint> Points);
  // Cubic Bezier segments: a start point then 3 points per segment (extra
  // points are ignored), flattened and drawn as a polyline.
  void PolyBezier(std::span<const TPoint> Points);

  // ---- Brush fills (pen mode ignored; a clear brush draws nothing; a hatch
  // draws its lines only) ----
  // R as given: a reversed rectangle is empty.
  void FillRect(const TRect& R);
  // The one-pixel border of R in the brush colour.
  void FrameRect(const TRect& R);

  // ---- Pixels ----
  // clNone outside the bitmap or the clip rectangle.
  TColor Pixels(int X, int Y) const;
  void SetPixels(int X, int Y, TColor Color);

  // ---- Blits ----
  // Graphic at (X, Y), 1:1; a Transparent graphic leaves out its transparent
  // colour (compared on 24 bits).
  void Draw(int X, int Y, const TBitmap& Graphic);
  // The whole Graphic stretched onto R with StretchBltMode; a Transparent
  // graphic is stretched by nearest pixel, its transparent colour left out.
  void StretchDraw(const TRect& R, const TBitmap& Graphic);
  // Source of Canvas's bitmap stretched onto Dest with StretchBltMode, a plain
  // copy. A rectangle whose Right is left of its Left covers Right+1..Left and
  // is mirrored (likewise Bottom above Top); copying within one bitmap reads
  // the pixels as they were. Pixels that would come from outside the source
  // bitmap are left unchanged.
  void CopyRect(const TRect& Dest, const TCanvas& Canvas, const TRect& Source);

  // ---- Text (Font; an opaque background in the brush colour when the
  // brush is solid; pen mode ignored) ----
  // (X, Y) is the top-left corner of the text cell; PenPos moves to its end.
  void TextOut(int X, int Y, const QString& Text);
  int TextWidth(const QString& Text) const;
  int TextHeight(const QString& Text) const;

private:
  TBitmap* FBitmap;
  bool FClipped = false;
  TRect FClip;
};

// The stretches behind CopyRect and StretchDraw, as plain functions over two
// bitmaps: SrcRect of Src onto DstRect of Dst (either may be mirrored as in
// CopyRect), writing only inside DstClip and Dst. Src and Dst may be the same
// bitmap. Rectangles more than 2^24 pixels wide or high draw nothing.
void StretchNearest(const TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, const TRect& DstRect, const TRect& DstClip);
// Each destination pixel gets the average of the source area it covers,
// every source pixel weighted by the part of it inside that area (a box
// filter), rounded to nearest with ties to even, alpha included. Source
// pixels outside Src do not count; a destination pixel whose whole area lies
// outside Src is left unchanged.
void StretchHalftone(const TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, const TRect& DstRect,
                     const TRect& DstClip);
// Nearest-pixel stretch that leaves out the source pixels of TransparentColor
// (compared on their low 24 bits).
void StretchTransparent(const TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, const TRect& DstRect,
                        const TRect& DstClip, TColor TransparentColor);

// ---- LineDDA ----
// The platform's one-pixel line from (X1, Y1) towards (X2, Y2): one pixel per
// step along the longer axis (X when both are equal), the start included and
// the end left out; on the other axis the pixel nearest the ideal line, an
// exact tie staying on the start's side. Proc(X, Y) is called per pixel, in
// order; a zero-length line calls nothing.
namespace CanvasDetail {
// The same walk limited to the steps From <= I < To (0 <= From, To <= length).
template <class F> void WalkLine(int X1, int Y1, int X2, int Y2, int64_t From, int64_t To, F&& Proc) {
  const int64_t DX = int64_t(X2) - X1, DY = int64_t(Y2) - Y1;
  const int64_t AX = DX < 0 ? -DX : DX, AY = DY < 0 ? -DY : DY;
  const bool XMajor = AX >= AY;
  const int64_t Major = XMajor ? AX : AY, Minor = XMajor ? AY : AX;
  if (Major == 0 || From >= To) return;
  const int SMajor = (XMajor ? DX : DY) < 0 ? -1 : 1, SMinor = (XMajor ? DY : DX) < 0 ? -1 : 1;
  // Minor offset at step I: floor((2 I Minor + Major - 1) / (2 Major)); R is
  // the remainder of that division.
  const __int128 N = __int128(2) * From * Minor + Major - 1;
  int64_t Q = static_cast<int64_t>(N / (2 * Major));
  int64_t R = static_cast<int64_t>(N - __int128(Q) * 2 * Major);
  int64_t MajorPos = (XMajor ? X1 : Y1) + From * SMajor;
  int64_t MinorPos = (XMajor ? Y1 : X1) + Q * SMinor;
  for (int64_t I = From; I < To; ++I) {
    if (XMajor)
      Proc(static_cast<int>(MajorPos), static_cast<int>(MinorPos));
    else
      Proc(static_cast<int>(MinorPos), static_cast<int>(MajorPos));
    MajorPos += SMajor;
    R += 2 * Minor;
    if (R >= 2 * Major) {
      R -= 2 * Major;
      MinorPos += SMinor;
    }
  }
}
} // namespace CanvasDetail

template <class F> void LineDDA(int X1, int Y1, int X2, int Y2, F&& Proc) {
  const int64_t Length = std::max(std::llabs(int64_t(X2) - X1), std::llabs(int64_t(Y2) - Y1));
  CanvasDetail::WalkLine(X1, Y1, X2, Y2, 0, Length, Proc);
}
