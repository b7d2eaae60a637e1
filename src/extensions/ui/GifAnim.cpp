#include "extensions/ui/GifAnim.h"

#include "dialogs/ui/DialogParts.h"
#include "document/Calque.h"
#include "document/ViewGeometry.h"
#include "files/ui/BmpOE2.h"
#include "i18n/Format.h"
#include "platform/Win1252.h"
#include "ui/CompUtils.h"
#include "ui/MsgDlg.h"
#include "ui/SpinEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

namespace {

constexpr int DefaultDelay = 100;

} // namespace

TGifAnimForm::TGifAnimForm(TGifAnimHost& Host, QWidget* Parent) : TMainDialogForm(Parent), FHost(Host) {
  setObjectName(QStringLiteral("GifAnimForm"));
  const QString Title = TranslationLoaded() ? FHost.TitreMenu(QStringLiteral("MenuGifAnim")) : QString();
  setWindowTitle(Title.isEmpty() ? QStringLiteral("Gif animé") : Title);
  DialogMode = TMainDialogMode::dmModal;
  IniOptions = ioPosition;

  auto* Main = new QVBoxLayout(this);
  auto* Grid = new QGridLayout;
  CmbImages = Named(new QComboBox(this), "CmbImages");
  Grid->addWidget(CmbImages, 0, 0, 1, 3);
  const QString DelayCaption = TranslationLoaded() && !Tr(TrId::GetTrLblDelay).isEmpty()
                                   ? Tr(TrId::GetTrLblDelay) + QStringLiteral(" (1/100 s) :")
                                   : QStringLiteral("Durée (1/100 s) :");
  Grid->addWidget(new QLabel(DelayCaption, this), 1, 0);
  SEDelai = NewSpinEdit2(this, "SEDelai", 0, 999, DefaultDelay, 3);
  Grid->addWidget(SEDelai, 1, 1);
  LblDelai = Named(new QLabel(TrText(TrId::GetTrLblDelay2, QStringLiteral("<== Entrez 0 pour ignorer ce calque")),
                              this),
                   "LblDelai");
  LblDelai->setTextFormat(Qt::PlainText);
  LblDelai->hide();
  Grid->addWidget(LblDelai, 1, 2);
  Main->addLayout(Grid);

  const auto Box = [&](const char* Name, TrId Id, const char* French, bool Checked) {
    auto* C = Named(new QCheckBox(TrText(Id, QString::fromUtf8(French)), this), Name);
    C->setChecked(Checked);
    return C;
  };
  const auto Radio = [&](const char* Name, TrId Id, const char* French) {
    return Named(new QRadioButton(TrText(Id, QString::fromUtf8(French)), this), Name);
  };
  RBNetscape = Radio("RBNetscape", TrId::WebPaletteCaption, "Web 216 couleurs");
  RBOptimiser = Radio("RBOptimiser", TrId::GetTrLblOptimizedPalette, "Palette optimisée");
  RBNetscape->setChecked(true);
  CBDiffuse = Box("CBDiffuse", TrId::GetTrLblDiffusion, "Diffusion", true);
  CBLoop = Box("CBLoop", TrId::GetTrLblLoop, "Boucler", true);
  CBTransp = Box("CBTransp", TrId::GetTrLblTransparent, "Transparence", false);
  CBrestoreBkg = Box("CBrestoreBkg", TrId::GetTrLblRestoreBkg, "Restaurer le fond", false);
  CBRogner = Box("CBRogner", TrId::GetTrMnuCropTransp, "Rogner les bords transparents", false);
  for (QWidget* W : std::initializer_list<QWidget*>{RBNetscape, RBOptimiser, CBDiffuse, CBLoop, CBTransp,
                                                    CBrestoreBkg, CBRogner})
    Main->addWidget(W);

  auto* Row = new QHBoxLayout;
  BApercu = Named(new QPushButton(TrText(TrId::GetTrBtnPreview, QStringLiteral("Aperçu")), this), "BApercu");
  BOk = Named(new QPushButton(TrText(TrId::GetTrBtnExport, QStringLiteral("Exporter")), this), "BOk");
  BAnnuler = Named(new QPushButton(TrText(TrId::GetTrBtnCancel, QStringLiteral("Annuler")), this), "BAnnuler");
  BApercu->setDefault(true);
  Row->addWidget(BApercu);
  Row->addStretch(1);
  Row->addWidget(BOk);
  Row->addWidget(BAnnuler);
  Main->addLayout(Row);
  OkButton = BOk;
  CancelButton = BAnnuler;
  DefaultControl = BApercu;

  SEDelai->OnChange = [this](QObject*) { SEDelaiChanged(); };
  connect(CmbImages, &QComboBox::activated, this, [this] { CmbImagesChange(); });
  // "Transparence" and "Restaurer le fond" exclude each other.
  connect(CBTransp, &QCheckBox::toggled, this, [this](bool On) {
    if (On) CBrestoreBkg->setChecked(false);
  });
  connect(CBrestoreBkg, &QCheckBox::toggled, this, [this](bool On) {
    if (On) CBTransp->setChecked(false);
  });
  connect(BApercu, &QPushButton::clicked, this, [this] { BApercuClick(); });
  connect(BOk, &QPushButton::clicked, this, [this] { BOkClick(); });
  connect(BAnnuler, &QPushButton::clicked, this, [this] { close(); });
}

