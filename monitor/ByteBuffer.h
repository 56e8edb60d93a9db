#pragma once
// A byte buffer: 41 signed 32-bit elements (indexes 0 to 40), one byte value 0..255 each.
// Reached through at(), so a stray index raises instead of corrupting memory.
#include <array>
#include <cstddef>
#include <cstdint>

using ByteBuffer = std::array<int32_t, 41>;

// A frame's whole size: its four header bytes and the count its length byte gives.
inline int32_t FrameSize(const ByteBuffer& frame) { return frame.at(3) + 4; }

// The 16-bit field at i and i + 1, high byte first; unsigned.
inline int32_t Word(const ByteBuffer& frame, size_t i) { return frame.at(i) * 256 + frame.at(i + 1); }
