// How images reach the main window: the open dialog, dropped files, the
// command line, the recent files and revert all go through Ouvrir, which
// loads the file through the image-file layer with the load/save hook set.
// An open that runs out of memory fails with a message and changes nothing.
#include "app/ui/MainForm.h"

#include "app/Commun.h"
#include "document/ui/CalquePaste.h"
#include "files/BmpExtOE.h"
#include "files/FreeImage.h"
#include "files/ui/BmpOE2.h"
#include "i18n/Format.h"
#include "i18n/LibLang.h"
#include "raster/DataFileError.h"
#include "raster/FoncUtils.h"
#include "raster/Transparency.h"
#include "ui/MsgDlg.h"

#include <QAction>
#include <QFileInfo>
#include <QMdiArea>
#include <QMimeData>
#include <QUrl>

#include <algorithm>
#include <new>

namespace {

// Sets the load/save hook for the life of one load or save and ends the
// action around it on every path.
class THookScope {
public:
  THookScope(TMainForm& Form, TImageIOEvent Hook) : FForm(Form) { ImageIOHook = std::move(Hook); }
  ~THookScope() {
    ImageIOHook = nullptr;
    FForm.FinAction();
  }
  THookScope(const THookScope&) = delete;
  THookScope& operator=(const THookScope&) = delete;

private:
  TMainForm& FForm;
};

// The open dialog and the drops take at most this many files at once.
constexpr int MaxOpenFiles = 20;

// An open that ran out of memory, with the size asked for when the failed
// allocation was one of pixels (the allocation that a huge picture makes).
QString NoMemoryToOpenText(const QString& FileName, const std::bad_alloc& Error) {
  if (const auto* Pixels = dynamic_cast<const EPixelAllocError*>(&Error))
    return Format(Tr(TrId::GetOeMsgNoMemoryOpening), {FileName, FormatByteSize(Pixels->Bytes(), false)});
  return Format(Tr(TrId::GetOeMsgNoMemoryOpeningFile), {FileName});
}

// FileName read into a document of its own, with its layers, or nullptr
// (reported) when it cannot be read. Every large allocation of an open
// happens here, before any window changes.
std::unique_ptr<TMyImageLayered> ReadDocument(TMainForm& Form, const QString& FileName, int& NbCol) {
  auto Temp = std::make_unique<TMyImageLayered>();
  if (!LoadDocumentImage(FileName, *Temp)) return nullptr;
  NbCol = LoadedColorCount();
  if (!Form.LoadLayersForOpen(*Temp, FileName)) return nullptr;
  // The picture becomes the background, moved rather than copied...
  if (Temp->Layers().Count() == 0) Temp->BitmapToBackground(QStringLiteral("#0"));
  // ... and, with "16 million colours", its transparent colour a mask.
  TLayerItem& Bkg = Temp->Layers()[0];
  if (Form.Settings().Force16M && Bkg.Bitmap().Transparent)
    ExtractTransparencyMask(Bkg.Bitmap(), Bkg.Bitmap(), Bkg.Mask());
  return Temp;
}

} // namespace

