#include <gtest/gtest.h>

#include "platform/media/AudioDecodeStream.h"
#include "tests/platform/media/WavTestData.h"

namespace {

using media::AudioDecodeStream;
using testdata::Fixture;

std::vector<std::uint8_t> ReadAll(AudioDecodeStream& s, std::size_t piece) {
  std::vector<std::uint8_t> all;
  std::vector<std::uint8_t> buf(piece);
  for (;;) {
    const std::size_t n = s.Read(buf.data(), buf.size());
    if (n == 0) break;
    all.insert(all.end(), buf.begin(), buf.begin() + static_cast<long>(n));
  }
  return all;
}

class WavDecode : public testing::TestWithParam<const char*> {};

TEST_P(WavDecode, DeliversTheFilesOwnIntegerSamplesUnchanged) {
  const std::string path = Fixture(GetParam());
  const testdata::WavData wav = testdata::ReadWav(path);
  ASSERT_GT(wav.pcm.size(), 0u);
  std::string error;
  auto s = AudioDecodeStream::Open(path, error);
  ASSERT_TRUE(s) << error;
  EXPECT_EQ(s->Format().channels, wav.channels);
  EXPECT_EQ(s->Format().rate, wav.rate);
  EXPECT_EQ(s->Format().bits, wav.bits);
  std::uint64_t ns = 0;
  ASSERT_TRUE(s->DurationNs(ns));
  EXPECT_EQ(ns / 1000000, wav.DurationMs());
  // An odd piece size crosses buffer and frame boundaries.
  EXPECT_EQ(ReadAll(*s, 1001), wav.pcm);
  EXPECT_FALSE(s->Failed());
  EXPECT_EQ(s->Read(nullptr, 0), 0u);
}

INSTANTIATE_TEST_SUITE_P(Formats, WavDecode,
                         testing::Values("mono8.wav", "stereo16.wav", "stereo24.wav", "three16.wav",
                                         "short16.wav"));

TEST(AudioDecodeStream, LosslessFileKeepsItsSixteenBits) {
  std::string error;
  auto s = AudioDecodeStream::Open(Fixture("tone.flac"), error);
  ASSERT_TRUE(s) << error;
  EXPECT_EQ(s->Format().bits, 16);
  EXPECT_EQ(s->Format().channels, 2);
  EXPECT_EQ(ReadAll(*s, 65536).size(), 88200u * 4);
}

TEST(AudioDecodeStream, FloatDecoderDeliversSixteenBits) {
  std::string error;
  auto s = AudioDecodeStream::Open(Fixture("tone.ogg"), error);
  ASSERT_TRUE(s) << error;
  EXPECT_EQ(s->Format().bits, 16);
  EXPECT_EQ(s->Format().rate, 44100u);
  const std::size_t bytes = ReadAll(*s, 65536).size();
  EXPECT_EQ(bytes % 4, 0u);
  EXPECT_NEAR(static_cast<double>(bytes / 4), 88200.0, 2048.0);
}

TEST(AudioDecodeStream, ErrorsNameTheFileAndTheReason) {
  std::string error;
  const std::string missing = Fixture("no-such-file.wav");
  EXPECT_FALSE(AudioDecodeStream::Open(missing, error));
  EXPECT_NE(error.find(missing), std::string::npos) << error;
  EXPECT_NE(error.find("does not exist"), std::string::npos) << error;

  error.clear();
  const std::string text = Fixture("notaudio.wav");
  EXPECT_FALSE(AudioDecodeStream::Open(text, error));
  EXPECT_NE(error.find(text), std::string::npos) << error;

  error.clear();
  EXPECT_FALSE(AudioDecodeStream::Open(std::string(TEST_DATA_DIR), error));
  EXPECT_FALSE(error.empty());
}

TEST(AudioDecodeStream, ClosingBeforeTheEndReleasesThePipeline) {
  std::string error;
  auto s = AudioDecodeStream::Open(Fixture("stereo16.wav"), error);
  ASSERT_TRUE(s) << error;
  std::uint8_t buf[4096];
  EXPECT_EQ(s->Read(buf, sizeof buf), sizeof buf);
  s.reset();  // must not hang with buffers still queued
}

}  // namespace
