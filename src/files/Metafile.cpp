#include "files/Metafile.h"

#include "files/BmpFile.h"
#include "files/ReadLimits.h"
#include "platform/Rounding.h"

#include <QBuffer>
#include <QFile>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

namespace {

// The bitmap a metafile is drawn on. A vector drawing of a few hundred bytes
// may fill a page, so any picture up to MinPictureCells (2048 x 2048, more
// than an A2 page at 96 dots per inch) is fine; beyond it, at most
// PicturePixelsPerByte pixels per byte of the file's records, so that a
// small file cannot make us allocate and fill a huge bitmap.
constexpr int64_t MinPictureCells = int64_t(1) << 22;
constexpr int64_t PicturePixelsPerByte = 4096;
constexpr int MaxPenWidth = 4096;
constexpr uint32_t EmfSignature = 0x464D4520; // " EMF"
constexpr uint32_t PlaceableKey = 0x9AC6CDD7;
constexpr int PlaceableSize = 22;
constexpr int WmfHeaderSize = 18;

// Thrown by the record reader on a field beyond its record; the loader turns
// it into the file's error.
struct TBadRecord {};
// Thrown when playing has painted as much as a picture may: a small file of
// many huge shapes cannot keep the program drawing for minutes.
struct TBudgetSpent {};
constexpr int64_t PaintBudgetPerPixel = 256;

// Little-endian reads inside one record, each checked against its size.
class TRecord {
public:
  TRecord(const uint8_t* Data, size_t Size) : FData(Data), FSize(Size) {}
  size_t Size() const { return FSize; }
  const uint8_t* At(size_t Offset, size_t Bytes) const {
    if (Offset > FSize || Bytes > FSize - Offset) throw TBadRecord{};
    return FData + Offset;
  }
  uint16_t U16(size_t O) const {
    const uint8_t* P = At(O, 2);
    return static_cast<uint16_t>(P[0] | (P[1] << 8));
  }
  int16_t I16(size_t O) const { return static_cast<int16_t>(U16(O)); }
  uint32_t U32(size_t O) const {
    const uint8_t* P = At(O, 4);
    return static_cast<uint32_t>(P[0]) | (static_cast<uint32_t>(P[1]) << 8) | (static_cast<uint32_t>(P[2]) << 16) |
           (static_cast<uint32_t>(P[3]) << 24);
  }
  int32_t I32(size_t O) const { return static_cast<int32_t>(U32(O)); }
  float F32(size_t O) const {
    const uint32_t V = U32(O);
    float F;
    std::memcpy(&F, &V, 4);
    return F;
  }
  TColor Color(size_t O) const { return static_cast<TColor>(U32(O) & 0xFFFFFF); }

private:
  const uint8_t* FData;
  size_t FSize;
};

// A device-independent bitmap given as its information block and its rows.
void DecodeDib(const uint8_t* Info, size_t InfoSize, const uint8_t* Bits, size_t BitsSize, TBitmap& Out,
               const QString& Name) {
  QByteArray File;
  const auto Put32 = [&File](uint32_t V) {
    for (int I = 0; I < 4; ++I) File.append(static_cast<char>((V >> (8 * I)) & 0xFF));
  };
  File.append("BM");
  Put32(static_cast<uint32_t>(14 + InfoSize + BitsSize));
  Put32(0);
  Put32(static_cast<uint32_t>(14 + InfoSize));
  File.append(reinterpret_cast<const char*>(Info), static_cast<qsizetype>(InfoSize));
  File.append(reinterpret_cast<const char*>(Bits), static_cast<qsizetype>(BitsSize));
  QBuffer Buffer(&File);
  Buffer.open(QIODevice::ReadOnly);
  LoadBitmapFromBmpDevice(Buffer, Name, Out);
}

// The size of the information block (header and colour table) of a packed
// DIB that starts at Offset of the record.
size_t PackedDibInfoSize(const TRecord& R, size_t Offset) {
  const uint32_t HeaderSize = R.U32(Offset);
  if (HeaderSize == 12) return 12 + 3 * (size_t(1) << std::min<int>(R.U16(Offset + 10), 8));
  if (HeaderSize < 40 || HeaderSize > R.Size()) throw TBadRecord{};
  const int Bits = R.U16(Offset + 14);
  const uint32_t Compression = R.U32(Offset + 16);
  const uint32_t Used = R.U32(Offset + 32);
  if (Used > 256) throw TBadRecord{};
  const size_t Entries = Used ? Used : Bits <= 8 ? size_t(1) << Bits : 0;
  return HeaderSize + (Compression == 3 && HeaderSize == 40 ? 12 : 0) + 4 * Entries;
}

struct TGdiObject {
  enum class TKind : uint8_t { None, Pen, Brush, Font, Other };
  TKind Kind = TKind::None;
  TPen Pen;
  TBrush Brush;
  TFont Font;
};

// The drawing state of the device context, as saved and restored.
struct TDcState {
  int MapMode = 1; // text: one logical unit is one device pixel
  double WinOrgX = 0, WinOrgY = 0, WinExtX = 1, WinExtY = 1;
  double VpOrgX = 0, VpOrgY = 0, VpExtX = 1, VpExtY = 1;
  double M11 = 1, M12 = 0, M21 = 0, M22 = 1, Dx = 0, Dy = 0; // world transform
  TPen Pen;
  TBrush Brush;
  TFont Font;
  TColor TextColor = clBlack;
  int BkMode = 2; // opaque
  uint32_t TextAlign = 0;
  double CurX = 0, CurY = 0;
};

// Plays records onto a canvas, or only checks them when there is none.
class TPlayer {
public:
  TPlayer(TCanvas* Canvas, const QString& Name) : FCanvas(Canvas), FName(Name) {
    if (Canvas)
      FBudget = PaintBudgetPerPixel * Canvas->Bitmap()->Width() * int64_t{Canvas->Bitmap()->Height()} + (1 << 24);
  }

