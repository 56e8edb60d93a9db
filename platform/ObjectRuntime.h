#pragma once
// Stand-in for the operating system's object runtime: objects and classes, selectors
// registered by name, message sends, reference counting and the exception guard. The names
// follow the runtime's calls so that the wrapper above reads like the code it replaces.
#include <cstdint>
#include <string>

namespace platform {

class Object;
using Id = Object*;  // an object or a class; nullptr is nil
struct Selector;
using SEL = const Selector*;

// What a send answers: an object, or an integer for the counting and flag queries.
struct Answer {
  Id object = nullptr;
  int64_t integer = 0;
};

// The same name always gives the same selector.
SEL sel_registerName(const char* name);

// The class of that name, given as a string object; nil when there is none.
Id NSClassFromString(Id className);

// A send to an object or a class, in the argument shapes the messages take. A send to nil
// answers nothing. A runtime exception raised by a send goes to the innermost guard.
Answer objc_msgSend(Id receiver, SEL selector);
Answer objc_msgSend(Id receiver, SEL selector, Id argument);
Answer objc_msgSend(Id receiver, SEL selector, uint64_t options, Id argument);

// Direct reference counting, without a message. Classes are not counted; nil is ignored.
Id RetainObject(Id object);
void ReleaseObject(Id object);

// --- Exception guard ---------------------------------------------------------------------
// Thrown to the return point of the innermost guard when a runtime exception is raised while
// it is registered; the exception itself is then in the guard's record.
struct ExceptionReported {};

// One guard's record. It holds the reported exception until the record goes.
class ExceptionData {
 public:
  ExceptionData() = default;
  ExceptionData(const ExceptionData&) = delete;
  ExceptionData& operator=(const ExceptionData&) = delete;
  // A guard left without its exit (a C++ exception passing through) is removed here, so a
  // later raise never reaches a record that no longer exists.
  ~ExceptionData();

 private:
  friend struct ExceptionGuards;
  Id exception_ = nullptr;
  bool registered_ = false;
};

void objc_exception_try_enter(ExceptionData& data);
void objc_exception_try_exit(ExceptionData& data);
// The exception reported to this guard; nil when none was.
Id objc_exception_extract(ExceptionData& data);

// The reason text of a runtime exception object; empty for nil or another kind of object.
std::string ExceptionReason(Id exception);

}  // namespace platform
