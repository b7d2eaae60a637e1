#include "files/ui/BmpOE2.h"

#include "files/BmpExtOE.h"
#include "files/BmpOE2.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

#include <type_traits>
#include <utility>

TOpenPictureDialogEx::TOpenPictureDialogEx(QWidget* Parent) : QFileDialog(Parent) {}

namespace {

TFileDialogProvider& Provider() {
  static TFileDialogProvider Installed;
  return Installed;
}

// Qt's name filter of one file type: the masks between parentheses, spaced.
QString NameFilterOf(const TFileTypeItem& Item) {
  QString Masks = Item.FileMask;
  Masks.replace(QLatin1Char(';'), QLatin1Char(' '));
  return Item.DisplayName + QStringLiteral(" (") + Masks + QLatin1Char(')');
}

// Options every dialog shares: Qt's own dialog, and masks that match the
// extension in any case (a camera's ".JPG" is a JPEG file too).
void SetCommonOptions(QFileDialog& Dialog, const QString& Title) {
  Dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  Dialog.setFilter(Dialog.filter() & ~QDir::CaseSensitive);
  if (!Title.isEmpty()) Dialog.setWindowTitle(Title);
}

void SetOpenOptions(QFileDialog& Dialog, const QString& Title, bool MultiSelect) {
  SetCommonOptions(Dialog, Title);
  Dialog.setAcceptMode(QFileDialog::AcceptOpen);
  Dialog.setFileMode(MultiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
}

void SetSaveOptions(QFileDialog& Dialog, const QString& Title) {
  SetCommonOptions(Dialog, Title);
  Dialog.setAcceptMode(QFileDialog::AcceptSave);
  Dialog.setFileMode(QFileDialog::AnyFile);
  Dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
}

// The types, the preselected one (1-based; the first when out of range) and
// its first mask's extension as the default suffix.
void SetFileTypes(QFileDialog& Dialog, const TFileTypeItems& Items, int Index) {
  QStringList Filters;
  for (const TFileTypeItem& Item : Items) Filters << NameFilterOf(Item);
  Dialog.setNameFilters(Filters);
  if (Filters.isEmpty()) return;
  if (Index < 1 || Index > int(Items.size())) Index = 1;
  Dialog.selectNameFilter(Filters[Index - 1]);
  QString Suffix = FilterEntryDefaultExt(Items, Index);
  if (Suffix.startsWith(QLatin1Char('.'))) Suffix.remove(0, 1);
  // A mask such as "*.*" names no extension.
  if (!Suffix.contains(QLatin1Char('*')) && !Suffix.contains(QLatin1Char('?'))) Dialog.setDefaultSuffix(Suffix);
}

void SetFolder(QFileDialog& Dialog, const QString& Folder) {
  if (!Folder.isEmpty() && QFileInfo(Folder).isDir()) Dialog.setDirectory(Folder);
}

void SetNameField(QFileDialog& Dialog, const QString& Name) {
  if (!Name.isEmpty()) Dialog.selectFile(Name);
}

TFileDialogState StateOf(const QFileDialog& Dialog) {
  TFileDialogState State;
  State.Save = Dialog.acceptMode() == QFileDialog::AcceptSave;
  State.Title = Dialog.windowTitle();
  State.Filters = Dialog.nameFilters();
  State.SelectedFilter = Dialog.selectedNameFilter();
  State.DefaultSuffix = Dialog.defaultSuffix();
  State.Directory = Dialog.directory().absolutePath();
  if (const auto* Edit = Dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) State.FileName = Edit->text();
  State.MultiSelect = Dialog.fileMode() == QFileDialog::ExistingFiles;
  State.FileMustExist = Dialog.fileMode() == QFileDialog::ExistingFile || State.MultiSelect;
  State.ConfirmOverwrite = State.Save && !Dialog.testOption(QFileDialog::DontConfirmOverwrite);
  State.Native = !Dialog.testOption(QFileDialog::DontUseNativeDialog);
  State.CaseSensitiveFilters = Dialog.filter().testFlag(QDir::CaseSensitive);
  return State;
}

// Shows the dialog, or asks the provider; Preview is carried through when
// given. The chosen files, empty when cancelled.
QStringList Run(QFileDialog& Dialog, bool* Preview) {
  TFileDialogState State = StateOf(Dialog);
  if (Preview) State.Preview = *Preview;
  QStringList Files;
  if (const TFileDialogProvider Answer = Provider()) {
    Files = Answer(State);
  } else if (Dialog.exec() == QDialog::Accepted) {
    Files = Dialog.selectedFiles();
  }
  if (Preview) *Preview = State.Preview;
  return Files;
}

// Once the dialog is gone, the windows it covered repaint before the caller
// starts its work.
void HandlePendingEvents() { QCoreApplication::processEvents(); }

QString FirstOf(const QStringList& Files) { return Files.isEmpty() ? QString() : Files.first(); }

std::optional<QStringList> RunImageOpenDialog(const QString& InitialDir, bool MultiSelect) {
  QStringList Files;
  {
    TOpenPictureDialogEx Dialog(QApplication::activeWindow());
    SetOpenOptions(Dialog, OptionsOE.OpenTitle, MultiSelect);
    SetFolder(Dialog, InitialDir);
    TFileTypeItems Items;
    FilterToFileTypes(Items, GetOpenFilter());
    SetFileTypes(Dialog, Items, 1);
    Dialog.Preview = OptionsOE.ShowPreview;
    Files = Run(Dialog, &Dialog.Preview);
    OptionsOE.ShowPreview = Dialog.Preview;
  }
  HandlePendingEvents();
  if (Files.isEmpty()) return std::nullopt;
  return Files;
}

// The lower-case extension of FileName without its dot, three letters at
// most.
QString ShortExt(const QString& FileName) {
  QString Ext = LowerFileExt(FileName);
  if (Ext.startsWith(QLatin1Char('.'))) Ext.remove(0, 1);
  return Ext.left(3);
}

template <class TDialog>
QString RunSingleExtDialog(bool Save, const QString& FileName, const QString& TypeName, const QString& InitialDir,
                           const QString& Title) {
  QStringList Files;
  {
    TDialog Dialog(QApplication::activeWindow());
    if (Save)
      SetSaveOptions(Dialog, Title);
    else
      SetOpenOptions(Dialog, Title, false);
    SetFolder(Dialog, InitialDir);
    TFileTypeItems Items;
    FilterToFileTypes(Items, MakeFilterEntry(TypeName, ShortExt(FileName)));
    SetFileTypes(Dialog, Items, 1);
    if (!FileName.startsWith(QLatin1Char('.'))) SetNameField(Dialog, QFileInfo(FileName).fileName());
    if constexpr (std::is_same_v<TDialog, TOpenPictureDialogEx>) {
      Dialog.Preview = OptionsOE.ShowPreview;
      Files = Run(Dialog, &Dialog.Preview);
      OptionsOE.ShowPreview = Dialog.Preview;
    } else {
      Files = Run(Dialog, nullptr);
    }
  }
  HandlePendingEvents();
  return FirstOf(Files);
}

} // namespace

TFileDialogProvider SetFileDialogProvider(TFileDialogProvider Value) {
  return std::exchange(Provider(), std::move(Value));
}

QString OpenImageDialog(const QString& InitialDir) {
  return FirstOf(RunImageOpenDialog(InitialDir, false).value_or(QStringList()));
}

std::optional<QStringList> OpenImagesDialog(const QString& InitialDir) { return RunImageOpenDialog(InitialDir, true); }

QString SaveImageDialog(const QString& FileName) {
  QStringList Files;
  {
    QFileDialog Dialog(QApplication::activeWindow());
    SetSaveOptions(Dialog, OptionsOE.SaveTitle);
    TFileTypeItems Items;
    FilterToFileTypes(Items, GetSaveFilter());
    int Index = 1;
    if (!FileName.isEmpty()) {
      const QFileInfo Info(FileName);
      if (FileName.contains(QLatin1Char('/'))) SetFolder(Dialog, Info.absolutePath());
      Index = FileTypeIndexOf(FileName, Items);
    }
    SetFileTypes(Dialog, Items, Index);
    if (!FileName.isEmpty()) SetNameField(Dialog, QFileInfo(FileName).fileName());
    Files = Run(Dialog, nullptr);
  }
  HandlePendingEvents();
  return FirstOf(Files);
}

QString OpenFileDialogExt(const QString& FileName, const QString& TypeName, const QString& InitialDir,
                          const QString& Title) {
  return RunSingleExtDialog<TOpenPictureDialogEx>(false, FileName, TypeName, InitialDir, Title);
}

QString SaveFileDialogExt(const QString& FileName, const QString& TypeName, const QString& InitialDir,
                          const QString& Title) {
  return RunSingleExtDialog<QFileDialog>(true, FileName, TypeName, InitialDir, Title);
}

QString OpenProgramDialog(const QString& Title, const QString& FilterName) {
  QStringList Files;
  {
    QFileDialog Dialog(QApplication::activeWindow());
    SetOpenOptions(Dialog, Title, false);
    // The root of the program's own path, as a drive is elsewhere.
    SetFolder(Dialog, QDir(QCoreApplication::applicationDirPath()).rootPath());
    // Programs carry no extension here: every file is offered.
    Dialog.setNameFilters({FilterName + QStringLiteral(" (*)")});
    Files = Run(Dialog, nullptr);
  }
  HandlePendingEvents();
  return FirstOf(Files);
}

void InstallImageFileDialogs() { SetImageFileDialogs(OpenImageDialog, SaveImageDialog); }
