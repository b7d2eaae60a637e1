#include "platform/Bitmap.h"
#include "support/ImageCompare.h"

#include <QPainter>

#include <gtest/gtest.h>

TEST(Bitmap, RowsAreFourByteAlignedForEveryFormat) {
  struct Case {
    TPixelFormat Format;
    int Width;
    int Stride;
  };
  for (const Case& C : {Case{pf1bit, 9, 4}, Case{pf4bit, 9, 8}, Case{pf8bit, 5, 8}, Case{pf24bit, 5, 16},
                        Case{pf24bit, 4, 12}, Case{pf32bit, 3, 12}}) {
    TBitmap B(C.Width, 2, C.Format);
    EXPECT_EQ(B.RowStride(), C.Stride) << int(C.Format) << " " << C.Width;
    EXPECT_EQ(B.ScanLine(1) - B.ScanLine(0), C.Stride);
  }
}

TEST(Bitmap, SetSizeKeepsOverlapAndFillsNewAreaWithBrush) {
  TBitmap B(3, 2, pf24bit, clRed);
  B.Canvas().Brush.Color = clBlue;
  B.SetSize(5, 3);
  for (int Y = 0; Y < 3; ++Y)
    for (int X = 0; X < 5; ++X) EXPECT_EQ(B.PixelColor(X, Y), (X < 3 && Y < 2) ? clRed : clBlue) << X << "," << Y;
  B.SetSize(2, 1);
  EXPECT_EQ(B.PixelColor(1, 0), clRed);
  B.SetSize(0, 7);
  EXPECT_TRUE(B.Empty());
  EXPECT_EQ(B.Width(), 0);
  EXPECT_EQ(B.Height(), 0);
  EXPECT_EQ(B.PixelFormat(), pf24bit);
}

TEST(Bitmap, SystemBrushColourIsResolvedWhenFilling) {
  TBitmap B(2, 2, pf24bit, clBtnFace);
  EXPECT_EQ(B.PixelColor(1, 1), RGB(240, 240, 240));
}

TEST(Bitmap, AssignIsADeepCopyWithTransparency) {
  TBitmap A(7, 3, pf24bit, clLime);
  A.Transparent = true;
  A.SetTransparentColor(clRed);
  TBitmap B;
  B.Assign(A);
  A.ScanLine(0)[0] = 0x12;
  EXPECT_EQ(B.PixelColor(0, 0), clLime);
  EXPECT_TRUE(B.Transparent);
  EXPECT_EQ(B.TransparentColor(), clRed);
  EXPECT_EQ(B.TransparentMode(), TTransparentMode::tmFixed);
}

TEST(Bitmap, AutomaticTransparentColourIsTheBottomLeftPixel) {
  TBitmap B(4, 4, pf24bit, clWhite);
  uint8_t* Row = B.ScanLine(3);
  Row[0] = 0x30, Row[1] = 0x20, Row[2] = 0x10;
  EXPECT_EQ(B.TransparentColor(), RGB(0x10, 0x20, 0x30));
  B.SetTransparentColor(clAqua);
  EXPECT_EQ(B.TransparentColor(), clAqua);
  B.SetTransparentColor(clDefault);
  EXPECT_EQ(B.TransparentMode(), TTransparentMode::tmAuto);
}

// Drawing through the QImage view and reading back through ScanLine must
// agree, row padding included.
TEST(Bitmap, QImageViewSharesRowsForOddWidths) {
  for (TPixelFormat Format : {pf24bit, pf32bit}) {
    for (int Width : {1, 3, 5, 7}) {
      TBitmap B(Width, 4, Format, clBlack);
      {
        QImage View = B.QImageView();
        ASSERT_EQ(View.constBits(), B.ScanLine(0));
        QPainter Painter(&View);
        Painter.setCompositionMode(QPainter::CompositionMode_Source);
        Painter.fillRect(QRect(Width - 1, 1, 1, 2), QColor(10, 20, 30, 255));
      }
      const int Bpp = Format == pf32bit ? 4 : 3;
      for (int Y = 0; Y < 4; ++Y) {
        const uint8_t* P = B.ScanLine(Y) + Bpp * (Width - 1);
        const bool Painted = Y == 1 || Y == 2;
        EXPECT_EQ(P[0], Painted ? 30 : 0) << Width << " " << Y;
        EXPECT_EQ(P[1], Painted ? 20 : 0);
        EXPECT_EQ(P[2], Painted ? 10 : 0);
        if (Bpp == 4) {
          EXPECT_EQ(P[3], Painted ? 255 : 0);
        }
      }
    }
  }
}

