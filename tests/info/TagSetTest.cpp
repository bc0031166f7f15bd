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

std::string Escaped(std::string text) {
  for (std::size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += 2) text.replace(at, 1, "\\n");
  return text;
}

TEST(TagSet, Id3v1IsTheFallbackOnlyWithoutTheFrame) {
  test::TempDir dir;
  TagSet tags;
  ASSERT_TRUE(tags.Read(test::CopyFixture(dir, "v1only.mp3")));
  EXPECT_FALSE(tags.v2.present);
  EXPECT_EQ(tags.FrameText("TIT2"), "Old title");
  EXPECT_EQ(tags.FrameText("TCON"), "(17) Rock");
  EXPECT_EQ(tags.FrameText("TPE2"), std::nullopt);
  ASSERT_TRUE(tags.Read(test::CopyFixture(dir, "utf16title.mp3")));
  EXPECT_EQ(tags.FrameText("TIT2"), std::nullopt);
  EXPECT_EQ(tags.FrameText("TALB"), "Narrow album");
  EXPECT_FALSE(tags.Read(dir.File("missing.mp3")));
}

TEST(TagSet, TitleOnlySaveLayout) {
  test::TempDir dir;
  const std::string path = dir.File("plain.mp3");
  const Bytes audio = test::MpegFrames(5);
  test::WriteBytes(path, audio);
  TagSet tags;
  tags.SetFrameText("TIT2", "abc");
  ASSERT_TRUE(tags.Write(path));
  const Bytes bytes = test::ReadBytes(path);
  const Bytes head = Concat({Text("ID3"), {3, 0, 0, 0, 0, 0, 14}, Text("TIT2"), {0, 0, 0, 4, 0, 0, 0}, Text("abc")});
  ASSERT_EQ(bytes.size(), head.size() + audio.size() + 128);
  EXPECT_TRUE(std::equal(head.begin(), head.end(), bytes.begin()));
  EXPECT_TRUE(std::equal(audio.begin(), audio.end(), bytes.begin() + static_cast<long>(head.size())));
  EXPECT_EQ(Bytes(bytes.end() - 128, bytes.end() - 125), Text("TAG"));

  ASSERT_TRUE(tags.Write(path));
  EXPECT_EQ(test::ReadBytes(path), bytes);

  ASSERT_TRUE(tags.Write(dir.File("fresh.mp3")));
  EXPECT_EQ(test::ReadBytes(dir.File("fresh.mp3")).size(), head.size() + 128);
}

TEST(TagSet, EmptyTextRemovesTheFrame) {
  TagSet tags;
  tags.SetFrameText("TIT2", "abc");
  tags.SetFrameText("TALB", "album");
  tags.SetFrameText("TIT2", "");
  EXPECT_EQ(tags.v2.Find("TIT2"), -1);
  EXPECT_EQ(tags.v1.title, "");
  EXPECT_EQ(tags.FrameText("TALB"), "album");
}

TEST(TagSet, MutagenReadsWhatWeWrite) {
  test::TempDir dir;
  const std::string path = test::CopyFixture(dir, "cbr128.mp3");
  TagSet tags;
  tags.Read(path);
  for (const Expect& e : kTexts) tags.SetFrameText(e.frame, e.text);
  ASSERT_TRUE(tags.Write(path));
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
    EXPECT_EQ(Escaped(tags.FrameText(e.frame).value_or("<none>")), dump[e.mutagenKey]) << e.frame;
  }
}

TEST(TagSet, SavingATitleKeepsPicturesAndUnreadableFrames) {
  test::TempDir dir;
  const std::string path = test::CopyFixture(dir, "tagged.mp3");
  const std::string wide = test::CopyFixture(dir, "utf16title.mp3");
  TagSet tags;
  ASSERT_TRUE(tags.Read(path));
  tags.SetFrameText("TIT2", "Changed");
  ASSERT_TRUE(tags.Write(path));
  auto dump = test::MutagenDump(path);
  EXPECT_EQ(dump["TIT2"], "Changed");
  EXPECT_EQ(dump["TPE1"], "Fixture Artist");
  EXPECT_EQ(dump["pictures"], "2");
  ASSERT_TRUE(test::MutagenPictures(path, dir.path()));
  std::set<Bytes> pictures{test::ReadBytes(dir.File("mutagen-1.bin")), test::ReadBytes(dir.File("mutagen-2.bin"))};
  EXPECT_EQ(pictures, (std::set<Bytes>{test::ReadBytes(test::FixturePath("cover.png")),
                                       test::ReadBytes(test::FixturePath("back.png"))}));

  ASSERT_TRUE(tags.Read(wide));
  tags.SetFrameText("TALB", "Other album");
  ASSERT_TRUE(tags.Write(wide));
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
    TagSet tags;
    tags.Read(path);
    tags.SetFrameText("TIT2", "never written");
    ::_exit(tags.Write(path) ? 0 : 3);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 3);
  EXPECT_EQ(test::ReadBytes(path), before);
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 1) << "the temporary copy was left behind";

  TagSet tags;
  tags.Read(path);
  tags.SetFrameText("TIT2", "written");
  ASSERT_TRUE(tags.Write(path));
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

}  // namespace
}  // namespace info
