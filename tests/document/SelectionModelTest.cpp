// The selection as data: its rectangle and shape rules, nudges, flips and
// turns, the hit zones of its handles, the animation levels, and the
// rectangle a drag of each zone gives.
#include "document/SelectionModel.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct TRecorder {
  std::vector<TSelOption> Options;
  void Attach(TSelectionModel& S) {
    S.OnUpdating = [this](TSelectionModel*, TSelOption O) { Options.push_back(O); };
  }
};

TSelDragContext Zoom(double Z) {
  TSelDragContext C;
  C.View.W = 200;
  C.View.H = 150;
  C.View.Zoom = Z;
  C.View.ImgRect = {8, 8, 8 + ZoomedSize(200, Z), 8 + ZoomedSize(150, Z)};
  return C;
}

} // namespace

TEST(SelectionModel, RectangleAndShapeRules) {
  TSelectionModel S;
  TRecorder Rec;
  Rec.Attach(S);
  S.SetBmpSelRect({10, 10, 50, 40});
  S.SetBmpSelRect({10, 10, 10, 50}); // empty: ignored
  S.SetBmpSelRect({10, 10, 50, 5});  // reversed: ignored
  EXPECT_EQ(S.BmpSelRect(), (TRect{10, 10, 50, 40}));
  S.SetShape(ssPolyline); // stored as a rectangle, already the shape
  EXPECT_EQ(S.Shape(), ssRect);
  S.SetShape(ssEllipse);
  S.SetShape(ssLineWidth);
  EXPECT_EQ(S.Shape(), ssRect);
  EXPECT_EQ(Rec.Options, (std::vector<TSelOption>{soChanged, soChanged, soChanged}));

  S.CheckBounds = true;
  S.SetBitmapRect({0, 0, 30, 30});
  S.SetBmpSelRect({20, -5, 60, 10});
  EXPECT_EQ(S.BmpSelRect(), (TRect{20, 0, 30, 10}));
}

TEST(SelectionModel, NudgesAndTheirRefusals) {
  TSelectionModel S;
  S.SetBmpSelRect({10, 10, 50, 40});
  S.MoveSel(8, 0);
  EXPECT_EQ(S.BmpSelRect(), (TRect{18, 10, 58, 40}));
  S.ResizeSel(1, 0);
  EXPECT_EQ(S.BmpSelRect(), (TRect{18, 10, 59, 40}));
  S.ResizeSel(-41, 0); // would be empty: ignored
  EXPECT_EQ(S.BmpSelRect(), (TRect{18, 10, 59, 40}));
  S.CanMoveSel = false;
  S.MoveSel(1, 1);
  S.CanResizeSel = false;
  S.ResizeSel(1, 1);
  EXPECT_EQ(S.BmpSelRect(), (TRect{18, 10, 59, 40}));
  S.CanMoveSel = true;
  S.CheckBounds = true;
  S.SetBitmapRect({0, 0, 100, 100});
  S.MoveSel(100, 0); // moved back inside
  EXPECT_EQ(S.BmpSelRect(), (TRect{59, 10, 100, 40}));
}

TEST(SelectionModel, QuarterTurnsSwapTheSidesAndTrianglesTurn) {
  TSelectionModel S;
  TRecorder Rec;
  S.SetBmpSelRect({5, 5, 45, 15});
  S.SetShape(ssTriangle1);
  Rec.Attach(S);
  S.Transform(2);
  EXPECT_EQ(S.BmpSelRect(), (TRect{5, 5, 15, 45}));
  EXPECT_EQ(S.Shape(), ssTriangle2);
  S.Transform(0); // flip: right stays right
  EXPECT_EQ(S.Shape(), ssTriangle2);
  S.Transform(1);
  EXPECT_EQ(S.Shape(), ssTriangle4);
  EXPECT_EQ(S.BmpSelRect(), (TRect{5, 5, 15, 45}));
  EXPECT_EQ(Rec.Options, (std::vector<TSelOption>{soChanged, soChanged, soChanged}));

  struct TCase {
    TMyShape From;
    int Flag;
    TMyShape To;
  };
  for (const TCase& C :
       {TCase{ssTriangle1, 0, ssTriangle3}, TCase{ssTriangle3, 0, ssTriangle1}, TCase{ssTriangle2, 1, ssTriangle4},
        TCase{ssTriangle1, 1, ssTriangle1}, TCase{ssTriangle4, 2, ssTriangle1}, TCase{ssTriangle1, 3, ssTriangle4},
        TCase{ssTriangle2, 4, ssTriangle4}, TCase{ssEllipse, 2, ssEllipse}})
    EXPECT_EQ(TransformedShape(C.From, C.Flag), C.To) << int(C.From) << " " << C.Flag;
}

