#include "files/GifImage.h"
#include "files/ColorDepth.h"
#include "files/ReadLimits.h"
#include "raster/Pixels.h"

#include "FileTestSupport.h"
#include "support/ImageCompare.h"

#include <gtest/gtest.h>

namespace {

// An 8-bit bitmap of W x H whose pixel (x, y) has index (x + 3y) mod Count on
// a palette of Count distinct colours.
PBitmap IndexedImage(int W, int H, int Count) {
  auto B = std::make_unique<TBitmap>(W, H, pf8bit, clBlack);
  TPalette P;
  for (int I = 0; I < Count; ++I) P.push_back(PaletteEntry(I * 7 % 256, 255 - I, I * 3 % 256));
  B->SetPalette(P);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) B->ScanLine(Y)[X] = uint8_t((X + 3 * Y) % Count);
  return B;
}

TGIFFrame Frame(int W, int H, uint8_t Index) {
  TGIFFrame F;
  F.Width = W;
  F.Height = H;
  F.Pixels.assign(size_t(W) * H, Index);
  return F;
}

TEST(GifImage, SavesAndReadsBackOneFrameThatOthersReadAlike) {
  TTestFolder Folder;
  const QString Name = Folder.Path("one.gif");
  const PBitmap Source = IndexedImage(23, 11, 200);
  TGIFImage Out;
  Out.Assign(*Source);
  Out.Frames[0].Interlaced = true;
  Out.SaveToFile(Name);
  EXPECT_EQ(Folder.Files(), QStringList{"one.gif"});

  TGIFImage In;
  In.LoadFromFile(Name);
  ASSERT_EQ(In.Frames.size(), 1u);
  EXPECT_TRUE(In.Frames[0].Interlaced);
  EXPECT_EQ(In.Width, 23);
  TBitmap Back;
  In.FrameToBitmap(0, Back);
  EXPECT_IMAGES_MATCH(*To24(Back), *To24(*Source));
  EXPECT_IMAGES_MATCH(*QtDecode(Name, false), *To24(*Source), 0, "qt");
  if (HasImageMagick()) {
    EXPECT_IMAGES_MATCH(*MagickDecode(Name, false), *To24(*Source), 0, "magick");
  }
}

