#include "dialogs/ui/Redim.h"

#include "dialogs/ImageSizeRules.h"
#include "dialogs/ui/DialogParts.h"
#include "dialogs/ui/ImageDialogHost.h"
#include "dialogs/ui/ImageResize.h"
#include "platform/Rounding.h"
#include "ui/SpinEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

TRedimForm::TRedimForm(QWidget* Parent) : TMainDialogForm(Parent) {
  setObjectName(QStringLiteral("RedimForm"));
  setWindowTitle(DialogTitle("MenuImageRedim", QStringLiteral("Taille de l'image")));
  DialogMode = TMainDialogMode::dmModal;
  IniOptions = ioPosition;
  auto* Main = new QVBoxLayout(this);
  Display = std::make_unique<TSizeDisplay>(
      this, TrText(TrId::GetTrLblSizeMemory, QStringLiteral(" Taille en pixels / Mémoire (Fond) ")));
  Main->addWidget(Display->Group);

  const std::vector Units{TSizeUnit::Pixels, TSizeUnit::Percent, TSizeUnit::Centimetres, TSizeUnit::Inches};
  const TSizeGroup Size = MakeSizeGroup(this, "GroupBox1", Units);
  QGroupBox* GroupBox1 = Size.Group;
  QFormLayout* Form = Size.Form;
  EdiL = Size.EdiL;
  EdiH = Size.EdiH;
  CmbUnit = Size.CmbUnit;
  CBProportions = new QCheckBox(TrText(TrId::GetTrLblAspectRation, QStringLiteral("Conserver les proportions")), GroupBox1);
  CBProportions->setObjectName(QStringLiteral("CBProportions"));
  Form->addRow(CBProportions);
  Resolution = std::make_unique<TResolutionFields>(GroupBox1, *Form);
  EdiRes = Resolution->EdiRes;
  CmbRes = Resolution->CmbRes;
  CmbFiltres = new QComboBox(GroupBox1);
  CmbFiltres->setObjectName(QStringLiteral("CmbFiltres"));
  CmbFiltres->addItems({u'<' + TrText(TrId::GetTrLblAutoFilter, QStringLiteral("Automatique")) + u'>',
                        TrText(TrId::GetTrLblNearest, QStringLiteral("Au plus proche")),
                        TrText(TrId::GetTrLblBilinear, QStringLiteral("Bilinéaire")),
                        TrText(TrId::GetTrLblFilterHermite, QStringLiteral("Hermite")),
                        TrText(TrId::GetTrLblFilterBell, QStringLiteral("Bell")),
                        TrText(TrId::GetTrLblFilterBSpline, QStringLiteral("B-Spline")),
                        TrText(TrId::GetTrLblFilterLanczos, QStringLiteral("Lanczos")),
                        TrText(TrId::GetTrLblFilterMitchell, QStringLiteral("Mitchell"))});
  Form->addRow(TrLabel(TrId::GetTrLblResampling, QStringLiteral("Rééchantillonnage :")), CmbFiltres);
  Main->addWidget(GroupBox1);
  CBTous = new QCheckBox(TrText(TrId::GetTrLblAllLayers, QStringLiteral("Tous les calques")), this);
  CBTous->setObjectName(QStringLiteral("CBTous"));
  Main->addWidget(CBTous);
  const TOkCancel Buttons = AddOkCancel(*this, *Main);
  BOk = Buttons.BOk;
  BAnnuler = Buttons.BAnnuler;

  Fields = std::make_unique<TSizeFields>(EdiL, EdiH, CmbUnit, Units, [this] { return GetResolution(); });
  Fields->SelectUnit(ImageUnitOf(ImageDialogHost() ? ImageDialogHost()->UniteDefaut() : 0));

  EdiL->OnChange = [this](QObject*) { SizeEdited(true); };
  EdiH->OnChange = [this](QObject*) { SizeEdited(false); };
  EdiRes->OnChange = [this](QObject*) { EdiResChange(); };
  connect(CmbUnit, &QComboBox::currentIndexChanged, this, [this] {
    if (!Updating) Fields->UnitChange();
  });
  connect(BOk, &QPushButton::clicked, this, [this] { BOkClick(); });
}

