// What the tool palette asks of the main window: the state of the active
// image and its current layer, the registered dialogues, the layer-option
// edits with their undo record, the colour dialog, the selection commands of
// the selection page, and the frame it docks into. The main window
// implements it; tests use a small fake. Depends on platform types only.
#pragma once

#include "platform/Colors.h"

#include <QString>
#include <QStringList>

class QWidget;

// The current layer as the palette shows and checks it.
struct TPaletteLayerInfo {
  QString Caption;
  bool Locked = false;
  bool Visible = true;
  bool IsBitmap = true; // a bitmap layer (not text, not adjustment)
  bool IsText = false;
  bool IsBackground = true;
  bool HasAlpha = false; // a non-empty transparency mask
  bool CanChangeBlendMode = false;
  int Opacity = 100; // 1..100
  int BlendMode = 0;
};

// The selection page's commands the main window runs.
enum class TPaletteSelCommand { LoadShape, Invert, Centre, ManualParameters, RatioSquare, Ratio43, Ratio32 };

class TPaletteServices {
public:
  virtual ~TPaletteServices() = default;

  // ---- The active image
  virtual bool UneImage() const = 0;
  // More than 256 colours.
  virtual bool Mode16M() const = 0;
  // The background layer's bitmap is marked transparent (a 256-colour image
  // with a transparent colour).
  virtual bool BackgroundTransparent() const = 0;
  virtual TPaletteLayerInfo CurrentLayer() const = 0;
  // The selection drawing of the active image is paused.
  virtual bool SelPaused() const = 0;

  // ---- The main window
  virtual bool IsDialogueForm() const = 0;
  virtual bool HasPipetteForm() const = 0;
  virtual bool Terminating() const = 0;
  // No dialog, menu or edit holds the keys (the shortcuts may run).
  virtual bool CheckActionKey() const = 0;
  // The frame the palette docks into.
  virtual QWidget* MainWindow() const = 0;
  // The docking side changed: the module panel moves to the other side and
  // the frame lays out its client area again.
  virtual void PaletteDocked(int Alignment) = 0;
  // The colour dialog on Color; true when confirmed (Color then changed).
  virtual bool ChooseColor(TColor& Color) = 0;
  // The data folders of brushes and nozzles.
  virtual QString BrushDir() const = 0;
  virtual QString NozzleDir() const = 0;
  // Brush or nozzle files that were skipped, full names.
  virtual void ReportSkippedFiles(const QStringList& Files) = 0;
  // A main-menu item's caption without "&", a trailing "..." or ":"; empty
  // for an unknown name. Buttons doing what a menu item does take it as hint.
  virtual QString MenuCaption(const char* ItemName) const = 0;
  // Hints carry the keys that choose their tool.
  virtual bool AddShortcut() const = 0;

  // ---- After a tool was chosen: the layer tool hides the selection and
  // shows the active layer's bounds; the selection mode, popup, cursor and
  // status information follow the tool.
  virtual void ToolChanged(bool LayerTool) = 0;
  // Asks for a picture of the patterns folder and makes it the current
  // pattern; false when none was loaded.
  virtual bool LoadPattern() = 0;
  // The line tool's rubber-band width.
  virtual void SetLineWidth(int Width) = 0;

  // ---- The selection page
  // The drawing shape of the image (shape code, polygon with several lines).
  virtual void ChangerForme(int Shape, bool MultiLine) = 0;
  virtual void SelectionCommand(TPaletteSelCommand Command) = 0;

  // ---- The layer page: each change prepares the layer-options undo record
  // (consecutive changes of one layer merge into one), applies and repaints.
  virtual void SetLayerOpacity(int Opacity) = 0;
  virtual void SetLayerVisible(bool Visible) = 0;
  virtual void SetLayerLocked(bool Locked) = 0;
  virtual void SetLayerBlendMode(int Mode) = 0;
};
