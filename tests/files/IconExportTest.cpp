#include "files/IconExport.h"

#include "document/MyGraphic.h"
#include "document/MyImageLayered.h"
#include "files/IconImage.h"

#include <QBuffer>

#include <gtest/gtest.h>

// A picture so thin that fitting it rounds one side to nothing still makes
// an icon: that side keeps one pixel.
TEST(IconExport, AThinPictureKeepsAPixelAcrossAndStillMakesAnIcon) {
  TMyImageLayered Image;
  Image.AddBackground(1000, 1, clRed, "#0");
  for (TIconFormat Format : {if256Colors, ifTrueColorsAlpha}) {
    TIconImage Icon;
    BuildIconBitmap(Image.Layers()[0], 16, Format, Icon);
    EXPECT_EQ(Icon.Width(), 16);
    EXPECT_EQ(Icon.Height(), Format == ifTrueColorsAlpha ? 16 : 1);
    Icon.IconFormat = Format;
    QBuffer Out;
    Out.open(QIODevice::WriteOnly);
    EXPECT_NO_THROW(Icon.SaveToStream(Out));
  }
}
