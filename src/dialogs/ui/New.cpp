#include "dialogs/ui/New.h"

#include "dialogs/ImageSizeRules.h"
#include "dialogs/ui/DialogParts.h"
#include "dialogs/ui/ImageDialogHost.h"
#include "document/Pattern.h"
#include "files/FreeMetadata.h"
#include "files/PatternFile.h"
#include "i18n/Format.h"
#include "raster/FoncUtils.h"
#include "ui/ColorEdit.h"
#include "ui/MsgDlg.h"
#include "ui/SpecialEdit.h"
#include "ui/SpinEdit.h"
#include "ui/UtilsDPI.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <new>

namespace {

// The captions of the predefined sizes; the five screen sizes get the pixels
// word appended.
QStringList PresetCaptions() {
  const QString Px = u' ' + TrText(TrId::GetTrLblPixels, QStringLiteral("pixels"));
  const auto Paper = [](const char* Prefix, TrId Id, const char* French) {
    return QString::fromLatin1(Prefix) + TrText(Id, QString::fromUtf8(French));
  };
  return {u'<' + TrText(TrId::GetTrLblCustomSize, QStringLiteral("Personnalisé")) + u'>',
          QStringLiteral("640 x 480") + Px,
          QStringLiteral("800 x 600") + Px,
          QStringLiteral("1024 x 768") + Px,
          QStringLiteral("1280 x 1024") + Px,
          QStringLiteral("1600 x 1200") + Px,
          Paper("A4 - ", TrId::GetTrLblPortrait, "Portrait"),
          Paper("A4 - ", TrId::GetTrLblLandscape, "Paysage"),
          Paper("B5 - ", TrId::GetTrLblPortrait, "Portrait"),
          Paper("B5 - ", TrId::GetTrLblLandscape, "Paysage"),
          TrText(TrId::GetTrLblPhoto, QStringLiteral("Photo")),
          TrText(TrId::GetTrLblDigitalPhoto, QStringLiteral("Photo numérique")),
          TrText(TrId::GetTrLblPostcard, QStringLiteral("Carte postale")),
          TrText(TrId::GetTrLblJacketCD1, QStringLiteral("Pochette CD - Face")),
          TrText(TrId::GetTrLblJacketCD2, QStringLiteral("Pochette CD - Dos")),
          TrText(TrId::GetTrLblJacketDVD, QStringLiteral("Pochette DVD")),
          QStringLiteral("DVD - NTSC (720x480)"),
          QStringLiteral("DVD - PAL/SECAM (720x576)")};
}

} // namespace

