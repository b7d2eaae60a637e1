#include "extensions/ui/Impr.h"

#include "dialogs/ui/DialogParts.h"
#include "i18n/Format.h"
#include "i18n/LibLang.h"
#include "platform/Rounding.h"
#include "raster/ui/ImgZoom.h"
#include "ui/DrawUtils.h"
#include "ui/MsgDlg.h"
#include "ui/SpinEdit.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>

namespace {

// The preview square: its margin and side in preview pixels.
constexpr int ApercuMargin = 8;
constexpr int MaxApercu = 240;
constexpr TColor LightFrame = 0xCECDCD, DarkFrame = 0x575757;

TFloatSpinEdit* DecimalEdit(QWidget* Parent, const char* Name) {
  auto* E = new TFloatSpinEdit(Parent);
  E->setObjectName(QString::fromLatin1(Name));
  E->SetMinValue(0);
  E->SetMaxValue(1000);
  E->SetIncrement(0.1);
  return E;
}

bool IsEmpty(const TCustomSpinEdit* E) { return E->text().trimmed().isEmpty(); }

} // namespace

// The page preview: the page to scale with its shadow and frame, the image
// drawn by IZApercu.
class TImprForm::TPreviewArea : public QWidget {
public:
  explicit TPreviewArea(TImprForm& Form) : QWidget(&Form), F(Form) {
    setObjectName(QStringLiteral("Apercu"));
    setFixedSize(MaxApercu + 2 * ApercuMargin + 4, MaxApercu + 2 * ApercuMargin + 4);
  }

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter P(this);
    F.PaintPreview(P);
  }

private:
  TImprForm& F;
};

TImprForm::TImprForm(QPrinter& Printer, int Unit, QWidget* Parent)
    : TDialogFormEx(Parent), FPrinter(Printer), FUnit(Unit == 1 ? puInches : puCentimetres) {
  setObjectName(QStringLiteral("ImprForm"));
  RunPrinterSetup = [this](QPrinter& P) { return QPrintDialog(&P, this).exec() == QDialog::Accepted; };
  CreateControls();
  IZApercu.Optimized = false;
  IZImg.IsPrinterCanvas = true;
  IZImg.Optimized = true;
}

TImprForm::~TImprForm() = default;

