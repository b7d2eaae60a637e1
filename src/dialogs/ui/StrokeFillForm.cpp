#include "dialogs/ui/StrokeFillForm.h"

#include "dialogs/ui/DialogParts.h"
#include "dialogs/ui/SizeFields.h"
#include "document/Pattern.h"
#include "document/SelMask.h"
#include "document/Undo.h"
#include "filters/ui/FilterHost.h"
#include "i18n/Format.h"
#include "ui/ColorEdit.h"
#include "ui/CompUtils.h"
#include "ui/GlyphButtons.h"
#include "ui/MsgDlg.h"
#include "ui/SpecialEdit.h"
#include "ui/SpinEdit.h"
#include "ui/ToolbarImages.h"
#include "ui/TrackBar.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QString OpacityText(int Value) {
  return Format(TrText(TrId::GetTrFmtOpacity, QStringLiteral("Opacité : %d%%")), {Value});
}

// A group box titled " text ", its rows in a grid.
QGridLayout* AddGroup(QWidget* Form, QVBoxLayout* Main, TrId Id, const QString& French) {
  auto* Group = new QGroupBox(QStringLiteral(" ") + TrText(Id, French) + QStringLiteral(" "), Form);
  auto* Rows = new QGridLayout(Group);
  Main->addWidget(Group);
  return Rows;
}

QToolButton* NewColorToggle(QWidget* Form, const char* Name, QButtonGroup* Group) {
  auto* B = new QToolButton(Form);
  B->setObjectName(QString::fromLatin1(Name));
  B->setCheckable(true);
  Group->addButton(B);
  SetupColorButton(B, nullptr);
  return B;
}

} // namespace

TFilterHost* TStrokeFillForm::Host() {
  TFilterHost* H = FilterHost();
  return H && H->UneImage() ? H : nullptr;
}

