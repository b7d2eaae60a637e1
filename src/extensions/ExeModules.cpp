#include "extensions/ExeModules.h"

#include "platform/IniFile.h"
#include "platform/SafeFile.h"
#include "raster/FoncUtils.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>

namespace {

const QString LinkSection = QStringLiteral("LUMARETIQUE_LINK");
constexpr int CaptionLength = 50;
constexpr int WaitStepMs = 333;

QString Quoted(const QString& S) { return u'"' + S + u'"'; }

// The template with its macros, or both files in double quotes.
QString IOCommandLine(const QString& Params, const QString& Input, const QString& Output) {
  return Params.isEmpty() ? Quoted(Input) + u' ' + Quoted(Output) : ReplaceIOParams(Params, Input, Output);
}

// The first occurrence of Macro, found without regard to case, replaced.
void ReplaceFirst(QString& S, const QString& Macro, const QString& By) {
  const qsizetype At = S.indexOf(Macro, 0, Qt::CaseInsensitive);
  if (At >= 0) S.replace(At, Macro.size(), By);
}

// "%xd", "%xf", "%xe", "%x" of Path, longest first.
void ReplacePathMacros(QString& S, QChar Letter, const QString& Path) {
  const QFileInfo Info(Path);
  QString Folder = Info.path();
  if (!Folder.endsWith(u'/')) Folder += u'/';
  const QString Prefix = u'%' + QString(Letter);
  S.replace(Prefix + u'd', Path.isEmpty() ? QString() : Folder);
  S.replace(Prefix + u'f', Info.completeBaseName());
  S.replace(Prefix + u'e', Info.suffix());
  S.replace(Prefix, Path);
}

QString ReadKey(const TIniFile& Ini, const char* Key) {
  return Ini.ReadString(LinkSection, QString::fromLatin1(Key), QString());
}

// The about text, "<\n>" standing for a line break.
QString AboutText(const TIniFile& Ini, const QString& Program) {
  QString About = ReadKey(Ini, "About");
  About.replace(QStringLiteral("<\\n>"), QStringLiteral("\r"));
  return About.isEmpty() ? QFileInfo(Program).fileName() : About;
}

QString CaptionOf(const TIniFile& Ini, const QString& File) {
  const QString Caption = ReadKey(Ini, "Caption");
  return Caption.isEmpty() ? QFileInfo(File).completeBaseName() : Caption;
}

// The modification time to the precision the file system keeps.
QDateTime Modified(const QString& FileName) { return QFileInfo(FileName).fileTime(QFileDevice::FileModificationTime); }

// Target replaced by the file Made through a safe write (flushed to disk,
// renamed over the target only when whole).
bool ReplaceWith(const QString& Made, const QString& Target) {
  QFile In(Made);
  if (!In.open(QIODevice::ReadOnly)) return false;
  try {
    TSafeFile Out(Target);
    for (;;) {
      const QByteArray Chunk = In.read(1 << 20);
      if (Chunk.isEmpty()) break;
      Out.Write(Chunk.constData(), size_t(Chunk.size()));
    }
    if (In.error() != QFileDevice::NoError) return false;
    Out.Commit();
    return true;
  } catch (const ESafeFileError&) {
    return false;
  }
}

} // namespace

QString ExpandPluginPath(const QString& Value, const QString& DescriptionDir, const QString& ProgramDir) {
  QString S = Value;
  // The folder macro counts with the delimiter that follows it, either one.
  const qsizetype Back = S.indexOf(QStringLiteral("%plugins64%\\"), 0, Qt::CaseInsensitive);
  const qsizetype Slash = S.indexOf(QStringLiteral("%plugins64%/"), 0, Qt::CaseInsensitive);
  const qsizetype At = Back < 0 ? Slash : (Slash < 0 ? Back : std::min(Back, Slash));
  if (At >= 0) S.replace(At, 12, DescriptionDir);
  ReplaceFirst(S, QStringLiteral("%lumaretique%"), ProgramDir);
  ReplaceFirst(S, QStringLiteral("%programfiles%"), qEnvironmentVariable("PROGRAMFILES"));
  ReplaceFirst(S, QStringLiteral("%userprofile%"), qEnvironmentVariable("USERPROFILE", qEnvironmentVariable("HOME")));
  S.replace(u'\\', u'/');
  return S;
}

QString ReplaceIOParams(const QString& Template, const QString& Input, const QString& Output) {
  QString S = Template;
  if (S.isEmpty()) return S;
  ReplacePathMacros(S, u'i', Input);
  ReplacePathMacros(S, u'o', Output);
  return S;
}

QString FilterCommandLine(const QString& Params, const QString& FileName) {
  if (Params.isEmpty()) return Quoted(FileName);
  QString S = Params;
  return S.replace(QStringLiteral("%f"), FileName);
}

bool FormatListHasExt(const QString& List, const QString& FileName) {
  const QString Suffix = QFileInfo(FileName).suffix();
  if (Suffix.isEmpty()) return false;
  const QString Ext = u'.' + Suffix.toLower();
  const qsizetype At = List.indexOf(Ext);
  if (At < 0) return false;
  const qsizetype End = At + Ext.size();
  return End == List.size() || List.at(End) == u';';
}

