#include "filters/ui/CourbesForm.h"

#include "document/ui/MyImage.h"
#include "filters/StreamUtils.h"
#include "filters/ui/CurveStroke.h"
#include "i18n/LibLang.h"
#include "raster/Bitmap24.h"
#include "raster/Polygon24.h"
#include "ui/DlgColors.h"
#include "ui/SimplePanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QHideEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QToolButton>

TCurveLUT CurveLUTs[CurveChannelCount] = {IdentityCurveLUT(), IdentityCurveLUT(), IdentityCurveLUT(),
                                          IdentityCurveLUT()};

namespace {

// The other channels' curves, drawn in this order: blue, green, red, composite.
constexpr std::pair<int, TColor> OtherCurveColors[] = {
    {ccBlue, 0x800000}, {ccGreen, 0x008000}, {ccRed, 0x000080}, {ccComposite, 0x1C1D1E}};

constexpr char CurvesExtension[] = ".lmc";

} // namespace

TCourbesForm::TCourbesForm(QWidget* Parent) : TFilterNForm(Parent) {
  setObjectName(QStringLiteral("CourbesForm"));
  IniCustomVarCount = 1;
  DeleteMainBar();
  const int M = Rescale(8);

  PnlImage = new TSimplePanel(this);
  PnlImage->setObjectName(QStringLiteral("_PnlImage"));
  PnlImage->setGeometry(M, M, CurveSize + 2, CurveSize + 2);
  PnlImage->SetBevelWidth(1);
  PnlImage->SetBevelColor(clDlgBorder);
  ImgDraw = new TMyImage(PnlImage);
  ImgDraw->setGeometry(1, 1, CurveSize, CurveSize);
  ImgDraw->SetMarge(0);
  ImgDraw->KeyScroll = false;
  ImgDraw->setFrameShape(QFrame::NoFrame);
  ImgDraw->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  ImgDraw->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  NewBitmap24(ImgDraw->Bitmap(), CurveSize, CurveSize, clWhite);
  ImgDraw->BitmapChanged();

  Path = new TPathOverlay(ImgDraw);
  PrepareCurvePath(*Path);
  Path->SetJoinBorder(1);
  Path->OnUpdating = [this](QObject*, TSelOption Option) { CurvePathUpdating(Option); };
  Path->OnPathChangeInfo = [this](QObject*, TPathChangeInfo Info, int Index, int& X, int& Y, int Data, bool& Accept) {
    CurvePathChangeInfo(Info, Index, X, Y, Data, Accept);
  };

  CmbCouche = new QComboBox(this);
  CmbCouche->setObjectName(QStringLiteral("CmbCouche"));
  CmbCouche->addItems(
      {CurveCaption(TrId::GetTrLblMergeLuminosity, u"Luminosité"), CurveCaption(TrId::GetTrLblChannelRed, u"Rouge"),
       CurveCaption(TrId::GetTrLblChannelGreen, u"Vert"), CurveCaption(TrId::GetTrLblChannelBlue, u"Bleu")});
  CmbCouche->setGeometry(M, PnlImage->y() + PnlImage->height() + Rescale(4), PnlImage->width(),
                         CmbCouche->sizeHint().height());
  connect(CmbCouche, &QComboBox::currentIndexChanged, this, [this] { CmbCoucheChange(); });

  // The speed buttons in three rows right of the graph.
  const int Side = Rescale(26), Gap = Rescale(4), Left = PnlImage->x() + PnlImage->width() + M;
  Buttons.Create(
      this, Left, M, Side, Gap, [this](const QString& Item) { return Title(Item); },
      [this](QToolButton* B) { SBClick(B); });

  BReset = new QPushButton(CurveCaption(TrId::GetTrBtnReset, u"Réinitialiser"), this);
  BReset->setAutoDefault(false);
  BReset->setGeometry(M, CmbCouche->y() + CmbCouche->height() + Rescale(16), Rescale(88), Rescale(25));
  connect(BReset, &QPushButton::clicked, this, [this] { BResetClick(); });
  CBRealTime->move(M, BReset->y() + BReset->height() + Rescale(16));
  const int ButtonsTop = CBRealTime->y() + CBRealTime->height() + M;
  const int Width = Left + 3 * Side + 2 * Gap + M;
  BApercu->move(M, ButtonsTop);
  BOk->move(Width - M - 2 * BOk->width() - M, ButtonsTop);
  BAnnuler->move(Width - M - BAnnuler->width(), ButtonsTop);
  setFixedWidth(Width);
  resize(Width, ButtonsTop + BApercu->height() + M);

  FCurves = DefaultCurveSet();
  UpdateCurvesTitle();
}

