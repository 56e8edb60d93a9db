#include "platform/ObjectRuntime.h"

#include <algorithm>
#include <exception>
#include <map>
#include <memory>

#include "platform/StandInState.h"
#include "platform/StringObjects.h"

namespace platform {

struct Selector {
  std::string name;
};

// The guard records' private side, for the runtime alone.
struct ExceptionGuards {
  static void Register(ExceptionData& data) {
    if (data.registered_) return;
    data.registered_ = true;
    State().guards.push_back(&data);
  }
  static void Unregister(ExceptionData& data) {
    if (!data.registered_) return;
    data.registered_ = false;
    auto& guards = State().guards;
    guards.erase(std::remove(guards.begin(), guards.end(), &data), guards.end());
  }
  [[noreturn]] static void Report(Id exception) {
    auto& guards = State().guards;
    if (guards.empty()) std::terminate();
    ExceptionData& innermost = *guards.back();
    Unregister(innermost);
    Discard(innermost);
    innermost.exception_ = exception;
    throw ExceptionReported{};
  }
  static Id Extract(const ExceptionData& data) { return data.exception_; }
  static void Discard(ExceptionData& data) {
    ReleaseObject(data.exception_);
    data.exception_ = nullptr;
  }
};

namespace {

class ExceptionObject final : public Object {
 public:
  explicit ExceptionObject(std::string reason) : reason_(std::move(reason)) {}
  std::string_view ClassName() const override { return "Exception"; }
  std::optional<Answer> Receive(std::string_view, const Arguments&) override { return std::nullopt; }
  const std::string& Reason() const { return reason_; }

 private:
  std::string reason_;
};

// Consumes the armed raise when this send is the one it waits for.
std::optional<std::string> TakeArmedRaise(std::string_view selector) {
  auto& armed = State().raiseSwitch;
  if (!armed || armed->selector != selector) return std::nullopt;
  if (armed->sendsToLetPass > 0) {
    --armed->sendsToLetPass;
    return std::nullopt;
  }
  std::string reason = std::move(armed->reason);
  armed.reset();
  return reason;
}

void Log(Id receiver, const Selector& selector, const Arguments& arguments) {
  SentMessage message{receiver, selector.name, nullptr, arguments.options, std::nullopt};
  if (arguments.object && arguments.object->HeldText()) {
    message.text = *arguments.object->HeldText();
  } else {
    message.argument = arguments.object;
  }
  State().log.push_back(std::move(message));
}

Answer Send(Id receiver, SEL selector, const Arguments& arguments) {
  Log(receiver, *selector, arguments);
  if (!receiver) return {};
  if (!receiver->IsClass() && receiver->retainCount == 0) {
    RaiseRuntimeException("A message was sent to a deallocated " + std::string(receiver->ClassName()) + ".");
  }
  if (auto reason = TakeArmedRaise(selector->name)) RaiseRuntimeException(*reason);
  if (selector->name == "retain") return {RetainObject(receiver)};
  if (selector->name == "release") {
    ReleaseObject(receiver);
    return {};
  }
  if (auto answer = receiver->Receive(selector->name, arguments)) return *answer;
  RaiseRuntimeException(std::string(receiver->ClassName()) + " does not recognise the selector " +
                        selector->name + ".");
}

}  // namespace

void RaiseRuntimeException(const std::string& reason) {
  ExceptionGuards::Report(Make<ExceptionObject>(State(), reason));
}

SEL sel_registerName(const char* name) {
  // Selectors outlive every reset, as the runtime's own do.
  static auto& selectors = *new std::map<std::string, std::unique_ptr<Selector>, std::less<>>;
  auto found = selectors.find(name);
  if (found == selectors.end()) {
    found = selectors.emplace(name, std::make_unique<Selector>(Selector{name})).first;
  }
  return found->second.get();
}

Id NSClassFromString(Id className) {
  const auto& classes = State().classes;
  auto found = classes.find(StringObjectText(className));
  return found == classes.end() ? nullptr : found->second;
}

Answer objc_msgSend(Id receiver, SEL selector) { return Send(receiver, selector, {}); }

Answer objc_msgSend(Id receiver, SEL selector, Id argument) {
  return Send(receiver, selector, {argument, std::nullopt});
}

Answer objc_msgSend(Id receiver, SEL selector, uint64_t options, Id argument) {
  return Send(receiver, selector, {argument, options});
}

Id RetainObject(Id object) {
  if (object && !object->IsClass() && object->retainCount > 0) ++object->retainCount;
  return object;
}

void ReleaseObject(Id object) {
  if (object && !object->IsClass() && object->retainCount > 0) --object->retainCount;
}

ExceptionData::~ExceptionData() {
  ExceptionGuards::Unregister(*this);
  ExceptionGuards::Discard(*this);
}

void objc_exception_try_enter(ExceptionData& data) { ExceptionGuards::Register(data); }

void objc_exception_try_exit(ExceptionData& data) { ExceptionGuards::Unregister(data); }

Id objc_exception_extract(ExceptionData& data) { return ExceptionGuards::Extract(data); }

std::string ExceptionReason(Id exception) {
  const auto* raised = dynamic_cast<const ExceptionObject*>(exception);
  return raised ? raised->Reason() : std::string();
}

}  // namespace platform
