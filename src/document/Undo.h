// The undo history of an image (TUndoList), the base record with its nested
// sub-records (TUndoItem), the pixel record of a bitmap and a grey mask
// (TUndoBmpItem) and the records of the layer operations (TUndoLayerItem and
// its descendants), which reach the image through its layers panel
// (LayerNavigator). Depends on the layered image model and the pixel
// snapshots of the raster core (BmpMem24, BmpMem8).
//
// Undo and redo exchange a record's saved state with the live one: one
// snapshot serves both directions, and after an undo it holds the state
// after the action. Layer records address their layer by index, so records
// must be undone and redone strictly in history order.
//
// To add a kind of record: derive from TUndoLayerItem (or TUndoBmpItem for a
// bitmap outside a layer), save in the constructor what the action will
// change, and make Undo and Redo exchange it with the live state; override
// GetMemSize when the record owns memory its base does not count.
#pragma once

#include "document/LayerNavigator.h"
#include "document/MyGraphic.h"
#include "platform/Bitmap.h"
#include "platform/Types.h"
#include "raster/BmpMem24.h"
#include "raster/BmpMem8.h"

#include <QString>

#include <array>
#include <climits>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

enum TUndoType : uint8_t {
  utAll = 0,    // bitmap and mask
  utBitmap = 1, // bitmap only
  utMask = 2,   // mask only
};

enum TUndoMode : uint8_t {
  umImage = 0,  // the whole bitmap
  umRegion = 1, // a rectangle of it
};

class TUndoItem;

// The capacity of an image's history for the undo depth set in the
// preferences: twice the depth, a depth below 1 counting as 1.
int UndoCapacityFromDepth(int Depth);

// A linear history: records oldest first, a cursor on the last applied one.
class TUndoList {
public:
  // No bound: the nested lists of records that address every layer.
  static constexpr int Unbounded = INT_MAX;

  // A capacity below 1 counts as 1.
  explicit TUndoList(int MaxItems);
  ~TUndoList();
  TUndoList(const TUndoList&) = delete;
  TUndoList& operator=(const TUndoList&) = delete;

  int MaxItems() const { return FMaxItems; }
  // -1 when every record is undone or the list is empty.
  int ItemIndex() const { return FItemIndex; }
  // A record was dropped for lack of room since the flag was last cleared.
  bool Recycled() const { return FRecycled; }
  void SetRecycled(bool Value) { FRecycled = Value; }

  int Count() const { return static_cast<int>(FList.size()); }
  // nullptr outside 0..Count - 1.
  TUndoItem* GetItem(int Index) const;
  TUndoItem* Items(int Index) const { return GetItem(Index); }

  // The records after the cursor are dropped, then the oldest one while the
  // list is full (setting Recycled); Item is appended and becomes current.
  // Its caption at this moment is its line of ActionList. Returns Item.
  TUndoItem* Add(std::unique_ptr<TUndoItem> Item);
  void Clear();

  TUndoItem* CurrentUndo() const { return GetItem(FItemIndex); }
  TUndoItem* NextUndo() const { return GetItem(FItemIndex + 1); }
  TUndoItem* PrevUndo() const { return FItemIndex > 0 ? GetItem(FItemIndex - 1) : nullptr; }
  TUndoItem* FirstUndo() const { return GetItem(0); }
  TUndoItem* LastUndo() const { return GetItem(Count() - 1); }

  // Undo of the current record; a one-way record (CanRedo false) goes with
  // every later record once undone. Nothing at cursor -1.
  void Undo();
  // Redo of the record after the cursor; nothing at the end.
  void Redo();
  void UndoAll();
  void RedoAll();
  // Steps until the cursor is Index; nothing outside 0..Count - 1.
  void UndoRedoUntil(int Index);
  void DeleteLast();
  void DeleteUntilLast();

  int64_t GetMemSize() const;
  // The caption lines, each ended by a line break, oldest first.
  QString ActionList() const;

private:
  void MakeRoomForItem();
  void DeleteItem(int Index);

