// How images leave the main window: Save, Save as and Save into a data
// folder go through Enregistrer, which asks the format-loss question and the
// format's options from the load/save hook and marks the window saved only
// when the file was written.
#include "app/ui/MainForm.h"

#include "app/Commun.h"
#include "app/StartupServices.h"
#include "document/LayerStream.h"
#include "extensions/ui/Pe.h"
#include "files/BmpExtOE.h"
#include "files/ColorDepth.h"
#include "files/FreeImageProvider.h"
#include "files/FreeUtils.h"
#include "files/GifImage.h"
#include "files/MyJpegImage.h"
#include "files/MyPngImage.h"
#include "raster/Transparency.h"
#include "ui/MsgDlg.h"

#include <QAction>
#include <QFileInfo>

namespace {

// The writer's bitmap, the hook and the action live for one save only.
class TSaveScope {
public:
  TSaveScope(TMainForm& Form, std::unique_ptr<TBitmap>& Bitmap, bool& CheckLoss)
      : FForm(Form), FBitmap(Bitmap), FCheckLoss(CheckLoss) {
    FBitmap = std::make_unique<TBitmap>();
  }
  ~TSaveScope() {
    FBitmap.reset();
    FCheckLoss = false;
    ImageIOHook = nullptr;
    FForm.FinAction();
    FForm.FinDialogueEx();
  }
  TSaveScope(const TSaveScope&) = delete;
  TSaveScope& operator=(const TSaveScope&) = delete;

private:
  TMainForm& FForm;
  std::unique_ptr<TBitmap>& FBitmap;
  bool& FCheckLoss;
};

} // namespace

bool TMainForm::ConfirmFormatLoss(const QString& FileName) {
  if (!UneImage()) return true;
  const std::optional<TrId> Question = FormatLossQuestion(FileName, SaveImageFacts(Image()));
  return !Question || ShowMsgDlg(Tr(*Question), mdkConfirmation, {mdbYes, mdbNo}) == mrYes;
}

bool TMainForm::Enregistrer(const QString& Name, const QString& Suggestion, bool Remember, bool CheckLoss) {
  TNewImgForm* W = EnfantActif();
  if (!W) return false;
  const bool Remember2 = Name.isEmpty() && Remember;
  QString FileName = Name, Proposed = Suggestion;
  DebutDialogueEx();
  DebutAction(Tr(TrId::GetTrStaSaving), true);
  TSaveScope Scope(*this, FSaveBitmap, FCheckFormatLoss);
  TMyImageLayered& Img = W->Image->Image();
  if (FileName.isEmpty())
    DefaultSaveName(Proposed, SaveImageFacts(Img), FSettings.SaveFormatIndex, FSettings.EnregistrerDir);
  ImageIOHook = [this](const TImageIOSender& Sender, const QString& F, bool& Continue, TImageIOStage Event) {
    LoadSaveEvent(Sender, F, Continue, Event);
  };
  FCheckFormatLoss = CheckLoss;
  AutoCropOnSave = true;
  AssignSaveInfo(Img);
  if (!SaveImageFile(FileName, *FSaveBitmap, &Img, Proposed)) return false;

  // Written: the window is saved under its new name.
  W->ResetModified();
  EnableCommand("MenuFichierEnregistrer", false);
  W->NomFichier = FileName;
  W->setWindowTitle(QFileInfo(FileName).fileName());
  AfficherInfos();
  const QString Folder = QFileInfo(FileName).absolutePath();
  if (Remember2 && !FSettings.VerrouillerDir) {
    FSettings.EnregistrerDir = Folder;
    if (FSettings.UniqueDir) FSettings.OuvrirDir = Folder;
  }
  W->SourceType = srcFile;
  if (Remember2) {
    UpdateWindowMenuItem(W, W->windowTitle());
    AjouterListeFichiers(FileName);
  }
  MajMenus();
  return true;
}

void TMainForm::LoadSaveEvent(const TImageIOSender& Sender, const QString& FileName, bool& Continue,
                              TImageIOStage Event) {
  switch (Event) {
  case ieBeforeLoad:
    Continue = FlagRetablir || CheckNotAlreadyOpen(QFileInfo(FileName).absoluteFilePath());
    break;
  case ieBeforeSave: {
    Continue = !FCheckFormatLoss || ConfirmFormatLoss(FileName);
    if (!Continue) return;
    PrepareBitmapForSave(FileName);
    if (auto* Jpeg = std::get_if<TMyJpegImage*>(&Sender)) {
      Continue = GetJpegSaveOptions(*Jpeg);
    } else if (std::holds_alternative<TMyImageLayered*>(Sender) ||
               std::holds_alternative<TMyImageLayeredReg*>(Sender)) {
      Continue = GetOwnFormatSaveOptions();
    } else if (auto* Png = std::get_if<TMyPngImage*>(&Sender)) {
      Continue = GetPngSaveOptions(**Png);
    } else if (std::holds_alternative<TGIFImage*>(Sender)) {
      Continue = GetGifSaveOptions();
    } else if (auto* Free = std::get_if<TFreeBitmap*>(&Sender)) {
      TFreeBitmap& F = **Free;
      if (F.IsJpegFormat())
        Continue = GetJpegSaveOptions(Sender);
      else if (F.IsTargaFormat())
        Continue = GetTargaSaveOptions(F);
      else if (F.IsTiffFormat())
        Continue = GetTiffSaveOptions(F);
      else if (F.IsWebpFormat())
        Continue = SetWebpOptions(F);
    }
    break;
  }
  case ieError:
    // The message that follows must be read: the slide show stops for it.
    StopSlideShow();
    break;
  default:
    break;
  }
}

