#include "files/MyJpegImage.h"

#include "files/BitmapRows.h"
#include "files/ReadLimits.h"
#include "platform/Rounding.h"
#include "platform/SafeFile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <optional>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

// The file read piece by piece as libjpeg asks, never whole. Its end is
// met as jpeg_mem_src meets it: a fake end of image and the warning that the
// decoder treats as damage.
struct TJpegFileSource {
  jpeg_source_mgr Pub;
  QFile* File;
  int64_t Fed; // bytes handed to libjpeg so far
  JOCTET Buffer[1 << 16];
};

// libjpeg reports errors through a callback that must not return: it
// longjmps back to the phase that called the library. Each phase below is a
// function with only trivial locals, so the jump skips no destructor; the
// C++ objects live in the callers.

namespace {

// Progressive files of libjpeg's own script hold ten scans, other encoders'
// a few dozen at most; every scan visits every block of its components, so
// thousands of nearly empty ones make decoding crawl.
constexpr int MaxJpegScans = 100;

// The pixels one byte of entropy-coded data can describe, Huffman coding:
// - a sequential scan codes every 8 x 8 block of its components in two bits
//   at least (a DC difference and an end of block, one bit each at best);
// - a progressive file codes each component's DC first, one bit a block at
//   least, before any AC scan of it (EOB runs make AC scans nearly free, so
//   an AC scan before its DC scan is refused as damage, see below);
// - a block of component c covers 64 x (Hmax x Vmax) / (Hc x Vc) pixels.
// When the header has been read the first scan is known: its most finely
// sampled component bounds the picture. A sequential 4:2:0 or greyscale
// file gives 256 pixels a byte, a progressive one 512. Arithmetic coding has
// no useful bound (a run of zeros costs a small fraction of a bit): those
// rare files are held to the same figure, which no photograph comes near.
int64_t MaxPixelsPerEntropyByte(const jpeg_decompress_struct& I) {
  int Finest = 1;
  for (int C = 0; C < I.comps_in_scan; ++C)
    Finest = std::max(Finest, I.cur_comp_info[C]->h_samp_factor * I.cur_comp_info[C]->v_samp_factor);
  const int64_t PixelsPerBlock = (int64_t{64} * I.max_h_samp_factor * I.max_v_samp_factor + Finest - 1) / Finest;
  const int64_t BitsPerBlock = I.progressive_mode ? 1 : 2;
  return PixelsPerBlock * 8 / BitsPerBlock;
}

// libjpeg's own memory, asked for before it allocates its whole-image
// buffers: the coefficients of a file of several scans (two bytes each,
// every component counted at full resolution, sides padded to the largest
// MCU) and its row buffers. libjpeg has no backing store here, so a file
// that needs more is refused instead of swapping.
long JpegMemoryBudget(const jpeg_decompress_struct& I) {
  const int64_t W = (int64_t{I.image_width} + 31) / 32 * 32, H = (int64_t{I.image_height} + 31) / 32 * 32;
  return static_cast<long>((2 * I.num_components * H + 1024) * W + (16 << 20));
}

struct TJpegError {
  jpeg_error_mgr Pub;
  jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX + 32];
};

[[noreturn]] void ErrorExit(j_common_ptr Info) {
  auto* E = reinterpret_cast<TJpegError*>(Info->err);
  (*Info->err->format_message)(Info, E->Message);
  std::longjmp(E->Jump, 1);
}

// Damaged entropy-coded data ends the decoding at once, where libjpeg would
// fill the rest of the picture with grey: the file or the data segment
// ending before the image is complete, a code no table holds, a lost restart
// marker, an AC scan before its DC scan. Warnings about markers and metadata
// (bytes between segments, an unknown JFIF revision or Adobe transform, a
// bad ICC chunk) leave the pixels whole: real files carry them, so they are
// tolerated. The bad arithmetic code is found by its text: the library
// decodes arithmetic coding, but its installed header leaves that code out.
bool IsDamagedData(const jpeg_error_mgr& E) {
  switch (E.msg_code) {
  case JWRN_JPEG_EOF:
  case JWRN_HIT_MARKER:
  case JWRN_HUFF_BAD_CODE:
  case JWRN_MUST_RESYNC:
  case JWRN_BOGUS_PROGRESSION:
    return true;
  default:
    return E.msg_code >= 0 && E.msg_code <= E.last_jpeg_message &&
           std::strcmp(E.jpeg_message_table[E.msg_code], "Corrupt JPEG data: bad arithmetic code") == 0;
  }
}

