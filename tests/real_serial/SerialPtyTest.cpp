// The serial control over the real port implementation, on a pseudo-terminal: the test plays
// the other end of the line on the master side while Qt's event loop runs.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <QTimer>
#include <chrono>
#include <ctime>
#include <functional>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <utility>

#include "tests/support/CaseName.h"
#include "tests/support/QtLoop.h"
#include "tests/support/TestEnvironment.h"
#include "toolkit/PropertyRecord.h"
#include "toolkit/RealServices.h"
#include "toolkit/Serial.h"
#include "toolkit/Window.h"

namespace {

using toolkit::Serial;
using namespace std::string_literals;

std::string EveryByteValue() {
  std::string bytes;
  for (int value = 0; value < 256; ++value) bytes += static_cast<char>(value);
  return bytes;
}

// A pseudo-terminal pair. The test keeps a port-side descriptor of its own, to read the line
// settings the port was given.
class Pty {
 public:
  Pty() {
    char name[128];
    if (openpty(&master_, &portSide_, name, nullptr, nullptr) != 0) throw std::runtime_error("openpty failed");
    portPath_ = name;
  }
  ~Pty() {
    CloseMaster();
    close(portSide_);
  }
  Pty(const Pty&) = delete;
  Pty& operator=(const Pty&) = delete;

  const std::string& PortPath() const { return portPath_; }

  void Send(const std::string& bytes) const {
    for (size_t sent = 0; sent < bytes.size();) {
      ssize_t written = write(master_, bytes.data() + sent, bytes.size() - sent);
      if (written < 0) throw std::runtime_error("write to the pty failed");
      sent += static_cast<size_t>(written);
    }
  }

  // What the port side has written so far, without waiting.
  std::string Received() const {
    std::string bytes;
    pollfd watched{master_, POLLIN, 0};
    char chunk[512];
    while (poll(&watched, 1, 0) > 0 && (watched.revents & POLLIN)) {
      ssize_t taken = read(master_, chunk, sizeof chunk);
      if (taken <= 0) break;
      bytes.append(chunk, static_cast<size_t>(taken));
    }
    return bytes;
  }

  termios LineSettings() const {
    termios line{};
    tcgetattr(portSide_, &line);
    return line;
  }

  // The other end goes away, as when a USB adapter is pulled.
  void CloseMaster() {
    if (master_ >= 0) close(master_);
    master_ = -1;
  }

 private:
  int master_ = -1;
  int portSide_ = -1;
  std::string portPath_;
};

// Runs Qt's event loop until done() holds or the time is up; returns done().
bool RunEventLoopUntil(const std::function<bool()>& done, std::chrono::milliseconds timeLimit) {
  return testing_support::RunQtLoopUntil(done, timeLimit, std::chrono::milliseconds(1));
}

double ProcessCpuMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

constexpr std::chrono::milliseconds kPatience{3000};

class SerialPtyTest : public ::testing::Test {
 protected:
  SerialPtyTest() {
    toolkit::InstallSerialSystem(toolkit::real::MakeSerialSystem());
    window_->AddControl("Serial1", serial_);
  }

  bool OpenOn(const Pty& pty) {
    serial_->SetSerialPort(toolkit::New<toolkit::SerialPort>(pty.PortPath()));
    return serial_->Open();
  }

  // Binds DataAvailable, noting whether the handler is ever entered again while it runs.
  void BindDataAvailable(std::function<void(Serial&)> handler) {
    serial_->DataAvailable.Bind([this, handler](Serial& port) {
      if (inHandler_) reentered_ = true;
      inHandler_ = true;
      handler(port);
      inHandler_ = false;
    });
  }
  void CollectArrivals() {
    BindDataAvailable([this](Serial& port) { collected_ += port.ReadAll(); });
  }

  bool CollectedAtLeast(size_t count) const { return collected_.size() >= count; }

