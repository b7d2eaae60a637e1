#include "app/CommandLine.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString IniName = QStringLiteral("Lumaretique.ini");

bool IsOption(const QString& Param) { return Param.startsWith(QLatin1Char('-')); }

} // namespace

TCommandLineOptions ParseCommandLine(const QStringList& Params) {
  TCommandLineOptions Options;
  for (const QString& Param : Params) {
    if (!IsOption(Param)) continue;
    const QString Text = Param.mid(1, 999);
    const QString Lower = Text.toLower();
    if (Lower == QLatin1String("localini")) {
      Options.LocalIniOption = true;
    } else if (Lower.startsWith(QLatin1String("ini:"))) {
      const QString Path = Text.mid(4);
      const QFileInfo Info(Path);
      const bool HasFolder = Path.contains(QLatin1Char('/'));
      Options.IniPathOption = HasFolder && Info.absoluteDir().exists() ? Path : QString();
    } else if (Lower == QLatin1String("noplugins")) {
      Options.NoModulesOption = true;
    } else if (Lower == QLatin1String("tempfile")) {
      Options.OpenAsImportOption = true;
    }
  }
  return Options;
}

QStringList CommandLineFiles(const QStringList& Params) {
  QStringList Files;
  const int Count = std::min<int>(static_cast<int>(Params.size()), MaxCommandLineFiles);
  for (int I = 0; I < Count; ++I)
    if (!IsOption(Params[I]) && !Params[I].isEmpty()) Files << Params[I];
  return Files;
}

QString InitIniFileName(const TCommandLineOptions& Options, const QString& ProgramDir, const QString& UserConfigDir) {
  if (Options.LocalIniOption) return IniName;
  // A folder cannot hold the settings: the default file is used instead.
  if (!Options.IniPathOption.isEmpty() && !QFileInfo(Options.IniPathOption).isDir()) return Options.IniPathOption;
  if (QFileInfo::exists(ProgramDir + IniName)) return ProgramDir + IniName;
  QDir().mkpath(UserConfigDir);
  if (!QFileInfo(UserConfigDir).isDir()) return ProgramDir + IniName;
  return QDir(UserConfigDir).filePath(IniName);
}

QString UserConfigFolder() {
  QString Base = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (Base.isEmpty()) Base = QDir::homePath() + QStringLiteral("/.config");
  return Base + QStringLiteral("/Lumaretique 11");
}
