#include "files/FreeBitmap.h"

#include "files/ColorDepth.h"
#include "files/HdrTonMap.h"
#include "files/ReadLimits.h"
#include "platform/Rounding.h"
#include "platform/SafeFile.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

namespace {

const TFreeImageApi& Fi() { return FreeImageApi(); }

// The metadata models the program keeps, in the order they are read and written.
constexpr int SupportedModels[] = {fmdComments,      fmdExifMain,    fmdExifExif, fmdExifGps,
                                   fmdExifMakerNote, fmdExifInterop, fmdIptc,     fmdExifRaw};

// A file the library writes by name although nobody else can see it: a
// temporary file unlinked at once and reached through its descriptor's
// /proc link, so that nothing is left behind even when the process is
// killed. Where /proc is missing the file keeps its name until destroyed.
class TScratchFile {
public:
  TScratchFile() {
    QByteArray Pattern = QFile::encodeName(QDir::tempPath() + QStringLiteral("/.lumaretique-XXXXXX"));
    FFd = mkostemp(Pattern.data(), O_CLOEXEC);
    if (FFd < 0) return;
    const QByteArray ProcPath = "/proc/self/fd/" + QByteArray::number(FFd);
    if (access(ProcPath.constData(), W_OK) == 0) {
      unlink(Pattern.constData());
      FPath = ProcPath;
    } else {
      FPath = Pattern;
      FNamed = true;
    }
  }
  ~TScratchFile() {
    if (FFd < 0) return;
    close(FFd);
    if (FNamed) unlink(FPath.constData());
  }
  TScratchFile(const TScratchFile&) = delete;
  TScratchFile& operator=(const TScratchFile&) = delete;

  bool Valid() const { return FFd >= 0; }
  const char* Path() const { return FPath.constData(); }

  // The library's run-length BMP writer leaves the file size and the image
  // size of the header wrong, and readers that check them refuse the file:
  // both are set from the bytes actually written.
  void FixRleBmpHeader() const {
    struct stat Info;
    uint8_t Head[54];
    if (fstat(FFd, &Info) != 0 || Info.st_size < 54 || Info.st_size > 0xFFFFFFFF ||
        pread(FFd, Head, sizeof Head, 0) != ssize_t(sizeof Head) || Head[0] != 'B' || Head[1] != 'M')
      return;
    const uint32_t FileSize = uint32_t(Info.st_size);
    const uint32_t PixelOffset = uint32_t(Head[10] | Head[11] << 8 | Head[12] << 16 | uint32_t(Head[13]) << 24);
    if (PixelOffset > FileSize) return;
    PutLe32(2, FileSize);
    PutLe32(34, FileSize - PixelOffset);
  }

  // Copies what the library wrote into Target.
  void CopyTo(TSafeFile& Target) const {
    std::vector<char> Buffer(size_t(1) << 16);
    off_t At = 0;
    for (;;) {
      const ssize_t Got = pread(FFd, Buffer.data(), Buffer.size(), At);
      if (Got < 0 && errno == EINTR) continue;
      if (Got < 0)
        throw ESafeFileError(QFile::encodeName(Target.FileName()).toStdString() + ": " + std::strerror(errno));
      if (Got == 0) return;
      Target.Write(Buffer.data(), size_t(Got));
      At += Got;
    }
  }

private:
  void PutLe32(off_t At, uint32_t Value) const {
    const uint8_t Bytes[4] = {uint8_t(Value), uint8_t(Value >> 8), uint8_t(Value >> 16), uint8_t(Value >> 24)};
    if (pwrite(FFd, Bytes, sizeof Bytes, At) != ssize_t(sizeof Bytes))
      throw ESafeFileError(std::string("scratch file: ") + std::strerror(errno));
  }

