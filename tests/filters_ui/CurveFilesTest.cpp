// The tone-curve (.lmc) and curve-deformation (.lmd) files: layout, round
// trips across thumbnail sizes, and the files the readers refuse whole.
#include "filters/ui/CurveFiles.h"
#include "filters/StreamUtils.h"

#include "../support/StreamBytes.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <functional>

namespace {

TPathVertexData Vertex(TPoint P, TPoint B1 = {}, bool I1 = false, TPoint B2 = {}, bool I2 = false) {
  TPathVertexData V;
  V.PP = P;
  V.B1 = B1;
  V.B1Initialized = I1;
  V.B2 = B2;
  V.B2Initialized = I2;
  return V;
}

TCurveSet SampleSet() {
  TCurveSet Set = DefaultCurveSet();
  Set.BezierMode = false;
  Set.Channels[ccRed].InUse = true;
  Set.Channels[ccRed].Vertices = {Vertex({0, 200}), Vertex({40, 180}, {30, 190}, true, {50, 170}, true),
                                  Vertex({100, 100}, {-3, 300}, true), Vertex({180, 60}), Vertex({255, 10})};
  Set.Channels[ccBlue].Vertices = {Vertex({12, 255}), Vertex({255, 0})};
  return Set;
}

QByteArray Le16(int V) {
  const char B[2] = {char(V & 0xFF), char((V >> 8) & 0xFF)};
  return QByteArray(B, 2);
}

// A curves file whose composite channel holds Count vertices of Anchor.
QByteArray CurvesFileWith(int Count, TPoint Anchor) {
  QByteArray F = QByteArray("Lumaretique Curves") + '\1' + '\1' + Le16(Count);
  for (int I = 0; I < std::max(Count, 0); ++I) F += Le16(Anchor.X) + Le16(Anchor.Y) + QByteArray(10, '\0');
  const QByteArray Rest = Written([](QIODevice& S) { WriteCurvesFile(S, DefaultCurveSet()); });
  return F + Rest.mid(19 + 3 + 3 * 14);
}

QByteArray DeformFileWith(int Count, TPoint Anchor) {
  QByteArray F = QByteArray("Lumaretique Deform Curve") + QByteArray(4, '\0') + '\1' + '\1' + Le16(Count);
  for (int I = 0; I < std::max(Count, 0); ++I) F += Le16(Anchor.X) + Le16(Anchor.Y) + QByteArray(10, '\0');
  return F;
}

void ExpectRefused(const QByteArray& Bytes, const std::function<void(QIODevice&)>& Read, const char* Why) {
  EXPECT_THROW(ReadFrom(Bytes, [&](QIODevice& S) { return Read(S), 0; }), EStreamReadError) << Why;
}

} // namespace

TEST(CurvesFile, RoundTripsAndTheDefaultSetIs199Bytes) {
  const QByteArray Default = Written([](QIODevice& S) { WriteCurvesFile(S, DefaultCurveSet()); });
  EXPECT_EQ(Default.size(), 199);
  // Bezier segments; the composite curve not in use, 3 vertices, (0, 255) first.
  EXPECT_TRUE(Default.startsWith(QByteArray("Lumaretique Curves\1\0\3\0\0\0\xFF\0", 26)));
  EXPECT_EQ(ReadFrom(Default, ReadCurvesFile), DefaultCurveSet());
  const QByteArray Sample = Written([](QIODevice& S) { WriteCurvesFile(S, SampleSet()); });
  EXPECT_EQ(ReadFrom(Sample, ReadCurvesFile), SampleSet());
}

