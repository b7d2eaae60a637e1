// The direct Filter and Adjust commands run from their menu items on a real
// frame: each gives the pixels of its routine sequence called directly, in
// an undo step of its kind and title; the automatic corrections measure the
// centre of the picture and leave no trace where there is nothing to do;
// the quick-adjust buttons take back the opposite step exactly; and no item
// of the Filter and Adjust menus that is enabled does nothing.
#include "MainFormFixture.h"

#include "../support/ImageCompare.h"
#include "../support/Pixels.h"
#include "app/ui/MainForm.h"
#include "document/Undo.h"
#include "filters/Blur24.h"
#include "filters/Distortions24.h"
#include "filters/Filtres24.h"
#include "filters/FiltresComposes.h"
#include "filters/MatrixConst.h"
#include "filters/Patterns24.h"
#include "filters/TexturePictures.h"
#include "raster/Bitmap24.h"
#include "raster/RandomGen.h"
#include "tools/ui/Outils.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <QToolBar>

#include <functional>

namespace {

// What a reference sequence gets: the layer bitmap, the untouched copy and
// the work rectangle.
using TReference = std::function<void(TBitmap&, const TBitmap&, const TRect&)>;

struct TDirectCase {
  const char* Item;
  int Kind;
  const char* Title;
  TReference Run;
};

void Aged(TBitmap& B, bool Sepia, const TRect& R) {
  Grayscale24(B, R);
  if (Sepia) GammaRGB24(B, 1.2, 1.0, 0.5, R);
  Contrast24(B, 20, R);
  MonoNoise24(B, 15, R);
  ConvolveMatrix3x3(B, MatReliefMild, 100, R);
  Contrast24(B, -10, R);
}

void Colorize(TBitmap& B, int PR, int PG, int PB, const TRect& R) {
  Grayscale24(B, R);
  BrightnessRGB24(B, PR, PG, PB, R);
}

TRect WholeOf(const TBitmap& B) { return {0, 0, B.Width(), B.Height()}; }

// The texture laid over the picture: tiled at Amount with red skipped, or
// as a tone.
void Texture(TBitmap& B, const char* Name, int Amount, bool Tiled, const TRect& R) {
  TBitmap T;
  ASSERT_TRUE(TexturePicture(Name, T));
  T.SetPixelFormat(pf24bit);
  if (Tiled)
    TileBitmap24ColorKey(T, B, 0, 0, R, Amount, clRed, 7);
  else
    ApplyTextureTone24(T, B, R, Amount);
}

const std::vector<TDirectCase>& DirectCases() {
  using B_ = TBitmap;
  static const std::vector<TDirectCase> Cases = {
      {"MenuFiltreAdoucir", miFiltre, "Adoucir",
       [](B_& B, const B_&, const TRect& R) { ConvolveMatrix3x3(B, MatSoftenMild, 100, R); }},
      {"MenuFiltreFlou", miFiltre, "Flou", [](B_& B, const B_&, const TRect& R) { BoxBlur3x3(B, R); }},
      {"MenuFiltreLisser", miFiltre, "Lisser", [](B_& B, const B_&, const TRect& R) { Smooth24(B, 100, R); }},
      {"MenuFiltreContoursNet", miFiltre, "Contours nets",
       [](B_& B, const B_& U, const TRect& R) { SharperContours24(B, U, R); }},
      {"MenuFiltreDurcir", miFiltre, "Netteté",
       [](B_& B, const B_&, const TRect& R) { ConvolveMatrix3x3(B, MatSharpen, 100, R); }},
      {"MenuFiltreFlouInt", miFiltre, "Flou intelligent",
       [](B_& B, const B_& U, const TRect& R) { InnerBlur24(B, U, R); }},
      {"MenuFiltreRelief1", miFiltre, "Relief adouci",
       [](B_& B, const B_&, const TRect& R) { ConvolveMatrix3x3(B, MatReliefMild, 100, R); }},
      {"MenuFiltreRelief2", miFiltre, "Relief",
       [](B_& B, const B_&, const TRect& R) { ConvolveMatrix3x3(B, MatRelief, 100, R); }},
      {"MenuFiltreContoursEncres", miFiltre, "Contours encrés",
       [](B_& B, const B_&, const TRect& R) { InkedContours24(B, R); }},
      // Without a mask the bitmap-and-mask kinds record the bitmap only.
      {"MenuFiltreBrume2", miFiltre, "Brume",
       [](B_& B, const B_&, const TRect& R) { Fog24(B, nullptr, clWhite, 50, R); }},
      {"MenuFiltreBrume1", miFiltre, "Brume",
       [](B_& B, const B_&, const TRect& R) { Fog24(B, nullptr, clBlack, 50, R); }},
      {"MenuFiltreFlouArt", miFiltre, "Flou artistique",
       [](B_& B, const B_& U, const TRect& R) {
         GaussianBlurRadius(B, 12, R);
         CopyRect24Opacity(U, WholeOf(U), B, 0, 0, R, 33);
       }},
      {"MenuFiltreFragmenter", miFiltre, "Fragmenter",
       [](B_& B, const B_& U, const TRect& R) { Fragment24(B, U, R); }},
      {"MenuFiltreVerre", miFiltre, "Verre", [](B_& B, const B_& U, const TRect& R) { Glass24(B, U, 7, R); }},
      {"MenuFiltreReflet", miFiltre, "Reflet",
       [](B_& B, const B_& U, const TRect& R) { WaterReflection24(U, B, 6, 10, clWhite, R); }},
      {"MenuFiltreDiffusion", miFiltre, "Diffusion", [](B_& B, const B_&, const TRect& R) { Diffuse24(B, 1, 0, R); }},
      {"MenuFiltreVieillir1", miFiltre, "Vieillir Noir et blanc ancien",
       [](B_& B, const B_&, const TRect& R) { Aged(B, false, R); }},
      {"MenuFiltreVieillir2", miFiltre, "Vieillir Sépia", [](B_& B, const B_&, const TRect& R) { Aged(B, true, R); }},
      {"MenuFiltreVieillir3", miFiltre, "Photo ancienne", [](B_& B, const B_&, const TRect& R) { OldPhoto24(B, R); }},
      {"MenuFiltrePapier", miFiltre, "Papier à lettres",
       [](B_& B, const B_&, const TRect& R) { EmbossedPaper24(B, R); }},
      {"MenuFiltrePhotocopie", miFiltre, "Photocopie", [](B_& B, const B_&, const TRect& R) { Photocopy24(B, R); }},
      {"MenuFiltrePlatre", miFiltre, "Plâtre",
       [](B_& B, const B_&, const TRect& R) {
         ConvolveMatrix3x3(B, MatPlaster, 100, R);
         Negative24(B, R);
         Grayscale24(B, R);
       }},
      {"MenuFiltreContoursCouleurs", miFiltre, "Contours en couleurs",
       [](B_& B, const B_& U, const TRect& R) { ColorContours24(B, U, R); }},
      {"MenuFiltreContours", miFiltre, "Contours",
       [](B_& B, const B_&, const TRect& R) { BlackContours24(B, 7, true, R); }},
      {"MenuFiltreCraie", miFiltre, "Craie blanche", [](B_& B, const B_&, const TRect& R) { WhiteChalk24(B, R); }},
      {"MenuFiltreTeinteSepia", miFiltre, "Sépia",
       [](B_& B, const B_&, const TRect& R) {
         Grayscale24(B, R);
         GammaRGB24(B, 1.2, 1.0, 0.5, R);
       }},
      {"MenuFiltreSaturer", miFiltre, "Saturer", [](B_& B, const B_&, const TRect& R) { Saturation24(B, 50, R); }},
      {"MenuFiltreDesaturer", miFiltre, "Désaturer",
       [](B_& B, const B_&, const TRect& R) { Saturation24(B, -70, R); }},
      {"MenuFiltreNuit", miFiltre, "Effet de nuit",
       [](B_& B, const B_&, const TRect& R) {
         Gamma24(B, 0.5, R);
         GammaRGB24(B, 0.6, 0.6, 1.1, R);
       }},
      {"MenuFiltreSoleil", miFiltre, "Coucher de soleil",
       [](B_& B, const B_&, const TRect& R) {
         Gamma24(B, 0.5, R);
         GammaRGB24(B, 3.0, 0.9, 0.9, R);
       }},
      {"MenuFiltreTeinteBleu", miFiltre, "Coloriser Bleu",
       [](B_& B, const B_&, const TRect& R) { Colorize(B, -5, -5, 30, R); }},
      {"MenuFiltreTeinteVert", miFiltre, "Coloriser Vert",
       [](B_& B, const B_&, const TRect& R) { Colorize(B, -5, 20, -5, R); }},
      {"MenuFiltreTeinteRouge", miFiltre, "Coloriser Rouge",
       [](B_& B, const B_&, const TRect& R) { Colorize(B, 30, -5, -5, R); }},
      {"MenuFiltreTeinteViolet", miFiltre, "Coloriser Violet",
       [](B_& B, const B_&, const TRect& R) { Colorize(B, 20, -5, 20, R); }},
      {"MenuFiltreTeinteJaune", miFiltre, "Coloriser Jaune",
       [](B_& B, const B_&, const TRect& R) { Colorize(B, 10, 10, -88, R); }},
      {"MenuLignes1", miFiltre, "Lignes",
       [](B_& B, const B_&, const TRect& R) { HorizontalStripes24(B, 1, 1, clBlack, 40, R); }},
      {"MenuLignes2", miFiltre, "Lignes",
       [](B_& B, const B_&, const TRect& R) { HorizontalStripes24(B, 1, 1, clWhite, 40, R); }},
      {"MenuTextureCraquelure", miFiltre, "Craquelure",
       [](B_& B, const B_&, const TRect& R) {
         Texture(B, "TXT3", 12, false, R);
         ConvolveMatrix3x3(B, MatRelief, 77, R);
       }},
      {"MenuTextureMaillageFin", miFiltre, "Maillage fin",
       [](B_& B, const B_&, const TRect& R) { Texture(B, "TXT5", 22, true, R); }},
      {"MenuTextureMailleLarge", miFiltre, "Maille large",
       [](B_& B, const B_&, const TRect& R) { Texture(B, "TXT6", 22, true, R); }},
      {"MenuTextureToile", miFiltre, "Vieille toile",
       [](B_& B, const B_&, const TRect& R) {
         Texture(B, "TXT5", 17, true, R);
         Texture(B, "TXT8", 15, false, R);
         ConvolveMatrix3x3(B, MatRelief, 77, R);
       }},
      {"MenuTextureGres", miFiltre, "Grès",
       [](B_& B, const B_&, const TRect& R) {
         Texture(B, "TXT1", 10, false, R);
         ConvolveMatrix3x3(B, MatRelief, 100, R);
       }},
      {"MenuTexturePapier", miFiltre, "Papier granuleux",
       [](B_& B, const B_& U, const TRect& R) {
         Texture(B, "TXT1", 10, false, R);
         ConvolveMatrix3x3(B, MatRelief, 100, R);
         CopyRect24Opacity(U, WholeOf(U), B, 0, 0, R, 77);
       }},
      {"MenuTextureZebre", miFiltre, "Zèbre", [](B_& B, const B_&, const TRect& R) { Texture(B, "TXT2", 12, false, R); }},
      {"MenuTextureGrille", miFiltre, "Grille",
       [](B_& B, const B_&, const TRect& R) { Texture(B, "TXT7", 33, false, R); }},
      {"MenuTextureZigzag", miFiltre, "Zigzag",
       [](B_& B, const B_&, const TRect& R) { Texture(B, "TXT4", 33, false, R); }},
      {"MenuReglageTonsSombres", miFiltre, "Éclaircir les tons sombres",
       [](B_& B, const B_&, const TRect& R) { BandContrast24(B, 33, 0, 100, 100, R); }},
      {"MenuReglageTonsClairs", miFiltre, "Assombrir les tons clairs",
       [](B_& B, const B_&, const TRect& R) { BandContrast24(B, 33, 150, 255, 150, R); }},
      {"MenuReglageNegatif", miFiltre, "Négatif", [](B_& B, const B_&, const TRect& R) { Negative24(B, R); }},
      {"MenuReglageTramage", miFiltre, "Tramage",
       [](B_& B, const B_&, const TRect& R) { DitherFloydSteinberg24(B, R); }},
  };
  return Cases;
}

class MainFormFiltersTest : public MainFormFixture {
protected:
  void SetUp() override {
    MainFormFixture::SetUp();
    Form = Start();
  }
  void TearDown() override {
    Form.reset();
    MainFormFixture::TearDown();
  }
  // A random picture whose values stay within Lo..Hi.
  TNewImgForm* Open(int W = 40, int H = 30, int Lo = 0, int Hi = 255) {
    TBitmap B(W, H);
    FillRandom(B, 7);
    for (int Y = 0; Y < H; ++Y)
      for (uint8_t *P = B.ScanLine(Y), *End = P + 3 * W; P < End; ++P) *P = uint8_t(Lo + *P * (Hi - Lo) / 255);
    return OpenBitmap(B);
  }
  TNewImgForm* OpenBitmap(const TBitmap& B) {
    TNewImgForm* W = Form->NouvelleImage(nullptr, &B, QString(), srcNew, 16777216);
    QCoreApplication::processEvents();
    return W;
  }
  QAction* Button(const char* Name) { return Form->ToolBar(3)->findChild<QAction*>(Name); }
  const TUndoItem* Step() { return Form->ListeUndo().CurrentUndo(); }
  std::unique_ptr<TMainForm> Form;
};

} // namespace