void TImprForm::CreateControls() {
  const auto Check = [this](const char* Name, TrId Id, const QString& French) {
    auto* B = new QCheckBox(TrText(Id, French), this);
    B->setObjectName(QString::fromLatin1(Name));
    return B;
  };
  const auto Button = [this](const char* Name, const QString& Caption) {
    auto* B = new QPushButton(Caption, this);
    B->setObjectName(QString::fromLatin1(Name));
    B->setAutoDefault(false);
    return B;
  };
  const QString UnitSuffix = QStringLiteral("(") +
                             (FUnit == puInches ? Tr(TrId::GetTrLblInches) : Tr(TrId::GetTrLblCm)) +
                             QStringLiteral(") ");
  const auto Group = [&](const char* Name, TrId Id, const QString& French) {
    const QString Caption =
        TranslationLoaded() && !Tr(Id).isEmpty() ? QStringLiteral(" ") + Tr(Id) + QStringLiteral(" ") : French;
    auto* G = new QGroupBox(Caption + UnitSuffix, this);
    G->setObjectName(QString::fromLatin1(Name));
    return G;
  };
  const QString OkText = TrText(TrId::GetTrBtnOk, QStringLiteral("Ok"));

  CBCentrer = Check("CBCentrer", TrId::GetTrPrnPageCenter, QStringLiteral("Centrer dans la page"));
  CBAjuster = Check("CBAjuster", TrId::GetTrPrnFitPage, QStringLiteral("Utiliser toute la page"));
  CBTailleReelle = Check("CBTailleReelle", TrId::GetTrPrnOriginalSize, QStringLiteral("Taille réelle"));
  CBContours = Check("CBContours", TrId::GetTrPrnBox, QStringLiteral("Imprimer uniquement le contour"));
  CBTraits = Check("CBTraits", TrId::GetTrPrnCropMarks, QStringLiteral("Imprimer les traits de coupe"));
  LabelZoom = new QLabel(this);
  LabelZoom->setObjectName(QStringLiteral("LabelZoom"));
  ScrollBarZoom = new QScrollBar(Qt::Horizontal, this);
  ScrollBarZoom->setObjectName(QStringLiteral("ScrollBarZoom"));
  ScrollBarZoom->setRange(ScaleMin, ScaleMax);

  // A group of two decimal edits with their labels and an "Ok" that applies them.
  const auto Pair = [&](QGroupBox* G, TFloatSpinEdit*& A, const char* NameA, const QString& LabelA, TFloatSpinEdit*& B,
                        const char* NameB, const QString& LabelB, QPushButton*& Ok, const char* OkName) {
    A = DecimalEdit(G, NameA);
    B = DecimalEdit(G, NameB);
    Ok = Button(OkName, OkText);
    Ok->setParent(G);
    auto* Grid = new QGridLayout(G);
    Grid->addWidget(new QLabel(LabelA, G), 0, 0);
    Grid->addWidget(A, 0, 1);
    Grid->addWidget(new QLabel(LabelB, G), 1, 0);
    Grid->addWidget(B, 1, 1);
    Grid->addWidget(Ok, 0, 2, 2, 1);
  };
  GBTaille = Group("GBTaille", TrId::GetTrMnuImageSize, QStringLiteral("Taille de l'image "));
  Pair(GBTaille, SEL, "SEL", TrLabel(TrId::GetTrLblWidth, QStringLiteral("Largeur :")), SEH, "SEH",
       TrLabel(TrId::GetTrLblHeight, QStringLiteral("Hauteur :")), BOkTaille, "BOkTaille");
  GBMarges = Group("GBMarges", TrId::GetTrLblPosition, QStringLiteral("Position "));
  Pair(GBMarges, SEX, "SEX", TrLabel(TrId::GetTrLblLeft, QStringLiteral("Gauche :")), SEY, "SEY",
       TrLabel(TrId::GetTrLblTop, QStringLiteral("Haut :")), BOkMarges, "BOkMarges");

  SECopies = NewSpinEdit2(this, "SECopies", 1, 99, 1);
  SECopies->SetShowUpDown(true);
  LblResolution = new QLabel(this);
  LblResolution->setObjectName(QStringLiteral("LblResolution"));
  LblProp = new QLabel(this);
  LblProp->setObjectName(QStringLiteral("LblProp"));
  LblProp->setAlignment(Qt::AlignCenter);
  BConfigurer = Button("BConfigurer", TranslationLoaded() && !Tr(TrId::GetTrBtnSetup).isEmpty()
                                          ? Tr(TrId::GetTrBtnSetup) + QStringLiteral("...")
                                          : QStringLiteral("Configurer..."));
  BImprimer = Button("BImprimer", TrText(TrId::GetTrBtnPrint, QStringLiteral("Imprimer")));
  BImprimer->setDefault(true);
  BAnnuler = Button("BAnnuler", TrText(TrId::GetTrBtnCancel, QStringLiteral("Annuler")));

  FPreviewArea = new TPreviewArea(*this);
  auto* Grid = new QGridLayout(this);
  Grid->addWidget(FPreviewArea, 0, 0, 6, 1);
  Grid->addWidget(LblProp, 6, 0);
  Grid->addWidget(BConfigurer, 7, 0, Qt::AlignLeft);
  auto* Options = new QVBoxLayout;
  for (QWidget* W : std::initializer_list<QWidget*>{CBCentrer, CBAjuster, CBTailleReelle, LabelZoom, ScrollBarZoom,
                                                    GBTaille, GBMarges, LblResolution})
    Options->addWidget(W);
  auto* CopiesRow = new QHBoxLayout;
  CopiesRow->addWidget(new QLabel(TrLabel(TrId::GetTrLblCopies, QStringLiteral("Copies :")), this));
  CopiesRow->addWidget(SECopies);
  Options->addLayout(CopiesRow);
  Options->addWidget(CBContours);
  Options->addWidget(CBTraits);
  Grid->addLayout(Options, 0, 1, 7, 1);
  auto* Buttons = new QHBoxLayout;
  Buttons->addStretch(1);
  Buttons->addWidget(BImprimer);
  Buttons->addWidget(BAnnuler);
  Grid->addLayout(Buttons, 7, 1);

  connect(CBCentrer, &QCheckBox::clicked, this, &TImprForm::CBCentrerClick);
  connect(CBAjuster, &QCheckBox::clicked, this, &TImprForm::CBAjusterClick);
  connect(CBTailleReelle, &QCheckBox::clicked, this, &TImprForm::CBTailleReelleClick);
  connect(ScrollBarZoom, &QScrollBar::valueChanged, this, &TImprForm::ScrollBarZoomScroll);
  SEL->OnChange = [this](QObject*) { SizeChanged(true); };
  SEH->OnChange = [this](QObject*) { SizeChanged(false); };
  SEX->OnChange = SEY->OnChange = [this](QObject*) { MargesModifiees = true; };
  connect(BOkTaille, &QPushButton::clicked, this, &TImprForm::BOkTailleClick);
  connect(BOkMarges, &QPushButton::clicked, this, &TImprForm::BOkMargesClick);
  connect(BConfigurer, &QPushButton::clicked, this, &TImprForm::BConfigurerClick);
  connect(BImprimer, &QPushButton::clicked, this, &TImprForm::BImprimerClick);
  connect(BAnnuler, &QPushButton::clicked, this, &QDialog::reject);
}

