// The stroke frame shared by the painting tools, and the three dispatchers
// that hand the image's mouse to the current tool.
#include "tools/ui/StrokeTools.h"

#include "document/MyImageLayered.h"
#include "document/Undo.h"
#include "document/ui/MyImageLayeredView.h"
#include "tools/ui/Outils.h"
#include "ui/SpecialEdit.h"
#include "ui/SpinEdit.h"
#include "ui/TrackBar.h"

#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QTimer>
#include <QToolButton>

TStrokeTools::TStrokeTools(TOutilsForm& Palette, TStrokeServices& Services) : P(Palette), Svc(Services) {
  // Toggling "Fixe" forgets the clone's aligned offset.
  connect(P.Control<QCheckBox>("CBTamponFixe"), &QCheckBox::toggled, this, [this] { FClone.Offset.X = OffsetNotSet; });
}

TStrokeTools::~TStrokeTools() = default;

// ---- Palette reading ---------------------------------------------------------------

QString TStrokeTools::Hint(int ToolId) const { return P.ToolHint(ToolId); }
TColor TStrokeTools::Color(bool Back) const { return P.GetColor(Back); }
int TStrokeTools::Value(const char* Name) const { return P.Control<TSpinEdit2>(Name)->Value(); }
int TStrokeTools::Position(const char* Name) const { return P.Control<TTrackBar>(Name)->Position(); }
bool TStrokeTools::Checked(const char* Name) const { return P.Control<QCheckBox>(Name)->isChecked(); }
int TStrokeTools::ItemIndex(const char* Name) const { return P.Control<TSpecialEdit>(Name)->ItemIndex(); }
void TStrokeTools::SyncPalette() { P.StrokeRunning = IsDrawing(); }

TPoint TStrokeTools::ToLayer(int X, int Y) const { return FView->ClientToLayer(TPoint{X, Y}); }

// ---- The frame -----------------------------------------------------------------------

void TStrokeTools::BeginStroke(TMyImageLayeredView& View, TToolUndo Kind, const QString& Title) {
  Svc.PrepareUndo(Kind, Title);
  TSelMaskHost& Host = Svc.MaskHost();
  FView = &View;
  FLayer = View.Image().CurrentLayer();
  const TUndoItem* Record = Host.ListeUndo() ? Host.ListeUndo()->CurrentUndo() : nullptr;
  FUndoId = Record ? Record->Id() : 0;
  S.Target = LeBitmap(Host);
  S.Snapshot = Host.BmpUndo();
  // Only a record of bitmap and mask lets the stroke change the mask.
  const bool ToMask = Kind == TToolUndo::DrawBM && Svc.DessinerSurAlpha();
  S.TargetMask = ToMask ? LeMasque(Host) : nullptr;
  S.MaskSnapshot = ToMask ? Host.MaskUndo() : nullptr;
  S.Clip = LaSelection(Host);
  const bool Visible = Host.Sel() && Host.Sel()->Visible();
  if (Visible) Svc.LockSelectionAnimation(true);
  S.SelMask.reset();
  if (SelectionNeedsMask(Host, false)) S.SelMask = MakeSelectionMask(Host, 0);
  S.Drawing = true;
  SyncPalette();
}

void TStrokeTools::RepaintStroke(const TRect& R) {
  S.RestoreOutsideSelection(R);
  if (FView) FView->Image().RepaintLayerRect(R);
}

bool TStrokeTools::StrokeAlive() {
  if (!S.Drawing) return false;
  const TUndoList* List = Svc.MaskHost().ListeUndo();
  const TUndoItem* Record = List ? List->CurrentUndo() : nullptr;
  const bool Alive = FView && FView == Svc.ActiveView() && FLayer && FView->Image().CurrentLayer() == FLayer &&
                     (S.Target == &FLayer->Bitmap() || S.Target == &FLayer->Mask()) && Record &&
                     Record->Id() == FUndoId;
  if (!Alive) DropStroke();
  return Alive;
}

void TStrokeTools::DropStroke() {
  StopRepeatTimer();
  S.Clear();
  FKind = TStrokeKind::None;
  FCursorOnly = false;
  if (FView && FView == Svc.ActiveView() && Svc.MaskHost().Sel() && Svc.MaskHost().Sel()->Visible())
    Svc.LockSelectionAnimation(false);
  FView = nullptr;
  FLayer = nullptr;
  SyncPalette();
}

void TStrokeTools::EndStroke(int MarginX, int MarginY, bool Final, bool MaskCopy) {
  if (!StrokeAlive()) return;
  const TRect Dirty = S.FinalRect(MarginX, MarginY);
  S.DirtyRect = Dirty;
  TSelMaskHost& Host = Svc.MaskHost();
  const TRect Softened = S.EndSelectionClip(Final && !Host.SelAucunLissage());
  if (!Softened.IsEmpty()) RepaintStroke(Softened);
  if (Host.Sel() && Host.Sel()->Visible()) Svc.LockSelectionAnimation(false);
  if (auto* Record = dynamic_cast<TUndoBmpItem*>(Host.ListeUndo()->CurrentUndo()))
    Record->ResetData(S.Snapshot, MaskCopy ? S.MaskSnapshot : S.Snapshot, Dirty);
  S.Clear();
  FKind = TStrokeKind::None;
  FView = nullptr;
  FLayer = nullptr;
  SyncPalette();
  Svc.LayerChanged();
}

