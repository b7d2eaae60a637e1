#include "filters/ui/HistogForm.h"

#include "filters/ui/ChannelBars.h"
#include "filters/ui/DialogTexts.h"
#include "filters/ui/FilterHost.h"
#include "i18n/Format.h"
#include "i18n/LibLang.h"
#include "ui/DlgColors.h"
#include "ui/GlyphButtons.h"
#include "ui/MyImage.h"
#include "ui/MySlider.h"
#include "ui/SimplePanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

#include <algorithm>
#include <utility>

namespace {

// The design: the histogram and its sliders on the left, the pipettes, the
// statistics and the options on the right, the buttons under both.
constexpr int ViewLeft = 16, ViewTop = 40, ViewWidth = 258, ViewHeight = 138, StripHeight = 12, RightColumn = 290;

// Pen of each channel's bars: black, dark red, dark green, dark blue.
constexpr TColor ChannelPens[4] = {0x000000, 0x000080, 0x008000, 0x800000};

TColor GreyOf(int V) { return TColor(V * 0x010101); }

// The value the pipette takes from a colour for a channel.
int ChannelValue(TColor C, int Channel) {
  switch (Channel) {
  case 1: return GetRValue(C);
  case 2: return GetGValue(C);
  case 3: return GetBValue(C);
  default: return std::max({GetRValue(C), GetGValue(C), GetBValue(C)});
  }
}

} // namespace

