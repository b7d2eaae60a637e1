// The Image menu's direct commands through their items on a real image
// window: the colour modes, the flips and turns of the background or of
// every layer, the two crops, the automatic transparency and the duplicate.
// Each change is undone back to the exact original and redone to the exact
// result through the Edit menu.
#include "MainFormFixture.h"

#include "../support/ImageCompare.h"
#include "../support/Pixels.h"
#include "../support/WaitFor.h"
#include "document/MyImageLayered.h"
#include "document/ui/ImgForm.h"
#include "document/ui/LayerNavigator.h"
#include "document/ui/SelectionControl.h"
#include "filters/ui/IndexForm.h"
#include "i18n/LibLang.h"

#include <QAction>
#include <QPushButton>

#include <cctype>
#include <functional>
#include <vector>

namespace {

constexpr int W = 40, H = 30;
constexpr TRect Inner{6, 5, 30, 22};
constexpr TColor Key = 0xDCEDCE;      // the automatic transparency's key
constexpr TColor KeyMoved = 0xDCEACE; // pixels of that colour that stay opaque

TRGB FromColor(TColor C) { return Rgb(C & 0xFF, (C >> 8) & 0xFF, (C >> 16) & 0xFF); }

PBitmap Random(int Width, int Height, unsigned Seed) {
  auto B = std::make_unique<TBitmap>(Width, Height, pf24bit);
  FillRandom(*B, Seed);
  return B;
}

// A grey mask: Outside everywhere, Within inside R.
PBitmap MaskOf(int Width, int Height, const TRect& R, int Outside, int Within) {
  auto M = std::make_unique<TBitmap>(Width, Height, pf24bit);
  for (int Y = 0; Y < Height; ++Y)
    for (int X = 0; X < Width; ++X) SetPx(*M, X, Y, Grey(PtInRect(R, {X, Y}) ? Within : Outside));
  return M;
}

// What a command may change of one layer, and of the image.
struct TLayerState {
  PBitmap Bitmap, Mask;
  TPoint Pos;
  bool Visible;
  int Opacity;
  bool Transparent;
  TColor TransparentColor;
};
struct TImageState {
  std::vector<TLayerState> Layers;
  int Colors;
};

// The fixture's members are open to the table of cases below.
class MainFormImageTest : public MainFormFixture {
public:
  using MainFormFixture::Copy;
  void SetUp() override {
    MainFormFixture::SetUp();
    Form = Start();
    Window = Form->NouvelleImage(nullptr, Random(W, H, 3).get(), QString(), srcNew, 256);
    ASSERT_TRUE(Form->UneImage());
  }
  void TearDown() override {
    Form.reset();
    MainFormFixture::TearDown();
  }
  void Trigger(const QString& Name) { TriggerItem(*Form, Form->MenuItem(Name), Name); }
  TMyImageLayered& Img() { return Form->Image(); }
  TLayerItem& Bkg() { return Img().Layers()[0]; }
  int UndoCount() const { return Form->ListeUndo().Count(); }
  // A second layer of 5 x 7 at (5, 6), half of it transparent.
  void AddLayer() {
    Img().AddLayer(Random(5, 7, 9).get(), MaskOf(5, 7, {0, 0, 5, 3}, 0, 255).get(), {5, 6}, 100, "#1");
    Form->LayerNav()->Synchronize(true);
  }
  void SelectRect(const TRect& R) {
    Form->Sel()->SetBmpSelRect(R);
    Form->AfficherSelection();
  }
  std::unique_ptr<TMainForm> Form;
  TNewImgForm* Window = nullptr;
};

TImageState StateOf(TMainForm& F) {
  TImageState S{{}, F.NbCouleurs()};
  const TLayerList& Layers = F.Image().Layers();
  for (int I = 0; I < Layers.Count(); ++I) {
    const TLayerItem& L = Layers[I];
    S.Layers.push_back({MainFormImageTest::Copy(L.Bitmap()), MainFormImageTest::Copy(L.Mask()), L.Pos, L.Visible,
                        L.Opacity, L.Bitmap().Transparent, L.Bitmap().TransparentColor()});
  }
  return S;
}

void ExpectSameState(const TImageState& Actual, const TImageState& Expected, const std::string& When) {
  SCOPED_TRACE(When);
  EXPECT_EQ(Actual.Colors, Expected.Colors);
  ASSERT_EQ(Actual.Layers.size(), Expected.Layers.size());
  for (size_t I = 0; I < Actual.Layers.size(); ++I) {
    const TLayerState &A = Actual.Layers[I], &E = Expected.Layers[I];
    SCOPED_TRACE("layer " + std::to_string(I));
    EXPECT_IMAGES_MATCH(*A.Bitmap, *E.Bitmap);
    ASSERT_EQ(A.Mask->Empty(), E.Mask->Empty());
    if (!E.Mask->Empty()) EXPECT_IMAGES_MATCH(*A.Mask, *E.Mask);
    EXPECT_EQ(A.Pos, E.Pos);
    EXPECT_EQ(A.Visible, E.Visible);
    EXPECT_EQ(A.Opacity, E.Opacity);
    EXPECT_EQ(A.Transparent, E.Transparent);
    if (E.Transparent) EXPECT_EQ(A.TransparentColor, E.TransparentColor);
  }
}

// One command: how the image is prepared, and what must hold afterwards
// (Before is the image as it was).
struct TImageCase {
  const char* Name;
  const char* Item;
  std::function<void(MainFormImageTest&)> Prepare;
  std::function<void(MainFormImageTest&, const TImageState& Before)> Check;
};

void PrintTo(const TImageCase& C, std::ostream* Out) { *Out << C.Item << ": " << C.Name; }

const TLayerState& BkgOf(const TImageState& S) { return S.Layers[0]; }

// The expected background after a flip or a turn: pixel (X, Y) of the
// result comes from Source(X, Y) of the background before.
void ExpectBackgroundMapped(TMainForm& F, const TImageState& Before, int RW, int RH,
                            const std::function<TPoint(int, int)>& Source) {
  const TBitmap& B = F.LeFond();
  ASSERT_EQ(B.Width(), RW);
  ASSERT_EQ(B.Height(), RH);
  for (int Y = 0; Y < RH; ++Y)
    for (int X = 0; X < RW; ++X) {
      const TPoint P = Source(X, Y);
      ASSERT_EQ(Px(B, X, Y), Px(*BkgOf(Before).Bitmap, P.X, P.Y)) << X << "," << Y;
    }
}

// The background with a white border around random pixels in Inner.
void WhiteBorder(MainFormImageTest& T) {
  TBitmap& B = T.Form->LeFond();
  const PBitmap Noise = Random(W, H, 5);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) SetPx(B, X, Y, PtInRect(Inner, {X, Y}) ? Px(*Noise, X, Y) : Grey(255));
}

