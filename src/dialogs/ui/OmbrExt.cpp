#include "dialogs/ui/OmbrExt.h"

#include "dialogs/ui/DialogParts.h"
#include "dialogs/ui/EditDialogHost.h"
#include "dialogs/ui/ImageResize.h"
#include "dialogs/ui/OuterCanvas.h"
#include "dialogs/ui/SizeFields.h"
#include "filters/Blur24.h"
#include "raster/Bitmap24.h"
#include "raster/ColorFill.h"
#include "raster/ImgUtils.h"
#include "ui/ColorEdit.h"
#include "ui/RadioGroup.h"
#include "ui/SpecialEdit.h"
#include "ui/SpinEdit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

TShadowPlaces ShadowPlaces(int Position, int N, int M) {
  const bool Bottom = Position == 1 || Position == 3, Right = Position >= 2;
  // The shadow lies N further along the direction than the picture.
  const TPoint Shadow{(Right ? N : 0) + M, (Bottom ? N : 0) + M};
  const TPoint Picture{(Right ? 0 : N) + M, (Bottom ? 0 : N) + M};
  return {Shadow, Picture};
}

TOmbreExtForm::TOmbreExtForm(QWidget* Parent) : TPipetteForm(Parent) {
  setObjectName(QStringLiteral("OmbreExtForm"));
  setWindowTitle(DialogTitle("MenuImageOmbrageExt", QStringLiteral("Ombre extérieure")));
  DialogMode = TMainDialogMode::dmPipette;
  auto* Main = new QVBoxLayout(this);
  auto* Form = new QFormLayout;
  SE1 = NewSpinEdit2(this, "SE1", 2, 500, 12, 2);
  Form->addRow(TrLabel(TrId::GetTrLblWidth, QStringLiteral("Largeur :")), SE1);
  SE3 = NewSpinEdit2(this, "SE3", 0, 500, 0, 3);
  Form->addRow(TrLabel(TrId::GetTrLblMargin, QStringLiteral("Marge :")), SE3);
  const auto ColorRow = [&](const char* Edit, const char* Button, TColor Color, TrId Id, const char* French,
                            QToolButton*& B) {
    auto* E = new TColorEdit(this);
    E->setObjectName(QString::fromLatin1(Edit));
    E->SetColor(Color);
    B = new QToolButton(this);
    B->setObjectName(QString::fromLatin1(Button));
    B->setCheckable(true);
    B->setText(QStringLiteral("⁄"));
    auto* Row = new QHBoxLayout;
    Row->addWidget(E, 1);
    Row->addWidget(B);
    Form->addRow(TrLabel(Id, QString::fromUtf8(French)), Row);
    return E;
  };
  ColorEdit1 = ColorRow("ColorEdit1", "SB1", clWhite, TrId::GetTrLblBkg, "Fond :", SB1);
  ColorEdit2 = ColorRow("ColorEdit2", "SB2", clBlack, TrId::GetTrLblColor, "Couleur :", SB2);
  auto* Eyedropper = new QButtonGroup(this);
  Eyedropper->addButton(SB1);
  Eyedropper->addButton(SB2);
  SE2 = NewSpinEdit2(this, "SE2", 10, 100, 80, 3);
  Form->addRow(TrLabel(TrId::GetTrLblOpacity, QStringLiteral("Opacité :")), SE2);
  Main->addLayout(Form);

  RGPos = new TRadioGroup(this);
  RGPos->setObjectName(QStringLiteral("RGPos"));
  RGPos->setTitle(TrText(TrId::GetTrLblPosition, QStringLiteral("Position")).prepend(u' ').append(u' '));
  RGPos->SetItems({TrText(TrId::GetTrLblTopLeft, QStringLiteral("Haut / Gauche")),
                   TrText(TrId::GetTrLblBottomLeft, QStringLiteral("Bas / Gauche")),
                   TrText(TrId::GetTrLblTopRight, QStringLiteral("Haut / Droite")),
                   TrText(TrId::GetTrLblBottomRight, QStringLiteral("Bas / Droite"))});
  RGPos->SetColumns(2);
  RGPos->SetItemIndex(3);
  Main->addWidget(RGPos);

  auto* Style = new QGroupBox(TrText(TrId::GetTrLblStyle, QStringLiteral("Style")).prepend(u' ').append(u' '), this);
  Style->setObjectName(QStringLiteral("GBStyle"));
  auto* StyleForm = new QFormLayout(Style);
  RBPlat = new QRadioButton(TrText(TrId::GetTrLblFlat, QStringLiteral("Plat")), Style);
  RBPlat->setObjectName(QStringLiteral("RBPlat"));
  RBProgressif = new QRadioButton(TrText(TrId::GetTrMnuProgressiveContour, QStringLiteral("Contour progressif")), Style);
  RBProgressif->setObjectName(QStringLiteral("RBProgressif"));
  RBProgressif->setChecked(true);
  StyleForm->addRow(RBPlat);
  StyleForm->addRow(RBProgressif);
  SE4 = NewSpinEdit2(Style, "SE4", 1, 50, 6, 2);
  LblRayon = new QLabel(TrLabel(TrId::GetTrLblRadius, QStringLiteral("Rayon :")), Style);
  StyleForm->addRow(LblRayon, SE4);
  Main->addWidget(Style);

  Pattern = std::make_unique<TPatternChoice>(this, TrText(TrId::GetTrLblBkgPattern, QStringLiteral("Motif de fond :")));
  Pattern->EdiMotif->setProperty("Tag", -772);
  auto* PatternRow = new QHBoxLayout;
  PatternRow->addWidget(Pattern->CBMotif);
  PatternRow->addWidget(Pattern->EdiMotif, 1);
  PatternRow->addWidget(Pattern->SBMotif);
  Main->addLayout(PatternRow);
  const TOkCancel Buttons = AddOkCancel(*this, *Main);
  BOk = Buttons.BOk;
  BAnnuler = Buttons.BAnnuler;
  Pattern->Select = [] { return ImageDialogHost() ? ImageDialogHost()->SelectPatternFile() : QString(); };

  connect(RBPlat, &QRadioButton::clicked, this, [this] { RBStyleClick(); });
  connect(RBProgressif, &QRadioButton::clicked, this, [this] { RBStyleClick(); });
  SE1->OnChange = [this](QObject*) { SE1Change(); };
  SE4->OnChange = [this](QObject*) { SE4Change(); };
  connect(BOk, &QPushButton::clicked, this, [this] { BOkClick(); });
}

