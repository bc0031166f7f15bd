#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>
#include <vector>

#include "tests/info/TestFiles.h"

namespace info {
namespace {

struct ToolRun {
  int status;
  std::string out;
};

const std::string kTrackinfo = std::string(PROJECT_BIN_DIR) + "/trackinfo";

// Runs trackinfo with `arguments` (shell words); `out` gets stdout, and stderr too when
// `withErrors`.
ToolRun Trackinfo(const std::string& arguments, bool withErrors = false, const std::string& prefix = "") {
  const std::string command = prefix + kTrackinfo + " " + arguments + (withErrors ? " 2>&1" : " 2>/dev/null");
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
  EXPECT_EQ(Trackinfo("show").status, 2);

  ASSERT_EQ(Trackinfo("pictures " + file + " " + dir.path()).status, 0);
  const auto one = test::ReadBytes(dir.File("picture-1.bin"));
  const auto two = test::ReadBytes(dir.File("picture-2.bin"));
  const auto cover = test::ReadBytes(test::FixturePath("cover.png"));
  const auto back = test::ReadBytes(test::FixturePath("back.png"));
  EXPECT_TRUE((one == cover && two == back) || (one == back && two == cover));
}

TEST(Trackinfo, HelpVersionAndRefusedArguments) {
  ToolRun run = Trackinfo("--help");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out.rfind("usage: trackinfo show", 0), 0u);
  EXPECT_EQ(Trackinfo("-h").status, 0);
  run = Trackinfo("--version");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "trackinfo " PROJECT_VERSION "\n");

  test::TempDir dir;
  const std::string file = test::CopyFixture(dir, "v23plain.mp3");
  const auto before = test::ReadBytes(file);
  for (const char* assignment : {"eaBitrate=1", "eaPictures=2", "eaLocation=x", "eaStatistics=s", "'eaTitle=\xff'"}) {
    run = Trackinfo("set " + file + " eaAlbum=ok " + assignment, true);
    EXPECT_EQ(run.status, 2) << assignment;
    EXPECT_EQ(run.out.find('\n'), run.out.size() - 1) << "one line: " << run.out;
  }
  EXPECT_EQ(test::ReadBytes(file), before);
}

TEST(Trackinfo, FailuresGiveTheLibrarysReason) {
  test::TempDir dir;
  ToolRun run = Trackinfo("set " + dir.File("missing.mp3") + " eaTitle=x", true);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "trackinfo: cannot read " + dir.File("missing.mp3") + ": No such file or directory\n");
  EXPECT_FALSE(std::filesystem::exists(dir.File("missing.mp3")));
  run = Trackinfo("set " + test::CopyFixture(dir, "sound.wav") + " eaTitle=x", true);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("RIFF"), std::string::npos) << run.out;
  run = Trackinfo("show " + dir.File("missing.mp3"), true);
  EXPECT_EQ(run.out, "trackinfo: cannot read " + dir.File("missing.mp3") + ": No such file or directory\n");
}

TEST(Trackinfo, TextsAndNamesAsUtf8AndJson) {
  test::TempDir dir;
  const std::string file = dir.File("\xff-name.mp3");
  test::WriteBytes(file, test::ReadBytes(test::FixturePath("v23utf16.mp3")));
  const std::string quoted = "'" + file + "'";
  ToolRun run = Trackinfo("show " + quoted);
  ASSERT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("eaLocation: " + file + "\n"), std::string::npos);
  EXPECT_NE(run.out.find("eaTitle: \xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e\xe3\x81\xae\xe9\xa1\x8c\n"), std::string::npos);
  ASSERT_EQ(Trackinfo("set " + quoted + " 'eaAlbum=\xce\x9b\xce\xb1'").status, 0);
  run = Trackinfo("show --json " + quoted);
  ASSERT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("\"file\": \"" + dir.path() + "/\\uDCFF-name.mp3\""), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\"eaAlbum\": \"\xce\x9b\xce\xb1\""), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\"eaBitrate\": 128000"), std::string::npos) << run.out;
  EXPECT_EQ(test::MutagenDump(file)["TALB"], "\xce\x9b\xce\xb1");
}

TEST(Trackinfo, ConcurrentSetsKeepEveryValue) {
  test::TempDir dir;
  const std::string file = test::CopyFixture(dir, "v24.mp3");
  const std::vector<std::string> names = {"eaComposer", "eaCopyright", "eaEncodedBy", "eaLyricist", "eaContentGroup",
                                          "eaSubtitle", "eaLanguage", "eaMediaType", "eaPublisher", "eaConductor"};
  std::vector<pid_t> children;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string assignment = names[i] + "=value " + std::to_string(i);
    const pid_t child = ::fork();
    if (child == 0) {
      ::execl(kTrackinfo.c_str(), "trackinfo", "set", file.c_str(), assignment.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    children.push_back(child);
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  int succeeded = 0;
  for (const pid_t child : children) {
    int status = 0;
    pid_t done = 0;
    while ((done = ::waitpid(child, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_EQ(done, child) << "trackinfo set did not finish in 120 s";
    succeeded += WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }
  EXPECT_EQ(succeeded, 10);
  const ToolRun run = Trackinfo("show " + file);
  for (std::size_t i = 0; i < names.size(); ++i)
    EXPECT_NE(run.out.find(names[i] + ": value " + std::to_string(i) + "\n"), std::string::npos) << names[i];
  EXPECT_NE(run.out.find("eaTitle: Caf\xc3\xa9 \xe2\x98\x83\n"), std::string::npos);
}

TEST(Trackinfo, AFileTheCallerMayNotWriteIsRefused) {
  if (::geteuid() != 0 || ::access("/usr/bin/setpriv", X_OK) != 0) GTEST_SKIP() << "needs root to run as another user";
  test::TempDir dir;
  ASSERT_EQ(::chmod(dir.path().c_str(), 0777), 0);  // the folder is writable by everyone
  const std::string file = test::CopyFixture(dir, "v23plain.mp3");
  ASSERT_EQ(::chmod(file.c_str(), 0644), 0);
  const auto before = test::ReadBytes(file);
  const ToolRun run =
      Trackinfo("set " + file + " eaTitle=x", true, "/usr/bin/setpriv --reuid=65534 --regid=65534 --clear-groups ");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("it is not writable"), std::string::npos) << run.out;
  EXPECT_EQ(test::ReadBytes(file), before);
}

}  // namespace
}  // namespace info
