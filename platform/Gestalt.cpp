#include "platform/Gestalt.h"

#include "platform/StandInState.h"

namespace platform {

int32_t Gestalt(uint32_t selector, int32_t* response) {
  if (selector != kSystemVersionSelector) return kGestaltUnknownSelector;
  const std::optional<int32_t>& version = State().reportedVersion;
  if (!version || !response) return kGestaltNoAnswer;
  *response = *version;
  return kGestaltAnswered;
}

}  // namespace platform
