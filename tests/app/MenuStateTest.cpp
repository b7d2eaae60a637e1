#include "app/MenuState.h"

#include <gtest/gtest.h>

namespace {

// A 24-bit one-layer image with a visible, editable bitmap background.
TMenuSnapshot PlainImage() {
  TMenuSnapshot S;
  S.Image = S.Mode16M = S.LayerEditable = S.PixelLayer = S.LayerVisible = true;
  S.CurrentIsBackground = S.AnyLayerVisible = S.BkgVisible = true;
  S.LayerCount = 1;
  S.ImageWindowCount = 1;
  return S;
}

// The state of one item: the general condition unless the rule names it.
bool Enabled(const TMenuState& M, const QString& Name) {
  if (M.DisableEverything) return false;
  bool Result = M.All;
  for (const auto& [N, E] : M.Enabled)
    if (N == Name) Result = E;
  return Result;
}

QString Caption(const TMenuState& M, const QString& Name) {
  for (const auto& [N, C] : M.Captions)
    if (N == Name) return C;
  return {};
}

bool Checked(const TMenuState& M, const QString& Name) {
  for (const auto& [N, C] : M.Checked)
    if (N == Name) return C;
  return false;
}

bool Button(const TMenuSnapshot& S, const QString& Name) {
  for (const auto& [N, E] : ToolButtonStates(S))
    if (N == Name) return E;
  ADD_FAILURE() << "no button " << Name.toStdString();
  return false;
}

const TMenuCaptions Captions;

} // namespace

// The filter and adjust menus and the filter bar on a table of states.
TEST(MenuState, FiltersNeedAnEditable16MPixelLayerOnAnOpaqueBackground) {
  struct TCase {
    const char* What;
    void (*Change)(TMenuSnapshot&);
    bool Filters;
  };
  const TCase Cases[] = {
      {"plain image", [](TMenuSnapshot&) {}, true},
      {"no image", [](TMenuSnapshot& S) { S = TMenuSnapshot(); }, false},
      {"256 colours", [](TMenuSnapshot& S) { S.Mode16M = false; }, false},
      {"text layer current", [](TMenuSnapshot& S) { S.PixelLayer = false; }, false},
      {"locked layer", [](TMenuSnapshot& S) { S.LayerEditable = false; }, false},
      {"transparent background", [](TMenuSnapshot& S) { S.BkgTransparent = true; }, false},
      {"RGBA", [](TMenuSnapshot& S) { S.RGBA = S.BkgMask = true; }, true},
      {"dialogue form", [](TMenuSnapshot& S) { S.DialogueForm = S.Blocked = true; }, false},
      {"vertex mode", [](TMenuSnapshot& S) { S.Blocked = true; }, false},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.What);
    TMenuSnapshot S = PlainImage();
    C.Change(S);
    EXPECT_EQ(Enabled(FiltreMenuState(S), "MenuFiltreFlou"), C.Filters);
    EXPECT_EQ(Enabled(ReglageMenuState(S), "MenuReglageLum"), C.Filters);
    // The buttons leave the dialogue to the command's own permission.
    EXPECT_EQ(Button(S, "BtnFlou"), C.Filters || std::string(C.What) == "dialogue form" ||
                                        std::string(C.What) == "vertex mode");
  }
}

TEST(MenuState, EditMenuWithoutImageOffersOnlyPastingAndPurging) {
  TMenuSnapshot S;
  TMenuState M = EditionMenuState(S, Captions);
  EXPECT_FALSE(Enabled(M, "MenuEditionUndo"));
  EXPECT_FALSE(Enabled(M, "MenuEditionCopier"));
  EXPECT_FALSE(Enabled(M, "MenuEditionCollerImg"));
  EXPECT_EQ(Caption(M, "MenuAttenuer"), QString::fromUtf8("Atténuer"));
  S.ClipboardImage = true;
  M = EditionMenuState(S, Captions);
  EXPECT_TRUE(Enabled(M, "MenuEditionCollerImg"));
  EXPECT_TRUE(Enabled(M, "MenuEditionPurger"));
  EXPECT_FALSE(Enabled(M, "MenuEditionRepeter"));
  // The toolbar keeps only what needs no image.
  EXPECT_FALSE(Button(S, "BtnEnregistrerSous"));
  EXPECT_FALSE(Button(S, "BtnZoomPlus"));
}

