#pragma once
// The program started as the scenario runner starts it (test seams, offscreen widgets), its
// main window connected to the in-memory port "COM1".
#include "app/Startup.h"
#include "monitor/WindowMain.h"
#include "tests/support/TestEnvironment.h"
#include "toolkit/Application.h"

namespace load_testing {

class ConnectedProgram {
 public:
  ConnectedProgram() {
    PerformInitializers();
    Main();
    window = single::WindowMain();
    environment.serial.SetPorts({"COM1"});
    window->PortListUpdater_Action(*window->PortListUpdater());
    window->ConnectButton()->Push();
  }
  ~ConnectedProgram() {
    window = nullptr;
    toolkit::runtime::RuntimePerformFinalizers();
  }
  ConnectedProgram(const ConnectedProgram&) = delete;
  ConnectedProgram& operator=(const ConnectedProgram&) = delete;

  testing_support::MemoryLine& Line() { return environment.serial.Line(); }

  testing_support::TestEnvironment environment;
  toolkit::Ref<WindowMain> window;
};

}  // namespace load_testing
