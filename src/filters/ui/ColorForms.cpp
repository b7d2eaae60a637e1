#include "filters/ui/ColorForms.h"

#include "filters/Filtres24.h"
#include "filters/ui/ChannelBars.h"
#include "i18n/LibLang.h"
#include "raster/ColorFill.h"
#include "ui/ColorEdit.h"
#include "ui/CompUtils.h"
#include "ui/RadioGroup.h"
#include "ui/TrackBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

namespace {

// Control moved level with Beside, Gap pixels right of it.
void PlaceRightOf(QWidget* Control, const QWidget* Beside, int Gap) {
  Control->move(Beside->x() + Beside->width() + Gap, Beside->y());
}

// The label text before its colon ("Teinte : %d°" gives "Teinte").
QString BeforeColon(const QString& Text) { return Text.section(QLatin1Char(':'), 0, 0).trimmed(); }

} // namespace

// ---- Hue and saturation ------------------------------------------------------------------------------------------

THueSatForm::THueSatForm(QWidget* Parent) : TFilterNForm(Parent) {
  setObjectName(QStringLiteral("HueSatForm"));
  setWindowTitle(Title(QStringLiteral("MenuReglageTS")));
  SetMainBar(-180, 180, 20, 20, 0, Tr(TrId::GetTrFmtHue));
  BarSat = NewLabelledBar(*this, Tr(TrId::GetTrFmtSaturation), -100, 100, 10, 5, 0, 4, 4, LblSat);
  NewSeparator(12);
  NewChannelBars(*this, {-100, 100, 10, 5, 0, QStringLiteral(" : %d%%")}, Bars, Labels);
  BtnReset = PlaceResetButton(*this);
  ArrangeButtons();
}

void THueSatForm::UpdateControls() {
  SetBold(LblN);
  SetBold(LblSat);
  ColorChannelLabels(Labels, 3);
}

bool THueSatForm::HasEffect() { return AnyNot({TBN, BarSat, Bars[0], Bars[1], Bars[2]}, 0); }

void THueSatForm::ResetParams() { SetAll({TBN, BarSat, Bars[0], Bars[1], Bars[2]}, 0); }

void THueSatForm::ApplyFilter() {
  HueShift24(Bitmap(), TBN->Position(), WorkRect());
  Saturation24(Bitmap(), BarSat->Position(), WorkRect());
  BrightnessRGB24(Bitmap(), Bars[0]->Position(), Bars[1]->Position(), Bars[2]->Position(), WorkRect());
}

// ---- Channel swap ------------------------------------------------------------------------------------------------

TSwapRGBForm::TSwapRGBForm(QWidget* Parent) : TFilterNForm(Parent) {
  setObjectName(QStringLiteral("SwapRGBForm"));
  setWindowTitle(Title(QStringLiteral("MenuReglageInversionRVB")));
  DeleteMainBar();
  Options = NewRadioGroup(Tr(TrId::GetTrMnuOptions), 12);
  Options->resize(Options->width(), Rescale(123));
  Options->SetItems({Tr(TrId::GetTrLblRGB_RBG), Tr(TrId::GetTrLblRGB_GRB), Tr(TrId::GetTrLblRGB_GBR),
                     Tr(TrId::GetTrLblRGB_BRG), Tr(TrId::GetTrLblRGB_BGR)});
  SetRadioIndexSilent(Options, 0);
  ArrangeButtons();
}

void TSwapRGBForm::ApplyFilter() { SwapRGB24(Bitmap(), Options->ItemIndex(), WorkRect()); }

// ---- Duotone -----------------------------------------------------------------------------------------------------

TDuotoneForm::TDuotoneForm(QWidget* Parent) : TFilterNForm(Parent) {
  setObjectName(QStringLiteral("DuotoneForm"));
  setWindowTitle(Title(QStringLiteral("MenuReglageBichromie")));
  SetMainBar(0, 255, 8, 8, 128, Tr(TrId::GetTrFmtThreshold));
  QLabel* L1 = NewLabel(Tr(TrId::GetTrLblColor1), 8);
  Color1 = NewColorEdit(clBlack, 4);
  Color1->resize(Rescale(89), Color1->height());
  QLabel* L2 = NewLabel(Tr(TrId::GetTrLblColor2), 0);
  L2->move(Rescale(120), L1->y());
  Color2 = NewColorEdit(clWhite, 0);
  Color2->setGeometry(L2->x(), Color1->y(), Color1->width(), Color1->height());
  IsPipetteForm = false;
  ArrangeButtons();
}

void TDuotoneForm::ApplyFilter() {
  ThresholdTwoColors24(Bitmap(), TBN->Position(), Color1->Color(), Color2->Color(), WorkRect());
}

// ---- Greyscale ---------------------------------------------------------------------------------------------------

