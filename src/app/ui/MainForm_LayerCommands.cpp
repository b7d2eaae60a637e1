// The Layer menu's commands on the stack and the layers' properties, with
// their copies in the layers panel's popup menu: order, duplicate, delete,
// merges, show or hide all, visibility and lock, rename, centre, flips and
// quarter turns, text to image, a new background, an image opened as a
// layer, and the selection popup's distortion of the selection made a layer.
// Each records one undo step; the mask commands are in MainForm_LayerMask.cpp.
#include "app/MenuState.h"
#include "app/ui/ActionBracket.h"
#include "app/ui/MainForm.h"
#include "app/ui/MainLayerHost.h"
#include "app/ui/ToolHooks.h"

#include "document/Calque.h"
#include "document/MyImageLayered.h"
#include "document/ui/LayerNavigator.h"
#include "files/ui/BmpOE2.h"
#include "i18n/Format.h"
#include "i18n/LibLang.h"
#include "raster/FoncUtils.h"
#include "raster/RectUtils.h"
#include "ui/MsgDlg.h"

#include <QAction>
#include <QMenu>

#include <new>

namespace {

QString Titre(const QAction* Item) { return CleanMenuCaption(Item->text()); }

// One of the current layer's switches turned over, in the layer-options
// step that consecutive switches share.
void ToggleLayerSwitch(TMainForm& F, bool TLayerItem::*Switch) {
  F.PrepareLayerOptionsUndo();
  TLayerItem& L = *F.Image().CurrentLayer();
  L.*Switch = !(L.*Switch);
  F.LayerChanged();
  F.MajMenus();
}

} // namespace

// ---- The popup and the order ------------------------------------------------------

void TMainForm::PopCalquePopup() {
  if (FToolHooks) FToolHooks->SetTool(13);
  ApplyMenuRules(QStringLiteral("PopCalque"));
}

void TMainForm::MenuCalqueOrdreClick(int Item) {
  if (!UneImage() || Item < 1 || Item > 4) return;
  const int I = Image().LayerIndex(), N = Image().Layers().Count();
  const int Target[] = {N - 1, I + 1, I - 1, 1};
  // The panel refuses the background and any place under it.
  LayerNav()->Move(I, Target[Item - 1], true);
  RefreshBitmap();
  MajMenus();
}

// ---- Adding and removing layers ---------------------------------------------------

void TMainForm::MenuCalqueDupliquerClick(QAction* Item) {
  if (!UneImage() || DuplicateCurrentLayer(*LayerNav()) < 0) return;
  PreparerUndo(miCreateLayer, Titre(Item));
  if (FToolHooks) FToolHooks->SetTool(13);
  RefreshBitmap();
  MajMenus();
}

void TMainForm::MenuCalqueSupprimerClick(QAction* Item) {
  if (!UneImage() || IsBackgroundLayer(Image()) || IsLayerLocked(Image())) return;
  MasquerSelection();
  PreparerUndo(miDeleteLayer, Titre(Item));
  DeleteCurrentLayer(*LayerNav());
  RefreshBitmap();
  MajMenus();
}

void TMainForm::MenuCalqueFondClick(QAction* Item) {
  if (!UneImage()) return;
  TActionBracket Bracket(*this);
  const bool WasRGBA = ModeRGBA(false);
  const TBitmap White(LeFond().Width(), LeFond().Height(), pf24bit, clWhite);
  InsertBackgroundLayer(*LayerNav(), White, true);
  // Made after the insertion, so that redo brings the new background back.
  PreparerUndo(miInsertBkg, Titre(Item));
  if (auto* Record = dynamic_cast<TUndoInsertBakground*>(ListeUndo().CurrentUndo())) {
    Record->FOldBkgCaption = Image().Layers()[1].Caption;
    Record->FIsRGBA = WasRGBA;
    Record->FTransparent = true;
  }
  RefreshBitmap();
  MajMenus();
  AfficherInfos();
}

