// The 26 layer blend modes, the per-pixel operations that weigh a blend result
// by an opacity, a mask byte or an alpha, and the merges of one 24-bit bitmap
// (or a flat colour) into another: at an offset, stretched, and through a
// TTransformation. Depends on raster/Bitmap24 (the mixes), ColorUtils (HSV),
// RandomGen (Diffusion) and TransformData; used by layer compositing, painting
// on layers, the clipboard and the retouch tools.
//
// Operands: a is the background (destination) pixel, b the layer or paint
// pixel; every formula works on each channel unless it says otherwise, with
// 32-bit integer arithmetic and divisions truncating toward zero.
//
// The mode codes are stored in layered files and menus: never renumber them.
//
// A process-wide "current blend function" is chosen by SelectBlendMode and
// used by the per-pixel operations (BlendPixel...) until the next selection.
// Every merge selects its mode first and leaves it selected. The merges
// themselves pick a template instantiation once per call (WithBlendMode), so
// their pixel loops make no indirect call per pixel.
//
// How to add a mode: give it the next code, write its formula in TChannelFn
// (one formula per channel) or BlendOf (the others, then listed in
// ChannelMode and IsChannelMode as such) and raise BlendModeCount; the
// dispatch and every merge pick it up.
#pragma once

#include "raster/Bitmap24.h"
#include "raster/ColorUtils.h"
#include "raster/RandomGen.h"
#include "raster/TransformData.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <type_traits>
#include <utility>

constexpr int BlendModeCount = 26;

// The code a mode value stands for: its low byte, where 26..255 mean Normal.
constexpr int NormalBlendMode(int Mode) {
  const int Code = Mode & 0xFF;
  return Code < BlendModeCount ? Code : 0;
}

namespace BlendDetail {
inline uint8_t Clamp255(int V) { return static_cast<uint8_t>(V < 0 ? 0 : V > 255 ? 255 : V); }

// Modes 23 to 25 need one power per channel; their 256 x 256 results are
// computed once per process with the same double-precision formula and read
// here as [a * 256 + b].
const std::array<uint8_t, 65536>& GammaTable(int Mode);

template <class ChannelFn> inline TRGB PerChannel(TRGB A, TRGB B, ChannelFn F) {
  return {static_cast<uint8_t>(F(A.Blue, B.Blue)), static_cast<uint8_t>(F(A.Green, B.Green)),
          static_cast<uint8_t>(F(A.Red, B.Red))};
}

inline TRGB FromHSV(int H, int S, int V) {
  int R, G, B;
  HSVToRGB(H, S, V, R, G, B);
  return {static_cast<uint8_t>(B), static_cast<uint8_t>(G), static_cast<uint8_t>(R)};
}

// 255 - (255 - a) * (255 - b) div 255
inline int Screen(int A, int B) { return 255 - (255 - A) * (255 - B) / 255; }
// mode 16 with (a, b), mode 17 with (b, a) as the switching operand
inline int OverlayOf(int Switch, int A, int B) {
  return Clamp255(Switch <= 128 ? A * B / 128 : 255 - (255 - A) * (255 - B) / 127);
}
} // namespace BlendDetail

// Modes whose result is one formula applied to each channel on its own
// (every mode but Diffusion and the four HSV modes).
template <int Mode> constexpr bool ChannelMode = Mode != 1 && (Mode<8 || Mode> 11);

// The channel formula of such a mode: result of background channel A and
// layer channel B, both 0..255.
template <int Mode> struct TChannelFn {
  static_assert(Mode >= 0 && Mode < BlendModeCount && ChannelMode<Mode>);
  static constexpr bool Gamma = Mode >= 23;
  // 23 Gamma +, 24 Gamma -, 25 Gamma light: see GammaTable.
  const uint8_t* T = Gamma ? BlendDetail::GammaTable(Mode).data() : nullptr;

  int operator()(int A, int B) const {
    using namespace BlendDetail;
    if constexpr (Mode == 0) { // Normal: b
      return B;
    } else if constexpr (Mode == 2) { // Minimum
      return std::min(A, B);
    } else if constexpr (Mode == 3) { // Maximum
      return std::max(A, B);
    } else if constexpr (Mode == 4) { // Superposition: 255 - (255 - a)(255 - b) div 255
      return Screen(A, B);
    } else if constexpr (Mode == 5) { // Difference: |b - a|
      return std::abs(B - A);
    } else if constexpr (Mode == 6) { // Product: a * b div 255
      return A * B / 255;
    } else if constexpr (Mode == 7) { // min(255, a * (a + b) div 255)
      return std::min(255, A * (A + B) / 255);
    } else if constexpr (Mode == 12) { // Divide: min(255, a * 256 div (b + 1))
      return std::min(255, A * 256 / (B + 1));
    } else if constexpr (Mode == 13) { // Lighten (dodge): min(255, a * 256 div (256 - b))
      return std::min(255, A * 256 / (256 - B));
    } else if constexpr (Mode == 14) { // Darken (burn): max(0, 255 - (255 - a) * 256 div (b + 1))
      return std::max(0, 255 - (255 - A) * 256 / (B + 1));
    } else if constexpr (Mode == 15) { // Soft light: min(255, a * (a + (255 - a) * b div 128) div 255)
      return std::min(255, A * (A + (255 - A) * B / 128) / 255);
    } else if constexpr (Mode == 16) { // Overlay, switched on a
      return OverlayOf(A, A, B);
    } else if constexpr (Mode == 17) { // Hard light, switched on b
      return OverlayOf(B, A, B);
    } else if constexpr (Mode == 18) { // S := screen(a, b); min(255, a * (b * (255 - a) div 255 + S) div 255)
      return std::min(255, A * (B * (255 - A) / 255 + Screen(A, B)) / 255);
    } else if constexpr (Mode == 19) { // Grain extract: clamp(a - b + 128)
      return Clamp255(A - B + 128);
    } else if constexpr (Mode == 20) { // Grain merge: clamp(a + b - 128)
      return Clamp255(A + B - 128);
    } else if constexpr (Mode == 21) { // Addition: min(255, a + b)
      return std::min(255, A + B);
    } else if constexpr (Mode == 22) { // Subtraction: max(0, a - b)
      return std::max(0, A - B);
    } else {
      return T[A * 256 + B];
    }
  }
};

