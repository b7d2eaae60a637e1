// TMainForm, the program's one top-level window: a frame with the menus, the
// toolbars, the zoom edit, the status bar and the area of the image windows.
// Depends on the settings, command line, layout and menu table of app/, the
// dialog framework and controls of ui/, the progress service of raster, the
// image windows of document/ui and the load and save dispatch of files/;
// reached from below through TDialogServices, TProgressSink,
// TImageWindowHost and TSaveOptionsHost.
//
// The action services every command uses are in MainForm_Actions.cpp; the
// state of menus and buttons in MainForm_MenuState.cpp; the layer hooks in
// MainForm_Layers.cpp; the handlers are split by menu (MainForm_File.cpp,
// with MainForm_Open.cpp and MainForm_Save.cpp for the ways images come and
// go, MainForm_View.cpp with the zoom, MainForm_Window.cpp); this header is
// sectioned the same way. A menu item
// or button whose command is not built yet stays in the menus, disabled.
#pragma once

#include "app/MainSettings.h"
#include "app/MenuState.h"
#include "app/ModifInfo.h"
#include "app/StartupServices.h"
#include "app/ui/ProgramMain.h"
#include "app/ui/ToolHooks.h"
#include "document/ImageWindowHost.h"
#include "document/Calque.h"
#include "document/SelMask.h"
#include "extensions/ModuleLibrary.h"
#include "document/ui/ImgForm.h"
#include "files/BmpOE2.h"
#include "files/ui/SaveOptions.h"
#include "raster/FilterEvent.h"
#include "ui/DialogServices.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>

class QAction;
class QDialog;
class QKeyEvent;
class QMdiArea;
class QMenu;
class QMimeData;
class QToolBar;
class TMainStatusBar;
class TSimplePanel;
class TSpecialEdit;
class TMainPalette;
class TOutilsForm;
class TPeForm;
class TFullScreenHost;
class TModuleHost;
class TDeformControl;
class TPathOverlay;
class TStrokeTools;
class TExplorForm;
class TMainExplorer;
struct TFrameLayoutInput;

