// The serial control over a scripted port: when DataAvailable is raised (and raised again),
// opening and closing, a failing device, and the line settings from the property record.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/CaseName.h"
#include "tests/support/CaughtErrorReports.h"
#include "tests/support/TestEnvironment.h"
#include "toolkit/PropertyRecord.h"
#include "toolkit/Serial.h"
#include "toolkit/Window.h"

namespace toolkit {
namespace {

using namespace std::string_literals;

// The scripted line: what waits and what was written, and the device open on it, through
// which the script notifies the control.
struct ScriptedLine {
  std::string waiting, written;
  int openDevices = 0;
  std::optional<LineSettings> openedWith;
  std::function<void()> duringWaitWritten;
  SerialDevice* device = nullptr;  // the newest device, while it exists

  void Arrive(const std::string& bytes) {
    waiting += bytes;
    if (device && device->onBytesArrived) device->onBytesArrived();
  }
  void Fail() {
    if (device && device->onError) device->onError();
  }
};

class ScriptedDevice : public SerialDevice {
 public:
  explicit ScriptedDevice(ScriptedLine& line) : line_(line) {
    line_.device = this;
    ++line_.openDevices;
  }
  ~ScriptedDevice() override {
    Close();
    if (line_.device == this) line_.device = nullptr;
  }
  int64_t BytesAvailable() override { return static_cast<int64_t>(line_.waiting.size()); }
  std::string Peek() override { return line_.waiting; }
  std::string Read(int64_t count) override {
    std::string bytes = line_.waiting.substr(0, static_cast<size_t>(count));
    line_.waiting.erase(0, bytes.size());
    return bytes;
  }
  void Write(const std::string& bytes) override { line_.written += bytes; }
  void WaitWritten() override {
    if (line_.duringWaitWritten) line_.duringWaitWritten();
  }
  void Close() override {
    if (open_) --line_.openDevices;
    open_ = false;
  }

 private:
  ScriptedLine& line_;
  bool open_ = true;
};

// One port, "ttyA", that opens only while no device is open on it, as a real port is
// exclusive; "ttyB" is listed but cannot be opened.
class ScriptedSystem : public SerialSystem {
 public:
  explicit ScriptedSystem(ScriptedLine& line) : line_(line) {}
  int32_t PortCount() override { return 2; }
  std::optional<std::string> PortName(int32_t index) override {
    if (index == 0) return "ttyA";
    if (index == 1) return "ttyB";
    return std::nullopt;
  }
  std::unique_ptr<SerialDevice> Open(const std::string& name, const LineSettings& settings) override {
    if (name != "ttyA" || line_.openDevices > 0) return nullptr;
    line_.openedWith = settings;
    return std::make_unique<ScriptedDevice>(line_);
  }

 private:
  ScriptedLine& line_;
};

class SerialControlTest : public ::testing::Test {
 protected:
  SerialControlTest() {
    InstallSerialSystem(std::make_unique<ScriptedSystem>(line_));
    window_->AddControl("Serial1", serial_);
  }

  void OpenPort(int32_t index = 0) {
    serial_->SetSerialPort(System::SerialPort(index));
    ASSERT_TRUE(serial_->Open());
  }

  // Binds DataAvailable to the handler, counting events and noting any re-entry.
  void OnDataAvailable(std::function<void(Serial&)> handler) {
    serial_->DataAvailable.Bind([this, handler](Serial& port) {
      ++events_;
      if (inHandler_) reentered_ = true;
      inHandler_ = true;
      handler(port);
      inHandler_ = false;
    });
  }

