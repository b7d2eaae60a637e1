#include "dialogs/ui/OptSel.h"

#include "dialogs/ui/DialogParts.h"
#include "dialogs/ui/EditDialogHost.h"
#include "dialogs/ui/ImageDialogHost.h"
#include "i18n/Format.h"
#include "platform/NumberFormat.h"
#include "ui/TrackBar.h"

#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

TOptionSelForm::TOptionSelForm(QWidget* Parent) : TMainDialogForm(Parent) {
  setObjectName(QStringLiteral("OptionSelForm"));
  DialogMode = TMainDialogMode::dmDialog;
  IniCustomVarCount = 2;
  auto* Main = new QVBoxLayout(this);
  LblEpaisseur = new QLabel(this);
  TBN = NewTrackBar(this, "TBN", 1, 51, 2, 10);
  Main->addWidget(LblEpaisseur);
  Main->addWidget(TBN);
  auto* Info = new QFormLayout;
  LblInfos = new QLabel(this);
  LblInfos->setObjectName(QStringLiteral("LblInfos"));
  Info->addRow(TrLabel(TrId::GetTrLblNewPos, QStringLiteral("Nouvelle position :")), LblInfos);
  Main->addLayout(Info);
  const TOkCancel Buttons = AddOkCancel(*this, *Main);
  BOk = Buttons.BOk;
  BAnnuler = Buttons.BAnnuler;
  TBN->OnChange = [this](QObject*) { TBNChange(); };
  connect(BOk, &QPushButton::clicked, this, [this] { BOkClick(); });
}

void TOptionSelForm::AcceptIniControl(QWidget*, bool& Accept) { Accept = false; }

QString TOptionSelForm::GetIniCustomVar(int Index) { return QString::number(Index == 0 ? Dilater : Contracter); }

void TOptionSelForm::SetIniCustomVar(int Index, const QString& Value) {
  const int Width = std::clamp(StrToIntDef(Value, 10, true), TBN->minimum(), TBN->maximum());
  (Index == 0 ? Dilater : Contracter) = Width;
}

void TOptionSelForm::UpdateControls() {
  TBN->SetPosition(Flag == 1 ? Contracter : Dilater);
  TBNChange();
}

void TOptionSelForm::TBNChange() {
  LblEpaisseur->setText(Format(Tr(TrId::GetTrFmtWidth), {TBN->Position()}));
  ComputeRect();
}

TRect TOptionSelForm::ComputeRect() {
  TEditDialogHost* Edit = EditDialogHost();
  TSelectionState* Sel = Edit ? Edit->SelMasks().Sel() : nullptr;
  if (!Sel) return {};
  const int N = TBN->Position();
  (Flag == 1 ? Contracter : Dilater) = N;
  const int D = Flag == 1 ? -N : N;
  TRect R = Sel->BmpSelRect();
  R = {R.Left - D, R.Top - D, R.Right + D, R.Bottom + D};
  if (R.IsEmpty()) {
    LblInfos->setText(QStringLiteral("?"));
    return {};
  }
  LblInfos->setText(Format(Tr(TrId::GetTrFmtInfoSel2),
                           {R.Left, R.Top, R.Right - 1, R.Bottom - 1, R.Width(), R.Height()}));
  return R;
}

void TOptionSelForm::BOkClick() {
  CloseOk();
  TEditDialogHost* Edit = EditDialogHost();
  TSelectionState* Sel = Edit ? Edit->SelMasks().Sel() : nullptr;
  if (!Sel) return;
  TRect R = ComputeRect();
  if (R.IsEmpty()) {
    Edit->MasquerSelection();
    return;
  }
  if (Sel->Shape() == ssBitmap) {
    TImageDialogHost* Host = ActiveImageDialogHost();
    if (Host) Host->DebutAction(QString(), true);
    const int D = Flag == 1 ? -TBN->Position() : TBN->Position();
    const TRect Old = Sel->BmpSelRect();
    const TRect Traced = Sel->ShapeManager().InflateEx(D);
    // A shrunk trace lies in the old rectangle's coordinates.
    if (D < 0) R = {Old.Left + Traced.Left, Old.Top + Traced.Top, Old.Left + Traced.Right, Old.Top + Traced.Bottom};
    if (Host) Host->FinAction();
    if (R.IsEmpty()) {
      Edit->MasquerSelection();
      return;
    }
  }
  Sel->SetBmpSelRect(R);
}
