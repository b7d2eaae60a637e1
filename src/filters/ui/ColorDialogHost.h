// What the colour dialogs need of the main window beyond TFilterHost: the
// background layer's bitmap, the image's colour count, the menu and
// information refresh, the layer's transparency and selection masks.
// The main window implements it and installs itself. Depends on platform.
#pragma once

#include "platform/Bitmap.h"

#include <memory>

class TColorDialogHost {
public:
  virtual ~TColorDialogHost() = default;
  // The background layer's bitmap of the active image.
  virtual TBitmap& LeFond() = 0;
  virtual int NbCouleurs() const = 0;
  virtual void SetNbCouleurs(int Value) = 0;
  virtual void MajMenus() = 0;
  virtual void AfficherInfos() = 0;
  // The current layer has a transparency mask (LeMasque of TFilterHost).
  virtual bool HasAlpha() const = 0;
  // A grey mask of the whole current layer, white inside the shown selection
  // and black outside; nullptr without a shown selection.
  virtual std::unique_ptr<TBitmap> SelectionMask() = 0;
};

inline TColorDialogHost*& ColorDialogHostSlot() {
  static TColorDialogHost* Host = nullptr;
  return Host;
}
inline TColorDialogHost* ColorDialogHost() { return ColorDialogHostSlot(); }
inline void SetColorDialogHost(TColorDialogHost* Host) { ColorDialogHostSlot() = Host; }