void TMainForm::OuvrirCalque(QString NomFichier, const QString& DirDefaut) {
  if (!UneImage()) return;
  MasquerSelection();
  TActionBracket Bracket(*this, Tr(TrId::GetTrStaOpening));
  TBitmap B;
  try {
    // The loader reports a file it cannot read; a cancelled dialog says nothing.
    if (!LoadBitmapFromFile(NomFichier, B, DirDefaut) || B.Empty()) return;
  } catch (const std::bad_alloc&) {
    ShowMsgDlg(Format(Tr(TrId::GetOeMsgNoMemoryOpeningFile), {NomFichier}), mdkError, TMsgDlgButtons{mdbOk});
    return;
  }
  TMainLayerHost Host(*this);
  const TRect R = VisibleCenterRect(Host, {0, 0, B.Width(), B.Height()});
  AddLayerFromBitmap(*LayerNav(), NextLayerName(Image()), B, nullptr, R.TopLeft());
  if (FToolHooks) FToolHooks->SetTool(13);
  PreparerUndo(miCreateLayer, Titre(MenuItem(QStringLiteral("MenuCalqueOuvrir"))));
  RefreshBitmap();
  MajMenus();
}

// ---- Merges and the whole stack ---------------------------------------------------

void TMainForm::MenuCalqueFusionOmbreClick(QAction* Item) {
  if (!UneImage()) return;
  TActionBracket Bracket(*this);
  PreparerUndo(miLayerAll, Titre(Item));
  Image().MergeShadow(*Image().CurrentLayer());
  LayerChanged();
  RefreshBitmap();
}

void TMainForm::MenuCalqueFusionPrevClick(QAction* Item) {
  if (!UneImage() || Image().LayerIndex() < 1) return;
  TActionBracket Bracket(*this);
  MasquerSelection();
  PreparerUndo(miMergeLayers, Titre(Item));
  LayerNav()->MergeWithPrevious(false);
  RefreshBitmap();
  MajMenus();
}

void TMainForm::MenuCalqueFusionAllClick(QAction* Item, bool VisibleOnly) {
  if (!UneImage() || Image().Layers().Count() < 2) return;
  TActionBracket Bracket(*this);
  MasquerSelection();
  PreparerUndo(miMergeAll, Titre(Item));
  if (auto* Record = dynamic_cast<TUndoMergeAll*>(ListeUndo().CurrentUndo())) {
    Record->FIsBkgVisible = Image().Layers()[0].Visible;
    Record->SaveLayers(!VisibleOnly);
  }
  Image().MergeLayersWithBkg(VisibleOnly);
  LayerNav()->Synchronize(false);
  RefreshBitmap();
  MajMenus();
}

void TMainForm::MenuCalqueMasquerToutClick(QAction* Item, bool Show) {
  if (!UneImage()) return;
  PreparerUndo(miShowHideAll, Titre(Item));
  if (auto* Record = dynamic_cast<TUndoShowHideAll*>(ListeUndo().CurrentUndo())) Record->SaveLayersInfos();
  ShowAllLayers(*LayerNav(), Show);
  RefreshBitmap();
  MajMenus();
}

// ---- The current layer's properties -----------------------------------------------

void TMainForm::PopCalqueVisibleClick() {
  if (!UneImage()) return;
  ToggleLayerSwitch(*this, &TLayerItem::Visible);
  RefreshBitmap();
  AfficherInfos();
}

void TMainForm::PopCalqueVerrouClick() {
  if (UneImage()) ToggleLayerSwitch(*this, &TLayerItem::Locked);
}

void TMainForm::MenuCalqueRenommerClick(QAction* Item) {
  if (!UneImage() || IsBackgroundLayer(Image())) return;
  QString Text = Image().CurrentLayer()->DisplayCaption();
  if (!InputMsgDlg(Titre(Item), Tr(TrId::GetTrLblName), Text)) return;
  PrepareRenameLayerUndo();
  // Any text, an empty one too: the panel shows what was typed.
  Image().CurrentLayer()->Caption = Text;
  LayerChanged();
  LayerNav()->update();
  MajMenus();
}

void TMainForm::MenuCalqueTxtToCalqueClick(QAction* Item) {
  if (!UneImage() || !IsTextLayer(Image())) return;
  PreparerUndo(miConvertText, Titre(Item));
  // The layer keeps its pixels, and its text for the undo.
  Image().CurrentLayer()->LayerType = ltBitmap;
  RefreshBitmap();
  LayerChanged();
  MajMenus();
}