// The blend result R of background a and layer b in mode Mode (0..25).
template <int Mode> inline TRGB BlendOf(TRGB a, TRGB b) {
  using namespace BlendDetail;
  static_assert(Mode >= 0 && Mode < BlendModeCount);
  if constexpr (Mode == 0) { // Normal: b
    return b;
  } else if constexpr (ChannelMode<Mode>) {
    return PerChannel(a, b, TChannelFn<Mode>{});
  } else if constexpr (Mode == 1) { // Diffusion: one draw per pixel, 0 takes b, 1 keeps a
    return Random(2) == 0 ? b : a;
  } else { // hue, saturation, luminosity, colour in HSV
    int Hb, Sb, Vb, Ha, Sa, Va;
    RGBToHSV(b.Red, b.Green, b.Blue, Hb, Sb, Vb);
    if constexpr (Mode == 8) {
      if (Hb == 0) return a; // grey layer pixels (and pure reds) leave the background
    }
    RGBToHSV(a.Red, a.Green, a.Blue, Ha, Sa, Va);
    if constexpr (Mode == 8) return FromHSV(Hb, Sa, Va);
    if constexpr (Mode == 9) return FromHSV(Ha, Sb, Va);
    if constexpr (Mode == 10) return FromHSV(Ha, Sa, Vb);
    if constexpr (Mode == 11) return FromHSV(Hb, Sb, Va);
  }
}

// A blend function as a value, so that loops take it as a template argument.
template <int Mode> struct TBlendFn {
  static constexpr int Code = Mode;
  TRGB operator()(TRGB a, TRGB b) const { return BlendOf<Mode>(a, b); }
};

// Calls F(TBlendFn<code>{}) once with the instantiation of the given mode
// (normalised as SelectBlendMode does).
template <class Fn> inline void WithBlendMode(int Mode, Fn&& F) {
  const int Code = NormalBlendMode(Mode);
  [&]<int... I>(std::integer_sequence<int, I...>) { ((Code == I ? (F(TBlendFn<I>{}), true) : false) || ...); }
  (std::make_integer_sequence<int, BlendModeCount>{});
}

// ---- Row kernels ----------------------------------------------------------------
// Byte-wise loops over N bytes of 24-bit rows, vectorised, for code that
// weighs blend results its own way (painting on layers).

// Whether the mode (as NormalBlendMode gives it) has one formula per channel.
constexpr bool IsChannelMode(int Mode) {
  const int Code = NormalBlendMode(Mode);
  return Code != 1 && (Code < 8 || Code > 11);
}
// R[i] := the channel formula of Mode on (D[i], S[i]). Mode must satisfy
// IsChannelMode; R may not overlap D or S.
void BlendChannelBytes(int Mode, uint8_t* R, const uint8_t* D, const uint8_t* S, int N);
// D[i] := D[i] + (T[i] - D[i]) * W[i] div 255, truncating toward zero, W[i]
// in 0..255: MixAlpha byte by byte. T and W may not overlap D.
void WeighBytes255(uint8_t* D, const uint8_t* T, const uint8_t* W, int N);

// ---- Current blend function ---------------------------------------------------

using TBlendFunction = TRGB (*)(TRGB a, TRGB b);

// Selects the low byte of Mode: 1..25 their function, anything else Normal.
void SelectBlendMode(int Mode);
// The selected function (Normal before the first selection).
TBlendFunction CurrentBlendFunction();
int CurrentBlendMode();

// The current blend function as a value, for code written once over both.
struct TCurrentBlendFn {
  TRGB operator()(TRGB a, TRGB b) const { return CurrentBlendFunction()(a, b); }
};

// ---- Per-pixel operations -----------------------------------------------------
// Each first computes R from (d, s) with the current blend function, then
// weighs it into d. Mask pixels are grey: their first byte counts, 0 opaque.

