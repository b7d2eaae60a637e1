// The text layer's record: field order and sizes, lines, copies.
#include "document/TxtData.h"

#include "document/LayerStream.h"

#include "LayeredFileTestSupport.h"

#include <gtest/gtest.h>

using namespace LmiTest;

namespace {

TestText Sample() {
  TestText T;
  T.Initialized = true;
  T.TextFont = QStringLiteral("Serif");
  T.TextSize = 40000; // above the int16 range
  T.FontType = 4;
  T.TextColor = 0x0000FF;
  T.TextAlign = 2;
  T.SpacingX = -10;
  T.TextStyle = fsBold | fsStrikeOut;
  T.TextAngle = 370;
  T.SpacingY = 120;
  T.AntialiasFont = true;
  T.Border = true;
  T.Opacity = 75;
  T.Shadow = true;
  T.ShadowColor = 0x102030;
  T.ShadowDX = -3;
  T.ShadowDY = 4;
  T.ShadowOpacity = 60;
  T.ShadowBlur = 5;
  T.ShadowStyle = lstDiffuse;
  T.BorderColor = 0xABCDEF;
  T.Blur = 2;
  T.Invert = true;
  T.Txt3D = false;
  T.UseBrush = true;
  T.Brush = QStringLiteral("%lmsdir%\\Patterns\\a.png");
  T.Lines = QStringList{QStringLiteral("one"), QString(), QString::fromUtf8("trois é")};
  T.Reserved1 = 11;
  T.Reserved2 = -22;
  T.SaveWidth = 300;
  T.SaveHeight = 200;
  return T;
}

std::vector<uint8_t> Saved(const TTextData& T) {
  TMemoryStream S;
  T.SaveToStream(S);
  return S.Data();
}

} // namespace

TEST(TxtDataTest, RecordHoldsTheFieldsInOrder) {
  const std::vector<uint8_t> D = Saved(Sample());
  Bytes E;
  E.u8(1).str("Serif").i16(40000).i16(4).i32(0xFF).i16(2).i16(-10).u8(9).i16(370).i16(120).u8(1).u8(1).i32(75);
  E.u8(1).i32(0x102030).i32(-3).i32(4).i32(60).i32(5).u8(1).i32(0xABCDEF).i32(2).u8(1).u8(0).u8(1);
  E.str("%lmsdir%\\Patterns\\a.png").i32(3).str("one").str("").str("trois \xE9").i32(11).i32(-22);
  EXPECT_EQ(D, E.D);
}

TEST(TxtDataTest, RoundTripsGiveIdenticalBytesAndLeaveTheRenderingSize) {
  const TestText A = Sample();
  TMemoryStream S(Saved(A));
  TestText B;
  B.Lines = QStringList{QStringLiteral("old")};
  B.LoadFromStream(S);
  EXPECT_EQ(S.Remaining(), 0);
  EXPECT_EQ(B.Lines, A.Lines);
  EXPECT_EQ(B.TextSize, 40000);
  EXPECT_EQ(B.TextStyle, fsBold | fsStrikeOut);
  EXPECT_EQ(B.SaveWidth, 0);
  EXPECT_EQ(Saved(B), Saved(A));

  TestText Empty;
  const std::vector<uint8_t> E = Saved(Empty);
  Reader R{E};
  R.P = E.size() - 12;
  EXPECT_EQ(R.i32(), 0) << "no line";
}

TEST(TxtDataTest, AssignCopiesEverythingFromTextDataOnly) {
  const TestText A = Sample();
  TestText B;
  B.Assign(A);
  EXPECT_EQ(Saved(B), Saved(A));
  EXPECT_EQ(B.SaveWidth, 300);
  EXPECT_EQ(B.SaveHeight, 200);

  struct Other : TLayerData {
    void Assign(const TLayerData&) override {}
    void PrepareBitmaps(TLayerItem&) override {}
  } O;
  B.Assign(O);
  EXPECT_EQ(Saved(B), Saved(A));
}

TEST(TxtDataTest, DamagedRecordsAreRefused) {
  std::vector<uint8_t> D = Saved(Sample());
  // The line count, far beyond the bytes left.
  const size_t CountAt = D.size() - 8 - (4 + 3) - 4 - (4 + 7) - 4;
  D[CountAt + 3] = 0x7F;
  TMemoryStream S(D);
  TestText T;
  EXPECT_THROW(T.LoadFromStream(S), EStreamError);
}