TEST_F(MainFormFiltersTest, EachDirectFilterRunsItsSequenceInAStepOfItsKind) {
  Open();
  for (const TDirectCase& C : DirectCases()) {
    SCOPED_TRACE(C.Item);
    TBitmap Original, Expected;
    Original.Assign(Form->LeFond());
    Expected.Assign(Original);
    {
      TFixedRandomize Fixed(11);
      C.Run(Expected, Original, WholeOf(Original));
    }
    QAction* Item = Form->MenuItem(C.Item);
    Form->MenuNamed("MenuFiltre")->aboutToShow();
    Form->MenuNamed("MenuReglage")->aboutToShow();
    ASSERT_TRUE(Item->isEnabled());
    {
      TFixedRandomize Fixed(11);
      Item->trigger();
    }
    EXPECT_IMAGES_MATCH(Form->LeFond(), Expected);
    ASSERT_NE(Step(), nullptr);
    EXPECT_EQ(Form->ListeUndo().Count(), 1);
    EXPECT_EQ(Step()->GetFlag(2), C.Kind);
    EXPECT_EQ(Step()->Caption, QString::fromUtf8(C.Title));
    EXPECT_EQ(Form->LastFilter().Sender, Item);
    EXPECT_EQ(Form->LastFilter().Caption, QString::fromUtf8(C.Title));
    // Undo gives the fixture back for the next item.
    Form->MenuItem("MenuEditionUndo")->trigger();
    ASSERT_TRUE(ImagesMatch(Form->LeFond(), Original));
  }
}

