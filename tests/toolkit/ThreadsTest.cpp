#include "toolkit/Threads.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "toolkit/Exceptions.h"
#include "tests/support/CaseName.h"
#include "tests/support/CaughtErrorReports.h"
#include "tests/support/TestEnvironment.h"

namespace toolkit {
namespace {

using State = CooperativeThread::State;

// Records that the objects on a thread's stack were destroyed, and on which side. It also
// yields, as any destructor may: while Kill unwinds the thread, such a yield returns at once.
class Sentinel {
 public:
  explicit Sentinel(std::optional<bool>& destroyedOnMain) : destroyedOnMain_(destroyedOnMain) {}
  ~Sentinel() {
    destroyedOnMain_ = OnMainThread();
    YieldToNextThread();
  }
  Sentinel(const Sentinel&) = delete;
  Sentinel& operator=(const Sentinel&) = delete;

 private:
  std::optional<bool>& destroyedOnMain_;
};

class ThreadsTest : public ::testing::Test {
 protected:
  void SetUp() override { clock_ = &testing_support::InstallTestClock(); }
  void TearDown() override {
    SetRunnableHook(nullptr);
  }

  testing_support::TestClock* clock_ = nullptr;
  testing_support::CaughtErrorReports caught_;
  std::vector<std::string>& reports_ = caught_.lines;
};

TEST_F(ThreadsTest, EachMainYieldRunsEveryRunnableThreadOneStepInCreationOrder) {
  std::vector<std::string> log;
  auto counting = [&log](const std::string& name) {
    return [&log, name] {
      for (int step = 1; step <= 3; ++step) {
        log.push_back(name + std::to_string(step));
        YieldToNextThread();
      }
    };
  };
  CooperativeThread first(counting("a"));
  CooperativeThread second(counting("b"));
  first.Start();
  second.Start();
  EXPECT_TRUE(log.empty()) << "a body begins only at the next pass";
  EXPECT_TRUE(HasRunnableThreads());

  const std::vector<std::vector<std::string>> afterEachYield = {
      {"a1", "b1"}, {"a1", "b1", "a2", "b2"}, {"a1", "b1", "a2", "b2", "a3", "b3"}};
  for (const auto& expected : afterEachYield) {
    YieldToNextThread();
    EXPECT_EQ(log, expected);
    EXPECT_EQ(first.CurrentState(), State::Runnable);
  }
  RunCooperativeThreads();  // both bodies return from their last yield
  EXPECT_EQ(log.size(), 6u);
  EXPECT_EQ(first.CurrentState(), State::Finished);
  EXPECT_EQ(second.CurrentState(), State::Finished);
  EXPECT_FALSE(HasRunnableThreads());
}

TEST_F(ThreadsTest, SleepEndsAtTheFirstPassThatSeesTheClockAtStartPlusTheDuration) {
  struct Case {
    double milliseconds;
    double wokenAt;  // ms; the clock starts at 1 ms and moves 1 ms before each later pass
  };
  for (const Case& c : {Case{200, 201}, Case{0.5, 2}, Case{0, 2}}) {
    clock_->SetMilliseconds(1);
    std::optional<double> wokenAt;
    CooperativeThread sleeper([&] {
      CurrentCooperativeThread()->Sleep(c.milliseconds);
      wokenAt = clock_->Milliseconds();
    });
    sleeper.Start();
    RunCooperativeThreads();
    EXPECT_FALSE(wokenAt) << "Sleep(" << c.milliseconds << ") yields at least once";
    while (sleeper.CurrentState() != State::Finished && clock_->Milliseconds() < 1000) {
      clock_->SetMilliseconds(clock_->Milliseconds() + 1);
      RunCooperativeThreads();
    }
    EXPECT_EQ(wokenAt, c.wokenAt) << "Sleep(" << c.milliseconds << ")";
  }
}

TEST_F(ThreadsTest, SuspendedThreadWaitsForResumeAndBecomingRunnableCallsTheHook) {
  int hookCalls = 0;
  SetRunnableHook([&hookCalls] { ++hookCalls; });
  int stage = 0;
  CooperativeThread worker([&] {
    stage = 1;
    CurrentCooperativeThread()->Suspend();
    stage = 2;
  });
  worker.Start();
  EXPECT_EQ(hookCalls, 1);
  RunCooperativeThreads();
  EXPECT_EQ(worker.CurrentState(), State::Suspended);
  EXPECT_FALSE(HasRunnableThreads());
  RunCooperativeThreads();
  EXPECT_EQ(stage, 1);

  worker.Resume();
  EXPECT_EQ(hookCalls, 2);
  EXPECT_EQ(worker.CurrentState(), State::Runnable);
  EXPECT_EQ(stage, 1) << "a resumed thread goes on at the next pass";
  RunCooperativeThreads();
  EXPECT_EQ(stage, 2);
  EXPECT_EQ(worker.CurrentState(), State::Finished);
  worker.Resume();
  EXPECT_EQ(hookCalls, 2) << "only a suspended thread resumes";
}

struct WaitCase {
  const char* name;
  std::function<void()> wait;
  friend void PrintTo(const WaitCase& c, std::ostream* out) { *out << c.name; }
};

class ThreadsKillTest : public ThreadsTest, public ::testing::WithParamInterface<WaitCase> {};

TEST_P(ThreadsKillTest, KillUnwindsTheWaitingThreadsStackAndFinishesIt) {
  std::optional<bool> destroyedOnMain;
  bool ranPastTheWait = false;
  CooperativeThread worker([&] {
    Sentinel sentinel(destroyedOnMain);
    GetParam().wait();
    ranPastTheWait = true;
  });
  worker.Start();
  RunCooperativeThreads();
  ASSERT_FALSE(destroyedOnMain);

  worker.Kill();
  EXPECT_EQ(destroyedOnMain, false) << "the destructors run as the killed thread";
  EXPECT_TRUE(OnMainThread());
  EXPECT_EQ(worker.CurrentState(), State::Finished);
  RunCooperativeThreads();
  EXPECT_FALSE(ranPastTheWait);
  EXPECT_TRUE(reports_.empty()) << "a kill is no failure";
}

INSTANTIATE_TEST_SUITE_P(
    ThreadsWaits, ThreadsKillTest,
    ::testing::Values(WaitCase{"YieldLoop", [] { for (;;) YieldToNextThread(); }},
                      WaitCase{"Sleep", [] { CurrentCooperativeThread()->Sleep(1e9); }},
                      WaitCase{"Suspend", [] { CurrentCooperativeThread()->Suspend(); }}),
    testing_support::NameOfCase);

TEST_F(ThreadsTest, DestroyingAThreadKillsIt) {
  std::optional<bool> destroyedOnMain;
  auto worker = std::make_unique<CooperativeThread>([&] {
    Sentinel sentinel(destroyedOnMain);
    CurrentCooperativeThread()->Suspend();
  });
  worker->Start();
  RunCooperativeThreads();
  worker.reset();
  EXPECT_EQ(destroyedOnMain, false);
  EXPECT_FALSE(HasRunnableThreads());
}

TEST_F(ThreadsTest, KilledBeforeItsFirstStepAThreadRunsNoneOfItsBody) {
  bool ran = false;
  CooperativeThread worker([&] { ran = true; });
  worker.Start();
  worker.Kill();
  RunCooperativeThreads();
  EXPECT_FALSE(ran);
  EXPECT_EQ(worker.CurrentState(), State::Finished);
}

TEST_F(ThreadsTest, ExceptionsInsideAThreadAreCaughtThereOrReportedAndEndIt) {
  static int failures = 0;  // the report shows a repeated failure only once: keep each unique
  const std::string message = "worker failure " + std::to_string(++failures);
  std::vector<std::string> log;
  CooperativeThread worker([&] {
    try {
      throw RuntimeException("handled inside");
    } catch (const RuntimeException& e) {
      log.push_back(e.what());
    }
    YieldToNextThread();
    log.push_back("resumed");
    throw IOException(5, message);
  });
  worker.Start();
  RunCooperativeThreads();
  EXPECT_EQ(log, std::vector<std::string>{"handled inside"});
  EXPECT_TRUE(reports_.empty());

  EXPECT_NO_THROW(RunCooperativeThreads());
  EXPECT_EQ(log, (std::vector<std::string>{"handled inside", "resumed"}));
  EXPECT_EQ(worker.CurrentState(), State::Finished);
  // Other lines may close a run of repeated failures that an earlier test left open.
  EXPECT_EQ(std::count_if(reports_.begin(), reports_.end(),
                          [&](const std::string& line) { return line.find(message) != std::string::npos; }),
            1);
}

TEST_F(ThreadsTest, OnlyTheMainThreadPassesRequireMainThread) {
  EXPECT_TRUE(OnMainThread());
  EXPECT_EQ(CurrentCooperativeThread(), nullptr);
  EXPECT_NO_THROW(RequireMainThread());

  std::string caught;
  bool insideLooksOffMain = false;
  CooperativeThread* self = nullptr;
  CooperativeThread worker([&] {
    insideLooksOffMain = !OnMainThread();
    self = CurrentCooperativeThread();
    try {
      RequireMainThread();
    } catch (const ThreadAccessingUIException& e) {
      caught = e.what();
    }
  });
  worker.Start();
  RunCooperativeThreads();
  EXPECT_TRUE(insideLooksOffMain);
  EXPECT_EQ(self, &worker);
  EXPECT_EQ(caught,
            "A thread has attempted to manipulate a user interface element. This can only be done "
            "from the application's main thread.");
  EXPECT_TRUE(OnMainThread());
}

TEST_F(ThreadsTest, AThreadMayStartKillAndDestroyOthersDuringAPass) {
  std::vector<std::string> log;
  std::optional<bool> killedOnMain, destroyedOnMain;
  CooperativeThread started([&] { log.push_back("started runs"); });
  std::unique_ptr<CooperativeThread> destroyed;
  std::unique_ptr<CooperativeThread> killed;
  CooperativeThread boss([&] {
    log.push_back("boss waits");
    YieldToNextThread();
    started.Start();
    killed->Kill();
    killed->Start();  // a new run, due at the next pass like any start
    destroyed.reset();
    log.push_back("boss acted");
  });
  killed = std::make_unique<CooperativeThread>([&] {
    Sentinel sentinel(killedOnMain);
    for (;;) {
      log.push_back("killed waits");
      YieldToNextThread();
    }
  });
  destroyed = std::make_unique<CooperativeThread>([&] {
    Sentinel sentinel(destroyedOnMain);
    for (;;) {
      log.push_back("destroyed waits");
      YieldToNextThread();
    }
  });
  boss.Start();
  killed->Start();
  destroyed->Start();
  RunCooperativeThreads();
  EXPECT_EQ(log, (std::vector<std::string>{"boss waits", "killed waits", "destroyed waits"}));

  log.clear();
  RunCooperativeThreads();
  EXPECT_EQ(log, std::vector<std::string>{"boss acted"}) << "the others' steps are not due";
  EXPECT_EQ(killedOnMain, false);
  EXPECT_EQ(destroyedOnMain, false);
  EXPECT_EQ(started.CurrentState(), State::Runnable);

  log.clear();
  RunCooperativeThreads();
  EXPECT_EQ(log, (std::vector<std::string>{"started runs", "killed waits"}));
}

TEST_F(ThreadsTest, AFinishedThreadStartsAgainButStartingALiveOneDoesNothing) {
  int runs = 0;
  CooperativeThread worker([&] {
    ++runs;
    CurrentCooperativeThread()->Start();  // alive: no effect
    YieldToNextThread();
  });
  worker.Start();
  RunCooperativeThreads();
  worker.Start();
  RunCooperativeThreads();
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(worker.CurrentState(), State::Finished);
  worker.Start();
  RunCooperativeThreads();
  EXPECT_EQ(runs, 2);
}

TEST(ThreadsDeathTest, ProgrammingErrorsThatCannotBeThrownEndTheProgramWithAMessage) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");  // Qt may have started threads of its own
  const auto swallowTheKill = [] {
    CooperativeThread worker([] {
      try {
        CurrentCooperativeThread()->Suspend();
      } catch (...) {
      }
    });
    worker.Start();
    RunCooperativeThreads();
    worker.Kill();
  };
  const auto destroyItself = [] {
    std::unique_ptr<CooperativeThread> worker;
    worker = std::make_unique<CooperativeThread>([&worker] { worker.reset(); });
    worker->Start();
    RunCooperativeThreads();
  };
  // Builds with assertions stop already at Boost's own check, when the swallowed exception goes.
  EXPECT_DEATH(swallowTheKill(), "swallowed its own termination|forced_unwind.*caught");
  EXPECT_DEATH(destroyItself(), "cannot be killed while its own code runs");
}

struct MisuseCase {
  const char* name;
  bool fromInside;  // done by the worker's body, else by the main thread between passes
  std::function<void(CooperativeThread&)> misuse;
  friend void PrintTo(const MisuseCase& c, std::ostream* out) { *out << c.name; }
};

class ThreadsMisuseTest : public ThreadsTest, public ::testing::WithParamInterface<MisuseCase> {};

TEST_P(ThreadsMisuseTest, FailsWithARuntimeExceptionAndLeavesTheThreadWorking) {
  const MisuseCase& c = GetParam();
  std::optional<std::string> failure;
  auto attempt = [&](CooperativeThread& thread) {
    try {
      c.misuse(thread);
    } catch (const RuntimeException& e) {
      failure = std::string(e.ClassName()) + ": " + e.what();
    }
  };
  int steps = 0;
  CooperativeThread worker([&] {
    if (c.fromInside) attempt(*CurrentCooperativeThread());
    for (;;) {
      ++steps;
      YieldToNextThread();
    }
  });
  worker.Start();
  RunCooperativeThreads();
  if (!c.fromInside) attempt(worker);
  ASSERT_TRUE(failure) << "no exception";
  EXPECT_EQ(failure->rfind("RuntimeException: ", 0), 0u) << *failure;

  RunCooperativeThreads();
  EXPECT_EQ(steps, 2);
  EXPECT_EQ(worker.CurrentState(), State::Runnable);
}

INSTANTIATE_TEST_SUITE_P(
    ThreadsMisuses, ThreadsMisuseTest,
    ::testing::Values(
        MisuseCase{"KillItself", true, [](CooperativeThread& self) { self.Kill(); }},
        MisuseCase{"PassFromAThread", true, [](CooperativeThread&) { RunCooperativeThreads(); }},
        MisuseCase{"SuspendFromMain", false, [](CooperativeThread& other) { other.Suspend(); }},
        MisuseCase{"SleepFromMain", false, [](CooperativeThread& other) { other.Sleep(1); }}),
    testing_support::NameOfCase);

}  // namespace
}  // namespace toolkit
