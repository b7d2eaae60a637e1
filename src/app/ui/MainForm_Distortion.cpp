// The layer distortion mode: a frame over the active image scales or
// distorts the current layer through its pending transformation, shown at
// every change; Enter, "Valider" or a double click apply it in one undo
// step, Escape or "Annuler" drop it.
#include "app/ui/MainForm.h"
#include "app/ui/Cursors.h"
#include "document/Calque.h"
#include "document/TxtData.h"
#include "platform/Beep.h"
#include "document/ui/SelectionControl.h"
#include "raster/FoncUtils.h"
#include "tools/ui/DeformControl.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>

namespace {

TTextData* TextDataOf(TLayerItem& Layer) { return dynamic_cast<TTextData*>(Layer.Data()); }

} // namespace

void TMainForm::ConnectDistortionCommands() {
  for (const char* Name : {"MenuCalqueTransformEchelle", "MenuCalqueTransformDistort", "PopCalqueRedim", "PopCalqueDistort"})
    Connect(Name, [this, Name] {
      QAction* Item = MenuItem(QString::fromLatin1(Name));
      MenuCalqueTransform2Click(CommandSender(Item), Item->property("Tag").toInt());
    });
  Connect("PopDistorsionValider", [this] { ValidateLayerDistortion(); });
  Connect("PopDistorsionAnnuler", [this] { CancelLayerDistortion(); });
  QAction* Ratio = MenuItem("PopDistorsionRatio");
  Connect("PopDistorsionRatio", [this, Ratio] {
    if (VerticesSel) VerticesSel->AspectRatio = Ratio->isChecked();
  });
  Ratio->setCheckable(true);
}

void TMainForm::MenuCalqueTransform2Click(const QObject* Sender, int Tag) {
  if (!UneImage() || !ActionPossible(Sender) || !Image().CurrentLayer()) return;
  // The background keeps the image's place and size, a locked layer its
  // pixels.
  if (IsBackgroundLayer(Image()) || IsLayerLocked(Image())) {
    Beep();
    return;
  }
  MasquerSelection();
  if (FToolHooks) FToolHooks->SetTool(13);
  StartLayerDistortion(Tag);
}

void TMainForm::StartLayerDistortion(int Mode) {
  TLayerItem* Layer = Image().CurrentLayer();
  if (!Layer || VerticesMode != 0) return;
  auto* C = new TDeformControl(EnfantActif()->Image);
  VerticesSel = C;
  VerticesMode = 1;
  C->ImageMouseMove = true;
  C->DeformMode = Mode != 0 ? TDeformMode::vmDistort : TDeformMode::vmScale;
  const TBitmap& B = Layer->Bitmap();
  C->InitVertices(Bounds(Layer->Pos.X, Layer->Pos.Y, B.Width(), B.Height()), true);
  // Its double click confirms as Enter does, once the click is over: the
  // frame goes with the confirmation.
  C->OnDblClick = [this](QObject*) {
    QMetaObject::invokeMethod(this, [this] { ValidateLayerDistortion(); }, Qt::QueuedConnection);
  };
  C->OnUpdating = [this](QObject*, TSelOption Option) { DistortionUpdating(Option); };
  C->PopupMenu = MenuNamed("PopTortion");
  const bool Text = TextDataOf(*Layer) != nullptr;
  QAction* Ratio = MenuItem("PopDistorsionRatio");
  if (Text) Ratio->setChecked(true);
  Ratio->setEnabled(Mode == 0 && !Text);
  C->AspectRatio = Ratio->isChecked();
  C->MoveCursor = crMov3;
  C->DragCursor = crMov1;
  C->show();
  AfficherInfosSelection(C->BmpBounds());
  if (Layer->ShadowInfos.DrawShadow) UpdateLayerTransformation();
  EnableHint(false, true, true);
  for (QAction* Item : MenuNamed("PopZoom")->actions()) Item->setEnabled(true);
}

void TMainForm::DistortionUpdating(TSelOption Option) {
  if (!VerticesSel || (Option != soChanging && Option != soChanged)) return;
  AfficherInfosSelection(VerticesSel->BmpBounds());
  if (Option == soChanged) UpdateLayerTransformation();
}

