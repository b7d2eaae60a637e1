#include "filters/Filtres24.h"

#include "FilterTestSupport.h"
#include "filters/Blur24.h"
#include "filters/MatrixConst.h"
#include "raster/ColorUtils.h"
#include "raster/RandomGen.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cmath>
#include <functional>
#include <string>

using namespace FilterTest;

namespace {

int Lum(const TRGB& P) { return static_cast<int>(std::trunc((P.Blue * 0.11 + P.Green * 0.59) + P.Red * 0.3)); }

TRGB Grey(int V) { return {Clip255(V), Clip255(V), Clip255(V)}; }

TRGB FromHSV(int H, int S, int V) {
  int R, G, B;
  HSVToRGB(H, S, V, R, G, B);
  return {static_cast<uint8_t>(B), static_cast<uint8_t>(G), static_cast<uint8_t>(R)};
}

// The first grey whose luminance is L.
TRGB GreyOfLuminance(int L) {
  int G = 0;
  while (Lum(Grey(G)) != L) ++G;
  return Grey(G);
}

int TrueMod360(int64_t A) { return static_cast<int>(((A % 360) + 360) % 360); }

// A routine over a rect, and what it does to one pixel of the rect.
struct TPointCase {
  std::string Name;
  std::function<void(TBitmap&, const TRect&)> Apply;
  std::function<void(TRGB&)> Expect;
};

// Each channel through a function of its value.
std::function<void(TRGB&)> PerChannel(std::function<int(int Value, int Channel)> F) {
  return [F](TRGB& P) {
    for (int C = 0; C < 3; ++C) SetChannel(P, C, Clip255(F(Channel(P, C), C)));
  };
}

int BrightnessOf(int V, int P) { return P < 0 ? V + P * V / 100 : V + (255 - V) * P / 100; }

int LevelsOf(int V, double Gamma, int InLo, int InHi, int OutLo, int OutHi) {
  if (V <= InLo) return OutLo;
  if (InHi <= InLo) return OutHi;
  const int Out = static_cast<int>(
      std::trunc(OutLo + (OutHi - OutLo) * std::pow(static_cast<double>(V - InLo) / (InHi - InLo), 1 / Gamma)));
  return std::clamp(Out, std::min(OutLo, OutHi), std::max(OutLo, OutHi));
}

int GammaOf(int V, double G) {
  const double X = 255 * std::pow(V / 255.0, 1 / G);
  return X <= 0 ? 0 : (X >= 255 ? 255 : static_cast<int>(std::trunc(X)));
}

std::vector<TPointCase> PointCases() {
  std::vector<TPointCase> Cases{
      {"grayscale", [](TBitmap& B, const TRect& R) { Grayscale24(B, R); }, [](TRGB& P) { P = Grey(Lum(P)); }},
      {"negative", [](TBitmap& B, const TRect& R) { Negative24(B, R); },
       PerChannel([](int V, int) { return 255 - V; })},
      {"posterize 64", [](TBitmap& B, const TRect& R) { Posterize24(B, 64, R); },
       PerChannel([](int V, int) { return V < 64 ? 0 : (V > 191 ? 255 : 64 * (V / 64)); })},
      {"posterize 7", [](TBitmap& B, const TRect& R) { Posterize24(B, 7, R); },
       PerChannel([](int V, int) { return V < 7 ? 0 : (V > 248 ? 255 : 7 * (V / 7)); })},
      {"posterize 1", [](TBitmap& B, const TRect& R) { Posterize24(B, 1, R); }, [](TRGB&) {}},
      {"brightness -37", [](TBitmap& B, const TRect& R) { Brightness24(B, -37, R); },
       PerChannel([](int V, int) { return BrightnessOf(V, -37); })},
      {"brightness rgb", [](TBitmap& B, const TRect& R) { BrightnessRGB24(B, 45, -10, 0, R); },
       PerChannel([](int V, int C) { return BrightnessOf(V, C == 2 ? 45 : (C == 1 ? -10 : 0)); })},
      {"band brightness", [](TBitmap& B, const TRect& R) { BandBrightnessRGB24(B, 30, -60, 90, 40, 300, R); },
       PerChannel([](int V, int C) {
         return V < 40 ? V : std::clamp(BrightnessOf(V, C == 2 ? 30 : (C == 1 ? -60 : 90)), 40, 255);
       })},
      {"band brightness empty band", [](TBitmap& B, const TRect& R) { BandBrightnessRGB24(B, 30, 30, 30, 90, 90, R); },
       [](TRGB&) {}},
      {"contrast 55", [](TBitmap& B, const TRect& R) { Contrast24(B, 55, R); },
       PerChannel([](int V, int) { return V + 55 * (V - 128) / 100; })},
      {"contrast rgb", [](TBitmap& B, const TRect& R) { ContrastRGB24(B, -40, 0, 130, R); },
       PerChannel([](int V, int C) { return V + (C == 2 ? -40 : (C == 1 ? 0 : 130)) * (V - 128) / 100; })},
      {"band contrast", [](TBitmap& B, const TRect& R) { BandContrast24(B, 70, 50, 200, 100, R); },
       PerChannel([](int V, int) { return V < 50 || V > 200 ? V : std::clamp(V + (V - 100) * 70 / 100, 50, 200); })},
      {"band contrast bad centre", [](TBitmap& B, const TRect& R) { BandContrast24(B, 70, 50, 200, 256, R); },
       [](TRGB&) {}},
      {"gamma 1.8", [](TBitmap& B, const TRect& R) { Gamma24(B, 1.8, R); },
       PerChannel([](int V, int) { return GammaOf(V, 1.8); })},
      {"gamma rgb", [](TBitmap& B, const TRect& R) { GammaRGB24(B, 0.5, 1.0, 2.2, R); },
       PerChannel([](int V, int C) { return GammaOf(V, C == 2 ? 0.5 : (C == 1 ? 1.0 : 2.2)); })},
      {"gamma with a 0", [](TBitmap& B, const TRect& R) { GammaRGB24(B, 2, 0, 2, R); }, [](TRGB&) {}},
      {"levels", [](TBitmap& B, const TRect& R) { Levels24(B, 0.7, 30, 220, 10, 240, R); },
       PerChannel([](int V, int) { return LevelsOf(V, 0.7, 30, 220, 10, 240); })},
      {"levels reversed output", [](TBitmap& B, const TRect& R) { Levels24(B, 1.3, 0, 255, 250, 5, R); },
       PerChannel([](int V, int) { return LevelsOf(V, 1.3, 0, 255, 250, 5); })},
      {"levels flat input", [](TBitmap& B, const TRect& R) { Levels24(B, 1.0, 120, 120, 0, 255, R); },
       PerChannel([](int V, int) { return V <= 120 ? 0 : 255; })},
      {"levels rgb",
       [](TBitmap& B, const TRect& R) {
         LevelsRGB24(B, 1.2, 10, 200, 0, 255, 0.8, 0, 255, 20, 230, 2.0, 60, 61, 5, 250, R);
       },
       PerChannel([](int V, int C) {
         return C == 2 ? LevelsOf(V, 1.2, 10, 200, 0, 255)
                       : (C == 1 ? LevelsOf(V, 0.8, 0, 255, 20, 230) : LevelsOf(V, 2.0, 60, 61, 5, 250));
       })},
      {"saturation rgb", [](TBitmap& B, const TRect& R) { SaturationRGB24(B, 80, -50, 300, R); },
       [](TRGB& P) {
         const int L = Lum(P);
         P = {Clip255(P.Blue + (P.Blue - L) * 300 / 100), Clip255(P.Green + (P.Green - L) * -50 / 100),
              Clip255(P.Red + (P.Red - L) * 80 / 100)};
       }},
      {"threshold 100", [](TBitmap& B, const TRect& R) { ThresholdTwoColors24(B, 100, clNavy, clYellow, R); },
       [](TRGB& P) {
         P = Lum(P) > 100 ? TRGB{0, 255, 255} : TRGB{128, 0, 0};
       }},
      {"threshold 0", [](TBitmap& B, const TRect& R) { ThresholdTwoColors24(B, 0, clNavy, clYellow, R); },
       [](TRGB& P) {
         P = {0, 255, 255};
       }},
      {"threshold 255", [](TBitmap& B, const TRect& R) { ThresholdTwoColors24(B, 255, clNavy, clYellow, R); },
       [](TRGB& P) {
         P = {128, 0, 0};
       }},
      {"swap 0", [](TBitmap& B, const TRect& R) { SwapRGB24(B, 0, R); },
       [](TRGB& P) {
         P = {P.Green, P.Blue, P.Red};
       }},
      {"swap 3", [](TBitmap& B, const TRect& R) { SwapRGB24(B, 3, R); },
       [](TRGB& P) {
         P = {P.Green, P.Red, P.Blue};
       }},
      {"swap other", [](TBitmap& B, const TRect& R) { SwapRGB24(B, 9, R); },
       [](TRGB& P) {
         P = {P.Red, P.Green, P.Blue};
       }},
  };
  for (const int Shift : {40, 400, -400, 360, -15}) {
    Cases.push_back({"hue shift " + std::to_string(Shift),
                     [Shift](TBitmap& B, const TRect& R) { HueShift24(B, Shift, R); },
                     [Shift](TRGB& P) {
                       int H, S, V;
                       RGBToHSV(P.Red, P.Green, P.Blue, H, S, V);
                       P = FromHSV(TrueMod360(int64_t{H} + Shift), S, V);
                     }});
  }
  for (const int Hue : {0, 200, 420, -30}) {
    Cases.push_back({"colorize " + std::to_string(Hue), [Hue](TBitmap& B, const TRect& R) { ColorizeHue24(B, Hue, R); },
                     [Hue](TRGB& P) {
                       int H, S, V;
                       RGBToHSV(P.Red, P.Green, P.Blue, H, S, V);
                       P = FromHSV(TrueMod360(Hue), S, V);
                     }});
  }
  for (int Mode = -1; Mode <= 9; ++Mode) {
    Cases.push_back({"grey mode " + std::to_string(Mode),
                     [Mode](TBitmap& B, const TRect& R) { GrayscaleMode24(B, Mode, R); },
                     [Mode](TRGB& P) {
                       int H, S, V;
                       RGBToHSV(P.Red, P.Green, P.Blue, H, S, V);
                       const int Levels[] = {Lum(P),
                                             (P.Blue + P.Green + P.Red) / 3,
                                             P.Red,
                                             P.Green,
                                             P.Blue,
                                             std::max({P.Red, P.Green, P.Blue}),
                                             std::min({P.Red, P.Green, P.Blue}),
                                             std::abs(H - 180) * 255 / 180,
                                             S};
                       P = Grey(Levels[Mode >= 0 && Mode <= 8 ? Mode : 0]);
                     }});
  }
  return Cases;
}

} // namespace

