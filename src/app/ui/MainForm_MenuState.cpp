// The state of the main window's menus and buttons: what follows the
// active image after every command and change of window. Which commands a
// state allows is decided here only.
#include "app/ui/MainForm.h"

#include "i18n/LibLang.h"
#include "tools/ui/Outils.h"
#include "ui/SpecialEdit.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>

void TMainForm::EnableCommand(const char* Name, bool Enabled) {
  QAction* Item = MenuItem(QString::fromLatin1(Name));
  if (Item && Item->property("Built").toBool()) Item->setEnabled(Enabled);
}

void TMainForm::MajMenus() {
  // The zoom edit shows the zoom of the window now active.
  RestaureZoom();
  MajUndoRedo();
  UpdateToolButtons();
  MenuFichierClick();
  // The palette's tools follow the active image and layer.
  if (TOutilsForm* Tools = Palette()) Tools->MajBoutons();
}

void TMainForm::MajUndoRedo() {
  const TUndoList* List = UneImage() ? EnfantActif()->ListeUndo.get() : nullptr;
  const TUndoItem* Current = List ? List->CurrentUndo() : nullptr;
  const TUndoItem* Next = List ? List->NextUndo() : nullptr;
  const auto Update = [this](const char* Item, const char* Button, TrId Key, const TUndoItem* Record) {
    QAction* Menu = MenuItem(QString::fromLatin1(Item));
    Menu->setText(Record ? Tr(Key) + QLatin1Char(' ') + Record->Caption : Tr(Key));
    EnableCommand(Item, Record != nullptr);
    if (QAction* Btn = ToolBar(1)->findChild<QAction*>(QString::fromLatin1(Button))) {
      QString Hint = Menu->text();
      if (!Menu->shortcut().isEmpty())
        Hint += QStringLiteral(" [%1]").arg(Menu->shortcut().toString(QKeySequence::NativeText));
      Btn->setToolTip(Hint);
    }
  };
  Update("MenuEditionUndo", "BtnUndo", TrId::GetTrMnuUndo, Current);
  Update("MenuEditionRedo", "BtnRedo", TrId::GetTrMnuRedo, Next);
  EnableCommand("MenuEditionHistoriques", Current || Next);
  EnableCommand("MenuFichierEnregistrer", UneImage() && EnfantActif()->Modified());
}

void TMainForm::UpdateToolButtons() {
  // The buttons follow the enabled state of their menu items; the zoom
  // edit and the selection button follow the image directly.
  FEdiZoom->setEnabled(UneImage());
  if (QAction* Btn = ToolBar(1)->findChild<QAction*>("BtnSelection")) Btn->setEnabled(UneImage());
  EnableCommand("MenuZoomAuto", UneImage());
  EnableCommand("MenuZoom100", UneImage() && FEdiZoom->ItemIndex() != 100);
  RefreshMenuStates();
  MajBtnPlugins();
}

void TMainForm::MenuFichierClick() {
  const bool Image = UneImage();
  const bool Modified = Image && EnfantActif()->Modified();
  const bool FromFile = Image && EnfantActif()->IsFileSource();
  for (const char* Name : {"MenuFichierEnregistrerSous", "MenuFichierEnregistrerDans", "MenuFichierFermer",
                           "MenuFichierFermerTout", "MenuFichierInfos", "MenuFichierImprimer"})
    EnableCommand(Name, Image);
  EnableCommand("MenuFichierEnregistrer", Modified);
  EnableCommand("MenuFichierRetablir", Modified && FromFile);
  EnableCommand("MenuEnregistrerDansImage", FromFile);
  MenuNamed("MenuFichierRecents")->menuAction()->setEnabled(!FSettings.ListeFichiers.isEmpty());
}

void TMainForm::UpdateWindowMenu() {
  // The image windows list themselves after the separator; the commands
  // need a window and no dialog.
  const bool Any = !ImageWindows().empty();
  MenuItem("ImgSep")->setVisible(Any);
  for (const char* Name : {"MenuFenetreCascade", "MenuFenetreMosaiqueH", "MenuFenetreMosaiqueV", "MenuFenetreReduire",
                           "MenuFenetreRestaure"})
    EnableCommand(Name, Any && !FDialogueForm);
}
