// The stroke tools besides the brush and the clone stamps: the tools that
// paint once at each mouse position (drop, airbrush, retouch, deform, art
// brush), the finger, the nozzle and the hand scroll.
#include "tools/ui/StrokeTools.h"

#include "document/ui/MyImageLayeredView.h"
#include "platform/Rounding.h"
#include "tools/FiltresOutils24.h"
#include "tools/ui/Outils.h"

#include <QApplication>
#include <QRadioButton>

namespace {

enum : int { BtnAero = 5, BtnGoutte = 8, BtnDoigt = 9, BtnRetouche = 14, BtnDeform = 15, BtnArt = 16, BtnNozzle = 17 };

// What a point tool reads and keeps: its button, undo kind, radius and
// pressure controls.
struct TPointToolRow {
  int Button;
  TToolUndo Undo;
  const char* Radius;
  const char* Pressure;
};
// By TPointKind.
constexpr TPointToolRow PointRows[] = {
    {BtnGoutte, TToolUndo::DrawBmp, "SERGoutte", "TBGoutte"},
    {BtnAero, TToolUndo::DrawBM, "SERAero", "TBPressionAero"},
    {BtnRetouche, TToolUndo::DrawBmp, "SERRetouche", "TBRetouche"},
    {BtnDeform, TToolUndo::DrawBmp, "SERDeform", "TBDeform"},
    {BtnArt, TToolUndo::DrawBmp, "SERArt", "TBArt"},
};

// The retouch item "Gomme magique" and the art brush's "Teinte".
constexpr int RetoucheGommeMagique = 7;
constexpr int ArtTeinte = 8;

// The footprint of radius R around P.
TRect Around(TPoint P, int R) { return {P.X - R, P.Y - R, P.X + R + 1, P.Y + R + 1}; }

} // namespace

// ---- Point tools ----------------------------------------------------------------------------

bool TStrokeTools::ActivePointTool(TPointKind& Kind) const {
  const bool Found = P.IsGoutteTool() || P.IsAeroTool() || P.IsRetoucheTool() || P.IsDeformTool() || P.IsArtTool();
  Kind = P.IsGoutteTool() ? TPointKind::Drop
         : P.IsAeroTool() ? TPointKind::Aero
         : P.IsRetoucheTool() ? TPointKind::Retouch
         : P.IsDeformTool() ? TPointKind::Deform
                            : TPointKind::Art;
  return Found;
}

void TStrokeTools::BeginPointTool(TPointKind Kind, Qt::MouseButton Button, int X, int Y) {
  const TPointToolRow& Row = PointRows[int(Kind)];
  FPointKind = Kind;
  FRightButton = Button == Qt::RightButton;
  BeginStroke(*FView, Row.Undo, Hint(Row.Button));
  FKind = TStrokeKind::Point;
  FRadius = Value(Row.Radius);
  S.Pressure = Position(Row.Pressure) * 10;
  S.Step = 0;
  switch (Kind) {
  case TPointKind::Aero:
    S.ToolParam = 2 * Position("TBDispersionAero");
    S.Color = Checked("CBAeroGrad") ? RainbowColor : Color(FRightButton);
    break;
  case TPointKind::Retouch: {
    S.ToolParam = ItemIndex("EdiRetouche");
    if (S.ToolParam == RetoucheGommeMagique) {
      const bool Horizontal = P.Control<QRadioButton>("RBHoriz")->isChecked();
      const bool Vertical = P.Control<QRadioButton>("RBVerti")->isChecked();
      S.ToolParam = (Horizontal ? 9 : Vertical ? 8 : 7) + (Checked("CBLisserGomme") ? 3 : 0);
      FRadius -= FRadius / 4;
      S.Step = FRadius / 2;
    }
    break;
  }
  case TPointKind::Deform:
    S.ToolParam = P.Control<QRadioButton>("RBDeform1")->isChecked()   ? 0
                  : P.Control<QRadioButton>("RBDeform2")->isChecked() ? 1
                  : P.Control<QRadioButton>("RBDeform3")->isChecked() ? 2
                                                                      : 3;
    break;
  case TPointKind::Art:
    S.ToolParam = ItemIndex("EdiArtMode");
    S.Step = S.ToolParam == ArtTeinte ? 0 : Round(FRadius * 0.69);
    S.Color = Color(false);
    S.Color2 = Color(true);
    break;
  case TPointKind::Drop: break;
  }
  const TPoint Pt = ToLayer(X, Y);
  S.Start(Pt);
  PaintPointTool(Pt);
  RepaintStroke(Around(Pt, FRadius));
  if (Kind == TPointKind::Aero || Kind == TPointKind::Deform)
    StartRepeatTimer([this](int TX, int TY) { ApplyPointTool(TX, TY, QGuiApplication::queryKeyboardModifiers()); });
}

