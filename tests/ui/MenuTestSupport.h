// Driving a popup menu that a control runs modally: the action is queued
// before the control opens the menu and runs on the open menu, as a person
// would act on it.
#pragma once

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <functional>

// Runs Act on the first popup menu that opens (polled, so that it runs
// inside the menu's own loop). A menu that never opens leaves Act unrun.
inline void WhenMenuOpens(std::function<void(QMenu*)> Act) {
  auto* Timer = new QTimer;
  Timer->setInterval(5);
  QObject::connect(Timer, &QTimer::timeout, Timer, [Timer, Act] {
    if (auto* Menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
      Timer->stop();
      Timer->deleteLater();
      Act(Menu);
    }
  });
  QObject::connect(Timer, &QTimer::timeout, Timer, [Timer, Started = 0]() mutable {
    if (++Started > 400) Timer->deleteLater(); // two seconds without a menu
  });
  Timer->start();
}

// Picks the item of that text with the keyboard: highlight, then Enter.
inline void PickMenuItem(QMenu* Menu, const QString& Text) {
  for (QAction* A : Menu->actions())
    if (A->text() == Text) {
      Menu->setActiveAction(A);
      QTest::keyClick(Menu, Qt::Key_Return);
      return;
    }
  QTest::keyClick(Menu, Qt::Key_Escape);
}
