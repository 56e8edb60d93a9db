// The commands that check what the program shows, holds, sends and writes.
#include <cmath>
#include <filesystem>
#include <sstream>

#include "tests/scenario/Scenario.h"
#include "tests/scenario/WindowMainMembers.h"
#include "tests/support/FileContent.h"
#include "toolkit/Files.h"
#include "toolkit/Listbox.h"
#include "toolkit/ProgressBar.h"
#include "toolkit/Text.h"

namespace scenario {
namespace {

[[noreturn]] void Expected(const std::string& expected, const std::string& got) {
  throw Failure("expected " + expected + " got " + got);
}

void ExpectEqual(const std::string& expected, const std::string& got) {
  if (expected != got) Expected(expected, got);
}

std::string FormatDouble(double value) {
  std::ostringstream text;
  text.precision(17);
  text << value;
  return text.str();
}

void Member(Scenario& s, const ScriptLine& line) {
  RequireArgCount(line, 2);
  const MemberPointer& member = RequireMember(Arg(line, 0).text);
  WindowMain& window = *s.Main();
  std::visit(
      [&](auto pointer) {
        const auto& value = window.*pointer;
        using Value = std::remove_cv_t<std::remove_reference_t<decltype(value)>>;
        if constexpr (std::is_same_v<Value, int32_t>) {
          ExpectEqual(std::to_string(IntArg(line, 1)), std::to_string(value));
        } else if constexpr (std::is_same_v<Value, double>) {
          double expected = std::stod(Arg(line, 1).text);
          if (std::fabs(expected - value) > 1e-9) Expected(FormatDouble(expected), FormatDouble(value));
        } else if constexpr (std::is_same_v<Value, bool>) {
          bool expected = BoolArg(line, 1);
          if (expected != value) Expected(expected ? "true" : "false", value ? "true" : "false");
        } else if constexpr (std::is_same_v<Value, std::string>) {
          ExpectEqual(Quote(Arg(line, 1).text), Quote(value));
        } else {
          throw Failure("a byte buffer is checked with expect buffer");
        }
      },
      member);
}

void Buffer(Scenario& s, const ScriptLine& line) {
  const MemberPointer* member = FindMember(Arg(line, 0).text);
  if (!member || !std::holds_alternative<ByteBuffer WindowMain::*>(*member))
    throw Failure("no byte buffer " + Arg(line, 0).text);
  const ByteBuffer& buffer = (*s.Main()).*std::get<ByteBuffer WindowMain::*>(*member);
  long long from = IntArg(line, 1);
  std::string expected = HexBytes(line, 2);
  if (from < 0 || from + static_cast<long long>(expected.size()) > static_cast<long long>(buffer.size()))
    throw Failure("outside the buffer's 41 elements");
  std::string got;
  for (size_t i = 0; i < expected.size(); ++i) {
    int32_t element = buffer[static_cast<size_t>(from) + i];
    if (element < 0 || element > 255) Expected(HexText(expected), "element " + std::to_string(element));
    got += static_cast<char>(element);
  }
  ExpectEqual(HexText(expected), HexText(got));
}

std::string TextOf(Scenario& s, const std::string& name) {
  toolkit::Ref<toolkit::Control> control = s.FindControl(name);
  if (auto label = control.Cast<toolkit::Label>()) return label->Text();
  if (auto button = control.Cast<toolkit::PushButton>()) return button->Caption();
  if (auto box = control.Cast<toolkit::CheckBox>()) return box->Caption();
  if (auto field = control.Cast<toolkit::TextField>()) return field->Text();
  if (auto area = control.Cast<toolkit::TextArea>()) return area->Text();
  throw Failure(name + " has no text");
}

void Text(Scenario& s, const ScriptLine& line) {
  RequireArgCount(line, 2);
  ExpectEqual(Quote(TextArg(line, 1)), Quote(TextOf(s, Arg(line, 0).text)));
}

// A control's own flag, or for Enabled a menu item of that name when no control has it.
void Flag(Scenario& s, const ScriptLine& line, bool visibleFlag, bool expected) {
  RequireArgCount(line, 1);
  const std::string& name = Arg(line, 0).text;
  bool got;
  if (!visibleFlag && s.Main()->ControlByName(name).IsNil() && name.rfind("WindowHPU.", 0) != 0) {
    auto item = s.Main()->MenuBar()->Lookup(name);
    if (item.IsNil()) throw Failure("no control or menu item named " + name);
    got = item->Enabled();
  } else {
    auto control = s.Control<toolkit::RectControl>(name);
    got = visibleFlag ? control->Visible() : control->Enabled();
  }
  const char* yes = visibleFlag ? "visible" : "enabled";
  const char* no = visibleFlag ? "hidden" : "disabled";
  if (got != expected) Expected(expected ? yes : no, got ? yes : no);
}

void Checked(Scenario& s, const ScriptLine& line, bool expected) {
  RequireArgCount(line, 1);
  bool got = s.Control<toolkit::CheckBox>(Arg(line, 0).text)->Value();
  if (got != expected) Expected(expected ? "checked" : "unchecked", got ? "checked" : "unchecked");
}

void Rows(Scenario& s, const ScriptLine& line) {
  auto popup = s.Control<toolkit::PopupMenu>("SerialPortsPopupMenu");
  std::string expected, got;
  for (size_t i = 0; i < line.args.size(); ++i) expected += (i ? " " : "") + Quote(TextArg(line, i));
  for (int32_t row = 0; row < popup->ListCount(); ++row) got += (row ? " " : "") + Quote(popup->List(row));
  ExpectEqual("rows [" + expected + "]", "rows [" + got + "]");
}

void ListIndex(Scenario& s, const ScriptLine& line) {
  RequireArgCount(line, 1);
  ExpectEqual(std::to_string(IntArg(line, 0)),
              std::to_string(s.Control<toolkit::PopupMenu>("SerialPortsPopupMenu")->ListIndex()));
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream input(text);
  std::string line;
  while (std::getline(input, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

const std::string& TraceText(Scenario& s) { return s.Control<toolkit::TextArea>("TextArea1")->Text(); }

void Trace(Scenario& s, const ScriptLine& line) {
  RequireArgCount(line, 2);
  long long index = IntArg(line, 0);
  std::vector<std::string> lines = SplitLines(TraceText(s));
  std::string got = index >= 0 && index < static_cast<long long>(lines.size()) ? Quote(lines[static_cast<size_t>(index)])
                                                                                : "no line " + std::to_string(index);
  ExpectEqual(Quote(TextArg(line, 1)), got);
}

void TraceLength(Scenario& s, const ScriptLine& line) {
  RequireArgCount(line, 1);
  ExpectEqual(std::to_string(IntArg(line, 0)) + " characters", std::to_string(toolkit::Len(TraceText(s))) + " characters");
}

void Sent(Scenario& s, const ScriptLine& line) {
  std::string& written = s.env.serial.Line().written;
  std::string got = written;
  written.clear();
  ExpectEqual(HexText(HexBytes(line, 0)), HexText(got));
}

void Waiting(Scenario& s, const ScriptLine& line) {
  RequireArgCount(line, 1);
  ExpectEqual(std::to_string(IntArg(line, 0)) + " bytes waiting",
              std::to_string(s.env.serial.Line().waiting.size()) + " bytes waiting");
}

void MsgBox(Scenario& s, const ScriptLine& line) {
  RequireArgCount(line, 1);
  auto& messages = s.env.dialogs.messages;
  if (messages.empty()) Expected("message box " + Quote(TextArg(line, 0)), "none");
  std::string got = messages.front();
  messages.pop_front();
  ExpectEqual("message box " + Quote(TextArg(line, 0)), "message box " + Quote(got));
}

void NoMsgBox(Scenario& s, const ScriptLine& line) {
  RequireArgCount(line, 0);
  auto& messages = s.env.dialogs.messages;
  if (!messages.empty()) Expected("no message box", "message box " + Quote(messages.front()));
}

void Beeps(Scenario& s, const ScriptLine& line) {
  RequireArgCount(line, 1);
  ExpectEqual(std::to_string(IntArg(line, 0)) + " beeps", std::to_string(s.env.dialogs.beeps) + " beeps");
}

// A log file's lines, each cut at the line end that the toolkit's text files write; a last
// line that lacks its line end is told apart, as the file is then not as the program writes it.
struct FileText {
  std::vector<std::string> lines;
  bool lastLineUnended = false;
};

std::string DocumentsPath(Scenario& s, const std::string& name) { return s.env.documents.Folder() + "/" + name; }

FileText ReadFileLines(Scenario& s, const std::string& name) {
  const std::string path = DocumentsPath(s, name);
  if (!std::filesystem::exists(path)) Expected("file " + name, "no such file");
  const std::string text = testing_support::FileContent(path);
  const std::string_view lineEnd = toolkit::TextOutputStream::LineEnd;
  FileText result;
  size_t start = 0;
  for (size_t end; (end = text.find(lineEnd, start)) != std::string::npos; start = end + lineEnd.size())
    result.lines.push_back(text.substr(start, end - start));
  if (start < text.size()) {
    result.lines.push_back(text.substr(start));
    result.lastLineUnended = true;
  }
  return result;
}

void File(Scenario& s, const ScriptLine& line) {
  RequireArgCount(line, 3);
  const FileText file = ReadFileLines(s, Arg(line, 0).text);
  const long long number = IntArg(line, 1);
  const long long count = static_cast<long long>(file.lines.size());
  std::string got = "no line " + std::to_string(number) + " (the file has " + std::to_string(count) + ")";
  if (number >= 1 && number <= count) {
    got = Quote(file.lines[static_cast<size_t>(number - 1)]);
    if (number == count && file.lastLineUnended) got += " without its line end";
  }
  ExpectEqual(Quote(TextArg(line, 2)), got);
}

void Lines(Scenario& s, const ScriptLine& line) {
  RequireArgCount(line, 2);
  const FileText file = ReadFileLines(s, Arg(line, 0).text);
  ExpectEqual(std::to_string(IntArg(line, 1)) + " lines",
              std::to_string(file.lines.size()) + " lines" + (file.lastLineUnended ? ", the last without its line end" : ""));
}

void NoFile(Scenario& s, const ScriptLine& line) {
  RequireArgCount(line, 1);
  std::error_code ignored;
  if (std::filesystem::exists(DocumentsPath(s, Arg(line, 0).text), ignored))
    Expected("no file " + Arg(line, 0).text, "the file");
}

void WindowState(Scenario& s, const ScriptLine& line, bool expectOpen) {
  RequireArgCount(line, 1);
  if (Arg(line, 0).text != "WindowHPU") throw Failure("only WindowHPU is checked this way");
  bool open = !s.HPUWindow().IsNil();
  if (open != expectOpen) Expected(expectOpen ? "WindowHPU open" : "WindowHPU closed", open ? "open" : "closed");
}

void TimerState(Scenario& s, const ScriptLine& line) {
  RequireArgCount(line, 3);
  auto timer = s.Control<toolkit::Timer>(Arg(line, 0).text);
  std::string expected = "mode " + std::to_string(IntArg(line, 1)) + (BoolArg(line, 2) ? " enabled" : " disabled");
  ExpectEqual(expected, "mode " + std::to_string(timer->Mode()) + (timer->Enabled() ? " enabled" : " disabled"));
}

void Cell(Scenario& s, const ScriptLine& line) {
  RequireArgCount(line, 3);
  auto list = s.Control<toolkit::Listbox>("WindowHPU.Listbox1");
  const long long row = IntArg(line, 0), column = IntArg(line, 1);
  std::string got = "no row " + std::to_string(row) + " (the list has " + std::to_string(list->ListCount()) + ")";
  if (row >= 0 && row < list->ListCount()) got = Quote(list->Cell(static_cast<int32_t>(row), static_cast<int32_t>(column)));
  ExpectEqual(Quote(TextArg(line, 2)), got);
}

void Progress(Scenario& s, const ScriptLine& line) {
  RequireArgCount(line, 1);
  ExpectEqual(std::to_string(IntArg(line, 0)),
              std::to_string(s.Control<toolkit::ProgressBar>("WindowHPU.ProgressBar1")->Value()));
}

}  // namespace

std::map<std::string, Command> CheckingCommands() {
  return {
      {"expect member", Member},
      {"expect buffer", Buffer},
      {"expect text", Text},
      {"expect visible", [](Scenario& s, const ScriptLine& l) { Flag(s, l, true, true); }},
      {"expect hidden", [](Scenario& s, const ScriptLine& l) { Flag(s, l, true, false); }},
      {"expect enabled", [](Scenario& s, const ScriptLine& l) { Flag(s, l, false, true); }},
      {"expect disabled", [](Scenario& s, const ScriptLine& l) { Flag(s, l, false, false); }},
      {"expect checked", [](Scenario& s, const ScriptLine& l) { Checked(s, l, true); }},
      {"expect unchecked", [](Scenario& s, const ScriptLine& l) { Checked(s, l, false); }},
      {"expect rows", Rows},
      {"expect listindex", ListIndex},
      {"expect trace", Trace},
      {"expect tracelength", TraceLength},
      {"expect sent", Sent},
      {"expect waiting", Waiting},
      {"expect file", File},
      {"expect lines", Lines},
      {"expect nofile", NoFile},
      {"expect msgbox", MsgBox},
      {"expect nomsgbox", NoMsgBox},
      {"expect beeps", Beeps},
      {"expect cell", Cell},
      {"expect progress", Progress},
      {"expect open", [](Scenario& s, const ScriptLine& l) { WindowState(s, l, true); }},
      {"expect closed", [](Scenario& s, const ScriptLine& l) { WindowState(s, l, false); }},
      {"expect timer", TimerState},
  };
}

}  // namespace scenario
