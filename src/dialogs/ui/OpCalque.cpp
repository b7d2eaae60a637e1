#include "dialogs/ui/OpCalque.h"

#include "dialogs/ui/DialogParts.h"
#include "dialogs/ui/LayerDialogHost.h"
#include "document/Calque.h"
#include "i18n/Format.h"
#include "platform/NumberFormat.h"
#include "raster/FoncUtils.h"
#include "ui/ColorEdit.h"
#include "ui/SpinEdit.h"
#include "ui/TrackBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// CmbStyle's items.
enum { StyleFlat = 0, StyleSmooth = 1, StyleDiffuse = 2 };

QString Percent(TrId Id, int Value) { return Format(Tr(Id), {Value}); }

} // namespace

TOpCalqueForm::TOpCalqueForm(QWidget* Parent) : TMainDialogForm(Parent) {
  setObjectName(QStringLiteral("OpCalqueForm"));
  setWindowTitle(QStringLiteral("Options"));
  DialogMode = TMainDialogMode::dmDialog;
  IniCustomVarCount = 3;
  auto* Main = new QVBoxLayout(this);
  const TLabeledBar Opacity = AddLabeledBar(*this, *Main, "TBOpacite", "LblOpacite", 1, 100, 50,
                                            [](int V) { return Percent(TrId::GetTrFmtOpacity, V); });
  LblOpacite = Opacity.Label;
  TBOpacite = Opacity.Bar;

  PageControl = new QStackedWidget(this);
  PageControl->setObjectName(QStringLiteral("PageControl"));
  Main->addWidget(PageControl);
  const auto NewPage = [this](const char* Name) {
    auto* Page = new QWidget(PageControl);
    Page->setObjectName(QString::fromLatin1(Name));
    PageControl->addWidget(Page);
    return Page;
  };

  // The drop shadow of an image layer.
  TshStd = NewPage("TshStd");
  auto* Std = new QVBoxLayout(TshStd);
  CBOmbre = new QCheckBox(TshStd);
  CBOmbre->setObjectName(QStringLiteral("CBOmbre"));
  const QString Shadow = CleanMenuCaption(Tr(TrId::GetTrMnuDropShadow)).remove(u':').trimmed();
  CBOmbre->setText(TranslationLoaded() && !Shadow.isEmpty() ? Shadow : QStringLiteral("Ombre portée"));
  Std->addWidget(CBOmbre);
  auto* Rows = new QFormLayout;
  EdiDX = NewSpinEdit2(TshStd, "EdiDX", -50, 50, 7);
  EdiDY = NewSpinEdit2(TshStd, "EdiDY", -50, 50, 7);
  Rows->addRow(TrLabel(TrId::GetTrLblDeltaX, QStringLiteral("Delta X :")), EdiDX);
  Rows->addRow(TrLabel(TrId::GetTrLblDeltaY, QStringLiteral("Delta Y :")), EdiDY);
  ColorEditOmbre = new TColorEdit(TshStd);
  ColorEditOmbre->setObjectName(QStringLiteral("ColorEditOmbre"));
  ColorEditOmbre->SetColor(clBlack);
  Rows->addRow(TrLabel(TrId::GetTrLblColor, QStringLiteral("Couleur :")), ColorEditOmbre);
  Std->addLayout(Rows);
  const TLabeledBar ShadowBar = AddLabeledBar(*this, *Std, "TBOpaciteShadow", "LblOpaciteShadow", 10, 100, 80,
                                              [](int V) { return Percent(TrId::GetTrFmtOpacity, V); });
  LblOpaciteShadow = ShadowBar.Label;
  TBOpaciteShadow = ShadowBar.Bar;
  auto* StyleRows = new QFormLayout;
  CmbStyle = new QComboBox(TshStd);
  CmbStyle->setObjectName(QStringLiteral("CmbStyle"));
  CmbStyle->addItems({TrText(TrId::GetTrLblFlat, QStringLiteral("Plat")),
                      TrText(TrId::GetTrLblAntialiased, QStringLiteral("Lissé")),
                      TrText(TrId::GetTrMnuDiffuse, QStringLiteral("Diffusion"))});
  CmbStyle->setCurrentIndex(StyleSmooth);
  StyleRows->addRow(TrText(TrId::GetTrLblStyle, QStringLiteral("Style :")), CmbStyle);
  SEShadowBlur = NewSpinEdit2(TshStd, "SEShadowBlur", 1, 50, 6);
  LblShadowRadius = new QLabel(TrLabel(TrId::GetTrLblRadius, QStringLiteral("Rayon :")), TshStd);
  LblShadowRadius->setObjectName(QStringLiteral("LblShadowRadius"));
  StyleRows->addRow(LblShadowRadius, SEShadowBlur);
  Std->addLayout(StyleRows);

  // The values of an adjustment layer.
  TshAdjust = NewPage("TshAdjust");
  auto* Adjust = new QVBoxLayout(TshAdjust);
  const auto Bar = [&](const char* Name, const char* Label, int Min, int Max, int Pos, TrId Fmt) {
    return AddLabeledBar(*this, *Adjust, Name, Label, Min, Max, Pos, [Fmt](int V) { return Percent(Fmt, V); }).Bar;
  };
  TBLuminosite = Bar("TBLuminosite", "LblLuminosite", -100, 100, 0, TrId::GetTrFmtBrightness);
  TBContraste = Bar("TBContraste", "LblContraste", -100, 100, 0, TrId::GetTrFmtContrast);
  TBSaturation = Bar("TBSaturation", "LblSaturation", -100, 100, 0, TrId::GetTrFmtSaturation);
  TBHue = Bar("TBHue", "LblHue", -180, 180, 0, TrId::GetTrFmtHue);
  TBGamma = AddLabeledBar(*this, *Adjust, "TBGamma", "LblGamma", 10, 300, 100, [](int V) {
              return Format(Tr(TrId::GetTrFmtGamma), {V / 100.0});
            }).Bar;

  // The colour of a colour layer.
  TshColor = NewPage("TshColor");
  auto* Colour = new QFormLayout(TshColor);
  ColorEdit = new TColorEdit(TshColor);
  ColorEdit->setObjectName(QStringLiteral("ColorEdit"));
  ColorEdit->SetColor(clWhite);
  Colour->addRow(TrLabel(TrId::GetTrLblColor, QStringLiteral("Couleur :")), ColorEdit);
  CBInverser = new QCheckBox(TrText(TrId::GetTrMnuSelInvert, QStringLiteral("Inverser")).remove(u'&'), TshColor);
  CBInverser->setObjectName(QStringLiteral("CBInverser"));
  Colour->addRow(CBInverser);

  const TOkCancel Buttons = AddOkCancel(*this, *Main);
  BOk = Buttons.BOk;
  BAnnuler = Buttons.BAnnuler;
  BReset = new QPushButton(TrText(TrId::GetTrBtnReset, QStringLiteral("Réinitialiser")), this);
  BReset->setObjectName(QStringLiteral("BReset"));
  static_cast<QBoxLayout*>(Main->itemAt(Main->count() - 1)->layout())->insertWidget(0, BReset);

  for (TTrackBar* T : {TBOpacite, TBOpaciteShadow, TBLuminosite, TBContraste, TBSaturation, TBHue, TBGamma})
    T->OnKeyUp = [this](TTrackBar*, int, Qt::KeyboardModifiers) { Apply(); };
  for (TSpinEdit2* E : {EdiDX, EdiDY, SEShadowBlur}) E->OnChange = [this](QObject*) { Apply(); };
  for (TColorEdit* E : {ColorEdit, ColorEditOmbre}) E->OnChange = [this](QObject*) { Apply(); };
  connect(CBInverser, &QCheckBox::clicked, this, [this] { Apply(); });
  connect(CBOmbre, &QCheckBox::clicked, this, [this] { CBOmbreClick(); });
  connect(CmbStyle, &QComboBox::activated, this, [this] { CmbStyleChange(); });
  connect(BReset, &QPushButton::clicked, this, [this] { BResetClick(); });
  connect(BOk, &QPushButton::clicked, this, [this] { BOkClick(); });
}

