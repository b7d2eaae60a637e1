#include "app/MenuState.h"

namespace {

// The items a rule sets apart only count where the general condition holds.
void Add(TMenuState& M, const char* Name, bool Enabled) { M.Enabled.emplace_back(QString::fromLatin1(Name), M.All && Enabled); }

// Editable pixels of a layer that filters may change.
bool EditablePixels(const TMenuSnapshot& S) { return S.LayerEditable && S.PixelLayer && !S.BkgTransparent; }

TMenuState Blocked() {
  TMenuState M;
  M.DisableEverything = true;
  return M;
}

} // namespace

bool Filterable(const TMenuSnapshot& S) { return S.Image && S.Mode16M && !S.DialogueForm && EditablePixels(S); }

bool CanFrameImage(const TMenuSnapshot& S) {
  return S.Image && S.Mode16M && (!S.Selection || (!S.SelInverted && S.SelShape == ssRect));
}

bool RepeatFlagAllows(const TMenuSnapshot& S, int Flag) {
  switch (Flag) {
  case 1:
    return CanFrameImage(S);
  case 2:
    return !(S.Selection && S.SelInverted);
  case 3:
    return S.Selection && !S.SelInverted;
  case 4:
    return S.LayerHasMask;
  case 5:
    return S.PatternStored;
  default:
    return true;
  }
}

TMenuState EditionMenuState(const TMenuSnapshot& S, const TMenuCaptions& Captions) {
  if (S.Blocked) return Blocked();
  TMenuState M;
  M.All = S.Image;
  M.Captions.emplace_back(QStringLiteral("MenuAttenuer"), Captions.Fade);
  M.Captions.emplace_back(QStringLiteral("MenuEditionRepeter"), Captions.Repeat);
  // Pasting an image and purging need no image.
  const bool History = S.Image && S.AnyWindowUndo;
  M.Enabled.emplace_back(QStringLiteral("MenuEditionCollerImg"), S.ClipboardImage);
  M.Enabled.emplace_back(QStringLiteral("MenuPurgerClipboard"), S.ClipboardImage);
  M.Enabled.emplace_back(QStringLiteral("MenuPurgerHistorique"), History);
  M.Enabled.emplace_back(QStringLiteral("MenuPurgerMotif"), S.PatternStored);
  M.Enabled.emplace_back(QStringLiteral("MenuEditionPurger"), S.ClipboardImage || History || S.PatternStored);
  Add(M, "MenuEditionUndo", S.HasUndo);
  Add(M, "MenuEditionRedo", S.HasRedo);
  Add(M, "MenuEditionHistoriques", S.HasUndo || S.HasRedo);
  const bool Cut = S.Mode16M && S.LayerEditable && S.PixelLayer && S.Selection;
  Add(M, "MenuEditionCouper", Cut);
  Add(M, "MenuEditionEffacer", Cut);
  Add(M, "MenuEditionCopier", S.PixelLayer && S.LayerVisible);
  Add(M, "MenuEditionCopierFusion", S.LayerCount > 1);
  const bool Paste = S.ClipboardImage && S.Mode16M && !S.BkgTransparent;
  Add(M, "MenuEditionCollerSel", Paste);
  Add(M, "MenuEditionCollageSpecial", Paste);
  Add(M, "MenuEditionAssembler", Paste && S.CurrentIsBackground && S.LayerEditable);
  Add(M, "MenuEditionCollerIn", Paste && S.LayerEditable && S.PixelLayer && S.Selection);
  Add(M, "MenuEditionContourRempl", EditablePixels(S));
  Add(M, "MenuEditionDetourage", S.Mode16M && S.Selection && EditablePixels(S));
  Add(M, "MenuEditionRemplirMotif", S.Mode16M && S.PatternStored && EditablePixels(S));
  Add(M, "MenuEditionMotif", S.PixelLayer && S.LayerVisible);
  if (!S.Image) return M;

  const bool Repeat = S.Mode16M && S.LastFilter && EditablePixels(S) && RepeatFlagAllows(S, S.LastFilterFlag);
  Add(M, "MenuEditionRepeter", Repeat);
  if (S.LastFilter) M.Captions[1].second = Captions.Repeat + QLatin1Char(' ') + S.LastFilterCaption;
  const bool Fade = S.Mode16M && S.HasUndo && !S.UndoNoFade && !S.BkgTransparent && S.UndoKind >= 4 &&
                    (S.UndoKind <= 10 || S.UndoKind == 23);
  Add(M, "MenuAttenuer", Fade);
  // A fade of a fade keeps its caption.
  if (Fade) M.Captions[0].second = (S.UndoKind == 23 ? S.UndoCaption : Captions.Fade + QLatin1Char(' ') + S.UndoCaption) +
                                   QStringLiteral("...");
  return M;
}