TEST(MenuState, AfterABlurRepeatAndFadeNameIt) {
  TMenuSnapshot S = PlainImage();
  S.HasUndo = true;
  S.UndoCaption = "Flou";
  S.UndoKind = 7; // miFiltre
  S.LastFilter = true;
  S.LastFilterCaption = "Flou";
  TMenuState M = EditionMenuState(S, Captions);
  EXPECT_TRUE(Enabled(M, "MenuEditionRepeter"));
  EXPECT_EQ(Caption(M, "MenuEditionRepeter"), QString::fromUtf8("Répéter Flou"));
  EXPECT_TRUE(Enabled(M, "MenuAttenuer"));
  EXPECT_EQ(Caption(M, "MenuAttenuer"), QString::fromUtf8("Atténuer Flou..."));
  EXPECT_TRUE(Enabled(M, "MenuEditionUndo"));
  EXPECT_FALSE(Enabled(M, "MenuEditionRedo"));

  // A fade of a fade keeps the record's own caption.
  S.UndoKind = 23;
  S.UndoCaption = QString::fromUtf8("Atténuer Flou");
  EXPECT_EQ(Caption(EditionMenuState(S, Captions), "MenuAttenuer"), QString::fromUtf8("Atténuer Flou..."));
  // A change that cannot be faded, a layer move, a 256-colour image.
  S.UndoKind = 7;
  S.UndoNoFade = true;
  EXPECT_FALSE(Enabled(EditionMenuState(S, Captions), "MenuAttenuer"));
  S.UndoNoFade = false;
  S.UndoKind = 11;
  M = EditionMenuState(S, Captions);
  EXPECT_FALSE(Enabled(M, "MenuAttenuer"));
  EXPECT_EQ(Caption(M, "MenuAttenuer"), QString::fromUtf8("Atténuer"));
  S.Mode16M = false;
  EXPECT_FALSE(Enabled(EditionMenuState(S, Captions), "MenuEditionRepeter"));
  // Blocked: nothing, not even Undo.
  S = PlainImage();
  S.HasUndo = true;
  S.Blocked = true;
  EXPECT_FALSE(Enabled(EditionMenuState(S, Captions), "MenuEditionUndo"));
}

TEST(MenuState, RepeatFollowsItsRememberedCondition) {
  TMenuSnapshot S = PlainImage();
  S.LastFilter = true;
  struct TCase {
    int Flag;
    bool Selection, Inverted, Mask, Pattern;
    TMyShape Shape;
    bool Allowed;
  };
  const TCase Cases[] = {
      {0, true, true, false, false, ssEllipse, true},  {1, false, false, false, false, ssRect, true},
      {1, true, false, false, false, ssEllipse, false}, {1, true, true, false, false, ssRect, false},
      {2, true, true, false, false, ssRect, false},     {2, false, true, false, false, ssRect, true},
      {3, false, false, false, false, ssRect, false},   {3, true, false, false, false, ssRect, true},
      {4, false, false, false, false, ssRect, false},   {4, false, false, true, false, ssRect, true},
      {5, false, false, false, false, ssRect, false},   {5, false, false, false, true, ssRect, true},
  };
  for (const TCase& C : Cases) {
    S.LastFilterFlag = C.Flag;
    S.Selection = C.Selection;
    S.SelInverted = C.Inverted;
    S.LayerHasMask = C.Mask;
    S.PatternStored = C.Pattern;
    S.SelShape = C.Shape;
    EXPECT_EQ(Enabled(EditionMenuState(S, Captions), "MenuEditionRepeter"), C.Allowed) << C.Flag;
  }
}

