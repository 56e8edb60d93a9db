#include "toolkit/Serial.h"

#include <array>
#include <type_traits>
#include <utility>
#include <variant>

namespace toolkit {
namespace {

// The property-record keys of the line settings and the field each one sets.
using LineField = std::variant<int32_t LineSettings::*, bool LineSettings::*>;
constexpr std::array<std::pair<std::string_view, LineField>, 7> kLineKeys = {{
    {"Baud", &LineSettings::baudCode},
    {"Bits", &LineSettings::bitsCode},
    {"Parity", &LineSettings::parityCode},
    {"Stop", &LineSettings::stopCode},
    {"XON", &LineSettings::xon},
    {"CTS", &LineSettings::cts},
    {"DTR", &LineSettings::dtr},
}};

const LineField* LineFieldOf(std::string_view key) {
  for (const auto& [name, field] : kLineKeys)
    if (name == key) return &field;
  return nullptr;
}

}  // namespace

namespace System {

int32_t SerialPortCount() { return SerialPorts().PortCount(); }

Ref<toolkit::SerialPort> SerialPort(int32_t index) {
  std::optional<std::string> name = SerialPorts().PortName(index);
  if (!name) return nullptr;
  return New<toolkit::SerialPort>(std::move(*name));
}

}  // namespace System

Serial::Serial() = default;
Serial::~Serial() = default;

void Serial::SetSerialPort(Ref<toolkit::SerialPort> port) { port_ = std::move(port); }

bool Serial::Open() {
  // The same port cannot be opened twice, so the old device goes first.
  DropDevice();
  if (!port_) return false;
  std::unique_ptr<SerialDevice> device = SerialPorts().Open(port_->Name(), settings_);
  if (!device) return false;
  const SerialDevice* opened = device.get();
  device->onBytesArrived = [this, opened] { FromDevice(opened, &Serial::DeliverDataAvailable); };
  device->onError = [this, opened] { FromDevice(opened, &Serial::DeviceFailed); };
  device_ = std::move(device);
  return true;
}

void Serial::Close() { DropDevice(); }

int64_t Serial::BytesAvailable() { return device_ ? device_->BytesAvailable() : 0; }

std::string Serial::LookAhead() { return device_ ? device_->Peek() : std::string(); }

std::string Serial::Read(int64_t count) {
  std::string bytes = device_ && count > 0 ? device_->Read(count) : std::string();
  removedDuringHandler_ += static_cast<int64_t>(bytes.size());
  return bytes;
}

std::string Serial::ReadAll() { return Read(BytesAvailable()); }

void Serial::Write(const std::string& bytes) {
  if (device_) device_->Write(bytes);
}

void Serial::XmitWait() {
  if (device_) device_->WaitWritten();
}

std::optional<PropertyType> Serial::PropertyTypeOf(std::string_view key) const {
  const LineField* field = LineFieldOf(key);
  if (!field) return std::nullopt;
  return std::holds_alternative<int32_t LineSettings::*>(*field) ? PropertyType::Int32 : PropertyType::Boolean;
}

void Serial::ApplyProperty(const PropertyEntry& entry) {
  const LineField* field = LineFieldOf(entry.key);
  if (!field) return;
  std::visit(
      [this, &entry](auto member) {
        using Value = std::remove_reference_t<decltype(settings_.*member)>;
        settings_.*member = std::get<Value>(entry.value);
      },
      *field);
}

// A device may buffer bytes without notifying while the handler waits for its writes, so
// arrivals are told by the count of waiting bytes, not by notifications alone. The loop ends:
// a further pass follows only a handler that removed a byte or during which bytes arrived.
void Serial::DeliverDataAvailable() {
  if (delivering_) return;  // the running pass sees these bytes when its handler returns
  std::shared_ptr<Control> keepSelf = shared_from_this();
  delivering_ = true;
  const SerialDevice* device = device_.get();
  while (device && device_.get() == device && device_->BytesAvailable() > 0) {
    int64_t waitingBefore = device_->BytesAvailable();
    removedDuringHandler_ = 0;
    Deliver([this] { DataAvailable.Raise(*this); });
    if (device_.get() != device) break;  // closed or reopened by the handler
    bool arrived = device_->BytesAvailable() + removedDuringHandler_ > waitingBefore;
    if (removedDuringHandler_ == 0 && !arrived) break;
  }
  delivering_ = false;
  if (std::exchange(failedWhileDelivering_, false)) RaiseError();
}

void Serial::FromDevice(const SerialDevice* device, void (Serial::*reaction)()) {
  if (device_.get() != device) return;
  std::shared_ptr<Control> keepSelf = shared_from_this();
  ++notificationsRunning_;
  (this->*reaction)();
  --notificationsRunning_;
}

// A failing device may report again and again; it is closed at once, so it is heard once.
// A failure inside a data-available handler is raised after it, one event at a time.
void Serial::DeviceFailed() {
  DropDevice();
  if (delivering_)
    failedWhileDelivering_ = true;
  else
    RaiseError();
}

void Serial::RaiseError() {
  Deliver([this] { Error.Raise(*this); });
}

void Serial::DropDevice() {
  if (device_) {
    device_->Close();
    closedDevices_.push_back(std::move(device_));
  }
  if (notificationsRunning_ == 0) closedDevices_.clear();
}

}  // namespace toolkit
