// TPrefForm: Tools > "Préférences...", ten pages of settings chosen in a
// drop-down list. Each showing loads the controls from the main window's
// settings and the settings file; Ok copies them into the settings (the main
// window then applies what takes effect at once) and writes them into the
// settings file. The module toolbar, the 8BF folder and mode, the start-up
// switches, the style and the button size only take effect at the next start.
// Depends on the main settings of app/, the dialog base and controls of ui/,
// the folder picker of files/ui; used by the main window
// (MainForm_Preferences.cpp).
#pragma once

#include "app/MainSettings.h"
#include "ui/DialogFormEx.h"

#include <QString>

#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QToolButton;
class QWidget;
class TColorEdit;
class TIniFile;
class TPrevNextButton;
class TRadioGroup;
class TSpecialEdit;
class TSpinEdit2;
class TTrackBar;

// What the dialog needs to know of the running program.
struct TPrefSources {
  QString MainIniFile;
  // The loaded modules: the library's full path and its menu text.
  struct TModule {
    QString FileName;
    QString Caption;
  };
  std::vector<TModule> Modules;
  bool FreeImageLoaded = false;
  bool HostAvailable8bf = false;
  int DefaultButtonHeight = 25;
  int ScreenDpi = 96;
};

class TPrefForm : public TDialogFormEx {
  Q_OBJECT
public:
  TPrefForm(const TPrefSources& Sources, QWidget* Parent = nullptr);

  // The settings the dialog edits, and what the main window does once Ok
  // has copied the values into them (before the file is written). Set
  // before each showing.
  TMainSettings* Settings = nullptr;
  std::function<void()> OnApplied;

  // The image unit / the print unit changed while the dialog was open.
  bool FlagUnitImage = false;
  bool FlagUnitPrn = false;

  // The pages, in the order of the drop-down list.
  enum TPage : int {
    pgFolders,
    pgFile,
    pgHistory,
    pgToolsGrid,
    pgDefaults,
    pgModules,
    pg8bf,
    pgOther,
    pgStartup,
    pgStyle
  };
  static constexpr int PageCount = 10;

  QComboBox* CmbPrefs = nullptr;
  TPrevNextButton *BtnPrev = nullptr, *BtnNext = nullptr;
  QStackedWidget* PageControl = nullptr;
  // Folders
  TSpecialEdit *EdiDirOuvrir = nullptr, *EdiDirEnregistrer = nullptr;
  QToolButton *SBOuvrir = nullptr, *SBEnregistrer = nullptr;
  QLabel* LblDirEnregistrer = nullptr;
  QCheckBox *CBVerrouiller = nullptr, *CBUniqueDir = nullptr;
  // File
  QCheckBox *CB16M = nullptr, *CBExif = nullptr, *CBAutoToneMap = nullptr, *CBSaveAsDefault = nullptr,
            *CBSaveFormat = nullptr;
  QComboBox* CmbFormat = nullptr;
  // History
  TTrackBar* TBHisto = nullptr;
  QLabel* LblHisto = nullptr;
  // Tool palette and grid
  TRadioGroup* RGPosOutils = nullptr;
  QLabel* LblTailleGrille = nullptr;
  TSpinEdit2* SETailleGrille = nullptr;
  TColorEdit* ColorEditGrid = nullptr;
  QComboBox* LstUnitGrid = nullptr;
  // Default values
  QComboBox *LstUnit = nullptr, *LstUnitPrn = nullptr;
  QCheckBox *CBMemDialogParams = nullptr, *CBAutoReset = nullptr;
  QPushButton* BResetDialog = nullptr;
  // Module toolbar
  QListWidget* LstPlgPerso = nullptr;
  // 8BF
  TSpecialEdit* Edi8bfDir = nullptr;
  QToolButton* SB8bfDir = nullptr;
  QRadioButton *RB8bfRGB = nullptr, *RB8bfRGBA = nullptr;
  // Other
  QCheckBox *CBCursorBig = nullptr, *CBLayerBounds = nullptr, *CBZoomMolette = nullptr, *CBDessinAlpha = nullptr,
            *CBAutoSelLayer = nullptr, *CBNumCalque = nullptr, *CBExpandLayer = nullptr;
  // Start-up
  QCheckBox *CBPlugins = nullptr, *CBViderListe = nullptr, *CBSplashScreen = nullptr, *CBRunMulti = nullptr;
  // Style
  QComboBox* CBSkins = nullptr;
  TSpinEdit2* SEButtonSize = nullptr;
  QLabel* LblDPI = nullptr;

  QPushButton *BOk = nullptr, *BAnnuler = nullptr;

  // The controls from the settings and the settings file.
  void FormShow();
  // The values into Settings, OnApplied, then the settings file.
  void SavePreferences();
  void CmbPrefsChange();
  void BtnPrevClick();
  void BtnNextClick();
  void BOkClick();
  void BResetDialogClick();

  // "<Windows>" for the operating system's own look.
  static const QString SystemStyleName;

protected:
  void showEvent(QShowEvent* Event) override;

private:
  QWidget* BuildFolders();
  QWidget* BuildFile();
  QWidget* BuildHistory();
  QWidget* BuildToolsGrid();
  QWidget* BuildDefaults();
  QWidget* BuildModules();
  QWidget* Build8bf();
  QWidget* BuildOther();
  QWidget* BuildStartup();
  QWidget* BuildStyle();
  void FillSkinCombo();
  void FillModuleList();
  void CheckToolbarModules(const QStringList& ToolbarList);
  QStringList ReadToolbarModules(const TIniFile& Ini) const;
  void WriteToolbarModules(TIniFile& Ini) const;
  void ReadStartupSwitches();
  void TBHistoChange();
  void CBUniqueDirClick();
  void CBSaveFormatClick();
  void LstUnitGridChange();
  void CBMemDialogParamsClick();
  // The folder picker on Edit, titled Caption; true when a folder came back.
  bool PickFolder(TSpecialEdit* Edit, const QString& Caption);
  void SBOuvrirClick();
  void SBEnregistrerClick();
  void SB8bfDirClick();

  TPrefSources FSources;
};
