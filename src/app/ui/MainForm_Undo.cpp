// The main window's undo spine: the undo record prepared before every
// change, Edit > Undo and Redo with what the records keep of the image, the
// last command remembered for Edit > Repeat, the cancelling of a prepared
// change, the change kept inside the selection, and the direct pixel
// commands built on them (Filter > Blur).
#include "app/StatusProgress.h"
#include "app/UndoRules.h"
#include "app/ui/ActionBracket.h"
#include "app/ui/MainForm.h"
#include "document/Calque.h"
#include "raster/FoncUtils.h"

#include "filters/Blur24.h"
#include "files/PatternFile.h"
#include "platform/Rounding.h"
#include "raster/Bitmap24.h"
#include "raster/FilterEvent.h"
#include "tools/ui/Outils.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>

namespace {

// What the selection masks and the layer commands need of the main window,
// read afresh at each call from the active image window.
class TMainSelMaskHost final : public TLayerCommandHost {
public:
  explicit TMainSelMaskHost(TMainForm& Form) : FForm(Form) {}
  TSelectionState* Sel() override { return FForm.UneImage() ? FForm.Sel() : nullptr; }
  TMyImageLayered* Image() override { return FForm.UneImage() ? &FForm.Image() : nullptr; }
  TUndoList* ListeUndo() override { return FForm.UneImage() ? &FForm.ListeUndo() : nullptr; }
  bool Mode16M() const override { return FForm.Mode16M(); }
  TBitmap* BmpUndo() override { return &FForm.BmpUndo; }
  TBitmap* MaskUndo() override { return &FForm.MaskUndo; }
  bool SelAucunLissage() const override { return FForm.SelLissage == 0; }
  bool SelContourProgressif() const override { return FForm.SelLissage == 2; }
  TShapeManager* ViewShapeManager() override {
    return FForm.UneImage() ? &FForm.EnfantActif()->Image->ShapeManager() : nullptr;
  }
  TMyShape ViewSelShape() const override { return FForm.UneImage() ? FForm.EnfantActif()->Image->SelShape() : ssRect; }
  bool LoadPattern(const QString& FileName, TBitmap& Pattern, TBitmap& PatternMask) override {
    return LoadPatternFile(FileName, Pattern, PatternMask, FForm.DataFolders().MotifDir);
  }
  LayerNavigator* LayerNav() override { return FForm.UneImage() ? FForm.LayerNav() : nullptr; }
  void MasquerSelection() override { FForm.MasquerSelection(); }
  bool ModeRGBA(bool CheckBkgVisible) const override { return FForm.ModeRGBA(CheckBkgVisible); }
  TColor SecondaryColor() const override { return FForm.Palette() ? FForm.Palette()->GetColor(true) : clWhite; }
  TRect VisibleBmpRect() const override {
    if (!FForm.UneImage()) return {};
    const TMyImageLayeredView* View = FForm.EnfantActif()->Image;
    return View->ClientToBmp(View->ImgVisibleRect());
  }
  int BmpMarge() const override {
    if (!FForm.UneImage()) return 0;
    const TMyImageLayeredView* View = FForm.EnfantActif()->Image;
    return Round(View->Marge() / View->Zoom());
  }
  void AfficherSelection() override { FForm.AfficherSelection(); }
  void RefreshBitmap() override { FForm.RefreshBitmap(); }
  void LayerChanged() override { FForm.LayerChanged(); }

private:
  TMainForm& FForm;
};

} // namespace

// ---- Preparing the undo record -----------------------------------------------------------------------------------

bool TMainForm::NeedExpandLayer(TModifInfo Info) const {
  if (!FSettings.AutoExpandLayer || !UneImage() || (Info != miDrawBM && Info != miFiltreBM_D)) return false;
  const TSelectionControl* S = Sel();
  const bool Visible = S && S->Visible();
  if (Info == miFiltreBM_D && !Visible) return false;
  const TRect Whole{0, 0, LeFond().Width(), LeFond().Height()};
  const TRect Target = Info == miDrawBM && Visible && !S->Invert() ? IntersectRect(S->BmpSelRect(), Whole) : Whole;
  return ReachesBeyond(Target, Image().CurrentLayer()->BoundsRect());
}

