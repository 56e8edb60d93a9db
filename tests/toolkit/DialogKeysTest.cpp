// Return presses a window's Default button and Escape its Cancel button, as in any dialog,
// when the user can see and operate it.
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>

#include "tests/support/CaseName.h"
#include "tests/support/DialogKeys.h"
#include "tests/support/TestEnvironment.h"
#include "toolkit/Controls.h"
#include "toolkit/Window.h"

namespace {

using testing_support::PressCounter;
using testing_support::Type;
using toolkit::Ref;

class OneButtonWindow : public toolkit::Window {
 public:
  struct Button {
    const char* mark;  // "Default" or "Cancel"
    bool visible;
    bool enabled;
  };
  explicit OneButtonWindow(Button button) : toolkit::Window("OneButtonWindow"), button_(button) {}
  void Layout() override {
    SetProperties(toolkit::PropertyRecordBuilder().Int("Width", 300).Int("Height", 200).Bool("Visible", true).Bytes());
  }
  void CreateControls() override {
    BuildControl<toolkit::PushButton>("Button", toolkit::PropertyRecordBuilder()
                                                    .Int("Left", 200)
                                                    .Int("Top", 160)
                                                    .Int("Width", 80)
                                                    .Int("Height", 20)
                                                    .Text("Caption", "Button")
                                                    .Bool(button_.mark, true)
                                                    .Bool("Visible", button_.visible)
                                                    .Bool("Enabled", button_.enabled)
                                                    .Bytes());
  }
  Ref<toolkit::PushButton> TheButton() const { return ControlAs<toolkit::PushButton>("Button"); }

 private:
  Button button_;
};

struct KeyCase {
  const char* name;
  OneButtonWindow::Button button;
  Qt::Key key;
  bool pressed;
  friend void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.name; }
};

class DialogKeyTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(DialogKeyTest, TheKeyPressesOnlyAShownEnabledButtonMarkedForIt) {
  testing_support::TestEnvironment environment;
  const KeyCase& c = GetParam();
  auto window = std::make_shared<OneButtonWindow>(c.button);
  window->Construct();
  PressCounter counter(*window->TheButton());
  Type(*window->ContentWidget(), c.key);
  EXPECT_EQ(counter.presses, c.pressed ? 1 : 0);
  window->Close();
}

INSTANTIATE_TEST_SUITE_P(
    Keys, DialogKeyTest,
    ::testing::Values(KeyCase{"ReturnPressesTheDefault", {"Default", true, true}, Qt::Key_Return, true},
                      KeyCase{"EnterPressesTheDefault", {"Default", true, true}, Qt::Key_Enter, true},
                      KeyCase{"EscapePressesTheCancel", {"Cancel", true, true}, Qt::Key_Escape, true},
                      KeyCase{"EscapeLeavesTheDefault", {"Default", true, true}, Qt::Key_Escape, false},
                      KeyCase{"ReturnLeavesTheCancel", {"Cancel", true, true}, Qt::Key_Return, false},
                      KeyCase{"ReturnLeavesAHiddenDefault", {"Default", false, true}, Qt::Key_Return, false},
                      KeyCase{"ReturnLeavesADisabledDefault", {"Default", true, false}, Qt::Key_Return, false},
                      KeyCase{"EscapeLeavesAHiddenCancel", {"Cancel", false, true}, Qt::Key_Escape, false},
                      KeyCase{"EscapeLeavesADisabledCancel", {"Cancel", true, false}, Qt::Key_Escape, false}),
    testing_support::NameOfCase);

}  // namespace
