// What the filter dialogs need of the main window: the current layer and the
// work rectangle, the busy bracket, the undo record prepared by the menu
// command (restore, cancel, the unfiltered copy), the repaint, and the
// registration for Edit > Repeat. The main window implements it and installs
// itself; nothing is installed without one (dialogs then do nothing to any
// image). Depends on platform types, QtCore, the selection masks of document.
#pragma once

#include "platform/Bitmap.h"
#include "platform/Colors.h"
#include "platform/Types.h"

#include <QString>

#include <cstdint>
#include <functional>

class QObject;
class TSelMaskHost;

// The undo kind of an ordinary filter, as the main window numbers its kinds.
constexpr int FilterUndoKind = 7;
// A change of the current layer's transparency mask only.
constexpr int FilterMaskUndoKind = 8;
// A filter that also paints on the layer's transparency when painting on
// transparency is on (else an ordinary filter).
constexpr int FilterPaintUndoKind = 10;
// The background and all layers, the current layer whole, its bitmap alone,
// a fade.
constexpr int BkgAllUndoKind = 1;
constexpr int LayerAllUndoKind = 2;
constexpr int FilterBMUndoKind = 9;
constexpr int FadeUndoKind = 23;

// The data folders where the overlay dialogs' pictures are chosen.
enum class TOverlayFolder : uint8_t { Masks, Png, Textures };

class TFilterHost {
public:
  virtual ~TFilterHost() = default;
  // An image is open: the services below require one.
  virtual bool UneImage() const = 0;
  virtual TBitmap& LeBitmap() = 0;
  virtual TBitmap& LeMasque() = 0;
  virtual TRect LaSelection() const = 0;
  // The current layer's bitmap as the last undo preparation copied it.
  virtual const TBitmap& BmpUndo() const = 0;
  // Busy status text (empty: the default) and cursor, and their end.
  virtual void DebutAction(const QString& Msg, bool ChangerCurseur) = 0;
  virtual void FinAction() = 0;
  // The undo record's saved pixels written back into the layer.
  virtual void RestaureBitmap() = 0;
  // The saved pixels blended back outside the selection's shape.
  virtual void AppliquerMasqueSel(int Flag) = 0;
  virtual void RefreshBitmap() = 0;
  // Restores when Restaure, deletes the current undo record, forgets Repeat.
  virtual void AnnulerFiltre(bool Restaure) = 0;
  virtual void LayerChanged() = 0;
  virtual void PreparerUndo(int Info, const QString& Titre) = 0;
  virtual void DernierFiltre(const QString& Titre, QObject* Sender, std::function<void(QObject*)> Event, int Flag) = 0;
  // The command remembered for Edit > Repeat loses its handler.
  virtual void ClearLastFilterEvent() = 0;
  // The active image now differs from its file.
  virtual void MarkModified() = 0;
  // The cleaned caption of the main menu item of that name.
  virtual QString TitreMenu(const QString& ItemName) const = 0;
  // The AutoReset preference: dialogs start from their defaults.
  virtual bool AutoReset() const = 0;
  // The selection, the undo record under way and the copies taken with it
  // (BmpUndo, MaskUndo), as the selection masks reach them.
  virtual TSelMaskHost& SelMasks() = 0;
  // Painting also makes the current layer's mask opaque.
  virtual bool DessinerSurAlpha() const = 0;
  // The program's "Data" folder: where the dialogs' own files (curves) start.
  virtual QString DataDir() const = 0;
  // The open-picture dialog in the patterns folder; '' when cancelled.
  virtual QString SelectPatternFile() = 0;
  virtual QString OverlayFolder(TOverlayFolder Which) const = 0;
};

// The busy status and cursor for a scope: DebutAction (Msg empty: the
// default text) now, FinAction on every way out.
class TBusyAction {
public:
  explicit TBusyAction(TFilterHost& Host, const QString& Msg = QString()) : FHost(Host) { Host.DebutAction(Msg, true); }
  ~TBusyAction() { FHost.FinAction(); }
  TBusyAction(const TBusyAction&) = delete;
  TBusyAction& operator=(const TBusyAction&) = delete;

private:
  TFilterHost& FHost;
};

// The installed host (not owned), nullptr when there is no main window.
inline TFilterHost*& FilterHostSlot() {
  static TFilterHost* Host = nullptr;
  return Host;
}
inline TFilterHost* FilterHost() { return FilterHostSlot(); }
inline void SetFilterHost(TFilterHost* Host) { FilterHostSlot() = Host; }
