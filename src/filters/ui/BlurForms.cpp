#include "filters/ui/BlurForms.h"

#include "document/SelMask.h"
#include "document/Undo.h"
#include "filters/Blur24.h"
#include "filters/CompositeSteps.h"
#include "filters/Convolution.h"
#include "filters/Filtres24.h"
#include "filters/FiltresComposes.h"
#include "filters/MatrixConst.h"
#include "filters/ui/ChannelBars.h"
#include "i18n/LibLang.h"
#include "raster/GreyMasks.h"
#include "raster/TransformFunc.h"
#include "ui/DirectionEdit.h"
#include "ui/RadioGroup.h"
#include "ui/SpinEdit.h"
#include "ui/TrackBar.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

TDirectionEdit* NewDirectionBesideBar(TFilterNForm& Form, int Direction) {
  TDirectionEdit* Edit = Form.NewDirectionEdit(Direction, 0);
  Edit->move(Edit->x(), Form.Rescale(16));
  Form.LblN->move(Form.Rescale(77), Form.Rescale(17));
  const int Left = Form.LblN->x() - 6;
  Form.TBN->setGeometry(Left, Form.Rescale(33), Form.width() - Left - Form.BApercu->x() + 6, Form.TBN->height());
  return Edit;
}

int ContractionInset(int Item, int Radius) {
  if (Item == 3) return Radius;
  if (Item == 1 || Item == 2) return std::max(1, Radius / (Item == 1 ? 4 : 2));
  return 0;
}

int EmbossDirectionCode(int Position) {
  static constexpr int Codes[8] = {6, 3, 4, 7, 2, 1, 0, 5};
  return Position >= 0 && Position < 8 ? Codes[Position] : 255;
}

namespace {
constexpr TrId Radius = TrId::GetTrFmtRadius;
constexpr TrId Level = TrId::GetTrFmtLevel2;
constexpr TrId Gain = TrId::GainFormat;
} // namespace

// ---- Noise, rank and high-pass ----------------------------------------------------------------------------------

TNoizeForm::TNoizeForm(QWidget* Parent)
    : TMainBarForm(Parent, {"NoizeForm", "MenuFiltreBruit", 1, 150, 5, 30, TrId::GetTrFmtAmount}) {
  Uniform = NewCheckBox(Tr(TrId::GetTrLblUniform), false, 8);
  ArrangeButtons();
}
void TNoizeForm::ApplyFilter() {
  if (Uniform->isChecked())
    MonoNoise24(Bitmap(), TBN->Position(), WorkRect());
  else
    ColorNoise24(Bitmap(), TBN->Position(), WorkRect());
}

TMinForm::TMinForm(QWidget* Parent) : TMainBarForm(Parent, {"MinForm", "MenuFiltreMinimum", 1, 12, 1, 1, Radius}) {}
void TMinForm::ApplyFilter() { Minimum24(Bitmap(), TBN->Position(), WorkRect()); }

TMaxForm::TMaxForm(QWidget* Parent) : TMainBarForm(Parent, {"MaxForm", "MenuFiltreMaximum", 1, 12, 1, 1, Radius}) {}
void TMaxForm::ApplyFilter() { Maximum24(Bitmap(), TBN->Position(), WorkRect()); }

THighPassForm::THighPassForm(QWidget* Parent)
    : TMainBarForm(Parent, {"HighPassForm", "MenuFiltrePassHaut", 1, 20, 1, 3, Radius}) {}
void THighPassForm::ApplyFilter() { HighPass24(Bitmap(), TBN->Position(), WorkRect()); }

// ---- Sharpening --------------------------------------------------------------------------------------------------

TSharpMoreForm::TSharpMoreForm(QWidget* Parent)
    : TMainBarForm(Parent, {"SharpMoreForm", "MenuFiltreDurcirPlus", 1, 50, 2, 20, Level}) {
  Gain = NewLabelledBar(*this, Tr(::Gain), 0, 300, 10, 10, 100, 8, 4, LblGain);
  ArrangeButtons();
}
void TSharpMoreForm::ApplyFilter() { SharpenMore24(Bitmap(), TBN->Position(), Gain->Position(), WorkRect()); }

