#pragma once
// The HPU's parameter words, one list row each, in EEPROM order: row i is the word at
// EEPROM bytes 2i (high) and 2i + 1 (low).
#include <array>
#include <cstdint>
#include <string_view>

namespace hpu {

struct Parameter {
  std::string_view name;
  std::string_view unit;  // tells the user the word's scale
  int32_t defaultValue;
};

inline constexpr size_t kParameterCount = 24;

const std::array<Parameter, kParameterCount>& Parameters();

}  // namespace hpu
