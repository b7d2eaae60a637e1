// The main window's side of the layer dialogs: the services they reach
// through TLayerDialogHost, and the Layer items that open them: the options
// of the current layer, the new colour and adjustment layers (made with the
// stored defaults, then shown in the options dialog), and the manual
// parameters of the selection, the layer and a new blank layer.
#include "app/ui/MainForm.h"

#include "dialogs/ui/Copyright.h"
#include "dialogs/ui/LayerDialogHost.h"
#include "dialogs/ui/OpCalque.h"
#include "dialogs/ui/Prop.h"
#include "dialogs/ui/SelParams.h"
#include "dialogs/ui/TextureDlg.h"
#include "dialogs/ui/TubeDlg.h"
#include "app/ui/FilterDialogOpener.h"
#include "document/Calque.h"
#include "document/ui/LayerNavigator.h"
#include "document/ui/SelectionControl.h"
#include "platform/Beep.h"
#include "raster/FoncUtils.h"
#include "tools/ui/Outils.h"
#include "ui/DlgEx.h"

#include <QAction>
#include <QPointer>

static_assert(UndoKindLayerAll == miLayerAll && UndoKindCreateLayer == miCreateLayer,
              "the layer dialogs' undo kinds are the main window's");

namespace {

constexpr TToolId LayerToolId = 13;

class TMainLayerDialogHost final : public QObject, public TLayerDialogHost {
public:
  explicit TMainLayerDialogHost(TMainForm& Form) : QObject(&Form), F(Form) { SetLayerDialogHost(this); }
  ~TMainLayerDialogHost() override {
    if (LayerDialogHostSlot() == this) SetLayerDialogHost(nullptr);
  }
  bool PrepareLayerOptionsUndo() override { return F.PrepareLayerOptionsUndo(); }
  void PrepareLayerPosUndo(TPoint OldPos) override { F.PrepareLayerPosUndo(OldPos); }
  void SelectLayerTool() override {
    if (TOutilsForm* Tools = F.Palette()) Tools->SetTool(LayerToolId);
  }
  void MajOptionsCalques() override {
    if (TOutilsForm* Tools = F.Palette()) Tools->MajOptionsCalques();
  }
  void AfficherInfosCalque() override { F.AfficherInfosCalque(); }
  bool DessinAlpha() const override { return F.Settings().DessinAlpha; }
  QString NomFichier() const override { return F.NomFichier(); }
  void MarkModified() override {
    F.Image().Modified = true;
    F.MajUndoRedo();
  }
  void DernierFiltre(const QString& Titre, QObject* Sender, std::function<void(QObject*)> Event) override {
    F.DernierFiltre(Titre, Sender, std::move(Event), 0);
  }
  void LoadIniBmp(TIniBmpInfo& Info) override { OptionsForm()->LoadIniBmp(Info); }
  TOpCalqueForm* OptionsForm() { return CreateFormIfNeeded(FOptions, &F); }
  bool SelVisible() const override { return F.Sel()->Visible(); }
  TRect SelBounds() const override { return F.Sel()->BmpSelRect(); }
  void SetSelBounds(const TRect& R) override { F.Sel()->SetBmpSelRect(R); }
  TMyShape SelShape() const override { return F.Sel()->Shape(); }
  bool SelInvert() const override { return F.Sel()->Invert(); }
  bool SelHasPoints() const override { return F.Sel()->ShapeManager().PointsCount() > 0; }
  TRect SelectionDefaut() const override { return F.SelectionDefaut(); }
  void MasquerSelection() override { F.MasquerSelection(); }
  void AfficherSelection() override { F.AfficherSelection(); }
  void InverserSelection() override { F.MenuSelInverserClick(); }
  void ChangerForme(TMyShape Shape) override { F.ChangerForme(Shape, false, 0); }

private:
  TMainForm& F;
  QPointer<TOpCalqueForm> FOptions;
};

} // namespace

