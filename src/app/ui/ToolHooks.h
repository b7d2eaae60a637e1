// What the main window's application hooks ask of the tool palette and of
// the tool at work on the image: pending edit values, the current tool, a
// selection being drawn. The palette implements it and registers itself
// with the main window when it is created (TMainForm::SetToolHooks); until
// then the hooks see no palette. Depends on QtCore; used by the main
// window's hooks.
#pragma once

#include <QRect>

class TToolHooks {
public:
  virtual ~TToolHooks() = default;

  // The palette is visible and is the active window.
  virtual bool PaletteActive() const = 0;
  // One of the palette's edit fields is being edited, and that field's
  // rectangle in screen coordinates.
  virtual bool IsEditing() const = 0;
  virtual QRect EditingRect() const = 0;
  // Commits the pending edit values; true when one was pending.
  virtual bool ValidateEditControls() = 0;
  // The current tool is the selection tool or the magic wand.
  virtual bool IsSelectionTool() const = 0;
  // A selection is being drawn on the active image, and pausing or resuming
  // that drawing (Space held down).
  virtual bool SelectionDrawing() const = 0;
  virtual void PauseSelection(bool Pause) = 0;
  // The palette's tool Number becomes current (0 the selection tool, 1 the
  // pipette ... 17 the nozzle).
  virtual void SetTool(int Number) = 0;
};
