// A stream whose channel count changes in the middle (two files joined) keeps its first
// frame's layout in `tavolex decode` and in the control's MPEG reader, so a WAV header and
// its data always agree (checked with python's wave module); a change of the sampling rate
// ends the stream there.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "tests/tools/ToolProcess.h"

namespace {

using tooltest::Quote;

const std::string kFixtures = TEST_DATA_DIR "/tools/";

// "channels rate frames consistent" of a WAV file, as python's wave module reads it;
// consistent is 1 when the data chunk holds exactly frames x channels x 2 bytes and ends
// the file.
constexpr const char* kWaveCheck =
    "import os, sys, wave\n"
    "w = wave.open(sys.argv[1])\n"
    "n = w.getnframes()\n"
    "data = w.readframes(n)\n"
    "ok = len(data) == n * w.getnchannels() * w.getsampwidth() and "
    "os.path.getsize(sys.argv[1]) == 44 + len(data)\n"
    "print(w.getnchannels(), w.getframerate(), n, int(ok))\n";

struct WavFacts {
  int channels = 0, rate = 0, consistent = 0;
  long frames = 0;
};

class TavolexStreamLayout : public ::testing::Test {
 protected:
  WavFacts Decode(const std::string& fixture) {
    const std::string wav = dir_ / (fixture + ".wav");
    const tooltest::Result decode = tooltest::Run(
        Quote(tooltest::kTavolex) + " decode " + Quote(kFixtures + fixture) + " " + Quote(wav),
        dir_);
    EXPECT_EQ(decode.status, 0) << decode.err;
    const tooltest::Result check =
        tooltest::Run("python3 -c " + Quote(kWaveCheck) + " " + Quote(wav), dir_);
    EXPECT_EQ(check.status, 0) << check.err;
    WavFacts facts;
    std::istringstream(check.out) >> facts.channels >> facts.rate >> facts.frames >>
        facts.consistent;
    return facts;
  }
  // `key: value` of the control's load of the file.
  std::string Peaks(const std::string& fixture, const std::string& key) {
    const tooltest::Result r =
        tooltest::Run("TMPDIR=" + Quote(dir_.Path().string()) + " " + Quote(tooltest::kTavolex) +
                          " peaks " + Quote(kFixtures + fixture) + " --interval 1",
                      dir_);
    EXPECT_EQ(r.status, 0) << r.err;
    const std::size_t at = r.out.find("\n" + key + ": ");
    if (at == std::string::npos) return "";
    const std::size_t from = at + key.size() + 3;
    return r.out.substr(from, r.out.find('\n', from) - from);
  }

  tooltest::TempDir dir_;
};

TEST_F(TavolexStreamLayout, DecodeKeepsTheFirstFramesChannels) {
  const WavFacts mono = Decode("mono.mp3");
  const WavFacts stereo = Decode("stereo.mp3");
  const WavFacts monoFirst = Decode("mono_stereo.mp3");
  const WavFacts stereoFirst = Decode("stereo_mono.mp3");
  EXPECT_EQ(monoFirst.channels, 1);
  EXPECT_EQ(stereoFirst.channels, 2);
  for (const WavFacts& f : {monoFirst, stereoFirst}) {
    EXPECT_EQ(f.consistent, 1);
    EXPECT_EQ(f.rate, 44100);
    // Every frame of both parts is there, in the one layout.
    EXPECT_EQ(f.frames, mono.frames + stereo.frames);
  }
}

TEST_F(TavolexStreamLayout, DecodeEndsTheStreamWhereTheRateChanges) {
  const WavFacts stereo = Decode("stereo.mp3");
  const WavFacts joined = Decode("stereo_22k.mp3");
  EXPECT_EQ(joined.consistent, 1);
  EXPECT_EQ(joined.rate, 44100);
  EXPECT_EQ(joined.channels, 2);
  EXPECT_EQ(joined.frames, stereo.frames);
}

TEST_F(TavolexStreamLayout, TheControlsReaderKeepsTheFirstFramesChannels) {
  // With interval 1 every sample frame is a peak record: the count shows that every frame
  // of both parts was delivered in the format the reader announced.
  const long frames =
      std::stol(Peaks("mono.mp3", "total_peaks")) + std::stol(Peaks("stereo.mp3", "total_peaks"));
  EXPECT_EQ(Peaks("mono_stereo.mp3", "channels"), "1");
  EXPECT_EQ(Peaks("mono_stereo.mp3", "total_peaks"), std::to_string(frames));
  EXPECT_EQ(Peaks("stereo_mono.mp3", "channels"), "2");
  EXPECT_EQ(Peaks("stereo_mono.mp3", "BPS"), "4");
  EXPECT_EQ(Peaks("stereo_mono.mp3", "total_peaks"), std::to_string(frames));
  EXPECT_EQ(Peaks("stereo_22k.mp3", "total_peaks"), Peaks("stereo.mp3", "total_peaks"));
}

}  // namespace
