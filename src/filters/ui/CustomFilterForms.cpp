#include "filters/ui/CustomFilterForms.h"

#include "document/Undo.h"
#include "filters/Convolution.h"
#include "filters/Filtres24.h"
#include "filters/ui/EffectHost.h"
#include "filters/ui/EffectLayout.h"
#include "i18n/Format.h"
#include "i18n/LibLang.h"
#include "tools/Gradient.h"
#include "ui/ColorEdit.h"
#include "ui/DirectionEdit.h"
#include "ui/SpinEdit.h"
#include "ui/TrackBar.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFont>
#include <QHideEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QToolButton>

namespace {

// A language module's text, else the French one.
QString TrElse(TrId Id, const QString& French) { return Tr(Id).isEmpty() ? French : Tr(Id); }

constexpr int CentreCell = 12;
constexpr int DivisorCell = 25;
constexpr int OffsetCell = 26;

int DesignValue(int Cell) { return Cell == CentreCell || Cell == DivisorCell ? 1 : 0; }

} // namespace

// ---- Custom kernel -----------------------------------------------------------------------------------------------

TPersoForm::TPersoForm(QWidget* Parent) : TFilterNForm(Parent) {
  setObjectName(QStringLiteral("PersoForm"));
  setWindowTitle(Title(QStringLiteral("MenuFiltrePerso")));
  DeleteMainBar();
  CBRealTime->setObjectName(QStringLiteral("CBPreview"));
  QLabel* Matrix = NewLabel(TrElse(TrId::GetTrLblMatrix, QStringLiteral("Matrice :")), 12);
  const int Top = Matrix->y() + Matrix->height() + Rescale(4);
  const int Cell = Rescale(48);
  for (int I = 0; I < 25; ++I) {
    SE[I] = NewSpinEdit(0, 0, DesignValue(I), 0);
    SE[I]->setGeometry(BApercu->x() + (I % 5) * (Cell + Rescale(4)), Top + (I / 5) * Rescale(26), Cell,
                       SE[I]->height());
  }
  QFont Bold = SE[CentreCell]->font();
  Bold.setBold(true);
  SE[CentreCell]->setFont(Bold);
  SE[CentreCell]->setStyleSheet(QStringLiteral("color: #800000"));
  NewLabel(TrElse(TrId::GetTrLblDivisor, QStringLiteral("Diviseur :")), 12);
  SE[DivisorCell] = NewSpinEdit(0, 0, 1, 2);
  QLabel* Offset = NewLabel(TrElse(TrId::GetTrMnuOffset, QStringLiteral("Décaler :")), 0);
  SE[OffsetCell] = NewSpinEdit(0, 0, 0, 0);
  PlaceBeside(*this, Offset, SE[OffsetCell], SE[DivisorCell]);
  for (int I = 0; I < 27; ++I) {
    SE[I]->setObjectName(QStringLiteral("SE%1").arg(I, 2, 10, QLatin1Char('0')));
    SE[I]->setMaxLength(3);
  }
  BReset = NewResetButton();
  BReset->move(BReset->x(), ControlsBottom(BReset) + Rescale(16));
  ArrangeButtons();
  // Ok shows a divisor of 0 as the 1 it counts as.
  disconnect(BOk, nullptr, this, nullptr);
  connect(BOk, &QPushButton::clicked, this, [this] {
    if (!SE[DivisorCell]->text().isEmpty() && SE[DivisorCell]->Value() == 0) SE[DivisorCell]->SetValue2(1);
    BOkClick();
  });
}

bool TPersoForm::AllDefault() const {
  for (int I = 0; I < 27; ++I)
    if (SE[I]->Value() != DesignValue(I)) return false;
  return true;
}

void TPersoForm::ResetParams() {
  for (int I = 0; I < 27; ++I) SE[I]->SetValue(DesignValue(I));
}

void TPersoForm::BuildMatrix(TFilterMatrix& M) const {
  M = TFilterMatrix(5, 5);
  for (int I = 0; I < 25; ++I) M.SetValueXY(I % 5, I / 5, SE[I]->Value());
  const int Divisor = SE[DivisorCell]->Value();
  M.SetDivisor(Divisor == 0 ? 1 : Divisor);
  M.SetOffset(SE[OffsetCell]->Value());
}

void TPersoForm::ApplyFilter() {
  TFilterMatrix M;
  BuildMatrix(M);
  Convolve(Bitmap(), M, 100, 0, WorkRect());
}

// ---- Gradient overlay --------------------------------------------------------------------------------------------

int GradientCodeOfDirection(int Direction) {
  static constexpr int Codes[8] = {3, 9, 4, 8, 5, 7, 2, 6};
  return Direction >= 0 && Direction < 8 ? Codes[Direction] : Codes[6];
}

