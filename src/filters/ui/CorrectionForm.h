// TCorrectionForm: what the horizon and the perspective dialogs share. On
// the left a thumbnail of the background (ImgGrille) with a slider along
// each edge; on the right the options panel with the result's preview, the
// grid box and colour, Ok and Annuler. Depends on the dialog framework and
// controls of ui/, the raster core, the main window through
// TCorrectionHost; used by THorizonForm and TPerspectiveForm.
//
// Life of the dialog. Show sizes the form after the main window and the
// background, makes the thumbnail, and (for another background than last
// time, or after a cancel) places the sliders afresh; the descendant then
// computes its transformations and the grid and preview are drawn. Every
// slider change redraws the grid picture at once; the preview follows when
// the mouse or a key is released over the sliders or the picture. Ok
// applies the correction to the background as one undoable step, crops it
// and moves the other layers by the crop; a setting that changes nothing
// just closes. The saved settings (section = the form's name) are the check
// boxes and the grid colour, not the sliders.
//
// How to add a correction: derive, build the options (NewOption), and fill
// the virtual operations below.
#pragma once

#include "filters/ui/CorrectionHost.h"
#include "platform/Bitmap.h"
#include "ui/DlgMain.h"

#include <QWidget>

#include <functional>
#include <initializer_list>
#include <vector>

class QCheckBox;
class QLabel;
class QPushButton;
class TColorEdit;
class TMyBevel;
class TMySlider;
class TSimplePanel;
namespace MyImage {
class TMyImage;
}

// A bitmap shown at its own size, telling where the mouse was pressed (in
// its pixels) and when a button or key was released over it.
class TGridPicture : public QWidget {
  Q_OBJECT
public:
  explicit TGridPicture(QWidget* Parent = nullptr);
  TBitmap& Picture() { return FPicture; }
  // The widget takes the picture's size and repaints.
  void PictureChanged();
  std::function<void(int X, int Y)> OnMouseDown;
  std::function<void()> OnRelease;

protected:
  void paintEvent(QPaintEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;
  void keyReleaseEvent(QKeyEvent* Event) override;

private:
  TBitmap FPicture;
};

class TCorrectionForm : public TMainDialogForm {
  Q_OBJECT
public:
  explicit TCorrectionForm(QWidget* Parent = nullptr);

  TSimplePanel* PnlFond = nullptr;
  TGridPicture* ImgGrille = nullptr;
  TMySlider* SliderTop = nullptr;
  TMySlider* SliderBottom = nullptr;
  TMySlider* SliderLeft = nullptr;
  TMySlider* SliderRight = nullptr;
  TSimplePanel* PnlOptions = nullptr;
  TMyBevel* Separator = nullptr;
  MyImage::TMyImage* ImgApercu = nullptr;
  QCheckBox* CBGrille = nullptr;
  QLabel* LblColor = nullptr;
  TColorEdit* ColorEdit = nullptr;
  QPushButton* BOk = nullptr;
  QPushButton* BAnnuler = nullptr;

  // Background size / thumbnail size, by the thumbnail's longer side.
  double Ratio = 1;
  // Slider changes are handled (off while the dialog moves sliders itself).
  bool DoSliderEvent = true;
  TBitmap Thumb;
  std::vector<int> XValues, YValues;
  // The background seen at the last show and its size (nullptr: none, the
  // next show places the sliders afresh).
  const TBitmap* LastImg = nullptr;
  int LastW = 0, LastH = 0;
  int GridSizeX = 0, GridSizeY = 0;
  // Slider positions per thumbnail pixel.
  int SliderUnits = 1;

  void UpdateControls() override;
  void BOkClick();
  // The thumbnail copied into the grid picture, the descendant's lines
  // drawn over it, repainted at once.
  void RedrawGrid();
  // The preview picture redrawn from the descendant's result.
  void ShowPreview();

protected:
  // A check box of the options panel, placed under the previous controls.
  QCheckBox* NewOption(const char* Name, const QString& Caption);
  // Controls laid out top-down under the preview in this order, then the
  // grid colour; called once the options exist.
  void ArrangeOptions(std::initializer_list<QWidget*> Controls);
  // A line on the grid picture in the grid colour: Style 0 solid, 1 dashed.
  void GridLine(double X1, double Y1, double X2, double Y2, uint8_t Style);
  // The four sliders placed along the picture, their maxima SliderUnits x
  // the thumbnail's side - 1.
  void PlaceSliders();
  // A slider's cursors set without running the dialog's change logic.
  void SetSilently(TMySlider* Slider, int Index, int Position);

  // Operations of the descendants.
  // The sliders' cursors for a fresh background (the sliders are placed).
  virtual void ResetSliders() = 0;
  virtual void UpdateTransforms() = 0;
  // The grid positions of the thumbnail's W x H (GridSizeX, GridSizeY set).
  virtual void ComputeGridPositions() = 0;
  // Lines over the thumbnail copy in ImgGrille's picture.
  virtual void DrawGridLines() = 0;
  // The corrected thumbnail for the preview.
  virtual void MakePreview(TBitmap& Preview) = 0;
  // The settings ask for no change: Ok just closes.
  virtual bool Unchanged() = 0;
  // False, after telling the user why, when the correction cannot be made.
  virtual bool CanApply() { return true; }
  // The correction of Background from its unchanged copy Original; returns
  // the part kept, in Original's coordinates.
  virtual TRect ApplyCorrection(TBitmap& Background, const TBitmap& Original) = 0;
  // A slider's cursor moved (only while DoSliderEvent, with it off).
  virtual void SliderChanged(TMySlider* Slider, int Index) = 0;
  // A slider's cursor is about to move to Value, which may be limited.
  virtual void LimitSlider(TMySlider* Slider, int Index, int& Value) = 0;

  void FormShow() override;
  void FormHide() override;

private:
  TMySlider* NewSlider(const char* Name, bool Horizontal, bool TipTowardsEnd);
  void SizeForm(const TBitmap& Bkg);
  void MakeThumbnail(const TBitmap& Bkg);
  int FOptionsBottom = 0;
};
