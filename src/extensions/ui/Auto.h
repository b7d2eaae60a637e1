// TAutoForm, Tools > "Automatisation...": the batch dialog. Its pages choose
// the source folder and files, the export folder, format and naming, and the
// optional steps of the pipeline (size, frame, canvas, resolution, tones,
// filters, rotation and flip, the PNG overlay and the text stamp panels);
// the "Action" page sums them up and runs the batch (extensions/BatchRun.h)
// with the dialog hidden. Non-modal; while shown it is the main window's
// dialog form and owns the load/save hook. Its settings are written only by
// "Enregistrer les paramètres" (its place at every close). Depends on the
// batch run, the host interface, the dialog base and controls of ui/, the
// two panels of dialogs/ui, the file dialogs.
#pragma once

#include "extensions/BatchRun.h"
#include "extensions/ui/AutoHost.h"
#include "platform/Bitmap.h"
#include "ui/DlgMain.h"

#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolButton;
class TAnchorBar;
class TColorEdit;
class TCopyrightForm;
class TFloatSpinEdit;
class TSpecialEdit;
class TSpinEdit2;
class TTrackBar;
class TTubeForm;

class TAutoForm : public TMainDialogForm {
  Q_OBJECT
public:
  explicit TAutoForm(TAutoHost& Host, QWidget* Parent = nullptr);
  ~TAutoForm() override;

  QTabWidget* PageControl;
  QWidget *TshFichiers, *TshImage, *TshReglages, *TshFiltres, *TshTransform, *TshTube, *TshCopyright, *TshActions;

  // Files.
  QLabel *LblDirSrc, *LblFormatSrc, *LblDirExport, *LblFormatExport;
  QListWidget* FileListBox;
  TSpecialEdit *EdiDirSrc, *EdiDossierExport;
  QToolButton *SBSrc, *SBExport, *SBFiltre;
  QComboBox *CmbFilter, *CmbExportFormat, *CmbNbCouleurs;
  QCheckBox* CBSelPerso;
  TTrackBar* TrbCompress;
  QLabel *LblQual1, *LblQual2, *LblCompress, *LblNbCouleurs, *LblExemple;
  QCheckBox* ChkSequence;
  QLineEdit* EdiSequence;

  // Image.
  QCheckBox *ChkRedim, *ChkRedimProportions, *ChkRedimOptimiser;
  QLabel *LblLargeurImage, *LblHauteurImage, *LblUniteImage;
  TFloatSpinEdit *SELargeurImage, *SEHauteurImage;
  QComboBox* CmbUnite;
  QCheckBox *ChkCadre, *ChkExterieur;
  QLabel *LblCouleurCadre, *LblLargeurCadre;
  TColorEdit* ColorEditCadre;
  TSpinEdit2* SELargeurCadre;
  QCheckBox *ChkZoneTravail, *ChkOmbre;
  QLabel *LblLargeurZone, *LblHauteurZone, *LblCouleurFond, *LblMotif, *LblPosition;
  TSpinEdit2 *SELargeurZone, *SEHauteurZone, *SELargeurOmbre;
  TColorEdit* ColorEditFond;
  TSpecialEdit* EdiMotif;
  QToolButton *SBMotif, *SBMotif2;
  TAnchorBar* Anchors;
  QCheckBox* ChkDpi;
  TFloatSpinEdit* SEDpi;

  // Adjust.
  TTrackBar *TrbLuminosite, *TrbContraste, *TrbSaturation, *TrbGamma;
  QLabel *LblLuminosite, *LblContraste, *LblSaturation, *LblGamma;
  QComboBox *CmbCoucheLum, *CmbCoucheCtr, *CmbCoucheSat, *CmbCoucheGam;

  // Filters.
  QCheckBox *ChkAdoucir, *ChkFlouInt, *ChkFlou, *ChkContoursNet, *ChkDurcir, *ChkRelief, *ChkNegatif, *ChkBruit,
      *ChkScanlines, *ChkAutoLevels, *ChkAutoCtr, *ChkSepia;
  QCheckBox *ChkFiltre, *ChkInverser;
  TColorEdit* ColorEditFiltre;
  TTrackBar* TrbOpaciteFiltre;
  QLabel* LblOpaciteFiltre;

  // Transformation.
  QCheckBox *ChkRotation, *ChkSymetrie;
  QRadioButton *RdbRotation1, *RdbRotation2, *RdbRotation3, *RdbSymetrie1, *RdbSymetrie2;

  // The panels.
  QCheckBox *ChkTube, *ChkCopyright;
  TTubeForm* TubeForm;
  TCopyrightForm* CopyrightForm;

  // Action.
  QPlainTextEdit* MemRapport;
  QPushButton *BtnAction, *BtnFermer, *BtnParams;

  // A run is active (the main window's view: IsBatchRunning).
  bool EnCours = false;
  // The batch window exists and holds the working bitmap.
  bool FenetreOk = false;
  TBatchFileList Files;

  void UpdateControls() override;
  void AcceptIniControl(QWidget* Control, bool& Accept) override;
  QString GetIniCustomVar(int Index) override;
  void SetIniCustomVar(int Index, const QString& Value) override;

  // The settings of a run, from the controls.
  TBatchSettings BatchSettings() const;
  // The file list from the source folder and the filter's mask.
  void FillFileList();
  // Refreshes Files from the list's entries and selection.
  void SyncFiles();
  void BuildBatchSummary();
  // Ask: the custom filter's input box; otherwise (or an empty answer) the
  // program's open filter.
  void SetupSourceFilter(bool Ask);
  // The custom mask; '' with the standard filter.
  QString CustomMask() const { return FCustomMask; }

  // Event handlers.
  bool PageControlChanging(int NewIndex);
  void CBSelPersoClick();
  void SBSrcClick();
  void SBExportClick();
  void CmbExportFormatChange();
  void EdiSequenceChange();
  void ChkSequenceClick();
  void ChkRedimClick();
  void CmbUniteChange();
  void SizeEditChange(TFloatSpinEdit* Changed);
  void ChkCadreClick();
  void ChkZoneTravailClick();
  void ChkDpiClick();
  void ChkFiltreClick();
  void ChkRotationClick();
  void ChkSymetrieClick();
  void ChkCopyrightClick();
  void ChkTubeClick();
  void TshActionsShow();
  void BtnActionClick();
  void BtnParamsClick();

protected:
  void FormShow() override;
  void FormHide() override;
  bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
  class TRunHost;
  void BuildFilesPage();
  void BuildImagePage();
  void BuildAdjustPage();
  void BuildFiltersPage();
  void BuildTransformPage();
  void BuildPanelPages();
  void BuildActionPage();
  void RefreshValueLabels();
  void SetSizeUnit(bool Percent);

  TAutoHost& FHost;
  // The working bitmap until the first file opens the batch window.
  std::unique_ptr<TBitmap> FOwnBitmap;
  QString FCustomMask;
  // The identical-folders warning was shown since a folder was last chosen.
  bool DejaInforme = false;
  int LDef = 800, HDef = 600;
  int FCurrentPage = 0;
  bool FHookInstalled = false;
};
