// The three companion programs of fixed names in the folder "Plugins" of the
// program folder: the bridge that runs 32-bit plug-ins, the scanning
// program and the program that writes text along a circle. Their command
// lines carry the main window's handle (the number of its companion
// channel, CompanionChannel.h), the language code and, for the first two,
// the settings file. Depends on the ini reader (platform); used by the main
// window's companion commands.
#pragma once

#include <QString>

#include <cstdint>

inline constexpr const char* BridgeProgramName = "LumaBridge32.exe";
inline constexpr const char* TwainProgramName = "LMTwain32.exe";
inline constexpr const char* CircleTextProgramName = "LMCircleText32.exe";

// "-hwnd=%d -lng=%s -ini=\"%s\"".
QString BridgeCommandLine(int64_t Window, const QString& Language, const QString& SettingsFile);
// The same with "-gui " in front when Gui.
QString TwainCommandLine(bool Gui, int64_t Window, const QString& Language, const QString& SettingsFile);
// "-hwnd=%d -lng=%s".
QString CircleTextCommandLine(int64_t Window, const QString& Language);

// Path's file name is the scanning program's, whatever its case.
bool IsTwainHelper(const QString& Path);
// Path names an existing file that is a program: extension ".exe" or ".lnk"
// in any case, or, as programs here carry no extension, an executable file.
bool IsExeOrShortcut(const QString& Path);

class TCompanionPrograms {
public:
  // ProgramDir ends in '/'.
  explicit TCompanionPrograms(const QString& ProgramDir) : FFolder(ProgramDir + QStringLiteral("Plugins/")) {}
  // Each path is remembered after the first look-up that found it.
  bool BridgeAvailable();
  QString BridgePath() const { return FBridge; }
  // '' when missing.
  QString TwainHelperPath();
  // The first success also reads the menu caption for Language: key
  // "Caption" of that section of the program's ".lng" file, else "Texte en
  // cercle".
  bool CircleTextAvailable(const QString& Language);
  QString CircleTextPath() const { return FCircleText; }
  QString CircleTextCaption() const { return FCircleCaption; }

private:
  QString Find(QString& Remembered, const char* Name) const;
  QString FFolder, FBridge, FTwain, FCircleText, FCircleCaption;
};
