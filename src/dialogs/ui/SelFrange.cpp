#include "dialogs/ui/SelFrange.h"

#include "dialogs/ui/DialogParts.h"
#include "dialogs/ui/EditDialogHost.h"
#include "dialogs/ui/ImageDialogHost.h"
#include "dialogs/ui/ImageResize.h"
#include "i18n/Format.h"
#include "ui/TrackBar.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFrangeForm::TFrangeForm(QWidget* Parent) : TMainDialogForm(Parent) {
  setObjectName(QStringLiteral("FrangeForm"));
  setWindowTitle(DialogTitle("MenuSelFrange", QStringLiteral("Frange")));
  DialogMode = TMainDialogMode::dmDialog;
  auto* Main = new QVBoxLayout(this);
  LblEpaisseur = new QLabel(this);
  TBN = NewTrackBar(this, "TBN", 1, 41, 2, 5);
  Main->addWidget(LblEpaisseur);
  Main->addWidget(TBN);
  const TOkCancel Buttons = AddOkCancel(*this, *Main);
  BOk = Buttons.BOk;
  BAnnuler = Buttons.BAnnuler;
  TBNChange();
  TBN->OnChange = [this](QObject*) { TBNChange(); };
  connect(BOk, &QPushButton::clicked, this, [this] { BOkClick(); });
}

void TFrangeForm::TBNChange() { LblEpaisseur->setText(Format(Tr(TrId::GetTrFmtWidth), {TBN->Position()})); }

void TFrangeForm::BOkClick() {
  CloseOk();
  TImageDialogHost* Host = ActiveImageDialogHost();
  TEditDialogHost* Edit = EditDialogHost();
  if (!Host || !Edit) return;
  TActionScope Action(*Host);
  Edit->MasquerSelection();
  if (!MakeSelectionFringe(Edit->SelMasks(), TBN->Position()).IsEmpty()) Edit->AfficherSelection();
}
