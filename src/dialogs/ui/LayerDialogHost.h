// What the layer dialogs (layer options and new-layer defaults, manual
// parameters of the selection, the layer and a new blank layer) need of the
// main window beyond the image dialogs' services (ImageDialogHost.h): the undo records of layer
// properties, the layer tool of the palette, the selection and its commands.
// The main window implements it and installs itself; without one the dialogs
// change no image. Depends on the image dialogs' host, the selection shapes.
#pragma once

#include "dialogs/ui/ImageDialogHost.h"
#include "document/ShapeManager.h"

#include <functional>

class QObject;

struct TIniBmpInfo;

// The undo kinds these dialogs prepare, as the main window numbers them.
constexpr int UndoKindLayerAll = 2;
constexpr int UndoKindCreateLayer = 17;

class TLayerDialogHost {
public:
  virtual ~TLayerDialogHost() = default;
  // The property records of the current layer, merged with the current
  // record when it concerns the same layer: options (true when a new record
  // was made, false when merged), and a move from OldPos.
  virtual bool PrepareLayerOptionsUndo() = 0;
  virtual void PrepareLayerPosUndo(TPoint OldPos) = 0;
  // The layer tool chosen in the palette, whose layer page is refreshed.
  virtual void SelectLayerTool() = 0;
  virtual void MajOptionsCalques() = 0;
  virtual void AfficherInfosCalque() = 0;
  // Painting on transparency is on (a new blank layer starts transparent).
  virtual bool DessinAlpha() const = 0;
  // The active image now differs from its file (undo and redo follow).
  virtual void MarkModified() = 0;
  // The active image's file name; empty when it has none.
  virtual QString NomFichier() const = 0;
  // Edit > Repeat runs Event (titled Titre) from now on.
  virtual void DernierFiltre(const QString& Titre, QObject* Sender, std::function<void(QObject*)> Event) = 0;
  // The stored defaults of a new image layer (the layer options dialog's).
  virtual void LoadIniBmp(TIniBmpInfo& Info) = 0;

  // The selection of the active image, in bitmap coordinates.
  virtual bool SelVisible() const = 0;
  virtual TRect SelBounds() const = 0;
  virtual void SetSelBounds(const TRect& R) = 0;
  virtual TMyShape SelShape() const = 0;
  virtual bool SelInvert() const = 0;
  // The selection's outline has points.
  virtual bool SelHasPoints() const = 0;
  // The rectangle a new selection starts from.
  virtual TRect SelectionDefaut() const = 0;
  virtual void MasquerSelection() = 0;
  virtual void AfficherSelection() = 0;
  // Selection > "Inverser", and the change of the selection's shape.
  virtual void InverserSelection() = 0;
  virtual void ChangerForme(TMyShape Shape) = 0;
};

// The installed host (not owned), nullptr when there is no main window.
inline TLayerDialogHost*& LayerDialogHostSlot() {
  static TLayerDialogHost* Host = nullptr;
  return Host;
}
inline void SetLayerDialogHost(TLayerDialogHost* Host) { LayerDialogHostSlot() = Host; }
// The installed host when an image is open (and the image dialogs' host is
// installed too), else nullptr.
inline TLayerDialogHost* ActiveLayerDialogHost() {
  return ActiveImageDialogHost() ? LayerDialogHostSlot() : nullptr;
}
