// `tavolex render` as a process: the PNG it writes, its exit codes, no peak file left over.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const std::string kTool = PROJECT_BIN_DIR "/tavolex";
const std::string kAudio = TEST_DATA_DIR "/audio/";

class TavolexRender : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "rendercliXXXXXX").string();
    dir_ = ::mkdtemp(pattern.data());
    std::filesystem::create_directory(dir_ / "tmp");
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  // Exit status of the tool with TMPDIR in the test's own directory.
  int Render(const std::string& args) {
    const std::string command =
        "TMPDIR='" + (dir_ / "tmp").string() + "' '" + kTool + "' render " + args + " 2>/dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string Png() const { return (dir_ / "out.png").string(); }
  std::vector<unsigned char> PngBytes() const {
    std::ifstream in(Png(), std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
  }

  std::filesystem::path dir_;
};

std::uint32_t BigEndian(const std::vector<unsigned char>& b, std::size_t at) {
  return (std::uint32_t{b[at]} << 24) | (std::uint32_t{b[at + 1]} << 16) |
         (std::uint32_t{b[at + 2]} << 8) | b[at + 3];
}

TEST_F(TavolexRender, WritesTheWindowAsAPngOfTheGivenSize) {
  ASSERT_EQ(Render("'" + kAudio + "stereo16.wav' --png '" + Png() +
                   "' --size 320x100 --zoom 2 --current 100 --divider start:10 split:120 end:230"),
            0);
  const std::vector<unsigned char> bytes = PngBytes();
  ASSERT_GT(bytes.size(), 24u);
  EXPECT_EQ(bytes[1], 'P');
  EXPECT_EQ(BigEndian(bytes, 16), 320u);
  EXPECT_EQ(BigEndian(bytes, 20), 100u);
  EXPECT_TRUE(std::filesystem::is_empty(dir_ / "tmp"));  // the peak file went with the control
}

TEST_F(TavolexRender, DefaultsToEightHundredByTwoHundred) {
  ASSERT_EQ(Render("'" + kAudio + "mono8.wav' --png '" + Png() + "'"), 0);
  const std::vector<unsigned char> bytes = PngBytes();
  ASSERT_GT(bytes.size(), 24u);
  EXPECT_EQ(BigEndian(bytes, 16), 800u);
  EXPECT_EQ(BigEndian(bytes, 20), 200u);
}

TEST_F(TavolexRender, ExitCodes) {
  EXPECT_EQ(Render("'" + kAudio + "notaudio.wav' --png '" + Png() + "'"), 1);
  EXPECT_FALSE(std::filesystem::exists(Png()));
  EXPECT_EQ(Render("'" + kAudio + "stereo16.wav'"), 2);          // no --png
  EXPECT_EQ(Render("--png '" + Png() + "'"), 2);                 // no audio
  EXPECT_EQ(Render("x.wav --png y.png --divider middle:3"), 2);  // bad kind
  EXPECT_EQ(Render("x.wav --png y.png --size 10"), 2);           // bad size
  EXPECT_EQ(Render("x.wav --png y.png --zoom 0"), 2);            // bad zoom
  EXPECT_EQ(Render("'" + kAudio + "stereo16.wav' --png /nonexistent-dir/x.png"), 1);
}

}  // namespace