TEST_F(MainFormFiltersTest, TheButtonOfAFilterRunsItAsItsMenuItem) {
  Open();
  TBitmap Expected;
  Expected.Assign(Form->LeFond());
  ConvolveMatrix3x3(Expected, MatReliefMild, 100, WholeOf(Expected));
  Button("BtnRelief")->trigger();
  EXPECT_IMAGES_MATCH(Form->LeFond(), Expected);
  EXPECT_EQ(Step()->Caption, "Relief adouci");
  EXPECT_EQ(Form->LastFilter().Sender, Form->MenuItem("MenuFiltreRelief1"));
  Form->MenuNamed("MenuEdition")->aboutToShow();
  Form->MenuItem("MenuEditionRepeter")->trigger();
  ConvolveMatrix3x3(Expected, MatReliefMild, 100, WholeOf(Expected));
  EXPECT_IMAGES_MATCH(Form->LeFond(), Expected);
  EXPECT_EQ(Form->ListeUndo().Count(), 2);
}

TEST_F(MainFormFiltersTest, ColorizeRepeatsUnderItsJoinedTitle) {
  Open();
  Form->MenuItem("MenuFiltreTeinteJaune")->trigger();
  Form->MenuNamed("MenuEdition")->aboutToShow();
  EXPECT_EQ(Form->MenuItem("MenuEditionRepeter")->text(), "Répéter Coloriser Jaune");
}

