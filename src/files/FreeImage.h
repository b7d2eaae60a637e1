// The binding of the optional FreeImage library: loaded at run time from the
// module folder only (never linked), its functions bound by name, the format
// questions asked of it, the load flags chosen per format, and the two
// settings that govern it. Depends on FreeImageProvider (which it installs
// while the library is loaded), BmpExtOE (the base filter entries) and
// FreeMetadata; used by FreeUtils, FreeBitmap and the load and save dispatch.
//
// The library's own types and constants are declared here afresh, with the
// library's numeric values and a layout checked by static_assert; the library
// header is never included. On Linux the library's wide-character path
// functions do nothing useful: they are bound with the others, so that a
// library lacking one is still refused, but every path goes to the narrow
// functions as UTF-8.
#pragma once

#include "files/FreeImageProvider.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <type_traits>

// ---- The library's types ---------------------------------------------------------

struct TFiBitmap;   // a FreeImage bitmap (FIBITMAP), owned by TBmpFree
struct TFiTag;      // a metadata tag (FITAG)
struct TFiMetadata; // a metadata search handle (FIMETADATA)
using TFiBool = int32_t;

// One palette entry (RGBQUAD) in the library's little-endian colour order.
struct TFiRgbQuad {
  uint8_t Blue = 0;
  uint8_t Green = 0;
  uint8_t Red = 0;
  uint8_t Reserved = 0;
};
static_assert(sizeof(TFiRgbQuad) == 4);

// FREE_IMAGE_TYPE: the pixel type of a bitmap.
enum TFreeImageType : int {
  fitUnknown = 0,
  fitBitmap = 1, // 1 to 32 bits per pixel, B G R (A) in 24 and 32 bits
  fitUInt16 = 2,
  fitInt16 = 3,
  fitUInt32 = 4,
  fitInt32 = 5,
  fitFloat = 6, // one float channel
  fitDouble = 7,
  fitComplex = 8,
  fitRgb16 = 9,   // R G B words
  fitRgba16 = 10, // R G B A words
  fitRgbF = 11,   // R G B floats
  fitRgbaF = 12,  // R G B A floats
};

// Pixel layouts of the high-range types.
struct TFiRgb16 {
  uint16_t Red, Green, Blue;
};
struct TFiRgba16 {
  uint16_t Red, Green, Blue, Alpha;
};
struct TFiRgbF {
  float Red, Green, Blue;
};
struct TFiRgbaF {
  float Red, Green, Blue, Alpha;
};
static_assert(sizeof(TFiRgb16) == 6 && sizeof(TFiRgba16) == 8 && sizeof(TFiRgbF) == 12 && sizeof(TFiRgbaF) == 16);

// Quantisers (FREE_IMAGE_QUANTIZE) and ditherers (FREE_IMAGE_DITHER) used here.
inline constexpr int FiqWuQuant = 0;
inline constexpr int FiqLfpQuant = 2; // lossless fast pseudo-quantiser
inline constexpr int FidFloydSteinberg = 0;

// Load and save flags.
inline constexpr int FifLoadNoPixels = 0x8000; // header only, where the format supports it
inline constexpr int BmpSaveRle = 1;
inline constexpr int JpegFast = 0x0001;
inline constexpr int JpegAccurate = 0x0002;
inline constexpr int JpegExifRotate = 0x0008;
inline constexpr int JpegProgressive = 0x2000;
inline constexpr int JpegOptimize = 0x20000;
inline constexpr int RawPreview = 1;
inline constexpr int TargaSaveRle = 2;
inline constexpr int TiffDefault = 0;
inline constexpr int TiffPackbits = 0x0100;
inline constexpr int TiffDeflate = 0x0200;
inline constexpr int TiffAdobeDeflate = 0x0400;
inline constexpr int TiffNone = 0x0800;
inline constexpr int TiffCcittFax3 = 0x1000;
inline constexpr int TiffCcittFax4 = 0x2000;
inline constexpr int TiffLzw = 0x4000;
inline constexpr int TiffJpeg = 0x8000;
inline constexpr int WebpLossless = 0x100;

