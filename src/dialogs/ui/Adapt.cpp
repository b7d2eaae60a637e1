#include "dialogs/ui/Adapt.h"

#include "dialogs/ImageSizeRules.h"
#include "dialogs/ui/DialogParts.h"
#include "dialogs/ui/ImageDialogHost.h"
#include "dialogs/ui/ImageResize.h"
#include "ui/SpecialEdit.h"
#include "ui/SpinEdit.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

TAdapterForm::TAdapterForm(QWidget* Parent) : TMainDialogForm(Parent) {
  setObjectName(QStringLiteral("AdapterForm"));
  setWindowTitle(DialogTitle("MenuImageAdapter", QStringLiteral("Adapter l'image")));
  DialogMode = TMainDialogMode::dmModal;
  auto* Main = new QVBoxLayout(this);
  GBNew = new QGroupBox(TranslationLoaded() && !Tr(TrId::GetTrLblLimits).isEmpty()
                            ? u' ' + Tr(TrId::GetTrLblLimits) + QStringLiteral(" (") +
                                  TrText(TrId::GetTrLblPixels, QStringLiteral("pixels")) + QStringLiteral(") ")
                            : QStringLiteral(" Limites (pixels) "),
                        this);
  GBNew->setObjectName(QStringLiteral("GBNew"));
  auto* Form = new QFormLayout(GBNew);
  EdiL = NewSpinEdit2(GBNew, "EdiL", 10, 10000, 800, 5);
  EdiH = NewSpinEdit2(GBNew, "EdiH", 10, 10000, 600, 5);
  PopTaille = new QMenu(this);
  PopTaille->setObjectName(QStringLiteral("PopTaille"));
  PopTaille->addAction(u'<' + TrText(TrId::GetTrLblCustomSize, QStringLiteral("Personnalisé")) + u'>');
  for (const char* Caption : {"100 x 100", "640 x 480", "800 x 600", "1024 x 768", "1280 x 1024", "1600 x 1200"})
    PopTaille->addAction(QString::fromLatin1(Caption));
  LstTaille = new TSpecialEdit(GBNew);
  LstTaille->setObjectName(QStringLiteral("LstTaille"));
  LstTaille->SetDropDownMenu(PopTaille);
  LstTaille->SetShowButton(true);
  LstTaille->SetItemIndex(0);
  Form->addRow(TrLabel(TrId::GetTrLblLimitList, QStringLiteral("Limites prédéfinies :")), LstTaille);
  Form->addRow(TrText(TrId::GetTrLblWidth, QStringLiteral("Largeur :")), EdiL);
  Form->addRow(TrText(TrId::GetTrLblHeight, QStringLiteral("Hauteur :")), EdiH);
  Main->addWidget(GBNew);
  const auto Box = [&](const char* Name, TrId Id, const char* French, bool Checked) {
    auto* C = new QCheckBox(TrText(Id, QString::fromUtf8(French)), this);
    C->setObjectName(QString::fromLatin1(Name));
    C->setChecked(Checked);
    Main->addWidget(C);
    return C;
  };
  CBOptimiser = Box("CBOptimiser", TrId::GetTrLblOptimize, "Optimiser", true);
  CBDeformer = Box("CBDeformer", TrId::GetTrLblAcceptDeform, "Autoriser la déformation", false);
  CBTous = Box("CBTous", TrId::GetTrLblAllLayers, "Tous les calques", true);
  const TOkCancel Buttons = AddOkCancel(*this, *Main);
  BOk = Buttons.BOk;
  BAnnuler = Buttons.BAnnuler;

  // Typing a limit makes it a size of one's own.
  for (TSpinEdit2* E : {EdiL, EdiH})
    E->OnChange = [this](QObject*) {
      if (!Updating) LstTaille->SetItemIndex(0);
    };
  LstTaille->OnChange = [this](QObject*) {
    if (!Updating) LstTailleChange();
  };
  connect(BOk, &QPushButton::clicked, this, [this] { BOkClick(); });
}

void TAdapterForm::FormShow() {
  TImageDialogHost* Host = ActiveImageDialogHost();
  if (!Host) return;
  L = Host->LeFond().Width();
  H = Host->LeFond().Height();
  CBOptimiser->setEnabled(!Host->LeFond().Transparent);
  CBTous->setVisible(Host->Image().Layers().Count() > 1);
  adjustSize();
}

void TAdapterForm::UpdateControls() {
  if (LstTaille->ItemIndex() > 0) LstTailleChange();
}

void TAdapterForm::LstTailleChange() {
  if (LstTaille->ItemIndex() <= 0) return;
  // "W x H": the number before the "x" less its last character, and after.
  const QString Caption = LstTaille->Text();
  const qsizetype X = Caption.indexOf(u'x');
  if (X < 1) return;
  EdiL->SetValue2(Caption.left(X - 1).toInt());
  EdiH->SetValue2(Caption.mid(X + 1).trimmed().toInt());
}

void TAdapterForm::BOkClick() {
  if (EdiL->text().isEmpty() || EdiH->text().isEmpty()) {
    WarnEmptyFields();
    return;
  }
  FitImageSize(L, H, EdiL->Value(), EdiH->Value(), CBDeformer->isChecked(), NewL, NewH);
  TImageDialogHost* Host = ActiveImageDialogHost();
  if (!Host || (NewL == L && NewH == H)) {
    close();
    return;
  }
  CloseOk();
  const uint8_t Kernel = CBOptimiser->isEnabled() && CBOptimiser->isChecked() ? 5 : 0;
  ResizeImage(*Host, Host->TitreMenu(QStringLiteral("MenuImageAdapter")), NewL, NewH, Kernel,
              CBTous->isChecked() && !CBTous->isHidden());
}