void TMainForm::MenuCalqueCentreClick(TPosition Anchor) {
  if (!UneImage() || IsBackgroundLayer(Image())) return;
  TLayerItem& L = *Image().CurrentLayer();
  TRect R = L.BoundsRect();
  PositionRect(R, {0, 0, LeFond().Width(), LeFond().Height()}, Anchor);
  PrepareLayerPosUndo(L.Pos);
  L.Pos = R.TopLeft();
  if (FToolHooks) FToolHooks->SetTool(13);
  RefreshBitmap();
  LayerChanged();
  AfficherInfosCalque();
}

void TMainForm::MenuCalqueTransform1Click(QAction* Item) {
  if (!UneImage() || IsBackgroundLayer(Image())) return;
  TActionBracket Bracket(*this);
  PreparerUndo(miLayerAll, Titre(Item));
  TLayerItem& L = *Image().CurrentLayer();
  switch (Item->property("Tag").toInt()) {
  case 1:
    L.FlipVert();
    break;
  case 2:
    L.FlipHorz();
    break;
  case 3:
    L.Rotate270();
    break;
  case 4:
    L.Rotate90();
    break;
  case 5:
    L.Rotate180();
    break;
  default:
    break;
  }
  if (FToolHooks) FToolHooks->SetTool(13);
  RefreshBitmap();
  LayerChanged();
}

// ---- From the selection popup ----------------------------------------------------

bool TMainForm::SelectionToLayerStep(QAction* Item) {
  if (!UneImage() || !ActionPossible(Item)) return false;
  if (!SelectionToNewLayer(LayerCommandHost(), NextLayerName(Image()), 0)) return false;
  PreparerUndo(miCreateLayer, Titre(Item));
  MajMenus();
  return true;
}

void TMainForm::PopSelDupliquerClick(QAction* Item) {
  if (!SelectionToLayerStep(Item)) return;
  if (FToolHooks) FToolHooks->SetTool(13);
}

void TMainForm::PopSelDistorsionClick(QAction* Item) {
  // Cancelling the distortion removes the new layer with its creation step.
  if (!SelectionToLayerStep(Item)) return;
  FlagTransformNewLayer = true;
  MenuCalqueTransform2Click(Item, 1);
}

void TMainForm::KeepTransformNewLayer(TLayerItem& Layer) {
  if (!FlagTransformNewLayer) return;
  if (auto* U = dynamic_cast<TUndoLayerItem*>(ListeUndo().CurrentUndo())) U->Retake(Layer);
}

void TMainForm::DropTransformNewLayer() {
  if (FlagTransformNewLayer) Undo();
}

void TMainForm::ConnectPopSelTransformCopy(const char* OriginalName, std::function<void(QAction*)> Handler) {
  QMenu* Menu = MenuNamed(QStringLiteral("PopSelTransform"));
  const QString Name = QStringLiteral("PopSelTransform_") + QLatin1String(OriginalName);
  QAction* Copy = nullptr;
  for (QAction* A : Menu->actions())
    if (A->objectName() == Name) Copy = A;
  if (!Copy) return;
  // Not a plain copy of the Layer menu's item: it works on the selection of
  // any bitmap layer, the background too.
  QAction* Original = MenuItem(QString::fromLatin1(OriginalName));
  disconnect(Copy, &QAction::triggered, Original, nullptr);
  disconnect(Original, &QAction::changed, Copy, nullptr);
  connect(Copy, &QAction::triggered, this, [Copy, Handler = std::move(Handler)] { Handler(Copy); });
  connect(Menu, &QMenu::aboutToShow, this, [this, Copy] {
    const TMenuSnapshot S = MenuSnapshot();
    Copy->setEnabled(Filterable(S) && S.Selection);
  });
}

// ---- Wiring -----------------------------------------------------------------------

