// TExplorForm, the image browser: a strip of thumbnails docked at the foot
// of the main window. It scans one folder (and optionally its subfolders)
// for the readable formats on the interface thread, handling pending events
// every seventh file so that it can be stopped, and shows each picture
// small with badges for its metadata. Its uses of a chosen file (open, open
// as a layer, selection, pattern, texture), the file operations, the
// properties and the drag onto the editor are in Explor_Actions.cpp.
// Depends on the load chain, the file search and the browser's rules of
// files/, the thumbnail drawing of raster, the controls of ui/; reaches the
// main window through TExplorerHost.
#pragma once

#include "files/ExplorRules.h"

#include <QPoint>
#include <QWidget>

#include <memory>

class QAction;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QToolButton;
class TBitmap;
class TExplorerHost;
class TMyBevel;
class TSimplePanel;

class TExplorForm : public QWidget {
  Q_OBJECT
public:
  // Made hidden; the main window shows and places it.
  TExplorForm(TExplorerHost& Host, QWidget* Parent);
  // FormDestroy: a running scan stopped, the list cleared.
  ~TExplorForm() override;

  TMyBevel* BvlExplore;
  TSimplePanel* PnlBtn;
  QWidget* ToolBar;
  QToolButton *BtnDir, *BtnImg, *BtnOuvrir, *BtnSauve, *BtnSel, *BtnMask, *BtnMotif, *BtnMenu;
  QListWidget* ListView;
  QMenu* PopLst;
  QMenu *MenuExplorer, *MenuImage, *MenuAction;
  QAction *MenuExploreDir, *MenuExploreImage, *MenuExploreOuvrir, *MenuExploreSave, *MenuExploreSel, *MenuExploreMasque,
      *MenuExploreMotif, *MenuExploreTexture;
  QAction *MenuRename, *MenuMove, *MenuCopy, *MenuDelete;
  QAction *MenuActionSel, *MenuActionMasque, *MenuActionMotif, *MenuActionTexture, *MenuSepAction, *MenuActionLM,
      *MenuActionCalque, *MenuActionShell;
  QAction *MenuActualiser, *MenuAuto, *MenuProprietes, *MenuTrier, *MenuRecurssif, *MenuFiltre, *MenuMultiline,
      *MenuVider;

  // ---- Fields
  QString CurrentDir; // the folder shown, with a trailing '/'
  QString FileMask;   // ';'-separated masks of the scan
  int MaxImages = 1000;
  int DirFlags = 0; // TExplorDirFlag bits
  bool DejaExplore = false;
  bool Processing() const { return FProcessing; }
  int ThumbSize() const { return FThumbSize; }
  // The height the window needs for its rows of thumbnails and its buttons.
  int WantedHeight() const;

  // ---- Public methods
  // BtnImg follows the active image; All also sets the folder buttons.
  void MajBoutons(bool All);
  // Stops a running scan at its next file.
  void BreakProcess();
  void DeleteItemByName(const QString& FileName);
  void RenameItemByName(const QString& FileName, const QString& NewName);
  // CurrentDir scanned again, with its subfolders when ticked.
  void Actualiser();
  // The selected thumbnail's file, '' when none is selected.
  QString CurrentImage() const;
  // The thumbnail of FileName (case ignored), searched from the last one.
  QListWidgetItem* FindImage(const QString& FileName) const;
  static const TImageData& ImageData(const QListWidgetItem* Item);
  // The scan of Dir (asked for, starting in Default, when empty); Recursif
  // allows the subfolders when MenuRecurssif is ticked. A call while a scan
  // runs only stops it.
  void Explore(QString Dir, const QString& Default, bool Recursif);
  // The active image's folder: from the main window (ByMainWindow) only
  // when it is not shown already, never with subfolders.
  void MenuExploreImageClick(bool ByMainWindow);
  void MenuAutoClick();

  // ---- Uses and file operations (Explor_Actions.cpp)
  // MenuActionClick: which uses the Action submenu shows for the selected
  // file (also run on double click, Enter and a drop).
  TExplorUses MenuActionClick();
  // Use on the selected file; Ask puts the pattern question first.
  void RunUse(TExplorUse Use, bool Ask);
  void ListViewDblClick();
  // Op: 0 open with its program, 1 copy, 2 move, 3 rename, 4 delete.
  void FileOperation(int Op, QAction* Item);
  void MenuProprietesClick();
  void MenuFiltreClick();
  // 0 none, 1 pressed on a selected thumbnail, 2 dragging.
  int DragState() const { return FDragState; }

protected:
  void showEvent(QShowEvent* Event) override;
  void hideEvent(QHideEvent* Event) override;
  void resizeEvent(QResizeEvent* Event) override;
  bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
  void BuildMenus();
  void BuildToolBar();
  void TranslateExplorerMenus();
  void SetExplorerHints();
  void LayoutControls();
  void ReadSettings();
  void WriteSettings() const;
  void ClearList();
  void PopLstPopup();
  void MenuExplorerClick();
  void MenuMultilineClick();
  void MenuTrierClick();
  // A data folder's button or item: scanned, or with Ctrl asked for
  // starting there.
  void ExploreDataFolder(const QString& Folder);
  QString AskFolder(const QString& Start);
  // Per file found: false stops the search.
  bool AddThumbnail(const QString& FileName);
  void ListViewMouseDown(QMouseEvent* Event);
  void ListViewMouseMove(QMouseEvent* Event);
  void ListViewMouseUp(QMouseEvent* Event);
  void CancelDrag();

  TExplorerHost& Host;
  bool FProcessing = false;
  bool FStop = false;
  int FThumbSize = 64;
  int FVertSpacing = 22;
  int FFileCounter = 0;
  int FDragState = 0;
  QPoint FPtOriginDrag;
  std::unique_ptr<TBitmap> BmpImg, BmpThumb;
  // Cleared when the form goes, so that a scan interrupted by its own
  // destruction (inside the event pump) touches nothing of it.
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};
