#pragma once
// Plays the converter and the HPU on the line: their data frames on schedule (or back to back
// when saturating), an answer to every valid read request, and the noise asked for. Every
// transmission occupies the line for as long as it would at 9600 bit/s 8N1.
#include <cstddef>
#include <deque>
#include <optional>

#include "tests/tools/bus_frames.h"
#include "tests/tools/line_noise.h"
#include "tests/tools/pty_line.h"
#include "tests/tools/simulator_options.h"

namespace bussim {

struct PlayCounters {
  unsigned converterFrames = 0;
  unsigned hpuFrames = 0;
  unsigned requestsAnswered = 0;
  unsigned requestsIgnored = 0;
  unsigned junkBursts = 0;
  unsigned corruptedFrames = 0;
  std::size_t unreadBytesDropped = 0;
};

class BusPlayer {
 public:
  BusPlayer(const SimulatorOptions& options, const PtyLine& line);

  // Plays from now until the duration is over or a stop signal arrives.
  PlayCounters play();

 private:
  using Clock = PtyLine::Clock;
  enum class Kind { Converter, Hpu, Answer, Junk };
  struct Transmission {
    Frame bytes;
    Kind kind;
  };

  void takeInput();
  std::optional<Transmission> takeDue(Clock::time_point now);
  std::optional<Kind> dueDataFrame(Clock::time_point now);
  Clock::time_point nextWake(Clock::time_point now) const;
  void transmit(Transmission transmission, Clock::time_point now);
  bool writeWhole(const Frame& bytes);
  bool converterActive(Clock::time_point now) const { return now < converterEnd_; }
  Frame dataFrame(Kind kind) const;

  const SimulatorOptions& options_;
  const PtyLine& line_;
  LineNoise noise_;
  RequestScanner scanner_;
  std::deque<Frame> pendingAnswers_;
  PlayCounters counters_;

  Clock::time_point end_;
  Clock::time_point converterEnd_;
  Clock::time_point nextConverter_;
  Clock::time_point nextHpu_;
  std::optional<Clock::time_point> nextJunk_;
  Clock::time_point lineFreeAt_;
  bool hpuTurn_ = false;  // saturating: the HPU's frame goes next
};

}  // namespace bussim