TOpCalqueForm::~TOpCalqueForm() = default;

void TOpCalqueForm::AcceptIniControl(QWidget* Control, bool& Accept) {
  TMainDialogForm::AcceptIniControl(Control, Accept);
  if (Control == TBOpacite) Accept = false;
}

QString TOpCalqueForm::GetIniCustomVar(int Index) {
  const int Values[] = {BmpOpacity, ColorOpacity, AdjustOpacity};
  return Index >= 0 && Index < 3 ? QString::number(Values[Index]) : QString();
}

void TOpCalqueForm::SetIniCustomVar(int Index, const QString& Value) {
  // Kept in a byte by the layer: a stored value out of 1..100 is clamped.
  const auto Read = [&](int Default) { return std::clamp(StrToIntDef(Value, Default), 1, 100); };
  if (Index == 0) BmpOpacity = Read(100);
  if (Index == 1) ColorOpacity = Read(50);
  if (Index == 2) AdjustOpacity = Read(100);
}

// ---- Showing and hiding -------------------------------------------------------------

void TOpCalqueForm::FormShow() {
  TLayerDialogHost* Host = ActiveLayerDialogHost();
  TImageDialogHost* Base = ActiveImageDialogHost();
  setWindowTitle(Base ? Base->TitreMenu(QString::fromLatin1(Nouveau ? "MenuCalqueNouveau" : "MenuCalqueOptions"))
                      : QStringLiteral("Options"));
  FOwnRecord = Host && !Nouveau && Host->PrepareLayerOptionsUndo();
  Properties.reset();
  if (Base && Base->Image().CurrentLayer()) {
    Properties = std::make_unique<TLayerItem>();
    Properties->AssignProperties(*Base->Image().CurrentLayer());
  }
  // The controls show the layer, not the stored values.
  IniOptions = ioPosition;
}