void ExpectCroppedTo(MainFormImageTest& T, const TImageState& Before, const TRect& R) {
  const TBitmap& B = T.Form->LeFond();
  ASSERT_EQ(B.Width(), R.Width());
  ASSERT_EQ(B.Height(), R.Height());
  for (int Y = 0; Y < R.Height(); ++Y)
    for (int X = 0; X < R.Width(); ++X)
      ASSERT_EQ(Px(B, X, Y), Px(*BkgOf(Before).Bitmap, X + R.Left, Y + R.Top)) << X << "," << Y;
}

const TImageCase ImageCases[] = {
    {"vertical symmetry of the background reverses its rows", "MenuImageSymHoriz1", nullptr,
     [](MainFormImageTest& T, const TImageState& B) {
       ExpectBackgroundMapped(*T.Form, B, W, H, [](int X, int Y) { return TPoint{X, H - 1 - Y}; });
       EXPECT_EQ(T.Form->ListeUndo().CurrentUndo()->Caption, "Symétrie verticale");
     }},
    {"horizontal symmetry of the background reverses its columns", "MenuImageSymVerti1", nullptr,
     [](MainFormImageTest& T, const TImageState& B) {
       ExpectBackgroundMapped(*T.Form, B, W, H, [](int X, int Y) { return TPoint{W - 1 - X, Y}; });
     }},
    {"a clockwise quarter turn of the background", "MenuImageRot90_1", nullptr,
     [](MainFormImageTest& T, const TImageState& B) {
       ExpectBackgroundMapped(*T.Form, B, H, W, [](int X, int Y) { return TPoint{Y, H - 1 - X}; });
     }},
    {"an anticlockwise quarter turn of the background", "MenuImageRot270_1", nullptr,
     [](MainFormImageTest& T, const TImageState& B) {
       ExpectBackgroundMapped(*T.Form, B, H, W, [](int X, int Y) { return TPoint{W - 1 - Y, X}; });
     }},
    {"a half turn of the background", "MenuImageRot180_1", nullptr,
     [](MainFormImageTest& T, const TImageState& B) {
       ExpectBackgroundMapped(*T.Form, B, W, H, [](int X, int Y) { return TPoint{W - 1 - X, H - 1 - Y}; });
     }},
    {"a vertical symmetry of every layer keeps the layer in its place", "MenuImageSymHoriz2",
     [](MainFormImageTest& T) { T.AddLayer(); },
     [](MainFormImageTest& T, const TImageState&) {
       EXPECT_EQ(T.Form->ListeUndo().CurrentUndo()->GetFlag(7), 1);
       EXPECT_EQ(T.Img().Layers()[1].Pos, (TPoint{5, H - 6 - 7}));
       // The transparent top rows are now at the bottom.
       EXPECT_EQ(Px(T.Img().Layers()[1].Mask(), 0, 6), Grey(255));
       EXPECT_EQ(Px(T.Img().Layers()[1].Mask(), 0, 0), Grey(0));
     }},
    {"a clockwise quarter turn of every layer records code 3", "MenuImageRot90_2",
     [](MainFormImageTest& T) { T.AddLayer(); },
     [](MainFormImageTest& T, const TImageState& B) {
       EXPECT_EQ(T.Form->ListeUndo().CurrentUndo()->GetFlag(7), 3);
       ExpectBackgroundMapped(*T.Form, B, H, W, [](int X, int Y) { return TPoint{Y, H - 1 - X}; });
       const TLayerItem& L = T.Img().Layers()[1];
       EXPECT_EQ(L.Pos, (TPoint{H - (6 + 7), 5}));
       EXPECT_EQ(L.Bitmap().Width(), 7);
       EXPECT_EQ(L.Bitmap().Height(), 5);
     }},
    {"an anticlockwise quarter turn of every layer records code 4", "MenuImageRot270_2",
     [](MainFormImageTest& T) { T.AddLayer(); },
     [](MainFormImageTest& T, const TImageState&) {
       EXPECT_EQ(T.Form->ListeUndo().CurrentUndo()->GetFlag(7), 4);
       EXPECT_EQ(T.Img().Layers()[1].Pos, (TPoint{6, W - (5 + 5)}));
     }},
    {"a half turn of every layer", "MenuImageRot180_2", [](MainFormImageTest& T) { T.AddLayer(); },
     [](MainFormImageTest& T, const TImageState&) {
       EXPECT_EQ(T.Form->ListeUndo().CurrentUndo()->GetFlag(7), 5);
       EXPECT_EQ(T.Img().Layers()[1].Pos, (TPoint{W - 10, H - 13}));
     }},
    {"16 million colours drop the background's alpha, opacity and hiding", "MenuModeRGB",
     [](MainFormImageTest& T) {
       T.Bkg().Mask().Assign(*MaskOf(W, H, Inner, 255, 0));
       T.Bkg().Opacity = 40;
       T.AddLayer(); // something must show while the background is hidden
       T.Bkg().Visible = false;
     },
     [](MainFormImageTest& T, const TImageState& B) {
       EXPECT_TRUE(T.Bkg().Mask().Empty());
       EXPECT_EQ(T.Bkg().Opacity, 100);
       EXPECT_TRUE(T.Bkg().Visible);
       EXPECT_EQ(T.Form->NbCouleurs(), 16777216);
       EXPECT_IMAGES_MATCH(T.Bkg().Bitmap(), *BkgOf(B).Bitmap);
     }},
    {"RGB + alpha makes the transparent colour a mask", "MenuModeRGBA",
     [](MainFormImageTest& T) {
       for (int X = 0; X < W; ++X) SetPx(T.Form->LeFond(), X, 2, FromColor(0x123456));
       T.Form->LeFond().SetTransparentColor(0x123456);
       T.Form->LeFond().Transparent = true;
     },
     [](MainFormImageTest& T, const TImageState&) {
       EXPECT_FALSE(T.Form->LeFond().Transparent);
       ASSERT_FALSE(T.Bkg().Mask().Empty());
       EXPECT_EQ(Px(T.Bkg().Mask(), 7, 2), Grey(255));
       EXPECT_EQ(Px(T.Bkg().Mask(), 7, 3), Grey(0));
       EXPECT_EQ(T.Form->NbCouleurs(), 16777216);
     }},
    {"crop to the visible selection shifts the other layers", "MenuImageRecadrer",
     [](MainFormImageTest& T) {
       T.AddLayer();
       T.SelectRect(Inner);
     },
     [](MainFormImageTest& T, const TImageState& B) {
       ExpectCroppedTo(T, B, Inner);
       EXPECT_EQ(T.Img().Layers()[1].Pos, (TPoint{5 - Inner.Left, 6 - Inner.Top}));
       EXPECT_EQ(T.Form->ListeUndo().CurrentUndo()->Caption, "Recadrer l'image");
     }},
    {"crop from the selection's popup on a layer crops only the layer", "PopSelRecadrer",
     [](MainFormImageTest& T) {
       T.AddLayer();
       T.Img().SetLayerIndex(1);
       T.Form->LayerNav()->ResetLayerIndex();
       T.SelectRect({6, 8, 20, 20});
     },
     [](MainFormImageTest& T, const TImageState& B) {
       const TLayerItem& L = T.Img().Layers()[1];
       EXPECT_EQ(L.Pos, (TPoint{6, 8}));
       EXPECT_EQ(L.Bitmap().Width(), 4);
       EXPECT_EQ(L.Bitmap().Height(), 5);
       EXPECT_EQ(Px(L.Bitmap(), 0, 0), Px(*B.Layers[1].Bitmap, 1, 2));
       EXPECT_EQ(T.Form->LeFond().Width(), W);
       EXPECT_FALSE(T.Form->Sel()->Visible());
       EXPECT_EQ(T.Form->ListeUndo().CurrentUndo()->Caption, "Recadrer le calque");
     }},
    {"automatic crop takes the uniform border off", "MenuImageRecadrerAuto",
     [](MainFormImageTest& T) {
       WhiteBorder(T);
       T.AddLayer();
     },
     [](MainFormImageTest& T, const TImageState& B) {
       ExpectCroppedTo(T, B, Inner);
       EXPECT_EQ(T.Img().Layers()[1].Pos, (TPoint{5 - Inner.Left, 6 - Inner.Top}));
     }},
    // The background's mask decides, not the current layer's.
    {"automatic crop of an image with alpha takes the transparent border off", "MenuImageRecadrerAuto",
     [](MainFormImageTest& T) {
       T.Bkg().Mask().Assign(*MaskOf(W, H, Inner, 255, 0));
       T.AddLayer();
       T.Img().Layers()[1].Mask().Assign(*MaskOf(5, 7, {}, 0, 0));
       T.Img().SetLayerIndex(1);
       T.Form->LayerNav()->ResetLayerIndex();
     },
     [](MainFormImageTest& T, const TImageState& B) {
       ExpectCroppedTo(T, B, Inner);
       EXPECT_EQ(T.Bkg().Mask().Width(), Inner.Width());
       EXPECT_EQ(Px(T.Bkg().Mask(), 0, 0), Grey(0));
     }},
    {"automatic transparency outside the selection", "MenuImageTransAutoExt",
     [](MainFormImageTest& T) {
       SetPx(T.Form->LeFond(), 10, 10, FromColor(Key));
       T.SelectRect(Inner);
     },
     [](MainFormImageTest& T, const TImageState& B) {
       const TBitmap& Bmp = T.Form->LeFond();
       EXPECT_TRUE(Bmp.Transparent);
       EXPECT_EQ(Bmp.TransparentColor(), Key);
       EXPECT_EQ(Px(Bmp, 0, 0), FromColor(Key));
       EXPECT_EQ(Px(Bmp, Inner.Right, 12), FromColor(Key));
       // A pixel of the key's colour inside stays opaque, moved off the key.
       EXPECT_EQ(Px(Bmp, 10, 10), FromColor(KeyMoved));
       EXPECT_EQ(Px(Bmp, 20, 12), Px(*BkgOf(B).Bitmap, 20, 12));
       EXPECT_EQ(T.Form->ListeUndo().CurrentUndo()->Caption, "Transparence automatique");
     }},
    {"automatic transparency inside the selection keeps a key already set", "MenuImageTransAutoIn",
     [](MainFormImageTest& T) {
       T.Form->LeFond().SetTransparentColor(0x010203);
       T.Form->LeFond().Transparent = true;
       T.SelectRect(Inner);
     },
     [](MainFormImageTest& T, const TImageState& B) {
       const TBitmap& Bmp = T.Form->LeFond();
       EXPECT_EQ(Bmp.TransparentColor(), TColor(0x010203));
       EXPECT_EQ(Px(Bmp, 10, 10), FromColor(0x010203));
       EXPECT_EQ(Px(Bmp, 0, 0), Px(*BkgOf(B).Bitmap, 0, 0));
     }},
};

