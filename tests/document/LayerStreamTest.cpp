// Block routines of the layered file: strings, comment field, raw and zlib
// blocks with their row orders and padding, the thumbnail, and the refusal
// of sizes the bytes cannot hold.
#include "document/LayerStream.h"

#include "DocumentTestSupport.h"
#include "LayeredFileTestSupport.h"
#include "support/ChildCost.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include <zlib.h>

using namespace DocTest;
using namespace LmiTest;

namespace {

std::vector<uint8_t> Written(const std::function<void(TStream&)>& F) {
  TMemoryStream S;
  F(S);
  return S.Data();
}

QString ErrorOf(const std::function<void()>& F) {
  try {
    F();
  } catch (const EStreamError& E) {
    return E.Text();
  }
  return QStringLiteral("<no error>");
}

const QString Invalid = QString::fromUtf8("Fichier de données invalide !");

} // namespace

TEST(LayerStreamTest, StringsAreWin1252CutTo255AndLongerStoredLengthsRefused) {
  const std::vector<uint8_t> D = Written([](TStream& S) { WriteStreamString(S, QString::fromUtf8("é€x"), false); });
  EXPECT_EQ(D, (std::vector<uint8_t>{3, 0, 0, 0, 0xE9, 0x80, 'x'}));
  const std::vector<uint8_t> Long = Written([](TStream& S) { WriteStreamString(S, QString(300, 'a'), false); });
  EXPECT_EQ(Long.size(), 4u + 255u);
  TMemoryStream Back(Long);
  EXPECT_EQ(ReadStreamString(Back, false), QString(255, 'a'));

  Bytes B;
  B.i32(256).raw(std::string(256, 'a'));
  TMemoryStream Over(B.D);
  EXPECT_EQ(ErrorOf([&] { ReadStreamString(Over, false); }), Invalid);
  Bytes C;
  C.i32(10).raw("abc");
  TMemoryStream Short(C.D);
  EXPECT_EQ(ErrorOf([&] { ReadStreamString(Short, false); }), Invalid);
}

TEST(LayerStreamTest, CommentFieldHolds255CharactersZeroPadded) {
  const std::vector<uint8_t> D = Written([](TStream& S) { WriteAnsi256(S, QString(300, 'c')); });
  ASSERT_EQ(D.size(), 256u);
  EXPECT_EQ(D[254], 'c');
  EXPECT_EQ(D[255], 0);
  TMemoryStream Back(D);
  EXPECT_EQ(ReadAnsi256(Back), QString(255, 'c'));
  Bytes B;
  B.raw("ab").zeros(1).raw("junk").zeros(256 - 7);
  TMemoryStream Junk(B.D);
  EXPECT_EQ(ReadAnsi256(Junk), QStringLiteral("ab"));
}

TEST(LayerStreamTest, RawBlocksStoreRowsTopDown) {
  TBitmap Bmp;
  Fill(Bmp, 2, 2, [](int X, int Y) { return Rgb(10 * X + 1, 20 * Y + 2, 3); });
  Reader R{Written([&](TStream& S) { WriteBitmapRaw(Bmp, S); })};
  EXPECT_EQ(R.i32(), 2);
  EXPECT_EQ(R.i32(), 2);
  // Blue, green, red of (0, 0), (1, 0), then the second row.
  EXPECT_EQ(R.raw(12), std::string("\x03\x02\x01\x03\x02\x0b\x03\x16\x01\x03\x16\x0b", 12));

  TBitmap Mask;
  Fill(Mask, 3, 1, [](int X, int) { return Grey(X * 100); });
  const std::vector<uint8_t> M = Written([&](TStream& S) { WriteMaskRaw(Mask, S); });
  EXPECT_EQ(M, (Bytes{}.i32(3).i32(1).u8(0).u8(100).u8(200).D));
  TMemoryStream Back(M);
  TBitmap Read;
  ReadMaskRaw(Read, Back);
  EXPECT_EQ(Read.PixelFormat(), pf24bit);
  EXPECT_EQ(Px(Read, 2, 0), Grey(200));
}

