// hydromon_on_port PORT [raw-data]: the real program (Qt's event loop, real clocks, the real serial path,
// the user's Documents folder) with PORT as the system's only serial port, as when the bus
// adapter is the one plugged in; a pseudo-terminal never shows in the system's own list. Once
// the port list has been read, the user's click on Connect is made, and with "raw-data" the
// user then brings the page "Raw data" to the front, so the trace is on screen.
#include <QTimer>
#include <cstdio>
#include <memory>
#include <string>

#include "app/Startup.h"
#include "monitor/WindowMain.h"
#include "tests/support/OnePortSerialSystem.h"
#include "toolkit/Application.h"

namespace {

constexpr int kConnectAfterMilliseconds = 1500;  // the port list is read every 500 ms

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || (argc == 3 && std::string(argv[2]) != "raw-data") || argc > 3) {
    std::fprintf(stderr, "usage: hydromon_on_port PORT [raw-data]\n");
    return 2;
  }
  const bool showTrace = argc == 3;
  toolkit::InstallSerialSystem(std::make_unique<testing_support::OnePortSerialSystem>(argv[1]));
  // The steps of RunProgram, with the click armed once Qt runs.
  if (!toolkit::runtime::RuntimeInit(argc, argv)) return 1;
  QTimer::singleShot(kConnectAfterMilliseconds, [showTrace] {
    toolkit::Ref<WindowMain> window = single::WindowMain();
    window->ConnectButton()->Push();
    if (showTrace) window->TabPanel1()->SetValue(1);
  });
  PerformInitializers();
  Main();
  toolkit::runtime::RuntimePerformFinalizers();
  return toolkit::runtime::RuntimeExit();
}
