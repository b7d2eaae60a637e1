#include "filters/ui/DistortForms.h"

#include "filters/Blur24.h"
#include "filters/CompositeSteps.h"
#include "filters/Distortions24.h"
#include "filters/ui/EffectHost.h"
#include "i18n/Format.h"
#include "i18n/LibLang.h"
#include "raster/ColorFill.h"
#include "tools/Gradient.h"
#include "ui/ColorEdit.h"
#include "ui/SpinEdit.h"
#include "ui/TrackBar.h"

#include <QCheckBox>
#include <QHideEvent>
#include <QLabel>
#include <QRadioButton>

#include <algorithm>

// ---- Ripple ------------------------------------------------------------------------------------------------------

TRippleForm::TRippleForm(QWidget* Parent) : TFilterNForm(Parent) {
  setObjectName(QStringLiteral("RippleForm"));
  setWindowTitle(Title(QStringLiteral("MenuFiltreOnde")));
  SetMainBar(3, 60, 3, 3, 20, Tr(TrId::GetTrFmtPeriod));
  Lbl2 = NewLabel(Format(Tr(TrId::GetTrFmtAmplitude), {20}), 8);
  TB2 = NewBar(3, 60, 3, 3, 20, 2);
  TB2->OnChange = [this](QObject*) { AmplitudeChange(); };
  RBAxe1 = NewRadioBtn(Tr(TrId::GetTrLblHorzAxis), true, 12);
  RBAxe2 = NewRadioBtn(Tr(TrId::GetTrLblVertAxis), false, 4);
  ArrangeButtons();
}

void TRippleForm::AmplitudeChange() {
  Lbl2->setText(Format(Tr(TrId::GetTrFmtAmplitude), {TB2->Position()}));
  Lbl2->adjustSize();
  ParamChanged(false);
}

void TRippleForm::ApplyFilter() {
  WavesFromSource(FilterHost()->BmpUndo(), Bitmap(), TBN->Position(), TB2->Position(), RBAxe1->isChecked(),
                  WorkRect());
}

// ---- Radial mask -------------------------------------------------------------------------------------------------

TRadialMaskForm::TRadialMaskForm(QWidget* Parent) : TFilterNForm(Parent) {
  setObjectName(QStringLiteral("RadialMaskForm"));
  setWindowTitle(Title(QStringLiteral("MenuFiltreMasqueRadial")));
  SetMainBar(0, 80, 5, 5, 30, Tr(TrId::GetTrFmtLevel2));
  LblColor1 = NewLabel(Tr(TrId::GetTrLblColor1), 12);
  EdiColor1 = NewColorEdit(clBlack, 2);
  EdiColor1->resize(Rescale(89), EdiColor1->height());
  EdiColor2 = NewColorEdit(clWhite, 0);
  EdiColor2->resize(EdiColor1->width(), EdiColor1->height());
  LblColor2 = NewLabel(Tr(TrId::GetTrLblColor2), 0);
  EdiColor2->move(Rescale(120), EdiColor1->y());
  LblColor2->move(EdiColor2->x(), LblColor1->y());
  CBMax = NewCheckBox(Title(QStringLiteral("MenuFiltreMaximum")), false, 12);
  IsPipetteForm = false;
  ArrangeButtons();
}

void TRadialMaskForm::ApplyFilter() {
  const TPassesScope Passes(2);
  const TRect R = WorkRect();
  FillColor24(Bitmap(), EdiColor2->Color(), 100, R);
  RadialGradient24(Bitmap(), EdiColor1->Color(), (R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2,
                   std::min(R.Width(), R.Height()) / 2, TBN->Position(), CBMax->isChecked() ? 2.0 : 1.0, R);
  GaussianBlurRadius(Bitmap(), 3, R);
}

// ---- Wide-angle correction ---------------------------------------------------------------------------------------

TFisheyeForm::TFisheyeForm(QWidget* Parent) : TFilterNForm(Parent) {
  setObjectName(QStringLiteral("TFisheyeForm"));
  setWindowTitle(Title(QStringLiteral("MenuImageFisheye")));
  DeleteMainBar();
  LastFilterInfo = BkgAllUndoKind;
  LblWidth = NewLabel(Tr(TrId::GetTrLblWidth), 12);
  SEWidth = NewFloatSpinEdit(-50, 50, 2.5, 2);
  LblPct1 = NewLabel(QStringLiteral("%"), 0);
  LblPct1->move(SEWidth->x() + SEWidth->width() + Rescale(4), SEWidth->y() + Rescale(3));
  SEHeight = NewFloatSpinEdit(-50, 50, 2.5, 0);
  LblHeight = NewLabel(Tr(TrId::GetTrLblHeight), 0);
  SEHeight->move(Rescale(150), SEWidth->y());
  LblHeight->move(SEHeight->x(), LblWidth->y());
  LblPct2 = NewLabel(QStringLiteral("%"), 0);
  LblPct2->move(SEHeight->x() + SEHeight->width() + Rescale(4), LblPct1->y());
  ArrangeButtons();
}

void TFisheyeForm::UpdateControls() {
  for (QLabel* L : {LblPct1, LblPct2}) {
    QFont F = L->font();
    F.setBold(true);
    L->setFont(F);
  }
}

void TFisheyeForm::hideEvent(QHideEvent* Event) {
  // The kept result is drawn again, bilinear, once the dialog is hidden.
  if (DialogOk && !Event->spontaneous()) Changed = true;
  TFilterNForm::hideEvent(Event);
}

void TFisheyeForm::ApplyFilter() {
  ApplySelMask = false;
  const double PX = SEWidth->Value();
  const double PY = SEHeight->Value();
  if (isVisible())
    FisheyeNearest24(FilterHost()->BmpUndo(), Bitmap(), PX, PY);
  else
    FisheyeBilinear24(FilterHost()->BmpUndo(), Bitmap(), PX, PY);
}
