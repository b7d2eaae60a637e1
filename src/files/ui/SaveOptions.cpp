#include "files/ui/SaveOptions.h"

#include "document/LayerStream.h"
#include "document/ui/MyImageLayeredView.h"
#include "files/FreeImage.h"
#include "files/FreeUtils.h"
#include "files/MyJpegImage.h"
#include "i18n/Format.h"
#include "i18n/LibLang.h"
#include "raster/FilterEvent.h"
#include "raster/FoncUtils.h"
#include "ui/MsgDlg.h"
#include "ui/RadioGroup.h"
#include "ui/TrackBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>

#include <array>
#include <exception>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>
#include <variant>

namespace {

TSaveOptionsHost* Host = nullptr;
QPointer<TSaveOpForm> Form;

// Layout of the form resource, in pixels at 96 dpi.
constexpr int FormWidth = 330;
constexpr int Margin = 8; // BApercu's left offset
constexpr int ButtonWidth = 90;
constexpr int ButtonHeight = 26;

// The filter set of each item of RBFiltres.
constexpr std::array<TPngFilters, 6> FilterSets = {PngFilterNone,    PngFilterSub,   PngFilterUp,
                                                   PngFilterAverage, PngFilterPaeth, PngFilterAll};

bool SaveDefaultOn() { return Host && Host->SaveDefault(); }
TPixelFormat SavePixelFormat() { return Host ? Host->SaveBitmapPixelFormat() : pf24bit; }
TMyImageLayeredView* ActiveView() { return Host ? Host->ActiveImageView() : nullptr; }

// The translated text, or Text where the language module left it empty.
QString TrOr(TrId Id, const QString& Text) {
  const QString& T = Tr(Id);
  return T.isEmpty() ? Text : T;
}

QCheckBox* NewCheckBox(QWidget* Page, const char* Name, const QString& Caption, bool Checked) {
  auto* C = new QCheckBox(Caption, Page);
  C->setObjectName(Name);
  C->setChecked(Checked);
  return C;
}

void ApplyJpegChoices(const TImageIOSender& Graphic, int Quality, bool Progressive) {
  if (TMyJpegImage* const* Jpeg = std::get_if<TMyJpegImage*>(&Graphic); Jpeg && *Jpeg) {
    (*Jpeg)->CompressionQuality = Quality;
    (*Jpeg)->ProgressiveEncoding = Progressive;
  } else if (TFreeBitmap* const* Free = std::get_if<TFreeBitmap*>(&Graphic); Free && *Free) {
    (*Free)->SetJpegQuality(Quality);
    if (Progressive) (*Free)->SetJpegProgressive();
  }
}

void ApplyPngChoices(TMyPngImage& Png, TPngFilters Filters, TInterlaceMethod Interlace, int Level) {
  Png.Filters = Filters;
  Png.InterlaceMethod = Interlace;
  Png.CompressionLevel = Level;
}

} // namespace

void SetSaveOptionsHost(TSaveOptionsHost* AHost) { Host = AHost; }
TSaveOptionsHost* SaveOptionsHost() { return Host; }

// ---- TSaveOpForm -------------------------------------------------------------------------------