TRedimForm::~TRedimForm() = default;

double TRedimForm::GetResolution() const { return Resolution->Ppi(); }

void TRedimForm::FormShow() {
  TImageDialogHost* Host = ActiveImageDialogHost();
  if (!Host) return;
  const TBitmap& Fond = Host->LeFond();
  Fields->L = Fond.Width();
  Fields->H = Fond.Height();
  Ratio = double(Fields->L) / Fields->H;
  Fields->IndexUnit = CmbUnit->currentIndex();
  CmbFiltres->setEnabled(!Fond.Transparent);
  if (Fond.Transparent) CmbFiltres->setCurrentIndex(0);
  CBProportions->setChecked(true);
  CBTous->setVisible(Host->Image().Layers().Count() > 1);
  CBTous->setChecked(!CBTous->isHidden());
  Display->Show(Fields->L, Fields->H);
  Resolution->SetPpi(Host->Image().ResolutionX);
  Fields->SetFormats();
  Fields->SetNewWidth(Fields->L);
  Fields->SetNewHeight(Fields->H);
  adjustSize();
}

void TRedimForm::SizeEdited(bool Width) {
  if (Updating || (Width ? EdiL : EdiH)->text().isEmpty()) return;
  if (Width) {
    Display->EdiLargeur->setText(QString::number(Fields->GetNewWidth()));
    if (CBProportions->isChecked()) {
      Fields->SetNewHeight(Round(Fields->GetNewWidth() / Ratio));
      Display->EdiHauteur->setText(QString::number(Fields->GetNewHeight()));
    }
  } else {
    Display->EdiHauteur->setText(QString::number(Fields->GetNewHeight()));
    if (CBProportions->isChecked()) {
      Fields->SetNewWidth(Round(Fields->GetNewHeight() * Ratio));
      Display->EdiLargeur->setText(QString::number(Fields->GetNewWidth()));
    }
  }
  Display->SetMem(Fields->GetNewWidth(), Fields->GetNewHeight());
}

void TRedimForm::EdiResChange() {
  // A new resolution in a physical unit brings the fields back to the
  // present size expressed at it; pending edits are dropped.
  if (Updating || (Fields->Unit() != TSizeUnit::Centimetres && Fields->Unit() != TSizeUnit::Inches)) return;
  Fields->SetNewWidth(Fields->L);
  Fields->SetNewHeight(Round(Fields->L / Ratio));
}

void TRedimForm::BOkClick() {
  const QString ResText = EdiRes->text();
  const double Res = EdiRes->Value();
  if (!Fields->Filled() || ResText.isEmpty() || EdiRes->CheckValue(Res) != Res) {
    WarnEmptyFields();
    return;
  }
  NewL = LimitSide(Fields->GetNewWidth());
  NewH = LimitSide(Fields->GetNewHeight());
  if (!AcceptImageSize(NewL, NewH)) return;
  const double Resolution = GetResolution();
  CloseOk();
  TImageDialogHost* Host = ActiveImageDialogHost();
  if (!Host) return;
  const QString Titre = Host->TitreMenu(QStringLiteral("MenuImageRedim"));
  const int L = Fields->L, H = Fields->H;
  if (NewL == L && NewH == H) {
    TActionScope Action(*Host);
    Host->PreparerUndo(UndoKindBkgNone, Titre);
  } else {
    const TBitmap& Fond = Host->LeFond();
    // A kernel needs more than one pixel on each side, before and after,
    // and a picture without a transparent colour.
    const bool Kernel = CmbFiltres->currentIndex() != 1 && !Fond.Transparent && NewL != 1 && NewH != 1 &&
                        Fond.Width() != 1 && Fond.Height() != 1;
    const uint8_t Code = Kernel ? ResampleFilterCode(CmbFiltres->currentIndex(), L, H, NewL, NewH) : 0;
    ResizeImage(*Host, Titre, NewL, NewH, Code, CBTous->isChecked() && !CBTous->isHidden());
  }
  Host->Image().ResolutionX = Resolution;
  Host->RefreshBitmap();
}
