// The painting tools driven by the mouse on a real image window: what a
// stroke paints, that it is one undo step and that undo gives the original
// back, confinement to the selection, the stroke that loses its layer.
#include "MainFormFixture.h"

#include "document/Pattern.h"
#include "document/SelMask.h"
#include "document/ui/MyImageLayeredView.h"
#include "document/ui/SelectionControl.h"
#include "support/ImageCompare.h"
#include "support/Pixels.h"
#include "support/WaitFor.h"
#include "tools/ui/Outils.h"
#include "tools/ui/StrokeTools.h"
#include "ui/SpecialEdit.h"
#include "ui/SpinEdit.h"
#include "ui/TrackBar.h"

#include <QCheckBox>
#include <QDir>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolButton>

namespace {

class MainFormStrokeTest : public MainFormFixture {
protected:
  // The frame with its palette and one white W x H image.
  void Open(int W = 120, int H = 80, const TBitmap* Picture = nullptr) {
    Form = Start();
    ASSERT_TRUE(WaitUntil([this] { return Form->Palette() && Form->Palette()->isVisible(); }));
    Palette = Form->Palette();
    TBitmap White(W, H, pf24bit, clWhite);
    Window = Form->NouvelleImage(nullptr, Picture ? Picture : &White, QString(), srcNew, 16777216);
    ASSERT_NE(Window, nullptr);
    Form->MajMenus();
    Window->Image->SetZoom(1);
    QApplication::processEvents();
  }
  void Tool(int Id) {
    Form->ToolHooks()->SetTool(Id);
    ASSERT_EQ(Palette->Tool(), Id);
  }
  template <class T> T* C(const char* Name) { return Palette->Control<T>(Name); }
  QWidget* Viewport() const { return Window->Image->viewport(); }
  // The client point of image pixel (X, Y).
  QPoint At(int X, int Y) const {
    const TPoint P = Window->Image->BmpToClient(TPoint{X, Y});
    return {P.X, P.Y};
  }
  void Move(QPoint P, Qt::MouseButton Button = Qt::LeftButton, Qt::KeyboardModifiers Keys = {}) {
    QMouseEvent E(QEvent::MouseMove, P, Viewport()->mapToGlobal(P), Qt::NoButton, Button, Keys);
    QApplication::sendEvent(Viewport(), &E);
  }
  // Press at the first point, moves through the others, release at the last.
  void Stroke(std::initializer_list<QPoint> Points, Qt::MouseButton Button = Qt::LeftButton,
              Qt::KeyboardModifiers Keys = {}) {
    const QPoint* P = Points.begin();
    QTest::mousePress(Viewport(), Button, Keys, *P);
    for (++P; P != Points.end(); ++P) Move(*P, Button, Keys);
    QTest::mouseRelease(Viewport(), Button, Keys, *(Points.end() - 1));
  }
  // The square brush of radius R at full pressure, no spacing.
  void SquareBrush(int R) {
    Tool(6);
    QTest::mouseClick(C<QToolButton>("ToolButton3"), Qt::LeftButton);
    C<TSpinEdit2>("SERBrush")->SetValue(R);
    C<TTrackBar>("TBDessin")->SetPosition(10);
    C<TTrackBar>("TBBrushStep2")->SetPosition(0);
  }
  // A black 9 x 9 brush and an elliptical selection (20, 10, 100, 70) with
  // the smoothing Lissage.
  void PrepareEllipse(int Lissage) {
    SquareBrush(4);
    Palette->SetColor(clBlack, false);
    Form->Sel()->SetShape(ssEllipse);
    Form->Sel()->SetBmpSelRect({20, 10, 100, 70});
    Form->AfficherSelection();
    Form->SelLissage = Lissage;
  }
  TBitmap& Layer() const { return Form->LeBitmap(); }
  int UndoCount() const { return Form->ListeUndo().ItemIndex() + 1; }
  // Every pixel of R has colour Color and every other one White.
  static void ExpectOnly(const TBitmap& B, const TRect& R, TRGB Color, TRGB Other) {
    int Wrong = 0;
    for (int Y = 0; Y < B.Height(); ++Y)
      for (int X = 0; X < B.Width(); ++X)
        if (Px(B, X, Y) != (PtInRect(R, {X, Y}) ? Color : Other) && ++Wrong < 4)
          ADD_FAILURE() << "pixel " << X << "," << Y << " is " << ::testing::PrintToString(Px(B, X, Y));
    EXPECT_EQ(Wrong, 0);
  }

