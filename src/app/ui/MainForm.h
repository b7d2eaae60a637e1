// TMainForm, the program's one top-level window: a frame with the menus, the
// toolbars, the zoom edit, the status bar and the area of the image windows.
// Depends on the settings, command line, layout and menu table of app/, the
// dialog framework and controls of ui/, the progress service of raster;
// reached from below through TDialogServices and TProgressSink.
//
// The handlers are split by menu, one source file each (MainForm_File.cpp,
// MainForm_View.cpp, MainForm_Window.cpp); this header is sectioned the same
// way. A menu item or button whose command is not built yet stays in the
// menus, disabled.
#pragma once

#include "app/MainSettings.h"
#include "app/ui/ProgramMain.h"
#include "raster/FilterEvent.h"
#include "ui/DialogServices.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <functional>

class QAction;
class QMdiArea;
class QMenu;
class QMimeData;
class QToolBar;
class TMainStatusBar;
class TSimplePanel;
class TSpecialEdit;

class TMainForm : public QMainWindow, public TDialogServices, public TProgressSink {
  Q_OBJECT
public:
  // FormCreate: builds the frame, reads the settings and applies them.
  explicit TMainForm(const TStartupState& State);
  // FormDestroy: writes the settings.
  ~TMainForm() override;

  // ---- Frame ----
  QAction* MenuItem(const QString& Name) const { return FItems.value(Name); }
  // A top menu, a submenu or a popup menu by its name.
  QMenu* MenuNamed(const QString& Name) const { return FMenus.value(Name); }
  QToolBar* ToolBar(int Number) const; // 1 to 4
  TMainStatusBar* StatusBar() const { return FStatusBar; }
  QMdiArea* MdiArea() const { return FMdiArea; }
  TSimplePanel* PnlOutils() const { return FPnlOutils; }
  TSpecialEdit* EdiZoom() const { return FEdiZoom; }
  const TMainSettings& Settings() const { return FSettings; }
  int ToolBarHeight() const { return FToolBarHeight; }

  // Runs the layout of the frame's panels on the client area.
  void LayoutFrame();
  // Panel 0: the ready text or a text ending with '%' as it is, any other
  // text as a running action ("Flou..."); repaints at once.
  void SetStatusText(const QString& Text);
  // The progress routine of the progress service, installed at first paint.
  void StatusProgress(uint8_t Stage, int Value);
  // The files of the command line still to open, and the routine that opens
  // one (the open command installs it; until then the files wait).
  const QStringList& PendingFiles() const { return FPendingFiles; }
  void SetOpenFileHook(std::function<void(const QString&)> Hook);
  // Files dropped on the window: local files open like those of the
  // command line, their names kept whole however long.
  void WMFilesDropped(const QMimeData* Data);
  // Whether the menus take a short-cut now (no dialog open).
  bool CheckActionKey() const;
  int DialogueEnCours = 0;

  // TProgressSink
  void ProgressCallback(uint8_t Stage, int Value, int Tag) override;
  void HandlePendingMessages() override;
  // TDialogServices
  void SetModalForm(QWidget* Form) override { FModalForm = Form; }
  void SetDialogueForm(QWidget* Form) override { FDialogueForm = Form; }
  void SetPipetteForm(QWidget* Form) override { FPipetteForm = Form; }
  QWidget* PipetteForm() const override { return FPipetteForm; }
  QWidget* DialogueForm() const override { return FDialogueForm; }
  void UpdateActiveImage() override;

  // ---- File menu (MainForm_File.cpp) ----
  void MenuFichierFermerClick();
  void MenuFichierFermerToutClick();
  void MenuFichierQuiterClick();
  // The recent-files submenu rebuilt from the list.
  void UpdateRecentFilesMenu();
  // Puts FileName first in the recent files (at most 12).
  void AddRecentFile(const QString& FileName);

  // ---- View menu (MainForm_View.cpp) ----
  void MenuAffichageBarreFiltresClick();
  void MenuAffichageMaximiserClick();
  void MenuCadreOmbreClick();
  void MenuAfficherLisserClick();
  void MenuAffichageMiniatureClick(int Index);

  // ---- Window menu (MainForm_Window.cpp) ----
  void MenuFenetreCascadeClick();
  void MenuFenetreMosaiqueHClick();
  void MenuFenetreMosaiqueVClick();
  void MenuFenetreReduireClick();
  void MenuFenetreRestaureClick();
  // The image windows listed at the end of the window menu.
  void UpdateWindowMenu();

protected:
  void closeEvent(QCloseEvent* Event) override;
  void dragEnterEvent(QDragEnterEvent* Event) override;
  void dropEvent(QDropEvent* Event) override;
  bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
  // Frame construction (MainForm.cpp).
  void BuildMenus();
  void BuildPopupMenus();
  void BuildZoomPopup();
  void BuildToolBars();
  void SizeToolBars();
  void PlaceZoomEdit();
  void ConnectCommands();
  void ApplySettings();
  void FormPaint();
  void UpdateClipboardButtons();
  void Connect(const char* Name, std::function<void()> Handler);
  void StoreWindowState();
  void OpenFiles(const QStringList& Files);

  TStartupState FState;
  TMainSettings FSettings;
  TSettingsEnvironment FEnv;
  QHash<QString, QAction*> FItems;
  QHash<QString, QMenu*> FMenus;
  QWidget* FClient = nullptr;
  QWidget* FTopSeparator = nullptr;
  TSimplePanel* FPnlOutils = nullptr;
  TSimplePanel* FPnlPlugins = nullptr;
  QToolBar* FToolBars[4] = {};
  TSpecialEdit* FEdiZoom = nullptr;
  QMdiArea* FMdiArea = nullptr;
  TMainStatusBar* FStatusBar = nullptr;
  int FToolBarHeight = 28;
  bool FPainted = false;
  bool FFlagPlugins = false;
  bool FClipboardHasImage = false;
  QString FSavedStatus;
  QString FProgressFormat;
  QStringList FPendingFiles;
  std::function<void(const QString&)> FOpenFileHook;
  QPointer<QWidget> FModalForm, FDialogueForm, FPipetteForm;
};
