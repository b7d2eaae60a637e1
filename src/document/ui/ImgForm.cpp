#include "document/ui/ImgForm.h"

#include "document/ImageToolHost.h"
#include "i18n/Format.h"
#include "i18n/LibLang.h"
#include "raster/FoncUtils.h"
#include "ui/DialogServices.h"
#include "ui/DlgColors.h"
#include "ui/DlgMain.h"
#include "ui/MsgDlg.h"
#include "ui/UtilsDPI.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCursor>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMdiArea>
#include <QMenu>
#include <QStyle>

#include <algorithm>

namespace {

std::vector<TNewImgForm*> GImageWindows;
TNewImgForm* GActiveImageWindow = nullptr;
int GUntitledCount = 0;
bool GCursorExWasVisible = false;
// The program's move cursor in the screen cursor table (the main window
// registers it at start).
constexpr int MoveCursorIndex = 15;

QWidget* OpenDialog() { return DialogServices() ? DialogServices()->DialogueForm() : nullptr; }
QWidget* OpenPipetteDialog() { return DialogServices() ? DialogServices()->PipetteForm() : nullptr; }

} // namespace

const std::vector<TNewImgForm*>& ImageWindows() { return GImageWindows; }
TNewImgForm* ActiveImageWindow() { return GActiveImageWindow; }
int UntitledCount() { return GUntitledCount; }
void SetUntitledCount(int Value) { GUntitledCount = Value; }

QString MakeWindowTitle(const QString& Title, TImageSourceType SrcType) {
  if (Title.isEmpty()) return Format(Tr(TrId::GetTrFmtUntitled), {++GUntitledCount});
  const QString Counter = QStringLiteral("$(cpt)");
  const int At = Title.indexOf(Counter);
  if (SrcType == srcImport && At >= 0) {
    QString S = Title;
    return S.replace(At, Counter.size(), QString::number(++GUntitledCount));
  }
  return Title;
}

// ---- Creation -------------------------------------------------------------------------------------------

