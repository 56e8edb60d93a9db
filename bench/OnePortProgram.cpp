// hydromon_on_port PORT [raw-data | hpu-eeprom [PASSES]]: the real program (Qt's event loop,
// real clocks, the real serial path, the user's Documents folder) with PORT as the system's only
// serial port, as when the bus adapter is the one plugged in; a pseudo-terminal never shows in
// the system's own list. Once the port list has been read, the user's click on Connect is made.
// With "raw-data" the user then brings the page "Raw data" to the front, so the trace is on
// screen. With "hpu-eeprom" the user then chooses HPU > EEPROM (a hidden item, chosen by its
// name); with PASSES as well, the program prints the durations of that many passes of the HPU
// window's read and quits.
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "bench/HpuPassWatch.h"
#include "monitor/WindowMain.h"
#include "tests/support/OnePortSerialSystem.h"
#include "tests/support/program/StartedProgram.h"
#include "toolkit/Application.h"

namespace {

constexpr int kConnectAfterMilliseconds = 1500;  // the port list is read every 500 ms

enum class AfterConnect { Nothing, ShowTrace, OpenHpuWindow };

struct Options {
  std::string port;
  AfterConnect after = AfterConnect::Nothing;
  int hpuPasses = 0;  // 0: the program runs until it is stopped
};

std::optional<Options> ParseOptions(int argc, char** argv) {
  if (argc < 2 || argc > 4) return std::nullopt;
  Options options{argv[1]};
  if (argc == 2) return options;
  const std::string action = argv[2];
  if (action == "raw-data" && argc == 3) {
    options.after = AfterConnect::ShowTrace;
    return options;
  }
  if (action != "hpu-eeprom") return std::nullopt;
  options.after = AfterConnect::OpenHpuWindow;
  if (argc == 4) {
    options.hpuPasses = std::atoi(argv[3]);
    if (options.hpuPasses < 1) return std::nullopt;
  }
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<Options> options = ParseOptions(argc, argv);
  if (!options) {
    std::fprintf(stderr, "usage: hydromon_on_port PORT [raw-data | hpu-eeprom [PASSES]]\n");
    return 2;
  }
  toolkit::InstallSerialSystem(std::make_unique<testing_support::OnePortSerialSystem>(options->port));
  // The steps of RunProgram, with the click armed once Qt runs.
  if (!toolkit::runtime::RuntimeInit(argc, argv)) return 1;
  std::unique_ptr<HpuPassWatch> passWatch;
  QTimer::singleShot(kConnectAfterMilliseconds, [&options = *options, &passWatch] {
    toolkit::Ref<WindowMain> window = single::WindowMain();
    window->ConnectButton()->Push();
    if (options.after == AfterConnect::ShowTrace) window->TabPanel1()->SetValue(1);
    if (options.after != AfterConnect::OpenHpuWindow) return;
    if (options.hpuPasses > 0) passWatch = std::make_unique<HpuPassWatch>(options.hpuPasses);
    // Modal: returns once the window has closed.
    window->ChooseMenuItem("HPUEEPROM");
  });
  {
    const program_fixtures::StartedProgram program;  // runs until the program quits
  }
  return toolkit::runtime::RuntimeExit();
}
