// Selection masks: drawing the selection's shape and outline into bitmaps,
// masks of rectangles and of the image, confinement masks, the outline on the
// layer, and new selections traced from masks.
#include "document/SelMask.h"

#include "document/MyImageLayered.h"
#include "document/Undo.h"
#include "filters/Blur24.h"
#include "filters/Filtres24.h"
#include "platform/Rounding.h"
#include "raster/Bitmap24.h"
#include "raster/GreyMasks.h"
#include "raster/ImgUtils.h"
#include "raster/Polygon24.h"
#include "raster/RectUtils.h"

#include <cmath>
#include <numbers>

namespace {

// The radius of the feathered confinement mask and of its blur.
constexpr int FeatherRadius = 9;
// The longest ramp FeatherMask may make when softening bitmap shapes.
constexpr int SoftenRadius = 3377;

std::unique_ptr<TBitmap> NewMask(int W, int H, TColor Color) {
  auto Bitmap = std::make_unique<TBitmap>();
  NewBitmap24(*Bitmap, W, H, Color);
  return Bitmap;
}

TLayerItem* CurrentLayer(TSelMaskHost& Host) {
  TMyImageLayered* Image = Host.Image();
  return Image ? Image->CurrentLayer() : nullptr;
}

// ---- A closed path stroked with a round brush, anti-aliased ----------------------

double SignedArea(const TFloatPointArray& P) {
  double A = 0;
  for (size_t I = 0, J = P.size() - 1; I < P.size(); J = I++) A += P[J].X * P[I].Y - P[I].X * P[J].Y;
  return A;
}

// Adds P as a sub-path turning the way Positive says, so that the non-zero
// rule fills the union of all the sub-paths.
void AddOriented(TPolygon24& Poly, TFloatPointArray P, bool Positive) {
  if (P.size() < 3) return;
  if ((SignedArea(P) > 0) != Positive) std::reverse(P.begin(), P.end());
  Poly.NewLine();
  Poly.AddPoints(P);
}

// The union of discs of diameter Width on every point of Points and of
// Width-wide bands along every segment, the last point joined to the first:
// a round brush of that width drawn along the closed path.
void BrushPolygon(TBitmap& Bitmap, const TFloatPointArray& Points, TColor Color, int Width) {
  if (Points.empty() || Width < 1) return;
  const double R = Width / 2.0;
  TPolygon24 Poly;
  Poly.SetFillMode(pfWinding);
  int N = Round(R + 4);
  if (N % 2 != 0) ++N;
  for (size_t I = 0; I < Points.size(); ++I) {
    const TFloatPoint& A = Points[I];
    const TFloatPoint& B = Points[(I + 1) % Points.size()];
    TFloatPointArray Disc;
    for (int K = 0; K < N; ++K) {
      const double T = K * 2 * std::numbers::pi / N;
      Disc.push_back({A.X + std::cos(T) * R, A.Y - std::sin(T) * R});
    }
    AddOriented(Poly, std::move(Disc), true);
    const double DX = B.X - A.X, DY = B.Y - A.Y, Len = std::hypot(DX, DY);
    if (Len > 0) {
      const double NX = -DY / Len * R, NY = DX / Len * R;
      AddOriented(Poly, {{A.X + NX, A.Y + NY}, {B.X + NX, B.Y + NY}, {B.X - NX, B.Y - NY}, {A.X - NX, A.Y - NY}}, true);
    }
  }
  Poly.Fill(Bitmap, Color);
}

// The first point list of the polygon standing for Shape in R: the ellipse
// or rounded rectangle of the polygon class, else the prepared vertices.
void BuildShapePolygon(TSelectionState& Sel, TPolygon24& Poly, const TRect& R) {
  switch (Sel.Shape()) {
  case ssEllipse:
    Poly.Ellipse(R);
    break;
  case ssRoundRect:
    Poly.RoundRect(R);
    break;
  default: {
    const TPoint* First = nullptr;
    int Count = 0;
    Sel.ShapeManager().PreparePoints(R, Sel.Shape(), First, Count);
    if (First && Count > 0) Poly.AddPoints(First, Count);
  }
  }
}

// Softens Temp (the shape or outline in black on white, its origin at
// (X, Y) in Bitmap) and paints Color into Bitmap through it.
void PaintSoftened(TBitmap& Temp, TBitmap& Bitmap, int X, int Y, const TRect& Clip, TColor Color) {
  FeatherMask(Temp, WholeBitmapRect, SoftenRadius);
  FillColorMask24(Temp, WholeBitmapRect, Bitmap, X, Y, Clip, Color, 100);
}

// Traces Mask into the selection's manager at Seuil and makes the result
// the selection when it is not empty.
TRect TraceIntoSelection(TSelectionState& Sel, const TBitmap& Mask, uint8_t Seuil) {
  const TRect R = Sel.ShapeManager().MaskToPoints(&Mask, Seuil);
  if (!R.IsEmpty()) {
    Sel.SetShape(ssBitmap);
    Sel.SetBmpSelRect(R);
    Sel.SetInvert(false);
  }
  return R;
}

} // namespace