void TMainForm::ConnectLayerCommands() {
  // An item's command runs only when it may now; the handler is given the
  // item, whose caption titles the undo step.
  const auto Wire = [this](const char* Name, std::function<void(QAction*)> Handler) {
    QAction* Item = MenuItem(QString::fromLatin1(Name));
    Connect(Name, [this, Item, Handler = std::move(Handler)] {
      if (ActionPossible(Item)) Handler(Item);
    });
  };
  connect(MenuNamed("PopCalque"), &QMenu::aboutToShow, this, [this] { PopCalquePopup(); });
  for (const char* Name : {"MenuCalqueOrdre", "PopCalqueOrdre"})
    connect(MenuNamed(Name), &QMenu::aboutToShow, this, [this, Name] { ApplyMenuRules(QString::fromLatin1(Name)); });
  for (int I = 1; I <= 4; ++I)
    Wire(qPrintable(QStringLiteral("MenuCalqueOrdre%1").arg(I)), [this, I](QAction*) { MenuCalqueOrdreClick(I); });
  for (const char* Name : {"MenuCalqueDupliquer", "PopCalqueDupliquer"})
    Wire(Name, [this](QAction* Item) { MenuCalqueDupliquerClick(Item); });
  for (const char* Name : {"MenuCalqueSupprimer", "PopCalqueSupprimer"})
    Wire(Name, [this](QAction* Item) { MenuCalqueSupprimerClick(Item); });
  for (const char* Name : {"MenuCalqueTxtToCalque", "PopCalqueTxtToCalque"})
    Wire(Name, [this](QAction* Item) { MenuCalqueTxtToCalqueClick(Item); });
  for (const char* Name : {"MenuCalqueRenommer", "PopCalqueRenommer"})
    Wire(Name, [this](QAction* Item) { MenuCalqueRenommerClick(Item); });
  for (const char* Name : {"MenuCalqueFusionOmbre", "PopCalqueFusionOmbre"})
    Wire(Name, [this](QAction* Item) { MenuCalqueFusionOmbreClick(Item); });
  for (const char* Name : {"MenuCalqueFusionPrev", "PopCalqueFusionPrev"})
    Wire(Name, [this](QAction* Item) { MenuCalqueFusionPrevClick(Item); });
  Wire("MenuCalqueFusionAll", [this](QAction* Item) { MenuCalqueFusionAllClick(Item, false); });
  Wire("MenuCalqueFusionAllVisible", [this](QAction* Item) { MenuCalqueFusionAllClick(Item, true); });
  Wire("MenuCalqueMasquerTout", [this](QAction* Item) { MenuCalqueMasquerToutClick(Item, false); });
  Wire("MenuCalqueAfficherTout", [this](QAction* Item) { MenuCalqueMasquerToutClick(Item, true); });
  Wire("PopCalqueVisible", [this](QAction*) { PopCalqueVisibleClick(); });
  Wire("PopCalqueVerrou", [this](QAction*) { PopCalqueVerrouClick(); });
  for (const char* Name : {"PopCalqueVisible", "PopCalqueVerrou"}) MenuItem(QString::fromLatin1(Name))->setCheckable(true);
  const std::pair<const char*, TPosition> Centres[] = {
      {"MenuCalqueCentre1", poCenter}, {"MenuCalqueCentre2", poCenterHorz}, {"MenuCalqueCentre3", poCenterVert}};
  for (const auto& [Name, Anchor] : Centres)
    Wire(Name, [this, Anchor = Anchor](QAction*) { MenuCalqueCentreClick(Anchor); });
  for (const char* Name : {"MenuCalqueSymHoriz", "MenuCalqueSymVert", "MenuCalque90h", "MenuCalque90a", "MenuCalque180"})
    Wire(Name, [this](QAction* Item) { MenuCalqueTransform1Click(Item); });
  Wire("MenuCalqueFond2", [this](QAction*) { MenuCalqueFondClick(MenuItem(QStringLiteral("MenuCalqueFond"))); });
  Wire("MenuCalqueOuvrir", [this](QAction*) { OuvrirCalque(QString(), FSettings.OuvrirDir); });
  ConnectLayerMaskCommands();
  ConnectPopSelTransformCopy("MenuCalqueTransformDistort", [this](QAction* Copy) { PopSelDistorsionClick(Copy); });
  Connect("PopSelDupliquer", [this] { PopSelDupliquerClick(MenuItem(QStringLiteral("PopSelDupliquer"))); });
}
