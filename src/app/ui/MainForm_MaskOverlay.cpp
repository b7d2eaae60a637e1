// The main window's side of the mask overlay: Filter > "LumaMasque..." and
// the image browser's "with this mask" open the one dialog, each after
// preparing its undo record.
#include "app/ui/MainForm.h"

#include "dialogs/ui/LQ.h"
#include "raster/FoncUtils.h"
#include "ui/DlgEx.h"

#include <QAction>
#include <QPointer>

void TMainForm::OpenMaskOverlay(const QString& MaskFile) {
  static QPointer<TLQForm> Form;
  if (!UneImage()) return;
  PreparerUndo(miFiltreBM, CleanMenuCaption(MenuItem(QStringLiteral("MenuLumaMasque"))->text()));
  TLQForm* Dialog = CreateFormIfNeeded(Form, this);
  if (!MaskFile.isEmpty()) Dialog->ExploreMasque(MaskFile);
  Dialog->show();
}

void TMainForm::ConnectMaskOverlayCommands() {
  WireFilterDialog("MenuLumaMasque", [](TMainForm& F, QAction* Item, QAction*) {
    if (F.ActionPossible(Item)) F.OpenMaskOverlay(QString());
  });
}
