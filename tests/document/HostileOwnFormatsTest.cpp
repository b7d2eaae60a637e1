// Hostile layered (.lmi) and selection (.lms) files: each is refused, in a
// child process whose CPU time and memory peak are measured, without
// allocating what its header claims. The same files are in the fuzz corpora
// (fuzz/corpus/lmi_read, fuzz/corpus/lms_read) under the names given here.
// Also: a failed block read leaves no half-read bitmap, and a valid file at
// zlib's highest ratio still round-trips.
#include "document/LayerStream.h"
#include "document/MyImageLayered.h"
#include "document/MyImageLayeredReg.h"
#include "document/ShapeManager.h"

#include "DocumentTestSupport.h"
#include "LayeredFileTestSupport.h"
#include "support/ChildCost.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

using namespace DocTest;
using namespace LmiTest;

namespace {

// zlib's header for the default level, then bytes that can start no deflate
// block (0xFF: a final block of the reserved type).
std::vector<uint8_t> JunkAfterHeader(size_t Size) {
  std::vector<uint8_t> Z(Size, 0xFF);
  Z[0] = 0x78;
  Z[1] = 0x9C;
  return Z;
}

// A valid zlib start holding the first Row bytes (zeros), flushed, then junk.
std::vector<uint8_t> JunkAfterFirstRow(size_t Row, size_t Size) {
  z_stream Z{};
  deflateInit(&Z, Z_DEFAULT_COMPRESSION);
  std::vector<uint8_t> In(Row, 0), Out(deflateBound(&Z, uLong(Row)) + 16);
  Z.next_in = In.data();
  Z.avail_in = uInt(Row);
  Z.next_out = Out.data();
  Z.avail_out = uInt(Out.size());
  deflate(&Z, Z_SYNC_FLUSH);
  Out.resize(Out.size() - Z.avail_out);
  deflateEnd(&Z);
  Out.resize(std::max(Size, Out.size()), 0xFF);
  return Out;
}

// A zlib block of a bitmap (mask: one byte per pixel) holding Compressed.
Bytes ZipBlock(int W, int H, const std::vector<uint8_t>& Compressed) {
  return Bytes{}.i32(W).i32(H).i32(int64_t(Compressed.size()) + 4).append(Compressed);
}

// The same block as a layer stores it, after its mode byte.
Bytes LayerZip(int W, int H, const std::vector<uint8_t>& Compressed) {
  return Bytes{}.u8(1).append(ZipBlock(W, H, Compressed).D);
}

// The zlib stream of W x H black pixels, rows padded.
std::vector<uint8_t> BlackRows(int W, int H) {
  return Deflate(std::vector<uint8_t>(size_t((W * 3 + 3) / 4 * 4) * size_t(H), 0));
}

Bytes RawThumbnail() { return Bytes{}.i32(4 + 9 + 4 + 8 + 3).raw("Thumbnail").i32(0).i32(1).i32(1).u8(1).u8(2).u8(3); }

// Header of version 3 (16384 x 16384 declared, which readers take from the
// layers) and its thumbnail block.
Bytes FileStart(const Bytes& Thumbnail = RawThumbnail()) {
  Bytes B;
  B.raw("Lumaretique Image").u8(3).i32(16384).i32(16384).i32(96000).i32(96000).zeros(256).i32(0);
  return B.append(Thumbnail.D);
}

// A bitmap layer record around its bitmap block (mode byte included) and,
// when not empty, its mask block.
Bytes LayerRecord(const Bytes& Bitmap, const Bytes& Mask = {}) {
  Bytes B;
  B.str("Layer").u8(1).u8(0).i32(0).i32(0).i32(0).i32(0).u8(0).i32(0xFFFFFF).i32(0).i32(0).i32(0).u8(100);
  B.u8(1).append(Bitmap.D).u8(0).i32(0);
  B.u8(Mask.D.empty() ? 0 : 1).append(Mask.D);
  B.u8(0).zeros(16).f64(1.0).zeros(4).i32(0).i32(7).i32(7).i32(80).i32(7).zeros(8).u8(0);
  return B;
}

Bytes OneLayerFile(const Bytes& Bitmap, const Bytes& Mask = {}) {
  return FileStart().i32(1).append(LayerRecord(Bitmap, Mask).D);
}

std::vector<uint8_t> Half(std::vector<uint8_t> V) {
  V.resize(V.size() / 2);
  return V;
}

Bytes WithoutLast(Bytes B, size_t Count) {
  B.D.resize(B.D.size() - Count);
  return B;
}

enum TReader { rdImage, rdLightLayer, rdThumbnail, rdSelection };

struct THostileFile {
  const char* Name; // as in the fuzz corpus
  TReader Reader;
  Bytes File;
};

std::vector<THostileFile> HostileFiles() {
  const std::string Lms = "Lumaretique Selection\r\n";
  auto Text = [](const std::string& S) { return Bytes{}.raw(S); };
  // 100 KB may hold 4096 x 8192 pixels (96 MB) at zlib's highest ratio.
  const std::vector<uint8_t> Junk = JunkAfterHeader(100 * 1024);
  const Bytes Black = LayerZip(1024, 1024, BlackRows(1024, 1024));
  return {
      // The case measured on main: 783 KB declaring 2^28 pixels, junk after the zlib header.
      {"layer_zip_junk_after_header.lmi", rdImage, OneLayerFile(LayerZip(16384, 16384, JunkAfterHeader(783 * 1024)))},
      {"layer_zip_junk_after_first_row.lmi", rdImage,
       OneLayerFile(LayerZip(4096, 8192, JunkAfterFirstRow(4096 * 3, Junk.size())))},
      {"light_layer_zip_junk_after_header.lmi", rdLightLayer, OneLayerFile(LayerZip(4096, 8192, Junk))},
      {"mask_zip_junk_after_header.lmi", rdImage, OneLayerFile(Black, LayerZip(1024, 1024, JunkAfterHeader(8192)))},
      {"thumbnail_zip_junk_after_header.lmi", rdThumbnail,
       FileStart(Bytes{}
                     .i32(4 + 9 + 4 + 12 + int64_t(Junk.size()))
                     .raw("Thumbnail")
                     .i32(1)
                     .append(ZipBlock(4096, 8192, Junk).D))
           .i32(0)},
      {"layer_zip_beyond_zlib_ratio.lmi", rdImage, OneLayerFile(LayerZip(16384, 16384, JunkAfterHeader(1000)))},
      {"layer_over_pixel_limit.lmi", rdImage, OneLayerFile(LayerZip(32768, 16384, JunkAfterHeader(1000)))},
      {"layer_raw_rows_missing.lmi", rdImage, OneLayerFile(Bytes{}.u8(0).i32(4096).i32(4096).zeros(1000))},
      {"layer_zip_length_past_end.lmi", rdImage,
       OneLayerFile(Bytes{}.u8(1).i32(4096).i32(4096).i32(1 << 30).append(JunkAfterHeader(1000)))},
      {"layer_zip_data_cut_short.lmi", rdImage, OneLayerFile(LayerZip(1024, 1024, Half(BlackRows(1024, 1024))))},
      {"file_cut_in_layer_block.lmi", rdImage, WithoutLast(OneLayerFile(Black), 200 + Black.D.size() / 2)},
      {"layer_count_past_end.lmi", rdImage, FileStart().i32(1000000).append(LayerRecord(Black).D)},
      {"thumbnail_length_past_end.lmi", rdImage,
       FileStart(Bytes{}.i32(1 << 30).raw("Thumbnail")).i32(1).append(LayerRecord(Black).D)},
      {"bad-simple-width-int-max.lms", rdSelection, Text(Lms + "Vectorial\r\n-1\r\n2147483647\r\n10\r\n")},
      {"bad-simple-height-past-cap.lms", rdSelection, Text(Lms + "Vectorial\r\n-3\r\n10\r\n134217729\r\n")},
      {"bad-vectorial-count-huge.lms", rdSelection, Text(Lms + "Vectorial\r\n2000000000\r\n0;0\r\n")},
      {"bad-binary-truncated.lms", rdSelection,
       Text(Lms + "Binary\r\n").i32(3).i32(33).i32(77).i32(77).i32(34).i32(77)},
  };
}

// True when the reader refused the file.
bool Refused(TReader Reader, const QString& Name) {
  switch (Reader) {
  case rdImage: {
    TMyImageLayered Image;
    return !Image.LoadFromFile(Name);
  }
  case rdLightLayer:
  case rdThumbnail: {
    TMyImageLayeredReg Reg;
    Reg.SetLoadLayer(Reader == rdLightLayer);
    Reg.SetThumbMode(Reader == rdThumbnail);
    try {
      Reg.LoadFromFile(Name);
    } catch (const EStreamError&) {
      return Reg.Empty();
    }
    return false;
  }
  case rdSelection: {
    ShowLoadErrors = false;
    TShapeManager Manager;
    TMyShape Shape;
    TRect Bounds;
    return !Manager.LoadFromFile(Name, Shape, Bounds);
  }
  }
  return false;
}

void WriteFile(const QString& Name, const std::vector<uint8_t>& D) {
  QFile F(Name);
  ASSERT_TRUE(F.open(QIODevice::WriteOnly));
  ASSERT_EQ(F.write(reinterpret_cast<const char*>(D.data()), qint64(D.size())), qint64(D.size()));
}

} // namespace

