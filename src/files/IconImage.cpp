#include "files/IconImage.h"

#include "files/ReadLimits.h"
#include "platform/SafeFile.h"

#include <QBuffer>
#include <QFile>

void TIconImage::LoadFromStream(QIODevice& Stream, const QString& Name) {
  TIcon Icon;
  ReadIcon(Stream, Icon, Name);
  IconFormat = IconToBitmap(Icon, *this);
}

void TIconImage::SaveToStream(QIODevice& Stream) const {
  const int Size = std::max(Width(), Height());
  TIcon Icon;
  const bool Made =
      PixelFormat() == pf32bit ? Bitmap32ToIcon(*this, Size, Icon) : BitmapToIconCentered(*this, Size, Icon);
  if (!Made) InvalidGraphic(QString(), "Données invalides !");
  WriteIcon(Stream, Icon, IconFormat);
}

void TIconImage::LoadFromFile(const QString& FileName) {
  QFile File(FileName);
  if (!File.open(QIODevice::ReadOnly)) InvalidGraphic(FileName, "cannot open the file");
  LoadFromStream(File, FileName);
}

void TIconImage::SaveToFile(const QString& FileName) const {
  QBuffer Buffer;
  Buffer.open(QIODevice::WriteOnly);
  try {
    SaveToStream(Buffer);
  } catch (const EInvalidGraphic&) {
    InvalidGraphic(FileName, "Données invalides !");
  }
  TSafeFile File(FileName);
  File.Write(Buffer.data().constData(), static_cast<size_t>(Buffer.data().size()));
  File.Commit();
}
