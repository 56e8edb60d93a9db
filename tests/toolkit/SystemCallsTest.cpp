// The toolkit's calls over the operating-system stand-in: its runtime exceptions, system
// strings and the version query.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/ObjectRuntime.h"
#include "tests/support/platform/StandInControl.h"
#include "tests/support/platform/StandInTest.h"
#include "toolkit/Exceptions.h"
#include "toolkit/ObjCExceptions.h"
#include "toolkit/System.h"
#include "toolkit/SystemStrings.h"

namespace {

namespace control = platform::control;

using SystemCalls = control::StandInTest;

TEST_F(SystemCalls, RaiseObjCExceptionCarriesTheReason) {
  const struct {
    std::optional<std::string> reason;  // none: no exception object at all
    std::string expected;
  } cases[] = {
      {"service refused", "service refused"},
      {"", "The operating system raised an exception without a reason."},
      {std::nullopt, "The operating system raised an exception without a reason."},
  };
  for (const auto& c : cases) {
    platform::ExceptionData guard;
    if (c.reason) {
      control::RaiseOnSend("processName", *c.reason);
      platform::objc_exception_try_enter(guard);
      EXPECT_THROW(
          platform::objc_msgSend(control::SharedProcessInfo(), platform::sel_registerName("processName")),
          platform::ExceptionReported);
    }
    try {
      toolkit::RaiseObjCException(platform::objc_exception_extract(guard));
    } catch (const toolkit::ObjCException& e) {
      EXPECT_EQ(std::string(e.what()), c.expected);
    }
  }
}

TEST_F(SystemCalls, SystemStringsKeepTheirTextAndCountLocks) {
  for (const char* text : {"", "NSProcessInfo", "r\xC3\xA9ponse valide"}) {
    toolkit::SystemString string = toolkit::StringToCFString(text);
    EXPECT_EQ(toolkit::StringFromCFString(string), text);
    toolkit::LockCFString(string);
    EXPECT_EQ(control::RetainCount(string), 2);
    toolkit::UnlockCFString(string);
    toolkit::UnlockCFString(string);
    EXPECT_EQ(control::RetainCount(string), 0);
  }
  toolkit::LockCFString(nullptr);
  toolkit::UnlockCFString(nullptr);
  EXPECT_EQ(toolkit::StringFromCFString(nullptr), "");
  EXPECT_EQ(control::LiveObjectCount(), baseline_);
}

TEST_F(SystemCalls, GestaltAnswersOnlyTheSystemVersion) {
  constexpr int32_t kUntouched = 0x5A5A;
  const struct {
    const char* selector;
    std::optional<int32_t> reported;
    bool answered;
    int32_t value;
  } cases[] = {
      {"sysv", 0x1090, true, 0x1090},
      {"sysv", 0x1107, true, 0x1107},
      {"sysv", std::nullopt, false, kUntouched},
      {"sysa", 0x1090, false, kUntouched},
      {"sys", 0x1090, false, kUntouched},
      {"sysvv", 0x1090, false, kUntouched},
  };
  for (const auto& c : cases) {
    control::SetReportedVersion(c.reported);
    int32_t value = kUntouched;
    EXPECT_EQ(toolkit::System::Gestalt(c.selector, value), c.answered) << c.selector;
    EXPECT_EQ(value, c.value) << c.selector;
  }
}

}  // namespace
