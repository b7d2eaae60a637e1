// Pattern files: an image with alpha becomes a 24-bit pattern and its mask,
// an opaque one a pattern without mask, a file that does not load leaves the
// bitmaps as they were.
#include "files/PatternFile.h"

#include "files/BmpOE2.h"
#include "raster/Bitmap24.h"
#include "support/Pixels.h"
#include "support/Printers.h"

#include "FileTestSupport.h"

#include <gtest/gtest.h>

TEST(PatternFile, AlphaBecomesTheMaskAndAnOpaqueImageHasNone) {
  TTestFolder Folder;
  QImage Alpha(3, 2, QImage::Format_ARGB32);
  Alpha.fill(qRgba(10, 20, 30, 255));
  Alpha.setPixel(1, 0, qRgba(10, 20, 30, 55));
  const QString AlphaName = Folder.Path(QStringLiteral("alpha.png"));
  ASSERT_TRUE(Alpha.save(AlphaName));
  QImage Opaque(2, 2, QImage::Format_RGB888);
  Opaque.fill(qRgb(1, 2, 3));
  const QString OpaqueName = Folder.Path(QStringLiteral("opaque.png"));
  ASSERT_TRUE(Opaque.save(OpaqueName));

  TBitmap Bmp, Mask;
  ASSERT_TRUE(LoadPatternFile(AlphaName, Bmp, Mask, Folder.Path(QString())));
  EXPECT_EQ(Bmp.PixelFormat(), pf24bit);
  EXPECT_EQ(Px(Bmp, 0, 1), Rgb(10, 20, 30));
  ASSERT_EQ(Mask.Width(), 3);
  EXPECT_EQ(Px(Mask, 1, 0), Grey(200));
  EXPECT_EQ(Px(Mask, 0, 0), Grey(0));

  ASSERT_TRUE(LoadPatternFile(OpaqueName, Bmp, Mask, QString()));
  EXPECT_EQ(Bmp.Width(), 2);
  EXPECT_EQ(Px(Bmp, 1, 1), Rgb(1, 2, 3));
  EXPECT_TRUE(Mask.Empty());

  OptionsOE.DisableErrorMsg = true;
  EXPECT_FALSE(LoadPatternFile(Folder.Path(QStringLiteral("none.png")), Bmp, Mask, QString()));
  EXPECT_EQ(Bmp.Width(), 2);
}
