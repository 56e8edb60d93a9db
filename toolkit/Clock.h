#pragma once
// The toolkit's clocks. Both read the installed clock seam (ClockSource).
#include <cstdint>

namespace toolkit {

// Microseconds since program start, as a Double.
double Microseconds();
// 60 ticks a second since program start.
int32_t Ticks();
// The Millisecond time stamp: Microseconds / 1000, truncated and wrapped to 32 bits
// (two's complement) once more than 2^31 ms have passed. Never signed overflow.
int32_t MillisecondStamp();
// now - then on 32-bit stamps, wrapping as the hardware would.
int32_t StampDifference(int32_t now, int32_t then);
// How long before now a stamp was taken, in ms. A stamp is never taken after the clock, so a
// difference that comes out negative has passed 2^31 ms: the stamp is then older than any limit
// (INT64_MAX), however the 32 bits wrapped.
int64_t StampAge(int32_t now, int32_t then);

}  // namespace toolkit

namespace toolkit {

// One pass of a busy clock wait on the main thread: lets the installed clock move (a test
// clock steps 1 ms) and yields to the other threads.
void WaitPass();

}  // namespace toolkit
