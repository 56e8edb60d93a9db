#include "bench/HpuPassWatch.h"

#include <algorithm>
#include <cstdio>

#include "hpu_parameters/WindowHPU.h"
#include "monitor/WindowMain.h"

HpuPassWatch::HpuPassWatch(int passes) : passes_(passes) {
  clock_.start();
  // Every millisecond, so a step is seen within 1 ms; the poll runs no cooperative thread.
  poll_.setTimerType(Qt::PreciseTimer);
  poll_.setInterval(1);
  QObject::connect(&poll_, &QTimer::timeout, [this] { Poll(); });
  poll_.start();
}

void HpuPassWatch::Poll() {
  toolkit::Ref<toolkit::Window> open = toolkit::Window::OpenInstance(WindowHPU::kRegisteredName);
  if (open.IsNil()) return;
  const int32_t value = open.Cast<WindowHPU>()->progressValue;
  if (value == lastValue_) return;
  const double now = static_cast<double>(clock_.nsecsElapsed()) / 1e6;
  if (lastStepMilliseconds_) durations_.push_back(now - *lastStepMilliseconds_);
  // The first value seen is the read's start; the first step ends a pass begun unseen.
  if (lastValue_) lastStepMilliseconds_ = now;
  lastValue_ = value;
  if (static_cast<int>(durations_.size()) < passes_) return;
  poll_.stop();
  Report();
  single::WindowMain()->ChooseMenuItem("FileQuit");
}

void HpuPassWatch::Report() const {
  for (size_t i = 0; i < durations_.size(); ++i) std::printf("pass %zu: %.1f ms\n", i + 2, durations_[i]);
  std::vector<double> sorted = durations_;
  std::sort(sorted.begin(), sorted.end());
  std::printf("passes=%zu min_ms=%.1f median_ms=%.1f max_ms=%.1f\n", sorted.size(), sorted.front(),
              sorted[sorted.size() / 2], sorted.back());
  std::fflush(stdout);
}
