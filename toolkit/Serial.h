#pragma once
// Serial ports: the system's ports by number, and the serial control that opens one with
// its stored line settings. Bytes pass unchanged both ways: a text here holds one byte per
// char, whatever its value.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/Control.h"
#include "toolkit/Event.h"
#include "toolkit/Seams.h"

namespace toolkit {

// One of the system's serial ports.
class SerialPort {
 public:
  explicit SerialPort(std::string name) : name_(std::move(name)) {}
  const std::string& Name() const { return name_; }

 private:
  std::string name_;
};

namespace System {
int32_t SerialPortCount();
// The system's port number index (from 0); nil when the system has no such port.
Ref<SerialPort> SerialPort(int32_t index);
}  // namespace System

class Serial : public Control {
 public:
  Serial();
  ~Serial() override;

  void SetSerialPort(Ref<toolkit::SerialPort> port);
  Ref<toolkit::SerialPort> SerialPort() const { return port_; }
  // Opens the chosen port with the stored line settings; false when it cannot be opened.
  bool Open();
  void Close();
  bool IsOpen() const { return device_ != nullptr; }

  int64_t BytesAvailable();
  std::string LookAhead();           // every waiting byte, none removed
  std::string Read(int64_t count);   // removes up to count bytes
  std::string ReadAll();
  void Write(const std::string& bytes);
  void XmitWait();                   // until the written bytes have left

  Event<Serial&> DataAvailable;
  // Raised once when the open device fails (a vanished adapter); the device is closed then.
  Event<Serial&> Error;

  LineSettings Settings() const { return settings_; }
  std::optional<PropertyType> PropertyTypeOf(std::string_view key) const override;
  void ApplyProperty(const PropertyEntry& entry) override;

  // Raises DataAvailable while bytes wait, one event at a time: again after a handler that
  // removed a byte or during which bytes arrived, never re-entered.
  void DeliverDataAvailable();

 private:
  // Runs a reaction to a notification of the device; a closed device is no longer heard.
  void FromDevice(const SerialDevice* device, void (Serial::*reaction)());
  void DeviceFailed();
  void RaiseError();
  // Closes the open device. It is destroyed only once no device notification is running,
  // since a device may be closed from inside its own notification (its error, a handler).
  void DropDevice();

  Ref<toolkit::SerialPort> port_;
  LineSettings settings_;
  std::unique_ptr<SerialDevice> device_;
  std::vector<std::unique_ptr<SerialDevice>> closedDevices_;
  int notificationsRunning_ = 0;
  bool delivering_ = false;
  bool failedWhileDelivering_ = false;
  int64_t removedDuringHandler_ = 0;
};

}  // namespace toolkit
