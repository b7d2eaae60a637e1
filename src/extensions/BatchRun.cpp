#include "extensions/BatchRun.h"

#include "document/MyImageLayered.h"
#include "document/Pattern.h"
#include "files/ColorDepth.h"
#include "files/FreeUtils.h"
#include "files/MyJpegImage.h"
#include "files/PatternFile.h"
#include "filters/AutoCorrections.h"
#include "filters/Blur24.h"
#include "filters/Filtres24.h"
#include "filters/FiltresComposes.h"
#include "filters/MatrixConst.h"
#include "filters/Patterns24.h"
#include "i18n/Format.h"
#include "i18n/LibLang.h"
#include "platform/Bitmap.h"
#include "raster/ColorFill.h"
#include "raster/FoncUtils.h"
#include "raster/ImgUtils.h"
#include "raster/ImgUtils24.h"
#include "raster/Rotation24.h"

namespace {

// Past this many failures the run stops: the folder is not what the user
// meant.
constexpr int MaxFailures = 999;
// The report lists this many failed names.
constexpr int ReportedFailures = 10;

// The run under way, for the main window's key handler.
TBatchRun* GActiveRun = nullptr;

QString WithSlash(const QString& Folder) { return Folder.endsWith(u'/') ? Folder : Folder + u'/'; }

} // namespace

// ---- The file list ---------------------------------------------------------------

QString TBatchFileList::NextFileName() {
  const int K = int(Names.size());
  if (!SelectionOnly) return IndexImage < K ? Names[IndexImage++] : QString();
  while (IndexImage < K) {
    const int I = IndexImage++;
    if (IsSelected(I)) return Names[I];
  }
  return QString();
}

int TBatchFileList::BatchFileCount() const {
  if (!SelectionOnly) return int(Names.size());
  int N = 0;
  for (int I = 0; I < int(Names.size()); ++I) N += IsSelected(I) ? 1 : 0;
  return N;
}

QString BatchProgressCaption(int C, int N) {
  return Format(u"Lumaretique 11 - %d/%d (%d%%)", {C, N, N > 0 ? C * 100 / N : 0});
}

// ---- The run ---------------------------------------------------------------------

TBatchRun::TBatchRun(TBatchHost& Host, TBatchFileList& Files) : FHost(Host), FFiles(Files) {}
TBatchRun::~TBatchRun() = default;

bool TBatchRun::CheckCancel() {
  FHost.ProcessMessages();
  if (Annuler && !MsgYes) {
    Annuler = FHost.ConfirmCancel();
    MsgYes = Annuler;
  }
  return Annuler;
}

void TBatchRun::PrepareBatch() {
  FMotif.reset();
  if (!Settings.Canvas || Settings.PatternFile.isEmpty()) return;
  auto Motif = std::make_unique<TPattern32>();
  OptionsOE.DisableErrorMsg = true;
  if (LoadPatternFile(Settings.PatternFile, Motif->Bmp(), Motif->Mask(), QString()) && !Motif->BmpEmpty())
    FMotif = std::move(Motif);
}

void TBatchRun::ReleaseBatch() { FMotif.reset(); }

bool IsBatchRunning() { return GActiveRun != nullptr; }

void RequestBatchCancel() {
  if (GActiveRun) GActiveRun->Annuler = true;
}

bool TBatchRun::RunBatch() {
  GActiveRun = this;
  struct TEnd {
    ~TEnd() { GActiveRun = nullptr; }
  } End;
  Annuler = MsgYes = false;
  OptionsOE.GIFInterlaced = false;
  OptionsOE.GIFOptimizeColorMap = true;
  PrepareBatch();
  ListeErreurs.clear();
  FHost.Report(QString());
  FHost.Report(FormatCaption(Tr(TrId::GetTrLblFilesOk), 2));
  const int N = FFiles.BatchFileCount();
  CptImageOk = 0;
  QString Name = FFiles.NextFileName();
  int C = 0;
  int R = 0;
  while (!Name.isEmpty()) {
    ++C;
    FHost.SetCaption(BatchProgressCaption(C, N));
    R = ProcessBatchImage(Name);
    if (R < 0) break;
    if (R == 0) FHost.Report(QStringLiteral("  - ") + Name);
    Name = FFiles.NextFileName();
  }
  ReleaseBatch();
  ReportErrors();
  FHost.SetCaption(QString::fromLatin1(BatchIdleCaption));
  return R >= 0;
}

