#include "extensions/Plg8bf.h"

#include "extensions/Plg8bfHostApi.h"
#include "platform/Bitmap.h"
#include "platform/Rounding.h"
#include "raster/FilterEvent.h"
#include "raster/RectUtils.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

struct TPlg8bfBridge::TApi {
  T8bfGetVersion GetVersion = nullptr;
  T8bfSetPath SetPath = nullptr;
  T8bfPlugInEnumerate PlugInEnumerate = nullptr;
  T8bfSetRoi SetRoi = nullptr;
  T8bfSetImageOrientation SetImageOrientation = nullptr;
  T8bfSetImage SetImage = nullptr;
  T8bfSetMask SetMask = nullptr;
  T8bfReleaseAllImages ReleaseAllImages = nullptr;
  T8bfSetProgressCallBack SetProgressCallBack = nullptr;
  T8bfSetColorPickerCallBack SetColorPickerCallBack = nullptr;
  T8bfPlugInLoad PlugInLoad = nullptr;
  T8bfPlugInAbout PlugInAbout = nullptr;
  T8bfPlugInExecute PlugInExecute = nullptr;
};

// The C callbacks carry no context: they reach the bridge whose enumeration
// or run is under way through this one pointer.
struct TPlg8bfCallbacks {
  static inline TPlg8bfBridge* Current = nullptr;

  // Makes Bridge the callbacks' target for one call to the host.
  struct TScope {
    explicit TScope(TPlg8bfBridge& Bridge) { Current = &Bridge; }
    ~TScope() { Current = nullptr; }
  };

  static void Enumerate(const char* Category, const char* Name, const void*, const char16_t* FileName) {
    if (!Current || int(Current->FItems.size()) >= Plg8bfMaxItems) return;
    TPlg8bfItem Item;
    Item.Category = Category ? QString::fromLocal8Bit(Category).trimmed() : QString();
    // An empty category would give a submenu without a caption.
    if (Item.Category.isEmpty()) Item.Category = QStringLiteral("Unknown");
    Item.Name = Name ? QString::fromLocal8Bit(Name).trimmed() : QString();
    if (Item.Name.isEmpty()) Item.Name = Item.Category;
    Item.FullPath = FileName ? QString::fromUtf16(FileName) : QString();
    Current->FItems.push_back(std::move(Item));
  }

  static int32_t Progress(uint32_t Done, uint32_t Total) {
    // A total of 0 reports nothing done rather than dividing by zero; a host
    // counting past its total stops at 100 %.
    const int Percent = Total == 0 ? 0 : std::min(Round(double(Done) / double(Total) * 100.0), 100);
    return ProgressEvent(ProgressStageReport, Percent) ? 1 : 0;
  }

  static int32_t PickColor(int32_t* Color) {
    if (!Current || !Current->FColorPicker || !Color) return 0;
    TColor Chosen = clBlack;
    if (!Current->FColorPicker(Chosen)) return 0;
    // TColor is 0x00BBGGRR, the host wants 0x00RRGGBB.
    const auto C = uint32_t(ColorToRGB(Chosen));
    *Color = int32_t(((C & 0xFFu) << 16) | (C & 0xFF00u) | ((C >> 16) & 0xFFu));
    return -1;
  }
};

namespace {

// A QString's UTF-16 text as the host's wide-string type (the same bytes).
const char16_t* Utf16(const QString& S) { return reinterpret_cast<const char16_t*>(S.utf16()); }

} // namespace

TPlg8bfBridge::TPlg8bfBridge() = default;
TPlg8bfBridge::~TPlg8bfBridge() = default;

void TPlg8bfBridge::Set8bfHostPath(const QString& Folder, const QString& FileName) {
  const QString Dir = Folder.isEmpty() ? QCoreApplication::applicationDirPath() : Folder;
  const QString Name = FileName.isEmpty() ? QString::fromLatin1(Plg8bfHostDefaultName) : FileName;
  const QString Path = QDir(Dir).filePath(Name);
  FHostPath = QFileInfo(Path).isFile() ? Path : QString();
}

bool TPlg8bfBridge::Load8bfHost(const QString& Path) {
  Unload8bfHost();
  if (Path.isEmpty() || !FLibrary.Load(Path)) return false;
  auto Api = std::make_unique<TApi>();
  const auto Bind = [this](auto& Entry, const char* Name) {
    Entry = FLibrary.Function<std::remove_reference_t<decltype(Entry)>>(Name);
    return Entry != nullptr;
  };
  // In the contract's order; the first one missing refuses the library.
  const bool Bound = Bind(Api->GetVersion, "pspiGetVersion") && Bind(Api->SetPath, "pspiSetPath") &&
                     Bind(Api->PlugInEnumerate, "pspiPlugInEnumerate") && Bind(Api->SetRoi, "pspiSetRoi") &&
                     Bind(Api->SetImageOrientation, "pspiSetImageOrientation") &&
                     Bind(Api->SetImage, "pspiSetImage") && Bind(Api->SetMask, "pspiSetMask") &&
                     Bind(Api->ReleaseAllImages, "pspiReleaseAllImages") &&
                     Bind(Api->SetProgressCallBack, "pspiSetProgressCallBack") &&
                     Bind(Api->SetColorPickerCallBack, "pspiSetColorPickerCallBack") &&
                     Bind(Api->PlugInLoad, "pspiPlugInLoad") && Bind(Api->PlugInAbout, "pspiPlugInAbout") &&
                     Bind(Api->PlugInExecute, "pspiPlugInExecute");
  if (!Bound) {
    FLibrary.Unload();
    return false;
  }
  FApi = std::move(Api);
  return true;
}

