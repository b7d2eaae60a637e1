#include "filters/ui/CorrectionForm.h"

#include "filters/ui/FilterHost.h"
#include "i18n/LibLang.h"
#include "raster/Bitmap24.h"
#include "raster/FoncUtils.h"
#include "raster/ImgUtils24.h"
#include "raster/Polygon24.h"
#include "ui/ColorEdit.h"
#include "ui/ControlColor.h"
#include "ui/DlgColors.h"
#include "ui/DlgEx.h"
#include "ui/MyBevel.h"
#include "ui/MyImage.h"
#include "ui/MySlider.h"
#include "ui/SimplePanel.h"
#include "ui/UtilsDPI.h"
#include "ui/VisualStyles.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <utility>

namespace {

// Design sizes (96 dpi) of the options panel and its preview.
constexpr int OptionsWidth = 214;
constexpr int PreviewSize = 185;
// Room around the thumbnail for the sliders, and the smallest picture area.
constexpr int SliderRoom = 54;
constexpr int MinPictureW = 363, MinPictureH = 333;
// What the form leaves of the main window around the picture area.
constexpr int MainWindowMargin = 187;

void Translate(QAbstractButton* Button, TrId Id) {
  if (!Tr(Id).isEmpty()) Button->setText(Tr(Id));
}

} // namespace

// ---- TGridPicture ----------------------------------------------------------------------------------------------

TGridPicture::TGridPicture(QWidget* Parent) : QWidget(Parent) { setFocusPolicy(Qt::ClickFocus); }

void TGridPicture::PictureChanged() {
  resize(FPicture.Width(), FPicture.Height());
  repaint();
}

void TGridPicture::paintEvent(QPaintEvent*) {
  if (FPicture.Empty()) return;
  QPainter Canvas(this);
  Canvas.drawImage(0, 0, FPicture.QImageView());
}

void TGridPicture::mousePressEvent(QMouseEvent* Event) {
  const QPoint P = Event->position().toPoint();
  if (Event->button() == Qt::LeftButton && OnMouseDown) OnMouseDown(P.x(), P.y());
}

void TGridPicture::mouseReleaseEvent(QMouseEvent*) {
  if (OnRelease) OnRelease();
}

void TGridPicture::keyReleaseEvent(QKeyEvent* Event) {
  if (!Event->isAutoRepeat() && OnRelease) OnRelease();
}

// ---- TCorrectionForm: construction -----------------------------------------------------------------------------

