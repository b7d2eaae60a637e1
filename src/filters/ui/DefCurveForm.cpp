#include "filters/ui/DefCurveForm.h"

#include "document/ui/MyImage.h"
#include "filters/StreamUtils.h"
#include "filters/ui/CurveStroke.h"
#include "filters/ui/FilterHost.h"
#include "i18n/LibLang.h"
#include "raster/Bitmap24.h"
#include "raster/FilterEvent.h"
#include "raster/FoncUtils.h"
#include "raster/ImgUtils24.h"
#include "raster/ProgressScope.h"
#include "raster/Stretching.h"
#include "raster/TransformFunc.h"
#include "ui/ColorEdit.h"
#include "ui/DlgColors.h"
#include "ui/MyImage.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

namespace {

TDeformHost*& DeformHostSlot() {
  static TDeformHost* Host = nullptr;
  return Host;
}

// The largest thumbnail area, and the least dialog width.
constexpr int MaxAreaW = 777, MaxAreaH = 444, MinDialogW = 333;
constexpr char DeformExtension[] = ".lmd";

} // namespace

TDeformHost* DeformHost() { return DeformHostSlot(); }
void SetDeformHost(TDeformHost* Host) { DeformHostSlot() = Host; }

TDefCurveForm::TDefCurveForm(QWidget* Parent) : TMainDialogForm(Parent) {
  setObjectName(QStringLiteral("DefCurveForm"));
  DialogMode = TMainDialogMode::dmModal;
  IniCustomVarCount = 1;
  // Sized and centred at every show: no stored position.
  IniOptions = IniOptions & ~ioPosition;
  ThumbMarge = Rescale(8);
  const int OptionsW = Rescale(168), M = ThumbMarge;

  PnlFond = new QWidget(this);
  PnlFond->setObjectName(QStringLiteral("_PnlFond"));
  PnlOptions = new QWidget(this);
  PnlOptions->setObjectName(QStringLiteral("PnlOptions"));
  PnlOptions->resize(OptionsW, 10);
  ImgApercu = new MyImage::TMyImage(PnlOptions);
  ImgApercu->setGeometry(0, M, OptionsW - M, Rescale(110));
  int Y = ImgApercu->y() + ImgApercu->height() + M;
  const auto Place = [&](QWidget* W, int Height, int Left = 0) {
    W->setGeometry(Left, Y, OptionsW - M - Left, Height);
    Y += Height + Rescale(4);
  };
  CBGrille = new QCheckBox(CurveCaption(TrId::GetTrMnuTxtGrid, u"Grille"), PnlOptions);
  CBGrille->setObjectName(QStringLiteral("CBGrille"));
  CBGrille->setChecked(true);
  Place(CBGrille, Rescale(20));
  LblColor = new QLabel(CurveCaption(TrId::GetTrLblColor, u"Couleur :"), PnlOptions);
  LblColor->setGeometry(0, Y, Rescale(60), Rescale(22));
  CEGrille = new TColorEdit(PnlOptions);
  CEGrille->setObjectName(QStringLiteral("CEGrille"));
  CEGrille->SetColor(clRed);
  Place(CEGrille, Rescale(22), Rescale(64));
  RBHorz = new QRadioButton(CurveCaption(TrId::GetTrLblHorzAxis, u"Axe horizontal"), PnlOptions);
  RBHorz->setObjectName(QStringLiteral("RBHorz"));
  RBHorz->setChecked(true);
  Place(RBHorz, Rescale(20));
  RBVert = new QRadioButton(CurveCaption(TrId::GetTrLblVertAxis, u"Axe vertical"), PnlOptions);
  RBVert->setObjectName(QStringLiteral("RBVert"));
  Place(RBVert, Rescale(20));
  lblFond = new QLabel(CurveCaption(TrId::GetTrLblBkg, u"Fond") + QStringLiteral(" :"), PnlOptions);
  lblFond->setGeometry(0, Y, Rescale(60), Rescale(22));
  CEFond = new TColorEdit(PnlOptions);
  CEFond->setObjectName(QStringLiteral("CEFond"));
  CEFond->SetColor(clWhite);
  Place(CEFond, Rescale(22), Rescale(64));

  const int Side = Rescale(26), Gap = Rescale(4);
  Y = Buttons.Create(
          PnlOptions, 0, Y + Gap, Side, Gap,
          [](const QString& Item) {
            const TFilterHost* H = FilterHost();
            return H ? H->TitreMenu(Item) : QString();
          },
          [this](QToolButton* B) { SBClick(B); }) +
      Gap;
  MinHeight = Y;

  BOk = new QPushButton(CurveCaption(TrId::GetTrBtnOk, u"Ok"), PnlOptions);
  BAnnuler = new QPushButton(CurveCaption(TrId::GetTrBtnCancel, u"Annuler"), PnlOptions);
  for (QPushButton* B : {BOk, BAnnuler}) B->setAutoDefault(false);
  MinHeight += BOk->sizeHint().height() + 2 * M;
  OkButton = BOk;
  CancelButton = BAnnuler;
  connect(BOk, &QPushButton::clicked, this, [this] { BOkClick(); });
  connect(BAnnuler, &QPushButton::clicked, this, [this] { close(); });

  ImgThumb = new TMyImage(PnlFond);
  ImgThumb->SetMarge(1);
  ImgThumb->KeyScroll = false;
  ImgThumb->setFrameShape(QFrame::NoFrame);
  ImgThumb->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  ImgThumb->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Path = new TPathOverlay(ImgThumb);
  PrepareCurvePath(*Path);
  Path->SetHideControlPoints(true);
  Path->OnUpdating = [this](QObject*, TSelOption Option) { DeformPathUpdating(Option); };
  Path->OnPathChangeInfo = [this](QObject*, TPathChangeInfo Info, int Index, int& X, int& Y, int Data, bool& Accept) {
    DeformPathChangeInfo(Info, Index, X, Y, Data, Accept);
  };

  const auto Preview = [this](QObject*) { PreviewDeformation(); };
  CEGrille->OnChange = [this](QObject*) { UpdateDeformGrid(); };
  connect(CBGrille, &QCheckBox::toggled, this, [this] { UpdateDeformGrid(); });
  CEFond->OnChange = Preview;
  connect(RBHorz, &QRadioButton::toggled, this, [this](bool On) {
    if (On && !Updating) RBClick();
  });
  connect(RBVert, &QRadioButton::toggled, this, [this](bool On) {
    if (On && !Updating) RBClick();
  });
  UpdateDeformTitle();
}

