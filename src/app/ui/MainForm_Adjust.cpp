// The main window's side of the filter dialogs: the services they reach
// through TFilterHost, and the Adjust and Filter items that open them, each
// after preparing the undo record the dialog previews on.
#include "app/StatusProgress.h"
#include "app/ui/MainForm.h"
#include "raster/FoncUtils.h"

#include "app/ui/FilterDialogOpener.h"
#include "filters/ui/FilterHost.h"
#include "filters/ui/ColorForms.h"
#include "filters/ui/LevelsExForm.h"
#include "filters/ui/LevelsForm.h"
#include "filters/ui/ToneForms.h"
#include "filters/ui/WBalanceForm.h"
#include "files/ui/BmpOE2.h"

#include <QAction>

static_assert(FilterUndoKind == miFiltre, "the dialogs' undo kind is the main window's miFiltre");

namespace {

class TMainFilterHost final : public QObject, public TFilterHost {
public:
  explicit TMainFilterHost(TMainForm& Form) : QObject(&Form), F(Form) { SetFilterHost(this); }
  ~TMainFilterHost() override {
    if (FilterHost() == this) SetFilterHost(nullptr);
  }
  bool UneImage() const override { return F.UneImage(); }
  TBitmap& LeBitmap() override { return F.LeBitmap(); }
  TBitmap& LeMasque() override { return F.LeMasque(); }
  TRect LaSelection() const override { return F.LaSelection(); }
  const TBitmap& BmpUndo() const override { return F.BmpUndo; }
  void DebutAction(const QString& Msg, bool ChangerCurseur) override { F.DebutAction(Msg, ChangerCurseur); }
  void FinAction() override { F.FinAction(); }
  void RestaureBitmap() override { F.RestaureBitmap(); }
  void AppliquerMasqueSel(int Flag) override { F.AppliquerMasqueSel(Flag); }
  void RefreshBitmap() override { F.RefreshBitmap(); }
  void AnnulerFiltre(bool Restaure) override { F.AnnulerFiltre(Restaure); }
  void LayerChanged() override { F.LayerChanged(); }
  void PreparerUndo(int Info, const QString& Titre) override { F.PreparerUndo(TModifInfo(Info), Titre); }
  void DernierFiltre(const QString& Titre, QObject* Sender, std::function<void(QObject*)> Event, int Flag) override {
    F.DernierFiltre(Titre, Sender, std::move(Event), Flag);
  }
  void ClearLastFilterEvent() override {
    const TMainForm::TLastFilter Last = F.LastFilter();
    F.DernierFiltre(Last.Caption, Last.Sender, nullptr, Last.Flag);
  }
  void MarkModified() override {
    if (F.UneImage()) F.EnfantActif()->Image->Image().Modified = true;
  }
  QString TitreMenu(const QString& ItemName) const override { return F.TitreMenu(ItemName); }
  bool AutoReset() const override { return F.Settings().AutoReset; }
  QString DataDir() const override { return F.DataFolders().DataDir; }
  QString SelectPatternFile() override { return OpenImageDialog(F.DataFolders().MotifDir); }
  QString OverlayFolder(TOverlayFolder Which) const override {
    const TDataFolders& D = F.DataFolders();
    return Which == TOverlayFolder::Masks ? D.MasqueDir : Which == TOverlayFolder::Png ? D.PngDir : D.TextureDir;
  }
  TSelMaskHost& SelMasks() override { return F.SelMaskHost(); }
  bool DessinerSurAlpha() const override { return F.DessinerSurAlpha(); }

private:
  TMainForm& F;
};

} // namespace

void TMainForm::WireFilterDialog(const char* Name, TFilterDialogOpener Open, const char* Title) {
  QAction* Item = MenuItem(QString::fromLatin1(Name));
  QAction* TitleItem = Title ? MenuItem(QString::fromLatin1(Title)) : Item;
  Connect(Name, [this, Item, TitleItem, Open] { Open(*this, Item, TitleItem); });
}

void TMainForm::ConnectAdjustCommands() {
  new TMainFilterHost(*this);
  WireFilterDialog("MenuReglageLum", OpenFilterDialog<TLumForm>);
  WireFilterDialog("MenuReglageCtr", OpenFilterDialog<TCtrForm>);
  WireFilterDialog("MenuReglageGamma", OpenFilterDialog<TGammaForm>);
  WireFilterDialog("MenuReglageBlancs", OpenFilterDialog<TWBalanceForm>);
  WireFilterDialog("MenuReglageNiveaux", OpenFilterDialog<TLevelsForm>);
  WireFilterDialog("MenuReglageTons", OpenFilterDialog<TLevelsExForm>);
  WireFilterDialog("MenuReglagePosteriser", OpenFilterDialog<TPosterizeForm>);
  WireFilterDialog("MenuReglagePerso", OpenFilterDialog<TCustomRegForm>, "MenuReglage");
  WireFilterDialog("MenuReglageRGB", OpenFilterDialog<TRGBForm>);
  WireFilterDialog("MenuReglageTS", OpenFilterDialog<THueSatForm>);
  WireFilterDialog("MenuReglageInversionRVB", OpenFilterDialog<TSwapRGBForm>);
  WireFilterDialog("MenuReglageBichromie", OpenFilterDialog<TDuotoneForm>);
  WireFilterDialog("MenuReglageGris", OpenFilterDialog<TGrayForm>);
  WireFilterDialog("MenuFiltreFiltre", OpenFilterDialog<TColoredLayerForm>);
  WireFilterDialog("MenuFiltreDesaturation", OpenFilterDialog<TPartialDesat>);
  WireFilterDialog("MenuReglageRemplacer", OpenFilterDialog<TReplaceColorForm>);
}
