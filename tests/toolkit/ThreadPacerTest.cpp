// The pacer runs the cooperative threads from Qt's event loop, on real time.
#include "toolkit/ThreadPacer.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <functional>
#include <map>

#include "tests/support/TestEnvironment.h"
#include "toolkit/Threads.h"

namespace toolkit {
namespace {

class ThreadPacerTest : public ::testing::Test {
 protected:
  void SetUp() override { StartThreadPacer(); }
  // The pacer stops once no thread is runnable; nothing restarts it for the next test.
  void TearDown() override { SetRunnableHook(nullptr); }

  // Handles Qt's events, one batch a turn, until done() holds or 5 s have passed.
  void HandleEventsUntil(const std::function<bool()>& done) {
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < 5000) {
      QCoreApplication::processEvents();
      ++turn;
    }
  }
  // A step of a thread notes the turn of the event loop it runs in.
  void NoteStep() { ++stepsInTurn[turn]; }

  testing_support::TestEnvironment environment;
  int turn = 0;
  std::map<int, int> stepsInTurn;
};

TEST_F(ThreadPacerTest, AShortRunOfYieldsGoesOnWithoutWaitingForTheNextWakeUp) {
  // As a checksum over a request does: a yield after each of its 12 bytes.
  CooperativeThread checksum([this] {
    for (int byte = 0; byte < 12; ++byte) {
      NoteStep();
      YieldToNextThread();
    }
    NoteStep();
  });
  checksum.Start();
  HandleEventsUntil([&checksum] { return checksum.CurrentState() == CooperativeThread::State::Finished; });
  ASSERT_EQ(checksum.CurrentState(), CooperativeThread::State::Finished);
  // One wake-up of the pacer; a second one only if the machine held the first one up.
  EXPECT_LE(stepsInTurn.size(), 2u) << "the 13 steps took " << stepsInTurn.size() << " wake-ups";
}

TEST_F(ThreadPacerTest, AThreadThatNeverStopsYieldingStillLeavesTheEventLoopItsTurns) {
  // As a worker waiting out a tick count does, for as long as the test lets it.
  CooperativeThread waiting([this] {
    for (;;) {
      NoteStep();
      YieldToNextThread();
    }
  });
  waiting.Start();
  HandleEventsUntil([this] { return stepsInTurn.size() >= 5; });
  ASSERT_GE(stepsInTurn.size(), 5u) << "the event loop came back to its own events";
  const int most = std::max_element(stepsInTurn.begin(), stepsInTurn.end(), [](const auto& a, const auto& b) {
                     return a.second < b.second;
                   })->second;
  // The steps of a wake-up are what a waiting worker costs, every few milliseconds.
  EXPECT_LE(most, 100) << "steps in one wake-up";
}

}  // namespace
}  // namespace toolkit
