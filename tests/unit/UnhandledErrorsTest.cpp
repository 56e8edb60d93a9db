#include "toolkit/UnhandledErrors.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/CaughtErrorReports.h"
#include "toolkit/Exceptions.h"

namespace toolkit {
namespace {

class UnhandledErrors : public ::testing::Test {
 protected:
  void TearDown() override {
    // A normal return ends any failure run, so no source's state reaches the next test.
    for (const void* source : {sourceA, sourceB}) RunEventHandler(source, [] {});
  }

  // Runs a handler of the source that fails with text, or returns normally when text is empty.
  void Tick(const void* source, const std::string& text) {
    RunEventHandler(source, [&] {
      if (!text.empty()) throw IOException(13, text);
    });
  }

  testing_support::CaughtErrorReports caught;
  std::vector<std::string>& lines = caught.lines;
  const void* const sourceA = &lines;
  const void* const sourceB = &sourceA;
};

TEST_F(UnhandledErrors, TheReportLineNamesTheExceptionAndItsErrorNumber) {
  const struct {
    std::function<void()> handler;
    const char* line;
  } cases[] = {
      {[] { throw IOException(28, "cannot write to /tmp/x.csv: No space left on device"); },
       "Unhandled exception: IOException: cannot write to /tmp/x.csv: No space left on device (error number 28)"},
      {[] { throw NilObjectException(); },
       "Unhandled exception: NilObjectException: An empty object reference was used."},
      {[] { throw std::out_of_range("index 41"); }, "Unhandled exception: std::out_of_range: index 41"},
      {[] { throw 7; }, "Unhandled exception: unknown exception"},
  };
  for (const auto& c : cases) {
    lines.clear();
    RunEventHandler(sourceA, c.handler);  // returns: the program goes on
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), c.line);
  }
}

TEST_F(UnhandledErrors, ARepeatIsShownOnceThenAChangeAndTheStopAreTold) {
  for (const char* text : {"A", "A", "A", "A", "B", "B", "", ""}) Tick(sourceA, text);
  const std::vector<std::string> expected = {
      "Unhandled exception: IOException: A (error number 13)",
      "Unhandled exception repeating (shown once): IOException: A (error number 13)",
      "Unhandled exception changed after 3 repeats: IOException: A (error number 13)",
      "Unhandled exception: IOException: B (error number 13)",
      "Unhandled exception repeating (shown once): IOException: B (error number 13)",
      "Unhandled exception stopped after 1 repeat: IOException: B (error number 13)",
  };
  EXPECT_EQ(lines, expected);
}

TEST_F(UnhandledErrors, AFailureThatDoesNotRepeatIsToldToHaveStopped) {
  for (const char* text : {"A", "", "A"}) Tick(sourceA, text);
  const std::vector<std::string> expected = {
      "Unhandled exception: IOException: A (error number 13)",
      "Unhandled exception stopped: IOException: A (error number 13)",
      "Unhandled exception: IOException: A (error number 13)",
  };
  EXPECT_EQ(lines, expected);
}

TEST_F(UnhandledErrors, EachSourceHasItsOwnRun) {
  Tick(sourceA, "A");
  Tick(sourceB, "A");  // the same failure from another source is no repeat
  Tick(sourceB, "");   // and its stop does not end the first source's run
  Tick(sourceA, "A");
  const std::vector<std::string> expected = {
      "Unhandled exception: IOException: A (error number 13)",
      "Unhandled exception: IOException: A (error number 13)",
      "Unhandled exception stopped: IOException: A (error number 13)",
      "Unhandled exception repeating (shown once): IOException: A (error number 13)",
  };
  EXPECT_EQ(lines, expected);
}

TEST_F(UnhandledErrors, AForgottenSourceStartsAfreshAndSourcelessFailuresAreEachReported) {
  Tick(sourceA, "A");
  ForgetEventSource(sourceA);  // gone; a new object may take its address
  Tick(sourceA, "A");
  for (int i = 0; i < 2; ++i) ReportUnhandledException(std::make_exception_ptr(std::runtime_error("worker")));
  const std::vector<std::string> expected = {
      "Unhandled exception: IOException: A (error number 13)",
      "Unhandled exception: IOException: A (error number 13)",
      "Unhandled exception: std::runtime_error: worker",
      "Unhandled exception: std::runtime_error: worker",
  };
  EXPECT_EQ(lines, expected);
}

}  // namespace
}  // namespace toolkit
