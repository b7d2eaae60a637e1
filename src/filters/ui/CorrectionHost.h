// What the horizon and perspective corrections need of the main window
// beyond TFilterHost: the active image's background, the undo record of a
// whole-image change, the move of the layers above the background
// after a crop, and the repaints. The main window implements it and
// installs itself; without one the dialogs change nothing. Depends on
// platform types, QtCore.
#pragma once

#include "platform/Bitmap.h"

#include <QString>

class TCorrectionHost {
public:
  virtual ~TCorrectionHost() = default;
  // The active image's background layer bitmap, nullptr without an image.
  virtual TBitmap* LeFond() = 0;
  // The undo record of a change of the background and every layer, titled
  // Titre; the filter host's BmpUndo then holds the background as it was.
  virtual void PrepareBackgroundUndo(const QString& Titre) = 0;
  // The background was cropped so that its pixels moved by (DX, DY): every
  // layer above it moves alike, and the current undo record keeps the move
  // so that undo and redo put the layers back.
  virtual void ShiftUpperLayers(int DX, int DY) = 0;
  // The background's size changed.
  virtual void TailleChangee() = 0;
  // The background's pixels changed, its size did not.
  virtual void BackgroundChanged() = 0;
};

// The installed host (not owned), nullptr when there is no main window.
inline TCorrectionHost*& CorrectionHostSlot() {
  static TCorrectionHost* Host = nullptr;
  return Host;
}
inline TCorrectionHost* CorrectionHost() { return CorrectionHostSlot(); }
inline void SetCorrectionHost(TCorrectionHost* Host) { CorrectionHostSlot() = Host; }
