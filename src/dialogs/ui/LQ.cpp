#include "dialogs/ui/LQ.h"

#include "dialogs/ui/DialogParts.h"
#include "document/MyImageLayered.h"
#include "document/SelMask.h"
#include "filters/ui/FilterHost.h"
#include "ui/ColorEdit.h"
#include "ui/ControlTag.h"
#include "ui/SpecialEdit.h"
#include "ui/SpinEdit.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The active image's state the mode rules read.
struct TLayerState {
  bool Image = false;
  bool HasAlpha = false;
  bool Background = false;
  int LayerCount = 0;
};

TLayerState CurrentLayerState() {
  TLayerState S;
  TFilterHost* Host = FilterHost();
  if (!Host || !Host->UneImage()) return S;
  const TMyImageLayered* Image = Host->SelMasks().Image();
  if (!Image || !Image->CurrentLayer()) return S;
  S.Image = true;
  S.HasAlpha = !Host->LeMasque().Empty();
  S.Background = Image->LayerIndex() == 0;
  S.LayerCount = Image->Layers().Count();
  return S;
}

} // namespace

TLQForm::TLQForm(QWidget* Parent)
    : TOverlayForm(Parent, TOverlayPicture::pkGrey, "MenuLumaMasque", FilterBMUndoKind, TOverlayFolder::Masks) {
  setObjectName(QStringLiteral("LQForm"));
  setWindowTitle(DialogTitle("MenuLumaMasque", QStringLiteral("LumaMasque")));
  DialogMode = TMainDialogMode::dmPipette;
  IniCustomVarCount = 3;
  BuildPictureGroup(TrText(TrId::GetTrLblMask, QStringLiteral(" Masque ")), "EdiMasque", true);

  GroupBox1 = new QGroupBox(TrText(TrId::GetTrLblSettings, QStringLiteral(" Paramètres ")), this);
  GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
  auto* Form = new QFormLayout(GroupBox1);
  PopMode = new QMenu(this);
  PopMode->setObjectName(QStringLiteral("PopMode"));
  const std::pair<TrId, const char*> Modes[] = {{TrId::GetTrLblModeColor, "Couleur"},
                                                {TrId::GetTrMnuGrayscale, "Niveau de gris"},
                                                {TrId::GetTrMnuGaussianBlur, "Flou gaussien"},
                                                {TrId::GetTrLblPattern, "Motif"},
                                                {TrId::GetTrLblModeTransparent, "Transparence"}};
  for (const auto& [Id, French] : Modes) {
    if (Id == TrId::GetTrLblModeTransparent) PopMode->addSeparator();
    PopMode->addAction(TrText(Id, QString::fromUtf8(French)));
  }
  LstFormat = new TSpecialEdit(GroupBox1);
  LstFormat->setObjectName(QStringLiteral("LstFormat"));
  LstFormat->SetDropDownMenu(PopMode);
  LstFormat->SetShowButton(true);
  LstFormat->SetItemIndex(meColor);
  Form->addRow(TrLabel(TrId::GetTrMnuMode, QStringLiteral("Mode :")), LstFormat);

  SEOpacite = NewSpinEdit2(GroupBox1, "SEOpacite", 10, 100, 100, 3);
  LblOpacite = new QLabel(TrText(TrId::GetTrLblOpacity, QStringLiteral("Opacité :")), GroupBox1);
  Form->addRow(LblOpacite, SEOpacite);

  ColorEdit = new TColorEdit(GroupBox1);
  ColorEdit->setObjectName(QStringLiteral("ColorEdit"));
  ColorEdit->SetColor(clWhite);
  LblCouleur = new QLabel(TrText(TrId::GetTrLblColor, QStringLiteral("Couleur :")), GroupBox1);
  Form->addRow(LblCouleur, ColorEdit);

  auto* MotifRow = new QWidget(GroupBox1);
  auto* MotifLayout = new QHBoxLayout(MotifRow);
  MotifLayout->setContentsMargins(0, 0, 0, 0);
  EdiMotif = new TSpecialEdit(MotifRow);
  EdiMotif->setObjectName(QStringLiteral("EdiMotif"));
  EdiMotif->SetReadOnly(true);
  // Restored only while the file exists.
  SetControlTag(EdiMotif, -772);
  SBMotif = new QToolButton(MotifRow);
  SBMotif->setObjectName(QStringLiteral("SBMotif"));
  SBMotif->setText(QStringLiteral("..."));
  MotifLayout->addWidget(EdiMotif, 1);
  MotifLayout->addWidget(SBMotif);
  LblMotif = new QLabel(TrText(TrId::GetTrLblFillPattern, QStringLiteral("Motif de remplissage :")), GroupBox1);
  Form->addRow(LblMotif, MotifRow);

  const auto Box = [this](const char* Name, TrId Id, const char* French) {
    auto* C = new QCheckBox(TrText(Id, QString::fromUtf8(French)), GroupBox1);
    C->setObjectName(QString::fromLatin1(Name));
    return C;
  };
  CBFlou = Box("CBFlou", TrId::GetTrMnuBlur, "Flou");
  CBBichromie = Box("CBBichromie", TrId::GetTrMnuDuotone, "Bichromie");
  Form->addRow(CBFlou, CBBichromie);
  const auto Radio = [this](const char* Name, TrId Id, const char* French) {
    auto* R = new QRadioButton(TrText(Id, QString::fromUtf8(French)), GroupBox1);
    R->setObjectName(QString::fromLatin1(Name));
    return R;
  };
  RBAjuster = Radio("RBAjuster", TrId::GetTrLblStretchMask, "Etirer le masque");
  RBRepeter = Radio("RBRepeter", TrId::GetTrLblTileMask, "Répéter le masque");
  RBAjuster->setChecked(true);
  Form->addRow(RBAjuster);
  Form->addRow(RBRepeter);
  Main->addWidget(GroupBox1);
  BuildButtons();

  const auto Option = [this](QObject*) { OptionChanged(); };
  SEOpacite->OnChange = Option;
  ColorEdit->OnChange = Option;
  for (QAbstractButton* B : std::initializer_list<QAbstractButton*>{CBFlou, CBBichromie, RBAjuster, RBRepeter})
    connect(B, &QAbstractButton::clicked, this, [this] { OptionChanged(); });
  LstFormat->OnChange = [this](QObject*) { LstFormatChanged(); };
  connect(SBMotif, &QToolButton::clicked, this, [this] { SBMotifClick(); });
  EdiMotif->OnClick = [this](QObject*) { SBMotifClick(); };
  MajMode();
}

