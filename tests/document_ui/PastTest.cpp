// The clipboard between image windows and other programs (simulated in this
// process: content put on the clipboard without the copy routines, as
// another program's would arrive): the program's own copy comes back with
// its mask, transparent colour, resolution, opacity and blend mode; anything
// else pastes with the defaults; nothing usable and huge images are refused
// with a message; halves and masks, metafiles, the paste into the selection
// and the remembered shape. Expected pixels come from the source layers and
// the Part's placement rules, not from the routines under test.
#include "FakeImageWindowHost.h"

#include "document/ui/ImgForm.h"
#include "document/ui/Past.h"
#include "i18n/LibLang.h"
#include "raster/Bitmap24.h"
#include "raster/Transparency.h"
#include "support/ImageCompare.h"
#include "support/Pixels.h"
#include "support/Printers.h"
#include "ui/MsgDlg.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QMdiArea>
#include <QMimeData>

#include <gtest/gtest.h>

#include <zlib.h>

namespace {

// The clipboard's services over a real image window.
class WindowHost : public TClipboardHost {
public:
  explicit WindowHost(TNewImgForm* Form) : F(Form) {}
  TNewImgForm* F;
  bool Pixels = true;
  int Refreshes = 0, LayerChanges = 0;
  TBitmap UndoBmp, UndoMask;
  TShapeManager ViewManager;

  TSelectionState* Sel() override { return F->Sel.get(); }
  TMyImageLayered* Image() override { return &F->Image->Image(); }
  TUndoList* ListeUndo() override { return F->ListeUndo.get(); }
  bool Mode16M() const override { return true; }
  TBitmap* BmpUndo() override { return &UndoBmp; }
  TBitmap* MaskUndo() override { return &UndoMask; }
  bool SelAucunLissage() const override { return false; }
  bool SelContourProgressif() const override { return false; }
  TShapeManager* ViewShapeManager() override { return &ViewManager; }
  TMyShape ViewSelShape() const override { return ssRect; }
  bool LoadPattern(const QString&, TBitmap&, TBitmap&) override { return false; }
  bool ModeRGBA(bool) const override { return !F->Image->Image().Layers()[0].Mask().Empty(); }
  bool PixelsToProcess() override { return Pixels; }
  void RefreshBitmap() override { ++Refreshes; }
  void LayerChanged() override { ++LayerChanges; }
};

// Layer pixel (x, y) of the copied layer: distinct everywhere.
TRGB LayerPixel(int X, int Y) { return Rgb(10 + X * 9, 20 + Y * 11, 99); }

QByteArray Chunk(const char* Type, const QByteArray& Data) {
  QByteArray C;
  const uint32_t N = Data.size();
  C.append(char(N >> 24)).append(char(N >> 16)).append(char(N >> 8)).append(char(N));
  QByteArray Body = QByteArray(Type) + Data;
  const uint32_t Crc = crc32(0, reinterpret_cast<const Bytef*>(Body.constData()), Body.size());
  C.append(Body).append(char(Crc >> 24)).append(char(Crc >> 16)).append(char(Crc >> 8)).append(char(Crc));
  return C;
}

// A valid PNG header declaring W x H 8-bit RGB, with one tiny IDAT: a few
// dozen bytes that would decode to gigabytes.
QByteArray PngDeclaring(uint32_t W, uint32_t H) {
  QByteArray Ihdr;
  for (uint32_t V : {W, H}) Ihdr.append(char(V >> 24)).append(char(V >> 16)).append(char(V >> 8)).append(char(V));
  Ihdr.append(char(8)).append(char(2)).append(char(0)).append(char(0)).append(char(0));
  return QByteArray("\x89PNG\r\n\x1a\n", 8) + Chunk("IHDR", Ihdr) + Chunk("IDAT", QByteArray("\x78\x9c\x03\x00\x00\x00\x00\x01", 8)) +
         Chunk("IEND", {});
}

QImage ToQImage(const TBitmap& B) { return const_cast<TBitmap&>(B).QImageView().copy(); }

class PastTest : public ::testing::Test {
protected:
  void SetUp() override {
    Area.resize(900, 700);
    Area.show();
    ClipboardData().ResetData();
    ClipboardData().OnMessage = [this](const QString& T) { Messages << T; };
    QGuiApplication::clipboard()->clear();
    A = Open(60, 40);
    B = Open(50, 50);
    // Window A: a 20 x 16 layer at (4, 4), half transparent on its top row,
    // opacity 60, blend mode 5, at 300 dpi.
    TMyImageLayered& IA = A->Image->Image();
    TBitmap L, M;
    NewBitmap24(L, 20, 16, clBlack);
    NewBitmap24(M, 20, 16, clBlack);
    for (int Y = 0; Y < 16; ++Y)
      for (int X = 0; X < 20; ++X) SetPx(L, X, Y, LayerPixel(X, Y));
    for (int X = 0; X < 20; ++X) SetPx(M, X, 0, Grey(128));
    IA.AddLayer(&L, &M, {4, 4}, 60, QStringLiteral("Calque"));
    IA.CurrentLayer()->BlendMode = 5;
    IA.ResolutionX = 300;
  }
  void TearDown() override {
    ClipboardData().OnMessage = nullptr;
    TScopedMsgDlgAnswers Answers([](const TMsgDlgRequest&) { return TMsgDlgAnswer{mrNo, {}}; });
    for (QMdiSubWindow* W : Area.subWindowList()) delete W;
  }
  TNewImgForm* Open(int W, int H) {
    TBitmap Bkg;
    NewBitmap24(Bkg, W, H, clWhite);
    auto* F = new TNewImgForm(WindowServices, &Area, nullptr, &Bkg, QString(), srcNew, 16777216, false, false);
    F->resize(400, 300);
    QApplication::processEvents();
    return F;
  }
  void Select(TNewImgForm* F, const TRect& R, TMyShape Shape) {
    F->Sel->SetShape(Shape);
    F->Sel->SetBmpSelRect(R);
    F->Sel->SetVisible(true);
  }
  // Another program's image: put on the clipboard without the copy routines.
  void PutForeign(const QImage& Image) { QGuiApplication::clipboard()->setImage(Image); }

