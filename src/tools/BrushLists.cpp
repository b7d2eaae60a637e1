#include "tools/BrushLists.h"

#include "files/BmpOE2.h"
#include "files/FindFiles.h"
#include "platform/Rounding.h"
#include "raster/ColorFill.h"
#include "raster/FoncUtils.h"
#include "raster/ImgUtils.h"
#include "raster/ImgUtils24.h"
#include "tools/FiltresOutils24.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace {

constexpr int PreviewSide = BrushListRowHeight - 4;

// A strip of square cells: H within 3..400, W at most 2400, a whole number
// of cells. The same rule for brushes and nozzles.
bool StripShapeAccepted(int W, int H) { return H >= 3 && H <= 400 && W <= 2400 && W >= H && W % H == 0; }

// The size a preview of W x H takes in a list row: fitted into the row's
// square, each side at least 2, the bitmap's own size when it is smaller.
void PreviewSize(int W, int H, int& PW, int& PH) {
  PW = W;
  PH = H;
  FitSize(PW, PH, PreviewSide, PreviewSide);
  PW = std::max(PW, 2);
  PH = std::max(PH, 2);
  if (W < PW || H < PH) {
    PW = W;
    PH = H;
  }
}

void MirrorGrey(TBmp8& Grey, bool Horizontal) {
  TBitmap Bitmap;
  Grey.AssignTo(Bitmap);
  if (Horizontal)
    FlipBitmapHorizontal(Bitmap);
  else
    FlipBitmapVertical(Bitmap);
  Grey.Assign(&Bitmap);
}

} // namespace

bool TBrushList::AddBitmap(TBitmap& Bitmap) {
  if (Full() || std::min(Bitmap.Width(), Bitmap.Height()) < 3 || std::max(Bitmap.Width(), Bitmap.Height()) > 400)
    return false;
  Bitmap.SetPixelFormat(pf24bit);
  const TRect Whole = Rect(0, 0, Bitmap.Width(), Bitmap.Height());
  ReplaceColor24(Bitmap, clWhite, clWhite, 7, Whole);
  const TRect Crop = AutoCropRect(Bitmap, 0, clWhite);
  if (Crop.Right <= Crop.Left || Crop.Bottom <= Crop.Top) return false;
  if (Crop != Whole) {
    TBitmap Cropped(Crop.Width(), Crop.Height());
    Cropped.Canvas().CopyRect(Rect(0, 0, Crop.Width(), Crop.Height()), Bitmap.Canvas(), Crop);
    Bitmap.Swap(Cropped);
  }
  const int W = Bitmap.Width(), H = Bitmap.Height();
  int PW = 0, PH = 0;
  PreviewSize(W, H, PW, PH);
  auto Item = std::make_unique<TBmpListItem>();
  Item->Mask.Assign(&Bitmap);
  if (PW < W) StretchBitmapInPlace(PW, PH, TStretchMode::smBicubic, Bitmap);
  Item->Preview.Assign(&Bitmap);
  Add(QString::number(std::max(W, H)), std::move(Item));
  return true;
}

bool TBrushList::AddStrip(const TBitmap& Bitmap) {
  const int W = Bitmap.Width(), H = Bitmap.Height();
  if (Full() || !StripShapeAccepted(W, H)) return false;
  // A whole number of square cells: one brush per cell (a single square is
  // one brush); cells past the cap are dropped by AddBitmap.
  for (int Left = 0; Left + H <= W && !Full(); Left += H) {
    TBitmap Cell(H, H);
    Cell.Canvas().CopyRect(Rect(0, 0, H, H), Bitmap.Canvas(), Rect(Left, 0, Left + H, H));
    AddBitmap(Cell);
  }
  return true;
}

bool TBrushList::LoadFile(const QString& FileName) {
  if (Full()) return false;
  TBitmap Bitmap;
  bool Accepted = TryLoadPngBitmap(FileName, Bitmap);
  if (Accepted) {
    Bitmap.SetPixelFormat(pf24bit);
    Accepted = AddStrip(Bitmap);
  }
  if (!Accepted) SkippedFiles << FileName;
  return Accepted;
}

bool TBrushList::LoadBrushes(const QString& Folder, const QString& Name, bool ClearFirst) {
  const QString FileName = QDir(Folder).filePath(Name + QStringLiteral(".png"));
  if (!QFileInfo(FileName).isFile()) return false;
  if (ClearFirst) Clear();
  LoadFile(FileName);
  if (Count() > 0) ItemIndex = 0;
  CurrentFile = QFileInfo(FileName).completeBaseName();
  return true;
}

void TBrushList::LoadBrushSet(const QString& Folder, const QString& Name) {
  Clear();
  if (!Name.isEmpty()) LoadBrushes(Folder, Name, false);
  if (Count() == 0) LoadBrushes(Folder, QStringLiteral("Default"), false);
  if (Count() == 0) AddDefaultBrushes();
}