void TGifAnimForm::UpdateControls() {
  if (!CBTransp->isEnabled()) CBTransp->setChecked(false);
}

void TGifAnimForm::AcceptIniControl(QWidget* Control, bool& Accept) {
  if (Control == SEDelai || Control == CmbImages) Accept = false;
}

int TGifAnimForm::EntryDelay(int Index) const { return CmbImages->itemData(Index).toInt(); }

void TGifAnimForm::SetEntryDelay(int Index, int Delay) { CmbImages->setItemData(Index, Delay); }

void TGifAnimForm::FillLayerList() {
  SEDelai->SetValue2(DefaultDelay);
  CmbImages->clear();
  CmbImages->addItem(Tr(TrId::GetOeAll), DefaultDelay);
  if (const TMyImageLayered* Image = FHost.ActiveImage())
    for (int I = 1; I < Image->Layers().Count(); ++I)
      CmbImages->addItem(Format(u"%d : %s", {I, Image->Layers()[I].DisplayCaption()}), DefaultDelay);
  CmbImages->setCurrentIndex(0);
  LblDelai->hide();
}

void TGifAnimForm::RestoreDelays() {
  const int Count = std::min(static_cast<int>(DelayList.size()), CmbImages->count());
  for (int I = 0; I < Count; ++I) SetEntryDelay(I, DelayList[static_cast<size_t>(I)]);
  if (Count > 0) SEDelai->SetValue2(EntryDelay(0));
}

void TGifAnimForm::SaveDelays() {
  DelayList.clear();
  for (int I = 0; I < CmbImages->count(); ++I) DelayList.push_back(EntryDelay(I));
}

void TGifAnimForm::EnsureSomeDelay() {
  for (int I = 1; I < CmbImages->count(); ++I)
    if (EntryDelay(I) > 0) return;
  if (CmbImages->count() > 1) SetEntryDelay(1, DefaultDelay);
}

void TGifAnimForm::FormShow() {
  FillLayerList();
  RestoreDelays();
  const TMyImageLayered* Image = FHost.ActiveImage();
  CBTransp->setEnabled(Image && AllLayersBitmapOrData(*Image));
  adjustSize();
}

void TGifAnimForm::FormHide() {
  DeleteGifPreviewFiles();
  SaveDelays();
}

void TGifAnimForm::SEDelaiChanged() {
  if (Updating || SEDelai->text().isEmpty()) return;
  const int Value = SEDelai->Value();
  if (CmbImages->currentIndex() <= 0) {
    for (int I = 0; I < CmbImages->count(); ++I) SetEntryDelay(I, Value);
  } else {
    SetEntryDelay(CmbImages->currentIndex(), Value);
  }
}

void TGifAnimForm::CmbImagesChange() {
  const int Index = std::max(CmbImages->currentIndex(), 0);
  SEDelai->SetValue2(EntryDelay(Index));
  if (LayerNavigator* Nav = FHost.LayerNav(); Nav && Index < Nav->Image().Layers().Count()) SelectLayer(*Nav, Index);
  LblDelai->setVisible(Index > 0);
}

TGifAnimOptions TGifAnimForm::Options() const {
  TGifAnimOptions O;
  for (int I = 0; I < CmbImages->count(); ++I) O.Delays.push_back(EntryDelay(I));
  O.Loop = CBLoop->isChecked();
  O.OptimizedPalette = RBOptimiser->isChecked();
  O.Diffuse = CBDiffuse->isChecked();
  O.Transparent = CBTransp->isEnabled() && CBTransp->isChecked();
  O.RestoreBkg = CBrestoreBkg->isChecked();
  O.Crop = CBRogner->isChecked();
  return O;
}

bool TGifAnimForm::BuildAnimatedGif(const QString& FileName) {
  const TMyImageLayered* Image = FHost.ActiveImage();
  if (!Image) return false;
  TGifAnimBuilder Builder(Options());
  try {
    Builder.BuildAnimatedGif(*Image, FileName);
  } catch (const std::exception&) {
    IsFullTransparent = false;
    return false;
  }
  IsFullTransparent = Builder.IsFullTransparent();
  return true;
}

