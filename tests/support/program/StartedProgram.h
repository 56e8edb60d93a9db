#pragma once
// The program's start and finish as its entry point makes them, for tests and tools that run it
// in their own process. Install the seams first: a TestEnvironment, or the real ones.
#include "app/Startup.h"
#include "toolkit/Application.h"

namespace program_fixtures {

// The runtime's initialisers now, and its finalisers, which let go of the menu bar and of every
// window, when this goes; the start routine is the owner's to run.
class ProgramLifetime {
 public:
  ProgramLifetime() { PerformInitializers(); }
  ~ProgramLifetime() { toolkit::runtime::RuntimePerformFinalizers(); }
  ProgramLifetime(const ProgramLifetime&) = delete;
  ProgramLifetime& operator=(const ProgramLifetime&) = delete;
};

// The same with the start routine run: the menu bar and the main window are made, and the event
// loop has run (the test seams' loop returns at once, Qt's once the program quits).
class StartedProgram : public ProgramLifetime {
 public:
  StartedProgram() { Main(); }
};

}  // namespace program_fixtures
