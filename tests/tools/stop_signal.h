#pragma once
// SIGINT and SIGTERM end the play. Both stay blocked except inside a wait (ppoll with
// waitMask()), so a stop that arrives between the check and the wait cannot be missed.
#include <csignal>

namespace bussim {

void installStopSignals();
bool stopRequested();
const sigset_t* waitMask();

}  // namespace bussim