TStrokeFillForm::TStrokeFillForm(QWidget* Parent) : TPipetteForm(Parent) {
  IniOptions = ioPosition | ioValue | ioNoEvent;
  DialogMode = TMainDialogMode::dmPipette;
  auto* Main = new QVBoxLayout(this);
  LblOpacite = new QLabel(OpacityText(100), this);
  TBOpacite = new TTrackBar(this);
  TBOpacite->setObjectName(QStringLiteral("TBOpacite"));
  TBOpacite->setRange(10, 100);
  TBOpacite->setPageStep(5);
  TBOpacite->SetPosition(100);
  PrepareTrackBar(TBOpacite);
  Main->addWidget(LblOpacite);
  Main->addWidget(TBOpacite);

  auto* Toggles = new QButtonGroup(this);
  StrokeRows = AddGroup(this, Main, TrId::GetTrLblStrkeOptions, QStringLiteral("Options du contour"));
  CBContour = new QCheckBox(TrText(TrId::GetTrLblStroke, QStringLiteral("Contour")), this);
  CBContour->setObjectName(QStringLiteral("CBContour"));
  CBContour->setChecked(true);
  LblCouleur1 = new QLabel(TrLabel(TrId::GetTrLblColor, QStringLiteral("Couleur :")), this);
  ColorEdit1 = new TColorEdit(this);
  ColorEdit1->setObjectName(QStringLiteral("ColorEdit1"));
  ColorEdit1->SetColor(clBlack);
  SB1 = NewColorToggle(this, "SB1", Toggles);
  LblLargeur = new QLabel(TrLabel(TrId::GetTrLblWidth, QStringLiteral("Largeur :")), this);
  SELargeur = NewSpinEdit2(this, "SELargeur", 1, 50, 1, 2);
  StrokeRows->addWidget(CBContour, 0, 0, 1, 3);
  StrokeRows->addWidget(LblCouleur1, 1, 0);
  StrokeRows->addWidget(ColorEdit1, 1, 1);
  StrokeRows->addWidget(SB1, 1, 2);
  StrokeRows->addWidget(LblLargeur, 2, 0);
  StrokeRows->addWidget(SELargeur, 2, 1);

  FillRows = AddGroup(this, Main, TrId::GetTrLblFillOptions, QStringLiteral("Options de remplissage"));
  CBRempl = new QCheckBox(TrText(TrId::GetTrLblFill, QStringLiteral("Remplir")), this);
  CBRempl->setObjectName(QStringLiteral("CBRempl"));
  LblCouleur2 = new QLabel(TrLabel(TrId::GetTrLblColor, QStringLiteral("Couleur :")), this);
  ColorEdit2 = new TColorEdit(this);
  ColorEdit2->setObjectName(QStringLiteral("ColorEdit2"));
  ColorEdit2->SetColor(clWhite);
  SB2 = NewColorToggle(this, "SB2", Toggles);
  LblStyle = new QLabel(TrLabel(TrId::GetTrLblStyle, QStringLiteral("Style :")), this);
  CmbBrush = new QComboBox(this);
  CmbBrush->setObjectName(QStringLiteral("CmbBrush"));
  InitBrushStyleCombo(CmbBrush);
  Motif = std::make_unique<TPatternChoice>(
      this, TrText(TrId::GetTrLblFillPattern, QStringLiteral("Motif de remplissage :")));
  Motif->SBMotif->setIcon(ToolbarIcon(TGlyph::Open, 16));
  Motif->Select = [] {
    TFilterHost* H = Host();
    return H ? H->SelectPatternFile() : QString();
  };
  FillRows->addWidget(CBRempl, 0, 0, 1, 3);
  FillRows->addWidget(LblCouleur2, 1, 0);
  FillRows->addWidget(ColorEdit2, 1, 1);
  FillRows->addWidget(SB2, 1, 2);
  FillRows->addWidget(LblStyle, 2, 0);
  FillRows->addWidget(CmbBrush, 2, 1);
  FillRows->addWidget(Motif->CBMotif, 3, 0, 1, 3);
  FillRows->addWidget(Motif->EdiMotif, 4, 0, 1, 2);
  FillRows->addWidget(Motif->SBMotif, 4, 2);

  CBPreview = new QCheckBox(TrText(TrId::GetTrLblDirectPreview, QStringLiteral("Aperçu direct")), this);
  CBPreview->setObjectName(QStringLiteral("CBPreview"));
  Main->addWidget(CBPreview);
  BApercu = new QPushButton(TrText(TrId::GetTrBtnPreview, QStringLiteral("Aperçu")), this);
  BApercu->setObjectName(QStringLiteral("BApercu"));
  auto* PreviewRow = new QHBoxLayout;
  PreviewRow->addWidget(BApercu);
  PreviewRow->addStretch(1);
  Main->addLayout(PreviewRow);
  const TOkCancel Buttons = AddOkCancel(*this, *Main);
  BOk = Buttons.BOk;
  BAnnuler = Buttons.BAnnuler;

  // Every option redraws under live preview; the boxes also re-enable.
  const auto Option = [this](QObject*) { OptionChanged(); };
  SELargeur->OnChange = Option;
  ColorEdit1->OnChange = Option;
  ColorEdit2->OnChange = Option;
  Motif->EdiMotif->OnChange = Option;
  connect(CmbBrush, &QComboBox::currentIndexChanged, this, [this] { OptionChanged(); });
  for (QCheckBox* Box : {CBContour, CBRempl})
    connect(Box, &QCheckBox::clicked, this, [this] {
      Enabling();
      OptionChanged();
    });
  connect(Motif->CBMotif, &QCheckBox::clicked, this, [this] {
    Enabling();
    OptionChanged();
  });
  connect(TBOpacite, &QSlider::valueChanged, this, [this](int Value) {
    LblOpacite->setText(OpacityText(Value));
    if (!Updating) Changed = true;
  });
  TBOpacite->OnKeyUp = [this](TTrackBar*, int, Qt::KeyboardModifiers) {
    if (CBPreview->isChecked() && Changed) Draw();
  };
  connect(CBPreview, &QCheckBox::clicked, this, [this] { PreviewClick(); });
  connect(BApercu, &QPushButton::clicked, this, [this] { Draw(); });
  connect(BOk, &QPushButton::clicked, this, [this] { BOkClick(); });
}

TStrokeFillForm::~TStrokeFillForm() = default;

bool TStrokeFillForm::Mode16M() const {
  TFilterHost* H = Host();
  return H && H->SelMasks().Mode16M();
}

bool TStrokeFillForm::FillWanted() const { return CBRempl->isChecked(); }

void TStrokeFillForm::ChangerCouleur(TColor Couleur) {
  if (SB1->isEnabled() && SB1->isChecked())
    ColorEdit1->SetColor(Couleur);
  else if (SB2->isEnabled() && SB2->isChecked())
    ColorEdit2->SetColor(Couleur);
}

void TStrokeFillForm::AcceptIniControl(QWidget* Control, bool& Accept) {
  // A pattern file is remembered only while it exists.
  if (auto* Edit = qobject_cast<TSpecialEdit*>(Control)) Accept = QFileInfo(Edit->Text()).isFile();
}

void TStrokeFillForm::OptionChanged() {
  if (Updating) return;
  Changed = true;
  if (CBPreview->isChecked()) Draw();
}