// ---- Host shortcuts ----------------------------------------------------------------------

TBitmap* LeBitmap(TSelMaskHost& Host) {
  TLayerItem* Layer = CurrentLayer(Host);
  return Layer ? &Layer->Bitmap() : nullptr;
}

TBitmap* LeMasque(TSelMaskHost& Host) {
  TLayerItem* Layer = CurrentLayer(Host);
  return Layer ? &Layer->Mask() : nullptr;
}

TBitmap* LeFond(TSelMaskHost& Host) {
  TMyImageLayered* Image = Host.Image();
  return Image && Image->Layers().Count() > 0 ? &Image->Layers()[0].Bitmap() : nullptr;
}

bool HasAlpha(TSelMaskHost& Host) {
  const TBitmap* Mask = LeMasque(Host);
  return Mask && !Mask->Empty();
}

TRect LaSelection(TSelMaskHost& Host) {
  TLayerItem* Layer = CurrentLayer(Host);
  if (!Layer) return {0, 0, 0, 0};
  const TSelectionState* Sel = Host.Sel();
  TRect R = Layer->BoundsRect();
  if (Sel && Sel->Visible()) R = Sel->Invert() ? BitmapRect(*LeFond(Host)) : Sel->BmpSelRect();
  return Host.Image()->BmpToLayer(R);
}

bool SelectionNeedsMask(TSelMaskHost& Host, bool Force) {
  if (Force) return true;
  TSelectionState* Sel = Host.Sel();
  return Sel && Sel->Visible() && (Sel->Shape() != ssRect || Sel->Invert());
}

std::unique_ptr<TBitmap> CreateLayerMaskBitmap(TSelMaskHost& Host, bool White) {
  const TBitmap* Layer = LeBitmap(Host);
  if (!Layer) return nullptr;
  return NewMask(Layer->Width(), Layer->Height(), White ? clWhite : clBlack);
}

// ---- Drawing the selection's shape ----------------------------------------------------------

void DrawSelectionShape(TSelectionState& Sel, TBitmap& Bitmap, const TRect& R, TColor Color, bool Smooth) {
  const TMyShape Shape = Sel.Shape();
  if (Smooth && Shape != ssRect && Shape != ssBitmap) {
    TPolygon24 Poly;
    BuildShapePolygon(Sel, Poly, R);
    Poly.Draw(Bitmap, Color, Color);
    return;
  }
  TCanvas& Canvas = Bitmap.Canvas();
  Canvas.Brush.Style = TBrushStyle::bsSolid;
  Canvas.Brush.Color = Color;
  Canvas.Pen = TPen{Color, 1, TPenStyle::psSolid, TPenMode::pmCopy};
  Sel.ShapeManager().Draw(Canvas, R, Shape, stCustom);
}

void DrawSelectionOutline(TSelectionState& Sel, TBitmap& Bitmap, const TRect& R, TColor Color, int Width, bool Smooth) {
  Width = std::max(Width, 1);
  const TMyShape Shape = Sel.Shape();
  if (!Smooth || Shape == ssRect || Shape == ssBitmap) {
    TCanvas& Canvas = Bitmap.Canvas();
    Canvas.Brush.Style = TBrushStyle::bsClear;
    Canvas.Pen = TPen{Color, Width, TPenStyle::psSolid, TPenMode::pmCopy};
    Sel.ShapeManager().Draw(Canvas, R, Shape, stCustom);
    return;
  }
  if (Width == 1 && Shape == ssEllipse) {
    DrawEllipseOutlineAA24(Bitmap, R, Color, WholeBitmapRect);
    return;
  }
  if (Width == 1 && Shape == ssRoundRect) {
    DrawRoundRectOutlineAA24(Bitmap, R, Color, WholeBitmapRect);
    return;
  }
  TPolygon24 Poly;
  BuildShapePolygon(Sel, Poly, R);
  if (Width == 1)
    Poly.Draw(Bitmap, Color, clNone);
  else if (!Poly.Points().empty())
    BrushPolygon(Bitmap, Poly.Points().front(), Color, Width);
}

