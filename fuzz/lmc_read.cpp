// Fuzz target of the tone-curve file reader: the input is a whole .lmc
// file. A file read is walked into its four tables, merged and applied, and
// written back: it must read back the same.
#include "filters/CurveLuts.h"
#include "filters/StreamUtils.h"
#include "filters/ui/CurveFiles.h"
#include "filters/ui/CurveStroke.h"

#include <QBuffer>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  QByteArray Input(reinterpret_cast<const char*>(Data), qsizetype(Size));
  QBuffer Buffer(&Input);
  Buffer.open(QIODevice::ReadOnly);
  TCurveSet Set;
  try {
    Set = ReadCurvesFile(Buffer);
  } catch (const EStreamReadError&) {
    return 0;
  }
  TCurveLUT T[CurveChannelCount];
  for (int C = 0; C < CurveChannelCount; ++C) T[C] = CurveLUT(Set.Channels[size_t(C)].Vertices, Set.BezierMode);
  CombineCurveLUTs(T[ccComposite], T[ccRed], T[ccGreen], T[ccBlue]);
  TBitmap B(8, 8, pf24bit, clWhite);
  ApplyCurveLUTs(B, T[ccRed], T[ccGreen], T[ccBlue], WholeBitmapRect);
  QBuffer Out;
  Out.open(QIODevice::ReadWrite);
  WriteCurvesFile(Out, Set);
  Out.seek(0);
  if (!(ReadCurvesFile(Out) == Set)) std::abort();
  return 0;
}
