// Text layers and the retouch dialog in the main window: Layer > New >
// "Texte..." (and its toolbar button) opens the text dialog for a new layer,
// the options of a text layer open it on that layer, Filter > "R-Touch..."
// opens the retouch dialog on a prepared filter step; and the services both
// dialogs reach through TToolDialogHost.
#include "app/ui/MainForm.h"

#include "document/Calque.h"
#include "document/TxtData.h"
#include "document/ui/MyImageLayeredView.h"
#include "files/ui/BmpOE2.h"
#include "platform/Rounding.h"
#include "raster/FoncUtils.h"
#include "tools/ui/Outils.h"
#include "tools/ui/RTouch.h"
#include "tools/ui/Text.h"
#include "tools/ui/ToolDialogHost.h"
#include "ui/DlgEx.h"

#include <QAction>
#include <QPointer>

namespace {

QPointer<TTextForm> TextForm;
QPointer<TRTouchForm> RTouchForm;

// What the text-layer commands of the document need of the main window.
class TMainLayerCommandHost final : public TLayerCommandHost {
public:
  explicit TMainLayerCommandHost(TMainForm& Form) : F(Form), M(Form.SelMaskHost()) {}
  TSelectionState* Sel() override { return M.Sel(); }
  TMyImageLayered* Image() override { return M.Image(); }
  TUndoList* ListeUndo() override { return M.ListeUndo(); }
  bool Mode16M() const override { return M.Mode16M(); }
  TBitmap* BmpUndo() override { return M.BmpUndo(); }
  TBitmap* MaskUndo() override { return M.MaskUndo(); }
  bool SelAucunLissage() const override { return M.SelAucunLissage(); }
  bool SelContourProgressif() const override { return M.SelContourProgressif(); }
  TShapeManager* ViewShapeManager() override { return M.ViewShapeManager(); }
  TMyShape ViewSelShape() const override { return M.ViewSelShape(); }
  bool LoadPattern(const QString& FileName, TBitmap& Pattern, TBitmap& PatternMask) override {
    return M.LoadPattern(FileName, Pattern, PatternMask);
  }
  LayerNavigator* LayerNav() override { return F.UneImage() ? F.LayerNav() : nullptr; }
  void MasquerSelection() override { F.MasquerSelection(); }
  bool ModeRGBA(bool CheckBkgVisible) const override { return F.ModeRGBA(CheckBkgVisible); }
  TColor SecondaryColor() const override { return F.Palette() ? F.Palette()->GetColor(true) : clWhite; }
  TRect VisibleBmpRect() const override {
    const TMyImageLayeredView* View = F.EnfantActif()->Image;
    return View->ClientToBmp(View->ImgVisibleRect());
  }
  int BmpMarge() const override {
    const TMyImageLayeredView* View = F.EnfantActif()->Image;
    return View->Zoom() > 0 ? Round(View->Marge() / View->Zoom()) : View->Marge();
  }
  void AfficherSelection() override {
    F.AfficherSelection();
    F.SetUneSelection(true);
  }
  void RefreshBitmap() override { F.RefreshBitmap(); }
  void LayerChanged() override { F.LayerChanged(); }

private:
  TMainForm& F;
  TSelMaskHost& M;
};

class TMainToolDialogHost final : public QObject, public TToolDialogHost {
public:
  explicit TMainToolDialogHost(TMainForm& Form) : QObject(&Form), F(Form), Commands(Form) {
    SetToolDialogHost(this);
  }
  ~TMainToolDialogHost() override {
    if (ToolDialogHost() == this) SetToolDialogHost(nullptr);
  }
  TMyImageLayeredView* ActiveView() const override { return F.UneImage() ? F.EnfantActif()->Image : nullptr; }
  const TBitmap& BmpUndo() const override { return F.BmpUndo; }
  void DebutAction() override { F.DebutAction(QString(), true); }
  void FinAction() override { F.FinAction(); }
  void RestaureBitmap() override { F.RestaureBitmap(); }
  void RefreshBitmap() override { F.RefreshBitmap(); }
  void AnnulerFiltre(bool Restaure) override { F.AnnulerFiltre(Restaure); }
  void ClearLastFilterEvent() override {
    const TMainForm::TLastFilter Last = F.LastFilter();
    F.DernierFiltre(Last.Caption, Last.Sender, nullptr, Last.Flag);
  }
  void LayerChanged() override { F.LayerChanged(); }
  void MajMenus() override { F.MajMenus(); }

