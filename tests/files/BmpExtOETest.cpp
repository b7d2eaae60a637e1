#include "files/BmpExtOE.h"

#include "FakeFreeImage.h"
#include "i18n/LibLang.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString DefaultOpenMasks = "*.lmi;*.wmf;*.emf;*.bmp;*.rle;*.jpg;*.jpeg;*.jpe;*.png;*.gif";

// The fake library's formats written out the slow way.
QString FakeMasks(int Fif) {
  TFakeFreeImage Fake;
  QString Masks;
  for (const QString& Ext : Fake.FormatExtensionList(Fif).split(',')) Masks += (Masks.isEmpty() ? "*." : ";*.") + Ext;
  return Masks;
}
QString FakeEntry(int Fif) { return QStringLiteral("Format %1|").arg(Fif) + FakeMasks(Fif); }

class BmpExtOE : public ::testing::Test {
protected:
  void TearDown() override {
    SetExtraOpenFilter("");
    SetExtraSaveFilter("");
    SetExtraOpenMasks("");
    ResetTranslations();
  }
};

} // namespace

TEST_F(BmpExtOE, ExtensionTestsUseTheLowerCasedExtension) {
  struct Case {
    bool (*Test)(const QString&);
    const char* Yes;
    const char* No;
  };
  for (const Case& C : {Case{IsJpegFile, "/a/b.JPEG", "b.jpgx"},
                        Case{IsJpegFile, "b.jpe", "jpg"},
                        Case{IsPngFile, "x.PnG", "x.png.bak"},
                        Case{IsBmpImageFile, "x.bmp", "x.rle"},
                        Case{IsRleFile, "x.RLE", "x.bmp"},
                        Case{IsGifFile, "x.gif", "x.giff"},
                        Case{IsLmiFile, "x.lmi", "x.lms"},
                        Case{IsLmsFile, "x.LMS", "x.lmi"},
                        Case{IsLmvFile, "x.lmv", "x.lmi"},
                        Case{IsIcoFile, "x.ico", "x.cur"},
                        Case{IsMetafileFile, "x.EMF", "x.emz"},
                        Case{IsMetafileFile, "x.wmf", "wmf"},
                        Case{IsTiffFile, "x.tiff", "x.tifff"},
                        Case{IsTiffFile, "x.TIF", "x.ti"},
                        Case{IsTargaFile, "x.targa", "x.trg"},
                        Case{IsTargaFile, "x.TGA", "x.tg"},
                        Case{IsWebpImageFile, "x.webp", "x.web"},
                        Case{IsPlatformPictureFile, "x.ico", "x.png"},
                        Case{IsPlatformPictureFile, "x.WMF", "x.gif"},
                        Case{HasNoExtension, "dir.d/file", "a.b"},
                        Case{IsRleOrTargaFile, "x.rle", "x.tif"},
                        Case{SupportsIndexedColors, "x.TIFF", "x.gif"},
                        Case{KeepsLayers, "x.LMI", "x.png"},
                        Case{KeepsTransparentColor, "x.gif", "x.bmp"}}) {
    EXPECT_TRUE(C.Test(QString::fromUtf8(C.Yes))) << C.Yes;
    EXPECT_FALSE(C.Test(QString::fromUtf8(C.No))) << C.No;
  }
  EXPECT_EQ(LowerFileExt("/x.y/Name.Tar.GZ"), ".gz");
  EXPECT_EQ(LowerFileExt("/x.y/Name"), "");
}

TEST_F(BmpExtOE, AlphaCapabilityDependsOnGifAcceptanceAndFreeImage) {
  EXPECT_FALSE(SupportsAlphaChannel("a.gif", false));
  EXPECT_TRUE(SupportsAlphaChannel("a.gif", true));
  EXPECT_TRUE(SupportsAlphaChannel("a.BMP", false));
  EXPECT_FALSE(SupportsAlphaChannel("a.tif", false));
  EXPECT_FALSE(IsFreeImageAlphaFormat("a.webp"));
  TScopedFakeFreeImage FreeImage;
  EXPECT_TRUE(SupportsAlphaChannel("a.tif", false));
  EXPECT_TRUE(IsFreeImageAlphaFormat("a.targa"));
  EXPECT_FALSE(IsFreeImageAlphaFormat("a.jpg"));
}

