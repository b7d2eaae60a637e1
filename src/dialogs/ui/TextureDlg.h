// TTextureForm, Filter > Texture > "Divers...": the texture of a grey
// picture tiled over the work rectangle of the current layer at a scale,
// lightening where it is lighter than middle grey and darkening where it is
// darker, at an opacity, then an optional relief pass. Previewed on request
// or live; Cancel takes the preview back; Ok can be repeated. The image
// browser opens it with its picture (ExploreTexture). Depends on the
// overlay picture and preview (OverlayPicture.h), the filter host, the
// texture pass of raster and the convolution of filters.
#pragma once

#include "dialogs/ui/OverlayForm.h"

class TTrackBar;

// The texture pass at Scale percent and Opacity over R of Dst, then the
// relief kernel at Relief percent when above 0.
void ApplyTextureOverlay(const TBitmap& Texture, TBitmap& Dst, const TRect& R, int Scale, int Opacity, int Relief);

class TTextureForm : public TOverlayForm {
  Q_OBJECT
public:
  explicit TTextureForm(QWidget* Parent = nullptr);

  TTrackBar* TBOpacite;
  TTrackBar* TBEchelle;
  TTrackBar* TBRelief;

  // The browser's picture as the texture, without transformations.
  void ExploreTexture(const QString& NomFic) { ExplorePicture(NomFic); }
  QString GetIniCustomVar(int Index) override;
  void SetIniCustomVar(int Index, const QString& Value) override;

protected:
  void ApplyOverlay(const TRect& R) override;
};
