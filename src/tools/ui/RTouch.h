// TRTouchForm, the retouch dialog: one round area of the current layer,
// whose centre the user clicks on the image, filtered and blended back
// through a soft circular mask (RetouchArea24). Modeless; while it is shown
// the image's clicks come to it and it draws its circle over the view. It
// previews on the undo record the menu command prepared: Ok keeps the
// result, any other close restores the layer exactly. Depends on the
// dialog base and track bars of ui/, the retouch engine of tools/ and the
// main window through TToolDialogHost.
#pragma once

#include "platform/Types.h"
#include "ui/DlgMain.h"

#include <QPointer>

#include <cstdint>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class TCanvas;
class TMyImageLayeredView;
class TTrackBar;

// The saved centre of the retouch as one number, Y x 65536 + X, and back: X
// the low 16 bits taken unsigned, Y the rest with its sign. Text that is no
// number reads as -1 (X 65535, Y -1).
QString EncodeRetouchCenter(TPoint Center);
TPoint DecodeRetouchCenter(const QString& Text);

class TRTouchForm : public TInteractiveForm {
  Q_OBJECT
public:
  explicit TRTouchForm(QWidget* Parent = nullptr);

  QLabel* LblRadius;
  TTrackBar* TBRadius;
  QLabel* LblOpacity;
  TTrackBar* TBOpacity;
  QComboBox* CBFilter;
  QComboBox* CBMode;
  QCheckBox* CBMax;
  QCheckBox* CBPreview;
  QPushButton* BApercu;
  QPushButton* BOk;
  QPushButton* BAnnuler;

  // A parameter or the centre changed since the last application; the
  // current layer holds a previewed result.
  bool Changed = false;
  bool Preview = false;
  // The area's centre in layer coordinates.
  TPoint Center{-1, -1};
  // The blend code of each entry of CBMode.
  std::vector<uint8_t> TagModes;

  void InteractiveClick(int X, int Y) override;
  void UpdateControls() override;
  QString GetIniCustomVar(int Index) override;
  void SetIniCustomVar(int Index, const QString& Value) override;

  // Filter "Aucun" with the first blend mode changes nothing.
  bool NothingToDo() const;
  // The retouch applied to the current layer from the undo copy.
  void ApplyRetouch();
  void ApplyPreview();
  void UpdatePreview();
  void BApercuClick();
  void BOkClick();

protected:
  void FormShow() override;
  void FormHide() override;

private:
  void ParamChanged(bool PreviewNow);
  void CBPreviewClick();
  void UpdateLabels();
  // The blend modes of the palette's menu, once the palette exists.
  void FillModes();
  // The circle and its centre cross drawn in XOR over the view, after every
  // paint of it; and a paint of it now.
  void PaintOverlay(TCanvas& Canvas);
  void RepaintOverlay();
  QPointer<TMyImageLayeredView> FHookedView;
};