class MainFormImageCommandTest : public MainFormImageTest, public ::testing::WithParamInterface<TImageCase> {};

} // namespace

TEST_P(MainFormImageCommandTest, ChangesTheImageThenUndoRestoresItExactly) {
  const TImageCase& C = GetParam();
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  if (C.Prepare) C.Prepare(*this);
  const TImageState Before = StateOf(*Form);
  const int Steps = UndoCount();
  Trigger(C.Item);
  ASSERT_EQ(UndoCount(), Steps + 1) << Messages.Shown.join("|").toStdString();
  C.Check(*this, Before);
  const TImageState After = StateOf(*Form);

  Trigger("MenuEditionUndo");
  ExpectSameState(StateOf(*Form), Before, "undone");
  Trigger("MenuEditionRedo");
  ExpectSameState(StateOf(*Form), After, "redone");
  EXPECT_TRUE(Messages.Shown.isEmpty()) << Messages.Shown.join("|").toStdString();
}

INSTANTIATE_TEST_SUITE_P(ImageMenu, MainFormImageCommandTest, ::testing::ValuesIn(ImageCases),
                         [](const ::testing::TestParamInfo<TImageCase>& Info) {
                           std::string Name;
                           for (const char* P = Info.param.Name; *P; ++P)
                             if (std::isalnum(static_cast<unsigned char>(*P))) Name += *P;
                           return Name + std::to_string(Info.index);
                         });

