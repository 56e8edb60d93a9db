#pragma once
// Test control of the operating-system stand-in: what the system reports, a send made to
// raise, the log of sent messages and the reference counts. The program never uses it.
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/ObjectRuntime.h"
#include "platform/StandInState.h"

namespace platform {

std::ostream& operator<<(std::ostream& out, const SentMessage& message);

namespace control {

using platform::SentMessage;

// A fresh system: every object made so far is gone, the log is empty, nothing is set to
// raise and the version is the default 0x1090.
void Reset();

// What the "sysv" query answers; none makes it answer nothing and write nothing.
void SetReportedVersion(std::optional<int32_t> version);

// The next send of the selector, after sendsToLetPass more of them, raises a runtime
// exception with that reason. Only one send raises.
void RaiseOnSend(const std::string& selector, const std::string& reason, int32_t sendsToLetPass = 0);

const std::vector<SentMessage>& SentMessages();
void ClearSentMessages();

// The class named "NSProcessInfo" and the process-information object its "processInfo" answers.
Id ProcessInfoClass();
Id SharedProcessInfo();
// Activities begun and not yet ended, oldest first.
std::vector<Id> ActiveActivities();

// 0 once the object has been deallocated.
int32_t RetainCount(Id object);
// Objects not yet deallocated, classes aside.
int32_t LiveObjectCount();

}  // namespace control

}  // namespace platform