TNewForm::TNewForm(QWidget* Parent) : TMainDialogForm(Parent) {
  setObjectName(QStringLiteral("NewForm"));
  setWindowTitle(DialogTitle("MenuFichierNouveau", QStringLiteral("Nouveau")));
  DialogMode = TMainDialogMode::dmModal;
  auto* Main = new QVBoxLayout(this);

  const std::vector Units{TSizeUnit::Pixels, TSizeUnit::Centimetres, TSizeUnit::Inches};
  const TSizeGroup Size = MakeSizeGroup(this, "GBNew", Units);
  EdiL = Size.EdiL;
  EdiH = Size.EdiH;
  CmbUnit = Size.CmbUnit;
  PopTaille = new QMenu(this);
  PopTaille->setObjectName(QStringLiteral("PopTaille"));
  for (const QString& Caption : PresetCaptions()) PopTaille->addAction(Caption);
  LstTaille = new TSpecialEdit(Size.Group);
  LstTaille->setObjectName(QStringLiteral("LstTaille"));
  LstTaille->SetDropDownMenu(PopTaille);
  LstTaille->SetShowButton(true);
  LstTaille->SetItemIndex(0);
  Size.Form->insertRow(0, TrLabel(TrId::GetTrLblSizeList, QStringLiteral("Taille prédéfinie :")), LstTaille);
  Resolution = std::make_unique<TResolutionFields>(Size.Group, *Size.Form);
  EdiRes = Resolution->EdiRes;
  CmbRes = Resolution->CmbRes;
  Main->addWidget(Size.Group);

  auto* Bkg = new QFormLayout;
  ColorEdit = new TColorEdit(this);
  ColorEdit->setObjectName(QStringLiteral("ColorEdit"));
  ColorEdit->SetColor(clWhite);
  Bkg->addRow(TrLabel(TrId::GetTrLblBkg, QStringLiteral("Fond :")), ColorEdit);
  Pattern = std::make_unique<TPatternChoice>(this, TrText(TrId::GetTrLblBkgPattern, QStringLiteral("Motif de fond :")));
  auto* PatternRow = new QHBoxLayout;
  PatternRow->addWidget(Pattern->EdiMotif, 1);
  PatternRow->addWidget(Pattern->SBMotif);
  Bkg->addRow(Pattern->CBMotif, PatternRow);
  CBTransp = new QCheckBox(TrText(TrId::GetTrMnuAutoTransparency, QStringLiteral("Transparence automatique")), this);
  CBTransp->setObjectName(QStringLiteral("CBTransp"));
  Bkg->addRow(CBTransp);
  Main->addLayout(Bkg);
  Display = std::make_unique<TSizeDisplay>(
      this, TrText(TrId::GetTrLblSizeMemory, QStringLiteral(" Taille en pixels / Mémoire ")));
  Main->addWidget(Display->Group);
  const TOkCancel Buttons = AddOkCancel(*this, *Main);
  BOk = Buttons.BOk;
  BAnnuler = Buttons.BAnnuler;

  Fields = std::make_unique<TSizeFields>(EdiL, EdiH, CmbUnit, Units, [this] { return GetResolution(); });
  Pattern->Select = [] { return ImageDialogHost() ? ImageDialogHost()->SelectPatternFile() : QString(); };
  Pattern->CBMotifClick();
  EdiRes->SetValue2(ScreenPixelsPerInch());
  EdiL->SetValue2(800);
  EdiH->SetValue2(600);
  Fields->SwitchTo(ImageUnitOf(ImageDialogHost() ? ImageDialogHost()->UniteDefaut() : 0));
  // The value stored for the pattern file only when that file exists.
  Pattern->EdiMotif->setProperty("Tag", -772);

  EdiL->OnChange = [this](QObject*) { SizeEdited(true); };
  EdiH->OnChange = [this](QObject*) { SizeEdited(false); };
  EdiRes->OnChange = [this](QObject*) { EdiResChange(); };
  connect(CmbUnit, &QComboBox::currentIndexChanged, this, [this] {
    Fields->UnitChange();
    RefreshDisplays();
  });
  LstTaille->OnChange = [this](QObject*) {
    if (!Updating) LstTailleChange();
  };
  connect(CBTransp, &QCheckBox::clicked, this, [this] { CBTranspClick(); });
  connect(BOk, &QPushButton::clicked, this, [this] { BOkClick(); });
}

TNewForm::~TNewForm() = default;

double TNewForm::GetResolution() const { return Resolution->Ppi(); }

void TNewForm::FormShow() {
  // Restored values keep their decimals whatever the unit was.
  EdiL->SetFormat(QStringLiteral("0.00"));
  EdiH->SetFormat(QStringLiteral("0.00"));
}

void TNewForm::UpdateControls() {
  Fields->IndexUnit = CmbUnit->currentIndex();
  Fields->SetFormats();
  if (LstTaille->ItemIndex() <= 0)
    RefreshDisplays();
  else
    LstTailleChange();
  if (Pattern->EdiMotif->Text().isEmpty()) Pattern->CBMotif->setChecked(false);
  CBTranspClick();
}

void TNewForm::RefreshDisplays() {
  Display->Show(Fields->GetNewWidth(), Fields->GetNewHeight());
}

