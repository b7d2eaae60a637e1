// The painting tools inside the main window: the services their strokes and
// one-click operations use, and the image view's selection mode following
// the current tool.
#include "app/ui/MainForm.h"
#include "app/ui/MainStrokeServices.h"

#include "document/ui/MyImageLayeredView.h"
#include "document/ui/SelectionControl.h"
#include "tools/ui/Outils.h"
#include "tools/ui/StrokeTools.h"

namespace {

class TMainStrokeServices final : public TStrokeServices {
public:
  explicit TMainStrokeServices(TMainForm& Form) : F(Form) {}
  TSelMaskHost& MaskHost() override { return F.SelMaskHost(); }
  TMyImageLayeredView* ActiveView() const override { return F.UneImage() ? F.EnfantActif()->Image : nullptr; }
  bool DessinerSurAlpha() const override { return F.UneImage() && F.DessinerSurAlpha(); }
  void PrepareUndo(TToolUndo Kind, const QString& Title) override {
    static constexpr TModifInfo Infos[] = {miDrawBmp, miDrawBM, miDrawMask, miFiltreBM_D};
    F.PreparerUndo(Infos[int(Kind)], Title);
  }
  void LayerChanged() override { F.LayerChanged(); }
  void DebutAction() override { F.DebutAction(QString(), true); }
  void FinAction() override { F.FinAction(); }
  void AfficherSelection() override { F.AfficherSelection(); }
  void MasquerSelection() override { F.MasquerSelection(); }
  void LockSelectionAnimation(bool Lock) override {
    if (F.UneImage() && F.Sel()) F.Sel()->LockAnimation(Lock);
  }
  void AppliquerMasqueSel(int Mode) override { F.AppliquerMasqueSel(Mode); }
  void RefreshBitmap() override { F.RefreshBitmap(); }
  void DessinerContour(TColor Color, int Width, bool Smooth) override {
    F.DessinerContour(Color, Width, Smooth, QString());
  }
  bool AutoExpandLayer() const override { return F.Settings().AutoExpandLayer; }
  int CombineSelMode() const override { return F.CombineSelMode; }
  void SetCombineSelMode(int Mode) override { F.CombineSelMode = Mode; }
  void SetCurrentCombineSel(int Mode) override { F.CurrentCombineSel = Mode; }
  TColor ImageColorAtClient(int X, int Y, bool Merged) override {
    const TPoint P = F.EnfantActif()->Image->ClientToBmp(TPoint{X, Y});
    return F.Image().GetColor(P.X, P.Y, Merged);
  }

private:
  TMainForm& F;
};

} // namespace

std::unique_ptr<TStrokeServices> MakeStrokeServices(TMainForm& Form) {
  return std::make_unique<TMainStrokeServices>(Form);
}

void TMainForm::EndStrokeInProgress() {
  if (TStrokeTools* Tools = StrokeTools()) Tools->FinishStroke();
}

void TMainForm::VerifierSelModeEtPopup() {
  if (!UneImage()) return;
  const TOutilsForm* Tools = Palette();
  const bool LayerTool = Tools && Tools->IsLayerTool();
  const bool LineTool = Tools && Tools->IsLineTool();
  const bool Wand = Tools && Tools->IsMagicTool();
  const bool SelTool = !Tools || Tools->IsSelectTool();
  const bool NoSel = CombineSelMode > 0 || DialogueForm() || VerticesMode > 0 || !(LayerTool || SelTool || Wand);
  TMyImageLayeredView& View = *EnfantActif()->Image;
  View.SelectionMode = LineTool               ? TSelMode::smLine
                       : LayerTool            ? TSelMode::smMoveLayer
                       : Wand                 ? TSelMode::smNone
                       : CombineSelMode > 0   ? TSelMode::smShape
                       : NoSel                ? TSelMode::smNone
                                              : TSelMode::smShape;
  // The painting tools reach the image through the selection.
  Sel()->SetTransparent(NoSel);
  // While the image belongs to something else a right click opens nothing.
  View.PopupMenu = NoSel ? nullptr : MenuNamed(LayerTool ? "PopCalque" : "PopImg");
  Sel()->PopupMenu = NoSel ? nullptr : MenuNamed("PopSel");
}