  // The reference device to the target: T = D * S + O.
  double Sx = 1, Sy = 1, Ox = 0, Oy = 0;
  // Pixels per millimetre of the reference device, for the metric modes.
  double PxPerMmX = 96 / 25.4, PxPerMmY = 96 / 25.4;
  TDcState S;
  std::vector<TDcState> Saved;
  std::vector<TGdiObject> Objects;

  const QString& Name() const { return FName; }
  bool Drawing() const { return FCanvas != nullptr; }

  TPoint Pt(double X, double Y) const {
    const double PX = X * S.M11 + Y * S.M21 + S.Dx, PY = X * S.M12 + Y * S.M22 + S.Dy;
    double Kx, Ky;
    PageScale(Kx, Ky);
    return {Coord(((PX - S.WinOrgX) * Kx + S.VpOrgX) * Sx + Ox), Coord(((PY - S.WinOrgY) * Ky + S.VpOrgY) * Sy + Oy)};
  }

  void SaveDc() { Saved.push_back(S); }
  void RestoreDc(int Relative) {
    // Negative: that many states back; positive: the state of that number.
    const int64_t Index = Relative < 0 ? static_cast<int64_t>(Saved.size()) + Relative : int64_t{Relative} - 1;
    if (Index < 0 || Index >= static_cast<int64_t>(Saved.size())) return;
    S = Saved[static_cast<size_t>(Index)];
    Saved.resize(static_cast<size_t>(Index));
  }

  TGdiObject* Slot(size_t Index) {
    if (Index >= 65536) throw TBadRecord{};
    if (Index >= Objects.size()) Objects.resize(Index + 1);
    return &Objects[Index];
  }
  // The lowest free slot, as Windows metafiles number their objects.
  TGdiObject* FreeSlot() {
    for (TGdiObject& O : Objects)
      if (O.Kind == TGdiObject::TKind::None) return &O;
    return Slot(Objects.size());
  }
  void Select(const TGdiObject& O) {
    if (O.Kind == TGdiObject::TKind::Pen) S.Pen = O.Pen;
    if (O.Kind == TGdiObject::TKind::Brush) S.Brush = O.Brush;
    if (O.Kind == TGdiObject::TKind::Font) S.Font = O.Font;
  }
  void SelectStock(uint32_t Index) {
    static const TColor BrushColors[5] = {clWhite, 0xC0C0C0, 0x808080, 0x404040, clBlack};
    if (Index <= 4) S.Brush = {BrushColors[Index], TBrushStyle::bsSolid};
    if (Index == 5) S.Brush.Style = TBrushStyle::bsClear;
    if (Index == 6 || Index == 7) S.Pen = {Index == 6 ? clWhite : clBlack, 1, TPenStyle::psSolid, TPenMode::pmCopy};
    if (Index == 8) S.Pen.Style = TPenStyle::psClear;
  }

