#pragma once
// Drives the cooperative threads from the event loop: a pass every few milliseconds while a
// thread is runnable, and no wake-ups at all while none is. The test runner drives the passes
// itself and never starts the pacer.

namespace toolkit {

// Needs the application object to exist; a second call does nothing.
void StartThreadPacer();

}  // namespace toolkit
