#include "files/GifImage.h"

#include "files/ReadLimits.h"
#include "platform/SafeFile.h"
#include "platform/Win1252.h"

#include <QFile>

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <exception>

namespace {

// The most pixels LZW data can stand for: 8192 pixels per 3 bytes. Codes
// are at most 12 bits wide, and a code of w bits names one of fewer than 2^w
// table entries, whose string is never longer than its entry's number (each
// entry adds one pixel to an earlier one). So a code yields at most 2^w
// pixels for its w bits, and 2^w / w is largest at w = 12: 4096 pixels per
// 12 bits, or 8192 per 3 bytes. The sub-blocks' length bytes carry no code.
// Real data comes close: strings grown to the full table and its last code
// repeated give 4091 pixels per 12 bits.
constexpr int64_t MaxLzwPixels = 8192;
constexpr int64_t PerLzwBytes = 3;

// A screen is bounded by the pixels its frames really produced: the frame
// player fills one cell per screen pixel, so a screen may have at most this
// many cells per frame pixel (room for a transparent margin), or any size up
// to MinScreenCells.
constexpr int64_t ScreenCellsPerFramePixel = 4;
constexpr int64_t MinScreenCells = int64_t(1) << 20;

// Rows of an interlaced image in the order they are stored.
template <class F> void ForEachStoredRow(int Height, bool Interlaced, F&& Row) {
  if (!Interlaced) {
    for (int Y = 0; Y < Height; ++Y) Row(Y);
    return;
  }
  static constexpr int Start[4] = {0, 4, 2, 1};
  static constexpr int Step[4] = {8, 8, 4, 2};
  for (int Pass = 0; Pass < 4; ++Pass)
    for (int Y = Start[Pass]; Y < Height; Y += Step[Pass]) Row(Y);
}

TPalette MapFromGif(const ColorMapObject* Map) {
  TPalette P;
  if (!Map || !Map->Colors) return P;
  for (int I = 0; I < Map->ColorCount && I < 256; ++I)
    P.push_back(PaletteEntry(Map->Colors[I].Red, Map->Colors[I].Green, Map->Colors[I].Blue));
  return P;
}

struct TGifReader {
  QIODevice* Device;
};

int ReadFromDevice(GifFileType* Gif, GifByteType* Buffer, int Length) {
  auto* Reader = static_cast<TGifReader*>(Gif->UserData);
  const qint64 N = Reader->Device->read(reinterpret_cast<char*>(Buffer), Length);
  return N < 0 ? 0 : static_cast<int>(N);
}

// The bytes of LZW data in the sub-blocks that start at the device's
// position (up to the end of the file when their terminator is missing);
// the position is left as it was.
int64_t LzwDataBytes(QIODevice& Device) {
  const qint64 Start = Device.pos(), End = Device.size();
  int64_t Bytes = 0;
  char Length = 0;
  while (Device.getChar(&Length) && Length != 0) {
    const qint64 Next = std::min<qint64>(Device.pos() + uint8_t(Length), End);
    Bytes += Next - Device.pos();
    if (!Device.seek(Next)) break;
  }
  Device.seek(Start);
  return Bytes;
}

// Decodes the frame's rows, growing its pixels one row at a time: data that
// breaks off has touched no more memory than the rows it really produced.
// An interlaced frame is decoded in the order of its rows, then put in place.
template <class F> void DecodeFrameRows(GifFileType* Gif, TGIFFrame& Frame, F&& Fail) {
  const size_t W = static_cast<size_t>(Frame.Width), H = static_cast<size_t>(Frame.Height);
  // No reservation of the whole frame: the vector's geometric growth keeps
  // the memory touched in step with the rows decoded.
  std::vector<uint8_t> Stored;
  for (size_t Row = 0; Row < H; ++Row) {
    Stored.resize(Stored.size() + W);
    if (DGifGetLine(Gif, Stored.data() + Row * W, Frame.Width) == GIF_ERROR) Fail(Gif->Error);
  }
  if (!Frame.Interlaced) {
    Frame.Pixels = std::move(Stored);
    return;
  }
  Frame.Pixels.resize(W * H);
  size_t Row = 0;
  ForEachStoredRow(Frame.Height, true, [&](int Y) {
    std::memcpy(Frame.Pixels.data() + static_cast<size_t>(Y) * W, Stored.data() + Row++ * W, W);
  });
}

struct TGifWriter {
  TSafeFile* File;
  std::exception_ptr Error;
};

// giflib is C: an exception must not cross it, so it is kept and rethrown.
int WriteToSafeFile(GifFileType* Gif, const GifByteType* Buffer, int Length) {
  auto* Writer = static_cast<TGifWriter*>(Gif->UserData);
  if (Writer->Error) return 0;
  try {
    Writer->File->Write(Buffer, static_cast<size_t>(Length));
    return Length;
  } catch (...) {
    Writer->Error = std::current_exception();
    return 0;
  }
}

struct TGifCloser {
  GifFileType* Gif = nullptr;
  bool Decoder = true;
  ~TGifCloser() {
    if (!Gif) return;
    int Error = 0;
    if (Decoder)
      DGifCloseFile(Gif, &Error);
    else
      EGifCloseFile(Gif, &Error);
  }
};

// A giflib colour map of a power-of-two size (at least 2) that holds Palette
// and covers every index up to MaxIndex; the added entries are black.
ColorMapObject* MakeGifMap(const TPalette& Palette, int MaxIndex) {
  const int Needed = std::max({static_cast<int>(Palette.size()), MaxIndex + 1, 2});
  int Size = 2;
  while (Size < Needed) Size *= 2;
  std::vector<GifColorType> Colors(static_cast<size_t>(Size), GifColorType{0, 0, 0});
  for (size_t I = 0; I < Palette.size() && I < Colors.size(); ++I)
    Colors[I] = {static_cast<GifByteType>((Palette[I] >> 16) & 0xFF),
                 static_cast<GifByteType>((Palette[I] >> 8) & 0xFF), static_cast<GifByteType>(Palette[I] & 0xFF)};
  return GifMakeMapObject(Size, Colors.data());
}

std::string GifError(int Code) {
  const char* Text = GifErrorString(Code);
  return Text ? Text : "error " + std::to_string(Code);
}

// Throws the reading error of Code, telling a file of another format and one
// cut short from the other faults.
[[noreturn]] void FailedRead(const QString& Name, int Code) {
  const std::string Reason = "GIF: " + GifError(Code);
  if (Code == D_GIF_ERR_NOT_GIF_FILE) NotItsFormat(Name, Reason);
  if (Code == D_GIF_ERR_READ_FAILED || Code == D_GIF_ERR_EOF_TOO_SOON) TruncatedGraphic(Name, Reason);
  InvalidGraphic(Name, Reason);
}

int MaxIndexOf(const std::vector<uint8_t>& Pixels) {
  return Pixels.empty() ? 0 : *std::max_element(Pixels.begin(), Pixels.end());
}

// The frame of a bitmap: its palette kept for palette formats, else reduced.
void FrameFromBitmap(const TGIFImage& Gif, const TBitmap& Bitmap, TGIFFrame& Frame) {
  TBitmap Indexed;
  const TPixelFormat F = Bitmap.PixelFormat();
  if ((F == pf1bit || F == pf4bit || F == pf8bit) && !Bitmap.Palette().empty()) {
    Indexed.Assign(Bitmap);
    Indexed.SetPixelFormat(pf8bit);
  } else {
    ReduceColors(Bitmap, Gif.ColorReduction, Gif.DitherMode, Gif.ReductionBits, &Gif.ReductionPalette, Indexed);
  }
  Frame = TGIFFrame{};
  Frame.Width = Indexed.Width();
  Frame.Height = Indexed.Height();
  Frame.ColorMap = Indexed.Palette();
  Frame.Pixels.resize(static_cast<size_t>(Frame.Width) * static_cast<size_t>(Frame.Height));
  for (int Y = 0; Y < Frame.Height; ++Y)
    std::memcpy(Frame.Pixels.data() + static_cast<size_t>(Y) * static_cast<size_t>(Frame.Width), Indexed.ScanLine(Y),
                static_cast<size_t>(Frame.Width));
  if (Bitmap.Transparent && !Frame.ColorMap.empty()) {
    TGIFGraphicControl Control;
    Control.Transparent = true;
    Control.TransparentIndex = static_cast<uint8_t>(NearestPaletteIndex(Frame.ColorMap, Bitmap.TransparentColor()));
    Frame.SetGraphicControl(Control);
  }
}

} // namespace