TNewImgForm::TNewImgForm(TImageWindowHost& Host, QMdiArea* Area, TMyImageLayered* Source, const TBitmap* Bitmap,
                         const QString& Title, TImageSourceType SrcType, int NbCol, bool AutoZoom, bool Maximized)
    : FHost(Host) {
  setMinimumSize(200, 155);
  // A window whose close is accepted goes with its image.
  setAttribute(Qt::WA_DeleteOnClose);
  auto* Client = new QWidget(this);
  auto* Layout = new QHBoxLayout(Client);
  Layout->setContentsMargins(0, 0, 0, 0);
  Layout->setSpacing(0);

  Image = new TMyImageLayeredView(Client);
  Image->SetColor(clDlgWindow);
  Image->SetMarge(ScaleByDPI(8));
  if (Host.CadreOmbre()) {
    Image->SetBorderColor(0);
    Image->SetShadowSize(ScaleByDPI(4));
  }
  Image->GridWidth = Host.TailleGrille();
  Image->GridColor = Host.CouleurGrille();
  Image->GridUnit = Host.UniteGrille();
  Image->GridStyle = TPenStyle::psDot;
  Image->SelectionMode = TSelMode::smShape;
  Image->UseMetaComment = ImageToolHost() && ImageToolHost()->FreeImageAvailable();
  Image->AutoSelectLayer = Host.SelCalqueAuto();
  Image->CheckLayerTranspOnSelect = !Host.LimitesCalqueActif();
  if (Host.Smoothing()) Image->SetOptimizeMode(omReduction);
  Image->MoveLayerCursor = MoveCursorIndex;
  // The current layer is outlined only while a layer tool is current.
  if (TImageToolHost* T = ImageToolHost(); T && T->IsLayerTool())
    Image->SetDrawLayerActiveBounds(Host.LimitesCalqueActif());
  Image->OnMovingLayer = [this](QObject*, TSelOption Option) { ImageMovingLayer(Option); };
  Image->OnMouseDown = [this](QObject*, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y) {
    ImageMouseDown(Button, Shift, X, Y);
  };
  Image->OnMouseMove = [this](QObject*, Qt::MouseButtons Buttons, Qt::KeyboardModifiers Shift, int X, int Y) {
    ImageMouseMove(Buttons, Shift, X, Y);
  };
  Image->OnMouseUp = [this](QObject*, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y) {
    ImageMouseUp(Button, Shift, X, Y);
  };
  Image->OnDblClick = [this](QObject*) { ImageDblClick(); };
  Image->OnDraw = [this](QObject*, TDrawStage Stage) { ImageDraw(Stage); };
  Image->OnSelection = [this](QObject*, const TRect& R, TSelOption Option) {
    if (TImageToolHost* T = ImageToolHost()) T->ImageSelecting(*Image, R, Option);
  };

  Sel = std::make_unique<TSelectionControl>(Image);
  Sel->MoveCursor = MoveCursorIndex;
  Sel->SetShowBounds(true);
  Sel->ImageMouseMove = true;
  Sel->AspectRatio = false;
  Sel->OnUpdating = [this](TSelectionModel*, TSelOption Option) { SelUpdating(Option); };
  Sel->OnDblClick = [](TSelectionControl* S) {
    if (S->Shape() != ssBitmap && ImageToolHost()) ImageToolHost()->MenuSelReperesClick();
  };

  LayerNav = new TLayerNavigator(Client, Image->Image());
  LayerNav->ShowText = true;
  LayerNav->DragColor = clDlgAccent;
  LayerNav->SetLayerNumber(Host.NumCalque());
  LayerNav->Color = 0x121212;
  LayerNav->FontColor = 0xEDECED;
  LayerNav->Margin = 2;
  LayerNav->TopMargin = 5;
  LayerNav->ShadowSize = 0;
  LayerNav->SetUseFilmBorder(true);
  LayerNav->OnSelectLayer = [this](QObject*) {
    if (!FirstActivate) FHost.AfficherInfosCalque();
  };
  LayerNav->OnDblClick = [this](QObject*) {
    TImageToolHost* T = ImageToolHost();
    const QPoint P = LayerNav->mapFromGlobal(QCursor::pos());
    if (T && LayerNav->ItemAtPos(P.x(), P.y()) != -1 && (Image->Image().LayerIndex() > 0 || T->ModeRGBA(true)))
      T->MenuCalqueOptionsClick();
  };
  LayerNav->OnChangeLayerIndex = [this](QObject*, int OldIndex, int) { FHost.PrepareLayerIndexUndo(OldIndex); };
  LayerNav->OnMouseDown = [this](QObject*) {
    BringMDIToFront();
    Image->setFocus();
  };
  Image->OnAutoSelectLayer = [this](QObject*, TLayerItem*) {
    LayerNav->ResetLayerIndex();
    LayerNav->MakeCurrentLayerVisible();
  };
  Layout->addWidget(LayerNav);
  Layout->addWidget(Image, 1);
  setWidget(Client);
  SetLayerNavSize();

  ListeUndo = std::make_unique<TUndoList>(UndoCapacityFromDepth(Host.NbHistoriques()));
  CursorEx = std::make_unique<TCursorEx>(Image);
  NomFichier = MakeWindowTitle(Title, SrcType);
  setWindowTitle(QFileInfo(NomFichier).fileName());

  if (Source && Source->Layers().Count() > 0) {
    if (SrcType == srcDuplicate)
      Image->Image().Assign(Source);
    else
      Image->Image().GetImageLayers(*Source);
    LayerNav->Synchronize(true);
    LayerNav->MakeCurrentLayerVisible();
  } else if (Source && !Source->Bitmap().Empty()) {
    SetBackgroundBitmap(Source->Bitmap());
  } else if (Bitmap) {
    SetBackgroundBitmap(*Bitmap);
  }
  SourceType = SrcType;
  if (SrcType != srcFile) IdActionSave = -1;
  Image->Image().ColorCount = NbCol;
  DupCount = 1;

  const int Index = static_cast<int>(GImageWindows.size());
  // Listed before the area shows it: showing activates it.
  AddWindowMenuItem(this, windowTitle());
  connect(this, &QMdiSubWindow::aboutToActivate, this, [this] { ActivateImage(); });
  if (Area) Area->addSubWindow(this);
  show();
  SetWindowSize(Index, AutoZoom, Maximized, true, true);
  ActivateImage();
}

