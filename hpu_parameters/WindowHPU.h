#pragma once
// The window "HPU EEPROM": the HPU's 24 parameter words with their names, units and
// defaults, read from the HPU through the main window's link while a progress bar advances.
#include <cstdint>

#include "toolkit/Accessors.h"
#include "toolkit/Controls.h"
#include "toolkit/Listbox.h"
#include "toolkit/ProgressBar.h"
#include "toolkit/Thread.h"
#include "toolkit/Timer.h"
#include "toolkit/Window.h"

class WindowHPU : public toolkit::Window {
 public:
  static constexpr const char* kRegisteredName = "WindowHPU.WindowHPU";
  WindowHPU() : toolkit::Window(kRegisteredName) {}

  // Written by the worker only, read by Timer1_Action only.
  int32_t progressValue = 0;

  // --- Construction (layout table) ------------------------------------------------------
  void Layout() override;
  void CreateControls() override;
  void CreateControls0();

  // --- Controls ---------------------------------------------------------------------------
  TOOLKIT_CONTROL_ACCESSOR(toolkit::Listbox, Listbox1)
  TOOLKIT_CONTROL_ACCESSOR(toolkit::PushButton, PushButtonWrite)
  TOOLKIT_CONTROL_ACCESSOR(toolkit::PushButton, PushButtonCancel)
  TOOLKIT_CONTROL_ACCESSOR(toolkit::ProgressBar, ProgressBar1)
  TOOLKIT_CONTROL_ACCESSOR(toolkit::Label, LabelRead)
  TOOLKIT_CONTROL_ACCESSOR(toolkit::Thread, ThreadRefreshWindow_HPU)
  TOOLKIT_CONTROL_ACCESSOR(toolkit::Timer, Timer1)

  // --- Handlers ---------------------------------------------------------------------------
  void Listbox1_Open(toolkit::Listbox& list);
  bool Listbox1_CellBackgroundPaint(toolkit::Listbox& list, toolkit::Graphics& g, int32_t row, int32_t column);
  void PushButtonCancel_Action(toolkit::PushButton& sender);
  void ThreadRefreshWindow_HPU_Run(toolkit::Thread& thread);
  void Timer1_Action(toolkit::Timer& sender);
  void Event_Open() override;
  void Event_Close() override;

  // --- Methods ------------------------------------------------------------------------------
  // Writes the words of the stored answer into the Value column, from the row of start.
  void refreshWindow_HPU(int32_t start, int32_t end);

 private:
  // Whether the HPU has answered the range being read: its answer waits to be drawn, or
  // the timer has drawn it already (the worker may test only after that).
  bool readAnswered() const;
  // Set by the timer once it has drawn an answer to the range being read; the worker clears
  // it whenever it sets a range.
  bool answerDrawn = false;
};

namespace single {
// The open HPU window, created (and built) when none is open.
toolkit::Ref<::WindowHPU> WindowHPU();
}  // namespace single