std::vector<uint8_t> TGIFExtension::Data() const {
  std::vector<uint8_t> Bytes;
  for (const auto& B : Blocks) Bytes.insert(Bytes.end(), B.begin(), B.end());
  return Bytes;
}

TGIFExtension TGIFExtension::Make(uint8_t Label, const std::vector<uint8_t>& Bytes) {
  TGIFExtension E;
  E.Label = Label;
  for (size_t I = 0; I < Bytes.size(); I += 255)
    E.Blocks.emplace_back(Bytes.begin() + static_cast<ptrdiff_t>(I),
                          Bytes.begin() + static_cast<ptrdiff_t>(std::min(Bytes.size(), I + 255)));
  return E;
}

std::optional<TGIFGraphicControl> TGIFFrame::GraphicControl() const {
  for (const TGIFExtension& E : Extensions) {
    if (E.Label != GifGraphicControlLabel) continue;
    if (E.Blocks.empty() || E.Blocks[0].size() < 4) return std::nullopt;
    const auto& B = E.Blocks[0];
    TGIFGraphicControl C;
    C.Disposal = (B[0] >> 2) & 7;
    C.UserInput = (B[0] & 2) != 0;
    C.Transparent = (B[0] & 1) != 0;
    C.Delay = static_cast<uint16_t>(B[1] | (B[2] << 8));
    C.TransparentIndex = B[3];
    return C;
  }
  return std::nullopt;
}