  TFakeImageWindowHost WindowServices;
  QMdiArea Area;
  TNewImgForm* A = nullptr;
  TNewImgForm* B = nullptr;
  QStringList Messages;
};

} // namespace

TEST_F(PastTest, AMaskedSelectionCopiedInOneWindowPastesWithEverythingIntoAnother) {
  WindowHost HA(A), HB(B);
  Select(A, {6, 4, 22, 16}, ssEllipse); // layer (2, 0, 18, 12)
  ClipboardData().AssignLayer(HA);
  ClipboardData().SetCopyPosition(HA, {6, 4});

  // Window B becomes the active one and pastes.
  B->ActivateImage();
  TBitmap Bmp, Mask;
  ASSERT_TRUE(ClipboardData().GetImage(Bmp, Mask));
  ASSERT_EQ(Bmp.Width(), 16);
  ASSERT_EQ(Bmp.Height(), 12);
  for (int Y = 0; Y < 12; ++Y)
    for (int X = 0; X < 16; ++X) ASSERT_EQ(Px(Bmp, X, Y), LayerPixel(X + 2, Y)) << X << "," << Y;
  ASSERT_EQ(Mask.Width(), 16);
  EXPECT_EQ(Px(Mask, 8, 6), Grey(0));     // inside the ellipse
  EXPECT_EQ(Px(Mask, 0, 11), Grey(255));  // a corner outside it
  EXPECT_EQ(Px(Mask, 8, 0).Blue >= 128, true); // the layer's half-transparent top row kept
  EXPECT_TRUE(Messages.isEmpty());
  EXPECT_EQ(ClipboardData().GetDPI(), 300);
  EXPECT_TRUE(ClipboardData().IsCopyImage(HA));
  EXPECT_FALSE(ClipboardData().IsCopyImage(HB));

  // The pasted layer takes the copied layer's opacity and blend mode.
  TMyImageLayered& IB = B->Image->Image();
  IB.AddLayer(&Bmp, &Mask, {0, 0}, 100, QStringLiteral("Collé"));
  ClipboardData().GetLayerOptions(HB);
  EXPECT_EQ(IB.CurrentLayer()->Opacity, 60);
  EXPECT_EQ(IB.CurrentLayer()->BlendMode, 5);
}

