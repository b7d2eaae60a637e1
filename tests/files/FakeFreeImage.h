// A stand-in for the FreeImage library in tests: formats described as
// "Format N" with extension lists of its own, tag text as "text:<key>", and a
// count of the description requests (to see when filters are rebuilt).
#pragma once

#include "files/BmpExtOE.h"
#include "files/FreeImageProvider.h"
#include "files/FreeMetadata.h"

#include <QSet>

class TFakeFreeImage : public TFreeImageProvider {
public:
  QString FormatDescription(int Fif) const override {
    ++DescriptionCalls;
    return QStringLiteral("Format %1").arg(Fif);
  }
  bool SupportsWriting(int Fif) const override { return !Unwritable.contains(Fif); }
  QString FormatExtensionList(int Fif) const override {
    switch (Fif) {
    case fifBmp:
      return "bmp";
    case fifJpeg:
      return "jpg,jpeg,jpe";
    case fifPng:
      return "png";
    case fifTarga:
      return "tga,targa";
    case fifTiff:
      return "tif,tiff";
    case fifXpm:
      return "xpm";
    case fifGif:
      return "gif";
    case fifJp2:
      return "jp2";
    case fifWebp:
      return "webp";
    case fifJxr:
      return "jxr,wdp";
    default:
      return QStringLiteral("f%1").arg(Fif);
    }
  }
  QString TagToString(int, const TFreeTag& Tag) const override {
    return Tag.Key == "Blank" ? QStringLiteral("   ")
                              : QStringLiteral(" text:%1 ").arg(QString::fromStdString(Tag.Key));
  }
  mutable int DescriptionCalls = 0;
  // Formats whose writer the fake library lacks.
  QSet<int> Unwritable;
};

// Installs the fake as the loaded library, with its base filter entries as
// the binding sets them, and puts the no-library state back afterwards.
class TScopedFakeFreeImage {
public:
  TScopedFakeFreeImage() {
    SetFreeImageProvider(&Fake);
    SetBaseFilterEntry(bfkBitmap, FifFilterEntry(fifBmp));
    SetBaseFilterEntry(bfkJpeg, FifFilterEntry(fifJpeg));
    SetBaseFilterEntry(bfkPng, FifFilterEntry(fifPng));
    SetBaseFilterEntry(bfkGif, FifFilterEntry(fifGif));
  }
  ~TScopedFakeFreeImage() {
    SetFreeImageProvider(nullptr);
    SetBaseFilterEntry(bfkBitmap, "Bitmap|*.bmp");
    SetBaseFilterEntry(bfkJpeg, "JPEG|*.jpg;*.jpeg;*.jpe");
    SetBaseFilterEntry(bfkPng, "PNG|*.png");
    SetBaseFilterEntry(bfkGif, "GIF|*.gif");
  }
  TScopedFakeFreeImage(const TScopedFakeFreeImage&) = delete;
  TScopedFakeFreeImage& operator=(const TScopedFakeFreeImage&) = delete;
  TFakeFreeImage Fake;
};
