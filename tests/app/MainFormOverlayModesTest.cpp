// The two overlay modes of the main window on a real frame: a layer scaled
// or distorted by dragging the frame's handles and confirmed or cancelled
// with the keys, and the vector path drawn with the mouse, saved, opened,
// kept for "Rétablir", turned into a selection, and left with the question to
// save it.
#include "MainFormFixture.h"
#include "document/TxtData.h"
#include "platform/Beep.h"
#include "document/ui/SelectionControl.h"
#include "files/ui/BmpOE2.h"
#include "support/PathVertices.h"
#include "support/ImageCompare.h"
#include "support/Printers.h"
#include "support/WaitFor.h"
#include "tools/ui/DeformControl.h"
#include "tools/ui/PathOverlay.h"
#include "ui/MsgDlg.h"

#include <QAction>
#include <QMenu>
#include <QMouseEvent>
#include <QToolBar>
#include <QTest>

#include <gtest/gtest.h>


namespace {

class MainFormOverlayModesTest : public MainFormFixture {
protected:
  void SetUp() override {
    MainFormFixture::SetUp();
    Form = Start();
    Open(120, 90);
  }
  void Open(int W, int H) {
    TBitmap B(W, H, pf24bit);
    FillRandom(B, 3);
    Form->NouvelleImage(nullptr, &B, QString(), srcNew, 16777216);
  }
  // A 40 x 20 layer at (10, 10), current.
  TLayerItem& AddLayer() {
    TBitmap B(40, 20, pf24bit);
    FillRandom(B, 5);
    TMyImageLayered& Img = Form->Image();
    Img.SetLayerIndex(Img.AddLayer(&B, nullptr, {10, 10}, 100, "Calque"));
    Form->LayerNav()->Synchronize(true);
    return *Img.CurrentLayer();
  }
  // Tools > "Tracé vectoriel" opened: its items take their state.
  void OpenPathMenu() {
    emit Form->MenuNamed("MenuOutils")->aboutToShow();
    emit Form->MenuNamed("MenuOutilsPath")->aboutToShow();
  }
  // As the menus would show it: their rules first, then the item.
  void Trigger(const char* Name) {
    Form->RefreshMenuStates();
    Form->MenuItem(QString::fromLatin1(Name))->trigger();
  }
  // A key on the active image, as a person presses it there.
  void Key(int K) {
    QWidget* View = Form->EnfantActif()->Image;
    View->setFocus();
    ASSERT_TRUE(WaitUntil([View] { return View->hasFocus(); }));
    QTest::keyClick(View, Qt::Key(K));
  }
  // The mouse on an overlay, in image pixels.
  static QPoint At(const TOverlayControl& C, int X, int Y) {
    const TPoint P = C.BmpToClient(TPoint{X, Y});
    return {P.X, P.Y};
  }
  static void Send(QWidget* W, QEvent::Type Type, QPoint P, Qt::MouseButton Button, Qt::MouseButtons Buttons) {
    QMouseEvent E(Type, P, W->mapToGlobal(P), Button, Buttons, {});
    QApplication::sendEvent(W, &E);
  }
  static void Drag(TOverlayControl& C, TPoint From, TPoint To) {
    const QPoint A = At(C, From.X, From.Y), B = At(C, To.X, To.Y);
    Send(&C, QEvent::MouseButtonPress, A, Qt::LeftButton, Qt::LeftButton);
    Send(&C, QEvent::MouseMove, (A + B) / 2, Qt::NoButton, Qt::LeftButton);
    Send(&C, QEvent::MouseMove, B, Qt::NoButton, Qt::LeftButton);
    Send(&C, QEvent::MouseButtonRelease, B, Qt::LeftButton, {});
  }
  static void Click(TOverlayControl& C, int X, int Y) {
    Send(&C, QEvent::MouseButtonPress, At(C, X, Y), Qt::LeftButton, Qt::LeftButton);
    Send(&C, QEvent::MouseButtonRelease, At(C, X, Y), Qt::LeftButton, {});
  }
  int UndoCount() const { return Form->ListeUndo().Count(); }
  TScopedMsgDlgAnswers Answers{Messages.Provider()};
  std::unique_ptr<TMainForm> Form;
};

TEST_F(MainFormOverlayModesTest, AScaledLayerTakesTheFramesSizeInOneUndoStep) {
  TLayerItem& Layer = AddLayer();
  const int Before = UndoCount();
  Trigger("MenuCalqueTransformEchelle");
  ASSERT_EQ(Form->VerticesMode, 1);
  ASSERT_TRUE(Form->VerticesSel);
  Drag(*Form->VerticesSel, {50, 30}, {90, 50});
  ASSERT_NE(Layer.Transformation(), nullptr);
  EXPECT_EQ(Layer.Transformation()->GetBounds(), (TRect{10, 10, 90, 50}));
  Key(Qt::Key_Return);
  EXPECT_EQ(Form->VerticesMode, 0);
  EXPECT_FALSE(Form->VerticesSel);
  EXPECT_EQ(Layer.Transformation(), nullptr);
  EXPECT_EQ(Layer.Bitmap().Width(), 80);
  EXPECT_EQ(Layer.Bitmap().Height(), 40);
  EXPECT_EQ(Layer.Pos, (TPoint{10, 10}));
  EXPECT_EQ(UndoCount(), Before + 1);
  // The selection left behind is the frame, not shown.
  EXPECT_EQ(Form->Sel()->Shape(), ssRect);
  EXPECT_EQ(Form->Sel()->BmpSelRect(), (TRect{10, 10, 90, 50}));
  EXPECT_FALSE(Form->Sel()->Visible());
  EXPECT_TRUE(Form->UneSelection());
  Form->Undo();
  EXPECT_EQ(Form->Image().CurrentLayer()->Bitmap().Width(), 40);
}

TEST_F(MainFormOverlayModesTest, EnterOnAnUnmovedFrameAndEscapeLeaveTheLayerAsItWas) {
  TLayerItem& Layer = AddLayer();
  const int Before = UndoCount();
  Trigger("MenuCalqueTransformDistort");
  Key(Qt::Key_Return);
  EXPECT_EQ(Form->VerticesMode, 0);
  EXPECT_EQ(UndoCount(), Before);
  Trigger("MenuCalqueTransformDistort");
  Drag(*Form->VerticesSel, {50, 30}, {70, 60});
  ASSERT_NE(Layer.Transformation(), nullptr);
  Key(Qt::Key_Escape);
  EXPECT_EQ(Form->VerticesMode, 0);
  EXPECT_EQ(Layer.Transformation(), nullptr);
  EXPECT_EQ(Layer.Bitmap().Width(), 40);
  EXPECT_EQ(Layer.Pos, (TPoint{10, 10}));
  EXPECT_EQ(UndoCount(), Before);
}

TEST_F(MainFormOverlayModesTest, TheBackgroundIsNeverDistorted) {
  const int Beeps = BeepCount();
  Trigger("MenuCalqueTransformDistort");
  EXPECT_EQ(Form->VerticesMode, 0);
  EXPECT_EQ(BeepCount(), Beeps + 1);
}

TEST_F(MainFormOverlayModesTest, ARealDistortionConfirmedByADoubleClickLeavesAFourPointSelection) {
  AddLayer();
  Trigger("MenuCalqueTransformDistort");
  TDeformControl& C = *Form->VerticesSel;
  Drag(C, {50, 30}, {70, 60});
  const QPoint Inside = At(C, 30, 20);
  Send(&C, QEvent::MouseButtonPress, Inside, Qt::LeftButton, Qt::LeftButton);
  Send(&C, QEvent::MouseButtonRelease, Inside, Qt::LeftButton, {});
  Send(&C, QEvent::MouseButtonDblClick, Inside, Qt::LeftButton, Qt::LeftButton);
  Send(&C, QEvent::MouseButtonRelease, Inside, Qt::LeftButton, {});
  ASSERT_TRUE(WaitUntil([this] { return Form->VerticesMode == 0; }));
  EXPECT_EQ(Form->Sel()->Shape(), ssPolygon);
  EXPECT_EQ(Form->Sel()->ShapeManager().PointsCount(), 4);
  EXPECT_GT(Form->Image().CurrentLayer()->Bitmap().Height(), 20);
}

TEST_F(MainFormOverlayModesTest, CancellingTheDistortionOfALayerMadeForItRemovesTheLayer) {
  AddLayer();
  Form->PreparerUndo(miCreateLayer, "Distorsion");
  ASSERT_EQ(Form->Image().Layers().Count(), 2);
  Form->FlagTransformNewLayer = true;
  Form->StartLayerDistortion(1);
  Drag(*Form->VerticesSel, {50, 30}, {70, 60});
  Key(Qt::Key_Escape);
  EXPECT_EQ(Form->Image().Layers().Count(), 1);
  EXPECT_FALSE(Form->FlagTransformNewLayer);
}

TEST_F(MainFormOverlayModesTest, ATextLayerIsRescaledNotResampledWithItsRatioKept) {
  auto Data = std::make_unique<TTextData>();
  Data->Lines = {"Texte"};
  Data->TextSize = 12;
  TTextData& Text = *Data;
  TMyImageLayered& Img = Form->Image();
  Img.SetLayerIndex(Img.AddLayerData(std::move(Data), "Texte"));
  Form->LayerNav()->Synchronize(true);
  TLayerItem& Layer = *Img.CurrentLayer();
  Text.RenderTextLayer(Layer);
  ASSERT_FALSE(Layer.Bitmap().Empty());
  const int W = Layer.Bitmap().Width(), H = Layer.Bitmap().Height();
  const int Before = UndoCount();
  Trigger("MenuCalqueTransformEchelle");
  EXPECT_TRUE(Form->MenuItem("PopDistorsionRatio")->isChecked());
  EXPECT_FALSE(Form->MenuItem("PopDistorsionRatio")->isEnabled());
  ASSERT_TRUE(Form->VerticesSel->AspectRatio);
  // Twice the width: the ratio makes it twice the height too.
  const TPoint Corner{Layer.Pos.X + W, Layer.Pos.Y + H};
  Drag(*Form->VerticesSel, Corner, {Layer.Pos.X + 2 * W, Layer.Pos.Y + 4 * H});
  Key(Qt::Key_Return);
  EXPECT_EQ(UndoCount(), Before + 1);
  EXPECT_EQ(Layer.Transformation(), nullptr);
  EXPECT_GT(Text.TextSize, 18);
  EXPECT_GT(Layer.Bitmap().Height(), H * 3 / 2);
}

TEST_F(MainFormOverlayModesTest, ALayerWithAShadowIsShownTransformedAtOnce) {
  AddLayer().ShadowInfos.DrawShadow = true;
  Trigger("MenuCalqueTransformDistort");
  EXPECT_NE(Form->Image().CurrentLayer()->Transformation(), nullptr);
  Key(Qt::Key_Escape);
  EXPECT_EQ(Form->Image().CurrentLayer()->Transformation(), nullptr);
}

TEST_F(MainFormOverlayModesTest, APathDrawnSavedAndOpenedAgainKeepsItsShape) {
  Trigger("MenuOutilsPathNew");
  ASSERT_EQ(Form->VerticesMode, 2);
  TPathOverlay& P = *Form->Path;
  Click(P, 20, 20);
  Click(P, 60, 20);
  Click(P, 60, 50);
  ASSERT_EQ(PathAnchors(P), (std::vector<TPoint>{{20, 20}, {60, 20}, {60, 50}}));
  const QString File = Dir.path() + "/trace.lmv";
  SetFileDialogProvider([&](TFileDialogState&) { return QStringList{File}; });
  Trigger("PopPathSave");
  EXPECT_FALSE(P.PathChanged());
  Trigger("PopPathClear");
  EXPECT_EQ(P.PointsCount(), 0);
  Trigger("PopPathOpen");
  // Centred in the image, in move-all mode.
  EXPECT_EQ(PathAnchors(P), (std::vector<TPoint>{{39, 29}, {79, 29}, {79, 59}}));
  EXPECT_EQ(P.PathMode(), pmMoveAll);
  EXPECT_TRUE(Messages.Shown.isEmpty());
}

TEST_F(MainFormOverlayModesTest, LeavingAChangedPathAsksAndRetablirBringsItBack) {
  Trigger("MenuOutilsPathNew");
  Click(*Form->Path, 20, 20);
  Click(*Form->Path, 60, 20);
  // Cancel keeps the editor; Yes with the save dialog cancelled too.
  Messages.Answers = {mrCancel, mrYes};
  SetFileDialogProvider([](TFileDialogState&) { return QStringList{}; });
  Key(Qt::Key_Escape);
  Key(Qt::Key_Escape);
  EXPECT_EQ(Messages.Shown.size(), 2);
  ASSERT_EQ(Form->VerticesMode, 2);
  Messages.Answers = {mrNo};
  Key(Qt::Key_Escape);
  EXPECT_EQ(Form->VerticesMode, 0);
  EXPECT_FALSE(Form->Path);
  OpenPathMenu();
  Trigger("MenuOutilsPathRevert");
  ASSERT_TRUE(Form->Path);
  EXPECT_EQ(PathAnchors(*Form->Path), (std::vector<TPoint>{{20, 20}, {60, 20}}));
  EXPECT_EQ(Form->Path->PathMode(), pmEdit);
  Trigger("PopPathFermer");
  // Not on an image of another size.
  Open(64, 64);
  OpenPathMenu();
  EXPECT_FALSE(Form->MenuItem("MenuOutilsPathRevert")->isEnabled());
  Form->StartPathMode(QString(), 1);
  EXPECT_EQ(Form->Path->PointsCount(), 0);
}

TEST_F(MainFormOverlayModesTest, APathOfOnePointClosesWithoutAQuestionAndTheGridComesBack) {
  TMyImageLayeredView* View = Form->EnfantActif()->Image;
  ASSERT_FALSE(View->ShowGrid);
  Trigger("MenuOutilsPathNew");
  Click(*Form->Path, 20, 20);
  Trigger("PopPathGrid");
  EXPECT_TRUE(View->ShowGrid);
  // The menus are blocked while the editor is open (a short-cut applies
  // their rules)...
  Form->RefreshMenuStates();
  ASSERT_FALSE(Form->MenuItem("MenuZoomAuto")->isEnabled());
  Key(Qt::Key_Escape);
  EXPECT_EQ(Form->VerticesMode, 0);
  EXPECT_TRUE(Messages.Shown.isEmpty());
  EXPECT_FALSE(View->ShowGrid);
  // ... and come back when it closes.
  EXPECT_TRUE(Form->MenuItem("MenuZoomAuto")->isEnabled());
  OpenPathMenu();
  EXPECT_TRUE(Form->MenuItem("MenuOutilsPathNew")->isEnabled());
}

TEST_F(MainFormOverlayModesTest, APathBecomesTheSelectionAndASelectionAPath) {
  Trigger("MenuOutilsPathNew");
  Click(*Form->Path, 10, 10);
  Click(*Form->Path, 90, 10);
  Click(*Form->Path, 90, 70);
  Messages.Answers = {mrNo};
  Trigger("PopPathToSel");
  EXPECT_EQ(Form->VerticesMode, 0);
  EXPECT_TRUE(Form->Sel()->Visible());
  EXPECT_EQ(Form->Sel()->Shape(), ssPolygon);
  EXPECT_EQ(Form->Sel()->BmpSelRect(), (TRect{10, 10, 91, 71}));
  OpenPathMenu();
  Trigger("MenuOutilsPathConvertSel");
  ASSERT_TRUE(Form->Path);
  EXPECT_EQ(Form->Path->PathMode(), pmEdit);
  EXPECT_EQ(Form->Path->BmpBounds(0), (TRect{10, 10, 91, 71}));
  EXPECT_FALSE(Form->Sel()->Visible());
}

TEST_F(MainFormOverlayModesTest, ThePathButtonConvertsTheSelectionElseRestoresThePathElseOpensAFile) {
  QAction* Button = Form->ToolBar(1)->findChild<QAction*>("BtnVectorialPath");
  ASSERT_NE(Button, nullptr);
  const auto Press = [this, Button] {
    Form->RefreshMenuStates();
    ASSERT_TRUE(Button->isEnabled());
    Button->trigger();
  };
  Trigger("MenuSelTout");
  ASSERT_TRUE(Form->Sel()->Visible());
  Press();
  ASSERT_EQ(Form->VerticesMode, 2);
  EXPECT_EQ(Form->Path->BmpBounds(0), (TRect{0, 0, 120, 90}));
  EXPECT_FALSE(Form->Sel()->Visible());
  Messages.Answers = {mrNo};
  Trigger("PopPathFermer");
  ASSERT_EQ(Form->VerticesMode, 0);

  // No visible selection: the last path comes back.
  Press();
  ASSERT_EQ(Form->VerticesMode, 2);
  EXPECT_EQ(Form->Path->BmpBounds(0), (TRect{0, 0, 120, 90}));
  Messages.Answers = {mrNo};
  Trigger("PopPathFermer");

  // On an image of another size there is none to restore: a file is asked.
  Open(64, 64);
  int Asked = 0;
  SetFileDialogProvider([&Asked](TFileDialogState&) {
    ++Asked;
    return QStringList{};
  });
  Press();
  EXPECT_EQ(Asked, 1);
  EXPECT_EQ(Form->VerticesMode, 0);

  while (Form->EnfantActif()) Form->FermerImage(Form->EnfantActif(), true);
  Form->RefreshMenuStates();
  EXPECT_FALSE(Button->isEnabled());
}

} // namespace
