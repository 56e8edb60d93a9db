#pragma once
// One background activity begun through an NSProcessInfo; letting go of the token's last
// reference ends the activity.
#include "platform/ObjectRuntime.h"

class NSProcessInfoToken {
 public:
  // A new token holds nothing.
  NSProcessInfoToken() = default;
  NSProcessInfoToken(const NSProcessInfoToken&) = delete;
  NSProcessInfoToken& operator=(const NSProcessInfoToken&) = delete;
  virtual ~NSProcessInfoToken();

  // Ends the activity, gives up both references and empties both members. It never throws:
  // a raised exception is reported and the rest is still given up.
  virtual void Destructor();

  // The activity object; while it isn't empty the token holds one reference.
  platform::Id ref = nullptr;
  // The process-information object the activity was begun through; held likewise.
  platform::Id NSProcessRef = nullptr;
};
