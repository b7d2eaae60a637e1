#include "files/MyPngImage.h"

#include "files/BitmapRows.h"
#include "files/ReadLimits.h"
#include "platform/Rounding.h"
#include "platform/SafeFile.h"

#include <QFile>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <exception>

#include <png.h>

// Where the reader's bytes come from: memory, or a file read as libpng asks,
// never whole.
class TPngInput {
public:
  virtual ~TPngInput() = default;
  virtual int64_t Size() const = 0;
  // Length bytes from the current position; false at the end.
  virtual bool Read(uint8_t* Out, size_t Length) = 0;
  // The 8 bytes at At, without moving the current position.
  virtual bool Peek(int64_t At, uint8_t* Out) = 0;
  // A read asked for bytes beyond the end: the file is cut short.
  bool Exhausted = false;
};

// libpng reports errors by longjmp. Each phase below that calls it is a
// function with only trivial locals, so the jump skips no destructor; the
// C++ objects live in the callers.

namespace {

// Ancillary chunks may not make libpng allocate more than this.
constexpr png_alloc_size_t MaxChunkBytes = 16 << 20;

// Ancillary chunks the editor does not use: libpng skips them instead of
// checking them, so that a flaw in one of them cannot refuse the image.
constexpr png_byte IgnoredChunks[] = {'b',  'K',  'G',  'D',  '\0', 'c',  'H',  'R',  'M',  '\0', 'e',  'X',  'I',
                                      'f',  '\0', 'g',  'A',  'M',  'A',  '\0', 'h',  'I',  'S',  'T',  '\0', 'i',
                                      'C',  'C',  'P',  '\0', 'o',  'F',  'F',  's',  '\0', 'p',  'C',  'A',  'L',
                                      '\0', 's',  'C',  'A',  'L',  '\0', 's',  'B',  'I',  'T',  '\0', 's',  'P',
                                      'L',  'T',  '\0', 's',  'R',  'G',  'B',  '\0', 't',  'I',  'M',  'E',  '\0'};

struct TPngError {
  char Message[256];
};

[[noreturn]] void OnPngError(png_structp Png, png_const_charp Message) {
  auto* E = static_cast<TPngError*>(png_get_error_ptr(Png));
  std::snprintf(E->Message, sizeof E->Message, "%s", Message ? Message : "error");
  png_longjmp(Png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

// ---- Reading ------------------------------------------------------------------

class TPngMemoryInput : public TPngInput {
public:
  TPngMemoryInput(const uint8_t* Data, size_t Size) : FData(Data), FSize(Size) {}
  int64_t Size() const override { return static_cast<int64_t>(FSize); }
  bool Read(uint8_t* Out, size_t Length) override {
    if (FSize - FPos < Length) return false;
    std::memcpy(Out, FData + FPos, Length);
    FPos += Length;
    return true;
  }
  bool Peek(int64_t At, uint8_t* Out) override {
    if (At < 0 || static_cast<int64_t>(FSize) - At < 8) return false;
    std::memcpy(Out, FData + At, 8);
    return true;
  }

private:
  const uint8_t* FData;
  size_t FSize;
  size_t FPos = 0;
};

class TPngFileInput : public TPngInput {
public:
  explicit TPngFileInput(QFile& File) : FFile(File), FSize(File.size()) {}
  int64_t Size() const override { return FSize; }
  bool Read(uint8_t* Out, size_t Length) override {
    return FFile.read(reinterpret_cast<char*>(Out), static_cast<qint64>(Length)) == static_cast<qint64>(Length);
  }
  bool Peek(int64_t At, uint8_t* Out) override {
    const qint64 Pos = FFile.pos();
    const bool Done = At >= 0 && FSize - At >= 8 && FFile.seek(At) && FFile.read(reinterpret_cast<char*>(Out), 8) == 8;
    return FFile.seek(Pos) && Done;
  }

private:
  QFile& FFile;
  int64_t FSize;
};

void ReadFromSource(png_structp Png, png_bytep Out, size_t Length) {
  auto* Input = static_cast<TPngInput*>(png_get_io_ptr(Png));
  if (Input->Read(Out, Length)) return;
  Input->Exhausted = true;
  png_error(Png, "unexpected end of file");
}

struct TPngReader {
  png_structp Png = nullptr;
  png_infop Info = nullptr;
  TPngError Error{};
  TPngInput* Source = nullptr;
  int Passes = 1; // 7 for an interlaced image
  ~TPngReader() { png_destroy_read_struct(&Png, &Info, nullptr); }
};

bool ReadInfo(TPngReader& R) {
  if (setjmp(png_jmpbuf(R.Png))) return false;
  png_set_read_fn(R.Png, R.Source, ReadFromSource);
  png_set_benign_errors(R.Png, 0);
  png_set_user_limits(R.Png, static_cast<png_uint_32>(MaxReadPixels), static_cast<png_uint_32>(MaxReadPixels));
  png_set_chunk_malloc_max(R.Png, MaxChunkBytes);
  png_set_chunk_cache_max(R.Png, 500);
  png_set_keep_unknown_chunks(R.Png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
  png_set_keep_unknown_chunks(R.Png, PNG_HANDLE_CHUNK_NEVER, IgnoredChunks, sizeof IgnoredChunks / 5);
  png_read_info(R.Png, R.Info);
  return true;
}

// 8 bits per sample, one index per byte, greys 0..255, colours B, G, R; a
// transparent colour of 16-bit samples becomes an alpha channel, since it
// cannot be told apart after the scaling.
bool SetTransforms(TPngReader& R, int Depth, int ColorType, bool KeyToAlpha) {
  if (setjmp(png_jmpbuf(R.Png))) return false;
  if (Depth == 16) png_set_scale_16(R.Png);
  if (ColorType == PNG_COLOR_TYPE_PALETTE && Depth < 8) png_set_packing(R.Png);
  if (ColorType == PNG_COLOR_TYPE_GRAY && Depth < 8) png_set_expand_gray_1_2_4_to_8(R.Png);
  if (KeyToAlpha) png_set_tRNS_to_alpha(R.Png);
  if (ColorType & PNG_COLOR_MASK_COLOR) png_set_bgr(R.Png);
  R.Passes = png_set_interlace_handling(R.Png);
  png_read_update_info(R.Png, R.Info);
  return true;
}

// The decoding's progress event told of the rows read, from starting to
// ending, with each new per cent in between.
class TRowProgress {
public:
  TRowProgress(const TProgressEvent& Event, void* Sender, int64_t Total)
      : FEvent(Event), FSender(Sender), FTotal(std::max<int64_t>(Total, 1)) {
    Report(TProgressStage::psStarting, 0);
  }
  ~TRowProgress() { Report(TProgressStage::psEnding, 100); }
  TRowProgress(const TRowProgress&) = delete;
  TRowProgress& operator=(const TRowProgress&) = delete;
  void Rows(int64_t Done) {
    const int Percent = static_cast<int>(Done * 100 / FTotal);
    if (Percent == FLast) return;
    FLast = Percent;
    Report(TProgressStage::psRunning, Percent);
  }

private:
  void Report(TProgressStage Stage, int Percent) const {
    if (FEvent) FEvent(FSender, Stage, static_cast<uint8_t>(Percent), false, TRect{}, std::string());
  }
  const TProgressEvent& FEvent;
  void* FSender;
  int64_t FTotal;
  int FLast = 0;
};

// The rows are decoded into Rows as they come, so that data that fails early
// has touched only the rows before it (Rows is unfilled; an interlaced
// image's passes each visit every row).
bool ReadImage(TPngReader& R, TBitmap& Rows, TRowProgress& Progress) {
  if (setjmp(png_jmpbuf(R.Png))) return false;
  const int Height = Rows.Height();
  for (int Pass = 0; Pass < R.Passes; ++Pass)
    for (int Y = 0; Y < Height; ++Y) {
      png_read_row(R.Png, Rows.ScanLine(Y), nullptr);
      if (Pass == 0) Rows.ClearRowPadding(Y);
      Progress.Rows(int64_t(Pass) * Height + Y + 1);
    }
  png_read_end(R.Png, R.Info);
  return true;
}

// ---- Writing ------------------------------------------------------------------

struct TPngDestination {
  TSafeFile* File;
  std::exception_ptr Failure;
};

// An exception must not cross libpng: it is kept, and libpng is stopped once
// the handler has ended.
void WriteToSafeFile(png_structp Png, png_bytep Data, size_t Length) {
  auto* D = static_cast<TPngDestination*>(png_get_io_ptr(Png));
  bool Failed = false;
  try {
    D->File->Write(Data, Length);
  } catch (...) {
    D->Failure = std::current_exception();
    Failed = true;
  }
  if (Failed) png_error(Png, "write failed");
}

void FlushNothing(png_structp) {}

struct TPngWriter {
  png_structp Png = nullptr;
  png_infop Info = nullptr;
  TPngError Error{};
  TPngDestination Destination{};
  ~TPngWriter() { png_destroy_write_struct(&Png, &Info); }
};

// Everything the writing phase hands to libpng, prepared by the caller.
struct TPngChunks {
  int Width, Height, Depth, ColorType, Interlace, Level, FilterMask;
  std::vector<png_color> Palette;
  std::vector<png_byte> PaletteAlpha;
  bool HasKey;
  png_color_16 Key;
  const TPngPhys* Phys;
  std::vector<png_text> Texts;
  png_bytepp Rows;
};

bool WritePng(TPngWriter& W, TPngChunks& C) {
  if (setjmp(png_jmpbuf(W.Png))) return false;
  png_set_write_fn(W.Png, &W.Destination, WriteToSafeFile, FlushNothing);
  png_set_IHDR(W.Png, W.Info, static_cast<png_uint_32>(C.Width), static_cast<png_uint_32>(C.Height), C.Depth,
               C.ColorType, C.Interlace, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!C.Palette.empty()) png_set_PLTE(W.Png, W.Info, C.Palette.data(), static_cast<int>(C.Palette.size()));
  if (!C.PaletteAlpha.empty())
    png_set_tRNS(W.Png, W.Info, C.PaletteAlpha.data(), static_cast<int>(C.PaletteAlpha.size()), nullptr);
  if (C.HasKey) png_set_tRNS(W.Png, W.Info, nullptr, 0, &C.Key);
  if (C.Phys) png_set_pHYs(W.Png, W.Info, C.Phys->X, C.Phys->Y, C.Phys->Unit);
  if (!C.Texts.empty()) png_set_text(W.Png, W.Info, C.Texts.data(), static_cast<int>(C.Texts.size()));
  png_set_filter(W.Png, PNG_FILTER_TYPE_BASE, C.FilterMask);
  png_set_compression_level(W.Png, C.Level);
  png_write_info(W.Png, W.Info);
  if (C.ColorType == PNG_COLOR_TYPE_PALETTE && C.Depth < 8) png_set_packing(W.Png);
  if (C.ColorType & PNG_COLOR_MASK_COLOR) png_set_bgr(W.Png);
  png_write_image(W.Png, C.Rows);
  png_write_end(W.Png, nullptr);
  return true;
}

TColor EntryColor(TPaletteEntry E) { return PaletteEntryColor(E); }

// Palette transparency that one transparent colour carries exactly: every
// clear entry has the same colour and no opaque entry shares it.
bool SingleKeyIsExact(const TPngImage& Png) {
  const auto& P = Png.Palette();
  const auto& A = Png.PaletteAlpha();
  std::optional<TColor> Key;
  for (size_t I = 0; I < P.size(); ++I) {
    if (A[I] != 0) continue;
    if (Key && *Key != EntryColor(P[I])) return false;
    Key = EntryColor(P[I]);
  }
  for (size_t I = 0; I < P.size(); ++I)
    if (A[I] == 255 && Key && EntryColor(P[I]) == *Key) return false;
  return true;
}

} // namespace

// ---- Image data ---------------------------------------------------------------

int64_t PngImageDataBytes(int64_t FileSize, const std::function<bool(int64_t, uint8_t*)>& Header) {
  int64_t Sum = 0;
  uint8_t H[8];
  for (int64_t At = 8; Header(At, H);) {
    const int64_t Length = (int64_t{H[0]} << 24) | (H[1] << 16) | (H[2] << 8) | H[3];
    const int64_t Present = std::min(Length, FileSize - At - 8);
    if (std::memcmp(H + 4, "IDAT", 4) == 0) Sum += Present;
    if (std::memcmp(H + 4, "IEND", 4) == 0 || Present < Length) break;
    At += 12 + Length;
  }
  return Sum;
}

// ---- TPngImage ----------------------------------------------------------------

int TPngImage::Channels() const {
  switch (FColorType) {
  case PngGrayAlpha:
    return 2;
  case PngRgb:
    return 3;
  case PngRgbAlpha:
    return 4;
  default:
    return 1;
  }
}

void TPngImage::Reset(int Width, int Height, uint8_t ColorType, uint8_t BitDepth) {
  FWidth = Width;
  FHeight = Height;
  FColorType = ColorType;
  FBitDepth = BitDepth;
  FRows.ReleaseImage();
  FPalette.clear();
  FPaletteAlpha.clear();
  FKeyColor.reset();
  Phys.reset();
  Texts.clear();
}

void TPngImage::AllocateRows() {
  static constexpr TPixelFormat Formats[5] = {pf8bit, pf8bit, pf8bit, pf24bit, pf32bit};
  FRows.ReleaseImage();
  FRows.SetPixelFormat(Formats[Channels()]);
  // Grey and alpha has no bitmap format: its rows are two bytes a pixel.
  FRows.SetSizeUnfilled(Channels() == 2 ? 2 * FWidth : FWidth, FHeight);
}

int TPngImage::MaxRowByte() const {
  int Max = 0;
  for (int Y = 0; Y < FHeight; ++Y) {
    const uint8_t* R = Row(Y);
    Max = std::max<int>(Max, *std::max_element(R, R + RowBytes()));
  }
  return Max;
}

void TPngImage::Swap(TPngImage& Other) noexcept {
  std::swap(InterlaceMethod, Other.InterlaceMethod);
  std::swap(CompressionLevel, Other.CompressionLevel);
  std::swap(Filters, Other.Filters);
  std::swap(Phys, Other.Phys);
  std::swap(Texts, Other.Texts);
  std::swap(OnProgress, Other.OnProgress);
  std::swap(FWidth, Other.FWidth);
  std::swap(FHeight, Other.FHeight);
  std::swap(FColorType, Other.FColorType);
  std::swap(FBitDepth, Other.FBitDepth);
  FRows.Swap(Other.FRows);
  std::swap(FPalette, Other.FPalette);
  std::swap(FPaletteAlpha, Other.FPaletteAlpha);
  std::swap(FKeyColor, Other.FKeyColor);
}

void TPngImage::LoadFromFile(const QString& FileName) {
  QFile File(FileName);
  if (!File.open(QIODevice::ReadOnly)) InvalidGraphic(FileName, "cannot open the file");
  TPngFileInput Input(File);
  Load(Input, FileName);
}

void TPngImage::LoadFromMemory(const uint8_t* Data, size_t Size, const QString& Name) {
  TPngMemoryInput Input(Data, Size);
  Load(Input, Name);
}

void TPngImage::Load(TPngInput& Input, const QString& Name) {
  uint8_t Signature[8] = {};
  if (!Input.Peek(0, Signature)) {
    // Shorter than the signature: the start of one is a PNG cut short.
    const size_t Got = static_cast<size_t>(std::clamp<int64_t>(Input.Size(), 0, 8));
    if (Got > 0 && Input.Read(Signature, Got) && png_sig_cmp(Signature, 0, Got) == 0)
      TruncatedGraphic(Name, "PNG: the file ends within its signature");
    NotItsFormat(Name, "PNG: not a PNG file");
  }
  if (png_sig_cmp(Signature, 0, 8) != 0) NotItsFormat(Name, "PNG: not a PNG file");
  TPngReader R;
  R.Source = &Input;
  R.Png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &R.Error, OnPngError, OnPngWarning);
  if (R.Png) R.Info = png_create_info_struct(R.Png);
  if (!R.Png || !R.Info) InvalidGraphic(Name, "PNG: out of memory");
  const auto Fail = [&] {
    const std::string Reason = std::string("PNG: ") + R.Error.Message;
    if (Input.Exhausted) TruncatedGraphic(Name, Reason);
    InvalidGraphic(Name, Reason);
  };
  if (!ReadInfo(R)) Fail();

  const png_uint_32 W = png_get_image_width(R.Png, R.Info);
  const png_uint_32 H = png_get_image_height(R.Png, R.Info);
  const int Depth = png_get_bit_depth(R.Png, R.Info);
  const int ColorType = png_get_color_type(R.Png, R.Info);
  CheckReadSize(W, H, Name);
  // The rows (a filter byte and the samples; interlacing only adds) come out
  // of the image data chunks at zlib's ratio at most.
  const int64_t RawBytes = static_cast<int64_t>(H) * (static_cast<int64_t>(png_get_rowbytes(R.Png, R.Info)) + 1);
  const int64_t Compressed =
      PngImageDataBytes(Input.Size(), [&](int64_t At, uint8_t* Header) { return Input.Peek(At, Header); });
  CheckExpansion(RawBytes, Compressed, MaxZlibRatio, Name);

  // Transparency as read, before the transforms change the samples.
  png_bytep TransAlpha = nullptr;
  int TransCount = 0;
  png_color_16p TransColor = nullptr;
  const bool HasTrns = png_get_tRNS(R.Png, R.Info, &TransAlpha, &TransCount, &TransColor) != 0;
  const bool KeyToAlpha = HasTrns && Depth == 16 && ColorType != PNG_COLOR_TYPE_PALETTE;
  if (!SetTransforms(R, Depth, ColorType, KeyToAlpha)) Fail();

  TPngImage Image;
  Image.InterlaceMethod = InterlaceMethod;
  Image.CompressionLevel = CompressionLevel;
  Image.Filters = Filters;
  Image.Reset(static_cast<int>(W), static_cast<int>(H), png_get_color_type(R.Png, R.Info), static_cast<uint8_t>(Depth));
  if (png_get_rowbytes(R.Png, R.Info) != Image.RowBytes()) InvalidGraphic(Name, "PNG: unexpected row layout");
  // The rows' memory is asked for at once, so that running out of it is told
  // with the size the picture needs; it is touched only as rows arrive.
  Image.AllocateRows();
  {
    TRowProgress Progress(OnProgress, this, int64_t{H} * R.Passes);
    if (!ReadImage(R, Image.FRows, Progress)) Fail();
  }

  if (ColorType == PNG_COLOR_TYPE_PALETTE) {
    png_colorp Colors = nullptr;
    int Count = 0;
    if (png_get_PLTE(R.Png, R.Info, &Colors, &Count))
      for (int I = 0; I < Count; ++I)
        Image.FPalette.push_back(PaletteEntry(Colors[I].red, Colors[I].green, Colors[I].blue));
    Image.FPaletteAlpha.assign(Image.FPalette.size(), 255);
    for (int I = 0; HasTrns && I < TransCount && I < static_cast<int>(Image.FPaletteAlpha.size()); ++I)
      Image.FPaletteAlpha[static_cast<size_t>(I)] = TransAlpha[I];
  } else if (HasTrns && !KeyToAlpha && TransColor) {
    if (ColorType == PNG_COLOR_TYPE_GRAY) {
      const int Max = (1 << Depth) - 1;
      const int V = std::min(TransColor->gray, static_cast<png_uint_16>(Max)) * 255 / Max;
      Image.FKeyColor = RGB(V, V, V);
    } else if (ColorType == PNG_COLOR_TYPE_RGB) {
      Image.FKeyColor = RGB(TransColor->red & 0xFF, TransColor->green & 0xFF, TransColor->blue & 0xFF);
    }
  }
  png_uint_32 PX = 0, PY = 0;
  int Unit = 0;
  if (png_get_pHYs(R.Png, R.Info, &PX, &PY, &Unit)) Image.Phys = TPngPhys{PX, PY, static_cast<uint8_t>(Unit)};
  png_textp Text = nullptr;
  int TextCount = 0;
  png_get_text(R.Png, R.Info, &Text, &TextCount);
  for (int I = 0; I < TextCount; ++I) {
    TPngText T;
    T.Kind = Text[I].compression == PNG_TEXT_COMPRESSION_NONE   ? TPngText::tEXt
             : Text[I].compression == PNG_TEXT_COMPRESSION_zTXt ? TPngText::zTXt
                                                                : TPngText::iTXt;
    T.Keyword = Text[I].key ? Text[I].key : "";
    const size_t Length = T.Kind == TPngText::iTXt ? Text[I].itxt_length : Text[I].text_length;
    if (Text[I].text) T.Text.assign(Text[I].text, Length);
    Image.Texts.push_back(std::move(T));
  }
  Image.OnProgress = OnProgress; // the swap below would drop it
  Swap(Image);
}

void TPngImage::SaveToFile(const QString& FileName) const {
  if (Empty()) InvalidGraphic(FileName, "PNG: no image to save");
  TPngChunks C{};
  C.Width = FWidth;
  C.Height = FHeight;
  C.ColorType = FColorType;
  C.Depth = FColorType == PngPalette ? FBitDepth : 8;
  C.Interlace = InterlaceMethod == imAdam7 ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE;
  C.Level = std::clamp(CompressionLevel, 0, 9);
  C.FilterMask = (Filters & PngFilterAll) << 3; // PNG_FILTER_NONE is 0x08, each next bit the next filter
  if (C.FilterMask == 0) C.FilterMask = PNG_FILTER_NONE;
  if (FColorType == PngPalette) {
    // The map covers every index used, the added entries black.
    const int MaxIndex = MaxRowByte();
    const size_t Count =
        std::min<size_t>(std::max<size_t>(FPalette.size(), static_cast<size_t>(MaxIndex) + 1), size_t{1} << C.Depth);
    for (size_t I = 0; I < Count; ++I) {
      const TPaletteEntry E = I < FPalette.size() ? FPalette[I] : 0;
      C.Palette.push_back({static_cast<png_byte>((E >> 16) & 0xFF), static_cast<png_byte>((E >> 8) & 0xFF),
                           static_cast<png_byte>(E & 0xFF)});
    }
    size_t Last = std::min(FPaletteAlpha.size(), Count);
    while (Last > 0 && FPaletteAlpha[Last - 1] == 255) --Last;
    C.PaletteAlpha.assign(FPaletteAlpha.begin(), FPaletteAlpha.begin() + static_cast<ptrdiff_t>(Last));
  }
  if (FKeyColor && (FColorType == PngGray || FColorType == PngRgb)) {
    C.HasKey = true;
    C.Key.red = GetRValue(*FKeyColor);
    C.Key.green = GetGValue(*FKeyColor);
    C.Key.blue = GetBValue(*FKeyColor);
    C.Key.gray = GetRValue(*FKeyColor);
  }
  C.Phys = Phys ? &*Phys : nullptr;
  for (const TPngText& T : Texts) {
    png_text P{};
    P.compression = T.Kind == TPngText::tEXt   ? PNG_TEXT_COMPRESSION_NONE
                    : T.Kind == TPngText::zTXt ? PNG_TEXT_COMPRESSION_zTXt
                                               : PNG_ITXT_COMPRESSION_NONE;
    P.key = const_cast<char*>(T.Keyword.c_str());
    P.text = const_cast<char*>(T.Text.c_str());
    if (T.Kind == TPngText::iTXt)
      P.itxt_length = T.Text.size();
    else
      P.text_length = T.Text.size();
    C.Texts.push_back(P);
  }
  std::vector<png_bytep> Rows(static_cast<size_t>(FHeight));
  for (int Y = 0; Y < FHeight; ++Y) Rows[static_cast<size_t>(Y)] = const_cast<png_bytep>(Row(Y));
  C.Rows = Rows.data();

  TSafeFile File(FileName);
  TPngWriter W;
  W.Destination.File = &File;
  W.Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &W.Error, OnPngError, OnPngWarning);
  if (W.Png) W.Info = png_create_info_struct(W.Png);
  if (!W.Png || !W.Info) InvalidGraphic(FileName, "PNG: out of memory");
  if (!WritePng(W, C)) {
    if (W.Destination.Failure) std::rethrow_exception(W.Destination.Failure);
    InvalidGraphic(FileName, std::string("PNG: ") + W.Error.Message);
  }
  File.Commit();
}

TPngTransparency TPngImage::TransparencyMode() const {
  if (HasAlphaChannel()) return ptmPartial;
  if (FColorType == PngPalette) {
    bool Clear = false;
    for (uint8_t A : FPaletteAlpha) {
      if (A != 0 && A != 255) return ptmPartial;
      Clear = Clear || A == 0;
    }
    return Clear ? ptmBit : ptmNone;
  }
  return FKeyColor ? ptmBit : ptmNone;
}

uint8_t TPngImage::AlphaAt(int X, int Y) const {
  const uint8_t* P = Row(Y) + static_cast<size_t>(X) * static_cast<size_t>(Channels());
  switch (FColorType) {
  case PngGrayAlpha:
    return P[1];
  case PngRgbAlpha:
    return P[3];
  case PngPalette:
    return P[0] < FPaletteAlpha.size() ? FPaletteAlpha[P[0]] : 255;
  case PngGray:
    return FKeyColor && RGB(P[0], P[0], P[0]) == *FKeyColor ? 0 : 255;
  default:
    return FKeyColor && RGB(P[2], P[1], P[0]) == *FKeyColor ? 0 : 255;
  }
}

void TPngImage::AssignBitmap(const TBitmap& Bitmap) {
  const TPixelFormat F = Bitmap.PixelFormat();
  const bool Indexed = F == pf1bit || F == pf4bit || F == pf8bit;
  const int W = Bitmap.Width(), H = Bitmap.Height();
  Reset(W, H, Indexed ? PngPalette : PngRgb, static_cast<uint8_t>(Indexed ? Bitmap.BitsPerPixel() : 8));
  AllocateRows();
  if (Indexed) {
    FPalette = Bitmap.Palette();
    for (int Y = 0; Y < H; ++Y) {
      const uint8_t* S = Bitmap.ScanLine(Y);
      uint8_t* D = Row(Y);
      for (int X = 0; X < W; ++X) D[X] = TBgrRowReader::IndexAt(S, X, F);
    }
    FPaletteAlpha.assign(FPalette.size(), 255);
    if (Bitmap.Transparent) {
      const TColor Key = ColorToRGB(Bitmap.TransparentColor());
      for (size_t I = 0; I < FPalette.size(); ++I)
        if (SameColor24(PaletteEntryColor(FPalette[I]), Key)) FPaletteAlpha[I] = 0;
    }
  } else {
    TBgrRowReader Rows(Bitmap);
    for (int Y = 0; Y < H; ++Y) std::memcpy(Row(Y), Rows.Row(Y), RowBytes());
    if (Bitmap.Transparent) FKeyColor = ColorToRGB(Bitmap.TransparentColor()) & 0xFFFFFF;
  }
}

void TPngImage::CreateAlpha() {
  if (HasAlphaChannel() || Empty()) return;
  const bool Gray = FColorType == PngGray;
  const int NewChannels = Gray ? 2 : 4;
  TBitmap NewRows;
  NewRows.SetPixelFormat(Gray ? pf8bit : pf32bit);
  NewRows.SetSizeUnfilled(Gray ? 2 * FWidth : FWidth, FHeight); // every pixel is written below
  for (int Y = 0; Y < FHeight; ++Y) {
    const uint8_t* S = Row(Y);
    uint8_t* D = NewRows.ScanLine(Y);
    NewRows.ClearRowPadding(Y);
    for (int X = 0; X < FWidth; ++X, D += NewChannels) {
      if (Gray) {
        D[0] = S[X];
      } else if (FColorType == PngPalette) {
        const TPaletteEntry E = S[X] < FPalette.size() ? FPalette[S[X]] : 0;
        D[0] = E & 0xFF;
        D[1] = (E >> 8) & 0xFF;
        D[2] = (E >> 16) & 0xFF;
      } else {
        std::memcpy(D, S + 3 * static_cast<size_t>(X), 3);
      }
      D[NewChannels - 1] = AlphaAt(X, Y);
    }
  }
  FRows.Swap(NewRows);
  FColorType = Gray ? PngGrayAlpha : PngRgbAlpha;
  FBitDepth = 8;
  FPalette.clear();
  FPaletteAlpha.clear();
  FKeyColor.reset();
}

void TPngImage::AssignTo(TBitmap& Bitmap) const {
  if (Empty()) {
    Bitmap.ReleaseImage();
    return;
  }
  if (TransparencyMode() == ptmPartial) {
    PngToBitmap32(*this, Bitmap);
    return;
  }
  TBitmap Out;
  std::optional<TColor> Key = FKeyColor;
  if (FColorType == PngPalette || FColorType == PngGray) {
    const bool Gray = FColorType == PngGray;
    const TPixelFormat Format = FBitDepth == 1 ? pf1bit : (!Gray && FBitDepth <= 4) ? pf4bit : pf8bit;
    const size_t Capacity = size_t{1} << (Format == pf1bit ? 1 : Format == pf4bit ? 4 : 8);
    TPalette P;
    if (Gray) {
      P = Format == pf1bit ? MonochromePalette() : GrayScalePalette(8);
    } else {
      P = FPalette;
      const int MaxIndex = MaxRowByte();
      if (P.size() <= static_cast<size_t>(MaxIndex)) P.resize(static_cast<size_t>(MaxIndex) + 1, PaletteEntry(0, 0, 0));
      P.resize(std::min(P.size(), Capacity));
      for (size_t I = 0; I < FPaletteAlpha.size() && !Key; ++I)
        if (FPaletteAlpha[I] == 0) Key = PaletteEntryColor(FPalette[I]);
    }
    Out.SetPixelFormat(Format);
    Out.SetPalette(P);
    Out.Canvas().Brush.Color = PaletteEntryColor(P.front());
    Out.SetSize(FWidth, FHeight);
    std::vector<uint8_t> Indices(static_cast<size_t>(FWidth));
    for (int Y = 0; Y < FHeight; ++Y) {
      const uint8_t* S = Row(Y);
      if (Gray && Format == pf1bit)
        for (int X = 0; X < FWidth; ++X) Indices[static_cast<size_t>(X)] = S[X] >= 128;
      else
        std::memcpy(Indices.data(), S, Indices.size());
      PackIndexRow(Indices.data(), FWidth, Format, Out.ScanLine(Y));
    }
  } else {
    Out.SetPixelFormat(pf24bit);
    Out.Canvas().Brush.Color = clBlack;
    Out.SetSize(FWidth, FHeight);
    for (int Y = 0; Y < FHeight; ++Y) std::memcpy(Out.ScanLine(Y), Row(Y), RowBytes());
  }
  if (Key) Out.SetTransparentColor(*Key);
  Out.Transparent = Key.has_value();
  Bitmap.Swap(Out);
  Bitmap.Changed();
}

void TPngImage::MoveTo(TBitmap& Bitmap) {
  if (Empty() || (FColorType != PngRgb && FColorType != PngRgbAlpha)) {
    PngToBitmap(*this, Bitmap);
    return;
  }
  TBitmap Out;
  Out.Swap(FRows);
  // RGB and alpha is partial transparency (PngToBitmap32); RGB keeps its key.
  const std::optional<TColor> Key = FColorType == PngRgb ? FKeyColor : std::nullopt;
  Out.SetTransparentColor(Key ? *Key : clDefault);
  Out.Transparent = Key.has_value();
  Reset(0, 0, PngRgb, 8);
  Bitmap.Swap(Out);
  Bitmap.Changed();
}

// ---- TMyPngImage --------------------------------------------------------------

void TMyPngImage::LoadFromFile(const QString& FileName) {
  TPngImage Png;
  Png.OnProgress = OnProgress;
  Png.LoadFromFile(FileName);
  Dpi = GetPngDpi(Png);
  Comment = GetPngComment(Png);
  Png.MoveTo(*this);
}

void TMyPngImage::SaveToFile(const QString& FileName) const { SaveBitmap(FileName, *this); }

void TMyPngImage::SaveBitmap(const QString& FileName, const TBitmap& Pixels) const {
  TPngImage Png;
  if (Pixels.PixelFormat() == pf32bit)
    Bitmap32ToPng(Pixels, Png);
  else
    Png.AssignBitmap(Pixels);
  if (!Comment.empty()) SetPngComment(Png, Comment);
  if (Dpi > 0) SetPngDpi(Png, Dpi);
  Png.InterlaceMethod = InterlaceMethod;
  Png.CompressionLevel = CompressionLevel;
  Png.Filters = Filters;
  Png.SaveToFile(FileName);
}

// ---- Conversions --------------------------------------------------------------

void PngToBitmap(const TPngImage& Png, TBitmap& Bitmap) {
  const TPngTransparency Mode = Png.TransparencyMode();
  const bool Partial =
      Mode == ptmPartial || (Mode == ptmBit && Png.ColorType() == PngPalette && !SingleKeyIsExact(Png));
  if (Partial)
    PngToBitmap32(Png, Bitmap);
  else
    Png.AssignTo(Bitmap);
}

void PngToBitmap32(const TPngImage& Png, TBitmap& Bitmap) {
  const int W = Png.Width(), H = Png.Height();
  TBitmap Out(W, H, pf32bit, clBlack);
  const auto& P = Png.Palette();
  for (int Y = 0; Y < H; ++Y) {
    const uint8_t* S = Png.Row(Y);
    uint8_t* D = Out.ScanLine(Y);
    for (int X = 0; X < W; ++X, D += 4) {
      switch (Png.ColorType()) {
      case PngGray:
      case PngGrayAlpha: {
        const uint8_t G = S[static_cast<size_t>(X) * static_cast<size_t>(Png.Channels())];
        D[0] = D[1] = D[2] = G;
        break;
      }
      case PngPalette: {
        const TPaletteEntry E = S[X] < P.size() ? P[S[X]] : 0;
        D[0] = E & 0xFF;
        D[1] = (E >> 8) & 0xFF;
        D[2] = (E >> 16) & 0xFF;
        break;
      }
      default:
        std::memcpy(D, S + static_cast<size_t>(X) * static_cast<size_t>(Png.Channels()), 3);
      }
      D[3] = Png.AlphaAt(X, Y);
    }
  }
  Bitmap.Swap(Out);
  Bitmap.Transparent = false;
  Bitmap.SetTransparentColor(clDefault);
  Bitmap.Changed();
}

void LoadPngToBitmap(const QString& FileName, TBitmap& Bitmap) {
  TPngImage Png;
  Png.LoadFromFile(FileName);
  Png.MoveTo(Bitmap);
}

void Bitmap32ToPng(const TBitmap& Bitmap, TPngImage& Png) {
  if (Bitmap.PixelFormat() != pf32bit) return;
  Png.AssignBitmap(Bitmap);
  Png.CreateAlpha();
  for (int Y = 0; Y < Bitmap.Height(); ++Y) {
    const uint8_t* S = Bitmap.ScanLine(Y);
    uint8_t* D = Png.Row(Y);
    for (int X = 0; X < Bitmap.Width(); ++X) D[4 * X + 3] = S[4 * X + 3];
  }
}

void BitmapMaskToPng(const TBitmap& Bitmap, const TBitmap& Mask, TPngImage& Png, bool WhiteUnder) {
  if (Bitmap.PixelFormat() != pf24bit || Mask.PixelFormat() != pf24bit) return;
  if (Bitmap.Width() != Mask.Width() || Bitmap.Height() != Mask.Height()) return;
  Png.AssignBitmap(Bitmap);
  Png.CreateAlpha();
  for (int Y = 0; Y < Bitmap.Height(); ++Y) {
    const uint8_t* M = Mask.ScanLine(Y);
    uint8_t* D = Png.Row(Y);
    for (int X = 0; X < Bitmap.Width(); ++X, D += 4) {
      const uint8_t Clear = M[3 * X];
      D[3] = static_cast<uint8_t>(255 - Clear);
      if (WhiteUnder && Clear == 255) D[0] = D[1] = D[2] = 255;
    }
  }
}

double GetPngDpi(const TPngImage& Png) {
  if (!Png.Phys || Png.Phys->Unit != PNG_RESOLUTION_METER) return 0;
  return Png.Phys->X / 100.0 * 2.54;
}

void SetPngDpi(TPngImage& Png, double Dpi) {
  const uint32_t PerMetre = static_cast<uint32_t>(std::max(Trunc(Dpi * 100 / 2.54), 0));
  Png.Phys = TPngPhys{PerMetre, PerMetre, PNG_RESOLUTION_METER};
}

std::string GetPngComment(const TPngImage& Png) {
  for (const TPngText& T : Png.Texts)
    if (T.Kind == TPngText::tEXt) return T.Keyword == "Comment" ? T.Text : std::string();
  return {};
}

void SetPngComment(TPngImage& Png, const std::string& Text) { Png.Texts.push_back({TPngText::tEXt, "Comment", Text}); }
