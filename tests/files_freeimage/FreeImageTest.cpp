// The binding: where the library comes from, what refuses it, the filters it
// brings, its format questions, the flags of TFreeBitmap and the display
// text of metadata tags.
#include "FreeImageTestSupport.h"

#include "files/BmpExtOE.h"
#include "files/BmpFile.h"
#include "files/FreeImage.h"
#include "files/FreeMetadata.h"
#include "files/GifImage.h"
#include "files/MyJpegImage.h"
#include "files/MyPngImage.h"
#include "files/ReadLimits.h"
#include "support/ImageCompare.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

const QString OwnOpenMasks = "*.lmi;*.wmf;*.emf;*.bmp;*.rle;*.jpg;*.jpeg;*.jpe;*.png;*.gif";

// ---- Where the library comes from ---------------------------------------------------------

TEST(FreeImageBinding, LoadsFromTheModuleFolderBesideTheProgram) {
  UnloadFreeImageLibrary();
  ASSERT_FALSE(HasFreeImage());
  if (!StartFreeImage(false)) GTEST_SKIP() << "no Plugins_64/FreeImage_64.lml beside the test program";
  EXPECT_TRUE(HasFreeImage());
  EXPECT_TRUE(FreeImagePath().endsWith("/Plugins_64/FreeImage_64.lml")) << FreeImagePath().toStdString();
  EXPECT_TRUE(FreeImageVersion().startsWith("3.")) << FreeImageVersion().toStdString();
  EXPECT_NE(FreeImageApi().SetMetadata, nullptr);
  EXPECT_NE(FreeImageApi().HasPixels, nullptr);
}

TEST(FreeImageBinding, NoPluginsLeavesTheProgramWithoutIt) {
  TWithoutFreeImage Without;
  EXPECT_FALSE(StartFreeImage(true));
  EXPECT_FALSE(HasFreeImage());
}

TEST(FreeImageBinding, ALibraryElsewhereIsNeverUsed) {
  TWithoutFreeImage Without;
  TTestFolder Empty;
  EXPECT_FALSE(StartFreeImage(false, Empty.Path("")));
  EXPECT_TRUE(FreeImagePath().isEmpty());
  EXPECT_FALSE(HasFreeImage());
  // Another file name in the folder is not looked for either.
  ASSERT_TRUE(QFile::copy(QStringLiteral(LUMA_STUB_WITHOUT_LOAD), Empty.Path("libfreeimage.so.3")));
  EXPECT_FALSE(StartFreeImage(false, Empty.Path("")));
  EXPECT_FALSE(HasFreeImage());
}

TEST(FreeImageBinding, ALibraryLackingOneNameIsRefusedSilently) {
  TWithoutFreeImage Without;
  for (const char* Stub : {LUMA_STUB_WITHOUT_SETMETADATA, LUMA_STUB_WITHOUT_LOAD}) {
    SCOPED_TRACE(Stub);
    TTestFolder Folder;
    ASSERT_TRUE(QFile::copy(QString::fromUtf8(Stub), Folder.Path("FreeImage_64.lml")));
    EXPECT_FALSE(StartFreeImage(false, Folder.Path("")));
    EXPECT_FALSE(HasFreeImage());
    EXPECT_EQ(FreeImageApi().GetFileTypeU, nullptr);
    EXPECT_EQ(GetOpenMasks(), OwnOpenMasks);
  }
}

TEST(FreeImageBinding, NamesAreLookedUpInTheInterfaceOrder) {
  EXPECT_STREQ(FreeImageFunctionName(0), "FreeImage_GetFileTypeU");
  EXPECT_STREQ(FreeImageFunctionName(10), "FreeImage_Unload");
  EXPECT_STREQ(FreeImageFunctionName(39), "FreeImage_TagToString");
  EXPECT_STREQ(FreeImageFunctionName(50), "FreeImage_SetMetadata");
  // The Linux stand-ins come after the interface's 51 names.
  EXPECT_STREQ(FreeImageFunctionName(51), "FreeImage_GetFileType");
  EXPECT_EQ(FreeImageFunctionName(FreeImageFunctionCount), nullptr);
}

