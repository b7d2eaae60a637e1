// The texture, frame and distortion dialogs opened from their menu items on
// a 40 x 30 layer: Aperçu shows what the routines give when called directly
// in an undo step of the same window, Annuler gives back the exact pixels
// and no undo step, Ok keeps the result as one undo step.
#include "FilterDialogFixture.h"

#include "filters/Blur24.h"
#include "filters/Distortions24.h"
#include "filters/Filtres24.h"
#include "filters/MatrixConst.h"
#include "filters/Patterns24.h"
#include "filters/ui/DistortForms.h"
#include "filters/ui/FrameForms.h"
#include "filters/ui/TextureForms.h"
#include "platform/Canvas.h"
#include "raster/Bitmap24.h"
#include "raster/ColorFill.h"
#include "raster/GreyMasks.h"
#include "raster/LayerPaint.h"
#include "raster/RandomGen.h"
#include "tools/Gradient.h"
#include "ui/ColorEdit.h"
#include "ui/MsgDlg.h"
#include "ui/RadioGroup.h"
#include "ui/SpinEdit.h"

#include <QCheckBox>
#include <QComboBox>

namespace {

using TWork = std::function<void(TMainForm&, TBitmap&, const TRect&)>;

struct TTextureCase {
  const char* Item;
  const char* TopMenu;
  const char* FormName;
  // Settings changed through the controls before Aperçu; may be empty.
  std::function<void(TFilterNForm*)> Change;
  // The routines the dialog's result must equal, run on the layer.
  TWork Reference;
};

template <class T> T* As(TFilterNForm* D) { return dynamic_cast<T*>(D); }

const TTextureCase Cases[] = {
    {"MenuFiltreCarreaux", "MenuFiltre", "TilesForm", nullptr,
     [](TMainForm& F, TBitmap& B, const TRect& R) {
       Tiles24(F.BmpUndo, B, 50, 7, clBlack, true, R);
       F.DessinerContour(clBlack, 1, true, QString());
     }},
    {"MenuFiltreMosaique", "MenuFiltre", "MosaicForm", nullptr,
     [](TMainForm& F, TBitmap& B, const TRect& R) {
       Mosaic24(B, 10, R);
       Grid24(B, 10, clBlack, 1, false, true, true, false, R);
       F.DessinerContour(clBlack, 1, true, QString());
     }},
    // Without relief, opacity 70: the unfiltered image shows through at 30 %.
    {"MenuFiltrePuzzle", "MenuFiltre", "PuzzleForm",
     [](TFilterNForm* D) {
       D->TBN->SetPosition(10);
       As<TPuzzleForm>(D)->CBRelief->setChecked(false);
       As<TPuzzleForm>(D)->ColorEdit->SetColor(0x0000FF);
     },
     [](TMainForm& F, TBitmap& B, const TRect& R) {
       TBitmap Work(R.Width(), R.Height(), pf24bit, clWhite);
       const TRect All{0, 0, Work.Width(), Work.Height()};
       Puzzle24(Work, 10, clBlack, 2, All);
       FeatherMask(Work, All, 777);
       FillColorMask24(Work, All, B, R.Left, R.Top, R, 0x0000FF, 100);
       F.DessinerContour(0x0000FF, 2, true, QString());
       CopyRect24Opacity(F.BmpUndo, R, B, R.Left, R.Top, R, 30);
     }},
    // With relief (the default): the embossed edges, a black outline.
    {"MenuFiltrePuzzle", "MenuFiltre", "PuzzleForm", [](TFilterNForm* D) { D->TBN->SetPosition(10); },
     [](TMainForm& F, TBitmap& B, const TRect& R) {
       TBitmap Work(R.Width() + 6, R.Height() + 6, pf24bit, clWhite);
       DrawPuzzleRelief(Work, 10, 2, 3, 2);
       ApplyTextureRelief24(Work, B, -3, -3, R, 100);
       F.DessinerContour(clBlack, 1, true, QString());
       CopyRect24Opacity(F.BmpUndo, R, B, R.Left, R.Top, R, 30);
     }},
    {"MenuFiltreQuadrillage", "MenuFiltre", "GridForm",
     [](TFilterNForm* D) {
       D->TBN->SetPosition(10);
       As<TGridForm>(D)->CBHorz->setChecked(false);
       As<TGridForm>(D)->CBRelief->setChecked(true);
     },
     [](TMainForm& F, TBitmap& B, const TRect& R) {
       Grid24(B, 10, clBlack, 1, false, true, false, false, R);
       ConvolveMatrix3x3(B, MatReliefMild, 100, R);
       F.DessinerContour(clBlack, 1, true, QString());
     }},
    // The rising diagonal only, without the grid.
    {"MenuFiltreCroix", "MenuFiltre", "CrossPointForm",
     [](TFilterNForm* D) {
       As<TCrossPointForm>(D)->CmbStyle->setCurrentIndex(1);
       As<TCrossPointForm>(D)->CBGrid->setChecked(false);
     },
     [](TMainForm& F, TBitmap& B, const TRect& R) { CrossHatch24(F.BmpUndo, B, clWhite, 11, 2, false, true, R); }},
    {"MenuFiltreCroix", "MenuFiltre", "CrossPointForm",
     [](TFilterNForm* D) { As<TCrossPointForm>(D)->CmbStyle->setCurrentIndex(3); },
     [](TMainForm& F, TBitmap& B, const TRect& R) {
       Triangles24(F.BmpUndo, B, clWhite, 11, false, true, R);
       Grid24(B, 11, clBlack, 1, false, true, true, false, R);
       F.DessinerContour(clBlack, 1, true, QString());
     }},
    {"MenuEncadrementEncadrer", "MenuFiltre", "FrameForm",
     [](TFilterNForm* D) { As<TFrameForm>(D)->SEWidth->SetValue(5); },
     [](TMainForm&, TBitmap& B, const TRect& R) {
       for (const TRect Band : {TRect{0, 0, 40, 5}, TRect{0, 25, 40, 30}, TRect{0, 5, 5, 25}, TRect{35, 5, 40, 25}})
         FillColorOnLayer(clWhite, B, nullptr, Band, 60);
       (void)R;
     }},
    // Rounded "Elevé": corners of 60, the mask blurred by 2.
    {"MenuEncadrementDiapositive", "MenuFiltre", "SlideForm",
     [](TFilterNForm* D) { As<TSlideForm>(D)->RGRound->SetItemIndex(1); },
     [](TMainForm&, TBitmap& B, const TRect& R) {
       TBitmap Mask(40, 30, pf24bit, clBlack);
       TCanvas Canvas(&Mask);
       Canvas.Pen.Color = clWhite;
       Canvas.Brush.Color = clWhite;
       Canvas.RoundRect(10, 10, 30, 20, 60, 60);
       GaussianBlurRadius(Mask, 2, R);
       FillColorMask24(Mask, R, B, 0, 0, R, clBlack, 100);
     }},
    {"MenuEncadrementBouton3D", "MenuFiltre", "Button3DForm",
     [](TFilterNForm* D) {
       As<TButton3DForm>(D)->SEWidth->SetValue(5);
       As<TButton3DForm>(D)->RBDouble->setChecked(true);
     },
     [](TMainForm&, TBitmap& B, const TRect&) {
       Bevel3D24(B, {5, 5, 35, 25}, 5, 70, false);
       Bevel3D24(B, {10, 10, 30, 20}, 2, 70, true);
     }},
    {"MenuEncadrementRelief", "MenuFiltre", "Frame3DForm", nullptr,
     [](TMainForm& F, TBitmap& B, const TRect& R) {
       Bevel3D24(B, {4, 4, 36, 26}, 4, 60, false);
       Bevel3D24(B, {12, 12, 28, 18}, 4, 60, true);
       GaussianBlurRadius(B, 1, R);
       CopyRect24(F.BmpUndo, {12, 12, 28, 18}, B, 12, 12, {12, 12, 28, 18});
     }},
    // A frame too wide for an inner part: both bevels' band blurred whole,
    // nothing of the unfiltered middle copied back.
    {"MenuEncadrementRelief", "MenuFiltre", "Frame3DForm",
     [](TFilterNForm* D) { D->TBN->SetPosition(9); },
     [](TMainForm&, TBitmap& B, const TRect& R) {
       Bevel3D24(B, {9, 9, 31, 21}, 9, 60, false);
       GaussianBlurRadius(B, 3, R);
     }},
    {"MenuFiltreOnde", "MenuFiltre", "RippleForm",
     [](TFilterNForm* D) {
       As<TRippleForm>(D)->TB2->SetPosition(14);
       As<TRippleForm>(D)->RBAxe2->setChecked(true);
     },
     [](TMainForm& F, TBitmap& B, const TRect& R) { WavesFromSource(F.BmpUndo, B, 20, 14, false, R); }},
    {"MenuFiltreMasqueRadial", "MenuFiltre", "RadialMaskForm",
     [](TFilterNForm* D) { As<TRadialMaskForm>(D)->CBMax->setChecked(true); },
     [](TMainForm&, TBitmap& B, const TRect& R) {
       FillColor24(B, clWhite, 100, R);
       RadialGradient24(B, clBlack, 20, 15, 15, 30, 2.0, R);
       GaussianBlurRadius(B, 3, R);
     }},
};

class TextureDialogsTest : public FilterDialogFixture, public ::testing::WithParamInterface<TTextureCase> {
protected:
  TFilterNForm* OpenCase(const TTextureCase& C) {
    emit Form->MenuNamed(QString::fromLatin1(C.TopMenu))->aboutToShow();
    QAction* A = Form->MenuItem(QString::fromLatin1(C.Item));
    if (!A || !A->isEnabled()) return nullptr;
    A->trigger();
    auto* D = Form->findChild<TFilterNForm*>(QString::fromLatin1(C.FormName));
    return D && D->isVisible() ? D : nullptr;
  }
  // The reference run inside an undo step of the window, then cancelled.
  std::unique_ptr<TBitmap> Reference(const TWork& Work, TModifInfo Info = miFiltre) {
    Form->PreparerUndo(Info, "Reference");
    Work(*Form, Form->LeBitmap(), Form->LaSelection());
    auto E = std::make_unique<TBitmap>();
    E->Assign(Form->LeBitmap());
    Form->AnnulerFiltre(true);
    return E;
  }
};

TEST_P(TextureDialogsTest, PreviewMatchesTheRoutinesCancelRestoresOkKeepsOneStep) {
  const TTextureCase& C = GetParam();
  const TFixedRandomize Seed(11);
  const auto Expected = Reference(C.Reference);
  ASSERT_TRUE(ImagesMatch(Form->LeBitmap(), Original));
  ASSERT_EQ(UndoSteps(), 0);

  TFilterNForm* D = OpenCase(C);
  ASSERT_TRUE(D) << C.Item;
  EXPECT_FALSE(D->windowTitle().isEmpty());
  if (C.Change) C.Change(D);
  Click(D->BApercu);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), *Expected);
  Click(D->BAnnuler);
  EXPECT_FALSE(D->isVisible());
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
  EXPECT_EQ(UndoSteps(), 0);

  D = OpenCase(C);
  ASSERT_TRUE(D) << C.Item;
  if (C.Change) C.Change(D);
  Click(D->BOk);
  EXPECT_FALSE(D->isVisible());
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), *Expected);
  EXPECT_EQ(UndoSteps(), 1);
  emit Form->MenuNamed("MenuEdition")->aboutToShow();
  Form->MenuItem("MenuEditionUndo")->trigger();
  EXPECT_EQ(UndoSteps(), 0);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
}

