#include "files/FindFiles.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <exception>

namespace {

// The state of one search. AbortFindFiles reaches the innermost running one,
// so a callback that starts a search of its own does not disturb its caller's.
struct TSearch {
  bool Stop = false;
  bool Recurse = false;
  TFindFilesCallback Callback;
  QStringList Masks;
  QSet<QString> Visited; // canonical paths of the folders searched
};

TSearch* Current = nullptr;

QString ExtOf(const QString& Name) {
  const qsizetype Dot = Name.lastIndexOf(QLatin1Char('.'));
  return Dot < 0 ? QString() : Name.mid(Dot).toLower();
}

QStringList SplitMasks(QString Masks) {
  Masks.remove(QLatin1Char(' '));
  Masks.remove(QLatin1Char('\t'));
  return Masks.split(QLatin1Char(';'), Qt::SkipEmptyParts);
}

void SearchFolder(TSearch& Search, QString Folder) {
  if (!Folder.endsWith(QLatin1Char('/'))) Folder += QLatin1Char('/');
  const QString Canonical = QFileInfo(Folder).canonicalFilePath();
  if (Canonical.isEmpty() || Search.Visited.contains(Canonical)) return;
  Search.Visited.insert(Canonical);

  for (const QString& Mask : Search.Masks) {
    if (Search.Stop) break;
    const QString MaskExt = ExtOf(Mask);
    // Name filters of QDirIterator compare without case unless told otherwise.
    QDirIterator It(Folder, {Mask}, QDir::Files | QDir::Hidden);
    while (!Search.Stop && It.hasNext()) {
      It.next();
      const QString Name = It.fileName();
      if (ExtOf(Name) == MaskExt && !Search.Callback(Folder, Name)) Search.Stop = true;
    }
  }
  if (!Search.Recurse || Search.Stop) return;
  QStringList Subfolders;
  QDirIterator It(Folder, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
  while (It.hasNext()) {
    It.next();
    if (!It.fileName().startsWith(QLatin1Char('.'))) Subfolders.append(It.filePath());
  }
  for (const QString& Sub : Subfolders) {
    if (Search.Stop) break;
    SearchFolder(Search, Sub);
  }
}

void RunSearch(const QString& Folder, const QString& Masks, bool Recurse, const TFindFilesCallback& Callback) {
  TSearch Search;
  Search.Recurse = Recurse;
  Search.Callback = Callback;
  Search.Masks = SplitMasks(Masks);
  struct TCurrent {
    explicit TCurrent(TSearch* S) : Previous(Current) { Current = S; }
    ~TCurrent() { Current = Previous; }
    TSearch* Previous;
  } Guard(&Search);
  SearchFolder(Search, Folder);
}

} // namespace

std::optional<QStringList> FindFiles(const QString& Folder, const QString& Masks, bool Recurse) {
  QStringList Found;
  try {
    RunSearch(Folder, Masks, Recurse, [&Found](const QString& Dir, const QString& Name) {
      Found.append(Dir + Name);
      return true;
    });
  } catch (const std::exception&) {
    return std::nullopt;
  }
  // Sorted without regard to case; of names equal but for case, the first
  // found stays.
  std::stable_sort(Found.begin(), Found.end(),
                   [](const QString& A, const QString& B) { return A.compare(B, Qt::CaseInsensitive) < 0; });
  Found.erase(std::unique(Found.begin(), Found.end(),
                          [](const QString& A, const QString& B) { return A.compare(B, Qt::CaseInsensitive) == 0; }),
              Found.end());
  return Found;
}

void FindFilesCallback(const QString& Folder, const QString& Masks, bool Recurse, const TFindFilesCallback& Callback) {
  RunSearch(Folder, Masks, Recurse, Callback);
}

void AbortFindFiles() {
  if (Current) Current->Stop = true;
}
