// TRotPathForm, the path popup's "Transformation paramétrée...": the vector
// path rotated, scaled and skewed as one affine transformation, shown live
// as the path's pending transformation and baked into its vertices on Ok;
// any other close returns the path to its stored shape. Depends on the
// slider form of dialogs/ui and the path model of tools.
#pragma once

#include "dialogs/ui/TransformSlidersForm.h"

#include <functional>

class TPathControl;

class TRotPathForm : public TTransformSlidersForm {
  Q_OBJECT
public:
  explicit TRotPathForm(QWidget* Parent = nullptr);

  // The path transformed, set by the main window before showing.
  TPathControl* Path = nullptr;
  // The path's anchor bounds when the dialog was shown.
  TRect PathRect{};
  // After the dialog closed: Ok is true when the transformation was baked.
  std::function<void(bool Ok)> OnClosed;

  void BOkClick();

protected:
  void Apply() override;
  void FormShow() override;
  void FormHide() override;
};
