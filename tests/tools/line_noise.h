#pragma once
// Disturbances of the simulated line: bursts of junk bytes between frames, at random times,
// and single flipped bits inside frames. One seeded generator makes a run repeatable.
#include <chrono>
#include <cstdint>
#include <optional>
#include <random>

#include "tests/tools/bus_frames.h"

namespace bussim {

class LineNoise {
 public:
  LineNoise(std::uint64_t seed, double junkBurstsPerMinute, double corruptProbability);

  // Time until the next junk burst (bursts come as a Poisson process); none without junk.
  std::optional<std::chrono::nanoseconds> delayToNextBurst();

  Frame junkBurst();

  // Flips one random bit of each byte picked with the corruption probability.
  // Returns whether any byte was hit.
  bool corrupt(Frame& frame);

 private:
  std::mt19937_64 random_;
  double junkBurstsPerMinute_;
  std::bernoulli_distribution byteHit_;
};

}  // namespace bussim