TUnsharpMaskForm::TUnsharpMaskForm(QWidget* Parent) : TFilterNForm(Parent) {
  setObjectName(QStringLiteral("TUnsharpMaskForm"));
  setWindowTitle(Title(QStringLiteral("MenuFiltreRenforcement")));
  SetMainBar(0, 300, 10, 10, 70, Tr(Gain));
  Radius = NewLabelledBar(*this, Tr(::Radius), 1, 12, 1, 1, 3, 8, 4, LblRadius);
  Threshold = NewLabelledBar(*this, Tr(TrId::GetTrFmtThreshold), 0, 255, 8, 8, 0, 8, 4, LblThreshold);
  Soften = NewCheckBox(Title(QStringLiteral("MenuFiltreAdoucir")), true, 8);
  ArrangeButtons();
}
void TUnsharpMaskForm::ApplyFilter() {
  UnsharpMask24(Bitmap(), Radius->Position(), TBN->Position(), Threshold->Position(), Soften->isChecked(), WorkRect(),
                true);
}

TDeNoiseForm::TDeNoiseForm(QWidget* Parent) : TUnsharpMaskForm(Parent) {
  setObjectName(QStringLiteral("TDeNoiseForm"));
  setWindowTitle(Title(QStringLiteral("MenuFiltreAntipoussiere")));
  delete Soften;
  Soften = nullptr;
  SetMainBar(0, 100, 5, 5, 50, QString());
  Luminosity = NewRadioBtn(Tr(TrId::GetTrLblMergeLuminosity), true, 8);
  Color = NewRadioBtn(Tr(TrId::GetTrLblColor).section(QLatin1Char(':'), 0, 0).trimmed(), false, 2);
  ArrangeButtons();
}
void TDeNoiseForm::ApplyFilter() {
  const auto DeNoise = Luminosity->isChecked() ? DeNoiseLum24 : DeNoiseRGB24;
  DeNoise(Bitmap(), Radius->Position(), TBN->Position(), Threshold->Position(), WorkRect());
}

TMicroContrastForm::TMicroContrastForm(QWidget* Parent)
    : TMainBarForm(Parent, {"MicroContrastForm", "MenuFiltreMicroCtr", 0, 100, 5, 100, Gain}) {
  Radius = NewLabelledBar(*this, Tr(::Radius), 1, 12, 1, 1, 3, 8, 4, LblRadius);
  ArrangeButtons();
}
void TMicroContrastForm::ApplyFilter() {
  MicroContrast24(Bitmap(), Radius->Position(), TBN->Position(), false, WorkRect());
}

// ---- Blurs that read the unfiltered copy ---------------------------------------------------------------------------

TRadialBlurForm::TRadialBlurForm(QWidget* Parent)
    : TMainBarForm(Parent, {"RadialBlurForm", "MenuFiltreFlouRadial", 1, 12, 1, 3, Level}) {}
void TRadialBlurForm::ApplyFilter() {
  TPassesScope Passes(2);
  RadialBlur24(FilterHost()->BmpUndo(), Bitmap(), TBN->Position() * 2 + 7, WorkRect());
  ConvolveMatrix3x3(Bitmap(), MatSoftenMild, 77, WorkRect());
}

TCircularBlurForm::TCircularBlurForm(QWidget* Parent)
    : TMainBarForm(Parent, {"CircularBlurForm", "MenuFiltreFlouCirculaire", 1, 12, 1, 3, Level}) {}
void TCircularBlurForm::ApplyFilter() {
  TPassesScope Passes(2);
  SpinBlur24(FilterHost()->BmpUndo(), Bitmap(), TBN->Position() + 3, WorkRect());
  BoxBlur3x3(Bitmap(), WorkRect());
}

TDirectionBlurForm::TDirectionBlurForm(QWidget* Parent)
    : TMainBarForm(Parent, {"DirectionBlurForm", "MenuFiltreMouvement", 1, 12, 1, 3, Level}) {
  Direction = NewDirectionBesideBar(*this, 3);
  Direction->SetSymmetry(true);
}
void TDirectionBlurForm::ApplyFilter() {
  TPassesScope Passes(2);
  MotionBlur(FilterHost()->BmpUndo(), Bitmap(), TBN->Position() * 4 + 12, Direction->AngleDegree(), WorkRect());
  ConvolveMatrix3x3(Bitmap(), MatSoftenMild, 33, WorkRect());
}

// ---- Emboss and relief -------------------------------------------------------------------------------------------

TEstampForm::TEstampForm(QWidget* Parent) : TFilterNForm(Parent) {
  setObjectName(QStringLiteral("EstampForm"));
  setWindowTitle(Title(QStringLiteral("MenuFiltreEstampage")));
  DeleteMainBar();
  Direction = NewDirectionEdit(7, 16);
  QLabel* L = NewLabel(Tr(TrId::GetTrLblWidth), 0);
  L->move(Direction->x() + Direction->width() + 16, Rescale(21));
  Width = NewSpinEdit(1, 20, 3, 0);
  Width->move(L->x(), L->y() + L->height() + 4);
  ArrangeButtons();
}
void TEstampForm::ApplyFilter() {
  EmbossFromSource24(FilterHost()->BmpUndo(), Bitmap(), EmbossDirectionCode(Direction->Direction()), Width->Value(),
                     0x808080, WorkRect());
  Grayscale24(Bitmap(), WorkRect());
}

