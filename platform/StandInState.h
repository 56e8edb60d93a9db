#pragma once
// The stand-in's in-process state and its object model, shared by the platform sources and
// the tests' control of the stand-in.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ObjectRuntime.h"

namespace platform {

// The argument shapes a message can carry.
struct Arguments {
  Id object = nullptr;
  std::optional<uint64_t> options;
};

class Object {
 public:
  Object() = default;
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;
  virtual ~Object() = default;

  virtual std::string_view ClassName() const = 0;
  // Classes answer their class messages and are not reference-counted.
  virtual bool IsClass() const { return false; }
  // The message of the object's own class; none when the class doesn't know the selector.
  // "retain" and "release" are the runtime's and never reach here.
  virtual std::optional<Answer> Receive(std::string_view selector, const Arguments& arguments) = 0;
  // The text of a string object.
  virtual const std::string* HeldText() const { return nullptr; }

  // The one reference its maker holds; 0 once deallocated.
  int32_t retainCount = 1;
};

// One message as it was sent. A string-object argument is recorded as its text at the send.
struct SentMessage {
  Id receiver = nullptr;
  std::string selector;
  Id argument = nullptr;
  std::optional<uint64_t> options;
  std::optional<std::string> text;
  bool operator==(const SentMessage&) const = default;
};

struct RaiseSwitch {
  std::string selector;
  std::string reason;
  int32_t sendsToLetPass = 0;
};

struct StandInState {
  // Every object made since the last reset. A deallocated object stays here as a zombie so
  // that no later object takes its address and a send to it can be told apart.
  std::vector<std::unique_ptr<Object>> objects;
  std::map<std::string, Id, std::less<>> classes;
  Id processInfoClass = nullptr;
  Id sharedProcessInfo = nullptr;
  // Activities begun through the process-information object and not yet ended, oldest first.
  std::vector<Id> activities;

  std::vector<SentMessage> log;
  std::optional<RaiseSwitch> raiseSwitch;
  std::optional<int32_t> reportedVersion = 0x1090;
  // Registered guards, innermost last.
  std::vector<ExceptionData*> guards;
};

StandInState& State();
// Makes the state a fresh system's: every object made so far is gone, the log is empty,
// nothing is set to raise and the version is the default.
void MakeFresh(StandInState& state);

template <class T, class... Args>
T* Make(StandInState& state, Args&&... args) {
  auto object = std::make_unique<T>(std::forward<Args>(args)...);
  T* made = object.get();
  state.objects.push_back(std::move(object));
  return made;
}

// A string object made in the given state (NewStringObject makes it in the current one).
Id MakeStringObject(StandInState& state, std::string_view text);

// Raises a runtime exception with the reason to the innermost guard. Without a guard the
// process ends, as it does for an exception nobody handles.
[[noreturn]] void RaiseRuntimeException(const std::string& reason);

// Makes the class "NSProcessInfo" and the shared process-information object.
void InstallProcessInformation(StandInState& state);

}  // namespace platform
