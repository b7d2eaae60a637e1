// The animated GIF built from the layers of a layered image: every layer
// above the background whose display time is above 0 becomes one frame,
// over the background (the default), over the background alone ("restore
// background") or keeping the layer's own transparency; frames may be
// cropped to the layers' content. All frames share one colour map, the web
// palette or an optimised one, whose last entry is the transparency key
// TransparentKeyColor. Depends on the layered image (document), the GIF
// image and colour reduction (files); used by the animated GIF dialog.
//
// The source image is never changed: the work happens on a copy.
#pragma once

#include "files/GifImage.h"

#include <QString>

#include <vector>

class TMyImageLayered;

struct TGifAnimOptions {
  // Display time of layer i in hundredths of a second at index i (index 0,
  // the background, is not read); 0, or no entry, leaves the layer out.
  std::vector<int> Delays;
  bool Loop = true;              // the Netscape extension, repeat forever
  bool OptimizedPalette = false; // else the 216-colour web palette
  bool Diffuse = true;           // dithering
  bool Transparent = false;      // frames keep the layers' transparency
  bool RestoreBkg = false;       // each frame shows the background with one layer
  bool Crop = false;             // frames cropped to the layers' content
};

inline constexpr const char* GifAnimComment = "Animation Lumaretique Studio";

class TGifAnimBuilder {
public:
  explicit TGifAnimBuilder(const TGifAnimOptions& Options) : FOptions(Options) {}

  // Builds the animation of Image into Gif (replacing what it held).
  void Build(const TMyImageLayered& Image, TGIFImage& Gif);
  // Builds and saves it through a safe file; throws EInvalidGraphic or
  // ESafeFileError (an image without any frame is an error too).
  void BuildAnimatedGif(const TMyImageLayered& Image, const QString& FileName);

  // The first frame is transparent (then every frame restores the
  // background when its time is over).
  bool IsFullTransparent() const { return FIsFullTransparent; }
  // The shared colour map of the last build; its last entry is the key.
  const TPalette& GifPalette() const { return FGifPalette; }

  // One frame of Bmp (with its grey Mask, or none) placed at (X, Y) over
  // Bkg (the merged image, or none), with the time of layer Index.
  void AddGifFrame(const TBitmap& Bmp, const TBitmap* Mask, const TBitmap* Bkg, TGIFImage& Gif, int X, int Y,
                   int Index);

private:
  int Delay(int Index) const;
  void MakePalette(const TMyImageLayered& Image);
  void ToGifPalette(TBitmap& F) const;

  TGifAnimOptions FOptions;
  bool FIsFullTransparent = false;
  bool FAdjustToBkgSize = true;
  TPalette FGifPalette;
};

// F placed at (X, Y) made the size of Bkg: the rest in the key colour, which
// becomes F's transparent colour; X, Y := 0. Nothing when it already covers
// Bkg exactly.
void ExpandToBackground(TBitmap& F, const TBitmap& Bkg, int& X, int& Y);
// F placed at (X, Y) cut to Bkg's rectangle, X and Y brought to 0 or more;
// nothing when it lies inside. A bitmap lying wholly outside becomes one
// transparent key pixel at the nearest corner, so that its frame keeps its
// time without showing anything.
void ClipToBackground(TBitmap& F, const TBitmap& Bkg, int& X, int& Y);
// The Netscape application extension with loop count 0 (forever), put first
// among the first frame's extensions.
void AddLoopExtension(TGIFImage& Gif);
// The first frame's colour map becomes the global one; every frame's own is
// cleared.
void ShareGlobalPalette(TGIFImage& Gif);
