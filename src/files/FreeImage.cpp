#include "files/FreeImage.h"

#include "files/BmpExtOE.h"
#include "files/FreeMetadata.h"
#include "platform/Win1252.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <dlfcn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <map>

namespace {

constexpr const char* FunctionNames[] = {
#define LUMA_FREEIMAGE_NAME(Name, Type) "FreeImage_" #Name,
    LUMA_FREEIMAGE_FUNCTIONS(LUMA_FREEIMAGE_NAME)
#undef LUMA_FREEIMAGE_NAME
};
static_assert(std::size(FunctionNames) == size_t(FreeImageFunctionCount));

QString Text8(const char* Text) { return Text ? QString::fromLatin1(Text) : QString(); }

// Answers the filters' and the metadata's questions while the library is loaded.
class TFreeImageBinding final : public TFreeImageProvider {
public:
  QString FormatDescription(int Fif) const override { return Text8(FreeImageApi().GetFIFDescription(Fif)); }
  QString FormatExtensionList(int Fif) const override { return Text8(FreeImageApi().GetFIFExtensionList(Fif)); }
  QString TagToString(int Model, const TFreeTag& Tag) const override;
  bool SupportsWriting(int Fif) const override;
  // Forgotten when the library is loaded again.
  mutable std::map<int, bool> Writable;
};

struct TLibraryState {
  void* Handle = nullptr;
  TFreeImageApi Api;
  QString Path;
  TFreeImageBinding Binding;
  // The base filter entries the library's own replaced, given back on unload.
  bool EntriesReplaced = false;
  std::array<QString, 4> SavedEntries;
};

// Never destroyed: the library stays loaded until the process ends, and the
// filter state it would give back may already be gone by then.
TLibraryState& Lib() {
  static TLibraryState* State = new TLibraryState;
  return *State;
}

template <class F> bool BindSlot(void* Handle, const char* Name, F& Slot) {
  void* Address = dlsym(Handle, Name);
  Slot = reinterpret_cast<F>(Address);
  return Address != nullptr;
}

bool BindAll(void* Handle, TFreeImageApi& Api) {
  bool Ok = true;
#define LUMA_FREEIMAGE_BIND(Name, Type) Ok = Ok && BindSlot(Handle, "FreeImage_" #Name, Api.Name);
  LUMA_FREEIMAGE_FUNCTIONS(LUMA_FREEIMAGE_BIND)
#undef LUMA_FREEIMAGE_BIND
  return Ok;
}

QString ProgramFolder() {
  if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
  return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).absolutePath();
}

QString JoinPath(const QString& Folder, const QString& Name) {
  return Folder.endsWith(QLatin1Char('/')) ? Folder + Name : Folder + QLatin1Char('/') + Name;
}

} // namespace

const char* FreeImageFunctionName(int I) { return I >= 0 && I < FreeImageFunctionCount ? FunctionNames[I] : nullptr; }

const TFreeImageApi& FreeImageApi() { return Lib().Api; }

int FreeTagValueWidth(int Type) {
  switch (Type) {
  case fdtByte:
  case fdtAscii:
  case fdtSByte:
  case fdtUndefined:
    return 1;
  case fdtShort:
  case fdtSShort:
    return 2;
  case fdtLong:
  case fdtSLong:
  case fdtFloat:
  case fdtIfd:
  case 14: // palette entry
    return 4;
  case fdtRational:
  case fdtSRational:
  case fdtDouble:
  case 16: // 64-bit integers and offsets
  case 17:
  case 18:
    return 8;
  default:
    return 0;
  }
}

bool FillFiTag(TFiTag* FiTag, const TFreeTag& Tag) {
  const TFreeImageApi& Fi = FreeImageApi();
  const int Width = FreeTagValueWidth(Tag.Format);
  if (!FiTag || Width == 0) return false;
  const auto Count = uint32_t(Tag.Data.size() / size_t(Width));
  // The library copies Length bytes from the value, so it needs a pointer
  // even for an empty one.
  static const uint8_t NoBytes = 0;
  return Fi.SetTagKey(FiTag, Tag.Key.c_str()) && Fi.SetTagID(FiTag, Tag.Id) && Fi.SetTagType(FiTag, Tag.Format) &&
         Fi.SetTagCount(FiTag, Count) && Fi.SetTagLength(FiTag, Count * uint32_t(Width)) &&
         Fi.SetTagValue(FiTag, Tag.Data.empty() ? &NoBytes : Tag.Data.data());
}

bool TFreeImageBinding::SupportsWriting(int Fif) const {
  // A library may claim a writer that fails every save (a codec left out of
  // its build): one small picture written to a scratch file tells.
  const auto Known = Writable.find(Fif);
  if (Known != Writable.end()) return Known->second;
  const TFreeImageApi& Api = FreeImageApi();
  bool Ok = false;
  QTemporaryDir Scratch;
  if (Api.FIFSupportsWriting(Fif) && Scratch.isValid()) {
    // In a child process: a codec that crashes on the probe (one does) is as
    // unwritable as one that fails, and the program goes on.
    const QByteArray Path = QFile::encodeName(Scratch.filePath(QStringLiteral("probe")));
    const pid_t Child = fork();
    if (Child == 0) {
      // Large enough for the wavelet codecs' smallest picture.
      constexpr int Side = 64, FitBitmap = 1;
      TFiBitmap* Dib = Api.AllocateT(FitBitmap, Side, Side, 24, 0, 0, 0);
      _exit(Dib && Api.Save(Fif, Dib, Path.constData(), 0) ? 0 : 1);
    }
    int Status = 0;
    Ok = Child > 0 && waitpid(Child, &Status, 0) == Child && WIFEXITED(Status) && WEXITSTATUS(Status) == 0;
  }
  Writable.emplace(Fif, Ok);
  return Ok;
}