INSTANTIATE_TEST_SUITE_P(Dialogs, TextureDialogsTest, ::testing::ValuesIn(Cases),
                         [](const ::testing::TestParamInfo<TTextureCase>& I) {
                           return std::string(I.param.FormName) + std::to_string(I.index);
                         });

// The wide-angle correction previews with nearest sampling and keeps the
// bilinear result on Ok, on the background, as one step.
TEST_F(FilterDialogFixture, FisheyePreviewsNearestAndKeepsBilinear) {
  const auto Corrected = [this](bool Bilinear) {
    auto B = std::make_unique<TBitmap>();
    B->Assign(Original);
    (Bilinear ? FisheyeBilinear24 : FisheyeNearest24)(Original, *B, 2.5, -20);
    return B;
  };
  auto* D = Open<TFisheyeForm>("MenuImageFisheye", "MenuImage");
  ASSERT_TRUE(D);
  EXPECT_FALSE(D->TBN);
  D->SEHeight->SetValue(-20.0);
  Click(D->BApercu);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), *Corrected(false));
  Click(D->BOk);
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), *Corrected(true));
  EXPECT_EQ(UndoSteps(), 1);
  emit Form->MenuNamed("MenuEdition")->aboutToShow();
  Form->MenuItem("MenuEditionUndo")->trigger();
  EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
}

