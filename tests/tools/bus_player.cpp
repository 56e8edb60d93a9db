#include "tests/tools/bus_player.h"

#include <algorithm>
#include <array>

#include "tests/tools/stop_signal.h"

namespace bussim {
namespace {

using namespace std::chrono_literals;

// 9600 bit/s with a start and a stop bit around each byte: 960 bytes a second.
constexpr std::int64_t kBytesPerSecond = 960;
// One second of line data left unread means nobody is reading the port side.
constexpr std::size_t kUnreadLimit = kBytesPerSecond;
// A wake-up this late still counts as back to back, so saturation keeps the exact line rate.
constexpr auto kBackToBackSlack = 5ms;

std::chrono::nanoseconds lineTime(std::size_t bytes) {
  return std::chrono::nanoseconds(static_cast<std::int64_t>(bytes) * 1'000'000'000 /
                                  kBytesPerSecond);
}

}  // namespace

BusPlayer::BusPlayer(const SimulatorOptions& options, const PtyLine& line)
    : options_(options),
      line_(line),
      noise_(options.seed, options.junkBurstsPerMinute, options.corruptProbability) {}

PlayCounters BusPlayer::play() {
  const Clock::time_point start = Clock::now();
  end_ = start + options_.duration;
  converterEnd_ = options_.converterStopAfter ? start + *options_.converterStopAfter : end_;
  nextConverter_ = start;
  nextHpu_ = start;
  lineFreeAt_ = start;
  if (const auto delay = noise_.delayToNextBurst()) nextJunk_ = start + *delay;

  while (!stopRequested()) {
    const Clock::time_point now = Clock::now();
    if (now >= end_) break;
    takeInput();
    if (now >= lineFreeAt_) {
      if (std::optional<Transmission> due = takeDue(now)) {
        transmit(std::move(*due), now);
        continue;
      }
    }
    line_.wait(false, nextWake(now));
  }
  counters_.requestsIgnored = scanner_.rejected();
  return counters_;
}

void BusPlayer::takeInput() {
  std::array<std::uint8_t, 256> buffer;
  while (const std::size_t taken = line_.read(buffer.data(), buffer.size()))
    scanner_.feed(buffer.data(), taken);
  for (const ReadSpan& span : scanner_.takeRequests())
    if (options_.answerRequests) pendingAnswers_.push_back(readAnswer(options_.image, span));
}

// Answers first, as the HPU answers as soon as the line is free; then junk; then data frames.
std::optional<BusPlayer::Transmission> BusPlayer::takeDue(Clock::time_point now) {
  if (!pendingAnswers_.empty()) {
    Transmission answer{std::move(pendingAnswers_.front()), Kind::Answer};
    pendingAnswers_.pop_front();
    return answer;
  }
  if (nextJunk_ && now >= *nextJunk_) {
    nextJunk_ = now + *noise_.delayToNextBurst();
    return Transmission{noise_.junkBurst(), Kind::Junk};
  }
  const std::optional<Kind> frame = dueDataFrame(now);
  if (!frame) return std::nullopt;
  return Transmission{dataFrame(*frame), *frame};
}

// The next data frame of the device, on the ramp asked for.
Frame BusPlayer::dataFrame(Kind kind) const {
  const unsigned steps = options_.rampSteps;
  if (kind == Kind::Converter)
    return converterDataFrame(rampedWords(options_.converterWords, counters_.converterFrames, steps));
  HpuReading reading = options_.hpuReading;
  reading.pressureWord = rampedWord(reading.pressureWord, counters_.hpuFrames, steps);
  return hpuDataFrame(reading);
}

std::optional<BusPlayer::Kind> BusPlayer::dueDataFrame(Clock::time_point now) {
  const bool converter = converterActive(now);
  const bool hpu = options_.hpuPresent();
  if (options_.saturate) {
    if (!converter && !hpu) return std::nullopt;
    const bool hpuNow = hpu && (hpuTurn_ || !converter);
    hpuTurn_ = !hpuNow;
    return hpuNow ? Kind::Hpu : Kind::Converter;
  }
  const bool converterDue = converter && now >= nextConverter_;
  const bool hpuDue = hpu && now >= nextHpu_;
  if (!converterDue && !hpuDue) return std::nullopt;
  // A frame held up by a busy line goes as soon as it can, without piling up the missed ones.
  if (converterDue && (!hpuDue || nextConverter_ <= nextHpu_)) {
    nextConverter_ = std::max(nextConverter_ + options_.converterPeriod, now);
    return Kind::Converter;
  }
  nextHpu_ = std::max(nextHpu_ + options_.hpuPeriod, now);
  return Kind::Hpu;
}

BusPlayer::Clock::time_point BusPlayer::nextWake(Clock::time_point now) const {
  Clock::time_point due = end_;
  if (!pendingAnswers_.empty()) due = now;
  if (nextJunk_) due = std::min(due, *nextJunk_);
  if (converterActive(now)) due = std::min(due, options_.saturate ? now : nextConverter_);
  if (options_.hpuPresent()) due = std::min(due, options_.saturate ? now : nextHpu_);
  return std::min(std::max(due, lineFreeAt_), end_);
}

void BusPlayer::transmit(Transmission transmission, Clock::time_point now) {
  const bool corrupted = transmission.kind != Kind::Junk && noise_.corrupt(transmission.bytes);
  const Clock::time_point lineStart = now - lineFreeAt_ <= kBackToBackSlack ? lineFreeAt_ : now;
  counters_.unreadBytesDropped += line_.dropUnreadBacklog(kUnreadLimit);
  if (!writeWhole(transmission.bytes)) return;
  lineFreeAt_ = lineStart + lineTime(transmission.bytes.size());

  counters_.corruptedFrames += corrupted ? 1 : 0;
  switch (transmission.kind) {
    case Kind::Converter:
      ++counters_.converterFrames;
      break;
    case Kind::Hpu:
      ++counters_.hpuFrames;
      break;
    case Kind::Answer:
      ++counters_.requestsAnswered;
      break;
    case Kind::Junk:
      ++counters_.junkBursts;
      break;
  }
}

// Keeps reading requests while the pty has no room; gives up at the end of the play.
bool BusPlayer::writeWhole(const Frame& bytes) {
  std::size_t written = 0;
  for (;;) {
    written += line_.write(bytes.data() + written, bytes.size() - written);
    if (written == bytes.size()) return true;
    if (stopRequested() || Clock::now() >= end_) return false;
    if (line_.wait(true, end_).readable) takeInput();
  }
}

}  // namespace bussim