TEST(MenuState, ImageMenuFollowsTheColourModeAndVisibleLayers) {
  TMenuSnapshot S = PlainImage();
  S.Mode16M = false; // 256 colours
  TMenuState M = ImageMenuState(S);
  EXPECT_TRUE(Checked(M, "MenuModeIndex"));
  EXPECT_FALSE(Checked(M, "MenuModeRGB"));
  EXPECT_TRUE(Enabled(M, "MenuModeRGB"));
  EXPECT_FALSE(Enabled(M, "MenuImagePerspective"));
  S.Mode16M = true;
  S.AnyLayerVisible = false;
  M = ImageMenuState(S);
  EXPECT_FALSE(Enabled(M, "MenuImageRecadrerAuto"));
  EXPECT_TRUE(Enabled(M, "MenuImageRedim"));
  EXPECT_TRUE(Enabled(M, "MenuDupliquer"));
  S.AnyLayerVisible = true;
  S.BkgLocked = true;
  M = ImageMenuState(S);
  EXPECT_FALSE(Enabled(M, "MenuImageRedim"));
  EXPECT_TRUE(Enabled(M, "MenuDupliquer"));
  // Flips and turns: of the background while it shows, of every layer with
  // several.
  S.BkgLocked = false;
  M = ImageMenuState(S);
  EXPECT_TRUE(Enabled(M, "MenuImageRot90_1"));
  EXPECT_FALSE(Enabled(M, "MenuImageRot90_2"));
  S.BkgVisible = false;
  S.LayerCount = 2;
  M = ImageMenuState(S);
  EXPECT_FALSE(Enabled(M, "MenuImageSymHoriz1"));
  EXPECT_TRUE(Enabled(M, "MenuImageSymHoriz2"));
}

TEST(MenuState, SelectionMenuCaptionsAndNeeds) {
  TMenuSnapshot S = PlainImage();
  TMenuState M = SelectionMenuState(S, "Afficher", "Masquer");
  EXPECT_EQ(Caption(M, "MenuSelSelection"), "Afficher");
  EXPECT_FALSE(Enabled(M, "MenuSelInverser"));
  EXPECT_TRUE(Enabled(M, "MenuSelTout"));
  S.Selection = true;
  S.SelShape = ssBitmap;
  S.SelAnimated = true;
  M = SelectionMenuState(S, "Afficher", "Masquer");
  EXPECT_EQ(Caption(M, "MenuSelSelection"), "Masquer");
  EXPECT_TRUE(Enabled(M, "MenuSelInverser"));
  EXPECT_FALSE(Enabled(M, "MenuSelAdapter"));
  EXPECT_FALSE(Enabled(M, "MenuSelReperes"));
  EXPECT_TRUE(Checked(M, "MenuSelAnimer"));
  S.DialogueForm = true;
  M = SelectionMenuState(S, "Afficher", "Masquer");
  EXPECT_FALSE(Enabled(M, "MenuSelTout"));
  EXPECT_FALSE(Checked(M, "MenuSelAnimer"));
}

TEST(MenuState, ViewMenuZoomItemsFollowTheSteps) {
  TMenuSnapshot S = PlainImage();
  S.ZoomInPossible = false; // at 1600 %
  S.ZoomOutPossible = true;
  S.ZoomStep = 15;
  TMenuState M = AffichageMenuState(S);
  EXPECT_FALSE(Enabled(M, "MenuZoomAvant"));
  EXPECT_TRUE(Enabled(M, "MenuZoomArriere"));
  EXPECT_TRUE(Enabled(M, "MenuZoom100"));
  EXPECT_FALSE(Button(S, "BtnZoomPlus"));
  S.ZoomStep = 7;
  EXPECT_FALSE(Enabled(AffichageMenuState(S), "MenuZoom100"));
  // Without an image the toolbars and the palette can still be shown.
  const TMenuSnapshot None;
  M = AffichageMenuState(None);
  EXPECT_TRUE(Enabled(M, "MenuAffichageBarreFiltres"));
  EXPECT_FALSE(Enabled(M, "MenuZoomAvant"));
  EXPECT_FALSE(Enabled(M, "MenuAffichageBarrePlugins"));
}