  // ---- Drawing ----
  void MoveTo(double X, double Y) { S.CurX = X, S.CurY = Y; }
  void LineTo(double X, double Y) {
    if (Prepare()) {
      const TPoint A = Pt(S.CurX, S.CurY), B = Pt(X, Y);
      Spend(A, B);
      FCanvas->MoveTo(A.X, A.Y);
      FCanvas->LineTo(B.X, B.Y);
    }
    MoveTo(X, Y);
  }
  void Poly(const std::vector<double>& XY, bool Closed, bool Bezier) {
    if (!Prepare() || XY.size() < 4) return;
    std::vector<TPoint> P;
    P.reserve(XY.size() / 2);
    for (size_t I = 0; I + 1 < XY.size(); I += 2) P.push_back(Pt(XY[I], XY[I + 1]));
    const auto [MinX, MaxX] = std::minmax_element(P.begin(), P.end(), [](TPoint A, TPoint B) { return A.X < B.X; });
    const auto [MinY, MaxY] = std::minmax_element(P.begin(), P.end(), [](TPoint A, TPoint B) { return A.Y < B.Y; });
    Spend({MinX->X, MinY->Y}, {MaxX->X, MaxY->Y});
    if (Bezier)
      FCanvas->PolyBezier(P);
    else if (Closed)
      FCanvas->Polygon(P);
    else
      FCanvas->Polyline(P);
  }
  enum class TShape { Rectangle, Ellipse, RoundRect };
  void Shape(TShape Kind, double L, double T, double R, double B, double CornerW = 0, double CornerH = 0) {
    if (!Prepare()) return;
    if (S.M12 != 0 || S.M21 != 0) {
      // Turned by the world transform: the outline as a polygon.
      std::vector<double> XY;
      if (Kind == TShape::Ellipse) {
        for (int I = 0; I < 64; ++I) {
          const double A = I * (2 * M_PI / 64);
          XY.push_back((L + R) / 2 + (R - L) / 2 * std::cos(A));
          XY.push_back((T + B) / 2 + (B - T) / 2 * std::sin(A));
        }
      } else {
        XY = {L, T, R, T, R, B, L, B};
      }
      Poly(XY, true, false);
      return;
    }
    TPoint A = Pt(L, T), Z = Pt(R, B);
    const TPoint C = Pt(L + CornerW, T + CornerH);
    if (A.X > Z.X) std::swap(A.X, Z.X);
    if (A.Y > Z.Y) std::swap(A.Y, Z.Y);
    Spend(A, Z);
    if (Kind == TShape::Rectangle) FCanvas->Rectangle(A.X, A.Y, Z.X, Z.Y);
    if (Kind == TShape::Ellipse) FCanvas->Ellipse(A.X, A.Y, Z.X, Z.Y);
    if (Kind == TShape::RoundRect)
      FCanvas->RoundRect(A.X, A.Y, Z.X, Z.Y, std::abs(C.X - Pt(L, T).X), std::abs(C.Y - Pt(L, T).Y));
  }
  // A blit without source: the rectangle filled by the raster operation.
  void PatBlt(double X, double Y, double W, double H, uint32_t Rop) {
    if (!Drawing()) return;
    std::optional<TColor> Fill;
    if (Rop == 0x00F00021 && S.Brush.Style == TBrushStyle::bsSolid) Fill = S.Brush.Color; // pattern copy
    if (Rop == 0x00000042) Fill = clBlack;                                                // blackness
    if (Rop == 0x00FF0062) Fill = clWhite;                                                // whiteness
    if (!Fill) return;
    TPoint A = Pt(X, Y), Z = Pt(X + W, Y + H);
    if (A.X > Z.X) std::swap(A.X, Z.X);
    if (A.Y > Z.Y) std::swap(A.Y, Z.Y);
    Spend(A, Z);
    FCanvas->Brush = {*Fill, TBrushStyle::bsSolid};
    FCanvas->FillRect({A.X, A.Y, Z.X, Z.Y});
  }
  // Source rectangle (top-down rows) of the bitmap stretched onto the
  // logical destination; negative sizes mirror.
  void DrawBitmap(const TBitmap& Bitmap, const TRect& Source, double X, double Y, double W, double H) {
    if (!Drawing() || Bitmap.Empty()) return;
    const TPoint A = Pt(X, Y), Z = Pt(X + W, Y + H);
    Spend(A, Z);
    TBitmap& Target = *FCanvas->Bitmap();
    StretchNearest(Bitmap, Source, Target, TRect{A.X, A.Y, Z.X, Z.Y}, TRect{0, 0, Target.Width(), Target.Height()});
    Target.Changed();
  }
  void Text(double X, double Y, const QString& Text) {
    if (!Drawing() || Text.isEmpty()) return;
    const TPoint P = Pt(X, Y);
    TFont Font = S.Font;
    Font.Color = S.TextColor;
    Font.Height = std::clamp(static_cast<int>(std::lround(std::abs(Font.Height) * LinearScale())), 1, 2048);
    if (S.Font.Height < 0) Font.Height = -Font.Height;
    FCanvas->Font = Font;
    FCanvas->Brush.Style = TBrushStyle::bsClear;
    int TX = P.X, TY = P.Y;
    const uint32_t Horizontal = S.TextAlign & 6, Vertical = S.TextAlign & 24;
    const int Width = FCanvas->TextWidth(Text);
    if (Horizontal == 6) TX -= Width / 2; // centred
    if (Horizontal == 2) TX -= Width;     // right
    if (Vertical == 8) TY -= FCanvas->TextHeight(Text);
    if (Vertical == 24) TY -= FCanvas->TextHeight(Text) * 4 / 5; // baseline, about the ascent
    Spend({TX, TY}, {TX + Width, TY + FCanvas->TextHeight(Text)});
    FCanvas->TextOut(TX, TY, Text);
  }

private:
  static int Coord(double V) { return V > -1e9 && V < 1e9 ? Round(V) : 1 << 30; }

  void PageScale(double& Kx, double& Ky) const {
    const auto Metric = [&](double Mm) {
      Kx = Mm * PxPerMmX;
      Ky = -Mm * PxPerMmY; // y grows upwards
    };
    switch (S.MapMode) {
    case 2:
      return Metric(0.1);
    case 3:
      return Metric(0.01);
    case 4:
      return Metric(0.254);
    case 5:
      return Metric(0.0254);
    case 6:
      return Metric(25.4 / 1440);
    case 7:
    case 8: {
      Kx = S.WinExtX != 0 ? S.VpExtX / S.WinExtX : 0;
      Ky = S.WinExtY != 0 ? S.VpExtY / S.WinExtY : 0;
      if (S.MapMode == 7) { // isotropic: the same scale both ways
        const double K = std::min(std::abs(Kx), std::abs(Ky));
        Kx = std::copysign(K, Kx);
        Ky = std::copysign(K, Ky);
      }
      return;
    }
    default:
      Kx = Ky = 1;
    }
  }
  // How much one logical unit grows on the target (the root of the area
  // scale of the whole mapping).
  double LinearScale() const {
    const TPoint O = Pt(0, 0), X = Pt(1000, 0), Y = Pt(0, 1000);
    const double A = double(X.X - O.X) * double(Y.Y - O.Y) - double(X.Y - O.Y) * double(Y.X - O.X);
    return std::sqrt(std::abs(A)) / 1000;
  }
  // Counts the painting of the box between the two corners (either order),
  // widened by the pen and cut to the target, and of the record itself.
  void Spend(TPoint A, TPoint B) {
    const TBitmap& Target = *FCanvas->Bitmap();
    const int64_t Pad = FCanvas->Pen.Width;
    const int64_t L = std::max<int64_t>(std::min(A.X, B.X) - Pad, 0),
                  T = std::max<int64_t>(std::min(A.Y, B.Y) - Pad, 0);
    const int64_t R = std::min<int64_t>(std::max(A.X, B.X) + Pad, Target.Width());
    const int64_t Bottom = std::min<int64_t>(std::max(A.Y, B.Y) + Pad, Target.Height());
    FWork += 64 + (R > L && Bottom > T ? (R - L) * (Bottom - T) : 0);
    if (FWork > FBudget) throw TBudgetSpent{};
  }
  // Gives the canvas the state's pen and brush; false when only checking.
  bool Prepare() {
    if (!FCanvas) return false;
    FCanvas->Pen = S.Pen;
    FCanvas->Pen.Width = std::clamp(static_cast<int>(std::lround(S.Pen.Width * LinearScale())), 1, MaxPenWidth);
    FCanvas->Brush = S.Brush;
    return true;
  }

