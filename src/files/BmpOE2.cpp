#include "files/BmpOE2.h"

#include "document/MyImageLayered.h"
#include "document/MyImageLayeredReg.h"
#include "files/BmpExtOE.h"
#include "files/BmpFile.h"
#include "files/ColorDepth.h"
#include "files/FreeImage.h"
#include "files/FreeImageProvider.h"
#include "files/FreeMetadata.h"
#include "files/FreeUtils.h"
#include "files/GifImage.h"
#include "files/JpegMarkers.h"
#include "files/MyJpegImage.h"
#include "files/MyPngImage.h"
#include "files/OwnThumbnails.h"
#include "files/ReadLimits.h"
#include "files/Picture.h"
#include "i18n/Format.h"
#include "i18n/LibLang.h"
#include "platform/FileLimits.h"
#include "platform/Rounding.h"
#include "platform/SafeFile.h"
#include "platform/Win1252.h"
#include "raster/DataFileError.h"
#include "raster/FilterEvent.h"

#include <QFile>
#include <QImageReader>
#include <QFileInfo>

#include <exception>
#include <new>
#include <stdexcept>
#include <optional>
#include <utility>

TOptionsOE OptionsOE;
TImageIOEvent ImageIOHook;

namespace {

TOpenImageDialogFunc OpenDialogFunc;
TSaveImageDialogFunc SaveDialogFunc;
TImageIOModules* Modules = nullptr;

// The Sender of one graphic object, named by its own class even where that
// class derives from TBitmap.
template <class T> TImageIOSender SenderOf(T* Graphic) { return TImageIOSender(std::in_place_type<T*>, Graphic); }

void Fire(const TImageIOSender& Sender, const QString& FileName, bool& Continue, TImageIOStage Event) {
  Continue = true;
  // A copy, so that a handler may clear or replace the hook while it runs.
  const TImageIOEvent Hook = ImageIOHook;
  if (Hook) Hook(Sender, FileName, Continue, Event);
}

// The first failure for want of memory during one load: no fault of the
// file, so LoadImageFile throws it again, unreported, once no reader of the
// chain could read the file.
std::exception_ptr LoadOutOfMemory;

// Why the current load failed, when a reader knew: the second line of its
// message.
std::optional<TrId> LoadFailureReason;

// A reader of the current load knew the file's format.
bool LoadRecognised = false;

// A reader's verdict on the file. "Not an image" holds only while every
// reader that tried found another format; a reader that knew the format
// (whatever then failed) makes it an image, and the first reason such a
// reader gave stays.
void NoteFailure(std::optional<TrId> Reason) {
  if (Reason == TrId::GetOeMsgNotAnImage) {
    if (!LoadRecognised) LoadFailureReason = Reason;
    return;
  }
  if (!LoadRecognised) LoadFailureReason = Reason;
  LoadRecognised = true;
}

// The one exception guard of every reader and writer.
template <class F> TImageIOResult Guarded(F&& Body) {
  try {
    return Body();
  } catch (const EImageTooLarge&) {
    NoteFailure(TrId::GetOeMsgTooLarge);
    return iorFailed;
  } catch (const ETruncatedGraphic&) {
    NoteFailure(TrId::GetOeMsgTruncated);
    return iorFailed;
  } catch (const ENotItsFormat&) {
    NoteFailure(TrId::GetOeMsgNotAnImage);
    return iorFailed;
  } catch (const std::bad_alloc&) {
    if (!LoadOutOfMemory) LoadOutOfMemory = std::current_exception();
    NoteFailure(std::nullopt);
    return iorFailed;
  } catch (...) {
    NoteFailure(std::nullopt);
    return iorFailed;
  }
}

// Reader protocol: event 0, read and set the results, event 1, copy into the
// caller's bitmap; each Continue answered false ends with 0.
template <class TGraphic, class FRead, class FCopy>
TImageIOResult RunReader(TGraphic* Graphic, const QString& FileName, FRead&& Read, FCopy&& Copy) {
  return Guarded([&] {
    bool Continue = true;
    FireBeforeLoad(SenderOf(Graphic), FileName, Continue);
    if (!Continue) return iorRefused;
    Read();
    FireAfterLoad(SenderOf(Graphic), FileName, Continue);
    if (!Continue) return iorRefused;
    Copy();
    return iorDone;
  });
}

// Writers agree with readers: an image that no reader of ours would open
// again is not saved.
void CheckStorable(const TBitmap& Bitmap, const QString& FileName) {
  if (!PixelCountFits(Bitmap.Width(), Bitmap.Height()))
    throw std::length_error(QFile::encodeName(FileName).toStdString() + ": the image is too large to be opened again");
}

void CheckStorable(const TMyImageLayered& Image, const QString& FileName) {
  const TLayerList& Layers = Image.Layers();
  for (int I = 0; I < Layers.Count(); ++I) {
    CheckStorable(Layers[I].Bitmap(), FileName);
    CheckStorable(Layers[I].Mask(), FileName);
  }
}

// Writer protocol: event 2 (a false Continue refuses), the size check of the
// Source (which the hook may have just filled) before the file is touched,
// copy and write, event 3.
template <class TGraphic, class TSource, class FWrite>
TImageIOResult RunWriter(TGraphic* Graphic, const TSource& Source, const QString& FileName, FWrite&& Write) {
  return Guarded([&] {
    bool Continue = true;
    FireBeforeSave(SenderOf(Graphic), FileName, Continue);
    if (!Continue) return iorRefused;
    CheckStorable(Source, FileName);
    Write();
    FireAfterSave(SenderOf(Graphic), FileName);
    return iorDone;
  });
}

// ---- Readers ---------------------------------------------------------------------

// The loaded picture becomes the caller's bitmap as Assign would make it
// (pixels, format, palette, transparency), its pixels moved, not copied; the
// graphic is left with the caller's former pixels, freed with it.
void TakePixels(TBitmap& Graphic, TBitmap& Bitmap) {
  Bitmap.Swap(Graphic);
  Bitmap.Changed();
}

TImageIOResult ReadLmiFile(const QString& FileName, TBitmap& Bitmap) {
  TMyImageLayeredReg Graphic;
  return RunReader(
      &Graphic, FileName,
      [&] {
        Graphic.SetThumbMode(OptionsOE.ThumbMode);
        Graphic.SetLoadLayer(OptionsOE.LMILoadLayer);
        Graphic.LoadFromFile(FileName);
        const TLMProperties& P = Graphic.Properties();
        OptionsOE.GraphicWidth = P.Width;
        OptionsOE.GraphicHeight = P.Height;
        OptionsOE.XDpi = P.DPI;
        OptionsOE.XComment = P.Comment;
        OptionsOE.XBitsPerPixel = uint8_t(ColorCountToBitsEx(P.ColorCount));
      },
      [&] { TakePixels(Graphic, Bitmap); });
}

// The outline files are drawn as pictures; their Sender is the drawing as a
// bitmap (a handler tells them apart by the file's extension).
TImageIOResult ReadLmsFile(const QString& FileName, TBitmap& Bitmap) {
  TLmsImage Graphic;
  return RunReader(
      static_cast<TBitmap*>(&Graphic), FileName,
      [&] {
        Graphic.ThumbMode = OptionsOE.ThumbMode;
        Graphic.LoadFromFile(FileName);
        OptionsOE.GraphicWidth = Graphic.SelWidth();
        OptionsOE.GraphicHeight = Graphic.SelHeight();
        OptionsOE.XBitsPerPixel = 1;
      },
      [&] { Bitmap.Assign(Graphic); });
}

TImageIOResult ReadLmvFile(const QString& FileName, TBitmap& Bitmap) {
  TLmvImage Graphic;
  return RunReader(
      static_cast<TBitmap*>(&Graphic), FileName,
      [&] {
        Graphic.ThumbMode = OptionsOE.ThumbMode;
        Graphic.LoadFromFile(FileName);
        OptionsOE.GraphicWidth = Graphic.PathWidth();
        OptionsOE.GraphicHeight = Graphic.PathHeight();
        OptionsOE.XBitsPerPixel = 24;
      },
      [&] { Bitmap.Assign(Graphic); });
}

// The platform's picture: bitmaps, icons and metafiles by their extension.
// Its graphic does not exist before the read, so event 0 has no Sender; at
// event 1 the Sender is the bitmap the graphic became.
TImageIOResult ReadPictureFile(const QString& FileName, TBitmap& Bitmap) {
  return Guarded([&] {
    TPicture Picture;
    bool Continue = true;
    FireBeforeLoad(TImageIOSender(), FileName, Continue);
    if (!Continue) return iorRefused;
    Picture.LoadFromFile(FileName);
    OptionsOE.XBitsPerPixel = uint8_t(Picture.Metafile() ? 24 : 0);
    TBitmap Loaded;
    if (const TBitmap* Graphic = Picture.Bitmap())
      Loaded.Assign(*Graphic);
    else
      DrawGraphicToBitmap(*Picture.Graphic(), Loaded);
    FireAfterLoad(SenderOf(&Loaded), FileName, Continue);
    if (!Continue) return iorRefused;
    Bitmap.Swap(Loaded);
    Bitmap.Changed();
    return iorDone;
  });
}

TImageIOResult ReadBmpImageFile(const QString& FileName, TBitmap& Bitmap) {
  // The caller's bitmap reads the file itself, so it is the Sender throughout.
  return RunReader(
      &Bitmap, FileName,
      [&] {
        LoadBitmapFromBmpFile(FileName, Bitmap);
        OptionsOE.XDpi = GetBmpDpi(FileName);
      },
      [] {});
}

TImageIOResult ReadPngFile(const QString& FileName, TBitmap& Bitmap) {
  TMyPngImage Graphic;
  return RunReader(
      &Graphic, FileName,
      [&] {
        HookJpegProgress(Graphic);
        Graphic.LoadFromFile(FileName);
        OptionsOE.XBitsPerPixel = uint8_t(PixelFormatToBits(Graphic.PixelFormat()));
        OptionsOE.XDpi = Graphic.Dpi;
        OptionsOE.XComment = FromWin1252(Graphic.Comment);
      },
      [&] { TakePixels(Graphic, Bitmap); });
}

TImageIOResult ReadGifFile(const QString& FileName, TBitmap& Bitmap) {
  TGIFImage Graphic;
  return RunReader(
      &Graphic, FileName,
      [&] {
        Graphic.LoadFromFile(FileName);
        OptionsOE.GIFAnimated = Graphic.ImageCount() > 1;
        // The colours of the first frame: its local map when it has one (a
        // file may have no global map at all), else the global one.
        const TPalette& Map =
            Graphic.Frames.empty() ? Graphic.GlobalColorMap : Graphic.ActiveColorMap(Graphic.Frames[0]);
        OptionsOE.XBitsPerPixel = uint8_t(OptionsOE.GIFAnimated ? 24 : ColorCountToBits(int(Map.size())));
        OptionsOE.XComment = GetGifComment(Graphic);
      },
      [&] { GifFrameToBitmap(Graphic, Bitmap, 0, true); });
}

TImageIOResult ReadJpegFile(const QString& FileName, TBitmap& Bitmap) {
  TMyJpegImage Graphic;
  return RunReader(
      &Graphic, FileName,
      [&] {
        Graphic.ThumbMode = OptionsOE.ThumbMode;
        HookJpegProgress(Graphic);
        Graphic.LoadFromFile(FileName);
        OptionsOE.GraphicWidth = Graphic.Width();
        OptionsOE.GraphicHeight = Graphic.Height();
        OptionsOE.XBitsPerPixel = 24;
        // The class reads the JFIF density anyway; dropping it would lose the
        // resolution of every JPEG file opened without FreeImage.
        OptionsOE.XDpi = Graphic.Dpi;
      },
      [&] {
        Graphic.MoveTo(Bitmap);
        if (Bitmap.PixelFormat() == pf32bit) Bitmap.SetPixelFormat(pf24bit);
      });
}

TImageIOResult ReadFreeImageFileEx(const QString& FileName, TBitmap& Bitmap) {
  TFreeBitmap Graphic;
  TFreeExtraData Extra;
  const TImageIOResult Result = Guarded([&] {
    Graphic.InitLoadFormat(FileName);
    return RunReader(
        &Graphic, FileName,
        [&] {
          Graphic.SetThumbMode(OptionsOE.ThumbMode);
          Graphic.LoadFromFileEx(FileName, &Extra);
          OptionsOE.XBadFormat = Graphic.BadFif();
        },
        [&] { TakePixels(Graphic, Bitmap); });
  });
  if (Result == iorDone) {
    OptionsOE.XBitsPerPixel = Extra.BitsPerPixel;
    // Formats without a resolution field come back with the library's own
    // 72 dpi: that is no resolution read, so the image gets the default.
    const bool NoDensityField = Extra.ImageFormat == fifTarga || Extra.ImageFormat == fifWebp ||
                                Extra.ImageFormat == fifXpm || Extra.ImageFormat == fifGif;
    OptionsOE.XDpi = NoDensityField ? 0 : Extra.ResolutionX;
    OptionsOE.XMetadata = Extra.Metadata;
    OptionsOE.XComment = FromWin1252(GetMetadataComment(Extra.Metadata));
    // The library's decoder fills a JPEG cut short with grey and says nothing.
    OptionsOE.XIncomplete = Extra.ImageFormat == fifJpeg && !OptionsOE.ThumbMode && JpegFileEndsEarly(FileName);
  }
  return Result;
}

TImageIOResult ReadOwnFormat(const QString& FileName, TBitmap& Bitmap) {
  if (IsLmiFile(FileName)) return ReadLmiFile(FileName, Bitmap);
  if (IsLmsFile(FileName)) return ReadLmsFile(FileName, Bitmap);
  if (IsLmvFile(FileName)) return ReadLmvFile(FileName, Bitmap);
  if (IsMetafileFile(FileName)) return ReadPictureFile(FileName, Bitmap);
  return iorNotThisFormat;
}

TImageIOResult ReadBasicFormat(const QString& FileName, TBitmap& Bitmap) {
  const TImageIOResult Result = ReadOwnFormat(FileName, Bitmap);
  if (Result != iorNotThisFormat) return Result;
  if (IsBmpImageFile(FileName) || IsRleFile(FileName)) return ReadBmpImageFile(FileName, Bitmap);
  if (IsGifFile(FileName)) return ReadGifFile(FileName, Bitmap);
  if (IsPngFile(FileName)) return ReadPngFile(FileName, Bitmap);
  return iorNotThisFormat;
}

// The file an import module wrote, read by the reader its name calls for;
// the hook's events carry the swap file's name.
TImageIOResult RunImportPlugin(const QString& FileName, TBitmap& Bitmap) {
  QString Swap;
  const TImageIOResult Result = Guarded([&] {
    Swap = Modules->ImportWithCurrentPlugin(FileName);
    if (Swap.isEmpty() || !QFileInfo(Swap).isFile()) return iorFailed;
    if (Swap.endsWith(QLatin1String(".png"), Qt::CaseInsensitive)) return ReadPngFile(Swap, Bitmap);
    if (HasFreeImage()) return ReadFreeImageFileEx(Swap, Bitmap);
    return ReadJpegFile(Swap, Bitmap);
  });
  if (!Swap.isEmpty()) QFile::remove(Swap);
  return Result;
}

TImageIOResult ReadWithImportPlugin(const QString& FileName, TBitmap& Bitmap) {
  return FindImportPlugin(FileName) ? RunImportPlugin(FileName, Bitmap) : iorNotThisFormat;
}

// ---- Writers ---------------------------------------------------------------------

// The layered image's safe save renames its own temporary file, which would
// replace a read-only file: refused here as every other writer's safe file
// refuses it.
void CheckTargetWritable(const QString& FileName) {
  if (IsReadOnlyFile(FileName))
    throw ESafeFileError(QFile::encodeName(FileName).toStdString() + ": the file is read-only");
}

TImageIOResult WriteLmiFile(const QString& FileName, TMyImageLayered* Image) {
  if (!Image) return iorFailed;
  return RunWriter(Image, *Image, FileName, [&] {
    CheckTargetWritable(FileName);
    Image->SaveToFile_tmp(FileName);
  });
}

TImageIOResult WriteBmpImageFile(const QString& FileName, TBitmap& Bitmap) {
  // The resolution goes into the header in the same safe write.
  return RunWriter(&Bitmap, Bitmap, FileName,
                   [&] { SaveBitmapToBmpFile(FileName, Bitmap, OptionsOE.XDpi > 0 ? OptionsOE.XDpi : 0); });
}

TImageIOResult WritePngFile(const QString& FileName, TBitmap& Bitmap) {
  TMyPngImage Graphic;
  return RunWriter(&Graphic, Bitmap, FileName, [&] {
    Graphic.Comment = ToWin1252(OptionsOE.XComment);
    Graphic.Dpi = OptionsOE.XDpi;
    Graphic.SaveBitmap(FileName, Bitmap);
  });
}

TImageIOResult WriteGifFile(const QString& FileName, TBitmap& Bitmap) {
  TGIFImage Graphic;
  return RunWriter(&Graphic, Bitmap, FileName, [&] {
    BitmapToGif(Bitmap, Graphic, true);
    for (TGIFFrame& Frame : Graphic.Frames)
      if (!Frame.Empty()) {
        Frame.Interlaced = OptionsOE.GIFInterlaced;
        break;
      }
    if (OptionsOE.GIFOptimizeColorMap) Graphic.OptimizeColorMaps();
    if (!OptionsOE.XComment.isEmpty()) AddGifComment(Graphic, OptionsOE.XComment);
    Graphic.SaveToFile(FileName);
  });
}

TImageIOResult WriteJpegFile(const QString& FileName, TBitmap& Bitmap) {
  TMyJpegImage Graphic;
  return RunWriter(&Graphic, Bitmap, FileName, [&] {
    Graphic.Dpi = OptionsOE.XDpi;
    HookJpegProgress(Graphic);
    Graphic.SaveBitmapEx(FileName, Bitmap);
  });
}

TImageIOResult WriteFreeImageFileEx(const QString& FileName, TBitmap& Bitmap) {
  TFreeBitmap Graphic;
  return Guarded([&] {
    Graphic.InitSaveFormat(FileName);
    return RunWriter(&Graphic, Bitmap, FileName, [&] {
      Graphic.Assign(Bitmap);
      TFreeExtraData Extra;
      Extra.BitsPerPixel = OptionsOE.XBitsPerPixel;
      Extra.HasAlpha = Bitmap.PixelFormat() == pf32bit;
      Extra.ResolutionX = float(OptionsOE.XDpi);
      Extra.ResolutionY = float(OptionsOE.XDpi);
      Extra.Metadata = OptionsOE.XMetadata;
      Graphic.SaveToFileEx(FileName, &Extra);
    });
  });
}

TImageIOResult WriteBasicFormat(const QString& FileName, TBitmap& Bitmap) {
  if (IsBmpImageFile(FileName)) return WriteBmpImageFile(FileName, Bitmap);
  if (IsPngFile(FileName)) return WritePngFile(FileName, Bitmap);
  if (IsGifFile(FileName)) return WriteGifFile(FileName, Bitmap);
  return iorNotThisFormat;
}

// The image for the current export module, written with the save options'
// defaults.
TImageIOResult WriteExportSwapImage(const QString& Swap, TBitmap& Bitmap) {
  struct TSilent {
    TSilent() { OptionsOE.SilentMode = true; }
    ~TSilent() { OptionsOE.SilentMode = false; }
  } Silent;
  if (Swap.endsWith(QLatin1String(".png"), Qt::CaseInsensitive)) return WritePngFile(Swap, Bitmap);
  if (HasFreeImage()) return WriteFreeImageFileEx(Swap, Bitmap);
  return WriteJpegFile(Swap, Bitmap);
}

TImageIOResult RunExportPlugin(const QString& FileName, TBitmap& Bitmap) {
  QString Swap;
  const TImageIOResult Result = Guarded([&] {
    Swap = Modules->CurrentExportSwapPath();
    if (Swap.isEmpty()) return iorFailed;
    QFile::remove(Swap);
    const TImageIOResult Written = WriteExportSwapImage(Swap, Bitmap);
    if (Written == iorRefused) return iorRefused;
    if (Written != iorDone || !QFileInfo(Swap).isFile()) return iorFailed;
    return Modules->ExportWithCurrentPlugin(Swap, FileName) && QFileInfo(FileName).isFile() ? iorDone : iorFailed;
  });
  if (!Swap.isEmpty()) QFile::remove(Swap);
  return Result;
}

TImageIOResult WriteWithExportPlugin(const QString& FileName, TBitmap& Bitmap) {
  return FindExportPlugin(FileName) ? RunExportPlugin(FileName, Bitmap) : iorNotThisFormat;
}

void Report(TrId Message, const QString& FileName, TImageIOResult Result) {
  if (Result < 0) {
    FireIOError(FileName);
    if (!OptionsOE.DisableErrorMsg) ReportFileError(Format(Tr(Message), {FileName}));
  }
  OptionsOE.DisableErrorMsg = false;
}

} // namespace

