#include "MalformedCorpus.h"

#include "FreeImageTestSupport.h"
#include "files/FreeBitmap.h"
#include "files/ReadLimits.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <set>
#include <thread>

namespace {

constexpr int SeedWidth = 61, SeedHeight = 37;

QByteArray ReadAll(const QString& Path) {
  QFile F(Path);
  return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray();
}

void WriteAll(const QString& Path, const QByteArray& Bytes) {
  QFile F(Path);
  if (F.open(QIODevice::WriteOnly)) F.write(Bytes);
}

// ---- Seeds ---------------------------------------------------------------------------------

// A float image the library writes as HDR, EXR or PFM.
bool WriteFloatSeed(int Fif, const QString& Path) {
  TBmpFree Dib(fitRgbF, SeedWidth, SeedHeight, 96);
  if (!Dib.IsValid()) return false;
  for (int S = 0; S < SeedHeight; ++S) {
    auto* Row = reinterpret_cast<TFiRgbF*>(Dib.GetScanLine(S));
    for (int X = 0; X < SeedWidth; ++X) Row[X] = {X / 30.0f, S / 20.0f, (X + S) / 50.0f};
  }
  return Dib.Save(Fif, Path, 0);
}

// A 16-bit-per-channel PPM that ImageMagick turns into 16-bit PNG and TIFF.
void WritePpm16(const QString& Path) {
  QByteArray Bytes = "P6\n" + QByteArray::number(SeedWidth) + " " + QByteArray::number(SeedHeight) + "\n65535\n";
  for (int I = 0; I < SeedWidth * SeedHeight * 3; ++I) {
    const uint16_t V = uint16_t(I * 977);
    Bytes.append(char(V >> 8)).append(char(V & 0xFF));
  }
  WriteAll(Path, Bytes);
}

void Put16Le(QByteArray& B, int V) { B.append(char(V & 0xFF)).append(char(V >> 8 & 0xFF)); }
void Put16Be(QByteArray& B, int V) { B.append(char(V >> 8 & 0xFF)).append(char(V & 0xFF)); }
void Put32Be(QByteArray& B, uint32_t V) {
  Put16Be(B, int(V >> 16));
  Put16Be(B, int(V & 0xFFFF));
}

// Dr. Halo: width, height, 4 reserved bytes, then per row run packets ended
// by a 0 and two bytes.
QByteArray CutSeed() {
  QByteArray B;
  Put16Le(B, SeedWidth);
  Put16Le(B, SeedHeight);
  B.append(4, '\0');
  for (int Y = 0; Y < SeedHeight; ++Y) {
    B.append(char(0x80 | 30)).append(char(Y * 6));
    B.append(char(SeedWidth - 30));
    for (int X = 30; X < SeedWidth; ++X) B.append(char(X * 4));
    B.append(3, '\0');
  }
  return B;
}

// C64 Koala: load address 0x6000, bitmap, screen and colour memory, background.
QByteArray KoalaSeed() {
  QByteArray B;
  B.append('\0').append(char(0x60));
  for (int I = 0; I < 10001; ++I) B.append(char((I * 37) & 0xFF));
  return B;
}

// An uncompressed 8-plane ILBM.
QByteArray IffSeed() {
  const int RowBytes = (SeedWidth + 15) / 16 * 2;
  QByteArray Body;
  for (int Y = 0; Y < SeedHeight; ++Y)
    for (int Plane = 0; Plane < 8; ++Plane) {
      QByteArray Row(RowBytes, '\0');
      for (int X = 0; X < SeedWidth; ++X)
        if (((X + Y * 3) >> Plane) & 1) Row[X / 8] = char(Row[X / 8] | (0x80 >> (X % 8)));
      Body += Row;
    }
  QByteArray Bmhd;
  Put16Be(Bmhd, SeedWidth);
  Put16Be(Bmhd, SeedHeight);
  Bmhd.append(4, '\0').append(char(8)).append(3, '\0');
  Put16Be(Bmhd, 0);
  Bmhd.append(char(10)).append(char(11));
  Put16Be(Bmhd, SeedWidth);
  Put16Be(Bmhd, SeedHeight);
  QByteArray Cmap;
  for (int I = 0; I < 256; ++I) Cmap.append(char(I)).append(char(255 - I)).append(char(I * 3));
  QByteArray Chunks = "ILBM";
  for (const auto& [Id, Data] : {std::pair{"BMHD", Bmhd}, std::pair{"CMAP", Cmap}, std::pair{"BODY", Body}}) {
    Chunks += Id;
    Put32Be(Chunks, uint32_t(Data.size()));
    Chunks += Data;
  }
  QByteArray B = "FORM";
  Put32Be(B, uint32_t(Chunks.size()));
  return B + Chunks;
}

struct TSeed {
  QString Format, Ext;
  int Width = SeedWidth, Height = SeedHeight;
  // Writes the seed at the path; false when it cannot be made here.
  std::function<bool(const QString& Path)> Make;
};

std::vector<TSeed> Seeds(const QString& Folder) {
  const QString Png = Folder + "/seed-source.png", Png32 = Folder + "/seed-source32.png",
                Ppm16 = Folder + "/seed-source16.ppm";
  const std::shared_ptr<const TBitmap> Image(SmoothImage(SeedWidth, SeedHeight).release());
  const std::shared_ptr<const TBitmap> Alpha(WithAlphaRamp(*Image).release());
  const auto Free = [](const std::shared_ptr<const TBitmap>& B, int Flag) {
    return [B, Flag](const QString& Path) {
      try {
        SaveThroughFreeImage(*B, Path, nullptr, Flag);
        return true;
      } catch (const std::exception&) {
        return false;
      }
    };
  };
  const auto Magick = [](const QString& Source, QStringList Options) {
    return
        [Source, Options](const QString& Path) { return Convert(QStringList{Source} + Options + QStringList{Path}); };
  };
  const auto Bytes = [](const QByteArray& B) {
    return [B](const QString& Path) {
      WriteAll(Path, B);
      return true;
    };
  };
  const auto Float = [](int Fif) { return [Fif](const QString& Path) { return WriteFloatSeed(Fif, Path); }; };
  SaveThroughFreeImage(*Image, Png);
  SaveThroughFreeImage(*Alpha, Png32);
  WritePpm16(Ppm16);

  std::vector<TSeed> S = {
      {"bmp", "bmp", SeedWidth, SeedHeight, Free(Image, 0)},
      {"bmprle", "bmp", SeedWidth, SeedHeight, Magick(Png, {"-colors", "64", "-compress", "RLE", "-type", "Palette"})},
      {"ico", "ico", SeedWidth, SeedHeight, Magick(Png32, {})},
      {"jpeg", "jpg", SeedWidth, SeedHeight, Free(Image, 0)},
      {"jng", "jng", SeedWidth, SeedHeight, Free(Image, 0)},
      {"koala", "koa", 320, 200, Bytes(KoalaSeed())},
      {"iff", "iff", SeedWidth, SeedHeight, Bytes(IffSeed())},
      {"mng", "mng", SeedWidth, SeedHeight, Magick(Png, {})},
      {"pbm", "pbm", SeedWidth, SeedHeight, Magick(Png, {"-monochrome", "-compress", "none"})},
      {"pbmraw", "pbm", SeedWidth, SeedHeight, Magick(Png, {"-monochrome"})},
      {"pcd", "pcd", 768, 512, Magick(Png, {})},
      {"pcx", "pcx", SeedWidth, SeedHeight, Magick(Png, {})},
      {"pgm", "pgm", SeedWidth, SeedHeight, Magick(Png, {"-colorspace", "Gray", "-compress", "none"})},
      {"pgmraw", "pgm", SeedWidth, SeedHeight, Magick(Png, {"-colorspace", "Gray"})},
      {"png", "png", SeedWidth, SeedHeight, Free(Alpha, 0)},
      {"png16", "png", SeedWidth, SeedHeight, Magick(Ppm16, {"-depth", "16"})},
      {"ppm", "ppm", SeedWidth, SeedHeight, Magick(Png, {"-compress", "none"})},
      {"ppmraw", "ppm", SeedWidth, SeedHeight, Free(Image, 0)},
      {"ras", "ras", SeedWidth, SeedHeight, Magick(Png, {})},
      {"tga", "tga", SeedWidth, SeedHeight, Free(Alpha, 0)},
      {"tgarle", "tga", SeedWidth, SeedHeight, Free(Image, TargaSaveRle)},
      {"tiff", "tif", SeedWidth, SeedHeight, Free(Alpha, 0)},
      {"tiff16", "tif", SeedWidth, SeedHeight, Magick(Ppm16, {"-depth", "16"})},
      {"wbmp", "wbmp", SeedWidth, SeedHeight, Magick(Png, {"-monochrome"})},
      {"psd", "psd", SeedWidth, SeedHeight, Free(Alpha, 0)},
      {"psdmagick", "psd", SeedWidth, SeedHeight, Magick(Png32, {})},
      {"cut", "cut", SeedWidth, SeedHeight, Bytes(CutSeed())},
      {"xbm", "xbm", SeedWidth, SeedHeight, Magick(Png, {})},
      {"xpm", "xpm", SeedWidth, SeedHeight, Free(Image, 0)},
      {"dds", "dds", SeedWidth, SeedHeight, Magick(Png32, {"-define", "dds:compression=none"})},
      {"ddsdxt", "dds", SeedWidth, SeedHeight, Magick(Png32, {})},
      {"gif", "gif", SeedWidth, SeedHeight, Magick(Png, {})},
      {"hdr", "hdr", SeedWidth, SeedHeight, Float(26)},
      {"sgi", "sgi", SeedWidth, SeedHeight, Magick(Png, {})},
      {"exr", "exr", SeedWidth, SeedHeight, Float(29)},
      {"j2k", "j2k", SeedWidth, SeedHeight, Free(Image, 1)},
      {"jp2", "jp2", SeedWidth, SeedHeight, Free(Alpha, 1)},
      {"pfm", "pfm", SeedWidth, SeedHeight, Float(32)},
      {"pict", "pct", SeedWidth, SeedHeight, Magick(Png, {})},
      {"webp", "webp", SeedWidth, SeedHeight, Free(Alpha, WebpLossless)},
      {"webplossy", "webp", SeedWidth, SeedHeight, Free(Image, 80)},
  };
  const QString Jxr = QStandardPaths::findExecutable("JxrEncApp");
  if (!Jxr.isEmpty()) {
    const QString Bmp = Folder + "/seed-source.bmp";
    SaveThroughFreeImage(*Image, Bmp);
    S.push_back({"jxr", "jxr", SeedWidth, SeedHeight, [Jxr, Bmp](const QString& Path) {
                   QProcess P;
                   P.start(Jxr, {"-i", Bmp, "-o", Path, "-q", "1"});
                   return P.waitForFinished(60000) && P.exitCode() == 0;
                 }});
  }
  return S;
}

// ---- Variants ------------------------------------------------------------------------------

class TVariants {
public:
  TVariants(const QString& Folder, const TSeed& Seed, const QByteArray& Bytes, std::vector<TCorpusFile>& Out)
      : FFolder(Folder), FSeed(Seed), FBytes(Bytes), FOut(Out) {}

