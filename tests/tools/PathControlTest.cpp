// The vector path model: neighbours, bounds, fitting, flips and turns,
// smoothing, the point list, the clipboard and the .lmv file.
#include "tools/PathControl.h"

#include "platform/SafeFile.h"
#include "raster/DataFileError.h"
#include "support/PathVertices.h"
#include "tools/LineBrush24.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

namespace {

TPathVertexData V(int X, int Y) {
  TPathVertexData D;
  D.PP = {X, Y};
  return D;
}


QByteArray Saved(TPathControl& Path) {
  QBuffer Buffer;
  Buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(Path.SaveToStream(Buffer));
  return Buffer.data();
}

bool Load(TPathControl& Path, const QByteArray& Bytes, const TRect& Bounds) {
  QByteArray Copy = Bytes;
  QBuffer Buffer(&Copy);
  Buffer.open(QIODevice::ReadOnly);
  return Path.LoadFromStream(Buffer, Bounds);
}

QByteArray Int32s(std::initializer_list<int32_t> Values) {
  QByteArray B;
  for (int32_t X : Values)
    for (int K = 0; K < 4; ++K) B.append(char((uint32_t(X) >> (8 * K)) & 0xFF));
  return B;
}

QByteArray Header(int Bezier, int Closed, int N) {
  return QByteArray(PathFileMagic, 16) + QByteArray(32, '\0') + Int32s({Bezier, Closed, N});
}

// Collects the reports of the file error handler for one test.
class ErrorReports {
public:
  ErrorReports() {
    FOld = SetFileErrorHandler([this](const QString& M) { Messages << M; });
  }
  ~ErrorReports() { SetFileErrorHandler(FOld); }
  QStringList Messages;

private:
  TFileErrorHandler FOld;
};

} // namespace

TEST(PathControl, NeighboursWrapOnlyForClosedPathsOfThreeOrMore) {
  TPathControl Path;
  Path.ReplacePath(LinePath({{0, 0}, {10, 0}}), false, true);
  EXPECT_EQ(Path.NextVertex(1), -1);
  EXPECT_EQ(Path.PrevVertex(0), -1);
  Path.ReplacePath(LinePath({{0, 0}, {10, 0}, {10, 10}}), false, true);
  EXPECT_EQ(Path.NextVertex(2), 0);
  EXPECT_EQ(Path.PrevVertex(0), 2);
  EXPECT_EQ(Path.NextVertex(3), -1);
  EXPECT_EQ(Path.PrevVertex(-1), -1);
  Path.SetClosed(false);
  EXPECT_EQ(Path.NextVertex(2), -1);
  EXPECT_TRUE(Path.PathChanged());
}

TEST(PathControl, DerivedControlPointsLieAThirdOfTheWayAndFlagsReport) {
  TPathControl Path;
  TPathVertexList L = LinePath({{0, 0}, {30, 0}, {30, 60}});
  L[1].B1 = {5, 5};
  L[1].B1Initialized = true;
  Path.ReplacePath(L, true, false);
  TPoint P;
  ASSERT_TRUE(Path.GetVertex(P, 1, 3));
  EXPECT_EQ(P, (TPoint{1, 0}));
  ASSERT_TRUE(Path.GetVertex(P, 1, 2));
  EXPECT_EQ(P, (TPoint{30, 20}));
  ASSERT_TRUE(Path.GetVertex(P, 1, 1));
  EXPECT_EQ(P, (TPoint{5, 5}));
  ASSERT_TRUE(Path.GetVertex(P, 0, 1));
  EXPECT_EQ(P, (TPoint{0, 0})); // open end: the anchor itself
  EXPECT_FALSE(Path.GetVertex(P, 3, 0));
  EXPECT_FALSE(Path.GetVertex(P, 0, 4));
  EXPECT_TRUE(Path.IsStraightSegment(0, 1) == false);
  EXPECT_TRUE(Path.IsStraightSegment(1, 2));
  // Setting flag 3 stores the effective point.
  ASSERT_TRUE(Path.SetVertex({0, 1}, 1, 3));
  EXPECT_TRUE(Path.Vertices()[1].B2Initialized);
  EXPECT_EQ(Path.Vertices()[1].B2, (TPoint{30, 20}));
  EXPECT_FALSE(Path.Vertices()[1].B1Initialized);
}