// ---- The hook --------------------------------------------------------------------

void FireBeforeLoad(const TImageIOSender& Sender, const QString& FileName, bool& Continue) {
  Fire(Sender, FileName, Continue, ieBeforeLoad);
}

void FireAfterLoad(const TImageIOSender& Sender, const QString& FileName, bool& Continue) {
  Fire(Sender, FileName, Continue, ieAfterLoad);
}

void FireBeforeSave(const TImageIOSender& Sender, const QString& FileName, bool& Continue) {
  Fire(Sender, FileName, Continue, ieBeforeSave);
}

void FireAfterSave(const TImageIOSender& Sender, const QString& FileName) {
  bool Continue = true;
  Fire(Sender, FileName, Continue, ieAfterSave);
}

void FireIOError(const QString& FileName) {
  bool Continue = true;
  Fire(TImageIOSender(), FileName, Continue, ieError);
}

// ---- Reports ---------------------------------------------------------------------

void ReportLoadError(const QString& FileName, TImageIOResult Result) {
  // An empty file tells its reason whatever reader tried it.
  if (Result < 0 && QFileInfo(FileName).isFile() && QFileInfo(FileName).size() == 0)
    LoadFailureReason = TrId::GetOeMsgEmptyFile;
  std::optional<TrId> Reason = std::exchange(LoadFailureReason, std::nullopt);
  // Not an image only when no decoder of the platform knows the content
  // either: a bitmap saved under a JPEG name is an image, misnamed.
  if (Reason == TrId::GetOeMsgNotAnImage && !QImageReader::imageFormat(FileName).isEmpty()) Reason.reset();
  if (Result < 0 && Reason) {
    FireIOError(FileName);
    if (!OptionsOE.DisableErrorMsg)
      ReportFileError(Format(Tr(TrId::GetOeMsgErrorOpening), {FileName}) + QLatin1Char('\r') + Tr(*Reason));
    OptionsOE.DisableErrorMsg = false;
    return;
  }
  Report(TrId::GetOeMsgErrorOpening, FileName, Result);
}

