// Filter > Distortion > Curve (also Image > Transformation > Curve and Layer >
// Transformation > Curve): the layer deformed along a curve drawn over a
// thumbnail of the work area. Along a horizontal axis every column moves up
// or down by the curve's height there, along a vertical axis every row
// moves left or right. In filter mode the result stays inside the work
// rect; in layer mode the layer grows so that nothing is cut, and stays
// centred. The curve is an open path of 3 to 7 vertices with automatic
// Bezier or straight segments, saved to and loaded from .lmd files.
// Depends on the dialog framework, the path editor overlay, the curve files
// and samples, the deformation of filters, and the main window through
// TFilterHost and TDeformHost.
#pragma once

#include "filters/DeformCurve24.h"
#include "filters/ui/CurveDialogs.h"
#include "filters/ui/CurveFiles.h"
#include "tools/ui/PathOverlay.h"
#include "ui/DlgMain.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QToolButton;
class TColorEdit;
class TMyImage;
namespace MyImage {
class TMyImage;
}

// What the deformation needs of the main window beyond TFilterHost.
class TDeformHost {
public:
  virtual ~TDeformHost() = default;
  virtual bool HasAlpha() const = 0;
  // The copies the undo preparation took, read as the deformation's source.
  virtual TBitmap& BmpUndo() = 0;
  virtual TBitmap& MaskUndo() = 0;
  // The undo record of the deformation, titled Titre: in layer mode the
  // whole background or layer, copied into BmpUndo and MaskUndo; otherwise
  // the filter kind with the mask, marked as one Fade cannot weaken.
  virtual void PrepareDeformUndo(bool LayerMode, const QString& Titre) = 0;
  // The layer grew by 2 DX x 2 DY (about): a layer moves by (-DX, -DY); on
  // the background every other layer moves by (DX, DY) and the image's size
  // changed.
  virtual void LayerGrown(int DX, int DY) = 0;
  // The main window's client size, for the dialog's own.
  virtual QSize MainClientSize() const = 0;
};
TDeformHost* DeformHost();
void SetDeformHost(TDeformHost* Host);

class TDefCurveForm : public TMainDialogForm {
  Q_OBJECT
public:
  explicit TDefCurveForm(QWidget* Parent = nullptr);
  ~TDefCurveForm() override;

  // Grow the layer instead of staying inside the work rect; set by the
  // opening command.
  bool LayerMode = false;

  QWidget* PnlFond = nullptr;
  QWidget* PnlOptions = nullptr;
  MyImage::TMyImage* ImgApercu = nullptr;
  TMyImage* ImgThumb = nullptr;
  TPathOverlay* Path = nullptr;
  QCheckBox* CBGrille = nullptr;
  QLabel* LblColor = nullptr;
  TColorEdit* CEGrille = nullptr;
  QRadioButton* RBHorz = nullptr;
  QRadioButton* RBVert = nullptr;
  QLabel* lblFond = nullptr;
  TColorEdit* CEFond = nullptr;
  TCurveButtons Buttons;
  QPushButton* BOk = nullptr;
  QPushButton* BAnnuler = nullptr;

  const QString& FichierCourbe() const { return FFichierCourbe; }
  bool FlagChanged() const { return FFlagChanged; }
  // The thumbnail's bitmap, the curve's space.
  TBitmap& ThumbBitmap();
  TColor DeformBackColor() const;

  void UpdateControls() override;
  QString GetIniCustomVar(int Index) override;
  void SetIniCustomVar(int Index, const QString& Value) override;

  // The curve as the path holds it, on the thumbnail.
  TDeformCurve Curve() const;
  // Src deformed into Dest over Rect (clipped to Src) by the curve, smoothed
  // for the final result.
  void DeformLayerBitmap(TBitmap& Src, TBitmap& Dest, const TRect& Rect, TColor BackColor, TAntialiasMode Mode);
  void PreviewDeformation();
  void ResetDeformPath();
  bool SaveDeformFile(const QString& FileName);
  // The curve is replaced only when the whole file could be read.
  bool LoadDeformFile(const QString& FileName);

  // Handlers.
  void SBClick(QToolButton* Button);
  void RBClick();
  void BOkClick();

protected:
  void FormShow() override;
  void FormHide() override;

private:
  void SizeDefCurveDialog();
  void MakeDeformThumb();
  void UpdateDeformGrid();
  void DefaultDeformCurve();
  void AutoControlPoints();
  void SetBezierModeQuiet(bool Value);
  void DeformThumb(TBitmap& Bitmap);
  void ApplyDeformation();
  void UpdateDeformTitle();
  void CurveEdited();
  void DeformPathUpdating(TSelOption Option);
  void DeformPathChangeInfo(TPathChangeInfo Info, int Index, int& X, int& Y, int Data, bool& Accept);
  bool Horizontal() const;

  int ThumbMarge = 8;
  int MinHeight = 0;
  QString FFichierCourbe;
  bool FFlagChanged = false;
  bool FQuiet = false;
};
