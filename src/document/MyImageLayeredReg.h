// The light reader of layered files: the header, the stored thumbnail or the
// first layer record (the merged preview of a multi-layer file) without
// loading the image, for the load dispatch and the image browser; the check
// of a written file and the safe save behind TMyImageLayered::SaveToFile_tmp.
// Depends on LayerStream and the layer records (MyGraphic).
#pragma once

#include "document/LayerStream.h"
#include "platform/Bitmap.h"

#include <QString>

#include <cstdint>
#include <functional>

// The header of a layered file as the light reader found it.
struct TLMProperties {
  int32_t Version = 0;
  int32_t Width = 0;
  int32_t Height = 0;
  double DPI = 0; // horizontal resolution
  QString Comment;
  int32_t ColorCount = 0; // -1 for an image with transparency
};

// The header of a layered file; "Lumaretique Image" and the version byte.
inline constexpr char LayeredFileMagic[17] = {'L', 'u', 'm', 'a', 'r', 'e', 't', 'i', 'q',
                                              'u', 'e', ' ', 'I', 'm', 'a', 'g', 'e'};
inline constexpr uint8_t LayeredFileVersion = 3;

// Reads the magic and the version byte (1..3, else EStreamError with the
// shared message) and answers the version.
uint8_t ReadLayeredFileStart(TStream& Stream);

// A bitmap that loads itself from a layered file. Its loads throw
// EStreamError whose text names the file; the caller decides whether to
// report it (thumbnails are read silently).
class TMyImageLayeredReg : public TBitmap {
public:
  bool ThumbMode() const { return FThumbMode; }
  void SetThumbMode(bool Value) { FThumbMode = Value; }
  bool LoadLayer() const { return FLoadLayer; }
  void SetLoadLayer(bool Value) { FLoadLayer = Value; }
  const TLMProperties& Properties() const { return FProperties; }

  // Properties cleared, then filled from the header.
  void ReadHeader(TStream& Stream);
  // The header, then the stored thumbnail into this bitmap.
  void LoadThumbnail(const QString& FileName);
  // With ThumbMode the thumbnail; otherwise the header and, with LoadLayer,
  // the first layer record's bitmap.
  void LoadFromFile(const QString& FileName);
  // LoadFromFile's work on any stream (ThumbMode included).
  void LoadFromStream(TStream& Stream);

private:
  bool FThumbMode = false;
  bool FLoadLayer = false;
  TLMProperties FProperties;
};

// The header reads and gives a width and a height above 0.
bool CheckLayeredFile(const QString& FileName);

// The safe save of a layered file: WriteFile writes the whole file into a
// temporary file, which is checked with CheckLayeredFile, synced, named as the
// ".lmtmp" sibling of FileName (its extension replaced; an existing file of
// that name makes the save fail) and at once renamed over FileName (the end
// of a chain of links). The original is never deleted first: on any failure
// it stays whole, the temporary file is removed and the error propagates
// (EStreamError when the check fails).
void SaveLayeredFileSafely(const QString& FileName, const std::function<void(TStream& Stream)>& WriteFile);
// The temporary name used for FileName.
QString LayeredTempFileName(const QString& FileName);