TEST_F(PastTest, AnotherProgramsImagePastesWithTheDefaults) {
  WindowHost HA(A);
  Select(A, {4, 4, 24, 20}, ssEllipse);
  ClipboardData().AssignLayer(HA);
  TBitmap Copied, Unused;
  ASSERT_TRUE(ClipboardData().GetImage(Copied, Unused));
  ASSERT_FALSE(Unused.Empty());

  // The very same pixels, put there by someone else.
  PutForeign(ToQImage(Copied));
  TBitmap Bmp, Mask;
  ASSERT_TRUE(ClipboardData().GetImage(Bmp, Mask));
  EXPECT_IMAGES_MATCH(Bmp, Copied);
  EXPECT_TRUE(Mask.Empty());
  EXPECT_FALSE(Bmp.Transparent);
  EXPECT_EQ(ClipboardData().TransparentColor, clNone);
  EXPECT_EQ(ClipboardData().GetDPI(), 96);
  EXPECT_EQ(ClipboardData().Opacity(), 100);
  EXPECT_EQ(ClipboardData().BlendMode(), 0);
  EXPECT_TRUE(ClipboardData().MaskAlpha.Empty());
}

TEST_F(PastTest, OwnCopiesAreKnownBySizeAndThreeSamplesWithinTwelve) {
  TBitmap Bmp;
  NewBitmap24(Bmp, 9, 7, RGB(100, 100, 100));
  ClipboardData().Assign(&Bmp, nullptr, 72);
  EXPECT_EQ(ClipboardData().GetDPI(), 96); // 72 reads as 96
  struct TCase {
    int W, H, Delta;
    bool Matches;
  };
  for (const TCase& C : {TCase{9, 7, 0, true}, TCase{9, 7, 12, true}, TCase{9, 7, -12, true},
                         TCase{9, 7, 13, false}, TCase{9, 8, 0, false}, TCase{8, 7, 0, false}}) {
    TBitmap Other;
    NewBitmap24(Other, C.W, C.H, RGB(100, 100, 100));
    SetPx(Other, C.W / 2, C.H / 2, Grey(100 + C.Delta)); // the middle sample
    EXPECT_EQ(ClipboardData().MatchesFingerprint(Other), C.Matches) << C.W << "x" << C.H << " " << C.Delta;
  }
  ClipboardData().Assign(&Bmp, nullptr, 300);
  EXPECT_EQ(ClipboardData().GetDPI(), 300);
}

TEST_F(PastTest, ATransparentColourTravelsAsKeyAndMask) {
  TBitmap Bmp;
  NewBitmap24(Bmp, 6, 4, RGB(1, 2, 3));
  SetPx(Bmp, 2, 1, Rgb(0, 255, 0));
  SetPx(Bmp, 5, 3, Rgb(0, 255, 0));
  SetPx(Bmp, 3, 1, Rgb(0, 254, 0)); // near, not equal: opaque
  Bmp.Transparent = true;
  Bmp.SetTransparentColor(RGB(0, 255, 0));
  ClipboardData().Assign(&Bmp, nullptr, 96);
  EXPECT_EQ(ClipboardData().TransparentColor, RGB(0, 255, 0));
  const TBitmap& M = ClipboardData().MaskAlpha;
  for (int Y = 0; Y < 4; ++Y)
    for (int X = 0; X < 6; ++X)
      EXPECT_EQ(Px(M, X, Y), Grey((X == 2 && Y == 1) || (X == 5 && Y == 3) ? 255 : 0)) << X << "," << Y;
  TBitmap Out, Mask;
  ASSERT_TRUE(ClipboardData().GetImage(Out, Mask));
  EXPECT_TRUE(Out.Transparent);
  EXPECT_EQ(Out.TransparentColor(), RGB(0, 255, 0));
  EXPECT_IMAGES_MATCH(Mask, M);
  // A mask that cannot be the bitmap's gives way to the key's own.
  TBitmap Wrong;
  NewBitmap24(Wrong, 2, 2, clBlack);
  ClipboardData().Assign(&Bmp, &Wrong, 96);
  ASSERT_EQ(ClipboardData().MaskAlpha.Width(), 6);
  EXPECT_EQ(Px(ClipboardData().MaskAlpha, 5, 3), Grey(255));
  EXPECT_EQ(Px(ClipboardData().MaskAlpha, 1, 1), Grey(0));
}

