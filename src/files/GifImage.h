// The GIF image: a logical screen with a global colour map and a list of
// frames, each with its position, optional local colour map, interlace flag,
// indices and the extensions written before it (graphic control, comment,
// application, any other kept as read). Reads and writes GIF files through
// giflib; a bitmap is assigned through the colour reduction. It holds as many
// frames as an animation needs. Also the comment helpers of GIF files.
// Depends on platform (bitmap, safe file, Windows-1252) and ColorReduction;
// used by the load and save dispatch, the colour-depth conversions and the
// animated GIF builder.
#pragma once

#include "files/ColorReduction.h"
#include "platform/Bitmap.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class QIODevice;

inline constexpr uint8_t GifGraphicControlLabel = 0xF9;
inline constexpr uint8_t GifCommentLabel = 0xFE;
inline constexpr uint8_t GifApplicationLabel = 0xFF;

// One extension as stored in the file: its label and its data sub-blocks
// (each 1..255 bytes).
struct TGIFExtension {
  uint8_t Label = 0;
  std::vector<std::vector<uint8_t>> Blocks;

  // All sub-blocks joined.
  std::vector<uint8_t> Data() const;
  // An extension whose data is Bytes, cut into sub-blocks of at most 255.
  static TGIFExtension Make(uint8_t Label, const std::vector<uint8_t>& Bytes);
};

// The decoded graphic control extension.
struct TGIFGraphicControl {
  uint8_t Disposal = 0; // 0 none, 1 leave in place, 2 restore to background, 3 restore previous
  bool UserInput = false;
  bool Transparent = false;
  uint16_t Delay = 0; // hundredths of a second
  uint8_t TransparentIndex = 0;
};

class TGIFFrame {
public:
  int Left = 0;
  int Top = 0;
  int Width = 0; // 0 x 0 for a frame that holds only extensions
  int Height = 0;
  bool Interlaced = false;
  TPalette ColorMap;           // local colour map; empty: the global one
  std::vector<uint8_t> Pixels; // Width x Height indices, rows top-down
  std::vector<TGIFExtension> Extensions;

  // A frame without image writes only its extensions.
  bool Empty() const { return Width <= 0 || Height <= 0; }
  // The first graphic control extension, when there is a well-formed one.
  std::optional<TGIFGraphicControl> GraphicControl() const;
  // Replaces the first graphic control extension, or appends one.
  void SetGraphicControl(const TGIFGraphicControl& Control);
};

class TGIFImage {
public:
  // Logical screen; 0 x 0 is taken from the frames when saving and drawing.
  // A file's screen that is missing or far larger than what its frames
  // produced is read as the span of its frames; frames beyond the screen are
  // cut when drawn.
  int Width = 0;
  int Height = 0;
  uint8_t BackgroundIndex = 0;
  TPalette GlobalColorMap;
  std::vector<TGIFFrame> Frames;

  // How Assign and AddFrame reduce a bitmap of more than 8 bits.
  TColorReduction ColorReduction = rmQuantize;
  TDitherMode DitherMode = dmNearest;
  int ReductionBits = 8;
  TPalette ReductionPalette; // for rmPalette

  void Clear();

  // Throw EInvalidGraphic naming the file on a malformed or truncated file,
  // one over the size limits, or one without any image. A frame may not be
  // larger than its LZW data can produce, and decoding stops at the first
  // bad code, having touched only the rows decoded so far.
  void LoadFromFile(const QString& FileName);
  void LoadFromDevice(QIODevice& Device, const QString& Name);
  // Writes through a safe file; throws EInvalidGraphic or ESafeFileError.
  // Colour maps are padded to a power of two and to cover every index used.
  void SaveToFile(const QString& FileName) const;

  // Replaces everything by one frame of the bitmap and its colour map as the
  // global map. A palette bitmap keeps its colours; any other is reduced with
  // the settings above. A transparent bitmap gets a graphic control extension
  // whose transparent index is its transparent colour's (the nearest entry
  // when the reduction lost the exact colour).
  void Assign(const TBitmap& Bitmap);
  // Appends a frame of the bitmap at (0, 0) with its colour map as the
  // frame's local map, reduced like Assign.
  TGIFFrame& AddFrame(const TBitmap& Bitmap);

  // The frame's local map, else the global one.
  const TPalette& ActiveColorMap(const TGIFFrame& Frame) const;
  TPalette& ActiveColorMap(TGIFFrame& Frame);
  // Frames that hold an image.
  int ImageCount() const;
  // The frame's indices as an 8-bit bitmap of the frame's size with its
  // active colour map (indices beyond the map are black); no transparency.
  void FrameToBitmap(int Index, TBitmap& Bitmap) const;

  // Drops the entries no pixel, transparent index or background uses and
  // orders the rest by use, most used first, in every colour map.
  void OptimizeColorMaps();
};

// The first line of the last comment extension of the last frame, scanning
// its extensions from the last; empty when there is none.
QString GetGifComment(const TGIFImage& Gif);
// Nothing for an empty text or an image without frames. One frame: a
// comment holding Text as one line (Windows-1252, ended by CR LF) joins its
// extensions. Several frames: a new empty frame carrying the comment is
// appended, so that it is written after the last image.
void AddGifComment(TGIFImage& Gif, const QString& Text);
