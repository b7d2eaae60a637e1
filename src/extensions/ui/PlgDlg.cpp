#include "extensions/ui/PlgDlg.h"

#include "i18n/LibLang.h"
#include "raster/FoncUtils.h"
#include "ui/MyBevel.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace {

QString FileDayText(const QDateTime& Date) {
  // The date part of the file-date format; without one the locale's own.
  const QString Fmt = Tr(TrId::GetTrFmtFileDate);
  const qsizetype Space = Fmt.indexOf(QLatin1Char(' '));
  const QString DatePart = Space > 0 ? Fmt.left(Space) : QString();
  if (!DatePart.isEmpty()) return QLocale().toString(Date, DatePart);
  return QLocale().toString(Date, QLocale::ShortFormat);
}

QString LabelStyled(TrId Id) { return FormatCaption(Tr(Id), 2); }

} // namespace

QString ModuleVersionNumber(const QString& Version) {
  const qsizetype First = Version.indexOf(QRegularExpression(QStringLiteral("[0-9]")));
  if (First < 0) return QString();
  const qsizetype Space = Version.indexOf(QLatin1Char(' '), First);
  return Version.mid(First, Space < 0 ? -1 : Space - First).trimmed();
}

QString ModuleAuthorLine(const QString& Author) {
  QString S = Author;
  for (const QString& Mark : {QStringLiteral("(c)"), QStringLiteral("copyright")}) {
    const qsizetype At = S.indexOf(Mark, 0, Qt::CaseInsensitive);
    if (At >= 0) S.remove(At, Mark.size());
  }
  if (const qsizetype At = S.indexOf(QChar(0xA9)); At >= 0) S.remove(At, 1);
  return EscapeAmpersands(QStringLiteral("Copyright \u00A9 ") + S.trimmed());
}

TPlgDlgForm::TPlgDlgForm(QWidget* Parent) : TDialogFormEx(Parent) {
  setObjectName(QStringLiteral("PlgDlgForm"));
  setWindowTitle(TranslationLoaded() ? Tr(TrId::GetTrMnuAboutPlugins) : QStringLiteral("A propos du module"));
  resize(329, 245);
  auto* Layout = new QVBoxLayout(this);
  const auto Label = [this, Layout](const char* Name) {
    auto* L = new QLabel(this);
    L->setObjectName(QString::fromLatin1(Name));
    Layout->addWidget(L);
    return L;
  };
  LblCaption = Label("LblCaption");
  QFont Bold = font();
  Bold.setBold(true);
  Bold.setPointSizeF(Bold.pointSizeF() + 2);
  LblCaption->setFont(Bold);
  LblVersion = Label("LblVersion");
  LblAuthor = Label("LblAuthor");
  auto* Separator = new TMyBevel(this);
  Separator->setObjectName(QStringLiteral("Separator"));
  Separator->setFixedHeight(2);
  Layout->addWidget(Separator);
  LblType = Label("LblType");
  LblFile = Label("LblFile");
  LblComment = Label("LblComment");
  LblComment->setWordWrap(true);
  Layout->addStretch();
  BOk = new QPushButton(TranslationLoaded() && !Tr(TrId::GetTrBtnOk).isEmpty() ? Tr(TrId::GetTrBtnOk)
                                                                                : QStringLiteral("Ok"),
                        this);
  BOk->setObjectName(QStringLiteral("BOk"));
  BOk->setDefault(true);
  Layout->addWidget(BOk, 0, Qt::AlignRight);
  connect(BOk, &QPushButton::clicked, this, &QDialog::accept);
}

void TPlgDlgForm::SetPlugin(const TPluginItem& Item, const QString& MenuPath) {
  const TModuleCaptions C = SplitModuleCaption(Item.Caption);
  LblCaption->setText(EscapeAmpersands(C.Name + QLatin1Char(' ') + ModuleVersionNumber(Item.Version)));
  const QFileInfo File(Item.FileName);
  LblVersion->setText(FileDayText(File.lastModified()));
  LblAuthor->setText(ModuleAuthorLine(Item.Author));
  LblType->setText(LabelStyled(TrId::GetTrLblMenu) + QLatin1Char(' ') + MenuPath + QLatin1Char('/') +
                   CleanMenuCaption(C.Command));
  LblFile->setText(LabelStyled(TrId::GetTrLblFileName) + QLatin1Char(' ') +
                   EllipsisEnd(EscapeAmpersands(File.fileName()), 40) + QStringLiteral(" (") +
                   FormatByteSize(File.size(), false) + QLatin1Char(')'));
  LblComment->setText(EscapeAmpersands(Item.Comment));
  LblComment->setVisible(!Item.Comment.isEmpty());
  BOk->setFocus();
}
