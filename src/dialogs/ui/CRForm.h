// TCRForm, Edit > "Contour et remplissage...": the selection's outline
// stroked (colour or pattern, width, smoothing) and the selection filled
// (colour in a brush style, or a pattern) on the current layer, at an
// overall opacity; repeatable from Edit > Repeat. The common controls and
// the preview protocol are TStrokeFillForm's. Depends on it and on the
// selection masks of document.
#pragma once

#include "dialogs/ui/StrokeFillForm.h"

class TCRForm : public TStrokeFillForm {
  Q_OBJECT
public:
  explicit TCRForm(QWidget* Parent = nullptr);
  ~TCRForm() override;

  QCheckBox* CBLisser;
  std::unique_ptr<TPatternChoice> Motif2;
  // Running as Edit > Repeat (the smoothing is taken from the selection).
  bool IsExecuteLast = false;

  // Edit > Repeat: a new undo record, then the drawing with the options the
  // dialog was closed with.
  void RepeatDraw();
  void UpdateControls() override;

protected:
  void FormShow() override;
  void DrawFill() override;
  void DrawStroke() override;
  void EnableStroke(bool Contour) override;
  bool StrokePatternWanted() const override;
  void Accepted() override;

private:
  // The selection is visible and not a plain rectangle.
  bool ShapedSelection() const;
};
