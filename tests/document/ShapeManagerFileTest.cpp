// The selection file (.lms): the bytes written for each shape kind, reading
// them back, the lenient forms the reader accepts, and malformed files, which
// fail with the shared message and leave the manager empty.
#include "document/LayerStream.h"
#include "document/ShapeManager.h"
#include "raster/DataFileError.h"

#include "support/Printers.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <string>

namespace {

std::string Text(const TMemoryStream& S) { return std::string(S.Data().begin(), S.Data().end()); }

TMemoryStream StreamOf(const std::string& Bytes) {
  return TMemoryStream(reinterpret_cast<const uint8_t*>(Bytes.data()), Bytes.size());
}

std::string Int32(int32_t V) {
  std::string S(4, '\0');
  for (int I = 0; I < 4; ++I) S[size_t(I)] = char((uint32_t(V) >> (8 * I)) & 0xFF);
  return S;
}

const std::string Heading = "Lumaretique Selection\r\n";

struct ShapeFile : ::testing::Test {
  std::vector<QString> Reports;
  TFileErrorHandler Saved;
  void SetUp() override {
    ShowLoadErrors = true;
    Saved = SetFileErrorHandler([this](const QString& M) { Reports.push_back(M); });
  }
  void TearDown() override {
    SetFileErrorHandler(Saved);
    ShowLoadErrors = true;
  }
  // Reads Bytes into M; the shape and bounds read.
  bool Read(TShapeManager& M, const std::string& Bytes, TMyShape& Shape, TRect& R) {
    TMemoryStream S = StreamOf(Bytes);
    return M.LoadFromStream(S, Shape, R);
  }
};

} // namespace

TEST_F(ShapeFile, SimpleShapesStoreCodeAndSize) {
  TShapeManager M;
  TMemoryStream S;
  ASSERT_TRUE(M.SaveToStream(S, ssRect, {30, 40, 230, 140}));
  EXPECT_EQ(Text(S), Heading + "Vectorial\r\n-1\r\n200\r\n100\r\n");
  TMyShape Shape = ssBitmap;
  TRect R;
  ASSERT_TRUE(Read(M, Text(S), Shape, R));
  EXPECT_EQ(Shape, ssRect);
  EXPECT_EQ(R, (TRect{0, 0, 200, 100}));
  for (int K = ssRect; K <= ssLosange; ++K) {
    TMemoryStream T;
    ASSERT_TRUE(M.SaveToStream(T, TMyShape(K), {0, 0, 7, 9}));
    ASSERT_TRUE(Read(M, Text(T), Shape, R)) << K;
    EXPECT_EQ(Shape, TMyShape(K));
    EXPECT_EQ(R, (TRect{0, 0, 7, 9}));
  }
  TMemoryStream Left;
  M.SaveToStream(Left, ssTriangle4, {0, 0, 5, 5});
  EXPECT_EQ(Text(Left), Heading + "Vectorial\r\n-9\r\n5\r\n5\r\n");
}

TEST_F(ShapeFile, PolygonsStoreTextPoints) {
  TShapeManager M;
  M.SetPoints({{{0, 0}, {10, 0}, {5, 8}}, {}, {0, 0, 10, 8}});
  for (TMyShape Kind : {ssPolygon, ssPolyline}) {
    TMemoryStream S;
    ASSERT_TRUE(M.SaveToStream(S, Kind, {}));
    EXPECT_EQ(Text(S), Heading + "Vectorial\r\n3\r\n0;0\r\n10;0\r\n5;8\r\n");
    TShapeManager N;
    TMyShape Shape;
    TRect R;
    ASSERT_TRUE(Read(N, Text(S), Shape, R));
    EXPECT_EQ(Shape, ssPolygon);
    EXPECT_EQ(N.RefData().Points, M.RefData().Points);
    EXPECT_EQ(N.RefData().Bounds, (TRect{0, 0, 10, 8}));
    EXPECT_EQ(R, (TRect{0, 0, 11, 9}));
  }
}

