#pragma once
// The members of WindowMain that scenarios may set and check, by name.
#include <map>
#include <string>
#include <variant>

#include "monitor/WindowMain.h"

namespace scenario {

using MemberPointer = std::variant<int32_t WindowMain::*, double WindowMain::*, bool WindowMain::*,
                                   std::string WindowMain::*, ByteBuffer WindowMain::*>;

// Every plain stored member; nil for a name that is not one.
const MemberPointer* FindMember(const std::string& name);
// The member of that name; Failure for a name that is not one.
const MemberPointer& RequireMember(const std::string& name);

}  // namespace scenario
