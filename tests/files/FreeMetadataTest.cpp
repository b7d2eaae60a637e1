#include "files/FreeMetadata.h"

#include "FakeFreeImage.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <string>

namespace {

using TBytes = std::vector<uint8_t>;

QDateTime FixedClock() { return QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5)); }
const std::string FixedDate = "2024:01:02 03:04:05";

// ---- A plain writer of raw EXIF blocks, the reference of these tests ----

TBytes Num(bool BigEndian, uint64_t Value, int Size) {
  TBytes B(size_t(Size), 0);
  for (int I = 0; I < Size; ++I) B[size_t(BigEndian ? Size - 1 - I : I)] = uint8_t(Value >> (8 * I));
  return B;
}
TBytes Text(const std::string& S) { return TBytes(S.begin(), S.end() + 1); } // with its NUL
TBytes Concat(std::initializer_list<TBytes> Parts) {
  TBytes All;
  for (const TBytes& P : Parts) All.insert(All.end(), P.begin(), P.end());
  return All;
}

struct TEntry {
  uint16_t Tag;
  uint16_t Type;
  uint32_t Count;
  TBytes Value; // in the block's order
};

TBytes WriteIfd(bool BE, uint32_t Start, const std::vector<TEntry>& Entries) {
  TBytes Head = Num(BE, Entries.size(), 2), Data;
  const uint32_t DataStart = Start + 2 + 12 * uint32_t(Entries.size()) + 4;
  for (const TEntry& E : Entries) {
    TBytes Field = E.Value;
    if (Field.size() > 4) {
      Field = Num(BE, DataStart + Data.size(), 4);
      Data.insert(Data.end(), E.Value.begin(), E.Value.end());
    }
    Field.resize(4, 0);
    Head = Concat({Head, Num(BE, E.Tag, 2), Num(BE, E.Type, 2), Num(BE, E.Count, 4), Field});
  }
  return Concat({Head, Num(BE, 0, 4), Data});
}

uint32_t SizeOf(const std::vector<TEntry>& Entries) {
  uint32_t Size = 2 + 12 * uint32_t(Entries.size()) + 4;
  for (const TEntry& E : Entries)
    if (E.Value.size() > 4) Size += uint32_t(E.Value.size());
  return Size;
}

// IFD0 (with the EXIF IFD pointer appended) and the EXIF IFD right after it.
TBytes MakeBlock(bool BE, std::vector<TEntry> Ifd0, const std::vector<TEntry>& Exif) {
  Ifd0.push_back({34665, 4, 1, {}});
  Ifd0.back().Value = Num(BE, 8 + SizeOf(Ifd0), 4);
  return Concat({{'E', 'x', 'i', 'f', 0, 0},
                 BE ? TBytes{'M', 'M'} : TBytes{'I', 'I'},
                 Num(BE, 42, 2),
                 Num(BE, 8, 4),
                 WriteIfd(BE, 8, Ifd0),
                 WriteIfd(BE, 8 + SizeOf(Ifd0), Exif)});
}

// A camera's block: its values, and what a patch to 640 x 480 (or Width) at
// 72.5 x 96 dpi must make of them.
struct TCameraValues {
  uint16_t Orientation = 6, Unit = 3;
  uint32_t XNum = 300, XDen = 1, YNum = 300, YDen = 1;
  std::string Date = "2010:10:10 10:10:10";
  uint32_t Width = 4000, Height = 3000;
  uint16_t WidthType = 3;
};

TBytes CameraBlock(bool BE, const TCameraValues& V) {
  const std::vector<TEntry> Ifd0{
      {271, 2, 4, Text("Cam")},
      {274, 3, 1, Num(BE, V.Orientation, 2)},
      {282, 5, 1, Concat({Num(BE, V.XNum, 4), Num(BE, V.XDen, 4)})},
      {283, 5, 1, Concat({Num(BE, V.YNum, 4), Num(BE, V.YDen, 4)})},
      {296, 3, 1, Num(BE, V.Unit, 2)},
      {306, 2, uint32_t(Text(V.Date).size()), Text(V.Date)},
  };
  const std::vector<TEntry> Exif{
      {33434, 5, 1, Concat({Num(BE, 1, 4), Num(BE, 250, 4)})},
      {40962, V.WidthType, 1, Num(BE, V.Width, V.WidthType == 3 ? 2 : 4)},
      {40963, 4, 1, Num(BE, V.Height, 4)},
  };
  return MakeBlock(BE, Ifd0, Exif);
}

