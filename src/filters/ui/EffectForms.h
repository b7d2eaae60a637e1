// The composite effects painted around the selection (drop shadow,
// progressive contour, 3D contour) and the dialogs that change the current
// layer's transparency mask (opacity, progressive and dispersed mask
// contours, transparency gradient, transparency by colour). The effects
// build a grey mask in a scratch bitmap (0 paints fully, 255 not at all),
// soften it, and paint a colour through it onto the layer, and onto its mask
// when painting on transparency is on. Depends on TFilterNForm, the blur and
// point filters, the raster masks, the selection masks and layer routines of
// document, and the gradient engine of tools.
#pragma once

#include "filters/ui/FilterNForm.h"

class QAbstractButton;
class QCheckBox;
class QLabel;
class TSelMaskHost;

// Filter > Drop shadow: the selection's shape moved by (Delta X, Delta Y),
// flat or feathered by 9, painted in the colour, shown only outside the
// selected shape; the undo record grows to hold the whole shadow.
class TShadowForm : public TFilterNForm {
  Q_OBJECT
public:
  explicit TShadowForm(QWidget* Parent = nullptr);
  QLabel* LblColor = nullptr;
  TColorEdit* ColorEdit = nullptr;
  QLabel* LblAlpha = nullptr;
  TSpinEdit2* EdiAlpha = nullptr;
  QLabel* LblDX = nullptr;
  TSpinEdit2* EdiDX = nullptr;
  QLabel* LblDY = nullptr;
  TSpinEdit2* EdiDY = nullptr;
  TRadioGroup* RGStyle = nullptr;
  bool UseAlpha = false;
  void ApplyFilter() override;
};

// Filter > Progressive contour: a band Width pixels wide along the inside
// (or with "Extérieur" the outside) of the selection's shape, fading from
// the colour at the edge, optionally blurred or scattered.
class TProgCtrForm : public TFilterNForm {
  Q_OBJECT
public:
  explicit TProgCtrForm(QWidget* Parent = nullptr);
  QLabel* LblColor = nullptr;
  TColorEdit* ColorEdit = nullptr;
  QLabel* LblWidth = nullptr;
  TSpinEdit2* EdiWidth = nullptr;
  QCheckBox* CBInvert = nullptr;
  TRadioGroup* RGEffect = nullptr;
  bool UseAlpha = false;
  void UpdateControls() override;
  bool CanApply() override;
  void ApplyFilter() override;

private:
  void SimpleInside(TSelMaskHost& Masks, int W, int D);
  void TracedInside(TSelMaskHost& Masks, int W, int D);
  void Outside(TSelMaskHost& Masks, int W, int D, bool Traced);
};

// Filter > 3D contour: a light band (colour 1) and a dark band (colour 2)
// on opposite sides inside the selection's shape, as if lit from the chosen
// corner; softened, and with "Dégradé" fading across the shape.
class TBorder3DForm : public TFilterNForm {
  Q_OBJECT
public:
  explicit TBorder3DForm(QWidget* Parent = nullptr);
  QCheckBox* CBColor1 = nullptr;
  TColorEdit* ColorEdit1 = nullptr;
  QAbstractButton* SB1 = nullptr;
  QCheckBox* CBColor2 = nullptr;
  TColorEdit* ColorEdit2 = nullptr;
  QAbstractButton* SB2 = nullptr;
  QLabel* LblWidth = nullptr;
  TSpinEdit2* EdiWidth = nullptr;
  QLabel* LblAlpha = nullptr;
  TSpinEdit2* EdiAlpha = nullptr;
  TRadioGroup* RGPos = nullptr;
  QCheckBox* CBGradient = nullptr;
  QCheckBox* CBSoft = nullptr;
  void ChangerCouleur(TColor Couleur) override;
  void ApplyFilter() override;
};

// Layer > Opacity: the mask moves toward transparent by 100 - main %, or
// with "Réinitialiser" becomes a uniform opacity of main %.
class TAlphaOpacity : public TFilterNForm {
  Q_OBJECT
public:
  explicit TAlphaOpacity(QWidget* Parent = nullptr);
  QCheckBox* CBReset = nullptr;
  void ApplyFilter() override;
};

// Layer > Edge effect > Progressive contour of the mask, its opaque part
// first contracted by none, a quarter, half or all of the radius.
class TAlphaProgContour : public TFilterNForm {
  Q_OBJECT
public:
  explicit TAlphaProgContour(QWidget* Parent = nullptr);
  TRadioGroup* RGInflate = nullptr;
  void ApplyFilter() override;
};

// Layer > Edge effect > Dispersion of the mask's edge.
class TAlphaDispContour : public TFilterNForm {
  Q_OBJECT
public:
  explicit TAlphaDispContour(QWidget* Parent = nullptr);
  void ApplyFilter() override;
};

// Layer > Transparency gradient: a gradient from a grey set by the slider
// to opaque, toward the chosen direction, never making a pixel more opaque
// than it was.
class TAlphaGradientForm : public TFilterNForm {
  Q_OBJECT
public:
  explicit TAlphaGradientForm(QWidget* Parent = nullptr);
  TDirectionEdit* DirEdit = nullptr;
  // The gradient direction of a direction editor position.
  static int GradientDirection(int Position);
  void ApplyFilter() override;
};

// Layer > Transparent colour: the pixels within the tolerance of the colour
// get the chosen opacity. Not registered for Edit > Repeat.
class TAlphaColorForm : public TFilterNForm {
  Q_OBJECT
public:
  explicit TAlphaColorForm(QWidget* Parent = nullptr);
  QLabel* LblColor = nullptr;
  TColorEdit* ColorEdit = nullptr;
  QLabel* LblAlpha = nullptr;
  TTrackBar* TBAlpha = nullptr;
  void ApplyFilter() override;
};
