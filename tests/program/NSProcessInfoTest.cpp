// The process-activity wrapper over the stand-in, and the main window's hidden "Disable App Nap"
// check box that begins and ends an activity through it, read through the stand-in's message log.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "app/NSProcessInfo.h"
#include "app/NSProcessInfoToken.h"
#include "monitor/WindowMain.h"
#include "platform/ObjectRuntime.h"
#include "tests/support/CaughtErrorReports.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/platform/StandInControl.h"
#include "tests/support/platform/StandInTest.h"
#include "tests/support/program/StartedProgram.h"
#include "toolkit/Exceptions.h"

namespace {

using platform::Id;
using platform::control::SentMessage;
namespace control = platform::control;

constexpr uint64_t kOptions = 0x0000000000FFFFFF;
constexpr const char* kReason = "Allowing my app to process in the background!";

// What the system reports for a decimal version: 1090 is reported as 0x1090.
int32_t Reported(int32_t version) { return std::stoi(std::to_string(version), nullptr, 16); }

class NSProcessInfoTest : public control::StandInTest {
 protected:
  void SetUp() override {
    StandInTest::SetUp();
    info_ = control::SharedProcessInfo();
    class_ = control::ProcessInfoClass();
  }

  // The messages sent since the last call.
  std::vector<SentMessage> TakeSent() {
    std::vector<SentMessage> sent = control::SentMessages();
    control::ClearSentMessages();
    sent_.insert(sent_.end(), sent.begin(), sent.end());
    return sent;
  }

  // Every "retain" sent has had its "release", and nothing made along the way is left.
  void ExpectAllReferencesGivenBack() {
    TakeSent();
    const auto count = [this](const char* selector) {
      return std::count_if(sent_.begin(), sent_.end(),
                           [&](const SentMessage& m) { return m.selector == selector; });
    };
    EXPECT_EQ(count("retain"), count("release"));
    EXPECT_EQ(control::RetainCount(info_), 1);
    EXPECT_EQ(control::LiveObjectCount(), baseline_);
    EXPECT_TRUE(control::ActiveActivities().empty());
  }

  SentMessage Begin() const {
    return {info_, "beginActivityWithOptions:reason:", nullptr, kOptions, kReason};
  }
  SentMessage To(Id receiver, const char* selector, Id argument = nullptr) const {
    return {receiver, selector, argument, std::nullopt, std::nullopt};
  }
  // The end of an activity: endActivity:, then the token gives back both its references.
  std::vector<SentMessage> Ended(Id activity) const {
    return {To(info_, "endActivity:", activity), To(info_, "release"), To(activity, "release")};
  }

