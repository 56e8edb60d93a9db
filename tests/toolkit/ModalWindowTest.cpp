// A window shown modally where the dialog seam says that blocks, as the desktop's does, in Qt's
// own loop: ShowModal returns only once the window has closed, and meanwhile the main loop goes
// on firing the timers.
#include <gtest/gtest.h>

#include <QTimer>
#include <chrono>
#include <memory>
#include <optional>

#include "tests/support/TestEnvironment.h"
#include "toolkit/RealServices.h"
#include "toolkit/Timer.h"
#include "toolkit/Window.h"

namespace toolkit {
namespace {

using namespace std::chrono_literals;

class BlockingDialogs : public testing_support::RecordingDialogs {
 public:
  bool ModalShowBlocks() override { return true; }
};

class DialogWindow : public Window {
 public:
  DialogWindow() : Window("DialogWindow") {}
  void Layout() override { SetProperties(PropertyRecordBuilder().Int("Width", 200).Int("Height", 100).Bytes()); }
  void Event_Close() override { ++closes; }
  int closes = 0;
};

TEST(ModalWindow, ABlockingShowReturnsOnceTheWindowHasClosedAndTheTimersGoOnMeanwhile) {
  testing_support::TestEnvironment environment;
  InstallClock(real::MakeClock());
  InstallDialogs(std::make_unique<BlockingDialogs>());
  std::unique_ptr<EventLoop> loop = real::MakeEventLoop();
  loop->InitializeFramework([] {});
  auto window = std::make_shared<DialogWindow>();
  window->Construct();

  int ticks = 0;
  Ref<Timer> ticking = New<Timer>();
  ticking->SetPeriod(10);
  ticking->Action.Bind([&ticks](Timer&) { ++ticks; });
  std::optional<int> ticksAtClose;
  Ref<Timer> closing = New<Timer>();
  closing->SetMode(Timer::ModeSingle);
  closing->SetPeriod(500);
  closing->Action.Bind([&](Timer&) {
    ticksAtClose = ticks;
    window->Close();
  });
  // Should the timers never close the window, the test closes it itself.
  bool gaveUp = false;
  QTimer giveUp;
  giveUp.setSingleShot(true);
  QObject::connect(&giveUp, &QTimer::timeout, [&] {
    gaveUp = true;
    window->Close();
  });
  giveUp.start(10s);

  window->ShowModal();
  ASSERT_TRUE(ticksAtClose) << "the show returned while the window was up";
  EXPECT_GE(*ticksAtClose, 5) << "the timers stood still while the window was up";
  EXPECT_FALSE(gaveUp);
  EXPECT_FALSE(window->IsOpen());
  EXPECT_EQ(window->closes, 1);
}

}  // namespace
}  // namespace toolkit
