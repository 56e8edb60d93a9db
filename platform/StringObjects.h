#pragma once
// Stand-in for the operating system's string objects: runtime objects holding UTF-8 text.
#include <string>
#include <string_view>

#include "platform/ObjectRuntime.h"

namespace platform {

// A new string object; the caller holds its one reference.
Id NewStringObject(std::string_view text);
// The text a string object holds; empty for nil or an object that holds no text.
std::string StringObjectText(Id string);

}  // namespace platform