TCameraValues Patched(uint32_t Width = 640) {
  TCameraValues V;
  V.Orientation = 1;
  V.Unit = 2;
  V.XNum = 7250, V.XDen = 100, V.YNum = 96, V.YDen = 1;
  V.Date = FixedDate;
  V.Width = Width, V.Height = 480;
  V.WidthType = Width > 0xFFFF ? 4 : 3;
  return V;
}

TBytes Le(uint64_t Value, int Size) { return Num(false, Value, Size); }

void Put(TBytes& B, size_t At, bool BE, uint64_t Value, int Size) {
  const TBytes N = Num(BE, Value, Size);
  std::copy(N.begin(), N.end(), B.begin() + ptrdiff_t(At));
}

class FreeMetadata : public ::testing::Test {
protected:
  void SetUp() override {
    SetExifClock(FixedClock);
    ExifSoftware = "Lumaretique 11";
  }
  void TearDown() override {
    SetExifClock(nullptr);
    ExifSoftware.clear();
  }
};

// Offsets inside the camera block (absolute), for the corruption cases.
constexpr size_t Ifd0Count = 14, Ifd0Entries = 16;
size_t EntryField(int Entry) { return Ifd0Entries + 12 * size_t(Entry) + 8; }

} // namespace

TEST_F(FreeMetadata, FloatToRational) {
  struct Case {
    float X;
    TRational R;
  };
  for (const Case& C : {Case{72.0f, {72, 1}}, Case{72.5f, {7250, 100}}, Case{72.004f, {72, 1}}, Case{0.333f, {33, 100}},
                        Case{118.11f, {11811, 100}}, Case{72.995f, {73, 1}}, Case{-3.5f, {0, 100}},
                        Case{1e12f, {UINT32_MAX, 1}}, Case{NAN, {0, 1}}, Case{INFINITY, {UINT32_MAX, 1}}}) {
    EXPECT_EQ(FloatToRational(C.X), C.R) << C.X;
  }
  EXPECT_EQ(RationalToFloat({7250, 100}), 72.5);
  EXPECT_EQ(RationalToFloat({5, 0}), 0);
}

TEST_F(FreeMetadata, ResolutionTagsInInchesOrCentimetres) {
  TMetadata List;
  AddRationalTag(List, fmdExifMain, "", etXResolution, 118.11f);
  AddRationalTag(List, fmdExifMain, "", etYResolution, 72);
  double X = 0, Y = 0;
  EXPECT_EQ(ExifResolutionUnit(List), 2); // absent: inches
  GetExifResolution(List, X, Y);
  EXPECT_DOUBLE_EQ(X, 118.11);
  AddShortTag(List, fmdExifMain, "", etResolutionUnit, 3);
  GetExifResolution(List, X, Y);
  EXPECT_NEAR(X, 300, 0.01);
  EXPECT_NEAR(Y, 72 * 2.54, 1e-9);

  TMetadata Broken;
  AddTag(Broken, fmdExifMain, fdtRational, "", etXResolution, 5); // too short
  const int Y0 = AddTag(Broken, fmdExifMain, fdtRational, "", etYResolution, 8);
  Broken[Y0].Data = Concat({Le(300, 4), Le(0, 4)}); // denominator 0
  AddTag(Broken, fmdExifMain, fdtShort, "", etResolutionUnit, 0);
  GetExifResolution(Broken, X, Y);
  EXPECT_EQ(X, 0);
  EXPECT_EQ(Y, 0);
  EXPECT_EQ(ExifResolutionUnit(Broken), 2);
}

