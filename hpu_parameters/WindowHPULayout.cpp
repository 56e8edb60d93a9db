// The HPU window's layout table: its own properties, its seven controls in creation order
// with their initial properties, and the bindings of their events to the window's handlers.
#include "hpu_parameters/WindowHPU.h"
#include "toolkit/LayoutRecords.h"

namespace layout = toolkit::layout;

using layout::ButtonRole;
using layout::PushButtonRecord;
using layout::UnboundControl;
using layout::VisibleState;
using toolkit::PropertyRecordBuilder;

namespace {

std::string WindowRecord() {
  return PropertyRecordBuilder()
      .Text("Title", "HPU EEPROM")
      .Int("Width", 600)
      .Int("Height", 400)
      .Int("MinWidth", 64)
      .Int("MinHeight", 64)
      .Int("MaxWidth", 32000)
      .Int("MaxHeight", 32000)
      .Int("Frame", 0)
      .Int("Placement", 0)
      .Bool("CloseButton", true)
      .Bool("Resizeable", true)
      .Bool("MaximizeButton", true)
      .Bool("MinimizeButton", true)
      .Bool("LiveResize", true)
      .Bool("MenuBarVisible", true)
      .Bool("Visible", true)
      .Bool("FullScreenButton", false)
      .Bool("FullScreen", false)
      .Bool("Composite", false)
      .Bool("HasBackColor", false)
      .Colour("BackColor", layout::kWhite)
      .Int("MacProcID", 0)
      .Bytes();
}

std::string ListboxRecord() {
  return UnboundControl("Listbox1", {.left = 20, .top = 31, .width = 560, .height = 256, .tabIndex = 0},
                        VisibleState::Shown)
      .Int("ColumnCount", 4)
      .Text("ColumnWidths", "300 50 30 50")
      .Bool("HasHeading", true)
      .Text("InitialValue", "Parameter\tValue\tUnit\tDefault")
      .Int("GridLinesHorizontal", 2)
      .Int("GridLinesVertical", 3)
      .Bool("ScrollBarVertical", true)
      .Bool("ScrollbarHorizontal", false)
      .Bool("AutoHideScrollbars", true)
      .Bool("ColumnsResizable", true)
      .Int("SelectionType", 0)
      .Bool("RequiresSelection", false)
      .Bool("EnableDrag", false)
      .Bool("EnableDragReorder", false)
      .Bool("Hierarchical", false)
      .Int("DefaultRowHeight", -1)
      .Int("HeadingIndex", -1)
      .Bool("UseFocusRing", true)
      .Bool("Border", true)
      .Int("_ScrollOffset", 0)
      .Int("_ScrollWidth", -1)
      .Bytes();
}

std::string ProgressBarRecord() {
  return UnboundControl("ProgressBar1", {.left = 20, .top = 330, .width = 100, .height = 20, .tabIndex = 3},
                        VisibleState::Hidden)
      .Int("Maximum", 100)
      .Int("Value", 0)
      .Bytes();
}

std::string LabelRecord() {
  return UnboundControl("LabelRead", {.left = 132, .top = 330, .width = 100, .height = 20, .tabIndex = 3},
                        VisibleState::Hidden)
      .Text("Text", "reading EEPROM")
      .Int("TextAlign", 0)
      .Colour("TextColor", layout::kBlack)
      .Bool("Multiline", false)
      .Bool("Selectable", false)
      .Bool("Transparent", false)
      .Bytes();
}

std::string ThreadRecord() { return PropertyRecordBuilder().Int("Priority", 5).Int("StackSize", 0).Bytes(); }

std::string TimerRecord() { return PropertyRecordBuilder().Int("Period", 100).Int("Mode", 0).Bytes(); }

}  // namespace

void WindowHPU::Layout() { SetProperties(WindowRecord()); }

void WindowHPU::CreateControls() { CreateControls0(); }

void WindowHPU::CreateControls0() {
  using namespace toolkit;
  auto list = BuildControl<Listbox>("Listbox1", ListboxRecord());
  list->Open.Bind([this](Listbox& l) { Listbox1_Open(l); });
  list->CellBackgroundPaint.Bind([this](Listbox& l, Graphics& g, int32_t row, int32_t column) {
    return Listbox1_CellBackgroundPaint(l, g, row, column);
  });
  BuildControl<PushButton>(
      "PushButtonWrite",
      PushButtonRecord("PushButtonWrite", {.left = 391, .top = 330, .width = 80, .height = 20, .tabIndex = 1}, "Write",
                       ButtonRole::Default));
  BuildControl<PushButton>(
      "PushButtonCancel",
      PushButtonRecord("PushButtonCancel", {.left = 483, .top = 330, .width = 80, .height = 20, .tabIndex = 2},
                       "Cancel", ButtonRole::Cancel))
      ->Action.Bind([this](PushButton& b) { PushButtonCancel_Action(b); });
  BuildControl<ProgressBar>("ProgressBar1", ProgressBarRecord());
  BuildControl<Label>("LabelRead", LabelRecord());
  BuildControl<Thread>("ThreadRefreshWindow_HPU", ThreadRecord())->RunEvent.Bind([this](Thread& t) {
    ThreadRefreshWindow_HPU_Run(t);
  });
  BuildControl<Timer>("Timer1", TimerRecord())->Action.Bind([this](Timer& t) { Timer1_Action(t); });
}
