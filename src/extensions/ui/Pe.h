// The full-screen view: the active image alone on the whole screen, over a
// plain colour, stepping through the images of its folder by key, wheel or
// as a slide show.
#pragma once

#include "extensions/ui/FullScreenHost.h"
#include "ui/DialogFormEx.h"

#include <QDateTime>

#include <functional>

class QAction;
class QLabel;
class QMenu;
class QTimer;
class TMyCustomImage;

class TPeForm : public TDialogFormEx {
  Q_OBJECT
public:
  explicit TPeForm(TFullScreenHost& Host, QWidget* Parent = nullptr);
  ~TPeForm() override;

  // Full screen and the slide show ticked.
  bool IsSlideShowRunning() const;
  // Unticks the slide show and shows the cursor again (a load error must be
  // seen).
  void StopSlideShow();

  // The view, the popup menu and its items, the information bar: for the
  // main window's look and for tests.
  TMyCustomImage* View() const { return FView; }
  QMenu* PopPe() const { return FPopPe; }
  QAction* Item(const char* Name) const;
  QLabel* PnlInfos() const { return FPnlInfos; }
  TColor BackgroundColor() const { return FColor; }
  int Delay() const { return FDelay; }
  bool CursorVisible() const { return FCursorVisible; }

  // Every 337 ms while shown: hides an idle cursor, steps the slide show.
  void TimerTimer();
  // The clock the timer reads (tests set their own).
  std::function<QDateTime()> Now = [] { return QDateTime::currentDateTime(); };

protected:
  void showEvent(QShowEvent* Event) override;
  void hideEvent(QHideEvent* Event) override;
  void keyPressEvent(QKeyEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseMoveEvent(QMouseEvent* Event) override;
  void wheelEvent(QWheelEvent* Event) override;
  void contextMenuEvent(QContextMenuEvent* Event) override;
  bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
  void CreateMenu();
  void CreateViewer();
  void RefreshView(bool Reload);
  void UpdateInfo();
  void HideCursor();
  void ShowCursorAgain();
  // A step through the folder, when none runs and the image is a file's.
  void Step(TNavigation Direction);
  void PopPeDiaporamaClick();
  void PopPeFondClick();
  void SetColor(TColor Color);

  TFullScreenHost& FHost;
  TMyCustomImage* FView = nullptr;
  QMenu* FPopPe = nullptr;
  QLabel* FPnlInfos = nullptr;
  QTimer* FTimer = nullptr;
  TColor FColor = clBlack;
  int FDelay = 3;
  bool FCursorVisible = true;
  bool FPopVisible = false;
  QDateTime FStartDateDelay;
  QDateTime FStartDateCur;
};

// The full-screen form exists and is shown.
bool IsFullScreen();
// Full screen with the slide show running.
bool IsSlideShowRunning();
void StopSlideShow();