  TTextData* CurrentTextData() override {
    TLayerItem* L = F.UneImage() ? F.Image().CurrentLayer() : nullptr;
    return L && L->LayerType == ltData ? dynamic_cast<TTextData*>(L->Data()) : nullptr;
  }
  bool AddTextLayer(const TTextData& Data, const TRect& OldSel) override {
    if (!F.UneImage() || !ApplyTextLayer(Commands, NextLayerName(F.Image()), Data, true, OldSel)) return false;
    F.PreparerUndo(miCreateLayer, TitreMenu("MenuCalqueNouveau") + QStringLiteral(" > ") + TitreMenu("MenuTexte"));
    F.LayerChanged();
    return true;
  }
  void PrepareTextDataUndo() override { F.PrepareTextDataUndo(); }
  void RenderCurrentText() override {
    if (TTextData* Data = CurrentTextData()) ApplyTextLayer(Commands, QString(), *Data, false, TRect{});
  }
  void TextToSelection(const TTextData& Data, bool Centered) override {
    if (F.UneImage()) TextDataToSelection(Commands, Data, Centered);
  }
  QString SelectPatternFile() override { return OpenImageDialog(F.DataFolders().MotifDir); }
  QString ProgramDir() const override { return F.ProgramDir(); }

  void SetTool(int Number) override {
    if (F.ToolHooks()) F.ToolHooks()->SetTool(Number);
  }
  void LayerModeMenuItem(int Index, QString& Caption, int& Tag) const override {
    Caption.clear();
    Tag = 0;
    if (F.Palette()) F.Palette()->LayerModeMenuItem(Index, Caption, Tag);
  }
  QString TitreMenu(const QString& ItemName) const override { return F.TitreMenu(ItemName); }
  QString TitreMenu(const char* ItemName) const { return TitreMenu(QString::fromLatin1(ItemName)); }
  void PreparerPopupMenu(QMenu* Menu) override { F.PreparerPopupMenu(Menu); }

private:
  TMainForm& F;
  TMainLayerCommandHost Commands;
};

} // namespace

void TMainForm::OpenTextDialog(bool Nouveau, bool IgnoreFirstClick) {
  if (!UneImage()) return;
  TTextForm* Form = CreateFormIfNeeded(TextForm, this);
  if (Nouveau) {
    const TSelectionControl* S = Sel();
    Form->OldSel = S && S->Visible() ? S->BmpSelRect() : TRect{0, 0, LeFond().Width(), LeFond().Height()};
    MasquerSelection();
  } else if (!IsTextLayer(Image())) {
    // Only a text layer's options are the text dialog's.
    return;
  }
  Form->Nouveau = Nouveau;
  Form->IgnoreFirstClick = !Nouveau && IgnoreFirstClick;
  Form->show();
}

void TMainForm::ConnectTextCommands() {
  new TMainToolDialogHost(*this);
  QAction* Texte = MenuItem(QStringLiteral("MenuTexte"));
  Connect("MenuTexte", [this, Texte] {
    if (ActionPossible(CommandSender(Texte))) OpenTextDialog(true, false);
  });
  QAction* RTouch = MenuItem(QStringLiteral("MenuRTouch"));
  Connect("MenuRTouch", [this, RTouch] {
    if (!UneImage()) return;
    if (Sel() && Sel()->Visible()) MasquerSelection();
    PreparerUndo(miFiltre, CleanMenuCaption(RTouch->text()));
    CreateFormIfNeeded(RTouchForm, this)->show();
  });
}
