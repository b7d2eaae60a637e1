// Layers: one layer of an image (TLayerItem), the ordered stack of them
// (TLayerList, the background first), the abstract data behind a non-pixel
// layer (TLayerData), the settings records a layer carries and the two
// process-wide hooks through which the main window gives layers their data
// object and their shown captions. Depends on platform (TBitmap) and the
// raster core (transformations and layer geometry); used by the layered image
// (MyImageLayered.h), the file format, the undo records and the commands.
//
// Values a layer stores are kept as stored (they travel through files and
// undo records unchanged); the Used... accessors give the values that drawing
// may use, limited to their ranges.
#pragma once

#include "platform/Bitmap.h"
#include "platform/Colors.h"
#include "platform/Types.h"
#include "raster/TransformData.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TMyImageLayered;
class TLayerItem;
class TStream;

// Each stored in one byte; a value outside the list (from a file) draws
// nothing.
enum TLayerType : uint8_t {
  ltBitmap = 0, // pixels
  ltData = 1,   // pixels produced by a TLayerData (text)
  ltAdjust = 2, // adjustment of everything below
  ltColor = 3,  // flat colour over everything below
};

// Opacity percent 1..100 in one byte; 0 only in a layer not yet set up,
// which is never drawn.
using TOpacityRange = uint8_t;

enum TLayerShadowStyle : uint8_t {
  lstBlur = 0,    // blurred shadow
  lstDiffuse = 1, // blurred, then grainy
};

// The settings of an adjustment layer. The byte layout is the one the layered
// file stores whole.
struct TAdjustLayerInfos {
  int16_t Luminosity = 0; // brightness amount; 0 = no change
  int16_t Reserved1 = 0;
  int16_t Contrast = 0; // 0 = no change
  int16_t Reserved2 = 0;
  int16_t Saturation = 0; // 0 = no change
  int16_t Hue = 0;        // rotation in degrees; 0 = no change
  double Gamma = 1.0;     // 1.0 = no change
};
static_assert(sizeof(TAdjustLayerInfos) == 24);
static_assert(offsetof(TAdjustLayerInfos, Hue) == 10 && offsetof(TAdjustLayerInfos, Gamma) == 16);

// The drop shadow of a bitmap or data layer; byte layout fixed by the file.
struct TLayerShadowInfos {
  bool DrawShadow = false;
  TColor Color = 0; // black
  int32_t DX = 7;   // offset from the layer in image pixels
  int32_t DY = 7;
  int32_t Opacity = 80; // percent, times the layer's opacity
  uint32_t Blur = 7;    // the shadow reaches Blur pixels beyond the layer
  TLayerShadowStyle Style = lstBlur;
  int32_t Reserved = 0;
};
static_assert(sizeof(TLayerShadowInfos) == 32);
static_assert(offsetof(TLayerShadowInfos, Color) == 4 && offsetof(TLayerShadowInfos, Blur) == 20 &&
              offsetof(TLayerShadowInfos, Style) == 24 && offsetof(TLayerShadowInfos, Reserved) == 28);

// What drawing takes from a stored value.
// Blend mode codes outside 0..25 merge as Normal (0).
int UsedBlendMode(int32_t BlendMode);
// Opacity limited to 0..100.
int UsedOpacity(int Opacity);
// The shadow with its blur limited to 0..MaxShadowBlur, its offsets to
// +-MaxShadowOffset and its opacity to 0..100.
inline constexpr uint32_t MaxShadowBlur = 100;
inline constexpr int32_t MaxShadowOffset = 32767;
TLayerShadowInfos UsedShadowInfos(const TLayerShadowInfos& SI);

// The data behind an ltData layer. Descendants render it into the layer's
// bitmap and mask; the stream form of the data is the file format's.
class TLayerData {
public:
  virtual ~TLayerData() = default;
  // Copies the other object's data (of the same class).
  virtual void Assign(const TLayerData& NewData) = 0;
  // Renders the data into Item's Bitmap and Mask (and the drawing properties
  // it carries, such as the opacity) so that the layer draws like a bitmap
  // layer. Text renders only when Item's bitmap is empty: emptying it forces
  // a new rendering.
  virtual void PrepareBitmaps(TLayerItem& Item) = 0;
  // The data's record inside a layer record of the layered file. A class
  // without a stream form throws EStreamError, so that no file is written
  // with data it could not read back.
  virtual void SaveToStream(TStream& Stream) const;
  virtual void LoadFromStream(TStream& Stream);
};

