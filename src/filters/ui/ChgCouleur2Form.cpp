#include "filters/ui/ChgCouleur2Form.h"

#include "filters/Filtres24.h"
#include "filters/ui/HueRamp.h"
#include "i18n/Format.h"
#include "i18n/LibLang.h"
#include "raster/ColorUtils.h"
#include "ui/ColorEdit.h"
#include "ui/DlgColors.h"
#include "ui/MyImage.h"
#include "ui/SimplePanel.h"
#include "ui/TrackBar.h"

#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>

#include <cmath>

TChgCouleur2Form::TChgCouleur2Form(QWidget* Parent) : TColorPreviewForm(Parent) {
  setObjectName(QStringLiteral("ChgCouleur2Form"));
  if (TFilterHost* H = FilterHost()) setWindowTitle(H->TitreMenu(QStringLiteral("MenuReglageRemplacer2")));
  const int Left = Rescale(16), Width = Rescale(266);
  auto* L1 = new QLabel(Tr(TrId::GetTrLblColor1), this);
  L1->move(Left, Rescale(16));
  ColorEdit1 = new TColorEdit(this);
  ColorEdit1->setObjectName(QStringLiteral("ColorEdit1"));
  ColorEdit1->setGeometry(Left, Rescale(34), Rescale(89), ColorEdit1->sizeHint().height());
  ColorEdit1->SetColor(0xFFFF00);
  ColorEdit1->OnChange = [this](QObject*) { ParamChanged(true); };

  const auto MakeBar = [this, Left, Width](const char* Name, int Max, int Page, int Pos, int Top, QLabel*& Label) {
    Label = new QLabel(this);
    Label->move(Left, Top);
    auto* T = new TTrackBar(this);
    T->setObjectName(QString::fromLatin1(Name));
    T->setRange(0, Max);
    T->setPageStep(Page);
    T->setGeometry(Left - Rescale(6), Top + Rescale(16), Width + Rescale(12), Rescale(28));
    T->SetPosition(Pos);
    PrepareTrackBar(T);
    T->OnKeyUp = [this](TTrackBar*, int, Qt::KeyboardModifiers) {
      if (CBPreview->isChecked()) BApercuClick();
    };
    return T;
  };
  TBN2 = MakeBar("TBN2", 200, 8, 50, ColorEdit1->y() + ColorEdit1->height() + Rescale(12), LblN2);
  TBN = MakeBar("TBN", 359, 10, 0, TBN2->y() + TBN2->height() + Rescale(8), LblN);
  ImgDegrade = new MyImage::TMyImage(this);
  ImgDegrade->setGeometry(Left, TBN->y() + TBN->height() + Rescale(4), Width, Rescale(16));
  DrawHueRamp(ImgDegrade->Bitmap(), ImgDegrade->width(), ImgDegrade->height());
  ImgDegrade->UpdateBitmap();
  ImgDegrade->setCursor(Qt::CrossCursor);
  ScaleX = ImgDegrade->width() / 360.0;
  ImgDegrade->installEventFilter(this);
  auto* L2 = new QLabel(Tr(TrId::GetTrLblColor2), this);
  L2->move(Rescale(150), L1->y());
  PnlCouleur = new TSimplePanel(this);
  PnlCouleur->setGeometry(L2->x(), ColorEdit1->y(), Rescale(89), ColorEdit1->height());
  PnlCouleur->SetBevelWidth(1);
  PnlCouleur->SetBevelColor(clDlgBorder);

  connect(TBN2, &QSlider::valueChanged, this, [this] {
    LblN2->setText(Format(Tr(TrId::GetTrFmtTolerance), {TBN2->Position()}));
    LblN2->adjustSize();
    ParamChanged(false);
  });
  connect(TBN, &QSlider::valueChanged, this, [this] { HueChanged(); });
  AddLivePreviewBox(Left, ImgDegrade->y() + ImgDegrade->height() + Rescale(16));
  PlaceButtons(CBPreview->y() + CBPreview->height() + Rescale(12));
  LblN2->setText(Format(Tr(TrId::GetTrFmtTolerance), {TBN2->Position()}));
  LblN2->adjustSize();
  HueChanged();
  Changed = false;
  DialogMode = TMainDialogMode::dmPipette;
}

void TChgCouleur2Form::HueChanged() {
  LblN->setText(QString::number(TBN->Position()) + QChar(0x00B0));
  LblN->adjustSize();
  PnlCouleur->SetColor(HSVToColor(TBN->Position(), 255, 255));
  ParamChanged(false);
}

void TChgCouleur2Form::RampClick(int X) {
  TBN->SetPosition(std::clamp(int(std::trunc(X / ScaleX)), 0, 359));
  ParamChanged(true);
}

bool TChgCouleur2Form::eventFilter(QObject* Watched, QEvent* Event) {
  if (Watched == ImgDegrade && Event->type() == QEvent::MouseButtonPress)
    RampClick(static_cast<QMouseEvent*>(Event)->position().toPoint().x());
  return TColorPreviewForm::eventFilter(Watched, Event);
}

void TChgCouleur2Form::ChangerCouleur(TColor Couleur) { ColorEdit1->SetColor(Couleur); }

void TChgCouleur2Form::ApplyOperation() {
  TFilterHost& H = *FilterHost();
  ReplaceColorHue24(H.LeBitmap(), ColorEdit1->Color(), PnlCouleur->Color(), TBN2->Position(), H.LaSelection());
  H.AppliquerMasqueSel(1);
}

void TChgCouleur2Form::OkSteps() {
  TColorPreviewForm::OkSteps();
  QPointer<TChgCouleur2Form> Self(this);
  if (TFilterHost* H = FilterHost())
    H->DernierFiltre(windowTitle(), this, [Self](QObject*) {
      if (Self) Self->RepeatFilter();
    }, 0);
}

void TChgCouleur2Form::RepeatFilter() {
  TFilterHost* H = FilterHost();
  if (!H || !H->UneImage()) return;
  H->PreparerUndo(FilterUndoKind, windowTitle());
  Preview = false;
  Changed = true;
  BApercuClick();
  H->MarkModified();
}