void TGIFFrame::SetGraphicControl(const TGIFGraphicControl& Control) {
  TGIFExtension E;
  E.Label = GifGraphicControlLabel;
  E.Blocks.push_back({static_cast<uint8_t>(((Control.Disposal & 7) << 2) | (Control.UserInput ? 2 : 0) |
                                           (Control.Transparent ? 1 : 0)),
                      static_cast<uint8_t>(Control.Delay & 0xFF), static_cast<uint8_t>(Control.Delay >> 8),
                      Control.TransparentIndex});
  for (TGIFExtension& Existing : Extensions)
    if (Existing.Label == GifGraphicControlLabel) {
      Existing = E;
      return;
    }
  Extensions.push_back(E);
}

void TGIFImage::Clear() {
  Width = Height = 0;
  BackgroundIndex = 0;
  GlobalColorMap.clear();
  Frames.clear();
}

const TPalette& TGIFImage::ActiveColorMap(const TGIFFrame& Frame) const {
  return Frame.ColorMap.empty() ? GlobalColorMap : Frame.ColorMap;
}

TPalette& TGIFImage::ActiveColorMap(TGIFFrame& Frame) {
  return Frame.ColorMap.empty() ? GlobalColorMap : Frame.ColorMap;
}

int TGIFImage::ImageCount() const {
  return static_cast<int>(std::count_if(Frames.begin(), Frames.end(), [](const TGIFFrame& F) { return !F.Empty(); }));
}

void TGIFImage::LoadFromFile(const QString& FileName) {
  QFile File(FileName);
  if (!File.open(QIODevice::ReadOnly)) InvalidGraphic(FileName, "cannot open the file");
  LoadFromDevice(File, FileName);
}

