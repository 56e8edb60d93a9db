#pragma once
// System strings: text handed to and taken from the operating system as its string objects.
#include <string>
#include <string_view>

#include "platform/ObjectRuntime.h"

namespace toolkit {

using SystemString = platform::Id;

// A new system string holding the text; the caller holds its one reference.
SystemString StringToCFString(std::string_view text);
// The text of a system string; empty for none.
std::string StringFromCFString(SystemString string);
// Take and give up one reference to a system string; none is left alone.
void LockCFString(SystemString string);
void UnlockCFString(SystemString string);

}  // namespace toolkit
