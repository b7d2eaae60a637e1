#include "filters/ui/ToneForms.h"

#include "filters/Filtres24.h"
#include "filters/ui/ChannelBars.h"
#include "i18n/Format.h"
#include "i18n/LibLang.h"
#include "ui/TrackBar.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>



// ---- Brightness and contrast -------------------------------------------------------------------------------------

TLumForm::TLumForm(QWidget* Parent) : TFilterNForm(Parent) {
  setObjectName(QString::fromLatin1(metaObject()->className()));
  setWindowTitle(Title(QStringLiteral("MenuReglageLum")));
  SetMainBar(-100, 100, 10, 5, 0, Tr(TrId::GetTrFmtBrightness));
  NewSeparator(12);
  NewChannelBars(*this, {-100, 100, 10, 5, 0, QStringLiteral(" : %d%%")}, Bars, Labels);
  BtnReset = PlaceResetButton(*this);
  ArrangeButtons();
}

void TLumForm::UpdateControls() {
  SetBold(LblN);
  ColorChannelLabels(Labels, 3);
}

bool TLumForm::HasEffect() { return AnyNot({TBN, Bars[0], Bars[1], Bars[2]}, 0); }

void TLumForm::ResetParams() { SetAll({TBN, Bars[0], Bars[1], Bars[2]}, 0); }

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

// ---- Gamma -------------------------------------------------------------------------------------------------------

TGammaForm::TGammaForm(QWidget* Parent) : TFilterNForm(Parent) {
  setObjectName(QStringLiteral("GammaForm"));
  setWindowTitle(Title(QStringLiteral("MenuReglageGamma")));
  SetMainBar(10, 300, 10, 10, 100, QString());
  FormatStr = Tr(TrId::GetTrFmtLevel);
  LinkBarLabel(*this, TBN, LblN, FormatStr, 100);
  NewSeparator(12);
  NewChannelBars(*this, {10, 300, 10, 10, 100, QStringLiteral(" : %.2f"), 100}, Bars, Labels);
  BtnReset = PlaceResetButton(*this);
  ArrangeButtons();
}

void TGammaForm::UpdateControls() {
  SetBold(LblN);
  ColorChannelLabels(Labels, 3);
}

bool TGammaForm::HasEffect() { return AnyNot({TBN, Bars[0], Bars[1], Bars[2]}, 100); }

void TGammaForm::ResetParams() { SetAll({TBN, Bars[0], Bars[1], Bars[2]}, 100); }

void TGammaForm::ApplyFilter() {
  const double G = TBN->Position() / 100.0;
  const auto Channel = [&](int C) { return std::clamp(G + Bars[C]->Position() / 100.0 - 1, 0.10, 3.00); };
  GammaRGB24(Bitmap(), Channel(0), Channel(1), Channel(2), WorkRect());
}

// ---- Posterize ---------------------------------------------------------------------------------------------------

TPosterizeForm::TPosterizeForm(QWidget* Parent) : TFilterNForm(Parent) {
  setObjectName(QStringLiteral("PosterizeForm"));
  setWindowTitle(Title(QStringLiteral("MenuReglagePosteriser")));
  SetMainBar(2, 120, 8, 8, 50, Tr(TrId::GetTrFmtLevel2));
}

void TPosterizeForm::ApplyFilter() { Posterize24(Bitmap(), TBN->Position(), WorkRect()); }

// ---- Custom adjustment -------------------------------------------------------------------------------------------

TCustomRegForm::TCustomRegForm(QWidget* Parent) : TFilterNForm(Parent) {
  setObjectName(QStringLiteral("CustomRegForm"));
  setWindowTitle(Title(QStringLiteral("MenuReglage")));
  SetMainBar(-100, 100, 10, 5, 0, Tr(TrId::GetTrFmtBrightness));
  Bars[0] = NewLabelledBar(*this, Tr(TrId::GetTrFmtContrast), -100, 100, 10, 5, 0, 8, 2, Labels[0]);
  Bars[1] = NewLabelledBar(*this, Tr(TrId::GetTrFmtSaturation), -100, 100, 10, 5, 0, 8, 2, Labels[1]);
  Bars[2] = NewLabelledBar(*this, Tr(TrId::GetTrFmtHue), -180, 180, 20, 10, 0, 8, 2, Labels[2]);
  Bars[3] = NewLabelledBar(*this, Tr(TrId::GetTrFmtGamma), 10, 300, 10, 10, 100, 8, 2, Labels[3], 100);
  NewLabel(Tr(TrId::GetTrLblChannel), 8);
  Channel = NewComboBox(false, 2);
  Channel->addItems({Tr(TrId::GetTrLblChannelAlls), ChannelName(0), ChannelName(1), ChannelName(2),
                     Tr(TrId::GetTrLblChannelCyan), Tr(TrId::GetTrLblChannelMagenta), Tr(TrId::GetTrLblChannelYellow)});
  Channel->setCurrentIndex(0);
  BtnReset = PlaceResetButton(*this);
  ArrangeButtons();
}

