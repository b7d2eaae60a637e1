// Tools > image management and folder navigation: the current image file
// opened with its program, copied, moved, renamed or sent to the trash, with
// the image windows and the recent files kept in step; and the neighbouring
// image of the folder loaded in the active window.
#include "app/Commun.h"
#include "app/ui/DirForm.h"
#include "app/ui/MainForm.h"

#include "i18n/Format.h"
#include "i18n/LibLang.h"
#include "raster/FoncUtils.h"
#include "ui/DlgEx.h"
#include "ui/MsgDlg.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// Only Yes goes on: No, and the window closed, stop.
bool Confirm(const QString& Msg) { return ShowMsgDlg(Msg, mdkConfirmation, {mdbYes, mdbNo}) == mrYes; }

// What failed, and the system's reason on a line of its own.
void Failed(TrId Msg, const QString& Why) {
  const QString Text = Why.isEmpty() ? Tr(Msg) : Tr(Msg) + QLatin1Char('\r') + Why;
  ShowMsgDlg(Text, mdkWarning, {mdbOk});
}

QString SystemReason(int Error) { return QString::fromLocal8Bit(std::strerror(Error)); }

// Never onto an existing file: the file system refuses a copy or a move
// over one, and says so.
bool CopyOrMove(const QString& From, const QString& To, bool Move, QString& Why) {
  QFile File(From);
  if (Move ? File.rename(To) : File.copy(To)) return true;
  Why = QFileInfo::exists(To) ? SystemReason(EEXIST) : File.errorString();
  return false;
}

// Replaces To in one step: the old file stays whole until the new one is in
// its place.
bool ReplaceFile(const QString& From, const QString& To, QString& Why) {
  if (std::rename(QFile::encodeName(From).constData(), QFile::encodeName(To).constData()) == 0) return true;
  Why = SystemReason(errno);
  return false;
}

} // namespace

void TMainForm::FileRenamed(const QString& FileName, const QString& NewName) {
  // The recent files follow the file whether or not a window shows it.
  RenommerListeFichiers(FileName, NewName);
  TNewImgForm* W = FindImageWindow(FileName);
  if (!W) return;
  W->NomFichier = NewName;
  W->setWindowTitle(QFileInfo(NewName).fileName());
  UpdateWindowMenuItem(W, W->windowTitle());
  AfficherInfos();
}