TSaveOpForm::TSaveOpForm(QWidget* Parent) : TMainDialogForm(Parent) {
  setObjectName(QStringLiteral("SaveOpForm"));
  const int W = Rescale(FormWidth), M = Rescale(Margin);
  auto Place = [this](QWidget* C, int X, int Y, int Width, int Height) {
    C->setGeometry(Rescale(X), Rescale(Y), Rescale(Width), Rescale(Height));
  };

  PageControl = new QStackedWidget(this);
  PageControl->setObjectName(QStringLiteral("PageControl"));
  auto NewPage = [this](const char* Name) {
    auto* P = new QWidget(PageControl);
    P->setObjectName(Name);
    PageControl->addWidget(P);
    return P;
  };
  TshJpeg = NewPage("TshJpeg");
  TshPng = NewPage("TshPng");
  TshGIF = NewPage("TshGIF");
  TshTarga = NewPage("TshTarga");
  TshTIFF = NewPage("TshTIFF");
  TshLMI = NewPage("TshLMI");

  // JPEG
  LblN = new QLabel(TshJpeg);
  LblN->setObjectName(QStringLiteral("LblN"));
  Place(LblN, Margin, Margin, 200, 16);
  TBN = new TTrackBar(TshJpeg);
  TBN->setObjectName(QStringLiteral("TBN"));
  TBN->setRange(10, 100);
  TBN->setPageStep(10);
  TBN->SetFrequency(5);
  TBN->setTickPosition(QSlider::TicksBelow);
  TBN->SetPosition(90);
  Place(TBN, Margin, 26, FormWidth - 2 * Margin, 32);
  Label1 = new QLabel(QStringLiteral("Qualité inférieure"), TshJpeg);
  Label1->setObjectName(QStringLiteral("Label1"));
  Place(Label1, Margin, 60, 150, 15);
  Label2 = new QLabel(QStringLiteral("Qualité supérieure"), TshJpeg);
  Label2->setObjectName(QStringLiteral("Label2"));
  Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  Place(Label2, FormWidth - Margin - 150, 60, 150, 15);
  RBStandard = new QRadioButton(QStringLiteral("Format standard"), TshJpeg);
  RBStandard->setObjectName(QStringLiteral("RBStandard"));
  RBStandard->setChecked(true);
  Place(RBStandard, Margin, 84, 250, 20);
  RBProgressif = new QRadioButton(QStringLiteral("Format progressif"), TshJpeg);
  RBProgressif->setObjectName(QStringLiteral("RBProgressif"));
  Place(RBProgressif, Margin, 106, 250, 20);
  CBExif = NewCheckBox(TshJpeg, "CBExif", QStringLiteral("Conserver les informations EXIF/IPTC"), false);
  Place(CBExif, Margin, 132, FormWidth - 2 * Margin, 20);
  LblStatut = new QLabel(TshJpeg);
  LblStatut->setObjectName(QStringLiteral("LblStatut"));
  QFont Bold = LblStatut->font();
  Bold.setBold(true);
  LblStatut->setFont(Bold);
  Place(LblStatut, Margin, 160, FormWidth - 2 * Margin, 16);

  // PNG
  RBFiltres = new TRadioGroup(TshPng);
  RBFiltres->setObjectName(QStringLiteral("RBFiltres"));
  RBFiltres->setTitle(QStringLiteral(" Filtrage "));
  RBFiltres->SetColumns(2);
  RBFiltres->SetItems({QStringLiteral("Aucun"), QStringLiteral("Différence (défaut)"), QStringLiteral("Haut"),
                       QStringLiteral("Moyenne"), QStringLiteral("Paeth"), QStringLiteral("Automatique")});
  // The default its caption names, with or without a language module.
  RBFiltres->SetItemIndex(1);
  Place(RBFiltres, Margin, Margin, FormWidth - 2 * Margin, 96);
  CBEntrelacer = NewCheckBox(TshPng, "CBEntrelacer", QStringLiteral("Entrelacé"), false);
  Place(CBEntrelacer, Margin, 112, 200, 20);
  CBOptimiser = NewCheckBox(TshPng, "CBOptimiser", QStringLiteral("Optimiser"), false);
  Place(CBOptimiser, Margin, 136, 200, 20);

  // GIF
  CBEntrelacer2 = NewCheckBox(TshGIF, "CBEntrelacer2", QStringLiteral("Entrelacé"), false);
  Place(CBEntrelacer2, Margin, Margin, 250, 20);
  CBPalette = NewCheckBox(TshGIF, "CBPalette", QStringLiteral("Palette optimisée"), true);
  Place(CBPalette, Margin, 32, 250, 20);

  // Targa
  CBTargaRLE = NewCheckBox(TshTarga, "CBTargaRLE", QStringLiteral("Compression"), false);
  Place(CBTargaRLE, Margin, Margin, 250, 20);

  // TIFF
  CBCompressTiff = NewCheckBox(TshTIFF, "CBCompressTiff", QStringLiteral("Compression"), true);
  Place(CBCompressTiff, Margin, Margin, 250, 20);
  CmbTiffList = new QComboBox(TshTIFF);
  CmbTiffList->setObjectName(QStringLiteral("CmbTiffList"));
  Place(CmbTiffList, Margin, 34, 200, 24);

  // Layered format
  CBCompressLMI = NewCheckBox(TshLMI, "CBCompressLMI", QStringLiteral("Compression"), true);
  Place(CBCompressLMI, Margin, Margin, 250, 20);

  // All pages
  BApercu = new QPushButton(QStringLiteral("Aperçu"), this);
  BApercu->setObjectName(QStringLiteral("BApercu"));
  BOk = new QPushButton(QStringLiteral("Ok"), this);
  BOk->setObjectName(QStringLiteral("BOk"));
  BAnnuler = new QPushButton(QStringLiteral("Annuler"), this);
  BAnnuler->setObjectName(QStringLiteral("BAnnuler"));
  const int BW = Rescale(ButtonWidth), BH = Rescale(ButtonHeight);
  BApercu->resize(BW, BH);
  BOk->resize(BW, BH);
  BAnnuler->resize(BW, BH);
  BApercu->move(M, 0);
  BOk->move(W - M - 2 * BW - Rescale(6), 0);
  BAnnuler->move(W - M - BW, 0);
  PageControl->setGeometry(0, 0, W, Rescale(100));

  TBN->OnChange = [this](QObject*) { TBNChange(); };
  connect(CBCompressTiff, &QCheckBox::clicked, this, [this] { CBCompressTiffClick(); });
  connect(BOk, &QPushButton::clicked, this, [this] { BOkClick(); });
  connect(BApercu, &QPushButton::clicked, this, [this] {
    // An error of the preview is the user's to see, not the event loop's.
    try {
      BApercuClick();
    } catch (const std::exception& E) {
      LblStatut->clear();
      ShowMsgDlg(QString::fromUtf8(E.what()), mdkError, {mdbOk});
    }
  });
  FormCreate();
}

