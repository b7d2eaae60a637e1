// The brush and the eraser: the stamp, pressure, spacing and fade of the
// brush page or the brush list, the texture of the drawing mode, and the
// stroke that stamps along every mouse segment.
#include "tools/ui/StrokeTools.h"

#include "document/SelMask.h"
#include "document/ui/MyImageLayeredView.h"
#include "filters/Filtres24.h"
#include "platform/Rounding.h"
#include "raster/ImgUtils.h"
#include "raster/ImgUtils24.h"
#include "tools/BrushPictures.h"
#include "tools/FiltresOutils24.h"
#include "tools/ui/Outils.h"

#include <QCheckBox>
#include <QStackedWidget>
#include <QToolButton>

namespace {

enum : int { BtnPinceau1 = 6, BtnPinceau2 = 7, BtnGomme = 12 };
// The drawing modes of EdiDessinMode.
enum : int { dmCouleur, dmArcEnCiel, dmPastel, dmFusain, dm3D };

// The kind of MakeBrushStamp24 for the six computed brush buttons, in the
// palette's order: round, soft round, square, slash, backslash, triangle.
constexpr int ComputedKinds[6] = {3, 4, 0, 1, 2, 5};

} // namespace

bool TStrokeTools::PrepareBrush(bool Eraser) {
  const bool ListPage = P.NbkOptions()->currentIndex() == pgDessin2;
  const int Mode = ItemIndex("EdiDessinMode");
  if (ListPage) {
    if (!P.Brushes().BrushStamp(Value("SEBrushTaille"), S.Stamp)) return false;
    const int W = S.Stamp.Width(), H = S.Stamp.Height();
    S.Pressure = TrackBarPressure(Position("TBDessin2"));
    S.FadeStep = 0;
    if (Eraser) {
      S.Step = Round(0.12 * std::min(W, H));
    } else if (Mode == dm3D) {
      S.Step = 0;
      S.FadeStep = Checked("CBFade") ? 1 : 0;
    } else {
      S.Step = BrushStep(std::max(W, H), Position("TBBrushStep"));
      if (Checked("CBFade")) S.FadeStep = std::max(1, Round(S.Step * 7.77 / Position("TBDessin2")));
    }
  } else {
    int Button = 0;
    for (int I = 0; I < 15; ++I)
      if (P.Control<QToolButton>(QStringLiteral("ToolButton%1").arg(I + 1).toLatin1().constData())->isChecked())
        Button = I;
    int Size = 0;
    if (Button < 6) {
      Size = Value("SERBrush");
      MakeBrushStamp24(S.Stamp, ComputedKinds[Button], Size);
    } else {
      BrushButtonPicture(Button - 6, S.Stamp);
      CropBitmap(S.Stamp, AutoCropRect(S.Stamp, 0, clWhite));
      Size = S.Stamp.Width() / 2;
    }
    if (S.Stamp.Empty()) return false;
    S.Pressure = TrackBarPressure(Position("TBDessin"));
    S.FadeStep = 0;
    if (!Eraser)
      S.Step = Mode == dm3D ? 0 : BrushStep(Size, Position("TBBrushStep2"));
    else
      S.Step = Button == 3 || Button == 4 ? Size / 37 : Round(Size * 0.12);
  }
  // A 256-colour image with a transparent colour paints with two levels.
  const TBitmap* Fond = LeFond(Svc.MaskHost());
  if (Fond && Fond->Transparent)
    ThresholdTwoColors24(S.Stamp, 128, clBlack, clWhite, {0, 0, S.Stamp.Width(), S.Stamp.Height()});
  return true;
}

void TStrokeTools::PrepareBrushTexture(bool RightButton) {
  S.Texture.Assign(TBitmap());
  const int Mode = ItemIndex("EdiDessinMode");
  if (Mode == dmPastel || Mode == dmFusain) {
    MakeBrushTexture(Mode, S.Texture);
  } else if (Mode == dm3D && S.Stamp.Width() > 2 && S.Stamp.Height() > 2) {
    S.Texture.SetPixelFormat(pf24bit);
    S.Texture.SetSize(S.Stamp.Width(), S.Stamp.Height());
    MakeBevelStampImage24(S.Texture, Color(RightButton));
  }
}