  std::unique_ptr<TMainForm> Form;
  TOutilsForm* Palette = nullptr;
  TNewImgForm* Window = nullptr;
};

TEST_F(MainFormStrokeTest, BrushStrokePaintsAlongTheDragAsOneUndoStep) {
  Open();
  SquareBrush(3);
  Palette->SetColor(0x0000FF, false);
  const PBitmap Before = Copy(Layer());
  const int Steps = UndoCount();
  Stroke({At(20, 20), At(40, 20), At(40, 50)});
  // The 7 x 7 square walked along both segments.
  int Wrong = 0;
  for (int Y = 0; Y < 80; ++Y)
    for (int X = 0; X < 120; ++X) {
      const bool In = (X >= 17 && X <= 43 && Y >= 17 && Y <= 23) || (X >= 37 && X <= 43 && Y >= 17 && Y <= 53);
      if (Px(Layer(), X, Y) != (In ? Rgb(255, 0, 0) : Grey(255))) ++Wrong;
    }
  EXPECT_EQ(Wrong, 0);
  EXPECT_EQ(UndoCount(), Steps + 1);
  EXPECT_EQ(Form->ListeUndo().CurrentUndo()->Caption.left(13), QStringLiteral("Outil Pinceau"));
  EXPECT_FALSE(Palette->IsDrawing());
  const PBitmap Painted = Copy(Layer());
  Form->Undo();
  EXPECT_IMAGES_MATCH(Layer(), *Before);
  Form->Redo();
  EXPECT_IMAGES_MATCH(Layer(), *Painted);
}

TEST_F(MainFormStrokeTest, RightButtonPaintsTheBackgroundAndShiftPressContinuesWithALine) {
  Open();
  SquareBrush(3);
  Palette->SetColor(0x00FF00, true);
  Stroke({At(10, 10)}, Qt::RightButton);
  EXPECT_EQ(Px(Layer(), 10, 10), Rgb(0, 255, 0));
  // Shift + press: a straight line from (10, 10), one more undo step.
  const int Steps = UndoCount();
  Stroke({At(30, 10)}, Qt::RightButton, Qt::ShiftModifier);
  for (int X = 9; X <= 31; ++X) EXPECT_EQ(Px(Layer(), X, 10), Rgb(0, 255, 0)) << X;
  EXPECT_EQ(UndoCount(), Steps + 1);
  // After choosing a tool again, Shift + press starts a normal stroke.
  SquareBrush(3);
  Stroke({At(60, 40)}, Qt::LeftButton, Qt::ShiftModifier);
  EXPECT_EQ(Px(Layer(), 45, 25), Grey(255));
}

TEST_F(MainFormStrokeTest, ShiftDuringTheDragLocksTheAxisChosenByTheFirstMove) {
  Open();
  SquareBrush(3);
  Palette->SetColor(clBlack, false);
  QTest::mousePress(Viewport(), Qt::LeftButton, {}, At(10, 40));
  Move(At(20, 42), Qt::LeftButton, Qt::ShiftModifier);
  Move(At(30, 60), Qt::LeftButton, Qt::ShiftModifier);
  QTest::mouseRelease(Viewport(), Qt::LeftButton, Qt::ShiftModifier, At(30, 60));
  EXPECT_EQ(Px(Layer(), 30, 40), Grey(0));
  EXPECT_EQ(Px(Layer(), 30, 60), Grey(255));
}

TEST_F(MainFormStrokeTest, EraserPaintsTheBackgroundColourAndItsOwnUndoStep) {
  Open();
  Tool(12);
  QTest::mouseClick(C<QToolButton>("ToolButton3"), Qt::LeftButton);
  C<TSpinEdit2>("SERBrush")->SetValue(3);
  C<TTrackBar>("TBDessin")->SetPosition(10);
  Palette->SetColor(0x123456, true);
  Stroke({At(50, 30), At(60, 30)});
  EXPECT_EQ(Px(Layer(), 55, 30), Rgb(0x56, 0x34, 0x12));
  EXPECT_EQ(Form->ListeUndo().CurrentUndo()->Caption.left(11), QStringLiteral("Outil Gomme"));
}

TEST_F(MainFormStrokeTest, StrokeInsideAnEllipseLeavesTheOutsideUntouched) {
  Open();
  PrepareEllipse(0); // no softening: the hard shape stays exact
  const auto Inside = MakeSelectionMask(Form->SelMaskHost(), 0);
  ASSERT_TRUE(Inside);
  Stroke({At(0, 40), At(119, 40)});
  // Outside unchanged; inside, the band of rows 36..44 painted.
  int Outside = 0, Missed = 0;
  for (int Y = 0; Y < 80; ++Y)
    for (int X = 0; X < 120; ++X) {
      const bool In = Px(*Inside, X, Y).Blue == 255;
      if (!In && Px(Layer(), X, Y) != Grey(255)) ++Outside;
      if (In && Y >= 36 && Y <= 44 && Px(Layer(), X, Y) != Grey(0) && ++Missed < 5)
        ADD_FAILURE() << X << "," << Y << " " << ::testing::PrintToString(Px(Layer(), X, Y));
    }
  EXPECT_EQ(Outside, 0);
  EXPECT_EQ(Missed, 0);
}

TEST_F(MainFormStrokeTest, SoftenedEdgeOnReleaseStaysInsideTheBand) {
  Open();
  PrepareEllipse(1);
  Stroke({At(0, 40), At(119, 40)});
  // The edge at the ellipse's left end is grey, the far outside white.
  EXPECT_EQ(Px(Layer(), 5, 40), Grey(255));
  EXPECT_EQ(Px(Layer(), 60, 40), Grey(0));
  bool Grey = false;
  for (int X = 18; X <= 26; ++X) Grey = Grey || (Px(Layer(), X, 40).Red > 0 && Px(Layer(), X, 40).Red < 255);
  EXPECT_TRUE(Grey);
}

TEST_F(MainFormStrokeTest, StrokeWhoseRecordIsUndoneOrWindowClosedEndsSafely) {
  Open();
  SquareBrush(3);
  Palette->SetColor(clBlack, false);
  const PBitmap Before = Copy(Layer());
  QTest::mousePress(Viewport(), Qt::LeftButton, {}, At(20, 20));
  Move(At(40, 20));
  const PBitmap Half = Copy(Layer());
  // Undo in the middle of the stroke: the stroke ends as one step, which is
  // undone; the later moves paint nothing.
  Form->Undo();
  EXPECT_IMAGES_MATCH(Layer(), *Before);
  Move(At(40, 60));
  QTest::mouseRelease(Viewport(), Qt::LeftButton, {}, At(40, 60));
  EXPECT_IMAGES_MATCH(Layer(), *Before);
  EXPECT_FALSE(Palette->IsDrawing());
  Form->Redo();
  EXPECT_IMAGES_MATCH(Layer(), *Half);
  // A command in the middle of a stroke: the stroke so far is one step, the
  // command the next; undoing both gives the original back.
  Form->Undo();
  QTest::mousePress(Viewport(), Qt::LeftButton, {}, At(20, 20));
  Move(At(40, 20));
  Form->MenuFiltreFlouClick(nullptr);
  Move(At(40, 60));
  QTest::mouseRelease(Viewport(), Qt::LeftButton, {}, At(40, 60));
  EXPECT_FALSE(Palette->IsDrawing());
  EXPECT_EQ(UndoCount(), 2);
  Form->Undo();
  Form->Undo();
  EXPECT_IMAGES_MATCH(Layer(), *Before);
  // The window closed in the middle: the next events, on the window now
  // active, paint nothing.
  TBitmap White(60, 40, pf24bit, clWhite);
  TNewImgForm* Other = Form->NouvelleImage(nullptr, &White, QString(), srcNew, 16777216);
  ASSERT_NE(Other, nullptr);
  Form->MajMenus();
  TNewImgForm* First = Window;
  Window = Other;
  QTest::mousePress(Viewport(), Qt::LeftButton, {}, At(10, 10));
  Move(At(20, 10));
  ASSERT_TRUE(Palette->IsDrawing());
  Other->BringMDIToFront();
  ASSERT_TRUE(Form->FermerImage(Other, true));
  ASSERT_TRUE(WaitUntil([this, First] { return Form->EnfantActif() == First; }));
  Window = First;
  const PBitmap Kept = Copy(Layer());
  Move(At(60, 60));
  QTest::mouseRelease(Viewport(), Qt::LeftButton, {}, At(60, 60));
  EXPECT_FALSE(Palette->IsDrawing());
  EXPECT_IMAGES_MATCH(Layer(), *Kept);
}

} // namespace