void TSaveOpForm::FormCreate() {
  C_Jpeg = QStringLiteral("JPEG");
  C_Png = QStringLiteral("PNG");
  C_Gif = QStringLiteral("GIF");
  C_Targa = QStringLiteral("Targa");
  C_TIFF = QStringLiteral("TIFF");
  C_LMI = QStringLiteral("LMI");

  if (TranslationLoaded()) {
    BApercu->setText(TrOr(TrId::GetTrBtnPreview, BApercu->text()));
    BOk->setText(TrOr(TrId::GetDlgOk, BOk->text()));
    BAnnuler->setText(TrOr(TrId::GetDlgCancel, BAnnuler->text()));
    Label1->setText(TrOr(TrId::GetTrlLblCompressLow, Label1->text()));
    Label2->setText(TrOr(TrId::GetTrlLblCompressHigh, Label2->text()));
    RBStandard->setText(TrOr(TrId::GetTrLblStandard, RBStandard->text()));
    RBProgressif->setText(TrOr(TrId::GetTrLblProgressive, RBProgressif->text()));
    CBExif->setText(TrOr(TrId::GetTrLblPreserveExif, CBExif->text()));
    CBEntrelacer->setText(TrOr(TrId::GetTrLblInterlaced, CBEntrelacer->text()));
    CBEntrelacer2->setText(TrOr(TrId::GetTrLblInterlaced, CBEntrelacer2->text()));
    CBOptimiser->setText(TrOr(TrId::GetTrLblOptimize, CBOptimiser->text()));
    CBPalette->setText(TrOr(TrId::GetTrLblOptimizedPalette, CBPalette->text()));
    for (QCheckBox* C : {CBTargaRLE, CBCompressTiff, CBCompressLMI})
      C->setText(TrOr(TrId::GetTrLblCompression, C->text()));
    const QString Title = Tr(TrId::GetTrLblFilterType);
    if (!Title.isEmpty()) RBFiltres->setTitle(u' ' + Title + u' ');
    const QStringList French = RBFiltres->Items();
    const std::array<TrId, 6> Ids = {TrId::GetTrLblNone,    TrId::GetTrLblSub,   TrId::GetTrLblUp,
                                     TrId::GetTrLblAverage, TrId::GetTrLblPaeth, TrId::GetTrLblAutoFilter};
    QStringList Items;
    for (size_t I = 0; I < Ids.size(); ++I) Items.append(TrOr(Ids[I], French[int(I)]));
    RBFiltres->SetItems(Items);
    RBFiltres->SetItemIndex(1);
  }

  CBTargaRLE->setChecked(false);
  CBCompressTiff->setChecked(true);
  CBExif->setChecked(PreserveExif);
  StyleTrackBar(TBN);
  TBNChange();
  OkButton = BOk;
  CancelButton = BAnnuler;
}

