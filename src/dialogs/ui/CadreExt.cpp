#include "dialogs/ui/CadreExt.h"

#include "dialogs/ui/DialogParts.h"
#include "dialogs/ui/EditDialogHost.h"
#include "dialogs/ui/ImageResize.h"
#include "dialogs/ui/OuterCanvas.h"
#include "dialogs/ui/SizeFields.h"
#include "raster/Bitmap24.h"
#include "ui/ColorEdit.h"
#include "ui/SpecialEdit.h"
#include "ui/SpinEdit.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

TCadreExtForm::TCadreExtForm(QWidget* Parent) : TPipetteForm(Parent) {
  setObjectName(QStringLiteral("CadreExtForm"));
  setWindowTitle(DialogTitle("MenuImageEncadrerExt", QStringLiteral("Encadrement extérieur")));
  DialogMode = TMainDialogMode::dmPipette;
  auto* Main = new QVBoxLayout(this);
  auto* Form = new QFormLayout;
  SELargeur = NewSpinEdit2(this, "SELargeur", 1, 500, 20, 3);
  Form->addRow(TrLabel(TrId::GetTrLblWidth, QStringLiteral("Largeur :")), SELargeur);
  ColorEdit = new TColorEdit(this);
  ColorEdit->setObjectName(QStringLiteral("ColorEdit"));
  ColorEdit->SetColor(clWhite);
  Form->addRow(TrLabel(TrId::GetTrLblColor, QStringLiteral("Couleur :")), ColorEdit);
  Pattern = std::make_unique<TPatternChoice>(this, TrText(TrId::GetTrLblBkgPattern, QStringLiteral("Motif de fond :")));
  Pattern->EdiMotif->setProperty("Tag", -772);
  auto* PatternRow = new QHBoxLayout;
  PatternRow->addWidget(Pattern->EdiMotif, 1);
  PatternRow->addWidget(Pattern->SBMotif);
  Form->addRow(Pattern->CBMotif, PatternRow);
  Main->addLayout(Form);
  const TOkCancel Buttons = AddOkCancel(*this, *Main);
  BOk = Buttons.BOk;
  BAnnuler = Buttons.BAnnuler;
  Pattern->Select = [] { return ImageDialogHost() ? ImageDialogHost()->SelectPatternFile() : QString(); };
  connect(BOk, &QPushButton::clicked, this, [this] { BOkClick(); });
}

TCadreExtForm::~TCadreExtForm() = default;

void TCadreExtForm::FormShow() {
  const TImageDialogHost* Host = ActiveImageDialogHost();
  const bool FewColours = Host && !Host->Mode16M();
  ColorEdit->SetReadOnly(FewColours);
  Pattern->CBMotif->setEnabled(!FewColours);
}

void TCadreExtForm::UpdateControls() {
  // An image of 256 colours or fewer is framed in the colour of its corner,
  // which its palette holds.
  if (TImageDialogHost* Host = ActiveImageDialogHost(); Host && !Host->Mode16M())
    ColorEdit->SetColor(Host->LeFond().PixelColor(0, 0));
  if (Pattern->EdiMotif->Text().isEmpty()) Pattern->CBMotif->setChecked(false);
  Pattern->UpdateEnabled();
}

void TCadreExtForm::ChangerCouleur(TColor Couleur) {
  if (!ColorEdit->ReadOnly()) ColorEdit->SetColor(Couleur);
}

void TCadreExtForm::ApplyFrame(QObject* Sender) {
  TImageDialogHost* Host = ActiveImageDialogHost();
  TEditDialogHost* Edit = EditDialogHost();
  if (!Host || !Edit) return;
  const int N = SELargeur->Value();
  const int W = Host->LeFond().Width() + 2 * N, H = Host->LeFond().Height() + 2 * N;
  TPattern32 Motif;
  if (!AcceptImageSize(W, H) || !ReadOuterPattern(*Host, *Pattern, Motif)) return;
  TActionScope Action(*Host);
  const QString Titre = Host->TitreMenu(QStringLiteral("MenuImageEncadrerExt"));
  Host->PreparerUndo(UndoKindBkgAll, Titre);
  if (!GuardMemory(*Host, int64_t(W) * H * 3, [&] {
        MakeOuterCanvas(*Host, W, H, ColorEdit->Color(), Motif, N, N);
        CopyBitmap24(Host->BmpUndo(), Host->LeFond(), N, N);
      }))
    return;
  EndOuterCanvas(*Host, N, N);
  Edit->DernierFiltre(Titre, Sender, [this](QObject* S) { ApplyFrame(S); }, 0);
}

void TCadreExtForm::BOkClick() {
  if (SELargeur->text().isEmpty()) {
    WarnEmptyFields();
    return;
  }
  CloseOk();
  ApplyFrame(this);
}