void ReportSaveError(const QString& FileName, TImageIOResult Result) {
  Report(TrId::GetOeMsgErrorSaving, FileName, Result);
  OptionsOE.XMetadata.Clear();
}

// ---- The record ------------------------------------------------------------------

void ResetLoadResults() {
  OptionsOE.GraphicWidth = 0;
  OptionsOE.GraphicHeight = 0;
  OptionsOE.GIFAnimated = false;
  OptionsOE.XBadFormat = false;
  OptionsOE.XIncomplete = false;
  OptionsOE.XBitsPerPixel = 0;
  OptionsOE.XDpi = 96.0;
  ClearOptionsMetadata();
}

void ClearOptionsMetadata() {
  OptionsOE.XComment.clear();
  OptionsOE.XMetadata.Clear();
}

int LoadedColorCount() { return BitsToColorCount(OptionsOE.XBitsPerPixel); }

void AssignLoadInfo(TMyImageLayered& Image) {
  const double Dpi = Round(OptionsOE.XDpi * 10) / 10.0;
  Image.ResolutionX = Dpi;
  Image.ResolutionY = Dpi;
  Image.Metadata = OptionsOE.XMetadata;
  if (!OptionsOE.XComment.isEmpty() && OptionsOE.XMetadata.Empty()) Image.Comment = OptionsOE.XComment;
  ClearOptionsMetadata();
}