TEST(PathControl, BoundsOfAnchorsControlPointsAndCurves) {
  TPathControl Path;
  EXPECT_EQ(Path.BmpBounds(2), (TRect{0, 0, 0, 0}));
  TPathVertexList L = LinePath({{10, 10}, {50, 10}});
  L[0].B2 = {20, -30};
  L[0].B2Initialized = true;
  Path.ReplacePath(L, true, false);
  EXPECT_EQ(Path.BmpBounds(0), (TRect{10, 10, 51, 11}));
  EXPECT_EQ(Path.BmpBounds(1), (TRect{10, -30, 51, 11}));
  const TRect Curve = Path.BmpBounds(2);
  EXPECT_GT(Curve.Top, -30); // the curve does not reach its control point
  EXPECT_LT(Curve.Top, 10);
  Path.SetBezierMode(false);
  EXPECT_EQ(Path.BmpBounds(3), (TRect{10, 10, 51, 11}));
}

TEST(PathControl, ExampleFileIsWrittenByteForByteAndReadBack) {
  TPathControl Path;
  Path.ReplacePath(LinePath({{100, 50}, {300, 50}, {300, 200}}), false, false);
  const QByteArray Bytes = Saved(Path);
  EXPECT_EQ(Bytes, Header(0, 0, 3) + Int32s({0, 0, 200, 0, 200, 150}));
  EXPECT_FALSE(Path.PathChanged());

  TPathControl Back;
  ASSERT_TRUE(Load(Back, Bytes, {0, 0, 201, 151}));
  EXPECT_EQ(PathAnchors(Back), (std::vector<TPoint>{{0, 0}, {200, 0}, {200, 150}}));
  EXPECT_FALSE(Back.BezierMode());
  EXPECT_FALSE(Back.Closed());
}

TEST(PathControl, BezierFileStoresEffectiveControlPointsWithTheirFlags) {
  TPathControl Path;
  Path.ReplacePath(LinePath({{0, 0}, {30, 0}}), true, false);
  EXPECT_EQ(Saved(Path), Header(1, 0, 2) + Int32s({0, 0, 0, 0, 0, 10, 0, 0, 30, 0, 20, 0, 0, 30, 0, 0}));
}

TEST(PathControl, RandomPathsRoundTripExactly) {
  std::mt19937 Rng(30);
  std::uniform_int_distribution<int> Coord(-500, 500), Count(1, 12), Bit(0, 1);
  for (int Trial = 0; Trial < 200; ++Trial) {
    TPathVertexList L;
    const int N = Count(Rng);
    for (int I = 0; I < N; ++I) {
      TPathVertexData D = V(Coord(Rng), Coord(Rng));
      D.B1 = {Coord(Rng), Coord(Rng)};
      D.B1Initialized = Bit(Rng);
      D.B2 = {Coord(Rng), Coord(Rng)};
      D.B2Initialized = Bit(Rng);
      L.push_back(D);
    }
    TPathControl Path;
    Path.ReplacePath(L, Bit(Rng), Bit(Rng));
    const TRect B = Path.BmpBounds(1);
    TPathControl Back;
    // Bounds of the path's own size: nothing is scaled or moved.
    ASSERT_TRUE(Load(Back, Saved(Path), {0, 0, B.Width(), B.Height()}));
    ASSERT_EQ(Back.PointsCount(), N);
    EXPECT_EQ(Back.BezierMode(), Path.BezierMode());
    EXPECT_EQ(Back.Closed(), Path.Closed());
    for (int I = 0; I < N; ++I)
      for (int Flag = 0; Flag < 4; ++Flag) {
        TPoint A, R;
        Path.GetVertex(A, I, Flag);
        Back.GetVertex(R, I, Flag);
        if (Flag < 3 && (Flag == 0 || Path.BezierMode())) A = {A.X - B.Left, A.Y - B.Top};
        if (!Path.BezierMode() && Flag == 3) A = {0, 0};
        if (!Path.BezierMode() && (Flag == 1 || Flag == 2)) continue; // line mode keeps no handles
        EXPECT_EQ(R, A) << "trial " << Trial << " vertex " << I << " flag " << Flag;
      }
  }
}

