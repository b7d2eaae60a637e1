#include "files/FileAssociation.h"

#include "platform/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <exception>

namespace {

constexpr char MimeNamespace[] = "http://www.freedesktop.org/standards/shared-mime-info";
constexpr char PackageName[] = "lumaretique.xml";
// Above the default glob weight (50), so that our types win over another
// package's claim on the same extension without that package being touched.
constexpr int OwnGlobWeight = 80;
constexpr int DefaultGlobWeight = 50;
constexpr int ToolTimeoutMs = 10000;

QString& ExeNameSlot() {
  static QString Name;
  return Name;
}

QString DataHome() { return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation); }
QString MimeFolder() { return DataHome() + QStringLiteral("/mime"); }
QString ApplicationsFolder() { return DataHome() + QStringLiteral("/applications"); }

QString WithoutDot(QString Ext) {
  if (Ext.startsWith(u'.')) Ext.remove(0, 1);
  return Ext.toLower();
}

QStringList RowExtensions(const TFileTypeRow& Row) {
  QStringList Result;
  for (const QString& Ext : QString::fromLatin1(Row.Extensions).split(u';', Qt::SkipEmptyParts))
    Result << WithoutDot(Ext);
  return Result;
}

QStringList OwnMimeTypes() {
  QStringList Types;
  for (const TFileTypeRow& Row : OwnFileTypes) Types << MimeTypeOfProgID(QString::fromLatin1(Row.ProgID));
  return Types;
}

// The program as one argument of a desktop entry's Exec key: in double
// quotes with '"', '`', '$' and '\' escaped, then the key's own escapes
// (backslashes doubled, '%' doubled, line breaks and tabs as \n, \t, \r).
QString ExecArgument(const QString& Program) {
  QString Quoted;
  for (const QChar C : Program) {
    if (C == u'"' || C == u'`' || C == u'$' || C == u'\\') Quoted += u'\\';
    Quoted += C;
  }
  QString Value = u'"' + Quoted + u'"';
  Value.replace(u'\\', QStringLiteral("\\\\"));
  Value.replace(u'%', QStringLiteral("%%"));
  Value.replace(u'\n', QStringLiteral("\\n"));
  Value.replace(u'\t', QStringLiteral("\\t"));
  Value.replace(u'\r', QStringLiteral("\\r"));
  return Value;
}

// Writes Bytes to FileName through the safe writer unless it holds them
// already; true when the file changed.
bool WriteIfChanged(const QString& FileName, const QByteArray& Bytes) {
  QFile Existing(FileName);
  if (Existing.open(QIODevice::ReadOnly) && Existing.readAll() == Bytes) return false;
  Existing.close();
  if (!QDir().mkpath(QFileInfo(FileName).absolutePath())) return false;
  TSafeFile File(FileName);
  File.Write(Bytes.constData(), static_cast<size_t>(Bytes.size()));
  File.Commit();
  return true;
}

// Runs an installed tool and waits a bounded time; a missing one is skipped.
void RunTool(const QString& Name, const QStringList& Arguments) {
  const QString Program = QStandardPaths::findExecutable(Name);
  if (Program.isEmpty()) return;
  QProcess Process;
  Process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  Process.setStandardOutputFile(QProcess::nullDevice());
  Process.start(Program, Arguments);
  if (!Process.waitForStarted(ToolTimeoutMs)) return;
  if (!Process.waitForFinished(ToolTimeoutMs)) {
    Process.kill();
    Process.waitForFinished(ToolTimeoutMs);
  }
}

} // namespace

void SetFileTypesExeName(const QString& ExeName) { ExeNameSlot() = ExeName; }
QString FileTypesExeName() { return ExeNameSlot(); }

QString MimeTypeOfProgID(const QString& ProgID) { return QStringLiteral("application/vnd.") + ProgID.toLower(); }

QString MimePackageFile() { return MimeFolder() + QStringLiteral("/packages/") + QString::fromLatin1(PackageName); }
QString DesktopEntryFile() { return ApplicationsFolder() + u'/' + QString::fromLatin1(OwnDesktopEntry); }

