// The tone-curve file (.lmc) and the curve-deformation file (.lmd): their
// data, readers and writers. Depends on the stream helpers of filters and
// the path model of tools; used by the curve dialogs and the fuzz targets.
//
// Both readers take the whole file before answering: a file that fails
// (another magic, a count outside the curve's vertex range, a coordinate
// outside the curve's space, a file that ends early) throws EStreamReadError
// and the caller's curves stay as they were.
#pragma once

#include "tools/PathControl.h"

#include <array>

class QIODevice;

// ---- Tone curves -----------------------------------------------------------------
// Curve coordinates: x the input level, y 255 minus the output level.
inline constexpr int CurveSize = 256;
inline constexpr int MinCurveVertices = 2;
inline constexpr int MaxCurveVertices = 7;

// The composite channel, then red, green and blue.
enum TCurveChannelIndex : int { ccComposite, ccRed, ccGreen, ccBlue };
inline constexpr int CurveChannelCount = 4;

struct TCurveChannel {
  bool InUse = false;
  TPathVertexList Vertices;
  friend bool operator==(const TCurveChannel&, const TCurveChannel&) = default;
};

struct TCurveSet {
  bool BezierMode = true;
  std::array<TCurveChannel, CurveChannelCount> Channels;
  friend bool operator==(const TCurveSet&, const TCurveSet&) = default;
};

// The identity: (0, 255), (128, 127), (255, 0).
TPathVertexList DefaultCurve();
// Bezier segments, four identity curves, none in use.
TCurveSet DefaultCurveSet();

// "Lumaretique Curves" (18 bytes, no terminator), the segment mode byte,
// then per channel the in-use byte, a 16-bit count and 14-byte vertices.
inline constexpr char CurvesFileMagic[] = "Lumaretique Curves";
void WriteCurvesFile(QIODevice& Stream, const TCurveSet& Set);
// Counts must lie in 2..7 and anchors in 0..255.
TCurveSet ReadCurvesFile(QIODevice& Stream);

// ---- Deformation curves -----------------------------------------------------------
inline constexpr int MinDeformVertices = 3;
inline constexpr int MaxDeformVertices = 7;
// The side of the space a deformation file holds its curve in.
inline constexpr int DeformFileSpace = 777;

// A deformation curve in the pixels of a thumbnail.
struct TDeformCurve {
  bool Horizontal = true; // along a horizontal axis (else vertical)
  bool BezierMode = true;
  TPathVertexList Vertices;
};

// "Lumaretique Deform Curve" (24 bytes), a reserved 32-bit value (0), the
// axis, the segment mode, a 16-bit count and 14-byte vertices.
inline constexpr char DeformFileMagic[] = "Lumaretique Deform Curve";
// The curve, drawn on a W x H thumbnail, is stored relative to the
// thumbnail's middle line (y - H div 2 for a horizontal axis, x - W div 2
// for a vertical one) and scaled to DeformFileSpace (x by 777 / W, y by
// 777 / H, rounded), so that it fits a thumbnail of any size.
void WriteDeformFile(QIODevice& Stream, const TDeformCurve& Curve, int W, int H);
// The reverse onto a W x H thumbnail. Counts must lie in 3..7 and stored
// anchors within DeformFileSpace of the middle line.
TDeformCurve ReadDeformFile(QIODevice& Stream, int W, int H);
