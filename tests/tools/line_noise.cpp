#include "tests/tools/line_noise.h"

#include <algorithm>

namespace bussim {
namespace {

constexpr int kLongestBurst = 16;
// A burst later than the longest possible run never comes; the cap keeps the conversion in range.
constexpr double kLatestBurstMinutes = 24 * 60;

}  // namespace

LineNoise::LineNoise(std::uint64_t seed, double junkBurstsPerMinute, double corruptProbability)
    : random_(seed), junkBurstsPerMinute_(junkBurstsPerMinute), byteHit_(corruptProbability) {}

std::optional<std::chrono::nanoseconds> LineNoise::delayToNextBurst() {
  if (junkBurstsPerMinute_ <= 0) return std::nullopt;
  std::exponential_distribution<double> minutes(junkBurstsPerMinute_);
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
      std::chrono::duration<double, std::ratio<60>>(
          std::min(minutes(random_), kLatestBurstMinutes)));
}

Frame LineNoise::junkBurst() {
  std::uniform_int_distribution<int> length(1, kLongestBurst);
  std::uniform_int_distribution<int> byte(0, 0xFF);
  Frame burst(static_cast<std::size_t>(length(random_)));
  for (std::uint8_t& value : burst) value = static_cast<std::uint8_t>(byte(random_));
  return burst;
}

bool LineNoise::corrupt(Frame& frame) {
  std::uniform_int_distribution<int> bit(0, 7);
  bool hit = false;
  for (std::uint8_t& value : frame) {
    if (!byteHit_(random_)) continue;
    value = static_cast<std::uint8_t>(value ^ (1u << bit(random_)));
    hit = true;
  }
  return hit;
}

}  // namespace bussim
