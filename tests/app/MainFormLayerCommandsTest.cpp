// The Layer menu and the layers panel's popup on a real image window with a
// stack of four layers: each command changes the stack as it says, the panel
// follows, and one Undo gives back the exact original.
#include "MainFormFixture.h"

#include "document/MyImageLayered.h"
#include "document/ui/ImgForm.h"
#include "document/ui/LayerNavigator.h"
#include "document/ui/SelectionControl.h"
#include "support/Pixels.h"
#include "support/WaitFor.h"
#include "tools/ui/Outils.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QToolButton>

#include <ostream>

namespace {

struct TLayerState {
  QString Caption;
  bool Visible = true, Locked = false;
  int Type = 0, Opacity = 0;
  int X = 0, Y = 0, W = 0, H = 0;
  QByteArray Bits, Mask;
  bool operator==(const TLayerState&) const = default;
};

struct TStackState {
  int Current = -1;
  std::vector<TLayerState> Layers;
  bool operator==(const TStackState&) const = default;
};

void PrintTo(const TStackState& S, std::ostream* Out) {
  *Out << "current " << S.Current << ",";
  for (const TLayerState& L : S.Layers)
    *Out << " [" << L.Caption.toStdString() << " " << L.W << "x" << L.H << " at " << L.X << "," << L.Y
         << (L.Visible ? "" : " hidden") << (L.Locked ? " locked" : "") << " type " << L.Type << " mask "
         << L.Mask.size() << "]";
}

QByteArray Bytes(const TBitmap& B) {
  QByteArray A;
  if (B.Empty()) return A;
  for (int Y = 0; Y < B.Height(); ++Y) A.append(reinterpret_cast<const char*>(B.ScanLine(Y)), 3 * B.Width());
  return A;
}

TBitmap Filled(int W, int H, TColor Color) { return TBitmap(W, H, pf24bit, Color); }

class MainFormLayerCommandsTest : public MainFormFixture {
protected:
  void SetUp() override {
    MainFormFixture::SetUp();
    Form = Start();
    OpenThroughMenu(*Form, "photo.png", *Bands(200, 150));
    ASSERT_TRUE(Form->UneImage());
    // #1: red, a transparent frame 5 pixels wide.
    TBitmap Frame = Filled(60, 40, clWhite);
    FillRectGrey(Frame, {5, 5, 55, 35}, 0);
    Nav().AddLayer(&Red, &Frame, {10, 20}, 100, "#1");
    // #2: green, more transparent to the right.
    TBitmap Ramp = Filled(50, 30, clBlack);
    for (int X = 0; X < 50; ++X) FillRectGrey(Ramp, {X, 0, X + 1, 30}, X * 5);
    Nav().AddLayer(&Green, &Ramp, {100, 60}, 100, "#2");
    // #3: blue, a transparent hole in its middle.
    TBitmap Hole = Filled(40, 40, clBlack);
    FillRectGrey(Hole, {15, 15, 25, 25}, 255);
    Nav().AddLayer(&Blue, &Hole, {30, 80}, 100, "#3");
    Select(2);
    Rebase();
  }
  // The state the next Undo must give back.
  void Rebase() {
    Original = State();
    OriginalThumbs = Thumbs();
  }
  void TearDown() override {
    Form.reset();
    MainFormFixture::TearDown();
  }

