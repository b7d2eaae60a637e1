#include "filters/Convolution.h"

#include "FilterTestSupport.h"
#include "filters/Blur24.h"
#include "filters/MatrixConst.h"
#include "platform/Rounding.h"
#include "raster/FilterEvent.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace FilterTest;

namespace {

TFilterMatrix MatrixOf(int W, int H, std::vector<int32_t> Values, int32_t Divisor, int32_t Offset) {
  TFilterMatrix M(W, H);
  M.Values() = std::move(Values);
  M.SetDivisor(Divisor);
  M.SetOffset(Offset);
  return M;
}

struct TNamedMatrix {
  std::string Name;
  TFilterMatrix Matrix;
};

std::vector<TNamedMatrix> TestMatrices() {
  return {
      {"sharpen", MatrixFromRecord3x3(MatSharpen)},
      {"soften", MatrixFromRecord3x3(MatSoften)},
      {"smooth (one-sided)", MatrixFromRecord3x3(MatSmooth)},
      {"relief (mirrors differ)", MatrixFromRecord3x3(MatRelief)},
      {"5x3, offset, negative divisor", MatrixOf(5, 3, {3, -1, 4, 1, -5, 9, 2, -6, 5, 3, -5, 8, 9, 7, -9}, -7, -20)},
      {"4x2 even size", MatrixOf(4, 2, {1, 2, 3, 4, 5, 6, 7, 8}, 36, 3)},
      {"row of 9", GaussianMatrix(4, 0, 1.69, 1.0)},
      {"column of 7", GaussianMatrix(0, 3, 1.0, 1.0)},
      {"sharpen more 5x5", SharpenMoreMatrix(10)},
  };
}

} // namespace

TEST(ConvolutionTest, MatchesTheDirectSumForEveryFormAndRect) {
  TBitmap Src;
  RandomImage(Src, 11);
  const struct { int Amount, Threshold; } Forms[] = {{100, 0}, {37, 0}, {200, 0}, {100, 10}, {60, 1}, {700, 0}};
  for (const TNamedMatrix& M : TestMatrices())
    for (const auto& Form : Forms)
      for (const TRect& R : TestRects()) {
        SCOPED_TRACE(M.Name + " amount " + std::to_string(Form.Amount) + " threshold " +
                     std::to_string(Form.Threshold) + " rect " + ::testing::PrintToString(R));
        TBitmap Actual, Expected;
        Actual.Assign(Src);
        Convolve(Actual, M.Matrix, Form.Amount, Form.Threshold, R);
        ReferenceConvolve(Src, Expected, M.Matrix, Form.Amount, Form.Threshold, R);
        ASSERT_IMAGES_MATCH(Actual, Expected);
      }
}

TEST(ConvolutionTest, SumsBeyond32BitsStayExact) {
  TBitmap Src, Actual, Expected;
  RandomImage(Src, 12);
  const TFilterMatrix M = MatrixOf(3, 3, {1, 2, 1, 2, 20000000, 2, 1, 2, 1}, 20000012, 0);
  for (const int Amount : {100, 150}) {
    Actual.Assign(Src);
    Convolve(Actual, M, Amount, 0, WholeBitmapRect);
    ReferenceConvolve(Src, Expected, M, Amount, 0, WholeBitmapRect);
    EXPECT_IMAGES_MATCH(Actual, Expected);
  }
}

TEST(ConvolutionTest, EdgeCasesOfTheEntryPoint) {
  TBitmap Src, Actual, Other;
  RandomImage(Src, 13);
  const TFilterMatrix Sharpen = MatrixFromRecord3x3(MatSharpen);

  Actual.Assign(Src);
  Convolve(Actual, MatrixOf(1, 1, {1}, 1, 0), 100, 0, WholeBitmapRect);
  EXPECT_IMAGES_MATCH(Actual, Src, 0, "identity");

  Actual.Assign(Src);
  Convolve(Actual, Sharpen, 0, 0, WholeBitmapRect);
  EXPECT_IMAGES_MATCH(Actual, Src, 0, "amount 0");

  Actual.Assign(Src);
  Convolve(Actual, TFilterMatrix(), 100, 0, WholeBitmapRect);
  EXPECT_IMAGES_MATCH(Actual, Src, 0, "empty matrix");

  Actual.Assign(Src);
  Other.Assign(Src);
  Convolve(Actual, Sharpen, 600, 0, WholeBitmapRect);
  Convolve(Other, Sharpen, 500, 0, WholeBitmapRect);
  EXPECT_IMAGES_MATCH(Actual, Other, 0, "600 acts as 500");

  // A divisor of 0 counts as 1.
  Actual.Assign(Src);
  Other.Assign(Src);
  TFilterMatrix Zero = MatrixOf(3, 3, {0, 1, 0, 1, -4, 1, 0, 1, 0}, 0, 128);
  Convolve(Actual, Zero, 100, 0, WholeBitmapRect);
  Zero.SetDivisor(1);
  Convolve(Other, Zero, 100, 0, WholeBitmapRect);
  EXPECT_IMAGES_MATCH(Actual, Other, 0, "divisor 0");

  // ConvolveAmount at 100 is ConvolveFull.
  Actual.Assign(Src);
  Other.Assign(Src);
  ConvolveAmount(Actual, Sharpen, 100, WholeBitmapRect);
  ConvolveFull(Other, Sharpen, WholeBitmapRect);
  EXPECT_IMAGES_MATCH(Actual, Other, 0, "amount 100");
}