// ---- Filters -----------------------------------------------------------------------------

TEST(FreeImageBinding, FiltersListTheLibraryFormatsOnlyWhileItIsLoaded) {
  REQUIRE_FREEIMAGE();
  EXPECT_EQ(BitmapTypeEntry(), "Windows or OS/2 Bitmap|*.bmp");
  EXPECT_EQ(JpegTypeEntry(), "JPEG - JFIF Compliant|*.jpg;*.jif;*.jpeg;*.jpe");
  EXPECT_EQ(FifMaskList(fifTiff), "*.tif;*.tiff");
  EXPECT_TRUE(GetOpenFilter().startsWith("Toutes les images|*.*|")) << GetOpenFilter().toStdString();
  EXPECT_TRUE(GetOpenMasks().contains("*.psd")) << GetOpenMasks().toStdString();
  EXPECT_TRUE(GetSaveFilter().contains("|Truevision Targa|*.tga;*.targa|")) << GetSaveFilter().toStdString();
  EXPECT_GT(FilterIndexOfFile("a.webp", GetSaveFilter()), 0);
  EXPECT_TRUE(IsJpegFile("photo.jif"));
  EXPECT_FALSE(FreeImageFilters().isEmpty());

  TWithoutFreeImage Without;
  EXPECT_EQ(BitmapTypeEntry(), "Bitmap|*.bmp");
  EXPECT_EQ(JpegTypeEntry(), "JPEG|*.jpg;*.jpeg;*.jpe");
  EXPECT_EQ(GetOpenMasks(), OwnOpenMasks);
  EXPECT_EQ(FilterIndexOfFile("a.tga", GetSaveFilter()), 0);
  EXPECT_EQ(FilterIndexOfFile("a.gif", GetSaveFilter()), 5);
  EXPECT_FALSE(IsJpegFile("photo.jif"));
  EXPECT_TRUE(FreeImageFilters().isEmpty());
  EXPECT_TRUE(FreeImageMasks().isEmpty());
}

// ---- Format questions ----------------------------------------------------------------------

TEST(FreeImageFormats, ContentDecidesAndAMisnamedFileIsFlagged) {
  REQUIRE_FREEIMAGE();
  TTestFolder Folder;
  const QString Misnamed = Folder.Path("really-a-png.jpg");
  TMyPngImage Png;
  Png.Assign(*SmoothImage(9, 7));
  Png.SaveToFile(Misnamed);

  EXPECT_EQ(GetFifFromName(Misnamed), fifJpeg);
  EXPECT_EQ(GetFileFif(Misnamed), fifPng);
  EXPECT_EQ(FreeImageFileType(Misnamed), "Portable Network Graphics (*.png)");
  TFreeBitmap Free;
  Free.InitLoadFormat(Misnamed);
  EXPECT_EQ(Free.ImageFormat(), fifPng);
  Free.LoadFromFileEx(Misnamed, nullptr);
  EXPECT_TRUE(Free.BadFif());
  EXPECT_IMAGES_MATCH(Free, *SmoothImage(9, 7));

  // A name alone decides for a file that is not there yet.
  EXPECT_EQ(GetFileFif(Folder.Path("new.tif")), fifTiff);
  EXPECT_EQ(FifOfSaveName(Folder.Path("new.rle")), fifBmp);
  EXPECT_EQ(FifOfLoadFile(Folder.Path("new.rle")), fifBmp);
  EXPECT_EQ(GetFileFif(Folder.Path("new.nothing")), fifUnknown);
  EXPECT_EQ(FreeImageFileType(Folder.Path("new.nothing")), "");
}