void TBatchRun::ReportErrors() {
  if (ListeErreurs.isEmpty()) return;
  FHost.Report(QString());
  FHost.Report(FormatCaption(Tr(TrId::GetTrLblFilesError), 2));
  for (int I = 0; I < std::min<int>(int(ListeErreurs.size()), ReportedFailures); ++I)
    FHost.Report(QStringLiteral("  - ") + ListeErreurs[I]);
  if (ListeErreurs.size() > ReportedFailures) FHost.Report(QStringLiteral("  ..."));
}

int TBatchRun::ProcessBatchImage(const QString& Name) {
  QString Listed = Name;
  try {
    QString Path = WithSlash(SourceFolder) + Name;
    OptionsOE.DisableErrorMsg = true;
    TBitmap& Loaded = FHost.WorkBitmap();
    if (!LoadBitmapFromFile(Path, Loaded, QString())) return Failed(Listed);
    Loaded.Transparent = false;
    Loaded.SetPixelFormat(pf24bit);
    ++CptImageOk;
    TMyImageLayered& Doc = FHost.FileLoaded(Path);
    // The window's layer from here on: the first file's window holds a copy.
    TBitmap& B = FHost.WorkBitmap();
    AssignLoadInfo(Doc);
    if (CheckCancel()) return -1;

    if (!RunPipeline(B, Doc)) return -1;

    const QString OutName = BatchOutputName(Settings, Name, CptImageOk);
    Listed = OutName;
    Path = WithSlash(Settings.ExportFolder) + OutName;
    if (Settings.Stamp && !FHost.StampText().isEmpty()) {
      FHost.ApplyStamp(B, Path);
      FHost.SizeChanged();
      if (CheckCancel()) return -1;
    }

    const int N = BatchColorCount(Settings);
    if (N > 0) {
      if (N > 2) {
        ReduceColors24(B, N, ReduceDither, nullptr);
      } else {
        if (Settings.ColorCountIndex == 4) DitherFloydSteinberg24(B, WholeBitmapRect);
        ThresholdTwoColors24(B, 128, clBlack, clWhite, WholeBitmapRect);
      }
      if (CheckCancel()) return -1;
    }

    OptionsOE.DisableErrorMsg = true;
    AssignSaveInfo(Doc);
    bool Saved;
    if (N == 0) {
      Saved = SaveBitmapToFile(Path, B);
    } else {
      TBitmap Copy;
      Copy.Assign(B);
      SetColorCount(Copy, N, false, nullptr);
      Saved = SaveBitmapToFile(Path, Copy);
    }
    if (!Saved) return Failed(Listed);
    FHost.FileSaved(Path);
    CheckCancel();
    return 0;
  } catch (...) {
    // Whatever failed (a step, memory) fails this file alone.
    return Failed(Listed);
  }
}

int TBatchRun::Failed(const QString& Name) {
  // A failure between a load and its report must not silence the next
  // load or save of the program.
  OptionsOE.DisableErrorMsg = false;
  ListeErreurs.append(Name);
  return ListeErreurs.size() > MaxFailures ? -1 : 1;
}