void TSaveOpForm::FillTiffList(TPixelFormat Format) {
  struct TItem {
    const char* Caption;
    int Flag;
  };
  static constexpr TItem Fax[] = {{"CCITT FAX4", TiffCcittFax4}};
  static constexpr TItem Rgb[] = {
      {"LZW", TiffLzw}, {"PACKBITS", TiffPackbits}, {"DEFLATE", TiffDeflate}, {"JPEG", TiffJpeg}};
  std::span<const TItem> Items = Format == pf1bit    ? std::span<const TItem>(Fax)
                                 : Format == pf24bit ? std::span<const TItem>(Rgb)
                                                     : std::span<const TItem>(Rgb).first(3);
  CmbTiffList->clear();
  for (const TItem& I : Items) CmbTiffList->addItem(QString::fromLatin1(I.Caption), I.Flag);
  CmbTiffList->setCurrentIndex(0);
}

void TSaveOpForm::ArrangePage(QWidget* Page, QWidget* Lowest) {
  const int W = Rescale(FormWidth), M = BApercu->x();
  const int PageHeight = Lowest->y() + Lowest->height() + 2 * M;
  PageControl->setCurrentWidget(Page);
  PageControl->setGeometry(0, 0, W, PageHeight);
  const int Top = PageHeight + M;
  for (QPushButton* B : {BApercu, BOk, BAnnuler}) B->move(B->x(), Top);
  BApercu->setVisible(Page == TshJpeg);
  setFixedSize(W, Top + BOk->height() + M);
}

bool TSaveOpForm::SetFormat(int Flag) {
  // One question at a time: a save asked while the dialog is open is refused.
  if (isVisible() || Flag < spJpeg || Flag > spLMI) return false;
  FFormat = Flag;
  static const std::array<QString TSaveOpForm::*, 6> Captions = {&TSaveOpForm::C_Jpeg, &TSaveOpForm::C_Png,
                                                                 &TSaveOpForm::C_Gif,  &TSaveOpForm::C_Targa,
                                                                 &TSaveOpForm::C_TIFF, &TSaveOpForm::C_LMI};
  setWindowTitle(this->*Captions[size_t(Flag)]);
  QWidget* Lowest = nullptr;
  switch (Flag) {
  case spJpeg: {
    LblStatut->clear();
    const TMyImageLayeredView* View = ActiveView();
    CBExif->setVisible(PreserveExif && View && !View->Image().Metadata.Empty());
    const int M = BApercu->x();
    LblStatut->move(LblStatut->x(), CBExif->isHidden() ? CBExif->y() : CBExif->y() + CBExif->height() + M);
    Lowest = LblStatut;
    break;
  }
  case spPng:
    Lowest = CBOptimiser;
    break;
  case spGif:
    CBEntrelacer2->setChecked(OptionsOE.GIFInterlaced);
    CBPalette->setChecked(OptionsOE.GIFOptimizeColorMap);
    Lowest = CBPalette;
    break;
  case spTarga:
    Lowest = CBTargaRLE;
    break;
  case spTiff:
    FillTiffList(SavePixelFormat());
    Lowest = CmbTiffList;
    break;
  default:
    CBCompressLMI->setChecked(LayerCompression);
    Lowest = CBCompressLMI;
    break;
  }
  ArrangePage(PageControl->widget(Flag), Lowest);
  const bool Jpeg = Flag == spJpeg;
  DialogMode = Jpeg ? TMainDialogMode::dmDialog : TMainDialogMode::dmModal;
  setWindowModality(Jpeg ? Qt::NonModal : Qt::ApplicationModal);
  ShowAndWait();
  return DialogOk;
}

void TSaveOpForm::UpdateControls() {
  // Restored values arrive without their change events: bring what depends
  // on them up to date.
  TBNChange();
  CBCompressTiffClick();
  if (FFormat == spTiff && CmbTiffList->currentIndex() < 0 && CmbTiffList->count() > 0) CmbTiffList->setCurrentIndex(0);
}