TEST(HostileOwnFormats, EachFileIsRefusedQuicklyWithoutTheMemoryItClaims) {
  QTemporaryDir Dir;
  for (const THostileFile& H : HostileFiles()) {
    const QString Name = Dir.filePath(QString::fromLatin1(H.Name));
    WriteFile(Name, H.File.D);
    const TChildCost Cost = MeasureInChild([&] { return Refused(H.Reader, Name) ? 1 : 0; });
    ASSERT_TRUE(Cost.Exited) << H.Name << ": " << Cost.Failure;
    EXPECT_EQ(Cost.Result, 1) << H.Name;
    EXPECT_LT(Cost.CpuMs, CpuBudgetMs(100)) << H.Name;
    EXPECT_LT(Cost.PeakKB, 64 * 1024) << H.Name;
  }
}

TEST(HostileOwnFormats, ABlockThatStopsPartWayLeavesNoHalfReadBitmap) {
  const std::vector<uint8_t> MaskRows = Deflate(std::vector<uint8_t>(64 * 64, 0));
  struct Case {
    const char* Name;
    Bytes Block;
    bool Mask;
  };
  const Case Cases[] = {
      {"raw rows cut", Bytes{}.u8(0).i32(64).i32(64).zeros(64 * 3 * 32), false},
      {"zlib rows cut", LayerZip(64, 64, Half(BlackRows(64, 64))), false},
      {"zlib block past the end", WithoutLast(LayerZip(64, 64, BlackRows(64, 64)), 1), false},
      {"raw mask cut", Bytes{}.u8(0).i32(64).i32(64).zeros(64 * 32), true},
      {"zlib mask cut", LayerZip(64, 64, Half(MaskRows)), true},
  };
  for (const Case& C : Cases) {
    TMemoryStream S(C.Block.D);
    TBitmap Bmp;
    Solid(Bmp, 3, 3, Grey(7));
    EXPECT_THROW(C.Mask ? ReadLayerMask(Bmp, S, 64, 64) : ReadLayerBitmap(Bmp, S), EStreamError) << C.Name;
    EXPECT_TRUE(Bmp.Empty()) << C.Name;
  }
}

