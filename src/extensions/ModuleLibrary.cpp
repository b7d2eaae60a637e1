#include "extensions/ModuleLibrary.h"

#include "files/FindFiles.h"
#include "i18n/Format.h"
#include "i18n/LibLang.h"
#include "raster/FoncUtils.h"

#include <QCollator>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

namespace {

constexpr int NameLength = 32;
constexpr int LanguageBufferCodeLength = 3;
constexpr int LanguageBufferNameOffset = 4;
constexpr int LanguageBufferNameLength = 63;
constexpr int GlyphSize = 19;

QImage GlyphImage(const TPluginGlyph* Glyph) {
  if (!Glyph || !Glyph->Bits || Glyph->Width != GlyphSize || Glyph->Height != GlyphSize ||
      Glyph->Stride < GlyphSize * 3)
    return {};
  QImage Image(GlyphSize, GlyphSize, QImage::Format_ARGB32);
  const uint8_t* Key = Glyph->Bits + (GlyphSize - 1) * Glyph->Stride + (GlyphSize - 1) * 3;
  for (int Y = 0; Y < GlyphSize; ++Y) {
    const uint8_t* Row = Glyph->Bits + Y * Glyph->Stride;
    for (int X = 0; X < GlyphSize; ++X) {
      const uint8_t* P = Row + 3 * X;
      const bool Transparent = std::memcmp(P, Key, 3) == 0;
      Image.setPixel(X, Y, Transparent ? 0u : qRgb(P[2], P[1], P[0]));
    }
  }
  return Image;
}

bool HasFlag(int32_t Flags, int32_t Bit) { return (Flags & Bit) != 0; }

bool EndsWithAny(const QString& Name, std::initializer_list<const char*> Extensions) {
  for (const char* E : Extensions)
    if (Name.endsWith(QLatin1String(E), Qt::CaseInsensitive)) return true;
  return false;
}

} // namespace

QString WideText(const char16_t* Text, int Capacity) {
  int N = 0;
  while (N < Capacity && Text[N] != 0) ++N;
  return QString::fromUtf16(Text, N);
}

char16_t* PutWideText(char16_t* Dest, int32_t MaxLen, const QString& Value) {
  if (!Dest || MaxLen < 0) return Dest;
  const qsizetype N = std::min<qsizetype>(Value.size(), MaxLen);
  std::memcpy(Dest, Value.utf16(), N * sizeof(char16_t));
  Dest[N] = 0;
  return Dest;
}

TModuleCaptions SplitModuleCaption(const QString& Caption) {
  TModuleCaptions C;
  const qsizetype Bar = Caption.indexOf(QLatin1Char('|'));
  if (Bar >= 1) {
    C.Name = Caption.left(Bar);
    C.Command = Caption.mid(Bar + 1);
  } else {
    C.Name = Bar == 0 ? Caption.mid(1) : Caption;
    C.Command = C.Name;
  }
  C.Name = CleanMenuCaption(C.Name.left(NameLength));
  C.Command = C.Command.left(NameLength);
  return C;
}

// ---- The loaded module ----------------------------------------------------------------------------------

void TModuleLibrary::ClearEntries() {
  RegisterCompatibility = nullptr;
  RegisterPluginLanguage = nullptr;
  RegisterPluginHeader = nullptr;
  RegisterPluginStruct = nullptr;
  RegisterPluginGlyph = nullptr;
  Execute = nullptr;
  AboutPlugin = nullptr;
  SetColorPicker = nullptr;
  SetPointClick = nullptr;
}

