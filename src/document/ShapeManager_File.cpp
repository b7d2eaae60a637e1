// The selection file (.lms) of TShapeManager: a text heading, then a simple
// shape as its code and size, a polygon as text points, or a bitmap shape
// as binary points with their side flags.
//
// "Lumaretique Selection" CR LF
// "Vectorial" CR LF, then: code (-10..-1), width, height, one per line; or a
//   point count N > 0 and N lines "X;Y".
// "Binary" CR LF, then int32 N > 0 and N times int32 X + 33, flags + 77,
//   Y + 77 (little-endian).
// Files without the heading are read as vectorial bodies. Lines end in CR
// LF as written; CR, LF, LF CR and CR CR are accepted.
#include "document/ShapeManager.h"

#include "document/LayerStream.h"
#include "platform/NumberFormat.h"
#include "platform/SafeFile.h"
#include "platform/Win1252.h"
#include "raster/DataFileError.h"
#include "raster/RectUtils.h"

#include <climits>
#include <string>

namespace {

const char SelectionMagic[] = "Lumaretique Selection";
const char BodyVectorial[] = "Vectorial";
const char BodyBinary[] = "Binary";

// Written lines are cut to this; read lines longer than MaxLineRead are
// refused (no valid line comes near it).
constexpr size_t MaxLineWrite = 254;
constexpr size_t MaxLineRead = 4096;
// The widest or tallest outline accepted from a file, simple shapes
// included (their bounds are moved about like any other selection's and
// must stay far from the int range's ends), and the most pixels a bitmap
// shape may cover (its flips and reshapes go through a bitmap of that size).
constexpr int64_t MaxOutlineExtent = int64_t(1) << 27;
constexpr int64_t MaxBitmapShapePixels = MaxReadPixels;

constexpr int32_t OffsetX = 33, OffsetFlags = 77, OffsetY = 77;

[[noreturn]] void Malformed() { throw EStreamError(QStringLiteral("Invalid selection file")); }

void WriteLine(TStream& S, std::string Line) {
  if (Line.size() > MaxLineWrite) Line.resize(MaxLineWrite);
  Line += "\r\n";
  S.Write(Line.data(), static_cast<int64_t>(Line.size()));
}

void WriteIntLine(TStream& S, int64_t V) { WriteLine(S, std::to_string(V)); }

// Up to a CR or LF or the end of the stream; a second CR or LF right after
// belongs to the same line end.
std::string ReadLine(TStream& S) {
  std::string Line;
  uint8_t B;
  while (S.Read(&B, 1) == 1) {
    if (B == 13 || B == 10) {
      uint8_t Next;
      if (S.Read(&Next, 1) == 1 && Next != 13 && Next != 10) S.Seek(S.Position() - 1);
      return Line;
    }
    if (Line.size() >= MaxLineRead) Malformed();
    Line += static_cast<char>(B);
  }
  return Line;
}

int ToInt(const std::string& Text) {
  int V;
  if (Text.empty() || !TryStrToInt(FromWin1252(Text), V, true)) Malformed();
  return V;
}

int ReadIntLine(TStream& S) { return ToInt(ReadLine(S)); }

TPoint ReadPointLine(TStream& S) {
  const std::string Line = ReadLine(S);
  const size_t Sep = Line.find(PointSeparator);
  if (Line.empty() || Sep == std::string::npos || Sep == 0) Malformed();
  return {ToInt(Line.substr(0, Sep)), ToInt(Line.substr(Sep + 1, 999))};
}

// The size of a simple shape, read or about to be written.
void CheckSimpleSize(int64_t W, int64_t H) {
  if (W < 0 || H < 0 || W > MaxOutlineExtent || H > MaxOutlineExtent) Malformed();
}

// The normalised extent of points read from a file, refused when it could
// not be drawn or rasterised.
TRect CheckedBounds(const TShapePointArray& Points, bool BitmapShape) {
  const TRect B = PointsBounds(Points);
  const int64_t W = int64_t(B.Right) - B.Left + 1, H = int64_t(B.Bottom) - B.Top + 1;
  if (W > MaxOutlineExtent || H > MaxOutlineExtent) Malformed();
  if (BitmapShape && W * H > MaxBitmapShapePixels) Malformed();
  return B;
}

} // namespace

// ---- Writing ----------------------------------------------------------------------------

