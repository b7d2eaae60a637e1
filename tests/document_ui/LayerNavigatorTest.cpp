// The layers panel driven as a person would: rows top layer first, clicks,
// drags through real mouse events, thumbnails, scroll buttons and the guards.
#include "FakeImageWindowHost.h"

#include "document/ui/LayerNavigator.h"

#include <QApplication>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cmath>

namespace {

class LayerNavigatorTest : public ::testing::Test {
protected:
  // Background "L0" 60 x 40 white, then layers "L1".."L(N-1)" of 20 x 20.
  void Build(int N, int Height = 800) {
    Img.AddBackground(60, 40, clWhite, QStringLiteral("L0"));
    for (int I = 1; I < N; ++I) Img.AddLayer(20, 20, RGB(I * 40, 0, 0), {I, I}, 100, QStringLiteral("L%1").arg(I));
    Nav.resize(120, Height);
    Nav.show();
    Nav.Synchronize(true);
    QApplication::processEvents();
  }

  QPoint RowCenter(int Row) const { return {60, Nav.TopMargin + Row * Nav.RowHeight() + Nav.RowHeight() / 2}; }

  QStringList Order() const {
    QStringList S;
    for (int I = 0; I < Img.Layers().Count(); ++I) S << Img.Layers()[I].Caption;
    return S;
  }

  void Drag(QPoint From, QPoint To) {
    QTest::mousePress(&Nav, Qt::LeftButton, {}, From);
    QTest::mouseMove(&Nav, From + QPoint(0, To.y() > From.y() ? 5 : -5));
    QTest::mouseMove(&Nav, To);
    QTest::mouseRelease(&Nav, Qt::LeftButton, {}, To);
  }

  TMyImageLayered Img;
  TLayerNavigator Nav{nullptr, Img};
  std::vector<std::pair<int, int>> Moves;
};

} // namespace

TEST_F(LayerNavigatorTest, ListsLayersTopFirstAndReordersByDrag) {
  Build(5);
  Nav.OnChangeLayerIndex = [&](QObject*, int Old, int New) { Moves.emplace_back(Old, New); };
  ASSERT_EQ(Nav.ThumbCount(), 5);
  for (int Row = 0; Row < 5; ++Row) EXPECT_EQ(Nav.ItemAtPos(RowCenter(Row).x(), RowCenter(Row).y()), 4 - Row);
  EXPECT_EQ(Nav.ItemAtPos(60, Nav.TopMargin + 5 * Nav.RowHeight() + 1), -1);

  const QImage TopThumb = Nav.Thumb(4).QImageView().copy();
  ASSERT_NE(TopThumb, Nav.Thumb(1).QImageView());
  // From the first row (the top layer) to the fourth (layer 1).
  Drag(RowCenter(0), RowCenter(3));
  EXPECT_EQ(Order(), (QStringList{"L0", "L4", "L1", "L2", "L3"}));
  EXPECT_EQ(Moves, (std::vector<std::pair<int, int>>{{4, 1}}));
  EXPECT_EQ(Img.LayerIndex(), 1);
  EXPECT_EQ(Nav.LayerIndex(), 1);
  // The thumbnail moved with its layer.
  EXPECT_EQ(Nav.Thumb(1).QImageView(), TopThumb);
}

TEST_F(LayerNavigatorTest, DropOnTheBackgroundOrASmallMoveChangesNothing) {
  Build(5);
  Nav.OnChangeLayerIndex = [&](QObject*, int Old, int New) { Moves.emplace_back(Old, New); };
  Drag(RowCenter(1), RowCenter(4)); // onto the background row
  EXPECT_EQ(Order(), (QStringList{"L0", "L1", "L2", "L3", "L4"}));
  EXPECT_TRUE(Moves.empty());
  // A move of 3 pixels is a click: it selects, it does not drag.
  QTest::mousePress(&Nav, Qt::LeftButton, {}, RowCenter(2));
  QTest::mouseMove(&Nav, RowCenter(2) + QPoint(3, 3));
  QTest::mouseRelease(&Nav, Qt::LeftButton, {}, RowCenter(2) + QPoint(3, 3));
  EXPECT_EQ(Img.LayerIndex(), 2);
  EXPECT_TRUE(Moves.empty());
  // The background is never dragged, nor put above a layer.
  Drag(RowCenter(4), RowCenter(0));
  EXPECT_EQ(Order(), (QStringList{"L0", "L1", "L2", "L3", "L4"}));
  Nav.Move(2, 0, true);
  Nav.Move(0, 3, true);
  Nav.Move(5, 1, true);
  EXPECT_EQ(Order(), (QStringList{"L0", "L1", "L2", "L3", "L4"}));
  EXPECT_TRUE(Moves.empty());
}

