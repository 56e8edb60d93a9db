#include "toolkit/Thread.h"

#include <algorithm>
#include <vector>

#include "toolkit/Application.h"
#include "toolkit/Threads.h"

namespace toolkit {
namespace {

std::vector<Thread*>& LiveThreads() {
  static std::vector<Thread*> threads;
  return threads;
}

}  // namespace

Thread::Thread() : thread_(std::make_unique<CooperativeThread>([this] { RunEvent.Raise(*this); })) {
  LiveThreads().push_back(this);
}

Thread::~Thread() {
  auto& threads = LiveThreads();
  threads.erase(std::remove(threads.begin(), threads.end(), this), threads.end());
}

void Thread::Run() { thread_->Start(); }

void Thread::Kill() {
  // The unwinding may drop the last other reference to this control.
  std::shared_ptr<Control> keepSelf = shared_from_this();
  thread_->Kill();
}

void Thread::Sleep(int32_t milliseconds, WakeEarly /*wakeEarly*/) { thread_->Sleep(milliseconds); }

void Thread::Suspend() { thread_->Suspend(); }

void Thread::Resume() { thread_->Resume(); }

std::optional<PropertyType> Thread::PropertyTypeOf(std::string_view key) const {
  if (key == "Priority" || key == "StackSize") return PropertyType::Int32;
  return std::nullopt;
}

Ref<Thread> Application::CurrentThread() const {
  CooperativeThread* running = CurrentCooperativeThread();
  if (!running) return nullptr;
  auto& threads = LiveThreads();
  auto found = std::find_if(threads.begin(), threads.end(), [running](Thread* t) { return t->thread_.get() == running; });
  if (found == threads.end()) return nullptr;
  return Ref<Thread>(std::static_pointer_cast<Thread>((*found)->shared_from_this()));
}

}  // namespace toolkit
