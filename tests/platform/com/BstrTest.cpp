#include <gtest/gtest.h>

#include <cstring>

#include "platform/com/Bstr.h"

namespace com {
namespace {

TEST(Bstr, LengthsAndPrefix) {
  BSTR s = SysAllocString(u"hello");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(SysStringLen(s), 5u);
  EXPECT_EQ(SysStringByteLen(s), 10u);
  EXPECT_EQ(s[5], u'\0');
  std::uint32_t prefix;
  std::memcpy(&prefix, reinterpret_cast<const char*>(s) - 4, 4);
  EXPECT_EQ(prefix, 10u);
  SysFreeString(s);
}

TEST(Bstr, NullReadsAsEmptyAndEmptyIsNotNull) {
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  EXPECT_EQ(SysStringByteLen(nullptr), 0u);
  EXPECT_EQ(SysAllocString(nullptr), nullptr);
  SysFreeString(nullptr);
  BSTR empty = SysAllocString(u"");
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(SysStringLen(empty), 0u);
  SysFreeString(empty);
  Bstr wrapped{std::u16string_view()};
  EXPECT_NE(wrapped.Get(), nullptr);
  EXPECT_TRUE(Bstr().Empty());
  EXPECT_EQ(Bstr().ToUtf8(), "");
}

TEST(Bstr, EmbeddedZerosCountAndCopy) {
  const char16_t raw[] = {u'a', 0, u'b', 0, 0};
  BSTR s = SysAllocStringLen(raw, 4);
  EXPECT_EQ(SysStringLen(s), 4u);
  EXPECT_EQ(s[2], u'b');
  Bstr owner;
  owner.Attach(s);
  Bstr copy = owner.Copy();
  EXPECT_NE(copy.Get(), owner.Get());
  EXPECT_EQ(copy.View(), owner.View());
  EXPECT_EQ(copy.Length(), 4u);
  EXPECT_EQ(Bstr::CopyOf(owner.Get()).Length(), 4u);
  EXPECT_EQ(Bstr(owner.Get()).Length(), 1u);  // as a zero-terminated string it ends early
  EXPECT_EQ(Bstr::CopyOf(nullptr).Get(), nullptr);
  BSTR zeros = SysAllocStringLen(nullptr, 3);
  EXPECT_EQ(SysStringLen(zeros), 3u);
  EXPECT_EQ(zeros[0], 0);
  EXPECT_EQ(zeros[3], 0);
  SysFreeString(zeros);
}

TEST(Bstr, OddByteLengths) {
  BSTR s = SysAllocStringByteLen("abc", 3);
  EXPECT_EQ(SysStringByteLen(s), 3u);
  EXPECT_EQ(SysStringLen(s), 1u);
  SysFreeString(s);
}

TEST(Bstr, ReAllocReplacesContents) {
  BSTR s = SysAllocString(u"first");
  EXPECT_EQ(SysReAllocString(&s, u"second!"), TRUE);
  EXPECT_EQ(std::u16string(s, SysStringLen(s)), u"second!");
  EXPECT_EQ(SysReAllocString(&s, nullptr), TRUE);
  EXPECT_EQ(SysStringLen(s), 0u);
  EXPECT_NE(s, nullptr);
  EXPECT_EQ(SysReAllocStringLen(&s, u"xyz", 2), TRUE);
  EXPECT_EQ(std::u16string(s, SysStringLen(s)), u"xy");
  EXPECT_EQ(SysReAllocString(nullptr, u"x"), FALSE);
  SysFreeString(s);
}

TEST(Bstr, OwnerConvertsAndTransfers) {
  Bstr path = Bstr::FromUtf8("/tmp/caf\xC3\xA9.mp3");
  EXPECT_EQ(path.View(), u"/tmp/caf\u00e9.mp3");
  EXPECT_EQ(path.ToUtf8(), "/tmp/caf\xC3\xA9.mp3");
  EXPECT_EQ(path.ToAnsi(), "/tmp/caf\xE9.mp3");
  Bstr tag = Bstr::FromAnsi("\x93quoted\x94");
  EXPECT_EQ(tag.View(), u"\u201Cquoted\u201D");

  Bstr moved = std::move(path);
  EXPECT_EQ(path.Get(), nullptr);
  BSTR raw = moved.Detach();
  EXPECT_EQ(moved.Get(), nullptr);
  SysFreeString(raw);

  Bstr out;
  *out.Put() = SysAllocString(u"from callee");
  EXPECT_EQ(out.ToU16(), u"from callee");
  *out.Put() = SysAllocString(u"again");  // Put frees the previous string
  EXPECT_EQ(out.Length(), 5u);
}

}  // namespace
}  // namespace com
