#include "files/OwnThumbnails.h"

#include "document/LayerStream.h"
#include "document/ShapeManager.h"
#include "platform/Canvas.h"
#include "platform/FileLimits.h"
#include "raster/FoncUtils.h"
#include "raster/GreyMasks.h"
#include "raster/Pixels.h"
#include "raster/Polygon24.h"
#include "tools/PathControl.h"

#include <QFile>

#include <algorithm>
#include <cmath>

namespace {

// The radius of the smoothing of a full-size selection drawing.
constexpr int OutlineFeatherRadius = 33;

[[noreturn]] void ReadError(const QString& Name) {
  throw EStreamError(QStringLiteral("Stream read error") + (Name.isEmpty() ? QString() : QStringLiteral(": ") + Name));
}

// Drawing becomes a white 24-bit bitmap of R's size, refused beyond the
// pixel limit before anything is allocated.
void StartDrawing(TBitmap& Drawing, const TRect& R, const QString& Name) {
  const int64_t W = RectWidth(R), H = RectHeight(R);
  if (W < 1 || H < 1 || !PixelCountFits(W, H)) ReadError(Name);
  TBitmap White(int(W), int(H), pf24bit, clWhite);
  Drawing.Swap(White);
}

} // namespace

TRect ThumbBounds(const TRect& R) {
  int W = RectWidth(R), H = RectHeight(R);
  FitSize(W, H, OutlineThumbSize, OutlineThumbSize);
  return {0, 0, W, H};
}

// ---- Selection files ---------------------------------------------------------------

void TLmsImage::LoadFromStream(TStream& Stream) {
  TShapeManager Manager;
  TMyShape Shape = ssRect;
  TRect R;
  // The load dispatch reports a failed read itself: the manager stays quiet.
  const bool ShowErrors = ShowLoadErrors;
  ShowLoadErrors = false;
  const bool Read = Manager.LoadFromStream(Stream, Shape, R);
  ShowLoadErrors = ShowErrors;
  if (!Read) ReadError(Stream.Name());
  const int SelW = RectWidth(R), SelH = RectHeight(R);
  if (ThumbMode) R = ThumbBounds(R);
  TBitmap Drawing;
  StartDrawing(Drawing, R, Stream.Name());
  TCanvas& Canvas = Drawing.Canvas();
  Canvas.Brush.Color = clBlack;
  Canvas.Pen.Color = clBlack;
  Manager.Draw(Canvas, R, Shape, stCustom);
  if (!ThumbMode && Shape != ssRect) FeatherMask(Drawing, WholeBitmapRect, OutlineFeatherRadius);
  Swap(Drawing);
  FSelWidth = SelW;
  FSelHeight = SelH;
  Changed();
}

void TLmsImage::LoadFromFile(const QString& FileName) {
  TFileReadStream Stream(FileName);
  LoadFromStream(Stream);
}

// ---- Path files -------------------------------------------------------------------

void TLmvImage::LoadFromStream(QIODevice& Stream) {
  const auto* File = qobject_cast<const QFileDevice*>(&Stream);
  const QString Name = File ? File->fileName() : QString();
  TPathFileData Data;
  try {
    Data = ReadPathFile(Stream);
  } catch (const std::exception&) {
    ReadError(Name);
  }
  if (Data.Vertices.size() < 2) ReadError(Name);
  // The handles are drawn as stored, whatever their flags say: the path
  // model shows a handle as stored once its flag is set.
  for (TPathVertexData& V : Data.Vertices) V.B1Initialized = V.B2Initialized = true;
  TPathControl Path;
  Path.ReplacePath(std::move(Data.Vertices), Data.BezierMode, Data.Closed);
  TRect B = Path.BmpBounds(1);
  const int PathW = RectWidth(B), PathH = RectHeight(B);
  if (ThumbMode) {
    // Scaled from the bounds' corner, so that rounding cannot widen a path
    // that does not start at the origin past the thumbnail.
    Path.Translate(-B.Left, -B.Top);
    // An axis one pixel thick sets no limit (a horizontal or vertical path).
    const auto Ratio = [](int Size) { return Size > 1 ? double(OutlineThumbSize - 1) / (Size - 1) : HUGE_VAL; };
    const double Z = std::min(Ratio(PathW), Ratio(PathH));
    if (Z < 1) {
      Path.Scale(Z, Z);
      B = Path.BmpBounds(1);
    }
  }
  TBitmap Drawing;
  StartDrawing(Drawing, B, Name);
  TPathPointsData Points;
  Path.CreateListOfPoints(Points);
  // Drawn from the bounds' corner, where the path writer puts the origin.
  for (TFloatPoint& P : Points.Points) {
    P.X -= B.Left;
    P.Y -= B.Top;
  }
  if (Points.BezierMode)
    DrawBezierAA24(Drawing, Points.Points, clBlack, 100, WholeBitmapRect);
  else
    DrawPolyline24(Drawing, Points.Points, clBlack, false, true, 100, WholeBitmapRect);
  Swap(Drawing);
  FPathWidth = PathW;
  FPathHeight = PathH;
  Changed();
}

void TLmvImage::LoadFromFile(const QString& FileName) {
  QFile File(FileName);
  if (!File.open(QIODevice::ReadOnly)) ReadError(FileName);
  LoadFromStream(File);
}