void TStrokeTools::PaintPointTool(TPoint At) {
  TBitmap& Target = *S.Target;
  switch (FPointKind) {
  case TPointKind::Drop: DropBrush24(Target, At.X, At.Y, FRadius, S.Pressure, S.Clip); break;
  case TPointKind::Aero:
    AirBrush24(Target, S.TargetMask, At.X, At.Y, FRadius, S.Pressure, S.Color, S.ToolParam, S.Clip);
    break;
  case TPointKind::Retouch:
    RetouchBrush24(Target, *S.Snapshot, At.X, At.Y, FRadius, S.Pressure, S.ToolParam, S.Clip);
    break;
  case TPointKind::Deform:
    DeformBrush24(Target, At.X, At.Y, FRadius, S.Pressure, S.ToolParam, S.Clip, !FRightButton);
    break;
  case TPointKind::Art:
    ArtBrush24(Target, *S.Snapshot, At.X, At.Y, FRadius, S.Pressure, S.ToolParam, S.Clip, S.Color, S.Color2);
    break;
  }
}

void TStrokeTools::ApplyPointTool(int X, int Y, Qt::KeyboardModifiers Keys) {
  if (!StrokeAlive()) return;
  TPoint Pt = ToLayer(X, Y);
  switch (FPointKind) {
  case TPointKind::Drop:
    if (Pt == S.LastPoint) return;
    break;
  case TPointKind::Aero:
    if (Keys & Qt::ShiftModifier) S.LockAxis(Pt);
    break;
  case TPointKind::Retouch:
  case TPointKind::Art:
    if (S.WithinStep(Pt)) return;
    break;
  case TPointKind::Deform: break;
  }
  PaintPointTool(Pt);
  RepaintStroke(Around(Pt, FRadius));
  S.AddPoint(Pt);
  S.LastStamp = Pt;
}

void TStrokeTools::EndPointTool() {
  StopRepeatTimer();
  EndStroke(FRadius + 1, FRadius + 1, FPointKind != TPointKind::Drop, FPointKind == TPointKind::Aero);
}

// ---- Finger -----------------------------------------------------------------------------------

void TStrokeTools::CommencerDoigt(int X, int Y) {
  BeginStroke(*FView, TToolUndo::DrawBM, Hint(BtnDoigt));
  FKind = TStrokeKind::Finger;
  FRadius = Value("SERDoigt");
  S.Pressure = 10 * Position("TBDoigt");
  S.Start(ToLayer(X, Y));
}

void TStrokeTools::DoigtVers(int X, int Y) {
  if (!StrokeAlive()) return;
  const TPoint Pt = ToLayer(X, Y);
  if (Pt == S.LastPoint) return;
  WalkSegment(S.LastPoint, Pt, [this](int PX, int PY) {
    FingerBrush24(*S.Target, S.TargetMask, PX, PY, FRadius, S.Pressure, S.LastStamp.X - PX, S.LastStamp.Y - PY,
                  S.Clip);
    S.LastStamp = {PX, PY};
  });
  RepaintStroke(SegmentRect(S.LastPoint, Pt, FRadius + 1, FRadius + 1));
  S.AddPoint(Pt);
}

// ---- Nozzle -----------------------------------------------------------------------------------

