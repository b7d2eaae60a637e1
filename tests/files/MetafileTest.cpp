#include "files/Metafile.h"
#include "files/ColorDepth.h"
#include "files/Picture.h"
#include "files/ReadLimits.h"
#include "raster/Transparency.h"

#include "FileTestSupport.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <array>
#include <initializer_list>

namespace {

// Little-endian record builders.
struct TBytes {
  std::vector<uint8_t> B;
  TBytes& U16(uint32_t V) {
    B.push_back(uint8_t(V)), B.push_back(uint8_t(V >> 8));
    return *this;
  }
  TBytes& U32(uint32_t V) { return U16(V & 0xFFFF).U16(V >> 16); }
  TBytes& Words(std::initializer_list<int> Vs) {
    for (int V : Vs) U16(uint32_t(V) & 0xFFFF);
    return *this;
  }
  TBytes& Longs(std::initializer_list<int> Vs) {
    for (int V : Vs) U32(uint32_t(V));
    return *this;
  }
  TBytes& Add(const std::vector<uint8_t>& More) {
    B.insert(B.end(), More.begin(), More.end());
    return *this;
  }
};

// A 2 x 2 24-bit DIB, bottom-up: the bottom row red, green; the top row
// blue, white. Header and rows apart.
std::vector<uint8_t> DibHeader() { return TBytes().Longs({40, 2, 2}).U16(1).U16(24).Longs({0, 16, 0, 0, 0, 0}).B; }
std::vector<uint8_t> DibRows() { return {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0}; }

using TBox = std::array<int, 4>; // left, top, right, bottom

// An enhanced metafile of 48 x 24 pixels (a frame of 12.7 x 6.35 mm on a
// reference device of 96 dots per inch) with the records given; or of the
// bounds (device pixels) and frame (hundredths of a millimetre) given.
std::vector<uint8_t> Emf(const std::vector<std::vector<uint8_t>>& Records, TBox Bounds = {0, 0, 47, 23},
                         TBox Frame = {0, 0, 1270, 635}) {
  TBytes H;
  H.Longs({1, 88, Bounds[0], Bounds[1], Bounds[2], Bounds[3], Frame[0], Frame[1], Frame[2], Frame[3]});
  H.U32(0x464D4520).Longs({0x10000, 0, 0}).U16(8).U16(0);
  H.Longs({0, 0, 0, 480, 480, 127, 127});
  for (const auto& R : Records) H.Add(R);
  H.Longs({14, 20, 0, 0, 0});
  return H.B;
}
std::vector<uint8_t> Rec(uint32_t Type, const std::vector<uint8_t>& Body) {
  return TBytes().U32(Type).U32(uint32_t(8 + Body.size())).Add(Body).B;
}
std::vector<uint8_t> Longs(std::initializer_list<int> Vs) { return TBytes().Longs(Vs).B; }

// A placeable Windows metafile: bounding box 0, 0, 100, 50 at 200 units per
// inch, so 48 x 24 pixels.
std::vector<uint8_t> Wmf(const std::vector<std::vector<uint8_t>>& Records, int Objects) {
  TBytes F;
  F.U32(0x9AC6CDD7).Words({0, 0, 0, 100, 50, 200}).U32(0).U16(0);
  F.Words({1, 9, 0x300}).U32(0).U16(uint32_t(Objects)).U32(0).U16(0);
  for (const auto& R : Records) F.Add(R);
  F.U32(3).U16(0);
  return F.B;
}
std::vector<uint8_t> WRec(uint16_t Function, const std::vector<uint8_t>& Params) {
  return TBytes().U32(uint32_t(3 + Params.size() / 2)).U16(Function).Add(Params).B;
}
std::vector<uint8_t> Words(std::initializer_list<int> Vs) { return TBytes().Words(Vs).B; }

void Load(TMetafile& M, const std::vector<uint8_t>& Bytes, const QString& Name = "test.emf") {
  QBuffer Buffer;
  Buffer.setData(reinterpret_cast<const char*>(Bytes.data()), qsizetype(Bytes.size()));
  Buffer.open(QIODevice::ReadOnly);
  M.LoadFromDevice(Buffer, Name);
}

TEST(Metafile, EnhancedRecordsAreDrawnThroughTheMapping) {
  std::vector<std::vector<uint8_t>> Records = {
      Rec(39, Longs({1, 0, 0x0000FF, 0})),
      Rec(37, Longs({1})),
      Rec(37, Longs({int(0x80000008)})),
      Rec(43, Longs({2, 2, 10, 8})),
      // A 16-bit polygon: a triangle filled with the red brush.
      Rec(86, TBytes().Longs({0, 0, 0, 0, 3}).Words({12, 2, 22, 2, 12, 12}).B),
      // The 2 x 2 bitmap stretched onto 8 x 8 at (0, 14).
      Rec(81, TBytes()
                  .Longs({0, 0, 0, 0, 0, 14, 0, 0, 2, 2, 80, 40, 120, 16, 0, 0x00CC0020, 8, 8})
                  .Add(DibHeader())
                  .Add(DibRows())
                  .B),
      Rec(33, Longs({})),                  // save the state
      Rec(17, Longs({8})),                 // anisotropic
      Rec(9, Longs({1, 1})),               // window extent
      Rec(11, Longs({2, 2})),              // viewport extent: twice the size
      Rec(39, Longs({2, 0, 0x00FF00, 0})), // brush 2: lime
      Rec(37, Longs({2})),
      Rec(42, Longs({14, 1, 22, 9})),      // ellipse, drawn on 28..44 x 2..18
      Rec(34, Longs({-1})),                // back to one to one
      Rec(39, Longs({3, 0, 0xFF0000, 0})), // brush 3: blue
      Rec(37, Longs({3})),
      Rec(43, Longs({44, 20, 48, 24})),
  };
  TMetafile M;
  Load(M, Emf(Records));
  EXPECT_TRUE(M.Enhanced());
  ASSERT_EQ(M.Width(), 48);
  ASSERT_EQ(M.Height(), 24);

  TBitmap B;
  DrawGraphicToBitmap(M, B);
  ASSERT_EQ(B.Width(), 48);
  ASSERT_EQ(B.PixelFormat(), pf24bit);
  EXPECT_TRUE(B.Transparent);
  EXPECT_EQ(B.TransparentColor(), TransparentKeyColor);
  struct Probe {
    int X, Y;
    TColor Color;
  };
  for (const Probe& P : {Probe{5, 5, clRed}, Probe{1, 1, TransparentKeyColor}, Probe{11, 5, TransparentKeyColor},
                         Probe{14, 4, clRed}, Probe{20, 10, TransparentKeyColor}, Probe{1, 16, clBlue},
                         Probe{6, 16, clWhite}, Probe{1, 21, clRed}, Probe{6, 21, clLime}, Probe{36, 10, clLime},
                         Probe{29, 3, TransparentKeyColor}, Probe{45, 21, clBlue}, Probe{40, 21, TransparentKeyColor}})
    EXPECT_EQ(B.PixelColor(P.X, P.Y), P.Color) << P.X << "," << P.Y;

  // Stretched onto twice the size.
  TBitmap Big(96, 48, pf24bit, clWhite);
  M.StretchDraw(Big, {0, 0, 96, 48});
  EXPECT_EQ(Big.PixelColor(10, 10), clRed);
  EXPECT_EQ(Big.PixelColor(72, 20), clLime);
  EXPECT_EQ(Big.PixelColor(60, 40), clWhite);
}

TEST(Metafile, PlaceableWindowsRecordsAreDrawnOnTheirBoundingBox) {
  const std::vector<std::vector<uint8_t>> Records = {
      WRec(0x020B, Words({0, 0})),                          // window origin
      WRec(0x020C, Words({50, 100})),                       // window extent
      WRec(0x02FC, TBytes().U16(0).U32(0xFF0000).U16(0).B), // brush: blue, slot 0
      WRec(0x012D, Words({0})),
      WRec(0x02FA, TBytes().Words({5, 0, 0}).U32(0).B), // null pen, slot 1
      WRec(0x012D, Words({1})),
      WRec(0x041B, Words({40, 50, 10, 10})),                // rectangle 10, 10, 50, 40
      WRec(0x01F0, Words({0})),                             // slot 0 freed
      WRec(0x02FC, TBytes().U16(0).U32(0x00FF00).U16(0).B), // lime takes slot 0
      WRec(0x012D, Words({0})),
      WRec(0x0418, Words({50, 100, 10, 60})),         // ellipse 60, 10, 100, 50
      WRec(0x0324, Words({3, 0, 44, 10, 44, 0, 50})), // triangle in the corner
      // The 2 x 2 bitmap stretched onto 0, 0, 10, 10 (about 5 x 5 pixels).
      WRec(0x0F43, TBytes().U32(0x00CC0020).Words({0, 2, 2, 0, 0, 10, 10, 0, 0}).Add(DibHeader()).Add(DibRows()).B),
  };
  TMetafile M;
  Load(M, Wmf(Records, 2), "test.wmf");
  EXPECT_FALSE(M.Enhanced());
  ASSERT_EQ(M.Width(), 48);
  ASSERT_EQ(M.Height(), 24);
  TBitmap B(48, 24, pf24bit, clWhite);
  M.Draw(B, 0, 0);
  struct Probe {
    int X, Y;
    TColor Color;
  };
  for (const Probe& P : {Probe{14, 12, clBlue}, Probe{38, 14, clLime}, Probe{26, 2, clWhite}, Probe{1, 22, clLime},
                         Probe{0, 0, clBlue}, Probe{4, 0, clWhite}, Probe{0, 4, clRed}, Probe{4, 4, clLime}})
    EXPECT_EQ(B.PixelColor(P.X, P.Y), P.Color) << P.X << "," << P.Y;
}

TEST(Metafile, MalformedFilesAreRefusedNamingTheFile) {
  const std::vector<uint8_t> GoodEmf =
      Emf({Rec(86, TBytes().Longs({0, 0, 0, 0, 3}).Words({1, 1, 5, 1, 1, 5}).B), Rec(43, Longs({1, 1, 4, 4}))});
  const std::vector<uint8_t> GoodWmf = Wmf({WRec(0x0324, Words({3, 0, 44, 10, 44, 0, 50}))}, 0);
  struct Case {
    const char* What;
    bool Enhanced;
    std::function<void(std::vector<uint8_t>&)> Change;
  };
  const auto Put32 = [](std::vector<uint8_t>& B, size_t At, uint32_t V) {
    for (int I = 0; I < 4; ++I) B[At + size_t(I)] = uint8_t(V >> (8 * I));
  };
  const Case Cases[] = {
      {"not a metafile", true, [&](auto& B) { B[0] = 7; }},
      {"signature", true, [&](auto& B) { B[40] = 'X'; }},
      {"header record too short", true, [&](auto& B) { Put32(B, 4, 40); }},
      {"record size beyond the file", true, [&](auto& B) { Put32(B, 92, 0x7FFFFFF0); }},
      {"record size zero", true, [&](auto& B) { Put32(B, 92, 0); }},
      {"record size not a multiple of 4", true, [&](auto& B) { Put32(B, 92, 39); }},
      {"point count beyond the record", true, [&](auto& B) { Put32(B, 88 + 24, 1000); }},
      {"point count huge", true, [&](auto& B) { Put32(B, 88 + 24, 0xFFFFFFFF); }},
      {"huge frame in a small file", true, [&](auto& B) { Put32(B, 32, 0x7FFFFFFF), Put32(B, 36, 0x7FFFFFFF); }},
      {"negative frame and bounds", true,
       [&](auto& B) { Put32(B, 32, uint32_t(-5000)), Put32(B, 16, uint32_t(-10)), Put32(B, 36, uint32_t(-5000)); }},
      {"no placeable header", false, [&](auto& B) { B.erase(B.begin(), B.begin() + 22); }},
      {"zero units per inch", false, [&](auto& B) { B[14] = B[15] = 0; }},
      {"record size beyond the file", false, [&](auto& B) { Put32(B, 40, 0x10000); }},
      {"record size below its header", false, [&](auto& B) { Put32(B, 40, 2); }},
      {"polygon count beyond the record", false, [&](auto& B) { B[46] = 200; }},
  };
  for (const Case& C : Cases) {
    std::vector<uint8_t> B = C.Enhanced ? GoodEmf : GoodWmf;
    C.Change(B);
    TMetafile M;
    try {
      Load(M, B, "broken.emf");
      ADD_FAILURE() << C.What << " was read";
    } catch (const EInvalidGraphic& E) {
      EXPECT_NE(std::string(E.what()).find("broken.emf"), std::string::npos) << C.What;
    }
    EXPECT_EQ(M.Width(), 0) << C.What;
  }
  // A bitmap record whose bitmap lies beyond the record.
  std::vector<uint8_t> Dib = TBytes()
                                 .Longs({0, 0, 0, 0, 0, 0, 0, 0, 2, 2, 80, 40, 120, 16, 0, 0x00CC0020, 2, 2})
                                 .Add(DibHeader())
                                 .Add(DibRows())
                                 .B;
  Put32(Dib, 56 - 8, 4000);
  TMetafile M;
  EXPECT_THROW(Load(M, Emf({Rec(81, Dib)})), EInvalidGraphic);
  // A text record whose characters lie beyond it.
  EXPECT_THROW(Load(M, Emf({Rec(84, Longs({0, 0, 0, 0, 1, 0, 0, 5, 5, 1000, 76, 0, 0, 0, 0, 0, 0}))})),
               EInvalidGraphic);
  EXPECT_THROW(Load(M, Wmf({WRec(0x0521, Words({200, 0x4241, 5, 5}))}, 0), "broken.wmf"), EInvalidGraphic);
  // Cut anywhere: loads what is whole or fails cleanly.
  for (const auto& Good : {GoodEmf, GoodWmf})
    for (size_t N = 0; N < Good.size(); ++N) {
      try {
        Load(M, {Good.begin(), Good.begin() + ptrdiff_t(N)});
        TBitmap B;
        DrawGraphicToBitmap(M, B);
      } catch (const EInvalidGraphic&) {
      }
    }
}

TEST(Metafile, ThePictureLoadsBothKindsByExtension) {
  TTestFolder Folder;
  WriteBytes(Folder.Path("a.EMF"), Emf({Rec(43, Longs({1, 1, 4, 4}))}));
  WriteBytes(Folder.Path("b.wmf"), Wmf({WRec(0x041B, Words({40, 50, 10, 10}))}, 0));
  // Either extension reads either kind: the content tells them apart.
  WriteBytes(Folder.Path("c.wmf"), Emf({}));
  TPicture Picture;
  for (const auto& [Name, Inside] : {std::pair{"a.EMF", 2}, std::pair{"b.wmf", 10}}) {
    Picture.LoadFromFile(Folder.Path(Name));
    ASSERT_NE(Picture.Metafile(), nullptr) << Name;
    EXPECT_EQ(Picture.Bitmap(), nullptr);
    TBitmap B;
    DrawGraphicToBitmap(*Picture.Graphic(), B);
    EXPECT_EQ(B.Width(), 48) << Name;
    EXPECT_EQ(B.Height(), 24) << Name;
    EXPECT_EQ(B.PixelColor(Inside, Inside), clWhite) << Name; // the default brush
    EXPECT_EQ(B.PixelColor(30, 22), TransparentKeyColor) << Name;
  }
  Picture.LoadFromFile(Folder.Path("c.wmf"));
  EXPECT_TRUE(Picture.Metafile()->Enhanced());
}

// Records that fill a red rectangle without an outline.
std::vector<std::vector<uint8_t>> RedRectangle(TBox Box) {
  return {Rec(39, Longs({1, 0, 0x0000FF, 0})), Rec(37, Longs({1})), Rec(37, Longs({int(0x80000008)})),
          Rec(43, Longs({Box[0], Box[1], Box[2], Box[3]}))};
}

TEST(Metafile, AFrameUnderAPixelGivesTheBoundsForSizeAndDrawingAlike) {
  // A frame of 0.02 mm before bounds of 48 x 24 pixels: the picture is the
  // bounds, and the rectangle is drawn where it lies in them (mapped from
  // the frame it was drawn about 1300 times too large).
  TMetafile M;
  Load(M, Emf(RedRectangle({2, 2, 10, 8}), {0, 0, 47, 23}, {0, 0, 2, 2}));
  ASSERT_EQ(M.Width(), 48);
  ASSERT_EQ(M.Height(), 24);
  TBitmap B;
  DrawGraphicToBitmap(M, B);
  EXPECT_EQ(B.PixelColor(5, 5), clRed);
  EXPECT_EQ(B.PixelColor(20, 10), TransparentKeyColor);
  EXPECT_EQ(B.PixelColor(1, 1), TransparentKeyColor);
}

TEST(Metafile, AFrameWiderThan32BitsIsMappedIn64) {
  // 22 km of frame (2.2e9 hundredths of a millimetre, beyond 32 bits) by a
  // pixel: 83 million pixels, which 24 KB of records may declare. A
  // rectangle of 10 million device pixels about its middle lands in the
  // middle of a 100-pixel target.
  std::vector<std::vector<uint8_t>> Records = RedRectangle({-5000000, -1, 5000000, 2});
  for (int I = 0; I < 2000; ++I) Records.push_back(Rec(18, Longs({1}))); // background mode
  TMetafile M;
  Load(M, Emf(Records, {0, 0, 1, 1}, {-1100000000, 0, 1100000000, 26}));
  EXPECT_EQ(M.Width(), 83149606);
  EXPECT_EQ(M.Height(), 1);
  TBitmap B(100, 1, pf24bit, clWhite);
  M.StretchDraw(B, {0, 0, 100, 1});
  EXPECT_EQ(B.PixelColor(50, 0), clRed);
  EXPECT_EQ(B.PixelColor(40, 0), clWhite);
  EXPECT_EQ(B.PixelColor(60, 0), clWhite);
}

TEST(Metafile, PlayingStopsWhenTheFileWouldPaintForTooLong) {
  // 30000 rectangles over the whole 48 x 24 picture, then a blue one: the
  // blue one is never reached.
  std::vector<std::vector<uint8_t>> Records = {Rec(39, Longs({1, 0, 0x0000FF, 0})), Rec(37, Longs({1}))};
  for (int I = 0; I < 30000; ++I) Records.push_back(Rec(43, Longs({0, 0, 48, 24})));
  Records.push_back(Rec(39, Longs({2, 0, 0xFF0000, 0})));
  Records.push_back(Rec(37, Longs({2})));
  Records.push_back(Rec(43, Longs({0, 0, 48, 24})));
  TMetafile M;
  Load(M, Emf(Records));
  TBitmap B;
  DrawGraphicToBitmap(M, B);
  EXPECT_EQ(B.PixelColor(20, 10), clRed);
}

} // namespace
