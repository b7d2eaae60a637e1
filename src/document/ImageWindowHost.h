// What an image window asks of the main window: its settings and the few
// services it calls (saving, the format-loss question, the status display,
// the undo record of a layer move or reorder). The main window implements
// it; tests use a small fake. Depends on platform types only.
#pragma once

#include "platform/Colors.h"
#include "platform/Types.h"

#include <QString>

class QMenu;

class TImageWindowHost {
public:
  virtual ~TImageWindowHost() = default;

  // ---- Settings read when a window is created or restyled
  virtual bool CadreOmbre() const = 0;      // frame and shadow around images
  virtual int TailleGrille() const = 0;     // grid step
  virtual TColor CouleurGrille() const = 0; // grid colour
  virtual int UniteGrille() const = 0;      // 0 pixels, 1 cm, 2 inch
  virtual int NbHistoriques() const = 0;    // undo depth
  virtual bool SelCalqueAuto() const = 0;   // a press selects the layer under it
  virtual bool LimitesCalqueActif() const = 0;
  virtual bool NumCalque() const = 0;   // layer numbers in the panel
  virtual bool Smoothing() const = 0;   // smoothed zoomed display
  virtual int LayerNavSize() const = 0; // 0 hidden, -1 text only, else thumbnail width

  // ---- Services
  // Saves the active image to FileName, or asks for a name with DefaultName
  // proposed; false when cancelled or failed.
  virtual bool Enregistrer(const QString& FileName, const QString& DefaultName, bool SaveDir, bool TestFic) = 0;
  // True when saving to FileName may go on (nothing is lost, or the user
  // accepts the loss).
  virtual bool ConfirmFormatLoss(const QString& FileName) = 0;
  // Status display of the mouse position (client point), and its clearing.
  virtual void ChangerPosition(TPoint P) = 0;
  virtual void InitPosition() = 0;
  // The active window changed, or its layers did: menus and information.
  virtual void MajMenus() = 0;
  // The status bar's size, mode and file or selection of the active window.
  virtual void AfficherInfos() = 0;
  virtual void AfficherInfosCalque() = 0;
  // Undo records of a move of the current layer (OldPos: where it was) and of
  // a change of layer order (Index: the index the current layer came from).
  virtual void PrepareLayerPosUndo(TPoint OldPos) = 0;
  virtual void PrepareLayerIndexUndo(int Index) = 0;
  // The current layer's pixels or position changed.
  virtual void LayerChanged() = 0;
  // The menu a right click on an image window's title bar opens (the one of
  // the current editing mode), or nullptr.
  virtual QMenu* PopupMenuBar() const = 0;
};