TEST_F(PastTest, NothingUsableIsRefusedWithAMessageAndLeavesTheBitmaps) {
  TBitmap Bmp, Mask;
  NewBitmap24(Bmp, 3, 3, clRed);
  const QString NoImage = Tr(TrId::GetClpMsgNoImage);
  EXPECT_FALSE(ClipboardData().CanPaste());
  EXPECT_FALSE(ClipboardData().GetImage(Bmp, Mask));
  QGuiApplication::clipboard()->setText(QStringLiteral("du texte"));
  EXPECT_FALSE(ClipboardData().CanPaste());
  EXPECT_FALSE(ClipboardData().GetWithMask(Bmp, Mask));
  // Bytes that claim to be an image and are not.
  auto* Junk = new QMimeData;
  Junk->setData(QStringLiteral("image/png"), QByteArray("not a picture"));
  QGuiApplication::clipboard()->setMimeData(Junk);
  EXPECT_TRUE(ClipboardData().CanPaste());
  EXPECT_FALSE(ClipboardData().GetMask(Bmp, Mask, clBlue));
  EXPECT_EQ(Messages, (QStringList{NoImage, NoImage, NoImage}));
  EXPECT_EQ(Bmp.Width(), 3);
  EXPECT_EQ(Px(Bmp, 1, 1), Rgb(255, 0, 0));
  EXPECT_TRUE(Mask.Empty());
  // Nothing pasted into the selection either: the layer stays as it was.
  WindowHost HB(B);
  Select(B, {5, 5, 25, 25}, ssRect);
  EXPECT_FALSE(PasteIntoSelection(HB, false));
  EXPECT_EQ(HB.LayerChanges, 0);
}

TEST_F(PastTest, AHugeImageIsRefusedBeforeItIsDecoded) {
  auto* Huge = new QMimeData;
  Huge->setData(QStringLiteral("image/png"), PngDeclaring(20000, 20000));
  QGuiApplication::clipboard()->setMimeData(Huge);
  TBitmap Bmp, Mask;
  QElapsedTimer T;
  T.start();
  EXPECT_FALSE(ClipboardData().GetImage(Bmp, Mask));
  EXPECT_LT(T.elapsed(), 5000);
  ASSERT_EQ(Messages.size(), 1);
  EXPECT_TRUE(Messages[0].contains(QStringLiteral("20000 x 20000"))) << Messages[0].toStdString();
  EXPECT_TRUE(Bmp.Empty());
  // Within the limit the same header is only a broken picture.
  auto* Small = new QMimeData;
  Small->setData(QStringLiteral("image/png"), PngDeclaring(4, 4));
  QGuiApplication::clipboard()->setMimeData(Small);
  EXPECT_FALSE(ClipboardData().GetImage(Bmp, Mask));
  EXPECT_EQ(Messages.last(), Tr(TrId::GetClpMsgNoImage));
}

TEST_F(PastTest, EncodedImagesOfOtherProgramsAreRead) {
  QImage I(5, 3, QImage::Format_RGB32);
  for (int Y = 0; Y < 3; ++Y)
    for (int X = 0; X < 5; ++X) I.setPixel(X, Y, qRgb(X * 50, Y * 80, 7));
  QByteArray Png;
  QBuffer Buffer(&Png);
  Buffer.open(QIODevice::WriteOnly);
  ASSERT_TRUE(I.save(&Buffer, "PNG"));
  auto* Data = new QMimeData;
  Data->setData(QStringLiteral("image/bmp"), QByteArray("broken"));
  Data->setData(QStringLiteral("image/png"), Png);
  QGuiApplication::clipboard()->setMimeData(Data);
  TBitmap Bmp, Mask;
  ASSERT_TRUE(ClipboardData().GetImage(Bmp, Mask));
  ASSERT_EQ(Bmp.Width(), 5);
  EXPECT_EQ(Bmp.PixelFormat(), pf24bit);
  EXPECT_EQ(Px(Bmp, 4, 2), Rgb(200, 160, 7));
}

