// The blur, sharpen, noise, rank, emboss and relief dialogs of the Filter
// menu. Most are a main slider and one filter call; the box and Gaussian
// blurs also keep the colours under a layer's transparency from bleeding
// into its visible edge and can blur the transparency mask itself. Depends on
// TFilterNForm, the blur, convolution, point and composite filters, and the
// selection masks of document (the layer mask, the undo record).
#pragma once

#include "filters/ui/ArtisticForms.h"

class QCheckBox;
class QLabel;
class QRadioButton;

// A direction editor set beside the main slider, as the direction dialogs
// lay it out: the editor at the top left, the main label and slider moved to
// its right.
TDirectionEdit* NewDirectionBesideBar(TFilterNForm& Form, int Direction);
// The inset of the contraction choices "Aucun", "Léger", "Moyen", "Elevé"
// for a radius: 0, R div 4 and R div 2 (each at least 1), R.
int ContractionInset(int Item, int Radius);
// The emboss direction code of a direction editor position (255 for none).
int EmbossDirectionCode(int Position);

// MonoNoise24(main) with "Uniforme", else ColorNoise24(main).
class TNoizeForm : public TMainBarForm {
  Q_OBJECT
public:
  explicit TNoizeForm(QWidget* Parent = nullptr);
  QCheckBox* Uniform = nullptr;
  void ApplyFilter() override;
};

// Minimum24(main).
class TMinForm : public TMainBarForm {
  Q_OBJECT
public:
  explicit TMinForm(QWidget* Parent = nullptr);
  void ApplyFilter() override;
};

// Maximum24(main).
class TMaxForm : public TMainBarForm {
  Q_OBJECT
public:
  explicit TMaxForm(QWidget* Parent = nullptr);
  void ApplyFilter() override;
};

// SharpenMore24(main, gain).
class TSharpMoreForm : public TMainBarForm {
  Q_OBJECT
public:
  explicit TSharpMoreForm(QWidget* Parent = nullptr);
  TTrackBar* Gain = nullptr;
  QLabel* LblGain = nullptr;
  void ApplyFilter() override;
};

// UnsharpMask24(radius, gain = main, threshold, "Adoucir", two passes).
class TUnsharpMaskForm : public TFilterNForm {
  Q_OBJECT
public:
  explicit TUnsharpMaskForm(QWidget* Parent = nullptr);
  TTrackBar* Radius = nullptr;
  TTrackBar* Threshold = nullptr;
  QLabel* LblRadius = nullptr;
  QLabel* LblThreshold = nullptr;
  QCheckBox* Soften = nullptr;
  void ApplyFilter() override;
};

// Dust removal: DeNoiseLum24(radius, main, threshold) with "Luminosité",
// else DeNoiseRGB24.
class TDeNoiseForm : public TUnsharpMaskForm {
  Q_OBJECT
public:
  explicit TDeNoiseForm(QWidget* Parent = nullptr);
  QRadioButton* Luminosity = nullptr;
  QRadioButton* Color = nullptr;
  void ApplyFilter() override;
};

// The box and Gaussian blurs. On a layer with transparency the colours of
// the visible pixels first spread r pixels into the transparent ones, so the
// blur does not draw the edge toward the (meaningless) colours under them,
// and the transparent pixels get their own colours back at the end. With
// "Appliquer à la couche Alpha" the mask is blurred too, its opaque part
// first shrunk by the chosen inset when the selection is a rectangle.
class TAlphaBlurForm : public TFilterNForm {
  Q_OBJECT
public:
  TAlphaBlurForm(QWidget* Parent, const char* FormName, const char* MenuItem);
  QCheckBox* CBAlpha = nullptr;
  TRadioGroup* RGInflate = nullptr;
  void UpdateControls() override;
  void ApplyFilter() override;

protected:
  virtual void Blur(TBitmap& Bitmap, int Radius, const TRect& Rect) = 0;
};

// BoxBlur(r, r).
class TBoxBlurForm : public TAlphaBlurForm {
  Q_OBJECT
public:
  explicit TBoxBlurForm(QWidget* Parent = nullptr);

protected:
  void Blur(TBitmap& Bitmap, int Radius, const TRect& Rect) override;
};

// GaussianBlurRadius(r).
class TGaussBlurForm : public TAlphaBlurForm {
  Q_OBJECT
public:
  explicit TGaussBlurForm(QWidget* Parent = nullptr);

protected:
  void Blur(TBitmap& Bitmap, int Radius, const TRect& Rect) override;
};

// EmbossFromSource24 of the unfiltered copy (grey $808080), then greyscale.
class TEstampForm : public TFilterNForm {
  Q_OBJECT
public:
  explicit TEstampForm(QWidget* Parent = nullptr);
  TDirectionEdit* Direction = nullptr;
  TSpinEdit2* Width = nullptr;
  void ApplyFilter() override;
};

// RadialBlur24 of the unfiltered copy over main x 2 + 7, then a mild soften
// at 77 %.
class TRadialBlurForm : public TMainBarForm {
  Q_OBJECT
public:
  explicit TRadialBlurForm(QWidget* Parent = nullptr);
  void ApplyFilter() override;
};

// SpinBlur24 of the unfiltered copy over main + 3 degrees, then a 3 x 3 box
// blur.
class TCircularBlurForm : public TMainBarForm {
  Q_OBJECT
public:
  explicit TCircularBlurForm(QWidget* Parent = nullptr);
  void ApplyFilter() override;
};

// MotionBlur of the unfiltered copy over main x 4 + 12 pixels along the
// editor's direction, then a mild soften at 33 %.
class TDirectionBlurForm : public TMainBarForm {
  Q_OBJECT
public:
  explicit TDirectionBlurForm(QWidget* Parent = nullptr);
  TDirectionEdit* Direction = nullptr;
  void ApplyFilter() override;
};

// MicroContrast24(radius, main, hard light).
class TMicroContrastForm : public TMainBarForm {
  Q_OBJECT
public:
  explicit TMicroContrastForm(QWidget* Parent = nullptr);
  TTrackBar* Radius = nullptr;
  QLabel* LblRadius = nullptr;
  void ApplyFilter() override;
};

// Relief24(direction code, "Léger", main).
class TReliefForm : public TMainBarForm {
  Q_OBJECT
public:
  explicit TReliefForm(QWidget* Parent = nullptr);
  TDirectionEdit* Direction = nullptr;
  QRadioButton* Fine = nullptr;
  QRadioButton* Strong = nullptr;
  void ApplyFilter() override;
};

// HighPass24(main).
class THighPassForm : public TMainBarForm {
  Q_OBJECT
public:
  explicit THighPassForm(QWidget* Parent = nullptr);
  void ApplyFilter() override;
};
