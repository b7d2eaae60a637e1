// The main window's action services: the active image and its parts, the
// bracket every command runs in, the image-window life cycle, the status
// information, the recent files and the undo steps of layer moves.
#include "app/ui/MainForm.h"

#include "app/Commun.h"
#include "app/StatusProgress.h"
#include "app/ui/MainStatusBar.h"
#include "document/ImageToolHost.h"
#include "extensions/ui/Pe.h"
#include "files/ColorDepth.h"
#include "i18n/Format.h"
#include "platform/Beep.h"
#include "platform/Rounding.h"
#include "raster/FilterEvent.h"
#include "raster/FoncUtils.h"
#include "ui/MsgDlg.h"
#include "ui/SimplePanel.h"
#include "ui/SpecialEdit.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include <cmath>

// ---- The active image ----------------------------------------------------------------------------------------

TMyImageLayered& TMainForm::Image() const { return EnfantActif()->Image->Image(); }
TBitmap& TMainForm::LeBitmap() const { return Image().CurrentLayer()->Bitmap(); }
TBitmap& TMainForm::LeMasque() const { return Image().CurrentLayer()->Mask(); }
TBitmap& TMainForm::LeFond() const { return Image().Layers()[0].Bitmap(); }
TLayerNavigator* TMainForm::LayerNav() const { return EnfantActif()->LayerNav; }
TUndoList& TMainForm::ListeUndo() const { return *EnfantActif()->ListeUndo; }

TRect TMainForm::LaSelection() const {
  const TMyImageLayered& Img = Image();
  const TSelectionControl* S = Sel();
  TRect R;
  if (S && S->Visible())
    R = S->Invert() ? TRect{0, 0, LeFond().Width(), LeFond().Height()} : S->BmpSelRect();
  else
    R = Img.CurrentLayer()->BoundsRect();
  return Img.BmpToLayer(R);
}

bool TMainForm::Mode16M() const { return UneImage() && Image().ColorCount > 256; }

bool TMainForm::ModeRGBA(bool CheckBkgVisible) const { return UneImage() && ::ModeRGBA(Image(), CheckBkgVisible); }

bool TMainForm::HasAlpha() const {
  const TLayerItem* L = UneImage() ? Image().CurrentLayer() : nullptr;
  return L && !L->Mask().Empty();
}

bool TMainForm::DessinerSurAlpha() const { return FSettings.DessinAlpha && HasAlpha(); }

QString TMainForm::NomFichier() const { return UneImage() ? EnfantActif()->NomFichier : QString(); }

void TMainForm::SetNomFichier(const QString& Value) {
  if (!UneImage()) return;
  EnfantActif()->NomFichier = Value;
  EnfantActif()->setWindowTitle(QFileInfo(Value).fileName());
}

bool TMainForm::UneSelection() const { return UneImage() && EnfantActif()->UneSelection; }

void TMainForm::SetUneSelection(bool Value) {
  if (UneImage()) EnfantActif()->UneSelection = Value;
}

int TMainForm::NbCouleurs() const { return UneImage() ? Image().ColorCount : 0; }

void TMainForm::SetNbCouleurs(int Value) {
  if (UneImage()) Image().ColorCount = Value;
}

int TMainForm::LayerNavSize() const {
  // The tags of the four "Miniatures des calques" items.
  constexpr int Tags[] = {0, 80, 120, -1};
  return Tags[std::clamp(FSettings.ThumbSize, 0, 3)];
}

// ---- The action bracket --------------------------------------------------------------------------------------

bool TMainForm::ActionPossible(const QObject* Sender) {
  static const QStringList ZoomButtons = {"BtnZoomPlus", "BtnZoomMoins", "BtnZoom100", "BtnZoomAuto"};
  if (Sender && ZoomButtons.contains(Sender->objectName())) {
    if (!FEdiZoom->ReadOnly()) return true;
    Beep();
    return false;
  }
  if (VerticesMode == 0 && !FDialogueForm) return true;
  if (VerticesMode == 2)
    ShowMsgDlg(Tr(TrId::GetTrDlgPath1), mdkWarning, {mdbOk});
  else if (VerticesMode == 1)
    ShowMsgDlg(Tr(TrId::GetTrDlgGlb6), mdkWarning, {mdbOk});
  else
    Beep();
  return false;
}

QObject* TMainForm::CommandSender(QAction* Item) const {
  return FButtonSender ? static_cast<QObject*>(FButtonSender.data()) : Item;
}

bool TMainForm::DisableMenu() const { return FDialogueForm || VerticesMode > 0; }

