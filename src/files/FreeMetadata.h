// An image's metadata: one flat list of tags in FreeImage's models (comments,
// EXIF, GPS, IPTC, the raw EXIF block), which formats carry which model, the
// helpers that read and change single tags, the changes made before a save,
// the default EXIF set of a new image and its raw block. Depends on
// FreeImageProvider (tag display text) and the platform's Win1252 codec.
//
// Tag values use the program's byte order (little-endian): SHORT 2 bytes,
// LONG 4, RATIONAL 8 (numerator then denominator, unsigned), ASCII the
// characters and a NUL, UNDEFINED the raw bytes. The raw EXIF block is the
// file's APP1 payload: "Exif", two zero bytes, then a TIFF structure whose
// offsets count from byte 6. Every walk of a block checks each offset and
// count against its length; a block that fails is never written through.
#pragma once

#include "document/Metadata.h"

#include <QDateTime>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// FreeImage's metadata models (FREE_IMAGE_MDMODEL) that the program keeps.
enum TMetadataModel : int {
  fmdComments = 0,
  fmdExifMain = 1,
  fmdExifExif = 2,
  fmdExifGps = 3,
  fmdExifMakerNote = 4,
  fmdExifInterop = 5,
  fmdIptc = 6,
  fmdExifRaw = 11,
};

// FreeImage's tag types (FREE_IMAGE_MDTYPE), the same numbers as TIFF's.
enum TFreeTagType : int {
  fdtByte = 1,
  fdtAscii = 2,
  fdtShort = 3,
  fdtLong = 4,
  fdtRational = 5,
  fdtSByte = 6,
  fdtUndefined = 7,
  fdtSShort = 8,
  fdtSLong = 9,
  fdtSRational = 10,
  fdtFloat = 11,
  fdtDouble = 12,
  fdtIfd = 13,
};

// Tag ids this unit reads or writes.
enum TExifTagId : uint16_t {
  etMake = 271,
  etModel = 272,
  etOrientation = 274,
  etXResolution = 282,
  etYResolution = 283,
  etResolutionUnit = 296,
  etSoftware = 305,
  etDateTime = 306,
  etExifIfdPointer = 34665,
  etExifVersion = 36864,
  etPixelXDimension = 40962,
  etPixelYDimension = 40963,
};

// TFreeTagData, TFreeTag and TMetadata: document/Metadata.h.

// Process-wide strings of the default EXIF set; each tag is added only when
// its string is not empty. The main window sets ExifSoftware at start-up.
inline std::string ExifMake;
inline std::string ExifModel;
inline std::string ExifSoftware;

// Questions.
bool HasMetadata(const TMetadata& List);
bool HasModel(const TMetadata& List, int Model);
bool HasExifMetadata(const TMetadata& List); // models 1 to 5
bool HasIptcMetadata(const TMetadata& List);
int FirstTagOfModel(const TMetadata& List, int Model);
// False when the model is absent; else its first tag and the last of the
// tags of the model that follow it without a gap.
bool ModelRange(const TMetadata& List, int Model, int& First, int& Last);
// The first tag with that Id inside the model's run; -1 when none.
int FindTag(const TMetadata& List, int Model, uint16_t Id);
// 0 neither, 1 read only, 3 read and write, by FreeImage format number.
int MetadataSupport(int Fif, int Model);
bool CanReadModel(int Fif, int Model);
bool CanWriteModel(int Fif, int Model);
// The first byte of tag 296 of model 1; 2 (inches) when absent.
int ExifResolutionUnit(const TMetadata& List);
// Numerator / denominator of tag Id of model 1; 0 when absent, too short or
// of denominator 0.
double ExifRationalValue(const TMetadata& List, uint16_t Id);
// Dots per inch (centimetres converted); 0 where the tags are absent.
void GetExifResolution(const TMetadata& List, double& X, double& Y);

// Text (8-bit, as stored).
std::string TagDataToText(const TFreeTagData& Data);
std::string GetMetadataComment(const TMetadata& List);
void SetMetadataComment(TMetadata& List, std::string_view Text);
// Appends one line Key=text per tag of the model, the text from FreeImage
// when it is loaded, else a plain rendering of the value; blank texts only
// with IncludeEmpty. False when Strings is null or the model is absent.
bool MetadataModelToStrings(const TMetadata& List, int Model, QStringList* Strings, bool IncludeEmpty);
// The display text this program gives a tag when FreeImage is not loaded.
std::string PlainTagText(const TFreeTag& Tag);

// Adding and changing.
// Key empty takes the default key of Id; Count := Size for ASCII and
// UNDEFINED, else 1; Data := Size zero bytes. Answers the new index.
int AddTag(TMetadata& List, int Model, int Format, std::string_view Key, uint16_t Id, int Size);
int AddAsciiTag(TMetadata& List, int Model, std::string_view Key, uint16_t Id, std::string_view Text);
int AddShortTag(TMetadata& List, int Model, std::string_view Key, uint16_t Id, uint16_t Value);
int AddLongTag(TMetadata& List, int Model, std::string_view Key, uint16_t Id, uint32_t Value);
int AddRationalTag(TMetadata& List, int Model, std::string_view Key, uint16_t Id, float Value);
int AddUndefinedTag(TMetadata& List, int Model, std::string_view Key, uint16_t Id, std::string_view Bytes);
// The key a tag added without one gets; empty for ids without a default.
std::string_view DefaultTagKey(uint16_t Id);

// Value in 2 bytes when Data has exactly 2, else in 4 (Data grows to 4 when
// shorter).
void SetIntegerData(TFreeTagData& Data, uint32_t Value);
// FloatToRational(Value) into the first 8 bytes (Data grows to 8 when shorter).
void SetRationalData(TFreeTagData& Data, float Value);

struct TRational {
  uint32_t Numerator = 0;
  uint32_t Denominator = 1;
  friend bool operator==(const TRational&, const TRational&) = default;
};
// x rounded when that is within 1/100 of it (r/1), else x to two decimals
// (n/100); clamped to the unsigned range, NaN giving 0/1.
TRational FloatToRational(float X);
// 0 for a denominator of 0.
double RationalToFloat(TRational R);

// The time the EXIF dates are stamped with; null restores the system's local
// clock (tests install a fixed one).
using TExifClock = QDateTime (*)();
void SetExifClock(TExifClock Clock);
// "yyyy:mm:dd hh:mm:ss" (19 characters) of the current local time.
std::string ExifDateTimeNow();

// Changes made before a save; tags that are absent are not added.
void TouchExifDateTime(TMetadata& List);
void SetExifResolution(TMetadata& List, double X, double Y);
// Widens a SHORT dimension to LONG when the value does not fit in 16 bits.
void SetExifPixelSize(TMetadata& List, int Width, int Height);
// Model 1: date and resolution; model 2: pixel size; model 11: the first raw
// block patched; any other model: nothing.
void AdjustMetadata(TMetadata& List, int Model, int Width, int Height, double ResX, double ResY);
// The default EXIF set of a new image: the main tags, the EXIF tags and the
// raw block, each only when the list has no tag of that model yet.
void AddDefaultExif(TMetadata& List, int Width, int Height, double ResX, double ResY);

// Rewrites orientation (1), resolution unit (inches), resolutions, date and
// pixel size inside a raw EXIF block, in the block's own byte order. False
// and the block untouched when it is not a well-formed block or an offset or
// count reaches past its end; entries of an unexpected type or too short for
// their value are passed over.
bool PatchRawExif(TFreeTagData& Block, int Width, int Height, double ResX, double ResY);