void AssignSaveInfo(TMyImageLayered& Image) {
  OptionsOE.XBitsPerPixel = 0;
  OptionsOE.XDpi = Image.ResolutionX;
  OptionsOE.XComment = Image.Comment;
  if (PreserveExif)
    OptionsOE.XMetadata = Image.Metadata;
  else
    OptionsOE.XMetadata.Clear();
}

// ---- Loads -----------------------------------------------------------------------

TImageIOResult LoadImageFile(QString& FileName, TBitmap& Bitmap, const QString& InitialDir) {
  if (FileName.isEmpty() && OpenDialogFunc) FileName = OpenDialogFunc(InitialDir);
  if (FileName.isEmpty()) return iorRefused;
  ResetLoadResults();
  LoadOutOfMemory = nullptr;
  LoadFailureReason.reset();
  LoadRecognised = false;
  TImageIOResult Result = ReadWithImportPlugin(FileName, Bitmap);
  if (Result == iorNotThisFormat) {
    if (HasFreeImage()) {
      // A broken file of an own or basic format is retried through FreeImage;
      // a refusal is not.
      Result = ReadBasicFormat(FileName, Bitmap);
      if (Result < 0) Result = ReadFreeImageFileEx(FileName, Bitmap);
    } else {
      Result = ReadBasicFormat(FileName, Bitmap);
      if (Result == iorNotThisFormat && IsJpegFile(FileName))
        Result = ReadJpegFile(FileName, Bitmap);
      else if (Result == iorNotThisFormat && IsPlatformPictureFile(FileName))
        Result = ReadPictureFile(FileName, Bitmap);
    }
  }
  if (Result == iorDone) {
    if (OptionsOE.GraphicWidth == 0 || OptionsOE.GraphicHeight == 0) {
      OptionsOE.GraphicWidth = Bitmap.Width();
      OptionsOE.GraphicHeight = Bitmap.Height();
    }
    if (OptionsOE.XBitsPerPixel == 0) OptionsOE.XBitsPerPixel = uint8_t(PixelFormatToBits(Bitmap.PixelFormat()));
    // Only a missing resolution becomes 96: one read from the file (72 dpi
    // included) is kept, so that a save writes back what was read.
    if (!(OptionsOE.XDpi > 0)) OptionsOE.XDpi = 96;
  }
  if (const std::exception_ptr OutOfMemory = std::exchange(LoadOutOfMemory, nullptr); OutOfMemory && Result < 0)
    std::rethrow_exception(OutOfMemory);
  ReportLoadError(FileName, Result);
  return Result;
}

