// The hidden "Disable App Nap" check box: while ticked, the window holds the token of a
// background activity; dropping the token ends it.
#include "app/NSProcessInfo.h"
#include "app/NSProcessInfoToken.h"
#include "monitor/WindowMain.h"

void WindowMain::CheckBox1_Action(toolkit::CheckBox& sender) {
  if (sender.Value()) {
    toolkit::Ref<NSProcessInfo> info = NSProcessInfo::processInfo();
    // The new token is taken before the old one goes, so the new activity begins first.
    token = info->beginActivityWithOptions(NSProcessInfo::kUserInitiatedActivity,
                                           "Allowing my app to process in the background!");
  } else {
    token = nullptr;
  }
}
