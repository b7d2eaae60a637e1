#include "extensions/ui/Pe.h"

#include "document/MyImageLayered.h"
#include "document/ui/MyCustomImage.h"
#include "extensions/FullScreenRules.h"
#include "i18n/LibLang.h"
#include "raster/FoncUtils.h"
#include "ui/MsgDlg.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QTimer>
#include <QWheelEvent>

namespace {

TPeForm* TheForm = nullptr;

QString Css(TColor C) {
  const TColor R = ColorToRGB(C);
  return QStringLiteral("rgb(%1,%2,%3)").arg(GetRValue(R)).arg(GetGValue(R)).arg(GetBValue(R));
}

} // namespace

TPeForm::TPeForm(TFullScreenHost& Host, QWidget* Parent) : TDialogFormEx(Parent), FHost(Host) {
  setObjectName(QStringLiteral("PeForm"));
  setWindowTitle(QStringLiteral("Plein écran"));
  setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
  if (const QScreen* Screen = QGuiApplication::primaryScreen()) setGeometry(Screen->geometry());
  FPnlInfos = new QLabel(this);
  FPnlInfos->setObjectName(QStringLiteral("PnlInfos"));
  FPnlInfos->setFixedHeight(fontMetrics().boundingRect(QLatin1Char('M')).height() + 8);
  FPnlInfos->setMouseTracking(true);
  FPnlInfos->installEventFilter(this);
  FPnlInfos->hide();
  CreateMenu();
  SetColor(clBlack);
  FTimer = new QTimer(this);
  FTimer->setInterval(337);
  connect(FTimer, &QTimer::timeout, this, &TPeForm::TimerTimer);
  setMouseTracking(true);
  TheForm = this;
}

TPeForm::~TPeForm() {
  ShowCursorAgain();
  if (TheForm == this) TheForm = nullptr;
}

void TPeForm::CreateMenu() {
  FPopPe = new QMenu(this);
  FPopPe->setObjectName(QStringLiteral("PopPe"));
  const bool Module = TranslationLoaded();
  const auto Add = [this](QMenu* Menu, const char* Name, const QString& Caption, bool Checkable) {
    QAction* Item = Menu->addAction(Caption);
    Item->setObjectName(QString::fromLatin1(Name));
    Item->setCheckable(Checkable);
    return Item;
  };
  // The item ticks itself; Enter and Space tick it through PopPeDiaporamaClick.
  connect(Add(FPopPe, "PopPeDiaporama", Module ? Tr(TrId::GetTrLblDiaporama) : QStringLiteral("Diaporama"), true),
          &QAction::triggered, this, [this] { FStartDateDelay = Now(); });
  QMenu* Delays = FPopPe->addMenu(Module ? Tr(TrId::GetTrLblDelay) : QStringLiteral("Durée"));
  Delays->menuAction()->setObjectName(QStringLiteral("PopPeDelay"));
  auto* Group = new QActionGroup(this);
  const int Seconds[] = {1, 2, 3, 4, 6, 10};
  for (int I = 0; I < 6; ++I) {
    const QByteArray Name = "PopPeDelay" + QByteArray::number(I + 1);
    QAction* Item = Add(Delays, Name.constData(), QStringLiteral("%1 s").arg(Seconds[I]), true);
    Item->setProperty("Tag", Seconds[I]);
    Item->setActionGroup(Group);
    Item->setChecked(Seconds[I] == 3);
    connect(Item, &QAction::triggered, this, [this, S = Seconds[I]] { FDelay = S; });
  }
  QAction* Loop = Add(FPopPe, "PopPeLoop", Module ? Tr(TrId::GetTrLblLoop) : QStringLiteral("Boucler"), true);
  Loop->setChecked(true);
  connect(Loop, &QAction::triggered, this, [this](bool On) { FHost.SetLoopNavig(On); });
  connect(Add(FPopPe, "PopPeInfos", Module ? Tr(TrId::GetTrMnuInformations) : QStringLiteral("Informations"), true),
          &QAction::triggered, this, [this](bool On) {
            FPnlInfos->setVisible(On);
            RefreshView(false);
          });
  connect(Add(FPopPe, "PopPeFond", Module ? FormatCaption(Tr(TrId::GetTrLblBkg), 1) : QStringLiteral("Fond..."), false),
          &QAction::triggered, this, [this] { PopPeFondClick(); });
  connect(Add(FPopPe, "PopPeExit", Module ? Tr(TrId::GetTrMnuExit) : QStringLiteral("Quitter"), false),
          &QAction::triggered, this, &QDialog::accept);
  // While a menu is open the timer does nothing and the cursor stays.
  for (QMenu* Menu : {FPopPe, Delays}) {
    connect(Menu, &QMenu::aboutToShow, this, [this] {
      ShowCursorAgain();
      FPopVisible = true;
    });
    connect(Menu, &QMenu::aboutToHide, this, [this] {
      FStartDateCur = Now();
      FPopVisible = false;
    });
  }
}

