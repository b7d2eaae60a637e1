#include "files/FreeImageProvider.h"

namespace {

const TFreeImageProvider* Installed = nullptr;

template <class F> QString JoinFormats(QChar Separator, F Part) {
  QString Result;
  for (int Fif = 0; Fif < FreeImageFormatCount; ++Fif) {
    if (Fif > 0) Result += Separator;
    Result += Part(Fif);
  }
  return Result;
}

} // namespace

void SetFreeImageProvider(const TFreeImageProvider* Provider) { Installed = Provider; }
const TFreeImageProvider* FreeImageProvider() { return Installed; }
bool IsFreeImageLoaded() { return Installed != nullptr; }

QString FreeImageFormatDescription(int Fif) { return Installed ? Installed->FormatDescription(Fif) : QString(); }

QString FifMaskList(int Fif) {
  if (!Installed) return {};
  QString List = Installed->FormatExtensionList(Fif);
  return QStringLiteral("*.") + List.replace(QLatin1Char(','), QStringLiteral(";*."));
}

QString FifFilterEntry(int Fif) {
  if (!Installed) return {};
  return FreeImageFormatDescription(Fif) + QLatin1Char('|') + FifMaskList(Fif);
}

QString AllFifFilters() {
  if (!Installed) return {};
  return JoinFormats(QLatin1Char('|'), FifFilterEntry);
}

QString AllFifMasks() {
  if (!Installed) return {};
  return JoinFormats(QLatin1Char(';'), FifMaskList);
}
