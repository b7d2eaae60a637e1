#include "filters/ui/FilterNForm.h"

#include "filters/ui/DialogTexts.h"
#include "i18n/Format.h"
#include "i18n/LibLang.h"
#include "raster/FilterEvent.h"
#include "ui/ColorEdit.h"
#include "ui/DirectionEdit.h"
#include "ui/DlgColors.h"
#include "ui/GlyphButtons.h"
#include "ui/MsgDlg.h"
#include "ui/MyBevel.h"
#include "ui/RadioGroup.h"
#include "ui/SimplePanel.h"
#include "ui/SpinEdit.h"
#include "ui/TrackBar.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include <type_traits>
#include <utility>

namespace {

// A combo box that gives the focus to Ok when its list closes.
class TFilterComboBox : public QComboBox {
public:
  TFilterComboBox(QWidget* Parent, QWidget* FocusOnClose) : QComboBox(Parent), FFocus(FocusOnClose) {}
  void hidePopup() override {
    QComboBox::hidePopup();
    if (FFocus) FFocus->setFocus();
  }

private:
  QPointer<QWidget> FFocus;
};

// The caption of a language module's text when one replaced it.
void Translate(QAbstractButton* Button, TrId Id) {
  if (!Tr(Id).isEmpty()) Button->setText(Tr(Id));
}

} // namespace

TFilterNForm::TFilterNForm(QWidget* Parent) : TPipetteForm(Parent) {
  setWindowTitle(QStringLiteral("Filtre"));
  LblN = new QLabel(QStringLiteral("Format"), this);
  LblN->move(Rescale(16), Rescale(16));
  TBN = new TTrackBar(this);
  TBN->setObjectName(QStringLiteral("TBN"));
  TBN->setGeometry(Rescale(10), Rescale(32), Rescale(279), Rescale(28));
  TBN->setRange(1, 100);
  TBN->setPageStep(5);
  TBN->SetFrequency(5);
  TBN->SetPosition(20);
  TBN->SetThumbLength(18);
  CBRealTime = new QCheckBox(QStringLiteral("Aperçu direct"), this);
  CBRealTime->setObjectName(QStringLiteral("CBRealTime"));
  CBRealTime->setGeometry(Rescale(16), Rescale(68), 200, Rescale(17));
  const auto MakeButton = [this](const QString& Caption, const char* Name, int Left) {
    auto* B = new QPushButton(Caption, this);
    B->setObjectName(QString::fromLatin1(Name));
    B->setAutoDefault(false);
    B->setGeometry(Rescale(Left), Rescale(112), Rescale(75), Rescale(25));
    return B;
  };
  BApercu = MakeButton(QStringLiteral("Aperçu"), "BApercu", 16);
  BOk = MakeButton(QStringLiteral("Ok"), "BOk", 128);
  BAnnuler = MakeButton(QStringLiteral("Annuler"), "BAnnuler", 208);
  Translate(BOk, TrId::GetTrBtnOk);
  Translate(BAnnuler, TrId::GetTrBtnCancel);
  Translate(BApercu, TrId::GetTrBtnPreview);
  Translate(CBRealTime, TrId::GetTrLblDirectPreview);
  setFixedWidth(Rescale(298));
  resize(Rescale(298), Rescale(152));

  TBN->setFixedWidth(width() - 2 * TBN->x());
  TBN->OnChange = [this](QObject*) { TBNChange(); };
  TBN->OnKeyUp = [this](TTrackBar*, int, Qt::KeyboardModifiers) { TrackBarKeyUp(); };
  PrepareTrackBar(TBN);
  LblN->setText(Format(FormatStr, {TBN->Position()}));
  LblN->adjustSize();
  connect(CBRealTime, &QCheckBox::toggled, this, [this] { CBRealTimeClick(); });
  connect(BApercu, &QPushButton::clicked, this, [this] { BApercuClick(); });
  connect(BOk, &QPushButton::clicked, this, [this] { BOkClick(); });
  connect(BAnnuler, &QPushButton::clicked, this, [this] { close(); });
  OkButton = BOk;
  CancelButton = BAnnuler;
  PlaceInTabOrder(nullptr);
}

// ---- Set-up ------------------------------------------------------------------------------------------------------

QString TFilterNForm::Title(const QString& MenuItemName) const {
  const TFilterHost* H = FilterHost();
  return H ? H->TitreMenu(MenuItemName) : QString();
}

