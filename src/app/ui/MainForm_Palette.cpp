// The tool palette inside the main window: created on the first show, docked
// into the frame or floating, told about the active image and layer, and
// wired to the application hooks (pending edits, the selection tool's
// combine mode, Space pausing a selection being drawn) and to the image
// windows, whose mouse reaches the current tool through TImageToolHost.
#include "app/ui/MainForm.h"
#include "app/ui/MainStrokeServices.h"
#include "raster/FoncUtils.h"

#include "app/FrameLayout.h"
#include "app/StatusProgress.h"
#include "app/ui/MainStatusBar.h"
#include "document/ImageToolHost.h"
#include "document/Calque.h"
#include "document/Pattern.h"
#include "document/ShapeManager.h"
#include "files/FreeImageProvider.h"
#include "document/ui/ImgForm.h"
#include "document/ui/MyImageLayeredView.h"
#include "document/ui/SelectionControl.h"
#include "tools/ui/Outils.h"
#include "tools/ui/StrokeTools.h"
#include "ui/MsgDlg.h"

#include <QApplication>
#include <QMdiArea>
#include <QToolButton>

// The main window's side of the palette: its services, the hooks and the
// image windows' tool host.
class TMainPalette : public TPaletteServices, public TToolHooks, public TImageToolHost {
public:
  explicit TMainPalette(TMainForm& Form) : F(Form) {}
  TOutilsForm* Palette = nullptr;
  std::unique_ptr<TStrokeServices> StrokeServices;
  std::unique_ptr<TStrokeTools> Strokes;

  // ---- TPaletteServices
  bool UneImage() const override { return F.UneImage(); }
  bool Mode16M() const override { return F.Mode16M(); }
  bool BackgroundTransparent() const override { return F.LeFond().Transparent; }
  TPaletteLayerInfo CurrentLayer() const override {
    TPaletteLayerInfo Info;
    const TLayerItem* Layer = F.Image().CurrentLayer();
    if (!Layer) return Info;
    Info.Caption = Layer->DisplayCaption();
    Info.Locked = Layer->Locked;
    Info.Visible = Layer->Visible;
    Info.IsBitmap = Layer->LayerType == ltBitmap;
    Info.IsText = Layer->LayerType == ltData;
    Info.IsBackground = F.Image().LayerIndex() == 0;
    Info.HasAlpha = F.HasAlpha();
    Info.CanChangeBlendMode =
        !Info.IsBackground && !Layer->Locked && Layer->Visible && Layer->LayerType != ltAdjust;
    Info.Opacity = Layer->UsedOpacity();
    Info.BlendMode = Layer->UsedBlendMode();
    return Info;
  }
  bool SelPaused() const override { return F.EnfantActif()->Image->Paused(); }
  bool IsDialogueForm() const override { return F.DialogueForm() != nullptr; }
  bool HasPipetteForm() const override { return F.PipetteForm() != nullptr; }
  bool Terminating() const override { return QCoreApplication::closingDown(); }
  // The dialogs and menus only: the palette's own pending edit is what the
  // caller is about to commit.
  bool CheckActionKey() const override {
    return !F.DialogueForm() && !QApplication::activeModalWidget() && F.DialogueEnCours <= 0;
  }
  QWidget* MainWindow() const override { return F.centralWidget(); }
  void PaletteDocked(int) override { F.LayoutFrame(); }
  bool ChooseColor(TColor& Color) override {
    const TColor Before = Color;
    F.AfficherPalette(Color);
    return Color != Before;
  }
  QString BrushDir() const override { return F.DataFolders().BrushDir; }
  QString NozzleDir() const override { return F.DataFolders().NozzleDir; }
  void ReportSkippedFiles(const QStringList& Files) override {
    ShowMsgDlg(QStringLiteral("Ces fichiers de pinceaux ou de nozzles n'ont pas pu être chargés :\n%1")
                   .arg(Files.join(QLatin1Char('\n'))),
               mdkWarning, {mdbOk});
  }
  void ToolChanged(bool LayerTool) override {
    if (LayerTool) F.MasquerSelection();
    F.VerifierSelModeEtPopup();
    F.MajCurseurImage();
    F.AfficherInfos();
  }
  bool LoadPattern() override { return F.PaletteLoadPattern(); }
  void SetLineWidth(int Width) override { LineShapeWidth = Width; }
  void ChangerForme(int Shape, bool MultiLine) override {
    F.ChangerForme(static_cast<TMyShape>(Shape), MultiLine, 2);
  }
  void SelectionCommand(TPaletteSelCommand Command) override {
    // Without a visible selection, inverting applies to the next selection
    // drawn, and centring shows the default selection.
    const bool Hidden = F.UneImage() && !F.Sel()->Visible();
    if (Hidden && Command == TPaletteSelCommand::Invert) {
      F.Sel()->SetInvert(!F.Sel()->Invert());
      return;
    }
    if (Hidden && Command == TPaletteSelCommand::Centre) {
      F.Sel()->SetBmpSelRect(F.SelectionDefaut());
      F.AfficherSelection();
      return;
    }
    static const char* const Items[] = {"MenuSelCharger",  "MenuSelInverser", "MenuSelCentre1", "MenuSelParams",
                                        "MenuSelAdapter0", "MenuSelAdapter3", "MenuSelAdapter2"};
    QAction* Item = F.MenuItem(QString::fromLatin1(Items[int(Command)]));
    if (Item && Item->isEnabled()) Item->trigger();
  }
  void SetLayerOpacity(int Opacity) override {
    F.PaletteLayerOption([Opacity](TLayerItem& Layer) { Layer.Opacity = TOpacityRange(Opacity); });
  }
  void SetLayerVisible(bool Visible) override {
    F.PaletteLayerOption([Visible](TLayerItem& Layer) { Layer.Visible = Visible; });
    F.AfficherInfos();
  }
  void SetLayerLocked(bool Locked) override {
    F.PaletteLayerOption([Locked](TLayerItem& Layer) { Layer.Locked = Locked; });
  }
  void SetLayerBlendMode(int Mode) override {
    F.PaletteLayerOption([Mode](TLayerItem& Layer) { Layer.BlendMode = Mode; });
  }