  void Add(const QString& Variant, const QByteArray& Bytes) {
    const QString Name = FSeed.Format + "-" + Variant + "." + FSeed.Ext;
    if (!FNames.insert(Name).second) return;
    const QString Path = FFolder + "/" + Name;
    WriteAll(Path, Bytes);
    FOut.push_back({FSeed.Format, Name, Path});
  }

  void Truncations() {
    const qsizetype N = FBytes.size();
    for (qsizetype Length : {qsizetype(1), qsizetype(2), qsizetype(4), qsizetype(8), qsizetype(12), qsizetype(16),
                             qsizetype(24), qsizetype(32), qsizetype(48), qsizetype(64), qsizetype(100), qsizetype(128),
                             qsizetype(256), qsizetype(512), N / 4, N / 2, 3 * N / 4, N - 1})
      if (Length > 0 && Length < N) Add(QString("trunc-%1").arg(Length), FBytes.left(Length));
  }

  // Every place of the first kilobyte holding the seed's width or height, as
  // a 16- or 32-bit number of either byte order, gets huge and zero values.
  void SizeFields() {
    const qsizetype Limit = std::min<qsizetype>(FBytes.size(), 1024);
    int Found = 0;
    for (qsizetype At = 0; At < Limit && Found < 12; ++At)
      for (int Value : {FSeed.Width, FSeed.Height}) {
        const char* Which = Value == FSeed.Width ? "w" : "h";
        if (Matches(At, Value, 4, false) || Matches(At, Value, 4, true)) {
          const bool Be = Matches(At, Value, 4, true);
          for (uint32_t New : {0u, 0xFFFFu, 0x10000u, 0x7FFFFFFFu, 0xFFFFFFFFu})
            Add(QString("%1%2@%3-%4").arg(Which).arg(Be ? "32be" : "32le").arg(At).arg(New, 0, 16),
                Put(At, New, 4, Be));
          ++Found;
        } else if (Matches(At, Value, 2, false) || Matches(At, Value, 2, true)) {
          const bool Be = Matches(At, Value, 2, true);
          for (uint32_t New : {0u, 0x8000u, 0xFFFFu})
            Add(QString("%1%2@%3-%4").arg(Which).arg(Be ? "16be" : "16le").arg(At).arg(New, 0, 16),
                Put(At, New, 2, Be));
          ++Found;
        }
      }
  }