void TFilterNForm::SetMainBar(int Min, int Max, int Frequency, int PgSize, int Pos, const QString& BarFormat) {
  TBN->setMinimum(Min);
  TBN->setMaximum(Max);
  TBN->SetFrequency(Frequency);
  TBN->setPageStep(PgSize);
  {
    const bool Saved = std::exchange(Updating, true);
    TBN->SetPosition(Pos);
    Updating = Saved;
  }
  PrepareTrackBar(TBN);
  if (!BarFormat.isEmpty()) FormatStr = BarFormat;
  LblN->setText(Format(FormatStr, {Pos}));
  LblN->adjustSize();
}

void TFilterNForm::DeleteMainBar() {
  delete LblN;
  delete TBN;
  LblN = nullptr;
  TBN = nullptr;
  PlaceInTabOrder(nullptr);
}

void TFilterNForm::SetDirectPreview() {
  BApercu->hide();
  CBRealTime->hide();
  DirectPreview = true;
  ArrangeButtons();
}

void TFilterNForm::AcceptIniControl(QWidget* Control, bool& Accept) {
  if (DirectPreview && Control == CBRealTime) Accept = false;
}

void TFilterNForm::ChangerCouleur(TColor Couleur) {
  if (IsPipetteForm && DefaultColorEdit) DefaultColorEdit->SetColor(Couleur);
}

// ---- Builders ----------------------------------------------------------------------------------------------------

int TFilterNForm::ControlsBottom(const QWidget* Exclude) const {
  int Bottom = 0;
  for (QObject* Child : children()) {
    auto* C = qobject_cast<QWidget*>(Child);
    if (!C || C->isWindow() || C == Exclude || C == CBRealTime || C == BOk || C == BAnnuler || C == BApercu) continue;
    Bottom = std::max(Bottom, C->y() + C->height());
  }
  return Bottom;
}

void TFilterNForm::PlaceBelow(QWidget* Control, int Spacing) {
  Control->move(BApercu->x(), ControlsBottom(Control) + Rescale(Spacing));
}

void TFilterNForm::NameControl(QWidget* Control, const QString& Prefix) {
  Control->setObjectName(Prefix + QString::number(++NameCpt));
}

void TFilterNForm::PlaceInTabOrder(QWidget* Control) {
  if (Control) {
    ++CompOrder;
    FTabChain.push_back(Control);
  }
  std::vector<QWidget*> Order;
  if (TBN) Order.push_back(TBN);
  for (QWidget* C : FTabChain)
    if (C) Order.push_back(C);
  Order.insert(Order.end(), {CBRealTime, BApercu, BOk, BAnnuler});
  for (size_t I = 1; I < Order.size(); ++I) setTabOrder(Order[I - 1], Order[I]);
}

QLabel* TFilterNForm::NewLabel(const QString& Caption, int Spacing) {
  auto* L = new QLabel(Caption, this);
  L->adjustSize();
  PlaceBelow(L, Spacing);
  return L;
}

template <class TBox> TBox* TFilterNForm::NewBox(const QString& Caption, bool Checked, int Spacing, const QString& Prefix) {
  auto* B = new TBox(Caption, this);
  B->resize(Rescale(150), Rescale(17));
  B->setChecked(Checked);
  PlaceBelow(B, Spacing);
  NameControl(B, Prefix);
  PlaceInTabOrder(B);
  // A new choice among radio buttons toggles two: react to the one switched on.
  connect(B, &QAbstractButton::toggled, this, [this](bool On) {
    if (On || !std::is_same_v<TBox, QRadioButton>) ControlChange();
  });
  return B;
}

QCheckBox* TFilterNForm::NewCheckBox(const QString& Caption, bool Checked, int Spacing) {
  return NewBox<QCheckBox>(Caption, Checked, Spacing, QStringLiteral("CheckBox"));
}

QRadioButton* TFilterNForm::NewRadioBtn(const QString& Caption, bool Checked, int Spacing) {
  return NewBox<QRadioButton>(Caption, Checked, Spacing, QStringLiteral("RadioButton"));
}

TTrackBar* TFilterNForm::NewBar(int Min, int Max, int Frequency, int PgSize, int Pos, int Spacing) {
  auto* T = new TTrackBar(this);
  T->setGeometry(TBN->x(), 0, TBN->width(), TBN->height());
  T->setMaximum(Max);
  T->setMinimum(Min);
  T->SetFrequency(Frequency);
  T->setPageStep(PgSize);
  T->SetPosition(Pos);
  T->SetThumbLength(TBN->ThumbLength());
  PrepareTrackBar(T);
  T->move(TBN->x(), ControlsBottom(T) + Rescale(Spacing));
  NameControl(T, QStringLiteral("TrackBar"));
  PlaceInTabOrder(T);
  T->OnKeyUp = [this](TTrackBar*, int, Qt::KeyboardModifiers) { TrackBarKeyUp(); };
  return T;
}

