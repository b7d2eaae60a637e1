// TOmbreExtForm, Image > Outer shadow: the canvas grows by the shadow's
// width plus a margin on every side, in a colour or a pattern; the shadow is
// painted there flat or with a soft (blurred) outline in one of the four
// diagonal directions, and the picture sits on top; the layers above move
// with it. Edit > Repeat shades again with the dialog's values. Its values
// are kept in the dialogs settings after an Ok. Depends on the host
// interfaces and the pattern choice of dialogs/ui, the blur of filters/, the
// dialog base and controls of ui/.
#pragma once

#include "platform/Types.h"
#include "ui/DlgMain.h"

#include <memory>

class QLabel;
class QPushButton;
class QRadioButton;
class QToolButton;
class TColorEdit;
class TPatternChoice;
class TRadioGroup;
class TSpinEdit2;

// Where the shadow and the picture lie in the canvas for a shadow of width
// N in direction Position (0 top left, 1 bottom left, 2 top right, 3 bottom
// right) and a margin M.
struct TShadowPlaces {
  TPoint Shadow, Picture;
};
TShadowPlaces ShadowPlaces(int Position, int N, int M);

class TOmbreExtForm : public TPipetteForm {
  Q_OBJECT
public:
  explicit TOmbreExtForm(QWidget* Parent = nullptr);
  ~TOmbreExtForm() override;

  TSpinEdit2* SE1; // width N
  TSpinEdit2* SE3; // margin M
  TColorEdit* ColorEdit1; // canvas
  QToolButton* SB1;
  TColorEdit* ColorEdit2; // shadow
  QToolButton* SB2;
  TSpinEdit2* SE2; // opacity
  TRadioGroup* RGPos;
  QRadioButton* RBPlat;
  QRadioButton* RBProgressif;
  QLabel* LblRayon;
  TSpinEdit2* SE4; // blur radius
  std::unique_ptr<TPatternChoice> Pattern;
  QPushButton* BOk;
  QPushButton* BAnnuler;
  // Where the picture was placed at the last run.
  TRect ROffset{};

  void UpdateControls() override;
  void ChangerCouleur(TColor Couleur) override;
  void RBStyleClick();
  void SE1Change();
  void SE4Change();
  void BOkClick();

protected:
  void FormShow() override;

private:
  void PaintShadow(int X, int Y, int W, int H);
  void ApplyShadow(QObject* Sender);
};
