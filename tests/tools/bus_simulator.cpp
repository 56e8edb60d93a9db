// Plays the serial bus for end-to-end tests and measurements: the converter's and the HPU's
// data frames and the HPU's answers to read requests, on a pseudo-terminal whose port path is
// the first line on stdout. A summary line goes to stderr at the end.
#include <cstdio>
#include <exception>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/tools/bus_player.h"
#include "tests/tools/pty_line.h"
#include "tests/tools/simulator_options.h"
#include "tests/tools/stop_signal.h"

namespace {

void announcePort(const std::string& path) {
  std::printf("%s\n", path.c_str());
  std::fflush(stdout);
  // Nothing else goes to stdout: let go of it, so a reader waiting for its end isn't held
  // for the whole run.
  if (std::freopen("/dev/null", "w", stdout) == nullptr) std::perror("bus_simulator: /dev/null");
}

void printSummary(const bussim::PlayCounters& counters) {
  std::fprintf(
      stderr,
      "bus_simulator: converter_frames=%u hpu_frames=%u requests_answered=%u requests_ignored=%u "
      "junk_bursts=%u corrupted_frames=%u unread_bytes_dropped=%zu\n",
      counters.converterFrames, counters.hpuFrames, counters.requestsAnswered,
      counters.requestsIgnored, counters.junkBursts, counters.corruptedFrames,
      counters.unreadBytesDropped);
}

}  // namespace

int main(int argc, char** argv) {
  bussim::SimulatorOptions options;
  try {
    options = bussim::parseOptions(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::invalid_argument& error) {
    std::cerr << "bus_simulator: " << error.what() << '\n' << bussim::usageText();
    return 2;
  }
  if (options.helpRequested) {
    std::cout << bussim::usageText();
    return 0;
  }

  try {
    bussim::installStopSignals();
    const bussim::PtyLine line;
    announcePort(line.portPath());
    bussim::BusPlayer player(options, line);
    printSummary(player.play());
    return 0;
  } catch (const std::exception& error) {
    std::cerr << "bus_simulator: " << error.what() << '\n';
    return 1;
  }
}