TDefCurveForm::~TDefCurveForm() {
  Path->OnUpdating = nullptr;
  Path->OnPathChangeInfo = nullptr;
}

bool TDefCurveForm::Horizontal() const { return RBHorz->isChecked(); }
TBitmap& TDefCurveForm::ThumbBitmap() { return ImgThumb->Bitmap(); }
TColor TDefCurveForm::DeformBackColor() const { return CEFond->isEnabled() ? CEFond->Color() : clWhite; }

QString TDefCurveForm::GetIniCustomVar(int Index) { return Index == 0 ? FFichierCourbe : QString(); }

void TDefCurveForm::SetIniCustomVar(int Index, const QString& Value) {
  if (Index == 0) FFichierCourbe = QFileInfo::exists(Value) ? Value : QString();
}

// ---- Showing --------------------------------------------------------------------------------------------------------

void TDefCurveForm::FormShow() {
  const TDeformHost* D = DeformHost();
  const bool Alpha = D && D->HasAlpha();
  CEFond->setEnabled(!Alpha);
  lblFond->setEnabled(!Alpha);
  SizeDefCurveDialog();
  MakeDeformThumb();
}

void TDefCurveForm::UpdateControls() {
  UpdateDeformGrid();
  ResetDeformPath();
  if (FFichierCourbe.isEmpty() || !LoadDeformFile(FFichierCourbe)) PreviewDeformation();
}

void TDefCurveForm::FormHide() {
  NewBitmap24(ImgApercu->Bitmap(), 1, 1, clWhite);
  if (!DialogOk) {
    Path->Clear();
    NewBitmap24(ThumbBitmap(), 1, 1, clWhite);
  }
}

