// The rendering of a text layer: the raw text drawn black on white, then the
// layer's mask (the glyphs, outline and bevel as a stencil) and its colours
// (outline, bevel shades, face) painted through that raw text.
#include "document/TxtData.h"

#include "filters/Blur24.h"
#include "filters/Filtres24.h"
#include "platform/FontUtils.h"
#include "platform/Rounding.h"
#include "raster/Bitmap24.h"
#include "raster/ColorUtils.h"
#include "raster/GreyMasks.h"
#include "raster/ImgUtils24.h"
#include "raster/Rotation24.h"
#include "raster/TransformFunc.h"

#include <QFileInfo>

#include <algorithm>
#include <array>

std::function<bool(const QString& FileName, TBitmap& Pattern, TBitmap& PatternMask)> OnLoadTextPattern;
std::function<QString(const QString& Path)> OnExpandFolderMacro;

namespace {

constexpr std::array<TPoint, 4> OutlineOffsets{{{1, 0}, {-1, 0}, {0, 1}, {0, -1}}};
constexpr std::array<TPoint, 2> DarkBevelOffsets{{{1, 1}, {2, 2}}};
constexpr std::array<TPoint, 2> LightBevelOffsets{{{-1, -1}, {-2, -2}}};

TRect WholeRect(const TBitmap& B) { return {0, 0, B.Width(), B.Height()}; }

// Color painted into Dst through the raw text T (its white pixels skipped)
// with T's top-left at Origin moved by each offset.
template <size_t N>
void PaintThrough(const TBitmap& T, TBitmap& Dst, TPoint Origin, const std::array<TPoint, N>& Offsets, TColor Color) {
  for (const TPoint& D : Offsets)
    FillColorMask24(T, WholeRect(T), Dst, Origin.X + D.X, Origin.Y + D.Y, WholeRect(Dst), Color, 100);
}

} // namespace

void TTextData::SetupFont(TCanvas& Canvas) const {
  Canvas.Font.Name = TextFont;
  Canvas.Font.SetSize(TextSize);
  Canvas.Font.Style = TextStyle;
  Canvas.Font.Color = clBlack;
}

int TTextData::TextMargin(TCanvas& Canvas, bool Rotated) {
  return Rotated ? Canvas.TextWidth(QStringLiteral("M")) : 3;
}

bool TTextData::LoadBrush(TBitmap& Pattern, TBitmap& PatternMask) const {
  if (!UseBrush || !OnLoadTextPattern) return false;
  const QString FileName = OnExpandFolderMacro ? OnExpandFolderMacro(Brush) : Brush;
  if (!QFileInfo(FileName).isFile()) return false;
  return OnLoadTextPattern(FileName, Pattern, PatternMask) && !Pattern.Empty();
}

void TTextData::PrepareBitmaps(TLayerItem& Item) {
  if (Item.Bitmap().Empty()) RenderTextLayer(Item);
}

std::unique_ptr<TBitmap> TTextData::RenderTextMask() const {
  auto T = std::make_unique<TBitmap>();
  T->SetPixelFormat(pf24bit);
  TCanvas& C = T->Canvas();
  SetupFont(C);
  const bool Rotatable = CanRotateFont(FontType);
  const double DrawAngle = Rotatable ? TextAngle : 0;
  const int Margin = TextMargin(C, DrawAngle != 0);
  int W = 0, H = 0;
  MeasureTextLines(C, Lines, -DrawAngle, SpacingX, SpacingY, Margin, W, H);
  if (W <= 0 || H <= 0) return nullptr;
  ResetLayerBitmap(*T, W, H, clWhite);
  DrawTextLines(C, Lines, -DrawAngle, SpacingX, SpacingY, AntialiasFont, TextAlign, Margin);
  if (TextAngle != 0 && !Rotatable) RotateBitmapAngle(*T, TextAngle, true, clWhite, amBilinear);
  const TRect All = WholeRect(*T);
  if (Txt3D) SmoothMask(*T, All);
  if (Blur > 0) GaussianBlurRadius(*T, 2 * Blur, All);
  if (Invert) Negative24(*T, All);
  return T;
}

