// The operating-system stand-in: the exception guard, reference counting, the message log and
// class lookup.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/ObjectRuntime.h"
#include "platform/StringObjects.h"
#include "tests/support/platform/StandInControl.h"
#include "tests/support/platform/StandInTest.h"

namespace {

using platform::Id;
namespace control = platform::control;

class ObjectRuntimeTest : public control::StandInTest {
 protected:
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
    Id name = platform::NewStringObject(c.name);
    EXPECT_EQ(platform::NSClassFromString(name), c.expected) << c.name;
    platform::ReleaseObject(name);
  }
  EXPECT_EQ(platform::NSClassFromString(nullptr), nullptr);
}

}  // namespace