TEST_F(PastTest, SideBySideHalvesAndMaskForms) {
  QImage I(200, 100, QImage::Format_RGB32);
  I.fill(qRgb(10, 20, 30));
  for (int Y = 0; Y < 100; ++Y)
    for (int X = 100; X < 200; ++X) I.setPixel(X, Y, qRgb(X - 100, X - 100, X - 100));
  PutForeign(I);
  TBitmap Bmp, Mask;
  ASSERT_TRUE(ClipboardData().GetWithMask(Bmp, Mask));
  EXPECT_EQ(Bmp.Width(), 100);
  EXPECT_EQ(Bmp.Height(), 100);
  EXPECT_EQ(Mask.Width(), 100);
  EXPECT_EQ(Px(Bmp, 99, 50), Rgb(10, 20, 30));
  EXPECT_EQ(Px(Mask, 0, 0), Grey(0));
  EXPECT_EQ(Px(Mask, 99, 99), Grey(99));

  TBitmap Colour, AsMask;
  ASSERT_TRUE(ClipboardData().GetMask(Colour, AsMask, RGB(0, 0, 255)));
  EXPECT_EQ(AsMask.Width(), 200);
  EXPECT_EQ(Px(AsMask, 150, 3), Grey(50));
  EXPECT_EQ(Colour.Width(), 200);
  EXPECT_EQ(Px(Colour, 199, 99), Rgb(0, 0, 255));
}

TEST_F(PastTest, AMetafileIsRenderedOverTheTransparencyKeyAndCropped) {
  QFile F(QStringLiteral(LUMA_FUZZ_CORPUS "/metafile_read/valid-shapes.wmf"));
  ASSERT_TRUE(F.open(QIODevice::ReadOnly));
  auto* Data = new QMimeData;
  Data->setData(QStringLiteral("image/x-wmf"), F.readAll());
  QGuiApplication::clipboard()->setMimeData(Data);
  EXPECT_TRUE(ClipboardData().CanPaste());
  TBitmap Bmp, Mask;
  ASSERT_TRUE(ClipboardData().GetImage(Bmp, Mask));
  EXPECT_TRUE(Bmp.Transparent);
  EXPECT_EQ(Bmp.TransparentColor(), TColor(TransparentKeyColor));
  ASSERT_FALSE(Mask.Empty());
  ASSERT_EQ(Mask.Width(), Bmp.Width());
  // Every key pixel is transparent in the mask, every other one opaque, and
  // the crop left no border made only of the key.
  int Keys = 0;
  for (int Y = 0; Y < Bmp.Height(); ++Y)
    for (int X = 0; X < Bmp.Width(); ++X) {
      const bool Key = Bmp.PixelColor(X, Y) == TColor(TransparentKeyColor);
      Keys += Key;
      ASSERT_EQ(Px(Mask, X, Y), Grey(Key ? 255 : 0)) << X << "," << Y;
    }
  EXPECT_LT(Keys, Bmp.Width() * Bmp.Height());
  bool TopHasInk = false;
  for (int X = 0; X < Bmp.Width(); ++X) TopHasInk |= Bmp.PixelColor(X, 0) != TColor(TransparentKeyColor);
  EXPECT_TRUE(TopHasInk);
}

