// TShapeManager::Draw: the outline of every shape kind fitted to a
// rectangle, with the canvas's own primitives (stCustom) or pixel by pixel
// in the dotted, XOR and marching-ants styles, straight into the rows of a
// bitmap or onto a canvas.
#include "document/ShapeManager.h"

#include "platform/Rounding.h"
#include "raster/RectUtils.h"
#include "raster/ScanMan.h"

#include <climits>
#include <cmath>
#include <map>
#include <numbers>
#include <optional>

// The direct pixel writer of one Draw call: into a bitmap's rows (clipped to
// the manager's clip rectangle, XOR when the pen mode says so) or onto a
// canvas in plain colours. Colours are prepared once into the writer's form.
class TShapeManager::TPixelWriter {
public:
  TPixelWriter(TBitmap& Bitmap, const TRect& Clip, bool Xor) : FDi(std::in_place, Bitmap, Clip), FXor(Xor) {}
  explicit TPixelWriter(TCanvas& Canvas) : FCanvas(&Canvas) {}

  // The bitmap's byte order (blue low) for a bitmap, the colour as passed
  // for a canvas.
  int Prepare(TColor Color) const {
    if (FCanvas) return static_cast<int>(Color);
    const TColor C = ColorToRGB(Color);
    return static_cast<int>((GetRValue(C) << 16) | (GetGValue(C) << 8) | GetBValue(C));
  }
  void Put(int X, int Y, int Color) {
    if (FCanvas)
      FCanvas->SetPixels(X, Y, static_cast<TColor>(Color));
    else if (FXor)
      FDi->SetPixelBGRXOr(X, Y, Color);
    else
      FDi->SetPixelBGR(X, Y, Color);
  }
  TRect Clip() const { return FCanvas ? FCanvas->ClipRect() : FDi->ClipRect(); }

private:
  std::optional<TDiBitmap> FDi;
  TCanvas* FCanvas = nullptr;
  bool FXor = false;
};

namespace {

// Pixels of dotted, XOR and animated vector outlines: colour 2 when
// (counter + phase) mod 8 > 3, else colour 1; the counter runs on from one
// segment to the next. Segments leave out their end point (LineDDA).
template <class TWriter> class TDasher {
public:
  TDasher(TWriter& Writer, int Color1, int Color2, int Phase)
      : FWriter(Writer), FColor1(Color1), FColor2(Color2), FPhase(Phase) {}
  void Segment(TPoint A, TPoint B) {
    LineDDA(A.X, A.Y, B.X, B.Y, [this](int X, int Y) {
      FWriter.Put(X, Y, (FCounter + FPhase) % 8 > 3 ? FColor2 : FColor1);
      ++FCounter;
    });
  }
  void Path(const TPoint* Points, int Count, bool Closed) {
    if (Count < 2) return;
    for (int I = 1; I < Count; ++I) Segment(Points[I - 1], Points[I]);
    if (Closed) Segment(Points[Count - 1], Points[0]);
  }
  void Path(const std::vector<TPoint>& Points, bool Closed) {
    Path(Points.data(), static_cast<int>(Points.size()), Closed);
  }

private:
  TWriter& FWriter;
  int FColor1, FColor2, FPhase;
  int FCounter = 0;
};

// The ellipse of the dotted styles: n points counter-clockwise on screen from
// the right end, back to it.
std::vector<TPoint> EllipseOutline(const TRect& R) {
  const double RX = (R.Right - 1 - R.Left) / 2.0, RY = (R.Bottom - 1 - R.Top) / 2.0;
  const double CX = (R.Left + R.Right - 1) / 2.0, CY = (R.Top + R.Bottom - 1) / 2.0;
  int N = Trunc(std::max(RX, RY) + 4);
  if (N % 2 != 0) ++N;
  N = std::max(N, 2);
  std::vector<TPoint> P;
  P.reserve(static_cast<size_t>(N) + 1);
  P.push_back({Round(CX + RX), Round(CY)});
  for (int I = 1; I <= N; ++I) {
    const double A = I * 2 * std::numbers::pi / N;
    P.push_back({Round(CX + std::cos(A) * RX), Round(CY - std::sin(A) * RY)});
  }
  return P;
}

// A quarter arc of radius C from the angle S (a multiple of a quarter turn)
// to the next quarter, as segments: its start, n div 4 points, the exact end.
template <class TWriter> void QuarterArc(TDasher<TWriter>& Dash, int CX, int CY, int C, int Quarter) {
  auto Exact = [&](int Q) -> TPoint {
    switch (Q & 3) {
    case 0:
      return {CX + C, CY};
    case 1:
      return {CX, CY - C};
    case 2:
      return {CX - C, CY};
    default:
      return {CX, CY + C};
    }
  };
  int N = C + 4;
  if (N % 2 != 0) ++N;
  const double S = Quarter * std::numbers::pi / 2, Step = 2 * std::numbers::pi / N;
  TPoint Current = Exact(Quarter);
  for (int K = 1; K <= N / 4; ++K) {
    const TPoint P{Round(CX + std::cos(S + K * Step) * C), Round(CY - std::sin(S + K * Step) * C)};
    Dash.Segment(Current, P);
    Current = P;
  }
  Dash.Segment(Current, Exact(Quarter + 1));
}

int RoundRectCorner(const TRect& R) {
  return Round(std::min(RectWidth(R), RectHeight(R)) / double(std::max(RoundRectDivisor, 1)));
}

} // namespace