QString TMainForm::CurrentFileAction(const QString& Caption, const QString& FileName, int Action) {
  if (FileName.isEmpty()) return {};
  const QString Name = EscapeAmpersands(FileName);
  switch (Action) {
  case 0:
    if (ShellOpen(FileName, QString())) return FileName;
    ShowMsgDlg(Tr(TrId::GetTrDlgImage3), mdkInformation, {mdbOk});
    return {};
  case 1:
  case 2: {
    static QPointer<TDirForm> Form;
    CreateFormIfNeeded(Form, this);
    Form->MainIniFile = FState.MainIniFile;
    Form->EnregistrerDir = FSettings.EnregistrerDir;
    Form->OuvrirDir = FSettings.OuvrirDir;
    const QString Folder = Form->SelectDirectory(Tr(TrId::GetDlgConfirmation), Caption + QStringLiteral(" :"));
    if (Folder.isEmpty()) return {};
    const QString NewName = ChangeFileFolder(FileName, Folder);
    if (QFileInfo(NewName).absoluteFilePath() == QFileInfo(FileName).absoluteFilePath()) {
      ShowMsgDlg(Tr(TrId::GetTrDlgImage2), mdkWarning, {mdbOk});
      return {};
    }
    const bool Move = Action == 2;
    if (!Confirm(Format(Tr(Move ? TrId::GetTrDlgImage9 : TrId::GetTrDlgImage11), {Name, EscapeAmpersands(Folder)})))
      return {};
    QString Why;
    if (!CopyOrMove(FileName, NewName, Move, Why)) {
      Failed(Move ? TrId::GetTrDlgImage8 : TrId::GetTrDlgImage10, Why);
      return {};
    }
    if (Move) {
      FileRenamed(FileName, NewName);
      ExplorerFileGone(FileName);
    }
    return NewName;
  }
  case 3: {
    QString Answer = FileNameWithoutExt(FileName);
    if (!InputMsgDlg(Caption, FormatCaption(Tr(TrId::GetTrDlgImage5), 2), Answer)) return {};
    const QString NewName = RenamedFileName(FileName, Answer);
    if (NewName.isEmpty()) return {};
    if (NewName == QFileInfo(FileName).absoluteFilePath()) {
      ShowMsgDlg(Tr(TrId::GetTrDlgImage2), mdkWarning, {mdbOk});
      return {};
    }
    if (!Confirm(Format(Tr(TrId::GetTrDlgImage7), {Name, EscapeAmpersands(NewName)}))) return {};
    // Another file of that name is replaced only when the user says so.
    const bool Replace = QFileInfo::exists(NewName);
    if (Replace && !Confirm(Format(Tr(TrId::ReplaceFileQuestion), {EscapeAmpersands(NewName)}))) return {};
    QString Why;
    if (!(Replace ? ReplaceFile(FileName, NewName, Why) : CopyOrMove(FileName, NewName, true, Why))) {
      Failed(TrId::GetTrDlgImage6, Why);
      return {};
    }
    FileRenamed(FileName, NewName);
    ExplorerFileRenamed(FileName, NewName);
    return NewName;
  }
  case 4: {
    if (!Confirm(Tr(TrId::GetTrDlgImage4))) return {};
    const QString Next = NeighbourFile(FileName, npNext);
    if (!DeleteToRecycleBin(FileName, false)) {
      Failed(TrId::TrashFailedMessage, QFileInfo::exists(FileName) ? QString() : SystemReason(ENOENT));
      return {};
    }
    SupprimerListeFichiers(FileName);
    ExplorerFileGone(FileName);
    if (TNewImgForm* W = FindImageWindow(FileName)) {
      if (!Next.isEmpty()) {
        // The next image of the folder takes the window's place.
        MdiArea()->setActiveSubWindow(W);
        FlagNaviguer = true;
        Ouvrir(Next, false, false);
        FlagNaviguer = false;
      } else {
        W->ResetModified();
        FermerImage(W, true);
      }
    }
    return FileName;
  }
  default:
    return {};
  }
}

void TMainForm::MenuGestionImageClick(QAction* Item) {
  if (!UneImage() || !EnfantActif()->IsFileSource()) return;
  const int Tag = Item->property("Tag").toInt();
  // The file goes to the trash with its window: its changes need no saving.
  if (Tag != 4 && !EnfantActif()->VerifEnregistrement()) return;
  CurrentFileAction(CleanMenuCaption(Item->text()), NomFichier(), Tag);
}

void TMainForm::MenuNaviguerClick(QAction* Item) {
  if (!UneImage() || !EnfantActif()->IsFileSource()) return;
  UpdateImageWindows();
  const int Tag = Item->property("Tag").toInt();
  const QString Current = NomFichier();
  QString Next = NeighbourFile(Current, Tag);
  if (Next.isEmpty() && LoopNavig) {
    if (Tag == npPrevious) Next = NeighbourFile(Current, npLast);
    if (Tag == npNext) Next = NeighbourFile(Current, npFirst);
  }
  if (Next.isEmpty() || !EnfantActif()->VerifEnregistrement()) return;
  FlagNaviguer = true;
  Ouvrir(Next, false, false);
  FlagNaviguer = false;
}

void TMainForm::ConnectFileManagementCommands() {
  for (const char* Name :
       {"MenuShell", "MenuCopierImage", "MenuDeplacerImage", "MenuRenommerImage", "MenuSupprimerImage"})
    Connect(Name, [this, Item = MenuItem(QString::fromLatin1(Name))] { MenuGestionImageClick(Item); });
  for (const char* Name : {"MenuNaviguerPremier", "MenuNaviguerPrecedent", "MenuNaviguerSuivant", "MenuNaviguerDernier"})
    Connect(Name, [this, Item = MenuItem(QString::fromLatin1(Name))] { MenuNaviguerClick(Item); });
}
