// The one-click tools: the magic wand, the fill, the line just dragged and
// the outline and fill of a selection just drawn. Each is one undo step on
// the current layer (the wand changes the selection only).
#include "tools/ui/StrokeTools.h"

#include "document/Pattern.h"
#include "document/Undo.h"
#include "document/ui/MyImageLayeredView.h"
#include "raster/ColorFill.h"
#include "raster/Fill.h"
#include "raster/GreyMasks.h"
#include "raster/LayerPaint.h"
#include "raster/Polygon24.h"
#include "raster/RectUtils.h"
#include "tools/Footprint.h"
#include "tools/FiltresOutils24.h"
#include "tools/LineBrush24.h"
#include "tools/ui/Outils.h"
#include "ui/MsgDlg.h"

#include <QCheckBox>
#include <QComboBox>

namespace {

enum : int { BtnMagic = 2, BtnLigne = 3, BtnRemplir = 4 };

void NoPixelWarning() { ShowMsgDlg(QStringLiteral("Aucun pixel à traiter !"), mdkWarning, {mdbOk}); }

// The layer is fully transparent at P: outside its bitmap, or its mask
// byte is 255 there.
bool TransparentAt(const TBitmap& Bitmap, const TBitmap* Mask, TPoint P) {
  if (!PtInRect(BitmapRect(Bitmap), P)) return true;
  const TBitmap* M = UsableMask(Mask);
  return M && PtInRect(BitmapRect(*M), P) && RowOf(*M, P.Y)[P.X].Blue == 255;
}

// FinAction however the tool ends.
struct TActionScope {
  explicit TActionScope(TStrokeServices& S) : Svc(S) { Svc.DebutAction(); }
  ~TActionScope() { Svc.FinAction(); }
  TStrokeServices& Svc;
};

TUndoBmpItem* CurrentRecord(TSelMaskHost& Host) {
  return Host.ListeUndo() ? dynamic_cast<TUndoBmpItem*>(Host.ListeUndo()->CurrentUndo()) : nullptr;
}

} // namespace

// ---- Magic wand -----------------------------------------------------------------------------------

void TStrokeTools::BaguetteMagic(TMyImageLayeredView& View, bool LeftButton, int X, int Y) {
  if (!LeftButton) return;
  TSelMaskHost& Host = Svc.MaskHost();
  TBitmap* Bitmap = LeBitmap(Host);
  TBitmap* Mask = UsableMask(LeMasque(Host));
  const TPoint Pt = View.ClientToLayer(TPoint{X, Y});
  if (!Bitmap || !View.PtInLayer({X, Y}) || TransparentAt(*Bitmap, Mask, Pt)) {
    NoPixelWarning();
    return;
  }
  TActionScope Action(Svc);
  const int Tolerance = Value("EdiMagicTolerance");
  const int Combine = Svc.CombineSelMode();
  Svc.SetCurrentCombineSel(Combine);
  if (std::unique_ptr<TBitmap> M = CreateLayerMaskBitmap(Host, true)) {
    const TRect Whole = BitmapRect(*Bitmap);
    int Result = FloodFillDone;
    if (Checked("CBMagicCouleur")) {
      // Every pixel of the clicked colour; pixels the layer hides stay out.
      MaskFromColorInverted(*Bitmap, *M, Svc.ImageColorAtClient(X, Y, false), Tolerance, false, Whole);
      if (Mask) CombineMaskMax(*Mask, *M, 0, 0, Whole);
    } else {
      Result = FloodFillEx(*Bitmap, Mask, Pt.X, Pt.Y, clNone, Tolerance, 100, Whole, M.get());
    }
    Svc.MasquerSelection();
    if (Result != FloodFillFailed && !SetSelectionFromMask(Host, *M, Combine).IsEmpty()) {
      Svc.AfficherSelection();
      P.ToolBtnClick(P.ToolButton(BtnMagic));
    }
  }
  // A combine choice applies to one click.
  Svc.SetCurrentCombineSel(0);
  Svc.SetCombineSelMode(0);
}

void TStrokeTools::InverserBaguetteMagique() {
  const bool WandDown = P.Tool() == BtnMagic;
  Svc.MasquerSelection();
  if (InvertSelectionToShape(Svc.MaskHost()).IsEmpty()) return;
  Svc.AfficherSelection();
  if (WandDown) P.ToolBtnClick(P.ToolButton(BtnMagic));
}

