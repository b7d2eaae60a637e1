#include "saver/SaveVersions.h"

#include "document/MyImageLayered.h"
#include "files/BmpOE2.h"
#include "platform/SafeFile.h"
#include "support/ImageCompare.h"

#include <array>
#include <memory>

namespace {

// Noise of 64 colours: every format stores it without loss of colours, the
// GIF writer without a slow colour reduction.
constexpr int PictureWidth = 128, PictureHeight = 96;

} // namespace

const TBitmap& VersionPicture(int Version) {
  static const std::array<std::unique_ptr<TBitmap>, 2> Pictures = [] {
    std::array<std::unique_ptr<TBitmap>, 2> Made;
    for (int V = 0; V < 2; ++V) {
      Made[V] = std::make_unique<TBitmap>();
      Made[V]->SetPixelFormat(pf24bit);
      Made[V]->SetSize(PictureWidth, PictureHeight);
      FillRandom(*Made[V], unsigned(V + 1));
      for (int Y = 0; Y < PictureHeight; ++Y) {
        uint8_t* Row = Made[V]->ScanLine(Y);
        for (int I = 0; I < PictureWidth * 3; ++I) Row[I] = (Row[I] & 0xC0) | 0x20;
      }
    }
    return Made;
  }();
  return *Pictures[Version];
}

const std::string& RawVersion(int Version) {
  static const std::array<std::string, 2> Bytes = {std::string(300000, 'a'), std::string(200000, 'b')};
  return Bytes[Version];
}

bool SaveVersion(const QString& FileName, int Version) {
  if (FileName.endsWith(QLatin1String(".raw"))) {
    try {
      TSafeFile File(FileName);
      File.Write(RawVersion(Version).data(), RawVersion(Version).size());
      File.Commit();
      return true;
    } catch (const ESafeFileError&) {
      return false;
    }
  }
  TBitmap Picture;
  Picture.Assign(VersionPicture(Version));
  TMyImageLayered Image;
  Image.AddBackground(&Picture, nullptr, QStringLiteral("Fond"));
  QString Name = FileName;
  return SaveImageFile(Name, Picture, &Image, QString());
}
