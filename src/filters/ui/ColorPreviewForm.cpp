#include "filters/ui/ColorPreviewForm.h"

#include "filters/ui/DialogTexts.h"

#include <QCheckBox>
#include <QPushButton>

TColorPreviewForm::TColorPreviewForm(QWidget* Parent) : TPipetteForm(Parent) {
  const auto MakeButton = [this](TrId Id, const char16_t* French, const char* Name) {
    auto* B = new QPushButton(TrOr(Id, French), this);
    B->setObjectName(QString::fromLatin1(Name));
    B->setAutoDefault(false);
    B->resize(Rescale(75), Rescale(25));
    return B;
  };
  BApercu = MakeButton(TrId::GetTrBtnPreview, u"Aperçu", "BApercu");
  BOk = MakeButton(TrId::GetTrBtnOk, u"Ok", "BOk");
  BAnnuler = MakeButton(TrId::GetTrBtnCancel, u"Annuler", "BAnnuler");
  connect(BApercu, &QPushButton::clicked, this, [this] { BApercuClick(); });
  connect(BOk, &QPushButton::clicked, this, [this] { BOkClick(); });
  connect(BAnnuler, &QPushButton::clicked, this, [this] { close(); });
  OkButton = BOk;
  CancelButton = BAnnuler;
}

void TColorPreviewForm::AddLivePreviewBox(int Left, int Top) {
  CBPreview = new QCheckBox(TrOr(TrId::GetTrLblDirectPreview, u"Aperçu direct"), this);
  CBPreview->setObjectName(QStringLiteral("CBPreview"));
  CBPreview->setGeometry(Left, Top, Rescale(200), Rescale(17));
  connect(CBPreview, &QCheckBox::toggled, this, [this] { CBPreviewClick(); });
}

void TColorPreviewForm::PlaceButtons(int Top) {
  const int Margin = Rescale(16);
  const int Width = std::max(width(), Margin * 2 + 3 * BOk->width() + Rescale(40));
  BApercu->move(Margin, Top);
  BAnnuler->move(Width - Margin - BAnnuler->width(), Top);
  BOk->move(BAnnuler->x() - Rescale(8) - BOk->width(), Top);
  setFixedSize(Width, Top + BOk->height() + Margin);
}

void TColorPreviewForm::RestoreLayer() {
  if (TFilterHost* H = FilterHost()) {
    H->RestaureBitmap();
    H->RefreshBitmap();
  }
  Preview = false;
}

void TColorPreviewForm::ParamChanged(bool Live) {
  Changed = true;
  if (Live && !Updating && CBPreview && CBPreview->isChecked()) BApercuClick();
}

void TColorPreviewForm::BApercuClick() {
  if (Preview && !Changed) return;
  TFilterHost* H = FilterHost();
  if (!H || !H->UneImage()) return;
  const TBusyAction Busy(*H);
  if (Preview) H->RestaureBitmap();
  ApplyOperation();
  H->RefreshBitmap();
  Changed = false;
  Preview = true;
}

void TColorPreviewForm::BOkClick() {
  CloseOk();
  OkSteps();
  if (TFilterHost* H = FilterHost()) H->MarkModified();
}

void TColorPreviewForm::OkSteps() {
  if (Changed) BApercuClick();
}

void TColorPreviewForm::CBPreviewClick() {
  if (Updating) return;
  BApercu->setEnabled(!CBPreview->isChecked());
  if (CBPreview->isChecked()) {
    if (Changed) BApercuClick();
  } else if (Preview) {
    RestoreLayer();
    Changed = true;
  }
}

void TColorPreviewForm::UpdateControls() {
  if (!CBPreview) return;
  BApercu->setEnabled(!CBPreview->isChecked());
  if (CBPreview->isChecked()) {
    BApercuClick();
    UpdateActiveImage();
  }
}

void TColorPreviewForm::FormShow() {
  Preview = false;
  Changed = true;
}

void TColorPreviewForm::FormHide() {
  if (!DialogOk)
    if (TFilterHost* H = FilterHost()) H->AnnulerFiltre(Preview);
  Preview = false;
}