// ---- Fill ------------------------------------------------------------------------------------------

void TStrokeTools::RemplirZone(TMyImageLayeredView& View, bool LeftButton, int X, int Y) {
  if (!View.PtInImage({X, Y})) return;
  TSelMaskHost& Host = Svc.MaskHost();
  const bool ToMask = Svc.DessinerSurAlpha();
  TBitmap* Bitmap = LeBitmap(Host);
  if (!Bitmap) return;
  if (!ToMask && !View.PtInLayer({X, Y})) {
    NoPixelWarning();
    return;
  }
  TPoint Pt = View.ClientToLayer(TPoint{X, Y});
  if (Host.Sel() && Host.Sel()->Visible() && !PtInRect(NormalizeTRect(LaSelection(Host)), Pt)) return;
  if (!ToMask && TransparentAt(*Bitmap, LeMasque(Host), Pt)) {
    NoPixelWarning();
    return;
  }
  // A point outside the current layer has nothing to fill, even when the
  // fill goes to the mask: no record is made.
  if (ToMask && !Svc.AutoExpandLayer() && !PtInRect(BitmapRect(*Bitmap), Pt)) return;
  TActionScope Action(Svc);
  Svc.PrepareUndo(TToolUndo::DrawBM, Hint(BtnRemplir));
  Bitmap = LeBitmap(Host);
  TBitmap* Mask = LeMasque(Host);
  if (Svc.AutoExpandLayer()) Pt = View.ClientToLayer(TPoint{X, Y});
  const TColor FillColor = Color(!LeftButton);
  const int Tolerance = Value("SEFillTolerance");
  const int Opacity = Value("SEFillOpacite");
  const TRect Rgn = LaSelection(Host);
  const TPattern32& Pattern = CurrentPattern();
  const bool Motif = Checked("CBMotifRemplir") && !Pattern.BmpEmpty();
  const TBitmap* PatternMask = Pattern.MaskEmpty() ? nullptr : &Pattern.Mask();
  int Result = FloodFillFailed;
  if (ToMask || Motif) {
    std::unique_ptr<TBitmap> Z = CreateLayerMaskBitmap(Host, true);
    if (Z) {
      TBitmap* PaintMask = ToMask ? Mask : nullptr;
      Result = ToMask ? FloodFillLayerRegion(*Bitmap, Mask, Pt.X, Pt.Y, Tolerance, Rgn, *Z)
                      : FloodFillEx(*Bitmap, UsableMask(Mask), Pt.X, Pt.Y, clNone, Tolerance, 100, Rgn, Z.get());
      if (Result != FloodFillFailed) {
        if (Motif)
          PaintPatternOnLayer(Pattern.Bmp(), PatternMask, *Bitmap, PaintMask, 0, 0, Rgn, Opacity, Z.get());
        else
          PaintColorOnLayer(*Z, FillColor, BitmapRect(*Z), *Bitmap, PaintMask, 0, 0, Rgn, Opacity, nullptr);
      }
    }
  } else {
    Result = FloodFillEx(*Bitmap, UsableMask(Mask), Pt.X, Pt.Y, FillColor, Tolerance, Opacity, Rgn, nullptr);
  }
  if (Result != FloodFillFailed) {
    if (TUndoBmpItem* Record = CurrentRecord(Host)) Record->ResetData(Host.BmpUndo(), Host.MaskUndo(), Rgn);
    Svc.AppliquerMasqueSel(1);
    Svc.RefreshBitmap();
    Svc.LayerChanged();
  }
  if (Result == FloodFillPartial)
    ShowMsgDlg(QStringLiteral("Le remplissage est partiel car la surface est trop vaste.\n"
                              "Recommencez l'opération pour les zones non remplies."),
               mdkWarning, {mdbOk});
}

// ---- Line -------------------------------------------------------------------------------------------