void TNewForm::SizeEdited(bool Width) {
  if (Updating || (Width ? EdiL : EdiH)->text().isEmpty()) return;
  LstTaille->SetItemIndex(0);
  if (Width)
    Display->EdiLargeur->setText(QString::number(Fields->GetNewWidth()));
  else
    Display->EdiHauteur->setText(QString::number(Fields->GetNewHeight()));
  Display->SetMem(Fields->GetNewWidth(), Fields->GetNewHeight());
}

void TNewForm::EdiResChange() {
  if (Updating || Fields->Unit() == TSizeUnit::Pixels) return;
  // The physical size stays; the pixels follow the resolution.
  RefreshDisplays();
}

void TNewForm::LstTailleChange() {
  const int Index = LstTaille->ItemIndex();
  if (Index <= 0) return;
  const TNewImagePreset& P = NewImagePreset(Index);
  const TImageDialogHost* Host = ImageDialogHost();
  Resolution->SetPpiUnitSilently();
  if (!P.Centimetres) {
    Fields->SwitchTo(TSizeUnit::Pixels);
    EdiRes->SetValue2(ScreenPixelsPerInch());
    Fields->SetNewWidth(int(P.Width));
    Fields->SetNewHeight(int(P.Height));
  } else {
    const bool Inches = Host && Host->UniteDefautPrn() == 1;
    Fields->SwitchTo(Inches ? TSizeUnit::Inches : TSizeUnit::Centimetres);
    EdiRes->SetValue2(P.Resolution);
    EdiL->SetValue2(Inches ? P.Width / 2.54 : P.Width);
    EdiH->SetValue2(Inches ? P.Height / 2.54 : P.Height);
  }
  RefreshDisplays();
}

void TNewForm::CBTranspClick() {
  const bool Colour = !CBTransp->isChecked();
  ColorEdit->setEnabled(Colour);
  Pattern->CBMotif->setEnabled(Colour);
  Pattern->UpdateEnabled();
}

void TNewForm::BOkClick() {
  if (!Fields->Filled() || EdiRes->text().isEmpty()) {
    WarnEmptyFields();
    return;
  }
  NewL = LimitSide(Fields->GetNewWidth());
  NewH = LimitSide(Fields->GetNewHeight());
  if (!AcceptImageSize(NewL, NewH)) return;
  const double R = GetResolution();
  CloseOk();
  TImageDialogHost* Host = ImageDialogHost();
  if (!Host) return;
  try {
    // The document is whole before its window exists: running out of memory
    // leaves no half-made window.
    TMyImageLayered Document;
    Document.AddBackground(NewL, NewH, CBTransp->isChecked() ? clWhite : ColorEdit->Color(), QStringLiteral("#0"));
    TLayerItem& Bkg = Document.Layers()[0];
    if (Pattern->Wanted()) {
      TPattern32 Motif;
      if (LoadPatternFile(Pattern->EdiMotif->Text(), Motif.Bmp(), Motif.Mask(), Host->PatternDir()))
        Motif.FillBmp(Bkg.Bitmap(), {0, 0, NewL, NewH});
    }
    if (CBTransp->isChecked()) Bkg.CheckCreateMask(true);
    TMyImageLayered* Img = Host->NouvelleImage(Document);
    if (!Img) return;
    Img->ResolutionX = R;
    Img->ResolutionY = R;
    AddDefaultExif(Img->Metadata, NewL, NewH, R, R);
    Host->MajMenus();
    Host->AfficherInfos();
  } catch (const std::bad_alloc&) {
    // The background and the view's working copy.
    const int64_t Needed = 2 * int64_t(TBitmap::BytesPerRow(NewL, 24)) * NewH;
    ShowMsgDlg(Format(Tr(TrId::GetOeMsgNoMemoryNew), {FormatByteSize(Needed, false)}), mdkError, {mdbOk});
  }
}
