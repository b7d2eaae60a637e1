#include "extensions/CompanionPrograms.h"

#include "platform/IniFile.h"

#include <QFileInfo>

QString BridgeCommandLine(int64_t Window, const QString& Language, const QString& SettingsFile) {
  return QStringLiteral("-hwnd=%1 -lng=%2 -ini=\"%3\"").arg(Window).arg(Language, SettingsFile);
}

QString TwainCommandLine(bool Gui, int64_t Window, const QString& Language, const QString& SettingsFile) {
  return (Gui ? QStringLiteral("-gui ") : QString()) + BridgeCommandLine(Window, Language, SettingsFile);
}

QString CircleTextCommandLine(int64_t Window, const QString& Language) {
  return QStringLiteral("-hwnd=%1 -lng=%2").arg(Window).arg(Language);
}

bool IsTwainHelper(const QString& Path) {
  return QFileInfo(Path).fileName().compare(QLatin1String(TwainProgramName), Qt::CaseInsensitive) == 0;
}

bool IsExeOrShortcut(const QString& Path) {
  if (Path.isEmpty()) return false;
  const QFileInfo Info(Path);
  if (!Info.isFile()) return false;
  const QString Ext = Info.suffix().toLower();
  return Ext == QLatin1String("exe") || Ext == QLatin1String("lnk") || Info.isExecutable();
}

QString TCompanionPrograms::Find(QString& Remembered, const char* Name) const {
  if (Remembered.isEmpty()) {
    const QString Path = FFolder + QLatin1String(Name);
    if (QFileInfo(Path).isFile()) Remembered = Path;
  }
  return Remembered;
}

bool TCompanionPrograms::BridgeAvailable() { return !Find(FBridge, BridgeProgramName).isEmpty(); }

QString TCompanionPrograms::TwainHelperPath() { return Find(FTwain, TwainProgramName); }

bool TCompanionPrograms::CircleTextAvailable(const QString& Language) {
  const bool Known = !FCircleText.isEmpty();
  if (Find(FCircleText, CircleTextProgramName).isEmpty()) return false;
  if (!Known) {
    const QFileInfo Program(FCircleText);
    const TIniFile Lng(Program.path() + u'/' + Program.completeBaseName() + QStringLiteral(".lng"));
    FCircleCaption = Lng.ReadString(Language, QStringLiteral("Caption"), QString());
    if (FCircleCaption.isEmpty()) FCircleCaption = QStringLiteral("Texte en cercle");
  }
  return true;
}
