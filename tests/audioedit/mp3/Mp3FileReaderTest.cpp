// The MPEG file reader: the same PCM as decoding the whole file frame by frame, for any
// request size; files behind a large tag; bad and truncated files.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <memory>
#include <random>

#include "audioedit/Mp3FileReader.h"
#include "audioedit/mp3/InputFile.h"
#include "audioedit/mp3/Mp3FileReader.h"
#include "mpegaudio/Mp3Decoder.h"
#include "tests/audioedit/mp3/StreamBuilder.h"

namespace audioedit {
namespace {

// Every frame of the file, decoded until the decoder reports the end of the stream.
std::vector<std::uint8_t> DecodeWholeFile(const std::string& path) {
  class Source final : public mpegaudio::Mp3Source {
   public:
    explicit Source(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
    std::int32_t Read(std::uint8_t* buffer, std::uint32_t count, std::uint32_t& got) override {
      got = static_cast<std::uint32_t>(std::min<std::size_t>(count, bytes_.size() - pos_));
      std::memcpy(buffer, bytes_.data() + pos_, got);
      pos_ += got;
      return 0;
    }
    bool IsEof() override { return pos_ == bytes_.size(); }

   private:
    std::vector<std::uint8_t> bytes_;
    std::size_t pos_ = 0;
  } source(mp3test::ReadFile(path));
  mpegaudio::Mp3Decoder* decoder = nullptr;
  EXPECT_EQ(mpegaudio::CreateMp3Decoder(&decoder), mpegaudio::SscOk);
  decoder->SetSource(&source);
  std::vector<std::uint8_t> pcm;
  std::uint8_t frame[mpegaudio::kMaxFrameBytes16];
  while (!decoder->IsEndOfStream()) {
    std::uint32_t written = 0;
    decoder->DecodeFrame(frame, sizeof frame, written);
    pcm.insert(pcm.end(), frame, frame + written);
  }
  decoder->Destroy();
  return pcm;
}

std::vector<std::uint8_t> ReadAll(AudioReader& reader, std::uint32_t request) {
  std::vector<std::uint8_t> pcm;
  std::vector<std::uint8_t> buffer(request);
  for (int calls = 0; calls < 100000; ++calls) {
    std::uint32_t got = 12345;
    EXPECT_TRUE(reader.Read(buffer.data(), request, got));
    if (got == 0) break;
    EXPECT_LE(got, request);
    pcm.insert(pcm.end(), buffer.begin(), buffer.begin() + got);
  }
  return pcm;
}

std::string TempPath(const std::string& name) { return ::testing::TempDir() + "/ana_mp3_" + name; }

TEST(Mp3FileReaderTest, DeliversTheDecodersPcmForAnyRequestSize) {
  for (const char* name : {"cbr_44100.mp3", "vbr_22050.mp3", "vbrt_8000.mp3", "abr_48000.mp3"}) {
    const std::string path = mp3test::Fixture(name);
    const std::vector<std::uint8_t> expected = DecodeWholeFile(path);
    ASSERT_GT(expected.size(), 10000u) << name;
    for (std::uint32_t request : {512000u, 4705u, 7777u, 1001u}) {
      Mp3FileReader reader;
      ASSERT_TRUE(reader.Open(path)) << name;
      EXPECT_EQ(ReadAll(reader, request), expected) << name << " in requests of " << request;
      std::uint32_t got = 1;
      EXPECT_TRUE(reader.Read(std::vector<std::uint8_t>(request).data(), request, got));
      EXPECT_EQ(got, 0u);
    }
  }
}

TEST(Mp3FileReaderTest, ReportsPcmFormatAndDuration) {
  std::unique_ptr<AudioReader> reader = CreateMp3FileReader();
  ASSERT_NE(reader, nullptr);
  WAVEFORMATEX f{};
  std::uint32_t ms = 7;
  EXPECT_FALSE(reader->GetFormat(f));
  EXPECT_FALSE(reader->GetDuration(ms));
  ASSERT_TRUE(reader->Open(mp3test::Fixture("cbr_44100.mp3")));
  ASSERT_TRUE(reader->GetFormat(f));
  EXPECT_EQ(f.wFormatTag, WAVE_FORMAT_PCM);
  EXPECT_EQ(f.nChannels, 2);
  EXPECT_EQ(f.nSamplesPerSec, 44100u);
  EXPECT_EQ(f.nAvgBytesPerSec, 176400u);
  EXPECT_EQ(f.nBlockAlign, 4);
  EXPECT_EQ(f.wBitsPerSample, 16);
  ASSERT_TRUE(reader->GetDuration(ms));
  const auto size = mp3test::ReadFile(mp3test::Fixture("cbr_44100.mp3")).size();
  EXPECT_EQ(ms, static_cast<std::uint32_t>(size / 16000.0 * 1000));
  EXPECT_TRUE(reader->Close());
  EXPECT_FALSE(reader->GetFormat(f));
  std::uint32_t got = 0;
  std::uint8_t buffer[8];
  EXPECT_FALSE(reader->Read(buffer, sizeof buffer, got));

  ASSERT_TRUE(reader->Open(mp3test::Fixture("cbr_8000.mp3")));
  ASSERT_TRUE(reader->GetFormat(f));
  EXPECT_EQ(f.nChannels, 1);
  EXPECT_EQ(f.nSamplesPerSec, 8000u);
  EXPECT_EQ(f.nBlockAlign, 2);
}

TEST(Mp3FileReaderTest, FileBehindALargeTagDecodesCompletelyWithTheAudiosDuration) {
  const std::vector<std::uint8_t> expected = DecodeWholeFile(mp3test::Fixture("cbr_44100.mp3"));
  Mp3FileReader plain;
  ASSERT_TRUE(plain.Open(mp3test::Fixture("cbr_44100.mp3")));
  Mp3FileReader tagged;
  ASSERT_TRUE(tagged.Open(mp3test::Fixture("tagged_44100.mp3")));
  std::uint32_t plainMs = 0;
  std::uint32_t taggedMs = 1;
  ASSERT_TRUE(plain.GetDuration(plainMs));
  ASSERT_TRUE(tagged.GetDuration(taggedMs));
  EXPECT_EQ(taggedMs, plainMs);
  EXPECT_EQ(ReadAll(tagged, 512000), expected);
}

TEST(Mp3FileReaderTest, LeadingJunkWithoutTagIsSearchedThrough) {
  // 64 KiB of zeros (no tag header) before the audio: the decoder searches through it.
  std::vector<std::uint8_t> bytes(64 * 1024, 0);
  const std::vector<std::uint8_t> audio = mp3test::ReadFile(mp3test::Fixture("cbr_44100.mp3"));
  bytes.insert(bytes.end(), audio.begin(), audio.end());
  const std::string path = TempPath("junk.mp3");
  mp3test::WriteFile(path, bytes);
  Mp3FileReader reader;
  ASSERT_TRUE(reader.Open(path));
  EXPECT_EQ(ReadAll(reader, 512000), DecodeWholeFile(mp3test::Fixture("cbr_44100.mp3")));
  std::remove(path.c_str());
}

TEST(Mp3FileReaderTest, TruncatedFileEndsEarlyWithoutError) {
  const std::vector<std::uint8_t> whole = DecodeWholeFile(mp3test::Fixture("cbr_44100.mp3"));
  Mp3FileReader reader;
  ASSERT_TRUE(reader.Open(mp3test::Fixture("truncated_44100.mp3")));
  const std::vector<std::uint8_t> pcm = ReadAll(reader, 512000);
  EXPECT_GT(pcm.size(), whole.size() / 3);
  EXPECT_LT(pcm.size(), whole.size());
  EXPECT_EQ(pcm.size() % 4608, 0u);
}

TEST(Mp3FileReaderTest, OpenFailsCleanlyOnWhatIsNoLayer3Stream) {
  mp3test::FrameSpec layer2;
  layer2.layer = 2;
  std::mt19937 rng(11);
  std::vector<std::uint8_t> noise(300000);
  for (auto& b : noise) b = static_cast<std::uint8_t>(rng());
  const std::vector<std::pair<std::string, std::vector<std::uint8_t>>> files = {
      {"layer2.mp3", mp3test::Frames(layer2, 200)},
      {"noise.mp3", noise},
      {"empty.mp3", {}},
  };
  Mp3FileReader reader;
  for (const auto& [name, bytes] : files) {
    const std::string path = TempPath(name);
    mp3test::WriteFile(path, bytes);
    EXPECT_FALSE(reader.Open(path)) << name;
    WAVEFORMATEX f{};
    EXPECT_FALSE(reader.GetFormat(f)) << name;
    std::remove(path.c_str());
  }
  EXPECT_FALSE(reader.Open(TempPath("missing.mp3")));
  EXPECT_FALSE(reader.Open(::testing::TempDir()));
  // A failed Open leaves the reader usable.
  EXPECT_TRUE(reader.Open(mp3test::Fixture("cbr_16000.mp3")));
}

TEST(Mp3FileReaderTest, RefusesWhatIsNoRegularFileWithoutWaiting) {
  const std::string fifo = TempPath("fifo.mp3");
  std::remove(fifo.c_str());
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  Mp3FileReader reader;
  EXPECT_FALSE(reader.Open(fifo));  // a plain open would wait for a writer
  EXPECT_FALSE(reader.Open("/dev/zero"));
  InputFile file;
  EXPECT_FALSE(file.Open(fifo));
  EXPECT_EQ(file.Error(), "is a FIFO, not a regular file");
  EXPECT_FALSE(file.Open(::testing::TempDir()));
  EXPECT_EQ(file.Error(), "Is a directory");
  std::remove(fifo.c_str());
}

// Two streams joined: the reader announces the first frame's layout and delivers every
// frame of both in it.
TEST(Mp3FileReaderTest, AChannelCountChangeKeepsTheFirstFramesLayout) {
  mp3test::FrameSpec mono;
  mono.mode = 3;
  mp3test::FrameSpec stereo;
  const std::vector<std::uint8_t> monoFrames = mp3test::Frames(mono, 40);
  const std::vector<std::uint8_t> stereoFrames = mp3test::Frames(stereo, 40);
  for (const bool monoFirst : {true, false}) {
    std::vector<std::uint8_t> joined = monoFirst ? monoFrames : stereoFrames;
    const std::vector<std::uint8_t>& second = monoFirst ? stereoFrames : monoFrames;
    joined.insert(joined.end(), second.begin(), second.end());
    const std::string path = TempPath("joined.mp3");
    mp3test::WriteFile(path, joined);
    Mp3FileReader reader;
    ASSERT_TRUE(reader.Open(path));
    WAVEFORMATEX format{};
    ASSERT_TRUE(reader.GetFormat(format));
    EXPECT_EQ(format.nChannels, monoFirst ? 1 : 2);
    const std::vector<std::uint8_t> pcm = ReadAll(reader, 512000);
    // 80 frames of 1152 samples, less what the decoder holds back at the start.
    EXPECT_EQ(pcm.size() % format.nBlockAlign, 0u);
    EXPECT_GT(pcm.size(), 70u * 1152 * format.nBlockAlign);
    EXPECT_LE(pcm.size(), 80u * 1152 * format.nBlockAlign);
    std::remove(path.c_str());
  }
}

TEST(InputFileTest, ReportsInvalidValuesWhenClosed) {
  InputFile file;
  std::uint32_t got = 5;
  std::uint8_t b[4];
  EXPECT_EQ(file.GetSize(), InputFile::kInvalid);
  EXPECT_EQ(file.Tell(), InputFile::kInvalid);
  EXPECT_FALSE(file.Seek(0));
  EXPECT_FALSE(file.Read(b, 4, got));
  EXPECT_EQ(got, 0u);
  ASSERT_TRUE(file.Open(mp3test::Fixture("cbr_48000.mp3")));
  EXPECT_TRUE(file.Seek(100));
  EXPECT_EQ(file.Tell(), 100u);
  EXPECT_TRUE(file.Read(b, 4, got));
  EXPECT_EQ(got, 4u);
  EXPECT_EQ(file.Tell(), 104u);
}

}  // namespace
}  // namespace audioedit