namespace {

// A white picture with two red squares apart and a black frame around a
// pocket of white on the right.
PBitmap WandFixture() {
  auto B = std::make_unique<TBitmap>(80, 50, pf24bit, clWhite);
  for (int Y = 0; Y < 50; ++Y)
    for (int X = 0; X < 80; ++X) {
      if ((X >= 5 && X < 15 && Y >= 5 && Y < 15) || (X >= 20 && X < 26 && Y >= 30 && Y < 40))
        SetPx(*B, X, Y, Rgb(255, 0, 0));
      if (X >= 50 && X < 70 && Y >= 10 && Y < 30 && (X == 50 || X == 69 || Y == 10 || Y == 29))
        SetPx(*B, X, Y, Grey(0));
    }
  return B;
}

// The selection as a layer mask: 0 where selected.
PBitmap SelectedPixels(TMainForm& Form) {
  auto M = SelectionMaskOfLayer(Form.SelMaskHost(), false, false);
  return M ? std::move(M) : std::make_unique<TBitmap>();
}

class MainFormClickToolsTest : public MainFormStrokeTest {
protected:
  void Wand(int Tolerance, bool ColourMode) {
    Tool(2);
    C<TSpinEdit2>("EdiMagicTolerance")->SetValue(Tolerance);
    C<QCheckBox>("CBMagicCouleur")->setChecked(ColourMode);
  }
  void Click(int X, int Y, Qt::MouseButton Button = Qt::LeftButton) {
    QTest::mouseClick(Viewport(), Button, {}, At(X, Y));
  }
  static bool Selected(const TBitmap& M, int X, int Y) { return Px(M, X, Y).Blue == 0; }
};

} // namespace