TTrackBar* TFilterNForm::NewBarCl(int Min, int Max, int Frequency, int PgSize, int Pos, TColor Color1, TColor Color2,
                                  int Spacing) {
  TTrackBar* T = NewBar(Min, Max, Frequency, PgSize, Pos, Spacing);
  T->setGeometry(T->x() + Rescale(24), T->y(), T->width() - 2 * Rescale(24), T->height());
  AddBarSwatches(T, Color1, Color2, 1);
  return T;
}

void TFilterNForm::AddBarSwatches(TTrackBar* Bar, TColor Color1, TColor Color2, int Raise) {
  const int Side = Rescale(21);
  const auto Swatch = [&](const char* Suffix, int Left, TColor Color) {
    auto* P = new TSimplePanel(this);
    P->setObjectName(QStringLiteral("_") + Bar->objectName() + QString::fromLatin1(Suffix));
    P->setGeometry(Left, Bar->y() - Raise, Side, Side);
    P->SetBevelWidth(1);
    P->SetBevelColor(clDlgBorder);
    P->SetColor(Color);
  };
  Swatch("_Cl1", Bar->x() - Rescale(18), Color1);
  Swatch("_Cl2", Bar->x() + Bar->width() - Rescale(3), Color2);
}

TColorEdit* TFilterNForm::NewColorEdit(TColor Color, int Spacing) {
  auto* E = new TColorEdit(this);
  E->resize(Rescale(81), E->sizeHint().height());
  E->SetColor(Color);
  PlaceBelow(E, Spacing);
  NameControl(E, QStringLiteral("ColorEdit"));
  PlaceInTabOrder(E);
  E->OnChange = [this](QObject*) { ControlChange(); };
  IsPipetteForm = true;
  DefaultColorEdit = E;
  return E;
}

QToolButton* TFilterNForm::NewColorPickerBtn(TColorEdit* ColorEdit, bool Down) {
  if (!FPickerGroup) FPickerGroup = new QButtonGroup(this);
  auto* B = new QToolButton(this);
  B->setCheckable(true);
  FPickerGroup->addButton(B);
  B->setChecked(Down);
  SetupColorButton(B, ColorEdit);
  return B;
}

TSpinEdit2* TFilterNForm::NewSpinEdit(int Min, int Max, int Value, int Spacing) {
  auto* E = new TSpinEdit2(this);
  E->resize(Rescale(81), E->sizeHint().height());
  E->SetMinValue(Min);
  E->SetMaxValue(Max);
  E->SetValue2(Value);
  E->setMaxLength(SpinMaxLength(QString::number(Max), Min < 0));
  PlaceBelow(E, Spacing);
  NameControl(E, QStringLiteral("SpinEdit"));
  PlaceInTabOrder(E);
  E->OnChange = [this](QObject*) { ControlChange(); };
  return E;
}

TFloatSpinEdit* TFilterNForm::NewFloatSpinEdit(double Min, double Max, double Value, int Spacing) {
  auto* E = new TFloatSpinEdit(this);
  E->resize(Rescale(81), E->sizeHint().height());
  E->SetMinValue(Min);
  E->SetMaxValue(Max);
  E->SetValue2(Max);
  const int Length = SpinMaxLength(E->text(), Min < 0);
  E->SetValue2(Value);
  E->setMaxLength(Length);
  PlaceBelow(E, Spacing);
  NameControl(E, QStringLiteral("SpinEdit"));
  PlaceInTabOrder(E);
  E->OnChange = [this](QObject*) { ControlChange(); };
  return E;
}

QComboBox* TFilterNForm::NewComboBox(bool Editable, int Spacing) {
  auto* B = new TFilterComboBox(this, BOk);
  B->resize(Rescale(107), B->sizeHint().height());
  B->setEditable(Editable);
  PlaceBelow(B, Spacing);
  NameControl(B, QStringLiteral("ComboBox"));
  PlaceInTabOrder(B);
  connect(B, &QComboBox::currentIndexChanged, this, [this] { ControlChange(); });
  return B;
}

TRadioGroup* TFilterNForm::NewRadioGroup(const QString& Caption, int Spacing) {
  auto* G = new TRadioGroup(this);
  G->setTitle(GroupTitle(Caption));
  PlaceBelow(G, Spacing);
  G->resize(width() - 2 * G->x(), Rescale(65));
  NameControl(G, QStringLiteral("RadioGroup"));
  PlaceInTabOrder(G);
  G->OnClick = [this](QObject*) { ControlChange(); };
  return G;
}

