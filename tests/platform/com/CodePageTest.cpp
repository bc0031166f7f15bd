#include <gtest/gtest.h>

#include "platform/com/CodePage.h"

namespace com {
namespace {

TEST(CodePage, Utf8RoundTripsEveryPlane) {
  const std::u16string wide = u"a\u00e9\u20ac\U0001F600z";
  const std::string utf8 = Utf16ToUtf8(wide);
  EXPECT_EQ(utf8, "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z");
  EXPECT_EQ(Utf8ToUtf16(utf8), wide);
  EXPECT_EQ(Utf8ToUtf16(""), u"");
}

TEST(CodePage, MalformedUtf8BecomesReplacementCharacters) {
  struct Case {
    std::string in;
    std::u16string out;
  };
  const Case cases[] = {
      {"\x80", u"\uFFFD"},                   // stray continuation
      {"a\xC3", u"a\uFFFD"},                 // truncated at the end: nothing read beyond
      {"\xE2\x82", u"\uFFFD"},               // truncated three-byte sequence
      {"\xC0\xAF", u"\uFFFD\uFFFD"},         // overlong '/'
      {"\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},  // overlong, second byte out of range
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},  // encoded surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
      {"\xFFx", u"\uFFFDx"},
      {"\xC3(", u"\uFFFD("},  // continuation missing; '(' is kept
  };
  for (const Case& c : cases) EXPECT_EQ(Utf8ToUtf16(c.in), c.out) << c.in.size();
}

TEST(CodePage, UnpairedSurrogatesBecomeReplacementCharacters) {
  const std::u16string lone = {u'a', char16_t(0xD800), u'b', char16_t(0xDC00)};
  EXPECT_EQ(Utf16ToUtf8(lone), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD");
  const std::u16string trailingHigh = {char16_t(0xD83D)};
  EXPECT_EQ(Utf16ToUtf8(trailingHigh), "\xEF\xBF\xBD");
}

TEST(CodePage, Cp1252HighBlockFollowsThePublishedTable) {
  EXPECT_EQ(AnsiToUtf16("\x80\x85\x8A\x91\x92\x93\x94\x96\x97\x99\x9F"),
            u"\u20AC\u2026\u0160\u2018\u2019\u201C\u201D\u2013\u2014\u2122\u0178");
  EXPECT_EQ(AnsiToUtf16("\xA0\xE9\xFF"), u"\u00A0\u00E9\u00FF");
  EXPECT_EQ(Utf16ToAnsi(u"\u20AC\u2122\u00E9"), "\x80\x99\xE9");
}

TEST(CodePage, EveryCp1252ByteSurvivesARoundTrip) {
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  const std::u16string wide = AnsiToUtf16(all);
  ASSERT_EQ(wide.size(), all.size());
  EXPECT_EQ(Utf16ToAnsi(wide), all);
}

TEST(CodePage, UnmappableCharactersBecomeQuestionMarks) {
  EXPECT_EQ(Utf16ToAnsi(u"x\u0100\u4E2D\U0001F600y"), "x???y");
  const std::u16string lone = {char16_t(0xDC00)};
  EXPECT_EQ(Utf16ToAnsi(lone), "?");
}

}  // namespace
}  // namespace com