TEST_F(MainFormClickToolsTest, WandSelectsTheConnectedRegionOrEveryPixelOfTheColour) {
  const PBitmap Picture = WandFixture();
  Open(80, 50, Picture.get());
  Wand(0, false);
  Click(8, 8);
  ASSERT_TRUE(Form->Sel()->Visible());
  PBitmap M = SelectedPixels(*Form);
  int Wrong = 0;
  for (int Y = 0; Y < 50; ++Y)
    for (int X = 0; X < 80; ++X)
      Wrong += Selected(*M, X, Y) != (X >= 5 && X < 15 && Y >= 5 && Y < 15);
  EXPECT_EQ(Wrong, 0);
  // Colour mode: both squares.
  Wand(0, true);
  Click(22, 35);
  M = SelectedPixels(*Form);
  EXPECT_TRUE(Selected(*M, 5, 5));
  EXPECT_TRUE(Selected(*M, 25, 39));
  EXPECT_FALSE(Selected(*M, 30, 35));
  // Inverting a traced selection traces its inverse.
  Form->StrokeTools()->InverserBaguetteMagique();
  M = SelectedPixels(*Form);
  EXPECT_FALSE(Selected(*M, 5, 5));
  EXPECT_TRUE(Selected(*M, 30, 35));
}

TEST_F(MainFormClickToolsTest, WandAddModeAppliesToOneClick) {
  const PBitmap Picture = WandFixture();
  Open(80, 50, Picture.get());
  Wand(0, false);
  Click(8, 8);
  Form->CombineSelMode = 1;
  Click(22, 35);
  PBitmap M = SelectedPixels(*Form);
  EXPECT_TRUE(Selected(*M, 8, 8));
  EXPECT_TRUE(Selected(*M, 22, 35));
  EXPECT_EQ(Form->CombineSelMode, 0);
  // The next click replaces.
  Click(60, 20);
  M = SelectedPixels(*Form);
  EXPECT_FALSE(Selected(*M, 8, 8));
  EXPECT_TRUE(Selected(*M, 60, 20));
  EXPECT_FALSE(Selected(*M, 75, 20)) << "outside the frame";
}

TEST_F(MainFormClickToolsTest, FillFloodsTheEnclosedAreaInTheButtonsColourAsOneStep) {
  const PBitmap Picture = WandFixture();
  Open(80, 50, Picture.get());
  Tool(4);
  C<TSpinEdit2>("SEFillTolerance")->SetValue(0);
  C<TSpinEdit2>("SEFillOpacite")->SetValue(100);
  Palette->SetColor(0x00FF00, false);
  Palette->SetColor(0xFF0000, true);
  const int Steps = UndoCount();
  Click(60, 20);
  int Wrong = 0;
  for (int Y = 0; Y < 50; ++Y)
    for (int X = 0; X < 80; ++X) {
      const bool Pocket = X > 50 && X < 69 && Y > 10 && Y < 29;
      Wrong += Px(Layer(), X, Y) != (Pocket ? Rgb(0, 255, 0) : Px(*Picture, X, Y));
    }
  EXPECT_EQ(Wrong, 0);
  EXPECT_EQ(UndoCount(), Steps + 1);
  EXPECT_EQ(Form->ListeUndo().CurrentUndo()->Caption.left(17), QStringLiteral("Outil Remplissage"));
  Form->Undo();
  EXPECT_IMAGES_MATCH(Layer(), *Picture);
  // The right button fills with the background colour.
  Click(8, 8, Qt::RightButton);
  EXPECT_EQ(Px(Layer(), 14, 14), Rgb(0, 0, 255));
  EXPECT_EQ(Px(Layer(), 15, 14), Grey(255));
}

TEST_F(MainFormClickToolsTest, FillOnALayerWithTransparency) {
  // The layer keeps its size: a click beside it is outside it.
  TIniFile(State.MainIniFile).WriteString("Params", "AutoExpandLayer", "0");
  Open(80, 50);
  // A 30 x 20 layer at (40, 20), opaque grey with a transparent hole.
  TBitmap Bmp(30, 20, pf24bit, 0x808080), Mask(30, 20, pf24bit, clBlack);
  for (int Y = 5; Y < 15; ++Y)
    for (int X = 5; X < 15; ++X) SetPx(Mask, X, Y, Grey(255));
  Form->Image().AddLayer(&Bmp, &Mask, {40, 20}, 100, "Calque");
  Form->Image().SetLayerIndex(Form->Image().Layers().Count() - 1);
  Form->MajMenus();
  ASSERT_TRUE(Form->DessinerSurAlpha());
  Tool(4);
  C<TSpinEdit2>("SEFillTolerance")->SetValue(0);
  Palette->SetColor(0x0000FF, false);
  // Outside the layer: nothing, and no undo step.
  const int Steps = UndoCount();
  Click(10, 10);
  EXPECT_EQ(UndoCount(), Steps);
  // Into the hole: filled and made opaque.
  Click(50, 30);
  EXPECT_EQ(UndoCount(), Steps + 1);
  EXPECT_EQ(Px(Form->LeBitmap(), 10, 10), Rgb(255, 0, 0));
  EXPECT_EQ(Px(Form->LeMasque(), 10, 10), Grey(0));
  EXPECT_EQ(Px(Form->LeBitmap(), 2, 2), Grey(0x80));
}