  TCanvas* FCanvas;
  QString FName;
  int64_t FWork = 0;
  int64_t FBudget = 0;
};

TPenStyle PenStyleOf(uint32_t Style) {
  switch (Style & 0xF) {
  case 1:
    return TPenStyle::psDash;
  case 2:
    return TPenStyle::psDot;
  case 3:
    return TPenStyle::psDashDot;
  case 4:
    return TPenStyle::psDashDotDot;
  case 5:
    return TPenStyle::psClear;
  default:
    return TPenStyle::psSolid;
  }
}

TGdiObject MakePen(uint32_t Style, int Width, TColor Color) {
  TGdiObject O;
  O.Kind = TGdiObject::TKind::Pen;
  O.Pen = {Color, std::max(Width, 1), PenStyleOf(Style), TPenMode::pmCopy};
  return O;
}

TGdiObject MakeBrush(uint32_t Style, TColor Color) {
  TGdiObject O;
  O.Kind = TGdiObject::TKind::Brush;
  // Hatched brushes are drawn in their colour; pattern brushes have their
  // own records.
  O.Brush = {Color, Style == 1 ? TBrushStyle::bsClear : TBrushStyle::bsSolid};
  return O;
}

TGdiObject MakeFont(int Height, int Weight, bool Italic, bool Underline, bool StrikeOut, int Escapement,
                    const QString& Face) {
  TGdiObject O;
  O.Kind = TGdiObject::TKind::Font;
  O.Font.Height = Height == 0 ? -12 : Height;
  O.Font.Style = static_cast<TFontStyles>((Weight >= 600 ? fsBold : 0) | (Italic ? fsItalic : 0) |
                                          (Underline ? fsUnderline : 0) | (StrikeOut ? fsStrikeOut : 0));
  O.Font.Orientation = Escapement;
  if (!Face.isEmpty()) O.Font.Name = Face;
  return O;
}

QString Utf16At(const TRecord& R, size_t Offset, size_t Chars) {
  const uint8_t* P = R.At(Offset, 2 * Chars);
  QString S;
  S.reserve(static_cast<qsizetype>(Chars));
  for (size_t I = 0; I < Chars; ++I) S.append(QChar(static_cast<char16_t>(P[2 * I] | (P[2 * I + 1] << 8))));
  return S;
}

// ---- Enhanced metafiles -----------------------------------------------------------

// Points of a poly record: 32-bit pairs, or 16-bit ones.
std::vector<double> EmfPoints(const TRecord& R, size_t Offset, uint32_t Count, bool Short) {
  const size_t Bytes = Short ? 4 : 8;
  R.At(Offset, Count * Bytes); // all present before anything is allocated
  std::vector<double> XY;
  XY.reserve(2 * size_t(Count));
  for (uint32_t I = 0; I < Count; ++I) {
    const size_t O = Offset + I * Bytes;
    XY.push_back(Short ? R.I16(O) : R.I32(O));
    XY.push_back(Short ? R.I16(O + Bytes / 2) : R.I32(O + Bytes / 2));
  }
  return XY;
}

void EmfBitmap(const TRecord& R, TPlayer& P, size_t InfoAt, size_t BitsAt, TBitmap& Out) {
  const uint32_t InfoOff = R.U32(InfoAt), InfoSize = R.U32(InfoAt + 4);
  const uint32_t BitsOff = R.U32(BitsAt), BitsSize = R.U32(BitsAt + 4);
  DecodeDib(R.At(InfoOff, InfoSize), InfoSize, R.At(BitsOff, BitsSize), BitsSize, Out, P.Name());
}

void PlayEmfRecord(uint32_t Type, const TRecord& R, TPlayer& P) {
  switch (Type) {
  case 2: // poly Bezier, polygon, polyline, Bezier to, polyline to
  case 3:
  case 4:
  case 5:
  case 6:
  case 85:
  case 86:
  case 87:
  case 88:
  case 89: {
    const bool Short = Type >= 85;
    const uint32_t Kind = Short ? Type - 83 : Type;
    std::vector<double> XY = EmfPoints(R, 28, R.U32(24), Short);
    if (Kind == 5 || Kind == 6) { // from the current position, which moves to the last point
      XY.insert(XY.begin(), {P.S.CurX, P.S.CurY});
      if (XY.size() >= 2) P.MoveTo(XY[XY.size() - 2], XY.back());
    }
    P.Poly(XY, Kind == 3, Kind == 2 || Kind == 5);
    break;
  }
  case 7: // poly polyline, poly polygon
  case 8:
  case 90:
  case 91: {
    const bool Short = Type >= 90;
    const uint32_t Polys = R.U32(24), Count = R.U32(28);
    R.At(32, size_t(Polys) * 4);
    const std::vector<double> XY = EmfPoints(R, 32 + size_t(Polys) * 4, Count, Short);
    size_t Next = 0;
    for (uint32_t I = 0; I < Polys; ++I) {
      const size_t N = R.U32(32 + size_t(I) * 4);
      if (N > Count - Next) throw TBadRecord{};
      P.Poly({XY.begin() + ptrdiff_t(2 * Next), XY.begin() + ptrdiff_t(2 * (Next + N))}, Type == 8 || Type == 91,
             false);
      Next += N;
    }
    break;
  }
  case 9:
    P.S.WinExtX = R.I32(8), P.S.WinExtY = R.I32(12);
    break;
  case 10:
    P.S.WinOrgX = R.I32(8), P.S.WinOrgY = R.I32(12);
    break;
  case 11:
    P.S.VpExtX = R.I32(8), P.S.VpExtY = R.I32(12);
    break;
  case 12:
    P.S.VpOrgX = R.I32(8), P.S.VpOrgY = R.I32(12);
    break;
  case 17:
    P.S.MapMode = static_cast<int>(R.U32(8));
    break;
  case 18:
    P.S.BkMode = static_cast<int>(R.U32(8));
    break;
  case 22:
    P.S.TextAlign = R.U32(8);
    break;
  case 24:
    P.S.TextColor = R.Color(8);
    break;
  case 27:
    P.MoveTo(R.I32(8), R.I32(12));
    break;
  case 33:
    P.SaveDc();
    break;
  case 34:
    P.RestoreDc(R.I32(8));
    break;
  case 35: // world transform set, or combined
  case 36: {
    double M[6];
    for (int I = 0; I < 6; ++I) M[I] = R.F32(8 + 4 * size_t(I));
    const uint32_t Mode = Type == 35 ? 4 : R.U32(32);
    TDcState& S = P.S;
    const double C[6] = {S.M11, S.M12, S.M21, S.M22, S.Dx, S.Dy};
    const auto Product = [&S](const double* A, const double* B) { // A then B
      S.M11 = A[0] * B[0] + A[1] * B[2];
      S.M12 = A[0] * B[1] + A[1] * B[3];
      S.M21 = A[2] * B[0] + A[3] * B[2];
      S.M22 = A[2] * B[1] + A[3] * B[3];
      S.Dx = A[4] * B[0] + A[5] * B[2] + B[4];
      S.Dy = A[4] * B[1] + A[5] * B[3] + B[5];
    };
    if (Mode == 1) S.M11 = 1, S.M12 = 0, S.M21 = 0, S.M22 = 1, S.Dx = 0, S.Dy = 0;
    if (Mode == 2) Product(M, C);
    if (Mode == 3) Product(C, M);
    if (Mode == 4) S.M11 = M[0], S.M12 = M[1], S.M21 = M[2], S.M22 = M[3], S.Dx = M[4], S.Dy = M[5];
    break;
  }
  case 37: {
    const uint32_t Index = R.U32(8);
    if (Index & 0x80000000u)
      P.SelectStock(Index & 0x7FFFFFFFu);
    else if (Index < P.Objects.size())
      P.Select(P.Objects[Index]);
    break;
  }
  case 38:
    *P.Slot(R.U32(8)) = MakePen(R.U32(12), R.I32(16), R.Color(24));
    break;
  case 39:
    *P.Slot(R.U32(8)) = MakeBrush(R.U32(12), R.Color(16));
    break;
  case 40:
    *P.Slot(R.U32(8)) = TGdiObject{};
    break;
  case 42:
  case 43:
    P.Shape(Type == 42 ? TPlayer::TShape::Ellipse : TPlayer::TShape::Rectangle, R.I32(8), R.I32(12), R.I32(16),
            R.I32(20));
    break;
  case 44:
    P.Shape(TPlayer::TShape::RoundRect, R.I32(8), R.I32(12), R.I32(16), R.I32(20), R.I32(24), R.I32(28));
    break;
  case 54:
    P.LineTo(R.I32(8), R.I32(12));
    break;
  case 76: // bit blit, stretch blit
  case 77: {
    const double X = R.I32(24), Y = R.I32(28), W = R.I32(32), H = R.I32(36);
    if (R.U32(88) == 0) { // no source: a pattern operation
      P.PatBlt(X, Y, W, H, R.U32(40));
      break;
    }
    TBitmap Source;
    EmfBitmap(R, P, 84, 92, Source);
    const int SW = Type == 77 ? R.I32(100) : static_cast<int>(W), SH = Type == 77 ? R.I32(104) : static_cast<int>(H);
    P.DrawBitmap(Source, Bounds(R.I32(44), R.I32(48), SW, SH), X, Y, W, H);
    break;
  }
  case 81: { // stretch DIB bits
    TBitmap Source;
    if (R.U32(52) == 0) {
      P.PatBlt(R.I32(24), R.I32(28), R.I32(72), R.I32(76), R.U32(68));
      break;
    }
    EmfBitmap(R, P, 48, 56, Source);
    // The source rectangle counts rows from the bottom of the bitmap.
    const int SX = R.I32(32), SY = R.I32(36), SW = R.I32(40), SH = R.I32(44);
    const TRect Src{SX, Source.Height() - SY - SH, SX + SW, Source.Height() - SY};
    P.DrawBitmap(Source, Src, R.I32(24), R.I32(28), R.I32(72), R.I32(76));
    break;
  }
  case 82: { // create font
    const QString Face = Utf16At(R, 40, 32);
    *P.Slot(R.U32(8)) = MakeFont(R.I32(12), R.I32(28), *R.At(32, 1) != 0, *R.At(33, 1) != 0, *R.At(34, 1) != 0,
                                 R.I32(20), Face.left(Face.indexOf(QChar(0)) < 0 ? 32 : Face.indexOf(QChar(0))));
    break;
  }
  case 84: { // text out, wide characters
    const uint32_t Chars = R.U32(44), Offset = R.U32(48);
    P.Text(R.I32(36), R.I32(40), Utf16At(R, Offset, Chars));
    break;
  }
  case 95: // extended pen
    *P.Slot(R.U32(8)) = MakePen(R.U32(28), R.I32(32), R.Color(40));
    break;
  default:
    break;
  }
}

// Walks the records after the header (which the loader has read).
void PlayEmf(const std::vector<uint8_t>& Data, TPlayer& P) {
  size_t Pos = 0;
  while (Pos < Data.size()) {
    const TRecord Head(Data.data() + Pos, Data.size() - Pos);
    const uint32_t Type = Head.U32(0), Size = Head.U32(4);
    if (Size < 8 || Size % 4 != 0 || Size > Data.size() - Pos) throw TBadRecord{};
    if (Type == 14) return; // end of file
    if (Pos > 0) PlayEmfRecord(Type, TRecord(Data.data() + Pos, Size), P);
    Pos += Size;
  }
}

// ---- Windows metafiles --------------------------------------------------------

void PlayWmfRecord(uint16_t Function, const TRecord& R, TPlayer& P) {
  // Parameters start at byte 6, most of them in reverse order.
  const auto W = [&R](size_t I) { return R.I16(6 + 2 * I); };
  switch (Function) {
  case 0x020B:
    P.S.WinOrgY = W(0), P.S.WinOrgX = W(1);
    break;
  case 0x020C:
    P.S.WinExtY = W(0), P.S.WinExtX = W(1);
    break;
  case 0x0102:
    P.S.BkMode = W(0);
    break;
  case 0x012E:
    P.S.TextAlign = static_cast<uint16_t>(W(0));
    break;
  case 0x0209:
    P.S.TextColor = R.Color(6);
    break;
  case 0x001E:
    P.SaveDc();
    break;
  case 0x0127:
    P.RestoreDc(W(0));
    break;
  case 0x012D: {
    const size_t Index = static_cast<uint16_t>(W(0));
    if (Index < P.Objects.size()) P.Select(P.Objects[Index]);
    break;
  }
  case 0x01F0: {
    const size_t Index = static_cast<uint16_t>(W(0));
    if (Index < P.Objects.size()) P.Objects[Index] = TGdiObject{};
    break;
  }
  case 0x02FA:
    *P.FreeSlot() = MakePen(static_cast<uint16_t>(W(0)), W(1), R.Color(12));
    break;
  case 0x02FC:
    *P.FreeSlot() = MakeBrush(static_cast<uint16_t>(W(0)), R.Color(8));
    break;
  case 0x02FB: { // create font: height, width, escapement, orientation, weight, italic ...
    const uint8_t* B = R.At(6 + 10, 8);
    const size_t FaceAt = 6 + 18, FaceBytes = std::min<size_t>(32, R.Size() - std::min(R.Size(), FaceAt));
    const uint8_t* F = R.At(FaceAt, FaceBytes);
    const QString Face = QString::fromLatin1(reinterpret_cast<const char*>(F),
                                             qsizetype(strnlen(reinterpret_cast<const char*>(F), FaceBytes)));
    *P.FreeSlot() = MakeFont(W(0), W(4), B[0] != 0, B[1] != 0, B[2] != 0, W(2), Face);
    break;
  }
  case 0x00F7: // palettes, pattern brushes and regions take an object slot too
  case 0x01F9:
  case 0x0142:
  case 0x06FF:
    P.FreeSlot()->Kind = TGdiObject::TKind::Other;
    break;
  case 0x0214:
    P.MoveTo(W(1), W(0));
    break;
  case 0x0213:
    P.LineTo(W(1), W(0));
    break;
  case 0x041B:
  case 0x0418:
    P.Shape(Function == 0x0418 ? TPlayer::TShape::Ellipse : TPlayer::TShape::Rectangle, W(3), W(2), W(1), W(0));
    break;
  case 0x061C:
    P.Shape(TPlayer::TShape::RoundRect, W(5), W(4), W(3), W(2), W(1), W(0));
    break;
  case 0x0324: // polygon, polyline
  case 0x0325: {
    const size_t N = static_cast<uint16_t>(W(0));
    R.At(8, 4 * N);
    std::vector<double> XY;
    for (size_t I = 0; I < 2 * N; ++I) XY.push_back(R.I16(8 + 2 * I));
    P.Poly(XY, Function == 0x0324, false);
    break;
  }
  case 0x0538: { // poly polygon
    const size_t Polys = static_cast<uint16_t>(W(0));
    size_t At = 8 + 2 * Polys;
    R.At(8, 2 * Polys);
    for (size_t I = 0; I < Polys; ++I) {
      const size_t N = R.U16(8 + 2 * I);
      R.At(At, 4 * N);
      std::vector<double> XY;
      for (size_t K = 0; K < 2 * N; ++K) XY.push_back(R.I16(At + 2 * K));
      P.Poly(XY, true, false);
      At += 4 * N;
    }
    break;
  }
  case 0x0521: { // text out: count, string (even length), y, x
    const size_t N = static_cast<uint16_t>(W(0));
    const size_t Padded = (N + 1) / 2 * 2;
    const char* S = reinterpret_cast<const char*>(R.At(8, Padded));
    P.Text(R.I16(8 + Padded + 2), R.I16(8 + Padded), QString::fromLatin1(S, qsizetype(N)));
    break;
  }
  case 0x0A32: { // extended text out: y, x, count, options, [rectangle], string
    const size_t N = static_cast<uint16_t>(W(2));
    const size_t At = (W(3) & 6) ? 6 + 8 + 8 : 6 + 8;
    const char* S = reinterpret_cast<const char*>(R.At(At, N));
    P.Text(W(1), W(0), QString::fromLatin1(S, qsizetype(N)));
    break;
  }
  case 0x0F43: { // stretch DIB: rop, usage, source h, w, y, x, destination h, w, y, x, DIB
    const size_t DibAt = 6 + 4 + 2 + 16;
    const size_t Info = PackedDibInfoSize(R, DibAt);
    TBitmap Source;
    DecodeDib(R.At(DibAt, Info), Info, R.At(DibAt + Info, 0), R.Size() - std::min(R.Size(), DibAt + Info), Source,
              P.Name());
    const int SH = W(3), SW = W(4), SY = W(5), SX = W(6);
    const TRect Src{SX, Source.Height() - SY - SH, SX + SW, Source.Height() - SY};
    P.DrawBitmap(Source, Src, W(10), W(9), W(8), W(7));
    break;
  }
  case 0x0B41:   // DIB stretch blit: rop, source h, w, y, x, destination h, w, y, x, DIB
  case 0x0940: { // DIB bit blit: rop, source y, x, height, width, destination y, x, DIB
    const bool Stretch = Function == 0x0B41;
    const size_t Params = Stretch ? 8 : 6;
    // Without a bitmap the record is a pattern operation and holds a reserved
    // word after the raster operation.
    const bool NoBitmap = R.Size() == 2 * size_t((Function >> 8) + 3);
    const size_t First = NoBitmap ? 3 : 2;
    const auto Q = [&](size_t I) { return W(First + I); };
    const uint32_t Rop = R.U32(6);
    const int XDest = Q(Params - 1), YDest = Q(Params - 2);
    const int DestW = Stretch ? Q(5) : Q(3), DestH = Stretch ? Q(4) : Q(2);
    if (NoBitmap) {
      P.PatBlt(XDest, YDest, DestW, DestH, Rop);
      break;
    }
    const size_t DibAt = 6 + 4 + 2 * Params;
    const size_t Info = PackedDibInfoSize(R, DibAt);
    TBitmap Source;
    DecodeDib(R.At(DibAt, Info), Info, R.At(DibAt + Info, 0), R.Size() - std::min(R.Size(), DibAt + Info), Source,
              P.Name());
    const int XSrc = Stretch ? Q(3) : Q(1), YSrc = Stretch ? Q(2) : Q(0);
    const int SrcW = Stretch ? Q(1) : DestW, SrcH = Stretch ? Q(0) : DestH;
    P.DrawBitmap(Source, Bounds(XSrc, YSrc, SrcW, SrcH), XDest, YDest, DestW, DestH);
    break;
  }
  default:
    break;
  }
}

void PlayWmf(const std::vector<uint8_t>& Data, TPlayer& P) {
  size_t Pos = PlaceableSize + WmfHeaderSize;
  while (Pos < Data.size()) {
    const TRecord Head(Data.data() + Pos, Data.size() - Pos);
    const uint64_t Size = uint64_t{Head.U32(0)} * 2;
    const uint16_t Function = Head.U16(4);
    if (Size < 6 || Size > Data.size() - Pos) throw TBadRecord{};
    if (Function == 0) return; // end of file
    PlayWmfRecord(Function, TRecord(Data.data() + Pos, static_cast<size_t>(Size)), P);
    Pos += static_cast<size_t>(Size);
  }
}

struct TEmfHeader {
  int32_t BoundsL, BoundsT, BoundsR, BoundsB;
  int32_t FrameL, FrameT, FrameR, FrameB;
  double PxPerMmX, PxPerMmY;
  uint16_t Handles;
};

TEmfHeader ReadEmfHeader(const std::vector<uint8_t>& Data) {
  const TRecord R(Data.data(), Data.size());
  if (R.U32(0) != 1 || R.U32(4) < 88 || R.U32(40) != EmfSignature) throw TBadRecord{};
  TEmfHeader H{R.I32(8), R.I32(12), R.I32(16), R.I32(20), R.I32(24), R.I32(28), R.I32(32), R.I32(36), 0, 0, R.U16(56)};
  const int32_t DevX = R.I32(72), DevY = R.I32(76), MmX = R.I32(80), MmY = R.I32(84);
  H.PxPerMmX = DevX > 0 && MmX > 0 ? double(DevX) / MmX : 96 / 25.4;
  H.PxPerMmY = DevY > 0 && MmY > 0 ? double(DevY) / MmY : 96 / 25.4;
  return H;
}

bool IsEmf(const std::vector<uint8_t>& Data) {
  const TRecord All(Data.data(), Data.size());
  return Data.size() >= 44 && All.U32(0) == 1 && All.U32(40) == EmfSignature;
}

bool IsPlaceableWmf(const std::vector<uint8_t>& Data) {
  return Data.size() >= PlaceableSize && TRecord(Data.data(), Data.size()).U32(0) == PlaceableKey;
}

// The picture of an enhanced or placeable Windows metafile, read from its
// header (throws TBadRecord on a malformed one). The size is the frame in hundredths of a millimetre at 96
// dots per inch, and the frame is what is drawn onto the target: the
// records are mapped from it. A frame of less than a pixel gives the
// bounds, in pixels of the reference device, for both. A placeable Windows
// metafile's picture is its bounding box at its units per inch.
TMetafileFrame ReadFrame(const std::vector<uint8_t>& Data) {
  TMetafileFrame F;
  if (IsEmf(Data)) {
    const TEmfHeader H = ReadEmfHeader(Data);
    const int64_t FrameW = int64_t{H.FrameR} - H.FrameL, FrameH = int64_t{H.FrameB} - H.FrameT;
    F.PixelWidth = std::llround(FrameW * 96.0 / 2540);
    F.PixelHeight = std::llround(FrameH * 96.0 / 2540);
    if (F.PixelWidth >= 1 && F.PixelHeight >= 1) {
      F.Left = H.FrameL / 100.0 * H.PxPerMmX;
      F.Top = H.FrameT / 100.0 * H.PxPerMmY;
      F.Width = FrameW / 100.0 * H.PxPerMmX;
      F.Height = FrameH / 100.0 * H.PxPerMmY;
    } else {
      F.PixelWidth = int64_t{H.BoundsR} - H.BoundsL + 1;
      F.PixelHeight = int64_t{H.BoundsB} - H.BoundsT + 1;
      F.Left = H.BoundsL;
      F.Top = H.BoundsT;
      F.Width = double(F.PixelWidth);
      F.Height = double(F.PixelHeight);
    }
    return F;
  }
  const TRecord All(Data.data(), Data.size());
  const int Inch = All.U16(14);
  const int Kind = All.U16(PlaceableSize);
  if (Inch == 0 || (Kind != 1 && Kind != 2) || All.U16(PlaceableSize + 2) != 9) throw TBadRecord{};
  All.At(PlaceableSize, WmfHeaderSize);
  F.Left = All.I16(6);
  F.Top = All.I16(8);
  F.Width = double(All.I16(10)) - All.I16(6); // negative: mirrored
  F.Height = double(All.I16(12)) - All.I16(8);
  F.PixelWidth = std::llround(std::abs(F.Width) * 96.0 / Inch);
  F.PixelHeight = std::llround(std::abs(F.Height) * 96.0 / Inch);
  return F;
}

} // namespace

