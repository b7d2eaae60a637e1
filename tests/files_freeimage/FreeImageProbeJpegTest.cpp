// JPEG files handed to FreeImage are held to the JPEG reader's own bound of
// what their entropy-coded data can describe, before the library decodes.
#include "FreeImageTestSupport.h"

#include "files/FreeImageProbe.h"
#include "files/FreeImageProvider.h"
#include "files/MyJpegImage.h"
#include "files/ReadLimits.h"
#include "support/ChildCost.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace {

// The file with the size of its baseline frame header replaced.
std::vector<uint8_t> WithFrameSize(std::vector<uint8_t> Bytes, int W, int H) {
  for (size_t I = 2; I + 9 < Bytes.size();) {
    if (Bytes[I + 1] == 0xC0) {
      Bytes[I + 5] = uint8_t(H >> 8), Bytes[I + 6] = uint8_t(H);
      Bytes[I + 7] = uint8_t(W >> 8), Bytes[I + 8] = uint8_t(W);
      break;
    }
    I += 2 + size_t(Bytes[I + 2] << 8 | Bytes[I + 3]);
  }
  return Bytes;
}

TFreeHeaderProbe ProbeJpeg(const std::vector<uint8_t>& Bytes) {
  QByteArray Data(reinterpret_cast<const char*>(Bytes.data()), qsizetype(Bytes.size()));
  QBuffer Buffer(&Data);
  Buffer.open(QIODevice::ReadOnly);
  return ProbeFreeImageHeader(fifJpeg, Buffer);
}

TEST(FreeImageProbeJpeg, DeclaredSizeBeyondTheDataIsRefusedBeforeTheLibrary) {
  TTestFolder Folder;
  const QString Name = Folder.Path("j.jpg");
  TMyJpegImage Jpeg;
  Jpeg.Assign(*SmoothImage(256, 64));
  Jpeg.SaveToFileEx(Name);
  const std::vector<uint8_t> Good = ReadBytes(Name);

  const TFreeHeaderProbe Valid = ProbeJpeg(Good);
  EXPECT_TRUE(Valid.HasSize);
  EXPECT_EQ(Valid.Width, 256);
  EXPECT_EQ(Valid.Height, 64);
  EXPECT_EQ(Valid.Problem, "");

  std::vector<uint8_t> Huge = WithFrameSize(Good, 16384, 16384);
  Huge.resize(Huge.size() * 3 / 4); // and the data cut short
  const TFreeHeaderProbe Refused = ProbeJpeg(Huge);
  EXPECT_EQ(Refused.Width, 16384);
  EXPECT_NE(Refused.Problem, "");

  // The binding's file check refuses it cheaply, naming the file.
  WriteBytes(Name, Huge);
  const TChildCost Cost = MeasureInChild([&] {
    try {
      CheckFreeImageFile(fifJpeg, Name, 0);
      return 0;
    } catch (const EInvalidGraphic& E) {
      return std::string(E.what()).find(QFile::encodeName(Name).toStdString()) == 0 ? 1 : 2;
    }
  });
  ASSERT_TRUE(Cost.Exited) << Cost.Failure;
  EXPECT_EQ(Cost.Result, 1);
  EXPECT_LT(Cost.CpuMs, CpuBudgetMs(100));
  EXPECT_LT(Cost.PeakKB, 64 * 1024);
}

} // namespace
