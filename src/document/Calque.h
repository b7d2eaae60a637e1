// The layer commands on one layered image: the tests of the current layer's
// state that enable or refuse commands, the default name of a new layer, the
// choice of the current layer, showing every layer, and the geometry applied
// to every layer above the background when the whole image is flipped,
// turned, rotated, scaled, skewed or shifted. They hold no state. Depends on
// the layered image, its layers panel (LayerNavigator), the text layers
// (TxtData) and the raster core; used by the main window's commands.
//
// The calling command prepares the undo record first (the kinds are listed
// with each group) and repaints afterwards. Every command leaves an image
// without layers, and a refused request, unchanged.
#pragma once

#include "document/LayerNavigator.h"
#include "document/MyImageLayered.h"
#include "document/SelMask.h"

#include <QString>

// ---- State tests (false without a current layer) ----------------------------------
bool IsTextLayer(const TMyImageLayered& Image);
bool IsBackgroundLayer(const TMyImageLayered& Image);
bool IsLayerLockedOrHidden(const TMyImageLayered& Image);
bool IsLayerLocked(const TMyImageLayered& Image);
bool IsLayerVisible(const TMyImageLayered& Image);
bool IsNonBitmapLayer(const TMyImageLayered& Image);
// Above the background, neither locked nor hidden, not an adjustment.
bool CanChangeBlendMode(const TMyImageLayered& Image);
bool AnyLayerVisible(const TMyImageLayered& Image);
bool HasDataLayer(const TMyImageLayered& Image);
bool HasVisibleAndHiddenLayers(const TMyImageLayered& Image);
bool AllLayersBitmapOrData(const TMyImageLayered& Image);

// "#" and one more than the highest number among the captions beginning with
// "#" (read from at most three characters, 0 when they are no number;
// compared as three-digit text); "#1" when there is none.
QString NextLayerName(const TMyImageLayered& Image);

// ---- The current layer (no undo record) ------------------------------------------
// The image's current layer := Index; the panel follows.
void SelectLayer(LayerNavigator& Nav, int Index);
// The layer above, from the top one the background.
void SelectNextLayer(LayerNavigator& Nav);
// The layer below, from the background the top one.
void SelectPreviousLayer(LayerNavigator& Nav);

// ---- Adding and removing layers -----------------------------------------------------
// The present background is renamed NextLayerName and Bitmap goes under it
// as the new background "#0" (without mask). Undo kind: background insertion.
void InsertBackgroundLayer(LayerNavigator& Nav, const TBitmap& Bitmap, bool TransparentBkg);
// A new layer above the current one: Bitmap with Mask, or without one a
// bitmap whose alpha or transparent colour becomes its mask. Undo kind:
// layer creation. The new layer's index.
int AddLayerFromBitmap(LayerNavigator& Nav, const QString& Caption, const TBitmap& Bitmap, const TBitmap* Mask,
                       TPoint Pos);
int AddColorLayer(LayerNavigator& Nav, const QString& Caption, TColor Color, TOpacityRange Opacity, bool Invert);
int AddAdjustLayer(LayerNavigator& Nav, const QString& Caption, const TAdjustLayerInfos& Infos,
                   TOpacityRange Opacity);
// Undo kind: layer deletion. Nothing without layers.
void DeleteCurrentLayer(LayerNavigator& Nav);
// A copy of the current layer named NextLayerName just above it, current.
// Undo kind: layer creation. -1 without layers.
int DuplicateCurrentLayer(LayerNavigator& Nav);

// ---- Every layer at once -------------------------------------------------------------
// Show: every layer visible; else every layer but the background hidden.
// Undo kind: show/hide all.
void ShowAllLayers(LayerNavigator& Nav, bool Show);

// The geometry below moves every bitmap and text layer above the background
// so that it keeps its place on the background, which the caller has already
// transformed. Undo kind: all layers (the background's record). A text layer
// is rendered again from its data rather than resampled.

// Every such layer moved by (DX, DY); with Refresh the panel resynchronises.
void OffsetAllLayers(LayerNavigator& Nav, int DX, int DY, bool Refresh);
// Code: 1/-1 flip top-bottom, 2/-2 mirror left-right, 3/-4 quarter turn
// clockwise, 4/-3 anticlockwise, 5/-5 half turn; 0 nothing. The undo of the
// whole-image command calls it with the negated code. Text is never mirrored.
void FlipRotateAllLayers(LayerNavigator& Nav, int Code);
// Angle in degrees; OldWidth x OldHeight the image's size before. False,
// changing nothing, when a rotated layer would exceed the pixel limit.
bool RotateAllLayers(LayerNavigator& Nav, double Angle, int OldWidth, int OldHeight);
// Sizes and positions times the factors (rounded). False, changing nothing,
// when a scaled layer would exceed the pixel limit.
bool ScaleAllLayers(LayerNavigator& Nav, double FX, double FY);
// Bitmap layers only; Width x Height the image's size. False, changing
// nothing, when a skewed layer would exceed the pixel limit.
bool SkewAllLayers(LayerNavigator& Nav, double FX, double FY, int Width, int Height);

