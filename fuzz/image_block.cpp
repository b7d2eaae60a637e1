// Fuzz target of what companion programs send: the input is a stream of
// channel frames, each of whose data is taken as an image block and decoded
// as the main window would (a new image, a new layer, the work rectangle),
// its extras read to the end.
#include "extensions/CompanionChannel.h"
#include "extensions/XDataImage.h"

#include <cstdlib>

namespace {

void Decode(const uint8_t* Data, int64_t Size) {
  const TXDataImage Block(Data, Size);
  if (Block.ExtraSize() < 0 || Block.ExtraSize() > Size) std::abort();
  TBitmap Bmp, Mask, Bmp32;
  if (Block.AssignTo(Bmp, &Mask) && (Bmp.Width() != Block.Width() || Bmp.Height() != Block.Height())) std::abort();
  Block.AssignTo(Bmp32);
  TBitmap Target(16, 16, pf24bit, clWhite), TargetMask(16, 16, pf24bit, clBlack);
  Block.AssignTo(Target, &TargetMask, Bounds(2, 3, Block.Width(), Block.Height()));
  int64_t Position = 0;
  while (Position < Block.ExtraSize()) {
    const int64_t Before = Position;
    Block.ReadXDataString(Position);
    Block.ReadXDataInt(Position);
    if (Position <= Before) std::abort();
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  Decode(Data, int64_t(Size));
  QByteArray Stream(reinterpret_cast<const char*>(Data), qsizetype(Size));
  bool Malformed = false;
  while (auto Frame = TakeCompanionFrame(Stream, Malformed))
    Decode(reinterpret_cast<const uint8_t*>(Frame->Data.constData()), Frame->Data.size());
  return 0;
}
