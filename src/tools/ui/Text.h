// TTextForm, the text-layer dialog: the user types a text and chooses its
// font and effects; Ok creates a new text layer, or renders the current text
// layer again with the new values (Nouveau decides), and "Transformer en
// sélection" turns the rendered text into a selection instead. Modeless,
// registered as the eyedropper dialog: a colour picked on the image goes to
// the text, shadow or outline colour. Its values are kept in the dialogs
// settings after an Ok that made or edited a layer. Depends on the dialog
// base and controls of ui/, the dialog parts of dialogs/ui, the text-layer
// model of document/ and the main window through TToolDialogHost.
#pragma once

#include "platform/Types.h"
#include "ui/DlgMain.h"

#include <QStringList>

#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolButton;
class TColorEdit;
class TPatternChoice;
class TSpinEdit2;
class TTextData;
class TTrackBar;

// The character map program installed, and its description: the first of
// the known programs found on the search path, described by the name of its
// desktop entry. False, Path empty, when none is installed or it has no
// description.
bool FindCharacterMap(QString& Path, QString& Description);

class TTextForm : public TPipetteForm {
  Q_OBJECT
public:
  explicit TTextForm(QWidget* Parent = nullptr);
  ~TTextForm() override;

  QTabWidget* PageControl;
  QWidget* TshTexte;
  QWidget* TshEffets;
  QPlainTextEdit* Memo;
  QComboBox* CmbPolices;
  TSpinEdit2* SETaille;
  QCheckBox* CBGras;
  QCheckBox* CBItalique;
  QCheckBox* CBSouligne;
  QCheckBox* CBBarre;
  QCheckBox* CBLisser;
  TColorEdit* ColorText;
  QToolButton* SBGauche;
  QToolButton* SBCentre;
  QToolButton* SBDroite;
  TSpinEdit2* SEAngle;
  QLabel* PnlApercu;
  QLabel* LblOpacite;
  TTrackBar* TBOpacite;
  TSpinEdit2* SESpacingX;
  TSpinEdit2* SESpacingY;
  QCheckBox* CBOmbre;
  QLabel* LblDX;
  QLabel* LblDY;
  TSpinEdit2* SEDX;
  TSpinEdit2* SEDY;
  QLabel* LblOmbreColor;
  TColorEdit* ColorOmbre;
  QToolButton* SB1;
  QLabel* LblAlphaShadow;
  TSpinEdit2* SEAlphaShadow;
  QLabel* LblStyle;
  QComboBox* CmbStyle;
  QLabel* LblShadowBlur;
  TSpinEdit2* SEShadowBlur;
  QCheckBox* CBContour;
  QLabel* LblContourColor;
  TColorEdit* ColorContour;
  QToolButton* SB2;
  QCheckBox* CBFlou;
  QRadioButton* RBFlouLeger;
  QRadioButton* RBFlouFort;
  QCheckBox* CB3D;
  QCheckBox* CBInverser;
  // The fill pattern: CBMotif, EdiMotif and SBMotif.
  std::unique_ptr<TPatternChoice> Motif;
  QPushButton* BReset;
  QPushButton* BSel;
  QPushButton* BCharmap;
  QPushButton* BOk;
  QPushButton* BAnnuler;
  QMenu* PopTaille;

  // Set by the opener: create a new layer (else edit the current one), the
  // rectangle a new layer is placed with, and whether the click that opened
  // the dialog from the image must not be taken as a colour.
  bool Nouveau = true;
  TRect OldSel;
  bool IgnoreFirstClick = false;
  // The model edited: the current layer's (while editing).
  TTextData* TextData = nullptr;
  // The text of the last new text layer of this run.
  QStringList SaveLines;
  // Closed through "Transformer en sélection".
  bool Selection = false;
  // The character map program, when one was found.
  QString FCharmap;

  // Controls to model and back (the font type is written, never read).
  void FillTextData(TTextData& Data) const;
  void LoadTextData(const TTextData& Data);

  void ChangerCouleur(TColor Couleur) override;
  void AcceptIniControl(QWidget* Control, bool& Accept) override;
  void UpdateControls() override;

  void BOkClick();
  void BSelClick();
  void BResetClick();
  void BCharmapClick();
  void CmbPolicesChange();
  void SETailleChange();
  void StyleClick();
  void TBOpaciteChange();
  void CBInverserClick();
  void CBContourClick();
  void CBOmbreClick();
  void CmbStyleChange();
  void CBFlouClick();
  void CB3DClick();
  void CBMotifClick();

protected:
  void FormShow() override;
  void FormHide() override;

private:
  void BuildTextPage();
  void BuildEffectsPage();
  // Every control that depends on another follows it (font, size, style,
  // opacity, negative, outline, shadow, blur, bevel, pattern).
  void RunDependentHandlers();
  // The memo's lines without the trailing ones that are blank.
  QStringList MemoLines() const;
};