TEST_F(LayerNavigatorTest, TwoLayersCannotBeDraggedAndABackgroundAloneIsNeverCurrent) {
  Build(2);
  Nav.OnChangeLayerIndex = [&](QObject*, int Old, int New) { Moves.emplace_back(Old, New); };
  Drag(RowCenter(0), RowCenter(1));
  EXPECT_TRUE(Moves.empty());
  EXPECT_EQ(Order(), (QStringList{"L0", "L1"}));

  TMyImageLayered Single;
  Single.AddBackground(30, 30, clWhite, QStringLiteral("Fond"));
  TLayerNavigator One(nullptr, Single);
  One.resize(120, 300);
  One.DragColor = clRed;
  One.show();
  One.Synchronize(true);
  QTest::mousePress(&One, Qt::LeftButton, {}, QPoint(60, 20));
  QTest::mouseMove(&One, QPoint(60, 60));
  QTest::mouseRelease(&One, Qt::LeftButton, {}, QPoint(60, 60));
  EXPECT_EQ(Single.Layers().Count(), 1);
  const QImage G = One.grab().toImage();
  for (int Y = 0; Y < One.RowHeight(); ++Y)
    for (int X = 0; X < One.width(); ++X) ASSERT_NE(G.pixel(X, Y) & 0xFFFFFF, 0xFF0000u) << X << "," << Y;
}

TEST_F(LayerNavigatorTest, ThumbnailsShowLayerOverCheckerWithMarks) {
  Img.AddBackground(60, 40, clWhite, QStringLiteral("L0"));
  Img.AddLayer(60, 40, clBlue, {0, 0}, 100, QStringLiteral("Opaque"));
  Img.AddLayer(60, 40, clBlack, {0, 0}, 50, QStringLiteral("Half"));
  Nav.resize(120, 600);
  Nav.show();
  Nav.Synchronize(true);
  const int CX = Nav.ThumbWidth() / 2, CY = Nav.ThumbHeight() / 2;
  EXPECT_EQ(Nav.Thumb(1).PixelColor(CX, CY), clBlue);
  // Black at 50 % over the checker: half of white or of 0xC3.
  const TColor H = Nav.Thumb(2).PixelColor(CX, CY);
  EXPECT_TRUE(H == 0x7F7F7Fu || H == 0x808080u || H == 0x616161u || H == 0x626262u) << std::hex << H;
  // The picture has a grey frame; a hidden layer carries its mark at the
  // bottom left, a locked one at the bottom right.
  const TColor Before = Nav.Thumb(1).PixelColor(3, Nav.ThumbHeight() - 4);
  Img.Layers()[1].Visible = false;
  Nav.UpdateThumb(1);
  EXPECT_NE(Nav.Thumb(1).PixelColor(3, Nav.ThumbHeight() - 4), Before);
  const TColor BR = Nav.Thumb(1).PixelColor(Nav.ThumbWidth() - 4, Nav.ThumbHeight() - 4);
  Img.Layers()[1].Locked = true;
  Nav.UpdateThumb(1);
  EXPECT_NE(Nav.Thumb(1).PixelColor(Nav.ThumbWidth() - 4, Nav.ThumbHeight() - 4), BR);
  // Thumbnails keep their pictures while updates are off.
  Nav.SetDisableThumbUpdate(true);
  Img.Layers()[1].Visible = true;
  Img.Layers()[1].Locked = false;
  Nav.UpdateThumb(1);
  EXPECT_NE(Nav.Thumb(1).PixelColor(Nav.ThumbWidth() - 4, Nav.ThumbHeight() - 4), BR);
  Nav.SetDisableThumbUpdate(false);
  QApplication::processEvents();
  Nav.repaint();
  EXPECT_EQ(Nav.Thumb(1).PixelColor(Nav.ThumbWidth() - 4, Nav.ThumbHeight() - 4), BR);
}

TEST_F(LayerNavigatorTest, ScaleFromTheLongerSideAndNeverBelowOne) {
  struct Case {
    int W, H, PanelWidth;
    bool FromHeight, OneToOne;
  };
  for (const Case& C :
       {Case{1, 1000, 120, true, false}, Case{20, 10, 120, false, true}, Case{1000, 10, 120, false, false},
        Case{1, 1, 120, false, true}, Case{500, 400, 5, false, false}, Case{500, 400, 0, false, false}}) {
    TMyImageLayered I;
    I.AddBackground(C.W, C.H, clWhite, QStringLiteral("Fond"));
    TLayerNavigator N(nullptr, I);
    N.resize(C.PanelWidth, 300);
    N.Synchronize(true);
    SCOPED_TRACE(testing::Message() << C.W << "x" << C.H << " in " << C.PanelWidth);
    ASSERT_TRUE(std::isfinite(N.Ratio()));
    EXPECT_GE(N.Ratio(), 1.0);
    if (C.OneToOne) {
      EXPECT_EQ(N.Ratio(), 1.0);
    }
    if (C.FromHeight) {
      EXPECT_DOUBLE_EQ(N.Ratio(), 999.0 / (N.ThumbHeight() - 6));
    }
    if (!C.FromHeight && !C.OneToOne) {
      EXPECT_DOUBLE_EQ(N.Ratio(), (C.W - 1.0) / (N.ThumbWidth() - 6));
    }
    EXPECT_GT(N.Thumb(0).Width(), 0);
  }
}

