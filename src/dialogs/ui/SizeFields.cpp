#include "dialogs/ui/SizeFields.h"

#include "dialogs/ui/DialogParts.h"
#include "ui/SpecialEdit.h"
#include "ui/SpinEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>

namespace {

TFloatSpinEdit* NewEdit(QWidget* Parent, const char* Name, double Min, double Max) {
  auto* E = new TFloatSpinEdit(Parent);
  E->setObjectName(QString::fromLatin1(Name));
  E->SetMinValue(Min);
  E->SetMaxValue(Max);
  E->SetIncrement(1);
  E->setMaxLength(7);
  return E;
}

QString UnitCaption(TSizeUnit Unit) {
  switch (Unit) {
  case TSizeUnit::Pixels:
    return TrText(TrId::GetTrLblPixels, QStringLiteral("pixels"));
  case TSizeUnit::Percent:
    return TrText(TrId::GetTrLblPct, QStringLiteral("%"));
  case TSizeUnit::Centimetres:
    return TrText(TrId::GetTrLblCm, QStringLiteral("cm"));
  case TSizeUnit::Inches:
    return TrText(TrId::GetTrLblInches, QStringLiteral("pouces"));
  }
  return {};
}

} // namespace

TSizeGroup MakeSizeGroup(QWidget* Parent, const char* GroupName, const std::vector<TSizeUnit>& Units) {
  auto* Group = new QGroupBox(TrText(TrId::GetTrLblNewSize, QStringLiteral(" Nouvelle taille ")), Parent);
  Group->setObjectName(QString::fromLatin1(GroupName));
  TSizeGroup G{Group, new QFormLayout(Group), NewEdit(Group, "EdiL", 0, MaxImageSide),
               NewEdit(Group, "EdiH", 0, MaxImageSide), new QComboBox(Group)};
  G.CmbUnit->setObjectName(QStringLiteral("CmbUnit"));
  for (TSizeUnit Unit : Units) G.CmbUnit->addItem(UnitCaption(Unit));
  G.Form->addRow(TrText(TrId::GetTrLblWidth, QStringLiteral("Largeur :")), G.EdiL);
  G.Form->addRow(TrText(TrId::GetTrLblHeight, QStringLiteral("Hauteur :")), G.EdiH);
  G.Form->addRow(QString(), G.CmbUnit);
  return G;
}

TResolutionFields::TResolutionFields(QWidget* Parent, QFormLayout& Form)
    : EdiRes(NewEdit(Parent, "EdiRes", 10, 20000)), CmbRes(new QComboBox(Parent)) {
  CmbRes->setObjectName(QStringLiteral("CmbRes"));
  const QString Px = TrText(TrId::GetTrLblPixels, QStringLiteral("pixels"));
  CmbRes->addItems({Px + u'/' + TrText(TrId::GetTrLblInch, QStringLiteral("pouces")),
                    Px + u'/' + TrText(TrId::GetTrLblCm, QStringLiteral("cm"))});
  Form.addRow(TrLabel(TrId::GetTrLblResolution, QStringLiteral("Résolution :")), EdiRes);
  Form.addRow(QString(), CmbRes);
  QObject::connect(CmbRes, &QComboBox::currentIndexChanged, EdiRes, [this](int Index) {
    const double V = EdiRes->Value();
    EdiRes->SetValue2(Index == 1 ? V / 2.54 : V * 2.54);
  });
}

double TResolutionFields::Ppi() const { return ResolutionToPpi(EdiRes->Value(), CmbRes->currentIndex()); }
void TResolutionFields::SetPpi(double Ppi) { EdiRes->SetValue2(ResolutionFromPpi(Ppi, CmbRes->currentIndex())); }

void TResolutionFields::SetPpiUnitSilently() {
  const QSignalBlocker Block(CmbRes);
  CmbRes->setCurrentIndex(0);
}

TSizeFields::TSizeFields(TFloatSpinEdit* EdiL, TFloatSpinEdit* EdiH, QComboBox* CmbUnit, std::vector<TSizeUnit> Units,
                         std::function<double()> Resolution)
    : FEdiL(EdiL), FEdiH(EdiH), FCmbUnit(CmbUnit), FUnits(std::move(Units)), FResolution(std::move(Resolution)) {}

int TSizeFields::GetNewWidth() const { return UnitToPixels(FEdiL->Value(), Unit(), L, FResolution()); }
int TSizeFields::GetNewHeight() const { return UnitToPixels(FEdiH->Value(), Unit(), H, FResolution()); }
void TSizeFields::SetNewWidth(int Pixels) { FEdiL->SetValue2(PixelsToUnit(Pixels, Unit(), L, FResolution())); }
void TSizeFields::SetNewHeight(int Pixels) { FEdiH->SetValue2(PixelsToUnit(Pixels, Unit(), H, FResolution())); }

