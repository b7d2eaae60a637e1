#include "extensions/PrintLayout.h"

#include <gtest/gtest.h>

namespace {

// A 10 x 6.67 inch printable area at 600 dpi (25.4 x 16.93 cm).
TPrintPage Landscape(TPrintUnit Unit) { return TPrintPage::Make(6000, 4000, 600, Unit); }

TEST(PrintLayoutTest, PageInEitherUnit) {
  const TPrintPage Cm = Landscape(puCentimetres), In = Landscape(puInches);
  EXPECT_DOUBLE_EQ(Cm.LPageUnit, 25.4);
  EXPECT_NEAR(Cm.HPageUnit, 16.9333, 1e-4);
  EXPECT_DOUBLE_EQ(In.LPageUnit, 10);
  EXPECT_EQ(Cm.UnitToDevice(2.54, true), 600);
  EXPECT_EQ(In.UnitToDevice(1, false), 600);
  EXPECT_DOUBLE_EQ(In.DeviceToUnit(1500, true), 2.5);
  EXPECT_EQ(In.UnitToDevice(0.00075, true), 0) << "0.45 device pixel";
}

TEST(PrintLayoutTest, EmptyPageGivesZeroNotInfinity) {
  const TPrintPage Empty = TPrintPage::Make(0, 0, 0, puCentimetres);
  EXPECT_EQ(Empty.DeviceToUnit(100, true), 0);
  EXPECT_EQ(Empty.UnitToDevice(5, false), 0);
  EXPECT_EQ(LayoutPreview(Empty, 8, 200).Facteur, 0);
}

TEST(PrintLayoutTest, ThreeByTwoImageStartsAtEightyPercentOfTheFit) {
  const TPrintPage Page = Landscape(puCentimetres);
  const double SB = 2; // 3000 x 2000 fills 6000 x 4000 at zoom 2
  const double Zoom = InitialZoom(SB);
  EXPECT_DOUBLE_EQ(Zoom, 1.6);
  EXPECT_EQ(ScalePosition(Zoom, SB), 80);
  const double W = Page.DeviceToUnit(3000 * Zoom, true), H = Page.DeviceToUnit(2000 * Zoom, false);
  EXPECT_NEAR(W, 0.8 * 25.4, 1e-9);
  EXPECT_NEAR(H, W / 1.5, 1e-9);
  EXPECT_NEAR(RelativeResolution(puCentimetres, 3000, 2000, W, H), 375, 1e-9);
  EXPECT_EQ(InitialZoom(100), 10) << "never more than ten device pixels per image pixel";
}

TEST(PrintLayoutTest, ScaleBarAndTypedSize) {
  EXPECT_DOUBLE_EQ(ScaleFactor(50, 2), 1);
  EXPECT_EQ(ScalePercent(50, 0.333), 16);
  // 10 cm wide on a landscape page: the zoom is read on the width.
  const TPrintPage Page = Landscape(puCentimetres);
  const double Zoom = ZoomForSize(Page, 3000, 2000, 10, 6.67);
  EXPECT_NEAR(Zoom, 10 / 12.7, 1e-9);
  EXPECT_EQ(ScalePosition(Zoom, 2), 39);
  // On a portrait page the height decides.
  const TPrintPage Portrait = TPrintPage::Make(4000, 6000, 600, puInches);
  EXPECT_NEAR(ZoomForSize(Portrait, 2000, 3000, 99, 2.5), 0.5, 1e-9);
  EXPECT_EQ(RoundTenth(374.96), 375.0);
  EXPECT_EQ(RoundTenth(0.25), 0.2) << "ties to even";
}

TEST(PrintLayoutTest, PrintRectFromTypedValues) {
  const TPrintPage Page = Landscape(puInches);
  EXPECT_EQ(PrintRect(Page, 1, 0.5, 5, 2.5), (TRect{600, 300, 3600, 1800}));
}

TEST(PrintLayoutTest, RealSizeFromResolution) {
  const TPrintPage Page = Landscape(puInches);
  const TRealSize At300 = RealSize(Page, 3000, 2000, 300);
  EXPECT_DOUBLE_EQ(At300.Width, 10);
  EXPECT_NEAR(At300.Height, 6.6667, 1e-4);
  EXPECT_TRUE(At300.Fits) << "up to 0.1 beyond the page still fits";
  const TRealSize At72 = RealSize(Page, 3000, 2000, 72);
  EXPECT_NEAR(At72.Width, 41.67, 0.01);
  EXPECT_FALSE(At72.Fits);
  EXPECT_NEAR(RealSize(Landscape(puCentimetres), 3000, 2000, 300).Width, 25.4, 1e-9);
  EXPECT_FALSE(RealSize(Page, 3000, 2000, 0).Fits) << "no resolution, no real size";
}

struct FieldCase {
  double X, Y, W, H;
  TPrintFieldError Error;
  double Limit;
};

class PrintFieldTest : public ::testing::TestWithParam<FieldCase> {};

TEST_P(PrintFieldTest, FirstFailingRuleAndItsLimit) {
  const FieldCase& C = GetParam();
  const TPrintFieldCheck Check = CheckPrintFields(Landscape(puCentimetres), C.X, C.Y, C.W, C.H);
  EXPECT_EQ(Check.Error, C.Error);
  if (C.Error != TPrintFieldError::None) {
    EXPECT_NEAR(Check.Limit, C.Limit, 1e-4);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, PrintFieldTest,
                         ::testing::Values(FieldCase{0, 0, 20, 10, TPrintFieldError::None, 0},
                                           FieldCase{5.4, 6.93, 20, 10, TPrintFieldError::None, 0},
                                           FieldCase{5.405, 6.94, 20, 10, TPrintFieldError::None, 0},
                                           FieldCase{0, 0, 0.9, 10, TPrintFieldError::Width, 25.4},
                                           FieldCase{0, 0, 25.42, 10, TPrintFieldError::Width, 25.4},
                                           FieldCase{0, 0, 20, 17, TPrintFieldError::Height, 16.9333},
                                           FieldCase{5.42, 0, 20, 10, TPrintFieldError::Left, 5.4},
                                           FieldCase{0, 7, 20, 10, TPrintFieldError::Top, 6.9333},
                                           FieldCase{9, 9, 20, 10, TPrintFieldError::Left, 5.4}));

TEST(PrintLayoutTest, CropMarksAtTheCornersAndMiddles) {
  const TPrintPage Page = Landscape(puCentimetres);
  const TRect R{1000, 1000, 3000, 2000};
  // Far = Round(0.8 cm) = 189, Near = Round(0.1 cm) = 24 device pixels.
  const std::vector<TPrintLine> TwoToOne = CutMarks(Page, R, 200, 100);
  ASSERT_EQ(TwoToOne.size(), 10u);
  EXPECT_EQ(TwoToOne[0], (TPrintLine{{811, 1000}, {976, 1000}}));
  EXPECT_EQ(TwoToOne[5], (TPrintLine{{3000, 2189}, {3000, 2024}}));
  EXPECT_EQ(TwoToOne[8], (TPrintLine{{2000, 811}, {2000, 976}}));
  EXPECT_EQ(TwoToOne[9], (TPrintLine{{2000, 2189}, {2000, 2024}}));
  EXPECT_EQ(CutMarks(Page, R, 400, 300).size(), 8u) << "4:3 has no middle marks";
  const std::vector<TPrintLine> Tall = CutMarks(Page, {0, 0, 100, 301}, 100, 301);
  EXPECT_EQ(Tall[8], (TPrintLine{{-189, 150}, {-24, 150}}));
  // Inches: the same physical lengths.
  EXPECT_EQ(CutMarks(Landscape(puInches), R, 200, 100), TwoToOne);
}

TEST(PrintLayoutTest, PreviewPageInTheSquare) {
  const TPreviewPage Wide = LayoutPreview(Landscape(puCentimetres), 8, 200);
  EXPECT_DOUBLE_EQ(Wide.Facteur, 200.0 / 6000);
  EXPECT_EQ(Wide.Page, (TRect{8, 8, 208, 141}));
  const TPreviewPage Tall = LayoutPreview(TPrintPage::Make(4000, 6000, 600, puInches), 8, 200);
  EXPECT_EQ(Tall.Page, (TRect{41, 8, 174, 208}));
}

} // namespace
