#pragma once
// The toolkit's runtime exceptions. Program code raises and meets these; none of them
// is stopped inside an event handler, so they reach the report of unhandled errors.
#include <stdexcept>
#include <string>

namespace toolkit {

class RuntimeException : public std::runtime_error {
 public:
  explicit RuntimeException(const std::string& message) : std::runtime_error(message) {}
  // The class name the report of unhandled errors shows.
  virtual const char* ClassName() const noexcept { return "RuntimeException"; }
  // 0 unless the exception carries an operating-system error code.
  virtual int ErrorNumber() const noexcept { return 0; }
};

class NilObjectException : public RuntimeException {
 public:
  NilObjectException() : RuntimeException("An empty object reference was used.") {}
  const char* ClassName() const noexcept override { return "NilObjectException"; }
};

class IOException : public RuntimeException {
 public:
  IOException(int errorNumber, const std::string& message)
      : RuntimeException(message), errorNumber_(errorNumber) {}
  const char* ClassName() const noexcept override { return "IOException"; }
  int ErrorNumber() const noexcept override { return errorNumber_; }

 private:
  int errorNumber_;
};

class ThreadAccessingUIException : public RuntimeException {
 public:
  ThreadAccessingUIException()
      : RuntimeException(
            "A thread has attempted to manipulate a user interface element. This can only be done "
            "from the application's main thread.") {}
  const char* ClassName() const noexcept override { return "ThreadAccessingUIException"; }
};

class ObjCException : public RuntimeException {
 public:
  explicit ObjCException(const std::string& message) : RuntimeException(message) {}
  const char* ClassName() const noexcept override { return "ObjCException"; }
};

// A property record that does not decode against its target's class.
class PropertyRecordException : public RuntimeException {
 public:
  explicit PropertyRecordException(const std::string& message) : RuntimeException(message) {}
  const char* ClassName() const noexcept override { return "PropertyRecordException"; }
};

}  // namespace toolkit