TEST_F(MainFormImageTest, TextLayersRefuseAFlipOfEveryLayerButNotATurn) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  auto Data = std::make_unique<TTestTextData>();
  Data->Lines = QStringList{"Bonjour"};
  const int T = Img().AddLayerData(std::move(Data), "#1");
  Img().Layers()[T].Bitmap().Assign(*Random(6, 4, 2));
  Form->LayerNav()->Synchronize(true);
  const TImageState Before = StateOf(*Form);

  for (const char* Item : {"MenuImageSymHoriz2", "MenuImageSymVerti2"}) {
    Trigger(Item);
    ASSERT_EQ(Messages.Shown.size(), 1) << Item;
    EXPECT_EQ(Messages.Shown.takeFirst(), Tr(TrId::GetTrDlgLayer2));
    EXPECT_EQ(UndoCount(), 0);
    ExpectSameState(StateOf(*Form), Before, Item);
  }
  Trigger("MenuImageRot180_2");
  EXPECT_TRUE(Messages.Shown.isEmpty());
  EXPECT_EQ(UndoCount(), 1);
}

TEST_F(MainFormImageTest, CropWithoutASelectionFirstShowsTheDefaultOne) {
  ASSERT_FALSE(Form->Sel()->Visible());
  Trigger("MenuImageRecadrer");
  EXPECT_TRUE(Form->Sel()->Visible());
  EXPECT_EQ(Form->Sel()->BmpSelRect(), Form->SelectionDefaut());
  EXPECT_EQ(UndoCount(), 0);
  EXPECT_EQ(Form->LeFond().Width(), W);

  const TRect R = Form->Sel()->BmpSelRect();
  Trigger("MenuImageRecadrer");
  EXPECT_EQ(UndoCount(), 1);
  EXPECT_EQ(Form->LeFond().Width(), R.Width());
  EXPECT_EQ(Form->LeFond().Height(), R.Height());
}

