// The layer commands that need the windows' libraries: the clipboard pasted
// as a new layer or as the current layer's mask, and an animated GIF read as
// layers. The other layer commands are in document/Calque.h. Depends on the
// clipboard (Past.h), the GIF reader and the layer commands; used by the
// main window.
//
// Each answers false, changing nothing and leaving the caller free to drop
// its undo record, when the clipboard holds no usable image or there is no
// current layer.
#pragma once

#include "document/Calque.h"
#include "document/ui/ImgForm.h"
#include "document/ui/Past.h"

// The clipboard image (with its mask) as a new layer above the current one:
// at the copy's position when it came from this image unchanged in size and
// that place is in view, else in the view's centre; it takes the copied
// opacity and blend mode. Undo kind: layer creation.
bool PasteAsLayer(TLayerCommandHost& Host, TClipboardData& Clip, const QString& Caption);
// An image and its mask side by side, as a new layer in the view's centre.
bool PasteAsLayerWithMask(TLayerCommandHost& Host, TClipboardData& Clip, const QString& Caption);
// A layer of Color with the clipboard image as its mask, in the view's
// centre.
bool PasteMaskAsLayer(TLayerCommandHost& Host, TClipboardData& Clip, const QString& Caption, TColor Color);
// The clipboard image, in grey and inverted (white opaque), with its own
// transparency kept, stretched to the current layer and made its mask.
// Undo kind: the whole layer.
bool PasteAsLayerMask(TLayerCommandHost& Host, TClipboardData& Clip);

// ---- Animated GIF frames as layers (no undo record) ---------------------------------
// The image is replaced by the GIF's frames: a background "#0" of the GIF's
// size in its background colour (white when the index lies outside the
// global map), then each frame holding an image as layer "#k" at its place,
// with a mask transparent where the frame is; only the first is visible.
// Throws EInvalidGraphic naming the file when it cannot be read; the image
// is then unchanged.
void LoadGifAsLayers(TMyImageLayered& Image, const QString& FileName);

// ---- New images ------------------------------------------------------------------------
// What the new-image commands need of the main window.
class TNewImageHost {
public:
  virtual ~TNewImageHost() = default;
  // Opens a new image window on Bitmap (its pixels may be taken), titled
  // Title (a generated title when empty); the new window's image, or nullptr
  // when none could be opened.
  virtual TMyImageLayered* NouvelleImage(TBitmap& Bitmap, const QString& Title, TImageSourceType SourceType,
                                         int NbCol) = 0;
  // The main window's information and menus refreshed.
  virtual void MajMenus() = 0;
};

// The clipboard image as a new image (its transparent colour painted where
// its mask is mostly transparent, or else the mask kept as the layer's) at
// the clipboard's resolution. No undo record. False when nothing usable is
// on the clipboard.
bool NewImageFromClipboard(TClipboardData& Clip, TNewImageHost& Windows);
// The current layer's mask, inverted (opaque white), as a new image titled
// with the layer's caption and the word for mask. False without a mask.
bool NewImageFromLayerMask(TLayerCommandHost& Host, TNewImageHost& Windows);