  static void FillRectGrey(TBitmap& B, const TRect& R, int V) {
    for (int Y = R.Top; Y < R.Bottom; ++Y)
      for (int X = R.Left; X < R.Right; ++X) SetPx(B, X, Y, Grey(V));
  }
  TMyImageLayered& Img() { return Form->Image(); }
  TLayerNavigator& Nav() { return *Form->LayerNav(); }
  TLayerItem& Layer(int I) { return Img().Layers()[I]; }
  void Select(int Index) {
    Img().SetLayerIndex(Index);
    Nav().ResetLayerIndex();
  }
  TStackState State() {
    TStackState S;
    S.Current = Img().LayerIndex();
    for (int I = 0; I < Img().Layers().Count(); ++I) {
      const TLayerItem& L = Layer(I);
      S.Layers.push_back({L.Caption, L.Visible, L.Locked, int(L.LayerType), L.Opacity, L.Pos.X, L.Pos.Y,
                          L.Bitmap().Width(), L.Bitmap().Height(), Bytes(L.Bitmap()), Bytes(L.Mask())});
    }
    return S;
  }
  // What the panel shows: one thumbnail per layer, the current row.
  std::vector<QByteArray> Thumbs() {
    std::vector<QByteArray> T;
    for (int I = 0; I < Nav().ThumbCount(); ++I) T.push_back(Bytes(Nav().Thumb(I)));
    return T;
  }
  void ExpectPanelFollows() {
    EXPECT_EQ(Nav().ThumbCount(), Img().Layers().Count());
    EXPECT_EQ(Nav().LayerIndex(), Img().LayerIndex());
  }
  void Trigger(const char* Name) { TriggerItem(*Form, Find(Name), Name); }
  // A menu item, or a copy in the popup's order submenu.
  QAction* Find(const char* Name) {
    if (QAction* Item = Form->MenuItem(Name)) return Item;
    for (QAction* Item : Form->MenuNamed("PopCalqueOrdre")->actions())
      if (Item->objectName() == QLatin1String(Name)) return Item;
    return nullptr;
  }
  int UndoCount() { return Form->ListeUndo().Count(); }
  // One Undo gives back the stack and the panel as they were before the
  // command (the current row is the step's layer's place, as for every step).
  void ExpectUndoRestores(const char* What) {
    Trigger("MenuEditionUndo");
    EXPECT_EQ(State().Layers, Original.Layers) << What;
    ExpectPanelFollows();
    EXPECT_EQ(Thumbs(), OriginalThumbs) << What;
  }
  // The layers panel's list of captions, as its menu of all layers shows
  // them (top layer first, the background last).
  QStringList PanelCaptions() {
    Nav().BtnPopup()->click();
    QMenu* Menu = Nav().findChild<QMenu*>();
    QStringList Captions;
    if (!Menu) return Captions;
    for (QAction* A : Menu->actions())
      if (!A->isSeparator()) Captions << A->text();
    Menu->hide();
    return Captions;
  }

  std::unique_ptr<TMainForm> Form;
  const TBitmap Red = Filled(60, 40, 0x0000FF), Green = Filled(50, 30, 0x00FF00), Blue = Filled(40, 40, 0xFF0000);
  TStackState Original;
  std::vector<QByteArray> OriginalThumbs;
};

} // namespace

TEST_F(MainFormLayerCommandsTest, OrderMovesLayersAboveTheBackgroundOnly) {
  const struct {
    const char* Item;
    int From, To;
  } Cases[] = {
      {"MenuCalqueOrdre1", 1, 3},
      {"MenuCalqueOrdre2", 1, 2},
      {"MenuCalqueOrdre3", 3, 2},
      {"MenuCalqueOrdre4", 3, 1},
      // The popup's copies run the menu's commands.
      {"PopCalqueOrdre_MenuCalqueOrdre2", 2, 3},
  };
  for (const auto& C : Cases) {
    Select(C.From);
    Rebase();
    const QString Moved = Layer(C.From).Caption;
    Trigger(C.Item);
    EXPECT_EQ(Layer(C.To).Caption, Moved) << C.Item;
    EXPECT_EQ(Img().LayerIndex(), C.To) << C.Item;
    EXPECT_EQ(Layer(0).Caption, "#0");
    ExpectPanelFollows();
    EXPECT_EQ(Bytes(Nav().Thumb(C.To)), OriginalThumbs[C.From]) << C.Item << ": the panel shows it moved";
    ExpectUndoRestores(C.Item);
    EXPECT_EQ(Img().LayerIndex(), C.From) << C.Item << ": Undo keeps the moved layer current";
    Trigger("MenuEditionRedo");
    EXPECT_EQ(Layer(C.To).Caption, Moved) << C.Item;
    EXPECT_EQ(Img().LayerIndex(), C.To) << C.Item << ": Redo keeps the moved layer current";
    Trigger("MenuEditionUndo");
  }
  // Nothing goes under the background, nothing above the top.
  Select(1);
  Form->RefreshMenuStates();
  EXPECT_FALSE(Form->MenuItem("MenuCalqueOrdre3")->isEnabled());
  EXPECT_FALSE(Find("PopCalqueOrdre_MenuCalqueOrdre4")->isEnabled());
  Select(3);
  Form->RefreshMenuStates();
  EXPECT_FALSE(Form->MenuItem("MenuCalqueOrdre2")->isEnabled());
}