void TDefCurveForm::SizeDefCurveDialog() {
  const TFilterHost* H = FilterHost();
  const TDeformHost* D = DeformHost();
  const TRect S = H && H->UneImage() ? H->LaSelection() : TRect{0, 0, MaxAreaW, MaxAreaH};
  const QSize Main = D ? D->MainClientSize() : QSize(1024, 768);
  const int OptionsW = PnlOptions->width();
  const int MaxW = std::min(MaxAreaW, Main.width() - (2 * ThumbMarge + OptionsW + 133));
  const int MaxH = std::min(MaxAreaH, Main.height() - (2 * ThumbMarge + 133));
  int W = S.Width(), H2 = S.Height();
  FitSize(W, H2, MaxW, MaxH);
  W = std::max(std::min(W, S.Width()), MinDialogW);
  H2 = std::max(std::min(H2, S.Height()), MinHeight);
  PnlFond->setGeometry(0, 0, W + 2 * ThumbMarge, H2 + 2 * ThumbMarge);
  PnlOptions->setGeometry(PnlFond->width(), 0, OptionsW, PnlFond->height());
  const int ButtonsTop = PnlOptions->height() - ThumbMarge - BOk->sizeHint().height();
  const int ButtonW = (OptionsW - 2 * ThumbMarge) / 2;
  BOk->setGeometry(0, ButtonsTop, ButtonW, BOk->sizeHint().height());
  BAnnuler->setGeometry(ButtonW + ThumbMarge, ButtonsTop, ButtonW, BOk->height());
  setFixedSize(PnlFond->width() + OptionsW, PnlFond->height());
  if (parentWidget()) {
    const QRect P = parentWidget()->window()->geometry();
    move(P.center() - rect().center());
  }
}

void TDefCurveForm::MakeDeformThumb() {
  TFilterHost* H = FilterHost();
  const TDeformHost* D = DeformHost();
  TBitmap& Thumb = ThumbBitmap();
  if (!H || !H->UneImage()) {
    NewBitmap24(Thumb, 1, 1, clWhite);
    return;
  }
  TRect S = H->LaSelection();
  ClipToBitmap(S, H->LeBitmap());
  const int AvailW = PnlFond->width() - 2 * ThumbMarge, AvailH = PnlFond->height() - 2 * ThumbMarge;
  int W = std::max(S.Width(), 1), Ht = std::max(S.Height(), 1);
  if (W >= AvailW && Ht >= AvailH) FitSize(W, Ht, AvailW, AvailH);
  W = std::min(W, AvailW), Ht = std::min(Ht, AvailH);
  NewBitmap24(Thumb, W, Ht, DeformBackColor());
  const bool Alpha = D && D->HasAlpha();
  StretchRect24Interpolated(H->LeBitmap(), S, Thumb, {0, 0, W, Ht}, WholeBitmapRect, amBicubic, 100,
                            Alpha ? &H->LeMasque() : nullptr);
  ImgThumb->setGeometry((PnlFond->width() - W - 2) / 2, (PnlFond->height() - Ht - 2) / 2, W + 2, Ht + 2);
  ImgThumb->BitmapChanged();
  Path->ReAlign();
}

void TDefCurveForm::UpdateDeformGrid() {
  LblColor->setEnabled(CBGrille->isChecked());
  CEGrille->setEnabled(CBGrille->isChecked());
  ImgThumb->GridWidth = 48;
  ImgThumb->GridUnit = 0;
  ImgThumb->GridColor = CEGrille->Color();
  ImgThumb->GridStyle = TPenStyle::psDot;
  ImgThumb->ShowGrid = CBGrille->isChecked();
  ImgThumb->InvalidateView();
  ImgThumb->viewport()->update();
}

// ---- The curve ------------------------------------------------------------------------------------------------------

void TDefCurveForm::DefaultDeformCurve() {
  const int W = ThumbBitmap().Width(), H = ThumbBitmap().Height();
  TPathVertexList L(3);
  if (Horizontal()) {
    L[0].PP = {0, H / 2}, L[1].PP = {W / 2, H / 2}, L[2].PP = {W - 1, H / 2};
  } else {
    L[0].PP = {W / 2, 0}, L[1].PP = {W / 2, H / 2}, L[2].PP = {W / 2, H - 1};
  }
  FQuiet = true;
  Path->SetVerticesList(&L);
  FQuiet = false;
}

void TDefCurveForm::ResetDeformPath() {
  Path->ReAlign();
  Path->hide();
  Path->SetJoinBorder(Horizontal() ? 1 : 2);
  DefaultDeformCurve();
  AutoControlPoints();
  Path->show();
  Path->SetPathMode(pmEdit);
  Buttons.Follow(*Path);
}