// The two process-wide layer hooks, unset at start; the main window sets both
// once for every image.
// Called before data is copied or read into a layer, so that the program can
// give the layer a Data object of the right class.
extern std::function<void(TLayerItem& Item)> OnNeedLayerData;
// Lets the program replace the stored caption by the caption to show.
extern std::function<void(const TLayerItem& Item, QString& S)> OnGetLayerCaption;

class TLayerItem {
public:
  TLayerItem();
  ~TLayerItem();
  TLayerItem(const TLayerItem&) = delete;
  TLayerItem& operator=(const TLayerItem&) = delete;

  QString Caption;
  bool Visible = true;
  bool Locked = false; // cannot be moved with the mouse or the arrow keys
  int32_t BlendMode = 0;
  // Copied and stored, read by nothing else.
  int32_t FReserved1 = 0;
  int32_t FReserved2 = 0;
  int32_t Tag = 0;
  TLayerType LayerType = ltBitmap;
  TColor Color = 0xFFFFFF;
  // For an ltColor layer, 1 = inverted (the opacity pushes away from Color).
  TColor Color2 = 0;
  // Position of the bitmap's top-left pixel in image coordinates.
  TPoint Pos{0, 0};
  TOpacityRange Opacity = 0;
  TAdjustLayerInfos AdjustInfos;
  TLayerShadowInfos ShadowInfos;

  // The layer's pixels (24-bit) and its grey mask of the same size (0 opaque,
  // 255 transparent; empty means opaque).
  TBitmap& Bitmap() { return FBitmap; }
  const TBitmap& Bitmap() const { return FBitmap; }
  TBitmap& Mask() { return FMask; }
  const TBitmap& Mask() const { return FMask; }
  // A second mask slot that stays empty; copied and cleared with the others.
  TBitmap& MaskNot() { return FMaskNot; }
  const TBitmap& MaskNot() const { return FMaskNot; }

  TLayerData* Data() const { return FData.get(); }
  void SetData(std::unique_ptr<TLayerData> Data) { FData = std::move(Data); }
  std::unique_ptr<TLayerData> ReleaseData() { return std::move(FData); }

  // A pending geometric transformation, drawn but not yet applied to the
  // pixels; it maps layer coordinates to image coordinates.
  TTransformation* Transformation() const { return FTransformation.get(); }
  void SetTransformation(std::unique_ptr<TTransformation> T) { FTransformation = std::move(T); }

  int UsedBlendMode() const { return ::UsedBlendMode(BlendMode); }
  int UsedOpacity() const { return ::UsedOpacity(Opacity); }

  // Every property except the bitmaps, Data and Transformation.
  void AssignProperties(const TLayerItem& NewLayerItem);
  // The properties, the data of an ltData layer (through OnNeedLayerData)
  // and the three bitmaps; not the transformation.
  void Assign(const TLayerItem& NewLayerItem);
  void ClearBitmaps();
  // Gives the layer a mask of its bitmap's size when it has none: all
  // transparent (255) or all opaque (0). Not for ltAdjust and ltColor layers.
  void CheckCreateMask(bool Transparent);
  void ClearTransform();
  // Applies (DoTransform) or drops the pending transformation; the position
  // follows the transformation's bounds in both cases.
  void ValidateTransform(bool DoTransform);
  // Mask, then bitmap; Pos is not changed.
  void FlipHorz();
  void FlipVert();
  void Rotate90(); // quarter turn anticlockwise
  void Rotate180();
  void Rotate270(); // quarter turn clockwise
  // Free rotation by Degree about the bitmap's centre, and skew; the pixels
  // become their transformed images at once.
  void Rotate(double Degree);
  void Skew(double FX, double FY);
  // Sizes of 0 or less count as 1; Lanczos3 with colour bleeding under
  // transparent pixels. Pos is not changed.
  void Scale(int NewWidth, int NewHeight);
  // P in the layer's own coordinates: outside the bitmap True; inside, True
  // only where the mask byte is 255.
  bool IsTransparent(TPoint P) const;
  // Crops bitmap and mask to the mask's non-transparent part; True when the
  // position moved (a crop of right columns or bottom rows only gives False).
  bool AutoCropTransparency();
  // The transformed bounds with a pending transformation, else the bitmap at
  // Pos.
  TRect BoundsRect() const;
  // Caption, through OnGetLayerCaption when it is set.
  QString DisplayCaption() const;

