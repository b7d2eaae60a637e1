// The main window's menus as one declarative table: every item of the main
// menu and of the popup menus that carries a caption, with its object name,
// its parent, its French caption, the translatable strings that caption it
// when a language module is loaded, and its short-cut. Depends on the
// translatable strings; used by the main window, which builds its menus from
// it.
//
// How to add an item: add a row to MainMenuTable.inc under its group, naming
// its parent (a top menu, a submenu row above it, or a popup menu). Rows are
// in the order the items stand in their menu. A row marked Again names an
// item that an earlier group already holds: it recaptions that item and adds
// nothing. A row captioned "-" is a separator (no caption routine names it);
// the last column is the item's Tag, which handlers serving several items
// read (0 when no handler reads it).
#pragma once

#include "i18n/LibLang.h"

#include <QString>

#include <cstdint>
#include <span>

// How the translated caption is made from its strings.
enum TCaptionMode : uint8_t {
  cmPlain,       // Key1 + Joiner (+ Key2)
  cmBeforeColon, // the text of Key1 before its first ':', not trimmed
};

// The caption groups, one per menu routine, in the order they run.
enum TMenuGroup : uint8_t {
  mgFile,
  mgEdit,
  mgLayer,
  mgSelection,
  mgImage,
  mgAdjust,
  mgFilter,
  mgTools,
  mgView,
  mgWindow,
  mgHelp,
  mgPopups,
  mgCount
};

inline constexpr int TrNoneValue = -1;

struct TMenuEntry {
  TMenuGroup Group;
  const char* Name;
  const char* Parent;      // empty for a top menu; a "Pop..." name for a popup
  const char16_t* Caption; // the French caption
  int Key1;                // a TrId or TrNoneValue
  int Key2;
  const char* Joiner;
  TCaptionMode Mode;
  bool Dialog;          // the item opens a dialog: caption in the dialog form
  const char* ShortCut; // portable key text, or empty
  bool Again;
  int Tag;
};

std::span<const TMenuEntry> MainMenuEntries();

// The row is a separator line.
bool IsSeparator(const TMenuEntry& Entry);
// The separator stays hidden until the program shows it: above the shell
// extension (when its library exists), above "LumaBridge..." (when that
// program exists), above the modules of Layer > New (when one is added) and
// before the list of image windows (when one is open).
bool StartsHidden(const TMenuEntry& Entry);

// The top menus in the menu bar's order, and the seven popup menus.
std::span<const char* const> TopMenuNames();
std::span<const char* const> PopupMenuNames();

// The caption a language module gives the entry (its strings put together
// as the entry says, in the dialog form when it opens a dialog).
QString TranslatedCaption(const TMenuEntry& Entry);
