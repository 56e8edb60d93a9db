#include "toolkit/Clock.h"

#include <cmath>
#include <limits>

#include "toolkit/Seams.h"

namespace toolkit {

namespace {

// A whole count wrapped to 32 bits two's complement, as the hardware's counters wrap. The
// modulo runs on doubles, so no conversion ever sees a value out of its range.
int32_t WrapToInt32(double count) {
  constexpr double kModulus = 4294967296.0;  // 2^32
  if (!std::isfinite(count)) return 0;
  double wrapped = std::fmod(std::floor(count), kModulus);
  if (wrapped < 0) wrapped += kModulus;
  return static_cast<int32_t>(static_cast<uint32_t>(wrapped));
}

}  // namespace

double Microseconds() { return Clock().Microseconds(); }

int32_t Ticks() { return WrapToInt32(Microseconds() * 60.0 / 1e6); }

int32_t MillisecondStamp() { return WrapToInt32(Microseconds() / 1000.0); }

int32_t StampDifference(int32_t now, int32_t then) {
  return static_cast<int32_t>(static_cast<uint32_t>(now) - static_cast<uint32_t>(then));
}

int64_t StampAge(int32_t now, int32_t then) {
  const int32_t difference = StampDifference(now, then);
  return difference >= 0 ? difference : std::numeric_limits<int64_t>::max();
}

}  // namespace toolkit
