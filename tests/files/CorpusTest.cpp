// Every file of tests/files/corpus/ through the reader of its extension:
// "ok-" files load, "bad-" files fail with EInvalidGraphic; nothing crashes,
// hangs or allocates beyond the limits (run under the sanitizers). The valid
// files are then cut at every length and have their header fields set to
// extreme values: each variant loads or fails cleanly.
#include "files/BmpFile.h"
#include "files/ColorDepth.h"
#include "files/GifImage.h"
#include "files/MyJpegImage.h"
#include "files/MyPngImage.h"
#include "files/ReadLimits.h"

#include "FileTestSupport.h"

#include <QBuffer>
#include <QDir>

#include <gtest/gtest.h>

namespace {

// Reads the bytes as the extension says; throws what the reader throws.
void ReadAs(const QString& Ext, const std::vector<uint8_t>& Bytes, TBitmap& Out) {
  const QByteArray Data = QByteArray::fromRawData(reinterpret_cast<const char*>(Bytes.data()), qsizetype(Bytes.size()));
  if (Ext == "bmp") {
    QBuffer Buffer;
    Buffer.setData(Data);
    Buffer.open(QIODevice::ReadOnly);
    LoadBitmapFromBmpDevice(Buffer, "corpus.bmp", Out);
  } else if (Ext == "png") {
    TPngImage Png;
    Png.LoadFromMemory(Bytes.data(), Bytes.size(), "corpus.png");
    PngToBitmap(Png, Out);
  } else if (Ext == "jpg") {
    TJPEGImage Jpeg;
    Jpeg.Scale = TJPEGScale(Bytes.size() % 4);
    Jpeg.LoadFromMemory(Bytes.data(), Bytes.size(), "corpus.jpg");
    Jpeg.AssignTo(Out);
  } else if (Ext == "gif") {
    QBuffer Buffer;
    Buffer.setData(Data);
    Buffer.open(QIODevice::ReadOnly);
    TGIFImage Gif;
    Gif.LoadFromDevice(Buffer, "corpus.gif");
    GetGifComment(Gif);
    GifFrameToBitmap(Gif, Out, int(Gif.Frames.size()) - 1, true);
  } else {
    FAIL() << "no reader for " << Ext.toStdString();
  }
}

// Loads or fails with EInvalidGraphic; answers whether it loaded.
bool LoadsCleanly(const QString& Ext, const std::vector<uint8_t>& Bytes, const std::string& What) {
  TBitmap Out;
  try {
    ReadAs(Ext, Bytes, Out);
  } catch (const EInvalidGraphic&) {
    return false;
  } catch (const std::exception& E) {
    ADD_FAILURE() << What << ": unexpected exception " << E.what();
    return false;
  }
  EXPECT_LE(int64_t(Out.Width()) * Out.Height(), MaxReadPixels) << What;
  return true;
}

QFileInfoList CorpusFiles() { return QDir(LUMA_FILES_CORPUS).entryInfoList(QDir::Files, QDir::Name); }

TEST(Corpus, EachFileLoadsOrFailsAsItsNameSays) {
  const QFileInfoList Files = CorpusFiles();
  ASSERT_GE(Files.size(), 40);
  for (const QFileInfo& File : Files) {
    const std::string Name = File.fileName().toStdString();
    const bool Expected = File.fileName().startsWith("ok-");
    ASSERT_TRUE(Expected || File.fileName().startsWith("bad-")) << Name;
    EXPECT_EQ(LoadsCleanly(File.suffix(), ReadBytes(File.filePath()), Name), Expected) << Name;
  }
}

TEST(Corpus, FileProbesNeverFailUncleanly) {
  for (const QFileInfo& File : CorpusFiles()) {
    int W = 0, H = 0;
    GetJpegSize(File.filePath(), W, H);
    EXPECT_GE(W, 0);
    EXPECT_GE(H, 0);
    for (auto Probe : {GetJpegDpi, GetBmpDpi}) {
      try {
        EXPECT_GE(Probe(File.filePath()), 0) << File.fileName().toStdString();
      } catch (const EInvalidGraphic&) {
      }
    }
  }
}

TEST(Corpus, CutsAndExtremeHeaderFieldsOfValidFiles) {
  for (const QFileInfo& File : CorpusFiles()) {
    if (!File.fileName().startsWith("ok-")) continue;
    const std::vector<uint8_t> Bytes = ReadBytes(File.filePath());
    const std::string Name = File.fileName().toStdString();
    for (size_t Length = 0; Length<Bytes.size(); Length += Bytes.size()> 400 ? 3 : 1)
      LoadsCleanly(File.suffix(), std::vector<uint8_t>(Bytes.begin(), Bytes.begin() + ptrdiff_t(Length)),
                   Name + " cut at " + std::to_string(Length));
    for (size_t At = 0; At + 4 <= std::min<size_t>(Bytes.size(), 64); ++At)
      for (uint32_t Value : {0u, 1u, 0xFFFFFFFFu, 0x7FFFFFFFu, 0x80000000u, 0x00FFFF00u}) {
        std::vector<uint8_t> Changed = Bytes;
        for (int I = 0; I < 4; ++I) Changed[At + size_t(I)] = uint8_t(Value >> (8 * I));
        LoadsCleanly(File.suffix(), Changed, Name + " field at " + std::to_string(At));
      }
  }
}

} // namespace
