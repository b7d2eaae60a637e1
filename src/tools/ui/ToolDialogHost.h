// What the text-layer and retouch dialogs need of the main window: the
// active image's view, the undo record prepared for the change with its
// untouched copy, the busy bracket, the text-layer commands of the layered
// document, the palette's tools and blend modes, and a few captions. The
// main window implements it and installs itself; without one the dialogs
// change no image. Depends on the document model and QtCore.
#pragma once

#include "platform/Bitmap.h"
#include "platform/Types.h"

#include <QString>

class QMenu;
class TMyImageLayeredView;
class TTextData;

class TToolDialogHost {
public:
  virtual ~TToolDialogHost() = default;

  // ---- The active image
  // Its view, nullptr without an image.
  virtual TMyImageLayeredView* ActiveView() const = 0;
  // The current layer's bitmap as the last undo preparation copied it.
  virtual const TBitmap& BmpUndo() const = 0;
  // Busy status and cursor, and their end.
  virtual void DebutAction() = 0;
  virtual void FinAction() = 0;
  // The undo record's saved pixels written back into the layer.
  virtual void RestaureBitmap() = 0;
  virtual void RefreshBitmap() = 0;
  // The prepared change dropped: pixels restored when Restaure, the record
  // deleted, Edit > Repeat forgotten.
  virtual void AnnulerFiltre(bool Restaure) = 0;
  // Edit > Repeat keeps its title but offers nothing.
  virtual void ClearLastFilterEvent() = 0;
  // The current layer changed: thumbnail, undo copies released.
  virtual void LayerChanged() = 0;
  // Menus and buttons follow the image's state.
  virtual void MajMenus() = 0;

  // ---- Text layers
  // The data of the current layer when it is a text layer, else nullptr.
  virtual TTextData* CurrentTextData() = 0;
  // A new text layer holding a copy of Data, named as the next layer, placed
  // in the view (OldSel the whole image) or at OldSel, with its undo record
  // of a layer creation. False when nothing was added.
  virtual bool AddTextLayer(const TTextData& Data, const TRect& OldSel) = 0;
  // The undo record of a text change on the current layer (consecutive
  // changes of one layer make one), before the data changes.
  virtual void PrepareTextDataUndo() = 0;
  // The current text layer rendered again from its data.
  virtual void RenderCurrentText() = 0;
  // The text's outline becomes the selection, centred in the view or at the
  // current layer's position.
  virtual void TextToSelection(const TTextData& Data, bool Centered) = 0;
  // The open-picture dialog in the patterns folder; '' when cancelled.
  virtual QString SelectPatternFile() = 0;
  // The program folder, which the folder macro of file names stands for.
  virtual QString ProgramDir() const = 0;

  // ---- The tool palette and the menus
  // The palette's tool Number becomes current (0 selection, 13 layer tool).
  virtual void SetTool(int Number) = 0;
  // The caption and blend code of entry Index of the palette's blend-mode
  // menu; an empty caption when there is none.
  virtual void LayerModeMenuItem(int Index, QString& Caption, int& Tag) const = 0;
  // The cleaned caption of the main menu item of that name.
  virtual QString TitreMenu(const QString& ItemName) const = 0;
  // A dialog's popup menu drawn as the main window's menus are.
  virtual void PreparerPopupMenu(QMenu* Menu) = 0;
};

// The installed host (not owned), nullptr when there is no main window.
inline TToolDialogHost*& ToolDialogHostSlot() {
  static TToolDialogHost* Host = nullptr;
  return Host;
}
inline TToolDialogHost* ToolDialogHost() { return ToolDialogHostSlot(); }
inline void SetToolDialogHost(TToolDialogHost* Host) { ToolDialogHostSlot() = Host; }
