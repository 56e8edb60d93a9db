#include <QDeadlineTimer>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <array>
#include <optional>

#include "toolkit/RealServices.h"

namespace toolkit::real {
namespace {

// The stored line codes, in the serial component's published numbering: each code is an
// index into its table (rate code 8 is 9600 bit/s, data-bit code 3 is 8 bits, ...).
constexpr std::array<qint32, 16> kBaudRates = {300,   600,   1200,  1800,  2400,  3600,   4800,   7200,
                                               9600,  14400, 19200, 28800, 38400, 57600, 115200, 230400};
constexpr std::array kDataBits = {QSerialPort::Data5, QSerialPort::Data6, QSerialPort::Data7, QSerialPort::Data8};
constexpr std::array kParities = {QSerialPort::NoParity, QSerialPort::OddParity, QSerialPort::EvenParity};
constexpr std::array kStopBits = {QSerialPort::OneStop, QSerialPort::OneAndHalfStop, QSerialPort::TwoStop};

template <class Table>
std::optional<typename Table::value_type> Coded(const Table& table, int32_t code) {
  if (code < 0 || static_cast<size_t>(code) >= table.size()) return std::nullopt;
  return table[static_cast<size_t>(code)];
}

// Sets the line of a port that is not open yet; false when a code stands for nothing.
bool Configure(QSerialPort& port, const LineSettings& settings) {
  auto baud = Coded(kBaudRates, settings.baudCode);
  auto bits = Coded(kDataBits, settings.bitsCode);
  auto parity = Coded(kParities, settings.parityCode);
  auto stop = Coded(kStopBits, settings.stopCode);
  if (!baud || !bits || !parity || !stop) return false;
  port.setBaudRate(*baud);
  port.setDataBits(*bits);
  port.setParity(*parity);
  port.setStopBits(*stop);
  // The port runs one flow control at a time; the hardware one wins when both are asked for.
  port.setFlowControl(settings.cts   ? QSerialPort::HardwareControl
                      : settings.xon ? QSerialPort::SoftwareControl
                                     : QSerialPort::NoFlowControl);
  return true;
}

// Errors that leave the line working: a modem line the port lacks (a pseudo-terminal has
// none), a write wait that timed out, an operation on the port once closed.
bool IsDeviceFailure(QSerialPort::SerialPortError error) {
  switch (error) {
    case QSerialPort::NoError:
    case QSerialPort::UnsupportedOperationError:
    case QSerialPort::TimeoutError:
    case QSerialPort::NotOpenError:
      return false;
    default:
      return true;
  }
}

std::string Bytes(const QByteArray& data) { return std::string(data.constData(), static_cast<size_t>(data.size())); }

// A dead line must not freeze the program inside a write wait.
constexpr int kWriteWaitMilliseconds = 1000;

class QtSerialDevice : public SerialDevice {
 public:
  QtSerialDevice() {
    QObject::connect(&port_, &QSerialPort::readyRead, &port_, [this] {
      if (open_ && onBytesArrived) onBytesArrived();
    });
    // A vanished device (an adapter pulled, the other side of a pseudo-terminal closed) keeps
    // reporting read errors in a tight loop while the port stays open: closing stops it.
    QObject::connect(&port_, &QSerialPort::errorOccurred, &port_, [this](QSerialPort::SerialPortError error) {
      if (!open_ || !IsDeviceFailure(error)) return;
      Close();
      if (onError) onError();
    });
  }

  bool Open(const std::string& name, const LineSettings& settings) {
    port_.setPortName(QString::fromStdString(name));
    if (!Configure(port_, settings) || !port_.open(QIODevice::ReadWrite)) return false;
    port_.setDataTerminalReady(settings.dtr);  // refused without modem lines; the line still works
    open_ = true;
    return true;
  }

  int64_t BytesAvailable() override { return port_.bytesAvailable(); }
  std::string Peek() override { return Bytes(port_.peek(port_.bytesAvailable())); }
  std::string Read(int64_t count) override { return Bytes(port_.read(count)); }
  void Write(const std::string& bytes) override { port_.write(bytes.data(), static_cast<qint64>(bytes.size())); }

  void WaitWritten() override {
    QDeadlineTimer deadline(kWriteWaitMilliseconds);
    while (open_ && port_.bytesToWrite() > 0 && port_.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) {
    }
  }

  void Close() override {
    open_ = false;
    port_.close();
  }

 private:
  QSerialPort port_;
  bool open_ = false;
};

// The system's serial ports, in the order the system lists them.
class SystemSerialPorts : public SerialSystem {
 public:
  int32_t PortCount() override { return static_cast<int32_t>(QSerialPortInfo::availablePorts().size()); }
  std::optional<std::string> PortName(int32_t index) override {
    auto ports = QSerialPortInfo::availablePorts();
    if (index < 0 || index >= ports.size()) return std::nullopt;
    return ports[index].systemLocation().toStdString();
  }
  std::unique_ptr<SerialDevice> Open(const std::string& portName, const LineSettings& settings) override {
    auto device = std::make_unique<QtSerialDevice>();
    if (!device->Open(portName, settings)) return nullptr;
    return device;
  }
};

}  // namespace

std::unique_ptr<SerialSystem> MakeSerialSystem() { return std::make_unique<SystemSerialPorts>(); }

}  // namespace toolkit::real