void TGIFImage::LoadFromDevice(QIODevice& Device, const QString& Name) {
  TGifReader Reader{&Device};
  int Error = 0;
  TGifCloser Closer{DGifOpen(&Reader, ReadFromDevice, &Error), true};
  GifFileType* Gif = Closer.Gif;
  const auto Fail = [&](int Code) { FailedRead(Name, Code); };
  if (!Gif) Fail(Error);

  std::vector<TGIFFrame> Read;
  std::vector<TGIFExtension> Pending;
  for (bool Done = false; !Done;) {
    GifRecordType Record;
    if (DGifGetRecordType(Gif, &Record) == GIF_ERROR) Fail(Gif->Error);
    switch (Record) {
    case IMAGE_DESC_RECORD_TYPE: {
      if (DGifGetImageDesc(Gif) == GIF_ERROR) Fail(Gif->Error);
      const GifImageDesc& D = Gif->Image;
      CheckReadSize(D.Width, D.Height, Name);
      CheckExpansion(int64_t{D.Width} * D.Height, LzwDataBytes(Device), MaxLzwPixels, PerLzwBytes, Name);
      TGIFFrame Frame;
      Frame.Left = D.Left;
      Frame.Top = D.Top;
      Frame.Width = D.Width;
      Frame.Height = D.Height;
      Frame.Interlaced = D.Interlace;
      Frame.ColorMap = MapFromGif(D.ColorMap);
      DecodeFrameRows(Gif, Frame, Fail);
      Frame.Extensions = std::move(Pending);
      Pending.clear();
      Read.push_back(std::move(Frame));
      break;
    }
    case EXTENSION_RECORD_TYPE: {
      int Code = 0;
      GifByteType* Block = nullptr;
      if (DGifGetExtension(Gif, &Code, &Block) == GIF_ERROR) Fail(Gif->Error);
      TGIFExtension E;
      E.Label = static_cast<uint8_t>(Code);
      while (Block) {
        if (Block[0] > 0) E.Blocks.emplace_back(Block + 1, Block + 1 + Block[0]);
        if (DGifGetExtensionNext(Gif, &Block) == GIF_ERROR) Fail(Gif->Error);
      }
      Pending.push_back(std::move(E));
      break;
    }
    case TERMINATE_RECORD_TYPE:
      Done = true;
      break;
    default:
      break;
    }
  }
  if (!Pending.empty()) {
    TGIFFrame Trailing;
    Trailing.Extensions = std::move(Pending);
    Read.push_back(std::move(Trailing));
  }
  if (std::none_of(Read.begin(), Read.end(), [](const TGIFFrame& F) { return !F.Empty(); }))
    InvalidGraphic(Name, "GIF: no image");

  // The logical screen the frames are drawn on, as the file gives it when
  // its frames account for it; otherwise (missing, or far larger than what
  // the frames produced) the span of the frames, which must fit too.
  int64_t FramePixels = 0, SpanW = 0, SpanH = 0;
  for (const TGIFFrame& F : Read) {
    FramePixels += int64_t{F.Width} * F.Height;
    if (F.Empty()) continue;
    SpanW = std::max<int64_t>(SpanW, int64_t{F.Left} + F.Width);
    SpanH = std::max<int64_t>(SpanH, int64_t{F.Top} + F.Height);
  }
  const int64_t MaxCells = std::min(MaxReadPixels, std::max(MinScreenCells, FramePixels * ScreenCellsPerFramePixel));
  const auto Fits = [&](int64_t W, int64_t H) { return W > 0 && H > 0 && W * H <= MaxCells; };
  int64_t ScreenW = Gif->SWidth, ScreenH = Gif->SHeight;
  if (!Fits(ScreenW, ScreenH)) {
    ScreenW = SpanW;
    ScreenH = SpanH;
    if (!Fits(ScreenW, ScreenH)) InvalidGraphic(Name, "GIF: the frames span a screen too large for their pixels");
  }

  Clear();
  Width = static_cast<int>(ScreenW);
  Height = static_cast<int>(ScreenH);
  BackgroundIndex = static_cast<uint8_t>(Gif->SBackGroundColor);
  GlobalColorMap = MapFromGif(Gif->SColorMap);
  Frames = std::move(Read);
}

