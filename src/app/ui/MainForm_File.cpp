// The file menu's commands of the main window that need no file: close,
// close all, quit and the recent files (new is with the image dialogs,
// MainForm_Image.cpp); the wiring of the file commands.
#include "app/ui/MainForm.h"

#include "app/StatusProgress.h"
#include "files/ui/BmpOE2.h"
#include "i18n/LibLang.h"
#include "raster/FoncUtils.h"
#include "ui/SpecialEdit.h"

#include <QAction>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenu>
#include <QToolBar>

// Closing is refused while a dialog works on an image, as every command is.
void TMainForm::MenuFichierFermerClick() {
  if (!ActionPossible(CommandSender(MenuItem("MenuFichierFermer")))) return;
  FermerImage(EnfantActif(), false);
}

void TMainForm::MenuFichierFermerToutClick() {
  if (!ActionPossible(CommandSender(MenuItem("MenuFichierFermerTout")))) return;
  while (TNewImgForm* Active = EnfantActif())
    if (!FermerImage(Active, false)) return;
  // Windows that never became active.
  while (!ImageWindows().empty())
    if (!FermerImage(ImageWindows().back(), false)) return;
}

void TMainForm::MenuFichierQuiterClick() { close(); }

// ---- Recent files ------------------------------------------------------------------------------------------------

void TMainForm::MenuFichierRecentsClick() {
  QMenu* Menu = MenuNamed("MenuFichierRecents");
  for (int I = 0; I < MaxRecentFiles; ++I) {
    const QString Name = QStringLiteral("MenuFichierRecent%1").arg(I + 1);
    QAction* Item = MenuItem(Name);
    if (!Item) {
      Item = Menu->addAction(QString());
      Item->setObjectName(Name);
      Item->setProperty("Tag", I);
      FItems.insert(Name, Item);
      connect(Item, &QAction::triggered, this, [this, I] { MenuFichierNClick(I); });
    }
    const bool Listed = I < FSettings.ListeFichiers.size();
    Item->setVisible(Listed);
    if (Listed)
      Item->setText(QStringLiteral("%1  %2").arg(I + 1).arg(
          EscapeAmpersands(EllipsisMiddle(QFileInfo(FSettings.ListeFichiers[I]).fileName(), 30))));
  }
}

void TMainForm::MenuFichierNClick(int Tag) {
  if (Tag < 0 || Tag >= FSettings.ListeFichiers.size()) return;
  Ouvrir(FSettings.ListeFichiers[Tag], true, true);
}

// ---- Set-up ------------------------------------------------------------------------------------------------------

void TMainForm::ConnectFileCommands() {
  // The image windows list themselves at the end of the window menu, after
  // its separator ImgSep.
  WindowMenu = MenuNamed("MenuFenetre");
  MenuItem("ImgSep")->setVisible(false);

  Connect("MenuFichierNouveau", [this] { MenuFichierNouveauClick(); });
  Connect("PopFormNouveau", [this] { MenuFichierNouveauClick(); });
  Connect("MenuFichierOuvrir", [this] { MenuFichierOuvrirClick(); });
  Connect("PopFormOuvrir", [this] { MenuFichierOuvrirClick(); });
  Connect("MenuFichierEnregistrer", [this] { MenuFichierEnregistrerClick(); });
  Connect("MenuFichierEnregistrerSous", [this] { MenuFichierEnregistrerSousClick(); });
  Connect("PopImgEnregistrer", [this] { MenuFichierEnregistrerClick(); });
  Connect("PopImgEnregistrerSous", [this] { MenuFichierEnregistrerSousClick(); });
  Connect("PopImgFermer", [this] { MenuFichierFermerClick(); });
  Connect("MenuFichierRetablir", [this] { MenuFichierRetablirClick(); });
  const char* SaveIn[] = {"MenuEnregistrerDansImage", "MenuEnregistrerDansMasques", "MenuEnregistrerDansMotifs",
                          "MenuEnregistrerDansTextures", "MenuEnregistrerDansPNG"};
  for (int Tag = 0; Tag < 5; ++Tag) Connect(SaveIn[Tag], [this, Tag] { MenuEnregistrerDansClick(Tag); });
  MenuItem("MenuFichierEnregistrerDans")->setProperty("Built", true);
  connect(MenuNamed("MenuFichier"), &QMenu::aboutToShow, this, &TMainForm::MenuFichierClick);
  connect(MenuNamed("MenuFichierRecents"), &QMenu::aboutToShow, this, &TMainForm::MenuFichierRecentsClick);

  InstallImageFileDialogs();
  SetSaveOptionsHost(this);
  OptionsOE.OpenTitle = CleanMenuCaption(MenuItem("MenuFichierOuvrir")->text());
  OptionsOE.SaveTitle = CleanMenuCaption(MenuItem("MenuFichierEnregistrerSous")->text());
  MajMenus();
}

void TMainForm::ReleaseFileServices() {
  FClosing = true;
  // The windows reach this form as their host: they go first, unasked.
  while (!ImageWindows().empty()) delete ImageWindows().back();
  if (SaveOptionsHost() == this) SetSaveOptionsHost(nullptr);
  FreeSaveOpForm();
  if (WindowMenu == MenuNamed("MenuFenetre")) WindowMenu = nullptr;
}

bool TMainForm::CloseImageWindows() {
  const std::vector<TNewImgForm*> Windows = ImageWindows();
  for (TNewImgForm* W : Windows)
    if (!W->VerifEnregistrement()) return false;
  for (TNewImgForm* W : Windows) FermerImage(W, true);
  return true;
}
