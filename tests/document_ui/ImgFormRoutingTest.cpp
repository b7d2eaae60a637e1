// The image window routes the mouse on its image: to the open dialog (an
// eyedropper or interactive dialog), to a loaded module, or to the current
// tool of the palette; the middle button fits the image; a double click in
// layer-move mode opens the layer options; closing is refused during a
// vertex edit; the brush outline follows the mouse and survives repaints.
#include "FakeImageWindowHost.h"

#include "document/ImageToolHost.h"
#include "document/ui/ImgForm.h"
#include "i18n/LibLang.h"
#include "ui/DialogServices.h"
#include "ui/DlgMain.h"
#include "ui/MsgDlg.h"

#include <QApplication>
#include <QCursor>
#include <QMdiArea>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class TFakeToolHost : public TImageToolHost {
public:
  int VerticesMode() const override { return Vertices; }
  bool FreeImageAvailable() const override { return true; }
  bool ZoomMolette() const override { return Molette; }
  void ZoomAutoFit() override { Calls << QStringLiteral("fit"); }
  TColor ImageColorAtClient(int X, int Y, bool Merged) override {
    Calls << QStringLiteral("color %1,%2 %3").arg(X).arg(Y).arg(Merged);
    return 0x123456;
  }
  bool ModeRGBA(bool) const override { return false; }
  void MajCurseur() override {}
  void RestaureZoom() override { Calls << QStringLiteral("zoom box"); }
  void VerifierSelModeEtPopup() override {}
  void AfficherInfos() override {}
  void EnableHint(bool) override {}
  void MenuCalqueOptionsClick() override { Calls << QStringLiteral("layer options"); }
  void MenuSelReperesClick() override { Calls << QStringLiteral("bounding box"); }
  void AfficherInfosSelection(const TRect&) override {}
  void ClearFlagBtnSelUndo() override {}
  void ImageSelecting(TMyImageLayeredView&, const TRect& R, TSelOption Option) override {
    Selecting.push_back({R, Option});
  }
  void SetDefaultTool() override { Calls << QStringLiteral("default tool"); }
  bool ModuleLoaded() const override { return Module; }
  void ModuleImageClick(TPoint P, Qt::MouseButton) override {
    Calls << QStringLiteral("module click %1,%2").arg(P.X).arg(P.Y);
  }
  void ModuleColor(TColor C) override { Calls << QStringLiteral("module color %1").arg(C, 0, 16); }
  bool PaletteVisible() const override { return Palette; }
  bool IsDrawing() const override { return Drawing; }
  bool IsLayerTool() const override { return LayerTool; }
  void ToolMouseDown(TMyImageLayeredView&, Qt::MouseButton B, Qt::KeyboardModifiers, int X, int Y) override {
    Calls << QStringLiteral("down %1 %2,%3").arg(int(B)).arg(X).arg(Y);
  }
  void ToolMouseMove(TMyImageLayeredView&, Qt::MouseButtons B, Qt::KeyboardModifiers, int X, int Y) override {
    Calls << QStringLiteral("move %1 %2,%3").arg(int(B)).arg(X).arg(Y);
  }
  void ToolMouseUp(TMyImageLayeredView&, Qt::MouseButton B, Qt::KeyboardModifiers, int X, int Y) override {
    Calls << QStringLiteral("up %1 %2,%3").arg(int(B)).arg(X).arg(Y);
  }

  int Vertices = 0;
  bool Molette = false;
  bool Module = false;
  bool Palette = true;
  bool Drawing = false;
  bool LayerTool = false;
  QStringList Calls;
  std::vector<std::pair<TRect, TSelOption>> Selecting;
};

class TFakeDialogServices : public TDialogServices {
public:
  void SetModalForm(QWidget*) override {}
  void SetDialogueForm(QWidget* F) override { Dialogue = F; }
  void SetPipetteForm(QWidget* F) override { Pipette = F; }
  QWidget* PipetteForm() const override { return Pipette; }
  QWidget* DialogueForm() const override { return Dialogue; }
  void UpdateActiveImage() override {}
  QWidget* Dialogue = nullptr;
  QWidget* Pipette = nullptr;
};

class TClickDialog : public TInteractiveForm {
public:
  void InteractiveClick(int X, int Y) override { Clicks << QStringLiteral("%1,%2").arg(X).arg(Y); }
  QStringList Clicks;
};

