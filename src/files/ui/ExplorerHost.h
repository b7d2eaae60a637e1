// What the image browser needs of the main window: the state of the active
// image, the data folders and settings file, the action bracket and status,
// the uses of a chosen file and where a dragged thumbnail lands. The main
// window implements it (app/ui/MainForm_Explorer.cpp); tests use a fake.
// Depends on QtCore only.
#pragma once

#include "files/ExplorRules.h"

#include <QPoint>
#include <QString>

class QMenu;

class TExplorerHost {
public:
  virtual ~TExplorerHost() = default;

  // ---- State
  virtual bool UneImage() const = 0;
  // The active image window's file, '' when none or not made from a file.
  virtual QString ActiveFileName() const = 0;
  // An image is open, has more than 256 colours and no transparent
  // background colour.
  virtual bool ImageUseAllowed() const = 0;
  // An image window edits FileName.
  virtual bool FileIsOpen(const QString& FileName) const = 0;
  virtual TExplorFolders Folders() const = 0;
  virtual QString MainIniFile() const = 0;
  // The main window's tool buttons' height (the thumbnails follow it).
  virtual int ToolButtonHeight() const = 0;
  // The program is ending: a running scan stops.
  virtual bool Terminating() const = 0;

  // ---- Brackets and status
  virtual void DebutAction(const QString& Msg) = 0;
  virtual void FinAction() = 0;
  virtual void SetStatusText(const QString& Text) = 0;
  virtual void DebutDialogueEx() = 0;
  virtual void FinDialogueEx() = 0;
  // A popup menu drawn like the main window's.
  virtual void PreparerPopupMenu(QMenu* Menu) = 0;
  // The browser's height changed: the frame lays itself out again.
  virtual void BrowserResized() = 0;

  // ---- Uses of a file
  virtual void ChargerForme(const QString& FileName) = 0;
  virtual void OuvrirImage(const QString& FileName) = 0;
  virtual void OuvrirCalque(const QString& FileName) = 0;
  virtual void UtiliserMotif(const QString& FileName) = 0;
  virtual void UtiliserTexture(const QString& FileName) = 0;
  // The mask-overlay dialog with the file as its mask.
  virtual void UtiliserMasque(const QString& FileName) = 0;
  // The file operation Op (0 open with its program, 1 copy, 2 move, 3
  // rename, 4 delete) titled Title; the new (or deleted) name, '' when
  // nothing was done.
  virtual QString CurrentFileAction(const QString& Title, const QString& FileName, int Op) = 0;
  // The properties dialog on FileName with the prepared text.
  virtual void ShowProperties(const QString& FileName, const QString& Text, bool HasMetadata) = 0;
  // Where a thumbnail dragged to Global would land: 2 the active image
  // window, 1 elsewhere over the main window's client area, 0 outside.
  virtual int DropTarget(const QPoint& Global) const = 0;
};