TEST(PointFilterTest, EveryRoutineMatchesItsFormulaInEveryRect) {
  TBitmap Src, Actual, Expected;
  RandomImage(Src, 41);
  for (const TPointCase& Case : PointCases())
    for (const TRect& R : TestRects()) {
      SCOPED_TRACE(Case.Name + " rect " + ::testing::PrintToString(R));
      Actual.Assign(Src);
      Case.Apply(Actual, R);
      ReferenceOver(Src, Expected, R, [&](TRGB& P, int, int, const TRect&) { Case.Expect(P); });
      ASSERT_IMAGES_MATCH(Actual, Expected);
    }
}

TEST(PointFilterTest, ValuesOfTheTables) {
  EXPECT_EQ(Luminance24({23, 23, 23}), 22);
  EXPECT_EQ(Luminance24({41, 41, 41}), 40);
  EXPECT_EQ(Luminance24({255, 255, 255}), 255);
  int Lower = 0;
  for (int G = 0; G < 256; ++G) Lower += Luminance24(Grey(G)) != G;
  EXPECT_EQ(Lower, 26);

  // One row of the 256 byte values, each filter applied to it.
  TBitmap Ramp(256, 1, pf24bit);
  auto Run = [&Ramp](const std::function<void(TBitmap&)>& F) {
    for (int V = 0; V < 256; ++V) SetPixel(Ramp, V, 0, Grey(V));
    F(Ramp);
    std::vector<int> Out(256);
    for (int V = 0; V < 256; ++V) Out[V] = PixelAt(Ramp, V, 0).Green;
    return Out;
  };
  auto Posterized = Run([](TBitmap& B) { Posterize24(B, 64, WholeBitmapRect); });
  EXPECT_EQ(Posterized[63], 0);
  EXPECT_EQ(Posterized[64], 64);
  EXPECT_EQ(Posterized[127], 64);
  EXPECT_EQ(Posterized[191], 128);
  EXPECT_EQ(Posterized[192], 255);
  for (int V : Run([](TBitmap& B) { Brightness24(B, -100, WholeBitmapRect); })) EXPECT_EQ(V, 0);
  for (int V : Run([](TBitmap& B) { Brightness24(B, 100, WholeBitmapRect); })) EXPECT_EQ(V, 255);
  auto Contrasted = Run([](TBitmap& B) { Contrast24(B, 100, WholeBitmapRect); });
  EXPECT_EQ(Contrasted[64], 0);
  EXPECT_EQ(Contrasted[192], 255);
  auto Levelled = Run([](TBitmap& B) { Levels24(B, 1, 50, 200, 0, 255, WholeBitmapRect); });
  EXPECT_EQ(Levelled[50], 0);
  EXPECT_EQ(Levelled[125], 127);
  EXPECT_EQ(Levelled[200], 255);
  EXPECT_EQ(Levelled[230], 255);
  for (const auto& Gammas : {std::array<double, 3>{1, 1, 1}, std::array<double, 3>{2, 0, 2}}) {
    const auto Unchanged = Run([&](TBitmap& B) { GammaRGB24(B, Gammas[0], Gammas[1], Gammas[2], WholeBitmapRect); });
    for (int V = 0; V < 256; ++V) EXPECT_EQ(Unchanged[V], V);
  }
}

