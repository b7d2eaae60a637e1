#include "filters/ui/WBalanceForm.h"

#include "filters/Filtres24.h"
#include "filters/ui/ChannelBars.h"
#include "i18n/LibLang.h"
#include "ui/ColorEdit.h"
#include "ui/TrackBar.h"

#include <QCheckBox>
#include <QPushButton>

#include <algorithm>

namespace {

constexpr TColor MakeColor(int R, int G, int B) { return TColor(R | (G << 8) | (B << 16)); }

TColor MapChannels(TColor C, const std::function<int(int)>& F) {
  return MakeColor(F(GetRValue(C)), F(GetGValue(C)), F(GetBValue(C)));
}

} // namespace

TColor TWBalanceForm::ClampShadow(TColor C) {
  return MapChannels(C, [](int V) { return std::min(V, 111); });
}

TColor TWBalanceForm::ClampHighlight(TColor C) {
  return MapChannels(C, [](int V) { return std::max(V, 133); });
}

TWBalanceForm::TWBalanceForm(QWidget* Parent) : TFilterNForm(Parent) {
  setObjectName(QStringLiteral("WBalanceForm"));
  setWindowTitle(Title(QStringLiteral("MenuReglageBlancs")));
  SetMainBar(-100, 100, 10, 5, 0, Tr(TrId::GetTrFmtIntensity));
  ShadowBox = NewCheckBox(Tr(TrId::GetTrLblShadows), true, 8);
  ShadowEdit = NewColorEdit(clBlack, 4);
  HighlightBox = NewCheckBox(Tr(TrId::GetTrLblHighlights), true, 0);
  HighlightBox->move(Rescale(150), ShadowBox->y());
  HighlightEdit = NewColorEdit(clWhite, 0);
  HighlightEdit->move(HighlightBox->x(), ShadowEdit->y());
  BtnReset = PlaceResetButton(*this);
  BtnRevert = NewButton(Tr(TrId::GetTrMnuRevert));
  BtnRevert->setGeometry(HighlightEdit->x(), BtnReset->y(), BtnReset->width(), BtnReset->height());
  ShadowEdit->resize(BtnReset->width(), ShadowEdit->height());
  HighlightEdit->resize(BtnReset->width(), HighlightEdit->height());
  ArrangeButtons();

  // A colour typed or chosen by hand starts a new sample list.
  ShadowEdit->OnChanging = [this](QObject*, TColor& C) {
    C = ClampShadow(C);
    if (ResetArray) Shadows.Count = 0;
  };
  HighlightEdit->OnChanging = [this](QObject*, TColor& C) {
    C = ClampHighlight(C);
    if (ResetArray) Highlights.Count = 0;
  };
  for (auto [Box, Edit] : {std::pair{ShadowBox, ShadowEdit}, std::pair{HighlightBox, HighlightEdit}})
    connect(Box, &QCheckBox::toggled, Edit, &QWidget::setEnabled);
  connect(BtnRevert, &QPushButton::clicked, this, [this] {
    Updating = true;
    ShadowEdit->SetColor(OldC1);
    HighlightEdit->SetColor(OldC2);
    ShadowBox->setChecked(true);
    HighlightBox->setChecked(true);
    Updating = false;
    ParamChanged(true);
  });
}

void TWBalanceForm::AcceptIniControl(QWidget* Control, bool& Accept) {
  Accept = Control == CBRealTime || Control == ShadowEdit || Control == HighlightEdit;
}

void TWBalanceForm::UpdateControls() {
  const TFilterHost* H = FilterHost();
  const bool Detecting = H && !H->AutoReset() && H->UneImage();
  BtnRevert->setVisible(false);
  if (!Detecting) return;
  OldC1 = ShadowEdit->Color();
  OldC2 = HighlightEdit->Color();
  ResetParams();
  BtnRevert->setVisible(ShadowEdit->Color() != OldC1 || HighlightEdit->Color() != OldC2);
}

void TWBalanceForm::ChangerCouleur(TColor Couleur) {
  ResetArray = false;
  const int R = GetRValue(Couleur), G = GetGValue(Couleur), B = GetBValue(Couleur);
  const bool Light = (R + G + B) / 3 >= 128;
  TColorArray& List = Light ? Highlights : Shadows;
  if (List.Count < 7) {
    List.Colors[List.Count++] = Light ? ClampHighlight(Couleur) : ClampShadow(Couleur);
    int Sum[3] = {};
    for (int I = 0; I < List.Count; ++I) {
      Sum[0] += GetRValue(List.Colors[I]);
      Sum[1] += GetGValue(List.Colors[I]);
      Sum[2] += GetBValue(List.Colors[I]);
    }
    (Light ? HighlightEdit : ShadowEdit)->SetColor(MakeColor(Sum[0] / List.Count, Sum[1] / List.Count, Sum[2] / List.Count));
  }
  ResetArray = true;
}

void TWBalanceForm::Detect() {
  const TFilterHost* H = FilterHost();
  if (!H || !H->UneImage()) return;
  TFilterHost& Host = *FilterHost();
  const TBitmap& Layer = Host.LeBitmap();
  TRect R = Host.LaSelection();
  if (R.Left <= 0 && R.Top <= 0 && R.Right >= Layer.Width() && R.Bottom >= Layer.Height()) {
    const int DX = Layer.Width() / 5, DY = Layer.Height() / 5;
    R = {DX, DY, Layer.Width() - DX, Layer.Height() - DY};
  }
  uint8_t MinR, MaxR, MinG, MaxG, MinB, MaxB;
  ChannelMinMax24(Layer, R, MinR, MaxR, MinG, MaxG, MinB, MaxB);
  if (MaxR - MinR <= 110 || MaxG - MinG <= 110 || MaxB - MinB <= 110) {
    ShadowEdit->SetColor(clBlack);
    HighlightEdit->SetColor(clWhite);
  } else {
    ShadowEdit->SetColor(MakeColor(MinR, MinG, MinB));
    HighlightEdit->SetColor(MakeColor(MaxR, MaxG, MaxB));
  }
}

void TWBalanceForm::ResetParams() {
  TBN->SetPosition(0);
  ShadowBox->setChecked(true);
  HighlightBox->setChecked(true);
  Shadows.Count = 0;
  Highlights.Count = 0;
  Detect();
}

TColor TWBalanceForm::ShadowColor() const { return ShadowBox->isChecked() ? ShadowEdit->Color() : clBlack; }
TColor TWBalanceForm::HighlightColor() const { return HighlightBox->isChecked() ? HighlightEdit->Color() : clWhite; }

bool TWBalanceForm::HasEffect() {
  return TBN->Position() != 0 || ShadowColor() != clBlack || HighlightColor() != clWhite;
}

void TWBalanceForm::ApplyFilter() {
  const TColor S = ShadowColor(), H = HighlightColor();
  if (S != clBlack || H != clWhite)
    LevelsRGB24(Bitmap(), 1.0, GetRValue(S), GetRValue(H), 0, 255, 1.0, GetGValue(S), GetGValue(H), 0, 255, 1.0,
                GetBValue(S), GetBValue(H), 0, 255, WorkRect());
  const int Intensity = TBN->Position();
  if (Intensity == 0) return;
  if (ShadowBox->isChecked()) BandContrast24(Bitmap(), Intensity, 0, 77, 77, WorkRect());
  if (HighlightBox->isChecked()) BandContrast24(Bitmap(), Intensity, 169, 255, 169, WorkRect());
}