TEST_F(BmpExtOE, FiltersWithoutFreeImage) {
  EXPECT_EQ(GetOpenMasks(), DefaultOpenMasks);
  EXPECT_EQ(GetOpenFilter(), "Toutes les images|" + DefaultOpenMasks +
                                 "|Lumaretique Image|*.lmi|Windows Metafile|*.wmf;*.emf|Bitmap|*.bmp|RLE|*.rle"
                                 "|JPEG|*.jpg;*.jpeg;*.jpe|PNG|*.png|GIF|*.gif|Icône|*.ico");
  EXPECT_EQ(GetSaveFilter(), "Lumaretique Image|*.lmi|Bitmap|*.bmp|JPEG|*.jpg;*.jpeg;*.jpe|PNG|*.png|GIF|*.gif");
  EXPECT_EQ(FilterIndexOfFile("a.gif", GetSaveFilter()), 5);
  EXPECT_EQ(FilterIndexOfFile("a.GIF", GetSaveFilter()), 5);
  EXPECT_EQ(FilterIndexOfFile("a.tga", GetSaveFilter()), 0);
  EXPECT_EQ(FilterIndexOfFile("a.jpe", GetOpenFilter()), 1); // the all-images entry comes first
  EXPECT_TRUE(IsSavableImageFile("a.Lmi"));
  EXPECT_FALSE(IsSavableImageFile("a.ico"));
  EXPECT_EQ(MakeFilterEntry("", "RLE"), "RLE|*.rle");
  EXPECT_EQ(MakeFilterEntry("Run length", "rle"), "Run length|*.rle");
}

TEST_F(BmpExtOE, FiltersWithFreeImage) {
  TScopedFakeFreeImage FreeImage;
  QString AllMasks, AllEntries;
  for (int Fif = 0; Fif < 37; ++Fif) {
    AllMasks += (Fif ? ";" : "") + FakeMasks(Fif);
    AllEntries += (Fif ? "|" : "") + FakeEntry(Fif);
  }
  EXPECT_EQ(FifMaskList(fifTiff), "*.tif;*.tiff");
  // ".rle", which the editor writes, is opened too.
  EXPECT_EQ(GetOpenMasks(), "*.lmi;*.wmf;*.emf;" + AllMasks + ";*.rle");
  EXPECT_EQ(GetOpenFilter(), "Toutes les images|*.*|Lumaretique Image|*.lmi|Windows Metafile|*.wmf;*.emf|" +
                                 AllEntries + "|RLE|*.rle");
  EXPECT_EQ(GetSaveFilter(), "Lumaretique Image|*.lmi|" + FakeEntry(0) + "|" + FakeEntry(2) + "|" + FakeEntry(13) +
                                 "|" + FakeEntry(25) + "|RLE|*.rle|" + FakeEntry(17) + "|" + FakeEntry(18) + "|" +
                                 FakeEntry(36) + "|" + FakeEntry(31) + "|" + FakeEntry(35) + "|" + FakeEntry(23));
  EXPECT_EQ(FilterIndexOfFile("a.TGA", GetSaveFilter()), 7);
  EXPECT_EQ(FilterIndexOfFile("a.rle", GetSaveFilter()), 6);
  EXPECT_TRUE(IsJpegFile("a.jpe"));
  EXPECT_TRUE(IsSavableImageFile("a.webp"));
}

// A format the bound library cannot write is not offered for saving.
TEST_F(BmpExtOE, SaveFilterLeavesOutFormatsTheLibraryCannotWrite) {
  TScopedFakeFreeImage FreeImage;
  FreeImage.Fake.Unwritable = {fifJxr, fifXpm};
  EXPECT_FALSE(GetSaveFilter().contains("jxr")) << GetSaveFilter().toStdString();
  EXPECT_FALSE(GetSaveFilter().contains("xpm"));
  EXPECT_FALSE(IsSavableImageFile("a.jxr"));
  EXPECT_TRUE(IsSavableImageFile("a.jp2"));
  EXPECT_TRUE(GetOpenMasks().contains("*.jxr")); // still read
}

TEST_F(BmpExtOE, FiltersFollowTheLibraryAndTheTranslation) {
  const QString Before = GetOpenFilter();
  {
    TScopedFakeFreeImage FreeImage;
    EXPECT_TRUE(GetOpenFilter().contains("|*.*|"));
  }
  EXPECT_EQ(GetOpenFilter(), Before);
  ASSERT_TRUE(SetTranslation(TrId::GetOeAll, "All pictures"));
  ASSERT_TRUE(SetTranslation(TrId::GetFltIconFile, "Icon"));
  EXPECT_TRUE(GetOpenFilter().startsWith("All pictures|*.lmi;"));
  EXPECT_TRUE(GetOpenFilter().endsWith("|Icon|*.ico"));
}

