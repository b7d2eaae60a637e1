#include "files/ui/Annuler.h"

#include "i18n/LibLang.h"
#include "raster/FoncUtils.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TAnnulerForm::TAnnulerForm(QWidget* Parent) : TDialogFormEx(Parent) {
  setObjectName(QStringLiteral("AnnulerForm"));
  setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
  setFixedSize(282, 79);
  auto* Panel1 = new QFrame(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setFrameShape(QFrame::StyledPanel);
  Panel1->setGeometry(0, 0, 282, 79);
  auto* Layout = new QVBoxLayout(Panel1);
  LabelTitre = new QLabel(QStringLiteral("Patientez, préparation de l'impression..."), Panel1);
  LabelTitre->setObjectName(QStringLiteral("LabelTitre"));
  LabelTitre->setAlignment(Qt::AlignCenter);
  BAnnuler = new QPushButton(QStringLiteral("Annuler"), Panel1);
  BAnnuler->setObjectName(QStringLiteral("BAnnuler"));
  Layout->addWidget(LabelTitre);
  Layout->addWidget(BAnnuler, 0, Qt::AlignHCenter);
  if (TranslationLoaded()) {
    LabelTitre->setText(FormatCaption(Tr(TrId::GetTrPrnSpool), 1));
    BAnnuler->setText(Tr(TrId::GetTrBtnCancel));
  }
  connect(BAnnuler, &QPushButton::clicked, this, &TAnnulerForm::BAnnulerClick);
}

void TAnnulerForm::Init(TPrintJob& Job) {
  FJob = &Job;
  FFlag = 0;
  if (QWidget* Owner = parentWidget()) move(Owner->geometry().center() - rect().center());
  // Shown without blocking, yet the only window taking input: a command run
  // meanwhile could close the image being sent.
  setWindowModality(Qt::ApplicationModal);
  show();
  QApplication::processEvents();
}

// Esc is the Cancel button.
void TAnnulerForm::reject() { BAnnulerClick(); }

void TAnnulerForm::BAnnulerClick() {
  if (FJob && FJob->Printing()) FJob->AbortJob();
  FFlag = -1;
}

bool TAnnulerForm::VerifierImpression() {
  if (FFlag == 0 && FJob) FJob->EndJob();
  FJob = nullptr;
  hide();
  return FFlag == 0;
}