QString TFreeImageBinding::TagToString(int Model, const TFreeTag& Tag) const {
  // The library reads some tags at a fixed size whatever their length: an
  // empty value is never handed to it.
  if (Tag.Data.empty()) return QString();
  const TFreeImageApi& Fi = FreeImageApi();
  TFiTag* FiTag = Fi.CreateTag();
  if (!FiTag) return FromWin1252(PlainTagText(Tag));
  const char* Text = FillFiTag(FiTag, Tag) ? Fi.TagToString(Model, FiTag, nullptr) : nullptr;
  const QString Result = Text ? FromWin1252(Text) : FromWin1252(PlainTagText(Tag));
  Fi.DeleteTag(FiTag);
  return Result;
}

// ---- The library ------------------------------------------------------------------

void SetFreeImagePath(const QString& Folder, const QString& FileName) {
  const QString Dir = Folder.isEmpty() ? ProgramFolder() : Folder;
  const QString Name = FileName.isEmpty() ? QString::fromLatin1(FreeImageModuleName) : FileName;
  QString Path = JoinPath(Dir, Name);
  if (!QFileInfo::exists(Path)) Path.clear();
  Lib().Path = Path;
}

const QString& FreeImagePath() { return Lib().Path; }

bool LoadFreeImageLibrary(const QString& Path) {
  UnloadFreeImageLibrary();
  if (Path.isEmpty()) return false;
  TLibraryState& L = Lib();
  // Never unmapped once loaded: the codecs the library pulls in keep static
  // state (and thread pools) that must not outlive their code, so unloading
  // only unbinds, and a later load finds the same library.
  void* Handle = dlopen(QFile::encodeName(Path).constData(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (!Handle) return false;
  TFreeImageApi Api;
  if (!BindAll(Handle, Api)) {
    dlclose(Handle);
    return false;
  }
  L.Handle = Handle;
  L.Api = Api;
  L.Binding.Writable.clear();
  SetFreeImageProvider(&L.Binding);
  return true;
}

void UnloadFreeImageLibrary() {
  TLibraryState& L = Lib();
  if (!L.Handle) return;
  SetFreeImageProvider(nullptr);
  if (L.EntriesReplaced) {
    for (int Kind = bfkBitmap; Kind <= bfkGif; ++Kind) SetBaseFilterEntry(Kind, L.SavedEntries[size_t(Kind)]);
    L.EntriesReplaced = false;
  }
  dlclose(L.Handle);
  L.Handle = nullptr;
  L.Api = TFreeImageApi();
}

bool LoadFreeImageLib() {
  TLibraryState& L = Lib();
  if (L.Path.isEmpty() || !LoadFreeImageLibrary(L.Path)) return false;
  L.SavedEntries = {BitmapTypeEntry(), JpegTypeEntry(), PngTypeEntry(), GifTypeEntry()};
  L.EntriesReplaced = true;
  SetBaseFilterEntry(bfkBitmap, FifFilterEntry(fifBmp));
  SetBaseFilterEntry(bfkJpeg, FifFilterEntry(fifJpeg));
  SetBaseFilterEntry(bfkPng, FifFilterEntry(fifPng));
  SetBaseFilterEntry(bfkGif, FifFilterEntry(fifGif));
  return true;
}

bool StartFreeImage(bool NoPlugins, const QString& ModuleFolder) {
  if (NoPlugins) return false;
  SetFreeImagePath(ModuleFolder.isEmpty() ? JoinPath(ProgramFolder(), QString::fromLatin1(ModuleFolderName))
                                          : ModuleFolder,
                   QString());
  return LoadFreeImageLib();
}

QString FreeImageVersion() { return IsFreeImageLoaded() ? Text8(FreeImageApi().GetVersion()) : QString(); }

// ---- Format questions ------------------------------------------------------------------

QByteArray FreeImageFilePath(const QString& FileName) { return QFile::encodeName(FileName); }

int GetFifFromName(const QString& FileName) {
  if (!IsFreeImageLoaded()) return fifUnknown;
  return FreeImageApi().GetFIFFromFilename(FreeImageFilePath(FileName).constData());
}

// Only regular files are opened: the library would wait forever on a pipe.
int ContentFif(const QString& FileName) {
  if (!IsFreeImageLoaded() || !QFileInfo(FileName).isFile()) return fifUnknown;
  return FreeImageApi().GetFileType(FreeImageFilePath(FileName).constData(), 0);
}

int GetFileFif(const QString& FileName) {
  const int Fif = ContentFif(FileName);
  return Fif != fifUnknown ? Fif : GetFifFromName(FileName);
}

int FifOfSaveName(const QString& FileName) { return IsRleFile(FileName) ? int(fifBmp) : GetFifFromName(FileName); }

int FifOfLoadFile(const QString& FileName) {
  const int Fif = ContentFif(FileName);
  return Fif != fifUnknown ? Fif : FifOfSaveName(FileName);
}

QString FreeImageFileType(const QString& FileName) {
  const int Fif = GetFileFif(FileName);
  if (Fif == fifUnknown) return QString();
  return QStringLiteral("%1 (%2)").arg(FreeImageFormatDescription(Fif), FifMaskList(Fif));
}

QString FreeImageFilters() { return AllFifFilters(); }
QString FreeImageMasks() { return AllFifMasks(); }

int FreeImageLoadFlags(int Fif, bool ThumbMode) {
  switch (Fif) {
  case fifJpeg:
    return JpegExifRotate + (ThumbMode ? JpegFast : JpegAccurate);
  case fifRaw:
    return ThumbMode ? RawPreview : 0;
  default:
    return 0;
  }
}