// ---- Entry points ---------------------------------------------------------------------

const TShapeAttr& TShapeManager::StyleAttr(TShapeStyle Style) const {
  return Attrs[Style == stXOrDot ? 0 : Style == stXOr ? 1 : 2];
}

void TShapeManager::Draw(TBitmap& Dest, TRect R, TMyShape Shape, TShapeStyle Style) {
  TCanvas& Canvas = Dest.Canvas();
  // The writer writes XOR when the pen mode is XOR once the style has set
  // the pen up (DrawShape sets it again, to the same mode).
  if (Style != stCustom) Canvas.Pen.Mode = StyleAttr(Style).PenMode;
  TPixelWriter Writer(Dest, FBmpClipRect, Canvas.Pen.Mode == TPenMode::pmXor);
  DrawShape(Canvas, Writer, R, Shape, Style);
  Dest.Changed();
}

void TShapeManager::Draw(TCanvas& Dest, TRect R, TMyShape Shape, TShapeStyle Style) {
  TPixelWriter Writer(Dest);
  DrawShape(Dest, Writer, R, Shape, Style);
}

void TShapeManager::DrawShape(TCanvas& Canvas, TPixelWriter& Writer, TRect R, TMyShape Shape, TShapeStyle Style) {
  if (Shape == ssPolygon || Shape == ssPolyline || Shape == ssBitmap) {
    --R.Right;
    --R.Bottom;
  }
  if (Style != stCustom) {
    const TShapeAttr& A = StyleAttr(Style);
    Canvas.Brush.Style = TBrushStyle::bsClear;
    Canvas.Pen.Mode = A.PenMode;
    Canvas.Pen.Width = 1;
    Canvas.Pen.Style = TPenStyle::psSolid;
  }
  // This drawing uses the phase as it is; stAnimate moves it on for the next.
  FDrawPhase = AnimStep;
  if (Style == stAnimate) AnimStep = ((AnimStep + AnimStepIncrement) % 8 + 8) % 8;
  if (Shape == ssBitmap)
    DrawBitmapShape(Canvas, Writer, R, Style);
  else
    DrawVectorShape(Canvas, Writer, R, Shape, Style);
}

// ---- Vector shapes ------------------------------------------------------------------------

