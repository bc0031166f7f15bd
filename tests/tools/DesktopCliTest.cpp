// `tavolex-desktop` as a process: --help and --version need no display, bad usage exits 2.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/launcher/ProcessRunner.h"

namespace {

const std::string kTool = PROJECT_BIN_DIR "/tavolex-desktop";

testutil::ProcessResult RunDesktop(const std::vector<std::string>& args) {
  std::vector<std::string> all{kTool};
  all.insert(all.end(), args.begin(), args.end());
  // No display at all: the answers must come before the window system is touched.
  return testutil::RunProcess(all, {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", ""}},
                              std::filesystem::temp_directory_path());
}

TEST(DesktopCli, HelpAndVersionNeedNoDisplay) {
  const auto help = RunDesktop({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.out.rfind("usage: tavolex-desktop [AUDIO] [--dividers-out FILE]", 0), 0u) << help.out;
  EXPECT_EQ(RunDesktop({"-h"}).out, help.out);
  const auto version = RunDesktop({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out.rfind("tavolex-desktop ", 0), 0u) << version.out;
}

TEST(DesktopCli, BadUsageExitsTwoAndNoDisplayExitsOne) {
  const auto unknown = RunDesktop({"--frobnicate"});
  EXPECT_EQ(unknown.exitCode, 2);
  EXPECT_NE(unknown.err.find("unknown option --frobnicate"), std::string::npos) << unknown.err;
  EXPECT_EQ(RunDesktop({"--dividers-out"}).exitCode, 2);
  EXPECT_EQ(RunDesktop({"a.wav", "b.wav"}).exitCode, 2);
  const auto noDisplay = RunDesktop({"a.wav"});
  EXPECT_EQ(noDisplay.exitCode, 1);
  EXPECT_NE(noDisplay.err.find("no display"), std::string::npos) << noDisplay.err;
}

}  // namespace