class TColorDialog : public TPipetteForm {
public:
  void ChangerCouleur(TColor C) override { Colors.push_back(C); }
  std::vector<TColor> Colors;
};

class ImgFormRoutingTest : public ::testing::Test {
protected:
  void SetUp() override {
    SetImageToolHost(&Tools);
    SetDialogServices(&Dialogs);
    Area.resize(700, 500);
    Area.show();
    TBitmap Ramp;
    MakeRamp(Ramp, 40, 30);
    F = new TNewImgForm(Host, &Area, nullptr, &Ramp, QString(), srcNew, 256, false, false);
    F->resize(500, 400);
    F->Image->SetZoom(2);
    QApplication::processEvents();
    F->Image->PaintAll();
    Inside = QPoint(F->Image->ImgRect().Left + 21, F->Image->ImgRect().Top + 11); // bitmap (10, 5)
  }
  void TearDown() override {
    TScopedMsgDlgAnswers Answers([](const TMsgDlgRequest&) { return TMsgDlgAnswer{mrNo, {}}; });
    Tools.Vertices = 0;
    for (QMdiSubWindow* W : Area.subWindowList()) delete W;
    SetImageToolHost(nullptr);
    SetDialogServices(nullptr);
  }
  QWidget* Viewport() const { return F->Image->viewport(); }
  QString At(const char* What, Qt::MouseButton B, QPoint P) const {
    return QStringLiteral("%1 %2 %3,%4").arg(QLatin1String(What)).arg(int(B)).arg(P.x()).arg(P.y());
  }

  TFakeImageWindowHost Host;
  TFakeToolHost Tools;
  TFakeDialogServices Dialogs;
  QMdiArea Area;
  TNewImgForm* F = nullptr;
  QPoint Inside;
  const QPoint Outside{2, 2};
};

} // namespace

TEST_F(ImgFormRoutingTest, ToolGetsPressMoveAndReleaseInClientCoordinates) {
  QTest::mousePress(Viewport(), Qt::LeftButton, {}, Inside);
  QMouseEvent Move(QEvent::MouseMove, Inside + QPoint(3, 1), Viewport()->mapToGlobal(Inside + QPoint(3, 1)),
                   Qt::NoButton, Qt::LeftButton, {});
  QApplication::sendEvent(Viewport(), &Move);
  QTest::mouseRelease(Viewport(), Qt::LeftButton, {}, Inside + QPoint(3, 1));
  EXPECT_EQ(Tools.Calls,
            (QStringList{At("down", Qt::LeftButton, Inside), At("move", Qt::LeftButton, Inside + QPoint(3, 1)),
                         At("up", Qt::LeftButton, Inside + QPoint(3, 1))}));
  // A move with no button reaches the tool only while it draws.
  Tools.Calls.clear();
  QTest::mouseMove(Viewport(), Inside);
  EXPECT_TRUE(Tools.Calls.isEmpty());
  Tools.Drawing = true;
  QTest::mouseMove(Viewport(), Inside + QPoint(1, 0));
  EXPECT_EQ(Tools.Calls, QStringList{At("move", Qt::NoButton, Inside + QPoint(1, 0))});
  // A hidden palette gets nothing.
  Tools.Calls.clear();
  Tools.Palette = false;
  QTest::mouseClick(Viewport(), Qt::LeftButton, {}, Inside);
  EXPECT_TRUE(Tools.Calls.isEmpty());
}

TEST_F(ImgFormRoutingTest, MiddleButtonFitsOnlyWhenTheSettingIsOn) {
  QTest::mouseClick(Viewport(), Qt::MiddleButton, {}, Inside);
  EXPECT_TRUE(Tools.Calls.isEmpty());
  Tools.Molette = true;
  QTest::mouseClick(Viewport(), Qt::MiddleButton, {}, Inside);
  EXPECT_EQ(Tools.Calls, QStringList{QStringLiteral("fit")});
}

