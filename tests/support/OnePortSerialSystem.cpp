#include "tests/support/OnePortSerialSystem.h"

#include "toolkit/RealServices.h"

namespace testing_support {

OnePortSerialSystem::OnePortSerialSystem(std::string path)
    : path_(std::move(path)), real_(toolkit::real::MakeSerialSystem()) {}

OnePortSerialSystem::~OnePortSerialSystem() = default;

std::optional<std::string> OnePortSerialSystem::PortName(int32_t index) {
  if (index != 0) return std::nullopt;
  return path_;
}

std::unique_ptr<toolkit::SerialDevice> OnePortSerialSystem::Open(const std::string& name,
                                                                 const toolkit::LineSettings& settings) {
  return real_->Open(name, settings);
}

}  // namespace testing_support
