// The parts the size dialogs share: the group of width and height fields
// with their unit list (MakeSizeGroup, TSizeFields), the resolution with its
// unit (TResolutionFields), the read-only group showing the resulting size
// in pixels and its memory (TSizeDisplay), and the pattern file choice of a
// new background (TPatternChoice). Depends on the size rules of dialogs/,
// the spin edits and special edit of ui/, QtWidgets.
#pragma once

#include "dialogs/SizeUnits.h"

#include <QString>

#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QGroupBox;
class QLineEdit;
class QToolButton;
class QWidget;
class TFloatSpinEdit;
class TSpecialEdit;

// " Nouvelle taille ": "Largeur :" EdiL, "Hauteur :" EdiH (0..60000, seven
// characters) and CmbUnit listing Units.
struct TSizeGroup {
  QGroupBox* Group;
  QFormLayout* Form;
  TFloatSpinEdit* EdiL;
  TFloatSpinEdit* EdiH;
  QComboBox* CmbUnit;
};
TSizeGroup MakeSizeGroup(QWidget* Parent, const char* GroupName, const std::vector<TSizeUnit>& Units);

// "Résolution :" EdiRes (10..20000) and CmbRes ("pixels/pouces",
// "pixels/cm"), added to Form. Switching the unit converts the shown value;
// the resolution stays.
class TResolutionFields {
public:
  TResolutionFields(QWidget* Parent, QFormLayout& Form);
  TFloatSpinEdit* EdiRes;
  QComboBox* CmbRes;
  // Pixels per inch.
  double Ppi() const;
  // Shown in the list's unit.
  void SetPpi(double Ppi);
  // Pixels per inch chosen without converting anything.
  void SetPpiUnitSilently();
};

// The unit the setting ImageUnit names: 0 pixels, 1 centimetres, 2 inches.
TSizeUnit ImageUnitOf(int Setting);

// EdiL and EdiH shown in the unit CmbUnit chooses. The dialog's own settings
// of the fields are silent (no change handler runs) and go through the
// field's format, so the shown precision is the one that counts.
class TSizeFields {
public:
  // Units: the unit of each entry of the unit list, in its order.
  TSizeFields(TFloatSpinEdit* EdiL, TFloatSpinEdit* EdiH, QComboBox* CmbUnit, std::vector<TSizeUnit> Units,
              std::function<double()> Resolution);
  // The present size (percent is of it).
  int L = 1, H = 1;
  // The unit the fields show now (it lags the list until UnitChange).
  int IndexUnit = 0;
  TSizeUnit Unit() const { return FUnits[std::size_t(IndexUnit)]; }

  int GetNewWidth() const;
  int GetNewHeight() const;
  void SetNewWidth(int Pixels);
  void SetNewHeight(int Pixels);
  // Both formats from IndexUnit.
  void SetFormats();
  // The list's new unit: both sizes read in the old unit, shown again in the
  // new one, so the pixel size survives.
  void UnitChange();
  // Both fields hold text.
  bool Filled() const;
  // The list set silently to Unit; IndexUnit follows, formats set, the
  // fields' values left as they are.
  void SelectUnit(TSizeUnit Unit);
  // The list set silently to Unit, then UnitChange.
  void SwitchTo(TSizeUnit Unit);

private:
  TFloatSpinEdit* FEdiL;
  TFloatSpinEdit* FEdiH;
  QComboBox* FCmbUnit;
  std::vector<TSizeUnit> FUnits;
  std::function<double()> FResolution;
};

// The disabled group of read-only fields: width and height in pixels and
// the memory of that size.
class TSizeDisplay {
public:
  // Title: the group's caption; the group is named so that its fields are
  // not kept in the settings.
  TSizeDisplay(QWidget* Parent, const QString& Title);
  QGroupBox* Group;
  QLineEdit* EdiLargeur;
  QLineEdit* EdiHauteur;
  QLineEdit* EdiMem;
  void Show(int W, int H);
  void SetMem(int W, int H);
};

// "Motif de fond :" with the file field and its open button. Clicking the
// box with no file asks for one and unchecks itself when none is chosen;
// the field and button are enabled exactly when the box is enabled and
// checked.
class TPatternChoice {
public:
  TPatternChoice(QWidget* Parent, const QString& Caption);
  QCheckBox* CBMotif;
  TSpecialEdit* EdiMotif;
  QToolButton* SBMotif;
  // The chooser; without one the box cannot be ticked with an empty field.
  std::function<QString()> Select;
  void CBMotifClick();
  void SBMotifClick();
  void UpdateEnabled();
  // Ticked, enabled and naming a file.
  bool Wanted() const;
};
