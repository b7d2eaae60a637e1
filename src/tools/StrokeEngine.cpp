#include "tools/StrokeEngine.h"

#include "platform/Canvas.h"
#include "platform/Rounding.h"
#include "raster/Bitmap24.h"
#include "raster/GreyMasks.h"
#include "tools/FiltresOutils24.h"

#include <cstdlib>

int TrackBarPressure(int Position) {
  static constexpr int Table[] = {3, 5, 7, 10, 15, 22, 33, 50, 70};
  return Position >= 1 && Position <= 9 ? Table[Position - 1] : 100;
}

int BrushStep(int Size, int Position) { return Round(Position * (2.0 * Size + 1) / 10.0); }

int RepeatTimerInterval(int TickCount) {
  static constexpr int Intervals[] = {537, 333, 177, 88};
  return TickCount >= 0 && TickCount < 4 ? Intervals[TickCount] : 37;
}

void WalkSegment(TPoint From, TPoint To, const std::function<void(int X, int Y)>& Proc) {
  LineDDA(From.X, From.Y, To.X, To.Y, [&Proc](int X, int Y) { Proc(X, Y); });
  Proc(To.X, To.Y);
}

TRect SegmentRect(TPoint A, TPoint B, int MarginX, int MarginY) {
  return {std::min(A.X, B.X) - MarginX, std::min(A.Y, B.Y) - MarginY, std::max(A.X, B.X) + MarginX,
          std::max(A.Y, B.Y) + MarginY};
}

void TStrokeState::Start(TPoint P) {
  Drawing = true;
  DirtyRect = {P.X, P.Y, P.X, P.Y};
  LastPoint = LastStamp = P;
  StampCount = 0;
  AxisState = 0;
}

void TStrokeState::AddPoint(TPoint P) {
  LastPoint = P;
  DirtyRect.Left = std::min(DirtyRect.Left, P.X);
  DirtyRect.Top = std::min(DirtyRect.Top, P.Y);
  DirtyRect.Right = std::max(DirtyRect.Right, P.X);
  DirtyRect.Bottom = std::max(DirtyRect.Bottom, P.Y);
}

void TStrokeState::LockAxis(TPoint& P) {
  if (AxisState == 0) AxisState = std::abs(P.X - LastPoint.X) < std::abs(P.Y - LastPoint.Y) ? 2 : 1;
  if (AxisState == 1)
    P.Y = LastPoint.Y;
  else
    P.X = LastPoint.X;
}

bool TStrokeState::WithinStep(TPoint P) const {
  return std::abs(P.X - LastStamp.X) <= Step && std::abs(P.Y - LastStamp.Y) <= Step;
}

void TStrokeState::RestoreOutsideSelection(const TRect& Rect) const {
  if (!SelMask || !Target || !Snapshot) return;
  const TRect R = IntersectRect(Rect, {0, 0, Target->Width(), Target->Height()});
  if (R.IsEmpty()) return;
  CopyRect24MaskOpacity(*Snapshot, R, *Target, R.Left, R.Top, R, 100, SelMask.get());
  if (TargetMask && MaskSnapshot && !MaskSnapshot->Empty())
    CopyRect24MaskOpacity(*MaskSnapshot, R, *TargetMask, R.Left, R.Top, R, 100, SelMask.get());
}

TRect TStrokeState::EndSelectionClip(bool Soften) {
  TRect R{};
  if (Soften && SelMask) {
    R = {DirtyRect.Left - 2, DirtyRect.Top - 2, DirtyRect.Right + 2, DirtyRect.Bottom + 2};
    R = IntersectRect(R, {0, 0, SelMask->Width(), SelMask->Height()});
    if (!R.IsEmpty()) {
      GrowShrinkMask(*SelMask, 1, R, false);
      FeatherMask(*SelMask, R, 33);
      RestoreOutsideSelection(R);
    }
  }
  SelMask.reset();
  return R;
}

TRect TStrokeState::FinalRect(int MarginX, int MarginY) const {
  return IntersectRect(SegmentRect({DirtyRect.Left, DirtyRect.Top}, {DirtyRect.Right, DirtyRect.Bottom}, MarginX,
                                   MarginY),
                       Clip);
}

void TStrokeState::Clear() {
  Drawing = false;
  Target = TargetMask = nullptr;
  Snapshot = MaskSnapshot = nullptr;
  SelMask.reset();
  Stamp.Assign(TBitmap());
  Texture.Assign(TBitmap());
}

void ApplyBrushStamp(TStrokeState& S, int X, int Y) {
  if (!S.Target) return;
  if (S.ToolParam == 1)
    PaintImageStamp24(S.Texture, S.Stamp, *S.Target, S.TargetMask, X - S.RadiusX, Y - S.RadiusY, S.Clip, S.Pressure);
  else
    PaintBrushStamp24(S.Stamp, S.Color, *S.Target, S.TargetMask, X - S.RadiusX, Y - S.RadiusY, S.Pressure, S.Clip,
                      S.Texture.Empty() ? nullptr : &S.Texture);
}

void BrushLineStep(TStrokeState& S, int X, int Y) {
  if (S.Step != 0 && S.WithinStep({X, Y})) return;
  ApplyBrushStamp(S, X, Y);
  S.LastStamp = {X, Y};
  ++S.StampCount;
  if (S.StampCount % 3 == 0) S.Pressure -= S.FadeStep;
}