TEST_F(ShapeFile, BitmapShapesStoreBinaryPoints) {
  TShapeManager M;
  M.SetPoints({{{0, 0}}, {15}, {0, 0, 0, 0}});
  TMemoryStream S;
  ASSERT_TRUE(M.SaveToStream(S, ssBitmap, {}));
  EXPECT_EQ(Text(S), Heading + "Binary\r\n" + Int32(1) + Int32(33) + Int32(92) + Int32(77));
  TShapeManager N;
  TMyShape Shape;
  TRect R;
  ASSERT_TRUE(Read(N, Text(S), Shape, R));
  EXPECT_EQ(Shape, ssBitmap);
  EXPECT_EQ(N.RefData().Points, (TShapePointArray{{0, 0}}));
  EXPECT_EQ(N.RefData().Flags, (TShapeByteArray{15}));
  EXPECT_EQ(R, (TRect{0, 0, 1, 1}));
  // A traced shape goes through the file unchanged.
  TBitmap Mask(9, 7, pf24bit, clWhite);
  for (int Y = 1; Y < 6; ++Y)
    for (int X = 2 + Y % 2; X < 8; ++X) RowOf(Mask, Y)[X] = {0, 0, 0};
  M.MaskToPoints(&Mask, 128);
  TMemoryStream T;
  ASSERT_TRUE(M.SaveToStream(T, ssBitmap, {}));
  ASSERT_TRUE(Read(N, Text(T), Shape, R));
  EXPECT_EQ(N.RefData().Points, M.RefData().Points);
  EXPECT_EQ(N.RefData().Flags, M.RefData().Flags);
  EXPECT_EQ(R, (TRect{0, 0, 6, 5}));
}

TEST_F(ShapeFile, LenientForms) {
  struct Case {
    const char* Name;
    std::string Bytes;
    TMyShape Shape;
    TRect R;
  };
  const Case Cases[] = {
      {"no heading", "-2\r\n40\r\n30\r\n", ssEllipse, {0, 0, 40, 30}},
      {"other body word", Heading + "Anything\r\n-2\r\n40\r\n30", ssEllipse, {0, 0, 40, 30}},
      {"lower-case binary", Heading + "binary\r\n-3\r\n4\r\n5\r\n", ssRoundRect, {0, 0, 4, 5}},
      {"LF, LF CR, CR CR", "Lumaretique Selection\nVectorial\n\r-1\r\r8\n9", ssRect, {0, 0, 8, 9}},
      {"points off the origin", Heading + "Vectorial\r\n2\r\n5;7\r\n9;9\r\n", ssPolygon, {0, 0, 5, 3}},
      {"a point at the int range's end", "1\r\n-2147483648;-2147483648\r\n", ssPolygon, {0, 0, 1, 1}},
  };
  for (const Case& C : Cases) {
    TShapeManager M;
    TMyShape Shape = ssBitmap;
    TRect R;
    ASSERT_TRUE(Read(M, C.Bytes, Shape, R)) << C.Name;
    EXPECT_EQ(Shape, C.Shape) << C.Name;
    EXPECT_EQ(R, C.R) << C.Name;
  }
  TShapeManager M;
  TMyShape Shape;
  TRect R;
  ASSERT_TRUE(Read(M, Heading + "Vectorial\r\n2\r\n5;7\r\n9;9\r\n", Shape, R));
  EXPECT_EQ(M.RefData().Points, (TShapePointArray{{0, 0}, {4, 2}}));
  EXPECT_TRUE(Reports.empty());
}

TEST_F(ShapeFile, MalformedFilesFailAndEmptyTheManager) {
  const std::string V = Heading + "Vectorial\r\n", B = Heading + "Binary\r\n";
  struct Case {
    const char* Name;
    std::string Bytes;
  };
  const Case Cases[] = {
      {"code -11", V + "-11\r\n5\r\n5\r\n"},
      {"code -12", "-12\r\n5\r\n5\r\n"},
      {"point without separator", V + "1\r\n12\r\n"},
      {"separator first", V + "1\r\n;5\r\n"},
      {"count 0", V + "0\r\n"},
      {"binary count 0", B + Int32(0)},
      {"negative binary count", B + Int32(-1)},
      {"binary count beyond the data", B + Int32(1000000) + Int32(33) + Int32(92) + Int32(77)},
      {"vectorial count beyond the data", V + "2000000000\r\n0;0\r\n"},
      {"truncated binary", B + Int32(1) + Int32(33) + Int32(92)},
      {"missing height", V + "-1\r\n5\r\n"},
      {"empty line", V + "-1\r\n\r\n5\r\n"},
      {"not a number", V + "-1\r\nabc\r\n5\r\n"},
      {"too few points", V + "3\r\n0;0\r\n1;1\r\n"},
      {"flags out of range", B + Int32(1) + Int32(33) + Int32(77 + 16) + Int32(77)},
      {"X below the int range", B + Int32(1) + Int32(INT32_MIN) + Int32(92) + Int32(77)},
      {"huge bitmap extent",
       B + Int32(2) + Int32(33) + Int32(92) + Int32(77) + Int32(33 + 100000) + Int32(92) + Int32(77 + 100000)},
      {"huge polygon extent", V + "2\r\n-2147483648;0\r\n2147483647;5\r\n"},
      {"negative size", V + "-1\r\n-5\r\n5\r\n"},
      {"empty file", ""},
  };
  for (const Case& C : Cases) {
    TShapeManager M;
    M.SetPoints({{{0, 0}, {4, 4}}, {}, {0, 0, 4, 4}});
    TMyShape Shape = ssLosange;
    TRect R{1, 2, 3, 4};
    Reports.clear();
    EXPECT_FALSE(Read(M, C.Bytes, Shape, R)) << C.Name;
    EXPECT_EQ(M.PointsCount(), 0) << C.Name;
    EXPECT_EQ(M.RefData().Bounds, (TRect{})) << C.Name;
    EXPECT_EQ(Shape, ssLosange) << C.Name;
    EXPECT_EQ(Reports.size(), 1u) << C.Name;
  }
}

