#include "app/StatusProgress.h"

#include "app/Commun.h"
#include "i18n/LibLang.h"
#include "raster/FoncUtils.h"

QString StatusPanelText(const QString& Text) {
  if (Text == Tr(TrId::GetTrStaReady) || Text.endsWith(QLatin1Char('%'))) return Text;
  return FormatCaption(Text, 1);
}

QString ProgressFormat(const QString& SavedText) {
  const QString Cleaned = CleanMenuCaption(SavedText);
  const QString Name = Cleaned != CleanMenuCaption(Tr(TrId::GetTrStaReady)) && !Cleaned.isEmpty()
                           ? Cleaned.section(QLatin1Char(':'), 0, 0).trimmed()
                           : Tr(TrId::GetTrStaProcessing);
  return Name + QStringLiteral(" : %1%");
}

int ProgressFillWidth(int Percent, int Width) { return Percent * Width / 100; }