TNewImgForm::~TNewImgForm() {
  // The records and the panel reach the image, which the view owns.
  ListeUndo.reset();
  CursorEx.reset();
  Sel.reset();
  delete LayerNav;
  delete Image;
  RemoveWindowMenuItem(this);
  if (GActiveImageWindow == this) GActiveImageWindow = nullptr;
  FHost.InitPosition();
}

void TNewImgForm::SetBackgroundBitmap(const TBitmap& Bitmap) {
  if (Bitmap.PixelFormat() == pf32bit)
    LayerNav->AddBitmapAsBackground(Bitmap, QStringLiteral("#0"));
  else
    LayerNav->AddBackground(&Bitmap, nullptr, QStringLiteral("#0"));
}

// ---- Modified state and closing ---------------------------------------------------------------------------

int TNewImgForm::IdActionCourante() const {
  const TUndoItem* U = ListeUndo ? ListeUndo->CurrentUndo() : nullptr;
  return U ? U->Id() : 0;
}

bool TNewImgForm::Modified() const {
  if (FlagUndoPurge || FlagUndoAttenuer || ListeUndo->Recycled()) return true;
  return !(IdActionSave == IdActionCourante() && !FlagUndoModified);
}

void TNewImgForm::ResetModified() {
  IdActionSave = IdActionCourante();
  ListeUndo->SetRecycled(false);
  FlagUndoPurge = false;
  FlagUndoAttenuer = false;
  FlagUndoModified = false;
}

bool TNewImgForm::VerifEnregistrement() {
  if (!Modified()) return true;
  BringMDIToFront();
  QString Msg = Tr(TrId::GetTrDlgMain2);
  if (IsFileSource()) {
    Msg = Format(Tr(TrId::GetTrDlgMain1), {windowTitle()}) + QLatin1Char('\r') + Msg;
  }
  switch (ShowMsgDlg(Msg, mdkConfirmation, {mdbYes, mdbNo, mdbCancel})) {
  case mrNo:
    return true;
  case mrYes:
    if (IsFileSource() && FHost.ConfirmFormatLoss(NomFichier))
      return FHost.Enregistrer(NomFichier, QString(), true, false);
    return FHost.Enregistrer(QString(), QFileInfo(NomFichier).fileName(), true, true);
  default:
    return false;
  }
}

void TNewImgForm::closeEvent(QCloseEvent* Event) {
  if (TImageToolHost* T = ImageToolHost(); T && T->VerticesMode() > 0) {
    ShowMsgDlg(Tr(T->VerticesMode() == 2 ? TrId::GetTrDlgPath1 : TrId::GetTrDlgGlb6), mdkWarning, {mdbOk});
    Event->ignore();
    return;
  }
  if (QWidget* Dialog = OpenDialog()) {
    // A module's own dialog cannot be closed from here.
    if (ImageToolHost() && ImageToolHost()->ModuleLoaded()) {
      Event->ignore();
      return;
    }
    Dialog->close();
  }
  const bool CanClose = CanCloseFlag || VerifEnregistrement();
  CanCloseFlag = false;
  if (!CanClose) {
    Event->ignore();
    return;
  }
  QMdiSubWindow::closeEvent(Event);
}

void TNewImgForm::contextMenuEvent(QContextMenuEvent* Event) {
  const bool OnTitle = widget() && Event->pos().y() < widget()->geometry().top();
  if (!OnTitle) {
    QMdiSubWindow::contextMenuEvent(Event);
    return;
  }
  Event->accept();
  if (GActiveImageWindow == this) setFocus();
  BringMDIToFront();
  if (OpenDialog()) return;
  if (QMenu* Menu = FHost.PopupMenuBar()) Menu->popup(Event->globalPos());
}

// ---- Layout ------------------------------------------------------------------------------------------------

QSize TNewImgForm::FrameExtent() const {
  // What the frame adds to the client area, measured on the window as laid
  // out (the frame's sides need not be equal under every style).
  if (!widget()) return {};
  return {width() - widget()->width(), height() - widget()->height()};
}

