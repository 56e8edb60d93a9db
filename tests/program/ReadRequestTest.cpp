#include <gtest/gtest.h>

#include "monitor/WindowMain.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/program/StartedProgram.h"
#include "toolkit/Threads.h"

namespace {

TEST(ReadRequest, ARebuildOnAWorkerIsNeverPendingHalfBuilt) {
  testing_support::TestEnvironment environment;
  program_fixtures::StartedProgram program;
  toolkit::Ref<WindowMain> window = single::WindowMain();
  window->Adr_debut_lecture = 0;
  window->Adr_fin_lecture = 30;
  window->lectureEEPROM();
  ASSERT_TRUE(window->emissionRequest);

  // The worker rebuilds for 30..48 while the first request still waits to be sent.
  window->Adr_debut_lecture = 30;
  window->Adr_fin_lecture = 48;
  toolkit::CooperativeThread worker([&] { window->lectureEEPROM(); });
  worker.Start();
  const ByteBuffer expected = {0x12, 0x11, 0x4C, 0x04, 0x1E, 0x30, 0x00, 0xC1};
  while (worker.CurrentState() != toolkit::CooperativeThread::State::Finished) {
    toolkit::RunCooperativeThreads();
    // Whenever the sender could look, a pending request is a whole one.
    if (window->emissionRequest) {
      EXPECT_TRUE(std::equal(expected.begin(), expected.begin() + 8, window->TrameBufferEmission.begin()));
    }
  }
  EXPECT_TRUE(window->emissionRequest);
  EXPECT_EQ(window->TrameBufferEmissionSize, 8);
}

}  // namespace
