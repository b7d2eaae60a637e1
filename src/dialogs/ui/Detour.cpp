#include "dialogs/ui/Detour.h"

#include "dialogs/Detourage.h"
#include "dialogs/ui/DialogParts.h"
#include "dialogs/ui/EditDialogHost.h"
#include "dialogs/ui/ImageResize.h"
#include "document/ViewGeometry.h"
#include "document/ui/MyCustomImage.h"
#include "document/ui/Past.h"
#include "filters/Blur24.h"
#include "filters/Filtres24.h"
#include "i18n/Format.h"
#include "raster/Bitmap24.h"
#include "raster/GreyMasks.h"
#include "raster/RectUtils.h"
#include "ui/RadioGroup.h"
#include "ui/TrackBar.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

TRadioGroup* NewGroup(QWidget* Parent, const char* Name, const QString& Title, const QStringList& Items) {
  auto* G = new TRadioGroup(Parent);
  G->setObjectName(QString::fromLatin1(Name));
  G->setTitle(u' ' + Title + u' ');
  G->SetItems(Items);
  SetRadioIndexSilent(G, 1);
  return G;
}

} // namespace

TDetourForm::TDetourForm(QWidget* Parent) : TMainDialogForm(Parent) {
  setObjectName(QStringLiteral("DetourForm"));
  setWindowTitle(DialogTitle("MenuEditionDetourage", QStringLiteral("Détourage optimisé")));
  DialogMode = TMainDialogMode::dmModal;
  IniOptions = ioValue | ioNoEvent;
  auto* Main = new QHBoxLayout(this);
  ImagePanel = new QWidget(this);
  ImagePanel->setObjectName(QStringLiteral("_ImagePanel"));
  auto* ImageLayout = new QVBoxLayout(ImagePanel);
  ImageLayout->setContentsMargins(0, 0, 0, 0);
  Main->addWidget(ImagePanel, 1);
  OptionsPanel = new QWidget(this);
  OptionsPanel->setObjectName(QStringLiteral("OptionsPanel"));
  auto* Options = new QVBoxLayout(OptionsPanel);
  Main->addWidget(OptionsPanel);

  auto* Auto = new QGroupBox(u' ' + TrText(TrId::GetTrLblFindEdges, QStringLiteral("Détection de contour")) + u' ',
                             OptionsPanel);
  Auto->setObjectName(QStringLiteral("GBAuto"));
  auto* AutoLayout = new QVBoxLayout(Auto);
  LblN = new QLabel(Auto);
  TBN = NewTrackBar(Auto, "TBN", 0, 100, 5, 12);
  AutoLayout->addWidget(LblN);
  AutoLayout->addWidget(TBN);
  const auto Direction = [&](const char* Name, TrId Id, const char* French) {
    auto* B = new QRadioButton(TrText(Id, QString::fromUtf8(French)), Auto);
    B->setObjectName(QString::fromLatin1(Name));
    AutoLayout->addWidget(B);
    return B;
  };
  RBHorz = Direction("RBHorz", TrId::GetTrLblHorz, "Horizontal");
  RBVert = Direction("RBVert", TrId::GetTrLblVert, "Vertical");
  RBAll = Direction("RBAll", TrId::GetTrLblBoth, "Bidirectionnel");
  RBAll->setChecked(true);
  CBOptimised = new QCheckBox(TrText(TrId::GetTrLblOptimize, QStringLiteral("Optimiser")), Auto);
  CBOptimised->setObjectName(QStringLiteral("CBOptimised"));
  AutoLayout->addWidget(CBOptimised);
  Options->addWidget(Auto);
  RGEffet = NewGroup(OptionsPanel, "RGEffet", TrText(TrId::GetTrLblEffect, QStringLiteral("Effet")),
                     {TrText(TrId::GetTrLblNone, QStringLiteral("Aucun")),
                      TrText(TrId::GetTrLblAntialiasing, QStringLiteral("Lissage")),
                      TrText(TrId::GetTrMnuBlur, QStringLiteral("Flou")),
                      TrText(TrId::GetTrMnuProgressiveContour, QStringLiteral("Contour progressif")),
                      TrText(TrId::GetTrMnuDiffuse, QStringLiteral("Diffusion"))});
  Options->addWidget(RGEffet);
  RGResultat = NewGroup(OptionsPanel, "RGResultat", TrText(TrId::GetTrLblResult, QStringLiteral("Résultat")),
                        {TrText(TrId::GetTrLblSendToClipboard, QStringLiteral("Envoyer vers le presse-papiers")),
                         TrText(TrId::GetTrLblNewImage, QStringLiteral("Créer une nouvelle image"))});
  Options->addWidget(RGResultat);
  BApercu = new QPushButton(TrText(TrId::GetTrBtnPreview, QStringLiteral("Aperçu")), OptionsPanel);
  BApercu->setObjectName(QStringLiteral("BApercu"));
  Options->addWidget(BApercu);
  Options->addStretch(1);
  const TOkCancel Buttons = AddOkCancel(*this, *Options);
  BOk = Buttons.BOk;
  BAnnuler = Buttons.BAnnuler;
  TBNChange();

  TBN->OnChange = [this](QObject*) { TBNChange(); };
  for (QRadioButton* B : {RBHorz, RBVert, RBAll})
    connect(B, &QRadioButton::toggled, this, [this](bool On) {
      if (On) OptionClick();
    });
  connect(CBOptimised, &QCheckBox::toggled, this, [this] { OptionClick(); });
  RGEffet->OnClick = [this](QObject*) { OptionClick(); };
  connect(BApercu, &QPushButton::clicked, this, [this] { BApercuClick(); });
  connect(BOk, &QPushButton::clicked, this, [this] { BOkClick(); });
}

