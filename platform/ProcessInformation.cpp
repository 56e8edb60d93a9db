// The stand-in's process-information class "NSProcessInfo": its one shared object answers
// the process's facts and begins and ends background activities.
#include <algorithm>
#include <thread>

#include "platform/StandInState.h"

namespace platform {

namespace {

// An activity begun through the service. The service holds one reference while it runs.
class ActivityObject final : public Object {
 public:
  std::string_view ClassName() const override { return "Activity"; }
  std::optional<Answer> Receive(std::string_view, const Arguments&) override { return std::nullopt; }
};

class ProcessInfoObject final : public Object {
 public:
  explicit ProcessInfoObject(StandInState& state)
      : versionText_(MakeStringObject(state, "Stand-in system")),
        processName_(MakeStringObject(state, "hydromon")) {}
  std::string_view ClassName() const override { return "NSProcessInfo"; }

  std::optional<Answer> Receive(std::string_view selector, const Arguments& arguments) override {
    // Text answers stay this object's; the caller retains what it keeps.
    if (selector == "operatingSystemVersionString") return Answer{versionText_};
    if (selector == "processName") return Answer{processName_};
    if (selector == "processorCount") return Answer{nullptr, ProcessorCount()};
    if (selector == "automaticTerminationSupportEnabled") return Answer{nullptr, 1};
    if (selector == "disableAutomaticTermination:" || selector == "enableAutomaticTermination:" ||
        selector == "enableSuddenTermination" || selector == "disableSuddenTermination") {
      return Answer{};
    }
    if (selector == "beginActivityWithOptions:reason:") return Answer{Begin()};
    if (selector == "endActivity:") {
      End(arguments.object);
      return Answer{};
    }
    return std::nullopt;
  }

 private:
  static int64_t ProcessorCount() { return std::max(1u, std::thread::hardware_concurrency()); }

  Id Begin() {
    StandInState& state = State();
    Id activity = Make<ActivityObject>(state);
    state.activities.push_back(activity);
    return activity;
  }

  // Ending anything but a running activity changes nothing.
  void End(Id activity) {
    std::vector<Id>& activities = State().activities;
    auto running = std::find(activities.begin(), activities.end(), activity);
    if (running == activities.end()) return;
    activities.erase(running);
    ReleaseObject(activity);
  }

  Id versionText_;
  Id processName_;
};

class ProcessInfoClassObject final : public Object {
 public:
  explicit ProcessInfoClassObject(Id shared) : shared_(shared) {}
  std::string_view ClassName() const override { return "NSProcessInfo"; }
  bool IsClass() const override { return true; }
  std::optional<Answer> Receive(std::string_view selector, const Arguments&) override {
    if (selector == "processInfo") return Answer{shared_};
    return std::nullopt;
  }

 private:
  Id shared_;
};

}  // namespace

void InstallProcessInformation(StandInState& state) {
  state.sharedProcessInfo = Make<ProcessInfoObject>(state, state);
  state.processInfoClass = Make<ProcessInfoClassObject>(state, state.sharedProcessInfo);
  state.classes.emplace("NSProcessInfo", state.processInfoClass);
}

}  // namespace platform