TEST_F(MainFormFiltersTest, FogOnAMaskWhilePaintingOnAlphaFogsTheMaskAndUndoesBoth) {
  Open();
  TMyImageLayered& Img = Form->Image();
  TBitmap Layer(20, 16), Mask(20, 16, pf24bit, clBlack);
  FillRandom(Layer, 3);
  for (int Y = 0; Y < 16; ++Y) SetPx(Mask, Y, Y, Grey(200));
  Img.SetLayerIndex(Img.AddLayer(&Layer, &Mask, {4, 4}, 100, "Calque"));
  Form->LayerNav()->Synchronize(true);
  ASSERT_TRUE(Form->DessinerSurAlpha());
  TBitmap Bmp, Msk, ExpectedBmp, ExpectedMask;
  Bmp.Assign(Form->LeBitmap());
  Msk.Assign(Form->LeMasque());
  ExpectedBmp.Assign(Bmp);
  ExpectedMask.Assign(Msk);
  {
    TFixedRandomize Fixed(5);
    Fog24(ExpectedBmp, &ExpectedMask, clBlack, 50, WholeOf(Bmp));
    Form->MenuItem("MenuFiltreBrume1")->trigger();
  }
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), ExpectedBmp);
  EXPECT_IMAGES_MATCH(Form->LeMasque(), ExpectedMask);
  EXPECT_EQ(Step()->GetFlag(2), miFiltreBM_D);
  Form->MenuItem("MenuEditionUndo")->trigger();
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Bmp);
  EXPECT_IMAGES_MATCH(Form->LeMasque(), Msk);
}

