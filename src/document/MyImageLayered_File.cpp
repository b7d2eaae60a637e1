// The layered image as a whole file: header, thumbnail, preview and layers,
// and the file operations around them.
#include "document/LayerStream.h"
#include "document/MyImageLayered.h"
#include "document/MyImageLayeredReg.h"
#include "platform/SafeFile.h"
#include "raster/DataFileError.h"

#include <cmath>
#include <limits>

namespace {

// Trunc(dpi x 1000), held in the int32 range.
int32_t StoredResolution(double Dpi) {
  const double V = std::trunc(Dpi * 1000.0);
  if (std::isnan(V)) return 0;
  constexpr double Lo = std::numeric_limits<int32_t>::min(), Hi = std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(V < Lo ? Lo : (V > Hi ? Hi : V));
}

} // namespace

void TMyImageLayered::SaveToStream(TStream& Stream) {
  const TBlockBufferScope SharedBuffers;
  Stream.Write(LayeredFileMagic, sizeof LayeredFileMagic);
  Stream.WriteByte(LayeredFileVersion);
  Stream.WriteInt32(FBitmap.Width());
  Stream.WriteInt32(FBitmap.Height());
  Stream.WriteInt32(StoredResolution(ResolutionX));
  Stream.WriteInt32(StoredResolution(ResolutionY));
  WriteAnsi256(Stream, Comment);
  const bool BkgMask = FLayerList->Count() > 0 && !(*FLayerList)[0].Mask().Empty();
  Stream.WriteInt32(BkgMask ? -1 : ColorCount);
  MergeLayersForPreview(false);
  {
    const std::unique_ptr<TBitmap> Thumb = MakeThumbnail(FBitmap, ThumbnailSize);
    WriteThumbnailBlock(*Thumb, Stream);
  }
  FLayerList->SaveToStream(Stream, FLayerList->Count() >= 2 ? &FBitmap : nullptr);
}

void TMyImageLayered::LoadFromStream(TStream& Stream) {
  const TBlockBufferScope SharedBuffers;
  const uint8_t Version = ReadLayeredFileStart(Stream);
  Stream.ReadInt32(); // the size comes from the background
  Stream.ReadInt32();
  ResolutionX = Stream.ReadInt32() / 1000.0;
  ResolutionY = Stream.ReadInt32() / 1000.0;
  Comment = ReadAnsi256(Stream);
  ColorCount = Stream.ReadInt32();
  SkipThumbnailBlock(Stream);
  FBitmap.ReleaseImage();
  const bool Complete = FLayerList->LoadFromStream(Stream, Version > 1);
  Modified = !Complete;
  if (FLayerList->Count() > 0) HookBackgroundChange();
  Invalidate();
}

void TMyImageLayered::SaveToFile(const QString& FileName) {
  TSafeFile File(FileName);
  TSafeFileStream Stream(File);
  SaveToStream(Stream);
  File.Commit();
}

bool TMyImageLayered::LoadFromFile(const QString& FileName) {
  try {
    TFileReadStream Stream(FileName);
    LoadFromStream(Stream);
    return true;
  } catch (const EStreamError& E) {
    FLayerList->Clear();
    ReportFileError(E.Text().isEmpty() ? FileName : E.Text() + QLatin1Char('\n') + FileName);
  } catch (const std::bad_alloc&) {
    // Not a fault of the file: the open command reports the memory it lacked.
    FLayerList->Clear();
    throw;
  }
  return false;
}

void TMyImageLayered::SaveToFile_tmp(const QString& FileName) {
  SaveLayeredFileSafely(FileName, [this](TStream& Stream) { SaveToStream(Stream); });
}
