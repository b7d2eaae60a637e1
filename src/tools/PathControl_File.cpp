// The .lmv path file and the path clipboard.
#include "tools/PathControl.h"

#include "platform/SafeFile.h"
#include "raster/DataFileError.h"

#include <QBuffer>
#include <QFile>
#include <QFileDevice>

#include <cstring>
#include <stdexcept>

namespace {

constexpr int MagicSize = 16;
constexpr int ReservedSize = 32;
static_assert(sizeof(PathFileMagic) == MagicSize + 1);
static_assert(MagicSize + ReservedSize + 3 * 4 == PathFileHeaderSize);

int RecordSize(bool Bezier) { return Bezier ? 32 : 8; }

void AppendInt32(QByteArray& Bytes, int32_t V) {
  const uint32_t U = uint32_t(V);
  const char B[4] = {char(U & 0xFF), char((U >> 8) & 0xFF), char((U >> 16) & 0xFF), char(U >> 24)};
  Bytes.append(B, 4);
}

int32_t Int32At(const char* P) {
  const auto* U = reinterpret_cast<const uint8_t*>(P);
  return int32_t(uint32_t(U[0]) | uint32_t(U[1]) << 8 | uint32_t(U[2]) << 16 | uint32_t(U[3]) << 24);
}

[[noreturn]] void Malformed(const char* Why) { throw std::runtime_error(std::string("invalid path file: ") + Why); }

// Exactly Count bytes or an error.
QByteArray ReadExactly(QIODevice& Stream, int64_t Count) {
  QByteArray Bytes = Stream.read(Count);
  if (Bytes.size() != Count) Malformed("the file ends early");
  return Bytes;
}

// A coordinate within the range a path of any image can use.
int Coordinate(const char* P) {
  const int32_t V = Int32At(P);
  if (V < -MaxPathCoordinate || V > MaxPathCoordinate) Malformed("a coordinate lies out of range");
  return V;
}

QString StreamName(const QIODevice& Stream) {
  const auto* File = qobject_cast<const QFileDevice*>(&Stream);
  return File ? File->fileName() : QString();
}

// The whole file in memory: a path is small, and the safe writer takes it in
// one piece.
QByteArray PathFileBytes(const TPathControl& Path) {
  QByteArray Bytes(PathFileMagic, MagicSize);
  Bytes.append(ReservedSize, '\0');
  AppendInt32(Bytes, Path.BezierMode() ? 1 : 0);
  AppendInt32(Bytes, Path.Closed() ? 1 : 0);
  AppendInt32(Bytes, Path.PointsCount());
  const TRect B = Path.BmpBounds(1);
  const auto AppendPoint = [&](TPoint P) {
    AppendInt32(Bytes, P.X - B.Left);
    AppendInt32(Bytes, P.Y - B.Top);
  };
  for (int I = 0; I < Path.PointsCount(); ++I) {
    AppendPoint(Path.AnchorPoint(I));
    if (!Path.BezierMode()) continue;
    const TPathVertexData& V = Path.Vertices()[size_t(I)];
    AppendPoint(Path.ControlPoint1(I));
    AppendInt32(Bytes, V.B1Initialized ? 1 : 0);
    AppendPoint(Path.ControlPoint2(I));
    AppendInt32(Bytes, V.B2Initialized ? 1 : 0);
  }
  return Bytes;
}

} // namespace

