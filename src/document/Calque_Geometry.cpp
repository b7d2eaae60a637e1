// The geometry of the whole image carried over to the layers above the
// background: each layer is transformed and placed again on the transformed
// background. The commands that allocate check every layer's result size
// first, so that a huge result refuses the command before any layer changed.
#include "document/Calque.h"

#include "document/TxtData.h"
#include "platform/FileLimits.h"
#include "platform/FontUtils.h"
#include "platform/Rounding.h"
#include "raster/Rotation24.h"

#include <cmath>
#include <functional>

namespace {

bool IsMovable(const TLayerItem& L) { return L.LayerType == ltBitmap || L.LayerType == ltData; }

TTextData* TextOf(TLayerItem& L) {
  return L.LayerType == ltData ? dynamic_cast<TTextData*>(L.Data()) : nullptr;
}

// Calls F on every bitmap or data layer above the background.
void ForEachMovable(TMyImageLayered& Image, const std::function<void(TLayerItem&)>& F) {
  const TLayerList& Layers = Image.Layers();
  for (int I = 1; I < Layers.Count(); ++I)
    if (IsMovable(Layers[I])) F(Layers[I]);
}

// Every bitmap layer's size after Size(w, h) fits the pixel limit. Text is
// rendered from its data at a size its font decides, so it is not counted.
bool ResultsFit(TMyImageLayered& Image, const std::function<void(int& W, int& H)>& Size) {
  bool Fits = true;
  ForEachMovable(Image, [&](TLayerItem& L) {
    if (TextOf(L)) return;
    int W = L.Bitmap().Width(), H = L.Bitmap().Height();
    Size(W, H);
    Fits = Fits && PixelCountFits(W, H);
  });
  return Fits;
}

void Finish(LayerNavigator& Nav) {
  Nav.Image().Invalidate();
  Nav.Synchronize(false);
}

} // namespace

void OffsetAllLayers(LayerNavigator& Nav, int DX, int DY, bool Refresh) {
  if (DX == 0 && DY == 0) return;
  ForEachMovable(Nav.Image(), [&](TLayerItem& L) { L.Pos = {L.Pos.X + DX, L.Pos.Y + DY}; });
  Nav.Image().Invalidate();
  if (Refresh) Nav.Synchronize(false);
}

void FlipRotateAllLayers(LayerNavigator& Nav, int Code) {
  TMyImageLayered& Image = Nav.Image();
  if (Code == 0 || Image.Layers().Count() == 0) return;
  const TBitmap& Bkg = Image.Layers()[0].Bitmap();
  const int W = Bkg.Width(), H = Bkg.Height();
  const bool Clockwise = Code == 3 || Code == -4;
  const bool Anticlockwise = Code == 4 || Code == -3;
  const bool HalfTurn = Code == 5 || Code == -5;
  ForEachMovable(Image, [&](TLayerItem& L) {
    const TPoint P = L.Pos;
    if (TTextData* T = TextOf(L)) {
      // Text keeps its reading direction under mirrors; turns change its angle.
      if (Clockwise) T->RotateTextLayer(L, 90);
      if (Anticlockwise) T->RotateTextLayer(L, -90);
      if (HalfTurn) T->RotateTextLayer(L, Code == 5 ? -180 : 180);
    } else if (Code == 1 || Code == -1) {
      L.FlipVert();
    } else if (Code == 2 || Code == -2) {
      L.FlipHorz();
    } else if (Clockwise) {
      L.Rotate270();
    } else if (Anticlockwise) {
      L.Rotate90();
    } else if (HalfTurn) {
      L.Rotate180();
    }
    const int w = L.Bitmap().Width(), h = L.Bitmap().Height();
    if (Code == 1 || Code == -1) L.Pos = {P.X, H - P.Y - h};
    if (Code == 2 || Code == -2) L.Pos = {W - P.X - w, P.Y};
    if (Clockwise) L.Pos = {W - P.Y - w, P.X};
    if (Anticlockwise) L.Pos = {P.Y, H - P.X - h};
    if (HalfTurn) L.Pos = {W - P.X - w, H - P.Y - h};
  });
  Finish(Nav);
}

bool RotateAllLayers(LayerNavigator& Nav, double Angle, int OldWidth, int OldHeight) {
  TMyImageLayered& Image = Nav.Image();
  if (Angle == 0 || Image.Layers().Count() == 0) return true;
  if (!ResultsFit(Image, [&](int& W, int& H) { RotatedSize(W, H, Angle); })) return false;
  const TBitmap& Bkg = Image.Layers()[0].Bitmap();
  const int NewW = Bkg.Width(), NewH = Bkg.Height();
  ForEachMovable(Image, [&](TLayerItem& L) {
    const TPoint P = RotateBitmapPoint(L.Pos, Angle, OldWidth, OldHeight, NewW, NewH);
    const int w = L.Bitmap().Width(), h = L.Bitmap().Height();
    if (TTextData* T = TextOf(L))
      T->RotateTextLayer(L, Angle);
    else
      L.Rotate(-Angle);
    const TPoint Q = RotateBitmapPoint({0, 0}, Angle, w, h, L.Bitmap().Width(), L.Bitmap().Height());
    L.Pos = {P.X - Q.X, P.Y - Q.Y};
  });
  Finish(Nav);
  return true;
}

bool ScaleAllLayers(LayerNavigator& Nav, double FX, double FY) {
  TMyImageLayered& Image = Nav.Image();
  if ((FX == 1 && FY == 1) || Image.Layers().Count() == 0) return true;
  const auto Scaled = [&](int& W, int& H) {
    W = Round(W * FX);
    H = Round(H * FY);
  };
  if (!ResultsFit(Image, Scaled)) return false;
  ForEachMovable(Image, [&](TLayerItem& L) {
    int W = L.Bitmap().Width(), H = L.Bitmap().Height();
    Scaled(W, H);
    if (TTextData* T = TextOf(L))
      T->ScaleTextLayer(L, Bounds(0, 0, W, H));
    else
      L.Scale(W, H);
    L.Pos = {Round(L.Pos.X * FX), Round(L.Pos.Y * FY)};
  });
  Finish(Nav);
  return true;
}

bool SkewAllLayers(LayerNavigator& Nav, double FX, double FY, int Width, int Height) {
  TMyImageLayered& Image = Nav.Image();
  if (Image.Layers().Count() == 0) return true;
  if (!ResultsFit(Image, [&](int& W, int& H) {
        const double SW = W + std::abs(H * FX), SH = H + std::abs(W * FY);
        W = int(std::min(std::ceil(SW), 2e9));
        H = int(std::min(std::ceil(SH), 2e9));
      }))
    return false;
  ForEachMovable(Image, [&](TLayerItem& L) {
    if (L.LayerType != ltBitmap) return;
    const TPoint P = L.Pos;
    L.Skew(FX, FY);
    const int w = L.Bitmap().Width(), h = L.Bitmap().Height();
    int DX = FX < 0 ? -Round(h * FX) : 0;
    int DY = FY < 0 ? -Round(w * FY) : 0;
    DX += FX < 0 ? -Round((Height - P.Y - h) * FX) : Round(P.Y * FX);
    DY += FY < 0 ? -Round((Width - P.X - w) * FY) : Round(P.X * FY);
    L.Pos = {P.X + DX, P.Y + DY};
  });
  Finish(Nav);
  return true;
}
