// The curve-deformation dialog in a real main window, driven while it runs
// modally: the default curve changes nothing, a raised curve deforms the
// layer as the deformation routines do, layer mode grows the layer, the
// vertex rules, and the curve files.
#include "FilterDialogFixture.h"

#include "../support/Pixels.h"
#include "document/MyGraphic.h"
#include "filters/ui/CurveStroke.h"
#include "filters/ui/DefCurveForm.h"
#include "raster/DataFileError.h"
#include "ui/ColorEdit.h"

#include <QDir>
#include <QTimer>
#include <QToolButton>

namespace {

class DefCurveFormTest : public FilterDialogFixture {
protected:
  // Runs Steps while the dialog opened by the menu item is shown; the item's
  // command returns when the dialog is closed.
  void Run(const char* Item, const char* TopMenu, const std::function<void()>& Steps) {
    QTimer::singleShot(0, Form.get(), [&] {
      D = Form->findChild<TDefCurveForm*>();
      ASSERT_TRUE(D && D->isVisible());
      Steps();
      if (D->isVisible()) D->close();
    });
    emit Form->MenuNamed(QString::fromLatin1(TopMenu))->aboutToShow();
    QAction* A = Form->MenuItem(QString::fromLatin1(Item));
    ASSERT_TRUE(A && A->isEnabled()) << Item;
    A->trigger();
    EXPECT_FALSE(D && D->isVisible());
  }
  QPoint At(TPoint P) const {
    const TPoint C = D->Path->BmpToClient(P);
    return {C.X, C.Y};
  }
  void Drag(TPoint From, TPoint To) {
    QTest::mousePress(D->Path, Qt::LeftButton, {}, At(From));
    QTest::mouseMove(D->Path, At({(From.X + To.X) / 2, (From.Y + To.Y) / 2}));
    QTest::mouseMove(D->Path, At(To));
    QTest::mouseRelease(D->Path, Qt::LeftButton, {}, At(To));
  }
  std::vector<TPoint> Anchors() const {
    std::vector<TPoint> R;
    for (const TPathVertexData& V : D->Curve().Vertices) R.push_back(V.PP);
    return R;
  }
  // The original layer deformed by the dialog's curve, straight through the
  // routines.
  std::unique_ptr<TBitmap> Deformed(bool Grow) const { return Deformed(Original, Grow); }
  std::unique_ptr<TBitmap> Deformed(const TBitmap& Layer, bool Grow, TAntialiasMode Mode = amBicubic) const {
    auto E = std::make_unique<TBitmap>();
    TBitmap Src;
    Src.Assign(Layer);
    const TRect R = Form->LaSelection();
    const TDeformPoints P = SmoothDeformPoints(SampleDeformCurve(Src, R, *D->Path, true), 12);
    DeformByCurve(Src, *E, true, P, clWhite, R, Mode, Grow);
    return E;
  }
  TDefCurveForm* D = nullptr;
};

} // namespace

TEST_F(DefCurveFormTest, TheDefaultCurveChangesNothingButIsAnUndoStep) {
  Run("MenuFiltreCourbe", "MenuFiltre", [&] {
    EXPECT_EQ(D->ThumbBitmap().Width(), 40); // a small work area is not enlarged
    EXPECT_EQ(Anchors(), (std::vector<TPoint>{{0, 15}, {20, 15}, {39, 15}}));
    QTest::mouseClick(D->BOk, Qt::LeftButton);
  });
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
  EXPECT_EQ(UndoSteps(), 1);
}

TEST_F(DefCurveFormTest, ARaisedCurveDeformsTheLayerAsTheRoutinesDo) {
  std::unique_ptr<TBitmap> Expected;
  Run("MenuFiltreCourbe", "MenuFiltre", [&] {
    Drag({20, 15}, {20, 5});
    EXPECT_EQ(Anchors()[1], (TPoint{20, 5}));
    EXPECT_EQ(D->FlagChanged(), true);
    Expected = Deformed(false);
    QTest::mouseClick(D->BOk, Qt::LeftButton);
  });
  ASSERT_TRUE(Expected);
  EXPECT_FALSE(ImagesMatch(Form->LeBitmap(), Original, 0));
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), *Expected);
  // Undo brings the layer back.
  Form->MenuItem(QStringLiteral("MenuEditionUndo"))->trigger();
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
}

TEST_F(DefCurveFormTest, LayerModeGrowsTheLayerByTheCurvesSwing) {
  std::unique_ptr<TBitmap> Expected;
  Run("MenuImageCourbe", "MenuImage", [&] {
    EXPECT_TRUE(D->LayerMode);
    Drag({20, 15}, {20, 3});
    Expected = Deformed(true);
    QTest::mouseClick(D->BOk, Qt::LeftButton);
  });
  ASSERT_TRUE(Expected);
  EXPECT_GT(Expected->Height(), 30);
  EXPECT_EQ(Form->LeBitmap().Width(), 40);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), *Expected);
}