void TMainForm::DebutAction(const QString& Msg, bool ChangerCurseur) {
  SetStatusText(Msg.isEmpty() ? Tr(TrId::GetTrStaProcessing) : Msg);
  // A slide show steps without the busy cursor.
  if (ChangerCurseur && !FHourglass && !IsSlideShowRunning()) {
    FHourglass = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
  }
}

void TMainForm::FinAction() {
  ProgressDisabled = false;
  ProgressCancelled = false;
  SetProgressPasses(1);
  SetProgressKeepStart(false);
  SetProgressTag(0);
  if (IsProgressRunning()) ProgressEvent(ProgressStageEnd, 0);
  SetStatusText(Tr(TrId::GetTrStaReady));
  if (FHourglass) {
    FHourglass = false;
    QApplication::restoreOverrideCursor();
  }
}

void TMainForm::SetDialogueForm(QWidget* Form) {
  if (FDialogueForm == Form) return;
  FDialogueForm = Form;
  const bool Free = !Form && VerticesMode == 0;
  if (!Free) InitPosition();
  FPnlPlugins->setEnabled(Free);
  if (Free) {
    EnableImageWindows();
    setFocus();
  } else {
    DisableImageWindows(EnfantActif());
  }
}

void TMainForm::SetModalForm(QWidget* Form) {
  if (FModalForm == Form) return;
  FModalForm = Form;
  // The frame's own parts: a modal form the main window owns stays usable.
  menuBar()->setEnabled(!Form);
  centralWidget()->setEnabled(!Form);
  if (Form) {
    DebutDialogueEx();
  } else {
    FinDialogueEx();
    setFocus();
  }
}

void TMainForm::SetPipetteForm(QWidget* Form) {
  if (FPipetteForm == Form) return;
  FPipetteForm = Form;
  SetDialogueForm(Form);
}

void TMainForm::DebutDialogueEx() {
  ++DialogueEnCours;
  InitPosition();
}

void TMainForm::FinDialogueEx() {
  if (DialogueEnCours > 0) --DialogueEnCours;
}

// ---- Image windows -------------------------------------------------------------------------------------------

TNewImgForm* TMainForm::NouvelleImage(TMyImageLayered* Source, const TBitmap* Bitmap, const QString& FileName,
                                      TImageSourceType SourceType, int NbCol) {
  // The area does not repaint while the window is built and fitted.
  FMdiArea->setUpdatesEnabled(false);
  auto* Form = new TNewImgForm(*this, FMdiArea, Source, Bitmap, FileName, SourceType, NbCol, true,
                               MenuItem("MenuAffichageMaximiser")->isChecked());
  FMdiArea->setUpdatesEnabled(true);
  // The window's own system menu would take Ctrl+W and Ctrl+F4 as well,
  // and a key bound twice runs neither: the File menu's keys win.
  if (QMenu* System = Form->systemMenu())
    for (QAction* Item : System->actions()) Item->setShortcut(QKeySequence());
  connect(
      Form, &QObject::destroyed, this, [this] { ImageWindowGone(); }, Qt::QueuedConnection);
  Form->Image->PopupMenu = MenuNamed(QStringLiteral("PopImg"));
  Form->LayerNav->PopupMenu = MenuNamed(QStringLiteral("PopCalque"));
  FEdiZoom->SetItemIndex(0);
  RestaureZoom();
  AfficherInfos();
  MajMenus();
  return Form;
}

QMenu* TMainForm::PopupMenuBar() const {
  return MenuNamed(VerticesMode == 1 ? "PopTortion" : VerticesMode == 2 ? "PopPath" : "PopImg");
}

void TMainForm::RetablirImage(TMyImageLayered& Img, const QString& FileName, int NbCol) {
  TNewImgForm* W = EnfantActif();
  if (!W) return;
  W->ListeUndo->Clear();
  W->ResetModified();
  W->Image->Image().GetImageLayers(Img);
  W->LayerNav->Synchronize(true);
  if (NomFichier() != FileName) {
    SetNomFichier(FileName);
    UpdateWindowMenuItem(W, W->windowTitle());
  }
  SetNbCouleurs(NbCol);
  TailleChangee();
  MajMenus();
}

bool TMainForm::FermerImage(TNewImgForm* Window, bool Force) {
  if (!Window) return false;
  const bool CanClose = Force || Window->VerifEnregistrement();
  Window->CanCloseFlag = false;
  if (!CanClose) return false;
  // The window beneath the closed one comes forward, not the first opened
  // (the area would activate that one, and raise it, as the window goes).
  QList<QMdiSubWindow*> Stack = FMdiArea->subWindowList(QMdiArea::StackingOrder);
  Stack.removeAll(Window);
  delete Window;
  if (!Stack.isEmpty() && FMdiArea->activeSubWindow() != Stack.last()) FMdiArea->setActiveSubWindow(Stack.last());
  MajMenus();
  AfficherInfos();
  return true;
}

