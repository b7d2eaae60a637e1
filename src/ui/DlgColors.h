// The interface colours of dialogs, panels and frames, derived once from the
// active visual style. Depends on platform colours and the visual styles.
#pragma once

#include "platform/Colors.h"

// Each holds its initial value (system colours) until InitStyleColors runs.
inline TColor clDlgDarkWindow = clAppWorkSpace; // the main window's tool panel
inline TColor clDlgWindow = clBtnFace;          // dialog background
inline TColor clDlgText = clWindowText;         // dialog text
inline TColor clDlgPanelLight = clBtnFace;      // panels of the main window and tool palette
inline TColor clDlgPanel = clBtnFace;           // panels and picture backgrounds of dialogs
inline TColor clDlgBorder = clBtnShadow;        // frames, separators
inline TColor clDlgList = clWindow;             // list backgrounds
inline TColor clDlgAccent = 0x0099FF;           // orange selection and highlight accents
inline TColor clDlgHighlight = clMenuHighlight; // menu highlight of the main window
// Tint strength 0..50 of disabled toolbar glyphs.
inline int DlgPanelBrightness = 40;

// Derives the colours from the active style; called once, right after the
// style was applied at start-up.
void InitStyleColors();
