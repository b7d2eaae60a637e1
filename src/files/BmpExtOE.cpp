#include "files/BmpExtOE.h"

#include "files/FreeImageProvider.h"
#include "files/MyStringUtils.h"
#include "i18n/LibLang.h"

#include <QFileInfo>

#include <initializer_list>

namespace {

constexpr QChar Bar = QLatin1Char('|');
constexpr QChar Semicolon = QLatin1Char(';');

// A built filter and what it was built from: it is rebuilt when FreeImage
// comes or goes or the translatable names it holds change.
struct TFilterCache {
  QString Text;
  bool Valid = false;
  const TFreeImageProvider* Provider = nullptr;
  QString Labels;
};

struct TFilterState {
  QString Entries[4] = {QStringLiteral("Bitmap|*.bmp"), QStringLiteral("JPEG|*.jpg;*.jpeg;*.jpe"),
                        QStringLiteral("PNG|*.png"), QStringLiteral("GIF|*.gif")};
  const QString Metafile = QStringLiteral("Windows Metafile|*.wmf;*.emf");
  QString ExtraOpenFilter, ExtraSaveFilter, ExtraOpenMasks;
  TFilterCache OpenFilter, SaveFilter, OpenMasks;
};

TFilterState& State() {
  static TFilterState S;
  return S;
}

QString CurrentLabels() {
  return Tr(TrId::GetOeAll) + QLatin1Char('\n') + Tr(TrId::LayeredImageFormatName) + QLatin1Char('\n') +
         Tr(TrId::GetFltIconFile);
}

template <class Build> const QString& Cached(TFilterCache& Cache, Build BuildText) {
  const TFreeImageProvider* Provider = FreeImageProvider();
  QString Labels = CurrentLabels();
  if (!Cache.Valid || Cache.Provider != Provider || Cache.Labels != Labels) {
    Cache.Text = BuildText();
    Cache.Provider = Provider;
    Cache.Labels = std::move(Labels);
    Cache.Valid = true;
  }
  return Cache.Text;
}

void SetExtra(QString& Stored, TFilterCache& Cache, const QString& Text) {
  if (Text == Stored) return;
  Stored = Text;
  Cache.Valid = false;
}

QString MasksOf(const QString& Entry) { return GetDelimitedField(1, Entry, Bar); }

QString Join(std::initializer_list<QString> Parts, QChar Separator) {
  QString Result;
  for (const QString& Part : Parts) {
    if (!Result.isEmpty()) Result += Separator;
    Result += Part;
  }
  return Result;
}

bool ExtIsOneOf(const QString& FileName, std::initializer_list<const char*> Exts) {
  const QString Ext = LowerFileExt(FileName);
  for (const char* E : Exts)
    if (Ext == QLatin1String(E)) return true;
  return false;
}

} // namespace

QString LowerFileExt(const QString& FileName) {
  const qsizetype Dot = FileName.lastIndexOf(QLatin1Char('.'));
  if (Dot < 0 || Dot < FileName.lastIndexOf(QLatin1Char('/'))) return {};
  return FileName.mid(Dot).toLower();
}

bool IsJpegFile(const QString& FileName) { return FileMatchesFilterEntry(FileName, JpegTypeEntry()); }
bool IsPngFile(const QString& FileName) { return ExtIsOneOf(FileName, {".png"}); }
bool IsBmpImageFile(const QString& FileName) { return ExtIsOneOf(FileName, {".bmp"}); }
bool IsRleFile(const QString& FileName) { return ExtIsOneOf(FileName, {".rle"}); }
bool IsGifFile(const QString& FileName) { return ExtIsOneOf(FileName, {".gif"}); }
bool IsLmiFile(const QString& FileName) { return ExtIsOneOf(FileName, {".lmi"}); }
bool IsLmsFile(const QString& FileName) { return ExtIsOneOf(FileName, {".lms"}); }
bool IsLmvFile(const QString& FileName) { return ExtIsOneOf(FileName, {".lmv"}); }
bool IsIcoFile(const QString& FileName) { return ExtIsOneOf(FileName, {".ico"}); }
bool IsMetafileFile(const QString& FileName) { return ExtIsOneOf(FileName, {".wmf", ".emf"}); }
bool IsTiffFile(const QString& FileName) { return ExtIsOneOf(FileName, {".tif", ".tiff"}); }
bool IsTargaFile(const QString& FileName) { return ExtIsOneOf(FileName, {".tga", ".targa"}); }
bool IsWebpImageFile(const QString& FileName) { return ExtIsOneOf(FileName, {".webp"}); }
bool IsPlatformPictureFile(const QString& FileName) { return ExtIsOneOf(FileName, {".bmp", ".wmf", ".emf", ".ico"}); }
bool HasNoExtension(const QString& FileName) { return LowerFileExt(FileName).isEmpty(); }