TEST_F(MainFormClickToolsTest, EraserOnALayerWithTransparencyErasesOrRestoresTheMask) {
  Open(80, 50);
  TBitmap Bmp(30, 20, pf24bit, 0x808080), Mask(30, 20, pf24bit, clBlack);
  Form->Image().AddLayer(&Bmp, &Mask, {0, 0}, 100, "Calque");
  Form->Image().SetLayerIndex(Form->Image().Layers().Count() - 1);
  Form->MajMenus();
  Tool(12);
  QTest::mouseClick(C<QToolButton>("ToolButton3"), Qt::LeftButton);
  C<TSpinEdit2>("SERBrush")->SetValue(3);
  C<TTrackBar>("TBDessin")->SetPosition(10);
  Stroke({At(10, 10)});
  EXPECT_EQ(Px(Form->LeMasque(), 10, 10), Grey(255));
  EXPECT_EQ(Px(Form->LeBitmap(), 10, 10), Grey(0x80)) << "the pixels stay";
  ASSERT_TRUE(C<QCheckBox>("CBInvertGomme")->isVisible());
  C<QCheckBox>("CBInvertGomme")->setChecked(true);
  Stroke({At(10, 10)});
  EXPECT_EQ(Px(Form->LeMasque(), 10, 10), Grey(0));
  Form->Undo();
  EXPECT_EQ(Px(Form->LeMasque(), 10, 10), Grey(255));
}

TEST_F(MainFormClickToolsTest, LineToolDrawsTheDraggedLineAtItsOpacity) {
  Open(80, 50);
  Tool(3);
  C<TSpinEdit2>("SELineWidth")->SetValue(1);
  C<TSpinEdit2>("SELineOpacite")->SetValue(100);
  Palette->SetColor(clBlack, false);
  Stroke({At(10, 20), At(30, 20), At(60, 20)});
  EXPECT_EQ(Px(Layer(), 10, 20), Grey(0));
  EXPECT_EQ(Px(Layer(), 40, 20), Grey(0));
  EXPECT_EQ(Px(Layer(), 40, 22), Grey(255));
  EXPECT_EQ(Form->ListeUndo().CurrentUndo()->Caption.left(11), QStringLiteral("Outil Ligne"));
  C<TSpinEdit2>("SELineOpacite")->SetValue(40);
  Stroke({At(10, 30), At(60, 30)});
  // 40 % of black over white.
  EXPECT_NEAR(Px(Layer(), 40, 30).Red, 153, 1);
}

TEST_F(MainFormClickToolsTest, NewEllipseWithContourAndFillIsOneStepAndNoSelection) {
  Open(80, 50);
  Tool(0);
  C<QCheckBox>("CBContour")->setChecked(true);
  C<QCheckBox>("CBRemplir")->setChecked(true);
  Form->ChangerForme(ssEllipse, false, 2);
  Palette->SetColor(clBlack, false);
  Palette->SetColor(0x0000FF, true);
  const int Steps = UndoCount();
  Stroke({At(10, 10), At(40, 25), At(70, 40)});
  EXPECT_EQ(UndoCount(), Steps + 1);
  EXPECT_EQ(Form->ListeUndo().CurrentUndo()->Caption.left(15), QStringLiteral("Contour/Remplir"));
  EXPECT_FALSE(Form->Sel()->Visible());
  EXPECT_EQ(Px(Layer(), 40, 25), Rgb(255, 0, 0)) << "filled with the background colour";
  EXPECT_EQ(Px(Layer(), 2, 2), Grey(255));
  bool Outline = false;
  for (int X = 8; X < 20; ++X) Outline = Outline || Px(Layer(), X, 25) == Grey(0);
  EXPECT_TRUE(Outline);
}

namespace {

struct TPointToolCase {
  int Tool;
  const char* Radius;
  const char* Pressure;
};

class MainFormStrokeToolsTest : public MainFormStrokeTest, public ::testing::WithParamInterface<TPointToolCase> {};

} // namespace

// Each tool changes pixels near the stroke only, in one undo step that
// gives the exact original back.
TEST_P(MainFormStrokeToolsTest, PaintsNearTheStrokeAsOneUndoStep) {
  const TPointToolCase Case = GetParam();
  TBitmap Picture(80, 50);
  FillRandom(Picture, 44);
  Open(80, 50, &Picture);
  Tool(Case.Tool);
  C<TSpinEdit2>(Case.Radius)->SetValue(6);
  const int R = C<TSpinEdit2>(Case.Radius)->Value(); // the deform's is at least 20
  C<TTrackBar>(Case.Pressure)->SetPosition(10);
  const int Steps = UndoCount();
  Stroke({At(30, 25), At(34, 26), At(40, 25)});
  EXPECT_FALSE(Palette->IsDrawing());
  int Changed = 0, Far = 0;
  for (int Y = 0; Y < 50; ++Y)
    for (int X = 0; X < 80; ++X)
      if (Px(Layer(), X, Y) != Px(Picture, X, Y)) {
        ++Changed;
        Far += X < 30 - R - 1 || X > 40 + R + 1 || Y < 25 - R - 1 || Y > 26 + R + 1;
      }
  EXPECT_GT(Changed, 0);
  EXPECT_EQ(Far, 0);
  EXPECT_EQ(UndoCount(), Steps + 1);
  EXPECT_EQ(Form->ListeUndo().CurrentUndo()->Caption.left(10),
            Palette->ToolButton(Case.Tool)->toolTip().left(10));
  Form->Undo();
  EXPECT_IMAGES_MATCH(Layer(), Picture);
}