QAction* TPeForm::Item(const char* Name) const { return findChild<QAction*>(QString::fromLatin1(Name)); }

bool TPeForm::IsSlideShowRunning() const { return isVisible() && Item("PopPeDiaporama")->isChecked(); }

void TPeForm::StopSlideShow() {
  if (!IsSlideShowRunning()) return;
  Item("PopPeDiaporama")->setChecked(false);
  ShowCursorAgain();
}

void TPeForm::SetColor(TColor Color) {
  FColor = Color;
  setStyleSheet(QStringLiteral("TPeForm { background: %1; }").arg(Css(Color)));
  FPnlInfos->setStyleSheet(
      QStringLiteral("QLabel { background: %1; color: %2; }").arg(Css(Color), Css(FullScreenInfoTextColor(Color))));
  if (FView) FView->SetColor(Color);
}

void TPeForm::CreateViewer() {
  FView = new TMyCustomImage(this);
  FView->setObjectName(QStringLiteral("PeImage"));
  FView->Centered = true;
  FView->SetOptimizeMode(omReduction);
  FView->SetMarge(0);
  FView->SetShadowSize(0);
  FView->SetColor(FColor);
  FView->KeyScroll = false;
  FView->setFrameShape(QFrame::NoFrame);
  FView->OnMouseDown = [this](QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { ShowCursorAgain(); };
  FView->OnMouseMove = [this](QObject*, Qt::MouseButtons, Qt::KeyboardModifiers, int, int) { ShowCursorAgain(); };
  // The form handles the keys and the wheel, the view only shows.
  FView->installEventFilter(this);
  FView->viewport()->installEventFilter(this);
  FView->viewport()->setMouseTracking(true);
  FView->show();
}

void TPeForm::RefreshView(bool Reload) {
  if (!FView) return;
  const int InfoHeight = FPnlInfos->isVisible() ? FPnlInfos->height() : 0;
  FPnlInfos->setGeometry(0, height() - FPnlInfos->height(), width(), FPnlInfos->height());
  FView->setGeometry(0, 0, width(), height() - InfoHeight);
  if (Reload) {
    if (TMyImageLayered* Image = FHost.ActiveImage()) {
      Image->BackColor = FColor;
      Image->MergeLayersForPreview(false);
      FView->Bitmap().Assign(Image->Bitmap());
      FView->BitmapChanged();
    }
  }
  FView->AutoZoom();
  if (FView->Zoom() > 1) FView->SetZoom(FullScreenZoom(FView->Zoom()));
  FView->PaintAll();
  if (Item("PopPeInfos")->isChecked()) UpdateInfo();
}

void TPeForm::UpdateInfo() {
  const TBitmap& B = FView->Bitmap();
  FPnlInfos->setText(FullScreenInfoText(FHost.ActiveFileName(), B.Width(), B.Height(), FView->Zoom()));
}

void TPeForm::showEvent(QShowEvent* Event) {
  TDialogFormEx::showEvent(Event);
  if (const QScreen* Screen = this->screen()) setGeometry(Screen->geometry());
  CreateViewer();
  FPnlInfos->raise();
  RefreshView(true);
  Item("PopPeDiaporama")->setEnabled(FHost.ActiveFromFile() && !FHost.ActiveModified());
  FHost.SetLoopNavig(Item("PopPeLoop")->isChecked());
  FStartDateCur = Now();
  FTimer->start();
}

void TPeForm::hideEvent(QHideEvent* Event) {
  delete FView;
  FView = nullptr;
  if (TMyImageLayered* Image = FHost.ActiveImage()) {
    Image->BackColor = clWhite;
    Image->MergeLayersForPreview(false);
  }
  FTimer->stop();
  FHost.SetLoopNavig(false);
  ShowCursorAgain();
  Item("PopPeDiaporama")->setChecked(false);
  TDialogFormEx::hideEvent(Event);
}

void TPeForm::TimerTimer() {
  if (FPopVisible) return;
  const QDateTime T = Now();
  if (IsMsgDlgShowing()) {
    // The slide waits while a message is read.
    ShowCursorAgain();
    FStartDateDelay = T;
    return;
  }
  if (CursorIdle(FStartDateCur, T)) HideCursor();
  if (Item("PopPeDiaporama")->isChecked() && SlideDelayElapsed(FStartDateDelay, T, FDelay) && !FHost.Navigating()) {
    FStartDateDelay = T;
    if (FHost.ActiveFromFile()) {
      FHost.Navigate(TNavigation::Next);
      RefreshView(true);
    }
  }
}

void TPeForm::HideCursor() {
  if (!FCursorVisible) return;
  FCursorVisible = false;
  QApplication::setOverrideCursor(Qt::BlankCursor);
}

void TPeForm::ShowCursorAgain() {
  if (FCursorVisible) return;
  QApplication::restoreOverrideCursor();
  FCursorVisible = true;
  FStartDateCur = Now();
}

void TPeForm::Step(TNavigation Direction) {
  if (FHost.Navigating() || !FHost.ActiveFromFile()) return;
  FHost.Navigate(Direction);
  RefreshView(true);
}

void TPeForm::PopPeDiaporamaClick() {
  // Also when the item is disabled (an image not from a file, or changed):
  // the key still ticks it, the steps then never come or ask first.
  QAction* Slides = Item("PopPeDiaporama");
  Slides->setChecked(!Slides->isChecked());
  FStartDateDelay = Now();
}

void TPeForm::PopPeFondClick() {
  ShowCursorAgain();
  FPopVisible = true;
  TColor Color = FColor;
  if (FHost.ChooseColor(Color)) {
    SetColor(Color);
    RefreshView(true);
  }
  FStartDateCur = Now();
  FPopVisible = false;
}

void TPeForm::keyPressEvent(QKeyEvent* Event) {
  switch (Event->key()) {
  case Qt::Key_Escape:
    accept();
    return;
  case Qt::Key_Return:
  case Qt::Key_Enter:
  case Qt::Key_Space:
    PopPeDiaporamaClick();
    return;
  case Qt::Key_PageDown:
    Step(TNavigation::Next);
    return;
  case Qt::Key_PageUp:
    Step(TNavigation::Previous);
    return;
  case Qt::Key_Home:
    Step(TNavigation::First);
    return;
  case Qt::Key_End:
    Step(TNavigation::Last);
    return;
  default:
    TDialogFormEx::keyPressEvent(Event);
  }
}

void TPeForm::mousePressEvent(QMouseEvent* Event) {
  ShowCursorAgain();
  TDialogFormEx::mousePressEvent(Event);
}

void TPeForm::mouseMoveEvent(QMouseEvent* Event) {
  ShowCursorAgain();
  TDialogFormEx::mouseMoveEvent(Event);
}

void TPeForm::wheelEvent(QWheelEvent* Event) {
  Event->accept();
  if (FHost.Navigating()) return;
  const int Delta = Event->angleDelta().y();
  if (Delta == 0) return;
  FHost.Navigate(Delta < 0 ? TNavigation::Next : TNavigation::Previous);
  RefreshView(true);
}

void TPeForm::contextMenuEvent(QContextMenuEvent* Event) { FPopPe->exec(Event->globalPos()); }

bool TPeForm::eventFilter(QObject* Watched, QEvent* Event) {
  switch (Event->type()) {
  case QEvent::KeyPress:
    keyPressEvent(static_cast<QKeyEvent*>(Event));
    return true;
  case QEvent::Wheel:
    wheelEvent(static_cast<QWheelEvent*>(Event));
    return true;
  case QEvent::MouseButtonPress:
  case QEvent::MouseMove:
    ShowCursorAgain();
    break;
  default:
    break;
  }
  return TDialogFormEx::eventFilter(Watched, Event);
}

bool IsFullScreen() { return TheForm && TheForm->isVisible(); }

bool IsSlideShowRunning() { return TheForm && TheForm->IsSlideShowRunning(); }

void StopSlideShow() {
  if (TheForm) TheForm->StopSlideShow();
}
