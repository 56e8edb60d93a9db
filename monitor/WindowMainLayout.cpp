// The main window's layout table: its own properties, its 32 controls in creation order with
// their initial properties, and the bindings of their events to the window's handlers.
#include "app/MainMenuBar.h"
#include "monitor/WindowMain.h"
#include "toolkit/LayoutRecords.h"

namespace layout = toolkit::layout;

using layout::ButtonRole;
using layout::DataBinding;
using layout::Font;
using layout::InitialParent;
using layout::Locks;
using layout::PanelPage;
using layout::Place;
using layout::PushButtonRecord;
using layout::TabStop;
using layout::UnboundControl;
using layout::VisibleControl;
using layout::VisibleState;
using toolkit::Colour;
using toolkit::PropertyRecordBuilder;

namespace {

// The tab panel's pages: the values and the raw data.
constexpr std::string_view kTabPanel = "TabPanel1";
constexpr PanelPage kValuesPage{.panel = kTabPanel, .index = 1};
constexpr PanelPage kRawDataPage{.panel = kTabPanel, .index = 2};

constexpr Colour kWindowBackground = Colour::FromRGB(225, 227, 227);  // #E1E3E3
constexpr Colour kValueText = Colour::FromRGB(90, 145, 168);          // #5A91A8

std::string WindowRecord() {
  return PropertyRecordBuilder()
      .Int("Width", 722)
      .Int("Height", 438)
      .Int("MinWidth", 64)
      .Int("MinHeight", 64)
      .Int("MaxWidth", 32000)
      .Int("MaxHeight", 32000)
      .Int("Frame", 0)
      .Text("Title", "Hydrogenerator Monitoring")
      .Bool("CloseButton", true)
      .Bool("Resizeable", true)
      .Bool("MaximizeButton", true)
      .Bool("MinimizeButton", true)
      .Bool("FullScreenButton", false)
      .Bool("Composite", false)
      .Int("MacProcID", 0)
      .Int("Placement", 0)
      .Bool("Visible", true)
      .Bool("LiveResize", true)
      .Bool("FullScreen", false)
      .Bool("HasBackColor", true)
      .Colour("BackColor", kWindowBackground)
      .Bool("MenuBarVisible", true)
      .Bytes();
}

std::string TimerRecord() { return PropertyRecordBuilder().Int("Mode", 2).Int("Period", 500).Bytes(); }

std::string SerialRecord() {
  return PropertyRecordBuilder()
      .Int("Baud", 8)
      .Int("Bits", 3)
      .Int("Parity", 0)
      .Int("Stop", 0)
      .Bool("XON", false)
      .Bool("CTS", false)
      .Bool("DTR", false)
      .Bytes();
}

std::string LabelRecord(std::string_view name, const Place& place, std::string_view text,
                        VisibleState state = VisibleState::Shown) {
  return VisibleControl(name, place, state, TabStop::None)
      .Bool("Multiline", false)
      .Bool("Selectable", false)
      .Bool("Transparent", false)
      .Text("Text", text)
      .Int("TextAlign", 0)
      .Colour("TextColor", layout::kBlack)
      .Bytes();
}

std::string ValueLabelRecord(std::string_view name, const Place& place, float size, VisibleState state) {
  return VisibleControl(name, place, state, TabStop::None,
                        Font{.family = "Consolas", .size = size, .unit = 1, .bold = true})
      .Bool("Multiline", false)
      .Bool("Selectable", false)
      .Bool("Transparent", false)
      .Text("Text", "0")
      .Int("TextAlign", 2)
      .Colour("TextColor", kValueText)
      .Bytes();
}

enum class Ticked { No, Yes };

std::string CheckBoxRecord(std::string_view name, const Place& place, std::string_view caption, VisibleState state,
                           Ticked ticked, Locks locks = Locks::LeftTop) {
  return VisibleControl(name, place, state, TabStop::Yes, Font{}, locks)
      .Text("Caption", caption)
      .Int("State", ticked == Ticked::Yes ? 1 : 0)
      .Bool("Value", ticked == Ticked::Yes)
      .Bytes();
}

std::string PopupRecord() {
  return VisibleControl("SerialPortsPopupMenu", {.left = 119, .top = 21, .width = 335, .height = 20, .tabIndex = 0},
                        VisibleState::Shown, TabStop::Yes)
      .Text("InitialValue", "")
      .Int("ListIndex", 0)
      .Bytes();
}

std::string TabPanelRecord() {
  return UnboundControl(kTabPanel, {.left = 20, .top = 72, .width = 683, .height = 346, .tabIndex = 3},
                        VisibleState::Shown)
      .Text("TabDefinition", "Values\rRaw data")
      .Int("Value", 0)
      .Bool("SmallTabs", false)
      .Bytes();
}

std::string TextAreaRecord() {
  const Place place{.left = 20, .top = 131, .width = 681, .height = 287, .page = kRawDataPage, .tabIndex = 0};
  return VisibleControl("TextArea1", place, VisibleState::Shown, TabStop::Yes)
      .Bool("Border", true)
      .Bool("Multiline", true)
      .Bool("ScrollbarHorizontal", false)
      .Bool("ScrollbarVertical", true)
      .Bool("Styled", true)
      .Bool("UseFocusRing", true)
      .Bool("HideSelection", true)
      .Bool("ReadOnly", true)
      .Bool("AcceptTabs", false)
      .Bool("AutomaticallyCheckSpelling", true)
      .Int("LimitText", 0)
      .Int("Alignment", 0)
      .Double("LineHeight", 0.0)
      .Double("LineSpacing", 1.0)
      .Text("Format", "")
      .Text("Mask", "")
      .Text("Text", "")
      .Colour("TextColor", layout::kBlack)
      .Colour("BackColor", layout::kWhite)
      .Bytes();
}

std::string TextFieldRecord() {
  return VisibleControl("TextField1", {.left = 235, .top = 52, .width = 37, .height = 22, .tabIndex = 8},
                        VisibleState::Hidden, TabStop::Yes, Font{}, Locks::LeftTop, DataBinding::Yes,
                        InitialParent::None)
      .Bool("Border", true)
      .Bool("Password", false)
      .Bool("UseFocusRing", true)
      .Bool("ReadOnly", false)
      .Bool("AcceptTabs", false)
      .Bool("AutomaticallyCheckSpelling", false)
      .Int("LimitText", 0)
      .Int("Alignment", 0)
      .Text("Format", "")
      .Text("Mask", "")
      .Text("CueText", "")
      .Text("Text", "25")
      .Colour("TextColor", layout::kBlack)
      .Colour("BackColor", layout::kWhite)
      .Bytes();
}

}  // namespace