TMenuState SelectionMenuState(const TMenuSnapshot& S, const QString& ShowCaption, const QString& HideCaption) {
  TMenuState M;
  M.All = S.Image && !S.DialogueForm && !S.Blocked;
  if (!M.All) {
    M.DisableEverything = true;
    M.Checked = {{QStringLiteral("MenuSelAnimer"), false}, {QStringLiteral("MenuSelReperes"), false}};
    return M;
  }
  M.Captions.emplace_back(QStringLiteral("MenuSelSelection"), S.Selection ? HideCaption : ShowCaption);
  Add(M, "MenuSelCalque", S.BkgMask || (!S.CurrentIsBackground && S.PixelLayer && S.LayerVisible));
  for (const char* Name : {"MenuSelDilater", "MenuSelContracter", "MenuSelFrange", "MenuSelTransform",
                           "MenuSelInverser", "MenuSelCentre", "MenuSelCopier", "MenuSelEnregistrer"})
    Add(M, Name, S.Selection);
  Add(M, "MenuSelAdapter", S.Selection && S.SelShape != ssBitmap);
  Add(M, "MenuSelPath", S.Selection && S.SelShape != ssBitmap);
  Add(M, "MenuSelColler", S.ShapeCopied);
  Add(M, "MenuSelLissage", S.Mode16M);
  Add(M, "MenuSelReperes", !(S.Selection && S.SelShape == ssBitmap));
  M.Checked = {{QStringLiteral("MenuSelReperes"), S.SelShowBounds},
               {QStringLiteral("MenuSelAnimer"), S.SelAnimated},
               {QStringLiteral("MenuSelRatio"), S.SelAspectRatio}};
  return M;
}

TMenuState ImageMenuState(const TMenuSnapshot& S) {
  if (S.Blocked) return Blocked();
  TMenuState M;
  M.All = S.Image && !S.DialogueForm && !S.BkgLocked;
  M.Enabled.emplace_back(QStringLiteral("MenuDupliquer"), S.Image && !S.DialogueForm);
  const bool Index = !S.Mode16M, Rgb = S.Mode16M && !S.RGBA, Rgba = S.RGBA;
  M.Checked = {{QStringLiteral("MenuModeIndex"), Index},
               {QStringLiteral("MenuModeRGB"), Rgb},
               {QStringLiteral("MenuModeRGBA"), Rgba}};
  Add(M, "MenuModeIndex", !S.RGBA);
  Add(M, "MenuModeRGB", !Rgb);
  Add(M, "MenuModeRGBA", !Rgba);
  // With every layer hidden only the mode, duplicate and size commands stay.
  const bool Shown = S.AnyLayerVisible;
  Add(M, "MenuImageTransform", Shown);
  // The flips and turns: of the background while it shows, of every layer
  // when there are several.
  for (const char* Name :
       {"MenuImageSymHoriz1", "MenuImageSymVerti1", "MenuImageRot90_1", "MenuImageRot270_1", "MenuImageRot180_1"})
    Add(M, Name, Shown && S.BkgVisible);
  for (const char* Name :
       {"MenuImageSymHoriz2", "MenuImageSymVerti2", "MenuImageRot90_2", "MenuImageRot270_2", "MenuImageRot180_2"})
    Add(M, Name, Shown && S.LayerCount > 1);
  Add(M, "MenuImageRecadrerAuto", Shown && S.BkgVisible);
  Add(M, "MenuImageRecadrer", Shown && (!S.Selection || (!S.SelInverted && (S.Mode16M || S.SelShape == ssRect))));
  Add(M, "MenuImageEncadrerExt", Shown && !S.BkgNeedsTransparency);
  for (const char* Name :
       {"MenuImageOmbrageExt", "MenuImagePerspective", "MenuImageHorizon", "MenuImageCopyright", "MenuImageFisheye"})
    Add(M, Name, Shown && S.Mode16M && !S.BkgNeedsTransparency);
  Add(M, "MenuImageCouleurTrans", Shown && S.BkgVisible && (S.LayerCount == 1 || S.BkgMask));
  Add(M, "MenuImageTransAuto", Shown && !S.RGBA && S.Selection);
  Add(M, "MenuImageMaskTransp", Shown && !S.RGBA);
  Add(M, "MenuPluginImage", Shown && S.LayerCount == 1 && !S.RGBA);
  return M;
}

