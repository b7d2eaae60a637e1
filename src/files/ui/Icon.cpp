#include "files/ui/Icon.h"

#include "document/MyImageLayered.h"
#include "files/IconImage.h"
#include "files/ui/BmpOE2.h"
#include "i18n/Format.h"
#include "i18n/LibLang.h"
#include "raster/FoncUtils.h"
#include "raster/ImgUtils24.h"
#include "ui/CompUtils.h"
#include "ui/MsgDlg.h"
#include "ui/MyImage.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

namespace {

constexpr int PreviewSide = 256;
constexpr int SizeEntry32 = 1;

} // namespace

TIconForm::TIconForm(TIconExportHost& Host, QWidget* Parent) : TMainDialogForm(Parent), FHost(Host) {
  setObjectName(QStringLiteral("IconForm"));
  DialogMode = TMainDialogMode::dmModal;
  setWindowTitle(QStringLiteral("Exportation en icône"));

  LstSize = Named(new QListWidget(this), "LstSize");
  LstSize->addItems({QStringLiteral("16 x 16"), QStringLiteral("32 x 32"), QStringLiteral("48 x 48"),
                     QStringLiteral("64 x 64"), QStringLiteral("96 x 96"), QStringLiteral("128 x 128"),
                     QStringLiteral("256 x 256")});
  LstSize->setFixedWidth(Rescale(100));
  PnlImage = Named(new QFrame(this), "PnlImage");
  PnlImage->setFrameStyle(QFrame::Panel | QFrame::Raised);
  PreviewImage = Named(new MyImage::TMyImage(PnlImage), "PreviewImage");
  PreviewImage->SetCenter(true);
  PreviewImage->setFixedSize(PreviewSide, PreviewSide);
  auto* PanelLayout = new QVBoxLayout(PnlImage);
  PanelLayout->addWidget(PreviewImage, 0, Qt::AlignCenter);
  cb16M = Named(new QCheckBox(QStringLiteral("Couleurs RVB"), this), "cb16M");
  BSauver = Named(new QPushButton(QStringLiteral("Exporter"), this), "BSauver");
  BAnnuler = Named(new QPushButton(QStringLiteral("Fermer"), this), "BAnnuler");
  if (TranslationLoaded()) {
    if (const QString Title = FHost.TitreMenu(QStringLiteral("MenuExportIcone")); !Title.isEmpty())
      setWindowTitle(Title);
    if (!Tr(TrId::GetTrBtnExport).isEmpty()) BSauver->setText(Tr(TrId::GetTrBtnExport));
    if (!Tr(TrId::GetTrMnuClose).isEmpty()) BAnnuler->setText(Tr(TrId::GetTrMnuClose));
  }

  auto* Main = new QVBoxLayout(this);
  auto* Top = new QHBoxLayout;
  auto* Left = new QVBoxLayout;
  Left->addWidget(LstSize, 1);
  Left->addWidget(cb16M);
  Top->addLayout(Left);
  Top->addSpacing(Rescale(8));
  Top->addWidget(PnlImage);
  Main->addLayout(Top);
  auto* Buttons = new QHBoxLayout;
  Buttons->addStretch(1);
  Buttons->addWidget(BSauver);
  Buttons->addSpacing(Rescale(12));
  Buttons->addWidget(BAnnuler);
  Main->addLayout(Buttons);
  OkButton = BSauver;
  CancelButton = BAnnuler;
  BSauver->setDefault(true);

  connect(LstSize, &QListWidget::currentRowChanged, this, [this] {
    if (!Updating) LstSizeClick();
  });
  connect(BSauver, &QPushButton::clicked, this, [this] { BSauverClick(); });
  connect(BAnnuler, &QPushButton::clicked, this, [this] { close(); });
}

int TIconForm::IconSize() const { return IconSizeOfIndex(LstSize->currentRow()); }

TIconFormat TIconForm::IconColorDepth() const {
  const TMyImageLayered* Image = FHost.ActiveImage();
  return ::IconColorDepth(
      {FHost.ModeRGBA(), IconSize(), FHost.Mode16M() || cb16M->isChecked(), Image ? Image->ColorCount : 0});
}

void TIconForm::UpdateControls() {
  LstSize->setCurrentRow(SizeEntry32);
  UpdateColorOption();
  UpdatePreview();
}

void TIconForm::LstSizeClick() {
  UpdateColorOption();
  UpdatePreview();
}

void TIconForm::UpdateColorOption() {
  const bool Alpha = FHost.ModeRGBA() || IconSize() == 256;
  const QString Caption = FHost.TitreMenu(Alpha ? QStringLiteral("MenuModeRGBA") : QStringLiteral("MenuModeRGB"));
  if (!Caption.isEmpty()) cb16M->setText(Caption);
  const bool Forced = Alpha || FHost.Mode16M();
  cb16M->setEnabled(!Forced);
  if (Forced) cb16M->setChecked(true);
}

void TIconForm::UpdatePreview() {
  TMyImageLayered* Image = FHost.ActiveImage();
  if (!Image || Image->Layers().Count() == 0) {
    PreviewImage->SetBitmap(TBitmap());
    return;
  }
  Image->BackColor = clBtnFace;
  Image->MergeLayersForPreview(false);
  Image->BackColor = clWhite;
  const TBitmap& Merged = Image->Bitmap();
  int W = Merged.Width();
  int H = Merged.Height();
  FitSize(W, H, IconSize(), IconSize());
  TBitmap Preview;
  StretchBitmap(std::max(W, 1), std::max(H, 1),
                Image->Layers()[0].Bitmap().Transparent ? TStretchMode::smNearest : TStretchMode::smBilinear, Merged,
                Preview);
  PreviewImage->SetBitmap(Preview);
}

void TIconForm::FormHide() { PreviewImage->SetBitmap(TBitmap()); }

void TIconForm::BSauverClick() {
  const QString Proposed = QFileInfo(FHost.ActiveFileName()).completeBaseName() + QStringLiteral(".ico");
  const QString Name = SaveFileDialogExt(Proposed, Tr(TrId::GetFltIconFile), FHost.SaveFolder(), windowTitle());
  if (Name.isEmpty()) return;
  // The choices are read before closing: the hidden form empties its preview.
  const int Size = IconSize();
  const TIconFormat Depth = IconColorDepth();
  CloseOk();
  SaveIcon(Name, Size, Depth);
}

bool TIconForm::SaveIcon(const QString& FileName, int Size, TIconFormat Depth) {
  const TMyImageLayered* Image = FHost.ActiveImage();
  if (!Image || Image->Layers().Count() == 0) return false;
  QString Reason;
  try {
    TIconImage Icon;
    BuildIconBitmap(Image->Layers()[0], Size, Depth, Icon);
    Icon.IconFormat = Depth;
    Icon.SaveToFile(FileName);
    return true;
  } catch (const std::exception& E) {
    Reason = QString::fromUtf8(E.what());
  }
  ShowMsgDlg(Format(Tr(TrId::GetOeMsgErrorSaving), {FileName}) + u'\n' + Reason, mdkError, {mdbOk});
  return false;
}