TEST(HostileOwnFormats, AFileAtZlibsHighestRatioRoundTrips) {
  QTemporaryDir Dir;
  const QString Name = Dir.filePath(QStringLiteral("flat.lmi"));
  LayerCompression = true;
  TMyImageLayered Image;
  TBitmap Bkg;
  Solid(Bkg, 4096, 4096, Rgb(0, 0, 0));
  SetPx(Bkg, 4095, 4095, Rgb(1, 2, 3));
  Image.AddBackground(&Bkg, nullptr, QStringLiteral("Fond"));
  Image.SaveToFile(Name);
  // Near the format's maximum of 1032 (the writer's block headers keep it
  // just below 1000): the ratio check must not refuse what it wrote.
  EXPECT_GT(int64_t(4096) * 3 * 4096 / QFileInfo(Name).size(), 950);
  TMyImageLayered Back;
  ASSERT_TRUE(Back.LoadFromFile(Name));
  ASSERT_EQ(Back.Layers().Count(), 1);
  EXPECT_TRUE(SamePixels(Back.Layers()[0].Bitmap(), Bkg));
}

TEST(HostileOwnFormats, BlockWritersRefuseWhatTheReadersWouldRefuse) {
  // One row over the limit; 1 bit per pixel and unfilled, since the refusal
  // comes before any conversion or read of the pixels.
  TBitmap Big;
  Big.SetPixelFormat(pf1bit);
  Big.SetSizeUnfilled(16384, int(MaxReadPixels / 16384) + 1);
  for (auto* Write : {&WriteBitmapRaw, &WriteBitmapZip, &WriteMaskRaw, &WriteMaskZip}) {
    TMemoryStream S;
    EXPECT_THROW(Write(Big, S), std::length_error);
    EXPECT_EQ(S.Size(), 0);
  }
}