void FillSelectionShape(TSelectionState& Sel, TBitmap& Bitmap, const TRect& R, TColor Color, bool Smooth) {
  if (Sel.Shape() != ssBitmap || !Smooth) {
    DrawSelectionShape(Sel, Bitmap, R, Color, Smooth);
    return;
  }
  TBitmap Temp;
  NewBitmap24(Temp, RectWidth(R) + 2, RectHeight(R) + 2, clWhite);
  DrawSelectionShape(Sel, Temp, Bounds(1, 1, RectWidth(R), RectHeight(R)), clBlack, false);
  PaintSoftened(Temp, Bitmap, R.Left - 1, R.Top - 1, R, Color);
}

void OutlineSelectionShape(TSelectionState& Sel, TBitmap& Bitmap, const TRect& R, TColor Color, int Width,
                           bool Smooth) {
  if (Sel.Shape() != ssBitmap || !Smooth) {
    DrawSelectionOutline(Sel, Bitmap, R, Color, Width, Smooth);
    return;
  }
  const int D = (Width + 1) / 2 + 1;
  TBitmap Temp;
  NewBitmap24(Temp, RectWidth(R) + 2 * D, RectHeight(R) + 2 * D, clWhite);
  DrawSelectionOutline(Sel, Temp, Bounds(D, D, RectWidth(R), RectHeight(R)), clBlack, Width, false);
  PaintSoftened(Temp, Bitmap, R.Left - D, R.Top - D, WholeBitmapRect, Color);
}

// ---- Selection masks ----------------------------------------------------------------------------

std::unique_ptr<TBitmap> SelectionMaskOfRect(TSelMaskHost& Host, TRect Rect, bool Invert, bool Smooth) {
  TSelectionState* Sel = Host.Sel();
  TLayerItem* Layer = CurrentLayer(Host);
  if (!Sel || !Layer || !ClipToBitmap(Rect, Layer->Bitmap())) return nullptr;
  auto Mask = NewMask(RectWidth(Rect), RectHeight(Rect), Invert ? clBlack : clWhite);
  const TMyImageLayered& Image = *Host.Image();
  TRect S = Image.BmpToLayer(Sel->Visible() ? Sel->BmpSelRect() : Layer->BoundsRect());
  S = OffsetRect(S, -Rect.Left, -Rect.Top);
  FillSelectionShape(*Sel, *Mask, S, Invert ? clWhite : clBlack, Smooth);
  return Mask;
}

std::unique_ptr<TBitmap> SelectionMaskOfLayer(TSelMaskHost& Host, bool Invert, bool Smooth) {
  return SelectionMaskOfRect(Host, WholeBitmapRect, Invert, Smooth);
}

std::unique_ptr<TBitmap> SelectionMaskOfImageRect(TSelMaskHost& Host, TRect Rect, bool Invert, bool Smooth) {
  TSelectionState* Sel = Host.Sel();
  const TBitmap* Fond = LeFond(Host);
  // The image's size is the background's (the composite follows it).
  if (!Sel || !Fond || !ClipToBitmap(Rect, *Fond)) return nullptr;
  auto Mask = NewMask(RectWidth(Rect), RectHeight(Rect), Invert ? clBlack : clWhite);
  const TRect S = OffsetRect(Sel->BmpSelRect(), -Rect.Left, -Rect.Top);
  FillSelectionShape(*Sel, *Mask, S, Invert ? clWhite : clBlack, Smooth);
  return Mask;
}

std::unique_ptr<TBitmap> SelectionMaskOfImage(TSelMaskHost& Host, bool Invert, bool Smooth) {
  return SelectionMaskOfImageRect(Host, WholeBitmapRect, Invert, Smooth);
}

