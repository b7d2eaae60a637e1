// The image browser's own pictures, drawn by code: the glyphs of its eight
// folder and menu buttons and the three 9 x 11 metadata badges drawn on
// thumbnails. Depends on the toolbar images of ui/ (the glyphs it shares with
// the main window) and QtGui.
#pragma once

#include <QIcon>
#include <QImage>

enum class TExplorGlyph { Dir, Img, Ouvrir, Sauve, Sel, Mask, Motif, Menu };
// Normal and disabled, at Size x Size, like the main window's buttons.
QIcon ExplorButtonIcon(TExplorGlyph Glyph, int Size);

inline constexpr int BadgeWidth = 9;
inline constexpr int BadgeHeight = 11;
enum class TExplorBadge { Exif = 0, Iptc = 1, Comment = 2 };
QImage ExplorBadge(TExplorBadge Badge);
