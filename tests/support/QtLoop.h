#pragma once
// Waits in Qt's event loop, for tests that need real timers or real input to happen.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <functional>

namespace testing_support {

// Handles events for the given time, spinning without sleep.
inline void RunQtLoopFor(int milliseconds) {
  QElapsedTimer waited;
  waited.start();
  while (waited.elapsed() < milliseconds) QCoreApplication::processEvents();
}

// Runs the event loop until done() holds, checked every pollEvery, or the time is up; gives
// done(). The loop sleeps between events, so the wait costs next to no CPU.
inline bool RunQtLoopUntil(const std::function<bool()>& done, std::chrono::milliseconds timeLimit,
                           std::chrono::milliseconds pollEvery) {
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (done()) loop.quit();
  });
  poll.start(pollEvery);
  QTimer::singleShot(timeLimit, &loop, &QEventLoop::quit);
  if (!done()) loop.exec();
  return done();
}

}  // namespace testing_support