  // One layer record of the layered file (LayerStream.h). Loading throws
  // EStreamError on damaged data; the layer is then partly filled. Without
  // ReadPixels the bitmap and mask are passed over and left empty.
  void SaveToStream(TStream& Stream) const;
  void LoadFromStream(TStream& Stream, bool ReadPixels = true);
  // The record with Pixels and Transparent in place of the bitmap and its
  // flag; with Crop, only that rectangle of the bitmap and the mask, the
  // position moved by its top-left corner.
  void SaveRecord(TStream& Stream, const TBitmap& Pixels, bool Transparent, const TRect* Crop) const;

private:
  void FlipRotate(int Code);
  void TransformBy(std::unique_ptr<TAffineTransformation> T);

  TBitmap FBitmap;
  TBitmap FMask;
  TBitmap FMaskNot;
  std::unique_ptr<TLayerData> FData;
  std::unique_ptr<TTransformation> FTransformation;
};

// The layers of one image, background (index 0) first; owns its items. An
// index outside 0..Count - 1 throws std::out_of_range and changes nothing.
// Changes of order or membership invalidate the owning image; the image's
// current layer index is kept in range.
class TLayerList {
public:
  // Image may be nullptr for a list that belongs to no image.
  explicit TLayerList(TMyImageLayered* Image);
  ~TLayerList();
  TLayerList(const TLayerList&) = delete;
  TLayerList& operator=(const TLayerList&) = delete;

  TMyImageLayered* Image() const { return FImage; }
  int Count() const { return static_cast<int>(FItems.size()); }
  TLayerItem& operator[](int Index) const { return *GetItem(Index); }
  TLayerItem* GetItem(int Index) const;
  // Replaces the entry at Index without invalidating and hands back the
  // replaced item.
  std::unique_ptr<TLayerItem> SetItem(int Index, std::unique_ptr<TLayerItem> Item);

  // Appends; returns the new index.
  int Add(std::unique_ptr<TLayerItem> Item);
  // Index 0..Count; at 0 the item becomes the new background.
  void Insert(int Index, std::unique_ptr<TLayerItem> Item);
  void Delete(int Index);
  void Clear();
  // Reorder the layers above the background: a request that would move the
  // background, or move a layer under it, changes nothing.
  void Exchange(int Index1, int Index2);
  void Move(int CurIndex, int NewIndex);
  int IndexOf(const TLayerItem* Item) const;
  // Independent copies of NewList's layers; the image's current layer
  // becomes 0 when the result is not empty.
  void Assign(const TLayerList& NewList);

  // The layer count, a record of Preview (caption "Preview") when it is not
  // nullptr, then the layers, background first; bitmap layers above the
  // background cropped to their opaque part under AutoCropOnSave.
  void SaveToStream(TStream& Stream, const TBitmap* Preview) const;
  // Replaces the layers by those of the stream; LoadPreview: a preview record
  // precedes them when there are two or more. Throws EStreamError when not
  // even the first layer can be read (the list is then empty). Damage after
  // one layer or more reports the shared message naming the stream's file
  // and keeps the layers read so far: the answer is then false. Running out
  // of memory is no damage: std::bad_alloc is passed on.
  bool LoadFromStream(TStream& Stream, bool LoadPreview);

private:
  friend class TMyImageLayered;
  void CheckIndex(int Index, int Limit) const;
  void Changed(bool BackgroundChanged);

  std::vector<std::unique_ptr<TLayerItem>> FItems;
  TMyImageLayered* FImage;
};