TEST_F(MainFormLayerCommandsTest, DuplicateAndDeleteAreUndoneWhole) {
  Trigger("MenuCalqueDupliquer");
  ASSERT_EQ(Img().Layers().Count(), 5);
  EXPECT_EQ(Layer(3).Caption, "#4");
  EXPECT_EQ(Bytes(Layer(3).Mask()), Bytes(Layer(2).Mask()));
  EXPECT_EQ(Img().LayerIndex(), 3);
  EXPECT_EQ(Form->ListeUndo().CurrentUndo()->Caption, "Dupliquer");
  ExpectPanelFollows();
  ExpectUndoRestores("duplicate");

  Select(2);
  Trigger("PopCalqueSupprimer");
  ASSERT_EQ(Img().Layers().Count(), 3);
  EXPECT_EQ(Layer(2).Caption, "#3");
  ExpectPanelFollows();
  ExpectUndoRestores("delete");

  // Neither the background nor a locked layer goes.
  Select(0);
  Form->RefreshMenuStates();
  EXPECT_FALSE(Form->MenuItem("MenuCalqueSupprimer")->isEnabled());
  Select(2);
  Layer(2).Locked = true;
  Form->RefreshMenuStates();
  EXPECT_FALSE(Form->MenuItem("MenuCalqueSupprimer")->isEnabled());
}

TEST_F(MainFormLayerCommandsTest, MergesAreUndoneWhole) {
  Trigger("MenuCalqueFusionPrev");
  ASSERT_EQ(Img().Layers().Count(), 3);
  EXPECT_EQ(Img().LayerIndex(), 1);
  EXPECT_NE(Bytes(Layer(1).Bitmap()), Original.Layers[1].Bits) << "green lands on red";
  ExpectPanelFollows();
  ExpectUndoRestores("merge with the layer below");

  // The drop shadow becomes the layer's own pixels: the layer grows.
  Layer(2).ShadowInfos.DrawShadow = true;
  Rebase();
  Trigger("PopCalqueFusionOmbre");
  EXPECT_GT(Layer(2).Bitmap().Width(), 50);
  EXPECT_FALSE(Layer(2).ShadowInfos.DrawShadow);
  ExpectPanelFollows();
  ExpectUndoRestores("merge the shadow");

  // The steps about every layer are the background's, which becomes current.
  Select(0);
  Rebase();
  Trigger("MenuCalqueFusionAll");
  ASSERT_EQ(Img().Layers().Count(), 1);
  // The red layer's opaque inside (image point 20, 30) is on the background.
  EXPECT_EQ(Px(Layer(0).Bitmap(), 20, 30), Rgb(255, 0, 0));
  ExpectPanelFollows();
  ExpectUndoRestores("merge all");

  Layer(3).Visible = false;
  Rebase();
  Trigger("MenuCalqueFusionAllVisible");
  ASSERT_EQ(Img().Layers().Count(), 2);
  EXPECT_EQ(Layer(1).Caption, "#3") << "the hidden layer stays";
  ExpectPanelFollows();
  Trigger("MenuEditionUndo");
  EXPECT_EQ(State(), Original);
}