void TMainForm::ConnectLayerDialogCommands() {
  auto* Host = new TMainLayerDialogHost(*this);
  const auto OpenOptions = [Host](bool New) {
    TOpCalqueForm* Form = Host->OptionsForm();
    Form->Nouveau = New;
    Form->show();
  };
  for (const char* Name : {"MenuCalqueOptions", "PopCalqueOptions"})
    Connect(Name, [this, Name, OpenOptions] {
      if (!ActionPossible(MenuItem(QString::fromLatin1(Name))) || !UneImage() || !Image().CurrentLayer()) return;
      if (IsLayerLockedOrHidden(Image())) {
        Beep();
        return;
      }
      // A text layer's options are its text dialog's.
      if (IsTextLayer(Image())) {
        OpenTextDialog(false, false);
        return;
      }
      OpenOptions(false);
    });
  Connect("MenuCalqueCouleur", [this, Host, OpenOptions] {
    if (!ActionPossible(MenuItem(QStringLiteral("MenuCalqueCouleur"))) || !UneImage()) return;
    TIniColorInfo Info;
    Host->OptionsForm()->LoadIniColor(Info);
    AddColorLayer(*LayerNav(), NextLayerName(Image()), Info.Color, Info.Opacity, Info.Invert);
    RefreshBitmap();
    OpenOptions(true);
  });
  Connect("MenuCalqueReglage", [this, Host, OpenOptions] {
    if (!ActionPossible(MenuItem(QStringLiteral("MenuCalqueReglage"))) || !UneImage()) return;
    TIniAdjustInfo Info;
    Host->OptionsForm()->LoadIniAdjust(Info);
    AddAdjustLayer(*LayerNav(), NextLayerName(Image()), Info.Adjust, Info.Opacity);
    RefreshBitmap();
    OpenOptions(true);
  });

  // Manual parameters: the selection, the current layer (with the layer
  // tool, the selection hidden), a new blank layer.
  static QPointer<TSelParamsForm> Params;
  const auto OpenParams = [this](const char* Name, int Flag) {
    if (!ActionPossible(MenuItem(QString::fromLatin1(Name))) || !UneImage()) return;
    if (Flag == 1) {
      if (!Image().CurrentLayer() || IsLayerLockedOrHidden(Image())) {
        Beep();
        return;
      }
      if (TOutilsForm* Tools = Palette()) Tools->SetTool(LayerToolId);
      MasquerSelection();
    }
    TSelParamsForm* Form = CreateFormIfNeeded(Params, this);
    Form->Flag = Flag;
    Form->show();
  };
  for (const char* Name : {"MenuSelParams", "PopSelParams"})
    Connect(Name, [OpenParams, Name] { OpenParams(Name, 0); });
  for (const char* Name : {"MenuCalqueParams", "PopCalqueParams"})
    Connect(Name, [OpenParams, Name] { OpenParams(Name, 1); });
  Connect("MenuCalqueVierge", [OpenParams] { OpenParams("MenuCalqueVierge", 2); });
  // The copyright stamp, on the background with the selection hidden.
  Connect("MenuImageCopyright", [this] {
    static QPointer<TCopyrightForm> Stamp;
    if (!ActionPossible(MenuItem(QStringLiteral("MenuImageCopyright"))) || !UneImage()) return;
    MasquerSelection();
    CreateFormIfNeeded(Stamp, this)->show();
  });
  // The active image's properties; its comment can be changed.
  Connect("MenuFichierInfos", [this] {
    static QPointer<TPropForm> Properties;
    if (!ActionPossible(MenuItem(QStringLiteral("MenuFichierInfos"))) || !UneImage()) return;
    TPropForm* Form = CreateFormIfNeeded(Properties, this);
    DebutAction(QString(), true);
    Form->ReadData(NomFichier(), DocumentInfoText(), Image().Metadata, true, Image().Comment);
    FinAction();
    Form->show();
  });
  WireFilterDialog("MenuLumaPng", OpenFilterDialog<TTubeForm, miFiltreBM>);
  WireFilterDialog("MenuTextureAutre", OpenFilterDialog<TTextureForm, miFiltre>, "MenuTexture");
}