void TSizeFields::SetFormats() {
  FEdiL->SetFormat(UnitFormat(Unit()));
  FEdiH->SetFormat(UnitFormat(Unit()));
}

void TSizeFields::UnitChange() {
  const int W = GetNewWidth(), Hp = GetNewHeight();
  IndexUnit = std::clamp(FCmbUnit->currentIndex(), 0, int(FUnits.size()) - 1);
  SetFormats();
  SetNewHeight(Hp);
  SetNewWidth(W);
}

bool TSizeFields::Filled() const { return !FEdiL->text().isEmpty() && !FEdiH->text().isEmpty(); }

TSizeUnit ImageUnitOf(int Setting) {
  return Setting == 1 ? TSizeUnit::Centimetres : Setting == 2 ? TSizeUnit::Inches : TSizeUnit::Pixels;
}

void TSizeFields::SelectUnit(TSizeUnit Unit) {
  const auto Found = std::find(FUnits.begin(), FUnits.end(), Unit);
  const QSignalBlocker Block(FCmbUnit);
  FCmbUnit->setCurrentIndex(Found == FUnits.end() ? 0 : int(Found - FUnits.begin()));
  IndexUnit = FCmbUnit->currentIndex();
  SetFormats();
}

void TSizeFields::SwitchTo(TSizeUnit Unit) {
  const auto Found = std::find(FUnits.begin(), FUnits.end(), Unit);
  {
    const QSignalBlocker Block(FCmbUnit);
    FCmbUnit->setCurrentIndex(Found == FUnits.end() ? 0 : int(Found - FUnits.begin()));
  }
  UnitChange();
}

TSizeDisplay::TSizeDisplay(QWidget* Parent, const QString& Title) : Group(new QGroupBox(Title, Parent)) {
  Group->setObjectName(QStringLiteral("_GBOld"));
  Group->setEnabled(false);
  auto* Form = new QFormLayout(Group);
  const auto Add = [&](const char* Name, const QString& Caption) {
    auto* E = new QLineEdit(Group);
    E->setObjectName(QString::fromLatin1(Name));
    E->setReadOnly(true);
    Form->addRow(Caption, E);
    return E;
  };
  EdiLargeur = Add("EdiLargeur", TrText(TrId::GetTrLblWidth, QStringLiteral("Largeur :")));
  EdiHauteur = Add("EdiHauteur", TrText(TrId::GetTrLblHeight, QStringLiteral("Hauteur :")));
  EdiMem = Add("EdiMem", TrLabel(TrId::GetTrLblMemory, QStringLiteral("Mémoire :")));
}

void TSizeDisplay::Show(int W, int H) {
  EdiLargeur->setText(QString::number(W));
  EdiHauteur->setText(QString::number(H));
  SetMem(W, H);
}

void TSizeDisplay::SetMem(int W, int H) { EdiMem->setText(ImageMemSizeText(W, H)); }

TPatternChoice::TPatternChoice(QWidget* Parent, const QString& Caption)
    : CBMotif(new QCheckBox(Caption, Parent)), EdiMotif(new TSpecialEdit(Parent)), SBMotif(new QToolButton(Parent)) {
  CBMotif->setObjectName(QStringLiteral("CBMotif"));
  EdiMotif->setObjectName(QStringLiteral("EdiMotif"));
  EdiMotif->SetMinimizeText(true);
  SBMotif->setObjectName(QStringLiteral("SBMotif"));
  SBMotif->setText(QStringLiteral("..."));
  QObject::connect(CBMotif, &QCheckBox::clicked, CBMotif, [this] { CBMotifClick(); });
  QObject::connect(SBMotif, &QToolButton::clicked, SBMotif, [this] { SBMotifClick(); });
  EdiMotif->OnClick = [this](QObject*) {
    if (EdiMotif->isEnabled()) SBMotifClick();
  };
}

void TPatternChoice::SBMotifClick() {
  const QString Name = Select ? Select() : QString();
  if (!Name.isEmpty()) EdiMotif->SetText(Name);
}

void TPatternChoice::CBMotifClick() {
  if (CBMotif->isChecked() && EdiMotif->Text().isEmpty()) {
    SBMotifClick();
    if (EdiMotif->Text().isEmpty()) CBMotif->setChecked(false);
  }
  UpdateEnabled();
}

void TPatternChoice::UpdateEnabled() {
  const bool On = CBMotif->isEnabled() && CBMotif->isChecked();
  EdiMotif->setEnabled(On);
  SBMotif->setEnabled(On);
}

bool TPatternChoice::Wanted() const {
  return CBMotif->isEnabled() && CBMotif->isChecked() && !EdiMotif->Text().isEmpty();
}
