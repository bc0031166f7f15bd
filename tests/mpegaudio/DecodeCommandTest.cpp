// The `tavolex decode` command: WAV and raw float output, exit statuses and messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const std::string kTool = std::string(PROJECT_BIN_DIR) + "/tavolex";
const std::string kFixture = std::string(TEST_DATA_DIR) + "/mpegaudio/m1_44100_stereo_cbr.mp3";

int RunTool(const std::string& args, std::string* err = nullptr) {
  const std::string errFile = ::testing::TempDir() + "/decode_err.txt";
  const int rc = std::system((kTool + " " + args + " 2>" + errFile).c_str());
  if (err) {
    std::ifstream f(errFile);
    *err = std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
  }
  return WEXITSTATUS(rc);
}

std::vector<unsigned char> Read(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

class DecodeCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::ifstream(kFixture).good()) GTEST_SKIP() << "no fixture";
  }
};

TEST_F(DecodeCommandTest, WritesA16BitWave) {
  const std::string out = ::testing::TempDir() + "/decoded.wav";
  ASSERT_EQ(RunTool("decode " + kFixture + " " + out), 0);
  const auto wav = Read(out);
  ASSERT_GT(wav.size(), 44u);
  EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
  EXPECT_EQ(wav[22], 2);                       // channels
  EXPECT_EQ(wav[24] | wav[25] << 8, 44100);    // rate
  const unsigned data = wav[40] | wav[41] << 8 | wav[42] << 16 | static_cast<unsigned>(wav[43]) << 24;
  EXPECT_EQ(data, wav.size() - 44);
  EXPECT_EQ(data % 4608, 0u);
}

TEST_F(DecodeCommandTest, WritesRawFloatsAtTwiceTheSize) {
  const std::string wav = ::testing::TempDir() + "/decoded2.wav";
  const std::string f32 = ::testing::TempDir() + "/decoded.f32";
  ASSERT_EQ(RunTool("decode " + kFixture + " " + wav), 0);
  ASSERT_EQ(RunTool("decode --float " + kFixture + " " + f32), 0);
  EXPECT_EQ(Read(f32).size(), 2 * (Read(wav).size() - 44));
}

TEST_F(DecodeCommandTest, ReportsFailuresAndUsage) {
  std::string err;
  EXPECT_EQ(RunTool("decode /nonexistent/x.mp3 " + ::testing::TempDir() + "/x.wav", &err), 1);
  EXPECT_NE(err.find("/nonexistent/x.mp3"), std::string::npos);
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);
  const std::string junk = ::testing::TempDir() + "/junk.mp3";
  std::ofstream(junk) << std::string(5000, 'x');
  EXPECT_EQ(RunTool("decode " + junk + " " + ::testing::TempDir() + "/y.wav", &err), 1);
  EXPECT_NE(err.find(junk), std::string::npos);
  EXPECT_EQ(RunTool("decode", &err), 2);
  EXPECT_EQ(RunTool("decode --float onlyone", &err), 2);
}

}  // namespace