TEST_F(ImgFormRoutingTest, OpenDialogsTakeTheClicksInsideTheImage) {
  TClickDialog Click;
  Dialogs.Dialogue = &Click;
  QTest::mouseClick(Viewport(), Qt::LeftButton, {}, Outside);
  QTest::mouseClick(Viewport(), Qt::LeftButton, {}, Inside);
  EXPECT_EQ(Click.Clicks, QStringList{QStringLiteral("%1,%2").arg(Inside.x()).arg(Inside.y())});
  EXPECT_TRUE(Tools.Calls.isEmpty()); // no tool while a dialog is open

  TColorDialog Pick;
  Dialogs.Dialogue = Dialogs.Pipette = &Pick;
  QTest::mouseClick(Viewport(), Qt::LeftButton, {}, Outside); // picks nothing
  QTest::mouseClick(Viewport(), Qt::RightButton, {}, Inside);
  EXPECT_EQ(Pick.Colors, std::vector<TColor>{0x123456});
  // A module's eyedropper: the module gets the point and the colour.
  Tools.Calls.clear();
  Tools.Module = true;
  QTest::mouseClick(Viewport(), Qt::LeftButton, {}, Inside);
  EXPECT_EQ(Tools.Calls, (QStringList{QStringLiteral("module click 10,5"),
                                      QStringLiteral("color %1,%2 1").arg(Inside.x()).arg(Inside.y()),
                                      QStringLiteral("module color 123456")}));
  EXPECT_EQ(Pick.Colors.size(), 1u);
  Dialogs.Dialogue = Dialogs.Pipette = nullptr;
}

TEST_F(ImgFormRoutingTest, DoubleClickOpensLayerOptionsOnlyForALayerInMoveMode) {
  QTest::mouseDClick(Viewport(), Qt::LeftButton, {}, Inside);
  F->Image->SelectionMode = TSelMode::smMoveLayer;
  QTest::mouseDClick(Viewport(), Qt::LeftButton, {}, Inside); // the background
  EXPECT_FALSE(Tools.Calls.contains(QStringLiteral("layer options")));
  F->Image->Image().AddLayer(5, 5, clRed, {0, 0}, 100, QStringLiteral("L"));
  QTest::mouseDClick(Viewport(), Qt::LeftButton, {}, Inside);
  EXPECT_EQ(Tools.Calls.count(QStringLiteral("layer options")), 1);
}

TEST_F(ImgFormRoutingTest, ClosingIsRefusedDuringAVertexEdit) {
  struct TCase {
    int Mode;
    TrId Message;
  };
  for (const TCase& C : {TCase{2, TrId::GetTrDlgPath1}, TCase{1, TrId::GetTrDlgGlb6}}) {
    Tools.Vertices = C.Mode;
    QStringList Shown;
    TScopedMsgDlgAnswers Answers([&](const TMsgDlgRequest& R) {
      Shown << R.Msg;
      return TMsgDlgAnswer{mrOk, {}};
    });
    EXPECT_FALSE(F->close());
    EXPECT_EQ(Shown, QStringList{Tr(C.Message)});
  }
  Tools.Vertices = 0;
  TScopedMsgDlgAnswers Answers([](const TMsgDlgRequest&) { return TMsgDlgAnswer{mrNo, {}}; });
  EXPECT_TRUE(F->close());
}

TEST_F(ImgFormRoutingTest, BrushOutlineFollowsTheMouseAndSurvivesRepaints) {
  CursorExData = {csRectangle, 3, 3};
  const QPoint P = Inside;
  QCursor::setPos(Viewport()->mapToGlobal(P));
  F->CursorEx->Show(true);
  const TBitmap& Back = F->Image->BackBuffer();
  // Bitmap pixel (10, 5) at zoom 2: the 3 x 3 brush covers client
  // (Left + 18, Top + 8) to 6 x 6 pixels; its corner is inverted.
  const TRect IR = F->Image->ImgRect();
  const TPoint Corner{IR.Left + 18, IR.Top + 8};
  TBitmap Shown, Plain;
  Shown.Assign(Back);
  F->CursorEx->Hide(false);
  Plain.Assign(Back);
  EXPECT_EQ(Shown.PixelColor(Corner.X, Corner.Y), Plain.PixelColor(Corner.X, Corner.Y) ^ 0xFFD8CE);
  EXPECT_EQ(Shown.PixelColor(Corner.X + 2, Corner.Y + 2), Plain.PixelColor(Corner.X + 2, Corner.Y + 2));
  F->CursorEx->Show(false);
  // A mouse move through the window moves it; a repaint keeps it.
  const QPoint Q = P + QPoint(8, 6);
  QCursor::setPos(Viewport()->mapToGlobal(Q));
  QTest::mouseMove(Viewport(), Q);
  TBitmap Moved;
  Moved.Assign(Back);
  F->Image->RepaintRect(F->Image->ClientRect());
  for (int Y = 0; Y < Back.Height(); ++Y)
    for (int X = 0; X < Back.Width(); ++X) ASSERT_EQ(Moved.PixelColor(X, Y), Back.PixelColor(X, Y)) << X << "," << Y;
  EXPECT_EQ(Moved.PixelColor(Corner.X + 8, Corner.Y + 6), Plain.PixelColor(Corner.X + 8, Corner.Y + 6) ^ 0xFFD8CE);
  EXPECT_EQ(Moved.PixelColor(Corner.X, Corner.Y), Plain.PixelColor(Corner.X, Corner.Y));
}

