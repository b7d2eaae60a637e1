// The image window in a document area: the zoomed view against the layers it
// shows, its geometry, the checkerboard and grid, layer moves with undo, its
// titles and its save question.
#include "FakeImageWindowHost.h"

#include "document/ui/ImgForm.h"
#include "ui/DlgColors.h"
#include "ui/MsgDlg.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMenu>
#include <QPointer>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr TColor Blue = 0xFF0000;

// Background 40 x 30 ramp, a 10 x 10 opaque blue layer at (5, 5).
TColor Expected(int X, int Y) {
  if (X >= 5 && X < 15 && Y >= 5 && Y < 15) return Blue;
  return RGB(X * 5, Y * 7, 90);
}

TColor Pixel(const QImage& Img, int X, int Y) {
  const QRgb P = Img.pixel(X, Y);
  return RGB(qRed(P), qGreen(P), qBlue(P));
}

class ImgFormTest : public ::testing::Test {
protected:
  void SetUp() override {
    Area.resize(900, 700);
    Area.show();
    SetUntitledCount(0);
  }
  void TearDown() override {
    TScopedMsgDlgAnswers Answers([](const TMsgDlgRequest&) { return TMsgDlgAnswer{mrNo, {}}; });
    for (QMdiSubWindow* W : Area.subWindowList()) delete W;
  }

  TNewImgForm* Open(TImageSourceType Type = srcNew, const QString& Title = QString()) {
    TMyImageLayered Src;
    TBitmap Ramp;
    MakeRamp(Ramp, 40, 30);
    Src.AddBackground(&Ramp, nullptr, QStringLiteral("#0"));
    Src.AddLayer(10, 10, Blue, {5, 5}, 100, QStringLiteral("Bleu"));
    auto* F = new TNewImgForm(Host, &Area, &Src, nullptr, Title, Type, 256, false, false);
    F->resize(700, 560);
    QApplication::processEvents();
    return F;
  }

  QImage Grab(TNewImgForm* F) {
    QApplication::processEvents();
    return F->Image->viewport()->grab().toImage();
  }

  TFakeImageWindowHost Host;
  QMdiArea Area;
};

} // namespace

TEST_F(ImgFormTest, ZoomedViewShowsTheCompositeWithMarginsFrameAndScrollRange) {
  TNewImgForm* F = Open();
  TMyImageLayeredView* V = F->Image;
  ASSERT_EQ(V->Image().Layers().Count(), 2);
  const TColor Margin = ColorToRGB(clDlgWindow);
  for (double Z : {1.0 / 3, 0.5, 1.0, 2.0, 16.0}) {
    SCOPED_TRACE(Z);
    V->SetZoom(Z);
    V->ScrollBy(-100000, -100000);
    const QImage G = Grab(F);
    const TRect R = V->ImgRect();
    const int ZW = static_cast<int>(std::nearbyint(40 * Z)), ZH = static_cast<int>(std::nearbyint(30 * Z));
    EXPECT_EQ(R, (TRect{8, 8, 8 + ZW, 8 + ZH}));
    // Every visible image pixel comes from its cell of the composite (one
    // pixel at zoom 1 and above, a neighbour of the cell when reduced).
    const int Slack = Z < 1 ? 1 : 0;
    int Checked = 0;
    for (int CY = 0; CY < std::min(ZH, G.height() - 8); CY += (Z > 2 ? 5 : 1))
      for (int CX = 0; CX < std::min(ZW, G.width() - 8); CX += (Z > 2 ? 5 : 1)) {
        const int X0 = CX * 40 / ZW, Y0 = CY * 30 / ZH;
        const TColor P = Pixel(G, R.Left + CX, R.Top + CY);
        bool Found = false;
        for (int SY = std::max(0, Y0 - Slack); SY <= std::min(29, Y0 + 1 + Slack) && !Found; ++SY)
          for (int SX = std::max(0, X0 - Slack); SX <= std::min(39, X0 + 1 + Slack) && !Found; ++SX)
            Found = P == Expected(SX, SY) && (Z < 1 || (SX == int(CX / Z) && SY == int(CY / Z)));
        ASSERT_TRUE(Found) << "client " << CX << "," << CY << " shows " << std::hex << P;
        ++Checked;
      }
    EXPECT_GT(Checked, 0);
    // Margin, one-pixel black border, then the shadow to the right.
    EXPECT_EQ(Pixel(G, 3, R.Top + 4), Margin);
    EXPECT_EQ(Pixel(G, R.Left - 1, R.Top + 4), 0u);
    if (R.Right + 3 < G.width()) {
      EXPECT_EQ(Pixel(G, R.Right, R.Top + 4), 0u);
      EXPECT_NE(Pixel(G, R.Right + 2, R.Top + std::min(10, ZH - 1)), Margin);
      EXPECT_EQ(Pixel(G, G.width() - 1, R.Top + 2), Margin);
    }
    const int VW = V->viewport()->width(), VH = V->viewport()->height();
    EXPECT_EQ(V->horizontalScrollBar()->maximum(), std::max(0, ZW + 16 - VW));
    EXPECT_EQ(V->verticalScrollBar()->maximum(), std::max(0, ZH + 16 - VH));
  }
  // At zoom 1 the whole composite is on screen, pixel for pixel.
  V->SetZoom(1);
  const QImage G = Grab(F);
  for (int Y = 0; Y < 30; ++Y)
    for (int X = 0; X < 40; ++X) ASSERT_EQ(Pixel(G, 8 + X, 8 + Y), Expected(X, Y)) << X << "," << Y;
}