TEST(ConvolutionTest, SmallDifferencesStayUnderAThreshold) {
  TBitmap Image(3, 3, pf24bit, RGB(100, 100, 100));
  SetPixel(Image, 1, 1, {100, 100, 101});
  const TFilterMatrix Soften = MatrixFromRecord3x3(MatSoften);
  // (4 * 101 + 12 * 100) div 16 = 100: the sums differ by 1 < 3.
  Convolve(Image, Soften, 100, 1, WholeBitmapRect);
  EXPECT_EQ(PixelAt(Image, 1, 1), (TRGB{100, 100, 101}));
  Convolve(Image, Soften, 100, 0, WholeBitmapRect);
  EXPECT_EQ(PixelAt(Image, 1, 1), (TRGB{100, 100, 100}));
}

TEST(ConvolutionTest, OtherFormatsBecome24Bit) {
  TBitmap Image(8, 8, pf32bit, clRed);
  Convolve(Image, MatrixFromRecord3x3(MatSoften), 100, 0, WholeBitmapRect);
  EXPECT_EQ(Image.PixelFormat(), pf24bit);
  EXPECT_EQ(PixelAt(Image, 3, 3), (TRGB{0, 0, 255}));
}

namespace {

// Cancels once the given number of rows was reported.
class TCancelAfter : public TProgressSink {
public:
  explicit TCancelAfter(int Rows) : FRows(Rows) {}
  void ProgressCallback(uint8_t Stage, int, int) override {
    if (Stage == ProgressStageBegin) Begins++;
    if (Stage == ProgressStageReport && ++FReports > FRows) ProgressCancelled = true;
  }
  void HandlePendingMessages() override {}
  int Begins = 0;

private:
  int FRows;
  int FReports = 0;
};

} // namespace

TEST(ConvolutionTest, ACancelKeepsTheRowsAlreadyDone) {
  TBitmap Src, Actual, Expected;
  RandomImage(Src, 14);
  TCancelAfter Sink(10);
  const int SavedDelay = ProgressInitialDelay, SavedInterval = ProgressMinInterval;
  ProgressInitialDelay = ProgressMinInterval = 0;
  SetProgressSink(&Sink);
  Actual.Assign(Src);
  const TFilterMatrix Sharpen = MatrixFromRecord3x3(MatSharpen);
  Convolve(Actual, Sharpen, 100, 0, WholeBitmapRect);
  SetProgressSink(nullptr);
  ProgressCancelled = false;
  ProgressInitialDelay = SavedDelay;
  ProgressMinInterval = SavedInterval;

  // The 11th report (before row 10) sets the cancel: the step before row 11
  // answers false.
  ReferenceConvolve(Src, Expected, Sharpen, 100, 0, WholeBitmapRect);
  for (int Y = 11; Y < Src.Height(); ++Y)
    for (int X = 0; X < Src.Width(); ++X) SetPixel(Expected, X, Y, PixelAt(Src, X, Y));
  EXPECT_IMAGES_MATCH(Actual, Expected);
  EXPECT_EQ(Sink.Begins, 1);
}

// ---- The kernel object ----------------------------------------------------------

