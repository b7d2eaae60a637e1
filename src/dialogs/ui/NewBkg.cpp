#include "dialogs/ui/NewBkg.h"

#include "dialogs/ui/DialogParts.h"
#include "dialogs/ui/EditDialogHost.h"
#include "dialogs/ui/ImageResize.h"
#include "document/Calque.h"
#include "ui/ColorEdit.h"

#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>

TNewBkgForm::TNewBkgForm(QWidget* Parent) : TPipetteForm(Parent) {
  setObjectName(QStringLiteral("NewBkgForm"));
  setWindowTitle(DialogTitle("MenuCalqueFond", QStringLiteral("Insérer un nouveau fond")));
  DialogMode = TMainDialogMode::dmPipette;
  auto* Main = new QVBoxLayout(this);
  auto* Form = new QFormLayout;
  ColorEdit = new TColorEdit(this);
  ColorEdit->setObjectName(QStringLiteral("ColorEdit"));
  ColorEdit->SetColor(clWhite);
  Form->addRow(TrLabel(TrId::GetTrLblColor, QStringLiteral("Couleur :")), ColorEdit);
  Main->addLayout(Form);
  const TOkCancel Buttons = AddOkCancel(*this, *Main);
  BOk = Buttons.BOk;
  BAnnuler = Buttons.BAnnuler;
  connect(BOk, &QPushButton::clicked, this, [this] { BOkClick(); });
}

void TNewBkgForm::ChangerCouleur(TColor Couleur) { ColorEdit->SetColor(Couleur); }

void TNewBkgForm::BOkClick() {
  CloseOk();
  InsertBackground();
}

void TNewBkgForm::InsertBackground() {
  TImageDialogHost* Host = ActiveImageDialogHost();
  if (!Host) return;
  TActionScope Action(*Host);
  const bool Rgba = Host->ModeRGBA(false);
  const TBitmap Plain(Host->LeFond().Width(), Host->LeFond().Height(), pf24bit, ColorEdit->Color());
  InsertBackgroundLayer(Host->LayerNav(), Plain, false);
  // The record is made after the insertion: it keeps the new background.
  Host->PreparerUndo(UndoKindInsertBkg, Host->TitreMenu(QStringLiteral("MenuCalqueFond")));
  if (auto* Record = dynamic_cast<TUndoInsertBakground*>(Host->CurrentUndo())) {
    Record->FOldBkgCaption = Host->Image().Layers()[1].Caption;
    Record->FIsRGBA = Rgba;
    Record->FTransparent = false;
  }
  Host->MajMenus();
  Host->AfficherInfos();
}