void TPlg8bfBridge::Unload8bfHost() {
  FApi.reset();
  FLibrary.Unload();
}

void TPlg8bfBridge::Enumerate8bfPlugins(const QString& Folder) {
  FItems.clear();
  if (Load8bfHost(FHostPath)) {
    TPlg8bfCallbacks::TScope Scope(*this);
    FApi->SetPath(Utf16(Folder));
    FApi->PlugInEnumerate(&TPlg8bfCallbacks::Enumerate, 1);
  }
  Unload8bfHost();
  // Ordinal comparison without regard to case, not the locale's collation.
  std::stable_sort(FItems.begin(), FItems.end(), [](const TPlg8bfItem& A, const TPlg8bfItem& B) {
    if (const int C = A.Category.compare(B.Category, Qt::CaseInsensitive); C != 0) return C < 0;
    return A.Name.compare(B.Name, Qt::CaseInsensitive) < 0;
  });
}

QString TPlg8bfBridge::Plg8bfName(int Index) const {
  return Index >= 0 && Index < Plg8bfCount() ? FItems[size_t(Index)].Name : QString();
}

void TPlg8bfBridge::RegisterCallbacks(TColorPicker Picker) {
  FColorPicker = std::move(Picker);
  FCallbacksRegistered = true;
}

bool TPlg8bfBridge::RunHost(int Index, int Orientation, bool HasAlpha, int Width, int Height, void* Data,
                            int Stride) {
  if (!Load8bfHost(FHostPath)) return false;
  TPlg8bfCallbacks::TScope Scope(*this);
  if (FCallbacksRegistered) {
    FApi->SetColorPickerCallBack(&TPlg8bfCallbacks::PickColor);
    FApi->SetProgressCallBack(&TPlg8bfCallbacks::Progress);
  }
  FApi->SetImageOrientation(Orientation);
  FApi->SetImage(HasAlpha ? 1 : 0, Width, Height, Data, Stride, nullptr, 0);
  const bool Ok = FApi->PlugInLoad(Utf16(FItems[size_t(Index)].FullPath)) == 0 && FApi->PlugInExecute(FWindow) == 0;
  Unload8bfHost();
  return Ok;
}

bool TPlg8bfBridge::Run8bfOnBitmap(int Index, TBitmap* Bitmap) {
  if (Index < 0 || Index >= Plg8bfCount() || !Bitmap || Bitmap->Empty()) return false;
  const TPixelFormat Format = Bitmap->PixelFormat();
  if (Format != pf24bit && Format != pf32bit) return false;
  // Rows top-down when row 1 lies above row 0 in memory (or there is one
  // row); else the data address is the last row's, the lowest.
  const int H = Bitmap->Height();
  const bool TopDown = H == 1 || Bitmap->ScanLine(1) > Bitmap->ScanLine(0);
  uint8_t* Data = TopDown ? Bitmap->ScanLine(0) : Bitmap->ScanLine(H - 1);
  return RunHost(Index, TopDown ? 0 : 1, Format == pf32bit, Bitmap->Width(), H, Data, Bitmap->RowStride());
}

bool TPlg8bfBridge::Run8bfOnBuffer(int Index, int Width, int Height, uint8_t* Data, bool HasAlpha) {
  if (Index < 0 || Index >= Plg8bfCount() || !Data || Width <= 0 || Height <= 0) return false;
  return RunHost(Index, 0, HasAlpha, Width, Height, Data, Width * (HasAlpha ? 4 : 3));
}

bool TPlg8bfBridge::Run8bfOnRect(int Index, TBitmap& Bitmap, const TBitmap* Mask, const TRect& R, bool Alpha) {
  TRect Work = R;
  if (Bitmap.PixelFormat() != pf24bit || !ClipToBitmap(Work, Bitmap)) return false;
  const bool UseAlpha = Alpha && Mask && Mask->PixelFormat() == pf24bit && Mask->Width() == Bitmap.Width() &&
                        Mask->Height() == Bitmap.Height();
  const int W = Work.Width(), H = Work.Height(), Bpp = UseAlpha ? 4 : 3;
  std::vector<uint8_t> Buffer(size_t(W) * size_t(H) * size_t(Bpp));
  for (int Y = 0; Y < H; ++Y) {
    const uint8_t* Src = Bitmap.ScanLine(Work.Top + Y) + 3 * Work.Left;
    const uint8_t* M = UseAlpha ? Mask->ScanLine(Work.Top + Y) + 3 * Work.Left : nullptr;
    uint8_t* Dst = Buffer.data() + size_t(Y) * size_t(W) * size_t(Bpp);
    for (int X = 0; X < W; ++X, Src += 3, Dst += Bpp) {
      Dst[0] = Src[0];
      Dst[1] = Src[1];
      Dst[2] = Src[2];
      if (M) Dst[3] = uint8_t(255 - M[3 * X]);
    }
  }
  if (!Run8bfOnBuffer(Index, W, H, Buffer.data(), UseAlpha)) return false;
  // The alpha bytes stay in the buffer: the layer's transparency is kept.
  for (int Y = 0; Y < H; ++Y) {
    uint8_t* Dst = Bitmap.ScanLine(Work.Top + Y) + 3 * Work.Left;
    const uint8_t* Src = Buffer.data() + size_t(Y) * size_t(W) * size_t(Bpp);
    for (int X = 0; X < W; ++X, Src += Bpp, Dst += 3) {
      Dst[0] = Src[0];
      Dst[1] = Src[1];
      Dst[2] = Src[2];
    }
  }
  return true;
}