TMyBevel* TFilterNForm::NewSeparator(int Spacing) {
  auto* B = new TMyBevel(this);
  B->SetStyle(TMyBevelStyle::bsSeparator);
  PlaceBelow(B, Spacing);
  B->resize(width() - 2 * B->x(), 2);
  return B;
}

TDirectionEdit* TFilterNForm::NewDirectionEdit(int Direction, int Spacing) {
  auto* E = new TDirectionEdit(this);
  E->resize(Rescale(49), Rescale(49));
  E->SetActiveColor(0x0099FF);
  E->SetDirection(Direction);
  StyleDirectionEdit(E);
  PlaceBelow(E, Spacing);
  NameControl(E, QStringLiteral("DirectionEdit"));
  PlaceInTabOrder(E);
  E->OnChange = [this](QObject*) { ControlChange(); };
  return E;
}

QPushButton* TFilterNForm::NewButton(const QString& Caption) {
  auto* B = new QPushButton(Caption, this);
  B->setAutoDefault(false);
  B->setGeometry(BApercu->geometry());
  setTabOrder(B, BOk);
  setTabOrder(BOk, BAnnuler);
  return B;
}

QPushButton* TFilterNForm::NewResetButton() {
  QPushButton* B = NewButton(Tr(TrId::GetTrBtnReset));
  B->resize(Rescale(88), B->height());
  connect(B, &QPushButton::clicked, this, [this] { ResetButtonClick(); });
  return B;
}

void TFilterNForm::ArrangeButtons() {
  int B = ControlsBottom(nullptr);
  const int M = BApercu->x();
  if (!CBRealTime->isHidden()) {
    CBRealTime->move(CBRealTime->x(), B + M);
    B = CBRealTime->y() + CBRealTime->height();
  } else {
    B += M / 2;
  }
  for (QPushButton* Button : {BApercu, BOk, BAnnuler}) Button->move(Button->x(), B + M / 2);
  resize(width(), BApercu->y() + BApercu->height() + M);
}

// ---- Handlers ----------------------------------------------------------------------------------------------------

bool TFilterNForm::LivePreview() const { return DirectPreview || CBRealTime->isChecked(); }

void TFilterNForm::ParamChanged(bool Apply) {
  Changed = true;
  if (FRunning) FChangedWhileRunning = true;
  if (!Updating && Apply && LivePreview()) BApercuClick();
}

void TFilterNForm::ControlChange() { ParamChanged(true); }

void TFilterNForm::TrackBarKeyUp() {
  if (LivePreview()) BApercuClick();
}

void TFilterNForm::TBNChange() {
  LblN->setText(Format(FormatStr, {TBN->Position()}));
  LblN->adjustSize();
  Changed = true;
  if (FRunning) FChangedWhileRunning = true;
}

void TFilterNForm::SetSilently(TTrackBar* Bar, int Position) {
  const bool Saved = std::exchange(Updating, true);
  Bar->SetPosition(Position);
  Updating = Saved;
}

void TFilterNForm::CBRealTimeClick() {
  if (Updating) return;
  BApercu->setEnabled(!CBRealTime->isChecked());
  if (CBRealTime->isChecked()) {
    if (Changed) BApercuClick();
  } else if (Preview) {
    Preview = false;
    if (TFilterHost* H = FilterHost()) {
      H->RestaureBitmap();
      H->RefreshBitmap();
    }
    Changed = HasEffect();
  }
}

void TFilterNForm::BApercuClick() {
  if (Preview && !Changed) return;
  if (HasEmptySpinEdit()) {
    if (!CBRealTime->isChecked())
      ShowMsgDlg(Tr(TrId::GetTrDldGlb1), mdkWarning, TMsgDlgButtons{mdbOk});
    return;
  }
  if (!CanApply()) return;
  TFilterHost* H = FilterHost();
  if (!H || !H->UneImage()) return;
  // Asked again while a long run handles the pending messages: that run
  // stops at its next progress step and starts over with these parameters.
  if (FRunning) {
    FRestart = true;
    ProgressCancelled = true;
    return;
  }
  RunPreview();
  // Cancelled while it ran: the record it drew on can go now.
  if (std::exchange(FCloseAfterRun, false)) close();
}

