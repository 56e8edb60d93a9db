#pragma once
// The frames the simulated converter and HPU put on the bus, and the recogniser for the read
// requests that the monitor sends back. Header-only so the unit tests can check the bytes
// without linking the simulator.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace bussim {

using Frame = std::vector<std::uint8_t>;

constexpr std::size_t kParameterImageSize = 48;
using ParameterImage = std::array<std::uint8_t, kParameterImageSize>;

// The converter's seven data words, in frame order (bytes 4-5 up to 16-17).
using ConverterWords = std::array<std::uint16_t, 7>;

struct HpuReading {
  std::uint16_t pressureWord = 0;
  std::uint8_t mode = 0;
  std::uint8_t pitch = 0;
};

// A read of parameter bytes start..end-1.
struct ReadSpan {
  std::uint8_t start = 0;
  std::uint8_t end = 0;
  friend bool operator==(const ReadSpan&, const ReadSpan&) = default;
};

// Sum of the bytes modulo 65535 (not 65536), as the bus defines it.
inline std::uint16_t frameChecksum(const std::uint8_t* bytes, std::size_t count) {
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i < count; ++i) sum += bytes[i];
  return static_cast<std::uint16_t>(sum % 65535u);
}

// Appends the checksum of everything the frame holds so far: header and data.
inline void appendChecksum(Frame& frame) {
  const std::uint16_t checksum = frameChecksum(frame.data(), frame.size());
  frame.push_back(static_cast<std::uint8_t>(checksum >> 8));
  frame.push_back(static_cast<std::uint8_t>(checksum & 0xFF));
}

inline void appendWord(Frame& frame, std::uint16_t word) {
  frame.push_back(static_cast<std::uint8_t>(word >> 8));
  frame.push_back(static_cast<std::uint8_t>(word & 0xFF));
}

// The words of a device's frame number `frame` (from 0) on a ramp of `steps` steps: each word
// plus frame mod steps, wrapping at 16 bits, so the shown values change with every frame and
// stay in a known range. Fewer than two steps: the words themselves, every frame.
inline std::uint16_t rampedWord(std::uint16_t word, unsigned frame, unsigned steps) {
  const unsigned offset = steps > 1 ? frame % steps : 0;
  return static_cast<std::uint16_t>((word + offset) & 0xFFFF);
}

inline ConverterWords rampedWords(ConverterWords words, unsigned frame, unsigned steps) {
  for (std::uint16_t& word : words) word = rampedWord(word, frame, steps);
  return words;
}

inline Frame converterDataFrame(const ConverterWords& words) {
  Frame frame{0x00, 0x01, 0x10, 0x10};
  for (std::uint16_t word : words) appendWord(frame, word);
  appendChecksum(frame);
  return frame;
}

inline Frame hpuDataFrame(const HpuReading& reading) {
  Frame frame{0x00, 0x12, 0x10, 0x07};
  appendWord(frame, reading.pressureWord);
  frame.push_back(reading.mode);
  frame.push_back(reading.pitch);
  frame.push_back(0x00);  // spare byte
  appendChecksum(frame);
  return frame;
}

inline bool spanFitsImage(const ReadSpan& span) {
  return span.start <= span.end && span.end <= kParameterImageSize;
}

// The HPU's answer with parameter bytes span.start..span.end-1; the span must fit the image.
inline Frame readAnswer(const ParameterImage& image, const ReadSpan& span) {
  Frame frame{0x11, 0x12, 0x42, static_cast<std::uint8_t>(span.end - span.start + 2)};
  frame.insert(frame.end(), image.begin() + span.start, image.begin() + span.end);
  appendChecksum(frame);
  return frame;
}

// Finds read requests (12 11 4C 04 start end, checksum) in the byte stream the monitor writes.
// Everything else is skipped. A request with a wrong checksum or a span outside the parameter
// image is rejected and counted; hunting then resumes one byte after its start.
class RequestScanner {
 public:
  void feed(const std::uint8_t* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) feedByte(bytes[i]);
  }

  // The requests found since the last call, oldest first.
  std::vector<ReadSpan> takeRequests() {
    std::vector<ReadSpan> found;
    found.swap(requests_);
    return found;
  }

  unsigned rejected() const { return rejected_; }

 private:
  static constexpr std::array<std::uint8_t, 4> kHeader{0x12, 0x11, 0x4C, 0x04};
  static constexpr std::size_t kRequestSize = 8;

  void feedByte(std::uint8_t byte) {
    candidate_.push_back(byte);
    dropUntilHeaderPrefix();
    if (candidate_.size() < kRequestSize) return;

    const std::uint16_t carried = static_cast<std::uint16_t>(candidate_[6] << 8 | candidate_[7]);
    const ReadSpan span{candidate_[4], candidate_[5]};
    if (carried == frameChecksum(candidate_.data(), 6) && spanFitsImage(span)) {
      requests_.push_back(span);
      candidate_.clear();
      return;
    }
    ++rejected_;
    candidate_.erase(candidate_.begin());
    dropUntilHeaderPrefix();
  }

  // Keeps the candidate starting at the first place where it agrees with the header so far.
  void dropUntilHeaderPrefix() {
    while (!candidate_.empty() && !startsLikeHeader()) candidate_.erase(candidate_.begin());
  }

  bool startsLikeHeader() const {
    const std::size_t compared = std::min(candidate_.size(), kHeader.size());
    for (std::size_t i = 0; i < compared; ++i)
      if (candidate_[i] != kHeader[i]) return false;
    return true;
  }

  std::vector<std::uint8_t> candidate_;
  std::vector<ReadSpan> requests_;
  unsigned rejected_ = 0;
};

}  // namespace bussim
