#include "i18n/TraductionMnu.h"

#include "i18n/LibLang.h"

namespace {

// The part before the first ":", trimmed; empty without a ":".
QString LabelBeforeColon(const QString& Text) {
  const qsizetype Colon = Text.indexOf(u':');
  return Colon < 0 ? QString() : Text.left(Colon).trimmed();
}

// In the properties format the sixth line begins with the word for "Date"
// followed by a blank; the scan stops at the end of the text.
QString SixthLineFirstWord(const QString& Text) {
  qsizetype Start = 0;
  for (int Line = 0; Line < 5; ++Line) {
    const qsizetype Cr = Text.indexOf(u'\r', Start);
    if (Cr < 0) return {};
    Start = Cr + 1;
  }
  const qsizetype Blank = Text.indexOf(u' ', Start);
  return Text.mid(Start, Blank < 0 ? -1 : Blank - Start);
}

QString WebPaletteFrom(QString Text) {
  const qsizetype Windows = Text.indexOf(QStringLiteral("Windows"), 0, Qt::CaseInsensitive);
  if (Windows >= 0) Text.replace(Windows, 7, QStringLiteral("Web"));
  const qsizetype Colors = Text.indexOf(QStringLiteral("256"));
  if (Colors >= 0) Text.replace(Colors, 3, QStringLiteral("216"));
  return Text;
}

} // namespace

void DeriveTranslatedStrings() {
  if (!TranslationLoaded()) return;
  SetTranslation(TrId::HueLabel, LabelBeforeColon(Tr(TrId::GetTrFmtHue)));
  SetTranslation(TrId::SaturationLabel, LabelBeforeColon(Tr(TrId::GetTrFmtSaturation)));
  SetTranslation(TrId::GainFormat, Tr(TrId::GetTrFmtAmount) + QStringLiteral("%%"));
  SetTranslation(TrId::NoiseFormat, Tr(TrId::GetTrMnuNoise) + QStringLiteral(" : %d"));
  SetTranslation(TrId::WebPaletteCaption, WebPaletteFrom(Tr(TrId::GetTrLblWindows256)));
  SetTranslation(TrId::DateWord, SixthLineFirstWord(Tr(TrId::GetTrFmtExploreProperties)));
  SetTranslation(TrId::ThicknessLabel, Tr(TrId::GetTrLblWidth));
  SetTranslation(TrId::PathTransformCaption,
                 Tr(TrId::GetTrMnuPath) + QStringLiteral(" (") + Tr(TrId::GetTrMnuTransform) + QLatin1Char(')'));
}