TEST(PathControl, HostileFilesLeaveThePathAsItWasAndReport) {
  const QByteArray Good = Header(0, 0, 2) + Int32s({0, 0, 5, 5});
  struct TCase {
    const char* Name;
    QByteArray Bytes;
  } Cases[] = {
      {"wrong magic", QByteArray("Lumaretique Pict") + Good.mid(16)},
      {"five announced, three present", Header(0, 0, 5) + Int32s({0, 0, 1, 1, 2, 2})},
      {"huge count", Header(1, 0, 0x7FFFFFFF) + Int32s({0, 0})},
      {"short header", Good.left(40)},
      {"empty", QByteArray()},
      {"coordinate out of range", Header(0, 0, 2) + Int32s({0, 0, INT32_MIN, 5})},
  };
  for (const TCase& C : Cases) {
    TPathControl Path;
    Path.ReplacePath(LinePath({{1, 2}, {3, 4}, {5, 6}}), false, true);
    Path.SetClosed(false); // a change not yet saved
    ErrorReports Reports;
    EXPECT_FALSE(Load(Path, C.Bytes, {0, 0, 100, 100})) << C.Name;
    EXPECT_EQ(PathAnchors(Path), (std::vector<TPoint>{{1, 2}, {3, 4}, {5, 6}})) << C.Name;
    EXPECT_TRUE(Path.PathChanged()) << C.Name;
    EXPECT_EQ(Reports.Messages.size(), 1) << C.Name;
  }
}

TEST(PathControl, ZeroOrNegativeCountReadsAnEmptyPath) {
  TPathControl Path;
  ASSERT_TRUE(Load(Path, Header(0, 1, -4), {0, 0, 10, 10}));
  EXPECT_EQ(Path.PointsCount(), 0);
  EXPECT_TRUE(Path.Closed());
}

TEST(PathControl, LoadingFitsLargePathsAndCentresSmallOnes) {
  TPathControl Wide;
  Wide.ReplacePath(LinePath({{0, 0}, {2999, 99}}), false, false);
  TPathControl Back;
  ASSERT_TRUE(Load(Back, Saved(Wide), {0, 0, 1000, 1000}));
  // Scaled by 999 / 2999: (2999, 99) becomes (999, 33), then centred.
  const int DY = (1000 - 34) / 2;
  EXPECT_EQ(PathAnchors(Back), (std::vector<TPoint>{{0, DY}, {999, 33 + DY}}));

  TPathControl Small;
  Small.ReplacePath(LinePath({{0, 0}, {99, 49}}), false, false);
  ASSERT_TRUE(Load(Back, Saved(Small), {10, 20, 1010, 1020}));
  EXPECT_EQ(PathAnchors(Back), (std::vector<TPoint>{{460, 495}, {559, 544}}));
}

TEST(PathControl, HorizontalAndVerticalTwoVertexPathsLoadAndDraw) {
  for (const TPathVertexList& L : {LinePath({{0, 0}, {499, 0}}), LinePath({{0, 0}, {0, 499}})}) {
    TPathControl Path;
    Path.ReplacePath(L, false, false);
    TPathControl Back;
    ASSERT_TRUE(Load(Back, Saved(Path), {0, 0, 100, 100}));
    ASSERT_EQ(Back.PointsCount(), 2);
    const TRect B = Back.BmpBounds(2);
    EXPECT_EQ(std::max(B.Width(), B.Height()), 100); // shrunk to fit
    EXPECT_EQ(std::min(B.Width(), B.Height()), 1);
    TBitmap Bmp(100, 100, pf24bit, clWhite);
    ResetLineStyle();
    Back.DrawPath(Bmp, B.Left, B.Top, clBlack, 1, 0, WholeBitmapRect);
    EXPECT_EQ(Bmp.PixelColor(B.Left + (B.Width() - 1) / 2, B.Top + (B.Height() - 1) / 2), clBlack);
  }
}

