// TNewImgForm: the child window of the main window's document area that
// shows one open image: its layered view, its selection, its layers panel,
// its undo history and the brush outline. It names itself, sizes and places
// itself, tracks which image window is active (hiding the other windows'
// selections), keeps its modified state, asks whether to save before it
// closes (refused during a vertex edit) and routes the mouse on its image to
// the open dialog, a loaded module or the current tool; the unit keeps the
// list of all image windows. The main window's settings and services come
// through TImageWindowHost and ImageToolHost(). Depends on the view
// (MyImageLayeredView.h), the selection (SelectionControl.h), the panel
// (LayerNavigator.h), the undo history (document/Undo.h), the message dialog
// and the strings.
#pragma once

#include "document/ImageWindowHost.h"
#include "document/Undo.h"
#include "document/ui/CursorEx.h"
#include "document/ui/LayerNavigator.h"
#include "document/ui/MyImageLayeredView.h"
#include "document/ui/SelectionControl.h"

#include <QMdiSubWindow>

#include <memory>
#include <vector>

enum TImageSourceType : uint8_t { srcFile, srcNew, srcDuplicate, srcClipboard, srcImport };

class TNewImgForm : public QMdiSubWindow {
  Q_OBJECT
public:
  // Source is a layered image (whose layers the window takes, or copies for
  // a duplicate), else Bitmap (may be nullptr) becomes the background. An
  // empty Title gets a generated one. The window is added to Area.
  TNewImgForm(TImageWindowHost& Host, class QMdiArea* Area, TMyImageLayered* Source, const TBitmap* Bitmap,
              const QString& Title, TImageSourceType SrcType, int NbCol, bool AutoZoom, bool Maximized);
  ~TNewImgForm() override;

  TImageWindowHost& Host() const { return FHost; }
  TMyImageLayeredView* Image = nullptr;
  TLayerNavigator* LayerNav = nullptr;
  // The selection over Image (hidden until the main window shows one).
  std::unique_ptr<TSelectionControl> Sel;
  // The visibility of Sel remembered while another window is active: -1
  // none, 0 hidden, 1 visible.
  int FlagSel = -1;
  std::unique_ptr<TUndoList> ListeUndo;
  // The brush outline over Image.
  std::unique_ptr<TCursorEx> CursorEx;
  QString NomFichier;
  bool UneSelection = false;
  int IdActionSave = 0;
  bool FlagAutoZoom = false;
  bool LockWinRect = false;
  TImageSourceType SourceType = srcFile;
  bool CanCloseFlag = false;
  bool FlagUndoPurge = false;
  bool FlagUndoAttenuer = false;
  bool FlagUndoModified = false;
  int DupCount = 1;
  // The counter that numbers new layers, carried over to a duplicate.
  int LayerCount = 0;

  bool IsFileSource() const { return SourceType == srcFile; }
  int IdActionCourante() const;
  bool Modified() const;
  void ResetModified();
  // The save question; true when the window may close.
  bool VerifEnregistrement();

  void CalcSizeAndPos(int Index, bool AutoZoom, bool Resize, bool Repos);
  void SetWindowSize(int Index, bool AutoZoom, bool Maximize, bool Pos, bool Size);
  void SetLayerNavSize();
  void ActivateImage();
  // The selection becomes the quadrilateral P (bitmap coordinates; with
  // BottomRight the right and bottom corners are exclusive).
  void SetSelVertices(const TPoint (&P)[4], bool BottomRight);
  void BringMDIToFront();
  // The window's default rectangle in the document area for window Index
  // (positions repeat every 10 windows).
  QRect DefaultWindowRect(int Index) const;

protected:
  void closeEvent(QCloseEvent* Event) override;
  // A right click on the title bar opens the main window's menu of the
  // current mode (PopupMenuBar) instead of the window's system menu.
  void contextMenuEvent(QContextMenuEvent* Event) override;

  // The mouse on the image, routed to the open dialog, the loaded module or
  // the current tool (ImageToolHost).
  void ImageMouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
  void ImageMouseMove(Qt::MouseButtons Buttons, Qt::KeyboardModifiers Shift, int X, int Y);
  void ImageMouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
  void ImageDblClick();

private:
  void ImageDraw(TDrawStage Stage);
  void SelUpdating(TSelOption Option);
  void ImageMovingLayer(TSelOption Option);
  void SetBackgroundBitmap(const TBitmap& Bitmap);
  QSize FrameExtent() const;

  TImageWindowHost& FHost;
  bool FirstActivate = true;
  TPoint FMovingLayerStart;
};

// Every image window, in creation order.
const std::vector<TNewImgForm*>& ImageWindows();
// The active image window, or nullptr.
TNewImgForm* ActiveImageWindow();
// The last number given to a generated title.
int UntitledCount();
void SetUntitledCount(int Value);
// A window title: "Sans titre n" for an empty Title, the first "$(cpt)" of an
// imported title replaced by the next number, else Title itself.
QString MakeWindowTitle(const QString& Title, TImageSourceType SrcType);
// The first window showing FileName (exact comparison), or nullptr.
TNewImgForm* FindImageWindow(const QString& FileName);
// The index of the first layer, over all windows, whose bitmap is Bitmap; -1
// when none.
int FindLayerOfBitmap(const TBitmap* Bitmap);
bool AnyUndoLeft();
// Every image view and layers panel draws what is pending now.
void UpdateImageWindows();
void PurgeAllUndo();
void SetImageFrameShadow(bool Frame, bool Shadow);
void ShowActiveLayerBounds(bool Value);
void SetAutoSelectLayerAll(bool Value);
void SetLayerNumberAll(bool Value);
void SetOptimizeModeAll(bool Smooth);
void ApplyGridSettings();

// The menu under which every image window has an entry (the main window's
// window menu), or nullptr.
extern class QMenu* WindowMenu;
// The entry of Form: its caption shortened to 30 characters in the middle;
// choosing it brings the window to the front (restored when minimised).
void AddWindowMenuItem(TNewImgForm* Form, const QString& Caption);
// Form leaves the window list and loses its entry; nothing when not listed.
void RemoveWindowMenuItem(TNewImgForm* Form);
void UpdateWindowMenuItem(TNewImgForm* Form, const QString& Caption);
// Only Form's entry is checked.
void CheckWindowMenuItem(TNewImgForm* Form);
// Every window but Form disabled; every layers panel disabled.
void DisableImageWindows(TNewImgForm* Form);
void EnableImageWindows();
// Every window but Form remembers whether its selection was visible, hides
// it and goes back to drawing shapes.
void HideOtherSelections(TNewImgForm* Form);
// After the area cascaded or tiled its windows: resize and refit.
void CascadeImageWindows();
void TileImageWindows();
// The layers panels take the size the main window's setting gives.
void ApplyLayerNavigatorSize();
void ResizeImageWindows();
void LockImageWindowRects(bool Value);
