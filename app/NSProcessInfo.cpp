#include "app/NSProcessInfo.h"

#include <cmath>
#include <limits>
#include <optional>
#include <utility>

#include "app/NSProcessInfoToken.h"
#include "toolkit/ObjCExceptions.h"
#include "toolkit/System.h"
#include "toolkit/SystemStrings.h"
#include "toolkit/Text.h"
#include "toolkit/UnhandledErrors.h"

namespace {

// One reference to a system string, given up when the holder goes, also as an exception
// leaves.
class HeldSystemString {
 public:
  HeldSystemString() = default;
  HeldSystemString(const HeldSystemString&) = delete;
  HeldSystemString& operator=(const HeldSystemString&) = delete;
  ~HeldSystemString() { toolkit::UnlockCFString(string_); }

  void Adopt(toolkit::SystemString string) { string_ = string; }
  toolkit::SystemString Get() const { return string_; }

 private:
  toolkit::SystemString string_ = nullptr;
};

// The guard around one send: a runtime exception reported to it is raised as ObjCException.
template <class Send>
platform::Answer Guarded(Send&& send) {
  platform::ExceptionData guard;
  platform::objc_exception_try_enter(guard);
  try {
    platform::Answer answer = std::forward<Send>(send)();
    platform::objc_exception_try_exit(guard);
    return answer;
  } catch (const platform::ExceptionReported&) {
    toolkit::RaiseObjCException(platform::objc_exception_extract(guard));
  }
}

// The text goes as a system string, after the options when the message takes them; the
// string is released once the guard is over.
platform::Answer GuardedSendWithText(platform::Id receiver, const char* selector, const std::string& text,
                                     std::optional<uint64_t> options = std::nullopt) {
  HeldSystemString argument;
  return Guarded([&] {
    platform::SEL registered = platform::sel_registerName(selector);
    argument.Adopt(toolkit::StringToCFString(text));
    return options ? platform::objc_msgSend(receiver, registered, *options, argument.Get())
                   : platform::objc_msgSend(receiver, registered, argument.Get());
  });
}

// A text answer is retained inside the guard and converted after it.
std::string GuardedSendForText(platform::Id receiver, const char* selector) {
  HeldSystemString answer;
  Guarded([&] {
    platform::SEL registered = platform::sel_registerName(selector);
    platform::Answer sent = platform::objc_msgSend(receiver, registered);
    toolkit::LockCFString(sent.object);
    answer.Adopt(sent.object);
    return sent;
  });
  return toolkit::StringFromCFString(answer.Get());
}

// Hexadecimal text holding a letter reads as its leading digits, or as an exponent form
// ("1E10"); a reading beyond 32 bits saturates instead of overflowing.
int32_t ToInt32(double value) {
  if (std::isnan(value)) return 0;
  if (value >= static_cast<double>(std::numeric_limits<int32_t>::max()))
    return std::numeric_limits<int32_t>::max();
  if (value <= static_cast<double>(std::numeric_limits<int32_t>::min()))
    return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

}  // namespace

platform::Answer GuardedSend(platform::Id receiver, const char* selector) {
  return Guarded([&] { return platform::objc_msgSend(receiver, platform::sel_registerName(selector)); });
}

platform::Answer GuardedSend(platform::Id receiver, const char* selector, platform::Id argument) {
  return Guarded(
      [&] { return platform::objc_msgSend(receiver, platform::sel_registerName(selector), argument); });
}

void RunReportingFailure(const std::function<void()>& step) {
  try {
    step();
  } catch (...) {
    toolkit::ReportUnhandledException(std::current_exception());
  }
}

NSProcessInfo::~NSProcessInfo() { destructor(); }

void NSProcessInfo::constructor(platform::Id processInfo) {
  // Stored once the reference is held, so a raising "retain" leaves nothing to release.
  if (processInfo) GuardedSend(processInfo, "retain");
  NSProcessRef = processInfo;
}

void NSProcessInfo::destructor() {
  if (NSProcessRef) RunReportingFailure([this] { GuardedSend(NSProcessRef, "release"); });
}

std::string NSProcessInfo::operatingSystemVersionString() {
  if (OSVersion() < kVersionStringVersion) return "";
  return GuardedSendForText(NSProcessRef, "operatingSystemVersionString");
}

std::string NSProcessInfo::processName() { return GuardedSendForText(NSProcessRef, "processName"); }

void NSProcessInfo::disableAutomaticTermination(const std::string& reason) {
  if (OSVersion() < kAutomaticTerminationVersion) return;
  GuardedSendWithText(NSProcessRef, "disableAutomaticTermination:", reason);
}

void NSProcessInfo::enableAutomaticTermination(const std::string& reason) {
  if (OSVersion() < kAutomaticTerminationVersion) return;
  GuardedSendWithText(NSProcessRef, "enableAutomaticTermination:", reason);
}

void NSProcessInfo::enableSuddenTermination() {
  if (OSVersion() < kSuddenTerminationVersion) return;
  GuardedSend(NSProcessRef, "enableSuddenTermination");
}

void NSProcessInfo::disableSuddenTermination() {
  if (OSVersion() < kSuddenTerminationVersion) return;
  GuardedSend(NSProcessRef, "disableSuddenTermination");
}

bool NSProcessInfo::automaticTerminationSupportEnabled() {
  if (OSVersion() < kAutomaticTerminationVersion) return false;
  return (GuardedSend(NSProcessRef, "automaticTerminationSupportEnabled").integer & 1) != 0;
}

int32_t NSProcessInfo::processorCount() {
  if (OSVersion() < kProcessorCountVersion) return 0;
  return static_cast<int32_t>(GuardedSend(NSProcessRef, "processorCount").integer);
}

toolkit::Ref<NSProcessInfoToken> NSProcessInfo::beginActivityWithOptions(uint64_t options,
                                                                         const std::string& reason) {
  if (OSVersion() < kActivityVersion) return nullptr;
  auto token = toolkit::New<NSProcessInfoToken>();
  platform::Id activity =
      GuardedSendWithText(NSProcessRef, "beginActivityWithOptions:reason:", reason, options).object;
  // Each member is filled once the token holds its reference, so a raising "retain" leaves
  // the token nothing to release that it doesn't hold.
  GuardedSend(NSProcessRef, "retain");
  token->NSProcessRef = NSProcessRef;
  GuardedSend(activity, "retain");
  token->ref = activity;
  return token;
}

toolkit::Ref<NSProcessInfo> NSProcessInfo::processInfo() {
  auto wrapper = toolkit::New<NSProcessInfo>();
  HeldSystemString className;
  const platform::Answer running = Guarded([&] {
    platform::SEL registered = platform::sel_registerName("processInfo");
    className.Adopt(toolkit::StringToCFString("NSProcessInfo"));
    return platform::objc_msgSend(platform::NSClassFromString(className.Get()), registered);
  });
  wrapper->constructor(running.object);
  return wrapper;
}

int32_t NSProcessInfo::OSVersion() {
  int32_t version = 0;
  // Whether the query answered is not read: a query that wrote nothing leaves 0.
  toolkit::System::Gestalt("sysv", version);
  return ToInt32(toolkit::CDbl(toolkit::Hex(version)));
}
