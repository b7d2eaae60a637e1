// TSelParamsForm, "Paramétrage manuel...": a rectangle set by numbers, its
// top-left corner typed or one of nine anchors in the image, its size in
// pixels, percent of the image, centimetres or inches (optionally keeping
// its proportions). Flag tells the three uses apart: 0 the selection (with
// its shape and inversion), 1 the current layer (moved, and scaled when its
// size changes), 2 a new blank layer (its colour or full transparency, and
// the stored image-layer options). Only the new layer's group is kept in the
// dialogs settings. Depends on the layer dialogs' host, the size fields and
// anchor bar of dialogs/ui, the layer commands of document/.
#pragma once

#include "dialogs/ui/SizeFields.h"
#include "document/ShapeManager.h"
#include "ui/DlgMain.h"

#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class TAnchorBar;
class TColorEdit;
class TFloatSpinEdit;
class TSpinEdit2;

// The shape list's item of a selection shape; -1 for the shapes that exist
// only while drawing (line, thick line, polyline).
int ShapeItemOf(TMyShape Shape);
// The shape of an item (0..9).
TMyShape ShapeOfItem(int Item);

class TSelParamsForm : public TPipetteForm {
  Q_OBJECT
public:
  explicit TSelParamsForm(QWidget* Parent = nullptr);
  ~TSelParamsForm() override;

  // 0 selection, 1 current layer, 2 new blank layer; set before showing.
  int Flag = 0;

  QGroupBox* GroupBox1;
  QRadioButton* RBPos1;
  QRadioButton* RBPos2;
  QLabel* LblX;
  QLabel* LblY;
  TSpinEdit2* EdiX;
  TSpinEdit2* EdiY;
  TAnchorBar* Anchors;
  QGroupBox* GroupBox2;
  TFloatSpinEdit* EdiL;
  TFloatSpinEdit* EdiH;
  QComboBox* CmbUnit;
  QCheckBox* CBProportions;
  QGroupBox* GroupBox3;
  QComboBox* EdiForme;
  QCheckBox* CBInverser;
  QGroupBox* GroupBox4;
  QLabel* LblColor;
  TColorEdit* ColorEdit;
  QCheckBox* CBTransp;
  QCheckBox* CBOptions;
  QPushButton* BOk;
  QPushButton* BAnnuler;

  // Width / height of the rectangle loaded at opening, and its size.
  double Ratio = 1;
  int OldL = 1, OldH = 1;
  // The shape item that stands for the selection's shape at opening.
  int OldIndex = 0;
  bool PolygonePossible = false;
  bool BitmapPossible = false;

  void UpdateControls() override;
  void AcceptIniControl(QWidget* Control, bool& Accept) override;
  void ChangerCouleur(TColor Couleur) override;
  void BOkClick();

protected:
  void FormShow() override;

private:
  void RBPosClick();
  void EdiLChange();
  void EdiHChange();
  void CBTranspClick();
  void LoadRect(const TRect& R);
  void LoadSelection();
  // The rectangle the fields describe, sizes limited to 1..60000.
  TRect TargetRect() const;
  void ApplySelection(const TRect& T);
  void ApplyLayer(const TRect& T);
  void ApplyNewLayer(const TRect& T);
  std::unique_ptr<TSizeFields> FSize;
};
