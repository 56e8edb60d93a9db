// A control accessor gives the control registered under its name in the window it is asked of,
// as its class.
#include <gtest/gtest.h>

#include <memory>

#include "tests/support/TestEnvironment.h"
#include "toolkit/Accessors.h"
#include "toolkit/Exceptions.h"
#include "toolkit/Serial.h"
#include "toolkit/Timer.h"
#include "toolkit/Window.h"

namespace toolkit {
namespace {

class AccessorWindow : public Window {
 public:
  AccessorWindow() : Window("AccessorWindow") {}
  TOOLKIT_CONTROL_ACCESSOR(Timer, Ticker)
};

TEST(ControlAccessor, FindsTheControlOfEachWindowAsked) {
  testing_support::TestEnvironment environment;
  for (int round = 0; round < 3; ++round) {
    auto window = std::make_shared<AccessorWindow>();
    EXPECT_TRUE(window->Ticker().IsNil()) << "none registered yet, round " << round;
    auto timer = window->New<Timer>();
    window->AddControl("Ticker", timer);
    EXPECT_EQ(window->Ticker().Get(), timer.Get()) << "round " << round;
  }
  auto kept = std::make_shared<AccessorWindow>();
  auto other = std::make_shared<AccessorWindow>();
  auto keptTimer = kept->New<Timer>();
  auto otherTimer = other->New<Timer>();
  kept->AddControl("Ticker", keptTimer);
  other->AddControl("Ticker", otherTimer);
  EXPECT_EQ(kept->Ticker().Get(), keptTimer.Get());
  EXPECT_EQ(other->Ticker().Get(), otherTimer.Get());
  EXPECT_EQ(kept->Ticker().Get(), keptTimer.Get());
}

TEST(ControlAccessor, ANameIsRegisteredOnce) {
  testing_support::TestEnvironment environment;
  auto window = std::make_shared<AccessorWindow>();
  auto first = window->New<Timer>();
  window->AddControl("Ticker", first);
  EXPECT_THROW(window->AddControl("Ticker", window->New<Timer>()), RuntimeException);
  EXPECT_EQ(window->Ticker().Get(), first.Get());
}

TEST(ControlAccessor, AControlOfAnotherClassUnderTheNameIsNil) {
  testing_support::TestEnvironment environment;
  auto window = std::make_shared<AccessorWindow>();
  window->AddControl("Ticker", window->New<Serial>());
  EXPECT_TRUE(window->Ticker().IsNil());
}

}  // namespace
}  // namespace toolkit