void TShapeManager::WriteBody(TStream& S, TMyShape AShape, const TRect& ABounds) const {
  // What the reader would refuse is not written.
  if (AShape != ssBitmap && AShape != ssPolygon && AShape != ssPolyline)
    CheckSimpleSize(int64_t(ABounds.Right) - ABounds.Left, int64_t(ABounds.Bottom) - ABounds.Top);
  WriteLine(S, SelectionMagic);
  const TShapePointArray& P = FRefData.Points;
  if (AShape == ssBitmap) {
    // Points without their flags cannot make a bitmap shape that reads back.
    if (FRefData.Flags.size() != P.size()) Malformed();
    WriteLine(S, BodyBinary);
    S.WriteInt32(static_cast<int32_t>(P.size()));
    for (size_t I = 0; I < P.size(); ++I) {
      // Reference points are small and positive; wrap rather than overflow.
      S.WriteInt32(static_cast<int32_t>(static_cast<uint32_t>(P[I].X) + OffsetX));
      S.WriteInt32(static_cast<int32_t>(FRefData.Flags[I] + OffsetFlags));
      S.WriteInt32(static_cast<int32_t>(static_cast<uint32_t>(P[I].Y) + OffsetY));
    }
  } else if (AShape == ssPolygon || AShape == ssPolyline) {
    WriteLine(S, BodyVectorial);
    WriteIntLine(S, static_cast<int64_t>(P.size()));
    for (const TPoint& Pt : P) WriteLine(S, std::to_string(Pt.X) + PointSeparator + std::to_string(Pt.Y));
  } else {
    WriteLine(S, BodyVectorial);
    WriteIntLine(S, ShapeToCode(AShape));
    WriteIntLine(S, RectWidth(ABounds));
    WriteIntLine(S, RectHeight(ABounds));
  }
}

bool TShapeManager::SaveToStream(TStream& AStream, TMyShape AShape, const TRect& ABounds) {
  try {
    WriteBody(AStream, AShape, ABounds);
    return true;
  } catch (const std::exception&) {
    if (ShowLoadErrors) ShowInvalidDataFileError(AStream.Name());
    return false;
  }
}

bool TShapeManager::SaveToFile(const QString& FileName, TMyShape AShape, const TRect& ABounds) {
  TSafeFile File(FileName);
  TSafeFileStream Stream(File);
  if (!SaveToStream(Stream, AShape, ABounds)) return false;
  try {
    File.Commit();
    return true;
  } catch (const ESafeFileError&) {
    if (ShowLoadErrors) ShowInvalidDataFileError(FileName);
    return false;
  }
}

// ---- Reading -----------------------------------------------------------------------------

bool TShapeManager::ReadBody(TStream& S, TMyShape& AShape, TRect& ABounds) {
  const int64_t Start = S.Position();
  bool Binary = false;
  if (ReadLine(S) == SelectionMagic)
    Binary = ReadLine(S) == BodyBinary;
  else
    S.Seek(Start);

  int64_t Count;
  if (Binary) {
    Count = S.ReadInt32();
  } else {
    const int V = ReadIntLine(S);
    if (V < 0) {
      if (!IsValidShapeCode(V)) Malformed();
      const int W = ReadIntLine(S);
      const int H = ReadIntLine(S);
      CheckSimpleSize(W, H);
      ABounds = {0, 0, W, H};
      AShape = CodeToShape(V);
      return true;
    }
    Count = V;
  }
  // Every point takes 12 bytes in a binary body and at least 4 ("0;0" and a
  // line end, the last one maybe without) in a vectorial one.
  if (Count <= 0) Malformed();
  if (Binary ? Count > S.Remaining() / 12 : Count > (S.Remaining() + 1) / 4) Malformed();

  Clear();
  TShapePointArray Points(static_cast<size_t>(Count));
  TShapeByteArray Flags;
  if (Binary) {
    Flags.resize(static_cast<size_t>(Count));
    for (int64_t I = 0; I < Count; ++I) {
      const int64_t X = int64_t(S.ReadInt32()) - OffsetX;
      const int64_t F = int64_t(S.ReadInt32()) - OffsetFlags;
      const int64_t Y = int64_t(S.ReadInt32()) - OffsetY;
      if (X < INT_MIN || Y < INT_MIN || F < 0 || F > 15) Malformed();
      Points[static_cast<size_t>(I)] = {static_cast<int>(X), static_cast<int>(Y)};
      Flags[static_cast<size_t>(I)] = static_cast<uint8_t>(F);
    }
  } else {
    for (TPoint& P : Points) P = ReadPointLine(S);
  }

  const TRect B = CheckedBounds(Points, Binary);
  // In 64 bits: a left or top of INT_MIN cannot be negated as an int.
  for (TPoint& P : Points) P = {int(int64_t(P.X) - B.Left), int(int64_t(P.Y) - B.Top)};
  ABounds = {0, 0, int(int64_t(B.Right) - B.Left), int(int64_t(B.Bottom) - B.Top)};
  FRefData.Points = std::move(Points);
  FRefData.Flags = std::move(Flags);
  FRefData.Bounds = ABounds;
  AShape = Binary ? ssBitmap : ssPolygon;
  ++ABounds.Right;
  ++ABounds.Bottom;
  return true;
}

bool TShapeManager::LoadFromStream(TStream& AStream, TMyShape& AShape, TRect& ABounds) {
  try {
    return ReadBody(AStream, AShape, ABounds);
  } catch (const std::exception&) {
    Clear();
    if (ShowLoadErrors) ShowInvalidDataFileError(AStream.Name());
    return false;
  }
}

bool TShapeManager::LoadFromFile(const QString& FileName, TMyShape& AShape, TRect& ABounds) {
  TFileReadStream Stream(FileName);
  return LoadFromStream(Stream, AShape, ABounds);
}
