#include "dialogs/ui/CRForm.h"

#include "dialogs/ui/DialogParts.h"
#include "dialogs/ui/SizeFields.h"
#include "document/SelMask.h"
#include "filters/ui/FilterHost.h"
#include "ui/ColorEdit.h"
#include "ui/SpecialEdit.h"
#include "ui/SpinEdit.h"
#include "ui/ToolbarImages.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QPointer>
#include <QToolButton>

TCRForm::TCRForm(QWidget* Parent) : TStrokeFillForm(Parent) {
  setObjectName(QStringLiteral("CRForm"));
  setWindowTitle(DialogTitle("MenuEditionContourRempl", QStringLiteral("Contour et remplissage")));
  CBLisser = new QCheckBox(TrText(TrId::GetTrLblAntialias, QStringLiteral("Lisser")), this);
  CBLisser->setObjectName(QStringLiteral("CBLisser"));
  CBLisser->setChecked(true);
  Motif2 = std::make_unique<TPatternChoice>(this, TrLabel(TrId::GetTrMnuPurgePattern, QStringLiteral("Motif :")));
  Motif2->CBMotif->setObjectName(QStringLiteral("CBMotif2"));
  Motif2->EdiMotif->setObjectName(QStringLiteral("EdiMotif2"));
  Motif2->SBMotif->setObjectName(QStringLiteral("SBMotif2"));
  Motif2->SBMotif->setIcon(ToolbarIcon(TGlyph::Open, 16));
  Motif2->Select = Motif->Select;
  StrokeRows->addWidget(CBLisser, 3, 0, 1, 3);
  StrokeRows->addWidget(Motif2->CBMotif, 4, 0, 1, 3);
  StrokeRows->addWidget(Motif2->EdiMotif, 5, 0, 1, 2);
  StrokeRows->addWidget(Motif2->SBMotif, 5, 2);
  connect(CBLisser, &QCheckBox::clicked, this, [this] { OptionChanged(); });
  Motif2->EdiMotif->OnChange = [this](QObject*) { OptionChanged(); };
  connect(Motif2->CBMotif, &QCheckBox::clicked, this, [this] {
    Enabling();
    OptionChanged();
  });
}

TCRForm::~TCRForm() = default;

bool TCRForm::ShapedSelection() const {
  TFilterHost* H = Host();
  const TSelectionState* Sel = H ? H->SelMasks().Sel() : nullptr;
  return Sel && Sel->Visible() && Sel->Shape() != ssRect;
}

void TCRForm::FormShow() {
  TStrokeFillForm::FormShow();
  IsExecuteLast = false;
  CBLisser->setVisible(Mode16M() && ShapedSelection());
}

void TCRForm::UpdateControls() {
  if (Motif2->EdiMotif->Text().isEmpty()) Motif2->CBMotif->setChecked(false);
  TStrokeFillForm::UpdateControls();
}

void TCRForm::EnableStroke(bool Contour) {
  CBLisser->setEnabled(Contour);
  Motif2->CBMotif->setEnabled(Contour && Mode16M());
  Motif2->UpdateEnabled();
}

bool TCRForm::StrokePatternWanted() const { return Motif2->CBMotif->isEnabled() && Motif2->CBMotif->isChecked(); }

void TCRForm::DrawFill() {
  TFilterHost& H = *Host();
  FillRectangle(H.LaSelection());
  // The change kept inside the selection's shape, feathered as the
  // selection's smoothing allows.
  BlendUndoOutsideSelection(H.SelMasks(), 1, HasAlpha(H.SelMasks()));
}

void TCRForm::DrawStroke() {
  TFilterHost& H = *Host();
  const bool Smooth = IsExecuteLast ? Mode16M() && ShapedSelection() && CBLisser->isChecked()
                                    : !CBLisser->isHidden() && CBLisser->isChecked();
  const QString Pattern = StrokePatternWanted() ? Motif2->EdiMotif->Text() : QString();
  DrawSelectionContour(H.SelMasks(), ColorEdit1->Color(), SELargeur->Value(), Smooth, Pattern);
}

void TCRForm::Accepted() {
  TFilterHost* H = Host();
  if (!H) return;
  QPointer<TCRForm> Self(this);
  H->DernierFiltre(windowTitle(), this, [Self](QObject*) {
    if (Self) Self->RepeatDraw();
  }, 0);
}

void TCRForm::RepeatDraw() {
  TFilterHost* H = Host();
  if (!H) return;
  H->PreparerUndo(FilterPaintUndoKind, windowTitle());
  Preview = false;
  Changed = true;
  IsExecuteLast = true;
  Draw();
  IsExecuteLast = false;
  H->MarkModified();
}
