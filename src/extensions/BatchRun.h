// The batch run: every file of a list loaded from the source folder, passed
// through the pipeline (BatchPipeline.h), named and saved into the export
// folder, with a report of processed and failed files, progress in the
// main window's title and a cancel check between any two steps. A file that
// fails is listed and the run goes on; every save goes through the safe
// writers, so a cancelled or failed save never leaves a half-written file
// and an output named like its source replaces it whole or not at all.
// Depends on the pipeline, the load and save dispatch (files/BmpOE2.h) and
// the layered document; the batch dialog (extensions/ui/Auto.h) drives it
// and implements its host.
#pragma once

#include "extensions/BatchPipeline.h"
#include "files/BmpOE2.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class TBitmap;
class TMyImageLayered;
class TPattern32;

// The files of one run: the names of the source folder's list, without the
// folder, and which of them are selected.
class TBatchFileList {
public:
  QStringList Names;
  std::vector<bool> Selected; // may be shorter than Names: the rest unselected
  bool SelectionOnly = false; // "Sélection personnalisée"
  // Where NextFileName searches from; the dialog resets it on every page change.
  int IndexImage = 0;

  // The next file to process, '' after the last.
  QString NextFileName();
  // How many files a run processes.
  int BatchFileCount() const;

private:
  bool IsSelected(int Index) const { return Index < int(Selected.size()) && Selected[size_t(Index)]; }
};

// What the run needs of the windows. The main window's side opens the batch
// window; tests use a fake that keeps one document.
class TBatchHost {
public:
  virtual ~TBatchHost() = default;
  // The bitmap the next file is loaded into: the batch window's current
  // layer once that window exists.
  virtual TBitmap& WorkBitmap() = 0;
  // After a load into WorkBitmap: the batch window is opened from it the
  // first time (from then on its layer is WorkBitmap), later given Path as
  // its name and resized. Answers the window's document.
  virtual TMyImageLayered& FileLoaded(const QString& Path) = 0;
  virtual void SizeChanged() = 0;
  virtual void Refresh() = 0;
  // After a save: the window takes the output's name, the status bar its
  // information.
  virtual void FileSaved(const QString& Path) = 0;
  virtual void SetCaption(const QString& Caption) = 0;
  // Lets pending events run once (repaint, the keys that ask to cancel).
  virtual void ProcessMessages() = 0;
  // The question "cancel the batch run?": true for Yes.
  virtual bool ConfirmCancel() = 0;
  // One line of the report memo.
  virtual void Report(const QString& Line) = 0;
  // The PNG overlay panel has a picture; its overlay over the bitmap.
  virtual bool OverlayReady() = 0;
  virtual void ApplyOverlay(TBitmap& Bitmap) = 0;
  // The text stamp panel's raw text, and its stamp on the bitmap for the
  // output Path (the bitmap may grow).
  virtual QString StampText() = 0;
  virtual void ApplyStamp(TBitmap& Bitmap, const QString& Path) = 0;
};

// The caption of the main window while file C of N is processed.
QString BatchProgressCaption(int C, int N);
// The caption it returns to.
inline constexpr const char* BatchIdleCaption = "Lumaretique 11";

class TBatchRun {
public:
  TBatchRun(TBatchHost& Host, TBatchFileList& Files);
  ~TBatchRun();

  QString SourceFolder;
  TBatchSettings Settings;
  // Set by the main window's key handler during a run; confirmed by CheckCancel.
  bool Annuler = false;
  // The user confirmed the cancellation: no second question.
  bool MsgYes = false;
  // Files loaded in the current run: the sequence number of the output.
  int CptImageOk = 0;
  // The names of the files that failed in the current run.
  QStringList ListeErreurs;

  // Runs over all files; false when the run was aborted (cancel, or more
  // than 999 failures).
  bool RunBatch();
  // One file named relative to the source folder: 0 done, 1 failed (listed),
  // -1 abort the run.
  int ProcessBatchImage(const QString& Name);
  // Lets events run once; true when the run must stop (asks once).
  bool CheckCancel();

private:
  // The steps after the load, in their order; false when cancelled.
  bool RunPipeline(TBitmap& B, TMyImageLayered& Doc);
  void PrepareBatch();
  void ReleaseBatch();
  void ReportErrors();
  // Name listed as failed: 1, or -1 past the limit of failures.
  int Failed(const QString& Name);

  TBatchHost& FHost;
  TBatchFileList& FFiles;
  std::unique_ptr<TPattern32> FMotif;
};

// True while a run is under way: the main window then takes every key as a
// request to cancel it (RequestBatchCancel) and refuses to close.
bool IsBatchRunning();
void RequestBatchCancel();

// The handler the batch dialog installs as ImageIOHook while it is shown:
// before a save, the JPEG quality of the platform's writer and of
// FreeImage's, and TIFF's default compression.
void BatchSaveHook(int Quality, const TImageIOSender& Sender, TImageIOStage Event);