TEST(FilterMatrixTest, CreateAssignAndDivisor) {
  TFilterMatrix M(3, 2);
  EXPECT_EQ(M.Size(), 6);
  EXPECT_EQ(M.Divisor(), 1);
  EXPECT_EQ(M.Offset(), 0);
  M.SetValueXY(2, 1, 7);
  M.SetValueXY(0, 0, -3);
  EXPECT_EQ(M.Values()[5], 7);
  EXPECT_EQ(M.CalcDefaultDivisor(), 4);

  TFilterMatrix Copy;
  Copy.Assign(&M);
  EXPECT_EQ(Copy.Width(), 3);
  EXPECT_EQ(Copy.GetValueXY(2, 1), 7);
  Copy.Assign(nullptr);
  EXPECT_EQ(Copy.Size(), 0);
  EXPECT_EQ(Copy.Divisor(), 0);
}

TEST(FilterMatrixTest, SetRadiusWeightsTheOuterRing) {
  TFilterMatrix M(5, 5);
  std::fill(M.Values().begin(), M.Values().end(), 1);
  M.SetRadius(1.3);
  EXPECT_EQ(M.GetValueXY(2, 2), 10);
  EXPECT_EQ(M.GetValueXY(1, 3), 10);
  EXPECT_EQ(M.GetValueXY(0, 2), 3);
  EXPECT_EQ(M.GetValueXY(4, 4), 3);
  EXPECT_EQ(M.Divisor(), 138);

  TFilterMatrix Same(5, 5);
  std::fill(Same.Values().begin(), Same.Values().end(), 1);
  Same.SetRadius(2.0);
  Same.SetRadius(-1.5);
  EXPECT_EQ(Same.GetValueXY(0, 0), 1);
  EXPECT_EQ(Same.Divisor(), 1);
  TFilterMatrix Small(3, 3);
  Small.SetValueXY(0, 0, 1);
  Small.SetRadius(1.5);
  EXPECT_EQ(Small.GetValueXY(0, 0), 1);
}

// ---- Rank filters ------------------------------------------------------------------

namespace {

void ReferenceRank(const TBitmap& Src, TBitmap& Expected, int Rx, int Ry, bool Greatest, const TRect& Rect) {
  Expected.Assign(Src);
  Rx = std::max(Rx, 0);
  Ry = std::max(Ry, 0);
  if (Rx < 1 && Ry < 1) return;
  ReferenceOver(Src, Expected, Rect, [&](TRGB& Out, int X, int Y, const TRect& R) {
    int Best = Greatest ? -1 : 766;
    for (int DY = -Ry; DY <= Ry; ++DY)
      for (int DX = -Rx; DX <= Rx; ++DX) {
        const TRGB P = Clamped(Src, R, X + DX, Y + DY);
        const int S = P.Blue + P.Green + P.Red;
        if (Greatest ? S > Best : S < Best) {
          Best = S;
          Out = P;
        }
      }
  });
}

// The window in window order.
std::vector<TRGB> Window(const TBitmap& Src, const TRect& R, int X, int Y, int Rx, int Ry) {
  std::vector<TRGB> W;
  for (int DY = -Ry; DY <= Ry; ++DY)
    for (int DX = -Rx; DX <= Rx; ++DX) W.push_back(Clamped(Src, R, X + DX, Y + DY));
  return W;
}

int Brightness(const TRGB& P) { return (P.Blue + P.Green + P.Red) / 3; }

TRGB MedianPixel(const std::vector<TRGB>& W) {
  int Counts[256] = {};
  for (const TRGB& P : W) Counts[Brightness(P)]++;
  int B = 0;
  for (int Running = 0; (Running += Counts[B]) < static_cast<int>(W.size()) / 2;) ++B;
  TRGB Last{};
  for (const TRGB& P : W)
    if (Brightness(P) == B) Last = P;
  return Last;
}

int MedianValue(const std::vector<TRGB>& W, int C) {
  int Counts[256] = {};
  for (const TRGB& P : W) Counts[Channel(P, C)]++;
  int V = 0;
  for (int Running = 0; (Running += Counts[V]) < static_cast<int>(W.size()) / 2;) ++V;
  return V;
}

} // namespace