bool TBatchRun::RunPipeline(TBitmap& B, TMyImageLayered& Doc) {
  const TBatchSettings& S = Settings;
  // A step that runs is followed by the cancel check; Size steps first tell
  // the window that the image changed size.
  const auto Step = [this](bool Runs, bool Size, auto&& Work) {
    if (!Runs) return true;
    Work();
    if (Size) FHost.SizeChanged();
    return !CheckCancel();
  };
  const TRect All = WholeBitmapRect;

  if (!Step(S.Resize, true, [&] {
        const TBatchSize T = BatchResizeTarget(S, B.Width(), B.Height());
        StretchBitmapInPlace(T.Width, T.Height, S.Optimise ? TStretchMode::smBest : TStretchMode::smNearest, B);
      }))
    return false;
  if (!Step(S.Gamma != 10, false, [&] {
        double R, G, Bl;
        SetChannelFactors(R, G, Bl, S.Gamma / 10.0, S.GammaChannels);
        GammaRGB24(B, R, G, Bl, All);
      }))
    return false;
  // Saturation, brightness and contrast share their shape: a percentage on a
  // channel set.
  using TOffsetsRoutine = void (*)(TBitmap&, int, int, int, const TRect&);
  const struct {
    int Percent, Channels;
    TOffsetsRoutine Routine;
  } Tones[] = {{S.Saturation, S.SaturationChannels, SaturationRGB24},
               {S.Brightness, S.BrightnessChannels, BrightnessRGB24},
               {S.Contrast, S.ContrastChannels, ContrastRGB24}};
  for (const auto& T : Tones)
    if (!Step(T.Percent != 0, false, [&] {
          int R, G, Bl;
          SetChannelOffsets(R, G, Bl, T.Percent, T.Channels);
          T.Routine(B, R, G, Bl, All);
        }))
      return false;
  FHost.Refresh();

  if (!Step(S.ColorFilter, false,
            [&] { FillColor24(B, S.FilterColor, S.FilterInvert ? -S.FilterOpacity : S.FilterOpacity, All); }))
    return false;
  if (!Step(S.Soften, false, [&] { ConvolveMatrix3x3(B, MatSoftenMild, 100, All); }) ||
      !Step(S.Sharpen, false, [&] { ConvolveMatrix3x3(B, MatSharpen, 100, All); }) ||
      !Step(S.Blur, false, [&] { BoxBlur3x3(B, All); }) ||
      !Step(S.Relief, false, [&] { ConvolveMatrix3x3(B, MatRelief, 100, All); }) ||
      !Step(S.Noise, false, [&] { MonoNoise24(B, 15, All); }) ||
      !Step(S.Scanlines, false, [&] { HorizontalStripes24(B, 1, 1, clBlack, 40, All); }))
    return false;
  // The two composites read an unchanged copy while they write.
  const auto FromCopy = [&B, All](void (*Routine)(TBitmap&, const TBitmap&, const TRect&)) {
    TBitmap Copy;
    Copy.Assign(B);
    Routine(B, Copy, All);
  };
  if (!Step(S.InnerBlur, false, [&] { FromCopy(InnerBlur24); }) ||
      !Step(S.SharperContours, false, [&] { FromCopy(SharperContours24); }) ||
      !Step(S.Negative, false, [&] { Negative24(B, All); }) ||
      !Step(S.AutoLevels, false, [&] { AutoLevels24(B, CentralSampleRect(B), WholeBitmapRect); }) ||
      !Step(S.AutoContrast, false, [&] {
        if (const auto Shares = MeasureToneShares(B, CentralSampleRect(B))) AutoContrast24(B, *Shares, WholeBitmapRect);
      }) || !Step(S.Sepia, false, [&] {
        Grayscale24(B, All);
        GammaRGB24(B, 1.2, 1.0, 0.5, All);
      }))
    return false;
  FHost.Refresh();

  if (!Step(S.Overlay && FHost.OverlayReady(), false, [&] { FHost.ApplyOverlay(B); }) ||
      !Step(S.Frame, true, [&] { AddBorder(B, S.FrameWidth, S.FrameColor, S.FrameOutside); }))
    return false;
  if (S.Canvas && ApplyBatchCanvas(B, S, FMotif.get())) {
    FHost.SizeChanged();
    if (CheckCancel()) return false;
  }
  if (!Step(S.Rotation, true,
            [&] {
              if (S.RotationKind == 2)
                RotateBitmap180(B);
              else
                RotateBitmap90(B, S.RotationKind == 0);
            }) ||
      !Step(S.Flip, false, [&] {
        if (S.FlipKind == 0)
          FlipBitmapVertical(B);
        else
          FlipBitmapHorizontal(B);
      }))
    return false;
  FHost.Refresh();
  if (S.ForceDpi) Doc.ResolutionX = S.Dpi;
  return true;
}

// ---- The save hook ----------------------------------------------------------------

void BatchSaveHook(int Quality, const TImageIOSender& Sender, TImageIOStage Event) {
  if (Event != ieBeforeSave) return;
  if (auto* const* Jpeg = std::get_if<TMyJpegImage*>(&Sender); Jpeg && *Jpeg) {
    (*Jpeg)->CompressionQuality = Quality;
  } else if (auto* const* Free = std::get_if<TFreeBitmap*>(&Sender); Free && *Free) {
    if ((*Free)->IsJpegFormat()) (*Free)->SetJpegQuality(Quality);
    if ((*Free)->IsTiffFormat()) (*Free)->SetTiffCompression(0);
  }
}
