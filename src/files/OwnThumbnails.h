// The outline files as pictures: a selection file (.lms) and a path file
// (.lmv) drawn in black on white, so that the open dialog's preview, the
// image browser and the load dispatch show them like images. In thumbnail
// mode the drawing fits into 200 x 200 while the outline's full size is still
// reported. Depends on the selection shapes (document) and the path model
// (tools); used by the load dispatch (BmpOE2).
//
// A file that cannot be read throws EStreamError and leaves the bitmap as it
// was: nothing is drawn on failure.
#pragma once

#include "platform/Bitmap.h"

#include <QString>

class QIODevice;
class TStream;

inline constexpr int OutlineThumbSize = 200;

// (0, 0, w, h): R's size fitted into 200 x 200 (small sizes grow).
TRect ThumbBounds(const TRect& R);

class TLmsImage : public TBitmap {
public:
  bool ThumbMode = false;
  int SelWidth() const { return FSelWidth; }
  int SelHeight() const { return FSelHeight; }

  // The shape filled black (brush and pen) on white, 24 bits; outside
  // thumbnail mode every shape but a rectangle has its stair-steps smoothed.
  void LoadFromStream(TStream& Stream);
  void LoadFromFile(const QString& FileName);

private:
  int FSelWidth = 0;
  int FSelHeight = 0;
};

class TLmvImage : public TBitmap {
public:
  bool ThumbMode = false;
  int PathWidth() const { return FPathWidth; }
  int PathHeight() const { return FPathHeight; }

  // The path (at least 2 vertices) as an anti-aliased black line or curve on
  // white, 24 bits, the size of its bounds (control points included in
  // Bezier mode); in thumbnail mode shrunk, never enlarged, to 200 x 200.
  void LoadFromStream(QIODevice& Stream);
  void LoadFromFile(const QString& FileName);

private:
  int FPathWidth = 0;
  int FPathHeight = 0;
};
