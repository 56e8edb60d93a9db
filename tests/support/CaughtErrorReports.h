#pragma once
// Catches the toolkit's unhandled-error report lines while it lives, so a test can check them,
// and then sends reports to standard error again, as the toolkit does by default.
#include <iostream>
#include <string>
#include <vector>

#include "toolkit/UnhandledErrors.h"

namespace testing_support {

class CaughtErrorReports {
 public:
  CaughtErrorReports() {
    toolkit::SetUnhandledErrorSink([this](const std::string& line) { lines.push_back(line); });
  }
  ~CaughtErrorReports() {
    toolkit::SetUnhandledErrorSink([](const std::string& line) { std::cerr << line << std::endl; });
  }
  CaughtErrorReports(const CaughtErrorReports&) = delete;
  CaughtErrorReports& operator=(const CaughtErrorReports&) = delete;

  std::vector<std::string> lines;
};

}  // namespace testing_support
