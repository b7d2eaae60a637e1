// The Edit menu's commands that move pixels between the image, the clipboard
// and the fill pattern (cut, copy, the pastes, clear, the pattern), the
// purges, and the Selection menu's flips and turns; with the services the
// layer, clipboard and new-image routines of document/ reach the window
// through.
#include "app/ui/MainForm.h"

#include "app/ui/ActionBracket.h"

#include "document/Calque.h"
#include "document/Pattern.h"
#include "document/ui/CalquePaste.h"
#include "document/ui/MyImageLayeredView.h"
#include "i18n/LibLang.h"
#include "raster/Bitmap24.h"
#include "raster/ColorFill.h"
#include "raster/FoncUtils.h"
#include "raster/RectUtils.h"
#include "tools/ui/Outils.h"
#include "ui/MsgDlg.h"

#include <QAction>
#include <QMenu>

namespace {

constexpr TToolId SelectionToolId = 0;
constexpr TToolId LayerToolId = 13;

// The selection-mask services, forwarded to the window's own.
template <class TBase> class TForwardMaskHost : public TBase {
public:
  explicit TForwardMaskHost(TMainForm& Form) : F(Form) {}
  TSelectionState* Sel() override { return M().Sel(); }
  TMyImageLayered* Image() override { return M().Image(); }
  TUndoList* ListeUndo() override { return M().ListeUndo(); }
  bool Mode16M() const override { return M().Mode16M(); }
  TBitmap* BmpUndo() override { return M().BmpUndo(); }
  TBitmap* MaskUndo() override { return M().MaskUndo(); }
  bool SelAucunLissage() const override { return M().SelAucunLissage(); }
  bool SelContourProgressif() const override { return M().SelContourProgressif(); }
  TShapeManager* ViewShapeManager() override { return M().ViewShapeManager(); }
  TMyShape ViewSelShape() const override { return M().ViewSelShape(); }
  bool LoadPattern(const QString& FileName, TBitmap& Pattern, TBitmap& PatternMask) override {
    return M().LoadPattern(FileName, Pattern, PatternMask);
  }
  bool ModeRGBA(bool CheckBkgVisible) const override { return F.ModeRGBA(CheckBkgVisible); }
  void RefreshBitmap() override { F.RefreshBitmap(); }
  void LayerChanged() override { F.LayerChanged(); }

protected:
  TSelMaskHost& M() const { return F.SelMaskHost(); }
  TMainForm& F;
};

class TMainLayerHost final : public TForwardMaskHost<TLayerCommandHost> {
public:
  using TForwardMaskHost::TForwardMaskHost;
  LayerNavigator* LayerNav() override { return F.UneImage() ? F.LayerNav() : nullptr; }
  void MasquerSelection() override { F.MasquerSelection(); }
  TColor SecondaryColor() const override { return F.Palette() ? F.Palette()->GetColor(true) : clWhite; }
  TRect VisibleBmpRect() const override {
    if (!F.UneImage()) return {};
    const TMyImageLayeredView* View = F.EnfantActif()->Image;
    return View->ClientToBmp(View->ImgVisibleRect());
  }
  int BmpMarge() const override {
    if (!F.UneImage()) return 0;
    const TMyImageLayeredView* View = F.EnfantActif()->Image;
    return View->Zoom() > 0 ? static_cast<int>(View->Marge() / View->Zoom()) : View->Marge();
  }
  void AfficherSelection() override { F.AfficherSelection(); }
};

class TMainClipboardHost final : public TForwardMaskHost<TClipboardHost> {
public:
  using TForwardMaskHost::TForwardMaskHost;
  bool PixelsToProcess() override { return !F.RefuseEmptySelection(); }
};

class TMainNewImageHost final : public TNewImageHost {
public:
  explicit TMainNewImageHost(TMainForm& Form) : F(Form) {}
  TMyImageLayered* NouvelleImage(TBitmap& Bitmap, const QString& Title, TImageSourceType SourceType,
                                 int NbCol) override {
    TNewImgForm* W = F.NouvelleImage(nullptr, &Bitmap, Title, SourceType, NbCol);
    return W ? &W->Image->Image() : nullptr;
  }
  void MajMenus() override { F.MajMenus(); }

private:
  TMainForm& F;
};

// A toolbar button (not a menu item) started the command.
bool FromToolButton(const QObject* Sender) { return Sender && Sender->property("Command").isValid(); }

} // namespace

