// Malformed files of every format the library reads: each loads or is
// refused with the file's error, and never crashes, hangs or exhausts
// memory. The normal run reads them in this process; files that still crash
// inside the library itself are listed below and read only by
// scripts/freeimage-corpus, which runs every file in a child process and
// reports them so that they can be isolated.
#include "FreeImageTestSupport.h"
#include "MalformedCorpus.h"
#include "files/ReadLimits.h"

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace {

// Files that crash inside the library (scripts/freeimage-corpus lists them).
const std::set<QString> KnownLibraryCrashes = {
    "jxr-ff@56.jxr", // an assertion of the JPEG XR codec on a damaged format entry
};

// Seeds this build of the library cannot decode at all (it lists JPEG XR
// but reads none, and refuses every run-length BMP): refused, not loaded.
const std::set<QString> UndecodableFormats = {"jxr", "bmprle"};

// Readers that leak inside the library itself on some damaged files (XPM:
// a string of its header): their loads here stay out of the leak check,
// which every other load and every other test keeps.
const std::set<QString> LeakingLibraryReaders = {"xpm"};

// Leaks allocated in its lifetime are not reported, when Skip.
class TLeakCheckSkip {
public:
  explicit TLeakCheckSkip(bool Skip) : FSkip(Skip) {
#if defined(__SANITIZE_ADDRESS__)
    if (FSkip) __lsan_disable();
#endif
  }
  ~TLeakCheckSkip() {
#if defined(__SANITIZE_ADDRESS__)
    if (FSkip) __lsan_enable();
#endif
  }

private:
  bool FSkip;
};

struct TRun {
  TCorpusFile File;
  TCorpusResult Result;
};

std::vector<TCorpusFile> Corpus(const QString& Folder) {
  std::vector<QString> Missing;
  const std::vector<TCorpusFile> Files = BuildMalformedCorpus(Folder, Missing);
  for (const QString& Format : Missing) std::printf("no seed for %s\n", qPrintable(Format));
  return Files;
}

bool Acceptable(TCorpusOutcome Outcome) {
  return Outcome == TCorpusOutcome::Loaded || Outcome == TCorpusOutcome::Refused;
}

TEST(FreeImageCorpus, MalformedFilesAreLoadedOrRefused) {
  REQUIRE_FREEIMAGE();
  TTestFolder Folder;
  const std::vector<TCorpusFile> Files = Corpus(Folder.Path(""));
  ASSERT_GT(Files.size(), 1000u);
  for (const TCorpusFile& File : Files) {
    if (KnownLibraryCrashes.count(File.Name)) continue;
    bool Loaded = false;
    try {
      const TLeakCheckSkip LibraryLeaks(LeakingLibraryReaders.count(File.Format) > 0);
      LoadThroughFreeImage(File.Path);
      Loaded = true;
    } catch (const EInvalidGraphic& E) {
      EXPECT_NE(std::string(E.what()).find(File.Name.toStdString()), std::string::npos) << E.what();
    } catch (const std::exception& E) {
      ADD_FAILURE() << qPrintable(File.Name) << ": " << E.what();
    }
    if (File.Name.contains("-seed.") && !UndecodableFormats.count(File.Format)) {
      EXPECT_TRUE(Loaded) << qPrintable(File.Name);
    }
  }
}

// Run by scripts/freeimage-corpus: every file, the known crashes included;
// prints a table per format and copies the files that crash, hang or run
// out of memory to $LUMA_CORPUS_OUT (when set). Fails on any such file that
// is not already listed above.
TEST(FreeImageCorpus, DISABLED_FullReport) {
  REQUIRE_FREEIMAGE();
  TTestFolder Folder;
  const QString Logs = Folder.Path("logs");
  QDir().mkpath(Logs);
  std::vector<TRun> Runs;
  for (const TCorpusFile& File : Corpus(Folder.Path(""))) Runs.push_back({File, RunCorpusFile(File, Logs, 20)});
  const QString Out = QProcessEnvironment::systemEnvironment().value("LUMA_CORPUS_OUT");
  if (!Out.isEmpty()) QDir().mkpath(Out);
  std::map<QString, std::map<TCorpusOutcome, int>> Table;
  for (const TRun& Run : Runs) {
    ++Table[Run.File.Format][Run.Result.Outcome];
    if (Acceptable(Run.Result.Outcome)) continue;
    std::printf("%-14s %s  %s\n", OutcomeName(Run.Result.Outcome), qPrintable(Run.File.Name),
                Run.Result.Detail.substr(0, 160).c_str());
    if (!Out.isEmpty()) QFile::copy(Run.File.Path, Out + "/" + Run.File.Name);
    EXPECT_TRUE(KnownLibraryCrashes.count(Run.File.Name)) << "new failure: " << qPrintable(Run.File.Name);
  }
  std::printf("\n%-10s %7s %7s %7s %5s %5s\n", "format", "loaded", "refused", "crashed", "hung", "oom");
  for (const auto& [Format, Counts] : Table) {
    const auto Count = [&Counts](TCorpusOutcome O) {
      const auto It = Counts.find(O);
      return It == Counts.end() ? 0 : It->second;
    };
    std::printf("%-10s %7d %7d %7d %5d %5d\n", qPrintable(Format), Count(TCorpusOutcome::Loaded),
                Count(TCorpusOutcome::Refused), Count(TCorpusOutcome::Crashed), Count(TCorpusOutcome::Hung),
                Count(TCorpusOutcome::OutOfMemory));
  }
  for (const QString& Name : KnownLibraryCrashes)
    if (std::none_of(Runs.begin(), Runs.end(),
                     [&Name](const TRun& R) { return R.File.Name == Name && !Acceptable(R.Result.Outcome); }))
      std::printf("no longer failing: %s\n", qPrintable(Name));
}

} // namespace