// ---- The bound functions -------------------------------------------------------------
// Every name the binding looks up, in the order it looks them up: the 51
// functions of the library's interface this program uses, then the narrow
// path functions and the header-only helpers that stand in on Linux. The
// first name missing refuses the whole library.
#define LUMA_FREEIMAGE_FUNCTIONS(X)                                                                                    \
  X(GetFileTypeU, int(const wchar_t*, int))                                                                            \
  X(GetFIFFromFilenameU, int(const wchar_t*))                                                                          \
  X(LoadU, TFiBitmap*(int, const wchar_t*, int))                                                                       \
  X(SaveU, TFiBool(int, TFiBitmap*, const wchar_t*, int))                                                              \
  X(GetVersion, const char*())                                                                                         \
  X(GetFIFDescription, const char*(int))                                                                               \
  X(GetFIFExtensionList, const char*(int))                                                                             \
  X(FIFSupportsReading, TFiBool(int))                                                                                  \
  X(FIFSupportsWriting, TFiBool(int))                                                                                  \
  X(FIFSupportsExportType, TFiBool(int, int))                                                                          \
  X(Unload, void(TFiBitmap*))                                                                                          \
  X(AllocateT, TFiBitmap*(int, int, int, int, unsigned, unsigned, unsigned))                                           \
  X(IsTransparent, TFiBool(TFiBitmap*))                                                                                \
  X(GetImageType, int(TFiBitmap*))                                                                                     \
  X(GetBPP, unsigned(TFiBitmap*))                                                                                      \
  X(GetWidth, unsigned(TFiBitmap*))                                                                                    \
  X(GetHeight, unsigned(TFiBitmap*))                                                                                   \
  X(GetScanLine, uint8_t*(TFiBitmap*, int))                                                                            \
  X(ConvertTo24Bits, TFiBitmap*(TFiBitmap*))                                                                           \
  X(ConvertTo32Bits, TFiBitmap*(TFiBitmap*))                                                                           \
  X(ColorQuantize, TFiBitmap*(TFiBitmap*, int))                                                                        \
  X(Dither, TFiBitmap*(TFiBitmap*, int))                                                                               \
  X(Threshold, TFiBitmap*(TFiBitmap*, uint8_t))                                                                        \
  X(ColorQuantizeEx, TFiBitmap*(TFiBitmap*, int, int, int, TFiRgbQuad*))                                               \
  X(GetDotsPerMeterX, unsigned(TFiBitmap*))                                                                            \
  X(GetDotsPerMeterY, unsigned(TFiBitmap*))                                                                            \
  X(SetDotsPerMeterX, void(TFiBitmap*, unsigned))                                                                      \
  X(SetDotsPerMeterY, void(TFiBitmap*, unsigned))                                                                      \
  X(GetMetadataCount, unsigned(int, TFiBitmap*))                                                                       \
  X(FindFirstMetadata, TFiMetadata*(int, TFiBitmap*, TFiTag**))                                                        \
  X(FindNextMetadata, TFiBool(TFiMetadata*, TFiTag**))                                                                 \
  X(FindCloseMetadata, void(TFiMetadata*))                                                                             \
  X(GetTagID, uint16_t(TFiTag*))                                                                                       \
  X(GetTagKey, const char*(TFiTag*))                                                                                   \
  X(GetTagDescription, const char*(TFiTag*))                                                                           \
  X(GetTagType, int(TFiTag*))                                                                                          \
  X(GetTagCount, uint32_t(TFiTag*))                                                                                    \
  X(GetTagLength, uint32_t(TFiTag*))                                                                                   \
  X(GetTagValue, const void*(TFiTag*))                                                                                 \
  X(TagToString, const char*(int, TFiTag*, char*))                                                                     \
  X(CreateTag, TFiTag*())                                                                                              \
  X(DeleteTag, void(TFiTag*))                                                                                          \
  X(SetTagID, TFiBool(TFiTag*, uint16_t))                                                                              \
  X(SetTagKey, TFiBool(TFiTag*, const char*))                                                                          \
  X(SetTagDescription, TFiBool(TFiTag*, const char*))                                                                  \
  X(SetTagType, TFiBool(TFiTag*, int))                                                                                 \
  X(SetTagCount, TFiBool(TFiTag*, uint32_t))                                                                           \
  X(SetTagLength, TFiBool(TFiTag*, uint32_t))                                                                          \
  X(SetTagValue, TFiBool(TFiTag*, const void*))                                                                        \
  X(GetMetadata, TFiBool(int, TFiBitmap*, const char*, TFiTag**))                                                      \
  X(SetMetadata, TFiBool(int, TFiBitmap*, const char*, TFiTag*))                                                       \
  X(GetFileType, int(const char*, int))                                                                                \
  X(GetFIFFromFilename, int(const char*))                                                                              \
  X(Load, TFiBitmap*(int, const char*, int))                                                                           \
  X(Save, TFiBool(int, TFiBitmap*, const char*, int))                                                                  \
  X(FIFSupportsNoPixels, TFiBool(int))                                                                                 \
  X(HasPixels, TFiBool(TFiBitmap*))