  testing_support::TestEnvironment environment_;
  ScriptedLine line_;
  std::shared_ptr<Window> window_ = std::make_shared<Window>("SerialControlTestWindow");
  Ref<Serial> serial_ = window_->New<Serial>();
  testing_support::CaughtErrorReports caught_;
  std::vector<std::string>& reports_ = caught_.lines;
  int events_ = 0;
  bool inHandler_ = false;
  bool reentered_ = false;
};

// --- Delivery ------------------------------------------------------------------------------

const std::string kHeader = "\x00\x01\x10"s;
const std::string kFrame = kHeader + "\x02\xaa\xbb"s;

// Like the receiver: removes the junk in front of a header, or a whole frame standing first,
// and leaves anything else waiting.
void ReadJunkOrFrame(Serial& port) {
  std::string ahead = port.LookAhead();
  size_t at = ahead.find(kHeader);
  if (at == std::string::npos) return;
  if (at > 0)
    port.Read(static_cast<int64_t>(at));
  else if (ahead.size() >= kFrame.size())
    port.Read(static_cast<int64_t>(kFrame.size()));
}

struct DeliveryCase {
  const char* name;
  std::function<void(Serial&)> handler;
  std::string arrival;
  int events;
  std::string left;
  bool reported;  // the handler's exception went to the report of unhandled errors
  friend void PrintTo(const DeliveryCase& c, std::ostream* out) { *out << c.name; }
};

class SerialDeliveryTest : public SerialControlTest, public ::testing::WithParamInterface<DeliveryCase> {};

TEST_P(SerialDeliveryTest, RaisesAgainOnlyAfterAHandlerThatRemovedBytes) {
  const DeliveryCase& c = GetParam();
  OpenPort();
  OnDataAvailable(c.handler);
  line_.Arrive(c.arrival);
  EXPECT_EQ(events_, c.events);
  EXPECT_EQ(line_.waiting, c.left);
  EXPECT_EQ(!reports_.empty(), c.reported);
}

INSTANTIATE_TEST_SUITE_P(
    Handlers, SerialDeliveryTest,
    ::testing::Values(
        DeliveryCase{"FrameBehindJunkReadInOneArrival", ReadJunkOrFrame, "\x05\x07"s + kFrame, 2, "", false},
        DeliveryCase{"FrameBehindJunkWithAPartialFrameAfterIt", ReadJunkOrFrame, "\x05"s + kFrame + kHeader, 3,
                     kHeader, false},
        DeliveryCase{"OneByteEachEvent", [](Serial& port) { port.Read(1); }, "abcde", 5, "", false},
        DeliveryCase{"NothingRemovedNoSecondEvent", [](Serial&) {}, "abcd", 1, "abcd", false},
        DeliveryCase{"EverythingReadAtOnce", [](Serial& port) { port.ReadAll(); }, "abcde", 1, "", false},
        DeliveryCase{"ExceptionAfterARead", [](Serial& port) {
                       port.Read(1);
                       throw std::runtime_error("handler failed");
                     },
                     "ab", 2, "", true}),
    testing_support::NameOfCase);

TEST_F(SerialControlTest, HandlerThatRemovedNothingRunsAgainWhenBytesArrive) {
  OpenPort();
  OnDataAvailable(ReadJunkOrFrame);
  line_.Arrive(kFrame.substr(0, 4));
  ASSERT_EQ(events_, 1);
  line_.Arrive(kFrame.substr(4));
  EXPECT_EQ(events_, 2);
  EXPECT_EQ(line_.waiting, "");
}

// Bytes that come while the handler runs, however the device makes them known: the handler
// is not entered again, and is raised again after it for them, though it removed nothing.
struct ArrivalCase {
  const char* name;
  std::function<void(ScriptedLine&, Serial&)> duringFirstHandler;
  friend void PrintTo(const ArrivalCase& c, std::ostream* out) { *out << c.name; }
};

class SerialArrivalDuringHandlerTest : public SerialControlTest,
                                       public ::testing::WithParamInterface<ArrivalCase> {};

TEST_P(SerialArrivalDuringHandlerTest, RaisesAgainWithoutReentry) {
  OpenPort();
  std::string read;
  OnDataAvailable([&](Serial& port) {
    if (events_ == 1)
      GetParam().duringFirstHandler(line_, port);
    else
      read += port.ReadAll();
  });
  line_.Arrive("ab");
  EXPECT_EQ(events_, 2);
  EXPECT_FALSE(reentered_);
  EXPECT_EQ(read, "abcd");
}

INSTANTIATE_TEST_SUITE_P(
    Arrivals, SerialArrivalDuringHandlerTest,
    ::testing::Values(ArrivalCase{"Notified", [](ScriptedLine& line, Serial&) { line.Arrive("cd"); }},
                      ArrivalCase{"NotifiedInsideXmitWait",
                                  [](ScriptedLine& line, Serial& port) {
                                    line.duringWaitWritten = [&line] { line.Arrive("cd"); };
                                    port.Write("?");
                                    port.XmitWait();
                                  }},
                      ArrivalCase{"BufferedSilentlyInsideXmitWait",
                                  [](ScriptedLine& line, Serial& port) {
                                    line.duringWaitWritten = [&line] { line.waiting += "cd"; };
                                    port.Write("?");
                                    port.XmitWait();
                                  }}),
    testing_support::NameOfCase);

TEST_F(SerialControlTest, EveryByteValuePassesBothWays) {
  std::string every;
  for (int value = 0; value < 256; ++value) every += static_cast<char>(value);
  OpenPort();
  line_.waiting = every;
  EXPECT_EQ(serial_->BytesAvailable(), 256);
  EXPECT_EQ(serial_->LookAhead(), every);
  EXPECT_EQ(serial_->Read(128) + serial_->ReadAll(), every);
  serial_->Write(every);
  EXPECT_EQ(line_.written, every);
}

// --- Ports, opening and closing ------------------------------------------------------------

TEST_F(SerialControlTest, SystemPortsComeFromTheInstalledSeam) {
  EXPECT_EQ(System::SerialPortCount(), 2);
  EXPECT_EQ(System::SerialPort(1)->Name(), "ttyB");
  EXPECT_TRUE(System::SerialPort(2).IsNil());
  EXPECT_TRUE(System::SerialPort(-1).IsNil());
}

TEST_F(SerialControlTest, OpenIsFalseWithoutAPortOrWhenTheSeamGivesNoDevice) {
  EXPECT_FALSE(serial_->Open());
  serial_->SetSerialPort(System::SerialPort(1));
  EXPECT_FALSE(serial_->Open());
  EXPECT_FALSE(serial_->IsOpen());
}

TEST_F(SerialControlTest, OpenWhileOpenClosesTheOldDeviceFirst) {
  OpenPort();
  line_.waiting = "old";
  ASSERT_TRUE(serial_->Open());  // the port is exclusive: this works only once the old device is closed
  EXPECT_EQ(line_.openDevices, 1);
  serial_->Close();
  EXPECT_EQ(line_.openDevices, 0);
}

TEST_F(SerialControlTest, ClosedPortDoesNothing) {
  OnDataAvailable([](Serial&) {});
  line_.duringWaitWritten = [] { ADD_FAILURE() << "waited on a closed port"; };
  for (bool openedBefore : {false, true}) {
    SCOPED_TRACE(openedBefore ? "after Close" : "never opened");
    if (openedBefore) {
      OpenPort();
      serial_->Close();
    }
    serial_->Close();
    line_.waiting = "xyz";
    EXPECT_FALSE(serial_->IsOpen());
    EXPECT_EQ(serial_->BytesAvailable(), 0);
    EXPECT_EQ(serial_->LookAhead(), "");
    EXPECT_EQ(serial_->Read(2), "");
    EXPECT_EQ(serial_->ReadAll(), "");
    serial_->Write("abc");
    serial_->XmitWait();
    serial_->DeliverDataAvailable();
    EXPECT_EQ(line_.written, "");
    EXPECT_EQ(events_, 0);
  }
}

// --- Device failure ------------------------------------------------------------------------

TEST_F(SerialControlTest, RepeatedDeviceFailureRaisesErrorOnceAndClosesTheDevice) {
  int errors = 0;
  serial_->Error.Bind([&](Serial&) { ++errors; });
  OpenPort();
  for (int i = 0; i < 3; ++i) line_.Fail();
  EXPECT_EQ(errors, 1);
  EXPECT_EQ(line_.openDevices, 0);
  EXPECT_EQ(serial_->BytesAvailable(), 0);

  serial_->Close();
  OpenPort();  // afresh, and its own failure is reported again
  line_.Fail();
  EXPECT_EQ(errors, 2);
}

TEST_F(SerialControlTest, FailureDuringDataAvailableIsRaisedAfterTheHandler) {
  std::vector<std::string> order;
  serial_->Error.Bind([&](Serial&) { order.push_back(inHandler_ ? "error inside" : "error after"); });
  OnDataAvailable([&](Serial& port) {
    port.Read(1);
    line_.Fail();
    order.push_back("handler");
  });
  OpenPort();
  line_.Arrive("abc");
  EXPECT_EQ(order, (std::vector<std::string>{"handler", "error after"}));
}

// --- Line settings -------------------------------------------------------------------------

TEST_F(SerialControlTest, LineSettingsComeFromThePropertyRecordAndGoToTheOpen) {
  window_->SetProperties(*serial_, PropertyRecordBuilder()
                                       .Int("Baud", 14)
                                       .Int("Bits", 2)
                                       .Int("Parity", 1)
                                       .Int("Stop", 2)
                                       .Bool("XON", true)
                                       .Bool("CTS", false)
                                       .Bool("DTR", true)
                                       .Bytes());
  OpenPort();
  for (const LineSettings& settings : {serial_->Settings(), *line_.openedWith}) {
    EXPECT_EQ(settings.baudCode, 14);
    EXPECT_EQ(settings.bitsCode, 2);
    EXPECT_EQ(settings.parityCode, 1);
    EXPECT_EQ(settings.stopCode, 2);
    EXPECT_TRUE(settings.xon);
    EXPECT_FALSE(settings.cts);
    EXPECT_TRUE(settings.dtr);
  }
}

}  // namespace
}  // namespace toolkit