void TImprForm::SetImage(const TBitmap* Bitmap, const QString& FileName, double Dpi) {
  FBitmap = Bitmap;
  FFileName = QFileInfo(FileName).fileName();
  FDpi = Dpi;
}

// ---- Layout ----------------------------------------------------------------

void TImprForm::showEvent(QShowEvent* Event) {
  setWindowTitle(DialogTitle("MenuFichierImprimer", QStringLiteral("Imprimer")) + QStringLiteral(" - ") + FFileName);
  ChgTaille = true;
  CBContours->setChecked(false);
  IZApercu.SetBitmap(FBitmap);
  IZImg.SetBitmap(FBitmap);
  L = FBitmap ? FBitmap->Width() : 0;
  H = FBitmap ? FBitmap->Height() : 0;
  Ratio = H > 0 ? double(L) / H : 1;
  FPrinter.setPageOrientation(L < H ? QPageLayout::Portrait : QPageLayout::Landscape);
  ReadPageSize();
  LayoutPreview();
  ResetLayout();
  LblProp->setText(Format(QStringLiteral("%d x %d %s (%s)"),
                          {L, H, QStringLiteral("pixels"), Format(Tr(TrId::GetTrFmtResolution), {FDpi})}));
  BImprimer->setFocus();
  TDialogFormEx::showEvent(Event);
}

void TImprForm::hideEvent(QHideEvent* Event) {
  SECopies->NormaliseSilently();
  IZApercu.SetBitmap(nullptr);
  if (result() != QDialog::Accepted) IZImg.SetBitmap(nullptr);
  TDialogFormEx::hideEvent(Event);
}

void TImprForm::ReadPageSize() {
  const QRect Paint = FPrinter.pageLayout().paintRectPixels(FPrinter.resolution());
  FPage = TPrintPage::Make(Paint.width(), Paint.height(), FPrinter.resolution(), FUnit);
  IZImg.SetRegion({0, 0, FPage.LPage, FPage.HPage});
}

void TImprForm::LayoutPreview() {
  FPreview = ::LayoutPreview(FPage, ApercuMargin, MaxApercu);
  const TRect& P = FPreview.Page;
  IZApercu.SetRegion({P.Left + 1, P.Top + 1, P.Right - 1, P.Bottom - 1});
}

void TImprForm::ResetLayout() {
  CBCentrer->setChecked(true);
  CBAjuster->setChecked(false);
  CBTailleReelle->setChecked(false);
  TailleDefOk = true;
  IZImg.SetAjustement(ajWidthHeight);
  SBFacteur = IZImg.Zoom();
  FFacteurZoom = InitialZoom(SBFacteur);
  IZImg.SetZoom(FFacteurZoom);
  UpdateScaleBar();
  ApplyZoom();
  ApplyPosition();
  TailleModifiee = MargesModifiees = false;
  EnableControls();
  FPreviewArea->update();
}

