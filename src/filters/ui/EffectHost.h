// What the texture, frame, distortion and overlay dialogs need of the main
// window beyond TFilterHost: the selection and undo records (through the
// selection-mask services), the layers panel, the painting-on-alpha option,
// the selection's outline, and the image-size and menu refreshes. The main
// window implements it and installs itself; without one the dialogs change
// no image. Depends on the document's selection masks and layer list.
#pragma once

#include "document/SelMask.h"
#include "platform/Colors.h"

class LayerNavigator;
class TUndoBmpItem;

// Undo kinds as the main window numbers them: the background and all
// layers, the current layer whole, the bitmap and (when painting on it) the
// mask, a fade.
constexpr int BkgAllUndoKind = 1;
constexpr int LayerAllUndoKind = 2;
constexpr int FilterBMUndoKind = 9;
constexpr int FilterBMDrawUndoKind = 10;
constexpr int FadeUndoKind = 23;

class TEffectHost {
public:
  virtual ~TEffectHost() = default;
  // The active image's selection, layers, undo list, BmpUndo and MaskUndo.
  virtual TSelMaskHost& Masks() = 0;
  // The active window's layers panel; nullptr without one.
  virtual LayerNavigator* LayerNav() = 0;
  // Painting on the current layer's transparency is on.
  virtual bool DessinerSurAlpha() const = 0;
  // The current layer has a transparency mask.
  virtual bool HasAlpha() const = 0;
  // The background has a mask; with CheckBkgVisible also when it is hidden
  // or not opaque.
  virtual bool ModeRGBA(bool CheckBkgVisible) const = 0;
  // The selection's outline (a frame along the layer without one) painted
  // on the current layer.
  virtual void DessinerContour(TColor Couleur, int Largeur, bool Lisser) = 0;
  // The image's size changed: views, rulers and information follow.
  virtual void TailleChangee() = 0;
  // True, after a warning, when the image holds a text layer.
  virtual bool RefuseTextLayers() = 0;
  // The active image counts as changed until saved, though its current
  // undo step is a fade.
  virtual void SetFlagUndoAttenuer() = 0;
  virtual void MajMenus() = 0;
};

// The installed host (not owned), nullptr when there is no main window.
inline TEffectHost*& EffectHostSlot() {
  static TEffectHost* Host = nullptr;
  return Host;
}
inline TEffectHost* EffectHost() { return EffectHostSlot(); }
inline void SetEffectHost(TEffectHost* Host) { EffectHostSlot() = Host; }

// The record the command under way prepared, when it saves pixels.
TUndoBmpItem* CurrentUndoBmp();
// The outline and fills are smoothed unless the selection menu says "Aucun".
bool SelectionSmoothing();
