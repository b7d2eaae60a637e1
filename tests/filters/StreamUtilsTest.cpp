// The stream helpers of the curve files: byte layouts, the string rules,
// reads past the end, and whole files through the safe writer.
#include "filters/StreamUtils.h"

#include "raster/DataFileError.h"
#include "support/StreamBytes.h"

#include <QBuffer>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

// Reading Bytes with Read, which must consume them all.
template <class F> auto ReadAll(QByteArray Bytes, F&& Read) {
  return ReadFrom(Bytes, [&](QIODevice& S) {
    auto V = Read(S);
    EXPECT_TRUE(S.atEnd());
    return V;
  });
}

} // namespace

TEST(StreamUtils, IntegersAreLittleEndianAndReadBackAsSpecified) {
  EXPECT_EQ(Written([](QIODevice& S) { WriteWord(S, 0x12345); }), QByteArray("\x45\x23", 2)); // low 16 bits
  EXPECT_EQ(ReadAll(QByteArray("\xFE\xFF", 2), ReadWord), 0xFFFE);                            // unsigned
  EXPECT_EQ(Written([](QIODevice& S) { WriteLong(S, -2); }), QByteArray("\xFE\xFF\xFF\xFF", 4));
  EXPECT_EQ(ReadAll(QByteArray("\x01\x02\x03\x84", 4), ReadLong), int32_t(0x84030201));
  EXPECT_EQ(Written([](QIODevice& S) { WriteBool(S, true); }), QByteArray("\x01", 1));
  EXPECT_TRUE(ReadAll(QByteArray("\x07", 1), ReadBool)); // any non-zero byte
  EXPECT_FALSE(ReadAll(QByteArray("\x00", 1), ReadBool));
  // A point is two words, each sign-extended when read.
  const QByteArray P = Written([](QIODevice& S) { WritePoint(S, {-5, 300}); });
  EXPECT_EQ(P, QByteArray("\xFB\xFF\x2C\x01", 4));
  EXPECT_EQ(ReadAll(P, ReadPoint), (TPoint{-5, 300}));
}

TEST(StreamUtils, AnsiStringsWriteTheBytesAskedFor) {
  const QByteArray S("abcdef");
  const std::pair<int, QByteArray> Cases[] = {{0, ""}, {-1, "abcdef"}, {99, "abcdef"}, {2, "ab"}, {6, "abcdef"}};
  for (const auto& [N, Expected] : Cases)
    EXPECT_EQ(Written([&](QIODevice& D) { WriteAnsiStr(D, S, N); }), Expected) << N;
  EXPECT_EQ(ReadAll(QByteArray("xyz"), [](QIODevice& D) { return ReadAnsiStr(D, 3); }), QByteArray("xyz"));
  EXPECT_TRUE(ReadAll(QByteArray(), [](QIODevice& D) { return ReadAnsiStr(D, -4); }).isEmpty());
}

TEST(StreamUtils, ReadsPastTheEndFailWithTheStreamMessage) {
  const std::function<void(QIODevice&)> Reads[] = {
      [](QIODevice& S) { ReadByte(S), ReadByte(S); },
      [](QIODevice& S) { ReadWord(S); },
      [](QIODevice& S) { ReadLong(S); },
      [](QIODevice& S) { ReadPoint(S); },
      [](QIODevice& S) { ReadAnsiStr(S, 2); },
      // A length far beyond the data fails before anything is allocated.
      [](QIODevice& S) { ReadAnsiStr(S, 0x7FFFFFFF); },
  };
  // Every read runs on one byte.
  for (const auto& Read : Reads) {
    QByteArray One("\x01", 1);
    QBuffer B(&One);
    B.open(QIODevice::ReadOnly);
    try {
      Read(B);
      ADD_FAILURE() << "no error";
    } catch (const EStreamReadError& E) {
      EXPECT_STREQ(E.what(), "Erreur de lecture du flux");
    }
  }
}

TEST(StreamUtils, WholeFilesGoThroughTheSafeWriterAndFailuresNameTheFile) {
  QStringList Reports;
  const TFileErrorHandler Old = SetFileErrorHandler([&](const QString& M) { Reports << M; });
  const QString Name = QDir::home().filePath(QStringLiteral("stream.bin"));
  ASSERT_TRUE(SaveStreamFile(Name, [](QIODevice& S) { WriteLong(S, 7); }));
  int32_t Read = 0;
  EXPECT_TRUE(LoadStreamFile(Name, [&](QIODevice& S) { Read = ReadLong(S); }));
  EXPECT_EQ(Read, 7);
  // A reader that runs out of bytes: the message and the file's name.
  EXPECT_FALSE(LoadStreamFile(Name, [](QIODevice& S) { ReadAnsiStr(S, 5); }));
  ASSERT_EQ(Reports.size(), 1);
  EXPECT_EQ(Reports[0], QStringLiteral("Erreur de lecture du flux\n") + Name);
  // A writer that fails half-way leaves the old file whole.
  EXPECT_FALSE(SaveStreamFile(Name, [](QIODevice& S) {
    WriteLong(S, 9);
    InvalidStreamData();
  }));
  ASSERT_EQ(Reports.size(), 2);
  EXPECT_TRUE(Reports[1].endsWith(Name));
  QFile F(Name);
  ASSERT_TRUE(F.open(QIODevice::ReadOnly));
  EXPECT_EQ(F.readAll(), QByteArray("\x07\x00\x00\x00", 4));
  // Nothing to open, nowhere to write.
  EXPECT_FALSE(LoadStreamFile(Name + QStringLiteral(".none"), [](QIODevice&) {}));
  EXPECT_FALSE(SaveStreamFile(QDir::home().filePath(QStringLiteral("no/such/folder/x.bin")), [](QIODevice&) {}));
  EXPECT_EQ(Reports.size(), 4);
  EXPECT_TRUE(Reports[3].contains(QStringLiteral("x.bin")));
  SetFileErrorHandler(Old);
}