  std::vector<std::unique_ptr<TUndoItem>> FList;
  // One line per record, with the record it belongs to.
  std::vector<std::pair<QString, const TUndoItem*>> FActionList;
  int FMaxItems;
  int FItemIndex = -1;
  bool FRecycled = false;
};

// The base record: it only undoes and redoes its sub-records.
class TUndoItem {
public:
  TUndoItem();
  virtual ~TUndoItem();
  TUndoItem(const TUndoItem&) = delete;
  TUndoItem& operator=(const TUndoItem&) = delete;

  // Unique in the process run; the first record is 1.
  int Id() const { return FId; }
  QString Caption;
  // False makes a one-way record, dropped with every later one when undone.
  bool CanRedo = true;

  // Sub-records, undone last first and redone first first; owned.
  TUndoList& UndoList() { return FUndoList; }
  const TUndoList& UndoList() const { return FUndoList; }

  // Ten integers kept for the creator, indexes 1..10; others read 0 and are
  // not stored.
  int GetFlag(int Index) const;
  void SetFlag(int Index, int Value);
  int Flag(int Index) const { return GetFlag(Index); }

  virtual void Undo();
  virtual void Redo();
  virtual int64_t GetMemSize() const;

private:
  int FId;
  std::array<int32_t, 10> FFlags{};
  TUndoList FUndoList{TUndoList::Unbounded};
};

// Pixels of a live bitmap and its grey mask, whole or in a rectangle.
class TUndoBmpItem : public TUndoItem {
public:
  // The whole bitmap: utAll when both are given, utMask when only Mask is,
  // else utBitmap. The live bitmaps are not owned.
  TUndoBmpItem(TBitmap* Bmp, TBitmap* Mask);
  // Rgn clipped to the mask (utMask) or the bitmap; an empty result saves
  // nothing (ResetData can give the record its rectangle later).
  TUndoBmpItem(TBitmap* Bmp, TBitmap* Mask, const TRect& Rgn);

  const TRect& Region() const { return FRgn; }
  TUndoMode UndoMode() const { return FMode; }
  TUndoType UndoType() const { return FType; }

  // For a whole-bitmap record: the live bitmaps still have the saved sizes.
  virtual bool IsEqualSize();
  void Undo() override;
  void Redo() override;
  int64_t GetMemSize() const override;

  // The saved state written back; the record keeps it (cancels a preview).
  void Restore();
  // Only the bitmap's saved transparent colour and switch written back, the
  // pixels left; nothing when the record saved no pixels.
  void RestoreTransparency();
  // Fades the change: Alpha percent of the way back to the saved state.
  void AlphaBlend(int Alpha);
  // Limits the change to a shape: the saved pixels come back where the
  // selection mask is transparent; Flat restores only fully outside pixels.
  void AlphaBlend(const TBitmap* Mask, bool Flat);
  // The saved pixels come back where Mask is 255 (region records, not utMask).
  void RestoreBlank(const TBitmap* Mask);
  // A new snapshot of the same kind over Rgn, taken from Bmp and Mask (copies
  // of the live bitmaps kept from before the action); the record stays bound
  // to the live ones.
  void ResetData(const TBitmap* Bmp, const TBitmap* Mask, const TRect& Rgn);

protected:
  TUndoBmpItem(TBitmap* Bmp, TBitmap* Mask, TUndoMode Mode, TUndoType Type, const TRect& Rgn);
  // The snapshots retaken over Rgn (clipped) from Bmp and Mask.
  void TakeSnapshot(const TBitmap* Bmp, const TBitmap* Mask, const TRect& Rgn);
  // The one operation behind Undo and Redo.
  void SwapData();
  bool SavesBitmap() const { return FType != utMask; }
  bool SavesMask() const { return FType != utBitmap; }

  TRect FRgn;
  TUndoMode FMode;
  TUndoType FType;
  TBitmap* FBmp;
  TBitmap* FMask;
  TBmp24 FBmpData;
  TBmp8 FMaskData;

private:
  // The live rectangle of the exchange.
  TRect LiveRect() const;
};