// d := R
void BlendPixel(TRGB& d, TRGB s);
// Opacity >= 100: d := R; otherwise d := d + Opacity * (R - d) div 100.
void BlendPixelOpacity(TRGB& d, TRGB s, int Opacity);
// m = 0: d := R; otherwise d := d + (R - d) * (255 - m) div 255.
void BlendPixelMask(TRGB& d, TRGB s, TRGB M);
// m = 0 and Opacity >= 100: d := R; otherwise with W := Opacity * (255 - m)
// div 100, d := d + (R - d) * W div 255.
void BlendPixelMaskOpacity(TRGB& d, TRGB s, TRGB M, int Opacity);
// Alpha >= 255: d := R; otherwise d := d + Alpha * (R - d) div 255.
void BlendPixelAlpha(TRGB& d, TRGB s, int Alpha);
// d := clamp(d + Percent * (R - d) div 100): a negative Percent moves d away
// from R. No shortcut; every channel clamped on its own.
void BlendPixelPercentSigned(TRGB& d, TRGB s, int Percent);
// d := clamp(d + Alpha * (R - d) div 255), Alpha of any sign.
void BlendPixelAlphaSigned(TRGB& d, TRGB s, int Alpha);

// The weighings of the signed operations, on a result R already computed.
inline void WeighSigned100(TRGB& d, TRGB R, int Percent) {
  using BlendDetail::Clamp255;
  d = {Clamp255(d.Blue + Percent * (R.Blue - d.Blue) / 100), Clamp255(d.Green + Percent * (R.Green - d.Green) / 100),
       Clamp255(d.Red + Percent * (R.Red - d.Red) / 100)};
}
inline void WeighSigned255(TRGB& d, TRGB R, int Alpha) {
  using BlendDetail::Clamp255;
  d = {Clamp255(d.Blue + Alpha * (R.Blue - d.Blue) / 255), Clamp255(d.Green + Alpha * (R.Green - d.Green) / 255),
       Clamp255(d.Red + Alpha * (R.Red - d.Red) / 255)};
}

// ---- Reading grey masks -------------------------------------------------------

// A mask counts when it is given and not empty.
inline bool MaskPresent(const TBitmap* Mask) { return Mask && !Mask->Empty(); }

// One row of a 24-bit grey mask, fetched once per row. Positions outside the
// mask read as 255 (transparent), so a mask smaller than the area it governs
// is never read past its end.
class TMaskRow {
public:
  TMaskRow(const TBitmap& Mask, int Y)
      : FRow(static_cast<unsigned>(Y) < static_cast<unsigned>(Mask.Height()) ? RowOf(Mask, Y) : nullptr),
        FWidth(Mask.Width()) {}
  // The whole row is outside the mask.
  bool Outside() const { return FRow == nullptr; }
  uint8_t At(int X) const {
    return FRow && static_cast<unsigned>(X) < static_cast<unsigned>(FWidth) ? FRow[X].Blue : uint8_t{255};
  }

private:
  const TRGB* FRow;
  int FWidth;
};

// ---- Merges -------------------------------------------------------------------
// Src, Dst and masks are 24-bit bitmaps (others make the merge do nothing).
// Rectangles may be reversed, partly outside or WholeBitmapRect. Mask is an
// optional grey mask with the geometry of Src, read at the source position
// (255 transparent; positions outside it count as transparent); nullptr or an
// empty bitmap means none. Opacity is a percent: 0 or less does nothing, above
// 100 counts as 100. A Src that is Dst itself is read as it was before the
// merge.

// SrcRect of Src placed at (X, Y) of Dst, inside DstClip.
void BlendRect24(const TBitmap& Src, TRect SrcRect, TBitmap& Dst, int X, int Y, TRect DstClip, int Opacity,
                 const TBitmap* Mask, int BlendMode);
// SrcRect of Src stretched (nearest neighbour) onto DstRect of Dst, inside
// DstClip. A DstRect that is empty as given (reversed included) does nothing.
void BlendStretchRect24(const TBitmap& Src, TRect SrcRect, TBitmap& Dst, const TRect& DstRect, TRect DstClip,
                        int Opacity, const TBitmap* Mask, int BlendMode);
// Src seen through Transformation (prepared here), its bounds drawn onto
// DstRect of Dst, inside DstClip, by reverse mapping to the nearest source
// pixel. Only source pixels inside both the transformation's SrcRect and Src
// are read. An upright pure translation or scaling is drawn as the stretch
// of SrcRect onto DstRect, where SrcRect's pixels exist: a SrcRect reaching
// past Src leaves the destination of its missing part alone, as the general
// mapping does.
void BlendTransformRect24(const TBitmap& Src, TBitmap& Dst, const TRect& DstRect, TRect DstClip,
                          TTransformation& Transformation, int Opacity, const TBitmap* Mask, int BlendMode);
// A flat colour over Rect. Opacity is limited to -100..100: 100 blends, 1..99
// weighs, a negative one pushes the pixels away from the blend result.
void BlendColorRect24(TColor Color, int Opacity, TBitmap& Dst, TRect Rect, int BlendMode);