TCourbesForm::~TCourbesForm() {
  // The overlay reports to this form: silence it before the form goes.
  Path->OnUpdating = nullptr;
  Path->OnPathChangeInfo = nullptr;
}

QString TCourbesForm::FilterTitle() const { return Title(QStringLiteral("MenuReglageCourbes")); }

// ---- Settings and show -------------------------------------------------------------------------------------------

QString TCourbesForm::GetIniCustomVar(int Index) { return Index == 0 ? FFichierCourbes : QString(); }

void TCourbesForm::SetIniCustomVar(int Index, const QString& Value) {
  if (Index == 0) FFichierCourbes = QFileInfo::exists(Value) ? Value : QString();
}

void TCourbesForm::UpdateControls() {
  BApercu->setEnabled(!CBRealTime->isChecked());
  FActiveCouche = std::clamp(CmbCouche->currentIndex(), 0, CurveChannelCount - 1);
  // A remembered file is read again: its curves, not the last edits.
  if (FFichierCourbes.isEmpty() || !LoadCurvesFile(FFichierCourbes)) {
    SetBezierModeQuiet(FCurves.BezierMode);
    ShowCurves();
  }
  Changed = AnyCurveChanged();
}

void TCourbesForm::hideEvent(QHideEvent* Event) {
  TFilterNForm::hideEvent(Event);
  if (!Event->spontaneous()) Path->Clear();
}

void TCourbesForm::keyPressEvent(QKeyEvent* Event) {
  // Escape puts a drag back rather than closing the dialog.
  if (Path->DraggingVertices()) {
    int Key = Event->key();
    Path->KeyDown(Key, Event->modifiers());
    return;
  }
  TFilterNForm::keyPressEvent(Event);
}

// ---- Curves -------------------------------------------------------------------------------------------------------

bool TCourbesForm::AnyCurveChanged() const {
  return std::any_of(FCurves.Channels.begin(), FCurves.Channels.end(), [](const TCurveChannel& C) { return C.InUse; });
}

void TCourbesForm::ResetAllCurves() { FCurves = DefaultCurveSet(); }

void TCourbesForm::ShowCurve(const TCurveChannel& List) {
  Path->SetVerticesList(&List.Vertices);
  // The inner vertices' control points become their own, where they are.
  for (int I = 1; I < Path->PointsCount() - 1; ++I) Path->SetVertex({1, 1}, I, 3);
  Path->SetPathMode(pmEdit);
  Buttons.Follow(*Path);
}

void TCourbesForm::StoreCurve() { Path->GetVerticesList(ActiveList().Vertices); }

void TCourbesForm::ShowCurves() {
  Path->hide();
  TBitmap& B = ImgDraw->Bitmap();
  NewBitmap24(B, CurveSize, CurveSize, clWhite);
  const TColor Grid = ImgDraw->GridColor;
  for (const int V : {0, 32, 64, 96, 128, 160, 192, 224, 255}) {
    DrawLineAA24(B, 0, V, CurveSize, V, Grid, false, 100, WholeBitmapRect);
    DrawLineAA24(B, V, 0, V, CurveSize, Grid, false, 100, WholeBitmapRect);
  }
  DrawLineAA24(B, 0, CurveSize - 1, CurveSize - 1, 0, Grid, false, 100, WholeBitmapRect);
  for (const auto& [Channel, Color] : OtherCurveColors) {
    const TCurveChannel& C = FCurves.Channels[size_t(Channel)];
    if (Channel != FActiveCouche && C.InUse) DrawCurve(B, C.Vertices, FCurves.BezierMode, Color);
  }
  ImgDraw->InvalidateView();
  ImgDraw->viewport()->update();
  ShowCurve(ActiveList());
  Path->show();
}

void TCourbesForm::BuildCurveLUTs() {
  for (int C = 0; C < CurveChannelCount; ++C) {
    const TCurveChannel& Channel = FCurves.Channels[size_t(C)];
    CurveLUTs[C] = Channel.InUse ? CurveLUT(Channel.Vertices, FCurves.BezierMode) : IdentityCurveLUT();
  }
  CombineCurveLUTs(CurveLUTs[ccComposite], CurveLUTs[ccRed], CurveLUTs[ccGreen], CurveLUTs[ccBlue]);
}

void TCourbesForm::ApplyFilter() {
  BuildCurveLUTs();
  ApplyCurveLUTs(Bitmap(), CurveLUTs[ccRed], CurveLUTs[ccGreen], CurveLUTs[ccBlue], WorkRect());
}