bool KeepsLayers(const QString& FileName) { return IsLmiFile(FileName); }
bool KeepsTransparentColor(const QString& FileName) { return ExtIsOneOf(FileName, {".png", ".gif", ".lmi"}); }

bool IsFreeImageAlphaFormat(const QString& FileName) {
  return IsFreeImageLoaded() && (IsTiffFile(FileName) || IsTargaFile(FileName) || IsWebpImageFile(FileName));
}

bool SupportsAlphaChannel(const QString& FileName, bool AcceptGif) {
  if (ExtIsOneOf(FileName, {".bmp", ".lmi", ".png"}) || IsFreeImageAlphaFormat(FileName)) return true;
  return AcceptGif && IsGifFile(FileName);
}

bool SupportsIndexedColors(const QString& FileName) { return ExtIsOneOf(FileName, {".bmp", ".png", ".tif", ".tiff"}); }
bool IsRleOrTargaFile(const QString& FileName) { return IsRleFile(FileName) || IsTargaFile(FileName); }

bool IsOpenableImageFile(const QString& FileName, bool CheckMask) {
  if (HasNoExtension(FileName) || !QFileInfo(FileName).isFile()) return false;
  return !CheckMask || FileMatchesMasks(FileName, GetOpenMasks());
}

bool IsSavableImageFile(const QString& FileName) { return FilterIndexOfFile(FileName, GetSaveFilter()) > 0; }

void SetBaseFilterEntry(int Kind, const QString& Text) {
  if (Kind < bfkBitmap || Kind > bfkGif) return;
  TFilterState& S = State();
  S.Entries[Kind] = Text;
  S.OpenFilter.Valid = S.SaveFilter.Valid = S.OpenMasks.Valid = false;
}

const QString& BitmapTypeEntry() { return State().Entries[bfkBitmap]; }
const QString& JpegTypeEntry() { return State().Entries[bfkJpeg]; }
const QString& PngTypeEntry() { return State().Entries[bfkPng]; }
const QString& GifTypeEntry() { return State().Entries[bfkGif]; }
const QString& MetafileTypeEntry() { return State().Metafile; }

QString LmiTypeEntry() { return Tr(TrId::LayeredImageFormatName) + QStringLiteral("|*.lmi"); }
QString RleTypeEntry() { return MakeFilterEntry(QString(), QStringLiteral("rle")); }
QString IconTypeEntry() { return MakeFilterEntry(Tr(TrId::GetFltIconFile), QStringLiteral("ico")); }

QString MakeFilterEntry(const QString& TypeName, const QString& Ext) {
  return (TypeName.isEmpty() ? Ext.toUpper() : TypeName) + QStringLiteral("|*.") + Ext.toLower();
}

const QString& GetOpenMasks() {
  TFilterState& S = State();
  return Cached(S.OpenMasks, [&S] {
    // ".rle", which the editor writes, is a BMP that no library names.
    QString Masks =
        IsFreeImageLoaded()
            ? Join({QStringLiteral("*.lmi"), MasksOf(S.Metafile), AllFifMasks(), MasksOf(RleTypeEntry())}, Semicolon)
            : Join({QStringLiteral("*.lmi"), MasksOf(S.Metafile), MasksOf(BitmapTypeEntry()), MasksOf(RleTypeEntry()),
                    MasksOf(JpegTypeEntry()), MasksOf(PngTypeEntry()), MasksOf(GifTypeEntry())},
                   Semicolon);
    if (!S.ExtraOpenMasks.isEmpty()) Masks += Semicolon + S.ExtraOpenMasks;
    return Masks;
  });
}