// ---- Commands on the selection -------------------------------------------------------
// What they need of the main window beyond the selection masks' services.
// The main window implements it; tests use a fake.
class TLayerCommandHost : public TSelMaskHost {
public:
  // The active window's layers panel; nullptr without one.
  virtual LayerNavigator* LayerNav() = 0;
  // Hides the active image's selection.
  virtual void MasquerSelection() = 0;
  // The image is edited with an alpha channel (the background has a mask);
  // with CheckBkgVisible also when the background is hidden or not opaque.
  virtual bool ModeRGBA(bool CheckBkgVisible) const = 0;
  // The tool palette's secondary colour.
  virtual TColor SecondaryColor() const = 0;
  // The part of the image the view shows, in image coordinates, and the
  // view's margin converted to image pixels.
  virtual TRect VisibleBmpRect() const = 0;
  virtual int BmpMarge() const = 0;
  // Shows the active image's selection after its shape or rectangle was set.
  virtual void AfficherSelection() = 0;
  // The active image composited and shown again; the current layer changed.
  virtual void RefreshBitmap() = 0;
  virtual void LayerChanged() = 0;
};

// ---- Placing new layers (image coordinates; only R's size counts) ------------------
// R centred in the visible part of the image, then moved back inside the
// image where it sticks out.
TRect VisibleCenterRect(TLayerCommandHost& Host, const TRect& R);
// R's size at the selection's top-left; with KeepInside moved inside the
// image.
TRect RectAtSelection(TLayerCommandHost& Host, const TRect& R, bool KeepInside);
// R overlaps the visible part of the image less its margin.
bool RectInVisibleArea(TLayerCommandHost& Host, const TRect& R);

// ---- Text layers --------------------------------------------------------------------
class TTextData;
// New: a text layer holding a copy of TextData is added above the current
// one and placed in the view's centre (R the whole image) or at the
// selection (R its rectangle); undo kind: layer creation, prepared after the
// call. Otherwise the current text layer takes TextData and renders again;
// undo kind: text data, before the call. False, changing nothing, when the
// current layer is not a text layer (without New) or there is no image.
bool ApplyTextLayer(TLayerCommandHost& Host, const QString& Caption, const TTextData& TextData, bool New,
                    const TRect& R);
// The selection becomes the text's outline (traced at 128), centred in the
// view or at the current layer's position. False, the selection unchanged,
// for a text without pixels.
bool TextDataToSelection(TLayerCommandHost& Host, const TTextData& TextData, bool Centered);

// The current bitmap layer cut to the selection's rectangle; outside a
// shape other than a rectangle it becomes transparent. Undo kind: the whole
// layer. False, changing nothing, on a layer that is not a bitmap layer or
// when nothing of the layer is selected.
bool CropLayerToSelection(TLayerCommandHost& Host);
// The image cut to the selection's rectangle: the background is cropped
// (outside a shape, transparent in RGBA mode, else the secondary colour),
// the current undo record gets the shift in its flags 5 and 6 and every
// other layer keeps its place. Undo kind: all layers, before the call.
// False, changing nothing, when the selection leaves nothing of the image.
bool CropBackgroundToSelection(TLayerCommandHost& Host);
// The selected part of the current layer as a new layer above it, cut to
// the selection's shape and the layer's transparency, then flipped or turned
// by Transform (0 none, 1 top-bottom, 2 left-right, 3 quarter turn
// clockwise, 4 anticlockwise, 5 half turn); the selection is hidden. Undo
// kind: layer creation, once the layer exists. False when nothing is
// selected.
bool SelectionToNewLayer(TLayerCommandHost& Host, const QString& Caption, int Transform);
// The selected part of the current layer as a bitmap: 24-bit, or with
// WithAlpha and a layer mask, 32-bit with alpha 255 - mask; Masked also cuts
// it to the selection's shape. False, Dest emptied, when nothing is selected.
bool BuildSelectionImage(TLayerCommandHost& Host, TBitmap& Dest);
bool BuildSelectionImageAlpha(TLayerCommandHost& Host, TBitmap& Dest);
bool BuildSelectionImageMasked(TLayerCommandHost& Host, TBitmap& Dest);

// ---- The edge of a layer's mask (undo kind: mask filter) ---------------------------
// Each works on Item's mask (an opaque one is made for a layer without) and
// is false, changing nothing, for a radius of 0 or less or a layer that is
// not a bitmap layer.
// The opaque part shrinks by Inset, then the edge is blurred by Radius
// (within the mask's content grown by Radius - Inset).
bool AlphaProgressiveContour(TLayerItem& Item, int Radius, int Inset);
// The opaque part shrinks by Radius, then its edge is scattered by Radius.
bool AlphaDispersedContour(TLayerItem& Item, int Radius);
// The edge made irregular, as torn paper; on a layer larger than 800 pixels
// the work is done on a reduced copy and edges only become more transparent.
bool SmoothLayerEdges(TLayerItem& Item);