void TMetafile::Clear() {
  FData.clear();
  FFrame = {};
}

void TMetafile::LoadFromFile(const QString& FileName) {
  QFile File(FileName);
  if (!File.open(QIODevice::ReadOnly)) InvalidGraphic(FileName, "cannot open the file");
  LoadFromDevice(File, FileName);
}

void TMetafile::LoadFromDevice(QIODevice& Device, const QString& Name) {
  Clear();
  const QByteArray Bytes = Device.readAll();
  std::vector<uint8_t> Data(Bytes.begin(), Bytes.end());
  if (!IsEmf(Data) && !IsPlaceableWmf(Data))
    InvalidGraphic(Name, "not a metafile (or a Windows metafile without its placeable header)");
  TMetafileFrame Frame;
  try {
    Frame = ReadFrame(Data);
  } catch (const TBadRecord&) {
    InvalidGraphic(Name, "malformed metafile header");
  }
  CheckReadSize(Frame.PixelWidth, Frame.PixelHeight, Name);
  if (Frame.PixelWidth * Frame.PixelHeight > MinPictureCells)
    CheckExpansion(Frame.PixelWidth * Frame.PixelHeight, int64_t(Data.size()), PicturePixelsPerByte, Name);

  // Every record is read once now, so that drawing meets no surprise.
  try {
    TPlayer Checker(nullptr, Name);
    if (IsEmf(Data))
      PlayEmf(Data, Checker);
    else
      PlayWmf(Data, Checker);
  } catch (const TBadRecord&) {
    InvalidGraphic(Name, "malformed metafile record");
  }
  FData = std::move(Data);
  FFrame = Frame;
}

