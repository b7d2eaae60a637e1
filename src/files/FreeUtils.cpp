#include "files/FreeUtils.h"

#include "files/BmpExtOE.h"
#include "files/FreeBitmap.h"
#include "files/FreeImageProbe.h"
#include "files/ReadLimits.h"
#include "platform/SafeFile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <string>

namespace {

[[noreturn]] void WriteError(const QString& FileName, const char* Reason) {
  throw ESafeFileError(QFile::encodeName(FileName).toStdString() + ": " + Reason);
}

} // namespace

void CheckFreeImageFile(int Fif, const QString& FileName, int Flag) {
  QFile File(FileName);
  if (!QFileInfo(FileName).isFile()) InvalidGraphic(FileName, "no such file");
  if (!File.open(QIODevice::ReadOnly)) InvalidGraphic(FileName, "cannot open the file");
  if (File.size() <= 0) InvalidGraphic(FileName, "empty file");
  const TFreeHeaderProbe Probe = ProbeFreeImageHeader(Fif, File);
  File.close();
  if (Probe.HasSize) CheckReadSize(Probe.Width, Probe.Height, FileName);
  if (!Probe.Problem.empty()) InvalidGraphic(FileName, Probe.Problem);
  const TFreeImageApi& Fi = FreeImageApi();
  if (!IsFreeImageLoaded() || !Fi.FIFSupportsNoPixels(Fif)) return;
  TFiBitmap* Header = Fi.Load(Fif, FreeImageFilePath(FileName).constData(), Flag | FifLoadNoPixels);
  if (!Header) InvalidGraphic(FileName, "unreadable header");
  const int64_t W = Fi.GetWidth(Header), H = Fi.GetHeight(Header);
  Fi.Unload(Header);
  CheckReadSize(W, H, FileName);
}

// ---- TFreeBitmap ------------------------------------------------------------------------

void TFreeBitmap::InitLoadFormat(const QString& FileName) {
  FIOFlag = 0;
  FFormat = FifOfLoadFile(FileName);
}

void TFreeBitmap::InitSaveFormat(const QString& FileName) {
  FIOFlag = IsRleFile(FileName) ? BmpSaveRle : 0;
  FFormat = FifOfSaveName(FileName);
}

void TFreeBitmap::LoadFromFileEx(const QString& FileName, PFreeExtraData Extra) {
  FBadFif = false;
  TFreeExtraData Local;
  TFreeExtraData& E = Extra ? *Extra : Local;
  if (!QFileInfo(FileName).isFile()) InvalidGraphic(FileName, "no such file");
  if (FFormat == fifUnknown) NotItsFormat(FileName, "not a format FreeImage knows");
  if (FIOFlag == 0) FIOFlag = FreeImageLoadFlags(FFormat, FThumbMode);
  E.ImageFormat = FFormat;
  E.IOFlag = FIOFlag;
  if (!IsFreeImageLoaded()) InvalidGraphic(FileName, "FreeImage is not loaded");
  try {
    if (!LoadFreeImageFile(FileName, *this, E)) InvalidGraphic(FileName, "FreeImage cannot read the image");
  } catch (const EImageTooLarge&) {
    throw;
  } catch (const EInvalidGraphic& Error) {
    // The format was known by the file's name alone: no picture in it.
    if (ContentFif(FileName) == fifUnknown) throw ENotItsFormat(Error.what());
    throw;
  }
  FBitsPerPixel = E.BitsPerPixel;
  FBadFif = FifOfSaveName(FileName) != FFormat;
}

void TFreeBitmap::SaveToFileEx(const QString& FileName, PFreeExtraData Extra) {
  TFreeExtraData Local;
  TFreeExtraData& E = Extra ? *Extra : Local;
  if (FFormat == fifUnknown) WriteError(FileName, "not a format FreeImage knows");
  E.ImageFormat = FFormat;
  E.IOFlag = FIOFlag;
  if (IsRleFormat()) E.BitsPerPixel = 8;
  if (!IsFreeImageLoaded()) WriteError(FileName, "FreeImage is not loaded");
  if (!SaveFreeImageBitmap(FileName, *this, E)) WriteError(FileName, "FreeImage cannot write the image");
}

void TFreeBitmap::SetJpegQuality(int Quality) { FIOFlag = std::clamp(Quality, 10, 100) + JpegOptimize; }
void TFreeBitmap::SetJpegProgressive() { FIOFlag += JpegProgressive; }
void TFreeBitmap::SetTargaRle(bool Rle) { FIOFlag = Rle ? TargaSaveRle : 0; }
void TFreeBitmap::SetTiffCompression(int Flag) { FIOFlag = Flag; }

void TFreeBitmap::SetWebpQuality(int Quality) {
  if (Quality < 0)
    FIOFlag = WebpLossless;
  else if (Quality == 0)
    FIOFlag = 0;
  else
    FIOFlag = std::clamp(Quality, 10, 100);
}
