#pragma once
// The toolkit's system object: queries about the operating system.
#include <cstdint>
#include <string_view>

namespace toolkit::System {

// Asks the system's information query for a four-character selector ("sysv": the system
// version). True when the system answered; otherwise value is left as it was.
bool Gestalt(std::string_view selector, int32_t& value);

}  // namespace toolkit::System
