// The layer menus' rules: the Layer menu, its "Ordre" submenu and the layers
// panel's popup menu, as pure functions of the state snapshot.
#include "app/MenuState.h"

namespace {

// The current layer's terms the rules are written in.
struct TLayerTerms {
  bool Bkg, LH, NB, Txt, Alpha, Free;
  explicit TLayerTerms(const TMenuSnapshot& S)
      : Bkg(S.CurrentIsBackground), LH(!S.LayerEditable), NB(!S.PixelLayer), Txt(S.TextLayer), Alpha(S.LayerHasMask),
        Free(!Bkg && !LH) {}
};

void Set(TMenuState& M, const char* Name, bool Enabled) {
  M.Enabled.emplace_back(QString::fromLatin1(Name), M.All && Enabled);
}

// Only a stack of three or more has an order to change above the
// background, which never moves.
bool OrderPossible(const TMenuSnapshot& S) { return S.LayerCount > 2 && !S.CurrentIsBackground; }

void AddOrderItems(TMenuState& M, const TMenuSnapshot& S) {
  const bool Order = OrderPossible(S);
  const bool Up = Order && S.LayerIndex < S.LayerCount - 1, Down = Order && S.LayerIndex > 1;
  Set(M, "MenuCalqueOrdre1", Up);
  Set(M, "MenuCalqueOrdre2", Up);
  Set(M, "MenuCalqueOrdre3", Down);
  Set(M, "MenuCalqueOrdre4", Down);
}

TMenuState Blocked() {
  TMenuState M;
  M.DisableEverything = true;
  return M;
}

} // namespace

TMenuState CalqueOrdreState(const TMenuSnapshot& S) {
  if (S.Blocked) return Blocked();
  TMenuState M;
  M.All = S.Image;
  Set(M, "MenuCalqueOrdre", OrderPossible(S));
  AddOrderItems(M, S);
  return M;
}

TMenuState CalqueMenuState(const TMenuSnapshot& S) {
  if (S.Blocked) return Blocked();
  TMenuState M;
  M.All = S.Image && S.Mode16M && !S.DialogueForm && !S.BkgTransparent;
  if (!M.All) return M;
  const TLayerTerms T(S);
  Set(M, "MenuCalqueRenommer", !T.Bkg);
  Set(M, "MenuCalqueOptions", !T.LH && (!T.Bkg || T.Alpha));
  Set(M, "MenuCalqueSupprimer", !T.Bkg && !S.LayerLocked);
  Set(M, "MenuCalqueTxtToCalque", T.Txt && !T.LH);
  Set(M, "MenuCalqueParams", T.Free && (!T.NB || T.Txt));
  Set(M, "MenuCalqueFusionOmbre", T.Free && !T.NB && S.LayerShadow);
  Set(M, "MenuCalqueFusionPrev", T.Free && S.BelowMergeable);
  Set(M, "MenuCalqueTransformEchelle", T.Free && (!T.NB || T.Txt));
  Set(M, "MenuCalqueTransform", T.Free && !T.NB);
  // The transparency commands that make an opaque layer transparent stay
  // reachable without a mask; the edge effects and the mask's own commands
  // need one.
  Set(M, "MenuCalqueTransp", !T.LH && !T.NB);
  Set(M, "MenuCalqueEffetBord", !T.LH && T.Alpha && !T.NB);
  Set(M, "MenuCalqueEditAlpha", T.Alpha);
  Set(M, "MenuCalqueDelTrans", T.Alpha);
  Set(M, "MenuCalqueCentre", T.Free);
  // The background keeps the image's origin and size.
  Set(M, "MenuCalqueCropTrans", !T.Bkg);
  Set(M, "MenuCalqueFusionAll", S.LayerCount > 1);
  Set(M, "MenuCalqueFusionAllVisible", S.LayerCount > 1 && S.VisibleAndHidden);
  Set(M, "MenuCalqueExporter", !T.NB && T.Alpha && S.LayerVisible);
  Set(M, "MenuCalqueRecadrer", T.Free && !T.NB && S.Selection && !S.SelInverted);
  Set(M, "MenuCalqueMasquerTout", S.LayerCount > 1);
  Set(M, "MenuCalqueAfficherTout", S.LayerCount > 1);
  Set(M, "MenuCalqueOrdre", OrderPossible(S));
  AddOrderItems(M, S);
  return M;
}

TMenuState PopCalqueState(const TMenuSnapshot& S) {
  if (S.Blocked) return Blocked();
  TMenuState M;
  M.All = S.Image;
  if (!M.All) return M;
  const TLayerTerms T(S);
  M.Checked.emplace_back(QStringLiteral("PopCalqueVisible"), S.LayerVisible);
  M.Checked.emplace_back(QStringLiteral("PopCalqueVerrou"), S.LayerLocked);
  Set(M, "PopCalqueRenommer", !T.Bkg);
  Set(M, "PopCalqueOptions", !T.LH && (!T.Bkg || T.Alpha));
  Set(M, "PopCalqueSupprimer", !T.Bkg && !S.LayerLocked);
  Set(M, "PopCalqueParams", T.Free && (!T.NB || T.Txt));
  Set(M, "PopCalqueRedim", T.Free && (!T.NB || T.Txt));
  Set(M, "PopCalqueDupliquer", !S.BkgTransparent && S.Mode16M);
  Set(M, "PopCalqueDistort", T.Free && !T.NB);
  Set(M, "PopCalqueTransformParams", T.Free && !T.NB);
  Set(M, "PopCalqueTxtToCalque", T.Txt && !T.LH);
  Set(M, "PopCalqueFusionOmbre", T.Free && !T.NB && S.LayerShadow);
  Set(M, "PopCalqueFusionPrev", T.Free && S.BelowMergeable);
  Set(M, "PopCalqueOrdre", OrderPossible(S));
  AddOrderItems(M, S);
  const bool MaskEditable = !T.LH && !T.NB && T.Alpha;
  Set(M, "PopCalqueEditAlpha", MaskEditable);
  Set(M, "PopEditionCollageAlpha", MaskEditable && S.ClipboardMask);
  return M;
}