  testing_support::TestEnvironment environment_;
  // The ptys outlive the port. Closing, the port lets go of its pty before it removes its lock
  // file; were that the last hold on the pty, another test process could get the pty in
  // between and find it locked.
  Pty pty_, replacementPty_;
  std::shared_ptr<toolkit::Window> window_ = std::make_shared<toolkit::Window>("SerialPtyTestWindow");
  toolkit::Ref<Serial> serial_ = window_->New<Serial>();
  std::string collected_;
  bool inHandler_ = false;
  bool reentered_ = false;
};

TEST_F(SerialPtyTest, EveryByteValueArrivesUnchanged) {
  ASSERT_TRUE(OpenOn(pty_));
  CollectArrivals();
  pty_.Send(EveryByteValue());
  ASSERT_TRUE(RunEventLoopUntil([&] { return CollectedAtLeast(256); }, kPatience));
  EXPECT_EQ(collected_, EveryByteValue());
}

TEST_F(SerialPtyTest, EveryByteValueIsWrittenUnchanged) {
  ASSERT_TRUE(OpenOn(pty_));
  // Left to the event loop, and flushed by XmitWait without it.
  for (bool waitForTheLine : {false, true}) {
    SCOPED_TRACE(waitForTheLine ? "with XmitWait" : "through the event loop");
    std::string received;
    serial_->Write(EveryByteValue());
    if (waitForTheLine) {
      serial_->XmitWait();
      received = pty_.Received();
    } else {
      RunEventLoopUntil([&] { return (received += pty_.Received()).size() >= 256; }, kPatience);
    }
    EXPECT_EQ(received, EveryByteValue());
  }
}

TEST_F(SerialPtyTest, BytesArrivingDuringXmitWaitInAHandlerAreDeliveredWithoutMoreInput) {
  ASSERT_TRUE(OpenOn(pty_));
  const std::string first = "\x00\x01\x10\x10"s, late = "\x00\x12\x10\x07\xff"s;
  const std::string answer = "\x11\x12\x42\x04"s;
  std::string request = answer;
  // The first event answers without reading, and more bytes come while the answer leaves.
  BindDataAvailable([&](Serial& port) {
    if (request.empty()) {
      collected_ += port.ReadAll();
      return;
    }
    pty_.Send(late);  // on the line before the wait begins, so the wait takes it in
    port.Write(std::exchange(request, ""));
    port.XmitWait();
  });
  pty_.Send(first);
  ASSERT_TRUE(RunEventLoopUntil([&] { return CollectedAtLeast(first.size() + late.size()); }, kPatience));
  EXPECT_EQ(collected_, first + late);
  EXPECT_FALSE(reentered_);
  EXPECT_EQ(pty_.Received(), answer);
}

TEST_F(SerialPtyTest, VanishedLineIsReportedOnceAndLeavesTheProgramResponsive) {
  ASSERT_TRUE(OpenOn(pty_));
  int errors = 0;
  serial_->Error.Bind([&](Serial&) { ++errors; });
  CollectArrivals();

  pty_.CloseMaster();
  double cpuBefore = ProcessCpuMilliseconds();
  int ticks = 0;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
  ticker.start(10);
  RunEventLoopUntil([] { return false; }, std::chrono::milliseconds(300));
  double cpuUsed = ProcessCpuMilliseconds() - cpuBefore;

  EXPECT_EQ(errors, 1);
  EXPECT_GE(ticks, 5);  // about 30 when idle
  EXPECT_LT(cpuUsed, 100.0) << "the process kept busy after the line vanished";
  EXPECT_FALSE(serial_->IsOpen());
  EXPECT_EQ(serial_->BytesAvailable(), 0);

  serial_->Close();
  ASSERT_TRUE(OpenOn(replacementPty_));
  replacementPty_.Send("\x7f\x80");
  ASSERT_TRUE(RunEventLoopUntil([&] { return CollectedAtLeast(2); }, kPatience));
  EXPECT_EQ(collected_, "\x7f\x80");
  EXPECT_EQ(errors, 1);
}

// The stored codes of a line: rate, data bits, parity, stop bits.
struct LineCodes {
  int32_t baud, bits, parity, stop;
  friend void PrintTo(const LineCodes& c, std::ostream* out) {
    *out << "codes " << c.baud << "/" << c.bits << "/" << c.parity << "/" << c.stop;
  }
};

std::string LineRecord(const LineCodes& codes) {
  return toolkit::PropertyRecordBuilder()
      .Int("Baud", codes.baud)
      .Int("Bits", codes.bits)
      .Int("Parity", codes.parity)
      .Int("Stop", codes.stop)
      .Bool("XON", false)
      .Bool("CTS", false)
      .Bool("DTR", false)
      .Bytes();
}

// A pseudo-terminal keeps 8 data bits and no parity whatever it is told, so of the line
// only the rate, the stop bits and the flow control can be seen on it.
struct LineCase {
  const char* name;
  LineCodes codes;
  speed_t speed;
  bool twoStopBits;
  friend void PrintTo(const LineCase& c, std::ostream* out) { PrintTo(c.codes, out); }
};

class SerialPtyLineTest : public SerialPtyTest, public ::testing::WithParamInterface<LineCase> {};

TEST_P(SerialPtyLineTest, StoredCodesSetTheLine) {
  const LineCase& line = GetParam();
  window_->SetProperties(*serial_, LineRecord(line.codes));
  ASSERT_TRUE(OpenOn(pty_));
  termios set = pty_.LineSettings();
  EXPECT_EQ(cfgetospeed(&set), line.speed);
  EXPECT_EQ((set.c_cflag & CSTOPB) != 0, line.twoStopBits);
  EXPECT_EQ(set.c_cflag & CRTSCTS, 0u);
  EXPECT_EQ(set.c_iflag & (IXON | IXOFF), 0u);
}

INSTANTIATE_TEST_SUITE_P(Codes, SerialPtyLineTest,
                         ::testing::Values(LineCase{"Monitor_9600_8N1", {8, 3, 0, 0}, B9600, false},
                                           LineCase{"Fast_115200_7E2", {14, 2, 2, 2}, B115200, true},
                                           LineCase{"Slow_300_5O1", {0, 0, 1, 0}, B300, false}),
                         testing_support::NameOfCase);

TEST_F(SerialPtyTest, CodeThatStandsForNothingFailsTheOpen) {
  for (const LineCodes& codes : {LineCodes{16, 3, 0, 0}, {8, 4, 0, 0}, {8, 3, 3, 0}, {8, 3, 0, -1}}) {
    SCOPED_TRACE(::testing::PrintToString(codes));
    window_->SetProperties(*serial_, LineRecord(codes));
    EXPECT_FALSE(OpenOn(pty_));
    EXPECT_FALSE(serial_->IsOpen());
  }
}

}  // namespace