  // ---- TToolHooks
  bool PaletteActive() const override { return Palette && Palette->isVisible() && Palette->isActiveWindow(); }
  bool IsEditing() const override { return Palette && Palette->IsEditing(false); }
  QRect EditingRect() const override {
    const QWidget* Edit = Palette ? Palette->FindEditingControl(false) : nullptr;
    return Edit ? QRect(Edit->mapToGlobal(QPoint(0, 0)), Edit->size()) : QRect();
  }
  bool ValidateEditControls() override { return Palette && Palette->ValidateEditControls(); }
  bool IsSelectionTool() const override { return Palette && Palette->IsAllSelectTool(); }
  bool SelectionDrawing() const override { return F.UneImage() && F.EnfantActif()->Image->Selecting(); }
  void PauseSelection(bool Pause) override { F.EnfantActif()->Image->SetPaused(Pause); }
  void SetTool(int Number) override {
    if (Palette) Palette->SetTool(Number);
  }

  // ---- TImageToolHost
  int VerticesMode() const override { return F.VerticesMode; }
  bool FreeImageAvailable() const override { return IsFreeImageLoaded(); }
  bool ZoomMolette() const override { return F.Settings().ZoomMolette; }
  void ZoomAutoFit() override {
    F.SetZoomEditStep(0);
    F.MajZoomImage();
  }
  TColor ImageColorAtClient(int X, int Y, bool Merged) override {
    const TPoint P = F.EnfantActif()->Image->ClientToBmp(TPoint{X, Y});
    return F.Image().GetColor(P.X, P.Y, Merged);
  }
  bool ModeRGBA(bool CheckBkgVisible) const override { return F.ModeRGBA(CheckBkgVisible); }
  void MajCurseur() override { F.MajCurseurImage(); }
  void RestaureZoom() override { F.RestaureZoom(); }
  void VerifierSelModeEtPopup() override {
    F.VerifierSelModeEtPopup();
    F.MajCurseurImage();
  }
  void AfficherInfos() override { F.AfficherInfos(); }
  void EnableHint(bool Enable) override { F.EnableHint(Enable, false, false); }
  // A double click on the image: a text dialog opened by it must not take
  // that click as a colour pick.
  void MenuCalqueOptionsClick() override {
    if (F.UneImage() && F.Image().CurrentLayer() && IsTextLayer(F.Image()) && !IsLayerLockedOrHidden(F.Image()))
      F.OpenTextDialog(false, true);
    else
      Trigger("MenuCalqueOptions");
  }
  void MenuSelReperesClick() override { Trigger("MenuSelReperes"); }
  void AfficherInfosSelection(const TRect& BmpRect) override { F.AfficherInfosSelection(BmpRect); }
  void ClearFlagBtnSelUndo() override {}
  void ImageSelecting(TMyImageLayeredView&, const TRect& R, TSelOption Option) override {
    F.ImageSelecting(R, Option);
  }
  void SetDefaultTool() override { SetTool(0); }
  bool ModuleLoaded() const override { return F.IsModuleLoaded(); }
  void ModuleImageClick(TPoint P, Qt::MouseButton Button) override { F.ForwardPointClick(P, Button); }
  void ModuleColor(TColor Color) override { F.ForwardColorPick(Color); }
  QString MenuCaption(const char* ItemName) const override {
    const QAction* Item = F.MenuItem(QString::fromLatin1(ItemName));
    return Item ? CleanMenuCaption(Item->text()) : QString();
  }
  bool AddShortcut() const override { return F.AddShortcut; }
  bool PaletteVisible() const override { return Palette && Palette->ToolPaletteVisible(); }
  bool IsDrawing() const override { return Strokes && Strokes->IsDrawing(); }
  bool IsLayerTool() const override { return Palette && Palette->IsLayerTool(); }
  // The pipette picks the colour under the mouse (the right button the
  // background colour); the other tools get the mouse in their phases.
  void ToolMouseDown(TMyImageLayeredView& Image, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X,
                     int Y) override {
    if (!Palette) return;
    if (Palette->IsPipetteTool()) {
      if (Image.PtInImage({X, Y})) Palette->SetColor(ImageColorAtClient(X, Y, true), Button == Qt::RightButton);
      return;
    }
    Strokes->MouseDown(Image, Button, Shift, X, Y);
  }
  void ToolMouseMove(TMyImageLayeredView& Image, Qt::MouseButtons Buttons, Qt::KeyboardModifiers Shift, int X,
                     int Y) override {
    if (!Palette) return;
    if (Palette->IsPipetteTool() && !Strokes->IsDrawing()) {
      if ((Buttons & (Qt::LeftButton | Qt::RightButton)) && Image.PtInImage({X, Y}))
        Palette->SetColor(ImageColorAtClient(X, Y, true), Buttons & Qt::RightButton);
      return;
    }
    Strokes->MouseMove(Image, Buttons, Shift, X, Y);
  }
  void ToolMouseUp(TMyImageLayeredView& Image, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X,
                   int Y) override {
    if (Palette) Strokes->MouseUp(Image, Button, Shift, X, Y);
  }

private:
  void Trigger(const char* Name) {
    if (QAction* Item = F.MenuItem(QString::fromLatin1(Name)); Item && Item->isEnabled()) Item->trigger();
  }
  TMainForm& F;
};