void TTextData::RenderTextLayer(TLayerItem& Item) {
  Item.ClearBitmaps();
  const std::unique_ptr<TBitmap> T = RenderTextMask();
  if (!T) return;
  SaveWidth = T->Width();
  SaveHeight = T->Height();
  Item.Bitmap().Canvas().Font = T->Canvas().Font;

  // The content's bounds; the negative plate, outline and bevel reach two
  // pixels further.
  TRect R = AutoCropRect(*T, 0, Invert ? clBlack : clWhite);
  if (R.IsEmpty()) return;
  if (Invert || Txt3D || Border) R = {R.Left - 2, R.Top - 2, R.Right + 2, R.Bottom + 2};
  const TPoint O{-R.Left, -R.Top};

  TBitmap Pattern, PatternMask;
  const bool HasPattern = LoadBrush(Pattern, PatternMask);

  // The mask: black (opaque) through the text at every offset it covers.
  TBitmap& Mask = Item.Mask();
  ResetLayerBitmap(Mask, R.Width(), R.Height(), clWhite);
  if (Border) PaintThrough(*T, Mask, O, OutlineOffsets, clBlack);
  if (Txt3D) {
    PaintThrough(*T, Mask, O, DarkBevelOffsets, clBlack);
    PaintThrough(*T, Mask, O, LightBevelOffsets, clBlack);
  }
  PaintThrough(*T, Mask, O, std::array<TPoint, 1>{{{0, 0}}}, clBlack);
  if (HasPattern && !PatternMask.Empty()) CombineMaskMaxTiled(PatternMask, Mask, 0, 0, WholeRect(Mask));

  // The colours.
  TBitmap& Bmp = Item.Bitmap();
  Item.Color = Border ? BorderColor : TextColor;
  ResetLayerBitmap(Bmp, R.Width(), R.Height(), Item.Color);
  if (Border) PaintThrough(*T, Bmp, O, OutlineOffsets, BorderColor);
  if (Txt3D) {
    PaintThrough(*T, Bmp, O, DarkBevelOffsets, MixColors(TextColor, clBlack, 70));
    PaintThrough(*T, Bmp, O, LightBevelOffsets, MixColors(TextColor, clWhite, 70));
  }
  if (HasPattern && (Border || Txt3D))
    FillPatternMask24(*T, WholeRect(*T), Bmp, O.X, O.Y, WholeRect(Bmp), Pattern, 100);
  else if (HasPattern)
    TileBitmap24(Pattern, Bmp, 0, 0, WholeRect(Bmp));
  else
    PaintThrough(*T, Bmp, O, std::array<TPoint, 1>{{{0, 0}}}, TextColor);
  WhitenMaskedPixels(Bmp, Mask);

  Item.Opacity = static_cast<TOpacityRange>(std::clamp(Opacity, 0, 100));
  Item.ShadowInfos.DrawShadow = Shadow;
  if (Shadow) {
    Item.ShadowInfos.Color = ShadowColor;
    Item.ShadowInfos.DX = ShadowDX;
    Item.ShadowInfos.DY = ShadowDY;
    Item.ShadowInfos.Opacity = ShadowOpacity;
    Item.ShadowInfos.Blur = static_cast<uint32_t>(std::max(ShadowBlur, 0));
    Item.ShadowInfos.Style = ShadowStyle;
  }
}

void TTextData::ScaleTextLayer(TLayerItem& Item, const TRect& R) {
  const TBitmap& Bmp = Item.Bitmap();
  if (Bmp.Empty() || SaveWidth <= 0 || SaveHeight <= 0) return;
  // The raw block is larger than the cropped layer by these ratios.
  const double A = double(SaveWidth) / Bmp.Width();
  const double B = double(SaveHeight) / Bmp.Height();
  const int DX = Round(R.Width() * (A - 1) / 2);
  const int DY = Round(R.Height() * (B - 1) / 2);
  const TRect Target{R.Left - DX, R.Top - DY, R.Right + DX, R.Bottom + DY};
  TBitmap Scratch(1, 1);
  TCanvas& C = Scratch.Canvas();
  SetupFont(C);
  int Size = TextSize, W = 0, H = 0;
  if (!FitFontSizeToRect(Target, C, Lines, TextAngle, SpacingX, SpacingY, TextMargin(C, TextAngle != 0), Size, W, H))
    return;
  TextSize = static_cast<uint16_t>(Size);
  RenderTextLayer(Item);
}

void TTextData::RotateTextLayer(TLayerItem& Item, double Angle) {
  TextAngle = static_cast<int16_t>(TextAngle + Round(Angle));
  RenderTextLayer(Item);
}