TMaskOverlaySettings TLQForm::Settings() const {
  TMaskOverlaySettings S;
  S.Mode = TMaskEffect(std::clamp(LstFormat->ItemIndex(), 0, int(meTransparent)));
  S.Opacity = SEOpacite->Value();
  S.Color = ColorEdit->Color();
  S.Blur = CBFlou->isChecked();
  S.TwoTone = CBBichromie->isChecked();
  S.Tile = RBRepeter->isChecked();
  return S;
}

void TLQForm::ChangerCouleur(TColor Couleur) {
  if (ColorEdit->isEnabled()) ColorEdit->SetColor(Couleur);
}

QString TLQForm::GetIniCustomVar(int Index) {
  if (Index == 0) return QString::number(Picture.Angle);
  if (Index == 1) return QString(Picture.Negatif ? u'1' : u'0');
  return Picture.FlipsText();
}

void TLQForm::SetIniCustomVar(int Index, const QString& Value) {
  // The browser's mask comes without the stored transformations.
  if (FlagExplorer) return;
  if (Index == 0) Picture.SetAngleText(Value);
  if (Index == 1) Picture.Negatif = Value == QStringLiteral("1");
  if (Index == 2) Picture.SetFlipsText(Value);
}

void TLQForm::FormShow() {
  TOverlayForm::FormShow();
  const TLayerState S = CurrentLayerState();
  // Not on the background of an image with layers; and only where it can
  // be undone: a layer's own mask, or the key colour of a lone background.
  const bool Offered = S.Image && !(S.Background && S.LayerCount > 1) && (S.HasAlpha || S.Background);
  LstFormat->IndexToItem(meTransparent)->setEnabled(Offered);
  if (TFilterHost* Host = FilterHost(); Host && Host->UneImage())
    if (const TBitmap* Fond = LeFond(Host->SelMasks())) {
      FBkgTransparent = Fond->Transparent;
      FBkgTransparentColor = Fond->TransparentMode() == TTransparentMode::tmFixed ? Fond->TransparentColor() : clDefault;
    }
}

