#pragma once
// The simulator's command line.
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tests/tools/bus_frames.h"

namespace bussim {

struct SimulatorOptions {
  std::chrono::milliseconds converterPeriod{250};
  std::optional<std::chrono::milliseconds> converterStopAfter;  // none: to the end
  ConverterWords converterWords{};
  std::chrono::milliseconds hpuPeriod{0};  // 0: no HPU data frames
  HpuReading hpuReading{1234, 255, 15};
  unsigned rampSteps = 0;  // under 2: the same words in every frame
  ParameterImage image{};
  double junkBurstsPerMinute = 0;
  double corruptProbability = 0;  // per byte of every frame
  std::uint64_t seed = 1;
  std::chrono::milliseconds duration{10'000};
  bool saturate = false;
  bool answerRequests = true;  // false: an HPU that never answers a read request
  bool helpRequested = false;

  bool hpuPresent() const { return hpuPeriod.count() > 0; }
};

// Throws std::invalid_argument naming the offending option.
SimulatorOptions parseOptions(const std::vector<std::string>& arguments);

std::string usageText();

}  // namespace bussim