void TImprForm::EnableControls() {
  const bool Ajuster = CBAjuster->isChecked(), Reelle = CBTailleReelle->isChecked();
  CBCentrer->setEnabled(!Ajuster);
  CBAjuster->setEnabled(!Reelle);
  CBTailleReelle->setEnabled(!Ajuster && TailleDefOk);
  for (QWidget* W : std::initializer_list<QWidget*>{ScrollBarZoom, LabelZoom, GBTaille})
    W->setEnabled(!Ajuster && !Reelle);
  GBMarges->setEnabled(!CBCentrer->isChecked());
}

void TImprForm::UpdateScaleBar() {
  const QSignalBlocker Quiet(ScrollBarZoom);
  ScrollBarZoom->setValue(ScalePosition(FFacteurZoom, SBFacteur));
  LabelZoom->setText(Format(Tr(TrId::GetTrFmtScale), {ScalePercent(ScrollBarZoom->value(), SBFacteur)}));
}

void TImprForm::ApplyZoom() {
  if (CBAjuster->isChecked()) {
    IZImg.SetAjustement(ajWidthHeight);
    FFacteurZoom = IZImg.Zoom();
    UpdateScaleBar();
  }
  IZImg.SetZoom(FFacteurZoom);
  IZApercu.SetZoom(FPreview.Facteur * FFacteurZoom);
  if (ChgTaille) {
    ChgTaille = false;
    SEL->SetValue2(FPage.DeviceToUnit(IZImg.Width(), true));
    SEH->SetValue2(FPage.DeviceToUnit(IZImg.Height(), false));
    ChgTaille = true;
  }
  ShowRelativeResolution(RelativeResolution(FUnit, L, H, SEL->Value(), SEH->Value()));
  if (CBCentrer->isChecked()) ApplyPosition();
}

void TImprForm::ApplyPosition() {
  if (CBCentrer->isChecked()) {
    IZImg.SetPosition(poCenter);
    IZImg.UpdatePosition();
    IZApercu.SetPosition(poCenter);
    IZApercu.UpdatePosition();
    SEX->SetValue2(FPage.DeviceToUnit(IZImg.X(), true));
    SEY->SetValue2(FPage.DeviceToUnit(IZImg.Y(), false));
  } else {
    IZImg.SetX(FPage.UnitToDevice(SEX->Value(), true));
    IZImg.SetY(FPage.UnitToDevice(SEY->Value(), false));
    IZApercu.SetX(Round(IZImg.X() * FPreview.Facteur) + FPreview.Page.Left);
    IZApercu.SetY(Round(IZImg.Y() * FPreview.Facteur) + FPreview.Page.Top);
  }
}

void TImprForm::ShowRelativeResolution(double Dpi) {
  LblResolution->setText(Format(Tr(TrId::GetTrFmtResolution2), {RoundTenth(Dpi)}));
}

TRect TImprForm::PrintRect() const {
  return ::PrintRect(FPage, SEX->Value(), SEY->Value(), SEL->Value(), SEH->Value());
}

// ---- Controls --------------------------------------------------------------

void TImprForm::ScrollBarZoomScroll() {
  LabelZoom->setText(Format(Tr(TrId::GetTrFmtScale), {ScalePercent(ScrollBarZoom->value(), SBFacteur)}));
  FFacteurZoom = ScaleFactor(ScrollBarZoom->value(), SBFacteur);
  ApplyZoom();
  FPreviewArea->update();
}

void TImprForm::SizeChanged(bool Width) {
  if (!ChgTaille) return;
  // The printed size keeps the image's proportions.
  ChgTaille = false;
  if (Width)
    SEH->SetValue2(SEL->Value() / Ratio);
  else
    SEL->SetValue2(SEH->Value() * Ratio);
  ChgTaille = true;
  TailleModifiee = true;
}

void TImprForm::CBCentrerClick() {
  if (CBCentrer->isChecked()) {
    ApplyPosition();
  } else {
    // The image stays where it is.
    IZImg.SetPosition(poManual);
    IZApercu.SetPosition(poManual);
  }
  EnableControls();
  FPreviewArea->update();
}