void TFilterNForm::RunPreview() {
  TFilterHost& H = *FilterHost();
  struct TRunBracket {
    TRunBracket(TFilterNForm& F, TFilterHost& H) : Form(F), Host(H), SavedMessages(ProgressProcessMessages) {
      Form.FRunning = true;
      // Ok waits for the run; Cancel stops it and closes after it.
      Form.BOk->setEnabled(false);
      ProgressProcessMessages = true;
      Host.DebutAction(QString(), true);
    }
    ~TRunBracket() {
      Host.FinAction();
      ProgressProcessMessages = SavedMessages;
      ProgressCancelled = false;
      Form.FRunning = false;
      Form.BOk->setEnabled(true);
    }
    TFilterNForm& Form;
    TFilterHost& Host;
    bool SavedMessages;
  } Bracket(*this, H);
  do {
    FRestart = false;
    FChangedWhileRunning = false;
    ProgressCancelled = false;
    if (Preview) H.RestaureBitmap();
    if (HasEffect()) {
      ApplySelMask = true;
      ApplyFilter();
      if (ApplySelMask && !FRestart) H.AppliquerMasqueSel(FlagSelMask);
    }
    // A cancelled run still counts as a preview: the next one restores first.
    Preview = true;
  } while (FRestart && !FCloseAfterRun);
  H.RefreshBitmap();
  Changed = FChangedWhileRunning;
}

void TFilterNForm::BOkClick() {
  if (HasEmptySpinEdit()) {
    ShowMsgDlg(Tr(TrId::GetTrDldGlb1), mdkWarning, TMsgDlgButtons{mdbOk});
    return;
  }
  if (!HasEffect()) {
    if (Changed) Preview = true;
    close();
    return;
  }
  // A final application the dialog refuses keeps it open, with its message.
  if (Changed && !CanApply()) return;
  CloseOk();
  if (Changed) BApercuClick();
  TFilterHost* H = FilterHost();
  if (!H) return;
  const bool Applied = !Changed;
  if (Applied) H->MarkModified();
  if (SetLastFilter && Applied) {
    QPointer<TFilterNForm> Self(this);
    H->DernierFiltre(FilterTitle(), this, [Self](QObject*) {
      if (Self) Self->RepeatFilter();
    }, LastFilterFlag);
  } else {
    H->ClearLastFilterEvent();
    H->LayerChanged();
  }
}

void TFilterNForm::ResetButtonClick() {
  TFilterHost* H = FilterHost();
  if (Preview && H) {
    H->RestaureBitmap();
    H->RefreshBitmap();
    Preview = false;
  }
  Updating = true;
  ResetParams();
  Updating = false;
  Changed = HasEffect();
  if (Changed && LivePreview()) BApercuClick();
}

void TFilterNForm::RepeatFilter() {
  TFilterHost* H = FilterHost();
  if (!H || !H->UneImage()) return;
  H->PreparerUndo(LastFilterInfo, FilterTitle());
  Preview = false;
  Changed = true;
  BApercuClick();
  H->MarkModified();
}

// ---- Show and hide -----------------------------------------------------------------------------------------------

void TFilterNForm::showEvent(QShowEvent* Event) {
  if (Event->spontaneous() || InheritedOnly) {
    TPipetteForm::showEvent(Event);
    return;
  }
  DialogMode = IsPipetteForm ? TMainDialogMode::dmPipette : TMainDialogMode::dmDialog;
  Preview = false;
  Updating = true;
  CBRealTime->setChecked(false);
  Updating = false;
  TPipetteForm::showEvent(Event);
  const TFilterHost* H = FilterHost();
  if (H && H->AutoReset()) {
    Updating = true;
    ResetParams();
    Updating = false;
  }
  Changed = HasEffect();
  BApercu->setEnabled(!CBRealTime->isChecked());
  if (Changed && LivePreview()) {
    BApercuClick();
    UpdateActiveImage();
  }
}

void TFilterNForm::hideEvent(QHideEvent* Event) {
  TPipetteForm::hideEvent(Event);
  if (Event->spontaneous() || InheritedOnly || DialogOk) return;
  if (TFilterHost* H = FilterHost()) H->AnnulerFiltre(Preview);
  Preview = false;
}

bool TFilterNForm::StopRunBeforeClosing() {
  if (!FRunning) return false;
  FCloseAfterRun = true;
  ProgressCancelled = true;
  return true;
}

void TFilterNForm::closeEvent(QCloseEvent* Event) {
  if (StopRunBeforeClosing()) {
    Event->ignore();
    return;
  }
  TPipetteForm::closeEvent(Event);
}

void TFilterNForm::reject() {
  if (!StopRunBeforeClosing()) TPipetteForm::reject();
}
