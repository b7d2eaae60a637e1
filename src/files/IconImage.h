// TIconImage: a bitmap that reads and writes .ico streams through the icon
// stream code, the picture class the icon export saves through. Depends on
// IconStream; used by the icon export dialog and the load dispatch.
#pragma once

#include "files/IconStream.h"

class TIconImage : public TBitmap {
public:
  // The depth the icon is written at; after loading, the icon's own.
  TIconFormat IconFormat = if256Colors;

  // Reads the first image of the stream: afterwards the bitmap is 32-bit
  // with alpha for an alpha icon, else 24-bit with TransparentKeyColor as
  // its transparent colour. Throws EInvalidGraphic naming Name.
  void LoadFromStream(QIODevice& Stream, const QString& Name = QString());
  // Writes a one-image icon of Size = the larger side at IconFormat: a
  // 32-bit bitmap as it is (it must be square), any other centred on a
  // transparent square. Throws EInvalidGraphic "Données invalides !" when no
  // icon can be made.
  void SaveToStream(QIODevice& Stream) const;

  void LoadFromFile(const QString& FileName);
  // Writes through a safe file; throws EInvalidGraphic or ESafeFileError.
  void SaveToFile(const QString& FileName) const;
};