void TImprForm::CBAjusterClick() {
  if (CBAjuster->isChecked()) {
    CBCentrer->setChecked(true);
    ApplyZoom();
  }
  EnableControls();
  FPreviewArea->update();
}

void TImprForm::CBTailleReelleClick() {
  if (CBTailleReelle->isChecked()) {
    const TRealSize Real = RealSize(FPage, L, H, FDpi);
    if (!Real.Fits) {
      ShowMsgDlg(Tr(TrId::GetTrDlgPrint5), mdkWarning, {mdbOk});
      TailleDefOk = false;
      CBTailleReelle->setChecked(false);
    } else {
      ChgTaille = false;
      SEL->SetValue2(Real.Width);
      SEH->SetValue2(Real.Height);
      ChgTaille = true;
      FFacteurZoom = ZoomForSize(FPage, L, H, Real.Width, Real.Height);
      UpdateScaleBar();
      ApplyZoom();
      ShowRelativeResolution(FDpi);
      TailleModifiee = false;
    }
  }
  EnableControls();
  FPreviewArea->update();
}

bool TImprForm::CheckFields() {
  if (CBAjuster->isChecked()) return true;
  for (TCustomSpinEdit* E : std::initializer_list<TCustomSpinEdit*>{SEL, SEH, SEX, SEY, SECopies})
    if (IsEmpty(E)) {
      WarnEmptyFields();
      E->setFocus();
      return false;
    }
  const TPrintFieldCheck Check = CheckPrintFields(FPage, SEX->Value(), SEY->Value(), SEL->Value(), SEH->Value());
  TFloatSpinEdit* Field = nullptr;
  QString Msg;
  switch (Check.Error) {
  case TPrintFieldError::None:
    return true;
  case TPrintFieldError::Width:
    Field = SEL, Msg = Format(Tr(TrId::GetTrDlgPrint1), {1.0, Check.Limit});
    break;
  case TPrintFieldError::Height:
    Field = SEH, Msg = Format(Tr(TrId::GetTrDlgPrint2), {1.0, Check.Limit});
    break;
  case TPrintFieldError::Left:
    Field = SEX, Msg = Format(Tr(TrId::GetTrDlgPrint3), {Check.Limit});
    break;
  case TPrintFieldError::Top:
    Field = SEY, Msg = Format(Tr(TrId::GetTrDlgPrint4), {Check.Limit});
    break;
  }
  ShowMsgDlg(Msg, mdkWarning, {mdbOk});
  Field->setFocus();
  Field->selectAll();
  return false;
}

void TImprForm::BOkTailleClick() {
  if (!CheckFields()) return;
  FFacteurZoom = ZoomForSize(FPage, L, H, SEL->Value(), SEH->Value());
  UpdateScaleBar();
  ApplyZoom();
  FPreviewArea->update();
  TailleModifiee = false;
}

void TImprForm::BOkMargesClick() {
  if (!CheckFields()) return;
  ApplyPosition();
  FPreviewArea->update();
  MargesModifiees = false;
}

void TImprForm::BConfigurerClick() {
  if (!RunPrinterSetup || !RunPrinterSetup(FPrinter)) return;
  ReadPageSize();
  LayoutPreview();
  ResetLayout();
}

void TImprForm::BImprimerClick() {
  if (!CheckFields()) return;
  if (!CBAjuster->isChecked()) {
    if (TailleModifiee) BOkTailleClick();
    if (MargesModifiees) BOkMargesClick();
  }
  FPrinter.setDocName(FFileName);
  FPrinter.setCopyCount(SECopies->Value());
  accept();
}

void TImprForm::keyPressEvent(QKeyEvent* Event) {
  const bool Enter = Event->key() == Qt::Key_Return || Event->key() == Qt::Key_Enter;
  QWidget* Focus = focusWidget();
  if (Enter && (Focus == SEL || Focus == SEH || Focus == SEX || Focus == SEY)) {
    static_cast<TFloatSpinEdit*>(Focus)->Commit();
    if (Focus == SEL || Focus == SEH)
      BOkTailleClick();
    else
      BOkMargesClick();
    return;
  }
  TDialogFormEx::keyPressEvent(Event);
}

