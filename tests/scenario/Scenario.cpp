#include "tests/scenario/Scenario.h"

#include <cstdio>

#include "hpu_parameters/WindowHPU.h"
#include "toolkit/Threads.h"
#include "toolkit/Timer.h"

namespace scenario {

toolkit::Ref<WindowMain> Scenario::Main() const {
  auto window = toolkit::Window::OpenInstance(WindowMain::kRegisteredName).Cast<WindowMain>();
  if (window.IsNil()) throw Failure("the main window is not open");
  return window;
}

toolkit::Ref<toolkit::Window> Scenario::HPUWindow() const { return toolkit::Window::OpenInstance(WindowHPU::kRegisteredName); }

toolkit::Ref<toolkit::Control> Scenario::FindControl(const std::string& name) const {
  static const std::string hpuPrefix = "WindowHPU.";
  toolkit::Ref<toolkit::Control> control;
  if (name.rfind(hpuPrefix, 0) == 0) {
    toolkit::Ref<toolkit::Window> hpu = HPUWindow();
    if (hpu.IsNil()) throw Failure("the HPU window is not open");
    control = hpu->ControlByName(name.substr(hpuPrefix.size()));
  } else {
    control = Main()->ControlByName(name);
  }
  if (control.IsNil()) throw Failure("no control named " + name);
  return control;
}

void Scenario::Step() {
  env.clock.SetMilliseconds(env.clock.Milliseconds() + 1);
  toolkit::FireDueTimers();
  toolkit::RunCooperativeThreads();
}

void Scenario::RequireOpenPort() const {
  if (!env.serial.Line().open) throw Failure("the port is not open");
}

const Token& Arg(const ScriptLine& line, size_t index) {
  if (index >= line.args.size()) throw Failure("missing argument " + std::to_string(index + 1));
  return line.args[index];
}

long long IntArg(const ScriptLine& line, size_t index) {
  const Token& token = Arg(line, index);
  try {
    size_t used = 0;
    long long value = std::stoll(token.text, &used);
    if (used == token.text.size() && !token.quoted) return value;
  } catch (const std::exception&) {
  }
  throw Failure("not a number: " + token.text);
}

bool BoolArg(const ScriptLine& line, size_t index) {
  const Token& token = Arg(line, index);
  if (token.text == "true") return true;
  if (token.text == "false") return false;
  throw Failure("not true or false: " + token.text);
}

std::string TextArg(const ScriptLine& line, size_t index) {
  const Token& token = Arg(line, index);
  if (!token.quoted) throw Failure("a text in double quotes is needed, not " + token.text);
  return token.text;
}

std::string HexBytes(const ScriptLine& line, size_t from) {
  std::string bytes;
  for (size_t i = from; i < line.args.size(); ++i) {
    const std::string& hex = line.args[i].text;
    if (hex.size() != 2 || !isxdigit(static_cast<unsigned char>(hex[0])) || !isxdigit(static_cast<unsigned char>(hex[1])))
      throw Failure("not a two-digit hexadecimal byte: " + hex);
    bytes += static_cast<char>(std::stoi(hex, nullptr, 16));
  }
  return bytes;
}

void RequireArgCount(const ScriptLine& line, size_t count) {
  if (line.args.size() != count)
    throw Failure(std::to_string(count) + " arguments are needed, not " + std::to_string(line.args.size()));
}

std::string Quote(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') quoted += '\\';
    if (c == '\n')
      quoted += "\\n";
    else
      quoted += c;
  }
  return quoted + "\"";
}

std::string HexText(const std::string& bytes) {
  std::string text;
  for (unsigned char byte : bytes) {
    char digits[4];
    std::snprintf(digits, sizeof digits, "%02X", byte);
    if (!text.empty()) text += ' ';
    text += digits;
  }
  return text.empty() ? "(nothing)" : text;
}

}  // namespace scenario
