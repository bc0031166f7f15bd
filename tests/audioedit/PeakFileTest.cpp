#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cctype>
#include <csignal>

#include "audioedit/PeakFile.h"
#include "audioedit/PeakHeader.h"
#include "tests/audioedit/PeakTestSupport.h"
#include "tests/platform/media/WavTestData.h"

namespace audioedit {
namespace {

using testdata::Fixture;
using testing_support::ReadFile;
using testing_support::RecordedEvents;
using testing_support::SyntheticReader;
using testing_support::TempDir;

// Record k is frame (k + 1) * interval - 1, verbatim: every channel, every byte.
std::vector<std::uint8_t> ExpectedRecords(const std::vector<std::uint8_t>& pcm,
                                          std::uint16_t channels, std::uint16_t bits,
                                          std::uint32_t interval) {
  const std::size_t frameBytes = std::size_t{bits} / 8 * channels;
  std::vector<std::uint8_t> out;
  for (std::size_t f = interval - 1; (f + 1) * frameBytes <= pcm.size(); f += interval)
    out.insert(out.end(), pcm.begin() + static_cast<std::ptrdiff_t>(f * frameBytes),
               pcm.begin() + static_cast<std::ptrdiff_t>((f + 1) * frameBytes));
  return out;
}

AUDIO_INFO HeaderOf(const std::vector<std::uint8_t>& file) {
  PeakHeaderBytes bytes{};
  std::copy_n(file.begin(), kPeakHeaderSize, bytes.begin());
  return DecodePeakHeader(bytes);
}

class PeakFileTest : public testing::Test {
 protected:
  PeakFileTest() { peak.SetTempDirectory(dir.Path()); }
  void UseSynthetic(std::uint16_t channels, std::uint16_t bits, std::uint64_t frames,
                    std::uint32_t durationMs, std::uint32_t piece = 0) {
    peak.SetReaderFactory([=](const std::string&) {
      return std::make_unique<SyntheticReader>(channels, bits, 8000, frames, durationMs, piece);
    });
  }
  // Builds `name` with `interval` into a kept file; returns its path.
  std::string Kept(const std::string& name, std::int32_t interval = 147) {
    PeakFile builder;
    builder.SetTempDirectory(dir.Path());
    EXPECT_EQ(builder.Build(Fixture(name), interval), PEC_Success);
    return builder.PeakPath();
  }