void TMainForm::Ouvrir(const QString& Name, bool NewImg, bool Maj) {
  const QFileInfo Info(Name);
  if (HasNoExtension(Name) || !Info.isFile()) return;
  // One file has one name, however it was reached: the already-open check
  // and the recent files compare whole paths.
  const QString FileName = Info.absoluteFilePath();
  const bool AsImport = FState.Options.OpenAsImportOption;
  try {
    DebutAction(Tr(TrId::GetTrStaOpening), true);
    for (TNewImgForm* W : ImageWindows()) W->repaint();
    THookScope Scope(*this, [this](const TImageIOSender& Sender, const QString& F, bool& Continue,
                                   TImageIOStage Event) { LoadSaveEvent(Sender, F, Continue, Event); });
    int NbCol = 0;
    std::unique_ptr<TMyImageLayered> Temp = ReadDocument(*this, FileName, NbCol);
    if (!Temp) return;
    // A file read only in part (a layered file with a damaged layer, a
    // picture cut short) must not look saved.
    const bool Incomplete = OptionsOE.XIncomplete;
    const bool Damaged = Temp->Modified || Incomplete;
    if (!NewImg)
      RetablirImage(*Temp, FileName, NbCol);
    else if (AsImport)
      NouvelleImage(Temp.get(), nullptr, QString(), srcImport, NbCol);
    else
      NouvelleImage(Temp.get(), nullptr, FileName, srcFile, NbCol);
    Temp.reset();
    if (!UneImage()) return;
    if (Damaged) EnfantActif()->FlagUndoModified = true;

    if (FSettings.Force16M) {
      SetNbCouleurs(16777216);
      MajMenus();
      AfficherInfos();
    }
    AssignLoadInfo(Image());
    if (Maj && !AsImport) {
      if (!FSettings.VerrouillerDir) {
        FSettings.OuvrirDir = Info.absolutePath();
        if (FSettings.UniqueDir) FSettings.EnregistrerDir = FSettings.OuvrirDir;
      }
      AjouterListeFichiers(FileName);
    }
    if (NewImg && !OptionsOE.SilentMode) WarnFormatMismatch(FileName);
    if (Incomplete) ShowMsgDlg(Format(Tr(TrId::GetOeMsgIncomplete), {FileName}), mdkWarning, {mdbOk});
  } catch (const std::bad_alloc& E) {
    // The document being read went with the unwinding, and the action's
    // bracket with it; every window is as it was.
    ShowMsgDlg(NoMemoryToOpenText(FileName, E), mdkError, {mdbOk});
  }
}

bool TMainForm::LoadLayersForOpen(TMyImageLayered& Image, const QString& FileName) {
  if (OptionsOE.GIFAnimated) {
    // A file the reader refuses is reported with its name; running out of
    // memory is the open's to report.
    try {
      LoadGifAsLayers(Image, FileName);
      return true;
    } catch (const std::bad_alloc&) {
      throw;
    } catch (const std::exception& E) {
      ReportFileError(QString::fromUtf8(E.what()));
      return false;
    }
  }
  if (!IsLmiFile(FileName)) return true;
  // The loader read the header; the layers come from the layered image,
  // which reports its own errors.
  Image.Bitmap().Assign(TBitmap());
  return Image.LoadFromFile(FileName);
}

bool TMainForm::CheckNotAlreadyOpen(const QString& FileName) {
  if (FlagNaviguer) return true;
  TNewImgForm* W = FindImageWindow(FileName);
  if (!W) return true;
  W->BringMDIToFront();
  W->repaint();
  ShowMsgDlg(Tr(TrId::GetTrDlgMain7), mdkWarning, {mdbOk});
  return false;
}

void TMainForm::WarnFormatMismatch(const QString& FileName) {
  if (!OptionsOE.XBadFormat) return;
  ShowMsgDlg(Format(Tr(TrId::GetTrFmtBadFormat), {FreeImageFileType(FileName)}), mdkInformation, {mdbOk});
}

// ---- Commands ---------------------------------------------------------------------------------------------------

void TMainForm::MenuFichierOuvrirClick() {
  if (!ActionPossible(CommandSender(MenuItem("MenuFichierOuvrir")))) return;
  DebutAction(Tr(TrId::GetTrStaOpening), false);
  const std::optional<QStringList> Names = OpenImagesDialog(FSettings.OuvrirDir);
  FinAction();
  if (!Names || Names->isEmpty()) return;
  DebutDialogueEx();
  for (const QString& Name : Names->mid(0, MaxOpenFiles)) Ouvrir(Name, true, true);
  FinDialogueEx();
}

void TMainForm::WMFilesDropped(const QMimeData* Data) {
  if (DisableMenu()) return;
  QStringList Files;
  for (const QUrl& Url : Data->urls())
    if (Url.isLocalFile()) Files << Url.toLocalFile();
  OpenFiles(Files.mid(0, MaxOpenFiles));
}

void TMainForm::MenuFichierRetablirClick() {
  if (!UneImage() || !ActionPossible(CommandSender(MenuItem("MenuFichierRetablir")))) return;
  if (ShowMsgDlg(Tr(TrId::GetTrDlgMain5), mdkConfirmation, {mdbYes, mdbNo}) != mrYes) return;
  FlagRetablir = true;
  Ouvrir(NomFichier(), false, false);
  FlagRetablir = false;
}
