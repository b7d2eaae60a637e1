// The clone stamp (Ctrl + press picks the source, a press paints from it,
// the right button only follows it) and the pattern clone.
#include "tools/ui/StrokeTools.h"

#include "document/MyImageLayered.h"
#include "document/Pattern.h"
#include "document/Undo.h"
#include "document/ui/MyImageLayeredView.h"
#include "platform/Rounding.h"
#include "tools/FiltresOutils24.h"
#include "tools/Footprint.h"
#include "platform/Canvas.h"
#include "tools/ui/Outils.h"
#include "ui/MsgDlg.h"

namespace {

constexpr int BtnTampon = 10;

} // namespace

void TStrokeTools::InitTampon(TMyImageLayeredView& View, int X, int Y) {
  FClone.View = &View;
  FClone.Layer = View.Image().CurrentLayer();
  FClone.LastTarget = nullptr;
  FClone.Point = View.ClientToLayer(TPoint{X, Y});
  FClone.Offset = {OffsetNotSet, 0};
}

void TStrokeTools::CommencerTampon(Qt::MouseButton Button, int X, int Y) {
  // The source is found by its layer in its image: a layer deleted, or its
  // window closed, leaves no source.
  const bool Found = FClone.View && FClone.Layer && FClone.View->Image().Layers().IndexOf(FClone.Layer) >= 0;
  if (!Found) {
    ShowMsgDlg(QStringLiteral("Vous devez définir l'origine du tampon en maintenant la touche CTRL enfoncée\n"
                              "et en cliquant sur la zone à dupliquer."),
               mdkInformation, {mdbOk});
    return;
  }
  FCloneSrcLayerPos = FClone.Layer->Pos;
  TBitmap* Target = &FView->Image().CurrentLayer()->Bitmap();
  if (Target != FClone.LastTarget) {
    FClone.Offset.X = OffsetNotSet;
    FClone.LastTarget = Target;
  }
  FRadius = Value("SERTampon");
  S.Pressure = TrackBarPressure(Position("TBTampon"));
  FCloneFixed = Checked("CBTamponFixe");
  S.Step = FCloneFixed ? BrushStep(FRadius, Position("TBBrushStep3")) : Round(FRadius * 0.33);
  FClonePrecise = Checked("CBTamponPrecis");
  FCloneDiffuse = Checked("CBTamponDiffuse");
  FCloneCursorPos = {X, Y};
  const auto Shift = [this](TPoint At) {
    if (FCloneFixed) {
      FCloneShift = FClone.Point;
      return;
    }
    if (FClone.Offset.X == OffsetNotSet) FClone.Offset = {FClone.Point.X - At.X, FClone.Point.Y - At.Y};
    FCloneShift = FClone.Offset;
  };
  TPoint Pt = ToLayer(X, Y);
  S.Start(Pt);
  Shift(Pt);
  if (Button == Qt::RightButton) {
    // Only the source follows the mouse: no record, nothing painted.
    S.Drawing = false;
    FCursorOnly = true;
    FKind = TStrokeKind::Clone;
    DessinerCurseurTampon(X, Y);
    return;
  }
  FCursorOnly = false;
  const bool SameLayer = &FClone.Layer->Bitmap() == Target;
  BeginStroke(*FView, TToolUndo::DrawBM, Hint(BtnTampon));
  FKind = TStrokeKind::Clone;
  if (const auto* Expand = dynamic_cast<const TUndoExpandLayer*>(Svc.MaskHost().ListeUndo()->CurrentUndo())) {
    // The layer grew before painting: the source point or the aligned
    // offset follows its new origin.
    const TPoint D = Expand->Offset();
    if (SameLayer) {
      FCloneSrcLayerPos = {FCloneSrcLayerPos.X - D.X, FCloneSrcLayerPos.Y - D.Y};
      FClone.Point = {FClone.Point.X + D.X, FClone.Point.Y + D.Y};
      if (FCloneFixed) FCloneShift = FClone.Point;
    } else if (!FCloneFixed) {
      FClone.Offset = {FClone.Offset.X - D.X, FClone.Offset.Y - D.Y};
      FCloneShift = FClone.Offset;
    }
    Pt = ToLayer(X, Y);
    S.Start(Pt);
  }
  // Cloning within one layer reads it as it was before the stroke.
  TSelMaskHost& Host = Svc.MaskHost();
  FCloneRead = SameLayer ? Host.BmpUndo() : &FClone.Layer->Bitmap();
  FCloneReadMask = UsableMask(SameLayer ? Host.MaskUndo() : &FClone.Layer->Mask());
  CloneLineStep(Pt.X, Pt.Y);
  RepaintStroke({Pt.X - FRadius, Pt.Y - FRadius, Pt.X + FRadius + 1, Pt.Y + FRadius + 1});
  DessinerCurseurTampon(X, Y);
}

void TStrokeTools::DessinerCurseurTampon(int X, int Y) {
  if (FCloneFixed || !FView || !FClone.View) return;
  const TPoint L = FView->ClientToLayer(TPoint{X, Y});
  const TPoint Source{L.X + FCloneShift.X + FCloneSrcLayerPos.X, L.Y + FCloneShift.Y + FCloneSrcLayerPos.Y};
  TMyImageLayeredView& V = *FClone.View;
  const TPoint C = V.BmpToClient(Source);
  TCanvas& Canvas = V.Canvas();
  const TRect OldClip = Canvas.ClipRect();
  const TPen OldPen = Canvas.Pen;
  Canvas.SetClipRect(V.ImgRect());
  Canvas.Pen = TPen{0xFFD8CE, 1, TPenStyle::psSolid, TPenMode::pmXor};
  Canvas.MoveTo(C.X - 8, C.Y);
  Canvas.LineTo(C.X + 8, C.Y);
  Canvas.MoveTo(C.X, C.Y - 8);
  Canvas.LineTo(C.X, C.Y - 1);
  Canvas.MoveTo(C.X, C.Y + 1);
  Canvas.LineTo(C.X, C.Y + 8);
  Canvas.Pen = OldPen;
  Canvas.SetClipRect(OldClip);
  V.ShowClientRect({C.X - 8, C.Y - 8, C.X + 9, C.Y + 9});
}

