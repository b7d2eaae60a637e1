// The sizes of the image dialogs (new image, image size, canvas size): a
// side typed in pixels, percent of the present side, centimetres or inches,
// the resolution in pixels per inch or per centimetre, the memory a size
// takes, and what a size must satisfy before Ok. Pure rules, no widgets.
// Depends on the raster core's byte-size text, the shared read limits of
// platform, i18n; used by the dialogs of dialogs/ui.
#pragma once

#include <QString>

#include <cstdint>

enum class TSizeUnit : uint8_t { Pixels, Percent, Centimetres, Inches };

// The largest side a dialog makes; larger values are lowered to it.
inline constexpr int MaxImageSide = 60000;

// A field value in Unit to pixels, ties to even: Percent of Current (the
// side's present size in pixels), centimetres and inches at Resolution
// pixels per inch. Saturates at the int range.
int UnitToPixels(double Value, TSizeUnit Unit, int Current, double Resolution);
// A pixel count in Unit (0 for a percent of an empty side or a resolution
// of 0).
double PixelsToUnit(int Pixels, TSizeUnit Unit, int Current, double Resolution);
// The picture a size field shows its value with: whole pixels, else two
// decimals.
QString UnitFormat(TSizeUnit Unit);

// Resolution lists: index 0 "pixels/pouces", 1 "pixels/cm".
double ResolutionToPpi(double Shown, int ResUnit);
double ResolutionFromPpi(double Ppi, int ResUnit);

// The memory of a 24-bit image of W x H: W x H x 3 bytes as text, two
// decimals in Ko, Mo or Go.
QString ImageMemSizeText(int W, int H);

// A side lowered to MaxImageSide (nothing else changes).
int LimitSide(int Side);

// What Ok finds about a new size in pixels.
enum class TSizeCheck : uint8_t {
  Ok,
  // A side of 0 or less: typed as 0, or too small a value in its unit.
  TooSmall,
  // More pixels than the image readers accept: it could be saved but never
  // opened again.
  TooLarge,
};
TSizeCheck CheckImageSize(int64_t W, int64_t H);
// The warning a refused size shows; empty for Ok.
QString SizeCheckMessage(TSizeCheck Check, int64_t W, int64_t H);
