#include "files/PatternFile.h"

#include "files/BmpOE2.h"
#include "platform/Bitmap.h"
#include "raster/Transparency.h"

bool LoadPatternFile(const QString& FileName, TBitmap& Bmp, TBitmap& Mask, const QString& PatternDir) {
  QString Name = FileName;
  TBitmap Temp;
  if (!LoadBitmapFromFile(Name, Temp, PatternDir)) return false;
  Bmp.ReleaseImage();
  Mask.ReleaseImage();
  ExtractTransparencyMask(Temp, Bmp, Mask);
  return true;
}
