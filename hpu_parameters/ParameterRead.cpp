// The read of the HPU's parameter memory: the worker asks the main window's link for one
// range after the other, and the window's timer moves the progress bar and draws each answer
// into the Value column. They meet only through plain members; threads are cooperative, so
// every member is read or written whole between two yields.
#include <limits>

#include "app/App.h"
#include "hpu_parameters/WindowHPU.h"
#include "monitor/WindowMain.h"
#include "toolkit/Clock.h"
#include "toolkit/Text.h"
#include "toolkit/Threads.h"

namespace {

constexpr int32_t kTicksBetweenPasses = 21;  // 350 ms at 60 ticks a second
constexpr int32_t kFirstStart = 0, kFirstEnd = 30;
constexpr int32_t kSecondStart = 30, kSecondEnd = 48;

// Reads the tick counter and yields after every reading. The ticks passed are counted
// across the counter's wrap, so a wait never outlasts its 21 ticks.
void WaitBetweenPasses() {
  const int32_t start = toolkit::Ticks();
  while (toolkit::StampDifference(toolkit::Ticks(), start) < kTicksBetweenPasses) toolkit::YieldToNextThread();
}

// One more step of progress, held at the largest value instead of overflowing.
void StepProgress(int32_t& value) {
  if (value < std::numeric_limits<int32_t>::max()) ++value;
}

void SetReadRange(int32_t start, int32_t end) {
  single::WindowMain()->Adr_debut_lecture = start;
  single::WindowMain()->Adr_fin_lecture = end;
}

// Answers carry no address: the link keeps with the stored answer the range of the request
// that was sent last before it.
bool AnswersReadRange(const WindowMain& link) {
  return link.Adr_debut_reponse == link.Adr_debut_lecture && link.Adr_fin_reponse == link.Adr_fin_lecture;
}

}  // namespace

void WindowHPU::ThreadRefreshWindow_HPU_Run(toolkit::Thread& thread) {
  progressValue = 0;
  Timer1()->SetEnabled(true);
  single::WindowMain()->reponseHPU = false;
  answerDrawn = false;
  SetReadRange(kFirstStart, kFirstEnd);

  // First read: one more request every pass until the HPU answers.
  while (!readAnswered()) {
    WaitBetweenPasses();
    single::WindowMain()->lectureEEPROM();
    StepProgress(progressValue);
    toolkit::YieldToNextThread();
  }
  progressValue = 50;
  Timer1()->SetEnabled(true);

  // Until the timer has drawn the answer, and for one pass at least: an answer the timer drew
  // before the worker looked would otherwise turn the timer off before it shows the 50.
  do {
    WaitBetweenPasses();
    StepProgress(progressValue);
    toolkit::YieldToNextThread();
  } while (single::WindowMain()->reponseHPU);

  // The timer goes off before the range changes, so it never draws an answer to the first
  // range as if it belonged to the second.
  Timer1()->SetEnabled(false);
  answerDrawn = false;
  SetReadRange(kSecondStart, kSecondEnd);

  // Second read; with the timer off, its answer stays flagged and undrawn until after it.
  while (!readAnswered()) {
    WaitBetweenPasses();
    single::WindowMain()->lectureEEPROM();
    toolkit::YieldToNextThread();
  }
  Timer1()->SetEnabled(true);
  progressValue = 100;

  // The timer draws the second answer meanwhile.
  single::App()->CurrentThread()->Sleep(200, toolkit::Thread::WakeEarly::No);
  Timer1()->SetMode(toolkit::Timer::ModeOff);
  // Until the window closes and kills the thread.
  thread.Suspend();
}

bool WindowHPU::readAnswered() const {
  return answerDrawn || (single::WindowMain()->reponseHPU && AnswersReadRange(*single::WindowMain()));
}

void WindowHPU::Timer1_Action(toolkit::Timer&) {
  // The bar follows the progress value until it has once reached its maximum.
  if (ProgressBar1()->Maximum() <= ProgressBar1()->Value())
    ProgressBar1()->SetValue(ProgressBar1()->Maximum());
  else
    ProgressBar1()->SetValue(progressValue);

  if (single::WindowMain()->reponseHPU) {
    // An answer to a range no longer read is set aside undrawn.
    if (AnswersReadRange(*single::WindowMain())) {
      const int32_t start = single::WindowMain()->Adr_debut_lecture;
      refreshWindow_HPU(start, single::WindowMain()->Adr_fin_lecture);
      answerDrawn = true;
    }
    // Only now: a worker running at the drawing's yields still finds the answer flagged.
    single::WindowMain()->reponseHPU = false;
  }
}

void WindowHPU::refreshWindow_HPU(int32_t start, int32_t /*end: the answer's length decides*/) {
  const int32_t total = FrameSize(single::WindowMain()->TrameBufferEEPROM);
  int32_t row = start / 2;
  for (int32_t i = 0; i <= total - 7; i += 2) {
    const ByteBuffer& answer = single::WindowMain()->TrameBufferEEPROM;
    const int32_t word = Word(answer, static_cast<size_t>(i + 4));
    if (row >= 0 && row < Listbox1()->ListCount()) Listbox1()->SetCell(row, 1, toolkit::Str(word));
    ++row;
    toolkit::YieldToNextThread();
  }
}
