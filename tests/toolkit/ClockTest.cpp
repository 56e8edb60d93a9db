// The toolkit's clocks over the installed clock seam: counters wrapped to 32 bits as the
// hardware's are, stamp differences and ages across the wrap, and the pass of a busy wait.
#include "toolkit/Clock.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "tests/support/TestEnvironment.h"
#include "toolkit/Threads.h"

namespace toolkit {
namespace {

class ClockTest : public ::testing::Test {
 protected:
  void SetUp() override { clock_ = &testing_support::InstallTestClock(); }

  testing_support::TestClock* clock_ = nullptr;
};

TEST_F(ClockTest, ClockCountersWrapTo32BitsLikeHardwareCounters) {
  constexpr double kTwoTo32 = 4294967296.0;
  struct Case {
    double milliseconds;
    int32_t ticks;
    int32_t stamp;
  };
  const Case cases[] = {
      {0, 0, 0},
      {16.666, 0, 16},  // 0.99996 ticks
      {350, 21, 350},   // the worker's 21-tick wait
      {2147483647.5, 128849018, 2147483647},
      {2147483648, 128849018, INT32_MIN},  // 2^31 ms wraps negative
      {kTwoTo32 + 5, 257698038, 5},
      {(kTwoTo32 + 7) * 1000 / 60 + 1, 7, -1431655648},  // the tick counter wraps too
  };
  for (const Case& c : cases) {
    clock_->SetMilliseconds(c.milliseconds);
    EXPECT_DOUBLE_EQ(Microseconds(), c.milliseconds * 1000);
    EXPECT_EQ(Ticks(), c.ticks) << c.milliseconds;
    EXPECT_EQ(MillisecondStamp(), c.stamp) << c.milliseconds;
  }
}

TEST_F(ClockTest, StampDifferenceWrapsAcrossTheSignBoundary) {
  struct Case {
    int32_t now, then, difference;
  };
  const Case cases[] = {{2500, 400, 2100},
                        {100, 250, -150},
                        {INT32_MIN + 1, INT32_MAX - 2, 4},
                        {INT32_MAX, INT32_MIN, -1}};
  for (const Case& c : cases) EXPECT_EQ(StampDifference(c.now, c.then), c.difference) << c.now;
}

TEST_F(ClockTest, AStampThatSeemsAheadOfTheClockIsOlderThanAnyLimit) {
  EXPECT_EQ(StampAge(2500, 400), 2100);
  EXPECT_EQ(StampAge(INT32_MIN + 1, INT32_MAX - 2), 4) << "across the wrap";
  EXPECT_EQ(StampAge(INT32_MIN + 10, 0), INT64_MAX) << "2^31 ms after a stamp of 0";
  EXPECT_EQ(StampAge(100, 250), INT64_MAX);
}

// The test clock moves 1 ms a pass on the main thread, as time passes while a real wait spins.
TEST_F(ClockTest, ABusyWaitEndsAndTheOtherThreadsTakeAStepEachPass) {
  int steps = 0;
  CooperativeThread worker([&steps] {
    for (;;) {
      ++steps;
      YieldToNextThread();
    }
  });
  worker.Start();
  const int32_t start = MillisecondStamp();
  for (int pass = 0; pass < 100 && StampAge(MillisecondStamp(), start) < 5; ++pass) WaitPass();
  EXPECT_EQ(clock_->Milliseconds(), 5);
  EXPECT_EQ(steps, 5);
}

}  // namespace
}  // namespace toolkit