TEST_F(PastTest, PasteIntoTheSelectionCentresOrFitsAndCutsToTheShape) {
  QImage I(10, 5, QImage::Format_RGB32);
  I.fill(qRgb(0, 0, 255));
  WindowHost HB(B);
  TLayerItem& Bkg = *B->Image->Image().CurrentLayer();
  Select(B, {10, 10, 40, 40}, ssRect);
  PutForeign(I);
  ASSERT_TRUE(PasteIntoSelection(HB, false));
  // Centred: (20, 22.5) -> (20, 22) to (30, 27).
  for (int Y = 0; Y < 50; ++Y)
    for (int X = 0; X < 50; ++X) {
      const bool In = X >= 20 && X < 30 && Y >= 22 && Y < 27;
      ASSERT_EQ(Px(Bkg.Bitmap(), X, Y), In ? Rgb(0, 0, 255) : Rgb(255, 255, 255)) << X << "," << Y;
    }
  EXPECT_EQ(HB.Refreshes, 1);
  EXPECT_EQ(HB.LayerChanges, 1);

  // Fitted into an ellipse: scaled to 30 x 15, and nothing lands in the
  // corners of the selection's rectangle outside the ellipse.
  NewBitmap24(Bkg.Bitmap(), 50, 50, clWhite);
  Select(B, {10, 10, 40, 40}, ssEllipse);
  ASSERT_TRUE(PasteIntoSelection(HB, true));
  EXPECT_EQ(Px(Bkg.Bitmap(), 25, 25), Rgb(0, 0, 255));
  EXPECT_EQ(Px(Bkg.Bitmap(), 11, 25), Rgb(0, 0, 255)); // scaled: reaches the left side
  EXPECT_EQ(Px(Bkg.Bitmap(), 10, 18), Rgb(255, 255, 255)); // inside the band, outside the ellipse
  EXPECT_EQ(Px(Bkg.Bitmap(), 25, 16), Rgb(255, 255, 255)); // above the band
  // Nothing covered: nothing pasted.
  HB.Pixels = false;
  EXPECT_FALSE(PasteIntoSelection(HB, false));
}

TEST_F(PastTest, MergedCopiesAndEmptyCopies) {
  WindowHost HA(A);
  Select(A, {2, 2, 10, 8}, ssRect); // over the background and the layer's corner
  ClipboardData().AssignMerge(HA);
  TBitmap Bmp, Mask;
  ASSERT_TRUE(ClipboardData().GetImage(Bmp, Mask));
  ASSERT_EQ(Bmp.Width(), 8);
  EXPECT_EQ(Px(Bmp, 0, 0), Rgb(255, 255, 255)); // the background alone
  EXPECT_NE(Px(Bmp, 5, 5), Rgb(255, 255, 255)); // the layer blended over it
  EXPECT_TRUE(Mask.Empty());
  EXPECT_EQ(ClipboardData().Opacity(), 100);
  EXPECT_EQ(ClipboardData().BlendMode(), 0);
  EXPECT_EQ(ClipboardData().GetDPI(), 300);

  // A selection beside the current layer copies nothing and empties the
  // clipboard.
  Select(A, {40, 30, 50, 38}, ssRect);
  ClipboardData().AssignLayer(HA);
  EXPECT_FALSE(ClipboardData().CanPaste());
  EXPECT_EQ(ClipboardData().MaskAlpha.Empty(), true);
}

TEST_F(PastTest, TheCopySourceIsForgottenOnceItsImageIsResized) {
  WindowHost HA(A);
  Select(A, {6, 6, 12, 12}, ssRect);
  ClipboardData().AssignLayer(HA);
  ClipboardData().SetCopyPosition(HA, {6, 6});
  EXPECT_TRUE(ClipboardData().IsCopyImage(HA));
  EXPECT_EQ(ClipboardData().CopyPos(), (TPoint{6, 6}));
  A->Image->Image().Layers()[0].Bitmap().SetSize(61, 40);
  EXPECT_FALSE(ClipboardData().IsCopyImage(HA));
}

TEST_F(PastTest, TheRememberedShapeComesBackInAnotherSelection) {
  MemSel() = TMemSel{};
  EXPECT_FALSE(PasteSelectionShape(*B->Sel));
  TPointsDataEx D;
  D.Points = {{0, 0}, {10, 0}, {5, 8}};
  D.Bounds = PointsBounds(D.Points);
  A->Sel->ShapeManager().SetPoints(D);
  Select(A, {3, 4, 23, 20}, ssPolygon);
  CopySelectionShape(*A->Sel);
  EXPECT_EQ(MemSel().Flag, int(ssPolygon));
  ASSERT_TRUE(PasteSelectionShape(*B->Sel));
  EXPECT_EQ(B->Sel->Shape(), ssPolygon);
  EXPECT_EQ(B->Sel->BmpSelRect(), (TRect{3, 4, 23, 20}));
  EXPECT_EQ(B->Sel->ShapeManager().PointsCount(), 3);
}