TEST(Bitmap, ConstViewCopiesBeforeWriting) {
  TBitmap B(3, 3, pf24bit, clBlack);
  const TBitmap& Const = B;
  QImage View = Const.QImageView();
  View.setPixel(0, 0, qRgb(255, 255, 255));
  EXPECT_EQ(B.PixelColor(0, 0), clBlack);
}

TEST(Bitmap, PixelFormatConversionsKeepColours) {
  TBitmap B(5, 2, pf24bit, clBlack);
  FillRandom(B, 3);
  B.ScanLine(0)[0] = 0, B.ScanLine(0)[1] = 0, B.ScanLine(0)[2] = 255; // red
  TBitmap Reference;
  Reference.Assign(B);

  B.SetPixelFormat(pf32bit);
  EXPECT_EQ(B.PixelFormat(), pf32bit);
  EXPECT_EQ(B.ScanLine(1)[4 * 4 + 3], 0) << "alpha of a bitmap that never had alpha";
  B.SetPixelFormat(pf24bit);
  EXPECT_IMAGES_MATCH(B, Reference);

  B.SetPixelFormat(pf4bit);
  EXPECT_EQ(B.Palette().size(), 16u);
  EXPECT_EQ(B.PixelColor(0, 0), clRed);
  B.SetPixelFormat(pf1bit);
  EXPECT_EQ(B.Palette().size(), 2u);
  B.SetPixelFormat(pf15bit);
  EXPECT_EQ(B.PixelFormat(), pf24bit);
}

TEST(Bitmap, IndexedPixelsReadMostSignificantFirst) {
  TBitmap B(9, 1, pf1bit, clBlack);
  B.ScanLine(0)[0] = 0x80;
  B.ScanLine(0)[1] = 0x80;
  EXPECT_EQ(B.PixelColor(0, 0), clWhite);
  EXPECT_EQ(B.PixelColor(1, 0), clBlack);
  EXPECT_EQ(B.PixelColor(8, 0), clWhite);

  TBitmap F(3, 1, pf4bit, clBlack);
  F.ScanLine(0)[0] = 0x9F; // red, white
  F.ScanLine(0)[1] = 0xC0; // blue
  EXPECT_EQ(F.PixelColor(0, 0), clRed);
  EXPECT_EQ(F.PixelColor(1, 0), clWhite);
  EXPECT_EQ(F.PixelColor(2, 0), clBlue);
  QImage View = F.QImageView();
  EXPECT_EQ(View.pixel(2, 0), qRgb(0, 0, 255));
}

TEST(Bitmap, SwapExchangesEverythingButTheCanvas) {
  TBitmap A(2, 2, pf24bit, clRed), B(3, 1, pf32bit, clBlue);
  A.Swap(B);
  EXPECT_EQ(A.Width(), 3);
  EXPECT_EQ(A.PixelFormat(), pf32bit);
  EXPECT_EQ(B.PixelColor(1, 1), clRed);
  EXPECT_EQ(A.Canvas().Bitmap(), &A);
}

TEST(Bitmap, OnChangeFiresOnSizeAndFormat) {
  TBitmap B;
  int Calls = 0;
  B.OnChange = [&] { ++Calls; };
  B.SetSize(2, 2);
  B.SetPixelFormat(pf32bit);
  B.SetSize(2, 2); // no change
  EXPECT_EQ(Calls, 2);
}