  int FFd = -1;
  QByteArray FPath;
  bool FNamed = false;
};

// Scan line of bitmap row Row (rows run top-down, scan lines bottom-up).
uint8_t* ScanLineOfRow(const TBmpFree& Dib, int Row) { return Dib.GetScanLine(Dib.GetHeight() - 1 - Row); }

// Copies the library's 24- or 32-bit rows into Bitmap of the same depth.
bool CopyFromDib(const TBmpFree& Dib, TBitmap& Bitmap, int Bpp) {
  const int W = Dib.GetWidth(), H = Dib.GetHeight();
  Bitmap.ReleaseImage();
  Bitmap.SetPixelFormat(Bpp == 32 ? pf32bit : pf24bit);
  Bitmap.SetSize(W, H);
  const size_t RowBytes = size_t(W) * size_t(Bpp / 8);
  for (int Y = 0; Y < H; ++Y) {
    const uint8_t* Src = ScanLineOfRow(Dib, Y);
    if (!Src) return false;
    std::memcpy(Bitmap.ScanLine(Y), Src, RowBytes);
  }
  return true;
}

// The dots per inch of a dots-per-centimetre value, in steps of 0.05.
float DpcmToDpi(double Dpcm) { return float(Round(Dpcm * 50.8) / 20.0); }

// Converts the library's pixels of one row into float pixels.
bool FillHdrRow(const uint8_t* Src, TPixelHdr* Dst, int W, int ImageType, int Bpp) {
  constexpr float Byte = 255.0f, Word = 65535.0f;
  for (int X = 0; X < W; ++X) {
    TPixelHdr& P = Dst[X];
    switch (ImageType) {
    case fitBitmap: {
      const uint8_t* S = Src + size_t(X) * size_t(Bpp / 8);
      P = {S[0] / Byte, S[1] / Byte, S[2] / Byte, Bpp == 32 ? S[3] / Byte : 1.0f};
      break;
    }
    case fitFloat: {
      float V;
      std::memcpy(&V, Src + size_t(X) * sizeof(float), sizeof V);
      P = {V, V, V, 1.0f};
      break;
    }
    case fitRgb16: {
      TFiRgb16 S;
      std::memcpy(&S, Src + size_t(X) * sizeof S, sizeof S);
      P = {S.Blue / Word, S.Green / Word, S.Red / Word, 1.0f};
      break;
    }
    case fitRgba16: {
      TFiRgba16 S;
      std::memcpy(&S, Src + size_t(X) * sizeof S, sizeof S);
      P = {S.Blue / Word, S.Green / Word, S.Red / Word, S.Alpha / Word};
      break;
    }
    case fitRgbF: {
      TFiRgbF S;
      std::memcpy(&S, Src + size_t(X) * sizeof S, sizeof S);
      P = {S.Blue, S.Green, S.Red, 1.0f};
      break;
    }
    case fitRgbaF: {
      TFiRgbaF S;
      std::memcpy(&S, Src + size_t(X) * sizeof S, sizeof S);
      P = {S.Blue, S.Green, S.Red, S.Alpha};
      break;
    }
    default:
      return false;
    }
  }
  return true;
}

uint8_t ToneMapFlagOf(int ImageType) {
  switch (ImageType) {
  case fitRgb16:
  case fitRgba16:
    return 2;
  case fitFloat:
  case fitRgbF:
  case fitRgbaF:
    return 1;
  default:
    return 0;
  }
}

} // namespace

// ---- TBmpFree ------------------------------------------------------------------------

TBmpFree::TBmpFree(int ImageType, int Width, int Height, int Bpp) {
  if (Width > 0 && Height > 0 && Bpp > 0) SetSize(ImageType, Width, Height, Bpp);
}

TBmpFree::~TBmpFree() { Clear(); }

void TBmpFree::SetDib(TFiBitmap* Value) {
  if (Value == FDib) return;
  Clear();
  FDib = Value;
}

bool TBmpFree::SetSize(int ImageType, int Width, int Height, int Bpp) {
  Clear();
  FDib = Fi().AllocateT(ImageType, Width, Height, Bpp, 0, 0, 0);
  return FDib != nullptr;
}

void TBmpFree::Clear() {
  if (!FDib) return;
  Fi().Unload(FDib);
  FDib = nullptr;
}

bool TBmpFree::Replace(TFiBitmap* NewDib) {
  if (!NewDib) return false;
  SetDib(NewDib);
  return true;
}

bool TBmpFree::IsTransparent() const { return FDib && Fi().IsTransparent(FDib); }
int TBmpFree::GetImageType() const { return FDib ? Fi().GetImageType(FDib) : int(fitUnknown); }
int TBmpFree::GetWidth() const { return FDib ? int(std::min(Fi().GetWidth(FDib), 0x7FFFFFFFu)) : 0; }
int TBmpFree::GetHeight() const { return FDib ? int(std::min(Fi().GetHeight(FDib), 0x7FFFFFFFu)) : 0; }
int TBmpFree::GetBitsPerPixel() const { return FDib ? int(Fi().GetBPP(FDib)) : 0; }

uint8_t* TBmpFree::GetScanLine(int ScanLine) const {
  if (!FDib || ScanLine < 0 || ScanLine >= GetHeight()) return nullptr;
  return Fi().GetScanLine(FDib, ScanLine);
}

