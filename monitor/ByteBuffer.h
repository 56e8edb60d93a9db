#pragma once
// A byte buffer: 41 signed 32-bit elements (indexes 0 to 40), one byte value 0..255 each.
// Reached through at(), so a stray index raises instead of corrupting memory.
#include <array>
#include <cstdint>

using ByteBuffer = std::array<int32_t, 41>;
