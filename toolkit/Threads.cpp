#include "toolkit/Threads.h"

#include <boost/context/fiber.hpp>
#include <boost/context/protected_fixedsize_stack.hpp>

#include <algorithm>
#include <cstdint>
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/Clock.h"
#include "toolkit/Exceptions.h"
#include "toolkit/UnhandledErrors.h"

namespace toolkit {

namespace fibers = boost::context;
using State = CooperativeThread::State;

namespace detail {

struct ThreadCore {
  CooperativeThread* owner = nullptr;
  std::function<void()> body;
  State state = State::NotStarted;
  // Counts starts, so that a pass skips a thread that was restarted after the pass began.
  std::uint64_t run = 0;
  // While the thread waits at a yield: its suspended context. Empty before its first step:
  // the fiber is made then, so that a thread killed before it ever ran runs none of its body.
  fibers::fiber fiber;
  // While the thread runs: the suspended main thread, to yield to.
  fibers::fiber toMain;
  // The thread's code is on the call chain: it runs, or Kill is unwinding it.
  bool onStack = false;
  bool unwinding = false;
  // What escaped the body; reported once control is back on the main thread.
  std::exception_ptr failure;
};

}  // namespace detail

using detail::ThreadCore;

namespace {

struct Scheduler {
  std::vector<std::weak_ptr<ThreadCore>> threads;  // in creation order
  ThreadCore* running = nullptr;
  std::function<void()> runnableHook;
};

Scheduler& TheScheduler() {
  static Scheduler scheduler;
  return scheduler;
}

bool IsAlive(const ThreadCore& core) {
  return core.state == State::Runnable || core.state == State::Suspended;
}

void NotifyRunnable() {
  if (TheScheduler().runnableHook) TheScheduler().runnableHook();
}

// Marks a thread's code as running while control is inside its fiber.
class RunningScope {
 public:
  explicit RunningScope(ThreadCore& core)
      : core_(core), previous_(std::exchange(TheScheduler().running, &core)) {
    core_.onStack = true;
  }
  ~RunningScope() {
    core_.onStack = false;
    TheScheduler().running = previous_;
  }
  RunningScope(const RunningScope&) = delete;
  RunningScope& operator=(const RunningScope&) = delete;

