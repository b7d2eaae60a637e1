// File > Print: the active image's visible layers merged into its display
// bitmap, laid out in the print dialog, then sent to the printer while a
// wait box offers to cancel. The printer object lives as long as the main
// window, so its set-up (printer, paper, margins) carries over from one
// print to the next.
#include "app/ui/MainForm.h"

#include "document/MyImageLayered.h"
#include "extensions/ui/Impr.h"
#include "files/ui/Annuler.h"
#include "ui/MsgDlg.h"

#include <QAction>
#include <QPointer>
#include <QPrinter>

void TMainForm::ConnectPrintCommands() {
  auto* Printer = new QPrinter(QPrinter::HighResolution);
  connect(this, &QObject::destroyed, [Printer] { delete Printer; });
  Connect("MenuFichierImprimer", [this, Printer] {
    if (!ActionPossible(CommandSender(MenuItem("MenuFichierImprimer"))) || !UneImage()) return;
    MasquerSelection();
    static QPointer<TImprForm> Form;
    if (!Form) Form = new TImprForm(*Printer, Settings().UniteDefautPrn, this);
    TMyImageLayered& Img = Image();
    Img.MergeLayersForPreview(false);
    Form->SetImage(&Img.Bitmap(), NomFichier(), Img.ResolutionX);
    if (!ShowModalForm(Form)) return;
    static QPointer<TAnnulerForm> Box;
    if (!Box) Box = new TAnnulerForm(this);
    DebutAction(QString(), true);
    Box->Init(*Form);
    const bool Sent = Form->EnvoyerData([] { return Box->Flag() == 0; });
    Box->VerifierImpression();
    FinAction();
    if (!Sent)
      ShowMsgDlg(QStringLiteral("Impossible d'imprimer sur \"%1\".").arg(Printer->printerName()), mdkError, {mdbOk});
  });
}
