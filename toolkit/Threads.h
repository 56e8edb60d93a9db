#pragma once
// Cooperative threads. Everything runs on the one GUI thread: each CooperativeThread is a
// fiber with its own stack, and control passes between the main thread and the fibers only
// at a yield (YieldToNextThread, Sleep, Suspend). No two run at once, so nothing is locked.
//
// A scheduler pass resumes every thread that is runnable when the pass begins, in creation
// order, for one step each: until its next yield or the end of its body. A pass runs at every
// main-thread yield and from the event loop (the pacer) or the test runner.
//
// Kill unwinds the killed thread's stack: the toolkit throws an internal exception inside it
// so that the destructors of its objects run. A thread's body must therefore never swallow
// it with a bare `catch (...)`; catch the exception types it means to handle, or rethrow.
// An exception that leaves a body goes to the report of unhandled errors, and the thread ends.
#include <functional>
#include <memory>

namespace toolkit {

namespace detail {
struct ThreadCore;
}  // namespace detail

// False while a cooperative thread's code runs (its body or the destructors that Kill runs).
bool OnMainThread();
// Guards user-interface operations: throws ThreadAccessingUIException off the main thread.
void RequireMainThread();
// On the main thread: one scheduler pass. Inside a thread: back to the main thread until the
// thread's next step.
void YieldToNextThread();
// One scheduler pass, for the event loop and the test runner; the main thread only.
void RunCooperativeThreads();
// Whether a thread is waiting for its next step (sleeping threads count; suspended do not).
bool HasRunnableThreads();
// Called whenever a thread becomes runnable (Start, Resume), so that a pacer can wake up.
void SetRunnableHook(std::function<void()> hook);

class CooperativeThread {
 public:
  enum class State { NotStarted, Runnable, Suspended, Finished };

  explicit CooperativeThread(std::function<void()> body);
  // Kills the thread if it is still alive. Destroying a thread from inside itself is a
  // programming error and ends the program.
  ~CooperativeThread();
  CooperativeThread(const CooperativeThread&) = delete;
  CooperativeThread& operator=(const CooperativeThread&) = delete;

  // Makes the thread runnable; its body begins at the next pass. Does nothing while the
  // thread is alive; a finished thread runs its body again.
  void Start();
  // Ends the thread wherever it waits, unwinding its stack; it is then Finished. Does nothing
  // unless the thread is alive. Throws RuntimeException when called from inside the thread.
  void Kill();
  // From inside this thread: parks it until Resume.
  void Suspend();
  // Makes a suspended thread runnable again; does nothing otherwise.
  void Resume();
  // From inside this thread: yields at least once, and until Microseconds() has reached the
  // reading at the call plus the given milliseconds.
  void Sleep(double milliseconds);

  State CurrentState() const;

 private:
  // Shared so that a scheduler pass can hold weak handles that outlive a destroyed thread.
  std::shared_ptr<detail::ThreadCore> core_;
};

// The thread whose code is running; nullptr on the main thread.
CooperativeThread* CurrentCooperativeThread();

}  // namespace toolkit