void TMainForm::UpdateLayerTransformation() {
  TLayerItem* Layer = UneImage() ? Image().CurrentLayer() : nullptr;
  if (!VerticesSel || !Layer) return;
  DebutAction(QString(), true);
  const TBitmap& Bmp = Layer->Bitmap();
  const bool Distort = VerticesSel->DeformMode == TDeformMode::vmDistort;
  if (!Layer->Transformation()) {
    std::unique_ptr<TTransformation> T;
    if (Distort)
      T = std::make_unique<TProjectiveTransformation>();
    else
      T = std::make_unique<TAffineTransformation>();
    T->SetSrcRect({0, 0, Bmp.Width(), Bmp.Height()});
    Layer->SetTransformation(std::move(T));
  }
  TTransformation* T = Layer->Transformation();
  if (auto* P = dynamic_cast<TProjectiveTransformation*>(T)) {
    TDeformBoxArray C;
    VerticesSel->GetVertices(C);
    P->SetP0(C[0]);
    P->SetP1(C[1]);
    P->SetP2(C[2]);
    P->SetP3(C[3]);
  } else if (auto* A = dynamic_cast<TAffineTransformation*>(T)) {
    // The first and last pixels land on the frame's first and last pixels,
    // so that the applied layer takes the frame's size exactly (a factor of
    // new size / old size would leave it a pixel short when enlarged).
    const TRect B = VerticesSel->BmpBounds();
    const auto Factor = [](int New, int Old) { return Old > 1 ? double(New - 1) / (Old - 1) : double(New); };
    A->Clear();
    A->Scale(Factor(B.Width(), Bmp.Width()), Factor(B.Height(), Bmp.Height()));
    A->Translate(B.Left, B.Top);
  }
  T->Prepare();
  RefreshBitmap();
  EnfantActif()->Image->UpdatePending();
  FinAction();
  VerticesSel->RefreshCursor();
}

void TMainForm::ValidateLayerDistortion() {
  TLayerItem* Layer = UneImage() ? Image().CurrentLayer() : nullptr;
  if (!VerticesSel) return;
  if (!Layer || !Layer->Transformation()) {
    CancelLayerDistortion();
    return;
  }
  DebutAction(QString(), true);
  const bool Distort = VerticesSel->DeformMode == TDeformMode::vmDistort;
  const TRect Bounds = VerticesSel->BmpBounds();
  TTextData* Text = TextDataOf(*Layer);
  const auto Caption = [this](const char* Name) { return CleanMenuCaption(MenuItem(QString::fromLatin1(Name))->text()); };
  // A text layer is rescaled, not resampled: its step is one of the text's.
  if (Text)
    PrepareTextDataUndo();
  else if (!FlagTransformNewLayer)
    PreparerUndo(miLayerAll, Caption(Distort ? "MenuCalqueTransformDistort" : "MenuCalqueTransformEchelle"));
  if (Text) {
    Layer->ValidateTransform(false);
    Text->ScaleTextLayer(*Layer, Bounds);
    Layer->Pos = Bounds.TopLeft();
  } else {
    const bool ScaleOnly = Layer->Transformation()->ScaleOnly();
    Layer->ValidateTransform(true);
    KeepTransformNewLayer(*Layer);
    if (!Distort || ScaleOnly) {
      Sel()->SetShape(ssRect);
      Sel()->SetBmpSelRect(Bounds);
      SetUneSelection(true);
      if (QAction* Btn = ToolBar(1)->findChild<QAction*>("BtnSelection")) Btn->setEnabled(true);
    } else {
      TDeformBoxArray C;
      VerticesSel->GetVertices(C);
      const TPoint Corners[4] = {C[0], C[1], C[2], C[3]};
      EnfantActif()->SetSelVertices(Corners, true);
    }
  }
  EndLayerDistortion();
  RefreshBitmap();
  LayerChanged();
  FinAction();
}

void TMainForm::CancelLayerDistortion() {
  if (!VerticesSel) return;
  if (FlagTransformNewLayer) {
    // The layer made from the selection goes again.
    DropTransformNewLayer();
    AnnulerFiltre(false);
  }
  EndLayerDistortion();
  if (UneImage() && Image().CurrentLayer()) Image().CurrentLayer()->ClearTransform();
  RefreshBitmap();
  AfficherInfos();
}

void TMainForm::EndLayerDistortion() {
  if (VerticesSel) {
    VerticesSel->hide();
    delete VerticesSel.data();
  }
  VerticesMode = 0;
  FlagTransformNewLayer = false;
  AfficherInfos();
  EnableHint(true, true, true);
  // The menus and buttons that the mode blocked come back.
  MajMenus();
}