void TStrokeTools::CloneLineStep(int X, int Y) {
  if (S.StampCount > 0 && S.WithinStep({X, Y})) return;
  const int OX = FCloneFixed ? FCloneShift.X - X : FCloneShift.X;
  const int OY = FCloneFixed ? FCloneShift.Y - Y : FCloneShift.Y;
  CloneBrush24(*FCloneRead, FCloneReadMask, *S.Target, S.TargetMask, X, Y, FRadius, OX, OY, S.Pressure, S.Clip,
               FClonePrecise, FCloneDiffuse);
  S.LastStamp = {X, Y};
  ++S.StampCount;
}

void TStrokeTools::DessinerTamponVers(int X, int Y, Qt::KeyboardModifiers Keys) {
  if (!FCursorOnly && !StrokeAlive()) return;
  if (!FView) return;
  TPoint Pt = ToLayer(X, Y);
  if (Pt == S.LastPoint) return;
  if (Keys & Qt::ShiftModifier) S.LockAxis(Pt);
  DessinerCurseurTampon(FCloneCursorPos.X, FCloneCursorPos.Y);
  FCloneCursorPos = {X, Y};
  if (FCursorOnly) {
    DessinerCurseurTampon(X, Y);
    return;
  }
  WalkSegment(S.LastPoint, Pt, [this](int PX, int PY) { CloneLineStep(PX, PY); });
  RepaintStroke(SegmentRect(S.LastPoint, Pt, FRadius + 1, FRadius + 1));
  S.AddPoint(Pt);
  DessinerCurseurTampon(X, Y);
}

void TStrokeTools::FinTampon() {
  DessinerCurseurTampon(FCloneCursorPos.X, FCloneCursorPos.Y);
  if (FCursorOnly) {
    FCursorOnly = false;
    FKind = TStrokeKind::None;
    SyncPalette();
    return;
  }
  EndStroke(FRadius + 1, FRadius + 1, true, true);
}

// ---- Pattern clone ------------------------------------------------------------------------------

void TStrokeTools::CommencerTampon2(Qt::MouseButton, int X, int Y) {
  const TPattern32& Pattern = CurrentPattern();
  if (Pattern.BmpEmpty()) return;
  BeginStroke(*FView, TToolUndo::DrawBM, Hint(BtnTampon));
  FKind = TStrokeKind::PatternClone;
  FCloneFixed = Checked("CBTamponFixe");
  if (FCloneFixed) {
    S.RadiusX = (Pattern.Bmp().Width() - 1) / 2;
    S.RadiusY = (Pattern.Bmp().Height() - 1) / 2;
  } else {
    S.RadiusX = S.RadiusY = Value("SERTampon");
  }
  S.Pressure = TrackBarPressure(Position("TBTampon"));
  S.Step = FCloneFixed ? BrushStep(std::min(S.RadiusX, S.RadiusY), Position("TBBrushStep3"))
                       : Round(std::max(S.RadiusX, S.RadiusY) * 0.33);
  FClonePrecise = Checked("CBTamponPrecis");
  FCloneDiffuse = Checked("CBTamponDiffuse");
  // The fixed stamp is the pattern through its mask, or whole when opaque.
  S.Stamp.Assign(TBitmap());
  if (FCloneFixed) {
    if (Pattern.MaskEmpty()) {
      S.Stamp.Assign(TBitmap(Pattern.Bmp().Width(), Pattern.Bmp().Height(), pf24bit, clBlack));
    } else {
      S.Stamp.Assign(Pattern.Mask());
    }
  }
  const TPoint Pt = ToLayer(X, Y);
  S.Start(Pt);
  PatternStamp(Pt.X, Pt.Y);
  RepaintStroke({Pt.X - S.RadiusX, Pt.Y - S.RadiusY, Pt.X + S.RadiusX + 2, Pt.Y + S.RadiusY + 2});
}

void TStrokeTools::PatternStamp(int X, int Y) {
  const TPattern32& Pattern = CurrentPattern();
  if (Pattern.BmpEmpty()) return;
  const TBitmap* PatternMask = Pattern.MaskEmpty() ? nullptr : &Pattern.Mask();
  if (FCloneFixed)
    PaintImageStamp24(Pattern.Bmp(), S.Stamp, *S.Target, S.TargetMask, X - S.RadiusX, Y - S.RadiusY, S.Clip,
                      S.Pressure);
  else
    PatternCloneBrush24(Pattern.Bmp(), PatternMask, *S.Target, S.TargetMask, X, Y, S.RadiusX, S.Pressure, S.Clip,
                        FClonePrecise, FCloneDiffuse);
}

void TStrokeTools::DessinerTampon2Vers(int X, int Y, Qt::KeyboardModifiers Keys) {
  if (!StrokeAlive()) return;
  TPoint Pt = ToLayer(X, Y);
  if (Pt == S.LastPoint) return;
  if (Keys & Qt::ShiftModifier) S.LockAxis(Pt);
  WalkSegment(S.LastPoint, Pt, [this](int PX, int PY) {
    if (S.WithinStep({PX, PY})) return;
    PatternStamp(PX, PY);
    S.LastStamp = {PX, PY};
  });
  RepaintStroke(SegmentRect(S.LastPoint, Pt, S.RadiusX + 2, S.RadiusY + 2));
  S.AddPoint(Pt);
}
