// The icon stream code: reads the first image of an .ico stream into an icon
// (BMP-coded or PNG-coded images), writes an icon as a one-image .ico, and
// converts between icons and bitmaps with a transparent colour or alpha.
// Depends on platform (TIcon, TBitmap), raster (transparency) and the PNG
// reader; used by the icon picture class, the picture and the colour-depth
// conversions.
#pragma once

#include "platform/Icon.h"

#include <QString>

#include <cstdint>

class QIODevice;

// The largest side a directory entry can state (a byte, 0 meaning 256),
// and so the largest a PNG-coded icon image may declare.
inline constexpr int64_t MaxIconSide = 256;

// The colours of an icon, from the fewest to an alpha channel.
enum TIconFormat : uint8_t { if16Colors, if256Colors, ifTrueColors, ifTrueColorsAlpha };

// pf4bit, pf8bit, pf24bit, pf32bit.
TPixelFormat IconFormatToPixelFormat(TIconFormat Format);

// Reads an .ico stream positioned at its start; its first image, whatever
// its size, becomes the icon, stretched to the size the directory gives for
// it (a byte of 0 meaning 256). A PNG-coded image keeps its own size, which
// may not exceed the 256 x 256 a directory entry can state (checked before
// it is decoded). Every count, size and offset is checked against the bytes
// the stream holds.
// Throws EInvalidGraphic "<Name>: Données invalides !" for a stream that is
// not an icon or is malformed; the icon is then left empty.
void ReadIcon(QIODevice& Stream, TIcon& Icon, const QString& Name = QString());

// Writes the icon as a one-image .ico at the depth of Format: 4 bits take
// the sixteen standard colours, 8 bits a fixed table of those, a colour cube
// and greys, each colour its nearest entry (no quantisation is done); 32
// bits keep the icon's alpha, or take it from the mask for an icon without
// alpha, so that readers honouring the channel see the same transparency.
// The directory entry keeps the layout this program
// has always written: the bit count in byte 8, 0 in the planes and bit-count
// words. Throws EInvalidGraphic for an empty icon; write errors of the
// device are the caller's to check.
void WriteIcon(QIODevice& Stream, const TIcon& Icon, TIconFormat Format);

// The icon as a bitmap: a 32-bit copy of its colours with their alpha for an
// alpha icon; otherwise 24-bit with TransparentKeyColor where the mask is
// set, that colour being the transparent colour, transparency on. Returns
// IconFormatOf the icon. Throws EInvalidGraphic for an empty icon.
TIconFormat IconToBitmap(const TIcon& Icon, TBitmap& Bitmap);

// ifTrueColorsAlpha when any pixel has a fourth byte; otherwise by the
// distinct colours of the unmasked pixels: 1..15 all among the 16 standard
// colours if16Colors, other counts up to 256 if256Colors, more than 256 or
// none (everything masked) ifTrueColors.
TIconFormat IconFormatOf(const TIcon& Icon);

// An icon of Size x Size, black and transparent, with the bitmap centred;
// the pixels of a transparent bitmap's transparent colour stay transparent.
// False (icon empty) for an empty bitmap or a Size below 1.
bool BitmapToIconCentered(const TBitmap& Bitmap, int Size, TIcon& Icon);

// An icon of a 32-bit bitmap of exactly Size x Size, its alpha kept and its
// mask fully opaque; false (icon empty) for any other bitmap.
bool Bitmap32ToIcon(const TBitmap& Bitmap, int Size, TIcon& Icon);
