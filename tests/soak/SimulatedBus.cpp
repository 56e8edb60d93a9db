#include "tests/soak/SimulatedBus.h"

#include <algorithm>
#include <chrono>

namespace soak {
namespace {

constexpr int64_t kUnitsPerMs = 24;
constexpr int64_t kUnitsPerByte = 25;  // ten bits at 9600 bit/s: 25/24 ms
constexpr int64_t kConverterPeriodMs = 250;
constexpr int64_t kHpuPeriodMs = 500;
constexpr int64_t kSettlingMs = 60'000;

int64_t Milliseconds(std::chrono::nanoseconds delay) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(delay).count();
}

// A generation-2 converter: battery volts and amps in thousandths, the rest in tenths; the
// last word is not shown and only keeps the frames apart in the trace.
bussim::Frame ConverterFrame(uint32_t sequence, ConverterReading& reading) {
  const bussim::ConverterWords words = {
      static_cast<uint16_t>(200 + sequence % 100),        static_cast<uint16_t>(13000 + sequence * 7 % 1000),
      static_cast<uint16_t>(2000 + sequence * 3 % 500),   0,
      static_cast<uint16_t>(250 + sequence % 50),         static_cast<uint16_t>(80 + sequence % 20),
      static_cast<uint16_t>(sequence & 0xFFFF)};
  reading = {words[0] / 10.0, words[1] / 1000.0, words[2] / 1000.0, words[4] / 10.0, words[5] * 15};
  return bussim::converterDataFrame(words);
}

bussim::Frame HpuFrame(uint32_t sequence, HpuReading& reading) {
  static constexpr uint8_t kPitchCodes[] = {0x00, 0xF0, 0x0F};
  static const char* const kPitchTexts[] = {"inactif", "pitch moins", "pitch plus"};
  const bussim::HpuReading bytes{static_cast<uint16_t>(1000 + sequence % 500),
                                 static_cast<uint8_t>(sequence % 2 ? 0xFF : 0x00), kPitchCodes[sequence % 3]};
  reading = {bytes.pressureWord / 100.0, sequence % 2 ? "Auto" : "Manuel", kPitchTexts[sequence % 3]};
  return bussim::hpuDataFrame(bytes);
}

}  // namespace

SimulatedBus::SimulatedBus(const Settings& settings)
    : settings_(settings),
      noise_(settings.seed, settings.junkBurstsPerMinute, settings.corruptProbability),
      nextConverterMs_(settings.startMs),
      nextHpuMs_(settings.startMs) {
  if (auto delay = noise_.delayToNextBurst()) nextJunkMs_ = settings.startMs + Milliseconds(*delay);
}

bool SimulatedBus::Noisy(int64_t atMs) const { return atMs < settings_.cleanFromMs - kSettlingMs; }

void SimulatedBus::Queue(Transmission what, bussim::Frame bytes, int64_t dueMs) {
  what.clean = dueMs >= settings_.cleanFromMs;
  if (what.kind != Transmission::Kind::Junk) {
    what.intact = !(Noisy(dueMs) && noise_.corrupt(bytes));
  }
  const int64_t start = std::max(dueMs * kUnitsPerMs, lineFreeUnits_);
  lineFreeUnits_ = start + kUnitsPerByte * static_cast<int64_t>(bytes.size());
  line_.push_back({std::move(what), std::move(bytes), start});
}

void SimulatedBus::QueueDue(int64_t nowMs) {
  while (nextConverterMs_ <= nowMs) {
    Transmission frame;
    frame.kind = Transmission::Kind::Converter;
    bussim::Frame bytes = ConverterFrame(sequence_++, frame.converter.emplace());
    Queue(std::move(frame), std::move(bytes), nextConverterMs_);
    nextConverterMs_ += kConverterPeriodMs;
  }
  while (nextHpuMs_ <= nowMs) {
    Transmission frame;
    frame.kind = Transmission::Kind::Hpu;
    bussim::Frame bytes = HpuFrame(sequence_++, frame.hpu.emplace());
    Queue(std::move(frame), std::move(bytes), nextHpuMs_);
    nextHpuMs_ += kHpuPeriodMs;
  }
  while (nextJunkMs_ && *nextJunkMs_ <= nowMs) {
    if (Noisy(*nextJunkMs_)) Queue(Transmission(), noise_.junkBurst(), *nextJunkMs_);  // junk by default
    nextJunkMs_ = *nextJunkMs_ + std::max<int64_t>(1, Milliseconds(*noise_.delayToNextBurst()));
  }
}

std::string SimulatedBus::ArrivedBy(int64_t nowMs) {
  QueueDue(nowMs);
  completed_.clear();
  std::string arrived;
  const int64_t nowUnits = nowMs * kUnitsPerMs;
  while (!line_.empty()) {
    OnLine& first = line_.front();
    while (sentOfFirst_ < first.bytes.size() &&
           first.startUnits + kUnitsPerByte * static_cast<int64_t>(sentOfFirst_ + 1) <= nowUnits)
      arrived += static_cast<char>(first.bytes[sentOfFirst_++]);
    if (sentOfFirst_ < first.bytes.size()) break;
    completed_.push_back(std::move(first.what));
    line_.erase(line_.begin());
    sentOfFirst_ = 0;
  }
  return arrived;
}

}  // namespace soak
