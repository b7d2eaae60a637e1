// What an image window routes to the main window beyond its settings: the
// vertex-edit mode that forbids closing, the middle-button zoom, the picked
// colours and clicks a loaded module receives, the commands a double click
// runs, the selection's status display and the current tool of the tool
// palette, which gets the image's mouse events in its three phases. The main
// window implements it and installs it with SetImageToolHost; while none is
// installed the image's mouse events reach only the open dialog. Depends on
// platform types and QtCore's mouse enumerations.
#pragma once

#include "document/SelectionModel.h"
#include "platform/Colors.h"
#include "platform/Types.h"

#include <Qt>

class TMyImageLayeredView;

class TImageToolHost {
public:
  virtual ~TImageToolHost() = default;

  // ---- Main window state
  // 0 when no vertex edit runs; above 0 an edit of vertices is in progress,
  // 2 being the vector path tool's.
  virtual int VerticesMode() const = 0;
  // The FreeImage library is loaded: image comments then live in the
  // metadata.
  virtual bool FreeImageAvailable() const = 0;
  // The middle button fits the image into its window.
  virtual bool ZoomMolette() const = 0;
  // The zoom box set to its first entry (the automatic fit) and applied, as
  // a zoom asked by the mouse.
  virtual void ZoomAutoFit() = 0;
  // The colour at a client point of the active image's view; with Merged the
  // colour of the composited visible layers.
  virtual TColor ImageColorAtClient(int X, int Y, bool Merged) = 0;
  // The image is edited with an alpha channel (the background has a mask);
  // with CheckBkgVisible also when the background is hidden or not opaque.
  virtual bool ModeRGBA(bool CheckBkgVisible) const = 0;
  // The cursor of the active image follows the current tool and mode.
  virtual void MajCurseur() = 0;
  // An image window became active again: the zoom box shows its zoom, the
  // selection mode and popup menus follow it, and the information display.
  virtual void RestaureZoom() = 0;
  virtual void VerifierSelModeEtPopup() = 0;
  virtual void AfficherInfos() = 0;
  // Tooltips of the main window on or off while something is dragged.
  virtual void EnableHint(bool Enable) = 0;
  // Layer options of the current layer (double click in layer-move mode).
  virtual void MenuCalqueOptionsClick() = 0;
  // The bounding-box command (double click on a selection).
  virtual void MenuSelReperesClick() = 0;
  // Status display of the selection rectangle (bitmap coordinates).
  virtual void AfficherInfosSelection(const TRect& BmpRect) = 0;
  // The selection changed outside an undo step: the selection undo button
  // goes back to its default.
  virtual void ClearFlagBtnSelUndo() = 0;

  // Every step of a selection drawn with the mouse on Image (client
  // coordinates); at soEnd the view's shape manager holds a drawn polygon.
  virtual void ImageSelecting(TMyImageLayeredView& Image, const TRect& R, TSelOption Option) = 0;
  // The tool palette switches to its default tool (a selection came back
  // while a layer tool was current).
  virtual void SetDefaultTool() = 0;

  // ---- A loaded module (its own dialog then is the open one)
  virtual bool ModuleLoaded() const = 0;
  // A click on the image, in bitmap coordinates.
  virtual void ModuleImageClick(TPoint BmpPoint, Qt::MouseButton Button) = 0;
  // A colour picked on the image while the module's eyedropper is open.
  virtual void ModuleColor(TColor Color) = 0;

  // ---- The tool palette
  virtual bool PaletteVisible() const = 0;
  // A stroke of the current tool is in progress.
  virtual bool IsDrawing() const = 0;
  // The current tool works on layers (moving, selecting layers).
  virtual bool IsLayerTool() const = 0;
  // The current tool's phases on Image, client coordinates: a press of the
  // left or right button; a move with either held or while drawing; the
  // release of the left or right button.
  virtual void ToolMouseDown(TMyImageLayeredView& Image, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X,
                             int Y) = 0;
  virtual void ToolMouseMove(TMyImageLayeredView& Image, Qt::MouseButtons Buttons, Qt::KeyboardModifiers Shift, int X,
                             int Y) = 0;
  virtual void ToolMouseUp(TMyImageLayeredView& Image, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X,
                           int Y) = 0;
};

// The installed host (not owned), nullptr when none.
inline TImageToolHost*& ImageToolHostSlot() {
  static TImageToolHost* Host = nullptr;
  return Host;
}
inline TImageToolHost* ImageToolHost() { return ImageToolHostSlot(); }
inline void SetImageToolHost(TImageToolHost* Host) { ImageToolHostSlot() = Host; }