TEST_F(MainFormLayerCommandsTest, ShowHideAllAndThePopupSwitches) {
  // The steps about every layer are the background's, which becomes current.
  Select(0);
  Rebase();
  Trigger("MenuCalqueMasquerTout");
  for (int I = 1; I < 4; ++I) EXPECT_FALSE(Layer(I).Visible) << I;
  EXPECT_TRUE(Layer(0).Visible);
  ExpectUndoRestores("hide all");

  Layer(1).Visible = false;
  Rebase();
  Trigger("MenuCalqueAfficherTout");
  EXPECT_TRUE(Layer(1).Visible);
  Trigger("MenuEditionUndo");
  EXPECT_EQ(State(), Original);
  Layer(1).Visible = true;
  Select(2);
  Rebase();

  // Consecutive switches of one layer make one step.
  Trigger("PopCalqueVisible");
  EXPECT_FALSE(Layer(2).Visible);
  Trigger("PopCalqueVerrou");
  EXPECT_TRUE(Layer(2).Locked);
  EXPECT_EQ(Form->ListeUndo().CurrentUndo()->Caption, "Calque > Options");
  ExpectUndoRestores("visible and lock");
}

TEST_F(MainFormLayerCommandsTest, PopupOpenedFromThePanelShowsTheLayersState) {
  Layer(2).Locked = true;
  QMenu* Popup = Form->MenuNamed("PopCalque");
  ASSERT_EQ(Nav().PopupMenu, Popup);
  // A right click on the current layer's row.
  Nav().MakeCurrentLayerVisible();
  int RowY = -1;
  for (int Y = 0; Y < Nav().height() && RowY < 0; ++Y)
    if (Nav().ItemAtPos(Nav().width() / 2, Y) == 2) RowY = Y;
  ASSERT_GE(RowY, 0) << Nav().width() << "x" << Nav().height() << (Nav().isVisible() ? " shown" : " hidden");
  QTest::mouseClick(&Nav(), Qt::RightButton, {}, QPoint(Nav().width() / 2, RowY));
  ASSERT_TRUE(WaitUntil([Popup] { return Popup->isVisible(); }));
  EXPECT_TRUE(Form->MenuItem("PopCalqueVisible")->isChecked());
  EXPECT_TRUE(Form->MenuItem("PopCalqueVerrou")->isChecked());
  EXPECT_FALSE(Form->MenuItem("PopCalqueSupprimer")->isEnabled());
  EXPECT_TRUE(Form->MenuItem("PopCalqueRenommer")->isEnabled());
  EXPECT_FALSE(Form->MenuItem("PopCalqueEditAlpha")->isEnabled()) << "a locked layer's mask";
  Popup->hide();
}

TEST_F(MainFormLayerCommandsTest, RenameTakesAnyTextAndMergesItsSteps) {
  QStringList Answers{"Ciel", "Nuages"};
  QString Shown;
  TScopedMsgDlgAnswers Scope([&](const TMsgDlgRequest& R) {
    Shown = R.Text;
    if (Answers.isEmpty()) return TMsgDlgAnswer{mrCancel, {}};
    return TMsgDlgAnswer{mrOk, Answers.takeFirst()};
  });
  const int Steps = UndoCount();
  Trigger("MenuCalqueRenommer");
  EXPECT_EQ(Shown, "Calque 2") << "the shown caption is offered";
  EXPECT_EQ(Layer(2).Caption, "Ciel");
  Trigger("PopCalqueRenommer");
  EXPECT_EQ(Layer(2).Caption, "Nuages");
  EXPECT_EQ(UndoCount(), Steps + 1);
  EXPECT_TRUE(PanelCaptions().contains("2. Nuages"));
  // Cancelled: nothing changes.
  Trigger("MenuCalqueRenommer");
  EXPECT_EQ(Layer(2).Caption, "Nuages");
  ExpectUndoRestores("rename");
}