// ---- Confinement -----------------------------------------------------------------------------------

std::unique_ptr<TBitmap> MakeSelectionMask(TSelMaskHost& Host, int Mode) {
  TSelectionState* Sel = Host.Sel();
  if (!Sel) return nullptr;
  const bool Inverted = Sel->Invert();
  auto Mask = CreateLayerMaskBitmap(Host, Inverted);
  if (!Mask) return nullptr;
  const TColor Selected = Inverted ? clBlack : clWhite;
  TRect S = Host.Image()->BmpToLayer(Sel->BmpSelRect());
  if (Mode == 0) {
    FillSelectionShape(*Sel, *Mask, S, Selected, false);
  } else if (Mode == 1) {
    if (Sel->Shape() == ssPolygon || Sel->Shape() == ssBitmap) {
      FillSelectionShape(*Sel, *Mask, S, Selected, false);
      S = InflateRect(S, FeatherRadius);
      GrowShrinkMask(*Mask, FeatherRadius, S, false);
      if (Inverted) S = InflateRect(S, FeatherRadius);
    } else {
      S = InflateRect(S, Inverted ? FeatherRadius : -FeatherRadius);
      FillSelectionShape(*Sel, *Mask, S, Selected, true);
      S = InflateRect(S, FeatherRadius);
    }
    GaussianBlurRadius(*Mask, FeatherRadius, S);
  } else {
    FillSelectionShape(*Sel, *Mask, S, Selected, true);
  }
  return Mask;
}

void BlendUndoOutsideSelection(TSelMaskHost& Host, int Mode, bool Flat) {
  TSelectionState* Sel = Host.Sel();
  TUndoList* Undo = Host.ListeUndo();
  if (!Sel || !Undo) return;
  int Effective = Host.Mode16M() && !Host.SelAucunLissage() ? Mode : 0;
  if (Effective == 1 && !Host.SelContourProgressif()) Effective = 2;
  if (Effective == 2 && Sel->Shape() == ssRect) Effective = 0;
  if (!SelectionNeedsMask(Host, Effective == 1)) return;
  auto* Record = dynamic_cast<TUndoBmpItem*>(Undo->CurrentUndo());
  if (!Record) return;
  const auto Mask = MakeSelectionMask(Host, Effective);
  if (Mask) Record->AlphaBlend(Mask.get(), Flat);
}

void DrawSelectionContour(TSelMaskHost& Host, TColor Color, int Width, bool Smooth, const QString& PatternFile) {
  TSelectionState* Sel = Host.Sel();
  TLayerItem* Layer = CurrentLayer(Host);
  if (!Sel || !Layer) return;
  if (!Host.Mode16M()) Smooth = false;
  TBitmap& Bmp = Layer->Bitmap();
  TBitmap& Mask = Layer->Mask();
  const TBitmap* MaskUndo = Host.MaskUndo();
  const bool PaintMask = MaskUndo && !MaskUndo->Empty() && !Mask.Empty();
  const bool UsePattern = !PatternFile.isEmpty();
  TBitmap Pattern, PatternMask;
  const bool PatternLoaded = UsePattern && Host.LoadPattern(PatternFile, Pattern, PatternMask) && !Pattern.Empty();

  if (!Sel->Visible() || Sel->Invert()) {
    const TRect Frame{0, 0, Bmp.Width(), Bmp.Height()};
    if (PatternLoaded)
      FillFramePattern24(Bmp, Frame, Width, Pattern, PatternMask.Empty() ? nullptr : &PatternMask);
    else if (!UsePattern)
      FillFrame(Bmp.Canvas(), Frame, Color, Width);
    if (PaintMask) FillFrame(Mask.Canvas(), {0, 0, Mask.Width(), Mask.Height()}, clBlack, Width);
    if (!Sel->Visible()) return;
  }

  TRect Rgn = Host.Image()->BmpToLayer(Sel->BmpSelRect());
  if (PatternLoaded) {
    TBitmap Outline;
    NewBitmap24(Outline, Bmp.Width(), Bmp.Height(), clWhite);
    OutlineSelectionShape(*Sel, Outline, Rgn, clBlack, Width, Smooth);
    const TRect Grown = InflateRect(Rgn, Width + 2);
    if (!PatternMask.Empty()) CombineMaskMaxTiled(PatternMask, Outline, Grown.Left, Grown.Top, Grown);
    FillPatternMask24(Outline, WholeBitmapRect, Bmp, 0, 0, Grown, Pattern, 100);
  } else if (!UsePattern) {
    OutlineSelectionShape(*Sel, Bmp, Rgn, Color, Width, Smooth);
  }
  if (PaintMask) OutlineSelectionShape(*Sel, Mask, Rgn, clBlack, Width, Smooth);

  if (Sel->Invert() || (!Smooth && Width <= 1)) return;
  Rgn = InflateRect(Rgn, Width + 2);
  TUndoList* Undo = Host.ListeUndo();
  auto* Record = Undo ? dynamic_cast<TUndoBmpItem*>(Undo->CurrentUndo()) : nullptr;
  TBitmap* BmpUndo = Host.BmpUndo();
  if (Record && BmpUndo) Record->ResetData(BmpUndo, PaintMask ? MaskUndo : nullptr, Rgn);
}

