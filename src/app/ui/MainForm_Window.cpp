// The window menu's commands of the main window, and its list of image
// windows.
#include "app/ui/MainForm.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

void TMainForm::MenuFenetreCascadeClick() {
  // Each window is sized to its image again in its cascade place, and
  // follows the zoom from now on.
  FMdiArea->setUpdatesEnabled(false);
  for (TNewImgForm* W : ImageWindows())
    if (!W->isMinimized()) W->showNormal();
  CascadeImageWindows();
  LockImageWindowRects(false);
  FMdiArea->setUpdatesEnabled(true);
  RestaureZoom();
  AfficherInfos();
}

namespace {

// The windows that are not minimised share the area: one row each (Rows) or
// one column each, in list order.
void TileNormalWindows(QMdiArea& Area, bool Rows) {
  std::vector<TNewImgForm*> Windows;
  for (TNewImgForm* W : ImageWindows())
    if (!W->isMinimized()) Windows.push_back(W);
  if (Windows.empty()) return;
  const QRect R = Area.viewport()->rect();
  const int N = static_cast<int>(Windows.size());
  for (int I = 0; I < N; ++I) {
    Windows[I]->showNormal();
    if (Rows)
      Windows[I]->setGeometry(0, R.height() * I / N, R.width(), R.height() * (I + 1) / N - R.height() * I / N);
    else
      Windows[I]->setGeometry(R.width() * I / N, 0, R.width() * (I + 1) / N - R.width() * I / N, R.height());
  }
}

// The tiled windows keep their rectangles when the zoom changes, until
// Control is held during a zoom.
void TileWindows(TMainForm& Form, bool Rows) {
  QMdiArea& Area = *Form.MdiArea();
  Area.setUpdatesEnabled(false);
  TileNormalWindows(Area, Rows);
  TileImageWindows();
  LockImageWindowRects(true);
  Area.setUpdatesEnabled(true);
  Form.RestaureZoom();
  Form.AfficherInfos();
}

} // namespace

void TMainForm::MenuFenetreMosaiqueHClick() { TileWindows(*this, true); }

void TMainForm::MenuFenetreMosaiqueVClick() { TileWindows(*this, false); }

void TMainForm::MenuFenetreReduireClick() {
  const std::vector<TNewImgForm*> Windows = ImageWindows();
  for (auto It = Windows.rbegin(); It != Windows.rend(); ++It) (*It)->showMinimized();
}

void TMainForm::MenuFenetreRestaureClick() {
  const std::vector<TNewImgForm*> Windows = ImageWindows();
  for (TNewImgForm* W : Windows) W->showNormal();
}

void TMainForm::UpdateWindowMenu() {
  // The image windows list themselves after the separator; the commands
  // need a window and no dialog.
  const bool Any = !ImageWindows().empty();
  MenuItem("ImgSep")->setVisible(Any);
  for (const char* Name : {"MenuFenetreCascade", "MenuFenetreMosaiqueH", "MenuFenetreMosaiqueV", "MenuFenetreReduire",
                           "MenuFenetreRestaure"})
    EnableCommand(Name, Any && !FDialogueForm);
}
