// The layered image document without its widget: the stack of layers, the
// current layer, the composite of the whole image, the operations that add,
// duplicate and remove layers and backgrounds, coordinate conversion into
// the current layer, and the compositing of the stack into any bitmap, with
// or without a mask of its own, with the merges that fold layers into one
// another for good. The image view widget holds one and implements
// DocumentView; batch runs, file readers and tests use it alone.
// Depends on the layers (MyGraphic), the merge helpers (LayerUtils) and the
// raster core.
//
// Coordinates: image (the composite and the background, the document's
// pixels) and layer (a layer's own bitmap: image minus the layer's Pos).
//
// Compositing a layer into a bitmap Bmp that holds image coordinates shifted
// by (DX, DY) changes only the rectangle R of Bmp: a hidden layer (unless
// forced) and a layer of opacity 0 draw nothing; a bitmap or data layer draws
// its drop shadow, then its pixels through its mask with its opacity and blend
// mode (through its pending transformation when it has one, without shadow);
// an adjustment layer adjusts what R already holds; a colour layer lays its
// colour over R. Stored values outside their ranges draw limited to them.
#pragma once

#include "document/DocumentServices.h"
#include "document/Metadata.h"
#include "document/MyGraphic.h"

#include <QString>

#include <memory>

class TMyImageLayered {
public:
  TMyImageLayered();
  ~TMyImageLayered();
  TMyImageLayered(const TMyImageLayered&) = delete;
  TMyImageLayered& operator=(const TMyImageLayered&) = delete;

  // The view that shows this image, or nullptr.
  void SetView(DocumentView* View) { FView = View; }
  DocumentView* View() const { return FView; }
  // Asks the view to composite the whole image again.
  void Invalidate();

  TLayerList& Layers() const { return *FLayerList; }
  // The composite: the whole image merged, always of the background's size
  // (empty without layers). Up to date only after an explicit merge into it.
  TBitmap& Bitmap() { return FBitmap; }
  const TBitmap& Bitmap() const { return FBitmap; }

  // -1 exactly when there is no layer.
  int LayerIndex() const { return FLayerIndex; }
  // Ignored outside 0..Count - 1.
  void SetLayerIndex(int Value);
  // The item at LayerIndex, nullptr at -1.
  TLayerItem* CurrentLayer() const;
  // Replaces the list entry at LayerIndex (nothing at -1) and hands back the
  // replaced item.
  std::unique_ptr<TLayerItem> SetCurrentLayer(std::unique_ptr<TLayerItem> Item);

  // Laid under a transparent background when layers are merged.
  TColor BackColor = clWhite;
  // The view outlines the current layer; expanding it then repaints.
  bool DrawLayerActiveBounds = false;
  // 0 idle, 1 pressed on a movable layer, 2 moving the current layer (whose
  // shadow is then left out of the composite).
  int MoveState = 0;
  // The document's colour count, resolution (dots per inch, 0 = none given)
  // and comment.
  int ColorCount = 0;
  double ResolutionX = 0;
  double ResolutionY = 0;
  QString Comment;
  // The image's metadata tags, shared with the load and save options.
  TMetadata Metadata;
  // The image differs from its file: set when a file could be read only in
  // part, so that closing asks before the original can be saved over.
  bool Modified = false;

  // Subtract or add the current layer's position.
  TPoint BmpToLayer(TPoint P) const;
  TRect BmpToLayer(const TRect& R) const;
  TPoint LayerToBmp(TPoint P) const;
  TRect LayerToBmp(const TRect& R) const;
  // The background's transparent colour is on, or it has a mask, is hidden or
  // has an opacity of 99 or less.
  bool NeedBkgTransparency() const;
  // BackColor must be laid under the background before compositing: it is
  // transparent, or it does not replace what lies under it (a blend mode
  // other than Normal, an adjustment or colour background), which would
  // otherwise leave the result depending on the target's old pixels.
  bool NeedBkgUnderlay() const;
  // R in the current layer's coordinates, grown by its shadow, repainted.
  void RepaintLayerRect(TRect R);
  // Image point: with Merge the colour of the composited visible layers
  // there, else the current layer's pixel; clNone outside or without layers.
  TColor GetColor(int X, int Y, bool Merge);
  // Grows a layer (not the background) to cover R as far as R lies in the
  // image; the new area is white and, in a mask, transparent. False when
  // nothing grew.
  bool ExpandLayer(TLayerItem& Item, const TRect& R);

  // ---- Building the stack: each add appends at the top, makes the new layer
  // current, invalidates and returns its index.
  // Copies of Bitmap and Mask (either may be nullptr), made 24-bit.
  int AddLayer(const TBitmap* Bitmap, const TBitmap* Mask, TPoint Pos, TOpacityRange Opacity, const QString& Caption);
  // Width x Height of Color, without mask.
  int AddLayer(int Width, int Height, TColor Color, TPoint Pos, TOpacityRange Opacity, const QString& Caption);
  int AddLayerColor(TColor Color, TOpacityRange Opacity, bool Invert, const QString& Caption);
  int AddLayerAdjust(const TAdjustLayerInfos& AdjustInfos, TOpacityRange Opacity, const QString& Caption);
  // Takes Data; the layer's opacity and pixels come from the data's rendering.
  int AddLayerData(std::unique_ptr<TLayerData> Data, const QString& Caption);
  // A bitmap with alpha or a transparent colour becomes bitmap plus mask.
  int AddBitmapAsLayer(const TBitmap& Bitmap, TPoint Pos, TOpacityRange Opacity, const QString& Caption);
  // A copy of layer Index (not its pending transformation), visible and
  // unlocked; -1 when Index is out of range.
  int DuplicateLayer(int Index, const QString& Caption);
  // The stack is replaced by one background at (0, 0), opacity 100.
  void AddBackground(const TBitmap* Bitmap, const TBitmap* Mask, const QString& Caption);
  void AddBackground(int Width, int Height, TColor Color, const QString& Caption);
  void AddBitmapAsBackground(const TBitmap& Bitmap, const QString& Caption);
  // The image's own bitmap (a picture just read into it) becomes the
  // background, as AddBitmapAsBackground would make it; a bitmap without
  // alpha is moved, not copied, so a huge picture is never held twice.
  void BitmapToBackground(const QString& Caption);
  // A new background under the stack (nothing without layers); the old one
  // becomes layer 1 and the new one current.
  void InsertNewBackground(const TBitmap* Bitmap, const TBitmap* Mask, const QString& Caption);
  // Removes the background of a stack of two layers or more; layer 1 becomes
  // the background and current. Nothing with fewer than two layers.
  void DeleteBackground();