// A pixel record of one layer of an image, with a copy of its properties.
class TUndoLayerItem : public TUndoBmpItem {
public:
  // The whole bitmap (utAll, utBitmap) and mask (utAll, utMask).
  TUndoLayerItem(TLayerItem& LayerItem, TUndoType UndoType);
  // The rectangle Rgn of them; an empty Rgn saves properties only.
  TUndoLayerItem(TLayerItem& LayerItem, const TRect& Rgn, TUndoType UndoType);

  int LayerIndex() const { return FLayerIndex; }
  void SetLayerIndex(int Value) { FLayerIndex = Value; }
  LayerNavigator* Navigator() const { return FNavigator; }
  void SetNavigator(LayerNavigator* Value) { FNavigator = Value; }
  // The saved properties (a layer without pixels).
  const TLayerItem& Properties() const { return FProperties; }
  // The live layer's pixels and properties saved again, for a layer changed
  // after the record was made within the same step (a new layer transformed
  // before its creation step ends).
  void Retake(const TLayerItem& LayerItem);

  // The live layer, item LayerIndex of the navigator's image; throws
  // std::out_of_range when there is no such layer.
  TLayerItem& GetLayerItem() const;
  bool IsEqualSize() override;
  void Undo() override;
  void Redo() override;

protected:
  // What a descendant's constructor saves of the layer.
  struct TSaved {
    TUndoMode Mode;
    TUndoType Type;
    TRect Rgn; // for umRegion
  };
  TUndoLayerItem(TLayerItem& LayerItem, const TSaved& Saved);

  void InitLayerItem(const TLayerItem& LayerItem) { FProperties.AssignProperties(LayerItem); }
  void SwapProperties();
  void SwapPosition();
  // FBmp and FMask pointed at the live layer's (layers may have been
  // re-created since the record was made).
  TLayerItem& BindLiveLayer();
  // The layer's thumbnail in the panel.
  void UpdateThumb();
  // The panel; throws std::out_of_range when the creator set none.
  LayerNavigator& Navigation() const;

  int FLayerIndex = 0;
  LayerNavigator* FNavigator = nullptr;
  TLayerItem FProperties;
};

// A change of properties only (position, options, caption).
class TUndoLayerInfos : public TUndoLayerItem {
public:
  explicit TUndoLayerInfos(TLayerItem& LayerItem);
  // The saved position (the layer may already have moved).
  void SetLayerPos(TPoint Value) { FProperties.Pos = Value; }
  void Undo() override;
  void Redo() override;
};

// A layer moved from OldIndex to LayerIndex in the stack.
class TUndoLayerIndex : public TUndoLayerItem {
public:
  explicit TUndoLayerIndex(TLayerItem& LayerItem);
  int OldIndex() const { return FOldIndex; }
  void SetOldIndex(int Value) { FOldIndex = Value; }
  void Undo() override { SwapIndex(); }
  void Redo() override { SwapIndex(); }

private:
  void SwapIndex();
  int FOldIndex = 0;
};

// A layer that an action creates or deletes, saved whole so that it can be
// put back at its index.
class TUndoCreateDeleteLayer : public TUndoLayerItem {
public:
  explicit TUndoCreateDeleteLayer(TLayerItem& LayerItem);

protected:
  void RecreateLayer();
  void DeleteLayer();

private:
  std::unique_ptr<TLayerData> FData;
};

class TUndoCreateLayer : public TUndoCreateDeleteLayer {
public:
  using TUndoCreateDeleteLayer::TUndoCreateDeleteLayer;
  void Undo() override { DeleteLayer(); }
  void Redo() override { RecreateLayer(); }
};

class TUndoDeleteLayer : public TUndoCreateDeleteLayer {
public:
  using TUndoCreateDeleteLayer::TUndoCreateDeleteLayer;
  void Undo() override { RecreateLayer(); }
  void Redo() override { DeleteLayer(); }
};

