// The distortions previewed on a thumbnail of the work area before anything
// changes in the image: twirl, trapezoid and lens. Ok runs the distortion
// on the current layer with its own undo step; in layer mode (opened from
// the Image or Layer menu) the layer grows to hold the whole result and
// stays centred, the background's growth moving the other layers. Depends
// on the dialog framework, the distortion filters, TFilterHost and
// TEffectHost.
#pragma once

#include "filters/ui/FilterHost.h"
#include "raster/ScanMan.h"
#include "ui/DlgMain.h"

#include <functional>
#include <memory>

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class TColorEdit;
namespace MyImage {
class TMyImage;
}

// The shared scheme. A descendant builds its controls between the
// background colour and the buttons and gives the distortion.
class TThumbDistortForm : public TPipetteForm {
  Q_OBJECT
public:
  explicit TThumbDistortForm(QWidget* Parent = nullptr);

  QLabel* LblFond = nullptr;
  TColorEdit* ColorEdit = nullptr;
  MyImage::TMyImage* ImgApercu = nullptr;
  QPushButton* BOk = nullptr;
  QPushButton* BAnnuler = nullptr;
  // The thumbnail of the work area, and the selection's mask at its size
  // (only for a selection that is not a plain rectangle, outside layer mode).
  std::unique_ptr<TBitmap> Thumb, MaskSel;
  // Grow the layer instead of staying inside the work rectangle.
  bool LayerMode = false;

  void ChangerCouleur(TColor Couleur) override;
  void UpdateControls() override;
  virtual void MakeThumb();
  void PreviewThumb();
  // The background colour while it can be chosen, else white.
  virtual TColor ThumbBackColor() const;
  // The final run on the current layer, with its undo step (also the
  // Repeat handler where registered).
  virtual void ApplyDistortion();
  virtual void BOkClick();

protected:
  // Src distorted into Dst (which the distortion sizes when Resize).
  virtual void Distort(const TBitmap& Src, TBitmap& Dst, TColor BackColor, const TRect& Rect, TAntialiasMode Mode,
                       bool Resize) = 0;
  // The parameters change the image; Ok is a cancel otherwise.
  virtual bool HasEffect() const { return true; }
  // Edit > Repeat runs ApplyDistortion again.
  virtual bool RegisterRepeat() const { return true; }
  // The menu item naming the command (Filter menu).
  virtual QString MenuItemName() const = 0;
  // Builds the trackbar's label behaviour and key-release preview.
  void PrepareBar(TTrackBar* Bar);
  static void NewAxisRadios(TThumbDistortForm& Form, QWidget* Below, QRadioButton*& Horz, QRadioButton*& Vert,
                            std::function<void()> Relabel);
  // Places the buttons under the lowest control; the end of a constructor.
  void ArrangeButtons();
  int ControlsBottom() const;

  // The colour edit's state and the dialog mode on show.
  virtual void PrepareShow();
  // The size of the thumbnail of an area W x H: fitted into 1.5 times the
  // preview, never enlarged.
  void ThumbSize(int& W, int& H) const;

  void showEvent(QShowEvent* Event) override;
  void hideEvent(QHideEvent* Event) override;
};

// Filter > Distort > Twirl: Angle = TBN / 2, negated anticlockwise.
class TTwirlForm : public TThumbDistortForm {
  Q_OBJECT
public:
  explicit TTwirlForm(QWidget* Parent = nullptr);
  QLabel* LblPct = nullptr;
  TTrackBar* TBN = nullptr;
  QRadioButton* RBHoraire = nullptr;
  QRadioButton* RBAntiHoraire = nullptr;
  double Angle() const;

protected:
  void Distort(const TBitmap& Src, TBitmap& Dst, TColor BackColor, const TRect& Rect, TAntialiasMode Mode,
               bool Resize) override;
  QString MenuItemName() const override { return QStringLiteral("MenuFiltreSpirale"); }
};

// Filter > Distort > Trapezoid: the top and bottom widths (horizontal axis)
// or the left and right heights, in percent.
class TTrapezForm : public TThumbDistortForm {
  Q_OBJECT
public:
  explicit TTrapezForm(QWidget* Parent = nullptr);
  QLabel* Lbl1 = nullptr;
  QLabel* Lbl2 = nullptr;
  TTrackBar* TB1 = nullptr;
  TTrackBar* TB2 = nullptr;
  QRadioButton* RBHorz = nullptr;
  QRadioButton* RBVert = nullptr;
  void UpdateControls() override;

protected:
  void Distort(const TBitmap& Src, TBitmap& Dst, TColor BackColor, const TRect& Rect, TAntialiasMode Mode,
               bool Resize) override;
  bool HasEffect() const override;
  bool RegisterRepeat() const override { return !LayerMode; }
  QString MenuItemName() const override { return QStringLiteral("MenuFiltreTrapeze"); }

private:
  void UpdateLabels();
};

// Filter > Distort > Lens: Strength = 1.33 - (TBN + 3) / 20; never resizes.
class TLensForm : public TThumbDistortForm {
  Q_OBJECT
public:
  explicit TLensForm(QWidget* Parent = nullptr);
  QLabel* Label2 = nullptr;
  TTrackBar* TBN = nullptr;
  double Strength() const;

protected:
  void Distort(const TBitmap& Src, TBitmap& Dst, TColor BackColor, const TRect& Rect, TAntialiasMode Mode,
               bool Resize) override;
  QString MenuItemName() const override { return QStringLiteral("MenuFiltreSphere"); }
};

// Image > Transform > Incline: the whole background slanted top to bottom
// (horizontal axis) or left to right, with all the other bitmap layers when
// asked; the image grows to hold it. No Repeat.
class TInclinerForm : public TThumbDistortForm {
  Q_OBJECT
public:
  explicit TInclinerForm(QWidget* Parent = nullptr);
  QLabel* Lbl = nullptr;
  TTrackBar* TB = nullptr;
  QRadioButton* RBHorz = nullptr;
  QRadioButton* RBVert = nullptr;
  QCheckBox* CBLisser = nullptr;
  QCheckBox* CBTous = nullptr;
  void UpdateControls() override;
  void MakeThumb() override;
  TColor ThumbBackColor() const override;
  void ApplyDistortion() override;
  void BOkClick() override;
  bool IncludeAllLayers() const;
  bool UseSmoothing() const;
  bool UseCompositeThumb() const;
  // The horizontal and vertical factors.
  void SkewFactors(double& Horizontal, double& Vertical) const;

protected:
  void Distort(const TBitmap& Src, TBitmap& Dst, TColor BackColor, const TRect& Rect, TAntialiasMode Mode,
               bool Resize) override;
  bool HasEffect() const override;
  bool RegisterRepeat() const override { return false; }
  QString MenuItemName() const override { return QStringLiteral("MenuImageIncliner"); }
  void PrepareShow() override;

private:
  void UpdateLabel();
};
