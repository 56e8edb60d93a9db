#include "platform/StandInState.h"

namespace platform {

StandInState& State() {
  // Never destroyed: objects released during static destruction still find their runtime.
  static StandInState& state = *[] {
    auto* fresh = new StandInState;
    MakeFresh(*fresh);
    return fresh;
  }();
  return state;
}

void MakeFresh(StandInState& state) {
  state = StandInState{};
  InstallProcessInformation(state);
}

}  // namespace platform
