// TRotSelForm, Layer > "Transformation paramétrée...": the current layer
// scaled, skewed and rotated as one affine transformation, composited live
// through the layer's pending transformation with an XOR outline of the
// transformed layer drawn over the image, and resampled on Ok. Depends on
// the slider form of dialogs/ui, the layered image and its view, and the
// main window through TLayerTransformHost.
#pragma once

#include "dialogs/ui/TransformSlidersForm.h"

class TCanvas;
class TLayerItem;
class TMyImageLayeredView;

// What the layer transformation needs of the main window.
class TLayerTransformHost {
public:
  virtual ~TLayerTransformHost() = default;
  // The active image's view and its current layer; nullptr when none.
  virtual TMyImageLayeredView* View() = 0;
  virtual TLayerItem* CurrentLayer() = 0;
  virtual void DebutAction() = 0;
  virtual void FinAction() = 0;
  // The image composited again (the layer through its transformation) and
  // shown, with the layer's bounds in the status bar.
  virtual void Refresh() = 0;
  // Ok: Points (image coordinates, right and bottom exclusive) become the
  // selection and the layer is resampled through its transformation.
  virtual void Accept(const TRectVertices& Points) = 0;
  // Any other close: the transformation and what the command prepared go.
  virtual void Cancel() = 0;
};

class TRotSelForm : public TTransformSlidersForm {
  Q_OBJECT
public:
  explicit TRotSelForm(QWidget* Parent = nullptr);

  // Set by the main window before FirstTransform and the show.
  TLayerTransformHost* Host = nullptr;
  // The current layer's rectangle in image coordinates, taken on show.
  TRect SelRect{};
  // The transformed layer's corners in image coordinates: top-left,
  // top-right, bottom-right, bottom-left.
  TRectVertices Points{};

  // Sliders neutral and the identity placed at the layer's own position,
  // so that the layer is composited through its transformation from the
  // start.
  void FirstTransform();
  void BOkClick();
  // The outline drawn over the view's finished picture.
  void DrawOutline(TCanvas& Canvas);

protected:
  void Apply() override;
  void FormShow() override;
  void FormHide() override;

private:
  // SelRect and the untransformed Points taken from the current layer.
  void TakeLayerRect();
  // The slider values become the layer's pending transformation.
  void Build();
};
