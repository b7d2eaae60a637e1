// The clipboard pasted as a new layer or as the current layer's mask. The
// layer commands without the clipboard are in document/Calque.h. Depends on
// the clipboard (Past.h) and the layer commands; used by the main window.
//
// Each answers false, changing nothing and leaving the caller free to drop
// its undo record, when the clipboard holds no usable image or there is no
// current layer.
#pragma once

#include "document/Calque.h"
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