void TSaveOpForm::AcceptIniControl(QWidget* Control, bool& Accept) {
  // These show live settings (the GIF writer's options, the layered file's
  // compression), which the last stored choice must not hide.
  if (Control == CBEntrelacer2 || Control == CBPalette || Control == CBCompressLMI) Accept = false;
}

void TSaveOpForm::TBNChange() { LblN->setText(::Format(Tr(TrId::GetTrFmtCompress), {TBN->Position()})); }

// The preview is written by the writer the save will run, with the same
// resolution, comment and metadata, so that the size it tells is the size
// of the file the save writes.
int64_t TSaveOpForm::WritePreviewFile(const QString& Path, TBitmap& Bitmap) {
  const int Quality = TBN->Position();
  const bool Progressive = RBProgressif->isChecked();
  const QString Comment = OptionsOE.XComment;
  const TMetadata Metadata = OptionsOE.XMetadata;
  if (!SaveExif()) ClearOptionsMetadata();
  TImageIOEvent Hook = std::exchange(ImageIOHook, [=](const TImageIOSender& Sender, const QString&, bool& Continue,
                                                      TImageIOStage Event) {
    if (Event == ieBeforeSave) ApplyJpegChoices(Sender, Quality, Progressive);
    Continue = true;
  });
  struct TRestore {
    TImageIOEvent& Saved;
    const QString& Comment;
    const TMetadata& Metadata;
    ~TRestore() {
      ImageIOHook = std::move(Saved);
      OptionsOE.XComment = Comment;
      OptionsOE.XMetadata = Metadata;
    }
  } Restore{Hook, Comment, Metadata};
  const TImageIOResult Result = WriteImageFile(Path, Bitmap);
  if (Result != iorDone) {
    QFile::remove(Path);
    throw std::runtime_error("The JPEG preview could not be written to " + QFile::encodeName(Path).toStdString());
  }
  return QFileInfo(Path).size();
}

void TSaveOpForm::BApercuClick() {
  TMyImageLayeredView* View = ActiveView();
  if (!View) return;
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  struct TRestore {
    ~TRestore() {
      QGuiApplication::restoreOverrideCursor();
      SetProgressPasses(1);
    }
  } Restore;
  LblStatut->setText(Tr(TrId::GetTrStaProcessing) + QStringLiteral("..."));
  LblStatut->repaint();

  TMyImageLayered& Image = View->Image();
  View->DisableLayersPainting = true;
  FPreviewView = View;
  Image.MergeLayersForPreview(false);
  SetProgressPasses(2);

  // A temporary folder that does not exist comes back as an empty path,
  // which must not send the scratch file to the working folder.
  const QString Folder = QDir::tempPath();
  if (Folder.isEmpty()) throw std::runtime_error(std::string("No temporary folder for ") + JpegPreviewFileName);
  const QString Path = QDir(Folder).filePath(QString::fromLatin1(JpegPreviewFileName));
  const int64_t Size = WritePreviewFile(Path, Image.Bitmap());
  TJPEGImage Jpeg;
  try {
    Jpeg.LoadFromFile(Path);
  } catch (...) {
    QFile::remove(Path);
    throw;
  }
  QFile::remove(Path);

  Image.Bitmap().Assign(Jpeg.Bitmap());
  Image.Bitmap().SetPixelFormat(pf24bit);
  View->Invalidate();
  LblStatut->setText(::Format(Tr(TrId::GetTrFmtFileSize), {FormatByteSize(Size, false)}));
}

void TSaveOpForm::FormHide() {
  if (FFormat == spJpeg && FPreviewView && FPreviewView->DisableLayersPainting) {
    FPreviewView->DisableLayersPainting = false;
    FPreviewView->Invalidate();
  }
  FPreviewView = nullptr;
}

bool TSaveOpForm::SaveExif() const { return !CBExif->isHidden() && CBExif->isChecked(); }

TInterlaceMethod TSaveOpForm::PngEntrelacement() const { return CBEntrelacer->isChecked() ? imAdam7 : imNone; }