QString SwapFilePath(const QString& SwapMode, const QString& Input) {
  const bool Jpeg = SwapMode.left(3).toLower() == QLatin1String("jpg");
  const QString Default = QDir::tempPath() + QStringLiteral("/LumaretiquePluginSwap") +
                          (Jpeg ? QStringLiteral(".jpg") : QStringLiteral(".png"));
  if (SwapMode.size() <= 4) return Default;
  return ReplaceIOParams(SwapMode.mid(4), Input, Default);
}

bool DescriptionBool(const QString& Value, bool Default) {
  const QString V = Value.toLower();
  if (V == QLatin1String("0") || V == QLatin1String("false")) return false;
  if (V == QLatin1String("1") || V == QLatin1String("true")) return true;
  return Default;
}

bool RunExeAndWait(const QString& Exe, const QString& Parameters, bool) {
  QProcess Process;
  Process.setProgram(Exe);
  Process.setArguments(QProcess::splitCommand(Parameters));
  // The program's output is not the editor's: it goes where the editor's goes.
  Process.setProcessChannelMode(QProcess::ForwardedChannels);
  Process.start();
  if (!Process.waitForStarted()) return false;
  while (!Process.waitForFinished(WaitStepMs)) {
    if (Process.state() == QProcess::NotRunning) break;
    QCoreApplication::processEvents();
  }
  return true;
}

// ---- TExeModules ----------------------------------------------------------------

TExeModules::TExeModules(const QString& ProgramDir)
    : FProgramDir(ProgramDir), FDescriptionDir(ProgramDir + QStringLiteral("Plugins_64/")), FRunExe(RunExeAndWait) {}

QString TExeModules::DescriptionFile(const char* Template, int N) const {
  return FDescriptionDir + QString::asprintf(Template, N);
}

QString TExeModules::ReadProgram(const QString& File) const {
  if (!QFileInfo(File).isFile()) return {};
  const QString Exe = ExpandPluginPath(ReadKey(TIniFile(File), "ExeFilename"), FDescriptionDir, FProgramDir);
  return !Exe.isEmpty() && QFileInfo(Exe).isFile() ? Exe : QString();
}

bool TExeModules::LoadFilterPlugin(int N) {
  TFilterPluginData& Slot = FFilters[Index(N)];
  Slot = TFilterPluginData();
  QString File = DescriptionFile("MyFilter%d.ini", Index(N) + 1);
  if (!QFileInfo(File).isFile()) File = DescriptionFile("MyPlugin%d.ini", Index(N) + 1);
  const QString Exe = ReadProgram(File);
  if (Exe.isEmpty()) return false;
  const TIniFile Ini(File);
  Slot.ExeFilename = Exe;
  Slot.Caption = CaptionOf(Ini, File);
  Slot.Msg = AboutText(Ini, Exe);
  Slot.ExeParams = ReadKey(Ini, "ExeParams");
  Slot.AlphaChannel = DescriptionBool(ReadKey(Ini, "AlphaChannel"), false);
  Slot.HideWindow = DescriptionBool(ReadKey(Ini, "HideWindow"), false);
  return true;
}

bool TExeModules::LoadImportExport(TImportPluginData& Slot, const QString& File) {
  Slot = TImportPluginData();
  const QString Exe = ReadProgram(File);
  if (Exe.isEmpty()) return false;
  const TIniFile Ini(File);
  Slot.ExeFilename = Exe;
  Slot.ImageFormats = ReadKey(Ini, "ImageFormats").toLower();
  Slot.ExeParams = ReadKey(Ini, "ExeParams");
  Slot.SwapMode = ReadKey(Ini, "SwapMode");
  Slot.Caption = CaptionOf(Ini, File);
  Slot.Msg = AboutText(Ini, Exe);
  Slot.HideWindow = DescriptionBool(ReadKey(Ini, "HideWindow"), true);
  return true;
}

bool TExeModules::LoadImportPlugin(int N) {
  const bool Loaded = LoadImportExport(FImports[Index(N)], DescriptionFile("MyImport%d.ini", Index(N) + 1));
  FImportLoaded = FImportLoaded || Loaded;
  return Loaded;
}

bool TExeModules::LoadExportPlugin(int N) {
  const bool Loaded = LoadImportExport(FExports[Index(N)], DescriptionFile("MyExport%d.ini", Index(N) + 1));
  FExportLoaded = FExportLoaded || Loaded;
  return Loaded;
}

bool TExeModules::CurrentFilterPluginAvailable() {
  return !FilterSlot(FCurrentFilter).ExeFilename.isEmpty() || LoadFilterPlugin(FCurrentFilter);
}

QString TExeModules::CurrentFilterPluginCaption() const {
  return EllipsisEnd(FilterSlot(FCurrentFilter).Caption, CaptionLength);
}

