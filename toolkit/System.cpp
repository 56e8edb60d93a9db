#include "toolkit/System.h"

#include "platform/Gestalt.h"

namespace toolkit::System {

bool Gestalt(std::string_view selector, int32_t& value) {
  if (selector.size() != 4) return false;
  uint32_t code = 0;
  for (char c : selector) code = (code << 8) | static_cast<unsigned char>(c);
  return platform::Gestalt(code, &value) == platform::kGestaltAnswered;
}

}  // namespace toolkit::System
