#include "files/Picture.h"

#include "files/BmpFile.h"
#include "files/IconStream.h"
#include "files/Metafile.h"
#include "files/ReadLimits.h"

#include <QFile>
#include <QFileInfo>

namespace {

uint8_t Blend(int Src, int Dst, int Alpha) {
  return static_cast<uint8_t>((Src * Alpha + Dst * (255 - Alpha) + 127) / 255);
}

} // namespace

void TBitmapGraphic::Draw(TBitmap& Target, int X, int Y) const { Target.Canvas().Draw(X, Y, Bitmap); }

void TIconGraphic::Draw(TBitmap& Target, int X, int Y) const {
  if (Icon.Empty()) return;
  const TIconFormat Format = IconFormatOf(Icon);
  const TBitmap& Colors = Icon.Color();
  const int Left = std::max(0, -X), Top = std::max(0, -Y);
  const int Right = std::min(Colors.Width(), Target.Width() - X);
  const int Bottom = std::min(Colors.Height(), Target.Height() - Y);
  const TPixelFormat TF = Target.PixelFormat();
  for (int SY = Top; SY < Bottom; ++SY) {
    const uint8_t* Src = Colors.ScanLine(SY);
    const uint8_t* Mask = Icon.Mask().ScanLine(SY);
    uint8_t* Dst = Target.ScanLine(Y + SY);
    for (int SX = Left; SX < Right; ++SX) {
      const uint8_t* S = Src + 4 * SX;
      const int Alpha = Format == ifTrueColorsAlpha ? S[3] : PixelIndex(Mask, SX, pf1bit) ? 0 : 255;
      if (Alpha == 0) continue;
      if (TF == pf24bit || TF == pf32bit) {
        uint8_t* D = Dst + (TF == pf24bit ? 3 : 4) * (X + SX);
        for (int C = 0; C < 3; ++C) D[C] = Blend(S[C], D[C], Alpha);
      } else {
        const TColor Under = Target.PixelColor(X + SX, Y + SY);
        Target.Canvas().SetPixels(X + SX, Y + SY,
                                  RGB(Blend(S[2], GetRValue(Under), Alpha), Blend(S[1], GetGValue(Under), Alpha),
                                      Blend(S[0], GetBValue(Under), Alpha)));
      }
    }
  }
  Target.Changed();
}

void TPicture::LoadFromFile(const QString& FileName) {
  FGraphic.reset();
  const QString Ext = QFileInfo(FileName).suffix().toLower();
  if (Ext == QLatin1String("bmp")) {
    auto Graphic = std::make_unique<TBitmapGraphic>();
    LoadBitmapFromBmpFile(FileName, Graphic->Bitmap);
    FGraphic = std::move(Graphic);
  } else if (Ext == QLatin1String("ico")) {
    QFile File(FileName);
    if (!File.open(QIODevice::ReadOnly)) InvalidGraphic(FileName, "cannot open the file");
    auto Graphic = std::make_unique<TIconGraphic>();
    ReadIcon(File, Graphic->Icon, FileName);
    FGraphic = std::move(Graphic);
  } else if (Ext == QLatin1String("wmf") || Ext == QLatin1String("emf")) {
    auto Graphic = std::make_unique<TMetafile>();
    Graphic->LoadFromFile(FileName);
    FGraphic = std::move(Graphic);
  } else {
    InvalidGraphic(FileName, "unknown picture file extension");
  }
}

const TBitmap* TPicture::Bitmap() const {
  const auto* B = dynamic_cast<const TBitmapGraphic*>(FGraphic.get());
  return B ? &B->Bitmap : nullptr;
}

const TIcon* TPicture::Icon() const {
  const auto* I = dynamic_cast<const TIconGraphic*>(FGraphic.get());
  return I ? &I->Icon : nullptr;
}

const TMetafile* TPicture::Metafile() const { return dynamic_cast<const TMetafile*>(FGraphic.get()); }
