// The operating-system stand-in and the toolkit's calls over it: the exception guard,
// reference counting, class lookup, system strings and the version query.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/ObjectRuntime.h"
#include "platform/StringObjects.h"
#include "tests/support/StandInControl.h"
#include "toolkit/Exceptions.h"
#include "toolkit/ObjCExceptions.h"
#include "toolkit/System.h"
#include "toolkit/SystemStrings.h"

namespace {

using platform::Id;
namespace control = platform::control;

class ObjectRuntimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    control::Reset();
    baseline_ = control::LiveObjectCount();
  }

  // The reason of the runtime exception that the send raises, through a guard of its own.
  static std::string ReasonRaisedBy(Id receiver, const char* selector) {
    platform::ExceptionData guard;
    platform::objc_exception_try_enter(guard);
    try {
      platform::objc_msgSend(receiver, platform::sel_registerName(selector));
    } catch (const platform::ExceptionReported&) {
      return platform::ExceptionReason(platform::objc_exception_extract(guard));
    }
    platform::objc_exception_try_exit(guard);
    ADD_FAILURE() << selector << " raised nothing";
    return {};
  }

  int32_t baseline_ = 0;
};

TEST_F(ObjectRuntimeTest, RaiseReachesTheInnermostGuardStillRegistered) {
  control::RaiseOnSend("processorCount", "busy", 1);
  Id info = control::SharedProcessInfo();
  {
    platform::ExceptionData outer;
    platform::objc_exception_try_enter(outer);
    {
      platform::ExceptionData abandoned;  // left without its exit, as by a passing C++ exception
      platform::objc_exception_try_enter(abandoned);
    }
    platform::objc_msgSend(info, platform::sel_registerName("processorCount"));  // let pass
    EXPECT_EQ(ReasonRaisedBy(info, "processorCount"), "busy");
    EXPECT_EQ(platform::objc_exception_extract(outer), nullptr);
    platform::objc_exception_try_exit(outer);
  }
  EXPECT_EQ(control::LiveObjectCount(), baseline_) << "the exception object outlived its guard";
}

TEST_F(ObjectRuntimeTest, RetainAndReleaseCountUntilTheObjectIsDeallocated) {
  Id text = platform::NewStringObject("counted");
  platform::SEL retain = platform::sel_registerName("retain");
  platform::SEL release = platform::sel_registerName("release");
  EXPECT_EQ(platform::objc_msgSend(text, retain).object, text);
  EXPECT_EQ(control::RetainCount(text), 2);
  platform::objc_msgSend(text, release);
  platform::objc_msgSend(text, release);
  EXPECT_EQ(control::RetainCount(text), 0);
  EXPECT_EQ(control::LiveObjectCount(), baseline_);
  EXPECT_NE(ReasonRaisedBy(text, "release").find("deallocated"), std::string::npos);
}

TEST_F(ObjectRuntimeTest, UnknownSelectorRaisesAndNilAnswersNothing) {
  EXPECT_NE(ReasonRaisedBy(control::SharedProcessInfo(), "fly").find("fly"), std::string::npos);
  platform::Answer answer = platform::objc_msgSend(nullptr, platform::sel_registerName("fly"));
  EXPECT_EQ(answer.object, nullptr);
  EXPECT_EQ(answer.integer, 0);
  EXPECT_EQ(control::SentMessages().back(),
            (control::SentMessage{nullptr, "fly", nullptr, std::nullopt, std::nullopt}));
}

TEST_F(ObjectRuntimeTest, LogRecordsObjectArgumentsAndStringArgumentsAsText) {
  Id info = control::SharedProcessInfo();
  Id reason = platform::NewStringObject("why");
  Id activity =
      platform::objc_msgSend(info, platform::sel_registerName("beginActivityWithOptions:reason:"), 7u, reason)
          .object;
  platform::ReleaseObject(reason);
  platform::objc_msgSend(info, platform::sel_registerName("endActivity:"), activity);
  const std::vector<control::SentMessage> expected{
      {info, "beginActivityWithOptions:reason:", nullptr, 7u, "why"},
      {info, "endActivity:", activity, std::nullopt, std::nullopt},
  };
  EXPECT_EQ(control::SentMessages(), expected);
  EXPECT_TRUE(control::ActiveActivities().empty());
  EXPECT_EQ(control::LiveObjectCount(), baseline_);
}

TEST_F(ObjectRuntimeTest, ClassesAreFoundByName) {
  const struct {
    const char* name;
    Id expected;
  } cases[] = {{"NSProcessInfo", control::ProcessInfoClass()}, {"NSProcessinfo", nullptr}, {"", nullptr}};
  for (const auto& c : cases) {
    Id name = toolkit::StringToCFString(c.name);
    EXPECT_EQ(platform::NSClassFromString(name), c.expected) << c.name;
    toolkit::UnlockCFString(name);
  }
  EXPECT_EQ(platform::NSClassFromString(nullptr), nullptr);
}

TEST_F(ObjectRuntimeTest, RaiseObjCExceptionCarriesTheReason) {
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

TEST_F(ObjectRuntimeTest, SystemStringsKeepTheirTextAndCountLocks) {
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

TEST_F(ObjectRuntimeTest, GestaltAnswersOnlyTheSystemVersion) {
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
