#include "app/StartupServices.h"

#include "files/FileAssociation.h"
#include "i18n/LibLang.h"
#include "i18n/LoadDLLTranslation.h"
#include "i18n/TraductionMnu.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

QString SubFolder(const QString& ProgramDir, const char* Name, const QString& Fallback) {
  const QString Folder = QDir(ProgramDir).filePath(QString::fromLatin1(Name));
  return QFileInfo(Folder).isDir() ? Folder : Fallback;
}

} // namespace

TDataFolders InitDataFolders(const QString& ProgramDir) {
  QString Program = ProgramDir;
  while (Program.size() > 1 && Program.endsWith(QLatin1Char('/'))) Program.chop(1);
  TDataFolders F;
  F.SelDir = SubFolder(Program, "Selections", Program);
  F.MasqueDir = SubFolder(Program, "Masks", Program);
  F.PluginDir = SubFolder(Program, "Plugins_64", QString());
  F.MotifDir = SubFolder(Program, "Patterns", Program);
  F.BrushDir = SubFolder(Program, "Brushes", Program);
  F.PS8bfDir = SubFolder(Program, "8bf_64", F.PluginDir);
  F.NozzleDir = SubFolder(Program, "Nozzles", Program);
  F.TextureDir = SubFolder(Program, "Textures", Program);
  F.PngDir = SubFolder(Program, "PngData", Program);
  F.PathDir = SubFolder(Program, "Paths", Program);
  F.DataDir = SubFolder(Program, "Data", Program);
  F.ChargerPlugins = !F.PluginDir.isEmpty();
  return F;
}

QString UserDataFolder() {
  QString Base = qEnvironmentVariable("XDG_DATA_HOME");
  if (Base.isEmpty()) Base = QDir::homePath() + QStringLiteral("/.local/share");
  return Base + QStringLiteral("/Lumaretique 11");
}

QString EnsureDataFolder(const QString& ProgramDir, const QString& Name, const QString& UserDataDir) {
  for (const QString& Base : {ProgramDir, UserDataDir}) {
    if (Base.isEmpty()) continue;
    const QString Folder = QDir::cleanPath(QDir(Base).filePath(Name));
    if (QFileInfo(Folder).isDir() && QFileInfo(Folder).isWritable()) return Folder;
    if (!QFileInfo::exists(Folder) && QDir().mkpath(Folder)) return Folder;
  }
  return QString();
}

bool HandedToFirstInstance(const QString&, const QStringList&) { return false; }

bool SplashWindowAvailable() { return false; }

bool LoadLanguageModule(const QString& ProgramDir) {
  const bool Loaded = FindTranslationDLL(ProgramDir);
  SetTranslationLoaded(Loaded);
  DeriveTranslatedStrings();
  return Loaded;
}

void RegisterExeAndFileTypes() {
  SetFileTypesExeName(QCoreApplication::applicationFilePath());
  RegisterFileTypes(true);
}