// ---- Drawing ---------------------------------------------------------------

void TImprForm::PaintPreview(QPainter& Painter) {
  const TRect& R = FPreview.Page;
  if (R.IsEmpty()) return;
  const QRect Page(R.Left, R.Top, R.Width(), R.Height());
  QColor Shadow = palette().color(QPalette::Shadow);
  Shadow.setAlphaF(0.7);
  Painter.fillRect(Page.translated(4, 4), Shadow);
  Painter.fillRect(Page, Qt::white);
  Painter.setPen(ToQColor(LightFrame));
  Painter.drawLine(Page.topLeft(), Page.topRight());
  Painter.drawLine(Page.topLeft(), Page.bottomLeft());
  Painter.setPen(ToQColor(DarkFrame));
  Painter.drawLine(Page.bottomLeft(), Page.bottomRight());
  Painter.drawLine(Page.topRight(), Page.bottomRight());
  DrawImageZoom(IZApercu, &Painter, clWhite, false);
}

bool TImprForm::EnvoyerData(const std::function<bool()>& GoOn) {
  FAborted = false;
  FPrintPainter = std::make_unique<QPainter>();
  if (!FPrintPainter->begin(&FPrinter)) {
    FPrintPainter.reset();
    return false;
  }
  FSending = true;
  QPainter& P = *FPrintPainter;
  const TRect R = CBAjuster->isChecked() ? IZImg.ImageRect() : PrintRect();
  // A printer that cannot make copies itself (a PDF file) gets one page each.
  const int Pages = FPrinter.supportsMultipleCopies() ? 1 : FPrinter.copyCount();
  for (int Page = 0; Page < Pages; ++Page) {
    // A cancel reaches the job between pages: the platform's printers here
    // cannot take back a page once it is drawn.
    QCoreApplication::processEvents();
    if (GoOn && !GoOn()) AbortJob();
    if (FAborted) break;
    if (Page > 0) FPrinter.newPage();
    P.setPen(QPen(Qt::black, 0));
    if (CBContours->isChecked()) {
      P.setBrush(Qt::NoBrush);
      P.drawRect(R.Left, R.Top, R.Width() - 1, R.Height() - 1);
    } else if (L > 0) {
      DrawZoomedBitmap(FBitmap, &P, clWhite, R, R.Left, R.Top, double(R.Width()) / L, false, true, false, true);
    }
    if (CBTraits->isChecked()) PrintCutMarks(P, R);
  }
  FSending = false;
  IZImg.SetBitmap(nullptr);
  if (FAborted) TerminerImpression(true);
  return true;
}

void TImprForm::PrintCutMarks(QPainter& Painter, const TRect& R) {
  Painter.setPen(QPen(Qt::black, 0));
  for (const TPrintLine& Mark : CutMarks(FPage, R, L, H)) {
    // The end point itself is not drawn.
    const int DX = Mark.To.X > Mark.From.X ? -1 : Mark.To.X < Mark.From.X ? 1 : 0;
    const int DY = Mark.To.Y > Mark.From.Y ? -1 : Mark.To.Y < Mark.From.Y ? 1 : 0;
    Painter.drawLine(Mark.From.X, Mark.From.Y, Mark.To.X + DX, Mark.To.Y + DY);
  }
}

void TImprForm::TerminerImpression(bool Cancelled) {
  if (!FPrintPainter) return;
  if (Cancelled) FPrinter.abort();
  FPrintPainter->end();
  FPrintPainter.reset();
  // Printing to a file cannot be aborted: the part written goes instead.
  if (Cancelled && !FPrinter.outputFileName().isEmpty()) QFile::remove(FPrinter.outputFileName());
}

bool TImprForm::Printing() const { return FPrintPainter && !FAborted; }

void TImprForm::AbortJob() {
  if (!FPrintPainter) return;
  FAborted = true;
  // While pages are drawn the painter is in use: EnvoyerData drops the
  // document after the page under way.
  if (!FSending) TerminerImpression(true);
}