namespace {

// A slider across the dialog under the lowest control, with its label
// above it: the label follows the position, the release previews.
TTrackBar* NewGradientBar(TFilterNForm& Form, const QString& Name, int Min, int Max, int Page, int Pos, QLabel* Label,
                          const QString& Fmt) {
  auto* T = new TTrackBar(&Form);
  T->setObjectName(Name);
  T->setRange(Min, Max);
  T->setPageStep(Page);
  T->SetPosition(Pos);
  T->setGeometry(Form.Rescale(10), Label->y() + Label->height() + Form.Rescale(2), Form.width() - Form.Rescale(20),
                 Form.Rescale(28));
  Form.PrepareTrackBar(T);
  const auto Show = [Label, T, Fmt] {
    Label->setText(Format(Fmt, {T->Position()}));
    Label->adjustSize();
  };
  Show();
  T->OnChange = [&Form, Show](QObject*) {
    Show();
    Form.ParamChanged(false);
  };
  T->OnKeyUp = [&Form](TTrackBar*, int, Qt::KeyboardModifiers) { Form.TrackBarKeyUp(); };
  return T;
}

QToolButton* NewPickerButton(TFilterNForm& Form, TColorEdit* Edit, const QString& Name, bool Down) {
  auto* B = new QToolButton(&Form);
  B->setObjectName(Name);
  B->setCheckable(true);
  B->setChecked(Down);
  B->setAutoRaise(true);
  B->setText(QStringLiteral("⊙"));
  B->setGeometry(Edit->x() + Edit->width() + 1, Edit->y(), Edit->height(), Edit->height());
  return B;
}

} // namespace

TGradientForm::TGradientForm(QWidget* Parent) : TFilterNForm(Parent) {
  setObjectName(QStringLiteral("GradientForm"));
  setWindowTitle(Title(QStringLiteral("MenuFiltreDegrade")));
  DeleteMainBar();
  LastFilterInfo = FilterPaintUndoKind;
  const QString Opacity = Tr(TrId::GetTrFmtOpacity);
  const auto Group = [&](TrId Caption, TColor Color, const char* Edit, const char* Button, const char* Bar,
                         bool Down, TColorEdit*& E, QToolButton*& B, QLabel*& L, TTrackBar*& T) {
    NewLabel(Tr(Caption), 12);
    E = NewColorEdit(Color, 2);
    E->setObjectName(QString::fromLatin1(Edit));
    B = NewPickerButton(*this, E, QString::fromLatin1(Button), Down);
    L = NewLabel(Format(Opacity, {50}), 4);
    T = NewGradientBar(*this, QString::fromLatin1(Bar), 0, 100, 5, 50, L, Opacity);
  };
  Group(TrId::GetTrLblColor1, clBlack, "ColorEdit1", "SB1", "TBAlpha1", true, ColorEdit1, SB1, LblAlpha1, TBAlpha1);
  Group(TrId::GetTrLblColor2, clWhite, "ColorEdit2", "SB2", "TBAlpha2", false, ColorEdit2, SB2, LblAlpha2, TBAlpha2);
  // One of the two may be down, or none.
  for (QToolButton* B : {SB1, SB2})
    connect(B, &QToolButton::clicked, this, [this, B](bool Down) {
      if (Down) (B == SB1 ? SB2 : SB1)->setChecked(false);
    });
  NewLabel(TrElse(TrId::GetTrLblDirection, QStringLiteral("Direction")), 12);
  DirectionEdit = NewDirectionEdit(6, 2);
  DirectionEdit->setObjectName(QStringLiteral("DirectionEdit"));
  RBBichrom = NewRadioBtn(TrElse(TrId::GetTrMnuDuotone, QStringLiteral("Bichrome")), true, 0);
  RBMonochrom = NewRadioBtn(TrElse(TrId::GetTrLblMonochrom, QStringLiteral("Monochrome")), false, 4);
  RBBichrom->move(DirectionEdit->x() + DirectionEdit->width() + Rescale(24), DirectionEdit->y() + Rescale(6));
  RBMonochrom->move(RBBichrom->x(), RBBichrom->y() + Rescale(22));
  RBBichrom->setObjectName(QStringLiteral("RBBichrom"));
  RBMonochrom->setObjectName(QStringLiteral("RBMonochrom"));
  connect(RBBichrom, &QRadioButton::toggled, this, [this](bool) { RGStyleClick(); });
  LblNoise = NewLabel(Format(Tr(TrId::NoiseFormat), {0}), 12);
  TBNoise = NewGradientBar(*this, QStringLiteral("TBNoise"), 0, 20, 1, 0, LblNoise, Tr(TrId::NoiseFormat));
  ArrangeButtons();
}

void TGradientForm::RGStyleClick() {
  const bool Two = RBBichrom->isChecked();
  for (QWidget* W : std::initializer_list<QWidget*>{ColorEdit2, SB2, LblAlpha2, TBAlpha2}) W->setEnabled(Two);
  if (Two) {
    SB1->setChecked(true);
    SB2->setChecked(false);
  } else {
    SB2->setChecked(false);
  }
}

void TGradientForm::UpdateControls() { RGStyleClick(); }

void TGradientForm::ChangerCouleur(TColor Couleur) { (SB1->isChecked() ? ColorEdit1 : ColorEdit2)->SetColor(Couleur); }

