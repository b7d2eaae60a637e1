// The main window's side of the image dialogs: the services they reach
// through TImageDialogHost, File > New, and the Image items that open the
// size, canvas, fit, rotation and offset dialogs.
#include "app/ui/MainForm.h"

#include "dialogs/ui/Adapt.h"
#include "dialogs/ui/Decaler.h"
#include "dialogs/ui/ImageDialogHost.h"
#include "dialogs/ui/New.h"
#include "dialogs/ui/Rec.h"
#include "dialogs/ui/Redim.h"
#include "dialogs/ui/Rot.h"
#include "files/ui/BmpOE2.h"
#include "raster/FoncUtils.h"
#include "ui/DlgEx.h"

#include <QAction>
#include <QPointer>

static_assert(UndoKindBkgNone == miBkgNone && UndoKindBkgAll == miBkgAll,
              "the image dialogs' undo kinds are the main window's");

namespace {

class TMainImageDialogHost final : public QObject, public TImageDialogHost {
public:
  explicit TMainImageDialogHost(TMainForm& Form) : QObject(&Form), F(Form) { SetImageDialogHost(this); }
  ~TMainImageDialogHost() override {
    if (ImageDialogHost() == this) SetImageDialogHost(nullptr);
  }
  bool UneImage() const override { return F.UneImage(); }
  TMyImageLayered& Image() override { return F.Image(); }
  LayerNavigator& LayerNav() override { return *F.LayerNav(); }
  TBitmap& LeFond() override { return F.LeFond(); }
  TBitmap& LeBitmap() override { return F.LeBitmap(); }
  TBitmap& LeMasque() override { return F.LeMasque(); }
  TBitmap& BmpUndo() override { return F.BmpUndo; }
  bool ModeRGBA(bool CheckBkgVisible) const override { return F.ModeRGBA(CheckBkgVisible); }
  bool Mode16M() const override { return F.Mode16M(); }
  int NbCouleurs() const override { return F.NbCouleurs(); }
  void PreparerUndo(int Kind, const QString& Titre) override { F.PreparerUndo(TModifInfo(Kind), Titre); }
  TUndoItem* CurrentUndo() override { return F.UneImage() ? F.ListeUndo().CurrentUndo() : nullptr; }
  void AnnulerFiltre(bool Restaure) override { F.AnnulerFiltre(Restaure); }
  void RestaureBitmap() override { F.RestaureBitmap(); }
  void DebutAction(const QString& Msg, bool ChangerCurseur) override { F.DebutAction(Msg, ChangerCurseur); }
  void FinAction() override { F.FinAction(); }
  void RefreshBitmap() override { F.RefreshBitmap(); }
  void LayerChanged() override { F.LayerChanged(); }
  void TailleChangee() override { F.TailleChangee(); }
  TMyImageLayered* NouvelleImage(TMyImageLayered& Document) override {
    TNewImgForm* W = F.NouvelleImage(&Document, nullptr, QString(), srcNew, 16777216);
    return W ? &W->Image->Image() : nullptr;
  }
  void MajMenus() override { F.MajMenus(); }
  void AfficherInfos() override { F.AfficherInfos(); }
  QString TitreMenu(const QString& ItemName) const override { return F.TitreMenu(ItemName); }
  int UniteDefaut() const override { return F.Settings().UniteDefaut; }
  int UniteDefautPrn() const override { return F.Settings().UniteDefautPrn; }
  QString SelectPatternFile() override { return OpenImageDialog(F.DataFolders().MotifDir); }
  QString PatternDir() const override { return F.DataFolders().MotifDir; }

private:
  TMainForm& F;
};

// The dialog made on first use and kept while the main window lives.
template <class TForm> TForm* ImageDialog(TMainForm& F) {
  static QPointer<TForm> Form;
  return CreateFormIfNeeded(Form, &F);
}

// An Image item's command: possible on the active image, the selection
// hidden, the dialog shown; the offset dialog previews on the undo record
// prepared before it shows.
template <class TForm> void ConnectImageDialog(TMainForm& F, QAction* Item, bool PrepareUndo) {
  QObject::connect(Item, &QAction::triggered, &F, [&F, Item, PrepareUndo] {
    if (!F.ActionPossible(F.CommandSender(Item)) || !F.UneImage()) return;
    F.MasquerSelection();
    if (PrepareUndo) F.PreparerUndo(miBkgAll, CleanMenuCaption(Item->text()));
    ImageDialog<TForm>(F)->show();
  });
  Item->setEnabled(true);
  Item->setProperty("Built", true);
}

} // namespace

void TMainForm::MenuFichierNouveauClick() {
  if (!ActionPossible(CommandSender(MenuItem("MenuFichierNouveau")))) return;
  MasquerSelection();
  ImageDialog<TNewForm>(*this)->show();
}

void TMainForm::ConnectImageCommands() {
  new TMainImageDialogHost(*this);
  ConnectImageDialog<TRedimForm>(*this, MenuItem("MenuImageRedim"), false);
  ConnectImageDialog<TRedimForm>(*this, MenuItem("PopImgRedim"), false);
  ConnectImageDialog<TRecadrerForm>(*this, MenuItem("MenuImageZone"), false);
  ConnectImageDialog<TRecadrerForm>(*this, MenuItem("PopImgZone"), false);
  ConnectImageDialog<TAdapterForm>(*this, MenuItem("MenuImageAdapter"), false);
  ConnectImageDialog<TAdapterForm>(*this, MenuItem("PopImgAdapter"), false);
  ConnectImageDialog<TRotForm>(*this, MenuItem("MenuImageRotLibre"), false);
  ConnectImageDialog<TDecalerForm>(*this, MenuItem("MenuImageDecaler"), true);
}