TEST(CurvesFile, EveryBadFileIsRefusedWhole) {
  const auto Read = [](QIODevice& S) { ReadCurvesFile(S); };
  const QByteArray Good = Written([](QIODevice& S) { WriteCurvesFile(S, SampleSet()); });
  for (int N = 0; N < Good.size(); ++N) ExpectRefused(Good.left(N), Read, "cut short");
  QByteArray Magic = Good;
  Magic[3] = 'A';
  ExpectRefused(Magic, Read, "another magic");
  EXPECT_NO_THROW(ReadFrom(CurvesFileWith(7, {255, 255}), ReadCurvesFile));
  ExpectRefused(CurvesFileWith(8, {10, 10}), Read, "an eighth vertex");
  ExpectRefused(CurvesFileWith(1, {10, 10}), Read, "a single vertex");
  ExpectRefused(CurvesFileWith(0, {10, 10}), Read, "no vertex");
  ExpectRefused(CurvesFileWith(-3, {10, 10}), Read, "a negative count");
  ExpectRefused(CurvesFileWith(3, {256, 10}), Read, "an input level beyond 255");
  ExpectRefused(CurvesFileWith(3, {10, -1}), Read, "an output level beyond 255");
}

TEST(DeformFile, IsNormalisedSoThatItFitsAnyThumbnail) {
  TDeformCurve Curve;
  Curve.BezierMode = false;
  Curve.Vertices = {Vertex({0, 50}), Vertex({100, 30}, {90, 30}, true, {110, 30}, true), Vertex({199, 50})};
  const QByteArray Bytes = Written([&](QIODevice& S) { WriteDeformFile(S, Curve, 200, 100); });
  ASSERT_EQ(Bytes.size(), 32 + 3 * 14);
  EXPECT_EQ(Bytes.mid(24, 8), QByteArray("\0\0\0\0\1\0\3\0", 8));
  // (100, 30) on a 200 x 100 thumbnail: (100 x 777 / 200, (30 - 50) x 777 / 100).
  EXPECT_EQ(Bytes.mid(32 + 14, 4), Le16(388) + Le16(-155));
  // Read into a thumbnail twice as large, every point is at twice its place.
  const TDeformCurve Twice = ReadFrom(Bytes, [](QIODevice& S) { return ReadDeformFile(S, 400, 200); });
  EXPECT_TRUE(Twice.Horizontal);
  EXPECT_FALSE(Twice.BezierMode);
  ASSERT_EQ(Twice.Vertices.size(), 3u);
  EXPECT_EQ(Twice.Vertices[0].PP, (TPoint{0, 100}));
  EXPECT_EQ(Twice.Vertices[1].PP, (TPoint{200, 60}));
  EXPECT_EQ(Twice.Vertices[1].B1, (TPoint{180, 60}));
  EXPECT_TRUE(Twice.Vertices[1].B2Initialized);
  EXPECT_EQ(Twice.Vertices[2].PP, (TPoint{398, 100}));
  // And back at its own size, for both axes.
  for (const bool Horizontal : {true, false}) {
    Curve.Horizontal = Horizontal;
    const QByteArray B = Written([&](QIODevice& S) { WriteDeformFile(S, Curve, 200, 100); });
    const TDeformCurve Back = ReadFrom(B, [](QIODevice& S) { return ReadDeformFile(S, 200, 100); });
    EXPECT_EQ(Back.Horizontal, Horizontal);
    EXPECT_EQ(Back.Vertices, Curve.Vertices);
  }
}

TEST(DeformFile, EveryBadFileIsRefusedWhole) {
  const auto Read = [](QIODevice& S) { ReadDeformFile(S, 300, 200); };
  const QByteArray Good = DeformFileWith(3, {777, -777});
  EXPECT_NO_THROW(ReadFrom(Good, [](QIODevice& S) { return ReadDeformFile(S, 300, 200); }));
  for (int N = 0; N < Good.size(); ++N) ExpectRefused(Good.left(N), Read, "cut short");
  QByteArray Magic = Good;
  Magic[23] = 'E';
  ExpectRefused(Magic, Read, "another magic");
  ExpectRefused(DeformFileWith(2, {0, 0}), Read, "two vertices");
  ExpectRefused(DeformFileWith(8, {0, 0}), Read, "an eighth vertex");
  ExpectRefused(DeformFileWith(-1, {0, 0}), Read, "a negative count");
  ExpectRefused(DeformFileWith(3, {778, 0}), Read, "beyond the normalised space");
  ExpectRefused(DeformFileWith(3, {0, -32768}), Read, "far beyond the normalised space");
}