  Id info_ = nullptr;
  Id class_ = nullptr;
  testing_support::CaughtErrorReports caught_;
  std::vector<std::string>& reports_ = caught_.lines;
  std::vector<SentMessage> sent_;
};

TEST_F(NSProcessInfoTest, OSVersionReadsTheReportedHexadecimalTextAsDecimal) {
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  const struct {
    std::optional<int32_t> reported;  // none: the query writes nothing
    int32_t expected;
  } cases[] = {
      {0x1090, 1090},
      {0x1089, 1089},
      {0, 0},
      {std::nullopt, 0},
      // A letter ends the decimal reading, or starts an exponent that saturates.
      {0x10A0, 10},
      {0x1E10, kMax},
      {0x9E9999, kMax},
      {-1, 0},
  };
  for (const auto& c : cases) {
    control::SetReportedVersion(c.reported);
    EXPECT_EQ(NSProcessInfo::OSVersion(), c.expected) << std::hex << c.reported.value_or(0);
  }
  EXPECT_TRUE(TakeSent().empty());
}

TEST_F(NSProcessInfoTest, EachGatedOperationSendsFromExactlyItsGate) {
  const struct {
    const char* operation;
    int32_t gate;
    std::function<std::string(NSProcessInfo&)> call;
    std::string fallback;
    std::string atGate;
    SentMessage sent;
  } cases[] = {
      {"operatingSystemVersionString", 1020,
       [](NSProcessInfo& p) { return p.operatingSystemVersionString(); }, "", "Stand-in system",
       To(info_, "operatingSystemVersionString")},
      {"processorCount", 1050,
       [](NSProcessInfo& p) {
         const int32_t count = p.processorCount();
         return std::string(count == 0 ? "0" : count > 0 ? "some" : "negative");
       },
       "0", "some", To(info_, "processorCount")},
      {"enableSuddenTermination", 1060, [](NSProcessInfo& p) { return p.enableSuddenTermination(), ""; }, "",
       "", To(info_, "enableSuddenTermination")},
      {"disableSuddenTermination", 1060, [](NSProcessInfo& p) { return p.disableSuddenTermination(), ""; },
       "", "", To(info_, "disableSuddenTermination")},
      {"disableAutomaticTermination",
       1070,
       [](NSProcessInfo& p) { return p.disableAutomaticTermination("saving"), ""; },
       "",
       "",
       {info_, "disableAutomaticTermination:", nullptr, std::nullopt, "saving"}},
      {"enableAutomaticTermination",
       1070,
       [](NSProcessInfo& p) { return p.enableAutomaticTermination("saved"), ""; },
       "",
       "",
       {info_, "enableAutomaticTermination:", nullptr, std::nullopt, "saved"}},
      {"automaticTerminationSupportEnabled", 1070,
       [](NSProcessInfo& p) {
         return std::string(p.automaticTerminationSupportEnabled() ? "true" : "false");
       },
       "false", "true", To(info_, "automaticTerminationSupportEnabled")},
  };
  toolkit::Ref<NSProcessInfo> wrapper = NSProcessInfo::processInfo();
  TakeSent();
  for (const auto& c : cases) {
    control::SetReportedVersion(Reported(c.gate - 1));
    EXPECT_EQ(c.call(*wrapper), c.fallback) << c.operation;
    EXPECT_TRUE(TakeSent().empty()) << c.operation;

    control::SetReportedVersion(Reported(c.gate));
    EXPECT_EQ(c.call(*wrapper), c.atGate) << c.operation;
    EXPECT_EQ(TakeSent(), std::vector<SentMessage>{c.sent}) << c.operation;
    EXPECT_EQ(control::LiveObjectCount(), baseline_) << c.operation << " kept a system string";
  }
}

TEST_F(NSProcessInfoTest, TextAnswersAreRetainedOnlyForTheirConversion) {
  control::SetReportedVersion(std::nullopt);  // processName has no gate
  Id name = platform::objc_msgSend(info_, platform::sel_registerName("processName")).object;
  toolkit::Ref<NSProcessInfo> wrapper = NSProcessInfo::processInfo();
  TakeSent();
  EXPECT_EQ(wrapper->processName(), "hydromon");
  EXPECT_EQ(TakeSent(), std::vector<SentMessage>{To(info_, "processName")});
  EXPECT_EQ(control::RetainCount(name), 1);
}

TEST_F(NSProcessInfoTest, EachProcessInfoCallMakesItsOwnWrapperHoldingOneReference) {
  toolkit::Ref<NSProcessInfo> first = NSProcessInfo::processInfo();
  toolkit::Ref<NSProcessInfo> second = NSProcessInfo::processInfo();
  EXPECT_NE(first.Get(), second.Get());
  EXPECT_EQ(first->NSProcessRef, info_);
  EXPECT_EQ(second->NSProcessRef, info_);
  EXPECT_EQ(control::RetainCount(info_), 3);
  const std::vector<SentMessage> made{To(class_, "processInfo"), To(info_, "retain"),
                                      To(class_, "processInfo"), To(info_, "retain")};
  EXPECT_EQ(TakeSent(), made);
  first = nullptr;
  second = nullptr;
  EXPECT_EQ(TakeSent(), (std::vector<SentMessage>{To(info_, "release"), To(info_, "release")}));
  ExpectAllReferencesGivenBack();
}

TEST_F(NSProcessInfoTest, WrapperOfAnEmptyPointerSendsNothing) {
  toolkit::Ref<NSProcessInfo> wrapper = toolkit::New<NSProcessInfo>();
  wrapper->constructor(nullptr);
  wrapper = nullptr;
  EXPECT_TRUE(TakeSent().empty());
}

TEST_F(NSProcessInfoTest, ARaisingRetainInConstructorLeavesNothingToRelease) {
  control::RaiseOnSend("retain", "no retain");
  EXPECT_THROW(NSProcessInfo::processInfo(), toolkit::ObjCException);
  EXPECT_EQ(TakeSent(), (std::vector<SentMessage>{To(class_, "processInfo"), To(info_, "retain")}));
  EXPECT_EQ(control::RetainCount(info_), 1);
  EXPECT_EQ(control::LiveObjectCount(), baseline_);
}

// The main window's hidden check box, ticked or unticked, then its handler called: an exception
// leaves the handler here (the control's event would hand it to the report of unhandled errors).
class DisableAppNap : public NSProcessInfoTest {
 protected:
  void Tick(bool ticked) {
    box_->SetValue(ticked);
    window_->CheckBox1_Action(*box_);
  }
  const toolkit::Ref<NSProcessInfoToken>& Token() const { return window_->token; }

