#include <gtest/gtest.h>

#include "platform/registry/QuotedString.h"
#include "platform/registry/RegistryText.h"

namespace reg {
namespace {

TEST(QuotedString, EscapesAndReadsBackEveryByte) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  const std::string quoted = Quote(all);
  EXPECT_EQ(quoted.find('\n'), std::string::npos);
  std::size_t pos = 0;
  std::string back;
  ASSERT_EQ(ReadQuoted(quoted, pos, back), "");
  EXPECT_EQ(back, all);
  EXPECT_EQ(pos, quoted.size());
  EXPECT_EQ(Quote("a\"b\\c\td"), "\"a\\\"b\\\\c\\td\"");
}

TEST(QuotedString, RejectsMalformedInput) {
  for (std::string_view bad : {"abc", "\"abc", "\"a\\q\"", "\"a\\x4\"", "\"a\\", "\"a\nb\""}) {
    std::size_t pos = 0;
    std::string out = "keep";
    EXPECT_NE(ReadQuoted(bad, pos, out), "") << bad;
    EXPECT_EQ(pos, 0u);
    EXPECT_EQ(out, "keep");
  }
}

TEST(KeyTree, NamesIgnoreCaseButKeepTheirSpelling) {
  Key root;
  root.Create("CLSID\\{ABC}\\InprocServer32")->SetValue("ThreadingModel", std::string("Apartment"));
  ASSERT_NE(root.Find("clsid\\{abc}\\INPROCSERVER32"), nullptr);
  EXPECT_EQ(root.Find("clsid")->Name(), "CLSID");
  root.Find("clsid\\{abc}\\inprocserver32")->SetValue("threadingmodel", std::string("Both"));
  const auto& values = root.Find("CLSID\\{ABC}\\InprocServer32")->Values();
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values.begin()->first, "ThreadingModel");
  EXPECT_EQ(std::get<std::string>(values.begin()->second), "Both");
  EXPECT_EQ(root.Create("a\\\\b"), nullptr);
  EXPECT_EQ(root.Find("\\CLSID"), nullptr);
}

TEST(KeyTree, RemoveRespectsSubtreeFlag) {
  Key root;
  root.Create("A\\B\\C");
  EXPECT_EQ(root.Remove("A", false), Key::RemoveResult::kHasSubkeys);
  EXPECT_EQ(root.Remove("A\\X", true), Key::RemoveResult::kMissing);
  EXPECT_EQ(root.Remove("A\\B\\C", false), Key::RemoveResult::kRemoved);
  EXPECT_EQ(root.Remove("a", true), Key::RemoveResult::kRemoved);
  EXPECT_TRUE(root.Empty());
}

TEST(RegistryText, RoundTripKeepsEverything) {
  Key root;
  root.Create("Empty\\Nested");
  Key* k = root.Create("CLSID\\{F0884FF2-F827-4F03-8791-293AB03D2455}");
  k->SetValue("", std::string("Audio \"Edit\"\\Ctl\nClass"));
  k->SetValue("Flags", std::uint32_t{0xDEADBEEF});
  k->SetValue("Unicode", std::string("caf\xC3\xA9 \x01\x7F"));
  root.Create("Weird \"name\" \t")->SetValue("", std::string());
  const std::string text = FormatRegistryText(root);
  Key back;
  const Status s = ParseRegistryText(text, "reg", back);
  ASSERT_TRUE(s.ok()) << s.message;
  EXPECT_TRUE(back.SameAs(root)) << text;
  EXPECT_EQ(FormatRegistryText(back), text);
}

TEST(RegistryText, ReportsFileAndLineOfTheProblem) {
  const std::string header = std::string(kRegistryHeader) + "\n";
  const struct {
    std::string text;
    std::string expected;
  } cases[] = {
      {"", "reg.txt:1: empty file"},
      {"hello\n", "reg.txt:1: not a registry file"},
      {"comreg-registry 2\nend\n", "reg.txt:1: unsupported format version"},
      {header + "key \"A\"\nvalue \"x\" sz \"y\"\n", "reg.txt:3: file is truncated"},
      {header + "key \"A\"\nvalue \"x\" sz \"y", "reg.txt:3: unterminated quoted string"},
      {header + "value \"x\" sz \"y\"\nend\n", "reg.txt:2: value before the first key"},
      {header + "key\nend\n", "reg.txt:2: key line without a name"},
      {header + "key \"a\\\\b\"\nend\n", "reg.txt:2: key name is empty or contains a backslash"},
      {header + "key \"A\"\nvalue \"x\" dword 12\nend\n", "reg.txt:3: bad dword"},
      {header + "key \"A\"\nvalue \"x\" qword 0x1\nend\n", "reg.txt:3: unknown value type"},
      {header + "key \"A\" junk\nend\n", "reg.txt:2: expected a quoted string"},
      {header + "frob\nend\n", "reg.txt:2: unknown line 'frob'"},
      {header + "end\nkey \"A\"\n", "reg.txt:3: text after the end line"},
  };
  for (const auto& c : cases) {
    Key root;
    const Status s = ParseRegistryText(c.text, "reg.txt", root);
    EXPECT_EQ(s.code, com::REGDB_E_READREGDB) << c.text;
    EXPECT_EQ(s.message.rfind(c.expected, 0), 0u) << s.message;
  }
}

