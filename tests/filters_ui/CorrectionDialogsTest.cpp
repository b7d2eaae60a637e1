// Image > horizon and perspective correction driven as a person would: the
// slider cursors dragged and the picture's corners clicked with the mouse,
// Ok, then Edit > Undo. The fixtures are drawn so that the result can be
// checked by eye: a tilted line must come out level, a trapezoid as a
// rectangle.
#include "FilterDialogFixture.h"

#include "../support/Pixels.h"

#include "document/Calque.h"
#include "raster/Bitmap24.h"
#include "filters/HorizonCorrection.h"
#include "filters/ui/HorizonForm.h"
#include "filters/ui/PerspectiveForm.h"
#include "ui/MsgDlg.h"
#include "ui/MySlider.h"

#include <QCheckBox>
#include <QLabel>

#include <cmath>

namespace {

constexpr int W = 400, H = 301;

class CorrectionDialogsTest : public FilterDialogFixture {
protected:
  // A new image window holding Bkg, and a layer above it at (30, 40).
  void OpenImage(const TBitmap& Bkg) {
    Form->NouvelleImage(nullptr, &Bkg, QString(), srcNew, 16777216);
    Original.Assign(Form->LeFond());
    TBitmap Layer(20, 10, pf24bit, clBlue);
    AddLayerFromBitmap(*Form->LayerNav(), QStringLiteral("#1"), Layer, nullptr, {30, 40});
  }
  TPoint LayerPos() const { return Form->Image().Layers()[1].Pos; }
  template <class TForm> TForm* OpenCorrection(const char* Item) {
    TForm* D = Open<TForm>(Item, "MenuImage");
    EXPECT_EQ(D->Thumb.Width(), Form->LeFond().Width()) << "the tests assume an unreduced thumbnail";
    return D;
  }
  // Presses on a slider's cursor, drags it to the slider pixel Along and
  // releases it there.
  static void DragCursor(TMySlider* S, int Index, int Along) {
    const TPoint Tip = S->CursorPoint(Index);
    const bool Horz = S->Orientation() == TSliderOrientation::soHorizontal;
    const int Across = S->CursorSize() / 2;
    const QPoint From = Horz ? QPoint(Tip.X, Across) : QPoint(Across, Tip.Y);
    const QPoint To = Horz ? QPoint(Along, Across) : QPoint(Across, Along);
    QTest::mousePress(S, Qt::LeftButton, {}, From);
    QTest::mouseMove(S, To);
    QTest::mouseRelease(S, Qt::LeftButton, {}, To);
  }
  void Undo() {
    QAction* U = Form->MenuItem(QStringLiteral("MenuEditionUndo"));
    ASSERT_TRUE(U->isEnabled());
    U->trigger();
  }
  TBitmap Original;
};

// White with a black line three pixels thick from (0, 170) to (399, 130),
// through the centre: a horizon rising to the right by atan(40 / 399).
void DrawTiltedHorizon(TBitmap& B) {
  NewBitmap24(B, W, H, clWhite);
  for (int X = 0; X < W; ++X) {
    const double Y = 170 - 40.0 * X / (W - 1);
    for (int Row = 0; Row < H; ++Row)
      if (std::fabs(Row - Y) <= 1) SetPx(B, X, Row, Grey(0));
  }
}

// The darkness-weighted mean row of column X.
double LineRow(const TBitmap& B, int X) {
  double Sum = 0, Weight = 0;
  for (int Y = 0; Y < B.Height(); ++Y) {
    const int D = 255 - Px(B, X, Y).Green;
    Sum += double(D) * Y;
    Weight += D;
  }
  return Weight > 0 ? Sum / Weight : -1;
}

TEST_F(CorrectionDialogsTest, HorizonFromTheLeftCursorComesOutLevelCroppedAndUndoes) {
  TBitmap Fixture;
  DrawTiltedHorizon(Fixture);
  OpenImage(Fixture);
  auto* D = OpenCorrection<THorizonForm>("MenuImageHorizon");
  ASSERT_TRUE(D);
  EXPECT_TRUE(D->CBCrop->isChecked());
  EXPECT_TRUE(D->CBRatio->isChecked());
  const int Mid = D->SliderLeft->Max() / 2;
  ASSERT_EQ(D->SliderLeft->GetPosition(0), Mid);
  // The line meets the left edge at row 170: the cursor goes there.
  DragCursor(D->SliderLeft, 0, D->SliderLeft->ValueToPixel(0) + 170);
  const int Left = D->SliderLeft->GetPosition(0);
  EXPECT_NEAR(Left, 1700, 10);
  EXPECT_EQ(D->SliderRight->GetPosition(0), 2 * Mid - Left);
  EXPECT_LT(D->SliderTop->GetPosition(0), D->SliderTop->Max() / 2);
  EXPECT_NEAR(D->Angle, std::atan(40.0 / 399) * 57.29577951308232, 0.05);
  EXPECT_TRUE(D->LblAngle->text().startsWith(QLatin1Char('-')));

  const int Steps = UndoSteps();
  Click(D->BOk);
  EXPECT_FALSE(D->isVisible());
  EXPECT_EQ(UndoSteps(), Steps + 1);
  const TRect R = HorizonCropRect(W, H, D->Angle, true);
  ASSERT_GT(R.Left, 0);
  const TBitmap& Bkg = Form->LeFond();
  ASSERT_EQ(Bkg.Width(), R.Width());
  ASSERT_EQ(Bkg.Height(), R.Height());
  // Level within a pixel over the whole width, and still through the centre.
  double Low = 1e9, High = -1e9;
  for (int X = 5; X < Bkg.Width() - 5; ++X) {
    const double Row = LineRow(Bkg, X);
    Low = std::min(Low, Row);
    High = std::max(High, Row);
  }
  EXPECT_LE(High - Low, 1.0);
  EXPECT_NEAR((Low + High) / 2, 150 - R.Top, 1.5);
  EXPECT_EQ(LayerPos(), Point(30 - R.Left, 40 - R.Top));

  Undo();
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
  EXPECT_EQ(LayerPos(), Point(30, 40));
}

TEST_F(CorrectionDialogsTest, HorizonCursorsMoveTogetherAndStopAtTheirLimit) {
  TBitmap Fixture;
  DrawTiltedHorizon(Fixture);
  OpenImage(Fixture);
  auto* D = OpenCorrection<THorizonForm>("MenuImageHorizon");
  ASSERT_TRUE(D);
  const THorizonRange Range = HorizonRange(W, H);
  // The top cursor 5 pixels right: the bottom one 5 left, the sides by 5 x
  // W / H the other way round.
  DragCursor(D->SliderTop, 0, D->SliderTop->ValueToPixel(Range.MidTop) + 5);
  const int Moved = D->SliderTop->GetPosition(0) - Range.MidTop;
  EXPECT_NEAR(Moved, 50, 10);
  EXPECT_EQ(D->SliderBottom->GetPosition(0), Range.MidTop - Moved);
  const int Side = int(std::nearbyint(-Moved * double(W) / H));
  EXPECT_EQ(D->SliderLeft->GetPosition(0), Range.MidLeft + Side);
  EXPECT_EQ(D->SliderRight->GetPosition(0), Range.MidLeft - Side);
  EXPECT_LT(D->Angle, 0);
  // Dragged to the far end, the top cursor stops at its largest offset.
  DragCursor(D->SliderTop, 0, D->SliderTop->width());
  EXPECT_EQ(D->SliderTop->GetPosition(0), Range.MidTop + Range.MaxDeltaWidth);
  // The left cursor would pass the top edge: it stops there.
  EXPECT_EQ(D->SliderLeft->GetPosition(0), 0);
  // Cancel changes nothing, and the next show starts from the middle.
  const int Steps = UndoSteps();
  Click(D->BAnnuler);
  EXPECT_EQ(UndoSteps(), Steps);
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
  D = OpenCorrection<THorizonForm>("MenuImageHorizon");
  EXPECT_EQ(D->SliderTop->GetPosition(0), Range.MidTop);
  // All cursors in the middle: Ok only closes.
  Click(D->BOk);
  EXPECT_FALSE(D->isVisible());
  EXPECT_EQ(UndoSteps(), Steps);
}

TEST_F(CorrectionDialogsTest, HorizonWithoutCropKeepsTheSizeAndTheLayersAndTheAngleForTheNextShow) {
  TBitmap Fixture;
  DrawTiltedHorizon(Fixture);
  OpenImage(Fixture);
  auto* D = OpenCorrection<THorizonForm>("MenuImageHorizon");
  ASSERT_TRUE(D);
  QTest::mouseClick(D->CBCrop, Qt::LeftButton, {}, QPoint(5, 8));
  EXPECT_FALSE(D->CBRatio->isEnabled());
  DragCursor(D->SliderLeft, 0, D->SliderLeft->ValueToPixel(0) + 170);
  const int Left = D->SliderLeft->GetPosition(0);
  Click(D->BOk);
  const TBitmap& Bkg = Form->LeFond();
  EXPECT_EQ(Bkg.Width(), W);
  EXPECT_EQ(Bkg.Height(), H);
  EXPECT_EQ(Px(Bkg, 0, 0), Grey(255));
  EXPECT_EQ(Px(Bkg, W - 1, H - 1), Grey(255));
  EXPECT_EQ(LayerPos(), Point(30, 40));
  D = OpenCorrection<THorizonForm>("MenuImageHorizon");
  EXPECT_EQ(D->SliderLeft->GetPosition(0), Left);
  Click(D->BAnnuler);
}

TEST_F(CorrectionDialogsTest, CorrectionsRefuseABackgroundUnder100Pixels) {
  std::vector<QString> Warnings;
  TScopedMsgDlgAnswers Answers([&](const TMsgDlgRequest& R) {
    Warnings.push_back(R.Msg);
    return TMsgDlgAnswer{mrOk, {}};
  });
  OpenImage(TBitmap(99, 300, pf24bit, clWhite));
  for (const char* Item : {"MenuImageHorizon", "MenuImagePerspective"}) {
    emit Form->MenuNamed(QStringLiteral("MenuImage"))->aboutToShow();
    Form->MenuItem(QString::fromLatin1(Item))->trigger();
  }
  EXPECT_EQ(Warnings.size(), 2u);
  EXPECT_FALSE(Form->findChild<THorizonForm*>());
  EXPECT_FALSE(Form->findChild<TPerspectiveForm*>());
}

// A dark trapezoid inside the quadrilateral of the guides: its sides lie on
// lines from a quarter and three quarters along the guides' top edge to the
// same fractions of their bottom edge, rows 100 to 199.
void DrawPerspectiveFixture(TBitmap& B) {
  NewBitmap24(B, W, H, clWhite);
  for (int Y = 100; Y < 200; ++Y) {
    const double L = 124.75 - 0.1 * (Y - 100), R = 274.25 + 0.1 * (Y - 100);
    for (int X = 0; X < W; ++X)
      if (X >= L && X < R) SetPx(B, X, Y, Grey(0));
  }
}

TEST_F(CorrectionDialogsTest, PerspectiveFromCornerClicksGivesBackARectangleAndUndoes) {
  TBitmap Fixture;
  DrawPerspectiveFixture(Fixture);
  OpenImage(Fixture);
  auto* D = OpenCorrection<TPerspectiveForm>("MenuImagePerspective");
  ASSERT_TRUE(D);
  ASSERT_TRUE(D->CBSymetrie->isChecked());
  // The guides along the converging sides, with symmetry: the top-left, the
  // bottom-left and the top-right corners clicked.
  QTest::mouseClick(D->ImgGrille, Qt::LeftButton, {}, QPoint(70, 50));
  QTest::mouseClick(D->ImgGrille, Qt::LeftButton, {}, QPoint(10, 250));
  QTest::mouseClick(D->ImgGrille, Qt::LeftButton, {}, QPoint(329, 50));
  const TPerspectiveGuides G = D->Guides();
  EXPECT_EQ((std::array{G.T0, G.T1, G.B0, G.B1}), (std::array{70, 329, 10, 389}));
  EXPECT_EQ((std::array{G.L0, G.L1, G.R0, G.R1}), (std::array{50, 250, 50, 250}));
  // The guides are drawn even without the grid.
  QTest::mouseClick(D->CBGrille, Qt::LeftButton, {}, QPoint(5, 8));
  EXPECT_EQ(Px(D->ImgGrille->Picture(), 1, 50), Rgb(255, 0, 0));
  EXPECT_EQ(Px(D->ImgGrille->Picture(), 1, 51), Grey(255));

  const int Steps = UndoSteps();
  Click(D->BOk);
  EXPECT_FALSE(D->isVisible());
  EXPECT_EQ(UndoSteps(), Steps + 1);
  // The quadrilateral's bounds (20, 50) - (380, 251) are kept.
  const TBitmap& Bkg = Form->LeFond();
  ASSERT_EQ(Bkg.Width(), 360);
  ASSERT_EQ(Bkg.Height(), 201);
  EXPECT_EQ(LayerPos(), Point(10, -10));
  // The dark part's first and last rows and columns: its left and right
  // edges straight down (within a pixel), at a quarter and three quarters
  // of the width, its top and bottom edges level.
  const auto Dark = [&](int X, int Y) { return Px(Bkg, X, Y).Green < 128; };
  const auto Span = [&](int Y, int& First, int& Last) {
    First = -1, Last = -1;
    for (int X = 0; X < Bkg.Width(); ++X)
      if (Dark(X, Y)) (First < 0 ? First : Last) = X, Last = X;
  };
  const auto Extent = [&](int X, int& First, int& Last) {
    First = -1, Last = -1;
    for (int Y = 0; Y < Bkg.Height(); ++Y)
      if (Dark(X, Y)) (First < 0 ? First : Last) = Y, Last = Y;
  };
  int Top = -1, Bottom = -1;
  Extent(180, Top, Bottom);
  ASSERT_GT(Bottom, Top + 10);
  int TL, TR, BL, BR;
  Span(Top + 1, TL, TR);
  Span(Bottom - 1, BL, BR);
  EXPECT_LE(std::abs(TL - BL), 1);
  EXPECT_LE(std::abs(TR - BR), 1);
  EXPECT_NEAR(TL, 90, 2);
  EXPECT_NEAR(TR, 269, 2);
  int LTop, LBottom, RTop, RBottom;
  Extent(TL + 2, LTop, LBottom);
  Extent(TR - 2, RTop, RBottom);
  EXPECT_LE(std::abs(LTop - RTop), 1);
  EXPECT_LE(std::abs(LBottom - RBottom), 1);

  Undo();
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
  EXPECT_EQ(LayerPos(), Point(30, 40));
}

TEST_F(CorrectionDialogsTest, PerspectiveCursorsKeepTheirLimitsAndFreshGuidesChangeNothing) {
  TBitmap Fixture;
  DrawPerspectiveFixture(Fixture);
  OpenImage(Fixture);
  auto* D = OpenCorrection<TPerspectiveForm>("MenuImagePerspective");
  ASSERT_TRUE(D);
  EXPECT_EQ(D->Guides().T1, W - 1);
  // With symmetry, T0 dragged far right stops at 399 x 37 div 100 = 147 and
  // T1 mirrors it.
  DragCursor(D->SliderTop, 0, D->SliderTop->width());
  EXPECT_EQ(D->Guides().T0, 147);
  EXPECT_EQ(D->Guides().T1, 399 - 147);
  // Without symmetry each cursor moves alone.
  QTest::mouseClick(D->CBSymetrie, Qt::LeftButton, {}, QPoint(5, 8));
  DragCursor(D->SliderBottom, 1, D->SliderBottom->ValueToPixel(380));
  EXPECT_EQ(D->Guides().B1, 380);
  EXPECT_EQ(D->Guides().B0, 0);
  // Back to the whole picture: Ok only closes.
  DragCursor(D->SliderTop, 0, 0);
  DragCursor(D->SliderTop, 1, D->SliderTop->width());
  DragCursor(D->SliderBottom, 1, D->SliderBottom->width());
  const int Steps = UndoSteps();
  Click(D->BOk);
  EXPECT_FALSE(D->isVisible());
  EXPECT_EQ(UndoSteps(), Steps);
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
}

// A picture so thin that its thumbnail is two pixels wide: a guide tilted
// across it makes a quadrilateral with a corner too flat to map. Ok refuses
// with a message and keeps the dialog open; nothing changes.
TEST_F(CorrectionDialogsTest, PerspectiveRefusesAQuadrilateralItCannotMap) {
  std::vector<QString> Warnings;
  TScopedMsgDlgAnswers Answers([&](const TMsgDlgRequest& R) {
    Warnings.push_back(R.Msg);
    return TMsgDlgAnswer{mrOk, {}};
  });
  TBitmap Thin(100, 40000, pf24bit, clWhite);
  Form->NouvelleImage(nullptr, &Thin, QString(), srcNew, 16777216);
  auto* D = Open<TPerspectiveForm>("MenuImagePerspective", "MenuImage");
  ASSERT_TRUE(D);
  ASSERT_EQ(D->Thumb.Width(), 2);
  QTest::mouseClick(D->CBSymetrie, Qt::LeftButton, {}, QPoint(5, 8));
  DragCursor(D->SliderRight, 0, D->SliderRight->height());
  ASSERT_GT(D->Guides().R0, 100);
  const int Steps = UndoSteps();
  Click(D->BOk);
  ASSERT_EQ(Warnings.size(), 1u);
  EXPECT_TRUE(D->isVisible());
  EXPECT_EQ(UndoSteps(), Steps);
  EXPECT_EQ(Form->LeFond().Height(), 40000);
  Click(D->BAnnuler);
}

} // namespace