  // Blind damage to the header: four bytes set to 0xFF at every fourth offset.
  void BlindHeader() {
    for (qsizetype At = 0; At + 4 <= std::min<qsizetype>(FBytes.size(), 64); At += 4)
      Add(QString("ff@%1").arg(At), Put(At, 0xFFFFFFFFu, 4, false));
  }

  // Text headers (XPM, XBM, ASCII PNM): the first numbers made huge or zero.
  void TextNumbers() {
    const QByteArray Head = FBytes.left(512);
    int Count = 0;
    for (qsizetype At = 0; At < Head.size() && Count < 4; ++At) {
      if (!std::isdigit(uchar(Head[At])) || (At > 0 && std::isalnum(uchar(Head[At - 1])))) continue;
      qsizetype End = At;
      while (End < Head.size() && std::isdigit(uchar(Head[End]))) ++End;
      for (const char* New : {"0", "999999999", "4294967296"}) {
        QByteArray B = FBytes;
        B.replace(At, End - At, New);
        Add(QString("num%1-%2").arg(Count).arg(New), B);
      }
      ++Count;
      At = End;
    }
  }

private:
  bool Matches(qsizetype At, int Value, int Size, bool Be) const {
    if (At + Size > FBytes.size()) return false;
    uint32_t V = 0;
    for (int I = 0; I < Size; ++I) {
      const uint32_t Byte = uchar(FBytes[At + (Be ? I : Size - 1 - I)]);
      V = V << 8 | Byte;
    }
    return V == uint32_t(Value);
  }