void TGIFImage::SaveToFile(const QString& FileName) const {
  TSafeFile File(FileName);
  TGifWriter Writer{&File, nullptr};
  int Error = 0;
  TGifCloser Closer{EGifOpen(&Writer, WriteToSafeFile, &Error), false};
  GifFileType* Gif = Closer.Gif;
  const auto Fail = [&](int Code) {
    if (Writer.Error) std::rethrow_exception(Writer.Error);
    InvalidGraphic(FileName, std::string("GIF: ") + GifError(Code));
  };
  if (!Gif) Fail(Error);

  int ScreenW = Width, ScreenH = Height;
  bool HasExtensions = false;
  for (const TGIFFrame& F : Frames) {
    HasExtensions = HasExtensions || !F.Extensions.empty();
    if (F.Empty()) continue;
    ScreenW = std::max(ScreenW, F.Left + F.Width);
    ScreenH = std::max(ScreenH, F.Top + F.Height);
  }
  if (ScreenW <= 0 || ScreenH <= 0 || ScreenW > 65535 || ScreenH > 65535)
    InvalidGraphic(FileName, "GIF: no image or an image too large for the format");
  EGifSetGifVersion(Gif, HasExtensions);

  // The global map covers the indices of the frames that use it.
  int GlobalMax = BackgroundIndex;
  for (const TGIFFrame& F : Frames)
    if (!F.Empty() && F.ColorMap.empty()) GlobalMax = std::max(GlobalMax, MaxIndexOf(F.Pixels));
  ColorMapObject* Global = GlobalColorMap.empty() ? nullptr : MakeGifMap(GlobalColorMap, GlobalMax);
  const int PutScreen =
      EGifPutScreenDesc(Gif, ScreenW, ScreenH, Global ? Global->BitsPerPixel : 8, Global ? BackgroundIndex : 0, Global);
  GifFreeMapObject(Global);
  if (PutScreen == GIF_ERROR) Fail(Gif->Error);

  std::vector<GifPixelType> Line;
  for (const TGIFFrame& F : Frames) {
    for (const TGIFExtension& E : F.Extensions) {
      if (EGifPutExtensionLeader(Gif, E.Label) == GIF_ERROR) Fail(Gif->Error);
      for (const auto& B : E.Blocks)
        if (!B.empty() &&
            EGifPutExtensionBlock(Gif, static_cast<int>(std::min<size_t>(B.size(), 255)), B.data()) == GIF_ERROR)
          Fail(Gif->Error);
      if (EGifPutExtensionTrailer(Gif) == GIF_ERROR) Fail(Gif->Error);
    }
    if (F.Empty()) continue;
    if (F.Pixels.size() != static_cast<size_t>(F.Width) * static_cast<size_t>(F.Height) || F.Left < 0 || F.Top < 0)
      InvalidGraphic(FileName, "GIF: a frame's size does not match its pixels");
    if (F.ColorMap.empty() && GlobalColorMap.empty()) InvalidGraphic(FileName, "GIF: a frame has no colour map");
    ColorMapObject* Local = F.ColorMap.empty() ? nullptr : MakeGifMap(F.ColorMap, MaxIndexOf(F.Pixels));
    const int PutImage = EGifPutImageDesc(Gif, F.Left, F.Top, F.Width, F.Height, F.Interlaced, Local);
    GifFreeMapObject(Local);
    if (PutImage == GIF_ERROR) Fail(Gif->Error);
    Line.resize(static_cast<size_t>(F.Width));
    ForEachStoredRow(F.Height, F.Interlaced, [&](int Y) {
      // giflib masks the line in place: hand it a copy.
      std::memcpy(Line.data(), F.Pixels.data() + static_cast<size_t>(Y) * static_cast<size_t>(F.Width),
                  static_cast<size_t>(F.Width));
      if (EGifPutLine(Gif, Line.data(), F.Width) == GIF_ERROR) Fail(Gif->Error);
    });
  }
  Closer.Gif = nullptr;
  if (EGifCloseFile(Gif, &Error) == GIF_ERROR) {
    if (Writer.Error) std::rethrow_exception(Writer.Error);
    InvalidGraphic(FileName, std::string("GIF: ") + GifError(Error));
  }
  File.Commit();
}

void TGIFImage::Assign(const TBitmap& Bitmap) {
  TGIFFrame Frame;
  FrameFromBitmap(*this, Bitmap, Frame);
  Clear();
  Width = Frame.Width;
  Height = Frame.Height;
  GlobalColorMap = std::move(Frame.ColorMap);
  Frame.ColorMap.clear();
  if (!Frame.Empty()) Frames.push_back(std::move(Frame));
}

TGIFFrame& TGIFImage::AddFrame(const TBitmap& Bitmap) {
  TGIFFrame Frame;
  FrameFromBitmap(*this, Bitmap, Frame);
  Frames.push_back(std::move(Frame));
  return Frames.back();
}

void TGIFImage::FrameToBitmap(int Index, TBitmap& Bitmap) const {
  if (Index < 0 || Index >= static_cast<int>(Frames.size())) return;
  const TGIFFrame& F = Frames[static_cast<size_t>(Index)];
  TPalette Map = ActiveColorMap(F);
  const size_t Needed = static_cast<size_t>(MaxIndexOf(F.Pixels)) + 1;
  if (Map.size() < Needed) Map.resize(Needed, PaletteEntry(0, 0, 0));
  TBitmap Out;
  Out.SetPixelFormat(pf8bit);
  Out.SetPalette(Map);
  Out.Canvas().Brush.Color = clBlack;
  Out.SetSize(F.Width, F.Height);
  for (int Y = 0; Y < Out.Height(); ++Y)
    std::memcpy(Out.ScanLine(Y), F.Pixels.data() + static_cast<size_t>(Y) * static_cast<size_t>(F.Width),
                static_cast<size_t>(F.Width));
  Bitmap.Swap(Out);
  Bitmap.Transparent = false;
  Bitmap.SetTransparentColor(clDefault);
  Bitmap.Changed();
}

