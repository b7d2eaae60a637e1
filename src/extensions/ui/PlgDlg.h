// TPlgDlgForm, the host's about box of a module that has no about box of its
// own: name and version, file date, author, the menu path of its command,
// file name and size, and its comment. Depends on the dialog framework of
// ui/ and the module list of extensions/; used by the main window.
#pragma once

#include "extensions/ModuleLibrary.h"
#include "ui/DialogFormEx.h"

class QLabel;
class QPushButton;

// The version number shown: from the first digit of Version up to the next
// space, trimmed; empty without a digit.
QString ModuleVersionNumber(const QString& Version);
// The author line: "(c)", "copyright" (both without regard to case) and "©"
// removed once each, trimmed, after "Copyright © ", ampersands doubled.
QString ModuleAuthorLine(const QString& Author);

class TPlgDlgForm : public TDialogFormEx {
  Q_OBJECT
public:
  explicit TPlgDlgForm(QWidget* Parent = nullptr);
  // MenuPath: the cleaned captions of the top menu and of the module
  // submenu, joined by "/".
  void SetPlugin(const TPluginItem& Item, const QString& MenuPath);

  QLabel* LblCaption;
  QLabel* LblVersion;
  QLabel* LblAuthor;
  QLabel* LblType;
  QLabel* LblFile;
  QLabel* LblComment;
  QPushButton* BOk;
};
