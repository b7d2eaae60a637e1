// TRotForm, Image > Transformation > Free rotation: the whole image turned
// by an angle (positive clockwise) with a live thumbnail, into a canvas that
// keeps its size or grows to hold the turned picture; the uncovered corners
// of a chosen colour (picked on the image too), or transparent where the
// background has a mask; every other layer turning with it on request. Its
// values are kept in the dialogs settings after an Ok. Depends on the host
// interface, the raster core's rotation and thumbnails, the dialog base and
// controls of ui/.
#pragma once

#include "platform/Bitmap.h"
#include "ui/DlgMain.h"

class QCheckBox;
class QLabel;
class QPushButton;
class TColorEdit;
class TFloatSpinEdit;

class TRotForm : public TPipetteForm {
  Q_OBJECT
public:
  explicit TRotForm(QWidget* Parent = nullptr);

  TFloatSpinEdit* SEAngle;
  QCheckBox* CBAjuster;
  QCheckBox* CBLisser;
  TColorEdit* ColorEdit;
  QCheckBox* CBTous;
  QLabel* ImgApercu;
  QPushButton* BOk;
  QPushButton* BAnnuler;
  // The source of the preview, made at show and freed at hide.
  TBitmap Thumb;
  // The preview as last drawn.
  TBitmap Apercu;

  bool AllLayers() const;
  bool Smooth() const;
  void UpdateControls() override;
  void ChangerCouleur(TColor Couleur) override;
  void MakeThumb();
  void DrawPreview();
  void BOkClick();

protected:
  void FormShow() override;
  void FormHide() override;

private:
  bool UseMergedImage(bool All) const;
};