// The luminance runs take shortcuts: every one of the 2^24 colours must come
// out as the double formula gives it.
TEST(PointFilterTest, LuminanceOfEveryColour) {
  TBitmap All(4096, 4096, pf24bit);
  auto ColourOf = [](int I) {
    return TRGB{static_cast<uint8_t>(I), static_cast<uint8_t>(I >> 8), static_cast<uint8_t>(I >> 16)};
  };
  // The first colour whose result differs from Expected(colour), or -1.
  auto FirstWrong = [&](auto&& Expected) {
    for (int I = 0; I < (1 << 24); ++I)
      if (!(PixelAt(All, I % 4096, I / 4096) == Expected(ColourOf(I)))) return I;
    return -1;
  };
  auto Fill = [&] {
    for (int I = 0; I < (1 << 24); ++I) SetPixel(All, I % 4096, I / 4096, ColourOf(I));
  };
  Fill();
  Grayscale24(All, WholeBitmapRect);
  EXPECT_EQ(FirstWrong([](const TRGB& P) { return Grey(Lum(P)); }), -1);
  Fill();
  Saturation24(All, 100, WholeBitmapRect);
  EXPECT_EQ(FirstWrong([](const TRGB& P) {
              const int L = Lum(P);
              return TRGB{Clip255(2 * P.Blue - L), Clip255(2 * P.Green - L), Clip255(2 * P.Red - L)};
            }),
            -1);
}

