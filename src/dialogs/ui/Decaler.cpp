#include "dialogs/ui/Decaler.h"

#include "dialogs/ui/DialogParts.h"
#include "dialogs/ui/ImageDialogHost.h"
#include "dialogs/ui/ImageResize.h"
#include "document/Calque.h"
#include "raster/ImgUtils.h"
#include "ui/SpinEdit.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TDecalerForm::TDecalerForm(QWidget* Parent) : TMainDialogForm(Parent) {
  setObjectName(QStringLiteral("DecalerForm"));
  setWindowTitle(DialogTitle("MenuImageDecaler", QStringLiteral("Décaler")));
  DialogMode = TMainDialogMode::dmDialog;
  auto* Main = new QVBoxLayout(this);
  const auto Axis = [&](const char* Name, TrId Id, const char* French, const char* Edit, QRadioButton*& First,
                        const char* FirstName, TrId FirstId, const char* FirstFrench, QRadioButton*& Second,
                        const char* SecondName, TrId SecondId, const char* SecondFrench) {
    const QString Title = TranslationLoaded() && !Tr(Id).isEmpty() ? u' ' + Tr(Id) + u' ' : QString::fromUtf8(French);
    auto* Group = new QGroupBox(Title, this);
    Group->setObjectName(QString::fromLatin1(Name));
    auto* Form = new QFormLayout(Group);
    auto* E = NewSpinEdit2(Group, Edit, 0, 1000, 0, 4);
    Form->addRow(TrLabel(TrId::GetTrLblPixels, QStringLiteral("Pixels :")), E);
    First = new QRadioButton(TrText(FirstId, QString::fromUtf8(FirstFrench)), Group);
    First->setObjectName(QString::fromLatin1(FirstName));
    First->setChecked(true);
    Second = new QRadioButton(TrText(SecondId, QString::fromUtf8(SecondFrench)), Group);
    Second->setObjectName(QString::fromLatin1(SecondName));
    auto* Row = new QHBoxLayout;
    Row->addWidget(First);
    Row->addWidget(Second);
    Form->addRow(Row);
    Main->addWidget(Group);
    return E;
  };
  SEDX = Axis("BGHoriz", TrId::GetTrLblHorzAxis, " Axe horizontal ", "SEDX", RBDroite, "RBDroite", TrId::GetTrLblRight,
              "Droite", RBGauche, "RBGauche", TrId::GetTrLblLeft, "Gauche");
  SEDY = Axis("GBVerti", TrId::GetTrLblVertAxis, " Axe vertical ", "SEDY", RBBas, "RBBas", TrId::GetTrLblBottom, "Bas",
              RBHaut, "RBHaut", TrId::GetTrLblTop, "Haut");
  auto* Row = new QHBoxLayout;
  CBPreview = new QCheckBox(TrText(TrId::GetTrLblDirectPreview, QStringLiteral("Aperçu direct")), this);
  CBPreview->setObjectName(QStringLiteral("CBPreview"));
  BApercu = new QPushButton(TrText(TrId::GetTrBtnPreview, QStringLiteral("Aperçu")), this);
  BApercu->setObjectName(QStringLiteral("BApercu"));
  Row->addWidget(CBPreview);
  Row->addWidget(BApercu);
  Main->addLayout(Row);
  const TOkCancel Buttons = AddOkCancel(*this, *Main);
  BOk = Buttons.BOk;
  BAnnuler = Buttons.BAnnuler;

  SEDX->OnChange = [this](QObject*) { OptionChanged(); };
  SEDY->OnChange = [this](QObject*) { OptionChanged(); };
  for (QRadioButton* B : {RBDroite, RBGauche, RBBas, RBHaut})
    connect(B, &QRadioButton::toggled, this, [this](bool On) {
      if (On) OptionChanged();
    });
  connect(CBPreview, &QCheckBox::clicked, this, [this] { CBPreviewClick(); });
  connect(BApercu, &QPushButton::clicked, this, [this] { BApercuClick(); });
  connect(BOk, &QPushButton::clicked, this, [this] { BOkClick(); });
}

void TDecalerForm::FormShow() {
  Preview = false;
  DX = DY = 0;
}

void TDecalerForm::UpdateControls() {
  Changed = SEDX->Value() != 0 || SEDY->Value() != 0;
  BApercu->setEnabled(!CBPreview->isChecked());
  if (Changed && CBPreview->isChecked()) BApercuClick();
}

void TDecalerForm::TakeBackPreview() {
  TImageDialogHost& Host = *ActiveImageDialogHost();
  Host.RestaureBitmap();
  OffsetAllLayers(Host.LayerNav(), -DX, -DY, false);
}

void TDecalerForm::BApercuClick() {
  TImageDialogHost* Host = ActiveImageDialogHost();
  if (!Host) return;
  if (SEDX->text().isEmpty() || SEDY->text().isEmpty()) {
    if (!CBPreview->isChecked()) WarnEmptyFields();
    return;
  }
  TActionScope Action(*Host);
  if (Preview) TakeBackPreview();
  const bool Mask = Host->ModeRGBA(false);
  DX = RBGauche->isChecked() ? -SEDX->Value() : SEDX->Value();
  WrapShiftHorizontal(Host->LeFond(), DX);
  if (Mask) WrapShiftHorizontal(Host->LeMasque(), DX);
  DY = RBHaut->isChecked() ? -SEDY->Value() : SEDY->Value();
  WrapShiftVertical(Host->LeFond(), DY);
  if (Mask) WrapShiftVertical(Host->LeMasque(), DY);
  OffsetAllLayers(Host->LayerNav(), DX, DY, false);
  Host->RefreshBitmap();
  Changed = false;
  Preview = true;
}

void TDecalerForm::OptionChanged() {
  if (Updating) return;
  Changed = true;
  if (CBPreview->isChecked()) BApercuClick();
}

void TDecalerForm::CBPreviewClick() {
  BApercu->setEnabled(!CBPreview->isChecked());
  if (CBPreview->isChecked()) {
    if (Changed) BApercuClick();
    return;
  }
  if (!Preview || !ActiveImageDialogHost()) return;
  Changed = true;
  Preview = false;
  TakeBackPreview();
  DX = DY = 0;
  ActiveImageDialogHost()->RefreshBitmap();
}

void TDecalerForm::BOkClick() {
  if (SEDX->text().isEmpty() || SEDY->text().isEmpty()) {
    WarnEmptyFields();
    return;
  }
  TImageDialogHost* Host = ActiveImageDialogHost();
  if (!Host || (SEDX->Value() == 0 && SEDY->Value() == 0)) {
    close();
    return;
  }
  CloseOk();
  if (Changed) BApercuClick();
  Host->LayerNav().Synchronize(false);
  if (TUndoItem* Record = Host->CurrentUndo()) {
    Record->SetFlag(5, DX);
    Record->SetFlag(6, DY);
  }
  Host->LayerChanged();
}

void TDecalerForm::FormHide() {
  if (DialogOk) return;
  if (TImageDialogHost* Host = ActiveImageDialogHost()) {
    if (Preview) OffsetAllLayers(Host->LayerNav(), -DX, -DY, false);
    Host->AnnulerFiltre(Preview);
  }
  Preview = false;
}