const QString& GetOpenFilter() {
  TFilterState& S = State();
  return Cached(S.OpenFilter, [&S] {
    QString Filter =
        IsFreeImageLoaded()
            ? Join({Tr(TrId::GetOeAll), QStringLiteral("*.*"), LmiTypeEntry(), S.Metafile, AllFifFilters(),
                    RleTypeEntry()},
                   Bar)
            : Join({Tr(TrId::GetOeAll), GetOpenMasks(), LmiTypeEntry(), S.Metafile, BitmapTypeEntry(), RleTypeEntry(),
                    JpegTypeEntry(), PngTypeEntry(), GifTypeEntry(), IconTypeEntry()},
                   Bar);
    if (!S.ExtraOpenFilter.isEmpty()) Filter += Bar + S.ExtraOpenFilter;
    return Filter;
  });
}

const QString& GetSaveFilter() {
  TFilterState& S = State();
  return Cached(S.SaveFilter, [&S] {
    QString Filter = Join({LmiTypeEntry(), BitmapTypeEntry(), JpegTypeEntry(), PngTypeEntry(), GifTypeEntry()}, Bar);
    if (IsFreeImageLoaded()) {
      Filter += Bar + RleTypeEntry();
      // Only the formats the bound library can write are offered.
      for (int Fif : {fifTarga, fifTiff, fifJxr, fifJp2, fifWebp, fifXpm})
        if (FreeImageProvider()->SupportsWriting(Fif)) Filter += Bar + FifFilterEntry(Fif);
    }
    if (!S.ExtraSaveFilter.isEmpty()) Filter += Bar + S.ExtraSaveFilter;
    return Filter;
  });
}

void SetExtraOpenFilter(const QString& Text) { SetExtra(State().ExtraOpenFilter, State().OpenFilter, Text); }
void SetExtraSaveFilter(const QString& Text) { SetExtra(State().ExtraSaveFilter, State().SaveFilter, Text); }

void SetExtraOpenMasks(const QString& Text) {
  TFilterState& S = State();
  if (Text == S.ExtraOpenMasks) return;
  SetExtra(S.ExtraOpenMasks, S.OpenMasks, Text);
  // Without FreeImage the open filter's first entry holds the open masks, so
  // it goes stale with them.
  S.OpenFilter.Valid = false;
}

bool MaskListHasExt(const QString& Ext, const QString& Masks) {
  const QString Mask = SubStrAt(QStringLiteral("*"), Ext, 1) ? Ext : QLatin1Char('*') + Ext;
  return IndexOfDelimitedField(Mask, Masks, Semicolon) >= 0;
}

bool FileMatchesMasks(const QString& FileName, const QString& Masks) {
  return MaskListHasExt(LowerFileExt(FileName), Masks);
}

bool FileMatchesFilterEntry(const QString& FileName, const QString& Entry) {
  return FileMatchesMasks(FileName, MasksOf(Entry));
}

int FilterIndexOfFile(const QString& FileName, const QString& Filter) {
  const QString Ext = LowerFileExt(FileName);
  TFieldScan Scan;
  Scan.Separator = Bar;
  for (bool Found = FirstField(Filter, Scan); Found; Found = NextField(Filter, Scan))
    if (Scan.Index % 2 == 1 && MaskListHasExt(Ext, FieldText(Filter, Scan))) return Scan.Index / 2 + 1;
  return 0;
}

void FilterToFileTypes(TFileTypeItems& Items, const QString& Filter) {
  TFieldScan Scan;
  Scan.Separator = Bar;
  QString Name;
  for (bool Found = FirstField(Filter, Scan); Found; Found = NextField(Filter, Scan)) {
    if (Scan.Index % 2 == 0)
      Name = FieldText(Filter, Scan);
    else
      Items.push_back({Name, FieldText(Filter, Scan)});
  }
}

QString FilterEntryDefaultExt(const TFileTypeItems& Items, int N) {
  if (N < 1 || N > int(Items.size())) return {};
  QString Mask = GetDelimitedField(0, Items[N - 1].FileMask, Semicolon);
  if (Mask.startsWith(QLatin1Char('*'))) Mask.remove(0, 1);
  return Mask;
}

int FileTypeIndexOf(const QString& FileName, const TFileTypeItems& Items) {
  const QString Ext = LowerFileExt(FileName);
  if (Ext.isEmpty()) return 0;
  for (size_t I = 0; I < Items.size(); ++I)
    if (MaskListHasExt(Ext, Items[I].FileMask)) return int(I) + 1;
  return 0;
}
