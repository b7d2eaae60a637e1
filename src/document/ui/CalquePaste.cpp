#include "document/ui/CalquePaste.h"

#include "files/GifImage.h"
#include "filters/Filtres24.h"
#include "i18n/LibLang.h"
#include "raster/Bitmap24.h"
#include "raster/GreyMasks.h"
#include "raster/ImgUtils24.h"
#include "raster/Pixels.h"

#include <optional>

namespace {

TRect WholeRect(const TBitmap& B) { return {0, 0, B.Width(), B.Height()}; }

bool CanAddLayer(TLayerCommandHost& Host) {
  return Host.LayerNav() && Host.Image() && Host.Image()->CurrentLayer();
}

void AddCentred(TLayerCommandHost& Host, const TBitmap& Bmp, const TBitmap& Mask, const QString& Caption) {
  const TPoint P = VisibleCenterRect(Host, WholeRect(Bmp)).TopLeft();
  Host.LayerNav()->AddLayer(&Bmp, Mask.Empty() ? nullptr : &Mask, P, 100, Caption);
}

} // namespace

bool PasteAsLayer(TLayerCommandHost& Host, TClipboardData& Clip, const QString& Caption) {
  TBitmap Bmp, Mask;
  if (!CanAddLayer(Host) || !Clip.GetImage(Bmp, Mask)) return false;
  TPoint P = VisibleCenterRect(Host, WholeRect(Bmp)).TopLeft();
  if (Clip.IsCopyImage(Host)) {
    const TRect AtCopy = Bounds(Clip.CopyPos().X, Clip.CopyPos().Y, Bmp.Width(), Bmp.Height());
    if (RectInVisibleArea(Host, AtCopy)) P = AtCopy.TopLeft();
  }
  Host.LayerNav()->AddLayer(&Bmp, Mask.Empty() ? nullptr : &Mask, P, 100, Caption);
  Clip.GetLayerOptions(Host);
  return true;
}

bool PasteAsLayerWithMask(TLayerCommandHost& Host, TClipboardData& Clip, const QString& Caption) {
  TBitmap Bmp, Mask;
  if (!CanAddLayer(Host) || !Clip.GetWithMask(Bmp, Mask)) return false;
  AddCentred(Host, Bmp, Mask, Caption);
  return true;
}

bool PasteMaskAsLayer(TLayerCommandHost& Host, TClipboardData& Clip, const QString& Caption, TColor Color) {
  TBitmap Bmp, Mask;
  if (!CanAddLayer(Host) || !Clip.GetMask(Bmp, Mask, Color)) return false;
  AddCentred(Host, Bmp, Mask, Caption);
  return true;
}

bool PasteAsLayerMask(TLayerCommandHost& Host, TClipboardData& Clip) {
  TLayerItem* L = Host.Image() ? Host.Image()->CurrentLayer() : nullptr;
  if (!L || L->Bitmap().Empty() || L->LayerType != ltBitmap) return false;
  TBitmap B, M;
  if (!Clip.GetImage(B, M)) return false;
  Grayscale24(B, WholeRect(B));
  Negative24(B, WholeRect(B));
  if (!M.Empty()) CombineMaskMax(M, B, 0, 0, WholeRect(B));
  L->CheckCreateMask(false);
  TBitmap& Dst = L->Mask();
  if (B.Width() != Dst.Width() || B.Height() != Dst.Height())
    StretchBitmap(Dst.Width(), Dst.Height(), TStretchMode::smBilinear, B, B);
  CopyRect24(B, WholeRect(B), Dst, 0, 0, WholeRect(Dst));
  Host.Image()->Invalidate();
  return true;
}

void LoadGifAsLayers(TMyImageLayered& Image, const QString& FileName) {
  TGIFImage Gif;
  Gif.LoadFromFile(FileName);
  Image.Bitmap().ReleaseImage();
  Image.Bitmap().Transparent = false;
  const TColor Back = Gif.BackgroundIndex < Gif.GlobalColorMap.size()
                          ? PaletteEntryColor(Gif.GlobalColorMap[Gif.BackgroundIndex])
                          : clWhite;
  TBitmap Bkg(Gif.Width, Gif.Height, pf24bit, Back);
  Image.AddBackground(&Bkg, nullptr, "#0");
  int K = 0;
  for (int I = 0; I < static_cast<int>(Gif.Frames.size()); ++I) {
    const TGIFFrame& F = Gif.Frames[I];
    if (F.Width <= 0) continue;
    TBitmap Frame;
    Gif.FrameToBitmap(I, Frame);
    Frame.SetPixelFormat(pf24bit);
    TBitmap Mask(F.Width, F.Height, pf24bit, clBlack);
    const std::optional<TGIFGraphicControl> GC = F.GraphicControl();
    if (GC && GC->Transparent)
      for (int Y = 0; Y < F.Height; ++Y)
        for (int X = 0; X < F.Width; ++X)
          if (F.Pixels[size_t(Y) * F.Width + X] == GC->TransparentIndex) RowOf(Mask, Y)[X] = {255, 255, 255};
    ++K;
    const int Index = Image.AddLayer(&Frame, &Mask, {F.Left, F.Top}, 100, "#" + QString::number(K));
    Image.Layers()[Index].Visible = K == 1;
  }
}

bool NewImageFromClipboard(TClipboardData& Clip, TNewImageHost& Windows) {
  TBitmap Bmp, Mask;
  if (!Clip.GetImage(Bmp, Mask)) return false;
  if (Bmp.Transparent && !Mask.Empty()) {
    FillColorByteRange24(Mask, WholeRect(Mask), Bmp, 0, 0, WholeRect(Bmp), Bmp.TransparentColor(), 12, 255);
    Mask.ReleaseImage();
  }
  TMyImageLayered* Image = Windows.NouvelleImage(Bmp, QString(), srcClipboard, 16777216);
  if (!Image) return false;
  if (!Mask.Empty() && Image->CurrentLayer()) {
    Image->CurrentLayer()->Mask().Assign(Mask);
    Windows.MajMenus();
  }
  Image->ResolutionX = Clip.GetDPI();
  return true;
}

bool NewImageFromLayerMask(TLayerCommandHost& Host, TNewImageHost& Windows) {
  const TLayerItem* L = Host.Image() ? Host.Image()->CurrentLayer() : nullptr;
  if (!L || L->Mask().Empty()) return false;
  TBitmap Bmp;
  Bmp.Assign(L->Mask());
  Bmp.SetPixelFormat(pf24bit);
  Negative24(Bmp, WholeRect(Bmp));
  const QString Title = QStringLiteral("%1 (%2)").arg(L->DisplayCaption(), Tr(TrId::GetTrLblMask));
  return Windows.NouvelleImage(Bmp, Title, srcNew, 16777216) != nullptr;
}
