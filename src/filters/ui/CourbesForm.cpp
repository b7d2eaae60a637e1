#include "filters/ui/CourbesForm.h"

#include "document/ui/MyImage.h"
#include "files/ui/BmpOE2.h"
#include "filters/StreamUtils.h"
#include "filters/ui/CurveStroke.h"
#include "i18n/LibLang.h"
#include "raster/Bitmap24.h"
#include "raster/Polygon24.h"
#include "ui/DlgColors.h"
#include "ui/SimplePanel.h"

#include <QButtonGroup>
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

// The program's cursors for dragging, adding and deleting vertices.
constexpr int DragCursorIndex = 13;
constexpr int AddCursorIndex = 23;
constexpr int DelCursorIndex = 24;

// Vertices keep this many levels from their neighbours.
constexpr int MinVertexGap = 12;

// The other channels' curves, drawn in this order: blue, green, red, composite.
constexpr std::pair<int, TColor> OtherCurveColors[] = {
    {ccBlue, 0x800000}, {ccGreen, 0x008000}, {ccRed, 0x000080}, {ccComposite, 0x1C1D1E}};

// The caption a language module gave, else the French one.
QString TrOr(TrId Id, const char16_t* French) {
  const QString T = Tr(Id);
  return T.isEmpty() ? QString::fromUtf16(French) : T;
}

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
  Path->DragCursor = DragCursorIndex;
  Path->AddCursor = AddCursorIndex;
  Path->DelCursor = DelCursorIndex;
  Path->SetBezierMode(true);
  Path->SetClosed(false);
  Path->SetJoinBorder(1);
  Path->OnUpdating = [this](QObject*, TSelOption Option) { CurvePathUpdating(Option); };
  Path->OnPathChangeInfo = [this](QObject*, TPathChangeInfo Info, int Index, int& X, int& Y, int Data, bool& Accept) {
    CurvePathChangeInfo(Info, Index, X, Y, Data, Accept);
  };

  CmbCouche = new QComboBox(this);
  CmbCouche->setObjectName(QStringLiteral("CmbCouche"));
  CmbCouche->addItems({TrOr(TrId::GetTrLblMergeLuminosity, u"Luminosité"), TrOr(TrId::GetTrLblChannelRed, u"Rouge"),
                       TrOr(TrId::GetTrLblChannelGreen, u"Vert"), TrOr(TrId::GetTrLblChannelBlue, u"Bleu")});
  CmbCouche->setGeometry(M, PnlImage->y() + PnlImage->height() + Rescale(4), PnlImage->width(),
                         CmbCouche->sizeHint().height());
  connect(CmbCouche, &QComboBox::currentIndexChanged, this, [this] { CmbCoucheChange(); });

  // The speed buttons in three rows right of the graph.
  const auto Menu = [this](const char* Name, const char16_t* French) {
    const QString T = Title(QString::fromLatin1(Name));
    return T.isEmpty() ? QString::fromUtf16(French) : T;
  };
  const int Side = Rescale(26), Gap = Rescale(4), Left = PnlImage->x() + PnlImage->width() + M;
  int Column = 0, Row = 0;
  const auto NewSB = [&](const QString& Hint, bool Checkable) {
    auto* B = new QToolButton(this);
    B->setToolTip(Hint);
    B->setText(Hint.left(1));
    B->setCheckable(Checkable);
    B->setGeometry(Left + Column * (Side + Gap), M + Row * (Side + Gap), Side, Side);
    ++Column;
    connect(B, &QToolButton::clicked, this, [this, B] { SBClick(B); });
    return B;
  };
  SBMove = NewSB(QStringLiteral("Modifier"), true);
  SBAdd = NewSB(QStringLiteral("Ajouter"), true);
  SBDel = NewSB(QStringLiteral("Supprimer"), true);
  Column = 0, ++Row;
  SBBezier = NewSB(Menu("MenuFiltreLisser", u"Lisser"), true);
  SBLine = NewSB(Menu("MenuFiltrePlusNet", u"Plus net"), true);
  SBReset = NewSB(TrOr(TrId::GetTrBtnReset, u"Réinitialiser"), false);
  Column = 0, ++Row;
  SBOpen = NewSB(Menu("MenuFichierOuvrir", u"Ouvrir"), false);
  SBSave = NewSB(Menu("MenuFichierEnregistrerSous", u"Enregistrer sous"), false);
  for (const auto& Group : {std::initializer_list<QToolButton*>{SBMove, SBAdd, SBDel}, {SBBezier, SBLine}}) {
    auto* G = new QButtonGroup(this);
    for (QToolButton* B : Group) G->addButton(B);
  }
  SBMove->setChecked(true);
  SBBezier->setChecked(true);

  BReset = new QPushButton(TrOr(TrId::GetTrBtnReset, u"Réinitialiser"), this);
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
  UpdateCurveButtons();
}