void TMainForm::ImageWindowGone() {
  if (!ImageWindows().empty()) return;
  MajMenus();
  AfficherInfos();
}

void TMainForm::RefreshBitmap() {
  if (UneImage()) EnfantActif()->Image->Invalidate();
}

void TMainForm::LayerChanged() {
  SetProgressPasses(1);
  if (UneImage() && Image().LayerIndex() >= 0) LayerNav()->UpdateThumb(Image().LayerIndex());
  BmpUndo.Assign(TBitmap());
  MaskUndo.Assign(TBitmap());
}

void TMainForm::TailleChangee() {
  if (!UneImage()) return;
  if (Sel()) {
    Sel()->SetVisible(false);
    Sel()->ShapeManager().Clear();
  }
  MajZoomImage();
  AfficherInfos();
  SetUneSelection(false);
  if (QAction* Btn = ToolBar(1)->findChild<QAction*>("BtnSelection")) Btn->setEnabled(false);
  InitPosition();
  LayerNav()->Synchronize(true);
  Image().SetLayerIndex(0);
  LayerNav()->ResetLayerIndex();
}

QString TMainForm::DocumentInfoText() const {
  if (!UneImage()) return QString();
  TMyImageLayered& Img = Image();
  TDocumentInfoFacts F;
  F.FileName = NomFichier();
  F.FromFile = EnfantActif()->IsFileSource();
  F.Width = LeFond().Width();
  F.Height = LeFond().Height();
  for (int I = 0; I < Img.Layers().Count(); ++I) {
    const TLayerItem& L = Img.Layers()[I];
    F.Memory +=
        int64_t(L.Bitmap().Width()) * L.Bitmap().Height() * 3 + int64_t(L.Mask().Width()) * L.Mask().Height() * 3;
  }
  F.HistoryMemory = ListeUndo().GetMemSize();
  Img.MergeLayersForPreview(false);
  F.Colors = CountColors(Img.Bitmap());
  F.ResolutionX = Img.ResolutionX;
  F.PrintUnit = FSettings.UniteDefautPrn;
  F.Now = QDateTime::currentDateTime();
  return ::DocumentInfoText(F);
}

// ---- Status information --------------------------------------------------------------------------------------

void TMainForm::InitPosition() {
  if (!FClosing) FStatusBar->SetPanelText(2, QString());
}

void TMainForm::ChangerPosition(TPoint P) {
  if (FClosing || !UneImage()) return;
  const TPoint B = EnfantActif()->Image->ClientToBmp(P);
  FStatusBar->SetPanelText(2, Format(u"X:Y = %d:%d", {B.X, B.Y}));
  FStatusBar->repaint();
}

void TMainForm::AfficherInfos() {
  if (!UneImage()) {
    SetStatusText(Tr(TrId::GetTrStaReady));
    for (int I = 1; I <= 3; ++I) FStatusBar->SetPanelText(I, QString());
    FEdiZoom->SetItemIndex(0);
    return;
  }
  const TBitmap& Fond = LeFond();
  if (ModeRGBA(true))
    FStatusBar->SetPanelText(1, Format(u"%dx%d (%s)", {Fond.Width(), Fond.Height(), u"Alpha"}));
  else
    FStatusBar->SetPanelText(
        1, Format(u"%dx%dx%s", {Fond.Width(), Fond.Height(),
                                Mode16M() ? Tr(TrId::GetTrStaFlagRVB) : QString::number(NbCouleurs())}));
  // No distortion or layer tool is active here: the selection, else the
  // file name.
  if (Sel() && Sel()->Visible())
    AfficherInfosSelection(Sel()->BmpSelRect());
  else
    FStatusBar->SetPanelText(3, NomFichier());
  FEdiZoom->update();
}

void TMainForm::AfficherInfosSelection(const TRect& R) {
  const int W = R.Width(), H = R.Height();
  if (VerticesMode == 0) {
    const QString Ratio = W == 0 || H == 0 ? QStringLiteral("?") : Format(u"%.3f", {double(W) / H});
    FStatusBar->SetPanelText(
        3, Format(Tr(TrId::GetTrFmtInfoSel), {R.Left, R.Top, R.Right - 1, R.Bottom - 1, W, H, Ratio}));
  } else {
    FStatusBar->SetPanelText(3, Format(Tr(TrId::GetTrFmtInfoSel2), {R.Left, R.Top, R.Right - 1, R.Bottom - 1, W, H}));
  }
}

