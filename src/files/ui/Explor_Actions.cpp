// What the image browser does with the selected thumbnail's file: the uses
// its Action submenu offers, run from the menu, a double click, Enter or a
// drop on the editor; the file operations handed to the main window; the
// properties; the custom file mask.
#include "files/ui/Explor.h"

#include "files/BmpExtOE.h"
#include "files/ui/ExplorerHost.h"
#include "i18n/LibLang.h"
#include "raster/FoncUtils.h"
#include "ui/MsgDlg.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>

TExplorUses TExplorForm::MenuActionClick() {
  const TExplorFolders F = Host.Folders();
  const TExplorUses U =
      ExplorUses(Host.UneImage(), Host.ImageUseAllowed(), InExplorFolder(CurrentDir, F.SelDir, edSel, DirFlags),
                 InExplorFolder(CurrentDir, F.MasqueDir, edMasque, DirFlags),
                 InExplorFolder(CurrentDir, F.MotifDir, edMotif, DirFlags),
                 InExplorFolder(CurrentDir, F.TextureDir, edTexture, DirFlags));
  MenuActionSel->setVisible(U.Sel);
  MenuActionMasque->setVisible(U.Masque);
  MenuActionMotif->setVisible(U.Motif);
  MenuActionTexture->setVisible(U.Texture);
  MenuActionCalque->setVisible(U.Calque);
  MenuSepAction->setVisible(U.Separator());
  return U;
}

void TExplorForm::RunUse(TExplorUse Use, bool Ask) {
  const QString File = CurrentImage();
  if (File.isEmpty()) return;
  switch (Use) {
  case TExplorUse::Sel:
    Host.ChargerForme(File);
    break;
  case TExplorUse::Motif:
    if (Ask && ShowMsgDlg(Tr(TrId::GetTrDlgExplore2), mdkConfirmation, {mdbYes, mdbNo}) != mrYes) return;
    Host.UtiliserMotif(File);
    break;
  case TExplorUse::Texture:
    Host.UtiliserTexture(File);
    break;
  case TExplorUse::Calque:
    Host.OuvrirCalque(File);
    break;
  case TExplorUse::NewImage:
    Host.OuvrirImage(File);
    break;
  case TExplorUse::Masque:
    Host.UtiliserMasque(File);
    break;
  case TExplorUse::None:
    break;
  }
}

void TExplorForm::ListViewDblClick() {
  if (CurrentImage().isEmpty()) return;
  const TExplorUses Uses = MenuActionClick();
  RunUse(ExplorDefaultUse(Uses), true);
}

void TExplorForm::FileOperation(int Op, QAction* Item) {
  const QString File = CurrentImage();
  if (File.isEmpty()) return;
  if (Host.FileIsOpen(File)) {
    ShowMsgDlg(Tr(TrId::GetTrDlgExplore1), mdkWarning, {mdbOk});
    return;
  }
  Host.CurrentFileAction(Item ? CleanMenuCaption(Item->text()) : QString(), File, Op);
}

void TExplorForm::MenuProprietesClick() {
  const QListWidgetItem* Item = ListView->currentItem();
  if (!Item || !Item->isSelected()) return;
  const TImageData& Data = ImageData(Item);
  Host.ShowProperties(Data.FullName, ExplorPropertiesText(Data, QFileInfo(Data.FullName).size(), ListView->count()),
                      Data.HasMetadata);
}

void TExplorForm::MenuFiltreClick() {
  const QString Answer = InputMsgBox(Tr(TrId::GetTrLblFilter1), FormatCaption(Tr(TrId::GetTrLblFilter2), 2),
                                     ExplorFilterDefault(FileMask));
  FileMask = ExplorFilterAnswer(Answer, GetOpenMasks());
}

// ---- Dragging a thumbnail onto the editor ---------------------------------------

void TExplorForm::CancelDrag() {
  if (FDragState == 2) QApplication::restoreOverrideCursor();
  FDragState = 0;
}

void TExplorForm::ListViewMouseDown(QMouseEvent* Event) {
  CancelDrag();
  const QListWidgetItem* Item = ListView->itemAt(Event->position().toPoint());
  if (Event->type() == QEvent::MouseButtonPress && Event->button() == Qt::LeftButton && Item) {
    FDragState = 1;
    FPtOriginDrag = Event->position().toPoint();
  }
}

void TExplorForm::ListViewMouseMove(QMouseEvent* Event) {
  if (FDragState == 1 && ExplorDragStarts(FPtOriginDrag, Event->position().toPoint())) {
    FDragState = 2;
    QApplication::setOverrideCursor(Qt::ForbiddenCursor);
  }
  if (FDragState != 2) return;
  const bool OnTarget = Host.DropTarget(Event->globalPosition().toPoint()) != 0;
  QApplication::changeOverrideCursor(OnTarget ? Qt::DragCopyCursor : Qt::ForbiddenCursor);
}

void TExplorForm::ListViewMouseUp(QMouseEvent* Event) {
  const bool Dragging = FDragState == 2;
  CancelDrag();
  if (!Dragging) return;
  const int Target = Host.DropTarget(Event->globalPosition().toPoint());
  const TExplorUses Uses = MenuActionClick();
  RunUse(ExplorDropUse(Uses, Target), true);
}