void TStrokeTools::CommencerDessin(Qt::MouseButton Button, Qt::KeyboardModifiers Keys, int X, int Y) {
  TMyImageLayeredView& View = *FView;
  const bool Eraser = P.Tool() == BtnGomme;
  const bool Right = Button == Qt::RightButton;
  if (!PrepareBrush(Eraser)) return;
  if (!Eraser) PrepareBrushTexture(Right);
  TSelMaskHost& Host = Svc.MaskHost();
  FEraser = Eraser;
  FRightButton = Right;
  if (Eraser && HasAlpha(Host)) {
    BeginStroke(View, TToolUndo::DrawMask, Hint(BtnGomme));
    S.Target = LeMasque(Host);
    const QCheckBox* Invert = P.Control<QCheckBox>("CBInvertGomme");
    S.Color = Invert->isVisible() && Invert->isChecked() ? clBlack : clWhite;
  } else if (Eraser) {
    BeginStroke(View, TToolUndo::DrawBmp, Hint(BtnGomme));
    if (S.Target->Transparent) {
      S.Color = S.Target->TransparentColor();
      S.Pressure = 100;
      S.FadeStep = 0;
    } else {
      S.Color = Color(true);
    }
  } else {
    BeginStroke(View, TToolUndo::DrawBM, Hint(P.ToolButton(BtnPinceau1)->isChecked() ? BtnPinceau1 : BtnPinceau2));
    S.Color = Right ? Color(true) : ItemIndex("EdiDessinMode") == dmArcEnCiel ? RainbowColor : Color(false);
  }
  if (Eraser) {
    S.TargetMask = nullptr;
    S.MaskSnapshot = nullptr;
  }
  FKind = TStrokeKind::Brush;
  S.RadiusX = (S.Stamp.Width() - 1) / 2;
  S.RadiusY = (S.Stamp.Height() - 1) / 2;
  S.StampCount = 0;
  S.AxisState = 0;
  S.ToolParam = ItemIndex("EdiDessinMode") == dm3D && !Eraser && S.RadiusX > 0 && S.RadiusY > 0 ? 1 : 0;
  const TPoint Pt = ToLayer(X, Y);
  if (P.CanDrawBrushLine && (Keys & Qt::ShiftModifier)) {
    // Shift + press: a straight line from the previous stroke's last point.
    S.DirtyRect = SegmentRect(S.LastPoint, Pt, 0, 0);
    DessinerVers(X, Y, true, Keys);
    return;
  }
  P.CanDrawBrushLine = true;
  S.DirtyRect = {Pt.X, Pt.Y, Pt.X, Pt.Y};
  S.LastPoint = S.LastStamp = Pt;
  ApplyBrushStamp(S, Pt.X, Pt.Y);
  RepaintStroke({Pt.X - S.RadiusX, Pt.Y - S.RadiusY, Pt.X + S.RadiusX + 2, Pt.Y + S.RadiusY + 2});
}

void TStrokeTools::DessinerVers(int X, int Y, bool IgnoreDirection, Qt::KeyboardModifiers Keys) {
  if (!StrokeAlive() || S.Pressure <= 0) return;
  TPoint Pt = ToLayer(X, Y);
  if (Pt == S.LastPoint) return;
  if (!IgnoreDirection && (Keys & Qt::ShiftModifier)) S.LockAxis(Pt);
  WalkSegment(S.LastPoint, Pt, [this](int PX, int PY) { BrushLineStep(S, PX, PY); });
  RepaintStroke(SegmentRect(S.LastPoint, Pt, S.RadiusX + 2, S.RadiusY + 2));
  S.AddPoint(Pt);
}

void TStrokeTools::FinDessin() { EndStroke(S.RadiusX + 2, S.RadiusY + 2, true, !FEraser); }
