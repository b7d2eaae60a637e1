// What the texture, frame, distortion and overlay dialogs need of the main
// window beyond TFilterHost: the layers panel, the layer's and background's
// masks, the selection's outline, and the image-size and menu refreshes. The main
// window implements it and installs itself; without one the dialogs change
// no image. Depends on the document's selection masks and layer list.
#pragma once

#include "document/SelMask.h"
#include "filters/ui/FilterHost.h"
#include "platform/Colors.h"

class LayerNavigator;
class TUndoBmpItem;

class TEffectHost {
public:
  virtual ~TEffectHost() = default;
  // The active window's layers panel; nullptr without one.
  virtual LayerNavigator* LayerNav() = 0;
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
