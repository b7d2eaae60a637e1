#include "dialogs/ui/Prop.h"

#include "dialogs/ui/DialogParts.h"
#include "dialogs/ui/LayerDialogHost.h"
#include "files/BmpOE2.h"
#include "files/FreeImageProvider.h"
#include "files/FreeMetadata.h"
#include "platform/SafeFile.h"
#include "i18n/Format.h"
#include "platform/Win1252.h"
#include "ui/MsgDlg.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// Lines of a CR-separated text as a list of lines holds them: a final line
// break ends the last line rather than starting an empty one.
QStringList TextLines(QString Text) {
  Text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
  if (Text.endsWith(u'\n')) Text.chop(1);
  return Text.isEmpty() ? QStringList() : Text.split(u'\n');
}

} // namespace

QStringList PropertiesExportLines(const QString& Title, const QString& Infos, const QString& MetadataCaption,
                                  const QString& Metadata, const QString& CommentCaption, const QString& Comment) {
  QStringList Lines = TextLines(Infos);
  while (!Lines.isEmpty() && !Lines.last().isEmpty()) Lines.removeLast();
  Lines.prepend(Title);
  if (!Lines.isEmpty()) Lines.removeLast();
  if (Lines.size() >= 3) Lines.removeAt(Lines.size() - 3);
  for (const auto& [Caption, Text] : {std::pair{MetadataCaption, Metadata}, std::pair{CommentCaption, Comment}}) {
    const QStringList Block = TextLines(Text);
    if (Block.isEmpty()) continue;
    Lines << QString() << Caption << Block;
  }
  return Lines;
}

TPropForm::TPropForm(QWidget* Parent) : TMainDialogForm(Parent) {
  setObjectName(QStringLiteral("PropForm"));
  setWindowTitle(DialogTitle("MenuFichierInfos", QStringLiteral("Propriétés de l'image")));
  DialogMode = TMainDialogMode::dmModal;
  IniOptions = ioPosition;
  auto* Main = new QVBoxLayout(this);
  PgControl = new QTabWidget(this);
  PgControl->setObjectName(QStringLiteral("_PgControl"));
  const auto Page = [this](const char* Name, const QString& Caption) {
    auto* P = new QWidget(PgControl);
    P->setObjectName(QString::fromLatin1(Name));
    PgControl->addTab(P, Caption);
    return P;
  };
  TshInfos = Page("TshInfos", TrText(TrId::GetTrMnuImage, QStringLiteral("Image")).remove(u'&'));
  LblImage = new QLabel(TshInfos);
  LblImage->setTextFormat(Qt::PlainText);
  (new QVBoxLayout(TshInfos))->addWidget(LblImage);
  TshMetadata = Page("TshMetadata", TrText(TrId::GetTrLblMetadata, QStringLiteral("Meta-données")));
  MemMetadata = new QPlainTextEdit(TshMetadata);
  MemMetadata->setReadOnly(true);
  MemMetadata->setLineWrapMode(QPlainTextEdit::NoWrap);
  (new QVBoxLayout(TshMetadata))->addWidget(MemMetadata);
  TshComment = Page("TshComment", TrText(TrId::GetTrLblComment, QStringLiteral("Commentaire")));
  auto* CommentPage = new QVBoxLayout(TshComment);
  MemComment = new QPlainTextEdit(TshComment);
  CommentPage->addWidget(MemComment);
  BSaveComment = new QPushButton(TrText(TrId::GetTrMnuValidate, QStringLiteral("Valider")).remove(u'&'), TshComment);
  CommentPage->addWidget(BSaveComment, 0, Qt::AlignRight);
  Main->addWidget(PgControl);
  auto* Buttons = new QHBoxLayout;
  BExport = new QPushButton(TrText(TrId::GetTrBtnExport, QStringLiteral("Exporter")), this);
  BOk = new QPushButton(TrText(TrId::GetTrBtnOk, QStringLiteral("Ok")), this);
  BOk->setDefault(true);
  Buttons->addWidget(BExport);
  Buttons->addStretch(1);
  Buttons->addWidget(BOk);
  Main->addLayout(Buttons);
  // Ok is also the way out.
  OkButton = BOk;
  CancelButton = BOk;
  resize(Rescale(460), Rescale(360));

  ExportFileChooser = [this](const QString& Proposed) {
    return QFileDialog::getSaveFileName(this, windowTitle(), Proposed, QStringLiteral("*.txt"));
  };
  connect(MemComment, &QPlainTextEdit::textChanged, this, [this] { BSaveComment->setEnabled(true); });
  connect(BSaveComment, &QPushButton::clicked, this, [this] { BSaveCommentClick(); });
  connect(BExport, &QPushButton::clicked, this, [this] { BExportClick(); });
  connect(BOk, &QPushButton::clicked, this, [this] { close(); });
}