TEST(LayerStreamTest, ZlibBitmapBlockIsBottomUpWithRowsPaddedToFourBytes) {
  struct Case {
    int W, H;
    size_t Bytes;
  };
  for (const Case C : {Case{1, 1, 4}, Case{4, 1, 12}, Case{1, 2, 8}, Case{5, 3, 48}}) {
    TBitmap Bmp;
    Fill(Bmp, C.W, C.H, [](int X, int Y) { return Rgb(X, Y, 7); });
    const std::vector<uint8_t> D = Written([&](TStream& S) { WriteBitmapZip(Bmp, S); });
    Reader R{D};
    EXPECT_EQ(R.i32(), C.W);
    EXPECT_EQ(R.i32(), C.H);
    const std::vector<uint8_t> U = R.zip(C.Bytes);
    EXPECT_EQ(R.P, D.size()) << "S counts itself";
    ASSERT_EQ(U.size(), C.Bytes) << C.W << "x" << C.H;
    const size_t Row = C.Bytes / size_t(C.H);
    // The first stored row is the bottom one: green = H - 1.
    EXPECT_EQ(U[1], C.H - 1);
    EXPECT_EQ(U[Row * size_t(C.H - 1) + 1], 0);
    TMemoryStream Back(D);
    TBitmap Read;
    ReadBitmapZip(Read, Back);
    EXPECT_TRUE(SamePixels(Read, Bmp));
    EXPECT_EQ(Back.Remaining(), 0);
  }
}

// The compressed bytes themselves are those of one deflate stream at the
// default level over the whole stored layout, whatever pieces the writer
// feeds it: sizes that need row padding or not, several rows of zlib's
// window, content with matches and noise.
TEST(LayerStreamTest, MemoryStreamOverwritesAtThePositionAndExtends) {
  TMemoryStream S;
  const uint8_t A[] = {1, 2, 3, 4, 5}, B[] = {9, 8, 7, 6};
  S.Write(A, 5);
  S.Seek(1);
  S.Write(B, 2); // inside the data
  EXPECT_EQ(S.Data(), (std::vector<uint8_t>{1, 9, 8, 4, 5}));
  S.Seek(3);
  S.Write(B, 4); // across the end
  EXPECT_EQ(S.Data(), (std::vector<uint8_t>{1, 9, 8, 9, 8, 7, 6}));
  EXPECT_EQ(S.Position(), 7);
  S.Write(A, 0);
  S.Write(A, -1);
  EXPECT_EQ(S.Size(), 7);
}

// Whatever compresses them, the blocks are zlib streams that zlib's own
// reader inflates to exactly the stored bytes, no byte left over.
TEST(LayerStreamTest, ZlibBlocksHoldOneZlibStreamOfTheStoredBytes) {
  auto Inflated = [](const uint8_t* Data, size_t Size, size_t Expected) {
    std::vector<uint8_t> Out(Expected + 1);
    uLongf Got = uLongf(Out.size());
    uLong Used = uLong(Size);
    EXPECT_EQ(uncompress2(Out.data(), &Got, Data, &Used), Z_OK);
    EXPECT_EQ(Used, Size) << "bytes after the zlib stream";
    Out.resize(Got);
    return Out;
  };
  std::mt19937 Gen(7);
  auto Content = [&](int X, int Y) {
    const int N = int(Gen() % 9);
    return Rgb(X / 3 + N, (Y * 5) % 256, ((X ^ Y) & 64) + N);
  };
  for (const int W : {400, 301}) {
    TBitmap Bmp, Mask;
    Fill(Bmp, W, 130, Content);
    Fill(Mask, W, 130, [&](int X, int Y) { return Grey(Content(X, Y).Red); });
    const size_t Row = (size_t(W) * 3 + 3) / 4 * 4;
    std::vector<uint8_t> RawBmp(Row * 130, 0), RawMask;
    for (int Y = 0; Y < 130; ++Y) {
      std::memcpy(RawBmp.data() + Row * size_t(129 - Y), Bmp.ScanLine(Y), size_t(W) * 3);
      for (int X = 0; X < W; ++X) RawMask.push_back(Px(Mask, X, Y).Blue);
    }
    for (const bool IsMask : {false, true}) {
      const std::vector<uint8_t> D =
          Written([&](TStream& S) { IsMask ? WriteMaskZip(Mask, S) : WriteBitmapZip(Bmp, S); });
      const std::vector<uint8_t>& Want = IsMask ? RawMask : RawBmp;
      Reader R{D};
      EXPECT_EQ(R.i32(), W);
      EXPECT_EQ(R.i32(), 130);
      ASSERT_EQ(size_t(R.i32()), D.size() - 8) << "the block length counts itself";
      EXPECT_EQ(Inflated(D.data() + 12, D.size() - 12, Want.size()), Want) << W << " mask " << IsMask;
      EXPECT_LT(D.size(), Want.size()) << W << " mask " << IsMask;
    }
    const std::vector<uint8_t> Z =
        Written([&](TStream& S) { ZCompressToStream(RawBmp.data(), S, int64_t(RawBmp.size())); });
    EXPECT_EQ(Inflated(Z.data(), Z.size(), RawBmp.size()), RawBmp) << W;
  }
}

