#include "filters/ui/VarianteForm.h"

#include "filters/Filtres24.h"
#include "filters/ui/ColorDialogHost.h"
#include "filters/ui/DialogTexts.h"
#include "filters/ui/FilterHost.h"
#include "filters/ui/HueRamp.h"
#include "i18n/LibLang.h"
#include "raster/Bitmap24.h"
#include "raster/ColorFill.h"
#include "raster/ColorUtils.h"
#include "raster/ImgUtils.h"
#include "raster/ImgUtils24.h"
#include "ui/DlgColors.h"
#include "ui/MyImage.h"
#include "ui/SimplePanel.h"
#include "ui/TrackBar.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

#include <cmath>

void VarianteColors24(TBitmap& Bitmap, bool Colorize, TColor Color, const TRect& Rect) {
  if (!Colorize) {
    ColorizeColor24(Bitmap, Color, Rect);
    return;
  }
  Grayscale24(Bitmap, Rect);
  FillColor24(Bitmap, Color, 12, Rect);
  Contrast24(Bitmap, 17, Rect);
  Saturation24(Bitmap, 33, Rect);
}

TVarianteForm::TVarianteForm(QWidget* Parent) : TMainDialogForm(Parent) {
  setObjectName(QStringLiteral("VarianteForm"));
  if (TFilterHost* H = FilterHost()) setWindowTitle(H->TitreMenu(QStringLiteral("MenuFiltreVariante")));
  DialogMode = TMainDialogMode::dmModal;
  const int Left = Rescale(16), Width = Rescale(240);
  LblN = new QLabel(this);
  LblN->move(Left, Rescale(16));
  PnlCouleur = new TSimplePanel(this);
  PnlCouleur->setGeometry(Left + Rescale(60), Rescale(12), Rescale(60), Rescale(21));
  PnlCouleur->SetBevelWidth(1);
  PnlCouleur->SetBevelColor(clDlgBorder);
  TBN = new TTrackBar(this);
  TBN->setObjectName(QStringLiteral("TBN"));
  TBN->setRange(0, 359);
  TBN->setPageStep(10);
  TBN->setGeometry(Left - Rescale(6), Rescale(40), Width + Rescale(12), Rescale(28));
  TBN->SetPosition(50);
  PrepareTrackBar(TBN);
  ImgDegrade = new MyImage::TMyImage(this);
  ImgDegrade->setGeometry(Left, TBN->y() + TBN->height() + Rescale(4), Width, Rescale(16));
  DrawHueRamp(ImgDegrade->Bitmap(), ImgDegrade->width(), ImgDegrade->height());
  ImgDegrade->UpdateBitmap();
  ImgDegrade->setCursor(Qt::CrossCursor);
  ImgDegrade->installEventFilter(this);
  ScaleX = ImgDegrade->width() / 360.0;
  RB1 = new QRadioButton(Tr(TrId::GetTrMnuWatercolor1) + QStringLiteral(" / ") + TrOr(TrId::GetTrMnuColorize, u"Coloriser"), this);
  RB1->setObjectName(QStringLiteral("RB1"));
  RB1->setGeometry(Left, ImgDegrade->y() + ImgDegrade->height() + Rescale(16), Width, Rescale(17));
  RB1->setChecked(true);
  RB2 = new QRadioButton(Tr(TrId::GetTrMnuWatercolor2) + QStringLiteral(" / ") + Tr(TrId::HueLabel), this);
  RB2->setObjectName(QStringLiteral("RB2"));
  RB2->setGeometry(Left, RB1->y() + Rescale(24), Width, Rescale(17));
  ImgApercu = new MyImage::TMyImage(this);
  ImgApercu->setGeometry(Left + Width + Rescale(16), Rescale(12), Rescale(200), Rescale(150));
  const auto MakeButton = [this](TrId Id, const char16_t* French, int X, int Y) {
    auto* B = new QPushButton(TrOr(Id, French), this);
    B->setAutoDefault(false);
    B->setGeometry(X, Y, Rescale(75), Rescale(25));
    return B;
  };
  const int ButtonsTop = std::max(RB2->y() + RB2->height(), ImgApercu->y() + ImgApercu->height()) + Rescale(16);
  BAnnuler = MakeButton(TrId::GetTrBtnCancel, u"Annuler", ImgApercu->x() + ImgApercu->width() - Rescale(75), ButtonsTop);
  BOk = MakeButton(TrId::GetTrBtnOk, u"Ok", BAnnuler->x() - Rescale(83), ButtonsTop);
  setFixedSize(ImgApercu->x() + ImgApercu->width() + Left, ButtonsTop + Rescale(25) + Left);
  OkButton = BOk;
  CancelButton = BAnnuler;

  connect(TBN, &QSlider::valueChanged, this, [this] { HueChanged(); });
  TBN->OnKeyUp = [this](TTrackBar*, int, Qt::KeyboardModifiers) { PreviewVariante(PnlCouleur->Color()); };
  for (QRadioButton* B : {RB1, RB2})
    connect(B, &QRadioButton::toggled, this, [this](bool On) {
      if (On) PreviewVariante(PnlCouleur->Color());
    });
  connect(BOk, &QPushButton::clicked, this, [this] {
    CloseOk();
    ApplyVariante();
  });
  connect(BAnnuler, &QPushButton::clicked, this, [this] { close(); });
  HueChanged();
}