void EmitMessage(j_common_ptr Info, int Level) {
  if (Level < 0) {
    if (IsDamagedData(*Info->err)) ErrorExit(Info);
    ++Info->err->num_warnings;
  }
}

[[noreturn]] void FailWith(j_common_ptr Info, const char* Message) {
  auto* E = reinterpret_cast<TJpegError*>(Info->err);
  std::snprintf(E->Message, sizeof E->Message, "%s", Message);
  std::longjmp(E->Jump, 1);
}

void InitError(TJpegError& E) {
  jpeg_std_error(&E.Pub);
  E.Pub.error_exit = ErrorExit;
  E.Pub.emit_message = EmitMessage;
  E.Message[0] = 0;
}

struct TJpegProgress {
  jpeg_progress_mgr Pub;
  const TProgressEvent* Event;
  const void* Sender;
  int LastPercent;
};

void Report(const TJpegProgress& P, TProgressStage Stage, int Percent) {
  if (!P.Event || !*P.Event) return;
  try {
    (*P.Event)(const_cast<void*>(P.Sender), Stage, static_cast<uint8_t>(Percent), false, TRect{}, std::string());
  } catch (...) {
    // A progress display that fails must not stop the coding.
  }
}

void ProgressMonitor(j_common_ptr Info) {
  auto* P = reinterpret_cast<TJpegProgress*>(Info->progress);
  if (Info->is_decompressor && reinterpret_cast<j_decompress_ptr>(Info)->input_scan_number > MaxJpegScans)
    FailWith(Info, "too many scans");
  const int64_t Limit = std::max<long>(P->Pub.pass_limit, 1);
  const int64_t Total = std::max(P->Pub.total_passes, 1);
  const int64_t Done = int64_t{P->Pub.completed_passes} * Limit + P->Pub.pass_counter;
  const int Percent = static_cast<int>(std::clamp<int64_t>(Done * 100 / (Total * Limit), 0, 100));
  if (Percent != P->LastPercent) {
    P->LastPercent = Percent;
    Report(*P, TProgressStage::psRunning, Percent);
  }
}

// Reports the start at once and the end when it goes, whatever happens in
// between, so that the progress service never stays open.
class TProgressBracket {
public:
  explicit TProgressBracket(const TJpegProgress& P) : FProgress(P) { Report(P, TProgressStage::psStarting, 0); }
  ~TProgressBracket() { Report(FProgress, TProgressStage::psEnding, 100); }
  TProgressBracket(const TProgressBracket&) = delete;
  TProgressBracket& operator=(const TProgressBracket&) = delete;

private:
  const TJpegProgress& FProgress;
};

void InitProgress(TJpegProgress& P, const TProgressEvent& Event, const void* Sender) {
  P.Pub.progress_monitor = ProgressMonitor;
  P.Pub.pass_counter = P.Pub.pass_limit = 0;
  P.Pub.completed_passes = P.Pub.total_passes = 0;
  P.Event = &Event;
  P.Sender = Sender;
  P.LastPercent = -1;
}

// ---- Decoding ---------------------------------------------------------------

void InitSource(j_decompress_ptr) {}

boolean FillInputBuffer(j_decompress_ptr Info) {
  auto* S = reinterpret_cast<TJpegFileSource*>(Info->src);
  const qint64 N = S->File->read(reinterpret_cast<char*>(S->Buffer), sizeof S->Buffer);
  if (N <= 0) {
    WARNMS(Info, JWRN_JPEG_EOF);
    static const JOCTET FakeEnd[2] = {0xFF, JPEG_EOI};
    S->Pub.next_input_byte = FakeEnd;
    S->Pub.bytes_in_buffer = 2;
    return TRUE;
  }
  S->Fed += N;
  S->Pub.next_input_byte = S->Buffer;
  S->Pub.bytes_in_buffer = static_cast<size_t>(N);
  return TRUE;
}

void SkipInputData(j_decompress_ptr Info, long Count) {
  if (Count <= 0) return;
  jpeg_source_mgr& Pub = *Info->src;
  while (static_cast<size_t>(Count) > Pub.bytes_in_buffer) {
    Count -= static_cast<long>(Pub.bytes_in_buffer);
    Pub.fill_input_buffer(Info);
  }
  Pub.next_input_byte += Count;
  Pub.bytes_in_buffer -= static_cast<size_t>(Count);
}