INSTANTIATE_TEST_SUITE_P(Tools, MainFormStrokeToolsTest,
                         ::testing::Values(TPointToolCase{8, "SERGoutte", "TBGoutte"},
                                           TPointToolCase{5, "SERAero", "TBPressionAero"},
                                           TPointToolCase{9, "SERDoigt", "TBDoigt"},
                                           TPointToolCase{14, "SERRetouche", "TBRetouche"},
                                           TPointToolCase{15, "SERDeform", "TBDeform"},
                                           TPointToolCase{16, "SERArt", "TBArt"}));

TEST_F(MainFormStrokeTest, FingerChangesNothingAtThePress) {
  TBitmap Picture(60, 40);
  FillRandom(Picture, 7);
  Open(60, 40, &Picture);
  Tool(9);
  Stroke({At(30, 20)});
  EXPECT_IMAGES_MATCH(Layer(), Picture);
}

TEST_F(MainFormStrokeTest, CloneCopiesFromTheSourceWithTheOffsetKeptAcrossStrokes) {
  TBitmap Picture(80, 50);
  FillRandom(Picture, 3);
  Open(80, 50, &Picture);
  Tool(10);
  C<TSpinEdit2>("SERTampon")->SetValue(3);
  C<TTrackBar>("TBTampon")->SetPosition(10);
  C<QCheckBox>("CBTamponPrecis")->setChecked(true);
  // Without a source: the message, nothing painted, no step.
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  const int Steps = UndoCount();
  Stroke({At(50, 30)});
  ASSERT_EQ(Messages.Shown.size(), 1);
  EXPECT_TRUE(Messages.Shown[0].startsWith(QStringLiteral("Vous devez définir l'origine du tampon")));
  EXPECT_EQ(UndoCount(), Steps);
  // Ctrl + press picks (10, 10); the press at (50, 30) copies around it.
  QTest::keyPress(Viewport(), Qt::Key_Control);
  QTest::mouseClick(Viewport(), Qt::LeftButton, Qt::ControlModifier, At(10, 10));
  QTest::keyRelease(Viewport(), Qt::Key_Control);
  Stroke({At(50, 30)});
  for (int DY = -3; DY <= 3; ++DY)
    for (int DX = -3; DX <= 3; ++DX)
      EXPECT_EQ(Px(Layer(), 50 + DX, 30 + DY), Px(Picture, 10 + DX, 10 + DY)) << DX << "," << DY;
  EXPECT_EQ(UndoCount(), Steps + 1);
  // A second stroke keeps the offset (-40, -20).
  Stroke({At(60, 40)});
  EXPECT_EQ(Px(Layer(), 61, 41), Px(Picture, 21, 21));
  EXPECT_EQ(Messages.Shown.size(), 1);
  // Toggling "Fixe" forgets it: the next stroke starts at the source.
  C<QCheckBox>("CBTamponFixe")->setChecked(true);
  C<QCheckBox>("CBTamponFixe")->setChecked(false);
  Stroke({At(30, 40)});
  EXPECT_EQ(Px(Layer(), 30, 40), Px(Picture, 10, 10));
}

TEST_F(MainFormStrokeTest, CloneSourceLayerDeletedLeavesNoSource) {
  Open(80, 50);
  TBitmap Bmp(30, 20, pf24bit, 0x808080);
  Form->Image().AddLayer(&Bmp, nullptr, {0, 0}, 100, "Calque");
  Form->Image().SetLayerIndex(1);
  Form->MajMenus();
  Tool(10);
  QTest::keyPress(Viewport(), Qt::Key_Control);
  QTest::mouseClick(Viewport(), Qt::LeftButton, Qt::ControlModifier, At(10, 10));
  QTest::keyRelease(Viewport(), Qt::Key_Control);
  ASSERT_EQ(Form->StrokeTools()->CloneSource().Layer, &Form->Image().Layers()[1]);
  Form->Image().SetLayerIndex(0);
  Form->Image().Layers().Delete(1);
  Form->MajMenus();
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  Stroke({At(50, 30)});
  EXPECT_EQ(Messages.Shown.size(), 1);
  EXPECT_EQ(Px(Layer(), 50, 30), Grey(255));
}