TEST(PathControl, FlipsAndTurnsComeBack) {
  TPathControl Path;
  // Bounds 31 x 21 (odd sides).
  const std::vector<TPoint> Start{{10, 10}, {40, 12}, {25, 30}};
  Path.ReplacePath(LinePath({{10, 10}, {40, 12}, {25, 30}}), false, true);
  Path.BasicTransform(0);
  EXPECT_EQ(PathAnchors(Path), (std::vector<TPoint>{{40, 10}, {10, 12}, {25, 30}}));
  Path.BasicTransform(0);
  EXPECT_EQ(PathAnchors(Path), Start);
  Path.BasicTransform(2);
  // Turned clockwise on screen about the centre (25, 20): the top-left goes
  // to the top-right.
  EXPECT_EQ(Path.AnchorPoint(0), (TPoint{35, 5}));
  Path.BasicTransform(3);
  EXPECT_EQ(PathAnchors(Path), Start);
  Path.BasicTransform(4);
  Path.BasicTransform(4);
  EXPECT_EQ(PathAnchors(Path), Start);
  EXPECT_TRUE(Path.PathChanged());
}

TEST(PathControl, SmoothingEndsCollinearPointsAndCorners) {
  TPathControl Path;
  Path.ReplacePath(LinePath({{0, 0}, {30, 0}, {90, 0}}), true, false);
  Path.SmoothVertex(0, 0);
  EXPECT_FALSE(Path.Vertices()[0].B1Initialized);
  EXPECT_FALSE(Path.Vertices()[0].B2Initialized);
  // Collinear: the one-third points (20 and 50), the farther one mirrored.
  Path.SmoothVertex(1, 0);
  EXPECT_EQ(Path.Vertices()[1].B1, (TPoint{20, 0}));
  EXPECT_EQ(Path.Vertices()[1].B2, (TPoint{40, 0}));
  Path.SetSymetricBesierPoints(false);
  Path.SmoothVertex(1, 0);
  EXPECT_EQ(Path.Vertices()[1].B2, (TPoint{50, 0}));

  // A right-angle corner: the tangent is perpendicular to the bisector, a
  // third of the shorter arm away, the other point its mirror.
  TPathControl Corner;
  Corner.ReplacePath(LinePath({{0, 0}, {30, 0}, {30, 30}}), true, false);
  Corner.SmoothVertex(1, 0);
  const TPathVertexData& C = Corner.Vertices()[1];
  ASSERT_TRUE(C.B1Initialized && C.B2Initialized);
  EXPECT_EQ(C.B1, (TPoint{23, -7}));
  EXPECT_EQ(C.B2, (TPoint{37, 7}));
  // Kinds 1 and 2 mirror one point into the other.
  Corner.SetVertex({0, 1}, 1, 3);
  Corner.SmoothVertex(1, 1);
  EXPECT_EQ(Corner.Vertices()[1].B1, (TPoint{23, -7}));
}

TEST(PathControl, PointListCountsIncludeTheClosingSegmentEvenForTwoVertices) {
  TPathControl Path;
  TPathPointsData Data;
  Path.CreateListOfPoints(Data);
  EXPECT_EQ(Data.Count, 0);
  Path.ReplacePath(LinePath({{0, 0}, {9, 0}}), false, true);
  Path.CreateListOfPoints(Data);
  EXPECT_EQ(Data.Count, 3);
  Path.ReplacePath(LinePath({{0, 0}, {9, 0}, {9, 9}}), true, true);
  Path.CreateListOfPoints(Data);
  ASSERT_EQ(Data.Count, 10);
  EXPECT_EQ(Data.Points[1].X, 3);  // ControlPoint2(0)
  EXPECT_EQ(Data.Points[9].X, 0);  // back at the first anchor
  EXPECT_EQ(Data.Points[8].Y, 3);  // ControlPoint1(0), towards the last vertex
}

