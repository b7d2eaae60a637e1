#include "app/StatusProgress.h"

#include "i18n/LibLang.h"

QString TitreMenu(const QString& Caption) {
  QString Text = Caption;
  Text.remove(QLatin1Char('&'));
  if (Text.endsWith(QLatin1String("..."))) Text.chop(3);
  if (Text.endsWith(QLatin1Char(':'))) Text.chop(1);
  return Text.trimmed();
}

QString FormatCaption(const QString& Text) {
  QString Result = TitreMenu(Text);
  if (Result.isEmpty()) return Result;
  const QChar First = Result[0];
  if (First >= QLatin1Char('a') && First <= QLatin1Char('z')) Result[0] = First.toUpper();
  return Result + QStringLiteral("...");
}

QString StatusPanelText(const QString& Text) {
  if (Text == Tr(TrId::GetTrStaReady) || Text.endsWith(QLatin1Char('%'))) return Text;
  return FormatCaption(Text);
}

QString ProgressFormat(const QString& SavedText) {
  const QString Cleaned = TitreMenu(SavedText);
  const QString Name = Cleaned != TitreMenu(Tr(TrId::GetTrStaReady)) && !Cleaned.isEmpty()
                           ? Cleaned.section(QLatin1Char(':'), 0, 0).trimmed()
                           : Tr(TrId::GetTrStaProcessing);
  return Name + QStringLiteral(" : %1%");
}

int ProgressFillWidth(int Percent, int Width) { return Percent * Width / 100; }
