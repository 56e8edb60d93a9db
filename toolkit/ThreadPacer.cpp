#include "toolkit/ThreadPacer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include "toolkit/Threads.h"

namespace toolkit {

namespace {

// A worker waiting out a tick count is resumed at every wake-up, and the wake-ups are most of
// what it costs. Just under a tick (16.7 ms), it still sees every tick; with the runs below a
// finer pace buys no speed, only wake-ups.
constexpr int kPaceMilliseconds = 16;
// A wake-up runs passes back to back while a thread stays runnable, so that a short run of
// yields (a checksum yields at every byte) costs one wake-up, not one a yield. The count keeps
// a worker that only reads the clock and yields cheap, as a pass of it does next to nothing;
// the slice keeps the event loop's own events from waiting behind a thread's heavier steps.
constexpr int kPassesPerWakeUp = 32;
constexpr qint64 kSliceNanoseconds = 2'000'000;

void RunPassesBackToBack() {
  QElapsedTimer slice;
  slice.start();
  for (int pass = 0; pass < kPassesPerWakeUp && HasRunnableThreads() && slice.nsecsElapsed() < kSliceNanoseconds;
       ++pass)
    RunCooperativeThreads();
}

}  // namespace

void StartThreadPacer() {
  static QPointer<QTimer> pacer;
  if (!pacer) {
    // Owned by the application object, so that it never outlives Qt.
    auto* timer = new QTimer(QCoreApplication::instance());
    timer->setInterval(kPaceMilliseconds);
    QObject::connect(timer, &QTimer::timeout, timer, [timer] {
      RunPassesBackToBack();
      if (!HasRunnableThreads()) timer->stop();
    });
    pacer = timer;
  }
  SetRunnableHook([] {
    if (pacer && !pacer->isActive()) pacer->start();
  });
  if (HasRunnableThreads()) pacer->start();
}

}  // namespace toolkit
