// The vector path mode: a path editor over the active image, entered from
// Tools > "Tracé vectoriel" or its button (new, the last path put back, the
// selection converted, a .lmv file opened), driven from its popup menu and
// the keys, left through "Fermer", Escape or "Transformer en sélection"
// with the question to save a changed path first. The path is kept when the
// editor closes, for "Rétablir" on an image of the same size.
#include "app/ui/MainForm.h"
#include "app/ui/Cursors.h"
#include "document/PathSelection.h"
#include "document/ui/SelectionControl.h"
#include "files/ui/BmpOE2.h"
#include "i18n/LibLang.h"
#include "raster/FoncUtils.h"
#include "tools/ui/DeformControl.h"
#include "tools/ui/PathOverlay.h"
#include "ui/MsgDlg.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QToolBar>

namespace {

// The popup's flips and turns, by item, as BasicTransform's kinds.
constexpr std::pair<const char*, int> PathTransforms[] = {
    {"PopPathFlipH", 0}, {"PopPathFlipV", 1}, {"PopPathRotate90", 2}, {"PopPathRotate90a", 3}, {"PopPathRotate180", 4}};

// The popup's modes, by item.
constexpr std::pair<const char*, TPathMode> PathModes[] = {{"PopPathAjouter", pmAdd},
                                                           {"PopPathSupprimer", pmDelete},
                                                           {"PopPathModif", pmEdit},
                                                           {"PopPathReset", pmReset},
                                                           {"PopPathDeplacer", pmMoveAll}};

// Path dialogs show the reader's errors themselves: the file reader stays
// silent while they are open.
struct TQuietPathErrors {
  TQuietPathErrors() { ShowPathErrors = false; }
  ~TQuietPathErrors() { ShowPathErrors = true; }
};

} // namespace

void TMainForm::ConnectPathCommands() {
  Connect("MenuOutilsPathNew", [this] {
    if (ActionPossible(MenuItem("MenuOutilsPathNew"))) StartPathMode(QString(), 0);
  });
  Connect("MenuOutilsPathRevert", [this] {
    if (ActionPossible(MenuItem("MenuOutilsPathRevert"))) StartPathMode(QString(), 1);
  });
  Connect("MenuOutilsPathConvertSel", [this] {
    if (ActionPossible(MenuItem("MenuOutilsPathConvertSel"))) StartPathMode(QString(), 2);
  });
  Connect("MenuOutilsPathOpen", [this] {
    if (ActionPossible(MenuItem("MenuOutilsPathOpen"))) PathOpenClick();
  });
  // The path button: the visible selection, else the last path, else a file.
  // It has no menu item of its own (the Tools entry is a submenu) and follows
  // its own rule: an image is open.
  QAction* Button = ToolBar(1)->findChild<QAction*>(QStringLiteral("BtnVectorialPath"));
  Button->setProperty("Built", true);
  connect(Button, &QAction::triggered, this, [this, Button] {
    if (!UneImage() || !ActionPossible(Button)) return;
    if (Sel()->Visible() && Sel()->Shape() != ssBitmap)
      StartPathMode(QString(), 2);
    else if (CanPastePath(LeFond().Width(), LeFond().Height()))
      StartPathMode(QString(), 1);
    else
      PathOpenClick();
  });
  connect(MenuNamed("MenuOutilsPath"), &QMenu::aboutToShow, this, [this] {
    // The Tools rules reach only the menu's own items; a mode that blocked
    // the menus left these disabled.
    EnableCommand("MenuOutilsPathNew", UneImage());
    EnableCommand("MenuOutilsPathOpen", UneImage());
    EnableCommand("MenuOutilsPathRevert", UneImage() && CanPastePath(LeFond().Width(), LeFond().Height()));
    EnableCommand("MenuOutilsPathConvertSel", UneImage() && Sel()->Visible() && Sel()->Shape() != ssBitmap);
  });

  for (const auto& [Name, Mode] : PathModes) {
    MenuItem(QString::fromLatin1(Name))->setCheckable(true);
    Connect(Name, [this, Mode] {
      if (Path) Path->SetPathMode(Mode);
    });
  }
  const auto Toggle = [this](const char* Name, std::function<void()> Handler) {
    MenuItem(QString::fromLatin1(Name))->setCheckable(true);
    Connect(Name, [this, Handler = std::move(Handler)] {
      if (Path) Handler();
    });
  };
  // Commands that shape the curves put the path in edit mode.
  const auto EditAfter = [this] {
    if (Path->PointsCount() > 1) Path->SetPathMode(pmEdit);
  };
  Toggle("PopPathClosed", [this] { Path->SetClosed(!Path->Closed()); });
  Toggle("PopPathBezier", [this, EditAfter] {
    Path->SetBezierMode(!Path->BezierMode());
    EditAfter();
  });
  Toggle("PopPathSymetric", [this] { Path->SetSymetricBesierPoints(!Path->SymetricBesierPoints()); });
  Toggle("PopPathGrid", [this] {
    TMyImageLayeredView* View = EnfantActif()->Image;
    View->ShowGrid = !View->ShowGrid;
    View->PaintAll();
  });
  Toggle("PopPathGridMagnet", [this] { EnfantActif()->Image->GridAlign = !EnfantActif()->Image->GridAlign; });
  Connect("PopPathResetAll", [this, EditAfter] {
    if (!Path) return;
    Path->ResetControlPoints();
    EditAfter();
  });
  Connect("PopPathAntialias", [this, EditAfter] {
    if (!Path) return;
    Path->DefaultControlPoints();
    EditAfter();
  });
  for (const auto& [Name, Kind] : PathTransforms)
    Connect(Name, [this, Kind] {
      if (Path) Path->BasicTransform(Kind);
    });
  Connect("PopPathClear", [this] {
    if (Path && ConfirmLeavePath()) Path->Clear();
  });
  Connect("PopPathToSel", [this] {
    if (Path && ConfirmLeavePath()) PathToSelection();
  });
  Connect("PopPathFermer", [this] {
    if (Path && (Path->PointsCount() <= 1 || ConfirmLeavePath())) FreePath();
  });
  Connect("PopPathOpen", [this] { PathOpenClick(); });
  Connect("PopPathSave", [this] { SavePath(); });
  connect(MenuNamed("PopPath"), &QMenu::aboutToShow, this, [this] { PopPathPopup(); });
}