TEST_F(MainFormStrokeTest, NozzleFramesFollowOneAnotherAndShiftRestartsThem) {
  // A tube of two 8 x 8 frames, red then blue, in the nozzles folder.
  QDir(Dir.path()).mkdir("Nozzles");
  QImage Tube(16, 8, QImage::Format_ARGB32);
  Tube.fill(Qt::red);
  for (int Y = 0; Y < 8; ++Y)
    for (int X = 8; X < 16; ++X) Tube.setPixel(X, Y, qRgb(0, 0, 255));
  ASSERT_TRUE(Tube.save(Path("Nozzles/Tube.png"), "PNG"));
  Open(80, 50);
  ASSERT_EQ(Palette->Nozzles().Count(), 1);
  Tool(17);
  C<TTrackBar>("TBNozzle")->SetPosition(10);
  const int Steps = UndoCount();
  Stroke({At(20, 20)});
  Stroke({At(50, 20)});
  Stroke({At(20, 40)}, Qt::LeftButton, Qt::ShiftModifier);
  EXPECT_EQ(Px(Layer(), 20, 20), Rgb(255, 0, 0));
  EXPECT_EQ(Px(Layer(), 50, 20), Rgb(0, 0, 255));
  EXPECT_EQ(Px(Layer(), 20, 40), Rgb(255, 0, 0)) << "Shift paints the first frame";
  EXPECT_EQ(Px(Layer(), 35, 20), Grey(255));
  EXPECT_EQ(UndoCount(), Steps + 3);
}

TEST_F(MainFormStrokeTest, PatternCloneTilesFromTheLayerOriginOrStampsThePatternWhole) {
  Open(80, 50);
  TBitmap Pattern(4, 3);
  FillRandom(Pattern, 9);
  CurrentPattern().Bmp().Assign(Pattern);
  Tool(10);
  C<QCheckBox>("CBTamponMotif")->setChecked(true);
  C<QCheckBox>("CBTamponPrecis")->setChecked(true);
  C<TSpinEdit2>("SERTampon")->SetValue(3);
  C<TTrackBar>("TBTampon")->SetPosition(10);
  Stroke({At(20, 20)});
  for (int Y = 17; Y <= 23; ++Y)
    for (int X = 17; X <= 23; ++X) EXPECT_EQ(Px(Layer(), X, Y), Px(Pattern, X % 4, Y % 3)) << X << "," << Y;
  // Fixed: the whole pattern with its top-left corner at (x - 1, y - 1).
  C<QCheckBox>("CBTamponFixe")->setChecked(true);
  Stroke({At(50, 30)});
  for (int Y = 0; Y < 3; ++Y)
    for (int X = 0; X < 4; ++X) EXPECT_EQ(Px(Layer(), 49 + X, 29 + Y), Px(Pattern, X, Y)) << X << "," << Y;
  EXPECT_EQ(Px(Layer(), 53, 29), Grey(255));
  CurrentPattern().Clear();
}

TEST_F(MainFormStrokeTest, HandScrollMovesTheViewBySnappedSteps) {
  Open(400, 300);
  Window->Image->SetZoom(4);
  QApplication::processEvents();
  Tool(11);
  C<QRadioButton>("RBScrollSacade")->setChecked(true);
  QScrollBar* Bar = Window->Image->horizontalScrollBar();
  Bar->setValue(Bar->maximum() / 2);
  const int Start = Bar->value();
  const QPoint P(96, 96);
  QTest::mousePress(Viewport(), Qt::LeftButton, {}, P);
  Move(P + QPoint(20, 0)); // within 16 after snapping: nothing
  EXPECT_EQ(Bar->value(), Start);
  Move(P + QPoint(40, 0));
  QTest::mouseRelease(Viewport(), Qt::LeftButton, {}, P + QPoint(40, 0));
  EXPECT_EQ(Bar->value(), Start - 32);
  EXPECT_EQ(Form->ListeUndo().ItemIndex(), -1) << "scrolling changes no pixel";
}

TEST_F(MainFormStrokeTest, CloneRightButtonShowsTheSourceCrossOnlyWhileHeld) {
  Open(80, 50);
  Tool(10);
  QTest::keyPress(Viewport(), Qt::Key_Control);
  QTest::mouseClick(Viewport(), Qt::LeftButton, Qt::ControlModifier, At(20, 20));
  QTest::keyRelease(Viewport(), Qt::Key_Control);
  const TCanvas& Back = Window->Image->Canvas();
  const auto BackAt = [&Back](QPoint P) { return Back.Pixels(P.x(), P.y()); };
  const QPoint Source = At(25, 20); // the source once the mouse is at (55, 30)
  const TColor Before = BackAt(Source);
  const int Steps = UndoCount();
  QTest::mousePress(Viewport(), Qt::RightButton, {}, At(50, 30));
  Move(At(55, 30), Qt::RightButton);
  EXPECT_TRUE(Palette->IsDrawing());
  EXPECT_NE(BackAt(Source), Before) << "the cross is drawn at the source";
  QTest::mouseRelease(Viewport(), Qt::RightButton, {}, At(55, 30));
  EXPECT_EQ(BackAt(Source), Before) << "and gone with the release";
  EXPECT_FALSE(Palette->IsDrawing());
  EXPECT_EQ(UndoCount(), Steps);
  EXPECT_EQ(Px(Layer(), 55, 30), Grey(255));
}

