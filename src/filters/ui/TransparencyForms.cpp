#include "filters/ui/TransparencyForms.h"

#include "filters/Blur24.h"
#include "filters/Filtres24.h"
#include "filters/ui/ColorDialogHost.h"
#include "filters/ui/DialogTexts.h"
#include "i18n/Format.h"
#include "raster/GreyMasks.h"
#include "raster/ui/FoncUtils.h"
#include "ui/ColorEdit.h"
#include "ui/RadioGroup.h"
#include "ui/TrackBar.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

// ---- Shared controls ---------------------------------------------------------------------------------------------

TColorToleranceForm::TColorToleranceForm(QWidget* Parent) : TColorPreviewForm(Parent) {
  IniOptions = ioPosition;
  const int Left = Rescale(16);
  auto* L = new QLabel(Tr(TrId::GetTrLblColor), this);
  L->move(Left, Rescale(16));
  ColorEdit = new TColorEdit(this);
  ColorEdit->setObjectName(QStringLiteral("ColorEdit"));
  ColorEdit->setGeometry(Left, Rescale(34), Rescale(89), ColorEdit->sizeHint().height());
  ColorEdit->SetReadOnly(true);
  ColorEdit->OnChange = [this](QObject*) { ParamChanged(false); };
  LblN = new QLabel(this);
  LblN->move(Left, ColorEdit->y() + ColorEdit->height() + Rescale(12));
  TBN = new TTrackBar(this);
  TBN->setObjectName(QStringLiteral("TBN"));
  TBN->setRange(0, 100);
  TBN->setPageStep(5);
  TBN->setGeometry(Left - Rescale(6), LblN->y() + Rescale(16), Rescale(278), Rescale(28));
  TBN->SetPosition(30);
  PrepareTrackBar(TBN);
  const auto ShowTolerance = [this] {
    LblN->setText(Format(Tr(TrId::GetTrFmtTolerance), {TBN->Position()}));
    LblN->adjustSize();
  };
  ShowTolerance();
  connect(TBN, &QSlider::valueChanged, this, [this, ShowTolerance] {
    ShowTolerance();
    ParamChanged(false);
  });
}

void TColorToleranceForm::ChangerCouleur(TColor Couleur) { ColorEdit->SetColor(Couleur); }

void TColorToleranceForm::SaveTransparency() {
  const TBitmap& Fond = ColorDialogHost()->LeFond();
  FSavedTransparent = Fond.Transparent;
  FSavedColor = Fond.TransparentColor();
}

void TColorToleranceForm::RestoreTransparency() {
  if (!ColorDialogHost() || !FilterHost() || !FilterHost()->UneImage()) return;
  TBitmap& Fond = ColorDialogHost()->LeFond();
  Fond.Transparent = FSavedTransparent;
  Fond.SetTransparentColor(FSavedColor);
}

void TColorToleranceForm::FormShow() {
  TColorPreviewForm::FormShow();
  if (ColorDialogHost() && FilterHost() && FilterHost()->UneImage()) SaveTransparency();
}

void TColorToleranceForm::FormHide() {
  // Not kept: the pixels come back with the undo record, the transparency here.
  if (!DialogOk) RestoreTransparency();
  TColorPreviewForm::FormHide();
}

// ---- Transparent colour ------------------------------------------------------------------------------------------

TCouleurTransForm::TCouleurTransForm(QWidget* Parent) : TColorToleranceForm(Parent) {
  setObjectName(QStringLiteral("CouleurTransForm"));
  if (TFilterHost* H = FilterHost()) setWindowTitle(H->TitreMenu(QStringLiteral("MenuImageCouleurTrans")));
  const int Left = Rescale(16);
  PnlFond = new QWidget(this);
  PnlFond->setObjectName(QStringLiteral("_PnlFond"));
  PnlFond->setGeometry(Left, TBN->y() + TBN->height() + Rescale(8), Rescale(280), Rescale(44));
  RBCombiner = new QRadioButton(TrOr(TrId::GetTrLblMergeTransColor, u"Combiner avec la transparence actuelle"), PnlFond);
  RBCombiner->setGeometry(0, 0, Rescale(280), Rescale(17));
  RBCombiner->setChecked(true);
  RBRemplacer = new QRadioButton(TrOr(TrId::GetTrLblReplaceTranspColor, u"Remplacer la transparence actuelle"), PnlFond);
  RBRemplacer->setGeometry(0, Rescale(22), Rescale(280), Rescale(17));
  for (QRadioButton* B : {RBCombiner, RBRemplacer})
    connect(B, &QRadioButton::toggled, this, [this](bool On) {
      if (On) ParamChanged(false);
    });
  CBAnnulerTransp = new QCheckBox(TrOr(TrId::GetTrLblDisableTrans, u"Désactiver la transparence"), this);
  CBAnnulerTransp->resize(Rescale(280), Rescale(17));
  connect(CBAnnulerTransp, &QCheckBox::toggled, this, [this](bool Off) {
    EnableWithChildren(PnlFond, !Off);
    BApercu->setEnabled(!Off);
    ParamChanged(false);
  });
  DialogMode = TMainDialogMode::dmPipette;
  Arrange();
}