  QByteArray Put(qsizetype At, uint32_t Value, int Size, bool Be) const {
    QByteArray B = FBytes;
    for (int I = 0; I < Size && At + I < B.size(); ++I) {
      const int Shift = 8 * (Be ? Size - 1 - I : I);
      B[At + I] = char((Value >> Shift) & 0xFF);
    }
    return B;
  }

  QString FFolder;
  const TSeed& FSeed;
  QByteArray FBytes;
  std::vector<TCorpusFile>& FOut;
  std::set<QString> FNames;
};

bool LooksLikeText(const QByteArray& Bytes) {
  const QByteArray Head = Bytes.left(16);
  return !Head.isEmpty() && std::all_of(Head.begin(), Head.end(), [](char C) { return C >= 9 && uchar(C) < 128; });
}

// Bounds the child's memory to what it holds now plus a margin that covers
// the largest image the limits let through.
void LimitChildMemory() {
  std::ifstream Status("/proc/self/status");
  std::string Line;
  while (std::getline(Status, Line))
    if (Line.rfind("VmSize:", 0) == 0) {
      const rlim_t Now = rlim_t(std::stoull(Line.substr(7))) * 1024;
      const rlim_t Margin = rlim_t(6) << 30;
      const rlimit Limit{Now + Margin, Now + Margin};
      setrlimit(RLIMIT_AS, &Limit);
      return;
    }
}

std::string LogHead(const QString& Path) {
  QByteArray Log = ReadAll(Path);
  // The first lines of a sanitizer report, or of whatever the child said.
  const qsizetype Report = Log.indexOf("ERROR:");
  if (Report >= 0) Log = Log.mid(Report);
  return Log.left(400).toStdString();
}

} // namespace