TEST(RegistryText, AcceptsCommentsBlanksAndIndentation) {
  const std::string text =
      std::string(kRegistryHeader) +
      "\r\n# note\n\n  key \"A\" \"B\"\n    value \"\" sz \"d\"\nend\n# after\n";
  Key root;
  ASSERT_TRUE(ParseRegistryText(text, "r", root).ok());
  ASSERT_NE(root.Find("A\\B"), nullptr);
  EXPECT_EQ(std::get<std::string>(*root.Find("A\\B")->GetValue("")), "d");
}

TEST(RegistryText, EveryTruncationOfAValidFileIsRejected) {
  Key root;
  root.Create("K1\\K2")->SetValue("v", std::string("text"));
  root.Create("K3")->SetValue("", std::uint32_t{7});
  const std::string text = FormatRegistryText(root);
  for (std::size_t n = 0; n < text.size() - 1; ++n) {
    Key back;
    const Status s = ParseRegistryText(std::string_view(text).substr(0, n), "r", back);
    EXPECT_FALSE(s.ok()) << n;
  }
}

// A key line naming `levels` nested keys "a".
std::string DeepKeyLine(std::size_t levels) {
  std::string line = "key";
  for (std::size_t i = 0; i < levels; ++i) line += " \"a\"";
  return line + "\n";
}

TEST(RegistryText, NestingIsLimitedWithTheLineOfTheProblem) {
  const std::string header = std::string(kRegistryHeader) + "\n";
  for (const std::size_t levels : {kMaxKeyDepth + 1, std::size_t{20'000}, std::size_t{500'000}}) {
    Key root;
    const Status s =
        ParseRegistryText(header + "# deep\n" + DeepKeyLine(levels) + "end\n", "r", root);
    EXPECT_EQ(s.code, com::REGDB_E_READREGDB);
    EXPECT_EQ(s.message, "r:3: key nested deeper than 512 levels");
  }
  Key root;
  ASSERT_TRUE(ParseRegistryText(header + DeepKeyLine(kMaxKeyDepth) + "end\n", "r", root).ok());
  EXPECT_EQ(root.Depth(), kMaxKeyDepth);
}

TEST(RegistryText, ProblemsQuoteOnlyAShortPrintableExcerpt) {
  const std::string header = std::string(kRegistryHeader) + "\n";
  const std::string garbage = std::string(10'000'000, 'x') + "\x01\xFF\x1B[2J";
  for (const std::string& line :
       {garbage, "\x1B[2J\x01\xFE" + garbage, "key \"A\"\nvalue \"v\" " + garbage,
        "key \"A\\" + std::string("\x1B") + "\""}) {
    Key root;
    const Status s = ParseRegistryText(header + line + "\nend\n", "r", root);
    EXPECT_EQ(s.code, com::REGDB_E_READREGDB);
    EXPECT_LE(s.message.size(), 120u) << s.message.substr(0, 200);
    for (const char c : s.message) EXPECT_TRUE(c >= 0x20 && c < 0x7F) << int(c);
  }
  EXPECT_EQ(Excerpt("ab\x01\xFF"), "ab\\x01\\xFF");
  EXPECT_EQ(Excerpt(std::string(50, 'y'), 4), "yyyy...");
}

TEST(KeyTree, DeepTreesAreWalkedCopiedComparedAndFreedWithoutRecursion) {
  // Far deeper than a recursive walk survives on a thread's stack.
  constexpr std::size_t kLevels = 300'000;
  std::string path = "a";
  for (std::size_t i = 1; i < kLevels; ++i) path += "\\a";
  auto root = std::make_unique<Key>();
  Key* leaf = root->Create(path);
  ASSERT_NE(leaf, nullptr);
  leaf->SetValue("v", std::uint32_t{1});
  EXPECT_EQ(root->Depth(), kLevels);
  const std::unique_ptr<Key> copy = root->Clone();
  EXPECT_TRUE(copy->SameAs(*root));
  leaf->SetValue("v", std::uint32_t{2});
  EXPECT_FALSE(copy->SameAs(*root));
  std::string limited;
  EXPECT_FALSE(FormatRegistryText(*root, 1 << 20, limited));  // quadratic text: cut short
  EXPECT_LE(limited.size(), (1u << 20) + kLevels * 4 + 16);
  root.reset();
}

}  // namespace
}  // namespace reg