// ---- Selections from pixels ----------------------------------------------------------------------

TRect InvertSelectionToShape(TSelMaskHost& Host) {
  TSelectionState* Sel = Host.Sel();
  auto Mask = SelectionMaskOfImage(Host, false, false);
  if (!Sel || !Mask) return {};
  Negative24(*Mask, WholeBitmapRect);
  const TRect R = Sel->ShapeManager().MaskToPoints(Mask.get(), 128);
  if (!R.IsEmpty()) Sel->SetBmpSelRect(R);
  return R;
}

TRect MergeShapeIntoSelection(TSelMaskHost& Host, const TRect& R, bool Subtract) {
  TSelectionState* Sel = Host.Sel();
  TShapeManager* ViewManager = Host.ViewShapeManager();
  if (!Sel || !ViewManager) return {};
  auto Mask = SelectionMaskOfImage(Host, Sel->Invert(), false);
  if (!Mask) return {};
  const TColor Color = Subtract ? clWhite : clBlack;
  TCanvas& Canvas = Mask->Canvas();
  Canvas.Brush.Style = TBrushStyle::bsSolid;
  Canvas.Brush.Color = Color;
  Canvas.Pen = TPen{Color, 1, TPenStyle::psSolid, TPenMode::pmCopy};
  ViewManager->Draw(Canvas, R, Host.ViewSelShape(), stCustom);
  return TraceIntoSelection(*Sel, *Mask, 128);
}

TRect SetSelectionFromMask(TSelMaskHost& Host, const TBitmap& Bitmap, int Mode) {
  TSelectionState* Sel = Host.Sel();
  TMyImageLayered* Image = Host.Image();
  if (!Sel || !Image) return {};
  if (Mode == 0) {
    const TRect R = Image->LayerToBmp(Sel->ShapeManager().MaskToPoints(&Bitmap, 254));
    if (!R.IsEmpty()) {
      Sel->SetShape(ssBitmap);
      Sel->SetBmpSelRect(R);
      Sel->SetInvert(false);
    }
    return R;
  }
  auto Mask = SelectionMaskOfImage(Host, Sel->Invert(), false);
  if (!Mask) return {};
  const TPoint Origin = Image->LayerToBmp(TPoint{0, 0});
  FillColorMask24(Bitmap, WholeBitmapRect, *Mask, Origin.X, Origin.Y, WholeBitmapRect, Mode == 1 ? clBlack : clWhite,
                  100);
  return TraceIntoSelection(*Sel, *Mask, 254);
}

TRect MakeSelectionFringe(TSelMaskHost& Host, int Width) {
  TSelectionState* Sel = Host.Sel();
  const TBitmap* Fond = LeFond(Host);
  if (!Sel || !Fond || Fond->Empty()) return {};
  TBitmap Mask;
  NewBitmap24(Mask, Fond->Width(), Fond->Height(), clWhite);
  if (Sel->Invert()) FillFrame(Mask.Canvas(), {0, 0, Mask.Width(), Mask.Height()}, clBlack, Width);
  OutlineSelectionShape(*Sel, Mask, Sel->BmpSelRect(), clBlack, Width, true);
  return TraceIntoSelection(*Sel, Mask, 128);
}