TEST(PointFilterTest, ThresholdAndTintEdges) {
  TBitmap Image(2, 1, pf24bit);
  SetPixel(Image, 0, 0, GreyOfLuminance(128));
  SetPixel(Image, 1, 0, GreyOfLuminance(129));
  ThresholdTwoColors24(Image, 128, clBlack, clWhite, WholeBitmapRect);
  EXPECT_EQ(PixelAt(Image, 0, 0), Grey(0));
  EXPECT_EQ(PixelAt(Image, 1, 0), Grey(255));

  // Within 7 of the key on every channel the pixel takes the new key.
  TBitmap Glyph(3, 1, pf24bit);
  SetPixel(Glyph, 0, 0, {107, 17, 57});
  SetPixel(Glyph, 1, 0, {100, 10, 58});
  SetPixel(Glyph, 2, 0, {200, 100, 0});
  TintBitmapEx(Glyph, RGB(50, 10, 100), clLime, RGB(0, 0, 255), 50, 20);
  EXPECT_EQ(PixelAt(Glyph, 0, 0), (TRGB{0, 255, 0}));
  // l = 168 div 3 = 56, lightened by 20 %: 56 + 199 * 20 div 100 = 95; then
  // each channel 50 % of the way to the tint.
  EXPECT_EQ(PixelAt(Glyph, 1, 0), (TRGB{175, 48, 48}));
  // l = 100, lightened to 131; 131 + 124 * 50 div 100, 131 - 131 * 50 div 100.
  EXPECT_EQ(PixelAt(Glyph, 2, 0), (TRGB{193, 66, 66}));
  TBitmap Same;
  Same.Assign(Glyph);
  TintBitmap(Glyph, clBlack, clRed, 0);
  EXPECT_IMAGES_MATCH(Glyph, Same, 0, "percent 0");
  TintBitmap(Glyph, RGB(48, 48, 175), clRed, 100);
  EXPECT_EQ(PixelAt(Glyph, 1, 0), (TRGB{175, 48, 48}));
  EXPECT_EQ(PixelAt(Glyph, 2, 0), (TRGB{0, 0, 255}));
}

// Every 24-bit colour, one red level at a time, through the hue shift: the
// same bytes as the HSV round trip, hue by hue.
TEST(PointFilterTest, HueShiftOfEveryColour) {
  TBitmap Image(256, 256);
  for (const int Shift : {137, -60}) {
    for (int Red = 0; Red < 256; ++Red) {
      for (int Y = 0; Y < 256; ++Y)
        for (int X = 0; X < 256; ++X) RowOf(Image, Y)[X] = {uint8_t(X), uint8_t(Y), uint8_t(Red)};
      HueShift24(Image, Shift, WholeBitmapRect);
      for (int Y = 0; Y < 256; ++Y)
        for (int X = 0; X < 256; ++X) {
          int H, S, V;
          RGBToHSV(Red, Y, X, H, S, V);
          const TRGB Want = FromHSV(TrueMod360(int64_t{H} + Shift), S, V);
          ASSERT_EQ(RowOf(Image, Y)[X], Want) << "shift " << Shift << " rgb " << Red << "," << Y << "," << X;
        }
    }
  }
}

TEST(PointFilterTest, HueRoundTripsAndSwaps) {
  TBitmap Src, Image;
  RandomImage(Src, 42);
  Image.Assign(Src);
  HueShift24(Image, 0, WholeBitmapRect);
  EXPECT_IMAGES_MATCH(Image, Src, 0, "shift 0");
  for (const int Mode : {1, 2}) {
    Image.Assign(Src);
    for (int I = 0; I < (Mode == 1 ? 2 : 3); ++I) SwapRGB24(Image, Mode, WholeBitmapRect);
    EXPECT_IMAGES_MATCH(Image, Src, 0, "swap " + std::to_string(Mode));
  }
}

