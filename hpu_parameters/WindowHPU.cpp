// The window's own events: filling the list and starting the read when it opens, stopping
// the read when it closes, the row colours and the Cancel button.
#include "hpu_parameters/WindowHPU.h"

#include "hpu_parameters/ParameterTable.h"
#include "toolkit/Text.h"
#include "toolkit/Threads.h"

namespace single {

toolkit::Ref<::WindowHPU> WindowHPU() { return toolkit::SingleInstance<::WindowHPU>(); }

}  // namespace single

void WindowHPU::Event_Open() {
  const auto& parameters = hpu::Parameters();
  for (size_t i = 0; i < parameters.size(); ++i) {
    const auto row = static_cast<int32_t>(i);
    Listbox1()->AddRow(std::string(parameters[i].name));
    Listbox1()->SetCell(row, 1, "");
    Listbox1()->SetCell(row, 2, std::string(parameters[i].unit));
    Listbox1()->SetCell(row, 3, toolkit::Str(parameters[i].defaultValue));
    toolkit::YieldToNextThread();
  }
  Listbox1()->SetColumnType(1, toolkit::Listbox::TypeEditable);
  Listbox1()->SetColumnAlignment(1, toolkit::Listbox::AlignRight);
  Listbox1()->SetColumnAlignment(2, toolkit::Listbox::AlignLeft);
  Listbox1()->SetColumnAlignment(3, toolkit::Listbox::AlignRight);

  ProgressBar1()->SetValue(0);
  ProgressBar1()->SetVisible(true);
  // The worker switches the timer on and off; it stays off until then.
  Timer1()->SetMode(toolkit::Timer::ModeMultiple);
  Timer1()->SetEnabled(false);
  ThreadRefreshWindow_HPU()->Run();
}

void WindowHPU::Event_Close() {
  ThreadRefreshWindow_HPU()->Kill();
  Timer1()->SetEnabled(false);
}

void WindowHPU::Listbox1_Open(toolkit::Listbox&) {}

// Every other row, from row 0, gets a light blue background on all its cells.
bool WindowHPU::Listbox1_CellBackgroundPaint(toolkit::Listbox&, toolkit::Graphics& g, int32_t row, int32_t) {
  if (row % 2 == 0) {
    g.SetForeColor(toolkit::RGB(237, 243, 254));
    g.FillRect(0, 0, g.Width(), g.Height());
  }
  return false;
}

void WindowHPU::PushButtonCancel_Action(toolkit::PushButton&) { single::WindowHPU()->Close(); }
