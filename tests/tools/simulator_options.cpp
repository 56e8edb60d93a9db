#include "tests/tools/simulator_options.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <map>
#include <stdexcept>
#include <string_view>

namespace bussim {
namespace {

constexpr std::int64_t kLongestMilliseconds = 24LL * 3600 * 1000;

// Hydro 24.5 V, battery 13.8 V, current 2.5 A, box 25.3 °C, speeds 1200 and 900 RPM.
constexpr ConverterWords kFirstGenerationWords{245, 138, 25, 0, 253, 80, 60};
// Hydro 24.5 V, battery 13.8 V, current 2.5 A, box 25.3 °C, speed 1200 RPM.
constexpr ConverterWords kSecondGenerationWords{245, 13800, 2500, 0, 253, 80, 0};

[[noreturn]] void reject(std::string_view option, std::string_view why) {
  throw std::invalid_argument(std::string(option) + ": " + std::string(why));
}

std::int64_t parseInteger(std::string_view option, std::string_view text, std::int64_t lowest,
                          std::int64_t highest) {
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size())
    reject(option, "'" + std::string(text) + "' is not a whole number");
  if (value < lowest || value > highest)
    reject(option, std::to_string(value) + " is outside " + std::to_string(lowest) + ".." +
                       std::to_string(highest));
  return value;
}

double parseReal(std::string_view option, std::string_view text, double lowest, double highest) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
    reject(option, "'" + std::string(text) + "' is not a number");
  if (value < lowest || value > highest)
    reject(option, "'" + std::string(text) + "' is out of range");
  return value;
}

std::chrono::milliseconds parseMilliseconds(std::string_view option, std::string_view text,
                                            std::int64_t lowest) {
  return std::chrono::milliseconds(parseInteger(option, text, lowest, kLongestMilliseconds));
}

std::vector<std::string_view> splitAtCommas(std::string_view text) {
  std::vector<std::string_view> parts;
  for (std::size_t comma; (comma = text.find(',')) != std::string_view::npos;) {
    parts.push_back(text.substr(0, comma));
    text.remove_prefix(comma + 1);
  }
  parts.push_back(text);
  return parts;
}

std::vector<std::string_view> splitExactly(std::string_view option, std::string_view text,
                                           std::size_t count) {
  std::vector<std::string_view> parts = splitAtCommas(text);
  if (parts.size() != count)
    reject(option, "expects " + std::to_string(count) + " comma-separated values");
  return parts;
}

ConverterWords parseConverterWords(std::string_view option, std::string_view text) {
  const std::vector<std::string_view> parts = splitExactly(option, text, ConverterWords{}.size());
  ConverterWords words{};
  for (std::size_t i = 0; i < words.size(); ++i)
    words[i] = static_cast<std::uint16_t>(parseInteger(option, parts[i], 0, 0xFFFF));
  return words;
}

HpuReading parseHpuBytes(std::string_view option, std::string_view text) {
  const std::vector<std::string_view> parts = splitExactly(option, text, 3);
  return {static_cast<std::uint16_t>(parseInteger(option, parts[0], 0, 0xFFFF)),
          static_cast<std::uint8_t>(parseInteger(option, parts[1], 0, 0xFF)),
          static_cast<std::uint8_t>(parseInteger(option, parts[2], 0, 0xFF))};
}

int hexDigitValue(char digit) {
  if (digit >= '0' && digit <= '9') return digit - '0';
  if (digit >= 'a' && digit <= 'f') return digit - 'a' + 10;
  if (digit >= 'A' && digit <= 'F') return digit - 'A' + 10;
  return -1;
}

ParameterImage parseImage(std::string_view option, std::string_view text) {
  ParameterImage image{};
  if (text.size() != 2 * image.size())
    reject(option, "expects " + std::to_string(2 * image.size()) + " hex digits");
  for (std::size_t i = 0; i < image.size(); ++i) {
    const int high = hexDigitValue(text[2 * i]);
    const int low = hexDigitValue(text[2 * i + 1]);
    if (high < 0 || low < 0) reject(option, "holds a character that is not a hex digit");
    image[i] = static_cast<std::uint8_t>(high * 16 + low);
  }
  return image;
}

// Word i holds 1000 + i, so every answer shows where in the image it came from.
ParameterImage recognisableImage() {
  ParameterImage image{};
  for (std::size_t word = 0; word < image.size() / 2; ++word) {
    const auto value = static_cast<std::uint16_t>(1000 + word);
    image[2 * word] = static_cast<std::uint8_t>(value >> 8);
    image[2 * word + 1] = static_cast<std::uint8_t>(value & 0xFF);
  }
  return image;
}

}  // namespace