TEST_F(MainFormLayerCommandsTest, CentreMovesTheLayerInTheImage) {
  Trigger("MenuCalqueCentre1");
  EXPECT_EQ(Layer(2).Pos, (TPoint{75, 60}));
  Trigger("MenuCalqueCentre3");
  EXPECT_EQ(Layer(2).Pos, (TPoint{75, 60}));
  Select(1);
  Rebase();
  Trigger("MenuCalqueCentre2");
  EXPECT_EQ(Layer(1).Pos, (TPoint{70, 20}));
  ExpectUndoRestores("centre");
}

TEST_F(MainFormLayerCommandsTest, FlipsAndQuarterTurnsOfTheLayer) {
  // Layer #2 is 50 x 30, its mask 0 at the left and 245 at the right.
  const struct {
    const char* Item;
    int W, H, MaskX, MaskY, Expected;
  } Cases[] = {
      {"MenuCalqueSymHoriz", 50, 30, 49, 0, 245}, // top-bottom: columns kept
      {"MenuCalqueSymVert", 50, 30, 0, 0, 245},   // left-right
      {"MenuCalque90h", 30, 50, 0, 49, 245},      // clockwise: right goes down
      {"MenuCalque90a", 30, 50, 0, 0, 245},       // anticlockwise: right goes up
      {"MenuCalque180", 50, 30, 0, 29, 245},
  };
  for (const auto& C : Cases) {
    Trigger(C.Item);
    EXPECT_EQ(Layer(2).Bitmap().Width(), C.W) << C.Item;
    EXPECT_EQ(Layer(2).Bitmap().Height(), C.H) << C.Item;
    EXPECT_EQ(Px(Layer(2).Mask(), C.MaskX, C.MaskY), Grey(C.Expected)) << C.Item;
    ExpectPanelFollows();
    ExpectUndoRestores(C.Item);
  }
}

TEST_F(MainFormLayerCommandsTest, EdgeEffectsChangeOnlyTheMaskAndRepeat) {
  Select(1);
  Rebase();
  for (const char* Item :
       {"MenuCalqueBordLisser", "MenuCalqueBordOptimise", "MenuCalqueBordFlou", "MenuCalqueBordDechire"}) {
    Trigger(Item);
    EXPECT_NE(Bytes(Layer(1).Mask()), Original.Layers[1].Mask) << Item;
    EXPECT_EQ(Bytes(Layer(1).Bitmap()), Original.Layers[1].Bits) << Item;
    EXPECT_EQ(Form->ListeUndo().CurrentUndo()->Caption, "Effet de bord") << Item;
    Form->RefreshMenuStates();
    EXPECT_TRUE(Form->MenuItem("MenuEditionRepeter")->isEnabled()) << Item;
    ExpectUndoRestores(Item);
  }
  // The inside's edge pixel next to the frame softens: the mean of nine.
  Trigger("MenuCalqueBordLisser");
  EXPECT_EQ(Px(Layer(1).Mask(), 5, 20), Grey(3 * 377 / 9)) << "a transparent neighbour counts 377";
  EXPECT_EQ(Px(Layer(1).Mask(), 30, 20), Grey(0));
  Trigger("MenuEditionRepeter");
  EXPECT_GT(Px(Layer(1).Mask(), 6, 20).Blue, 0) << "repeated, the softening goes one pixel further";
}

