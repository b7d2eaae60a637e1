// The translatable strings: every text the program shows at run time, read by
// variable, holding its French default until a language module replaces it.
// Depends on QtCore only; used by every subsystem that shows text.
//
// Reading: Tr(TrId::GetDlgWarning) gives the current text. The variables, their
// export keys and their French defaults are listed in i18n/LibLangTable.inc.
// A variable without a French default is empty unless a module filled it; such
// a variable captions a control whose form already carries the French text, so
// apply it only when TranslationLoaded() is true.
//
// Writing: only the language-module loader, once at start-up, through
// SetTranslation (and SetTrPrintUnit, SetTranslationLoaded). All of it lives on
// the interface thread.
#pragma once

#include <QString>

#include <optional>
#include <string_view>

enum class TrId : int {
#define LUMA_TR_KEY(Variable, Default) Variable,
#define LUMA_TR_DERIVED(Variable, Default) Variable,
#include "i18n/LibLangTable.inc"
#undef LUMA_TR_KEY
#undef LUMA_TR_DERIVED
};

// Number of variables (keyed and derived); TrId values run from 0 to TrCount - 1.
inline constexpr int TrCount = [] {
  int Count = 0;
#define LUMA_TR_KEY(Variable, Default) ++Count;
#define LUMA_TR_DERIVED(Variable, Default) ++Count;
#include "i18n/LibLangTable.inc"
#undef LUMA_TR_KEY
#undef LUMA_TR_DERIVED
  return Count;
}();

// The current text of a variable: its French default, or the text a language
// module gave it. The reference stays valid for the whole run.
const QString& Tr(TrId Id);

// The French default (empty when the variable has none).
QString TrDefault(TrId Id);
bool TrHasDefault(TrId Id);

// The language-module export that replaces the variable ("GetTrBtnOk"), or
// nullptr for a derived string, which has no key of its own.
const char* TrKey(TrId Id);
// The variable of an export name (exact case), if any.
std::optional<TrId> TrIdOfKey(std::string_view Key);

// The language-module hook: replaces one variable's text. A language module is
// outside input, so a text whose format specifiers (those that consume an
// argument) differ from the French default's is refused: the call returns false
// and the variable keeps its current text. A variable without a French default
// takes any text.
bool SetTranslation(TrId Id, const QString& Text);

// True once a language module was accepted at start-up.
bool TranslationLoaded();
void SetTranslationLoaded(bool Loaded);

// The key that is a whole number instead of a text: the default print unit of
// a translated interface (0 keeps centimetres).
inline constexpr const char* PrnUnitKey = "GetTrPrnUnit";
int TrPrintUnit();
void SetTrPrintUnit(int Value);

// Puts every variable back to its French default, the print unit to 0 and
// TranslationLoaded to false (tests, and a module refused half-way through).
void ResetTranslations();