void TOpCalqueForm::UpdateControls() {
  TImageDialogHost* Base = ActiveImageDialogHost();
  const TLayerItem* L = Base ? Base->Image().CurrentLayer() : nullptr;
  if (!L) return;
  const bool WasUpdating = std::exchange(Updating, true);
  TBOpacite->SetPosition(L->Opacity);
  PageControl->setVisible(Base->Image().LayerIndex() > 0);
  BReset->setVisible(L->LayerType == ltAdjust);
  switch (L->LayerType) {
  case ltBitmap: {
    PageControl->setCurrentWidget(TshStd);
    const TLayerShadowInfos& S = L->ShadowInfos;
    CBOmbre->setChecked(S.DrawShadow);
    EdiDX->SetValue2(S.DX);
    EdiDY->SetValue2(S.DY);
    TBOpaciteShadow->SetPosition(S.Opacity);
    ColorEditOmbre->SetColor(S.Color);
    CmbStyle->setCurrentIndex(S.Blur == 0 ? StyleFlat : S.Style == lstDiffuse ? StyleDiffuse : StyleSmooth);
    if (CmbStyle->currentIndex() == StyleSmooth) SEShadowBlur->SetValue2(int(std::min<uint32_t>(S.Blur, 50)));
    CBOmbreClick();
    break;
  }
  case ltAdjust: {
    PageControl->setCurrentWidget(TshAdjust);
    const TAdjustLayerInfos& A = L->AdjustInfos;
    TBLuminosite->SetPosition(A.Luminosity);
    TBContraste->SetPosition(A.Contrast);
    TBSaturation->SetPosition(A.Saturation);
    TBHue->SetPosition(A.Hue);
    TBGamma->SetPosition(int(A.Gamma * 100));
    break;
  }
  case ltColor:
    PageControl->setCurrentWidget(TshColor);
    ColorEdit->SetColor(L->Color);
    CBInverser->setChecked(L->Color2 != 0);
    break;
  default:
    break;
  }
  adjustSize();
  Updating = WasUpdating;
}

void TOpCalqueForm::FormHide() {
  if (DialogOk) {
    IniOptions = ioPosition | ioValue | ioNoEvent;
  } else if (TLayerDialogHost* Host = ActiveLayerDialogHost()) {
    TImageDialogHost& Base = *ActiveImageDialogHost();
    if (Nouveau) {
      DeleteCurrentLayer(Base.LayerNav());
      Base.RefreshBitmap();
      Base.MajMenus();
    } else if (Properties && Base.Image().CurrentLayer()) {
      Base.Image().CurrentLayer()->AssignProperties(*Properties);
      // A record merged into an earlier step of the same layer is that
      // step's: only a record made for this dialog goes away.
      if (FOwnRecord) Base.AnnulerFiltre(false);
      Base.RefreshBitmap();
      Base.LayerChanged();
      Host->MajOptionsCalques();
    }
  }
  Properties.reset();
}

void TOpCalqueForm::BOkClick() {
  const bool PageColor = PageControl->currentWidget() == TshColor;
  CloseOk();
  TLayerDialogHost* Host = ActiveLayerDialogHost();
  if (!Host) return;
  TImageDialogHost& Base = *ActiveImageDialogHost();
  Host->MajOptionsCalques();
  Base.LayerChanged();
  Host->SelectLayerTool();
  if (Nouveau)
    Base.PreparerUndo(UndoKindCreateLayer, Base.TitreMenu(QStringLiteral("MenuCalqueNouveau")) + QStringLiteral(" > ") +
                                               Base.TitreMenu(QString::fromLatin1(PageColor ? "MenuCalqueCouleur"
                                                                                            : "MenuCalqueReglage")));
  Base.MajMenus();
}

// ---- Changes --------------------------------------------------------------------------

void TOpCalqueForm::Apply() {
  if (Updating) return;
  TImageDialogHost* Base = ActiveImageDialogHost();
  TLayerItem* L = Base ? Base->Image().CurrentLayer() : nullptr;
  if (!L) return;
  L->Opacity = TOpacityRange(TBOpacite->Position());
  switch (L->LayerType) {
  case ltBitmap:
    BmpOpacity = L->Opacity;
    ShadowFromControls(L->ShadowInfos);
    break;
  case ltAdjust:
    AdjustOpacity = L->Opacity;
    AdjustFromControls(L->AdjustInfos);
    break;
  case ltColor:
    ColorOpacity = L->Opacity;
    L->Color = ColorEdit->Color();
    L->Color2 = CBInverser->isChecked() ? 1 : 0;
    break;
  default:
    break;
  }
  Base->RefreshBitmap();
}