void TGifAnimForm::BOkClick() {
  if (SEDelai->text().isEmpty()) {
    WarnEmptyFields();
    return;
  }
  EnsureSomeDelay();
  const QString Proposed = QFileInfo(FHost.ActiveFileName()).completeBaseName() + QStringLiteral(".gif");
  const QString Name = SaveFileDialogExt(Proposed, QString(), FHost.SaveFolder(), windowTitle());
  if (Name.isEmpty()) return;
  CloseOk();
  FHost.DebutAction(FHost.TitreMenu(QStringLiteral("MenuGifAnim")), true);
  const bool Done = BuildAnimatedGif(Name);
  FHost.FinAction();
  if (!Done) ShowMsgDlg(Format(Tr(TrId::GetOeMsgErrorSaving), {Name}), mdkError, {mdbOk});
}

void TGifAnimForm::BApercuClick() {
  if (SEDelai->text().isEmpty()) {
    WarnEmptyFields();
    return;
  }
  EnsureSomeDelay();
  PreviewAnimatedGif();
}

QString TGifAnimForm::PreviewFile(const char* Name) const {
  return QDir(FHost.TempFolder()).filePath(QString::fromLatin1(Name));
}

QStringList TGifAnimForm::PreviewPage(int Width, int Height) const {
  QString Options = (RBOptimiser->isChecked() ? RBOptimiser : RBNetscape)->text();
  for (const QCheckBox* Box : {CBDiffuse, CBLoop, CBTransp, CBrestoreBkg, CBRogner})
    if (Box->isChecked()) Options += QStringLiteral(" / ") + Box->text();
  QString Cell = QStringLiteral("<td");
  if (IsFullTransparent)
    Cell += QStringLiteral(" background=\"") + QString::fromLatin1(GifPreviewTileName) + u'"';
  return {QStringLiteral("<html>"),
          QStringLiteral("<head>"),
          QStringLiteral("<title>") + windowTitle() + QStringLiteral("</title>"),
          QStringLiteral("</head>"),
          QStringLiteral("<body bgcolor=\"#FFFFFF\">"),
          QStringLiteral("<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\" align=\"center\">"),
          Cell + u'>',
          Format(u"<img src=\"%s\" width=\"%d\" height=\"%d\">",
                 {QString::fromLatin1(GifPreviewName), Width, Height}),
          QStringLiteral("</td>"),
          QStringLiteral("</tr>"),
          QStringLiteral("</table>"),
          QStringLiteral("<p align=\"center\">"),
          Options,
          QStringLiteral("<br>"),
          Format(u"(%d x %d)", {Width, Height}),
          QStringLiteral("</p>"),
          QStringLiteral("</body>"),
          QStringLiteral("</html>")};
}

void TGifAnimForm::PreviewAnimatedGif() {
  const TMyImageLayered* Image = FHost.ActiveImage();
  if (!Image || Image->Layers().Count() == 0) return;
  FHost.DebutAction(TrText(TrId::GetTrBtnPreview, QStringLiteral("Aperçu")), true);
  const QString Gif = PreviewFile(GifPreviewName);
  // A failed build leaves no page that would show an older animation.
  if (!BuildAnimatedGif(Gif)) {
    DeleteGifPreviewFiles();
    FHost.FinAction();
    ShowMsgDlg(Format(Tr(TrId::GetOeMsgErrorSaving), {Gif}), mdkError, {mdbOk});
    return;
  }
  if (IsFullTransparent) {
    TBitmap Tile;
    CreateCheckerBitmap(8, Tile);
    TGIFImage TileGif;
    TileGif.Assign(Tile);
    try {
      TileGif.SaveToFile(PreviewFile(GifPreviewTileName));
    } catch (const std::exception&) {
      // Without its tile the page shows the animation on white.
    }
  }
  const TBitmap& Bkg = Image->Layers()[0].Bitmap();
  QFile Page(PreviewFile(GifPreviewPageName));
  bool Written = Page.open(QIODevice::WriteOnly | QIODevice::Truncate);
  for (const QString& Line : PreviewPage(Bkg.Width(), Bkg.Height()))
    Written = Written && Page.write((ToWin1252(Line) + "\r\n").c_str()) >= 0;
  Page.close();
  if (Written) FHost.OpenPage(Page.fileName());
  FHost.FinAction();
}

void TGifAnimForm::DeleteGifPreviewFiles() {
  for (const char* Name : {GifPreviewName, GifPreviewTileName, GifPreviewPageName}) QFile::remove(PreviewFile(Name));
}
