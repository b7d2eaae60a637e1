// TRecadrerForm, Image > Canvas size: the working area's new size, typed in
// pixels, percent, centimetres or inches; the old picture placed at one of
// nine anchors, the added area filled with a colour (picked on the image
// too) or a pattern, transparent where the background has a mask; the other
// layers keep their place on the old picture. A smaller size crops. Only
// the window's place is kept in the dialogs settings. Depends on the size
// parts and anchor control of dialogs/ui, the host interface, the dialog
// base and controls of ui/.
#pragma once

#include "dialogs/ui/SizeFields.h"
#include "platform/Bitmap.h"
#include "platform/Types.h"
#include "ui/DlgMain.h"

#include <memory>

class QComboBox;
class QPushButton;
class TAnchorBar;
class TColorEdit;

class TRecadrerForm : public TPipetteForm {
  Q_OBJECT
public:
  explicit TRecadrerForm(QWidget* Parent = nullptr);
  ~TRecadrerForm() override;

  TFloatSpinEdit* EdiL;
  TFloatSpinEdit* EdiH;
  QComboBox* CmbUnit;
  TAnchorBar* ToolBar;
  TColorEdit* ColorEdit;
  std::unique_ptr<TPatternChoice> Pattern;
  std::unique_ptr<TSizeDisplay> Display;
  QPushButton* BOk;
  QPushButton* BAnnuler;
  std::unique_ptr<TSizeFields> Fields;
  int NewL = 0, NewH = 0;
  // Where the old picture went in the new canvas, set at Ok.
  TRect RPos{};

  void ChangerCouleur(TColor Couleur) override;
  void BOkClick();

protected:
  void FormShow() override;

private:
  void SizeEdited();
  // The background made NewWidth x NewHeight from the undo copy, the added
  // area of the colour, or of the pattern when one is given.
  void ResizeBackground(int NewWidth, int NewHeight, const TBitmap* Motif, const TBitmap* MotifMask);
};
