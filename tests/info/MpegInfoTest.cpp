#include "info/MpegInfo.h"

#include <gtest/gtest.h>

#include <cstring>

#include "info/MpegFrameScanner.h"
#include "tests/info/TestFiles.h"

namespace info {
namespace {

using test::Bytes;

// Frames in a lame VBR file: the count in its Xing header plus the header frame itself.
std::uint32_t XingFrames(const Bytes& file) {
  for (std::size_t i = 0; i + 16 < file.size() && i < 2000; ++i)
    if (std::memcmp(file.data() + i, "Xing", 4) == 0) {
      const std::uint8_t* p = file.data() + i + 8;
      return ((std::uint32_t{p[0]} << 24) | (p[1] << 16) | (p[2] << 8) | p[3]) + 1;
    }
  return 0;
}

TEST(MpegInfo, ConstantBitrateWalksTheFirstHundredFrames) {
  MpegInfo mpeg;
  ASSERT_TRUE(mpeg.Load(test::FixturePath("cbr128.mp3")));
  const auto size = test::ReadBytes(test::FixturePath("cbr128.mp3")).size();
  EXPECT_EQ(mpeg.channels, 2);
  EXPECT_EQ(mpeg.bitrate, 128000);
  EXPECT_EQ(mpeg.samplingRate, 44100);
  EXPECT_EQ(mpeg.frames, 100);
  EXPECT_EQ(mpeg.durationMs, static_cast<std::int32_t>(size * 8000 / 128000));
  EXPECT_EQ(mpeg.StatisticsText(), "Mode: Stereo\r\nBitrate: 128000 bps\r\nFrequency: 44100 Hz\r\nFrames: 100\r\n"
                                   "Duration: " + std::to_string(mpeg.durationMs / 1000) + "." +
                                   std::to_string(mpeg.durationMs % 1000 + 1000).substr(1) + " secs\r\n");
}

TEST(MpegInfo, TagsDoNotCountTowardsTheDuration) {
  MpegInfo plain, tagged, big;
  ASSERT_TRUE(plain.Load(test::FixturePath("cbr128.mp3")));
  ASSERT_TRUE(tagged.Load(test::FixturePath("tagged.mp3")));  // ID3v2 with pictures and ID3v1
  ASSERT_TRUE(big.Load(test::FixturePath("bigpicture.mp3")));  // a 200 KB picture
  EXPECT_EQ(tagged.durationMs, plain.durationMs);
  EXPECT_EQ(big.durationMs, plain.durationMs);
  EXPECT_EQ(tagged.frames, 100);
  MpegInfo v1;
  ASSERT_TRUE(v1.Load(test::FixturePath("v1only.mp3")));
  EXPECT_EQ(v1.durationMs, plain.durationMs);
}

TEST(MpegInfo, VariableBitrateWalksTheWholeFile) {
  const Bytes file = test::ReadBytes(test::FixturePath("vbr.mp3"));
  const std::uint32_t frames = XingFrames(file);
  ASSERT_GT(frames, 100u);
  MpegInfo mpeg;
  ASSERT_TRUE(mpeg.Load(test::FixturePath("vbr.mp3")));
  EXPECT_EQ(static_cast<std::uint32_t>(mpeg.frames), frames);
  EXPECT_EQ(mpeg.durationMs, static_cast<std::int32_t>(frames * (1152000.0 / 44100)));
  EXPECT_NE(mpeg.bitrate % 1000, 0);  // an average, not a table value
}

TEST(MpegInfo, LowSamplingFrequencies) {
  MpegInfo mpeg;
  ASSERT_TRUE(mpeg.Load(test::FixturePath("mono22k.mp3")));
  EXPECT_EQ(mpeg.channels, 1);
  EXPECT_EQ(mpeg.samplingRate, 22050);
  EXPECT_EQ(mpeg.bitrate, 32000);
  EXPECT_NE(mpeg.StatisticsText().find("Mode: Mono\r\n"), std::string::npos);
  EXPECT_FALSE(mpeg.Load(test::FixturePath("mpeg25.mp3")));  // MPEG-2.5 has no 12-bit sync
}

TEST(MpegInfo, FalseSyncInJunkFailsTheScan) {
  test::TempDir dir;
  Bytes frames = test::MpegFrames(10);
  Bytes junk{0x12, 0x34, 0xFF, 0xF0, 0x00, 0x00, 0x56};  // sync bits, bitrate index 0
  frames.insert(frames.begin() + 417 * 3, junk.begin(), junk.end());
  test::WriteBytes(dir.File("junk.mp3"), frames);
  MpegInfo mpeg;
  EXPECT_FALSE(mpeg.Load(dir.File("junk.mp3")));
  Bytes clean = test::MpegFrames(10);
  clean.insert(clean.begin() + 417 * 3, {0x12, 0x34, 0x56});
  test::WriteBytes(dir.File("clean.mp3"), clean);
  ASSERT_TRUE(mpeg.Load(dir.File("clean.mp3")));
  EXPECT_EQ(mpeg.frames, 10);
}

TEST(MpegInfo, TinyAndMissingFiles) {
  test::TempDir dir;
  test::WriteBytes(dir.File("empty.mp3"), {});
  Bytes tiny = test::MpegFrames(1);
  tiny.resize(128);
  test::WriteBytes(dir.File("tiny.mp3"), tiny);
  MpegInfo mpeg;
  EXPECT_FALSE(mpeg.Load(dir.File("empty.mp3")));
  EXPECT_FALSE(mpeg.Load(dir.File("tiny.mp3")));
  EXPECT_FALSE(mpeg.Load(dir.File("missing.mp3")));
  EXPECT_FALSE(mpeg.Load(dir.path()));
}

TEST(MpegFrameScanner, ParseHeaderSizesAndDurations) {
  MpegFrameScanner scanner;
  const Bytes layer3 = {0xFF, 0xFB, 0x90, 0x00};
  scanner.Init(layer3);
  ASSERT_TRUE(scanner.ParseHeader());
  EXPECT_EQ(scanner.samplingRate(), 44100);
  EXPECT_TRUE(scanner.isStereo());
  const Bytes free = {0xFF, 0xFB, 0x00, 0x00};  // bitrate index 0
  scanner.Init(free);
  EXPECT_FALSE(scanner.ParseHeader());
  const Bytes forbidden = {0xFF, 0xFB, 0xF0, 0x00};  // bitrate index 15
  scanner.Init(forbidden);
  EXPECT_FALSE(scanner.ParseHeader());
  const Bytes layer1 = {0xFF, 0xFF, 0x90, 0xC0};  // MPEG-1 Layer I mono
  scanner.Init(layer1);
  ASSERT_TRUE(scanner.ParseHeader());
  EXPECT_FALSE(scanner.isStereo());
}

}  // namespace
}  // namespace info
