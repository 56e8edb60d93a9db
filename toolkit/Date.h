#pragma once
// A local date and time, taken from the wall clock when the object is made.
#include <cstdint>
#include <string>

#include "toolkit/Seams.h"

namespace toolkit {

class Date {
 public:
  Date() : when_(WallClock().Now()) {}
  int32_t Year() const { return when_.year; }
  int32_t Month() const { return when_.month; }
  int32_t Day() const { return when_.day; }
  // The system's long time of day, with seconds.
  std::string LongTime() const { return WallClock().LongTime(when_); }

 private:
  LocalDateTime when_;
};

}  // namespace toolkit