SimulatorOptions parseOptions(const std::vector<std::string>& arguments) {
  SimulatorOptions options;
  options.image = recognisableImage();
  int generation = 2;
  std::optional<ConverterWords> givenWords;

  using Setter = std::function<void(std::string_view option, std::string_view value)>;
  const std::map<std::string_view, Setter> valued{
      {"--converter-period",
       [&](auto o, auto v) { options.converterPeriod = parseMilliseconds(o, v, 1); }},
      {"--converter-stop-after",
       [&](auto o, auto v) { options.converterStopAfter = parseMilliseconds(o, v, 0); }},
      {"--generation",
       [&](auto o, auto v) { generation = static_cast<int>(parseInteger(o, v, 1, 2)); }},
      {"--converter-words", [&](auto o, auto v) { givenWords = parseConverterWords(o, v); }},
      {"--hpu-period", [&](auto o, auto v) { options.hpuPeriod = parseMilliseconds(o, v, 0); }},
      {"--hpu-bytes", [&](auto o, auto v) { options.hpuReading = parseHpuBytes(o, v); }},
      {"--ramp",
       [&](auto o, auto v) { options.rampSteps = static_cast<unsigned>(parseInteger(o, v, 0, 0xFFFF)); }},
      {"--image", [&](auto o, auto v) { options.image = parseImage(o, v); }},
      {"--junk-rate",
       [&](auto o, auto v) { options.junkBurstsPerMinute = parseReal(o, v, 0, 60'000); }},
      {"--corrupt-rate",
       [&](auto o, auto v) { options.corruptProbability = parseReal(o, v, 0, 1); }},
      {"--seed",
       [&](auto o, auto v) {
         options.seed = static_cast<std::uint64_t>(parseInteger(o, v, 0, INT64_MAX));
       }},
      {"--duration",
       [&](auto o, auto v) {
         options.duration = std::chrono::milliseconds(
             std::llround(parseReal(o, v, 0.001, kLongestMilliseconds / 1000.0) * 1000));
       }},
  };

  for (std::size_t i = 0; i < arguments.size(); ++i) {
    std::string_view argument = arguments[i];
    if (argument == "--saturate") {
      options.saturate = true;
      continue;
    }
    if (argument == "--no-answers") {
      options.answerRequests = false;
      continue;
    }
    if (argument == "--help" || argument == "-h") {
      options.helpRequested = true;
      continue;
    }
    std::string_view name = argument;
    std::optional<std::string_view> value;
    if (const std::size_t equals = argument.find('='); equals != std::string_view::npos) {
      name = argument.substr(0, equals);
      value = argument.substr(equals + 1);
    }
    const auto setter = valued.find(name);
    if (setter == valued.end()) reject(name, "unknown option");
    if (!value) {
      if (i + 1 == arguments.size()) reject(name, "needs a value");
      value = arguments[++i];
    }
    setter->second(name, *value);
  }

  options.converterWords =
      givenWords.value_or(generation == 1 ? kFirstGenerationWords : kSecondGenerationWords);
  return options;
}

std::string usageText() {
  return R"(usage: bus_simulator [options]
Plays the converter and the HPU on a pseudo-terminal; prints the port's path first on stdout.
  --duration S               seconds to play (default 10; fractions allowed)
  --converter-period MS      converter data frame period (default 250)
  --converter-stop-after MS  no converter frames after this time
  --generation 1|2           default converter words of that generation (default 2)
  --converter-words w4,w6,w8,w10,w12,w14,w16
                             the seven converter data words, decimal; override --generation
  --hpu-period MS            HPU data frame period (default 0: no HPU frames)
  --hpu-bytes P,M,T          pressure word, mode byte, pitch byte (default 1234,255,15)
  --ramp N                   frame k of each device adds k mod N to its words (the converter's
                             seven, the HPU's pressure), so every frame shows new values
                             (default 0: the same words in every frame)
  --image HEX96              the 48-byte parameter image that read requests are answered from
                             (default: word i holds 1000 + i)
  --junk-rate N              random junk bursts per minute (default 0)
  --corrupt-rate P           probability 0..1 that a frame byte gets one bit flipped (default 0)
  --seed S                   seed of the noise (default 1)
  --saturate                 frames back to back at the line rate, converter and HPU alternately
  --no-answers               read requests go unanswered
)";
}

}  // namespace bussim