QRect TNewImgForm::DefaultWindowRect(int Index) const {
  const int M = ScaleByDPI(3);
  const int I = Index % 10;
  const int FW = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, this);
  const int CH = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
  const int Left = M + I * FW, Top = M + I * (FW + CH);
  const QSize A = mdiArea() ? mdiArea()->size() : QSize(640, 480);
  return {Left, Top, A.width() - Left - M, A.height() - Top - M};
}

void TNewImgForm::SetWindowSize(int Index, bool AutoZoom, bool Maximize, bool Pos, bool Size) {
  Image->LockPaint(true);
  if (Maximize) showMaximized();
  CalcSizeAndPos(Index, AutoZoom, Size, Pos);
  Image->LockPaint(false);
  Image->PaintAll();
}

void TNewImgForm::CalcSizeAndPos(int Index, bool AutoZoom, bool Resize, bool Repos) {
  if (!AutoZoom && !Resize && !Repos) return;
  Resize = Resize || Repos;
  const QSize FE = FrameExtent();
  const int FW = FE.width(), FH = FE.height();
  int W, H;
  QRect R = DefaultWindowRect(Index);
  if (isMaximized()) {
    const QSize A = mdiArea() ? mdiArea()->viewport()->size() : size();
    W = A.width();
    H = A.height();
  } else {
    if (!Repos) R.moveTopLeft(geometry().topLeft());
    if (!Resize) R.setSize(size());
    W = R.width() - FW;
    H = R.height() - FH;
  }
  const int NavW = LayerNav->isVisible() || !LayerNav->isHidden() ? LayerNav->width() : 0;
  if (AutoZoom) {
    FlagAutoZoom = true;
    Image->AutoZoom(W - NavW, H);
    if (Image->Zoom() > 1) Image->SetZoom(1);
  }
  if (isMaximized() || !Resize) {
    if (!isMaximized()) setGeometry(R);
    return;
  }
  const int Bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  const TRect IR = Image->ImgRect();
  int Cw = IR.Width() + 2 * Image->Marge() + NavW;
  int Ch = IR.Height() + 2 * Image->Marge();
  if (!LayerNav->isHidden()) Ch = std::max(Ch, LayerNav->GetHeightNeeded());
  bool HBar = false;
  if (Cw > W) {
    Ch += Bar;
    HBar = true;
  }
  if (Ch > H) {
    Cw += Bar;
    if (Cw > W && !HBar) Ch += Bar;
  }
  R.setWidth(std::min(W, Cw) + FW);
  R.setHeight(std::min(H, Ch) + FH);
  setGeometry(R);
}

void TNewImgForm::SetLayerNavSize() {
  const int Tag = FHost.LayerNavSize();
  if (Tag == 0) {
    LayerNav->hide();
    return;
  }
  LayerNav->SetShowThumb(Tag != -1);
  LayerNav->setFixedWidth(ScaleByDPI(Tag == -1 ? 88 : Tag) + 2 * LayerNav->Margin + 36);
  LayerNav->show();
}

// ---- Activation -------------------------------------------------------------------------------------------

void TNewImgForm::ActivateImage() {
  if (GActiveImageWindow == this) return;
  GActiveImageWindow = this;
  HideOtherSelections(this);
  Image->UpdatePending();
  TImageToolHost* T = ImageToolHost();
  if (FirstActivate) {
    FirstActivate = false;
  } else {
    if (T) T->RestaureZoom();
    if (FlagSel >= 0) Sel->SetVisible(FlagSel == 1);
    if (Sel->Visible() && T && T->IsLayerTool()) T->SetDefaultTool();
    FlagSel = -1;
  }
  if (T) T->MajCurseur();
  CheckWindowMenuItem(this);
  FHost.MajMenus();
  if (T) T->VerifierSelModeEtPopup();
  // The status bar follows the window now active, palette or not.
  FHost.AfficherInfos();
}

void HideOtherSelections(TNewImgForm* Form) {
  for (TNewImgForm* F : GImageWindows) {
    if (F == Form) continue;
    if (F->FlagSel == -1) F->FlagSel = F->Sel->Visible() ? 1 : 0;
    F->Sel->SetVisible(false);
    F->Image->SelectionMode = TSelMode::smShape;
    if (ImageToolHost()) ImageToolHost()->MajCurseur();
  }
}