void TShapeManager::DrawVectorShape(TCanvas& Canvas, TPixelWriter& Writer, const TRect& R, TMyShape Shape,
                                    TShapeStyle Style) {
  if (Shape == ssLineWidth && LineShapeWidth <= 1) Shape = ssLine;
  const bool Custom = Style == stCustom;
  const TShapeAttr& A = StyleAttr(Style);
  TDasher<TPixelWriter> Dash(Writer, Writer.Prepare(A.Color1), Writer.Prepare(A.Color2), FDrawPhase);
  const int L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
  switch (Shape) {
  case ssEllipse:
    if (Custom)
      Canvas.Ellipse(R);
    else
      Dash.Path(EllipseOutline(R), false);
    break;
  case ssRoundRect: {
    const int C = RoundRectCorner(R);
    if (Custom) {
      Canvas.RoundRect(L, T, Rt, B, 2 * C, 2 * C);
    } else if (C <= 1) {
      ShapeToPolygon(ssRect, R, FScratch);
      Dash.Path(FScratch, true);
    } else {
      QuarterArc(Dash, Rt - C - 1, B - C - 1, C, 3);
      Dash.Segment({Rt - 1, B - C}, {Rt - 1, T + C});
      QuarterArc(Dash, Rt - C - 1, T + C, C, 0);
      Dash.Segment({Rt - C, T}, {L + C, T});
      QuarterArc(Dash, L + C, T + C, C, 1);
      Dash.Segment({L, T + C}, {L, B - C});
      QuarterArc(Dash, L + C, B - C - 1, C, 2);
      Dash.Segment({L + C, B - 1}, {Rt - C, B - 1});
    }
    break;
  }
  case ssLine:
    if (Custom) {
      Canvas.MoveTo(L, T);
      Canvas.LineTo(Rt, B);
    } else {
      Dash.Segment({L, T}, {Rt, B});
    }
    break;
  case ssLineWidth:
    FScratch = ThickLineVertices(R, LineShapeWidth);
    if (Custom)
      Canvas.Polygon(FScratch);
    else
      Dash.Path(FScratch, true);
    break;
  case ssPolygon:
  case ssPolyline: {
    UpdateWinData(R);
    const std::vector<TPoint>& P = FWinData.Points;
    if (Custom) {
      if (Shape == ssPolygon)
        Canvas.Polygon(P);
      else
        Canvas.Polyline(P);
    } else {
      Dash.Path(P, Shape == ssPolygon);
    }
    break;
  }
  default:
    if (Custom && Shape == ssRect) {
      Canvas.Rectangle(R);
    } else if (ShapeToPolygon(Shape, R, FScratch) > 0) {
      if (Custom)
        Canvas.Polygon(FScratch);
      else
        Dash.Path(FScratch, true);
    }
  }
}

// ---- Bitmap shapes -----------------------------------------------------------------------

namespace {

// Cell of reference pixel (X, Y) of a bitmap shape stretched to R.
struct TCell {
  int X1, Y1, X2, Y2;
};

inline TCell CellOf(const TRect& R, double ZoomX, double ZoomY, TPoint P) {
  const int X1 = R.Left + Trunc(ZoomX * P.X), Y1 = R.Top + Trunc(ZoomY * P.Y);
  return {X1, Y1, std::max(X1, R.Left + Trunc(ZoomX * (double(P.X) + 1)) - 1),
          std::max(Y1, R.Top + Trunc(ZoomY * (double(P.Y) + 1)) - 1)};
}

// Calls Proc(Cell, Flags) for the points in order, stopping at the first cell
// at or below the clip's bottom and skipping those entirely above it.
template <class F>
void ForEachCell(const TPointsDataEx& D, const TRect& R, double ZoomX, double ZoomY, const TRect& Clip, F&& Proc) {
  const size_t N = std::min(D.Points.size(), D.Flags.size());
  for (size_t I = 0; I < N; ++I) {
    const TCell C = CellOf(R, ZoomX, ZoomY, D.Points[I]);
    if (C.Y1 >= Clip.Bottom) return;
    if (C.Y2 < Clip.Top) continue;
    Proc(C, D.Flags[I]);
  }
}

} // namespace

