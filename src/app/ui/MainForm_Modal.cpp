// The main window's services around modal forms and modules: a form shown
// modally as an open dialogue, a module's form owning the image, the colour
// dialog, the brush outline, and whether the clipboard holds a picture to
// paste.
#include "app/ui/MainForm.h"

#include "ui/SpecialEdit.h"

#include <QClipboard>
#include <QColorDialog>
#include <QDialog>
#include <QGuiApplication>
#include <QMimeData>

bool TMainForm::ShowModalForm(QDialog* Form) {
  DebutDialogueEx();
  const int Result = Form->exec();
  FinDialogueEx();
  return Result == QDialog::Accepted;
}

void TMainForm::PreparerModule(QWidget* Form) {
  if (FDialogueForm == Form) return;
  FDialogueForm = Form;
  if (Form)
    DisableImageWindows(nullptr);
  else
    EnableImageWindows();
  FEdiZoom->SetReadOnly(Form != nullptr);
  if (Form) {
    DebutDialogueEx();
  } else {
    FinDialogueEx();
    setFocus();
  }
}

void TMainForm::AfficherPalette(TColor& Couleur) {
  const TColor C = ColorToRGB(Couleur);
  QColorDialog Dialog(QColor(GetRValue(C), GetGValue(C), GetBValue(C)), this);
  if (!ShowModalForm(&Dialog)) return;
  const QColor Chosen = Dialog.selectedColor();
  Couleur = RGB(Chosen.red(), Chosen.green(), Chosen.blue());
}

void TMainForm::HideBrushCursor() {
  if (TNewImgForm* W = EnfantActif(); W && W->CursorEx) W->CursorEx->Hide(false);
}

bool TMainForm::CollagePossible(bool DansImage) const {
  const QMimeData* Data = QGuiApplication::clipboard()->mimeData();
  // A bitmap, or a metafile picture offered as such.
  const bool Picture = Data && (Data->hasImage() || Data->hasFormat(QStringLiteral("image/x-wmf")) ||
                                Data->hasFormat(QStringLiteral("image/x-emf")));
  return Picture && (!DansImage || Mode16M());
}