void TStrokeTools::TracerLigne(const TRect& R) {
  TMyImageLayeredView* View = Svc.ActiveView();
  if (!View) return;
  TSelMaskHost& Host = Svc.MaskHost();
  Svc.PrepareUndo(TToolUndo::DrawBM, Hint(BtnLigne));
  TBitmap* Bitmap = LeBitmap(Host);
  if (!Bitmap) return;
  TBitmap* Mask = Svc.DessinerSurAlpha() ? UsableMask(LeMasque(Host)) : nullptr;
  const TPoint A = View->ClientToLayer(TPoint{R.Left, R.Top});
  const TPoint B = View->ClientToLayer(TPoint{R.Right, R.Bottom});
  const int Width = Value("SELineWidth");
  const int Opacity = Value("SELineOpacite");
  const int Item = P.Control<QComboBox>("CBLineStyle")->currentIndex();
  const bool Arrow1 = Checked("CBFleche1"), Arrow2 = Checked("CBFleche2");
  const TColor C1 = Color(false);
  const TColor C2 = Item == 1 && Width > 2 ? Color(true) : C1;
  const TRect Clip = LaSelection(Host);
  int ArrowMargin = 0;
  if (Item >= 2) {
    DrawBrushLine24(*Bitmap, A.X, A.Y, B.X, B.Y, C1, Width, Arrow1, Arrow1 || Arrow2, Item - 2, Clip);
    if (Mask) DrawBrushLine24(*Mask, A.X, A.Y, B.X, B.Y, clBlack, Width, Arrow1, Arrow1 || Arrow2,
                              Item == 7 ? 0 : Item - 2, Clip);
    ArrowMargin = 3 * Width;
  } else {
    const int H = Width / 2 + 3, L = 2 * Width + 7;
    const bool Smooth = Checked("CBLisserLigne");
    DrawArrowLine24(*Bitmap, A.X, A.Y, B.X, B.Y, C1, C2, Width, H, L, Arrow1, Arrow1 || Arrow2, Smooth, Clip);
    if (Mask) DrawArrowLine24(*Mask, A.X, A.Y, B.X, B.Y, clBlack, clBlack, Width, H, L, Arrow1, Arrow1 || Arrow2,
                              Smooth, Clip);
    ArrowMargin = H;
  }
  const int Grow = Width / 2 + 3 + (Arrow1 || Arrow2 ? ArrowMargin : 0);
  const TRect Changed = IntersectRect(SegmentRect(A, B, Grow, Grow), Clip);
  TUndoBmpItem* Record = CurrentRecord(Host);
  if (Record) Record->ResetData(Host.BmpUndo(), Host.MaskUndo(), Changed);
  Svc.AppliquerMasqueSel(2);
  // The line shows at its opacity over the pixels it covered.
  if (Record && Opacity < 100) Record->AlphaBlend(100 - Opacity);
  Svc.RefreshBitmap();
  Svc.LayerChanged();
}

// ---- Outline and fill of a new selection -------------------------------------------------------------

void TStrokeTools::DessinSelAuto() {
  TSelMaskHost& Host = Svc.MaskHost();
  if (!LeBitmap(Host)) return;
  TActionScope Action(Svc);
  const QCheckBox* Contour = P.Control<QCheckBox>("CBContour");
  const QCheckBox* Remplir = P.Control<QCheckBox>("CBRemplir");
  QStringList Parts;
  if (Contour->isChecked()) Parts << Contour->text();
  if (Remplir->isChecked()) Parts << Remplir->text();
  Svc.PrepareUndo(TToolUndo::FiltreBM_D, Parts.join(QLatin1Char('/')));
  const bool ToMask = Svc.DessinerSurAlpha();
  TBitmap& Bitmap = *LeBitmap(Host);
  TBitmap* Mask = ToMask ? UsableMask(LeMasque(Host)) : nullptr;
  if (Remplir->isChecked()) {
    const TRect Rgn = LaSelection(Host);
    const TPattern32& Pattern = CurrentPattern();
    if (!Checked("CBMotifRemplir") || Pattern.BmpEmpty()) {
      FillColor24(Bitmap, Color(true), 100, Rgn);
      if (Mask) FillColor24(*Mask, clBlack, 100, Rgn);
    } else if (Mask) {
      Pattern.FillBmpMask(Bitmap, Mask, Rgn);
    } else {
      Pattern.FillBmp(Bitmap, Rgn);
    }
    Svc.AppliquerMasqueSel(Contour->isChecked() ? 0 : 1);
  }
  if (Contour->isChecked()) Svc.DessinerContour(Color(false), Value("SELineWidth"), !Host.SelAucunLissage());
  Svc.RefreshBitmap();
  Svc.LayerChanged();
}