TEST(PointFilterTest, ReplaceColorHueAndColorize) {
  TBitmap Src, Actual, Expected;
  RandomImage(Src, 43);
  const TColor Key = RGB(120, 130, 140), NewColor = RGB(10, 200, 30);
  int NewHue, S, V;
  ColorToHSV(NewColor, NewHue, S, V);
  for (const int Tolerance : {-1, 0, 60, 255}) {
    Actual.Assign(Src);
    SetPixel(Actual, 3, 3, {140, 130, 120});
    TBitmap Input;
    Input.Assign(Actual);
    ReplaceColorHue24(Actual, Key, NewColor, Tolerance, WholeBitmapRect);
    ReferenceOver(Input, Expected, WholeBitmapRect, [&](TRGB& P, int, int, const TRect&) {
      if (Tolerance < 0 || std::abs(P.Red - 120) > Tolerance || std::abs(P.Green - 130) > Tolerance ||
          std::abs(P.Blue - 140) > Tolerance)
        return;
      int H, PS, PV;
      RGBToHSV(P.Red, P.Green, P.Blue, H, PS, PV);
      P = FromHSV(NewHue, PS, PV);
    });
    EXPECT_IMAGES_MATCH(Actual, Expected, 0, "tolerance " + std::to_string(Tolerance));
  }
  Actual.Assign(Src);
  Expected.Assign(Src);
  ColorizeColor24(Actual, NewColor, WholeBitmapRect);
  ColorizeHue24(Expected, NewHue, WholeBitmapRect);
  EXPECT_IMAGES_MATCH(Actual, Expected, 0, "colorize by colour");
}

TEST(PointFilterTest, PartialDesaturationFollowsTheChroma) {
  TBitmap Src, Actual, Expected;
  RandomImage(Src, 44);
  const TColor Reference = RGB(40, 90, 200);
  float Y0, Cb0, Cr0;
  ColorToYCbCr(Reference, Y0, Cb0, Cr0);
  const struct {
    float Strength, Sharpness;
    bool Invert;
  } Cases[] = {{-1.5f, 3.0f, false}, {0.8f, 7.5f, false}, {-0.6f, 0.0f, true}, {1.2f, 20.0f, true}};
  for (const auto& Case : Cases)
    for (const TRect& R : TestRects()) {
      Actual.Assign(Src);
      PartialDesat24(Actual, Reference, Case.Strength, Case.Sharpness, Case.Invert, R);
      float K = std::clamp(Case.Sharpness, 1.0f, 8.0f);
      if (Case.Invert) K = 9 - K;
      auto Weight = [K](float X) { return X == 0 ? 1.0f : std::exp(-K * X * X); };
      auto Sign = [](float X) { return X > 0 ? 1 : (X < 0 ? -1 : 0); };
      ReferenceOver(Src, Expected, R, [&](TRGB& P, int, int, const TRect&) {
        float Y, Cb, Cr;
        RGBToYCbCr(P.Red, P.Green, P.Blue, Y, Cb, Cr);
        const float W = Weight(Cb - Cb0) * Weight(Cr - Cr0);
        const float U = Case.Invert ? Case.Strength * (1 - W) : Case.Strength * W;
        float NewCb = Cb + U * (Cb - 0.5f), NewCr = Cr + U * (Cr - 0.5f);
        if (U < 0 && Sign(NewCb - 0.5f) != Sign(Cb - 0.5f)) NewCb = 0.5f;
        if (U < 0 && Sign(NewCr - 0.5f) != Sign(Cr - 0.5f)) NewCr = 0.5f;
        YCbCrToRGB(Y, NewCb, NewCr, P.Red, P.Green, P.Blue);
      });
      ASSERT_IMAGES_MATCH(Actual, Expected);
    }

  // Desaturating a bluish pixel hard never makes it yellowish.
  TBitmap Blue(1, 1, pf24bit, RGB(60, 70, 220));
  PartialDesat24(Blue, RGB(60, 70, 220), -5.0f, 2.0f, false, WholeBitmapRect);
  const TRGB P = PixelAt(Blue, 0, 0);
  EXPECT_GE(P.Blue, P.Red);
  EXPECT_GE(P.Blue, P.Green);
}

// ---- Presets ------------------------------------------------------------------------