TMenuState ReglageMenuState(const TMenuSnapshot& S) {
  TMenuState M;
  M.All = Filterable(S) && !S.Blocked;
  return M;
}

TMenuState FiltreMenuState(const TMenuSnapshot& S) {
  TMenuState M;
  M.All = Filterable(S) && !S.Blocked;
  Add(M, "MenuEncadrement", CanFrameImage(S));
  Add(M, "MenuFiltreProgressif", !(S.Selection && S.SelInverted));
  Add(M, "MenuFiltreCtr3D", !(S.Selection && S.SelInverted));
  Add(M, "MenuFiltreOmbre", S.Selection && !S.SelInverted);
  Add(M, "MenuLumaMasque", S.MasksFolderSet);
  return M;
}

TMenuState AffichageMenuState(const TMenuSnapshot& S) {
  if (S.Blocked) return Blocked();
  TMenuState M;
  M.Checked = {{QStringLiteral("MenuAffichageOutils"), S.ToolPaletteShown},
               {QStringLiteral("MenuCadreOmbre"), S.CadreOmbre},
               {QStringLiteral("MenuAfficherGrille"), S.ShowGrid},
               {QStringLiteral("MenuAfficherMagnGrille"), S.GridAlign}};
  M.All = S.Image && !S.DialogueForm;
  const bool Free = !S.DialogueForm;
  for (const char* Name :
       {"MenuAffichageBarreFiltres", "MenuAffichageOutils", "MenuAffichageMaximiser", "MenuAffichageMiniature"})
    M.Enabled.emplace_back(QString::fromLatin1(Name), Free);
  M.Enabled.emplace_back(QStringLiteral("MenuAffichageBarrePlugins"), Free && S.ModulesPresent);
  Add(M, "MenuAfficherLisser", !S.RGBA && !S.BkgTransparent);
  Add(M, "MenuZoomAvant", S.ZoomInPossible);
  Add(M, "MenuZoomArriere", S.ZoomOutPossible);
  Add(M, "MenuZoom100", S.ZoomStep != 7);
  return M;
}

TMenuState OutilsMenuState(const TMenuSnapshot& S) {
  if (S.Blocked) return Blocked();
  TMenuState M;
  M.All = S.Image && !S.DialogueForm;
  for (const char* Name :
       {"MenuExplore", "MenuAutomatisation", "MenuParams", "MenuPluginOutil", "MenuExtensionShell"})
    M.Enabled.emplace_back(QString::fromLatin1(Name), !S.DialogueForm);
  Add(M, "MenuPapierPeint", S.AnyLayerVisible);
  Add(M, "MenuExportIcone", S.AnyLayerVisible);
  for (const char* Name : {"MenuGestionImage", "MenuNaviguer", "MenuShell"}) Add(M, Name, S.FromFile);
  Add(M, "MenuOuvrirCalque", S.Mode16M && EditablePixels(S));
  return M;
}

TMenuState AideMenuState(const TMenuSnapshot& S) {
  TMenuState M;
  M.All = !S.Blocked;
  return M;
}

TMenuState PopFormMenuState(const TMenuSnapshot& S) {
  TMenuState M;
  M.All = true;
  Add(M, "PopFormColler", S.ClipboardImage);
  Add(M, "PopFormFermer", S.ImageWindowCount > 0);
  Add(M, "PopFormReorganiser", S.ImageWindowCount > 0);
  return M;
}

