// The main window's side of the frame, shadow, cut-out, selection-width,
// assemble, new-background, export-layer and history dialogs: the services
// they reach through TEditDialogHost, and the items that open them.
#include "app/ui/MainForm.h"

#include "dialogs/ui/Assembl.h"
#include "dialogs/ui/CadreExt.h"
#include "dialogs/ui/Detour.h"
#include "dialogs/ui/EditDialogHost.h"
#include "dialogs/ui/ExportLayer.h"
#include "dialogs/ui/Histo.h"
#include "dialogs/ui/NewBkg.h"
#include "dialogs/ui/OmbrExt.h"
#include "dialogs/ui/OptSel.h"
#include "dialogs/ui/SelFrange.h"
#include "document/ui/LayerNavigator.h"
#include "i18n/LibLang.h"
#include "raster/FoncUtils.h"
#include "raster/RectUtils.h"
#include "tools/ui/Outils.h"
#include "ui/DlgEx.h"
#include "ui/MsgDlg.h"

#include <QAction>
#include <QPointer>

static_assert(UndoKindInsertBkg == miInsertBkg, "the new background's undo kind is the main window's");

namespace {

class TMainEditDialogHost final : public QObject, public TEditDialogHost {
public:
  explicit TMainEditDialogHost(TMainForm& Form) : QObject(&Form), F(Form) { SetEditDialogHost(this); }
  ~TMainEditDialogHost() override {
    if (EditDialogHost() == this) SetEditDialogHost(nullptr);
  }
  TSelMaskHost& SelMasks() override { return F.SelMaskHost(); }
  TRect LaSelection() const override { return F.UneImage() ? F.LaSelection() : TRect{}; }
  void MasquerSelection() override { F.MasquerSelection(); }
  void AfficherSelection() override {
    if (F.UneImage()) F.AfficherSelection();
  }
  void DernierFiltre(const QString& Titre, QObject* Sender, std::function<void(QObject*)> Event, int Flag) override {
    F.DernierFiltre(Titre, Sender, std::move(Event), Flag);
  }
  TColor CouleurFond() const override { return F.Palette() ? F.Palette()->GetColor(true) : clWhite; }
  QString EnregistrerDir() const override { return F.Settings().EnregistrerDir; }
  TUndoList& ListeUndo() override { return F.ListeUndo(); }
  void Undo() override { F.Undo(); }
  void Redo() override { F.Redo(); }
  void SetDisableThumbUpdate(bool Value) override {
    if (F.UneImage()) F.LayerNav()->SetDisableThumbUpdate(Value);
  }

private:
  TMainForm& F;
};

template <class TForm> TForm* Dialog(TMainForm& F) {
  static QPointer<TForm> Form;
  return CreateFormIfNeeded(Form, &F);
}

// The item's command: possible on the active image, the selection hidden
// when HideSelection, the image windows brought up to date, then Show.
template <class TForm>
void Wire(TMainForm& F, const char* Name, bool HideSelection, std::function<bool(TForm&)> Prepare = nullptr) {
  QAction* Item = F.MenuItem(QString::fromLatin1(Name));
  QObject::connect(Item, &QAction::triggered, &F, [&F, Item, HideSelection, Prepare] {
    if (!F.ActionPossible(F.CommandSender(Item)) || !F.UneImage()) return;
    if (HideSelection) F.MasquerSelection();
    UpdateImageWindows();
    TForm* D = Dialog<TForm>(F);
    if (Prepare && !Prepare(*D)) return;
    D->show();
  });
  Item->setEnabled(true);
  Item->setProperty("Built", true);
}

} // namespace

void TMainForm::ConnectImageDialogCommands() {
  new TMainEditDialogHost(*this);
  Wire<TCadreExtForm>(*this, "MenuImageEncadrerExt", true);
  Wire<TOmbreExtForm>(*this, "MenuImageOmbrageExt", true);
  // The cut-out needs pixels of the layer under the visible selection.
  Wire<TDetourForm>(*this, "MenuEditionDetourage", false, [this](TDetourForm&) {
    TRect R = LaSelection();
    if (ClipToBitmap(R, LeBitmap())) return true;
    ShowMsgDlg(Tr(TrId::GetTrDlgGlb5), mdkWarning, {mdbOk});
    return false;
  });
  for (const auto& [Name, Flag] : {std::pair{"MenuSelDilater", 0}, std::pair{"MenuSelContracter", 1}})
    Wire<TOptionSelForm>(*this, Name, false, [this, Name = Name, Flag = Flag](TOptionSelForm& D) {
      D.setWindowTitle(CleanMenuCaption(MenuItem(QString::fromLatin1(Name))->text()));
      D.Flag = Flag;
      return true;
    });
  Wire<TFrangeForm>(*this, "MenuSelFrange", false);
  Wire<TAssemblerForm>(*this, "MenuEditionAssembler", true);
  Wire<TNewBkgForm>(*this, "MenuCalqueFond1", false);
  Wire<TExportLayerForm>(*this, "MenuCalqueExporter", true);
  Wire<THistoForm>(*this, "MenuEditionHistoriques", false);
}