QString TExeModules::CurrentFilterPluginAbout() const { return FilterSlot(FCurrentFilter).Msg; }
bool TExeModules::CurrentFilterPluginAlpha() const { return FilterSlot(FCurrentFilter).AlphaChannel; }
bool TExeModules::CurrentFilterPluginVisible() const { return !FilterSlot(FCurrentFilter).HideWindow; }

bool TExeModules::RunCurrentFilterPlugin(const QString& FileName) {
  const TFilterPluginData& Slot = FilterSlot(FCurrentFilter);
  if (Slot.ExeFilename.isEmpty()) return false;
  const QDateTime Before = Modified(FileName);
  const bool Started = FRunExe(Slot.ExeFilename, FilterCommandLine(Slot.ExeParams, FileName), Slot.HideWindow);
  return Started && Modified(FileName) != Before;
}

QString TExeModules::ImportExportCaption(const TImportPluginData& Slot) {
  if (Slot.Caption.isEmpty()) return {};
  return EllipsisEnd(Slot.Caption + QStringLiteral(" (") + Slot.ImageFormats + u')', CaptionLength);
}

bool TExeModules::CurrentImportPluginAvailable() {
  return !ImportSlot(FCurrentImport).ExeFilename.isEmpty() || LoadImportPlugin(FCurrentImport);
}

QString TExeModules::CurrentImportPluginCaption() const { return ImportExportCaption(ImportSlot(FCurrentImport)); }
QString TExeModules::CurrentImportPluginAbout() const { return ImportSlot(FCurrentImport).Msg; }

QString TExeModules::Mask(const TImportPluginData& Slot) {
  QString S = Slot.ImageFormats;
  return S.replace(u'.', QStringLiteral("*."));
}

QString TExeModules::ImportPluginMasks() const {
  if (!FImportLoaded) return {};
  QStringList Masks;
  for (const TImportPluginData& Slot : FImports)
    if (const QString M = Mask(Slot); !M.isEmpty()) Masks << M;
  return Masks.join(u';');
}

QString TExeModules::Filters(const std::array<TImportPluginData, ExeModuleSlots>& Slots) {
  QStringList Entries;
  for (const TImportPluginData& Slot : Slots)
    if (const QString M = Mask(Slot); !M.isEmpty()) Entries << Slot.Caption + u'|' + M;
  return Entries.join(u'|');
}

QString TExeModules::ImportPluginFilters() const { return Filters(FImports); }

int TExeModules::FindSlot(const std::array<TImportPluginData, ExeModuleSlots>& Slots, const QString& FileName) {
  for (int N = 1; N <= ExeModuleSlots; ++N)
    if (!Slots[N - 1].ExeFilename.isEmpty() && FormatListHasExt(Slots[N - 1].ImageFormats, FileName)) return N;
  return 0;
}

int TExeModules::FindImportPlugin(const QString& FileName) {
  const int N = FImportLoaded ? FindSlot(FImports, FileName) : 0;
  if (N > 0) FCurrentImport = N;
  return N;
}

QString TExeModules::ImportWithCurrentPlugin(const QString& FileName) {
  const TImportPluginData& Slot = ImportSlot(FCurrentImport);
  if (Slot.ExeFilename.isEmpty()) return {};
  const QString Swap = SwapFilePath(Slot.SwapMode, FileName);
  QFile::remove(Swap);
  return FRunExe(Slot.ExeFilename, IOCommandLine(Slot.ExeParams, FileName, Swap), Slot.HideWindow) ? Swap : QString();
}

bool TExeModules::CurrentExportPluginAvailable() {
  return !ExportSlot(FCurrentExport).ExeFilename.isEmpty() || LoadExportPlugin(FCurrentExport);
}

QString TExeModules::CurrentExportPluginCaption() const { return ImportExportCaption(ExportSlot(FCurrentExport)); }
QString TExeModules::CurrentExportPluginAbout() const { return ExportSlot(FCurrentExport).Msg; }
QString TExeModules::ExportPluginFilters() const { return Filters(FExports); }

int TExeModules::FindExportPlugin(const QString& FileName) {
  const int N = FExportLoaded ? FindSlot(FExports, FileName) : 0;
  if (N > 0) FCurrentExport = N;
  return N;
}

QString TExeModules::CurrentExportSwapPath() const {
  return SwapFilePath(ExportSlot(FCurrentExport).SwapMode, QString());
}

bool TExeModules::ExportWithCurrentPlugin(const QString& SwapPath, const QString& Target) {
  const TImportPluginData& Slot = ExportSlot(FCurrentExport);
  if (Slot.ExeFilename.isEmpty()) return false;
  // The program writes under the target's own name in a folder of its own,
  // so that what it leaves or half-writes never replaces the user's file.
  const QTemporaryDir Work(QDir::tempPath() + QStringLiteral("/LumaretiqueExport-XXXXXX"));
  if (!Work.isValid()) return false;
  const QString Made = Work.filePath(QFileInfo(Target).fileName());
  if (!FRunExe(Slot.ExeFilename, IOCommandLine(Slot.ExeParams, SwapPath, Made), true) || !QFileInfo(Made).isFile())
    return false;
  return ReplaceWith(Made, Target);
}