void TMainForm::PreparerUndo(TModifInfo Info, const QString& Titre) {
  TNewImgForm* W = EnfantActif();
  if (!W) return;
  // A command that comes in the middle of a stroke follows it as a step of
  // its own.
  EndStrokeInProgress();
  UpdateImageWindows();
  FlagAutoExpand = false;
  if (UndoHidesSelection(Info)) MasquerSelection();
  Info = AdjustModifInfo(Info, DessinerSurAlpha(), HasAlpha());
  TMyImageLayered& Img = Image();
  TUndoList& List = *W->ListeUndo;
  const auto* Current = dynamic_cast<const TUndoLayerItem*>(List.CurrentUndo());
  // A fade works on the change it fades; without one there is nothing to do.
  if (Info == miAttenuer && !Current) return;
  int Index = Img.LayerIndex();
  if (Info == miAttenuer) {
    Index = Current->LayerIndex();
  } else if (UndoOnBackground(Info)) {
    Index = 0;
    Img.SetLayerIndex(0);
    W->LayerNav->ResetLayerIndex();
  }
  if (Index < 0 || Index >= Img.Layers().Count() || (Info == miMergeLayers && Index < 1)) return;
  TLayerItem& Layer = Img.Layers()[Index];
  const TUndoType Type = Info == miAttenuer ? Current->UndoType() : UndoTypeOf(Info);
  const TRect Region = UndoStartsEmpty(Info) ? TRect{0, 0, 0, 0} : Info == miAttenuer ? Current->Region() : LaSelection();

  std::unique_ptr<TUndoLayerItem> Item;
  switch (UndoRecordClassOf(Info)) {
  case TUndoRecordClass::LayerInfos:
    Item = std::make_unique<TUndoLayerInfos>(Layer);
    break;
  case TUndoRecordClass::AllLayers:
    Item = std::make_unique<TUndoAllLayers>(Layer);
    break;
  case TUndoRecordClass::WholeLayer:
    Item = std::make_unique<TUndoLayerItem>(Layer, Type);
    break;
  case TUndoRecordClass::ExpandOrRegion:
    if (NeedExpandLayer(Info)) {
      auto Expand = std::make_unique<TUndoExpandLayer>(Layer, Region, TRect{0, 0, LeFond().Width(), LeFond().Height()},
                                                       Img);
      FlagAutoExpand = Expand->AutoExpanded();
      Item = std::move(Expand);
      break;
    }
    [[fallthrough]];
  case TUndoRecordClass::RegionLayer:
  case TUndoRecordClass::Fade:
    Item = std::make_unique<TUndoLayerItem>(Layer, Region, Type);
    break;
  case TUndoRecordClass::LayerIndex:
    Item = std::make_unique<TUndoLayerIndex>(Layer);
    break;
  case TUndoRecordClass::TextData:
    Item = std::make_unique<TUndoTextData>(Layer);
    break;
  case TUndoRecordClass::CreateLayer:
    Item = std::make_unique<TUndoCreateLayer>(Layer);
    break;
  case TUndoRecordClass::DeleteLayer:
    Item = std::make_unique<TUndoDeleteLayer>(Layer);
    break;
  case TUndoRecordClass::InsertBkg:
    Item = std::make_unique<TUndoInsertBakground>(Layer);
    break;
  case TUndoRecordClass::MergeLayers:
    Item = std::make_unique<TUndoMergeLayers>(Layer, Img.Layers()[Index - 1], Index - 1 == 0);
    break;
  case TUndoRecordClass::MergeAll:
    Item = std::make_unique<TUndoMergeAll>(Layer);
    break;
  case TUndoRecordClass::ShowHideAll:
    Item = std::make_unique<TUndoShowHideAll>(Layer);
    break;
  }
  Item->Caption = UndoTitle(Titre, AddShortcut);
  Item->SetNavigator(W->LayerNav);
  if (Info == miMergeLayers) {
    Item->SetLayerIndex(Index - 1);
    static_cast<TUndoMergeLayers*>(Item.get())->SetSupIndex(Index);
  } else {
    Item->SetLayerIndex(Index);
  }
  TUndoItem* Added = List.Add(std::move(Item));

  switch (BmpUndoCopyOf(Info)) {
  case TScratchCopy::Bitmap:
    BmpUndo.Assign(Layer.Bitmap());
    break;
  case TScratchCopy::Mask:
    BmpUndo.Assign(Layer.Mask());
    break;
  case TScratchCopy::None:
    break;
  }
  if (MaskUndoCopiesMask(Info)) MaskUndo.Assign(Layer.Mask());
  Added->SetFlag(1, Img.ColorCount);
  Added->SetFlag(2, Info);
  Added->SetFlag(4, Round(Img.ResolutionX * 1000));
  MajUndoRedo();
}

// ---- Undo and redo -----------------------------------------------------------------------------------------------

namespace {

// The image's colour count and resolution exchanged with those the record
// keeps in flags 1 and 4.
void SwapImageFlags(TMyImageLayered& Img, TUndoItem& R) {
  const int Colors = R.GetFlag(1);
  const int Resolution = R.GetFlag(4);
  R.SetFlag(1, Img.ColorCount);
  R.SetFlag(4, Round(Img.ResolutionX * 1000));
  Img.ColorCount = Colors;
  Img.ResolutionX = Resolution / 1000.0;
}

// Every layer above the background moved by (DX, DY).
void OffsetUpperLayers(TMyImageLayered& Img, int DX, int DY) {
  if (DX == 0 && DY == 0) return;
  for (int I = 1; I < Img.Layers().Count(); ++I) {
    TLayerItem& L = Img.Layers()[I];
    L.Pos = {L.Pos.X + DX, L.Pos.Y + DY};
  }
}

} // namespace