TOmbreExtForm::~TOmbreExtForm() = default;

void TOmbreExtForm::FormShow() { SB2->setChecked(true); }

void TOmbreExtForm::UpdateControls() {
  if (Pattern->EdiMotif->Text().isEmpty()) Pattern->CBMotif->setChecked(false);
  Pattern->UpdateEnabled();
  SE4->setEnabled(RBProgressif->isChecked());
  LblRayon->setEnabled(RBProgressif->isChecked());
  SE1->SetMinValue(RBProgressif->isChecked() ? 2 : 1);
}

void TOmbreExtForm::ChangerCouleur(TColor Couleur) { (SB1->isChecked() ? ColorEdit1 : ColorEdit2)->SetColor(Couleur); }

void TOmbreExtForm::RBStyleClick() {
  const bool Soft = RBProgressif->isChecked();
  SE4->setEnabled(Soft);
  LblRayon->setEnabled(Soft);
  SE1->SetMinValue(Soft ? 2 : 1);
  if (Soft) SE4Change();
}

// The soft outline's radius never exceeds half the width.
void TOmbreExtForm::SE1Change() {
  if (SE1->text().isEmpty() || !RBProgressif->isChecked()) return;
  if (SE1->Value() / 2 < SE4->Value()) SE4->SetValue2(SE1->Value() / 2);
}

void TOmbreExtForm::SE4Change() {
  if (SE4->text().isEmpty()) return;
  if (SE1->Value() < 2 * SE4->Value()) SE1->SetValue2(2 * SE4->Value());
}

void TOmbreExtForm::PaintShadow(int X, int Y, int W, int H) {
  TBitmap& Fond = ImageDialogHost()->LeFond();
  const int Opacity = SE2->Value();
  if (RBPlat->isChecked()) {
    FillColor24(Fond, ColorEdit2->Color(), Opacity, {X, Y, X + W, Y + H});
    return;
  }
  // Opaque inside, fading over the radius towards the edges.
  const int R = SE4->Value();
  TBitmap Mask(W, H, pf24bit, clBlack);
  AddBorder(Mask, R, clWhite, false);
  GaussianBlurRadius(Mask, R, WholeBitmapRect);
  FillColorMask24(Mask, WholeBitmapRect, Fond, X, Y, WholeBitmapRect, ColorEdit2->Color(), Opacity);
}

void TOmbreExtForm::ApplyShadow(QObject* Sender) {
  TImageDialogHost* Host = ActiveImageDialogHost();
  TEditDialogHost* Edit = EditDialogHost();
  if (!Host || !Edit) return;
  const int N = SE1->Value(), M = SE3->Value();
  const int OldW = Host->LeFond().Width(), OldH = Host->LeFond().Height();
  const int W = OldW + N + 2 * M, H = OldH + N + 2 * M;
  TPattern32 Motif;
  if (!AcceptImageSize(W, H) || !ReadOuterPattern(*Host, *Pattern, Motif)) return;
  const TShadowPlaces At = ShadowPlaces(RGPos->ItemIndex(), N, M);
  TActionScope Action(*Host);
  const QString Titre = Host->TitreMenu(QStringLiteral("MenuImageOmbrageExt"));
  Host->PreparerUndo(UndoKindBkgAll, Titre);
  if (!GuardMemory(*Host, int64_t(W) * H * 3, [&] {
        MakeOuterCanvas(*Host, W, H, ColorEdit1->Color(), Motif, At.Picture.X, At.Picture.Y);
        PaintShadow(At.Shadow.X, At.Shadow.Y, OldW, OldH);
        ROffset = {At.Picture.X, At.Picture.Y, At.Picture.X + OldW, At.Picture.Y + OldH};
        CopyBitmap24(Host->BmpUndo(), Host->LeFond(), ROffset.Left, ROffset.Top);
      }))
    return;
  EndOuterCanvas(*Host, ROffset.Left, ROffset.Top);
  Edit->DernierFiltre(Titre, Sender, [this](QObject* S) { ApplyShadow(S); }, 0);
}

void TOmbreExtForm::BOkClick() {
  if (SE1->text().isEmpty() || SE2->text().isEmpty() || SE3->text().isEmpty()) {
    WarnEmptyFields();
    return;
  }
  CloseOk();
  ApplyShadow(this);
}