TEST(PathControl, TransformationIsShownThenValidatedOrCancelled) {
  TPathControl Path;
  int Notified = 0;
  Path.OnChanged = [&] { ++Notified; };
  Path.ReplacePath(LinePath({{0, 0}, {10, 0}}), false, false);
  TAffineTransformation T;
  T.TranslateF(5.4, 2.6);
  Path.SetTransformation(&T);
  EXPECT_EQ(Path.AnchorPoint(1), (TPoint{15, 3}));
  EXPECT_EQ(Path.Vertices()[1].PP, (TPoint{10, 0}));
  Path.CancelTransformation();
  EXPECT_EQ(Path.AnchorPoint(1), (TPoint{10, 0}));
  Path.SetTransformation(&T);
  Path.ValidateTransformation();
  EXPECT_FALSE(Path.HasTransformation());
  EXPECT_EQ(Path.Vertices()[1].PP, (TPoint{15, 3}));
  EXPECT_TRUE(Path.PathChanged());
  EXPECT_EQ(Notified, 4); // replace, set, cancel, set
  // Moving and scaling the whole path is no change of it.
  Path.ReplacePath(LinePath({{0, 0}, {10, 0}}), false, false);
  Path.Translate(3, 4);
  Path.Scale(2, 2);
  EXPECT_EQ(PathAnchors(Path), (std::vector<TPoint>{{6, 8}, {26, 8}}));
  EXPECT_FALSE(Path.PathChanged());
}

TEST(PathClipboard, PastesOnlyIntoAnImageOfTheSameSize) {
  TFakePathView Big(640, 480), Other(100, 100);
  TPathControl Source(&Big);
  Source.ReplacePath(LinePath({{1, 1}, {50, 60}}), true, true);
  CopyPath(Source);
  EXPECT_TRUE(CanPastePath(640, 480));
  EXPECT_FALSE(CanPastePath(100, 100));

  TPathControl Target(&Other);
  PastePath(Target);
  EXPECT_EQ(Target.PointsCount(), 0);
  EXPECT_TRUE(Target.BezierMode());
  EXPECT_TRUE(Target.Closed());
  TPathControl Same(&Big);
  PastePath(Same);
  EXPECT_EQ(PathAnchors(Same), PathAnchors(Source));
  EXPECT_FALSE(Same.PathChanged());
  FreePathClipboard();
  EXPECT_FALSE(CanPastePath(640, 480));
}

TEST(PathControl, SavesSafelyAndAFailedSaveKeepsThePathChanged) {
  QTemporaryDir Dir;
  const QString Name = Dir.filePath(QStringLiteral("p.lmv"));
  TPathControl Path;
  Path.ReplacePath(LinePath({{100, 50}, {300, 50}, {300, 200}}), false, false);
  Path.SetClosed(true);
  ASSERT_TRUE(Path.SaveToFile(Name));
  EXPECT_FALSE(Path.PathChanged());
  QFile F(Name);
  ASSERT_TRUE(F.open(QIODevice::ReadOnly));
  const QByteArray Old = F.readAll();
  F.close();
  EXPECT_EQ(Old.size(), 60 + 3 * 8);

  Path.SetClosed(false);
  ErrorReports Reports;
  SetSafeFileWriteLimit(10);
  EXPECT_FALSE(Path.SaveToFile(Name));
  SetSafeFileWriteLimit(-1);
  EXPECT_TRUE(Path.PathChanged());
  ASSERT_EQ(Reports.Messages.size(), 1);
  EXPECT_TRUE(Reports.Messages[0].contains(QStringLiteral("p.lmv")));
  ASSERT_TRUE(F.open(QIODevice::ReadOnly));
  EXPECT_EQ(F.readAll(), Old);
  EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);

  EXPECT_FALSE(Path.SaveToFile(Dir.filePath(QStringLiteral("missing/p.lmv"))));
  EXPECT_EQ(Reports.Messages.size(), 2);

  TPathControl Back;
  ASSERT_TRUE(Back.LoadFromFile(Name, {0, 0, 1000, 1000}));
  EXPECT_TRUE(Back.Closed());
  EXPECT_FALSE(Back.LoadFromFile(Dir.filePath(QStringLiteral("none.lmv")), {0, 0, 10, 10}));
}
