// The choices the geometry dialogs make from their fields: the resampling
// kernel of the image size dialog, the size the fit dialog gives, the
// predefined sizes of the new-image dialog. Pure rules, no widgets.
// Depends on the raster core.
#pragma once

#include <cstdint>

// The kernel codes of ScaleBitmapAndMask: 0 nearest, 1 triangle, 2 Hermite,
// 3 Bell, 4 B-spline, 5 Lanczos3, 6 Mitchell.
// Index of the filter list ("<Automatique>", "Au plus proche", "Bilinéaire",
// "Hermite", "Bell", "B-Spline", "Lanczos", "Mitchell") to its code; the
// automatic entry takes Lanczos3 unless a side grows more than twice
// (B-spline). L x H the present size, NewL x NewH the new one.
uint8_t ResampleFilterCode(int Index, int L, int H, int NewL, int NewH);

// The size the fit dialog makes of L x H for the limits MaxW x MaxH: with
// Distort the limits themselves, else the size scaled to touch them keeping
// its proportions (small images grow), never a side below 1.
void FitImageSize(int L, int H, int MaxW, int MaxH, bool Distort, int& NewL, int& NewH);

// One predefined size of the new-image dialog.
struct TNewImagePreset {
  double Width, Height;
  // The values are centimetres (else pixels at the screen's resolution).
  bool Centimetres;
  // Pixels per inch of a centimetre size.
  int Resolution;
};
// Entries 1..17 of the list (0, "<Personnalisé>", has none).
inline constexpr int NewImagePresetCount = 18;
const TNewImagePreset& NewImagePreset(int Index);
