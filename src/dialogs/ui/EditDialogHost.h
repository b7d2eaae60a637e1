// What the frame, shadow, cut-out, selection-width, assemble, new
// background, export-layer and history dialogs need of the main window
// beyond TImageDialogHost: the selection, Edit > Repeat, the tool palette's
// background colour, the save folder, one step of undo or redo and the
// layers panel's thumbnails. The main window implements it and installs
// itself; without one the dialogs change no image. Depends on the selection
// masks and undo list of document/, QtCore.
#pragma once

#include "document/SelMask.h"
#include "document/Undo.h"
#include "platform/Colors.h"

#include <QString>

#include <functional>

class QObject;

// The undo kind of a new background slid under the layers, as the main
// window numbers its kinds.
constexpr int UndoKindInsertBkg = 19;

class TEditDialogHost {
public:
  virtual ~TEditDialogHost() = default;
  // The active image's selection as the selection masks reach it.
  virtual TSelMaskHost& SelMasks() = 0;
  // The work rectangle of pixel commands in current-layer coordinates.
  virtual TRect LaSelection() const = 0;
  virtual void MasquerSelection() = 0;
  virtual void AfficherSelection() = 0;
  // Edit > Repeat runs Event with Sender again.
  virtual void DernierFiltre(const QString& Titre, QObject* Sender, std::function<void(QObject*)> Event, int Flag) = 0;
  // The tool palette's background colour.
  virtual TColor CouleurFond() const = 0;
  // The folder the save dialogs start in.
  virtual QString EnregistrerDir() const = 0;
  // The active image's history, and one full step back or forward in it.
  virtual TUndoList& ListeUndo() = 0;
  virtual void Undo() = 0;
  virtual void Redo() = 0;
  // The layers panel stops (true) or resumes refreshing its thumbnails.
  virtual void SetDisableThumbUpdate(bool Value) = 0;
};

inline TEditDialogHost*& EditDialogHostSlot() {
  static TEditDialogHost* Host = nullptr;
  return Host;
}
inline TEditDialogHost* EditDialogHost() { return EditDialogHostSlot(); }
inline void SetEditDialogHost(TEditDialogHost* Host) { EditDialogHostSlot() = Host; }
