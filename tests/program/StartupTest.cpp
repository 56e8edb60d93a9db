#include <gtest/gtest.h>

#include "app/App.h"
#include "app/MainMenuBar.h"
#include "app/Startup.h"
#include "monitor/WindowMain.h"
#include "tests/support/CaughtErrorReports.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/program/StartedProgram.h"
#include "toolkit/Threads.h"

namespace {

// The start routine, Main, is each test's to run.
class Startup : public ::testing::Test {
 protected:
  testing_support::TestEnvironment environment;
  testing_support::CaughtErrorReports caught;
  std::vector<std::string>& reports = caught.lines;
  program_fixtures::ProgramLifetime lifetime;
};

TEST_F(Startup, OpensTheMainWindowWithTheMenuBarThenRunsTheLoop) {
  Main();
  EXPECT_TRUE(reports.empty());
  EXPECT_EQ(environment.loop.runs, 1);
  toolkit::Ref<toolkit::Window> window = toolkit::Window::OpenInstance(WindowMain::kRegisteredName);
  ASSERT_FALSE(window.IsNil());
  EXPECT_EQ(window->Title(), "Hydrogenerator Monitoring");
  EXPECT_EQ(window->MenuBar().Get(), single::MainMenuBar().Get());
  EXPECT_EQ(single::App()->MenuBar().Get(), single::MainMenuBar().Get());
  EXPECT_EQ(single::App().Get(), single::App().Get());
}

TEST_F(Startup, AFailingMenuBarIsReportedAndTheLoopIsNotEntered) {
  // Off the main thread every user-interface call raises, the menu bar's first item too.
  toolkit::CooperativeThread offMain([] { Main(); });
  offMain.Start();
  toolkit::RunCooperativeThreads();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].find("ThreadAccessingUIException"), std::string::npos) << reports[0];
  EXPECT_EQ(environment.loop.runs, 0);
  EXPECT_TRUE(toolkit::Window::OpenInstance(WindowMain::kRegisteredName).IsNil());
}

TEST_F(Startup, AFailureWhileTheWindowIsDueIsReportedAndTheCompletedMenuBarIsStillReleased) {
  environment.loop.failFrameworkInitialization = true;
  Main();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].find("framework initialisation failed"), std::string::npos) << reports[0];
  EXPECT_TRUE(environment.dialogs.errorReports.empty()) << "the program ends at once: no window to vanish with it";
  EXPECT_EQ(environment.loop.runs, 0);

  std::weak_ptr<MainMenuBar> built = single::MainMenuBar().Shared();
  toolkit::runtime::RuntimePerformFinalizers();
  // The finaliser emptied the single instance: the next use builds a new bar.
  EXPECT_NE(single::MainMenuBar().Get(), built.lock().get());
}

TEST_F(Startup, TheMainWindowIsASingleInstance) {
  Main();
  toolkit::Ref<WindowMain> first = single::WindowMain();
  first->U_in = 12.5;
  EXPECT_EQ(single::WindowMain().Get(), first.Get());
  EXPECT_EQ(single::WindowMain()->U_in, 12.5);
}

}  // namespace
