#include "tests/tools/pty_line.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <system_error>

#include "tests/tools/stop_signal.h"

namespace bussim {
namespace {

[[noreturn]] void fail(const char* what) {
  throw std::system_error(errno, std::generic_category(), what);
}

timespec untilFromNow(PtyLine::Clock::time_point until) {
  const auto left = std::max(until - PtyLine::Clock::now(), PtyLine::Clock::duration::zero());
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(left);
  const auto nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(left - seconds);
  return {static_cast<time_t>(seconds.count()), static_cast<long>(nanoseconds.count())};
}

}  // namespace

PtyLine::PtyLine() {
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (master_ < 0) fail("posix_openpt");
  try {
    if (grantpt(master_) != 0) fail("grantpt");
    if (unlockpt(master_) != 0) fail("unlockpt");
    const char* path = ptsname(master_);
    if (path == nullptr) fail("ptsname");
    portPath_ = path;
    portSide_ = open(path, O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (portSide_ < 0) fail("open port side");
    termios line{};
    if (tcgetattr(portSide_, &line) != 0) fail("tcgetattr");
    cfmakeraw(&line);
    if (tcsetattr(portSide_, TCSANOW, &line) != 0) fail("tcsetattr");
  } catch (...) {
    if (portSide_ >= 0) close(portSide_);
    close(master_);
    throw;
  }
}

PtyLine::~PtyLine() {
  close(portSide_);
  close(master_);
}

PtyLine::Readiness PtyLine::wait(bool wantWritable, Clock::time_point until) const {
  pollfd watched{master_, static_cast<short>(POLLIN | (wantWritable ? POLLOUT : 0)), 0};
  const timespec timeout = untilFromNow(until);
  if (ppoll(&watched, 1, &timeout, waitMask()) < 0) {
    if (errno == EINTR) return {};
    fail("ppoll");
  }
  return {(watched.revents & POLLIN) != 0, (watched.revents & POLLOUT) != 0};
}

std::size_t PtyLine::read(std::uint8_t* buffer, std::size_t capacity) const {
  for (;;) {
    const ssize_t taken = ::read(master_, buffer, capacity);
    if (taken >= 0) return static_cast<std::size_t>(taken);
    if (errno == EAGAIN) return 0;
    if (errno != EINTR) fail("read");
  }
}

std::size_t PtyLine::write(const std::uint8_t* bytes, std::size_t count) const {
  for (;;) {
    const ssize_t taken = ::write(master_, bytes, count);
    if (taken >= 0) return static_cast<std::size_t>(taken);
    if (errno == EAGAIN) return 0;
    if (errno != EINTR) fail("write");
  }
}

std::size_t PtyLine::dropUnreadBacklog(std::size_t limit) const {
  int unread = 0;
  if (ioctl(portSide_, TIOCINQ, &unread) != 0) fail("TIOCINQ");
  if (static_cast<std::size_t>(unread) <= limit) return 0;
  if (tcflush(portSide_, TCIFLUSH) != 0) fail("tcflush");
  return static_cast<std::size_t>(unread);
}

}  // namespace bussim