void TMetafile::Draw(TBitmap& Target, int X, int Y) const { StretchDraw(Target, Bounds(X, Y, Width(), Height())); }

void TMetafile::StretchDraw(TBitmap& Target, const TRect& R) const {
  if (FData.empty() || Target.Empty() || R.IsEmpty()) return;
  TCanvas& Canvas = Target.Canvas();
  const TPen Pen = Canvas.Pen;
  const TBrush Brush = Canvas.Brush;
  const TFont Font = Canvas.Font;
  TPlayer Player(&Canvas, QString());
  try {
    if (Enhanced()) {
      const TEmfHeader H = ReadEmfHeader(FData);
      Player.PxPerMmX = H.PxPerMmX;
      Player.PxPerMmY = H.PxPerMmY;
      Player.Sx = R.Width() / FFrame.Width;
      Player.Sy = R.Height() / FFrame.Height;
      Player.Ox = R.Left - FFrame.Left * Player.Sx;
      Player.Oy = R.Top - FFrame.Top * Player.Sy;
      Player.Objects.resize(H.Handles);
      PlayEmf(FData, Player);
    } else {
      TDcState& S = Player.S;
      S.MapMode = 8;
      S.WinOrgX = FFrame.Left, S.WinOrgY = FFrame.Top, S.WinExtX = FFrame.Width, S.WinExtY = FFrame.Height;
      S.VpOrgX = R.Left, S.VpOrgY = R.Top, S.VpExtX = R.Width(), S.VpExtY = R.Height();
      Player.Objects.resize(TRecord(FData.data(), FData.size()).U16(PlaceableSize + 10));
      PlayWmf(FData, Player);
    }
  } catch (const TBadRecord&) {
    // Checked when loaded: nothing left to report.
  } catch (const TBudgetSpent&) {
    // What was painted so far stays.
  }
  Canvas.Pen = Pen;
  Canvas.Brush = Brush;
  Canvas.Font = Font;
  Target.Changed();
}

bool TMetafile::Enhanced() const { return IsEmf(FData); }