bool LoadBitmapFromFile(QString& FileName, TBitmap& Bitmap, const QString& InitialDir) {
  OptionsOE.ThumbMode = false;
  OptionsOE.LMILoadLayer = true;
  return LoadImageFile(FileName, Bitmap, InitialDir) == iorDone;
}

bool LoadDocumentImage(const QString& FileName, TMyImageLayered& Image) {
  OptionsOE.ThumbMode = false;
  OptionsOE.LMILoadLayer = false;
  QString Name = FileName;
  return LoadImageFile(Name, Image.Bitmap(), QString()) == iorDone;
}

bool LoadThumbnail(const QString& FileName, TBitmap& Bitmap) {
  OptionsOE.ThumbMode = true;
  OptionsOE.LMILoadLayer = true;
  OptionsOE.DisableErrorMsg = true;
  QString Name = FileName;
  return LoadImageFile(Name, Bitmap, QString()) == iorDone;
}

bool ReadImageInfo(const QString& FileName) {
  // Nothing is reported here, so the switch is put back as found: left set,
  // it would silence the next real error of some other load or save.
  const bool DisableErrorMsg = OptionsOE.DisableErrorMsg;
  OptionsOE.ThumbMode = true;
  OptionsOE.LMILoadLayer = false;
  OptionsOE.DisableErrorMsg = true;
  bool Done = false;
  try {
    ResetLoadResults();
    TBitmap Scratch;
    TImageIOResult Result = ReadBasicFormat(FileName, Scratch);
    if (Result < 0) Result = ReadFreeImageFileEx(FileName, Scratch);
    Done = Result == iorDone;
  } catch (...) {
    ClearOptionsMetadata();
  }
  OptionsOE.DisableErrorMsg = DisableErrorMsg;
  return Done;
}