bool TModuleLibrary::LoadModule(const QString& FileName) {
  UnloadModule();
  FError.clear();
  if (!FLibrary.Load(FileName)) {
    FError = FLibrary.Error();
    return false;
  }
  RegisterCompatibility = FLibrary.Function<TRegisterCompatibility>("RegisterCompatibility");
  RegisterPluginLanguage = FLibrary.Function<TRegisterPluginLanguage>("RegisterPluginLanguage");
  RegisterPluginHeader = FLibrary.Function<TRegisterPluginHeader>("RegisterPluginHeader");
  RegisterPluginStruct = FLibrary.Function<TRegisterPluginStruct>("RegisterPluginStruct");
  RegisterPluginGlyph = FLibrary.Function<TRegisterPluginGlyph>("RegisterPluginGlyph");
  Execute = FLibrary.Function<TExecute>("Execute");
  AboutPlugin = FLibrary.Function<TAboutPlugin>("AboutPlugin");
  SetColorPicker = FLibrary.Function<TSetColorPicker>("SetColorPicker");
  SetPointClick = FLibrary.Function<TSetPointClick>("SetPointClick");
  const std::pair<const void*, const char*> Required[] = {{reinterpret_cast<const void*>(RegisterCompatibility), "RegisterCompatibility"},
                                                          {reinterpret_cast<const void*>(RegisterPluginHeader), "RegisterPluginHeader"},
                                                          {reinterpret_cast<const void*>(RegisterPluginStruct), "RegisterPluginStruct"},
                                                          {reinterpret_cast<const void*>(Execute), "Execute"}};
  for (const auto& [Entry, Name] : Required)
    if (!Entry) {
      FError = Format(Tr(TrId::ModuleMissingExport), {QString::fromLatin1(Name)});
      UnloadModule();
      return false;
    }
  if (RegisterPluginLanguage)
    if (char16_t* Buffer = RegisterPluginLanguage()) {
      PutWideText(Buffer + LanguageBufferNameOffset, LanguageBufferNameLength, Tr(TrId::GetTrLanguage));
      PutWideText(Buffer, LanguageBufferCodeLength, Tr(TrId::GetTrCode));
    }
  // The header is read through the module's pointer: refuse a null one
  // rather than read through it.
  const TPluginHeader* H = Header();
  if (!H) {
    FError = Tr(TrId::ModuleNoHeader);
    UnloadModule();
    return false;
  }
  // A reserved mark other than 0 or "7" asks to be left out, silently.
  if (H->Reserved[0] != 0 && H->Reserved[0] != u'7') {
    UnloadModule();
    return false;
  }
  return true;
}

void TModuleLibrary::UnloadModule() {
  FLibrary.Unload();
  ClearEntries();
}

void TModuleLibrary::ForwardColorPick(int32_t Color) const {
  if (IsModuleLoaded() && SetColorPicker) SetColorPicker(Color);
}

void TModuleLibrary::ForwardPointClick(TPoint Point, int32_t Button) const {
  if (IsModuleLoaded() && SetPointClick) SetPointClick(TPluginPoint{Point.X, Point.Y}, Button);
}

// ---- Registration and scan ------------------------------------------------------------------------------

bool RegisterModule(TModuleLibrary& Library, const QString& Path, TPluginItem& Item, QString& Error) {
  Error.clear();
  if (!Library.LoadModule(Path)) {
    Error = Library.Error();
    return false;
  }
  const TPluginHeader* H = Library.Header();
  const bool Kept = H && H->PluginType >= ptFilter && H->PluginType <= ptTool;
  if (!H) Error = Tr(TrId::ModuleNoHeader);
  if (Kept) {
    Item = TPluginItem();
    Item.FileName = Path;
    Item.Caption = WideText(H->Caption, std::size(H->Caption));
    Item.Version = WideText(H->Version, std::size(H->Version));
    Item.PluginType = H->PluginType;
    Item.Author = WideText(H->Author, std::size(H->Author));
    Item.Comment = WideText(H->Comment, std::size(H->Comment));
    Item.Reserved = WideText(H->Reserved, std::size(H->Reserved));
    Item.Flags = H->Flags;
    if (Library.RegisterPluginGlyph) Item.Glyph = GlyphImage(Library.RegisterPluginGlyph());
  }
  Library.UnloadModule();
  return Kept;
}

TModuleScan ScanModuleFolder(TModuleLibrary& Library, const QString& Folder,
                             const std::function<void(const QString&)>& ShowAction) {
  TModuleScan Scan;
  const QStringList Files = FindFiles(Folder, QStringLiteral("*.lml"), true).value_or(QStringList());
  for (const QString& Path : Files) {
    const QString Name = QFileInfo(Path).fileName();
    if (Name == QLatin1String(EightBfHostFileName) || Name == QLatin1String(FreeImageFileName)) continue;
    if (ShowAction) ShowAction(Name);
    TPluginItem Item;
    QString Error;
    if (RegisterModule(Library, Path, Item, Error))
      Scan.Items.push_back(std::move(Item));
    else if (!Error.isEmpty())
      Scan.Skipped << Path + QStringLiteral(" : ") + Error;
  }
  QCollator Collator;
  Collator.setCaseSensitivity(Qt::CaseInsensitive);
  std::stable_sort(Scan.Items.begin(), Scan.Items.end(), [&Collator](const TPluginItem& A, const TPluginItem& B) {
    return Collator.compare(A.Caption, B.Caption) < 0;
  });
  return Scan;
}

