#pragma once
// What every scenario command works on: the test seams, the program's windows and the
// helpers to read a command's arguments. A check that does not hold throws Failure.
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "monitor/WindowMain.h"
#include "tests/scenario/Script.h"
#include "tests/support/TestEnvironment.h"

namespace scenario {

// "expected ... got ...", or another reason the line failed.
struct Failure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class Scenario {
 public:
  explicit Scenario(testing_support::TestEnvironment& environment) : env(environment) {}
  testing_support::TestEnvironment& env;

  toolkit::Ref<WindowMain> Main() const;
  // A control by its name in the main window, or "WindowHPU.NAME" in the HPU window.
  toolkit::Ref<toolkit::Control> FindControl(const std::string& name) const;
  template <class T>
  toolkit::Ref<T> Control(const std::string& name) const {
    toolkit::Ref<T> control = FindControl(name).Cast<T>();
    if (control.IsNil()) throw Failure("no control " + name + " of the class this command needs");
    return control;
  }
  // The open HPU window, nil when none.
  toolkit::Ref<toolkit::Window> HPUWindow() const;

  // One millisecond step of time: the clock moves, due timers fire, threads run a step.
  void Step();
  void RequireOpenPort() const;
};

using Command = std::function<void(Scenario&, const ScriptLine&)>;
std::map<std::string, Command> ActingCommands();
std::map<std::string, Command> CheckingCommands();

// Argument readers; a missing or malformed argument fails the line.
const Token& Arg(const ScriptLine& line, size_t index);
long long IntArg(const ScriptLine& line, size_t index);
bool BoolArg(const ScriptLine& line, size_t index);
std::string TextArg(const ScriptLine& line, size_t index);  // must be quoted
std::string HexBytes(const ScriptLine& line, size_t from);  // two-digit hex tokens from there on
void RequireArgCount(const ScriptLine& line, size_t count);

std::string Quote(const std::string& text);
std::string HexText(const std::string& bytes);  // "00 01 10"

}  // namespace scenario
