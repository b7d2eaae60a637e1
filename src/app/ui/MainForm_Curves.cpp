// The curve commands: Adjust > Curves opens the tone-curve dialog on a
// prepared filter undo record; Filter > Distortion > Curve and the Curve
// items of Image > Transformation and Layer > Transformation open the
// curve-deformation dialog, which prepares its own undo record, in filter
// or layer mode.
#include "app/ui/FilterDialogOpener.h"
#include "app/ui/MainForm.h"
#include "app/ui/ToolHooks.h"
#include "document/Calque.h"
#include "document/ui/LayerNavigator.h"
#include "filters/ui/CourbesForm.h"
#include "filters/ui/DefCurveForm.h"

namespace {

// The layer tool of the palette, chosen for the Layer menu's deformation.
constexpr int LayerToolNumber = 13;

class TMainDeformHost final : public QObject, public TDeformHost {
public:
  explicit TMainDeformHost(TMainForm& Form) : QObject(&Form), F(Form) { SetDeformHost(this); }
  ~TMainDeformHost() override {
    if (DeformHost() == this) SetDeformHost(nullptr);
  }
  bool HasAlpha() const override { return F.HasAlpha(); }
  TBitmap& BmpUndo() override { return F.BmpUndo; }
  TBitmap& MaskUndo() override { return F.MaskUndo; }
  void PrepareDeformUndo(bool LayerMode, const QString& Titre) override {
    if (!LayerMode) {
      F.PreparerUndo(miFiltreBM, Titre);
      // A deformation moves pixels: fading it with its source means nothing.
      if (TUndoItem* Item = F.ListeUndo().CurrentUndo()) Item->SetFlag(8, 1);
      return;
    }
    F.PreparerUndo(F.Image().LayerIndex() == 0 ? miBkgAll : miLayerAll, Titre);
    F.BmpUndo.Assign(F.LeBitmap());
    F.MaskUndo.Assign(F.LeMasque());
  }
  void LayerGrown(int DX, int DY) override {
    if (F.Image().LayerIndex() != 0) {
      if (TLayerItem* L = F.Image().CurrentLayer()) L->Pos = {L->Pos.X - DX, L->Pos.Y - DY};
      F.LayerChanged();
      return;
    }
    OffsetAllLayers(*F.LayerNav(), DX, DY, true);
    if (TUndoItem* Item = F.ListeUndo().CurrentUndo()) {
      Item->SetFlag(5, DX);
      Item->SetFlag(6, DY);
    }
    F.TailleChangee();
  }
  QSize MainClientSize() const override { return F.size(); }

private:
  TMainForm& F;
};

void OpenDeformDialog(TMainForm& F, QAction* Item, QAction* FilterItem) {
  static QPointer<TDefCurveForm> Form;
  if (!F.UneImage()) return;
  CreateFormIfNeeded(Form, &F);
  Form->LayerMode = Item != FilterItem;
  if (Form->LayerMode) {
    F.MasquerSelection();
    if (Item == F.MenuItem(QStringLiteral("MenuImageCourbe"))) {
      // The background is what the Image menu deforms.
      F.Image().SetLayerIndex(0);
      F.LayerNav()->ResetLayerIndex();
    } else if (F.ToolHooks()) {
      F.ToolHooks()->SetTool(LayerToolNumber);
    }
  }
  Form->ShowAndWait();
}

} // namespace

void TMainForm::ConnectCurvesCommands() {
  new TMainDeformHost(*this);
  WireFilterDialog("MenuReglageCourbes", OpenFilterDialog<TCourbesForm>);
  QAction* FilterItem = MenuItem(QStringLiteral("MenuFiltreCourbe"));
  for (const char* Name : {"MenuFiltreCourbe", "MenuImageCourbe", "MenuCalqueTransformCourbe"}) {
    QAction* Item = MenuItem(QString::fromLatin1(Name));
    Connect(Name, [this, Item, FilterItem] { OpenDeformDialog(*this, Item, FilterItem); });
  }
}
