// File names through wide strings: every byte string comes back unchanged.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "platform/fileio/PathText.h"

namespace {

TEST(PathText, EveryByteStringSurvivesTheWideString) {
  const std::string samples[] = {"/tmp/plain.mp3",
                                 "caf\xC3\xA9.wav",
                                 "caf\xE9.wav",
                                 "\xFF\xFE",
                                 "\xC3",
                                 "\xED\xA0\x80",
                                 "\xF0\x9F\x8E\xB5 song.mp3",
                                 "\xC0\xAF",
                                 "\xF4\x90\x80\x80",
                                 "a\xE2\x82"};
  for (const std::string& bytes : samples) {
    EXPECT_EQ(fileio::PathFromWide(fileio::PathToWide(bytes)), bytes);
  }
  std::mt19937 random(7);
  std::uniform_int_distribution<int> byte(1, 255);
  for (int i = 0; i < 2000; ++i) {
    std::string bytes(static_cast<std::size_t>(i % 13), '\0');
    for (char& c : bytes) c = static_cast<char>(byte(random));
    ASSERT_EQ(fileio::PathFromWide(fileio::PathToWide(bytes)), bytes);
  }
}

TEST(PathText, ValidUtf8IsOrdinaryUtf16AndOtherBytesAreCarried) {
  EXPECT_EQ(fileio::PathToWide("caf\xC3\xA9"), u"caf\u00E9");
  EXPECT_EQ(fileio::PathToWide("\xF0\x9F\x8E\xB5"), u"\U0001F3B5");
  EXPECT_EQ(fileio::PathToWide("caf\xE9"), std::u16string(u"caf") + char16_t{0xDCE9});
  EXPECT_EQ(fileio::PathFromWide(u"caf\u00E9"), "caf\xC3\xA9");
}

TEST(PathText, WideNamesThatStandForNoBytesAreRefused) {
  EXPECT_FALSE(fileio::PathFromWide(std::u16string(1, char16_t{0xD800})));        // lone high
  EXPECT_FALSE(fileio::PathFromWide(std::u16string(1, char16_t{0xDC10})));        // not a byte
  EXPECT_FALSE(fileio::PathFromWide(std::u16string(u"a") + char16_t{0} + u"b"));  // NUL
}

TEST(PathText, JsonEscapingKeepsBytesAndEscapesControls) {
  EXPECT_EQ(fileio::JsonEscape("a\"b\\c\n\x01"), "a\\\"b\\\\c\\u000a\\u0001");
  EXPECT_EQ(fileio::JsonEscape("caf\xC3\xA9"), "caf\xC3\xA9");
  EXPECT_EQ(fileio::JsonEscape("caf\xE9"), "caf\\udce9");
}

}  // namespace
