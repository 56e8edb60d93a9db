#pragma once
// Catches the toolkit's unhandled-error report lines while it lives, so a test can check them,
// and then puts back the sink it found.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/UnhandledErrors.h"

namespace testing_support {

class CaughtErrorReports {
 public:
  CaughtErrorReports()
      : previous_(toolkit::SetUnhandledErrorSink([this](const std::string& line) { lines.push_back(line); })) {}
  ~CaughtErrorReports() { toolkit::SetUnhandledErrorSink(std::move(previous_)); }
  CaughtErrorReports(const CaughtErrorReports&) = delete;
  CaughtErrorReports& operator=(const CaughtErrorReports&) = delete;

  std::vector<std::string> lines;

 private:
  std::function<void(const std::string& line)> previous_;
};

}  // namespace testing_support