TDetourForm::~TDetourForm() = default;

void TDetourForm::TBNChange() {
  LblN->setText(Format(Tr(TrId::GetTrFmtTolerance), {TBN->Position()}));
  Changed = true;
}

void TDetourForm::OptionClick() { Changed = true; }

void TDetourForm::SizeDialog() {
  // Room for the crop beside the options, within the main window.
  const int Margin = 8, Options = OptionsPanel->sizeHint().width(), Button = BApercu->sizeHint().height();
  int W = std::max(WorkRect.Width() + Options + 2 * Margin + 2, 2 * (Options + Margin));
  int H = std::max(WorkRect.Height() + Button + 3 * Margin + 2, OptionsPanel->sizeHint().height() + 2 * Margin);
  if (const QWidget* Owner = parentWidget()) {
    W = std::min(W, Owner->width() - 128);
    H = std::min(H, Owner->height() - 128);
  }
  resize(std::max(W, 2 * (Options + Margin)), std::max(H, OptionsPanel->sizeHint().height()));
  if (const QWidget* Owner = parentWidget())
    move(Owner->mapToGlobal(Owner->rect().center()) - QPoint(width() / 2, height() / 2));
}

void TDetourForm::CropLayer(TBitmap& Crop) const {
  const TBitmap& Layer = ImageDialogHost()->LeBitmap();
  NewBitmap24(Crop, WorkRect.Width(), WorkRect.Height(), clWhite);
  CopyRect24(Layer, WorkRect, Crop, 0, 0, WholeBitmapRect);
}

bool TDetourForm::PrepareImages() {
  TImageDialogHost* Host = ActiveImageDialogHost();
  TEditDialogHost* Edit = EditDialogHost();
  if (!Host || !Edit) return false;
  WorkRect = Edit->LaSelection();
  if (!ClipToBitmap(WorkRect, Host->LeBitmap())) return false;
  TSelMaskHost& Masks = Edit->SelMasks();
  std::unique_ptr<TBitmap> Work = SelectionMaskOfRect(Masks, WorkRect, Masks.Sel() && Masks.Sel()->Invert(), false);
  if (!Work) return false;
  CreateCheckerBitmap(8, BkgBrush);
  CropLayer(MyImage->Bitmap());
  Mask.Swap(*Work);
  // Transparent pixels of the layer are never taken either.
  if (HasAlpha(Masks)) CombineMaskMax(Host->LeMasque(), Mask, -WorkRect.Left, -WorkRect.Top, WholeBitmapRect);
  MaskDest.Assign(Mask);
  MyImage->BitmapChanged();
  return true;
}