TEST_F(MainFormFiltersTest, EllipseKeepsTransparencyOutsideAndCannotBeFaded) {
  // On an opaque picture the corners take the palette's background colour.
  Open();
  ASSERT_NE(Form->Palette(), nullptr);
  Form->Palette()->SetColor(0x20A040, true);
  TBitmap Original, Expected;
  Original.Assign(Form->LeFond());
  Expected.Assign(Original);
  EllipseDistort24(Original, Expected, 0x20A040, WholeOf(Original), amBicubic);
  Form->MenuItem("MenuFiltreEllipse")->trigger();
  EXPECT_IMAGES_MATCH(Form->LeFond(), Expected);
  EXPECT_EQ(Px(Form->LeFond(), 0, 0), Rgb(0x40, 0xA0, 0x20));
  EXPECT_EQ(Step()->GetFlag(8), 1);
  Form->MenuNamed("MenuEdition")->aboutToShow();
  EXPECT_FALSE(Form->MenuItem("MenuAttenuer")->isEnabled());

  // On a layer with transparency the corners stay transparent and white.
  TMyImageLayered& Img = Form->Image();
  TBitmap Layer(30, 24), Mask(30, 24, pf24bit, clBlack);
  FillRandom(Layer, 4);
  Img.SetLayerIndex(Img.AddLayer(&Layer, &Mask, {2, 2}, 100, "Calque"));
  Form->LayerNav()->Synchronize(true);
  SetPx(Form->LeMasque(), 15, 12, Grey(255));
  Form->MenuItem("MenuFiltreEllipse")->trigger();
  EXPECT_EQ(Step()->GetFlag(2), miFiltreBM);
  EXPECT_EQ(Px(Form->LeMasque(), 0, 0), Grey(255));
  EXPECT_EQ(Px(Form->LeBitmap(), 0, 0), Grey(255));
  EXPECT_EQ(Px(Form->LeMasque(), 15, 5), Grey(0));
}