TMenuState PopImgMenuState(const TMenuSnapshot& S) {
  TMenuState M;
  M.All = S.Image;
  // Save, undo and redo read as their toolbar buttons.
  Add(M, "PopImgEnregistrer", S.Modified);
  Add(M, "PopImgUndo", S.HasUndo);
  Add(M, "PopImgRedo", S.HasRedo);
  Add(M, "PopImgCopier", S.PixelLayer && S.LayerVisible);
  Add(M, "PopImgCopierFusion", S.LayerCount > 1);
  Add(M, "PopImgColler", S.ClipboardImage && S.Mode16M && !S.BkgTransparent);
  return M;
}

TMenuState PopSelMenuState(const TMenuSnapshot& S, const QString& CropImage, const QString& CropLayer) {
  TMenuState M;
  M.All = S.Image;
  const bool TrueColour = S.Mode16M, Bitmap = S.LayerVisible && S.PixelLayer, Free = S.LayerEditable,
             Keyed = S.BkgTransparent, Paste = S.ClipboardImage && S.Mode16M;
  Add(M, "PopSelCR", Bitmap && Free && !Keyed);
  Add(M, "PopSelCouper", Free && TrueColour && Bitmap);
  Add(M, "PopSelEffacer", Free && TrueColour && Bitmap);
  Add(M, "PopSelCopier", Bitmap);
  Add(M, "PopSelCopierFusion", S.LayerCount > 1);
  Add(M, "PopSelCollerIn", Free && Paste && Bitmap && !Keyed);
  Add(M, "PopSelTransform", TrueColour && Bitmap && !S.SelInverted);
  Add(M, "PopSelDupliquer", Bitmap && TrueColour && !Keyed);
  Add(M, "PopSelLissage", TrueColour);
  M.Checked.emplace_back(QStringLiteral("PopSelRatio"), S.SelAspectRatio);
  if (S.CurrentIsBackground) {
    M.Captions.emplace_back(QStringLiteral("PopSelRecadrer"), CropImage);
    Add(M, "PopSelRecadrer", Free && !S.SelInverted && (TrueColour || S.SelShape == ssRect));
  } else {
    M.Captions.emplace_back(QStringLiteral("PopSelRecadrer"), CropLayer);
    Add(M, "PopSelRecadrer", Bitmap && Free && !S.SelInverted);
  }
  return M;
}

TNamedStates ToolButtonStates(const TMenuSnapshot& S) {
  TNamedStates B;
  const auto Set = [&B](const char* Name, bool Enabled) { B.emplace_back(QString::fromLatin1(Name), Enabled); };
  for (const char* Name : {"BtnEnregistrerSous", "BtnVectorialPath", "BtnSelection", "BtnZoomAuto", "BtnZoomPe"})
    Set(Name, S.Image);
  Set("BtnImprimer", S.Image && S.PrinterExists);
  Set("BtnRVB", S.Image && (!S.Mode16M || S.RGBA));
  Set("BtnIndex", S.Image && !S.RGBA && !S.BkgLocked);
  Set("BtnTransparent", S.Image && S.PixelLayer && S.LayerEditable && (S.LayerHasMask || S.LayerCount == 1));
  Set("BtnRedim", S.Image && !S.BkgLocked);
  Set("BtnZone", S.Image && !S.BkgLocked);
  Set("BtnText", S.Image && S.Mode16M && !S.BkgTransparent);
  const bool Filter = S.Image && S.Mode16M && EditablePixels(S);
  for (const char* Name :
       {"BtnAutoNiv", "BtnAutoCtr", "BtnLumMoins", "BtnLumPlus", "BtnColMoins", "BtnColPlus", "BtnReglage",
        "BtnCtrMoins", "BtnCtrPlus", "BtnGamPlus", "BtnGamMoins", "BtnAntipoussiere", "BtnAdoucir", "BtnFlou",
        "BtnDurcir", "BtnReinforce", "BtnRelief", "BtnHistog", "BtnBlancs", "BtnGris", "BtnSepia",
        "BtnPhotoAncienne", "BtnVariante", "BtnDegrade", "BtnLumaMasque"})
    Set(Name, Filter);
  for (const char* Name : {"BtnSymVert", "BtnSymHorz", "BtnRotation90h", "BtnRotation90a"})
    Set(Name, S.Image && S.PixelLayer && S.LayerEditable);
  Set("BtnZoomPlus", S.Image && S.ZoomInPossible);
  Set("BtnZoomMoins", S.Image && S.ZoomOutPossible);
  Set("BtnZoom100", S.Image && S.ZoomStep != 7);
  return B;
}