void WindowMain::Layout() {
  SetMenuBar(single::MainMenuBar());
  SetProperties(WindowRecord());
}

void WindowMain::CreateControls() {
  CreateControls0();
  CreateControls1();
}

void WindowMain::CreateControls0() {
  using namespace toolkit;
  BuildControl<Timer>("PortListUpdater", TimerRecord())->Action.Bind([this](Timer& t) { PortListUpdater_Action(t); });
  BuildControl<PopupMenu>("SerialPortsPopupMenu", PopupRecord())->Change.Bind([this](PopupMenu& p) {
    SerialPortsPopupMenu_Change(p);
  });
  BuildControl<Label>("Label1", LabelRecord("Label1", {.left = 43, .top = 21, .width = 75, .height = 20, .tabIndex = 1},
                                            "Serial Port"));
  auto serial = BuildControl<Serial>("Serial1", SerialRecord());
  serial->DataAvailable.Bind([this](Serial& port) { Serial1_DataAvailable(port); });
  serial->Error.Bind([this](Serial& port) { Serial1_Error(port); });
  BuildControl<PushButton>(
      "ConnectButton",
      PushButtonRecord("ConnectButton", {.left = 466, .top = 22, .width = 98, .height = 20, .tabIndex = 2}, "Connect",
                       ButtonRole::Default, VisibleState::ShownDisabled))
      ->Action.Bind([this](PushButton& b) { ConnectButton_Action(b); });
  BuildControl<TabPanel>(std::string(kTabPanel), TabPanelRecord());
  BuildControl<TextArea>("TextArea1", TextAreaRecord());

  struct NamedRow {
    const char* name;
    int32_t top, width;
    const char* caption;
  };
  const NamedRow converterNames[] = {
      {"LabelName_Uin", 135, 127, "Hydro Voltage (V)"},  {"LabelName_Uout", 167, 127, "Battery Voltage (V)"},
      {"LabelName_Iout", 199, 127, "Charging Current(A)"}, {"LabelName_Pout", 231, 127, "Power (W)"},
      {"LabelName_T", 263, 142, "Box internal temp. (°C)"}, {"LabelName_RPM", 295, 127, "RPM"},
  };
  int32_t tab = 0;
  for (const NamedRow& row : converterNames) {
    const Place place{
        .left = 56, .top = row.top, .width = row.width, .height = 20, .page = kValuesPage, .tabIndex = tab++};
    BuildControl<Label>(row.name, LabelRecord(row.name, place, row.caption));
  }
  const char* converterValues[] = {"LabelValue_Uin", "LabelValue_Uout", "LabelValue_Iout",
                                   "LabelValue_Pout", "LabelValue_T",    "LabelValue_RPM"};
  int32_t top = 138;
  for (const char* name : converterValues) {
    const Place place{.left = 177, .top = top, .width = 101, .height = 19, .page = kValuesPage, .tabIndex = tab++};
    BuildControl<Label>(name, ValueLabelRecord(name, place, 24, VisibleState::Shown));
    top += 32;
  }
  const NamedRow hpuNames[] = {
      {"LabelName_Pression", 135, 127, "Pressure (bar)"},
      {"LabelName_ModeHPU", 167, 127, "Mode"},
      {"LabelName_Pitch", 199, 127, "Pitch correction"},
  };
  for (const NamedRow& row : hpuNames) {
    const Place place{
        .left = 351, .top = row.top, .width = row.width, .height = 20, .page = kValuesPage, .tabIndex = tab++};
    BuildControl<Label>(row.name, LabelRecord(row.name, place, row.caption, VisibleState::Hidden));
  }
  const char* hpuValues[] = {"LabelValue_Pression", "LabelValue_ModeHPU", "LabelValue_Pitch"};
  top = 138;
  for (const char* name : hpuValues) {
    const Place place{.left = 490, .top = top, .width = 101, .height = 19, .page = kValuesPage, .tabIndex = tab++};
    BuildControl<Label>(name, ValueLabelRecord(name, place, 16, VisibleState::Hidden));
    top += 32;
  }

  BuildControl<CheckBox>(
      "CheckBoxLog", CheckBoxRecord("CheckBoxLog", {.left = 621, .top = 22, .width = 100, .height = 20, .tabIndex = 5},
                                    "Log", VisibleState::ShownDisabled, Ticked::Yes));
  BuildControl<Timer>("TimerLog", TimerRecord())->Action.Bind([this](Timer& t) { TimerLog_Action(t); });
  BuildControl<CheckBox>(
      "CheckBox1", CheckBoxRecord("CheckBox1", {.left = 576, .top = 53, .width = 236, .height = 20, .tabIndex = 6},
                                  "Disable App Nap", VisibleState::Hidden, Ticked::No, Locks::LeftBottom))
      ->Action.Bind([this](CheckBox& c) { CheckBox1_Action(c); });
  BuildControl<PushButton>(
      "PushButton1", PushButtonRecord("PushButton1", {.left = 43, .top = 54, .width = 168, .height = 20, .tabIndex = 7},
                                      "Emettre une trame", ButtonRole::Default, VisibleState::Hidden))
      ->Action.Bind([this](PushButton& b) { PushButton1_Action(b); });
  BuildControl<TextField>("TextField1", TextFieldRecord());
}

void WindowMain::CreateControls1() {
  using namespace toolkit;
  BuildControl<Label>(
      "Label2", LabelRecord("Label2", {.left = 284, .top = 53, .width = 100, .height = 20, .tabIndex = 9}, "delay ms",
                            VisibleState::Hidden));
  BuildControl<CheckBox>(
      "CheckBox2", CheckBoxRecord("CheckBox2", {.left = 354, .top = 53, .width = 142, .height = 20, .tabIndex = 10},
                                  "emettre en continu", VisibleState::Hidden, Ticked::No));
}