  TempDir dir;
  RecordedEvents events;
  PeakFile peak{&events};
};

struct BuildCase {
  const char* file;
  std::int32_t interval;
};

// "stereo24_wav_100": readable and the same on every run.
std::string BuildCaseName(const testing::TestParamInfo<BuildCase>& info) {
  std::string name = info.param.file;
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name + "_" + std::to_string(info.param.interval);
}

class PeakFileBuild : public PeakFileTest, public testing::WithParamInterface<BuildCase> {};

TEST_P(PeakFileBuild, HeaderAndEveryRecordMatchTheDecodedPcm) {
  const auto [name, interval] = GetParam();
  const testdata::WavData wav = testdata::ReadWav(Fixture(name));
  ASSERT_GT(wav.pcm.size(), 0u);
  ASSERT_EQ(peak.Build(Fixture(name), interval), PEC_Success);
  ASSERT_EQ(peak.PeakPath().rfind(dir.Path() + "/wep", 0), 0u) << peak.PeakPath();

  const std::vector<std::uint8_t> file = ReadFile(peak.PeakPath());
  ASSERT_GE(file.size(), kPeakHeaderSize);
  const AUDIO_INFO h = HeaderOf(file);
  const std::uint16_t recordBits = wav.bits;
  EXPECT_EQ(h.channels, wav.channels);
  EXPECT_EQ(h.bits, recordBits);
  EXPECT_EQ(h.freq, wav.rate);
  EXPECT_EQ(h.blockalign, wav.FrameBytes());
  EXPECT_EQ(h.duration, wav.DurationMs());
  EXPECT_EQ(h.BPS, recordBits / 8 * wav.channels);
  EXPECT_EQ(h.total_peaks, wav.Frames() / static_cast<std::uint32_t>(interval));
  EXPECT_EQ(h.sample_interval, static_cast<std::uint32_t>(interval));
  const PeakHeaderBytes encoded = EncodePeakHeader(h);
  EXPECT_TRUE(std::equal(encoded.begin(), encoded.end(), file.begin()));
  for (std::size_t pad : {10u, 11u, 18u, 19u}) EXPECT_EQ(file[pad], 0) << pad;
  EXPECT_EQ(std::vector<std::uint8_t>(file.begin() + kPeakHeaderSize, file.end()),
            ExpectedRecords(wav.pcm, wav.channels, wav.bits, static_cast<std::uint32_t>(interval)));
  EXPECT_EQ(std::memcmp(&peak.Info(), &h, sizeof h), 0);
  EXPECT_EQ(events.starts, 1);
  ASSERT_FALSE(events.progress.empty());
  EXPECT_EQ(events.progress.front(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, PeakFileBuild,
    testing::Values(BuildCase{"mono8.wav", 147}, BuildCase{"stereo16.wav", 147},
                    BuildCase{"stereo16.wav", 1}, BuildCase{"stereo24.wav", 100},
                    BuildCase{"three16.wav", 147}, BuildCase{"short16.wav", 147}),
    BuildCaseName);

TEST_F(PeakFileTest, AudioShorterThanOneIntervalGivesAHeaderOnly) {
  ASSERT_EQ(peak.Build(Fixture("short16.wav"), 0), PEC_Success);
  EXPECT_EQ(ReadFile(peak.PeakPath()).size(), kPeakHeaderSize);
  EXPECT_EQ(peak.Info().total_peaks, 0u);
  EXPECT_EQ(peak.Info().sample_interval, 147u);
}

TEST_F(PeakFileTest, ProgressCountsWholeSecondsAndStartsAtOne) {
  // 3.2 s of 16-bit stereo at 44100 Hz: 564480 bytes, expected 3 s = 529200 bytes.
  ASSERT_EQ(peak.Build(Fixture("stereo16.wav"), 147), PEC_Success);
  EXPECT_EQ(events.progress, (std::vector<std::uint32_t>{1, 1 + 100 * 512000 / 529200}));
}

TEST_F(PeakFileTest, ProgressUnderOneSecondHasNothingToDivideBy) {
  UseSynthetic(2, 16, 300000, 500);
  ASSERT_EQ(peak.Build("a.wav", 147), PEC_Success);
  EXPECT_EQ(events.progress, (std::vector<std::uint32_t>{1, 100, 100}));
}

TEST_F(PeakFileTest, IntervalsBelowOneMeanTheDefault) {
  UseSynthetic(1, 16, 1470, 183);
  for (std::int32_t asked : {0, -1, -147000}) {
    ASSERT_EQ(peak.Build("a.wav", asked), PEC_Success);
    EXPECT_EQ(peak.Info().sample_interval, 147u);
    EXPECT_EQ(peak.Info().total_peaks, 10u);
  }
}

TEST_F(PeakFileTest, FramesSplitAcrossReadsStayAligned) {
  // 3 channels of 24-bit samples delivered in 1001-byte pieces: frames straddle reads.
  constexpr std::uint64_t kFrames = 40000;
  UseSynthetic(3, 24, kFrames, 5000, 1001);
  ASSERT_EQ(peak.Build("a.wav", 7), PEC_Success);
  std::vector<std::uint8_t> pcm(kFrames * 9);
  for (std::size_t i = 0; i < pcm.size(); ++i) pcm[i] = SyntheticReader::ByteAt(i);
  const std::vector<std::uint8_t> file = ReadFile(peak.PeakPath());
  EXPECT_EQ(HeaderOf(file).BPS, 9);
  EXPECT_EQ(HeaderOf(file).bits, 24);
  EXPECT_EQ(HeaderOf(file).blockalign, 9);
  EXPECT_EQ(std::vector<std::uint8_t>(file.begin() + kPeakHeaderSize, file.end()),
            ExpectedRecords(pcm, 3, 24, 7));
}

TEST_F(PeakFileTest, UndecodableAudioFailsBeforeAnyFileExists) {
  EXPECT_EQ(peak.Build(Fixture("notaudio.wav"), 147), PEC_UnknownAudioFormat);
  EXPECT_EQ(peak.Build(Fixture("missing.wav"), 147), PEC_UnknownAudioFormat);
  EXPECT_EQ(peak.Build(Fixture("missing.mp3"), 147), PEC_UnknownAudioFormat);
  UseSynthetic(2, 12, 1000, 100);
  EXPECT_EQ(peak.Build("a.wav", 147), PEC_UnknownAudioFormat);
  EXPECT_TRUE(dir.Entries().empty());
  EXPECT_EQ(events.starts, 0);
}

TEST_F(PeakFileTest, UnwritableDirectoryCannotCreate) {
  peak.SetTempDirectory(dir.Path() + "/missing-subdir");
  EXPECT_EQ(peak.Build(Fixture("stereo16.wav"), 147), PEC_CannotCreatePeakFile);
  EXPECT_TRUE(peak.PeakPath().empty());
  EXPECT_EQ(events.starts, 0);
}

TEST_F(PeakFileTest, CancelBeforeAChunkRemovesThePartialFile) {
  UseSynthetic(2, 16, 8000 * 20, 20000);  // 640000 bytes a second: 2 chunks
  events.cancelAfterPolls = 1;
  EXPECT_EQ(peak.Build("a.wav", 1), PEC_LoadingCanceled);
  EXPECT_EQ(events.starts, 1);
  EXPECT_EQ(events.progress.size(), 1u);
  EXPECT_TRUE(dir.Entries().empty());
  EXPECT_TRUE(peak.PeakPath().empty());
  const AUDIO_INFO zero{};
  EXPECT_EQ(std::memcmp(&peak.Info(), &zero, sizeof zero), 0);
}

// Runs in a child process: builds with the file size limited, exits 0 when the build failed
// cleanly.
[[noreturn]] void BuildWithFileSizeLimit(PeakFile& peak, const TempDir& dir) {
  std::signal(SIGXFSZ, SIG_IGN);
  const rlimit limit{300000, 300000};
  setrlimit(RLIMIT_FSIZE, &limit);
  const PEC r = peak.Build("a.wav", 1);
  const bool clean =
      dir.Entries().empty() && peak.PeakPath().empty() && peak.Info().total_peaks == 0;
  std::error_code ec;
  std::filesystem::remove_all(dir.Path(), ec);  // _Exit runs no destructors
  std::_Exit(r == PEC_CannotCreatePeakFile && clean ? 0 : 1);
}

TEST_F(PeakFileTest, WriteFailureFailsTheBuildAndRemovesTheFile) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");  // the media framework may run threads
  UseSynthetic(2, 16, 8000 * 60, 60000);           // every frame a record: 1.9 MB of records
  EXPECT_EXIT(BuildWithFileSizeLimit(peak, dir), testing::ExitedWithCode(0), "");
}

TEST_F(PeakFileTest, ValidateAcceptsAMatchingFileWithItsHeaderCounts) {
  const std::string kept = Kept("stereo16.wav", 100);
  ASSERT_EQ(peak.Validate(Fixture("stereo16.wav"), kept), PEC_Success);
  EXPECT_EQ(peak.Info().sample_interval, 100u);
  EXPECT_EQ(peak.Info().total_peaks, 141120u / 100);
  EXPECT_EQ(peak.Info().channels, 2);
  EXPECT_EQ(peak.Info().duration, 3200u);
  EXPECT_EQ(peak.PeakPath(), kept);
  EXPECT_EQ(peak.AudioPath(), Fixture("stereo16.wav"));
  EXPECT_TRUE(events.progress.empty());
}

TEST_F(PeakFileTest, ValidateRejectsOtherAudioAndBrokenFiles) {
  const std::string kept = Kept("stereo16.wav");
  EXPECT_EQ(peak.Validate(Fixture("mono8.wav"), kept), PEC_PeakFileIsInvalid);
  EXPECT_EQ(peak.Validate(Fixture("tone.flac"), kept), PEC_PeakFileIsInvalid);  // other length
  EXPECT_EQ(peak.Validate(Fixture("stereo16.wav"), dir.Path() + "/none"), PEC_PeakFileNotFound);
  EXPECT_EQ(peak.Validate(Fixture("none.wav"), kept), PEC_AudioFileNotFound);

  std::vector<std::uint8_t> bytes = ReadFile(kept);
  const auto write = [&](const std::string& name, std::size_t size) {
    const std::string path = dir.Path() + "/" + name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(size));
    return path;
  };
  EXPECT_EQ(peak.Validate(Fixture("stereo16.wav"), write("short", 27)), PEC_PeakFileIsInvalid);
  EXPECT_EQ(peak.Validate(Fixture("stereo16.wav"), write("cut", bytes.size() - 1)),
            PEC_PeakFileIsInvalid);
  std::fill_n(bytes.begin() + 20, 8, 0);  // the header of a build that never finished
  EXPECT_EQ(peak.Validate(Fixture("stereo16.wav"), write("unfinished", bytes.size())),
            PEC_PeakFileIsInvalid);
}

TEST_F(PeakFileTest, ValidateNeverWaitsOnAPeakFileOrAudioThatIsNoRegularFile) {
  const std::string fifo = dir.Path() + "/peaks.fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  // A plain open of a FIFO without a writer would block here for ever.
  EXPECT_EQ(peak.Validate(Fixture("stereo16.wav"), fifo), PEC_PeakFileNotFound);
  EXPECT_EQ(peak.Validate(Fixture("stereo16.wav"), dir.Path()), PEC_PeakFileNotFound);
  const std::string kept = Kept("stereo16.wav");
  EXPECT_EQ(peak.Validate(fifo, kept), PEC_AudioFileNotFound);
  EXPECT_EQ(peak.Build(fifo, 147), PEC_UnknownAudioFormat);
  EXPECT_EQ(peak.Build("/dev/zero", 147), PEC_UnknownAudioFormat);
}

TEST_F(PeakFileTest, ValidateRejectsAPeakFileOlderThanItsAudio) {
  const std::string audio = dir.Path() + "/copy.wav";
  std::filesystem::copy_file(Fixture("stereo16.wav"), audio);
  const std::string kept = Kept("stereo16.wav");
  ASSERT_EQ(peak.Validate(audio, kept), PEC_Success);
  const timespec times[2] = {{0, UTIME_OMIT}, {4102444800, 0}};  // audio changed in 2100
  ASSERT_EQ(::utimensat(AT_FDCWD, audio.c_str(), times, 0), 0);
  EXPECT_EQ(peak.Validate(audio, kept), PEC_PeakFileIsOld);
}

}  // namespace
}  // namespace audioedit