void TMainForm::Undo() {
  EndStrokeInProgress();
  TNewImgForm* W = EnfantActif();
  TUndoItem* R = W ? W->ListeUndo->CurrentUndo() : nullptr;
  if (!R) return;
  TMyImageLayered& Img = Image();
  const int OldIndex = Img.LayerIndex();
  const QSize OldSize(LeFond().Width(), LeFond().Height());
  // The record's index as its undo leaves it (a reorder swaps it back); a
  // one-way record goes with the undo, so its index is read first.
  const auto* Layer = dynamic_cast<const TUndoLayerItem*>(R);
  const bool Kept = R->CanRedo;
  int RecordIndex = Layer ? Layer->LayerIndex() : OldIndex;
  const bool Merge = dynamic_cast<const TUndoMergeLayers*>(R) != nullptr;
  const bool Expansion = dynamic_cast<const TUndoExpandLayer*>(R) != nullptr;
  const int DX = R->GetFlag(5), DY = R->GetFlag(6), Turn = R->GetFlag(7);
  SwapImageFlags(Img, *R);
  W->ListeUndo->Undo();
  if (Layer && Kept) RecordIndex = Layer->LayerIndex();
  OffsetUpperLayers(Img, -DX, -DY);
  FlipRotateAllLayers(*W->LayerNav, -Turn);
  const bool SameSize = OldSize == QSize(LeFond().Width(), LeFond().Height());
  if (RecordIndex != 0 || SameSize) {
    RefreshBitmap();
    if (Expansion) LayerChanged();
    Img.SetLayerIndex(std::clamp(RecordIndex + (Merge ? 1 : 0), 0, Img.Layers().Count() - 1));
    W->LayerNav->ResetLayerIndex();
    if (Img.LayerIndex() != OldIndex) MasquerSelection();
  } else {
    TailleChangee();
  }
  MajMenus();
  AfficherInfos();
}

void TMainForm::Redo() {
  EndStrokeInProgress();
  TNewImgForm* W = EnfantActif();
  TUndoItem* R = W ? W->ListeUndo->NextUndo() : nullptr;
  if (!R) return;
  TMyImageLayered& Img = Image();
  const int OldIndex = Img.LayerIndex();
  const QSize OldSize(LeFond().Width(), LeFond().Height());
  W->ListeUndo->Redo();
  SwapImageFlags(Img, *R);
  OffsetUpperLayers(Img, R->GetFlag(5), R->GetFlag(6));
  FlipRotateAllLayers(*W->LayerNav, R->GetFlag(7));
  const auto* Layer = dynamic_cast<const TUndoLayerItem*>(R);
  const int RecordIndex = Layer ? Layer->LayerIndex() : OldIndex;
  const bool SameSize = OldSize == QSize(LeFond().Width(), LeFond().Height());
  if (RecordIndex != 0 || SameSize) {
    RefreshBitmap();
    if (dynamic_cast<const TUndoExpandLayer*>(R)) LayerChanged();
    Img.SetLayerIndex(std::clamp(RecordIndex, 0, Img.Layers().Count() - 1));
    W->LayerNav->ResetLayerIndex();
    if (Img.LayerIndex() != OldIndex) MasquerSelection();
  } else {
    TailleChangee();
  }
  MajMenus();
  AfficherInfos();
}

void TMainForm::MenuEditionUndoClick(const QObject* Sender) {
  if (!ActionPossible(Sender)) return;
  TActionBracket Bracket(*this);
  if (!Sender || Sender->objectName() != QLatin1String("BtnUndo")) UpdateImageWindows();
  Undo();
}

void TMainForm::MenuEditionRedoClick(const QObject* Sender) {
  if (!ActionPossible(Sender)) return;
  TActionBracket Bracket(*this);
  if (!Sender || Sender->objectName() != QLatin1String("BtnRedo")) UpdateImageWindows();
  Redo();
}

// ---- Repeat and cancel -------------------------------------------------------------------------------------------

void TMainForm::DernierFiltre(const QString& Titre, QObject* Sender, std::function<void(QObject*)> Event, int Flag) {
  FLastFilter = {Titre, Sender, std::move(Event), Flag};
  LayerChanged();
}

void TMainForm::MenuEditionRepeterClick() {
  if (!FLastFilter.Event) return;
  // The handler may replace the remembered command: call a copy.
  const auto Event = FLastFilter.Event;
  Event(FLastFilter.Sender);
  RefreshBitmap();
  LayerChanged();
}

