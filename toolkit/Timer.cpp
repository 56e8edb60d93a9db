#include "toolkit/Timer.h"

#include <algorithm>
#include <vector>

#include "toolkit/Clock.h"

namespace toolkit {
namespace {

// Both never destroyed: the event loop's timer driver, held by a static made before them, resets
// the hook as the program exits, and timers may go as late.
std::vector<Timer*>& LiveTimers() {
  static auto* timers = new std::vector<Timer*>;
  return *timers;
}

std::function<void()>& ScheduleHook() {
  static auto* hook = new std::function<void()>;
  return *hook;
}

void ScheduleChanged() {
  if (ScheduleHook()) ScheduleHook()();
}

double NowMilliseconds() { return Microseconds() / 1000.0; }

uint64_t NextCreationOrder() {
  static uint64_t next = 0;
  return next++;
}

}  // namespace

Timer::Timer() : creationOrder_(NextCreationOrder()) { LiveTimers().push_back(this); }

Timer::~Timer() {
  auto& timers = LiveTimers();
  timers.erase(std::remove(timers.begin(), timers.end(), this), timers.end());
  ScheduleChanged();
}

void Timer::SetMode(int32_t mode) {
  mode_ = mode;
  Rearm();
}

void Timer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Rearm();
}

void Timer::SetPeriod(int32_t milliseconds) {
  period_ = milliseconds;
  Rearm();
}

std::optional<PropertyType> Timer::PropertyTypeOf(std::string_view key) const {
  if (key == "Mode" || key == "Period") return PropertyType::Int32;
  return std::nullopt;
}

void Timer::ApplyProperty(const PropertyEntry& entry) {
  if (entry.key == "Mode") SetMode(std::get<int32_t>(entry.value));
  if (entry.key == "Period") SetPeriod(std::get<int32_t>(entry.value));
}

// Switching a timer on, or changing its period or mode, starts a fresh period from now.
void Timer::Rearm() {
  if (mode_ == ModeOff || !enabled_)
    due_.reset();
  else
    due_ = NowMilliseconds() + std::max<int32_t>(period_, 1);
  ScheduleChanged();
}

void Timer::Fire() {
  double now = NowMilliseconds();
  if (mode_ == ModeSingle) {
    mode_ = ModeOff;
    due_.reset();
  } else {
    // Keep the beat of the period; periods missed while the program was busy are skipped.
    double next = *due_ + std::max<int32_t>(period_, 1);
    due_ = next > now ? next : now + std::max<int32_t>(period_, 1);
  }
  ScheduleChanged();
  Deliver([this] { Action.Raise(*this); });
}

void FireDueTimers() {
  double now = NowMilliseconds();
  std::vector<Timer*> due;
  for (Timer* timer : LiveTimers())
    if (timer->due_ && *timer->due_ <= now) due.push_back(timer);
  std::sort(due.begin(), due.end(), [](const Timer* a, const Timer* b) {
    return *a->due_ != *b->due_ ? *a->due_ < *b->due_ : a->creationOrder_ < b->creationOrder_;
  });
  for (Timer* timer : due) {
    // An earlier handler may have switched this one off, rearmed it or destroyed it.
    auto& live = LiveTimers();
    if (std::find(live.begin(), live.end(), timer) == live.end()) continue;
    if (timer->due_ && *timer->due_ <= now) timer->Fire();
  }
}

std::optional<double> NextTimerDue() {
  std::optional<double> earliest;
  for (const Timer* timer : LiveTimers())
    if (timer->DueAt() && (!earliest || *timer->DueAt() < *earliest)) earliest = timer->DueAt();
  return earliest;
}

void SetTimerScheduleHook(std::function<void()> hook) { ScheduleHook() = std::move(hook); }

}  // namespace toolkit