void TBrushList::AddDefaultBrushes() {
  for (int I = 0; I < BuiltInBrushCount; ++I) {
    TBitmap Glyph;
    BuiltInBrushGlyph(I, Glyph);
    AddBitmap(Glyph);
  }
  ItemIndex = Count() > 0 ? 0 : -1;
}

void TBrushList::MirrorSelected(bool Horizontal) {
  if (ItemIndex < 0 || ItemIndex >= Count()) return;
  MirrorGrey(Item(ItemIndex).Mask, Horizontal);
  MirrorGrey(Item(ItemIndex).Preview, Horizontal);
}

bool TBrushList::BrushStamp(int Scale, TBitmap& Stamp) const {
  if (ItemIndex < 0 || ItemIndex >= Count()) return false;
  Item(ItemIndex).Mask.AssignTo(Stamp);
  if (Scale != 100)
    StretchBitmapInPlace(std::max(1, Round(Stamp.Width() * Scale / 100.0)),
                         std::max(1, Round(Stamp.Height() * Scale / 100.0)), TStretchMode::smBicubic, Stamp);
  return true;
}

bool TNozzleList::Add(const TBitmap& Strip, const QString& FileName) {
  const int W = Strip.Width(), H = Strip.Height();
  if (Full() || Strip.PixelFormat() != pf32bit || !StripShapeAccepted(W, H)) return false;
  int PW = 0, PH = 0;
  PreviewSize(H, H, PW, PH);
  auto Item = std::make_unique<TNozzleListItem>();
  TBitmap White(H, H, pf24bit, clWhite);
  Item->Preview.Swap(White);
  NozzleBrush24(Strip, 0, Item->Preview, nullptr, H / 2, H / 2, 100, 1.0, Rect(0, 0, H, H));
  if (PW < H) StretchBitmapInPlace(PW, PH, TStretchMode::smBicubic, Item->Preview);
  Item->FileName = FileName;
  Item->ImageHeight = H;
  TOwnedList::Add(QString::number(H), std::move(Item));
  return true;
}

bool TNozzleList::LoadFile(const QString& FileName) {
  if (Full()) return false;
  TBitmap Strip;
  const bool Accepted = TryLoadPngBitmap(FileName, Strip) && Add(Strip, FileName);
  if (!Accepted) SkippedFiles << FileName;
  return Accepted;
}

void TNozzleList::LoadFolder(const QString& Folder) {
  if (const std::optional<QStringList> Files = FindFiles(Folder, QStringLiteral("*.png"), false))
    for (const QString& File : *Files) LoadFile(File);
  if (Count() > 0 && ItemIndex < 0) ItemIndex = 0;
}

bool TNozzleList::LoadSelectedStrip(TBitmap& Strip) const {
  if (ItemIndex < 0 || ItemIndex >= Count()) return false;
  return TryLoadPngBitmap(Item(ItemIndex).FileName, Strip);
}

QStringList BrushFileNames(const QString& Folder) {
  QStringList Names;
  if (const std::optional<QStringList> Files = FindFiles(Folder, QStringLiteral("*.png"), false))
    for (const QString& File : *Files) {
      const QString Name = QFileInfo(File).completeBaseName();
      if (Name.compare(QStringLiteral("default"), Qt::CaseInsensitive) != 0) Names << Name;
    }
  return Names;
}

void BuiltInBrushGlyph(int Index, TBitmap& Glyph) {
  constexpr int Side = 21, C = Side / 2;
  Glyph.SetPixelFormat(pf24bit);
  Glyph.SetSize(Side, Side);
  // The darkness (0..1) of the pixel at (X, Y) from the centre.
  auto Darkness = [Index](int X, int Y) -> double {
    const double D = std::sqrt(double(X * X + Y * Y));
    switch (Index) {
    case 0: return D <= 9.5 ? 1.0 : 0.0;                         // disc
    case 1: return std::clamp(1.0 - D / 10.0, 0.0, 1.0);         // soft disc
    case 2: return std::abs(X) <= 7 && std::abs(Y) <= 7 ? 1 : 0; // square
    case 3: return (std::abs(X) <= 1 || std::abs(Y) <= 1 || std::abs(X) == std::abs(Y)) && D <= 10 ? 1 : 0; // star
    case 4: return std::abs(X + Y) <= 1 && D <= 10 ? 1.0 : 0.0;  // slanted stroke
    default: return ((X + 10) % 5 == 0 && (Y + 10) % 5 == 0) ? 1.0 : 0.0; // dots
    }
  };
  for (int Y = 0; Y < Side; ++Y) {
    uint8_t* Row = Glyph.ScanLine(Y);
    for (int X = 0; X < Side; ++X) {
      const uint8_t Grey = uint8_t(Round(255 * (1 - Darkness(X - C, Y - C))));
      Row[3 * X] = Row[3 * X + 1] = Row[3 * X + 2] = Grey;
    }
  }
}