// The function slots, one per name above; meaningful only while the library
// is loaded (all null otherwise).
struct TFreeImageApi {
#define LUMA_FREEIMAGE_SLOT(Name, Type) std::add_pointer_t<Type> Name = nullptr;
  LUMA_FREEIMAGE_FUNCTIONS(LUMA_FREEIMAGE_SLOT)
#undef LUMA_FREEIMAGE_SLOT
};

// The number of names the binding needs, the first 51 being the interface's.
inline constexpr int FreeImageFunctionCount = [] {
  int Count = 0;
#define LUMA_FREEIMAGE_COUNT(Name, Type) ++Count;
  LUMA_FREEIMAGE_FUNCTIONS(LUMA_FREEIMAGE_COUNT)
#undef LUMA_FREEIMAGE_COUNT
  return Count;
}();
static_assert(FreeImageFunctionCount == 57);
// The exported name of slot I ("FreeImage_GetFileTypeU" for 0); null outside.
const char* FreeImageFunctionName(int I);

const TFreeImageApi& FreeImageApi();

struct TFreeTag;
// Bytes of one value of a tag type as the library counts them (a rational is
// one value of 8 bytes); 0 for a type it does not know.
int FreeTagValueWidth(int Type);
// Gives a library tag the key, id, type and value of Tag. The library keeps
// only tags whose count times value width equals their length, so the count
// follows the bytes actually held. False for a type the library does not
// know or a tag it refuses.
bool FillFiTag(TFiTag* FiTag, const TFreeTag& Tag);

// ---- The library ------------------------------------------------------------------

// The library's file inside the module folder, and that folder beside the executable.
inline constexpr const char* FreeImageModuleName = "FreeImage_64.lml";
inline constexpr const char* ModuleFolderName = "Plugins_64";

// FreeImagePath := Folder (the program's folder when empty), "/", FileName
// (FreeImageModuleName when empty); emptied when no such file exists.
void SetFreeImagePath(const QString& Folder, const QString& FileName);
const QString& FreeImagePath();

// Loads the library file at Path and binds every name; true when all were
// found. The first missing name unloads the library at once. A library
// already loaded is unloaded first.
bool LoadFreeImageLibrary(const QString& Path);
// Frees the library; its formats leave the filters.
void UnloadFreeImageLibrary();

// LoadFreeImageLibrary(FreeImagePath) when that is not empty; once loaded,
// the library's formats enter the filters (the base Bitmap, JPEG, PNG and
// GIF entries become the library's own). True when the library is loaded:
// the main window then adds the library's About entry ("FreeImage").
bool LoadFreeImageLib();

// Start-up: unless NoPlugins (the command line's "-noplugins"),
// SetFreeImagePath(ModuleFolder, "") and LoadFreeImageLib. An empty
// ModuleFolder is ModuleFolderName beside the executable. A library found
// anywhere else is never used.
bool StartFreeImage(bool NoPlugins, const QString& ModuleFolder = QString());

// The library's version text; empty when it is not loaded.
QString FreeImageVersion();

// ---- Settings (section "Plugins64" of the main settings file) ------------------------

// A save keeps the document's metadata ("PreserveExif").
inline bool PreserveExif = true;
// Images of 16 bits per channel or of float channels are tone mapped with
// the filmic curve on load instead of clipped ("AutoToneMap").
inline bool AutoToneMap = true;

// ---- Format questions (a loaded library assumed; -1 or empty otherwise) ---------------

// The format found by content; when that fails, by name; -1 when neither knows it.
int GetFileFif(const QString& FileName);
// The format the library finds in the file's content alone; fifUnknown when
// none (or the library is not loaded).
int ContentFif(const QString& FileName);
int GetFifFromName(const QString& FileName);
// 0 (BMP) for a ".rle" name, else GetFifFromName.
int FifOfSaveName(const QString& FileName);
// The format found by content; when that fails, FifOfSaveName.
int FifOfLoadFile(const QString& FileName);
// "description (masks)" of GetFileFif; empty when the format is unknown.
QString FreeImageFileType(const QString& FileName);
// AllFifFilters and AllFifMasks while the library is loaded, else empty.
QString FreeImageFilters();
QString FreeImageMasks();
// JPEG: 9 (exif rotate, fast) in thumb mode, else 10 (exif rotate,
// accurate); camera RAW: 1 (embedded preview) in thumb mode, else 0; any
// other format 0.
int FreeImageLoadFlags(int Fif, bool ThumbMode);

// The path the narrow functions take: the file name as UTF-8 bytes.
QByteArray FreeImageFilePath(const QString& FileName);