TEST(PresetFilterTest, PresetsApplyTheirKernels) {
  TBitmap Src, Actual, Expected;
  RandomImage(Src, 45);
  const TRect R{3, 2, 60, 40};
  auto Check = [&](const std::function<void(TBitmap&)>& Preset, const TFilterMatrix& M, int Amount,
                   const std::string& Name) {
    Actual.Assign(Src);
    Preset(Actual);
    ReferenceConvolve(Src, Expected, M, Amount, 0, R);
    EXPECT_IMAGES_MATCH(Actual, Expected, 0, Name);
  };
  auto Matrix3 = [](std::vector<int32_t> V, int32_t Divisor) {
    TFilterMatrix M(3, 3);
    M.Values() = std::move(V);
    M.SetDivisor(Divisor);
    return M;
  };
  Check([&](TBitmap& B) { Smooth24(B, 70, R); }, Matrix3({0, 0, 0, 0, 1, 1, 0, 1, 1}, 4), 70, "smooth");
  Check([&](TBitmap& B) { Soften24(B, 100, true, R); }, Matrix3({1, 2, 1, 2, 4, 2, 1, 2, 1}, 16), 100, "soft strong");
  Check([&](TBitmap& B) { Soften24(B, 150, false, R); }, Matrix3({1, 2, 1, 2, 20, 2, 1, 2, 1}, 32), 150, "soft mild");
  Check([&](TBitmap& B) { ConvolveMatrix3x3(B, MatPlaster, 100, R); }, Matrix3({0, -3, -3, 0, 6, 0, 0, 0, 0}, 1), 100,
        "plaster");
  TFilterMatrix More(5, 5);
  More.Values() = {0, 0, -1, 0, 0, 0, -8, -21, -8, 0, -1, -21, 304, -21, -1, 0, -8, -21, -8, 0, 0, 0, -1, 0, 0};
  More.SetDivisor(184);
  Check([&](TBitmap& B) { SharpenMore24(B, 10, 80, R); }, More, 80, "sharpen more");
}

// ---- Random effects ------------------------------------------------------------------

TEST(RandomFilterTest, NoiseAndDiffusionDrawAsDefined) {
  TBitmap Src, Actual, Expected;
  RandomImage(Src, 46);
  const TFixedRandomize Fixed(777);
  for (const TRect& R : TestRects()) {
    SCOPED_TRACE(::testing::PrintToString(R));
    Actual.Assign(Src);
    ColorNoise24(Actual, 40, R);
    Randomize();
    ReferenceOver(Src, Expected, R, [](TRGB& P, int, int, const TRect&) {
      for (int C = 0; C < 3; ++C) SetChannel(P, C, Clip255(Channel(P, C) + Random(40) - 20));
    });
    ASSERT_IMAGES_MATCH(Actual, Expected, 0, "colour noise");

    Actual.Assign(Src);
    MonoNoise24(Actual, 31, R);
    Randomize();
    ReferenceOver(Src, Expected, R, [](TRGB& P, int, int, const TRect&) {
      const int D = Random(31) - 15;
      for (int C = 0; C < 3; ++C) SetChannel(P, C, Clip255(Channel(P, C) + D));
    });
    ASSERT_IMAGES_MATCH(Actual, Expected, 0, "mono noise");

    for (int Mode = 0; Mode <= 6; ++Mode)
      for (const int D : {1, 5, 70}) {
        Actual.Assign(Src);
        Diffuse24(Actual, D, Mode, R);
        Randomize();
        ReferenceOver(Src, Expected, R, [&](TRGB& P, int X, int Y, const TRect& C) {
          int SX = X, SY = Y;
          if (Mode == 4) {
            SX = X + Random(D + 1);
            SY = Y + Random(D + 1);
          } else if (Mode >= 1 && Mode <= 5) {
            const int Draw = Random(2 * D + 1);
            if (Mode != 2) SX = X + Draw - D;
            if (Mode == 2 || Mode == 5) SY = Y + Draw - D;
            if (Mode == 3) SY = Y + D - Draw;
          } else {
            SX = X + Random(2 * D + 1) - D;
            SY = Y + Random(2 * D + 1) - D;
          }
          P = Clamped(Src, C, SX, SY);
        });
        ASSERT_IMAGES_MATCH(Actual, Expected, 0,
                            "diffuse mode " + std::to_string(Mode) + " distance " + std::to_string(D));
      }
  }
  Actual.Assign(Src);
  ColorNoise24(Actual, 0, WholeBitmapRect);
  MonoNoise24(Actual, -3, WholeBitmapRect);
  Diffuse24(Actual, 0, 0, WholeBitmapRect);
  EXPECT_IMAGES_MATCH(Actual, Src, 0, "no-op amounts");
}

