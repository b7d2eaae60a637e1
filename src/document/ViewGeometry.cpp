#include "document/ViewGeometry.h"

#include "platform/Bitmap.h"
#include "platform/Rounding.h"
#include "raster/Bitmap24.h"

#include <cmath>
#include <cstdlib>

TPoint TViewGeometry::ClientToBmp(TPoint P) const {
  TPoint Result{Trunc((P.X - ImgRect.Left) / Zoom), Trunc((P.Y - ImgRect.Top) / Zoom)};
  if (P.X == ImgRect.Right - 1) Result.X = W - 1;
  if (P.Y == ImgRect.Bottom - 1) Result.Y = H - 1;
  return Result;
}

TPoint TViewGeometry::BmpToClient(TPoint P) const {
  TPoint Result{Round(P.X * Zoom) + ImgRect.Left, Round(P.Y * Zoom) + ImgRect.Top};
  if (P.X == W - 1) Result.X = ImgRect.Right - 1;
  if (P.Y == H - 1) Result.Y = ImgRect.Bottom - 1;
  return Result;
}

TRect TViewGeometry::ClientToBmp(const TRect& R) const {
  const TRect S = OffsetRect(R, -ImgRect.Left, -ImgRect.Top);
  TRect Result{Trunc(S.Left / Zoom), Trunc(S.Top / Zoom), Trunc(S.Right / Zoom), Trunc(S.Bottom / Zoom)};
  if (R.Right == ImgRect.Right) Result.Right = W;
  if (R.Bottom == ImgRect.Bottom) Result.Bottom = H;
  return Result;
}

TRect TViewGeometry::BmpToClient(const TRect& R) const {
  TRect Result = OffsetRect({Round(R.Left * Zoom), Round(R.Top * Zoom), Round(R.Right * Zoom), Round(R.Bottom * Zoom)},
                            ImgRect.Left, ImgRect.Top);
  if (R.Right == W) Result.Right = ImgRect.Right;
  if (R.Bottom == H) Result.Bottom = ImgRect.Bottom;
  return Result;
}

int TViewGeometry::ErrorMargin() const { return Zoom < 1.0 ? Ceil(1.0 / Zoom) + 1 : 2; }

TRect TViewGeometry::CheckErrorConversion(const TRect& R) const {
  const int M = ErrorMargin();
  return {R.Left - M, R.Top - M, R.Right + M, R.Bottom + M};
}

TRect TViewGeometry::ClientRectToBuffer(const TRect& R) const {
  const TPoint O = PaintOffset(ImgRect);
  return OffsetRect(R, -O.X, -O.Y);
}

TRect TViewGeometry::BufferRectToClient(const TRect& R) const {
  const TPoint O = PaintOffset(ImgRect);
  return OffsetRect(R, O.X, O.Y);
}

TRect TViewGeometry::BmpRectToBuffer(const TRect& R) const { return ClientRectToBuffer(BmpToClient(R)); }

TRect TViewGeometry::BufferRectToBmp(const TRect& R) const { return ClientToBmp(BufferRectToClient(R)); }

int ZoomedSize(int Size, double Zoom) {
  if (Size <= 0) return 0;
  const int64_t Z = Round64(Size * Zoom);
  return Z < 1 ? 1 : static_cast<int>(std::min<int64_t>(Z, 1 << 30));
}

double ValidZoom(double Zoom) { return std::isfinite(Zoom) && Zoom > 0 ? Zoom : 1.0; }

int ValidShadowSize(int Size) { return Size < 0 || Size > 12 ? 0 : Size; }

double CalcGridWidth(int GridWidth, int GridUnit, double ResolutionX) {
  if (GridUnit == 0) return GridWidth;
  return GridUnit == 1 ? ResolutionX / 2.54 : ResolutionX;
}

bool GridVisible(double G, double Zoom) {
  if (!std::isfinite(G) || G <= 0 || !std::isfinite(G * Zoom)) return false;
  return G * Zoom < 2147483647.0 && Trunc(G * Zoom) >= 2;
}

int SnapToGrid(int V, double G) {
  if (!std::isfinite(G) || G <= 0) return V;
  return Trunc(Trunc(V / G) * G);
}

namespace {

// GridPoint of one coordinate.
int GridClient(double A, double G, double Zoom, int Origin) {
  return Round(Trunc(Trunc((A + 0.33) / G) * G) * Zoom + Origin);
}

} // namespace

std::vector<int> GridLinePositions(double G, double Zoom, int Size, int Origin, int BLow, int BHigh) {
  std::vector<int> Result;
  if (!GridVisible(G, Zoom)) return Result;
  // Only the steps between BLow and BHigh are visited: the loop stays short on
  // a huge image.
  const double First = std::max(1.0, std::floor(std::max(0, BLow) / G));
  for (double K = First;; K += 1.0) {
    const double V = K * G;
    if (V >= Size || V > BHigh) break;
    if (V >= BLow) Result.push_back(GridClient(V, G, Zoom, Origin));
  }
  return Result;
}

TGridLines CalcGridLines(const TViewGeometry& V, double G, const TRect& Clip) {
  TGridLines L;
  if (!GridVisible(G, V.Zoom)) return L;
  const TRect B = V.CheckErrorConversion(V.ClientToBmp(Clip));
  L.X = GridLinePositions(G, V.Zoom, V.W, V.ImgRect.Left, B.Left, B.Right);
  L.Y = GridLinePositions(G, V.Zoom, V.H, V.ImgRect.Top, B.Top, B.Bottom);
  L.Left = V.ImgRect.Left;
  L.Top = V.ImgRect.Top;
  L.Right = GridClient(V.W + G, G, V.Zoom, V.ImgRect.Left);
  L.Bottom = GridClient(V.H + G, G, V.Zoom, V.ImgRect.Top);
  return L;
}

int ScrollExtent(int ZoomedSize, int Marge) { return ZoomedSize + 2 * Marge; }

int ScrollMaximum(int Extent, int Page) { return std::max(0, Extent - std::max(0, Page)); }

int ImagePos(int Marge, int ScrollPos, bool Centered, bool BarVisible, int ClientSize, int ZoomedSize) {
  if (Centered && !BarVisible) return (ClientSize - ZoomedSize) / 2;
  return Marge - ScrollPos;
}

TPoint PaintOffset(const TRect& ImgRect) { return {std::max(0, ImgRect.Left), std::max(0, ImgRect.Top)}; }

TPoint ConstrainToAxis(TPoint P, TPoint Origin) {
  if (std::abs(P.X - Origin.X) > std::abs(P.Y - Origin.Y))
    P.Y = Origin.Y;
  else
    P.X = Origin.X;
  return P;
}

TPoint DraggedLayerPos(TPoint LayerOrigin, TPoint PtOrigin, TPoint P, bool GridAlign, double G) {
  TPoint R{LayerOrigin.X + P.X - PtOrigin.X, LayerOrigin.Y + P.Y - PtOrigin.Y};
  if (GridAlign) R = {SnapToGrid(R.X, G), SnapToGrid(R.Y, G)};
  return R;
}

int NudgeStep(bool ShiftOrCapsLock) { return ShiftOrCapsLock ? 8 : 1; }

void CreateCheckerBitmap(int N, TBitmap& Tile) {
  N = std::max(1, N);
  NewBitmap24(Tile, 2 * N, 2 * N, clWhite);
  Tile.Canvas().Brush.Color = 0xC3C3C3;
  Tile.Canvas().Brush.Style = TBrushStyle::bsSolid;
  Tile.Canvas().FillRect({0, 0, N, N});
  Tile.Canvas().FillRect({N, N, 2 * N, 2 * N});
}
