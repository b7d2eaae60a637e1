// The menu and toolbar state of the main window: the state snapshot the
// rules read, the top menus' opening handlers, the toolbar buttons' rules,
// and the refresh before every short-cut, so that the short-cut of an item
// the menu would show disabled does nothing.
#include "app/MenuState.h"
#include "app/ZoomSteps.h"
#include "app/ui/MainForm.h"

#include "document/Pattern.h"
#include "document/Calque.h"
#include "i18n/LibLang.h"
#include "ui/SpecialEdit.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QToolBar>

namespace {

// Runs the rules before the application matches a key against the
// short-cuts.
class TShortCutGate final : public QObject {
public:
  explicit TShortCutGate(TMainForm& Form) : QObject(&Form), FForm(Form) {}

protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override {
    if (Event->type() == QEvent::ShortcutOverride && Watched->isWidgetType()) FForm.RefreshMenuStates();
    return false;
  }

private:
  TMainForm& FForm;
};

// The top menus with rules here (the file menu has its own).
constexpr const char* RuledMenus[] = {"MenuEdition", "MenuSelection", "MenuImage", "MenuReglage", "MenuFiltre",
                                      "MenuAffichage", "MenuOutils", "MenuAide", "MenuCalque"};

} // namespace

TMenuSnapshot TMainForm::MenuSnapshot() const {
  TMenuSnapshot S;
  S.DialogueForm = !FDialogueForm.isNull();
  S.Blocked = DisableMenu();
  S.ClipboardImage = CollagePossible(false);
  S.ModulesPresent = FFlagPlugins;
  S.PrinterExists = true; // printing to a PDF file is always offered
  S.MasksFolderSet = !FDataFolders.MasqueDir.isEmpty();
  S.ImageWindowCount = static_cast<int>(ImageWindows().size());
  S.AnyWindowUndo = AnyUndoLeft();
  S.ToolPaletteShown = FSettings.ToolsPalette;
  S.CadreOmbre = FSettings.CadreOmbre;
  S.LastFilter = static_cast<bool>(FLastFilter.Event);
  S.LastFilterCaption = FLastFilter.Caption;
  S.LastFilterFlag = FLastFilter.Flag;
  S.PatternStored = !CurrentPattern().BmpEmpty();
  if (!UneImage()) return S;
  const TNewImgForm* W = EnfantActif();
  const TMyImageLayered& Img = Image();
  const TLayerItem* L = Img.CurrentLayer();
  const TLayerItem& Bkg = Img.Layers()[0];
  S.Image = true;
  S.Mode16M = Mode16M();
  S.RGBA = ModeRGBA(true);
  S.BkgMask = ModeRGBA(false);
  S.LayerEditable = L && !L->Locked && L->Visible;
  S.PixelLayer = L && L->LayerType == ltBitmap;
  S.LayerVisible = L && L->Visible;
  S.LayerHasMask = HasAlpha();
  S.CurrentIsBackground = Img.LayerIndex() == 0;
  S.LayerCount = Img.Layers().Count();
  for (int I = 0; I < S.LayerCount; ++I) S.AnyLayerVisible = S.AnyLayerVisible || Img.Layers()[I].Visible;
  S.BkgTransparent = Bkg.Bitmap().Transparent;
  S.BkgNeedsTransparency = Img.NeedBkgTransparency();
  S.BkgLocked = Bkg.Locked;
  S.BkgVisible = Bkg.Visible;
  S.LayerIndex = Img.LayerIndex();
  S.LayerLocked = L && L->Locked;
  S.TextLayer = L && L->LayerType == ltData;
  S.LayerShadow = L && L->ShadowInfos.DrawShadow;
  if (S.LayerIndex > 0) {
    const TLayerItem& Below = Img.Layers()[S.LayerIndex - 1];
    S.BelowMergeable = Below.LayerType == ltBitmap && !Below.Locked && Below.Visible;
  }
  S.VisibleAndHidden = HasVisibleAndHiddenLayers(Img);
  S.ClipboardMask = CollagePossible(true);
  if (const TSelectionControl* Sl = Sel()) {
    S.Selection = Sl->Visible();
    S.ShapeCopied = ShapeCopied();
    S.SelInverted = Sl->Invert();
    S.SelShape = Sl->Shape();
    S.SelShowBounds = Sl->ShowBounds();
    S.SelAnimated = Sl->Animated();
    S.SelAspectRatio = Sl->AspectRatio;
  }
  const TUndoItem* Current = W->ListeUndo->CurrentUndo();
  S.HasUndo = Current != nullptr;
  S.HasRedo = W->ListeUndo->NextUndo() != nullptr;
  if (Current) {
    S.UndoCaption = Current->Caption;
    S.UndoKind = Current->GetFlag(2);
    S.UndoNoFade = Current->GetFlag(8) == 1;
  }
  const double Zoom = W->Image->Zoom();
  S.ZoomInPossible = NextZoomStep(Zoom, true) >= 0;
  S.ZoomOutPossible = NextZoomStep(Zoom, false) >= 0;
  S.ZoomStep = ZoomEditStep();
  S.FromFile = W->IsFileSource();
  S.Modified = W->Modified();
  S.ShowGrid = W->Image->ShowGrid;
  S.GridAlign = W->Image->GridAlign;
  return S;
}

