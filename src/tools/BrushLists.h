// The image brushes and nozzles (image tubes) the tool palette offers: the
// entries of the two lists, the files they are read from with their
// acceptance rules and caps, mirroring, the stamp a brush gives, and the
// built-in brush pictures used when no brush file yields a brush. Depends on
// the raster core, the PNG reader of files/ and the nozzle painter of tools/;
// used by the tool palette and the stroke engine.
//
// Files: a brush file is a PNG in the brushes folder holding one brush or a
// horizontal strip of square brushes (white is background, black paints); a
// nozzle file is a 32-bit PNG strip of square frames in the nozzles folder.
// A file that cannot be read, or whose size or depth is refused, is skipped
// and named in SkippedFiles so that the palette can tell the user; the rest
// of the list loads.
#pragma once

#include "platform/Bitmap.h"
#include "raster/BmpMem8.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

inline constexpr int MaxBrushes = 40;
inline constexpr int MaxNozzles = 200;
// The owner-drawn rows of both lists are this high; previews fit in 4 less.
inline constexpr int BrushListRowHeight = 33;

// One brush: Mask at full size after cropping (0 paints fully, 255 not at
// all), Preview reduced to fit a list row.
struct TBmpListItem {
  TBmp8 Preview;
  TBmp8 Mask;
};

// One nozzle: frame 0 painted on white and reduced to fit a row; the strip
// itself is read again from FileName for each stroke.
struct TNozzleListItem {
  TBitmap Preview;
  QString FileName;
  int ImageHeight = 0; // the side of each square frame
};

// A list of entries, each a text (a size in pixels) and the item it owns.
template <class TItem>
class TOwnedList {
public:
  int Count() const { return int(FTexts.size()); }
  const QString& Text(int Index) const { return FTexts[size_t(Index)]; }
  TItem& Item(int Index) const { return *FItems[size_t(Index)]; }
  // The selected entry, -1 for none.
  int ItemIndex = -1;
  // Files skipped since the last ClearSkipped, full names.
  QStringList SkippedFiles;

  void Clear() {
    FTexts.clear();
    FItems.clear();
    ItemIndex = -1;
  }
  void Add(const QString& Text, std::unique_ptr<TItem> Item) {
    FTexts.push_back(Text);
    FItems.push_back(std::move(Item));
  }

private:
  std::vector<QString> FTexts;
  std::vector<std::unique_ptr<TItem>> FItems;
};

class TBrushList : public TOwnedList<TBmpListItem> {
public:
  bool Full() const { return Count() >= MaxBrushes; }
  // One brush from a 24-bit bitmap of sides 3..400 (changed: near-white
  // made white, cropped to its content). False when refused: list full,
  // size out of range, or nothing but white.
  bool AddBitmap(TBitmap& Bitmap);
  // A strip of square brushes, or one brush when W < 2 H. False when the
  // strip's shape is refused (H 3..400, W <= 2400, W a multiple of H).
  bool AddStrip(const TBitmap& Bitmap);
  // A PNG brush file, unless the list is full; an unreadable or refused
  // file is named in SkippedFiles. True when the file was accepted.
  bool LoadFile(const QString& FileName);
  // Folder/Name.png: nothing when it does not exist (false). Otherwise the
  // list is cleared first with Clear, the file loaded, entry 0 selected when
  // there is one, and CurrentFile := Name.
  bool LoadBrushes(const QString& Folder, const QString& Name, bool ClearFirst);
  // The set Name (none when empty), else "Default", else the built-in
  // brushes.
  void LoadBrushSet(const QString& Folder, const QString& Name);
  // The built-in brushes in their order; entry 0 selected.
  void AddDefaultBrushes();
  // Mirrors the selected brush's mask and preview in place.
  void MirrorSelected(bool Horizontal);
  // The stamp of the selected brush as a 24-bit grey bitmap, resized to
  // Round(W * Scale / 100) x Round(H * Scale / 100) (each at least 1,
  // bicubic) when Scale is not 100. False without a selected brush.
  bool BrushStamp(int Scale, TBitmap& Stamp) const;
  // The name of the loaded brush file, without folder and extension.
  QString CurrentFile;
};

class TNozzleList : public TOwnedList<TNozzleListItem> {
public:
  bool Full() const { return Count() >= MaxNozzles; }
  // A 32-bit strip of square frames (H 3..400, W <= 2400, W a multiple of
  // H). False when refused or the list is full.
  bool Add(const TBitmap& Strip, const QString& FileName);
  // A PNG nozzle file, unless the list is full; unreadable or refused files
  // are named in SkippedFiles.
  bool LoadFile(const QString& FileName);
  // Every "*.png" of Folder (not its subfolders), sorted; entry 0 selected
  // when the list has one.
  void LoadFolder(const QString& Folder);
  // The selected nozzle's strip, read again from its file. False without a
  // selected entry or when the file cannot be read.
  bool LoadSelectedStrip(TBitmap& Strip) const;
};

// The brush files of Folder offered in the brush-file menu: every "*.png"
// (sorted, not recursive) by name without extension, "default" (any case)
// left out.
QStringList BrushFileNames(const QString& Folder);

// The number of the built-in brush pictures, and picture Index of them as a
// 21 x 21 24-bit bitmap, black on white (a disc, a soft disc, a square, a
// star, a slanted stroke and a scatter of dots, in the order the default set
// adds them).
inline constexpr int BuiltInBrushCount = 6;
void BuiltInBrushGlyph(int Index, TBitmap& Glyph);