double TBmpFree::GetHorizontalResolution() const { return FDib ? Fi().GetDotsPerMeterX(FDib) / 100.0 : 0; }
double TBmpFree::GetVerticalResolution() const { return FDib ? Fi().GetDotsPerMeterY(FDib) / 100.0 : 0; }

namespace {
unsigned DotsPerMetre(double Dpcm) { return Dpcm > 0 ? unsigned(Round(Dpcm * 100)) : 0u; }
} // namespace

void TBmpFree::SetHorizontalResolution(double Value) {
  if (FDib) Fi().SetDotsPerMeterX(FDib, DotsPerMetre(Value));
}
void TBmpFree::SetVerticalResolution(double Value) {
  if (FDib) Fi().SetDotsPerMeterY(FDib, DotsPerMetre(Value));
}

bool TBmpFree::ConvertTo24Bits() { return FDib && Replace(Fi().ConvertTo24Bits(FDib)); }
bool TBmpFree::ConvertTo32Bits() { return FDib && Replace(Fi().ConvertTo32Bits(FDib)); }
bool TBmpFree::Threshold(uint8_t T) { return FDib && Replace(Fi().Threshold(FDib, T)); }
bool TBmpFree::Dither(int Algorithm) { return FDib && Replace(Fi().Dither(FDib, Algorithm)); }
bool TBmpFree::ColorQuantize(int Quantize) { return FDib && Replace(Fi().ColorQuantize(FDib, Quantize)); }
bool TBmpFree::ColorQuantizeEx(int Quantize, int PaletteSize, int ReserveSize, TFiRgbQuad* ReservePalette) {
  return FDib && Replace(Fi().ColorQuantizeEx(FDib, Quantize, PaletteSize, ReserveSize, ReservePalette));
}

bool TBmpFree::ConvertToRGB_A(int& Bpp) {
  const int Depth = GetBitsPerPixel();
  if (Depth >= 24) {
    Bpp = Depth;
    return true;
  }
  const bool Alpha = IsTransparent();
  if (!(Alpha ? ConvertTo32Bits() : ConvertTo24Bits())) return false;
  Bpp = Alpha ? 32 : 24;
  return true;
}

bool TBmpFree::ReduceColors(int Bpp, bool Dithering, bool ReserveTransparency) {
  if (Bpp == 0 || Bpp >= GetBitsPerPixel()) return true;
  if (Bpp == 1) return Dithering ? Dither(FidFloydSteinberg) : Threshold(128);
  const int PaletteSize = (Bpp <= 4 ? 16 : 256) - (ReserveTransparency ? 1 : 0);
  return ColorQuantizeEx(Dithering ? FiqWuQuant : FiqLfpQuant, PaletteSize, 0, nullptr);
}

bool TBmpFree::Load(const QString& FileName, int Flag) { return Load(GetFileFif(FileName), FileName, Flag); }

bool TBmpFree::Load(int Fif, const QString& FileName, int Flag) {
  Clear();
  if (!IsFreeImageLoaded() || Fif == fifUnknown) return false;
  CheckFreeImageFile(Fif, FileName, Flag);
  FDib = Fi().Load(Fif, FreeImageFilePath(FileName).constData(), Flag);
  if (!FDib) return false;
  // A plugin that ignored the header it was checked by, or gave no pixels.
  const int W = GetWidth(), H = GetHeight();
  if (!Fi().HasPixels(FDib) || W <= 0 || H <= 0) {
    Clear();
    return false;
  }
  if (int64_t(W) * H > MaxReadPixels) {
    Clear();
    CheckReadSize(W, H, FileName);
  }
  return true;
}

bool TBmpFree::Save(const QString& FileName, int Flag) { return Save(GetFifFromName(FileName), FileName, Flag); }

bool TBmpFree::Save(int Fif, const QString& FileName, int Flag) {
  if (!FDib || !IsFreeImageLoaded() || Fif == fifUnknown) return false;
  TScratchFile Scratch;
  if (!Scratch.Valid() || !Fi().Save(Fif, FDib, Scratch.Path(), Flag)) return false;
  if (Fif == fifBmp && (Flag & BmpSaveRle)) Scratch.FixRleBmpHeader();
  TSafeFile Target(FileName);
  Scratch.CopyTo(Target);
  Target.Commit();
  return true;
}

int TBmpFree::MetadataCount(int Model) const { return FDib ? int(Fi().GetMetadataCount(Model, FDib)) : 0; }