TEST(FreeImageFormats, LoadFlagsByFormatAndMode) {
  struct TCase {
    int Fif;
    bool Thumb;
    int Flags;
  };
  for (const TCase& C : {TCase{fifJpeg, true, 9}, TCase{fifJpeg, false, 10}, TCase{fifRaw, true, 1},
                         TCase{fifRaw, false, 0}, TCase{fifPng, true, 0}, TCase{fifTiff, false, 0}})
    EXPECT_EQ(FreeImageLoadFlags(C.Fif, C.Thumb), C.Flags) << C.Fif << " " << C.Thumb;
}

TEST(FreeImageFormats, FlagsChosenBeforeALoadAreKept) {
  REQUIRE_FREEIMAGE();
  TTestFolder Folder;
  const QString Name = Folder.Path("a.jpg");
  TMyJpegImage Jpeg;
  Jpeg.Assign(*SmoothImage(16, 16));
  Jpeg.SaveToFileEx(Name);
  for (const auto& [Preset, Thumb, Expected] :
       {std::tuple{0, false, 10}, std::tuple{0, true, 9}, std::tuple{JpegFast, false, JpegFast}}) {
    TFreeBitmap Free;
    Free.InitLoadFormat(Name);
    Free.SetThumbMode(Thumb);
    Free.SetIOFlag(Preset);
    TFreeExtraData Extra;
    Free.LoadFromFileEx(Name, &Extra);
    EXPECT_EQ(Extra.IOFlag, Expected);
    EXPECT_EQ(Free.IOFlag(), Expected);
    EXPECT_EQ(Extra.ImageFormat, fifJpeg);
  }
}

TEST(FreeBitmapFlags, SaveOptionSetters) {
  TFreeBitmap B;
  const auto Webp = [&B](int Quality) {
    B.SetWebpQuality(Quality);
    return B.IOFlag();
  };
  EXPECT_EQ(Webp(-1), 256);
  EXPECT_EQ(Webp(0), 0);
  EXPECT_EQ(Webp(5), 10);
  EXPECT_EQ(Webp(75), 75);
  EXPECT_EQ(Webp(150), 100);

  B.SetJpegQuality(5);
  EXPECT_EQ(B.IOFlag(), 10 + 0x20000);
  B.SetJpegQuality(120);
  EXPECT_EQ(B.IOFlag(), 100 + 0x20000);
  B.SetJpegQuality(90);
  B.SetJpegProgressive();
  EXPECT_EQ(B.IOFlag(), 90 + 0x20000 + 0x2000);

  B.SetTargaRle(true);
  EXPECT_EQ(B.IOFlag(), 2);
  B.SetTargaRle(false);
  EXPECT_EQ(B.IOFlag(), 0);
  B.SetTiffCompression(TiffLzw);
  EXPECT_EQ(B.IOFlag(), 0x4000);

  B.InitSaveFormat("a.rle");
  EXPECT_EQ(B.ImageFormat(), 0);
  EXPECT_EQ(B.IOFlag(), 1);
  EXPECT_TRUE(B.IsRleFormat());
  B.InitSaveFormat("a.RLE.bmp");
  EXPECT_FALSE(B.IsRleFormat());
}

TEST(FreeBitmapFlags, FormatQuestions) {
  REQUIRE_FREEIMAGE();
  TFreeBitmap B;
  const auto Is = [&B](const char* Name) {
    B.InitSaveFormat(Name);
    return QString("%1%2%3%4")
        .arg(int(B.IsJpegFormat()))
        .arg(int(B.IsTargaFormat()))
        .arg(int(B.IsTiffFormat()))
        .arg(int(B.IsWebpFormat()));
  };
  EXPECT_EQ(Is("a.jpeg"), "1000");
  EXPECT_EQ(Is("a.targa"), "0100");
  EXPECT_EQ(Is("a.tif"), "0010");
  EXPECT_EQ(Is("a.webp"), "0001");
  EXPECT_EQ(Is("a.png"), "0000");
}

// ---- Metadata text ---------------------------------------------------------------------------