TEST_F(ShapeFile, SimpleShapeSizesStayWhereOffsetBoundsCannotOverflow) {
  constexpr int Cap = 1 << 27;
  TShapeManager M;
  TMyShape Shape;
  TRect R;
  TMemoryStream Largest;
  ASSERT_TRUE(M.SaveToStream(Largest, ssEllipse, {-5, 0, Cap - 5, Cap}));
  ASSERT_TRUE(Read(M, Text(Largest), Shape, R));
  EXPECT_EQ(R, (TRect{0, 0, Cap, Cap}));
  // The reader refuses one more, so the writer does not write it.
  const TRect Beyond[] = {{0, 0, Cap + 1, 5}, {0, 0, 5, Cap + 1}, {INT32_MIN, 0, INT32_MAX, 5}, {5, 0, 0, 5}};
  for (const TRect& B : Beyond) {
    Reports.clear();
    TMemoryStream S;
    EXPECT_FALSE(M.SaveToStream(S, ssRect, B)) << B.Right;
    EXPECT_EQ(S.Size(), 0) << B.Right;
    EXPECT_EQ(Reports.size(), 1u);
  }
  for (const char* Size : {"134217729\r\n5\r\n", "5\r\n2147483647\r\n"})
    EXPECT_FALSE(Read(M, Heading + "Vectorial\r\n-1\r\n" + Size, Shape, R)) << Size;
}

TEST_F(ShapeFile, SilentFailureWithoutLoadErrors) {
  ShowLoadErrors = false;
  TShapeManager M;
  M.SetPoints({{{0, 0}, {4, 4}}, {}, {0, 0, 4, 4}});
  TMyShape Shape;
  TRect R;
  EXPECT_FALSE(Read(M, "-11\r\n", Shape, R));
  EXPECT_TRUE(Reports.empty());
  EXPECT_EQ(M.PointsCount(), 0);
}

TEST_F(ShapeFile, FilesAreWrittenWholeAndNamedInErrors) {
  QTemporaryDir Dir;
  ASSERT_TRUE(Dir.isValid());
  const QString Name = QDir(Dir.path()).filePath(QStringLiteral("forme.lms"));
  TShapeManager M;
  M.SetPoints({{{0, 0}, {10, 0}, {5, 8}}, {}, {0, 0, 10, 8}});
  ASSERT_TRUE(M.SaveToFile(Name, ssPolygon, {}));
  TShapeManager N;
  TMyShape Shape;
  TRect R;
  ASSERT_TRUE(N.LoadFromFile(Name, Shape, R));
  EXPECT_EQ(N.RefData().Points, M.RefData().Points);
  EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("forme.lms")});

  // A bitmap shape without flags cannot be written: the old file stays.
  EXPECT_FALSE(M.SaveToFile(Name, ssBitmap, {}));
  ASSERT_TRUE(N.LoadFromFile(Name, Shape, R));
  EXPECT_EQ(Shape, ssPolygon);
  EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);

  QFile Bad(QDir(Dir.path()).filePath(QStringLiteral("bad.lms")));
  ASSERT_TRUE(Bad.open(QIODevice::WriteOnly));
  Bad.write("-12\r\n");
  Bad.close();
  Reports.clear();
  EXPECT_FALSE(N.LoadFromFile(Bad.fileName(), Shape, R));
  ASSERT_EQ(Reports.size(), 1u);
  EXPECT_TRUE(Reports[0].contains(Bad.fileName()));
  EXPECT_THROW(N.LoadFromFile(QDir(Dir.path()).filePath(QStringLiteral("missing.lms")), Shape, R), EStreamError);
}
