// What the file layer asks of the optional FreeImage library: whether it is
// there, its formats' descriptions and extensions, and the display text of a
// metadata tag. The binding implements TFreeImageProvider and installs it
// once the library is loaded; until then nothing is installed and every
// answer is "no FreeImage". Depends on QtCore only; used by BmpExtOE and
// FreeMetadata.
#pragma once

#include <QString>

struct TFreeTag;

// FreeImage numbers its formats 0..36 (FREE_IMAGE_FORMAT); the filters list
// all of them, readable or not. The numbers this layer names:
inline constexpr int FreeImageFormatCount = 37;
enum TFreeImageFormat : int {
  fifUnknown = -1,
  fifBmp = 0,
  fifJpeg = 2,
  fifPng = 13,
  fifTarga = 17,
  fifTiff = 18,
  fifXpm = 23,
  fifGif = 25,
  fifJp2 = 31,
  fifRaw = 34,
  fifWebp = 35,
  fifJxr = 36,
};

class TFreeImageProvider {
public:
  virtual ~TFreeImageProvider() = default;
  // FreeImage_GetFIFDescription of a format number.
  virtual QString FormatDescription(int Fif) const = 0;
  // FreeImage_GetFIFExtensionList: lower-case extensions separated by commas.
  virtual QString FormatExtensionList(int Fif) const = 0;
  // FreeImage_FIFSupportsWriting: the library was built with a writer for it.
  virtual bool SupportsWriting(int Fif) const = 0;
  // FreeImage_TagToString of one tag of a model.
  virtual QString TagToString(int Model, const TFreeTag& Tag) const = 0;
};

// The installed provider, not owned; nullptr (the start value) means the
// library is not loaded. Interface thread only.
void SetFreeImageProvider(const TFreeImageProvider* Provider);
const TFreeImageProvider* FreeImageProvider();

bool IsFreeImageLoaded();
// The same question as asked by the other subsystems.
inline bool HasFreeImage() { return IsFreeImageLoaded(); }

// The strings below assume a loaded library and give empty text otherwise.
QString FreeImageFormatDescription(int Fif);
// "*." followed by the extension list with each comma replaced by ";*.":
// "jpg,jpeg" gives "*.jpg;*.jpeg".
QString FifMaskList(int Fif);
// Description, "|", FifMaskList: one entry of a dialog filter.
QString FifFilterEntry(int Fif);
// The entries (joined by "|") and the mask lists (joined by ";") of every
// format.
QString AllFifFilters();
QString AllFifMasks();