void TermSource(j_decompress_ptr) {}

void InitFileSource(TJpegFileSource& S, QFile& File) {
  S.Pub.init_source = InitSource;
  S.Pub.fill_input_buffer = FillInputBuffer;
  S.Pub.skip_input_data = SkipInputData;
  S.Pub.resync_to_restart = jpeg_resync_to_restart;
  S.Pub.term_source = TermSource;
  S.Pub.next_input_byte = nullptr;
  S.Pub.bytes_in_buffer = 0;
  S.File = &File;
  S.Fed = 0;
}

struct TJpegDecoder {
  jpeg_decompress_struct Info;
  TJpegError Error;
  TJpegProgress Progress;
  bool Created = false;
  ~TJpegDecoder() {
    if (Created) jpeg_destroy_decompress(&Info);
  }
};

// The source is either the memory given or Source (whose File is open).
bool ReadHeader(TJpegDecoder& D, const uint8_t* Data, size_t Size, TJpegFileSource* Source) {
  if (setjmp(D.Error.Jump)) return false;
  D.Info.err = &D.Error.Pub;
  jpeg_create_decompress(&D.Info);
  D.Created = true;
  D.Info.progress = &D.Progress.Pub;
  if (Source)
    D.Info.src = &Source->Pub;
  else
    jpeg_mem_src(&D.Info, Data, static_cast<unsigned long>(Size));
  if (jpeg_read_header(&D.Info, TRUE) != JPEG_HEADER_OK) FailWith(reinterpret_cast<j_common_ptr>(&D.Info), "no image");
  return true;
}

bool StartDecoding(TJpegDecoder& D, unsigned ScaleDenom, bool Cmyk) {
  if (setjmp(D.Error.Jump)) return false;
  D.Info.mem->max_memory_to_use = JpegMemoryBudget(D.Info);
  D.Info.scale_num = 1;
  D.Info.scale_denom = ScaleDenom;
  D.Info.out_color_space = Cmyk ? JCS_CMYK : JCS_EXT_BGR;
  jpeg_start_decompress(&D.Info);
  return true;
}

// Adobe applications store CMYK inverted (0 is full ink).
void CmykToBgr(const uint8_t* S, uint8_t* D, int Width, bool Inverted) {
  for (int X = 0; X < Width; ++X, S += 4, D += 3) {
    const int C = Inverted ? S[0] : 255 - S[0], M = Inverted ? S[1] : 255 - S[1], Y = Inverted ? S[2] : 255 - S[2],
              K = Inverted ? S[3] : 255 - S[3];
    D[0] = static_cast<uint8_t>(K * Y / 255);
    D[1] = static_cast<uint8_t>(K * M / 255);
    D[2] = static_cast<uint8_t>(K * C / 255);
  }
}

bool ReadRows(TJpegDecoder& D, TBitmap& Out, uint8_t* CmykRow) {
  if (setjmp(D.Error.Jump)) return false;
  while (D.Info.output_scanline < D.Info.output_height) {
    const int Y = static_cast<int>(D.Info.output_scanline);
    uint8_t* Row = Out.ScanLine(Y);
    JSAMPROW Target = CmykRow ? CmykRow : Row;
    if (jpeg_read_scanlines(&D.Info, &Target, 1) != 1) FailWith(reinterpret_cast<j_common_ptr>(&D.Info), "no data");
    if (CmykRow) CmykToBgr(CmykRow, Row, Out.Width(), D.Info.saw_Adobe_marker);
    Out.ClearRowPadding(Y);
  }
  return true;
}

// ---- Encoding ---------------------------------------------------------------

struct TJpegDestination {
  jpeg_destination_mgr Pub;
  TSafeFile* File;
  std::vector<JOCTET>* Buffer;
  std::exception_ptr Failure;
};

void InitDestination(j_compress_ptr Info) {
  auto* D = reinterpret_cast<TJpegDestination*>(Info->dest);
  D->Pub.next_output_byte = D->Buffer->data();
  D->Pub.free_in_buffer = D->Buffer->size();
}

// An exception must not cross libjpeg: it is kept, and libjpeg is stopped
// through its error exit once the handler has ended.
void WriteOut(j_compress_ptr Info, size_t Size) {
  auto* D = reinterpret_cast<TJpegDestination*>(Info->dest);
  bool Failed = false;
  try {
    D->File->Write(D->Buffer->data(), Size);
  } catch (...) {
    D->Failure = std::current_exception();
    Failed = true;
  }
  if (Failed) ERREXIT(Info, JERR_FILE_WRITE);
}