void TStrokeTools::CommencerNozzle(Qt::KeyboardModifiers Keys, int X, int Y) {
  // PrepareNozzle: the selected tube read again from its file.
  if (!P.Nozzles().LoadSelectedStrip(S.Stamp) || S.Stamp.Empty()) {
    S.Stamp.Assign(TBitmap());
    return;
  }
  if (P.Nozzles().ItemIndex != FNozzleIndex) FNozzleFrame = 0;
  FNozzleIndex = P.Nozzles().ItemIndex;
  const int A = Round(Value("SENozTaille") * (S.Stamp.Height() - 1) / 100.0);
  S.RadiusX = S.RadiusY = A / 2;
  S.Step = Round(A * Position("TBNozStep") / 10.0);
  if (S.Step == 0) S.Step = 3;
  BeginStroke(*FView, TToolUndo::DrawBM, Hint(BtnNozzle));
  FKind = TStrokeKind::Nozzle;
  S.Pressure = 10 * Position("TBNozzle");
  const TPoint Pt = ToLayer(X, Y);
  S.Start(Pt);
  NozzleFrameAt(Pt, Keys);
  RepaintStroke({Pt.X - S.RadiusX, Pt.Y - S.RadiusX, Pt.X + S.RadiusX + 2, Pt.Y + S.RadiusX + 2});
}

void TStrokeTools::AppliquerNozzle(int X, int Y, Qt::KeyboardModifiers Keys) {
  if (!StrokeAlive()) return;
  const TPoint Pt = ToLayer(X, Y);
  if (S.WithinStep(Pt)) return;
  NozzleFrameAt(Pt, Keys);
  RepaintStroke({Pt.X - S.RadiusX, Pt.Y - S.RadiusX, Pt.X + S.RadiusX + 2, Pt.Y + S.RadiusX + 2});
  S.AddPoint(Pt);
  S.LastStamp = Pt;
}

void TStrokeTools::NozzleFrameAt(TPoint At, Qt::KeyboardModifiers Keys) {
  // Shift paints the first frame every time, Ctrl repeats the current one.
  if (Keys & Qt::ShiftModifier)
    FNozzleFrame = 0;
  else if ((Keys & Qt::ControlModifier) && FNozzleFrame > 0)
    --FNozzleFrame;
  NozzleBrush24(S.Stamp, FNozzleFrame, *S.Target, S.TargetMask, At.X, At.Y, S.Pressure,
                Value("SENozTaille") / 100.0, S.Clip);
  ++FNozzleFrame;
}

// ---- Hand scroll ----------------------------------------------------------------------------------

void TStrokeTools::DebutScroll(TMyImageLayeredView& View, int X, int Y) {
  FScrolling = true;
  FScrollView = &View;
  FScrollGrid = P.Control<QRadioButton>("RBScrollFluide")->isChecked()   ? 3
                : P.Control<QRadioButton>("RBScrollSacade")->isChecked() ? 16
                                                                         : 8;
  FScrollLast = {X / FScrollGrid * FScrollGrid, Y / FScrollGrid * FScrollGrid};
  if (Svc.MaskHost().Sel() && Svc.MaskHost().Sel()->Visible()) Svc.LockSelectionAnimation(true);
}

void TStrokeTools::ScrollVers(int X, int Y) {
  if (!FScrolling || !FScrollView) return;
  X = X / FScrollGrid * FScrollGrid;
  Y = Y / FScrollGrid * FScrollGrid;
  if (std::abs(X - FScrollLast.X) <= FScrollGrid && std::abs(Y - FScrollLast.Y) <= FScrollGrid) return;
  FScrollView->ScrollBy(FScrollLast.X - X, FScrollLast.Y - Y);
  FScrollLast = {X, Y};
}

void TStrokeTools::FinScroll() {
  if (!FScrolling) return;
  if (Svc.MaskHost().Sel() && Svc.MaskHost().Sel()->Visible()) Svc.LockSelectionAnimation(false);
  FScrolling = false;
  FScrollView = nullptr;
}
