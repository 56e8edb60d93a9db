#include "tests/support/platform/StandInControl.h"

#include <algorithm>

namespace platform {

std::ostream& operator<<(std::ostream& out, const SentMessage& message) {
  out << '[' << static_cast<const void*>(message.receiver) << ' ' << message.selector;
  if (message.argument) out << " argument " << static_cast<const void*>(message.argument);
  if (message.options) out << " options " << *message.options;
  if (message.text) out << " text \"" << *message.text << '"';
  return out << ']';
}

namespace control {

void Reset() { MakeFresh(State()); }

void SetReportedVersion(std::optional<int32_t> version) { State().reportedVersion = version; }

void RaiseOnSend(const std::string& selector, const std::string& reason, int32_t sendsToLetPass) {
  State().raiseSwitch = RaiseSwitch{selector, reason, sendsToLetPass};
}

const std::vector<SentMessage>& SentMessages() { return State().log; }

void ClearSentMessages() { State().log.clear(); }

Id ProcessInfoClass() { return State().processInfoClass; }

Id SharedProcessInfo() { return State().sharedProcessInfo; }

std::vector<Id> ActiveActivities() { return State().activities; }

int32_t RetainCount(Id object) { return object ? object->retainCount : 0; }

int32_t LiveObjectCount() {
  const auto& objects = State().objects;
  return static_cast<int32_t>(std::count_if(objects.begin(), objects.end(), [](const auto& object) {
    return !object->IsClass() && object->retainCount > 0;
  }));
}

}  // namespace control

}  // namespace platform