boolean EmptyOutputBuffer(j_compress_ptr Info) {
  auto* D = reinterpret_cast<TJpegDestination*>(Info->dest);
  WriteOut(Info, D->Buffer->size());
  InitDestination(Info);
  return TRUE;
}

void TermDestination(j_compress_ptr Info) {
  auto* D = reinterpret_cast<TJpegDestination*>(Info->dest);
  WriteOut(Info, D->Buffer->size() - D->Pub.free_in_buffer);
}

struct TJpegEncoder {
  jpeg_compress_struct Info;
  TJpegError Error;
  TJpegProgress Progress;
  TJpegDestination Destination;
  bool Created = false;
  ~TJpegEncoder() {
    if (Created) jpeg_destroy_compress(&Info);
  }
};

bool StartEncoding(TJpegEncoder& E, int Width, int Height, int Quality, bool Progressive, int Density) {
  if (setjmp(E.Error.Jump)) return false;
  E.Info.err = &E.Error.Pub;
  jpeg_create_compress(&E.Info);
  E.Created = true;
  E.Info.progress = &E.Progress.Pub;
  E.Info.dest = &E.Destination.Pub;
  E.Info.image_width = static_cast<JDIMENSION>(Width);
  E.Info.image_height = static_cast<JDIMENSION>(Height);
  E.Info.input_components = 3;
  E.Info.in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(&E.Info);
  jpeg_set_quality(&E.Info, Quality, TRUE);
  if (Progressive) jpeg_simple_progression(&E.Info);
  if (Density > 0) {
    E.Info.density_unit = 1;
    E.Info.X_density = E.Info.Y_density = static_cast<UINT16>(Density);
  }
  jpeg_start_compress(&E.Info, TRUE);
  return true;
}

bool WriteRows(TJpegEncoder& E, TBgrRowReader& Rows) {
  if (setjmp(E.Error.Jump)) return false;
  while (E.Info.next_scanline < E.Info.image_height) {
    JSAMPROW Row = const_cast<JSAMPROW>(Rows.Row(static_cast<int>(E.Info.next_scanline)));
    jpeg_write_scanlines(&E.Info, &Row, 1);
  }
  jpeg_finish_compress(&E.Info);
  return true;
}

std::vector<uint8_t> ReadHead(QIODevice& File, qint64 Size) {
  std::vector<uint8_t> Bytes(static_cast<size_t>(Size));
  const qint64 Got = File.read(reinterpret_cast<char*>(Bytes.data()), Size);
  Bytes.resize(static_cast<size_t>(std::max<qint64>(Got, 0)));
  return Bytes;
}

// The JFIF segment right after the start of image: FF D8, FF E0, a length
// of at least 16 and the identifier "JFIF" with its zero.
bool HasJfifSegment(const std::vector<uint8_t>& H, size_t Needed) {
  return H.size() >= Needed && H.size() >= 11 && H[0] == 0xFF && H[1] == 0xD8 && H[2] == 0xFF && H[3] == 0xE0 &&
         ((H[4] << 8) | H[5]) >= 16 && std::memcmp(&H[6], "JFIF", 5) == 0;
}

} // namespace

// ---- TJPEGImage ---------------------------------------------------------------

void TJPEGImage::LoadFromFile(const QString& FileName) {
  QFile File(FileName);
  if (!File.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) InvalidGraphic(FileName, "cannot open the file");
  const auto Source = std::make_unique<TJpegFileSource>();
  InitFileSource(*Source, File);
  Decode(nullptr, static_cast<size_t>(File.size()), Source.get(), FileName);
}

void TJPEGImage::LoadFromMemory(const uint8_t* Data, size_t Size, const QString& Name) {
  Decode(Data, Size, nullptr, Name);
}