TVarianteForm::~TVarianteForm() = default;

void TVarianteForm::HueChanged() {
  LblN->setText(QString::number(TBN->Position()) + QChar(0x00B0));
  LblN->adjustSize();
  PnlCouleur->SetColor(HSVToColor(TBN->Position(), 255, 255));
}

bool TVarianteForm::eventFilter(QObject* Watched, QEvent* Event) {
  if (Watched == ImgDegrade && Event->type() == QEvent::MouseButtonPress) {
    const int X = static_cast<QMouseEvent*>(Event)->position().toPoint().x();
    TBN->SetPosition(std::clamp(int(std::trunc(X / ScaleX)), 0, 359));
    PreviewVariante(PnlCouleur->Color());
  }
  return TMainDialogForm::eventFilter(Watched, Event);
}

void TVarianteForm::UpdateControls() {
  MakeVariantePreview();
  PreviewVariante(PnlCouleur->Color());
}

void TVarianteForm::MakeVariantePreview() {
  TFilterHost* H = FilterHost();
  TColorDialogHost* C = ColorDialogHost();
  Mask.reset();
  MaskSel.reset();
  BmpOrigin.Assign(TBitmap(ImgApercu->width(), ImgApercu->height(), pf24bit, clWhite));
  RApercu = {};
  if (!H || !C || !H->UneImage()) return;
  RApercu = DrawThumbnail24(H->LeBitmap(), BmpOrigin, clWhite, 2, 4, clDlgPanel);
  ImgApercu->SetBitmap(BmpOrigin);
  if (RApercu.Width() <= 0 || !CropBitmapTo(BmpOrigin, BmpOrigin, RApercu)) return;
  if (C->HasAlpha()) {
    Mask = std::make_unique<TBitmap>();
    StretchBitmap(BmpOrigin.Width(), BmpOrigin.Height(), TStretchMode::smBilinear, H->LeMasque(), *Mask);
  }
  if ((MaskSel = C->SelectionMask()))
    StretchBitmap(BmpOrigin.Width(), BmpOrigin.Height(), TStretchMode::smBilinear, *MaskSel, *MaskSel);
}

void TVarianteForm::PreviewVariante(TColor Color) {
  if (RApercu.Width() <= 0) return;
  TBitmap& Picture = ImgApercu->Bitmap();
  const TRect Thumb{0, 0, BmpOrigin.Width(), BmpOrigin.Height()};
  CopyRect24Mask(BmpOrigin, Thumb, Picture, RApercu.Left, RApercu.Top, RApercu, nullptr);
  VarianteColors24(Picture, RB1->isChecked(), Color, RApercu);
  // Only the selected part changes; transparent parts show white.
  if (MaskSel) CopyRect24Mask(BmpOrigin, Thumb, Picture, RApercu.Left, RApercu.Top, RApercu, MaskSel.get());
  if (Mask) FillColorAlpha24(*Mask, Thumb, Picture, RApercu.Left, RApercu.Top, RApercu, clWhite, 100);
  ImgApercu->UpdateBitmap();
}

void TVarianteForm::ApplyVariante() {
  TFilterHost* H = FilterHost();
  if (!H || !H->UneImage()) return;
  const TBusyAction Busy(*H);
  H->PreparerUndo(FilterUndoKind, windowTitle());
  VarianteColors24(H->LeBitmap(), RB1->isChecked(), PnlCouleur->Color(), H->LaSelection());
  H->AppliquerMasqueSel(1);
  H->RefreshBitmap();
  H->MarkModified();
  QPointer<TVarianteForm> Self(this);
  H->DernierFiltre(windowTitle(), this, [Self](QObject*) {
    if (Self) Self->ApplyVariante();
  }, 0);
}

void TVarianteForm::FormHide() {
  BmpOrigin.Assign(TBitmap());
  Mask.reset();
  MaskSel.reset();
  ImgApercu->SetBitmap(TBitmap());
}
