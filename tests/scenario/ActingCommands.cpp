// The commands that act: on the system's ports, time, the user's clicks and menus, the bytes
// on the line, members and controls, and the Documents folder.
#include <cstdio>
#include <ctime>

#include "tests/scenario/Scenario.h"
#include "tests/scenario/WindowMainMembers.h"
#include "toolkit/UnhandledErrors.h"

namespace scenario {
namespace {

void Ports(Scenario& s, const ScriptLine& line) {
  std::vector<std::string> names;
  for (const Token& token : line.args) names.push_back(token.text);
  s.env.serial.SetPorts(std::move(names));
}

void Unopenable(Scenario& s, const ScriptLine& line) {
  RequireArgCount(line, 1);
  s.env.serial.MakeUnopenable(Arg(line, 0).text);
}

void Advance(Scenario& s, const ScriptLine& line) {
  RequireArgCount(line, 1);
  for (long long ms = IntArg(line, 0); ms > 0; --ms) s.Step();
}

void Clock(Scenario& s, const ScriptLine& line) {
  RequireArgCount(line, 1);
  double target = static_cast<double>(IntArg(line, 0));
  if (target < s.env.clock.Milliseconds()) throw Failure("the clock does not go backwards");
  s.env.clock.SetMilliseconds(target);
}

// A date that the calendar has: 2024-02-30 fails instead of becoming 1 March.
bool IsCalendarDate(const toolkit::LocalDateTime& when) {
  const toolkit::LocalDateTime normalised = testing_support::NormalisedDateTime(when);
  return normalised.year == when.year && normalised.month == when.month && normalised.day == when.day &&
         normalised.hour == when.hour && normalised.minute == when.minute && normalised.second == when.second;
}

void Date(Scenario& s, const ScriptLine& line) {
  RequireArgCount(line, 2);
  toolkit::LocalDateTime when;
  char tail = 0;
  if (std::sscanf(Arg(line, 0).text.c_str(), "%d-%d-%d%c", &when.year, &when.month, &when.day, &tail) != 3 ||
      std::sscanf(Arg(line, 1).text.c_str(), "%d:%d:%d%c", &when.hour, &when.minute, &when.second, &tail) != 3)
    throw Failure("a date is written YYYY-MM-DD HH:MM:SS");
  if (!IsCalendarDate(when)) throw Failure("no such date and time: " + Arg(line, 0).text + " " + Arg(line, 1).text);
  s.env.wallClock.Set(when);
}

void RequireUsable(const toolkit::RectControl& control, const std::string& name) {
  if (!control.Visible()) throw Failure(name + " is hidden");
  if (!control.Enabled()) throw Failure(name + " is disabled");
}

void Select(Scenario& s, const ScriptLine& line) {
  RequireArgCount(line, 1);
  auto popup = s.Control<toolkit::PopupMenu>("SerialPortsPopupMenu");
  if (!popup->Enabled()) throw Failure("SerialPortsPopupMenu is disabled");
  popup->Pick(static_cast<int32_t>(IntArg(line, 0)));
}

void Click(Scenario& s, const ScriptLine& line) {
  RequireArgCount(line, 1);
  const std::string& name = Arg(line, 0).text;
  toolkit::Ref<toolkit::Control> control = s.FindControl(name);
  if (auto button = control.Cast<toolkit::PushButton>()) {
    RequireUsable(*button, name);
    button->Push();
  } else if (auto box = control.Cast<toolkit::CheckBox>()) {
    RequireUsable(*box, name);
    box->Click();
  } else {
    throw Failure(name + " is not a button or a check box");
  }
}

void Action(Scenario& s, const ScriptLine& line) {
  RequireArgCount(line, 1);
  const std::string& name = Arg(line, 0).text;
  toolkit::Ref<toolkit::Control> control = s.FindControl(name);
  if (auto button = control.Cast<toolkit::PushButton>())
    button->Push();
  else if (auto box = control.Cast<toolkit::CheckBox>())
    box->RaiseAction();
  else if (auto timer = control.Cast<toolkit::Timer>())
    toolkit::RunEventHandler(timer.Get(), [&] { timer->Action.Raise(*timer); });
  else
    throw Failure(name + " has no Action event");
}

void Menu(Scenario& s, const ScriptLine& line) {
  RequireArgCount(line, 1);
  s.Main()->ChooseMenuItem(Arg(line, 0).text);
}

void Rx(Scenario& s, const ScriptLine& line) {
  s.RequireOpenPort();
  s.env.serial.Line().Arrive(HexBytes(line, 0));
}

void Bytes(Scenario& s, const ScriptLine& line) {
  s.RequireOpenPort();
  s.env.serial.Line().waiting += HexBytes(line, 0);
}

void Event(Scenario& s, const ScriptLine& line) {
  RequireArgCount(line, 0);
  s.RequireOpenPort();
  auto serial = s.Control<toolkit::Serial>("Serial1");
  toolkit::RunEventHandler(serial.Get(), [&] { serial->DataAvailable.Raise(*serial); });
}

void SetControl(Scenario& s, const ScriptLine& line) {
  RequireArgCount(line, 3);
  const std::string& name = Arg(line, 0).text;
  const std::string& what = Arg(line, 1).text;
  toolkit::Ref<toolkit::Control> control = s.FindControl(name);
  if (what == "value") {
    s.Control<toolkit::CheckBox>(name)->SetValue(BoolArg(line, 2));
  } else if (what == "text") {
    std::string text = TextArg(line, 2);
    if (auto field = control.Cast<toolkit::TextField>())
      field->SetText(text);
    else if (auto area = control.Cast<toolkit::TextArea>())
      area->SetText(text);
    else if (auto label = control.Cast<toolkit::Label>())
      label->SetText(text);
    else
      throw Failure(name + " has no text to set");
  } else {
    throw Failure("set NAME text \"T\" or set NAME value true|false");
  }
}

void Set(Scenario& s, const ScriptLine& line) {
  if (line.args.size() == 3) return SetControl(s, line);
  RequireArgCount(line, 2);
  const MemberPointer& member = RequireMember(Arg(line, 0).text);
  WindowMain& window = *s.Main();
  std::visit(
      [&](auto pointer) {
        using Value = std::remove_reference_t<decltype(window.*pointer)>;
        if constexpr (std::is_same_v<Value, int32_t>)
          window.*pointer = static_cast<int32_t>(IntArg(line, 1));
        else if constexpr (std::is_same_v<Value, double>)
          window.*pointer = std::stod(Arg(line, 1).text);
        else if constexpr (std::is_same_v<Value, bool>)
          window.*pointer = BoolArg(line, 1);
        else if constexpr (std::is_same_v<Value, std::string>)
          window.*pointer = Arg(line, 1).text;
        else
          throw Failure("a byte buffer is not set whole");
      },
      member);
}

void Documents(Scenario& s, const ScriptLine& line) {
  using Mode = testing_support::TestDocuments::Mode;
  RequireArgCount(line, 1);
  const std::string& mode = Arg(line, 0).text;
  if (mode == "none")
    s.env.documents.SetMode(Mode::Missing);
  else if (mode == "readonly")
    s.env.documents.SetMode(Mode::ReadOnly);
  else if (mode == "normal")
    s.env.documents.SetMode(Mode::Normal);
  else
    throw Failure("documents none, documents readonly or documents normal");
}

}  // namespace

std::map<std::string, Command> ActingCommands() {
  return {
      {"ports", Ports}, {"unopenable", Unopenable}, {"advance", Advance}, {"clock", Clock},
      {"date", Date},   {"select", Select},         {"click", Click},     {"action", Action},
      {"menu", Menu},   {"rx", Rx},                 {"bytes", Bytes},     {"event", Event},
      {"set", Set},     {"documents", Documents},
  };
}

}  // namespace scenario