TPngFilters TSaveOpForm::PngFiltres() const {
  const int I = RBFiltres->ItemIndex();
  return I >= 0 && I < int(FilterSets.size()) ? FilterSets[size_t(I)] : PngFilterSub;
}

void TSaveOpForm::CBCompressTiffClick() { CmbTiffList->setEnabled(CBCompressTiff->isChecked()); }

int TSaveOpForm::TiffCompression() const {
  if (!CBCompressTiff->isChecked()) return TiffNone;
  const QVariant Flag = CmbTiffList->currentData();
  return Flag.isValid() ? Flag.toInt() : TiffDefault;
}

void TSaveOpForm::BOkClick() { CloseOk(); }

TSaveOpForm& SaveOpForm() {
  if (!Form) Form = new TSaveOpForm();
  return *Form;
}

void FreeSaveOpForm() { delete Form.data(); }

// ---- The routines --------------------------------------------------------------------------------

bool AskOwnFormatOptions() {
  TSaveOpForm& F = SaveOpForm();
  if (!F.SetFormat(spLMI)) return false;
  SetLayerCompression(F.CBCompressLMI->isChecked() ? 1 : 0);
  return true;
}

bool AskJpegOptions(const TImageIOSender& Graphic) {
  TSaveOpForm& F = SaveOpForm();
  if (!F.SetFormat(spJpeg)) return false;
  if (!F.SaveExif()) ClearOptionsMetadata();
  ApplyJpegChoices(Graphic, F.TBN->Position(), F.RBProgressif->isChecked());
  return true;
}

bool AskPngOptions(TMyPngImage& Graphic) {
  TSaveOpForm& F = SaveOpForm();
  if (!F.SetFormat(spPng)) return false;
  ApplyPngChoices(Graphic, F.PngFiltres(), F.PngEntrelacement(), F.CBOptimiser->isChecked() ? 9 : 7);
  return true;
}

bool AskGifOptions() {
  TSaveOpForm& F = SaveOpForm();
  if (!F.SetFormat(spGif)) return false;
  OptionsOE.GIFInterlaced = F.CBEntrelacer2->isChecked();
  OptionsOE.GIFOptimizeColorMap = F.CBPalette->isChecked();
  return true;
}

bool AskTargaOptions(TFreeBitmap& Graphic) {
  TSaveOpForm& F = SaveOpForm();
  if (!F.SetFormat(spTarga)) return false;
  Graphic.SetTargaRle(F.CBTargaRLE->isChecked());
  return true;
}

bool AskTiffOptions(TFreeBitmap& Graphic) {
  TSaveOpForm& F = SaveOpForm();
  if (!F.SetFormat(spTiff)) return false;
  Graphic.SetTiffCompression(F.TiffCompression());
  return true;
}

bool GetOwnFormatSaveOptions() {
  if (!SaveDefaultOn()) return AskOwnFormatOptions();
  SetLayerCompression(1);
  return true;
}

bool GetJpegSaveOptions(const TImageIOSender& Graphic) {
  if (!SaveDefaultOn() && !OptionsOE.SilentMode) return AskJpegOptions(Graphic);
  ApplyJpegChoices(Graphic, 90, false);
  return true;
}

bool GetPngSaveOptions(TMyPngImage& Graphic) {
  if (!SaveDefaultOn() && !OptionsOE.SilentMode) return AskPngOptions(Graphic);
  ApplyPngChoices(Graphic, PngFilterSub, imNone, 7);
  return true;
}

bool GetGifSaveOptions() {
  if (!SaveDefaultOn()) return AskGifOptions();
  OptionsOE.GIFInterlaced = false;
  OptionsOE.GIFOptimizeColorMap = true;
  return true;
}

bool GetTargaSaveOptions(TFreeBitmap& Graphic) {
  if (!SaveDefaultOn()) return AskTargaOptions(Graphic);
  Graphic.SetTargaRle(false);
  return true;
}

bool GetTiffSaveOptions(TFreeBitmap& Graphic) {
  if (!SaveDefaultOn()) return AskTiffOptions(Graphic);
  Graphic.SetTiffCompression(TiffDefault);
  return true;
}

bool SetWebpOptions(TFreeBitmap& Graphic) {
  Graphic.SetWebpQuality(SavePixelFormat() == pf32bit ? -1 : 0);
  return true;
}
