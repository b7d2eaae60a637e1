// The one way tests wait: for a condition, never for a fixed time. On a busy
// machine timers, window activation, focus changes and child processes are
// late by seconds, so the timeout is generous: it only stops a test that
// would otherwise hang, and a passing test never waits for it.
#pragma once

#include <QCoreApplication>
#include <QThread>

#include <chrono>
#include <functional>
#include <thread>

inline constexpr std::chrono::milliseconds WaitTimeout{60000};

// Checks Condition until it holds or Timeout has passed; returns whether it
// holds. Between checks the thread's Qt events run (timers, focus, window and
// posted events, deferred deletes) when it is the application's thread.
inline bool WaitUntil(const std::function<bool()>& Condition, std::chrono::milliseconds Timeout = WaitTimeout) {
  const auto Deadline = std::chrono::steady_clock::now() + Timeout;
  for (;;) {
    if (Condition()) return true;
    if (std::chrono::steady_clock::now() >= Deadline) return false;
    const QCoreApplication* App = QCoreApplication::instance();
    if (App && App->thread() == QThread::currentThread()) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}