TEST_F(MainFormImageTest, CropsThatWouldLeaveNothingChangeNothing) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  AddLayer();
  const TImageState Before = StateOf(*Form);
  // A selection dragged off the image: no step is left behind.
  SelectRect({W + 5, H + 5, W + 20, H + 20});
  Trigger("MenuImageRecadrer");
  EXPECT_EQ(UndoCount(), 0);
  ExpectSameState(StateOf(*Form), Before, "image");

  // On a layer the selection misses: the message, and nothing else.
  Img().SetLayerIndex(1);
  Form->LayerNav()->ResetLayerIndex();
  SelectRect({20, 20, 30, 28});
  Trigger("PopSelRecadrer");
  EXPECT_EQ(Messages.Shown, QStringList{Tr(TrId::GetTrDlgGlb5)});
  EXPECT_EQ(UndoCount(), 0);
  ExpectSameState(StateOf(*Form), Before, "layer");
}

TEST_F(MainFormImageTest, AutomaticCropWithoutBorderSaysSoAndRepeatsFromTheEditMenu) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  // Random pixels: no uniform border.
  Trigger("MenuImageRecadrerAuto");
  EXPECT_EQ(Messages.Shown, QStringList{Tr(TrId::GetTrDlgMain3)});
  EXPECT_EQ(UndoCount(), 0);
  EXPECT_EQ(Form->LeFond().Width(), W);

  // Once cropped, Repeat (offered in 16 million colours) finds no border
  // left.
  Messages.Shown.clear();
  WhiteBorder(*this);
  Form->SetNbCouleurs(16777216);
  Trigger("MenuImageRecadrerAuto");
  EXPECT_EQ(Form->LeFond().Width(), Inner.Width());
  EXPECT_EQ(Form->LastFilter().Caption, "Recadrage automatique");
  Trigger("MenuEditionRepeter");
  EXPECT_EQ(Messages.Shown, QStringList{Tr(TrId::GetTrDlgMain3)});
  EXPECT_EQ(UndoCount(), 1);
}