void TPropForm::ReadData(const QString& FileName, const QString& ImgInfos, const TMetadata& Metadata,
                         bool CanChangeComment, const QString& Comment) {
  NomFichier = FileName;
  PgControl->setCurrentIndex(0);
  LblImage->setText(TextLines(ImgInfos).join(u'\n'));
  MemMetadata->clear();
  QStringList Lines;
  if (IsFreeImageLoaded()) {
    const QString Header = Tr(TrId::GetTrLblExif).isEmpty() ? QStringLiteral("EXIF") : Tr(TrId::GetTrLblExif);
    if (HasExifMetadata(Metadata)) {
      Lines << QStringLiteral("--- %1 ---").arg(Header);
      for (int Model = fmdExifMain; Model <= fmdExifInterop; ++Model)
        MetadataModelToStrings(Metadata, Model, &Lines, false);
    }
    if (HasIptcMetadata(Metadata)) {
      if (!Lines.isEmpty()) Lines << QString();
      Lines << QStringLiteral("--- %1 ---").arg(Tr(TrId::GetTrLblIptc));
      MetadataModelToStrings(Metadata, fmdIptc, &Lines, false);
    }
  }
  MemMetadata->setPlainText(Lines.join(u'\n'));
  PgControl->setTabVisible(PgControl->indexOf(TshMetadata), !Lines.isEmpty());
  const QString Text =
      HasModel(Metadata, fmdComments) ? FromWin1252(GetMetadataComment(Metadata)) : Comment;
  MemComment->setPlainText(Text);
  MemComment->setReadOnly(!CanChangeComment);
  BSaveComment->setEnabled(false);
  BSaveComment->setVisible(CanChangeComment);
  PgControl->setTabVisible(PgControl->indexOf(TshComment), CanChangeComment || !Text.isEmpty());
}

void TPropForm::ReadDataFromFile(const QString& FileName, const QString& ImgInfos, bool HasMetadata) {
  if (HasMetadata)
    ReadImageInfo(FileName);
  else
    ClearOptionsMetadata();
  const TMetadata Metadata = OptionsOE.XMetadata;
  const QString Comment = OptionsOE.XComment;
  ReadData(FileName, ImgInfos, Metadata, false, Comment);
  if (HasMetadata) ClearOptionsMetadata();
}

void TPropForm::BSaveCommentClick() {
  // A line break is two blanks (the CR LF pair it stands for), any other
  // control character one.
  QString Text = MemComment->toPlainText().replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  Text.replace(u'\n', QStringLiteral("  "));
  for (QChar& C : Text)
    if (C.unicode() < 32) C = u' ';
  Text = Text.trimmed();
  TLayerDialogHost* Host = ActiveLayerDialogHost();
  if (Host) {
    TMyImageLayered& Image = ActiveImageDialogHost()->Image();
    Image.Comment = Text;
    // The comment tag travels with the metadata to the formats that keep it.
    if (!Image.Metadata.Empty()) SetMetadataComment(Image.Metadata, ToWin1252(Text));
    Host->MarkModified();
  }
  MemComment->setPlainText(Text);
  BSaveComment->setEnabled(false);
}

void TPropForm::BExportClick() {
  const QFileInfo Source(NomFichier);
  const QString Proposed = (Source.completeBaseName().isEmpty() ? QStringLiteral("image") : Source.completeBaseName()) +
                           QStringLiteral(".txt");
  const QString FileName = ExportFileChooser(Proposed);
  if (FileName.isEmpty()) return;
  const bool Metadata = PgControl->isTabVisible(PgControl->indexOf(TshMetadata));
  const QStringList Lines = PropertiesExportLines(
      windowTitle(), LblImage->text(), PgControl->tabText(PgControl->indexOf(TshMetadata)),
      Metadata ? MemMetadata->toPlainText() : QString(), PgControl->tabText(PgControl->indexOf(TshComment)),
      MemComment->toPlainText());
  const QByteArray Bytes = (Lines.join(QStringLiteral("\n")) + u'\n').toUtf8();
  try {
    TSafeFile File(FileName);
    File.Write(Bytes.constData(), size_t(Bytes.size()));
    File.Commit();
  } catch (const std::exception&) {
    ShowMsgDlg(Format(Tr(TrId::GetOeMsgErrorSaving), {FileName}), mdkError, {mdbOk});
  }
}

void TPropForm::FormHide() {
  MemMetadata->clear();
  MemComment->clear();
}
