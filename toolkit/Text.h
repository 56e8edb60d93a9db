#pragma once
// The toolkit's text and number services. Text is UTF-8 held in std::string; lengths and
// cuts of text count characters (code points), the rest works on bytes.
#include <cstdint>
#include <string>
#include <string_view>

namespace toolkit {

using String = std::string;

// Renders value against a digit pattern such as "0", "000", "0.00" or "00.000": at least
// as many integer digits as there are '0's before the '.', exactly as many decimals as
// there are '0's after it. The value is rounded half away from zero on its decimal form
// at 15 significant digits (so 0.35 gives "0.4" with one decimal, as a reader expects).
// A negative value puts "-" before the padded digits; one that rounds to zero shows no
// sign. NaN renders as "NaN", infinities as "Infinity" and "-Infinity".
String Format(double value, std::string_view pattern);

// The decimal mark Format writes, for the whole process ("." until set).
void SetDecimalMark(String mark);

String Str(int64_t value);

// The number at the start of text, after blanks: "&h" or "&H" then hexadecimal digits, or
// a decimal number (sign, digits, fraction, exponent). Reading stops at the first character
// that does not fit; text without a number gives 0. A decimal number too large for a
// Double gives an infinity, one too small a zero.
double Val(std::string_view text);

// Val of text rounded half away from zero and clamped to the 64-bit range.
int64_t CLong(std::string_view text);

// As Val, but decimal numbers only: "&h" text gives 0.
double CDbl(std::string_view text);

// Upper-case hexadecimal digits of the value's 32-bit pattern, without leading zeros.
String Hex(int32_t value);

// Two upper-case hexadecimal digits per byte, without separators.
String EncodeHex(std::string_view bytes);

// 1-based byte position of needle's first occurrence in haystack, 0 when absent. An empty
// needle is found at 1 in any non-empty haystack; an empty haystack has no position, so 0.
int64_t InStr(std::string_view haystack, std::string_view needle);

// The character codePoint in UTF-8; a value that is no Unicode scalar value (negative,
// a surrogate, above U+10FFFF) gives U+FFFD, the replacement character.
String Chr(int32_t codePoint);

namespace Encodings {
struct ASCIIEncoding {
  // The single raw byte byteValue & 0xFF, so that any byte value goes out unchanged.
  String Chr(int32_t byteValue) const;
};
inline constexpr ASCIIEncoding ASCII{};
}  // namespace Encodings

double Min(double a, double b);
double Max(double a, double b);

// Length in characters. A stray UTF-8 continuation byte counts with the character before it.
int64_t Len(std::string_view text);

// The first count characters, never cutting a multi-byte character; none for count <= 0.
String Left(std::string_view text, int64_t count);

}  // namespace toolkit