TEST(SelectionModel, HitZonesOfA100By60Selection) {
  struct TCase {
    int X, Y, Code;
  };
  for (const TCase& C : {TCase{4, 30, pcLeft}, TCase{95, 30, pcRight}, TCase{5, 30, pcMove},
                         TCase{95, 55, pcBottomRight}, TCase{0, 0, pcTopLeft}, TCase{50, 4, pcTop},
                         TCase{99, 2, pcTopRight}, TCase{50, 55, pcBottom}, TCase{3, 59, pcBottomLeft}})
    EXPECT_EQ(SelHitZone(C.X, C.Y, 100, 60, 4, true, true), C.Code) << C.X << "," << C.Y;
  EXPECT_EQ(SelHitZone(0, 0, 100, 60, 4, false, true), pcMove);
  EXPECT_EQ(SelHitZone(50, 30, 100, 60, 4, true, false), pcNone);
}

TEST(SelectionModel, AnimationLevelsFollowThePointCount) {
  EXPECT_EQ(SelAnimationLevel(737), 1);
  EXPECT_EQ(SelAnimationLevel(800), 2);
  EXPECT_EQ(SelAnimationLevel(3738), 3);
  EXPECT_EQ(SelAnimationLevel(7374), 4);
  EXPECT_EQ(SelAnimationLevel(37374), 5);
}

TEST(SelectionModel, DragOfEachZone) {
  TSelectionModel S;
  const TRect Start{20, 20, 60, 40};
  S.SetBmpSelRect(Start);
  struct TCase {
    int Code;
    TPoint Delta;
    bool Shift;
    double Z;
    TRect Expected;
  };
  for (const TCase& C : {
           TCase{pcMove, {10, 4}, false, 2, {25, 22, 65, 42}},
           TCase{pcMove, {10, 4}, true, 2, {25, 20, 65, 40}},   // one axis only
           TCase{pcMove, {-6, 6}, true, 1, {20, 26, 60, 46}},   // equal: vertical
           TCase{pcRight, {20, 9}, false, 1, {20, 20, 80, 40}}, // the height stays
           TCase{pcBottom, {9, 20}, false, 1, {20, 20, 60, 60}},
           TCase{pcTopLeft, {-10, -6}, false, 2, {15, 17, 60, 40}},
           TCase{pcLeft, {100, 0}, false, 1, {52, 20, 60, 40}},       // kept 8 pixels wide at its right edge
           TCase{pcBottomRight, {20, 20}, true, 1, {20, 20, 80, 51}}, // shrunk to 2:1, as the raster helper counts
       }) {
    SCOPED_TRACE(C.Code);
    EXPECT_EQ(S.DragRect(C.Code, C.Delta, C.Shift, Start, Zoom(C.Z)), C.Expected);
  }
  TSelDragContext G = Zoom(1);
  G.Grid = 16;
  EXPECT_EQ(S.DragRect(pcMove, {7, 13}, false, Start, G), (TRect{16, 32, 56, 52}));
  EXPECT_EQ(S.DragRect(pcRight, {7, 0}, false, Start, G), (TRect{20, 20, 64, 40}));
}