  // ---- Compositing ----------------------------------------------------------
  void MergeLayerInto(int Index, TBitmap& Bmp, int DX, int DY, const TRect& R, bool Force);
  // R (clipped to Bmp) filled with BackColor when NeedBkgUnderlay, then every
  // layer from 0 up.
  void MergeVisibleLayers(TBitmap& Bmp, int DX, int DY, TRect R, bool Force);
  // The whole stack into the composite; hidden layers too when ForceVisible.
  void MergeLayersForPreview(bool ForceVisible);
  // The stack into Dest, image point (XStart, YStart) landing on (0, 0).
  void DrawImageLayers(int XStart, int YStart, TBitmap& Dest);
  // The same into a bitmap and its mask.
  void MergeImageLayers(int XStart, int YStart, TBitmap& DestBmp, TBitmap& DestMask);
  // Into a bitmap with a mask of its own (DstMask may be nullptr: opaque),
  // which the layers make more opaque. A data layer is rendered first; a
  // pending transformation is applied to copies of the layer's pixels.
  void MergeLayerIntoRGBA(int Index, TBitmap& Bmp, TBitmap* DstMask, int DX, int DY, const TRect& R);
  void MergeLayersRGBA(TBitmap& Bmp, TBitmap* DstMask, int DX, int DY);
  // The whole image with its transparency: 24-bit when the background is
  // opaque and visible, else 32-bit with alpha.
  void MergeLayersInRGBA(TBitmap& Dest);
  // A layer holding Item's drop shadow: at the top-left of its shadow
  // rectangle, the shadow colour through the shadow mask, at the shadow's
  // opacity.
  std::unique_ptr<TLayerItem> MakeShadowLayer(const TLayerItem& Item) const;

  // ---- Merges for good (the caller records undo first) ------------------------
  // LayerSup into LayerInf, or both into LayerSup with AssignToSup; neither
  // leaves the list. Either may be a layer outside the list.
  void MergeLayers(TLayerItem& LayerSup, TLayerItem& LayerInf, bool AssignToSup, bool AutoCrop);
  // The current layer into the bitmap layer below it, then deleted.
  void MergeWithPrevious(bool AutoCrop);
  // A bitmap layer's drop shadow into its own pixels; the layer grows.
  void MergeShadow(TLayerItem& Item);
  // Every visible layer into the background; hidden ones stay with
  // MergeVisibleOnly, else they are deleted.
  void MergeLayersWithBkg(bool MergeVisibleOnly);
  // The stack replaced by its composite, a background without mask.
  void FlattenImage();

  // ---- Copying between images --------------------------------------------------
  // A copy of AImage's layers (nullptr or no layer: an empty stack).
  void Assign(const TMyImageLayered* AImage);
  // Takes AImage's layers (and its composite when that fits them, so that
  // no pixels are allocated); AImage is left without any.
  void GetImageLayers(TMyImageLayered& AImage);

  // ---- The layered file (.lmi, LayerStream.h) -----------------------------------
  // Header, thumbnail, preview and layers; throws on a write error.
  void SaveToStream(TStream& Stream);
  // Throws EStreamError when the file is not one or not even its first layer
  // is readable; damage after that keeps the layers read so far, reports the
  // shared message and sets Modified.
  void LoadFromStream(TStream& Stream);
  // Written through a temporary file renamed over FileName once complete.
  void SaveToFile(const QString& FileName);
  // False when nothing could be read; every failure of the file is reported
  // through ReportFileError with the file's name (no dialog here). Running
  // out of memory throws std::bad_alloc with the image emptied.
  bool LoadFromFile(const QString& FileName);
  // The safe save: the whole file goes to FileName's ".lmtmp" sibling, is
  // checked (CheckLayeredFile), then renamed over FileName. On any failure
  // the old file stays whole, the temporary file is removed and the error
  // propagates.
  void SaveToFile_tmp(const QString& FileName);

  // Installs the composite's size follower on the background and runs it.
  void HookBackgroundChange();

private:
  friend class TLayerList;
  void UnhookBackground();
  void SyncCompositeSize();
  int AddItem(std::unique_ptr<TLayerItem> Item);
  std::unique_ptr<TLayerItem> NewLayer(TLayerType Type, TOpacityRange Opacity, const QString& Caption) const;
  void MergeItemInto(TLayerItem& Item, TBitmap& Bmp, int DX, int DY, const TRect& R, bool Force);
  void MergeItemIntoRGBA(TLayerItem& Item, TBitmap& Bmp, TBitmap* DstMask, int DX, int DY, const TRect& R);
  bool IsCurrentAndMoving(const TLayerItem& Item) const;

  std::unique_ptr<TLayerList> FLayerList;
  int FLayerIndex = -1;
  TBitmap FBitmap;
  TLayerItem* FHooked = nullptr;
  DocumentView* FView = nullptr;
};