TEST(GifImage, AnimationKeepsFramesExtensionsAndMaps) {
  TTestFolder Folder;
  const QString Name = Folder.Path("anim.gif");
  TGIFImage Out;
  Out.Width = 8;
  Out.Height = 6;
  Out.GlobalColorMap = {PaletteEntry(255, 0, 0), PaletteEntry(0, 0, 255), PaletteEntry(0, 255, 0)};
  Out.Frames = {Frame(8, 6, 0), Frame(4, 3, 1), Frame(2, 2, 0)};
  Out.Frames[1].Left = 4;
  Out.Frames[1].Top = 3;
  Out.Frames[2].ColorMap = {PaletteEntry(1, 2, 3), PaletteEntry(4, 5, 6)};
  Out.Frames[0].Extensions.push_back(
      TGIFExtension::Make(GifApplicationLabel, {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'}));
  Out.Frames[0].Extensions.back().Blocks.push_back({1, 0, 0});
  for (int I = 0; I < 3; ++I)
    Out.Frames[size_t(I)].SetGraphicControl({uint8_t(I == 2 ? 2 : 1), false, I == 1, uint16_t(10 * (I + 1)), 2});
  Out.SaveToFile(Name);

  TGIFImage In;
  In.LoadFromFile(Name);
  ASSERT_EQ(In.Frames.size(), 3u);
  EXPECT_EQ(In.ImageCount(), 3);
  EXPECT_EQ(In.Frames[1].Left, 4);
  EXPECT_EQ(In.Frames[1].Top, 3);
  EXPECT_EQ(In.Frames[2].ColorMap.size(), 2u);
  EXPECT_EQ(In.ActiveColorMap(In.Frames[2])[1], PaletteEntry(4, 5, 6));
  EXPECT_EQ(In.ActiveColorMap(In.Frames[1])[1], PaletteEntry(0, 0, 255));
  for (int I = 0; I < 3; ++I) {
    const auto C = In.Frames[size_t(I)].GraphicControl();
    ASSERT_TRUE(C);
    EXPECT_EQ(C->Delay, 10 * (I + 1));
    EXPECT_EQ(C->Disposal, I == 2 ? 2 : 1);
    EXPECT_EQ(C->Transparent, I == 1);
  }
  ASSERT_EQ(In.Frames[0].Extensions.size(), 2u);
  EXPECT_EQ(In.Frames[0].Extensions[0].Label, GifApplicationLabel);
  EXPECT_EQ(In.Frames[0].Extensions[0].Blocks.size(), 2u);
  if (HasImageMagick()) {
    EXPECT_EQ(Identify(Name, "%T").split('\n'), (QStringList{"10", "20", "30"}));
  }
}

TEST(GifImage, CommentOnOneFrameOrOnATrailingEmptyFrame) {
  TTestFolder Folder;
  TGIFImage One;
  One.Assign(*IndexedImage(4, 4, 4));
  AddGifComment(One, "");
  EXPECT_TRUE(One.Frames[0].Extensions.empty());
  AddGifComment(One, QString::fromUtf8("Été"));
  ASSERT_EQ(One.Frames.size(), 1u);
  EXPECT_EQ(GetGifComment(One), QString::fromUtf8("Été"));
  One.SaveToFile(Folder.Path("1.gif"));
  TGIFImage In;
  In.LoadFromFile(Folder.Path("1.gif"));
  EXPECT_EQ(In.Frames.size(), 1u);
  EXPECT_EQ(GetGifComment(In), QString::fromUtf8("Été"));
  EXPECT_EQ(In.Frames[0].Extensions[0].Data(), (std::vector<uint8_t>{0xC9, 't', 0xE9, '\r', '\n'}));

  TGIFImage Three;
  Three.GlobalColorMap = {PaletteEntry(0, 0, 0), PaletteEntry(255, 255, 255)};
  Three.Frames = {Frame(3, 3, 0), Frame(3, 3, 1), Frame(3, 3, 0)};
  const QString Long(600, QChar('x'));
  AddGifComment(Three, Long);
  ASSERT_EQ(Three.Frames.size(), 4u);
  EXPECT_TRUE(Three.Frames[3].Empty());
  EXPECT_EQ(Three.ImageCount(), 3);
  Three.SaveToFile(Folder.Path("3.gif"));
  In.LoadFromFile(Folder.Path("3.gif"));
  ASSERT_EQ(In.Frames.size(), 4u);
  EXPECT_EQ(GetGifComment(In), Long);
  EXPECT_EQ(In.Frames[3].Extensions[0].Blocks.size(), 3u); // 602 bytes in blocks of at most 255

  TGIFImage None;
  AddGifComment(None, "x");
  EXPECT_TRUE(None.Frames.empty());
  EXPECT_EQ(GetGifComment(None), "");
}

TEST(GifImage, CommentReadsTheFirstLineOfTheLastCommentOfTheLastFrame) {
  TGIFImage G;
  G.GlobalColorMap = {PaletteEntry(0, 0, 0), PaletteEntry(255, 255, 255)};
  G.Frames = {Frame(1, 1, 0)};
  auto Comment = [](const std::string& Text) {
    return TGIFExtension::Make(GifCommentLabel, std::vector<uint8_t>(Text.begin(), Text.end()));
  };
  G.Frames[0].Extensions = {Comment("first"), Comment("second line\r\nthird"),
                            TGIFExtension{GifGraphicControlLabel, {}}};
  EXPECT_EQ(GetGifComment(G), "second line");
  G.Frames[0].Extensions = {Comment("\r\nafter")};
  EXPECT_EQ(GetGifComment(G), "");
}

TEST(GifImage, OptimizedMapsDropUnusedColoursAndKeepThePicture) {
  TGIFImage G;
  G.Assign(*IndexedImage(10, 10, 200));
  G.GlobalColorMap.resize(256, PaletteEntry(1, 1, 1));
  // Index 7 most used, the transparent index kept although no pixel uses it.
  for (int I = 0; I < 50; ++I) G.Frames[0].Pixels[size_t(I)] = 7;
  G.Frames[0].SetGraphicControl({0, false, true, 0, 250});
  TBitmap Before;
  G.FrameToBitmap(0, Before);
  G.OptimizeColorMaps();
  TBitmap After;
  G.FrameToBitmap(0, After);
  EXPECT_IMAGES_MATCH(*To24(After), *To24(Before));
  EXPECT_EQ(G.GlobalColorMap[0], Before.Palette()[7]);
  EXPECT_LE(G.GlobalColorMap.size(), 200u);
  const auto C = G.Frames[0].GraphicControl();
  ASSERT_TRUE(C && C->Transparent);
  EXPECT_EQ(G.GlobalColorMap[C->TransparentIndex], PaletteEntry(1, 1, 1));
}

TEST(GifImage, RefusesImagelessAndBrokenFiles) {
  TTestFolder Folder;
  TGIFImage G;
  EXPECT_THROW(G.LoadFromFile(Folder.Path("missing.gif")), EInvalidGraphic);
  WriteBytes(Folder.Path("t.gif"), {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, ';'});
  EXPECT_THROW(G.LoadFromFile(Folder.Path("t.gif")), EInvalidGraphic);
  TGIFImage Empty;
  EXPECT_THROW(Empty.SaveToFile(Folder.Path("e.gif")), EInvalidGraphic);
  EXPECT_EQ(Folder.Files(), QStringList{"t.gif"});
}

// ---- GIF frames of the colour-depth conversions ----------------------------

TEST(GifFrames, FrameIndexOutsideGivesTheFirst) {
  TGIFImage G;
  G.GlobalColorMap = {PaletteEntry(255, 0, 0), PaletteEntry(0, 255, 0), PaletteEntry(0, 0, 255)};
  G.Frames = {Frame(2, 2, 0), Frame(2, 2, 1), Frame(2, 2, 2)};
  TBitmap B;
  GifFrameToBitmap(G, B, 7, false);
  EXPECT_EQ(B.PixelColor(0, 0), clRed);
  GifFrameToBitmap(G, B, -1, false);
  EXPECT_EQ(B.PixelColor(0, 0), clRed);
  GifFrameToBitmap(G, B, 2, false);
  EXPECT_EQ(B.PixelColor(1, 1), clBlue);
  EXPECT_FALSE(B.Transparent);
}

TEST(GifFrames, KeyColourThatOccursTwiceIsFixed) {
  TGIFImage G;
  G.GlobalColorMap = {PaletteEntry(0, 0, 0), PaletteEntry(9, 9, 9), PaletteEntry(0, 0, 0)};
  G.Frames = {Frame(3, 1, 0)};
  G.Frames[0].Pixels = {0, 1, 2};
  G.Frames[0].SetGraphicControl({0, false, true, 0, 2});
  TBitmap B;
  GifFrameToBitmap(G, B, 0, false);
  EXPECT_TRUE(B.Transparent);
  EXPECT_EQ(B.TransparentColor(), clBlack);
  EXPECT_EQ(B.PixelColor(0, 0), clBlack);

  GifFrameToBitmap(G, B, 0, true);
  EXPECT_TRUE(B.Transparent);
  EXPECT_EQ(B.TransparentColor(), TransparentKeyColor);
  EXPECT_EQ(B.PixelColor(2, 0), TransparentKeyColor);
  EXPECT_EQ(B.PixelColor(0, 0), clBlack);
  EXPECT_EQ(PaletteEntryColor(G.GlobalColorMap[2]), TransparentKeyColor);

  // A transparent index outside the map is ignored.
  G.Frames[0].SetGraphicControl({0, false, true, 0, 9});
  GifFrameToBitmap(G, B, 0, true);
  EXPECT_FALSE(B.Transparent);
}

TEST(GifFrames, TransparentBitmapsBecomeTransparentFrames) {
  TTestFolder Folder;
  const PBitmap Image = SmoothImage(16, 8);
  TBitmap Mask(16, 8, pf24bit, clBlack);
  for (int Y = 0; Y < 8; ++Y)
    for (int X = 0; X < 16; ++X) {
      const uint8_t M = uint8_t(X * 16);
      RowOf(Mask, Y)[X] = {M, M, M};
    }
  TGIFImage G;
  BitmapMaskToGif(*Image, Mask, G, true);
  G.SaveToFile(Folder.Path("m.gif"));
  const PBitmap Qt = QtDecode(Folder.Path("m.gif"), true);
  ASSERT_FALSE(Qt->Empty());
  for (int X = 0; X < 16; ++X) EXPECT_EQ(Qt->ScanLine(3)[4 * X + 3], X * 16 >= 128 ? 0 : 255) << X;

  const PBitmap Alpha = WithAlphaRamp(*Image);
  BitmapToGif(*Alpha, G, false);
  G.SaveToFile(Folder.Path("a.gif"));
  TGIFImage In;
  In.LoadFromFile(Folder.Path("a.gif"));
  TBitmap B;
  GifFrameToBitmap(In, B, 0, true);
  ASSERT_TRUE(B.Transparent);
  for (int Y = 0; Y < 8; ++Y)
    for (int X = 0; X < 16; ++X)
      EXPECT_EQ(B.PixelColor(X, Y) == B.TransparentColor(), Alpha->ScanLine(Y)[4 * X + 3] < 128) << X << "," << Y;

  // An opaque bitmap is quantised to at most 256 colours.
  BitmapToGif(*SmoothImage(40, 40), G, true);
  ASSERT_EQ(G.Frames.size(), 1u);
  EXPECT_LE(G.GlobalColorMap.size(), 256u);
  EXPECT_FALSE(G.Frames[0].GraphicControl());
}

// Pixels of a bitmap as one string per row, each pixel the letter its colour
// has in Names ('?' for any other), '.' where it is the transparent colour.
std::vector<std::string> Letters(const TBitmap& B, const std::vector<std::pair<char, TColor>>& Names) {
  std::vector<std::string> Rows;
  for (int Y = 0; Y < B.Height(); ++Y) {
    std::string Row;
    for (int X = 0; X < B.Width(); ++X) {
      const TColor C = B.PixelColor(X, Y);
      char L = '?';
      if (B.Transparent && (C & 0xFFFFFF) == (B.TransparentColor() & 0xFFFFFF))
        L = '.';
      else
        for (const auto& [Name, Color] : Names)
          if (Color == C) L = Name;
      Row += L;
    }
    Rows.push_back(Row);
  }
  return Rows;
}

const std::vector<std::pair<char, TColor>> RGBK = {{'r', clRed}, {'g', clLime}, {'b', clBlue}, {'k', clBlack}};

TEST(GifFrames, SmallerOffsetFrameIsDrawnOnTheScreenOfTheFile) {
  TTestFolder Folder;
  TGIFImage Out;
  Out.Width = 5;
  Out.Height = 4;
  Out.GlobalColorMap = {PaletteEntry(255, 0, 0), PaletteEntry(0, 255, 0), PaletteEntry(0, 0, 255)};
  Out.Frames = {Frame(5, 4, 0), Frame(3, 2, 1)};
  Out.Frames[1].Left = 1;
  Out.Frames[1].Top = 2;
  Out.Frames[1].Pixels = {1, 2, 1, 2, 1, 1}; // index 2 transparent
  Out.Frames[1].SetGraphicControl({1, false, true, 10, 2});
  Out.SaveToFile(Folder.Path("two.gif"));
  if (HasImageMagick()) {
    EXPECT_EQ(Identify(Folder.Path("two.gif"), "%W %H %w %h %X %Y").split('\n'),
              (QStringList{"5 4 5 4 +0 +0", "5 4 3 2 +1 +2"}));
  }

  TGIFImage In;
  In.LoadFromFile(Folder.Path("two.gif"));
  TBitmap B;
  GifFrameToBitmap(In, B, 1, true);
  EXPECT_EQ(B.PixelFormat(), pf8bit);
  EXPECT_TRUE(B.Transparent);
  EXPECT_EQ(B.TransparentColor(), clBlue);
  // Frame 0 left in place shows through the transparent pixel and around.
  EXPECT_EQ(Letters(B, RGBK), (std::vector<std::string>{"rrrrr", "rrrrr", "rgrgr", "rrggr"}));

  // The same frame restoring to the background: only frame 1 remains.
  In.Frames[0].SetGraphicControl({2, false, false, 10, 0});
  GifFrameToBitmap(In, B, 1, true);
  EXPECT_EQ(Letters(B, RGBK), (std::vector<std::string>{".....", ".....", ".g.g.", "..gg."}));
  // The first frame alone is the whole screen, opaque.
  GifFrameToBitmap(In, B, 0, true);
  EXPECT_FALSE(B.Transparent);
  EXPECT_EQ(Letters(B, RGBK)[3], "rrrrr");
}

TEST(GifFrames, DisposalToPreviousAndFramesWithTheirOwnMaps) {
  TGIFImage G;
  G.GlobalColorMap = {PaletteEntry(255, 0, 0), PaletteEntry(0, 255, 0)};
  G.Width = 4;
  G.Height = 2;
  G.Frames = {Frame(2, 2, 0), Frame(2, 2, 1), Frame(1, 1, 1)};
  G.Frames[1].Left = 1;
  G.Frames[1].SetGraphicControl({3, false, false, 0, 0});
  G.Frames[2].Left = 3;
  TBitmap B;
  GifFrameToBitmap(G, B, 1, false);
  EXPECT_EQ(Letters(B, RGBK), (std::vector<std::string>{"rgg.", "rgg."}));
  EXPECT_EQ(B.TransparentColor(), TransparentKeyColor);
  // Frame 1 put back what lay under it: frame 0 and the empty screen.
  GifFrameToBitmap(G, B, 2, false);
  EXPECT_EQ(Letters(B, RGBK), (std::vector<std::string>{"rr.g", "rr.."}));

  // A frame with a map of its own: the colours of both maps in 24 bits.
  G.Frames[2].ColorMap = {PaletteEntry(0, 0, 0), PaletteEntry(0, 0, 255)};
  GifFrameToBitmap(G, B, 2, false);
  EXPECT_EQ(B.PixelFormat(), pf24bit);
  EXPECT_TRUE(B.Transparent);
  EXPECT_EQ(B.TransparentColor(), TransparentKeyColor);
  EXPECT_EQ(Letters(B, RGBK), (std::vector<std::string>{"rr.b", "rr.."}));
}

TEST(GifFrames, EarlierPixelsOfTheKeyIndexKeepTheirColour) {
  // Frame 1 is transparent at index 0, which frame 0 shows as red: the red
  // must stay visible, so the key cannot be index 0.
  TGIFImage G;
  G.GlobalColorMap = {PaletteEntry(255, 0, 0), PaletteEntry(0, 255, 0)};
  G.Frames = {Frame(3, 1, 0), Frame(2, 1, 1)};
  G.Frames[1].Pixels = {0, 1};
  G.Frames[1].SetGraphicControl({0, false, true, 0, 0});
  TBitmap B;
  GifFrameToBitmap(G, B, 1, false);
  EXPECT_EQ(Letters(B, RGBK), (std::vector<std::string>{"rgr"}));
}

TEST(GifFrames, ScreenAndFramesFromAFileAreCutNotTrusted) {
  TTestFolder Folder;
  TGIFImage Out;
  Out.GlobalColorMap = {PaletteEntry(255, 0, 0), PaletteEntry(0, 255, 0)};
  Out.Frames = {Frame(4, 4, 0), Frame(3, 3, 1)};
  Out.Frames[1].Left = 2;
  Out.Frames[1].Top = 2;
  Out.SaveToFile(Folder.Path("f.gif"));
  std::vector<uint8_t> Bytes = ReadBytes(Folder.Path("f.gif"));
  ASSERT_EQ(Bytes[6], 5); // the writer's screen spans the frames
  // A screen of 3 x 3: the second frame reaches beyond it and is cut.
  Bytes[6] = 3;
  Bytes[8] = 3;
  WriteBytes(Folder.Path("small.gif"), Bytes);
  TGIFImage In;
  In.LoadFromFile(Folder.Path("small.gif"));
  TBitmap B;
  GifFrameToBitmap(In, B, 1, true);
  EXPECT_EQ(Letters(B, RGBK), (std::vector<std::string>{"rrr", "rrr", "rrg"}));
  EXPECT_FALSE(B.Transparent);

  // A screen of 65535 x 65535 in a file of a few bytes is read as the span
  // of the frames; so is a screen of 0 x 0.
  for (int Size : {0xFFFF, 0}) {
    Bytes[6] = Bytes[7] = Bytes[8] = Bytes[9] = uint8_t(Size & 0xFF);
    WriteBytes(Folder.Path("huge.gif"), Bytes);
    In.LoadFromFile(Folder.Path("huge.gif"));
    EXPECT_EQ(In.Width, 5) << Size;
    EXPECT_EQ(In.Height, 5) << Size;
    GifFrameToBitmap(In, B, 0, true);
    EXPECT_EQ(B.Width(), 5);
    EXPECT_EQ(Letters(B, RGBK)[3], "rrrr.") << Size;
    EXPECT_EQ(Letters(B, RGBK)[4], ".....") << Size;
  }
}

TEST(GifFrames, AScreenIsKeptAsFarAsItsFramesAccountForIt) {
  // The frame player fills one cell per screen pixel: a screen of at most
  // four cells per frame pixel is kept, a larger one is read as the span of
  // the frames. Here a 2000 x 1500 frame at (1000, 500).
  TTestFolder Folder;
  TGIFImage Out;
  Out.GlobalColorMap = {PaletteEntry(255, 0, 0), PaletteEntry(0, 255, 0)};
  Out.Frames = {Frame(2000, 1500, 1)};
  Out.Frames[0].Left = 1000;
  Out.Frames[0].Top = 500;
  for (const auto& [Screen, Read] : {std::pair{QSize(3400, 3500), QSize(3400, 3500)}, // 11.9 million cells
                                     std::pair{QSize(3500, 3500), QSize(3000, 2000)}}) {
    Out.Width = Screen.width();
    Out.Height = Screen.height();
    Out.SaveToFile(Folder.Path("margin.gif"));
    TGIFImage In;
    In.LoadFromFile(Folder.Path("margin.gif"));
    EXPECT_EQ(QSize(In.Width, In.Height), Read);
    TBitmap B;
    GifFrameToBitmap(In, B, 0, true);
    ASSERT_EQ(QSize(B.Width(), B.Height()), Read);
    EXPECT_TRUE(B.Transparent);
    EXPECT_EQ(B.PixelColor(999, 499), B.TransparentColor());
    EXPECT_EQ(B.PixelColor(2999, 1999), clLime);
  }
}

TEST(GifFrames, FramesOfAnotherProgramsAnimationAsItShowsThem) {
  // Written by ImageMagick: an 8 x 6 red frame disposed to the background,
  // a 3 x 2 blue one at (2, 3) disposed to the previous state, a 4 x 4 green
  // one at (5, 1) reaching beyond the screen.
  TGIFImage G;
  G.LoadFromFile(QString(LUMA_FILES_CORPUS) + "/ok-frames-offset-disposal.gif");
  ASSERT_EQ(G.Frames.size(), 3u);
  const std::vector<std::pair<char, TColor>> Names = {{'r', clRed}, {'b', clBlue}, {'g', clLime}};
  const std::vector<std::vector<std::string>> Expected = {
      {"rrrrrrrr", "rrrrrrrr", "rrrrrrrr", "rrrrrrrr", "rrrrrrrr", "rrrrrrrr"},
      {"........", "........", "........", "..bbb...", "..bbb...", "........"},
      {"........", ".....ggg", ".....ggg", ".....ggg", ".....ggg", "........"},
  };
  for (int I = 0; I < 3; ++I) {
    TBitmap B;
    GifFrameToBitmap(G, B, I, true);
    EXPECT_EQ(Letters(B, Names), Expected[size_t(I)]) << I;
  }
}

} // namespace
