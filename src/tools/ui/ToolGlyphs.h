// The small pictures of the tool palette's buttons, drawn by code: one per
// tool, the swap and black-and-white icons and the arrows of the colour
// strip. Depends on QtGui.
#pragma once

#include <QIcon>

// Tool Id's picture (0..17), Side pixels square.
QIcon ToolGlyph(int Id, int Side);
// The swap icon (two bent arrows) and the black-and-white icon.
QIcon SwapGlyph(int Side);
QIcon BlackWhiteGlyph(int Side);
// The selection page's buttons in their order (0..14): the shapes rectangle,
// ellipse, rounded rectangle, diamond, two triangles, lasso and polygon, then
// load a shape, the square, 4:3 and 3:2 ratios, invert, centre and the
// manual parameters.
QIcon SelectionGlyph(int Index, int Side);
