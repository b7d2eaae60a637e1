// Image > Fit image: the fitted or distorted size, the kernel, the layers
// following, the predefined limits, and undo.
#include "ImageDialogFixture.h"

#include "dialogs/ui/Adapt.h"
#include "raster/TransformFunc.h"
#include "ui/SpecialEdit.h"

#include <QCheckBox>

namespace {

class AdaptFormTest : public ImageDialogFixture {
protected:
  TAdapterForm* Fit(const char* W, const char* H, bool Distort, bool Optimise) {
    TAdapterForm* D = Open<TAdapterForm>("MenuImageAdapter");
    if (!D) return nullptr;
    Type(D->EdiL, QString::fromLatin1(W));
    Type(D->EdiH, QString::fromLatin1(H));
    D->CBDeformer->setChecked(Distort);
    D->CBOptimiser->setChecked(Optimise);
    Click(D->BOk);
    return D;
  }
  std::unique_ptr<TBitmap> Scaled(int W, int H, uint8_t Kernel) const {
    auto B = std::make_unique<TBitmap>();
    B->Assign(Original);
    TBitmap NoMask;
    ScaleBitmapAndMask(W, H, Kernel, nullptr, nullptr, *B, NoMask);
    return B;
  }
};

TEST_F(AdaptFormTest, ASmallImageGrowsToTouchTheLimitsWithItsLayers) {
  OpenImage(40, 20, true);
  ASSERT_TRUE(Fit("80", "60", false, true));
  EXPECT_IMAGES_MATCH(Form->LeFond(), *Scaled(80, 40, 5));
  EXPECT_EQ(Layer(1).Bitmap().Width(), 12);
  EXPECT_EQ(Layer(1).Bitmap().Height(), 8);
  EXPECT_EQ(Layer(1).Pos.X, 6);
  EXPECT_EQ(Layer(1).Pos.Y, 4);
  EXPECT_EQ(Form->Image().ResolutionX, 96);
  Undo();
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
  EXPECT_EQ(Layer(1).Bitmap().Width(), 6);
  EXPECT_EQ(Layer(1).Pos.X, 3);
}

TEST_F(AdaptFormTest, ProportionsDistortionAndNearestNeighbour) {
  OpenImage(300, 400);
  ASSERT_TRUE(Fit("80", "60", false, false));
  EXPECT_IMAGES_MATCH(Form->LeFond(), *Scaled(45, 60, 0));
  Undo();
  ASSERT_TRUE(Fit("80", "60", true, true));
  EXPECT_EQ(Form->LeFond().Width(), 80);
  EXPECT_EQ(Form->LeFond().Height(), 60);
  // Already of the fitted size: nothing happens.
  ASSERT_TRUE(Fit("160", "60", false, true));
  EXPECT_EQ(UndoSteps(), 1);
}

TEST_F(AdaptFormTest, PredefinedLimitsFillTheFieldsAndTypingMakesThemCustom) {
  OpenImage(30, 20);
  TAdapterForm* D = Open<TAdapterForm>("MenuImageAdapter");
  ASSERT_TRUE(D);
  D->LstTaille->SetItemIndex(4);
  EXPECT_EQ(D->EdiL->text(), "1024");
  EXPECT_EQ(D->EdiH->text(), "768");
  Type(D->EdiL, "500");
  EXPECT_EQ(D->LstTaille->ItemIndex(), 0);
  Click(D->BAnnuler);
  EXPECT_EQ(UndoSteps(), 0);
}

} // namespace