QByteArray FileTypesMimePackage() {
  QByteArray Bytes;
  QXmlStreamWriter Xml(&Bytes);
  Xml.setAutoFormatting(true);
  Xml.writeStartDocument();
  Xml.writeDefaultNamespace(QString::fromLatin1(MimeNamespace));
  Xml.writeStartElement(QStringLiteral("mime-info"));
  for (const TFileTypeRow& Row : OwnFileTypes) {
    Xml.writeStartElement(QStringLiteral("mime-type"));
    Xml.writeAttribute(QStringLiteral("type"), MimeTypeOfProgID(QString::fromLatin1(Row.ProgID)));
    for (const QString& Ext : RowExtensions(Row)) {
      Xml.writeEmptyElement(QStringLiteral("glob"));
      Xml.writeAttribute(QStringLiteral("pattern"), QStringLiteral("*.") + Ext);
      Xml.writeAttribute(QStringLiteral("weight"), QString::number(OwnGlobWeight));
    }
    Xml.writeEndElement();
  }
  Xml.writeEndDocument();
  return Bytes;
}

QByteArray FileTypesDesktopEntry() {
  const QString Text = QStringLiteral("[Desktop Entry]\n"
                                      "Type=Application\n"
                                      "Name=Lumaretique 11\n"
                                      "Exec=%1 %f\n"
                                      "MimeType=%2;\n"
                                      "Terminal=false\n"
                                      // Opens the own files; no menu entry of its own.
                                      "NoDisplay=true\n")
                           .arg(ExecArgument(FileTypesExeName()), OwnMimeTypes().join(u';'));
  return Text.toUtf8();
}

bool IsOwnProgID(const QString& ProgID) {
  return ProgID.toLower().contains(QString::fromLatin1(OwnProgIDPrefix).toLower());
}

QString GetExtensionProgID(QString Ext) {
  const QString Pattern = QStringLiteral("*.") + WithoutDot(std::move(Ext));
  const QDir Packages(MimeFolder() + QStringLiteral("/packages"));
  QString Best;
  int BestWeight = -1;
  for (const QString& Name : Packages.entryList({QStringLiteral("*.xml")}, QDir::Files, QDir::Name)) {
    QFile File(Packages.filePath(Name));
    if (!File.open(QIODevice::ReadOnly)) continue;
    QXmlStreamReader Xml(&File);
    QString Type;
    while (!Xml.atEnd()) {
      if (Xml.readNext() != QXmlStreamReader::StartElement) continue;
      if (Xml.name() == u"mime-type") Type = Xml.attributes().value(QLatin1String("type")).toString();
      if (Xml.name() != u"glob" || Xml.attributes().value(QLatin1String("pattern")).toString().toLower() != Pattern) continue;
      bool Ok = false;
      int Weight = Xml.attributes().value(QLatin1String("weight")).toInt(&Ok);
      if (!Ok) Weight = DefaultGlobWeight;
      if (Weight > BestWeight && !Type.isEmpty()) {
        Best = Type;
        BestWeight = Weight;
      }
    }
  }
  return Best;
}

bool IsOwnExtension(const QString& Ext) { return IsOwnProgID(GetExtensionProgID(Ext)); }

void RegisterFileTypes(bool Force) {
  if (!Force && IsOwnExtension(QStringLiteral("lmi"))) return;
  try {
    const bool Package = WriteIfChanged(MimePackageFile(), FileTypesMimePackage());
    const bool Entry = WriteIfChanged(DesktopEntryFile(), FileTypesDesktopEntry());
    if (Package) RunTool(QStringLiteral("update-mime-database"), {MimeFolder()});
    if (Entry) RunTool(QStringLiteral("update-desktop-database"), {ApplicationsFolder()});
    if (Package || Entry)
      RunTool(QStringLiteral("xdg-mime"), QStringList{QStringLiteral("default"), QString::fromLatin1(OwnDesktopEntry)}
                                              << OwnMimeTypes());
  } catch (const std::exception&) {
    // A registration that cannot be written leaves the desktop as it was.
  }
}