TEST_F(FreeMetadata, LookupsStayInsideTheModelsFirstRun) {
  TMetadata List;
  EXPECT_FALSE(HasMetadata(List));
  AddShortTag(List, fmdExifMain, "", etOrientation, 1);
  AddShortTag(List, fmdExifExif, "", etPixelXDimension, 1);
  AddShortTag(List, fmdExifMain, "", etResolutionUnit, 2);
  AddTag(List, fmdIptc, fdtAscii, "Caption", 0x78, 1);
  int First = -1, Last = -1;
  EXPECT_TRUE(ModelRange(List, fmdExifMain, First, Last));
  EXPECT_EQ(First, 0);
  EXPECT_EQ(Last, 0);
  EXPECT_EQ(FindTag(List, fmdExifMain, etOrientation), 0);
  EXPECT_EQ(FindTag(List, fmdExifMain, etResolutionUnit), -1);
  EXPECT_EQ(FirstTagOfModel(List, fmdIptc), 3);
  EXPECT_FALSE(ModelRange(List, fmdComments, First, Last));
  EXPECT_TRUE(HasExifMetadata(List));
  EXPECT_TRUE(HasIptcMetadata(List));
  EXPECT_FALSE(HasModel(List, fmdExifRaw));
  EXPECT_EQ(List[3].Key, "Caption");
  EXPECT_EQ(List[1].Key, "PixelXDimension");
  EXPECT_EQ(AddTag(List, fmdExifGps, fdtLong, "", 2, 4), 4);
  EXPECT_EQ(List[4].Key, "");
  EXPECT_EQ(List[4].Count, 1u);
}

TEST_F(FreeMetadata, WhichFormatsCarryWhichModel) {
  struct Case {
    int Fif, Model, Support;
  };
  for (const Case& C : {Case{fifJpeg, fmdComments, 3}, Case{fifPng, fmdComments, 3}, Case{fifTiff, fmdComments, 0},
                        Case{fifJpeg, fmdExifMain, 1}, Case{fifTiff, fmdExifMain, 3}, Case{fifJxr, fmdExifGps, 3},
                        Case{fifTiff, fmdExifExif, 1}, Case{fifTiff, fmdExifGps, 0}, Case{fifJxr, fmdExifInterop, 1},
                        Case{fifWebp, fmdExifRaw, 3}, Case{fifRaw, fmdExifRaw, 1}, Case{fifGif, fmdExifMain, 0},
                        Case{fifJpeg, fmdIptc, 3}, Case{fifJpeg, 7, 0}, Case{fifBmp, fmdComments, 0}}) {
    EXPECT_EQ(MetadataSupport(C.Fif, C.Model), C.Support) << C.Fif << " " << C.Model;
    EXPECT_EQ(CanReadModel(C.Fif, C.Model), C.Support != 0);
    EXPECT_EQ(CanWriteModel(C.Fif, C.Model), C.Support == 3);
  }
}

TEST_F(FreeMetadata, Comments) {
  TMetadata List;
  EXPECT_EQ(GetMetadataComment(List), "");
  SetMetadataComment(List, "Hello");
  ASSERT_EQ(List.Length(), 1);
  EXPECT_EQ(List[0].Model, fmdComments);
  EXPECT_EQ(List[0].Key, "Comment");
  EXPECT_EQ(List[0].Format, fdtAscii);
  EXPECT_EQ(List[0].Count, 6u);
  EXPECT_EQ(GetMetadataComment(List), "Hello");
  List[0].Format = fdtUndefined;
  SetMetadataComment(List, "Hi");
  EXPECT_EQ(List.Length(), 1);
  EXPECT_EQ(List[0].Count, 3u);
  EXPECT_EQ(List[0].Format, fdtUndefined); // kept
  EXPECT_EQ(TagDataToText({'a', 0, 'b', 0}), std::string("a\0b", 3));
  EXPECT_EQ(TagDataToText({'a', 'b'}), "ab");
}

TEST_F(FreeMetadata, ListsAreSharedBetweenHolders) {
  TMetadata Document;
  AddDefaultExif(Document, 640, 480, 96, 96);
  TMetadata Writer = Document;
  EXPECT_TRUE(Writer.SharesListWith(Document));
  AdjustMetadata(Writer, fmdExifRaw, 100, 50, 300, 300);
  const TFreeTag& Raw = Document[FirstTagOfModel(Document, fmdExifRaw)];
  EXPECT_EQ(TBytes(Raw.Data.end() - 32, Raw.Data.end() - 28), Num(true, 100, 4)); // PixelXDimension
  SetMetadataComment(Writer, "shared");
  EXPECT_EQ(GetMetadataComment(Document), "shared");
  Writer.Clear(); // drops the writer's share only
  EXPECT_EQ(Writer.Length(), 0);
  EXPECT_EQ(Document.Length(), 11);
}