// A new background inserted under the stack; made on the new background once
// it is in place, so that redo brings its pixels back.
class TUndoInsertBakground : public TUndoLayerItem {
public:
  explicit TUndoInsertBakground(TLayerItem& Bakground);
  // The caption the former background carries as layer 1.
  QString FOldBkgCaption;
  // The former background had transparency of its own.
  bool FIsRGBA = false;
  // The new background is made transparent.
  bool FTransparent = false;
  void Undo() override;
  void Redo() override;
};

// A layer merged into the one below it: the record is about the lower layer
// and holds the deletion of the upper one.
class TUndoMergeLayers : public TUndoLayerItem {
public:
  // WithBkg: the lower layer is the background, saved only where the upper
  // layer and its shadow land.
  TUndoMergeLayers(TLayerItem& LayerSup, TLayerItem& LayerInf, bool WithBkg);
  // The upper layer's index; call after the navigator is set.
  void SetSupIndex(int Value);
  void Undo() override;
  void Redo() override;
  int64_t GetMemSize() const override;

private:
  std::unique_ptr<TUndoDeleteLayer> FUndoSup;
};

// An action that changes every layer at once (image or canvas size,
// rotation, skew): the background, and with SaveLayers every layer above.
class TUndoAllLayers : public TUndoLayerItem {
public:
  explicit TUndoAllLayers(TLayerItem& Bakground);
  // Needs the navigator set.
  void SaveLayers();
};

// The visible layers (or all) merged into the background, or the image
// flattened: the background's pixels, mask and properties (a flattened
// background loses its opacity, mode, visibility and kind) and, for a text
// background, its data.
class TUndoMergeAll : public TUndoLayerItem {
public:
  explicit TUndoMergeAll(TLayerItem& Bakground);
  // The background's visibility before the merge.
  bool FIsBkgVisible = true;
  // A deletion sub-record for each layer above the background that is
  // visible, or for every one with All. Needs the navigator set.
  void SaveLayers(bool All);
  void Undo() override;
  void Redo() override;

private:
  // The background's properties, pixels and data exchanged with the saved
  // ones.
  TLayerItem& SwapBackground();
  // A copy of a data background's data, exchanged with the live one; only
  // when the background had data.
  std::unique_ptr<TLayerData> FData;
  bool FSavesData;
};

// Every layer shown or hidden at once.
class TUndoShowHideAll : public TUndoLayerItem {
public:
  explicit TUndoShowHideAll(TLayerItem& Bakground);
  // Needs the navigator set.
  void SaveLayersInfos();
  void Undo() override;
  void Redo() override;
};

// An edit of a data (text) layer's data.
class TUndoTextData : public TUndoLayerItem {
public:
  explicit TUndoTextData(TLayerItem& LayerItem);
  void Undo() override { SwapAndRender(); }
  void Redo() override { SwapAndRender(); }

private:
  void SwapAndRender();
  void SwapTextData();
  std::unique_ptr<TLayerData> FData;
};

// Painting or filtering a region of a layer that may reach outside it: the
// layer is first grown to cover RExpand within the image.
class TUndoExpandLayer : public TUndoLayerItem {
public:
  // Rgn in the layer's coordinates before it grows.
  TUndoExpandLayer(TLayerItem& LayerItem, const TRect& Rgn, const TRect& RExpand, TMyImageLayered& Image);
  bool AutoExpanded() const { return FAutoExpanded; }
  // The shift of the layer's origin: old minus new left and top.
  TPoint Offset() const { return {FOX, FOY}; }
  // The layer cut back to its old bounds (also when a preview is cancelled).
  void RestoreSize();
  void Undo() override;
  void Redo() override;

private:
  struct TExpansion {
    TRect OldBounds, NewBounds, Rgn;
    bool Expanded;
  };
  static TExpansion Expand(TLayerItem& LayerItem, const TRect& Rgn, const TRect& RExpand, TMyImageLayered& Image);
  TUndoExpandLayer(TLayerItem& LayerItem, const TExpansion& E);

  TRect FOldBounds;
  TRect FNewBounds;
  bool FAutoExpanded;
  int FOX;
  int FOY;
};