void TNewImgForm::SetSelVertices(const TPoint (&P)[4], bool BottomRight) {
  TPoint Q[4] = {P[0], P[1], P[2], P[3]};
  if (BottomRight) {
    --Q[1].X;
    --Q[2].X;
    --Q[2].Y;
    --Q[3].Y;
  }
  TRect B{Q[0].X, Q[0].Y, Q[0].X, Q[0].Y};
  for (const TPoint& V : Q) {
    B.Left = std::min(B.Left, V.X);
    B.Top = std::min(B.Top, V.Y);
    B.Right = std::max(B.Right, V.X);
    B.Bottom = std::max(B.Bottom, V.Y);
  }
  ++B.Right;
  ++B.Bottom;
  TShapeManager& M = Sel->ShapeManager();
  M.BeginPoints(Q[0]);
  for (int I = 1; I < 4; ++I) M.AddPoint(Q[I]);
  M.EndPoints(1);
  Sel->SetBmpSelRect(B);
  Sel->SetShape(ssPolygon);
  Image->SetSelShape(ssRect);
  UneSelection = true;
}

void TNewImgForm::SelUpdating(TSelOption Option) {
  TImageToolHost* T = ImageToolHost();
  if (!T) return;
  switch (Option) {
  case soStart:
    T->EnableHint(false);
    break;
  case soChanging:
  case soChanged:
    T->AfficherInfosSelection(Sel->BmpSelRect());
    if (Option == soChanged) T->ClearFlagBtnSelUndo();
    break;
  case soEnd:
    T->EnableHint(true);
    break;
  default:
    break;
  }
}

void TNewImgForm::BringMDIToFront() {
  if (GActiveImageWindow != this && isEnabled() && mdiArea()) mdiArea()->setActiveSubWindow(this);
  ActivateImage();
}

// ---- Mouse on the image ------------------------------------------------------------------------------------

void TNewImgForm::ImageMouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y) {
  QWidget* Dialog = OpenDialog();
  if (!Dialog) BringMDIToFront();
  Image->setFocus();
  if (GActiveImageWindow != this) return;
  TImageToolHost* T = ImageToolHost();
  if (Button == Qt::MiddleButton) {
    if (T && T->ZoomMolette()) T->ZoomAutoFit();
    return;
  }
  const bool InImage = Image->PtInImage({X, Y});
  if (Dialog) {
    const bool Module = T && T->ModuleLoaded();
    if (Module && InImage) T->ModuleImageClick(Image->ClientToBmp(TPoint{X, Y}), Button);
    if (QWidget* Pipette = OpenPipetteDialog(); Pipette && InImage) {
      const TPoint P = Image->ClientToBmp(TPoint{X, Y});
      const TColor Color = T ? T->ImageColorAtClient(X, Y, true) : Image->Image().GetColor(P.X, P.Y, true);
      if (Module)
        T->ModuleColor(Color);
      else if (auto* P = dynamic_cast<TPipetteForm*>(Pipette))
        P->ChangerCouleur(Color);
    }
    if (auto* I = dynamic_cast<TInteractiveForm*>(Dialog); I && InImage) I->InteractiveClick(X, Y);
    return;
  }
  if (T && T->PaletteVisible() && (Button == Qt::LeftButton || Button == Qt::RightButton))
    T->ToolMouseDown(*Image, Button, Shift, X, Y);
}

void TNewImgForm::ImageMouseMove(Qt::MouseButtons Buttons, Qt::KeyboardModifiers Shift, int X, int Y) {
  if (GActiveImageWindow != this) return;
  CursorEx->Show(false);
  CursorEx->MoveTo(X, Y);
  if (Image->PtInImage({X, Y}))
    FHost.ChangerPosition({X, Y});
  else
    FHost.InitPosition();
  TImageToolHost* T = ImageToolHost();
  if (OpenDialog() || !T || !T->PaletteVisible()) return;
  if ((Buttons & (Qt::LeftButton | Qt::RightButton)) || T->IsDrawing()) T->ToolMouseMove(*Image, Buttons, Shift, X, Y);
}