TReliefForm::TReliefForm(QWidget* Parent)
    : TMainBarForm(Parent, {"ReliefForm", "MenuFiltreRelief3", 10, 100, 5, 100, TrId::GetTrFmtOpacity}) {
  Direction = NewDirectionBesideBar(*this, 7);
  Fine = NewRadioBtn(Tr(TrId::GetTrLblLow), true, 12);
  Strong = NewRadioBtn(Tr(TrId::GetTrLblHigh), false, 2);
  ArrangeButtons();
}
void TReliefForm::ApplyFilter() {
  Relief24(Bitmap(), EmbossDirectionCode(Direction->Direction()), Fine->isChecked(), TBN->Position(), WorkRect());
}

// ---- Box and Gaussian blur ---------------------------------------------------------------------------------------

TAlphaBlurForm::TAlphaBlurForm(QWidget* Parent, const char* FormName, const char* MenuItem) : TFilterNForm(Parent) {
  setObjectName(QString::fromLatin1(FormName));
  setWindowTitle(Title(QString::fromLatin1(MenuItem)));
  SetMainBar(1, 50, 2, 1, 3, Tr(Radius));
  CBAlpha = NewCheckBox(Tr(TrId::GetTrLblApplyToAlpha), false, 8);
  CBAlpha->resize(200, CBAlpha->height());
  RGInflate = NewRadioGroup(Title(QStringLiteral("MenuSelContracter")), 8);
  RGInflate->SetItems(
      {Tr(TrId::GetTrLblNone), Tr(TrId::GetTrLblLow), Tr(TrId::GetTrLblMedium), Tr(TrId::GetTrLblHigh)});
  SetRadioIndexSilent(RGInflate, 0);
  connect(CBAlpha, &QCheckBox::toggled, this, [this](bool On) { RGInflate->setEnabled(On); });
  ArrangeButtons();
}

void TAlphaBlurForm::UpdateControls() {
  TSelMaskHost* Masks = FilterHost() ? &FilterHost()->SelMasks() : nullptr;
  const bool Alpha = Masks && HasAlpha(*Masks);
  const TSelectionState* Sel = Masks ? Masks->Sel() : nullptr;
  const bool OtherShape = Sel && Sel->Visible() && Sel->Shape() != ssRect;
  CBAlpha->setHidden(!Alpha);
  RGInflate->setHidden(!Alpha || OtherShape);
  RGInflate->setEnabled(!RGInflate->isHidden() && CBAlpha->isChecked());
  RGInflate->resize(RGInflate->width(), RGInflate->isHidden() ? 0 : CBRealTime->height() * 6);
  ArrangeButtons();
}

void TAlphaBlurForm::ApplyFilter() {
  const int R = TBN->Position();
  TSelMaskHost& Masks = FilterHost()->SelMasks();
  if (!HasAlpha(Masks)) {
    Blur(Bitmap(), R, WorkRect());
    return;
  }
  TBitmap& Mask = *LeMasque(Masks);
  BleedColorsIntoTransparent(Bitmap(), Mask, R, WorkRect());
  Blur(Bitmap(), R, WorkRect());
  if (!CBAlpha->isHidden() && CBAlpha->isChecked()) {
    if (!RGInflate->isHidden()) GrowShrinkMask(Mask, -ContractionInset(RGInflate->ItemIndex(), R), WorkRect(), false);
    Blur(Mask, R, WorkRect());
  }
  if (TUndoList* List = Masks.ListeUndo())
    if (auto* Record = dynamic_cast<TUndoBmpItem*>(List->CurrentUndo())) Record->RestoreBlank(&Mask);
}

TBoxBlurForm::TBoxBlurForm(QWidget* Parent) : TAlphaBlurForm(Parent, "BoxBlurForm", "MenuFiltreFlouPlus") {}
void TBoxBlurForm::Blur(TBitmap& Bitmap, int Radius, const TRect& Rect) { BoxBlur(Bitmap, Radius, Radius, Rect); }

TGaussBlurForm::TGaussBlurForm(QWidget* Parent) : TAlphaBlurForm(Parent, "GaussBlurForm", "MenuFiltreFlouGauss") {}
void TGaussBlurForm::Blur(TBitmap& Bitmap, int Radius, const TRect& Rect) { GaussianBlurRadius(Bitmap, Radius, Rect); }
