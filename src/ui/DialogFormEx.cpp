#include "ui/DialogFormEx.h"

#include "ui/DlgColors.h"
#include "ui/DlgEx.h"
#include "ui/DrawUtils.h"
#include "ui/UtilsDPI.h"

#include <QLabel>
#include <QLayout>
#include <QShowEvent>

namespace {

// True when a layout of the label's parent places it.
bool InLayout(const QWidget* W) {
  const QWidget* Parent = W->parentWidget();
  return Parent && Parent->layout() && Parent->layout()->indexOf(const_cast<QWidget*>(W)) >= 0;
}

} // namespace

TDialogFormEx::TDialogFormEx(QWidget* Parent) : QDialog(Parent ? Parent : MainFormWindow()) {
  QPalette P = palette();
  P.setColor(QPalette::Window, ToQColor(clDlgWindow));
  P.setColor(QPalette::WindowText, ToQColor(clDlgText));
  setPalette(P);
  setAutoFillBackground(true);
  QFont F = font();
  ApplyDialogFont(F, 3);
  setFont(F);
}

int TDialogFormEx::LabelShift(int PixelsPerInch) { return PixelsPerInch > 96 ? (PixelsPerInch - 96) / 17 : 0; }

void TDialogFormEx::showEvent(QShowEvent* Event) {
  if (FFixLabelsDpi && !Event->spontaneous()) {
    FFixLabelsDpi = false;
    const int Shift = LabelShift(ScreenPixelsPerInch());
    if (Shift > 0)
      for (QLabel* Label : findChildren<QLabel*>())
        if (!InLayout(Label)) Label->move(Label->x(), Label->y() - Shift);
  }
  QDialog::showEvent(Event);
}