// Amounts at the int limit: v + Random(N) - N div 2 taken whole, from a seed
// whose first draw lies within 255 of INT_MAX (found through the generator's
// own interface), so that v + Random(N) passes the int range on a white pixel.
TEST(RandomFilterTest, NoiseAmountsAtTheIntLimit) {
  for (const int N : {INT_MAX, INT_MAX - 1}) {
    uint32_t Seed = 0;
    for (;; ++Seed) {
      SeedRandom(Seed);
      if (Random(N) > INT_MAX - 255) break;
    }
    const TFixedRandomize Fixed(Seed);
    TBitmap Src(3, 2, pf24bit, clWhite), Actual, Expected;
    RowOf(Src, 1)[2] = {0, 128, 200};
    Actual.Assign(Src);
    ColorNoise24(Actual, N, WholeBitmapRect);
    Randomize();
    ReferenceOver(Src, Expected, WholeBitmapRect, [N](TRGB& P, int, int, const TRect&) {
      for (int C = 0; C < 3; ++C) SetChannel(P, C, Clip255(int64_t{Channel(P, C)} + Random(N) - N / 2));
    });
    EXPECT_IMAGES_MATCH(Actual, Expected, 0, "colour noise " + std::to_string(N));

    Actual.Assign(Src);
    MonoNoise24(Actual, N, WholeBitmapRect);
    Randomize();
    ReferenceOver(Src, Expected, WholeBitmapRect, [N](TRGB& P, int, int, const TRect&) {
      const int64_t D = int64_t{Random(N)} - N / 2;
      for (int C = 0; C < 3; ++C) SetChannel(P, C, Clip255(Channel(P, C) + D));
    });
    EXPECT_IMAGES_MATCH(Actual, Expected, 0, "mono noise " + std::to_string(N));
  }
}

TEST(RandomFilterTest, DitherDiffusesTheErrorForward) {
  TBitmap Src, Actual, Expected;
  RandomImage(Src, 47);
  Grayscale24(Src, WholeBitmapRect);
  for (const TRect& Rect : TestRects()) {
    SCOPED_TRACE(::testing::PrintToString(Rect));
    Actual.Assign(Src);
    DitherFloydSteinberg24(Actual, Rect);
    Expected.Assign(Src);
    TRect R = Rect;
    if (ClipToBitmap(R, Src))
      for (int Y = R.Top; Y < R.Bottom - 1; ++Y)
        for (int X = R.Left + 1; X < R.Right - 1; ++X) {
          const int V = PixelAt(Expected, X, Y).Blue, O = V >= 128 ? 255 : 0, E = V - O;
          SetPixel(Expected, X, Y, Grey(O));
          const int Spread[4][3] = {{1, 0, 7}, {-1, 1, 3}, {0, 1, 5}, {1, 1, 1}};
          for (const auto& S : Spread)
            SetPixel(Expected, X + S[0], Y + S[1], Grey(PixelAt(Expected, X + S[0], Y + S[1]).Blue + E * S[2] / 16));
        }
    ASSERT_IMAGES_MATCH(Actual, Expected);
  }
  Actual.Assign(Src);
  DitherFloydSteinberg24(Actual, Rect(10, 10, 12, 12));
  EXPECT_IMAGES_MATCH(Actual, Src, 0, "2 x 2");
}

// ---- High pass and emboss ---------------------------------------------------------------

TEST(ReliefFilterTest, HighPassMixesTheNegatedBlurAtHalf) {
  TBitmap Src, Actual, Blurred, Expected;
  RandomImage(Src, 48);
  for (const TRect& R : TestRects())
    for (const int Radius : {0, 2, 6}) {
      SCOPED_TRACE("radius " + std::to_string(Radius) + " rect " + ::testing::PrintToString(R));
      Actual.Assign(Src);
      HighPass24(Actual, Radius, R);
      Blurred.Assign(Src);
      GaussianBlur(Blurred, Radius, 1.0, R);
      ReferenceOver(Src, Expected, R, [&](TRGB& P, int X, int Y, const TRect&) {
        const TRGB B = PixelAt(Blurred, X, Y);
        for (int C = 0; C < 3; ++C) {
          const int V = Channel(P, C), N = 255 - Channel(B, C);
          SetChannel(P, C, V + (N - V) * 50 / 100);
        }
      });
      ASSERT_IMAGES_MATCH(Actual, Expected);
    }
}

TEST(ReliefFilterTest, EmbossSubtractsTheOffsetNeighbour) {
  TBitmap Src, Actual, Expected;
  RandomImage(Src, 49);
  const int Offsets[8][2] = {{1, 0}, {1, -1}, {0, -1}, {-1, 1}, {-1, 0}, {1, 1}, {0, 1}, {-1, -1}};
  const TColor Color = RGB(128, 100, 160);
  for (const TRect& R : TestRects())
    for (int Direction = -1; Direction <= 8; ++Direction)
      for (const int D : {0, 1, 3}) {
        SCOPED_TRACE("direction " + std::to_string(Direction) + " distance " + std::to_string(D));
        Actual.Assign(Src);
        Emboss24(Actual, Direction, D, Color, R);
        const auto& O = Offsets[Direction >= 0 && Direction < 7 ? Direction : 7];
        ReferenceOver(Src, Expected, R, [&](TRGB& P, int X, int Y, const TRect& C) {
          const TRGB N = PtInRect(C, {X + O[0] * D, Y + O[1] * D}) ? PixelAt(Src, X + O[0] * D, Y + O[1] * D) : P;
          P = {Clip255(P.Blue + 160 - N.Blue), Clip255(P.Green + 100 - N.Green), Clip255(P.Red + 128 - N.Red)};
        });
        ASSERT_IMAGES_MATCH(Actual, Expected);
      }
}

