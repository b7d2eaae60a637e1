// The load and save dispatch: the one record of load and save options and
// results (OptionsOE), the process-wide hook that watches, vetoes or prepares
// each read and write (ImageIOHook), and the ordered chains of readers and
// writers behind LoadImageFile and WriteImageFile. Depends on the picture
// classes, the FreeImage binding, BmpExtOE and the layered document; used by
// the main window, batch runs, the save options and the image browser.
//
// Reader chain, in the order tried: an import module, the own formats (.lmi;
// the outlines of .lms and .lmv drawn as pictures; .wmf/.emf through the
// picture reader), BMP, GIF and PNG, then FreeImage when
// it is loaded (also for a broken file of the formats before it), else the
// JPEG reader and the platform's picture (.ico). Writer chain: an export
// module, BMP, PNG and GIF, then FreeImage when loaded, else JPEG. Every
// writer puts its file on disk through a safe file: a failed save leaves the
// old file whole. An image above the readers' pixel limit is refused before
// its file is touched, and reported like any failed save.
//
// To add a format: give it a reader and a writer following the protocols in
// BmpOE2.cpp (one exception guard, the hook's events, a result code) and
// place them in ReadBasicFormat / WriteBasicFormat.
#pragma once

#include "document/Metadata.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <variant>

class TBitmap;
class TMyPngImage;
class TMyJpegImage;
class TGIFImage;
class TFreeBitmap;
class TMyImageLayeredReg;
class TMyImageLayered;

// The options set by callers before a load or save and the results the
// readers fill; one global instance, read and written directly.
struct TOptionsOE {
  QString OpenTitle;            // title of the open dialogs; platform's when empty
  QString SaveTitle;            // title of the save dialog
  bool DisableErrorMsg = false; // the next error report is silent; every report clears it
  bool ShowPreview = true;      // the open dialogs' Preview, kept between calls
  bool ThumbMode = false;       // readers that can decode a reduced image do so
  int GraphicWidth = 0;         // size of the image in the file
  int GraphicHeight = 0;
  bool GIFOptimizeColorMap = true; // GIF writer options
  bool GIFInterlaced = false;
  bool GIFAnimated = false;  // the GIF read held more than one frame
  bool LMILoadLayer = false; // the .lmi reader also reads the first layer record
  uint8_t XBitsPerPixel = 0; // depth read; depth asked of FreeImage (0 = the bitmap's)
  double XDpi = 96;          // resolution read from, or to write to, the file
  QString XComment;          // comment of the file
  TMetadata XMetadata;       // metadata tags read or to write (shared list)
  bool XBadFormat = false;   // FreeImage found another format than the name says
  bool XIncomplete = false;  // the file ended before the picture: the rest is filled
  bool SilentMode = false;   // save options take their defaults without asking
};

extern TOptionsOE OptionsOE;

// The result of every reader and writer.
using TImageIOResult = int;
inline constexpr TImageIOResult iorDone = 1;
inline constexpr TImageIOResult iorRefused = 0;        // a Continue answered false; never reported
inline constexpr TImageIOResult iorFailed = -1;        // missing file, exception; reported
inline constexpr TImageIOResult iorNotThisFormat = -2; // try the next one; reported when final

enum TImageIOStage : uint8_t {
  ieBeforeLoad = 0, // Sender: the reader's graphic object; false refuses the load
  ieAfterLoad = 1,  // Sender: the loaded graphic; false leaves the caller's bitmap untouched
  ieBeforeSave = 2, // Sender: the writer's graphic object; false refuses the save
  ieAfterSave = 3,  // Sender: the written graphic; Continue ignored
  ieError = 4,      // Sender: none; Continue ignored
};

// The graphic object of a reader or writer, so that a handler can act on its
// class; std::monostate stands for none.
using TImageIOSender = std::variant<std::monostate, TBitmap*, TMyPngImage*, TMyJpegImage*, TGIFImage*, TFreeBitmap*,
                                    TMyImageLayeredReg*, TMyImageLayered*>;

using TImageIOEvent =
    std::function<void(const TImageIOSender& Sender, const QString& FileName, bool& Continue, TImageIOStage Event)>;

// Empty at start; the main window sets it around its loads and saves, the
// batch dialog while it is shown. A load or save must not start from within it.
extern TImageIOEvent ImageIOHook;

