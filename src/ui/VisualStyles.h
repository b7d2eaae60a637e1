// The visual styles the interface can be drawn in, and the active one: the
// colours and edit frames that the controls take from a style. Depends on
// platform colours.
//
// Three styles are registered: "Windows" (the system's own look, the active
// style until another is chosen), "Windows11 Light" and "Windows11 Dark".
#pragma once

#include "platform/Colors.h"

#include <QString>
#include <QStringView>

#include <vector>

struct TVisualStyle {
  QString Name;
  bool SystemStyle = false; // the operating system's own look
  bool Enabled = true;      // styled drawing is available
  // Style colours.
  TColor Window = clWindow;    // scWindow
  TColor Panel = clBtnFace;    // scPanel
  TColor ListView = clWindow;  // scListView
  TColor WindowText = clBlack; // sfWindowTextNormal
  // The edit border element without scroll bars: its outer line in each state
  // and the field inside it.
  TColor EditBorderNormal = clGray;
  TColor EditBorderHot = clBlue;
  TColor EditBorderDisabled = clSilver;
  TColor EditField = clWhite;
  TColor EditFieldDisabled = clBtnFace;
};

// Every registered style, the system style first.
const std::vector<TVisualStyle>& RegisteredStyles();
// The style of exactly that name (case-sensitive), or nullptr.
const TVisualStyle* FindStyle(QStringView Name);
// Adds a style (a name already registered is replaced).
void RegisterStyle(const TVisualStyle& Style);

// The active style; SetActiveStyle returns false and changes nothing for a
// name that is not registered.
// The reference is valid until the next RegisterStyle.
const TVisualStyle& ActiveStyle();
bool SetActiveStyle(QStringView Name);

// The active style reports styled drawing available.
bool IsStyleEnabled();
// The active style is the operating system's own look.
bool IsSystemStyle();
