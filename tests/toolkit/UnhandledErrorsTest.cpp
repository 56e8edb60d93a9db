#include "toolkit/UnhandledErrors.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/CaughtErrorReports.h"
#include "tests/support/TestEnvironment.h"
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

// The same reports with a dialog service: the error report window, recorded.
class UnhandledErrorWindow : public UnhandledErrors {
 protected:
  testing_support::RecordingDialogs& dialogs = testing_support::InstallRecordingDialogs();
};

constexpr const char* kRetries =
    "The program keeps running and will try again. While it keeps failing, this message is not shown again.";

TEST_F(UnhandledErrorWindow, SaysInPlainWordsWhatFailedAndThatTheProgramGoesOnAndRetries) {
  const struct {
    std::function<void()> handler;
    std::string text;
  } cases[] = {
      {[] {
         throw IOException(28, "cannot append to /home/u/Documents/2024_03_07_LogKorvenal_COM0.csv: No space left on device");
       },
       std::string("A file could not be written.\n\n"
                   "Cannot append to /home/u/Documents/2024_03_07_LogKorvenal_COM0.csv: No space left on device.\n\n") +
           kRetries},
      {[] { throw NilObjectException(); },
       std::string("Something the program needed was missing.\n\nAn empty object reference was used.\n\n") + kRetries},
      {[] { throw std::out_of_range("index 41"); },
       std::string("The program met an error it did not expect.\n\nstd::out_of_range: index 41.\n\n") + kRetries},
  };
  for (const auto& c : cases) {
    dialogs.errorReports.clear();
    RunEventHandler(sourceA, c.handler);
    RunEventHandler(sourceA, [] {});  // each case begins a run of its own
    EXPECT_EQ(dialogs.errorReports, std::vector<std::string>{c.text});
  }
  EXPECT_TRUE(dialogs.messages.empty()) << "the report is no message box of the program's";
}

TEST_F(UnhandledErrorWindow, OpensOncePerRunOfFailuresAndAgainOnlyAfterTheSourceHasWorked) {
  for (const char* text : {"A", "A", "A"}) Tick(sourceA, text);
  EXPECT_EQ(dialogs.errorReports.size(), 1u) << "repeats open no more windows";
  Tick(sourceA, "B");  // a changed failure refreshes the window, opens none
  ASSERT_EQ(dialogs.errorReports.size(), 1u);
  EXPECT_EQ(dialogs.errorReports.back(), std::string("A file could not be written.\n\nB.\n\n") + kRetries);
  Tick(sourceB, "A");  // another source begins its own run
  EXPECT_EQ(dialogs.errorReports.size(), 2u);
  for (const char* text : {"", "A", "A"}) Tick(sourceA, text);  // worked, then fails again
  EXPECT_EQ(dialogs.errorReports.size(), 3u);
}

TEST_F(UnhandledErrorWindow, OpensForEachFailureThatTheProgramOutlivesButNotBeforeItsExit) {
  for (int i = 0; i < 2; ++i) ReportUnhandledException(std::make_exception_ptr(std::runtime_error("worker")));
  const std::string text = "The program met an error it did not expect.\n\nstd::runtime_error: worker.\n\nThe program keeps running.";
  EXPECT_EQ(dialogs.errorReports, (std::vector<std::string>{text, text}));

  lines.clear();
  ReportUnhandledExceptionBeforeExit(std::make_exception_ptr(NilObjectException()));
  EXPECT_EQ(lines, std::vector<std::string>{"Unhandled exception: NilObjectException: An empty object reference was used."});
  EXPECT_EQ(dialogs.errorReports.size(), 2u) << "the program ends at once: a window would vanish with it";
}

}  // namespace
}  // namespace toolkit
