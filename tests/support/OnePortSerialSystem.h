#pragma once
// The system's serial ports as the user would see them with a bus adapter plugged in: one
// port (the bus simulator's pseudo-terminal, which the system's own port list leaves out),
// opened the real way.
#include <memory>
#include <string>

#include "toolkit/Seams.h"

namespace testing_support {

class OnePortSerialSystem : public toolkit::SerialSystem {
 public:
  explicit OnePortSerialSystem(std::string path);
  ~OnePortSerialSystem() override;
  int32_t PortCount() override { return 1; }
  std::optional<std::string> PortName(int32_t index) override;
  std::unique_ptr<toolkit::SerialDevice> Open(const std::string& name, const toolkit::LineSettings& settings) override;

 private:
  std::string path_;
  std::unique_ptr<toolkit::SerialSystem> real_;
};

}  // namespace testing_support
