// The rules that choose an image's undo record before a change: the kind
// adjusted to the current layer, the layer it is about, what it saves, which
// record class keeps it and what the scratch copies take; the undo title
// without its short-cut; whether a layer must grow first. Pure functions of
// their arguments, so the main window and the tests share them. Depends on
// the undo record types (document) only.
#pragma once

#include "app/ModifInfo.h"
#include "document/Undo.h"

#include <QString>

// The record class each kind is kept in.
enum class TUndoRecordClass : uint8_t {
  LayerInfos,    // TUndoLayerInfos: properties only
  AllLayers,     // TUndoAllLayers
  WholeLayer,    // TUndoLayerItem over the whole bitmap and mask
  RegionLayer,   // TUndoLayerItem over a region
  ExpandOrRegion, // TUndoExpandLayer when the layer must grow, else RegionLayer
  LayerIndex,    // TUndoLayerIndex
  TextData,      // TUndoTextData
  CreateLayer,   // TUndoCreateLayer
  DeleteLayer,   // TUndoDeleteLayer
  InsertBkg,     // TUndoInsertBakground
  MergeLayers,   // TUndoMergeLayers
  MergeAll,      // TUndoMergeAll
  ShowHideAll,   // TUndoShowHideAll
  Fade,          // TUndoLayerItem over the current record's region and type
};

// Painting that would write the mask records only the bitmap unless painting
// on the alpha is on (DessinerSurAlpha); a filter of bitmap and mask records
// only the bitmap when the layer has no mask (HasAlpha).
TModifInfo AdjustModifInfo(TModifInfo Info, bool DessinerSurAlpha, bool HasAlpha);
TUndoRecordClass UndoRecordClassOf(TModifInfo Info);
// What a pixel record saves; miAttenuer takes the current record's own type
// (the caller's), so it is not answered here (utBitmap).
TUndoType UndoTypeOf(TModifInfo Info);
// The record is about the background, which becomes the current layer.
bool UndoOnBackground(TModifInfo Info);
// A visible selection is hidden first (the change is about the whole layer).
bool UndoHidesSelection(TModifInfo Info);
// The drawing kinds start with an empty region that the tool grows.
bool UndoStartsEmpty(TModifInfo Info);
// What the scratch copies take: BmpUndo the layer's mask or bitmap (or
// nothing), MaskUndo the layer's mask (or nothing).
enum class TScratchCopy : uint8_t { None, Bitmap, Mask };
TScratchCopy BmpUndoCopyOf(TModifInfo Info);
bool MaskUndoCopiesMask(TModifInfo Info);
// With AddShortcut, a title ending in "]" loses its bracketed short-cut and
// the character before the first "[" ("Flou [Ctrl+B]" gives "Flou").
QString UndoTitle(const QString& Titre, bool AddShortcut);
// Target reaches beyond Layer on any side.
bool ReachesBeyond(const TRect& Target, const TRect& Layer);
// The record kinds a fade may follow (flag 2 of the current record).
bool CanFadeKind(int Kind);