void TShapeManager::DrawBitmapShape(TCanvas& Canvas, TPixelWriter& Writer, const TRect& R, TShapeStyle Style) {
  switch (Style) {
  case stAnimate:
  case stAnimateNoSwap:
    DrawBitmapEdges(Writer, R, Attrs[2].Color1, Attrs[2].Color2);
    break;
  case stXOrDot:
  case stXOr:
    DrawBitmapEdgesXor(Writer, R, Attrs[0].Color1, Attrs[0].Color2);
    break;
  default: {
    const double ZoomX = (RectWidth(R) + 1.0) / (FRefData.Bounds.Right + 1.0);
    const double ZoomY = (RectHeight(R) + 1.0) / (FRefData.Bounds.Bottom + 1.0);
    if (Canvas.Brush.Style != TBrushStyle::bsClear)
      FillBitmapShape(Canvas, R.Left, R.Top, ZoomX, ZoomY, Canvas.Brush.Color);
    if (Canvas.Pen.Style == TPenStyle::psClear) break;
    if (Canvas.Pen.Width > 1)
      StampBitmapEdges(Canvas, R);
    else
      DrawBitmapEdges(Writer, R, Canvas.Pen.Color, Canvas.Pen.Color);
  }
  }
}

// The exposed sides of every cell, each pixel in the stripe colour of its
// position. A pixel shared by two sides of one cell is written once, so that
// XOR drawing does not cancel at the corners.
void TShapeManager::DrawBitmapEdges(TPixelWriter& Writer, const TRect& R, TColor Color1, TColor Color2) {
  const double ZoomX = (RectWidth(R) + 1.0) / (FRefData.Bounds.Right + 1.0);
  const double ZoomY = (RectHeight(R) + 1.0) / (FRefData.Bounds.Bottom + 1.0);
  const TRect Clip = Writer.Clip();
  if (Clip.IsEmpty()) return;
  const int C1 = Writer.Prepare(Color1), C2 = Writer.Prepare(Color2), Phase = FDrawPhase;
  auto Put = [&](int X, int Y) { Writer.Put(X, Y, (X + Y + Phase) % 8 > 3 ? C2 : C1); };
  auto HRun = [&](int Y, int X1, int X2) {
    if (Y < Clip.Top || Y >= Clip.Bottom) return;
    for (int X = std::max(X1, Clip.Left), E = std::min(X2, Clip.Right - 1); X <= E; ++X) Put(X, Y);
  };
  auto VRun = [&](int X, int Y1, int Y2) {
    if (X < Clip.Left || X >= Clip.Right) return;
    for (int Y = std::max(Y1, Clip.Top), E = std::min(Y2, Clip.Bottom - 1); Y <= E; ++Y) Put(X, Y);
  };
  ForEachCell(FRefData, R, ZoomX, ZoomY, Clip, [&](const TCell& C, uint8_t Flags) {
    if (C.X1 == C.X2 && C.Y1 == C.Y2) {
      if (C.X1 >= Clip.Left && C.X1 < Clip.Right) Put(C.X1, C.Y1);
      return;
    }
    const bool Top = Flags & sfTop, Bottom = (Flags & sfBottom) && !(Top && C.Y2 == C.Y1);
    if (Top) HRun(C.Y1, C.X1, C.X2);
    if (Bottom) HRun(C.Y2, C.X1, C.X2);
    const int Y1 = C.Y1 + (Top ? 1 : 0), Y2 = C.Y2 - ((Flags & sfBottom) ? 1 : 0);
    const bool Left = Flags & sfLeft;
    if (Left) VRun(C.X1, Y1, Y2);
    if ((Flags & sfRight) && !(Left && C.X2 == C.X1)) VRun(C.X2, Y1, Y2);
  });
}