std::vector<TCorpusFile> BuildMalformedCorpus(const QString& Folder, std::vector<QString>& Missing) {
  std::vector<TCorpusFile> Out;
  for (const TSeed& Seed : Seeds(Folder)) {
    const QString Path = Folder + "/" + Seed.Format + "-seed." + Seed.Ext;
    if (!Seed.Make(Path) || QFileInfo(Path).size() <= 0) {
      Missing.push_back(Seed.Format);
      continue;
    }
    const QByteArray Bytes = ReadAll(Path);
    Out.push_back({Seed.Format, Seed.Format + "-seed." + Seed.Ext, Path});
    TVariants V(Folder, Seed, Bytes, Out);
    V.Truncations();
    V.SizeFields();
    V.BlindHeader();
    if (LooksLikeText(Bytes)) V.TextNumbers();
  }
  return Out;
}

const char* OutcomeName(TCorpusOutcome Outcome) {
  switch (Outcome) {
  case TCorpusOutcome::Loaded:
    return "loaded";
  case TCorpusOutcome::Refused:
    return "refused";
  case TCorpusOutcome::Crashed:
    return "CRASHED";
  case TCorpusOutcome::Hung:
    return "HUNG";
  case TCorpusOutcome::OutOfMemory:
    return "OUT OF MEMORY";
  }
  return "?";
}

TCorpusResult RunCorpusFile(const TCorpusFile& File, const QString& LogFolder, int TimeoutSeconds) {
  enum : int { ExitLoaded = 0, ExitRefused = 3, ExitOtherException = 4, ExitNoMemory = 5 };
  const QString LogPath = LogFolder + "/" + File.Name + ".log";
  const QByteArray Log = QFile::encodeName(LogPath);
  std::fflush(stdout);
  std::fflush(stderr);
  const pid_t Pid = fork();
  if (Pid < 0) return {TCorpusOutcome::Crashed, "fork failed"};
  if (Pid == 0) {
    const int Fd = open(Log.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (Fd >= 0) {
      dup2(Fd, 1);
      dup2(Fd, 2);
    }
    LimitChildMemory();
    int Code = ExitLoaded;
    try {
      TFreeBitmap Bitmap;
      Bitmap.InitLoadFormat(File.Path);
      TFreeExtraData Extra;
      Bitmap.LoadFromFileEx(File.Path, &Extra);
    } catch (const EInvalidGraphic&) {
      Code = ExitRefused;
    } catch (const std::bad_alloc&) {
      Code = ExitNoMemory;
    } catch (const std::exception& E) {
      std::fprintf(stderr, "exception: %s\n", E.what());
      Code = ExitOtherException;
    }
    std::fflush(stderr);
    _exit(Code);
  }
  const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(TimeoutSeconds);
  int Status = 0;
  for (;;) {
    const pid_t Done = waitpid(Pid, &Status, WNOHANG);
    if (Done == Pid) break;
    if (std::chrono::steady_clock::now() > Deadline) {
      kill(Pid, SIGKILL);
      waitpid(Pid, &Status, 0);
      return {TCorpusOutcome::Hung, "no answer after " + std::to_string(TimeoutSeconds) + " s"};
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  const std::string Head = LogHead(LogPath);
  if (WIFEXITED(Status)) {
    switch (WEXITSTATUS(Status)) {
    case ExitLoaded:
      return {TCorpusOutcome::Loaded, ""};
    case ExitRefused:
      return {TCorpusOutcome::Refused, ""};
    case ExitNoMemory:
      return {TCorpusOutcome::OutOfMemory, "std::bad_alloc"};
    default:
      break;
    }
    const bool NoMemory = Head.find("out of memory") != std::string::npos ||
                          Head.find("allocation-size-too-big") != std::string::npos ||
                          Head.find("requested allocation size") != std::string::npos;
    return {NoMemory ? TCorpusOutcome::OutOfMemory : TCorpusOutcome::Crashed,
            "exit " + std::to_string(WEXITSTATUS(Status)) + ": " + Head};
  }
  return {TCorpusOutcome::Crashed, "signal " + std::to_string(WTERMSIG(Status)) + ": " + Head};
}