TEST_F(ImgFormRoutingTest, CommentLivesInTheMetadataWhenFreeImageIsThere) {
  TMyImageLayeredView* V = F->Image;
  ASSERT_TRUE(V->UseMetaComment);
  TFreeTag Exif;
  Exif.Model = 3;
  V->Metadata().Append(Exif);
  V->SetComment(QStringLiteral("Été"));
  V->SetComment(QStringLiteral("Noël"));
  const TMetadata& M = V->Metadata();
  ASSERT_EQ(M.Length(), 2); // replaced, not appended twice
  EXPECT_EQ(M[1].Model, 0);
  EXPECT_EQ(M[1].Key, "Comment");
  EXPECT_EQ(M[1].Data, (TFreeTagData{'N', 'o', 0xEB, 'l', 0}));
  EXPECT_EQ(M[1].Count, 5u);
  EXPECT_EQ(V->Comment(), QStringLiteral("Noël"));
  EXPECT_TRUE(V->Image().Comment.isEmpty());
  V->UseMetaComment = false;
  V->SetComment(QStringLiteral("plain"));
  EXPECT_EQ(V->Image().Comment, QStringLiteral("plain"));
  EXPECT_EQ(V->Comment(), QStringLiteral("plain"));
}

TEST_F(ImgFormRoutingTest, RectangleDrawnOnTheImageReachesTheMainWindowAndShowsABand) {
  const QPoint A = Inside, B = Inside + QPoint(40, 30);
  QTest::mousePress(Viewport(), Qt::LeftButton, {}, A);
  QMouseEvent Move(QEvent::MouseMove, B, Viewport()->mapToGlobal(B), Qt::NoButton, Qt::LeftButton, {});
  QApplication::sendEvent(Viewport(), &Move);
  ASSERT_FALSE(Tools.Selecting.empty());
  // The band's rectangle snaps to whole image pixels; its bottom-right corner
  // starts a run of inverted pixels.
  const TRect R = Tools.Selecting.back().first;
  const QImage G = Viewport()->grab().toImage();
  const QRgb Corner = G.pixel(R.Right - 1, R.Bottom - 1);
  const TPoint P = F->Image->ClientToBmp(TPoint{R.Right - 1, R.Bottom - 1});
  EXPECT_EQ(RGB(qRed(Corner), qGreen(Corner), qBlue(Corner)), F->Image->Image().GetColor(P.X, P.Y, true) ^ 0xFFD8CE);
  QTest::mouseRelease(Viewport(), Qt::LeftButton, {}, B);
  ASSERT_FALSE(Tools.Selecting.empty());
  EXPECT_EQ(Tools.Selecting.front().second, soStart);
  EXPECT_EQ(Tools.Selecting.back().second, soEnd);
  EXPECT_EQ(F->Image->ClientToBmp(Tools.Selecting.back().first), (TRect{10, 5, 30, 20}));
}

TEST_F(ImgFormRoutingTest, SelectionComesBackWhenItsWindowIsActivatedAgain) {
  F->Sel->SetBmpSelRect({2, 2, 20, 20});
  F->Sel->SetVisible(true);
  TBitmap Ramp;
  MakeRamp(Ramp, 20, 20);
  auto* Other = new TNewImgForm(Host, &Area, nullptr, &Ramp, QString(), srcNew, 256, false, false);
  QApplication::processEvents();
  ASSERT_EQ(ActiveImageWindow(), Other);
  EXPECT_FALSE(Tools.Calls.contains(QStringLiteral("zoom box"))); // first activation
  EXPECT_FALSE(F->Sel->Visible());
  EXPECT_EQ(F->FlagSel, 1);
  EXPECT_EQ(Other->FlagSel, -1);
  F->BringMDIToFront();
  QApplication::processEvents();
  ASSERT_EQ(ActiveImageWindow(), F);
  EXPECT_EQ(Tools.Calls.count(QStringLiteral("zoom box")), 1);
  EXPECT_TRUE(F->Sel->Visible());
  EXPECT_EQ(F->FlagSel, -1);
  EXPECT_EQ(Other->FlagSel, 0);
}