void TJPEGImage::Decode(const uint8_t* Data, size_t Size, TJpegFileSource* Source, const QString& Name) {
  if (Size == 0) InvalidGraphic(Name, "JPEG: empty file");
  TJpegDecoder D;
  InitError(D.Error);
  InitProgress(D.Progress, OnProgress, this);
  const auto Fail = [&] {
    const std::string Reason = std::string("JPEG: ") + D.Error.Message;
    if (D.Error.Pub.msg_code == JERR_NO_SOI) NotItsFormat(Name, Reason);
    if (D.Error.Pub.msg_code == JWRN_JPEG_EOF) TruncatedGraphic(Name, Reason);
    InvalidGraphic(Name, Reason);
  };
  if (!ReadHeader(D, Data, Size, Source)) Fail();
  CheckReadSize(D.Info.image_width, D.Info.image_height, Name);
  // What follows the first scan's header is all the entropy-coded data.
  const int64_t Consumed = Source ? Source->Fed - static_cast<int64_t>(D.Info.src->bytes_in_buffer)
                                  : static_cast<int64_t>(Size - D.Info.src->bytes_in_buffer);
  CheckExpansion(int64_t{D.Info.image_width} * D.Info.image_height, static_cast<int64_t>(Size) - Consumed,
                 MaxPixelsPerEntropyByte(D.Info), Name);
  const bool Cmyk = D.Info.jpeg_color_space == JCS_CMYK || D.Info.jpeg_color_space == JCS_YCCK;
  const TProgressBracket Bracket(D.Progress);
  // A file of several scans is read whole here, into libjpeg's coefficients,
  // before the bitmap exists.
  if (!StartDecoding(D, 1u << static_cast<unsigned>(Scale), Cmyk)) Fail();
  TBitmap Out;
  Out.SetPixelFormat(pf24bit);
  Out.SetSizeUnfilled(static_cast<int>(D.Info.output_width),
                      static_cast<int>(D.Info.output_height)); // every row is decoded
  std::vector<uint8_t> CmykRow(Cmyk ? 4 * static_cast<size_t>(D.Info.output_width) : 0);
  if (!ReadRows(D, Out, Cmyk ? CmykRow.data() : nullptr)) Fail();
  FBitmap.Swap(Out);
  FBitmap.Transparent = false;
  FBitmap.Changed();
}

void TJPEGImage::MoveTo(TBitmap& Bitmap) {
  Bitmap.Swap(FBitmap);
  FBitmap.ReleaseImage();
  Bitmap.Changed();
}

bool JpegDataHoldsImage(const uint8_t* Data, size_t Size, int64_t& Width, int64_t& Height) {
  Width = Height = 0;
  if (Size == 0) return true;
  TJpegDecoder D;
  InitError(D.Error);
  const TProgressEvent NoProgress;
  InitProgress(D.Progress, NoProgress, nullptr);
  if (!ReadHeader(D, Data, Size, nullptr)) return true;
  Width = D.Info.image_width;
  Height = D.Info.image_height;
  return ExpansionFits(Width * Height, static_cast<int64_t>(D.Info.src->bytes_in_buffer),
                       MaxPixelsPerEntropyByte(D.Info));
}

void TJPEGImage::SaveToFile(const QString& FileName) const { Encode(FBitmap, FileName, 0); }

void TJPEGImage::Encode(const TBitmap& Pixels, const QString& FileName, double Dpi) const {
  if (Pixels.Empty()) InvalidGraphic(FileName, "JPEG: no image to save");
  if (Pixels.Width() > JPEG_MAX_DIMENSION || Pixels.Height() > JPEG_MAX_DIMENSION)
    InvalidGraphic(FileName, "JPEG: image too large for the format");
  TSafeFile File(FileName);
  std::vector<JOCTET> Buffer(1 << 16);
  TJpegEncoder E;
  InitError(E.Error);
  InitProgress(E.Progress, OnProgress, this);
  E.Destination.Pub.init_destination = InitDestination;
  E.Destination.Pub.empty_output_buffer = EmptyOutputBuffer;
  E.Destination.Pub.term_destination = TermDestination;
  E.Destination.File = &File;
  E.Destination.Buffer = &Buffer;
  TBgrRowReader Rows(Pixels);
  const int Density = Dpi > 0 ? std::clamp(Round(Dpi), 1, 65535) : 0;
  std::optional<TProgressBracket> Bracket(std::in_place, E.Progress);
  if (!StartEncoding(E, Pixels.Width(), Pixels.Height(), std::clamp(CompressionQuality, 1, 100), ProgressiveEncoding,
                     Density) ||
      !WriteRows(E, Rows)) {
    if (E.Destination.Failure) std::rethrow_exception(E.Destination.Failure);
    InvalidGraphic(FileName, std::string("JPEG: ") + E.Error.Message);
  }
  Bracket.reset();
  File.Commit();
}

void TJPEGImage::Assign(const TBitmap& Bitmap) {
  FBitmap.Assign(Bitmap);
  FBitmap.Changed();
}

