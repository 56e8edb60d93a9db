#pragma once
// The simulated bus: a pseudo-terminal pair. The monitor opens the port side (the slave); the
// simulator plays on the master side. The simulator keeps a port-side descriptor of its own,
// so the master never sees a hang-up (and EIO) while the monitor closes and reopens the port.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

namespace bussim {

class PtyLine {
 public:
  using Clock = std::chrono::steady_clock;

  struct Readiness {
    bool readable = false;
    bool writable = false;
  };

  // Opens the pair with the port side raw; throws std::system_error.
  PtyLine();
  ~PtyLine();
  PtyLine(const PtyLine&) = delete;
  PtyLine& operator=(const PtyLine&) = delete;

  const std::string& portPath() const { return portPath_; }

  // Waits until input is ready (or, if asked, room to write), `until` passes or a stop
  // signal arrives.
  Readiness wait(bool wantWritable, Clock::time_point until) const;

  // What the monitor has written, up to `capacity` bytes; 0 when nothing waits.
  std::size_t read(std::uint8_t* buffer, std::size_t capacity) const;

  // Bytes taken, possibly fewer than given; 0 when the pty is full.
  std::size_t write(const std::uint8_t* bytes, std::size_t count) const;

  // A port side that nobody reads (the monitor has it closed, or is stuck) would let the pty
  // fill up, stall the simulator and later hand the monitor long-stale frames. Like a serial
  // line's receiver, it rather loses them: when more than `limit` bytes wait unread, they are
  // discarded. Returns how many were.
  std::size_t dropUnreadBacklog(std::size_t limit) const;

 private:
  int master_ = -1;
  int portSide_ = -1;
  std::string portPath_;
};

}  // namespace bussim
