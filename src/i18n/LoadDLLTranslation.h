// Language modules: a shared library with the extension ".plg" in the program
// folder, exporting one text function per translatable string. One is looked
// for once at start-up; its texts are copied and the library freed at once.
#pragma once

#include <QString>

#include <functional>

// Every export of a module: fills Buffer (MaxLength UTF-16 units) and returns
// it, or returns text of its own; a zero-terminated UTF-16 text either way.
extern "C" {
using TGetTextFunc = const char16_t* (*)(char16_t* Buffer, int32_t MaxLength);
}

// The interface version a module must answer from GetCompatibility, exactly.
inline constexpr const char16_t* LanguageModuleVersion = u"2.0";

// Tries the ".plg" files of ProgramDir (no sub-folder) in the order of their
// full names without regard to case, until one is accepted; ShowAction, when
// given, sees each file name before it is tried. True when one was accepted.
bool FindTranslationDLL(const QString& ProgramDir, const std::function<void(const QString&)>& ShowAction = {});

// Tries one file: true when it loaded, answered the version and its texts
// were copied into the translatable strings.
bool LoadTranslationDLL(const QString& FileName);