void TMainForm::PopPathPopup() {
  if (!Path) return;
  const int N = Path->PointsCount();
  const bool Bezier = Path->BezierMode();
  for (const auto& [Name, Mode] : PathModes) MenuItem(QString::fromLatin1(Name))->setChecked(Path->PathMode() == Mode);
  const auto Enable = [this](const char* Name, bool Value) { MenuItem(QString::fromLatin1(Name))->setEnabled(Value); };
  for (const char* Name : {"PopPathSupprimer", "PopPathModif", "PopPathDeplacer"}) Enable(Name, N > 0);
  Enable("PopPathReset", Bezier && N > 1);
  MenuItem("PopPathClosed")->setChecked(Path->Closed());
  Enable("PopPathClosed", N > 2);
  MenuItem("PopPathBezier")->setChecked(Bezier);
  MenuItem("PopPathSymetric")->setChecked(Path->SymetricBesierPoints());
  Enable("PopPathSymetric", Bezier);
  Enable("PopPathResetAll", Bezier && N > 1);
  Enable("PopPathAntialias", Bezier && N > 2);
  Enable("PopPathToSel", N > 2);
  for (const char* Name : {"PopPathClear", "PopPathSave"}) Enable(Name, N > 1);
  MenuNamed("PopPathTransform")->menuAction()->setEnabled(N > 1);
  const TMyImageLayeredView* View = EnfantActif()->Image;
  MenuItem("PopPathGrid")->setChecked(View->ShowGrid);
  MenuItem("PopPathGridMagnet")->setChecked(View->GridAlign);
}

void TMainForm::StartPathMode(const QString& FileName, int Mode) {
  if (!UneImage() || VerticesMode != 0) return;
  EnfantActif()->Image->UpdatePending();
  AutoSelToPath = false;
  TMyImageLayeredView* View = EnfantActif()->Image;
  auto* P = new TPathOverlay(View);
  Path = P;
  P->ImageMouseEvent = true;
  P->SetPathMode(pmAdd);
  P->OnUpdating = [this](QObject*, TSelOption Option) {
    if (Path && (Option == soChanging || Option == soChanged)) AfficherInfosSelection(Path->BmpBounds(0));
  };
  P->PopupMenu = MenuNamed("PopPath");
  P->MoveCursor = crMov3;
  P->DragCursor = crMov1;
  P->AddCursor = crMoveAdd;
  P->DelCursor = crMoveDel;
  P->ResetCursor = crMov3;
  if (Mode == 2 && Sel()->Visible()) {
    ConvertFromSelection(*P, *Sel(), 33);
    P->SetPathMode(pmEdit);
  }
  MasquerSelection();
  if (FToolHooks) FToolHooks->SetTool(0);
  if (!FileName.isEmpty()) {
    P->LoadFromFile(FileName, {0, 0, LeFond().Width(), LeFond().Height()});
    P->SetPathMode(pmMoveAll);
  }
  if (!FileName.isEmpty() || Mode != 1) {
    FreePathClipboard();
  } else {
    PastePath(*P);
    if (P->PointsCount() > 0) P->SetPathMode(pmEdit);
  }
  FPathShowGrid = View->ShowGrid;
  FPathGridAlign = View->GridAlign;
  VerticesMode = 2;
  P->show();
  AfficherInfosSelection(P->BmpBounds(0));
  EnableHint(false, true, true);
  for (QAction* Item : MenuNamed("PopZoom")->actions()) Item->setEnabled(true);
}

