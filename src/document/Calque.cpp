// The state tests, the default layer name and the choice of the current layer.
#include "document/Calque.h"

#include "document/TxtData.h"
#include "raster/Transparency.h"

#include <QStringList>

#include <algorithm>

namespace {

template <typename Pred> bool CurrentIs(const TMyImageLayered& Image, Pred P) {
  const TLayerItem* L = Image.CurrentLayer();
  return L && P(*L);
}

template <typename Pred> bool AnyLayer(const TMyImageLayered& Image, Pred P) {
  const TLayerList& Layers = Image.Layers();
  for (int I = 0; I < Layers.Count(); ++I)
    if (P(Layers[I])) return true;
  return false;
}

} // namespace

bool IsTextLayer(const TMyImageLayered& Image) {
  return CurrentIs(Image, [](const TLayerItem& L) {
    return L.LayerType == ltData && dynamic_cast<const TTextData*>(L.Data()) != nullptr;
  });
}

bool IsBackgroundLayer(const TMyImageLayered& Image) { return Image.LayerIndex() == 0; }

bool IsLayerLockedOrHidden(const TMyImageLayered& Image) {
  return CurrentIs(Image, [](const TLayerItem& L) { return L.Locked || !L.Visible; });
}

bool IsLayerLocked(const TMyImageLayered& Image) {
  return CurrentIs(Image, [](const TLayerItem& L) { return L.Locked; });
}

bool IsLayerVisible(const TMyImageLayered& Image) {
  return CurrentIs(Image, [](const TLayerItem& L) { return L.Visible; });
}

bool IsNonBitmapLayer(const TMyImageLayered& Image) {
  return CurrentIs(Image, [](const TLayerItem& L) { return L.LayerType != ltBitmap; });
}

bool CanChangeBlendMode(const TMyImageLayered& Image) {
  return Image.LayerIndex() > 0 && !IsLayerLockedOrHidden(Image) &&
         CurrentIs(Image, [](const TLayerItem& L) { return L.LayerType != ltAdjust; });
}

bool AnyLayerVisible(const TMyImageLayered& Image) {
  return AnyLayer(Image, [](const TLayerItem& L) { return L.Visible; });
}

bool HasDataLayer(const TMyImageLayered& Image) {
  return AnyLayer(Image, [](const TLayerItem& L) { return L.LayerType == ltData; });
}

bool HasVisibleAndHiddenLayers(const TMyImageLayered& Image) {
  return AnyLayerVisible(Image) && AnyLayer(Image, [](const TLayerItem& L) { return !L.Visible; });
}

bool AllLayersBitmapOrData(const TMyImageLayered& Image) {
  return !AnyLayer(Image, [](const TLayerItem& L) { return L.LayerType != ltBitmap && L.LayerType != ltData; });
}

QString NextLayerName(const TMyImageLayered& Image) {
  QStringList Numbers;
  const TLayerList& Layers = Image.Layers();
  for (int I = 0; I < Layers.Count(); ++I) {
    const QString& C = Layers[I].Caption;
    if (!C.startsWith(QLatin1Char('#'))) continue;
    bool Ok = false;
    int N = C.mid(1, 3).toInt(&Ok);
    if (!Ok) N = 0;
    Numbers << QString::asprintf("%.3d", N);
  }
  int Next = 1;
  if (!Numbers.isEmpty()) {
    Numbers.sort();
    Next = Numbers.last().toInt() + 1;
  }
  return QLatin1Char('#') + QString::number(Next);
}

void SelectLayer(LayerNavigator& Nav, int Index) {
  Nav.Image().SetLayerIndex(Index);
  Nav.ResetLayerIndex();
}

void SelectNextLayer(LayerNavigator& Nav) {
  const TMyImageLayered& Image = Nav.Image();
  const int Count = Image.Layers().Count();
  if (Count == 0) return;
  SelectLayer(Nav, Image.LayerIndex() + 1 >= Count ? 0 : Image.LayerIndex() + 1);
}

void SelectPreviousLayer(LayerNavigator& Nav) {
  const TMyImageLayered& Image = Nav.Image();
  const int Count = Image.Layers().Count();
  if (Count == 0) return;
  SelectLayer(Nav, Image.LayerIndex() <= 0 ? Count - 1 : Image.LayerIndex() - 1);
}

void ShowAllLayers(LayerNavigator& Nav, bool Show) {
  const TLayerList& Layers = Nav.Image().Layers();
  if (Layers.Count() == 0) return;
  for (int I = Show ? 0 : 1; I < Layers.Count(); ++I) Layers[I].Visible = Show;
  Nav.Image().Invalidate();
  Nav.Synchronize(false);
}

void InsertBackgroundLayer(LayerNavigator& Nav, const TBitmap& Bitmap, bool TransparentBkg) {
  TMyImageLayered& Image = Nav.Image();
  if (Image.Layers().Count() == 0) return;
  Image.Layers()[0].Caption = NextLayerName(Image);
  Nav.InsertNewBackground(&Bitmap, nullptr, TransparentBkg, QStringLiteral("#0"));
}

int AddLayerFromBitmap(LayerNavigator& Nav, const QString& Caption, const TBitmap& Bitmap, const TBitmap* Mask,
                       TPoint Pos) {
  if (Mask) return Nav.AddLayer(&Bitmap, Mask, Pos, 100, Caption);
  TBitmap Bmp24, Alpha;
  ExtractTransparencyMask(Bitmap, Bmp24, Alpha);
  return Nav.AddLayer(&Bmp24, Alpha.Empty() ? nullptr : &Alpha, Pos, 100, Caption);
}

int AddColorLayer(LayerNavigator& Nav, const QString& Caption, TColor Color, TOpacityRange Opacity, bool Invert) {
  return Nav.AddLayerColor(Color, Opacity, Invert, Caption);
}

int AddAdjustLayer(LayerNavigator& Nav, const QString& Caption, const TAdjustLayerInfos& Infos,
                   TOpacityRange Opacity) {
  return Nav.AddLayerAdjust(Infos, Opacity, Caption);
}

void DeleteCurrentLayer(LayerNavigator& Nav) {
  if (Nav.Image().LayerIndex() >= 0) Nav.DeleteLayer(Nav.Image().LayerIndex());
}

int DuplicateCurrentLayer(LayerNavigator& Nav) {
  TMyImageLayered& Image = Nav.Image();
  const int Current = Image.LayerIndex();
  if (Current < 0) return -1;
  const int Index = Image.DuplicateLayer(Current, NextLayerName(Image));
  if (Index < 0) return -1;
  // The panel has no thumbnail for the copy yet and would refuse to move
  // it: the stack is reordered here and the panel rebuilt from it.
  Image.Layers().Move(Index, Current + 1);
  Image.SetLayerIndex(Current + 1);
  Nav.Synchronize(true);
  Nav.ResetLayerIndex();
  return Current + 1;
}
