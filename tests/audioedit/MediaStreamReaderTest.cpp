#include <gtest/gtest.h>

#include "audioedit/MediaStreamReader.h"
#include "tests/platform/media/WavTestData.h"

namespace audioedit {
namespace {

using testdata::Fixture;

TEST(AudioReaderFactory, ChoosesByTheLastExtensionInAnyCase) {
  for (const char* name : {"SONG.MP3", "song.Mp3", "/a.b/c.mp3", ".mp3"})
    EXPECT_TRUE(HasMp3Extension(name)) << name;
  for (const char* name : {"song.mp3.wav", "song.mp2", "song", "dir.mp3/song", "song.mp3x", ""})
    EXPECT_FALSE(HasMp3Extension(name)) << name;
  const auto reader = CreateAudioReader("song.mp3.wav");
  EXPECT_NE(dynamic_cast<MediaStreamReader*>(reader.get()), nullptr);
}

class MediaStreamReaderFormats : public testing::TestWithParam<const char*> {};

TEST_P(MediaStreamReaderFormats, ReportsTheStreamsFormatAndDeliversItsPcm) {
  const testdata::WavData wav = testdata::ReadWav(Fixture(GetParam()));
  MediaStreamReader reader;
  ASSERT_TRUE(reader.Open(Fixture(GetParam()))) << reader.LastError();
  WAVEFORMATEX f{};
  ASSERT_TRUE(reader.GetFormat(f));
  EXPECT_EQ(f.wFormatTag, WAVE_FORMAT_PCM);
  EXPECT_EQ(f.nChannels, wav.channels);
  EXPECT_EQ(f.nSamplesPerSec, wav.rate);
  EXPECT_EQ(f.wBitsPerSample, wav.bits);
  EXPECT_EQ(f.nBlockAlign, wav.FrameBytes());
  EXPECT_EQ(f.nAvgBytesPerSec, wav.rate * wav.FrameBytes());
  std::uint32_t ms = 0;
  ASSERT_TRUE(reader.GetDuration(ms));
  EXPECT_EQ(ms, wav.DurationMs());

  std::vector<std::uint8_t> all, buf(MediaStreamReader::kMinReadSize);
  std::uint32_t got = 0;
  while (reader.Read(buf.data(), static_cast<std::uint32_t>(buf.size()), got) && got != 0)
    all.insert(all.end(), buf.begin(), buf.begin() + got);
  EXPECT_EQ(all, wav.pcm);
  EXPECT_TRUE(reader.Read(buf.data(), static_cast<std::uint32_t>(buf.size()), got));
  EXPECT_EQ(got, 0u);
  EXPECT_TRUE(reader.Close());
  EXPECT_FALSE(reader.GetFormat(f));
}

INSTANTIATE_TEST_SUITE_P(Wav, MediaStreamReaderFormats,
                         testing::Values("mono8.wav", "stereo16.wav", "stereo24.wav"));

TEST(MediaStreamReader, SmallBuffersAndClosedReadersDeliverNothing) {
  MediaStreamReader reader;
  std::vector<std::uint8_t> buf(MediaStreamReader::kMinReadSize);
  std::uint32_t got = 99;
  EXPECT_FALSE(reader.Read(buf.data(), static_cast<std::uint32_t>(buf.size()), got));
  EXPECT_EQ(got, 0u);
  ASSERT_TRUE(reader.Open(Fixture("stereo16.wav")));
  got = 99;
  EXPECT_FALSE(reader.Read(buf.data(), MediaStreamReader::kMinReadSize - 1, got));
  EXPECT_EQ(got, 0u);
  ASSERT_TRUE(reader.Open(Fixture("mono8.wav")));  // reopening closes the first stream
  WAVEFORMATEX f{};
  ASSERT_TRUE(reader.GetFormat(f));
  EXPECT_EQ(f.nChannels, 1);
}

TEST(MediaStreamReader, CompressedFilesDecodeToSixteenBits) {
  for (const char* name : {"tone.flac", "tone.ogg", "mpeg_named.wav"}) {
    MediaStreamReader reader;
    ASSERT_TRUE(reader.Open(Fixture(name))) << reader.LastError();
    WAVEFORMATEX f{};
    ASSERT_TRUE(reader.GetFormat(f));
    EXPECT_EQ(f.wBitsPerSample, 16) << name;
    EXPECT_EQ(f.nChannels, 2) << name;
    std::uint32_t ms = 0;
    ASSERT_TRUE(reader.GetDuration(ms));
    EXPECT_NEAR(ms, name[0] == 'm' ? 3200 : 2000, 60) << name;
  }
}

TEST(MediaStreamReader, FilesItCannotDecodeFailToOpenWithAReason) {
  MediaStreamReader reader;
  EXPECT_FALSE(reader.Open(Fixture("notaudio.wav")));
  EXPECT_NE(reader.LastError().find("notaudio.wav"), std::string::npos) << reader.LastError();
  EXPECT_FALSE(reader.Open(Fixture("missing.wav")));
  WAVEFORMATEX f{};
  EXPECT_FALSE(reader.GetFormat(f));
}

}  // namespace
}  // namespace audioedit