TCorrectionForm::TCorrectionForm(QWidget* Parent) : TMainDialogForm(Parent) {
  PnlFond = new TSimplePanel(this);
  PnlFond->setObjectName(QStringLiteral("PnlFond"));
  PnlFond->SetBevelWidth(0);
  ImgGrille = new TGridPicture(PnlFond);
  ImgGrille->setObjectName(QStringLiteral("ImgGrille"));
  SliderTop = NewSlider("SliderTop", true, true);
  SliderBottom = NewSlider("SliderBottom", true, false);
  SliderLeft = NewSlider("SliderLeft", false, true);
  SliderRight = NewSlider("SliderRight", false, false);

  PnlOptions = new TSimplePanel(this);
  PnlOptions->setObjectName(QStringLiteral("PnlOptions"));
  PnlOptions->SetBevelWidth(0);
  PnlOptions->resize(Rescale(OptionsWidth), Rescale(400));
  Separator = new TMyBevel(PnlOptions);
  Separator->setObjectName(QStringLiteral("Separator"));
  Separator->setGeometry(0, 0, 2, PnlOptions->height());
  ImgApercu = new MyImage::TMyImage(PnlOptions);
  ImgApercu->setObjectName(QStringLiteral("ImgApercu"));
  ImgApercu->setGeometry(Rescale(15), Rescale(12), Rescale(PreviewSize), Rescale(PreviewSize));
  FOptionsBottom = ImgApercu->y() + ImgApercu->height();

  CBGrille = new QCheckBox(QStringLiteral("Grille"), PnlOptions);
  CBGrille->setObjectName(QStringLiteral("CBGrille"));
  CBGrille->setChecked(true);
  LblColor = new QLabel(QStringLiteral("Couleur :"), PnlOptions);
  ColorEdit = new TColorEdit(PnlOptions);
  ColorEdit->setObjectName(QStringLiteral("ColorEdit"));
  ColorEdit->SetColor(clRed);
  ColorEdit->SetCustomText(QStringLiteral("Autres couleurs..."));
  BOk = new QPushButton(QStringLiteral("Ok"), PnlOptions);
  BOk->setObjectName(QStringLiteral("BOk"));
  BAnnuler = new QPushButton(QStringLiteral("Annuler"), PnlOptions);
  BAnnuler->setObjectName(QStringLiteral("BAnnuler"));
  for (QPushButton* B : {BOk, BAnnuler}) {
    B->setAutoDefault(false);
    B->resize(Rescale(75), Rescale(25));
  }
  if (TranslationLoaded()) {
    Translate(BOk, TrId::GetTrBtnOk);
    Translate(BAnnuler, TrId::GetTrBtnCancel);
    Translate(CBGrille, TrId::GetTrMnuTxtGrid);
    if (!Tr(TrId::GetTrLblColor).isEmpty()) LblColor->setText(Tr(TrId::GetTrLblColor));
  }

  if (IsStyleEnabled()) {
    Separator->SetStyle(TMyBevelStyle::bsLine);
    Separator->SetDrawColor(clDlgBorder);
    Separator->resize(1, Separator->height());
    PnlFond->SetColor(clDlgWindow);
    if (!IsSystemStyle()) PnlOptions->SetColor(clDlgPanel);
  }

  connect(CBGrille, &QCheckBox::toggled, this, [this] { RedrawGrid(); });
  ColorEdit->OnChange = [this](QObject*) { RedrawGrid(); };
  connect(BOk, &QPushButton::clicked, this, [this] { BOkClick(); });
  connect(BAnnuler, &QPushButton::clicked, this, [this] { close(); });
  ImgGrille->OnRelease = [this] { ShowPreview(); };
  OkButton = BOk;
  CancelButton = BAnnuler;
  DefaultControl = SliderTop;
  IniOptions = IniOptions & ~ioPosition;
  DialogMode = TMainDialogMode::dmModal;
}