TEST_F(FreeMetadata, DefaultExifOfANewImage) {
  TMetadata List;
  AddDefaultExif(List, 640, 480, 96, 96);
  ASSERT_EQ(List.Length(), 10);
  const char* Keys[] = {"DateTime", "Orientation",     "ResolutionUnit",  "XResolution", "YResolution",
                        "Software", "PixelXDimension", "PixelYDimension", "ExifVersion", "ExifRaw"};
  const int Models[] = {1, 1, 1, 1, 1, 1, 2, 2, 2, 11};
  for (int I = 0; I < 10; ++I) {
    EXPECT_EQ(List[I].Key, Keys[I]);
    EXPECT_EQ(List[I].Model, Models[I]);
  }
  EXPECT_EQ(List[0].Data, Text(FixedDate));
  EXPECT_EQ(List[0].Count, 20u);
  EXPECT_EQ(List[1].Data, Le(1, 2));
  EXPECT_EQ(List[3].Data, Concat({Le(96, 4), Le(1, 4)}));
  EXPECT_EQ(List[5].Data, Text("Lumaretique 11"));
  EXPECT_EQ(List[6].Format, fdtLong);
  EXPECT_EQ(List[7].Data, Le(480, 4));
  EXPECT_EQ(List[8].Format, fdtUndefined);
  EXPECT_EQ(List[8].Data, (TBytes{'0', '2', '2', '0'}));
  EXPECT_EQ(List[8].Count, 4u);

  // The whole raw block, written out by hand.
  const TBytes Expected = Concat({
      {'E', 'x', 'i', 'f', 0, 0, 'M', 'M', 0, 42, 0, 0, 0, 8},
      {0, 7},                                        // IFD0 at offset 8: seven entries
      {0x01, 0x32, 0, 2, 0, 0, 0, 20, 0, 0, 0, 98},  // DateTime, at 98
      {0x01, 0x12, 0, 3, 0, 0, 0, 1, 0, 1, 0, 0},    // Orientation 1
      {0x01, 0x28, 0, 3, 0, 0, 0, 1, 0, 2, 0, 0},    // ResolutionUnit 2
      {0x01, 0x1A, 0, 5, 0, 0, 0, 1, 0, 0, 0, 118},  // XResolution, at 118
      {0x01, 0x1B, 0, 5, 0, 0, 0, 1, 0, 0, 0, 126},  // YResolution, at 126
      {0x01, 0x31, 0, 2, 0, 0, 0, 15, 0, 0, 0, 134}, // Software, at 134
      {0x87, 0x69, 0, 4, 0, 0, 0, 1, 0, 0, 0, 149},  // ExifIFDPointer 149
      {0, 0, 0, 0},                                  // no next IFD
      Text(FixedDate),
      {0, 0, 0, 96, 0, 0, 0, 1, 0, 0, 0, 96, 0, 0, 0, 1},
      Text("Lumaretique 11"),
      {0, 3},                                           // EXIF IFD at 149: three entries
      {0xA0, 0x02, 0, 4, 0, 0, 0, 1, 0, 0, 0x02, 0x80}, // PixelXDimension 640
      {0xA0, 0x03, 0, 4, 0, 0, 0, 1, 0, 0, 0x01, 0xE0}, // PixelYDimension 480
      {0x90, 0x00, 0, 7, 0, 0, 0, 4, '0', '2', '2', '0'},
      {0, 0, 0, 0},
  });
  EXPECT_EQ(List[9].Data, Expected);
  EXPECT_EQ(List[9].Format, fdtByte);
  EXPECT_EQ(List[9].Count, 197u);
  EXPECT_EQ(List[9].Id, 0);

  // A second call finds every model present and adds nothing.
  AddDefaultExif(List, 10, 10, 300, 300);
  EXPECT_EQ(List.Length(), 10);
}