// ---- TMyJpegImage -------------------------------------------------------------

void TMyJpegImage::LoadFromFile(const QString& FileName) {
  if (ThumbMode) {
    GetJpegSize(FileName, FWidth, FHeight);
    Scale = static_cast<TJPEGScale>(JpegThumbScale(FWidth, FHeight, 150));
  } else {
    Scale = jsFullSize;
  }
  TJPEGImage::LoadFromFile(FileName);
  if (!ThumbMode || FWidth == 0 || FHeight == 0) {
    FWidth = FBitmap.Width();
    FHeight = FBitmap.Height();
  }
  Dpi = GetJpegDpi(FileName);
}

void TMyJpegImage::SaveToFileEx(const QString& FileName) const { Encode(FBitmap, FileName, Dpi); }

void TMyJpegImage::SaveBitmapEx(const QString& FileName, const TBitmap& Pixels) const { Encode(Pixels, FileName, Dpi); }

// ---- File probes --------------------------------------------------------------

void GetJpegSize(const QString& FileName, int& Width, int& Height) {
  Width = Height = 0;
  QFile File(FileName);
  if (File.open(QIODevice::ReadOnly)) GetJpegSize(File, Width, Height);
}

void GetJpegSize(QIODevice& File, int& Width, int& Height) {
  Width = Height = 0;
  char C;
  const auto Byte = [&](int& Value) {
    if (!File.getChar(&C)) return false;
    Value = static_cast<uint8_t>(C);
    return true;
  };
  const auto Word = [&](int& Value) {
    int Hi, Lo;
    if (!Byte(Hi) || !Byte(Lo)) return false;
    Value = (Hi << 8) | Lo;
    return true;
  };
  int Soi;
  if (!Word(Soi) || Soi != 0xFFD8) return;
  for (;;) {
    int Prefix, Marker;
    if (!Byte(Prefix) || Prefix != 0xFF || !Byte(Marker)) return;
    while (Marker == 0xFF)
      if (!Byte(Marker)) return;                                        // fill bytes
    if (Marker == 0x01 || (Marker >= 0xD0 && Marker <= 0xD7)) continue; // no length
    if (Marker == 0xD9 || Marker == 0xDA || Marker == 0x00) return;     // end, first scan, not a marker
    if (Marker == 0xC0) {
      int Length, Precision;
      if (!Word(Length) || !Byte(Precision)) return;
      if (!Word(Height)) return;
      Word(Width);
      return;
    }
    int Length;
    if (!Word(Length) || Length < 2) return;
    if (!File.seek(File.pos() + Length - 2)) return;
  }
}

int JpegThumbScale(int Width, int Height, int Size) {
  if (Width <= 0 || Height <= 0 || Size <= 0) return 0;
  const int R = std::max(Width, Height) / Size;
  if (R <= 1) return 0;
  if (R <= 3) return 1;
  if (R <= 7) return 2;
  return 3;
}

double GetJpegDpi(const QString& FileName) {
  if (!QFileInfo::exists(FileName)) return 0;
  QFile File(FileName);
  if (!File.open(QIODevice::ReadOnly)) InvalidGraphic(FileName, "cannot open the file");
  return GetJpegDpi(File, FileName);
}

double GetJpegDpi(QIODevice& File, const QString& FileName) {
  const std::vector<uint8_t> H = ReadHead(File, 18);
  if (H.size() >= 2 && (H[0] != 0xFF || H[1] != 0xD8)) return 0;
  if (H.size() >= 4 && (H[2] != 0xFF || H[3] != 0xE0)) return 0;
  if (H.size() < 16) InvalidGraphic(FileName, "JPEG: file too short for its header");
  if (!HasJfifSegment(H, 16)) return 0;
  const int Units = H[13];
  const int Density = (H[14] << 8) | H[15];
  if (Units == 1) return Density;
  if (Units == 2) return Density * 2.54;
  return 0;
}

bool SetJpegDpi(const QString& FileName, double Dpi) {
  const int Density = std::clamp(Round(Dpi), 1, 65535);
  try {
    return PatchFileHead(FileName, 18, [Density](std::vector<uint8_t>& H) {
      if (!HasJfifSegment(H, 18)) return false;
      H[13] = 1;
      H[14] = H[16] = static_cast<uint8_t>(Density >> 8);
      H[15] = H[17] = static_cast<uint8_t>(Density & 0xFF);
      return true;
    });
  } catch (const std::exception&) {
    return false;
  }
}