TMySlider* TCorrectionForm::NewSlider(const char* Name, bool Horizontal, bool TipTowardsEnd) {
  auto* S = new TMySlider(PnlFond);
  S->setObjectName(QString::fromLatin1(Name));
  S->SetOrientation(Horizontal ? TSliderOrientation::soHorizontal : TSliderOrientation::soVertical);
  S->SetCursorSize(ScaleByDPI(S->CursorSize()));
  S->SetDrawBar(false);
  S->SetPageSize(8);
  // The cursors point at the picture: down from above, right from the left.
  S->SetBarPosition(TipTowardsEnd ? TSliderBarPosition::bpBottomRight : TSliderBarPosition::bpTopLeft);
  S->OnBeforeChange = [this](TMySlider* Sender, int Index, int& Value) { LimitSlider(Sender, Index, Value); };
  S->OnChange = [this](TMySlider* Sender, int Index, TSliderChangeMode) {
    if (!DoSliderEvent) return;
    DoSliderEvent = false;
    SliderChanged(Sender, Index);
    Sender->SetCurrentCursor(Index);
    DoSliderEvent = true;
    RedrawGrid();
  };
  S->OnMouseUp = [this](TMySlider*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { ShowPreview(); };
  S->OnKeyUp = [this](TMySlider*, int, Qt::KeyboardModifiers) { ShowPreview(); };
  return S;
}

QCheckBox* TCorrectionForm::NewOption(const char* Name, const QString& Caption) {
  auto* B = new QCheckBox(Caption, PnlOptions);
  B->setObjectName(QString::fromLatin1(Name));
  B->setChecked(true);
  return B;
}

void TCorrectionForm::ArrangeOptions(std::initializer_list<QWidget*> Controls) {
  int Y = FOptionsBottom + Rescale(8);
  for (QWidget* W : Controls) {
    const int Height = Rescale(qobject_cast<QLabel*>(W) ? 20 : 17);
    W->setGeometry(Rescale(16), Y, Rescale(185), Height);
    Y += Height + Rescale(4);
  }
  LblColor->adjustSize();
  LblColor->move(Rescale(16), Y + Rescale(6));
  ColorEdit->setGeometry(LblColor->x() + LblColor->width() + Rescale(8), Y + Rescale(2), Rescale(90), Rescale(24));
}

// ---- Showing --------------------------------------------------------------------------------------------------

void TCorrectionForm::SizeForm(const TBitmap& Bkg) {
  const int OptW = PnlOptions->width();
  const QWidget* Main = MainFormWindow();
  const QSize MainSize = Main ? Main->size() : QSize(1024, 768);
  int W = Bkg.Width(), H = Bkg.Height();
  FitSize(W, H, MainSize.width() - OptW - MainWindowMargin, MainSize.height() - MainWindowMargin);
  if (W > Bkg.Width() || H > Bkg.Height()) W = Bkg.Width(), H = Bkg.Height();
  W = std::max(W, MinPictureW);
  H = std::max(H, MinPictureH);
  const int ClientW = W + OptW + SliderRoom, ClientH = H + SliderRoom;
  setFixedSize(ClientW, ClientH);
  PnlFond->setGeometry(0, 0, ClientW - OptW, ClientH);
  PnlOptions->setGeometry(ClientW - OptW, 0, OptW, ClientH);
  Separator->resize(Separator->width(), ClientH);
  const int ButtonsY = ClientH - BOk->height() - Rescale(12);
  BOk->move(Rescale(30), ButtonsY);
  BAnnuler->move(BOk->x() + BOk->width() + Rescale(8), ButtonsY);
  if (Main) {
    const QRect M = Main->frameGeometry();
    move(M.x() + std::max(0, (M.width() - ClientW) / 2), M.y() + std::max(0, (M.height() - ClientH) / 2));
  }
}

void TCorrectionForm::MakeThumbnail(const TBitmap& Bkg) {
  int W = Bkg.Width(), H = Bkg.Height();
  FitSize(W, H, PnlFond->width() - SliderRoom, PnlFond->height() - SliderRoom);
  // Two pixels at least, so that every slider has a range.
  W = std::max(W, 2), H = std::max(H, 2);
  if (W >= Bkg.Width() || H >= Bkg.Height())
    Thumb.Assign(Bkg);
  else
    StretchBitmap(W, H, TStretchMode::smBicubic, Bkg, Thumb);
  ImgGrille->Picture().Assign(Thumb);
  ImgGrille->PictureChanged();
  ImgGrille->move((PnlFond->width() - Thumb.Width()) / 2, (PnlFond->height() - Thumb.Height()) / 2);
  Ratio = Thumb.Width() >= Thumb.Height() ? double(Bkg.Width()) / Thumb.Width() : double(Bkg.Height()) / Thumb.Height();
  GridSizeX = Thumb.Width() / 33;
  GridSizeY = Thumb.Height() / 33;
}

void TCorrectionForm::PlaceSliders() {
  const QRect P = ImgGrille->geometry();
  const int CS = SliderTop->CursorSize();
  SliderTop->setGeometry(P.x() - CS, P.y() - (CS + 1), P.width() + 2 * CS, CS + 1);
  SliderBottom->setGeometry(P.x() - CS, P.y() + P.height(), P.width() + 2 * CS, CS + 1);
  SliderLeft->setGeometry(P.x() - (CS + 1), P.y() - CS, CS + 1, P.height() + 2 * CS);
  SliderRight->setGeometry(P.x() + P.width(), P.y() - CS, CS + 1, P.height() + 2 * CS);
  const bool Saved = std::exchange(DoSliderEvent, false);
  for (TMySlider* S : {SliderTop, SliderBottom, SliderLeft, SliderRight}) {
    S->SetCursorSize(CS);
    const int Max = SliderUnits * (S == SliderTop || S == SliderBottom ? Thumb.Width() : Thumb.Height()) - 1;
    // Max stays above Min, even for a thumbnail one pixel wide.
    S->SetMax(std::max(Max, 1));
  }
  DoSliderEvent = Saved;
}

void TCorrectionForm::SetSilently(TMySlider* Slider, int Index, int Position) {
  const bool Saved = std::exchange(DoSliderEvent, false);
  Slider->SetPosProperty(Index, Position);
  DoSliderEvent = Saved;
}

void TCorrectionForm::FormShow() {
  TCorrectionHost* H = CorrectionHost();
  const TBitmap* Bkg = H ? H->LeFond() : nullptr;
  if (!Bkg || Bkg->Empty()) return;
  SizeForm(*Bkg);
  MakeThumbnail(*Bkg);
  ComputeGridPositions();
  const bool Fresh = Bkg != LastImg || Bkg->Width() != LastW || Bkg->Height() != LastH;
  PlaceSliders();
  if (Fresh) {
    const bool Saved = std::exchange(DoSliderEvent, false);
    ResetSliders();
    DoSliderEvent = Saved;
  }
  LastImg = Bkg;
  LastW = Bkg->Width();
  LastH = Bkg->Height();
  UpdateTransforms();
}

void TCorrectionForm::UpdateControls() {
  if (Thumb.Empty()) return;
  RedrawGrid();
  ShowPreview();
}

void TCorrectionForm::FormHide() {
  Thumb.Assign(TBitmap());
  ImgGrille->Picture().Assign(TBitmap());
  ImgApercu->Bitmap().Assign(TBitmap());
  if (!DialogOk) LastImg = nullptr;
}

// ---- Pictures -------------------------------------------------------------------------------------------------

void TCorrectionForm::GridLine(double X1, double Y1, double X2, double Y2, uint8_t Style) {
  DashPhase = 0;
  DrawDashedLineAA24(ImgGrille->Picture(), X1, Y1, X2, Y2, ColorEdit->Color(), 100, Style, WholeBitmapRect);
}

void TCorrectionForm::RedrawGrid() {
  if (Thumb.Empty()) return;
  ImgGrille->Picture().Assign(Thumb);
  DrawGridLines();
  ImgGrille->PictureChanged();
}

void TCorrectionForm::ShowPreview() {
  if (Thumb.Empty()) return;
  TBitmap Preview;
  MakePreview(Preview);
  TBitmap& Shown = ImgApercu->Bitmap();
  NewBitmap24(Shown, ImgApercu->width(), ImgApercu->height(), ControlColor(PnlOptions));
  DrawThumbnail24(Preview, Shown, clWhite, 2, 4, ControlColor(PnlOptions));
  ImgApercu->UpdateBitmap();
  ImgApercu->repaint();
}

// ---- Ok ------------------------------------------------------------------------------------------------------

void TCorrectionForm::BOkClick() {
  TCorrectionHost* H = CorrectionHost();
  TFilterHost* Filters = FilterHost();
  if (!H || !Filters || !H->LeFond() || Unchanged()) {
    close();
    return;
  }
  if (!CanApply()) return;
  CloseOk();
  const TBusyAction Busy(*Filters);
  H->PrepareBackgroundUndo(windowTitle());
  TBitmap& Bkg = *H->LeFond();
  const QSize Before(Bkg.Width(), Bkg.Height());
  const TRect Kept = ApplyCorrection(Bkg, Filters->BmpUndo());
  if (Kept.Left != 0 || Kept.Top != 0) H->ShiftUpperLayers(-Kept.Left, -Kept.Top);
  if (QSize(Bkg.Width(), Bkg.Height()) != Before)
    H->TailleChangee();
  else
    H->BackgroundChanged();
}