class TEditHosts : public QObject {
public:
  explicit TEditHosts(TMainForm& Form) : QObject(&Form), Layers(Form), Clipboard(Form), NewImages(Form) {}
  TMainLayerHost Layers;
  TMainClipboardHost Clipboard;
  TMainNewImageHost NewImages;
};

// ---- Services ------------------------------------------------------------------------------------------------------

bool TMainForm::CheckClipboardImage() {
  if (CollagePossible(false)) return true;
  ShowMsgDlg(Tr(TrId::GetTrDlgGlb7), mdkWarning, {mdbOk});
  return false;
}

void TMainForm::EffacerSelection() {
  if (!UneImage()) return;
  TBitmap& Layer = LeBitmap();
  const TRect R = IntersectRect(LaSelection(), BitmapRect(Layer));
  if (R.IsEmpty()) return;
  if (!HasAlpha()) {
    const TBitmap& Fond = LeFond();
    const TColor Color = Fond.Transparent ? Fond.TransparentColor() : FEditHosts->Layers.SecondaryColor();
    FillColor24(Layer, Color, 100, R);
    AppliquerMasqueSel(Fond.Transparent ? 0 : 2);
    return;
  }
  TBitmap& Mask = LeMasque();
  if (!SelectionNeedsMask(SelMaskHost(), false)) {
    FillColor24(Mask, clWhite, 100, R);
    return;
  }
  // Black marks the selected pixels, which become transparent.
  if (auto Selected = SelectionMaskOfRect(SelMaskHost(), R, Sel()->Invert(), SelLissage != 0))
    FillColorMask24(*Selected, BitmapRect(*Selected), Mask, R.Left, R.Top, BitmapRect(Mask), clWhite, 100);
}

// ---- Cut and copy --------------------------------------------------------------------------------------------------

void TMainForm::MenuEditionCopierClick(QObject* Sender, QAction* Item) {
  if (!ActionPossible(Sender) || !UneImage()) return;
  const QString Name = Item->objectName();
  const bool Merged = Name.endsWith(QLatin1String("CopierFusion"));
  const bool Cut = Name.endsWith(QLatin1String("Couper"));
  if (!Merged && RefuseEmptySelection()) return;
  TActionBracket Bracket(*this);
  TClipboardData& Clip = ClipboardData();
  // Where the copy came from, so that a paste as a layer lands there again.
  TRect From;
  if (Merged) {
    Clip.AssignMerge(FEditHosts->Clipboard);
    const TRect Whole = BitmapRect(LeFond());
    From = IntersectRect(Sel()->Visible() && !Sel()->Invert() ? Sel()->BmpSelRect() : Whole, Whole);
  } else {
    Clip.AssignLayer(SelMaskHost());
    From = Image().LayerToBmp(IntersectRect(LaSelection(), BitmapRect(LeBitmap())));
  }
  Clip.SetCopyPosition(SelMaskHost(), {From.Left, From.Top});
  if (!Cut) return;
  PreparerUndo(HasAlpha() ? miFiltreMask : miFiltre, CleanMenuCaption(MenuItem("MenuEditionCouper")->text()));
  EffacerSelection();
  MasquerSelection();
  RefreshBitmap();
  LayerChanged();
}

void TMainForm::MenuEditionEffacerClick() {
  if (!UneImage() || RefuseEmptySelection()) return;
  TActionBracket Bracket(*this);
  PreparerUndo(HasAlpha() ? miFiltreMask : miFiltre, CleanMenuCaption(MenuItem("MenuEditionEffacer")->text()));
  EffacerSelection();
  RefreshBitmap();
  LayerChanged();
}