TEST_F(FreeMetadata, DefaultExifAddsOnlyWhatIsMissing) {
  ExifMake = "Maker";
  TMetadata List;
  AddShortTag(List, fmdExifMain, "", etOrientation, 8);
  AddLongTag(List, fmdExifExif, "", etPixelXDimension, 5);
  AddDefaultExif(List, 640, 480, 96, 96);
  ExifMake.clear();
  ASSERT_EQ(List.Length(), 3);
  EXPECT_EQ(List[2].Model, fmdExifRaw);
  // Built from fresh default tags, the maker's name included.
  EXPECT_EQ(List[2].Data.size(), 197u + 12 + 6);
  EXPECT_EQ(TBytes(List[2].Data.begin() + 16, List[2].Data.begin() + 18), (TBytes{0x01, 0x0F}));
}

TEST_F(FreeMetadata, PatchRawExifInBothByteOrders) {
  for (bool BE : {true, false}) {
    TBytes Block = CameraBlock(BE, TCameraValues{});
    EXPECT_TRUE(PatchRawExif(Block, 640, 480, 72.5, 96));
    EXPECT_EQ(Block, CameraBlock(BE, Patched())) << (BE ? "MM" : "II");

    // A width beyond 16 bits turns the SHORT entry into a LONG.
    Block = CameraBlock(BE, TCameraValues{});
    EXPECT_TRUE(PatchRawExif(Block, 70000, 480, 72.5, 96));
    EXPECT_EQ(Block, CameraBlock(BE, Patched(70000))) << (BE ? "MM" : "II");
  }
}

TEST_F(FreeMetadata, BadRawBlocksStayUnchanged) {
  using TCorruption = void (*)(TBytes&, bool);
  struct Case {
    const char* Name;
    TCorruption Corrupt;
  };
  const Case Cases[] = {
      {"XResolution past the end", [](TBytes& B, bool BE) { Put(B, EntryField(2), BE, 0xFFFFFFF0u, 4); }},
      {"XResolution inside the header", [](TBytes& B, bool BE) { Put(B, EntryField(2), BE, 2, 4); }},
      {"DateTime count past the end", [](TBytes& B, bool BE) { Put(B, EntryField(5) - 4, BE, 0x7FFFFFFF, 4); }},
      {"EXIF IFD past the end", [](TBytes& B, bool BE) { Put(B, EntryField(6), BE, uint32_t(B.size()), 4); }},
      {"IFD0 entry count", [](TBytes& B, bool BE) { Put(B, Ifd0Count, BE, 0xFFFF, 2); }},
      {"IFD0 offset", [](TBytes& B, bool BE) { Put(B, 10, BE, 0xFFFFFFFF, 4); }},
      {"magic number", [](TBytes& B, bool BE) { Put(B, 8, BE, 43, 2); }},
      {"byte order mark", [](TBytes& B, bool) { B[7] = 'X'; }},
      {"Exif header", [](TBytes& B, bool) { B[4] = 1; }},
      {"truncated in the EXIF IFD", [](TBytes& B, bool) { B.resize(B.size() - 20); }},
      {"header only", [](TBytes& B, bool) { B.resize(13); }},
  };
  for (bool BE : {true, false}) {
    for (const Case& C : Cases) {
      TBytes Block = CameraBlock(BE, TCameraValues{});
      C.Corrupt(Block, BE);
      const TBytes Before = Block;
      EXPECT_FALSE(PatchRawExif(Block, 640, 480, 72.5, 96)) << C.Name;
      EXPECT_EQ(Block, Before) << C.Name;
    }
  }
  TBytes Empty;
  EXPECT_FALSE(PatchRawExif(Empty, 1, 1, 1, 1));
}

TEST_F(FreeMetadata, PatchPassesOverEntriesOfAnotherShape) {
  for (bool BE : {true, false}) {
    TCameraValues Odd;
    Odd.Date = "2010:10:10"; // eleven bytes: too short for a date
    TBytes Block = CameraBlock(BE, Odd);
    // The DateTime entry's count says 11: nothing is written through it.
    EXPECT_TRUE(PatchRawExif(Block, 640, 480, 72.5, 96));
    TCameraValues Expected = Patched();
    Expected.Date = Odd.Date;
    EXPECT_EQ(Block, CameraBlock(BE, Expected));
  }
}