TPathFileData ReadPathFile(QIODevice& Stream) {
  const QByteArray Head = ReadExactly(Stream, PathFileHeaderSize);
  if (std::memcmp(Head.constData(), PathFileMagic, MagicSize) != 0) Malformed("another magic");
  TPathFileData Data;
  const char* P = Head.constData() + MagicSize + ReservedSize;
  Data.BezierMode = Int32At(P) > 0;
  Data.Closed = Int32At(P + 4) > 0;
  const int64_t N = std::max(Int32At(P + 8), 0);
  const int Record = RecordSize(Data.BezierMode);
  if (N > Stream.bytesAvailable() / Record) Malformed("more vertices than the file holds");
  const QByteArray Body = ReadExactly(Stream, N * Record);
  Data.Vertices.resize(size_t(N));
  const char* R = Body.constData();
  for (TPathVertexData& V : Data.Vertices) {
    V.PP = {Coordinate(R), Coordinate(R + 4)};
    if (Data.BezierMode) {
      V.B1 = {Coordinate(R + 8), Coordinate(R + 12)};
      V.B1Initialized = Int32At(R + 16) > 0;
      V.B2 = {Coordinate(R + 20), Coordinate(R + 24)};
      V.B2Initialized = Int32At(R + 28) > 0;
    }
    R += Record;
  }
  return Data;
}

void TPathControl::ReportError(const QString& Name) const {
  if (ShowPathErrors) ShowInvalidDataFileError(Name);
}

bool TPathControl::SaveToStream(QIODevice& Stream) {
  const QByteArray Bytes = PathFileBytes(*this);
  if (Stream.write(Bytes) != Bytes.size()) {
    ReportError(StreamName(Stream));
    return false;
  }
  FChanged = false;
  return true;
}

bool TPathControl::SaveToFile(const QString& FileName) {
  try {
    const QByteArray Bytes = PathFileBytes(*this);
    TSafeFile File(FileName);
    File.Write(Bytes.constData(), size_t(Bytes.size()));
    File.Commit();
  } catch (const ESafeFileError& E) {
    // The path stays marked as changed: it is saved nowhere.
    if (ShowPathErrors) ReportFileError(QString::fromLocal8Bit(E.what()));
    return false;
  }
  FChanged = false;
  return true;
}

bool TPathControl::LoadFromStream(QIODevice& Stream, const TRect& Bounds) {
  TPathFileData Data;
  try {
    Data = ReadPathFile(Stream);
  } catch (const std::exception&) {
    ReportError(StreamName(Stream));
    return false;
  }
  ReplacePath(std::move(Data.Vertices), Data.BezierMode, Data.Closed, &Bounds);
  return true;
}

bool TPathControl::LoadFromFile(const QString& FileName, const TRect& Bounds) {
  QFile File(FileName);
  if (!File.open(QIODevice::ReadOnly)) {
    if (ShowPathErrors) ReportFileError(FileName + QStringLiteral(": ") + File.errorString());
    return false;
  }
  return LoadFromStream(File, Bounds);
}

// ---- The path clipboard ---------------------------------------------------------

namespace {
std::unique_ptr<TMemPath> Clipboard;
} // namespace

void TMemPath::AssignPath(const TPathControl& Path) {
  FImageWidth = Path.ImageWidth();
  FimageHeight = Path.ImageHeight();
  FBezierMode = Path.BezierMode();
  FClosed = Path.Closed();
  Path.GetVerticesList(FVertices);
}

void TMemPath::AssignToPath(TPathControl& Path) const {
  const bool SameImage = FImageWidth == Path.ImageWidth() && FimageHeight == Path.ImageHeight();
  Path.ReplacePath(SameImage ? FVertices : TPathVertexList(), FBezierMode, FClosed);
}

const TMemPath* PathClipboard() { return Clipboard.get(); }

void CopyPath(const TPathControl& Path) {
  if (!Clipboard) Clipboard = std::make_unique<TMemPath>();
  Clipboard->AssignPath(Path);
}

void PastePath(TPathControl& Path) {
  if (Clipboard) Clipboard->AssignToPath(Path);
}

bool CanPastePath(int ImageWidth, int ImageHeight) {
  return Clipboard && Clipboard->Count() > 0 && Clipboard->ImageWidth() == ImageWidth &&
         Clipboard->ImageHeight() == ImageHeight;
}

void FreePathClipboard() { Clipboard.reset(); }