TEST(LayerStreamTest, ZlibMaskBlockIsOneGreyBytePerPixelTopDown) {
  TBitmap Mask;
  Fill(Mask, 3, 2, [](int X, int Y) { return Grey(X + 10 * Y); });
  const std::vector<uint8_t> D = Written([&](TStream& S) { WriteMaskZip(Mask, S); });
  Reader R{D};
  R.i32();
  R.i32();
  EXPECT_EQ(R.zip(6), (std::vector<uint8_t>{0, 1, 2, 10, 11, 12}));
}

TEST(LayerStreamTest, ReadingContinuesAfterTheDeclaredBlockLength) {
  // A zlib stream followed by junk inside S, then a marker after the block.
  const std::vector<uint8_t> Z = Deflate({9, 9, 9, 0});
  Bytes B;
  B.i32(1).i32(1).i32(int64_t(Z.size()) + 4 + 5).append(Z).raw("junk!").raw("M");
  TMemoryStream S(B.D);
  TBitmap Bmp;
  ReadBitmapZip(Bmp, S);
  EXPECT_EQ(Px(Bmp, 0, 0), Rgb(9, 9, 9));
  EXPECT_EQ(S.ReadByte(), 'M');
}

TEST(LayerStreamTest, LayerBlocksCarryModeAndTransparency) {
  TBitmap Bmp;
  Solid(Bmp, 2, 1, Rgb(1, 2, 3));
  Bmp.Transparent = true;
  Bmp.SetTransparentColor(0x123456);
  for (const bool Zip : {false, true}) {
    LayerCompression = Zip;
    const std::vector<uint8_t> D = Written([&](TStream& S) { WriteLayerBitmap(Bmp, S); });
    EXPECT_EQ(D[0], Zip ? 1 : 0);
    Reader R{D};
    R.P = D.size() - 5;
    EXPECT_EQ(R.u8(), 1);
    EXPECT_EQ(R.i32(), 0x123456);
    TMemoryStream Back(D);
    TBitmap Read;
    ReadLayerBitmap(Read, Back);
    EXPECT_TRUE(SamePixels(Read, Bmp));
    EXPECT_TRUE(Read.Transparent);
    EXPECT_EQ(Read.TransparentColor(), 0x123456);
  }
  LayerCompression = true;
  Bytes Bad;
  Bad.u8(2).i32(1).i32(1);
  TMemoryStream S(Bad.D);
  TBitmap Read;
  EXPECT_EQ(ErrorOf([&] { ReadLayerBitmap(Read, S); }), QStringLiteral("Invalid compression mode !"));
}

