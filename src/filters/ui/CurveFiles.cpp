#include "filters/ui/CurveFiles.h"

#include "filters/StreamUtils.h"
#include "platform/Rounding.h"

#include <QByteArray>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

// One 14-byte vertex: anchor, first control point and its flag, second
// control point and its flag.
void WriteVertex(QIODevice& S, const TPathVertexData& V) {
  WritePoint(S, V.PP);
  WritePoint(S, V.B1);
  WriteBool(S, V.B1Initialized);
  WritePoint(S, V.B2);
  WriteBool(S, V.B2Initialized);
}

TPathVertexData ReadVertex(QIODevice& S) {
  TPathVertexData V;
  V.PP = ReadPoint(S);
  V.B1 = ReadPoint(S);
  V.B1Initialized = ReadBool(S);
  V.B2 = ReadPoint(S);
  V.B2Initialized = ReadBool(S);
  return V;
}

void WriteVertices(QIODevice& S, const TPathVertexList& List) {
  WriteWord(S, int(List.size()));
  for (const TPathVertexData& V : List) WriteVertex(S, V);
}

// A signed count within Min..Max, then the vertices, each anchor accepted
// by InRange.
template <class F> TPathVertexList ReadVertices(QIODevice& S, int Min, int Max, F&& InRange) {
  const int Count = int16_t(ReadWord(S));
  if (Count < Min || Count > Max) InvalidStreamData();
  TPathVertexList List;
  for (int I = 0; I < Count; ++I) {
    List.push_back(ReadVertex(S));
    if (!InRange(List.back().PP)) InvalidStreamData();
  }
  return List;
}

template <size_t N> void ReadMagic(QIODevice& S, const char (&Magic)[N]) {
  char Bytes[N - 1];
  ReadBuf(S, Bytes, N - 1);
  if (std::memcmp(Bytes, Magic, N - 1) != 0) InvalidStreamData();
}

template <size_t N> void WriteMagic(QIODevice& S, const char (&Magic)[N]) {
  WriteAnsiStr(S, QByteArray(Magic, N - 1), -1);
}

// Every point of a vertex through Map.
template <class F> void MapVertex(TPathVertexData& V, F&& Map) {
  V.PP = Map(V.PP);
  V.B1 = Map(V.B1);
  V.B2 = Map(V.B2);
}

// The thumbnail's middle line along the curve's axis.
TPoint DeformCentre(bool Horizontal, int W, int H) { return Horizontal ? TPoint{0, H / 2} : TPoint{W / 2, 0}; }

} // namespace

TPathVertexList DefaultCurve() {
  TPathVertexList L(3);
  L[0].PP = {0, 255};
  L[1].PP = {128, 127};
  L[2].PP = {255, 0};
  return L;
}

TCurveSet DefaultCurveSet() {
  TCurveSet Set;
  for (TCurveChannel& C : Set.Channels) C.Vertices = DefaultCurve();
  return Set;
}

void WriteCurvesFile(QIODevice& Stream, const TCurveSet& Set) {
  WriteMagic(Stream, CurvesFileMagic);
  WriteBool(Stream, Set.BezierMode);
  for (const TCurveChannel& C : Set.Channels) {
    WriteBool(Stream, C.InUse);
    WriteVertices(Stream, C.Vertices);
  }
}

TCurveSet ReadCurvesFile(QIODevice& Stream) {
  ReadMagic(Stream, CurvesFileMagic);
  TCurveSet Set;
  Set.BezierMode = ReadBool(Stream);
  const auto OnCurve = [](TPoint P) { return P.X >= 0 && P.X < CurveSize && P.Y >= 0 && P.Y < CurveSize; };
  for (TCurveChannel& C : Set.Channels) {
    C.InUse = ReadBool(Stream);
    C.Vertices = ReadVertices(Stream, MinCurveVertices, MaxCurveVertices, OnCurve);
  }
  return Set;
}

void WriteDeformFile(QIODevice& Stream, const TDeformCurve& Curve, int W, int H) {
  // A thumbnail has at least one pixel; the guard keeps the scale finite.
  const double SX = double(DeformFileSpace) / std::max(W, 1), SY = double(DeformFileSpace) / std::max(H, 1);
  const TPoint C = DeformCentre(Curve.Horizontal, W, H);
  WriteMagic(Stream, DeformFileMagic);
  WriteLong(Stream, 0);
  WriteBool(Stream, Curve.Horizontal);
  WriteBool(Stream, Curve.BezierMode);
  WriteWord(Stream, int(Curve.Vertices.size()));
  for (TPathVertexData V : Curve.Vertices) {
    MapVertex(V, [&](TPoint P) { return TPoint{Round((P.X - C.X) * SX), Round((P.Y - C.Y) * SY)}; });
    WriteVertex(Stream, V);
  }
}

TDeformCurve ReadDeformFile(QIODevice& Stream, int W, int H) {
  ReadMagic(Stream, DeformFileMagic);
  ReadLong(Stream); // reserved
  TDeformCurve Curve;
  Curve.Horizontal = ReadBool(Stream);
  Curve.BezierMode = ReadBool(Stream);
  const auto InSpace = [](TPoint P) { return std::abs(P.X) <= DeformFileSpace && std::abs(P.Y) <= DeformFileSpace; };
  Curve.Vertices = ReadVertices(Stream, MinDeformVertices, MaxDeformVertices, InSpace);
  const double SX = double(std::max(W, 1)) / DeformFileSpace, SY = double(std::max(H, 1)) / DeformFileSpace;
  const TPoint C = DeformCentre(Curve.Horizontal, W, H);
  for (TPathVertexData& V : Curve.Vertices)
    MapVertex(V, [&](TPoint P) { return TPoint{Round(P.X * SX) + C.X, Round(P.Y * SY) + C.Y}; });
  return Curve;
}