void TMainForm::ApplyMenuRules(const QString& MenuName) {
  const TMenuSnapshot S = MenuSnapshot();
  TMenuState M;
  if (MenuName == QLatin1String("MenuEdition"))
    M = EditionMenuState(S, {Tr(TrId::GetTrMnuRepeat), Tr(TrId::GetTrMnuFade)});
  else if (MenuName == QLatin1String("MenuSelection"))
    M = SelectionMenuState(S, Tr(TrId::GetTrMnuSelShow), Tr(TrId::GetTrMnuSelHide));
  else if (MenuName == QLatin1String("MenuImage"))
    M = ImageMenuState(S);
  else if (MenuName == QLatin1String("MenuReglage"))
    M = ReglageMenuState(S);
  else if (MenuName == QLatin1String("MenuFiltre"))
    M = FiltreMenuState(S);
  else if (MenuName == QLatin1String("MenuAffichage"))
    M = AffichageMenuState(S);
  else if (MenuName == QLatin1String("MenuOutils"))
    M = OutilsMenuState(S);
  else if (MenuName == QLatin1String("MenuAide"))
    M = AideMenuState(S);
  else if (MenuName == QLatin1String("MenuCalque"))
    M = CalqueMenuState(S);
  else if (MenuName == QLatin1String("PopCalque"))
    M = PopCalqueState(S);
  else if (MenuName == QLatin1String("MenuCalqueOrdre") || MenuName == QLatin1String("PopCalqueOrdre"))
    M = CalqueOrdreState(S);
  else if (MenuName == QLatin1String("PopForm"))
    M = PopFormMenuState(S);
  else if (MenuName == QLatin1String("PopImg"))
    M = PopImgMenuState(S);
  else if (MenuName == QLatin1String("PopSel"))
    M = PopSelMenuState(S, Tr(TrId::GetTrMnuCropImage), Tr(TrId::GetTrMnuCropLayer));
  else
    return;
  // A command: enabled only once built; a submenu: with its condition, unless
  // nothing fills it yet.
  const auto SetEnabled = [this](QAction* Item, bool Enabled) {
    if (Item->isSeparator()) return;
    if (QMenu* Sub = Item->menu())
      Item->setEnabled(Enabled && !Sub->isEmpty());
    else if (Item->property("Built").toBool())
      Item->setEnabled(Enabled);
  };
  // Submenus' items too: those disabled with the whole menu come back with it.
  std::function<void(QMenu*, bool)> SetAll = [&](QMenu* Menu, bool Enabled) {
    for (QAction* Item : Menu->actions()) {
      SetEnabled(Item, Enabled);
      if (Item->menu()) SetAll(Item->menu(), Enabled);
    }
  };
  SetAll(MenuNamed(MenuName), M.All && !M.DisableEverything);
  for (const auto& [Name, Enabled] : M.Enabled)
    if (QAction* Item = MenuItem(Name)) SetEnabled(Item, Enabled && !M.DisableEverything);
  for (const auto& [Name, Checked] : M.Checked)
    if (QAction* Item = MenuItem(Name)) Item->setChecked(Checked);
  for (const auto& [Name, Caption] : M.Captions)
    if (QAction* Item = MenuItem(Name)) Item->setText(Caption);
}

void TMainForm::RefreshMenuStates() {
  // The menus' rules have the last word on the items the buttons share.
  UpdateToolButtonRules();
  for (const char* Name : RuledMenus) ApplyMenuRules(QString::fromLatin1(Name));
}

void TMainForm::UpdateToolButtonRules() {
  const TMenuSnapshot S = MenuSnapshot();
  for (const auto& [Name, Enabled] : ToolButtonStates(S)) {
    for (QToolBar* Bar : FToolBars) {
      QAction* Button = Bar ? Bar->findChild<QAction*>(Name) : nullptr;
      if (!Button) continue;
      // A button runs its menu item's command and follows its state; a
      // button with a command of its own follows its rule.
      if (QAction* Item = MenuItem(Button->property("Command").toString()); Item && Item->property("Built").toBool())
        Item->setEnabled(Enabled);
      else if (Button->property("Built").toBool())
        Button->setEnabled(Enabled);
      else
        Button->setEnabled(Enabled && Item && Item->isEnabled());
    }
  }
  FEdiZoom->setEnabled(S.Image);
}

void TMainForm::ConnectMenuRules() {
  for (const char* Name : RuledMenus)
    connect(MenuNamed(QString::fromLatin1(Name)), &QMenu::aboutToShow, this,
            [this, Menu = QString::fromLatin1(Name)] { ApplyMenuRules(Menu); });
  // The context popups are ruled as they open (they have no short-cuts).
  for (const char* Name : {"PopForm", "PopImg", "PopSel"})
    connect(MenuNamed(QString::fromLatin1(Name)), &QMenu::aboutToShow, this,
            [this, Menu = QString::fromLatin1(Name)] { ApplyMenuRules(Menu); });
  qApp->installEventFilter(new TShortCutGate(*this));
  RefreshMenuStates();
}
