#include "tests/tools/stop_signal.h"

#include <signal.h>

#include <cerrno>
#include <system_error>

namespace bussim {
namespace {

volatile std::sig_atomic_t stopFlag = 0;
sigset_t maskWhileWaiting;

void noteStop(int) { stopFlag = 1; }

}  // namespace

void installStopSignals() {
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  if (sigprocmask(SIG_BLOCK, &stopSignals, &maskWhileWaiting) != 0)
    throw std::system_error(errno, std::generic_category(), "sigprocmask");
  sigdelset(&maskWhileWaiting, SIGINT);
  sigdelset(&maskWhileWaiting, SIGTERM);

  struct sigaction action {};
  action.sa_handler = noteStop;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  // A reader of stdout or stderr that has gone away must not end the play.
  std::signal(SIGPIPE, SIG_IGN);
}

bool stopRequested() { return stopFlag != 0; }

const sigset_t* waitMask() { return &maskWhileWaiting; }

}  // namespace bussim