TEST(RankFilterTest, MinimumAndMaximumMatchTheDirectSearch) {
  TBitmap Src, Actual, Expected;
  RandomImage(Src, 21);
  // Few distinct sums, so that ties are frequent and the window order shows.
  for (int Y = 0; Y < Src.Height(); ++Y)
    for (int X = 0; X < Src.Width(); ++X) {
      TRGB& P = RowOf(Src, Y)[X];
      P = {static_cast<uint8_t>(P.Blue % 3 * 60), static_cast<uint8_t>(P.Green % 2 * 60), P.Red};
      if (P.Red % 2) P.Red = 60;
    }
  const int Radii[][2] = {{1, 0}, {0, 2}, {2, 1}, {3, 3}, {-1, 2}, {0, 0}};
  for (const bool Greatest : {false, true})
    for (const auto& Radius : Radii)
      for (const TRect& R : TestRects()) {
        SCOPED_TRACE(std::string(Greatest ? "max " : "min ") + std::to_string(Radius[0]) + "," +
                     std::to_string(Radius[1]) + " rect " + ::testing::PrintToString(R));
        Actual.Assign(Src);
        (Greatest ? MaximumPass24 : MinimumPass24)(Actual, Radius[0], Radius[1], R);
        ReferenceRank(Src, Expected, Radius[0], Radius[1], Greatest, R);
        ASSERT_IMAGES_MATCH(Actual, Expected);
      }
}

TEST(RankFilterTest, MinimumGrowsADarkPixelAndTheFirstOfEqualsWins) {
  TBitmap Image(7, 7, pf24bit, clWhite);
  SetPixel(Image, 3, 3, {0, 0, 0});
  Minimum24(Image, 1, WholeBitmapRect);
  for (int Y = 0; Y < 7; ++Y)
    for (int X = 0; X < 7; ++X)
      EXPECT_EQ(PixelAt(Image, X, Y).Red, (std::abs(X - 3) <= 1 && std::abs(Y - 3) <= 1) ? 0 : 255) << X << "," << Y;

  // Equal sums: the leftmost wins across a row, the highest down a column.
  TBitmap Row(3, 1, pf24bit, clWhite);
  SetPixel(Row, 0, 0, {30, 0, 0});
  SetPixel(Row, 2, 0, {0, 0, 30});
  MinimumPass24(Row, 1, 0, WholeBitmapRect);
  EXPECT_EQ(PixelAt(Row, 1, 0), (TRGB{30, 0, 0}));
  TBitmap Column(1, 3, pf24bit, clWhite);
  SetPixel(Column, 0, 0, {0, 30, 0});
  SetPixel(Column, 0, 2, {0, 0, 30});
  MinimumPass24(Column, 0, 1, WholeBitmapRect);
  EXPECT_EQ(PixelAt(Column, 0, 1), (TRGB{0, 30, 0}));
}

TEST(RankFilterTest, MedianMatchesTheHistogramDefinition) {
  TBitmap Src, Actual, Expected;
  RandomImage(Src, 22);
  const int Radii[][2] = {{1, 1}, {2, 2}, {1, 0}, {0, 3}, {3, 1}};
  for (const auto& Radius : Radii)
    for (const TRect& R : TestRects()) {
      SCOPED_TRACE(std::to_string(Radius[0]) + "," + std::to_string(Radius[1]) + " rect " +
                   ::testing::PrintToString(R));
      Actual.Assign(Src);
      MedianPass24(Actual, Radius[0], Radius[1], R);
      ReferenceOver(Src, Expected, R, [&](TRGB& Out, int X, int Y, const TRect& C) {
        Out = MedianPixel(Window(Src, C, X, Y, Radius[0], Radius[1]));
      });
      ASSERT_IMAGES_MATCH(Actual, Expected);
    }
}

TEST(RankFilterTest, MedianOfNineBrightnessesIsTheFourth) {
  TBitmap Image(3, 3, pf24bit, clBlack);
  const int Order[9] = {50, 10, 90, 30, 70, 20, 80, 60, 40};
  for (int I = 0; I < 9; ++I) {
    const auto V = static_cast<uint8_t>(Order[I]);
    SetPixel(Image, I % 3, I / 3, {V, V, V});
  }
  Median24(Image, 1, WholeBitmapRect);
  EXPECT_EQ(PixelAt(Image, 1, 1), (TRGB{40, 40, 40}));
}

