// The layer menus' rules on tables of states: the Layer menu, its order
// submenu and the layers panel's popup.
#include "app/MenuState.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

// An image in 16M colours, four layers, the current one a visible,
// unlocked bitmap layer with a mask at index 2 above a mergeable layer.
TMenuSnapshot Layered() {
  TMenuSnapshot S;
  S.Image = S.Mode16M = true;
  S.LayerEditable = S.PixelLayer = S.LayerVisible = S.LayerHasMask = true;
  S.LayerCount = 4;
  S.LayerIndex = 2;
  S.BelowMergeable = true;
  S.AnyLayerVisible = true;
  return S;
}

// The state the rule gives Name: the last entry naming it, else the
// general condition; nothing when the rule disables everything.
bool EnabledIn(const TMenuState& M, const char* Name) {
  if (M.DisableEverything) return false;
  std::optional<bool> Found;
  for (const auto& [Item, Enabled] : M.Enabled)
    if (Item == QLatin1String(Name)) Found = Enabled;
  return Found.value_or(M.All);
}

struct TCase {
  const char* What;
  std::function<void(TMenuSnapshot&)> Change;
  const char* Item;
  bool Enabled;
};

void RunCases(const std::vector<TCase>& Cases, TMenuState (*Rule)(const TMenuSnapshot&)) {
  for (const TCase& C : Cases) {
    TMenuSnapshot S = Layered();
    C.Change(S);
    EXPECT_EQ(EnabledIn(Rule(S), C.Item), C.Enabled) << C.What << ": " << C.Item;
  }
}

const auto Same = [](TMenuSnapshot&) {};
const auto OnBackground = [](TMenuSnapshot& S) {
  S.CurrentIsBackground = true;
  S.LayerIndex = 0;
};
const auto Locked = [](TMenuSnapshot& S) {
  S.LayerLocked = true;
  S.LayerEditable = false;
};
const auto Hidden = [](TMenuSnapshot& S) {
  S.LayerVisible = false;
  S.LayerEditable = false;
};
const auto Text = [](TMenuSnapshot& S) {
  S.TextLayer = true;
  S.PixelLayer = false;
};
const auto NoMask = [](TMenuSnapshot& S) { S.LayerHasMask = false; };

} // namespace

TEST(LayerMenuState, GeneralConditionDisablesTheWholeMenu) {
  const std::vector<std::pair<const char*, std::function<void(TMenuSnapshot&)>>> Off = {
      {"no image", [](TMenuSnapshot& S) { S = TMenuSnapshot(); }},
      {"256 colours", [](TMenuSnapshot& S) { S.Mode16M = false; }},
      {"a dialog open", [](TMenuSnapshot& S) { S.DialogueForm = true; }},
      {"transparent background colour", [](TMenuSnapshot& S) { S.BkgTransparent = true; }},
  };
  for (const auto& [What, Change] : Off) {
    TMenuSnapshot S = Layered();
    Change(S);
    const TMenuState M = CalqueMenuState(S);
    EXPECT_FALSE(M.All) << What;
    for (const char* Item : {"MenuCalqueDupliquer", "MenuCalqueSupprimer", "MenuCalqueFusionAll", "MenuCalqueOrdre2"})
      EXPECT_FALSE(EnabledIn(M, Item)) << What << ": " << Item;
  }
  TMenuSnapshot Blocked = Layered();
  Blocked.Blocked = true;
  for (auto Rule : {CalqueMenuState, PopCalqueState, CalqueOrdreState}) EXPECT_TRUE(Rule(Blocked).DisableEverything);
}