void TLQForm::FormHide() {
  // A preview of "Transparence" marked the background: any close but Ok
  // takes the mark back with the pixels.
  if (!DialogOk)
    if (TFilterHost* Host = FilterHost(); Host && Host->UneImage())
      if (TBitmap* Fond = LeFond(Host->SelMasks())) {
        Fond->Transparent = FBkgTransparent;
        Fond->SetTransparentColor(FBkgTransparentColor);
      }
  TOverlayForm::FormHide();
}

void TLQForm::FallBackMode() {
  const int Mode = LstFormat->ItemIndex();
  const QAction* Item = LstFormat->IndexToItem(Mode);
  if ((Mode == mePattern && EdiMotif->Text().isEmpty()) || !Item || !Item->isEnabled())
    LstFormat->SetItemIndex(meColor);
}

void TLQForm::MajMode() {
  const int Mode = LstFormat->ItemIndex();
  const bool KeyMode = Mode == meTransparent && !CurrentLayerState().HasAlpha;
  for (QWidget* W : {static_cast<QWidget*>(CBBichromie), static_cast<QWidget*>(SEOpacite),
                     static_cast<QWidget*>(LblOpacite)})
    W->setEnabled(!KeyMode);
  LblCouleur->setEnabled(Mode == meColor);
  ColorEdit->setEnabled(Mode == meColor);
  LblMotif->setVisible(Mode == mePattern);
  EdiMotif->parentWidget()->setVisible(Mode == mePattern);
}

void TLQForm::UpdateControls() {
  const bool WasUpdating = std::exchange(Updating, true);
  FallBackMode();
  MajMode();
  Updating = WasUpdating;
  TOverlayForm::UpdateControls();
}

void TLQForm::OptionChanged() {
  if (!Updating) Previewer->OptionChanged();
}

void TLQForm::LstFormatChanged() {
  if (Updating) return;
  if (LstFormat->ItemIndex() == mePattern && EdiMotif->Text().isEmpty()) {
    TFilterHost* Host = FilterHost();
    const QString File = Host ? Host->SelectPatternFile() : QString();
    if (File.isEmpty()) {
      const bool WasUpdating = std::exchange(Updating, true);
      LstFormat->SetItemIndex(meColor);
      MajMode();
      Updating = WasUpdating;
      return;
    }
    EdiMotif->SetText(File);
  }
  MajMode();
  OptionChanged();
}

void TLQForm::SBMotifClick() {
  TFilterHost* Host = FilterHost();
  const QString File = Host ? Host->SelectPatternFile() : QString();
  if (File.isEmpty()) return;
  EdiMotif->SetText(File);
  OptionChanged();
}

void TLQForm::ApplyOverlay(const TRect& R) {
  TFilterHost& Host = *FilterHost();
  TSelMaskHost& Masks = Host.SelMasks();
  TBitmap* Fond = LeFond(Masks);
  if (!Fond) return;
  SelRect = R;
  const TMaskOverlaySettings S = Settings();
  TBitmap PatternBmp, PatternMask;
  // A pattern that does not load leaves the layer as it is.
  if (S.Mode == mePattern && !EdiMotif->Text().isEmpty()) Masks.LoadPattern(EdiMotif->Text(), PatternBmp, PatternMask);
  TMaskOverlayTarget Target{Host.LeBitmap(), Host.LeMasque(), Host.BmpUndo(), *Fond};
  ApplyMaskOverlay(Picture.Bmp, S, Target, R, PatternBmp, PatternMask);
}
