#pragma once
// The thread control: a cooperative thread owned by its window, whose body is the control's
// Run event. Destroying the window kills the thread. Run, Kill and Resume are called from
// outside the thread; Sleep and Suspend only by the thread on itself.
#include <cstdint>
#include <memory>

#include "toolkit/Control.h"
#include "toolkit/Event.h"

namespace toolkit {

class CooperativeThread;

class Thread : public Control {
 public:
  Thread();
  ~Thread() override;

  // The thread's body, raised with the thread control once the thread starts.
  Event<Thread&> RunEvent;

  // Starts the thread: its body begins at the next yield of the main thread. Does nothing
  // while the thread is alive.
  void Run();
  // Ends the thread wherever it waits; the objects on its stack are destroyed.
  void Kill();
  // From inside the thread: gives way for at least the milliseconds. WakeEarly::Yes allows the
  // sleep to end sooner when nothing else is due; this toolkit always sleeps the full time.
  enum class WakeEarly { No, Yes };
  void Sleep(int32_t milliseconds, WakeEarly wakeEarly = WakeEarly::No);
  // From inside the thread: parks it until Resume.
  void Suspend();
  void Resume();

  // Priority and StackSize are kept as given: every thread gets one step per pass and the
  // default stack.
  std::optional<PropertyType> PropertyTypeOf(std::string_view key) const override;

 private:
  friend class Application;
  std::unique_ptr<CooperativeThread> thread_;
};

}  // namespace toolkit