// ---- Repeat timer ----------------------------------------------------------------------

void TStrokeTools::StartRepeatTimer(std::function<void(int X, int Y)> Method) {
  StopRepeatTimer();
  FTimer = new QTimer(this);
  FTimer->setInterval(RepeatTimerInterval(0));
  connect(FTimer, &QTimer::timeout, this, [this] { RepeatTimerTick(); });
  FTimerFonc = std::move(Method);
  FTimerCount = 0;
  FTimer->start();
}

void TStrokeTools::StopRepeatTimer() {
  delete FTimer;
  FTimer = nullptr;
  FTimerFonc = nullptr;
}

void TStrokeTools::RepeatTimerTick() {
  if (!FTimerFonc || !(QGuiApplication::mouseButtons() & (Qt::LeftButton | Qt::RightButton)) || !FView) return;
  ++FTimerCount;
  const QPoint C = FView->viewport()->mapFromGlobal(QCursor::pos());
  if (!FView->PtInImage({C.x(), C.y()})) return;
  FTimerFonc(C.x(), C.y());
  if (FTimer) FTimer->setInterval(RepeatTimerInterval(FTimerCount));
}

// ---- Dispatch ------------------------------------------------------------------------------

void TStrokeTools::MouseDown(TMyImageLayeredView& View, Qt::MouseButton Button, Qt::KeyboardModifiers Keys, int X,
                             int Y) {
  const bool Left = Button == Qt::LeftButton;
  if (IsDrawing()) {
    // The airbrush and deform refuse a second begin while a stroke runs;
    // any other begin first lets the running stroke go, its record keeping
    // the pixels from before it.
    if (TPointKind Kind; ActivePointTool(Kind) && (Kind == TPointKind::Aero || Kind == TPointKind::Deform)) return;
    DropStroke();
  }
  if (P.IsScrollTool()) {
    DebutScroll(View, X, Y);
  } else if (P.IsMagicTool()) {
    BaguetteMagic(View, Left, X, Y);
  } else if (P.IsFillTool()) {
    RemplirZone(View, Left, X, Y);
  } else if (P.IsBrushTool()) {
    FView = &View;
    CommencerDessin(Button, Keys, X, Y);
  } else if (P.IsTamponToolInit()) {
    InitTampon(View, X, Y);
  } else if (P.IsTamponTool()) {
    FView = &View;
    CommencerTampon(Button, X, Y);
  } else if (P.IsTamponTool2()) {
    FView = &View;
    CommencerTampon2(Button, X, Y);
  } else if (P.IsDoigtTool()) {
    FView = &View;
    CommencerDoigt(X, Y);
  } else if (P.IsNozzleTool()) {
    FView = &View;
    CommencerNozzle(Keys, X, Y);
  } else if (TPointKind Kind; ActivePointTool(Kind)) {
    FView = &View;
    BeginPointTool(Kind, Button, X, Y);
  }
  SyncPalette();
}

void TStrokeTools::MouseMove(TMyImageLayeredView&, Qt::MouseButtons, Qt::KeyboardModifiers Keys, int X, int Y) {
  if (FScrolling) ScrollVers(X, Y);
  if (!IsDrawing() || !FView) return;
  switch (FKind) {
  case TStrokeKind::Brush: DessinerVers(X, Y, false, Keys); break;
  case TStrokeKind::Point: ApplyPointTool(X, Y, Keys); break;
  case TStrokeKind::Finger: DoigtVers(X, Y); break;
  case TStrokeKind::Nozzle: AppliquerNozzle(X, Y, Keys); break;
  case TStrokeKind::Clone: DessinerTamponVers(X, Y, Keys); break;
  case TStrokeKind::PatternClone: DessinerTampon2Vers(X, Y, Keys); break;
  case TStrokeKind::None: break;
  }
}

void TStrokeTools::MouseUp(TMyImageLayeredView&, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
  FinScroll();
  FinishStroke();
}

void TStrokeTools::FinishStroke() {
  if (!IsDrawing()) return;
  switch (FKind) {
  case TStrokeKind::Brush: FinDessin(); break;
  case TStrokeKind::Point: EndPointTool(); break;
  case TStrokeKind::Finger: EndStroke(FRadius + 1, FRadius + 1, true, true); break;
  case TStrokeKind::Nozzle: EndStroke(S.RadiusX + 2, S.RadiusX + 2, true, true); break;
  case TStrokeKind::Clone: FinTampon(); break;
  case TStrokeKind::PatternClone: EndStroke(S.RadiusX + 2, S.RadiusY + 2, true, true); break;
  case TStrokeKind::None: DropStroke(); break;
  }
}