void TCouleurTransForm::Arrange() {
  // The options shortened to their last visible control, the box 4 below.
  int Bottom = TBN->y() + TBN->height();
  if (!RBCombiner->isHidden()) {
    PnlFond->resize(PnlFond->width(), RBRemplacer->y() + RBRemplacer->height());
    Bottom = PnlFond->y() + PnlFond->height();
  }
  CBAnnulerTransp->move(Rescale(16), Bottom + Rescale(4));
  if (!CBAnnulerTransp->isHidden()) Bottom = CBAnnulerTransp->y() + CBAnnulerTransp->height();
  PlaceButtons(Bottom + Rescale(16));
}

void TCouleurTransForm::FormShow() {
  TColorToleranceForm::FormShow();
  TColorDialogHost* C = ColorDialogHost();
  if (!C || !FilterHost() || !FilterHost()->UneImage()) return;
  const TBitmap& Fond = C->LeFond();
  const bool Has = Fond.Transparent;
  CouleurTrans = Has ? Fond.TransparentColor() : clNone;
  ColorEdit->SetColor(Has ? Fond.TransparentColor() : Fond.PixelColor(0, 0));
  for (QWidget* W : std::initializer_list<QWidget*>{RBCombiner, RBRemplacer, CBAnnulerTransp}) W->setVisible(Has);
  CBAnnulerTransp->setChecked(false);
  Arrange();
}

void TCouleurTransForm::ApplyOperation() {
  TBitmap& Fond = ColorDialogHost()->LeFond();
  const TColor Target = !RBCombiner->isHidden() && RBCombiner->isChecked() ? CouleurTrans : ColorEdit->Color();
  ReplaceColor24(Fond, ColorEdit->Color(), Target, TBN->Position(), FilterHost()->LaSelection());
  Fond.SetTransparentColor(Target);
  Fond.Transparent = true;
}

void TCouleurTransForm::OkSteps() {
  TColorDialogHost* C = ColorDialogHost();
  if (!C) return;
  if (CBAnnulerTransp->isChecked()) {
    if (Preview) RestoreLayer();
    C->LeFond().Transparent = false;
    FilterHost()->RefreshBitmap();
  } else {
    TColorToleranceForm::OkSteps();
  }
  C->MajMenus();
  FilterHost()->LayerChanged();
}

// ---- Transparency mask -------------------------------------------------------------------------------------------

void MaskFromBackground(TBitmap& Background, TColor Color, int Tolerance, int Effect) {
  const TRect All{0, 0, Background.Width(), Background.Height()};
  Background.Transparent = false;
  TBitmap Source;
  Source.Assign(Background);
  MaskFromColor(Source, Background, Color, Tolerance, true, All);
  switch (Effect) {
  case edSmooth:
    GrowShrinkMask(Background, -1, All, false);
    FeatherMask(Background, All, 33);
    break;
  case edBlur:
    GrowShrinkMask(Background, -1, All, false);
    Soften24(Background, 100, true, All);
    break;
  case edProgressive:
    GrowShrinkMask(Background, -3, All, false);
    GaussianBlurRadius(Background, 6, All);
    break;
  case edDiffuse:
    GrowShrinkMask(Background, -2, All, false);
    Diffuse24(Background, 4, 0, All);
    break;
  default:
    break;
  }
}

TMaskCoulForm::TMaskCoulForm(QWidget* Parent) : TColorToleranceForm(Parent) {
  setObjectName(QStringLiteral("MaskCoulForm"));
  if (TFilterHost* H = FilterHost()) setWindowTitle(H->TitreMenu(QStringLiteral("MenuImageMaskTransp")));
  RGEffet = new TRadioGroup(this);
  RGEffet->setObjectName(QStringLiteral("RGEffet"));
  RGEffet->setTitle(GroupTitle(Tr(TrId::GetTrLblEffect)));
  RGEffet->SetItems({Tr(TrId::GetTrLblNone), TrOr(TrId::GetTrLblAntialiasing, u"Lissage"),
                     TrOr(TrId::GetTrMnuBlur, u"Flou"), TrOr(TrId::GetTrMnuProgressiveContour, u"Contour progressif"),
                     TrOr(TrId::GetTrMnuDiffuse, u"Diffusion")});
  RGEffet->setGeometry(Rescale(16), TBN->y() + TBN->height() + Rescale(8), Rescale(266), Rescale(140));
  RGEffet->OnClick = [this](QObject*) { ParamChanged(false); };
  PlaceButtons(RGEffet->y() + RGEffet->height() + Rescale(16));
}

void TMaskCoulForm::FormShow() {
  TColorToleranceForm::FormShow();
  TColorDialogHost* C = ColorDialogHost();
  if (!C || !FilterHost() || !FilterHost()->UneImage()) return;
  const TBitmap& Fond = C->LeFond();
  Transp = Fond.Transparent;
  ColorEdit->SetColor(Transp ? Fond.TransparentColor() : Fond.PixelColor(0, 0));
  TBN->SetPosition(Transp ? 0 : 30);
  TBN->setEnabled(!Transp);
  LblN->setEnabled(!Transp);
  SetRadioIndexSilent(RGEffet, Transp ? edNone : edSmooth);
  DialogMode = Transp ? TMainDialogMode::dmDialog : TMainDialogMode::dmPipette;
}

void TMaskCoulForm::ApplyOperation() {
  MaskFromBackground(ColorDialogHost()->LeFond(), ColorEdit->Color(), TBN->Position(), RGEffet->ItemIndex());
}

void TMaskCoulForm::OkSteps() {
  TColorToleranceForm::OkSteps();
  if (TColorDialogHost* C = ColorDialogHost()) {
    C->SetNbCouleurs(256);
    C->AfficherInfos();
    C->MajMenus();
  }
  FilterHost()->LayerChanged();
}
