#include "toolkit/PropertyRecord.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <limits>

#include "toolkit/Exceptions.h"

namespace toolkit {
namespace {

static_assert(std::numeric_limits<float>::is_iec559 && sizeof(float) == 4);
static_assert(std::numeric_limits<double>::is_iec559 && sizeof(double) == 8);

constexpr char kBlank = ' ';

bool IsValidKey(std::string_view key) {
  return !key.empty() && std::ranges::all_of(key, [](char c) {
           const auto byte = static_cast<unsigned char>(c);
           return byte < 0x80 && c != kBlank;
         });
}

std::string Quoted(std::string_view key) { return "\"" + std::string(key) + "\""; }

[[noreturn]] void Fail(const std::string& what, size_t offset) {
  throw PropertyRecordException("Malformed property record: " + what + " at byte " +
                                std::to_string(offset) + ".");
}

// Blue in the low byte, alpha in the high byte.
uint32_t PackColour(Colour colour) {
  return uint32_t{colour.blue} | uint32_t{colour.green} << 8 | uint32_t{colour.red} << 16 |
         uint32_t{colour.alpha} << 24;
}

Colour UnpackColour(uint32_t packed) {
  auto byteAt = [packed](int shift) { return static_cast<uint8_t>(packed >> shift); };
  return {.red = byteAt(16), .green = byteAt(8), .blue = byteAt(0), .alpha = byteAt(24)};
}

void AppendLittleEndian(std::string& out, uint64_t value, size_t width) {
  for (size_t i = 0; i < width; ++i) out.push_back(static_cast<char>(value >> (8 * i)));
}

// Walks a record front to back; every read checks the bytes left first.
class RecordReader {
 public:
  explicit RecordReader(std::string_view record) : record_(record) {}

  bool AtEnd() const { return position_ == record_.size(); }

  PropertyEntry ReadEntry(const PropertyTypeLookup& typeOf) {
    const size_t start = position_;
    const std::string_view key = ReadKey();
    const std::optional<PropertyType> type = typeOf(key);
    if (!type) Fail("the key " + Quoted(key) + " is not a property of the target's class", start);
    return {std::string(key), ReadValue(key, *type)};
  }

 private:
  std::string_view ReadKey() {
    const size_t start = position_;
    const size_t blank = record_.find(kBlank, start);
    if (blank == std::string_view::npos) {
      Fail("the key " + Quoted(record_.substr(start)) + " has no blank after it", start);
    }
    const std::string_view key = record_.substr(start, blank - start);
    if (!IsValidKey(key)) Fail("the key " + Quoted(key) + " is empty or not ASCII", start);
    position_ = blank + 1;
    return key;
  }

  PropertyValue ReadValue(std::string_view key, PropertyType type) {
    switch (type) {
      case PropertyType::Int32:
        // Modular conversion: the 32 bits are the two's complement pattern.
        return static_cast<int32_t>(static_cast<uint32_t>(ReadLittleEndian(key, 4)));
      case PropertyType::Boolean:
        return ReadBoolean(key);
      case PropertyType::TextUnit:
        return TextUnitCode{static_cast<uint8_t>(ReadLittleEndian(key, 1))};
      case PropertyType::Text:
        return ReadText(key);
      case PropertyType::Colour:
        return UnpackColour(static_cast<uint32_t>(ReadLittleEndian(key, 4)));
      case PropertyType::Double:
        return std::bit_cast<double>(ReadLittleEndian(key, 8));
      case PropertyType::Single:
        return std::bit_cast<float>(static_cast<uint32_t>(ReadLittleEndian(key, 4)));
    }
    Fail("the lookup gave " + Quoted(key) + " a type that does not exist", position_);
  }

  size_t BytesLeft() const { return record_.size() - position_; }

