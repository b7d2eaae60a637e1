// TDetourForm, Edit > Optimised cut-out: the selected part of the current
// layer shown with what the cut-out removes as a checkerboard; tolerance,
// scan directions, the optimised rim and a softening of the edge are tuned
// and previewed, and the object goes with its transparency to the clipboard
// or into a new image. The image itself never changes. Its values (not its
// place) are kept in the dialogs settings after an Ok. Depends on the
// cut-out engine of dialogs/, the host interfaces, the selection masks, the
// clipboard and the zoomable view of document/, the mask filters of raster/
// and filters/, the dialog base and controls of ui/.
#pragma once

#include "platform/Bitmap.h"
#include "platform/Types.h"
#include "ui/DlgMain.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QWidget;
class TMyCustomImage;
class TRadioGroup;
class TTrackBar;

class TDetourForm : public TMainDialogForm {
  Q_OBJECT
public:
  explicit TDetourForm(QWidget* Parent = nullptr);
  ~TDetourForm() override;

  TTrackBar* TBN;
  QLabel* LblN;
  QRadioButton* RBHorz;
  QRadioButton* RBVert;
  QRadioButton* RBAll;
  QCheckBox* CBOptimised;
  TRadioGroup* RGEffet;
  TRadioGroup* RGResultat;
  QPushButton* BApercu;
  QPushButton* BOk;
  QPushButton* BAnnuler;
  QWidget* ImagePanel;
  QWidget* OptionsPanel;
  // The view of the crop (while shown), the checkerboard tile, the work
  // mask of the crop and the result (255 removed).
  TMyCustomImage* MyImage = nullptr;
  TBitmap BkgBrush, Mask, MaskDest;
  // The options changed since the last computation.
  bool Changed = true;
  // The work rectangle of the current layer, set at show.
  TRect WorkRect{};

  void TBNChange();
  void OptionClick();
  void BApercuClick();
  void BOkClick();

protected:
  void FormShow() override;
  void FormHide() override;

private:
  void ReleaseImages();
  void SizeDialog();
  bool PrepareImages();
  void ShowPreview();
  void RestoreView();
  void Compute();
  // The current layer's pixels of the work rectangle.
  void CropLayer(TBitmap& Crop) const;
  void ResultNewImage();
  void ResultClipboard();
};