 private:
  ThreadCore& core_;
  ThreadCore* previous_;
};

// The base of a thread's fiber: runs the body and hands back the context to return to.
fibers::fiber RunBody(ThreadCore& core, fibers::fiber&& toMain) {
  core.toMain = std::move(toMain);
  try {
    core.body();
  } catch (const fibers::detail::forced_unwind&) {
    throw;  // Kill's unwinding has to reach Boost's handler at the fiber's base
  } catch (...) {
    core.failure = std::current_exception();
  }
  if (core.unwinding) {
    // Nothing is left to return to. An exception leaving the fiber's entry ends the program,
    // with this message.
    throw RuntimeException(
        "A cooperative thread's body swallowed its own termination; a thread must not use a "
        "bare catch (...).");
  }
  return std::move(core.toMain);
}

fibers::fiber MakeFiber(ThreadCore& core) {
  // A guard page below the stack turns an overflow into a clean crash instead of heap damage.
  return fibers::fiber(std::allocator_arg, fibers::protected_fixedsize_stack(),
                       [&core](fibers::fiber&& toMain) { return RunBody(core, std::move(toMain)); });
}

void Finish(ThreadCore& core) {
  core.state = State::Finished;
  core.fiber = {};
  if (core.failure) ReportUnhandledException(std::exchange(core.failure, nullptr));
}

void Step(ThreadCore& core) {
  if (!core.fiber) core.fiber = MakeFiber(core);
  {
    RunningScope scope(core);
    core.fiber = std::move(core.fiber).resume();
  }
  if (!core.fiber) Finish(core);
}

void SwitchToMain(ThreadCore& core) {
  // The destructors that Kill runs have no main thread to yield to: Kill is waiting for them.
  if (core.unwinding) return;
  core.toMain = std::move(core.toMain).resume();
}

void RunPass() {
  Scheduler& scheduler = TheScheduler();
  std::erase_if(scheduler.threads, [](const auto& thread) { return thread.expired(); });
  // Steps may start, kill or destroy threads: walk a snapshot of weak handles.
  struct Due {
    std::weak_ptr<ThreadCore> thread;
    std::uint64_t run;
  };
  std::vector<Due> due;
  for (const auto& thread : scheduler.threads) {
    auto core = thread.lock();
    if (core && core->state == State::Runnable) due.push_back({thread, core->run});
  }
  for (const Due& entry : due) {
    auto core = entry.thread.lock();
    if (core && core->state == State::Runnable && core->run == entry.run) Step(*core);
  }
}

ThreadCore& RequireInside(ThreadCore& core, const char* operation) {
  if (TheScheduler().running != &core) {
    throw RuntimeException(std::string(operation) + " works only from inside the thread itself.");
  }
  return core;
}

}  // namespace

bool OnMainThread() { return TheScheduler().running == nullptr; }

void RequireMainThread() {
  if (!OnMainThread()) throw ThreadAccessingUIException();
}

void YieldToNextThread() {
  if (ThreadCore* running = TheScheduler().running) {
    SwitchToMain(*running);
  } else {
    RunPass();
  }
}

void RunCooperativeThreads() {
  if (!OnMainThread()) {
    throw RuntimeException("Only the main thread can run a pass of the cooperative threads.");
  }
  RunPass();
}

bool HasRunnableThreads() {
  const auto& threads = TheScheduler().threads;
  return std::any_of(threads.begin(), threads.end(), [](const auto& thread) {
    auto core = thread.lock();
    return core && core->state == State::Runnable;
  });
}

void SetRunnableHook(std::function<void()> hook) { TheScheduler().runnableHook = std::move(hook); }

CooperativeThread::CooperativeThread(std::function<void()> body)
    : core_(std::make_shared<ThreadCore>()) {
  core_->owner = this;
  core_->body = std::move(body);
  TheScheduler().threads.push_back(core_);
}

CooperativeThread::~CooperativeThread() {
  // From inside the thread itself Kill throws, which ends the program here.
  Kill();
}

void CooperativeThread::Start() {
  if (IsAlive(*core_)) return;
  ++core_->run;
  core_->state = State::Runnable;
  NotifyRunnable();
}

void CooperativeThread::Kill() {
  ThreadCore& core = *core_;
  if (core.onStack) throw RuntimeException("A thread cannot be killed while its own code runs.");
  if (!IsAlive(core)) return;
  if (core.fiber) {
    RunningScope scope(core);
    core.unwinding = true;
    // Destroying a suspended fiber unwinds its stack from where it waits.
    fibers::fiber unwound = std::move(core.fiber);
  }
  core.unwinding = false;
  core.state = State::Finished;
}

void CooperativeThread::Suspend() {
  ThreadCore& core = RequireInside(*core_, "Suspend");
  core.state = State::Suspended;
  SwitchToMain(core);
}

void CooperativeThread::Resume() {
  if (core_->state != State::Suspended) return;
  core_->state = State::Runnable;
  NotifyRunnable();
}

void CooperativeThread::Sleep(double milliseconds) {
  ThreadCore& core = RequireInside(*core_, "Sleep");
  const double wakeAt = Microseconds() + milliseconds * 1000.0;
  do {
    SwitchToMain(core);
  } while (!core.unwinding && Microseconds() < wakeAt);
}

CooperativeThread::State CooperativeThread::CurrentState() const { return core_->state; }

CooperativeThread* CurrentCooperativeThread() {
  ThreadCore* running = TheScheduler().running;
  return running ? running->owner : nullptr;
}

}  // namespace toolkit
