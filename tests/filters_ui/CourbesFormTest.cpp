// The tone-curve dialog in a real main window: a curve point dragged with
// the mouse previews and applies the curve's table, the vertex rules, the
// curve files, and Ok with no curve in use.
#include "FilterDialogFixture.h"

#include "../support/Pixels.h"
#include "document/ui/MyImage.h"
#include "files/ui/BmpOE2.h"
#include "filters/ui/CourbesForm.h"
#include "filters/ui/CurveStroke.h"
#include "raster/DataFileError.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QToolButton>

namespace {

class CourbesFormTest : public FilterDialogFixture {
protected:
  void SetUp() override {
    FilterDialogFixture::SetUp();
    D = Open<TCourbesForm>("MenuReglageCourbes");
    ASSERT_TRUE(D);
  }
  // A curve point to the overlay's client point.
  QPoint At(int X, int Y) const {
    const TPoint P = D->Path->BmpToClient(TPoint{X, Y});
    return {P.X, P.Y};
  }
  void Drag(TPoint From, TPoint To) {
    QTest::mousePress(D->Path, Qt::LeftButton, {}, At(From.X, From.Y));
    QTest::mouseMove(D->Path, At((From.X + To.X) / 2, (From.Y + To.Y) / 2));
    QTest::mouseMove(D->Path, At(To.X, To.Y));
    QTest::mouseRelease(D->Path, Qt::LeftButton, {}, At(To.X, To.Y));
  }
  void ClickOn(TPoint P) { QTest::mouseClick(D->Path, Qt::LeftButton, {}, At(P.X, P.Y)); }
  std::vector<TPoint> Anchors() const {
    std::vector<TPoint> R;
    for (const TPathVertexData& V : D->Curves().Channels[size_t(D->ActiveCouche())].Vertices) R.push_back(V.PP);
    return R;
  }
  // The original layer through the tables of the dialog's curves, built
  // straight from them.
  std::unique_ptr<TBitmap> ThroughCurves() const {
    const TCurveSet& S = D->Curves();
    TCurveLUT T[CurveChannelCount];
    for (int C = 0; C < CurveChannelCount; ++C)
      T[C] = S.Channels[size_t(C)].InUse ? CurveLUT(S.Channels[size_t(C)].Vertices, S.BezierMode) : IdentityCurveLUT();
    CombineCurveLUTs(T[ccComposite], T[ccRed], T[ccGreen], T[ccBlue]);
    return Expected([&](TBitmap& B, const TRect& R) { ApplyCurveLUTs(B, T[ccRed], T[ccGreen], T[ccBlue], R); });
  }
  TCourbesForm* D = nullptr;
};

} // namespace

TEST_F(CourbesFormTest, DraggedPointPreviewsAndOkAppliesTheCurveTable) {
  EXPECT_EQ(D->windowTitle(), QStringLiteral("Courbes"));
  D->CBRealTime->setChecked(true);
  Drag({128, 127}, {128, 95});
  EXPECT_EQ(Anchors(), (std::vector<TPoint>{{0, 255}, {128, 95}, {255, 0}}));
  ASSERT_TRUE(D->Curves().Channels[ccComposite].InUse);
  EXPECT_EQ(CurveLUT(D->Curves().Channels[ccComposite].Vertices, true)[128], 160);
  // The preview shows on the layer at once.
  EXPECT_FALSE(ImagesMatch(Form->LeBitmap(), Original, 0));
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), *ThroughCurves());
  // A red curve on top, then Ok: the tables merged and applied.
  D->CmbCouche->setCurrentIndex(ccRed);
  Drag({128, 127}, {128, 160});
  // Back on the composite curve, the red one is drawn in the graph.
  D->CmbCouche->setCurrentIndex(ccComposite);
  EXPECT_EQ(Px(D->ImgDraw->Bitmap(), 128, 160), Rgb(128, 0, 0));
  Click(D->BOk);
  EXPECT_FALSE(D->isVisible());
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), *ThroughCurves());
  EXPECT_EQ(UndoSteps(), 1);
}