void TDefCurveForm::AutoControlPoints() {
  if (!Path->BezierMode()) return;
  FQuiet = true;
  Path->DefaultControlPoints();
  FQuiet = false;
}

void TDefCurveForm::SetBezierModeQuiet(bool Value) {
  FQuiet = true;
  Path->SetBezierMode(Value);
  FQuiet = false;
}

void TDefCurveForm::UpdateDeformTitle() {
  const TFilterHost* H = FilterHost();
  setWindowTitle(
      CurveDialogTitle(H ? H->TitreMenu(QStringLiteral("MenuFiltreCourbe")) : QString(), FFichierCourbe, FFlagChanged));
}

void TDefCurveForm::CurveEdited() {
  PreviewDeformation();
  FFlagChanged = true;
  UpdateDeformTitle();
}

void TDefCurveForm::DeformPathUpdating(TSelOption Option) {
  if (FQuiet || Option != soChanged || !Path->PathChanged()) return;
  AutoControlPoints();
  CurveEdited();
}

void TDefCurveForm::DeformPathChangeInfo(TPathChangeInfo Info, int Index, int& X, int& Y, int Data, bool& Accept) {
  Accept = CurveVertexRule(*Path, Info, Index, X, Y, Data, Horizontal(), MinDeformVertices, MaxDeformVertices, true);
  if (!Accept) {
    Buttons.SBMove->setChecked(true);
    Path->SetPathMode(pmEdit);
  }
}

TDeformCurve TDefCurveForm::Curve() const {
  TDeformCurve C;
  C.Horizontal = Horizontal();
  C.BezierMode = Path->BezierMode();
  Path->GetVerticesList(C.Vertices);
  return C;
}

// ---- Deforming ------------------------------------------------------------------------------------------------------

void TDefCurveForm::DeformLayerBitmap(TBitmap& Src, TBitmap& Dest, const TRect& Rect, TColor BackColor,
                                      TAntialiasMode Mode) {
  TRect R = Rect;
  if (!ClipToBitmap(R, Src)) return;
  const TDDAPoints Samples = SampleDeformCurve(Src, R, *Path, Horizontal());
  const TDeformPoints Points = SmoothDeformPoints(Samples, Path->BezierMode() ? 12 : 3);
  DeformByCurve(Src, Dest, Horizontal(), Points, BackColor, R, Mode, LayerMode);
}

void TDefCurveForm::DeformThumb(TBitmap& Bitmap) {
  const TDeformPoints Points =
      SmoothDeformPoints(SampleDeformCurve(Bitmap, BitmapRect(Bitmap), *Path, Horizontal()), 1);
  DeformByCurveCopy(Bitmap, Horizontal(), Points, DeformBackColor(), WholeBitmapRect, amBilinear, LayerMode);
}

void TDefCurveForm::PreviewDeformation() {
  const TBitmap& Thumb = ThumbBitmap();
  const int AW = ImgApercu->width(), AH = ImgApercu->height();
  int W = Thumb.Width(), H = Thumb.Height();
  const int MaxW = AW * 3 / 2, MaxH = AH * 3 / 2;
  if (W >= MaxW && H >= MaxH) FitSize(W, H, MaxW, MaxH);
  W = std::min(W, MaxW), H = std::min(H, MaxH);
  TBitmap Work;
  NewBitmap24(Work, std::max(W, 1), std::max(H, 1), clWhite);
  StretchRect24(Thumb, BitmapRect(Thumb), Work, BitmapRect(Work), WholeBitmapRect);
  DeformThumb(Work);
  TBitmap& Picture = ImgApercu->Bitmap();
  NewBitmap24(Picture, std::max(AW, 1), std::max(AH, 1), clWhite);
  DrawThumbnail24(Work, Picture, clWhite, 2, 4, ColorToRGB(clDlgPanel));
  ImgApercu->UpdateBitmap();
}