void TMainForm::AfficherInfosCalque() {
  // Only while the tool palette's current tool works on layers.
  if (!UneImage() || !ImageToolHost() || !ImageToolHost()->IsLayerTool()) return;
  const TLayerItem* L = Image().CurrentLayer();
  if (L && (L->LayerType == ltBitmap || L->LayerType == ltData)) {
    const TRect R = L->BoundsRect();
    FStatusBar->SetPanelText(
        3, Format(Tr(TrId::GetTrFmtInfoSel2), {R.Left, R.Top, R.Right - 1, R.Bottom - 1, R.Width(), R.Height()}));
  } else {
    FStatusBar->SetPanelText(3, NomFichier());
  }
}

// ---- Recent files -----------------------------------------------------------------------------------------------

void TMainForm::AjouterListeFichiers(const QString& FileName) {
  QStringList& List = FSettings.ListeFichiers;
  // File names differ by case on this system: "A.png" and "a.png" are two.
  const auto Same = [&FileName](const QString& S) { return S == FileName; };
  const auto It = std::find_if(List.begin(), List.end(), Same);
  if (It != List.end()) {
    List.move(static_cast<int>(It - List.begin()), 0);
    return;
  }
  while (List.size() >= MaxRecentFiles) List.removeLast();
  List.prepend(FileName);
}

void TMainForm::SupprimerListeFichiers(const QString& FileName) { FSettings.ListeFichiers.removeOne(FileName); }

void TMainForm::RenommerListeFichiers(const QString& FileName, const QString& NewName) {
  const qsizetype I = FSettings.ListeFichiers.indexOf(FileName);
  if (I >= 0) FSettings.ListeFichiers[I] = NewName;
}

// ---- Undo steps of layer moves ----------------------------------------------------------------------------------

bool TMainForm::ContinueCurrentUndo(TModifInfo Info) {
  // Repeated edits of one layer make one step, which keeps the state from
  // before the first of them.
  TNewImgForm* W = EnfantActif();
  const TUndoItem* Cur = W->ListeUndo->CurrentUndo();
  const auto* Layer = dynamic_cast<const TUndoLayerItem*>(Cur);
  if (!Layer || Cur->GetFlag(2) != Info || Layer->LayerIndex() != Image().LayerIndex()) return false;
  W->FlagUndoModified = true;
  MajUndoRedo();
  return true;
}

TUndoLayerItem* TMainForm::PrepareLayerInfoUndo(TModifInfo Info, const QString& Titre) {
  TNewImgForm* W = EnfantActif();
  if (!Image().CurrentLayer() || ContinueCurrentUndo(Info)) return nullptr;
  PreparerUndo(Info, Titre);
  return dynamic_cast<TUndoLayerItem*>(W->ListeUndo->CurrentUndo());
}

void TMainForm::PrepareLayerPosUndo(TPoint OldPos) {
  if (!UneImage()) return;
  if (auto* Item = static_cast<TUndoLayerInfos*>(PrepareLayerInfoUndo(miLayerPos, Tr(TrId::GetTrLblMoveLayer))))
    Item->SetLayerPos(OldPos);
}

void TMainForm::PrepareLayerIndexUndo(int Index) {
  if (!UneImage()) return;
  if (auto* Item = static_cast<TUndoLayerIndex*>(PrepareLayerInfoUndo(miLayerIndex, Tr(TrId::GetTrLblMoveLayer))))
    Item->SetOldIndex(Index);
}

// Titles joined from the cleaned captions of two menu items.
QString TMainForm::MenuPathTitle(const char* First, const char* Second) const {
  return CleanMenuCaption(MenuItem(QString::fromLatin1(First))->text()) + QStringLiteral(" > ") +
         CleanMenuCaption(MenuItem(QString::fromLatin1(Second))->text());
}

bool TMainForm::PrepareLayerOptionsUndo() {
  return UneImage() && PrepareLayerInfoUndo(miLayerOptions, MenuPathTitle("MenuCalque", "MenuCalqueOptions"));
}

void TMainForm::PrepareTextDataUndo() {
  if (UneImage()) PrepareLayerInfoUndo(miTextData, MenuPathTitle("MenuTexte", "MenuCalqueOptions"));
}

void TMainForm::PrepareRenameLayerUndo() {
  if (UneImage())
    PrepareLayerInfoUndo(miRenameLayer, CleanMenuCaption(MenuItem(QStringLiteral("MenuCalqueRenommer"))->text()));
}
