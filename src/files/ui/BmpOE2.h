// The program's file dialogs: the image open dialogs (one file or several),
// the image save dialog, the open and save dialogs limited to one extension,
// and the open dialog for programs. Each configures a Qt file dialog (never
// the desktop's native one, so that it behaves the same everywhere), shows it
// modally, answers the chosen name (empty when cancelled), then lets the
// interface thread handle its pending events once so that the windows it
// covered repaint before the caller starts. Depends on the load and save
// dispatch (OptionsOE, the installed dialogs) and BmpExtOE (the filters);
// used by the main window, the layer export, the icon export and the
// curve dialogs.
//
// Tests install a provider (SetFileDialogProvider) that receives the
// configured dialog's state and answers in place of the user.
#pragma once

#include <QFileDialog>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The open dialog of the image and single-extension open functions: a Qt
// file dialog with the Preview switch they keep between calls.
class TOpenPictureDialogEx : public QFileDialog {
  Q_OBJECT
public:
  explicit TOpenPictureDialogEx(QWidget* Parent = nullptr);
  bool Preview = true;
};

// What a dialog shows when it opens, read back from the configured dialog.
struct TFileDialogState {
  bool Save = false;
  QString Title;
  QStringList Filters;    // Qt's form: "JPEG (*.jpg *.jpeg *.jpe)"
  QString SelectedFilter; // one of Filters
  QString DefaultSuffix;  // without its dot ("jpg"); appended to a name without extension
  QString Directory;      // the folder it opens in
  QString FileName;       // the name field
  bool MultiSelect = false;
  bool FileMustExist = false; // open dialogs
  bool ConfirmOverwrite = false;
  bool Native = false;
  bool CaseSensitiveFilters = false;
  // The open dialogs' Preview switch; a provider may change it as a user would.
  bool Preview = true;
};

// Answers the chosen files (an empty list cancels); replaces the modal dialog.
using TFileDialogProvider = std::function<QStringList(TFileDialogState& State)>;
// Installs Provider (an empty one shows the real dialogs again); answers the
// one it replaces.
TFileDialogProvider SetFileDialogProvider(TFileDialogProvider Provider);

// The open dialog over the open filter; InitialDir when not empty.
QString OpenImageDialog(const QString& InitialDir);
// The same with several files; no value when cancelled.
std::optional<QStringList> OpenImagesDialog(const QString& InitialDir);
// The save dialog over the save filter. A suggested FileName gives the folder
// (when it exists), the name field and the preselected file type with its
// default extension; a name whose extension no type holds preselects the
// first type.
QString SaveImageDialog(const QString& FileName);
// One file type: TypeName (or the extension in capitals) with the mask of
// FileName's extension cut to three letters. FileName is a name, or only an
// extension beginning with a dot, which leaves the name field empty.
QString OpenFileDialogExt(const QString& FileName, const QString& TypeName, const QString& InitialDir,
                          const QString& Title);
QString SaveFileDialogExt(const QString& FileName, const QString& TypeName, const QString& InitialDir,
                          const QString& Title);
// A program: one type FilterName, opening at the root of the program's own
// file system path.
QString OpenProgramDialog(const QString& Title, const QString& FilterName);

// Called once at start-up: the dispatch's loads and saves without a file name
// show OpenImageDialog and SaveImageDialog.
void InstallImageFileDialogs();