// ---- Pastes --------------------------------------------------------------------------------------------------------

void TMainForm::PasteNewLayer(const std::function<bool(const QString& Name)>& Paste, const QString& Title) {
  if (!UneImage()) return;
  TActionBracket Bracket(*this);
  MasquerSelection();
  UpdateImageWindows();
  if (!Paste(NextLayerName(Image()))) return;
  if (TOutilsForm* Tools = Palette()) Tools->SetTool(LayerToolId);
  PreparerUndo(miCreateLayer, Title);
  MajMenus();
}

void TMainForm::MenuEditionCollerSelClick(QObject* Sender) {
  if (!ActionPossible(Sender)) return;
  if (FromToolButton(Sender) && !CheckClipboardImage()) return;
  PasteNewLayer([this](const QString& Name) { return PasteAsLayer(FEditHosts->Layers, ClipboardData(), Name); },
                CleanMenuCaption(MenuItem("MenuEditionCollerSel")->text()));
}

void TMainForm::MenuEditionCollerInClick(int Tag) {
  if (!UneImage()) return;
  TActionBracket Bracket(*this);
  PreparerUndo(miFiltreBM, CleanMenuCaption(MenuItem("MenuEditionCollerIn")->text()));
  // Nothing pasted leaves no step behind.
  if (!PasteIntoSelection(FEditHosts->Clipboard, Tag > 0)) AnnulerFiltre(false);
}

void TMainForm::MenuEditionCollerImgClick(QObject* Sender) {
  if (!ActionPossible(Sender)) return;
  TActionBracket Bracket(*this);
  if (FromToolButton(Sender) && !CheckClipboardImage()) return;
  if (TOutilsForm* Tools = Palette()) Tools->SetTool(SelectionToolId);
  UpdateImageWindows();
  NewImageFromClipboard(ClipboardData(), FEditHosts->NewImages);
}

void TMainForm::MenuEditionCollageAlphaClick(QAction* Item) {
  if (!UneImage()) return;
  TActionBracket Bracket(*this);
  PreparerUndo(miLayerAll, CleanMenuCaption(Item->text()));
  if (!PasteAsLayerMask(FEditHosts->Layers, ClipboardData())) {
    AnnulerFiltre(false);
    return;
  }
  RefreshBitmap();
  LayerChanged();
}

// ---- Pattern and purges --------------------------------------------------------------------------------------------

void TMainForm::MenuEditionMotifClick() {
  if (!UneImage() || RefuseEmptySelection()) return;
  TActionBracket Bracket(*this);
  DefinePatternFromSelection(SelMaskHost());
}

void TMainForm::MenuEditionRemplirMotifClick(QObject* Sender) {
  RunPixelCommand(
      Sender, MenuItem("MenuEditionRemplirMotif"), miFiltreBM_D, 1,
      [this](TBitmap& Bmp, const TRect& R) {
        if (DessinerSurAlpha())
          CurrentPattern().FillBmpMask(Bmp, &LeMasque(), R);
        else
          CurrentPattern().FillBmp(Bmp, R);
        return true;
      },
      5, [this](QObject* S) { MenuEditionRemplirMotifClick(S); });
}

void TMainForm::MenuPurgerHistoriqueClick() {
  PurgeAllUndo();
  AfficherInfos();
  MajUndoRedo();
}

// ---- Flips and turns of the selection ------------------------------------------------------------------------------

void TMainForm::MenuTransformClick(QAction* Item, bool FromPopup) {
  if (!UneImage()) return;
  UpdateImageWindows();
  const int Tag = Item->property("Tag").toInt();
  // From the selection's popup the selected pixels go along, as a new layer.
  if (FromPopup && SelectionToNewLayer(FEditHosts->Layers, NextLayerName(Image()), Tag + 1)) {
    if (TOutilsForm* Tools = Palette()) Tools->SetTool(LayerToolId);
    PreparerUndo(miCreateLayer, CleanMenuCaption(Item->text()));
    MajMenus();
  }
  Sel()->Transform(Tag);
}

