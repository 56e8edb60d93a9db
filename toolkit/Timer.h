#pragma once
// The toolkit's timer. Its schedule runs on the installed clock: the event loop (or the test
// runner) fires due timers through FireDueTimers. Mode and Enabled serve worker threads too.
#include <cstdint>
#include <functional>
#include <optional>

#include "toolkit/Control.h"
#include "toolkit/Event.h"

namespace toolkit {

class Timer : public Control {
 public:
  enum : int32_t { ModeOff = 0, ModeSingle = 1, ModeMultiple = 2 };
  Timer();
  ~Timer() override;

  int32_t Mode() const { return mode_; }
  void SetMode(int32_t mode);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  int32_t Period() const { return period_; }
  void SetPeriod(int32_t milliseconds);
  Event<Timer&> Action;

  std::optional<PropertyType> PropertyTypeOf(std::string_view key) const override;
  void ApplyProperty(const PropertyEntry& entry) override;

  // When the timer fires next, on the installed clock in ms; none while it is off.
  std::optional<double> DueAt() const { return due_; }

 private:
  friend void FireDueTimers();
  void Rearm();
  void Fire();

  int32_t mode_ = ModeMultiple;
  bool enabled_ = true;
  int32_t period_ = 1000;
  std::optional<double> due_;
  uint64_t creationOrder_;
};

// Fires every due timer once, earliest due first (ties in creation order).
void FireDueTimers();
// The earliest due time of any timer, none when all are off.
std::optional<double> NextTimerDue();
// Told whenever the earliest due time may have changed (the event loop re-arms its wake-up).
void SetTimerScheduleHook(std::function<void()> hook);

}  // namespace toolkit
