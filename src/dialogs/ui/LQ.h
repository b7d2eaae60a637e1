// TLQForm, Filter > "LumaMasque...": a grey picture, the mask, decides where
// an effect falls on the current layer (a colour, grey, blur, a pattern or
// transparency): fully where the mask is dark, not at all where it is
// white. The mask is stretched or tiled over the work rectangle, optionally
// blurred, reduced to two tones, inverted, turned and flipped. A colour
// picked on the image becomes the effect colour. Previewed on request or
// live; Cancel takes the preview back; Ok can be repeated. The image
// browser opens it with its picture (ExploreMasque). Depends on the overlay
// form (OverlayForm.h), the mask overlay of filters, the filter host, the
// dialog base and controls of ui/.
#pragma once

#include "dialogs/ui/OverlayForm.h"
#include "filters/MaskOverlay.h"

class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QRadioButton;
class TColorEdit;
class TSpinEdit2;

class TLQForm : public TOverlayForm {
  Q_OBJECT
public:
  explicit TLQForm(QWidget* Parent = nullptr);

  QGroupBox* GroupBox1;
  // A drop-down list over PopMode; its index counts the items only.
  TSpecialEdit* LstFormat;
  QMenu* PopMode;
  QLabel* LblOpacite;
  TSpinEdit2* SEOpacite;
  QLabel* LblCouleur;
  TColorEdit* ColorEdit;
  QLabel* LblMotif;
  TSpecialEdit* EdiMotif;
  QToolButton* SBMotif;
  QCheckBox* CBFlou;
  QCheckBox* CBBichromie;
  QRadioButton* RBAjuster;
  QRadioButton* RBRepeter;
  // The work rectangle of the last application.
  TRect SelRect{};

  // The browser's picture as the mask, without transformations.
  void ExploreMasque(const QString& NomFic) { ExplorePicture(NomFic); }
  void ChangerCouleur(TColor Couleur) override;
  void UpdateControls() override;
  QString GetIniCustomVar(int Index) override;
  void SetIniCustomVar(int Index, const QString& Value) override;
  TMaskOverlaySettings Settings() const;

protected:
  void ApplyOverlay(const TRect& R) override;
  void FormShow() override;
  void FormHide() override;

private:
  void OptionChanged();
  void LstFormatChanged();
  void SBMotifClick();
  // Mode 3 without a pattern file, or a mode not offered, becomes mode 0.
  void FallBackMode();
  void MajMode();
  // The background's transparency as the dialog found it, put back by any
  // close but Ok.
  bool FBkgTransparent = false;
  TColor FBkgTransparentColor = clNone;
};