// XOR outline of a bitmap shape. Cells thinner than a pixel fall on one
// another: every output row is marked first and each marked pixel written
// once, so that neighbouring edges do not cancel.
void TShapeManager::DrawBitmapEdgesXor(TPixelWriter& Writer, const TRect& R, TColor Color1, TColor Color2) {
  const double ZoomX = (RectWidth(R) + 1.0) / (FRefData.Bounds.Right + 1.0);
  const double ZoomY = (RectHeight(R) + 1.0) / (FRefData.Bounds.Bottom + 1.0);
  if (ZoomX >= 1 && ZoomY >= 1) {
    DrawBitmapEdges(Writer, R, Color1, Color2);
    return;
  }
  const TRect Clip = Writer.Clip();
  if (Clip.IsEmpty()) return;
  const int C1 = Writer.Prepare(Color1), C2 = Writer.Prepare(Color2), Phase = FDrawPhase;
  const size_t Width = static_cast<size_t>(Clip.Right - Clip.Left);
  std::map<int, std::vector<uint8_t>> Rows; // marked rows not yet written
  auto Flush = [&](int Below) {
    while (!Rows.empty() && Rows.begin()->first < Below) {
      const int Y = Rows.begin()->first;
      const std::vector<uint8_t>& Marks = Rows.begin()->second;
      for (size_t I = 0; I < Width; ++I)
        if (Marks[I]) {
          const int X = Clip.Left + static_cast<int>(I);
          Writer.Put(X, Y, (X + Y + Phase) % 8 > 3 ? C2 : C1);
        }
      Rows.erase(Rows.begin());
    }
  };
  auto Mark = [&](std::vector<uint8_t>& Row, int X1, int X2) {
    for (int X = std::max(X1, Clip.Left), E = std::min(X2, Clip.Right - 1); X <= E; ++X)
      Row[static_cast<size_t>(X - Clip.Left)] = 1;
  };
  ForEachCell(FRefData, R, ZoomX, ZoomY, Clip, [&](const TCell& C, uint8_t Flags) {
    Flush(C.Y1);
    for (int Y = std::max(C.Y1, Clip.Top), E = std::min(C.Y2, Clip.Bottom - 1); Y <= E; ++Y) {
      std::vector<uint8_t>& Row = Rows[Y];
      if (Row.empty()) Row.assign(Width, 0);
      if ((Y == C.Y1 && (Flags & sfTop)) || (Y == C.Y2 && (Flags & sfBottom))) Mark(Row, C.X1, C.X2);
      if (Flags & sfLeft) Mark(Row, C.X1, C.X1);
      if (Flags & sfRight) Mark(Row, C.X2, C.X2);
      if (C.X1 >= C.X2) Mark(Row, C.X1, C.X1);
    }
  });
  Flush(INT_MAX);
}

// A pen wider than 1: squares of the pen's width stamped along every exposed
// side, moved up and left by (width - 1) div 2. The squares along one side
// make one rectangle, filled at once.
void TShapeManager::StampBitmapEdges(TCanvas& Canvas, const TRect& R) {
  const double ZoomX = (RectWidth(R) + 1.0) / (FRefData.Bounds.Right + 1.0);
  const double ZoomY = (RectHeight(R) + 1.0) / (FRefData.Bounds.Bottom + 1.0);
  const int W = Canvas.Pen.Width, H = (W - 1) / 2;
  const TBrush Saved = Canvas.Brush;
  Canvas.Brush.Color = Canvas.Pen.Color;
  Canvas.Brush.Style = TBrushStyle::bsSolid;
  const TRect Clip = Canvas.ClipRect();
  // Stamps reach W pixels beyond their cell: widen the walk's clip by that.
  const TRect WalkClip{Clip.Left - W, Clip.Top - W, Clip.Right + W, Clip.Bottom + W};
  ForEachCell(FRefData, R, ZoomX, ZoomY, WalkClip, [&](const TCell& C, uint8_t Flags) {
    auto Stamp = [&](int X1, int Y1, int X2, int Y2) { Canvas.FillRect({X1 - H, Y1 - H, X2 - H + W, Y2 - H + W}); };
    if (Flags & sfTop) Stamp(C.X1, C.Y1, C.X2, C.Y1);
    if (Flags & sfBottom) Stamp(C.X1, C.Y2, C.X2, C.Y2);
    if (Flags & sfLeft) Stamp(C.X1, C.Y1, C.X1, C.Y2);
    if (Flags & sfRight) Stamp(C.X2, C.Y1, C.X2, C.Y2);
  });
  Canvas.Brush = Saved;
}
