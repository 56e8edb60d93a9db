// Return presses a window's Default button and Escape its Cancel button, as in any dialog,
// unless a control that uses the key takes it first: the list's cell editor while it edits.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableWidget>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "app/Startup.h"
#include "hpu_parameters/WindowHPU.h"
#include "monitor/WindowMain.h"
#include "tests/support/TestEnvironment.h"
#include "toolkit/Controls.h"
#include "toolkit/Window.h"

namespace {

using toolkit::Ref;

// One key typed as the user types it: pressed and released on the receiver, from where an
// unused key goes on to its parents.
void Type(QWidget& receiver, Qt::Key key, const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(&receiver, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(&receiver, &release);
}

void TypeText(QWidget& receiver, const QString& text) {
  for (QChar character : text) Type(receiver, static_cast<Qt::Key>(character.unicode()), character);
}

// Counts the presses of a button, then runs the handler it had.
struct PressCounter {
  PressCounter(toolkit::PushButton& button, std::function<void(toolkit::PushButton&)> handler = {}) {
    button.Action.Bind([this, handler](toolkit::PushButton& b) {
      ++presses;
      if (handler) handler(b);
    });
  }
  int presses = 0;
};

// --- A window with one button -------------------------------------------------------------

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
    [](const auto& info) { return std::string(info.param.name); });

// --- The program's windows ----------------------------------------------------------------

class ProgramWindowKeys : public ::testing::Test {
 protected:
  void SetUp() override {
    PerformInitializers();
    Main();
  }
  void TearDown() override {
    if (Ref<toolkit::Window> open = toolkit::Window::OpenInstance(WindowHPU::kRegisteredName)) open->Close();
    toolkit::runtime::RuntimePerformFinalizers();
  }
  static Ref<WindowHPU> OpenHPUWindow() {
    single::WindowMain()->ChooseMenuItem("HPUEEPROM");
    return toolkit::Window::OpenInstance(WindowHPU::kRegisteredName).Cast<WindowHPU>();
  }
  static QTableWidget& Table(WindowHPU& window) { return *window.ContentWidget()->findChild<QTableWidget*>(); }

  testing_support::TestEnvironment environment;
};

TEST_F(ProgramWindowKeys, EscapeRunsCancelWhichClosesTheHPUWindow) {
  Ref<WindowHPU> window = OpenHPUWindow();
  PressCounter cancel(*window->PushButtonCancel(), [&](toolkit::PushButton& b) { window->PushButtonCancel_Action(b); });
  Type(Table(*window), Qt::Key_Escape);
  EXPECT_EQ(cancel.presses, 1);
  EXPECT_FALSE(window->IsOpen());
}

TEST_F(ProgramWindowKeys, ReturnOnTheListPressesWrite) {
  Ref<WindowHPU> window = OpenHPUWindow();
  PressCounter write(*window->PushButtonWrite());
  Type(Table(*window), Qt::Key_Return);
  EXPECT_EQ(write.presses, 1);
  EXPECT_TRUE(window->IsOpen());
}

TEST_F(ProgramWindowKeys, TheCellEditorKeepsReturnAndEscapeForItsEdit) {
  struct Case {
    Qt::Key key;
    const char* cellAfter;
  };
  for (const Case& c : {Case{Qt::Key_Return, "42"}, Case{Qt::Key_Escape, ""}}) {
    Ref<WindowHPU> window = OpenHPUWindow();
    PressCounter write(*window->PushButtonWrite());
    PressCounter cancel(*window->PushButtonCancel());
    QTableWidget& table = Table(*window);
    table.editItem(table.item(3, 1));
    auto* editor = qobject_cast<QLineEdit*>(table.indexWidget(table.model()->index(3, 1)));
    ASSERT_NE(editor, nullptr);
    TypeText(*editor, "42");
    Type(*editor, c.key);
    QApplication::processEvents();

    EXPECT_EQ(table.indexWidget(table.model()->index(3, 1)), nullptr) << "the edit has ended, key " << c.key;
    EXPECT_EQ(window->Listbox1()->Cell(3, 1), c.cellAfter) << c.key;
    EXPECT_EQ(write.presses, 0) << c.key;
    EXPECT_EQ(cancel.presses, 0) << c.key;
    EXPECT_TRUE(window->IsOpen()) << c.key;
    window->Close();
  }
}

TEST_F(ProgramWindowKeys, ReturnInTheMainWindowPressesTheShownConnectButtonOnceEnabled) {
  Ref<WindowMain> window = single::WindowMain();
  PressCounter connect(*window->ConnectButton());
  PressCounter hidden(*window->PushButton1());
  Type(*window->ContentWidget(), Qt::Key_Return);
  EXPECT_EQ(connect.presses, 0) << "disabled";
  window->ConnectButton()->SetEnabled(true);
  Type(*window->ContentWidget(), Qt::Key_Return);
  EXPECT_EQ(connect.presses, 1);
  EXPECT_EQ(hidden.presses, 0);
}

}  // namespace
