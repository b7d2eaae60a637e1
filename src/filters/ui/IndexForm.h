// Image > Mode > Indexed colours: the background reduced to an optimised
// palette of 8 to 256 colours (dithered or not) or to a system palette
// (black and white, dithered black and white, 4, 16 or 256 greys, the 20
// Windows colours, the 216 web colours), previewed on the image; Ok sets the
// image's colour count. Depends on the colour reduction of files/, the point
// filters, TColorPreviewForm.
#pragma once

#include "filters/ui/ColorPreviewForm.h"

class QTabWidget;
class TRadioGroup;

// Pages of the dialog.
enum TIndexPage : int { ipOptimized = 0, ipSystem = 1 };

// The colour count each choice gives the image.
int IndexColorCount(int Page, int Item);
// The reduction of one choice over the whole bitmap. An optimised palette
// leaves an image alone when it has at most that many colours already
// (ImageColors, the image's colour count).
void IndexColors24(TBitmap& Bitmap, int Page, int Item, bool Diffusion, int ImageColors);

class TIndexForm : public TColorPreviewForm {
  Q_OBJECT
public:
  explicit TIndexForm(QWidget* Parent = nullptr);
  QTabWidget* PageControl = nullptr;
  TRadioGroup* RGManuel = nullptr;
  QCheckBox* CBDiffusion = nullptr;
  TRadioGroup* RGAuto = nullptr;
  void AcceptIniControl(QWidget* Control, bool& Accept) override;

protected:
  void ApplyOperation() override;
  void OkSteps() override;
};