void TOpCalqueForm::ShadowFromControls(TLayerShadowInfos& S) const {
  S.DrawShadow = CBOmbre->isChecked();
  S.DX = EdiDX->Value();
  S.DY = EdiDY->Value();
  S.Opacity = TBOpaciteShadow->Position();
  S.Color = ColorEditOmbre->Color();
  const int Style = CmbStyle->currentIndex();
  S.Style = Style == StyleDiffuse ? lstDiffuse : lstBlur;
  S.Blur = Style == StyleFlat ? 0 : Style == StyleDiffuse ? 4 : uint32_t(SEShadowBlur->Value());
}

void TOpCalqueForm::AdjustFromControls(TAdjustLayerInfos& A) const {
  A.Luminosity = int16_t(TBLuminosite->Position());
  A.Contrast = int16_t(TBContraste->Position());
  A.Saturation = int16_t(TBSaturation->Position());
  A.Hue = int16_t(TBHue->Position());
  A.Gamma = TBGamma->Position() / 100.0;
}

void TOpCalqueForm::CBOmbreClick() {
  const bool On = CBOmbre->isChecked();
  for (QWidget* W : {static_cast<QWidget*>(EdiDX), static_cast<QWidget*>(EdiDY), static_cast<QWidget*>(ColorEditOmbre),
                     static_cast<QWidget*>(LblOpaciteShadow), static_cast<QWidget*>(TBOpaciteShadow),
                     static_cast<QWidget*>(CmbStyle)})
    W->setEnabled(On);
  for (QFormLayout* Rows : TshStd->findChildren<QFormLayout*>())
    for (int I = 0; I < Rows->rowCount(); ++I)
      if (QLayoutItem* Label = Rows->itemAt(I, QFormLayout::LabelRole); Label && Label->widget() != LblShadowRadius)
        Label->widget()->setEnabled(On);
  CmbStyleChange();
}

void TOpCalqueForm::CmbStyleChange() {
  const bool Enable = CBOmbre->isChecked() && CmbStyle->currentIndex() == StyleSmooth;
  const bool WasEnabled = SEShadowBlur->isEnabled();
  SEShadowBlur->setEnabled(Enable);
  LblShadowRadius->setEnabled(Enable);
  // Back to a smoothed shadow: the radius the layer stores (the edit
  // clamps it, so a flat shadow's 0 gives 1).
  TImageDialogHost* Base = ActiveImageDialogHost();
  const TLayerItem* L = Base ? Base->Image().CurrentLayer() : nullptr;
  if (Enable && !WasEnabled && L && !Updating) SEShadowBlur->SetValue2(int(std::min<uint32_t>(L->ShadowInfos.Blur, 50)));
  Apply();
}

void TOpCalqueForm::BResetClick() {
  const bool WasUpdating = std::exchange(Updating, true);
  TBOpacite->SetPosition(100);
  for (TTrackBar* T : {TBLuminosite, TBContraste, TBSaturation, TBHue}) T->SetPosition(0);
  TBGamma->SetPosition(100);
  Updating = WasUpdating;
  Apply();
}

// ---- The new-layer defaults -------------------------------------------------------------

void TOpCalqueForm::ReloadStoredValues() {
  const TIniOptions Saved = IniOptions;
  const bool WasUpdating = std::exchange(Updating, true);
  IniOptions = ioValue | ioNoEvent;
  LoadIniValues();
  IniOptions = Saved;
  Updating = WasUpdating;
}

void TOpCalqueForm::LoadIniBmp(TIniBmpInfo& Info) {
  ReloadStoredValues();
  Info.Opacity = TOpacityRange(BmpOpacity);
  const int32_t Reserved = Info.Shadow.Reserved;
  ShadowFromControls(Info.Shadow);
  Info.Shadow.Reserved = Reserved;
}

void TOpCalqueForm::LoadIniColor(TIniColorInfo& Info) {
  ReloadStoredValues();
  Info.Opacity = TOpacityRange(ColorOpacity);
  Info.Color = ColorEdit->Color();
  Info.Invert = CBInverser->isChecked();
}

void TOpCalqueForm::LoadIniAdjust(TIniAdjustInfo& Info) {
  ReloadStoredValues();
  Info.Opacity = TOpacityRange(AdjustOpacity);
  AdjustFromControls(Info.Adjust);
}
