#include "dialogs/ui/RotPathForm.h"

#include "dialogs/ui/DialogParts.h"
#include "tools/PathControl.h"

#include <QPushButton>

TRotPathForm::TRotPathForm(QWidget* Parent) : TTransformSlidersForm(Parent) {
  setObjectName(QStringLiteral("RotPathForm"));
  setWindowTitle(DialogTitle("MenuCalqueTransform", QStringLiteral("Transformation")));
  connect(BOk, &QPushButton::clicked, this, [this] { BOkClick(); });
}

void TRotPathForm::FormShow() {
  SetNeutral();
  if (Path) PathRect = Path->BmpBounds(1);
}

void TRotPathForm::Apply() {
  if (!Path) return;
  TAffineTransformation T;
  BuildPathTransformation(T, PathRect, Sliders());
  Path->SetTransformation(&T);
  Changed = false;
}

void TRotPathForm::BOkClick() {
  CloseOk();
  if (Path) Path->ValidateTransformation();
  if (OnClosed) OnClosed(true);
}

void TRotPathForm::FormHide() {
  if (DialogOk) return;
  if (Path) Path->CancelTransformation();
  if (OnClosed) OnClosed(false);
}
