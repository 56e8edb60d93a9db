#include "toolkit/Text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace toolkit {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

String& DecimalMark() {
  static String mark = ".";
  return mark;
}

// --- Format ------------------------------------------------------------------------------

struct PatternShape {
  int integerDigits = 0;
  int decimals = 0;
};

PatternShape ReadPattern(std::string_view pattern) {
  PatternShape shape;
  bool afterPoint = false;
  for (const char c : pattern) {
    if (c == '.') {
      afterPoint = true;
    } else if (c == '0') {
      ++(afterPoint ? shape.decimals : shape.integerDigits);
    }
  }
  return shape;
}

// A non-negative decimal number: digits[0] has the weight 10^exponent, each further digit a
// tenth of the one before; digits past count are zeros. No digits at all is zero.
struct Decimal {
  char digits[32];
  int count = 0;
  int exponent = 0;

  char DigitOfWeight(int power) const {
    const int index = exponent - power;
    return index >= 0 && index < count ? digits[index] : '0';
  }
};

// Below 10^15 the value is read at 15 significant digits, which hides the binary error of
// values like 0.35; above, 15 digits no longer reach the units, so the shortest text that
// reads back as the same Double is taken.
Decimal DecimalForm(double magnitude) {
  constexpr double kFifteenDigits = 1e15;
  Decimal number;
  if (magnitude == 0) return number;
  char text[40];
  const auto end =
      magnitude < kFifteenDigits
          ? std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific, 14).ptr
          : std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific).ptr;
  // The text is "d.ddde+XX" or "de+XX".
  const char* p = text;
  for (; *p != 'e'; ++p) {
    if (*p != '.') number.digits[number.count++] = *p;
  }
  std::from_chars(p + (p[1] == '+' ? 2 : 1), end, number.exponent);
  return number;
}

// Rounds half away from zero to the given number of decimals.
void RoundToDecimals(Decimal& number, int decimals) {
  const int kept = number.exponent + decimals + 1;
  if (kept >= number.count) return;
  if (kept < 0) {
    number.count = 0;
    return;
  }
  const bool roundUp = number.digits[kept] >= '5';
  number.count = kept;
  if (!roundUp) return;
  int i = kept - 1;
  while (i >= 0 && number.digits[i] == '9') --i;
  if (i < 0) {
    // All kept digits were nines (or none was kept): the carry makes one unit higher up.
    number.digits[0] = '1';
    number.count = 1;
    ++number.exponent;
  } else {
    ++number.digits[i];
    number.count = i + 1;
  }
}

// --- Reading numbers ---------------------------------------------------------------------

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The value of each hexadecimal digit, -1 for a character that is none.
constexpr std::array<signed char, 256> kHexDigitValues = [] {
  std::array<signed char, 256> values{};
  for (int c = 0; c < 256; ++c) {
    if (c >= '0' && c <= '9') values[c] = static_cast<signed char>(c - '0');
    else if (c >= 'a' && c <= 'f') values[c] = static_cast<signed char>(c - 'a' + 10);
    else if (c >= 'A' && c <= 'F') values[c] = static_cast<signed char>(c - 'A' + 10);
    else values[c] = -1;
  }
  return values;
}();

int HexDigitValue(char c) { return kHexDigitValues[static_cast<unsigned char>(c)]; }

std::string_view SkipBlanks(std::string_view text) {
  size_t start = 0;
  while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) ++start;
  return text.substr(start);
}

double ReadHexDigits(std::string_view text) {
  double value = 0;
  for (const char c : text) {
    const int digit = HexDigitValue(c);
    if (digit < 0) break;
    value = value * 16 + digit;
  }
  return value;
}

// The decimal number at the very start of text, 0 when there is none.
double ReadDecimal(std::string_view text) {
  size_t i = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) ++i;
  const size_t start = i;

  // Beside scanning the span, note the power of ten of its leading significant digit so
  // that a number out of the Double range can tell overflow from underflow.
  int leadingPower = 0;
  bool seenSignificant = false;
  size_t digits = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i, ++digits) {
    if (text[i] != '0') seenSignificant = true;
    if (seenSignificant && leadingPower < std::numeric_limits<int>::max() / 2) ++leadingPower;
  }
  if (i < text.size() && text[i] == '.') {
    for (++i; i < text.size() && IsDigit(text[i]); ++i, ++digits) {
      if (text[i] != '0') seenSignificant = true;
      if (!seenSignificant && leadingPower > std::numeric_limits<int>::min() / 2) --leadingPower;
    }
  }
  if (digits == 0) return 0;
  size_t end = i;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    const bool negativeExponent = j < text.size() && text[j] == '-';
    if (j < text.size() && (text[j] == '-' || text[j] == '+')) ++j;
    constexpr int kExponentCap = 1'000'000;
    int exponent = 0;
    for (; j < text.size() && IsDigit(text[j]); ++j) {
      exponent = std::min(exponent * 10 + (text[j] - '0'), kExponentCap);
      end = j + 1;
    }
    leadingPower += negativeExponent ? -exponent : exponent;
  }

  double magnitude = 0;
  const auto read = std::from_chars(text.data() + start, text.data() + end, magnitude);
  if (read.ec == std::errc::result_out_of_range) {
    magnitude = leadingPower > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return negative ? -magnitude : magnitude;
}

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