void TNewImgForm::ImageMouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y) {
  if (GActiveImageWindow != this || OpenDialog()) return;
  TImageToolHost* T = ImageToolHost();
  if (T && T->PaletteVisible() && (Button == Qt::LeftButton || Button == Qt::RightButton))
    T->ToolMouseUp(*Image, Button, Shift, X, Y);
}

void TNewImgForm::ImageDblClick() {
  if (GActiveImageWindow != this || Image->SelectionMode != TSelMode::smMoveLayer) return;
  TImageToolHost* T = ImageToolHost();
  if (T && (Image->Image().LayerIndex() > 0 || T->ModeRGBA(false))) T->MenuCalqueOptionsClick();
}

void TNewImgForm::ImageDraw(TDrawStage Stage) {
  // A repaint wipes the XOR outline: it is taken away before and drawn again
  // after.
  if (Stage == dsStart) {
    GCursorExWasVisible = CursorEx->Visible();
    if (GCursorExWasVisible) CursorEx->Hide(true);
  } else if (GCursorExWasVisible) {
    CursorEx->Show(true);
  }
}

// ---- Layer moves ------------------------------------------------------------------------------------------

void TNewImgForm::ImageMovingLayer(TSelOption Option) {
  const TLayerItem* L = Image->Image().CurrentLayer();
  switch (Option) {
  case soStart:
    if (ImageToolHost()) ImageToolHost()->EnableHint(false);
    if (L) FMovingLayerStart = L->Pos;
    break;
  case soEnd:
    if (ImageToolHost()) ImageToolHost()->EnableHint(true);
    break;
  case soChanging:
    FHost.AfficherInfosCalque();
    break;
  case soChanged:
    FHost.AfficherInfosCalque();
    FHost.LayerChanged();
    FHost.PrepareLayerPosUndo(FMovingLayerStart);
    break;
  default:
    break;
  }
}

// ---- Services over all windows ---------------------------------------------------------------------------

TNewImgForm* FindImageWindow(const QString& FileName) {
  for (TNewImgForm* F : GImageWindows)
    if (F->NomFichier == FileName) return F;
  return nullptr;
}

int FindLayerOfBitmap(const TBitmap* Bitmap) {
  if (!Bitmap) return -1;
  for (TNewImgForm* F : GImageWindows) {
    const TLayerList& L = F->Image->Image().Layers();
    for (int I = 0; I < L.Count(); ++I)
      if (&L[I].Bitmap() == Bitmap) return I;
  }
  return -1;
}

bool AnyUndoLeft() {
  return std::any_of(GImageWindows.begin(), GImageWindows.end(),
                     [](const TNewImgForm* F) { return F->ListeUndo->Count() > 0; });
}

void PurgeAllUndo() {
  for (TNewImgForm* F : GImageWindows) {
    F->FlagUndoPurge = F->Modified();
    F->ListeUndo->Clear();
  }
}

void UpdateImageWindows() {
  // The selection draws itself into the view's picture.
  for (TNewImgForm* F : GImageWindows) {
    F->Image->UpdatePending();
    if (F->isVisible()) F->repaint();
  }
}

void SetImageFrameShadow(bool Frame, bool Shadow) {
  for (TNewImgForm* F : GImageWindows) {
    F->Image->SetBorderColor(Frame ? 0x474747 : clNone);
    F->Image->SetShadowSize(Shadow ? ScaleByDPI(4) : 0);
  }
}

void ShowActiveLayerBounds(bool Value) {
  for (TNewImgForm* F : GImageWindows) {
    F->Image->SetDrawLayerActiveBounds(Value);
    F->Image->CheckLayerTranspOnSelect = !Value;
  }
}

void SetAutoSelectLayerAll(bool Value) {
  for (TNewImgForm* F : GImageWindows) F->Image->AutoSelectLayer = Value;
}

void SetLayerNumberAll(bool Value) {
  for (TNewImgForm* F : GImageWindows) F->LayerNav->SetLayerNumber(Value);
}

void SetOptimizeModeAll(bool Smooth) {
  for (TNewImgForm* F : GImageWindows) F->Image->SetOptimizeMode(Smooth ? omReduction : omNone);
}