TEST_F(ImgFormTest, ScrollingMovesTheImageUnderTheClientArea) {
  TNewImgForm* F = Open();
  TMyImageLayeredView* V = F->Image;
  F->resize(420, 320);
  V->SetZoom(16);
  int Scrolls = 0;
  V->OnScroll = [&](QObject*, TImageScrollStage) { ++Scrolls; };
  V->ScrollBy(0, 0);
  EXPECT_EQ(Scrolls, 0);
  V->ScrollBy(100, 50);
  EXPECT_EQ(Scrolls, 2);
  EXPECT_EQ(V->ImgRect().Left, 8 - 100);
  EXPECT_EQ(V->ImgRect().Top, 8 - 50);
  const QImage G = Grab(F);
  // Client (0, 0) is bitmap (92 / 16, 42 / 16) = (5, 2).
  EXPECT_EQ(Pixel(G, 0, 0), Expected(5, 2));
  EXPECT_EQ(Pixel(G, 100, 150), Blue); // bitmap (12, 12)
  EXPECT_EQ(V->ClientToBmp(TPoint{0, 0}), (TPoint{5, 2}));
}

TEST_F(ImgFormTest, CheckerboardUnderTransparencyKeepsItsScreenSize) {
  TNewImgForm* F = Open();
  TMyImageLayeredView* V = F->Image;
  V->Image().Layers()[0].Visible = false;
  V->Image().Layers()[1].Visible = false;
  for (double Z : {0.5, 2.0}) {
    V->SetZoom(Z);
    const QImage G = Grab(F);
    const TRect R = V->ImgRect();
    EXPECT_EQ(Pixel(G, R.Left, R.Top), 0xC3C3C3u) << Z;
    EXPECT_EQ(Pixel(G, R.Left + 7, R.Top + 7), 0xC3C3C3u) << Z;
    EXPECT_EQ(Pixel(G, R.Left + 8, R.Top), 0xFFFFFFu) << Z;
    EXPECT_EQ(Pixel(G, R.Left + 8, R.Top + 8), 0xC3C3C3u) << Z;
  }
}

TEST_F(ImgFormTest, GridIsDrawnOnlyWhenItsScreenStepIsTwoPixelsOrMore) {
  TNewImgForm* F = Open();
  TMyImageLayeredView* V = F->Image;
  V->ShowGrid = true;
  V->SetZoom(2);
  QImage G = Grab(F);
  TRect R = V->ImgRect();
  EXPECT_EQ(Pixel(G, R.Left + 32, R.Top + 1), 0x00FF00u);
  EXPECT_EQ(Pixel(G, R.Left + 33, R.Top + 1), Expected(16, 0));
  EXPECT_EQ(Pixel(G, R.Left + 1, R.Top + 32), 0x00FF00u);
  V->GridWidth = 0; // no step: nothing drawn, nothing divided by zero
  V->InvalidateView();
  G = Grab(F);
  EXPECT_EQ(Pixel(G, R.Left + 32, R.Top + 1), Expected(16, 0));
}

