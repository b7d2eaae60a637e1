#include "filters/ui/ToneForms.h"

#include "filters/Filtres24.h"
#include "filters/ui/ChannelBars.h"
#include "i18n/LibLang.h"
#include "ui/TrackBar.h"

#include <QLabel>
#include <QPushButton>

namespace {

void SetBold(QLabel* Label) {
  QFont F = Label->font();
  F.setBold(true);
  Label->setFont(F);
}

} // namespace

TLumForm::TLumForm(QWidget* Parent) : TFilterNForm(Parent) {
  setObjectName(QString::fromLatin1(metaObject()->className()));
  setWindowTitle(Title(QStringLiteral("MenuReglageLum")));
  SetMainBar(-100, 100, 10, 5, 0, Tr(TrId::GetTrFmtBrightness));
  NewSeparator(12);
  NewChannelBars(*this, {-100, 100, 10, 5, 0, QStringLiteral(" : %d%%")}, Bars, Labels);
  BtnReset = NewResetButton();
  BtnReset->move(BtnReset->x(), ControlsBottom(BtnReset) + Rescale(16));
  ArrangeButtons();
}

void TLumForm::UpdateControls() {
  SetBold(LblN);
  ColorChannelLabels(Labels);
}

bool TLumForm::HasEffect() {
  return TBN->Position() != 0 || Bars[0]->Position() != 0 || Bars[1]->Position() != 0 || Bars[2]->Position() != 0;
}

void TLumForm::ResetParams() {
  for (TTrackBar* Bar : {TBN, Bars[0], Bars[1], Bars[2]}) Bar->SetPosition(0);
}

void TLumForm::ApplyFilter() {
  const int Main = TBN->Position();
  BrightnessRGB24(Bitmap(), Main + Bars[0]->Position(), Main + Bars[1]->Position(), Main + Bars[2]->Position(),
                  WorkRect());
}

TCtrForm::TCtrForm(QWidget* Parent) : TLumForm(Parent) {
  setObjectName(QString::fromLatin1(metaObject()->className()));
  setWindowTitle(Title(QStringLiteral("MenuReglageCtr")));
  SetMainBar(-100, 100, 5, 10, 0, Tr(TrId::GetTrFmtContrast));
}

void TCtrForm::ApplyFilter() {
  Contrast24(Bitmap(), TBN->Position(), WorkRect());
  BrightnessRGB24(Bitmap(), Bars[0]->Position(), Bars[1]->Position(), Bars[2]->Position(), WorkRect());
}