void ApplyGridSettings() {
  for (TNewImgForm* F : GImageWindows) {
    F->Image->GridWidth = F->Host().TailleGrille();
    F->Image->GridColor = F->Host().CouleurGrille();
    F->Image->GridUnit = F->Host().UniteGrille();
    if (F->Image->ShowGrid) F->Image->InvalidateView();
  }
}

// ---- Window menu -------------------------------------------------------------------------------------------

QMenu* WindowMenu = nullptr;

namespace {

constexpr const char* WindowProperty = "imageWindow";

TNewImgForm* WindowOf(const QAction* A) {
  return static_cast<TNewImgForm*>(A->property(WindowProperty).value<void*>());
}

QAction* LastItemOf(const TNewImgForm* Form) {
  if (!WindowMenu) return nullptr;
  const QList<QAction*> Items = WindowMenu->actions();
  for (auto I = Items.rbegin(); I != Items.rend(); ++I)
    if (WindowOf(*I) == Form) return *I;
  return nullptr;
}

} // namespace

void AddWindowMenuItem(TNewImgForm* Form, const QString& Caption) {
  GImageWindows.push_back(Form);
  if (!WindowMenu) return;
  QAction* A = WindowMenu->addAction(EllipsisMiddle(Caption, 30));
  A->setCheckable(true);
  A->setProperty(WindowProperty, QVariant::fromValue(static_cast<void*>(Form)));
  QObject::connect(A, &QAction::triggered, Form, [Form] {
    if (Form->isMinimized())
      Form->showNormal();
    else
      Form->BringMDIToFront();
  });
}

void RemoveWindowMenuItem(TNewImgForm* Form) {
  const auto It = std::find(GImageWindows.begin(), GImageWindows.end(), Form);
  if (It == GImageWindows.end()) return;
  GImageWindows.erase(It);
  delete LastItemOf(Form);
}

void UpdateWindowMenuItem(TNewImgForm* Form, const QString& Caption) {
  if (QAction* A = LastItemOf(Form)) A->setText(EllipsisMiddle(Caption, 30));
}

void CheckWindowMenuItem(TNewImgForm* Form) {
  if (!WindowMenu) return;
  for (QAction* A : WindowMenu->actions())
    if (WindowOf(A)) A->setChecked(WindowOf(A) == Form);
}

// ---- Layout of all windows -------------------------------------------------------------------------------

void DisableImageWindows(TNewImgForm* Form) {
  for (TNewImgForm* F : GImageWindows) {
    if (F != Form) F->setEnabled(false);
    F->LayerNav->setEnabled(false);
  }
}

void EnableImageWindows() {
  for (TNewImgForm* F : GImageWindows) {
    F->setEnabled(true);
    F->LayerNav->setEnabled(true);
  }
}

void CascadeImageWindows() {
  int K = 0;
  for (TNewImgForm* F : GImageWindows) {
    if (F->isMinimized()) continue;
    F->SetWindowSize(K++, true, false, true, true);
    F->BringMDIToFront();
  }
}

void TileImageWindows() {
  for (size_t I = 0; I < GImageWindows.size(); ++I)
    if (!GImageWindows[I]->isMinimized()) GImageWindows[I]->CalcSizeAndPos(static_cast<int>(I), true, false, false);
}

void ApplyLayerNavigatorSize() {
  for (size_t I = 0; I < GImageWindows.size(); ++I) {
    TNewImgForm* F = GImageWindows[I];
    F->SetLayerNavSize();
    if (!F->LayerNav->isHidden()) F->LayerNav->Synchronize(false);
    F->CalcSizeAndPos(static_cast<int>(I), F->FlagAutoZoom, F->FlagAutoZoom, false);
  }
}

void ResizeImageWindows() {
  if (GImageWindows.empty() || GImageWindows.front()->isMaximized()) return;
  for (size_t I = 0; I < GImageWindows.size(); ++I)
    GImageWindows[I]->CalcSizeAndPos(static_cast<int>(I), GImageWindows[I]->FlagAutoZoom, true, false);
}

void LockImageWindowRects(bool Value) {
  for (TNewImgForm* F : GImageWindows)
    if (!F->isMinimized()) F->LockWinRect = Value;
}
