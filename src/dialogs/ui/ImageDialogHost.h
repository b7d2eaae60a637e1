// What the image dialogs (new image, image size, canvas size, fit, rotation,
// offset) need of the main window: the active image and its layers panel,
// the background and current layer, the undo record prepared for the
// change, the busy bracket, the refresh after a change of size, a new image
// window, the default units and the pattern file chooser. The main window
// implements it and installs itself; without one the dialogs change no image.
// Depends on the document model and its undo records, QtCore.
#pragma once

#include "document/LayerNavigator.h"
#include "document/MyImageLayered.h"
#include "document/Undo.h"
#include "platform/Bitmap.h"

#include <QString>

// The undo kinds the dialogs prepare, as the main window numbers them: a
// change of the image's properties only, and a change of the background
// (made current, its bitmap copied into BmpUndo) that may reach every layer.
constexpr int UndoKindBkgNone = 0;
constexpr int UndoKindBkgAll = 1;

class TImageDialogHost {
public:
  virtual ~TImageDialogHost() = default;
  // An image is open: the services below up to TailleChangee require one.
  virtual bool UneImage() const = 0;
  virtual TMyImageLayered& Image() = 0;
  virtual LayerNavigator& LayerNav() = 0;
  virtual TBitmap& LeFond() = 0;
  virtual TBitmap& LeBitmap() = 0;
  virtual TBitmap& LeMasque() = 0;
  // The current layer's bitmap as the last undo preparation copied it.
  virtual TBitmap& BmpUndo() = 0;
  // The background has a mask; with CheckBkgVisible also when it is hidden
  // or not opaque.
  virtual bool ModeRGBA(bool CheckBkgVisible) const = 0;
  // More than 256 colours.
  virtual bool Mode16M() const = 0;
  virtual int NbCouleurs() const = 0;
  virtual void PreparerUndo(int Kind, const QString& Titre) = 0;
  // The record PreparerUndo made, nullptr when none.
  virtual TUndoItem* CurrentUndo() = 0;
  // Restores when Restaure, then deletes the current undo record.
  virtual void AnnulerFiltre(bool Restaure) = 0;
  // The undo record's saved pixels written back into the layer.
  virtual void RestaureBitmap() = 0;
  virtual void DebutAction(const QString& Msg, bool ChangerCurseur) = 0;
  virtual void FinAction() = 0;
  virtual void RefreshBitmap() = 0;
  virtual void LayerChanged() = 0;
  // After a change of the image's size.
  virtual void TailleChangee() = 0;

  // A new image window taking Document's layers; the new window's image,
  // nullptr when none could be made (the user was told).
  virtual TMyImageLayered* NouvelleImage(TMyImageLayered& Document) = 0;
  // Menus and status information after a new image.
  virtual void MajMenus() = 0;
  virtual void AfficherInfos() = 0;
  // The cleaned caption of the main menu item of that name.
  virtual QString TitreMenu(const QString& ItemName) const = 0;
  // The default unit of sizes (0 pixels, 1 centimetres, 2 inches) and of
  // printing (0 centimetres, 1 inches).
  virtual int UniteDefaut() const = 0;
  virtual int UniteDefautPrn() const = 0;
  // The open-picture dialog in the patterns folder; '' when cancelled.
  virtual QString SelectPatternFile() = 0;
  // The patterns folder, where pattern files named without a folder lie.
  virtual QString PatternDir() const = 0;
};

// The installed host (not owned), nullptr when there is no main window.
inline TImageDialogHost*& ImageDialogHostSlot() {
  static TImageDialogHost* Host = nullptr;
  return Host;
}
inline TImageDialogHost* ImageDialogHost() { return ImageDialogHostSlot(); }
inline void SetImageDialogHost(TImageDialogHost* Host) { ImageDialogHostSlot() = Host; }
// The installed host when an image is open, else nullptr.
inline TImageDialogHost* ActiveImageDialogHost() {
  TImageDialogHost* Host = ImageDialogHost();
  return Host && Host->UneImage() ? Host : nullptr;
}