String Format(double value, std::string_view pattern) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value < 0 ? "-Infinity" : "Infinity";

  const PatternShape shape = ReadPattern(pattern);
  Decimal number = DecimalForm(std::fabs(value));
  RoundToDecimals(number, shape.decimals);

  const int naturalIntegerDigits = number.count > 0 ? number.exponent + 1 : 0;
  const int integerDigits = std::max(shape.integerDigits, naturalIntegerDigits);
  const String& mark = DecimalMark();
  const bool negative = value < 0 && number.count > 0;
  String text = negative ? "-" : "";
  for (int power = integerDigits - 1; power >= 0; --power) text += number.DigitOfWeight(power);
  if (shape.decimals > 0) {
    text += mark;
    for (int power = -1; power >= -shape.decimals; --power) text += number.DigitOfWeight(power);
  }
  return text;
}

void SetDecimalMark(String mark) { DecimalMark() = std::move(mark); }

String Str(int64_t value) {
  char text[24];
  return String(text, std::to_chars(text, text + sizeof text, value).ptr);
}

double Val(std::string_view text) {
  const std::string_view number = SkipBlanks(text);
  if (number.size() >= 2 && number[0] == '&' && (number[1] == 'h' || number[1] == 'H')) {
    return ReadHexDigits(number.substr(2));
  }
  return ReadDecimal(number);
}

int64_t CLong(std::string_view text) {
  constexpr double kTwoTo63 = 9223372036854775808.0;
  const double whole = std::round(Val(text));
  if (whole >= kTwoTo63) return std::numeric_limits<int64_t>::max();
  if (whole < -kTwoTo63) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(whole);
}

double CDbl(std::string_view text) { return ReadDecimal(SkipBlanks(text)); }

String Hex(int32_t value) {
  auto bits = static_cast<uint32_t>(value);
  char text[8];
  char* start = text + sizeof text;
  do {
    *--start = kHexDigits[bits & 0xF];
    bits >>= 4;
  } while (bits != 0);
  return String(start, text + sizeof text);
}

String EncodeHex(std::string_view bytes) {
  String text(bytes.size() * 2, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    text[2 * i] = kHexDigits[byte >> 4];
    text[2 * i + 1] = kHexDigits[byte & 0xF];
  }
  return text;
}

int64_t InStr(std::string_view haystack, std::string_view needle) {
  if (haystack.empty()) return 0;
  const size_t position = haystack.find(needle);
  return position == std::string_view::npos ? 0 : static_cast<int64_t>(position) + 1;
}

String Chr(int32_t codePoint) {
  const bool scalar = codePoint >= 0 && codePoint <= 0x10FFFF &&
                      !(codePoint >= 0xD800 && codePoint <= 0xDFFF);
  const auto c = static_cast<uint32_t>(scalar ? codePoint : 0xFFFD);
  String text;
  if (c < 0x80) {
    text += static_cast<char>(c);
  } else if (c < 0x800) {
    text += static_cast<char>(0xC0 | (c >> 6));
    text += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    text += static_cast<char>(0xE0 | (c >> 12));
    text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    text += static_cast<char>(0xF0 | (c >> 18));
    text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (c & 0x3F));
  }
  return text;
}

String Encodings::ASCIIEncoding::Chr(int32_t byteValue) const {
  return String(1, static_cast<char>(byteValue & 0xFF));
}

double Min(double a, double b) { return b < a ? b : a; }
double Max(double a, double b) { return b > a ? b : a; }

int64_t Len(std::string_view text) {
  return static_cast<int64_t>(std::count_if(text.begin(), text.end(), [](char c) { return !IsContinuationByte(c); }));
}

String Left(std::string_view text, int64_t count) {
  if (count <= 0) return {};
  // The cut goes before the character that would be one too many.
  size_t end = 0;
  for (int64_t started = 0; end < text.size(); ++end)
    if (!IsContinuationByte(text[end]) && ++started > count) break;
  return String(text.substr(0, end));
}

}  // namespace toolkit
