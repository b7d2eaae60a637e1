#include "app/ui/Cursors.h"
#include "raster/ui/FoncUtils.h"

#include <QPixmap>

#include <gtest/gtest.h>

#include <cmath>

TEST(Cursors, TwentyToolCursorsByNumber) {
  EXPECT_STREQ(ToolCursorName(5), "PIPETTE");
  EXPECT_STREQ(ToolCursorName(13), "MOV1");
  EXPECT_STREQ(ToolCursorName(22), "VIDE");
  EXPECT_STREQ(ToolCursorName(24), "MOVEDEL");
  EXPECT_STREQ(ToolCursorName(4), "");
  EXPECT_STREQ(ToolCursorName(25), "");
  EXPECT_TRUE(ToolCursorImage(25).isNull());
}

TEST(Cursors, EachImageMarksItsHotSpotAndDiffersFromTheOthers) {
  std::vector<QImage> Seen;
  for (int N = FirstToolCursor; N <= LastToolCursor; ++N) {
    const QImage Image = ToolCursorImage(N);
    ASSERT_EQ(Image.size(), QSize(ToolCursorSize, ToolCursorSize)) << ToolCursorName(N);
    const QPoint Spot = ToolCursorHotSpot(N);
    ASSERT_TRUE(Image.rect().contains(Spot)) << ToolCursorName(N);
    int Opaque = 0, NearSpot = 0;
    for (int Y = 0; Y < Image.height(); ++Y)
      for (int X = 0; X < Image.width(); ++X) {
        if (qAlpha(Image.pixel(X, Y)) < 128) continue;
        ++Opaque;
        if (std::abs(X - Spot.x()) <= 3 && std::abs(Y - Spot.y()) <= 3) ++NearSpot;
      }
    if (N == crVide) {
      EXPECT_EQ(Opaque, 0); // the empty cursor hides the pointer
      continue;
    }
    EXPECT_GT(Opaque, 20) << ToolCursorName(N);
    // The point that acts is on the picture, not in an empty corner.
    EXPECT_GT(NearSpot, 0) << ToolCursorName(N);
    for (const QImage& Other : Seen) EXPECT_NE(Image, Other) << ToolCursorName(N);
    Seen.push_back(Image);
  }
}

TEST(Cursors, ScreenTableHoldsStandardAndToolCursors) {
  LoadToolCursors();
  LoadToolCursors(); // once is enough; again changes nothing
  ASSERT_TRUE(ToolCursorsLoaded());
  for (const int N : {int(crPipette), int(crMain), int(crMoveDel)}) {
    const QCursor C = ScreenCursor(N);
    EXPECT_EQ(C.shape(), Qt::BitmapCursor) << N;
    EXPECT_EQ(C.hotSpot(), ToolCursorHotSpot(N)) << N;
    EXPECT_EQ(C.pixmap().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied), ToolCursorImage(N)) << N;
  }
  const std::pair<int, Qt::CursorShape> Standard[] = {
      {crDefault, Qt::ArrowCursor},   {crNone, Qt::BlankCursor},
      {crCross, Qt::CrossCursor},     {crIBeam, Qt::IBeamCursor},
      {crSizeWE, Qt::SizeHorCursor},  {crHourGlass, Qt::WaitCursor},
      {crNo, Qt::ForbiddenCursor},    {crHandPoint, Qt::PointingHandCursor},
      {crSizeAll, Qt::SizeAllCursor}, {4, Qt::ArrowCursor},
      {25, Qt::ArrowCursor},          {-99, Qt::ArrowCursor},
  };
  for (const auto& [N, Shape] : Standard) EXPECT_EQ(ScreenCursor(N).shape(), Shape) << N;
}
