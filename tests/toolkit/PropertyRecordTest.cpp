#include "toolkit/PropertyRecord.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "tests/support/AppendPropertyEntry.h"
#include "toolkit/Exceptions.h"

namespace toolkit {
namespace {

std::string Bytes(std::initializer_list<int> bytes) {
  std::string out;
  for (int byte : bytes) out.push_back(static_cast<char>(byte));
  return out;
}

using testing_support::AppendPropertyEntry;

using Schema = std::map<std::string, PropertyType, std::less<>>;

PropertyTypeLookup LookupIn(Schema schema) {
  return [schema = std::move(schema)](std::string_view key) -> std::optional<PropertyType> {
    const auto found = schema.find(key);
    if (found == schema.end()) return std::nullopt;
    return found->second;
  };
}

struct EncodingCase {
  PropertyEntry entry;
  PropertyType type;
  std::string valueBytes;  // what follows "key "
};

const std::vector<EncodingCase>& EncodingCases() {
  static const std::vector<EncodingCase> cases = {
      {{"Width", int32_t{722}}, PropertyType::Int32, Bytes({0xd2, 0x02, 0x00, 0x00})},
      {{"Index", std::numeric_limits<int32_t>::min()}, PropertyType::Int32,
       Bytes({0x00, 0x00, 0x00, 0x80})},
      {{"ListIndex", int32_t{-1}}, PropertyType::Int32, Bytes({0xff, 0xff, 0xff, 0xff})},
      {{"Visible", true}, PropertyType::Boolean, Bytes({0x01})},
      {{"FullScreen", false}, PropertyType::Boolean, Bytes({0x00})},
      {{"TextUnit", TextUnitCode{2}}, PropertyType::TextUnit, Bytes({0x02})},
      {{"Caption", std::string("Log")}, PropertyType::Text,
       Bytes({0x03, 0x00, 0x00, 0x00, 'L', 'o', 'g'})},
      {{"HelpTag", std::string()}, PropertyType::Text, Bytes({0x00, 0x00, 0x00, 0x00})},
      {{"Text", std::string("25\xc2\xb0" "C")}, PropertyType::Text,
       Bytes({0x05, 0x00, 0x00, 0x00, '2', '5', 0xc2, 0xb0, 'C'})},
      {{"TabDefinition", std::string("Values\rRaw data")}, PropertyType::Text,
       Bytes({0x0f, 0x00, 0x00, 0x00}) + "Values\rRaw data"},
      {{"BackColor", Colour::FromRGB(0xe1, 0xe3, 0xe3)}, PropertyType::Colour,
       Bytes({0xe3, 0xe3, 0xe1, 0x00})},
      {{"TextColor", Colour::FromRGB(0x5a, 0x91, 0xa8)}, PropertyType::Colour,
       Bytes({0xa8, 0x91, 0x5a, 0x00})},
      {{"BackColor", Colour::FromRGB(0xff, 0xff, 0xff)}, PropertyType::Colour,
       Bytes({0xff, 0xff, 0xff, 0x00})},
      {{"TextColor", Colour::FromRGB(0x00, 0x00, 0x00)}, PropertyType::Colour,
       Bytes({0x00, 0x00, 0x00, 0x00})},
      {{"BackColor", Colour{.red = 1, .green = 2, .blue = 3, .alpha = 0x80}},
       PropertyType::Colour, Bytes({0x03, 0x02, 0x01, 0x80})},
      {{"LineHeight", 0.1}, PropertyType::Double,
       Bytes({0x9a, 0x99, 0x99, 0x99, 0x99, 0x99, 0xb9, 0x3f})},
      {{"LineSpacing", -2.0}, PropertyType::Double,
       Bytes({0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xc0})},
      {{"TextSize", 12.0f}, PropertyType::Single, Bytes({0x00, 0x00, 0x40, 0x41})},
      {{"TextSize", 0.1f}, PropertyType::Single, Bytes({0xcd, 0xcc, 0xcc, 0x3d})},
  };
  return cases;
}

TEST(PropertyRecord, EachValueTypeEncodesToItsExactBytesAndDecodesBack) {
  for (const EncodingCase& c : EncodingCases()) {
    SCOPED_TRACE(c.entry.key);
    PropertyRecordBuilder builder;
    AppendPropertyEntry(builder, c.entry);
    const std::string expected = c.entry.key + " " + c.valueBytes;
    EXPECT_EQ(builder.Bytes(), expected);

    const auto lookup = [&c](std::string_view) -> std::optional<PropertyType> { return c.type; };
    EXPECT_EQ(DecodePropertyRecord(expected, lookup), std::vector<PropertyEntry>{c.entry});
  }
}

TEST(PropertyRecord, MixedRecordIsTheEntriesBackToBackAndRoundTrips) {
  PropertyRecordBuilder builder;
  std::string concatenated;
  std::vector<PropertyEntry> entries;
  Schema schema;
  for (const EncodingCase& c : EncodingCases()) {
    AppendPropertyEntry(builder, c.entry);
    concatenated += c.entry.key + " " + c.valueBytes;
    entries.push_back(c.entry);
    schema.emplace(c.entry.key, c.type);
  }
  EXPECT_EQ(builder.Bytes(), concatenated);
  EXPECT_EQ(DecodePropertyRecord(builder.Bytes(), LookupIn(schema)), entries);
}

TEST(PropertyRecord, SameKeyTakesItsWidthFromTheTargetsClass) {
  const auto tabPanel = LookupIn({{"Value", PropertyType::Int32}, {"Left", PropertyType::Int32}});
  const auto checkBox =
      LookupIn({{"Value", PropertyType::Boolean}, {"Left", PropertyType::Int32}});
  const std::string tabPanelRecord =
      PropertyRecordBuilder().Int("Value", 1).Int("Left", 20).Bytes();
  const std::string checkBoxRecord =
      PropertyRecordBuilder().Bool("Value", true).Int("Left", 20).Bytes();

  EXPECT_EQ(DecodePropertyRecord(tabPanelRecord, tabPanel),
            (std::vector<PropertyEntry>{{"Value", int32_t{1}}, {"Left", int32_t{20}}}));
  EXPECT_EQ(DecodePropertyRecord(checkBoxRecord, checkBox),
            (std::vector<PropertyEntry>{{"Value", true}, {"Left", int32_t{20}}}));
  // Read with the other class's widths, the entries no longer line up.
  EXPECT_THROW(DecodePropertyRecord(checkBoxRecord, tabPanel), PropertyRecordException);
  EXPECT_THROW(DecodePropertyRecord(tabPanelRecord, checkBox), PropertyRecordException);
}

struct MalformedCase {
  const char* what;
  std::string afterValidEntry;  // appended to a well-formed "Left" entry of 9 bytes
  std::string key;
  size_t offset;
};

TEST(PropertyRecord, MalformedRecordThrowsNamingKeyAndOffsetAndYieldsNoEntries) {
  const auto lookup = LookupIn({{"Left", PropertyType::Int32},
                                {"Width", PropertyType::Int32},
                                {"Visible", PropertyType::Boolean},
                                {"Title", PropertyType::Text},
                                {"LineHeight", PropertyType::Double}});
  const std::string validEntry = PropertyRecordBuilder().Int("Left", 43).Bytes();
  const std::vector<MalformedCase> cases = {
      {"key with no blank after it", "Height", "Height", 9},
      {"key the class does not have", "Colour " + Bytes({0, 0, 0, 0}), "Colour", 9},
      {"empty key", " " + Bytes({0x01}), "", 9},
      {"non-ASCII key", "Wid\xc3\xa9 " + Bytes({0, 0, 0, 0}), "Wid\xc3\xa9", 9},
      {"integer cut short", "Width " + Bytes({0xd2, 0x02}), "Width", 15},
      {"double cut short", "LineHeight " + Bytes({0, 0, 0, 0, 0, 0, 0}), "LineHeight", 20},
      {"Boolean missing", "Visible ", "Visible", 17},
      {"Boolean neither 0 nor 1", "Visible " + Bytes({0x02}), "Visible", 17},
      {"text count cut short", "Title " + Bytes({0x03, 0x00}), "Title", 15},
      {"text longer than the bytes left", "Title " + Bytes({0x05, 0, 0, 0}) + "abc", "Title", 15},
      {"bogus huge text length", "Title " + Bytes({0xff, 0xff, 0xff, 0xff}) + "abc", "Title", 15},
  };
  for (const MalformedCase& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      DecodePropertyRecord(validEntry + c.afterValidEntry, lookup);
      ADD_FAILURE() << "decoded without an error";
    } catch (const PropertyRecordException& e) {
      const std::string message = e.what();
      EXPECT_NE(message.find("\"" + c.key + "\""), std::string::npos) << message;
      EXPECT_NE(message.find("at byte " + std::to_string(c.offset)), std::string::npos) << message;
    }
  }
}

TEST(PropertyRecord, EveryCutOfARecordDecodesOnlyAtAnEntryBoundary) {
  Schema schema;
  PropertyRecordBuilder builder;
  std::map<size_t, std::vector<PropertyEntry>> entriesAtBoundary = {{0, {}}};
  std::vector<PropertyEntry> entries;
  for (const EncodingCase& c : EncodingCases()) {
    AppendPropertyEntry(builder, c.entry);
    schema.emplace(c.entry.key, c.type);
    entries.push_back(c.entry);
    entriesAtBoundary[builder.Bytes().size()] = entries;
  }
  const std::string_view record = builder.Bytes();
  const auto lookup = LookupIn(schema);
  for (size_t length = 0; length <= record.size(); ++length) {
    SCOPED_TRACE(length);
    const auto boundary = entriesAtBoundary.find(length);
    if (boundary != entriesAtBoundary.end()) {
      EXPECT_EQ(DecodePropertyRecord(record.substr(0, length), lookup), boundary->second);
    } else {
      EXPECT_THROW(DecodePropertyRecord(record.substr(0, length), lookup), PropertyRecordException);
    }
  }
}

TEST(PropertyRecord, BuilderRejectsKeysThatCouldNotBeDecodedAndKeepsItsRecord) {
  for (const std::string key : {"", " ", "Two words", "Wid\xc3\xa9"}) {
    SCOPED_TRACE(key);
    PropertyRecordBuilder builder;
    builder.Int("Left", 43);
    const std::string before = builder.Bytes();
    EXPECT_THROW(builder.Int(key, 1), PropertyRecordException);
    EXPECT_THROW(builder.Text(key, "x"), PropertyRecordException);
    EXPECT_EQ(builder.Bytes(), before);
  }
}

}  // namespace
}  // namespace toolkit
