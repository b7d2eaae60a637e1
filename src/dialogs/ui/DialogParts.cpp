#include "dialogs/ui/DialogParts.h"

#include "dialogs/SizeUnits.h"
#include "dialogs/ui/ImageDialogHost.h"
#include "ui/DlgMain.h"
#include "ui/MsgDlg.h"
#include "ui/TrackBar.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>

QString TrText(TrId Id, const QString& French) {
  if (!TranslationLoaded()) return French;
  const QString& T = Tr(Id);
  return T.isEmpty() ? French : T;
}

QString TrLabel(TrId Id, const QString& French) {
  if (!TranslationLoaded() || Tr(Id).isEmpty()) return French;
  return Tr(Id) + QStringLiteral(" :");
}

QString DialogTitle(const char* MenuItem, const QString& French) {
  const TImageDialogHost* Host = ImageDialogHost();
  if (!TranslationLoaded() || !Host) return French;
  const QString Title = Host->TitreMenu(QString::fromLatin1(MenuItem));
  return Title.isEmpty() ? French : Title;
}

TOkCancel AddOkCancel(TMainDialogForm& Form, QBoxLayout& Layout) {
  auto* Row = new QHBoxLayout;
  Row->addStretch(1);
  TOkCancel B{new QPushButton(TrText(TrId::GetTrBtnOk, QStringLiteral("Ok")), &Form),
              new QPushButton(TrText(TrId::GetTrBtnCancel, QStringLiteral("Annuler")), &Form)};
  B.BOk->setObjectName(QStringLiteral("BOk"));
  B.BAnnuler->setObjectName(QStringLiteral("BAnnuler"));
  B.BOk->setDefault(true);
  Row->addWidget(B.BOk);
  Row->addWidget(B.BAnnuler);
  Layout.addLayout(Row);
  Form.OkButton = B.BOk;
  Form.CancelButton = B.BAnnuler;
  return B;
}

TTrackBar* NewTrackBar(QWidget* Parent, const char* Name, int Min, int Max, int Frequency, int Position) {
  auto* Bar = new TTrackBar(Parent);
  Bar->setObjectName(QString::fromLatin1(Name));
  Bar->setRange(Min, Max);
  Bar->setPageStep(5);
  Bar->SetFrequency(Frequency);
  Bar->SetPosition(Position);
  StyleTrackBar(Bar);
  return Bar;
}

void WarnEmptyFields() { ShowMsgDlg(Tr(TrId::GetTrDldGlb1), mdkWarning, {mdbOk}); }

bool AcceptImageSize(int64_t W, int64_t H) {
  const TSizeCheck Check = CheckImageSize(W, H);
  if (Check == TSizeCheck::Ok) return true;
  ShowMsgDlg(SizeCheckMessage(Check, W, H), mdkWarning, {mdbOk});
  return false;
}

TLabeledBar AddLabeledBar(TMainDialogForm& Form, QBoxLayout& Layout, const char* Name, const char* LabelName, int Min,
                          int Max, int Pos, std::function<QString(int)> Text) {
  TLabeledBar B{new QLabel(&Form), new TTrackBar(&Form)};
  B.Label->setObjectName(QString::fromLatin1(LabelName));
  B.Bar->setObjectName(QString::fromLatin1(Name));
  B.Bar->setMinimum(Min);
  B.Bar->setMaximum(Max);
  B.Bar->SetPosition(Pos);
  Form.PrepareTrackBar(B.Bar);
  B.Label->setText(Text(B.Bar->Position()));
  QLabel* Label = B.Label;
  B.Bar->OnChange = [Label, Text = std::move(Text)](QObject* Sender) {
    Label->setText(Text(static_cast<TTrackBar*>(Sender)->Position()));
  };
  Layout.addWidget(B.Label);
  Layout.addWidget(B.Bar);
  return B;
}

void MakeDialogPanel(TMainDialogForm& Form, QWidget* Parent, int X, int Y, std::initializer_list<QWidget*> Remove) {
  Form.InheritedOnly = true;
  Form.DialogMode = TMainDialogMode::dmNone;
  Form.LoadFromIniFile = false;
  Form.AutoSaveIni = false;
  Form.SaveToIniFile = false;
  Form.setObjectName(QStringLiteral("Auto") + Form.objectName());
  for (QWidget* W : Remove) delete W;
  Form.setParent(Parent, Qt::Widget);
  Form.setAutoFillBackground(false);
  Form.move(X, Y);
  Form.show();
}

void SavePanelValues(TMainDialogForm& Form, const QString& FileName) {
  Form.IniFileName = FileName;
  Form.IniOptions = ioValue;
  Form.SaveIniValues();
}

void LoadPanelValues(TMainDialogForm& Form, const QString& FileName) {
  Form.IniFileName = FileName;
  Form.IniOptions = ioValue | ioNoEvent;
  Form.Updating = true;
  Form.LoadIniValues();
  Form.Updating = false;
  Form.UpdateControls();
}