TEST(MenuState, PopupsEnableWhatTheImageAndTheClipboardAllow) {
  TMenuSnapshot None;
  TMenuState M = PopFormMenuState(None);
  EXPECT_FALSE(Enabled(M, "PopFormColler"));
  EXPECT_FALSE(Enabled(M, "PopFormFermer"));
  EXPECT_TRUE(Enabled(M, "PopFormNouveau"));
  None.ClipboardImage = true;
  EXPECT_TRUE(Enabled(PopFormMenuState(None), "PopFormColler"));
  EXPECT_TRUE(Enabled(PopFormMenuState(PlainImage()), "PopFormReorganiser"));

  TMenuSnapshot S = PlainImage();
  S.ClipboardImage = true;
  M = PopImgMenuState(S);
  EXPECT_TRUE(Enabled(M, "PopImgColler"));
  EXPECT_FALSE(Enabled(M, "PopImgCopierFusion"));
  EXPECT_FALSE(Enabled(M, "PopImgEnregistrer"));
  EXPECT_FALSE(Enabled(M, "PopImgUndo"));
  S.BkgTransparent = true; // a keyed background takes no paste
  S.Modified = S.HasUndo = true;
  M = PopImgMenuState(S);
  EXPECT_FALSE(Enabled(M, "PopImgColler"));
  EXPECT_TRUE(Enabled(M, "PopImgEnregistrer"));
  EXPECT_TRUE(Enabled(M, "PopImgUndo"));
  S = PlainImage();
  S.PixelLayer = false; // a text layer is current
  S.LayerCount = 2;
  M = PopImgMenuState(S);
  EXPECT_FALSE(Enabled(M, "PopImgCopier"));
  EXPECT_TRUE(Enabled(M, "PopImgCopierFusion"));
}

TEST(MenuState, SelectionPopupFollowsTheColoursLayerAndSelection) {
  const auto Sel = [](const TMenuSnapshot& S) { return PopSelMenuState(S, "Recadrer l'image", "Recadrer le calque"); };
  TMenuSnapshot S = PlainImage();
  S.Selection = true;
  TMenuState M = Sel(S);
  for (const char* Name : {"PopSelCR", "PopSelCouper", "PopSelEffacer", "PopSelCopier", "PopSelTransform",
                           "PopSelDupliquer", "PopSelLissage", "PopSelRecadrer"})
    EXPECT_TRUE(Enabled(M, Name)) << Name;
  EXPECT_EQ(Caption(M, "PopSelRecadrer"), "Recadrer l'image");

  // 256 colours.
  S.Mode16M = false;
  M = Sel(S);
  for (const char* Name : {"PopSelCouper", "PopSelEffacer", "PopSelTransform", "PopSelDupliquer", "PopSelLissage"})
    EXPECT_FALSE(Enabled(M, Name)) << Name;
  EXPECT_TRUE(Enabled(M, "PopSelCopier"));
  EXPECT_TRUE(Enabled(M, "PopSelRecadrer")); // a plain rectangle
  S.SelShape = ssEllipse;
  EXPECT_FALSE(Enabled(Sel(S), "PopSelRecadrer"));

  // A locked layer above the background with an inverted selection.
  S = PlainImage();
  S.Selection = S.SelInverted = true;
  S.CurrentIsBackground = false;
  S.LayerEditable = false;
  S.LayerCount = 2;
  M = Sel(S);
  EXPECT_EQ(Caption(M, "PopSelRecadrer"), "Recadrer le calque");
  EXPECT_FALSE(Enabled(M, "PopSelRecadrer"));
  EXPECT_FALSE(Enabled(M, "PopSelCouper"));
  EXPECT_FALSE(Enabled(M, "PopSelTransform"));
  EXPECT_TRUE(Enabled(M, "PopSelCopier"));
  EXPECT_TRUE(Enabled(M, "PopSelCopierFusion"));
  S.BkgTransparent = true;
  S.LayerEditable = true;
  S.ClipboardImage = true;
  M = Sel(S);
  EXPECT_FALSE(Enabled(M, "PopSelCollerIn"));
  EXPECT_FALSE(Enabled(M, "PopSelDupliquer"));
  EXPECT_FALSE(Enabled(M, "PopSelCR"));
}
