// Filter > "8BF": the plug-ins the outside 8BF host library finds, one
// submenu per category, and their run on the current layer in an undo step
// titled by the plug-in. The host is asked once at start-up; without it, or
// without any plug-in, the menu stays hidden and nothing is said.
#include "app/ui/MainForm.h"

#include "document/ui/ImgForm.h"
#include "extensions/Plg8bf.h"
#include "raster/FilterEvent.h"
#include "raster/FoncUtils.h"
#include "ui/DrawUtils.h"
#include "ui/MsgDlg.h"

#include <QAction>
#include <QColorDialog>
#include <QMenu>
#include <QPointer>

namespace {

// The bridge and its menu handlers, living as long as the main window.
class T8bfFilters final : public QObject {
public:
  explicit T8bfFilters(TMainForm& Form) : QObject(&Form), F(Form) {}

  void BuildMenus(QMenu* Menu);
  // The click on a plug-in's item (Sender: the item or, for Edit > Repeat,
  // the item that ran it last); Tag is the plug-in's list index.
  void MenuFiltre8bfClick(QObject* Sender);

  TPlg8bfBridge Bridge;

private:
  bool Apply8bfFilter(int Index, bool AlphaMode);
  bool PickColor(TColor& Color);

  TMainForm& F;
  QPointer<QColorDialog> FColorDialog;
};

void T8bfFilters::BuildMenus(QMenu* Menu) {
  Bridge.RegisterCallbacks([this](TColor& Color) { return PickColor(Color); });
  Bridge.SetWindow(reinterpret_cast<void*>(F.winId()));
  Menu->menuAction()->setVisible(true);
  Menu->menuAction()->setEnabled(true);
  F.MenuItem(QStringLiteral("MenuSepPluginFiltre"))->setVisible(true);
  // A new submenu wherever the category changes, compared with regard to
  // case: the list's order ignores case, so "artistic" and "Artistic" sit
  // side by side in two submenus.
  QMenu* Category = nullptr;
  for (int I = 0; I < Bridge.Plg8bfCount(); ++I) {
    const TPlg8bfItem& Item = Bridge.Items()[size_t(I)];
    if (!Category || Item.Category != Bridge.Items()[size_t(I) - 1].Category)
      Category = Menu->addMenu(EscapeAmpersands(Item.Category));
    // Names show '&' as written, not as a short-cut mark.
    QAction* Action = Category->addAction(EscapeAmpersands(Item.Name));
    Action->setProperty("Tag", I);
    connect(Action, &QAction::triggered, this, [this, Action] { MenuFiltre8bfClick(F.CommandSender(Action)); });
  }
  // The host's entry under Help > "A propos des modules", tag 4.
  QMenu* About = F.MenuNamed(QStringLiteral("MenuPluginAPropos"));
  QAction* Host = About->addAction(QStringLiteral("8bf Host"));
  Host->setObjectName(QStringLiteral("MenuAbout8bfHost"));
  Host->setProperty("Tag", 4);
  connect(Host, &QAction::triggered, this, [this] {
    ShowMsgDlg(QStringLiteral("Plugin host for 8bf filters.\rHost library: %1").arg(Bridge.HostPath()), mdkInformation,
               {mdbOk}, CleanMenuCaption(F.MenuItem(QStringLiteral("MenuPluginAPropos"))->text()));
  });
  About->menuAction()->setEnabled(true);
}

void T8bfFilters::MenuFiltre8bfClick(QObject* Sender) {
  if (!Sender || !F.ActionPossible(Sender) || !F.UneImage() || F.RefuseEmptySelection()) return;
  const int Index = Sender->property("Tag").toInt();
  const bool AlphaMode = F.Settings().PS8bfMode != 0;
  const QString Title = CleanMenuCaption(Bridge.Plg8bfName(Index));
  F.DebutDialogueEx();
  F.PreparerUndo(AlphaMode && F.HasAlpha() ? miFiltreBM : miFiltre, Title);
  if (Apply8bfFilter(Index, AlphaMode)) {
    F.AppliquerMasqueSel(1);
    F.RefreshBitmap();
    F.DernierFiltre(Title, Sender, [this](QObject* S) { MenuFiltre8bfClick(S); }, 0);
  } else {
    F.AnnulerFiltre(true);
  }
  F.FinDialogueEx();
}

bool T8bfFilters::Apply8bfFilter(int Index, bool AlphaMode) {
  F.DebutAction(QString(), true);
  UpdateImageWindows();
  ProgressEvent(ProgressStageBegin, 100);
  // A shown selection or the alpha mode work on a packed copy of the work
  // rectangle; else the plug-in filters the whole layer in place.
  const bool Ok = AlphaMode || F.Sel()->Visible()
                      ? Bridge.Run8bfOnRect(Index, F.LeBitmap(), &F.LeMasque(), F.LaSelection(), AlphaMode && F.HasAlpha())
                      : Bridge.Run8bfOnBitmap(Index, &F.LeBitmap());
  ProgressEvent(ProgressStageEnd, 0);
  F.FinAction();
  return Ok;
}

bool T8bfFilters::PickColor(TColor& Color) {
  if (!FColorDialog) FColorDialog = new QColorDialog(&F);
  if (FColorDialog->exec() != QDialog::Accepted) return false;
  Color = FromQColor(FColorDialog->selectedColor());
  return true;
}

} // namespace

void TMainForm::Setup8bfMenus(const QString& ModuleFolder, const QString& PlugInFolder) {
  auto* Filters = new T8bfFilters(*this);
  Filters->Bridge.Set8bfHostPath(ModuleFolder, QString::fromLatin1(Plg8bfHostModuleName));
  Filters->Bridge.Enumerate8bfPlugins(PlugInFolder);
  QMenu* Menu = MenuNamed(QStringLiteral("MenuFiltre8bf"));
  if (Filters->Bridge.Plg8bfCount() == 0) {
    Menu->menuAction()->setVisible(false);
    return;
  }
  Filters->BuildMenus(Menu);
}