TEST_F(ImgFormRoutingTest, SelVerticesMakeAQuadrilateral) {
  const TPoint P[4] = {{5, 2}, {30, 4}, {28, 20}, {3, 18}};
  F->SetSelVertices(P, true);
  EXPECT_EQ(F->Sel->BmpSelRect(), (TRect{3, 2, 30, 20}));
  EXPECT_EQ(F->Sel->Shape(), ssPolygon);
  EXPECT_EQ(F->Sel->ShapeManager().RefData().Points.size(), 4u);
  EXPECT_TRUE(F->UneSelection);
}

TEST_F(ImgFormRoutingTest, DoubleClickOnALayerItemOpensItsOptions) {
  F->Image->Image().AddLayer(5, 5, clRed, {0, 0}, 100, QStringLiteral("L"));
  F->LayerNav->Synchronize(true);
  QApplication::processEvents();
  const auto ItemPoint = [&](int Index) {
    for (int Y = 0; Y < F->LayerNav->height(); ++Y)
      if (F->LayerNav->ItemAtPos(F->LayerNav->width() / 2, Y) == Index) return QPoint(F->LayerNav->width() / 2, Y + 2);
    return QPoint(-1, -1);
  };
  const QPoint Layer = ItemPoint(1);
  ASSERT_GE(Layer.y(), 0);
  QCursor::setPos(F->LayerNav->mapToGlobal(Layer));
  QTest::mouseDClick(F->LayerNav, Qt::LeftButton, {}, Layer);
  EXPECT_EQ(Tools.Calls.count(QStringLiteral("layer options")), 1);
  // The background of an image without alpha: nothing.
  const QPoint Bkg = ItemPoint(0);
  ASSERT_GE(Bkg.y(), 0);
  QCursor::setPos(F->LayerNav->mapToGlobal(Bkg));
  QTest::mouseDClick(F->LayerNav, Qt::LeftButton, {}, Bkg);
  EXPECT_EQ(F->Image->Image().LayerIndex(), 0);
  EXPECT_EQ(Tools.Calls.count(QStringLiteral("layer options")), 1);
}

TEST_F(ImgFormRoutingTest, NewWindowOutlinesTheCurrentLayerWhenALayerToolAsksForIt) {
  constexpr TColor Blue = 0xFF0000;
  struct TCase {
    bool LayerTool, Limites, Outlined;
  };
  for (const TCase& C : {TCase{false, true, false}, TCase{true, false, false}, TCase{true, true, true}}) {
    SCOPED_TRACE(testing::Message() << "layer tool " << C.LayerTool << ", bounds " << C.Limites);
    Tools.LayerTool = C.LayerTool;
    Host.Limites = C.Limites;
    TMyImageLayered Src;
    TBitmap Ramp;
    MakeRamp(Ramp, 40, 30);
    Src.AddBackground(&Ramp, nullptr, QStringLiteral("#0"));
    Src.AddLayer(10, 10, Blue, {5, 5}, 100, QStringLiteral("L"));
    auto* W = new TNewImgForm(Host, &Area, &Src, nullptr, QString(), srcNew, 256, false, false);
    W->Image->Image().SetLayerIndex(1);
    W->Image->PaintAll();
    // The dotted XOR outline along the layer's top row, as the window shows it.
    const TRect L = W->Image->LayerToClient(TRect{0, 0, 10, 10});
    int Inverted = 0;
    for (int X = L.Left; X < L.Right; ++X) {
      const TColor P = W->Image->BackBuffer().PixelColor(X, L.Top);
      ASSERT_TRUE(P == Blue || P == (Blue ^ 0xFFD8CE)) << X;
      Inverted += P != Blue;
    }
    EXPECT_EQ(Inverted > 0, C.Outlined);
    // The program's move cursor over a movable layer and inside a selection.
    EXPECT_EQ(W->Image->MoveLayerCursor, 15);
    EXPECT_EQ(W->Sel->MoveCursor, 15);
    delete W;
  }
}
