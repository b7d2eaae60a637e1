// Small square glyph buttons placed beside an edit: the pipette of the colour
// edits. The glyphs are drawn by our own code at the button's size, so they
// stay sharp at any screen resolution. Depends on the edit-height helper of
// ui/ and QtWidgets; used by the dialogs.
#pragma once

class QToolButton;
class QWidget;

// The side of a glyph button: the edit-box height of the application font.
int GlyphButtonSize();

// A flat pipette button of GlyphButtonSize, with a normal and a disabled
// glyph; when Control is given, level with it, 1 pixel right of it, and at
// least as tall as it.
void SetupColorButton(QToolButton* Button, const QWidget* Control);
