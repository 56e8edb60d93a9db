// The program's event loop fires the toolkit's timers from one Qt timer aimed at the earliest
// due. A wake-up that comes before anything is due must not be the last.
#include <gtest/gtest.h>

#include "tests/support/QtLoop.h"
#include "tests/support/TestEnvironment.h"
#include "toolkit/RealServices.h"
#include "toolkit/Timer.h"

namespace toolkit {
namespace {

using testing_support::RunQtLoopFor;

TEST(TimerDriver, AWakeUpBeforeTheDueTimeAimsAgain) {
  testing_support::TestEnvironment environment;
  std::unique_ptr<EventLoop> loop = real::MakeEventLoop();
  loop->InitializeFramework([] {});
  Ref<Timer> ticking = New<Timer>();
  int fired = 0;
  ticking->Action.Bind([&fired](Timer&) { ++fired; });
  ticking->SetPeriod(10);
  // Half a microsecond before it is due, a change to another timer aims the wake-up anew.
  environment.clock.SetMilliseconds(9.9995);
  New<Timer>()->SetEnabled(false);
  RunQtLoopFor(30);
  EXPECT_EQ(fired, 0) << "the clock stands still before the due time";
  environment.clock.SetMilliseconds(1000);
  RunQtLoopFor(100);
  EXPECT_GE(fired, 1);
}

}  // namespace
}  // namespace toolkit