TEST_F(MainFormLayerCommandsTest, RadialTransparencyOnlyAddsTransparency) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  Select(3);
  Rebase();
  Trigger("MenuSelTout");
  Form->Sel()->SetBmpSelRect({30, 80, 70, 120}); // the layer's place in the image
  Trigger("MenuCalqueDegradeRadial1");
  const TBitmap& M = Layer(3).Mask();
  EXPECT_EQ(Px(M, 20, 20), Grey(255)) << "the hole stays transparent";
  EXPECT_EQ(Px(M, 0, 0), Grey(255)) << "the corner becomes transparent";
  EXPECT_LT(Px(M, 12, 20).Blue, 128) << "near the centre the layer stays mostly opaque";
  EXPECT_EQ(Bytes(Layer(3).Bitmap()), Original.Layers[3].Bits);
  Form->MasquerSelection();
  ExpectUndoRestores("radial");

  Trigger("MenuSelTout");
  Form->Sel()->SetBmpSelRect({30, 80, 70, 120});
  Trigger("MenuCalqueDegradeRadial2");
  EXPECT_EQ(Px(Layer(3).Mask(), 0, 0), Grey(0)) << "inverted: the corner stays opaque";
  EXPECT_GT(Px(Layer(3).Mask(), 12, 20).Blue, 128) << "inverted: the centre becomes transparent";
  Form->MasquerSelection();
  ExpectUndoRestores("radial inverted");

  // A selection that holds no pixel of the layer.
  Trigger("MenuSelTout");
  Form->Sel()->SetBmpSelRect({150, 10, 190, 40});
  const int Steps = UndoCount();
  Trigger("MenuCalqueDegradeRadial1");
  EXPECT_EQ(Messages.Shown.value(0), QString::fromUtf8("Aucun pixel à traiter !"));
  EXPECT_EQ(UndoCount(), Steps);
  EXPECT_EQ(State(), Original);
}

TEST_F(MainFormLayerCommandsTest, CropToTheOpaquePartAndMaskCommands) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  Select(1);
  Rebase();
  Trigger("MenuCalqueCropTrans");
  EXPECT_EQ(Layer(1).Pos, (TPoint{15, 25}));
  EXPECT_EQ(Layer(1).Bitmap().Width(), 50);
  EXPECT_EQ(Layer(1).Bitmap().Height(), 30);
  EXPECT_TRUE(Messages.Shown.isEmpty());
  ExpectUndoRestores("crop");

  // No transparent border: a message, no step.
  Select(2);
  Rebase();
  const int Steps = UndoCount();
  Trigger("MenuCalqueCropTrans");
  EXPECT_EQ(Messages.Shown.value(0), QString::fromUtf8("Détection des bords impossible !"));
  EXPECT_EQ(UndoCount(), Steps);
  EXPECT_EQ(State(), Original);
  // Fully transparent: the same.
  FillRectGrey(Layer(2).Mask(), {0, 0, 50, 30}, 255);
  Trigger("MenuCalqueCropTrans");
  EXPECT_EQ(Messages.Shown.size(), 2);
  EXPECT_EQ(UndoCount(), Steps);
  FillRectGrey(Layer(2).Mask(), {0, 0, 50, 30}, 0);
  for (int X = 0; X < 50; ++X) FillRectGrey(Layer(2).Mask(), {X, 0, X + 1, 30}, X * 5);

  // The background keeps the image's origin and size, whatever its mask.
  Select(0);
  Layer(0).Mask().Assign(Filled(200, 150, clWhite));
  FillRectGrey(Layer(0).Mask(), {20, 20, 60, 60}, 0);
  Rebase();
  Form->RefreshMenuStates();
  EXPECT_FALSE(Form->MenuItem("MenuCalqueCropTrans")->isEnabled());
  Form->MenuCalqueCropTransClick(Form->MenuItem("MenuCalqueCropTrans"));
  EXPECT_EQ(State(), Original);
  EXPECT_EQ(UndoCount(), Steps);
  Layer(0).Mask().Assign(TBitmap());
  Select(2);
  Rebase();

  Trigger("MenuCalqueDelTrans");
  EXPECT_EQ(Bytes(Layer(2).Mask()), QByteArray(50 * 30 * 3, 0));
  ExpectUndoRestores("opaque");

  // The mask's negative opens as an image of its own.
  const size_t Windows = ImageWindows().size();
  Trigger("MenuCalqueEditAlpha");
  ASSERT_EQ(ImageWindows().size(), Windows + 1);
  EXPECT_EQ(Px(Form->LeFond(), 0, 0), Grey(255));
  EXPECT_EQ(Px(Form->LeFond(), 49, 0), Grey(10));
}