bool TCustomRegForm::HasEffect() { return AnyNot({TBN, Bars[0], Bars[1], Bars[2]}, 0) || Bars[3]->Position() != 100; }

void TCustomRegForm::ResetParams() {
  SetAll({TBN, Bars[0], Bars[1], Bars[2]}, 0);
  Bars[3]->SetPosition(100);
  Channel->setCurrentIndex(0);
}

void TCustomRegForm::ApplyFilter() {
  const int C = Channel->currentIndex();
  int P[3];
  SpreadByChannel(C, TBN->Position(), 0, P);
  BrightnessRGB24(Bitmap(), P[0], P[1], P[2], WorkRect());
  SpreadByChannel(C, Bars[0]->Position(), 0, P);
  ContrastRGB24(Bitmap(), P[0], P[1], P[2], WorkRect());
  SpreadByChannel(C, Bars[1]->Position(), 0, P);
  SaturationRGB24(Bitmap(), P[0], P[1], P[2], WorkRect());
  HueShift24(Bitmap(), Bars[2]->Position(), WorkRect());
  double G[3];
  SpreadByChannel(C, Bars[3]->Position() / 100.0, 1.0, G);
  GammaRGB24(Bitmap(), G[0], G[1], G[2], WorkRect());
}

// ---- Colour balance ----------------------------------------------------------------------------------------------

TRGBForm::TRGBForm(QWidget* Parent) : TFilterNForm(Parent) {
  setObjectName(QStringLiteral("RGBForm"));
  setWindowTitle(Title(QStringLiteral("MenuReglageRGB")));
  SetMainBar(-100, 100, 10, 5, 0, ChannelName(0) + QStringLiteral(" : %d%%"));
  TBN->setGeometry(TBN->x() + 24, TBN->y(), TBN->width() - 48, TBN->height());
  LblN->move(TBN->x() + 6, LblN->y());
  AddBarSwatches(TBN, ChannelSwatch(0, 0), ChannelSwatch(0, 1), 2);
  NewChannelBars(*this, {-100, 100, 10, 5, 0, QStringLiteral(" : %d%%"), 1, 8, 1, true}, Bars, Labels);
  const TrId BandNames[4] = {TrId::GetTrLblMergeLuminosity, TrId::GetTrLblShadows, TrId::GetTrLblMidtones,
                             TrId::GetTrLblHighlights};
  for (int I = 0; I < 4; ++I) Bands[I] = NewRadioBtn(Tr(BandNames[I]), I == 0, I == 0 ? 12 : 4);
  BtnReset = PlaceResetButton(*this);
  ArrangeButtons();
}

void TRGBForm::UpdateControls() {
  QLabel* All[3] = {LblN, Labels[0], Labels[1]};
  ColorChannelLabels(All, 3);
  SetBold(Bands[0]);
}

bool TRGBForm::HasEffect() { return AnyNot({TBN, Bars[0], Bars[1]}, 0); }

void TRGBForm::ResetParams() {
  SetAll({TBN, Bars[0], Bars[1]}, 0);
  Bands[0]->setChecked(true);
}

void TRGBForm::ApplyFilter() {
  static constexpr int Limits[4][2] = {{0, 255}, {0, 84}, {85, 169}, {170, 255}};
  int Band = 0;
  while (Band < 3 && !Bands[Band]->isChecked()) ++Band;
  BandBrightnessRGB24(Bitmap(), TBN->Position(), Bars[0]->Position(), Bars[1]->Position(), Limits[Band][0],
                      Limits[Band][1], WorkRect());
}
