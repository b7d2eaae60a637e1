// TTextureForm, Filter > Texture > "Divers...": the texture of a grey
// picture tiled over the work rectangle of the current layer at a scale,
// lightening where it is lighter than middle grey and darkening where it is
// darker, at an opacity, then an optional relief pass. Previewed on request
// or live; Cancel takes the preview back; Ok can be repeated. The image
// browser opens it with its picture (ExploreTexture). Depends on the
// overlay picture and preview (OverlayPicture.h), the filter host, the
// texture pass of raster and the convolution of filters.
#pragma once

#include "dialogs/ui/OverlayPicture.h"
#include "ui/DlgMain.h"

#include <memory>

class QGroupBox;
class QLabel;
class QToolButton;
class TSpecialEdit;
class TTrackBar;

// The texture pass at Scale percent and Opacity over R of Dst, then the
// relief kernel at Relief percent when above 0.
void ApplyTextureOverlay(const TBitmap& Texture, TBitmap& Dst, const TRect& R, int Scale, int Opacity, int Relief);

class TTextureForm : public TMainDialogForm {
  Q_OBJECT
public:
  explicit TTextureForm(QWidget* Parent = nullptr);
  ~TTextureForm() override;

  QGroupBox* GroupBox2;
  TSpecialEdit* EdiTexture;
  QLabel* ImgMasque;
  QToolButton* BtnParcourir;
  QToolButton* BtnNegatif;
  QToolButton* BtnRotation;
  TTrackBar* TBOpacite;
  TTrackBar* TBEchelle;
  TTrackBar* TBRelief;
  QCheckBox* CBPreview;
  QPushButton* BApercu;
  QPushButton* BOk;
  QPushButton* BAnnuler;

  TOverlayPicture Texture{TOverlayPicture::pkGrey};
  std::unique_ptr<TOverlayPreview> Previewer;
  // The texture came from the image browser for this opening.
  bool FlagExplorer = false;

  // The browser's picture as the texture, without transformations.
  void ExploreTexture(const QString& NomFic);
  void LoadTexture(const QString& Name, bool KeepTransform);
  void UpdateControls() override;
  void AcceptIniControl(QWidget* Control, bool& Accept) override;
  QString GetIniCustomVar(int Index) override;
  void SetIniCustomVar(int Index, const QString& Value) override;
  void BOkClick();

protected:
  void FormShow() override;
  void FormHide() override;

private:
  void MajBoutons();
  void PictureChanged();
  void Repeat();
};
