// The "Action" page's summary of what a run will do, section by section.
#include "extensions/ui/Auto.h"

#include "dialogs/ui/Copyright.h"
#include "dialogs/ui/DialogParts.h"
#include "dialogs/ui/TubeDlg.h"
#include "i18n/Format.h"
#include "raster/FoncUtils.h"
#include "ui/ColorEdit.h"
#include "ui/SpecialEdit.h"
#include "ui/SpinEdit.h"
#include "ui/TrackBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>

namespace {

// A line of a section, and a section's heading.
QString C(const QString& Text) { return FormatCaption(Text, 3); }
QString H(const QString& Text) { return FormatCaption(Text, 2); }

QString Pixels(int N) { return N > 1 ? QStringLiteral("pixels") : QStringLiteral("pixel"); }
QString Colour(const TColorEdit* Edit) { return ColorToText(Edit->Color(), true); }
QString Caption(const QWidget* Page) {
  const auto* Tabs = qobject_cast<const QTabWidget*>(Page->parentWidget()->parentWidget());
  return Tabs ? Tabs->tabText(Tabs->indexOf(const_cast<QWidget*>(Page))) : QString();
}

} // namespace

void TAutoForm::BuildBatchSummary() {
  QStringList L;
  const auto Section = [&L](const QString& Heading) {
    L.append(QString());
    L.append(H(Heading));
  };
  SyncFiles();
  const int Count = Files.BatchFileCount();
  L.append(LblDirSrc->text() + u' ' + EdiDirSrc->Text());
  L.append(C(Format(u"%d %s", {Count, (Count > 1 ? Tr(TrId::GetTrLblPictures) : Tr(TrId::GetTrLblPicture)).toLower()})));

  L.append(QString());
  L.append(LblDirExport->text() + u' ' + EdiDossierExport->Text());
  L.append(C(LblFormatExport->text() + u' ' + CmbExportFormat->currentText()));
  L.append(TrbCompress->isVisibleTo(this) ? C(Format(Tr(TrId::GetTrFmtCompress), {TrbCompress->Position()}))
                                          : C(CmbNbCouleurs->currentText()));

  const int Format_ = CmbExportFormat->currentIndex();
  if (ChkSequence->isChecked()) {
    Section(ChkSequence->text());
    L.append(C(SequenceFileName(EdiSequence->text(), 1, Format_) + QStringLiteral(", ") +
               SequenceFileName(EdiSequence->text(), 2, Format_) + QStringLiteral(", ...")));
  }
  if (ChkRedim->isChecked()) {
    Section(ChkRedim->text());
    if (CmbUnite->currentIndex() == 1)
      L.append(C(Format(u"%s%% x %s%%", {SELargeurImage->text(), SEHauteurImage->text()})));
    else
      L.append(C(Format(u"%s x %s %s", {SELargeurImage->text(), SEHauteurImage->text(), QStringLiteral("pixels")})));
    for (const QCheckBox* Box : {ChkRedimProportions, ChkRedimOptimiser})
      if (Box->isChecked()) L.append(C(Box->text()));
  }
  if (ChkCadre->isChecked()) {
    Section(ChkCadre->text());
    L.append(C(LblCouleurCadre->text() + u' ' + Colour(ColorEditCadre)));
    const int W = SELargeurCadre->Value();
    L.append(C(LblLargeurCadre->text() + u' ' + Format(u"%d %s", {W, Pixels(W)})));
    if (ChkExterieur->isChecked()) L.append(C(ChkExterieur->text()));
  }
  if (ChkZoneTravail->isChecked()) {
    Section(ChkZoneTravail->text());
    const int W = SELargeurZone->Value();
    L.append(C(Format(u"%d x %d %s", {W, SEHauteurZone->Value(), Pixels(W)})));
    L.append(C(LblCouleurFond->text() + u' ' + Colour(ColorEditFond)));
    if (!EdiMotif->Text().isEmpty()) L.append(C(LblMotif->text() + u' ' + EdiMotif->Text()));
    if (ChkOmbre->isChecked())
      L.append(C(H(ChkOmbre->text()) + u' ' + Format(u"%d %s", {SELargeurOmbre->Value(), QStringLiteral("pixels")})));
  }
  if (ChkDpi->isChecked()) {
    Section(ChkDpi->text());
    L.append(C(SEDpi->text()));
  }

  const struct {
    bool Active;
    const QLabel* Label;
    const QComboBox* Channels;
  } Tones[] = {{TrbLuminosite->Position() != 0, LblLuminosite, CmbCoucheLum},
               {TrbContraste->Position() != 0, LblContraste, CmbCoucheCtr},
               {TrbSaturation->Position() != 0, LblSaturation, CmbCoucheSat},
               {TrbGamma->Position() != 10, LblGamma, CmbCoucheGam}};
  if (std::any_of(std::begin(Tones), std::end(Tones), [](const auto& T) { return T.Active; })) {
    Section(Caption(TshReglages));
    for (const auto& T : Tones) {
      if (!T.Active) continue;
      QString Line = C(T.Label->text());
      if (T.Channels->currentIndex() > 0) Line += QStringLiteral(" (") + T.Channels->currentText() + u')';
      L.append(Line);
    }
  }
  const QCheckBox* Filters[] = {ChkAdoucir, ChkFlouInt, ChkFlou,   ChkContoursNet, ChkDurcir,  ChkRelief,
                                ChkNegatif, ChkBruit,   ChkScanlines, ChkAutoLevels, ChkAutoCtr, ChkSepia};
  if (std::any_of(std::begin(Filters), std::end(Filters), [](const QCheckBox* B) { return B->isChecked(); })) {
    Section(Caption(TshFiltres));
    for (const QCheckBox* B : Filters)
      if (B->isChecked()) L.append(C(B->text()));
  }
  if (ChkFiltre->isChecked()) {
    Section(ChkFiltre->text());
    L.append(C(TrText(TrId::GetTrLblColor, QStringLiteral("Couleur :")) + u' ' + Colour(ColorEditFiltre)));
    L.append(C(LblOpaciteFiltre->text()));
    if (ChkInverser->isChecked()) L.append(C(ChkInverser->text()));
  }
  if (ChkRotation->isChecked() || ChkSymetrie->isChecked()) {
    Section(Caption(TshTransform));
    if (ChkRotation->isChecked())
      for (const QRadioButton* R : {RdbRotation1, RdbRotation2, RdbRotation3})
        if (R->isChecked()) L.append(C(R->text()));
    if (ChkSymetrie->isChecked())
      for (const QRadioButton* R : {RdbSymetrie1, RdbSymetrie2})
        if (R->isChecked()) L.append(C(R->text()));
  }
  if (ChkCopyright->isChecked() && !CopyrightForm->Text().isEmpty()) {
    Section(ChkCopyright->text());
    L.append(C(CopyrightForm->Text()));
    for (const QRadioButton* R : {CopyrightForm->RBTop, CopyrightForm->RBCenter, CopyrightForm->RBBottom})
      if (R->isChecked()) L.append(C(R->text()));
    if (CopyrightForm->CBTxtExt->isChecked()) L.append(C(CopyrightForm->CBTxtExt->text()));
    if (CopyrightForm->SEOpacite->isEnabled())
      L.append(C(Format(Tr(TrId::GetTrFmtOpacity), {CopyrightForm->SEOpacite->Value()})));
  }
  if (ChkTube->isChecked() && TubeForm->CBPreview->isEnabled()) {
    Section(ChkTube->text());
    L.append(C(TubeForm->PictureEdit->Text()));
    L.append(C(TubeForm->CmbMode->currentText()));
    L.append(C(TubeForm->LblOpacite->text()));
  }
  MemRapport->setPlainText(L.join(u'\n'));
}
