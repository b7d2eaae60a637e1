// The file menu's commands of the main window that need no file: new,
// close, close all, quit and the recent files; and the state of the menus
// and buttons that follow the active image.
#include "app/ui/MainForm.h"
#include "tools/ui/Outils.h"

#include "app/StatusProgress.h"
#include "files/ui/BmpOE2.h"
#include "i18n/Format.h"
#include "i18n/LibLang.h"
#include "raster/FoncUtils.h"
#include "ui/MsgDlg.h"
#include "ui/SpecialEdit.h"
#include "ui/UtilsDPI.h"

#include <QAction>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenu>
#include <QToolBar>

#include <new>

void TMainForm::MenuFichierNouveauClick() {
  if (!ActionPossible(MenuItem("MenuFichierNouveau"))) return;
  // The new-image dialog's defaults: 800 x 600 pixels, white, at the
  // screen's resolution.
  constexpr int Width = 800, Height = 600;
  try {
    // The document is whole before its window exists: running out of memory
    // leaves no half-made window.
    TMyImageLayered Document;
    Document.AddBackground(Width, Height, clWhite, QStringLiteral("#0"));
    if (TNewImgForm* Form = NouvelleImage(&Document, nullptr, QString(), srcNew, 16777216)) {
      Form->Image->Image().ResolutionX = ScreenPixelsPerInch();
      Form->Image->Image().ResolutionY = ScreenPixelsPerInch();
    }
  } catch (const std::bad_alloc&) {
    // What the image needs: its background and the working copy.
    const int64_t Needed = 2 * int64_t(TBitmap::BytesPerRow(Width, 24)) * Height;
    ShowMsgDlg(Format(Tr(TrId::GetOeMsgNoMemoryNew), {FormatByteSize(Needed, false)}), mdkError, {mdbOk});
  }
}

void TMainForm::MenuFichierFermerClick() { FermerImage(EnfantActif(), false); }

void TMainForm::MenuFichierFermerToutClick() {
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

// ---- Menu and button state --------------------------------------------------------------------------------------

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
}

void TMainForm::MenuFichierClick() {
  const bool Image = UneImage();
  const bool Modified = Image && EnfantActif()->Modified();
  const bool FromFile = Image && EnfantActif()->IsFileSource();
  for (const char* Name : {"MenuFichierEnregistrerSous", "MenuFichierEnregistrerDans", "MenuFichierFermer",
                           "MenuFichierFermerTout", "MenuFichierInfos"})
    EnableCommand(Name, Image);
  EnableCommand("MenuFichierEnregistrer", Modified);
  EnableCommand("MenuFichierRetablir", Modified && FromFile);
  EnableCommand("MenuEnregistrerDansImage", FromFile);
  MenuNamed("MenuFichierRecents")->menuAction()->setEnabled(!FSettings.ListeFichiers.isEmpty());
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
  Connect("MenuFichierRetablir", [this] { MenuFichierRetablirClick(); });
  const char* SaveIn[] = {"MenuEnregistrerDansImage", "MenuEnregistrerDansMasques", "MenuEnregistrerDansMotifs",
                          "MenuEnregistrerDansTextures", "MenuEnregistrerDansPNG"};
  for (int Tag = 0; Tag < 5; ++Tag) Connect(SaveIn[Tag], [this, Tag] { MenuEnregistrerDansClick(Tag); });
  MenuItem("MenuFichierEnregistrerDans")->setProperty("Built", true);
  Connect("MenuZoomAuto", [this] {
    if (!ActionPossible(MenuItem("MenuZoomAuto"))) return;
    FEdiZoom->SetItemIndex(0);
    MajZoomImage();
  });
  Connect("MenuZoom100", [this] {
    if (!ActionPossible(MenuItem("MenuZoom100"))) return;
    FEdiZoom->SetItemIndex(100);
    MajZoomImage();
  });
  connect(MenuNamed("MenuFichier"), &QMenu::aboutToShow, this, &TMainForm::MenuFichierClick);
  connect(MenuNamed("MenuFichierRecents"), &QMenu::aboutToShow, this, &TMainForm::MenuFichierRecentsClick);
  FEdiZoom->OnDisplayText = [this](QObject*, QString& Text) { EdiZoomDisplayText(Text); };
  FEdiZoom->OnSelectItem = [this](QObject*, bool Changed) {
    if (FEdiZoom->ItemIndex() <= 0 || Changed) MajZoomImage();
  };

  InstallImageFileDialogs();
  SetSaveOptionsHost(this);
  OnNeedLayerData = [this](TLayerItem& Item) { ImageNeedLayerData(Item); };
  OnGetLayerCaption = [this](const TLayerItem& Item, QString& S) { ImageGetLayerCaption(Item, S); };
  OptionsOE.OpenTitle = TitreMenu(MenuItem("MenuFichierOuvrir")->text());
  OptionsOE.SaveTitle = TitreMenu(MenuItem("MenuFichierEnregistrerSous")->text());
  MajMenus();
}

void TMainForm::ReleaseFileServices() {
  FClosing = true;
  // The windows reach this form as their host: they go first, unasked.
  while (!ImageWindows().empty()) delete ImageWindows().back();
  if (SaveOptionsHost() == this) SetSaveOptionsHost(nullptr);
  FreeSaveOpForm();
  OnNeedLayerData = nullptr;
  OnGetLayerCaption = nullptr;
  if (WindowMenu == MenuNamed("MenuFenetre")) WindowMenu = nullptr;
}

bool TMainForm::CloseImageWindows() {
  const std::vector<TNewImgForm*> Windows = ImageWindows();
  for (TNewImgForm* W : Windows)
    if (!W->VerifEnregistrement()) return false;
  for (TNewImgForm* W : Windows) FermerImage(W, true);
  return true;
}
