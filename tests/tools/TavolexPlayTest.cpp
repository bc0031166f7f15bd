// `tavolex play` as a process, on the fake sink (real time, no sound device) with the filter
// graph registered in a temporary class registry.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/launcher/ProcessRunner.h"
#include "tests/platform/media/PlaybackTestSupport.h"
#include "tests/platform/registry/TempDir.h"

namespace {

const std::string kTool = PROJECT_BIN_DIR "/tavolex";
const std::string kStereo = TEST_DATA_DIR "/audio/stereo16.wav";  // 3.2 s

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The milliseconds of a position tick line, or -1 for any other line.
long TickMs(const std::string& line) {
  const std::string prefix = "event: AudioEditMsg 7 ";
  if (line.rfind(prefix, 0) != 0) return -1;
  return std::stol(line.substr(prefix.size()));
}

class TavolexPlay : public ::testing::Test {
 protected:
  testutil::ProcessResult Play(std::vector<std::string> args, bool registered = true) {
    args.insert(args.begin(), {kTool, "play"});
    const std::string registry = (dir_ / (registered ? "registry" : "empty-registry")).string();
    return testutil::RunProcess(args,
                                {{"COM_REGISTRY", registry},
                                 {"TAVOLEX_AUDIO_SINK", testplayback::kTestSink},
                                 {"TMPDIR", dir_.path().string()}},
                                dir_.path());
  }

  testutil::TempDir dir_;
  testplayback::RegisteredFilterGraph graph_{dir_ / "registry"};
};

TEST_F(TavolexPlay, PlaysFromTheStartFrameToTheEndAndPrintsTheEvents) {
  ASSERT_TRUE(graph_.Registered());
  const auto result = Play({kStereo, "--start", "150"});  // 2 s
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const auto lines = Lines(result.out);
  ASSERT_GE(lines.size(), 5u) << result.out;
  EXPECT_EQ(lines[0], "event: AudioEditMsg 1 0");  // the load as `tavolex peaks` shows it
  EXPECT_EQ(lines[lines.size() - 2], "event: AudioEditMsg 4 0");
  EXPECT_EQ(lines.back(), "event: AudioEditMsg 3 0");
  std::size_t loaded = 0;
  while (loaded < lines.size() && lines[loaded] != "event: AudioEditMsg 2 0") ++loaded;
  ASSERT_LT(loaded, lines.size()) << result.out;
  long last = 2000;
  for (std::size_t k = loaded + 1; k + 2 < lines.size(); ++k) {
    const long ms = TickMs(lines[k]);
    ASSERT_GE(ms, last) << lines[k];  // ticks only, from the start frame on
    EXPECT_LE(ms, 3200);
    last = ms;
  }
}

TEST_F(TavolexPlay, StopsAfterTheGivenSeconds) {
  ASSERT_TRUE(graph_.Registered());
  const auto result = Play({kStereo, "--seconds", "0.5"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  for (const std::string& line : Lines(result.out)) {
    EXPECT_NE(line, "event: AudioEditMsg 4 0");  // stopped by the command, not by the end
    const long ms = TickMs(line);
    if (ms >= 0) {
      EXPECT_LT(ms, 3200);
    }
  }
}

TEST_F(TavolexPlay, FailuresExitWithOneAndTheReason) {
  auto result = Play({kStereo}, false);
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("playback cannot be set up"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find(kStereo), std::string::npos) << result.err;

  const std::string missing = (dir_ / "missing.wav").string();
  result = Play({missing});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find(missing), std::string::npos) << result.err;
}

TEST_F(TavolexPlay, AnswersHelpVersionAndBadUsage) {
  auto result = Play({"--help"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out.rfind("usage: tavolex play AUDIO [--start FRAME] [--seconds N]\n", 0), 0u);
  result = Play({"--version"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out.rfind("tavolex play ", 0), 0u);
  for (const auto& args : std::vector<std::vector<std::string>>{{},
                                                                {kStereo, "--start"},
                                                                {kStereo, "--start", "-3"},
                                                                {kStereo, "--seconds", "0"},
                                                                {kStereo, "--seconds", "x"},
                                                                {kStereo, "--bogus"},
                                                                {kStereo, kStereo}}) {
    result = Play(args);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find("usage: tavolex play"), std::string::npos);
  }
}

}  // namespace