void TMainForm::ConnectEditCommands() {
  FEditHosts = new TEditHosts(*this);
  if (!ClipboardData().OnMessage)
    ClipboardData().OnMessage = [](const QString& Text) { ShowMsgDlg(Text, mdkWarning, {mdbOk}); };
  for (const char* Name : {"MenuEditionCouper", "PopSelCouper", "MenuEditionCopier", "PopImgCopier", "PopSelCopier",
                           "MenuEditionCopierFusion", "PopImgCopierFusion", "PopSelCopierFusion"})
    ConnectSender(Name, [this, Item = MenuItem(QString::fromLatin1(Name))](QObject* S) { MenuEditionCopierClick(S, Item); });
  for (const char* Name : {"MenuEditionCollerSel", "PopImgColler"})
    ConnectSender(Name, [this](QObject* S) { MenuEditionCollerSelClick(S); });
  for (const char* Name : {"MenuEditionCollerImg", "PopFormColler"})
    ConnectSender(Name, [this](QObject* S) { MenuEditionCollerImgClick(S); });
  const QString SpecialTitle = QStringLiteral("MenuEditionCollageSpecial");
  Connect("MenuEditionCollageMasque1", [this, SpecialTitle] {
    PasteNewLayer([this](const QString& Name) { return PasteAsLayerWithMask(FEditHosts->Layers, ClipboardData(), Name); },
                  CleanMenuCaption(MenuItem(SpecialTitle)->text()));
  });
  Connect("MenuEditionCollageMasque2", [this, SpecialTitle] {
    const TColor Color = Palette() ? Palette()->GetColor(false) : clBlack;
    PasteNewLayer(
        [this, Color](const QString& Name) { return PasteMaskAsLayer(FEditHosts->Layers, ClipboardData(), Name, Color); },
        CleanMenuCaption(MenuItem(SpecialTitle)->text()));
  });
  for (const char* Name : {"MenuEditionCollerIn1", "MenuEditionCollerIn2", "PopSelCollerIn1", "PopSelCollerIn2"})
    Connect(Name, [this, Item = MenuItem(QString::fromLatin1(Name))] {
      MenuEditionCollerInClick(Item->property("Tag").toInt());
    });
  for (const char* Name : {"MenuEditionCollageAlpha", "PopEditionCollageAlpha"})
    Connect(Name, [this] { MenuEditionCollageAlphaClick(MenuItem("MenuEditionCollageAlpha")); });
  for (const char* Name : {"MenuEditionEffacer", "PopSelEffacer"}) Connect(Name, [this] { MenuEditionEffacerClick(); });
  Connect("MenuEditionMotif", [this] { MenuEditionMotifClick(); });
  ConnectSender("MenuEditionRemplirMotif", [this](QObject* S) { MenuEditionRemplirMotifClick(S); });
  Connect("MenuPurgerHistorique", [this] { MenuPurgerHistoriqueClick(); });
  Connect("MenuPurgerClipboard", [] { ClipboardData().Clear(); });
  Connect("MenuPurgerMotif", [] { CurrentPattern().Clear(); });
  // The selection popup's copies of the flips and turns also lift the pixels.
  for (QAction* Item : MenuNamed("MenuSelTransform")->actions()) {
    if (Item->isSeparator()) continue;
    Connect(Item->objectName().toLatin1().constData(), [this, Item] { MenuTransformClick(Item, false); });
    const QString PopName = QStringLiteral("PopSelTransform_") + Item->objectName();
    for (QAction* Copy : MenuNamed("PopSelTransform")->actions()) {
      if (Copy->objectName() != PopName) continue;
      disconnect(Copy, &QAction::triggered, Item, &QAction::trigger);
      connect(Copy, &QAction::triggered, this, [this, Item] { MenuTransformClick(Item, true); });
    }
  }
}