TEST_F(LayerNavigatorTest, NewLayerLandsAboveTheCurrentOne) {
  Build(5);
  Img.SetLayerIndex(2);
  Nav.ResetLayerIndex();
  const TBitmap B(8, 8);
  EXPECT_EQ(Nav.AddLayer(&B, nullptr, {0, 0}, 100, QStringLiteral("New")), 3);
  EXPECT_EQ(Img.LayerIndex(), 3);
  EXPECT_EQ(Order(), (QStringList{"L0", "L1", "L2", "New", "L3", "L4"}));
  EXPECT_FALSE(Img.Layers()[3].Mask().Empty()); // an opaque mask is added
  EXPECT_EQ(Img.Layers()[3].Mask().PixelColor(0, 0), 0u);
  EXPECT_EQ(Nav.ThumbCount(), 6);
  EXPECT_EQ(Nav.AddLayerColor(clRed, 50, false, QStringLiteral("C")), 4);
  EXPECT_EQ(Nav.AddLayerAdjust(TAdjustLayerInfos{}, 50, QStringLiteral("A")), 5);
  EXPECT_EQ(Nav.DuplicateLayer(1, QStringLiteral("D")), 6);
  EXPECT_EQ(Nav.DuplicateLayer(42, QStringLiteral("X")), -1);
  EXPECT_EQ(Nav.ThumbCount(), Img.Layers().Count());
}

TEST_F(LayerNavigatorTest, ScrollButtonsAppearWhenRowsOverflow) {
  Build(5, 0);
  Nav.resize(120, Nav.TopMargin + Nav.RowHeight() * 2 + 40);
  QApplication::processEvents();
  ASSERT_FALSE(Nav.BtnNext()->isHidden());
  EXPECT_FALSE(Nav.BtnPrev()->isEnabled());
  EXPECT_TRUE(Nav.BtnNext()->isEnabled());
  QTest::mouseClick(Nav.BtnNext(), Qt::LeftButton);
  EXPECT_EQ(Nav.TopItem(), 1);
  EXPECT_TRUE(Nav.BtnPrev()->isEnabled());
  Img.SetLayerIndex(0);
  Nav.ResetLayerIndex();
  Nav.MakeCurrentLayerVisible();
  EXPECT_EQ(Nav.ItemAtPos(60, Nav.TopMargin + (4 - Nav.TopItem()) * Nav.RowHeight() + Nav.RowHeight() / 2), 0);
  EXPECT_FALSE(Nav.BtnNext()->isEnabled());
  // Deleting layers until every row fits hides the buttons and scrolls back.
  Nav.DeleteLayer(4);
  Nav.DeleteLayer(3);
  Nav.DeleteLayer(2);
  EXPECT_TRUE(Nav.BtnNext()->isHidden());
  EXPECT_EQ(Nav.TopItem(), 0);
  EXPECT_EQ(Nav.ThumbCount(), Img.Layers().Count());
  Nav.DeleteLayer(7); // out of range: nothing
  EXPECT_EQ(Nav.ThumbCount(), 2);
}

TEST_F(LayerNavigatorTest, BackgroundEditsKeepThumbnailsInStep) {
  Build(3);
  const TBitmap B(60, 40);
  Nav.InsertNewBackground(&B, nullptr, true, QStringLiteral("New"));
  EXPECT_EQ(Order(), (QStringList{"New", "L0", "L1", "L2"}));
  EXPECT_FALSE(Img.Layers()[1].Mask().Empty()); // the old background got a mask
  EXPECT_EQ(Img.Layers()[0].Mask().PixelColor(0, 0), 0xFFFFFFu);
  EXPECT_EQ(Nav.ThumbCount(), 4);
  Nav.DeleteBackground(true);
  EXPECT_EQ(Order(), (QStringList{"L0", "L1", "L2"}));
  EXPECT_TRUE(Img.Layers()[0].Mask().Empty());
  EXPECT_EQ(Nav.ThumbCount(), 3);
  Img.SetLayerIndex(2);
  Nav.MergeWithPrevious(false);
  EXPECT_EQ(Nav.ThumbCount(), Img.Layers().Count());
  Img.SetLayerIndex(0);
  Nav.MergeWithPrevious(false); // nothing under the background
  EXPECT_EQ(Nav.ThumbCount(), Img.Layers().Count());
}

TEST_F(LayerNavigatorTest, StackChangedBehindThePanelIsRebuiltBeforeUse) {
  Build(4);
  Img.Layers().Delete(3);
  Img.Layers().Delete(2);
  Nav.repaint(); // no stale row is drawn
  EXPECT_EQ(Nav.ThumbCount(), 2);
  Img.AddLayer(10, 10, clRed, {0, 0}, 100, QStringLiteral("X"));
  QTest::mouseClick(&Nav, Qt::LeftButton, {}, RowCenter(2));
  EXPECT_EQ(Nav.ThumbCount(), 3);
  EXPECT_EQ(Img.LayerIndex(), 0);
}
