// The histogram and the colour dialogs: Adjust > Histogram, which opens only
// on a work rectangle of more than 100 pixels, and the colour dialogs of the
// Adjust, Filter and Image menus, each after the undo record it previews on.
#include "app/ui/MainForm.h"
#include "raster/FoncUtils.h"

#include "filters/ui/HistogForm.h"
#include "ui/DlgEx.h"

#include <QAction>
#include <QPointer>

void TMainForm::ConnectColorCommands() {
  Connect("MenuReglageHistog", [this] {
    static QPointer<THistogForm> Form;
    QAction* Item = MenuItem(QStringLiteral("MenuReglageHistog"));
    if (!ActionPossible(CommandSender(Item)) || !UneImage()) return;
    THistogForm* Dialog = CreateFormIfNeeded(Form, this);
    if (!Dialog->InitImage()) return;
    PreparerUndo(miFiltre, CleanMenuCaption(Item->text()));
    Dialog->show();
  });
}