TEST(RankFilterTest, DeNoiseMatchesTheDefinitions) {
  TBitmap Src, Actual, Expected;
  RandomImage(Src, 23);
  const struct { int Radius, Amount, Threshold; } Cases[] = {{1, 100, 0}, {2, 60, 20}, {1, 700, 300}, {3, 250, 40}};
  for (const auto& Case : Cases)
    for (const TRect& R : TestRects()) {
      SCOPED_TRACE("radius " + std::to_string(Case.Radius) + " amount " + std::to_string(Case.Amount) + " threshold " +
                   std::to_string(Case.Threshold) + " rect " + ::testing::PrintToString(R));
      const int Amount = std::min(Case.Amount, 500), Threshold = std::min(Case.Threshold, 255);
      Actual.Assign(Src);
      DeNoiseLum24(Actual, Case.Radius, Case.Amount, Case.Threshold, R);
      ReferenceOver(Src, Expected, R, [&](TRGB& Out, int X, int Y, const TRect& C) {
        const TRGB M = MedianPixel(Window(Src, C, X, Y, Case.Radius, Case.Radius));
        const TRGB P = Out;
        if (std::abs((P.Blue + P.Green + P.Red) - (M.Blue + M.Green + M.Red)) < Threshold * 3) return;
        for (int Ch = 0; Ch < 3; ++Ch)
          SetChannel(Out, Ch, Clip255(Channel(P, Ch) + Amount * (Channel(M, Ch) - Channel(P, Ch)) / 100));
      });
      ASSERT_IMAGES_MATCH(Actual, Expected, 0, "lum");

      Actual.Assign(Src);
      DeNoiseRGB24(Actual, Case.Radius, Case.Amount, Case.Threshold, R);
      ReferenceOver(Src, Expected, R, [&](TRGB& Out, int X, int Y, const TRect& C) {
        const std::vector<TRGB> W = Window(Src, C, X, Y, Case.Radius, Case.Radius);
        for (int Ch = 0; Ch < 3; ++Ch) {
          const int V = Channel(Out, Ch), M = MedianValue(W, Ch);
          if (std::abs(V - M) >= Threshold) SetChannel(Out, Ch, Clip255(V + Amount * (M - V) / 100));
        }
      });
      ASSERT_IMAGES_MATCH(Actual, Expected, 0, "rgb");
    }

  Actual.Assign(Src);
  DeNoiseLum24(Actual, 0, 100, 0, WholeBitmapRect);
  DeNoiseRGB24(Actual, 2, 0, 0, WholeBitmapRect);
  EXPECT_IMAGES_MATCH(Actual, Src, 0, "radius 0, amount 0");
}

// ---- Shadows and highlights ------------------------------------------------------------

TEST(ToneZoneTest, ContrastAroundOneBoundFollowsTheFormula) {
  TBitmap Src, Blurred, Actual, Expected;
  RandomImage(Src, 24);
  RandomImage(Blurred, 25);
  const struct { int B1, B2, Amount; } Cases[] = {{0, 177, 40}, {255, 77, 60}, {255, 77, -30}, {50, 50, 100}};
  for (const auto& Case : Cases)
    for (const TRect& R : TestRects()) {
      Actual.Assign(Src);
      ToneZoneContrast24(Actual, Blurred, Case.B1, Case.B2, Case.Amount, R);
      ReferenceOver(Src, Expected, R, [&](TRGB& Out, int X, int Y, const TRect&) {
        const TRGB B = PixelAt(Blurred, X, Y);
        const int G = (B.Blue + B.Green + B.Red) / 3;
        if (G <= std::min(Case.B1, Case.B2) || G >= std::max(Case.B1, Case.B2)) return;
        const double Ratio = static_cast<double>(Case.B2 - G) / (Case.B2 - Case.B1);
        const double K = Case.Amount / 100.0 * 3.97 * (Ratio * Ratio);
        for (int Ch = 0; Ch < 3; ++Ch) {
          const int V = Channel(Out, Ch);
          SetChannel(Out, Ch, Clip255(Round(V + (V - Case.B1) * K)));
        }
      });
      ASSERT_IMAGES_MATCH(Actual, Expected);
    }
}

TEST(ToneZoneTest, ShadowsHighlightsUsesOneBlurForBothZones) {
  TBitmap Src, Blurred, Actual, Expected;
  RandomImage(Src, 26);
  const TRect R{4, 4, 40, 30};
  Actual.Assign(Src);
  ShadowsHighlights24(Actual, 0, 177, 50, 255, 77, 40, 3, R);
  Blurred.Assign(Src);
  GaussianBlurRadius(Blurred, 3, R);
  Expected.Assign(Src);
  ToneZoneContrast24(Expected, Blurred, 255, 77, 40, R);
  ToneZoneContrast24(Expected, Blurred, 0, 177, 50, R);
  EXPECT_IMAGES_MATCH(Actual, Expected);

  Actual.Assign(Src);
  ShadowsHighlights24(Actual, 0, 177, 50, 255, 77, 40, 0, R);
  EXPECT_IMAGES_MATCH(Actual, Src, 0, "radius 0");
}