TEST_F(MainFormLayerCommandsTest, TextBecomesAnImageLayer) {
  const int Index = Nav().AddLayerData(std::make_unique<TTestTextData>(), "#4");
  ASSERT_EQ(Layer(Index).LayerType, ltData);
  Rebase();
  Trigger("MenuCalqueTxtToCalque");
  EXPECT_EQ(Layer(Index).LayerType, ltBitmap);
  Form->RefreshMenuStates();
  EXPECT_FALSE(Form->MenuItem("MenuCalqueTxtToCalque")->isEnabled());
  ExpectUndoRestores("text to image");
}

TEST_F(MainFormLayerCommandsTest, NewTransparentBackgroundGoesUnderTheStack) {
  Select(0);
  Rebase();
  Trigger("MenuCalqueFond2");
  ASSERT_EQ(Img().Layers().Count(), 5);
  EXPECT_EQ(Layer(0).Caption, "#0");
  EXPECT_EQ(Layer(1).Caption, "#4") << "the former background takes the next name";
  EXPECT_EQ(Bytes(Layer(1).Bitmap()), Original.Layers[0].Bits);
  ExpectPanelFollows();
  ExpectUndoRestores("new background");
}

TEST_F(MainFormLayerCommandsTest, OpenAsLayerCentresThePictureInTheView) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  const QString Small = WritePng("small.png", Filled(20, 10, 0x00FFFF));
  SetFileDialogProvider([Small](TFileDialogState&) { return QStringList{Small}; });
  Trigger("MenuCalqueOuvrir");
  ASSERT_EQ(Img().Layers().Count(), 5);
  EXPECT_EQ(Img().LayerIndex(), 3) << "above the current layer";
  const TLayerItem& L = Layer(3);
  EXPECT_EQ(L.Caption, "#4");
  EXPECT_EQ(Px(L.Bitmap(), 0, 0), Rgb(255, 255, 0));
  // The whole image is in view here: centred in it.
  EXPECT_EQ(L.Pos, (TPoint{90, 70}));
  EXPECT_EQ(Form->ListeUndo().CurrentUndo()->Caption, "Ouvrir en tant que calque");
  ExpectPanelFollows();
  ExpectUndoRestores("open as layer");

  // A file that is no picture: reported, nothing added.
  QFile Broken(Path("broken.png"));
  ASSERT_TRUE(Broken.open(QIODevice::WriteOnly));
  Broken.write("not a picture");
  Broken.close();
  SetFileDialogProvider([this](TFileDialogState&) { return QStringList{Path("broken.png")}; });
  const int Steps = UndoCount();
  Trigger("MenuCalqueOuvrir");
  EXPECT_EQ(Img().Layers().Count(), 4);
  EXPECT_EQ(UndoCount(), Steps);
  EXPECT_FALSE(Messages.Shown.isEmpty());
  // Cancelled: nothing at all.
  SetFileDialogProvider([](TFileDialogState&) { return QStringList(); });
  Trigger("MenuCalqueOuvrir");
  EXPECT_EQ(State().Layers, Original.Layers);
  EXPECT_EQ(UndoCount(), Steps);
}

