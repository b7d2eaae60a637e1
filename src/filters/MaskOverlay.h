// The mask overlay: a grey picture, the mask, fitted to the work rectangle
// of a layer (stretched or tiled, then optionally blurred, reduced to two
// tones or inverted) decides where an effect falls: fully where the fitted
// mask is black, not at all where it is white. The effects paint a colour,
// turn to grey, blur, paint a pattern or make the layer transparent. The
// mask dialog (dialogs/ui/LQ) edits the settings and previews; tests call
// these routines directly. Depends on the raster core and the filters' blur,
// grey, negative, threshold and levels.
#pragma once

#include "platform/Bitmap.h"
#include "platform/Colors.h"
#include "platform/Types.h"

#include <cstdint>

// The effects, in the order of the dialog's list.
enum TMaskEffect : uint8_t { meColor, meGrey, meBlur, mePattern, meTransparent };

struct TMaskOverlaySettings {
  TMaskEffect Mode = meColor;
  // 10..100: the strength of the effect.
  int Opacity = 100;
  // The colour of meColor.
  TColor Color = clWhite;
  // The fitted mask blurred (radius 3), reduced to black and white.
  bool Blur = false;
  bool TwoTone = false;
  // Tiled from the work rectangle's top-left corner, else stretched.
  bool Tile = false;
};

// What an application changes and reads: the current layer's bitmap and its
// transparency mask (empty when it has none), the layer's pixels from before
// the command, and the image's background (whose transparent colour marks
// transparency when the current layer has no mask).
struct TMaskOverlayTarget {
  TBitmap& Layer;
  TBitmap& LayerMask;
  const TBitmap& Before;
  TBitmap& Background;
};

// Automatic levels of the mask: when every channel spans more than 110
// levels (maximum - minimum > 110), each is stretched so that its minimum
// becomes 0 and its maximum 255; otherwise the mask is left as it is.
void AutoLevelMask(TBitmap& Mask);

// B := Mask fitted to W x H (stretched bilinearly or tiled from its top-left
// corner), blurred by 3 with Blur, two-tone (luminance above 128 white, the
// rest black) with TwoTone, inverted with Invert. Mask must not be empty.
void FitMask(const TBitmap& Mask, int W, int H, bool Tile, bool Blur, bool TwoTone, bool Invert, TBitmap& B);

// The whole application on R (the work rectangle in layer coordinates,
// clipped to the layer): Mask gets its automatic levels (it is changed), is
// fitted to R, and the effect of S is applied through it. PatternBmp and
// PatternMask are the pattern of mePattern (an empty PatternBmp: nothing);
// PatternMask is empty for an opaque pattern. The background's transparent
// flag is set exactly when the effect is meTransparent on a layer without
// mask (it marks $DCEDCE); any other application clears it.
void ApplyMaskOverlay(TBitmap& Mask, const TMaskOverlaySettings& S, TMaskOverlayTarget& T, TRect R,
                      const TBitmap& PatternBmp, const TBitmap& PatternMask);
