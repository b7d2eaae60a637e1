#include "extensions/LayerExchangeFile.h"

#include "files/MyPngImage.h"
#include "raster/Bitmap24.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

namespace {

// Empty while the default is current.
QString CurrentPath;

} // namespace

QString DefaultLayerExchangeFileName() { return QDir::tempPath() + QStringLiteral("/Lumaretique_Layer.png"); }

QString LayerExchangeFileName() { return CurrentPath.isEmpty() ? DefaultLayerExchangeFileName() : CurrentPath; }

bool SaveLayerExchangeFile(const TPngImage& Png, const QString& Path) {
  CurrentPath = Path;
  const QString Name = LayerExchangeFileName();
  Png.SaveToFile(Name);
  return QFileInfo(Name).isFile();
}

bool LoadLayerExchangeFile(TBitmap& Bitmap, const QString& Path) {
  const QString Name = Path.isEmpty() ? DefaultLayerExchangeFileName() : Path;
  if (!QFileInfo(Name).isFile()) return false;
  Bitmap.ReleaseImage();
  LoadPngToBitmap(Name, Bitmap);
  return !Bitmap.Empty();
}

void DeleteLayerExchangeFile() {
  const QString Name = LayerExchangeFileName();
  if (QFileInfo::exists(Name)) QFile::remove(Name);
}

void PasteResultBitmap(const TBitmap& Result, TBitmap& Layer, TBitmap* Mask, const TRect& Rect) {
  if (Result.Empty() || Layer.Empty()) return;
  if (Result.PixelFormat() != pf32bit) {
    TBitmap Copy;
    const TBitmap* Src = &Result;
    if (Result.PixelFormat() != pf24bit) {
      Copy.Assign(Result);
      Copy.SetPixelFormat(pf24bit);
      Src = &Copy;
    }
    CopyBitmap24(*Src, Layer, Rect.Left, Rect.Top);
    Layer.Changed();
    return;
  }
  // The part of the result that lands inside the layer (and the mask).
  const bool WithMask = Mask && !Mask->Empty();
  TRect Target = IntersectRect(Bounds(Rect.Left, Rect.Top, Result.Width(), Result.Height()),
                               Bounds(0, 0, Layer.Width(), Layer.Height()));
  if (WithMask) Target = IntersectRect(Target, Bounds(0, 0, Mask->Width(), Mask->Height()));
  for (int Y = Target.Top; Y < Target.Bottom; ++Y) {
    const uint8_t* S = Result.ScanLine(Y - Rect.Top) + 4 * size_t(Target.Left - Rect.Left);
    uint8_t* D = Layer.ScanLine(Y) + 3 * size_t(Target.Left);
    uint8_t* M = WithMask ? Mask->ScanLine(Y) + 3 * size_t(Target.Left) : nullptr;
    for (int X = Target.Left; X < Target.Right; ++X, S += 4, D += 3) {
      std::memcpy(D, S, 3);
      if (M) {
        std::memset(M, 255 - S[3], 3);
        M += 3;
      }
    }
  }
  Layer.Changed();
  if (WithMask) Mask->Changed();
}
