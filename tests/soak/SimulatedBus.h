#pragma once
// A day of bus traffic as the runner's millisecond clock sees it: the converter's data frame
// every 250 ms, the HPU's every 500 ms (right behind the converter's when both are due), junk
// bursts at random, and single flipped bits in frame bytes. Transmissions take the line one
// after the other at 9600 bit/s 8N1, so a byte arrives 25/24 ms after the one before it.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tests/tools/bus_frames.h"
#include "tests/tools/line_noise.h"

namespace soak {

// What a frame carries, in the units the display shows; every frame's values differ a little.
struct ConverterReading {
  double hydroVolts = 0, batteryVolts = 0, chargingAmps = 0, boxCelsius = 0;
  int32_t rpm = 0;
};
struct HpuReading {
  double bar = 0;
  std::string mode, pitch;
};

struct Transmission {
  enum class Kind { Converter, Hpu, Junk };
  Kind kind = Kind::Junk;
  bool intact = true;  // no byte corrupted
  bool clean = false;  // sent in the clean stretch
  std::optional<ConverterReading> converter;
  std::optional<HpuReading> hpu;
};

class SimulatedBus {
 public:
  struct Settings {
    uint64_t seed = 1;
    double junkBurstsPerMinute = 0;
    double corruptProbability = 0;
    int64_t startMs = 0;       // the first frames go out then
    int64_t cleanFromMs = 0;   // no noise from here on, after a settling minute before it
  };
  explicit SimulatedBus(const Settings& settings);

  // The bytes that have wholly arrived by nowMs (in order), and the transmissions whose last
  // byte was among them.
  std::string ArrivedBy(int64_t nowMs);
  const std::vector<Transmission>& Completed() const { return completed_; }

 private:
  struct OnLine {
    Transmission what;
    bussim::Frame bytes;
    int64_t startUnits = 0;  // in 1/24 ms
  };
  void QueueDue(int64_t nowMs);
  void Queue(Transmission what, bussim::Frame bytes, int64_t dueMs);
  bool Noisy(int64_t atMs) const;

  Settings settings_;
  bussim::LineNoise noise_;
  int64_t nextConverterMs_, nextHpuMs_;
  std::optional<int64_t> nextJunkMs_;
  uint32_t sequence_ = 0;
  std::vector<OnLine> line_;  // queued, first on the line first
  size_t sentOfFirst_ = 0;    // bytes of line_.front() already arrived
  int64_t lineFreeUnits_ = 0;
  std::vector<Transmission> completed_;
};

}  // namespace soak
