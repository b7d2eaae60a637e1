// A corpus of malformed files for every format FreeImage reads, made afresh
// in a folder: one valid seed per format (written by the library itself, by
// ImageMagick or by hand), then truncated copies and copies whose declared
// sizes are corrupted. Each file is read through the binding in a child
// process, so that a crash inside the library is seen and survived.
#pragma once

#include <QString>

#include <string>
#include <vector>

struct TCorpusFile {
  QString Format; // the seed's format, e.g. "tga"
  QString Name;   // the file name, e.g. "tga-w16le@12-ffff.tga"
  QString Path;
};

// The seeds and their variants in Folder. Formats without any way to make a
// seed here are listed in Missing.
std::vector<TCorpusFile> BuildMalformedCorpus(const QString& Folder, std::vector<QString>& Missing);

enum class TCorpusOutcome { Loaded, Refused, Crashed, Hung, OutOfMemory };
const char* OutcomeName(TCorpusOutcome Outcome);

struct TCorpusResult {
  TCorpusOutcome Outcome = TCorpusOutcome::Crashed;
  std::string Detail; // the exit status and the start of the child's error output
};

// Loads the file through TFreeBitmap in a forked child with a memory bound
// and a time limit, and says how that ended.
TCorpusResult RunCorpusFile(const TCorpusFile& File, const QString& LogFolder, int TimeoutSeconds = 30);
