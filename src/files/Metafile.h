// TMetafile: the platform's metafile picture, a vector drawing read from an
// enhanced (.emf) or a placeable Windows (.wmf) metafile and played onto a
// bitmap through the platform canvas. Depends on platform (TBitmap, TCanvas),
// the BMP reader (for the bitmaps inside) and Picture (TGraphic); used by the
// picture and the load dispatch.
//
// The records played: the mapping (window and viewport origins and extents,
// the mapping modes, the world transform of enhanced files), saved states,
// pens, brushes and fonts and their selection, lines, polylines, polygons
// (also in groups), Bezier curves, rectangles, rounded rectangles,
// ellipses, bitmaps (stretched device-independent bitmaps and blits, pattern
// fills) and text. Other records are passed over. Every record is checked
// against the bytes of the file when it is loaded: a malformed file is an
// error naming it, never a crash. The picture's size is bounded by the
// file's bytes (beyond a page, a number of pixels per byte), and playing
// stops once the records have painted 256 times the target's area, so that
// a small file cannot make us allocate a huge bitmap nor keep the program
// drawing for minutes.
#pragma once

#include "files/Picture.h"

#include <QString>

#include <cstdint>
#include <vector>

class QIODevice;

// The picture of a metafile: where it lies in the coordinates its records
// start from (an extent may be negative: mirrored), and its size in pixels.
struct TMetafileFrame {
  double Left = 0, Top = 0, Width = 1, Height = 1;
  int64_t PixelWidth = 0, PixelHeight = 0;
};

class TMetafile : public TGraphic {
public:
  // True for an enhanced metafile, false for a Windows one.
  bool Enhanced() const;
  // The size of the picture in pixels at 96 dots per inch: the frame of an
  // enhanced metafile (its bounds when the frame is under a pixel), the
  // bounding box of a placeable Windows one. The same frame is what drawing
  // maps onto the target.
  int Width() const override { return static_cast<int>(FFrame.PixelWidth); }
  int Height() const override { return static_cast<int>(FFrame.PixelHeight); }
  // What the records do not paint stays as it was.
  bool Transparent() const override { return true; }
  void Draw(TBitmap& Target, int X, int Y) const override;
  // The picture scaled onto R of the target.
  void StretchDraw(TBitmap& Target, const TRect& R) const;

  // The format is told by the content: an enhanced metafile header, or the
  // placeable header of a Windows metafile (one without it gives no size and
  // is refused). Throws EInvalidGraphic naming the file; the metafile is then
  // left empty.
  void LoadFromFile(const QString& FileName);
  void LoadFromDevice(QIODevice& Device, const QString& Name);
  void Clear();

private:
  std::vector<uint8_t> FData;
  TMetafileFrame FFrame;
};