TOutilsForm* TMainForm::Palette() const { return FPaletteHost ? FPaletteHost->Palette : nullptr; }
TStrokeTools* TMainForm::StrokeTools() const { return FPaletteHost ? FPaletteHost->Strokes.get() : nullptr; }

void TMainForm::CreatePalette() {
  if (FPaletteHost) return;
  FPaletteHost = std::make_shared<TMainPalette>(*this);
  PaletteAlignment = FSettings.ToolsAlignment;
  PaletteShown = FSettings.ToolsPalette;
  auto* Form = new TOutilsForm(*FPaletteHost, centralWidget());
  FPaletteHost->Palette = Form;
  FPaletteHost->StrokeServices = MakeStrokeServices(*this);
  FPaletteHost->Strokes = std::make_unique<TStrokeTools>(*Form, *FPaletteHost->StrokeServices);
  // Hooks already installed (a test's) are left in place.
  if (!ToolHooks()) SetToolHooks(FPaletteHost.get());
  if (!ImageToolHost()) SetImageToolHost(FPaletteHost.get());
  // View > Tool palette shows or hides it; the choice is kept in the
  // settings, whatever hides the palette when the program ends.
  Connect("MenuAffichageOutils", [this, Form] {
    FSettings.ToolsPalette = MenuItem(QStringLiteral("MenuAffichageOutils"))->isChecked();
    Form->setVisible(FSettings.ToolsPalette);
    LayoutFrame();
  });
  if (PaletteShown) Form->show();
  LayoutFrame();
}

void TMainForm::ReleasePalette() {
  if (!FPaletteHost) return;
  FPaletteHost->Strokes.reset();
  TOutilsForm* Form = std::exchange(FPaletteHost->Palette, nullptr);
  FSettings.ToolsAlignment = Form->Alignment();
  // Hidden while the frame still stands, so that it writes its settings.
  Form->hide();
  delete Form;
  if (ImageToolHost() == FPaletteHost.get()) SetImageToolHost(nullptr);
  if (ToolHooks() == FPaletteHost.get()) SetToolHooks(nullptr);
}

void TMainForm::PaletteLayerOption(const std::function<void(TLayerItem&)>& Change) {
  if (!UneImage() || !Image().CurrentLayer()) return;
  PrepareLayerOptionsUndo();
  Change(*Image().CurrentLayer());
  RefreshBitmap();
  LayerChanged();
  MajMenus();
}

bool TMainForm::PaletteLoadPattern() { return FSelMaskHost && LoadCurrentPattern(*FSelMaskHost, QString()); }

void TMainForm::PaletteFrameInput(TFrameLayoutInput& In) const {
  const TOutilsForm* Form = Palette();
  if (!Form) return;
  In.PaletteVisible = Form->isVisible() || (Form->Alignment() != 0 && FSettings.ToolsPalette);
  In.PaletteAlignment = Form->Alignment();
  In.PaletteWidth = Form->WidthNeeded(In.Client.height() - In.StatusBarHeight - In.SeparatorHeight);
  // The module panel stands on the side away from the palette.
  In.ModulePanelLeft = Form->Alignment() != 1;
}

void TMainForm::PlaceDockedPalette(const QRect& Area) {
  TOutilsForm* Form = Palette();
  if (!Form || Form->Alignment() == 0 || Area.isEmpty()) return;
  Form->setGeometry(Area);
}
