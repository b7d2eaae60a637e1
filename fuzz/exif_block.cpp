// Fuzz target of the EXIF walkers: the input is a raw EXIF block as a file
// gives it. It is patched as before a save, once directly and once through a
// metadata list, and its bytes also serve as the data of the tags that the
// resolution, date and pixel-size helpers read and rewrite.
#include "files/FreeMetadata.h"

#include <algorithm>
#include <cstdlib>

namespace {

QDateTime FixedClock() { return QDateTime(QDate(2024, 2, 29), QTime(23, 59, 58)); }

void Check(bool Condition) {
  if (!Condition) std::abort();
}

// A tag whose data is a slice of the input, of a length taken from the input.
void AddSliceTag(TMetadata& List, int Model, uint16_t Id, int Format, const uint8_t* Data, size_t Size,
                 size_t LengthByte) {
  const size_t Length = Size > LengthByte ? std::min<size_t>(Data[LengthByte] % 24, Size) : 0;
  const int I = AddTag(List, Model, Format, "", Id, 0);
  List[I].Data.assign(Data, Data + Length);
  List[I].Count = uint32_t(Length);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  SetExifClock(FixedClock);

  const TFreeTagData Original(Data, Data + Size);
  TFreeTagData Block = Original;
  const bool Patched = PatchRawExif(Block, 70000, 480, 96, 72.5);
  Check(Block.size() == Original.size());
  Check(Patched || Block == Original);

  TMetadata List;
  AddSliceTag(List, fmdExifMain, etResolutionUnit, fdtShort, Data, Size, 0);
  AddSliceTag(List, fmdExifMain, etXResolution, fdtRational, Data, Size, 1);
  AddSliceTag(List, fmdExifMain, etYResolution, fdtRational, Data, Size, 2);
  AddSliceTag(List, fmdExifMain, etDateTime, fdtAscii, Data, Size, 3);
  AddSliceTag(List, fmdExifExif, etPixelXDimension, fdtShort, Data, Size, 4);
  AddSliceTag(List, fmdExifExif, etPixelYDimension, fdtLong, Data, Size, 5);
  const int Raw = AddTag(List, fmdExifRaw, fdtByte, "ExifRaw", 0, 0);
  List[Raw].Data = Original;

  double X = 0, Y = 0;
  GetExifResolution(List, X, Y);
  QStringList Lines;
  for (int Model : {fmdExifMain, fmdExifExif, fmdExifRaw}) {
    MetadataModelToStrings(List, Model, &Lines, true);
    AdjustMetadata(List, Model, 70000, 480, 96, 72.5);
  }
  // The list patches the block exactly as the direct call did.
  Check(List[Raw].Data == Block);
  GetExifResolution(List, X, Y);
  Check(X == 96 && Y == 72.5);
  return 0;
}