TEST_F(ImgFormTest, DraggingALayerMovesItAndTheMoveCanBeUndone) {
  TNewImgForm* F = Open();
  TMyImageLayeredView* V = F->Image;
  V->SelectionMode = TSelMode::smMoveLayer;
  V->Image().SetLayerIndex(1);
  std::vector<TSelOption> Events;
  auto Window = V->OnMovingLayer;
  V->OnMovingLayer = [&](QObject* S, TSelOption O) {
    Events.push_back(O);
    Window(S, O);
  };
  QWidget* VP = V->viewport();
  // A press and release without moving fires nothing.
  QTest::mousePress(VP, Qt::LeftButton, {}, QPoint(8 + 7, 8 + 7));
  QTest::mouseRelease(VP, Qt::LeftButton, {}, QPoint(8 + 7, 8 + 7));
  EXPECT_TRUE(Events.empty());

  QTest::mousePress(VP, Qt::LeftButton, {}, QPoint(8 + 7, 8 + 7));
  QTest::mouseMove(VP, QPoint(8 + 12, 8 + 9));
  QTest::mouseMove(VP, QPoint(8 + 17, 8 + 12));
  QTest::mouseRelease(VP, Qt::LeftButton, {}, QPoint(8 + 17, 8 + 12));
  EXPECT_EQ(V->Image().Layers()[1].Pos, (TPoint{15, 10}));
  ASSERT_GE(Events.size(), 4u);
  EXPECT_EQ(Events.front(), soStart);
  EXPECT_EQ(Events[1], soChanging);
  EXPECT_EQ(Events[Events.size() - 2], soChanged);
  EXPECT_EQ(Events.back(), soEnd);
  EXPECT_EQ(Host.LayerChanges, 1);
  // The view shows the layer at its new place.
  const QImage G = Grab(F);
  EXPECT_EQ(Pixel(G, 8 + 15, 8 + 10), Blue);
  EXPECT_EQ(Pixel(G, 8 + 5, 8 + 5), RGB(25, 35, 90));

  ASSERT_EQ(F->ListeUndo->Count(), 1);
  EXPECT_TRUE(F->Modified());
  F->ListeUndo->Undo();
  EXPECT_EQ(V->Image().Layers()[1].Pos, (TPoint{5, 5}));
  F->ListeUndo->Redo();
  EXPECT_EQ(V->Image().Layers()[1].Pos, (TPoint{15, 10}));
}