void TMainForm::RestaureBitmap() {
  if (!UneImage()) return;
  if (auto* Record = dynamic_cast<TUndoBmpItem*>(ListeUndo().CurrentUndo())) Record->Restore();
}

void TMainForm::AnnulerFiltre(bool Restaure) {
  if (UneImage()) {
    if (Restaure) RestaureBitmap();
    // Indexed colours drop the background's transparent colour before their
    // dialog shows: a cancel without pixels to restore still gives it back.
    // Only the background record: it always has its live bitmap, where a
    // layer record may outlive its layer.
    else if (auto* Bkg = dynamic_cast<TUndoAllLayers*>(ListeUndo().CurrentUndo()))
      Bkg->RestoreTransparency();
    if (auto* Expand = dynamic_cast<TUndoExpandLayer*>(ListeUndo().CurrentUndo())) Expand->RestoreSize();
    RefreshBitmap();
    ListeUndo().DeleteLast();
  }
  BmpUndo.Assign(TBitmap());
  MaskUndo.Assign(TBitmap());
  MajUndoRedo();
  FLastFilter.Event = nullptr;
  FLastFilter.Sender = nullptr;
}

void TMainForm::AppliquerMasqueSel(int Mode) {
  if (UneImage()) BlendUndoOutsideSelection(*FSelMaskHost, Mode, false);
}

void TMainForm::DessinerContour(TColor Couleur, int Largeur, bool Lisser, const QString& Motif) {
  if (UneImage()) DrawSelectionContour(*FSelMaskHost, Couleur, Largeur, Lisser, Motif);
}

// ---- Direct pixel commands ---------------------------------------------------------------------------------------

void TMainForm::RunPixelCommand(QObject* Sender, QAction* Item, TModifInfo Info, int MaskMode, const TPixelWork& Work,
                                int RepeatFlag, std::function<void(QObject*)> Handler, const QString& Titre) {
  if (!ActionPossible(Sender) || !UneImage()) return;
  // A toolbar button runs the command as its menu item, which Repeat names.
  if (Sender && Sender != Item && Sender->property("Command").isValid()) Sender = Item;
  TActionBracket Bracket(*this);
  const QString Title = Titre.isEmpty() ? CleanMenuCaption(Item->text()) : Titre;
  PreparerUndo(Info, Title);
  if (!Work(LeBitmap(), LaSelection())) return;
  AppliquerMasqueSel(MaskMode);
  RefreshBitmap();
  DernierFiltre(Title, Sender, std::move(Handler), RepeatFlag);
}

void TMainForm::MenuFiltreFlouClick(QObject* Sender) {
  RunPixelCommand(
      Sender, MenuItem("MenuFiltreFlou"), miFiltre, 1,
      [](TBitmap& Bmp, const TRect& R) {
        BoxBlur3x3(Bmp, R);
        return true;
      },
      0, [this](QObject* S) { MenuFiltreFlouClick(S); });
}

void TMainForm::ConnectSender(const char* Name, std::function<void(QObject*)> Handler) {
  QAction* Item = MenuItem(QString::fromLatin1(Name));
  Item->setEnabled(true);
  Item->setProperty("Built", true);
  connect(Item, &QAction::triggered, this, [this, Item, Handler = std::move(Handler)] { Handler(CommandSender(Item)); });
}

void TMainForm::ConnectUndoCommands() {
  FSelMaskHost = std::make_unique<TMainSelMaskHost>(*this);
  ConnectSender("MenuEditionUndo", [this](QObject* S) { MenuEditionUndoClick(S); });
  ConnectSender("MenuEditionRedo", [this](QObject* S) { MenuEditionRedoClick(S); });
  ConnectSender("PopImgUndo", [this](QObject* S) { MenuEditionUndoClick(S); });
  ConnectSender("PopImgRedo", [this](QObject* S) { MenuEditionRedoClick(S); });
  ConnectSender("MenuFiltreFlou", [this](QObject* S) { MenuFiltreFlouClick(S); });
  Connect("MenuEditionRepeter", [this] { MenuEditionRepeterClick(); });
  // The image popup's undo and redo items read as the Edit menu's.
  connect(MenuNamed("PopImg"), &QMenu::aboutToShow, this, [this] {
    for (const auto& [Pop, Item] : {std::pair{"PopImgUndo", "MenuEditionUndo"}, std::pair{"PopImgRedo", "MenuEditionRedo"}}) {
      MenuItem(QString::fromLatin1(Pop))->setText(MenuItem(QString::fromLatin1(Item))->text());
      MenuItem(QString::fromLatin1(Pop))->setEnabled(MenuItem(QString::fromLatin1(Item))->isEnabled());
    }
  });
  MajUndoRedo();
}