  uint64_t ReadLittleEndian(std::string_view key, size_t width) {
    if (width > BytesLeft()) {
      Fail("the value of " + Quoted(key) + " needs " + std::to_string(width) + " bytes but " +
               std::to_string(BytesLeft()) + " are left",
           position_);
    }
    uint64_t value = 0;
    for (size_t i = 0; i < width; ++i) {
      value |= uint64_t{static_cast<unsigned char>(record_[position_ + i])} << (8 * i);
    }
    position_ += width;
    return value;
  }

  bool ReadBoolean(std::string_view key) {
    const size_t start = position_;
    const uint64_t byte = ReadLittleEndian(key, 1);
    if (byte > 1) {
      Fail("the Boolean " + Quoted(key) + " is " + std::to_string(byte) + ", not 0 or 1", start);
    }
    return byte == 1;
  }

  std::string ReadText(std::string_view key) {
    const size_t start = position_;
    const uint64_t length = ReadLittleEndian(key, 4);
    // Checked before anything is allocated, so a bogus length costs nothing.
    if (length > BytesLeft()) {
      Fail("the text of " + Quoted(key) + " claims " + std::to_string(length) + " bytes but " +
               std::to_string(BytesLeft()) + " are left",
           start);
    }
    std::string text(record_.substr(position_, length));
    position_ += length;
    return text;
  }

  std::string_view record_;
  size_t position_ = 0;
};

}  // namespace

void PropertyRecordBuilder::BeginEntry(std::string_view key) {
  if (!IsValidKey(key)) {
    throw PropertyRecordException("A property key must be non-empty ASCII without blanks: " +
                                  Quoted(key) + ".");
  }
  bytes_.append(key);
  bytes_.push_back(kBlank);
}

PropertyRecordBuilder& PropertyRecordBuilder::Int(std::string_view key, int32_t value) {
  BeginEntry(key);
  AppendLittleEndian(bytes_, static_cast<uint32_t>(value), 4);
  return *this;
}

PropertyRecordBuilder& PropertyRecordBuilder::Bool(std::string_view key, bool value) {
  BeginEntry(key);
  AppendLittleEndian(bytes_, value ? 1 : 0, 1);
  return *this;
}

PropertyRecordBuilder& PropertyRecordBuilder::TextUnit(std::string_view key, uint8_t code) {
  BeginEntry(key);
  AppendLittleEndian(bytes_, code, 1);
  return *this;
}

PropertyRecordBuilder& PropertyRecordBuilder::Text(std::string_view key, std::string_view utf8) {
  // A longer text would get a wrapped count and a record that decodes to something else.
  if (utf8.size() > std::numeric_limits<uint32_t>::max()) {
    throw PropertyRecordException("The text of " + Quoted(key) +
                                  " is too long for a property record.");
  }
  BeginEntry(key);
  AppendLittleEndian(bytes_, utf8.size(), 4);
  bytes_.append(utf8);
  return *this;
}

PropertyRecordBuilder& PropertyRecordBuilder::Colour(std::string_view key,
                                                     toolkit::Colour colour) {
  BeginEntry(key);
  AppendLittleEndian(bytes_, PackColour(colour), 4);
  return *this;
}

PropertyRecordBuilder& PropertyRecordBuilder::Double(std::string_view key, double value) {
  BeginEntry(key);
  AppendLittleEndian(bytes_, std::bit_cast<uint64_t>(value), 8);
  return *this;
}

PropertyRecordBuilder& PropertyRecordBuilder::Single(std::string_view key, float value) {
  BeginEntry(key);
  AppendLittleEndian(bytes_, std::bit_cast<uint32_t>(value), 4);
  return *this;
}

std::vector<PropertyEntry> DecodePropertyRecord(std::string_view record,
                                                const PropertyTypeLookup& typeOf) {
  std::vector<PropertyEntry> entries;
  RecordReader reader(record);
  while (!reader.AtEnd()) entries.push_back(reader.ReadEntry(typeOf));
  return entries;
}

}  // namespace toolkit