void TMainForm::PrepareBitmapForSave(const QString& FileName) {
  if (!FSaveBitmap || !UneImage() || IsLmiFile(FileName)) return;
  TMyImageLayered& Img = Image();
  TBitmap& Save = *FSaveBitmap;
  const bool FreeAlpha = HasFreeImage() && IsFreeImageAlphaFormat(FileName);
  if (ModeRGBA(true) && (IsBmpImageFile(FileName) || IsPngFile(FileName) || FreeAlpha || IsGifFile(FileName))) {
    // The layers with their own transparency, as straight alpha.
    TBitmap Bmp(LeFond().Width(), LeFond().Height(), pf24bit, clWhite),
        Mask(LeFond().Width(), LeFond().Height(), pf24bit, clWhite);
    Img.MergeLayersRGBA(Bmp, &Mask, 0, 0);
    BitmapMaskToBitmap32(Bmp, Mask, Save, false);
    return;
  }
  // An image with its own transparency written to a format without alpha is
  // flattened as the window and the JPEG preview show it, over white: its
  // bare colours would put black where it was transparent.
  if (Img.Layers().Count() < 2 && !ModeRGBA(true)) {
    Save.Assign(LeFond());
    if (Save.Transparent) {
      if (FreeAlpha) {
        TBitmap Bmp, Mask;
        ExtractTransparencyMask(Save, Bmp, Mask);
        BitmapMaskToBitmap32(Bmp, Mask, Save, false);
        return;
      }
      if (!KeepsTransparentColor(FileName)) Save.Transparent = false;
    }
    if (Img.ColorCount > 0 && Img.ColorCount <= 256) {
      if (IsBmpImageFile(FileName) || IsPngFile(FileName) || IsTiffFile(FileName))
        SetColorCount(Save, Img.ColorCount, false, nullptr);
      else if (IsRleOrTargaFile(FileName))
        SetColorCount(Save, 256, false, nullptr);
    }
    return;
  }
  Img.MergeLayersForPreview(false);
  Save.Assign(Img.Bitmap());
}

TPixelFormat TMainForm::SaveBitmapPixelFormat() const { return FSaveBitmap ? FSaveBitmap->PixelFormat() : pf24bit; }

TMyImageLayeredView* TMainForm::ActiveImageView() const { return UneImage() ? EnfantActif()->Image : nullptr; }

// ---- Commands ---------------------------------------------------------------------------------------------------

void TMainForm::MenuFichierEnregistrerClick() {
  if (!UneImage() || !ActionPossible(CommandSender(MenuItem("MenuFichierEnregistrer")))) return;
  const QString Name = NomFichier();
  if (EnfantActif()->IsFileSource() && IsSavableImageFile(Name))
    Enregistrer(Name, QString(), true, true);
  else
    Enregistrer(QString(), QFileInfo(Name).fileName(), true, true);
}

void TMainForm::MenuFichierEnregistrerSousClick() {
  if (!UneImage() || !ActionPossible(CommandSender(MenuItem("MenuFichierEnregistrerSous")))) return;
  Enregistrer(QString(), QFileInfo(NomFichier()).fileName(), true, true);
}

void TMainForm::MenuEnregistrerDansClick(int Tag) {
  if (!UneImage()) return;
  if (Tag < 0 || Tag > 4) return;
  // The data folders are made when first saved into: beside the program,
  // else in the per-user data folder.
  QString* Fields[] = {nullptr, &FDataFolders.MasqueDir, &FDataFolders.MotifDir, &FDataFolders.TextureDir,
                       &FDataFolders.PngDir};
  const char* Names[] = {nullptr, "Masks", "Patterns", "Textures", "PngData"};
  QString Folder = QFileInfo(NomFichier()).absolutePath();
  if (Tag > 0) {
    Folder = EnsureDataFolder(FState.ProgramDir, QString::fromLatin1(Names[Tag]), UserDataFolder());
    if (Folder.isEmpty()) Folder = *Fields[Tag];
    *Fields[Tag] = Folder;
  }
  QString Name = Folder + QLatin1Char('/') + QFileInfo(NomFichier()).fileName();
  if (Tag == 4) Name = QFileInfo(Name).path() + QLatin1Char('/') + QFileInfo(Name).completeBaseName() + ".png";
  Enregistrer(QString(), Name, false, false);
}
