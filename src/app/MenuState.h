// Which commands the state of the program allows: the enabled state, check
// marks and captions of the top menus' items as they open, and the enabled
// state of the toolbar buttons after every command. Each rule is a pure
// function of a snapshot of that state, so tests run them on tables of
// states without windows. Depends on the shape kinds of the document only.
//
// A menu's rule gives its general condition (every item enabled or not
// together) and then the items it sets apart; items it does not name keep
// the general condition.
#pragma once

#include "document/ShapeManager.h"

#include <QString>

#include <utility>
#include <vector>

// What the rules read; every image term is false without an image.
struct TMenuSnapshot {
  bool Image = false;          // an image window is active
  bool Mode16M = false;        // more than 256 colours
  bool RGBA = false;           // background mask, hidden or translucent background
  bool BkgMask = false;        // the background's mask is not empty (RGBA without the visibility terms)
  bool LayerEditable = false;  // the current layer is neither locked nor hidden
  bool PixelLayer = false;     // the current layer is a bitmap layer
  bool LayerVisible = false;   // the current layer is visible
  bool LayerHasMask = false;   // the current layer's mask is not empty
  bool CurrentIsBackground = false;
  int LayerCount = 0;
  bool AnyLayerVisible = false;
  bool BkgTransparent = false; // the background bitmap has a transparent colour
  bool BkgNeedsTransparency = false;
  bool BkgLocked = false;
  bool BkgVisible = false;
  bool Selection = false;      // the selection is visible
  bool SelInverted = false;
  TMyShape SelShape = ssRect;
  bool SelShowBounds = false, SelAnimated = false, SelAspectRatio = false;
  bool ShapeCopied = false;
  bool DialogueForm = false;   // a non-modal dialog owns the image
  bool Blocked = false;        // DisableMenu
  bool HasUndo = false, HasRedo = false;
  QString UndoCaption;         // the current record's caption
  int UndoKind = -1;           // flag 2 of the current record
  bool UndoNoFade = false;     // flag 8 of the current record
  bool AnyWindowUndo = false;  // some image window has undo records
  bool LastFilter = false;     // a command is remembered for Repeat
  QString LastFilterCaption;
  int LastFilterFlag = 0;
  bool PatternStored = false;
  bool ClipboardImage = false; // the clipboard holds a bitmap or a metafile picture
  bool ZoomInPossible = false, ZoomOutPossible = false;
  int ZoomStep = 0;            // the zoom edit's step, 7 real size
  bool ModulesPresent = false;
  bool MasksFolderSet = false;
  bool PrinterExists = false;
  bool FromFile = false;       // the image's source is a file
  bool Modified = false;       // the image has unsaved changes
  int ImageWindowCount = 0;
  bool ToolPaletteShown = false, CadreOmbre = false, ShowGrid = false, GridAlign = false;
  // The layer menus' terms.
  int LayerIndex = -1;           // the current layer's index
  bool LayerLocked = false;      // the current layer is locked
  bool TextLayer = false;        // the current layer is a text layer
  bool LayerShadow = false;      // the current layer draws a drop shadow
  bool BelowMergeable = false;   // the layer below is a visible, unlocked bitmap layer
  bool VisibleAndHidden = false; // some layers are visible, some hidden
  bool ClipboardMask = false;    // a clipboard picture can be pasted as a mask
};

using TNamedStates = std::vector<std::pair<QString, bool>>;

struct TMenuState {
  bool All = false;                            // the general condition
  TNamedStates Enabled;                        // items set apart, after All
  TNamedStates Checked;                        // check marks
  std::vector<std::pair<QString, QString>> Captions;
  // Every item and its submenus disabled, nothing else changed (blocked).
  bool DisableEverything = false;
};

// Captions the rules build: the Repeat and Fade items.
struct TMenuCaptions {
  QString Repeat = QStringLiteral("Répéter");
  QString Fade = QStringLiteral("Atténuer");
};

// Image, 16M, no dialogue form, layer editable, pixel layer, background not
// transparent.
bool Filterable(const TMenuSnapshot& S);
// Image, 16M, and no selection or a non-inverted rectangular one.
bool CanFrameImage(const TMenuSnapshot& S);
// The extra condition of Repeat's remembered flag (0 none .. 5 a pattern).
bool RepeatFlagAllows(const TMenuSnapshot& S, int Flag);

TMenuState EditionMenuState(const TMenuSnapshot& S, const TMenuCaptions& Captions);
TMenuState SelectionMenuState(const TMenuSnapshot& S, const QString& ShowCaption, const QString& HideCaption);
TMenuState ImageMenuState(const TMenuSnapshot& S);
TMenuState ReglageMenuState(const TMenuSnapshot& S);
TMenuState FiltreMenuState(const TMenuSnapshot& S);
TMenuState AffichageMenuState(const TMenuSnapshot& S);
TMenuState OutilsMenuState(const TMenuSnapshot& S);
TMenuState AideMenuState(const TMenuSnapshot& S);
// The Layer menu with its "Ordre" submenu, the layers panel's popup menu
// (whose "Ordre" holds copies of the menu's order items), and the order
// items alone (LayerMenuState.cpp).
TMenuState CalqueMenuState(const TMenuSnapshot& S);
TMenuState PopCalqueState(const TMenuSnapshot& S);
TMenuState CalqueOrdreState(const TMenuSnapshot& S);
// The context popups as they open: the empty workspace's, the image's and
// the selection's (with the crop item captioned for the background or a
// layer).
TMenuState PopFormMenuState(const TMenuSnapshot& S);
TMenuState PopImgMenuState(const TMenuSnapshot& S);
TMenuState PopSelMenuState(const TMenuSnapshot& S, const QString& CropImage, const QString& CropLayer);
// The toolbar buttons of the main toolbars, by name.
TNamedStates ToolButtonStates(const TMenuSnapshot& S);