void TStrokeFillForm::PreviewClick() {
  BApercu->setEnabled(!CBPreview->isChecked());
  if (CBPreview->isChecked()) {
    if (Changed) Draw();
    return;
  }
  if (!Preview) return;
  if (TFilterHost* H = Host()) {
    H->RestaureBitmap();
    H->RefreshBitmap();
  }
  Preview = false;
  Changed = true;
}

void TStrokeFillForm::Enabling() {
  const bool M = Mode16M();
  const bool Contour = CBContour->isChecked();
  LblLargeur->setEnabled(Contour);
  SELargeur->setEnabled(Contour);
  EnableStroke(Contour);
  const bool Colour1 = Contour && !StrokePatternWanted();
  for (QWidget* W : std::initializer_list<QWidget*>{LblCouleur1, ColorEdit1, SB1}) W->setEnabled(Colour1);
  const bool Fill = CBRempl->isEnabled() && CBRempl->isChecked();
  Motif->CBMotif->setEnabled(Fill && M);
  Motif->UpdateEnabled();
  const bool Colour2 = Fill && !(Motif->CBMotif->isEnabled() && Motif->CBMotif->isChecked());
  for (QWidget* W : std::initializer_list<QWidget*>{LblCouleur2, ColorEdit2, SB2, LblStyle, CmbBrush})
    W->setEnabled(Colour2);
  // On a paletted image the colours come from the image only.
  ColorEdit1->SetReadOnly(!M);
  ColorEdit2->SetReadOnly(!M);
  if (SB1->isEnabled())
    SB1->setChecked(true);
  else if (SB2->isEnabled())
    SB2->setChecked(true);
}

void TStrokeFillForm::FormShow() {
  Preview = false;
  Changed = true;
}

void TStrokeFillForm::UpdateControls() {
  TFilterHost* H = Host();
  if (H && !Mode16M()) {
    const TColor C = H->LeBitmap().PixelColor(0, 0);
    ColorEdit1->SetColor(C);
    ColorEdit2->SetColor(C);
    CBPreview->setChecked(false);
  }
  if (Motif->EdiMotif->Text().isEmpty()) Motif->CBMotif->setChecked(false);
  Enabling();
  BApercu->setEnabled(!CBPreview->isChecked());
  if (CBPreview->isChecked()) {
    Draw();
    UpdateActiveImage();
  }
}

void TStrokeFillForm::FillRectangle(const TRect& R) {
  TFilterHost& H = *Host();
  const bool OnMask = H.DessinerSurAlpha() && !H.LeMasque().Empty();
  if (Motif->Wanted()) {
    const QString File = Motif->EdiMotif->Text();
    if (OnMask)
      FillPatternFileMask(H.SelMasks(), File, H.LeBitmap(), &H.LeMasque(), R);
    else
      FillPatternFile(H.SelMasks(), File, H.LeBitmap(), R);
    return;
  }
  const TBrushStyle Style = ComboBrushStyle(CmbBrush, -1);
  const auto Paint = [&](TBitmap& Bmp, TColor Color) {
    TCanvas& C = Bmp.Canvas();
    C.Brush.Style = Style;
    C.Brush.Color = Color;
    C.FillRect(R);
    C.Brush.Style = TBrushStyle::bsSolid;
  };
  Paint(H.LeBitmap(), ColorEdit2->Color());
  if (OnMask) Paint(H.LeMasque(), clBlack);
}

void TStrokeFillForm::Draw() {
  TFilterHost* H = Host();
  if (!H || (Preview && !Changed)) return;
  if (SELargeur->text().isEmpty()) {
    if (!CBPreview->isChecked()) WarnEmptyFields();
    return;
  }
  TBusyAction Busy(*H);
  if (Preview) H->RestaureBitmap();
  if (FillWanted()) DrawFill();
  if (CBContour->isChecked()) DrawStroke();
  AfterDraw();
  if (TBOpacite->Position() < 100) {
    TUndoList* List = H->SelMasks().ListeUndo();
    if (auto* Record = List ? dynamic_cast<TUndoBmpItem*>(List->CurrentUndo()) : nullptr)
      Record->AlphaBlend(100 - TBOpacite->Position());
  }
  H->RefreshBitmap();
  Changed = false;
  Preview = true;
}

void TStrokeFillForm::BOkClick() {
  if (SELargeur->text().isEmpty()) {
    WarnEmptyFields();
    return;
  }
  if (!CBContour->isChecked() && !FillWanted()) {
    close();
    return;
  }
  CloseOk();
  if (Changed) Draw();
  if (TFilterHost* H = Host()) H->MarkModified();
  Accepted();
}

void TStrokeFillForm::FormHide() {
  if (DialogOk) return;
  if (TFilterHost* H = Host()) H->AnnulerFiltre(Preview);
  Preview = false;
}