  testing_support::TestEnvironment environment_;
  program_fixtures::StartedProgram program_;
  toolkit::Ref<WindowMain> window_ = single::WindowMain();
  toolkit::Ref<toolkit::CheckBox> box_ = window_->CheckBox1();
};

TEST_F(DisableAppNap, TickingBelowTheGateStoresNilAndNeverReachesTheService) {
  for (std::optional<int32_t> reported : {std::optional<int32_t>(0x1089), std::optional<int32_t>()}) {
    control::SetReportedVersion(reported);
    Tick(true);
    EXPECT_TRUE(Token().IsNil());
    EXPECT_EQ(TakeSent(), (std::vector<SentMessage>{To(class_, "processInfo"), To(info_, "retain"),
                                                    To(info_, "release")}));
    Tick(false);
    EXPECT_TRUE(TakeSent().empty());
  }
  ExpectAllReferencesGivenBack();
}

// Clicked as the user clicks it, so through the control's event.
TEST_F(DisableAppNap, TickingAtTheGateBeginsTheActivityAndUntickingEndsIt) {
  control::SetReportedVersion(Reported(NSProcessInfo::kActivityVersion));
  box_->Click();
  ASSERT_TRUE(box_->Value());
  ASSERT_FALSE(Token().IsNil());
  ASSERT_EQ(control::ActiveActivities().size(), 1u);
  Id activity = control::ActiveActivities()[0];
  EXPECT_EQ(Token()->ref, activity);
  EXPECT_EQ(Token()->NSProcessRef, info_);
  const std::vector<SentMessage> begun{
      To(class_, "processInfo"), To(info_, "retain"),    Begin(),
      To(info_, "retain"),       To(activity, "retain"), To(info_, "release")};
  EXPECT_EQ(TakeSent(), begun);

  box_->Click();
  EXPECT_TRUE(Token().IsNil());
  EXPECT_EQ(TakeSent(), Ended(activity));
  ExpectAllReferencesGivenBack();
}

TEST_F(DisableAppNap, TickingTwiceBeginsTheNewActivityBeforeTheOldOneEnds) {
  Tick(true);
  Id first = Token()->ref;
  TakeSent();
  Tick(true);
  Id second = Token()->ref;
  const std::vector<SentMessage> replaced{
      To(class_, "processInfo"), To(info_, "retain"),  Begin(),
      To(info_, "retain"),       To(second, "retain"), To(info_, "endActivity:", first),
      To(info_, "release"),      To(first, "release"), To(info_, "release")};
  EXPECT_EQ(TakeSent(), replaced);
  EXPECT_EQ(control::ActiveActivities(), std::vector<Id>{second});
  Tick(false);
  ExpectAllReferencesGivenBack();
}

TEST_F(DisableAppNap, ARaisingBeginLeavesTheHeldTokenAndLeaksNothing) {
  Tick(true);
  NSProcessInfoToken* held = Token().Get();
  const int32_t liveWithToken = control::LiveObjectCount();
  TakeSent();

  control::RaiseOnSend("beginActivityWithOptions:reason:", "activity refused");
  try {
    Tick(true);
    ADD_FAILURE() << "the raise did not leave the handler";
  } catch (const toolkit::ObjCException& e) {
    EXPECT_EQ(std::string(e.what()), "activity refused");
  }
  EXPECT_EQ(Token().Get(), held);
  EXPECT_EQ(TakeSent(), (std::vector<SentMessage>{To(class_, "processInfo"), To(info_, "retain"), Begin(),
                                                  To(info_, "release")}));
  EXPECT_EQ(control::RetainCount(info_), 2);
  EXPECT_EQ(control::LiveObjectCount(), liveWithToken);
  Tick(false);
  ExpectAllReferencesGivenBack();
}

TEST_F(DisableAppNap, ARaisingRetainInBeginReleasesOnlyWhatTheTokenHolds) {
  const struct {
    int32_t retainsToLetPass;  // the constructor's retain, then the token's two
    std::vector<const char*> afterRaise;
  } cases[] = {
      {1, {"release"}},             // retaining NSProcessRef raised: the token holds nothing
      {2, {"release", "release"}},  // retaining the activity raised: the token holds NSProcessRef
  };
  for (const auto& c : cases) {
    control::RaiseOnSend("retain", "retain refused", c.retainsToLetPass);
    EXPECT_THROW(Tick(true), toolkit::ObjCException);
    EXPECT_TRUE(Token().IsNil());
    std::vector<SentMessage> sent = TakeSent();
    ASSERT_GE(sent.size(), c.afterRaise.size());
    const std::vector<SentMessage> tail(sent.end() - c.afterRaise.size(), sent.end());
    std::vector<SentMessage> expectedTail;
    for (const char* selector : c.afterRaise) expectedTail.push_back(To(info_, selector));
    EXPECT_EQ(tail, expectedTail) << c.retainsToLetPass;
    EXPECT_EQ(control::RetainCount(info_), 1) << c.retainsToLetPass;
    // The begun activity is left running: nothing holds it to end it.
    ASSERT_EQ(control::ActiveActivities().size(), 1u);
    platform::objc_msgSend(info_, platform::sel_registerName("endActivity:"), control::ActiveActivities()[0]);
    TakeSent();
    EXPECT_EQ(control::LiveObjectCount(), baseline_);
  }
}

TEST_F(NSProcessInfoTest, TokenSendsEndActivityOnlyWithAnActivityAndFromTheGate) {
  const struct {
    bool withActivity;
    int32_t versionAtEnd;
    std::vector<const char*> sent;  // by the token's Destructor
  } cases[] = {
      {true, 1090, {"endActivity:", "release", "release"}},
      {true, 1089, {"release", "release"}},
      {false, 1090, {"release"}},
  };
  for (const auto& c : cases) {
    control::SetReportedVersion(Reported(1090));
    toolkit::Ref<NSProcessInfoToken> token =
        NSProcessInfo::processInfo()->beginActivityWithOptions(kOptions, kReason);
    Id activity = token->ref;
    if (!c.withActivity) {
      platform::objc_msgSend(info_, platform::sel_registerName("endActivity:"), activity);
      platform::objc_msgSend(activity, platform::sel_registerName("release"));
      token->ref = nullptr;
    }
    TakeSent();
    control::SetReportedVersion(Reported(c.versionAtEnd));
    token = nullptr;
    std::vector<std::string> selectors;
    for (const SentMessage& m : TakeSent()) selectors.push_back(m.selector);
    EXPECT_EQ(selectors, std::vector<std::string>(c.sent.begin(), c.sent.end()))
        << c.withActivity << ' ' << c.versionAtEnd;
    EXPECT_EQ(control::RetainCount(info_), 1);
    EXPECT_EQ(control::RetainCount(activity), c.withActivity && c.versionAtEnd < 1090 ? 1 : 0);
    for (Id running : control::ActiveActivities()) {
      platform::objc_msgSend(info_, platform::sel_registerName("endActivity:"), running);
    }
  }
  TakeSent();
  EXPECT_EQ(control::LiveObjectCount(), baseline_);
}

TEST_F(DisableAppNap, DestroyingTheWindowWhileATokenIsHeldEndsTheActivity) {
  Tick(true);
  ASSERT_EQ(control::ActiveActivities().size(), 1u);
  Id activity = Token()->ref;
  TakeSent();
  box_ = nullptr;
  window_ = nullptr;
  toolkit::Window::ReleaseOpenInstances();
  EXPECT_EQ(TakeSent(), Ended(activity));
  ExpectAllReferencesGivenBack();
}

TEST_F(DisableAppNap, ARaisingEndActivityIsReportedAndBothReferencesAreStillGivenBack) {
  Tick(true);
  Id activity = Token()->ref;
  TakeSent();
  control::RaiseOnSend("endActivity:", "end refused");
  Tick(false);
  ASSERT_EQ(reports_.size(), 1u);
  EXPECT_NE(reports_[0].find("end refused"), std::string::npos) << reports_[0];
  EXPECT_EQ(TakeSent(), Ended(activity));
  EXPECT_EQ(control::RetainCount(info_), 1);
  EXPECT_EQ(control::RetainCount(activity), 1) << "only the service's own reference is left";
}

}  // namespace