TEST(LayerMenuState, LayerMenuItemsFollowTheCurrentLayer) {
  RunCases(
      {
          {"layer", Same, "MenuCalqueSupprimer", true},
          {"background", OnBackground, "MenuCalqueSupprimer", false},
          {"locked", Locked, "MenuCalqueSupprimer", false},
          {"hidden", Hidden, "MenuCalqueSupprimer", true},
          {"background", OnBackground, "MenuCalqueRenommer", false},
          {"locked", Locked, "MenuCalqueRenommer", true},
          {"background with mask", OnBackground, "MenuCalqueOptions", true},
          {"background without mask", [](TMenuSnapshot& S) { OnBackground(S), NoMask(S); }, "MenuCalqueOptions", false},
          {"hidden", Hidden, "MenuCalqueOptions", false},
          {"bitmap layer", Same, "MenuCalqueTxtToCalque", false},
          {"text layer", Text, "MenuCalqueTxtToCalque", true},
          {"locked text layer", [](TMenuSnapshot& S) { Text(S), Locked(S); }, "MenuCalqueTxtToCalque", false},
          {"text layer", Text, "MenuCalqueTransform", false},
          {"text layer", Text, "MenuCalqueTransformEchelle", true},
          {"colour layer", [](TMenuSnapshot& S) { S.PixelLayer = false; }, "MenuCalqueTransformEchelle", false},
          {"background", OnBackground, "MenuCalqueTransform", false},
          {"layer", Same, "MenuCalqueEffetBord", true},
          {"no mask", NoMask, "MenuCalqueEffetBord", false},
          {"no mask", NoMask, "MenuCalqueTransp", true},
          {"no mask", NoMask, "MenuCalqueDelTrans", false},
          {"locked", Locked, "MenuCalqueTransp", false},
          {"background", OnBackground, "MenuCalqueCentre", false},
          {"locked", Locked, "MenuCalqueCentre", false},
          {"no shadow", Same, "MenuCalqueFusionOmbre", false},
          {"shadow", [](TMenuSnapshot& S) { S.LayerShadow = true; }, "MenuCalqueFusionOmbre", true},
          {"shadow of text", [](TMenuSnapshot& S) { S.LayerShadow = true, Text(S); }, "MenuCalqueFusionOmbre", false},
          // The layer below a text, colour or adjustment layer, locked or
          // hidden, cannot take the merge.
          {"below mergeable", Same, "MenuCalqueFusionPrev", true},
          {"below not mergeable", [](TMenuSnapshot& S) { S.BelowMergeable = false; }, "MenuCalqueFusionPrev", false},
          {"locked", Locked, "MenuCalqueFusionPrev", false},
          {"two layers", [](TMenuSnapshot& S) { S.LayerCount = 2, S.LayerIndex = 1; }, "MenuCalqueFusionAll", true},
          {"one layer", [](TMenuSnapshot& S) { S.LayerCount = 1, OnBackground(S); }, "MenuCalqueFusionAll", false},
          {"one layer", [](TMenuSnapshot& S) { S.LayerCount = 1, OnBackground(S); }, "MenuCalqueMasquerTout", false},
          {"all visible", Same, "MenuCalqueFusionAllVisible", false},
          {"visible and hidden", [](TMenuSnapshot& S) { S.VisibleAndHidden = true; }, "MenuCalqueFusionAllVisible",
           true},
          {"hidden with mask", Hidden, "MenuCalqueExporter", false},
          {"no selection", Same, "MenuCalqueRecadrer", false},
          {"selection", [](TMenuSnapshot& S) { S.Selection = true; }, "MenuCalqueRecadrer", true},
          {"inverted selection", [](TMenuSnapshot& S) { S.Selection = S.SelInverted = true; }, "MenuCalqueRecadrer",
           false},
          {"not in the table", Locked, "MenuCalqueDupliquer", true},
          {"background", OnBackground, "MenuCalqueCropTrans", false},
      },
      CalqueMenuState);
}

