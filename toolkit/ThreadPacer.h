#pragma once
// Drives the cooperative threads from the event loop: every few milliseconds while a thread is
// runnable, a short run of passes back to back; no wake-ups at all while none is. The test
// runner drives the passes itself and never starts the pacer.

namespace toolkit {

// Needs the application object to exist. A second call keeps the one pacer and hooks it up
// again to the threads becoming runnable.
void StartThreadPacer();

}  // namespace toolkit
