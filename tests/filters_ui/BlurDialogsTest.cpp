// What the artistic and blur dialogs do beyond one routine call: the box
// and Gaussian blurs on layers with transparency, the controls each shows,
// and the parameters derived from the layer.
#include "DialogCases.h"

#include "../support/Pixels.h"
#include "filters/Blur24.h"
#include "filters/ui/ArtisticForms.h"
#include "filters/ui/BlurForms.h"
#include "raster/GreyMasks.h"
#include "ui/RadioGroup.h"

#include <QLabel>

namespace {

class BlurDialogsTest : public FilterDialogFixture {
protected:
  // The background: grey 200, with a transparency mask whose Border pixels
  // along every edge are transparent and black underneath.
  void TransparentBorder(int Border) {
    TLayerItem& Layer = Form->Image().Layers()[0];
    Layer.CheckCreateMask(false);
    TBitmap& B = Form->LeBitmap();
    for (int Y = 0; Y < B.Height(); ++Y)
      for (int X = 0; X < B.Width(); ++X) {
        const bool Edge = X < Border || Y < Border || X >= B.Width() - Border || Y >= B.Height() - Border;
        SetPx(B, X, Y, Edge ? Grey(0) : Grey(200));
        SetPx(Layer.Mask(), X, Y, Edge ? Grey(255) : Grey(0));
      }
    Original.Assign(B);
    OriginalMask.Assign(Layer.Mask());
  }
  TBitmap& Mask() { return Form->Image().Layers()[0].Mask(); }
  template <class TForm> TForm* OpenBlur(const char* Item) { return Open<TForm>(Item, "MenuFiltre"); }
  TBitmap OriginalMask;
};

TEST_F(BlurDialogsTest, BlursOnTransparencyKeepTheEdgeFromDarkeningAndTheHiddenColours) {
  TransparentBorder(4);
  for (const bool Box : {true, false}) {
    SCOPED_TRACE(Box ? "box" : "gaussian");
    TAlphaBlurForm* D = Box ? static_cast<TAlphaBlurForm*>(OpenBlur<TBoxBlurForm>("MenuFiltreFlouPlus"))
                            : OpenBlur<TGaussBlurForm>("MenuFiltreFlouGauss");
    ASSERT_TRUE(D);
    D->TBN->SetPosition(4);
    Click(D->BOk);
    // Every visible pixel stays 200: the blur met no dark colour; the
    // transparent ones keep their black; the mask is untouched.
    EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
    EXPECT_IMAGES_MATCH(Mask(), OriginalMask);
    ASSERT_EQ(UndoSteps(), 1);
    Form->MenuItem("MenuEditionUndo")->trigger();
  }
}

TEST_F(BlurDialogsTest, TheAlphaBoxBlursTheMaskAfterShrinkingItsOpaquePart) {
  TransparentBorder(4);
  auto* D = OpenBlur<TGaussBlurForm>("MenuFiltreFlouGauss");
  ASSERT_TRUE(D);
  ASSERT_FALSE(D->CBAlpha->isHidden());
  ASSERT_FALSE(D->RGInflate->isHidden());
  EXPECT_FALSE(D->RGInflate->isEnabled());
  QTest::mouseClick(D->CBAlpha, Qt::LeftButton, {}, QPoint(5, 8));
  EXPECT_TRUE(D->RGInflate->isEnabled());
  // "Moyen" at radius 3: the opaque part loses max(1, 3 div 2) = 1 pixel.
  QTest::mouseClick(D->RGInflate->Button(2), Qt::LeftButton, {}, QPoint(5, 8));
  Click(D->BOk);
  TBitmap Expected;
  Expected.Assign(OriginalMask);
  const TRect All{0, 0, Expected.Width(), Expected.Height()};
  GrowShrinkMask(Expected, -1, All, false);
  GaussianBlurRadius(Expected, 3, All);
  EXPECT_IMAGES_MATCH(Mask(), Expected);
  // Undo gives the mask back too.
  Form->MenuItem("MenuEditionUndo")->trigger();
  EXPECT_IMAGES_MATCH(Mask(), OriginalMask);
}

TEST_F(BlurDialogsTest, TheAlphaControlsFollowTheLayerAndTheSelectionShape) {
  auto* D = OpenBlur<TBoxBlurForm>("MenuFiltreFlouPlus");
  ASSERT_TRUE(D);
  // No transparency: neither the box nor the group, and a shorter dialog.
  EXPECT_TRUE(D->CBAlpha->isHidden());
  EXPECT_TRUE(D->RGInflate->isHidden());
  const int Short = D->height();
  Click(D->BAnnuler);

  TransparentBorder(2);
  D = OpenBlur<TBoxBlurForm>("MenuFiltreFlouPlus");
  EXPECT_FALSE(D->CBAlpha->isHidden());
  EXPECT_FALSE(D->RGInflate->isHidden());
  EXPECT_GT(D->height(), Short);
  Click(D->BAnnuler);

  // An elliptic selection: the box stays, the group goes.
  Form->MenuSelToutClick();
  Form->Sel()->SetShape(ssEllipse);
  Form->Sel()->SetBmpSelRect({5, 5, 30, 25});
  D = OpenBlur<TBoxBlurForm>("MenuFiltreFlouPlus");
  EXPECT_FALSE(D->CBAlpha->isHidden());
  EXPECT_TRUE(D->RGInflate->isHidden());
  Click(D->BAnnuler);

  // A rectangle keeps it.
  Form->Sel()->SetShape(ssRect);
  D = OpenBlur<TBoxBlurForm>("MenuFiltreFlouPlus");
  EXPECT_FALSE(D->RGInflate->isHidden());
}

TEST_F(BlurDialogsTest, CharcoalWithoutWhiteChalkGreysItsHighlightSliderAgainOnTheNextShow) {
  auto* D = OpenBlur<TCharcoalForm>("MenuFiltreFusain");
  ASSERT_TRUE(D);
  EXPECT_TRUE(D->TrackBar1->isEnabled());
  QTest::mouseClick(D->WhiteChalk, Qt::LeftButton, {}, QPoint(5, 8));
  EXPECT_FALSE(D->TrackBar1->isEnabled());
  EXPECT_FALSE(D->LblHighlights->isEnabled());
  Click(D->BOk);
  D = OpenBlur<TCharcoalForm>("MenuFiltreFusain");
  EXPECT_FALSE(D->WhiteChalk->isChecked());
  EXPECT_FALSE(D->TrackBar1->isEnabled());
  EXPECT_FALSE(D->LblHighlights->isEnabled());
}

TEST(BlackPencilStrokes, LengthFollowsTheLayersSmallerSide) {
  EXPECT_EQ(TBlackPencilForm::StrokeLength(1000, 3000, 1), 16);
  EXPECT_EQ(TBlackPencilForm::StrokeLength(4000, 3000, 9), 21);
  EXPECT_EQ(TBlackPencilForm::StrokeLength(40, 30, 9), 8);
}

TEST_F(BlurDialogsTest, DustRemovalHasNoSoftenBox) {
  auto* D = OpenBlur<TDeNoiseForm>("MenuFiltreAntipoussiere");
  ASSERT_TRUE(D);
  EXPECT_EQ(D->Soften, nullptr);
  EXPECT_EQ(D->findChildren<QCheckBox*>().size(), 1); // the live preview only
  EXPECT_EQ(D->findChild<QRadioButton*>("RadioButton4"), D->Luminosity);
  EXPECT_EQ(D->findChild<QRadioButton*>("RadioButton5"), D->Color);
  // The destroyed box leaves the tab order whole: the radio buttons come
  // after the inherited sliders and before the live-preview box.
  std::vector<QString> Order;
  QWidget* W = D->TBN;
  for (int I = 0; I < 6; ++I, W = W->nextInFocusChain()) Order.push_back(W->objectName());
  EXPECT_EQ(Order, (std::vector<QString>{"TBN", "TrackBar1", "TrackBar2", "RadioButton4", "RadioButton5", "CBRealTime"}));
}

} // namespace
