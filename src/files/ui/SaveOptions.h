// The save options asked before an image is written: one routine per format
// that either applies fixed defaults (the SaveDefault setting, or SilentMode
// of OptionsOE for JPEG and PNG) or shows the save-options dialog on that
// format's page and copies the choices into the object about to be written;
// false (cancelled) cancels the save. The JPEG page previews the compression
// in the image window and reports the file size. Depends on the dialog base
// (ui/DlgMain.h), the picture classes, the FreeImage bitmap, the load and save
// record (files/BmpOE2.h), the layered file's compression switch and the
// image view; used by the main window's load/save hook.
#pragma once

#include "files/BmpOE2.h"
#include "files/MyPngImage.h"
#include "platform/Bitmap.h"
#include "ui/DlgMain.h"

#include <QPointer>
#include <QString>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class TFreeBitmap;
class TMyImageLayeredView;
class TRadioGroup;
class TTrackBar;

// What the save options need of the main window. The main window implements
// it and installs itself; tests install a fake.
class TSaveOptionsHost {
public:
  virtual ~TSaveOptionsHost() = default;
  // The SaveDefault setting: every format takes its defaults without asking.
  virtual bool SaveDefault() const = 0;
  // The pixel format of the bitmap the current save writes.
  virtual TPixelFormat SaveBitmapPixelFormat() const = 0;
  // The view of the active image window, nullptr when none: the JPEG
  // preview shows there, and its metadata decides whether EXIF keeping is
  // offered.
  virtual TMyImageLayeredView* ActiveImageView() const = 0;
};
// Not owned; nullptr (the start value) when no main window exists: no
// defaults are forced, the save is taken as 24-bit and there is no image.
void SetSaveOptionsHost(TSaveOptionsHost* Host);
TSaveOptionsHost* SaveOptionsHost();

// The pages of the dialog, the Flag of SetFormat.
enum TSaveOpPage : int { spJpeg = 0, spPng = 1, spGif = 2, spTarga = 3, spTiff = 4, spLMI = 5 };

// The JPEG preview's scratch file, in the user's temporary folder.
inline constexpr const char* JpegPreviewFileName = "TestLumaretique.jpg";

class TSaveOpForm : public TMainDialogForm {
  Q_OBJECT
public:
  explicit TSaveOpForm(QWidget* Parent = nullptr);

  // The dialog captions of the pages.
  QString C_Jpeg, C_Png, C_Gif, C_Targa, C_TIFF, C_LMI;

  QStackedWidget* PageControl;
  QWidget *TshJpeg, *TshPng, *TshGIF, *TshTarga, *TshTIFF, *TshLMI;
  QLabel* LblN;
  TTrackBar* TBN;
  QLabel *Label1, *Label2;
  QRadioButton *RBStandard, *RBProgressif;
  QCheckBox* CBExif;
  QLabel* LblStatut;
  TRadioGroup* RBFiltres;
  QCheckBox *CBEntrelacer, *CBOptimiser;
  QCheckBox *CBEntrelacer2, *CBPalette;
  QCheckBox* CBTargaRLE;
  QCheckBox* CBCompressTiff;
  QComboBox* CmbTiffList;
  QCheckBox* CBCompressLMI;
  QPushButton *BApercu, *BOk, *BAnnuler;

  // Shows the page Flag (TSaveOpPage) and waits: the JPEG page non-modal and
  // registered as the dialogue form (the image window shows its preview),
  // the others modal. True when the dialog closed with Ok.
  bool SetFormat(int Flag);
  // The page shown last, -1 before the first.
  int Format() const { return FFormat; }

  void UpdateControls() override;
  void AcceptIniControl(QWidget* Control, bool& Accept) override;
  void TBNChange();
  // Compresses the active image at the chosen quality through the scratch
  // file, shows the decoded result in its window and the file's size in
  // LblStatut. Throws when compression or file access fails, after freeing
  // what it made, deleting the scratch file and restoring the cursor and
  // the progress passes. Nothing without an active image.
  void BApercuClick();
  // True only when CBExif is offered and ticked.
  bool SaveExif() const;
  TInterlaceMethod PngEntrelacement() const;
  TPngFilters PngFiltres() const;
  void CBCompressTiffClick();
  // TiffNone when CBCompressTiff is unticked, else the selected item's flag.
  int TiffCompression() const;
  void BOkClick();

protected:
  void FormCreate();
  void FormHide() override;

private:
  // Step 6 of SetFormat: page, buttons and client heights.
  void ArrangePage(QWidget* Page, QWidget* Lowest);
  void FillTiffList(TPixelFormat Format);
  // Writes Bitmap to Path as the save will (the slider's quality, the
  // progressive choice, the metadata kept or not) and returns the size.
  int64_t WritePreviewFile(const QString& Path, TBitmap& Bitmap);

  int FFormat = -1;
  // The view whose composite holds a preview; restored when the dialog hides.
  QPointer<TMyImageLayeredView> FPreviewView;
};

// The dialog, created on first use (owned by the main window when there is
// one) and kept.
TSaveOpForm& SaveOpForm();
// Deletes the kept dialog (at the end of the program, and between tests).
void FreeSaveOpForm();

// The "Ask" routines show the dialog on their page and, on Ok, copy the
// choices; false when the dialog was cancelled, with nothing copied.
bool AskOwnFormatOptions();
bool AskJpegOptions(const TImageIOSender& Graphic);
bool AskPngOptions(TMyPngImage& Graphic);
bool AskGifOptions();
bool AskTargaOptions(TFreeBitmap& Graphic);
bool AskTiffOptions(TFreeBitmap& Graphic);

// The "Get" routines apply their defaults and answer true when SaveDefault
// is on (JPEG and PNG also under OptionsOE.SilentMode), else ask.
// Layered format: compression on.
bool GetOwnFormatSaveOptions();
// A TMyJpegImage or a TFreeBitmap gets quality 90, baseline; metadata kept.
// Any other graphic is left alone.
bool GetJpegSaveOptions(const TImageIOSender& Graphic);
// Filters {Sub}, no interlace, level 7.
bool GetPngSaveOptions(TMyPngImage& Graphic);
// Not interlaced, optimised palette.
bool GetGifSaveOptions();
// No RLE.
bool GetTargaSaveOptions(TFreeBitmap& Graphic);
// Flag 0, the library's default compression.
bool GetTiffSaveOptions(TFreeBitmap& Graphic);
// Never asks: lossless (quality -1) for a 32-bit save, else the library's
// default quality (0). Always true.
bool SetWebpOptions(TFreeBitmap& Graphic);