TEST_F(DefCurveFormTest, InLayerModeALayerGrowsAndStaysCentred) {
  TBitmap Layer(20, 16, pf24bit, clBlack);
  FillRandom(Layer, 11);
  Form->Image().AddLayer(&Layer, nullptr, {10, 8}, 100, "Calque");
  Form->Image().SetLayerIndex(1);
  std::unique_ptr<TBitmap> Expected;
  Run("MenuCalqueTransformCourbe", "MenuCalque", [&] {
    EXPECT_TRUE(D->LayerMode);
    EXPECT_EQ(Anchors(), (std::vector<TPoint>{{0, 8}, {10, 8}, {19, 8}}));
    Drag({10, 8}, {10, 1});
    Expected = Deformed(Layer, true);
    QTest::mouseClick(D->BOk, Qt::LeftButton);
  });
  ASSERT_TRUE(Expected);
  ASSERT_GT(Expected->Height(), 16);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), *Expected);
  const TLayerItem* L = Form->Image().CurrentLayer();
  ASSERT_TRUE(L);
  EXPECT_EQ(L->Pos, (TPoint{10, 8 - (Expected->Height() - 16) / 2}));
}

TEST_F(DefCurveFormTest, ATransparentLayersMaskIsDeformedAndItsHiddenPixelsWhitened) {
  TBitmap Layer(24, 16, pf24bit, clBlack), Mask(24, 16, pf24bit, clBlack);
  FillRandom(Layer, 12);
  for (int Y = 0; Y < 16; ++Y)
    for (int X = 12; X < 24; ++X) SetPx(Mask, X, Y, Grey(255)); // the right half transparent
  Form->Image().AddLayer(&Layer, &Mask, {4, 4}, 100, "Calque");
  Form->Image().SetLayerIndex(1);
  ASSERT_TRUE(Form->HasAlpha());
  std::unique_ptr<TBitmap> ExpectedMask;
  Run("MenuFiltreCourbe", "MenuFiltre", [&] {
    EXPECT_FALSE(D->CEFond->isEnabled()); // no background colour for a transparent layer
    Drag({12, 8}, {12, 2});
    ExpectedMask = Deformed(Mask, false, amBilinear);
    QTest::mouseClick(D->BOk, Qt::LeftButton);
  });
  ASSERT_TRUE(ExpectedMask);
  EXPECT_IMAGES_MATCH(Form->LeMasque(), *ExpectedMask);
  EXPECT_FALSE(ImagesMatch(Form->LeMasque(), Mask, 0));
  for (int Y = 0; Y < 16; ++Y)
    for (int X = 0; X < 24; ++X)
      if (Px(Form->LeMasque(), X, Y) == Grey(255)) ASSERT_EQ(Px(Form->LeBitmap(), X, Y), Grey(255)) << X << "," << Y;
}

TEST_F(DefCurveFormTest, EndsStayAndThreeVerticesRemain) {
  Run("MenuFiltreCourbe", "MenuFiltre", [&] {
    // With three vertices none can be deleted; the ends never.
    QTest::mouseClick(D->Buttons.SBDel, Qt::LeftButton);
    QTest::mouseClick(D->Path, Qt::LeftButton, {}, At({20, 15}));
    EXPECT_EQ(Anchors().size(), 3u);
    EXPECT_TRUE(D->Buttons.SBMove->isChecked());
    // A moved anchor stays 12 pixels from its neighbours.
    Drag({20, 15}, {36, 10});
    EXPECT_EQ(Anchors()[1], (TPoint{27, 10}));
  });
}

TEST_F(DefCurveFormTest, CurveFilesRoundTripAndABadOneChangesNothing) {
  QStringList Reports;
  const TFileErrorHandler Old = SetFileErrorHandler([&](const QString& M) { Reports << M; });
  const QString Name = QDir(Dir.path()).filePath(QStringLiteral("vague.lmd"));
  Run("MenuFiltreCourbe", "MenuFiltre", [&] {
    Drag({20, 15}, {20, 25});
    QTest::mouseClick(D->Buttons.SBLine, Qt::LeftButton);
    const std::vector<TPoint> Edited = Anchors();
    ASSERT_TRUE(D->SaveDeformFile(Name));
    EXPECT_TRUE(D->windowTitle().endsWith(QStringLiteral(" - vague")));
    QTest::mouseClick(D->Buttons.SBReset, Qt::LeftButton);
    EXPECT_EQ(Anchors()[1], (TPoint{20, 15}));
    ASSERT_TRUE(D->LoadDeformFile(Name));
    EXPECT_EQ(Anchors(), Edited);
    EXPECT_FALSE(D->Path->BezierMode());
    QFile F(Name);
    ASSERT_TRUE(F.open(QIODevice::ReadWrite));
    ASSERT_TRUE(F.resize(40));
    F.close();
    QTest::mouseClick(D->Buttons.SBReset, Qt::LeftButton);
    EXPECT_FALSE(D->LoadDeformFile(Name));
    EXPECT_EQ(Anchors()[1], (TPoint{20, 15}));
  });
  ASSERT_EQ(Reports.size(), 1);
  EXPECT_EQ(Reports[0], QStringLiteral("Erreur de lecture du flux\n") + Name);
  SetFileErrorHandler(Old);
}