TEST(LayerMenuState, OrderItemsKeepTheBackgroundAtTheBottom) {
  const auto At = [](int Index, int Count) {
    return [=](TMenuSnapshot& S) {
      S.LayerIndex = Index;
      S.LayerCount = Count;
      S.CurrentIsBackground = Index == 0;
    };
  };
  const std::vector<TCase> Cases = {
      {"top layer", At(3, 4), "MenuCalqueOrdre1", false},
      {"top layer", At(3, 4), "MenuCalqueOrdre2", false},
      {"top layer", At(3, 4), "MenuCalqueOrdre3", true},
      {"top layer", At(3, 4), "MenuCalqueOrdre4", true},
      {"first above the background", At(1, 4), "MenuCalqueOrdre3", false},
      {"first above the background", At(1, 4), "MenuCalqueOrdre4", false},
      {"first above the background", At(1, 4), "MenuCalqueOrdre2", true},
      {"middle", At(2, 4), "MenuCalqueOrdre1", true},
      {"middle", At(2, 4), "MenuCalqueOrdre4", true},
      {"two layers", At(1, 2), "MenuCalqueOrdre", false},
      {"two layers", At(1, 2), "MenuCalqueOrdre2", false},
      {"background", At(0, 4), "MenuCalqueOrdre", false},
      {"background", At(0, 4), "MenuCalqueOrdre1", false},
  };
  RunCases(Cases, CalqueMenuState);
  RunCases(Cases, CalqueOrdreState);
}

TEST(LayerMenuState, PopupChecksAndEnablesItsOwnItems) {
  TMenuSnapshot S = Layered();
  Locked(S);
  const TMenuState M = PopCalqueState(S);
  const auto Checked = [&M](const char* Name) {
    for (const auto& [Item, On] : M.Checked)
      if (Item == QLatin1String(Name)) return On;
    ADD_FAILURE() << Name << " has no check mark";
    return false;
  };
  EXPECT_TRUE(Checked("PopCalqueVisible"));
  EXPECT_TRUE(Checked("PopCalqueVerrou"));
  // The popup answers the panel's image whatever the colour mode: the
  // visibility and lock switches stay usable.
  S.Mode16M = false;
  EXPECT_TRUE(EnabledIn(PopCalqueState(S), "PopCalqueVisible"));

  RunCases(
      {
          {"layer", Same, "PopCalqueRenommer", true},
          {"background", OnBackground, "PopCalqueRenommer", false},
          {"locked", Locked, "PopCalqueSupprimer", false},
          {"text layer", Text, "PopCalqueRedim", true},
          {"text layer", Text, "PopCalqueDistort", false},
          {"text layer", Text, "PopCalqueTransformParams", false},
          {"256 colours", [](TMenuSnapshot& S) { S.Mode16M = false; }, "PopCalqueDupliquer", false},
          {"transparent background colour", [](TMenuSnapshot& S) { S.BkgTransparent = true; }, "PopCalqueDupliquer",
           false},
          {"background", OnBackground, "PopCalqueDupliquer", true},
          {"three layers", [](TMenuSnapshot& S) { S.LayerCount = 3; }, "PopCalqueOrdre", true},
          {"two layers", [](TMenuSnapshot& S) { S.LayerCount = 2, S.LayerIndex = 1; }, "PopCalqueOrdre", false},
          {"background", OnBackground, "PopCalqueOrdre", false},
          {"mask", Same, "PopCalqueEditAlpha", true},
          {"no mask", NoMask, "PopCalqueEditAlpha", false},
          {"hidden", Hidden, "PopCalqueEditAlpha", false},
          {"empty clipboard", Same, "PopEditionCollageAlpha", false},
          {"clipboard picture", [](TMenuSnapshot& S) { S.ClipboardMask = true; }, "PopEditionCollageAlpha", true},
          {"clipboard picture without mask", [](TMenuSnapshot& S) { S.ClipboardMask = true, NoMask(S); },
           "PopEditionCollageAlpha", false},
          {"below hidden", [](TMenuSnapshot& S) { S.BelowMergeable = false; }, "PopCalqueFusionPrev", false},
          {"top layer", [](TMenuSnapshot& S) { S.LayerIndex = 3; }, "MenuCalqueOrdre2", false},
      },
      PopCalqueState);
}