TEST_F(MainFormFiltersTest, OnePixelInTwoDarkensACheckerboardAnchoredAtTheOrigin) {
  TBitmap Grey128(6, 4, pf24bit, 0x808080);
  OpenBitmap(Grey128);
  Form->MenuItem("MenuTexture12")->trigger();
  for (int Y = 0; Y < 4; ++Y)
    for (int X = 0; X < 6; ++X) {
      SCOPED_TRACE(testing::Message() << X << "," << Y);
      // 128 mixed 55 % towards black.
      EXPECT_EQ(Px(Form->LeFond(), X, Y), (X + Y) % 2 == 0 ? Grey(58) : Grey(128));
    }
}

TEST_F(MainFormFiltersTest, TexturePicturesHaveTheirSizesAndDepths) {
  struct TCase {
    const char* Name;
    int W, H;
    TPixelFormat Format;
  };
  for (const TCase& C : {TCase{"TXT1", 32, 32, pf1bit}, {"TXT2", 96, 96, pf1bit}, {"TXT3", 96, 96, pf1bit},
                         {"TXT4", 8, 9, pf4bit}, {"TXT5", 6, 6, pf4bit}, {"TXT6", 20, 18, pf4bit},
                         {"TXT7", 9, 9, pf4bit}, {"TXT8", 135, 71, pf1bit}}) {
    SCOPED_TRACE(C.Name);
    TBitmap T;
    ASSERT_TRUE(TexturePicture(C.Name, T));
    EXPECT_EQ(T.Width(), C.W);
    EXPECT_EQ(T.Height(), C.H);
    EXPECT_EQ(T.PixelFormat(), C.Format);
    // Each draws something: black texels and others.
    T.SetPixelFormat(pf24bit);
    int Black = 0;
    for (int Y = 0; Y < C.H; ++Y)
      for (int X = 0; X < C.W; ++X) Black += Px(T, X, Y) == Grey(0) || Px(T, X, Y) == Grey(0x40);
    EXPECT_GT(Black, 0);
    EXPECT_LT(Black, C.W * C.H);
  }
  TBitmap None;
  EXPECT_FALSE(TexturePicture("TXT9", None));
  EXPECT_TRUE(None.Empty());
}

// ---- Automatic corrections ---------------------------------------------------------------------------------------

namespace {

// A black border of one fifth around a centre of greys Lo..Hi.
TBitmap* FramedGreys(TBitmap& B, int Lo, int Hi) {
  B.SetSize(50, 50);
  for (int Y = 0; Y < 50; ++Y)
    for (int X = 0; X < 50; ++X) {
      const bool Centre = X >= 10 && X < 40 && Y >= 10 && Y < 40;
      SetPx(B, X, Y, Centre ? Grey(Lo + (X - 10 + (Y - 10) * 30) * (Hi - Lo) / 899) : Grey(0));
    }
  return &B;
}

} // namespace

TEST_F(MainFormFiltersTest, EqualizeStretchesTheCentresRangeOverTheWholeImage) {
  TBitmap B(50, 50);
  OpenBitmap(*FramedGreys(B, 40, 200));
  TBitmap Expected;
  Expected.Assign(Form->LeFond());
  uint8_t Min = 0, Max = 0;
  LuminanceMinMax24(Expected, {10, 10, 40, 40}, Min, Max);
  Levels24(Expected, 1.0, Min, Max, 0, 255, WholeOf(Expected));
  Form->MenuItem("MenuReglageEgalisation")->trigger();
  EXPECT_IMAGES_MATCH(Form->LeFond(), Expected);
  EXPECT_EQ(Px(Form->LeFond(), 39, 39), Grey(255));
  EXPECT_EQ(Step()->Caption, "Égalisation automatique");
}