// ---- Statistics -----------------------------------------------------------------------------

TEST(StatisticsTest, ExtremesMeansAndZones) {
  TBitmap Src;
  RandomImage(Src, 50);
  for (const TRect& Rect : TestRects()) {
    SCOPED_TRACE(::testing::PrintToString(Rect));
    TRect R = Rect;
    const bool Empty = !ClipToBitmap(R, Src);
    int Min[3] = {255, 255, 255}, Max[3] = {0, 0, 0}, LMin = 255, LMax = 0, Zones[3] = {0, 0, 0};
    int64_t Sum[3] = {0, 0, 0}, Count[3] = {0, 0, 0};
    if (!Empty)
      for (int Y = R.Top; Y < R.Bottom; ++Y)
        for (int X = R.Left; X < R.Right; ++X) {
          const TRGB P = PixelAt(Src, X, Y);
          for (int C = 0; C < 3; ++C) {
            Min[C] = std::min(Min[C], Channel(P, C));
            Max[C] = std::max(Max[C], Channel(P, C));
            if (Channel(P, C) >= 30 && Channel(P, C) <= 90) Sum[C] += Channel(P, C), Count[C]++;
          }
          LMin = std::min(LMin, Lum(P));
          LMax = std::max(LMax, Lum(P));
          Zones[Lum(P) < 80 ? 0 : (Lum(P) <= 170 ? 1 : 2)]++;
        }
    uint8_t MinR, MaxR, MinG, MaxG, MinB, MaxB;
    ChannelMinMax24(Src, Rect, MinR, MaxR, MinG, MaxG, MinB, MaxB);
    EXPECT_EQ(MinB, Min[0]);
    EXPECT_EQ(MaxB, Max[0]);
    EXPECT_EQ(MinG, Min[1]);
    EXPECT_EQ(MaxG, Max[1]);
    EXPECT_EQ(MinR, Min[2]);
    EXPECT_EQ(MaxR, Max[2]);
    uint8_t L1, L2;
    LuminanceMinMax24(Src, Rect, L1, L2);
    EXPECT_EQ(L1, LMin);
    EXPECT_EQ(L2, LMax);
    uint8_t Means[3] = {7, 7, 7};
    ChannelMeansInRange24(Src, Rect, 30, 90, Means[2], Means[1], Means[0]);
    for (int C = 0; C < 3; ++C) EXPECT_EQ(Means[C], Count[C] ? Sum[C] / Count[C] : 7);
    int Dark = -1, Mid = -1, Light = -1;
    CountToneZones24(Src, Rect, 80, 170, Dark, Mid, Light);
    EXPECT_EQ(Dark, Empty ? -1 : Zones[0]);
    EXPECT_EQ(Mid, Empty ? -1 : Zones[1]);
    EXPECT_EQ(Light, Empty ? -1 : Zones[2]);
  }

  // The first pixel the brightest; one pixel gives its value twice.
  TBitmap Image(3, 1, pf24bit);
  SetPixel(Image, 0, 0, Grey(200));
  SetPixel(Image, 1, 0, Grey(10));
  SetPixel(Image, 2, 0, Grey(100));
  uint8_t Lo, Hi;
  LuminanceMinMax24(Image, WholeBitmapRect, Lo, Hi);
  EXPECT_EQ(Hi, 200);
  EXPECT_EQ(Lo, 10);
  LuminanceMinMax24(Image, Rect(2, 0, 3, 1), Lo, Hi);
  EXPECT_EQ(Lo, 100);
  EXPECT_EQ(Hi, 100);
  int Dark, Mid, Light;
  TBitmap Grey128(1, 1, pf24bit);
  SetPixel(Grey128, 0, 0, GreyOfLuminance(128));
  CountToneZones24(Grey128, WholeBitmapRect, 128, 128, Dark, Mid, Light);
  EXPECT_EQ(Mid, 1);
  EXPECT_EQ(Dark + Light, 0);
}

TEST(StatisticsTest, EmbossAtDistanceZeroPaintsTheColour) {
  TBitmap Src, Dst(64, 48, pf24bit);
  RandomImage(Src, 51);
  EmbossFromSource24(Src, Dst, 2, 0, RGB(1, 2, 3), WholeBitmapRect);
  for (int Y = 0; Y < 48; ++Y)
    for (int X = 0; X < 64; ++X) ASSERT_EQ(PixelAt(Dst, X, Y), (TRGB{3, 2, 1}));
}
