#include "i18n/LibLang.h"

#include "i18n/Format.h"

#include <array>

namespace {

struct TTrEntry {
  const char* Key; // nullptr: derived string
  const char16_t* Default;
};

constexpr TTrEntry Entries[] = {
#define LUMA_TR_KEY(Variable, Default) {#Variable, Default},
#define LUMA_TR_DERIVED(Variable, Default) {nullptr, Default},
#include "i18n/LibLangTable.inc"
#undef LUMA_TR_KEY
#undef LUMA_TR_DERIVED
};
static_assert(std::size(Entries) == TrCount);

using TTexts = std::array<QString, TrCount>;

TTexts& Texts() {
  static TTexts Current = [] {
    TTexts Initial;
    for (int I = 0; I < TrCount; ++I) Initial[I] = QString::fromUtf16(Entries[I].Default);
    return Initial;
  }();
  return Current;
}

bool Loaded = false;
int PrintUnit = 0;

} // namespace

const QString& Tr(TrId Id) { return Texts()[static_cast<int>(Id)]; }

QString TrDefault(TrId Id) { return QString::fromUtf16(Entries[static_cast<int>(Id)].Default); }

bool TrHasDefault(TrId Id) { return Entries[static_cast<int>(Id)].Default[0] != 0; }

const char* TrKey(TrId Id) { return Entries[static_cast<int>(Id)].Key; }

std::optional<TrId> TrIdOfKey(std::string_view Key) {
  for (int I = 0; I < TrCount; ++I)
    if (Entries[I].Key && Key == Entries[I].Key) return static_cast<TrId>(I);
  return std::nullopt;
}

bool SetTranslation(TrId Id, const QString& Text) {
  const int I = static_cast<int>(Id);
  if (I < 0 || I >= TrCount) return false;
  const QStringView Default(Entries[I].Default);
  // The program formats these texts with arguments of the French default's
  // kinds; a module's text must ask for exactly those.
  if (!Default.isEmpty() && FormatSpecifiers(Text) != FormatSpecifiers(Default)) return false;
  Texts()[I] = Text;
  return true;
}

bool TranslationLoaded() { return Loaded; }

void SetTranslationLoaded(bool Value) { Loaded = Value; }

int TrPrintUnit() { return PrintUnit; }

void SetTrPrintUnit(int Value) { PrintUnit = Value; }

void ResetTranslations() {
  for (int I = 0; I < TrCount; ++I) Texts()[I] = QString::fromUtf16(Entries[I].Default);
  Loaded = false;
  PrintUnit = 0;
}