void TGradientForm::ApplyFilter() {
  const TColor C1 = ColorEdit1->Color();
  const int A1 = TBAlpha1->Position();
  const bool Two = RBBichrom->isChecked();
  const TColor C2 = Two ? ColorEdit2->Color() : C1;
  const int A2 = Two ? TBAlpha2->Position() : 0;
  const int Code = GradientCodeOfDirection(DirectionEdit->Direction());
  const TEffectHost* E = EffectHost();
  if (E && FilterHost()->DessinerSurAlpha())
    GradientFillMasked24(Bitmap(), &FilterHost()->LeMasque(), C1, A1, C2, A2, Code, WorkRect());
  else
    GradientFill24(Bitmap(), C1, A1, C2, A2, Code, WorkRect());
  if (TBNoise->Position() > 0) MonoNoise24(Bitmap(), TBNoise->Position(), WorkRect());
}

// ---- Fade --------------------------------------------------------------------------------------------------------

TAttenuerForm::TAttenuerForm(QWidget* Parent) : TMainDialogForm(Parent) {
  setObjectName(QStringLiteral("AttenuerForm"));
  IniOptions = ioPosition;
  DialogMode = TMainDialogMode::dmDialog;
  setFixedWidth(Rescale(298));
  LblN = new QLabel(this);
  LblN->move(Rescale(16), Rescale(16));
  TBN = new TTrackBar(this);
  TBN->setObjectName(QStringLiteral("TBN"));
  TBN->setGeometry(Rescale(10), Rescale(32), width() - Rescale(20), Rescale(28));
  TBN->setRange(0, 100);
  TBN->setPageStep(5);
  TBN->SetPosition(100);
  PrepareTrackBar(TBN);
  const auto ShowLabel = [this] {
    LblN->setText(Format(Tr(TrId::GetTrFmtOpacity), {TBN->Position()}));
    LblN->adjustSize();
  };
  ShowLabel();
  TBN->OnChange = [this, ShowLabel](QObject*) {
    ShowLabel();
    Changed = true;
  };
  TBN->OnKeyUp = [this](TTrackBar*, int, Qt::KeyboardModifiers) {
    if (!Changed) return;
    FadeLast(TBN->Position());
    Changed = false;
    Preview = true;
  };
  BOk = new QPushButton(Tr(TrId::GetTrBtnOk), this);
  BAnnuler = new QPushButton(Tr(TrId::GetTrBtnCancel), this);
  BOk->setGeometry(Rescale(128), Rescale(76), Rescale(75), Rescale(25));
  BAnnuler->setGeometry(Rescale(208), Rescale(76), Rescale(75), Rescale(25));
  for (QPushButton* B : {BOk, BAnnuler}) B->setAutoDefault(false);
  connect(BOk, &QPushButton::clicked, this, [this] { BOkClick(); });
  connect(BAnnuler, &QPushButton::clicked, this, [this] { close(); });
  OkButton = BOk;
  CancelButton = BAnnuler;
  resize(width(), Rescale(117));
}

void TAttenuerForm::FadeLast(int Opacity) {
  TFilterHost* F = FilterHost();
  TEffectHost* E = EffectHost();
  TUndoList* List = E ? FilterHost()->SelMasks().ListeUndo() : nullptr;
  if (!F || !List) return;
  auto* Fade = dynamic_cast<TUndoBmpItem*>(List->CurrentUndo());
  auto* Step = dynamic_cast<TUndoBmpItem*>(List->PrevUndo());
  if (!Fade || !Step) return;
  F->DebutAction(QString(), true);
  Fade->Restore();
  Step->AlphaBlend(100 - Opacity);
  F->RefreshBitmap();
  F->FinAction();
}

void TAttenuerForm::showEvent(QShowEvent* Event) {
  if (!Event->spontaneous()) {
    if (const TFilterHost* F = FilterHost()) setWindowTitle(F->TitreMenu(QStringLiteral("MenuAttenuer")));
    Preview = false;
    Changed = false;
  }
  TMainDialogForm::showEvent(Event);
}

void TAttenuerForm::BOkClick() {
  CloseOk();
  TEffectHost* E = EffectHost();
  TFilterHost* F = FilterHost();
  if (!E || !F || !F->UneImage()) return;
  if (TUndoList* List = FilterHost()->SelMasks().ListeUndo())
    if (TUndoItem* Fade = List->CurrentUndo()) Fade->SetFlag(3, TBN->Position());
  E->SetFlagUndoAttenuer();
  F->MarkModified();
  F->LayerChanged();
  E->MajMenus();
}

void TAttenuerForm::hideEvent(QHideEvent* Event) {
  TMainDialogForm::hideEvent(Event);
  if (Event->spontaneous() || DialogOk) return;
  if (Nouveau) {
    if (TFilterHost* F = FilterHost()) F->AnnulerFiltre(Preview);
  } else if (Preview) {
    TEffectHost* E = EffectHost();
    const TUndoItem* Fade = E && FilterHost()->SelMasks().ListeUndo() ? FilterHost()->SelMasks().ListeUndo()->CurrentUndo() : nullptr;
    if (Fade) FadeLast(Fade->GetFlag(3));
  }
  Preview = false;
}