TEST(LayerStreamTest, SizesTheBytesCannotHoldAreRefusedBeforeAllocating) {
  struct Case {
    const char* Name;
    Bytes B;
    bool Mask;
  };
  const std::vector<uint8_t> Z = Deflate(std::vector<uint8_t>(64, 0));
  std::vector<Case> Cases = {
      {"raw larger than the file", Bytes{}.u8(0).i32(1000).i32(1000).zeros(100), false},
      {"negative width", Bytes{}.u8(0).i32(-1).i32(1), false},
      {"zero width, huge height", Bytes{}.u8(0).i32(0).i32(0x7FFFFFFF), false},
      {"zero width, huge height, zlib", Bytes{}.u8(1).i32(0).i32(0x7FFFFFFF).i32(int64_t(Z.size()) + 4).append(Z),
       false},
      {"mask of zero width", Bytes{}.u8(0).i32(0).i32(0x7FFFFFFF), true},
      {"over 2^28 pixels", Bytes{}.u8(1).i32(1 << 15).i32(1 << 14).i32(int64_t(Z.size()) + 4).append(Z), false},
      {"zlib beyond 1032 times its size", Bytes{}.u8(1).i32(10000).i32(10000).i32(int64_t(Z.size()) + 4).append(Z),
       false},
      {"S beyond the file", Bytes{}.u8(1).i32(2).i32(2).i32(1 << 30).append(Z), false},
      {"S below 4", Bytes{}.u8(1).i32(2).i32(2).i32(3).append(Z), false},
      {"zlib data too short", Bytes{}.u8(1).i32(8).i32(8).i32(int64_t(Z.size()) + 4).append(Z), false},
      {"damaged zlib", Bytes{}.u8(1).i32(2).i32(2).i32(12).raw("notazlibdat"), false},
      {"mask of another size", Bytes{}.u8(0).i32(3).i32(2).zeros(6), true},
  };
  for (Case& C : Cases) {
    TMemoryStream S(C.B.D);
    TBitmap Bmp;
    const double T0 = ThreadCpuMs();
    if (C.Mask)
      EXPECT_EQ(ErrorOf([&] { ReadLayerMask(Bmp, S, 2, 2); }), Invalid) << C.Name;
    else
      EXPECT_EQ(ErrorOf([&] { ReadLayerBitmap(Bmp, S); }), Invalid) << C.Name;
    EXPECT_LT(ThreadCpuMs() - T0, CpuBudgetMs(50)) << C.Name;
    EXPECT_TRUE(Bmp.Empty() || int64_t(Bmp.Width()) * Bmp.Height() <= 64) << C.Name;
  }
}

TEST(LayerStreamTest, ThumbnailFitsTheSquareKeepingProportions) {
  struct Case {
    int W, H, TW, TH;
  };
  for (const Case C : {Case{300, 200, 150, 100}, Case{10, 20, 75, 150}, Case{150, 150, 150, 150}}) {
    TBitmap Bmp;
    Solid(Bmp, C.W, C.H, Rgb(50, 60, 70));
    const std::unique_ptr<TBitmap> T = MakeThumbnail(Bmp, 150);
    EXPECT_EQ(T->Width(), C.TW);
    EXPECT_EQ(T->Height(), C.TH);
    EXPECT_EQ(Px(*T, C.TW / 2, C.TH / 2), Rgb(50, 60, 70));
  }
  TBitmap Bmp;
  Solid(Bmp, 4, 2, Rgb(1, 2, 3));
  LayerCompression = false;
  const std::vector<uint8_t> D = Written([&](TStream& S) { WriteThumbnailBlock(Bmp, S); });
  LayerCompression = true;
  Reader R{D};
  EXPECT_EQ(R.i32(), int32_t(D.size()));
  EXPECT_EQ(R.raw(9), "Thumbnail");
  EXPECT_EQ(R.i32(), 0);
  EXPECT_EQ(R.i32(), 4);
  EXPECT_EQ(R.i32(), 2);
  TMemoryStream Back(D);
  TBitmap Read;
  ReadThumbnailBlock(Read, Back);
  EXPECT_TRUE(SamePixels(Read, Bmp));
  std::vector<uint8_t> BadTag = D;
  BadTag[4] = 't';
  TMemoryStream S(BadTag);
  EXPECT_EQ(ErrorOf([&] { ReadThumbnailBlock(Read, S); }), QString());
}