void TDefCurveForm::ApplyDeformation() {
  TFilterHost* H = FilterHost();
  TDeformHost* D = DeformHost();
  if (!H || !D || !H->UneImage()) return;
  H->DebutAction(QString(), true);
  struct TEnd {
    TFilterHost* Host;
    ~TEnd() { Host->FinAction(); }
  } End{H};
  const int W0 = H->LeBitmap().Width(), H0 = H->LeBitmap().Height();
  D->PrepareDeformUndo(LayerMode, windowTitle());
  const TRect R = H->LaSelection();
  if (D->HasAlpha()) {
    // Two deformations, one progress bar.
    SetProgressPasses(2);
    struct TPasses {
      ~TPasses() { SetProgressPasses(1); }
    } Passes;
    BleedColorsIntoTransparent(D->BmpUndo(), D->MaskUndo(), 2, WholeBitmapRect);
    DeformLayerBitmap(D->MaskUndo(), H->LeMasque(), R, clWhite, amBilinear);
    DeformLayerBitmap(D->BmpUndo(), H->LeBitmap(), R, clNone, amBicubic);
    WhitenMaskedPixels(H->LeBitmap(), H->LeMasque());
  } else {
    DeformLayerBitmap(D->BmpUndo(), H->LeBitmap(), R, DeformBackColor(), amBicubic);
  }
  if (LayerMode) {
    D->LayerGrown((H->LeBitmap().Width() - W0) / 2, (H->LeBitmap().Height() - H0) / 2);
  } else {
    H->AppliquerMasqueSel(1);
    H->LayerChanged();
  }
  H->MarkModified();
  H->RefreshBitmap();
}

void TDefCurveForm::BOkClick() {
  CloseOk();
  ApplyDeformation();
  NewBitmap24(ThumbBitmap(), 1, 1, clWhite);
}

// ---- Commands and files ---------------------------------------------------------------------------------------------

void TDefCurveForm::RBClick() {
  ResetDeformPath();
  PreviewDeformation();
}

void TDefCurveForm::SBClick(QToolButton* Button) {
  if (Buttons.SetMode(*Path, Button)) return;
  if (Button == Buttons.SBBezier || Button == Buttons.SBLine) {
    // Straight segments ignore the control points; curves get them anew.
    SetBezierModeQuiet(Button == Buttons.SBBezier);
    AutoControlPoints();
    PreviewDeformation();
  } else if (Button == Buttons.SBReset) {
    ResetDeformPath();
    PreviewDeformation();
    FFichierCourbe.clear();
    FFlagChanged = true;
    UpdateDeformTitle();
  } else if (Button == Buttons.SBOpen || Button == Buttons.SBSave) {
    const TFilterHost* H = FilterHost();
    const QString Caption = H ? H->TitreMenu(QStringLiteral("MenuFiltreCourbe")) : QString();
    const bool Save = Button == Buttons.SBSave;
    const QString Name = AskCurveFile(Save, QString::fromLatin1(DeformExtension), Caption);
    if (Name.isEmpty()) return;
    if (Save)
      SaveDeformFile(Name);
    else
      LoadDeformFile(Name);
  }
}

bool TDefCurveForm::SaveDeformFile(const QString& FileName) {
  const TDeformCurve C = Curve();
  const int W = ThumbBitmap().Width(), H = ThumbBitmap().Height();
  if (!SaveStreamFile(FileName, [&](QIODevice& S) { WriteDeformFile(S, C, W, H); })) return false;
  FFichierCourbe = FileName;
  FFlagChanged = false;
  UpdateDeformTitle();
  return true;
}

bool TDefCurveForm::LoadDeformFile(const QString& FileName) {
  TDeformCurve C;
  const int W = ThumbBitmap().Width(), H = ThumbBitmap().Height();
  if (!LoadStreamFile(FileName, [&](QIODevice& S) { C = ReadDeformFile(S, W, H); })) return false;
  {
    const bool Saved = std::exchange(Updating, true);
    (C.Horizontal ? RBHorz : RBVert)->setChecked(true);
    Updating = Saved;
  }
  ResetDeformPath();
  SetBezierModeQuiet(C.BezierMode);
  FQuiet = true;
  Path->SetVerticesList(&C.Vertices);
  FQuiet = false;
  Path->SetPathMode(pmEdit);
  Buttons.Follow(*Path);
  AutoControlPoints();
  PreviewDeformation();
  FFichierCourbe = FileName;
  FFlagChanged = false;
  UpdateDeformTitle();
  return true;
}
