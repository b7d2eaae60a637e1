// The outline and fill of the selection and of the vector path, the path's
// numeric transformation (also of the selection, through a path) and the
// free transformation of the current layer: the items that open their
// dialogs, each after preparing the undo record the dialog draws on, and
// what the layer transformation needs of the main window.
#include "app/ui/MainForm.h"

#include "app/ui/FilterDialogOpener.h"
#include "dialogs/ui/CRForm.h"
#include "dialogs/ui/CRPathForm.h"
#include "dialogs/ui/RotPathForm.h"
#include "dialogs/ui/RotSelForm.h"
#include "document/Calque.h"
#include "platform/Beep.h"
#include "tools/ui/PathOverlay.h"

#include <QAction>
#include <QMenu>

namespace {

class TMainLayerTransformHost final : public QObject, public TLayerTransformHost {
public:
  explicit TMainLayerTransformHost(TMainForm& Form) : QObject(&Form), F(Form) {}
  TMyImageLayeredView* View() override { return F.UneImage() ? F.EnfantActif()->Image : nullptr; }
  TLayerItem* CurrentLayer() override { return F.UneImage() ? F.Image().CurrentLayer() : nullptr; }
  void DebutAction() override { F.DebutAction(QString(), true); }
  void FinAction() override { F.FinAction(); }
  void Refresh() override {
    if (!F.UneImage()) return;
    F.RefreshBitmap();
    F.EnfantActif()->Image->UpdatePending();
    F.AfficherInfosCalque();
  }
  void Accept(const TRectVertices& Points) override {
    F.DebutAction(QString(), true);
    if (TLayerItem* Layer = CurrentLayer()) {
      const TPoint Corners[4] = {Points[0], Points[1], Points[2], Points[3]};
      F.EnfantActif()->SetSelVertices(Corners, false);
      Layer->ValidateTransform(true);
      F.KeepTransformNewLayer(*Layer);
    }
    F.RefreshBitmap();
    F.LayerChanged();
    Ended();
    F.FinAction();
  }
  void Cancel() override {
    F.DropTransformNewLayer();
    F.AnnulerFiltre(false);
    if (TLayerItem* Layer = CurrentLayer()) Layer->ClearTransform();
    F.RefreshBitmap();
    Ended();
  }

private:
  // The view's mouse and the status bar as the tool wants them again.
  void Ended() {
    F.FlagTransformNewLayer = false;
    F.VerifierSelModeEtPopup();
    F.AfficherInfos();
  }
  TMainForm& F;
};

template <class TForm> TForm* KeptDialog(TMainForm& F) {
  static QPointer<TForm> Form;
  return CreateFormIfNeeded(Form, &F);
}

void OpenSelectionOutline(TMainForm& F, QAction* Item, QAction* TitleItem) {
  if (!F.RefuseEmptySelection()) OpenFilterDialog<TCRForm, miFiltreBM_D>(F, Item, TitleItem);
}

} // namespace

void TMainForm::ConnectOutlineCommands() {
  WireFilterDialog("MenuEditionContourRempl", OpenSelectionOutline);
  WireFilterDialog("PopSelCR", OpenSelectionOutline);

  // The path popup's items work inside the path mode, which blocks the
  // ordinary commands.
  Connect("PopPathContourRemplir", [this] {
    if (!Path || Path->PointsCount() < 2) return;
    PreparerUndo(miDrawBM, CleanMenuCaption(MenuItem("PopPathContourRemplir")->text()));
    TCRPathForm* Form = KeptDialog<TCRPathForm>(*this);
    Form->Path = Path;
    Form->show();
  });
  const auto TransformPath = [this] {
    if (!Path || Path->PointsCount() < 2) return;
    TRotPathForm* Form = KeptDialog<TRotPathForm>(*this);
    Form->Path = Path;
    Form->OnClosed = [this](bool Ok) {
      if (AutoSelToPath) AutoPathToSel(Ok);
      AutoSelToPath = false;
    };
    Form->show();
  };
  Connect("PopPathTransformFree", TransformPath);
  // The selection transformed through a path made from it.
  Connect("MenuSelPath", [this, TransformPath] {
    if (!UneImage() || !ActionPossible(CommandSender(MenuItem("MenuSelPath")))) return;
    StartPathMode(QString(), 2);
    if (!Path) return;
    AutoSelToPath = true;
    TransformPath();
  });
  connect(MenuNamed("PopPath"), &QMenu::aboutToShow, this,
          [this] { MenuItem("PopPathContourRemplir")->setEnabled(Path && Path->PointsCount() > 1); });

  auto* LayerHost = new TMainLayerTransformHost(*this);
  const auto ShowLayerTransform = [this, LayerHost] {
    if (FToolHooks) FToolHooks->SetTool(13);
    TRotSelForm* Form = KeptDialog<TRotSelForm>(*this);
    Form->Host = LayerHost;
    if (Image().CurrentLayer()->ShadowInfos.DrawShadow) Form->FirstTransform();
    Form->show();
  };
  for (const char* Name : {"MenuCalqueTransformParams", "PopCalqueTransformParams"})
    Connect(Name, [this, Name, ShowLayerTransform] {
      QAction* Item = MenuItem(QString::fromLatin1(Name));
      if (!UneImage() || !ActionPossible(CommandSender(Item)) || !Image().CurrentLayer()) return;
      // The background keeps the image's place and size, a locked layer its
      // pixels.
      if (IsBackgroundLayer(Image()) || IsLayerLocked(Image())) {
        Beep();
        return;
      }
      MasquerSelection();
      PreparerUndo(miLayerAll, CleanMenuCaption(Item->text()));
      ShowLayerTransform();
    });
  // From the selection popup: the selection becomes a layer first.
  ConnectPopSelTransformCopy("MenuCalqueTransformParams", [this, ShowLayerTransform](QAction* Copy) {
    if (!SelectionToLayerStep(Copy)) return;
    FlagTransformNewLayer = true;
    ShowLayerTransform();
  });
}