class TMainForm : public QMainWindow,
                  public TDialogServices,
                  public TProgressSink,
                  public TImageWindowHost,
                  public TSaveOptionsHost {
  Q_OBJECT
public:
  // FormCreate: builds the frame, reads the settings and applies them.
  explicit TMainForm(const TStartupState& State);
  // FormDestroy: writes the settings.
  ~TMainForm() override;

  // ---- Frame ----
  QAction* MenuItem(const QString& Name) const { return FItems.value(Name); }
  // The caption of the item Name without its accelerator and "...", as undo
  // steps and Edit > Repeat show it; empty when there is no such item.
  QString TitreMenu(const QString& ItemName) const;
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
  // While a modal form is registered the frame (menus, toolbars, image
  // windows) is disabled and the form counts as an open dialog.
  void SetModalForm(QWidget* Form) override;
  // While a dialogue form is registered, every image window but the active
  // one and every layers panel is disabled.
  void SetDialogueForm(QWidget* Form) override;
  void SetPipetteForm(QWidget* Form) override;
  QWidget* PipetteForm() const override { return FPipetteForm; }
  QWidget* DialogueForm() const override { return FDialogueForm; }
  void UpdateActiveImage() override;

  // ---- Action services (MainForm_Actions.cpp) ----
  // The active image window and its parts; the image services below require
  // one (test UneImage first).
  TNewImgForm* EnfantActif() const { return ActiveImageWindow(); }
  bool UneImage() const { return EnfantActif() != nullptr; }
  TMyImageLayered& Image() const;
  TBitmap& LeBitmap() const;
  TBitmap& LeMasque() const;
  TBitmap& LeFond() const;
  TLayerNavigator* LayerNav() const;
  TUndoList& ListeUndo() const;
  TSelectionControl* Sel() const { return EnfantActif()->Sel.get(); }
  // The work rectangle of pixel commands, in the current layer's
  // coordinates, not clipped: the visible selection's rectangle, the whole
  // image for an inverted one, else the current layer's bounds.
  TRect LaSelection() const;
  bool Mode16M() const;
  bool ModeRGBA(bool CheckBkgVisible) const;
  bool HasAlpha() const;
  bool DessinerSurAlpha() const;
  // '' without an image; setting it also captions the window.
  QString NomFichier() const;
  void SetNomFichier(const QString& Value);
  bool UneSelection() const;
  void SetUneSelection(bool Value);
  int NbCouleurs() const;
  void SetNbCouleurs(int Value);
  // Above 0 while a layer distortion (1) or the vector path (2) is edited.
  int VerticesMode = 0;
  // Copies of the current layer's bitmap and mask taken when the undo step
  // of the command under way was prepared; emptied when the layer changes.
  TBitmap BmpUndo, MaskUndo;

  // The bracket of every command: may it run now (a beep or a warning when
  // not), and its begin (status text, hourglass) and end (progress reset,
  // ready text, cursor).
  bool ActionPossible(const QObject* Sender);
  // The sender of the command Item runs: the toolbar button clicked, else
  // Item itself.
  QObject* CommandSender(QAction* Item) const;
  bool DisableMenu() const;
  void DebutAction(const QString& Msg, bool ChangerCurseur);
  void FinAction();
  void DebutDialogueEx();
  void FinDialogueEx();

  // Image windows. NouvelleImage takes Source's layers, else Bitmap becomes
  // the background; an empty FileName gets a generated title.
  TNewImgForm* NouvelleImage(TMyImageLayered* Source, const TBitmap* Bitmap, const QString& FileName,
                             TImageSourceType SourceType, int NbCol);
  // The active window reloaded in place from Img (whose layers it takes).
  void RetablirImage(TMyImageLayered& Img, const QString& FileName, int NbCol);
  // Closes Window unless its save question is cancelled (Force: no
  // question); true when it closed.
  bool FermerImage(TNewImgForm* Window, bool Force);
  void RefreshBitmap();
  void TailleChangee();

  // The text of the active image's information box: name, folder,
  // dimensions, colours, file size and date, memory with and without the
  // undo history.
  QString DocumentInfoText() const;

  // Status information.
  void AfficherInfos() override;
  void AfficherInfosSelection(const TRect& R);

  // Recent files: most recent first, at most MaxRecentFiles, names compared
  // as the file system does, with regard to case.
  const QStringList& ListeFichiers() const { return FSettings.ListeFichiers; }
  void AjouterListeFichiers(const QString& FileName);
  void SupprimerListeFichiers(const QString& FileName);
  void RenommerListeFichiers(const QString& FileName, const QString& NewName);

  // ---- Layer hooks (MainForm_Layers.cpp) ----
  // The two layer hooks of every image: the caption shown for a stored one,
  // and the data object a text layer read from a file needs.
  void ImageGetLayerCaption(const TLayerItem& Item, QString& S);
  void ImageNeedLayerData(TLayerItem& Item);

  // ---- Layer commands (MainForm_LayerCommands.cpp, MainForm_LayerMask.cpp) ----
  // The layers panel's popup menu opening: the layer tool, then its rules.
  void PopCalquePopup();
  // Item 1 "Mettre en premier plan", 2 "Monter", 3 "Descendre", 4 "Mettre en
  // arrière plan"; the panel's move records the undo step.
  void MenuCalqueOrdreClick(int Item);
  void MenuCalqueDupliquerClick(QAction* Item);
  void MenuCalqueSupprimerClick(QAction* Item);
  void MenuCalqueTxtToCalqueClick(QAction* Item);
  void MenuCalqueRenommerClick(QAction* Item);
  void MenuCalqueCentreClick(TPosition Anchor);
  // Tag 1 flip top-bottom, 2 mirror left-right, 3 quarter turn clockwise, 4
  // anticlockwise, 5 half turn, of the current layer.
  void MenuCalqueTransform1Click(QAction* Item);
  void MenuCalqueMasquerToutClick(QAction* Item, bool Show);
  void MenuCalqueFusionOmbreClick(QAction* Item);
  void MenuCalqueFusionPrevClick(QAction* Item);
  void MenuCalqueFusionAllClick(QAction* Item, bool VisibleOnly);
  void PopCalqueVisibleClick();
  void PopCalqueVerrouClick();
  // A new background under the stack, white and transparent.
  void MenuCalqueFondClick(QAction* Item);
  // NomFichier as a new layer centred in the view; an empty name asks for
  // the file, starting in DirDefaut.
  void OuvrirCalque(QString NomFichier, const QString& DirDefaut);
  // The current layer's mask: its edge smoothed, optimised, blurred or torn
  // (Sender one of the four items); radial transparency in the selection;
  // cropped to its opaque part; made opaque; opened as an image.
  void MenuCalqueEffetBordClick(QObject* Sender);
  void MenuCalqueDegradeRadialClick(bool Inverse);
  void MenuCalqueCropTransClick(QAction* Item);
  void MenuCalqueDelTransClick(QAction* Item);
  void MenuCalqueEditAlphaClick();
  // The selection popup's commands that first copy the selection into a new
  // layer (SelectionToLayerStep: its creation is the step, titled by Item;
  // false when the command may not run or nothing is selected): "Dupliquer"
  // keeps it; "Distorsion" and "Transformation paramétrée..." then transform
  // it, and it goes again with its step when they are cancelled.
  bool SelectionToLayerStep(QAction* Item);
  void PopSelDupliquerClick(QAction* Item);
  void PopSelDistorsionClick(QAction* Item);
  // At the end of such a transformation (nothing unless
  // FlagTransformNewLayer): the creation step takes the transformed layer,
  // or undoes the layer's creation.
  void KeepTransformNewLayer(TLayerItem& Layer);
  void DropTransformNewLayer();

  // ---- Menu and toolbar state (MainForm_MenuState.cpp) ----
  // After every command and change of window.
  void MajUndoRedo();
  void UpdateToolButtons();
  // The state of the File menu's items (also when the menu opens).
  void MenuFichierClick();
  // The image windows listed at the end of the window menu, and the window
  // commands' state.
  void UpdateWindowMenu();

  // TImageWindowHost
  bool CadreOmbre() const override { return FSettings.CadreOmbre; }
  int TailleGrille() const override { return FSettings.TailleGrille; }
  TColor CouleurGrille() const override { return FSettings.CouleurGrille; }
  int UniteGrille() const override { return FSettings.UniteGrille; }
  int NbHistoriques() const override { return FSettings.NbHistoriques; }
  bool SelCalqueAuto() const override { return FSettings.SelCalqueAuto; }
  bool LimitesCalqueActif() const override { return FSettings.LimitesCalqueActif; }
  bool NumCalque() const override { return FSettings.NumCalque; }
  bool Smoothing() const override { return FSettings.Antialias; }
  int LayerNavSize() const override;
  bool Enregistrer(const QString& FileName, const QString& Suggestion, bool Remember, bool CheckLoss) override;
  bool ConfirmFormatLoss(const QString& FileName) override;
  void ChangerPosition(TPoint P) override;
  void InitPosition() override;
  void MajMenus() override;
  void AfficherInfosCalque() override;
  void PrepareLayerPosUndo(TPoint OldPos) override;
  void PrepareLayerIndexUndo(int Index) override;
  // The merged steps of the layer options ("Calque > Options"), a text
  // layer's options ("Texte > Options") and a layer's name: repeated changes
  // of one layer make one step. The options step answers whether it made a
  // new step (false when the change continues the current one).
  bool PrepareLayerOptionsUndo();
  void PrepareTextDataUndo();
  void PrepareRenameLayerUndo();
  void LayerChanged() override;
  QMenu* PopupMenuBar() const override;

  // ---- Zoom (MainForm_View.cpp) ----
  // The zoom edit's entry (0 automatic, else a percentage) applied to the
  // active image; the entry set back from the active image's zoom.
  void MajZoomImage();
  void RestaureZoom();

  // ---- File menu (MainForm_File.cpp, MainForm_Open.cpp, MainForm_Save.cpp) ----
  void MenuFichierNouveauClick();
  void MenuFichierFermerClick();
  void MenuFichierFermerToutClick();
  void MenuFichierQuiterClick();
  void MenuFichierOuvrirClick();
  void MenuFichierEnregistrerClick();
  void MenuFichierEnregistrerSousClick();
  // Saves a copy into the data folder of the item's Tag (0 the image's own
  // folder ... 4 the PNG folder), asking nothing and remembering nothing.
  void MenuEnregistrerDansClick(int Tag);
  void MenuFichierRetablirClick();

  // Opens one file: NewImg in a new window, else in place of the active
  // one; Maj remembers its folder and adds it to the recent files. Nothing
  // for a name without extension or a missing file.
  void Ouvrir(const QString& FileName, bool NewImg, bool Maj);
  // True when FileName is not open in a window (or a folder is browsed);
  // otherwise that window comes to the front with a warning.
  bool CheckNotAlreadyOpen(const QString& FileName);
  // The layers of a layered file read into the freshly loaded Image.
  bool LoadLayersForOpen(TMyImageLayered& Image, const QString& FileName);
  void WarnFormatMismatch(const QString& FileName);
  // The load/save hook installed around one Ouvrir or Enregistrer.
  void LoadSaveEvent(const TImageIOSender& Sender, const QString& FileName, bool& Continue, TImageIOStage Event);
  // Fills the save bitmap for FileName's format from the active image.
  void PrepareBitmapForSave(const QString& FileName);
  bool FlagRetablir = false;
  bool FlagNaviguer = false;
  // Folder navigation wraps around at the ends (set by the slide show).
  bool LoopNavig = false;

  // TSaveOptionsHost
  bool SaveDefault() const override { return FSettings.SaveDefault; }
  TPixelFormat SaveBitmapPixelFormat() const override;
  TMyImageLayeredView* ActiveImageView() const override;
  // The recent-files submenu filled from the list when it opens; item Tag
  // opens entry Tag.
  void MenuFichierRecentsClick();
  void MenuFichierNClick(int Tag);

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
  // The undo step of kind Info (PreparerUndo), unless the current step is
  // one of the same kind on the same layer: that one is reused, the window
  // marked modified, and nullptr returned.
  TUndoLayerItem* PrepareLayerInfoUndo(TModifInfo Info, const QString& Titre);
  // When the current step is of kind Info on the current layer, the change
  // coming continues it: the window is marked modified and true returned.
  bool ContinueCurrentUndo(TModifInfo Info);
  QString MenuPathTitle(const char* First, const char* Second) const;
  // The window closed: menus and information when it was the last.
  void ImageWindowGone();
  // Enables a menu item (and the buttons that follow it) only when its
  // command is built.
  void EnableCommand(const char* Name, bool Enabled);
  // The file commands' connections and services (set at creation, released
  // before the frame goes).
  void ConnectFileCommands();
  void ReleaseFileServices();
  // The zoom list's commands and the zoom edit's events (MainForm_View.cpp).
  void ConnectZoomListCommands();
  // The layer hooks of the image-file layer (MainForm_Layers.cpp).
  void InstallLayerHooks();
  void ReleaseLayerHooks();
  // Every image window asked about its changes; all close only when none
  // refused. True when none is left.
  bool CloseImageWindows();
  void EdiZoomDisplayText(QString& Text);

  // Set during one save: the bitmap the writer takes, and whether the
  // format-loss question is asked.
  std::unique_ptr<TBitmap> FSaveBitmap;
  bool FCheckFormatLoss = false;
  bool FHourglass = false;
  bool FClosing = false;

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
  // The toolbar button whose click runs the command under way, if any.
  QPointer<QAction> FButtonSender;

  // ---- Start-up services, application hooks and cursors (MainForm_Startup.cpp, MainForm_Hooks.cpp) ----
public:
  const TDataFolders& DataFolders() const { return FDataFolders; }
  const QString& ProgramDir() const { return FState.ProgramDir; }
  // The tool palette registers its state here when it is created.
  void SetToolHooks(TToolHooks* Hooks) { FToolHooks = Hooks; }
  TToolHooks* ToolHooks() const { return FToolHooks; }
  // Combine-selection mode: 0 none, 1 add "(+)" (Control), 2 subtract "(-)"
  // (Alt), from the key press over the image to its release or to the mouse
  // leaving the image.
  int CombineSelMode = 0;
  int CurrentCombineSel = 0;
  // The foreground window belongs to this program.
  bool AppInForeground = true;
  // An image is open and the cursor (global position) lies in its view.
  bool MouseOverImage(const QPoint& Global) const;
  void HandleMouseMove(const QPoint& Global);
  void HandleMouseClick(const QPoint& Global);
  void HandleKeyDown(int Key, const QPoint& Global);
  void HandleKeyUp(int Key);
  void BeginCombineSelMode(int Key);
  void EndCombineSelMode();
  // The keys taken before any menu short-cut (F5, Enter); true when handled.
  bool AppShortCut(int Key);
  void CheckForegroundState();
  void StartPopup();
  void EndPopup();
  // Another window's popup menu drawn as the main window's menus are.
  void PreparerPopupMenu(QMenu* Menu);

private:
  // Start-up steps in their order: the single-instance gate, the splash,
  // the data folders, the tool cursors and the language module (before the
  // menus); the modules, FreeImage and the 8BF filters (after the
  // settings); the application hooks (last). False from the first: this
  // process handed its command line to another and ends.
  bool InitStartupServices();
  void LoadModules();
  // Filter > "8BF" from the host library in ModuleFolder and the plug-ins
  // of PlugInFolder (MainForm_8bf.cpp).
  void Setup8bfMenus(const QString& ModuleFolder, const QString& PlugInFolder);
  // With the system style the menus are owner-drawn: icons, short-cuts in
  // their colour, flat selection.
  void PreparerMenus();
  void InstallApplicationHooks();
  // Applies the tool's cursor to the active image.
  void UpdateImageCursor();
  TDataFolders FDataFolders;
  TToolHooks* FToolHooks = nullptr;
  QObject* FAppHooks = nullptr;
  bool FSecondInstance = false;
  // ---- end of start-up services, application hooks and cursors ----

  // ---- Undo, redo and repeat (MainForm_Undo.cpp) ----
public:
  // The undo record of the coming change on the active image (one must be
  // open): the kind adjusted to the layer, the record class, region and
  // flags its rules give, BmpUndo and MaskUndo copied. Called once per
  // change, after DebutAction and before any pixel changes.
  void PreparerUndo(TModifInfo Info, const QString& Titre);
  // A drawing or filter of bitmap and mask must first grow the current
  // layer to the image (or to the selection for a drawing).
  bool NeedExpandLayer(TModifInfo Info) const;
  // One step back or forward in the active window's list, with the colour
  // count, resolution and layer offsets the records keep.
  void Undo();
  void Redo();
  void MenuEditionUndoClick(const QObject* Sender);
  void MenuEditionRedoClick(const QObject* Sender);
  // The command Edit > Repeat runs again: its title, the item or button that
  // started it, the handler (which is given that sender) and the extra
  // condition of the Repeat item (0 none .. 5 a pattern is stored).
  struct TLastFilter {
    QString Caption;
    QPointer<QObject> Sender;
    std::function<void(QObject*)> Event;
    int Flag = 0;
  };
  const TLastFilter& LastFilter() const { return FLastFilter; }
  void DernierFiltre(const QString& Titre, QObject* Sender, std::function<void(QObject*)> Event, int Flag);
  void MenuEditionRepeterClick();
  // The change just prepared cancelled: pixels restored when Restaure, a
  // grown layer cut back, the record dropped, Repeat forgotten.
  void AnnulerFiltre(bool Restaure);
  // The current record's saved pixels written back (a preview cancelled).
  void RestaureBitmap();
  // The change just made kept inside the selection's shape: 0 hard edge, 1
  // feathered, 2 anti-aliased, as the smoothing items allow.
  void AppliquerMasqueSel(int Mode);
  // What the selection masks and the painting tools read of the active image.
  TSelMaskHost& SelMaskHost() const { return *FSelMaskHost; }
  // The same, with what the layer commands on the selection need too.
  TLayerCommandHost& LayerCommandHost() const { return *FSelMaskHost; }
  // The selection's outline drawn on the current layer.
  void DessinerContour(TColor Couleur, int Largeur, bool Lisser, const QString& Motif);
  // Tool-button hints and undo titles carry the menu short-cut.
  bool AddShortcut = true;
  // The selection smoothing chosen in the Selection menu: 0 "Aucun", 1
  // "Lisser", 2 "Contour progressif".
  int SelLissage = 1;
  // A layer was grown by the last undo preparation.
  bool FlagAutoExpand = false;
  // Runs a direct pixel command on the current layer within LaSelection:
  // permission, bracket, undo step of kind Info titled Titre (empty: by
  // Item), Work, the change kept inside the selection, repaint, and Handler
  // registered for Repeat (a toolbar button as Sender is replaced by Item).
  // Work answering false ends the command after its undo step.
  using TPixelWork = std::function<bool(TBitmap&, const TRect&)>;
  void RunPixelCommand(QObject* Sender, QAction* Item, TModifInfo Info, int MaskMode, const TPixelWork& Work,
                       int RepeatFlag, std::function<void(QObject*)> Handler, const QString& Titre = {});
  // Filter > Blur.
  void MenuFiltreFlouClick(QObject* Sender);
  // The Adjust and Filter items that open a filter dialog
  // (MainForm_Adjust.cpp).
  void ConnectAdjustCommands();
  // Tools > "Préférences..." and the Help items that open the help file and
  // the web pages (MainForm_Preferences.cpp).
  void ConnectPreferencesCommands();
  void MenuParamsClick(QObject* Sender);
  // Ok in the preferences: what takes effect at once applied from FSettings.
  void ApplyPreferences();
  void MenuAideInfosClick();
  // Opens a file or an address with the desktop's program, through
  // ShellOpener when set (tests replace it so that nothing starts).
  void OpenDocument(const QString& Target);
  std::function<void(const QString&)> ShellOpener;
  // The module libraries' state, made before the scan (MainForm_Modules.cpp).
  void ConnectModuleCommands();
  // The filter, import and export programs (MainForm_Programs.cpp).
  void ConnectProgramsCommands();
  // Filter > "LumaMasque..." (MainForm_MaskOverlay.cpp); the image browser
  // opens the same dialog with its picture as the mask (empty: the stored one).
  void ConnectMaskOverlayCommands();
  void OpenMaskOverlay(const QString& MaskFile);
  // Layer > New > "Texte...", a text layer's options and Filter > "R-Touch..."
  // (MainForm_Text.cpp).
  void ConnectTextCommands();
  // The text dialog for a new text layer, or (Nouveau false) on the current
  // layer when it is a text layer; IgnoreFirstClick when opened from the
  // image view, so that the click is no colour pick.
  void OpenTextDialog(bool Nouveau, bool IgnoreFirstClick);
  // The Edit menu's clipboard, clear, pattern and purge items and the
  // selection's flips and turns (MainForm_Edit.cpp).
  void ConnectEditCommands();
  // Tools > image management and folder navigation (MainForm_FileManagement.cpp).
  void ConnectFileManagementCommands();
  // Connects the item Name to Handler, which is told the item or toolbar
  // button that started the command.
  void ConnectSender(const char* Name, std::function<void(QObject*)> Handler);
  // The Layer menu and the layers panel's popup (MainForm_LayerCommands.cpp).
  void ConnectLayerCommands();
  void ConnectLayerMaskCommands();
  // The copy of the Layer menu's item OriginalName in the selection popup's
  // "Transformation" runs Handler (given the copy) instead.
  void ConnectPopSelTransformCopy(const char* OriginalName, std::function<void(QAction*)> Handler);
  // The frame, shadow, cut-out, selection-width, assemble, new-background,
  // export-layer and history dialogs (MainForm_ImageDialogs.cpp).
  void ConnectImageDialogCommands();
  // The outline-and-fill and transformation items (MainForm_Outline.cpp).
  void ConnectOutlineCommands();
  // The direct Filter and Adjust commands and the flip buttons (MainForm_Filters.cpp).
  void ConnectFilterCommands();
  // The quick-adjust buttons (MainForm_QuickAdjust.cpp); while FlagBtnSelUndo
  // the opposite button cancels the last quick step.
  void ConnectQuickAdjustCommands();
  bool FlagBtnSelUndo = false;
  // The current undo step is the last quick step of the button opposite to
  // Sender, on the current layer.
  bool QuickStepIsOpposite(const QAction* Sender, const QAction* Minus, const QAction* Plus) const;
  // Tools > GIF animé (MainForm_GifAnim.cpp).
  void ConnectGifAnimCommands();
  // Tools > export as an icon (MainForm_IconExport.cpp).
  void ConnectIconExportCommands();
  // Tools > Traitement par lots (MainForm_Batch.cpp).
  void ConnectBatchCommands();
  // True when the active image has more than one layer; else the warning.
  bool CheckSeveralLayers();
  void ConnectPrintCommands();
  // Image > horizon and perspective correction (MainForm_Corrections.cpp).
  void ConnectCorrectionCommands();
  void ConnectCurvesCommands();
  // The artistic, effect, layer-transparency and blur items (MainForm_Effects.cpp).
  void ConnectEffectCommands();
  // The texture, frame and distortion items (MainForm_Textures.cpp).
  void ConnectTextureCommands();
  // The histogram and the colour dialogs of the Adjust, Filter and Image
  // menus (MainForm_Colors.cpp).
  void ConnectColorCommands();
  // True when the active image has one layer; else the merge message.
  bool CheckSingleLayer();
  // True, after the message, when the active image holds a text layer.
  bool RefuseTextLayers();
  // True, after the message, when a visible selection leaves nothing of the
  // current layer; false when the selection is hidden.
  bool RefuseEmptySelection();
  // The Image items that open the image dialogs (MainForm_Image.cpp).
  void ConnectImageCommands();
  // Image > Mode, duplicate and automatic transparency (MainForm_ImageModes.cpp).
  void ConnectImageModeCommands();
  // Image > flips, turns and crops (MainForm_ImageGeometry.cpp).
  void ConnectImageGeometryCommands();
  // The layer options, new layers and manual parameters (MainForm_LayerDialogs.cpp).
  void ConnectLayerDialogCommands();
  // Connects the item Name to a dialog opener (FilterDialogOpener.h); the
  // undo step is titled by the item, or by the item named Title.
  using TFilterDialogOpener = void (*)(TMainForm&, QAction*, QAction*);
  void WireFilterDialog(const char* Name, TFilterDialogOpener Open, const char* Title = nullptr);

private:
  void ConnectUndoCommands();
  TLastFilter FLastFilter;
  std::unique_ptr<TLayerCommandHost> FSelMaskHost;
  // ---- end of undo, redo and repeat ----

  // ---- Selection (MainForm_Selection.cpp) ----
public:
  // Show and hide the active window's selection; hiding keeps its shape,
  // rectangle and points. MasquerSelection does nothing without an image.
  void AfficherSelection();
  void MasquerSelection();
  // Edit the tool's shape (Flag 0 and 2), the current selection's (any
  // Flag but 2), or both (0).
  void ChangerForme(TMyShape Shape, bool MultiLine, int Flag);
  // The default selection rectangle for tools and dialogs: the visible part
  // of the view inset by a tenth of its smaller side, in image coordinates.
  TRect SelectionDefaut() const;
  // The view's selection-drawing events (R in its client coordinates).
  void ImageSelecting(const TRect& R, TSelOption Option);
  // Hints and the windows around the image on or off while a drag or an
  // overlay mode runs.
  void EnableHint(bool Value, bool CheckWindows, bool CheckSelMode);
  void MenuSelToutClick();
  void MenuSelSelectionClick(const QObject* Sender);

  // The Selection menu's other commands (MainForm_SelCommands.cpp).
  void MenuSelCalqueClick();
  void MenuSelInverserClick();
  // The selection moved to Anchor (poCenter, poCenterHorz, poCenterVert) of
  // the image, its size kept.
  void MenuSelCentreClick(TPosition Anchor);
  // R becomes the selection rectangle, centred in the visible part of the
  // image and kept inside it.
  void CentrerSel(TRect R);
  // "Carré" or a proportion of the table, by the item's tag.
  void MenuSelAdapterClick(const QAction* Item);
  // The tool palette's proportions: only while no selection is visible.
  void AfficherSelRatio(double Ratio);
  void MenuSelNouvelleFormeClick(const QAction* Item, bool FromImagePopup);
  void MajMenuForme(QMenu* Menu, bool ImagePopup);
  void SetRoundRectDivisor(int Value);
  void MenuSelRoundRectDivisor1Click(const QAction* Item);
  void MenuSelLissageClick(int Tag);
  void MenuSelCopierClick();
  void MenuSelCollerClick();
  void MenuSelEnregistrerClick();
  // A selection file; a name that is an extension only (".lms") asks for
  // the file.
  void ChargerForme(QString NomFichier);
  // The shape clipboard holds a shape.
  static bool ShapeCopied();

private:
  void ConnectSelectionCommands();
  void ConnectSelectionMenuCommands();
  double ScreenRatio() const;
  // Without a visible selection, or answered No: the stored rectangle is
  // placed; Yes keeps the current one.
  bool AskKeepStoredSize();
  void PlaceStored(const TRect& Stored, bool UseStoredPlace);
  // ---- end of selection ----

  // ---- Zoom steps, wheel and keys (MainForm_Zoom.cpp, MainForm_Keys.cpp) ----
public:
  // Flag 0: can zoom in; 1: zoom in; 2: can zoom out; 3: zoom out. True when
  // a step exists in that direction.
  bool ZoomAvantArriere(int Flag);
  void MenuZoomAvantClick(const QObject* Sender);
  void MenuZoomArriereClick(const QObject* Sender);
  // The zoom edit's step (0 automatic .. 15), and setting it.
  int ZoomEditStep() const;
  void SetZoomEditStep(int Step);
  // The wheel at Global turned by Delta (positive away from the user): over
  // the active view's scroll bars it scrolls by 33 pixels, elsewhere it
  // zooms in or out about the image point under the mouse. True when the
  // wheel is the document area's.
  bool FormMouseWheel(int Delta, const QPoint& Global);
  // True while a wheel zoom runs: the zoom keeps the point under the mouse.
  bool FlagZoomSouris = false;
  // The keys of the image windows: the key map of tools and shapes, the
  // zoom keys, F6/F7, Escape; then the view and the selection.
  void FormKeyDown(int Key, Qt::KeyboardModifiers Shift);
  void FormKeyPress(QChar Key, Qt::KeyboardModifiers Shift);
  void FormKeyUp(int Key, Qt::KeyboardModifiers Shift);
  // A key for Receiver handled as the image's (Receiver is this window or
  // lies in an image window); true when taken.
  bool RouteImageKey(QWidget* Receiver, QKeyEvent* Key);

private:
  // What MajZoomImage keeps in view, in image coordinates, and bringing it
  // back to the centre after the zoom changed.
  TRect ZoomKeepRect() const;
  // Where the wheel turned, during a wheel zoom (global).
  QPoint FZoomMousePos;
  void ZoomKeepInView(const TRect& Keep);
  void ConnectZoomCommands();
  // ---- end of zoom steps, wheel and keys ----

  // ---- Menu and toolbar state (MainForm_MenuRules.cpp) ----
public:
  // The state the menu rules read, taken now.
  TMenuSnapshot MenuSnapshot() const;
  // The opening handlers of the top menus: the rules of the menu applied to
  // its items (only built commands are ever enabled).
  void ApplyMenuRules(const QString& MenuName);
  // Every menu's rules, so that a short-cut finds its item as the menu would
  // show it: run before any short-cut is matched.
  void RefreshMenuStates();
  // The toolbar buttons' rules, applied to the commands they run.
  void UpdateToolButtonRules();

private:
  void ConnectMenuRules();
  // ---- end of menu and toolbar state ----

  // ---- Modal forms, modules, colours and the image cursor (MainForm_Modal.cpp) ----
public:
  // Form shown modally as an open dialogue; true when it closed with Ok.
  bool ShowModalForm(QDialog* Form);
  // A module's form owns the image (Form), or gives it back (nullptr): every
  // image window disabled, the zoom edit read-only, a dialogue counted.
  void PreparerModule(QWidget* Form);
  // The colour dialog on Couleur; Couleur takes the colour chosen with Ok.
  void AfficherPalette(TColor& Couleur);
  // The image cursor of the active window follows the tool and the mode.
  void MajCurseurImage() { UpdateImageCursor(); }
  // The brush outline of the active window hidden.
  void HideBrushCursor();
  // The clipboard holds a picture; with DansImage an image in 16M mode must
  // also be open to paste into.
  bool CollagePossible(bool DansImage) const;
  // ---- end of modal forms, modules, colours and the image cursor ----

  // ---- Tool palette (MainForm_Palette.cpp) ----
public:
  // The palette, created on the first show (nullptr before), and released
  // before the frame goes (its place is kept in the settings).
  TOutilsForm* Palette() const;
  void CreatePalette();
  void ReleasePalette();
  // A change of the current layer's options from the palette, in the
  // layer-options undo step (consecutive changes of one layer make one).
  void PaletteLayerOption(const std::function<void(TLayerItem&)>& Change);
  // The current pattern loaded from a picture the user picks.
  bool PaletteLoadPattern();
  // The docked palette's part of the frame layout, and its place.
  void PaletteFrameInput(TFrameLayoutInput& In) const;
  void PlaceDockedPalette(const QRect& Area);
  // The painting tools at work on the images (nullptr before the palette).
  TStrokeTools* StrokeTools() const;
  // The view's selection mode and the selection's mouse follow the tool
  // (MainForm_Tools.cpp).
  void VerifierSelModeEtPopup();
  // A stroke still running is ended (and its undo step completed): before
  // an undo, a redo or the preparation of another command's step.
  void EndStrokeInProgress();

private:
  std::shared_ptr<TMainPalette> FPaletteHost;
  // ---- end of tool palette ----

  // ---- Image browser (MainForm_Explorer.cpp) ----
public:
  // Tools > "Explorateur d'images" shows and hides it; the active image's
  // folder is followed when asked; file operations keep it in step.
  void ConnectExplorerCommands();
  // The browser, made on first use (nullptr before).
  TExplorForm* Explorer() const { return FExplorer; }
  bool ExplorerVisible() const;
  bool ExplorerBusy() const;
  void ShowExplorer(bool Show);
  // With MenuAuto ticked, the visible browser shows the active image's folder.
  void ExplorerFollowImage();
  void ExplorerFileGone(const QString& FileName);
  void ExplorerFileRenamed(const QString& FileName, const QString& NewName);
  // The docked browser's part of the frame layout, and its place.
  void BrowserFrameInput(TFrameLayoutInput& In) const;
  void PlaceBrowser(const QRect& Area);

private:
  friend class TMainExplorer;
  void ReleaseExplorer();
  std::shared_ptr<TMainExplorer> FExplorerHost;
  TExplorForm* FExplorer = nullptr;
  // ---- end of image browser ----

  // ---- Full screen and slide show (MainForm_FullScreen.cpp) ----
public:
  void ConnectFullScreenCommands();
  // The full-screen view, made on first use.
  TPeForm* FullScreenForm();

private:
  friend class TMainFullScreen;
  std::unique_ptr<TFullScreenHost> FFullScreenHost;
  TPeForm* FPeForm = nullptr;
  void ReleaseFullScreen();

  // ---- Layer distortion and the vector path (MainForm_Distortion.cpp, MainForm_Path.cpp) ----
public:
  // The overlay of mode 1 (VerticesMode) over the active image, or none.
  QPointer<TDeformControl> VerticesSel;
  // The overlay of mode 2, or none.
  QPointer<TPathOverlay> Path;
  // The layer being distorted was just made from the selection: cancelling
  // removes it, its creation step covers the distortion.
  bool FlagTransformNewLayer = false;
  // The path made from the selection goes back into one when its
  // transformation dialog closes.
  bool AutoSelToPath = false;
  // Where the path file dialogs open.
  QString PathDir;
  // Mode 0 scales (frame kept rectangular), 1 distorts the current layer.
  void StartLayerDistortion(int Mode);
  // The frame's bounds or corners become the layer's pending transformation.
  void UpdateLayerTransformation();
  // The transformation applied in one undo step (an unmoved frame cancels).
  void ValidateLayerDistortion();
  void CancelLayerDistortion();
  void EndLayerDistortion();
  // Layer > Redimensionner le calque (Tag 0) and Distorsion (Tag 1).
  void MenuCalqueTransform2Click(const QObject* Sender, int Tag);
  // Mode 0 a new path, 1 the last path put back, 2 the visible selection
  // converted; a FileName is loaded in move-all mode.
  void StartPathMode(const QString& FileName, int Mode);
  // The path kept for "Rétablir", the overlay gone, the grid as it was.
  void FreePath();
  // The save dialog; true when a file was written.
  bool SavePath();
  // The path transformation dialog closed (Ok or not) while AutoSelToPath.
  void AutoPathToSel(bool Ok);
  // The keys of the overlay modes (the owner forwards them); true when used.
  bool OverlayKeyDown(int Key, Qt::KeyboardModifiers Shift);
  bool OverlayKeyUp(int Key, Qt::KeyboardModifiers Shift);

private:
  void ConnectDistortionCommands();
  void ConnectPathCommands();
  void DistortionUpdating(TSelOption Option);
  // The save question before the path is dropped; false when cancelled.
  bool ConfirmLeavePath();
  void PopPathPopup();
  void PathOpenClick();
  void PathToSelection();
  bool FPathShowGrid = false;
  bool FPathGridAlign = false;
  // ---- end of layer distortion and the vector path ----

  // ---- View display switches (MainForm_Display.cpp) ----
public:
  void MenuAfficherGrilleClick();
  void MenuAfficherMagnGrilleClick();
  void MenuAffichageBarrePluginsClick();

private:
  void ConnectDisplayCommands();
  // ---- end of view display switches ----

  // ---- Module libraries (MainForm_Modules.cpp, MainForm_ModuleServices.cpp) ----
public:
  // The module submenus and about items hidden until a module fills them.
  void HideModuleMenus();
  // The modules of Folder and its sub-folders registered, sorted and given
  // their menu items; their number (0 when modules are not loaded).
  int ScanModules(const QString& Folder);
  // A module toolbar button for each module of the toolbar list (all when
  // it is empty), at most 20; how many.
  int FillModuleToolBar(QToolBar* Bar);
  const std::vector<TPluginItem>& Modules() const;
  // A module library is loaded: a module is running.
  bool IsModuleLoaded() const;
  // A colour picked and a point clicked on the image, for the running module.
  void ForwardColorPick(TColor Color) const;
  void ForwardPointClick(TPoint Point, Qt::MouseButton Button) const;
  // Each module item or button of Items enabled by its module's rule.
  void MenuPluginClick(const QList<QAction*>& Items);
  void MajBtnPlugins();
  void PluginMenuClick(int N, QObject* Sender);
  void PluginAProposClick(int N);

private:
  void AddModuleMenus(int N);
  QIcon ModuleIcon(int Index) const;
  TModuleEnableState ModuleEnableState() const;
  std::shared_ptr<TModuleHost> FModuleHost;
  // ---- end of module libraries ----

  // ---- Edit menu and image management (MainForm_Edit.cpp, MainForm_FileManagement.cpp) ----
public:
  // The work rectangle clipped to the current layer erased: on a layer
  // without mask filled with the background's transparent colour (else the
  // palette's second colour) inside the selection's shape; on a layer with a
  // mask made transparent (255) there. Nothing when the rectangle is empty.
  void EffacerSelection();
  // True when the clipboard holds a picture; else its message.
  bool CheckClipboardImage();
  // The current file's actions of Tools > image management: 0 open with the
  // associated program, 1 copy to a folder, 2 move to a folder, 3 rename, 4
  // send to the trash. Caption is the asking item's cleaned caption. The
  // resulting file name, '' when nothing was done.
  QString CurrentFileAction(const QString& Caption, const QString& FileName, int Action);

private:
  void MenuEditionCopierClick(QObject* Sender, QAction* Item);
  void MenuEditionCollerSelClick(QObject* Sender);
  // A paste that adds a layer named Name (false when nothing was pasted),
  // then the layer tool and its undo step titled Title.
  void PasteNewLayer(const std::function<bool(const QString& Name)>& Paste, const QString& Title);
  void MenuEditionCollerInClick(int Tag);
  void MenuEditionCollerImgClick(QObject* Sender);
  void MenuEditionCollageAlphaClick(QAction* Item);
  void MenuEditionEffacerClick();
  void MenuEditionMotifClick();
  void MenuEditionRemplirMotifClick(QObject* Sender);
  void MenuPurgerHistoriqueClick();
  void MenuTransformClick(QAction* Item, bool FromPopup);
  void MenuGestionImageClick(QAction* Item);
  void MenuNaviguerClick(QAction* Item);
  // The window editing FileName takes NewName: title, window-menu entry,
  // recent files and status.
  void FileRenamed(const QString& FileName, const QString& NewName);
  // The services the layer, clipboard and new-image routines reach the
  // window through (owned by the window).
  class TEditHosts* FEditHosts = nullptr;
  // ---- end of edit menu and image management ----
};