TEST_F(MainFormImageTest, AutomaticTransparencyNeedsASingleLayer) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  AddLayer();
  SelectRect(Inner);
  const TImageState Before = StateOf(*Form);
  Trigger("MenuImageTransAutoExt");
  EXPECT_EQ(Messages.Shown, QStringList{Tr(TrId::GetTrDlgLayer1)});
  EXPECT_EQ(UndoCount(), 0);
  ExpectSameState(StateOf(*Form), Before, "refused");
}

TEST_F(MainFormImageTest, DuplicatesAreNumberedByTheWindowDuplicated) {
  AddLayer();
  Window->LayerCount = 4;
  const QString Caption = Window->windowTitle();
  Trigger("MenuDupliquer");
  TNewImgForm* First = Form->EnfantActif();
  ASSERT_NE(First, Window);
  EXPECT_EQ(First->windowTitle(), Caption + " (1)");
  EXPECT_EQ(First->LayerCount, 4);
  EXPECT_EQ(First->Image->Image().Layers().Count(), 2);
  EXPECT_IMAGES_MATCH(First->Image->Image().Layers()[1].Bitmap(), Window->Image->Image().Layers()[1].Bitmap());
  EXPECT_EQ(First->Image->Image().ColorCount, 256);
  EXPECT_EQ(First->ListeUndo->Count(), 0);

  // A duplicate of the copy counts on its own.
  Trigger("MenuDupliquer");
  EXPECT_EQ(Form->EnfantActif()->windowTitle(), Caption + " (1) (1)");
  Window->BringMDIToFront();
  ASSERT_TRUE(WaitUntil([this] { return Form->EnfantActif() == Window; }));
  Trigger("MenuDupliquer");
  EXPECT_EQ(Form->EnfantActif()->windowTitle(), Caption + " (2)");
  EXPECT_EQ(Window->ListeUndo->Count(), 0);
}

TEST_F(MainFormImageTest, IndexedColoursAskBeforeDroppingTheTransparencyAndNeedOneLayer) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  Form->LeFond().SetTransparentColor(0x010203);
  Form->LeFond().Transparent = true;
  const TImageState Before = StateOf(*Form);
  const auto Dialog = [this] {
    auto* D = Form->findChild<TIndexForm*>();
    return D && D->isVisible() ? D : nullptr;
  };

  // No: nothing happens.
  Messages.Answers = {mrNo};
  Trigger("MenuModeIndex");
  EXPECT_EQ(Messages.Shown, QStringList{Tr(TrId::GetTrDlgMain13)});
  EXPECT_EQ(Dialog(), nullptr);
  EXPECT_EQ(UndoCount(), 0);
  ExpectSameState(StateOf(*Form), Before, "answered no");

  // Yes: the transparency goes before the dialog shows; undo brings it back.
  Messages.Answers = {mrYes};
  Trigger("MenuModeIndex");
  TIndexForm* D = Dialog();
  ASSERT_NE(D, nullptr);
  EXPECT_FALSE(Form->LeFond().Transparent);
  EXPECT_EQ(UndoCount(), 1);
  QTest::mouseClick(D->BOk, Qt::LeftButton);
  ASSERT_TRUE(WaitUntil([&] { return !D->isVisible(); }));
  Trigger("MenuEditionUndo");
  ExpectSameState(StateOf(*Form), Before, "undone");

  Messages.Shown.clear();
  AddLayer();
  Trigger("MenuModeIndex");
  EXPECT_EQ(Messages.Shown, QStringList{Tr(TrId::GetTrDlgLayer1)});
  EXPECT_EQ(Dialog(), nullptr);
  EXPECT_EQ(UndoCount(), 1);
}