std::vector<int> ModuleToolbarIndexes(const std::vector<TPluginItem>& Items, const QStringList& ToolbarList) {
  std::vector<int> Indexes;
  for (int I = 0; I < int(Items.size()) && int(Indexes.size()) < MaxModuleToolbarButtons; ++I)
    if (ToolbarList.isEmpty() || ToolbarList.contains(QFileInfo(Items[I].FileName).fileName(), Qt::CaseInsensitive))
      Indexes.push_back(I);
  return Indexes;
}

// ---- Enabling rule --------------------------------------------------------------------------------------

bool ModuleCommandEnabled(const TPluginItem& Item, const TModuleEnableState& S) {
  const int32_t T = Item.PluginType;
  const bool NeedsImage = T == ptFilter || T == ptImage || T == ptExport;
  if (NeedsImage && !S.ImageOpen) return false;
  if (T == ptImage && !(S.BackgroundFree && S.LayerCount == 1)) return false;
  if (T == ptFilter && !(S.Mode16M && S.CurrentLayerFree)) return false;
  const int32_t F = Item.Flags;
  if (!S.ImageOpen) return !HasFlag(F, 0x40);
  // A bit and its "only when clear" partner: the first wins.
  const auto Pair = [F](int32_t Bit, int32_t Other, bool Value) {
    if (HasFlag(F, Bit)) return Value;
    return !HasFlag(F, Other) || !Value;
  };
  const QString& N = S.FileName;
  return Pair(0x1, 0x2, S.Mode16M) && Pair(0x4, 0x8, S.KeyTransparent) && Pair(0x10, 0x20, S.SelectionVisible) &&
         (!HasFlag(F, 0x80) || S.ImageWindows >= 2) && Pair(0x100, 0x200, S.LayerCount > 1) &&
         Pair(0x400, 0x800, S.RGBA) && (!HasFlag(F, 0x10000) || EndsWithAny(N, {".jpg", ".jpeg", ".jpe"})) &&
         (!HasFlag(F, 0x20000) || EndsWithAny(N, {".gif"})) && (!HasFlag(F, 0x40000) || EndsWithAny(N, {".png"})) &&
         (!HasFlag(F, 0x80000) || EndsWithAny(N, {".bmp", ".rle"})) &&
         (!HasFlag(F, 0x100000) || EndsWithAny(N, {".tif", ".tiff"})) &&
         (!HasFlag(F, 0x200000) || EndsWithAny(N, {".lms"})) && (!HasFlag(F, 0x400000) || S.HasMetadata);
}

// ---- Host record ----------------------------------------------------------------------------------------

void FillHostRecord(TPluginStruct* Rec, int32_t Level, const TPluginStruct& Source) {
  // Byte ranges of the record, by level: the facts and level 1, then each
  // level's services; Reserved2 (368) is never written.
  const auto Copy = [Rec, &Source](size_t From, size_t To) {
    std::memcpy(reinterpret_cast<char*>(Rec) + From, reinterpret_cast<const char*>(&Source) + From, To - From);
  };
  Copy(0, offsetof(TPluginStruct, Reserved1));
  Copy(offsetof(TPluginStruct, BeginAction), offsetof(TPluginStruct, ShowModuleWindow));
  if (Level >= 2) Copy(offsetof(TPluginStruct, ShowModuleWindow), offsetof(TPluginStruct, GetSelectionMaskRect));
  if (Level >= 3) Copy(offsetof(TPluginStruct, GetSelectionMaskRect), offsetof(TPluginStruct, Reserved2));
  if (Level >= 4) Copy(offsetof(TPluginStruct, GetLayerBounds), sizeof(TPluginStruct));
}