TEST_F(ImgFormTest, ArrowKeysNudgeAndEscapePutsTheLayerBack) {
  TNewImgForm* F = Open();
  TMyImageLayeredView* V = F->Image;
  TLayerItem& L = V->Image().Layers()[1];
  V->SelectionMode = TSelMode::smMoveLayer;
  V->Image().SetLayerIndex(1);
  QTest::keyClick(V, Qt::Key_Right);
  EXPECT_EQ(L.Pos, (TPoint{6, 5}));
  QTest::keyClick(V, Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(L.Pos, (TPoint{6, 13}));
  // Caps Lock on, as the window system's key events carry it (Lock bit).
  const auto KeyWithLock = [V](Qt::Key K, quint32 Native) {
    for (const QEvent::Type T : {QEvent::KeyPress, QEvent::KeyRelease}) {
      QKeyEvent E(T, K, Qt::NoModifier, 0, 0, Native);
      QApplication::sendEvent(V, &E);
    }
  };
  KeyWithLock(Qt::Key_Left, 0x2);
  EXPECT_EQ(L.Pos, (TPoint{-2, 13}));
  // Off again (Num Lock, another bit, changes nothing).
  KeyWithLock(Qt::Key_Right, 0x10);
  EXPECT_EQ(L.Pos, (TPoint{-1, 13}));
  KeyWithLock(Qt::Key_Left, 0x0);
  EXPECT_EQ(L.Pos, (TPoint{-2, 13}));

  std::vector<TSelOption> Events;
  V->OnMovingLayer = [&](QObject*, TSelOption O) { Events.push_back(O); };
  QWidget* VP = V->viewport();
  QTest::mousePress(VP, Qt::LeftButton, {}, QPoint(8 + 0, 8 + 14));
  QTest::mouseMove(VP, QPoint(8 + 20, 8 + 20));
  EXPECT_EQ(L.Pos, (TPoint{18, 19}));
  Events.clear();
  QTest::keyClick(V, Qt::Key_Escape);
  EXPECT_EQ(L.Pos, (TPoint{-2, 13}));
  EXPECT_EQ(Events, (std::vector<TSelOption>{soChanging, soEnd}));
  QTest::mouseRelease(VP, Qt::LeftButton, {}, QPoint(8 + 20, 8 + 20));

  // Locked or hidden layers and the background never move.
  L.Locked = true;
  QTest::keyClick(V, Qt::Key_Right);
  EXPECT_EQ(L.Pos, (TPoint{-2, 13}));
  L.Locked = false;
  L.Visible = false;
  QTest::keyClick(V, Qt::Key_Right);
  EXPECT_EQ(L.Pos, (TPoint{-2, 13}));
  V->Image().SetLayerIndex(0);
  QTest::keyClick(V, Qt::Key_Right);
  QTest::mousePress(VP, Qt::LeftButton, {}, QPoint(8 + 30, 8 + 20));
  QTest::mouseMove(VP, QPoint(8 + 35, 8 + 25));
  QTest::mouseRelease(VP, Qt::LeftButton, {}, QPoint(8 + 35, 8 + 25));
  EXPECT_EQ(V->Image().Layers()[0].Pos, (TPoint{0, 0}));
}

TEST_F(ImgFormTest, AutoSelectPicksTheUppermostLayerUnderThePress) {
  TNewImgForm* F = Open();
  TMyImageLayeredView* V = F->Image;
  V->SelectionMode = TSelMode::smMoveLayer;
  V->AutoSelectLayer = true;
  V->Image().SetLayerIndex(0);
  TLayerItem* Picked = nullptr;
  V->OnAutoSelectLayer = [&](QObject*, TLayerItem* L) { Picked = L; };
  QTest::mousePress(V->viewport(), Qt::LeftButton, {}, QPoint(8 + 6, 8 + 6));
  QTest::mouseRelease(V->viewport(), Qt::LeftButton, {}, QPoint(8 + 6, 8 + 6));
  EXPECT_EQ(V->Image().LayerIndex(), 1);
  EXPECT_EQ(Picked, &V->Image().Layers()[1]);
  // A transparent mask pixel lets the press through with the check on.
  V->Image().Layers()[1].CheckCreateMask(true);
  V->CheckLayerTranspOnSelect = true;
  EXPECT_EQ(V->LayerAtPos(8 + 6, 8 + 6), &V->Image().Layers()[0]);
  V->CheckLayerTranspOnSelect = false;
  EXPECT_EQ(V->LayerAtPos(8 + 6, 8 + 6), &V->Image().Layers()[1]);
  V->Image().AddLayerColor(clRed, 50, false, QStringLiteral("Couleur"));
  EXPECT_EQ(V->LayerAtPos(8 + 6, 8 + 6), &V->Image().Layers()[1]);
  EXPECT_EQ(V->LayerAtPos(2, 2), nullptr);
}

TEST_F(ImgFormTest, TitlesCountUntitledAndImportedImages) {
  EXPECT_EQ(Open()->windowTitle(), QStringLiteral("Sans titre 1"));
  EXPECT_EQ(Open()->windowTitle(), QStringLiteral("Sans titre 2"));
  EXPECT_EQ(Open(srcImport, QStringLiteral("Scan $(cpt).bmp"))->windowTitle(), QStringLiteral("Scan 3.bmp"));
  TNewImgForm* File = Open(srcFile, QStringLiteral("/tmp/a/photo.png"));
  EXPECT_EQ(File->windowTitle(), QStringLiteral("photo.png"));
  EXPECT_EQ(File->NomFichier, QStringLiteral("/tmp/a/photo.png"));
  EXPECT_EQ(FindImageWindow(QStringLiteral("/tmp/a/photo.png")), File);
  EXPECT_EQ(FindImageWindow(QStringLiteral("/tmp/a/Photo.png")), nullptr);
  EXPECT_EQ(ImageWindows().size(), 4u);
  EXPECT_EQ(FindLayerOfBitmap(&File->Image->Image().Layers()[1].Bitmap()), 1);
  TBitmap Other;
  EXPECT_EQ(FindLayerOfBitmap(&Other), -1);
  EXPECT_EQ(FindLayerOfBitmap(nullptr), -1);
  // The eleventh window opens where the first did.
  EXPECT_EQ(File->DefaultWindowRect(10), File->DefaultWindowRect(0));
  EXPECT_NE(File->DefaultWindowRect(1), File->DefaultWindowRect(0));
}

namespace {
void ProcessClose() {
  QApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
} // namespace

TEST_F(ImgFormTest, SaveQuestionOnClose) {
  std::vector<TMsgDlgRequest> Asked;
  int Answer = mrCancel;
  TScopedMsgDlgAnswers Answers([&](const TMsgDlgRequest& R) {
    Asked.push_back(R);
    return TMsgDlgAnswer{Answer, {}};
  });
  // An unchanged image from a file closes without a question.
  QPointer<TNewImgForm> File = Open(srcFile, QStringLiteral("/tmp/a/photo.png"));
  EXPECT_FALSE(File->Modified());
  File->close();
  ProcessClose();
  EXPECT_TRUE(Asked.empty());
  EXPECT_TRUE(File.isNull());

  // A new image counts as modified: Cancel keeps it, No closes it.
  QPointer<TNewImgForm> New = Open();
  EXPECT_TRUE(New->Modified());
  New->close();
  ProcessClose();
  ASSERT_EQ(Asked.size(), 1u);
  EXPECT_EQ(Asked[0].Msg, QStringLiteral("Enregistrer les modifications avant de continuer ?"));
  EXPECT_EQ(Asked[0].Kind, mdkConfirmation);
  EXPECT_EQ(Asked[0].Buttons.Bits(), 11);
  ASSERT_FALSE(New.isNull());
  // Yes saves under a name to choose, the generated title proposed; a
  // cancelled save keeps the window.
  Answer = mrYes;
  Host.SaveResult = false;
  New->close();
  ProcessClose();
  ASSERT_FALSE(New.isNull());
  EXPECT_EQ(Host.Saves, QStringList{QStringLiteral("|Sans titre 1")});
  Answer = mrNo;
  New->close();
  ProcessClose();
  EXPECT_TRUE(New.isNull());

  // A modified file image names itself in the question; a purged history
  // keeps it modified.
  File = Open(srcFile, QStringLiteral("/tmp/a/R&D.png"));
  File->ResetModified();
  File->FlagUndoPurge = true;
  Answer = mrYes;
  Host.SaveResult = true;
  File->close();
  ProcessClose();
  ASSERT_EQ(Asked.size(), 4u);
  EXPECT_EQ(Asked[3].Msg, QStringLiteral("L'image \"R&D.png\" a été modifiée.\rEnregistrer les modifications avant de "
                                         "continuer ?"));
  EXPECT_EQ(Host.Saves.last(), QStringLiteral("/tmp/a/R&D.png|"));
  EXPECT_TRUE(File.isNull());
}

TEST_F(ImgFormTest, ActivationAndMousePosition) {
  TNewImgForm* A = Open();
  TNewImgForm* B = Open();
  EXPECT_EQ(ActiveImageWindow(), B);
  Area.setActiveSubWindow(A);
  EXPECT_EQ(ActiveImageWindow(), A);
  // Only the active window reports the mouse position, inside the image.
  QTest::mouseMove(B->Image->viewport(), QPoint(8 + 3, 8 + 3));
  EXPECT_EQ(Host.Position, (TPoint{-1, -1}));
  QTest::mouseMove(A->Image->viewport(), QPoint(8 + 3, 8 + 4));
  EXPECT_EQ(Host.Position, (TPoint{11, 12}));
  QTest::mouseMove(A->Image->viewport(), QPoint(2, 2));
  EXPECT_EQ(Host.Position, (TPoint{-1, -1}));
  delete A; // the area activates the other window
  EXPECT_EQ(ActiveImageWindow(), B);
  EXPECT_EQ(ImageWindows(), (std::vector<TNewImgForm*>{B}));
}

TEST_F(ImgFormTest, AutoZoomNeverEnlarges) {
  TBitmap Small, Large;
  MakeRamp(Small, 40, 30);
  MakeRamp(Large, 3000, 2000);
  auto* S = new TNewImgForm(Host, &Area, nullptr, &Small, QString(), srcNew, 0, true, false);
  EXPECT_DOUBLE_EQ(S->Image->Zoom(), 1.0);
  EXPECT_TRUE(S->FlagAutoZoom);
  auto* L = new TNewImgForm(Host, &Area, nullptr, &Large, QString(), srcNew, 0, true, false);
  EXPECT_LT(L->Image->Zoom(), 1.0);
  EXPECT_GT(L->Image->Zoom(), 0.05);
  // The fitted image lies inside the window's view.
  QApplication::processEvents();
  EXPECT_LE(L->Image->ImgRect().Right, L->Image->viewport()->width() + 1)
      << L->width() << "x" << L->height() << " nav " << L->LayerNav->width() << " view " << L->Image->width() << "x"
      << L->Image->height() << " vp " << L->Image->viewport()->height() << " z " << L->Image->Zoom() << " hbar "
      << L->Image->horizontalScrollBar()->maximum() << " vbar " << L->Image->verticalScrollBar()->maximum();
  EXPECT_EQ(L->Image->Image().Layers().Count(), 1);
  EXPECT_EQ(L->Image->Image().Layers()[0].Caption, QStringLiteral("#0"));
}

TEST_F(ImgFormTest, SmoothingOnlyForAnOpaqueReducedImage) {
  // Alternating black and white columns: a smoothed half-size view is grey,
  // the nearest-neighbour view black or white.
  TBitmap Stripes(40, 30, pf24bit, clWhite);
  for (int Y = 0; Y < 30; ++Y)
    for (int X = 0; X < 40; X += 2) Stripes.Canvas().SetPixels(X, Y, clBlack);
  auto* F = new TNewImgForm(Host, &Area, nullptr, &Stripes, QString(), srcNew, 0, false, false);
  TMyImageLayeredView* V = F->Image;
  V->SetZoom(0.5);
  auto Center = [&] {
    const QImage G = Grab(F);
    const TRect R = V->ImgRect();
    return Pixel(G, R.Left + 10, R.Top + 7);
  };
  const TColor Plain = Center();
  EXPECT_TRUE(Plain == clBlack || Plain == clWhite) << std::hex << Plain;
  V->SetOptimizeMode(omReduction);
  const TColor Smooth = Center();
  EXPECT_NE(Smooth, clBlack);
  EXPECT_NE(Smooth, clWhite);
  EXPECT_EQ(GetRValue(Smooth), GetGValue(Smooth));
  // Enlarged, or with a transparent background, the layers are drawn as they
  // are.
  V->SetZoom(2);
  const TColor Big = Center();
  EXPECT_TRUE(Big == clBlack || Big == clWhite);
  V->SetZoom(0.5);
  V->Image().Layers()[0].Opacity = 99;
  const TColor Transparent = Center();
  EXPECT_NE(Transparent, Smooth);
}

TEST_F(ImgFormTest, LockedPaintingDrawsNothingAndTheActiveLayerIsOutlined) {
  TNewImgForm* F = Open();
  TMyImageLayeredView* V = F->Image;
  V->SetZoom(1);
  Grab(F);
  const QImage Before = V->BackBuffer().QImageView().copy();
  V->LockPaint(true);
  V->SetColor(clRed);
  V->PaintAll();
  EXPECT_EQ(V->BackBuffer().QImageView(), Before);
  V->LockPaint(false);
  V->SetColor(clDlgWindow);
  V->Image().SetLayerIndex(1);
  V->SetDrawLayerActiveBounds(true);
  const QImage G = Grab(F);
  // The dotted XOR outline on the layer's first pixel: blue XOR 0xFFD8CE.
  EXPECT_EQ(Pixel(G, 8 + 5, 8 + 5), Blue ^ 0xFFD8CEu);
  // The background is never outlined.
  V->Image().SetLayerIndex(0);
  EXPECT_EQ(Pixel(Grab(F), 8 + 5, 8 + 5), Blue);
}

TEST_F(ImgFormTest, WindowMenuFollowsTheWindows) {
  QMenu Menu;
  Menu.addAction(QStringLiteral("Cascade"));
  WindowMenu = &Menu;
  TNewImgForm* A = Open(srcFile, QStringLiteral("/tmp/a/un nom de fichier vraiment beaucoup trop long.png"));
  TNewImgForm* B = Open();
  ASSERT_EQ(Menu.actions().size(), 3);
  QAction* ItemA = Menu.actions()[1];
  QAction* ItemB = Menu.actions()[2];
  EXPECT_EQ(ItemA->text().size(), 31);
  EXPECT_TRUE(ItemA->text().contains(QStringLiteral("...")));
  EXPECT_EQ(ItemB->text(), QStringLiteral("Sans titre 1"));
  EXPECT_FALSE(ItemA->isChecked());
  EXPECT_TRUE(ItemB->isChecked());
  ItemA->trigger();
  EXPECT_EQ(ActiveImageWindow(), A);
  EXPECT_TRUE(ItemA->isChecked());
  EXPECT_FALSE(ItemB->isChecked());
  DisableImageWindows(A);
  EXPECT_TRUE(A->isEnabled());
  EXPECT_FALSE(B->isEnabled());
  EXPECT_FALSE(A->LayerNav->isEnabled());
  EnableImageWindows();
  EXPECT_TRUE(B->isEnabled() && A->LayerNav->isEnabled());
  delete B;
  EXPECT_EQ(Menu.actions().size(), 2);
  RemoveWindowMenuItem(B); // no longer listed: nothing
  EXPECT_EQ(Menu.actions().size(), 2);
  WindowMenu = nullptr;
}