void TDetourForm::FormShow() {
  Changed = true;
  MyImage = new TMyCustomImage(ImagePanel);
  MyImage->SetMarge(0);
  MyImage->Centered = true;
  ImagePanel->layout()->addWidget(MyImage);
  if (!PrepareImages()) return;
  SizeDialog();
  ShowPreview();
}

// After an Ok the result is made from the images first (BOkClick).
void TDetourForm::FormHide() {
  if (!DialogOk) ReleaseImages();
}

void TDetourForm::ReleaseImages() {
  delete MyImage;
  MyImage = nullptr;
  BkgBrush.Assign(TBitmap());
  Mask.Assign(TBitmap());
  MaskDest.Assign(TBitmap());
}

void TDetourForm::ShowPreview() {
  if (!MyImage || MaskDest.Empty()) return;
  // Every removed pixel shows the checkerboard.
  TBitmap Kept;
  Kept.Assign(MaskDest);
  Negative24(Kept, WholeBitmapRect);
  FillPatternMask24(Kept, WholeBitmapRect, MyImage->Bitmap(), 0, 0, WholeBitmapRect, BkgBrush, 100);
  MyImage->InvalidateView();
}

void TDetourForm::RestoreView() {
  if (MyImage) CropLayer(MyImage->Bitmap());
}

void TDetourForm::Compute() {
  if (!MyImage || Mask.Empty()) return;
  RestoreView();
  DetourageFill(MyImage->Bitmap(), Mask, TBN->Position(), !RBVert->isChecked(), !RBHorz->isChecked(),
                CBOptimised->isChecked(), WholeBitmapRect, MaskDest);
  // Shrinking the kept part by n lets the removed part bite n pixels into
  // the object before the edge is softened.
  switch (RGEffet->ItemIndex()) {
  case 1:
    GrowShrinkMask(MaskDest, -1, WholeBitmapRect, false);
    FeatherMask(MaskDest, WholeBitmapRect, 33);
    break;
  case 2:
    GrowShrinkMask(MaskDest, -1, WholeBitmapRect, false);
    Soften24(MaskDest, 100, true, WholeBitmapRect);
    break;
  case 3:
    GrowShrinkMask(MaskDest, -3, WholeBitmapRect, false);
    GaussianBlurRadius(MaskDest, 6, WholeBitmapRect);
    break;
  case 4:
    GrowShrinkMask(MaskDest, -2, WholeBitmapRect, false);
    Diffuse24(MaskDest, 4, 0, WholeBitmapRect);
    break;
  default:
    break;
  }
  Changed = false;
  ShowPreview();
}

void TDetourForm::BApercuClick() {
  TImageDialogHost* Host = ActiveImageDialogHost();
  if (!Changed || !Host) return;
  TActionScope Action(*Host);
  Compute();
}

void TDetourForm::ResultNewImage() {
  TImageDialogHost& Host = *ImageDialogHost();
  const double Resolution = Host.Image().ResolutionX;
  TMyImageLayered Doc;
  TBitmap Crop;
  CropLayer(Crop);
  Doc.AddBackground(&Crop, &MaskDest, QStringLiteral("#0"));
  if (TMyImageLayered* Made = Host.NouvelleImage(Doc)) {
    Made->ResolutionX = Resolution;
    Host.AfficherInfos();
    Host.MajMenus();
  }
}

void TDetourForm::ResultClipboard() {
  TBitmap Crop;
  CropLayer(Crop);
  ClipboardData().Assign(&Crop, &MaskDest, ImageDialogHost()->Image().ResolutionX);
}

void TDetourForm::BOkClick() {
  if (!MyImage || MaskDest.Empty()) {
    close();
    return;
  }
  CloseOk();
  BApercuClick();
  if (RGResultat->ItemIndex() == 1)
    ResultNewImage();
  else
    ResultClipboard();
  ReleaseImages();
}
