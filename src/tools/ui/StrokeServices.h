// What the painting tools ask of the main window: the active image's view,
// the undo record of a stroke or a one-click tool, the action bracket, the
// selection's display and the confinement of a change to its shape. The
// main window implements it; the selection masks, the work rectangle and the
// undo copies come through its TSelMaskHost. Depends on document/.
#pragma once

#include "document/SelMask.h"
#include "platform/Colors.h"

#include <QString>

class TMyImageLayeredView;

// The undo records a tool prepares: the bitmap, the bitmap and mask (the
// bitmap alone unless painting goes to the mask too), the mask, or a filter
// of bitmap and mask (of the bitmap alone likewise).
enum class TToolUndo { DrawBmp, DrawBM, DrawMask, FiltreBM_D };

class TStrokeServices {
public:
  virtual ~TStrokeServices() = default;

  virtual TSelMaskHost& MaskHost() = 0;
  // The active image's view; nullptr without an image.
  virtual TMyImageLayeredView* ActiveView() const = 0;
  // Painting changes the current layer's mask too.
  virtual bool DessinerSurAlpha() const = 0;
  // The record of the coming change on the current layer, BmpUndo and
  // MaskUndo copied (MaskHost).
  virtual void PrepareUndo(TToolUndo Kind, const QString& Title) = 0;
  // The current layer changed: thumbnail, undo copies emptied.
  virtual void LayerChanged() = 0;
  virtual void DebutAction() = 0;
  virtual void FinAction() = 0;
  virtual void AfficherSelection() = 0;
  virtual void MasquerSelection() = 0;
  // The selection's outline animation frozen or resumed.
  virtual void LockSelectionAnimation(bool Lock) = 0;
  // The change just made kept inside the selection's shape (0 hard, 1
  // feathered, 2 anti-aliased).
  virtual void AppliquerMasqueSel(int Mode) = 0;
  virtual void RefreshBitmap() = 0;
  // The selection's outline drawn on the current layer.
  virtual void DessinerContour(TColor Color, int Width, bool Smooth) = 0;
  // The undo preparation may grow the layer to the image.
  virtual bool AutoExpandLayer() const = 0;
  // The selection combine mode chosen for the next selection (0 replace, 1
  // add, 2 subtract), and the one applied to the selection being made.
  virtual int CombineSelMode() const = 0;
  virtual void SetCombineSelMode(int Mode) = 0;
  virtual void SetCurrentCombineSel(int Mode) = 0;
  // The colour of the active image at a client point, merged or of the
  // current layer.
  virtual TColor ImageColorAtClient(int X, int Y, bool Merged) = 0;
};
