// TCRPathForm, the path popup's "Contour et remplissage...": the vector
// path stroked with the line brushes in a line style and width, and filled
// as a polygon in a colour, or with a hatch or a pattern cut to the path's
// shape, on the current layer at an overall opacity. The undo record is
// kept to exactly the area the drawing can reach. No smoothing option, no
// outline pattern, no Edit > Repeat. The common controls and the preview
// protocol are TStrokeFillForm's. Depends on it, the path model and line
// brushes of tools.
#pragma once

#include "dialogs/ui/StrokeFillForm.h"
#include "platform/Types.h"

class TPathControl;

class TCRPathForm : public TStrokeFillForm {
  Q_OBJECT
public:
  explicit TCRPathForm(QWidget* Parent = nullptr);
  ~TCRPathForm() override;

  QLabel* LblStyle2;
  QComboBox* CmbPen;
  // The path drawn, set by the main window before showing.
  TPathControl* Path = nullptr;
  // The bounds of the path's curve in the current layer's coordinates.
  TRect PathSel{};

  // The undo record re-captured over the area the drawing can reach:
  // PathSel grown by half the stroke width (rounded up) when stroking, then
  // by one pixel.
  void ResetUndoRgn();

protected:
  void FormShow() override;
  bool FillWanted() const override;
  void DrawFill() override;
  void DrawStroke() override;
  void AfterDraw() override { ResetUndoRgn(); }
  void EnableStroke(bool Contour) override;
  void Accepted() override;
};