void TBmpFree::ReadMetadata(int Model, TMetadata& Metadata) const {
  if (!FDib) return;
  TFiTag* FiTag = nullptr;
  TFiMetadata* Search = Fi().FindFirstMetadata(Model, FDib, &FiTag);
  if (!Search) return;
  do {
    if (!FiTag) continue;
    TFreeTag Tag;
    Tag.Model = Model;
    const char* Key = Fi().GetTagKey(FiTag);
    Tag.Key = Key ? Key : "";
    Tag.Id = Fi().GetTagID(FiTag);
    Tag.Format = Fi().GetTagType(FiTag);
    Tag.Count = Fi().GetTagCount(FiTag);
    const auto* Value = static_cast<const uint8_t*>(Fi().GetTagValue(FiTag));
    if (Value) Tag.Data.assign(Value, Value + Fi().GetTagLength(FiTag));
    Metadata.Append(std::move(Tag));
  } while (Fi().FindNextMetadata(Search, &FiTag));
  Fi().FindCloseMetadata(Search);
}

void TBmpFree::WriteMetadata(int Model, const TMetadata& Metadata) {
  int First = 0, Last = 0;
  if (!FDib || !ModelRange(Metadata, Model, First, Last)) return;
  TFiTag* FiTag = Fi().CreateTag();
  if (!FiTag) return;
  for (int I = First; I <= Last; ++I) {
    const TFreeTag& Tag = Metadata[I];
    // The library files tags by key: a tag without one has nowhere to go.
    if (!Tag.Key.empty() && FillFiTag(FiTag, Tag)) Fi().SetMetadata(Model, FDib, Tag.Key.c_str(), FiTag);
  }
  Fi().DeleteTag(FiTag);
}

// ---- Pipelines ------------------------------------------------------------------------

void FillLoadExtra(TBmpFree& Dib, int ImageType, TFreeExtraData& Extra) {
  Extra.ResolutionX = DpcmToDpi(Dib.GetHorizontalResolution());
  Extra.ResolutionY = DpcmToDpi(Dib.GetVerticalResolution());
  Extra.HasAlpha = Dib.IsTransparent();
  Extra.ToneMapFlag = ToneMapFlagOf(ImageType);
  for (int Model : SupportedModels) {
    if (!CanReadModel(Extra.ImageFormat, Model)) continue;
    Dib.ReadMetadata(Model, Extra.Metadata);
    if (Model == fmdExifMain) {
      double X = 0, Y = 0;
      GetExifResolution(Extra.Metadata, X, Y);
      Extra.ResolutionX = std::max(Extra.ResolutionX, float(X));
      Extra.ResolutionY = std::max(Extra.ResolutionY, float(Y));
    }
  }
}

bool LoadIntoHdr(TBmpFree& Dib, THdrImage& Hdr, TFreeExtraData& Extra) {
  Hdr.Clear();
  Extra.BitsPerPixel = uint8_t(std::min(Dib.GetBitsPerPixel(), 255));
  const int ImageType = Dib.GetImageType();
  int Bpp = 0;
  if (ImageType == fitBitmap && !Dib.ConvertToRGB_A(Bpp)) return false;
  if (ImageType != fitBitmap && ToneMapFlagOf(ImageType) == 0) return false;
  const int W = Dib.GetWidth(), H = Dib.GetHeight();
  if (W <= 0 || H <= 0) return false;
  Hdr.SetSize(W, H);
  for (int Y = 0; Y < H; ++Y) {
    const uint8_t* Src = ScanLineOfRow(Dib, Y);
    if (!Src || !FillHdrRow(Src, Hdr.Pixels(Y), W, ImageType, Bpp)) {
      Hdr.Clear();
      return false;
    }
  }
  FillLoadExtra(Dib, ImageType, Extra);
  return true;
}

void ToneMapLoaded(THdrImage& Hdr, TFreeExtraData& Extra) {
  if (Extra.ToneMapFlag == 0 || Extra.ImageFormat == fifTiff) return;
  if (AutoToneMap) {
    ApplyToneMap(&Hdr, toFilmic, false, 0, WholeBitmapRect);
    Hdr.AutoRange(WholeBitmapRect);
  } else {
    ApplyToneMap(&Hdr, toClip, false, 0, WholeBitmapRect);
  }
  Extra.ToneMapFlag = 0;
}

void CheckHdrAlpha(const THdrImage& Hdr, TFreeExtraData& Extra) {
  if (Extra.HasAlpha && !Hdr.AlphaUsed()) Extra.HasAlpha = false;
}