// ---- Loads ---------------------------------------------------------------------
// The reader chain. An empty FileName shows the open dialog (InitialDir) and
// takes its answer; still empty, 0 with no reset and no report. When no
// reader could read the file because memory ran out, the std::bad_alloc is
// thrown, unreported, for the command to report and drop what it built.
TImageIOResult LoadImageFile(QString& FileName, TBitmap& Bitmap, const QString& InitialDir);
// ThumbMode off, LMILoadLayer on, then LoadImageFile; true for 1.
bool LoadBitmapFromFile(QString& FileName, TBitmap& Bitmap, const QString& InitialDir);
// ThumbMode and LMILoadLayer off, then LoadImageFile into the image's bitmap.
// A layered file gives its header only: its layers are read by the image.
bool LoadDocumentImage(const QString& FileName, TMyImageLayered& Image);
// ThumbMode, LMILoadLayer and DisableErrorMsg on, then LoadImageFile.
bool LoadThumbnail(const QString& FileName, TBitmap& Bitmap);
// Fills the load results only: thumbnail mode, no import module, no fix-ups
// of the results, no report. DisableErrorMsg is left as it was found.
bool ReadImageInfo(const QString& FileName);
// The PNG picture's loader with any exception turned into false.
bool TryLoadPngBitmap(const QString& FileName, TBitmap& Bitmap);

// ---- Saves ---------------------------------------------------------------------
// An empty FileName shows the save dialog (DefaultName) and takes its answer;
// still empty, false with no report. ".lmi" is written by Image (a failure
// when Image is null), anything else from Bitmap; then ReportSaveError.
bool SaveImageFile(QString& FileName, TBitmap& Bitmap, TMyImageLayered* Image, const QString& DefaultName);
// WriteImageFile, then ReportSaveError; true for 1.
bool SaveBitmapToFile(const QString& FileName, TBitmap& Bitmap);
// The writer chain without dialog or report. Bitmap may be handed over empty
// and filled by the hook at event 2.
TImageIOResult WriteImageFile(const QString& FileName, TBitmap& Bitmap);

// ---- The record ------------------------------------------------------------------
// Resolution (rounded to 0.1 dpi), metadata (shared) and comment into Image,
// then ClearOptionsMetadata.
void AssignLoadInfo(TMyImageLayered& Image);
// XBitsPerPixel 0, XDpi, XComment and, with PreserveExif, XMetadata (shared)
// from Image.
void AssignSaveInfo(TMyImageLayered& Image);
// GraphicWidth and GraphicHeight 0, GIFAnimated, XBadFormat and XIncomplete false,
// XBitsPerPixel 0, XDpi 96, XComment and XMetadata emptied.
void ResetLoadResults();
// XComment and XMetadata emptied.
void ClearOptionsMetadata();
// 2^XBitsPerPixel below 9 bits (1 for 0), else 16777216.
int LoadedColorCount();

// ---- The hook ------------------------------------------------------------------
// Continue starts true at every event; an empty hook leaves it so.
void FireBeforeLoad(const TImageIOSender& Sender, const QString& FileName, bool& Continue);
void FireAfterLoad(const TImageIOSender& Sender, const QString& FileName, bool& Continue);
void FireBeforeSave(const TImageIOSender& Sender, const QString& FileName, bool& Continue);
void FireAfterSave(const TImageIOSender& Sender, const QString& FileName);
void FireIOError(const QString& FileName);

// ---- Error reports ---------------------------------------------------------------
// A negative Result fires ieError and, unless DisableErrorMsg, reports the
// message naming the file through ReportFileError (raster/DataFileError.h:
// an error with one OK button and no caption). Both then clear
// DisableErrorMsg; ReportSaveError also empties XMetadata.
void ReportLoadError(const QString& FileName, TImageIOResult Result);
void ReportSaveError(const QString& FileName, TImageIOResult Result);

// ---- Seams to the windows and to the extensions ----------------------------------
// The image open and save dialogs (files/ui/BmpOE2.h installs them at
// start-up). Without them an empty file name stays empty: a cancelled dialog.
using TOpenImageDialogFunc = std::function<QString(const QString& InitialDir)>;
using TSaveImageDialogFunc = std::function<QString(const QString& FileName)>;
void SetImageFileDialogs(TOpenImageDialogFunc OpenDialog, TSaveImageDialogFunc SaveDialog);

// The import and export modules as the dispatch uses them; the extensions
// subsystem installs its host. Without one no module handles any format.
class TImageIOModules {
public:
  virtual ~TImageIOModules() = default;
  // An import module for the name's extension was found and made current.
  virtual bool FindImportPlugin(const QString& FileName) = 0;
  // The current import module converts FileName; answers the swap file it
  // wrote (which may not exist when it failed).
  virtual QString ImportWithCurrentPlugin(const QString& FileName) = 0;
  virtual bool FindExportPlugin(const QString& FileName) = 0;
  // Where the dispatch writes the image for the current export module.
  virtual QString CurrentExportSwapPath() = 0;
  // The current export module converts Swap into FileName; true on success.
  virtual bool ExportWithCurrentPlugin(const QString& Swap, const QString& FileName) = 0;
};
// Not owned; nullptr (the start value) for none.
void SetImageIOModules(TImageIOModules* Modules);
TImageIOModules* ImageIOModules();
// True when the installed modules have one for the name.
bool FindImportPlugin(const QString& FileName);
bool FindExportPlugin(const QString& FileName);