TGrayForm::TGrayForm(QWidget* Parent) : TFilterNForm(Parent) {
  setObjectName(QStringLiteral("GrayForm"));
  setWindowTitle(Title(QStringLiteral("MenuReglageGris")));
  DeleteMainBar();
  const QString Captions[9] = {Title(QStringLiteral("MenuReglageLum")),
                               Tr(TrId::GetTrLblAverage),
                               ChannelName(0),
                               ChannelName(1),
                               ChannelName(2),
                               Title(QStringLiteral("MenuFiltreMaximum")),
                               Title(QStringLiteral("MenuFiltreMinimum")),
                               BeforeColon(Tr(TrId::GetTrFmtHue)),
                               BeforeColon(Tr(TrId::GetTrFmtSaturation))};
  static constexpr int Gaps[9] = {16, 4, 12, 4, 4, 12, 4, 4, 4};
  for (int I = 0; I < 9; ++I) Modes[I] = NewRadioBtn(Captions[I], I == 0, Gaps[I]);
  ArrangeButtons();
}

void TGrayForm::UpdateControls() { SetBold(Modes[0]); }

void TGrayForm::ApplyFilter() {
  int Mode = 0;
  for (int I = 1; I < 9; ++I)
    if (Modes[I]->isChecked()) Mode = I;
  GrayscaleMode24(Bitmap(), Mode, WorkRect());
}

// ---- Coloured filter ---------------------------------------------------------------------------------------------

TColoredLayerForm::TColoredLayerForm(QWidget* Parent) : TFilterNForm(Parent) {
  setObjectName(QStringLiteral("ColoredLayerForm"));
  setWindowTitle(Title(QStringLiteral("MenuFiltreFiltre")));
  SetMainBar(10, 100, 5, 5, 30, Tr(TrId::GetTrFmtOpacity));
  NewLabel(Tr(TrId::GetTrLblColor), 8);
  Color = NewColorEdit(0x000080, 4);
  Invert = NewCheckBox(Title(QStringLiteral("MenuSelInverser")), false, 0);
  PlaceRightOf(Invert, Color, Rescale(16));
  ArrangeButtons();
}

void TColoredLayerForm::ApplyFilter() {
  FillColor24(Bitmap(), Color->Color(), Invert->isChecked() ? -TBN->Position() : TBN->Position(), WorkRect());
}

// ---- Colour replacement ------------------------------------------------------------------------------------------

TReplaceColorForm::TReplaceColorForm(QWidget* Parent) : TFilterNForm(Parent) {
  setObjectName(QStringLiteral("ReplaceColorForm"));
  setWindowTitle(Title(QStringLiteral("MenuReglageRemplacer")));
  SetMainBar(0, 100, 5, 5, 30, Tr(TrId::GetTrFmtTolerance));
  QLabel* L1 = NewLabel(Tr(TrId::GetTrLblColor1), 8);
  Color1 = NewColorEdit(clWhite, 4);
  Picker1 = NewColorPickerBtn(Color1, true);
  QLabel* L2 = NewLabel(Tr(TrId::GetTrLblColor2), 0);
  L2->move(Rescale(133), L1->y());
  Color2 = NewColorEdit(clBlack, 0);
  Color2->move(L2->x(), Color1->y());
  Picker2 = NewColorPickerBtn(Color2, false);
  ArrangeButtons();
}

void TReplaceColorForm::ChangerCouleur(TColor Couleur) { (Picker1->isChecked() ? Color1 : Color2)->SetColor(Couleur); }

void TReplaceColorForm::ApplyFilter() {
  ReplaceColor24(Bitmap(), Color1->Color(), Color2->Color(), TBN->Position(), WorkRect());
}

// ---- Partial desaturation ----------------------------------------------------------------------------------------

TPartialDesat::TPartialDesat(QWidget* Parent) : TFilterNForm(Parent) {
  setObjectName(QStringLiteral("PartialDesatForm"));
  setWindowTitle(Title(QStringLiteral("MenuFiltreDesaturation")));
  SetMainBar(-100, 100, 10, 10, 0, Tr(TrId::GetTrFmtIntensity));
  NewLabel(Tr(TrId::GetTrLblColor), 8);
  ColorCombo = NewComboBox(false, 2);
  {
    const bool Saved = std::exchange(Updating, true);
    InitColorCombo(ColorCombo);
    Updating = Saved;
  }
  Invert = NewCheckBox(Title(QStringLiteral("MenuSelInverser")), false, 0);
  PlaceRightOf(Invert, ColorCombo, Rescale(32));
  BarTolerance = NewLabelledBar(*this, Tr(TrId::GetTrFmtTolerance), 0, 10, 1, 1, 5, 12, 2, LblTolerance);
  ArrangeButtons();
}

void TPartialDesat::ApplyFilter() {
  const float Strength = float(TBN->Position()) * 1.5f / 100.0f;
  const float Sharpness = float(10 - BarTolerance->Position()) / 1.42f + 1.0f;
  PartialDesat24(Bitmap(), ComboColor(ColorCombo, -1), Strength, Sharpness, Invert->isChecked(), WorkRect());
}
