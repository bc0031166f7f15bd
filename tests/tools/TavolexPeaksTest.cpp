// `tavolex peaks` as a process: its exact output, the kept peak file and its exit codes.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kTool = PROJECT_BIN_DIR "/tavolex";
const std::string kAudio = TEST_DATA_DIR "/audio/";

struct ToolRun {
  int status = -1;
  std::vector<std::string> lines;
};

class TavolexPeaks : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "peakscliXXXXXX").string();
    dir_ = ::mkdtemp(pattern.data());
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  // Runs the tool with TMPDIR in the test's directory; stdout split into lines.
  ToolRun Peaks(const std::string& args) {
    const std::string command = "TMPDIR='" + dir_.string() + "' '" + kTool + "' peaks " + args +
                                " 2>/dev/null";
    ToolRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    std::string text;
    while (std::fgets(buffer, sizeof buffer, pipe)) text += buffer;
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) run.lines.push_back(line);
    return run;
  }
  std::size_t FilesLeft() const {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir_),
                                                  std::filesystem::directory_iterator()));
  }

  std::filesystem::path dir_;
};

std::vector<std::string> Tail(const std::vector<std::string>& lines, std::size_t n) {
  return {lines.end() - static_cast<long>(std::min(n, lines.size())), lines.end()};
}

TEST_F(TavolexPeaks, PrintsEventsResultInfoAndDividersAndKeepsTheFile) {
  const ToolRun first = Peaks("'" + kAudio + "stereo16.wav' --keep");
  ASSERT_EQ(first.status, 0);
  ASSERT_GE(first.lines.size(), 16u);
  EXPECT_EQ(first.lines[0], "event: AudioEditMsg 1 0");
  EXPECT_EQ(first.lines[1], "event: PeakFileProgress 1");
  const std::string peakLine = first.lines[first.lines.size() - 3];
  ASSERT_EQ(peakLine.rfind("PeakFileName: " + dir_.string() + "/wep", 0), 0u) << peakLine;
  const std::vector<std::string> expected = {
      "event: AudioEditMsg 8 0", "event: AudioEditMsg 2 0", "ErrorCode: 0",
      "ErrorString: AudioEditCtl: Success", "channels: 2", "bits: 16", "freq: 44100",
      "blockalign: 4", "duration: 3200", "BPS: 4", "total_peaks: 960", "sample_interval: 147",
      peakLine, "divider: 1 0", "divider: 2 240"};
  EXPECT_EQ(Tail(first.lines, expected.size()), expected);
  const std::string peak = peakLine.substr(std::string("PeakFileName: ").size());
  EXPECT_TRUE(std::filesystem::exists(peak));

  const ToolRun again = Peaks("'" + kAudio + "stereo16.wav' --peak-file '" + peak + "' --keep");
  ASSERT_EQ(again.status, 0);
  EXPECT_EQ(again.lines[0], "event: AudioEditMsg 8 0");  // accepted: no build, no progress
  EXPECT_EQ(again.lines[again.lines.size() - 3], peakLine);
  EXPECT_EQ(FilesLeft(), 1u);
}

TEST_F(TavolexPeaks, WithoutKeepTheFileGoesAndTheIntervalIsUsed) {
  const ToolRun run = Peaks("'" + kAudio + "mono8.wav' --interval 300");
  ASSERT_EQ(run.status, 0);
  const std::vector<std::string> info = {"channels: 1", "bits: 8", "freq: 22050",
                                         "blockalign: 1", "duration: 2400", "BPS: 1",
                                         "total_peaks: 176", "sample_interval: 300"};
  EXPECT_EQ(std::vector<std::string>(run.lines.end() - 11, run.lines.end() - 3), info);
  EXPECT_EQ(FilesLeft(), 0u);
}

TEST_F(TavolexPeaks, FailuresAndBadUsage) {
  const ToolRun missing = Peaks("'" + kAudio + "no-such.wav'");
  EXPECT_EQ(missing.status, 1);
  ASSERT_GE(missing.lines.size(), 3u);
  EXPECT_EQ(missing.lines[0], "event: AudioEditMsg 8 4");
  EXPECT_EQ(missing.lines[1], "ErrorCode: 4");
  EXPECT_EQ(missing.lines[2], "ErrorString: Unknown audio format.");
  EXPECT_EQ(Peaks("").status, 2);
  EXPECT_EQ(Peaks("a.wav --interval x").status, 2);
  EXPECT_EQ(Peaks("a.wav --bogus").status, 2);
}

}  // namespace
