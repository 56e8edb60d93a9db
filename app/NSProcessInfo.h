#pragma once
// The wrapper over the operating system's process-information object, and the guarded send
// through which it and its tokens reach the object runtime.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/ObjectRuntime.h"
#include "toolkit/Ref.h"

class NSProcessInfoToken;

class NSProcessInfo {
 public:
  // The least OSVersion at which the operations send their messages.
  static constexpr int32_t kVersionStringVersion = 1020;
  static constexpr int32_t kProcessorCountVersion = 1050;
  static constexpr int32_t kSuddenTerminationVersion = 1060;
  static constexpr int32_t kAutomaticTerminationVersion = 1070;
  static constexpr int32_t kActivityVersion = 1090;

  // The service's option set for a user-initiated activity.
  static constexpr uint64_t kUserInitiatedActivity = 0x0000000000FFFFFF;

  // A new wrapper holds nothing until its maker calls constructor.
  NSProcessInfo() = default;
  NSProcessInfo(const NSProcessInfo&) = delete;
  NSProcessInfo& operator=(const NSProcessInfo&) = delete;
  virtual ~NSProcessInfo();

  virtual void constructor(platform::Id processInfo);
  // Gives up the held reference. It never throws: a raised exception is reported instead.
  virtual void destructor();
  virtual std::string operatingSystemVersionString();
  virtual std::string processName();
  virtual void disableAutomaticTermination(const std::string& reason);
  virtual void enableAutomaticTermination(const std::string& reason);
  virtual void enableSuddenTermination();
  virtual void disableSuddenTermination();
  virtual bool automaticTerminationSupportEnabled();
  virtual int32_t processorCount();
  // Nil below kActivityVersion; otherwise a token holding the begun activity.
  virtual toolkit::Ref<NSProcessInfoToken> beginActivityWithOptions(uint64_t options,
                                                                    const std::string& reason);

  // A new wrapper of the running process's object.
  static toolkit::Ref<NSProcessInfo> processInfo();
  // The system version as a decimal number (0x1090 gives 1090), 0 when the system tells none.
  static int32_t OSVersion();

  // The process-information object; while it isn't empty the wrapper holds one reference.
  platform::Id NSProcessRef = nullptr;
};

// Sends one message inside a guard of its own; a runtime exception raised there leaves as
// toolkit::ObjCException.
platform::Answer GuardedSend(platform::Id receiver, const char* selector);
platform::Answer GuardedSend(platform::Id receiver, const char* selector, platform::Id argument);

// Runs one step of a destructor, which must not throw: an exception goes to the report of
// unhandled errors and the destructor goes on with what remains.
void RunReportingFailure(const std::function<void()>& step);
