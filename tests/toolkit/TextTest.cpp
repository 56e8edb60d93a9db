#include "toolkit/Text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace toolkit {
namespace {

using namespace std::string_literals;

constexpr double kInfinity = std::numeric_limits<double>::infinity();

struct FormatCase {
  double value;
  const char* pattern;
  const char* expected;
};

TEST(TextFormat, RendersAgainstPattern) {
  const FormatCase cases[] = {
      {-1, "00.000", "-01.000"},
      {-1, "000", "-001"},
      {7.1, "0.00", "7.10"},
      {5, "000", "005"},
      {255, "000", "255"},
      {983025, "0", "983025"},
      {1234.5678, "00.0", "1234.6"},
      {0, "00.000", "00.000"},
      {12.34, "0", "12"},
      {1e20, "0", "100000000000000000000"},
      // Ties go away from zero, on both sides.
      {0.25, "00.0", "00.3"},
      {-0.25, "0.0", "-0.3"},
      {2.5, "0", "3"},
      {-2.5, "0", "-3"},
      {0.5, "0", "1"},
      {0.0005, "0.000", "0.001"},
      // Stored just below the tie; rounded as the decimal text reads.
      {0.35, "0.0", "0.4"},
      {1.005, "0.00", "1.01"},
      {std::nextafter(1.5, 0.0), "0", "2"},
      // Exact binary ties, as a current of 1.875 A or a power of 34.5 W reach the labels.
      {1.875, "0.00", "1.88"},
      {-34.5, "000", "-035"},
      // Carries through nines into a new integer digit.
      {9.996, "0.00", "10.00"},
      {99.95, "00.0", "100.0"},
      {-0.95, "0.0", "-1.0"},
      // Small values vanish; a negative one leaves no "-0".
      {0.0004, "0.000", "0.000"},
      {-0.04, "0.0", "0.0"},
      {-0.4, "0", "0"},
      {-0.0, "00", "00"},
      {1e-300, "0.00", "0.00"},
      // Beyond 15 significant digits the units still count.
      {4503599627370495.5, "0", "4503599627370496"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Format(c.value, c.pattern), c.expected) << c.value << " with " << c.pattern;
  }
}

TEST(TextFormat, NonFiniteValuesHaveNames) {
  EXPECT_EQ(Format(std::nan(""), "0.00"), "NaN");
  EXPECT_EQ(Format(kInfinity, "000"), "Infinity");
  EXPECT_EQ(Format(-kInfinity, "0"), "-Infinity");
}

class TextDecimalMark : public ::testing::Test {
 protected:
  void TearDown() override { SetDecimalMark("."); }
};

TEST_F(TextDecimalMark, FormatWritesTheMarkSet) {
  SetDecimalMark(",");
  EXPECT_EQ(Format(7.1, "0.00"), "7,10");
  EXPECT_EQ(Format(-1, "00.000"), "-01,000");
  EXPECT_EQ(Format(5, "000"), "005");
}

TEST(TextStr, WritesPlainDecimal) {
  EXPECT_EQ(Str(0), "0");
  EXPECT_EQ(Str(-42), "-42");
  EXPECT_EQ(Str(std::numeric_limits<int64_t>::min()), "-9223372036854775808");
}

struct ReadCase {
  const char* text;
  double expected;
};

TEST(TextVal, ReadsTheLeadingNumber) {
  const ReadCase cases[] = {
      {"&hFF", 255},      {"&H1e", 30},       {"  &h10", 16},  {"&h", 0},
      {"&hFFZ", 255},     {"&hff", 255},      {"&h1G", 1},     {"&hG1", 0},
      {"25", 25},         {"  -3.5e2xyz", -350},
      {"+.5", 0.5},       {"5.", 5},          {"1e", 1},       {"1e+", 1},
      {"12,5", 12},       {"abc", 0},         {"", 0},         {"-", 0},
      {".", 0},           {"- 5", 0},         {"1e999", kInfinity},
      {"-1e999", -kInfinity},                 {"1e-999", 0},   {"0.0001e-400", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(Val(c.text), c.expected) << '"' << c.text << '"';
}

TEST(TextVal, ReadsEveryByteThroughItsHexText) {
  for (int byte = 0; byte <= 255; ++byte) {
    EXPECT_EQ(Val("&h" + EncodeHex(String(1, static_cast<char>(byte)))), byte);
  }
}

TEST(TextCDbl, ReadsDecimalOnly) {
  const ReadCase cases[] = {
      {"1090", 1090}, {" 2.5", 2.5}, {"&h10", 0}, {"junk", 0}, {"-7e1", -70},
  };
  for (const auto& c : cases) EXPECT_EQ(CDbl(c.text), c.expected) << '"' << c.text << '"';
}

TEST(TextCDbl, ReadsHexTextAsDecimal) {
  EXPECT_EQ(CDbl(Hex(0x1090)), 1090);
  EXPECT_EQ(CDbl(Hex(0)), 0);
}

TEST(TextCLong, RoundsAndClamps) {
  constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
  constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
  const struct {
    const char* text;
    int64_t expected;
  } cases[] = {
      {"25", 25},    {"2.5", 3},     {"-2.5", -3},   {"2.49", 2},   {"-0.4", 0},
      {"junk", 0},   {"", 0},        {"12ms", 12},   {"&h10", 16},  {"1e30", kMax},
      {"-1e30", kMin}, {"1e999", kMax}, {"9223372036854775807", kMax},
      {"-9223372036854775808", kMin}, {"4294967297", 4294967297},
  };
  for (const auto& c : cases) EXPECT_EQ(CLong(c.text), c.expected) << '"' << c.text << '"';
}

TEST(TextHex, WritesTheThirtyTwoBitPattern) {
  const struct {
    int32_t value;
    const char* expected;
  } cases[] = {
      {0x1090, "1090"}, {0, "0"}, {255, "FF"}, {-1, "FFFFFFFF"},
      {std::numeric_limits<int32_t>::min(), "80000000"}, {0x7FFFFFFF, "7FFFFFFF"},
  };
  for (const auto& c : cases) EXPECT_EQ(Hex(c.value), c.expected) << c.value;
}

TEST(TextEncodeHex, WritesTwoUpperCaseDigitsPerByte) {
  EXPECT_EQ(EncodeHex("\x05\x07"), "0507");
  EXPECT_EQ(EncodeHex("\xFF\x1E"), "FF1E");
  EXPECT_EQ(EncodeHex(""), "");
}

TEST(TextEncodeHex, EveryByteRoundTrips) {
  String bytes;
  for (int byte = 0; byte <= 255; ++byte) bytes += static_cast<char>(byte);
  const String hex = EncodeHex(bytes);
  ASSERT_EQ(hex.size(), 512u);
  for (int byte = 0; byte <= 255; ++byte) {
    EXPECT_EQ(Val("&h" + hex.substr(2 * byte, 2)), byte) << hex.substr(2 * byte, 2);
  }
}

TEST(TextInStr, FindsFirstBytePosition) {
  const struct {
    String haystack, needle;
    int64_t expected;
  } cases[] = {
      {"abc", "b", 2},   {"abc", "x", 0}, {"abcabc", "c", 3}, {"abc", "abcd", 0},
      {"abc", "", 1},    {"", "", 0},     {"", "a", 0},
      {"\xFF\x00\x00\x01\x10"s, Chr(0) + Chr(1) + Chr(16), 3},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(InStr(c.haystack, c.needle), c.expected) << EncodeHex(c.haystack) << " / "
                                                       << EncodeHex(c.needle);
  }
}

TEST(TextChr, EncodesCodePointsAsUtf8) {
  const struct {
    int32_t codePoint;
    String expected;
  } cases[] = {
      {0, "\0"s},          {65, "A"},           {0xE9, "\xC3\xA9"},
      {0x20AC, "\xE2\x82\xAC"}, {0x1F600, "\xF0\x9F\x98\x80"},
      // No scalar value: the replacement character.
      {-1, "\xEF\xBF\xBD"}, {0xD800, "\xEF\xBF\xBD"}, {0x110000, "\xEF\xBF\xBD"},
  };
  for (const auto& c : cases) EXPECT_EQ(Chr(c.codePoint), c.expected) << c.codePoint;
}

TEST(TextAsciiChr, GivesTheRawByte) {
  for (int byte = 0; byte <= 255; ++byte) {
    EXPECT_EQ(Encodings::ASCII.Chr(byte), String(1, static_cast<char>(byte))) << byte;
  }
  EXPECT_EQ(Encodings::ASCII.Chr(0x141), "A");
}

TEST(TextMinMax, PickTheSmallerAndLarger) {
  EXPECT_EQ(Min(3, -2), -2);
  EXPECT_EQ(Max(3, -2), 3);
  EXPECT_EQ(Max(1500, 1515), 1515);
}

TEST(TextLenLeft, CountCharactersNotBytes) {
  const String text = "réponse valide";
  ASSERT_EQ(text.size(), 15u);
  EXPECT_EQ(Len(text), 14);
  EXPECT_EQ(Left(text, 2), "ré");
  for (int64_t count = -1; count <= 16; ++count) {
    const String left = Left(text, count);
    EXPECT_EQ(Len(left), std::clamp<int64_t>(count, 0, 14)) << count;
    EXPECT_EQ(text.compare(0, left.size(), left), 0) << count;
  }
}

// Long texts, ASCII or not in stretches, against a byte-by-byte count: every cut is checked.
TEST(TextLenLeft, LongTextsCountAndCutByCharacters) {
  const String pieces[] = {"000  ", "é", "\x80", "réponse valide", "\xE2\x82\xAC", "\n"};
  std::mt19937 random(1512);
  std::uniform_int_distribution<size_t> anyPiece(0, std::size(pieces) - 1);
  for (const size_t size : {size_t{300}, size_t{1600}}) {
    for (const bool mixed : {false, true}) {
      // A stray continuation byte goes with the character before it, or at the start with the first.
      String text = mixed ? "\x80" : "";
      while (text.size() < size) text += mixed ? pieces[anyPiece(random)] : pieces[0];
      if (!mixed) text.insert(150, "\x80");
      std::vector<size_t> characterStarts;
      for (size_t i = 0; i < text.size(); ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) characterStarts.push_back(i);
      characterStarts.push_back(text.size());
      const size_t characters = characterStarts.size() - 1;
      ASSERT_EQ(Len(text), static_cast<int64_t>(characters));
      ASSERT_EQ(Left(text, 0), "");
      for (size_t count = 1; count <= characters + 1; ++count) {
        const String left = Left(text, static_cast<int64_t>(count));
        ASSERT_EQ(left.size(), characterStarts[std::min(count, characters)]) << count;
      }
    }
  }
}

}  // namespace
}  // namespace toolkit