void TGIFImage::OptimizeColorMaps() {
  const auto Optimize = [this](TPalette& Map, const std::vector<TGIFFrame*>& Users, bool IsGlobal) {
    if (Map.empty()) return;
    // Indices beyond the map show black: give them black entries first.
    int MaxUsed = 0;
    for (const TGIFFrame* F : Users) MaxUsed = std::max(MaxUsed, MaxIndexOf(F->Pixels));
    if (Map.size() <= static_cast<size_t>(MaxUsed)) Map.resize(static_cast<size_t>(MaxUsed) + 1, PaletteEntry(0, 0, 0));
    std::vector<uint64_t> Uses(Map.size(), 0);
    std::vector<bool> Kept(Map.size(), false);
    for (TGIFFrame* F : Users) {
      for (uint8_t P : F->Pixels) ++Uses[P];
      if (auto C = F->GraphicControl(); C && C->Transparent) {
        if (C->TransparentIndex < Map.size()) {
          Kept[C->TransparentIndex] = true;
        } else {
          C->Transparent = false; // outside the map: it never made anything transparent
          F->SetGraphicControl(*C);
        }
      }
    }
    if (IsGlobal && BackgroundIndex < Map.size()) Kept[BackgroundIndex] = true;
    std::vector<int> Order;
    for (size_t I = 0; I < Map.size(); ++I)
      if (Kept[I] || Uses[I] > 0) Order.push_back(static_cast<int>(I));
    std::stable_sort(Order.begin(), Order.end(),
                     [&](int A, int B) { return Uses[static_cast<size_t>(A)] > Uses[static_cast<size_t>(B)]; });
    std::vector<uint8_t> Remap(Map.size(), 0);
    TPalette NewMap;
    for (size_t I = 0; I < Order.size(); ++I) {
      Remap[static_cast<size_t>(Order[I])] = static_cast<uint8_t>(I);
      NewMap.push_back(Map[static_cast<size_t>(Order[I])]);
    }
    for (TGIFFrame* F : Users) {
      for (uint8_t& P : F->Pixels) P = Remap[P];
      if (auto C = F->GraphicControl(); C && C->Transparent) {
        C->TransparentIndex = Remap[C->TransparentIndex];
        F->SetGraphicControl(*C);
      }
    }
    if (IsGlobal) BackgroundIndex = BackgroundIndex < Map.size() ? Remap[BackgroundIndex] : 0;
    Map = std::move(NewMap);
  };
  std::vector<TGIFFrame*> GlobalUsers;
  for (TGIFFrame& F : Frames)
    if (!F.Empty() && F.ColorMap.empty()) GlobalUsers.push_back(&F);
  Optimize(GlobalColorMap, GlobalUsers, true);
  for (TGIFFrame& F : Frames)
    if (!F.Empty() && !F.ColorMap.empty()) Optimize(F.ColorMap, {&F}, false);
}

QString GetGifComment(const TGIFImage& Gif) {
  if (Gif.Frames.empty()) return {};
  const TGIFFrame& Last = Gif.Frames.back();
  for (auto E = Last.Extensions.rbegin(); E != Last.Extensions.rend(); ++E) {
    if (E->Label != GifCommentLabel) continue;
    const std::vector<uint8_t> Bytes = E->Data();
    const auto End = std::find_if(Bytes.begin(), Bytes.end(), [](uint8_t C) { return C == '\r' || C == '\n'; });
    return FromWin1252(
        std::string_view(reinterpret_cast<const char*>(Bytes.data()), static_cast<size_t>(End - Bytes.begin())));
  }
  return {};
}

void AddGifComment(TGIFImage& Gif, const QString& Text) {
  if (Text.isEmpty() || Gif.Frames.empty()) return;
  const std::string Bytes = ToWin1252(Text) + "\r\n";
  const TGIFExtension Comment = TGIFExtension::Make(GifCommentLabel, std::vector<uint8_t>(Bytes.begin(), Bytes.end()));
  if (Gif.Frames.size() > 1) Gif.Frames.emplace_back();
  Gif.Frames.back().Extensions.push_back(Comment);
}