void HdrToBitmap(const THdrImage& Hdr, TBitmap& Bitmap, bool HasAlpha) {
  Bitmap.ReleaseImage();
  Bitmap.SetPixelFormat(HasAlpha ? pf32bit : pf24bit);
  Bitmap.SetSize(Hdr.Width(), Hdr.Height());
  const int Step = HasAlpha ? 4 : 3;
  for (int Y = 0; Y < Hdr.Height(); ++Y) {
    const TPixelHdr* Src = Hdr.Pixels(Y);
    uint8_t* Dst = Bitmap.ScanLine(Y);
    for (int X = 0; X < Hdr.Width(); ++X, Dst += Step) {
      Dst[0] = FloatToByte(Src[X].Blue);
      Dst[1] = FloatToByte(Src[X].Green);
      Dst[2] = FloatToByte(Src[X].Red);
      if (HasAlpha) Dst[3] = FloatToByte(Src[X].Alpha);
    }
  }
}

bool LoadFreeImageFile(const QString& FileName, TBitmap& Bitmap, TFreeExtraData& Extra) {
  Bitmap.ReleaseImage();
  Extra.ToneMapFlag = 0;
  Extra.Metadata.Clear();
  TBmpFree Dib;
  if (!Dib.Load(Extra.ImageFormat, FileName, Extra.IOFlag)) return false;
  const int ImageType = Dib.GetImageType();
  if (ImageType == fitBitmap) {
    Extra.BitsPerPixel = uint8_t(Dib.IsTransparent() ? 32 : std::min(Dib.GetBitsPerPixel(), 255));
    int Bpp = 0;
    if (!Dib.ConvertToRGB_A(Bpp) || (Bpp != 24 && Bpp != 32) || !CopyFromDib(Dib, Bitmap, Bpp)) {
      Bitmap.ReleaseImage();
      return false;
    }
    FillLoadExtra(Dib, ImageType, Extra);
    return true;
  }
  THdrImage Hdr;
  if (!LoadIntoHdr(Dib, Hdr, Extra)) return false;
  ToneMapLoaded(Hdr, Extra);
  CheckHdrAlpha(Hdr, Extra);
  HdrToBitmap(Hdr, Bitmap, Extra.HasAlpha);
  return true;
}

bool SaveFreeImageBitmap(const QString& FileName, const TBitmap& Bitmap, TFreeExtraData& Extra) {
  if (Bitmap.Empty()) return false;
  if (Extra.ImageFormat == fifUnknown) Extra.ImageFormat = GetFifFromName(FileName);
  if (Extra.ImageFormat == fifUnknown) return false;
  const bool Alpha = Bitmap.PixelFormat() == pf32bit;
  TBmpFree Dib(fitBitmap, Bitmap.Width(), Bitmap.Height(), Alpha ? 32 : 24);
  if (!Dib.IsValid()) return false;

  // Palette and other depths go through a 24-bit copy.
  TBitmap Copy24;
  const TBitmap* Source = &Bitmap;
  if (!Alpha && Bitmap.PixelFormat() != pf24bit) {
    Copy24.Assign(Bitmap);
    Copy24.SetPixelFormat(pf24bit);
    Source = &Copy24;
  }
  const size_t RowBytes = size_t(Bitmap.Width()) * (Alpha ? 4 : 3);
  for (int Y = 0; Y < Bitmap.Height(); ++Y) {
    uint8_t* Dst = ScanLineOfRow(Dib, Y);
    if (!Dst) return false;
    std::memcpy(Dst, Source->ScanLine(Y), RowBytes);
  }

  const int OwnDepth = PixelFormatToBits(Bitmap.PixelFormat());
  const int Target = Extra.BitsPerPixel ? Extra.BitsPerPixel : OwnDepth;
  // A failed reduction still saves the image at its depth.
  if (Target <= 8) Dib.ReduceColors(Target, OwnDepth > Target, false);

  Dib.SetHorizontalResolution(Extra.ResolutionX / 2.54);
  Dib.SetVerticalResolution(Extra.ResolutionY / 2.54);
  for (int Model : SupportedModels) {
    if (!CanWriteModel(Extra.ImageFormat, Model)) continue;
    AdjustMetadata(Extra.Metadata, Model, Dib.GetWidth(), Dib.GetHeight(), Extra.ResolutionX, Extra.ResolutionY);
    Dib.WriteMetadata(Model, Extra.Metadata);
  }
  return Dib.Save(Extra.ImageFormat, FileName, Extra.IOFlag);
}
