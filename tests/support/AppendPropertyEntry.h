#pragma once
// Writes a property entry through the builder in its own type, so a decoded record can be
// written back and compared with its bytes. Header-only: the fuzz target links only the toolkit.
#include <cstdint>
#include <string>
#include <variant>

#include "toolkit/PropertyRecord.h"

namespace testing_support {

template <class... Fs>
struct Overloaded : Fs... {
  using Fs::operator()...;
};
template <class... Fs>
Overloaded(Fs...) -> Overloaded<Fs...>;

inline void AppendPropertyEntry(toolkit::PropertyRecordBuilder& builder, const toolkit::PropertyEntry& entry) {
  const std::string& key = entry.key;
  std::visit(Overloaded{[&](int32_t v) { builder.Int(key, v); },
                        [&](bool v) { builder.Bool(key, v); },
                        [&](toolkit::TextUnitCode v) { builder.TextUnit(key, v.code); },
                        [&](const std::string& v) { builder.Text(key, v); },
                        [&](toolkit::Colour v) { builder.Colour(key, v); },
                        [&](double v) { builder.Double(key, v); },
                        [&](float v) { builder.Single(key, v); }},
             entry.value);
}

}  // namespace testing_support
