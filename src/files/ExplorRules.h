// The image browser's rules that need no window: the data of one thumbnail,
// its caption, sort key and tip, the properties text, the browser's section
// of the main settings file, the data folders it knows, and which uses of a
// file it offers. Depends on QtCore, the ini files of platform and the
// translatable strings; used by the browser window (files/ui/Explor.h) and
// by tests.
#pragma once

#include <QDateTime>
#include <QPoint>
#include <QString>

class TIniFile;

// What a thumbnail knows of its file.
struct TImageData {
  QString FullName;
  int Width = 0; // as the reader reported it
  int Height = 0;
  QDateTime FileDate;
  bool HasMetadata = false;
  // FileDate in the translatable file-date format.
  QString GetFileDate() const;
};

// The name without folder; longer than 11 characters, without its
// extension; still longer, its first 9 characters and "...".
QString ExplorShortCaption(const QString& FileName);
// The name without folder and extension, a run of up to 5 digits at its end
// written with 5 digits (img9 -> img00009), in lower case: compared as
// strings, keys give the browser's order.
QString ExplorSortKey(const QString& FileName);
// The file name, "W x H pixels" and the date, on lines of their own (CR).
QString ExplorInfoTip(const TImageData& Data);
// The text the properties dialog shows for a thumbnail (CR-separated lines
// and a final CR); Count is the number of thumbnails.
QString ExplorPropertiesText(const TImageData& Data, qint64 FileSize, int Count);

// The section "Explorer" of the main settings file.
struct TExplorSettings {
  QString Dir; // with a trailing '/', empty when none
  bool SubDirs = false;
  bool Sort = true;
  bool Multiline = false;
};
// Over the values given: "Dir" only when the folder exists, "SubDirs" ticks
// for "1" only, "Sort" is on unless "0", "Multiline" on for "1" only.
void ReadExplorSettings(const TIniFile& Ini, TExplorSettings& Settings);
void WriteExplorSettings(TIniFile& Ini, const TExplorSettings& Settings);

// The data folders the browser's buttons and uses know, each with a
// trailing '/'. A data folder equal to ProgramDir is not available.
struct TExplorFolders {
  QString ProgramDir, OuvrirDir, EnregistrerDir, SelDir, MasqueDir, MotifDir, TextureDir;
};
enum TExplorDirFlag : int {
  edOuvrir = 1,
  edSauve = 2,
  edSel = 4,
  edMasque = 8,
  edMotif = 16,
  edTexture = 32,
};
// 1 and 2 always; the data folders' flags when they are available.
int ExplorDirFlags(const TExplorFolders& Folders);
// Dir lies in Folder, whose Flag is set in DirFlags (case ignored).
bool InExplorFolder(const QString& Dir, const QString& Folder, int Flag, int DirFlags);

// The uses the Action submenu shows for the selected file.
struct TExplorUses {
  bool Sel = false;
  bool Masque = false;
  bool Motif = false;
  bool Texture = false;
  bool Calque = false;
  // The separator stands when one of the four data uses does.
  bool Separator() const { return Sel || Masque || Motif || Texture; }
};
// Image: an image is open; ImageUse: it has more than 256 colours and no
// transparent background colour. The In... flags: the shown folder lies in
// that data folder.
TExplorUses ExplorUses(bool Image, bool ImageUse, bool InSel, bool InMasque, bool InMotif, bool InTexture);

enum class TExplorUse { None, Sel, Masque, Texture, Motif, Calque, NewImage };
// A double click or Enter: the first of selection, mask, texture, pattern
// shown, else a new image.
TExplorUse ExplorDefaultUse(const TExplorUses& Uses);
// A drop on the active image window (Target 2): the same order, then layer,
// then a new image; elsewhere over the main window (1) a new image; outside
// (0) nothing.
TExplorUse ExplorDropUse(const TExplorUses& Uses, int Target);
// A drag starts once the mouse is more than 3 pixels away in X or in Y.
bool ExplorDragStarts(const QPoint& Origin, const QPoint& P);

// The custom filter box: its default is the current mask when shorter than
// 32 characters, else empty; a non-empty answer is the new mask, an empty
// one gives back AllMasks.
QString ExplorFilterDefault(const QString& Mask);
QString ExplorFilterAnswer(const QString& Answer, const QString& AllMasks);