TEST_F(MainFormFiltersTest, EqualizeLeavesNoTraceWhenThereIsNothingToStretch) {
  // The full range already, a flat picture, a selection beside a small layer.
  TBitmap Full(50, 50);
  FramedGreys(Full, 0, 255);
  TBitmap Flat(50, 50, pf24bit, 0x646464);
  for (TBitmap* B : {&Full, &Flat}) {
    TNewImgForm* W = OpenBitmap(*B);
    Form->MenuItem("MenuReglageEgalisation")->trigger();
    EXPECT_IMAGES_MATCH(Form->LeFond(), *B);
    EXPECT_EQ(Form->ListeUndo().Count(), 0);
    EXPECT_FALSE(Form->LastFilter().Event);
    Form->FermerImage(W, true);
  }
  Open(50, 50, 40, 200);
  TBitmap Small(5, 5);
  FillRandom(Small, 9);
  Form->Image().SetLayerIndex(Form->Image().AddLayer(&Small, nullptr, {0, 0}, 100, "Calque"));
  Form->LayerNav()->Synchronize(true);
  Form->MenuSelToutClick();
  Form->Sel()->SetBmpSelRect({20, 20, 40, 40});
  for (const char* Item : {"MenuReglageEgalisation", "MenuReglageCtrAuto"}) {
    Form->MenuItem(Item)->trigger();
    EXPECT_EQ(Form->ListeUndo().Count(), 0) << Item;
  }
}

TEST_F(MainFormFiltersTest, AutoLevelsMovesEachMidToneMeanTowards133) {
  // Red's mid-tones average 133 already, green's 100, blue's 150.
  TBitmap B(20, 20);
  for (int Y = 0; Y < 20; ++Y)
    for (int X = 0; X < 20; ++X) SetPx(B, X, Y, X % 2 ? Rgb(123, 90, 140) : Rgb(143, 110, 160));
  OpenBitmap(B);
  TBitmap Expected;
  Expected.Assign(B);
  GammaRGB24(Expected, 1.0, 133.0 / 100, 133.0 / 150, WholeOf(B));
  Button("BtnAutoNiv")->trigger();
  EXPECT_IMAGES_MATCH(Form->LeFond(), Expected);
  EXPECT_EQ(Px(Form->LeFond(), 0, 0).Red, 143);
  EXPECT_EQ(Form->LastFilter().Sender, Form->MenuItem("MenuReglageNivAuto"));
}

TEST_F(MainFormFiltersTest, AutoLevelsWithoutMidTonesKeepsAnEmptyStepAndNoRepeat) {
  TBitmap B(20, 20, pf24bit, 0x10C080); // blue 16: no mid-tone in blue
  OpenBitmap(B);
  Form->MenuItem("MenuReglageNivAuto")->trigger();
  EXPECT_IMAGES_MATCH(Form->LeFond(), B);
  EXPECT_EQ(Form->ListeUndo().Count(), 1);
  EXPECT_FALSE(Form->LastFilter().Event);
}

TEST_F(MainFormFiltersTest, AutoContrastSharesTheBandsByTheirTones) {
  // As many dark as mid pixels and no light one: the dark band keeps its
  // contrast, the light band gains (50 - 0) / 2.
  TBitmap B(20, 20);
  for (int Y = 0; Y < 20; ++Y)
    for (int X = 0; X < 20; ++X) SetPx(B, X, Y, (X + Y) % 2 ? Grey(40) : Grey(120 + Y));
  OpenBitmap(B);
  TBitmap Expected;
  Expected.Assign(B);
  BandContrast24(Expected, 25, 128, 255, 128, WholeOf(B));
  Form->MenuItem("MenuReglageCtrAuto")->trigger();
  EXPECT_IMAGES_MATCH(Form->LeFond(), Expected);
  EXPECT_EQ(Px(Form->LeFond(), 1, 0), Grey(40));
  EXPECT_EQ(Form->ListeUndo().Count(), 1);
}

// ---- Quick-adjust buttons -------------------------------------------------------------------------------------------

