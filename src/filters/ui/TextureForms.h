// The pattern filter dialogs: tiles, mosaic, puzzle, grid and cross points,
// each drawn inside the work rectangle of the current layer, most of them
// followed by the selection's outline in their line colour. Depends on
// TFilterNForm, the pattern filters and TEffectHost.
#pragma once

#include "filters/ui/FilterNForm.h"

class QCheckBox;
class QComboBox;
class QLabel;

// True when the work rectangle is at least MinSize wide and high; otherwise
// the "selection too small" warning and false. Every size check of the
// texture and frame dialogs.
bool WorkRectAtLeast(const TRect& Rect, int MinSize);

// Filter > Stylize > Tiles: Tiles24 from the unfiltered copy, gaps of S div
// 12 + 3 in the colour, then the outline in it.
class TTilesForm : public TFilterNForm {
  Q_OBJECT
public:
  explicit TTilesForm(QWidget* Parent = nullptr);
  QLabel* LblColor = nullptr;
  TColorEdit* ColorEdit = nullptr;
  void ApplyFilter() override;
};

// Filter > Stylize > Mosaic: Mosaic24, then with contours a one-pixel grid
// of the cell size and the outline in the colour.
class TMosaicForm : public TFilterNForm {
  Q_OBJECT
public:
  explicit TMosaicForm(QWidget* Parent = nullptr);
  QCheckBox* CBContour = nullptr;
  TColorEdit* ColorEdit = nullptr;
  void UpdateControls() override;
  bool CanApply() override;
  void ApplyFilter() override;
};

// Filter > Stylize > Puzzle: the pieces' edges in the colour, or with relief
// embossed into the layer; below 100 % opacity the unfiltered image shows
// through.
class TPuzzleForm : public TFilterNForm {
  Q_OBJECT
public:
  explicit TPuzzleForm(QWidget* Parent = nullptr);
  QLabel* LblColor = nullptr;
  QLabel* LblWidth = nullptr;
  TColorEdit* ColorEdit = nullptr;
  TSpinEdit2* SETrait = nullptr;
  QLabel* LblAlpha = nullptr;
  TSpinEdit2* EdiAlpha = nullptr;
  QCheckBox* CBRelief = nullptr;
  void UpdateControls() override;
  bool CanApply() override;
  void ApplyFilter() override;
  // The edges of pieces of the main slider's size, Width wide, painted in
  // Color at Opacity into Rect of Dest with feathered edges.
  void DrawPuzzleLines(TBitmap& Dest, int Width, TColor Color, const TRect& Rect, int Opacity) const;

private:
  void ReliefClick();
};

// The relief texture of a puzzle of pieces Size wide with edges T wide:
// Work black, its rect shrunk by M grey 128, the edges lit white from one
// side (through rect moved by T div 2 + 1, with the selection's outline)
// and shaded from the other, dark edges through the middle, blurred by C.
void DrawPuzzleRelief(TBitmap& Work, int Size, int T, int M, int C);

// Filter > Other > Grid: Grid24 in the colour (also black on the layer's
// mask when painting on it), optionally embossed, then the outline.
class TGridForm : public TFilterNForm {
  Q_OBJECT
public:
  explicit TGridForm(QWidget* Parent = nullptr);
  QLabel* LblColor = nullptr;
  QLabel* LblWidth = nullptr;
  TColorEdit* ColorEdit = nullptr;
  TSpinEdit2* SETrait = nullptr;
  QCheckBox* CBContour = nullptr;
  QCheckBox* CBVert = nullptr;
  QCheckBox* CBHorz = nullptr;
  QCheckBox* CBAjuster = nullptr;
  QCheckBox* CBRelief = nullptr;
  bool CanApply() override;
  void ApplyFilter() override;
};

// Filter > Stylize > Cross point: stitches of the main slider's length on a
// background colour, crosses, one diagonal or triangles, optionally with a
// black grid.
class TCrossPointForm : public TFilterNForm {
  Q_OBJECT
public:
  explicit TCrossPointForm(QWidget* Parent = nullptr);
  QLabel* LblColor = nullptr;
  QLabel* LblWidth = nullptr;
  QLabel* LblStyle = nullptr;
  TColorEdit* ColorEdit = nullptr;
  TSpinEdit2* SETrait = nullptr;
  QCheckBox* CBGrid = nullptr;
  QComboBox* CmbStyle = nullptr;
  void UpdateControls() override;
  bool CanApply() override;
  void ApplyFilter() override;
};