void TCourbesForm::SetBezierModeQuiet(bool Value) {
  FQuiet = true;
  Path->SetBezierMode(Value);
  FQuiet = false;
  FCurves.BezierMode = Value;
}

void TCourbesForm::UpdateCurvesTitle() {
  setWindowTitle(CurveDialogTitle(FilterTitle(), FFichierCourbes, FFlagChanged));
}

// Changed, a preview when live, the file's curves left behind.
void TCourbesForm::CurvesChanged() {
  ParamChanged(true);
  FFlagChanged = true;
  UpdateCurvesTitle();
}

void TCourbesForm::CurvePathUpdating(TSelOption Option) {
  if (FQuiet || Option != soChanged || !Path->PathChanged()) return;
  StoreCurve();
  FCurves.BezierMode = Path->BezierMode();
  ActiveList().InUse = true;
  CurvesChanged();
}

void TCourbesForm::CurvePathChangeInfo(TPathChangeInfo Info, int Index, int& X, int& Y, int Data, bool& Accept) {
  Accept = CurveVertexRule(*Path, Info, Index, X, Y, Data, true, MinCurveVertices, MaxCurveVertices, false);
  if (!Accept) {
    Buttons.SBMove->setChecked(true);
    Path->SetPathMode(pmEdit);
  }
}

// ---- Commands -----------------------------------------------------------------------------------------------------

void TCourbesForm::SBClick(QToolButton* Button) {
  if (Buttons.SetMode(*Path, Button)) return;
  if (Button == Buttons.SBBezier || Button == Buttons.SBLine) {
    // Through the path: the shown channel is then in use.
    Path->SetBezierMode(Button == Buttons.SBBezier);
    ShowCurves();
  } else if (Button == Buttons.SBReset) {
    SBResetClick();
  } else if (Button == Buttons.SBOpen) {
    SBOpenClick();
  } else if (Button == Buttons.SBSave) {
    SBSaveClick();
  }
}

void TCourbesForm::SBResetClick() {
  if (!ActiveList().InUse) return;
  ActiveList() = {false, DefaultCurve()};
  ShowCurve(ActiveList());
  CurvesChanged();
}

void TCourbesForm::CmbCoucheChange() {
  const int Index = CmbCouche->currentIndex();
  if (Updating || Index == FActiveCouche || Index < 0) return;
  FActiveCouche = Index;
  ShowCurves();
}

void TCourbesForm::BResetClick() {
  if (TFilterHost* H = FilterHost(); Preview && H) {
    H->RestaureBitmap();
    H->RefreshBitmap();
    Preview = false;
  }
  Path->Clear();
  SetBezierModeQuiet(true);
  ResetAllCurves();
  FActiveCouche = 0;
  {
    const QSignalBlocker Block(CmbCouche);
    CmbCouche->setCurrentIndex(0);
  }
  ShowCurves();
  Changed = false;
  FFichierCourbes.clear();
  FFlagChanged = false;
  UpdateCurvesTitle();
}

// ---- Files ----------------------------------------------------------------------------------------------------------

void TCourbesForm::SBSaveClick() {
  const QString Name = AskCurveFile(true, QString::fromLatin1(CurvesExtension), FilterTitle());
  if (!Name.isEmpty()) SaveCurvesFile(Name);
}

void TCourbesForm::SBOpenClick() {
  const QString Name = AskCurveFile(false, QString::fromLatin1(CurvesExtension), FilterTitle());
  if (!Name.isEmpty()) LoadCurvesFile(Name);
}

bool TCourbesForm::SaveCurvesFile(const QString& FileName) {
  if (!SaveStreamFile(FileName, [this](QIODevice& S) { WriteCurvesFile(S, FCurves); })) return false;
  FFichierCourbes = FileName;
  FFlagChanged = false;
  UpdateCurvesTitle();
  return true;
}

bool TCourbesForm::LoadCurvesFile(const QString& FileName) {
  TCurveSet Set;
  if (!LoadStreamFile(FileName, [&](QIODevice& S) { Set = ReadCurvesFile(S); })) return false;
  FCurves = std::move(Set);
  SetBezierModeQuiet(FCurves.BezierMode);
  ShowCurves();
  // A preview of the former curves is replaced (or restored) as well.
  if (AnyCurveChanged() || Preview) ParamChanged(true);
  FFichierCourbes = FileName;
  FFlagChanged = false;
  UpdateCurvesTitle();
  return true;
}