TEST_F(CourbesFormTest, EditsFollowTheVertexRules) {
  QTest::mouseClick(D->Buttons.SBLine, Qt::LeftButton);
  // Four insertions far enough apart make 7 vertices; an eighth is refused,
  // and the edit mode comes back.
  for (const int X : {40, 80, 180, 220}) {
    QTest::mouseClick(D->Buttons.SBAdd, Qt::LeftButton);
    ClickOn({X, 255 - X});
  }
  ASSERT_EQ(Anchors().size(), 7u);
  QTest::mouseClick(D->Buttons.SBAdd, Qt::LeftButton);
  ClickOn({155, 100});
  EXPECT_EQ(Anchors().size(), 7u);
  EXPECT_TRUE(D->Buttons.SBMove->isChecked());
  // The ends cannot be deleted; an inner vertex can.
  QTest::mouseClick(D->Buttons.SBDel, Qt::LeftButton);
  ClickOn({255, 0});
  EXPECT_EQ(Anchors().size(), 7u);
  QTest::mouseClick(D->Buttons.SBDel, Qt::LeftButton);
  ClickOn({80, 175});
  EXPECT_EQ(Anchors().size(), 6u);
  // A dragged anchor stops 12 levels before its neighbour.
  QTest::mouseClick(D->Buttons.SBMove, Qt::LeftButton);
  Drag({128, 127}, {250, 127});
  EXPECT_EQ(Anchors()[2], (TPoint{168, 127}));
}

TEST_F(CourbesFormTest, CurveFilesRoundTripAndABadFileChangesNothing) {
  QStringList Reports;
  const TFileErrorHandler Old = SetFileErrorHandler([&](const QString& M) { Reports << M; });
  D->CmbCouche->setCurrentIndex(ccGreen);
  Drag({128, 127}, {100, 60});
  QTest::mouseClick(D->Buttons.SBLine, Qt::LeftButton);
  const TCurveSet Edited = D->Curves();
  const QString Name = QDir(Dir.path()).filePath(QStringLiteral("contraste.lmc"));
  ASSERT_TRUE(D->SaveCurvesFile(Name));
  EXPECT_EQ(D->windowTitle(), QStringLiteral("Courbes - contraste"));
  Click(D->BReset);
  EXPECT_EQ(D->Curves(), DefaultCurveSet());
  EXPECT_EQ(D->windowTitle(), QStringLiteral("Courbes"));
  ASSERT_TRUE(D->LoadCurvesFile(Name));
  EXPECT_EQ(D->Curves(), Edited);
  EXPECT_EQ(D->windowTitle(), QStringLiteral("Courbes - contraste"));
  Drag({0, 255}, {0, 240});
  EXPECT_EQ(D->windowTitle(), QStringLiteral("Courbes - contraste(*)"));
  // A file cut short: reported with its name, the curves as they were.
  const TCurveSet Before = D->Curves();
  QFile F(Name);
  ASSERT_TRUE(F.open(QIODevice::ReadWrite));
  ASSERT_TRUE(F.resize(150));
  F.close();
  EXPECT_FALSE(D->LoadCurvesFile(Name));
  EXPECT_EQ(D->Curves(), Before);
  ASSERT_EQ(Reports.size(), 1);
  EXPECT_EQ(Reports[0], QStringLiteral("Erreur de lecture du flux\n") + Name);
  SetFileErrorHandler(Old);
}

TEST_F(CourbesFormTest, OkWithNoCurveInUseChangesNothingAndLeavesNoUndoStep) {
  Click(D->BOk);
  EXPECT_FALSE(D->isVisible());
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
  EXPECT_EQ(UndoSteps(), 0);
}

// The file buttons show their glyphs and open the file dialogs in the
// program's data folder, with the curve files' type.
TEST_F(CourbesFormTest, FileButtonsStartInTheDataFolder) {
  for (const QToolButton* B : {D->Buttons.SBMove, D->Buttons.SBAdd, D->Buttons.SBDel, D->Buttons.SBBezier,
                               D->Buttons.SBLine, D->Buttons.SBReset, D->Buttons.SBOpen, D->Buttons.SBSave}) {
    EXPECT_FALSE(B->icon().isNull()) << B->toolTip().toStdString();
    EXPECT_TRUE(B->text().isEmpty()) << B->toolTip().toStdString();
  }
  const QString Name = QDir(Dir.path()).filePath(QStringLiteral("doux.lmc"));
  std::vector<TFileDialogState> Asked;
  SetFileDialogProvider([&](TFileDialogState& S) {
    Asked.push_back(S);
    return QStringList{Name};
  });
  QTest::mouseClick(D->Buttons.SBSave, Qt::LeftButton);
  SetFileDialogProvider(nullptr);
  ASSERT_EQ(Asked.size(), 1u);
  EXPECT_TRUE(Asked[0].Save);
  EXPECT_EQ(QDir(Asked[0].Directory), QDir(Form->DataFolders().DataDir));
  EXPECT_TRUE(Asked[0].Filters.join(';').contains(QStringLiteral("Courbes (*.lmc)")));
  EXPECT_TRUE(QFile::exists(Name));
}
