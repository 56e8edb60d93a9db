// A log that cannot be written reaches the person at the desktop: the logging tick's failure
// opens the toolkit's error report window once, naming the file and the system's reason,
// and no message box of the program's.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "tests/support/program/ConnectedProgram.h"
#include "toolkit/Timer.h"

namespace {

using Mode = testing_support::TestDocuments::Mode;

class LogFailureReport : public ::testing::Test {
 protected:
  void Advance(int milliseconds) {
    for (int ms = 0; ms < milliseconds; ++ms) {
      program.environment.clock.SetMilliseconds(program.environment.clock.Milliseconds() + 1);
      toolkit::FireDueTimers();
    }
  }

  program_fixtures::ConnectedProgram program;
  testing_support::TestDocuments& documents = program.environment.documents;
  testing_support::RecordingDialogs& dialogs = program.environment.dialogs;
};

TEST_F(LogFailureReport, EveryFailingTickOfARunOpensOneReportAndNoMessageBox) {
  documents.SetMode(Mode::ReadOnly);
  const std::string file = *documents.DocumentsPath() + "/2024_03_07_LogKorvenal_COM0.csv";
  Advance(3000);  // six logging ticks, each failing
  ASSERT_EQ(dialogs.errorReports.size(), 1u);
  const std::string& report = dialogs.errorReports.front();
  EXPECT_EQ(report.rfind("A file could not be written.\n\n", 0), 0u) << report;
  EXPECT_NE(report.find(file), std::string::npos) << report;
  EXPECT_NE(report.find(std::strerror(ENOTDIR)), std::string::npos) << report;
  EXPECT_TRUE(dialogs.messages.empty());

  documents.SetMode(Mode::Normal);
  Advance(1000);  // the log is written again: the run of failures is over
  documents.SetMode(Mode::Missing);
  Advance(1000);
  ASSERT_EQ(dialogs.errorReports.size(), 2u);
  EXPECT_EQ(dialogs.errorReports.back().rfind("Something the program needed was missing.\n\n", 0), 0u)
      << dialogs.errorReports.back();
  EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