void TMainForm::FreePath() {
  if (!Path) return;
  Path->hide();
  CopyPath(*Path);
  delete Path.data();
  VerticesMode = 0;
  if (UneImage()) {
    TMyImageLayeredView* View = EnfantActif()->Image;
    const bool Repaint = View->ShowGrid != FPathShowGrid;
    View->ShowGrid = FPathShowGrid;
    View->GridAlign = FPathGridAlign;
    if (Repaint) View->PaintAll();
  }
  AfficherInfos();
  EnableHint(true, true, true);
  // The menus and buttons that the mode blocked come back.
  MajMenus();
  MajCurseurImage();
}

bool TMainForm::ConfirmLeavePath() {
  if (!Path || !Path->PathChanged()) return true;
  switch (ShowMsgDlg(Tr(TrId::GetTrDlgPath2), mdkConfirmation, {mdbYes, mdbNo, mdbCancel})) {
  case mrNo: return true;
  case mrYes: return SavePath();
  default: return false;
  }
}

void TMainForm::PathToSelection() {
  ConvertToSelection(*Path, *Sel());
  FreePath();
  AfficherSelection();
}

void TMainForm::AutoPathToSel(bool Ok) {
  if (!Path) return;
  if (Ok) ConvertToSelection(*Path, *Sel());
  FreePath();
  AfficherSelection();
}

bool TMainForm::SavePath() {
  if (!Path) return false;
  QString Name;
  {
    const TQuietPathErrors Quiet;
    Name = SaveFileDialogExt(QStringLiteral(".lmv"), Tr(TrId::PathFormatName), PathDir,
                             CleanMenuCaption(MenuItem("PopPathSave")->text()));
  }
  if (Name.isEmpty()) return false;
  PathDir = QFileInfo(Name).absolutePath();
  return Path->SaveToFile(Name);
}

void TMainForm::PathOpenClick() {
  if (!UneImage()) return;
  QString Name;
  {
    const TQuietPathErrors Quiet;
    Name = OpenFileDialogExt(QStringLiteral(".lmv"), Tr(TrId::PathFormatName), PathDir,
                             CleanMenuCaption(MenuItem("PopPathOpen")->text()));
  }
  if (Name.isEmpty()) return;
  PathDir = QFileInfo(Name).absolutePath();
  if (!Path) {
    StartPathMode(Name, 0);
    return;
  }
  Path->LoadFromFile(Name, {0, 0, LeFond().Width(), LeFond().Height()});
  Path->SetPathMode(pmMoveAll);
}

// ---- The keys of both overlay modes ---------------------------------------------------------------

bool TMainForm::OverlayKeyDown(int Key, Qt::KeyboardModifiers Shift) {
  if (VerticesMode == 1 && VerticesSel) {
    if (Key == Qt::Key_Return || Key == Qt::Key_Enter)
      ValidateLayerDistortion();
    else if (Key == Qt::Key_Escape && !VerticesSel->DraggingVertices())
      CancelLayerDistortion();
    else
      VerticesSel->KeyDown(Key, Shift);
    return true;
  }
  if (VerticesMode == 2 && Path) {
    // Escape outside a drag closes the editor, as "Fermer" does.
    if (Key == Qt::Key_Escape && !Path->DraggingVertices())
      MenuItem("PopPathFermer")->trigger();
    else
      Path->KeyDown(Key, Shift);
    return true;
  }
  return false;
}

bool TMainForm::OverlayKeyUp(int Key, Qt::KeyboardModifiers Shift) {
  if (VerticesMode == 1 && VerticesSel)
    VerticesSel->KeyUp(Key, Shift);
  else if (VerticesMode == 2 && Path)
    Path->KeyUp(Key, Shift);
  else
    return false;
  return true;
}