namespace {

struct TBrushCase {
  const char* Name;
  int Tool;           // 6 the built-in brushes, 7 the brush list
  const char* Button; // a brush button of the built-in page
  int Mode;           // EdiDessinMode
};

class MainFormBrushModesTest : public MainFormStrokeTest, public ::testing::WithParamInterface<TBrushCase> {};

} // namespace

// Every brush and drawing mode paints along the stroke, in something other
// than white, in one step that undo takes back exactly.
TEST_P(MainFormBrushModesTest, PaintsAlongTheStroke) {
  const TBrushCase Case = GetParam();
  Open(80, 50);
  Tool(Case.Tool);
  if (Case.Tool == 6) QTest::mouseClick(C<QToolButton>(Case.Button), Qt::LeftButton);
  C<TSpecialEdit>("EdiDessinMode")->SetItemIndex(Case.Mode);
  C<TSpinEdit2>("SERBrush")->SetValue(8);
  Palette->SetColor(0x0000C0, false);
  const PBitmap Before = Copy(Layer());
  Stroke({At(20, 25), At(60, 25)});
  int Painted = 0;
  for (int X = 20; X <= 60; ++X) Painted += Px(Layer(), X, 25) != Grey(255);
  EXPECT_GT(Painted, 10) << Case.Name;
  EXPECT_EQ(Px(Layer(), 40, 5), Grey(255)) << Case.Name;
  Form->Undo();
  EXPECT_IMAGES_MATCH(Layer(), *Before);
}

INSTANTIATE_TEST_SUITE_P(Brushes, MainFormBrushModesTest,
                         ::testing::Values(TBrushCase{"round", 6, "ToolButton1", 0},
                                           TBrushCase{"glyph disc", 6, "ToolButton9", 0},
                                           TBrushCase{"rainbow", 6, "ToolButton2", 1},
                                           TBrushCase{"pastel", 6, "ToolButton1", 2},
                                           TBrushCase{"charcoal", 6, "ToolButton3", 3},
                                           TBrushCase{"3D", 6, "ToolButton3", 4},
                                           TBrushCase{"list", 7, nullptr, 0}),
                         [](const auto& Info) {
                           QString Name = QString::fromLatin1(Info.param.Name);
                           return Name.remove(QLatin1Char(' ')).toStdString();
                         });

TEST_F(MainFormStrokeTest, EraserOnA256ColourImagePaintsItsTransparentColourAtFullPressure) {
  TBitmap Picture(60, 40, pf24bit, clWhite);
  Picture.Transparent = true;
  Picture.SetTransparentColor(0x00FF00);
  Form = Start();
  ASSERT_TRUE(WaitUntil([this] { return Form->Palette() && Form->Palette()->isVisible(); }));
  Palette = Form->Palette();
  Window = Form->NouvelleImage(nullptr, &Picture, QString(), srcNew, 256);
  ASSERT_NE(Window, nullptr);
  Form->LeFond().Transparent = true;
  Form->LeFond().SetTransparentColor(0x00FF00);
  Form->MajMenus();
  Window->Image->SetZoom(1);
  Tool(12);
  QTest::mouseClick(C<QToolButton>("ToolButton1"), Qt::LeftButton);
  C<TSpinEdit2>("SERBrush")->SetValue(5);
  C<TTrackBar>("TBDessin")->SetPosition(3); // ignored: full pressure
  Stroke({At(30, 20)});
  EXPECT_EQ(Px(Layer(), 30, 20), Rgb(0, 255, 0));
  // The stamp is two-level: no pixel between white and green.
  for (int X = 20; X <= 40; ++X) {
    const TRGB P = Px(Layer(), X, 20);
    EXPECT_TRUE(P == Rgb(0, 255, 0) || P == Grey(255)) << X;
  }
}

TEST_F(MainFormStrokeTest, AirbrushHeldStillSpraysAgainAtEachTick) {
  Open(80, 50);
  Tool(5);
  C<TSpinEdit2>("SERAero")->SetValue(10);
  C<TTrackBar>("TBPressionAero")->SetPosition(10);
  C<TTrackBar>("TBDispersionAero")->SetPosition(10); // one pixel in twenty
  Palette->SetColor(clBlack, false);
  const auto Sprayed = [this] {
    int N = 0;
    for (int Y = 0; Y < 50; ++Y)
      for (int X = 0; X < 80; ++X) N += Px(Layer(), X, Y) != Grey(255);
    return N;
  };
  QCursor::setPos(Viewport()->mapToGlobal(At(40, 25)));
  QTest::mousePress(Viewport(), Qt::LeftButton, {}, At(40, 25));
  const int First = Sprayed();
  EXPECT_GT(First, 0);
  EXPECT_TRUE(WaitUntil([&] { return Sprayed() > First; })) << "the timer sprays while the button is held";
  QTest::mouseRelease(Viewport(), Qt::LeftButton, {}, At(40, 25));
  EXPECT_FALSE(Palette->IsDrawing());
}