TEST_F(MainFormFiltersTest, QuickPlusThenMinusGivesBackTheImageAndTheHistory) {
  for (const auto& [Minus, Plus] : {std::pair{"BtnLumMoins", "BtnLumPlus"}, std::pair{"BtnColMoins", "BtnColPlus"},
                                    std::pair{"BtnCtrMoins", "BtnCtrPlus"}, std::pair{"BtnGamMoins", "BtnGamPlus"}}) {
    SCOPED_TRACE(Plus);
    TNewImgForm* W = Open();
    Form->MenuItem("MenuFiltreFlou")->trigger();
    TBitmap Before;
    Before.Assign(Form->LeFond());
    Button(Plus)->trigger();
    EXPECT_EQ(Form->ListeUndo().Count(), 2);
    EXPECT_EQ(Step()->Caption, Button(Plus)->text());
    EXPECT_FALSE(ImagesMatch(Form->LeFond(), Before));
    Button(Plus)->trigger();
    Button(Minus)->trigger();
    Button(Minus)->trigger();
    EXPECT_IMAGES_MATCH(Form->LeFond(), Before);
    EXPECT_EQ(Form->ListeUndo().Count(), 1);
    EXPECT_EQ(Step()->Caption, "Flou");
    EXPECT_EQ(Form->ListeUndo().NextUndo(), nullptr);
    // No more steps of the other button: the minus step applies.
    Button(Minus)->trigger();
    EXPECT_EQ(Form->ListeUndo().Count(), 2);
    EXPECT_EQ(Step()->Caption, Button(Minus)->text());
    Form->FermerImage(W, true);
  }
}

TEST_F(MainFormFiltersTest, AQuickStepIsNotCancelledByAnotherPairOrAfterTheSelectionChanged) {
  Open();
  Button("BtnColPlus")->trigger();
  Button("BtnCtrMoins")->trigger();
  EXPECT_EQ(Form->ListeUndo().Count(), 2);

  Button("BtnCtrPlus")->trigger(); // cancels the contrast step
  EXPECT_EQ(Form->ListeUndo().Count(), 1);
  Form->MenuSelToutClick();
  Form->MasquerSelection();
  Button("BtnColMoins")->trigger();
  EXPECT_EQ(Form->ListeUndo().Count(), 2);
  EXPECT_EQ(Step()->Caption, Button("BtnColMoins")->text());
}

// ---- Every enabled item does something ----------------------------------------------------------------------------

namespace {

void CollectItems(QMenu* Menu, QList<QAction*>& Items) {
  for (QAction* Item : Menu->actions()) {
    if (Item->isSeparator() || !Item->isVisible()) continue;
    if (Item->menu())
      CollectItems(Item->menu(), Items);
    else
      Items << Item;
  }
}

QSet<QWidget*> ShownWindows() {
  QSet<QWidget*> Shown;
  for (QWidget* W : QApplication::topLevelWidgets())
    if (W->isVisible()) Shown.insert(W);
  return Shown;
}

} // namespace

TEST_F(MainFormFiltersTest, NoEnabledItemOfTheFilterAndAdjustMenusDoesNothing) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  int Tried = 0;
  Open(48, 40, 30, 220);
  TBitmap Fixture;
  Fixture.Assign(Form->LeFond());
  for (const char* Top : {"MenuFiltre", "MenuReglage"}) {
    QList<QAction*> Items;
    CollectItems(Form->MenuNamed(Top), Items);
    for (QAction* Item : Items) {
      SCOPED_TRACE(Item->objectName().toStdString());
      // The fixture as it was, without history or selection.
      Form->LeFond().Assign(Fixture);
      Form->ListeUndo().Clear();
      Form->MasquerSelection();
      Form->RefreshBitmap();
      Form->MenuNamed(Top)->aboutToShow();
      if (!Item->isEnabled()) continue;
      ++Tried;
      TBitmap Before;
      Before.Assign(Form->LeFond());
      const QSet<QWidget*> Shown = ShownWindows();
      const int Steps = Form->ListeUndo().Count();
      // A dialog that waits for its answer is closed as soon as it shows.
      QSet<QWidget*> Opened;
      const auto CloseNew = [&] {
        for (QWidget* Dialog : ShownWindows() - Shown) {
          Opened.insert(Dialog);
          Dialog->close();
        }
      };
      QTimer Closer;
      QObject::connect(&Closer, &QTimer::timeout, CloseNew);
      Closer.start(10);
      Item->trigger();
      QCoreApplication::processEvents();
      Closer.stop();
      const bool Changed = !ImagesMatch(Form->LeFond(), Before) || Form->ListeUndo().Count() != Steps;
      CloseNew();
      EXPECT_TRUE(Changed || !Opened.isEmpty());
      QCoreApplication::processEvents();
      Form->SetDialogueForm(nullptr);
    }
  }
  EXPECT_GT(Tried, 100);
}