TEST_F(MainFormLayerCommandsTest, DistortionFromTheSelectionPopupWorksOnANewLayer) {
  Select(0);
  Rebase();
  Trigger("MenuSelTout");
  Form->Sel()->SetBmpSelRect({20, 20, 80, 60});
  QMenu* Menu = Form->MenuNamed("PopSelTransform");
  emit Menu->aboutToShow();
  QAction* Distort = nullptr;
  for (QAction* A : Menu->actions())
    if (A->objectName() == QLatin1String("PopSelTransform_MenuCalqueTransformDistort")) Distort = A;
  ASSERT_TRUE(Distort);
  ASSERT_TRUE(Distort->isEnabled()) << "the background's selection can be distorted";
  Distort->trigger();
  ASSERT_EQ(Img().Layers().Count(), 5) << "the selection became a layer before the frame shows";
  EXPECT_EQ(Img().LayerIndex(), 1);
  EXPECT_EQ(Layer(1).Bitmap().Width(), 60);
  EXPECT_EQ(Form->VerticesMode, 1);
  ExpectPanelFollows();
  // Cancelled, the layer goes again, and with it its step.
  Form->MenuItem("PopDistorsionAnnuler")->trigger();
  EXPECT_EQ(Form->VerticesMode, 0);
  EXPECT_EQ(State().Layers, Original.Layers);
  ExpectPanelFollows();
  EXPECT_FALSE(Form->ListeUndo().CurrentUndo());
}

TEST_F(MainFormLayerCommandsTest, DuplicateFromTheSelectionPopupMakesTheSelectionALayer) {
  Select(0);
  Rebase();
  Trigger("MenuSelTout");
  Form->Sel()->SetBmpSelRect({20, 20, 80, 60});
  emit Form->MenuNamed("PopSel")->aboutToShow();
  QAction* Item = Form->MenuItem("PopSelDupliquer");
  ASSERT_TRUE(Item->isEnabled());
  Item->trigger();
  ASSERT_EQ(Img().Layers().Count(), 5);
  EXPECT_EQ(Img().LayerIndex(), 1);
  EXPECT_EQ(Layer(1).Pos, (TPoint{20, 20}));
  EXPECT_EQ(Layer(1).Bitmap().Width(), 60);
  EXPECT_EQ(Layer(1).Bitmap().Height(), 40);
  EXPECT_EQ(Px(Layer(1).Bitmap(), 0, 0), Px(Layer(0).Bitmap(), 20, 20));
  EXPECT_FALSE(Form->Sel()->Visible());
  ASSERT_TRUE(WaitUntil([this] { return Form->Palette() != nullptr; }));
  EXPECT_EQ(Form->Palette()->Tool(), 13);
  EXPECT_EQ(Form->ListeUndo().CurrentUndo()->Caption, "Dupliquer");
  ExpectPanelFollows();
  Trigger("MenuEditionUndo");
  EXPECT_EQ(State().Layers, Original.Layers);
  ExpectPanelFollows();
}

TEST_F(MainFormLayerCommandsTest, CaptionHookNamesNumberedLayers) {
  const std::pair<const char*, const char*> Cases[] = {
      {"#3", "Calque 3"}, {"#0", "Fond"}, {"#x1", "#x1"}, {"#12", "Calque 12"}, {"Ciel", "Ciel"}};
  for (const auto& [Stored, Shown] : Cases) {
    Layer(1).Caption = Stored;
    EXPECT_EQ(Layer(1).DisplayCaption(), QString::fromUtf8(Shown)) << Stored;
  }
  // A "#7" the user types is a number like any other.
  TScopedMsgDlgAnswers Scope([](const TMsgDlgRequest&) { return TMsgDlgAnswer{mrOk, "#7"}; });
  Select(2);
  Trigger("MenuCalqueRenommer");
  EXPECT_TRUE(PanelCaptions().contains("2. Calque 7"));

  // A text layer read from a file gets its data object, once.
  TLayerItem Item;
  Form->ImageNeedLayerData(Item);
  const TLayerData* Made = Item.Data();
  EXPECT_TRUE(dynamic_cast<const TTextData*>(Made));
  Form->ImageNeedLayerData(Item);
  EXPECT_EQ(Item.Data(), Made);
}
