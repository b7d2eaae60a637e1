// Straightening a tilted photograph: the rotation angle that four edge
// cursors define on a thumbnail, the way the cursors move together, the
// largest upright rectangle left inside the turned picture, and the turn
// itself. Pure geometry and pixels, no widgets. Depends on raster (the
// affine transformation, transformed drawing, cropping); used by the
// horizon dialog and its tests.
//
// Cursor units: tenths of a thumbnail pixel. The top and bottom cursors run
// over 0 .. 10 W - 1, the left and right ones over 0 .. 10 H - 1 (W x H the
// thumbnail); the middle of a range (its maximum div 2) is the thumbnail's
// centre line. A line that should be vertical meets the top and bottom
// edges, one that should be horizontal the left and right edges.
//
// Angles are in degrees, positive anticlockwise on screen: a positive angle
// describes a picture whose horizon rises to the right, which the
// correction turns back by the opposite angle.
#pragma once

#include "raster/Pixels.h"
#include "raster/ScanMan.h"

#include <array>
#include <vector>

enum class THorizonSide : uint8_t { Top, Bottom, Left, Right };

// The positions of the four cursors, indexed by THorizonSide.
using THorizonCursors = std::array<int, 4>;

// The extent of the cursors about the middles: MidTop and MidLeft are the
// middles of the top and of the left range, MaxDeltaWidth and
// MaxDeltaHeight how far a top/bottom and a left/right cursor may go from
// them, LSurH the thumbnail's width / height.
struct THorizonRange {
  int MidTop = 0;
  int MidLeft = 0;
  int MaxDeltaWidth = 0;
  int MaxDeltaHeight = 0;
  double LSurH = 1;
};

// The range of a W x H thumbnail: the middles of 10 W - 1 and 10 H - 1; the
// shorter side's cursors may reach its edges (half its range), the longer
// side's go as far as that scaled by the aspect.
THorizonRange HorizonRange(int W, int H);

// Value kept within the middle plus or minus the side's largest offset.
int ClampHorizonCursor(const THorizonRange& Range, THorizonSide Side, int Value);

// The four cursors after the one of Side moved to Value: the opposite one
// mirrors it about the middle, the other two move by the same amount scaled
// by the aspect (Round((mT - t) x LSurH) from the top, Round((mL - l) /
// LSurH) from the left), in opposite directions, so that all four mark one
// line through the centre. Nothing is clamped here.
THorizonCursors CoupleHorizonCursors(const THorizonRange& Range, THorizonSide Side, int Value);

// (deg(ArcTan2(5 H, dT)) - 90 + deg(ArcTan2(dL, 5 W))) / 2 with dT, dL the
// top and left cursors' offsets from their middles.
double HorizonAngle(int DT, int DL, int W, int H);

// The rectangle of a W x H picture turned by Angle inside its own frame that
// the turned picture covers entirely: the frame shrunk by
// Trunc((|H sin a| + |W cos a| - W) / 2) horizontally and
// Trunc((|W sin a| + |H cos a| - H) / 2) vertically, the same for a and -a.
// With KeepRatio it is then narrowed to W / H (FitRectToAspect keeping left
// and top) and centred in the shrunk one. The whole frame when the angle is
// too large for anything to remain.
TRect HorizonCropRect(int W, int H, double Angle, bool KeepRatio);

// Dst becomes a white bitmap of Src's size receiving Src turned by -Angle
// about its centre ((W - 1) / 2, (H - 1) / 2), sampled with Mode. Src and Dst
// must be distinct.
void StraightenBitmap(const TBitmap& Src, TBitmap& Dst, double Angle, TAntialiasMode Mode);

// The correction applied: Background := Original straightened by Angle with
// bicubic sampling, then with Crop cut down to HorizonCropRect. Returns the
// rectangle kept, in the uncut background's coordinates (the whole bitmap
// when nothing was cut).
TRect StraightenHorizon(TBitmap& Background, const TBitmap& Original, double Angle, bool Crop, bool KeepRatio);

// Grid line positions along a side (the horizon and perspective grids): Round(Extent / Cells x i) for i = 0 ..
// Cells; none for a side too short to hold a cell (Cells <= 0).
std::vector<int> GridPositions(double Extent, int Cells);