TEST(FreeImageMetadataText, TagsReadAsTheLibraryWritesThem) {
  REQUIRE_FREEIMAGE();
  TMetadata List;
  AddAsciiTag(List, fmdExifMain, "", etMake, "Maker");
  AddShortTag(List, fmdExifMain, "", etOrientation, 1);
  AddRationalTag(List, fmdExifMain, "", etXResolution, 72);
  AddShortTag(List, fmdExifMain, "", etResolutionUnit, 2);
  AddAsciiTag(List, fmdExifMain, "Artist", 315, "");
  QStringList Lines;
  ASSERT_TRUE(MetadataModelToStrings(List, fmdExifMain, &Lines, false));
  EXPECT_EQ(Lines,
            QStringList({"Make=Maker", "Orientation=top, left side", "XResolution=72", "ResolutionUnit=inches"}));
  Lines.clear();
  ASSERT_TRUE(MetadataModelToStrings(List, fmdExifMain, &Lines, true));
  EXPECT_EQ(Lines.size(), 5);
  EXPECT_EQ(Lines.last(), "Artist=");
  EXPECT_FALSE(MetadataModelToStrings(List, fmdIptc, &Lines, true));
}

TEST(FreeImageMetadataText, ATagTheLibraryCannotHoldFallsBackToPlainText) {
  REQUIRE_FREEIMAGE();
  TMetadata List;
  const int I = AddTag(List, fmdComments, 99, "Odd", 0, 0);
  List[I].Data = {'h', 'i'};
  const int J = AddTag(List, fmdComments, fdtShort, "Short", 0, 0);
  List[J].Data = {5, 0, 7}; // one value and a stray byte
  QStringList Lines;
  ASSERT_TRUE(MetadataModelToStrings(List, fmdComments, &Lines, true));
  ASSERT_EQ(Lines.size(), 2);
  EXPECT_EQ(Lines[1], "Short=5");
}

// ---- Without the library --------------------------------------------------------------------

TEST(FreeImageAbsent, PictureClassesStillLoadAndSaveTheBasicFormats) {
  TWithoutFreeImage Without;
  TTestFolder Folder;
  const PBitmap Image = SmoothImage(23, 11);

  SaveBitmapToBmpFile(Folder.Path("a.bmp"), *Image, 96);
  TBitmap Bmp;
  LoadBitmapFromBmpFile(Folder.Path("a.bmp"), Bmp);
  EXPECT_IMAGES_MATCH(Bmp, *Image);

  TMyPngImage Png;
  Png.Assign(*Image);
  Png.SaveToFile(Folder.Path("a.png"));
  TMyPngImage PngBack;
  PngBack.LoadFromFile(Folder.Path("a.png"));
  EXPECT_IMAGES_MATCH(PngBack, *Image);

  TMyJpegImage Jpeg;
  Jpeg.Assign(*Image);
  Jpeg.SaveToFileEx(Folder.Path("a.jpg"));
  TMyJpegImage JpegBack;
  JpegBack.LoadFromFile(Folder.Path("a.jpg"));
  EXPECT_IMAGES_MATCH(JpegBack.Bitmap(), *Image, 64); // lossy, chroma subsampled

  TGIFImage Gif;
  Gif.Assign(*Image);
  Gif.SaveToFile(Folder.Path("a.gif"));
  TGIFImage GifBack;
  GifBack.LoadFromFile(Folder.Path("a.gif"));
  EXPECT_EQ(GifBack.ImageCount(), 1);
  EXPECT_EQ(GifBack.Frames[0].Width, 23);

  // The library's own class refuses every file, with the file's name.
  TFreeBitmap Free;
  Free.InitLoadFormat(Folder.Path("a.png"));
  EXPECT_EQ(Free.ImageFormat(), fifUnknown);
  try {
    Free.LoadFromFileEx(Folder.Path("a.png"), nullptr);
    ADD_FAILURE() << "loaded without the library";
  } catch (const EInvalidGraphic& E) {
    EXPECT_NE(std::string(E.what()).find("a.png"), std::string::npos) << E.what();
  }
}

} // namespace