THistogForm::THistogForm(QWidget* Parent) : TPipetteForm(Parent) {
  setObjectName(QStringLiteral("HistogForm"));
  const TFilterHost* H = FilterHost();
  setWindowTitle(H ? H->TitreMenu(QStringLiteral("MenuReglageHistog")) : QString());

  CmbCouche = new QComboBox(this);
  CmbCouche->setObjectName(QStringLiteral("CmbCouche"));
  CmbCouche->addItems({Tr(TrId::GetTrLblMergeLuminosity), ChannelName(0), ChannelName(1), ChannelName(2)});
  CmbCouche->setGeometry(Rescale(ViewLeft), Rescale(12), Rescale(130), CmbCouche->sizeHint().height());

  HistoView = new MyImage::TMyImage(this);
  HistoView->setGeometry(Rescale(ViewLeft), Rescale(ViewTop), Rescale(ViewWidth), Rescale(ViewHeight));
  HistoView->Bitmap().SetSize(HistoView->width(), HistoView->height());
  FScale = (HistoView->width() - 2) / 256.0;

  const auto MakeSlider = [this](int Top) {
    auto* S = new TMySlider(this);
    const int Cursor = Rescale(S->CursorSize());
    S->SetCursorSize(Cursor);
    S->SetDrawBar(false);
    S->SetMin(0);
    S->SetMax(255);
    S->SetPageSize(8);
    S->CanReset = true;
    S->setGeometry(HistoView->x() - Cursor + 1, Top, HistoView->width() + 2 * Cursor - 2, Cursor + 1);
    return S;
  };
  SliderIn = MakeSlider(HistoView->y() + HistoView->height());
  AddSliderCursor(SliderIn, 0, clBlack);
  AddSliderCursor(SliderIn, 127, 0x808080);
  AddSliderCursor(SliderIn, 255, clWhite);
  const int InLabels = SliderIn->y() + SliderIn->height() + Rescale(2);
  LblInMin = new QLabel(this);
  LblInMin->move(HistoView->x(), InLabels);
  LblIn = new QLabel(this);
  // The gamma over the histogram's right end, level with the channel list.
  LblIn->move(HistoView->x(), CmbCouche->y() + Rescale(4));
  LblInMax = new QLabel(this);
  LblInMax->move(0, InLabels);

  ImgGrad = new MyImage::TMyImage(this);
  ImgGrad->setGeometry(HistoView->x(), InLabels + Rescale(22), HistoView->width(), Rescale(StripHeight));
  ImgGrad->Bitmap().SetSize(ImgGrad->width(), ImgGrad->height());
  DrawGreyRamp(ImgGrad->Bitmap(), FScale, clDlgBorder);
  ImgGrad->UpdateBitmap();
  SliderOut = MakeSlider(ImgGrad->y() + ImgGrad->height());
  AddSliderCursor(SliderOut, 0, clBlack);
  AddSliderCursor(SliderOut, 255, clWhite);
  const int OutLabels = SliderOut->y() + SliderOut->height() + Rescale(2);
  LblOutMin = new QLabel(this);
  LblOutMin->move(HistoView->x(), OutLabels);
  LblOutMax = new QLabel(this);
  LblOutMax->move(0, OutLabels);

  // The pipettes: both may be up; the one down says which point a pick sets.
  const auto MakePipette = [this](int Top, TSimplePanel*& Swatch, TColor Grey) {
    auto* B = new QToolButton(this);
    B->setCheckable(true);
    SetupColorButton(B, nullptr);
    B->move(Rescale(RightColumn), Top);
    Swatch = new TSimplePanel(this);
    Swatch->setGeometry(B->x() + B->width() + 1, Top, Rescale(48), B->height());
    Swatch->SetBevelWidth(1);
    Swatch->SetBevelColor(clDlgBorder);
    Swatch->SetColor(Grey);
    return B;
  };
  SB1 = MakePipette(Rescale(ViewTop), Pnl1, clBlack);
  SB2 = MakePipette(SB1->y() + SB1->height() + Rescale(6), Pnl2, clWhite);
  SB1->setChecked(true);
  connect(SB1, &QToolButton::toggled, SB2, [this](bool Down) { if (Down) SB2->setChecked(false); });
  connect(SB2, &QToolButton::toggled, SB1, [this](bool Down) { if (Down) SB1->setChecked(false); });

  const auto MakeLabel = [this](int Top) {
    auto* L = new QLabel(this);
    L->move(Rescale(RightColumn), Top);
    return L;
  };
  LblMoyenne = MakeLabel(SB2->y() + SB2->height() + Rescale(16));
  LblMediane = MakeLabel(LblMoyenne->y() + Rescale(20));
  LblPixels = MakeLabel(LblMediane->y() + Rescale(20));

  BReset = new QPushButton(Tr(TrId::GetTrBtnReset), this);
  BReset->setAutoDefault(false);
  BReset->setGeometry(Rescale(RightColumn), LblPixels->y() + Rescale(28), Rescale(88), Rescale(25));
  CBMajHisto = new QCheckBox(TranslationLoaded() ? windowTitle() : QStringLiteral("Histogramme"), this);
  CBMajHisto->setObjectName(QStringLiteral("CBMajHisto"));
  CBMajHisto->setGeometry(Rescale(RightColumn), BReset->y() + BReset->height() + Rescale(12), Rescale(100),
                          Rescale(17));
  CBRealTime = new QCheckBox(TrOr(TrId::GetTrLblDirectPreview, u"Aperçu direct"), this);
  CBRealTime->setObjectName(QStringLiteral("CBRealTime"));
  CBRealTime->setGeometry(CBMajHisto->x(), CBMajHisto->y() + Rescale(22), Rescale(100), Rescale(17));

  const int ButtonsTop = std::max(LblOutMin->y() + Rescale(28), CBRealTime->y() + Rescale(30));
  const auto MakeButton = [this, ButtonsTop](TrId Id, const char16_t* French, int Left) {
    auto* B = new QPushButton(TrOr(Id, French), this);
    B->setAutoDefault(false);
    B->setGeometry(Rescale(Left), ButtonsTop, Rescale(75), Rescale(25));
    return B;
  };
  BApercu = MakeButton(TrId::GetTrBtnPreview, u"Aperçu", ViewLeft);
  BOk = MakeButton(TrId::GetTrBtnOk, u"Ok", RightColumn + 44 - 83);
  BAnnuler = MakeButton(TrId::GetTrBtnCancel, u"Annuler", RightColumn + 44);
  setFixedSize(Rescale(RightColumn + 135), BApercu->y() + BApercu->height() + Rescale(16));

  SliderIn->OnChange = [this](TMySlider*, int Index, TSliderChangeMode Mode) {
    if (Mode != TSliderChangeMode::cmProperty) InputCursorMoved(Index);
  };
  SliderOut->OnChange = [this](TMySlider*, int, TSliderChangeMode Mode) {
    if (Mode == TSliderChangeMode::cmProperty) return;
    Changed = true;
    UpdateLevelLabels(true);
  };
  for (TMySlider* S : {SliderIn, SliderOut}) {
    S->OnMouseUp = [this](TMySlider*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { SliderReleased(); };
    S->OnKeyUp = [this](TMySlider*, int, Qt::KeyboardModifiers) { SliderReleased(); };
  }
  connect(CmbCouche, &QComboBox::currentIndexChanged, this, [this] { CmbCoucheChange(); });
  connect(CBRealTime, &QCheckBox::toggled, this, [this] { CBRealTimeClick(); });
  connect(CBMajHisto, &QCheckBox::toggled, this, [this] { CBMajHistoClick(); });
  connect(BReset, &QPushButton::clicked, this, [this] { BResetClick(); });
  connect(BApercu, &QPushButton::clicked, this, [this] { BApercuClick(); });
  connect(BOk, &QPushButton::clicked, this, [this] { BOkClick(); });
  connect(BAnnuler, &QPushButton::clicked, this, [this] { close(); });
  OkButton = BOk;
  CancelButton = BAnnuler;
  DialogMode = TMainDialogMode::dmPipette;
  ResetLevels();
}

// ---- The histogram -----------------------------------------------------------------------------------------------

bool THistogForm::InitImage() {
  ResetLevels();
  FActiveCouche = 0;
  {
    const QSignalBlocker Silent(CmbCouche);
    CmbCouche->setCurrentIndex(0);
  }
  TFilterHost* H = FilterHost();
  return H && H->UneImage() && ComputeHistogram(H->LeBitmap());
}

bool THistogForm::ComputeHistogram(const TBitmap& Bitmap) {
  ::ComputeHistogram(Bitmap, FilterHost()->LaSelection(), FHisto);
  if (FHisto.NbPixels < HistogramMinPixels) return false;
  DrawHistogram(FActiveCouche);
  return true;
}

void THistogForm::DrawHistogram(int Channel) {
  DrawHistogramBars(HistoView->Bitmap(), FHisto.Counts[Channel], FHisto.Maximums[Channel], FScale,
                    ChannelPens[Channel], clDlgBorder);
  HistoView->UpdateBitmap();
  LblMoyenne->setText(Format(Tr(TrId::GetTrFmtAverage), {FHisto.Moyenne[Channel]}));
  LblMediane->setText(Format(Tr(TrId::GetTrFmtMediane), {FHisto.Mediane[Channel]}));
  LblPixels->setText(QStringLiteral("%1 %2").arg(FHisto.NbPixels).arg(Tr(TrId::GetTrLblPixels)));
  for (QLabel* L : {LblMoyenne, LblMediane, LblPixels}) L->adjustSize();
}

// ---- Levels and cursors ------------------------------------------------------------------------------------------

void THistogForm::UpdateLevelLabels(bool Store) {
  const QString MinText = FilterHost() ? FilterHost()->TitreMenu(QStringLiteral("MenuFiltreMinimum")) : QString();
  const QString MaxText = FilterHost() ? FilterHost()->TitreMenu(QStringLiteral("MenuFiltreMaximum")) : QString();
  // Minimum labels start at the view's left edge, maximum labels end at its right edge.
  const auto Show = [this](QLabel* L, const QString& Text, int Value) {
    L->setText(Text + QStringLiteral(" : %1").arg(Value));
    L->adjustSize();
    if (L == LblInMax || L == LblOutMax) L->move(HistoView->x() + HistoView->width() - L->width(), L->y());
  };
  LblIn->setText(Format(Tr(TrId::GetTrFmtLevel), {FGamma}));
  LblIn->adjustSize();
  LblIn->move(HistoView->x() + HistoView->width() - LblIn->width(), LblIn->y());
  Show(LblInMin, MinText, SliderIn->GetPosition(0));
  Show(LblInMax, MaxText, SliderIn->GetPosition(2));
  Show(LblOutMin, MinText, SliderOut->GetPosition(0));
  Show(LblOutMax, MaxText, SliderOut->GetPosition(1));
  Pnl1->SetColor(GreyOf(SliderIn->GetPosition(0)));
  Pnl2->SetColor(GreyOf(SliderIn->GetPosition(2)));
  if (Store) SaveChannel(FActiveCouche);
}

void THistogForm::SaveChannel(int Index) {
  THistoLevels& L = FLevels[Index];
  L.Gamma = FGamma;
  L.InLo = SliderIn->GetPosition(0);
  L.Middle = SliderIn->GetPosition(1);
  L.InHi = SliderIn->GetPosition(2);
  L.OutLo = SliderOut->GetPosition(0);
  L.OutHi = SliderOut->GetPosition(1);
}

void THistogForm::LoadChannel(int Index) {
  const THistoLevels& L = FLevels[Index];
  FGamma = L.Gamma;
  // Outward first, so that no cursor is stopped by a neighbour still in the way.
  SliderIn->SetPosProperty(0, 0);
  SliderIn->SetPosProperty(2, 255);
  SliderIn->SetPosProperty(1, L.Middle);
  SliderIn->SetPosProperty(0, L.InLo);
  SliderIn->SetPosProperty(2, L.InHi);
  SliderOut->SetPosProperty(0, 0);
  SliderOut->SetPosProperty(1, 255);
  SliderOut->SetPosProperty(0, L.OutLo);
  SliderOut->SetPosProperty(1, L.OutHi);
  UpdateLevelLabels(false);
}

void THistogForm::ResetLevels() {
  FLevels = THistoChannels{};
  LoadChannel(0);
  SliderIn->SetCurrentCursor(1);
  SliderOut->SetCurrentCursor(0);
}

void THistogForm::InputCursorMoved(int Index) {
  const int B = SliderIn->GetPosition(0), W = SliderIn->GetPosition(2);
  if (Index == 1)
    FGamma = GammaFromMiddle(B, SliderIn->GetPosition(1), W);
  else
    SliderIn->SetPosProperty(1, MiddleFromGamma(FGamma, B, W));
  Changed = true;
  SliderIn->SetCurrentCursor(Index);
  UpdateLevelLabels(true);
}

void THistogForm::CmbCoucheChange() {
  const int Index = CmbCouche->currentIndex();
  if (Index < 0 || Index == FActiveCouche) return;
  SaveChannel(FActiveCouche);
  LoadChannel(Index);
  FActiveCouche = Index;
  DrawHistogram(Index);
}

void THistogForm::ChangerCouleur(TColor Couleur) {
  const int Target = SB1->isChecked() ? 0 : 2;
  const int Old = SliderIn->GetPosition(Target), Value = ChannelValue(Couleur, FActiveCouche);
  // The middle cursor makes way; it follows the gamma afterwards.
  if ((Target == 0 && Value > SliderIn->GetPosition(1)) || (Target == 2 && Value < SliderIn->GetPosition(1)))
    SliderIn->SetPosProperty(1, Value);
  SliderIn->SetPosProperty(Target, Value);
  if (SliderIn->GetPosition(Target) == Old) return;
  InputCursorMoved(Target);
  if (CBRealTime->isChecked()) BApercuClick();
}

// ---- Preview, Ok, Cancel -----------------------------------------------------------------------------------------

void THistogForm::RestoreLayer() {
  TFilterHost& H = *FilterHost();
  H.RestaureBitmap();
  H.RefreshBitmap();
  Preview = false;
}

void THistogForm::BApercuClick() {
  if (Preview && !Changed) return;
  TFilterHost* H = FilterHost();
  if (!H || !H->UneImage()) return;
  const TBusyAction Busy(*H);
  if (Preview) H->RestaureBitmap();
  if (ChannelsChanged(FLevels, 0)) {
    ApplyHistogLevels(H->LeBitmap(), H->LaSelection(), FLevels);
    H->AppliquerMasqueSel(1);
  }
  if (CBMajHisto->isChecked()) ComputeHistogram(H->LeBitmap());
  H->RefreshBitmap();
  Changed = false;
  Preview = true;
}

void THistogForm::SliderReleased() {
  if (Changed && CBRealTime->isChecked()) BApercuClick();
}

void THistogForm::CBRealTimeClick() {
  if (Updating) return;
  BApercu->setEnabled(!CBRealTime->isChecked());
  if (CBRealTime->isChecked()) {
    if (Changed) BApercuClick();
  } else if (Preview && FilterHost()) {
    RestoreLayer();
    Changed = true;
    if (CBMajHisto->isChecked()) ComputeHistogram(FilterHost()->LeBitmap());
  }
}

void THistogForm::CBMajHistoClick() {
  if (Updating || !FilterHost() || !FilterHost()->UneImage()) return;
  ComputeHistogram(CBMajHisto->isChecked() ? FilterHost()->LeBitmap() : FilterHost()->BmpUndo());
}

void THistogForm::BResetClick() {
  if (Preview && FilterHost()) {
    RestoreLayer();
    ComputeHistogram(FilterHost()->LeBitmap());
  }
  ResetLevels();
  Changed = false;
}

void THistogForm::BOkClick() {
  if (!ChannelsChanged(FLevels, 0)) {
    close();
    return;
  }
  CloseOk();
  if (Changed) BApercuClick();
  if (TFilterHost* H = FilterHost()) {
    H->MarkModified();
    H->ClearLastFilterEvent();
    H->LayerChanged();
  }
}

void THistogForm::AcceptIniControl(QWidget* Control, bool& Accept) {
  if (Control == CmbCouche) Accept = false;
}

void THistogForm::FormShow() {
  TPipetteForm::FormShow();
  SetBold(LblIn);
  Preview = false;
  Changed = false;
}

void THistogForm::UpdateControls() { BApercu->setEnabled(!CBRealTime->isChecked()); }

void THistogForm::FormHide() {
  TPipetteForm::FormHide();
  if (!DialogOk)
    if (TFilterHost* H = FilterHost()) H->AnnulerFiltre(Preview);
  Preview = false;
  HistoView->Bitmap().SetSize(HistoView->width(), HistoView->height());
}
