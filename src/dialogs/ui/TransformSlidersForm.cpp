#include "dialogs/ui/TransformSlidersForm.h"

#include "dialogs/ui/DialogParts.h"
#include "i18n/Format.h"
#include "ui/TrackBar.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct TSliderSpec {
  const char* Name;
  int Min, Max, Page, Neutral;
};

} // namespace

TTransformSlidersForm::TTransformSlidersForm(QWidget* Parent) : TMainDialogForm(Parent) {
  IniOptions = ioPosition;
  DialogMode = TMainDialogMode::dmDialog;
  auto* Main = new QVBoxLayout(this);
  const auto Group = [&](const QString& Title) {
    auto* G = new QGroupBox(QStringLiteral(" ") + Title + QStringLiteral(" "), this);
    Main->addWidget(G);
    return new QVBoxLayout(G);
  };
  const auto Slider = [&](QVBoxLayout* Rows, const TSliderSpec& S, QLabel*& Label) {
    Label = new QLabel(this);
    auto* T = new TTrackBar(this);
    T->setObjectName(QString::fromLatin1(S.Name));
    T->setRange(S.Min, S.Max);
    T->setPageStep(S.Page);
    T->SetPosition(S.Neutral);
    PrepareTrackBar(T);
    connect(T, &QSlider::valueChanged, this, [this] { SliderChanged(); });
    T->OnKeyUp = [this](TTrackBar*, int, Qt::KeyboardModifiers) {
      if (Changed && !FResetting) Apply();
    };
    Rows->addWidget(Label);
    Rows->addWidget(T);
    return T;
  };
  QVBoxLayout* Turn = Group(TrText(TrId::GetTrMnuRotate, QStringLiteral("Rotation")) + QStringLiteral(" / ") +
                            TrText(TrId::GetTrLblScale, QStringLiteral("Echelle")));
  TBAngle = Slider(Turn, {"TBAngle", -1000, 1000, 100, 0}, LblAngle);
  TBEchelle = Slider(Turn, {"TBEchelle", 30, 230, 10, 100}, LblEchelle);
  QVBoxLayout* Skew = Group(TrText(TrId::GetTrMnuSkew, QStringLiteral("Incliner")));
  TBIX = Slider(Skew, {"TBIX", -50, 50, 10, 0}, LblIX);
  TBIY = Slider(Skew, {"TBIY", -50, 50, 10, 0}, LblIY);
  BReset = new QPushButton(TrText(TrId::GetTrBtnReset, QStringLiteral("Réinitialiser")), this);
  BReset->setObjectName(QStringLiteral("BReset"));
  auto* ResetRow = new QHBoxLayout;
  ResetRow->addWidget(BReset);
  ResetRow->addStretch(1);
  Main->addLayout(ResetRow);
  const TOkCancel Buttons = AddOkCancel(*this, *Main);
  BOk = Buttons.BOk;
  BAnnuler = Buttons.BAnnuler;
  connect(BReset, &QPushButton::clicked, this, [this] { BResetClick(); });
  SliderChanged();
  Changed = false;
}

TTransformSliders TTransformSlidersForm::Sliders() const {
  return {TBAngle->Position(), TBEchelle->Position(), TBIX->Position(), TBIY->Position()};
}

void TTransformSlidersForm::SliderChanged() {
  const TTransformSliders S = Sliders();
  const QString Angle = TrText(TrId::GetTrLblAngle, QStringLiteral("Angle")) + QStringLiteral(" : %.2f°");
  LblAngle->setText(Format(Angle, {S.Angle / 10.0}));
  LblEchelle->setText(Format(TrText(TrId::GetTrFmtScale, QStringLiteral("Echelle : %d%%")), {S.Scale}));
  LblIX->setText(Format(TrLabel(TrId::GetTrLblHorzAxis, QStringLiteral("Axe horizontal :")) + QStringLiteral(" %d%%"),
                        {S.SkewX}));
  LblIY->setText(Format(TrLabel(TrId::GetTrLblVertAxis, QStringLiteral("Axe vertical :")) + QStringLiteral(" %d%%"),
                        {S.SkewY}));
  Changed = true;
}

void TTransformSlidersForm::SetNeutral() {
  FResetting = true;
  TBAngle->SetPosition(0);
  TBEchelle->SetPosition(100);
  TBIX->SetPosition(0);
  TBIY->SetPosition(0);
  FResetting = false;
  Changed = false;
}

void TTransformSlidersForm::BResetClick() {
  SetNeutral();
  Apply();
}
