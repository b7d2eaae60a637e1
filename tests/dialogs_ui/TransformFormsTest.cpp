// The path's "Transformation paramétrée..." (also of the selection through a
// path) and the free transformation of the current layer: the sliders
// applied on release, Ok baking the result, Cancel and Undo restoring.
#include "ImageDialogFixture.h"

#include "../support/PathVertices.h"
#include "dialogs/FreeTransform.h"
#include "dialogs/ui/RotPathForm.h"
#include "dialogs/ui/RotSelForm.h"
#include "document/ui/SelectionControl.h"
#include "raster/TransformFunc.h"
#include "tools/ui/PathOverlay.h"
#include "ui/TrackBar.h"

namespace {

class TransformFormsTest : public ImageDialogFixture {
protected:
  // A slider moved and let go, as the arrow keys do.
  static void Slide(TTrackBar* Bar, int Position) {
    Bar->SetPosition(Position);
    QTest::keyRelease(Bar, Qt::Key_Right);
  }
  TPathOverlay& StartPath(const std::vector<TPoint>& Anchors) {
    Form->StartPathMode(QString(), 0);
    Form->Path->ReplacePath(LinePath(Anchors), false, false);
    return *Form->Path;
  }
  TRotPathForm* OpenRotPath() {
    Form->MenuItem("PopPathTransformFree")->trigger();
    auto* D = Form->findChild<TRotPathForm*>();
    return D && D->isVisible() ? D : nullptr;
  }
  // A random opaque W x H layer at Pos above the background, current.
  void AddLayer(int W, int H, TPoint Pos) {
    TBitmap L(W, H, pf24bit, clBlack), M(W, H, pf24bit, clBlack);
    FillRandom(L, 11);
    TMyImageLayered& Img = Form->Image();
    Img.AddLayer(&L, &M, Pos, 100, QStringLiteral("#1"));
    Img.SetLayerIndex(1);
    LayerPixels.Assign(L);
  }
  TRotSelForm* OpenRotSel() { return Open<TRotSelForm>("MenuCalqueTransformParams", "MenuCalque"); }
  // The selection popup's "Transformation" > "Transformation paramétrée..."
  // on a rectangle R of the background.
  TRotSelForm* OpenRotSelFromSelection(const TRect& R) {
    Form->Sel()->SetShape(ssRect);
    Form->Sel()->SetBmpSelRect(R);
    Form->AfficherSelection();
    QMenu* Menu = Form->MenuNamed(QStringLiteral("PopSelTransform"));
    emit Menu->aboutToShow();
    for (QAction* A : Menu->actions())
      if (A->objectName() == QLatin1String("PopSelTransform_MenuCalqueTransformParams")) {
        EXPECT_TRUE(A->isEnabled());
        A->trigger();
      }
    auto* D = Form->findChild<TRotSelForm*>();
    return D && D->isVisible() ? D : nullptr;
  }
  TBitmap LayerPixels;
};

TEST_F(TransformFormsTest, AQuarterTurnMovesTheVerticesExactlyAndOkBakesIt) {
  OpenImage(80, 60);
  TPathOverlay& Path = StartPath({{10, 20}, {50, 20}});
  TRotPathForm* D = OpenRotPath();
  ASSERT_TRUE(D);
  // Nothing moves until the slider is let go.
  D->TBAngle->SetPosition(900);
  EXPECT_EQ(PathAnchors(Path), (std::vector<TPoint>{{10, 20}, {50, 20}}));
  Slide(D->TBAngle, 900);
  EXPECT_EQ(PathAnchors(Path), (std::vector<TPoint>{{30, 0}, {30, 40}}));
  Slide(D->TBAngle, -900);
  EXPECT_EQ(PathAnchors(Path), (std::vector<TPoint>{{30, 40}, {30, 0}}));
  Click(D->BOk);
  EXPECT_FALSE(Path.HasTransformation());
  EXPECT_EQ(Path.Vertices()[0].PP, (TPoint{30, 40}));
  EXPECT_EQ(Path.Vertices()[1].PP, (TPoint{30, 0}));
  EXPECT_TRUE(Path.PathChanged());
}

TEST_F(TransformFormsTest, CancelAndNeutralOkLeaveEveryVertexWhereItWas) {
  OpenImage(80, 60);
  const std::vector<TPoint> Anchors{{11, 7}, {52, 18}, {23, 41}};
  TPathOverlay& Path = StartPath(Anchors);
  TRotPathForm* D = OpenRotPath();
  ASSERT_TRUE(D);
  Slide(D->TBEchelle, 50);
  Slide(D->TBIX, 30);
  ASSERT_NE(PathAnchors(Path), Anchors);
  Click(D->BAnnuler);
  EXPECT_EQ(PathAnchors(Path), Anchors);
  EXPECT_FALSE(Path.HasTransformation());
  // The sliders start neutral again; Reset and Ok bake the identity.
  D = OpenRotPath();
  ASSERT_TRUE(D);
  EXPECT_EQ(D->TBEchelle->Position(), 100);
  Slide(D->TBAngle, 250);
  Click(D->BReset);
  Click(D->BOk);
  EXPECT_EQ(PathAnchors(Path), Anchors);
}

TEST_F(TransformFormsTest, TheSelectionIsTransformedThroughAPath) {
  OpenImage(80, 60);
  Form->Sel()->SetShape(ssRect);
  Form->Sel()->SetBmpSelRect({10, 10, 41, 21});
  Form->AfficherSelection();
  TRotPathForm* D = Open<TRotPathForm>("MenuSelPath", "MenuSelection");
  ASSERT_TRUE(D);
  ASSERT_TRUE(Form->Path);
  Slide(D->TBAngle, 900);
  Click(D->BOk);
  // The path editor is gone and the selection is the turned rectangle.
  EXPECT_FALSE(Form->Path);
  EXPECT_TRUE(Form->Sel()->Visible());
  const TRect R = Form->Sel()->BmpSelRect();
  EXPECT_NEAR(R.Width(), 11, 1);
  EXPECT_NEAR(R.Height(), 31, 1);
}

TEST_F(TransformFormsTest, ATurnedLayerEqualsTheTransformedDrawingAndUndoRestoresIt) {
  OpenImage(80, 60);
  AddLayer(20, 12, {30, 20});
  TRotSelForm* D = OpenRotSel();
  ASSERT_TRUE(D);
  Slide(D->TBAngle, 300);
  Slide(D->TBEchelle, 150);
  // Shown through the pending transformation until Ok.
  ASSERT_TRUE(Layer(1).Transformation());
  EXPECT_IMAGES_MATCH(Layer(1).Bitmap(), LayerPixels);
  Click(D->BOk);
  EXPECT_FALSE(Layer(1).Transformation());

  TAffineTransformation T;
  T.SetSrcRect({0, 0, 20, 12});
  BuildLayerTransformation(T, 20, 12, {30, 20, 50, 32}, {300, 150, 0, 0});
  const TRect Bounds = T.GetBounds();
  EXPECT_EQ(Layer(1).Pos, Bounds.TopLeft());
  T.GoToOrigin();
  TBitmap Expected;
  NewBitmap24(Expected, T.GetBounds().Right, T.GetBounds().Bottom, clWhite);
  DrawTransformed(LayerPixels, Expected, T, amBicubic, clNone);
  const TBitmap& B = Layer(1).Bitmap();
  const TBitmap& M = Layer(1).Mask();
  ASSERT_EQ(B.Width(), Expected.Width());
  ASSERT_EQ(B.Height(), Expected.Height());
  int Compared = 0;
  for (int Y = 0; Y < B.Height(); ++Y)
    for (int X = 0; X < B.Width(); ++X)
      if (Px(M, X, Y).Red < 255) {
        ++Compared;
        ASSERT_EQ(Px(B, X, Y), Px(Expected, X, Y)) << X << "," << Y;
      }
  EXPECT_GT(Compared, 20 * 12);
  // The selection follows the turned corners.
  EXPECT_TRUE(Form->UneSelection());

  Undo();
  EXPECT_IMAGES_MATCH(Layer(1).Bitmap(), LayerPixels);
  EXPECT_EQ(Layer(1).Pos, (TPoint{30, 20}));
}

TEST_F(TransformFormsTest, NeutralOkAndCancelLeaveTheLayerAsItWas) {
  OpenImage(80, 60);
  AddLayer(20, 12, {30, 20});
  TRotSelForm* D = OpenRotSel();
  ASSERT_TRUE(D);
  Click(D->BOk);
  EXPECT_IMAGES_MATCH(Layer(1).Bitmap(), LayerPixels);
  EXPECT_EQ(Layer(1).Pos, (TPoint{30, 20}));
  const int Steps = UndoSteps();
  D = OpenRotSel();
  ASSERT_TRUE(D);
  Slide(D->TBIY, 40);
  EXPECT_NE(D->Points[3], (TPoint{30, 31}));
  Click(D->BAnnuler);
  EXPECT_FALSE(Layer(1).Transformation());
  EXPECT_IMAGES_MATCH(Layer(1).Bitmap(), LayerPixels);
  EXPECT_EQ(Layer(1).Pos, (TPoint{30, 20}));
  EXPECT_EQ(UndoSteps(), Steps);
}

TEST_F(TransformFormsTest, FromTheSelectionPopupTheSelectionBecomesTheTransformedLayer) {
  OpenImage(80, 60);
  TRotSelForm* D = OpenRotSelFromSelection({10, 10, 30, 22});
  ASSERT_TRUE(D);
  ASSERT_EQ(Form->Image().Layers().Count(), 2);
  EXPECT_EQ(Form->Image().LayerIndex(), 1);
  EXPECT_EQ(Layer(1).Bitmap().Width(), 20);
  // The background is left whole.
  EXPECT_IMAGES_MATCH(Form->LeFond(), Original);
  Slide(D->TBEchelle, 50);
  // Cancelled: the new layer goes again with its step.
  Click(D->BAnnuler);
  EXPECT_EQ(Form->Image().Layers().Count(), 1);
  EXPECT_EQ(UndoSteps(), 0);

  D = OpenRotSelFromSelection({10, 10, 30, 22});
  ASSERT_TRUE(D);
  Slide(D->TBEchelle, 50);
  Click(D->BOk);
  ASSERT_EQ(Form->Image().Layers().Count(), 2);
  const TPoint Pos = Layer(1).Pos;
  TBitmap Halved;
  Halved.Assign(Layer(1).Bitmap());
  EXPECT_LT(Halved.Width(), 20);
  // One step made the layer; undone it goes, redone it comes back halved.
  ASSERT_EQ(UndoSteps(), 1);
  Undo();
  EXPECT_EQ(Form->Image().Layers().Count(), 1);
  Redo();
  ASSERT_EQ(Form->Image().Layers().Count(), 2);
  EXPECT_IMAGES_MATCH(Layer(1).Bitmap(), Halved);
  EXPECT_EQ(Layer(1).Pos, Pos);
}

} // namespace
