#include <gtest/gtest.h>

#include <string>

#include "tests/tools/bus_frames.h"

namespace bussim {
namespace {

Frame bytesOf(std::initializer_list<int> values) {
  Frame frame;
  for (int value : values) frame.push_back(static_cast<std::uint8_t>(value));
  return frame;
}

// Byte i holds i + 1, so an answer's data show which span they came from.
ParameterImage countingImage() {
  ParameterImage image{};
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i + 1);
  return image;
}

TEST(BusSimulatorFrames, BuildsEachKindWithItsHeaderAndSumChecksum) {
  struct Case {
    std::string name;
    Frame built;
    Frame expected;
  };
  const ParameterImage image = countingImage();
  const Case cases[] = {
      {"converter, second generation", converterDataFrame({245, 13800, 2500, 0, 253, 80, 0}),
       bytesOf({0x00, 0x01, 0x10, 0x10, 0x00, 0xF5, 0x35, 0xE8, 0x09, 0xC4,
                0x00, 0x00, 0x00, 0xFD, 0x00, 0x50, 0x00, 0x00, 0x04, 0x4D})},
      {"converter, all words 0xFFFF",
       converterDataFrame({0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF}),
       bytesOf({0x00, 0x01, 0x10, 0x10, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x0E, 0x13})},
      {"HPU", hpuDataFrame({1234, 255, 15}),
       bytesOf({0x00, 0x12, 0x10, 0x07, 0x04, 0xD2, 0xFF, 0x0F, 0x00, 0x02, 0x0D})},
      {"answer 30..48", readAnswer(image, {30, 48}),
       bytesOf({0x11, 0x12, 0x42, 0x14, 31, 32, 33, 34, 35, 36, 37,   38,
                39,   40,   41,   42,   43, 44, 45, 46, 47, 48, 0x03, 0x40})},
      {"answer to an empty span", readAnswer(image, {5, 5}),
       bytesOf({0x11, 0x12, 0x42, 0x02, 0x00, 0x67})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.built, c.expected);
  }
}

TEST(BusSimulatorFrames, ChecksumWrapsAt65535NotAt65536) {
  const Frame exactly65535(257, 0xFF);
  const Frame oneByteMore(258, 0xFF);
  EXPECT_EQ(frameChecksum(exactly65535.data(), exactly65535.size()), 0);
  EXPECT_EQ(frameChecksum(oneByteMore.data(), oneByteMore.size()), 0xFF);
}

TEST(BusSimulatorFrames, ARampAddsTheFramesPlaceInItsStepsToEveryWord) {
  struct Case {
    std::string name;
    unsigned frame;
    unsigned steps;
    ConverterWords words;
  };
  const ConverterWords given{245, 13800, 2500, 0, 253, 80, 0xFFFF};
  const Case cases[] = {
      {"no ramp", 7, 0, given},
      {"a ramp of one step", 7, 1, given},
      {"first frame", 0, 100, given},
      {"third frame", 2, 100, {247, 13802, 2502, 2, 255, 82, 1}},
      {"last step", 99, 100, {344, 13899, 2599, 99, 352, 179, 98}},
      {"starts over", 100, 100, given},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(rampedWords(given, c.frame, c.steps), c.words);
    EXPECT_EQ(rampedWord(1234, c.frame, c.steps), c.words[0] - 245 + 1234);
  }
}

TEST(BusSimulatorRequestScanner, FindsValidRequestsAndCountsTheRejectedOnes) {
  struct Case {
    std::string name;
    Frame stream;
    std::vector<ReadSpan> requests;
    unsigned rejected;
  };
  const Case cases[] = {
      {"first range", bytesOf({0x12, 0x11, 0x4C, 0x04, 0x00, 0x1E, 0x00, 0x91}), {{0, 30}}, 0},
      {"after junk and a false start",
       bytesOf(
           {0x55, 0x12, 0x11, 0x00, 0x12, 0x12, 0x11, 0x4C, 0x04, 0x1E, 0x30, 0x00, 0xC1, 0x99}),
       {{30, 48}},
       0},
      {"two back to back",
       bytesOf({0x12, 0x11, 0x4C, 0x04, 0x00, 0x1E, 0x00, 0x91, 0x12, 0x11, 0x4C, 0x04, 0x1E, 0x30,
                0x00, 0xC1}),
       {{0, 30}, {30, 48}},
       0},
      {"empty span", bytesOf({0x12, 0x11, 0x4C, 0x04, 0x05, 0x05, 0x00, 0x7D}), {{5, 5}}, 0},
      {"wrong checksum", bytesOf({0x12, 0x11, 0x4C, 0x04, 0x00, 0x1E, 0x00, 0x92}), {}, 1},
      {"end past the image", bytesOf({0x12, 0x11, 0x4C, 0x04, 0x1E, 0x31, 0x00, 0xC2}), {}, 1},
      {"start after end", bytesOf({0x12, 0x11, 0x4C, 0x04, 0x1E, 0x00, 0x00, 0x91}), {}, 1},
      {"a rejected request does not hide the one starting inside it",
       bytesOf({0x12, 0x11, 0x4C, 0x04, 0x12, 0x11, 0x4C, 0x04, 0x00, 0x1E, 0x00, 0x91}),
       {{0, 30}},
       1},
      {"data frames are no requests", converterDataFrame({245, 13800, 2500, 0, 253, 80, 0}), {}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RequestScanner scanner;
    scanner.feed(c.stream.data(), c.stream.size());
    EXPECT_EQ(scanner.takeRequests(), c.requests);
    EXPECT_EQ(scanner.rejected(), c.rejected);
  }
}

TEST(BusSimulatorRequestScanner, JoinsARequestSplitAcrossReads) {
  const Frame request = bytesOf({0x12, 0x11, 0x4C, 0x04, 0x1E, 0x30, 0x00, 0xC1});
  RequestScanner scanner;
  scanner.feed(request.data(), 3);
  EXPECT_TRUE(scanner.takeRequests().empty());
  scanner.feed(request.data() + 3, request.size() - 3);
  EXPECT_EQ(scanner.takeRequests(), (std::vector<ReadSpan>{{30, 48}}));
  EXPECT_TRUE(scanner.takeRequests().empty());
}

}  // namespace
}  // namespace bussim
