#pragma once
// Stand-in for the operating system's information query, which answers a four-character
// selector with a 32-bit value.
#include <cstdint>

namespace platform {

// "sysv": the system version, one hexadecimal digit per decimal digit (0x1090 for 10.9).
inline constexpr uint32_t kSystemVersionSelector = 0x73797376;

inline constexpr int32_t kGestaltAnswered = 0;
inline constexpr int32_t kGestaltUnknownSelector = -1;
inline constexpr int32_t kGestaltNoAnswer = -2;

// Writes the answer to *response and gives kGestaltAnswered, or gives an error and leaves
// *response as it was.
int32_t Gestalt(uint32_t selector, int32_t* response);

}  // namespace platform
