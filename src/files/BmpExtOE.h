// The file-type vocabulary of the image-file layer: a file's format from its
// extension, the capability questions a save asks, the filters of the open
// and save dialogs and the mask list of readable files, with or without
// FreeImage. Depends on MyStringUtils, FreeImageProvider and i18n; used by the
// load and save dispatch, the dialogs and the image browser.
//
// Decisions use the lower-cased extension of the name only (from the last '.',
// dot included). A filter has the dialog's form: display names and mask lists
// alternating, separated by '|'; a mask list is masks such as "*.jpg"
// separated by ';'.
#pragma once

#include <QString>

#include <vector>

// The extension from the last '.' of the name (not of a folder), lower case,
// dot included; empty when there is none.
QString LowerFileExt(const QString& FileName);

bool IsJpegFile(const QString& FileName); // a mask of the current JPEG entry
bool IsPngFile(const QString& FileName);
bool IsBmpImageFile(const QString& FileName);
bool IsRleFile(const QString& FileName);
bool IsGifFile(const QString& FileName);
bool IsLmiFile(const QString& FileName);
bool IsLmsFile(const QString& FileName);
bool IsLmvFile(const QString& FileName);
bool IsIcoFile(const QString& FileName);
bool IsMetafileFile(const QString& FileName); // .wmf, .emf
bool IsTiffFile(const QString& FileName);     // .tif, .tiff
bool IsTargaFile(const QString& FileName);    // .tga, .targa
bool IsWebpImageFile(const QString& FileName);
bool IsPlatformPictureFile(const QString& FileName); // .bmp, .wmf, .emf, .ico
bool HasNoExtension(const QString& FileName);

// Capability questions of a save.
bool KeepsLayers(const QString& FileName);
bool KeepsTransparentColor(const QString& FileName);
bool IsFreeImageAlphaFormat(const QString& FileName);
bool SupportsAlphaChannel(const QString& FileName, bool AcceptGif);
bool SupportsIndexedColors(const QString& FileName);
bool IsRleOrTargaFile(const QString& FileName);
// The name has an extension and the file exists; with CheckMask, the
// extension is also one of GetOpenMasks.
bool IsOpenableImageFile(const QString& FileName, bool CheckMask);
bool IsSavableImageFile(const QString& FileName);

// The base entries of the filters. The FreeImage binding replaces the first
// four by the library's own entries once it is loaded.
enum TBaseFilterKind : int { bfkBitmap = 0, bfkJpeg = 1, bfkPng = 2, bfkGif = 3 };
// Replaces entry Kind (0 Bitmap, 1 JPEG, 2 PNG, 3 GIF); other kinds do
// nothing. The cached filters are rebuilt on their next request.
void SetBaseFilterEntry(int Kind, const QString& Text);
const QString& BitmapTypeEntry();
const QString& JpegTypeEntry();
const QString& PngTypeEntry();
const QString& GifTypeEntry();
const QString& MetafileTypeEntry();
// Built from the current translatable names.
QString LmiTypeEntry();
// "RLE|*.rle": the run-length BMP the editor writes and reads.
QString RleTypeEntry();
QString IconTypeEntry();
// TypeName + "|*." + the lower-case Ext; an empty TypeName becomes the
// upper-case Ext.
QString MakeFilterEntry(const QString& TypeName, const QString& Ext);

// The filters and masks, cached until the matching extra string, a base entry
// or the presence of FreeImage changes.
const QString& GetOpenFilter();
const QString& GetSaveFilter();
const QString& GetOpenMasks();
// The entries of the import and export modules, appended at the end; setting
// the text already stored keeps the cache.
void SetExtraOpenFilter(const QString& Text);
void SetExtraSaveFilter(const QString& Text);
void SetExtraOpenMasks(const QString& Text);

// Ext (a leading '*' added when missing) equals one whole field of Masks;
// case-sensitive.
bool MaskListHasExt(const QString& Ext, const QString& Masks);
bool FileMatchesMasks(const QString& FileName, const QString& Masks);
// Against the masks (field 1) of one filter entry "name|masks".
bool FileMatchesFilterEntry(const QString& FileName, const QString& Entry);
// 1-based number of the first entry of Filter whose masks hold the file's
// extension; 0 when none.
int FilterIndexOfFile(const QString& FileName, const QString& Filter);

// One file type of a file dialog.
struct TFileTypeItem {
  QString DisplayName;
  QString FileMask; // "*.jpg;*.jpeg"
  friend bool operator==(const TFileTypeItem&, const TFileTypeItem&) = default;
};
using TFileTypeItems = std::vector<TFileTypeItem>;

// Appends one item per name and mask list of Filter; a final name without
// masks is dropped.
void FilterToFileTypes(TFileTypeItems& Items, const QString& Filter);
// The first mask of item N (1-based) without its '*' (".jpg"); empty when N
// is out of range.
QString FilterEntryDefaultExt(const TFileTypeItems& Items, int N);
// 1-based number of the first item whose masks hold the file's extension; 0
// when the name has no extension or no item matches.
int FileTypeIndexOf(const QString& FileName, const TFileTypeItems& Items);
