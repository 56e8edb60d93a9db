#pragma once
// The program started as the scenario runner starts it (test seams, offscreen widgets), its
// main window connected to the in-memory port "COM1".
#include "monitor/WindowMain.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/program/StartedProgram.h"

namespace program_fixtures {

class ConnectedProgram {
 public:
  ConnectedProgram() : window(single::WindowMain()) {
    environment.serial.SetPorts({"COM1"});
    window->PortListUpdater_Action(*window->PortListUpdater());
    window->ConnectButton()->Push();
  }
  ConnectedProgram(const ConnectedProgram&) = delete;
  ConnectedProgram& operator=(const ConnectedProgram&) = delete;

  testing_support::MemoryLine& Line() { return environment.serial.Line(); }

  testing_support::TestEnvironment environment;
  StartedProgram program;
  toolkit::Ref<WindowMain> window;  // let go of before the program finishes
};

}  // namespace program_fixtures
