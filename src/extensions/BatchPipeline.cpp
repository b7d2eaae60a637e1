#include "extensions/BatchPipeline.h"

#include "document/Pattern.h"
#include "filters/Filtres24.h"
#include "platform/Bitmap.h"
#include "platform/Rounding.h"
#include "raster/Bitmap24.h"
#include "raster/FoncUtils.h"
#include "raster/RectUtils.h"
#include "raster/Shadow.h"

#include <cmath>

namespace {

// Which of red, green and blue each channel set holds.
constexpr bool ChannelSets[7][3] = {{true, true, true},  {true, false, false}, {false, true, false}, {false, false, true},
                                    {false, true, true}, {true, false, true},  {true, true, false}};

template <class T> void SpreadOverChannels(T& R, T& G, T& B, T Value, T Neutral, int Channel) {
  R = G = B = Neutral;
  if (Channel < 0 || Channel > 6) return;
  if (ChannelSets[Channel][0]) R = Value;
  if (ChannelSets[Channel][1]) G = Value;
  if (ChannelSets[Channel][2]) B = Value;
}

} // namespace

QString ExportExtension(int Format) {
  static const char* const Extensions[] = {".jpg", ".png", ".bmp", ".gif", ".tif"};
  return QString::fromLatin1(Format >= bfJpeg && Format <= bfTiff ? Extensions[Format] : Extensions[0]);
}

QString SequenceFileName(const QString& Prefix, int Number, int Format) {
  return Prefix + QStringLiteral("%1").arg(Number, 4, 10, QLatin1Char('0')) + ExportExtension(Format);
}

QString BatchOutputName(const TBatchSettings& S, const QString& Source, int Number) {
  if (S.Sequence) return SequenceFileName(S.SequencePrefix, Number, S.ExportFormat);
  // Only the name's own extension goes: a dot in a folder name stays.
  const int Slash = Source.lastIndexOf(u'/');
  const int Dot = Source.lastIndexOf(u'.');
  const QString Stem = Dot > Slash ? Source.left(Dot) : Source;
  return Stem + ExportExtension(S.ExportFormat);
}

int BatchColorCount(const TBatchSettings& S) {
  if (S.ExportFormat == bfJpeg) return 0;
  static constexpr int Counts[] = {0, 256, 16, 2, 2};
  return S.ColorCountIndex >= 0 && S.ColorCountIndex <= 4 ? Counts[S.ColorCountIndex] : 0;
}

void SetChannelOffsets(int& R, int& G, int& B, int Value, int Channel) {
  SpreadOverChannels(R, G, B, Value, 0, Channel);
}

void SetChannelFactors(double& R, double& G, double& B, double Value, int Channel) {
  SpreadOverChannels(R, G, B, Value, 1.0, Channel);
}

TBatchSize BatchResizeTarget(const TBatchSettings& S, int W, int H) {
  if (S.ResizePercent) return {Round(W * S.ResizeWidth / 100), Round(H * S.ResizeHeight / 100)};
  const int MaxW = Trunc(S.ResizeWidth), MaxH = Trunc(S.ResizeHeight);
  if (!S.KeepRatio) return {MaxW, MaxH};
  FitSize(W, H, MaxW, MaxH);
  return {W, H};
}

bool ApplyBatchCanvas(TBitmap& Bitmap, const TBatchSettings& S, const TPattern32* Pattern) {
  const int Extra = S.Shadow ? S.ShadowSize : 0;
  const int W = S.CanvasWidth < 10 ? Bitmap.Width() + Extra : S.CanvasWidth;
  const int H = S.CanvasHeight < 10 ? Bitmap.Height() + Extra : S.CanvasHeight;
  if (W == Bitmap.Width() && H == Bitmap.Height()) return false;
  TBitmap Canvas(W, H, pf24bit, S.CanvasColor);
  TRect R{0, 0, Bitmap.Width() + Extra, Bitmap.Height() + Extra};
  PositionRect(R, {0, 0, W, H}, S.Anchor);
  if (Pattern && !Pattern->BmpEmpty()) Pattern->FillBmp(Canvas, {0, 0, W, H});
  CopyBitmap24(Bitmap, Canvas, R.Left, R.Top);
  if (S.Shadow) {
    R.Right -= Extra;
    R.Bottom -= Extra;
    DrawBitmapShadow(Canvas, R, Extra, 70, true);
  }
  Bitmap.Swap(Canvas);
  return true;
}