// The size checks: too small a work rect for the settings warns once and
// leaves the image as it was; one pixel more is accepted.
TEST_F(FilterDialogFixture, TooSmallAWorkRectIsRefusedWithAWarning) {
  QStringList Warnings;
  TScopedMsgDlgAnswers Answers([&](const TMsgDlgRequest& R) {
    Warnings << R.Msg;
    return TMsgDlgAnswer{mrOk, {}};
  });
  struct TSizeCase {
    const char* Item;
    std::function<void(TFilterNForm*, bool)> Set; // Fits: the largest refused + 1
  };
  const TSizeCase SizeCases[] = {
      // Cells of 15 need 30 pixels: the layer is 30 high.
      {"MenuFiltreMosaique", [](TFilterNForm* D, bool Fits) { D->TBN->SetPosition(Fits ? 15 : 16); }},
      // A frame of 15 needs 31.
      {"MenuEncadrementEncadrer",
       [](TFilterNForm* D, bool Fits) { dynamic_cast<TFrameForm*>(D)->SEWidth->SetValue(Fits ? 14 : 15); }},
      // A double 3D button of 7 needs 30.
      {"MenuEncadrementBouton3D",
       [](TFilterNForm* D, bool Fits) {
         dynamic_cast<TButton3DForm*>(D)->RBDouble->setChecked(true);
         dynamic_cast<TButton3DForm*>(D)->SEWidth->SetValue(Fits ? 7 : 8);
       }},
  };
  for (const TSizeCase& S : SizeCases) {
    emit Form->MenuNamed("MenuFiltre")->aboutToShow();
    Form->MenuItem(S.Item)->trigger();
    TFilterNForm* D = nullptr;
    for (TFilterNForm* F : Form->findChildren<TFilterNForm*>())
      if (F->isVisible()) D = F;
    ASSERT_TRUE(D && D->isVisible()) << S.Item;
    Warnings.clear();
    S.Set(D, false);
    Click(D->BApercu);
    EXPECT_EQ(Warnings.size(), 1) << S.Item;
    EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
    S.Set(D, true);
    Click(D->BApercu);
    EXPECT_EQ(Warnings.size(), 1) << S.Item;
    EXPECT_FALSE(ImagesMatch(Form->LeBitmap(), Original)) << S.Item;
    Click(D->BAnnuler);
    EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original);
  }
}

} // namespace