TEST_F(BmpExtOE, ExtraStringsAreAppendedAndDropOnlyTheirCache) {
  TScopedFakeFreeImage FreeImage;
  const QString Open = GetOpenFilter(), Save = GetSaveFilter(), Masks = GetOpenMasks();
  SetExtraOpenFilter("Module|*.mod");
  SetExtraSaveFilter("Module out|*.mot");
  SetExtraOpenMasks("*.mod");
  EXPECT_EQ(GetOpenFilter(), Open + "|Module|*.mod");
  EXPECT_EQ(GetSaveFilter(), Save + "|Module out|*.mot");
  EXPECT_EQ(GetOpenMasks(), Masks + ";*.mod");
  EXPECT_EQ(FilterIndexOfFile("x.mot", GetSaveFilter()), 13);

  FreeImage.Fake.DescriptionCalls = 0;
  SetExtraOpenFilter("Module|*.mod"); // the same text keeps the built filter
  GetOpenFilter();
  EXPECT_EQ(FreeImage.Fake.DescriptionCalls, 0);
  SetExtraOpenFilter("Other|*.oth");
  EXPECT_EQ(GetOpenFilter(), Open + "|Other|*.oth");
  EXPECT_EQ(FreeImage.Fake.DescriptionCalls, 37);
  GetSaveFilter(); // untouched by the open filter's change
  EXPECT_EQ(FreeImage.Fake.DescriptionCalls, 37);
}

TEST_F(BmpExtOE, OpenMasksWithoutFreeImageFeedTheOpenFilter) {
  SetExtraOpenMasks("*.mod");
  EXPECT_TRUE(GetOpenFilter().startsWith("Toutes les images|" + DefaultOpenMasks + ";*.mod|"));
}

TEST_F(BmpExtOE, MaskListsAndDialogItems) {
  EXPECT_TRUE(MaskListHasExt(".jpeg", "*.jpg;*.jpeg;*.jpe"));
  EXPECT_TRUE(MaskListHasExt("*.jpe", "*.jpg;*.jpeg;*.jpe"));
  EXPECT_FALSE(MaskListHasExt(".JPEG", "*.jpg;*.jpeg;*.jpe"));
  EXPECT_FALSE(MaskListHasExt(".jp", "*.jpg;*.jpeg;*.jpe"));
  EXPECT_TRUE(FileMatchesMasks("/p/X.JPEG", "*.jpg;*.jpeg"));
  EXPECT_TRUE(FileMatchesFilterEntry("x.Jpe", "JPEG|*.jpg;*.jpeg;*.jpe"));
  EXPECT_FALSE(FileMatchesFilterEntry("x.jpe", "*.jpe|JPEG"));

  TFileTypeItems Items;
  FilterToFileTypes(Items, "A|*.a|B|*.b;*.bb|C");
  ASSERT_EQ(Items, (TFileTypeItems{{"A", "*.a"}, {"B", "*.b;*.bb"}}));
  FilterToFileTypes(Items, "D|*.d");
  EXPECT_EQ(Items.size(), 3u);
  EXPECT_EQ(FilterEntryDefaultExt(Items, 2), ".b");
  EXPECT_EQ(FilterEntryDefaultExt(Items, 4), "");
  EXPECT_EQ(FilterEntryDefaultExt(Items, 0), "");
  EXPECT_EQ(FileTypeIndexOf("x.BB", Items), 2);
  EXPECT_EQ(FileTypeIndexOf("x.d", Items), 3);
  EXPECT_EQ(FileTypeIndexOf("x", Items), 0);
  EXPECT_EQ(FileTypeIndexOf("x.c", Items), 0);

  TFileTypeItems Save;
  FilterToFileTypes(Save, GetSaveFilter());
  EXPECT_EQ(FilterEntryDefaultExt(Save, 3), ".jpg");
}

TEST_F(BmpExtOE, OpenableFilesExistAndMayHaveToMatchTheMasks) {
  QTemporaryDir Dir;
  ASSERT_TRUE(Dir.isValid());
  for (const char* Name : {"pic.JPG", "pic.xyz", "noext"}) {
    QFile F(Dir.filePath(Name));
    ASSERT_TRUE(F.open(QIODevice::WriteOnly));
  }
  ASSERT_TRUE(QDir(Dir.path()).mkdir("folder.png"));
  EXPECT_TRUE(IsOpenableImageFile(Dir.filePath("pic.JPG"), true));
  EXPECT_TRUE(IsOpenableImageFile(Dir.filePath("pic.xyz"), false));
  EXPECT_FALSE(IsOpenableImageFile(Dir.filePath("pic.xyz"), true));
  EXPECT_FALSE(IsOpenableImageFile(Dir.filePath("noext"), false));
  EXPECT_FALSE(IsOpenableImageFile(Dir.filePath("folder.png"), false));
  EXPECT_FALSE(IsOpenableImageFile(Dir.filePath("missing.png"), false));
}
