#include <gtest/gtest.h>

#include <cstdio>
#include <sys/wait.h>

#include "tests/info/TestFiles.h"

namespace info {
namespace {

struct ToolRun {
  int status;
  std::string out;
};

ToolRun Trackinfo(const std::string& arguments) {
  const std::string command = std::string(PROJECT_BIN_DIR) + "/trackinfo " + arguments + " 2>/dev/null";
  ToolRun run{-1, {}};
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
  const int status = ::pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

TEST(Trackinfo, ShowSetAndPictures) {
  test::TempDir dir;
  const std::string file = test::CopyFixture(dir, "tagged.mp3");
  ToolRun run = Trackinfo("show " + file);
  ASSERT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("eaLocation: " + file + "\neaChannels: 2\neaBitrate: 128000\neaFrequency: 44100\n"), std::string::npos);
  EXPECT_NE(run.out.find("eaStatistics: Mode: Stereo\\nBitrate: 128000 bps\\n"), std::string::npos);
  EXPECT_NE(run.out.find("eaPictures: 2\neaComment: A comment\n"), std::string::npos);
  EXPECT_NE(run.out.find("eaUnsyncedLyrics: Line one\\nLine two\n"), std::string::npos);

  EXPECT_EQ(Trackinfo("set " + file + " eaTitle=Other 'eaAlbum=New album' eaComment=").status, 0);
  run = Trackinfo("show " + file);
  EXPECT_NE(run.out.find("eaAlbum: New album\n"), std::string::npos);
  EXPECT_NE(run.out.find("eaTitle: Other\n"), std::string::npos);
  EXPECT_EQ(run.out.find("eaComment:"), std::string::npos);
  EXPECT_EQ(Trackinfo("set " + file + " eaNothing=1").status, 2);
  EXPECT_EQ(Trackinfo("set " + dir.File("no/folder.mp3") + " eaTitle=x").status, 1);
  EXPECT_EQ(Trackinfo("show " + dir.File("missing.mp3")).status, 1);
  EXPECT_EQ(Trackinfo("frobnicate").status, 2);

  ASSERT_EQ(Trackinfo("pictures " + file + " " + dir.path()).status, 0);
  const auto one = test::ReadBytes(dir.File("picture-1.bin"));
  const auto two = test::ReadBytes(dir.File("picture-2.bin"));
  const auto cover = test::ReadBytes(test::FixturePath("cover.png"));
  const auto back = test::ReadBytes(test::FixturePath("back.png"));
  EXPECT_TRUE((one == cover && two == back) || (one == back && two == cover));
}

}  // namespace
}  // namespace info
