// TOpCalqueForm, Layer > "Options...": the current layer's opacity and, by
// its type, its drop shadow, its adjustment values or its colour, each change
// written into the layer at once; Cancel puts every property back. Shown in
// "new" mode right after a colour or adjustment layer was made, Cancel then
// deletes that layer. It is also the store of the new-layer defaults: the
// values last confirmed with Ok stay in its section of the dialogs settings
// file and LoadIniBmp / LoadIniColor / LoadIniAdjust hand them out without
// showing the dialog. Depends on the layer dialogs' host, the layer model of
// document/, the dialog base and controls of ui/.
#pragma once

#include "document/MyGraphic.h"
#include "ui/DlgMain.h"

#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QStackedWidget;
class TColorEdit;
class TSpinEdit2;
class TTrackBar;

struct TIniBmpInfo {
  TOpacityRange Opacity = 100;
  TLayerShadowInfos Shadow;
};
struct TIniColorInfo {
  TOpacityRange Opacity = 50;
  TColor Color = 0xFFFFFF;
  bool Invert = false;
};
struct TIniAdjustInfo {
  TOpacityRange Opacity = 100;
  TAdjustLayerInfos Adjust;
};

class TOpCalqueForm : public TMainDialogForm {
  Q_OBJECT
public:
  explicit TOpCalqueForm(QWidget* Parent = nullptr);
  ~TOpCalqueForm() override;

  QLabel* LblOpacite;
  TTrackBar* TBOpacite;
  QStackedWidget* PageControl;
  QWidget* TshStd;
  QWidget* TshAdjust;
  QWidget* TshColor;
  QCheckBox* CBOmbre;
  TSpinEdit2* EdiDX;
  TSpinEdit2* EdiDY;
  TColorEdit* ColorEditOmbre;
  QLabel* LblOpaciteShadow;
  TTrackBar* TBOpaciteShadow;
  QComboBox* CmbStyle;
  QLabel* LblShadowRadius;
  TSpinEdit2* SEShadowBlur;
  TTrackBar* TBLuminosite;
  TTrackBar* TBContraste;
  TTrackBar* TBSaturation;
  TTrackBar* TBHue;
  TTrackBar* TBGamma;
  TColorEdit* ColorEdit;
  QCheckBox* CBInverser;
  QPushButton* BOk;
  QPushButton* BAnnuler;
  QPushButton* BReset;

  // The last opacity applied to a layer of each kind (kept as "$Var0..2").
  int BmpOpacity = 100;
  int ColorOpacity = 50;
  int AdjustOpacity = 100;
  // Set by the caller: the dialog follows the creation of a new layer.
  bool Nouveau = false;

  // The stored defaults of new layers (the form need not be shown).
  void LoadIniBmp(TIniBmpInfo& Info);
  void LoadIniColor(TIniColorInfo& Info);
  void LoadIniAdjust(TIniAdjustInfo& Info);

  void UpdateControls() override;
  void AcceptIniControl(QWidget* Control, bool& Accept) override;
  QString GetIniCustomVar(int Index) override;
  void SetIniCustomVar(int Index, const QString& Value) override;
  void BOkClick();
  void BResetClick();

protected:
  void FormShow() override;
  void FormHide() override;

private:
  // The controls' values written into the current layer, then a repaint.
  void Apply();
  void CBOmbreClick();
  void CmbStyleChange();
  // The stored control values and opacities read back, without events.
  void ReloadStoredValues();
  // The shadow's and the adjustment's fields from the controls; the
  // reserved fields stay as they were.
  void ShadowFromControls(TLayerShadowInfos& S) const;
  void AdjustFromControls(TAdjustLayerInfos& A) const;
  // The current layer's properties when the dialog opened.
  std::unique_ptr<TLayerItem> Properties;
  // The undo record of this opening was made for it (not merged).
  bool FOwnRecord = false;
};