void TCourbesForm::StoreCurve() { Path->GetVerticesList(ActiveList().Vertices); }

void TCourbesForm::ShowCurves() {
  Path->hide();
  TBitmap& B = ImgDraw->Bitmap();
  NewBitmap24(B, CurveSize, CurveSize, clWhite);
  const TColor Grid = ImgDraw->GridColor;
  for (int V = 0; V < CurveSize; V = V == 224 ? CurveSize - 1 : V + 32) {
    DrawLineAA24(B, 0, V, CurveSize, V, Grid, false, 100, WholeBitmapRect);
    DrawLineAA24(B, V, 0, V, CurveSize, Grid, false, 100, WholeBitmapRect);
    if (V == CurveSize - 1) break;
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

void TCourbesForm::UpdateCurveButtons() {
  const TPathMode Mode = Path->PathMode();
  (Mode == pmAdd ? SBAdd : (Mode == pmDelete ? SBDel : SBMove))->setChecked(true);
  (Path->BezierMode() ? SBBezier : SBLine)->setChecked(true);
}

void TCourbesForm::UpdateCurvesTitle() {
  QString T = FilterTitle();
  if (!FFichierCourbes.isEmpty()) {
    T += QStringLiteral(" - ") + QFileInfo(FFichierCourbes).completeBaseName();
    if (FFlagChanged) T += QStringLiteral("(*)");
  }
  setWindowTitle(T);
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

void TCourbesForm::CurvePathChangeInfo(TPathChangeInfo Info, int Index, int& X, int&, int Data, bool& Accept) {
  const int N = Path->PointsCount();
  const auto AnchorX = [this](int I) { return Path->AnchorPoint(I).X; };
  switch (Info) {
  case piAdd:
  case piAltern:
  case piReset:
    Accept = false;
    break;
  case piInsert: {
    // Insertions come in client pixels.
    const int At = Path->ClientToBmp(TPoint{X, 0}).X;
    Accept = N < MaxCurveVertices && Index > 0 && Index < N && At >= AnchorX(Index - 1) + MinVertexGap &&
             At <= AnchorX(Index) - MinVertexGap;
    break;
  }
  case piDelete:
    Accept = N > MinCurveVertices && Index > 0 && Index < N - 1;
    break;
  case piMove:
    if (Data == 0) {
      if (Index > 0) X = std::max(X, AnchorX(Index - 1) + MinVertexGap);
      if (Index < N - 1) X = std::min(X, AnchorX(Index + 1) - MinVertexGap);
    }
    break;
  default:
    break;
  }
  if (!Accept) {
    SBMove->setChecked(true);
    Path->SetPathMode(pmEdit);
  }
}

// ---- Commands -----------------------------------------------------------------------------------------------------

void TCourbesForm::SBClick(QToolButton* Button) {
  if (Button == SBAdd) {
    Path->SetPathMode(pmAdd);
  } else if (Button == SBDel) {
    Path->SetPathMode(pmDelete);
  } else if (Button == SBMove) {
    Path->SetPathMode(pmEdit);
  } else if (Button == SBBezier || Button == SBLine) {
    // Through the path: the shown channel is then in use.
    Path->SetBezierMode(Button == SBBezier);
    ShowCurves();
  } else if (Button == SBReset) {
    SBResetClick();
  } else if (Button == SBOpen) {
    SBOpenClick();
  } else if (Button == SBSave) {
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

namespace {
constexpr char CurvesExtension[] = ".lmc";
}

void TCourbesForm::SBSaveClick() {
  const QString Caption = FilterTitle();
  const QString Name =
      SaveFileDialogExt(QString::fromLatin1(CurvesExtension), Caption + QStringLiteral(" (*") + CurvesExtension + ')',
                        QFileInfo(FFichierCourbes).absolutePath(), Caption);
  if (!Name.isEmpty()) SaveCurvesFile(Name);
}

void TCourbesForm::SBOpenClick() {
  const QString Caption = FilterTitle();
  const QString Name =
      OpenFileDialogExt(QString::fromLatin1(CurvesExtension), Caption + QStringLiteral(" (*") + CurvesExtension + ')',
                        QFileInfo(FFichierCourbes).absolutePath(), Caption);
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
