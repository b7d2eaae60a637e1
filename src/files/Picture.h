// TPicture: the platform's picture, which loads a file into the graphic its
// extension names (.bmp a bitmap, .ico an icon, .wmf and .emf a metafile),
// and TGraphic, what such a graphic offers the program. Depends on platform
// (TBitmap, TIcon), the BMP reader, the icon stream code and the metafile;
// used by the load dispatch's picture reader and by DrawGraphicToBitmap.
//
// Usage by a reader:
//   TPicture Picture;
//   Picture.LoadFromFile(FileName);               // throws EInvalidGraphic
//   if (const TBitmap* B = Picture.Bitmap()) Bitmap.Assign(*B);
//   else DrawGraphicToBitmap(*Picture.Graphic(), Bitmap);
//
// How to add a kind of graphic: derive from TGraphic, load it in
// TPicture::LoadFromFile for its extensions, and give DrawGraphicToBitmap a
// case when drawing does not say enough.
#pragma once

#include "platform/Bitmap.h"
#include "platform/Icon.h"

#include <QString>

#include <memory>

class TMetafile;

class TGraphic {
public:
  virtual ~TGraphic() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  bool Empty() const { return Width() <= 0 || Height() <= 0; }
  // Whether drawing leaves parts of the target as they were.
  virtual bool Transparent() const = 0;
  // Draws the graphic 1:1 with its top-left corner at (X, Y) onto a 24-bit
  // target, its transparent parts leaving the target alone.
  virtual void Draw(TBitmap& Target, int X, int Y) const = 0;
};

class TBitmapGraphic : public TGraphic {
public:
  TBitmap Bitmap;
  int Width() const override { return Bitmap.Width(); }
  int Height() const override { return Bitmap.Height(); }
  bool Transparent() const override { return Bitmap.Transparent; }
  void Draw(TBitmap& Target, int X, int Y) const override;
};

// An icon is always drawn through its mask (or its alpha).
class TIconGraphic : public TGraphic {
public:
  TIcon Icon;
  int Width() const override { return Icon.Width(); }
  int Height() const override { return Icon.Height(); }
  bool Transparent() const override { return true; }
  void Draw(TBitmap& Target, int X, int Y) const override;
};

class TPicture {
public:
  // Loads the file into a new graphic chosen by the lower-cased extension;
  // throws EInvalidGraphic naming the file for another extension or a file
  // its reader refuses (the picture then holds no graphic).
  void LoadFromFile(const QString& FileName);
  // The graphic; null until a file was loaded.
  const TGraphic* Graphic() const { return FGraphic.get(); }
  // The graphic when it is a bitmap (an icon, a metafile when it is one),
  // else null.
  const TBitmap* Bitmap() const;
  const TIcon* Icon() const;
  const TMetafile* Metafile() const;
  void Clear() { FGraphic.reset(); }

private:
  std::unique_ptr<TGraphic> FGraphic;
};
