// THdrImage: an image of four single-precision channels per pixel, holding
// pictures of more than 8 bits per channel while they are loaded and tone
// mapped, with range queries, clamping, offsetting and range stretching over a
// clip rectangle. Depends on platform and raster (TRect, WholeBitmapRect).
//
// Colour channels are linear, 0..1 being the displayable range; alpha 1 is
// opaque. Sizes are 32-bit (no limit at 65535). Clip rectangles are pixel
// rectangles (Right and Bottom exclusive) intersected with the image first;
// an empty intersection means nothing to do. Values that are not finite take
// no part in the range queries, so one stray NaN or infinity cannot wreck a
// range stretch; FloatToByte maps them to 0 (NaN, -inf) or 255 (+inf).
#pragma once

#include "raster/Pixels.h" // WholeBitmapRect selects the whole image

#include <cstdint>
#include <functional>
#include <vector>

struct TPixelHdr {
  float Blue = 0;
  float Green = 0;
  float Red = 0;
  float Alpha = 0;
  friend bool operator==(const TPixelHdr&, const TPixelHdr&) = default;
};
static_assert(sizeof(TPixelHdr) == 16);

// The colour SetSize takes to mean "no fill": -1 in all four channels.
inline constexpr TPixelHdr HdrNoColor{-1, -1, -1, -1};

class THdrImage {
public:
  THdrImage() = default;
  // W x H zero pixels when both are above 0; no event.
  THdrImage(int W, int H);

  uint8_t Version() const { return FVersion; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // When the value changes: store it and, with the other size above 0,
  // reallocate zero pixels; 0 clears the image. Then OnResized.
  void SetWidth(int Value);
  void SetHeight(int Value);

  // Row Y (0 at the top) of Width pixels; valid until the size changes.
  TPixelHdr* Pixels(int Y) { return FPixels.data() + size_t(Y) * size_t(FWidth); }
  const TPixelHdr* Pixels(int Y) const { return FPixels.data() + size_t(Y) * size_t(FWidth); }

  // Called after every size change made through the setters, SetSize or
  // SwapWith; never by Clear.
  std::function<void(THdrImage& Sender)> OnResized;

  // Frees the pixels, Width and Height 0 (no event); nothing when empty.
  void Clear();
  bool Empty() const { return FPixels.empty(); }
  // A new size (another than the current one) starts with zero pixels and
  // fires OnResized; then every pixel := Color unless it is HdrNoColor.
  void SetSize(int W, int H, const TPixelHdr& Color = HdrNoColor);
  void FillWith(const TPixelHdr& Color, TRect RClip);
  // A copy of Src's size and pixels (Version is not copied); Src null or
  // empty clears this image.
  void Assign(const THdrImage* Src);
  // Exchanges version, size and pixels; this image's OnResized fires when the
  // sizes differ.
  void SwapWith(THdrImage* Src);
  TRect Bounds() const;
  int64_t MemSize() const;

  void ResetAlpha();
  bool AlphaUsed() const;  // some alpha below 1
  bool OutOfRange() const; // some colour channel below 0 or above 1
  // Colour channels of the clip into 0..1 (NaN becomes 0); alpha untouched.
  void AutoClamp(TRect RClip);
  // Smallest and largest finite colour channel of the clip; false (outputs
  // untouched) when the clip is empty or holds no finite value.
  bool GetRange(float& Min, float& Max, TRect RClip) const;
  bool GetRangeRgb(float& MinB, float& MaxB, float& MinG, float& MaxG, float& MinR, float& MaxR, TRect RClip) const;
  void Offset(float Delta, TRect RClip);
  // Offset(-Min) when the darkest channel is below 0.
  void AutoOffset(TRect RClip);
  // Stretches the colour channels to 0..1; nothing when they already span
  // exactly 0..1 or all hold one value.
  void AutoRange(TRect RClip);

private:
  void Reallocate();
  template <class F> void ForEachPixel(const TRect& RClip, F&& Apply);
  template <class F> void ForEachPixel(const TRect& RClip, F&& Apply) const;

  uint8_t FVersion = 1;
  int FWidth = 0;
  int FHeight = 0;
  std::vector<TPixelHdr> FPixels;
};

// Rect := Rect intersected with the image's bounds; false when the image is
// null or empty or nothing is left.
bool ClipToHdr(TRect& Rect, const THdrImage* Image);
// 0 at or below 0 (and NaN), 255 at or above 1, else Value x 255 rounded to
// the nearest integer, ties to even.
uint8_t FloatToByte(float Value);
// Value into 0..1; NaN gives 0.
float Clamp01(float Value);
