#pragma once
// Property records: the initial properties of a window or control as one byte string, a run
// of entries "key, blank, value" with no count and no type tags. A value's width follows from
// its key's type in the target's class, so decoding needs that class's schema.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace toolkit {

enum class PropertyType { Int32, Boolean, TextUnit, Text, Colour, Double, Single };

struct Colour {
  uint8_t red = 0, green = 0, blue = 0;
  uint8_t alpha = 0;  // 0 is opaque

  static constexpr Colour FromRGB(uint8_t r, uint8_t g, uint8_t b) { return {r, g, b, 0}; }
  friend bool operator==(const Colour&, const Colour&) = default;
};

// The toolkit's code for the unit a text size is given in.
struct TextUnitCode {
  uint8_t code = 0;
  friend bool operator==(const TextUnitCode&, const TextUnitCode&) = default;
};

// One alternative per PropertyType, in the same order.
using PropertyValue = std::variant<int32_t, bool, TextUnitCode, std::string, Colour, double, float>;

// A stored value when there is one of type T, else the fallback.
template <class T>
T ValueOr(const PropertyValue* value, T fallback) {
  return value && std::holds_alternative<T>(*value) ? std::get<T>(*value) : fallback;
}

struct PropertyEntry {
  std::string key;
  PropertyValue value;
  friend bool operator==(const PropertyEntry&, const PropertyEntry&) = default;
};

// The target class's schema: a key's type, or nothing for a key the class does not have.
using PropertyTypeLookup = std::function<std::optional<PropertyType>(std::string_view key)>;

// Writes a record entry by entry, in call order. A key must be non-empty ASCII without
// blanks; any other key throws PropertyRecordException and leaves the record unchanged.
class PropertyRecordBuilder {
 public:
  PropertyRecordBuilder& Int(std::string_view key, int32_t value);
  PropertyRecordBuilder& Bool(std::string_view key, bool value);
  PropertyRecordBuilder& TextUnit(std::string_view key, uint8_t code);
  PropertyRecordBuilder& Text(std::string_view key, std::string_view utf8);
  PropertyRecordBuilder& Colour(std::string_view key, toolkit::Colour colour);
  PropertyRecordBuilder& Double(std::string_view key, double value);
  PropertyRecordBuilder& Single(std::string_view key, float value);

  const std::string& Bytes() const { return bytes_; }

 private:
  void BeginEntry(std::string_view key);

  std::string bytes_;
};

// Decodes every entry of the record, in order. Throws PropertyRecordException, naming the key
// and the byte offset, when a key has no blank after it or is not a non-empty ASCII key the
// lookup knows, when a value or a text runs past the end, or when a Boolean is neither 0 nor 1.
// Either every entry is returned or none.
std::vector<PropertyEntry> DecodePropertyRecord(std::string_view record,
                                                const PropertyTypeLookup& typeOf);

}  // namespace toolkit