TEST_F(FreeMetadata, AdjustmentsBeforeASave) {
  TMetadata List;
  const int Date = AddTag(List, fmdExifMain, fdtAscii, "", etDateTime, 5);
  const int Unit = AddShortTag(List, fmdExifMain, "", etResolutionUnit, 3);
  const int X = AddRationalTag(List, fmdExifMain, "", etXResolution, 10);
  const int W = AddShortTag(List, fmdExifExif, "", etPixelXDimension, 10);
  const int H = AddLongTag(List, fmdExifExif, "", etPixelYDimension, 10);
  AddShortTag(List, fmdIptc, "", 5, 7);
  AdjustMetadata(List, fmdExifMain, 70000, 300, 72.5, 96);
  EXPECT_EQ(List[Date].Data, Text(FixedDate));
  EXPECT_EQ(List[Date].Count, 20u);
  EXPECT_EQ(List[Unit].Data, Le(2, 2));
  EXPECT_EQ(List[X].Data, Concat({Le(7250, 4), Le(100, 4)}));
  EXPECT_EQ(FindTag(List, fmdExifMain, etYResolution), -1); // absent tags are not added
  EXPECT_EQ(List[W].Data, Le(10, 2));
  AdjustMetadata(List, fmdExifExif, 70000, 300, 72.5, 96);
  EXPECT_EQ(List[W].Data, Le(70000, 4));
  EXPECT_EQ(List[W].Format, fdtLong);
  EXPECT_EQ(List[H].Data, Le(300, 4));
  AdjustMetadata(List, fmdIptc, 1, 1, 1, 1);
  EXPECT_EQ(List[5].Data, Le(7, 2));

  TFreeTagData Data(2);
  SetIntegerData(Data, 0x1234);
  EXPECT_EQ(Data, Le(0x1234, 2));
  Data.assign(1, 0);
  SetIntegerData(Data, 0x12345678);
  EXPECT_EQ(Data, Le(0x12345678, 4));
  Data.assign(6, 0xEE);
  SetIntegerData(Data, 1);
  EXPECT_EQ(Data, (TBytes{1, 0, 0, 0, 0xEE, 0xEE}));
  Data.clear();
  SetRationalData(Data, 2.25f);
  EXPECT_EQ(Data, Concat({Le(225, 4), Le(100, 4)}));
}

TEST_F(FreeMetadata, ExifDateTimeNowFormat) {
  EXPECT_EQ(ExifDateTimeNow(), FixedDate);
  SetExifClock(nullptr);
  const QString Now = QString::fromStdString(ExifDateTimeNow());
  EXPECT_TRUE(QRegularExpression(R"(^\d{4}:\d\d:\d\d \d\d:\d\d:\d\d$)").match(Now).hasMatch()) << Now.toStdString();
}

TEST_F(FreeMetadata, TagLines) {
  TMetadata List;
  AddAsciiTag(List, fmdExifMain, "", etMake, "Cam ");
  AddShortTag(List, fmdExifMain, "", etOrientation, 6);
  AddRationalTag(List, fmdExifMain, "", etXResolution, 72.5f);
  AddAsciiTag(List, fmdExifMain, "Blank", 999, "");
  AddUndefinedTag(List, fmdExifMain, "Note", 37500, std::string(20, '\x01'));
  AddUndefinedTag(List, fmdExifExif, "", etExifVersion, "0220");

  QStringList Lines;
  EXPECT_TRUE(MetadataModelToStrings(List, fmdExifMain, &Lines, false));
  EXPECT_EQ(Lines, QStringList({"Make=Cam", "Orientation=6", "XResolution=7250/100", "Note=(20 bytes)"}));
  Lines.clear();
  EXPECT_TRUE(MetadataModelToStrings(List, fmdExifExif, &Lines, true));
  EXPECT_EQ(Lines, QStringList({"ExifVersion=0220"}));
  EXPECT_FALSE(MetadataModelToStrings(List, fmdExifMain, nullptr, true));
  EXPECT_FALSE(MetadataModelToStrings(List, fmdIptc, &Lines, true));

  // With the library, its text is used, trimmed.
  TScopedFakeFreeImage FreeImage;
  Lines.clear();
  EXPECT_TRUE(MetadataModelToStrings(List, fmdExifMain, &Lines, false));
  EXPECT_EQ(Lines, QStringList({"Make=text:Make", "Orientation=text:Orientation", "XResolution=text:XResolution",
                                "Note=text:Note"}));
  Lines.clear();
  MetadataModelToStrings(List, fmdExifMain, &Lines, true);
  EXPECT_TRUE(Lines.contains("Blank="));
}
