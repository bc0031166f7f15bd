#include "info/TagSet.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "info/TagLayout.h"
#include "info/TextCodec.h"
#include "tests/info/TestFiles.h"

namespace info {
namespace {

using test::Bytes;
using test::Concat;
using test::Text;

struct Expect {
  const char* frame;
  const char* text;
  const char* mutagenKey;
};

// Every kind of frame the library writes, with a text mutagen must read back.
constexpr Expect kTexts[] = {
    {"TIT2", "My Title", "TIT2"},          {"TPE1", "My Artist", "TPE1"},
    {"TALB", "My Album", "TALB"},          {"TYER", "1999", "TYER"},
    {"COMM", "My comment", "COMM"},        {"TCON", "(17) Rock", "TCON"},
    {"TRCK", "3/9", "TRCK"},               {"WOAR", "http://artist/", "WOAR"},
    {"WCOM", "http://shop/", "WCOM"},      {"TXXX", "free text", "TXXX"},
    {"USLT", "la la\nla", "USLT"},         {"USER", "terms", "USER"},
    {"TPE2", "The Band", "TPE2"},          {"TPOS", "1/2", "TPOS"},
    {"PRIV", "secret", "PRIV"},            {"WXXX", "http://user/", "WXXX"},
};

// Loads `path` and sets the texts in one save; the library's reason on failure.
std::string Save(const std::string& path, std::initializer_list<std::pair<const char*, std::u16string>> texts) {
  std::string error;
  const bool ok = TagSet::Update(
      path, std::nullopt,
      [&texts](TagSet& tags) {
        for (const auto& [frame, text] : texts)
          if (!tags.SetFrameText(frame, text)) return false;
        return true;
      },
      error);
  return ok ? std::string() : error;
}

std::u16string Wide(const char* text) { return Utf8ToWide(text); }

std::string Narrow(const std::optional<std::u16string>& text) { return text ? WideToUtf8(*text) : "<none>"; }

std::string Escaped(std::string text) {
  for (std::size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += 2) text.replace(at, 1, "\\n");
  return text;
}

TEST(TagSet, Id3v1IsTheFallbackOnlyWithoutTheFrame) {
  test::TempDir dir;
  TagSet tags;
  ASSERT_TRUE(tags.Read(test::CopyFixture(dir, "v1only.mp3")));
  EXPECT_FALSE(tags.v2.present);
  EXPECT_EQ(tags.FrameText("TIT2"), u"Old title");
  EXPECT_EQ(tags.FrameText("TCON"), u"(17) Rock");
  EXPECT_EQ(tags.FrameText("TPE2"), std::nullopt);
  ASSERT_TRUE(tags.Read(test::CopyFixture(dir, "utf16title.mp3")));
  EXPECT_EQ(tags.FrameText("TIT2"), u"Wide title");
  EXPECT_EQ(tags.FrameText("TALB"), u"Narrow album");
  EXPECT_FALSE(tags.Read(dir.File("missing.mp3")));
}

TEST(TagSet, TitleOnlySaveLayout) {
  test::TempDir dir;
  const std::string path = dir.File("plain.mp3");
  const Bytes audio = test::MpegFrames(5);
  test::WriteBytes(path, audio);
  ASSERT_EQ(Save(path, {{"TIT2", u"abc"}}), "");
  const Bytes bytes = test::ReadBytes(path);
  const Bytes head = Concat({Text("ID3"), {3, 0, 0, 0, 0, 0x08, 0x0E}, Text("TIT2"), {0, 0, 0, 4, 0, 0, 0}, Text("abc")});
  ASSERT_EQ(bytes.size(), head.size() + 1024 + audio.size() + 128);
  EXPECT_TRUE(std::equal(head.begin(), head.end(), bytes.begin()));
  EXPECT_TRUE(std::equal(audio.begin(), audio.end(), bytes.begin() + static_cast<long>(head.size() + 1024)));
  EXPECT_EQ(Bytes(bytes.end() - 128, bytes.end() - 125), Text("TAG"));

  // Saving again: the tag fits where it was, so nothing moves.
  ASSERT_EQ(Save(path, {{"TIT2", u"xyz"}}), "");
  const Bytes again = test::ReadBytes(path);
  ASSERT_EQ(again.size(), bytes.size());
  EXPECT_EQ(Bytes(again.begin() + 21, again.begin() + 24), Text("xyz"));
}

TEST(TagSet, EmptyTextRemovesTheFrame) {
  TagSet tags;
  tags.SetFrameText("TIT2", u"abc");
  tags.SetFrameText("TALB", u"album");
  tags.SetFrameText("TIT2", u"");
  EXPECT_EQ(tags.v2.Find("TIT2"), -1);
  EXPECT_EQ(tags.v1.title, "");
  EXPECT_EQ(tags.FrameText("TALB"), u"album");
}

TEST(TagSet, MutagenReadsWhatWeWrite) {
  test::TempDir dir;
  const std::string path = test::CopyFixture(dir, "cbr128.mp3");
  std::string error;
  ASSERT_TRUE(TagSet::Update(
      path, std::nullopt,
      [](TagSet& tags) {
        for (const Expect& e : kTexts) tags.SetFrameText(e.frame, Wide(e.text));
        return true;
      },
      error))
      << error;
  auto dump = test::MutagenDump(path);
  for (const Expect& e : kTexts) EXPECT_EQ(dump[e.mutagenKey], Escaped(e.text)) << e.frame;
  EXPECT_EQ(dump["version"], "2.3");
  EXPECT_EQ(dump["audio_head"].substr(0, 3), "fff");
  EXPECT_EQ(dump["v1.TIT2"], "My Title");
  EXPECT_EQ(dump["v1.TPE1"], "My Artist");
  EXPECT_EQ(dump["v1.TALB"], "My Album");
  EXPECT_EQ(dump["v1.TYER"], "1999");
  EXPECT_EQ(dump["v1.COMM"], "My comment");
  EXPECT_EQ(dump["v1.genre"], "17");
  EXPECT_EQ(LocateAudio(test::ReadBytes(path)).begin, std::stoul(dump["tag_end"]));
}

TEST(TagSet, ReadsWhatMutagenWrites) {
  test::TempDir dir;
  const std::string path = test::CopyFixture(dir, "tagged.mp3");
  auto dump = test::MutagenDump(path);
  TagSet tags;
  ASSERT_TRUE(tags.Read(path));
  for (const Expect& e : kTexts) {
    ASSERT_TRUE(dump.count(e.mutagenKey)) << e.frame;
    EXPECT_EQ(Escaped(Narrow(tags.FrameText(e.frame))), dump[e.mutagenKey]) << e.frame;
  }
}

TEST(TagSet, SavingATitleKeepsPicturesAndUnreadableFrames) {
  test::TempDir dir;
  const std::string path = test::CopyFixture(dir, "tagged.mp3");
  const std::string wide = test::CopyFixture(dir, "utf16title.mp3");
  ASSERT_EQ(Save(path, {{"TIT2", u"Changed"}}), "");
  auto dump = test::MutagenDump(path);
  EXPECT_EQ(dump["TIT2"], "Changed");
  EXPECT_EQ(dump["TPE1"], "Fixture Artist");
  EXPECT_EQ(dump["pictures"], "2");
  ASSERT_TRUE(test::MutagenPictures(path, dir.path()));
  std::set<Bytes> pictures{test::ReadBytes(dir.File("mutagen-1.bin")), test::ReadBytes(dir.File("mutagen-2.bin"))};
  EXPECT_EQ(pictures, (std::set<Bytes>{test::ReadBytes(test::FixturePath("cover.png")),
                                       test::ReadBytes(test::FixturePath("back.png"))}));

  ASSERT_EQ(Save(wide, {{"TALB", u"Other album"}}), "");
  dump = test::MutagenDump(wide);
  EXPECT_EQ(dump["TIT2"], "Wide title");
  EXPECT_EQ(dump["TALB"], "Other album");
}

TEST(TagSet, AFailedSaveLeavesTheFileUntouched) {
  test::TempDir dir;
  const std::string path = test::CopyFixture(dir, "tagged.mp3");
  ::chmod(path.c_str(), 0640);
  const Bytes before = test::ReadBytes(path);
  const pid_t child = ::fork();
  if (child == 0) {  // a disk that fills up after 4 KiB
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4096, 4096};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ::_exit(Save(path, {{"TIT2", u"never written"}}).empty() ? 0 : 3);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 3);
  EXPECT_EQ(test::ReadBytes(path), before);
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 1) << "the temporary copy was left behind";

  ASSERT_EQ(Save(path, {{"TIT2", u"written"}}), "");
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

}  // namespace
}  // namespace info