bool TryLoadPngBitmap(const QString& FileName, TBitmap& Bitmap) {
  try {
    LoadPngToBitmap(FileName, Bitmap);
    return true;
  } catch (...) {
    return false;
  }
}

// ---- Saves -----------------------------------------------------------------------

TImageIOResult WriteImageFile(const QString& FileName, TBitmap& Bitmap) {
  TImageIOResult Result = WriteWithExportPlugin(FileName, Bitmap);
  if (Result == iorNotThisFormat) Result = WriteBasicFormat(FileName, Bitmap);
  if (Result == iorNotThisFormat) {
    if (HasFreeImage())
      Result = WriteFreeImageFileEx(FileName, Bitmap);
    else if (IsJpegFile(FileName))
      Result = WriteJpegFile(FileName, Bitmap);
  }
  return Result;
}

bool SaveImageFile(QString& FileName, TBitmap& Bitmap, TMyImageLayered* Image, const QString& DefaultName) {
  if (FileName.isEmpty() && SaveDialogFunc) FileName = SaveDialogFunc(DefaultName);
  if (FileName.isEmpty()) return false;
  const TImageIOResult Result = IsLmiFile(FileName) ? WriteLmiFile(FileName, Image) : WriteImageFile(FileName, Bitmap);
  ReportSaveError(FileName, Result);
  return Result == iorDone;
}

bool SaveBitmapToFile(const QString& FileName, TBitmap& Bitmap) {
  const TImageIOResult Result = WriteImageFile(FileName, Bitmap);
  ReportSaveError(FileName, Result);
  return Result == iorDone;
}

// ---- Seams -----------------------------------------------------------------------

void SetImageFileDialogs(TOpenImageDialogFunc OpenDialog, TSaveImageDialogFunc SaveDialog) {
  OpenDialogFunc = std::move(OpenDialog);
  SaveDialogFunc = std::move(SaveDialog);
}

void SetImageIOModules(TImageIOModules* Value) { Modules = Value; }
TImageIOModules* ImageIOModules() { return Modules; }

bool FindImportPlugin(const QString& FileName) { return Modules && Modules->FindImportPlugin(FileName); }
bool FindExportPlugin(const QString& FileName) { return Modules && Modules->FindExportPlugin(FileName); }
