// The commands that take the selected part of a layer or of the image: the
// crops, the selection as a new layer and the image of the selection.
#include "document/Calque.h"

#include "document/Undo.h"
#include "raster/Bitmap24.h"
#include "raster/GreyMasks.h"
#include "raster/ImgUtils.h"
#include "raster/TransformFunc.h"
#include "raster/Transparency.h"

namespace {

TRect WholeRect(const TBitmap& B) { return {0, 0, B.Width(), B.Height()}; }

// LaSelection cut to the current layer's bitmap; empty without a layer.
TRect SelectedLayerRect(TLayerCommandHost& Host) {
  const TBitmap* B = LeBitmap(Host);
  return B ? IntersectRect(LaSelection(Host), WholeRect(*B)) : TRect{};
}

// Transform codes of the command to FlipRotateBitmap's.
constexpr int RasterCodes[] = {-1, 0, 1, 2, 3, 4};

// The current layer's mask cut to R.
std::unique_ptr<TBitmap> LayerMaskPart(TLayerCommandHost& Host, const TRect& R) {
  auto M = std::make_unique<TBitmap>();
  CropBitmapTo(*LeMasque(Host), *M, R);
  return M;
}

// The selection mask of R (layer coordinates), with the layer's own mask put
// into it so that transparent parts stay transparent; nullptr when neither
// the selection nor the layer needs one.
std::unique_ptr<TBitmap> SelectedMask(TLayerCommandHost& Host, const TRect& R, bool Alpha) {
  const bool Shaped = SelectionNeedsMask(Host, false);
  if (!Shaped && !Alpha) return nullptr;
  if (!Shaped) return LayerMaskPart(Host, R);
  std::unique_ptr<TBitmap> M = SelectionMaskOfRect(Host, R, Host.Sel()->Invert(), true);
  if (M && Alpha) CombineMaskMax(*LeMasque(Host), *M, -R.Left, -R.Top, WholeRect(*M));
  return M;
}

// Dest := B, or with a mask M the 32-bit bitmap with alpha 255 - M.
void GiveTo(TBitmap& Dest, const TBitmap& B, const TBitmap* M) {
  if (M && !M->Empty())
    BitmapMaskToBitmap32(B, *M, Dest, false);
  else
    Dest.Assign(B);
}

bool BuildImage(TLayerCommandHost& Host, TBitmap& Dest, bool Alpha, bool Masked) {
  Dest.ReleaseImage();
  const TRect R = SelectedLayerRect(Host);
  if (R.IsEmpty()) return false;
  const TBitmap& Layer = *LeBitmap(Host);
  const bool HasMask = Alpha && HasAlpha(Host);
  TBitmap Part;
  CropBitmapTo(Layer, Part, R);
  std::unique_ptr<TBitmap> M;
  if (Masked)
    M = SelectedMask(Host, R, HasMask);
  else if (HasMask)
    M = LayerMaskPart(Host, R);
  GiveTo(Dest, Part, M.get());
  return true;
}

} // namespace

bool CropLayerToSelection(TLayerCommandHost& Host) {
  TMyImageLayered* Image = Host.Image();
  TLayerItem* L = Image ? Image->CurrentLayer() : nullptr;
  TSelectionState* Sel = Host.Sel();
  if (!L || !Sel || L->LayerType != ltBitmap) return false;
  const TRect R = IntersectRect(Image->BmpToLayer(Sel->BmpSelRect()), WholeRect(L->Bitmap()));
  if (R.IsEmpty()) return false;
  std::unique_ptr<TBitmap> Shape;
  if (Sel->Shape() != ssRect) Shape = SelectionMaskOfRect(Host, R, false, true);
  CropBitmap(L->Mask(), R);
  CropBitmap(L->Bitmap(), R);
  if (Shape) {
    L->CheckCreateMask(false);
    CombineMaskMax(*Shape, L->Mask(), 0, 0, WholeRect(L->Mask()));
  }
  L->Pos = {L->Pos.X + R.Left, L->Pos.Y + R.Top};
  Image->Invalidate();
  return true;
}

bool CropBackgroundToSelection(TLayerCommandHost& Host) {
  TMyImageLayered* Image = Host.Image();
  TSelectionState* Sel = Host.Sel();
  LayerNavigator* Nav = Host.LayerNav();
  if (!Image || !Sel || !Nav || Image->Layers().Count() == 0) return false;
  TLayerItem& Bkg = Image->Layers()[0];
  const TRect R = IntersectRect(Sel->BmpSelRect(), WholeRect(Bkg.Bitmap()));
  if (R.IsEmpty()) return false;
  const bool Smooth = !Host.SelAucunLissage();
  const bool Shaped = Sel->Shape() != ssRect;
  if (Host.ModeRGBA(false)) {
    CropBitmap(Bkg.Mask(), R);
    if (Shaped)
      if (auto M = SelectionMaskOfImageRect(Host, R, false, Smooth))
        CombineMaskMax(*M, Bkg.Mask(), 0, 0, WholeRect(Bkg.Mask()));
  } else if (Shaped) {
    if (auto M = SelectionMaskOfImageRect(Host, R, true, Smooth))
      FillColorMask24(*M, WholeRect(*M), Bkg.Bitmap(), R.Left, R.Top, WholeRect(Bkg.Bitmap()), Host.SecondaryColor(),
                      100);
  }
  CropBitmap(Bkg.Bitmap(), R);
  if (TUndoList* List = Host.ListeUndo())
    if (TUndoItem* U = List->CurrentUndo()) {
      U->SetFlag(5, -R.Left);
      U->SetFlag(6, -R.Top);
    }
  OffsetAllLayers(*Nav, -R.Left, -R.Top, true);
  Image->Invalidate();
  return true;
}

bool SelectionToNewLayer(TLayerCommandHost& Host, const QString& Caption, int Transform) {
  LayerNavigator* Nav = Host.LayerNav();
  const TRect R = SelectedLayerRect(Host);
  if (!Nav || R.IsEmpty()) return false;
  TBitmap Copy;
  if (!CropBitmapTo(*LeBitmap(Host), Copy, R)) return false;
  std::unique_ptr<TBitmap> M = SelectedMask(Host, R, HasAlpha(Host));
  if (Transform >= 1 && Transform <= 5) {
    FlipRotateBitmap(Copy, RasterCodes[Transform]);
    if (M) FlipRotateBitmap(*M, RasterCodes[Transform]);
  }
  Host.MasquerSelection();
  const TPoint P = Host.Image()->LayerToBmp(R).TopLeft();
  Nav->AddLayer(&Copy, M.get(), P, 100, Caption);
  return true;
}

bool BuildSelectionImage(TLayerCommandHost& Host, TBitmap& Dest) { return BuildImage(Host, Dest, false, false); }
bool BuildSelectionImageAlpha(TLayerCommandHost& Host, TBitmap& Dest) { return BuildImage(Host, Dest, true, false); }
bool BuildSelectionImageMasked(TLayerCommandHost& Host, TBitmap& Dest) { return BuildImage(Host, Dest, true, true); }
